// The direction values of the alt-azimuth axes: which value of an axis's
// direction line makes it count up (AzPlusBits, AltPlusBits) and which down
// (AzMinusBits, AltMinusBits). They start as 8 and 0 for the azimuth, 2 and 0
// for the altitude; the set-up window's direction test swaps an axis's pair
// when it finds its motor wired the other way round.
#pragma once

namespace directions {

enum class Axis { Azimuth, Altitude };

// Swaps the axis's plus and minus values. The gears and the axis have not
// moved, so what was written down in the old sense swaps with them: the
// side the slack rests on and an unfinished take-up (the shared slack
// record), the way the axis last turned (its direction flag), and its pulses
// not yet applied to the counter.
void Swap(Axis axis);

// The values as they start (azimuth 8 and 0, altitude 2 and 0). An axis whose
// pair a direction test swapped is swapped back (Swap); any other pair (none
// set yet) takes the starting values as they are.
void SetStartingValues();

}  // namespace directions
