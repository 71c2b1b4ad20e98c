// The pulse on the port, shared by every move of the program.
#pragma once

#include <chrono>
#include <cstdint>
#include <optional>

// One step pulse: direction line set and step line low, let events run, wait,
// rising edge on the step line, let events run, wait; each wait counts from
// its port write, so the events run within it. When a move run by the first
// events left the step line high, the low half is written and waited again
// before the rising edge. The step line is left high.
//
// Once the program is quitting (seams::Quitting, perhaps begun by the
// events of this very pulse) the pulse stops where it stands: no further
// write, no wait, and no rising edge (nor `edge` below) when it had not gone
// out yet.
void Pulse(int16_t directionBits, int16_t stepBit, int32_t delay);

// The same pulse, with `edge` run as soon as its rising edge is written,
// before the events of its high half. A move writes its pulse down there
// (the slack it took up, the counter it moved): a move that those events run
// (a tracking tick within a paddle move) writes its own pulses down after
// it, in the order the mount took them.
template <typename Edge>
void Pulse(int16_t directionBits, int16_t stepBit, int32_t delay, Edge&& edge);

// One pulse of the move under way (DirectionBits, StepBit, StepDelay).
void SendPulse();

// The two halves of a pulse: up to its rising edge (the time of that write
// is returned; none when quitting kept it back), and from there.
std::optional<std::chrono::steady_clock::time_point> PulseLowHalf(int16_t directionBits, int16_t stepBit,
                                                                  int32_t delay);
void PulseHighHalf(std::chrono::steady_clock::time_point rise, int32_t delay);

template <typename Edge>
void Pulse(int16_t directionBits, int16_t stepBit, int32_t delay, Edge&& edge) {
    const auto rise = PulseLowHalf(directionBits, stepBit, delay);
    if (!rise) return;
    edge();
    PulseHighHalf(*rise, delay);
}
