#!/usr/bin/env python3
"""Build Orvanel's catalogue files (data/*.cat) from public sky catalogues.

Three sources are read at generation time; none of them is copied into the
repository, only the generated .cat files are kept:

  * the npm package d3-celestial 0.7.35 (BSD-3-Clause): the stars, their
    names, the constellations and the chart's constellation figures.  It is
    fetched with ``npm pack`` into a temporary folder (or read from
    --package);
  * OpenNGC, the maintained NGC/IC catalogue (CC-BY-SA 4.0), as the SQLite
    table OpenNGC.kscat of Debian's package kstars-data: every deep-sky
    place and type (Messier, NGC and IC);
  * the self-describing binary star tables namedstars.dat and starnames.dat
    of the same package: the proper motions of the stars.

Install the Debian package with ``apt-get install kstars-data``; the files
are read from --kstars-data (default /usr/share/kstars).  Nothing else of
that package is used.

Every position is J2000.0.  A star is first moved by its proper motion from
J2000.0 to --epoch (a Julian epoch, 2027.0 by default); then every place is
precessed to the mean equinox of --epoch with the IAU 1976 angles zeta, z
and theta (Meeus, Astronomical Algorithms, ch. 21).

Files written (record layouts are those the program's readers expect):

  5magstar.cat        "name","Con",ra,dec         121 brightest stars
  messier.cat         "M 31","GL",ra,dec          the 110 Messier objects
  ngc0.cat..ngc7.cat  "NGC 224","GL",ra,dec       NGC 1-999, 1000-1999, ...
  ic.cat              "IC 342","GL",ra,dec        a subset of IC, see below
  const.cat           "And","Andromeda"           the 88 constellations
  vstar.cat           "ALPHA","Lyr",ra,dec        stars of the chart figures
  vconst.cat          a,b                         chart lines, star numbers

ra is in tenths of a minute of time (0..14399, 600 per hour), dec in tenths
of a minute of arc (600 per degree, negative south).  Text fields are always
in double quotes, numbers bare, one record per line, lines end in CR LF.

The output depends only on the sources and the options, so running the
generator twice gives identical files.
"""

import argparse
import io
import json
import math
import os
import re
import shutil
import sqlite3
import struct
import subprocess
import sys
import tarfile
import tempfile
import unicodedata

PACKAGE_NAME = "d3-celestial"
PACKAGE_VERSION = "0.7.35"

# Table sizes of the program's readers.
MAX_BRIGHT_STARS = 121
MAX_OBJECTS = 1031
MAX_CHART_STARS = 201

J2000_JD = 2451545.0
DAYS_PER_JULIAN_YEAR = 365.25

RA_TENTHS_PER_TURN = 24 * 600          # 14400
DEC_TENTHS_PER_DEGREE = 600

LINE_END = "\r\n"

VALID_TYPE_CODES = ("GL", "OC", "GC", "PN", "DN", "ST")

# Object types of the OpenNGC table (its column "type"), as its members
# show them (M 45 an open cluster, M 13 a globular cluster, M 42 a nebula,
# M 57 a planetary nebula, M 1 a supernova remnant, M 31 a galaxy, M 24 a
# star cloud, M 40 a double star), and the program's code.
OPENNGC_TYPE_TO_CODE = {
    3: "OC",        # open cluster
    4: "GC",        # globular cluster
    5: "DN",        # nebula: emission, reflection, HII region, cluster with nebula
    6: "PN",        # planetary nebula
    7: "DN",        # supernova remnant
    8: "GL",        # galaxy
    13: "ST",       # asterism, star cloud, stellar association
    14: "GL",       # galaxy pair, triplet or group: pointed at like a galaxy
    17: "ST",       # double or multiple star
}
OPENNGC_STAR = 0               # a single star: not a deep-sky object, left out
OPENNGC_UNCLASSIFIED = 255     # a duplicate designation, or no object at all
# The one Messier object that OpenNGC leaves unclassified, M 73, is a group
# of four stars.
UNCLASSIFIED_MESSIER_CODE = "ST"
MESSIER_COUNT = 110

# The OpenNGC release the files are made from (the table's own record of it).
OPENNGC_RELEASE = "v20210306"
KSTARS_DATA_DIR = "/usr/share/kstars"
OPENNGC_FILE = "OpenNGC.kscat"
NAMED_STARS_FILE = "namedstars.dat"
STAR_NAMES_FILE = "starnames.dat"

# The star table's places are for the Hipparcos epoch J1991.25; its proper
# motions are milli-arc-seconds a year, in right ascension times cos(dec).
STAR_TABLE_EPOCH = 1991.25
# A star of ours is the table's star within this distance of its J2000
# place whose magnitude is closest to ours, no more than this apart.
STAR_MATCH_RADIUS_ARCSEC = 60.0
STAR_MATCH_MAG_DIFF = 1.0

