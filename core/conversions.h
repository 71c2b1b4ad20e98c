// Equatorial <-> horizontal conversions and the angle helpers (modules
// general and math).
//
// Azimuth is counted from north through east (north 0, east 90, south 180,
// west 270 degrees); the spherical formulas work with the azimuth counted
// from south. Site and mechanics come from shared.site, results go to
// shared.conv and the position counters shared.pos.
#pragma once

#include "core/coordboxes.h"

#include <cstdint>

// --- Angle helpers --------------------------------------------------------

// Arcsine from the arctangent, in [-pi/2, pi/2]. Arguments outside [-1, 1]
// count as -1 or 1; ArcSin(+-1) is +-pi/2.
double ArcSin(double x);
// Arccosine from the arctangent: the arccosine for x > 0, the arccosine
// less pi for x < 0, so always in [-pi/2, pi/2]; ArcCos(0) is pi/2.
// Arguments outside [-1, 1] count as -1 or 1.
double ArcCos(double x);
double DegToRad(double degrees);
double SinDeg(double degrees);
double CosDeg(double degrees);

// Angle of one pulse (a half step) in arc-seconds for an axis, rounded to
// 3 decimals: 360 / (steps * ratio) * 3600 / 2, the steps rounded to a whole
// number first. 0 when the mechanics are not set up (steps or ratio 0).
double StepAngleArcsec(double motorSteps, double ratio);
// The same for the azimuth and altitude axes of shared.site.
double AzimuthStepArcsec();
double AltitudeStepArcsec();

// --- The site ------------------------------------------------------------

// A site longitude or latitude in degrees from its whole degrees and its
// minutes, read as typed declinations are: the sign comes from the degrees
// (a "-" before them, which a negative zero keeps) or from negative minutes,
// and applies to |degrees| + |minutes| / 60. So "-33" "54" and "-33" "-54"
// are both -33 deg 54', "-0" "30" and "0" "-30" both -0 deg 30'. East
// longitudes and north latitudes are positive.
double SiteAngleDegrees(double degrees, double minutes);
// The latitude of shared.site, radians.
double SiteLatitudeRad();
// The whole degrees of a site box or settings line: the number the text
// begins with, a "-" before it kept even on zero ("-0" gives a negative zero).
double SiteDegreesValue(QStringView text);
// The text of site degrees for their box or file line: "-0" for a negative
// zero, the plain text form otherwise.
QString SiteDegreesText(double degrees);

// --- Sidereal time of the site --------------------------------------------

// Local sidereal time in seconds, in [0, 86400): sidereal time at 0 h plus
// the site longitude (240 s per degree, east positive, its degrees and
// minutes read by SiteAngleDegrees) plus the sidereal time elapsed since 0 h UT.
double LocalSiderealTime(double sidereal0h, double utHours, double utMinutes, double utSeconds,
                         int16_t utMilliseconds, double longitudeDeg, double longitudeMin);
// The same from the clock boxes (txtessai and the universal time) and shared.site.
double LocalSiderealTime(const TimeBoxes& boxes);
// A local sidereal time rounded to a whole second, 0..86399.
int32_t RoundedSiderealSeconds(double localSidereal);

// --- Conversions between plain values ---------------------------------------

// Altitude and azimuth of a direction given by its hour angle and
// declination, for a site at that latitude (all radians).
struct Horizontal {
    double altRad = 0;
    double altDeg = 0;
    // At the zenith the azimuth is undefined: azimuthDefined is false and
    // azRad, azDeg are 0.
    bool azimuthDefined = false;
    double azRad = 0;  // ArcCos of the cosine of the azimuth from south
    double azDeg = 0;  // azimuth from north through east, 0..360
};
Horizontal HorizontalOf(double hourAngleRad, double decRad, double latitudeRad);

// Declination and right ascension of an axis position (arc-seconds) for a
// site at that latitude and a local sidereal time in seconds.
struct Equatorial {
    double decRad = 0;
    double decDeg = 0;
    // At the celestial pole the right ascension is undefined: raDefined is
    // false and raHours is 0.
    bool raDefined = false;
    double raHours = 0;  // not folded into [0, 24)
};
Equatorial EquatorialOf(double azimuthArcsec, double altitudeArcsec, double latitudeRad, double localSidereal);

// --- The procedures over shared state ---------------------------------------

// The azimuth and altitude of the coordinates typed in the equatorial boxes,
// at the universal time of the clock boxes: sets DeltaAz, DeltaAlt (0),
// LocalSiderealSeconds and the target values of shared.conv (at the zenith
// the azimuth values keep what they held) and leaves the counters alone.
Horizontal PointOf(const TimeBoxes& time, const EquatorialBoxes& coordinates);

// The same point becomes the telescope position: the counters AzimuthArcsec,
// AltitudeArcsec take it (at the zenith the azimuth counter keeps what it
// held). No horizon check: a target below the horizon gives a negative
// altitude.
void EquatorialToHorizontal(const TimeBoxes& time, const EquatorialBoxes& coordinates);

// A synchronisation on the object of the boxes: it becomes the telescope
// position (EquatorialToHorizontal), the mount counts as synchronised on it
// (PositionSynced); the pulses not yet applied to the counters reach them
// first (TakePendingPulses), then the declared position replaces them: it
// already holds those pulses.
void SyncOnCoordinates(const TimeBoxes& time, const EquatorialBoxes& coordinates);

// The telescope position (the counters) becomes right ascension and
// declination: refreshes txtessai from the date lists, then sets
// ObserverLatitudeRad, TargetDecRad, TargetDecDeg and RaHours. At the pole
// RaHours keeps what it held.
void HorizontalToEquatorial(TimeBoxes& time);
