// The controls that edit the hand paddle's six speeds, for every window that
// shows them: per axis three bars (slow, medium, fast) and three boxes
// holding the delay counts.
#pragma once

#include "motor/paddlespeeds.h"

#include <array>
#include <cstdint>

class QCheckBox;
class QLineEdit;
class QScrollBar;
class QWidget;

namespace paddlesettings {

struct SpeedControls {
    std::array<QScrollBar*, 3> azBars{};   // slow, medium, fast
    std::array<QScrollBar*, 3> altBars{};
    std::array<QLineEdit*, 3> txtaz{};
    std::array<QLineEdit*, 3> txtalt{};
};

// The formula of each bar of an axis: slow, medium, fast.
inline constexpr std::array<paddlespeeds::Formula, 3> kFormulas = {paddlespeeds::kSlow, paddlespeeds::kMedium,
                                                                   paddlespeeds::kFast};

// Reads the saved command inversion ("\data\inversion.ini") into InvertAz
// and InvertAlt, and shows it in the two check boxes.
void ShowSavedInversion(QCheckBox* chkaz, QCheckBox* chkalt);

// A speed bar, placed in twips: positions 0 to the last, steps of 10 and 100.
QScrollBar* MakeBar(QWidget* parent, const char* name, int left, int top, int width);

// Shows the stored speeds (ManualSpeedTable): each bar at the position of its
// stored delay, which runs the bar's change handler when the position moves.
// Then the paddle runs at the stored speeds and the boxes show them, whether
// or not a bar moved (a bar already in place runs no handler, and a stored
// delay beyond a bar's range leaves the bar at its end).
void ShowStoredSpeeds(const SpeedControls& c);

// A bar moved: its box shows the delay of the bar's position, and the paddle
// delay takes the box's value.
void BarChanged(QScrollBar* bar, QLineEdit* box, paddlespeeds::Formula formula, int32_t& delay);

// Stores the boxes' speeds in ManualSpeedTable and writes "\Data\vitessemanu.ini":
// a box holding a number other than 0 becomes the stored speed (rounded, the
// file gets the number as typed); an empty box or one that is no number
// keeps the stored speed. The paddle delays are not touched (the bars set
// them). False when the file could not be written (the user is told).
bool SaveSpeeds(const SpeedControls& c);

}  // namespace paddlesettings
