#include "altaz/catalogue.h"
#include "altaz/typefilter.h"
#include "core/state.h"
#include "tests/fixture.h"

#include <vector>

namespace {

// A small catalogue of every kind, in the order of the file.
const char* const kMixed =
    "\"M 1\",\"DN\",332,1322\r\n"      // 0
    "\"M 2\",\"GC\",1294,-41\r\n"      // 1
    "\"M 31\",\"GL\",44,2484\r\n"      // 2
    "\"M 45\",\"OC\",226,1447\r\n"     // 3
    "\"M 57\",\"PN\",1134,1981\r\n"    // 4
    "\"M 40\",\"ST\",744,3489\r\n"     // 5
    "\"M 13\",\"GC\",1002,2188\r\n"    // 6
    "\"M 42\",\"DN\",337,-326\r\n"     // 7
    "\"M 44\",\"OC\",520,1198\r\n"     // 8
    "\"NGC 9\",\"gl\",10,20\r\n"       // 9: not a type code (case counts)
    "\"M 27\",\"PN\",1199,1363\r\n";   // 10

class TypeFilter : public OrvanelTest {
protected:
    void SetUp() override {
        OrvanelTest::SetUp();
        WriteData("messier.cat", QString(kMixed));
        all = catalogue::LoadCatalogue(shared.cat, 1);
        ASSERT_EQ(all.size(), 11);
    }
    QStringList all;
};

}  // namespace

TEST_F(TypeFilter, EachCodeKeepsItsTypesInFileOrder) {
    struct Case {
        int16_t code;
        const char* caption;
        std::vector<int> rows;  // table rows of the narrowed list
        const char* firstType;
    } cases[] = {
        {1, "filtre:[Galaxies]", {2}, "GALAXIE"},
        {2, "filtre:[Amas]", {1, 3, 6, 8}, "AMAS GLOBULAIRE"},
        {3, "filtre:[Ouverts]", {3, 8}, "AMAS OUVERT"},
        {4, "filtre:[Globualire]", {1, 6}, "AMAS GLOBULAIRE"},
        {5, "filtre:[Nébuleuses]", {0, 4, 7, 10}, "NEBULEUSE DIFFUSE"},
        {6, "filtre:[Planétaires]", {4, 10}, "NEBULEUSE PLANETAIRE"},
        {7, "filtre:[Diffuses]", {0, 7}, "NEBULEUSE DIFFUSE"},
    };
    auto& t = shared.cat;
    int16_t previous = 0;
    for (const auto& c : cases) {
        SCOPED_TRACE(c.code);
        const auto change = typefilter::ChooseFilter(t, c.code, 1);
        ASSERT_TRUE(change);
        EXPECT_EQ(change->uncheck, previous);
        EXPECT_EQ(change->caption, QString::fromUtf8(c.caption));
        EXPECT_EQ(t.ObjectTypeFilter, c.code);
        QStringList names;
        for (int r : c.rows) names << all[r];
        EXPECT_EQ(change->rows, names);
        EXPECT_EQ(t.FilteredCount, static_cast<int16_t>(c.rows.size()) - 1);
        for (std::size_t r = 0; r < c.rows.size(); ++r) EXPECT_EQ(typefilter::ObjectRow(t, int(r)), c.rows[r]) << r;
        EXPECT_EQ(typefilter::ObjectRow(t, int(c.rows.size())), -1);
        EXPECT_EQ(typefilter::TypeCaptionForRow(t, 0), QStringLiteral("TYPE:[%1]").arg(c.firstType));
        previous = c.code;
    }
}

TEST_F(TypeFilter, AucunReloadsTheWholeCatalogue) {
    auto& t = shared.cat;
    typefilter::ChooseFilter(t, 3, 1);
    const auto change = typefilter::ChooseFilter(t, 0, 1);
    ASSERT_TRUE(change);
    EXPECT_EQ(change->uncheck, 3);
    EXPECT_EQ(change->caption, "filtre:[Aucun]");
    EXPECT_EQ(change->rows, all);
    EXPECT_EQ(t.ObjectTypeFilter, 0);
    for (int r = 0; r < all.size(); ++r) EXPECT_EQ(typefilter::ObjectRow(t, r), r);
    EXPECT_EQ(typefilter::ObjectRow(t, 11), -1);
}

TEST_F(TypeFilter, AucunWithNoCataloguePositionShowsNothing) {
    auto& t = shared.cat;
    typefilter::ChooseFilter(t, 5, 1);
    const auto change = typefilter::ChooseFilter(t, 0, -1);
    ASSERT_TRUE(change);
    EXPECT_TRUE(change->rows.isEmpty());
    EXPECT_EQ(t.CatalogueCount, 0);
    EXPECT_EQ(typefilter::ObjectRow(t, 0), -1);
    EXPECT_FALSE(typefilter::TypeCaptionForRow(t, 0));
    // A filter chosen afterwards finds nothing of the old catalogue either.
    EXPECT_TRUE(typefilter::ChooseFilter(t, 5, -1)->rows.isEmpty());
    EXPECT_EQ(t.FilteredCount, -1);
    EXPECT_TRUE(messages.isEmpty());
}

