#include "motor/slack.h"

#include "platform/vbrt.h"

#include <algorithm>

namespace slack {

namespace {
BacklashState state;
}  // namespace

BacklashState& State() { return state; }
void Reset() { state = BacklashState{}; }

Axis Azimuth() { return {state.BacklashLeftAz, state.BacklashDoneAz, state.BacklashDirAz}; }
Axis Altitude() { return {state.BacklashLeftAlt, state.BacklashDoneAlt, state.BacklashDirAlt}; }

int64_t TakeUp(const Axis& axis, int16_t flag, int16_t plus, int64_t backlash) {
    // An unfinished take-up heads away from the direction it last completed in.
    const bool unfinished = axis.done == 0 && axis.left > 0;
    if (flag != plus) {
        if (unfinished && axis.dir == plus) return std::max<int64_t>(0, backlash - axis.left);
        return backlash;
    }
    return unfinished && axis.dir != plus ? axis.left : 0;
}

void AfterMove(const Axis& axis, int16_t plus, int64_t takeUp, int64_t sent) {
    if (sent <= 0) return;
    if (sent >= takeUp) {
        axis.left = 0;
        axis.done = vb::True;
        axis.dir = plus;
    } else {
        axis.left = static_cast<int16_t>(std::min<int64_t>(takeUp - sent, INT16_MAX));
        axis.done = vb::False;
        axis.dir = plus == vb::True ? vb::False : vb::True;
    }
}

}  // namespace slack
