// Equatorial <-> horizontal conversions and the angle helpers. The expected
// positions were computed separately with the textbook formulas (atan2 of the
// azimuth's sine and cosine), not with the program's quarter rules.
#include "core/calendar.h"
#include "core/conversions.h"
#include "core/numbers.h"
#include "core/state.h"
#include "platform/vbrt.h"
#include "tests/fixture.h"

#include <gtest/gtest.h>

#include <cmath>

namespace {

// Difference of two azimuths in arc-seconds, across north.
double AzimuthGap(double a, double b) {
    double d = std::fmod(std::fabs(a - b), 1296000.0);
    return std::min(d, 1296000.0 - d);
}

TEST(ConversionHelpers, ArcSinAndArcCosStayWithinTheirRange) {
    struct Case {
        double x, arcsin, arccos;
    };
    const Case cases[] = {
        {0.5, Pi / 6, Pi / 3},
        {-0.5, -Pi / 6, -Pi / 3},  // the arccosine 2 pi / 3 less pi
        {0, 0, Pi / 2},
        {1, Pi / 2, 0},
        {-1, -Pi / 2, 0},
        {1.0000001, Pi / 2, 0},    // rounding past 1 counts as 1
        {-3, -Pi / 2, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.x);
        EXPECT_NEAR(ArcSin(c.x), c.arcsin, 1e-12);
        EXPECT_NEAR(ArcCos(c.x), c.arccos, 1e-12);
    }
}

TEST(ConversionHelpers, StepAngleOfAnAxis) {
    struct Case {
        double steps, ratio, arcsec;
    };
    const Case cases[] = {
        {200, 100, 32.4},
        {200.5, 100, 32.4},      // steps rounded to 200 (halves to even)
        {201.5, 100, 32.079},    // to 202, result to 3 decimals
        {48, 7, 1928.571},
        {0, 100, 0},             // mechanics not set up
        {200, 0, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.steps);
        EXPECT_DOUBLE_EQ(StepAngleArcsec(c.steps, c.ratio), c.arcsec);
    }
}

TEST(ConversionHelpers, SiteDegreesKeepTheirSignOnZero) {
    struct Case {
        const char* text;
        double degrees;
        const char* shown;
    } cases[] = {
        {"-33", -33, "-33"}, {"2", 2, "2"}, {"-0", -0.0, "-0"}, {" -0.0", -0.0, "-0"},
        {"0", 0, "0"},       {"", 0, "0"},  {"-12.5", -12.5, "-12.5"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        const double v = SiteDegreesValue(QString::fromLatin1(c.text));
        EXPECT_EQ(v, c.degrees);
        EXPECT_EQ(std::signbit(v), std::signbit(c.degrees));
        EXPECT_EQ(SiteDegreesText(v), c.shown);
    }
    // One sign for the whole angle, from the degrees or the minutes.
    EXPECT_DOUBLE_EQ(SiteAngleDegrees(-0.0, 30), -0.5);
    EXPECT_DOUBLE_EQ(SiteAngleDegrees(0, -30), -0.5);
    EXPECT_DOUBLE_EQ(SiteAngleDegrees(-33, 54), -33.9);
    EXPECT_DOUBLE_EQ(SiteAngleDegrees(-33, -54), -33.9);
    EXPECT_DOUBLE_EQ(SiteAngleDegrees(48, 50), 48 + 50 / 60.0);
}

class Conversions : public OrvanelTest {};

TEST_F(Conversions, StepAnglesReadTheirAxisSettings) {
    shared.site.SiteAndMount.AzMotorSteps = 200;
    shared.site.AzimuthRatio = 100;
    shared.site.SiteAndMount.AltMotorSteps = 400;
    shared.site.SiteAndMount.AltitudeRatio = 50;
    EXPECT_DOUBLE_EQ(AzimuthStepArcsec(), 32.4);
    EXPECT_DOUBLE_EQ(AltitudeStepArcsec(), 32.4);
    shared.site.SiteAndMount.AltitudeRatio = 25;
    EXPECT_DOUBLE_EQ(AltitudeStepArcsec(), 64.8);
}

struct Site {
    double latDeg, latMin, lonDeg, lonMin;
};
constexpr Site kNorth{45, 30, 2, 20};      // 45 deg 30' N, 2 deg 20' E
constexpr Site kWest{48, 51, -75, -30};    // western longitude
constexpr Site kSouth{-33, -52, 151, 12};  // southern hemisphere, far east

void UseSite(const Site& s) {
    shared.site.SiteAndMount.SiteLatitudeDeg = s.latDeg;
    shared.site.SiteAndMount.SiteLatitudeMin = s.latMin;
    shared.site.SiteAndMount.SiteLongitudeDeg = s.lonDeg;
    shared.site.SiteAndMount.SiteLongitudeMin = s.lonMin;
}

struct SkyCase {
    const char* what;
    Site site;
    const char *txtessai, *txth, *txtmin, *txts, *txtms;
    const char *Txtad_h, *txtad_min, *txtsign, *txtdec_deg, *txtdec_min;
    double azimuth, altitude;  // arc-seconds
    int32_t localSidereal;
};

const SkyCase kSky[] = {
    {"east of the meridian", kNorth, "18000", "0", "0", "0", "0", "8", "0", "+", "20", "0",
     402027.2507, 168263.4078, 18560},
    {"west of the meridian", kNorth, "18000", "0", "0", "0", "0", "2", "0", "+", "20", "0",
     909909.4594, 157161.5764, 18560},
    {"on the meridian, south of the zenith", kNorth, "17440", "0", "0", "0", "0", "5", "0", "+", "10", "15",
     648000.0, 197100.0, 18000},
    {"on the meridian, north of the zenith", kNorth, "17440", "0", "0", "0", "0", "5", "0", "+", "70", "0",
     0.0, 235800.0, 18000},
    {"on the meridian below the pole", kNorth, "17440", "0", "0", "0", "0", "17", "0", "+", "80", "0",
     0.0, 127800.0, 18000},
    {"near the pole", kNorth, "23992.193", "21", "30", "15", "0", "2", "31.8", "+", "89", "15.85",
     1294216.8881, 166139.5090, 15779},
    {"on the horizon, due west", kNorth, "17440", "0", "0", "0", "0", "23", "0", "-", "0", "0",
     972000.0, 0.0, 18000},
    {"near the horizon, east", kNorth, "17440", "0", "0", "0", "0", "11", "0", "+", "1", "12",
     320971.8467, 3081.1313, 18000},
    {"southern declination", kNorth, "17440", "0", "0", "0", "0", "6", "30", "-", "35", "0",
     581725.1081, 25090.6104, 18000},
    {"southern site, southern declination", kSouth, "50000", "10", "0", "0", "0", "12", "0", "-", "60", "0",
     548447.3629, 206446.4545, 35987},
    {"southern site, northern declination below the horizon", kSouth, "50000", "10", "0", "0", "0", "20", "0",
     "+", "10", "0", 446337.8045, -193113.3203, 35987},
    {"western site, sidereal sum below 0", kWest, "1000", "1", "0", "0", "0", "19", "45", "+", "30", "0",
     718168.9767, 253126.8236, 72890},
    {"eastern site, sidereal sum past two days", kSouth, "80000", "23", "59", "59", "0", "9", "0", "+", "5", "0",
     53396.8280, 180403.1607, 30124},
    {"empty sign box is south", kNorth, "18000", "0", "0", "0", "0", "8", "0", "", "20", "0",
     500390.5822, 50067.4793, 18560},
    {"milliseconds count", kNorth, "17440", "0", "0", "0", "500", "5", "0", "+", "10", "15",
     648012.8226, 197099.9998, 18001},
};

TEST_F(Conversions, EquatorialToHorizontalAcrossTheSky) {
    for (const SkyCase& c : kSky) {
        SCOPED_TRACE(c.what);
        ResetSharedState();
        UseSite(c.site);
        shared.drive.DeltaAz = 5;
        shared.drive.DeltaAlt = 5;
        TimeBoxes time;
        time.txtessai = c.txtessai;
        time.clock = {c.txth, c.txtmin, c.txts, c.txtms};
        const EquatorialBoxes typed{c.Txtad_h, c.txtad_min, c.txtsign, c.txtdec_deg, c.txtdec_min};

        EquatorialToHorizontal(time, typed);

        EXPECT_LT(AzimuthGap(shared.pos.AzimuthArcsec, c.azimuth), 0.01) << shared.pos.AzimuthArcsec;
        EXPECT_GE(shared.pos.AzimuthArcsec, 0);
        EXPECT_LE(shared.pos.AzimuthArcsec, 1296000);
        EXPECT_NEAR(shared.pos.AltitudeArcsec, c.altitude, 0.01);
        EXPECT_EQ(shared.pos.LocalSiderealSeconds, c.localSidereal);
        EXPECT_DOUBLE_EQ(shared.conv.TargetAzDeg * 3600, shared.pos.AzimuthArcsec);
        EXPECT_DOUBLE_EQ(shared.conv.TargetAltDeg * 3600, shared.pos.AltitudeArcsec);
        EXPECT_EQ(shared.drive.DeltaAz, 0);
        EXPECT_EQ(shared.drive.DeltaAlt, 0);
    }
}

TEST_F(Conversions, EquatorialToHorizontalSetsTheTargetValues) {
    UseSite(kNorth);
    TimeBoxes time;
    time.txtessai = "17440";
    time.clock = {"0", "0", "0", "0"};
    EquatorialToHorizontal(time, {"6", "30", "-", "35", "15"});
    EXPECT_NEAR(shared.conv.ObserverLatitudeRad, 45.5 * Pi / 180, 1e-15);
    EXPECT_NEAR(shared.conv.TargetRaRad, 97.5 * Pi / 180, 1e-15);
    EXPECT_NEAR(shared.conv.TargetDecRad, -35.25 * Pi / 180, 1e-15);
}

TEST_F(Conversions, AtTheZenithTheAzimuthIsKept) {
    UseSite(kNorth);
    shared.pos.AzimuthArcsec = 123456;
    shared.conv.TargetAzDeg = 123456.0 / 3600;
    TimeBoxes time;
    time.txtessai = "17440";
    time.clock = {"0", "0", "0", "0"};
    EquatorialToHorizontal(time, {"5", "0", "+", "45", "30"});
    EXPECT_NEAR(shared.pos.AltitudeArcsec, 324000, 0.01);
    EXPECT_EQ(shared.pos.AzimuthArcsec, 123456);
    EXPECT_DOUBLE_EQ(shared.conv.TargetAzDeg, 123456.0 / 3600);
}

TEST_F(Conversions, HorizontalToEquatorialOfTheCounters) {
    struct Case {
        double azimuth, altitude, decDeg, raHours;
    };
    const Case cases[] = {
        {648000, 108000, -14.5, 4.383096657},     // due south, on the meridian
        {324000, 72000, 14.119555400, 9.428998304},  // east
        {972000, 162000, 30.287830513, 0.718227971}, // west
        {0, 36000, 54.5, 16.383096657},           // north, below the pole
        {0, 216000, 75.5, 4.383096657},           // north, above the pole
        {1000000, -20000, 1.453120111, 21.753897288},  // below the horizon
    };
    UseSite(kNorth);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.azimuth);
        TimeBoxes time;
        time.dates = {0, 0, 0};  // 1 January 2000
        time.clock = {"21", "30", "15", "0"};
        time.txtessai = "x";
        shared.pos.AzimuthArcsec = c.azimuth;
        shared.pos.AltitudeArcsec = c.altitude;

        HorizontalToEquatorial(time);

        EXPECT_EQ(time.txtessai, "23992.193");
        EXPECT_NEAR(shared.conv.TargetDecDeg, c.decDeg, 1e-7);
        EXPECT_NEAR(shared.conv.TargetDecRad, c.decDeg * Pi / 180, 1e-9);
        double ra = std::fmod(shared.conv.RaHours, 24.0);
        if (ra < 0) ra += 24;
        EXPECT_NEAR(ra, c.raHours, 1e-7);
        EXPECT_NEAR(shared.conv.ObserverLatitudeRad, 45.5 * Pi / 180, 1e-15);
    }
}

