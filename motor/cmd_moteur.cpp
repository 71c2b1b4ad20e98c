#include "motor/cmd_moteur.h"

#include "core/state.h"
#include "platform/busywait.h"
#include "platform/port.h"
#include "platform/seams.h"

#include <chrono>

// Each half of the pulse lasts its delay from its port write, and the
// pending events run within it (when their time budget says so): a repaint
// or a clock tick shorter than the half does not stretch the pulse. Quitting
// can only begin while those events run: it is looked at after them.
std::optional<std::chrono::steady_clock::time_point> PulseLowHalf(int16_t directionBits, int16_t stepBit,
                                                                  int32_t delay) {
    using clock = std::chrono::steady_clock;
    if (seams::Quitting()) return std::nullopt;
    Out32(port::kData, directionBits);
    auto low = clock::now();
    seams::DoEvents(low);
    if (seams::Quitting()) return std::nullopt;
    BusyWaitFrom(low, delay);
    // A move run by those events (a tracking tick within a paddle or manual
    // move, a paddle move within a tracking burst) may have left this step
    // line high: the step write would then make no edge, and the pulse would
    // be counted while the axis stays. The low half is made again first.
    if ((Inp32(port::kData) & stepBit) != 0) {
        Out32(port::kData, directionBits);
        low = clock::now();
        BusyWaitFrom(low, delay);
    }
    Out32(port::kData, static_cast<int16_t>(directionBits + stepBit));
    return clock::now();
}

void PulseHighHalf(std::chrono::steady_clock::time_point rise, int32_t delay) {
    seams::DoEvents(rise);
    if (seams::Quitting()) return;
    BusyWaitFrom(rise, delay);
}

void Pulse(int16_t directionBits, int16_t stepBit, int32_t delay) {
    Pulse(directionBits, stepBit, delay, [] {});
}

void SendPulse() { Pulse(shared.drive.DirectionBits, shared.drive.StepBit, shared.drive.StepDelay); }
