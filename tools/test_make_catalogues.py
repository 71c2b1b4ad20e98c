"""Tests of the catalogue generator's arithmetic and record writer.

Run from the repository root:
    python3 -m unittest discover -s tools -p 'test_*.py'
No network and no package download: only the pure functions are exercised.
"""

import os
import sys
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
    def test_source_types(self):
        cases = [
            ("g", "GL"), ("s", "GL"), ("s0", "GL"), ("sd", "GL"),
            ("i", "GL"), ("e", "GL"), ("gg", "GL"),
            ("oc", "OC"), ("gc", "GC"), ("pn", "PN"),
            ("bn", "DN"), ("en", "DN"), ("rn", "DN"), ("sfr", "DN"),
            ("dn", "DN"), ("snr", "DN"),
            ("pos", "ST"),
            ("xyz", None), ("", None), ("OC", None),
        ]
        for source, code in cases:
            with self.subTest(source=source):
                self.assertEqual(mc.map_type(source), code)

    def test_every_mapped_code_is_a_program_code(self):
        for code in mc.SOURCE_TYPE_TO_CODE.values():
            self.assertIn(code, mc.VALID_TYPE_CODES)


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
