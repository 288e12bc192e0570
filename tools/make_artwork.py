#!/usr/bin/python3
"""Draws the program's icons and toolbar bitmaps into res/.

Run with the system Python (it needs PIL): /usr/bin/python3 tools/make_artwork.py
The outputs are committed; rerun only when the artwork changes.
"""
import struct
from pathlib import Path

from PIL import Image, ImageDraw

RES = Path(__file__).resolve().parent.parent / "res"

SS = 8  # supersampling factor: shapes are drawn large and box-filtered down
TOOLBAR_BACK = (236, 233, 216)  # becomes the toolbar's transparent colour
BUTTON_FACE = (212, 208, 200)  # what the edge pixels of the 24-bit icons blend into
BLUE = ((88, 156, 232), (22, 76, 168))  # top and bottom of the tile gradient
GREY = ((176, 176, 176), (112, 112, 112))
WHITE = 255


class Glyph:
    """A white-on-tile mask drawn in 32-unit tile coordinates (pixel edges)."""

    def __init__(self, size):
        self.k = size * SS / 32.0
        self.img = Image.new("L", (size * SS, size * SS), 0)
        self.draw = ImageDraw.Draw(self.img)

    def _p(self, pts):
        return [(x * self.k, y * self.k) for x, y in pts]

    def rect(self, x0, y0, x1, y1, fill=WHITE):
        self.draw.rectangle([x0 * self.k, y0 * self.k, x1 * self.k - 1, y1 * self.k - 1], fill=fill)

    def rrect(self, x0, y0, x1, y1, r, fill=WHITE):
        self.draw.rounded_rectangle(
            [x0 * self.k, y0 * self.k, x1 * self.k - 1, y1 * self.k - 1], r * self.k, fill=fill
        )

    def poly(self, pts, fill=WHITE):
        self.draw.polygon(self._p(pts), fill=fill)

    def line(self, pts, width):
        self.draw.line(self._p(pts), fill=WHITE, width=round(width * self.k), joint="curve")
        r = width * self.k / 2
        for x, y in self._p([pts[0], pts[-1]]):  # round caps
            self.draw.ellipse([x - r, y - r, x + r, y + r], fill=WHITE)

    def arc(self, x0, y0, x1, y1, start, end, width):
        box = [x0 * self.k, y0 * self.k, x1 * self.k - 1, y1 * self.k - 1]
        self.draw.arc(box, start, end, fill=WHITE, width=round(width * self.k))


def tile(size, colours, paint, margin, radius):
    """RGBA image: a gradient square with curved corners carrying a white glyph."""
    big = size * SS
    top, bottom = colours
    rgb = Image.new("RGB", (big, big))
    px = ImageDraw.Draw(rgb)
    for y in range(big):
        t = y / (big - 1)
        px.line([(0, y), (big, y)], fill=tuple(round(a + (b - a) * t) for a, b in zip(top, bottom)))
    glyph = Glyph(size)
    paint(glyph)
    rgb.paste((255, 255, 255), mask=glyph.img)

    shape = Glyph(size)
    shape.rrect(margin, margin, 32 - margin, 32 - margin, radius)
    out = rgb.resize((size, size), Image.BOX)
    out.putalpha(shape.img.resize((size, size), Image.BOX))
    return out


def flatten(rgba, back):
    base = Image.new("RGB", rgba.size, back)
    base.paste(rgba, mask=rgba.getchannel("A"))
    return base


# Toolbar pictograms ---------------------------------------------------------


def film_strip(g):
    g.rrect(5, 7, 27, 25, 1.5)
    for x in range(7, 26, 4):  # sprocket holes
        g.rect(x, 9, x + 2, 11, 0)
        g.rect(x, 21, x + 2, 23, 0)
    g.rect(7, 13, 15, 19, 0)  # two frames
    g.rect(17, 13, 25, 19, 0)