GREEK_LETTERS = {
    "α": "ALPHA", "β": "BETA", "γ": "GAMMA", "δ": "DELTA",
    "ε": "EPSILON", "ζ": "ZETA", "η": "ETA", "θ": "THETA",
    "ι": "IOTA", "κ": "KAPPA", "λ": "LAMBDA", "μ": "MU",
    "ν": "NU", "ξ": "XI", "ο": "OMICRON", "π": "PI",
    "ρ": "RHO", "σ": "SIGMA", "τ": "TAU", "υ": "UPSILON",
    "φ": "PHI", "χ": "CHI", "ψ": "PSI", "ω": "OMEGA",
}

# Chart figures, most important first: the circumpolar ones, then the bright
# seasonal figures of a mid-northern sky, then the smaller and fainter ones.
# A figure is added whole (after simplification) while the chart's star table
# has room; a figure that no longer fits is skipped and smaller ones may
# still follow.
CHART_CONSTELLATIONS = (
    "UMa", "UMi", "Cas", "Cep", "Dra",
    "Cyg", "Lyr", "Aql", "Her", "Boo", "CrB",
    "Leo", "Gem", "Aur", "Tau", "Ori", "Per", "And", "Peg",
    "CMi", "CMa", "Vir", "Sco", "Sgr", "Oph", "Ser",
    "Ari", "Tri", "Del", "Sge", "Lac", "Cet", "Psc", "Aqr", "Cap",
    "Lib", "Crv", "Hya", "Lep", "Mon", "Com", "CVn", "LMi", "Lyn",
    "Cam", "Cnc", "Vul", "Equ", "Sex", "Crt", "Sct",
)
# Simplification of a figure: stars fainter than this magnitude are left out,
# except that the CHART_MIN_STARS brightest stars of a figure always stay
# (so small faint figures such as the Little Dipper remain whole).
CHART_MAG_LIMIT = 3.5
CHART_MIN_STARS = 6


# ---------------------------------------------------------------------------
# Astronomy
# ---------------------------------------------------------------------------

def julian_epoch_to_jd(epoch):
    """Julian day of the Julian epoch `epoch` (2000.0 is JD 2451545.0)."""
    return J2000_JD + (epoch - 2000.0) * DAYS_PER_JULIAN_YEAR


def precess(ra_deg, dec_deg, jd_from, jd_to):
    """Precess a mean place from the equinox of jd_from to that of jd_to.

    Rigorous method with the IAU 1976 angles (Meeus, formulae 21.2-21.4).
    Angles in degrees; returns (ra, dec) with ra in [0, 360).
    """
    T = (jd_from - J2000_JD) / 36525.0
    t = (jd_to - jd_from) / 36525.0
    zeta = ((2306.2181 + 1.39656 * T - 0.000139 * T * T) * t
            + (0.30188 - 0.000344 * T) * t * t + 0.017998 * t ** 3)
    z = ((2306.2181 + 1.39656 * T - 0.000139 * T * T) * t
         + (1.09468 + 0.000066 * T) * t * t + 0.018203 * t ** 3)
    theta = ((2004.3109 - 0.85330 * T - 0.000217 * T * T) * t
             - (0.42665 + 0.000217 * T) * t * t - 0.041833 * t ** 3)
    zeta = math.radians(zeta / 3600.0)
    z = math.radians(z / 3600.0)
    theta = math.radians(theta / 3600.0)
    a0 = math.radians(ra_deg)
    d0 = math.radians(dec_deg)
    A = math.cos(d0) * math.sin(a0 + zeta)
    B = (math.cos(theta) * math.cos(d0) * math.cos(a0 + zeta)
         - math.sin(theta) * math.sin(d0))
    C = (math.sin(theta) * math.cos(d0) * math.cos(a0 + zeta)
         + math.cos(theta) * math.sin(d0))
    ra = math.degrees(math.atan2(A, B) + z) % 360.0
    # atan2 instead of asin keeps full precision close to the poles.
    dec = math.degrees(math.atan2(C, math.hypot(A, B)))
    return ra, dec


def apply_proper_motion(ra_deg, dec_deg, pm_ra_s, pm_dec_arcsec, years):
    """Move a star by its annual proper motion (RA in seconds of time per
    year, Dec in arc-seconds per year) over `years` years, in degrees."""
    ra = ra_deg + pm_ra_s * 15.0 / 3600.0 * years
    dec = dec_deg + pm_dec_arcsec / 3600.0 * years
    return ra % 360.0, dec


def move_by_proper_motion(ra_deg, dec_deg, pm_ra_mas, pm_dec_mas, years):
    """Move a star by its proper motion as star tables give it: milli-arc-
    seconds a year along the sky, the right ascension's rate already times
    cos(dec).  Degrees in and out."""
    pm_ra_s = pm_ra_mas / 1000.0 / math.cos(math.radians(dec_deg)) / 15.0
    return apply_proper_motion(ra_deg, dec_deg, pm_ra_s, pm_dec_mas / 1000.0, years)


def separation_arcsec(ra1, dec1, ra2, dec2):
    """Angle between two places (degrees), in arc-seconds."""
    ra1, dec1, ra2, dec2 = map(math.radians, (ra1, dec1, ra2, dec2))
    # Haversine: exact for the small angles that matter here.
    h = (math.sin((dec2 - dec1) / 2) ** 2
         + math.cos(dec1) * math.cos(dec2) * math.sin((ra2 - ra1) / 2) ** 2)
    return math.degrees(2 * math.asin(min(1.0, math.sqrt(h)))) * 3600.0


