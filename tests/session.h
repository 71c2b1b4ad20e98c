// An observing session on the simulated mount, drawn at random from a fixed
// seed, for the check that the position counters always say where the mount
// points (tests) and for the drift it measures (benchmark).
//
// The program must be started with the alt-azimuth mount chosen (the
// coordinates window loaded, its bright-star list showing), on a simulated
// port, with the clock seam reading `clock`. The session drives the windows
// as the user does (buttons, paddle codes, the chart's menu) and lets the
// timers tick by calling their handlers, the tracking timer's also within
// the manual and paddle moves, as it comes due at the telescope; it stops
// moves at a chosen pulse through the seams::DoEvents hook.
//
// The truth is the simulated mount: its axes follow the step edges through a
// gear play of `backlash` steps (SimulatedPort::SetPlay), and the program is
// told the same backlash. After every action the counters (with the pulses
// the clock has not applied yet) must equal where the axes are, counted
// from the last sync, and the program's slack record must say what the gears
// hold: the play still to cross before each axis moves is the only way the
// motor's steps may differ from the counters. The azimuth motor may be wired
// the other way round (ReverseAzimuthMotor): the set-up window's direction
// test (DirectionTest) finds it, and is checked as an action is; choosing the
// mount type again puts the direction values back as they start, so the
// session runs the test again after it.
//
// Every step the motors make is also held against what was asked at that
// moment: a paddle button or an arrow asks for its own axis turned its own
// way (the backlash take-up of a reversal included), a goto or a tracking
// tick for either axis; with nothing asked (a paddle switched on with no
// button held, a sync, the tracking buttons) no step may go out. A step that
// no move asked for, or that turns another axis or the other way, is a
// "pulse nobody asked for".
#pragma once

#include "altaz/frmaltazpilot.h"
#include "altaz/frmconfig.h"
#include "altaz/frmaltazsuivi.h"
#include "altaz/frmcoord.h"
#include "chart/canvas.h"
#include "chart/frmCercle.h"
#include "core/calendar.h"
#include "core/conversions.h"
#include "core/counters.h"
#include "core/numbers.h"
#include "core/gotostep.h"
#include "core/state.h"
#include "motor/gotopass.h"
#include "motor/handpad.h"
#include "motor/settingsfiles.h"
#include "motor/slack.h"
#include "platform/port.h"
#include "platform/seams.h"
#include "platform/vbrt.h"
#include "shell/buttonpictures.h"
#include "shell/frminterface.h"
#include "shell/paddlesettings.h"
#include "tests/simsky.h"

#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QString>
#include <QTimer>

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdint>
#include <functional>
#include <random>
#include <vector>

namespace session {

// The actions a session draws.
enum class Action {
    Goto,          // "Pointage automatique" on a bright star, completed
    StoppedGoto,   // the same, stopped at a random pulse
    Sync,          // "Recalage", or "Ré(initialisation)" on the chart
    TrackingTicks, // some ticks of the tracking timer, when it runs
    TrackingButton,// start, pause or stop of the tracking window
    ManualMove,    // an arrow of the manual-drive window, then "STOP" at a random pulse
    PaddleMove,    // a paddle button held for some pulses
    ChartGoto,     // "Pointage" on a star of the chart
    MoveThenGoto,  // while tracking runs: a manual or paddle move, then at once a goto (window or chart)
    PastZenith,    // while tracking runs: the altitude driven a little past 90 degrees, then some ticks
    PaddleIdle,    // the paddle timer ticking with no button held, as a goto or a move left the paddle, ticks between
    LongPause,     // tracking paused for minutes (now and then a "Recalage" meanwhile), resumed, some ticks
    LateStart,     // tracking stopped, a "Recalage" or a goto, minutes later started, some ticks
    RefusedGoto,   // while tracking runs, a goto below the horizon, its box open a while, then ticks
    MountChange,   // a short manual or paddle move, then at once "Mode équatorial" and "Mode altazimutal"
    BacklashMeasure,  // "Début", a paddle button held for the gears' play, "Fin" (set-up window)
};
constexpr int kActionKinds = 16;
inline const char* const kActionNames[kActionKinds] = {
    "goto", "stopped goto", "sync", "tracking ticks", "start/pause/stop", "manual move", "paddle move", "chart goto",
    "move then goto", "past the zenith", "paddle idle", "long pause", "late start", "refused goto", "mount change",
    "backlash measurement"};

// Only these send pulses.
inline bool Moves(Action a) {
    return a == Action::Goto || a == Action::StoppedGoto || a == Action::TrackingTicks || a == Action::ManualMove ||
           a == Action::PaddleMove || a == Action::ChartGoto || a == Action::MoveThenGoto || a == Action::PastZenith ||
           a == Action::PaddleIdle || a == Action::LongPause || a == Action::LateStart || a == Action::RefusedGoto ||
           a == Action::MountChange || a == Action::BacklashMeasure;
}

// What a session found.
struct Report {
    int actions = 0;
    std::array<int, kActionKinds> done{};  // actions of each kind
    double worstDriftArcsec = 0;   // worst |counter - mount| after an action over the run, either axis
    int driftedActions = 0;        // actions after which they differed
    int slackDisagreements = 0;    // actions after which the slack record and the gears disagreed
    int unexpectedPulses = 0;      // actions that should send nothing and sent pulses
    int64_t unaskedPulses = 0;     // steps no move asked for, or of another axis or way than asked
    int trackingAstray = 0;        // tracking ticks that left the mount more than a pulse from the object tracked
    int trackingMisshown = 0;      // actions after which the tick or the pause picture did not say what the buttons did
    int64_t pulses = 0;            // steps the motors made, at least (each action's net steps per axis)
    QString firstFault;            // the first action that went wrong, told
    // Gotos, and tracking against the sky.
    int gotosChecked = 0;          // completed gotos (not stopped, not refused)
    double worstGotoMissArcsec = 0;  // worst distance from the mount to the target after one, either axis
    int gotoMisses = 0;            // gotos that ended beyond the goto tolerance
    int trackingOverreach = 0;     // ticks that moved an axis farther than onto the object tracked
    int trackingStoppedBySky = 0;  // ticks that stopped tracking (the sky asked too much of them, or the object set)
    int catchUps = 0;              // ticks that brought the telescope back onto the object by a goto
    int directionTests = 0;        // direction tests run (DirectionTest)
};

// A chart canvas that draws nothing: the session looks at the mount.
class NoCanvas final : public chart::Canvas {
public:
    void Clear() override {}
    void Circle(double, double, double, const QColor&, const QColor&, bool) override {}
    void Line(double, double, double, double, const QColor&) override {}
    void Print(double, double, const QString&, const QColor&, const QString&, int) override {}
};

class Session {
public:
    // `backlash`: pulses of play in both axes' gears, told to the program as
    // its backlash. `runningClock`: the clock moves on while moves run (as
    // the main window's clock timer does, 200 ms of clock every 800 passes
    // of events), else it stands still during a move.
    Session(seams::LocalTime& clock, uint32_t seed, int backlash, bool runningClock = false)
        : clock_(clock), rng_(seed), backlash_(backlash), runningClock_(runningClock) {
        auto& site = shared.site;
        site.BacklashAz = backlash;
        site.BacklashAlt = backlash;
        // The gears rest on the minus side, as the program's slack record
        // counts them at start-up.
        sim().SetPlay(backlash, backlash);
        slack::Reset();
        asFastAsThePort();
        sim().SetRecording(false);
        sim().SetStepWatch([this](bool azimuth, bool high) { onStep(azimuth, high); });
        seams::SetDoEvents([this] { onEvent(); });
        Anchor();
    }
    ~Session() {
        seams::SetDoEvents({});
        sim().SetStepWatch({});
        sim().SetRecording(true);
    }
    Session(const Session&) = delete;
    Session& operator=(const Session&) = delete;

