// Drive modes and the moves that run on them: the held manual moves of the
// manual-drive windows and the counted bursts of sidereal tracking.
//
// MotorMode names the axis and direction of a move: 0 stop, 1 and 2 the
// azimuth or right-ascension axis, 3 and 4 the altitude or declination axis.
// Every move lets pending events run twice per pulse (that is how the stop
// buttons reach it); a move fixes its own direction and step bits when it
// starts, so a move started by a handler that runs inside it never changes
// what the outer move writes to the port.
#pragma once

#include <cstdint>
#include <optional>

// The two data-register values of a drive mode.
struct ModeBits {
    int16_t direction = 0;  // 0, 2 or 8
    int16_t step = 0;       // 0, 1 or 4
    bool operator==(const ModeBits&) const = default;
};

// The plain mapping (the equatorial goto's): modes 0..4 give
// (0,0) (0,4) (8,4) (0,1) (2,1); any other mode gives nothing.
std::optional<ModeBits> ModeBitsOf(int16_t mode);
// The mapping of manual commands: not inverted, modes 1..4 give direction
// 8, 0, 2, 0; an inverted axis gets the other value of its pair. Mode 0 gives
// (0,0); any other mode gives nothing.
std::optional<ModeBits> CommandBitsOf(int16_t mode, int16_t invertAz, int16_t invertAlt);

// DirectionBits and StepBit from MotorMode by the plain mapping; a mode
// outside 0..4 changes nothing.
void SetModeBits();

// DirectionBits and StepBit from MotorMode by the command mapping, with the
// inversion saved in "\data\inversion.ini" (read at every call). Clears both
// direction flags, then sets the flag of the mode's axis (-1) when the
// direction value is that axis's plus value. A mode outside 0..4 leaves the
// port values as they are.
//
// The saved inversion decides this move only: the paddle's live inversion
// (shared.site.InvertAz, InvertAlt, set by the check boxes at once) is left
// as the check boxes put it.
void ApplyDirection();

// Every move here ends at its next pulse once the program is quitting
// (seams::Quitting), and writes nothing more to the port.
//
// Held moves: pulse the axis of MotorMode at the speed level of the axis
// (alt-azimuth or equatorial table) until MotorMode is 0; the pulse under way
// is always finished (but for quitting). The delay is looked up again after every pulse once
// SpeedChanged is true. The alt-azimuth moves end the synchronised state
// (PositionSynced, GotoReached false) and count each pulse that moved the
// axis into the pending counters (in the direction the move actually
// pulses); the pulses that take up the slack after a reversal (shared slack
// record, motor/slack.h) are not counted. The equatorial ones count nothing.
// A mode that names no axis sends nothing.
void ManualMoveAz();
void ManualMoveAlt();
void ManualMoveEquaRA();
void ManualMoveEquaDec();
// A held manual move is under way (this is called from a handler that runs
// during one of its pulses).
bool HeldMoveUnderWay();

// One tracking burst: AzStepsTick pulses on the azimuth axis (AltStepsTick,
// rounded halves to even, on the altitude axis) in the plus direction when
// DeltaAz (DeltaAlt) is above 0, the minus direction otherwise, at
// TrackDelayAz (TrackDelayAlt). A burst that reverses the axis first takes
// up its slack (shared slack record), with pulses of its own. Every pulse
// that moves the axis moves its counter by the step angle (the azimuth
// wrapped into the turn). No stop flag; quitting ends it.
void TrackStepAz();
void TrackStepAlt();

// One equatorial tracking burst: EquaStepCount pulses on the axis of
// MotorMode with the command mapping, at the equatorial table's speed; the
// delay is looked up again after a pulse whenever SpeedChanged is true. A mode
// that names no axis sends nothing.
void MoveEquaSteps();
