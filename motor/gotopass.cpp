#include "motor/gotopass.h"

#include "core/calendar.h"
#include "core/conversions.h"
#include "core/counters.h"
#include "core/gotostep.h"
#include "core/numbers.h"
#include "core/state.h"
#include "motor/cmd_moteur.h"
#include "motor/slack.h"
#include "motor/speedtables.h"
#include "platform/seams.h"
#include "platform/vbrt.h"

#include <algorithm>
#include <cmath>
#include <cstdint>

namespace {

// One axis of the mount as a pass moves it.
struct AxisMove {
    double& counter;          // AzimuthArcsec or AltitudeArcsec
    double remaining;         // RemainingAz or RemainingAlt
    double stepArcsec;        // AzStepArcsec or AltStepArcsec
    double backlash;          // BacklashAz or BacklashAlt
    int16_t& directionPlus;   // AzDirectionPlus or AltDirectionPlus
    slack::Axis slack;        // the axis's slack, shared with the paddle
    int16_t plusBits, minusBits;
    int16_t stepBit;          // 4 azimuth, 1 altitude
    int16_t motorMode;        // 1 azimuth, 3 altitude
    int16_t& speedIndex;      // SpeedIndexAz or SpeedIndexAlt
    int level;                // goto speed level 0..4
    void (GotoWindows::*setProgress)(int);
};

// The delay of an axis at its goto level. The level is set only for the
// look-up: a manual move started later, or a speed the user chooses while the
// goto runs, keeps the speed index the sliders show.
int32_t GotoDelay(AxisMove& axis) {
    const int16_t kept = axis.speedIndex;
    axis.speedIndex = static_cast<int16_t>(std::clamp(axis.level, 0, 4));
    shared.drive.MotorMode = axis.motorMode;
    LookupAltazDelay();
    axis.speedIndex = kept;
    return shared.drive.StepDelay;
}

// Pulses the axis toward its target and brings its counter and direction
// flag up to date: the counter moves by the pulses that moved the axis, the
// slack they first took up left out.
void MoveAxis(AxisMove& axis, GotoWindows& windows) {
    if (axis.remaining == 0 || seams::Quitting()) return;  // nothing to do, nothing touched
    const bool forward = axis.remaining > 0;
    const int16_t plus = vb::Bool(forward);
    // Whole pulses of slack to take up first (none for a backlash of 0 or
    // less): the backlash after a reversal, or what a stop or a paddle
    // release left of an earlier take-up (shared record).
    const int64_t backlash = slack::Pulses(axis.backlash);
    const int64_t takeUp = slack::TakeUp(axis.slack, plus, backlash);

    const double count = GotoPulseCount(axis.remaining, axis.stepArcsec);
    // Pulses for i = 0 .. last; a whole reversal counts the backlash as it stands.
    const double last = count + (takeUp == backlash && takeUp > 0 ? axis.backlash : static_cast<double>(takeUp));
    const int64_t pulses = static_cast<int64_t>(std::floor(last)) + 1;
    const int16_t bits = forward ? axis.plusBits : axis.minusBits;
    const int32_t delay = GotoDelay(axis);

    int64_t sent = 0, moved = 0;
    while (sent < pulses && shared.altgoto.StopGoto == vb::False && !seams::Quitting()) {
        // The flag follows the direction actually pulsed, from the first pulse on.
        axis.directionPlus = plus;
        Pulse(bits, axis.stepBit, delay, [&] {
            if (slack::Step(axis.slack, plus, backlash)) ++moved;
        });
        if (count != 0 && sent != 0) {
            const float percent = static_cast<float>(100.0 * static_cast<double>(sent) / last);
            (windows.*axis.setProgress)(static_cast<int>(std::floor(percent)));
        }
        ++sent;
    }
    if (moved == 0) return;
    axis.counter += (forward ? 1 : -1) * static_cast<double>(moved) * axis.stepArcsec;
    ++shared.pos.PositionChanges;
}

// The last pass refused its target (below the horizon, no step angle).
bool refused = false;

// The target's azimuth at the goto's last pass, for how far the sky moved it
// during that pass; none outside a goto loop and before its first pass.
bool inGotoLoop = false;  // RunGotoLoop runs the passes
bool lastPassKnown = false;
double lastPassTargetAz = 0;

}  // namespace