    // `n` actions drawn at random, checked after each.
    Report Run(int n) {
        for (int i = 0; i < n; ++i) {
            const Action a = draw();
            perform(a);
            check(a);
            passTime();
        }
        return report_;
    }

    // --- What the checks and the gotos test use -------------------------------

    // Rows of the coordinates window's bright-star list standing at least
    // `minAltDeg` above the horizon now.
    std::vector<int> VisibleStars(double minAltDeg) const {
        std::vector<int> rows;
        const int count = frmcoord().lbObjets->count();
        for (int row = 0; row < count; ++row)
            if (altitudeDeg(shared.cat.CatalogueRA[row], shared.cat.CatalogueDec[row]) >= minAltDeg)
                rows.push_back(row);
        return rows;
    }
    // "Pointage automatique" on row `row`, stopped after `stopAfter` pulses
    // (0: not stopped).
    void GotoStar(int row, int stopAfter = 0) {
        Frmcoord& c = frmcoord();
        c.lbObjets->setCurrentRow(row);
        if (stopAfter > 0) stopAt(stopAfter, [] { frmcoord().cmstoppointage_Click(); });
        const Asking asking(*this, Asked::Any());
        c.cmdpointage_Click();
        stopAt(0, {});
        gotoRan_ = true;
    }
    // "Recalage" on row `row`.
    void SyncOn(int row) {
        Frmcoord& c = frmcoord();
        c.lbObjets->setCurrentRow(row);
        c.cmdreinit_Click();
        Anchor();
    }
    // Where each axis is, arc-seconds (the azimuth within the turn), from
    // the last sync and the axis's steps since.
    double MountAz() const {
        return WrappedAzimuth(anchorAz_ + azWiring_ * static_cast<double>(sim().AzAxis() - anchorAxisAz_) *
                                              shared.site.AzStepArcsec);
    }
    double MountAlt() const {
        return anchorAlt_ + static_cast<double>(sim().AltAxis() - anchorAxisAlt_) * shared.site.AltStepArcsec;
    }
    // The counters with the pulses the clock has not applied yet.
    static double CounterAz() {
        return shared.pos.AzimuthArcsec + shared.site.AzStepArcsec * shared.pos.PendingAzSteps;
    }
    static double CounterAlt() {
        return shared.pos.AltitudeArcsec + shared.site.AltStepArcsec * shared.pos.PendingAltSteps;
    }
    // Azimuth a minus b the short way, arc-seconds.
    static double AzimuthGap(double a, double b) { return std::remainder(a - b, FullTurnArcsec); }
    // Counter minus mount, the worse axis, arc-seconds.
    double DriftArcsec() const {
        return std::max(std::fabs(AzimuthGap(CounterAz(), MountAz())), std::fabs(CounterAlt() - MountAlt()));
    }
    // The slack record says what the gears hold: the steps a plus move of
    // each axis crosses before the axis moves.
    bool SlackAgrees() const {
        const auto& site = shared.site;
        return slack::TakeUp(slack::Azimuth(), vb::True, slack::Pulses(site.BacklashAz)) == azPlusGap() &&
               slack::TakeUp(slack::Altitude(), vb::True, slack::Pulses(site.BacklashAlt)) == sim().AltPlusGap();
    }

    // The tracking window, opened when it is not, its bursts as fast as the port goes.
    Frmaltazsuivi& Tracking() {
        Frminterface& main = frminterface();
        if (shared.win.TrackingShown == 0) main.baraltaz_ButtonClick(2);
        Frmaltazsuivi& s = frmaltazsuivi();
        s.txttempoa->setText(QStringLiteral("0"));
        s.txttempoh->setText(QStringLiteral("0"));
        return s;
    }

    // `n` ticks of the tracking timer, each after its interval of clock, as
    // long as the timer runs (paused or stopped, no tick comes).
    void Ticks(int n) {
        Frmaltazsuivi& s = Tracking();
        for (int i = 0; i < n && s.timcompteur->isActive(); ++i) {
            simsky::Advance(clock_, s.timcompteur->interval());
            const Asking asking(*this, Asked::Any());
            MeasuredTick(s);
            ticked_ = true;
        }
    }

    // After a tick the mount stands within a pulse of where the object of
    // the coordinate boxes stands at the clock the tick left.
    // Past the zenith (the altitude axis beyond 90 degrees) the mount looks
    // the other way: the object is compared in that frame. Tracking where
    // the counters pointed follows that point, which the coordinate boxes
    // hold to 0.01 minute (4.5 arc-seconds of sky at most): so much more.
    // Right after a tick that brought the telescope back by a goto, the
    // goto's tolerance instead: the next tick takes it onto the object.
    bool OnTheTrackedObject() const {
        if (lastTick_.caughtUp) return OnTheTrackedObject(std::max(kGotoToleranceArcsec, 2 * shared.site.AzStepArcsec));
        return OnTheTrackedObject(0);
    }
    bool OnTheTrackedObject(double within) const {
        const Frmcoord& c = frmcoord();
        const Horizontal h = PointOf(c.Time(), c.Coordinates());
        const auto& site = shared.site;
        constexpr double kBoxesArcsec = 4.5;
        const double azBoxes = kBoxesArcsec / std::max(std::cos(h.altRad), 1e-3);
        for (const bool over : {false, true}) {
            const Gap g = gapInFrame(h, over, MountAz(), MountAlt());
            const bool azOk = !h.azimuthDefined || h.altDeg > 89 || g.az <= site.AzStepArcsec + azBoxes + within + 1e-6;
            if (azOk && g.alt <= site.AltStepArcsec + kBoxesArcsec + within + 1e-6) return true;
        }
        return false;
    }

    // --- Ticks against the sky; gotos against their target --------------------

