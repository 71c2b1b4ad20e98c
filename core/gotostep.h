// The arithmetic of the alt-azimuth goto (module general): the target
// split into hours and degrees, the distance still to go on each axis, the
// pulses that carry an axis over it and the test that ends the loop. The
// passes that send the pulses, and the loop, are in motor/gotopass.h.
#pragma once

#include <QString>

// The message of a target below the horizon.
inline const QString kBelowHorizonMessage = QStringLiteral("déplacement impossible : altitude négative !");
// The message of a goto asked while an axis has no step angle (motor steps or
// reduction ratio not set in the set-up window).
inline const QString kNoStepAngleMessage =
    QStringLiteral("déplacement impossible : angle de pas nul, la mécanique n'est pas réglée (Initialisations) !");

// The loop goes on while either remaining value is this or more, in
// absolute value (arc-seconds).
constexpr double kGotoToleranceArcsec = 120;

// The goto destination GotoRA (tenths of time-minutes) and GotoDec (tenths
// of arc-minutes) split into GotoRaHours, GotoRaMinutes, GotoDecDegrees and
// GotoDecMinutes: hours and degrees from the rounded values, truncated
// toward zero; the minutes made positive when the degrees are negative, so a
// declination between -1 and 0 degree keeps its sign in the minutes
// (-300 gives 0 and -30; -615 gives -1 and 1.5).
void SplitGotoTarget(double gotoRA, double gotoDec);

// The azimuth still to go from the counter to the target, arc-seconds, from
// where the counter stands in the turn (a counter below 0 or past a full
// turn counts as folded back into it), not folded: a move across north goes
// the long way, through south, unless the target is within
// `acrossNorthArcsec` across north (then the short way).
double RemainingAzimuth(double targetAz, double counterAz, double acrossNorthArcsec);

// How far the sky may carry an object in azimuth, across north, between a
// goto that left the telescope on it and the same goto pressed again a
// while later (or a sync on it and a goto to it): 1 degree, at least four
// minutes of the sky's motion for an object low in the north (less for one
// high up, nearer the zenith).
constexpr double kAcrossNorthSkyArcsec = 3600;

// How far across north a goto's pass still turns the short way: what a pass
// can leave the counter beyond its target, two pulses of `azStepArcsec` (a
// pass going down ends one to two pulses beyond), plus kAcrossNorthSkyArcsec,
// plus `skyDriftArcsec`, how far the target moved in azimuth during the
// goto's last pass (0 on its first pass). The first pass of every goto
// allows as much as the passes after it, whether a goto ran before or not.
double AcrossNorthArcsec(double azStepArcsec, double skyDriftArcsec);

// The pulses that carry an axis over `remaining` arc-seconds at
// `stepArcsec` a pulse, before any slack: |floor(remaining / step)|. Floor,
// not truncation: a negative remainder gets one pulse more.
double GotoPulseCount(double remaining, double stepArcsec);

// Either remaining value is still kGotoToleranceArcsec or more, and no
// less than two of its axis's step angles (a mechanics coarser than half the
// tolerance ends once a pass started within two pulses).
bool GotoUnfinished();
