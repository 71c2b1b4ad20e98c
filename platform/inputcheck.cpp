#include "platform/inputcheck.h"

#include "platform/seams.h"
#include "platform/vbrt.h"

#include <algorithm>
#include <cmath>

namespace inputcheck {

std::optional<double> ValueIn(QStringView text, const Range& range) {
    // The whole text is one number: no "12abc", no "1,5", no "nan".
    const auto number = vb::NumericValue(text.trimmed());
    if (!number) return std::nullopt;
    const double v = *number + 0.0;  // "-0" is 0
    if (!range.Contains(v)) return std::nullopt;
    return v;
}

QString RangeText(const Range& range) {
    const QString low = vb::CStr(range.low);
    const QString high = vb::CStr(range.high);
    if (!range.lowIncluded) return QStringLiteral("un nombre supérieur à %1 et d'au plus %2").arg(low, high);
    if (range.whole) return QStringLiteral("un nombre entier de %1 à %2").arg(low, high);
    return QStringLiteral("un nombre de %1 à %2").arg(low, high);
}

void Refuse(const QString& name, const QString& typed, const QString& expected, const QString& consequence) {
    QString text = typed.trimmed().isEmpty()
                       ? QStringLiteral("Aucune valeur pour « %1 ».").arg(name)
                       : QStringLiteral("Valeur incorrecte pour « %1 » : « %2 ».").arg(name, typed);
    text += QStringLiteral("\nIl faut %1").arg(expected);
    if (typed.contains(u',')) text += QStringLiteral(" (le séparateur décimal est le point)");
    text += QStringLiteral(".\n") + consequence;
    seams::MsgBox(text);
}

std::optional<std::vector<double>> Values(const std::vector<Field>& fields, const QString& consequence) {
    std::vector<double> values;
    values.reserve(fields.size());
    for (const Field& f : fields) {
        const auto v = ValueIn(f.text, f.range);
        if (!v) {
            Refuse(f.name, f.text, RangeText(f.range), consequence);
            return std::nullopt;
        }
        values.push_back(*v);
    }
    return values;
}

bool TakeEntries(const std::vector<EntryBox>& boxes, const Range& range, double unit, const QString& consequence) {
    std::vector<Field> fields;
    std::vector<int32_t*> entries;
    for (const EntryBox& b : boxes) {
        if (b.text.trimmed().isEmpty()) continue;
        fields.push_back({b.text, b.name, range});
        entries.push_back(b.entry);
    }
    // The refusal says what the boxes left as they stand do.
    const auto values = Values(fields, kKeepsStoredDelay + u'\n' + consequence);
    if (!values) return false;
    for (std::size_t k = 0; k < entries.size(); ++k)
        // A delay typed is at least one count, as the speed files hold them.
        if ((*values)[k] != 0) *entries[k] = std::max<int32_t>(1, vb::CLng((*values)[k] * unit));
    return true;
}

bool SiteAngleFits(double degrees, double minutes, double limit) {
    return std::fabs(degrees) + std::fabs(minutes) / 60 <= limit;
}

}  // namespace inputcheck
