// The alt-azimuth goto pass, driven the way the goto loops drive it, on the
// simulated mount. Expected positions come from the textbook formulas (atan2
// of the azimuth's sine and cosine), not from the program's quarter rules.
#include "core/calendar.h"
#include "core/conversions.h"
#include "core/counters.h"
#include "core/gotostep.h"
#include "core/numbers.h"
#include "core/state.h"
#include "motor/gotopass.h"
#include "motor/handpad.h"
#include "motor/slack.h"
#include "platform/vbrt.h"
#include "tests/fixture.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <functional>
#include <numbers>
#include <vector>

namespace {

// The windows of a pass over plain values. The clock may be made to move on
// by some seconds at every read, as the clock timer does while a goto runs.
class FakeWindows final : public GotoWindows {
public:
    TimeBoxes time;
    int advanceSeconds = 0;
    TimeBoxes lastRead;
    GotoLevels levels{2, 2};
    std::vector<int> progressAz, progressAlt;
    AzAltBoxes target;
    int chartRedraws = 0;

    TimeBoxes Time() override {
        lastRead = time;
        int s = static_cast<int>(vb::Val(time.clock.txts)) + advanceSeconds;
        int m = static_cast<int>(vb::Val(time.clock.txtmin)) + s / 60;
        time.clock.txts = QString::number(s % 60);
        time.clock.txtmin = QString::number(m % 60);
        time.clock.txth = QString::number(static_cast<int>(vb::Val(time.clock.txth)) + m / 60);
        return lastRead;
    }
    void SetSiderealTime0h(const QString& txtessai) override { time.txtessai = txtessai; }
    int passes = 0;     // passes that got as far as moving
    int passLimit = 0;  // past this many passes the goto is stopped (0: none)
    GotoLevels Levels() override {
        // Read once a pass, after its remaining values are set.
        if (++passes == passLimit) {
            shared.altgoto.StopGoto = vb::True;  // a goto that would never end
            shared.altgoto.RemainingAz = shared.altgoto.RemainingAlt = 0;
        }
        return levels;
    }
    void SetTargetDisplay(const AzAltBoxes& boxes) override { target = boxes; }
    void SetProgressAz(int percent) override { progressAz.push_back(percent); }
    void SetProgressAlt(int percent) override { progressAlt.push_back(percent); }
    void RedrawChartMark() override { ++chartRedraws; }
};

struct AzAlt {
    double az = 0;   // arc-seconds from north through east
    double alt = 0;  // arc-seconds
};

// Difference of two azimuths in arc-seconds, across north.
double AzimuthGap(double a, double b) {
    double d = std::fmod(std::fabs(a - b), 1296000.0);
    return std::min(d, 1296000.0 - d);
}

double DmsArcsec(const DmsBoxes& b) { return 3600 * vb::Val(b.deg) + 60 * vb::Val(b.min) + vb::Val(b.sec); }

constexpr double kTurn = 1296000;

// A mount whose gears have `backlash` pulses of slack, driven by the data
// register's writes: each rising step edge turns the motor one pulse (up when
// the direction line is high), and the axis follows only once the slack is
// taken up. The axis starts pressed against the side the motor last turned
// toward (`engagedUp`). Returns how far the axis moved, in pulses.
int64_t AxisMotion(const std::vector<int>& data, int stepBit, int directionBit, int64_t backlash, bool engagedUp) {
    int64_t motor = 0;
    const int64_t start = engagedUp ? -backlash : 0;  // axis within [motor - backlash, motor]
    int64_t axis = start;
    int previous = 0;
    for (int v : data) {
        if ((v & stepBit) && !(previous & stepBit)) {
            motor += (v & directionBit) ? 1 : -1;
            axis = std::clamp(axis, motor - backlash, motor);
        }
        previous = v;
    }
    return axis - start;
}

class GotoStep : public OrvanelTest {
protected:
    FakeWindows w;
    double step = 0;               // arc-seconds per pulse, both axes
    std::function<void()> onEvents;  // what runs while the pass lets events run

    void SetUp() override {
        OrvanelTest::SetUp();
        Configure();
        seams::SetDoEvents([this] {
            if (onEvents) onEvents();
        });
    }

    // A fresh start for the next case of a table.
    void Fresh() {
        ResetSharedState();
        slack::Reset();
        messages.clear();
        Sim().ResetMount();
        Sim().ClearWrites();
        w = FakeWindows{};
        onEvents = nullptr;
        Configure();
    }

    void Configure() {
        auto& site = shared.site;
        site.SiteAndMount.SiteLatitudeDeg = 45;
        site.SiteAndMount.SiteLatitudeMin = 30;
        site.SiteAndMount.SiteLongitudeDeg = 2;
        site.SiteAndMount.SiteLongitudeMin = 20;
        // A coarse mechanics keeps the passes short: 200 steps, ratio 120,
        // 27 arc-seconds a pulse.
        step = StepAngleArcsec(200, 120);
        site.AzStepArcsec = step;
        site.AltStepArcsec = step;
        site.AzPlusBits = 8;
        site.AzMinusBits = 0;
        site.AltPlusBits = 2;
        site.AltMinusBits = 0;
        // Short, distinct delays: level l of axis a waits 2 l + a.
        for (int l = 0; l < 5; ++l)
            for (int a = 0; a < 2; ++a) shared.drive.AltazSpeedTable[l][a] = 2 * l + a;

        w.time.dates = DateListsOf(2026, 12, 10);
        w.time.clock = {QStringLiteral("20"), QStringLiteral("30"), QStringLiteral("0"), QStringLiteral("0")};
        ShowSiderealTime0h(w.time);
    }