def to_epoch(ra_deg, dec_deg, epoch):
    """A J2000.0 place precessed to the mean equinox of the Julian epoch."""
    return precess(ra_deg, dec_deg, J2000_JD, julian_epoch_to_jd(epoch))


def _round_half_up(x):
    return int(math.floor(x + 0.5))


def ra_to_tenths(ra_deg):
    """Right ascension in degrees -> tenths of a minute of time, 0..14399.

    Rounds to the nearest tenth (halves up); a value that rounds to 24 h
    wraps to 0.
    """
    tenths = _round_half_up((ra_deg % 360.0) * RA_TENTHS_PER_TURN / 360.0)
    return tenths % RA_TENTHS_PER_TURN


def dec_to_tenths(dec_deg):
    """Declination in degrees -> signed tenths of a minute of arc.

    Rounds to the nearest tenth, halves away from zero, so that a southern
    place mirrors the northern one.
    """
    tenths = _round_half_up(abs(dec_deg) * DEC_TENTHS_PER_DEGREE)
    return -tenths if dec_deg < 0 else tenths


def lonlat_to_radec(lon, lat):
    """GeoJSON longitude (-180..180, the package's convention) -> RA 0..360."""
    return lon % 360.0, lat


# ---------------------------------------------------------------------------
# Records
# ---------------------------------------------------------------------------

def quote(text):
    """A text field in double quotes; the readers cannot escape a quote."""
    text = str(text)
    if '"' in text or "\r" in text or "\n" in text:
        raise ValueError("text field cannot hold quotes or line breaks: %r" % text)
    return '"' + text + '"'


def catalogue_record(name, code, ra_tenths, dec_tenths):
    """One record of a catalogue file, 5magstar.cat or vstar.cat."""
    return "%s,%s,%d,%d%s" % (quote(name), quote(code), ra_tenths, dec_tenths,
                              LINE_END)


def constellation_record(abbreviation, full_name):
    """One record of const.cat."""
    return "%s,%s%s" % (quote(abbreviation), quote(full_name), LINE_END)


def line_record(a, b):
    """One record of vconst.cat: the star numbers of a segment's two ends."""
    return "%d,%d%s" % (a, b, LINE_END)


def ascii_fold(text):
    """Drop accents ("Boötes" -> "Bootes") when that leaves plain ASCII;
    otherwise keep the text unchanged (it is then written as UTF-8)."""
    folded = "".join(ch for ch in unicodedata.normalize("NFKD", text)
                     if not unicodedata.combining(ch))
    return folded if all(ord(ch) < 128 for ch in folded) else text


def openngc_code(source_type):
    """Program type code of an OpenNGC object type; None for a single star
    or an unclassified row.  An unknown type is an error: the table has
    changed and the mapping must be looked at again."""
    if source_type in OPENNGC_TYPE_TO_CODE:
        return OPENNGC_TYPE_TO_CODE[source_type]
    if source_type in (OPENNGC_STAR, OPENNGC_UNCLASSIFIED):
        return None
    raise ValueError("unknown OpenNGC object type %r" % (source_type,))


def greek_word(bayer):
    """The Bayer letter as the chart's capital word: "α1" -> "ALPHA".

    The component number is dropped so that the chart still finds the
    letter.  Returns None when the designation is not a Greek letter.
    """
    if not bayer or bayer[0] not in GREEK_LETTERS:
        return None
    return GREEK_LETTERS[bayer[0]]


def bayer_designation(bayer, constellation):
    """Readable ASCII Bayer designation: ("ε", "Cen") -> "Epsilon Cen"."""
    word = greek_word(bayer)
    if word is None:
        return "%s %s" % (bayer, constellation)
    return "%s%s %s" % (word.capitalize(), bayer[1:], constellation)


# ---------------------------------------------------------------------------
# Package access
# ---------------------------------------------------------------------------

class Package:
    """Read access to the JSON files of the d3-celestial package, from its
    .tgz or from an unpacked folder."""

    def __init__(self, path):
        self.path = path
        self._tar = None
        if os.path.isfile(path):
            self._tar = tarfile.open(path, "r:gz")

    def read_text(self, relative):
        if self._tar is not None:
            member = self._tar.extractfile("package/" + relative)
            return io.TextIOWrapper(member, encoding="utf-8").read()
        base = self.path
        if os.path.isdir(os.path.join(base, "package")):
            base = os.path.join(base, "package")
        with open(os.path.join(base, relative), encoding="utf-8") as f:
            return f.read()

    def json(self, relative):
        return json.loads(self.read_text(relative))

    def close(self):
        if self._tar is not None:
            self._tar.close()


def fetch_package(workdir):
    """npm pack the pinned package into workdir; returns the .tgz path."""
    package_ref = "%s@%s" % (PACKAGE_NAME, PACKAGE_VERSION)
    result = subprocess.run(["npm", "pack", package_ref], cwd=workdir, check=True,
                            stdout=subprocess.PIPE, universal_newlines=True)
    name = result.stdout.strip().splitlines()[-1]
    return os.path.join(workdir, name)


