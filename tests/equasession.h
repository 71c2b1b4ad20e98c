// An equatorial observing session drawn at random from a fixed seed, on the
// simulated mount: for the checks that the telescope position always says
// where the mount points and that every pulse turns the axis that was asked
// (tests), and for what they measure (benchmark).
//
// The program must be started with the equatorial mount chosen, on the
// simulated port, with the mechanics of "\data\config_equa.ini" usable and
// the goto's inversion not ticked. The actions are run as the user runs
// them:
// - now and then a sync on a reference star;
// - gotos to typed coordinates and "OK": mostly within an hour of right
//   ascension and 10 degrees of declination of where the telescope points,
//   often near 0 h (so that the next gotos cross it either way), now and
//   then anywhere in the sky; some stopped from the progress window at a
//   chosen pulse;
// - seconds of sidereal tracking between gotos, started with the
//   manual-drive window's tracking start, its ticks driven by the clock;
//   now and then the cross's "STOP", between gotos or during one (the
//   bursts then send no step until the tracking start is pressed again),
//   now and then the tracking start again; and ticks of the tracking timer
//   that come due during a goto.
//
// The truths, from the simulated mount:
// - Every pulse turns the axis that was asked, the way it was asked: a goto
//   turns right ascension the short way (east when the target lies at most
//   12 h east, the move never more than 12 h and a pulse), then declination
//   toward its target; a tracking burst turns right ascension only, the way
//   tracking turns (the paddle's inversion, "\data\inversion.ini"), and
//   nothing after a "STOP"; nothing moves between actions.
// - After every goto the telescope position is where the mount points: the
//   motor's steps since the last sync (right ascension up with its
//   direction line high, declination north with it low), less the steps of
//   tracking (which follow the sky and change no place on it), times the
//   movement of one pulse, right ascension taken round the day; after a
//   completed goto within two pulses of the target; the right ascension
//   within 0 to 24 h. With gear play the axis lags its motor by up to the
//   play after a reversal (this mount takes up no backlash): the motor's
//   steps are then what the position follows.
#pragma once

#include "core/state.h"
#include "equatorial/frmequapilot.h"
#include "equatorial/frmequapointage.h"
#include "motor/equagoto.h"
#include "motor/moves.h"
#include "motor/settingsfiles.h"
#include "platform/port.h"
#include "platform/seams.h"
#include "shell/frmDepl.h"
#include "shell/frminterface.h"

#include <QByteArray>
#include <QLineEdit>
#include <QListWidget>
#include <QString>
#include <QTimer>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <optional>
#include <random>

namespace equasession {

// Arc-seconds on the sky of one unit: right ascension in tenths of a minute
// of time (at the equator), declination in tenths of a minute of arc.
constexpr double kRaArcsec = 90;
constexpr double kDecArcsec = 6;
// A day of right ascension, in tenths of a minute of time.
constexpr double kDay = 14400;

struct Report {
    int gotos = 0;                // gotos run, completed or stopped
    int stopped = 0;              // of which stopped from the progress window
    int acrossZero = 0;           // of which turned right ascension across 0 h
    int syncs = 0;                // syncs on a reference star
    int trackingSeconds = 0;      // seconds of tracking between gotos
    int crossStops = 0;           // "STOP" pressed on the cross while tracking ran (between gotos or during one)
    double worstDriftArcsec = 0;  // worst |position - mount| after a goto, either axis
    double worstMissArcsec = 0;   // worst |position - target| after a completed goto, either axis
    double longestRaMoveHours = 0;  // the longest right-ascension turn of a goto
    double pulseArcsec = 0;       // the larger of one right-ascension and one declination pulse
    int64_t pulses = 0;           // pulses sent by the gotos
    int64_t trackingPulses = 0;   // pulses sent by tracking bursts
    int64_t astray = 0;           // pulses on an axis, or a way, nobody asked for
    QString firstFault;           // the first action that went wrong, told
};

class Gotos {
public:
    // `clock` is what the program's clock reads (the tracking ticks move
    // its seconds on).
    Gotos(uint32_t seed, seams::LocalTime& clock) : rng_(seed), clock_(clock) {
        const auto m = ReadEquaMechanics();
        if (m) {
            raPulse_ = RaPulseAngle(*m);
            decPulse_ = DecPulseAngle(*m);
        }
        report_.pulseArcsec = std::max(raPulse_ * kRaArcsec, decPulse_ * kDecArcsec);
        const auto inversion = settingsfiles::ReadInversion();
        const auto tracking = CommandBitsOf(1, inversion.az, inversion.alt);
        trackingWay_ = tracking && tracking->direction == 8 ? 1 : -1;
        sim().SetRecording(false);
        seenAz_ = sim().AzSteps();
        seenAlt_ = sim().AltSteps();
        seams::SetDoEvents([this] { onEvent(); });
    }
    ~Gotos() {
        // Tracking ends with the session: no timer left to drive the mount.
        if (forms::Loaded<Frmequapilot>()) frmequapilot().cmdstopgo_Click();
        seams::SetDoEvents({});
        sim().SetRecording(true);
    }
    Gotos(const Gotos&) = delete;
    Gotos& operator=(const Gotos&) = delete;

