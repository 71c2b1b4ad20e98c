// Gotos and syncs right after a manual or paddle move while tracking runs,
// the altitude driven past the zenith while tracking, on the simulated
// mount with and without gear play: a goto ends on its target as the
// mount's steps count it, and no tick moves the mount farther than the sky
// moved the object.
#include "altaz/frmaltazpointage.h"
#include "core/tracking.h"
#include "tests/session.h"
#include "tests/started.h"

#include <QListWidget>

#include <functional>
#include <memory>

namespace {

class GotoTracking : public StartedProgramTest, public testing::WithParamInterface<int> {
protected:
    void SetUp() override {
        StartedProgramTest::SetUp();
        clock = {2026, 12, 10, 21, 0, 0, 0, false};
        frminterface().barchoix_ButtonClick(2);  // "Mode altazimutal"
        messages.clear();
        fresh();
    }
    void TearDown() override {
        run.reset();
        seams::SetDoEvents({});
        StartedProgramTest::TearDown();
    }
    // A session on the mount with the gear play of the case, tracking ticks
    // only when the test asks for them.
    void fresh() {
        run.reset();
        run = std::make_unique<session::Session>(clock, 1, GetParam());
        run->TicksWithinMoves(0, 0);
    }
    static double azOf(int row) {
        return PointOf(frmcoord().Time(), boxesOf(row)).azDeg * 3600;
    }
    static EquatorialBoxes boxesOf(int row) {
        return SignedCoordinatesOf(shared.cat.CatalogueRA[row] / 600.0, shared.cat.CatalogueDec[row] / 600.0);
    }
    // Two bright stars well up and far apart in azimuth.
    std::pair<int, int> twoStars() {
        const std::vector<int> up = run->VisibleStars(25);
        EXPECT_GE(up.size(), 2u);
        const int a = up.front();
        const int b = *std::max_element(up.begin(), up.end(), [a](int x, int y) {
            return std::fabs(session::Session::AzimuthGap(azOf(x), azOf(a))) <
                   std::fabs(session::Session::AzimuthGap(azOf(y), azOf(a)));
        });
        return {a, b};
    }
    // Tracking on star `row`, synchronised on it, `ticks` ticks done.
    void trackingOn(int row, const char* increment, int ticks) {
        run->SyncOn(row);
        Frmaltazsuivi& s = run->Tracking();
        s.txtincrement->setText(increment);
        run->KeepTracking();
        ASSERT_TRUE(s.Running());
        run->Ticks(ticks);
    }
    // `n` ticks, each moving the mount no farther than the sky moved the
    // object (three pulses aside), unless it stopped tracking.
    void ticksFollowingTheSky(int n) {
        for (int i = 0; i < n && frmaltazsuivi().Running(); ++i) {
            run->Ticks(1);
            const auto& t = run->LastTick();
            EXPECT_LE(t.azMoved, t.azSky + 3 * shared.site.AzStepArcsec + 1e-6) << "tick " << i;
            EXPECT_LE(t.altMoved, t.altSky + 3 * shared.site.AltStepArcsec + 1e-6) << "tick " << i;
            EXPECT_LT(run->DriftArcsec(), 1e-6) << "tick " << i;
        }
    }
    // Tracking goes on for `n` ticks, each no farther than the sky, on the
    // object it tracks when `onTheObject`, with no message; then stopped.
    void tracksOnWithoutABurst(int n, bool onTheObject) {
        ticksFollowingTheSky(n);
        EXPECT_TRUE(frmaltazsuivi().Running());
        EXPECT_EQ(run->Findings().trackingOverreach, 0);
        if (onTheObject) {
            EXPECT_TRUE(run->OnTheTrackedObject());
        }
        EXPECT_TRUE(messages.isEmpty()) << messages.join('\n').toStdString();
        frmaltazsuivi().imgstop_Click();
    }
    // The place of star `row` typed in the pointing window ("Autre...") and confirmed.
    static void typePosition(int row) {
        Frmaltazpointage& p = frmaltazpointage();
        p.lbCatalogue->setCurrentRow(0);  // "Autre..."
        p.lbCatalogue_Click();
        const EquatorialBoxes e = boxesOf(row);
        p.tAD[0]->setText(e.Txtad_h);
        p.tAD[1]->setText(e.txtad_min);
        p.tDec[0]->setText((e.txtsign == "-" ? "-" : "") + e.txtdec_deg);
        p.tDec[1]->setText(e.txtdec_min);
        p.bOK_Click();
    }
    // A fresh session tracking a star high in the sky (that does not set
    // within the hour), paused for `seconds`, then resumed: no tick yet.
    Frmaltazsuivi& pausedAndResumed(int seconds) {
        fresh();
        messages.clear();
        const std::vector<int> up = run->VisibleStars(45);
        EXPECT_FALSE(up.empty());
        trackingOn(up.empty() ? 0 : up.front(), "1000", 3);
        Frmaltazsuivi& s = frmaltazsuivi();
        s.imgpause_Click();
        run->Wait(seconds);
        s.imgpause_Click();
        return s;
    }
    double pulsesPending() const {
        return std::abs(shared.pos.PendingAzSteps) + std::abs(shared.pos.PendingAltSteps);
    }

