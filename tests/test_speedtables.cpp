#include "core/state.h"
#include "motor/settingsfiles.h"
#include "motor/speedtables.h"
#include "platform/filereport.h"
#include "platform/numberfile.h"
#include "platform/saveset.h"
#include "platform/vbrt.h"
#include "tests/fixture.h"

class SpeedTables : public OrvanelTest {
protected:
    static QByteArray lines(std::initializer_list<const char*> values) {
        QByteArray out;
        for (const char* v : values) out += QByteArray(v) + "\r\n";
        return out;
    }
};

TEST_F(SpeedTables, LoadFillsLevelsOfTheFirstAxisThenTheSecond) {
    WriteData("vitessealtaz.ini", lines({"10", "11", "12", "13", "14", "20", "21", "22", "23", "24"}));
    WriteData("vitesseequa.ini", lines({"1", "2", "3", "4", "5", "6", "7", "8", "9", "10"}));
    WriteData("vitessemanu.ini", lines({"100", "200", "300", "400", "500", "600"}));
    LoadSpeedTables();
    const SpeedTable altaz = {{{10, 20}, {11, 21}, {12, 22}, {13, 23}, {14, 24}}};
    const SpeedTable equa = {{{1, 6}, {2, 7}, {3, 8}, {4, 9}, {5, 10}}};
    const PaddleTable manual = {{{100, 400}, {200, 500}, {300, 600}}};
    EXPECT_EQ(shared.drive.AltazSpeedTable, altaz);
    EXPECT_EQ(shared.drive.EquaSpeedTable, equa);
    EXPECT_EQ(shared.drive.ManualSpeedTable, manual);
    EXPECT_TRUE(messages.isEmpty());
}

TEST_F(SpeedTables, ShortLongAndOddFiles) {
    struct Case {
        const char* name;
        QByteArray altaz;
        SpeedTable expected;
        bool told;
    } cases[] = {
        {"seven lines keep altitude levels 2..4",
         lines({"10", "11", "12", "13", "14", "20", "21"}),
         {{{10, 20}, {11, 21}, {12, 900}, {13, 900}, {14, 900}}},
         true},
        {"extra lines go round the second axis again",
         lines({"10", "11", "12", "13", "14", "20", "21", "22", "23", "24", "30", "31"}),
         {{{10, 30}, {11, 31}, {12, 22}, {13, 23}, {14, 24}}},
         true},
        {"halves round to even",
         lines({"2.5", "3.5", "4.5", "6.5", "1.5", "10", "11", "12", "13", "14"}),
         {{{2, 10}, {4, 11}, {4, 12}, {6, 13}, {2, 14}}},
         false},
        {"a negative delay keeps its entry",
         lines({"10", "-5", "12", "-0.6", "14", "20", "21", "22", "23", "24"}),
         {{{10, 20}, {900, 21}, {12, 22}, {900, 23}, {14, 24}}},
         true},
        {"a delay of 0 is no speed: it keeps its entry",
         lines({"1", "0", "1", "1", "-0.4", "1", "1", "1", "1", "1"}),
         {{{1, 1}, {900, 1}, {1, 1}, {1, 1}, {900, 1}}},
         true},
        {"a line that is no number keeps its entry",
         lines({"10", "vite", "12", "13", "14", "20", "21", "22", "23", "24"}),
         {{{10, 20}, {900, 21}, {12, 22}, {13, 23}, {14, 24}}},
         true},
        {"LF line ends and blanks",
         QByteArray("10\n 11\n12 \n13\n14\n20\n21\n22\n23\n24\n"),
         {{{10, 20}, {11, 21}, {12, 22}, {13, 23}, {14, 24}}},
         false},
    };
    for (const auto& c : cases) {
        messages.clear();
        filereport::Reset();
        for (auto& level : shared.drive.AltazSpeedTable) level = {900, 900};
        WriteData("vitessealtaz.ini", c.altaz);
        WriteData("vitesseequa.ini", lines({"1", "2", "3", "4", "5", "6", "7", "8", "9", "10"}));
        WriteData("vitessemanu.ini", lines({"100", "200", "300", "400", "500", "600"}));
        LoadSpeedTables();
        EXPECT_EQ(shared.drive.AltazSpeedTable, c.expected) << c.name;
        EXPECT_EQ(!messages.isEmpty(), c.told) << c.name;
        if (c.told) {
            ASSERT_EQ(messages.size(), 1) << c.name;
            EXPECT_TRUE(messages[0].contains("vitessealtaz.ini")) << c.name;
        }
    }
}