    // `n` gotos, with the syncs and the tracking drawn between them, checked
    // after each.
    Report Run(int n) {
        if (!synced_) sync();
        while (report_.gotos < n) {
            const int draw = below(20);
            if (draw < 2) sync();
            else if (draw < 10) track();
            else runGoto();
        }
        return report_;
    }

    // Where the mount points, from the last sync and the motor's steps since
    // (tracking's left out).
    double MountRA() const {
        const int64_t moved = sim().AzSteps() - anchorAz_ - (trackedAz_ - anchorTracked_);
        return anchorRA_ + static_cast<double>(moved) * raPulse_;
    }
    double MountDec() const { return anchorDec_ - static_cast<double>(sim().AltSteps() - anchorAlt_) * decPulse_; }
    // Position minus mount, the worse axis, arc-seconds; right ascension
    // round the day.
    double DriftArcsec() const {
        const auto& e = shared.equa;
        return std::max(std::fabs(std::remainder(e.TelescopeRA - MountRA(), kDay)) * kRaArcsec,
                        std::fabs(e.TelescopeDec - MountDec()) * kDecArcsec);
    }

private:
    // What the pulses seen now may be.
    enum class Asked { Nothing, Goto, Tracking };

    static port::SimulatedPort& sim() { return *port::Simulator(); }
    int below(int n) { return n <= 1 ? 0 : static_cast<int>(rng_() % static_cast<uint32_t>(n)); }
    int between(int lo, int hi) { return lo + below(hi - lo + 1); }

    void fault(const QString& what) {
        if (report_.firstFault.isEmpty())
            report_.firstFault = QStringLiteral("after %1 gotos: %2").arg(report_.gotos).arg(what);
    }

    // The pulses since the last look, each held against what was asked.
    void audit() {
        const int64_t dAz = sim().AzSteps() - seenAz_;
        const int64_t dAlt = sim().AltSteps() - seenAlt_;
        seenAz_ += dAz;
        seenAlt_ += dAlt;
        if (dAz == 0 && dAlt == 0) return;
        const auto astray = [this](int64_t n, const QString& what) {
            report_.astray += std::llabs(n);
            fault(QStringLiteral("%1 pulses %2").arg(std::llabs(n)).arg(what));
        };
        switch (asked_) {
        case Asked::Nothing:
            astray(std::llabs(dAz) + std::llabs(dAlt), QStringLiteral("with nothing asked"));
            break;
        case Asked::Goto:
            // Right ascension first, then declination, each one way.
            if (dAlt != 0) decPhase_ = true;
            if (dAz != 0) {
                if (decPhase_) astray(dAz, QStringLiteral("of right ascension during the declination move"));
                else if ((dAz > 0 ? 1 : -1) != raWay_) astray(dAz, QStringLiteral("of right ascension the long way"));
                else gotoRA_ += std::llabs(dAz);
            }
            if (dAlt != 0) {
                if ((dAlt > 0 ? 1 : -1) != decWay_) astray(dAlt, QStringLiteral("of declination away from the target"));
                else gotoDec_ += std::llabs(dAlt);
            }
            break;
        case Asked::Tracking:
            if (dAlt != 0) astray(dAlt, QStringLiteral("of declination by tracking"));
            if (dAz != 0) {
                if (silent_) astray(dAz, QStringLiteral("of tracking after the cross's STOP"));
                else if ((dAz > 0 ? 1 : -1) != trackingWay_) astray(dAz, QStringLiteral("of tracking the wrong way"));
                trackedAz_ += dAz;
                report_.trackingPulses += std::llabs(dAz);
            }
            break;
        }
    }

