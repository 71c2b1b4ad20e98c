#include "core/state.h"
#include "motor/equagoto.h"
#include "platform/datadir.h"
#include "platform/vbrt.h"
#include "tests/fixture.h"

#include <QFile>
#include <cmath>
#include <cstdlib>
#include <functional>
#include <memory>
#include <vector>

namespace {

// The windows as the goto sees them, recorded.
class FakeWindows final : public EquaGotoWindows {
public:
    int levelRA = 2, levelDec = 3;
    std::vector<int> ra, dec;   // values written to the two bars
    int shown = 0, closed = 0;
    std::vector<std::string> paddle;
    std::function<size_t()> writes;  // port writes so far, to tell when the paddle was switched

    int LevelRA() override { return levelRA; }
    int LevelDec() override { return levelDec; }
    void ShowProgress() override { ++shown; }
    void SetProgressRA(int p) override { ra.push_back(p); }
    void SetProgressDec(int p) override { dec.push_back(p); }
    void CloseProgress() override { ++closed; }
    void SuspendPaddle() override { paddle.push_back("suspend@" + std::to_string(writes())); }
    void ResumePaddle() override { paddle.push_back("resume@" + std::to_string(writes())); }
};

class EquaGoto : public OrvanelTest {
protected:
    void SetUp() override {
        OrvanelTest::SetUp();
        // 200 steps and 1:100 on both axes: 0.36 tenths of a time-minute
        // per right-ascension pulse, 5.4 tenths of an arc-minute per
        // declination pulse.
        WriteData("config_equa.ini", QByteArray("200\r\n200\r\n100\r\n100\r\n"));
        shared.drive.EquaSpeedTable = {};  // no waiting between writes
        windows.writes = [this] { return Writes().size(); };
    }
    void From(double ra, double dec) {
        shared.equa.TelescopeRA = ra;
        shared.equa.TelescopeDec = dec;
    }
    void To(double ra, double dec) {
        shared.equa.GotoRA = ra;
        shared.equa.GotoDec = dec;
    }
    // Runs `action` once, during the first write of pulse k (1-based) of the goto.
    void AtPulse(int k, std::function<void()> action) {
        auto events = std::make_shared<int>(0);
        seams::SetDoEvents([events, k, action] {
            if (++*events == 2 * k - 1) action();
        });
    }
    static std::vector<int> Join(std::vector<int> a, const std::vector<int>& b) {
        a.insert(a.end(), b.begin(), b.end());
        return a;
    }
    FakeWindows windows;
};

}  // namespace

TEST_F(EquaGoto, PulseAnglesFollowTheMechanics) {
    struct Case {
        settingsfiles::EquaMechanics m;
        double ra, dec;
    } cases[] = {
        {{200, 200, 100, 100}, 0.36, 5.4},
        {{48, 400, 360, 144}, 360.0 / (96 * 360) * 40, 360.0 / (2 * 400 * 144) * 600},
        // R = 2 x s_RA rounded halves to even: 2 x 100.25 = 200.5 gives 200.
        {{100.25, 100.25, 100, 100}, 360.0 / (200 * 100) * 40, 360.0 / (200.5 * 100) * 600},
    };
    for (const auto& c : cases) {
        EXPECT_DOUBLE_EQ(RaPulseAngle(c.m), c.ra);
        EXPECT_DOUBLE_EQ(DecPulseAngle(c.m), c.dec);
    }
}

