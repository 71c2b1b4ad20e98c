#!/usr/bin/env python3
"""Write Orvanel's default settings files (data/*.ini).

Every settings file is plain ASCII text, one value per line, each line ended
by CR LF, numbers as bare decimal integers, booleans as "Vrai" or "Faux".
These are the values a fresh installation starts with; the program's windows
rewrite the files whole when the user validates them.

The defaults describe a mount with 200-step motors and a 1:100 reduction on
both axes, at a site at longitude 2 deg 20 min east, latitude 48 deg 50 min
north.  The program adds the stored longitude to Greenwich sidereal time, so
east is positive; north latitude is positive.

Usage, from the repository root:
    python3 tools/make_defaults.py              # writes into data/
    python3 tools/make_defaults.py --out DIR

Only the Python standard library is used; the output never changes.
"""

import argparse
import os
import sys

LINE_END = "\r\n"

MOTOR_STEPS = 200         # steps per motor turn, both axes of both mounts
REDUCTION = 100           # 1:100 gear between motor and axis
SITE_LONGITUDE = (2, 20)  # degrees, minutes; east positive
SITE_LATITUDE = (48, 50)  # degrees, minutes; north positive

# Busy-wait counts per half pulse, levels 1 (slowest) to 5 (fastest) as the
# user sees them.
SPEED_LEVELS = [400000, 200000, 100000, 50000, 25000]
MID_LEVEL = 3             # goto speed level, 1 to 5

# File name and its lines, in the program's order.
DEFAULTS = [
    # Hand-paddle delays: azimuth / right ascension slow, medium, fast, then
    # altitude / declination slow, medium, fast.  Each is what its speed
    # slider gives at position 50 (the middle of a 0..100 bar).
    ("vitessemanu.ini", [1118078, 463138, 70434, 1118078, 463138, 70434]),
    # Alt-azimuth and equatorial speed tables: levels 1..5 of azimuth (right
    # ascension), then levels 1..5 of altitude (declination).
    ("vitessealtaz.ini", SPEED_LEVELS + SPEED_LEVELS),
    ("vitesseequa.ini", SPEED_LEVELS + SPEED_LEVELS),
    # Command inversion of the paddle and manual moves: azimuth (right
    # ascension), then altitude (declination).
    ("inversion.ini", ["Faux", "Faux"]),
    # Backlash in pulses: azimuth (right ascension), then altitude
    # (declination).  Unknown until measured, so none.
    ("backlash.ini", [0, 0]),
    # Equatorial mechanics: right-ascension motor steps, declination motor
    # steps, right-ascension reduction ratio, declination reduction ratio.
    ("config_equa.ini", [MOTOR_STEPS, MOTOR_STEPS, REDUCTION, REDUCTION]),
    # Alt-azimuth site and mechanics: longitude degrees, longitude minutes,
    # latitude degrees, latitude minutes, azimuth motor steps, altitude motor
    # steps, altitude ratio x 1000, azimuth ratio x 1000.
    ("config_altaz.ini", [SITE_LONGITUDE[0], SITE_LONGITUDE[1],
                          SITE_LATITUDE[0], SITE_LATITUDE[1],
                          MOTOR_STEPS, MOTOR_STEPS,
                          REDUCTION * 1000, REDUCTION * 1000]),
    # Alt-azimuth goto speed levels 1..5: azimuth, then altitude.
    ("pointagealtaz.ini", [MID_LEVEL, MID_LEVEL]),
    # Alt-azimuth tracking: tick increment in milliseconds (500 divides a
    # second, so the clock is set again from the system clock every second),
    # then the azimuth and altitude burst delays (the middle speed level).
    ("suivialtaz.ini", [500, SPEED_LEVELS[2], SPEED_LEVELS[2]]),
    # Equatorial goto speed levels 1..5: right ascension, then declination.
    ("pointagequa.ini", [MID_LEVEL, MID_LEVEL]),
    # Equatorial goto inversion: right ascension, then declination.
    ("inversion_point.ini", ["Faux", "Faux"]),
]


def file_text(lines):
    return "".join("%s%s" % (value, LINE_END) for value in lines)


def write_defaults(out_dir):
    os.makedirs(out_dir, exist_ok=True)
    for name, lines in DEFAULTS:
        with open(os.path.join(out_dir, name), "w", encoding="ascii", newline="") as f:
            f.write(file_text(lines))
    return [name for name, _ in DEFAULTS]


def main(argv=None):
    repo = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--out", default=os.path.join(repo, "data"),
                        help="folder to write the settings files into")
    args = parser.parse_args(argv)
    names = write_defaults(args.out)
    print("%d settings files written to %s" % (len(names), args.out))
    return 0


if __name__ == "__main__":
    sys.exit(main())
