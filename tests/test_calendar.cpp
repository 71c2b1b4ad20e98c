// The calendar, the sidereal time at 0 h and the universal-time clock.
// Expected Julian days and sidereal times were worked out separately (Julian
// day by counting days from 1 January 2000, 2451544.5).
#include "core/calendar.h"
#include "core/state.h"
#include "tests/fixture.h"

#include <gtest/gtest.h>

namespace {

struct CalendarCase {
    const char* what;
    DateLists lists;   // day - 1, month - 1, year - 2000
    double julianDay;
    const char* txtessai;
};

const CalendarCase kCalendar[] = {
    {"1 January 2000", {0, 0, 0}, 2451544.5, "23992.193"},
    {"29 February 2004", {28, 1, 4}, 2453064.5, "37956.349"},
    {"1 March 2004, the day after", {0, 2, 4}, 2453065.5, "38192.904"},
    {"day 0 of March 2004 is 29 February", {-1, 2, 4}, 2453064.5, "37956.349"},
    {"day 0 of January 2026 is 31 December 2025", {-1, 0, 26}, 2461040.5, "23921.951"},
    {"1 January 2010, past the old ten-year list", {0, 0, 10}, 2455197.5, "24128.944"},
    {"15 July 2026", {14, 6, 26}, 2461236.5, "70286.803"},
    {"31 December 2026, trailing zero dropped", {30, 11, 26}, 2461405.5, "23864.66"},
    {"31 December 2099, the last year listed", {30, 11, 99}, 2488068.5, "23940.458"},
};

TEST(Calendar, JulianDayAndSiderealTimeOfTheDateLists) {
    for (const CalendarCase& c : kCalendar) {
        SCOPED_TRACE(c.what);
        const auto day = static_cast<int16_t>(c.lists.cbjour + 1);
        const auto year = static_cast<int16_t>(c.lists.cbannee + 2000);
        EXPECT_DOUBLE_EQ(JulianDay(day, c.lists.cbmois + 1, year), c.julianDay);

        TimeBoxes boxes;
        boxes.dates = c.lists;
        ShowSiderealTime0h(boxes);
        EXPECT_EQ(boxes.txtessai, QString::fromLatin1(c.txtessai));
    }
}

TEST(Calendar, MillisecondsBetweenTwoLocalTimes) {
    struct Case {
        seams::LocalTime from, to;
        double ms;
    } cases[] = {
        {{2026, 12, 10, 21, 0, 0, 0}, {2026, 12, 10, 21, 0, 0, 250}, 250},
        {{2026, 12, 10, 21, 0, 59, 900}, {2026, 12, 10, 21, 1, 0, 100}, 200},
        {{2026, 12, 31, 23, 59, 59, 500}, {2027, 1, 1, 0, 0, 0, 0}, 500},
        {{2026, 12, 10, 21, 0, 1, 0}, {2026, 12, 10, 21, 0, 0, 0}, -1000},
    };
    for (const Case& c : cases) EXPECT_EQ(MillisecondsBetween(c.from, c.to), c.ms);
}

TEST(Calendar, DateListsHoldDaysMonthsAndAHundredYears) {
    const DateListItems items = FillDateLists();
    ASSERT_EQ(items.cbjour.size(), 31);
    EXPECT_EQ(items.cbjour.first(), "1");
    EXPECT_EQ(items.cbjour.last(), "31");
    EXPECT_EQ(items.cbmois, QStringList({"janvier", "février", "mars", "avril", "mai", "juin", "juillet", "août",
                                         "septembre", "octobre", "novembre", "décembre"}));
    ASSERT_EQ(items.cbannee.size(), 100);
    EXPECT_EQ(items.cbannee.first(), "2000");
    EXPECT_EQ(items.cbannee.at(26), "2026");
    EXPECT_EQ(items.cbannee.last(), "2099");
}

TEST(Calendar, DateListPositionsOfADate) {
    struct Case {
        int year, month, day;
        DateLists expected;
    };
    const Case cases[] = {
        {2026, 12, 10, {9, 11, 26}},
        {2000, 1, 1, {0, 0, 0}},
        {2099, 12, 31, {30, 11, 99}},
        {1999, 6, 1, {0, 5, 0}},    // a clock before the list keeps its first year
        {2100, 6, 1, {0, 5, 99}},   // and after it, its last
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.year);
        const DateLists d = DateListsOf(c.year, c.month, c.day);
        EXPECT_EQ(d.cbjour, c.expected.cbjour);
        EXPECT_EQ(d.cbmois, c.expected.cbmois);
        EXPECT_EQ(d.cbannee, c.expected.cbannee);
    }
}

