// What one step pulse costs on the simulated port with the real event seam
// (pending events run twice a pulse), how the pulse period grows with the
// delay count, and how steady the pulses are at about 1 kHz: bare (no window
// open), then as a goto runs (the coordinates window shown, its clock timer
// running, the progress bar written at every pulse).
//
//   bash tools/dev.sh bench      (or build/bench/bench_pulse)

#include "altaz/frmcoord.h"
#include "motor/cmd_moteur.h"
#include "platform/busywait.h"
#include "platform/datadir.h"
#include "platform/port.h"
#include "platform/seams.h"
#include "shell/frminterface.h"

#include <QApplication>
#include <QProgressBar>
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

// Intervals between pulses at that delay, with `each` run after every pulse
// (what the loop does besides pulsing); prints their jitter.
void jitter(int32_t delay, const std::function<void(int)>& each) {
    const int samples = 3000;
    std::vector<double> intervals;
    intervals.reserve(samples);
    for (int i = 0; i < 50; ++i) Pulse(8, 4, delay);  // warm up
    auto last = Clock::now();
    for (int i = 0; i < samples; ++i) {
        Pulse(8, 4, delay);
        each(i);
        const auto now = Clock::now();
        intervals.push_back(std::chrono::duration<double, std::micro>(now - last).count());
        last = now;
    }
    const double p50 = percentile(intervals, 50);
    const double p99 = percentile(intervals, 99);
    std::vector<double> deviation;
    for (double v : intervals) deviation.push_back(std::fabs(v - p50));
    std::printf("delay %d, %d pulses: interval p50 %.2f us, p99 %.2f us, max %.2f us\n", delay, samples, p50, p99,
                *std::max_element(intervals.begin(), intervals.end()));
    std::printf("jitter (|interval - median|): p50 %.2f us, p99 %.2f us\n", percentile(deviation, 50),
                percentile(deviation, 99));
}

}  // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    port::Install(std::make_unique<port::SimulatedPort>());
    seams::SetDoEvents({});  // the real one: QCoreApplication::processEvents
    int16_t dir = 8;

    // 1. Software cost of one pulse at delay 0, and of its parts.
    std::puts("== software cost per pulse (simulated port, delay 0) ==");
    const long n = 500'000;
    const double pulse = nsPerCall(n, [] { Pulse(8, 4, 0); });
    const double write = nsPerCall(n, [&dir] { Out32(port::kData, dir); });
    const double wait0 = nsPerCall(n, [] { BusyWait(0); });
    const double events = nsPerCall(n, [] { seams::DoEvents(); });
    port::Simulator()->SetRecording(false);
    const double writeUnlogged = nsPerCall(n, [&dir] { Out32(port::kData, dir); });
    port::Simulator()->SetRecording(true);
    std::printf("per pulse: %.2f us\n", pulse / 1000.0);
    std::printf("  of which, per call: Out32 %.1f ns (%.1f ns without the write log), BusyWait(0) %.1f ns, "
                "DoEvents %.1f ns; a pulse makes two of each\n",
                write, writeUnlogged, wait0, events);
    {
        // For comparison only: events let run at most once every 100 us.
        auto last = Clock::now();
        seams::SetDoEvents([&last] {
            const auto now = Clock::now();
            if (now - last < std::chrono::microseconds(100)) return;
            last = now;
            QCoreApplication::processEvents();
        });
        const double throttled = nsPerCall(n, [] { Pulse(8, 4, 0); });
        seams::SetDoEvents({});
        std::printf("  with events run at most every 100 us instead: %.3f us a pulse\n", throttled / 1000.0);
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
    std::puts("== pulse-interval jitter at about 1 kHz ==");
    // Past the cost of the events a pulse lasts its two delays: the delay of
    // 1 kHz comes from the two longest periods.
    const std::size_t last = counts.size() - 1;
    const double slope = (periods[last] - periods[last - 1]) / (counts[last] - counts[last - 1]);
    const double offset = periods[last] - slope * counts[last];
    std::printf("long delays: period = %.2f us + %.3f ns per count\n", offset / 1000.0, slope);
    const auto delay1k = static_cast<int32_t>(std::max(0.0, std::round((1e6 - offset) / slope)));
    jitter(delay1k, [](int) {});

    // 4. The same as a goto runs: the coordinates window shown, its clock
    // timer ticking, the progress bar written at every pulse.
    std::puts("== as a goto runs: coordinates window shown, clock timer on, progress written ==");
    datadir::SetFolder(QStringLiteral(ORVANEL_SOURCE_DIR "/data"));
    Frminterface& main = frminterface();
    main.MDIForm_Load();
    main.show();
    main.barchoix_ButtonClick(2);
    Frmcoord& coord = frmcoord();
    QProgressBar* progress = coord.ProgressBaraz;
    coord.SetTwipsWidth(7820);  // as during a goto: the progress bars show
    for (int i = 0; i < 20; ++i) QApplication::processEvents();
    std::printf("clock timer running: %s\n", main.heuretimer->isActive() ? "yes" : "no");
    int value = 0;
    const double windowPulse = nsPerCall(n / 5, [&progress, &value] {
        Pulse(8, 4, 0);
        progress->setValue(++value / 100 % 101);
    });
    std::printf("per pulse: %.2f us\n", windowPulse / 1000.0);
    jitter(delay1k, [&progress](int i) { progress->setValue(i * 100 / 3000); });
    return 0;
}
