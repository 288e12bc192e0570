#!/usr/bin/python3
# Makes one small tagged file of each format whose tags the program reads, in FOLDER: the sound
# from Debian's encoders (lame, flac, oggenc, opusenc; WAV by Python itself), the M4A and WMA
# containers written here, and every tag written by python3-mutagen. Their disc and track
# numbers disagree with the order of their names. Also an MP3 without tags and one that is
# no MP3 at all. Usage: make-tagged-media.py FOLDER
# The tests hold the same facts in their tables.
import math
import os
import struct
import subprocess
import sys
import tempfile
import wave

from mutagen.asf import ASF
from mutagen.flac import FLAC
from mutagen.id3 import ID3, TALB, TIT2, TPE1, TPE2, TPOS, TRCK
from mutagen.mp4 import MP4
from mutagen.oggopus import OggOpus
from mutagen.oggvorbis import OggVorbis
from mutagen.wave import WAVE

# name: album artist, artist, album, disc, track, title
TAGS = {
    "a.mp3": ("Ann Teller", "Bo Reader", "Stories", 2, 3, "The Owl"),
    "b.flac": ("Ann Teller", "Ann Teller", "Stories", 1, 2, "The Fox"),
    "c.ogg": ("Ann Teller", "Ann Teller", "Stories", 2, 1, "The Bear"),
    "d.opus": ("", "Ann Teller", "Stories", 1, 10, "The Hare"),
    "e.m4a": ("Ann Teller", "Ann Teller", "Stories", 1, 1, "The Cr\u00f6w \u2602"),
    "f.wma": ("Ann Teller", "Ann Teller", "Stories", 2, 2, "The Mole"),
    "g.wav": ("Ann Teller", "Ann Teller", "Stories", 1, 3, "The Wren"),
}
RATE = 44100


def write_wav(path, seconds):
    with wave.open(path, "wb") as out:
        out.setnchannels(1)
        out.setsampwidth(2)
        out.setframerate(RATE)
        out.writeframes(b"".join(struct.pack("<h", int(8000 * math.sin(i / 20)))
                                 for i in range(RATE * seconds)))


def box(kind, *payload):
    body = b"".join(payload)
    return struct.pack(">I", 8 + len(body)) + kind + body


def full_box(kind, version_flags, *payload):
    return box(kind, struct.pack(">I", version_flags), *payload)


# An MP4 audio file of 2 s with one AAC track, its sample tables empty: enough for a tagger and
# for a reader of its length and codec.
def write_m4a(path):
    descriptor = (b"\x03\x19\x00\x01\x00" + b"\x04\x11\x40\x15" + b"\x00" * 3 +
                  struct.pack(">II", 128000, 128000) + b"\x05\x02\x12\x10" + b"\x06\x01\x02")
    sample_entry = box(b"mp4a", b"\x00" * 6, struct.pack(">H", 1), b"\x00" * 8,
                       struct.pack(">HHHHI", 2, 16, 0, 0, RATE << 16),
                       full_box(b"esds", 0, descriptor))
    stbl = box(b"stbl", full_box(b"stsd", 0, struct.pack(">I", 1), sample_entry),
               full_box(b"stts", 0, struct.pack(">I", 0)), full_box(b"stsc", 0, struct.pack(">I", 0)),
               full_box(b"stsz", 0, struct.pack(">II", 0, 0)), full_box(b"stco", 0, struct.pack(">I", 0)))
    mdia = box(b"mdia", full_box(b"mdhd", 0, struct.pack(">IIIIHH", 0, 0, RATE, 2 * RATE, 0x55C4, 0)),
               full_box(b"hdlr", 0, struct.pack(">I", 0), b"soun", b"\x00" * 12, b"Sound\x00"),
               box(b"minf", full_box(b"smhd", 0, b"\x00" * 4), stbl))
    tkhd = full_box(b"tkhd", 7, struct.pack(">IIIII", 0, 0, 1, 0, 2000), b"\x00" * 8,
                    struct.pack(">hhhh", 0, 0, 0x100, 0),
                    struct.pack(">9I", 0x10000, 0, 0, 0, 0x10000, 0, 0, 0, 0x40000000),
                    struct.pack(">II", 0, 0))
    mvhd = full_box(b"mvhd", 0, struct.pack(">IIII", 0, 0, 1000, 2000), struct.pack(">IH", 0x10000, 0x100),
                    b"\x00" * 10, struct.pack(">9I", 0x10000, 0, 0, 0, 0x10000, 0, 0, 0, 0x40000000),
                    b"\x00" * 24, struct.pack(">I", 2))
    with open(path, "wb") as out:
        out.write(box(b"ftyp", b"M4A ", struct.pack(">I", 0), b"M4A mp42isom"))
        out.write(box(b"moov", mvhd, box(b"trak", tkhd, mdia)))
        out.write(box(b"mdat"))


def guid(text):
    a, b, c, d, e = text.split("-")
    return struct.pack("<IHH", int(a, 16), int(b, 16), int(c, 16)) + bytes.fromhex(d + e)