TEST(Calendar, SummerOrWinterFollowsTheSystemsDaylightSaving) {
    struct Case {
        int month, day;
        bool daylightSaving;
        int16_t offset;
    };
    // April and the end of October were a month rule's mistakes.
    const Case cases[] = {{4, 15, true, 2}, {5, 1, true, 2}, {10, 30, false, 1}, {11, 2, false, 1}, {1, 10, false, 1}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.month);
        seams::LocalTime t{2026, c.month, c.day, 12, 0, 0, 0, c.daylightSaving};
        EXPECT_EQ(DefaultUtOffsetHours(t), c.offset);
    }
}

TEST(Calendar, AngleToTimeRoundsHalvesToEven) {
    EXPECT_EQ(DegMinToTimeSeconds(2, 20, 0), 560);
    EXPECT_EQ(DegMinToTimeSeconds(0, 0.125, 0), 0);    // 0.5 s rounds to 0
    EXPECT_EQ(DegMinToTimeSeconds(0, 0.375, 10), 12);  // 1.5 s rounds to 2
    EXPECT_EQ(DegMinToTimeSeconds(-75, -30, 100), -18020);
}

class CalendarClock : public OrvanelTest {};

struct ClockCase {
    const char* what;
    seams::LocalTime local;
    int16_t offset;
    DateLists before;
    const char* txth;
    const char* txtmin;
    const char* txts;
    DateLists after;
    const char* txtessai;  // "old" when it is not recomputed
};

const ClockCase kClock[] = {
    {"summer, local 00:30 on the 15th", {2026, 7, 15, 0, 30, 5, 0, true}, 2, {14, 6, 26},
     "22", "30", "5", {13, 6, 26}, "70050.247"},
    {"summer, local 01:30", {2026, 7, 15, 1, 30, 0, 0, true}, 2, {14, 6, 26},
     "23", "30", "0", {13, 6, 26}, "70050.247"},
    {"winter, local 00:30", {2026, 12, 10, 0, 30, 0, 0, false}, 1, {9, 11, 26},
     "23", "30", "0", {8, 11, 26}, "18660.442"},
    {"winter, local 01:30", {2026, 12, 10, 1, 30, 0, 0, false}, 1, {9, 11, 26},
     "0", "30", "0", {9, 11, 26}, "old"},
    {"summer, local 00:30 on the 1st: day 0, the last of July", {2026, 8, 1, 0, 30, 0, 0, true}, 2, {0, 7, 26},
     "22", "30", "0", {-1, 7, 26}, "74071.688"},
    {"summer, local 00:30 on the 1st, lists already on 31 July stay", {2026, 8, 1, 0, 30, 0, 0, true}, 2,
     {30, 6, 26}, "22", "30", "0", {30, 6, 26}, "old"},
    {"winter, local 00:10 on 1 January, lists already on 31 December stay", {2027, 1, 1, 0, 10, 0, 0, false}, 1,
     {30, 11, 26}, "23", "10", "0", {30, 11, 26}, "old"},
    {"lists a day behind at an ordinary hour", {2026, 7, 15, 14, 5, 9, 0, true}, 2, {13, 6, 26},
     "12", "5", "9", {14, 6, 26}, "70286.803"},
    {"summer, an ordinary hour", {2026, 7, 15, 14, 5, 9, 0, true}, 2, {14, 6, 26},
     "12", "5", "9", {14, 6, 26}, "old"},
    {"winter, just before local midnight", {2026, 12, 10, 23, 59, 59, 0, false}, 1, {9, 11, 26},
     "22", "59", "59", {9, 11, 26}, "old"},
    {"summer, universal midnight", {2026, 7, 15, 2, 0, 0, 0, true}, 2, {14, 6, 26},
     "0", "0", "0", {14, 6, 26}, "old"},
};

