// Equatorial gotos drawn at random from a fixed seed, on the simulated
// mount, for the check that the telescope position always says where the
// mount points (tests) and for the drift it measures (benchmark).
//
// The program must be started with the equatorial mount chosen, on a
// simulated port whose gears have no play (this mount takes up no backlash),
// with the mechanics of "\data\config_equa.ini" usable. The gotos are run
// through the equatorial pointing window as the user runs them: a sync on a
// reference star now and then, typed coordinates and "OK", and some gotos
// stopped from the progress window at a chosen pulse.
//
// The truth is the simulated mount: its axes' steps since the last sync,
// times the movement of one pulse (right ascension up with its direction
// line high, declination north with it low). After every goto the telescope
// position must be there, and after a completed goto within two pulses of
// the target.
#pragma once

#include "core/state.h"
#include "equatorial/frmequapointage.h"
#include "motor/equagoto.h"
#include "platform/port.h"
#include "platform/seams.h"
#include "shell/frmDepl.h"

#include <QByteArray>
#include <QLineEdit>
#include <QListWidget>
#include <QString>

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

struct Report {
    int gotos = 0;                // gotos run, completed or stopped
    int stopped = 0;              // of which stopped from the progress window
    int syncs = 0;                // syncs on a reference star
    double worstDriftArcsec = 0;  // worst |position - mount| after a goto, either axis
    double worstMissArcsec = 0;   // worst |position - target| after a completed goto, either axis
    double pulseArcsec = 0;       // the larger of one right-ascension and one declination pulse
    int64_t pulses = 0;           // pulses sent
    QString firstFault;           // the first goto that went wrong, told
};

class Gotos {
public:
    explicit Gotos(uint32_t seed) : rng_(seed) {
        const auto m = ReadEquaMechanics();
        if (m) {
            raPulse_ = RaPulseAngle(*m);
            decPulse_ = DecPulseAngle(*m);
        }
        report_.pulseArcsec = std::max(raPulse_ * kRaArcsec, decPulse_ * kDecArcsec);
        sim().SetRecording(false);
        seams::SetDoEvents([this] { onEvent(); });
    }
    ~Gotos() {
        seams::SetDoEvents({});
        sim().SetRecording(true);
    }
    Gotos(const Gotos&) = delete;
    Gotos& operator=(const Gotos&) = delete;

    // `n` gotos (and the syncs drawn between them), checked after each.
    Report Run(int n) {
        if (!synced_) sync();
        while (report_.gotos < n) {
            if (below(10) == 0) sync();
            else runGoto();
        }
        return report_;
    }

    // Where the mount points, from the last sync and the axes' steps since.
    double MountRA() const { return anchorRA_ + static_cast<double>(sim().AzAxis() - anchorAxisRA_) * raPulse_; }
    double MountDec() const { return anchorDec_ - static_cast<double>(sim().AltAxis() - anchorAxisDec_) * decPulse_; }
    // Position minus mount, the worse axis, arc-seconds; right ascension
    // round the day.
    double DriftArcsec() const {
        const auto& e = shared.equa;
        return std::max(std::fabs(std::remainder(e.TelescopeRA - MountRA(), 14400)) * kRaArcsec,
                        std::fabs(e.TelescopeDec - MountDec()) * kDecArcsec);
    }

private:
    static port::SimulatedPort& sim() { return *port::Simulator(); }
    int below(int n) { return n <= 1 ? 0 : static_cast<int>(rng_() % static_cast<uint32_t>(n)); }
    int between(int lo, int hi) { return lo + below(hi - lo + 1); }
    // Pulses sent since the goto began (each axis moves one way in a goto).
    int64_t sent() const { return std::llabs(sim().AzSteps() - fromRA_) + std::llabs(sim().AltSteps() - fromDec_); }

    void sync() {
        Frmequapointage& w = frmequapointage();
        if (w.lbEtoiles->count() == 0) return;
        w.lbEtoiles->setCurrentRow(below(w.lbEtoiles->count()));
        w.lbEtoiles_DblClick();
        anchorRA_ = shared.equa.TelescopeRA;
        anchorDec_ = shared.equa.TelescopeDec;
        anchorAxisRA_ = sim().AzAxis();
        anchorAxisDec_ = sim().AltAxis();
        synced_ = true;
        ++report_.syncs;
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
        // Within an hour of right ascension and 10 degrees of declination of
        // where the telescope points, either way.
        int ra = static_cast<int>(std::lround(e.TelescopeRA / 10)) + between(-60, 60);
        ra = ((ra % 1440) + 1440) % 1440;
        const int dec = std::clamp(static_cast<int>(std::lround(e.TelescopeDec / 10)) + between(-600, 600), -80 * 60,
                                   85 * 60);
        type(ra, dec);
        stopAfter_ = below(5) == 0 ? between(1, 2000) : 0;
        stoppedNow_ = false;
        fromRA_ = sim().AzSteps();
        fromDec_ = sim().AltSteps();
        frmequapointage().bOK_Click();
        stopAfter_ = 0;
        report_.pulses += sent();
        ++report_.gotos;
        if (stoppedNow_) ++report_.stopped;

        QString fault;
        const double drift = DriftArcsec();
        report_.worstDriftArcsec = std::max(report_.worstDriftArcsec, drift);
        if (drift > 1e-6) fault += QStringLiteral(" drift %1 arcsec").arg(drift);
        if (!stoppedNow_) {
            const double miss = std::max(std::fabs(std::remainder(e.TelescopeRA - e.GotoRA, 14400)) * kRaArcsec,
                                         std::fabs(e.TelescopeDec - e.GotoDec) * kDecArcsec);
            report_.worstMissArcsec = std::max(report_.worstMissArcsec, miss);
            if (miss > 2 * report_.pulseArcsec + 1e-6) fault += QStringLiteral(" %1 arcsec from its target").arg(miss);
        }
        if (!fault.isEmpty() && report_.firstFault.isEmpty())
            report_.firstFault = QStringLiteral("goto %1 to %2, %3:%4").arg(report_.gotos).arg(e.GotoRA).arg(e.GotoDec).arg(fault);
    }

    void onEvent() {
        if (stopAfter_ > 0 && !stoppedNow_ && sent() >= stopAfter_ && shared.altgoto.GotoRunning) {
            stoppedNow_ = true;
            frmDepl().cmstoppointage_Click();
        }
    }

    std::mt19937 rng_;
    double raPulse_ = 0, decPulse_ = 0;
    Report report_;
    bool synced_ = false;
    double anchorRA_ = 0, anchorDec_ = 0;
    int64_t anchorAxisRA_ = 0, anchorAxisDec_ = 0;
    int stopAfter_ = 0;
    bool stoppedNow_ = false;
    int64_t fromRA_ = 0, fromDec_ = 0;
};

}  // namespace equasession
