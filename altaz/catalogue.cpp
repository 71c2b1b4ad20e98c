#include "altaz/catalogue.h"

#include "platform/datadir.h"
#include "platform/filereport.h"
#include "platform/ranges.h"
#include "platform/seqfile.h"
#include "platform/textfile.h"
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

// 24 h in tenths of a minute of time.
constexpr int32_t kFullDay = 24 * 600;

}  // namespace

std::optional<int32_t> WholeNumber(const QString& field) {
    // Most fields are plain digits: read them at once.
    const qsizetype n = field.size();
    const qsizetype first = n > 0 && field[0] == u'-' ? 1 : 0;
    if (n > first && n - first <= 9) {
        int32_t v = 0;
        qsizetype i = first;
        for (; i < n && field[i] >= u'0' && field[i] <= u'9'; ++i) v = 10 * v + (field[i].unicode() - u'0');
        if (i == n) return first ? -v : v;
    }
    const auto v = vb::NumericValue(field);
    if (!v || *v != std::floor(*v) || *v < std::numeric_limits<int32_t>::min() ||
        *v > std::numeric_limits<int32_t>::max())
        return std::nullopt;
    return static_cast<int32_t>(*v);
}

void TellRecords(const QString& programPath, int seen, int skipped, const QString& record, int leftOut, int rows) {
    if (seen == 0) {
        filereport::Malformed(programPath, QStringLiteral("Le fichier ne contient aucun enregistrement."),
                              QStringLiteral("Rien n'en est chargé."));
        return;
    }
    if (skipped == 0 && leftOut == 0) {
        filereport::Readable(programPath);
        return;
    }
    QStringList what;
    if (skipped > 0)
        what << QStringLiteral("Enregistrements incomplets, illisibles ou hors limites ignorés : %1 sur %2.\n"
                               "Un enregistrement compte %3, le dernier suivi d'un retour à la ligne.")
                    .arg(skipped)
                    .arg(seen)
                    .arg(record);
    if (leftOut > 0)
        what << QStringLiteral("Enregistrements en trop ignorés : %1 sur %2 (le programme n'en garde que %3).")
                    .arg(leftOut)
                    .arg(seen)
                    .arg(rows);
    const QString outcome =
        leftOut == 0 ? QStringLiteral("Seuls les enregistrements complets et dans leurs limites sont chargés.")
        : skipped == 0
            ? QStringLiteral("Seuls les %1 premiers enregistrements sont chargés.").arg(rows)
            : QStringLiteral("Seuls les %1 premiers enregistrements complets et dans leurs limites sont chargés.")
                  .arg(rows);
    filereport::Malformed(programPath, what.join(u'\n'), outcome);
}

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
    int seen = 0, skipped = 0, leftOut = 0;
    while (const auto r = reader->NextRecord(4)) {
        const int number = seen++;
        const auto ra = r->complete ? WholeNumber(r->fields[2]) : std::nullopt;
        const auto dec = r->complete ? WholeNumber(r->fields[3]) : std::nullopt;
        if (!ra || !dec) {
            ++skipped;
            continue;
        }
        // 24 h, which rounding can give, is 0 h; beyond it, or past a pole,
        // lies a place no sky has.
        const int32_t hours = *ra == kFullDay ? 0 : *ra;
        if (!ranges::RightAscension(hours) || !ranges::Declination(*dec)) {
            ++skipped;
            continue;
        }
        // The rest of the file is read only to count what the table has no room for.
        if (static_cast<int>(records.size()) >= limit) {
            ++leftOut;
            continue;
        }
        records.push_back({r->fields[0], r->fields[1], hours, *dec, number});
    }
    TellRecords(programPath, seen, skipped,
                QStringLiteral("quatre champs complets (nom, type, ascension droite de 0 à %1 dixièmes de minute, "
                               "%2 valant 0 h, déclinaison de %3 à %4 dixièmes de minute d'arc)")
                    .arg(vb::CStr(ranges::kMaxRightAscension), vb::CStr(kFullDay),
                         vb::CStr(-ranges::kMaxDeclination), vb::CStr(ranges::kMaxDeclination)),
                leftOut, limit);
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
    int seen = 0, skipped = 0;
    while (const auto r = reader->NextRecord(2)) {
        ++seen;
        if (!r->complete) {
            ++skipped;
            continue;
        }
        if (r->fields[0] == abbreviation) result = r->fields[1];  // the last match wins
    }
    TellRecords(kConstellationFile, seen, skipped, QStringLiteral("deux champs complets (abréviation, nom)"));
    return result;
}

StarInfo StarInfoCaptions(const QString& constellationAbbreviation, int32_t ra, int32_t dec) {
    const int32_t h = ra / 600;  // toward zero
    const double m = (ra - 600 * h) / 10.0;
    const int32_t d = dec / 600;
    const double n = (dec - 600 * d) / 10.0;
    StarInfo info;
    // A name from a file: only its start, however long the file's line.
    info.constellation = QStringLiteral("in ") + textfile::Excerpt(ConstellationName(constellationAbbreviation));
    info.rightAscension = QStringLiteral("AD:") + vb::Str(h) + u'h' + vb::Str(m) + u'\'';
    info.declination = QStringLiteral("Dec:") + vb::Str(d) + QStringLiteral("°") + vb::Str(n) + u'\'';
    return info;
}

std::optional<StarInfo> StarInfoForRow(const BrightStarTable& stars, int row) {
    if (row < 0 || row > stars.BrightStarCount || row >= kBrightStarRows) return std::nullopt;
    return StarInfoCaptions(stars.BrightStarConst[row], stars.BrightStarRA[row], stars.BrightStarDec[row]);
}

}  // namespace catalogue
