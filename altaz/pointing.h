// What the pointing windows (alt-azimuth and equatorial) compute from what
// the user types or picks: typed coordinates read and checked, and the
// captions of a position.
//
// Units: right ascension in tenths of a minute of time (600 per hour),
// declination in tenths of a minute of arc (600 per degree, signed).
#pragma once

#include "core/coordboxes.h"

#include <QString>

// The four boxes of the typed-coordinates frame: tAD(0) hours, tAD(1)
// minutes of time, tDec(0) degrees, tDec(1) minutes of arc.
struct TypedBoxes {
    QString hours;
    QString minutes;
    QString degrees;
    QString arcMinutes;
};

// Typed coordinates, read.
struct TypedTarget {
    bool south = false;      // a "-" before the degrees, or negative arc-minutes
    // From the typed values, fractions included (degrees and arc-minutes
    // without their sign): 600 h + 10 m, and sign x (600 d + 10 m).
    double gotoRA = 0;
    double gotoDec = 0;
    // The values as typed (degrees and arc-minutes without their sign), for
    // the computations that take them box by box.
    double hoursTyped = 0;
    double minutesTyped = 0;
    double degreesTyped = 0;
    double arcMinutesTyped = 0;
};

enum class TypedStatus {
    Ok,
    Empty,    // nothing typed in any box
    Invalid,  // a box holds no number, or a value beyond its range
};
struct TypedReading {
    TypedStatus status = TypedStatus::Empty;
    TypedTarget target;
};

// Reads the four boxes. An empty box reads 0; a box that holds anything but
// a number is invalid, as is a value outside hours 0 to below 24, minutes 0
// to below 60, degrees -90..90, arc-minutes above -60 and below 60 (negative
// only to mark a southern declination under 1 degree), a right ascension of
// 24 h or more, or a declination beyond 90 degrees. A fraction counts for
// what it says in every box: 12.5 h and 0 min is 12 h 30 min, 45.5 degrees
// is 45 degrees 30 minutes.
TypedReading ReadTypedCoordinates(const TypedBoxes& boxes);

// Whether each of the coordinates window's boxes holds a number, or nothing
// (read as 0). Tracking takes them for what they say, fractions included;
// a box it could only cut ("12,5" read as 12) must be refused first.
bool CoordinateBoxesReadable(const EquatorialBoxes& boxes);

// What the user is told when the typed coordinates are invalid.
inline const QString kTypedCoordinatesMessage = QStringLiteral(
    "Coordonnées incorrectes : l'ascension droite va de 0 h à moins de 24 h (heures de 0 à 23, minutes de 0 à "
    "59.9), la déclinaison de -90° à 90° (degrés de -90 à 90, « - » pour le sud, minutes d'arc de 0 à 59.9).\n"
    "Une fraction compte pour ce qu'elle vaut : 12.5 h font 12 h 30 min, 45.5° font 45° 30'.\n"
    "Le séparateur décimal est le point : « 12,5 » n'est pas un nombre, tapez « 12.5 ».");

// The captions of a position: right ascension h "h" m "'", declination
// d "°" m "'". h and d are the whole hours and degrees (fraction dropped
// toward zero), m the rest in minutes, rounded to 2 decimals; the
// declination's minutes lose their sign when d is negative (-6120:
// -10°12') and keep it when d is 0 (-300: 0°-30').
struct PositionCaptions {
    QString ra;
    QString dec;
};
// Numbers in plain text form (7h3.6', -1°1.5'), as the equatorial window
// shows them, or in signed text form ( 7h 3.6', -1° 1.5'), as the
// alt-azimuth window does.
enum class NumberForm { Plain, Signed };
PositionCaptions CaptionsOf(double ra, double dec, NumberForm form);
