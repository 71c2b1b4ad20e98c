// The hand paddle's codes, read back through the data and control registers.
#pragma once

#include <cstdint>
#include <optional>

namespace paddle {

constexpr int16_t kReleased = 11;   // no button pressed
constexpr int16_t kSwitchedOff = 1000;  // never read from the port: the paddle is not polled

enum class Axis { AltDec, AzRa };       // board 0/1 bits or 2/3 bits
enum class Speed { Slow, Medium, Fast };

struct Button {
    Axis axis;
    Speed speed;
    int16_t direction;  // direction value before the axis's inversion: 0, 2 or 8
    bool operator==(const Button&) const = default;
};

// code = Inp32(888) - LastPortOutput + Inp32(890), in 16-bit arithmetic,
// LastPortOutput being what the program last wrote to the data register,
// whatever move wrote it (port::LastPortOutput): the step and direction
// lines a tracking burst, an arrow or a goto left high are never read as a
// button.
int16_t ReadCode();

// The button a code stands for; nothing for 11 (released) and unknown codes.
std::optional<Button> Decode(int16_t code);

}  // namespace paddle
