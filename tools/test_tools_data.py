"""Tests of the picture and default-settings generators.

Run from the repository root:
    python3 -m unittest discover -s tools -p 'test_*.py'
The GIF files are read back with a decoder written here, independent of the
encoder, so a wrong code width or table reset shows up as a bad picture.
"""

import os
import shutil
import sys
import tempfile
import unittest
import zlib

HERE = os.path.dirname(os.path.abspath(__file__))
sys.path.insert(0, HERE)

import make_defaults as md  # noqa: E402
import make_pictures as mp  # noqa: E402

REPO_DATA = os.path.join(os.path.dirname(HERE), "data")
SHIPPED_ICON = os.path.join(os.path.dirname(HERE), "dist", "orvanel.png")


# ---------------------------------------------------------------------------
# A GIF reader: the first image of a file, as (width, height, palette, pixels).


def lzw_decode(data, min_code_size, pixel_count):
    clear = 1 << min_code_size
    end = clear + 1
    pos = 0            # bit position in data

    def read(width):
        nonlocal pos
        if pos + width > len(data) * 8:
            raise ValueError("image data ends without an end code")
        value = 0
        for i in range(width):
            byte = data[(pos + i) >> 3]
            value |= ((byte >> ((pos + i) & 7)) & 1) << i
        pos += width
        return value

    out = []
    table = None
    width = min_code_size + 1
    prev = None
    while True:
        code = read(width)
        if code == clear:
            table = [[i] for i in range(clear)] + [None, None]
            width = min_code_size + 1
            prev = None
            continue
        if code == end:
            break
        if table is None:
            raise ValueError("image data does not start with a clear code")
        if prev is None:
            entry = table[code]
        else:
            if code < len(table):
                entry = table[code]
                if entry is None:
                    raise ValueError("clear or end code used as data")
                added = table[prev] + entry[:1]
            elif code == len(table):
                added = table[prev] + table[prev][:1]
                entry = added
            else:
                raise ValueError("code %d beyond the table (%d)" % (code, len(table)))
            if len(table) < 4096:
                table.append(added)
            if len(table) == (1 << width) and width < 12:
                width += 1
        out.extend(entry)
        prev = code
    if len(out) != pixel_count:
        raise ValueError("%d pixels decoded, %d expected" % (len(out), pixel_count))
    return out


def read_gif(blob):
    if blob[:6] not in (b"GIF87a", b"GIF89a"):
        raise ValueError("not a GIF")
    pos = 6
    screen_w = int.from_bytes(blob[pos:pos + 2], "little")
    screen_h = int.from_bytes(blob[pos + 2:pos + 4], "little")
    flags = blob[pos + 4]
    pos += 7
    palette = None
    if flags & 0x80:
        n = 2 << (flags & 7)
        palette = [tuple(blob[pos + 3 * i:pos + 3 * i + 3]) for i in range(n)]
        pos += 3 * n
    while True:
        kind = blob[pos]
        pos += 1
        if kind == 0x21:                       # extension: skip its blocks
            pos += 1
            while blob[pos]:
                pos += blob[pos] + 1
            pos += 1
        elif kind == 0x2C:
            break
        else:
            raise ValueError("no image in the file")
    w = int.from_bytes(blob[pos + 4:pos + 6], "little")
    h = int.from_bytes(blob[pos + 6:pos + 8], "little")
    img_flags = blob[pos + 8]
    pos += 9
    if img_flags & 0x80:
        n = 2 << (img_flags & 7)
        palette = [tuple(blob[pos + 3 * i:pos + 3 * i + 3]) for i in range(n)]
        pos += 3 * n
    if img_flags & 0x40:
        raise ValueError("interlaced images are not expected here")
    min_code_size = blob[pos]
    pos += 1
    data = bytearray()
    while blob[pos]:
        data += blob[pos + 1:pos + 1 + blob[pos]]
        pos += blob[pos] + 1
    pos += 1
    if blob[pos:] != b"\x3b":
        raise ValueError("the file does not end with the trailer after the image")
    if (w, h) != (screen_w, screen_h):
        raise ValueError("image and screen sizes differ")
    return w, h, palette, lzw_decode(bytes(data), min_code_size, w * h)


