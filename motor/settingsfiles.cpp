#include "motor/settingsfiles.h"

#include "motor/speedtables.h"
#include "platform/datadir.h"
#include "platform/filereport.h"
#include "platform/seqfile.h"
#include "platform/vbrt.h"

#include <cmath>
#include <vector>

namespace settingsfiles {

namespace {

// Reads up to values.size() numbers into values; a field that is not a
// number leaves its value. Tells the user about a missing or malformed file.
void readNumbers(const QString& programPath, std::vector<double*> values) {
    auto reader = SeqReader::Open(datadir::Path(programPath));
    if (!reader) {
        filereport::Missing(programPath);
        return;
    }
    bool bad = false;
    std::size_t n = 0;
    while (!reader->AtEnd()) {
        const QString field = reader->Field();
        if (n < values.size()) {
            if (vb::IsNumeric(field) && std::isfinite(vb::Val(field))) *values[n] = vb::Val(field);
            else bad = true;
        }
        ++n;
    }
    if (bad || n != values.size()) {
        filereport::Malformed(programPath,
                              QStringLiteral("%1 valeurs numériques attendues, une par ligne.").arg(values.size()));
    } else {
        filereport::Readable(programPath);
    }
}

}  // namespace

Inversion ReadInversion() {
    Inversion inv;
    auto reader = SeqReader::Open(datadir::Path(kInversion));
    if (!reader) {
        filereport::Missing(kInversion);
        return inv;
    }
    if (reader->AtEnd()) {
        filereport::Malformed(kInversion, QStringLiteral("Le fichier est vide."));
        return inv;
    }
    inv.az = vb::Bool(vb::IsVrai(reader->Field()));
    if (!reader->AtEnd()) inv.alt = vb::Bool(vb::IsVrai(reader->Field()));
    filereport::Readable(kInversion);
    return inv;
}

bool WriteInversion(int16_t az, int16_t alt) {
    SeqWriter w;
    w.Print(vb::BoolText(az));
    w.Print(vb::BoolText(alt));
    return filereport::Save(kInversion, w);
}

Backlash ReadBacklash() {
    Backlash b;
    readNumbers(kBacklash, {&b.az, &b.alt});
    return b;
}

bool WriteBacklash(double az, double alt) { return speedfiles::WriteNumbers(kBacklash, {az, alt}); }

EquaMechanics ReadConfigEqua() {
    EquaMechanics m;
    readNumbers(kConfigEqua, {&m.raSteps, &m.decSteps, &m.raRatio, &m.decRatio});
    return m;
}

bool WriteConfigEqua(const EquaMechanics& m) {
    return speedfiles::WriteNumbers(kConfigEqua, {m.raSteps, m.decSteps, m.raRatio, m.decRatio});
}

}  // namespace settingsfiles