    // One tick of the tracking timer (its interval of clock already gone),
    // measured: it may move each axis as far as the object tracked went from
    // the clock before the tick to the clock after it, and three pulses more
    // (the carried fraction, and the pulse or two a goto leaves beyond its
    // target); or it may bring the mount onto the object from wherever an
    // earlier start, sync, goto or catch-up left it, and no farther (a pulse
    // of carried fraction aside), as long as that is within twice the sky's
    // motion and the catch-up's reach (tracking::CatchUpArcsec). Both in the
    // frame the mount looks from. A tick that stops tracking moves nothing.
    // A tick that finds the telescope left farther behind (a pause, a late
    // start) brings it back as a goto does: within the goto's tolerance of
    // the object, or, the object set, nothing moves.
    struct TickMeasure {
        double azMoved = 0, altMoved = 0;  // what the axes turned, arc-seconds
        double azSky = 0, altSky = 0;      // the object's own motion from the clock before to the clock after
        double azToObject = 0, altToObject = 0;  // from the mount before the tick to the object after it
        bool stoppedTracking = false;
        bool caughtUp = false;  // the tick brought the telescope back by a goto
    };
    TickMeasure MeasuredTick(Frmaltazsuivi& s) {
        const Frmcoord& c = frmcoord();
        const TimeBoxes before = c.Time();
        const double az0 = MountAz(), alt0 = MountAlt();
        const int64_t azAxis = sim().AzAxis(), altAxis = sim().AltAxis();
        const bool wasRunning = s.Running();
        const int catchUps = s.CatchUps();
        s.timcompteur_Timer();
        const auto& site = shared.site;
        TickMeasure m;
        m.azMoved = static_cast<double>(std::llabs(sim().AzAxis() - azAxis)) * site.AzStepArcsec;
        m.altMoved = static_cast<double>(std::llabs(sim().AltAxis() - altAxis)) * site.AltStepArcsec;
        const EquatorialBoxes object = c.Coordinates();
        const Horizontal from = pointAt(before, object), to = pointAt(c.Time(), object);
        m.altSky = std::fabs(to.altDeg - from.altDeg) * 3600;
        m.azSky = from.azimuthDefined && to.azimuthDefined ? std::fabs(AzimuthGap(to.azDeg * 3600, from.azDeg * 3600)) : 0;
        const Gap normal = gapInFrame(to, false, az0, alt0), over = gapInFrame(to, true, az0, alt0);
        const Gap g = normal.az + normal.alt <= over.az + over.alt ? normal : over;
        m.azToObject = to.azimuthDefined ? g.az : 0;
        m.altToObject = g.alt;
        m.stoppedTracking = wasRunning && !s.Running();
        if (m.stoppedTracking) {
            ++report_.trackingStoppedBySky;
            tracking_ = Tracked::Stopped;
        }
        if (s.CatchUps() != catchUps) {
            // Brought back as a goto brings it: onto the object within the
            // goto's tolerance, or, the object set, nothing moved.
            m.caughtUp = true;
            ++report_.catchUps;
            if (s.Running()) {  // reached: refused or stopped, it stops tracking
                ++report_.gotosChecked;
                const double miss = GotoMissArcsec();
                report_.worstGotoMissArcsec = std::max(report_.worstGotoMissArcsec, miss);
                if (miss > std::max(kGotoToleranceArcsec, 2 * shared.site.AzStepArcsec)) {
                    ++report_.gotoMisses;
                    tickFault_ = QStringLiteral(" a catch-up ended %1 arcsec from the object").arg(miss);
                }
            } else if (m.azMoved > 0 || m.altMoved > 0) {
                ++report_.trackingOverreach;
                tickFault_ = QStringLiteral(" a refused catch-up moved %1/%2 arcsec").arg(m.azMoved).arg(m.altMoved);
            }
            lastTick_ = m;
            return m;
        }
        const auto allowed = [](double sky, double toObject, double step) {
            return std::max(sky + 3 * step, std::min(toObject + step, 2 * sky + tracking::CatchUpArcsec(step) + step));
        };
        const double azAllowed = allowed(m.azSky, m.azToObject, site.AzStepArcsec);
        const double altAllowed = allowed(m.altSky, m.altToObject, site.AltStepArcsec);
        const bool over1 = m.azMoved > azAllowed + 1e-6 || m.altMoved > altAllowed + 1e-6 ||
                           (m.stoppedTracking && (m.azMoved > 0 || m.altMoved > 0));
        if (over1) {
            ++report_.trackingOverreach;
            tickFault_ = QStringLiteral(" tick moved %1/%2 arcsec (object %3/%4 away, sky %5/%6)")
                             .arg(m.azMoved).arg(m.altMoved).arg(m.azToObject).arg(m.altToObject)
                             .arg(m.azSky).arg(m.altSky);
        }
        lastTick_ = m;
        return m;
    }
    // The last tick measured.
    const TickMeasure& LastTick() const { return lastTick_; }
    // What the session found so far (the ticks and gotos of the calls above too).
    const Report& Findings() const { return report_; }
    // The first step nobody asked for since the last action checked, told.
    const QString& UnaskedStep() const { return unaskedFault_; }
    // "Pointage" on a star of the chart standing 10 degrees up or more;
    // false when the chart offered none.
    bool GotoChartStar() {
        gotoRan_ = false;
        chartGoto();
        const bool ran = gotoRan_;
        gotoRan_ = false;
        return ran;
    }

    // How far the mount stands from the last goto's target, the worse axis,
    // arc-seconds.
    double GotoMissArcsec() const {
        const auto& g = shared.altgoto;
        return std::max(std::fabs(AzimuthGap(MountAz(), g.GotoTargetAz)), std::fabs(MountAlt() - g.GotoTargetAlt));
    }

    // Tracking running (started or resumed when it is not).
    void KeepTracking() {
        Frmaltazsuivi& s = Tracking();
        if (tracking_ == Tracked::Paused) {
            s.imgpause_Click();
        } else if (tracking_ == Tracked::Stopped) {
            s.txtincrement->setText(QStringLiteral("1000"));
            frmcoord().txtms->setText(QStringLiteral("0"));
            s.imglecture_Click();
        }
        if (s.Running()) tracking_ = Tracked::Running;
    }

    // The altitude axis driven up with the manual drive until its counter
    // stands `beyond` pulses past 90 degrees (no tick within the move).
    void DriveAltitudePastZenith(int beyond) {
        const double toZenith = (FullTurnArcsec / 4 - CounterAlt()) / shared.site.AltStepArcsec;
        if (toZenith < -beyond) return;  // already past
        const uint64_t every = tickEvery_;
        tickEvery_ = 0;
        // The arrow whose pulses count the altitude up; a reversal first
        // crosses the play.
        const bool inverted = settingsfiles::ReadInversion().alt != 0;
        const int16_t upBits = inverted ? 0 : 2;  // the up arrow's direction value
        const int arrow = upBits == shared.site.AltPlusBits ? 2 : 3;
        ManualMove(arrow, static_cast<int>(std::ceil(toZenith)) + beyond + backlash_);
        tickEvery_ = every;
    }