    // 200 steps and a ratio of 50 on both axes: 64.8 arc-seconds a pulse,
    // so that two pulses pass the goto's tolerance; `backlash` on both.
    void CoarseMechanics(double backlash) {
        step = StepAngleArcsec(200, 50);
        EXPECT_DOUBLE_EQ(step, 64.8);
        shared.site.AzStepArcsec = shared.site.AltStepArcsec = step;
        shared.site.BacklashAz = shared.site.BacklashAlt = backlash;
    }

    // Right ascension (tenths of time-minutes) of the object at that hour
    // angle on the clock as it reads now.
    double RaAtHourAngle(double hours) const {
        double ra = LocalSiderealTime(w.time) / 3600 - hours;
        ra = std::fmod(ra, 24.0);
        if (ra < 0) ra += 24;
        return std::round(ra * 600);
    }

    static AzAlt Textbook(double raTenths, double decTenths, const TimeBoxes& time) {
        const double lat = (45 + 30 / 60.0) * std::numbers::pi / 180;
        const double h = (LocalSiderealTime(time) / 3600 - raTenths / 600) * 15 * std::numbers::pi / 180;
        const double d = decTenths / 600 * std::numbers::pi / 180;
        const double alt = std::asin(std::sin(lat) * std::sin(d) + std::cos(lat) * std::cos(d) * std::cos(h));
        double az = std::atan2(-std::cos(d) * std::sin(h),
                               std::sin(d) * std::cos(lat) - std::cos(d) * std::cos(h) * std::sin(lat));
        az = std::fmod(az * 180 / std::numbers::pi + 360, 360.0);
        return {az * 3600, alt * 180 / std::numbers::pi * 3600};
    }

    // The synchronisation on an object: its coordinates typed into the
    // equatorial boxes, then the conversion sets the counters.
    void SyncOn(double raTenths, double decTenths) {
        const int ra = static_cast<int>(raTenths), dec = static_cast<int>(decTenths);
        EquatorialBoxes b;
        b.Txtad_h = vb::CStr(ra / 600);
        b.txtad_min = vb::CStr((ra - 600 * (ra / 600)) / 10.0);
        b.txtsign = dec < 0 ? QStringLiteral("-") : QStringLiteral("+");
        const int a = std::abs(dec);
        b.txtdec_deg = vb::CStr(a / 600);
        b.txtdec_min = vb::CStr((a - 600 * (a / 600)) / 10.0);
        EquatorialToHorizontal(w.time, b);
    }

    // The axis last moved the way `plus`, its slack taken up that way.
    static void LastMoved(bool az, bool plus) {
        (az ? shared.pos.AzDirectionPlus : shared.pos.AltDirectionPlus) = vb::Bool(plus);
        const slack::Axis a = az ? slack::Azimuth() : slack::Altitude();
        a.left = 0;
        a.done = vb::True;
        a.dir = vb::Bool(plus);
    }

    // One pass toward the object.
    void OnePass(double raTenths, double decTenths) {
        shared.altgoto.StopGoto = vb::False;
        SplitGotoTarget(raTenths, decTenths);
        GotoStepAltaz(w);
    }

