// The pulse on the port, shared by every move of the program.
#pragma once

#include <cstdint>

// One step pulse: direction line set and step line low, wait, let events run,
// rising edge on the step line, wait, let events run. The step line is left high.
void Pulse(int16_t directionBits, int16_t stepBit, int32_t delay);

// One pulse of the move under way (DirectionBits, StepBit, StepDelay).
void SendPulse();