def floppy_disk(g):
    g.poly([(6, 6), (23, 6), (26, 9), (26, 26), (6, 26)])
    g.rect(10, 6, 22, 13, 0)  # shutter
    g.rect(18, 8, 20, 11)  # slot in the shutter
    g.rect(9, 15, 23, 24, 0)  # label
    g.rect(11, 17, 21, 18)
    g.rect(11, 20, 21, 21)


def letter_f(g):
    g.rect(12, 11, 16, 25)  # stem
    g.arc(12, 5, 26, 19, 180, 290, 4)  # hook
    g.rect(8, 12, 21, 15)  # crossbar
    g.rect(9, 24, 19, 26)  # foot serif


def folder(g):
    g.poly([(5, 8), (12, 8), (14, 10), (25, 10), (25, 13), (5, 13)])  # tab
    g.poly([(5, 14), (27, 14), (26, 25), (6, 25)])  # front


# Arrow button icons ------------------------------------------------------------


def arrow_up(g):
    g.poly([(16, 6), (26, 17), (20, 17), (20, 26), (12, 26), (12, 17), (6, 17)])


def arrow_down(g):
    g.poly([(16, 26), (26, 15), (20, 15), (20, 6), (12, 6), (12, 15), (6, 15)])


def waste_bin(g):
    g.rect(13, 5, 19, 8)  # handle
    g.rect(14.5, 6.5, 17.5, 8, 0)
    g.rrect(7, 8, 25, 11, 1)  # lid
    g.poly([(9, 12), (23, 12), (21.5, 27), (10.5, 27)])
    for x in (12.5, 15.5, 18.5):  # slots
        g.rect(x, 14.5, x + 1, 24.5, 0)


def cross(g):
    g.line([(10, 10), (22, 22)], 4.5)
    g.line([(22, 10), (10, 22)], 4.5)


# Application icon --------------------------------------------------------------