def asf_object(kind, payload):
    return guid(kind) + struct.pack("<Q", 24 + len(payload)) + payload


# A WMA file of 3 s with one audio stream and no packets: its header alone.
def write_wma(path):
    preroll_ms, duration = 3000, 3 * 10_000_000
    file_properties = asf_object(
        "8CABDCA1-A947-11CF-8EE4-00C00C205365",
        b"\x00" * 16 + struct.pack("<QQQQQQIIII", 0, 0, 0, duration + preroll_ms * 10_000, duration,
                                   preroll_ms, 2, 0, 0, 128000))
    format_ex = struct.pack("<HHIIHHH", 0x161, 2, RATE, 16000, 2973, 16, 10) + b"\x00" * 10
    stream_properties = asf_object(
        "B7DC0791-A9B7-11CF-8EE6-00C00C205365",
        guid("F8699E40-5B4D-11CF-A8FD-00805F5C442B") + guid("20FB5700-5B55-11CF-A8FD-00805F5C442B") +
        struct.pack("<QIIHI", 0, len(format_ex), 0, 1, 0) + format_ex)
    header_extension = asf_object(
        "5FBF03B5-A92E-11CF-8EE3-00C00C205365",
        guid("ABD3D211-A9BA-11CF-8EE6-00C00C205365") + struct.pack("<HI", 6, 0))
    objects = file_properties + stream_properties + header_extension
    header = asf_object("75B22630-668E-11CF-A6D9-00AA0062CE6C", struct.pack("<IBB", 3, 1, 2) + objects)
    data = asf_object("75B22636-668E-11CF-A6D9-00AA0062CE6C", b"\x00" * 16 + struct.pack("<QH", 0, 0x0101))
    with open(path, "wb") as out:
        out.write(header + data)


def encode(name, wav, path):
    commands = {
        ".mp3": ["lame", "--quiet", "-b", "64", wav, path],
        ".flac": ["flac", "--silent", "--force", "-o", path, wav],
        ".ogg": ["oggenc", "--quiet", "-o", path, wav],
        ".opus": ["opusenc", "--quiet", wav, path],
    }
    extension = os.path.splitext(name)[1]
    if extension in commands:
        subprocess.run(commands[extension], check=True)
    elif extension == ".m4a":
        write_m4a(path)
    elif extension == ".wma":
        write_wma(path)
    elif extension == ".wav":
        write_wav(path, 1)


def tag(path, album_artist, artist, album, disc, track, title):
    extension = os.path.splitext(path)[1]
    if extension in (".mp3", ".wav"):
        frames = [TPE1(encoding=3, text=artist), TALB(encoding=3, text=album),
                  TPOS(encoding=3, text=f"{disc}/2"), TRCK(encoding=3, text=f"{track}/12"),
                  TIT2(encoding=3, text=title)]
        if album_artist:
            frames.append(TPE2(encoding=3, text=album_artist))
        if extension == ".mp3":
            tags = ID3()
            for frame in frames:
                tags.add(frame)
            tags.save(path)
        else:
            audio = WAVE(path)
            audio.add_tags()
            for frame in frames:
                audio.tags.add(frame)
            audio.save()
    elif extension == ".m4a":
        audio = MP4(path)
        audio.tags = audio.tags or MP4().tags
        audio["\xa9ART"], audio["\xa9alb"], audio["\xa9nam"] = artist, album, title
        audio["disk"], audio["trkn"] = [(disc, 2)], [(track, 12)]
        if album_artist:
            audio["aART"] = album_artist
        audio.save()
    elif extension == ".wma":
        audio = ASF(path)
        audio["Author"], audio["WM/AlbumTitle"], audio["Title"] = artist, album, title
        audio["WM/PartOfSet"], audio["WM/TrackNumber"] = f"{disc}/2", str(track)
        if album_artist:
            audio["WM/AlbumArtist"] = album_artist
        audio.save()
    else:
        audio = {".flac": FLAC, ".ogg": OggVorbis, ".opus": OggOpus}[extension](path)
        audio["ARTIST"], audio["ALBUM"], audio["TITLE"] = artist, album, title
        audio["DISCNUMBER"], audio["TRACKNUMBER"] = str(disc), f"{track}/12"
        if album_artist:
            audio["ALBUMARTIST"] = album_artist
        audio.save()


def main():
    folder = sys.argv[1]
    os.makedirs(folder, exist_ok=True)
    with tempfile.TemporaryDirectory() as scratch:
        wav = os.path.join(scratch, "sound.wav")
        write_wav(wav, 1)
        for name, tags in TAGS.items():
            path = os.path.join(folder, name)
            encode(name, wav, path)
            tag(path, *tags)
        encode("untagged.mp3", wav, os.path.join(folder, "untagged.mp3"))
    with open(os.path.join(folder, "broken.mp3"), "wb") as out:
        out.write(b"ID3\x04\x00\x00\x7f\x7f\x7f\x7f" + bytes(range(256)) * 8)


main()
