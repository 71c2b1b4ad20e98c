// The one rule every typed box follows: the whole text is a number within
// the range of its quantity, or the box is refused with a message.
#include "platform/inputcheck.h"
#include "tests/fixture.h"

#include <cmath>
#include <optional>

using namespace inputcheck;

TEST(InputCheck, AValueIsTakenOnlyWhenTheWholeTextIsANumberInRange) {
    struct Case {
        const char* text;
        Range range;
        std::optional<double> value;
    } cases[] = {
        {"12", kDelay, 12},
        {"  12\t", kDelay, 12},          // blanks around are allowed
        {"1e3", kDelay, 1000},
        {"+5", kDelay, 5},
        {"-0", kDelay, 0},
        {"0", kDelay, 0},
        {"2147483647", kDelay, 2147483647},
        {"2147483648", kDelay, std::nullopt},
        {"-5", kDelay, std::nullopt},
        {"1.5", kDelay, std::nullopt},   // a delay is a whole count
        {"12.0", kDelay, 12},
        {"", kDelay, std::nullopt},
        {"   ", kDelay, std::nullopt},
        {"abc", kDelay, std::nullopt},
        {"12abc", kDelay, std::nullopt},
        {"1 2", kDelay, std::nullopt},
        {"nan", kDelay, std::nullopt},
        {"inf", kDelay, std::nullopt},
        {"1e309", kDelay, std::nullopt},  // beyond a double: not 0
        {"0x10", kDelay, std::nullopt},
        {"1,5", kRatio, std::nullopt},    // the point is the decimal separator
        {"1.5", kRatio, 1.5},
        {".5", kRatio, 0.5},
        {"0", kRatio, std::nullopt},
        {"-0", kSteps, std::nullopt},
        {"-5", kSteps, std::nullopt},
        {"1e308", kRatio, std::nullopt},
        {"99999999999", kSteps, std::nullopt},
        {"200", kSteps, 200},
        {"200.5", kSteps, std::nullopt},  // a motor has whole steps
        {"32767", kSteps, 32767},
        {"32768", kSteps, std::nullopt},
        {"32767", kRatio, 32767},
        {"32767.5", kRatio, std::nullopt},
        {"32767", kBacklash, 32767},
        {"32768", kBacklash, std::nullopt},
        {"4.5", kBacklash, std::nullopt},
        {"10", kIncrement, 10},
        {"9", kIncrement, std::nullopt},
        {"32767", kIncrement, 32767},
        {"32768", kIncrement, std::nullopt},
        {"12.5", kIncrement, std::nullopt},
        {"-90", kLatitude, -90},
        {"90.01", kLatitude, std::nullopt},
        {"1e308", kLatitude, std::nullopt},
        {"-180", kLongitude, -180},
        {"99999999999", kLongitude, std::nullopt},
        {"-59.9", kSiteMinutes, -59.9},
        {"59.95", kSiteMinutes, std::nullopt},
        {"60", kSiteMinutes, std::nullopt},
    };
    for (const auto& c : cases) {
        const auto v = ValueIn(QString::fromUtf8(c.text), c.range);
        EXPECT_EQ(v, c.value) << '"' << c.text << '"';
        EXPECT_FALSE(v && *v == 0 && std::signbit(*v)) << c.text << " gives 0, not -0";
    }
}

TEST(InputCheck, TheRangeIsSaidAsTheUserReadsIt) {
    EXPECT_EQ(RangeText(kBacklash), QStringLiteral("un nombre entier de 0 à 32767"));
    EXPECT_EQ(RangeText(kIncrement), QStringLiteral("un nombre entier de 10 à 32767"));
    EXPECT_EQ(RangeText(kSteps), QStringLiteral("un nombre entier de 1 à 32767"));
    EXPECT_EQ(RangeText(kRatio), QStringLiteral("un nombre supérieur à 0 et d'au plus 32767"));
    EXPECT_EQ(RangeText(kLatitude), QStringLiteral("un nombre de -90 à 90"));
    EXPECT_EQ(RangeText(kSiteMinutes), QStringLiteral("un nombre de -59.9 à 59.9"));
}

