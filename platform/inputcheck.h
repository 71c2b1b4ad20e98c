// Checking the numbers typed in a window's boxes before anything is saved or
// started. One rule for every box: a value is taken only when the whole text,
// blanks around it aside, is a finite number (a point as decimal separator)
// within the range of its quantity. Otherwise the user is told which box and
// what it must hold, and the window does nothing more.
#pragma once

#include <QString>
#include <QStringView>
#include <cstdint>
#include <limits>
#include <optional>
#include <vector>

namespace inputcheck {

// The limits of the typed quantities.
inline constexpr double kMaxLatitude = 90;          // degrees, either side of the equator
inline constexpr double kMaxLongitude = 180;        // degrees, either side of Greenwich
inline constexpr double kMaxSiteMinutes = 59.9;     // a site's minutes box, either sign
inline constexpr double kMaxCount = 2147483647;     // a 32-bit count: delays, motor steps, ratios
inline constexpr double kMaxBacklash = 32767;       // pulses: the take-up record counts them in 16 bits
inline constexpr double kMinIncrementMs = 10;       // the tracking tick
inline constexpr double kMaxIncrementMs = 32767;    // held in 16 bits

struct Range {
    double low = 0;
    double high = 0;
    bool lowIncluded = true;  // false: the value must be above low
    bool whole = false;       // a whole number only
};

inline constexpr Range kLatitude{-kMaxLatitude, kMaxLatitude};
inline constexpr Range kLongitude{-kMaxLongitude, kMaxLongitude};
inline constexpr Range kSiteMinutes{-kMaxSiteMinutes, kMaxSiteMinutes};
inline constexpr Range kSteps{0, kMaxCount, false};      // motor steps per turn
inline constexpr Range kRatio{0, kMaxCount, false};      // reduction ratios
inline constexpr Range kDelay{0, kMaxCount, true, true}; // busy-wait counts
inline constexpr Range kBacklash{0, kMaxBacklash, true, true};
inline constexpr Range kIncrement{kMinIncrementMs, kMaxIncrementMs, true, true};
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
// The boxes into their entries: an empty box or one of 0 keeps its entry;
// any other box must hold a number in the range, and its entry becomes that
// number times `unit`, rounded. When a box is refused it is told (with
// `consequence`) and every entry stays as it was: the result is false.
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