# ---------------------------------------------------------------------------
# OpenNGC table
# ---------------------------------------------------------------------------

OPENNGC_COLUMNS = ("type", "ra", "dec", "magnitude", "name", "long_name",
                   "catalog_identifier")


def read_openngc(path, release=OPENNGC_RELEASE):
    """The objects of the OpenNGC table (SQLite table "cat" of the file),
    as dicts of OPENNGC_COLUMNS in identifier order.  Places are J2000
    degrees.  The file is opened read-only; its catalogue record (table
    "catalogs") must name `release` as its source, unless release is None."""
    uri = "file:%s?mode=ro" % os.path.abspath(path).replace("?", "%3F")
    con = sqlite3.connect(uri, uri=True)
    try:
        if release is not None:
            sources = [row[0] or "" for row in
                       con.execute("SELECT source FROM catalogs WHERE name = 'OpenNGC'")]
            if not any(release in source for source in sources):
                raise ValueError("%s: expected OpenNGC release %s, the table gives %r"
                                 % (path, release, sources))
        query = "SELECT %s FROM cat ORDER BY catalog_identifier, name" % ", ".join(OPENNGC_COLUMNS)
        return [dict(zip(OPENNGC_COLUMNS, row)) for row in con.execute(query)]
    finally:
        con.close()


NGC_IC_IDENTIFIER = re.compile(r"(NGC|IC)(\d{4})(.*)")
MESSIER_DESIGNATION = re.compile(r"M\s*(\d+)")


def messier_numbers(row):
    """Messier numbers an OpenNGC row stands for: its name ("M 31"), or a
    designation among its other names ("PGC 53933, UGC 9723, M 102")."""
    numbers = set()
    for text in [row["name"] or ""] + (row["long_name"] or "").split(","):
        m = MESSIER_DESIGNATION.fullmatch(text.strip())
        if m:
            numbers.add(int(m.group(1)))
    return numbers


def deep_sky_objects(rows, messier_count=MESSIER_COUNT):
    """One object per designation, from the OpenNGC rows.

    Returns (numbered, messier): numbered maps ("NGC" or "IC", number) to an
    object {"code", "ra", "dec", "mag"} (J2000 degrees), messier maps a
    Messier number to the object of the same designation, so the Messier
    record and the NGC record of one object are one place.

    - An unclassified row at exactly the place of a classified one is a
      duplicate designation of that object (OpenNGC gives its duplicates the
      place of the object they name): it takes that object's type and
      magnitude.  Other unclassified rows (objects that do not exist) and
      single stars get no code and are left out of the NGC and IC files.
    - A number that OpenNGC lists only as components ("NGC 554A", "NGC
      554B") takes its first component.
    - A Messier object that OpenNGC leaves unclassified (M 73) is a group of
      stars; its NGC record takes that type too.
    """
    by_place = {}
    for row in rows:
        if row["ra"] is None or row["dec"] is None:
            raise ValueError("OpenNGC row %s has no place" % row["name"])
        if openngc_code(row["type"]) is not None:
            by_place.setdefault((row["ra"], row["dec"]), row)

    numbered = {}
    components = {}
    messier = {}
    for row in rows:
        code = openngc_code(row["type"])
        mag = row["magnitude"]
        if code is None and row["type"] == OPENNGC_UNCLASSIFIED:
            twin = by_place.get((row["ra"], row["dec"]))
            if twin is not None:
                code, mag = openngc_code(twin["type"]), twin["magnitude"]
        obj = {"code": code, "ra": row["ra"] % 360.0, "dec": row["dec"], "mag": mag}
        m = NGC_IC_IDENTIFIER.fullmatch(row["catalog_identifier"] or "")
        if m:
            key = (m.group(1), int(m.group(2)))
            if m.group(3):
                components.setdefault(key, obj)
            elif key in numbered:
                raise ValueError("%s %d twice in OpenNGC" % key)
            else:
                numbered[key] = obj
        for number in messier_numbers(row):
            if number in messier:
                raise ValueError("M %d twice in OpenNGC" % number)
            messier[number] = obj
    for key, obj in components.items():
        numbered.setdefault(key, obj)
    missing = [n for n in range(1, messier_count + 1) if n not in messier]
    if missing:
        raise ValueError("OpenNGC has no row for M %s" % ", M ".join(map(str, missing)))
    for obj in messier.values():
        if obj["code"] is None:
            obj["code"] = UNCLASSIFIED_MESSIER_CODE
    return numbered, messier


# ---------------------------------------------------------------------------
# Star table (namedstars.dat, starnames.dat)
# ---------------------------------------------------------------------------

STAR_TABLE_TEXT_SIZE = 124
STAR_TABLE_MARK = b"SK"             # little-endian numbers
STAR_FIELD_SIZE = 16
STAR_FIELD_INTEGERS = {(1, 0): "B", (2, 3): "h", (4, 5): "i"}   # (size, type)
STAR_FIELD_TEXT_TYPES = (7, 8)


