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
    {"summer, local 00:30 on the 1st, lists still on 31 July", {2026, 8, 1, 0, 30, 0, 0, true}, 2, {30, 6, 26},
     "22", "30", "0", {-1, 7, 26}, "74071.688"},
    {"winter, local 00:10 on 1 January, lists on 31 December", {2027, 1, 1, 0, 10, 0, 0, false}, 1, {30, 11, 26},
     "23", "10", "0", {-1, 0, 27}, "23864.66"},
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

}  // namespace