    // While a manual or paddle move runs, a tracking tick comes due (when
    // tracking runs) at every `events` passes of the move's events, at pass
    // `phase` of them. A pulse lets events run twice, in its low half then
    // in its high half: with an even `events`, an odd phase puts every tick
    // in a low half, phase 0 in a high half. 0 events: no tick within moves.
    void TicksWithinMoves(uint64_t events, uint64_t phase) {
        tickEvery_ = events;
        tickPhase_ = events > 0 ? phase % events : 0;
    }
    // How many ticks ran within moves so far.
    int TicksWithinMovesDone() const { return ticksWithinMoves_; }
    // Every step the motors make takes `ms` of clock, as a burst's or a
    // goto's pulses do at their delay (0: none, the default).
    void StepsTakeClock(double ms) { stepMs_ = ms; }

    // Arrow `arrow` of the manual-drive window (0 right, 1 left, 2 up, 3
    // down), "STOP" after `pulses` pulses.
    void ManualMove(int arrow, int pulses) {
        const Moving moving(*this);
        Frminterface& main = frminterface();
        if (!forms::Loaded<Frmaltazpilot>()) main.baraltaz_ButtonClick(1);
        Frmaltazpilot& p = frmaltazpilot();
        const std::array<QPushButton*, 4> arrows{p.cmdad, p.cmdag, p.cmdhh, p.cmdhb};
        QPushButton* stop = p.cmddstop;
        stopAt(pulses, [stop] { stop->click(); });
        const Asking asking(*this, Asked::Arrow(arrow));
        arrows[static_cast<size_t>(arrow)]->click();
        stopAt(0, {});
    }

    // The paddle button of `code` held for `pulses` pulses. The paddle is
    // switched on afresh first (its reading starts from a cleared data
    // register) when it is off, or when `afresh`; else it is used as the
    // last goto or move left it.
    void PaddleMove(int16_t code, int pulses, bool afresh = true) {
        const Moving moving(*this);
        Frmcoord& c = frmcoord();
        const bool on = c.picraquette->Shows(ButtonPictures[7]);
        if (on && afresh) c.picraquette_Click();
        if (!on || afresh) c.picraquette_Click();
        Frminterface& main = frminterface();
        {
            sim().HoldPaddleCode(code);
            stopAt(pulses, [] { sim().HoldPaddleCode(11); });
            const Asking asking(*this, Asked::Paddle(code));
            // A reversal spends its first tick on the slack; the move goes on at the next.
            for (int tick = 0; tick < 3 && stopAction_; ++tick) main.Timer_Timer();
            stopAt(0, {});
        }
        sim().HoldPaddleCode(11);
        main.Timer_Timer();
    }

    // The paddle timer ticking `n` times with no button held, the paddle
    // as it stands (on after a goto, or a move's bits on the data
    // register); when tracking runs, its ticks come between.
    void PaddleIdle(int n) {
        sim().HoldPaddleCode(11);
        Frminterface& main = frminterface();
        for (int i = 0; i < n; ++i) {
            main.Timer_Timer();
            if (i % 3 == 0 && shared.win.TrackingShown != 0 && frmaltazsuivi().timcompteur->isActive()) Ticks(1);
        }
    }

    // `seconds` go by, the main window's clock timer keeping the clock
    // when it has it (every half minute).
    void Wait(int seconds) {
        Frminterface& main = frminterface();
        for (int left = seconds; left > 0; left -= 30) {
            simsky::Advance(clock_, 1000 * std::min(left, 30));
            if (main.heuretimer->isActive()) main.heuretimer_Timer();
        }
    }

    // Tracking (started when it is not) paused for `seconds`, a "Recalage"
    // on row `syncRow` halfway when it is 0 or more, then resumed and
    // `ticks` ticks.
    void LongPause(int seconds, int syncRow, int ticks) {
        KeepTracking();
        Frmaltazsuivi& s = Tracking();
        if (!s.Running()) return;
        s.imgpause_Click();
        tracking_ = Tracked::Paused;
        Wait(seconds / 2);
        if (syncRow >= 0) SyncOn(syncRow);
        Wait(seconds - seconds / 2);
        s.imgpause_Click();
        tracking_ = Tracked::Running;
        Ticks(ticks);
    }

    // Tracking stopped, a "Recalage" on row `row` (or a goto to it when
    // `gotoFirst`), `seconds` later tracking started, then `ticks` ticks.
    void LateStart(int row, bool gotoFirst, int seconds, int ticks) {
        if (shared.win.TrackingShown != 0) frmaltazsuivi().imgstop_Click();
        tracking_ = Tracked::Stopped;
        if (gotoFirst) GotoStar(row);
        else SyncOn(row);
        Wait(seconds);
        KeepTracking();
        Ticks(ticks);
    }

    // While tracking runs (started when it is not), a goto to row `row`
    // (below the horizon: refused) whose message box stays open `seconds`,
    // the tracking timer coming due meanwhile; then `ticks` ticks.
    void RefusedGoto(int row, int seconds, int ticks) {
        KeepTracking();
        const auto told = seams::MsgBoxHook();
        seams::SetMsgBox([this, told, seconds](const QString& text) {
            if (told) told(text);
            Frmaltazsuivi& s = frmaltazsuivi();
            for (int waited = 0; waited < 1000 * seconds && s.timcompteur->isActive();
                 waited += s.timcompteur->interval()) {
                simsky::Advance(clock_, s.timcompteur->interval());
                const Asking asking(*this, Asked::Any());
                s.timcompteur_Timer();
            }
        });
        GotoStar(row);
        seams::SetMsgBox(told);
        Ticks(ticks);
    }
    // Rows of the bright-star list `belowDeg` degrees or more below the horizon now.
    std::vector<int> SetStars(double belowDeg) const {
        std::vector<int> rows;
        const int count = frmcoord().lbObjets->count();
        for (int row = 0; row < count; ++row)
            if (altitudeDeg(shared.cat.CatalogueRA[row], shared.cat.CatalogueDec[row]) <= -belowDeg)
                rows.push_back(row);
        return rows;
    }

    // The azimuth motor wired the other way round from the program's
    // direction values: its direction line high turns the axis west. Until a
    // direction test has found it, the program drives the azimuth the wrong
    // way; call before the first action, then DirectionTest().
    void ReverseAzimuthMotor() { azWiring_ = -1; }

