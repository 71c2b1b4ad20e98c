#include "motor/handpad.h"

#include "platform/port.h"

#include "core/counters.h"
#include "core/state.h"
#include "motor/cmd_moteur.h"
#include "motor/paddle.h"
#include "platform/seams.h"
#include "platform/vbrt.h"

namespace handpad {

namespace {

bool tickRunning = false;
// How often the data register was cleared for the paddle.
unsigned dataClears = 0;

std::function<void(const QString&)>& display() {
    static std::function<void(const QString&)> f;
    return f;
}

struct Axis {
    slack::Axis slack;      // shared with the goto
    int16_t& flag;          // AzDirectionPlus / AltDirectionPlus
    const double& amount;   // BacklashAz / BacklashAlt
    const int16_t& measuring;
    double& measured;
    int32_t& encoder;
    void (*countStep)();
    bool shown;             // the azimuth's take-up is shown in txtback
};

Axis azimuth() {
    auto& d = shared.drive;
    return {slack::Azimuth(), shared.pos.AzDirectionPlus,
            shared.site.BacklashAz, d.BacklashMeasureAz, d.BacklashCountAz, d.EncoderCountAz, CountAzStep, true};
}

Axis altitude() {
    auto& d = shared.drive;
    return {slack::Altitude(), shared.pos.AltDirectionPlus,
            shared.site.BacklashAlt, d.BacklashMeasureAlt, d.BacklashCountAlt, d.EncoderCountAlt, CountAltStep, false};
}

void paddleMove(const Axis& axis) {
    auto& d = shared.drive;
    // The move's own bits and direction, fixed now: a move run by a handler
    // between two pulses may change the shared ones.
    const int16_t direction = d.DirectionBits;
    const int16_t step = d.StepBit;
    const int16_t plus = axis.flag;

    int16_t code = paddle::ReadCode();
    const unsigned clearsBefore = dataClears;
    auto handedBack = [&] { return dataClears != clearsBefore; };
    auto held = [&] { return !handedBack() && code == d.HandPadCode && !seams::Quitting(); };
    // One pulse; `edge` writes it down as its rising edge goes out.
    auto pulse = [&](auto&& edge) {
        // The telescope leaves what it was synchronised on or pointed at.
        shared.pos.PositionSynced = vb::False;
        shared.pos.GotoReached = false;
        Pulse(direction, step, d.PaddleDelay, edge);
        if (seams::Quitting()) return;  // the port is given back: nothing more to write
        if (handedBack()) {
            // The data register was cleared under this pulse, perhaps before
            // its step write: clear it again, as the handler that took the
            // port meant it.
            Out32(port::kData, 0);
            return;
        }
        code = paddle::ReadCode();
    };

    const int64_t backlash = slack::Pulses(axis.amount);
    // A pulse that moved the axis (its slack already taken up) is counted;
    // one that took up slack is not.
    auto countMoved = [&] {
        axis.flag = plus;
        if (!slack::Step(axis.slack, plus, backlash)) return;
        axis.countStep();
        ++axis.encoder;
    };

    if (axis.measuring != 0) {
        // Measuring the backlash: every pulse is counted into the
        // measurement, and like any paddle pulse into the slack record and,
        // once the slack is taken up, the counters; the move goes on through
        // a take-up while the button stays pressed.
        while (held()) {
            pulse(countMoved);
            axis.measured += 1;
        }
        return;
    }

    if (!slack::Reverses(axis.slack, plus)) {
        // No reversal since the last completed take-up: a normal move.
        while (held()) pulse(countMoved);
        return;
    }

    // A reversal, or a take-up left unfinished: the slack first (none for a
    // backlash of 0 or less). Its pulses move the motor, not the axis, and
    // the move ends with them; the next tick moves the axis.
    const int64_t takeUp = slack::TakeUp(axis.slack, plus, backlash);
    slack::Begin(axis.slack, plus, takeUp);
    while (held() && axis.slack.left > 0 && axis.slack.done == vb::False) {
        pulse(countMoved);
        if (axis.shown && display()) display()(vb::CStr(axis.slack.left));
    }
    if (takeUp == 0) {
        // Nothing to take up: taken up this way at once.
        axis.slack.left = 0;
        axis.slack.done = vb::True;
        axis.slack.dir = plus;
    }
}

struct TickGuard {
    TickGuard() { tickRunning = true; }
    ~TickGuard() { tickRunning = false; }
    TickGuard(const TickGuard&) = delete;
    TickGuard& operator=(const TickGuard&) = delete;
};

int32_t delayOf(paddle::Speed speed, int32_t slow, int32_t medium, int32_t fast) {
    switch (speed) {
    case paddle::Speed::Slow: return slow;
    case paddle::Speed::Medium: return medium;
    case paddle::Speed::Fast: return fast;
    }
    return slow;
}

}  // namespace

BacklashState& Backlash() { return slack::State(); }

void ClearDataForPaddle() {
    Out32(port::kData, 0);
    ++dataClears;
}

void Reset() {
    slack::Reset();
    tickRunning = false;
}

bool TickRunning() { return tickRunning; }

void SetBacklashDisplay(std::function<void(const QString&)> show) { display() = std::move(show); }

void PaddleMoveAz() { paddleMove(azimuth()); }
void PaddleMoveAlt() { paddleMove(altitude()); }

void PaddleTick() {
    if (tickRunning || seams::Quitting()) return;
    const TickGuard guard;
    auto& d = shared.drive;
    const auto& site = shared.site;

    const int16_t code = paddle::ReadCode();
    d.HandPadCode = code;
    if (code == paddle::kReleased) {
        d.DirectionBits = 0;
        d.StepBit = 0;
        d.PaddleDelay = 0;
        return;
    }
    const auto button = paddle::Decode(code);
    if (!button) return;

    // The board's bits, inversion, delays, direction flag and move.
    const bool alt = button->axis == paddle::Axis::AltDec;
    const int16_t other = alt ? 2 : 8;     // the direction value that is not 0
    const int16_t invert = alt ? site.InvertAlt : site.InvertAz;
    int16_t direction = button->direction;
    if (invert != 0) direction = direction == 0 ? other : 0;
    d.DirectionBits = direction;
    d.StepBit = alt ? 1 : 4;
    d.PaddleDelay = alt ? delayOf(button->speed, d.PaddleDelayAltSlow, d.PaddleDelayAltMedium, d.PaddleDelayAltFast)
                        : delayOf(button->speed, d.PaddleDelayAzSlow, d.PaddleDelayAzMedium, d.PaddleDelayAzFast);
    if (alt) {
        shared.pos.AltDirectionPlus = vb::Bool(direction == site.AltPlusBits);
        PaddleMoveAlt();
    } else {
        shared.pos.AzDirectionPlus = vb::Bool(direction == site.AzPlusBits);
        PaddleMoveAz();
    }
}

}  // namespace handpad
