#include "platform/vbrt.h"

#include <gtest/gtest.h>

#include <cmath>
#include <utility>

TEST(RuntimeRules, NumericValueOfText) {
    struct Case {
        const char* text;
        double value;
    } cases[] = {
        {"12", 12},          {"  12.5", 12.5},   {"-3.25xyz", -3.25}, {"+7", 7},
        {"abc", 0},          {"", 0},            {"   ", 0},          {".5", 0.5},
        {"1e3", 1000},       {"2.5E-1", 0.25},   {"1e", 1},           {"12,7", 12},
        {"3 4", 3},          {"\t42", 42},       {"-", 0},            {"1D2", 100},
        {"0007", 7},         {"-0.0", 0},
    };
    for (const auto& c : cases) EXPECT_DOUBLE_EQ(vb::Val(QString::fromUtf8(c.text)), c.value) << c.text;
}

TEST(RuntimeRules, TextFormsOfNumbers) {
    struct Case {
        double value;
        const char* plain;
        const char* signedForm;
    } cases[] = {
        {5, "5", " 5"},
        {-5, "-5", "-5"},
        {0, "0", " 0"},
        {-0.0, "0", " 0"},
        {32.700000000000003, "32.7", " 32.7"},
        {0.1 + 0.2, "0.3", " 0.3"},
        {-12.25, "-12.25", "-12.25"},
        {1119078, "1119078", " 1119078"},
        {123456789012345, "123456789012345", " 123456789012345"},
        {1e15, "1E+15", " 1E+15"},
        {1.0 / 3.0, "0.333333333333333", " 0.333333333333333"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(vb::CStr(c.value), QString::fromUtf8(c.plain)) << c.value;
        EXPECT_EQ(vb::Str(c.value), QString::fromUtf8(c.signedForm)) << c.value;
    }
}

TEST(RuntimeRules, RoundingHalvesToEven) {
    struct Case {
        double value;
        int32_t rounded;
    } cases[] = {
        {2.5, 2}, {3.5, 4}, {-2.5, -2}, {-3.5, -4}, {0.5, 0}, {1.5, 2},
        {2.4999, 2}, {2.5001, 3}, {-0.4, 0}, {1e12, 2147483647}, {-1e12, -2147483647 - 1},
    };
    for (const auto& c : cases) EXPECT_EQ(vb::CLng(c.value), c.rounded) << c.value;
    EXPECT_EQ(vb::CInt(32767.4), 32767);
    EXPECT_EQ(vb::CInt(40000), 32767);
    EXPECT_EQ(vb::CInt(-40000), -32768);
    EXPECT_EQ(vb::CInt(std::nan("")), 0);
}

TEST(RuntimeRules, IntIsFloorAndFixTruncates) {
    struct Case {
        double value, floor, trunc;
    } cases[] = {{2.7, 2, 2}, {-2.7, -3, -2}, {-2.0, -2, -2}, {0.2, 0, 0}, {-0.2, -1, 0}};
    for (const auto& c : cases) {
        EXPECT_EQ(vb::Int(c.value), c.floor) << c.value;
        EXPECT_EQ(vb::Fix(c.value), c.trunc) << c.value;
    }
}

TEST(RuntimeRules, BooleansInFiles) {
    EXPECT_EQ(vb::BoolText(vb::True), "Vrai");
    EXPECT_EQ(vb::BoolText(vb::False), "Faux");
    EXPECT_EQ(vb::BoolText(1), "Vrai");
    for (const char* t : {"vrai", "True", "VRAI", " Vrai", "Faux", "", "-1"}) EXPECT_FALSE(vb::IsVrai(QString::fromUtf8(t))) << t;
    EXPECT_TRUE(vb::IsVrai(u"Vrai"));
    EXPECT_EQ(vb::Bool(true), -1);
    EXPECT_EQ(vb::Bool(false), 0);
}

TEST(RuntimeRules, IsNumericWantsANumberAndNothingElse) {
    for (const char* t : {"12", " 12 ", "-1.5", "1E3", ".5"}) EXPECT_TRUE(vb::IsNumeric(QString::fromUtf8(t))) << t;
    for (const char* t : {"", "abc", "12abc", "1,2", "-", " "}) EXPECT_FALSE(vb::IsNumeric(QString::fromUtf8(t))) << t;
}

TEST(RuntimeRules, NumericValueIsTheFiniteValueOfANumberAndNothingElse) {
    const std::pair<const char*, double> taken[] = {{"12", 12}, {" -1.5\t", -1.5}, {"1d3", 1000}, {"1E308", 1e308}};
    for (const auto& [t, v] : taken) EXPECT_EQ(vb::NumericValue(QString::fromUtf8(t)), v) << t;
    EXPECT_TRUE(std::signbit(*vb::NumericValue(u"-0")));
    // Val reads "1e400" as 0: as a value it is none.
    for (const char* t : {"", "12abc", "1,5", "nan", "inf", "1e400", "-1e400"})
        EXPECT_FALSE(vb::NumericValue(QString::fromUtf8(t))) << t;
}
