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
    // Every box is taken for what it says: 12.5 h is 12 h 30 min. The sums
    // drop the last bits a decimal fraction leaves (6 x 0.1 is not 0.6).
    const double ra = RoundDecimals(600 * t.hoursTyped + 10 * t.minutesTyped, 6);
    const double dec = RoundDecimals(600 * t.degreesTyped + 10 * t.arcMinutesTyped, 6);
    if (ra >= 14400 || dec > 54000) return reading;  // past 24 h, beyond the pole
    t.gotoRA = ra;
    t.gotoDec = t.south ? -dec : dec;
    reading.status = TypedStatus::Ok;
    return reading;
}

bool CoordinateBoxesReadable(const EquatorialBoxes& boxes) {
    for (const QString* box : {&boxes.Txtad_h, &boxes.txtad_min, &boxes.txtdec_deg, &boxes.txtdec_min})
        if (!boxValue(*box)) return false;
    return true;
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
