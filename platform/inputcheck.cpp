#include "platform/inputcheck.h"

#include "platform/seams.h"
#include "platform/vbrt.h"

#include <QLineEdit>

#include <cmath>

namespace inputcheck {

bool Numbers(std::initializer_list<Field> fields, Range range) {
    for (const Field& f : fields) {
        const QString text = f.box->text();
        const double v = vb::Val(text);
        const bool number = vb::IsNumeric(text) && std::isfinite(v);
        const bool inRange = range == Range::Positive ? v > 0 : v >= 0;
        if (number && inRange) continue;
        const QString expected = range == Range::Positive ? QStringLiteral("un nombre positif")
                                                          : QStringLiteral("un nombre positif ou nul");
        seams::MsgBox(QStringLiteral("Valeur incorrecte pour « %1 » : « %2 ».\n"
                                     "Il faut %3. Rien n'a été enregistré.")
                          .arg(f.name, text, expected));
        return false;
    }
    return true;
}

}  // namespace inputcheck
