#include "motor/paddle.h"

#include "platform/port.h"

namespace paddle {

int16_t ReadCode() {
    const int16_t data = Inp32(port::kData);
    const int16_t control = Inp32(port::kControl);
    return static_cast<int16_t>(data - port::LastPortOutput() + control);
}

std::optional<Button> Decode(int16_t code) {
    switch (code) {
    case 2: return Button{Axis::AltDec, Speed::Fast, 0};
    case 3: return Button{Axis::AltDec, Speed::Medium, 0};
    case 10: return Button{Axis::AltDec, Speed::Slow, 0};
    case 18: return Button{Axis::AltDec, Speed::Fast, 2};
    case 19: return Button{Axis::AltDec, Speed::Medium, 2};
    case 26: return Button{Axis::AltDec, Speed::Slow, 2};
    case 9: return Button{Axis::AzRa, Speed::Medium, 0};
    case 13: return Button{Axis::AzRa, Speed::Fast, 0};
    case 15: return Button{Axis::AzRa, Speed::Slow, 0};
    case 137: return Button{Axis::AzRa, Speed::Medium, 8};
    case 141: return Button{Axis::AzRa, Speed::Fast, 8};
    case 143: return Button{Axis::AzRa, Speed::Slow, 8};
    default: return std::nullopt;
    }
}

}  // namespace paddle
