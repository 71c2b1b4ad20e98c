#include "motor/slack.h"

#include "platform/vbrt.h"

#include <algorithm>
#include <cmath>

namespace slack {

namespace {
BacklashState state;

int16_t other(int16_t plus) { return plus == vb::True ? vb::False : vb::True; }
}  // namespace

BacklashState& State() { return state; }
void Reset() { state = BacklashState{}; }

Axis Azimuth() { return {state.BacklashLeftAz, state.BacklashDoneAz, state.BacklashDirAz}; }
Axis Altitude() { return {state.BacklashLeftAlt, state.BacklashDoneAlt, state.BacklashDirAlt}; }

int64_t Pulses(double backlash) {
    if (!(backlash > 0)) return 0;
    return static_cast<int64_t>(std::min(std::floor(backlash), static_cast<double>(INT16_MAX)));
}

int64_t TakeUp(const Axis& axis, int16_t plus, int64_t backlash) {
    const int16_t way = plus == vb::True ? vb::True : vb::False;
    // An unfinished take-up heads away from the direction it last completed in.
    if (axis.done == 0 && axis.left > 0) {
        if (other(axis.dir) == way) return axis.left;
        return std::max<int64_t>(0, backlash - axis.left);
    }
    return (axis.dir == vb::True ? vb::True : vb::False) == way ? 0 : backlash;
}

bool Reverses(const Axis& axis, int16_t plus) { return TakeUp(axis, plus, INT16_MAX) > 0; }

void Begin(const Axis& axis, int16_t plus, int64_t pulses) {
    if (pulses <= 0) return;
    axis.left = static_cast<int16_t>(std::min<int64_t>(pulses, INT16_MAX));
    axis.done = vb::False;
    axis.dir = other(plus == vb::True ? vb::True : vb::False);
}

void Swap(const Axis& axis) { axis.dir = other(axis.dir == vb::True ? vb::True : vb::False); }

bool Step(const Axis& axis, int16_t plus, int64_t backlash) {
    const int64_t left = TakeUp(axis, plus, backlash);
    if (left <= 0) return true;
    const int16_t way = plus == vb::True ? vb::True : vb::False;
    if (left == 1) {
        axis.left = 0;
        axis.done = vb::True;
        axis.dir = way;
    } else {
        Begin(axis, way, left - 1);
    }
    return false;
}

}  // namespace slack
