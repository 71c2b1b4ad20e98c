// The equatorial goto (module cmd_moteur): the telescope is moved from where
// it points (shared.equa.TelescopeRA, TelescopeDec) to the destination
// (shared.equa.GotoRA, GotoDec) by open-loop counted pulses, the
// right-ascension axis first, then the declination axis, each moved once by
// the whole difference.
//
// Units: right ascension in tenths of a minute of time (600 per hour),
// declination in tenths of a minute of arc (600 per degree).
//
// How a caller uses it (the equatorial pointing window, and the sky chart's
// pointing menu on an equatorial mount):
//
//     shared.equa.GotoRA = ra;
//     shared.equa.GotoDec = dec;
//     EquaGotoOnScreen windows;              // equatorial/equagotowindows.h
//     const EquaGotoResult r = GotoEquatorial(windows);
//     if (r.Moved()) {
//         shared.equa.TelescopeRA = r.ra;    // where the telescope now points
//         shared.equa.TelescopeDec = r.dec;
//         frmequapointage().ShowPosition(r.ra, r.dec);
//     }
//
// The goto itself leaves TelescopeRA and TelescopeDec alone: the caller sets
// them from the result, which is the start moved by the pulses actually sent
// (signed, times the movement of one pulse), whether the move was completed
// or stopped: a completed move ends within a pulse or two of the destination,
// and the next goto counts from there. The right ascension reached is
// brought within 0 to 24 h; the declination is the pulses' own, a little
// past a pole when the last pulses went beyond it (PlaceOf says where the
// telescope then points).
#pragma once

#include "motor/settingsfiles.h"

#include <QString>
#include <cstdint>
#include <optional>

// What the goto asks of the windows; it sees no widget itself.
class EquaGotoWindows {
public:
    virtual ~EquaGotoWindows() = default;
    // The goto speed levels chosen in the equatorial pointing window
    // (frmequapointage.cbpointaz for right ascension, cbpointalt for
    // declination): list positions 0..4 (shown 1..5), -1 when none is chosen.
    virtual int LevelRA() = 0;
    virtual int LevelDec() = 0;
    // The progress window frmDepl: shown (not modal) before the first pulse,
    // its two bars written 0..100 while the axes move, unloaded at the end.
    virtual void ShowProgress() = 0;
    virtual void SetProgressRA(int percent) = 0;
    virtual void SetProgressDec(int percent) = 0;
    virtual void CloseProgress() = 0;
    // The hand paddle's polling, suspended before the first pulse (so no
    // paddle move writes to the port between the goto's pulses) and resumed
    // once the goto is over. Resuming restarts the polling only when the
    // suspension stopped it.
    virtual void SuspendPaddle() = 0;
    virtual void ResumePaddle() = 0;
};

// What a goto did.
struct EquaGotoResult {
    enum class Outcome {
        Completed,  // both axes moved the whole way
        Stopped,    // StopGoto ended it (the declination did not move when the stop came during the right ascension)
        Refused,    // the mechanics or a speed level are unusable: a message was shown, nothing moved
        Busy,       // another goto was running: nothing done
    };
    Outcome outcome = Outcome::Refused;
    int64_t pulsesRA = 0;   // pulses sent on each axis
    int64_t pulsesDec = 0;
    // The position reached: the start moved by the pulses sent, the right
    // ascension brought within the day.
    double ra = 0;
    double dec = 0;

    bool Moved() const { return outcome == Outcome::Completed || outcome == Outcome::Stopped; }
};

// One day of right ascension, in tenths of a minute of time.
constexpr double kRaDay = 14400;

// A right ascension brought within one day: 0 <= result < kRaDay.
double RaWithinDay(double ra);
// A right-ascension difference taken the short way round: within -12 h to
// +12 h, exactly 12 h counting as +12 h (eastward, as a positive difference).
double ShortRaDifference(double d);

// Where a telescope at the pulses' position (ra, dec) points on the sky: a
// declination past a pole (beyond +-90 degrees) is the place as far on the
// pole's other side, 180 degrees less it (or -180 less it), half a day round
// in right ascension; the right ascension within one day.
struct PointedPlace {
    double ra = 0;
    double dec = 0;
};
PointedPlace PlaceOf(double ra, double dec);

// Movement of one pulse (a half step), from the mechanics of
// "\data\config_equa.ini": in right ascension 360 / (R * r_RA) * 600 / 15
// tenths of a minute of time, R being 2 * s_RA rounded to a whole number; in
// declination 360 / (2 * s_Dec * r_Dec) * 600 tenths of a minute of arc.
double RaPulseAngle(const settingsfiles::EquaMechanics& m);
double DecPulseAngle(const settingsfiles::EquaMechanics& m);

// The plan of one axis for a difference d (destination - start) and the
// movement u of one pulse: n = floor(d / u), made positive when d < 0; the
// axis gets n + 1 pulses (a zero difference still one pulse, in the
// direction of a positive difference; a negative difference whose quotient
// is not whole one pulse more than the positive one). The drive mode is
// `forward` for d >= 0 and `backward` for d < 0, the two swapped when the
// axis's goto is inverted.
struct AxisPlan {
    int64_t n = 0;
    int16_t mode = 0;
};
AxisPlan PlanAxis(double d, double u, int16_t forward, int16_t backward, bool inverted);

// The mechanics of "\data\config_equa.ini" (RA motor steps, Dec motor steps,
// RA ratio, Dec ratio), read afresh; nothing when the file is missing, short,
// or holds steps that are not whole numbers from 1 to 32767 or ratios that
// are not above 0 and at most 32767.
std::optional<settingsfiles::EquaMechanics> ReadEquaMechanics();

// The messages of a refused goto. `refused` names what cannot be done: the
// goto ("Pointage", the default) or the tracking ("Suivi").
QString UnusableMechanicsMessage(const QString& refused = QStringLiteral("Pointage"));
inline const QString kNoGotoSpeedMessage = QStringLiteral(
    "Pointage impossible : choisissez les vitesses de pointage (listes « A.D » et « Déclinaison » de la fenêtre "
    "pointage).");

// The goto. Refused, with a message and nothing written to the port, when
// the mechanics are unusable or a speed level is not 0..4; does nothing
// while another goto runs (shared.altgoto.GotoRunning, which it holds true
// while it runs). A stop asked before the goto started is forgotten.
//
// Otherwise, per axis (RA with modes 2 forward / 1 backward and
// GotoInvertRA, then Dec with 3 forward / 4 backward and GotoInvertDec): the
// plan above, for right ascension of the difference taken the short way
// (ShortRaDifference: the axis never turns more than 12 h and a pulse);
// MotorMode and the port bits by SetModeBits (no command inversion), the
// delay from the equatorial speed table at the axis's goto level, then
// pulses while fewer than n + 1 are sent, StopGoto is false and the program
// is not quitting.
// After pulse c (counted from 0) the axis's bar shows floor(100 * c / n)
// when c and n are not 0, so it reaches 100 on the last pulse. A stop during
// the right ascension skips the whole declination move. No backlash is taken
// up.
//
// Afterwards, completed or stopped, SpeedIndexAz, SpeedIndexAlt and
// MotorMode are as the goto found them (so equatorial tracking goes on
// turning right ascension, and a "STOP" of the manual drive's cross still
// holds the bursts still); but a drive mode that a handler set while the
// goto ran (that "STOP" pressed during the goto) is the one that stands.
// StopGoto is false, the progress window is closed and the paddle's polling
// resumed; the data register keeps the last pulse's value (step line high).
// A refused goto leaves them all as they were.
EquaGotoResult GotoEquatorial(EquaGotoWindows& windows);
