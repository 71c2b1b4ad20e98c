// Randomised observing sessions on the simulated mount: after every goto,
// stop, sync, tracking tick, tracking button, manual move, paddle move and
// chart goto, the position counters say where the mount points, and only
// the moves send pulses; the same with the azimuth motor wired the other way
// round and the direction test run between the actions; then gotos in a row,
// with the clock standing still and with it running; last, equatorial gotos
// drawn at random.
#include "tests/equasession.h"
#include "tests/session.h"
#include "tests/started.h"
#include <memory>
#include <random>

namespace {

// After every action of the session the counters and the slack record
// agreed with the mount, only moves sent pulses, and tracking followed its
// object and showed what its buttons did.
void ExpectCountersOnTheMount(const session::Report& r) {
    EXPECT_EQ(r.driftedActions, 0) << r.firstFault.toStdString();
    EXPECT_LT(r.worstDriftArcsec, 1e-6) << r.firstFault.toStdString();
    EXPECT_EQ(r.slackDisagreements, 0) << r.firstFault.toStdString();
    EXPECT_EQ(r.unexpectedPulses, 0) << r.firstFault.toStdString();
    EXPECT_EQ(r.unaskedPulses, 0) << r.firstFault.toStdString();
    EXPECT_EQ(r.trackingAstray, 0) << r.firstFault.toStdString();
    EXPECT_EQ(r.trackingMisshown, 0) << r.firstFault.toStdString();
}

class SessionTest : public StartedProgramTest {
protected:
    void SetUp() override {
        StartedProgramTest::SetUp();
        clock = {2026, 12, 10, 21, 0, 0, 0, false};
        frminterface().barchoix_ButtonClick(2);  // "Mode altazimutal"
        messages.clear();
    }
    void TearDown() override {
        seams::SetDoEvents({});
        StartedProgramTest::TearDown();
    }
};

class Session : public SessionTest, public testing::WithParamInterface<int> {};

INSTANTIATE_TEST_SUITE_P(Backlash, Session, testing::Values(0, 5),
                         [](const testing::TestParamInfo<int>& p) { return "backlash" + std::to_string(p.param); });

TEST_P(Session, ThreeHundredRandomActionsLeaveTheCountersOnTheMount) {
    session::Session s(clock, 20261210, GetParam());
    const session::Report r = s.Run(300);

    EXPECT_EQ(r.actions, 300);
    for (int k = 0; k < session::kActionKinds; ++k) EXPECT_GT(r.done[k], 0) << session::kActionNames[k] << " never drawn";
    ExpectCountersOnTheMount(r);
    EXPECT_GT(r.pulses, 100000) << "the mount moved";
    // Every completed goto, also right after a move while tracking, ends on
    // its target; no tick moves farther than onto the object, past the zenith too.
    EXPECT_GT(r.gotosChecked, 20);
    EXPECT_EQ(r.gotoMisses, 0) << r.firstFault.toStdString();
    EXPECT_LE(r.worstGotoMissArcsec, kGotoToleranceArcsec) << r.firstFault.toStdString();
    EXPECT_EQ(r.trackingOverreach, 0) << r.firstFault.toStdString();
    // Pauses, late starts and gotos refused after a wait: tracking brought
    // the telescope back by a goto, within its tolerance (counted above).
    EXPECT_GT(r.catchUps, 0);
}

TEST_P(Session, AReversedAzimuthMotorFoundByTheDirectionTestKeepsTheCountersOnTheMount) {
    // The azimuth motor wired the other way round: the direction test swaps
    // its values (and with them the slack record), then random actions with
    // direction tests between them leave the counters on the mount.
    session::Session s(clock, 20261211, GetParam());
    s.ReverseAzimuthMotor();
    ASSERT_TRUE(s.DirectionTest()) << "the azimuth values swapped";
    EXPECT_EQ(shared.site.AzPlusBits, 0);
    EXPECT_EQ(shared.site.AzMinusBits, 8);
    for (int chunk = 0; chunk < 9; ++chunk) {
        s.Run(20);
        EXPECT_TRUE(s.DirectionTest(0, chunk % 2 == 0)) << "kept once found";
    }
    const session::Report r = s.Run(20);

    EXPECT_EQ(r.actions, 200);
    // Choosing the mount type again puts the values back: the test runs again after each change.
    EXPECT_EQ(r.directionTests, 10 + r.done[static_cast<int>(session::Action::MountChange)]);
    ExpectCountersOnTheMount(r);
    EXPECT_GT(r.pulses, 10000) << "the mount moved";
}

}  // namespace

