// What one step pulse costs on the simulated port with the real event seam
// (pending events let run twice a pulse, on their time budget), against what
// one pass of the event loop costs; how the pulse period grows with the delay
// count; and how steady the pulses are at about 1 kHz: bare (no window open),
// then in a real alt-azimuth goto from the coordinates window (its clock
// timer running, its progress bars written at every pulse), the pulses timed
// as they reach the port.
//
//   bash tools/dev.sh bench      (or build/bench/bench_pulse)

#include "altaz/frmcoord.h"
#include "core/state.h"
#include "motor/cmd_moteur.h"
#include "platform/busywait.h"
#include "platform/datadir.h"
#include "platform/port.h"
#include "platform/seams.h"
#include "shell/frminterface.h"

#include <QApplication>
#include <QListWidget>
#include <QTimer>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <functional>
#include <memory>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;

double nsSince(Clock::time_point t0) {
    return std::chrono::duration<double, std::nano>(Clock::now() - t0).count();
}

// Nanoseconds per call of `f`, the best of a few runs of n calls.
template <class F>
double nsPerCall(long n, F f, int runs = 5) {
    double best = 1e300;
    for (int r = 0; r < runs; ++r) {
        const auto t0 = Clock::now();
        for (long i = 0; i < n; ++i) f();
        best = std::min(best, nsSince(t0) / static_cast<double>(n));
    }
    return best;
}

double percentile(std::vector<double> v, double p) {
    std::sort(v.begin(), v.end());
    const auto i = static_cast<std::size_t>(std::lround(p / 100.0 * static_cast<double>(v.size() - 1)));
    return v[i];
}

constexpr double kJitterGoalUs = 20;

// Prints the spread of pulse intervals (microseconds); returns the p99 of
// their distance to the median.
double printJitter(const std::vector<double>& intervals) {
    const double p50 = percentile(intervals, 50);
    const double p99 = percentile(intervals, 99);
    std::vector<double> deviation;
    for (double v : intervals) deviation.push_back(std::fabs(v - p50));
    const double jitter99 = percentile(deviation, 99);
    std::printf("%zu intervals: p50 %.2f us, p99 %.2f us, max %.2f us\n", intervals.size(), p50, p99,
                *std::max_element(intervals.begin(), intervals.end()));
    std::printf("jitter (|interval - median|): p50 %.2f us, p99 %.2f us (goal <= %.0f us: %s)\n",
                percentile(deviation, 50), jitter99, kJitterGoalUs, jitter99 <= kJitterGoalUs ? "met" : "NOT met");
    return jitter99;
}

// Intervals between bare pulses at that delay.
void bareJitter(int32_t delay) {
    const int samples = 3000;
    std::vector<double> intervals;
    intervals.reserve(samples);
    for (int i = 0; i < 50; ++i) Pulse(8, 4, delay);  // warm up
    auto last = Clock::now();
    for (int i = 0; i < samples; ++i) {
        Pulse(8, 4, delay);
        const auto now = Clock::now();
        intervals.push_back(std::chrono::duration<double, std::micro>(now - last).count());
        last = now;
    }
    std::printf("delay %d: ", delay);
    printJitter(intervals);
}

// The simulated port, with the time of every rising step edge as it is
// written (the moment a board would take a step).
class TimedPort final : public port::Port {
public:
    int16_t Inp32(int16_t reg) override { return sim_.Inp32(reg); }
    void Out32(int16_t reg, int16_t value) override {
        if (reg == port::kData && (value & ~sim_.DataLatch() & 0x05) != 0) edges.push_back(Clock::now());
        sim_.Out32(reg, value);
    }
    QString Description() const override { return sim_.Description(); }
    std::vector<Clock::time_point> edges;

private:
    port::SimulatedPort sim_;
};

