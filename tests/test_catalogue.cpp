#include "altaz/catalogue.h"
#include "core/state.h"
#include "platform/filereport.h"
#include "tests/fixture.h"

#include <vector>

namespace {

class Catalogue : public OrvanelTest {};

struct Rec {
    QString name, type;
    int32_t ra, dec;
};

std::vector<Rec> numbered(int n) {
    std::vector<Rec> out;
    for (int i = 0; i < n; ++i) out.push_back({QStringLiteral("NGC %1").arg(i), QStringLiteral("GL"), i, -i});
    return out;
}

QString fileOf(const std::vector<Rec>& recs) {
    QString text;
    for (const Rec& r : recs) text += QStringLiteral("\"%1\",\"%2\",%3,%4\r\n").arg(r.name, r.type).arg(r.ra).arg(r.dec);
    return text;
}

QStringList namesOf(const std::vector<Rec>& recs) {
    QStringList out;
    for (const Rec& r : recs) out << r.name;
    return out;
}

}  // namespace

TEST_F(Catalogue, RecordsReadFieldByField) {
    struct Case {
        const char* what;
        QString text;
        std::vector<Rec> want;
        int skipped = 0;  // records told skipped; -1: told empty
        int leftOut = 0;  // records told left out, the table full
    };
    const QString twoRecords = "\"A\",\"GL\",1,2\r\n\"B\",\"OC\",3,4\r\n";
    const std::vector<Case> cases = {
        {"one record a line",
         "\"M 31\",\"GL\",442,24849\r\n\"M 42\",\"DN\",3373,-3261\r\n",
         {{"M 31", "GL", 442, 24849}, {"M 42", "DN", 3373, -3261}}},
        {"a quoted name keeps its comma", "\"Alpha, Beta\",\"ST\",1,2\r\n", {{"Alpha, Beta", "ST", 1, 2}}},
        {"records split across lines",
         "\"A\"\r\n\"GL\"\r\n10\r\n-20\r\n\"B\",\"OC\"\r\n30,40\r\n",
         {{"A", "GL", 10, -20}, {"B", "OC", 30, 40}}},
        {"blanks before fields, unquoted texts",
         "   \"A\",  \"GL\",   10,   -20\r\n  B , OC , 5 , 6\r\n",
         {{"A", "GL", 10, -20}, {"B", "OC", 5, 6}}},
        {"coordinates at their limits", "\"S\",\"GC\",0,-54000\r\n\"N\",\"GC\",14399,54000\r\n",
         {{"S", "GC", 0, -54000}, {"N", "GC", 14399, 54000}}},
        {"line feeds only", "\"A\",\"GL\",1,2\n\"B\",\"PN\",3,4\n", {{"A", "GL", 1, 2}, {"B", "PN", 3, 4}}},
        {"trailing blank lines", "\"A\",\"GL\",1,2\r\n\r\n\r\n", {{"A", "GL", 1, 2}}},
        {"blank lines between records", "\"A\",\"GL\",1,2\r\n\r\n  \r\n\n\"B\",\"OC\",3,4\r\n",
         {{"A", "GL", 1, 2}, {"B", "OC", 3, 4}}},
        {"a megabyte of blank lines between records",
         "\"A\",\"GL\",1,2\r\n" + QString("\r\n").repeated(512 * 1024) + "\"B\",\"OC\",3,4\r\n",
         {{"A", "GL", 1, 2}, {"B", "OC", 3, 4}}},
        {"exactly the table's 1031 records", fileOf(numbered(1031)), numbered(1031)},
        // The table full, the records left are counted and told.
        {"1032 records fill the table and one is left out", fileOf(numbered(1032)), numbered(1031), 0, 1},
        {"a damaged record, then one more than the table holds",
         "\"X\",\"GL\"\r\n" + fileOf(numbered(1032)) + "\"Y\",\"GL\",1,y\r\n", numbered(1031), 2, 1},
        // What is not a whole record is skipped and counted, never half read.
        {"empty file", "", {}, -1},
        {"nothing but blank lines", "\r\n  \r\n\r\n", {}, -1},
        {"coordinates that are not numbers", "\"A\",\"GL\",x,2\r\n\"B\",\"GL\",3,4\r\n", {{"B", "GL", 3, 4}}, 1},
        {"coordinates that are not whole", "\"A\",\"GL\",1.5,2\r\n\"B\",\"GL\",3,4\r\n", {{"B", "GL", 3, 4}}, 1},
        {"a declination past 32 bits", "\"X\",\"GL\",1,3000000000\r\n" + twoRecords,
         {{"A", "GL", 1, 2}, {"B", "OC", 3, 4}}, 1},
        {"coordinates past any number", "\"X\",\"GL\",1e400,-1e400\r\n" + twoRecords,
         {{"A", "GL", 1, 2}, {"B", "OC", 3, 4}}, 1},
        {"a last record cut short", "\"A\",\"GL\",1,2\r\n\"B\",\"GL\"\r\n", {{"A", "GL", 1, 2}}, 1},
        {"a file cut in the middle of the last declination",
         "\"A\",\"GL\",1,2\r\n\"M 1\",\"DN\",3361,132", {{"A", "GL", 1, 2}}, 1},
        {"a file cut in the middle of a name", "\"A\",\"GL\",1,2\r\n\"M 1", {{"A", "GL", 1, 2}}, 1},
        {"a record missing its declination",
         "\"X\",\"GL\",7\r\n" + twoRecords, {{"A", "GL", 1, 2}, {"B", "OC", 3, 4}}, 1},
        {"a record missing its name", "\"GL\",7,8\r\n" + twoRecords, {{"A", "GL", 1, 2}, {"B", "OC", 3, 4}}, 1},
        {"a record with a field too many",
         "\"X\",\"GL\",7,8,9\r\n" + twoRecords, {{"A", "GL", 1, 2}, {"B", "OC", 3, 4}}, 1},
        {"a name without its closing quote",
         "\"X,\"GL\",7,8\r\n" + twoRecords, {{"A", "GL", 1, 2}, {"B", "OC", 3, 4}}, 1},
        {"two records run together",
         "\"X\",\"GL\",7,8\"Y\",\"GL\",9,10\r\n" + twoRecords, {{"A", "GL", 1, 2}, {"B", "OC", 3, 4}}, 1},
        // 24 h is 0 h.
        {"a right ascension of 24 h", "\"X\",\"GL\",14400,2\r\n" + twoRecords,
         {{"X", "GL", 0, 2}, {"A", "GL", 1, 2}, {"B", "OC", 3, 4}}},
        // A place no sky has is skipped and counted with them.
        {"a right ascension just past 24 h", "\"X\",\"GL\",14401,2\r\n" + twoRecords,
         {{"A", "GL", 1, 2}, {"B", "OC", 3, 4}}, 1},
        {"right ascensions far past 24 h or below 0",
         "\"X\",\"GL\",99999,2\r\n\"A\",\"GL\",1,2\r\n\"Y\",\"GL\",-5,2\r\n\"B\",\"OC\",3,4\r\n",
         {{"A", "GL", 1, 2}, {"B", "OC", 3, 4}}, 2},
        {"declinations beyond either pole",
         "\"X\",\"GL\",1,54001\r\n\"Y\",\"GL\",1,99999\r\n\"Z\",\"GL\",1,-54001\r\n" + twoRecords,
         {{"A", "GL", 1, 2}, {"B", "OC", 3, 4}}, 3},
        {"two damaged records among good ones",
         "\"A\",\"GL\",1,2\r\n\"X\",\"GL\"\r\n\"B\",\"OC\",3,4\r\n\"Y\",\"GL\",7,y\r\n\"C\",\"PN\",5,6\r\n",
         {{"A", "GL", 1, 2}, {"B", "OC", 3, 4}, {"C", "PN", 5, 6}}, 2},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        messages.clear();
        filereport::Reset();
        WriteData("messier.cat", c.text);
        ObjectTable table;
        const QStringList names = catalogue::LoadCatalogue(table, 1);
        EXPECT_EQ(names, namesOf(c.want));
        EXPECT_EQ(table.CatalogueCount, static_cast<int16_t>(c.want.size()));
        for (std::size_t i = 0; i < c.want.size() && i < std::size_t(table.CatalogueCount); ++i) {
            EXPECT_EQ(table.CatalogueName[i], c.want[i].name) << i;
            EXPECT_EQ(table.CatalogueType[i], c.want[i].type) << i;
            EXPECT_EQ(table.CatalogueRA[i], c.want[i].ra) << i;
            EXPECT_EQ(table.CatalogueDec[i], c.want[i].dec) << i;
        }
        if (c.skipped == 0 && c.leftOut == 0) {
            EXPECT_TRUE(messages.isEmpty()) << messages.join('|').toStdString();
            continue;
        }
        ASSERT_EQ(messages.size(), 1);
        const QString& m = messages[0];
        EXPECT_TRUE(m.contains("messier.cat")) << m.toStdString();
        if (c.skipped != 0) {
            const QString told = c.skipped < 0 ? QStringLiteral("aucun enregistrement")
                                               : QStringLiteral("hors limites ignorés : %1 sur").arg(c.skipped);
            EXPECT_TRUE(m.contains(told)) << m.toStdString();
        }
        if (c.leftOut != 0) {
            const int seen = static_cast<int>(c.want.size()) + c.skipped + c.leftOut;
            EXPECT_TRUE(m.contains(QStringLiteral("Enregistrements en trop ignorés : %1 sur %2 (le programme n'en "
                                                  "garde que 1031).")
                                       .arg(c.leftOut)
                                       .arg(seen)))
                << m.toStdString();
            EXPECT_TRUE(m.endsWith(c.skipped ? "Seuls les 1031 premiers enregistrements complets et dans leurs "
                                               "limites sont chargés."
                                             : "Seuls les 1031 premiers enregistrements sont chargés."))
                << m.toStdString();
        }
    }
}

