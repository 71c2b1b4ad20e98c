#include "motor/equagoto.h"

#include "core/state.h"
#include "motor/cmd_moteur.h"
#include "motor/moves.h"
#include "motor/speedtables.h"
#include "platform/datadir.h"
#include "platform/ranges.h"
#include "platform/seams.h"
#include "platform/seqfile.h"
#include "platform/vbrt.h"

#include <array>
#include <cmath>

double RaPulseAngle(const settingsfiles::EquaMechanics& m) {
    const double halfSteps = vb::CLng(2 * m.raSteps);
    return 360 / (halfSteps * m.raRatio) * 600 / 15;
}

double DecPulseAngle(const settingsfiles::EquaMechanics& m) { return 360 / (2 * m.decSteps * m.decRatio) * 600; }

double RaWithinDay(double ra) {
    double r = std::fmod(ra, kRaDay);
    if (r < 0) r += kRaDay;
    // A tiny negative value comes back as a whole day.
    return r >= kRaDay ? 0 : r;
}

double ShortRaDifference(double d) {
    const double r = std::remainder(d, kRaDay);
    return r == -kRaDay / 2 ? kRaDay / 2 : r;
}

PointedPlace PlaceOf(double ra, double dec) {
    constexpr double halfTurn = 108000;  // 180 degrees in tenths of a minute of arc
    constexpr double pole = halfTurn / 2;
    double d = std::remainder(dec, 2 * halfTurn);
    double r = ra;
    if (d > pole || d < -pole) {
        // Past the pole: as far on its other side, half a day round.
        d = (d > 0 ? halfTurn : -halfTurn) - d;
        r += kRaDay / 2;
    }
    return {RaWithinDay(r), d};
}

AxisPlan PlanAxis(double d, double u, int16_t forward, int16_t backward, bool inverted) {
    AxisPlan plan;
    // Floor, not truncation: -2.5 pulses' worth gives 3, +2.5 gives 2.
    plan.n = static_cast<int64_t>(std::floor(d / u));
    const bool negative = d < 0;
    if (negative) plan.n = -plan.n;
    plan.mode = (negative != inverted) ? backward : forward;
    return plan;
}

std::optional<settingsfiles::EquaMechanics> ReadEquaMechanics() {
    auto reader = SeqReader::Open(datadir::Path(settingsfiles::kConfigEqua));
    if (!reader) return std::nullopt;
    std::array<double, 4> v{};
    for (double& value : v) {
        if (reader->AtEnd()) return std::nullopt;
        const auto number = vb::NumericValue(reader->Field());
        if (!number) return std::nullopt;
        value = *number;
    }
    settingsfiles::EquaMechanics m;
    m.raSteps = v[0];
    m.decSteps = v[1];
    m.raRatio = v[2];
    m.decRatio = v[3];
    if (!settingsfiles::UsableEquaMechanics(m)) return std::nullopt;
    // A pulse count needs a finite, non-zero movement per pulse.
    for (double u : {RaPulseAngle(m), DecPulseAngle(m)})
        if (!std::isfinite(u) || !(u > 0)) return std::nullopt;
    return m;
}

QString UnusableMechanicsMessage(const QString& refused) {
    return QStringLiteral(
               "%1 impossible : le fichier %2 doit contenir, un par ligne, le pas moteur A.D. et le pas moteur Déc. "
               "(nombres entiers de 1 à %3), puis les rapports de réduction A.D. et Déc. (au-dessus de 0, %4 au "
               "plus).")
        .arg(refused, datadir::Shown(settingsfiles::kConfigEqua), vb::CStr(ranges::kMaxMotorSteps),
             vb::CStr(ranges::kMaxRatio));
}

