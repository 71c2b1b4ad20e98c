#!/usr/bin/env python3
"""Draw Orvanel's eleven button pictures (data/img/*.gif and liste.txt) and its icon.

The program loads, at start-up, the pictures named in data/img/liste.txt
(one base name a line, ".gif" added) into its eleven button pictures, and
uses them by their place in the list:

   0  notes window, save button released     1  the same, pressed
   2  "Initialisation" chart button released 3  the same, pressed
   4  "Pointage" chart button released       5  the same, pressed
   6  hand-paddle switch, paddle off         7  hand-paddle switch, paddle on
   8  tracking pause button while tracking runs (pause sign)
   9  the same while tracking is paused (play sign)
  10  spare, never shown

Everything is drawn here from rectangles, lines, discs and a small pixel
font, and written with the GIF encoder below (GIF89a, one image, a 32-colour
global palette, LZW compression).  Only the Python standard library is used.
The output depends on nothing but this file: two runs give identical bytes.

The icon of the desktop's launcher (dist/orvanel.png, 64 x 64, PNG with
transparency) is drawn from the same pieces: the red reticle on a star of
the "Initialisation" button and the green arrow of the "Pointage" button, on
a night-blue disc.

Usage, from the repository root:
    python3 tools/make_pictures.py              # writes data/img/ and dist/orvanel.png
    python3 tools/make_pictures.py --out DIR --icon FILE
"""

import argparse
import os
import struct
import sys
import zlib

LINE_END = "\r\n"

# ---------------------------------------------------------------------------
# Palette: one global colour table shared by every picture.

PALETTE_NAMES = [
    ("black", (0, 0, 0)),
    ("white", (255, 255, 255)),
    ("face", (204, 204, 204)),          # button face, released
    ("face_down", (158, 158, 158)),     # button face, pressed
    ("light", (236, 236, 236)),         # inner highlight
    ("shadow", (120, 120, 120)),        # inner shadow
    ("dark", (56, 56, 56)),             # outer shadow
    ("ink", (24, 24, 24)),              # lettering
    ("navy", (22, 40, 104)),            # floppy disk body
    ("metal", (196, 200, 212)),         # floppy disk shutter
    ("label", (250, 250, 238)),         # floppy disk label
    ("line_blue", (90, 110, 190)),      # ruling of the label
    ("red", (204, 32, 32)),
    ("red_dark", (128, 20, 20)),
    ("lamp_off", (92, 36, 36)),         # unlit lamp
    ("yellow", (252, 212, 40)),
    ("green_face", (128, 208, 128)),    # paddle switch face, paddle on
    ("green_light", (184, 240, 184)),   # its highlight
    ("green_shadow", (40, 120, 48)),    # its shadow
    ("green", (32, 160, 56)),
    ("green_dark", (0, 84, 24)),
    ("lamp_on", (140, 255, 120)),       # lit lamp
    ("paddle_grey", (92, 92, 96)),      # paddle body, off
    ("key_grey", (170, 170, 176)),      # paddle keys, off
]
while len(PALETTE_NAMES) < 32:
    PALETTE_NAMES.append(("unused%d" % len(PALETTE_NAMES), (0, 0, 0)))

PALETTE = [rgb for _, rgb in PALETTE_NAMES]
C = {name: i for i, (name, _) in enumerate(PALETTE_NAMES)}

# ---------------------------------------------------------------------------
# A tiny raster of palette indices.