TEST_F(Catalogue, EveryCatalogueAndTheChartsStarsSkipAPlaceNoSkyHasAndTellIt) {
    const QString text = QStringLiteral("\"X\",\"GL\",99999,2\r\n\"A\",\"GL\",600,-300\r\n"
                                        "\"Y\",\"GL\",1,99999\r\n\"Z\",\"GL\",-5,2\r\n");
    const auto toldOnce = [this](const QString& file) {
        ASSERT_EQ(messages.size(), 1) << file.toStdString();
        EXPECT_TRUE(messages[0].contains(file)) << messages[0].toStdString();
        EXPECT_TRUE(messages[0].contains(QStringLiteral("hors limites ignorés : 3 sur 4"))) << messages[0].toStdString();
        EXPECT_TRUE(messages[0].contains(QStringLiteral("ascension droite de 0 à 14399")))
            << messages[0].toStdString();
        EXPECT_TRUE(messages[0].contains(QStringLiteral("déclinaison de -54000 à 54000")))
            << messages[0].toStdString();
    };
    for (int16_t number = 0; number < catalogue::kCatalogues; ++number) {
        SCOPED_TRACE(number);
        messages.clear();
        filereport::Reset();
        WriteData(catalogue::FileName(number), text);
        ObjectTable table;
        EXPECT_EQ(catalogue::LoadCatalogue(table, number), QStringList{"A"});
        EXPECT_EQ(table.CatalogueCount, 1);
        EXPECT_EQ(table.CatalogueRA[0], 600);
        EXPECT_EQ(table.CatalogueDec[0], -300);
        toldOnce(catalogue::FileName(number));
    }

    messages.clear();
    filereport::Reset();
    BrightStarTable stars;
    catalogue::LoadBrightStars(stars);
    EXPECT_EQ(stars.BrightStarCount, 0);
    EXPECT_EQ(stars.BrightStarName[0], "A");
    toldOnce(QStringLiteral("5magstar.cat"));

    messages.clear();
    filereport::Reset();
    WriteData("vstar.cat", text);
    const auto chartStars = catalogue::ReadRecords(QStringLiteral("\\data\\vstar.cat"), 201);
    ASSERT_TRUE(chartStars);
    ASSERT_EQ(chartStars->size(), 1u);
    EXPECT_EQ((*chartStars)[0].name, "A");
    EXPECT_EQ((*chartStars)[0].number, 1) << "the star keeps its place in the file for the lines";
    toldOnce(QStringLiteral("vstar.cat"));
}

