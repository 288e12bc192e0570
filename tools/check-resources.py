#!/usr/bin/env python3
"""Checks the resources linked into an executable against the program's resource tables.

Usage: check-resources.py EXE
Prints each mismatch and exits non-zero when there is any.
"""
import struct
import sys
import xml.etree.ElementTree as ET

sys.dont_write_bytecode = True  # keep the source tree free of caches
import pe_resources as pr  # noqa: E402

BUTTON, STATIC, COMBOBOX = 0x80, 0x82, 0x85
RT_TOOLBAR = 241

ABOUT_BOX = {
    "style": 0x80C800C0, "exstyle": 0, "rect": (0, 0, 235, 55),
    "font": (8, "MS Sans Serif"), "title": "About Ovelo", "menu": None, "class": None,
    "items": [  # id, class, text, style, rect
        (-1, STATIC, 128, 0x50000003, (11, 14, 20, 20)),
        (-1, STATIC, "Ovelo Version 1.0.10.1123", 0x50020080, (40, 10, 119, 8)),
        (-1, STATIC, "Copyright (C) 2026 Ovelo", 0x50020000, (40, 25, 119, 8)),
        (1, BUTTON, "OK", 0x50030001, (178, 7, 50, 14)),
    ],
}

PLAYLIST_DIALOG = {
    "style": 0x90C800C0, "exstyle": 0x00040000, "helpid": 0, "rect": (0, 0, 407, 346),
    "font": (8, 0, 0, 1, "MS Sans Serif"), "title": "Ovelo Playlist Tool", "menu": None,
    "class": None,
    "items": [
        (-1, STATIC, "Please select Removable device", 0x50020000, (11, 55, 104, 8)),
        (1001, COMBOBOX, None, 0x50210003, (119, 54, 28, 30)),
        (1004, STATIC, None, 0x50020000, (205, 55, 138, 12)),
        (1006, STATIC, "Static", 0x50820000, (0, 1, 407, 38)),
        (1007, STATIC, None, 0x40020000, (0, 18, 407, 20)),
        (1008, STATIC, None, 0x40020000, (0, 1, 407, 18)),
        (1009, "SysListView32", "List1", 0x50810001, (5, 80, 358, 243)),
        (-1, BUTTON, "Destination", 0x50000007, (0, 45, 406, 27)),
        (-1, BUTTON, None, 0x50000007, (365, 76, 35, 246)),
        (1012, BUTTON, None, 0x50010000, (368, 87, 26, 31)),
        (1013, BUTTON, None, 0x50010000, (368, 118, 26, 31)),
        (1014, BUTTON, None, 0x50010000, (367, 150, 26, 31)),
        (1015, BUTTON, None, 0x50010000, (367, 182, 26, 31)),
        (1016, "msctls_progress32", "Progress1", 0x50800000, (6, 329, 356, 14)),
        (1017, BUTTON, "Add Prefix", 0x50010003, (350, 56, 48, 10)),
        (1010, BUTTON, "Refresh", 0x40010000, (156, 53, 36, 14)),
    ],
}

VERSION_STRINGS = {
    "Comments": "", "CompanyName": "", "FileDescription": "Ovelo Playlist Tool",
    "FileVersion": "1, 0, 10, 1123", "InternalName": "Quib",
    "LegalCopyright": "Copyright (C) 2026 Ovelo", "LegalTrademarks": "",
    "OriginalFilename": "OveloPlaylist.exe", "PrivateBuild": "",
    "ProductName": "Ovelo Playlist Tool", "ProductVersion": "1, 0, 10, 1123", "SpecialBuild": "",
}

TOOLBAR = struct.pack("<9H", 1, 32, 32, 5, 32771, 32773, 0, 32774, 32772)

BACKGROUND = (236, 233, 216)

MANIFEST_ARCH = {"amd64": "amd64", "i386": "X86"}

