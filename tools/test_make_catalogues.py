"""Tests of the catalogue generator: its arithmetic, its record writer, and
its readers of the deep-sky and star tables on small tables made here.

Run from the repository root:
    python3 -m unittest discover -s tools -p 'test_*.py'
No network and no package: the sources are stood in for by fixtures.
"""

import json
import os
import shutil
import sqlite3
import struct
import sys
import tempfile
import unittest

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))

import make_catalogues as mc  # noqa: E402


def hms_to_deg(h, m, s):
    return (h + m / 60.0 + s / 3600.0) * 15.0


def dms_to_deg(sign, d, m, s):
    return sign * (d + m / 60.0 + s / 3600.0)


class PrecessionTest(unittest.TestCase):
    def test_theta_persei_worked_example(self):
        # Meeus, Astronomical Algorithms, example 21.b: theta Persei from
        # J2000.0 to 2028 Nov 13.19 TD, proper motion included.
        jd = 2462088.69
        years = (jd - mc.J2000_JD) / 365.25
        ra0 = hms_to_deg(2, 44, 11.986)
        dec0 = dms_to_deg(+1, 49, 13, 42.48)
        ra, dec = mc.apply_proper_motion(ra0, dec0, 0.03425, -0.0895, years)
        ra, dec = mc.precess(ra, dec, mc.J2000_JD, jd)
        expected_ra = hms_to_deg(2, 46, 11.331)
        expected_dec = dms_to_deg(+1, 49, 20, 54.54)
        # 0.002 s of time and 0.02 arc-second.
        self.assertAlmostEqual(ra, expected_ra, delta=0.002 * 15 / 3600)
        self.assertAlmostEqual(dec, expected_dec, delta=0.02 / 3600)

    def test_same_epoch_changes_nothing(self):
        ra, dec = mc.precess(123.456, -45.678, mc.J2000_JD, mc.J2000_JD)
        self.assertAlmostEqual(ra, 123.456, places=9)
        self.assertAlmostEqual(dec, -45.678, places=9)

    def test_there_and_back(self):
        jd = mc.julian_epoch_to_jd(2027.0)
        for ra0, dec0 in [(0.0, 0.0), (10.68, 41.27), (37.95, 89.26),
                          (359.9, -60.0), (279.23, 38.78)]:
            ra, dec = mc.precess(*mc.precess(ra0, dec0, mc.J2000_JD, jd),
                                 jd, mc.J2000_JD)
            self.assertAlmostEqual((ra - ra0 + 180) % 360 - 180, 0, places=7)
            self.assertAlmostEqual(dec, dec0, places=7)

    def test_julian_epochs(self):
        cases = [(2000.0, 2451545.0), (2027.0, 2461406.75),
                 (2050.0, 2469807.5)]
        for epoch, jd in cases:
            with self.subTest(epoch=epoch):
                self.assertAlmostEqual(mc.julian_epoch_to_jd(epoch), jd, places=6)

    def test_result_right_ascension_stays_in_range(self):
        # Just west of 0 h: 27 years of precession carry it past 24 h.
        ra, _ = mc.to_epoch(359.99, 10.0, 2027.0)
        self.assertGreaterEqual(ra, 0.0)
        self.assertLess(ra, 360.0)
        self.assertLess(ra, 1.0)