TEST_F(TypeFilter, AFilterThatMatchesNothingLeavesAnEmptyList) {
    auto& t = shared.cat;
    WriteData("ngc4.cat", QString("\"NGC 4000\",\"GL\",1,2\r\n\"NGC 4001\",\"GL\",3,4\r\n"));
    WriteData("5magstar.cat", QString("\"Vega\",\"Lyr\",11178,23285\r\n\"Rigel\",\"Ori\",3137,-4911\r\n"));
    struct Case {
        int16_t catalogue;
        int16_t code;
    } cases[] = {{7, 6}, {7, 3}, {0, 1}, {0, 2}, {0, 5}};
    for (const auto& c : cases) {
        typefilter::ChooseCatalogue(t, c.catalogue);
        const auto change = typefilter::ChooseFilter(t, c.code, c.catalogue);
        EXPECT_TRUE(change->rows.isEmpty()) << c.catalogue << " " << c.code;
        EXPECT_EQ(t.FilteredCount, -1);
        EXPECT_EQ(typefilter::ObjectRow(t, 0), -1);
    }
}

TEST_F(TypeFilter, ChoosingTheFilterInForceAgainGivesTheSameList) {
    auto& t = shared.cat;
    const auto first = typefilter::ChooseFilter(t, 2, 1);
    const auto again = typefilter::ChooseFilter(t, 2, 1);
    EXPECT_EQ(again->uncheck, 2);
    EXPECT_EQ(again->rows, first->rows);
    EXPECT_EQ(typefilter::ObjectRow(t, 3), 8);
}

TEST_F(TypeFilter, ChoosingACatalogueResetsTheFilter) {
    auto& t = shared.cat;
    WriteData("ic.cat", QString("\"IC 1\",\"GL\",1,2\r\n\"IC 2\",\"OC\",3,4\r\n"));
    typefilter::ChooseFilter(t, 4, 1);
    const auto change = typefilter::ChooseCatalogue(t, 2);
    EXPECT_EQ(change.uncheck, 4);
    EXPECT_EQ(change.caption, "Filtre=[Aucun]");
    EXPECT_EQ(change.rows, (QStringList{"IC 1", "IC 2"}));
    EXPECT_EQ(t.ObjectTypeFilter, 0);
    EXPECT_EQ(typefilter::ObjectRow(t, 1), 1);
}

TEST_F(TypeFilter, TheThreeWindowsCaptions) {
    using typefilter::Owner;
    EXPECT_EQ(typefilter::ItemCaptions(Owner::MainWindow),
              (QStringList{"Aucun", "Galaxies", "tous", "ouverts", "globulaires", "toutes", "planétaires", "diffuses"}));
    for (Owner o : {Owner::AltazPointing, Owner::EquaPointing})
        EXPECT_EQ(typefilter::ItemCaptions(o), (QStringList{"Aucun", "Galaxies", "Tous", "Ouverts", "Globulaires",
                                                             "Toutes", "Planétaires", "Diffuses"}));
    EXPECT_EQ(typefilter::InitialCaption(Owner::MainWindow), "Filtre:[aucun]");
    EXPECT_EQ(typefilter::InitialCaption(Owner::AltazPointing), "Filtre:[Aucun]");
    EXPECT_EQ(typefilter::InitialCaption(Owner::EquaPointing), "Filtre:[Aucun]");

    QStringList captions, items;
    for (int16_t c = 0; c < typefilter::kFilters; ++c) {
        captions << typefilter::Caption(c);
        items << typefilter::ItemName(c);
    }
    EXPECT_EQ(captions, (QStringList{"filtre:[Aucun]", "filtre:[Galaxies]", "filtre:[Amas]", "filtre:[Ouverts]",
                                     "filtre:[Globualire]", "filtre:[Nébuleuses]", "filtre:[Planétaires]",
                                     "filtre:[Diffuses]"}));
    EXPECT_EQ(items, (QStringList{"mnuaucun", "mnugalaxies", "mnuATous", "mnuAOuverts", "mnuAGlobul", "mnuNtoutes",
                                  "mnuNPlanet", "mnuNDiffus"}));
    // A code outside 0..7 has no item to uncheck and changes nothing.
    EXPECT_EQ(typefilter::ItemName(8), "");
    EXPECT_EQ(typefilter::ItemName(-1), "");
    EXPECT_FALSE(typefilter::ChooseFilter(shared.cat, 8, 1));
    EXPECT_EQ(shared.cat.ObjectTypeFilter, 0);
}

TEST(TypeFilterLabels, KnownCodesOnlyAndCaseCounts) {
    struct Case {
        const char* code;
        const char* caption;
    } cases[] = {
        {"GL", "TYPE:[GALAXIE]"},
        {"OC", "TYPE:[AMAS OUVERT]"},
        {"GC", "TYPE:[AMAS GLOBULAIRE]"},
        {"DN", "TYPE:[NEBULEUSE DIFFUSE]"},
        {"PN", "TYPE:[NEBULEUSE PLANETAIRE]"},
        {"ST", "TYPE:[GROUPE D'ETOILES]"},
        {"gl", "TYPE:[]"},
        {"XX", "TYPE:[]"},
        {"Ori", "TYPE:[]"},  // a bright star's constellation
        {"", "TYPE:[]"},
    };
    for (const auto& c : cases) EXPECT_EQ(typefilter::TypeCaption(c.code), c.caption) << c.code;
}

TEST_F(TypeFilter, TheTypeCaptionDescribesTheSelectedRowOnly) {
    auto& t = shared.cat;
    EXPECT_EQ(typefilter::TypeCaptionForRow(t, 3), "TYPE:[AMAS OUVERT]");
    EXPECT_EQ(typefilter::TypeCaptionForRow(t, 9), "TYPE:[]");
    EXPECT_FALSE(typefilter::TypeCaptionForRow(t, -1));  // no row selected
    EXPECT_FALSE(typefilter::TypeCaptionForRow(t, 11));
}
