#include "core/calendar.h"

#include "core/numbers.h"
#include "core/state.h"
#include "platform/vbrt.h"

#include <QDate>
#include <QDateTime>

#include <algorithm>

DateListItems FillDateLists() {
    DateListItems items;
    for (int day = 1; day <= 31; ++day) items.cbjour << QString::number(day);
    items.cbmois = {QStringLiteral("janvier"), QStringLiteral("février"), QStringLiteral("mars"),
                    QStringLiteral("avril"),   QStringLiteral("mai"),     QStringLiteral("juin"),
                    QStringLiteral("juillet"), QStringLiteral("août"),    QStringLiteral("septembre"),
                    QStringLiteral("octobre"), QStringLiteral("novembre"), QStringLiteral("décembre")};
    for (int year = FirstListedYear; year <= LastListedYear; ++year) items.cbannee << QString::number(year);
    return items;
}

int YearListIndex(int year) {
    // A system clock outside the list still selects a year of it, so the
    // sidereal time is never computed from a year the list cannot show.
    return std::clamp(year, FirstListedYear, LastListedYear) - FirstListedYear;
}

DateLists DateListsOf(int year, int month, int day) { return {day - 1, month - 1, YearListIndex(year)}; }

DateLists DateListsOf(const seams::LocalTime& date) { return DateListsOf(date.year, date.month, date.day); }

double JulianDay(int16_t day, double month, int16_t year) {
    double y = year;
    if (month < 3) {
        month += 12;
        y -= 1;
    }
    const double a = vb::Int(y / 100);
    const double b = 2 - a + vb::Int(a / 4);
    return b + vb::Int(365.25 * y) + vb::Int(30.6001 * (month + 1)) + day + 1720994.5;
}

double SiderealTime0h(double julianDay) {
    const double t = (julianDay - 2415020) / 36525;
    const double turns = 0.276919398 + 100.0021359 * t + 1.075e-6 * t * t;
    return (turns - vb::Int(turns)) * 24 * 3600;
}

QString SiderealTime0hText(const DateLists& dates) {
    return vb::CStr(RoundDecimals(SiderealTime0h(JulianDayOf(dates)), 3));
}

void ShowSiderealTime0h(TimeBoxes& boxes) { boxes.txtessai = SiderealTime0hText(boxes.dates); }

int16_t DefaultUtOffsetHours(const seams::LocalTime& local) { return local.daylightSaving ? 2 : 1; }

int UtOffsetSeconds(const seams::LocalTime& local, int16_t utOffsetHours) {
    return seams::UtcOffsetSeconds(local) + 3600 * (utOffsetHours - DefaultUtOffsetHours(local));
}

UtClock UtClockOf(const seams::LocalTime& local, int16_t utOffsetHours) {
    constexpr int kDay = 86400;
    int seconds = 3600 * local.hour + 60 * local.minute + local.second - UtOffsetSeconds(local, utOffsetHours);
    int days = 0;
    while (seconds < 0) {
        seconds += kDay;
        --days;
    }
    while (seconds >= kDay) {
        seconds -= kDay;
        ++days;
    }
    UtClock ut{vb::CStr(seconds / 3600), vb::CStr(seconds / 60 % 60), vb::CStr(seconds % 60), days < 0, {}};
    const QDate date = QDate(local.year, local.month, local.day).addDays(days);
    if (days == -1 || !date.isValid()) {
        ut.dates = DateListsOf(local);
        ut.dates.cbjour += days;
    } else {
        ut.dates = DateListsOf(date.year(), date.month(), date.day());
    }
    return ut;
}

double JulianDayOf(const DateLists& dates) {
    return JulianDay(static_cast<int16_t>(dates.cbjour + 1), dates.cbmois + 1,
                     static_cast<int16_t>(dates.cbannee + FirstListedYear));
}

namespace {
// The season follows the system's daylight-saving state when it changes
// while the program runs.
void FollowSystemSeason(const seams::LocalTime& local) {
    auto& site = shared.site;
    const int16_t season = DefaultUtOffsetHours(local);
    if (site.SeasonDefaultHours != 0 && site.SeasonDefaultHours != season) site.UtOffsetHours = season;
    site.SeasonDefaultHours = season;
}
}  // namespace

void UpdateUtClock(TimeBoxes& boxes) {
    const seams::LocalTime local = seams::Now();
    FollowSystemSeason(local);
    const UtClock ut = UtClockOf(local, shared.site.UtOffsetHours);
    boxes.clock.txth = ut.txth;
    boxes.clock.txtmin = ut.txtmin;
    boxes.clock.txts = ut.txts;
    // Whenever the lists are not on the UT date (a tick that missed UT
    // midnight, a clock in another zone, the day before UT midnight), they
    // are set to it, and the sidereal time at 0 h with them.
    if (JulianDayOf(boxes.dates) != JulianDayOf(ut.dates)) {
        boxes.dates = ut.dates;
        ShowSiderealTime0h(boxes);
    }
}

double SolarToSiderealSeconds(double hours, double minutes, double seconds, int16_t milliseconds) {
    return (3600 * hours + 60 * minutes + seconds + milliseconds / 1000.0) / 0.99726957;
}

double DegMinToTimeSeconds(double degrees, double minutes, int32_t offset) {
    return static_cast<double>(vb::CLng(240 * degrees + 4 * minutes)) + offset;
}

double HourAngleRadians(double siderealSeconds, double raSeconds) {
    return (siderealSeconds - raSeconds) * 15 / 3600 * Pi / 180;
}

double HoursMinutesToSeconds(double hours, double minutes) { return 3600 * hours + 60 * minutes; }

double MillisecondsBetween(const seams::LocalTime& from, const seams::LocalTime& to) {
    const auto at = [](const seams::LocalTime& t) {
        return QDateTime(QDate(t.year, t.month, t.day), QTime(t.hour, t.minute, t.second, t.millisecond), Qt::UTC);
    };
    return static_cast<double>(at(from).msecsTo(at(to)));
}