namespace {

// One case at a time on a fresh session, the simulated mount without play
// unless a case sets it.
class SessionCase : public SessionTest {
protected:
    void SetUp() override {
        SessionTest::SetUp();
        run = std::make_unique<session::Session>(clock, 1, 0);
        stars = run->VisibleStars(25);
        ASSERT_GE(stars.size(), 4u);
        // Two stars far apart: the first and the one farthest from it in azimuth.
        a = stars[0];
        b = *std::max_element(stars.begin(), stars.end(), [this](int x, int y) { return azGap(x) < azGap(y); });
    }
    void TearDown() override {
        run.reset();
        SessionTest::TearDown();
    }
    // How far star `row` stands from star `a` in azimuth now, degrees.
    double azGap(int row) {
        return std::fabs(session::Session::AzimuthGap(azOf(row), azOf(a)));
    }
    static double azOf(int row) {
        EquatorialBoxes boxes = SignedCoordinatesOf(shared.cat.CatalogueRA[row] / 600.0, shared.cat.CatalogueDec[row] / 600.0);
        return PointOf(frmcoord().Time(), boxes).azDeg * 3600;
    }
    // The object in the coordinate boxes, as the goto to catalogue row `row` leaves them.
    static EquatorialBoxes boxesOf(int row) {
        return SignedCoordinatesOf(shared.cat.CatalogueRA[row] / 600.0, shared.cat.CatalogueDec[row] / 600.0);
    }
    Frmaltazsuivi& startTracking(const char* increment = "1000") {
        Frmaltazsuivi& s = run->Tracking();
        s.txtincrement->setText(increment);
        frmcoord().txtms->setText("0");
        s.imglecture_Click();
        return s;
    }
    int64_t steps() { return std::llabs(Sim().AzSteps()) + std::llabs(Sim().AltSteps()); }
    // The pulses of one tick.
    int64_t oneTick() {
        const int64_t before = steps();
        run->Ticks(1);
        return steps() - before;
    }
    // A fresh session with `backlash` steps of play tracking star a, then a
    // goto to star b while tracking runs.
    void gotoWhileTracking(int backlash) {
        run.reset();
        run = std::make_unique<session::Session>(clock, 1, backlash);
        run->SyncOn(a);
        startTracking();
        run->GotoStar(b);
    }
    void expectOnTheMount() {
        EXPECT_LT(run->DriftArcsec(), 1e-6);
        EXPECT_TRUE(run->OnTheTrackedObject());
    }

