// The hand paddle: what the main window's paddle timer does on each tick, and
// the paddle moves that step an axis while its button stays pressed.
//
// A tick reads the button code through the port, chooses the axis, the
// direction (with the paddle's live inversion, shared.site.InvertAz and
// InvertAlt) and the delay (the six paddle delays), and runs the axis's
// paddle move. The move pulses until the code read back differs from
// HandPadCode: a released or changed button, or another window setting
// HandPadCode to 1000 (paddle off). It also takes up the backlash after a
// reversal, counts pulses for the backlash measurement and the encoder
// calibration, and counts the position pulses of its moves. While the axis's
// backlash is measured, every pulse also counts into the measurement, and the
// move goes on through a take-up (its pulses counted as slack, the rest as
// motion) as long as the button stays pressed.
#pragma once

#include "motor/slack.h"

#include <QString>
#include <cstdint>
#include <functional>

namespace handpad {

// Backlash take-up state of each axis: the record the goto shares.
using BacklashState = slack::BacklashState;
BacklashState& Backlash();
// Back to the start-up state (and no tick under way).
void Reset();

// Clears the data register for the paddle: writes 0 to it. A paddle move
// under way (this is called from a handler that ran during one of its
// pulses) ends after that pulse and leaves the data register cleared.
void ClearDataForPaddle();

// One tick of the paddle timer. A tick that comes while an earlier tick's
// move is still running, or once the program is quitting, returns at once
// without reading the port; a paddle move ends at its next pulse once the
// program is quitting.
void PaddleTick();
// True while a tick (and its move) is under way.
bool TickRunning();

// The paddle moves; PaddleTick calls them after setting DirectionBits,
// StepBit, PaddleDelay and the axis's direction flag.
void PaddleMoveAz();
void PaddleMoveAlt();

// Where the azimuth pulses still to take up are shown (the coordinates
// window's txtback): called with the count's text after each take-up pulse.
// Empty: shown nowhere.
void SetBacklashDisplay(std::function<void(const QString&)> show);

}  // namespace handpad