    // The goto loop of the coordinates window, without its windows.
    int RunGoto(double raTenths, double decTenths) {
        shared.altgoto.StopGoto = vb::False;
        shared.equa.GotoRA = raTenths;
        shared.equa.GotoDec = decTenths;
        SplitGotoTarget(raTenths, decTenths);
        shared.altgoto.RemainingAz = 121;
        shared.altgoto.RemainingAlt = 121;
        int passes = 0;
        while (GotoUnfinished() && passes < 50) {
            GotoStepAltaz(w);
            seams::DoEvents();
            ++passes;
        }
        shared.altgoto.StopGoto = vb::False;
        return passes;
    }
};

TEST(GotoTarget, DestinationSplitsIntoHoursAndDegrees) {
    struct Case {
        double ra, dec;
        double hours, raMinutes;
        int32_t degrees;
        double decMinutes;
    };
    const Case cases[] = {
        {3456, 1830, 5, 45.6, 3, 3},
        {3456, -300, 5, 45.6, 0, -30},    // -0 deg 30': the sign stays in the minutes
        {0, -615, 0, 0, -1, 1.5},         // minutes positive once the degrees carry the sign
        {14399, 300, 23, 59.9, 0, 30},
        {600, -5400, 1, 0, -9, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.ra << " " << c.dec);
        ResetSharedState();
        SplitGotoTarget(c.ra, c.dec);
        const auto& g = shared.altgoto;
        EXPECT_DOUBLE_EQ(g.GotoRaHours, c.hours);
        EXPECT_NEAR(g.GotoRaMinutes, c.raMinutes, 1e-12);
        EXPECT_EQ(g.GotoDecDegrees, c.degrees);
        EXPECT_NEAR(g.GotoDecMinutes, c.decMinutes, 1e-12);
    }
}

TEST_F(GotoStep, RepeatedPassesEndOnTheTargetWithTheMountAgreeing) {
    struct Case {
        const char* what;
        double fromHourAngle, fromDec;  // the star synchronised on
        double toHourAngle, toDec;      // the target
    };
    const Case cases[] = {
        {"west and higher", -2, 12000, 1.5, 24000},
        {"east and lower", 1, 24000, -4, 3000},
        {"just south of the equator (-0 deg 30')", -2, 12000, 0.3, -300},
        {"across the meridian to the east, higher", 3, 6000, -1, 30000},
        {"circumpolar in the north-east", 2, 18000, -9, 42000},
        {"down in the south-west", -1, 30000, 3, -6000},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        Fresh();
        w.advanceSeconds = 3;  // the sky moves on between passes
        SyncOn(RaAtHourAngle(c.fromHourAngle), c.fromDec);
        const double startAz = shared.pos.AzimuthArcsec, startAlt = shared.pos.AltitudeArcsec;
        const double ra = RaAtHourAngle(c.toHourAngle);

        const int passes = RunGoto(ra, c.toDec);

        EXPECT_GE(passes, 2);
        EXPECT_LT(passes, 50);
        const AzAlt there = Textbook(ra, c.toDec, w.lastRead);
        ASSERT_GE(there.alt, 0);
        EXPECT_LE(AzimuthGap(shared.pos.AzimuthArcsec, there.az), 120);
        EXPECT_NEAR(shared.pos.AltitudeArcsec, there.alt, 120);
        // Where the pulses took the mount: no pulse is lost or left uncounted.
        EXPECT_LE(AzimuthGap(startAz + static_cast<double>(Sim().AzSteps()) * step, there.az), 120);
        EXPECT_NEAR(startAlt + static_cast<double>(Sim().AltSteps()) * step, there.alt, 120);
        // The target shown, and the progress of the long first pass.
        EXPECT_LE(AzimuthGap(DmsArcsec(w.target.az), there.az), 121);
        EXPECT_NEAR(DmsArcsec(w.target.alt), there.alt, 121);
        ASSERT_FALSE(w.progressAz.empty());
        ASSERT_FALSE(w.progressAlt.empty());
        for (int p : w.progressAz) EXPECT_TRUE(p >= 0 && p <= 100) << p;
        for (int p : w.progressAlt) EXPECT_TRUE(p >= 0 && p <= 100) << p;
        EXPECT_EQ(*std::max_element(w.progressAz.begin(), w.progressAz.end()), 100);
        EXPECT_EQ(*std::max_element(w.progressAlt.begin(), w.progressAlt.end()), 100);
        EXPECT_TRUE(messages.isEmpty());
    }
}

TEST_F(GotoStep, AMechanicsCoarserThanHalfTheToleranceEndsWithinTwoPulses) {
    // 200 steps and a ratio of 20 or 40: 162 or 81 arc-seconds a pulse, two
    // of which pass the 120 the goto aims within. With the clock still, the
    // passes would swing about the target for ever, one axis out of step with
    // the other; each axis is done once a pass started within two pulses.
    struct Case {
        double ratio, toDec;
    };
    for (const Case c : {Case{20, 24000}, Case{20, 3000}, Case{20, -6000}, Case{40, 24000}, Case{40, 3000},
                         Case{40, -6000}}) {
        const double ratio = c.ratio, toDec = c.toDec;
        SCOPED_TRACE(testing::Message() << "ratio " << ratio << ", declination " << toDec);
        Fresh();
        step = StepAngleArcsec(200, ratio);
        ASSERT_GT(2 * step, kGotoToleranceArcsec);
        shared.site.AzStepArcsec = shared.site.AltStepArcsec = step;
        SyncOn(RaAtHourAngle(-2), 12000);
        const double startAz = shared.pos.AzimuthArcsec, startAlt = shared.pos.AltitudeArcsec;
        const double ra = RaAtHourAngle(1.5);
        w.passLimit = 50;
        SplitGotoTarget(ra, toDec);
        RunGotoLoop(w, false);

        EXPECT_LT(w.passes, 10);
        const AzAlt there = Textbook(ra, toDec, w.lastRead);
        EXPECT_LE(AzimuthGap(shared.pos.AzimuthArcsec, there.az), 2 * step);
        EXPECT_NEAR(shared.pos.AltitudeArcsec, there.alt, 2 * step);
        EXPECT_DOUBLE_EQ(shared.pos.AzimuthArcsec, startAz + static_cast<double>(Sim().AzSteps()) * step);
        EXPECT_DOUBLE_EQ(shared.pos.AltitudeArcsec, startAlt + static_cast<double>(Sim().AltSteps()) * step);
    }
}

TEST_F(GotoStep, TargetBelowTheHorizonIsRefusedWithoutAPulse) {
    SyncOn(RaAtHourAngle(-1), 12000);
    const double az = shared.pos.AzimuthArcsec, alt = shared.pos.AltitudeArcsec;

    const int passes = RunGoto(RaAtHourAngle(11), -18000);  // -30 deg, under the northern horizon

    EXPECT_EQ(passes, 1);
    EXPECT_EQ(messages, QStringList{QStringLiteral("déplacement impossible : altitude négative !")});
    EXPECT_TRUE(Writes().empty());
    EXPECT_EQ(shared.pos.AzimuthArcsec, az);
    EXPECT_EQ(shared.pos.AltitudeArcsec, alt);
    EXPECT_EQ(shared.altgoto.RemainingAz, 0);
    EXPECT_EQ(shared.altgoto.RemainingAlt, 0);
    EXPECT_LT(vb::Val(w.target.alt.deg), 0);  // where it stands is still shown
}

TEST_F(GotoStep, NoStepAngleGivesAMessageAndSendsNothing) {
    for (bool azimuth : {true, false}) {
        SCOPED_TRACE(azimuth ? "azimuth" : "altitude");
        Fresh();
        (azimuth ? shared.site.AzStepArcsec : shared.site.AltStepArcsec) = 0;
        SyncOn(RaAtHourAngle(-1), 12000);
        const double az = shared.pos.AzimuthArcsec, alt = shared.pos.AltitudeArcsec;

        const int passes = RunGoto(RaAtHourAngle(2), 30000);

        EXPECT_EQ(passes, 1);
        EXPECT_EQ(messages, QStringList{kNoStepAngleMessage});
        EXPECT_TRUE(Writes().empty());
        EXPECT_EQ(shared.pos.AzimuthArcsec, az);
        EXPECT_EQ(shared.pos.AltitudeArcsec, alt);
    }
}

TEST_F(GotoStep, BacklashIsTakenUpOnAReversalOnly) {
    enum Axis { Az, Alt };
    struct Case {
        const char* what;
        Axis axis;
        double remainingSteps;  // target minus counter, in step angles
        bool wasPlus;           // the way the axis last moved, its slack taken up that way
        double backlash;
        int64_t pulses;         // signed pulses the mount sees on that axis
        int64_t moved;          // signed pulses its counter moves by (floor + 1, the slack left out)
    };
    const Case cases[] = {
        {"azimuth forward, same direction", Az, 10.5, true, 7, 11, 11},
        {"azimuth forward, reversing", Az, 10.5, false, 7, 18, 11},
        {"azimuth back, reversing", Az, -10.5, true, 7, -19, -12},  // floor(-10.5) = -11
        {"azimuth back, same direction", Az, -10.5, false, 7, -12, -12},
        {"azimuth reversing, no backlash", Az, 10.5, false, 0, 11, 11},
        {"azimuth reversing, negative backlash", Az, 10.5, false, -5, 11, 11},
        {"azimuth reversing, whole pulses of backlash", Az, 10.5, false, 2.5, 13, 11},
        {"half a step forward", Az, 0.5, true, 7, 1, 1},
        {"half a step back", Az, -0.5, false, 7, -2, -2},
        {"altitude up, same direction", Alt, 10.5, true, 7, 11, 11},
        {"altitude up, reversing", Alt, 10.5, false, 7, 18, 11},
        {"altitude down, reversing", Alt, -10.5, true, 7, -19, -12},
        {"altitude down, same direction", Alt, -10.5, false, 7, -12, -12},
        {"altitude reversing, negative backlash", Alt, -10.5, true, -3, -12, -12},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        Fresh();
        const double ra = RaAtHourAngle(1), dec = 18000;
        SyncOn(ra, dec);  // both counters exactly on the target
        const bool az = c.axis == Az;
        double& counter = az ? shared.pos.AzimuthArcsec : shared.pos.AltitudeArcsec;
        counter -= c.remainingSteps * step;
        const double start = counter;
        LastMoved(az, c.wasPlus);
        (az ? shared.site.BacklashAz : shared.site.BacklashAlt) = c.backlash;
        (az ? shared.site.BacklashAlt : shared.site.BacklashAz) = 7;
        const int16_t otherFlag = az ? shared.pos.AltDirectionPlus : shared.pos.AzDirectionPlus;
        Sim().ResetMount();

        OnePass(ra, dec);

        EXPECT_EQ(az ? Sim().AzSteps() : Sim().AltSteps(), c.pulses);
        EXPECT_EQ(az ? Sim().AltSteps() : Sim().AzSteps(), 0);  // the other axis stays
        // The counter moves by the pulses that moved the axis: 0 to 1 pulse
        // past the target going up, 1 to 2 going down.
        EXPECT_DOUBLE_EQ(counter - start, static_cast<double>(c.moved) * step);
        EXPECT_EQ(az ? shared.pos.AzDirectionPlus : shared.pos.AltDirectionPlus, vb::Bool(c.remainingSteps > 0));
        EXPECT_EQ(az ? shared.pos.AltDirectionPlus : shared.pos.AzDirectionPlus, otherFlag);
        // Progress only on the axis that moved.
        EXPECT_TRUE((az ? w.progressAlt : w.progressAz).empty());
    }
}

TEST_F(GotoStep, AzimuthAcrossNorthGoesTheLongWay) {
    const double ra = RaAtHourAngle(13.5), dec = 36000;  // +60 deg, low in the north-north-east
    SyncOn(ra, dec);
    const double targetAz = shared.pos.AzimuthArcsec;
    ASSERT_GT(targetAz, 0);
    ASSERT_LT(targetAz, 20 * 3600.0);
    shared.pos.AzimuthArcsec = 350 * 3600.0;  // 10 deg west of north

    RunGoto(ra, dec);

    // Back through west and south, not forward across north.
    const double expectedSteps = (targetAz - 350 * 3600.0) / step;
    EXPECT_NEAR(static_cast<double>(Sim().AzSteps()), expectedSteps, 2);
    EXPECT_LT(Sim().AzSteps(), -10000);
    EXPECT_LE(std::fabs(shared.pos.AzimuthArcsec - targetAz), 120);
    EXPECT_DOUBLE_EQ(shared.pos.AzimuthArcsec, 350 * 3600.0 + static_cast<double>(Sim().AzSteps()) * step);
}

TEST(GotoAzimuth, TheRemainingAzimuthStartsFromWhereTheCounterStandsInTheTurn) {
    struct Case {
        const char* what;
        double target, counter;  // arc-seconds
        double remaining;
    };
    const Case cases[] = {
        {"across north: the long way", 10 * 3600.0, 350 * 3600.0, -340 * 3600.0},
        {"within 120 arc-seconds across north, going up: the short way", 30, kTurn - 10, 40},
        {"within 120 arc-seconds across north, going down: the short way", kTurn - 10, 30, -40},
        {"130 arc-seconds across north: the long way", 100, kTurn - 30, 130 - kTurn},
        // A goto ends a pulse or two beyond its target: below 0 or past a
        // full turn until the counter is next folded into the turn.
        {"counter left below north, target west of north", 350 * 3600.0, -20, -10 * 3600.0 + 20},
        {"counter left beyond a turn, target east of north", 10 * 3600.0, kTurn + 20, 10 * 3600.0 - 20},
        {"counter left below north, target just east of north", 50, -30, 80},
        {"counter left beyond a turn, target just west of north", kTurn - 50, kTurn + 30, -80},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        EXPECT_DOUBLE_EQ(RemainingAzimuth(c.target, c.counter, 120), c.remaining);
    }
}

TEST_F(GotoStep, AGotoFromACounterLeftJustPastNorthTurnsTheShortWayRound) {
    // +60 deg, low in the north-north-west; the last goto left the counter
    // 20 arc-seconds below north (359 deg 59' 40").
    const double ra = RaAtHourAngle(10.5), dec = 36000;
    SyncOn(ra, dec);
    const double targetAz = shared.pos.AzimuthArcsec;
    ASSERT_GT(targetAz, 340 * 3600.0);
    shared.pos.AzimuthArcsec = -20;

    RunGoto(ra, dec);

    // Back through a few degrees west of north, not forward through east and south.
    EXPECT_NEAR(static_cast<double>(Sim().AzSteps()), (targetAz - (kTurn - 20)) / step, 2);
    EXPECT_LT(Sim().AzSteps(), 0);
    EXPECT_DOUBLE_EQ(shared.pos.AzimuthArcsec, -20 + static_cast<double>(Sim().AzSteps()) * step);
    EXPECT_LE(AzimuthGap(shared.pos.AzimuthArcsec, targetAz), 120);
}

TEST_F(GotoStep, AStopLeavesTheCountersWhereThePulsesTookThem) {
    enum Axis { Az, Alt };
    struct Case {
        const char* what;
        Axis axis;      // the axis that is moving when the stop comes
        int64_t k;      // pulses of that axis sent when the stop comes
        bool reversing;
        double backlash;
        int64_t movedSteps;  // how far its counter moves, in step angles
    };
    // The azimuth has 200.5 step angles to go forward, the altitude 100.5 back.
    const Case cases[] = {
        {"azimuth, first pulse", Az, 1, false, 0, 1},
        {"azimuth, midway", Az, 150, false, 0, 150},
        {"azimuth, still taking up the backlash", Az, 10, true, 20, 0},
        {"azimuth, past the backlash", Az, 60, true, 20, 40},
        {"altitude, first pulse", Alt, 1, false, 0, -1},
        {"altitude, midway", Alt, 70, false, 0, -70},
        {"altitude, still taking up the backlash", Alt, 5, true, 20, 0},
        {"altitude, past the backlash", Alt, 80, true, 20, -60},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        Fresh();
        const double ra = RaAtHourAngle(-1), dec = 24000;
        SyncOn(ra, dec);
        const double targetAz = shared.pos.AzimuthArcsec, targetAlt = shared.pos.AltitudeArcsec;
        const double startAz = targetAz - 200.5 * step, startAlt = targetAlt + 100.5 * step;
        shared.pos.AzimuthArcsec = startAz;
        shared.pos.AltitudeArcsec = startAlt;
        // Reversing: the azimuth last went back, the altitude last went up.
        LastMoved(true, !(c.reversing && c.axis == Az));
        LastMoved(false, c.reversing && c.axis == Alt);
        shared.site.BacklashAz = shared.site.BacklashAlt = c.backlash;
        Sim().ResetMount();
        const bool az = c.axis == Az;
        // The stop button, pressed once the k-th pulse has gone out.
        onEvents = [&] {
            const int64_t sent = az ? Sim().AzSteps() : -Sim().AltSteps();
            if (sent == c.k && shared.altgoto.StopGoto == vb::False) {
                shared.altgoto.StopGoto = vb::True;
                shared.altgoto.RemainingAz = 0;
                shared.altgoto.RemainingAlt = 0;
            }
        };

        const int passes = RunGoto(ra, dec);

        EXPECT_EQ(passes, 1);
        if (az) {
            EXPECT_EQ(Sim().AzSteps(), c.k);
            EXPECT_EQ(Sim().AltSteps(), 0);  // no altitude move after a stop in azimuth
            EXPECT_DOUBLE_EQ(shared.pos.AzimuthArcsec, startAz + static_cast<double>(c.movedSteps) * step);
            EXPECT_EQ(shared.pos.AltitudeArcsec, startAlt);
            EXPECT_EQ(shared.pos.AzDirectionPlus, vb::True);   // it was pulsed forward
            EXPECT_EQ(shared.pos.AltDirectionPlus, vb::False);  // never pulsed: as it was
        } else {
            EXPECT_EQ(Sim().AltSteps(), -c.k);
            // The azimuth move was completed: 201 pulses, half a step past its target.
            EXPECT_EQ(Sim().AzSteps(), 201);
            EXPECT_DOUBLE_EQ(shared.pos.AzimuthArcsec, targetAz + 0.5 * step);
            EXPECT_DOUBLE_EQ(shared.pos.AltitudeArcsec, startAlt + static_cast<double>(c.movedSteps) * step);
            EXPECT_EQ(shared.pos.AltDirectionPlus, vb::False);  // it was pulsed down
        }

        // The next goto starts from where the mount really is.
        if (c.backlash == 0) {
            onEvents = nullptr;
            RunGoto(ra, dec);
            EXPECT_LE(AzimuthGap(startAz + static_cast<double>(Sim().AzSteps()) * step, targetAz), 120);
            EXPECT_NEAR(startAlt + static_cast<double>(Sim().AltSteps()) * step, targetAlt, 120);
        }
    }
}

TEST_F(GotoStep, GotoLevelsSetTheDelaysAndLeaveTheSpeedIndexes) {
    w.levels = {4, 1};
    shared.drive.SpeedIndexAz = 2;
    shared.drive.SpeedIndexAlt = 3;
    const double ra = RaAtHourAngle(1), dec = 18000;
    SyncOn(ra, dec);
    shared.pos.AzimuthArcsec -= 20.5 * step;
    shared.pos.AltitudeArcsec -= 20.5 * step;
    std::vector<int32_t> azDelays, altDelays;
    std::vector<int16_t> azIndexes;
    int halfPulses = 0;
    onEvents = [&] {
        (shared.drive.MotorMode == 1 ? azDelays : altDelays).push_back(shared.drive.StepDelay);
        if (shared.drive.MotorMode == 1) azIndexes.push_back(shared.drive.SpeedIndexAz);
        // Midway the user picks another manual speed for the azimuth.
        if (++halfPulses == 10) shared.drive.SpeedIndexAz = 0;
    };

    RunGoto(ra, dec);

    ASSERT_FALSE(azDelays.empty());
    ASSERT_FALSE(altDelays.empty());
    for (int32_t d : azDelays) EXPECT_EQ(d, 2 * 4 + 0);
    for (int32_t d : altDelays) EXPECT_EQ(d, 2 * 1 + 1);
    EXPECT_EQ(azIndexes.front(), 2);  // the manual speed shown stays in force
    EXPECT_EQ(shared.drive.SpeedIndexAz, 0);
    EXPECT_EQ(shared.drive.SpeedIndexAlt, 3);
}

TEST_F(GotoStep, OpenChartFollowsTheTelescope) {
    const double ra = RaAtHourAngle(1.5), dec = 24000;
    SyncOn(RaAtHourAngle(-1), 12000);

    const int closedPasses = RunGoto(ra, dec);
    EXPECT_EQ(w.chartRedraws, 0);

    shared.win.SkyChartShown = vb::True;
    SyncOn(RaAtHourAngle(-1), 12000);
    const int passes = RunGoto(ra, dec);

    EXPECT_GE(closedPasses, 1);
    EXPECT_EQ(w.chartRedraws, passes);
    // Where the telescope ended, within the goto's 120″.
    EXPECT_NEAR(shared.altgoto.SlewRA, ra, 2);     // tenths of time-minutes
    EXPECT_NEAR(shared.altgoto.SlewDec, dec, 20);  // tenths of arc-minutes
}

TEST_F(GotoStep, AStopAnywhereInATakeUpLeavesTheCountersOnTheMount) {
    enum Axis { Az, Alt };
    struct Case {
        const char* what;
        Axis axis;
        double remainingSteps;  // target minus counter, in step angles
    };
    // Each pass starts by reversing: the azimuth last went back, the
    // altitude last went up; 20 pulses of slack on each.
    const Case cases[] = {{"azimuth forward", Az, 60.5}, {"altitude down", Alt, -60.5}};
    constexpr int64_t kBacklash = 20;
    for (const Case& c : cases) {
        const bool az = c.axis == Az;
        const int64_t pulses = 60 + (az ? 0 : 1) + kBacklash + 1;
        for (int64_t k = 1; k < pulses; ++k) {
            SCOPED_TRACE(std::string(c.what) + ", stopped after pulse " + std::to_string(k));
            Fresh();
            const double ra = RaAtHourAngle(1), dec = 18000;
            SyncOn(ra, dec);
            double& counter = az ? shared.pos.AzimuthArcsec : shared.pos.AltitudeArcsec;
            counter -= c.remainingSteps * step;
            double start = counter;
            LastMoved(true, false);
            LastMoved(false, true);
            shared.site.BacklashAz = shared.site.BacklashAlt = kBacklash;
            // Stop once `stopAt` pulses of this goto have gone out.
            int64_t stopAt = k, base = 0;
            onEvents = [&] {
                const int64_t sent = std::llabs((az ? Sim().AzSteps() : Sim().AltSteps()) - base);
                if (sent == stopAt && shared.altgoto.StopGoto == vb::False) {
                    shared.altgoto.StopGoto = vb::True;
                    shared.altgoto.RemainingAz = 0;
                    shared.altgoto.RemainingAlt = 0;
                }
            };
            auto moved = [&] {
                return AxisMotion(Data(), az ? 4 : 1, az ? 8 : 2, kBacklash, !az);
            };

            RunGoto(ra, dec);
            EXPECT_DOUBLE_EQ(counter - start, static_cast<double>(moved()) * step) << "after the stop";

            // The next goto the same way, from 100 pulses further back (a
            // sync moves counter and start alike), stopped 10 pulses past what
            // is left of the slack: it takes up only that.
            const double further = std::copysign(100 * step, c.remainingSteps);
            counter -= further;
            start -= further;
            base = az ? Sim().AzSteps() : Sim().AltSteps();
            stopAt = std::max<int64_t>(0, kBacklash - k) + 10;
            RunGoto(ra, dec);
            EXPECT_DOUBLE_EQ(counter - start, static_cast<double>(moved()) * step) << "after the next goto";

            // Finished, the counter says where the mount is.
            onEvents = nullptr;
            RunGoto(ra, dec);
            const double mount = start + static_cast<double>(moved()) * step;
            EXPECT_DOUBLE_EQ(mount, counter);
        }
    }
}

TEST_F(GotoStep, ThePaddleAndTheGotoShareTheSlack) {
    shared.site.BacklashAz = 20;
    shared.drive.PaddleDelayAzMedium = 1;
    const double ra = RaAtHourAngle(1), dec = 18000;
    SyncOn(ra, dec);
    shared.pos.AzimuthArcsec -= 100.5 * step;
    double start = shared.pos.AzimuthArcsec;
    // A sync moves the counter, not the mount.
    auto syncBy = [&](double steps) {
        shared.pos.AzimuthArcsec += steps * step;
        start += steps * step;
    };
    // The counter against the mount, whose gears have 20 pulses of slack
    // and rest on the minus side (the azimuth last went back).
    auto onTheMount = [&] {
        UpdateAzimuthCounter();  // the clock tick applies the paddle's pulses
        return shared.pos.AzimuthArcsec - start == static_cast<double>(AxisMotion(Data(), 4, 8, 20, false)) * step;
    };
    auto stopAfter = [&](int64_t pulses) {
        const int64_t base = Sim().AzSteps();
        onEvents = [&, base, pulses] {
            if (Sim().AzSteps() - base == pulses && shared.altgoto.StopGoto == vb::False) {
                shared.altgoto.StopGoto = vb::True;
                shared.altgoto.RemainingAz = 0;
                shared.altgoto.RemainingAlt = 0;
            }
        };
    };
    auto pressFor = [&](int16_t code, int pulses) {
        Sim().HoldPaddleCode(code);
        auto events = std::make_shared<int>(0);
        onEvents = [this, events, pulses] {
            if (++*events == 2 * pulses) Sim().HoldPaddleCode(11);
        };
        handpad::PaddleTick();
        onEvents = nullptr;
    };

    // A goto forward, reversing, stopped after 8 of its 20 take-up pulses.
    stopAfter(8);
    RunGoto(ra, dec);
    handpad::ClearDataForPaddle();  // as the goto's end does
    EXPECT_TRUE(onTheMount()) << "goto stopped in its take-up";

    // The paddle pressed the same way (code 137, azimuth plus) takes up only
    // the 12 pulses left, then moves from its next tick.
    pressFor(137, 100);
    EXPECT_EQ(Sim().AzSteps(), 20);
    pressFor(137, 5);
    EXPECT_EQ(Sim().AzSteps(), 25);
    EXPECT_TRUE(onTheMount()) << "paddle forward";

    // Back the other way, released after 6 of its 20 take-up pulses; a goto
    // forward then crosses back only those 6 before the axis moves.
    pressFor(9, 6);
    EXPECT_EQ(Sim().AzSteps(), 19);
    EXPECT_TRUE(onTheMount()) << "paddle back, released in its take-up";
    stopAfter(16);
    RunGoto(ra, dec);
    EXPECT_TRUE(onTheMount()) << "goto forward after the paddle's take-up";

    // A goto back, stopped after 5 of its 20 take-up pulses; then a goto
    // forward crosses back only those 5.
    syncBy(300);
    stopAfter(-5);
    RunGoto(ra, dec);
    EXPECT_TRUE(onTheMount()) << "goto back, stopped in its take-up";
    syncBy(-600);
    stopAfter(15);
    RunGoto(ra, dec);
    EXPECT_TRUE(onTheMount()) << "goto forward after it";
    EXPECT_EQ(Sim().AzSteps(), 19 + 16 - 5 + 15);
}

}  // namespace

