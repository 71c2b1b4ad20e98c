#include "motor/cmd_moteur.h"

#include "core/state.h"
#include "platform/busywait.h"
#include "platform/port.h"
#include "platform/seams.h"

#include <chrono>

void Pulse(int16_t directionBits, int16_t stepBit, int32_t delay) {
    // Each half of the pulse lasts its delay from its port write, and the
    // pending events run within it (when their time budget says so): a
    // repaint or a clock tick shorter than the half does not stretch the
    // pulse.
    using clock = std::chrono::steady_clock;
    Out32(port::kData, directionBits);
    const auto low = clock::now();
    seams::DoEvents(low);
    BusyWaitFrom(low, delay);
    Out32(port::kData, static_cast<int16_t>(directionBits + stepBit));
    const auto high = clock::now();
    seams::DoEvents(high);
    BusyWaitFrom(high, delay);
}

void SendPulse() { Pulse(shared.drive.DirectionBits, shared.drive.StepBit, shared.drive.StepDelay); }
