// The controls that edit the hand paddle's six speeds, for every window that
// shows them: per axis three bars (slow, medium, fast) and three boxes
// holding the delay counts.
#pragma once

#include "core/state.h"
#include "motor/paddlespeeds.h"
#include "platform/saveset.h"
#include "platform/seqfile.h"

#include <QString>
#include <array>
#include <cstdint>
#include <optional>

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
    QString azName;                        // how the window names each axis
    QString altName;
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

// The speeds typed in the boxes: a box holding a delay (a whole number up to
// the largest 32-bit count) gives that speed, except that an empty box or one
// of 0 keeps the stored speed. Nothing when a box holds anything else (the
// user is told which, and that nothing was saved).
struct TypedSpeeds {
    PaddleTable table;  // ManualSpeedTable with the typed speeds
    SeqWriter lines;    // "\Data\vitessemanu.ini" as it is to be saved
};
std::optional<TypedSpeeds> TypedSpeedsOf(const SpeedControls& c);

// Saves the typed speeds and the command inversion of the two check boxes
// ("\data\inversion.ini"), with the window's other files, as one save; once
// every file is saved, ManualSpeedTable, InvertAz and InvertAlt take the new
// values. The paddle delays are not touched (the bars set them). False when
// the files could not be saved (the user is told, the old files kept).
bool Save(const TypedSpeeds& speeds, const QCheckBox* chkaz, const QCheckBox* chkalt, SaveSet files = {});

}  // namespace paddlesettings
