// The pulse on the port, shared by every move of the program.
#pragma once

#include <cstdint>

// One step pulse: direction line set and step line low, let events run, wait,
// rising edge on the step line, let events run, wait; each wait counts from
// its port write, so the events run within it. When a move run by the first
// events left the step line high, the low half is written and waited again
// before the rising edge. The step line is left high.
void Pulse(int16_t directionBits, int16_t stepBit, int32_t delay);

// One pulse of the move under way (DirectionBits, StepBit, StepDelay).
void SendPulse();