def read_star_table(path):
    """Read a self-describing binary star table.

    Layout: a text header of 124 bytes (NUL-padded); the mark "SK"; a
    version byte; the number of fields (16 bits); one descriptor of 16 bytes
    per field (name, 10 bytes NUL-padded; size in bytes; type; scale, 32
    bits); the number of index entries (32 bits); index entries of three
    32-bit numbers (sky region, file offset of its first record, record
    count); then the records, each field after the other.  Numbers are
    little-endian.  Field types: 0 unsigned byte, 3 16-bit and 5 32-bit
    signed integers, 7 and 8 text.

    Returns (header text, [(name, size, type, scale)], records), a record
    being a dict of field name -> raw value (text or integer), in index
    order.
    """
    with open(path, "rb") as f:
        blob = f.read()
    pos = STAR_TABLE_TEXT_SIZE
    if len(blob) < pos + 5 or blob[pos:pos + 2] != STAR_TABLE_MARK:
        raise ValueError("%s: not a star table" % path)
    header = blob[:pos].split(b"\0")[0].decode("ascii", "replace")
    (field_count,) = struct.unpack_from("<H", blob, pos + 3)
    pos += 5
    fields = []
    for _ in range(field_count):
        name = blob[pos:pos + 10].split(b"\0")[0].decode("ascii")
        size, kind = blob[pos + 10], blob[pos + 11]
        (scale,) = struct.unpack_from("<i", blob, pos + 12)
        if (size, kind) not in STAR_FIELD_INTEGERS and kind not in STAR_FIELD_TEXT_TYPES:
            raise ValueError("%s: field %s of unknown type %d (%d bytes)" % (path, name, kind, size))
        fields.append((name, size, kind, scale))
        pos += STAR_FIELD_SIZE
    record_size = sum(f[1] for f in fields)
    (index_count,) = struct.unpack_from("<I", blob, pos)
    pos += 4
    records = []
    for i in range(index_count):
        _region, offset, count = struct.unpack_from("<III", blob, pos + 12 * i)
        if offset + count * record_size > len(blob):
            raise ValueError("%s: records beyond the end of the file" % path)
        for n in range(count):
            at = offset + n * record_size
            record = {}
            for name, size, kind, _scale in fields:
                raw = blob[at:at + size]
                if kind in STAR_FIELD_TEXT_TYPES:
                    record[name] = raw.split(b"\0")[0].decode("latin-1").strip()
                else:
                    (record[name],) = struct.unpack("<" + STAR_FIELD_INTEGERS[(size, kind)], raw)
                at += size
            records.append(record)
    return header, fields, records


def star_motion_table(fields, records, names=None):
    """The stars of a star table with their proper motions: dicts with "ra",
    "dec" (J2000 degrees, moved from the table's epoch by the star's own
    motion), "pm_ra", "pm_dec" (mas a year, right ascension times cos dec),
    "mag" and "label" (the table's name for it, from `names`, records of
    the same table order, else its place)."""
    scale = {name: (s or 1) for name, _size, _kind, s in fields}
    for needed in ("RA", "Dec", "dRA", "dDec", "mag"):
        if needed not in scale:
            raise ValueError("the star table has no field %s" % needed)
    stars = []
    for i, r in enumerate(records):
        ra = r["RA"] / scale["RA"] * 15.0          # hours -> degrees
        dec = r["Dec"] / scale["Dec"]
        pm_ra = r["dRA"] / scale["dRA"]
        pm_dec = r["dDec"] / scale["dDec"]
        ra, dec = move_by_proper_motion(ra, dec, pm_ra, pm_dec, 2000.0 - STAR_TABLE_EPOCH)
        label = ""
        if names is not None and i < len(names):
            label = " / ".join(v for v in (names[i].get("bayerName"), names[i].get("longName")) if v)
        stars.append({"ra": ra, "dec": dec, "pm_ra": pm_ra, "pm_dec": pm_dec,
                      "mag": r["mag"] / scale["mag"],
                      "label": label or "%.4f %+.4f" % (ra, dec)})
    return stars


class StarMotions:
    """Moves our J2000 star places by the proper motion of the matching star
    of the table, and keeps the stars it could not match."""

    def __init__(self, stars):
        self.stars = stars
        self.unmatched = []

    def match(self, ra, dec, mag):
        """The table's star within STAR_MATCH_RADIUS_ARCSEC of (ra, dec)
        whose magnitude is closest to mag (no more than STAR_MATCH_MAG_DIFF
        apart; the nearer one on a tie), or None."""
        best = None
        for star in self.stars:
            if abs(star["dec"] - dec) * 3600.0 > STAR_MATCH_RADIUS_ARCSEC:
                continue
            distance = separation_arcsec(ra, dec, star["ra"], star["dec"])
            dmag = abs(star["mag"] - mag)
            if distance > STAR_MATCH_RADIUS_ARCSEC or dmag > STAR_MATCH_MAG_DIFF:
                continue
            key = (dmag, distance)
            if best is None or key < best[0]:
                best = (key, star)
        return best[1] if best else None

    def nearest(self, ra, dec):
        return min(self.stars, key=lambda s: separation_arcsec(ra, dec, s["ra"], s["dec"]))

    def place(self, ra, dec, mag, epoch, who):
        """A J2000 place at the mean equinox and epoch `epoch`, moved by the
        matching star's proper motion first; `who` names the star in the
        list of unmatched ones."""
        star = self.match(ra, dec, mag)
        if star is None:
            self.unmatched.append((who, ra, dec, mag))
        else:
            ra, dec = move_by_proper_motion(ra, dec, star["pm_ra"], star["pm_dec"],
                                            epoch - 2000.0)
        return to_epoch(ra, dec, epoch)


