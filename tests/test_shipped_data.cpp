// The catalogue files the program ships with, read as the program reads them.
#include "altaz/catalogue.h"
#include "core/state.h"
#include "platform/datadir.h"
#include "platform/seqfile.h"
#include "platform/vbrt.h"
#include "tests/fixture.h"

#include <QSet>
#include <cmath>
#include <limits>
#include <numbers>

namespace {

constexpr int kAll = std::numeric_limits<int>::max();

// A published J2000 place, with the star's proper motion (milli-arc-seconds
// a year, right ascension times cos dec; 0 for a deep-sky object).
struct PublishedPlace {
    const char* file;
    const char* name;
    const char* constellation;  // for vstar.cat, whose names repeat; nullptr elsewhere
    double raH, raM, raS;
    double decSign, decD, decM, decS;
    double pmRa = 0, pmDec = 0;
};

constexpr double kDeg = std::numbers::pi / 180;

// The place moved by its proper motion from J2000.0 to the Julian epoch,
// then precessed to that epoch's mean equinox (IAU 1976 angles, rigorous
// formulae). Degrees.
std::pair<double, double> PlaceAt(const PublishedPlace& p, double epoch) {
    const double years = epoch - 2000;
    double dec = p.decSign * (p.decD + p.decM / 60 + p.decS / 3600);
    double ra = 15 * (p.raH + p.raM / 60 + p.raS / 3600);
    ra += p.pmRa / 3.6e6 / std::cos(dec * kDeg) * years;
    dec += p.pmDec / 3.6e6 * years;
    const double t = years / 100;
    const double zeta = (2306.2181 * t + 0.30188 * t * t + 0.017998 * t * t * t) / 3600 * kDeg;
    const double z = (2306.2181 * t + 1.09468 * t * t + 0.018203 * t * t * t) / 3600 * kDeg;
    const double theta = (2004.3109 * t - 0.42665 * t * t - 0.041833 * t * t * t) / 3600 * kDeg;
    const double a0 = ra * kDeg, d0 = dec * kDeg;
    const double A = std::cos(d0) * std::sin(a0 + zeta);
    const double B = std::cos(theta) * std::cos(d0) * std::cos(a0 + zeta) - std::sin(theta) * std::sin(d0);
    const double C = std::sin(theta) * std::cos(d0) * std::cos(a0 + zeta) + std::cos(theta) * std::sin(d0);
    double raOut = (std::atan2(A, B) + z) / kDeg;
    if (raOut < 0) raOut += 360;
    return {raOut, std::atan2(C, std::hypot(A, B)) / kDeg};
}

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

TEST_F(ShippedData, PlacesAgreeWithPublishedPlacesAt2027) {
    // Each within the files' grain (45" cos dec, 3") and 10".
    const PublishedPlace places[] = {
        // Galaxies, J2000 places of their nuclei: M 87 (VLBI), NGC 4565 and
        // NGC 5866 (2MASS).
        {"messier.cat", "M 87", nullptr, 12, 30, 49.423, +1, 12, 23, 28.04},
        {"ngc4.cat", "NGC 4486", nullptr, 12, 30, 49.423, +1, 12, 23, 28.04},
        {"ngc4.cat", "NGC 4565", nullptr, 12, 36, 20.78, +1, 25, 59, 15.6},
        {"ngc5.cat", "NGC 5866", nullptr, 15, 6, 29.56, +1, 55, 45, 47.9},
        {"messier.cat", "M 102", nullptr, 15, 6, 29.56, +1, 55, 45, 47.9},
        // Clusters: M 13 from Harris's catalogue of globular clusters (2010
        // edition); M 44, whose centre is loose by arc-minutes from one
        // catalogue to the next, from OpenNGC itself (NGC 2632).
        {"messier.cat", "M 13", nullptr, 16, 41, 41.24, +1, 36, 27, 35.5},
        {"ngc6.cat", "NGC 6205", nullptr, 16, 41, 41.24, +1, 36, 27, 35.5},
        {"messier.cat", "M 44", nullptr, 8, 40, 22.2, +1, 19, 40, 19.4},
        {"ngc2.cat", "NGC 2632", nullptr, 8, 40, 22.2, +1, 19, 40, 19.4},
        // Fast stars: Hipparcos places and proper motions (alpha Cen A and B
        // after Kervella et al. 2016).
        {"5magstar.cat", "Rigil Kentaurus", nullptr, 14, 39, 36.494, -1, 60, 50, 2.37, -3679.25, 473.67},
        {"5magstar.cat", "Toliman", nullptr, 14, 39, 35.063, -1, 60, 50, 15.10, -3614.39, 802.98},
        {"5magstar.cat", "Sirius", nullptr, 6, 45, 8.917, -1, 16, 42, 58.02, -546.01, -1223.07},
        {"5magstar.cat", "Arcturus", nullptr, 14, 15, 39.672, +1, 19, 10, 56.67, -1093.39, -2000.06},
        {"5magstar.cat", "Procyon", nullptr, 7, 39, 18.120, +1, 5, 13, 29.96, -714.59, -1036.80},
        {"vstar.cat", "ALPHA", "Boo", 14, 15, 39.672, +1, 19, 10, 56.67, -1093.39, -2000.06},
    };
    for (const auto& p : places) {
        SCOPED_TRACE(std::string(p.file) + " " + p.name);
        const auto records = read(QStringLiteral("\\data\\") + QString::fromLatin1(p.file));
        const CatalogueRecord* found = nullptr;
        for (const auto& r : records)
            if (r.name == QLatin1String(p.name) && (!p.constellation || r.type == QLatin1String(p.constellation)))
                found = &r;
        ASSERT_NE(found, nullptr);
        const auto [ra, dec] = PlaceAt(p, 2027.0);
        double dRa = found->ra / 14400.0 * 360 - ra;
        dRa = std::remainder(dRa, 360.0) * 3600 * std::cos(dec * kDeg);  // along the sky
        const double dDec = (found->dec / 600.0 - dec) * 3600;
        EXPECT_LE(std::fabs(dRa), 45 * std::cos(dec * kDeg) + 10) << "right ascension, arc-seconds";
        EXPECT_LE(std::fabs(dDec), 3 + 10.0) << "declination, arc-seconds";
    }
}
