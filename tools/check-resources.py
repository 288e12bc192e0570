#!/usr/bin/env python3
"""Checks the resources linked into an executable against the resource script res/ovelo.rc
(through res/resource.h and the project's version), and the artwork and manifest that the
script names against what the program needs of them.

Usage: check-resources.py EXE
Prints each mismatch and exits non-zero when there is any.
"""
import struct
import sys
import xml.etree.ElementTree as ET

sys.dont_write_bytecode = True  # keep the source tree free of caches
import pe_resources as pr  # noqa: E402
import rc_source  # noqa: E402

SCRIPT = rc_source.Script()
BACKGROUND = (236, 233, 216)
MANIFEST_ARCH = {"amd64": "amd64", "i386": "X86"}

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
        if got["extended"]:
            expect(f"{where} help id", item["helpid"], 0)


def packed(numbers):
    a, b, c, d = numbers
    return (a << 16 | b, c << 16 | d)


def check_version(pe):
    file_version, product_version, version_strings = SCRIPT.version()
    key, fixed, children = pr.version_tree(pe.get(pr.RT_VERSION, 1))
    expect("version key", key, "VS_VERSION_INFO")
    sig, _, fv_ms, fv_ls, pv_ms, pv_ls, mask, flags, os_, ftype, sub = struct.unpack_from("<11I", fixed)
    expect("version signature", hex(sig), hex(0xFEEF04BD))
    expect("file version", (fv_ms, fv_ls), packed(file_version))
    expect("product version", (pv_ms, pv_ls), packed(product_version))
    expect("version flags", (mask, flags, os_, ftype, sub), (0x3F, 0, 0x4, 0x1, 0))
    blocks = {k: c for k, _, c in children}
    string_tables = blocks.get("StringFileInfo", [])
    expect("string tables", [k for k, _, _ in string_tables], ["040904B0"])
    for _, _, entries in string_tables:
        got = {k: pr.text(v) for k, v, _ in entries}
        for key in sorted(got.keys() | version_strings.keys()):
            expect(f"version string {key}", got.get(key), version_strings.get(key))
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
           sorted(SCRIPT.resource_names(), key=str))
    check_dialog(pe, 100, SCRIPT.dialog("IDD_ABOUTBOX"))
    check_dialog(pe, 102, SCRIPT.dialog("IDD_PLAYLIST_DIALOG"))
    for sid, text in SCRIPT.strings().items():
        expect(f"string {sid}", pr.string(pe, sid), text)
    check_version(pe)
    check_manifest(pe)
    toolbar = SCRIPT.toolbar("IDR_TOOLBAR")
    expect("toolbar 129", pe.get(SCRIPT.value("RT_FRAMEWORK_TOOLBAR"), 129),
           struct.pack(f"<{len(toolbar)}H", *toolbar))
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
