#include "altaz/catalogue.h"
#include "altaz/neareststar.h"
#include "altaz/typefilter.h"
#include "core/state.h"
#include "tests/fixture.h"

#include <vector>

namespace {

struct Place {
    int32_t ra, dec;
};

struct Star {
    const char* name;
    const char* constellation;
    int32_t ra, dec;
};

void fill(BrightStarTable& t, const std::vector<Star>& stars) {
    t.BrightStarCount = -1;
    for (const Star& s : stars) {
        const int i = ++t.BrightStarCount;
        t.BrightStarName[i] = s.name;
        t.BrightStarConst[i] = s.constellation;
        t.BrightStarRA[i] = s.ra;
        t.BrightStarDec[i] = s.dec;
    }
}

void fill(ObjectTable& t, const std::vector<std::pair<const char*, Place>>& objects) {
    t.CatalogueCount = 0;
    for (const auto& [type, p] : objects) {
        const int i = t.CatalogueCount++;
        t.CatalogueName[i] = QStringLiteral("obj %1").arg(i);
        t.CatalogueType[i] = type;
        t.CatalogueRA[i] = p.ra;
        t.CatalogueDec[i] = p.dec;
    }
}

class NearestStar : public OrvanelTest {
protected:
    void SetUp() override {
        OrvanelTest::SetUp();
        WriteData("const.cat", QString("\"Lyr\",\"Lyra\"\r\n\"Ori\",\"Orion\"\r\n\"Cyg\",\"Cygnus\"\r\n"));
    }
    ObjectTable objects;
    BrightStarTable stars;
};

}  // namespace

TEST(NearestStarDistance, FlatWithTheShortWayRoundZeroHours) {
    struct Case {
        Place object, star;
        double distance;
    } cases[] = {
        {{1000, 1000}, {1000, 1000}, 0},
        {{1040, 800}, {1000, 0}, 1000},      // 40 x 15 = 600 and 800
        {{14350, 0}, {50, 0}, 1500},         // 10 minutes of time across 0 h
        {{50, 0}, {14350, 0}, 1500},
        {{7200, 0}, {0, 0}, 108000},         // twelve hours either way
        {{0, 48000}, {600, 48000}, 9000},    // one hour at 80 degrees: no cosine
        {{0, -54000}, {0, 54000}, 108000},
    };
    for (const auto& c : cases) {
        ObjectTable o;
        BrightStarTable s;
        fill(o, {{"GL", c.object}});
        fill(s, {{"S", "Ori", c.star.ra, c.star.dec}});
        EXPECT_DOUBLE_EQ(neareststar::StarDistance(o, 0, s, 0), c.distance) << c.object.ra << " " << c.star.ra;
    }
}

TEST_F(NearestStar, TheNearestStarAndTheEarlierOneOnTies) {
    struct Case {
        const char* what;
        Place object;
        std::vector<Star> stars;
        int want;
    };
    const std::vector<Case> cases = {
        {"an object on a star", {3000, 2000}, {{"A", "Ori", 9000, 0}, {"B", "Ori", 3000, 2000}, {"C", "Ori", 3010, 2000}}, 1},
        {"two stars on the object", {3000, 2000}, {{"A", "Ori", 3000, 2000}, {"B", "Ori", 3000, 2000}}, 0},
        {"equal distances", {1000, 1000}, {{"F", "Ori", 5000, 0}, {"A", "Ori", 1000, 1100}, {"B", "Ori", 1000, 900}}, 1},
        {"across 0 h", {14350, 0}, {{"A", "Ori", 13000, 0}, {"B", "Ori", 50, 0}}, 1},
        {"across 0 h the other way", {50, 0}, {{"A", "Ori", 1500, 0}, {"B", "Ori", 14350, 0}}, 1},
        {"flat map near the pole", {0, 48000}, {{"A", "Ori", 600, 48000}, {"B", "Ori", 0, 42000}}, 1},
        {"a single star", {7000, -3000}, {{"A", "Ori", 100, 40000}}, 0},
    };
    for (const Case& c : cases) {
        fill(objects, {{"GL", c.object}});
        fill(stars, c.stars);
        EXPECT_EQ(neareststar::NearestStarRow(objects, 0, stars), c.want) << c.what;
    }
}

