// Equatorial sidereal tracking: the rate and the bursts with their carried
// fraction as plain computations, and the manual-drive window's tracking
// frame driven on the simulated port with the injected clock.
#include "core/state.h"
#include "core/tracking.h"
#include "equatorial/frmequapilot.h"
#include "equatorial/frmequapointage.h"
#include "platform/datadir.h"
#include "platform/vbrt.h"
#include "shell/frmDepl.h"
#include "shell/frminterface.h"
#include "tests/started.h"

#include <QCheckBox>
#include <QFile>
#include <QListWidget>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSlider>
#include <QTimer>

#include <cmath>
#include <cstdlib>
#include <functional>
#include <limits>
#include <vector>

using namespace tracking;

namespace {

// --- The computations --------------------------------------------------------

TEST(SiderealRate, HalfStepsPerSecondOfTheRightAscensionMotor) {
    struct Case {
        double steps, ratio, rate;
    } cases[] = {
        {200, 360, 15.04 / 9},      // a half step of 9 arc-seconds
        {400, 180, 15.04 / 9},      // the same gearing another way
        {200, 100, 15.04 / 32.4},   // fewer than one a second
        {48, 1000, 15.04 / 13.5},
        {200, 144, 15.04 / 22.5},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.steps << " steps, ratio " << c.ratio);
        EXPECT_NEAR(SiderealHalfStepsPerSecond(c.steps, c.ratio), c.rate, 1e-12);
    }
    EXPECT_NEAR(SiderealHalfStepsPerSecond(200, 360), 1.67111, 5e-6);
}

TEST(SiderealRate, OnlyARateABurstCanSendIsUsable) {
    const double inf = std::numeric_limits<double>::infinity();
    struct Case {
        double rate;
        bool usable;
    } cases[] = {
        {1.67111, true}, {0.2, true},        {32767, true},
        {32767.2, false}, {46419.75, false}, {inf, false},
        {std::nan(""), false},
    };
    for (const Case& c : cases) EXPECT_EQ(UsableBurstRate(c.rate), c.usable) << c.rate;
}