class TenthsConversionTest(unittest.TestCase):
    def test_right_ascension(self):
        # (degrees, tenths of a minute of time)
        cases = [
            (0.0, 0),
            (15.0, 600),                          # 1 h
            (hms_to_deg(2, 46, 11.331), 1662),    # 2 h 46.19 min
            (hms_to_deg(0, 0, 2.9), 0),           # 0.048 min rounds down
            (hms_to_deg(0, 0, 3.0), 1),           # exactly half a tenth rounds up
            (hms_to_deg(23, 59, 57.0), 0),        # rounds to 24 h: wraps to 0
            (hms_to_deg(23, 59, 56.9), 14399),    # last tenth of the day
            (360.0, 0),
            (-15.0, 13800),                       # a negative angle is 23 h
        ]
        for deg, tenths in cases:
            with self.subTest(deg=deg):
                self.assertEqual(mc.ra_to_tenths(deg), tenths)

    def test_declination(self):
        # (degrees, tenths of a minute of arc)
        cases = [
            (0.0, 0),
            (1.0, 600),
            (-1.0, -600),
            (90.0, 54000),
            (-90.0, -54000),
            (dms_to_deg(+1, 49, 20, 54.54), 29609),   # +49 deg 20.909 min
            (dms_to_deg(-1, 16, 42, 58.0), -10030),   # Sirius-like, south
            (dms_to_deg(-1, 0, 0, 2.0), 0),           # tiny south value: 0
            (dms_to_deg(-1, 0, 0, 3.0), -1),          # half a tenth, away from 0
            (dms_to_deg(+1, 0, 0, 3.0), 1),
            (dms_to_deg(-1, 0, 30, 0.0), -300),
        ]
        for deg, tenths in cases:
            with self.subTest(deg=deg):
                self.assertEqual(mc.dec_to_tenths(deg), tenths)


class RecordTextTest(unittest.TestCase):
    def test_catalogue_records(self):
        cases = [
            (("M 31", "GL", 442, 24849), '"M 31","GL",442,24849\r\n'),
            (("NGC 6523", "DN", 10849, -14626), '"NGC 6523","DN",10849,-14626\r\n'),
            (("Polaris", "UMi", 1874, 53625), '"Polaris","UMi",1874,53625\r\n'),
            (("DELTA", "Cep", 0, -1), '"DELTA","Cep",0,-1\r\n'),
            (("Name, with comma", "ST", 14399, 0), '"Name, with comma","ST",14399,0\r\n'),
        ]
        for args, text in cases:
            with self.subTest(args=args):
                self.assertEqual(mc.catalogue_record(*args), text)

    def test_constellation_and_line_records(self):
        self.assertEqual(mc.constellation_record("CVn", "Canes Venatici"),
                         '"CVn","Canes Venatici"\r\n')
        self.assertEqual(mc.line_record(0, 200), "0,200\r\n")

    def test_text_with_quote_is_refused(self):
        with self.assertRaises(ValueError):
            mc.catalogue_record('say "hi"', "GL", 0, 0)

    def test_accents_are_folded_to_ascii(self):
        cases = [("Boötes", "Bootes"), ("Andromeda", "Andromeda"),
                 ("织女一", "织女一")]
        for text, folded in cases:
            with self.subTest(text=text):
                self.assertEqual(mc.ascii_fold(text), folded)


class TypeMappingTest(unittest.TestCase):
    def test_openngc_types(self):
        cases = [
            (3, "OC"), (4, "GC"), (5, "DN"), (6, "PN"), (7, "DN"),
            (8, "GL"), (13, "ST"), (14, "GL"), (17, "ST"),
            (0, None),      # a single star
            (255, None),    # unclassified: a duplicate, or nothing
        ]
        for source, code in cases:
            with self.subTest(source=source):
                self.assertEqual(mc.openngc_code(source), code)

    def test_an_unknown_type_is_an_error(self):
        for source in (1, 2, 9, None):
            with self.subTest(source=source):
                with self.assertRaises(ValueError):
                    mc.openngc_code(source)

    def test_every_mapped_code_is_a_program_code(self):
        for code in mc.OPENNGC_TYPE_TO_CODE.values():
            self.assertIn(code, mc.VALID_TYPE_CODES)


# ---------------------------------------------------------------------------
# A small OpenNGC table, laid out as the planetarium package ships it.

OPENNGC_SCHEMA = """
CREATE TABLE cat(hash, oid, type INT, ra REAL, dec REAL, magnitude REAL,
  name TEXT, long_name TEXT, catalog_identifier TEXT, major_axis REAL,
  minor_axis REAL, position_angle REAL, flux REAL, trixel INT,
  res_1, res_2, res_3, res_4, catalog INT);
CREATE TABLE catalogs (id INTEGER PRIMARY KEY, name TEXT NOT NULL,
  precedence REAL NOT NULL, author TEXT, source TEXT, description TEXT,
  mut INTEGER, version INTEGER, enabled INTEGER, color TEXT, license TEXT,
  maintainer TEXT, timestamp DATETIME);
"""