void GotoStepAltaz(GotoWindows& windows) {
    auto& g = shared.altgoto;
    auto& conv = shared.conv;
    auto& pos = shared.pos;
    auto& site = shared.site;

    shared.drive.DeltaAz = 0;
    shared.drive.DeltaAlt = 0;
    refused = false;

    // Where the target stands now.
    TimeBoxes time = windows.Time();
    const double lst = LocalSiderealTime(time);
    pos.LocalSiderealSeconds = RoundedSiderealSeconds(lst);
    const double hourAngle = HourAngleRadians(lst, HoursMinutesToSeconds(g.GotoRaHours, g.GotoRaMinutes));
    conv.ObserverLatitudeRad = SiteLatitudeRad();
    conv.TargetRaRad = (15 * g.GotoRaHours + 15 * g.GotoRaMinutes / 60) * Pi / 180;
    double dec = (std::fabs(static_cast<double>(g.GotoDecDegrees)) + std::fabs(g.GotoDecMinutes) / 60) * Pi / 180;
    if (g.GotoDecDegrees < 0 || (g.GotoDecDegrees == 0 && g.GotoDecMinutes < 0)) dec = -dec;
    conv.TargetDecRad = dec;

    const Horizontal hz = HorizontalOf(hourAngle, dec, conv.ObserverLatitudeRad);
    conv.TargetAltRad = hz.altRad;
    conv.TargetAltDeg = hz.altDeg;
    g.GotoTargetAlt = hz.altDeg * 3600;
    if (hz.azimuthDefined) {
        conv.TargetAzRad = hz.azRad;
        conv.TargetAzDeg = hz.azDeg;
        g.GotoTargetAz = hz.azDeg * 3600;
    } else {
        // At the zenith every azimuth will do: the azimuth axis stays.
        g.GotoTargetAz = pos.AzimuthArcsec;
    }
    windows.SetTargetDisplay(ShowGotoTargetAzAlt());

    if (g.GotoTargetAlt < 0) {
        seams::MsgBox(kBelowHorizonMessage);
        refused = true;
        g.RemainingAz = 0;
        g.RemainingAlt = 0;
        return;
    }
    // Without a step angle there is no pulse count: nothing is sent.
    if (!(site.AzStepArcsec > 0) || !(site.AltStepArcsec > 0)) {
        seams::MsgBox(kNoStepAngleMessage);
        refused = true;
        g.RemainingAz = 0;
        g.RemainingAlt = 0;
        return;
    }

    // Not folded into +-180 degrees: a move across north goes the long way,
    // unless the target stands just across north from the counter: what a
    // pass leaves beyond its target and what the sky moved it since (during
    // this goto's last pass, or while the user pressed the button again).
    const double skyDrift =
        lastPassKnown ? std::remainder(g.GotoTargetAz - lastPassTargetAz, FullTurnArcsec) : 0.0;
    g.RemainingAz = RemainingAzimuth(g.GotoTargetAz, pos.AzimuthArcsec, AcrossNorthArcsec(site.AzStepArcsec, skyDrift));
    lastPassKnown = inGotoLoop;
    lastPassTargetAz = g.GotoTargetAz;
    g.RemainingAlt = g.GotoTargetAlt - pos.AltitudeArcsec;
    const GotoLevels levels = windows.Levels();

    AxisMove az{pos.AzimuthArcsec, g.RemainingAz, site.AzStepArcsec, site.BacklashAz,
                pos.AzDirectionPlus, slack::Azimuth(), site.AzPlusBits, site.AzMinusBits, 4, 1, shared.drive.SpeedIndexAz,
                levels.az, &GotoWindows::SetProgressAz};
    AxisMove alt{pos.AltitudeArcsec, g.RemainingAlt, site.AltStepArcsec, site.BacklashAlt,
                 pos.AltDirectionPlus, slack::Altitude(), site.AltPlusBits, site.AltMinusBits, 1, 3, shared.drive.SpeedIndexAlt,
                 levels.alt, &GotoWindows::SetProgressAlt};

    MoveAxis(az, windows);
    // A stop during the azimuth move leaves the altitude where it is.
    if (g.StopGoto == vb::False) MoveAxis(alt, windows);

    if (shared.win.SkyChartShown != 0) {
        TimeBoxes now = windows.Time();
        HorizontalToEquatorial(now);
        windows.SetSiderealTime0h(now.txtessai);
        g.SlewRA = conv.RaHours * 600;
        g.SlewDec = conv.TargetDecDeg * 600;
        windows.RedrawChartMark();
    }
}

void AskGotoStop() {
    auto& g = shared.altgoto;
    g.StopGoto = vb::True;
    g.RemainingAz = 0;
    g.RemainingAlt = 0;
}

GotoEnd RunGotoLoop(GotoWindows& windows, bool letEventsRun) {
    auto& g = shared.altgoto;
    // The pulses of a manual or paddle move still waiting for the clock (or,
    // while tracking runs, for its next tick) are where the mount is: the
    // goto starts from them.
    TakePendingPulses();
    // A stop pressed while no goto ran must not stop this one.
    g.StopGoto = vb::False;
    g.RemainingAz = 121;
    g.RemainingAlt = 121;
    refused = false;
    // The first pass always runs, whatever the step angle: 121 only says so.
    inGotoLoop = true;
    lastPassKnown = false;
    int passes = 0;
    do {
        GotoStepAltaz(windows);
        ++passes;
        if (letEventsRun) seams::DoEventsNow();
    } while (GotoUnfinished() && !seams::Quitting());
    inGotoLoop = false;
    lastPassKnown = false;
    const GotoEnd end = refused                                         ? GotoEnd::Refused
                        : g.StopGoto != vb::False || seams::Quitting() ? GotoEnd::Stopped
                                                                       : GotoEnd::Reached;
    // Refused before any pulse: the telescope points where it pointed.
    if (refused && passes == 1) return end;
    // Whatever the mount was synchronised on, it now points where the goto
    // took it: at the target when the goto was not stopped or refused.
    auto& pos = shared.pos;
    pos.PositionSynced = vb::False;
    pos.GotoReached = end == GotoEnd::Reached;
    if (pos.GotoReached) {
        pos.ReachedRA = shared.equa.GotoRA;
        pos.ReachedDec = shared.equa.GotoDec;
    }
    ++pos.PositionChanges;
    return end;
}