class Canvas:
    def __init__(self, width, height, colour=0):
        self.width = width
        self.height = height
        self.pixels = [colour] * (width * height)

    def get(self, x, y):
        return self.pixels[y * self.width + x]

    def put(self, x, y, colour):
        if 0 <= x < self.width and 0 <= y < self.height:
            self.pixels[y * self.width + x] = colour

    def fill_rect(self, x0, y0, x1, y1, colour):
        """Fills the rectangle with corners (x0, y0) and (x1, y1) inclusive."""
        for y in range(y0, y1 + 1):
            for x in range(x0, x1 + 1):
                self.put(x, y, colour)

    def frame_rect(self, x0, y0, x1, y1, colour):
        self.fill_rect(x0, y0, x1, y0, colour)
        self.fill_rect(x0, y1, x1, y1, colour)
        self.fill_rect(x0, y0, x0, y1, colour)
        self.fill_rect(x1, y0, x1, y1, colour)

    def line(self, x0, y0, x1, y1, colour):
        dx, dy = abs(x1 - x0), -abs(y1 - y0)
        sx = 1 if x0 < x1 else -1
        sy = 1 if y0 < y1 else -1
        err = dx + dy
        while True:
            self.put(x0, y0, colour)
            if x0 == x1 and y0 == y1:
                return
            e2 = 2 * err
            if e2 >= dy:
                err += dy
                x0 += sx
            if e2 <= dx:
                err += dx
                y0 += sy

    def disc(self, cx, cy, r, colour):
        """Pixels whose centre lies within r of (cx, cy); cx, cy may be halves."""
        for y in range(int(cy - r) - 1, int(cy + r) + 2):
            for x in range(int(cx - r) - 1, int(cx + r) + 2):
                if (x - cx) ** 2 + (y - cy) ** 2 <= r * r:
                    self.put(x, y, colour)

    def ring(self, cx, cy, r_out, r_in, colour):
        for y in range(int(cy - r_out) - 1, int(cy + r_out) + 2):
            for x in range(int(cx - r_out) - 1, int(cx + r_out) + 2):
                d2 = (x - cx) ** 2 + (y - cy) ** 2
                if r_in * r_in < d2 <= r_out * r_out:
                    self.put(x, y, colour)

    def triangle(self, a, b, c, colour):
        """Fills the pixels whose centre lies inside the triangle abc."""
        def side(p, q, x, y):
            return (q[0] - p[0]) * (y - p[1]) - (q[1] - p[1]) * (x - p[0])
        xs = [a[0], b[0], c[0]]
        ys = [a[1], b[1], c[1]]
        for y in range(int(min(ys)), int(max(ys)) + 1):
            for x in range(int(min(xs)), int(max(xs)) + 1):
                s1 = side(a, b, x, y)
                s2 = side(b, c, x, y)
                s3 = side(c, a, x, y)
                if (s1 >= 0 and s2 >= 0 and s3 >= 0) or (s1 <= 0 and s2 <= 0 and s3 <= 0):
                    self.put(x, y, colour)


# ---------------------------------------------------------------------------
# A 5 x 7 pixel font, only the capitals the pictures spell.

FONT = {
    "F": ["#####", "#....", "#....", "####.", "#....", "#....", "#...."],
    "I": ["#####", "..#..", "..#..", "..#..", "..#..", "..#..", "#####"],
    "N": ["#...#", "##..#", "#.#.#", "#.#.#", "#.#.#", "#..##", "#...#"],
    "O": [".###.", "#...#", "#...#", "#...#", "#...#", "#...#", ".###."],
    "P": ["####.", "#...#", "#...#", "####.", "#....", "#....", "#...."],
    "T": ["#####", "..#..", "..#..", "..#..", "..#..", "..#..", "..#.."],
}
GLYPH_W, GLYPH_H, GLYPH_GAP = 5, 7, 1


def text_width(text):
    return len(text) * (GLYPH_W + GLYPH_GAP) - GLYPH_GAP


def draw_text(canvas, x, y, text, colour, bold=False):
    """Writes text with its top-left corner at (x, y); bold doubles each stroke."""
    for ch in text:
        for row, bits in enumerate(FONT[ch]):
            for col, bit in enumerate(bits):
                if bit == "#":
                    canvas.put(x + col, y + row, colour)
                    if bold:
                        canvas.put(x + col + 1, y + row, colour)
        x += GLYPH_W + GLYPH_GAP + (1 if bold else 0)


# ---------------------------------------------------------------------------
# The pictures.


def button(width, height, pressed, face="face", light="light", shadow="shadow",
           outer_light="white", outer_dark="dark"):
    """A raised push button, or the same button pushed in: darker face and the
    bevel turned round.  Returns the canvas and the offset of its contents."""
    cv = Canvas(width, height, C["face_down" if pressed and face == "face" else face])
    x1, y1 = width - 1, height - 1
    top_out, bot_out = (outer_dark, outer_light) if pressed else (outer_light, outer_dark)
    top_in, bot_in = (shadow, light) if pressed else (light, shadow)
    cv.fill_rect(0, 0, x1, 0, C[top_out])
    cv.fill_rect(0, 0, 0, y1, C[top_out])
    cv.fill_rect(0, y1, x1, y1, C[bot_out])
    cv.fill_rect(x1, 0, x1, y1, C[bot_out])
    cv.fill_rect(1, 1, x1 - 1, 1, C[top_in])
    cv.fill_rect(1, 1, 1, y1 - 1, C[top_in])
    cv.fill_rect(1, y1 - 1, x1 - 1, y1 - 1, C[bot_in])
    cv.fill_rect(x1 - 1, 1, x1 - 1, y1 - 1, C[bot_in])
    return cv, (1 if pressed else 0)