TEST_F(CalendarClock, UpdateUtClockWritesUniversalTimeAndMovesTheDayBack) {
    for (const ClockCase& c : kClock) {
        SCOPED_TRACE(c.what);
        clock = c.local;
        shared.site.UtOffsetHours = c.offset;
        TimeBoxes boxes;
        boxes.dates = c.before;
        boxes.clock = {"x", "x", "x", "250"};
        boxes.txtessai = "old";

        UpdateUtClock(boxes);

        EXPECT_EQ(boxes.clock.txth, QString::fromLatin1(c.txth));
        EXPECT_EQ(boxes.clock.txtmin, QString::fromLatin1(c.txtmin));
        EXPECT_EQ(boxes.clock.txts, QString::fromLatin1(c.txts));
        EXPECT_EQ(boxes.clock.txtms, "250");
        EXPECT_EQ(boxes.dates.cbjour, c.after.cbjour);
        EXPECT_EQ(boxes.dates.cbmois, c.after.cbmois);
        EXPECT_EQ(boxes.dates.cbannee, c.after.cbannee);
        EXPECT_EQ(boxes.txtessai, QString::fromLatin1(c.txtessai));
    }
}

struct ZoneCase {
    const char* what;
    seams::LocalTime local;  // with the system's offset from UT, in seconds
    int16_t seasonButtons;   // 2 "été", 1 "hivers"
    const char* ut;          // the three clock boxes
    DateLists utDate;        // the lists on the UT date
};

constexpr int kHour = 3600;

const ZoneCase kZones[] = {
    {"Paris, winter", {2026, 12, 10, 21, 30, 15, 0, false, kHour}, 1, "20 30 15", {9, 11, 26}},
    {"Paris, summer", {2026, 7, 15, 21, 30, 15, 0, true, 2 * kHour}, 2, "19 30 15", {14, 6, 26}},
    {"Paris, summer, local 01:30", {2026, 7, 15, 1, 30, 0, 0, true, 2 * kHour}, 2, "23 30 0", {13, 6, 26}},
    {"UTC", {2026, 12, 10, 21, 30, 15, 0, false, 0}, 1, "21 30 15", {9, 11, 26}},
    {"UTC, just after midnight", {2026, 12, 11, 0, 30, 0, 0, false, 0}, 1, "0 30 0", {10, 11, 26}},
    {"New York, winter evening: UT is on the next day", {2026, 12, 10, 21, 30, 15, 0, false, -5 * kHour}, 1,
     "2 30 15", {10, 11, 26}},
    {"New York, summer evening", {2026, 7, 15, 21, 30, 15, 0, true, -4 * kHour}, 2, "1 30 15", {15, 6, 26}},
    {"New York, New Year's Eve: UT is in the next year", {2026, 12, 31, 20, 0, 0, 0, false, -5 * kHour}, 1,
     "1 0 0", {0, 0, 27}},
    {"Tokyo, morning: UT is on the day before", {2026, 12, 10, 8, 15, 0, 0, false, 9 * kHour}, 1, "23 15 0",
     {8, 11, 26}},
    {"India, evening", {2026, 12, 10, 21, 30, 15, 0, false, 19800}, 1, "16 0 15", {9, 11, 26}},
    {"India, early morning", {2026, 12, 11, 3, 10, 0, 0, false, 19800}, 1, "21 40 0", {9, 11, 26}},
    {"Nepal, a quarter-hour zone", {2026, 12, 10, 12, 0, 0, 0, false, 20700}, 1, "6 15 0", {9, 11, 26}},
    {"Paris winter with the summer button: an hour more", {2026, 12, 10, 21, 30, 15, 0, false, kHour}, 2,
     "19 30 15", {9, 11, 26}},
    {"Paris summer with the winter button: an hour less", {2026, 7, 15, 21, 30, 15, 0, true, 2 * kHour}, 1,
     "20 30 15", {14, 6, 26}},
    {"New York winter with the summer button", {2026, 12, 10, 21, 30, 15, 0, false, -5 * kHour}, 2, "1 30 15",
     {10, 11, 26}},
};