TEST_F(EquaGoto, EachAxisGetsItsPulsesInItsDirection) {
    struct Case {
        const char* name;
        double dRA, dDec;
        bool invRA, invDec;
        int pulsesRA, dirRA;    // direction value on the data register
        int pulsesDec, dirDec;
        int16_t modeFound;  // the drive mode before the goto, given back after it
    } cases[] = {
        {"3.6 minutes east", 36, 0, false, false, 101, 8, 1, 0, 1},
        {"no difference", 0, 0, false, false, 1, 8, 1, 0, 0},
        {"+0.9", 0.9, 0, false, false, 3, 8, 1, 0, 2},
        {"-0.9: one pulse more", -0.9, 0, false, false, 4, 0, 1, 0, 1},
        {"-36", -36, 0, false, false, 101, 0, 1, 0, 3},
        {"Dec +55", 0, 55, false, false, 1, 8, 11, 0, 4},
        {"Dec -55", 0, -55, false, false, 1, 8, 12, 2, 1},
        {"RA inverted", 36, 0, true, false, 101, 0, 1, 0, 1},
        {"RA inverted, west", -36, 0, true, false, 101, 8, 1, 0, 0},
        {"Dec inverted", 0, 55, false, true, 1, 8, 11, 2, 1},
        {"Dec inverted, south", 0, -55, false, true, 1, 8, 12, 0, 1},
        {"no difference, both inverted", 0, 0, true, true, 1, 0, 1, 2, 1},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        Sim().ClearWrites();
        Sim().ResetMount();
        windows = FakeWindows{};
        windows.writes = [this] { return Writes().size(); };
        shared.site.GotoInvertRA = vb::Bool(c.invRA);
        shared.site.GotoInvertDec = vb::Bool(c.invDec);
        shared.drive.SpeedIndexAz = 4;
        shared.drive.SpeedIndexAlt = 1;
        shared.drive.MotorMode = c.modeFound;
        From(4230, 2740);
        To(4230 + c.dRA, 2740 + c.dDec);

        const EquaGotoResult r = GotoEquatorial(windows);

        EXPECT_EQ(Data(), Join(Pulses(c.pulsesRA, c.dirRA, 4), Pulses(c.pulsesDec, c.dirDec, 1)));
        EXPECT_EQ(r.outcome, EquaGotoResult::Outcome::Completed);
        EXPECT_EQ(r.pulsesRA, c.pulsesRA);
        EXPECT_EQ(r.pulsesDec, c.pulsesDec);
        // The position reached is the start moved by the pulses sent, the
        // way of the difference (a zero difference counts as positive), not
        // the destination: the next goto starts from the mount.
        EXPECT_DOUBLE_EQ(r.ra, 4230 + (c.dRA < 0 ? -1 : 1) * c.pulsesRA * 0.36);
        EXPECT_DOUBLE_EQ(r.dec, 2740 + (c.dDec < 0 ? -1 : 1) * c.pulsesDec * 5.4);
        EXPECT_EQ(shared.equa.TelescopeRA, 4230) << "the caller sets the telescope position";
        // The simulated mount counts the direction line high as +1.
        EXPECT_EQ(Sim().AzSteps(), c.dirRA ? c.pulsesRA : -c.pulsesRA);
        EXPECT_EQ(Sim().AltSteps(), c.dirDec ? c.pulsesDec : -c.pulsesDec);
        EXPECT_EQ(Sim().DataLatch(), c.dirDec + 1) << "the step line is left high";
        // Bars: from the second pulse on, reaching 100 on the last.
        if (c.pulsesRA > 1) {
            EXPECT_EQ(windows.ra.size(), static_cast<size_t>(c.pulsesRA - 1));
            EXPECT_EQ(windows.ra.back(), 100);
        } else {
            EXPECT_TRUE(windows.ra.empty());
        }
        if (c.pulsesDec > 1) {
            EXPECT_EQ(windows.dec.back(), 100);
        }
        EXPECT_EQ(windows.shown, 1);
        EXPECT_EQ(windows.closed, 1);
        EXPECT_EQ(shared.drive.SpeedIndexAz, 4) << "speed levels restored";
        EXPECT_EQ(shared.drive.SpeedIndexAlt, 1);
        EXPECT_EQ(shared.drive.MotorMode, c.modeFound) << "the drive mode given back";
        EXPECT_EQ(shared.altgoto.StopGoto, vb::False);
        EXPECT_FALSE(shared.altgoto.GotoRunning);
    }
}

