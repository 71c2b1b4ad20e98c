#include "altaz/catalogue.h"

#include "platform/datadir.h"
#include "platform/filereport.h"
#include "platform/seqfile.h"
#include "platform/vbrt.h"

#include <array>
#include <cmath>
#include <limits>

namespace catalogue {

namespace {

struct Catalogue {
    const char* file;
    const char* caption;  // UTF-8
};

constexpr std::array<Catalogue, kCatalogues> kTable = {{
    {"5magstar.cat", "Etoiles magnitude 5"},
    {"messier.cat", "Objets Messier"},
    {"ic.cat", "Objets IC"},
    {"ngc0.cat", "Objets NGC de 1 à 999"},
    {"ngc1.cat", "Objets NGC de 1000 à 1999"},
    {"ngc2.cat", "Objets NGC de 2000 à 2999"},
    {"ngc3.cat", "Objets NGC de 3000 à 3999"},
    {"ngc4.cat", "Objets NGC de 4000 à 4999"},
    {"ngc5.cat", "Objets NGC de 5000 à 5999"},
    {"ngc6.cat", "Objets NGC de 6000 à 6999"},
    {"ngc7.cat", "Objets NGC de 7000 à 7999"},
}};

bool known(int16_t number) { return number >= 0 && number < kCatalogues; }

// A whole number that fits in 32 bits.
std::optional<int32_t> wholeNumber(const QString& field) {
    if (!vb::IsNumeric(field)) return std::nullopt;
    const double v = vb::Val(field);
    if (!std::isfinite(v) || v < std::numeric_limits<int32_t>::min() - 0.5 ||
        v > std::numeric_limits<int32_t>::max() + 0.5)
        return std::nullopt;
    return vb::CLng(v);
}

}  // namespace

QString FileName(int16_t number) {
    return known(number) ? QString::fromLatin1(kTable[number].file) : QString();
}

QString ProgramPath(int16_t number) {
    return known(number) ? QStringLiteral("\\data\\") + FileName(number) : QString();
}

QString Caption(int16_t number) {
    return known(number) ? QString::fromUtf8(kTable[number].caption) : QString();
}

QStringList Captions() {
    QStringList out;
    for (int16_t n = 0; n < kCatalogues; ++n) out << Caption(n);
    return out;
}

std::optional<std::vector<CatalogueRecord>> ReadRecords(const QString& programPath, int limit) {
    auto reader = SeqReader::Open(datadir::Path(programPath));
    if (!reader) {
        filereport::Missing(programPath);
        return std::nullopt;
    }
    std::vector<CatalogueRecord> records;
    int skipped = 0;
    while (!reader->AtEnd() && static_cast<int>(records.size()) < limit) {
        std::array<QString, 4> f;
        int got = 0;
        while (got < 4 && (got == 0 || !reader->AtEnd())) f[got++] = reader->Field();
        if (got < 4) {  // the file ends inside a record
            ++skipped;
            break;
        }
        const auto ra = wholeNumber(f[2]);
        const auto dec = wholeNumber(f[3]);
        const int number = static_cast<int>(records.size()) + skipped;
        if (!ra || !dec) {
            ++skipped;
            continue;
        }
        records.push_back({f[0], f[1], *ra, *dec, number});
    }
    if (skipped > 0)
        filereport::Malformed(programPath, QStringLiteral("Enregistrements illisibles ignorés : %1.").arg(skipped));
    else
        filereport::Readable(programPath);
    return records;
}

QStringList LoadCatalogue(ObjectTable& table, int16_t number) {
    table.CatalogueCount = 0;
    QStringList names;
    if (!known(number)) return names;
    const auto records = ReadRecords(ProgramPath(number), kCatalogueRows);
    if (!records) return names;
    for (const CatalogueRecord& r : *records) {
        const int16_t i = table.CatalogueCount;
        table.CatalogueName[i] = r.name;
        table.CatalogueType[i] = r.type;
        table.CatalogueRA[i] = r.ra;
        table.CatalogueDec[i] = r.dec;
        names << r.name;
        ++table.CatalogueCount;
    }
    return names;
}

void LoadBrightStars(BrightStarTable& stars) {
    stars.BrightStarCount = -1;
    const auto records = ReadRecords(kBrightStarFile, kBrightStarRows);
    if (!records) return;
    for (const CatalogueRecord& r : *records) {
        const int16_t i = ++stars.BrightStarCount;
        stars.BrightStarName[i] = r.name;
        stars.BrightStarConst[i] = r.type;
        stars.BrightStarRA[i] = r.ra;
        stars.BrightStarDec[i] = r.dec;
    }
}

QString ConstellationName(const QString& abbreviation) {
    auto reader = SeqReader::Open(datadir::Path(kConstellationFile));
    if (!reader) {
        filereport::Missing(kConstellationFile);
        return QString();
    }
    QString result;
    while (!reader->AtEnd()) {
        const QString key = reader->Field();
        if (reader->AtEnd()) break;  // an abbreviation without its name
        const QString name = reader->Field();
        if (key == abbreviation) result = name;  // the last match wins
    }
    filereport::Readable(kConstellationFile);
    return result;
}

StarInfo StarInfoCaptions(const QString& constellationAbbreviation, int32_t ra, int32_t dec) {
    const int32_t h = ra / 600;  // toward zero
    const double m = (ra - 600 * h) / 10.0;
    const int32_t d = dec / 600;
    const double n = (dec - 600 * d) / 10.0;
    StarInfo info;
    info.constellation = QStringLiteral("in ") + ConstellationName(constellationAbbreviation);
    info.rightAscension = QStringLiteral("AD:") + vb::Str(h) + u'h' + vb::Str(m) + u'\'';
    info.declination = QStringLiteral("Dec:") + vb::Str(d) + QStringLiteral("°") + vb::Str(n) + u'\'';
    return info;
}

std::optional<StarInfo> StarInfoForRow(const BrightStarTable& stars, int row) {
    if (row < 0 || row > stars.BrightStarCount || row >= kBrightStarRows) return std::nullopt;
    return StarInfoCaptions(stars.BrightStarConst[row], stars.BrightStarRA[row], stars.BrightStarDec[row]);
}

}  // namespace catalogue