TEST_F(SpeedTables, NineLinePaddleFileEndsInTheAltitudeEntries) {
    WriteData("vitessemanu.ini", lines({"1", "2", "3", "4", "5", "6", "7", "8", "9"}));
    LoadSpeedTables();
    const PaddleTable manual = {{{1, 7}, {2, 8}, {3, 9}}};
    EXPECT_EQ(shared.drive.ManualSpeedTable, manual);
}

TEST_F(SpeedTables, MissingOrEmptyFilesAreToldAndGiveTheShippedSpeeds) {
    WriteData("vitesseequa.ini", QByteArray(""));
    for (auto& level : shared.drive.AltazSpeedTable) level = {0, 0};
    LoadSpeedTables();
    EXPECT_EQ(shared.drive.AltazSpeedTable, speedfiles::kDefaultAltaz);
    EXPECT_EQ(shared.drive.EquaSpeedTable, speedfiles::kDefaultEqua);
    EXPECT_EQ(shared.drive.ManualSpeedTable, speedfiles::kDefaultManual);
    ASSERT_EQ(messages.size(), 3);
    EXPECT_TRUE(messages[0].contains("vitessemanu.ini"));
    EXPECT_TRUE(messages[1].contains("vitesseequa.ini"));
    EXPECT_TRUE(messages[2].contains("vitessealtaz.ini"));
}

TEST_F(SpeedTables, TheShippedFilesHoldTheBuiltInDefaults) {
    UseShippedData();
    for (auto& level : shared.drive.AltazSpeedTable) level = {0, 0};
    for (auto& level : shared.drive.EquaSpeedTable) level = {0, 0};
    for (auto& speed : shared.drive.ManualSpeedTable) speed = {0, 0};
    LoadSpeedTables();
    EXPECT_EQ(shared.drive.AltazSpeedTable, speedfiles::kDefaultAltaz);
    EXPECT_EQ(shared.drive.EquaSpeedTable, speedfiles::kDefaultEqua);
    EXPECT_EQ(shared.drive.ManualSpeedTable, speedfiles::kDefaultManual);
    const auto shipped = settingsfiles::ReadConfigEqua();
    const settingsfiles::EquaMechanics defaults;
    EXPECT_EQ(shipped.raSteps, defaults.raSteps);
    EXPECT_EQ(shipped.decSteps, defaults.decSteps);
    EXPECT_EQ(shipped.raRatio, defaults.raRatio);
    EXPECT_EQ(shipped.decRatio, defaults.decRatio);
    EXPECT_TRUE(messages.isEmpty()) << messages.join('\n').toStdString();
}

TEST_F(SpeedTables, LookupsPickTheLevelOfTheMovingAxis) {
    shared.drive.AltazSpeedTable = {{{10, 20}, {11, 21}, {12, 22}, {13, 23}, {14, 24}}};
    shared.drive.EquaSpeedTable = {{{110, 120}, {111, 121}, {112, 122}, {113, 123}, {114, 124}}};
    shared.drive.SpeedIndexAz = 3;
    shared.drive.SpeedIndexAlt = 1;
    struct Case {
        int16_t mode;
        int32_t altaz, equa;
    } cases[] = {{1, 13, 113}, {2, 13, 113}, {3, 21, 121}, {4, 21, 121}, {0, -7, -7}, {5, -7, -7}, {-1, -7, -7}};
    for (const auto& c : cases) {
        shared.drive.MotorMode = c.mode;
        shared.drive.StepDelay = -7;
        LookupAltazDelay();
        EXPECT_EQ(shared.drive.StepDelay, c.altaz) << c.mode;
        shared.drive.StepDelay = -7;
        LookupEquaDelay();
        EXPECT_EQ(shared.drive.StepDelay, c.equa) << c.mode;
    }
    // A level outside 0..4 keeps the delay rather than reading outside the table.
    shared.drive.MotorMode = 1;
    shared.drive.SpeedIndexAz = 5;
    shared.drive.StepDelay = -7;
    LookupAltazDelay();
    EXPECT_EQ(shared.drive.StepDelay, -7);
}

