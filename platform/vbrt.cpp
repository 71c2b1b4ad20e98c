#include "platform/vbrt.h"

#include <cmath>
#include <limits>

namespace vb {

namespace {

bool isBlank(QChar c) { return c == u' ' || c == u'\t'; }

// Length of the number at the start of text (after blanks), 0 when none.
qsizetype numberPrefix(QStringView t, qsizetype i) {
    const qsizetype start = i;
    if (i < t.size() && (t[i] == u'+' || t[i] == u'-')) ++i;
    qsizetype digits = 0;
    while (i < t.size() && t[i].isDigit() && t[i].unicode() < 128) { ++i; ++digits; }
    if (i < t.size() && t[i] == u'.') {
        ++i;
        while (i < t.size() && t[i].isDigit() && t[i].unicode() < 128) { ++i; ++digits; }
    }
    if (digits == 0) return 0;
    if (i < t.size() && (t[i] == u'e' || t[i] == u'E' || t[i] == u'd' || t[i] == u'D')) {
        qsizetype j = i + 1;
        if (j < t.size() && (t[j] == u'+' || t[j] == u'-')) ++j;
        qsizetype expDigits = 0;
        while (j < t.size() && t[j].isDigit() && t[j].unicode() < 128) { ++j; ++expDigits; }
        if (expDigits > 0) i = j;
    }
    return i - start;
}

template <typename T>
T roundEven(double v) {
    if (std::isnan(v)) return 0;
    const double r = std::nearbyint(v);  // default rounding mode: halves to even
    if (r <= static_cast<double>(std::numeric_limits<T>::min())) return std::numeric_limits<T>::min();
    if (r >= static_cast<double>(std::numeric_limits<T>::max())) return std::numeric_limits<T>::max();
    return static_cast<T>(r);
}

}  // namespace

double Val(QStringView text) {
    qsizetype i = 0;
    while (i < text.size() && isBlank(text[i])) ++i;
    const qsizetype n = numberPrefix(text, i);
    if (n == 0) return 0.0;
    QString s = text.mid(i, n).toString();
    s.replace(u'd', u'e').replace(u'D', u'e');
    bool ok = false;
    const double v = s.toDouble(&ok);
    return ok ? v : 0.0;
}

QString CStr(double value) {
    if (value == 0.0) return QStringLiteral("0");  // also folds -0
    if (std::isnan(value)) return QStringLiteral("0");
    QString s = QString::number(value, 'g', 15);
    const qsizetype e = s.indexOf(u'e');
    if (e >= 0) {
        // 1e+15 -> 1E+15, 1e-05 -> 1E-05
        s[e] = u'E';
    }
    return s;
}

QString Str(double value) {
    const QString s = CStr(value);
    return s.startsWith(u'-') ? s : u' ' + s;
}

int16_t CInt(double value) { return roundEven<int16_t>(value); }
int32_t CLng(double value) { return roundEven<int32_t>(value); }
bool FitsLong(double value) {
    return std::isfinite(value) && value >= std::numeric_limits<int32_t>::min() - 0.5 &&
           value <= std::numeric_limits<int32_t>::max() + 0.5;
}
double Int(double value) { return std::floor(value); }
double Fix(double value) { return std::trunc(value); }

QString BoolText(int16_t value) { return value != 0 ? QStringLiteral("Vrai") : QStringLiteral("Faux"); }
bool IsVrai(QStringView text) { return text == u"Vrai"; }

bool IsNumeric(QStringView text) {
    qsizetype i = 0;
    while (i < text.size() && isBlank(text[i])) ++i;
    const qsizetype n = numberPrefix(text, i);
    if (n == 0) return false;
    i += n;
    while (i < text.size() && isBlank(text[i])) ++i;
    return i == text.size();
}

std::optional<double> NumericValue(QStringView text) {
    if (!IsNumeric(text)) return std::nullopt;
    QString s = text.toString();
    s.replace(u'd', u'e').replace(u'D', u'e');
    bool ok = false;
    const double v = s.toDouble(&ok);  // blanks around the number are allowed
    if (!ok || !std::isfinite(v)) return std::nullopt;
    return v;
}

}  // namespace vb