# (type, ra, dec, magnitude, name, long_name, identifier), J2000 degrees.
NGC281 = (5, 13.1875, 56.6333, 7.4, "NGC 281", "Pacman Nebula", "NGC0281")
OPENNGC_ROWS = [
    NGC281,
    # A duplicate designation: unclassified, at the place of the object it names.
    (255, NGC281[1], NGC281[2], None, "IC 11", "", "IC0011"),
    # Unclassified and alone: no object there.
    (255, 10.95, 56.02, None, "IC 45", "", "IC0045"),
    # A single star.
    (0, 305.5570, 40.2567, 2.9, "IC 1318", "gam Cyg", "IC1318"),
    # A galaxy that is also a Messier object, named among its other names,
    # and a component of it that the files leave out.
    (8, 226.6229, 55.7632, 10.74, "NGC 5866", "PGC 53933, UGC 9723, M 102", "NGC5866"),
    (8, 228.0301, 55.7851, 15.7, "NGC 5866B", "PGC 54267", "NGC5866B"),
    # A number given only as two components.
    (8, 21.7904, -22.7247, 15.0, "NGC 554A", "PGC 5413", "NGC0554A"),
    (8, 21.7898, -22.7257, 14.76, "NGC 554B", "", "NGC0554B"),
    # Messier objects: named by their Messier number, their NGC number as
    # identifier; two without any NGC or IC number; one left unclassified.
    (7, 83.6332, 22.0145, 8.4, "M 1", "NGC 1952", "NGC1952"),
    (17, 185.5521, 58.0831, 9.7, "M 40", "Winnecke 4", "M 40"),
    (3, 56.85, 24.1167, 1.6, "M 45", "Pleiades", "M 45"),
    (255, 314.7332, -12.6355, 8.9, "M 73", "NGC 6994", "NGC6994"),
    (4, 250.4235, 36.4613, 5.8, "M 13", "NGC 6205", "NGC6205"),
]


def make_openngc(folder, rows, release=mc.OPENNGC_RELEASE):
    path = os.path.join(folder, "OpenNGC.kscat")
    con = sqlite3.connect(path)
    con.executescript(OPENNGC_SCHEMA)
    con.execute("INSERT INTO catalogs (id, name, precedence, source, license) VALUES "
                "(1, 'OpenNGC', 1, ?, 'CC-BY-SA-4.0')",
                ("<a href='https://example.invalid/releases/tag/%s'>release</a>" % release,))
    for i, r in enumerate(rows):
        con.execute("INSERT INTO cat (hash, oid, type, ra, dec, magnitude, name, long_name, "
                    "catalog_identifier, catalog) VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?, 1)",
                    (b"h%d" % i, b"h%d" % i) + r)
    con.commit()
    con.close()
    return path


def read_cat(path):
    """A generated file as (name, code, ra, dec) tuples."""
    with open(path, "rb") as f:
        text = f.read().decode("ascii")
    records = []
    for line in text.split("\r\n")[:-1]:
        name, code, ra, dec = line.split(",")
        records.append((name.strip('"'), code.strip('"'), int(ra), int(dec)))
    return records


def tenths_at(ra, dec, epoch=2027.0):
    ra, dec = mc.to_epoch(ra, dec, epoch)
    return mc.ra_to_tenths(ra), mc.dec_to_tenths(dec)