def read_png(blob):
    """An 8-bit RGBA PNG without interlace, as (width, height, rows of RGBA tuples)."""
    if blob[:8] != b"\x89PNG\r\n\x1a\n":
        raise ValueError("not a PNG")
    pos, chunks = 8, []
    while pos < len(blob):
        length = int.from_bytes(blob[pos:pos + 4], "big")
        kind, data = blob[pos + 4:pos + 8], blob[pos + 8:pos + 8 + length]
        crc = int.from_bytes(blob[pos + 8 + length:pos + 12 + length], "big")
        if zlib.crc32(kind + data) & 0xFFFFFFFF != crc:
            raise ValueError("bad CRC in chunk %r" % kind)
        chunks.append((kind, data))
        pos += 12 + length
    if chunks[0][0] != b"IHDR" or chunks[-1][0] != b"IEND":
        raise ValueError("chunks out of order")
    w, h = int.from_bytes(chunks[0][1][0:4], "big"), int.from_bytes(chunks[0][1][4:8], "big")
    if tuple(chunks[0][1][8:13]) != (8, 6, 0, 0, 0):
        raise ValueError("not 8-bit RGBA without interlace")
    raw = zlib.decompress(b"".join(d for k, d in chunks if k == b"IDAT"))
    if len(raw) != h * (1 + 4 * w):
        raise ValueError("image data of the wrong size")
    rows = []
    for y in range(h):
        line = raw[y * (1 + 4 * w):(y + 1) * (1 + 4 * w)]
        if line[0] != 0:
            raise ValueError("filtered rows are not expected here")
        rows.append([tuple(line[1 + 4 * x:5 + 4 * x]) for x in range(w)])
    return w, h, rows


def luminance(palette, pixels):
    return sum(0.299 * palette[p][0] + 0.587 * palette[p][1] + 0.114 * palette[p][2]
               for p in pixels) / len(pixels)


# ---------------------------------------------------------------------------


