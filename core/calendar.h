// Calendar, universal-time clock and sidereal time (module general).
//
// The program's date and universal time live in the coordinates window's
// date lists and clock boxes (core/coordboxes.h); the procedures here read
// and write those values, the pure functions compute from plain values.
#pragma once

#include "core/coordboxes.h"
#include "platform/seams.h"

#include <QStringList>
#include <cstdint>

// --- Date lists ----------------------------------------------------------

// The items of the three date lists: "1".."31", the twelve French month
// names, and the years "2000".."2099".
struct DateListItems {
    QStringList cbjour;
    QStringList cbmois;
    QStringList cbannee;
};
DateListItems FillDateLists();

constexpr int FirstListedYear = 2000;
constexpr int LastListedYear = 2099;

// List position of a year in cbannee (year - 2000), kept inside the list.
int YearListIndex(int year);
// The date lists showing a calendar date (day - 1, month - 1, year - 2000).
DateLists DateListsOf(int year, int month, int day);
DateLists DateListsOf(const seams::LocalTime& date);

// --- Julian day and sidereal time -----------------------------------------

// Julian day at 0 h UT; day 0 is the last day of the month before, January
// and February count as months 13 and 14 of the year before.
double JulianDay(int16_t day, double month, int16_t year);
// Mean sidereal time at 0 h UT of that Julian day, seconds in [0, 86400).
double SiderealTime0h(double julianDay);
// The text txtessai shows for the date in the lists: the sidereal time at
// 0 h rounded to 3 decimals, plain form ("23992.193").
QString SiderealTime0hText(const DateLists& dates);
// Writes SiderealTime0hText of boxes.dates into boxes.txtessai.
void ShowSiderealTime0h(TimeBoxes& boxes);

// --- Universal-time clock -------------------------------------------------

// Summer or winter offset (local clock minus UT) the coordinates window
// starts with: 2 when the system clock is on daylight-saving time, else 1.
int16_t DefaultUtOffsetHours(const seams::LocalTime& local);

// How far the local clock is ahead of universal time, in seconds, with the
// season buttons at utOffsetHours: the system's own offset at that moment,
// moved by the hour between summer and winter time when the buttons are set
// against the system's daylight-saving state (a computer whose clock is kept
// in the wrong season). In France it is 3600 x utOffsetHours.
int UtOffsetSeconds(const seams::LocalTime& local, int16_t utOffsetHours);

// Universal time of a local time: the three clock texts, whether UT is still
// on the day before the local date, and the date lists showing the UT date.
// The day before is shown as the date lists always showed it: the local
// month with the day list at local day - 2 (-1 on the first, read as day 0);
// any other UT date as itself.
struct UtClock {
    QString txth;
    QString txtmin;
    QString txts;
    bool previousDay = false;
    DateLists dates;
};
UtClock UtClockOf(const seams::LocalTime& local, int16_t utOffsetHours);

// The Julian day of the date the lists show (day 0 is the last day of the
// month before).
double JulianDayOf(const DateLists& dates);

// Milliseconds from the local time `from` to `to`, negative when `to` is
// earlier (across days, months and years).
double MillisecondsBetween(const seams::LocalTime& from, const seams::LocalTime& to);

// Writes the universal time of seams::Now() (season buttons at
// shared.site.UtOffsetHours) into txth, txtmin, txts. When the UT date
// differs from the date the lists show, the lists are set to it and
// txtessai is recomputed. txtms is left alone.
//
// When the system's daylight-saving state has changed since the season was
// chosen (SeasonDefaultHours), the season follows it: UtOffsetHours becomes
// DefaultUtOffsetHours of the new state.
void UpdateUtClock(TimeBoxes& boxes);

// --- Time conversions -----------------------------------------------------

// Sidereal seconds elapsed in that much universal time.
double SolarToSiderealSeconds(double hours, double minutes, double seconds, int16_t milliseconds);
// An angle in degrees and minutes as seconds of time (rounded to a whole
// second, halves to even), plus an offset in seconds.
double DegMinToTimeSeconds(double degrees, double minutes, int32_t offset);
// Hour angle in radians, not folded into one turn.
double HourAngleRadians(double siderealSeconds, double raSeconds);
// 3600 * hours + 60 * minutes.
double HoursMinutesToSeconds(double hours, double minutes);