EXPECTED_NAMES = {
    (pr.RT_DIALOG, 100), (pr.RT_DIALOG, 102), (pr.RT_STRING, 7), (pr.RT_VERSION, 1),
    (pr.RT_MANIFEST, 1), (RT_TOOLBAR, 129), (pr.RT_BITMAP, 129), (pr.RT_BITMAP, 132),
    (pr.RT_BITMAP, 134), (pr.RT_GROUP_ICON, 128), (pr.RT_GROUP_ICON, 135),
    (pr.RT_GROUP_ICON, 136), (pr.RT_GROUP_ICON, 137), (pr.RT_GROUP_ICON, 138),
}

failures = []


def expect(what, got, want):
    if got != want:
        failures.append(f"{what}: got {got!r}, want {want!r}")


def same_class(got, want):
    # windres upper-cases class names given as strings; window classes ignore case.
    if isinstance(got, str) and isinstance(want, str):
        return got.lower() == want.lower()
    return got == want


def check_dialog(pe, did, want):
    data = pe.get(pr.RT_DIALOG, did)
    if data is None:
        failures.append(f"dialog {did} missing")
        return
    got = pr.dialog(data)
    for key, value in want.items():
        if key != "items":
            expect(f"dialog {did} {key}", got[key], value)
    expect(f"dialog {did} item count", len(got["items"]), len(want["items"]))
    for n, (item, (iid, cls, text, style, rect)) in enumerate(zip(got["items"], want["items"]), 1):
        where = f"dialog {did} item {n}"
        expect(f"{where} id", item["id"], iid)
        if not same_class(item["class"], cls):
            failures.append(f"{where} class: got {item['class']!r}, want {cls!r}")
        expect(f"{where} text", item["text"], text)
        expect(f"{where} style", hex(item["style"]), hex(style))
        expect(f"{where} exstyle", item["exstyle"], 0)
        expect(f"{where} rect", item["rect"], rect)
        if want is PLAYLIST_DIALOG:
            expect(f"{where} help id", item["helpid"], 0)


def check_version(pe):
    key, fixed, children = pr.version_tree(pe.get(pr.RT_VERSION, 1))
    expect("version key", key, "VS_VERSION_INFO")
    sig, _, fv_ms, fv_ls, pv_ms, pv_ls, mask, flags, os_, ftype, sub = struct.unpack_from("<11I", fixed)
    expect("version signature", hex(sig), hex(0xFEEF04BD))
    expect("file version", (fv_ms, fv_ls), (0x00010000, 0x000A0463))
    expect("product version", (pv_ms, pv_ls), (0x00010000, 0x000A0463))
    expect("version flags", (mask, flags, os_, ftype, sub), (0x3F, 0, 0x4, 0x1, 0))
    blocks = {k: c for k, _, c in children}
    string_tables = blocks.get("StringFileInfo", [])
    expect("string tables", [k for k, _, _ in string_tables], ["040904B0"])
    for _, _, entries in string_tables:
        got = {k: pr.text(v) for k, v, _ in entries}
        for key in sorted(got.keys() | VERSION_STRINGS.keys()):
            expect(f"version string {key}", got.get(key), VERSION_STRINGS.get(key))
    translation = [v for k, v, _ in blocks.get("VarFileInfo", []) if k == "Translation"]
    expect("translation", translation, [struct.pack("<HH", 0x0409, 0x04B0)])


