#include "core/tracking.h"

#include "core/calendar.h"
#include "core/conversions.h"
#include "core/counters.h"
#include "core/gotostep.h"
#include "core/state.h"
#include "platform/seams.h"
#include "platform/vbrt.h"

#include <QDate>
#include <algorithm>
#include <cmath>

namespace tracking {

ClockStep AdvanceClock(const Clock& c, int32_t incrementMs) {
    ClockStep r{c, false};
    const double total = c.ms + incrementMs;
    if (total < 1000) {
        r.clock.ms = total;
        return r;
    }
    // Every whole second the milliseconds make is carried.
    const double carry = std::floor(total / 1000);
    Clock& n = r.clock;
    n.ms = total - 1000 * carry;
    const double h = c.h, m = c.m, s = c.s;
    if (s < 59 && m <= 59 && h <= 23) {
        if (s + carry <= 59) {
            n.s = s + carry;
        } else if (m < 59) {
            n.m = m + 1;
            n.s = s + carry - 60;
        } else {
            n.m = 0;
            n.s = s + carry - 60;
            n.h = h >= 23 ? 0 : h + 1;
            r.dayRolled = h >= 23;
        }
    } else if (s == 59 && m < 59 && h <= 23) {
        n.s = s + carry - 60;
        n.m = m + 1;
    } else if (s == 59 && m == 59 && h < 23) {
        n.s = s + carry - 60;
        n.m = 0;
        n.h = h + 1;
    } else {
        n.s = s + carry - 60;
        n.m = 0;
        n.h = 0;
        r.dayRolled = true;
    }
    return r;
}

DateLists NextDay(const DateLists& d) {
    const QDate first(FirstListedYear + d.cbannee, d.cbmois + 1, 1);
    if (!first.isValid()) return d;
    const QDate next = first.addDays(d.cbjour + 1);
    return DateListsOf(next.year(), next.month(), next.day());
}

double IncrementUp(double value) {
    if (value >= kLongestIncrement) return value;
    return std::min<double>(value + (value < 1000 ? 100 : 1000), kLongestIncrement);
}

double IncrementDown(double value) {
    if (value <= 100) return value;
    return value - (value <= 1000 ? 100 : 1000);
}

Pulses PulsesOf(double change, double pulseArcsec, double remainder) {
    Pulses p;
    // Mechanics not set up: no pulse angle, nothing to send.
    p.exact = pulseArcsec > 0 ? change / pulseArcsec : 0;
    p.count = std::nearbyint(p.exact);
    p.rest = p.exact - p.count;
    p.remainder = remainder + p.rest;
    if (p.remainder >= 1) {
        p.count += 1;
        p.remainder -= 1;
    } else if (p.remainder <= -1) {
        p.count -= 1;
        p.remainder += 1;
    }
    return p;
}

double SiderealHalfStepsPerSecond(double raMotorSteps, double raRatio) {
    return kSiderealArcsecPerSecond / ((360 / (raMotorSteps * raRatio)) * 3600 / 2);
}

bool UsableBurstRate(double halfStepsPerSecond) {
    return std::isfinite(halfStepsPerSecond) && halfStepsPerSecond <= kLongestBurst;
}

SiderealBurst SiderealBurstOf(double halfStepsPerSecond, double somme) {
    // The carry of the alt-azimuth bursts, on a rate of pulses.
    const Pulses p = PulsesOf(halfStepsPerSecond, 1, somme);
    SiderealBurst b;
    b.count = static_cast<int16_t>(std::clamp(p.count, 0.0, kLongestBurst));
    b.reste = p.rest;
    b.somme = p.remainder;
    return b;
}

double AzimuthChange(double a1, double a0) {
    double d = a1 - a0;
    if (std::fabs(d) > 360000) d += d < 0 ? 1296000 : -1296000;
    return d;
}

HourMinuteSecond SiderealTimeBoxes(int32_t localSiderealSeconds) {
    const double l = localSiderealSeconds;
    HourMinuteSecond b;
    b.h = vb::CStr(vb::Int(l / 3600));
    b.m = vb::CStr(vb::Int((l - 3600 * vb::Val(b.h)) / 60));
    b.s = vb::CStr(l - 3600 * vb::Val(b.h) - 60 * vb::Val(b.m));
    return b;
}

namespace {

Clock clockOf(const ClockBoxes& b, double hour) {
    return {hour, vb::Val(b.txtmin), vb::Val(b.txts), vb::Val(b.txtms)};
}

void setClock(ClockBoxes& b, const Clock& c) {
    b.txth = vb::CStr(c.h);
    b.txtmin = vb::CStr(c.m);
    b.txts = vb::CStr(c.s);
    b.txtms = vb::CStr(c.ms);
}

// The hour box holds a number, or the last hour it held as one.
double hourOf(TrackPoint& p, ClockBoxes& b) {
    if (vb::IsNumeric(b.txth)) p.lastHour = vb::Val(b.txth);
    else b.txth = vb::CStr(p.lastHour);
    return p.lastHour;
}

}  // namespace

void Rebase(TrackPoint& p) {
    const auto& pos = shared.pos;
    p.h0 = pos.AltitudeArcsec;
    p.a0 = pos.AzimuthArcsec;
    p.restea = 0;
    p.resteh = 0;
    shared.drive.AzStepRemainder = 0;
    shared.drive.AltStepRemainder = 0;
    p.positionChanges = pos.PositionChanges;
    p.frameChosen = false;
}

AxisPoint InMountFrame(const Horizontal& sky, bool pastZenith, double keptAz) {
    const double az = sky.azimuthDefined ? sky.azDeg * 3600 : keptAz;
    if (!pastZenith) return {az, sky.altDeg * 3600};
    return {sky.azimuthDefined ? WrappedAzimuth(az + FullTurnArcsec / 2) : keptAz, FullTurnArcsec / 2 - sky.altDeg * 3600};
}

namespace {
// How far a point in the mount's frame stands from the previous one.
double gap(const AxisPoint& m, const TrackPoint& p) {
    return std::fabs(AzimuthChange(m.az, p.a0)) + std::fabs(m.alt - p.h0);
}

// The frame in which the point stands nearer the previous one (the counters
// at the first tick after a basing): over the zenith or not.
void chooseFrame(TrackPoint& p, const Horizontal& at) {
    p.pastZenith = at.azimuthDefined ? gap(InMountFrame(at, true, p.a0), p) < gap(InMountFrame(at, false, p.a0), p)
                                     : p.h0 > FullTurnArcsec / 4;
    p.frameChosen = true;
}
}  // namespace

bool Reaimed(const TrackPoint& p) { return p.positionChanges != shared.pos.PositionChanges; }

void StartTracking(TrackPoint& p, TimeBoxes& time) {
    auto& d = shared.drive;
    d.AzStepsTick = 0;
    d.AltStepsTick = 0;
    UpdateUtClock(time);
    if (vb::IsNumeric(time.clock.txth)) p.lastHour = vb::Val(time.clock.txth);
    shared.pos.LocalSiderealSeconds = RoundedSiderealSeconds(LocalSiderealTime(time));
    p.lastTickMs = 0;
}

double CatchUpArcsec(double stepArcsec) { return std::max(kGotoToleranceArcsec, 3 * stepArcsec); }

GotoTarget GotoTargetOf(const EquatorialBoxes& b) {
    const double dec = 600 * vb::Val(b.txtdec_deg) + 10 * vb::Val(b.txtdec_min);
    return {600 * vb::Val(b.Txtad_h) + 10 * vb::Val(b.txtad_min), b.txtsign == u"+" ? dec : -dec};
}

void RebaseOnPoint(TrackPoint& p, const TimeBoxes& time, const EquatorialBoxes& target) {
    Rebase(p);
    const Horizontal at = PointOf(time, target);
    chooseFrame(p, at);
    const AxisPoint m = InMountFrame(at, p.pastZenith, p.a0);
    p.h0 = m.alt;
    p.a0 = m.az;
}

void TickClock(TrackPoint& p, TimeBoxes& time, TimeBoxes* start) {
    const int16_t increment = shared.drive.TrackIntervalMs;

    // Resynchronise with the system clock.
    if (increment >= 1000 || vb::Val(time.clock.txtms) == 0) UpdateUtClock(time);
    // A tick comes its interval after the last one ended, its bursts on top;
    // and an increment that does not divide the second (or a new one typed)
    // may never bring the milliseconds back to 0. Whenever the clock stands
    // more than one increment from the computer's, it is set on it, to the
    // millisecond.
    const seams::LocalTime now = seams::Now();
    const UtClock ut = UtClockOf(now, shared.site.UtOffsetHours);
    const Clock system{vb::Val(ut.txth), vb::Val(ut.txtmin), vb::Val(ut.txts), static_cast<double>(now.millisecond)};
    const Clock shown = clockOf(time.clock, hourOf(p, time.clock));
    const auto secondsOf = [](const Clock& c) { return 3600 * c.h + 60 * c.m + c.s + c.ms / 1000; };
    const double apart = std::remainder(secondsOf(shown) - secondsOf(system), 86400.0);
    if (std::fabs(apart) * 1000 > increment) {
        UpdateUtClock(time);
        time.clock.txtms = vb::CStr(now.millisecond);
    }

    // Universal midnight: the date lists follow the UT date (the system's
    // date only where local time is UT).
    if (vb::Val(time.clock.txth) == 0 && vb::Val(time.clock.txtmin) == 0 && vb::Val(time.clock.txts) == 0) {
        time.dates = UtClockOf(seams::Now(), shared.site.UtOffsetHours).dates;
        ShowSiderealTime0h(time);
    }
    if (start) *start = time;

    // Advance the clock by one increment.
    const ClockStep step = AdvanceClock(clockOf(time.clock, hourOf(p, time.clock)), increment);
    setClock(time.clock, step.clock);
    p.lastHour = step.clock.h;
    if (step.dayRolled) {
        time.dates = NextDay(time.dates);
        ShowSiderealTime0h(time);
    }
}

TickOutcome TrackTick(TrackPoint& p, TimeBoxes& time, const EquatorialBoxes& target) {
    auto& d = shared.drive;
    const auto& site = shared.site;
    TimeBoxes start;
    TickClock(p, time, &start);

    // Where the point is now (the counters follow the pulses, not the point),
    // in the frame the mount looks at it from: over the zenith when the
    // point stands nearer the counters that way; and where it stood one
    // increment before.
    const Horizontal then = PointOf(start, target);
    const Horizontal now = PointOf(time, target);
    if (!p.frameChosen) chooseFrame(p, now);
    const AxisPoint m = InMountFrame(now, p.pastZenith, p.a0);
    const AxisPoint m0 = InMountFrame(then, p.pastZenith, p.a0);

    // The tick moves each axis as far as the point went. Farther than the
    // sky takes it over two increments (the first tick after a start covers
    // two: the start sets the clock, the tick sets it again and advances
    // it) and over the previous tick's own bursts, the telescope was left
    // behind (a pause, a late start): it is brought back as a goto would,
    // not by a burst. Steady ticks never move farther than the sky can take
    // the point in one tick, however long their bursts take.
    const double deltaAlt = m.alt - p.h0;
    const double deltaAz = AzimuthChange(m.az, p.a0);
    const double increments = 2 + (d.TrackIntervalMs > 0 ? std::max(p.lastTickMs, 0.0) / d.TrackIntervalMs : 0);
    const double skyAlt = increments * std::fabs(m.alt - m0.alt);
    const double skyAz = increments * std::fabs(AzimuthChange(m.az, m0.az));
    if (std::fabs(deltaAz) - skyAz > CatchUpArcsec(site.AzStepArcsec) ||
        std::fabs(deltaAlt) - skyAlt > CatchUpArcsec(site.AltStepArcsec)) {
        d.AzStepsTick = 0;
        d.AltStepsTick = 0;
        return TickOutcome::CatchUp;
    }
    if (std::fabs(deltaAlt) > kLongestTickMoveArcsec || std::fabs(deltaAz) > kLongestTickMoveArcsec) {
        d.AzStepsTick = 0;
        d.AltStepsTick = 0;
        return TickOutcome::TooNearZenith;
    }

    // Altitude pulses.
    p.h1 = m.alt;
    d.DeltaAlt = deltaAlt;
    const Pulses alt = PulsesOf(d.DeltaAlt, site.AltStepArcsec, d.AltStepRemainder);
    p.Nh = std::fabs(alt.exact);
    p.resteh = alt.rest;
    d.AltStepsTick = std::fabs(alt.count);
    d.AltStepRemainder = alt.remainder;

    // Azimuth pulses (at the zenith the point keeps its azimuth).
    p.a1 = m.az;
    d.DeltaAz = deltaAz;
    const Pulses az = PulsesOf(d.DeltaAz, site.AzStepArcsec, d.AzStepRemainder);
    p.Na = std::fabs(az.exact);
    p.restea = az.rest;
    d.AzStepsTick = vb::CLng(std::fabs(az.count));
    d.AzStepRemainder = az.remainder;

    p.h0 = p.h1;
    p.a0 = p.a1;
    return TickOutcome::Tracked;
}

}  // namespace tracking