    std::unique_ptr<session::Session> run;
};

INSTANTIATE_TEST_SUITE_P(Backlash, GotoTracking, testing::Values(0, 5),
                         [](const testing::TestParamInfo<int>& p) { return "backlash" + std::to_string(p.param); });

struct MoveCase {
    const char* what;
    std::function<void(session::Session&)> move;
};
const MoveCase kMoves[] = {
    {"manual moves of 2000 and 1000 pulses", [](session::Session& s) { s.ManualMove(0, 2000); s.ManualMove(2, 1000); }},
    {"a paddle move of 1500 pulses", [](session::Session& s) { s.PaddleMove(137, 1500); }},
};

TEST_P(GotoTracking, AGotoRightAfterAMoveWhileTrackingEndsOnItsTargetAndTrackingGoesOnWithoutABurst) {
    struct GotoCase {
        const char* what;
        std::function<bool(session::Session&, int)> go;  // false: nothing to point at
    } gotos[] = {
        {"coordinates window", [](session::Session& s, int row) { s.GotoStar(row); return true; }},
        {"pointing window",
         [](session::Session&, int row) {
             Frmaltazpointage& p = frmaltazpointage();
             p.lbCatalogue->setCurrentRow(1);  // "Etoiles magnitude 5", the coordinates window's list
             p.lbCatalogue_Click();
             EXPECT_EQ(p.lbObjets->item(row)->text(), frmcoord().lbObjets->item(row)->text());
             p.lbObjets->setCurrentRow(row);
             p.lbObjets_DblClick();
             return true;
         }},
        {"chart", [](session::Session& s, int) { return s.GotoChartStar(); }},
    };
    for (const MoveCase& m : kMoves) {
        for (const GotoCase& g : gotos) {
            SCOPED_TRACE(testing::Message() << m.what << ", then a goto from the " << g.what);
            fresh();
            const auto [a, b] = twoStars();
            trackingOn(a, "1000", 3);
            m.move(*run);
            ASSERT_GT(pulsesPending(), 0) << "the move's pulses wait for the next tick";
            ASSERT_TRUE(g.go(*run, b));
            EXPECT_TRUE(shared.pos.GotoReached);
            EXPECT_LE(run->GotoMissArcsec(), kGotoToleranceArcsec) << "the mount ends on the target";
            EXPECT_LT(run->DriftArcsec(), 1e-6);
            EXPECT_EQ(pulsesPending(), 0);
            tracksOnWithoutABurst(20, true);
        }
    }
}

TEST_P(GotoTracking, ASyncOrATypedPositionRightAfterAMoveWhileTrackingTakesTheMoveAsPartOfIt) {
    struct DeclareCase {
        const char* what;
        std::function<void(int)> declare;
    } declares[] = {
        {"\"Recalage\"",
         [](int row) {
             frmcoord().lbObjets->setCurrentRow(row);
             frmcoord().cmdreinit_Click();
         }},
        {"a typed position in the pointing window",
         [](int row) { typePosition(row); }},
    };
    for (const MoveCase& m : kMoves) {
        for (const DeclareCase& d : declares) {
            SCOPED_TRACE(testing::Message() << m.what << ", then " << d.what);
            fresh();
            const auto [a, b] = twoStars();
            trackingOn(a, "1000", 3);
            m.move(*run);
            ASSERT_GT(pulsesPending(), 0);
            d.declare(b);
            run->Anchor();  // the telescope now points where the declaration says
            EXPECT_EQ(pulsesPending(), 0) << "no pulse left to move the declared position";
            tracksOnWithoutABurst(10, false);
        }
    }
}

TEST_P(GotoTracking, TheAltitudeDrivenPastTheZenithWhileTrackingIsFollowedOrTrackingStopsWithoutASlew) {
    struct Case {
        const char* what;
        int beyond;  // pulses past 90 degrees
        const char* increment;
        int outcome;  // 1 followed, -1 stopped with its message, 0 either
    } cases[] = {
        {"ten pulses past, 1000 ms: too near for one tick", 10, "1000", -1},
        {"thirty pulses past, 1000 ms", 30, "1000", 0},
        {"thirty pulses past, 2000 ms", 30, "2000", 0},
        {"two degrees past, 500 ms: followed over the zenith", 220, "500", 1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        fresh();
        messages.clear();
        // The star nearest the meridian: over the zenith the mount looks at
        // a point that crosses its azimuth circles fastest.
        const std::vector<int> up = run->VisibleStars(25);
        ASSERT_FALSE(up.empty());
        const int star = *std::min_element(up.begin(), up.end(), [](int x, int y) {
            return std::fabs(session::Session::AzimuthGap(azOf(x), 180 * 3600)) <
                   std::fabs(session::Session::AzimuthGap(azOf(y), 180 * 3600));
        });
        trackingOn(star, c.increment, 2);
        run->DriveAltitudePastZenith(c.beyond);
        EXPECT_GT(session::Session::CounterAlt(), 90 * 3600);
        ticksFollowingTheSky(20);
        EXPECT_EQ(run->Findings().trackingOverreach, 0);
        EXPECT_LT(run->DriftArcsec(), 1e-6);
        const bool stopped = !frmaltazsuivi().Running();
        if (c.outcome != 0) {
            EXPECT_EQ(stopped, c.outcome < 0);
        }
        if (stopped) {
            EXPECT_EQ(messages, QStringList{tracking::kTooNearZenithMessage});
            EXPECT_FALSE(frmaltazsuivi().timcompteur->isActive());
            EXPECT_TRUE(frminterface().heuretimer->isActive()) << "the clock goes back to the main window";
        } else {
            EXPECT_TRUE(messages.isEmpty()) << messages.join('\n').toStdString();
            EXPECT_TRUE(run->OnTheTrackedObject());
            EXPECT_GT(shared.pos.AltitudeArcsec, 90 * 3600) << "followed as the mount stands, over the zenith";
            frmaltazsuivi().imgstop_Click();
        }
        // A goto from there ends on its target.
        const std::vector<int> now = run->VisibleStars(25);
        run->GotoStar(now.front());
        EXPECT_LE(run->GotoMissArcsec(), kGotoToleranceArcsec);
        EXPECT_LT(run->DriftArcsec(), 1e-6);
    }
}

TEST_P(GotoTracking, AGotoThatLastsMinutesWhileTrackingEndsOnTheObjectAsItStandsAndTrackingGoesOn) {
    struct Case {
        const char* what;
        int gotoSeconds;  // the clock the goto's pulses take
    } cases[] = {{"a goto of a minute", 60}, {"a goto of ten minutes", 600}};
    for (const Case& k : cases) {
        SCOPED_TRACE(k.what);
        fresh();
        messages.clear();
        const auto [a, b] = twoStars();
        trackingOn(a, "1000", 3);
        Frmaltazsuivi& s = frmaltazsuivi();
        // The goto's passes and pulses let events run: the clock goes on and
        // the tracking timer comes due at each of its intervals, as at the
        // telescope, until the goto has taken the clock of the case.
        int ms = 0, sinceTick = 0;
        bool inTick = false;
        seams::SetDoEvents([&] {
            if (inTick || !shared.altgoto.GotoRunning || ms >= 1000 * k.gotoSeconds) return;
            constexpr int kStep = 40;
            simsky::Advance(clock, kStep);
            ms += kStep;
            sinceTick += kStep;
            if (sinceTick >= s.timcompteur->interval() && s.timcompteur->isActive()) {
                sinceTick = 0;
                inTick = true;
                s.timcompteur_Timer();
                inTick = false;
            }
        });
        run->GotoStar(b);
        seams::SetDoEvents({});
        run->HookEvents();
        ASSERT_GE(ms, 1000 * k.gotoSeconds);
        ASSERT_TRUE(shared.pos.GotoReached);
        // On the object where it stands when the goto ends, not where it
        // stood when the goto began.
        TimeBoxes now = frmcoord().Time();
        UpdateUtClock(now);
        const Horizontal h = PointOf(now, boxesOf(b));
        EXPECT_LE(std::fabs(session::Session::AzimuthGap(run->MountAz(), h.azDeg * 3600)),
                  kGotoToleranceArcsec + 2 * shared.site.AzStepArcsec);
        EXPECT_LE(std::fabs(run->MountAlt() - h.altDeg * 3600), kGotoToleranceArcsec + 2 * shared.site.AltStepArcsec);
        EXPECT_LT(run->DriftArcsec(), 1e-6);
        ticksFollowingTheSky(10);
        EXPECT_TRUE(s.Running()) << "tracking goes on after the goto";
        EXPECT_TRUE(run->OnTheTrackedObject());
        EXPECT_EQ(run->Findings().trackingStoppedBySky, 0);
        EXPECT_TRUE(messages.isEmpty()) << messages.join('\n').toStdString();
        s.imgstop_Click();
    }
}

TEST_P(GotoTracking, ARecalageOrAMoveDuringALongPauseCountsAtTheTimeItIsMadeAndTrackingResumesWithoutASlew) {
    struct Case {
        const char* what;
        std::function<void(session::Session&, int)> act;
    } cases[] = {
        {"\"Recalage\" on another star", [](session::Session& s, int row) { s.SyncOn(row); }},
        {"a manual move", [](session::Session& s, int) { s.ManualMove(0, 300); }},
        {"a paddle move", [](session::Session& s, int) { s.PaddleMove(137, 300); }},
    };
    for (const Case& k : cases) {
        SCOPED_TRACE(k.what);
        fresh();
        messages.clear();
        const auto [a, b] = twoStars();
        trackingOn(a, "1000", 3);
        Frmaltazsuivi& s = frmaltazsuivi();
        s.imgpause_Click();
        ASSERT_FALSE(s.timcompteur->isActive());
        // Ten minutes of pause, the main window's clock ticking meanwhile.
        Frminterface& main = frminterface();
        EXPECT_TRUE(main.heuretimer->isActive()) << "the clock goes on during the pause";
        for (int i = 0; i < 600; ++i) {
            simsky::Advance(clock, 1000);
            if (main.heuretimer->isActive()) main.heuretimer_Timer();
        }
        k.act(*run, b);
        simsky::Advance(clock, 1000);
        if (main.heuretimer->isActive()) main.heuretimer_Timer();
        s.imgpause_Click();
        EXPECT_FALSE(main.heuretimer->isActive()) << "tracking has the clock again";
        ticksFollowingTheSky(10);
        EXPECT_TRUE(s.Running());
        EXPECT_TRUE(run->OnTheTrackedObject());
        EXPECT_EQ(run->Findings().trackingStoppedBySky, 0);
        EXPECT_TRUE(messages.isEmpty()) << messages.join('\n').toStdString();
        s.imgstop_Click();
    }
}

TEST_P(GotoTracking, APositionTypedWhileTrackingASyncedStarIsTrackedFromThereWithoutASlewBack) {
    fresh();
    messages.clear();
    const auto [a, b] = twoStars();
    trackingOn(a, "1000", 3);  // "Recalage" on a: the coordinate boxes hold it
    typePosition(b);
    run->Anchor();  // the telescope points where the typed position says
    tracksOnWithoutABurst(10, true);
}

// The telescope within the goto's tolerance of the object tracked, right
// after a tick that brought it back; then tracking for `seconds` one-second
// ticks, each no farther than the sky, on the object within a pulse.
void ExpectBackOnTheObjectAndTracked(session::Session& run, int seconds) {
    EXPECT_LE(run.LastTick().caughtUp ? run.GotoMissArcsec() : 0, kGotoToleranceArcsec + 2 * shared.site.AzStepArcsec);
    EXPECT_TRUE(run.OnTheTrackedObject()) << "within the goto's tolerance";
    const int64_t overreach = run.Findings().trackingOverreach;
    for (int i = 0; i < seconds && frmaltazsuivi().Running(); ++i) {
        run.Ticks(1);
        const auto& t = run.LastTick();
        ASSERT_FALSE(t.caughtUp) << "tick " << i;
        ASSERT_LE(t.azMoved, t.azSky + 3 * shared.site.AzStepArcsec + 1e-6) << "tick " << i;
        ASSERT_LE(t.altMoved, t.altSky + 3 * shared.site.AltStepArcsec + 1e-6) << "tick " << i;
        ASSERT_TRUE(run.OnTheTrackedObject()) << "tick " << i;
    }
    EXPECT_TRUE(frmaltazsuivi().Running());
    EXPECT_EQ(run.Findings().trackingOverreach, overreach);
    EXPECT_LT(run.DriftArcsec(), 1e-6);
}

TEST_P(GotoTracking, AfterAPauseTheFirstTickBringsTheTelescopeBackOntoTheObjectAndTrackingGoesOn) {
    for (const int minutes : {1, 10, 60}) {
        SCOPED_TRACE(testing::Message() << "a pause of " << minutes << " minutes");
        Frmaltazsuivi& s = pausedAndResumed(60 * minutes);
        const int catchUps = s.CatchUps();
        run->Ticks(1);
        EXPECT_EQ(s.CatchUps() - catchUps, 1) << "brought back by a goto";
        ExpectBackOnTheObjectAndTracked(*run, 300);
        EXPECT_TRUE(messages.isEmpty()) << messages.join('\n').toStdString();
        s.imgstop_Click();
    }
}

TEST_P(GotoTracking, AnObjectThatSetDuringAPauseIsRefusedAsAGotoRefusesItAndTrackingStops) {
    // A star low in the west, that sets within the hour.
    const std::vector<int> low = run->VisibleStars(2);
    int star = -1;
    for (int row : low) {
        const Horizontal h = PointOf(frmcoord().Time(), boxesOf(row));
        if (h.altDeg < 8 && h.azDeg > 200 && h.azDeg < 340) star = row;
    }
    ASSERT_GE(star, 0) << "a star setting in the west";
    trackingOn(star, "1000", 3);
    Frmaltazsuivi& s = frmaltazsuivi();
    s.imgpause_Click();
    run->Wait(3600);
    ASSERT_LT(PointOf(frmcoord().Time(), frmcoord().Coordinates()).altDeg, 0) << "set meanwhile";
    s.imgpause_Click();
    const int64_t az = Sim().AzSteps(), alt = Sim().AltSteps();
    messages.clear();
    run->Ticks(1);
    EXPECT_EQ(Sim().AzSteps(), az) << "nothing moves";
    EXPECT_EQ(Sim().AltSteps(), alt);
    EXPECT_EQ(messages, QStringList{kBelowHorizonMessage});
    EXPECT_FALSE(s.Running());
    EXPECT_FALSE(s.timcompteur->isActive());
    EXPECT_TRUE(frminterface().heuretimer->isActive()) << "the clock goes back to the main window";
}

TEST_P(GotoTracking, TrackingStartedLateAfterARecalageOrAGotoBringsTheTelescopeOntoTheObject) {
    for (const bool afterAGoto : {false, true}) {
        for (const int minutes : {0, 3, 10}) {
            SCOPED_TRACE(testing::Message() << minutes << " minutes after " << (afterAGoto ? "a goto" : "a \"Recalage\""));
            fresh();
            messages.clear();
            const auto [a, b] = twoStars();
            run->SyncOn(a);
            if (afterAGoto) {
                run->GotoStar(b);
                ASSERT_TRUE(shared.pos.GotoReached);
            }
            // The telescope left standing meanwhile.
            run->Wait(60 * minutes);
            Frmaltazsuivi& s = run->Tracking();
            s.txtincrement->setText("1000");
            run->KeepTracking();
            ASSERT_TRUE(s.Running());
            const int catchUps = s.CatchUps();
            run->Ticks(1);
            if (minutes >= 3) {
                EXPECT_EQ(s.CatchUps() - catchUps, 1) << "brought onto the object by a goto";
            }
            ExpectBackOnTheObjectAndTracked(*run, 60);
            EXPECT_TRUE(messages.isEmpty()) << messages.join('\n').toStdString();
            s.imgstop_Click();
        }
    }
}

TEST_P(GotoTracking, ARecalageOnAnotherStarDuringAPauseIsTrackedFromThereOnResume) {
    const auto [a, b] = twoStars();
    trackingOn(a, "1000", 3);
    Frmaltazsuivi& s = frmaltazsuivi();
    s.imgpause_Click();
    run->SyncOn(b);  // the telescope declared on b
    run->Wait(300);
    s.imgpause_Click();
    const int catchUps = s.CatchUps();
    run->Ticks(1);
    EXPECT_EQ(s.CatchUps() - catchUps, 1);
    EXPECT_DOUBLE_EQ(vb::Val(frmcoord().Coordinates().txtad_min), vb::Val(boxesOf(b).txtad_min)) << "b is tracked";
    EXPECT_DOUBLE_EQ(vb::Val(frmcoord().Coordinates().txtdec_min), vb::Val(boxesOf(b).txtdec_min));
    ExpectBackOnTheObjectAndTracked(*run, 60);
    EXPECT_TRUE(messages.isEmpty()) << messages.join('\n').toStdString();
}

TEST_P(GotoTracking, ARefusedGotoChangesNothingOfWhatTrackingFollows) {
    for (const bool synced : {true, false}) {
        for (const int open : {0, 60}) {
            SCOPED_TRACE(testing::Message() << (synced ? "a synchronised star" : "the star a goto reached")
                                            << ", the box open " << open << " s");
            fresh();
            const auto [a, b] = twoStars();
            if (synced) {
                trackingOn(a, "1000", 3);
            } else {
                run->SyncOn(b);
                run->GotoStar(a);
                Frmaltazsuivi& s = run->Tracking();
                s.txtincrement->setText("1000");
                run->KeepTracking();
                run->Ticks(3);
            }
            const EquatorialBoxes tracked = frmcoord().Coordinates();
            const std::vector<int> set = run->SetStars(10);
            ASSERT_FALSE(set.empty());
            messages.clear();
            run->RefusedGoto(set.front(), open, 0);
            EXPECT_EQ(messages, QStringList{kBelowHorizonMessage});
            EXPECT_EQ(shared.pos.PositionSynced != 0, synced) << "still synchronised";
            EXPECT_EQ(shared.pos.GotoReached, !synced) << "still on the goto's object";
            EXPECT_TRUE(frmcoord().picraquette->Shows(ButtonPictures[7])) << "the goto gave the paddle back";
            run->Ticks(1);  // the first tick after OK
            EXPECT_DOUBLE_EQ(vb::Val(frmcoord().Coordinates().txtad_min), vb::Val(tracked.txtad_min))
                << "the same star tracked";
            EXPECT_DOUBLE_EQ(vb::Val(frmcoord().Coordinates().txtdec_min), vb::Val(tracked.txtdec_min));
            EXPECT_TRUE(frmcoord().picraquette->Shows(ButtonPictures[7])) << "the paddle as the catch-up found it";
            ExpectBackOnTheObjectAndTracked(*run, 60);
            EXPECT_EQ(messages.size(), 1) << messages.join('\n').toStdString();
            frmaltazsuivi().imgstop_Click();
        }
    }
}

TEST_P(GotoTracking, StopOrPauseDuringACatchUpEndsItsGotoAtTheNextPulse) {
    struct Case {
        const char* what;
        bool pause;
    } cases[] = {{"\"Arrêt\": tracking stops", false}, {"pause: tracking stays paused", true}};
    for (const Case& k : cases) {
        SCOPED_TRACE(k.what);
        Frmaltazsuivi& s = pausedAndResumed(600);
        // The tracking picture pressed at the 20th pulse of the catch-up's goto.
        int64_t pressedAt = -1;
        auto steps = [this] { return std::llabs(Sim().AzSteps()) + std::llabs(Sim().AltSteps()); };
        const int64_t before = steps();
        seams::SetDoEvents([&] {
            if (pressedAt >= 0 || !shared.altgoto.GotoRunning || steps() - before < 20) return;
            pressedAt = steps();
            if (k.pause) s.imgpause_Click();
            else s.imgstop_Click();
        });
        s.timcompteur_Timer();
        seams::SetDoEvents({});
        run->HookEvents();
        ASSERT_GE(pressedAt, 0) << "a catch-up ran";
        EXPECT_LE(steps() - pressedAt, 2) << "the goto ended at its next pulse";
        EXPECT_FALSE(shared.altgoto.GotoRunning);
        EXPECT_FALSE(s.timcompteur->isActive());
        EXPECT_EQ(s.Running(), k.pause);
        if (k.pause) {
            EXPECT_TRUE(s.imgpause->Shows(ButtonPictures[9])) << "still paused";
        }
        EXPECT_TRUE(messages.isEmpty()) << messages.join('\n').toStdString();
        EXPECT_LT(run->DriftArcsec(), 1e-6);
        s.imgstop_Click();
    }
}

TEST_P(GotoTracking, SteadyTrackingThroughTheZenithRegionStopsThereWithoutASlew) {
    // An object passing 0.15 degree from the zenith, tracked from a few
    // minutes before: its azimuth turns ever faster, until a tick would
    // turn more than 1 degree. Bursts take their time at the port (a
    // millisecond a pulse), so that on a fine mechanics each tick comes
    // later than the last: never a catch-up goto, never a slew.
    struct Case {
        const char* what;
        double stepArcsec;
        const char* increment;
    } cases[] = {
        {"32.4 arc-seconds a step, 1000 ms", 32.4, "1000"},
        {"0.3 arc-second a step, 1000 ms", 0.3, "1000"},
        {"0.3 arc-second a step, 200 ms", 0.3, "200"},
    };
    for (const Case& k : cases) {
        SCOPED_TRACE(k.what);
        fresh();
        messages.clear();
        shared.site.AzStepArcsec = shared.site.AltStepArcsec = k.stepArcsec;
        run->StepsTakeClock(1);
        Frmcoord& c = frmcoord();
        TimeBoxes t = c.Time();
        UpdateUtClock(t);
        c.SetTime(t);
        c.SetCoordinates(SignedCoordinatesOf(simsky::RaAtHourAngle(t, -0.1), SiteLatitudeRad() * 180 / Pi + 0.15));
        SyncOnCoordinates(t, c.Coordinates());
        run->Anchor();
        Frmaltazsuivi& s = run->Tracking();
        s.txtincrement->setText(k.increment);
        run->KeepTracking();
        const int catchUps = s.CatchUps();
        int ticks = 0;
        for (; ticks < 5000 && s.Running(); ++ticks) {
            run->Ticks(1);
            const auto& tick = run->LastTick();
            ASSERT_LE(tick.azMoved, tracking::kLongestTickMoveArcsec + k.stepArcsec) << "tick " << ticks;
            ASSERT_LE(tick.altMoved, tracking::kLongestTickMoveArcsec + k.stepArcsec) << "tick " << ticks;
            ASSERT_EQ(s.CatchUps(), catchUps) << "no goto, tick " << ticks;
        }
        EXPECT_FALSE(s.Running()) << "stopped near the zenith after " << ticks << " ticks";
        EXPECT_EQ(messages, QStringList{tracking::kTooNearZenithMessage});
        EXPECT_GT(PointOf(c.Time(), c.Coordinates()).altDeg, 89) << "where it stopped";
        EXPECT_GT(ticks, 5) << "tracked before it stopped";
        EXPECT_LT(run->DriftArcsec(), 1e-3);  // a million steps of 0.3 arc-second add their roundings
    }
}

TEST_P(GotoTracking, TheFirstTickAfterAStartSendsNoMoreThanTheSkysMotion) {
    // Tracking the point the counters show, high in the sky where the
    // azimuth turns fast: the first tick moves the mount as the sky does,
    // not by the rounding of the coordinate boxes.
    for (const double altDeg : {60.0, 80.0, 87.0}) {
        SCOPED_TRACE(testing::Message() << altDeg << " degrees up");
        fresh();
        messages.clear();
        const auto [a, b] = twoStars();
        (void)b;
        run->SyncOn(a);
        shared.pos.AltitudeArcsec = altDeg * 3600;  // declared there, as a typed position would
        shared.pos.PositionSynced = vb::False;
        run->Anchor();
        Frmaltazsuivi& s = run->Tracking();
        s.txtincrement->setText("1000");
        run->KeepTracking();
        run->Ticks(1);
        const auto& t = run->LastTick();
        EXPECT_FALSE(t.caughtUp);
        EXPECT_LE(t.azMoved, t.azSky + shared.site.AzStepArcsec + 1e-6);
        EXPECT_LE(t.altMoved, t.altSky + shared.site.AltStepArcsec + 1e-6);
        s.imgstop_Click();
    }
}

}  // namespace