TEST_F(GotoStep, ACoarseMechanicsJustPastNorthCorrectsTheShortWay) {
    // 64.8 arc-seconds a pulse: a pass going down may leave the counter up to
    // 129.6 beyond its target. A target 42 arc-seconds east of north with the
    // counter 123.1 before it, just west of north: a correction of two
    // pulses, not a full turn through south.
    struct Case {
        const char* what;
        double backlash;
        bool lastPlus;         // the azimuth last turned the plus way
        int64_t pulses;        // azimuth pulses sent
    };
    const Case cases[] = {
        {"no backlash", 0, false, 2},
        {"backlash 5, no reversal", 5, true, 2},
        {"backlash 5, reversing: the slack first", 5, false, 7},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        Fresh();
        CoarseMechanics(c.backlash);
        LastMoved(true, c.lastPlus);
        const double ra = RaAtHourAngle(-0.2 / 60), dec = 50000;  // 83 deg 20', crossing the meridian north of the zenith
        SyncOn(ra, dec);
        const double targetAz = shared.pos.AzimuthArcsec;
        ASSERT_GT(targetAz, 0);
        ASSERT_LT(targetAz, 60);
        const double start = targetAz - 123.1;  // 359 deg 58' 39": below north
        shared.pos.AzimuthArcsec = start;
        w.passLimit = 50;
        SplitGotoTarget(ra, dec);

        RunGotoLoop(w, false);

        EXPECT_EQ(Sim().AzSteps(), c.pulses) << "the short way, up through north";
        EXPECT_EQ(Sim().AltSteps(), 0);
        if (c.backlash == 0) {
            EXPECT_LT(Sim().AzSteps(), 5);
        }
        // The axis moved two pulses: the counter says so, and stands within
        // two pulses of the target.
        EXPECT_EQ(AxisMotion(Data(), 4, 8, static_cast<int64_t>(c.backlash), c.lastPlus), 2);
        // (the counter may stand folded into the turn: the goto first takes
        // the pending pulses, which folds it)
        EXPECT_NEAR(AzimuthGap(shared.pos.AzimuthArcsec, start + 2 * step), 0, 1e-6);
        EXPECT_LE(AzimuthGap(shared.pos.AzimuthArcsec, targetAz), 2 * step);
        EXPECT_EQ(shared.pos.GotoReached, true);
        EXPECT_TRUE(messages.isEmpty());
    }
}

