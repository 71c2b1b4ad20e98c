// Alt-azimuth sidereal tracking on the simulated port, with the clock seam
// driving simulated time: hours of tracking per star, the mount's position
// (its step counts times the step angles) against the star's azimuth and
// altitude at the time the program's clock shows after each tick, and the
// software cost of one tick (bursts at delay 0, events run as in the program):
// first the tick's computations and bursts alone, then the tracking window's
// whole tick with its displays. Last, randomised observing sessions (gotos,
// stops, syncs, tracking, manual and paddle moves, chart gotos; tests/session.h)
// of growing size, with 0 and 5 steps of gear play: the worst distance between
// the position counters and the simulated mount over each session, which
// should be 0 at every size, and the worst distance from the mount to a
// goto's target after it (gotos also right after a move while tracking),
// which should be within the goto tolerance, and the steps that no move
// asked for or that turned another axis or way than asked (the paddle read
// while another move's bits stood on the port), which should be 0. Before
// them, equatorial gotos drawn at random with tracking between them
// (tests/equasession.h): the worst distance between the telescope position
// and the simulated mount after a goto, which should be 0, and the pulses on
// an axis or a way nobody asked for, which should be none.
//
//   bash tools/dev.sh bench      (or build/bench/bench_tracking)

#include "altaz/altazfiles.h"
#include "altaz/frmaltazsuivi.h"
#include "altaz/frmcoord.h"
#include "core/calendar.h"
#include "core/conversions.h"
#include "core/counters.h"
#include "core/gotostep.h"
#include "core/numbers.h"
#include "core/state.h"
#include "core/tracking.h"
#include "motor/moves.h"
#include "platform/datadir.h"
#include "platform/port.h"
#include "platform/seams.h"
#include "platform/vbrt.h"
#include "motor/handpad.h"
#include "platform/form.h"
#include "shell/frminterface.h"
#include "tests/equasession.h"
#include "tests/session.h"
#include "tests/simsky.h"

#include <QApplication>
#include <QDir>
#include <QLineEdit>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <memory>

