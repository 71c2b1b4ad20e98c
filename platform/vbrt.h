// The old runtime's value rules, in one place: how texts become numbers, how
// numbers become texts, rounding, and the -1/0 booleans.
#pragma once

#include <QString>
#include <QStringView>
#include <cstdint>
#include <optional>

namespace vb {

// Booleans are 16-bit integers: -1 true, 0 false.
constexpr int16_t True = -1;
constexpr int16_t False = 0;
constexpr int16_t Bool(bool b) { return b ? True : False; }

// Numeric value of a text: the number the text begins with (leading blanks
// skipped, point as decimal separator, optional exponent); 0 when none.
double Val(QStringView text);

// Signed text form: "-" before a negative number, one blank before any other
// ("5" -> " 5"); 15 significant digits in the shortest exact form.
QString Str(double value);
// Plain text form: the same without the leading blank.
QString CStr(double value);

// Rounding to a whole number, halves to even; out-of-range values saturate.
int16_t CInt(double value);
int32_t CLng(double value);
// True when the value rounds into the 32-bit range (CLng gives it exactly).
bool FitsLong(double value);
// Int: floor.  Fix: truncation toward zero.
double Int(double value);
double Fix(double value);

// Booleans in files and boxes: written "Vrai"/"Faux", read true exactly for "Vrai".
QString BoolText(int16_t value);
bool IsVrai(QStringView text);

// True when the text holds a number and nothing else but blanks.
bool IsNumeric(QStringView text);
// The value of a text that IsNumeric takes, when that value is a finite
// double ("-0" keeps its sign); nothing otherwise: "12abc", "nan", and
// "1e400", which Val reads as 0.
std::optional<double> NumericValue(QStringView text);

}  // namespace vb
