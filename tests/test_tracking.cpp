// The computations of sidereal tracking: the clock's advance by one tick, the
// calendar day after, whole pulses with their carried fractions, the azimuth
// through north, the mount's frame over the zenith, the increment and its
// spinner, the sidereal time shown, and the tracking settings file.
#include "altaz/altazfiles.h"
#include "core/calendar.h"
#include "core/tracking.h"
#include "platform/datadir.h"
#include "platform/filereport.h"
#include "tests/fixture.h"

#include <QFile>
#include <gtest/gtest.h>
#include <vector>

using namespace tracking;

namespace {

struct ClockCase {
    const char* what;
    int32_t increment;
    Clock from;
    Clock to;
    bool dayRolled;
};

const ClockCase kClock[] = {
    {"500 ms from noon", 500, {12, 0, 0, 0}, {12, 0, 0, 500}, false},
    {"500 ms reaching a second", 500, {12, 0, 0, 500}, {12, 0, 1, 0}, false},
    {"2000 ms at 58 s carries into the minute", 2000, {12, 30, 58, 0}, {12, 31, 0, 0}, false},
    {"300 ms past 900", 300, {12, 0, 0, 900}, {12, 0, 1, 200}, false},
    {"1500 ms from a whole second", 1500, {12, 0, 0, 0}, {12, 0, 1, 500}, false},
    {"1500 ms from half a second carries two seconds", 1500, {12, 0, 1, 500}, {12, 0, 3, 0}, false},
    {"32000 ms, a long increment", 32000, {12, 0, 40, 999}, {12, 1, 12, 999}, false},
    {"second 59 into the next minute", 500, {12, 58, 59, 500}, {12, 59, 0, 0}, false},
    {"minute 59 into the next hour", 500, {12, 59, 59, 500}, {13, 0, 0, 0}, false},
    {"the last second of the day", 500, {23, 59, 59, 500}, {0, 0, 0, 0}, true},
    {"2000 ms from 23:59:58 crosses midnight", 2000, {23, 59, 58, 0}, {0, 0, 0, 0}, true},
    {"1000 ms within the last minute", 1000, {23, 59, 57, 0}, {23, 59, 58, 0}, false},
    {"no overflow changes only the milliseconds", 300, {23, 59, 59, 600}, {23, 59, 59, 900}, false},
};

TEST(TrackingClock, OneTickAdvancesTheClockByTheIncrement) {
    for (const ClockCase& c : kClock) {
        SCOPED_TRACE(c.what);
        const ClockStep step = AdvanceClock(c.from, c.increment);
        EXPECT_EQ(step.clock, c.to);
        EXPECT_EQ(step.dayRolled, c.dayRolled);
    }
}

TEST(TrackingClock, ThreeHundredMillisecondsComeBackToZeroAfterTenTicks) {
    Clock c{12, 0, 0, 0};
    std::vector<double> ms;
    for (int i = 0; i < 10; ++i) {
        c = AdvanceClock(c, 300).clock;
        ms.push_back(c.ms);
    }
    EXPECT_EQ(ms, (std::vector<double>{300, 600, 900, 200, 500, 800, 100, 400, 700, 0}));
    EXPECT_EQ(c, (Clock{12, 0, 3, 0}));
}

TEST(TrackingClock, FifteenHundredMillisecondsKeepPaceForAnHour) {
    Clock c{12, 0, 0, 0};
    for (int i = 0; i < 2400; ++i) c = AdvanceClock(c, 1500).clock;
    EXPECT_EQ(c, (Clock{13, 0, 0, 0}));
}

TEST(TrackingClock, TheDayAfterIsACalendarDay) {
    struct Case {
        const char* what;
        DateLists from, to;  // day - 1, month - 1, year - 2000
    } cases[] = {
        {"within a month", {9, 11, 26}, {10, 11, 26}},
        {"31 December 2026 to 1 January 2027", {30, 11, 26}, {0, 0, 27}},
        {"28 February 2027 to 1 March", {27, 1, 27}, {0, 2, 27}},
        {"28 February 2028 to the 29th", {27, 1, 28}, {28, 1, 28}},
        {"29 February 2028 to 1 March", {28, 1, 28}, {0, 2, 28}},
        {"30 April to 1 May", {29, 3, 27}, {0, 4, 27}},
        {"day 0 of March 2027 (28 February) to 1 March", {-1, 2, 27}, {0, 2, 27}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const DateLists next = NextDay(c.from);
        EXPECT_EQ(next.cbjour, c.to.cbjour);
        EXPECT_EQ(next.cbmois, c.to.cbmois);
        EXPECT_EQ(next.cbannee, c.to.cbannee);
    }
}

TEST(TrackingCatchUp, TheObjectOfTheBoxesAsAGotoTargetAndTheCatchUpsReach) {
    struct Case {
        EquatorialBoxes boxes;
        double ra, dec;  // tenths of a minute of time and of arc
    } cases[] = {
        {{"12", "30.45", "+", "41", "16.5"}, 7504.5, 24765},
        {{" 5", " 32.7", "-", "2", "3.4"}, 3327, -1234},
        {{"0", "0", "-", "0", "30"}, 0, -300},
        {{"23", "59.9", "+", "90", "0"}, 14399, 54000},
    };
    for (const Case& c : cases) {
        const tracking::GotoTarget t = tracking::GotoTargetOf(c.boxes);
        EXPECT_DOUBLE_EQ(t.ra, c.ra) << c.boxes.Txtad_h.toStdString();
        EXPECT_DOUBLE_EQ(t.dec, c.dec) << c.boxes.txtdec_deg.toStdString();
    }
    // The goto's tolerance, or three pulses of a coarser mechanics.
    EXPECT_EQ(tracking::CatchUpArcsec(32.4), 120);
    EXPECT_DOUBLE_EQ(tracking::CatchUpArcsec(64.8), 194.4);
}

TEST(TrackingPulses, SignedPulsesCarryTheirFractions) {
    struct Tick {
        double change;
        double count, remainder;
    };
    struct Case {
        const char* what;
        std::vector<Tick> ticks;  // pulse angle 10 arc-seconds
    } cases[] = {
        {"0.4 three times", {{4, 0, 0.4}, {4, 0, 0.8}, {4, 1, 0.2}}},
        {"a negative change counts the other way", {{-4, 0, -0.4}, {-4, 0, -0.8}, {-4, -1, -0.2}}},
        {"0.5 rounds to 0", {{5, 0, 0.5}}},
        {"1.5 rounds to 2", {{15, 2, -0.5}}},
        {"0.6 rounds up and carries down", {{6, 1, -0.4}, {6, 1, -0.8}, {6, 0, -0.2}}},
        {"a reversal makes up the fraction carried", {{4, 0, 0.4}, {-4, 0, 0}, {4, 0, 0.4}}},
        {"a pulse sent one way too many is taken back", {{6, 1, -0.4}, {-2, 0, -0.6}, {-2, 0, -0.8}, {-2, -1, 0}}},
        {"no change, no pulse", {{0, 0, 0}, {0, 0, 0}}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        double remainder = 0;
        for (const Tick& t : c.ticks) {
            const Pulses p = PulsesOf(t.change, 10, remainder);
            EXPECT_EQ(p.count, t.count);
            EXPECT_NEAR(p.remainder, t.remainder, 1e-9);
            remainder = p.remainder;
        }
    }
}

TEST(TrackingPulses, MechanicsNotSetUpSendNothing) {
    const Pulses p = PulsesOf(500, 0, 0.3);
    EXPECT_EQ(p.count, 0);
    EXPECT_DOUBLE_EQ(p.remainder, 0.3);
}

TEST(TrackingPulses, AzimuthChangesThroughNorth) {
    struct Case {
        double a1, a0, change;
    } cases[] = {
        {10, 1295990, 20},
        {1295990, 10, -20},
        {500, 100, 400},
        {100, 500, -400},
        {360100, 100, 360000},            // exactly 100 degrees: taken as it is
        {360101, 100, 360001 - 1296000},  // beyond: through north
    };
    for (const Case& c : cases) EXPECT_DOUBLE_EQ(AzimuthChange(c.a1, c.a0), c.change) << c.a1 << " from " << c.a0;
}

TEST(TrackingFrame, OverTheZenithTheMountLooksTheOtherWay) {
    struct Case {
        const char* what;
        double azDeg, altDeg;
        bool azimuthDefined, pastZenith;
        double mountAzDeg, mountAltDeg;
    } cases[] = {
        {"as it is", 10, 89, true, false, 10, 89},
        {"over the zenith", 10, 89, true, true, 190, 91},
        {"over the zenith, across north", 350, 89.5, true, true, 170, 90.5},
        {"at the zenith the azimuth is kept", 0, 90, false, true, 123, 90},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        Horizontal h;
        h.altDeg = c.altDeg;
        h.azimuthDefined = c.azimuthDefined;
        h.azDeg = c.azDeg;
        const AxisPoint m = InMountFrame(h, c.pastZenith, 123 * 3600);
        EXPECT_NEAR(m.az, c.mountAzDeg * 3600, 1e-6);
        EXPECT_NEAR(m.alt, c.mountAltDeg * 3600, 1e-6);
    }
}

TEST(TrackingIncrement, TheSpinnerStepsAndStopsAtItsEnds) {
    struct Case {
        double from, up, down;
    } cases[] = {
        {900, 1000, 800}, {1000, 2000, 900}, {2000, 3000, 1000}, {1500, 2500, 500}, {150, 250, 50},
        {100, 200, 100},  {50, 150, 50},     {31500, 32500, 30500}, {32000, 32767, 31000},
        {32500, 32767, 31500}, {32767, 32767, 31767},  // up to the longest increment that may be typed
    };
    for (const Case& c : cases) {
        EXPECT_EQ(IncrementUp(c.from), c.up) << c.from;
        EXPECT_EQ(IncrementDown(c.from), c.down) << c.from;
    }
}

TEST(TrackingDisplay, SiderealTimeInHoursMinutesSeconds) {
    struct Case {
        int32_t seconds;
        const char *h, *m, *s;
    } cases[] = {{0, "0", "0", "0"}, {3661, "1", "1", "1"}, {86399, "23", "59", "59"}, {45296, "12", "34", "56"}};
    for (const Case& c : cases) {
        const HourMinuteSecond b = SiderealTimeBoxes(c.seconds);
        EXPECT_EQ(b.h, c.h);
        EXPECT_EQ(b.m, c.m);
        EXPECT_EQ(b.s, c.s);
    }
}

class TrackingFile : public OrvanelTest {};

TEST_F(TrackingFile, ReadsTheThreeLinesAndToldWhatIsMissing) {
    struct Case {
        const char* what;
        const char* content;  // null: no file
        double increment;
        int32_t az, alt;
        bool told;
    } cases[] = {
        {"whole file", "700\r\n1200\r\n3400\r\n", 700, 1200, 3400, false},
        {"missing", nullptr, 500, 100000, 100000, true},
        {"one line", "700\r\n", 700, 100000, 100000, true},
        {"a delay not a number", "700\r\nvite\r\n3400\r\n", 700, 100000, 3400, true},
        {"a delay past 32 bits", "700\r\n5000000000\r\n3400\r\n", 700, 100000, 3400, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        messages.clear();
        filereport::Reset();
        QFile::remove(datadir::Path(altazfiles::kSuivi));
        if (c.content) WriteData("suivialtaz.ini", QByteArray(c.content));
        const altazfiles::SuiviAltaz s = altazfiles::ReadSuiviAltaz();
        EXPECT_EQ(s.increment, c.increment);
        EXPECT_EQ(s.delayAz, c.az);
        EXPECT_EQ(s.delayAlt, c.alt);
        ASSERT_EQ(messages.size(), c.told ? 1 : 0);
        if (c.told) {
            EXPECT_TRUE(messages[0].contains("suivialtaz.ini"));
        }
    }
}

}  // namespace
