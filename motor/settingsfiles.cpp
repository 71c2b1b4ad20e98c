#include "motor/settingsfiles.h"

#include "platform/datadir.h"
#include "platform/filereport.h"
#include "platform/numberfile.h"
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

bool WriteInversion(int16_t az, int16_t alt, const QString& programPath) {
    return filereport::Save(programPath, InversionLines(az, alt));
}

Backlash ReadBacklash() {
    Backlash b;
    numberfile::Read(kBacklash, {&b.az, &b.alt});
    return b;
}

SeqWriter BacklashLines(double az, double alt) { return numberfile::Lines({az, alt}); }
bool WriteBacklash(double az, double alt) { return filereport::Save(kBacklash, BacklashLines(az, alt)); }

EquaMechanics ReadConfigEqua() {
    EquaMechanics m;
    numberfile::Read(kConfigEqua, {&m.raSteps, &m.decSteps, &m.raRatio, &m.decRatio});
    return m;
}

bool WriteConfigEqua(const EquaMechanics& m) {
    return numberfile::Write(kConfigEqua, {m.raSteps, m.decSteps, m.raRatio, m.decRatio});
}

}  // namespace settingsfiles