TEST_F(Catalogue, AShorterCatalogueAfterALongerOneCountsOnlyItsOwnRecords) {
    WriteData("messier.cat", fileOf(numbered(5)));
    WriteData("ic.cat", QString("\"IC 1\",\"GL\",7,8\r\n"));
    auto& t = shared.cat;
    catalogue::LoadCatalogue(t, 1);
    ASSERT_EQ(t.CatalogueCount, 5);
    EXPECT_EQ(catalogue::LoadCatalogue(t, 2), QStringList{"IC 1"});
    EXPECT_EQ(t.CatalogueCount, 1);
    EXPECT_EQ(t.CatalogueName[0], "IC 1");
    EXPECT_EQ(t.CatalogueRA[0], 7);
}

TEST_F(Catalogue, AMissingCatalogueIsToldAndLoadsEmpty) {
    WriteData("messier.cat", fileOf(numbered(3)));
    auto& t = shared.cat;
    catalogue::LoadCatalogue(t, 1);
    EXPECT_TRUE(catalogue::LoadCatalogue(t, 8).isEmpty());
    EXPECT_EQ(t.CatalogueCount, 0);
    ASSERT_EQ(messages.size(), 1);
    EXPECT_TRUE(messages[0].contains("ngc5.cat")) << messages[0].toStdString();
}