class DeepSkyTest(unittest.TestCase):
    @classmethod
    def setUpClass(cls):
        cls.dir = tempfile.mkdtemp()
        cls.table = make_openngc(cls.dir, OPENNGC_ROWS)
        cls.out = os.path.join(cls.dir, "out")
        os.makedirs(cls.out)
        rows = mc.read_openngc(cls.table)
        cls.counts = mc.generate_deep_sky(rows, cls.out, 2027.0, messier_count=0)
        cls.files = {name: read_cat(os.path.join(cls.out, name)) for name in cls.counts}
        cls.by_name = {r[0]: r for records in cls.files.values() for r in records}

    @classmethod
    def tearDownClass(cls):
        shutil.rmtree(cls.dir)

    def test_files_and_what_they_hold(self):
        names = lambda f: [r[0] for r in self.files[f]]
        self.assertEqual(sorted(self.counts), sorted(["messier.cat", "ic.cat"] +
                                                    ["ngc%d.cat" % i for i in range(8)]))
        self.assertEqual(names("messier.cat"), ["M 1", "M 13", "M 40", "M 45", "M 73", "M 102"])
        self.assertEqual(names("ngc0.cat"), ["NGC 281", "NGC 554"])
        self.assertEqual(names("ngc1.cat"), ["NGC 1952"])
        self.assertEqual(names("ngc5.cat"), ["NGC 5866"])
        self.assertEqual(names("ngc6.cat"), ["NGC 6205", "NGC 6994"])
        self.assertEqual(names("ngc7.cat"), [])
        # The duplicate stays; the row that names no object and the star go.
        self.assertEqual(names("ic.cat"), ["IC 11"])

    def test_types(self):
        cases = [("M 1", "DN"), ("NGC 1952", "DN"), ("M 13", "GC"), ("M 40", "ST"),
                 ("M 45", "OC"), ("M 73", "ST"), ("NGC 6994", "ST"), ("M 102", "GL"),
                 ("NGC 281", "DN"), ("IC 11", "DN"), ("NGC 554", "GL")]
        for name, code in cases:
            with self.subTest(name):
                self.assertEqual(self.by_name[name][1], code)

    def test_one_object_one_place(self):
        pairs = [("M 1", "NGC 1952"), ("M 13", "NGC 6205"), ("M 73", "NGC 6994"),
                 ("M 102", "NGC 5866"), ("IC 11", "NGC 281")]
        for a, b in pairs:
            with self.subTest(pair=(a, b)):
                self.assertEqual(self.by_name[a][2:], self.by_name[b][2:])

    def test_places_are_the_j2000_places_at_the_equinox_of_2027(self):
        cases = [("NGC 5866", 226.6229, 55.7632), ("M 45", 56.85, 24.1167),
                 ("NGC 554", 21.7904, -22.7247), ("IC 11", NGC281[1], NGC281[2])]
        for name, ra, dec in cases:
            with self.subTest(name):
                self.assertEqual(self.by_name[name][2:], tenths_at(ra, dec))
        # 27 years of precession move M 45 by almost two minutes of right
        # ascension: the records are not the J2000 places.
        self.assertNotEqual(self.by_name["M 45"][2:], (mc.ra_to_tenths(56.85), mc.dec_to_tenths(24.1167)))

    def test_a_missing_messier_object_is_an_error(self):
        rows = mc.read_openngc(self.table)
        with self.assertRaisesRegex(ValueError, "M 2, M 3"):
            mc.deep_sky_objects(rows, messier_count=3)

    def test_another_release_is_refused(self):
        folder = tempfile.mkdtemp()
        try:
            path = make_openngc(folder, OPENNGC_ROWS[:1], release="v20990101")
            with self.assertRaisesRegex(ValueError, mc.OPENNGC_RELEASE):
                mc.read_openngc(path)
            self.assertEqual(len(mc.read_openngc(path, release=None)), 1)
        finally:
            shutil.rmtree(folder)

    def test_a_row_without_place_is_an_error(self):
        rows = mc.read_openngc(self.table)
        rows[0] = dict(rows[0], ra=None)
        with self.assertRaises(ValueError):
            mc.deep_sky_objects(rows, messier_count=0)


# ---------------------------------------------------------------------------
# A small binary star table and its name table, laid out as the planetarium
# package ships them (written here with struct, independently of the reader).

STAR_FIELDS = [("RA", 4, 5, 1000000), ("Dec", 4, 5, 100000), ("dRA", 4, 5, 10),
               ("dDec", 4, 5, 10), ("parallax", 4, 5, 10), ("HD", 4, 5, 10),
               ("mag", 2, 3, 100), ("bv_index", 2, 3, 100), ("spec_type", 2, 7, 0),
               ("flags", 1, 0, 0), ("unused", 1, 0, 100)]