def star_place(motions, ra, dec, mag, epoch, who):
    """A star's J2000 place at `epoch`: moved by its proper motion when a
    motion table is given, then precessed."""
    if motions is None:
        return to_epoch(ra, dec, epoch)
    return motions.place(ra, dec, mag, epoch, who)


# ---------------------------------------------------------------------------
# Catalogue builders
# ---------------------------------------------------------------------------

def select_objects(objects, limit=MAX_OBJECTS):
    """Keep at most `limit` objects of one file.

    objects: list of dicts with "number", "code", "mag".  When there are too
    many, every object that is not a galaxy is kept and the remaining room
    goes to the brightest galaxies (unknown magnitudes last, ties by
    catalogue number).  The result is in catalogue-number order.
    """
    if len(objects) <= limit:
        return sorted(objects, key=lambda o: o["number"])
    others = [o for o in objects if o["code"] != "GL"]
    galaxies = [o for o in objects if o["code"] == "GL"]
    if len(others) > limit:
        others.sort(key=_brightness_key)
        others = others[:limit]
    galaxies.sort(key=_brightness_key)
    kept = others + galaxies[:limit - len(others)]
    return sorted(kept, key=lambda o: o["number"])


def _brightness_key(obj):
    mag = obj["mag"]
    return (mag is None, mag if mag is not None else 0.0, obj["number"])


def build_messier(messier, epoch):
    """messier.cat rows, in Messier order, from deep_sky_objects()."""
    rows = []
    for number in sorted(messier):
        obj = messier[number]
        ra, dec = to_epoch(obj["ra"], obj["dec"], epoch)
        rows.append({"number": number, "name": "M %d" % number, "code": obj["code"],
                     "ra": ra, "dec": dec, "mag": obj["mag"]})
    return rows


