// Alt-azimuth sidereal tracking: the tick that advances the program's clock,
// finds where the tracked point has gone and turns the change into whole
// pulses for each axis, carrying the fractions from tick to tick. The
// tracking window calls these; they see only values, the clock seam and the
// shared state.
#pragma once

#include "core/conversions.h"
#include "core/coordboxes.h"

#include <QString>
#include <cstdint>

namespace tracking {

// --- The program's clock ---------------------------------------------------

// The four clock values as numbers.
struct Clock {
    double h = 0, m = 0, s = 0, ms = 0;
    bool operator==(const Clock&) const = default;
};

// The clock after one tick of incrementMs milliseconds. The milliseconds
// that reach 1000 or more carry their whole seconds; a clock that passes
// 23:59:59 (or holds a value out of range) goes to 0 h and dayRolled is set.
struct ClockStep {
    Clock clock;
    bool dayRolled = false;
};
ClockStep AdvanceClock(const Clock& c, int32_t incrementMs);

// The date lists one calendar day later (the day list at -1 reads as the last
// day of the month before).
DateLists NextDay(const DateLists& d);

// The longest increment the tick's 16-bit count holds, as long as may be
// typed or read from the settings file.
constexpr int16_t kLongestIncrement = 32767;
// The spinner: up adds 100 below 1000 and 1000 from there, never past the
// longest increment; down takes 100 up to 1000 and 1000 above, only above 100.
double IncrementUp(double value);
double IncrementDown(double value);

// --- Pulses of one tick --------------------------------------------------

// Whole pulses for a change of an axis, signed: the exact count is
// change / pulse angle, rounded (halves to even); its fraction is added to
// the carried remainder, and one whole pulse at most moves between them.
// The remainder keeps its sign across a reversal: pulses sent one way too
// many are made up by the next ones the other way.
struct Pulses {
    double exact = 0;      // Na, Nh, signed
    double rest = 0;       // restea, resteh
    double count = 0;      // AzStepsTick, AltStepsTick, signed
    double remainder = 0;  // AzStepRemainder, AltStepRemainder
};
Pulses PulsesOf(double change, double pulseArcsec, double remainder);

// --- Equatorial sidereal tracking -----------------------------------------

// The sidereal rate, arc-seconds per second of time.
constexpr double kSiderealArcsecPerSecond = 15.04;
// The most pulses one burst can send.
constexpr double kLongestBurst = 32767;

// Half-steps per second of the right-ascension motor at the sidereal rate:
// the rate over the half-step angle 360 / (steps * ratio) * 3600 / 2, not
// rounded. 200 steps and a ratio of 360 give 15.04 / 9.
double SiderealHalfStepsPerSecond(double raMotorSteps, double raRatio);
// A rate the bursts can send: finite and at most kLongestBurst.
bool UsableBurstRate(double halfStepsPerSecond);

// One second's burst: the rate rounded (halves to even), its fraction added
// to the carried sum, and one pulse at most moved between them.
struct SiderealBurst {
    int16_t count = 0;  // EquaStepCount
    double reste = 0;   // the rate minus its rounded value
    double somme = 0;   // the carried sum after this burst
};
SiderealBurst SiderealBurstOf(double halfStepsPerSecond, double somme);

// The change of azimuth from a0 to a1, through north when it is the shorter
// way (a change of more than 100 degrees is taken as a pass through 0).
double AzimuthChange(double a1, double a0);

// --- Sidereal time shown -----------------------------------------------------

struct HourMinuteSecond {
    QString h, m, s;
};
HourMinuteSecond SiderealTimeBoxes(int32_t localSiderealSeconds);

// --- The tick -------------------------------------------------------------

// The most a tick may move either axis, arc-seconds (1 degree). The sky asks
// that much of a steady tick only within a fraction of a degree of the
// zenith, where the azimuth turns ever faster: tracking then stops rather
// than slew.
constexpr double kLongestTickMoveArcsec = 3600;
// How much farther than the sky's own motion over two ticks the object may
// stand from the telescope, on an axis of `stepArcsec` a pulse, before the
// tick brings the telescope back as a goto does: the goto's tolerance, or
// three pulses on a coarser mechanics (a goto may end two pulses from its
// target, and the carried fraction is one more).
double CatchUpArcsec(double stepArcsec);
// What a steady tick that would move an axis more than
// kLongestTickMoveArcsec says as it stops tracking.
inline const QString kTooNearZenithMessage = QStringLiteral(
    "objet trop près du zénith pour le suivi : la monture devrait tourner de plus de 1° en un pas de suivi. "
    "Suivi arrêté.");

// What a tick did.
enum class TickOutcome {
    Tracked,        // the bursts are set
    CatchUp,        // the object stands farther than two ticks' motion of the sky beyond CatchUpArcsec
                    // (a pause, a late start, a sync made meanwhile, a goto refused after a wait):
                    // nothing to send, the telescope is to be brought onto it as a goto does
    TooNearZenith,  // a burst would pass kLongestTickMoveArcsec: nothing to send (the sky moves
                    // that fast within a fraction of a degree of the zenith only)
};

// The tracked point at the previous tick and at this one, and the counts of
// this tick (the tracking window's own variables).
struct TrackPoint {
    double h0 = 0, a0 = 0;  // previous altitude and azimuth, arc-seconds
    double h1 = 0, a1 = 0;  // this tick's
    double Nh = 0, Na = 0;  // exact half-step counts, magnitudes
    double resteh = 0, restea = 0;
    double lastHour = 0;    // the last hour the clock box held as a number
    uint32_t positionChanges = 0;  // shared.pos.PositionChanges when last based
    // The mount's frame: its altitude counter beyond 90 degrees, the tube
    // tilted over the zenith, so that it looks the other way (azimuth + 180,
    // altitude 180 - counter). Chosen at the first tick after each basing,
    // as the frame in which the point stands nearer the counters, and kept.
    bool frameChosen = false;
    bool pastZenith = false;
    // How long the previous tick took by the computer's clock (its bursts),
    // milliseconds: a tick comes its interval after the previous one ended,
    // so the clock moves on by that much more between the two.
    double lastTickMs = 0;
};

// Tracking goes on from where the telescope points: the previous point is
// the counters, the carried fractions are cleared, the frame is chosen again.
void Rebase(TrackPoint& p);
// Something other than tracking moved or set the counters since the point
// was last based on them (a goto, a move's pulses, a sync).
bool Reaimed(const TrackPoint& p);
// The same for a point just taken from the counters at the clock of `time`
// and written in the coordinate boxes `target`: the previous point is where
// the boxes put it at that clock, in the frame of the counters, so that the
// next tick sends the sky's motion alone and not the rounding of the boxes
// (0.01 minute of right ascension is a few arc-seconds of sky, which near
// the zenith is a large azimuth).
void RebaseOnPoint(TrackPoint& p, const TimeBoxes& time, const EquatorialBoxes& target);

// The start: counts cleared, the clock set from the system clock (and the
// local sidereal time from it). The point is then based on what tracking
// follows (Rebase, RebaseOnPoint) at that clock: the first tick brings the
// telescope onto the tracked point.
void StartTracking(TrackPoint& p, TimeBoxes& time);

// Where a point of the sky stands in the mount's frame, arc-seconds: as it
// is, or past the zenith azimuth + 180 degrees (wrapped) and altitude
// 180 degrees - its own. `keptAz` stands for the azimuth at the zenith.
struct AxisPoint {
    double az = 0, alt = 0;
};
AxisPoint InMountFrame(const Horizontal& sky, bool pastZenith, double keptAz);

// One tick of TrackIntervalMs: resynchronise the clock from the system clock
// (TickClock), set the date at universal midnight, advance the clock, find
// where the target stands in the mount's frame, and leave in the shared
// drive state the pulses (magnitudes) and directions (the signs of DeltaAz,
// DeltaAlt) of both bursts; the counters are left to the bursts. The
// previous point becomes this one. An object farther from the previous
// point than the sky takes it over two increments and the previous tick's
// duration (TrackPoint::lastTickMs, which the caller sets), by more than CatchUpArcsec
// on either axis, sets no pulse and asks for a catch-up; otherwise a change
// of more than kLongestTickMoveArcsec on either axis sets no pulse (both
// counts 0) and is told by the outcome (the zenith).
TickOutcome TrackTick(TrackPoint& p, TimeBoxes& time, const EquatorialBoxes& target);

// The clock part of a tick alone: resynchronised (every tick from 1000 ms,
// else when the milliseconds read 0; and whatever the increment, set on the
// computer's clock to the millisecond whenever it stands more than one
// increment from it, so that late ticks and increments that do not divide
// the second never let it lag), the date at universal midnight, advanced by
// one increment. `start`, when given, receives the clock before the
// advance. A tick that comes due while a goto has the mount runs only this:
// it sends nothing, but the clock the goto's passes read goes on, so that
// the goto ends on the object where it stands when the goto ends.
void TickClock(TrackPoint& p, TimeBoxes& time, TimeBoxes* start = nullptr);

// The object of the coordinate boxes as a goto's target: right ascension in
// tenths of a minute of time, declination in tenths of a minute of arc.
struct GotoTarget {
    double ra = 0, dec = 0;
};
GotoTarget GotoTargetOf(const EquatorialBoxes& boxes);

}  // namespace tracking
