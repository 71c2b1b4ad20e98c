// The axis position counters of the alt-azimuth mount and their displays in
// the coordinates window (module general).
//
// The mount has no position sensor: its position is the pair of counters
// shared.pos.AzimuthArcsec and AltitudeArcsec, in arc-seconds. Manual and
// paddle moves count their pulses into pending counts, which the clock timer
// applies to the counters five times a second.
#pragma once

#include "core/coordboxes.h"

// One full turn of the azimuth axis, arc-seconds.
constexpr double FullTurnArcsec = 1296000;

// One pulse sent on an axis: the pending count goes up by 1 when the axis's
// direction flag is true (-1), down by 1 otherwise.
void CountAzStep();
void CountAltStep();

// An azimuth brought back into the turn after a counter update: one turn
// taken off at 1296000 or more, one added below 0 (once each way).
double WrappedAzimuth(double arcsec);

// Degrees, minutes and seconds of a value in arc-seconds: degrees and
// minutes by floor, the seconds what is left, rounded (halves to even).
// -1800 shows "-1", "30", "0".
DmsBoxes DegreesMinutesSeconds(double arcsec);

// Applies the pending pulses to the counter (wrapping the azimuth), clears
// them, and returns what the counter's boxes show.
AxisCounterBoxes UpdateAzimuthCounter();
AxisCounterBoxes UpdateAltitudeCounter();
// What the counter's boxes show for the counter as it stands (pending pulses
// left out).
AxisCounterBoxes AzimuthCounterBoxes();
AxisCounterBoxes AltitudeCounterBoxes();
// Both updates at once: the pulses of manual and paddle moves not applied yet
// reach the counters (before a goto or a sync starts from them).
void TakePendingPulses();

// The telescope counters (txtcoordaz1..3, txtcoordalt1..3) and the goto
// target (txtcoordaz4..6, txtcoordalt4..6) in degrees, minutes, seconds.
AzAltBoxes ShowTelescopeAzAlt();
AzAltBoxes ShowGotoTargetAzAlt();

// The equatorial boxes showing a right ascension (hours, folded into
// [0, 24)) and a declination (degrees, signed): whole hours, minutes of time
// to 2 decimals, the sign "+" for a positive declination and "-" otherwise,
// whole degrees without sign, minutes of arc to 2 decimals.
EquatorialBoxes SignedCoordinatesOf(double raHours, double decDeg);
// SignedCoordinatesOf(RaHours, TargetDecDeg) of the last conversion.
EquatorialBoxes ShowSignedCoordinates();

// What the direction test measured on each axis: end counter - start counter.
double AzimuthSpan();
double AltitudeSpan();
// The azimuth span the short way round north: within -648000..648000.
double ShortAzimuthSpan();