    // The direction test of the set-up window, as the user runs it (tracking
    // stopped first): "Recalage" on a bright star, "initialisation
    // coordonnées", the paddle held toward a second star 10 to 90 degrees
    // east (the way the motor really turns that way), "Recalage" on it, "ok".
    // Checked as an action is. True when the azimuth direction values then
    // match the motor's wiring; false when no two stars were found. The
    // button is held `pulses` pulses (0: 30 to 300, drawn). The paddle is
    // switched on afresh for the press unless `paddleAfresh` is false and it
    // is on already (as a goto or an earlier move left it).
    bool DirectionTest(int pulses = 0, bool paddleAfresh = true) {
        ++report_.directionTests;
        if (shared.win.TrackingShown != 0) {
            frmaltazsuivi().imgstop_Click();
            tracking_ = Tracked::Stopped;
        }
        const std::vector<int> up = VisibleStars(15);
        int a = -1, b = -1;
        for (int x : up) {
            for (int y : up) {
                const double east = AzimuthGap(azimuthOf(y), azimuthOf(x));
                if (east > 10 * 3600 && east < 90 * 3600) {
                    a = x;
                    b = y;
                    break;
                }
            }
            if (a >= 0) break;
        }
        if (a < 0) return false;
        SyncOn(a);
        Frmconfig& f = frmconfig();
        f.cmdinitcoord_Click();
        {
            // East: the direction line high on a motor wired as the values
            // say (medium speed, 137), low on one wired the other way (9).
            const Moving moving(*this);
            Frmcoord& c = frmcoord();
            const bool on = c.picraquette->Shows(ButtonPictures[7]);
            if (on && paddleAfresh) c.picraquette_Click();
            if (!on || paddleAfresh) c.picraquette_Click();
            const int16_t east = azWiring_ > 0 ? 137 : 9;
            sim().HoldPaddleCode(east);
            stopAt(pulses > 0 ? pulses : between(30, 300), [] { sim().HoldPaddleCode(11); });
            // The clock counts the held button at each of its ticks.
            Frminterface& main = frminterface();
            {
                const Asking asking(*this, Asked::Paddle(east));
                for (int tick = 0; tick < 4 && stopAction_; ++tick) {
                    main.Timer_Timer();
                    main.heuretimer_Timer();
                }
            }
            stopAt(0, {});
            sim().HoldPaddleCode(11);
            main.Timer_Timer();
        }
        SyncOn(b);
        f.cmdinitok_Click();
        checkDirectionTest();
        return shared.site.AzPlusBits == (azWiring_ > 0 ? 8 : 0) && shared.site.AzMinusBits == (azWiring_ > 0 ? 0 : 8);
    }

    // "Mode équatorial", then at once "Mode altazimutal": the alt-azimuth
    // windows close (tracking stops with its window) and the coordinates
    // window loads again.
    void ChangeMount() {
        Frminterface& main = frminterface();
        main.barchoix_ButtonClick(1);
        main.barchoix_ButtonClick(2);
        tracking_ = Tracked::Stopped;
        asFastAsThePort();  // the load set the paddle's stored speeds
    }

    // The backlash measurement of the set-up window: "Début" of the axis, its
    // paddle button `code` held for `pulses` pulses (none for 0, no tracking
    // tick within), "Fin".
    void MeasureBacklash(bool azimuth, int16_t code, int pulses) {
        BacklashPanel& panel = *frmconfig().Frame3;
        if (azimuth) panel.cmdjeuaz_deb_Click();
        else panel.cmdjeualt_deb_Click();
        if (pulses > 0) {
            const uint64_t every = tickEvery_;
            tickEvery_ = 0;
            PaddleMove(code, pulses);
            tickEvery_ = every;
        }
        if (azimuth) panel.cmdjeuaz_fin_Click();
        else panel.cmdjeualt_fin_Click();
    }

    // The session's own pass of events (stopAt, the ticks within moves)
    // back in place after a test hooked its own.
    void HookEvents() {
        seams::SetDoEvents([this] { onEvent(); });
    }

    // A sync declares where the telescope points: the mount is counted from
    // there. The declared position is the counters alone: pulses sent before
    // the sync and not yet applied are part of it.
    void Anchor() {
        anchorAz_ = shared.pos.AzimuthArcsec;
        anchorAlt_ = shared.pos.AltitudeArcsec;
        anchorAxisAz_ = sim().AzAxis();
        anchorAxisAlt_ = sim().AltAxis();
    }

private:
    static port::SimulatedPort& sim() { return *port::Simulator(); }

    // As fast as the simulated port goes: every delay 0.
    static void asFastAsThePort() {
        auto& d = shared.drive;
        d.AltazSpeedTable = {};
        d.PaddleDelayAzSlow = d.PaddleDelayAzMedium = d.PaddleDelayAzFast = 0;
        d.PaddleDelayAltSlow = d.PaddleDelayAltMedium = d.PaddleDelayAltFast = 0;
    }

    // Where the object of the boxes stands at the clock of `t` (no shared state touched).
    static Horizontal pointAt(const TimeBoxes& t, const EquatorialBoxes& c) {
        const double ra = HoursMinutesToSeconds(vb::Val(c.Txtad_h), vb::Val(c.txtad_min));
        double dec = (vb::Val(c.txtdec_deg) + vb::Val(c.txtdec_min) / 60) * Pi / 180;
        if (c.txtsign != u"+") dec = -dec;
        return HorizontalOf(HourAngleRadians(LocalSiderealTime(t), ra), dec, SiteLatitudeRad());
    }
    // How far an axis position stands from a point of the sky, each axis,
    // with the mount looking as it is or over the zenith.
    struct Gap {
        double az = 0, alt = 0;
    };
    static Gap gapInFrame(const Horizontal& h, bool overZenith, double az, double alt) {
        const double hAz = h.azDeg * 3600 + (overZenith ? FullTurnArcsec / 2 : 0);
        const double hAlt = overZenith ? FullTurnArcsec / 2 - h.altDeg * 3600 : h.altDeg * 3600;
        return {std::fabs(AzimuthGap(az, hAz)), std::fabs(alt - hAlt)};
    }

    // A manual or paddle move under way, for the ticks within it.
    struct Moving {
        explicit Moving(Session& s) : session(s) {
            session.moving_ = true;
            session.moveEvents_ = 0;
        }
        ~Moving() { session.moving_ = false; }
        Moving(const Moving&) = delete;
        Moving& operator=(const Moving&) = delete;
        Session& session;
    };

