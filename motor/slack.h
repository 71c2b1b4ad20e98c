// The slack in each axis's gearing, as the moves that take it up see it: the
// hand paddle after a reversal, and the alt-azimuth goto. One record serves
// both, so a move of either starts from where the other left the gears, and
// a take-up interrupted by a release or a stop goes on at the next move in
// that direction instead of counting the slack as motion.
#pragma once

#include <cstdint>

namespace slack {

// Per axis: the direction flag (AzDirectionPlus / AltDirectionPlus value) in
// which the slack was last taken up completely, whether the last take-up was
// completed, and the pulses still to take up when it was not.
struct BacklashState {
    int16_t BacklashLeftAz = 0;   // pulses still to take up
    int16_t BacklashDoneAz = 0;   // the last take-up was completed (-1)
    int16_t BacklashDirAz = 0;    // direction flag in which it was last completed
    int16_t BacklashLeftAlt = 0;
    int16_t BacklashDoneAlt = 0;
    int16_t BacklashDirAlt = 0;
};

// The one record (false, false, 0 for both axes at start-up).
BacklashState& State();
void Reset();

// One axis's three values.
struct Axis {
    int16_t& left;
    int16_t& done;
    int16_t& dir;
};
Axis Azimuth();
Axis Altitude();

// Pulses of slack a move in the direction `plus` takes up before the axis
// moves, for an axis whose direction flag is `flag` (the way it last moved)
// and whose backlash is `backlash` whole pulses:
// - the axis last moved the other way: the backlash, less what an unfinished
//   take-up the other way had already crossed of it;
// - it last moved this way: what is left of an unfinished take-up this way,
//   else nothing.
int64_t TakeUp(const Axis& axis, int16_t flag, int16_t plus, int64_t backlash);

// Records the end of a move in the direction `plus` that had `takeUp` pulses
// of slack to take up and sent `sent` pulses: taken up in that direction when
// all of them went out, otherwise what is left of them. A move that sent
// nothing changes nothing.
void AfterMove(const Axis& axis, int16_t plus, int64_t takeUp, int64_t sent);

}  // namespace slack