    std::unique_ptr<session::Session> run;
    std::vector<int> stars;
    int a = 0, b = 0;
};

TEST_F(SessionCase, ASyncWhileTrackingTracksTheNewObjectWithoutMovingAMotor) {
    run->SyncOn(a);
    startTracking();
    run->Ticks(5);
    expectOnTheMount();
    ASSERT_GT(azGap(b), 20 * 3600);

    const int64_t before = steps();
    run->SyncOn(b);  // "Recalage" on another star
    EXPECT_EQ(steps(), before) << "a sync moves no motor";
    EXPECT_LE(oneTick(), 2) << "the next tick tracks the new object from where it was synchronised";
    expectOnTheMount();
    EXPECT_EQ(vb::Val(frmcoord().Coordinates().txtdec_deg), vb::Val(boxesOf(b).txtdec_deg));
    EXPECT_EQ(vb::Val(frmcoord().Coordinates().txtad_min), vb::Val(boxesOf(b).txtad_min));
    run->Ticks(120);
    expectOnTheMount();
}

TEST_F(SessionCase, AGotoWhileTrackingIsFollowedFromWhereItEnded) {
    struct Case {
        const char* what;
        int stopAfter;  // 0: completed
    } cases[] = {{"completed: its target is tracked", 0}, {"stopped: the position the pulses reached", 700}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        run->SyncOn(a);
        startTracking();
        run->Ticks(3);
        run->GotoStar(b, c.stopAfter);
        const double az = shared.pos.AzimuthArcsec;
        EXPECT_LE(oneTick(), 6) << "no pulse back toward the old object";
        EXPECT_LT(std::fabs(session::Session::AzimuthGap(shared.pos.AzimuthArcsec, az)), 6 * shared.site.AzStepArcsec);
        expectOnTheMount();
        if (c.stopAfter == 0) {
            EXPECT_EQ(frmcoord().Coordinates().Txtad_h, boxesOf(b).Txtad_h);
            EXPECT_EQ(frmcoord().Coordinates().txtad_min, boxesOf(b).txtad_min);
        }
        run->Ticks(60);
        expectOnTheMount();
        frmaltazsuivi().imgstop_Click();
    }
}

TEST_F(SessionCase, AGotoAManualMoveOrAPaddleMoveEndTheSynchronisedState) {
    struct Case {
        const char* what;
        std::function<void()> move;
        bool trackTheGotoTarget;
    } cases[] = {
        {"goto", [this] { run->GotoStar(b); }, true},
        {"manual move", [this] { run->ManualMove(0, 300); }, false},
        {"paddle move", [this] { run->PaddleMove(137, 300); }, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        run->SyncOn(a);
        EXPECT_EQ(shared.pos.PositionSynced, vb::True);
        c.move();
        EXPECT_EQ(shared.pos.PositionSynced, vb::False);
        frminterface().heuretimer_Timer();  // the clock applies the pulses of a move
        const double az = shared.pos.AzimuthArcsec, alt = shared.pos.AltitudeArcsec;
        const int64_t before = steps();
        startTracking();
        // The start keeps the counters (no jump back to the synchronised object).
        EXPECT_EQ(shared.pos.AzimuthArcsec, az);
        EXPECT_EQ(shared.pos.AltitudeArcsec, alt);
        EXPECT_EQ(steps(), before);
        if (c.trackTheGotoTarget) {
            EXPECT_EQ(frmcoord().Coordinates().txtad_min, boxesOf(b).txtad_min);
        }
        EXPECT_LE(oneTick(), 6) << "tracking starts from where the telescope points";
        expectOnTheMount();
        frmaltazsuivi().imgstop_Click();
    }
}

TEST_F(SessionCase, ATrackingTickWithinAManualOrPaddleMoveLeavesTheCountersOnTheMount) {
    struct Case {
        const char* what;
        int backlash;
        uint64_t phase;  // of 40 passes of events: odd, the low half of a pulse; 0, its high half
    } cases[] = {
        {"ticks in the low half of a pulse", 0, 1},
        {"ticks in the high half of a pulse", 0, 0},
        {"ticks in the low half, gear play", 5, 1},
        {"ticks in the high half, gear play", 5, 0},
    };
    struct Move {
        const char* what;
        std::function<void(session::Session&)> run;
    } moves[] = {
        {"manual right", [](session::Session& s) { s.ManualMove(0, 300); }},
        {"manual left", [](session::Session& s) { s.ManualMove(1, 300); }},
        {"manual up", [](session::Session& s) { s.ManualMove(2, 300); }},
        {"manual down", [](session::Session& s) { s.ManualMove(3, 300); }},
        {"paddle azimuth one way", [](session::Session& s) { s.PaddleMove(137, 300); }},
        {"paddle azimuth the other way", [](session::Session& s) { s.PaddleMove(9, 300); }},
        {"paddle altitude one way", [](session::Session& s) { s.PaddleMove(18, 300); }},
        {"paddle altitude the other way", [](session::Session& s) { s.PaddleMove(2, 300); }},
        // The paddle as the last move left it, not switched on afresh.
        {"paddle altitude, left on", [](session::Session& s) { s.PaddleMove(18, 300, false); }},
        {"paddle azimuth, left on", [](session::Session& s) { s.PaddleMove(9, 300, false); }},
    };
    for (const Case& c : cases) {
        for (const Move& m : moves) {
            SCOPED_TRACE(testing::Message() << c.what << ", " << m.what);
            run.reset();
            run = std::make_unique<session::Session>(clock, 1, c.backlash);
            run->TicksWithinMoves(40, c.phase);
            run->SyncOn(a);
            Frmaltazsuivi& s = startTracking("2000");
            run->Ticks(2);
            m.run(*run);
            EXPECT_GT(run->TicksWithinMovesDone(), 0) << "tracking ticked within the move";
            // The move's steps turned its own axis its own way, the ticks'
            // theirs; the paddle timer, on since the start, moved nothing.
            EXPECT_EQ(run->Findings().unaskedPulses, 0) << run->UnaskedStep().toStdString();
            EXPECT_LT(run->DriftArcsec(), 1e-6);
            EXPECT_TRUE(run->SlackAgrees());
            s.imgstop_Click();
        }
    }
}

TEST_F(SessionCase, TrackingAcrossAzimuthReversalsKeepsTheMountWithinAPulse) {
    // A star at +60 degrees, circumpolar from 48.8 N: its azimuth turns back
    // at its elongations. 5 pulses of play in the gears.
    run.reset();
    run = std::make_unique<session::Session>(clock, 1, 5);
    Frmcoord& c = frmcoord();
    TimeBoxes t = c.Time();
    UpdateUtClock(t);
    c.SetTime(t);
    c.SetCoordinates(SignedCoordinatesOf(simsky::RaAtHourAngle(t, -4), 60));
    SyncOnCoordinates(t, c.Coordinates());
    run->Anchor();
    startTracking("5000");
    int reversals = 0;
    int64_t lastMove = 0, lastAz = Sim().AzAxis();
    for (int tick = 0; tick < 8 * 720; ++tick) {
        run->Ticks(1);
        ASSERT_LT(run->DriftArcsec(), 1e-6) << "tick " << tick;
        ASSERT_TRUE(run->OnTheTrackedObject()) << "tick " << tick;
        ASSERT_TRUE(run->SlackAgrees()) << "tick " << tick;
        const int64_t move = Sim().AzAxis() - lastAz;
        if (move != 0) {
            if (lastMove != 0 && (move > 0) != (lastMove > 0)) ++reversals;
            lastMove = move;
        }
        lastAz = Sim().AzAxis();
    }
    EXPECT_GE(reversals, 1);
}

TEST_F(SessionCase, FortyGotosInARowEndWhereTheCountersSay) {
    for (const bool running : {false, true}) {
        SCOPED_TRACE(running ? "clock running" : "clock standing still");
        run.reset();
        run = std::make_unique<session::Session>(clock, 1, 0, running);
        run->SyncOn(stars[0]);
        std::mt19937 pick(40);
        for (int n = 0; n < 40; ++n) {
            const std::vector<int> up = run->VisibleStars(15);
            ASSERT_FALSE(up.empty());
            run->GotoStar(up[pick() % up.size()]);
            EXPECT_TRUE(messages.isEmpty()) << messages.join(' ').toStdString();
            EXPECT_LT(run->DriftArcsec(), 1e-6) << "goto " << n;
            const auto& g = shared.altgoto;
            EXPECT_LE(std::fabs(session::Session::AzimuthGap(run->MountAz(), g.GotoTargetAz)), 120) << "goto " << n;
            EXPECT_LE(std::fabs(run->MountAlt() - g.GotoTargetAlt), 120) << "goto " << n;
            simsky::Advance(clock, 30000);
            frminterface().heuretimer_Timer();
        }
    }
}

TEST_F(SessionCase, ThePaddleLeftOnAfterAGotoMovesNothingOverAnHourOfTracking) {
    // A goto while tracking runs gives the port back to the paddle at its
    // end; tracking's bursts then leave their step and direction lines on
    // the data register at every tick, and the paddle timer reads it five
    // times a second with no button held.
    for (const int backlash : {0, 5}) {
        SCOPED_TRACE(testing::Message() << backlash << " steps of play");
        gotoWhileTracking(backlash);
        ASSERT_TRUE(frminterface().Timer->isActive()) << "the goto left the paddle on";
        const int64_t before = steps();
        run->PaddleIdle(5 * 3600);  // a tick every three readings: the pulses of an hour of tracking
        EXPECT_GT(steps(), before) << "tracking moved the mount";
        EXPECT_EQ(run->Findings().unaskedPulses, 0) << run->UnaskedStep().toStdString();
        EXPECT_LT(run->DriftArcsec(), 1e-6);
        expectOnTheMount();
        frmaltazsuivi().imgstop_Click();
    }
}

TEST_F(SessionCase, TheDirectionTestAfterTrackingWithThePaddleOnKeepsACorrectlyWiredMotor) {
    for (const int backlash : {0, 5}) {
        SCOPED_TRACE(testing::Message() << backlash << " steps of play");
        gotoWhileTracking(backlash);
        run->Ticks(30);
        ASSERT_TRUE(frminterface().Timer->isActive()) << "the goto left the paddle on";
        const int64_t east = Sim().AzSteps();
        ASSERT_TRUE(run->DirectionTest(0, false)) << "the azimuth values kept";
        EXPECT_GE(Sim().AzSteps() - east, 30) << "the button held east turned the azimuth east";
        EXPECT_EQ(shared.site.AzPlusBits, 8);
        EXPECT_EQ(shared.site.AzMinusBits, 0);
        EXPECT_EQ(run->Findings().unaskedPulses, 0) << run->UnaskedStep().toStdString();
        EXPECT_EQ(run->Findings().driftedActions, 0) << run->Findings().firstFault.toStdString();
    }
}

TEST_F(SessionCase, ChoosingTheAltazimuthMountAgainPutsTheSlackRecordBackWithTheDirectionValues) {
    // 40 steps of play, the azimuth motor wired the other way round: the
    // direction test swaps its values, and the slack record with them.
    // Choosing the mount type again puts the values back as they start, the
    // record with them: a second test with a press shorter than the play, and
    // the moves after it, keep the counters on the mount.
    run.reset();
    run = std::make_unique<session::Session>(clock, 1, 40);
    run->ReverseAzimuthMotor();
    ASSERT_TRUE(run->DirectionTest());
    ASSERT_EQ(shared.site.AzPlusBits, 0);

    run->ChangeMount();

    EXPECT_EQ(shared.site.AzPlusBits, 8);
    EXPECT_EQ(shared.site.AzMinusBits, 0);
    // The direction line high counts plus again: the record says what a move with it crosses first.
    EXPECT_EQ(slack::TakeUp(slack::Azimuth(), vb::True, 40), Sim().AzPlusGap());
    EXPECT_TRUE(run->SlackAgrees());
    EXPECT_LT(run->DriftArcsec(), 1e-6);

    ASSERT_TRUE(run->DirectionTest(5)) << "found again with a press of 5 steps";
    const struct {
        const char* what;
        std::function<void()> move;
    } moves[] = {
        {"paddle east", [this] { run->PaddleMove(9, 100); }},
        {"paddle west", [this] { run->PaddleMove(137, 100); }},
        {"manual right", [this] { run->ManualMove(0, 100); }},
        {"manual left", [this] { run->ManualMove(1, 100); }},
    };
    for (const auto& m : moves) {
        SCOPED_TRACE(m.what);
        m.move();
        EXPECT_LT(run->DriftArcsec(), 1e-6);
        EXPECT_TRUE(run->SlackAgrees());
    }
    EXPECT_TRUE(run->Findings().firstFault.isEmpty()) << run->Findings().firstFault.toStdString();
}

TEST_F(SessionCase, ABacklashMeasurementCountsTheStepsThatTurnedTheAxis) {
    // "Début", a paddle button held, "Fin" (set-up window): the measured
    // backlash is the pulses held; those beyond the slack the gears held
    // turned the axis, and the counters count them. The slack record says
    // what the gears hold, but after a measurement of a play the gears do not
    // have (the button held where the gears had none to cross).
    struct Case {
        const char* what;
        bool azimuth;
        int16_t code;  // 137 azimuth and 18 altitude the plus way, against the slack at start; 9 azimuth minus
        int play;
        int held;
        int64_t turned;  // steps the axis turned
        bool slackAgrees;
    } cases[] = {
        {"no play: every pulse turns the axis", true, 137, 0, 30, 30, false},
        {"play 5, held 3: all slack", true, 137, 5, 3, 0, true},
        {"play 5, held 52: 47 steps turned", true, 137, 5, 52, 47, true},
        {"play 40, held 30: all slack", true, 137, 40, 30, 0, true},
        {"play 40, held 87: 47 steps turned", true, 137, 40, 87, 47, true},
        {"altitude, play 40, held 87: 47 steps turned", false, 18, 40, 87, 47, true},
        {"play 40, held the way the gears rest: every pulse turns the axis", true, 9, 40, 30, -30, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        run.reset();
        run = std::make_unique<session::Session>(clock, 1, c.play);
        run->SyncOn(a);
        const int64_t axis0 = c.azimuth ? Sim().AzAxis() : Sim().AltAxis();

        run->MeasureBacklash(c.azimuth, c.code, c.held);

        EXPECT_EQ((c.azimuth ? Sim().AzAxis() : Sim().AltAxis()) - axis0, c.turned);
        EXPECT_LT(run->DriftArcsec(), 1e-6) << "the counters on the mount";
        EXPECT_EQ(run->SlackAgrees(), c.slackAgrees);
        EXPECT_EQ(c.azimuth ? shared.site.BacklashAz : shared.site.BacklashAlt, c.held) << "the measured backlash";
        const BacklashPanel& panel = *frmconfig().Frame3;
        EXPECT_EQ((c.azimuth ? panel.txtbacklash_az : panel.txtbacklash_alt)->text(), QString::number(c.held));
    }
}

TEST_F(SessionCase, TheStepsOfAMoveNotYetCountedReachTheCountersWhenTheMountTypeIsChosenAgain) {
    // A move, and before the clock has applied its steps, "Mode équatorial"
    // and "Mode altazimutal": the coordinates window's load counts them.
    struct Case {
        const char* what;
        int play;
        std::function<void(session::Session&)> move;
    } cases[] = {
        {"paddle, 39 steps", 0, [](session::Session& s) { s.PaddleMove(137, 39); }},
        {"paddle, 39 steps, gear play 5", 5, [](session::Session& s) { s.PaddleMove(137, 39); }},
        {"paddle altitude, gear play 5", 5, [](session::Session& s) { s.PaddleMove(2, 39); }},
        {"manual drive, 39 steps", 0, [](session::Session& s) { s.ManualMove(1, 39); }},
        {"manual drive, gear play 5", 5, [](session::Session& s) { s.ManualMove(2, 39); }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        run.reset();
        run = std::make_unique<session::Session>(clock, 1, c.play);
        run->SyncOn(a);
        c.move(*run);
        ASSERT_NE(std::abs(shared.pos.PendingAzSteps) + std::abs(shared.pos.PendingAltSteps), 0)
            << "steps the clock has not applied";

        run->ChangeMount();

        EXPECT_EQ(shared.pos.PendingAzSteps, 0);
        EXPECT_EQ(shared.pos.PendingAltSteps, 0);
        EXPECT_LT(run->DriftArcsec(), 1e-6) << "the counters on the mount";
        EXPECT_TRUE(run->SlackAgrees());
    }
}

}  // namespace

namespace {

// An equatorial session through the pointing and manual-drive windows
// (tests/equasession.h): gotos, some across 0 h, with tracking between them.
class EquatorialSession : public StartedProgramTest {
protected:
    void SetUp() override {
        StartedProgramTest::SetUp();
        frminterface().barchoix_ButtonClick(1);  // "Mode équatorial"
        shared.drive.EquaSpeedTable = {};          // as fast as the port goes
        messages.clear();
    }
    void TearDown() override {
        seams::SetDoEvents({});
        StartedProgramTest::TearDown();
    }
};

TEST_F(EquatorialSession, ARandomRunOfGotosAndTrackingMovesOnlyWhatWasAskedAndKeepsThePositionOnTheMount) {
    for (const int play : {0, 5}) {
        SCOPED_TRACE(testing::Message() << "gear play " << play);
        Sim().ResetMount();
        Sim().SetPlay(play, play);
        equasession::Report r;
        {
            equasession::Gotos run(20261211, clock);
            r = run.Run(100);
        }

        EXPECT_EQ(r.gotos, 100);
        EXPECT_GT(r.stopped, 0);
        EXPECT_GT(r.acrossZero, 5);
        EXPECT_GT(r.syncs, 1);
        EXPECT_GT(r.trackingSeconds, 1000);
        EXPECT_GT(r.trackingPulses, 100) << "tracking moved the mount";
        EXPECT_GT(r.crossStops, 0);
        EXPECT_EQ(r.astray, 0) << r.firstFault.toStdString();
        EXPECT_LE(r.longestRaMoveHours, 12 + r.pulseArcsec / 54000);
        EXPECT_LT(r.worstDriftArcsec, 1e-6) << r.firstFault.toStdString();
        EXPECT_LE(r.worstMissArcsec, 2 * r.pulseArcsec + 1e-6) << r.firstFault.toStdString();
        EXPECT_TRUE(r.firstFault.isEmpty()) << r.firstFault.toStdString();
        EXPECT_GT(r.pulses, 10000) << "the mount moved";
        EXPECT_TRUE(messages.isEmpty()) << messages.join('\n').toStdString();
    }
}

}  // namespace
