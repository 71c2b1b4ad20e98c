#include "altaz/pointing.h"
#include "tests/fixture.h"

TEST(PointingCaptions, PositionsAreShownInHoursAndDegreesWithMinutes) {
    struct Case {
        double ra, dec;
        const char* plainRa;
        const char* plainDec;
        const char* signedRa;
        const char* signedDec;
    } cases[] = {
        {4230, 2740, "7h3'", "4°34'", " 7h 3'", " 4° 34'"},
        {4236, 2740, "7h3.6'", "4°34'", " 7h 3.6'", " 4° 34'"},
        {7235, -6120, "12h3.5'", "-10°12'", " 12h 3.5'", "-10° 12'"},
        {0, -300, "0h0'", "0°-30'", " 0h 0'", " 0°-30'"},
        {3300, -615, "5h30'", "-1°1.5'", " 5h 30'", "-1° 1.5'"},
        {14399, 54000, "23h59.9'", "90°0'", " 23h 59.9'", " 90° 0'"},
        {0, -6000, "0h0'", "-10°0'", " 0h 0'", "-10° 0'"},
        // A position between two catalogue values (a stopped goto).
        {4230 + 5 * 0.36, 2740 - 7 * 5.4, "7h3.18'", "4°30.22'", " 7h 3.18'", " 4° 30.22'"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.dec);
        const PositionCaptions plain = CaptionsOf(c.ra, c.dec, NumberForm::Plain);
        EXPECT_EQ(plain.ra, QString::fromUtf8(c.plainRa));
        EXPECT_EQ(plain.dec, QString::fromUtf8(c.plainDec));
        const PositionCaptions sign = CaptionsOf(c.ra, c.dec, NumberForm::Signed);
        EXPECT_EQ(sign.ra, QString::fromUtf8(c.signedRa));
        EXPECT_EQ(sign.dec, QString::fromUtf8(c.signedDec));
    }
}

TEST(TypedCoordinates, SignTimesDegreesAndMinutesEachForWhatTheySay) {
    struct Case {
        const char* h;
        const char* m;
        const char* d;
        const char* dm;
        double ra, dec;
        bool south;
    } cases[] = {
        {"5", "34", "22", "1", 3340, 13210, false},
        {"5", "30", "10", "30", 3300, 6300, false},
        {"7", "3", "-10", "12", 4230, -6120, true},   // not -9 deg 48
        {"0", "0", "0", "30", 0, 300, false},
        {"0", "0", "0", "-30", 0, -300, true},
        {"0", "0", "-0", "30", 0, -300, true},
        {"0", "0", "-1", "1.5", 0, -615, true},       // the minutes' tenths kept
        {"23", "59.9", "-90", "0", 14399, -54000, true},
        {" 12 ", "", "", "", 7200, 0, false},         // empty boxes read 0
        {"5.9", "34.7", "22.9", "1", 3887, 13750, false},  // 5 h 54 min + 34.7 min, 22 deg 54 + 1
        {"12.5", "0", "45.5", "0", 7500, 27300, false},     // 12 h 30 min, 45 deg 30
        {"0.1", "0.3", "0.1", "0.3", 63, 63, false},        // no bits left over from the decimals
        {"23.5", "29.9", "-89.5", "30", 14399, -54000, true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.d) + " " + c.dm);
        const TypedReading r = ReadTypedCoordinates({c.h, c.m, c.d, c.dm});
        ASSERT_EQ(r.status, TypedStatus::Ok);
        EXPECT_EQ(r.target.gotoRA, c.ra);
        EXPECT_EQ(r.target.gotoDec, c.dec);
        EXPECT_EQ(r.target.south, c.south);
    }
}

TEST(TypedCoordinates, ValuesOutOfRangeOrNotNumbersAreRefused) {
    const TypedBoxes invalid[] = {
        {"24", "0", "0", "0"},     {"-1", "0", "0", "0"},    {"55", "0", "0", "0"},    // 55 h would overflow
        {"5", "60", "0", "0"},     {"5", "-1", "0", "0"},    {"5", "0", "91", "0"},
        {"5", "0", "-91", "0"},    {"5", "0", "10", "60"},   {"5", "0", "90", "30"},   // beyond the pole
        {"cinq", "0", "0", "0"},   {"5h", "0", "0", "0"},    {"5", "0", "10", "-60"},
        {"1e309", "0", "0", "0"},  {"5", "0", "nan", "0"},   {"5", "1,5", "0", "0"},   // 1e309 is not 0
        {"23.5", "30", "0", "0"},  {"23.99", "0.6", "0", "0"}, {"5", "0", "89.9", "6.1"},  // past 24 h, the pole
    };
    for (const auto& b : invalid) {
        SCOPED_TRACE((b.hours + " " + b.minutes + " " + b.degrees + " " + b.arcMinutes).toStdString());
        EXPECT_EQ(ReadTypedCoordinates(b).status, TypedStatus::Invalid);
    }
    EXPECT_EQ(ReadTypedCoordinates({"", " ", "", ""}).status, TypedStatus::Empty);
}