namespace {

struct Star {
    const char* what;
    double hourAngleHours;  // at the start; east of the meridian when negative
    double decDeg;
    int incrementMs;
    int hours;
    int lateMinutes = 0;   // tracking started this long after the sync, the mount standing meanwhile
    int pauseMinutes = 0;  // a pause this long halfway (the tracking window only)
};

struct Run {
    double worstArcsec = 0;
    double worstHalfSteps = 0;
    double tickNs = 0;
    long ticks = 0;
};

// The star's hours of ticks from where tracking started: the cost of each
// tick, and the mount against the star at the time shownUt gives after it.
// `tick` says whether the mount is to be on the star after it (not while a
// catch-up brings it back within the goto's tolerance); `halfway` runs
// between the two halves of the ticks.
template <class Tick, class ShownUt, class Halfway>
Run runTicks(const Star& star, double raHours, seams::LocalTime& now, double az0, double alt0, Tick tick,
             ShownUt shownUt, Halfway halfway) {
    Run run;
    const long ticks = static_cast<long>(star.hours) * 3600000 / star.incrementMs;
    for (long k = 0; k < ticks; ++k) {
        if (k == ticks / 2) halfway();
        simsky::Advance(now, star.incrementMs);
        const auto t0 = std::chrono::steady_clock::now();
        const bool measured = tick();
        run.tickNs += std::chrono::duration<double, std::nano>(std::chrono::steady_clock::now() - t0).count();
        if (!measured) continue;

        const Horizontal where = simsky::StarAt(shownUt(), raHours, star.decDeg);
        const simsky::Offset off = simsky::MountOffset(az0, alt0, where);
        run.worstArcsec = std::max({run.worstArcsec, off.az, off.alt});
        run.worstHalfSteps = std::max(run.worstHalfSteps, off.HalfSteps());
    }
    run.ticks = ticks;
    run.tickNs /= static_cast<double>(ticks);
    return run;
}

Run track(const Star& star, seams::LocalTime& now) {
    TimeBoxes time;
    time.dates = DateListsOf(now);
    UpdateUtClock(time);
    ShowSiderealTime0h(time);
    const double raHours = simsky::RaAtHourAngle(time, star.hourAngleHours);
    const EquatorialBoxes target = SignedCoordinatesOf(raHours, star.decDeg);

    auto& d = shared.drive;
    d.TrackIntervalMs = static_cast<int16_t>(star.incrementMs);
    d.TrackDelayAz = 0;
    d.TrackDelayAlt = 0;
    // The mount synchronised on the star, then tracking started.
    SyncOnCoordinates(time, target);
    const double az0 = shared.pos.AzimuthArcsec, alt0 = shared.pos.AltitudeArcsec;
    port::Simulator()->ResetMount();
    tracking::TrackPoint point;
    tracking::StartTracking(point, time);
    tracking::Rebase(point);
    return runTicks(
        star, raHours, now, az0, alt0,
        [&] {
            tracking::TrackTick(point, time, target);
            TrackStepAz();
            TrackStepAlt();
            return true;
        },
        [&] { return simsky::ShownUt(time); }, [] {});
}

// The same through the tracking window, started on the star from the
// coordinates window as the user starts it.
Run trackInWindow(const Star& star, seams::LocalTime& now) {
    Frmcoord& c = frmcoord();
    TimeBoxes t = c.Time();
    UpdateUtClock(t);
    ShowSiderealTime0h(t);
    const double raHours = simsky::RaAtHourAngle(t, star.hourAngleHours);
    c.SetCoordinates(SignedCoordinatesOf(raHours, star.decDeg));
    c.txtms->setText(QStringLiteral("0"));
    c.SetTime(t);
    SyncOnCoordinates(t, c.Coordinates());  // the mount synchronised on the star
    const double az0 = shared.pos.AzimuthArcsec, alt0 = shared.pos.AltitudeArcsec;
    port::Simulator()->ResetMount();
    Frmaltazsuivi& s = frmaltazsuivi();
    s.txtincrement->setText(vb::CStr(star.incrementMs));
    s.txttempoa->setText(QStringLiteral("0"));
    s.txttempoh->setText(QStringLiteral("0"));
    simsky::Advance(now, 60000 * star.lateMinutes);
    s.imglecture_Click();
    // The tick that brings the telescope back and the one after it, which
    // takes it from within the goto's tolerance onto the star, are left out.
    int catchUps = s.CatchUps(), settling = 0;
    const Run run = runTicks(
        star, raHours, now, az0, alt0,
        [&] {
            s.timcompteur_Timer();
            if (s.CatchUps() != catchUps) {
                catchUps = s.CatchUps();
                settling = 2;
            }
            if (settling == 0) return true;
            --settling;
            return false;
        },
        [&] { return simsky::ShownUt(c.Time()); },
        [&] {
            if (star.pauseMinutes == 0) return;
            s.imgpause_Click();
            simsky::Advance(now, 60000 * star.pauseMinutes);
            s.imgpause_Click();
        });
    s.imgstop_Click();
    return run;
}

// The program started again from nothing, the alt-azimuth mount chosen, on
// a fresh simulated port, at 21:00 on 10 December 2026.
void freshProgram(seams::LocalTime& now) {
    forms::UnloadAll();
    QCoreApplication::processEvents();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    ResetMainWindow();
    ResetSharedState();
    handpad::Reset();
    port::Install(std::make_unique<port::SimulatedPort>());
    now = {2026, 12, 10, 21, 0, 0, 0, false};
    frminterface().MDIForm_Load();
    frminterface().barchoix_ButtonClick(2);
}

// The same with the equatorial mount chosen, its gotos as fast as the port goes.
void freshEquatorialProgram(seams::LocalTime& now) {
    freshProgram(now);
    frminterface().barchoix_ButtonClick(1);
    shared.drive.EquaSpeedTable = {};
}

}  // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    port::Install(std::make_unique<port::SimulatedPort>());
    port::Simulator()->SetRecording(false);
    seams::SetDoEvents({});  // the real one: QCoreApplication::processEvents
    seams::LocalTime now{2026, 12, 10, 21, 0, 0, 0, false};
    seams::SetClock([&now] { return now; });
    seams::SetMsgBox([](const QString&) {});

    // The shipped site and mechanics (48°50' N, 2°20' E; 200 steps, ratio 100).
    ApplyConfigAltaz(altazfiles::ConfigAltaz{});
    shared.site.UtOffsetHours = 1;
    shared.site.AzPlusBits = 8;
    shared.site.AltPlusBits = 2;
    std::printf("half step: azimuth %.3f arcsec, altitude %.3f arcsec\n", shared.site.AzStepArcsec,
                shared.site.AltStepArcsec);

    const Star stars[] = {
        {"dec +20, across the meridian, 500 ms", -1, 20, 500, 2},
        {"dec +20, across the meridian, 1000 ms", -1, 20, 1000, 2},
        {"dec +85, through north, 1000 ms", -1, 85, 1000, 2},
        {"dec +5, rising in the east, 1500 ms", -5, 5, 1500, 3},
        {"dec -30, low in the south, 300 ms", -1, -30, 300, 2},
        {"dec +60, overnight, 2000 ms", -4, 60, 2000, 8},
    };
    // Through the tracking window only: tracking started late, or paused.
    const Star caughtUp[] = {
        {"dec +20, started 5 min late, 1000 ms", -1, 20, 1000, 2, 5, 0},
        {"dec +20, a pause of 10 min, 1000 ms", -1, 20, 1000, 2, 0, 10},
        {"dec +60, started 20 min late, a pause of 60 min, 500 ms", -4, 60, 500, 4, 20, 60},
    };
    double worstArcsec = 0, worstHalfSteps = 0;
    auto report = [&](const Star& star, const Run& r) {
        std::printf("%-42s %6ld ticks  worst %6.1f arcsec (%.2f half steps)  %.1f us a tick\n", star.what, r.ticks,
                    r.worstArcsec, r.worstHalfSteps, r.tickNs / 1000);
        worstArcsec = std::max(worstArcsec, r.worstArcsec);
        worstHalfSteps = std::max(worstHalfSteps, r.worstHalfSteps);
    };
    std::puts("== the tick's computations and bursts ==");
    for (const Star& star : stars) report(star, track(star, now));

    // The tracking window's tick, with the program started on its data folder.
    std::puts("== the tracking window's tick ==");
    const QString data = QCoreApplication::applicationDirPath() + QStringLiteral("/../data");
    datadir::SetFolder(QDir(data).exists() ? data : QCoreApplication::applicationDirPath() + QStringLiteral("/data"));
    frminterface().MDIForm_Load();
    frminterface().barchoix_ButtonClick(2);
    seams::SetDoEvents({});
    shared.drive.AltazSpeedTable = {};  // a catch-up's goto as fast as the port goes
    double tickNs = 0;
    long ticks = 0;
    for (const Star& star : stars) {
        const Run r = trackInWindow(star, now);
        report(star, r);
        tickNs += r.tickNs * static_cast<double>(r.ticks);
        ticks += r.ticks;
    }
    std::puts("== the tracking window's tick, late starts and pauses (after each catch-up) ==");
    for (const Star& star : caughtUp) report(star, trackInWindow(star, now));
    std::printf("goal: error <= 2 half steps (%.1f arcsec), tick cost <= 100 us\n", 2 * shared.site.AzStepArcsec);
    std::printf("tracking error max: %.1f arcsec (%.2f half steps)\n", worstArcsec, worstHalfSteps);
    std::printf("tick cost: %.1f us\n", tickNs / static_cast<double>(ticks) / 1000);

    // Equatorial gotos, some across 0 h, with tracking between them: the
    // telescope position against the mount after every goto, and the pulses
    // that turned an axis, or a way, nobody asked for.
    std::puts("== equatorial gotos and tracking: position against the mount ==");
    {
        freshEquatorialProgram(now);
        const auto t0 = std::chrono::steady_clock::now();
        equasession::Report r;
        {
            equasession::Gotos run(20261211, now);
            r = run.Run(1000);
        }
        const double ms = std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - t0).count();
        std::printf("%d gotos (%d stopped, %d across 0 h, %d syncs): worst drift %.6f arcsec, worst miss of a "
                    "completed goto %.1f arcsec (a pulse: %.1f arcsec), longest right-ascension turn %.2f h, %lld "
                    "pulses, %.0f ms\n",
                    r.gotos, r.stopped, r.acrossZero, r.syncs, r.worstDriftArcsec, r.worstMissArcsec, r.pulseArcsec,
                    r.longestRaMoveHours, static_cast<long long>(r.pulses), ms);
        std::printf("%d s of tracking between them (%d stops of the cross): %lld pulses\n", r.trackingSeconds,
                    r.crossStops, static_cast<long long>(r.trackingPulses));
        if (!r.firstFault.isEmpty()) std::printf("  first fault: %s\n", r.firstFault.toUtf8().constData());
        std::puts("goal: 0 arcsec beyond one pulse, 0 pulses nobody asked for, no turn beyond 12 h");
        std::printf("equatorial pulses nobody asked for after %d gotos: %lld\n", r.gotos,
                    static_cast<long long>(r.astray));
        std::printf("equatorial drift after %d gotos: %.0f arcsec\n", r.gotos, r.worstDriftArcsec);
    }

    // Randomised sessions: the counters against the mount after every action.
    std::puts("== randomised sessions: counters against the mount ==");
    int largest = 0;
    double drift = 0;
    // The mount against each completed goto's target (the largest sessions).
    int gotos = 0;
    double worstMiss = 0;
    // Steps no move asked for, or of another axis or way than asked (the largest sessions).
    int64_t unasked = 0;
    for (const int actions : {300, 1000, 3000}) {
        double worst = 0;
        int sizeGotos = 0;
        double sizeMiss = 0;
        int64_t sizeUnasked = 0;
        for (const int backlash : {0, 5}) {
            freshProgram(now);
            const auto t0 = std::chrono::steady_clock::now();
            session::Report r;
            {
                session::Session run(now, 20261210, backlash);
                r = run.Run(actions);
            }
            const double ms =
                std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - t0).count();
            frminterface().heuretimer->stop();
            frminterface().Timer->stop();
            std::printf("%5d actions, backlash %d: worst drift %.6f arcsec, %d drifted, slack record off %d times, "
                        "%d astray, %lld pulses, %.0f ms\n",
                        actions, backlash, r.worstDriftArcsec, r.driftedActions, r.slackDisagreements,
                        r.trackingAstray, static_cast<long long>(r.pulses), ms);
            worst = std::max(worst, r.worstDriftArcsec);
            std::printf("%5d actions, backlash %d: %d gotos, worst miss %.1f arcsec, %d beyond %.0f arcsec; "
                        "%d ticks moved more than the sky or onto the object, %d stopped tracking (zenith, object "
                        "set), %d brought the telescope back by a goto\n",
                        actions, backlash, r.gotosChecked, r.worstGotoMissArcsec, r.gotoMisses, kGotoToleranceArcsec,
                        r.trackingOverreach, r.trackingStoppedBySky, r.catchUps);
            std::printf("%5d actions, backlash %d: %lld pulses nobody asked for\n", actions, backlash,
                        static_cast<long long>(r.unaskedPulses));
            if (!r.firstFault.isEmpty()) std::printf("  first fault: %s\n", r.firstFault.toUtf8().constData());
            sizeGotos += r.gotosChecked;
            sizeUnasked += r.unaskedPulses;
            sizeMiss = std::max(sizeMiss, r.worstGotoMissArcsec);
        }
        largest = actions;
        drift = worst;
        gotos = sizeGotos;
        worstMiss = sizeMiss;
        unasked = sizeUnasked;
    }
    std::puts("goal: 0 arcsec beyond the slack at every size");
    std::printf("goal: every goto within %.0f arcsec of its target\n", kGotoToleranceArcsec);
    std::puts("goal: no pulse nobody asked for");
    std::printf("worst goto miss after %d gotos: %.0f arcsec\n", gotos, worstMiss);
    std::printf("pulses nobody asked for after %d actions: %lld\n", largest, static_cast<long long>(unasked));
    std::printf("position drift after %d actions: %.0f arcsec\n", largest, drift);
    return 0;
}