TEST_F(NearestStar, TheMessageNamesTheStarAndItsConstellation) {
    fill(objects, {{"GL", {11000, 23000}}, {"OC", {3100, -5000}}});
    fill(stars, {{"Vega", "Lyr", 11178, 23285}, {"Rigel", "Ori", 3137, -4911}, {"Foo", "Xyz", 7000, 0}});
    EXPECT_EQ(neareststar::NearestStarMessage(objects, 0, stars), "L'ETOILE LA PLUS PROCHE EST:\r\nVega (Lyra).");
    EXPECT_TRUE(neareststar::ShowNearestStar(objects, 1, stars));
    EXPECT_EQ(messages, QStringList{"L'ETOILE LA PLUS PROCHE EST:\r\nRigel (Orion)."});

    // A constellation that const.cat does not know: empty parentheses.
    fill(objects, {{"GL", {7000, 0}}});
    EXPECT_EQ(neareststar::NearestStarMessage(objects, 0, stars), "L'ETOILE LA PLUS PROCHE EST:\r\nFoo ().");
}

TEST_F(NearestStar, TheMessageQuotesOnlyTheStartOfANameFromTheFiles) {
    // Names of a megabyte in the star file and in const.cat.
    const QString name = QString(1024 * 1024, u'n');
    WriteData("const.cat", QStringLiteral("\"Lyr\",\"%1\"\r\n").arg(QString(1024 * 1024, u'c')));
    fill(objects, {{"GL", {11000, 23000}}});
    fill(stars, {{"Vega", "Lyr", 11178, 23285}});
    stars.BrightStarName[0] = name;
    EXPECT_EQ(neareststar::NearestStarMessage(objects, 0, stars),
              "L'ETOILE LA PLUS PROCHE EST:\r\n" + QString(80, u'n') + "… (" + QString(80, u'c') + "…).");
}

TEST_F(NearestStar, AFilteredRowStandsForItsOwnObject) {
    // Row 0 of the unfiltered table lies on Vega, the only open cluster on Rigel.
    fill(objects, {{"GL", {11178, 23285}}, {"GL", {12420, 27131}}, {"OC", {3137, -4911}}});
    fill(stars, {{"Vega", "Lyr", 11178, 23285}, {"Deneb", "Cyg", 12420, 27131}, {"Rigel", "Ori", 3137, -4911}});
    typefilter::ChooseFilter(objects, 3, 1);
    EXPECT_EQ(neareststar::NearestStarMessage(objects, 0, stars), "L'ETOILE LA PLUS PROCHE EST:\r\nRigel (Orion).");
    EXPECT_FALSE(neareststar::NearestStarMessage(objects, 1, stars));  // past the narrowed list
}

TEST_F(NearestStar, NothingIsShownWithoutAnObjectOrAStar) {
    fill(objects, {{"GL", {11000, 23000}}});
    fill(stars, {{"Vega", "Lyr", 11178, 23285}});
    struct Case {
        const char* what;
        int listRow;
        bool noStars;
    } cases[] = {
        {"no row selected", -1, false},
        {"a row past the table", 1, false},
        {"a row past the table's rows", kCatalogueRows, false},
        {"an empty star file", 0, true},
    };
    for (const auto& c : cases) {
        BrightStarTable s = stars;
        if (c.noStars) s.BrightStarCount = -1;  // Vega's row still holds its old values
        EXPECT_FALSE(neareststar::ShowNearestStar(objects, c.listRow, s)) << c.what;
    }
    EXPECT_TRUE(messages.isEmpty());
}

TEST_F(NearestStar, TheStarsComeFromTheBrightStarFile) {
    WriteData("5magstar.cat", QString("\"Vega\",\"Lyr\",11178,23285\r\n\"Rigel\",\"Ori\",3137,-4911\r\n"));
    WriteData("messier.cat", QString("\"M 42\",\"DN\",3373,-3261\r\n"));
    auto& cat = shared.cat;
    catalogue::LoadCatalogue(cat, 1);
    catalogue::LoadBrightStars(cat);
    EXPECT_TRUE(neareststar::ShowNearestStar(cat, 0, cat));
    EXPECT_EQ(messages, QStringList{"L'ETOILE LA PLUS PROCHE EST:\r\nRigel (Orion)."});

    // An empty file is told, and no star is offered.
    WriteData("5magstar.cat", QString());
    catalogue::LoadBrightStars(cat);
    EXPECT_FALSE(neareststar::ShowNearestStar(cat, 0, cat));
    ASSERT_EQ(messages.size(), 2);
    EXPECT_TRUE(messages[1].contains("5magstar.cat")) << messages[1].toStdString();
}
