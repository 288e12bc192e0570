#!/usr/bin/env python3
"""Checks the release zips from the outside: each holds one folder with exactly the program,
its help page and the picture the page shows; the program is built for the zip's machine, its
version block reads the project's version (CMakeLists.txt), and its resources pass
check-resources.py; the help page names the same version.

Usage: check-dist.py ZIP...
Prints each mismatch and exits non-zero when there is any.
"""
import pathlib
import re
import struct
import subprocess
import sys
import tempfile
import zipfile

sys.dont_write_bytecode = True  # keep the source tree free of caches
import pe_resources as pr  # noqa: E402
from project import VERSION  # noqa: E402

MACHINES = {"win64": "amd64", "win32": "i386"}
HERE = pathlib.Path(__file__).resolve().parent
failures = []


def expect(what, got, want):
    if got != want:
        failures.append(f"{what}: got {got!r}, want {want!r}")


def check_program(exe, machine):
    pe = pr.PeImage(exe)
    expect(f"{exe.name} machine", pe.machine, machine)
    _, fixed, children = pr.version_tree(pe.get(pr.RT_VERSION, 1))
    ms, ls = struct.unpack_from("<II", fixed, 8)
    expect("file version", f"{ms >> 16}.{ms & 0xFFFF}.{ls >> 16}.{ls & 0xFFFF}", VERSION)
    strings = {k: pr.text(v) for block, _, tables in children if block == "StringFileInfo"
               for _, _, entries in tables for k, v, _ in entries}
    expect("FileVersion", strings.get("FileVersion"), VERSION.replace(".", ", "))
    expect("ProductName", strings.get("ProductName"), "Ovelo Playlist Tool")
    checked = subprocess.run([sys.executable, str(HERE / "check-resources.py"), str(exe)],
                             capture_output=True, text=True)
    expect(f"check-resources.py {exe.name}", checked.returncode, 0)
    if checked.returncode:
        failures.append(checked.stdout.strip())


def check_zip(path):
    path = pathlib.Path(path)
    match = re.fullmatch(r"OveloPlaylist-(.+)-(win64|win32)", path.stem)
    if not match:
        failures.append(f"{path.name}: not named OveloPlaylist-VERSION-win64 or -win32")
        return
    expect(f"{path.name} version", match[1], VERSION)
    folder = path.stem
    with zipfile.ZipFile(path) as z, tempfile.TemporaryDirectory() as temp:
        names = sorted(z.namelist())
        wanted = sorted(f"{folder}/{n}"
                        for n in ("OveloPlaylist.exe", "OveloPlaylist.html", "screenshot.png"))
        expect(f"{path.name} files", names, wanted)
        if names != wanted:
            return
        z.extractall(temp)
        root = pathlib.Path(temp, folder)
        check_program(root / "OveloPlaylist.exe", MACHINES[match[2]])
        page = (root / "OveloPlaylist.html").read_text(encoding="utf-8")
        pictures = re.findall(r'<img src="([^"]+)"', page)
        expect(f"{path.name} help page pictures", pictures, ["screenshot.png"])
        expect(f"{path.name} help page version", f"Version {VERSION}" in page, True)
        expect(f"{path.name} picture", (root / "screenshot.png").read_bytes()[:8],
               b"\x89PNG\r\n\x1a\n")


def main(zips):
    expect("zips", sorted(re.sub(r".*-", "", pathlib.Path(z).stem) for z in zips),
           ["win32", "win64"])
    for z in zips:
        check_zip(z)
    for f in failures:
        print("FAIL", f)
    print(f"{len(zips)} zips, {len(failures)} mismatches")
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main(sys.argv[1:]))