TEST(SiderealBurst, CountsCarryTheFractionFromSecondToSecond) {
    struct Case {
        const char* what;
        double rate;
        double somme;  // carried in
        std::vector<int> counts;
    } cases[] = {
        {"10.3: every third or fourth 11", 10.3, 0, {10, 10, 10, 11, 10, 10, 11}},
        {"10.7: every third or fourth 10", 10.7, 0, {11, 11, 11, 10, 11, 11, 10}},
        {"2.5 rounds to the even 2, the half carried", 2.5, 0, {2, 3, 2, 3, 2, 3}},
        {"a whole rate sends the same count", 10, 0.4, {10, 10, 10}},
        {"a fraction carried from an earlier run", 10.3, 0.9, {11, 10, 10, 11}},
        {"200 steps and a ratio of 360", 15.04 / 9, 0, {2, 2, 2, 1, 2, 2, 1}},
        {"a carried deficit", 10, -0.5, {10, 10}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        double somme = c.somme;
        std::vector<int> counts;
        for (size_t i = 0; i < c.counts.size(); ++i) {
            const SiderealBurst b = SiderealBurstOf(c.rate, somme);
            EXPECT_NEAR(b.reste, c.rate - std::nearbyint(c.rate), 1e-12);
            counts.push_back(b.count);
            somme = b.somme;
            EXPECT_LT(std::fabs(somme), 1);
        }
        EXPECT_EQ(counts, c.counts);
    }
    EXPECT_EQ(SiderealBurstOf(2.5, 0.5).somme, 0) << "a whole pulse taken from the sum";
    EXPECT_EQ(SiderealBurstOf(10, 0.4).somme, 0.4) << "a whole rate leaves the sum";
}

// --- The window ---------------------------------------------------------------

class EquaTracking : public StartedProgramTest {
protected:
    void SetUp() override {
        StartedProgramTest::SetUp();
        WriteData("config_equa.ini", QByteArray("200\r\n200\r\n360\r\n100\r\n"));  // 15.04 / 9 a second
        frminterface().barchoix_ButtonClick(1);  // "Mode équatorial"
        frminterface().barequa_ButtonClick(3);   // "Pilotage"
        shared.drive.EquaSpeedTable = {{{1, 1}, {1, 1}, {1, 1}, {1, 1}, {1, 1}}};
        clock.second = 17;
        messages.clear();
        seams::SetDoEvents([this] {
            ++events;
            if (onEvents) onEvents(events);
        });
        Sim().ClearWrites();
    }

    Frmequapilot& p() { return frmequapilot(); }
    // One tick of the tracking timer at the clock's second s.
    void TickAt(int s) {
        clock.second = s;
        p().timersuivi_Timer();
    }

    // A sync on a reference star, then a goto typed `raMinutes` of time east
    // (west when negative) and `decMinutes` of arc north of it; once
    // `atPulse` pulses are sent (0: never), `action` runs, by default the
    // progress window's stop.
    void SyncThenGoto(int raMinutes, int decMinutes, int atPulse = 0,
                      std::function<void()> action = [] { frmDepl().cmstoppointage_Click(); }) {
        Frmequapointage& pointing = frmequapointage();
        pointing.lbEtoiles->setCurrentRow(1);
        pointing.lbEtoiles_DblClick();
        const int ra = static_cast<int>(std::floor(shared.equa.TelescopeRA / 10)) + raMinutes;
        const int dec = static_cast<int>(std::floor(shared.equa.TelescopeDec / 10)) + decMinutes;
        pointing.tAD[0]->setText(QString::number(ra / 60));
        pointing.tAD[1]->setText(QString::number(ra % 60));
        pointing.tDec[0]->setText(QString::number(dec / 60));
        pointing.tDec[1]->setText(QString::number(dec % 60));
        const int64_t az = Sim().AzSteps(), alt = Sim().AltSteps();
        bool done = false;
        onEvents = [&, atPulse, az, alt](int) {
            const int64_t sent = std::llabs(Sim().AzSteps() - az) + std::llabs(Sim().AltSteps() - alt);
            if (atPulse > 0 && sent >= atPulse && !done && shared.altgoto.GotoRunning) {
                done = true;
                action();
            }
        };
        pointing.bOK_Click();
        onEvents = nullptr;
    }

    int events = 0;
    std::function<void(int)> onEvents;
};

TEST_F(EquaTracking, TheFrameSitsLeftOfTheCrossAndTrackingIsOffAtLoad) {
    Frmequapilot& w = p();
    EXPECT_EQ(w.Frame1->parentWidget(), w.Frdeplacement);
    EXPECT_EQ(w.Frame1->title(), "Suivi sidéral");
    EXPECT_EQ(w.Label4->text(), "Suivi sidéral");
    EXPECT_EQ(w.Frame1->width(), twips::ToPixels(1455));
    EXPECT_EQ(w.Frame1->height(), twips::ToPixels(1335));
    EXPECT_EQ(w.Shape1->size(), w.Frame1->size());
    EXPECT_LT(w.Frame1->geometry().right(), w.cmdag->x()) << "the cross moved right";
    for (const QPushButton* b : {w.cmdgo, w.cmdstopgo}) {
        EXPECT_EQ(b->width(), twips::ToPixels(615));
        EXPECT_EQ(b->height(), twips::ToPixels(615));
        EXPECT_FALSE(b->icon().isNull());
    }
    EXPECT_GT(w.cmdstopgo->x(), w.cmdgo->x());
    EXPECT_EQ(w.timersuivi->interval(), 100);
    EXPECT_FALSE(w.timersuivi->isActive());
    EXPECT_EQ(w.txtv_az->text(), "IIIIIIIIII");
    w.slaz->setValue(0);
    EXPECT_EQ(w.txtv_az->text(), "Sid.");
    EXPECT_EQ(w.txtnumaz->text(), "1");
    EXPECT_TRUE(Data().empty());
}

TEST_F(EquaTracking, StartTakesTheRateFromTheMechanicsAndWaitsForTheNextSecond) {
    Frmequapilot& w = p();
    w.cmdgo->click();
    EXPECT_TRUE(w.timersuivi->isActive());
    EXPECT_EQ(shared.drive.MotorMode, 1);
    EXPECT_EQ(w.txts->text(), "17");
    EXPECT_TRUE(w.txtpas->text().startsWith("1.67111")) << w.txtpas->text().toStdString();
    EXPECT_EQ(w.txtessai->text(), "0");
    EXPECT_TRUE(messages.isEmpty());

    TickAt(17);
    EXPECT_TRUE(Data().empty()) << "the second of the start sends nothing";
    TickAt(18);
    EXPECT_EQ(Data(), Pulses(2, 8, 4));
    EXPECT_EQ(Sim().AzSteps(), 2);
    EXPECT_EQ(Sim().AltSteps(), 0);
    EXPECT_EQ(w.txtessai->text(), "1");
    EXPECT_EQ(w.txtpas1->text(), "2");
    EXPECT_EQ(shared.drive.EquaStepCount, 2);
}

TEST_F(EquaTracking, OneBurstPerChangeOfSecondMissedSecondsNotMadeUp) {
    Frmequapilot& w = p();
    w.cmdgo->click();
    struct Step {
        int second;
        int pulses;  // sent by this tick
    } steps[] = {
        {17, 0}, {17, 0}, {18, 2}, {18, 0}, {18, 0}, {19, 2},
        {25, 2},  // held up for six seconds: one burst
        {25, 0}, {26, 1}, {0, 2},  // into the next minute
    };
    int essai = 0;
    for (const Step& s : steps) {
        SCOPED_TRACE(testing::Message() << "second " << s.second);
        const int before = Sim().AzSteps();
        TickAt(s.second);
        EXPECT_EQ(Sim().AzSteps() - before, s.pulses);
        if (s.pulses > 0) ++essai;
        EXPECT_EQ(w.txtessai->text(), vb::CStr(essai));
    }
}

TEST_F(EquaTracking, AnHourOfTrackingKeepsTheAxisWithinOneHalfStepOfTheSky) {
    Frmequapilot& w = p();
    clock.second = 0;
    w.cmdgo->click();
    const double rate = 15.04 / 9;
    double worst = 0;
    for (int t = 1; t <= 3600; ++t) {
        for (int tick = 0; tick < 10; ++tick) TickAt(t % 60);  // every 100 ms
        worst = std::max(worst, std::fabs(Sim().AzSteps() - rate * t));
    }
    EXPECT_LT(worst, 1.0) << "one pulse is one half step";
    EXPECT_NEAR(Sim().AzSteps(), 6016, 1);  // 3600 * 15.04 arc-seconds at 9 a half step
    EXPECT_EQ(Sim().AltSteps(), 0);
    EXPECT_EQ(w.txtessai->text(), "3600");
}

TEST_F(EquaTracking, UnusableMechanicsRefuseToStartAndNameTheFile) {
    struct Case {
        const char* what;
        const char* file;  // nullptr: no file
    } cases[] = {
        {"missing", nullptr},
        {"short", "200\r\n200\r\n360\r\n"},
        {"zero steps", "0\r\n200\r\n360\r\n100\r\n"},
        {"zero ratio", "200\r\n200\r\n0\r\n100\r\n"},
        {"not a number", "200\r\n200\r\ntrois cent\r\n100\r\n"},
        {"more than 32767 a second", "200\r\n200\r\n10000000\r\n100\r\n"},
        {"a rate beyond any number", "1e200\r\n200\r\n1e200\r\n100\r\n"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        if (c.file) WriteData("config_equa.ini", QByteArray(c.file));
        else QFile::remove(datadir::Path("\\data\\config_equa.ini"));
        shared.drive.MotorMode = 0;
        messages.clear();
        Frmequapilot& w = p();
        w.cmdgo->click();
        ASSERT_EQ(messages.size(), 1);
        EXPECT_TRUE(messages[0].contains("config_equa.ini")) << messages[0].toStdString();
        EXPECT_TRUE(messages[0].startsWith("Suivi impossible")) << messages[0].toStdString();
        EXPECT_FALSE(w.timersuivi->isActive());
        EXPECT_EQ(shared.drive.MotorMode, 0);
        EXPECT_TRUE(w.txtpas->text().isEmpty());
        EXPECT_TRUE(Data().empty());
    }
}

TEST_F(EquaTracking, NoBurstWhileAGotoRuns) {
    Frmequapilot& w = p();
    w.cmdgo->click();
    shared.altgoto.GotoRunning = true;
    TickAt(18);
    TickAt(19);
    EXPECT_TRUE(Data().empty());
    EXPECT_EQ(w.txtessai->text(), "0");
    shared.altgoto.GotoRunning = false;
    TickAt(20);
    EXPECT_EQ(Data(), Pulses(2, 8, 4));

    // Nor does tracking start while one runs.
    w.cmdstopgo->click();
    shared.drive.MotorMode = 3;
    shared.altgoto.GotoRunning = true;
    w.cmdgo->click();
    EXPECT_FALSE(w.timersuivi->isActive());
    EXPECT_EQ(shared.drive.MotorMode, 3);
    shared.altgoto.GotoRunning = false;
}

TEST_F(EquaTracking, ATickDuringABurstSendsNothingAndTheNextSecondOneBurst) {
    Frmequapilot& w = p();
    w.cmdgo->click();
    // During the first burst the clock passes to the next second and the
    // timer fires again.
    events = 0;
    onEvents = [&](int n) {
        if (n == 1) TickAt(19);
    };
    TickAt(18);
    onEvents = nullptr;
    EXPECT_EQ(Data(), Pulses(2, 8, 4));
    EXPECT_EQ(w.txtessai->text(), "1");
    ASSERT_TRUE(w.second0.has_value());
    EXPECT_EQ(*w.second0, 18) << "the second of the tick that sent the burst";
    TickAt(19);
    EXPECT_EQ(Sim().AzSteps(), 4);
    EXPECT_EQ(w.txtessai->text(), "2");
    TickAt(19);
    EXPECT_EQ(Sim().AzSteps(), 4);
}

TEST_F(EquaTracking, BurstsFollowTheDriveModeAndStopKeepsTheCarriedFraction) {
    Frmequapilot& w = p();
    w.cmdgo->click();
    TickAt(18);
    TickAt(19);
    TickAt(20);  // 2, 2, 2: the sum near -1
    EXPECT_EQ(Sim().AzSteps(), 6);

    // The direction cross's stop: the ticks go on, nothing moves.
    w.cmddstop->click();
    TickAt(21);
    EXPECT_EQ(w.txtessai->text(), "4");
    EXPECT_EQ(Sim().AzSteps(), 6);
    EXPECT_TRUE(w.timersuivi->isActive());
    EXPECT_EQ(w.txtpas1->text(), "1");

    // A stop of tracking keeps the mode; a new start carries the fraction on.
    w.cmdstopgo->click();
    EXPECT_FALSE(w.timersuivi->isActive());
    clock.second = 30;
    w.cmdgo->click();
    EXPECT_EQ(w.txtessai->text(), "0");
    EXPECT_EQ(w.txts->text(), "30");
    for (int s : {31, 32, 33}) TickAt(s);
    EXPECT_EQ(Sim().AzSteps(), 6 + 2 + 2 + 1);
    w.cmdstopgo->click();
    EXPECT_EQ(shared.drive.MotorMode, 1);

    // A mode set by hand is the one the bursts follow: declination, down.
    shared.drive.MotorMode = 4;
    w.timersuivi->start();
    TickAt(34);
    EXPECT_EQ(Sim().AltSteps(), -2);
    EXPECT_EQ(Sim().AzSteps(), 11);
}

TEST_F(EquaTracking, AfterAGotoTrackingTurnsRightAscensionOnlyTheSiderealWay) {
    // Tracking runs, a goto comes (completed or stopped), and the next
    // minute of bursts goes on turning right ascension the way it turned
    // before: the goto hands back the drive mode it found.
    struct Case {
        const char* what;
        int raMinutes, decMinutes;  // the goto, from the star
        int stopAfter;              // pulses, 0: completed
    };
    const Case cases[] = {
        {"east and north, completed", 3, 60, 0},
        {"west and south, completed", -3, -60, 0},
        {"stopped during right ascension", 3, 60, 100},
        {"stopped during declination", -3, 60, 350},
    };
    for (const int play : {0, 5}) {
        for (const Case& c : cases) {
            SCOPED_TRACE(testing::Message() << c.what << ", gear play " << play);
            Sim().ResetMount();
            Sim().SetPlay(play, play);
            clock.second = 17;
            p().cmdgo->click();
            TickAt(18);
            TickAt(19);
            ASSERT_GE(Sim().AzSteps(), 3) << "tracking turns right ascension up";

            SyncThenGoto(c.raMinutes, c.decMinutes, c.stopAfter);
            ASSERT_GT(std::llabs(Sim().AzSteps()), 50) << "the goto moved right ascension";
            if (c.stopAfter > 300) {
                ASSERT_NE(Sim().AltSteps(), 0) << "and was stopped in declination";
            }
            EXPECT_EQ(shared.drive.MotorMode, 1);

            const int64_t az = Sim().AzSteps(), alt = Sim().AltSteps();
            const int64_t azAxis = Sim().AzAxis(), altAxis = Sim().AltAxis();
            Sim().ClearWrites();
            for (int t = 20; t < 80; ++t) TickAt(t % 60);

            // A minute at 15.04 / 9 pulses a second, right ascension up only.
            EXPECT_NEAR(static_cast<double>(Sim().AzSteps() - az), 60 * 15.04 / 9, 1);
            EXPECT_EQ(Sim().AltSteps(), alt);
            EXPECT_EQ(Sim().AltAxis(), altAxis);
            // The axis follows, less the play where the goto reversed it.
            EXPECT_GE(Sim().AzAxis() - azAxis, Sim().AzSteps() - az - play);
            EXPECT_LE(Sim().AzAxis() - azAxis, Sim().AzSteps() - az);
            for (int v : Data()) ASSERT_TRUE(v == 8 || v == 12) << "data register " << v;
            p().cmdstopgo->click();
        }
    }
    EXPECT_TRUE(messages.isEmpty()) << messages.join('\n').toStdString();
}

TEST_F(EquaTracking, TheCrossStopHoldsTheBurstsThroughAGotoUntilTrackingStartsAgain) {
    Frmequapilot& w = p();
    w.cmdgo->click();
    TickAt(18);
    w.cmddstop->click();  // centring done: "STOP" on the cross
    SyncThenGoto(3, 60);
    const int64_t az = Sim().AzSteps(), alt = Sim().AltSteps();
    for (int t = 20; t < 30; ++t) TickAt(t);
    EXPECT_EQ(Sim().AzSteps(), az) << "the bursts send no step after the goto either";
    EXPECT_EQ(Sim().AltSteps(), alt);
    EXPECT_EQ(w.txtessai->text(), "11") << "the ticks go on";

    w.cmdgo->click();  // the tracking start, pressed again
    for (int t = 31; t < 37; ++t) TickAt(t);
    EXPECT_NEAR(static_cast<double>(Sim().AzSteps() - az), 6 * 15.04 / 9, 1);
    EXPECT_EQ(Sim().AltSteps(), alt);

    // "STOP" pressed while a goto runs holds too.
    SyncThenGoto(-3, 60, 100, [&w] { w.cmddstop->click(); });
    const int64_t azAfter = Sim().AzSteps(), altAfter = Sim().AltSteps();
    for (int t = 40; t < 50; ++t) TickAt(t);
    EXPECT_EQ(Sim().AzSteps(), azAfter);
    EXPECT_EQ(Sim().AltSteps(), altAfter);
}

TEST_F(EquaTracking, TrackingTurnsAsThePaddleInversionSaysTheGotoAsItsOwnAndCentringCountsNothing) {
    // Tracking and the manual drive take their direction from the paddle's
    // inversion ("\data\inversion.ini"), the goto from its own
    // ("\data\inversion_point.ini", the pointing window's "Inversion des
    // axes"): each is set on its own.
    struct Case {
        const char* what;
        bool paddleInverted, gotoInverted;
        int trackingWay, gotoEastWay;  // +1: the right-ascension direction line high
    };
    const Case cases[] = {
        {"neither inverted", false, false, 1, 1},
        {"the paddle's inverted: tracking turns the other way", true, false, -1, 1},
        {"the goto's inverted: tracking keeps its way", false, true, 1, -1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        WriteData("inversion.ini", QByteArray(c.paddleInverted ? "Vrai\r\nFaux\r\n" : "Faux\r\nFaux\r\n"));
        Frmequapointage& pointing = frmequapointage();
        pointing.chkpointad->setChecked(c.gotoInverted);
        pointing.chkpointdec->setChecked(false);
        pointing.cmdsave->click();
        pointing.lbEtoiles->setCurrentRow(1);
        pointing.lbEtoiles_DblClick();  // the sync
        const double ra = shared.equa.TelescopeRA;

        // A goto 3 minutes of time east.
        const int minutes = static_cast<int>(std::floor(ra / 10)) + 3;
        pointing.tAD[0]->setText(QString::number(minutes / 60));
        pointing.tAD[1]->setText(QString::number(minutes % 60));
        pointing.tDec[0]->setText(QStringLiteral("20"));
        pointing.tDec[1]->setText(QStringLiteral("0"));
        int64_t before = Sim().AzSteps();
        pointing.bOK_Click();
        ASSERT_GT(std::llabs(Sim().AzSteps() - before), 100);
        EXPECT_EQ(Sim().AzSteps() > before ? 1 : -1, c.gotoEastWay);
        const double reached = shared.equa.TelescopeRA;
        const QString shown = pointing.tADpos->text();

        // A centring move with the manual drive counts nothing: the position
        // stays on the object.
        before = Sim().AzSteps();
        onEvents = [&](int) {
            if (std::llabs(Sim().AzSteps() - before) >= 5 && shared.drive.MotorMode != 0) p().cmddstop->click();
        };
        p().cmdad->click();
        onEvents = nullptr;
        EXPECT_EQ(std::llabs(Sim().AzSteps() - before), 5);
        EXPECT_EQ(shared.equa.TelescopeRA, reached);
        EXPECT_EQ(pointing.tADpos->text(), shown);

        // Tracking: one burst of two pulses.
        clock.second = 17;
        p().cmdgo->click();
        before = Sim().AzSteps();
        TickAt(18);
        p().cmdstopgo->click();
        EXPECT_EQ(Sim().AzSteps() - before, 2 * c.trackingWay);
        EXPECT_EQ(shared.equa.TelescopeRA, reached);
    }
    EXPECT_TRUE(messages.isEmpty()) << messages.join('\n').toStdString();
}

TEST_F(EquaTracking, QuitEndsTracking) {
    Frmequapilot& w = p();
    w.cmdgo->click();
    QTimer* timer = w.timersuivi;
    w.Cmdquit->click();
    EXPECT_FALSE(timer->isActive());
    EXPECT_EQ(shared.drive.MotorMode, 0);
    EXPECT_FALSE(forms::Loaded<Frmequapilot>());
}

}  // namespace
