#include "altaz/typefilter.h"

#include "altaz/catalogue.h"

#include <algorithm>
#include <array>

namespace typefilter {

namespace {

struct Filter {
    const char* item;
    const char* caption;  // UTF-8
    const char* first;
    const char* second;
};

constexpr std::array<Filter, kFilters> kTable = {{
    {"mnuaucun", "filtre:[Aucun]", "", ""},
    {"mnugalaxies", "filtre:[Galaxies]", "GL", "XX"},
    {"mnuATous", "filtre:[Amas]", "GC", "OC"},
    {"mnuAOuverts", "filtre:[Ouverts]", "OC", "XX"},
    {"mnuAGlobul", "filtre:[Globualire]", "GC", "XX"},
    {"mnuNtoutes", "filtre:[Nébuleuses]", "DN", "PN"},
    {"mnuNPlanet", "filtre:[Planétaires]", "PN", "XX"},
    {"mnuNDiffus", "filtre:[Diffuses]", "DN", "XX"},
}};

bool known(int16_t filter) { return filter >= 0 && filter < kFilters; }

QStringList utf8List(std::initializer_list<const char*> texts) {
    QStringList out;
    for (const char* t : texts) out << QString::fromUtf8(t);
    return out;
}

}  // namespace

TypeCodes CodesOf(int16_t filter) {
    if (filter < 1 || filter >= kFilters) return {};
    return {QString::fromLatin1(kTable[filter].first), QString::fromLatin1(kTable[filter].second)};
}

QString Caption(int16_t filter) { return known(filter) ? QString::fromUtf8(kTable[filter].caption) : QString(); }

QString ItemName(int16_t filter) { return known(filter) ? QString::fromLatin1(kTable[filter].item) : QString(); }

QStringList ItemCaptions(Owner owner) {
    if (owner == Owner::MainWindow)
        return utf8List({"Aucun", "Galaxies", "tous", "ouverts", "globulaires", "toutes", "planétaires", "diffuses"});
    return utf8List({"Aucun", "Galaxies", "Tous", "Ouverts", "Globulaires", "Toutes", "Planétaires", "Diffuses"});
}

QString InitialCaption(Owner owner) {
    return owner == Owner::MainWindow ? QStringLiteral("Filtre:[aucun]") : QStringLiteral("Filtre:[Aucun]");
}

QString TypeLabel(const QString& typeCode) {
    static const std::array<std::pair<const char*, const char*>, 6> labels = {{
        {"GL", "GALAXIE"},
        {"OC", "AMAS OUVERT"},
        {"GC", "AMAS GLOBULAIRE"},
        {"DN", "NEBULEUSE DIFFUSE"},
        {"PN", "NEBULEUSE PLANETAIRE"},
        {"ST", "GROUPE D'ETOILES"},
    }};
    for (const auto& [code, label] : labels)
        if (typeCode == QLatin1String(code)) return QString::fromLatin1(label);
    return QString();
}

QString TypeCaption(const QString& typeCode) { return QStringLiteral("TYPE:[") + TypeLabel(typeCode) + u']'; }

QStringList ApplyTypeFilter(ObjectTable& table, const QString& first, const QString& second) {
    // Clear the mapping of the previous filtering.
    const int last = std::min<int>(table.FilteredCount, kCatalogueRows - 1);
    for (int r = 0; r <= last; ++r) table.FilterIndex[r] = 0;

    QStringList rows;
    table.FilteredCount = 0;
    const int count = std::clamp<int>(table.CatalogueCount, 0, kCatalogueRows);
    for (int i = 0; i < count; ++i) {
        const QString& type = table.CatalogueType[i];
        if (type == second || type == first) {
            rows << table.CatalogueName[i];
            table.FilterIndex[table.FilteredCount] = static_cast<int16_t>(i);
            ++table.FilteredCount;
        }
    }
    --table.FilteredCount;
    return rows;
}

int ObjectRow(const ObjectTable& table, int listRow) {
    if (listRow < 0 || listRow >= kCatalogueRows) return -1;
    int row = listRow;
    if (table.ObjectTypeFilter != 0) {
        if (listRow > table.FilteredCount) return -1;
        row = table.FilterIndex[listRow];
    }
    return row < table.CatalogueCount ? row : -1;
}

std::optional<QString> TypeCaptionForRow(const ObjectTable& table, int listRow) {
    const int row = ObjectRow(table, listRow);
    if (row < 0) return std::nullopt;
    return TypeCaption(table.CatalogueType[row]);
}

std::optional<Change> ChooseFilter(ObjectTable& table, int16_t filter, int16_t catalogueNumber) {
    if (!known(filter)) return std::nullopt;
    Change change;
    change.uncheck = table.ObjectTypeFilter;
    change.caption = Caption(filter);
    table.ObjectTypeFilter = filter;
    if (filter == 0) {
        change.rows = catalogue::LoadCatalogue(table, catalogueNumber);
    } else {
        const TypeCodes codes = CodesOf(filter);
        change.rows = ApplyTypeFilter(table, codes.first, codes.second);
    }
    return change;
}

Change ChooseCatalogue(ObjectTable& table, int16_t catalogueNumber) {
    Change change;
    change.uncheck = table.ObjectTypeFilter;
    change.caption = kResetCaption;
    table.ObjectTypeFilter = 0;
    change.rows = catalogue::LoadCatalogue(table, catalogueNumber);
    return change;
}

}  // namespace typefilter
