#include "core/calendar.h"

#include "core/numbers.h"
#include "core/state.h"
#include "platform/vbrt.h"

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
    const auto day = static_cast<int16_t>(dates.cbjour + 1);
    const auto month = static_cast<int16_t>(dates.cbmois + 1);
    const auto year = static_cast<int16_t>(dates.cbannee + FirstListedYear);
    return vb::CStr(RoundDecimals(SiderealTime0h(JulianDay(day, month, year)), 3));
}

void ShowSiderealTime0h(TimeBoxes& boxes) { boxes.txtessai = SiderealTime0hText(boxes.dates); }

int16_t DefaultUtOffsetHours(const seams::LocalTime& local) { return local.daylightSaving ? 2 : 1; }

UtClock UtClockOf(const seams::LocalTime& local, int16_t utOffsetHours) {
    // Local 00:xx (and 01:xx in summer) is still the day before in UT.
    int hour = local.hour - utOffsetHours;
    const bool previousDay = hour < 0;
    if (previousDay) hour += 24;
    return {vb::CStr(hour), vb::CStr(local.minute), vb::CStr(local.second), previousDay};
}

void UpdateUtClock(TimeBoxes& boxes) {
    const seams::LocalTime local = seams::Now();
    const UtClock ut = UtClockOf(local, shared.site.UtOffsetHours);
    boxes.clock.txth = ut.txth;
    boxes.clock.txtmin = ut.txtmin;
    boxes.clock.txts = ut.txts;
    if (ut.previousDay) {
        // The month and year come from the local date too: after local
        // midnight on the first of a month the lists still show the month
        // before, whose day 0 would be a month early.
        boxes.dates = DateListsOf(local);
        boxes.dates.cbjour = local.day - 2;
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
