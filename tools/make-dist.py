#!/usr/bin/env python3
"""Packs the two Windows builds for users: one zip each in OUT, named after the program, its
version (read from the 64-bit program's version block) and the build, holding one folder with
the program, its help page and the picture of the window that the page shows.

Usage: make-dist.py BUILD_X86_64 BUILD_I686 OUT
"""
import pathlib
import struct
import sys
import zipfile

sys.dont_write_bytecode = True  # keep the source tree free of caches
import pe_resources as pr  # noqa: E402

PROGRAM = "OveloPlaylist"
FILES = [PROGRAM + ".exe", PROGRAM + ".html", "screenshot.png"]


def file_version(exe):
    _, fixed, _ = pr.version_tree(pr.PeImage(exe).get(pr.RT_VERSION, 1))
    ms, ls = struct.unpack_from("<II", fixed, 8)
    return f"{ms >> 16}.{ms & 0xFFFF}.{ls >> 16}.{ls & 0xFFFF}"


def main(build64, build32, out):
    build64, build32, out = pathlib.Path(build64), pathlib.Path(build32), pathlib.Path(out)
    version = file_version(build64 / FILES[0])
    out.mkdir(parents=True, exist_ok=True)
    for build, suffix in ((build64, "win64"), (build32, "win32")):
        folder = f"{PROGRAM}-{version}-{suffix}"
        with zipfile.ZipFile(out / f"{folder}.zip", "w", zipfile.ZIP_DEFLATED) as z:
            for name in FILES:
                z.write(build / name, f"{folder}/{name}")
        print(f"{out / folder}.zip")
    return 0


if __name__ == "__main__":
    if len(sys.argv) != 4:
        sys.exit(__doc__)
    sys.exit(main(*sys.argv[1:]))
