#include "motor/moves.h"

#include "core/counters.h"
#include "core/state.h"
#include "motor/cmd_moteur.h"
#include "motor/settingsfiles.h"
#include "motor/slack.h"
#include "motor/speedtables.h"
#include "platform/seams.h"
#include "platform/vbrt.h"

std::optional<ModeBits> ModeBitsOf(int16_t mode) {
    switch (mode) {
    case 0: return ModeBits{0, 0};
    case 1: return ModeBits{0, 4};
    case 2: return ModeBits{8, 4};
    case 3: return ModeBits{0, 1};
    case 4: return ModeBits{2, 1};
    default: return std::nullopt;
    }
}

std::optional<ModeBits> CommandBitsOf(int16_t mode, int16_t invertAz, int16_t invertAlt) {
    const bool az = invertAz != 0, alt = invertAlt != 0;
    switch (mode) {
    case 0: return ModeBits{0, 0};
    case 1: return ModeBits{static_cast<int16_t>(az ? 0 : 8), 4};
    case 2: return ModeBits{static_cast<int16_t>(az ? 8 : 0), 4};
    case 3: return ModeBits{static_cast<int16_t>(alt ? 0 : 2), 1};
    case 4: return ModeBits{static_cast<int16_t>(alt ? 2 : 0), 1};
    default: return std::nullopt;
    }
}

void SetModeBits() {
    auto& d = shared.drive;
    if (const auto bits = ModeBitsOf(d.MotorMode)) {
        d.DirectionBits = bits->direction;
        d.StepBit = bits->step;
    }
}

void ApplyDirection() {
    auto& d = shared.drive;
    auto& pos = shared.pos;
    const auto saved = settingsfiles::ReadInversion();
    pos.AzDirectionPlus = vb::False;
    pos.AltDirectionPlus = vb::False;
    const auto bits = CommandBitsOf(d.MotorMode, saved.az, saved.alt);
    if (!bits) return;
    d.DirectionBits = bits->direction;
    d.StepBit = bits->step;
    if (d.MotorMode == 1 || d.MotorMode == 2) {
        if (d.DirectionBits == shared.site.AzPlusBits) pos.AzDirectionPlus = vb::True;
    } else if (d.MotorMode == 3 || d.MotorMode == 4) {
        if (d.DirectionBits == shared.site.AltPlusBits) pos.AltDirectionPlus = vb::True;
    }
}

namespace {

enum class Counted { None, Az, Alt };

bool namesAnAxis(int16_t mode) { return mode >= 1 && mode <= 4; }

// The delay of the move's own axis. MotorMode may meanwhile hold another
// move's mode (a handler run between two pulses); the look-up is made for
// this move's mode, and nothing can run between the swap and its undoing.
int32_t delayFor(void (*lookup)(), int16_t mode) {
    auto& d = shared.drive;
    const int16_t current = d.MotorMode;
    d.MotorMode = mode;
    lookup();
    d.MotorMode = current;
    return d.StepDelay;
}

// What a move fixes when it starts: its bits, its mode, and its direction flag.
struct OwnMove {
    int16_t mode;
    int16_t direction;
    int16_t step;
    int16_t plus;  // the axis's direction flag as ApplyDirection set it
};

OwnMove startMove() {
    ApplyDirection();
    const auto& d = shared.drive;
    const int16_t mode = d.MotorMode;
    const int16_t plus = (mode == 1 || mode == 2) ? shared.pos.AzDirectionPlus : shared.pos.AltDirectionPlus;
    return {mode, d.DirectionBits, d.StepBit, plus};
}

// The slack of the axis a move counts (none for the equatorial moves).
struct CountedAxis {
    slack::Axis slack;
    int64_t backlash;  // whole pulses
};
CountedAxis countedAxis(Counted counted) {
    if (counted == Counted::Alt) return {slack::Altitude(), slack::Pulses(shared.site.BacklashAlt)};
    return {slack::Azimuth(), slack::Pulses(shared.site.BacklashAz)};
}

// One pulse sent: when it moved the axis (the slack already taken up), it is
// counted into the pending counter of the axis in the direction this move
// pulses (a move run inside this one may have changed the flag).
void count(Counted counted, int16_t plus) {
    if (counted == Counted::None) return;
    const CountedAxis axis = countedAxis(counted);
    if (!slack::Step(axis.slack, plus, axis.backlash)) return;
    if (counted == Counted::Az) {
        shared.pos.AzDirectionPlus = plus;
        CountAzStep();
    } else {
        shared.pos.AltDirectionPlus = plus;
        CountAltStep();
    }
}

int heldMoves = 0;  // held moves under way, one within another

void heldMove(void (*lookup)(), Counted counted) {
    const OwnMove move = startMove();
    if (!namesAnAxis(move.mode)) return;
    struct UnderWay {
        UnderWay() { ++heldMoves; }
        ~UnderWay() { --heldMoves; }
        UnderWay(const UnderWay&) = delete;
        UnderWay& operator=(const UnderWay&) = delete;
    } underWay;
    auto& d = shared.drive;
    if (counted != Counted::None) {
        // The telescope leaves what it was synchronised on or pointed at.
        shared.pos.PositionSynced = vb::False;
        shared.pos.GotoReached = false;
    }
    int32_t delay = delayFor(lookup, move.mode);
    // Quitting ends it too, whatever a handler run meanwhile left in MotorMode.
    while (d.MotorMode != 0 && !seams::Quitting()) {
        Pulse(move.direction, move.step, delay, [&] { count(counted, move.plus); });
        if (d.SpeedChanged == vb::True) delay = delayFor(lookup, move.mode);
    }
}

}  // namespace

