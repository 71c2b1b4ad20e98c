#include "motor/speedtables.h"

#include "platform/datadir.h"
#include "platform/filereport.h"
#include "platform/ranges.h"
#include "platform/seqfile.h"
#include "platform/vbrt.h"

#include <cmath>
#include <limits>

namespace speedfiles {

const PaddleTable kDefaultManual = DriveState{}.ManualSpeedTable;
const SpeedTable kDefaultEqua = DriveState{}.EquaSpeedTable;
const SpeedTable kDefaultAltaz = DriveState{}.AltazSpeedTable;

}  // namespace speedfiles

namespace {

template <std::size_t Rows>
void loadTable(const QString& programPath, std::array<std::array<int32_t, 2>, Rows>& table,
               const std::array<std::array<int32_t, 2>, Rows>& defaults) {
    auto reader = SeqReader::Open(datadir::Path(programPath));
    if (!reader) {
        filereport::Missing(programPath);
        table = defaults;
        return;
    }
    if (reader->AtEnd()) {
        filereport::Malformed(programPath, QStringLiteral("Le fichier est vide."));
        table = defaults;
        return;
    }
    std::size_t i = 0, j = 0, count = 0;
    bool bad = false;
    while (!reader->AtEnd()) {
        const QString field = reader->Field();
        const auto v = vb::NumericValue(field);
        // A count rounds to the nearest whole number; 0 or a negative one is no delay.
        if (v && vb::FitsLong(*v) && ranges::SpeedDelay(vb::CLng(*v))) {
            table[i][j] = vb::CLng(*v);
        } else {
            bad = true;  // the entry keeps its value
        }
        ++count;
        if (++i == Rows) {
            i = 0;
            j = 1;
        }
    }
    if (bad || count != 2 * Rows) {
        filereport::Malformed(programPath,
                              QStringLiteral("%1 délais attendus, un par ligne : des nombres entiers de 1 à %2.")
                                  .arg(2 * Rows)
                                  .arg(vb::CStr(ranges::kMaxCount)));
    } else {
        filereport::Readable(programPath);
    }
}

void lookup(const SpeedTable& table) {
    auto& d = shared.drive;
    auto level = [](int16_t idx) { return idx >= 0 && idx <= 4; };
    if (d.MotorMode == 1 || d.MotorMode == 2) {
        if (level(d.SpeedIndexAz)) d.StepDelay = table[d.SpeedIndexAz][0];
    } else if (d.MotorMode == 3 || d.MotorMode == 4) {
        if (level(d.SpeedIndexAlt)) d.StepDelay = table[d.SpeedIndexAlt][1];
    }
}

}  // namespace

void LoadSpeedTables() {
    loadTable(speedfiles::kManual, shared.drive.ManualSpeedTable, speedfiles::kDefaultManual);
    loadTable(speedfiles::kEqua, shared.drive.EquaSpeedTable, speedfiles::kDefaultEqua);
    loadTable(speedfiles::kAltaz, shared.drive.AltazSpeedTable, speedfiles::kDefaultAltaz);
}

void LookupAltazDelay() { lookup(shared.drive.AltazSpeedTable); }
void LookupEquaDelay() { lookup(shared.drive.EquaSpeedTable); }