    void sync() {
        Frmequapointage& w = frmequapointage();
        if (w.lbEtoiles->count() == 0) return;
        w.lbEtoiles->setCurrentRow(below(w.lbEtoiles->count()));
        w.lbEtoiles_DblClick();
        audit();
        anchorRA_ = shared.equa.TelescopeRA;
        anchorDec_ = shared.equa.TelescopeDec;
        anchorAz_ = sim().AzSteps();
        anchorAlt_ = sim().AltSteps();
        anchorTracked_ = trackedAz_;
        synced_ = true;
        ++report_.syncs;
    }

    // The tracking timer's tick, one second on.
    void tick() {
        clock_.second = (clock_.second + 1) % 60;
        Frmequapilot& p = frmequapilot();
        if (p.timersuivi->isActive()) p.timersuivi_Timer();
    }

    // Seconds of tracking; the window opened and tracking started the first
    // time, the cross's "STOP" and the tracking start now and then.
    void track() {
        if (!forms::Loaded<Frmequapilot>()) frminterface().barequa_ButtonClick(3);  // "Pilotage"
        Frmequapilot& p = frmequapilot();
        if (!p.timersuivi->isActive() || (silent_ && below(3) == 0)) {
            p.cmdgo_Click();
            silent_ = false;
        } else if (!silent_ && below(8) == 0) {
            p.cmddstop_Click();
            silent_ = true;
            ++report_.crossStops;
        }
        asked_ = Asked::Tracking;
        const int seconds = between(1, 90);
        for (int s = 0; s < seconds; ++s) {
            tick();
            audit();
        }
        asked_ = Asked::Nothing;
        report_.trackingSeconds += seconds;
    }

    // Typed coordinates: right ascension in minutes of time, declination in
    // minutes of arc, as the pointing window's four boxes take them.
    static void type(int raMinutes, int decMinutes) {
        Frmequapointage& w = frmequapointage();
        w.tAD[0]->setText(QString::number(raMinutes / 60));
        w.tAD[1]->setText(QString::number(raMinutes % 60));
        const int a = std::abs(decMinutes);
        if (decMinutes < 0 && a < 60) {
            w.tDec[0]->setText(QStringLiteral("0"));
            w.tDec[1]->setText(QString::number(decMinutes));
        } else {
            w.tDec[0]->setText((decMinutes < 0 ? QStringLiteral("-") : QString()) + QString::number(a / 60));
            w.tDec[1]->setText(QString::number(a % 60));
        }
    }

