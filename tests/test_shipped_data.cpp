// The catalogue files the program ships with, read as the program reads them.
#include "altaz/catalogue.h"
#include "core/state.h"
#include "platform/datadir.h"
#include "platform/seqfile.h"
#include "platform/vbrt.h"
#include "tests/fixture.h"

#include <QSet>
#include <limits>

namespace {

constexpr int kAll = std::numeric_limits<int>::max();

class ShippedData : public OrvanelTest {
protected:
    void SetUp() override {
        OrvanelTest::SetUp();
        UseShippedData();
        auto reader = SeqReader::Open(datadir::Path(catalogue::kConstellationFile));
        ASSERT_TRUE(reader);
        while (!reader->AtEnd()) {
            const QString abbr = reader->Field();
            ASSERT_FALSE(reader->AtEnd()) << "const.cat ends inside a record";
            const QString name = reader->Field();
            EXPECT_FALSE(name.isEmpty()) << abbr.toStdString();
            EXPECT_FALSE(constellations.contains(abbr)) << "twice: " << abbr.toStdString();
            constellations.insert(abbr);
        }
    }

    std::vector<CatalogueRecord> read(const QString& programPath) {
        auto records = catalogue::ReadRecords(programPath, kAll);
        EXPECT_TRUE(records) << programPath.toStdString();
        return records ? *records : std::vector<CatalogueRecord>{};
    }

    static void expectPlace(const CatalogueRecord& r) {
        EXPECT_GE(r.ra, 0) << r.name.toStdString();
        EXPECT_LT(r.ra, 14400) << r.name.toStdString();
        EXPECT_GE(r.dec, -54000) << r.name.toStdString();
        EXPECT_LE(r.dec, 54000) << r.name.toStdString();
    }

    QSet<QString> constellations;
};

}  // namespace

TEST_F(ShippedData, TheEightyEightConstellations) {
    EXPECT_EQ(constellations.size(), 88);
    EXPECT_EQ(catalogue::ConstellationName("UMa"), "Ursa Major");
}

TEST_F(ShippedData, DeepSkyCataloguesFitTheTableWithKnownTypes) {
    const QSet<QString> types = {"GL", "OC", "GC", "PN", "DN", "ST"};
    for (int16_t n = 1; n < catalogue::kCatalogues; ++n) {
        SCOPED_TRACE(catalogue::FileName(n).toStdString());
        const auto records = read(catalogue::ProgramPath(n));
        EXPECT_GT(records.size(), 0u);
        EXPECT_LE(records.size(), std::size_t(kCatalogueRows));
        for (const auto& r : records) {
            EXPECT_FALSE(r.name.isEmpty());
            EXPECT_TRUE(types.contains(r.type)) << r.name.toStdString() << " " << r.type.toStdString();
            expectPlace(r);
        }
        ObjectTable table;
        EXPECT_EQ(catalogue::LoadCatalogue(table, n).size(), qsizetype(records.size()));
    }
    EXPECT_EQ(read(catalogue::ProgramPath(1)).size(), 110u);  // every Messier object
    EXPECT_TRUE(messages.isEmpty()) << messages.join('|').toStdString();
}

TEST_F(ShippedData, BrightStarsFitTheirTableAndNameKnownConstellations) {
    const auto records = read(catalogue::kBrightStarFile);
    EXPECT_GT(records.size(), 0u);
    EXPECT_LE(records.size(), std::size_t(kBrightStarRows));
    for (const auto& r : records) {
        EXPECT_FALSE(r.name.isEmpty());
        EXPECT_TRUE(constellations.contains(r.type)) << r.name.toStdString() << " " << r.type.toStdString();
        expectPlace(r);
    }
    BrightStarTable stars;
    catalogue::LoadBrightStars(stars);
    EXPECT_EQ(stars.BrightStarCount, int(records.size()) - 1);
    ObjectTable table;
    EXPECT_EQ(catalogue::LoadCatalogue(table, 0).size(), qsizetype(records.size()));
    EXPECT_TRUE(messages.isEmpty()) << messages.join('|').toStdString();
}

TEST_F(ShippedData, ChartStarsAndTheirLines) {
    const auto stars = read(QStringLiteral("\\data\\vstar.cat"));
    EXPECT_GT(stars.size(), 0u);
    EXPECT_LE(stars.size(), 201u);
    for (const auto& s : stars) {
        EXPECT_FALSE(s.name.isEmpty());
        EXPECT_TRUE(constellations.contains(s.type)) << s.name.toStdString() << " " << s.type.toStdString();
        expectPlace(s);
    }

    auto reader = SeqReader::Open(datadir::Path(QStringLiteral("\\data\\vconst.cat")));
    ASSERT_TRUE(reader);
    int lines = 0;
    while (!reader->AtEnd()) {
        QString ends[2];
        ends[0] = reader->Field();
        ASSERT_FALSE(reader->AtEnd()) << "vconst.cat ends inside line " << lines;
        ends[1] = reader->Field();
        for (const QString& e : ends) {
            ASSERT_TRUE(vb::IsNumeric(e)) << e.toStdString();
            const double v = vb::Val(e);
            EXPECT_EQ(v, vb::Int(v)) << e.toStdString();
            EXPECT_GE(v, 0) << "line " << lines;
            EXPECT_LT(v, double(stars.size())) << "line " << lines;
        }
        ++lines;
    }
    EXPECT_GT(lines, 0);
    EXPECT_TRUE(messages.isEmpty()) << messages.join('|').toStdString();
}