TEST_F(Catalogue, EachNumberLoadsItsFileUnderItsCaption) {
    struct Case {
        int16_t number;
        const char* file;
        const char* caption;
    } cases[] = {
        {0, "5magstar.cat", "Etoiles magnitude 5"},
        {1, "messier.cat", "Objets Messier"},
        {2, "ic.cat", "Objets IC"},
        {3, "ngc0.cat", "Objets NGC de 1 à 999"},
        {4, "ngc1.cat", "Objets NGC de 1000 à 1999"},
        {5, "ngc2.cat", "Objets NGC de 2000 à 2999"},
        {6, "ngc3.cat", "Objets NGC de 3000 à 3999"},
        {7, "ngc4.cat", "Objets NGC de 4000 à 4999"},
        {8, "ngc5.cat", "Objets NGC de 5000 à 5999"},
        {9, "ngc6.cat", "Objets NGC de 6000 à 6999"},
        {10, "ngc7.cat", "Objets NGC de 7000 à 7999"},
    };
    QStringList captions;
    for (const auto& c : cases) WriteData(c.file, QStringLiteral("\"%1\",\"GL\",1,2\r\n").arg(c.file));
    for (const auto& c : cases) {
        ObjectTable t;
        EXPECT_EQ(catalogue::LoadCatalogue(t, c.number), QStringList{c.file}) << c.number;
        EXPECT_EQ(catalogue::Caption(c.number), QString::fromUtf8(c.caption)) << c.number;
        captions << QString::fromUtf8(c.caption);
    }
    EXPECT_EQ(catalogue::Captions(), captions);

    // A number that names no catalogue (no position, "Autre...") loads nothing.
    for (int16_t n : {-2, -1, 11}) {
        ObjectTable t;
        catalogue::LoadCatalogue(t, 1);
        EXPECT_TRUE(catalogue::LoadCatalogue(t, n).isEmpty()) << n;
        EXPECT_EQ(t.CatalogueCount, 0) << n;
    }
    EXPECT_TRUE(messages.isEmpty());
}

