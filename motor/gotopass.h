// One pass of the alt-azimuth goto (module general), and the goto loop
// every window runs.
//
// A goto is a loop of passes: each pass computes where the target stands at
// the universal time of the clock boxes, pulses the azimuth axis and then the
// altitude axis from their counters to it (taking up the backlash when an
// axis reverses), and leaves the remaining differences in
// shared.altgoto.RemainingAz and RemainingAlt for the loop to test. A stop
// button sets StopGoto and zeroes both remaining values; the pass sends no
// further pulse once StopGoto is set.
#pragma once

#include "core/coordboxes.h"
#include "core/gotostep.h"

// The goto speed levels chosen in the set-up window (frmconfig.cbpointaz,
// cbpointalt), as list positions 0..4 (shown as 1..5).
struct GotoLevels {
    int az = 0;
    int alt = 0;
};

// What a pass reads from and shows in the windows. The coordinates window
// implements it over its controls; tests over plain values.
class GotoWindows {
public:
    virtual ~GotoWindows() = default;
    // frmcoord: the date lists, the universal-time boxes and txtessai, as
    // they read now (read once, at the start of the pass).
    virtual TimeBoxes Time() = 0;
    // frmcoord.txtessai, refreshed from the date lists when the chart's mark
    // is placed (only the sidereal time at 0 h is written back: the clock
    // may have moved on during the pass).
    virtual void SetSiderealTime0h(const QString& txtessai) = 0;
    // frmconfig.cbpointaz and cbpointalt: list positions.
    virtual GotoLevels Levels() = 0;
    // frmcoord.txtcoordaz4..6 and txtcoordalt4..6: where the target stands.
    virtual void SetTargetDisplay(const AzAltBoxes& boxes) = 0;
    // frmcoord.ProgressBaraz, ProgressBaralt: 0..100.
    virtual void SetProgressAz(int percent) = 0;
    virtual void SetProgressAlt(int percent) = 0;
    // Called only while the chart is open (SkyChartShown): redraw it and draw
    // the telescope mark at SlewRA, SlewDec, then the stars, the
    // constellation lines when shown and the objects when a filter is set.
    virtual void RedrawChartMark() = 0;
};

// One pass of the alt-azimuth goto.
//
// Sets DeltaAz, DeltaAlt (0), LocalSiderealSeconds, the target values of
// shared.conv, GotoTargetAz, GotoTargetAlt and shows them, then:
// - a target below the horizon (altitude < 0): kBelowHorizonMessage, both
//   remaining values 0, nothing sent;
// - a step angle of 0 on either axis: kNoStepAngleMessage, both remaining
//   values 0, nothing sent;
// - otherwise RemainingAz, RemainingAlt := target - counter (RemainingAzimuth
//   for the azimuth, across north the short way within AcrossNorthArcsec of
//   the azimuth step angle and of the target's motion since the goto's last
//   pass, none on a goto's first pass: at least 1 degree and two pulses
//   on every pass), and each axis, azimuth first, gets
//   |floor(remaining / step angle)| + 1 pulses (none when the remaining value
//   is 0), plus the pulses of slack it takes up first (motor/slack.h: the
//   whole pulses of its backlash when it reverses, or what a stop or a paddle
//   release left of an earlier take-up; a backlash of 0 or less takes up
//   nothing), at the delay of its goto level. StopGoto (or quitting,
//   seams::Quitting) ends the pulses at the next one; a stop during the
//   azimuth move skips the altitude move.
// Afterwards each axis's counter has moved by the pulses sent, signed, times
// its step angle, less the pulses that took up slack (a completed pass ends
// 0 to 1 pulse beyond the target going up, 1 to 2 going down, and the next
// pass starts from there); the shared slack record keeps what is left of the
// slack. The azimuth counter is not wrapped here. Each axis's direction flag
// is the direction it was pulsed in (unchanged when no pulse went out).
// SpeedIndexAz and SpeedIndexAlt keep their values (the goto levels are used
// for the delay look-up only); StepDelay holds the delay of the last axis
// moved, MotorMode that axis's mode (1 or 3). When the chart is open, SlewRA
// and SlewDec follow the new counters and the chart redraws its mark. The
// data register keeps the last value written.
void GotoStepAltaz(GotoWindows& windows);

// What every stop of a goto asks (a stop button, a window closed under it,
// quitting): StopGoto set and both remaining values 0, so that the pass
// sends no further pulse and the loop ends after it.
void AskGotoStop();

// How a goto loop ended.
enum class GotoEnd {
    Reached,  // within the tolerance of its target
    Stopped,  // by a stop, or by quitting
    Refused,  // its target below the horizon, or no step angle
};

// The goto loop of every window, on the target split into GotoRaHours ..
// GotoDecMinutes: the pending pulses of manual and paddle moves taken into
// the counters (TakePendingPulses), StopGoto cleared (a stop pressed while
// no goto ran does not stop this one), both remaining values 121, then a
// pass (followed by a pass of pending events when `letEventsRun`), again
// while GotoUnfinished() and the program is not quitting.
// Afterwards the mount is no longer synchronised on an object
// (PositionSynced false) and GotoReached says whether it points at the goto's
// target (GotoRA, GotoDec, copied into ReachedRA, ReachedDec): true unless
// the goto was stopped or its target refused. A target refused at the first
// pass, before any pulse, changes neither: the telescope still points at
// what it pointed at, and tracking follows that. StopGoto is left as the
// loop found it at its end.
GotoEnd RunGotoLoop(GotoWindows& windows, bool letEventsRun);