TEST_F(EquaGoto, RightAscensionTurnsTheShortWayAcross0hAndThePositionStaysWithinTheDay) {
    // 0.36 tenths of a time-minute a pulse; the direction line high is east.
    struct Case {
        const char* what;
        double from, to;
        int pulses;      // right-ascension pulses, n + 1
        int way;         // +1 east
        double reached;  // right ascension reached, within the day
    } cases[] = {
        {"23h50 to 0h10: 20 min east across 0 h", 14300, 100, 556, 1, 14300 + 556 * 0.36 - 14400},
        {"0h10 to 23h50: 20 min west across 0 h", 100, 14300, 557, -1, 100 - 557 * 0.36 + 14400},
        {"2h to 14h, exactly 12 h: east", 1200, 8400, 20001, 1, 1200 + 20001 * 0.36},
        {"14h to 2h, exactly 12 h: east too, across 0 h", 8400, 1200, 20001, 1, 8400 + 20001 * 0.36 - 14400},
        {"2h to 14h0.1': 11h59.9 west across 0 h", 1200, 8401, 19999, -1, 1200 - 19999 * 0.36 + 14400},
        {"2h to 13h59.9': 11h59.9 east", 1200, 8399, 19998, 1, 1200 + 19998 * 0.36},
    };
    for (const int play : {0, 5}) {
        for (const auto& c : cases) {
            SCOPED_TRACE(testing::Message() << c.what << ", gear play " << play);
            Sim().ResetMount();
            Sim().SetPlay(play, play);
            windows = FakeWindows{};
            windows.writes = [this] { return Writes().size(); };
            From(c.from, 2740);
            To(c.to, 2740);

            const EquaGotoResult r = GotoEquatorial(windows);

            EXPECT_EQ(r.outcome, EquaGotoResult::Outcome::Completed);
            EXPECT_EQ(Sim().AzSteps(), c.way * c.pulses);
            EXPECT_EQ(Sim().AltSteps(), -1) << "declination: its one pulse north";
            // The axis turned the short way: what was asked, less the gears'
            // play when it was crossed, and a pulse or two beyond.
            const double shortWay = std::fabs(std::remainder(c.to - c.from, 14400));
            EXPECT_NEAR(static_cast<double>(std::llabs(Sim().AzAxis())) * 0.36, shortWay, (play + 2) * 0.36);
            EXPECT_NEAR(r.ra, c.reached, 1e-6);
            EXPECT_GE(r.ra, 0);
            EXPECT_LT(r.ra, 14400);
        }
    }
}

TEST_F(EquaGoto, TheBarsCountPercentOfThePulses) {
    From(0, 0);
    To(0.36 * 4, 0);  // n = 4: pulses 0..4
    GotoEquatorial(windows);
    EXPECT_EQ(windows.ra, (std::vector<int>{25, 50, 75, 100}));
}

TEST_F(EquaGoto, AStopLeavesThePositionWhereThePulsesTookIt) {
    struct Case {
        const char* name;
        double dRA, dDec;
        int stopAt;          // pulse of the whole goto during which the stop comes
        int pulsesRA, pulsesDec;
        double ra, dec;      // position reached
    } cases[] = {
        {"during RA, east", 36, 55, 5, 5, 0, 4230 + 5 * 0.36, 2740},
        {"during RA, west", -36, 55, 40, 40, 0, 4230 - 40 * 0.36, 2740},
        {"on the first pulse", 36, 55, 1, 1, 0, 4230 + 0.36, 2740},
        {"during Dec, south", 36, -55, 101 + 7, 101, 7, 4230 + 101 * 0.36, 2740 - 7 * 5.4},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        Sim().ClearWrites();
        windows = FakeWindows{};
        windows.writes = [this] { return Writes().size(); };
        From(4230, 2740);
        To(4230 + c.dRA, 2740 + c.dDec);
        shared.drive.MotorMode = 1;
        AtPulse(c.stopAt, [] { shared.altgoto.StopGoto = vb::True; });

        const EquaGotoResult r = GotoEquatorial(windows);
        seams::SetDoEvents({});
        EXPECT_EQ(shared.drive.MotorMode, 1) << "the drive mode given back";

        EXPECT_EQ(r.outcome, EquaGotoResult::Outcome::Stopped);
        EXPECT_EQ(r.pulsesRA, c.pulsesRA);
        EXPECT_EQ(r.pulsesDec, c.pulsesDec);
        EXPECT_EQ(Data().size(), static_cast<size_t>(2 * (c.pulsesRA + c.pulsesDec)));
        EXPECT_DOUBLE_EQ(r.ra, c.ra);
        EXPECT_DOUBLE_EQ(r.dec, c.dec);
        EXPECT_EQ(shared.altgoto.StopGoto, vb::False);
        EXPECT_EQ(windows.closed, 1);
    }
}