NAME_FIELDS = [("bayerName", 8, 8, 0), ("longName", 32, 8, 0)]
PACK = {(4, 5): "<i", (2, 3): "<h", (1, 0): "<B"}


def write_star_table(path, text, fields, regions):
    """regions: lists of records (tuples of raw field values), one list per
    index entry."""
    head = text.encode("ascii").ljust(124, b"\0") + b"SK" + bytes([1])
    head += struct.pack("<H", len(fields))
    for name, size, kind, scale in fields:
        head += name.encode("ascii").ljust(10, b"\0") + bytes([size, kind]) + struct.pack("<i", scale)
    head += struct.pack("<I", len(regions))
    record_size = sum(f[1] for f in fields)
    offset = len(head) + 12 * len(regions) + 5      # a few spare bytes before the records
    index = b""
    body = b""
    for n, records in enumerate(regions):
        index += struct.pack("<III", n * 7, offset + len(body), len(records))
        for values in records:
            for (name, size, kind, _), v in zip(fields, values):
                if kind in (7, 8):
                    body += v.encode("latin-1").ljust(size, b"\0")
                else:
                    body += struct.pack(PACK[(size, kind)], v)
    assert all(len(r) == len(fields) for region in regions for r in region)
    with open(path, "wb") as f:
        f.write(head + index + b"\x00" * 5 + body)
    return record_size


def star_record(ra_hours, dec_deg, pm_ra_mas, pm_dec_mas, mag):
    return (round(ra_hours * 1e6), round(dec_deg * 1e5), round(pm_ra_mas * 10),
            round(pm_dec_mas * 10), 7420, 128620, round(mag * 100), 71, "G2", 1, 0)


def at_table_epoch(ra_deg, dec_deg, pm_ra_mas, pm_dec_mas):
    """The table's place (J1991.25) of a star whose J2000 place is given."""
    return mc.move_by_proper_motion(ra_deg, dec_deg, pm_ra_mas, pm_dec_mas, -8.75)


# Two fast stars 20" apart, told apart by their magnitudes (as alpha Cen A
# and B are), and a slow one; J2000 places in degrees, motions in mas/yr.
FAST_A = (219.9020, -60.8340, -3678.2, 481.8, -0.01)
FAST_B = (219.8964, -60.8375, -3600.3, 952.1, 1.35)
SLOW = (279.2347, 38.7837, 201.0, 287.5, 0.03)