TEST(InputCheck, ASiteAngleCountsItsMinutesWhicheverBoxHoldsTheSign) {
    struct Case {
        double degrees, minutes, limit;
        bool fits;
    } cases[] = {
        {90, 0, 90, true},    {89, 59.9, 90, true},  {90, 0.1, 90, false}, {-90, -1, 90, false},
        {-90, 1, 90, false},  {0, -30, 90, true},    {179, 59.9, 180, true}, {-180, 1, 180, false},
    };
    for (const auto& c : cases)
        EXPECT_EQ(SiteAngleFits(c.degrees, c.minutes, c.limit), c.fits) << c.degrees << "° " << c.minutes;
}

class InputCheckMessages : public OrvanelTest {};

TEST_F(InputCheckMessages, TheFirstRefusedBoxIsNamedWithWhatItMustHold) {
    const auto v = Values({{QStringLiteral(" 7 "), QStringLiteral("Premier"), kBacklash},
                           {QStringLiteral("1,5"), QStringLiteral("Deuxième"), kBacklash},
                           {QStringLiteral("abc"), QStringLiteral("Troisième"), kBacklash}},
                          kNotStarted);
    EXPECT_FALSE(v);
    ASSERT_EQ(messages.size(), 1);
    EXPECT_EQ(messages[0], QStringLiteral("Valeur incorrecte pour « Deuxième » : « 1,5 ».\n"
                                          "Il faut un nombre entier de 0 à 32767 (le séparateur décimal est le point).\n"
                                          "Le suivi n'a pas été lancé."));
    messages.clear();

    EXPECT_FALSE(Values({{QString(), QStringLiteral("Deuxième"), kIncrement}}));
    ASSERT_EQ(messages.size(), 1);
    EXPECT_EQ(messages[0], QStringLiteral("Aucune valeur pour « Deuxième ».\n"
                                          "Il faut un nombre entier de 10 à 32767.\n"
                                          "Rien n'a été enregistré."));
    messages.clear();

    EXPECT_EQ(Values({{QStringLiteral(" 7 "), QStringLiteral("Premier"), kBacklash},
                      {QStringLiteral("3"), QStringLiteral("Deuxième"), kBacklash}}),
              (std::vector<double>{7, 3}));
    EXPECT_TRUE(messages.isEmpty());
}

TEST_F(InputCheckMessages, TableBoxesLeftEmptyOrAtZeroKeepTheirEntries) {
    int32_t a = 10, b = 20, c = 30, d = 40;
    EXPECT_TRUE(TakeEntries({{" ", "a", &a}, {"0", "b", &b}, {"12.5", "c", &c}}, Range{0, 100}, 50));
    EXPECT_EQ(a, 10);
    EXPECT_EQ(b, 20);
    EXPECT_EQ(c, 625);
    EXPECT_TRUE(TakeEntries({{"0.001", "d", &d}}, Range{0, 100}, 50));
    EXPECT_EQ(d, 1) << "a delay typed is at least one count: the speed files hold no 0";
    d = 40;
    EXPECT_FALSE(TakeEntries({{"2", "c", &c}, {"-1", QStringLiteral("Quatrième"), &d}}, Range{0, 100}, 50));
    EXPECT_EQ(c, 625) << "a refusal changes no entry";
    EXPECT_EQ(d, 40);
    ASSERT_EQ(messages.size(), 1);
    // The refusal says what 0 and an empty box would have done.
    EXPECT_EQ(messages[0], QStringLiteral("Valeur incorrecte pour « Quatrième » : « -1 ».\n"
                                          "Il faut un nombre de 0 à 100.\n"
                                          "0, ou une case laissée vide, garde le délai enregistré.\n"
                                          "Rien n'a été enregistré."));
}
