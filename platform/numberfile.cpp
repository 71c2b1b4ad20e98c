#include "platform/numberfile.h"

#include "platform/datadir.h"
#include "platform/filereport.h"
#include "platform/seqfile.h"
#include "platform/vbrt.h"

#include <cmath>

namespace numberfile {

bool Read(const QString& programPath, const std::vector<double*>& values) {
    auto reader = SeqReader::Open(datadir::Path(programPath));
    if (!reader) {
        filereport::Missing(programPath);
        return false;
    }
    bool bad = false;
    std::size_t n = 0;
    while (!reader->AtEnd()) {
        const QString field = reader->Field();
        if (n < values.size()) {
            const double v = vb::Val(field);
            if (vb::IsNumeric(field) && std::isfinite(v)) *values[n] = v;
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
    return true;
}

SeqWriter Lines(const std::vector<double>& values) {
    SeqWriter w;
    for (double v : values) w.Print(v);
    return w;
}

bool Write(const QString& programPath, const std::vector<double>& values) {
    return filereport::Save(programPath, Lines(values));
}

}  // namespace numberfile
