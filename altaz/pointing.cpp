#include "altaz/pointing.h"

#include "core/numbers.h"
#include "platform/inputcheck.h"
#include "platform/vbrt.h"

#include <cmath>
#include <optional>

namespace {

// The value of a box: 0 when empty, nothing when it holds anything but a number.
std::optional<double> boxValue(const QString& text) {
    if (text.trimmed().isEmpty()) return 0.0;
    return inputcheck::ValueIn(text, inputcheck::kAnyNumber);
}

}  // namespace

TypedReading ReadTypedCoordinates(const TypedBoxes& boxes) {
    TypedReading reading;
    if (boxes.hours.trimmed().isEmpty() && boxes.minutes.trimmed().isEmpty() &&
        boxes.degrees.trimmed().isEmpty() && boxes.arcMinutes.trimmed().isEmpty())
        return reading;  // nothing typed

    reading.status = TypedStatus::Invalid;
    const auto h = boxValue(boxes.hours);
    const auto m = boxValue(boxes.minutes);
    const auto d = boxValue(boxes.degrees);
    const auto dm = boxValue(boxes.arcMinutes);
    if (!h || !m || !d || !dm) return reading;
    if (*h < 0 || *h >= 24 || *m < 0 || *m >= 60 || std::fabs(*d) > 90 || std::fabs(*dm) >= 60) return reading;

    TypedTarget& t = reading.target;
    t.south = boxes.degrees.trimmed().startsWith(u'-') || *dm < 0;
    t.hoursTyped = *h;
    t.minutesTyped = *m;
    t.degreesTyped = std::fabs(*d);
    t.arcMinutesTyped = std::fabs(*dm);
    t.gotoRA = 600 * std::floor(*h) + 10 * std::floor(*m);
    const double dec = 600 * std::floor(t.degreesTyped) + 10 * std::floor(t.arcMinutesTyped);
    if (dec > 54000) return reading;  // beyond the pole
    t.gotoDec = t.south ? -dec : dec;
    reading.status = TypedStatus::Ok;
    return reading;
}

PositionCaptions CaptionsOf(double ra, double dec, NumberForm form) {
    const auto text = [form](double v) { return form == NumberForm::Plain ? vb::CStr(v) : vb::Str(v); };
    const double h = vb::Fix(ra / 600) + 0.0;
    const double m = RoundDecimals((ra - 600 * h) / 10, 2);
    const double d = vb::Fix(dec / 600) + 0.0;  // no "-0"
    double dm = RoundDecimals((dec - 600 * d) / 10, 2);
    if (d < 0) dm = std::fabs(dm);
    PositionCaptions c;
    c.ra = text(h) + u'h' + text(m) + u'\'';
    c.dec = text(d) + QStringLiteral("°") + text(dm) + u'\'';
    return c;
}