def check_manifest(pe):
    arch = MANIFEST_ARCH[pe.machine]
    ns = {"a": "urn:schemas-microsoft-com:asm.v1"}
    root = ET.fromstring(pe.get(pr.RT_MANIFEST, 1))
    identity = root.find("a:assemblyIdentity", ns)
    expect("manifest identity", identity.attrib, {
        "version": "1.0.0.0", "processorArchitecture": arch,
        "name": "Microsoft.Windows.MyApplication", "type": "win32"})
    expect("manifest description", root.findtext("a:description", None, ns), "MyApplication")
    deps = root.findall("a:dependency/a:dependentAssembly/a:assemblyIdentity", ns)
    expect("manifest dependencies", [d.attrib for d in deps], [{
        "type": "win32", "name": "Microsoft.Windows.Common-Controls", "version": "6.0.0.0",
        "processorArchitecture": arch, "publicKeyToken": "6595b64144ccf1df", "language": "*"}])
    expect("manifest execution level", [e.tag for e in root.iter() if "requestedExecutionLevel" in e.tag], [])
    # The ANSI functions speak UTF-8 where the system honours this setting.
    v3 = "{urn:schemas-microsoft-com:asm.v3}"
    setting = f"{v3}application/{v3}windowsSettings/" \
              "{http://schemas.microsoft.com/SMI/2019/WindowsSettings}activeCodePage"
    code_pages = [e.text for e in root.findall(setting)]
    expect("manifest active code page", code_pages, ["UTF-8"])


def check_icon_group(pe, gid, want):
    entries = pr.group_icon(pe.get(pr.RT_GROUP_ICON, gid))
    expect(f"icon group {gid} images", sorted((w, h, bpp) for w, h, bpp, _ in entries), want)
    for w, h, bpp, iid in entries:
        image = pe.get(pr.RT_ICON, iid)
        expect(f"icon {gid} image {w}x{h}", pr.dib_header(image)[:3], (w, 2 * h, bpp))
        if bpp == 32:
            pixels = image[40:40 + 4 * w * h]
            expect(f"icon {gid} {w}x{h} alpha values", {0, 255} <= set(pixels[3::4]), True)


def check_bitmaps(pe):
    plain = pe.get(pr.RT_BITMAP, 129)
    expect("bitmap 129 format", pr.dib_header(plain)[:3], (128, 32, 4))
    blocks = [pr.dib_pixel(plain, 32 * i + 16, 16) for i in range(4)]
    expect("bitmap 129 blocks", blocks, [(255, 0, 255), (255, 255, 255), (0, 255, 0), (0, 0, 0)])
    for bid, blue in ((132, True), (134, False)):
        data = pe.get(pr.RT_BITMAP, bid)
        expect(f"bitmap {bid} format", pr.dib_header(data)[:3], (128, 32, 24))
        expect(f"bitmap {bid} first pixel", tuple(data[40:43][::-1]), BACKGROUND)
        for i in range(4):
            r, g, b = pr.dib_pixel(data, 32 * i + 4, 16)  # inside the square, left of the pictogram
            expect(f"bitmap {bid} square {i} colour is {'blue' if blue else 'grey'}",
                   b > r + 40 if blue else r == g == b, True)
            whites = sum(pr.dib_pixel(data, 32 * i + x, y) == (255, 255, 255)
                         for x in range(32) for y in range(32))
            expect(f"bitmap {bid} square {i} has a white pictogram", whites > 50, True)


def main(path):
    pe = pr.PeImage(path)
    expect("resources", sorted({k for k in pe.names() if k[0] != pr.RT_ICON}, key=str),
           sorted(EXPECTED_NAMES, key=str))
    check_dialog(pe, 100, ABOUT_BOX)
    check_dialog(pe, 102, PLAYLIST_DIALOG)
    expect("string 101", pr.string(pe, 101), "&About Quib...")
    check_version(pe)
    check_manifest(pe)
    expect("toolbar 129", pe.get(RT_TOOLBAR, 129), TOOLBAR)
    check_icon_group(pe, 128, [(16, 16, 32), (24, 24, 32), (32, 32, 32), (48, 48, 32)])
    for gid in (135, 136, 137, 138):
        check_icon_group(pe, gid, [(32, 32, 24)])
    check_bitmaps(pe)
    for f in failures:
        print("FAIL", f)
    print(f"{path}: {pe.machine}, {len(failures)} mismatches")
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main(sys.argv[1]))
