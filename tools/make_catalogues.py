#!/usr/bin/env python3
"""Build Orvanel's catalogue files (data/*.cat) from the d3-celestial package.

The star, deep-sky and constellation data come from the public npm package
d3-celestial 0.7.35 (BSD-3-Clause).  The package is fetched with
``npm pack`` into a temporary folder (or read from --package) and never
copied into the repository; only the generated .cat files are kept.

Every position in the package is J2000.0.  The generator precesses it to the
mean equinox of --epoch (a Julian epoch, 2027.0 by default) with the IAU 1976
angles zeta, z and theta (Meeus, Astronomical Algorithms, ch. 21).  The
package gives no proper motions, so none are applied.

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

The output depends only on the package contents and the options, so running
the generator twice gives identical files.
"""

import argparse
import io
import json
import math
import os
import re
import shutil
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

# Object types of the package (see its data/readme.md) and the program's code.
SOURCE_TYPE_TO_CODE = {
    "g": "GL",      # galaxy
    "s": "GL",      # spiral galaxy
    "s0": "GL",     # lenticular galaxy
    "sd": "GL",     # dwarf spheroidal galaxy
    "i": "GL",      # irregular galaxy
    "e": "GL",      # elliptical galaxy
    "gg": "GL",     # galaxy cluster / group: pointed at like a galaxy
    "oc": "OC",     # open cluster
    "gc": "GC",     # globular cluster
    "pn": "PN",     # planetary nebula
    "bn": "DN",     # bright nebula
    "en": "DN",     # emission nebula
    "rn": "DN",     # reflection nebula
    "sfr": "DN",    # star-forming region (nebula with its young cluster)
    "dn": "DN",     # dark nebula
    "snr": "DN",    # supernova remnant
    "pos": "ST",    # a position only: asterism, double star, star cloud
}

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


def map_type(source_type):
    """Program type code of a package object type, or None if unknown."""
    return SOURCE_TYPE_TO_CODE.get(source_type)


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
# Catalogue builders
# ---------------------------------------------------------------------------

def _magnitude(value):
    """Magnitude field of the package; 999 (or nothing) means unknown."""
    try:
        mag = float(value)
    except (TypeError, ValueError):
        return None
    return None if mag >= 99 else mag


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


def build_messier(pkg, epoch):
    """messier.cat rows, and the Messier types keyed by NGC number."""
    rows = []
    ngc_types = {}
    for feature in pkg.json("data/messier.json")["features"]:
        props = feature["properties"]
        number = int(feature["id"][1:])
        code = map_type(props["type"])
        if code is None:
            raise ValueError("unknown type %r of %s" % (props["type"], feature["id"]))
        ra, dec = lonlat_to_radec(*feature["geometry"]["coordinates"])
        ra, dec = to_epoch(ra, dec, epoch)
        rows.append({"number": number, "name": "M %d" % number, "code": code,
                     "ra": ra, "dec": dec, "mag": _magnitude(props.get("mag"))})
        m = re.match(r"NGC (\d+)", props.get("desig") or "")
        if m:
            ngc_types[int(m.group(1))] = code
    rows.sort(key=lambda r: r["number"])
    return rows, ngc_types


def build_ngc_ic(pkg, epoch, messier_ngc_types):
    """NGC objects grouped by thousands, and the IC objects (all of them,
    before any selection)."""
    ngc = {}
    ic = []
    for feature in pkg.json("data/dsos.20.json")["features"]:
        m = re.fullmatch(r"(NGC|IC) (\d+)", feature["id"])
        if not m:
            continue
        number = int(m.group(2))
        props = feature["properties"]
        code = map_type(props["type"])
        if code is None:
            raise ValueError("unknown type %r of %s" % (props["type"], feature["id"]))
        if m.group(1) == "NGC" and number in messier_ngc_types:
            code = messier_ngc_types[number]
        ra, dec = lonlat_to_radec(*feature["geometry"]["coordinates"])
        ra, dec = to_epoch(ra, dec, epoch)
        row = {"number": number, "name": "%s %d" % (m.group(1), number),
               "code": code, "ra": ra, "dec": dec,
               "mag": _magnitude(props.get("mag"))}
        if m.group(1) == "NGC":
            if 1 <= number <= 7840:
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


def build_bright_stars(pkg, epoch, limit=MAX_BRIGHT_STARS):
    """The `limit` brightest stars, sorted by name for the object list."""
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
        ra, dec = to_epoch(ra, dec, epoch)
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
                max_stars=MAX_CHART_STARS):
    """Chart stars and lines: (stars, pairs of star numbers, figures used)."""
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
    for lines in figures.values():
        for line in lines:
            for s in line:
                positions[s["id"]] = (s["lon"], s["lat"])

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
            ra, dec = to_epoch(ra, dec, epoch)
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


def generate(pkg, out_dir, epoch):
    """Write every catalogue file into out_dir; returns {file: count}."""
    counts = {}
    constellations = build_constellations(pkg)
    known = {abbr for abbr, _ in constellations}

    bright = build_bright_stars(pkg, epoch)
    for r in bright:
        if r["code"] not in known:
            raise ValueError("unknown constellation %r" % r["code"])
    write_file(os.path.join(out_dir, "5magstar.cat"), catalogue_records(bright))
    counts["5magstar.cat"] = len(bright)

    messier, messier_ngc_types = build_messier(pkg, epoch)
    write_file(os.path.join(out_dir, "messier.cat"), catalogue_records(messier))
    counts["messier.cat"] = len(messier)

    ngc, ic = build_ngc_ic(pkg, epoch, messier_ngc_types)
    for thousand in range(8):
        rows = select_objects(ngc.get(thousand, []))
        name = "ngc%d.cat" % thousand
        write_file(os.path.join(out_dir, name), catalogue_records(rows))
        counts[name] = len(rows)
    ic_rows = select_objects(ic)
    write_file(os.path.join(out_dir, "ic.cat"), catalogue_records(ic_rows))
    counts["ic.cat"] = len(ic_rows)

    write_file(os.path.join(out_dir, "const.cat"),
               [constellation_record(a, n) for a, n in constellations])
    counts["const.cat"] = len(constellations)

    stars, pairs, _ = build_chart(pkg, epoch)
    for r in stars:
        if r["code"] not in known:
            raise ValueError("unknown constellation %r" % r["code"])
    write_file(os.path.join(out_dir, "vstar.cat"), catalogue_records(stars))
    write_file(os.path.join(out_dir, "vconst.cat"),
               [line_record(a, b) for a, b in pairs])
    counts["vstar.cat"] = len(stars)
    counts["vconst.cat"] = len(pairs)
    return counts


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
    args = parser.parse_args(argv)

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
            counts = generate(pkg, out_dir, args.epoch)
        finally:
            pkg.close()
    finally:
        if workdir is not None:
            shutil.rmtree(workdir, ignore_errors=True)
    for name in sorted(counts):
        print("%-14s %5d records" % (name, counts[name]))
    return 0


if __name__ == "__main__":
    sys.exit(main())
