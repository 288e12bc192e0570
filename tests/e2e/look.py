#!/usr/bin/env python3
"""Pixel checks on a screenshot of the program's window.

Usage: look.py LAYOUT SHOT.png CHECK...
LAYOUT is what `e2e_probe layout` printed while the window was up; SHOT is the window as
ImageMagick's import captured it. The expected pictures come from the artwork in res/.
Checks:
  toolbar            each toolbar button shows its pictogram of the toolbar bitmap pixel for
                     pixel, the button's own background showing through every pixel of the
                     bitmap's transparent colour
  arrow NAME STATE   the arrow button NAME (up, down, remove, clear) shows its icon centred on
                     the button face, in STATE: rest (no frame), hot (raised frame) or pressed
                     (sunken frame, the icon one pixel right and one down); +focus after the
                     state adds the dotted focus rectangle 3 pixels inside, which Wine shows
                     whenever a button has the focus (it keeps no keyboard-cue state)
  bar FILL           the progress bar's two ends: FILL full, empty, or part (only the left end
                     in the bar colour)
  same OTHER.png     the same pixels as OTHER (a screenshot of the same window) but for the
                     capacity text, whose free space other programs change
  same-part NAME OTHER.png
                     the part NAME of the layout (such as drives) the same as in OTHER
Prints what it found and exits 1 when a check fails.
"""
import os
import struct
import subprocess
import sys

RES = os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "..", "res")
ICONS = {"up": "move_up.ico", "down": "move_down.ico", "remove": "remove.ico",
         "clear": "clear.ico"}


class Picture:
    def __init__(self, width, height, pixels):
        self.width, self.height, self.pixels = width, height, pixels

    def at(self, x, y):
        return self.pixels[y * self.width + x]


def read_png(path):
    ppm = subprocess.run(["convert", path, "-depth", "8", "ppm:-"], check=True,
                         capture_output=True).stdout
    # "P6", width, height and maximum, separated by blanks; one blank, then the pixels.
    fields, pos = [], 0
    for _ in range(4):
        while ppm[pos:pos + 1].isspace():
            pos += 1
        end = pos
        while not ppm[end:end + 1].isspace():
            end += 1
        fields.append(ppm[pos:end])
        pos = end
    width, height, data = int(fields[1]), int(fields[2]), ppm[pos + 1:]
    return Picture(width, height, [tuple(data[i:i + 3]) for i in range(0, 3 * width * height, 3)])


def read_bmp(path):
    """A 24-bit bottom-up bitmap; also returns the colour of its first pixel in memory."""
    with open(path, "rb") as f:
        data = f.read()
    offset, = struct.unpack_from("<I", data, 10)
    width, height, _, bits = struct.unpack_from("<iiHH", data, 18)
    assert bits == 24 and height > 0, path
    stride = (width * 3 + 3) & ~3
    rows = []
    for y in range(height - 1, -1, -1):
        row = data[offset + y * stride:offset + y * stride + width * 3]
        rows.extend((row[i + 2], row[i + 1], row[i]) for i in range(0, width * 3, 3))
    first = data[offset:offset + 3]
    return Picture(width, height, rows), (first[2], first[1], first[0])