def app_icon(size):
    """Two overlapping white window outlines, snapped to the pixel grid of each size."""
    u = 32.0 / size  # tile units per pixel
    lw = max(1, size // 16) * u
    bar = lw + u  # the title bar is one pixel thicker than the frame

    def snap(v):
        return round(v / u) * u

    def window(g, x0, y0, x1, y1):
        x0, y0, x1, y1 = snap(x0), snap(y0), snap(x1), snap(y1)
        g.rect(x0 - lw, y0 - lw, x1 + lw, y1 + lw, 0)  # keep a gap around a window in front
        g.rect(x0, y0, x1, y1)
        g.rect(x0 + lw, y0 + lw + bar, x1 - lw, y1 - lw, 0)

    def paint(g):
        window(g, 11, 5, 27, 19)
        window(g, 5, 13, 21, 27)

    margin = 0 if size <= 16 else u
    return tile(size, BLUE, paint, margin, 7)


# File writers ------------------------------------------------------------------


def dib_rows(width, height, bpp, row_bytes):
    stride = (width * bpp + 31) // 32 * 4
    return b"".join(row_bytes(y).ljust(stride, b"\0") for y in reversed(range(height)))


def info_header(width, height, bpp, image_size, colours=0):
    return struct.pack("<IiiHHIIiiII", 40, width, height, 1, bpp, 0, image_size, 0, 0, colours, 0)


def write_bmp(path, width, height, bpp, pixels, palette=b""):
    colours = len(palette) // 4
    header = info_header(width, height, bpp, len(pixels), colours)
    offset = 14 + len(header) + len(palette)
    data = struct.pack("<2sIHHI", b"BM", offset + len(pixels), 0, 0, offset)
    path.write_bytes(data + header + palette + pixels)


def bgr24(img):
    rgb = img.convert("RGB")
    return lambda y: b"".join(bytes((b, g, r)) for r, g, b in (rgb.getpixel((x, y)) for x in range(img.width)))


def and_mask(transparent):
    """1 bit per pixel, set where the screen shows through."""
    w, h = transparent.size

    def row(y):
        bits = 0
        for x in range(w):
            bits = bits << 1 | (1 if transparent.getpixel((x, y)) else 0)
        pad = (8 - w % 8) % 8
        return (bits << pad).to_bytes((w + pad) // 8, "big")

    return dib_rows(w, h, 1, row)


def icon_image_32(rgba):
    w, h = rgba.size
    colour = dib_rows(w, h, 32, lambda y: b"".join(
        bytes((b, g, r, a)) for r, g, b, a in (rgba.getpixel((x, y)) for x in range(w))))
    mask = and_mask(rgba.getchannel("A").point(lambda a: a < 128))
    return 32, info_header(w, h * 2, 32, len(colour) + len(mask)) + colour + mask


def icon_image_24(rgba):
    w, h = rgba.size
    alpha = rgba.getchannel("A")
    clear = alpha.point(lambda a: a < 128)
    shown = flatten(rgba, BUTTON_FACE)
    shown.paste((0, 0, 0), mask=clear.point(lambda v: 255 if v else 0))
    colour = dib_rows(w, h, 24, bgr24(shown))
    mask = and_mask(clear)
    return 24, info_header(w, h * 2, 24, len(colour) + len(mask)) + colour + mask


def write_ico(path, images):
    """images: list of (PIL RGBA image, encoder)."""
    entries, blobs = [], []
    offset = 6 + 16 * len(images)
    for img, encode in images:
        bpp, blob = encode(img)
        w, h = img.size
        entries.append(struct.pack("<BBBBHHII", w % 256, h % 256, 0, 0, 1, bpp, len(blob), offset))
        blobs.append(blob)
        offset += len(blob)
    path.write_bytes(struct.pack("<HHH", 0, 1, len(images)) + b"".join(entries) + b"".join(blobs))


def toolbar_strip(colours):
    strip = Image.new("RGB", (128, 32), TOOLBAR_BACK)
    for i, paint in enumerate((film_strip, floppy_disk, letter_f, folder)):
        strip.paste(flatten(tile(32, colours, paint, 1, 6), TOOLBAR_BACK), (32 * i, 0))
    assert strip.getpixel((0, 31)) == TOOLBAR_BACK  # first pixel of the bottom-up file
    return strip


def write_plain_toolbar(path):
    """4-bit strip of flat blocks: magenta, white, green, black (standard 16-colour palette)."""
    vga = [(0, 0, 0), (128, 0, 0), (0, 128, 0), (128, 128, 0), (0, 0, 128), (128, 0, 128),
           (0, 128, 128), (192, 192, 192), (128, 128, 128), (255, 0, 0), (0, 255, 0),
           (255, 255, 0), (0, 0, 255), (255, 0, 255), (0, 255, 255), (255, 255, 255)]
    blocks = [vga.index(c) for c in ((255, 0, 255), (255, 255, 255), (0, 255, 0), (0, 0, 0))]
    row = bytes(blocks[x // 32] << 4 | blocks[x // 32] for x in range(0, 128, 2))
    palette = b"".join(bytes((b, g, r, 0)) for r, g, b in vga)
    write_bmp(path, 128, 32, 4, dib_rows(128, 32, 4, lambda y: row), palette)


def main():
    write_ico(RES / "ovelo.ico", [(app_icon(s), icon_image_32) for s in (16, 24, 32, 48)])
    for name, paint in (("move_up", arrow_up), ("move_down", arrow_down),
                        ("clear", waste_bin), ("remove", cross)):
        write_ico(RES / f"{name}.ico", [(tile(32, BLUE, paint, 1, 6), icon_image_24)])
    write_plain_toolbar(RES / "toolbar.bmp")
    for name, colours in (("toolbar_normal", BLUE), ("toolbar_disabled", GREY)):
        strip = toolbar_strip(colours)
        write_bmp(RES / f"{name}.bmp", 128, 32, 24, dib_rows(128, 32, 24, bgr24(strip)))


if __name__ == "__main__":
    main()