def save_button(pressed):
    """A floppy disk."""
    cv, d = button(48, 32, pressed)
    x0, y0 = 14 + d, 5 + d                         # the disk: 21 x 22
    cv.fill_rect(x0, y0, x0 + 20, y0 + 21, C["navy"])
    cv.triangle((x0 + 17, y0 - 1), (x0 + 21, y0 - 1), (x0 + 21, y0 + 3), C["face_down" if pressed else "face"])
    cv.fill_rect(x0 + 5, y0, x0 + 14, y0 + 6, C["metal"])      # shutter
    cv.fill_rect(x0 + 11, y0 + 1, x0 + 12, y0 + 5, C["navy"])  # its window
    cv.fill_rect(x0 + 3, y0 + 10, x0 + 17, y0 + 21, C["label"])
    for y in (y0 + 13, y0 + 16, y0 + 19):
        cv.fill_rect(x0 + 5, y, x0 + 15, y, C["line_blue"])
    return cv


def init_button(pressed):
    """A red reticle on a star, and "INIT"."""
    cv, d = button(64, 32, pressed)
    cx, cy = 15.5 + d, 15.5 + d
    cv.ring(cx, cy, 10.5, 8.6, C["red"])
    # Four ticks, two pixels thick, across the ring.
    for (ax, ay, bx, by) in ((3, 15, 10, 16), (21, 15, 28, 16), (15, 3, 16, 10), (15, 21, 16, 28)):
        cv.fill_rect(ax + d, ay + d, bx + d, by + d, C["red"])
    star(cv, 15 + d, 15 + d)
    draw_text(cv, 33 + d, 12 + d, "INIT", C["ink"])
    return cv


def star(cv, x, y):
    """A small four-pointed yellow star on the 2 x 2 pixels at (x, y)."""
    cv.fill_rect(x, y - 3, x + 1, y + 4, C["yellow"])
    cv.fill_rect(x - 3, y, x + 4, y + 1, C["yellow"])
    cv.fill_rect(x - 1, y - 1, x + 2, y + 2, C["yellow"])


def pointage_button(pressed):
    """An arrow flying to a star, and "POINT"."""
    cv, d = button(64, 32, pressed)
    star(cv, 22 + d, 8 + d)
    for k in range(3):                               # shaft, 3 pixels thick
        cv.line(5 + d, 25 + d + k - 1, 15 + d, 15 + d + k - 1, C["green_dark"])
    cv.triangle((20 + d, 10 + d), (11 + d, 13 + d), (17 + d, 19 + d), C["green_dark"])
    draw_text(cv, 30 + d, 12 + d, "POINT", C["ink"])
    return cv


