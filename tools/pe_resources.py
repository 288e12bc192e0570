"""Reads the resources of a PE executable and decodes the kinds this program uses."""
import struct

RT_ICON, RT_BITMAP, RT_DIALOG, RT_STRING, RT_GROUP_ICON, RT_VERSION, RT_MANIFEST = 3, 2, 5, 6, 14, 16, 24

MACHINES = {0x14C: "i386", 0x8664: "amd64"}


class PeImage:
    def __init__(self, path):
        with open(path, "rb") as f:
            self.data = f.read()
        pe = struct.unpack_from("<I", self.data, 0x3C)[0]
        if self.data[pe:pe + 4] != b"PE\0\0":
            raise ValueError(f"{path}: not a PE image")
        machine, nsections, _, _, _, optsize, _ = struct.unpack_from("<HHIIIHH", self.data, pe + 4)
        self.machine = MACHINES.get(machine, hex(machine))
        opt = pe + 24
        magic = struct.unpack_from("<H", self.data, opt)[0]
        dirs = opt + (96 if magic == 0x10B else 112)
        self.rsrc_rva = struct.unpack_from("<I", self.data, dirs + 2 * 8)[0]
        table = opt + optsize
        self.sections = [struct.unpack_from("<8xIIII", self.data, table + 40 * i) for i in range(nsections)]
        self.resources = {}
        if self.rsrc_rva:
            self._walk(0, [])

    def _offset(self, rva):
        for vsize, va, rawsize, raw in self.sections:
            if va <= rva < va + max(vsize, rawsize):
                return raw + rva - va
        raise ValueError(f"RVA {rva:#x} outside every section")

    def _name(self, value):
        if not value & 0x80000000:
            return value
        at = self._offset(self.rsrc_rva) + (value & 0x7FFFFFFF)
        length = struct.unpack_from("<H", self.data, at)[0]
        return self.data[at + 2:at + 2 + 2 * length].decode("utf-16-le")

    def _walk(self, offset, path):
        base = self._offset(self.rsrc_rva)
        named, ids = struct.unpack_from("<12xHH", self.data, base + offset)
        for i in range(named + ids):
            name, target = struct.unpack_from("<II", self.data, base + offset + 16 + 8 * i)
            key = path + [self._name(name)]
            if target & 0x80000000:
                self._walk(target & 0x7FFFFFFF, key)
            else:
                rva, size = struct.unpack_from("<II", self.data, base + target)
                at = self._offset(rva)
                self.resources[tuple(key)] = self.data[at:at + size]

    def get(self, rtype, name):
        """Data of resource (type, name) in its first language, or None."""
        found = [v for k, v in sorted(self.resources.items(), key=str) if k[:2] == (rtype, name)]
        return found[0] if found else None

    def names(self):
        return {k[:2] for k in self.resources}


class Reader:
    def __init__(self, data, pos=0):
        self.data, self.pos = data, pos

    def unpack(self, fmt):
        values = struct.unpack_from("<" + fmt, self.data, self.pos)
        self.pos += struct.calcsize("<" + fmt)
        return values if len(values) > 1 else values[0]

    def align(self, n=4):
        self.pos = (self.pos + n - 1) // n * n

    def sz(self):
        end = self.pos
        while self.data[end:end + 2] != b"\0\0":
            end += 2
        text = self.data[self.pos:end].decode("utf-16-le")
        self.pos = end + 2
        return text

    def sz_or_ord(self):
        first = struct.unpack_from("<H", self.data, self.pos)[0]
        if first == 0xFFFF:
            self.pos += 2
            return self.unpack("H")
        if first == 0:
            self.pos += 2
            return None
        return self.sz()


def signed16(v):
    return v - 0x10000 if v & 0x8000 else v


def signed32(v):
    return v - 0x100000000 if v & 0x80000000 else v


