#include "chart/chartfiles.h"

#include "platform/datadir.h"
#include "platform/filereport.h"
#include "platform/seqfile.h"
#include "platform/vbrt.h"

#include <cmath>
#include <optional>

namespace chart {

QString CatalogueFile(const QString& stem) { return QStringLiteral("\\data\\") + stem + QStringLiteral(".cat"); }

namespace {
std::optional<int> starNumber(const QString& field) {
    if (!vb::IsNumeric(field)) return std::nullopt;
    const double v = vb::Val(field);
    if (v != std::floor(v) || std::fabs(v) > 1e6) return std::nullopt;
    return static_cast<int>(v);
}
}  // namespace

std::vector<LineRecord> ReadLines(int starCount) {
    std::vector<LineRecord> lines;
    auto reader = SeqReader::Open(datadir::Path(kLineFile));
    if (!reader) {
        filereport::Missing(kLineFile);
        return lines;
    }
    int unreadable = 0;
    while (!reader->AtEnd()) {
        const QString first = reader->Field();
        if (reader->AtEnd()) {  // the file ends inside a record
            ++unreadable;
            break;
        }
        const auto a = starNumber(first);
        const auto b = starNumber(reader->Field());
        if (!a || !b) {
            ++unreadable;
            continue;
        }
        if (*a < 0 || *b < 0 || *a >= starCount || *b >= starCount) continue;  // no such star on the chart
        lines.push_back({*a, *b});
    }
    if (unreadable > 0)
        filereport::Malformed(kLineFile, QStringLiteral("Enregistrements illisibles ignorés : %1.").arg(unreadable));
    else
        filereport::Readable(kLineFile);
    return lines;
}

}  // namespace chart