TEST_F(EquaGoto, AStopAskedBeforeTheGotoIsForgotten) {
    shared.altgoto.StopGoto = vb::True;
    From(0, 0);
    To(36, 0);
    EXPECT_EQ(GotoEquatorial(windows).pulsesRA, 101);
}

TEST_F(EquaGoto, UnusableMechanicsOrSpeedsRefuseTheGoto) {
    struct Case {
        const char* name;
        const char* configEqua;  // nullptr: no file
        int levelRA, levelDec;
        QString message;
    } cases[] = {
        {"missing file", nullptr, 2, 2, UnusableMechanicsMessage()},
        {"three values", "200\r\n200\r\n100\r\n", 2, 2, UnusableMechanicsMessage()},
        {"zero ratio", "200\r\n200\r\n0\r\n100\r\n", 2, 2, UnusableMechanicsMessage()},
        {"negative steps", "200\r\n-200\r\n100\r\n100\r\n", 2, 2, UnusableMechanicsMessage()},
        {"not a number", "200\r\n200\r\ncent\r\n100\r\n", 2, 2, UnusableMechanicsMessage()},
        {"empty file", "", 2, 2, UnusableMechanicsMessage()},
        {"no RA speed", "200\r\n200\r\n100\r\n100\r\n", -1, 2, kNoGotoSpeedMessage},
        {"no Dec speed", "200\r\n200\r\n100\r\n100\r\n", 2, -1, kNoGotoSpeedMessage},
        {"speed beyond the list", "200\r\n200\r\n100\r\n100\r\n", 5, 2, kNoGotoSpeedMessage},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        messages.clear();
        windows = FakeWindows{};
        windows.writes = [this] { return Writes().size(); };
        if (c.configEqua) WriteData("config_equa.ini", QByteArray(c.configEqua));
        else QFile::remove(datadir::Path(settingsfiles::kConfigEqua));
        windows.levelRA = c.levelRA;
        windows.levelDec = c.levelDec;
        From(0, 0);
        To(36, 55);
        shared.drive.MotorMode = 1;

        const EquaGotoResult r = GotoEquatorial(windows);

        EXPECT_EQ(r.outcome, EquaGotoResult::Outcome::Refused);
        EXPECT_EQ(shared.drive.MotorMode, 1);
        EXPECT_FALSE(r.Moved());
        ASSERT_EQ(messages.size(), 1);
        EXPECT_EQ(messages[0], c.message);
        EXPECT_TRUE(Writes().empty());
        EXPECT_EQ(windows.shown, 0);
        EXPECT_TRUE(windows.paddle.empty());
        EXPECT_FALSE(shared.altgoto.GotoRunning);
    }
    EXPECT_TRUE(UnusableMechanicsMessage().contains("config_equa.ini"));
}

TEST_F(EquaGoto, NothingInterleavesWithARunningGoto) {
    From(0, 0);
    To(36, 55);
    EquaGotoResult nested;
    AtPulse(10, [&] { nested = GotoEquatorial(windows); });
    const EquaGotoResult r = GotoEquatorial(windows);
    seams::SetDoEvents({});
    EXPECT_EQ(nested.outcome, EquaGotoResult::Outcome::Busy);
    EXPECT_EQ(r.outcome, EquaGotoResult::Outcome::Completed);
    EXPECT_EQ(Data(), Join(Pulses(101, 8, 4), Pulses(11, 0, 1)));
    EXPECT_TRUE(messages.isEmpty());
}

TEST_F(EquaGoto, ThePaddleIsSuspendedForTheWholeGoto) {
    From(0, 0);
    To(36, 55);
    GotoEquatorial(windows);
    EXPECT_EQ(windows.paddle, (std::vector<std::string>{"suspend@0", "resume@" + std::to_string(2 * (101 + 11))}));
}
