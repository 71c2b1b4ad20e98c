// The paddle speed bars: the delay of each paddle speed falls linearly as its
// bar moves right, and the three speeds of an axis join at the bar's last
// position (the slow formula there gives the medium base, the medium formula
// the fast base, the fast formula 5000).
#pragma once

#include <cstdint>

namespace paddlespeeds {

constexpr int kLastPosition = 32767;

struct Formula {
    int32_t base;    // delay at position 0
    int32_t factor;  // delay lost per position
};
constexpr Formula kSlow{1119078, 20};
constexpr Formula kMedium{463738, 12};
constexpr Formula kFast{70534, 2};

// Delay at bar position p: base - factor * p.
constexpr int32_t DelayAt(Formula f, int32_t p) { return f.base - f.factor * p; }

// The bar position showing a delay: (base - delay) / factor, rounded halves
// to even; a delay beyond the bar's range puts the bar at its nearest end.
int32_t PositionOf(Formula f, double delay);

}  // namespace paddlespeeds