TEST_F(GotoStep, AnObjectThatCrossesNorthDuringALongPassIsFollowedTheShortWay) {
    // +60 deg at its upper culmination, north of the zenith: its azimuth falls
    // through north at 30 arc-seconds a second. The first pass turns down
    // from 90 deg for a minute of clock; the object is then 30' west of north
    // and the counter a pulse or two past where it was: the next pass follows
    // it across north, the short way, not through south.
    const double ra = RaAtHourAngle(0), dec = 36000;
    SyncOn(ra, dec);
    ASSERT_GT(shared.pos.AzimuthArcsec, 0);
    ASSERT_LT(shared.pos.AzimuthArcsec, 200);
    const double startAz = 90 * 3600.0;
    shared.pos.AzimuthArcsec = startAz;
    // A second of clock every 200 pulses.
    int events = 0;
    onEvents = [&] {
        if (++events % 400 != 0) return;
        w.advanceSeconds = 1;
        w.Time();
        w.advanceSeconds = 0;
    };
    w.passLimit = 10;
    SplitGotoTarget(ra, dec);

    RunGotoLoop(w, false);

    EXPECT_LE(w.passes, 4);
    EXPECT_LT(Sim().AzSteps(), 0) << "down through east and north";
    EXPECT_GT(static_cast<double>(Sim().AzSteps()), -(startAz + 3 * 3600) / step) << "not through south";
    EXPECT_LT(shared.pos.AzimuthArcsec, 0) << "west of north";
    EXPECT_DOUBLE_EQ(shared.pos.AzimuthArcsec, startAz + static_cast<double>(Sim().AzSteps()) * step);
    EXPECT_LE(AzimuthGap(shared.pos.AzimuthArcsec, shared.altgoto.GotoTargetAz), 2 * step + 1e-6);
    EXPECT_TRUE(shared.pos.GotoReached);
}