namespace {

bool usableLevel(int level) { return level >= 0 && level <= 4; }

// One axis of the goto.
struct EquaAxis {
    double start;       // TelescopeRA or TelescopeDec
    double diff;        // the move asked: target - start (the short way for right ascension)
    double u;           // movement of one pulse
    int16_t forward;    // mode of a positive difference
    int16_t backward;
    int16_t inverted;   // GotoInvertRA or GotoInvertDec
    void (EquaGotoWindows::*setProgress)(int);
};

struct AxisOutcome {
    int64_t sent = 0;
    bool completed = false;
    double reached = 0;
    // The drive mode a handler run between the pulses set in place of the
    // axis's own (the manual drive's "STOP", its "Quitter"), if any.
    std::optional<int16_t> modeSetMeanwhile;
};

AxisOutcome moveAxis(const EquaAxis& axis, EquaGotoWindows& windows, bool showProgressFirst) {
    auto& d = shared.drive;
    const double diff = axis.diff;
    const AxisPlan plan = PlanAxis(diff, axis.u, axis.forward, axis.backward, axis.inverted != 0);
    d.MotorMode = plan.mode;
    SetModeBits();
    LookupEquaDelay();
    // This move's own bits and delay: a handler run between two pulses
    // cannot change what it writes.
    const int16_t direction = d.DirectionBits;
    const int16_t step = d.StepBit;
    const int32_t delay = d.StepDelay;
    if (showProgressFirst) windows.ShowProgress();

    AxisOutcome out;
    for (int64_t c = 0; c <= plan.n && shared.altgoto.StopGoto == vb::False && !seams::Quitting(); ++c) {
        Pulse(direction, step, delay);
        ++out.sent;
        if (c != 0 && plan.n != 0)
            (windows.*axis.setProgress)(static_cast<int>(std::floor(100.0 * static_cast<double>(c) / plan.n)));
    }
    out.completed = out.sent == plan.n + 1;
    if (d.MotorMode != plan.mode) out.modeSetMeanwhile = d.MotorMode;
    // Where the axis now points, completed or stopped: the start moved by
    // the pulses sent (n + 1 of them for a whole move: up to one pulse past
    // the destination going up, one to two going down), so the next goto
    // starts from the mount and not from the destination.
    const double sign = diff < 0 ? -1 : 1;
    out.reached = axis.start + sign * static_cast<double>(out.sent) * axis.u;
    return out;
}

}  // namespace

EquaGotoResult GotoEquatorial(EquaGotoWindows& windows) {
    EquaGotoResult result;
    auto& g = shared.altgoto;
    if (g.GotoRunning) {
        result.outcome = EquaGotoResult::Outcome::Busy;
        return result;
    }
    const auto mechanics = ReadEquaMechanics();
    if (!mechanics) {
        seams::MsgBox(UnusableMechanicsMessage());
        return result;
    }
    const int levelRA = windows.LevelRA();
    const int levelDec = windows.LevelDec();
    if (!usableLevel(levelRA) || !usableLevel(levelDec)) {
        seams::MsgBox(kNoGotoSpeedMessage);
        return result;
    }

    g.GotoRunning = true;
    // A stop pressed while no goto ran must not stop this one.
    g.StopGoto = vb::False;
    windows.SuspendPaddle();
    auto& d = shared.drive;
    // The drive mode the goto found is the one tracking bursts and a manual
    // move under way go on with: it is given back at the end, unless a
    // handler set another while the goto ran.
    const int16_t keptMode = d.MotorMode;
    const int16_t keptAz = d.SpeedIndexAz;
    const int16_t keptAlt = d.SpeedIndexAlt;
    d.SpeedIndexAz = static_cast<int16_t>(levelRA);
    d.SpeedIndexAlt = static_cast<int16_t>(levelDec);

    const auto& e = shared.equa;
    // Right ascension 0 h marks no place on the mount: the axis turns the
    // short way, across 0 h when that is shorter.
    const EquaAxis ra{e.TelescopeRA, ShortRaDifference(e.GotoRA - e.TelescopeRA),
                      RaPulseAngle(*mechanics), 2, 1, shared.site.GotoInvertRA, &EquaGotoWindows::SetProgressRA};
    const EquaAxis dec{e.TelescopeDec, e.GotoDec - e.TelescopeDec,
                       DecPulseAngle(*mechanics), 3, 4, shared.site.GotoInvertDec, &EquaGotoWindows::SetProgressDec};
    const AxisOutcome raOut = moveAxis(ra, windows, true);
    // A stop during the right ascension leaves StopGoto set: the declination
    // loop sends nothing.
    const AxisOutcome decOut = moveAxis(dec, windows, false);

    d.SpeedIndexAz = keptAz;
    d.SpeedIndexAlt = keptAlt;
    d.MotorMode = decOut.modeSetMeanwhile.value_or(raOut.modeSetMeanwhile.value_or(keptMode));
    windows.CloseProgress();
    g.StopGoto = vb::False;
    g.GotoRunning = false;
    windows.ResumePaddle();

    result.outcome = raOut.completed && decOut.completed ? EquaGotoResult::Outcome::Completed
                                                         : EquaGotoResult::Outcome::Stopped;
    result.pulsesRA = raOut.sent;
    result.pulsesDec = decOut.sent;
    result.ra = RaWithinDay(raOut.reached);
    result.dec = decOut.reached;
    return result;
}