    void runGoto() {
        const auto& e = shared.equa;
        const int draw = below(20);
        int ra = 0, dec = 0;
        if (draw == 0) {  // anywhere
            ra = below(1440);
            dec = between(-80 * 60, 85 * 60);
        } else {
            // Near 0 h (either side), or within an hour of where the
            // telescope points, either way.
            ra = draw < 7 ? between(-40, 40) : static_cast<int>(std::lround(e.TelescopeRA / 10)) + between(-60, 60);
            ra = ((ra % 1440) + 1440) % 1440;
            dec = std::clamp(static_cast<int>(std::lround(e.TelescopeDec / 10)) + between(-600, 600), -80 * 60,
                             85 * 60);
        }
        type(ra, dec);

        // The way each axis must turn: right ascension east when the
        // target lies at most 12 h east, declination toward the target
        // (north is the direction line low); no difference counts as east
        // or north.
        const double start = e.TelescopeRA;
        const double east = std::fmod(std::fmod(10.0 * ra - start, kDay) + kDay, kDay);
        raWay_ = east <= kDay / 2 ? 1 : -1;
        decWay_ = 10.0 * dec >= e.TelescopeDec ? -1 : 1;
        decPhase_ = false;
        gotoRA_ = gotoDec_ = 0;
        stopAfter_ = below(5) == 0 ? between(1, 2000) : 0;
        stoppedNow_ = false;
        asked_ = Asked::Goto;
        frmequapointage().bOK_Click();
        audit();
        asked_ = Asked::Nothing;
        stopAfter_ = 0;
        report_.pulses += gotoRA_ + gotoDec_;
        ++report_.gotos;
        if (stoppedNow_) ++report_.stopped;
        const double turned = static_cast<double>(gotoRA_) * raPulse_;
        report_.longestRaMoveHours = std::max(report_.longestRaMoveHours, turned / 600);
        if ((raWay_ > 0 && start + turned >= kDay) || (raWay_ < 0 && start - turned < 0)) ++report_.acrossZero;

        QString what;
        if (turned > kDay / 2 + raPulse_ + 1e-9)
            what += QStringLiteral(" right ascension turned %1 h").arg(turned / 600);
        if (!(e.TelescopeRA >= 0 && e.TelescopeRA < kDay))
            what += QStringLiteral(" position %1 outside the day").arg(e.TelescopeRA);
        const double drift = DriftArcsec();
        report_.worstDriftArcsec = std::max(report_.worstDriftArcsec, drift);
        if (drift > 1e-6) what += QStringLiteral(" drift %1 arcsec").arg(drift);
        if (!stoppedNow_) {
            const double miss = std::max(std::fabs(std::remainder(e.TelescopeRA - e.GotoRA, kDay)) * kRaArcsec,
                                         std::fabs(e.TelescopeDec - e.GotoDec) * kDecArcsec);
            report_.worstMissArcsec = std::max(report_.worstMissArcsec, miss);
            if (miss > 2 * report_.pulseArcsec + 1e-6) what += QStringLiteral(" %1 arcsec from its target").arg(miss);
        }
        if (!what.isEmpty())
            fault(QStringLiteral("goto from %1 to %2, %3:%4").arg(start).arg(e.GotoRA).arg(e.GotoDec).arg(what));
    }

    void onEvent() {
        audit();
        if (!shared.altgoto.GotoRunning) return;
        // The tracking timer comes due during the goto (the goto has the
        // mount), and now and then the cross's "STOP" is pressed.
        ++events_;
        if (forms::Loaded<Frmequapilot>()) {
            if (events_ % 256 == 0) tick();
            if (events_ % 16384 == 0 && !silent_) {
                frmequapilot().cmddstop_Click();
                silent_ = true;
                ++report_.crossStops;
            }
        }
        if (stopAfter_ > 0 && !stoppedNow_ && gotoRA_ + gotoDec_ >= stopAfter_) {
            stoppedNow_ = true;
            frmDepl().cmstoppointage_Click();
        }
    }

    std::mt19937 rng_;
    seams::LocalTime& clock_;
    double raPulse_ = 0, decPulse_ = 0;
    Report report_;
    bool synced_ = false;
    double anchorRA_ = 0, anchorDec_ = 0;
    int64_t anchorAz_ = 0, anchorAlt_ = 0, anchorTracked_ = 0;
    // The oracle's account of the pulses.
    Asked asked_ = Asked::Nothing;
    int64_t seenAz_ = 0, seenAlt_ = 0;  // the motor's steps at the last look
    int64_t trackedAz_ = 0;             // signed steps of tracking bursts
    int trackingWay_ = 1;               // +1: tracking turns right ascension with its direction line high
    bool silent_ = false;               // the cross's "STOP" since the last tracking start
    int raWay_ = 1, decWay_ = 1;        // the goto's ways, as the motor counts them
    bool decPhase_ = false;             // the goto's declination move has begun
    int64_t gotoRA_ = 0, gotoDec_ = 0;  // the goto's pulses so far
    int64_t events_ = 0;
    int stopAfter_ = 0;
    bool stoppedNow_ = false;
};

}  // namespace equasession
