// The axis position counters, the pending pulses and the displays of the
// counters, the goto target and the equatorial position.
#include "core/counters.h"
#include "core/state.h"
#include "platform/vbrt.h"
#include "tests/fixture.h"

#include <gtest/gtest.h>

namespace {

class Counters : public OrvanelTest {};

void ExpectDms(const DmsBoxes& b, const char* deg, const char* min, const char* sec) {
    EXPECT_EQ(b.deg, QString::fromLatin1(deg));
    EXPECT_EQ(b.min, QString::fromLatin1(min));
    EXPECT_EQ(b.sec, QString::fromLatin1(sec));
}

TEST_F(Counters, AzimuthCounterWrapsAtAFullTurnBothWays) {
    struct Case {
        const char* what;
        double start, step;
        int32_t pending;
        double azimuth;
        const char *deg, *min, *sec, *arcsec;
    };
    const Case cases[] = {
        {"10 short of a turn plus 20", 1295990, 10, 2, 10, "0", "0", "10", "10"},
        {"10 less 20", 10, 10, -2, 1295990, "359", "59", "50", "1295990"},
        {"exactly a full turn", 1295980, 10, 2, 0, "0", "0", "0", "0"},
        {"one pulse back from north", 0, 32.4, -1, 1295967.6, "359", "59", "28", "1295967.6"},
        {"one pulse forward from south", 648000, 32.4, 1, 648032.4, "180", "0", "32", "648032.4"},
        {"no pulses", 4000.5, 32.4, 0, 4000.5, "1", "6", "40", "4000.5"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        shared.pos.AzimuthArcsec = c.start;
        shared.site.AzStepArcsec = c.step;
        shared.pos.PendingAzSteps = c.pending;

        const AxisCounterBoxes shown = UpdateAzimuthCounter();

        EXPECT_NEAR(shared.pos.AzimuthArcsec, c.azimuth, 1e-9);
        EXPECT_EQ(shared.pos.PendingAzSteps, 0);
        ExpectDms(shown.dms, c.deg, c.min, c.sec);
        EXPECT_EQ(shown.arcsec, QString::fromLatin1(c.arcsec));
    }
}

TEST_F(Counters, AltitudeCounterIsNotWrapped) {
    struct Case {
        double start, step;
        int32_t pending;
        double altitude;
        const char *deg, *min, *sec, *arcsec;
    };
    const Case cases[] = {
        {0, 18, -100, -1800, "-1", "30", "0", "-1800"},
        {1295990, 10, 2, 1296010, "360", "0", "10", "1296010"},
        {-3600, 10, -6, -3660, "-2", "59", "0", "-3660"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.altitude);
        shared.pos.AltitudeArcsec = c.start;
        shared.site.AltStepArcsec = c.step;
        shared.pos.PendingAltSteps = c.pending;

        const AxisCounterBoxes shown = UpdateAltitudeCounter();

        EXPECT_DOUBLE_EQ(shared.pos.AltitudeArcsec, c.altitude);
        EXPECT_EQ(shared.pos.PendingAltSteps, 0);
        ExpectDms(shown.dms, c.deg, c.min, c.sec);
        EXPECT_EQ(shown.arcsec, QString::fromLatin1(c.arcsec));
    }
}

TEST(CountersDisplay, DegreesMinutesSecondsOfNegativeAndHalfValues) {
    struct Case {
        double arcsec;
        const char *deg, *min, *sec;
    };
    // Degrees and minutes by floor, so a negative value shows a negative
    // degree and positive minutes and seconds that add up to it.
    const Case cases[] = {
        {-1800, "-1", "30", "0"},
        {-3600, "-1", "0", "0"},
        {-3661, "-2", "58", "59"},
        {-59.5, "-1", "59", "0"},     // 0.5 second rounds to 0
        {0, "0", "0", "0"},
        {4000.5, "1", "6", "40"},     // halves to even
        {4001.5, "1", "6", "42"},
        {1295999.4, "359", "59", "59"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.arcsec);
        ExpectDms(DegreesMinutesSeconds(c.arcsec), c.deg, c.min, c.sec);
    }
}

TEST_F(Counters, PendingPulsesFollowTheDirectionFlag) {
    struct Case {
        int16_t flag;
        int pulses;
        int32_t pending;
    };
    // The flag is compared with true (-1): any other value counts down.
    const Case cases[] = {{vb::True, 3, 3}, {vb::False, 3, -3}, {1, 2, -2}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.flag);
        shared.pos.PendingAzSteps = 0;
        shared.pos.PendingAltSteps = 10;
        shared.pos.AzDirectionPlus = c.flag;
        shared.pos.AltDirectionPlus = c.flag;
        for (int i = 0; i < c.pulses; ++i) {
            CountAzStep();
            CountAltStep();
        }
        EXPECT_EQ(shared.pos.PendingAzSteps, c.pending);
        EXPECT_EQ(shared.pos.PendingAltSteps, 10 + c.pending);
    }
}

TEST_F(Counters, PulsesOfAMoveReachTheCountersAtTheNextUpdate) {
    shared.site.AzStepArcsec = 32.4;
    shared.site.AltStepArcsec = 16.2;
    shared.pos.AzimuthArcsec = 1000;
    shared.pos.AltitudeArcsec = 1000;
    shared.pos.AzDirectionPlus = vb::True;
    shared.pos.AltDirectionPlus = vb::False;
    for (int i = 0; i < 3; ++i) {
        CountAzStep();
        CountAltStep();
    }
    UpdateAzimuthCounter();
    UpdateAltitudeCounter();
    EXPECT_DOUBLE_EQ(shared.pos.AzimuthArcsec, 1097.2);
    EXPECT_DOUBLE_EQ(shared.pos.AltitudeArcsec, 951.4);
}

TEST_F(Counters, ZeroStepAngleLeavesTheCountersWhereTheyAre) {
    shared.pos.AzimuthArcsec = 5000;
    shared.pos.PendingAzSteps = 40;
    const AxisCounterBoxes shown = UpdateAzimuthCounter();
    EXPECT_EQ(shared.pos.AzimuthArcsec, 5000);
    EXPECT_EQ(shown.arcsec, "5000");
}

TEST_F(Counters, TelescopeAndGotoTargetDisplays) {
    shared.pos.AzimuthArcsec = 648032.4;
    shared.pos.AltitudeArcsec = -1800;
    shared.altgoto.GotoTargetAz = 3661;
    shared.altgoto.GotoTargetAlt = 324000;
    const AzAltBoxes telescope = ShowTelescopeAzAlt();
    ExpectDms(telescope.az, "180", "0", "32");
    ExpectDms(telescope.alt, "-1", "30", "0");
    const AzAltBoxes target = ShowGotoTargetAzAlt();
    ExpectDms(target.az, "1", "1", "1");
    ExpectDms(target.alt, "90", "0", "0");
}

TEST_F(Counters, EquatorialBoxesOfTheLastConversion) {
    struct Case {
        double raHours, decDeg;
        const char *h, *min, *sign, *deg, *decMin;
    };
    const Case cases[] = {
        {24.0, 10, "0", "0", "+", "10", "0"},
        {-6.5, -0.5, "17", "30", "-", "0", "30"},   // folded into the day
        {25.25, 0, "1", "15", "-", "0", "0"},       // a declination of 0 shows "-"
        {5.123456, 45.2575, "5", "7.41", "+", "45", "15.45"},
        {23.999, -89.99, "23", "59.94", "-", "89", "59.4"},
        {-48.0, 1e-9, "0", "0", "+", "0", "0"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.raHours);
        shared.conv.RaHours = c.raHours;
        shared.conv.TargetDecDeg = c.decDeg;
        const EquatorialBoxes b = ShowSignedCoordinates();
        EXPECT_EQ(b.Txtad_h, QString::fromLatin1(c.h));
        EXPECT_EQ(b.txtad_min, QString::fromLatin1(c.min));
        EXPECT_EQ(b.txtsign, QString::fromLatin1(c.sign));
        EXPECT_EQ(b.txtdec_deg, QString::fromLatin1(c.deg));
        EXPECT_EQ(b.txtdec_min, QString::fromLatin1(c.decMin));
    }
}

}  // namespace
