#include "chart/chartfiles.h"

#include "altaz/catalogue.h"
#include "platform/datadir.h"
#include "platform/filereport.h"
#include "platform/seqfile.h"
#include "platform/vbrt.h"

#include <optional>

namespace chart {

QString CatalogueFile(const QString& stem) { return QStringLiteral("\\data\\") + stem + QStringLiteral(".cat"); }

std::vector<LineRecord> ReadLines(int starCount) {
    std::vector<LineRecord> lines;
    auto reader = SeqReader::Open(datadir::Path(kLineFile));
    if (!reader) {
        filereport::Missing(kLineFile);
        return lines;
    }
    // A star number names one of the chart's 201 stars.
    const auto star = [](const QString& field) -> std::optional<int> {
        const auto n = catalogue::WholeNumber(field);
        if (!n || *n < 0 || *n >= kStarRows) return std::nullopt;
        return *n;
    };
    int seen = 0, skipped = 0;
    while (const auto r = reader->NextRecord(2)) {
        ++seen;
        const auto a = r->complete ? star(r->fields[0]) : std::nullopt;
        const auto b = r->complete ? star(r->fields[1]) : std::nullopt;
        if (!a || !b) {
            ++skipped;
            continue;
        }
        if (*a >= starCount || *b >= starCount) continue;  // a star the star file did not give
        lines.push_back({*a, *b});
    }
    catalogue::TellRecords(kLineFile, seen, skipped,
                           QStringLiteral("deux numéros d'étoile complets, de 0 à %1").arg(kStarRows - 1));
    return lines;
}

}  // namespace chart