TEST_F(SpeedTables, WrittenSpeedsReadBack) {
    ASSERT_TRUE(numberfile::Write(speedfiles::kAltaz, {5, 6, 7, 8, 9, 15, 16, 17, 18, 19.5}));
    EXPECT_EQ(ReadData("vitessealtaz.ini"), "5\r\n6\r\n7\r\n8\r\n9\r\n15\r\n16\r\n17\r\n18\r\n19.5\r\n");
}

class SettingsFiles : public OrvanelTest {};

TEST_F(SettingsFiles, InversionReadsTrueExactlyForVrai) {
    struct Case {
        const char* text;
        int16_t az, alt;
    } cases[] = {
        {"Vrai\r\nVrai\r\n", -1, -1}, {"Vrai\r\nFaux\r\n", -1, 0}, {"vrai\r\nTrue\r\n", 0, 0},
        {"Faux\nVrai\n", 0, -1},      {"Vrai\r\n", -1, 0},
    };
    for (const auto& c : cases) {
        WriteData("inversion.ini", QByteArray(c.text));
        const auto inv = settingsfiles::ReadInversion();
        EXPECT_EQ(inv.az, c.az) << c.text;
        EXPECT_EQ(inv.alt, c.alt) << c.text;
    }
}

TEST_F(SettingsFiles, InversionRoundTrip) {
    ASSERT_TRUE(SaveSet().Add(settingsfiles::kInversion, settingsfiles::InversionLines(vb::True, vb::False)).Save());
    EXPECT_EQ(ReadData("inversion.ini"), "Vrai\r\nFaux\r\n");
    const auto inv = settingsfiles::ReadInversion();
    EXPECT_EQ(inv.az, -1);
    EXPECT_EQ(inv.alt, 0);
}

TEST_F(SettingsFiles, MissingInversionFileReadsNotInvertedAndIsToldOnce) {
    for (int i = 0; i < 3; ++i) {
        const auto inv = settingsfiles::ReadInversion();
        EXPECT_EQ(inv.az, 0);
        EXPECT_EQ(inv.alt, 0);
    }
    ASSERT_EQ(messages.size(), 1);
    EXPECT_TRUE(messages[0].contains("inversion.ini"));
}

TEST_F(SettingsFiles, BacklashAndEquatorialMechanics) {
    ASSERT_TRUE(SaveSet().Add(settingsfiles::kBacklash, settingsfiles::BacklashLines(12, 7)).Save());
    EXPECT_EQ(ReadData("backlash.ini"), "12\r\n7\r\n");
    const auto b = settingsfiles::ReadBacklash();
    EXPECT_EQ(b.az, 12);
    EXPECT_EQ(b.alt, 7);

    WriteData("config_equa.ini", QByteArray("200\r\n200\r\n144\r\n100\r\n"));
    const auto m = settingsfiles::ReadConfigEqua();
    EXPECT_EQ(m.raSteps, 200);
    EXPECT_EQ(m.decSteps, 200);
    EXPECT_EQ(m.raRatio, 144);
    EXPECT_EQ(m.decRatio, 100);
    ASSERT_TRUE(settingsfiles::WriteConfigEqua(m));
    EXPECT_EQ(ReadData("config_equa.ini"), "200\r\n200\r\n144\r\n100\r\n");
    EXPECT_TRUE(messages.isEmpty());
}

TEST_F(SettingsFiles, MalformedNumberFilesAreToldAndKeepDefaults) {
    WriteData("backlash.ini", QByteArray("beaucoup\r\n4\r\n"));
    const auto b = settingsfiles::ReadBacklash();
    EXPECT_EQ(b.az, 0);
    EXPECT_EQ(b.alt, 4);
    ASSERT_EQ(messages.size(), 1);
    EXPECT_TRUE(messages[0].contains("backlash.ini"));

    WriteData("config_equa.ini", QByteArray("400\r\n"));
    const auto m = settingsfiles::ReadConfigEqua();
    EXPECT_EQ(m.raSteps, 400);
    EXPECT_EQ(m.decSteps, 200);
    EXPECT_EQ(m.raRatio, 100);
    ASSERT_EQ(messages.size(), 2);
    EXPECT_TRUE(messages[1].contains("config_equa.ini"));
}