def dialog(data):
    """Decodes a classic or extended dialog template into a dict with an 'items' list."""
    r = Reader(data)
    extended = data[2:4] == b"\xff\xff"
    d = {"extended": extended}
    if extended:
        _, _, d["helpid"], d["exstyle"], d["style"], count = r.unpack("HHIIIH")
    else:
        d["style"], d["exstyle"], count = r.unpack("IIH")
    d["rect"] = tuple(signed16(v) for v in r.unpack("4H"))
    d["menu"], d["class"], d["title"] = r.sz_or_ord(), r.sz_or_ord(), r.sz()
    if d["style"] & 0x40:  # DS_SETFONT
        if extended:
            d["font"] = (r.unpack("H"),) + r.unpack("HBB") + (r.sz(),)
        else:
            d["font"] = (r.unpack("H"), r.sz())
    d["items"] = []
    for _ in range(count):
        r.align()
        item = {}
        if extended:
            item["helpid"], item["exstyle"], item["style"] = r.unpack("III")
            rect, item["id"] = r.unpack("4H"), signed32(r.unpack("I"))
        else:
            item["style"], item["exstyle"] = r.unpack("II")
            rect, item["id"] = r.unpack("4H"), signed16(r.unpack("H"))
        item["rect"] = tuple(signed16(v) for v in rect)
        item["class"], item["text"] = r.sz_or_ord(), r.sz_or_ord()
        extra = r.unpack("H")
        r.pos += extra
        d["items"].append(item)
    return d


def string(pe, sid):
    block = pe.get(RT_STRING, sid // 16 + 1)
    if block is None:
        return None
    r = Reader(block)
    for _ in range(sid % 16):
        length = r.unpack("H")
        r.pos += 2 * length
    length = r.unpack("H")
    return block[r.pos:r.pos + 2 * length].decode("utf-16-le")


def version_tree(data, pos=0):
    """Decodes a version block node: (key, value bytes, children)."""
    length, value_len, vtype = struct.unpack_from("<HHH", data, pos)
    r = Reader(data, pos + 6)
    key = r.sz()
    r.align()
    value = data[r.pos:min(r.pos + value_len * (2 if vtype == 1 else 1), pos + length)]
    r.pos += len(value)
    r.align()
    children = []
    while r.pos < pos + length:
        child = version_tree(data, r.pos)
        children.append(child)
        r.pos += struct.unpack_from("<H", data, r.pos)[0]
        r.align()
    return key, value, children


def text(value):
    """A NUL-terminated UTF-16 value of a version string."""
    return value.decode("utf-16-le").split("\0")[0]


def group_icon(data):
    """List of (width, height, bits per pixel, icon id) of an icon group."""
    _, _, count = struct.unpack_from("<HHH", data)
    entries = []
    for i in range(count):
        w, h, _, _, _, bpp, _, iid = struct.unpack_from("<BBBBHHIH", data, 6 + 14 * i)
        entries.append((w or 256, h or 256, bpp, iid))
    return entries


def dib_header(data):
    """(width, height, bits per pixel, palette size) of a BITMAPINFOHEADER."""
    _, w, h, _, bpp, _, _, _, _, used, _ = struct.unpack_from("<IiiHHIIiiII", data)
    return w, h, bpp, used or (1 << bpp if bpp <= 8 else 0)


def dib_pixel(data, x, y):
    """RGB of the pixel at (x, y) counted from the top of a bottom-up DIB with one frame."""
    w, h, bpp, colours = dib_header(data)
    stride = (w * bpp + 31) // 32 * 4
    row = 40 + 4 * colours + (h - 1 - y) * stride
    if bpp == 4:
        byte = data[row + x // 2]
        index = byte >> 4 if x % 2 == 0 else byte & 15
        b, g, r = data[40 + 4 * index:43 + 4 * index]
        return r, g, b
    at = row + x * bpp // 8
    b, g, r = data[at:at + 3]
    return r, g, b