class StarTableTest(unittest.TestCase):
    @classmethod
    def setUpClass(cls):
        cls.dir = tempfile.mkdtemp()
        cls.stars_path = os.path.join(cls.dir, "namedstars.dat")
        cls.names_path = os.path.join(cls.dir, "starnames.dat")
        records = []
        for ra, dec, pmra, pmdec, mag in (FAST_A, FAST_B, SLOW):
            ra0, dec0 = at_table_epoch(ra, dec, pmra, pmdec)
            records.append(star_record(ra0 / 15.0, dec0, pmra, pmdec, mag))
        write_star_table(cls.stars_path, "Star Data v1.0. A test table.", STAR_FIELDS,
                         [records[:2], [], records[2:]])
        write_star_table(cls.names_path, "Star Name Data v1.0.", NAME_FIELDS,
                         [[("alp1Cen", "Rigil Kentaurus"), ("alp2Cen", ""), ("alp Lyr", "Vega")]])

    @classmethod
    def tearDownClass(cls):
        shutil.rmtree(cls.dir)

    def motions(self):
        _, fields, records = mc.read_star_table(self.stars_path)
        _, _, names = mc.read_star_table(self.names_path)
        return mc.StarMotions(mc.star_motion_table(fields, records, names))

    def test_reader(self):
        header, fields, records = mc.read_star_table(self.stars_path)
        self.assertEqual(header, "Star Data v1.0. A test table.")
        self.assertEqual(fields, STAR_FIELDS)
        self.assertEqual(len(records), 3)
        self.assertEqual(records[1]["dRA"], -36003)
        self.assertEqual(records[1]["mag"], 135)
        self.assertEqual(records[1]["spec_type"], "G2")
        _, _, names = mc.read_star_table(self.names_path)
        self.assertEqual(names[0], {"bayerName": "alp1Cen", "longName": "Rigil Kentaurus"})

    def test_not_a_star_table(self):
        path = os.path.join(self.dir, "other.dat")
        with open(path, "wb") as f:
            f.write(b"x" * 200)
        with self.assertRaises(ValueError):
            mc.read_star_table(path)

    def test_table_places_are_brought_to_j2000(self):
        stars = self.motions().stars
        for star, (ra, dec, pmra, pmdec, mag) in zip(stars, (FAST_A, FAST_B, SLOW)):
            with self.subTest(star["label"]):
                # The table keeps right ascension to a millionth of an hour.
                self.assertLess(mc.separation_arcsec(star["ra"], star["dec"], ra, dec), 0.05)
                self.assertAlmostEqual(star["pm_ra"], pmra)
                self.assertAlmostEqual(star["pm_dec"], pmdec)
                self.assertAlmostEqual(star["mag"], mag)
        self.assertEqual(stars[0]["label"], "alp1Cen / Rigil Kentaurus")
        self.assertEqual(stars[1]["label"], "alp2Cen")

    def test_matching_by_place_and_magnitude(self):
        m = self.motions()
        cases = [
            ("A", FAST_A[0], FAST_A[1], 0.1, "alp1Cen / Rigil Kentaurus"),
            ("B, between the two", (FAST_A[0] + FAST_B[0]) / 2, (FAST_A[1] + FAST_B[1]) / 2, 1.3, "alp2Cen"),
            ("slow star, 30\" off", SLOW[0], SLOW[1] + 30 / 3600.0, 0.5, "alp Lyr / Vega"),
            ("too far", SLOW[0], SLOW[1] + 70 / 3600.0, 0.03, None),
            ("magnitude too far apart", SLOW[0], SLOW[1], 1.5, None),
        ]
        for label, ra, dec, mag, expected in cases:
            with self.subTest(label):
                star = m.match(ra, dec, mag)
                self.assertEqual(star["label"] if star else None, expected)

    def test_proper_motion_comes_before_precession(self):
        # A star at +60 deg moving 3.6"/yr east and 1.8"/yr south: in 27
        # years 97.2" along the sky east, that is 194.4" (0.054 deg) of right
        # ascension at cos 60 = 0.5, and 48.6" south.
        moved = mc.move_by_proper_motion(100.0, 60.0, 3600.0, -1800.0, 27.0)
        self.assertAlmostEqual(moved[0], 100.054, places=9)
        self.assertAlmostEqual(moved[1], 60.0 - 48.6 / 3600.0, places=9)
        m = self.motions()
        ra, dec, pmra, pmdec, mag = FAST_A
        got = m.place(ra, dec, mag, 2027.0, "A")
        expected = mc.to_epoch(*mc.move_by_proper_motion(ra, dec, pmra, pmdec, 27.0), epoch=2027.0)
        self.assertLess(mc.separation_arcsec(*got, *expected), 0.001)
        # About 100" from where the place without its motion would be.
        still = mc.to_epoch(ra, dec, 2027.0)
        self.assertAlmostEqual(mc.separation_arcsec(*got, *still), 27 * 3.7094, delta=0.5)
        self.assertEqual(m.unmatched, [])

    def test_bright_stars_are_moved_and_the_unmatched_listed(self):
        # A d3-celestial folder with three stars: two in the table, one not.
        pkg_dir = os.path.join(self.dir, "d3")
        os.makedirs(os.path.join(pkg_dir, "data"), exist_ok=True)
        features = [
            {"id": 71683, "properties": {"mag": -0.01},
             "geometry": {"coordinates": [FAST_A[0] - 360, FAST_A[1]]}},
            {"id": 91262, "properties": {"mag": 0.03},
             "geometry": {"coordinates": [SLOW[0] - 360, SLOW[1]]}},
            {"id": 30438, "properties": {"mag": -0.62},
             "geometry": {"coordinates": [95.9880, -52.6957]}},
        ]
        names = {"71683": {"name": "Rigil Kentaurus", "c": "Cen"},
                 "91262": {"name": "Vega", "c": "Lyr"},
                 "30438": {"name": "Canopus", "c": "Car"}}
        with open(os.path.join(pkg_dir, "data", "stars.6.json"), "w") as f:
            json.dump({"features": features}, f)
        with open(os.path.join(pkg_dir, "data", "starnames.json"), "w") as f:
            json.dump(names, f)
        m = self.motions()
        rows = mc.build_bright_stars(mc.Package(pkg_dir), 2027.0, limit=3, motions=m)
        self.assertEqual([r["name"] for r in rows], ["Canopus", "Rigil Kentaurus", "Vega"])
        self.assertEqual([u[0] for u in m.unmatched], ["5magstar.cat Canopus"])
        by_name = {r["name"]: r for r in rows}
        ra, dec, pmra, pmdec, _ = FAST_A
        expected = mc.to_epoch(*mc.move_by_proper_motion(ra, dec, pmra, pmdec, 27.0), epoch=2027.0)
        self.assertLess(mc.separation_arcsec(by_name["Rigil Kentaurus"]["ra"],
                                             by_name["Rigil Kentaurus"]["dec"], *expected), 0.001)
        canopus = mc.to_epoch(95.9880, -52.6957, 2027.0)
        self.assertLess(mc.separation_arcsec(by_name["Canopus"]["ra"], by_name["Canopus"]["dec"],
                                             *canopus), 0.001)


