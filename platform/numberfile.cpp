#include "platform/numberfile.h"

#include "platform/datadir.h"
#include "platform/filereport.h"
#include "platform/seqfile.h"
#include "platform/vbrt.h"


namespace numberfile {

bool Read(const QString& programPath, const std::vector<Entry>& entries, const QString& expected) {
    auto reader = SeqReader::Open(datadir::Path(programPath));
    if (!reader) {
        filereport::Missing(programPath);
        return false;
    }
    bool bad = false;
    std::size_t n = 0;
    while (!reader->AtEnd()) {
        const QString field = reader->Field();
        if (n < entries.size()) {
            const Entry& e = entries[n];
            const auto v = vb::NumericValue(field);
            if (v && (!e.fits || e.fits(*v))) *e.value = *v;
            else bad = true;
        }
        ++n;
    }
    if (bad || n != entries.size()) {
        const QString count = QStringLiteral("%1 valeurs numériques attendues, une par ligne.").arg(entries.size());
        filereport::Malformed(programPath, expected.isEmpty() ? count : expected);
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