def paddle_switch(on):
    """The hand paddle with its lamp: grey with a dark lamp and a red "OFF",
    or green with a lit lamp and "ON"."""
    if on:
        cv, _ = button(48, 32, False, face="green_face", light="green_light",
                       shadow="green_shadow", outer_dark="green_dark")
        body, key, lamp, text, text_colour = "green_dark", "white", "lamp_on", "ON", "green_dark"
    else:
        cv, _ = button(48, 32, False)
        body, key, lamp, text, text_colour = "paddle_grey", "key_grey", "lamp_off", "OFF", "red_dark"
    # Paddle: a body with four direction keys and a cable.
    cv.fill_rect(6, 6, 19, 27, C[body])
    cv.fill_rect(7, 5, 18, 5, C[body])
    cv.fill_rect(11, 2, 14, 4, C["ink"])
    cv.fill_rect(11, 9, 14, 11, C[key])
    cv.fill_rect(11, 19, 14, 21, C[key])
    cv.fill_rect(7, 14, 10, 16, C[key])
    cv.fill_rect(15, 14, 18, 16, C[key])
    # Lamp.
    cv.disc(33.5, 9.5, 5.0, C["ink"])
    cv.disc(33.5, 9.5, 4.0, C[lamp])
    if on:
        cv.disc(32.0, 8.0, 1.2, C["white"])
    # Word, bold.
    width = text_width(text) + len(text)
    draw_text(cv, 34 - width // 2, 18, text, C[text_colour], bold=True)
    return cv


def pause_picture():
    """Shown while tracking runs: two bars (click to pause)."""
    cv, _ = button(48, 32, False)
    cv.fill_rect(17, 8, 21, 23, C["navy"])
    cv.fill_rect(26, 8, 30, 23, C["navy"])
    return cv


def play_picture():
    """Shown while tracking is paused: a triangle (click to go on)."""
    cv, _ = button(48, 32, False)
    cv.triangle((17, 7), (17, 24), (32, 15.5), C["green"])
    return cv


def spare_picture():
    cv, _ = button(48, 32, False)
    return cv


# Base name and drawing of each picture, in the program's order.
PICTURES = [
    ("enreg_relache", lambda: save_button(False)),
    ("enreg_enfonce", lambda: save_button(True)),
    ("init_relache", lambda: init_button(False)),
    ("init_enfonce", lambda: init_button(True)),
    ("pointage_relache", lambda: pointage_button(False)),
    ("pointage_enfonce", lambda: pointage_button(True)),
    ("raquette_off", lambda: paddle_switch(False)),
    ("raquette_on", lambda: paddle_switch(True)),
    ("suivi_pause", pause_picture),
    ("suivi_reprise", play_picture),
    ("reserve", spare_picture),
]

# ---------------------------------------------------------------------------
# The icon.

ICON_SIZE = 64
# Colours of the icon besides the palette's, as (index, RGB); the index 0xFF
# is a transparent pixel.
ICON_EXTRA = [("sky", (12, 20, 60)), ("sky_edge", (6, 10, 32))]
ICON_COLOURS = PALETTE + [rgb for _, rgb in ICON_EXTRA]
IC = dict(C, **{name: len(PALETTE) + i for i, (name, _) in enumerate(ICON_EXTRA)})
TRANSPARENT = 0xFF


def icon():
    """The launcher's icon: a star in the red reticle, the green arrow that
    points the telescope at it, faint stars around, on a night-blue disc."""
    n = ICON_SIZE
    cv = Canvas(n, n, TRANSPARENT)
    centre = (n - 1) / 2
    cv.disc(centre, centre, n / 2 - 0.5, IC["sky_edge"])
    cv.disc(centre, centre, n / 2 - 2.5, IC["sky"])
    for x, y in ((12, 18), (20, 9), (47, 48), (53, 38), (30, 54), (9, 33), (43, 6)):
        cv.put(x, y, IC["white"])
    # The reticle of the "Initialisation" button, twice its size.
    rx, ry = 38.5, 25.5
    cv.ring(rx, ry, 17.0, 13.5, IC["red"])
    for (ax, ay, bx, by) in ((19, 24, 28, 27), (49, 24, 58, 27), (37, 6, 40, 15), (37, 36, 40, 45)):
        cv.fill_rect(ax, ay, bx, by, IC["red"])
    # Its star, twice its size.
    cv.fill_rect(37, 19, 40, 32, IC["yellow"])
    cv.fill_rect(32, 24, 45, 27, IC["yellow"])
    cv.fill_rect(35, 22, 42, 29, IC["yellow"])
    # The arrow of the "Pointage" button, flying to the reticle.
    for k in range(5):
        cv.line(8, 56 + k - 2, 22, 42 + k - 2, IC["green_dark"])
    cv.triangle((29.0, 35.0), (16.0, 38.5), (25.5, 48.0), IC["green_dark"])
    for k in range(3):
        cv.line(9, 56 + k - 1, 22, 43 + k - 1, IC["green"])
    cv.triangle((27.0, 37.0), (18.5, 39.5), (24.5, 45.5), IC["green"])
    return cv


def encode_png(canvas, colours, transparent):
    """An 8-bit RGBA PNG of the canvas; `transparent` is the index of a clear pixel."""
    rows = bytearray()
    for y in range(canvas.height):
        rows.append(0)                                  # no filter
        for x in range(canvas.width):
            p = canvas.get(x, y)
            rows += bytes((0, 0, 0, 0)) if p == transparent else bytes(colours[p]) + b"\xff"

    def chunk(kind, data):
        return (struct.pack(">I", len(data)) + kind + data +
                struct.pack(">I", zlib.crc32(kind + data) & 0xFFFFFFFF))

    header = struct.pack(">IIBBBBB", canvas.width, canvas.height, 8, 6, 0, 0, 0)
    return (b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", header) +
            chunk(b"IDAT", zlib.compress(bytes(rows), 9)) + chunk(b"IEND", b""))


def write_icon(path):
    os.makedirs(os.path.dirname(os.path.abspath(path)), exist_ok=True)
    with open(path, "wb") as f:
        f.write(encode_png(icon(), ICON_COLOURS, TRANSPARENT))


# ---------------------------------------------------------------------------
# GIF89a encoder.

MAX_CODES = 4096          # codes are at most 12 bits wide


class _BitWriter:
    """Packs variable-width codes, least significant bit first."""

    def __init__(self):
        self.out = bytearray()
        self.acc = 0
        self.nbits = 0

    def write(self, code, width):
        self.acc |= code << self.nbits
        self.nbits += width
        while self.nbits >= 8:
            self.out.append(self.acc & 0xFF)
            self.acc >>= 8
            self.nbits -= 8

    def finish(self):
        if self.nbits:
            self.out.append(self.acc & 0xFF)
        self.acc = 0
        self.nbits = 0
        return bytes(self.out)


def lzw_compress(indices, min_code_size):
    """GIF variant of LZW: a clear code first, codes widened as the table
    grows, a clear code when it is full, the end code last."""
    if not indices:
        raise ValueError("empty image")
    clear = 1 << min_code_size
    end = clear + 1
    bits = _BitWriter()

    def reset():
        return {}, end + 1, min_code_size + 1

    table, next_code, width = reset()
    bits.write(clear, width)
    prefix = indices[0]
    for pixel in indices[1:]:
        key = (prefix, pixel)
        code = table.get(key)
        if code is not None:
            prefix = code
            continue
        bits.write(prefix, width)
        # The decoder adds each entry one code later than we do, so a wider
        # code is needed once the entry just added takes the value 2**width.
        if next_code == (1 << width) and width < 12:
            width += 1
        table[key] = next_code
        next_code += 1
        if next_code == MAX_CODES:
            bits.write(clear, width)
            table, next_code, width = reset()
        prefix = pixel
    bits.write(prefix, width)
    # The decoder adds one more entry on reading that last code.
    if next_code == (1 << width) and width < 12:
        width += 1
    bits.write(end, width)
    return bits.finish()


def encode_gif(width, height, pixels, palette):
    """A GIF89a file of one image; pixels are palette indices, row by row."""
    if not 1 <= width <= 0xFFFF or not 1 <= height <= 0xFFFF:
        raise ValueError("bad size")
    if len(pixels) != width * height:
        raise ValueError("pixel count does not match the size")
    if not 2 <= len(palette) <= 256 or len(palette) & (len(palette) - 1):
        raise ValueError("palette size must be a power of two from 2 to 256")
    if any(not 0 <= p < len(palette) for p in pixels):
        raise ValueError("pixel outside the palette")
    table_bits = len(palette).bit_length() - 1          # 2 ** table_bits colours
    min_code_size = max(2, table_bits)

    out = bytearray(b"GIF89a")
    out += width.to_bytes(2, "little") + height.to_bytes(2, "little")
    out.append(0x80 | (7 << 4) | (table_bits - 1))      # global table, 8-bit colour
    out += bytes([0, 0])                                # background, aspect
    for r, g, b in palette:
        out += bytes([r, g, b])
    out.append(0x2C)                                    # image descriptor
    out += (0).to_bytes(2, "little") * 2
    out += width.to_bytes(2, "little") + height.to_bytes(2, "little")
    out.append(0)                                       # no local table, not interlaced
    out.append(min_code_size)
    data = lzw_compress(pixels, min_code_size)
    for i in range(0, len(data), 255):
        block = data[i:i + 255]
        out.append(len(block))
        out += block
    out.append(0)                                       # end of image data
    out.append(0x3B)                                    # trailer
    return bytes(out)


# ---------------------------------------------------------------------------


def build():
    """(base name, canvas) of every picture, in the program's order."""
    return [(name, draw()) for name, draw in PICTURES]


def write_pictures(out_dir):
    os.makedirs(out_dir, exist_ok=True)
    names = []
    for name, cv in build():
        with open(os.path.join(out_dir, name + ".gif"), "wb") as f:
            f.write(encode_gif(cv.width, cv.height, cv.pixels, PALETTE))
        names.append(name)
    with open(os.path.join(out_dir, "liste.txt"), "w", encoding="ascii", newline="") as f:
        f.write("".join(n + LINE_END for n in names))
    return names


def main(argv=None):
    repo = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--out", default=os.path.join(repo, "data", "img"),
                        help="folder to write the pictures and liste.txt into")
    parser.add_argument("--icon", default=os.path.join(repo, "dist", "orvanel.png"),
                        help="file to write the launcher's icon into")
    args = parser.parse_args(argv)
    names = write_pictures(args.out)
    print("%d pictures written to %s" % (len(names), args.out))
    write_icon(args.icon)
    print("icon written to %s" % args.icon)
    return 0


if __name__ == "__main__":
    sys.exit(main())