TEST_F(CalendarClock, UniversalTimeInEveryZone) {
    for (const ZoneCase& c : kZones) {
        SCOPED_TRACE(c.what);
        clock = c.local;
        // The season chosen while the system was in this daylight-saving state.
        shared.site.SeasonDefaultHours = DefaultUtOffsetHours(c.local);
        shared.site.UtOffsetHours = c.seasonButtons;
        TimeBoxes boxes;
        boxes.dates = DateListsOf(c.local);  // the lists on the local date
        ShowSiderealTime0h(boxes);

        UpdateUtClock(boxes);

        const QString ut = boxes.clock.txth + u' ' + boxes.clock.txtmin + u' ' + boxes.clock.txts;
        EXPECT_EQ(ut, QString::fromLatin1(c.ut));
        EXPECT_EQ(JulianDayOf(boxes.dates), JulianDayOf(c.utDate));
        EXPECT_EQ(boxes.txtessai, SiderealTime0hText(c.utDate));
        EXPECT_EQ(shared.site.UtOffsetHours, c.seasonButtons) << "the buttons stay as they were set";
    }
}

TEST_F(CalendarClock, AClockThatDoesNotGiveItsOffsetIsTakenAsFrenchTime) {
    // Winter 1 h, summer 2 h: what the program always did.
    clock = {2026, 12, 10, 21, 30, 15, 0, false};
    EXPECT_EQ(UtOffsetSeconds(clock, 1), kHour);
    clock = {2026, 7, 15, 21, 30, 15, 0, true};
    EXPECT_EQ(UtOffsetSeconds(clock, 2), 2 * kHour);
}

TEST_F(CalendarClock, TheSeasonFollowsTheSystemWhenDaylightSavingChanges) {
    struct Step {
        seams::LocalTime local;
        const char* ut;
        int16_t buttons;  // the season after the tick
    };
    // The night summer time ends in Paris: 02:59:59 summer time, then the
    // clock goes back to 02:00:00 winter time.
    const Step steps[] = {
        {{2026, 10, 25, 2, 59, 59, 0, true, 2 * kHour}, "0 59 59", 2},
        {{2026, 10, 25, 2, 0, 0, 0, false, kHour}, "1 0 0", 1},
        {{2026, 10, 25, 2, 0, 1, 0, false, kHour}, "1 0 1", 1},
    };
    shared.site.UtOffsetHours = 2;  // as the coordinates window set it in summer
    shared.site.SeasonDefaultHours = 2;
    TimeBoxes boxes;
    boxes.dates = DateListsOf(2026, 10, 25);
    for (const Step& s : steps) {
        clock = s.local;
        UpdateUtClock(boxes);
        EXPECT_EQ(boxes.clock.txth + u' ' + boxes.clock.txtmin + u' ' + boxes.clock.txts, QString::fromLatin1(s.ut));
        EXPECT_EQ(shared.site.UtOffsetHours, s.buttons);
    }
    // The user's choice against the system holds until the system changes.
    shared.site.UtOffsetHours = 2;
    clock = {2026, 10, 25, 3, 0, 0, 0, false, kHour};
    UpdateUtClock(boxes);
    EXPECT_EQ(boxes.clock.txth, "1");
    EXPECT_EQ(shared.site.UtOffsetHours, 2);
}

}  // namespace