TEST_F(GotoStep, AnObjectJustAcrossNorthIsReachedTheShortWayWhenTheGotoIsPressedAgain) {
    // 64.8 arc-seconds a pulse. A star at +60 deg passing below the pole
    // crosses north going east at about 8 arc-seconds a second. A goto that
    // came up onto it from the west while it stood just west of north ends
    // two pulses back down, nearly 125 arc-seconds west of it; pressed again
    // seconds later (or after a sync on it and no goto) the star stands more
    // than two pulses across north: a few pulses up through north, not a turn
    // through south.
    struct Case {
        const char* what;
        bool gotoFirst;  // else a sync on the star while it stands about 100" west of north
        int laterSeconds;
        int play;        // gear play, told to the program as its backlash
    };
    const Case cases[] = {
        {"pressed again 6 s later", true, 6, 0},
        {"pressed again 10 s later", true, 10, 0},
        {"pressed again 30 s later", true, 30, 0},
        {"pressed again 10 s later, gear play 5", true, 10, 5},
        {"pressed again 30 s later, gear play 5", true, 30, 5},
        {"30 s after a sync, no goto before", false, 30, 0},
        {"30 s after a sync, no goto before, gear play 5", false, 30, 5},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        Fresh();
        CoarseMechanics(c.play);
        Sim().SetPlay(c.play, c.play);
        const double dec = 36000;
        const double ra = RaAtHourAngle(12 - 1.0 / 60);  // a minute before it passes below the pole
        // East of north, arc-seconds (west negative).
        auto east = [&] { return std::remainder(Textbook(ra, dec, w.time).az, kTurn); };
        // The clock on, a second at a time, until the star stands where the case wants it.
        const double from = c.gotoFirst ? -25 : -110, to = c.gotoFirst ? -15 : -90;
        w.advanceSeconds = 1;
        for (int s = 0; s < 300 && east() <= from; ++s) w.Time();
        w.advanceSeconds = 0;
        ASSERT_TRUE(east() > from && east() < to) << east();

        SyncOn(ra, dec);
        // 41 pulses up to it, the last 4.8 arc-seconds past it; then two back down.
        if (c.gotoFirst) shared.pos.AzimuthArcsec -= 40 * step + 60;
        const double az0 = shared.pos.AzimuthArcsec;
        const int64_t axis0 = Sim().AzAxis();
        auto mountAz = [&] { return az0 + static_cast<double>(Sim().AzAxis() - axis0) * step; };
        SplitGotoTarget(ra, dec);
        if (c.gotoFirst) {
            RunGotoLoop(w, false);
            ASSERT_NEAR(std::remainder(shared.pos.AzimuthArcsec - (az0 + 40 * step + 60), kTurn), -124.8, 1e-6);
        }

        w.advanceSeconds = c.laterSeconds;
        w.Time();
        w.advanceSeconds = 0;
        ASSERT_GT(east(), 0) << "the star east of north";
        ASSERT_LT(std::remainder(shared.pos.AzimuthArcsec, kTurn), 0) << "the telescope west of north";
        const double across = std::remainder(east() - shared.pos.AzimuthArcsec, kTurn);
        ASSERT_GT(across, 2 * step + 1) << "more than two pulses across north";
        Sim().ClearWrites();
        const int64_t before = Sim().AzSteps();
        w.passLimit = w.passes + 10;

        RunGotoLoop(w, false);

        int pulses = 0, previous = 0;
        for (int v : Data()) {
            if ((v & 4) && !(previous & 4)) ++pulses;
            previous = v;
        }
        EXPECT_LE(pulses, across / step + 4 + 2 * c.play) << "a few pulses, not a turn";
        EXPECT_GT(Sim().AzSteps() - before, 0) << "up through north";
        EXPECT_LE(AzimuthGap(mountAz(), Textbook(ra, dec, w.lastRead).az), 2 * step + 1e-6);
        EXPECT_NEAR(AzimuthGap(shared.pos.AzimuthArcsec, mountAz()), 0, 1e-6) << "the counter on the mount";
        EXPECT_TRUE(shared.pos.GotoReached);
        EXPECT_TRUE(messages.isEmpty());
    }
}
