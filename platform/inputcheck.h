// Checking the numbers typed in a window's boxes before anything is saved or
// started. One rule for every box: a value is taken only when the whole text,
// blanks around it aside, is a finite number (a point as decimal separator)
// within the range of its quantity. Otherwise the user is told which box and
// what it must hold, and the window does nothing more.
#pragma once

#include "platform/ranges.h"

#include <QString>
#include <QStringView>
#include <cstdint>
#include <limits>
#include <optional>
#include <vector>

namespace inputcheck {

// The ranges of the typed quantities: those the settings files may hold.
using ranges::Range;
inline constexpr Range kLatitude = ranges::kLatitude;
inline constexpr Range kLongitude = ranges::kLongitude;
inline constexpr Range kSiteMinutes = ranges::kSiteMinutes;
inline constexpr Range kSteps = ranges::kMotorSteps;   // motor steps per turn
inline constexpr Range kRatio = ranges::kRatio;        // reduction ratios
inline constexpr Range kDelay = ranges::kCount;        // busy-wait counts
inline constexpr Range kBacklash = ranges::kBacklash;
inline constexpr Range kIncrement = ranges::kTrackIncrement;
// Any finite number: for boxes whose window checks the range itself.
inline constexpr Range kAnyNumber{-std::numeric_limits<double>::infinity(), std::numeric_limits<double>::infinity()};

// The value of the text when it is taken by the rule above ("-0" gives 0).
std::optional<double> ValueIn(QStringView text, const Range& range);

// What a box of the range must hold, as the user reads it:
// "un nombre entier de 0 à 32767".
QString RangeText(const Range& range);

// What a refusal leaves undone, the last line of its message.
inline const QString kNothingSaved = QStringLiteral("Rien n'a été enregistré.");
inline const QString kNotStarted = QStringLiteral("Le suivi n'a pas été lancé.");

struct Field {
    QString text;  // what the box holds
    QString name;  // how the user knows the box
    Range range;
};

// The values of the boxes, in order, when every one is taken. Otherwise the
// first box refused is told (its name, its text, what it must hold, then
// `consequence`) and the result is empty.
std::optional<std::vector<double>> Values(const std::vector<Field>& fields, const QString& consequence = kNothingSaved);

// A box that edits one entry of a table of delays.
struct EntryBox {
    QString text;
    QString name;
    int32_t* entry;
};
// What a box of 0, or an empty one, does in a table of delays.
inline const QString kKeepsStoredDelay = QStringLiteral("0, ou une case laissée vide, garde le délai enregistré.");

// The boxes into their entries: an empty box or one of 0 keeps its entry;
// any other box must hold a number in the range, and its entry becomes that
// number times `unit`, rounded. When a box is refused it is told (what it
// must hold, then kKeepsStoredDelay, then `consequence`) and every entry
// stays as it was: the result is false.
bool TakeEntries(const std::vector<EntryBox>& boxes, const Range& range, double unit = 1,
                 const QString& consequence = kNothingSaved);

// Tells the user that what was typed for `name` is refused: `typed` as the
// user typed it, `expected` what it must be.
void Refuse(const QString& name, const QString& typed, const QString& expected,
            const QString& consequence = kNothingSaved);

// A site's angle from its degrees and minutes: whichever box carries the
// sign, |degrees| + |minutes| / 60 must not pass `limit` degrees.
bool SiteAngleFits(double degrees, double minutes, double limit);

}  // namespace inputcheck