TEST_F(Conversions, AtThePoleTheRightAscensionIsKept) {
    UseSite(kNorth);
    shared.conv.RaHours = 7.5;
    shared.pos.AzimuthArcsec = 0;
    shared.pos.AltitudeArcsec = 45.5 * 3600;
    TimeBoxes time;
    time.clock = {"3", "0", "0", "0"};
    HorizontalToEquatorial(time);
    EXPECT_NEAR(shared.conv.TargetDecDeg, 90, 1e-6);
    EXPECT_EQ(shared.conv.RaHours, 7.5);
}

TEST_F(Conversions, HorizontalToEquatorialToHorizontalWithinOneArcsecond) {
    const Site sites[] = {kNorth, kSouth, kWest};
    const double azimuths[] = {0, 1, 45, 90, 179.999, 180, 180.001, 270, 359.5};
    const double altitudes[] = {-5, 0, 0.5, 30, 60, 85, 89.9};
    for (const Site& site : sites) {
        for (double az : azimuths) {
            for (double alt : altitudes) {
                SCOPED_TRACE(testing::Message() << "site " << site.latDeg << ", az " << az << ", alt " << alt);
                ResetSharedState();
                UseSite(site);
                TimeBoxes time;
                time.dates = {14, 6, 26};  // 15 July 2026
                time.clock = {"21", "30", "15", "400"};
                shared.pos.AzimuthArcsec = az * 3600;
                shared.pos.AltitudeArcsec = alt * 3600;

                HorizontalToEquatorial(time);
                const double dec = shared.conv.TargetDecDeg;
                const EquatorialBoxes back{"0", vb::CStr(shared.conv.RaHours * 60), dec > 0 ? "+" : "-",
                                           vb::CStr(std::fabs(dec)), "0"};
                shared.pos.AzimuthArcsec = -1;
                shared.pos.AltitudeArcsec = -1;
                EquatorialToHorizontal(time, back);

                EXPECT_LT(AzimuthGap(shared.pos.AzimuthArcsec, az * 3600), 1.0);
                EXPECT_NEAR(shared.pos.AltitudeArcsec, alt * 3600, 1.0);
            }
        }
    }
}

}  // namespace
