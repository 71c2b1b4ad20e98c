// The arithmetic of the alt-azimuth goto (module general): the target split
// into its parts, the azimuth still to go, the pulse count of an axis and
// the loop's end test. The passes that send the pulses are in
// motor/gotopass.h.
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
// kGotoToleranceArcsec across north (then the short way).
double RemainingAzimuth(double targetAz, double counterAz);

// The pulses that carry an axis over `remaining` arc-seconds at
// `stepArcsec` a pulse, before any slack: |floor(remaining / step)|. Floor,
// not truncation: a negative remainder gets one pulse more.
double GotoPulseCount(double remaining, double stepArcsec);

// Either remaining value is still kGotoToleranceArcsec or more, and no
// less than two of its axis's step angles (a mechanics coarser than half the
// tolerance ends once a pass started within two pulses).
bool GotoUnfinished();
