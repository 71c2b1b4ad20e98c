#include "motor/settingsfiles.h"

#include "platform/datadir.h"
#include "platform/filereport.h"
#include "platform/numberfile.h"
#include "platform/ranges.h"
#include "platform/seqfile.h"
#include "platform/vbrt.h"

namespace settingsfiles {

Inversion ReadInversion(const QString& programPath) {
    Inversion inv;
    auto reader = SeqReader::Open(datadir::Path(programPath));
    if (!reader) {
        filereport::Missing(programPath);
        return inv;
    }
    if (reader->AtEnd()) {
        filereport::Malformed(programPath, QStringLiteral("Le fichier est vide."));
        return inv;
    }
    inv.az = vb::Bool(vb::IsVrai(reader->Field()));
    if (!reader->AtEnd()) inv.alt = vb::Bool(vb::IsVrai(reader->Field()));
    filereport::Readable(programPath);
    return inv;
}

SeqWriter InversionLines(int16_t az, int16_t alt) {
    SeqWriter w;
    w.Print(vb::BoolText(az));
    w.Print(vb::BoolText(alt));
    return w;
}

GotoLevels ReadGotoLevels(const QString& programPath, int defaultLevel) {
    double az = defaultLevel, alt = defaultLevel;
    numberfile::Read(programPath, {{&az, ranges::GotoLevel}, {&alt, ranges::GotoLevel}},
                     QStringLiteral("Deux vitesses de 1 à 5 attendues, une par ligne."));
    return {static_cast<int>(az), static_cast<int>(alt)};
}

Backlash ReadBacklash() {
    Backlash b;
    numberfile::Read(kBacklash, {{&b.az, ranges::Backlash}, {&b.alt, ranges::Backlash}},
                     QStringLiteral("Deux jeux en pas attendus, un par ligne : des nombres entiers de 0 à %1.")
                         .arg(vb::CStr(ranges::kMaxBacklash)));
    return b;
}

SeqWriter BacklashLines(double az, double alt) { return numberfile::Lines({az, alt}); }

QString EquaMechanicsExpected() {
    return QStringLiteral("Quatre valeurs attendues, une par ligne : pas moteur A.D. et Déc. (nombres entiers de 1 à "
                          "%1), rapports de réduction A.D. et Déc. (au-dessus de 0, %2 au plus).")
        .arg(vb::CStr(ranges::kMaxMotorSteps), vb::CStr(ranges::kMaxRatio));
}

bool UsableEquaMechanics(const EquaMechanics& m) {
    return ranges::MotorSteps(m.raSteps) && ranges::MotorSteps(m.decSteps) && ranges::Ratio(m.raRatio) &&
           ranges::Ratio(m.decRatio);
}

EquaMechanics ReadConfigEqua() {
    EquaMechanics m;
    numberfile::Read(kConfigEqua,
                     {{&m.raSteps, ranges::MotorSteps},
                      {&m.decSteps, ranges::MotorSteps},
                      {&m.raRatio, ranges::Ratio},
                      {&m.decRatio, ranges::Ratio}},
                     EquaMechanicsExpected());
    return m;
}

bool WriteConfigEqua(const EquaMechanics& m) {
    return numberfile::Write(kConfigEqua, {m.raSteps, m.decSteps, m.raRatio, m.decRatio});
}

}  // namespace settingsfiles