TEST_F(Catalogue, BrightStarsCountTheirLastRow) {
    struct Case {
        const char* what;
        QString text;
        int16_t last;
        const char* lastName;
    };
    QString many;
    for (int i = 0; i < 122; ++i) many += QStringLiteral("\"S%1\",\"Ori\",%1,%1\r\n").arg(i);
    const std::vector<Case> cases = {
        {"one star", "\"Vega\",\"Lyr\",11178,23285\r\n", 0, "Vega"},
        {"three stars", "\"A\",\"Ori\",1,2\r\n\"B\",\"Ori\",3,4\r\n\"C\",\"Lyr\",5,6\r\n", 2, "C"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        WriteData("5magstar.cat", c.text);
        BrightStarTable stars;
        catalogue::LoadBrightStars(stars);
        ASSERT_EQ(stars.BrightStarCount, c.last);
        if (c.lastName) {
            EXPECT_EQ(stars.BrightStarName[c.last], c.lastName);
        }
    }
    EXPECT_TRUE(messages.isEmpty());

    // One star more than the table holds: the table is full and the star left out is told.
    WriteData("5magstar.cat", many);
    BrightStarTable full;
    catalogue::LoadBrightStars(full);
    EXPECT_EQ(full.BrightStarCount, 120);
    EXPECT_EQ(full.BrightStarName[120], "S120");
    ASSERT_EQ(messages.size(), 1);
    EXPECT_TRUE(messages[0].contains("5magstar.cat")) << messages[0].toStdString();
    EXPECT_TRUE(messages[0].contains("Enregistrements en trop ignorés : 1 sur 122 (le programme n'en garde que 121)."))
        << messages[0].toStdString();
    messages.clear();
    filereport::Reset();

    WriteData("5magstar.cat", QString("\"Vega\",\"Lyr\",11178,23285\r\n"));
    BrightStarTable stars;
    catalogue::LoadBrightStars(stars);
    EXPECT_EQ(stars.BrightStarConst[0], "Lyr");
    EXPECT_EQ(stars.BrightStarRA[0], 11178);
    EXPECT_EQ(stars.BrightStarDec[0], 23285);

    // An empty file leaves no star, and is told.
    WriteData("5magstar.cat", QString());
    catalogue::LoadBrightStars(stars);
    EXPECT_EQ(stars.BrightStarCount, -1);
    ASSERT_EQ(messages.size(), 1);
    EXPECT_TRUE(messages[0].contains("5magstar.cat")) << messages[0].toStdString();
    EXPECT_TRUE(messages[0].contains("aucun enregistrement")) << messages[0].toStdString();
}

TEST_F(Catalogue, AMissingBrightStarFileIsToldAndLeavesNoStar) {
    BrightStarTable stars;
    catalogue::LoadBrightStars(stars);
    EXPECT_EQ(stars.BrightStarCount, -1);
    ASSERT_EQ(messages.size(), 1);
    EXPECT_TRUE(messages[0].contains("5magstar.cat"));
}

TEST_F(Catalogue, ConstellationLookup) {
    WriteData("const.cat", QString("\"And\",\"Andromeda\"\r\n\"UMa\",\"Ursa Major\"\r\n\"Ori\",\"Orion\"\r\n"
                                   "\"And\",\"Andromede\"\r\n\"Lyr\"\r\n"));
    struct Case {
        const char* key;
        const char* name;
    } cases[] = {
        {"UMa", "Ursa Major"}, {"Ori", "Orion"}, {"And", "Andromede"},  // the last record wins
        {"uma", ""},           {"Cyg", ""},      {"Lyr", ""},           // an abbreviation without a name
        {"", ""},
    };
    for (const auto& c : cases) EXPECT_EQ(catalogue::ConstellationName(c.key), c.name) << c.key;
    // The abbreviation without its name is skipped and told, once.
    ASSERT_EQ(messages.size(), 1);
    EXPECT_TRUE(messages[0].contains("const.cat")) << messages[0].toStdString();
    EXPECT_TRUE(messages[0].contains("ignorés : 1 sur 5")) << messages[0].toStdString();
}

TEST_F(Catalogue, DamagedConstellationFiles) {
    struct Case {
        const char* what;
        const char* text;
        const char* told;  // nullptr: nothing told
        const char* ori;   // the name looked up for "Ori"
    } cases[] = {
        {"whole", "\"Lyr\",\"Lyra\"\r\n\"Ori\",\"Orion\"\r\n", nullptr, "Orion"},
        {"empty", "", "aucun enregistrement", ""},
        {"cut in the last name", "\"Lyr\",\"Lyra\"\r\n\"Ori\",\"Ori", "ignorés : 1 sur 2", ""},
        {"a name missing in the middle", "\"Lyr\"\r\n\"Ori\",\"Orion\"\r\n", "ignorés : 1 sur 2", "Orion"},
        {"a field too many", "\"Ori\",\"Orion\",\"x\"\r\n\"Lyr\",\"Lyra\"\r\n", "ignorés : 1 sur 2", ""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        messages.clear();
        filereport::Reset();
        WriteData("const.cat", QByteArray(c.text));
        EXPECT_EQ(catalogue::ConstellationName("Ori"), c.ori);
        if (!c.told) {
            EXPECT_TRUE(messages.isEmpty()) << messages.join('|').toStdString();
            continue;
        }
        ASSERT_EQ(messages.size(), 1);
        EXPECT_TRUE(messages[0].contains("const.cat")) << messages[0].toStdString();
        EXPECT_TRUE(messages[0].contains(c.told)) << messages[0].toStdString();
    }
}

TEST_F(Catalogue, AMissingConstellationFileIsToldAndNamesNothing) {
    EXPECT_EQ(catalogue::ConstellationName("Ori"), "");
    ASSERT_EQ(messages.size(), 1);
    EXPECT_TRUE(messages[0].contains("const.cat"));
}

TEST_F(Catalogue, StarInformationCaptionsUseSignedNumbers) {
    WriteData("const.cat", QString("\"Ori\",\"Orion\"\r\n"));
    struct Case {
        const char* constellation;
        int32_t ra, dec;
        const char* inLine;
        const char* adLine;
        const char* decLine;
    } cases[] = {
        {"Ori", 3327, -1234, "in Orion", "AD: 5h 32.7'", "Dec:-2°-3.4'"},
        {"Ori", 3456, -300, "in Orion", "AD: 5h 45.6'", "Dec: 0°-30'"},
        {"Ori", 0, 0, "in Orion", "AD: 0h 0'", "Dec: 0° 0'"},
        {"Ori", 14399, 54000, "in Orion", "AD: 23h 59.9'", "Dec: 90° 0'"},
        {"Ori", 600, -54000, "in Orion", "AD: 1h 0'", "Dec:-90° 0'"},
        {"Xyz", 11178, 23285, "in ", "AD: 18h 37.8'", "Dec: 38° 48.5'"},
    };
    for (const auto& c : cases) {
        const auto info = catalogue::StarInfoCaptions(c.constellation, c.ra, c.dec);
        EXPECT_EQ(info.constellation, QString::fromUtf8(c.inLine)) << c.ra;
        EXPECT_EQ(info.rightAscension, QString::fromUtf8(c.adLine)) << c.ra;
        EXPECT_EQ(info.declination, QString::fromUtf8(c.decLine)) << c.dec;
    }
}

TEST_F(Catalogue, StarInformationQuotesOnlyTheStartOfAConstellationNameFromTheFile) {
    WriteData("const.cat", QStringLiteral("\"Lyr\",\"%1\"\r\n").arg(QString(1024 * 1024, u'c')));
    EXPECT_EQ(catalogue::StarInfoCaptions("Lyr", 11178, 23285).constellation, "in " + QString(80, u'c') + "…");
}

TEST_F(Catalogue, StarInformationOnlyForARowThatHoldsAStar) {
    WriteData("const.cat", QString("\"Lyr\",\"Lyra\"\r\n"));
    WriteData("5magstar.cat", QString("\"Vega\",\"Lyr\",11178,23285\r\n\"Deneb\",\"Cyg\",12420,27131\r\n"));
    BrightStarTable stars;
    catalogue::LoadBrightStars(stars);
    const auto vega = catalogue::StarInfoForRow(stars, 0);
    ASSERT_TRUE(vega);
    EXPECT_EQ(vega->constellation, "in Lyra");
    EXPECT_EQ(vega->rightAscension, "AD: 18h 37.8'");
    for (int row : {-1, 2, 120, 121}) EXPECT_FALSE(catalogue::StarInfoForRow(stars, row)) << row;

    WriteData("5magstar.cat", QString());
    catalogue::LoadBrightStars(stars);  // Vega's row keeps its old values, but there is no star now
    EXPECT_FALSE(catalogue::StarInfoForRow(stars, 0));
}