    // What the move under way asked of the motors.
    struct Asked {
        bool nothing = false;  // no step (a paddle tick with no button held)
        bool any = false;      // a goto or a tracking tick: either axis, either way
        bool azimuth = false;  // else this board
        bool high = false;     // with its direction line high
        static Asked Nothing() { return {true, false, false, false}; }
        static Asked Any() { return {false, true, false, false}; }
        // Arrow 0 right, 1 left, 2 up, 3 down: right and up raise their
        // board's direction line unless the saved inversion turns them.
        static Asked Arrow(int arrow) {
            const auto inverted = settingsfiles::ReadInversion();
            const bool az = arrow < 2;
            const bool raise = arrow == 0 || arrow == 2;
            return {false, false, az, raise != ((az ? inverted.az : inverted.alt) != 0)};
        }
        // The paddle's codes of the second direction (16 more on the
        // altitude board, 128 more on the azimuth one) raise the line unless
        // the coordinates window's inversion box turns them.
        static Asked Paddle(int16_t code) {
            const bool az = code == 9 || code == 13 || code == 15 || code >= 128;
            const bool raise = az ? code >= 128 : code >= 16;
            return {false, false, az, raise != ((az ? shared.site.InvertAz : shared.site.InvertAlt) != 0)};
        }
    };
    // Asked while it lives; a move within a move asks for its own steps.
    struct Asking {
        Asking(Session& s, Asked a) : session(s) { session.asked_.push_back(a); }
        ~Asking() { session.asked_.pop_back(); }
        Asking(const Asking&) = delete;
        Asking& operator=(const Asking&) = delete;
        Session& session;
    };
    void onStep(bool azimuth, bool high) {
        if (stepMs_ > 0) {
            stepClockMs_ += stepMs_;
            const auto whole = static_cast<int>(stepClockMs_);
            if (whole > 0) {
                simsky::Advance(clock_, whole);
                stepClockMs_ -= whole;
            }
        }
        QString why;
        if (asked_.empty() || asked_.back().nothing) {
            why = QStringLiteral("nothing was asked");
        } else if (const Asked& a = asked_.back(); !a.any && (a.azimuth != azimuth || a.high != high)) {
            why = QStringLiteral("%1 was asked").arg(a.azimuth ? QStringLiteral("azimuth") : QStringLiteral("altitude"));
        } else {
            return;
        }
        ++report_.unaskedPulses;
        if (unaskedFault_.isEmpty())
            unaskedFault_ = QStringLiteral(" a step of %1, direction line %2, while %3")
                                .arg(azimuth ? QStringLiteral("azimuth") : QStringLiteral("altitude"))
                                .arg(high ? QStringLiteral("high") : QStringLiteral("low"))
                                .arg(why);
    }

    int below(int n) { return n <= 1 ? 0 : static_cast<int>(rng_() % static_cast<uint32_t>(n)); }
    int between(int lo, int hi) { return lo + below(hi - lo + 1); }

    Action draw() {
        // Weights of the kinds, in the order of Action.
        static constexpr std::array<int, kActionKinds> kWeights{12, 10, 10, 13, 9, 11, 13, 8, 6, 4, 4, 3, 3, 3, 4, 4};
        int total = 0;
        for (int w : kWeights) total += w;
        int r = below(total);
        for (int k = 0; k < kActionKinds; ++k) {
            if (r < kWeights[k]) return static_cast<Action>(k);
            r -= kWeights[k];
        }
        return Action::TrackingTicks;
    }

    static double altitudeDeg(double raTenths, double decTenths) {
        const TimeBoxes t = frmcoord().Time();
        const double hourAngle = HourAngleRadians(LocalSiderealTime(t), raTenths / 600 * 3600);
        return HorizontalOf(hourAngle, decTenths / 600 * Pi / 180, SiteLatitudeRad()).altDeg;
    }

    static double azimuthOf(int row) {
        const TimeBoxes t = frmcoord().Time();
        const double hourAngle = HourAngleRadians(LocalSiderealTime(t), shared.cat.CatalogueRA[row] / 600.0 * 3600);
        return HorizontalOf(hourAngle, shared.cat.CatalogueDec[row] / 600.0 * Pi / 180, SiteLatitudeRad()).azDeg * 3600;
    }

    // The steps a move the way the program counts plus crosses before the
    // azimuth moves: its plus value drives the direction line high (8) or low.
    int64_t azPlusGap() const {
        return shared.site.AzPlusBits == 8 ? sim().AzPlusGap() : backlash_ - sim().AzPlusGap();
    }

    // After a direction test: the counters on the mount, the slack record on the gears.
    void checkDirectionTest() { checkWithinAction(QStringLiteral("direction test %1").arg(report_.directionTests)); }
    // Within an action (`what` says where): the counters on the mount, the
    // slack record on the gears.
    void checkWithinAction(const QString& what) {
        QString fault;
        const double drift = DriftArcsec();
        report_.worstDriftArcsec = std::max(report_.worstDriftArcsec, drift);
        if (drift > 1e-6) {
            ++report_.driftedActions;
            fault += QStringLiteral(" drift %1 arcsec").arg(drift);
        }
        if (!SlackAgrees()) {
            ++report_.slackDisagreements;
            fault += QStringLiteral(" slack record against the gears");
        }
        fault += unaskedFault_;
        unaskedFault_.clear();
        if (!fault.isEmpty() && report_.firstFault.isEmpty())
            report_.firstFault = QStringLiteral("%1, after action %2:%3").arg(what).arg(report_.actions).arg(fault);
    }

    // A bright star above the horizon (now and then one below it: refused).
    int someStar() {
        const std::vector<int> up = VisibleStars(10);
        if (up.empty() || below(20) == 0) return below(frmcoord().lbObjets->count());
        return up[below(static_cast<int>(up.size()))];
    }

    // Once `pulses` more pulses have gone out on the two axes, `then` runs
    // (once). 0 pulses: nothing.
    void stopAt(int pulses, std::function<void()> then) {
        stopPulses_ = pulses;
        stopAction_ = pulses > 0 ? std::move(then) : std::function<void()>{};
        stopFromAz_ = sim().AzSteps();
        stopFromAlt_ = sim().AltSteps();
    }
    int64_t stepsSinceStopMark() const {
        return std::llabs(sim().AzSteps() - stopFromAz_) + std::llabs(sim().AltSteps() - stopFromAlt_);
    }

    void onEvent() {
        ++events_;
        if (runningClock_ && events_ % 800 == 0) {
            simsky::Advance(clock_, 200);
            Frminterface& main = frminterface();
            if (main.heuretimer->isActive()) main.heuretimer_Timer();
        }
        // While a move or a goto runs, the tracking timer comes due now and
        // then, as it does at the telescope: its tick runs inside the move's
        // events (within a goto it only moves the clock on).
        if ((moving_ || shared.altgoto.GotoRunning) && !inTick_ && tickEvery_ > 0 && ++moveEvents_ % tickEvery_ == tickPhase_ &&
            shared.win.TrackingShown != 0) {
            Frmaltazsuivi& s = frmaltazsuivi();
            if (s.timcompteur->isActive()) {
                inTick_ = true;
                simsky::Advance(clock_, s.timcompteur->interval());
                {
                    const Asking asking(*this, Asked::Any());
                    MeasuredTick(s);
                }
                inTick_ = false;
                ++ticksWithinMoves_;
            }
        }
        // The paddle timer comes due too, when the paddle is on; its button
        // is released unless a paddle move holds it (that move's tick is
        // still under way then, and the timer's tick returns at once).
        if (paddleEvery_ > 0 && ++paddleEvents_ % paddleEvery_ == 0 && !handpad::TickRunning()) {
            Frminterface& main = frminterface();
            if (main.Timer->isActive()) {
                const Asking asking(*this, Asked::Nothing());
                main.Timer_Timer();
            }
        }
        if (stopAction_ && stepsSinceStopMark() >= stopPulses_) {
            auto action = std::move(stopAction_);
            stopAction_ = {};
            action();
        }
    }
    // Marks where the motors are: stopAt counts from here.
    void mark() {
        azMark_ = sim().AzSteps();
        altMark_ = sim().AltSteps();
    }

