// The slack in each axis's gearing, as every move of the alt-azimuth mount
// sees it: the hand paddle, the manual drive, the goto and the tracking
// bursts. One record serves them all, so a move of any of them starts from
// where another left the gears, and the pulses that only take up the slack
// (turning the motor while the axis stays) are never counted as motion.
//
// Until a move has taken it up, the gears count as resting on the minus side
// of each axis: the first move the plus way takes up the whole backlash.
#pragma once

#include <cstdint>

namespace slack {

// Per axis: the direction flag value (AzDirectionPlus / AltDirectionPlus) in
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

// The whole pulses of a backlash value (BacklashAz, BacklashAlt): none for 0
// or less.
int64_t Pulses(double backlash);

// Pulses of slack a move in the direction `plus` (a direction flag value)
// takes up before the axis moves, for an axis with `backlash` whole pulses of
// slack:
// - the slack was last taken up the other way: the whole backlash;
// - a take-up left unfinished heads this way: what is left of it;
// - one left unfinished heads the other way: what it had already crossed.
int64_t TakeUp(const Axis& axis, int16_t plus, int64_t backlash);

// The move the way `plus` does not start from the side the slack was last
// taken up on: it has slack to take up first, whatever the backlash.
bool Reverses(const Axis& axis, int16_t plus);

// Writes down a take-up of `pulses` pulses starting the way `plus` (the
// record then reads as an unfinished take-up that way; it means what it
// meant before). Nothing for 0 pulses or less.
void Begin(const Axis& axis, int16_t plus, int64_t pulses);

// The axis's plus and minus direction values were swapped (the direction
// test found the motor wired the other way): the gears have not moved, so the
// record now names the other direction for the side they rest on and for an
// unfinished take-up.
void Swap(const Axis& axis);

// One pulse sent the way `plus`: true when it moved the axis, false when it
// only took up slack (the record then holds one pulse less to take up, and
// reads as taken up that way once none is left).
bool Step(const Axis& axis, int16_t plus, int64_t backlash);

}  // namespace slack