def icon_over(path, face):
    """The single 24-bit image of an icon file as DrawIconEx puts it on a face colour."""
    with open(path, "rb") as f:
        data = f.read()
    offset, = struct.unpack_from("<I", data, 6 + 12)
    width, height2, _, bits = struct.unpack_from("<iiHH", data, offset + 4)
    assert bits == 24, path
    height = height2 // 2
    xor = offset + 40
    xor_stride, and_stride = (width * 3 + 3) & ~3, ((width + 31) // 32) * 4
    mask = xor + xor_stride * height
    pixels = []
    for y in range(height - 1, -1, -1):
        for x in range(width):
            b, g, r = data[xor + y * xor_stride + 3 * x:xor + y * xor_stride + 3 * x + 3]
            keep = (data[mask + y * and_stride + x // 8] >> (7 - x % 8)) & 1
            pixels.append(tuple((f if keep else 0) ^ c for f, c in zip(face, (r, g, b))))
    return Picture(width, height, pixels)


class Look:
    def __init__(self, layout_path, shot):
        self.rects, self.colours, self.images = {}, {}, {}
        with open(layout_path) as f:
            for line in f:
                words = line.split()
                if words[0] == "colour":
                    self.colours[words[1]] = tuple(int(w) for w in words[2:5])
                elif len(words) >= 5:
                    self.rects[words[0]] = [int(w) for w in words[1:5]]
                    if len(words) == 6:
                        self.images[words[0]] = int(words[5])
        self.shot = shot
        left, top, right, bottom = self.rects["window"]
        if (shot.width, shot.height) != (right - left, bottom - top):
            raise SystemExit("the screenshot is %dx%d, the window %dx%d"
                             % (shot.width, shot.height, right - left, bottom - top))
        self.failures = 0

    def report(self, ok, text):
        print(("ok: " if ok else "FAIL: ") + text)
        self.failures += not ok

    def rect(self, name):
        """The part's rectangle in the screenshot's coordinates."""
        left, top, right, bottom = self.rects[name]
        return (left - self.rects["window"][0], top - self.rects["window"][1],
                right - self.rects["window"][0], bottom - self.rects["window"][1])

    def toolbar(self):
        strip, key = read_bmp(os.path.join(RES, "toolbar_normal.bmp"))
        size = strip.height
        for name, index in self.images.items():
            image = Picture(size, size, [strip.at(index * size + x, y)
                                         for y in range(size) for x in range(size)])
            self.pictogram(name, image, key)

    def pictogram(self, name, image, key):
        left, top, right, bottom = self.rect(name)
        solid = [(x, y) for y in range(image.height) for x in range(image.width)
                 if image.at(x, y) != key]
        x0, y0 = solid[0]
        found = None
        for y in range(top, bottom - image.height + 1):
            for x in range(left, right - image.width + 1):
                if self.shot.at(x, y) == image.at(x0, y0) and all(
                        self.shot.at(x - x0 + sx, y - y0 + sy) == image.at(sx, sy)
                        for sx, sy in solid):
                    found = (x - x0, y - y0)
                    break
            if found:
                break
        if not found:
            self.report(False, "%s does not show its pictogram" % name)
            return
        ox, oy = found
        # Left of the picture, inside the button: its background, normal or lit.
        background = self.shot.at(ox - 2, oy + image.height // 2)
        clear = [(x, y) for y in range(image.height) for x in range(image.width)
                 if image.at(x, y) == key]
        wrong = [(x, y) for x, y in clear if self.shot.at(ox + x, oy + y) != background]
        corners = [(0, 0), (image.width - 1, 0), (0, image.height - 1),
                   (image.width - 1, image.height - 1)]
        self.report(background != key and not wrong and all(c in clear for c in corners),
                    "%s shows its pictogram at %d,%d; %d transparent pixels (the corners "
                    "among them) show the background %s, %d do not"
                    % (name, ox, oy, len(clear), background, len(wrong)))

    def arrow(self, name, state):
        state, focused = state.split("+")[0], state.endswith("+focus")
        left, top, right, bottom = self.rect(name)
        width, height = right - left, bottom - top
        face, light, dark = (self.colours[c] for c in ("face", "highlight", "shadow"))
        icon = icon_over(os.path.join(RES, ICONS[name]), face)
        shift = 1 if state == "pressed" else 0
        ix = left + (width - icon.width) // 2 + shift
        iy = top + (height - icon.height) // 2 + shift
        # The focus rectangle inverts every other pixel of its outline, over the icon too.
        ring = {(x, y) for y in range(top + 3, bottom - 3) for x in range(left + 3, right - 3)
                if x in (left + 3, right - 4) or y in (top + 3, bottom - 4)} if focused else set()
        wrong_icon = sum(self.shot.at(ix + x, iy + y) != icon.at(x, y)
                         for y in range(icon.height) for x in range(icon.width)
                         if (ix + x, iy + y) not in ring)
        # Draw3dRect: the top row and left column but their last pixel in the first colour,
        # the right column and bottom row in the second.
        top_left, bottom_right = {"rest": (face, face), "hot": (light, dark),
                                  "pressed": (dark, light)}[state]
        frame = [((x, top), top_left) for x in range(left, right - 1)]
        frame += [((left, y), top_left) for y in range(top, bottom - 1)]
        frame += [((right - 1, y), bottom_right) for y in range(top, bottom)]
        frame += [((x, bottom - 1), bottom_right) for x in range(left, right)]
        wrong_frame = sum(self.shot.at(*p) != colour for p, colour in frame)
        on_face = [p for p in ring
                   if not (ix <= p[0] < ix + icon.width and iy <= p[1] < iy + icon.height)]
        inverted = tuple(255 - c for c in face)
        dots = sum(self.shot.at(*p) == inverted for p in on_face)
        wrong_ring = sum(self.shot.at(*p) not in (face, inverted) for p in on_face)
        if focused and dots < len(on_face) // 4:
            wrong_ring += len(on_face) // 4 - dots
        inside = [(x, y) for y in range(top + 1, bottom - 1) for x in range(left + 1, right - 1)
                  if not (ix <= x < ix + icon.width and iy <= y < iy + icon.height)
                  and (x, y) not in ring]
        wrong_face = sum(self.shot.at(x, y) != face for x, y in inside)
        self.report(wrong_icon + wrong_frame + wrong_face + wrong_ring == 0,
                    "%s %s: icon at %d,%d in the button, %d pixels off; frame %d pixels off; "
                    "face %d pixels off; focus rectangle %d pixels off"
                    % (name, state + ("+focus" if focused else ""), ix - left, iy - top,
                       wrong_icon, wrong_frame, wrong_face, wrong_ring))

    def bar(self, fill):
        left, top, right, bottom = self.rect("progress")
        middle = (top + bottom) // 2
        ends = self.shot.at(left + 4, middle), self.shot.at(right - 5, middle)
        bar, empty = self.colours["bar"], self.colours["barbk"]
        wanted = {"full": (bar, bar), "empty": (empty, empty), "part": (bar, empty)}[fill]
        self.report(ends == wanted, "progress bar %s: ends %s, %s" % (fill, ends[0], ends[1]))

    def same(self, other_path, part=None):
        other = read_png(other_path)
        if (other.width, other.height) != (self.shot.width, self.shot.height):
            self.report(False, "%s has another size" % other_path)
            return
        left, top, right, bottom = self.rect(part or "capacity")
        inside = lambda x, y: left <= x < right and top <= y < bottom
        differ = [(i % other.width, i // other.width)
                  for i, (a, b) in enumerate(zip(self.shot.pixels, other.pixels)) if a != b]
        differ = [(x, y) for x, y in differ if inside(x, y) == bool(part)]
        where = ""
        if differ:
            xs, ys = [x for x, _ in differ], [y for _, y in differ]
            where = " within %d,%d - %d,%d" % (min(xs), min(ys), max(xs) + 1, max(ys) + 1)
        self.report(not differ, "%d pixels%s differ from %s%s"
                    % (len(differ), " of " + part if part else "",
                       os.path.basename(other_path), where))

    def same_part(self, part, other_path):
        self.same(other_path, part)


def main(argv):
    if len(argv) < 4:
        sys.exit(__doc__)
    look = Look(argv[1], read_png(argv[2]))
    checks, args = {"toolbar": 0, "arrow": 2, "bar": 1, "same": 1, "same-part": 2}, argv[3:]
    while args:
        name = args[0]
        if name not in checks or len(args) <= checks[name]:
            sys.exit(__doc__)
        getattr(look, name.replace("-", "_"))(*args[1:1 + checks[name]])
        args = args[1 + checks[name]:]
    sys.exit(1 if look.failures else 0)


if __name__ == "__main__":
    main(sys.argv)