    void perform(Action a) {
        ++report_.actions;
        ++report_.done[static_cast<int>(a)];
        mark();
        switch (a) {
        case Action::Goto: GotoStar(someStar()); break;
        case Action::StoppedGoto: GotoStar(someStar(), between(1, 3000)); break;
        case Action::Sync: sync(); break;
        case Action::TrackingTicks: Ticks(between(1, 40)); break;
        case Action::TrackingButton: trackingButton(); break;
        case Action::ManualMove: {
            const int arrow = below(4);
            ManualMove(arrow, between(1, 400));
            break;
        }
        case Action::PaddleMove: {
            static constexpr std::array<int16_t, 12> kCodes{9, 13, 15, 137, 141, 143, 2, 3, 10, 18, 19, 26};
            const int16_t code = kCodes[static_cast<size_t>(below(12))];
            PaddleMove(code, between(1, 300), below(2) == 0);
            break;
        }
        case Action::ChartGoto: chartGoto(); break;
        case Action::MoveThenGoto: moveThenGoto(); break;
        case Action::PastZenith: pastZenith(); break;
        case Action::PaddleIdle: PaddleIdle(between(1, 30)); break;
        case Action::LongPause: {
            const std::vector<int> up = VisibleStars(10);
            const int sync = below(3) == 0 && !up.empty() ? up[below(static_cast<int>(up.size()))] : -1;
            LongPause(between(60, 3600), sync, between(1, 10));
            break;
        }
        case Action::LateStart: {
            const std::vector<int> up = VisibleStars(10);
            if (up.empty()) break;
            LateStart(up[below(static_cast<int>(up.size()))], below(2) == 0, between(0, 600), between(1, 10));
            break;
        }
        case Action::RefusedGoto: {
            const std::vector<int> set = SetStars(5);
            if (set.empty()) break;
            RefusedGoto(set[below(static_cast<int>(set.size()))], between(0, 90), between(1, 5));
            break;
        }
        case Action::MountChange: mountChange(); break;
        case Action::BacklashMeasure: backlashMeasurement(); break;
        }
    }

    // While tracking runs, a manual or paddle move and at once, without a
    // tick between, a goto from the coordinates window or the chart.
    void moveThenGoto() {
        KeepTracking();
        const uint64_t every = tickEvery_;
        tickEvery_ = 0;
        if (below(2) == 0) {
            ManualMove(below(4), between(1, 2000));
        } else {
            static constexpr std::array<int16_t, 12> kCodes{9, 13, 15, 137, 141, 143, 2, 3, 10, 18, 19, 26};
            PaddleMove(kCodes[static_cast<size_t>(below(12))], between(1, 1500), below(2) == 0);
        }
        tickEvery_ = every;
        const std::vector<int> up = VisibleStars(10);
        if (below(3) == 0 || up.empty()) chartGoto();
        else GotoStar(up[below(static_cast<int>(up.size()))]);
    }

    // While tracking runs, the altitude a few pulses past 90 degrees, then ticks.
    void pastZenith() {
        KeepTracking();
        DriveAltitudePastZenith(between(1, 60));
        Ticks(between(1, 10));
    }

    // A paddle code of either axis, or of one.
    int16_t somePaddleCode(int axis = -1) {
        static constexpr std::array<int16_t, 12> kCodes{9, 13, 15, 137, 141, 143, 2, 3, 10, 18, 19, 26};
        const int which = axis < 0 ? below(2) : axis;  // 0 azimuth, 1 altitude
        return kCodes[static_cast<size_t>(6 * which + below(6))];
    }

    // A short manual or paddle move, its pulses not yet applied by the clock
    // (no tick within), then the mount type chosen again. The direction
    // values are then back as they start: a motor wired the other way round
    // is found again by the direction test, its button held 1 to 40 pulses
    // (now and then less than the gears' play).
    void mountChange() {
        const uint64_t every = tickEvery_;
        tickEvery_ = 0;
        if (below(2) == 0) ManualMove(below(4), between(1, 300));
        else PaddleMove(somePaddleCode(), between(1, 300));
        tickEvery_ = every;
        ChangeMount();
        // The direction values back as they start, the slack record with them.
        checkWithinAction(QStringLiteral("mount chosen again"));
        if (azWiring_ < 0) DirectionTest(between(1, 40));
    }

    // The backlash of an axis measured as much as the gears' play, one way or
    // the other, wherever the gears rest (the axis turns by what they did not
    // need). Without play: some pulses, all of which turn the axis, then
    // "Début" and "Fin" again with none between, as a user who saw the
    // telescope move at once would.
    void backlashMeasurement() {
        const bool azimuth = below(2) == 0;
        const int16_t code = somePaddleCode(azimuth ? 0 : 1);
        MeasureBacklash(azimuth, code, backlash_ > 0 ? backlash_ : between(1, 300));
        if (backlash_ == 0) MeasureBacklash(azimuth, code, 0);
    }

    // After a completed goto the mount stands within the goto tolerance of
    // its target.
    void checkGoto(Action a, QString& fault) {
        const bool ran = gotoRan_;
        gotoRan_ = false;
        if (a != Action::Goto && a != Action::ChartGoto && a != Action::MoveThenGoto) return;
        // No star to pick, stopped, or refused (its target below the horizon,
        // the telescope left on what it pointed at).
        if (!ran || !shared.pos.GotoReached || shared.altgoto.GotoTargetAlt < 0) return;
        ++report_.gotosChecked;
        const double miss = GotoMissArcsec();
        report_.worstGotoMissArcsec = std::max(report_.worstGotoMissArcsec, miss);
        if (miss > kGotoToleranceArcsec) {
            ++report_.gotoMisses;
            fault += QStringLiteral(" goto ended %1 arcsec from its target").arg(miss);
        }
    }

    void sync() {
        if (below(4) == 0 && openChart()) {
            // "Ré(initialisation)" on a star of the chart.
            if (pickChartStar()) {
                frmCercle().mnureinit_Click();
                Anchor();
            }
            closeChart();
            return;
        }
        SyncOn(someStar());
    }

