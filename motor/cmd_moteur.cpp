#include "motor/cmd_moteur.h"

#include "core/state.h"
#include "platform/busywait.h"
#include "platform/port.h"
#include "platform/seams.h"

void Pulse(int16_t directionBits, int16_t stepBit, int32_t delay) {
    Out32(port::kData, directionBits);
    BusyWait(delay);
    seams::DoEvents();
    Out32(port::kData, static_cast<int16_t>(directionBits + stepBit));
    BusyWait(delay);
    seams::DoEvents();
}

void SendPulse() { Pulse(shared.drive.DirectionBits, shared.drive.StepBit, shared.drive.StepDelay); }