class GifEncoderTest(unittest.TestCase):
    def roundtrip(self, width, height, pixels, palette):
        w, h, pal, out = read_gif(mp.encode_gif(width, height, pixels, palette))
        self.assertEqual((w, h), (width, height))
        self.assertEqual(pal, [tuple(c) for c in palette])
        self.assertEqual(out, pixels)

    def test_roundtrip(self):
        grey2 = [(0, 0, 0), (255, 255, 255)]
        grey256 = [(i, i, i) for i in range(256)]
        seed = 12345
        noise32, noise256 = [], []
        for _ in range(300 * 200):             # fills the code table many times
            seed = (seed * 1103515245 + 12345) & 0x7FFFFFFF
            noise32.append((seed >> 16) % 32)
            noise256.append((seed >> 8) & 0xFF)
        cases = [
            ("one pixel", 1, 1, [1], grey2),
            ("one colour, long runs", 200, 150, [0] * 30000, mp.PALETTE),
            ("two colours", 17, 5, [(i * 7) % 2 for i in range(85)], grey2),
            ("32 colours of noise", 300, 200, noise32, mp.PALETTE),
            ("256 colours of noise", 300, 200, noise256, grey256),
            ("stripes", 64, 40, [(x // 3 + y) % 32 for y in range(40) for x in range(64)], mp.PALETTE),
        ]
        for label, w, h, pixels, palette in cases:
            with self.subTest(label):
                self.roundtrip(w, h, pixels, palette)

    def test_bad_input_is_refused(self):
        cases = [
            ("no pixels", 0, 0, [], mp.PALETTE),
            ("short pixel list", 4, 4, [0] * 15, mp.PALETTE),
            ("pixel outside palette", 2, 1, [0, 32], mp.PALETTE),
            ("palette not a power of two", 1, 1, [0], mp.PALETTE[:20]),
        ]
        for label, w, h, pixels, palette in cases:
            with self.subTest(label):
                with self.assertRaises(ValueError):
                    mp.encode_gif(w, h, pixels, palette)


class PicturesTest(unittest.TestCase):
    @classmethod
    def setUpClass(cls):
        cls.dir = tempfile.mkdtemp()
        mp.write_pictures(cls.dir)
        with open(os.path.join(cls.dir, "liste.txt"), "rb") as f:
            cls.list_bytes = f.read()
        cls.names = cls.list_bytes.decode("ascii").split("\r\n")[:-1]
        cls.images = []
        for name in cls.names:
            with open(os.path.join(cls.dir, name + ".gif"), "rb") as f:
                cls.images.append(read_gif(f.read()))

    @classmethod
    def tearDownClass(cls):
        shutil.rmtree(cls.dir)

    def test_list_names_eleven_pictures(self):
        self.assertTrue(self.list_bytes.endswith(b"\r\n"))
        self.assertNotIn(b"\n", self.list_bytes.replace(b"\r\n", b""))
        self.assertEqual(len(self.names), 11)
        self.assertEqual(len(set(self.names)), 11)
        for name in self.names:
            self.assertRegex(name, r"^[a-z_]+$")
        self.assertEqual(sorted([n + ".gif" for n in self.names] + ["liste.txt"]),
                         sorted(os.listdir(self.dir)))

    def test_sizes(self):
        for name, (w, h, _, _) in zip(self.names, self.images):
            with self.subTest(name):
                self.assertTrue(48 <= w <= 64 and 32 <= h <= 40, (w, h))

    def test_paired_pictures_differ(self):
        # Released / pressed, paddle off / on, pause / play: the program tells
        # a control's state by the picture it shows.
        for a, b in [(0, 1), (2, 3), (4, 5), (6, 7), (8, 9)]:
            with self.subTest(pair=(self.names[a], self.names[b])):
                pa, pb = self.images[a][3], self.images[b][3]
                self.assertEqual(len(pa), len(pb))
                changed = sum(1 for x, y in zip(pa, pb) if x != y)
                self.assertGreater(changed, len(pa) // 10)

    def test_pressed_is_darker(self):
        for released, pressed in [(0, 1), (2, 3), (4, 5)]:
            with self.subTest(self.names[pressed]):
                w, h, pal, px = self.images[pressed]
                _, _, pal0, px0 = self.images[released]
                self.assertLess(luminance(pal, px), luminance(pal0, px0))

    def test_paddle_on_is_green_and_off_is_not(self):
        def greenish(image):
            _, _, pal, px = image
            return sum(1 for p in px if pal[p][1] > pal[p][0] + 40 and pal[p][1] > pal[p][2] + 40)
        off, on = self.images[6], self.images[7]
        self.assertGreater(greenish(on), len(on[3]) // 2)
        self.assertEqual(greenish(off), 0)

    def test_output_does_not_change(self):
        other = tempfile.mkdtemp()
        try:
            mp.write_pictures(other)
            for name in os.listdir(self.dir):
                with open(os.path.join(self.dir, name), "rb") as a, \
                        open(os.path.join(other, name), "rb") as b:
                    self.assertEqual(a.read(), b.read(), name)
        finally:
            shutil.rmtree(other)

    def test_shipped_pictures_are_up_to_date(self):
        img = os.path.join(REPO_DATA, "img")
        for name in self.names + ["liste"]:
            file = name + (".txt" if name == "liste" else ".gif")
            with self.subTest(file):
                with open(os.path.join(self.dir, file), "rb") as a, \
                        open(os.path.join(img, file), "rb") as b:
                    self.assertEqual(a.read(), b.read())


class IconTest(unittest.TestCase):
    """The launcher's icon: 64 x 64, a disc on a clear ground, with the
    reticle's red, the star's yellow and the arrow's green."""

    @classmethod
    def setUpClass(cls):
        cls.dir = tempfile.mkdtemp()
        cls.path = os.path.join(cls.dir, "orvanel.png")
        mp.write_icon(cls.path)
        with open(cls.path, "rb") as f:
            cls.image = read_png(f.read())

    @classmethod
    def tearDownClass(cls):
        shutil.rmtree(cls.dir)

    def test_a_disc_on_a_clear_ground(self):
        w, h, rows = self.image
        self.assertEqual((w, h), (64, 64))
        for x, y in ((0, 0), (63, 0), (0, 63), (63, 63)):
            self.assertEqual(rows[y][x][3], 0, (x, y))
        for x, y in ((32, 1), (1, 32), (32, 32), (62, 32)):
            self.assertEqual(rows[y][x][3], 255, (x, y))

    def test_it_shows_the_reticle_the_star_and_the_arrow(self):
        _, _, rows = self.image
        colours = {px[:3] for row in rows for px in row if px[3]}
        for name in ("red", "yellow", "green", "green_dark"):
            self.assertIn(mp.PALETTE[mp.C[name]], colours, name)

    def test_the_shipped_icon_is_up_to_date(self):
        with open(SHIPPED_ICON, "rb") as f:
            self.assertEqual(read_png(f.read()), self.image)


class DefaultsTest(unittest.TestCase):
    @classmethod
    def setUpClass(cls):
        cls.dir = tempfile.mkdtemp()
        cls.written = md.write_defaults(cls.dir)

    @classmethod
    def tearDownClass(cls):
        shutil.rmtree(cls.dir)

    def lines(self, folder, name):
        with open(os.path.join(folder, name), "rb") as f:
            raw = f.read()
        self.assertTrue(raw.endswith(b"\r\n"), name)
        self.assertNotIn(b"\n", raw.replace(b"\r\n", b""), name)
        return raw.decode("ascii").split("\r\n")[:-1]

    def test_files_and_line_counts(self):
        expected = {
            "vitessemanu.ini": 6, "vitessealtaz.ini": 10, "vitesseequa.ini": 10,
            "inversion.ini": 2, "backlash.ini": 2, "config_equa.ini": 4,
            "config_altaz.ini": 8, "pointagealtaz.ini": 2, "suivialtaz.ini": 3,
            "pointagequa.ini": 2, "inversion_point.ini": 2,
        }
        self.assertEqual(sorted(os.listdir(self.dir)), sorted(expected))
        for name, count in expected.items():
            with self.subTest(name):
                self.assertEqual(len(self.lines(self.dir, name)), count)

    def test_values(self):
        speeds = ["400000", "200000", "100000", "50000", "25000"]
        expected = {
            "vitessemanu.ini": ["1118078", "463138", "70434"] * 2,
            "vitessealtaz.ini": speeds * 2,
            "vitesseequa.ini": speeds * 2,
            "inversion.ini": ["Faux", "Faux"],
            "backlash.ini": ["0", "0"],
            "config_equa.ini": ["200", "200", "100", "100"],
            "config_altaz.ini": ["2", "20", "48", "50", "200", "200", "100000", "100000"],
            "inversion_point.ini": ["Faux", "Faux"],
        }
        for name, lines in expected.items():
            with self.subTest(name):
                self.assertEqual(self.lines(self.dir, name), lines)

    def test_levels_and_delays_are_usable(self):
        for name in ("pointagealtaz.ini", "pointagequa.ini"):
            with self.subTest(name):
                for v in self.lines(self.dir, name):
                    self.assertIn(int(v), range(1, 6))
        increment, delay_az, delay_alt = (int(v) for v in self.lines(self.dir, "suivialtaz.ini"))
        self.assertGreater(increment, 0)
        self.assertEqual(1000 % increment, 0)
        self.assertGreater(delay_az, 0)
        self.assertGreater(delay_alt, 0)

    def test_shipped_defaults_are_up_to_date(self):
        for name in self.written:
            with self.subTest(name):
                self.assertEqual(self.lines(REPO_DATA, name), self.lines(self.dir, name))


if __name__ == "__main__":
    unittest.main()