    void trackingButton() {
        Frmaltazsuivi& s = Tracking();
        switch (below(4)) {
        case 0:
        case 1: {
            static constexpr std::array<const char*, 4> kIncrements{"300", "500", "1000", "2000"};
            s.txtincrement->setText(QString::fromLatin1(kIncrements[below(4)]));
            frmcoord().txtms->setText(QStringLiteral("0"));
            s.imglecture_Click();
            tracking_ = Tracked::Running;
            break;
        }
        case 2:
            s.imgpause_Click();
            // A pause click pauses running tracking, and paused tracking goes on.
            if (tracking_ == Tracked::Running) tracking_ = Tracked::Paused;
            else if (tracking_ == Tracked::Paused) tracking_ = Tracked::Running;
            break;
        default:
            s.imgstop_Click();
            tracking_ = Tracked::Stopped;
            break;
        }
    }

    // The tick runs while tracking runs, and the pause picture says whether
    // it is paused.
    bool TrackingShownAsClicked() const {
        if (shared.win.TrackingShown == 0) return tracking_ == Tracked::Stopped;
        const Frmaltazsuivi& s = frmaltazsuivi();
        switch (tracking_) {
        case Tracked::Running: return s.timcompteur->isActive() && s.imgpause->Shows(ButtonPictures[8]);
        case Tracked::Paused: return !s.timcompteur->isActive() && s.imgpause->Shows(ButtonPictures[9]);
        case Tracked::Stopped: return !s.timcompteur->isActive();
        }
        return false;
    }

    bool openChart() {
        FrmCercle& chart = frmCercle();
        chart.SetCanvas(&canvas_);
        if (shared.win.SkyChartShown == 0) frminterface().ToggleSkyChart();
        chart.RedrawChart();
        return chart.starCount > 0;
    }
    void closeChart() {
        if (shared.win.SkyChartShown != 0) frminterface().ToggleSkyChart();
    }
    // A left click on a chart star above the horizon: the pick of the menu.
    bool pickChartStar() {
        FrmCercle& chart = frmCercle();
        std::vector<int> up;
        for (int n = 0; n < chart.starCount; ++n)
            if (altitudeDeg(chart.starAD[n], chart.starDec[n]) >= 10) up.push_back(n);
        if (up.empty()) return false;
        const int n = up[below(static_cast<int>(up.size()))];
        double x = 0, y = 0;
        chart.NewCoord(chart.starAD[n], chart.starDec[n], x, y);
        chart.Form_MouseDown(1, 0, static_cast<float>(x), static_cast<float>(y));
        return true;
    }

    void chartGoto() {
        if (!openChart()) return;
        if (pickChartStar()) {
            const Asking asking(*this, Asked::Any());
            frmCercle().mnuPoint_Click();
            gotoRan_ = true;
        }
        closeChart();
    }

    // Some seconds go by; the main window's clock timer applies the pulses
    // of the moves (while tracking runs, its tick does).
    void passTime() {
        simsky::Advance(clock_, between(0, 20000));
        Frminterface& main = frminterface();
        if (main.heuretimer->isActive()) main.heuretimer_Timer();
    }

    void check(Action a) {
        const bool pulsed = sim().AzSteps() != azMark_ || sim().AltSteps() != altMark_;
        report_.pulses += std::llabs(sim().AzSteps() - azMark_) + std::llabs(sim().AltSteps() - altMark_);
        QString fault;
        if (pulsed && !Moves(a)) {
            ++report_.unexpectedPulses;
            fault = QStringLiteral("pulses sent");
        }
        const double drift = DriftArcsec();
        report_.worstDriftArcsec = std::max(report_.worstDriftArcsec, drift);
        if (drift > 1e-6) {
            ++report_.driftedActions;
            fault += QStringLiteral(" drift %1 arcsec (azimuth %2 counted, %3 on the mount; altitude %4, %5)")
                         .arg(drift)
                         .arg(CounterAz())
                         .arg(MountAz())
                         .arg(CounterAlt())
                         .arg(MountAlt());
        }
        checkGoto(a, fault);
        if (!unaskedFault_.isEmpty()) {
            fault += unaskedFault_;
            unaskedFault_.clear();
        }
        if (!tickFault_.isEmpty()) {
            fault += tickFault_;
            tickFault_.clear();
        }
        if (ticked_ && tracking_ != Tracked::Stopped && !OnTheTrackedObject()) {
            ++report_.trackingAstray;
            fault += QStringLiteral(" tracking astray from the object tracked");
        }
        ticked_ = false;
        if (!TrackingShownAsClicked()) {
            ++report_.trackingMisshown;
            fault += QStringLiteral(" tracking not as its buttons left it");
        }
        if (!SlackAgrees()) {
            ++report_.slackDisagreements;
            fault += QStringLiteral(" slack record against the gears: azimuth %1/%2, altitude %3/%4")
                         .arg(slack::TakeUp(slack::Azimuth(), vb::True, backlash_))
                         .arg(sim().AzPlusGap())
                         .arg(slack::TakeUp(slack::Altitude(), vb::True, backlash_))
                         .arg(sim().AltPlusGap());
        }
        if (!fault.isEmpty() && report_.firstFault.isEmpty())
            report_.firstFault = QStringLiteral("action %1 (%2):%3")
                                     .arg(report_.actions)
                                     .arg(QString::fromLatin1(kActionNames[static_cast<int>(a)]))
                                     .arg(fault);
    }

    seams::LocalTime& clock_;
    std::mt19937 rng_;
    int backlash_;
    bool runningClock_;
    NoCanvas canvas_;
    Report report_;
    uint64_t events_ = 0;
    // Tracking ticks within moves (TicksWithinMoves): odd, so that the ticks
    // fall in either half of a pulse.
    uint64_t tickEvery_ = 101, tickPhase_ = 0;
    bool moving_ = false;  // a manual or paddle move is under way
    uint64_t moveEvents_ = 0;  // passes of events of that move, its ticks' left out
    // The paddle timer comes due at every so many passes of events (0: never).
    uint64_t paddleEvery_ = 37, paddleEvents_ = 0;
    bool inTick_ = false;
    int ticksWithinMoves_ = 0;
    bool ticked_ = false;
    TickMeasure lastTick_;
    bool gotoRan_ = false;  // a goto ran to its end in this action
    QString tickFault_;
    QString unaskedFault_;
    double stepMs_ = 0, stepClockMs_ = 0;  // StepsTakeClock
    std::vector<Asked> asked_;  // the moves under way, the innermost last
    // Tracking as the start, pause and stop buttons left it.
    enum class Tracked { Stopped, Running, Paused };
    Tracked tracking_ = Tracked::Stopped;
    int64_t stopPulses_ = 0;
    std::function<void()> stopAction_;
    int64_t stopFromAz_ = 0, stopFromAlt_ = 0;
    int64_t azMark_ = 0, altMark_ = 0;
    double anchorAz_ = 0, anchorAlt_ = 0;
    double azWiring_ = 1;  // -1: the azimuth motor turns the other way round (ReverseAzimuthMotor)
    int64_t anchorAxisAz_ = 0, anchorAxisAlt_ = 0;
};

}  // namespace session