bool HeldMoveUnderWay() { return heldMoves > 0; }

void ManualMoveAz() { heldMove(LookupAltazDelay, Counted::Az); }
void ManualMoveAlt() { heldMove(LookupAltazDelay, Counted::Alt); }
void ManualMoveEquaRA() { heldMove(LookupEquaDelay, Counted::None); }
void ManualMoveEquaDec() { heldMove(LookupEquaDelay, Counted::None); }

namespace {

// One tracking burst on an axis: the slack first when the burst reverses
// the axis, then `pulses` pulses that move it, each moving its counter by one
// step angle.
void trackBurst(double delta, int32_t pulses, int16_t plusBits, int16_t minusBits, int16_t stepBit, int32_t delay,
                const slack::Axis& axis, double backlash, double& counter, double stepArcsec, bool azimuth) {
    auto& d = shared.drive;
    d.DirectionBits = delta > 0 ? plusBits : minusBits;
    const int16_t direction = d.DirectionBits;
    if (pulses <= 0) return;
    const int16_t plus = vb::Bool(delta > 0);
    const int64_t whole = slack::Pulses(backlash);
    const int64_t total = pulses + slack::TakeUp(axis, plus, whole);
    for (int64_t k = 1; k <= total && !seams::Quitting(); ++k) {
        Pulse(direction, stepBit, delay, [&] {
            if (!slack::Step(axis, plus, whole)) return;
            counter += delta > 0 ? stepArcsec : -stepArcsec;
            if (azimuth) counter = WrappedAzimuth(counter);
        });
    }
}

}  // namespace

void TrackStepAz() {
    auto& d = shared.drive;
    const auto& site = shared.site;
    trackBurst(d.DeltaAz, d.AzStepsTick, site.AzPlusBits, site.AzMinusBits, 4, d.TrackDelayAz, slack::Azimuth(),
               site.BacklashAz, shared.pos.AzimuthArcsec, site.AzStepArcsec, true);
}

void TrackStepAlt() {
    auto& d = shared.drive;
    const auto& site = shared.site;
    trackBurst(d.DeltaAlt, vb::CLng(d.AltStepsTick), site.AltPlusBits, site.AltMinusBits, 1, d.TrackDelayAlt,
               slack::Altitude(), site.BacklashAlt, shared.pos.AltitudeArcsec, site.AltStepArcsec, false);
}

void MoveEquaSteps() {
    const OwnMove move = startMove();
    if (!namesAnAxis(move.mode)) return;
    auto& d = shared.drive;
    int32_t delay = delayFor(LookupEquaDelay, move.mode);
    const int16_t pulses = d.EquaStepCount;
    for (int k = 1; k <= pulses && !seams::Quitting(); ++k) {
        Pulse(move.direction, move.step, delay);
        if (d.SpeedChanged == vb::True) delay = delayFor(LookupEquaDelay, move.mode);
    }
}