def build_ngc_ic(numbered, epoch):
    """NGC objects grouped by thousands, and the IC objects (all of them,
    before any selection), from deep_sky_objects().  Objects without a
    code (single stars, rows that name no object) are left out."""
    ngc = {}
    ic = []
    for (catalogue, number), obj in sorted(numbered.items()):
        if obj["code"] is None or number < 1:
            continue
        ra, dec = to_epoch(obj["ra"], obj["dec"], epoch)
        row = {"number": number, "name": "%s %d" % (catalogue, number),
               "code": obj["code"], "ra": ra, "dec": dec, "mag": obj["mag"]}
        if catalogue == "NGC":
            if number < 8000:
                ngc.setdefault(number // 1000, []).append(row)
        else:
            ic.append(row)
    return ngc, ic


def build_constellations(pkg):
    """[(abbreviation, full name)] of the 88 constellations, source order.
    The package lists Serpens twice (its two halves); it is kept once."""
    seen = set()
    result = []
    for feature in pkg.json("data/constellations.json")["features"]:
        abbr = feature["id"]
        if abbr in seen:
            continue
        seen.add(abbr)
        result.append((abbr, ascii_fold(feature["properties"]["name"])))
    return result


def star_label(hip, names, constellation):
    """Proper name, else Bayer designation, else Flamsteed number, else HIP."""
    info = names.get(str(hip), {})
    if info.get("name"):
        return ascii_fold(info["name"])
    if info.get("bayer"):
        return bayer_designation(info["bayer"], constellation)
    if info.get("flam"):
        return "%s %s" % (info["flam"], constellation)
    return "HIP %d" % hip


def build_bright_stars(pkg, epoch, limit=MAX_BRIGHT_STARS, motions=None):
    """The `limit` brightest stars, sorted by name for the object list,
    moved by their proper motions when `motions` (a StarMotions) is given."""
    names = pkg.json("data/starnames.json")
    stars = pkg.json("data/stars.6.json")["features"]
    stars.sort(key=lambda f: (f["properties"]["mag"], f["id"]))
    rows = []
    used = set()
    for feature in stars[:limit]:
        hip = feature["id"]
        info = names.get(str(hip), {})
        const = info.get("c")
        if not const:
            raise ValueError("star HIP %d has no constellation" % hip)
        name = star_label(hip, names, const)
        if name in used:
            # The package gives a few names twice; the fainter star then
            # goes by its designation.
            name = bayer_designation(info["bayer"], const) if info.get("bayer") \
                else "HIP %d" % hip
        used.add(name)
        ra, dec = lonlat_to_radec(*feature["geometry"]["coordinates"])
        ra, dec = star_place(motions, ra, dec, feature["properties"]["mag"], epoch,
                             "5magstar.cat %s" % name)
        rows.append({"name": name, "code": const, "ra": ra, "dec": dec,
                     "mag": feature["properties"]["mag"], "hip": hip})
    rows.sort(key=lambda r: (r["name"].lower(), r["name"]))
    return rows


def simplify_figure(polylines, mag_limit=CHART_MAG_LIMIT,
                    min_stars=CHART_MIN_STARS):
    """Reduce one constellation figure to its main stars.

    polylines: lists of star dicts ({"id", "mag", ...}) as the figure draws
    them.  The figure keeps the stars not fainter than
    max(mag_limit, magnitude of its min_stars-th brightest star).  A
    dropped star in the middle of a chain (it has exactly two neighbours in
    the figure) is bridged: its neighbours are joined, so outlines stay
    closed.  Any other dropped star simply takes its lines with it.
    Returns the segments as ordered pairs of star ids, without repeats,
    in drawing order.
    """
    stars = {}
    for line in polylines:
        for s in line:
            stars[s["id"]] = s
    mags = sorted(s["mag"] for s in stars.values())
    limit = max(mag_limit, mags[min(min_stars, len(mags)) - 1])
    neighbours = {}
    for line in polylines:
        for a, b in zip(line, line[1:]):
            if a["id"] != b["id"]:
                neighbours.setdefault(a["id"], set()).add(b["id"])
                neighbours.setdefault(b["id"], set()).add(a["id"])
    segments = []
    seen = set()

    def flush(chain):
        for a, b in zip(chain, chain[1:]):
            key = frozenset((a, b))
            if a != b and key not in seen:
                seen.add(key)
                segments.append((a, b))

    for line in polylines:
        chain = []
        for i, s in enumerate(line):
            if s["mag"] <= limit:
                chain.append(s["id"])
            elif 0 < i < len(line) - 1 and len(neighbours.get(s["id"], ())) == 2:
                continue
            else:
                flush(chain)
                chain = []
        flush(chain)
    return segments


def build_chart(pkg, epoch, order=CHART_CONSTELLATIONS,
                max_stars=MAX_CHART_STARS, motions=None):
    """Chart stars and lines: (stars, pairs of star numbers, figures used);
    the stars moved by their proper motions when `motions` is given."""
    names = pkg.json("data/starnames.json")
    by_position = {}
    for feature in pkg.json("data/stars.8.json")["features"]:
        lon, lat = feature["geometry"]["coordinates"]
        by_position.setdefault((lon, lat), feature)
    figures = {}
    for feature in pkg.json("data/constellations.lines.json")["features"]:
        for line in feature["geometry"]["coordinates"]:
            stars = []
            for lon, lat in line:
                f = by_position.get((lon, lat))
                if f is None:
                    raise ValueError("no star at %r in %s" % ((lon, lat), feature["id"]))
                stars.append({"id": f["id"], "mag": f["properties"]["mag"],
                              "lon": lon, "lat": lat})
            figures.setdefault(feature["id"], []).append(stars)
    positions = {}
    magnitudes = {}
    for lines in figures.values():
        for line in lines:
            for s in line:
                positions[s["id"]] = (s["lon"], s["lat"])
                magnitudes[s["id"]] = s["mag"]

    numbers = {}
    star_rows = []
    pairs = []
    used_figures = []
    for abbr in order:
        segments = simplify_figure(figures[abbr])
        new = []
        for a, b in segments:
            for hip in (a, b):
                if hip not in numbers and hip not in new:
                    new.append(hip)
        if len(numbers) + len(new) > max_stars:
            continue
        used_figures.append(abbr)
        for hip in new:
            numbers[hip] = len(star_rows)
            info = names.get(str(hip), {})
            const = info.get("c") or abbr
            name = greek_word(info.get("bayer")) or info.get("flam") \
                or info.get("bayer") or "HIP %d" % hip
            ra, dec = lonlat_to_radec(*positions[hip])
            ra, dec = star_place(motions, ra, dec, magnitudes[hip], epoch,
                                 "vstar.cat %s %s (HIP %d)" % (name, const, hip))
            star_rows.append({"name": name, "code": const, "ra": ra, "dec": dec})
        for a, b in segments:
            pairs.append((numbers[a], numbers[b]))
    return star_rows, pairs, used_figures


# ---------------------------------------------------------------------------
# Output
# ---------------------------------------------------------------------------

def write_file(path, records):
    text = "".join(records)
    with open(path, "w", encoding="utf-8", newline="") as f:
        f.write(text)


def catalogue_records(rows):
    return [catalogue_record(r["name"], r["code"], ra_to_tenths(r["ra"]),
                             dec_to_tenths(r["dec"])) for r in rows]


def generate_deep_sky(openngc_rows, out_dir, epoch, messier_count=MESSIER_COUNT):
    """Write messier.cat, ngc0.cat .. ngc7.cat and ic.cat into out_dir from
    the OpenNGC rows, which must hold M 1 to M `messier_count`; returns
    {file: count}."""
    counts = {}
    numbered, messier_objects = deep_sky_objects(openngc_rows, messier_count)
    messier = build_messier(messier_objects, epoch)
    write_file(os.path.join(out_dir, "messier.cat"), catalogue_records(messier))
    counts["messier.cat"] = len(messier)

    ngc, ic = build_ngc_ic(numbered, epoch)
    for thousand in range(8):
        rows = select_objects(ngc.get(thousand, []))
        name = "ngc%d.cat" % thousand
        write_file(os.path.join(out_dir, name), catalogue_records(rows))
        counts[name] = len(rows)
    ic_rows = select_objects(ic)
    write_file(os.path.join(out_dir, "ic.cat"), catalogue_records(ic_rows))
    counts["ic.cat"] = len(ic_rows)
    return counts


def generate_stars(pkg, motions, out_dir, epoch):
    """Write 5magstar.cat, const.cat, vstar.cat and vconst.cat into out_dir
    from the d3-celestial package, the stars moved by `motions`; returns
    {file: count}."""
    counts = {}
    constellations = build_constellations(pkg)
    known = {abbr for abbr, _ in constellations}

    bright = build_bright_stars(pkg, epoch, motions=motions)
    for r in bright:
        if r["code"] not in known:
            raise ValueError("unknown constellation %r" % r["code"])
    write_file(os.path.join(out_dir, "5magstar.cat"), catalogue_records(bright))
    counts["5magstar.cat"] = len(bright)

    write_file(os.path.join(out_dir, "const.cat"),
               [constellation_record(a, n) for a, n in constellations])
    counts["const.cat"] = len(constellations)

    stars, pairs, _ = build_chart(pkg, epoch, motions=motions)
    for r in stars:
        if r["code"] not in known:
            raise ValueError("unknown constellation %r" % r["code"])
    write_file(os.path.join(out_dir, "vstar.cat"), catalogue_records(stars))
    write_file(os.path.join(out_dir, "vconst.cat"),
               [line_record(a, b) for a, b in pairs])
    counts["vstar.cat"] = len(stars)
    counts["vconst.cat"] = len(pairs)
    return counts


def read_star_motions(kstars_dir):
    """The proper-motion table of namedstars.dat, labelled from starnames.dat."""
    _, fields, records = read_star_table(os.path.join(kstars_dir, NAMED_STARS_FILE))
    _, _, names = read_star_table(os.path.join(kstars_dir, STAR_NAMES_FILE))
    if len(names) != len(records):
        raise ValueError("%s and %s differ in length" % (NAMED_STARS_FILE, STAR_NAMES_FILE))
    return StarMotions(star_motion_table(fields, records, names))


def main(argv=None):
    here = os.path.dirname(os.path.abspath(__file__))
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--out", default=os.path.join(here, os.pardir, "data"),
                        help="folder for the .cat files (default: data/ beside tools/)")
    parser.add_argument("--epoch", type=float, default=2027.0,
                        help="Julian epoch of the mean equinox (default 2027.0)")
    parser.add_argument("--package", default=None,
                        help="d3-celestial %s .tgz or unpacked folder; fetched "
                             "with npm pack when omitted" % PACKAGE_VERSION)
    parser.add_argument("--kstars-data", default=KSTARS_DATA_DIR,
                        help="folder of the kstars-data files %s, %s and %s "
                             "(default %s)" % (OPENNGC_FILE, NAMED_STARS_FILE,
                                               STAR_NAMES_FILE, KSTARS_DATA_DIR))
    args = parser.parse_args(argv)

    for name in (OPENNGC_FILE, NAMED_STARS_FILE, STAR_NAMES_FILE):
        if not os.path.isfile(os.path.join(args.kstars_data, name)):
            raise SystemExit("%s not found in %s: install Debian's package kstars-data "
                             "(apt-get install kstars-data) or give --kstars-data"
                             % (name, args.kstars_data))
    openngc_rows = read_openngc(os.path.join(args.kstars_data, OPENNGC_FILE))
    motions = read_star_motions(args.kstars_data)

    workdir = None
    try:
        path = args.package
        if path is None:
            workdir = tempfile.mkdtemp(prefix="d3-celestial-")
            path = fetch_package(workdir)
        pkg = Package(path)
        try:
            meta = json.loads(pkg.read_text("package.json"))
            if meta.get("version") != PACKAGE_VERSION:
                raise SystemExit("expected %s %s, got version %s"
                                 % (PACKAGE_NAME, PACKAGE_VERSION, meta.get("version")))
            out_dir = os.path.normpath(args.out)
            os.makedirs(out_dir, exist_ok=True)
            counts = generate_deep_sky(openngc_rows, out_dir, args.epoch)
            counts.update(generate_stars(pkg, motions, out_dir, args.epoch))
        finally:
            pkg.close()
    finally:
        if workdir is not None:
            shutil.rmtree(workdir, ignore_errors=True)
    for name in sorted(counts):
        print("%-14s %5d records" % (name, counts[name]))
    if motions.unmatched:
        print("no proper motion found (place and magnitude match no star of %s), "
              "kept at their J2000 place:" % NAMED_STARS_FILE)
        for who, ra, dec, mag in motions.unmatched:
            near = motions.nearest(ra, dec)
            print("  %s, mag %.2f; nearest: %s, mag %.2f, %.0f\" away"
                  % (who, mag, near["label"], near["mag"],
                     separation_arcsec(ra, dec, near["ra"], near["dec"])))
    else:
        print("every star moved by its proper motion")
    return 0


if __name__ == "__main__":
    sys.exit(main())