// A goto of the coordinates window to the selected object, from `pulses`
// pulses of each axis short of it (a sync on the object, then the counters
// moved back), at `delay` on both axes. Returns the seconds it took.
double gotoFromShort(Frmcoord& coord, long pulses, int32_t delay) {
    for (auto& level : shared.drive.AltazSpeedTable) level = {delay, delay};
    coord.cmdreinit_Click();
    shared.pos.AzimuthArcsec -= static_cast<double>(pulses) * shared.site.AzStepArcsec;
    shared.pos.AltitudeArcsec -= static_cast<double>(pulses) * shared.site.AltStepArcsec;
    const auto t0 = Clock::now();
    coord.cmdpointage_Click();
    return nsSince(t0) / 1e9;
}

}  // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    port::Install(std::make_unique<port::SimulatedPort>());
    seams::SetDoEvents({});  // the real one: events on their time budget
    int16_t dir = 8;

    // 1. Software cost of one pulse at delay 0, and of its parts.
    std::puts("== software cost per pulse (simulated port, delay 0, no window open) ==");
    const long n = 500'000;
    const double pulse = nsPerCall(n, [] { Pulse(8, 4, 0); });
    const double pump = nsPerCall(n / 5, [] { QCoreApplication::processEvents(); });
    const double write = nsPerCall(n, [&dir] { Out32(port::kData, dir); });
    const double wait0 = nsPerCall(n, [] { BusyWait(0); });
    const double skipped = nsPerCall(n, [] { seams::DoEvents(); });
    port::Simulator()->SetRecording(false);
    const double writeUnlogged = nsPerCall(n, [&dir] { Out32(port::kData, dir); });
    port::Simulator()->SetRecording(true);
    std::printf("per pulse: %.3f us\n", pulse / 1000.0);
    std::printf("one pass of the event loop (processEvents): %.3f us\n", pump / 1000.0);
    std::printf("per pulse / one pass: %.3f (goal <= 0.25: %s)\n", pulse / pump, pulse / pump <= 0.25 ? "met" : "NOT met");
    std::printf("  of which, per call: Out32 %.1f ns (%.1f ns without the write log), BusyWait(0) %.1f ns, "
                "DoEvents within its budget %.1f ns; a pulse makes two of each\n",
                write, writeUnlogged, wait0, skipped);
    {
        // For comparison only: events let run at every call, as before the budget.
        seams::SetDoEvents([] { QCoreApplication::processEvents(); });
        const double everyCall = nsPerCall(n / 5, [] { Pulse(8, 4, 0); });
        seams::SetDoEvents({});
        std::printf("  with events let run at every call instead: %.3f us a pulse\n", everyCall / 1000.0);
    }

    // 2. Pulse period against the delay count: it must grow linearly.
    std::puts("== pulse period against the delay count ==");
    const std::vector<int32_t> counts = {0, 1000, 10000, 100000, 400000, 1000000};
    std::vector<double> periods;
    for (int32_t c : counts) {
        const long pulses = std::max<long>(20, std::min<long>(200000, static_cast<long>(4e8 / (2.0 * c + 200))));
        const double ns = nsPerCall(pulses, [c] { Pulse(8, 4, c); }, 3);
        periods.push_back(ns);
        std::printf("  delay %8d: period %12.2f us\n", c, ns / 1000.0);
    }
    // Line period = a + b * count, fitted on relative errors (weights 1/period^2)
    // so that the short periods count as much as the long ones.
    double sw = 0, sx = 0, sy = 0, sxx = 0, sxy = 0;
    for (std::size_t i = 0; i < counts.size(); ++i) {
        const double x = counts[i], y = periods[i], w = 1.0 / (y * y);
        sw += w;
        sx += w * x;
        sy += w * y;
        sxx += w * x * x;
        sxy += w * x * y;
    }
    const double b = (sw * sxy - sx * sy) / (sw * sxx - sx * sx);
    const double a = (sy - b * sx) / sw;
    double worst = 0;
    for (std::size_t i = 0; i < counts.size(); ++i)
        worst = std::max(worst, std::fabs(periods[i] - (a + b * counts[i])) / periods[i]);
    std::printf("fit: period = %.2f us + %.3f ns per count (%.3f ns per busy-wait round, two waits a pulse); "
                "worst deviation from the line %.1f%%\n",
                a / 1000.0, b, b / 2.0, worst * 100.0);

    // 3. Interval jitter at about 1 kHz.
    std::puts("== pulse-interval jitter at about 1 kHz, bare ==");
    // Past the cost of the events a pulse lasts its two delays: the delay of
    // 1 kHz comes from the two longest periods.
    const std::size_t last = counts.size() - 1;
    const double slope = (periods[last] - periods[last - 1]) / (counts[last] - counts[last - 1]);
    const double offset = periods[last] - slope * counts[last];
    std::printf("long delays: period = %.2f us + %.3f ns per count\n", offset / 1000.0, slope);
    const auto delay1k = static_cast<int32_t>(std::max(0.0, std::round((1e6 - offset) / slope)));
    bareJitter(delay1k);

    // 4. A real goto: the program started on the shipped data, the
    // alt-azimuth mount chosen (the coordinates window shown, its clock timer
    // running), a goto to a bright star high in the sky now.
    std::puts("== as a goto runs: the coordinates window's goto, its clock timer on, progress written ==");
    auto timed = std::make_unique<TimedPort>();
    TimedPort& portIn = *timed;
    port::Install(std::move(timed));
    datadir::SetFolder(QStringLiteral(ORVANEL_SOURCE_DIR "/data"));
    Frminterface& main = frminterface();
    main.MDIForm_Load();
    main.show();
    main.barchoix_ButtonClick(2);
    Frmcoord& coord = frmcoord();
    for (int i = 0; i < 20; ++i) QApplication::processEvents();
    coord.lbCatalogue->setCurrentRow(0);  // the bright stars
    int row = -1;
    for (int r = 0; r < coord.lbObjets->count() && row < 0; ++r) {
        coord.lbObjets->setCurrentRow(r);
        coord.cmdreinit_Click();
        const double altDeg = shared.pos.AltitudeArcsec / 3600;
        if (altDeg > 40 && altDeg < 70) row = r;
    }
    if (row < 0) {
        std::puts("no bright star between 40 and 70 degrees of altitude now: no goto measured");
        return 0;
    }
    std::printf("target: %s; clock timer running: %s\n", qPrintable(coord.lbObjets->item(row)->text()),
                main.heuretimer->isActive() ? "yes" : "no");

    const long fastPulses = 100'000;
    portIn.edges.clear();
    const double seconds = gotoFromShort(coord, fastPulses, 0);
    std::printf("delay 0: %zu pulses in %.1f ms: %.3f us a pulse, the goto's own work included\n",
                portIn.edges.size(), seconds * 1000, seconds * 1e6 / static_cast<double>(portIn.edges.size()));

    portIn.edges.clear();
    gotoFromShort(coord, 1500, delay1k);
    std::vector<double> intervals;
    for (std::size_t i = 1; i < portIn.edges.size(); ++i)
        intervals.push_back(std::chrono::duration<double, std::micro>(portIn.edges[i] - portIn.edges[i - 1]).count());
    std::printf("delay %d, azimuth then altitude, pass after pass: ", delay1k);
    printJitter(intervals);
    return 0;
}
