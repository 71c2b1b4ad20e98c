// The sky and the simulated mount for tracking checks (tests and benchmark):
// simulated local time moved by the test, the universal time the program's
// clock boxes show, where a star stands then, and how far the simulated
// mount is from it.
#pragma once

#include "core/calendar.h"
#include "core/conversions.h"
#include "core/counters.h"
#include "core/numbers.h"
#include "core/state.h"
#include "platform/port.h"
#include "platform/seams.h"
#include "platform/vbrt.h"

#include <QDateTime>

#include <algorithm>
#include <cmath>

namespace simsky {

// Local times as plain date-times (no zone: only their arithmetic is used).
inline QDateTime AsDateTime(const seams::LocalTime& t) {
    return QDateTime(QDate(t.year, t.month, t.day), QTime(t.hour, t.minute, t.second, t.millisecond), Qt::UTC);
}
inline void Advance(seams::LocalTime& t, qint64 ms) {
    const QDateTime d = AsDateTime(t).addMSecs(ms);
    t.year = d.date().year();
    t.month = d.date().month();
    t.day = d.date().day();
    t.hour = d.time().hour();
    t.minute = d.time().minute();
    t.second = d.time().second();
    t.millisecond = d.time().msec();
}

// The universal time the program's date lists and clock boxes show.
inline QDateTime ShownUt(const TimeBoxes& t) {
    const QDateTime first(QDate(FirstListedYear + t.dates.cbannee, t.dates.cbmois + 1, 1), QTime(0, 0), Qt::UTC);
    const double ms = 3600000 * vb::Val(t.clock.txth) + 60000 * vb::Val(t.clock.txtmin) +
                      1000 * vb::Val(t.clock.txts) + vb::Val(t.clock.txtms);
    return first.addDays(t.dates.cbjour).addMSecs(static_cast<qint64>(ms));
}

// The right ascension, in hours, of a star that many hours from the meridian
// (east when negative) at the time the boxes show.
inline double RaAtHourAngle(const TimeBoxes& t, double hourAngleHours) {
    return std::fmod(LocalSiderealTime(t) / 3600 - hourAngleHours + 48, 24);
}

// Azimuth and altitude of a star at a universal time, from the site of shared.site.
inline Horizontal StarAt(const QDateTime& ut, double raHours, double decDeg) {
    const auto& site = shared.site.SiteAndMount;
    const QDate d = ut.date();
    const QTime t = ut.time();
    const double lst = LocalSiderealTime(SiderealTime0h(JulianDay(d.day(), d.month(), d.year())), t.hour(),
                                         t.minute(), t.second(), t.msec(), site.SiteLongitudeDeg,
                                         site.SiteLongitudeMin);
    return HorizontalOf(HourAngleRadians(lst, raHours * 3600), decDeg * Pi / 180, SiteLatitudeRad());
}

// How far the simulated mount, started at (az0, alt0), stands from a point, in
// arc-seconds of each axis.
struct Offset {
    double az = 0, alt = 0;
    double HalfSteps() const { return std::max(az / shared.site.AzStepArcsec, alt / shared.site.AltStepArcsec); }
};
inline Offset MountOffset(double az0, double alt0, const Horizontal& h) {
    const port::SimulatedPort& sim = *port::Simulator();
    const double az = WrappedAzimuth(az0 + static_cast<double>(sim.AzSteps()) * shared.site.AzStepArcsec);
    const double alt = alt0 + static_cast<double>(sim.AltSteps()) * shared.site.AltStepArcsec;
    const double azOff = std::fabs(az - h.azDeg * 3600);
    return {std::min(azOff, FullTurnArcsec - azOff), std::fabs(alt - h.altDeg * 3600)};
}

}  // namespace simsky