class StarNamesTest(unittest.TestCase):
    def test_greek_words(self):
        cases = [("α", "ALPHA"), ("α1", "ALPHA"), ("θ2", "THETA"),
                 ("υ", "UPSILON"), ("ο", "OMICRON"), ("b", None),
                 ("", None), (None, None)]
        for bayer, word in cases:
            with self.subTest(bayer=bayer):
                self.assertEqual(mc.greek_word(bayer), word)

    def test_bayer_designations(self):
        cases = [(("ε", "Cen"), "Epsilon Cen"), (("α2", "Lib"), "Alpha2 Lib"),
                 (("b", "Vel"), "b Vel")]
        for args, text in cases:
            with self.subTest(args=args):
                self.assertEqual(mc.bayer_designation(*args), text)


class SubsetTest(unittest.TestCase):
    @staticmethod
    def obj(number, code, mag):
        return {"number": number, "code": code, "mag": mag}

    def test_small_file_is_kept_whole_in_number_order(self):
        objs = [self.obj(3, "GL", 12.0), self.obj(1, "DN", None)]
        self.assertEqual([o["number"] for o in mc.select_objects(objs, 5)], [1, 3])

    def test_large_file_keeps_non_galaxies_then_brightest_galaxies(self):
        objs = [self.obj(1, "GL", 14.0), self.obj(2, "DN", None),
                self.obj(3, "GL", 11.0), self.obj(4, "GL", None),
                self.obj(5, "OC", 15.0), self.obj(6, "GL", 11.0)]
        kept = mc.select_objects(objs, 4)
        self.assertEqual([o["number"] for o in kept], [2, 3, 5, 6])


class FigureTest(unittest.TestCase):
    @staticmethod
    def star(ident, mag):
        return {"id": ident, "mag": mag}

    def test_faint_star_inside_a_chain_is_bridged(self):
        a, x, b, c = (self.star(1, 2.0), self.star(2, 5.0),
                      self.star(3, 2.5), self.star(4, 3.0))
        segments = mc.simplify_figure([[a, x, b, c]], mag_limit=3.5, min_stars=1)
        self.assertEqual(segments, [(1, 3), (3, 4)])

    def test_faint_end_star_is_dropped_with_its_line(self):
        a, b, x = self.star(1, 2.0), self.star(2, 2.5), self.star(3, 5.0)
        segments = mc.simplify_figure([[a, b, x]], mag_limit=3.5, min_stars=1)
        self.assertEqual(segments, [(1, 2)])

    def test_small_faint_figure_keeps_its_brightest_stars(self):
        stars = [self.star(i, 4.0 + i / 10) for i in range(1, 5)]
        segments = mc.simplify_figure([stars], mag_limit=3.5, min_stars=6)
        self.assertEqual(segments, [(1, 2), (2, 3), (3, 4)])


if __name__ == "__main__":
    unittest.main()
