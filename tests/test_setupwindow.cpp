#include "altaz/frmconfig.h"
#include "altaz/frmcoord.h"
#include "core/conversions.h"
#include "core/counters.h"
#include "core/numbers.h"
#include "core/state.h"
#include "motor/slack.h"
#include "platform/vbrt.h"
#include "shell/buttonpictures.h"
#include "shell/frminterface.h"
#include "platform/datadir.h"
#include "tests/fixture.h"

#include <QDir>
#include <QListWidget>
#include <array>
#include <cmath>
#include <cstdlib>
#include <functional>
#include <utility>
#include <vector>
#include <QFile>

#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QTimer>

#include <string>

using port::Write;

class SetupWindow : public WindowTest {
protected:
    void SetUp() override {
        WindowTest::SetUp();
        UseShippedData();
        frminterface().MDIForm_Load();
        frmcoord();
        messages.clear();
        Sim().ClearWrites();
    }
};

TEST_F(SetupWindow, LoadShowsTheSiteMechanicsSpeedsAndBacklash) {
    shared.site.BacklashAz = 12;
    shared.site.BacklashAlt = 3;
    WriteData("pointagealtaz.ini", QByteArray("5\r\n2\r\n"));
    forms::Unload<Frmconfig>();
    Frmconfig& f = frmconfig();
    EXPECT_EQ(f.windowTitle(), "Initialisations");
    EXPECT_EQ(f.txtdegre->text(), "2");
    EXPECT_EQ(f.txtlatmin->text(), "50");
    EXPECT_EQ(f.txtpasaz->text(), "200");
    EXPECT_EQ(f.txtRaz->text(), "100");
    EXPECT_EQ(f.txtapas->text(), "32.4");  // 360 / (200 x 100) x 3600 / 2
    EXPECT_EQ(f.cbpointaz->currentIndex(), 4);
    EXPECT_EQ(f.cbpointalt->currentIndex(), 1);
    EXPECT_FALSE(f.cmdazencoding_result->isEnabled());
    EXPECT_FALSE(f.cmdaltencoding_result->isEnabled());
    EXPECT_EQ(f.Frame3->txtbacklash_az->text(), "12");
    EXPECT_EQ(f.Frame3->txtbacklash_alt->text(), "3");
    EXPECT_EQ(shared.win.AltazSettingsShown, vb::True);
}

TEST_F(SetupWindow, SaveWritesTheThreeFilesAndReadsTheMechanicsBack) {
    Frmconfig& f = frmconfig();
    f.txtdegre->setText("-4");
    f.txtmin->setText("-5");
    f.txtlatdeg->setText("43");
    f.txtlatmin->setText("36");
    f.txtpasaz->setText("400");
    f.txtpasalt->setText("48");
    f.txtRaz->setText("1.5");
    f.txtRalt->setText("250");
    f.Frame3->txtbacklash_az->setText("17");
    f.Frame3->txtbacklash_alt->setText("4");
    f.cbpointaz->setCurrentIndex(0);
    f.cbpointalt->setCurrentIndex(4);
    f.cmdvalid_Click();
    EXPECT_EQ(ReadData("config_altaz.ini"), "-4\r\n-5\r\n43\r\n36\r\n400\r\n48\r\n250000\r\n1500\r\n");
    EXPECT_EQ(ReadData("backlash.ini"), "17\r\n4\r\n");
    EXPECT_EQ(ReadData("pointagealtaz.ini"), "1\r\n5\r\n");
    EXPECT_EQ(shared.site.AzimuthRatio, 1.5);
    EXPECT_EQ(shared.site.SiteAndMount.AltitudeRatio, 250);
    EXPECT_EQ(shared.site.SiteAndMount.SiteLongitudeMin, -5);
    EXPECT_EQ(shared.site.AzStepArcsec, 1080);  // 360 / (400 x 1.5) x 3600 / 2
    EXPECT_EQ(f.txtapas->text(), "1080");
    EXPECT_EQ(shared.site.BacklashAz, 0) << "the backlash in use changes at the next start";
    EXPECT_TRUE(messages.isEmpty()) << messages.join('\n').toStdString();
}

TEST_F(SetupWindow, AValueOutOfItsRangeSavesNoFile) {
    const QStringList files{"config_altaz.ini", "backlash.ini", "pointagealtaz.ini"};
    QStringList before;
    for (const QString& f : files) before << ReadData(f);
    const auto mechanics = shared.site;
    const auto backlashAz = [](Frmconfig& f) { return f.Frame3->txtbacklash_az; };
    const auto backlashAlt = [](Frmconfig& f) { return f.Frame3->txtbacklash_alt; };
    struct Case {
        std::function<QLineEdit*(Frmconfig&)> box;
        const char* typed;
        const char* named;
        const char* range;
    } cases[] = {
        {&Frmconfig::txtlatdeg, "1e308", "Latitude", "un nombre de -90 à 90"},
        {&Frmconfig::txtlatdeg, "91", "Latitude", "un nombre de -90 à 90"},
        {&Frmconfig::txtdegre, "99999999999", "Longitude", "un nombre de -180 à 180"},
        {&Frmconfig::txtdegre, "", "Longitude", "un nombre de -180 à 180"},
        {&Frmconfig::txtmin, "60", "Longitude (min)", "un nombre de -59.9 à 59.9"},
        {&Frmconfig::txtlatmin, "-75", "Latitude (min)", "un nombre de -59.9 à 59.9"},
        {&Frmconfig::txtlatmin, "1,5", "Latitude (min)", "le séparateur décimal est le point"},
        {&Frmconfig::txtpasaz, "-5", "Nombre de pas moteur (azimut)", "un nombre entier de 1 à 32767"},
        {&Frmconfig::txtpasalt, "0", "Nombre de pas moteur (altitude)", "un nombre entier de 1 à 32767"},
        {&Frmconfig::txtpasalt, "-0", "Nombre de pas moteur (altitude)", "un nombre entier de 1 à 32767"},
        {&Frmconfig::txtpasaz, "99999999999", "Nombre de pas moteur (azimut)", "un nombre entier de 1 à 32767"},
        {&Frmconfig::txtpasaz, "400.5", "Nombre de pas moteur (azimut)", "un nombre entier de 1 à 32767"},
        {&Frmconfig::txtRaz, "-5", "Rapport de réduction (azimut)", "un nombre supérieur à 0"},
        {&Frmconfig::txtRalt, "0", "Rapport de réduction (altitude)", "un nombre supérieur à 0"},
        {&Frmconfig::txtRaz, "1e308", "Rapport de réduction (azimut)", "d'au plus 32767"},
        {&Frmconfig::txtRaz, "40000", "Rapport de réduction (azimut)", "d'au plus 32767"},
        {&Frmconfig::txtRaz, "cent", "Rapport de réduction (azimut)", "un nombre supérieur à 0"},
        {&Frmconfig::txtRalt, "nan", "Rapport de réduction (altitude)", "un nombre supérieur à 0"},
        {&Frmconfig::txtRalt, "inf", "Rapport de réduction (altitude)", "un nombre supérieur à 0"},
        {&Frmconfig::txtRalt, "12abc", "Rapport de réduction (altitude)", "un nombre supérieur à 0"},
        {backlashAz, "-5", "Backlash (azimut)", "un nombre entier de 0 à 32767"},
        {backlashAlt, "4.5", "Backlash (altitude)", "un nombre entier de 0 à 32767"},
        {backlashAlt, "1e308", "Backlash (altitude)", "un nombre entier de 0 à 32767"},
        {backlashAz, "32768", "Backlash (azimut)", "un nombre entier de 0 à 32767"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.typed);
        forms::Unload<Frmconfig>();
        Frmconfig& f = frmconfig();
        f.Frame3->txtbacklash_az->setText("99");  // good values elsewhere are not saved either
        f.cbpointaz->setCurrentIndex(0);
        c.box(f)->setText(QString::fromUtf8(c.typed));
        messages.clear();
        f.cmdvalid_Click();
        ExpectRefusal(QString::fromUtf8(c.named), QString::fromUtf8(c.range));
        for (int i = 0; i < files.size(); ++i) EXPECT_EQ(ReadData(files[i]), before[i]) << files[i].toStdString();
        EXPECT_EQ(shared.site.AzimuthRatio, mechanics.AzimuthRatio);
        EXPECT_EQ(shared.site.AzStepArcsec, mechanics.AzStepArcsec);
        EXPECT_TRUE(forms::Loaded<Frmconfig>());
        EXPECT_EQ(c.box(f)->text(), QString::fromUtf8(c.typed)) << "the box keeps what was typed";
    }
}

TEST_F(SetupWindow, ASiteCountsItsMinutesWithItsDegrees) {
    struct Case {
        const char *longitude, *longitudeMin, *latitude, *latitudeMin;
        const char* refused;  // the message's start, or null when saved
    } cases[] = {
        {"180", "0", "90", "0", nullptr},
        {"-180", "0", "-90", "0", nullptr},
        {"-0", "30", "89", "59.9", nullptr},
        {"179", "-59.9", " 0 ", "-0", nullptr},
        {"180", "30", "45", "0", "Valeur incorrecte pour « Longitude » : « 180° 30 min »."},
        {"-180", "1", "45", "0", "Valeur incorrecte pour « Longitude » : « -180° 1 min »."},
        {"2", "20", "90", "0.5", "Valeur incorrecte pour « Latitude » : « 90° 0.5 min »."},
        {"2", "20", "-90", "-10", "Valeur incorrecte pour « Latitude » : « -90° -10 min »."},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.longitude) + " " + c.longitudeMin + " " + c.latitude + " " + c.latitudeMin);
        const QString before = ReadData("config_altaz.ini");
        Frmconfig& f = frmconfig();
        f.txtdegre->setText(c.longitude);
        f.txtmin->setText(c.longitudeMin);
        f.txtlatdeg->setText(c.latitude);
        f.txtlatmin->setText(c.latitudeMin);
        messages.clear();
        f.cmdvalid_Click();
        if (!c.refused) {
            EXPECT_TRUE(messages.isEmpty()) << messages.join('\n').toStdString();
            EXPECT_NE(ReadData("config_altaz.ini"), before);
            continue;
        }
        ASSERT_EQ(messages.size(), 1);
        EXPECT_TRUE(messages[0].startsWith(QString::fromUtf8(c.refused))) << messages[0].toStdString();
        EXPECT_TRUE(messages[0].contains(QStringLiteral("minutes comprises"))) << messages[0].toStdString();
        EXPECT_EQ(ReadData("config_altaz.ini"), before);
    }
}

TEST_F(SetupWindow, ASiteTakesOneSignFromItsDegreesOrItsMinutes) {
    // South and west are typed as declinations are: a "-" before the degrees
    // (kept on 0) or negative minutes makes the whole angle negative.
    struct Case {
        const char *degrees, *minutes;
        double angle;  // degrees
    } cases[] = {
        {"-33", "54", -(33 + 54 / 60.0)},
        {"-33", "-54", -(33 + 54 / 60.0)},  // as files written with both signs always read
        {"-0", "30", -0.5},
        {"0", "-30", -0.5},
        {"2", "20", 2 + 20 / 60.0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.degrees) + " " + c.minutes);
        Frmconfig& f = frmconfig();
        f.txtdegre->setText(c.degrees);
        f.txtmin->setText(c.minutes);
        f.txtlatdeg->setText(c.degrees);
        f.txtlatmin->setText(c.minutes);
        f.cmdvalid_Click();
        EXPECT_TRUE(messages.isEmpty()) << messages.join('\n').toStdString();
        const QStringList lines = ReadData("config_altaz.ini").split(QStringLiteral("\r\n"));
        ASSERT_GE(lines.size(), 4);
        EXPECT_EQ(lines[0], c.degrees);
        EXPECT_EQ(lines[1], c.minutes);
        EXPECT_EQ(lines[2], c.degrees);
        EXPECT_EQ(lines[3], c.minutes);

        // What the conversions take: the observer's latitude, and the
        // longitude's share of the local sidereal time (240 s a degree).
        auto expectSite = [&] {
            EXPECT_NEAR(SiteLatitudeRad(), c.angle * Pi / 180, 1e-12);
            TimeBoxes noon;
            noon.txtessai = QStringLiteral("43200");
            noon.clock = {QStringLiteral("0"), QStringLiteral("0"), QStringLiteral("0"), QStringLiteral("0")};
            EXPECT_NEAR(LocalSiderealTime(noon), 43200 + 240 * c.angle, 1e-6);
        };
        expectSite();

        // Read back from the file by the coordinates window, and shown again as typed.
        forms::Unload<Frmconfig>();
        forms::Unload<Frmcoord>();
        shared.site.SiteAndMount = {};
        frmcoord();
        expectSite();
        EXPECT_EQ(frmconfig().txtlatdeg->text(), c.degrees);
        EXPECT_EQ(frmconfig().txtlatmin->text(), c.minutes);
        EXPECT_EQ(frmconfig().txtdegre->text(), c.degrees);
    }
}

TEST_F(SetupWindow, AFileThatCannotBeReplacedLeavesTheThreeOldFiles) {
    WriteData("config_altaz.ini", QByteArray("2\r\n20\r\n48\r\n50\r\n200\r\n200\r\n100000\r\n100000\r\n"));
    WriteData("backlash.ini", QByteArray("3\r\n4\r\n"));
    // The last of the three cannot be renamed: the first two were, and get
    // their old content back.
    QFile::remove(datadir::Folder() + "/pointagealtaz.ini");
    QDir(datadir::Folder()).mkdir("pointagealtaz.ini");
    Frmconfig& f = frmconfig();
    f.txtRaz->setText("3");
    f.Frame3->txtbacklash_az->setText("50");
    f.cmdvalid_Click();
    ASSERT_EQ(messages.size(), 1);
    EXPECT_TRUE(messages[0].contains("pointagealtaz.ini")) << messages[0].toStdString();
    EXPECT_TRUE(messages[0].contains(QStringLiteral("Aucun fichier n'a été modifié"))) << messages[0].toStdString();
    EXPECT_EQ(ReadData("config_altaz.ini"), "2\r\n20\r\n48\r\n50\r\n200\r\n200\r\n100000\r\n100000\r\n");
    EXPECT_EQ(ReadData("backlash.ini"), "3\r\n4\r\n");
    EXPECT_EQ(shared.site.AzimuthRatio, 100) << "the mechanics in use stay";
    EXPECT_EQ(QDir(datadir::Folder()).entryList({"*.nouveau"}, QDir::Files), QStringList{});
}

TEST_F(SetupWindow, EncoderCalibrationGivesTheRatios) {
    Frmconfig& f = frmconfig();
    struct Case {
        bool azimuth;
        const char* steps;
        int32_t count;
        const char* ratio;
    } cases[] = {
        {true, "200", 800, "2"},
        {false, "200", 800, "8"},
        {true, "200", 4000000, "10000"},
        {false, "400", 999, "4.995"},
    };
    for (const auto& c : cases) {
        if (c.azimuth) {
            f.txtpasaz->setText(c.steps);
            f.cmdazencoding_Click();
            EXPECT_TRUE(f.cmdazencoding_result->isEnabled());
            shared.drive.EncoderCountAz = c.count;
            f.cmdazencoding_result_Click();
            EXPECT_EQ(f.txtRaz->text(), c.ratio);
            EXPECT_EQ(shared.site.AzimuthRatio, vb::Val(QString::fromLatin1(c.ratio)));
            EXPECT_EQ(f.txtapas->text(), vb::CStr(shared.site.AzStepArcsec));
        } else {
            f.txtpasalt->setText(c.steps);
            f.cmdaltencoding_Click();
            shared.drive.EncoderCountAlt = c.count;
            f.cmdaltencoding_result_Click();
            EXPECT_EQ(f.txtRalt->text(), c.ratio);
            EXPECT_EQ(shared.site.SiteAndMount.AltitudeRatio, vb::Val(QString::fromLatin1(c.ratio)));
        }
    }
}

TEST_F(SetupWindow, TheEncoderButtonSwitchesThePaddleOnOnlyWhenItWasOff) {
    Frmconfig& f = frmconfig();
    shared.drive.EncoderCountAz = 55;
    f.cmdazencoding_Click();
    EXPECT_EQ(shared.drive.EncoderCountAz, 0);
    EXPECT_TRUE(frmcoord().picraquette->Shows(ButtonPictures[7]));
    EXPECT_EQ(Writes(), (std::vector<Write>{{890, 11}, {888, 0}}));
    EXPECT_TRUE(frminterface().Timer->isActive());
    Sim().ClearWrites();
    shared.drive.EncoderCountAlt = 9;
    f.cmdaltencoding_Click();
    EXPECT_EQ(shared.drive.EncoderCountAlt, 0);
    EXPECT_TRUE(Writes().empty());
}

TEST_F(SetupWindow, ZeroMotorStepsAreToldInsteadOfDividing) {
    Frmconfig& f = frmconfig();
    f.txtRaz->setText("100");
    f.txtpasaz->setText("0");
    shared.drive.EncoderCountAz = 800;
    f.cmdazencoding_result_Click();
    EXPECT_EQ(f.txtRaz->text(), "100");
    ASSERT_EQ(messages.size(), 1);
}

TEST_F(SetupWindow, ACalibrationWithoutAUsableRatioKeepsTheRatioInUse) {
    // No pulse counted, steps the box does not hold, a count beyond any
    // ratio: the user is told, the boxes and the mechanics in use stay, and
    // what the save would then refuse never reaches the mount.
    struct Case {
        bool azimuth;
        const char* steps;
        int32_t count;
        const char* named;
        const char* range;
    } cases[] = {
        {true, "200", 0, "Rapport de réduction (azimut)", "un nombre supérieur à 0 et d'au plus 32767"},
        {false, "200", 0, "Rapport de réduction (altitude)", "un nombre supérieur à 0 et d'au plus 32767"},
        {true, "1", 100000000, "Rapport de réduction (azimut)", "d'au plus 32767"},
        {true, "-200", 800, "Nombre de pas moteur (azimut)", "un nombre entier de 1 à 32767"},
        {true, "200abc", 800, "Nombre de pas moteur (azimut)", "un nombre entier de 1 à 32767"},
        {false, "1.5", 800, "Nombre de pas moteur (altitude)", "un nombre entier de 1 à 32767"},
        {false, "", 800, "Nombre de pas moteur (altitude)", "un nombre entier de 1 à 32767"},
    };
    const auto mechanics = shared.site;
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.steps) + " " + std::to_string(c.count));
        forms::Unload<Frmconfig>();
        Frmconfig& f = frmconfig();
        messages.clear();
        if (c.azimuth) {
            f.txtpasaz->setText(c.steps);
            f.cmdazencoding_Click();
            shared.drive.EncoderCountAz = c.count;
            f.cmdazencoding_result_Click();
        } else {
            f.txtpasalt->setText(c.steps);
            f.cmdaltencoding_Click();
            shared.drive.EncoderCountAlt = c.count;
            f.cmdaltencoding_result_Click();
        }
        ExpectRefusal(QString::fromUtf8(c.named), QString::fromUtf8(c.range),
                      QStringLiteral("Le rapport de réduction n'a pas été changé."));
        EXPECT_EQ(f.txtRaz->text(), "100");
        EXPECT_EQ(f.txtRalt->text(), "100");
        EXPECT_EQ(f.txtapas->text(), vb::CStr(mechanics.AzStepArcsec));
        EXPECT_EQ(f.txthpas->text(), vb::CStr(mechanics.AltStepArcsec));
        EXPECT_EQ(shared.site.AzimuthRatio, mechanics.AzimuthRatio);
        EXPECT_EQ(shared.site.SiteAndMount.AltitudeRatio, mechanics.SiteAndMount.AltitudeRatio);
        EXPECT_EQ(shared.site.AzStepArcsec, mechanics.AzStepArcsec);
        EXPECT_EQ(shared.site.AltStepArcsec, mechanics.AltStepArcsec);
    }
}

TEST_F(SetupWindow, BacklashMeasurement) {
    Frmconfig& f = frmconfig();
    shared.site.BacklashAz = 40;
    f.Frame3->cmdjeuaz_deb_Click();
    EXPECT_EQ(f.Frame3->txtbacklash_az->text(), "0");
    EXPECT_EQ(shared.site.BacklashAz, 40) << "the moves take up the backlash in use until \"Fin\"";
    EXPECT_EQ(shared.drive.BacklashMeasureAz, vb::True);
    shared.drive.BacklashCountAz = 23;
    f.Frame3->cmdjeuaz_fin_Click();
    EXPECT_EQ(shared.site.BacklashAz, 23);
    EXPECT_EQ(f.Frame3->txtbacklash_az->text(), "23");
    EXPECT_EQ(shared.drive.BacklashMeasureAz, vb::False);
    // "Début" then "Fin" with no pulse in between: no backlash.
    f.Frame3->cmdjeualt_deb_Click();
    f.Frame3->cmdjeualt_fin_Click();
    EXPECT_EQ(shared.site.BacklashAlt, 0);
    EXPECT_EQ(f.Frame3->txtbacklash_alt->text(), "0");
}

TEST_F(SetupWindow, DirectionTestSwapsTheValuesOfAnAxisThatCountedAgainstItsSpan) {
    Frmconfig& f = frmconfig();
    struct Case {
        const char* what;
        double startAz, endAz, counterAz, startAlt, endAlt, counterAlt;
        std::array<int16_t, 4> bits;  // az plus, az minus, alt plus, alt minus
    } cases[] = {
        {"span -1200 against +30: swapped", 1200, 0, 30, 0, 0, 0, {0, 8, 2, 0}},
        {"both positive: kept", -500, 0, 30, 0, 0, 0, {8, 0, 2, 0}},
        {"nothing counted, no span: kept", 0, 0, 0, 0, 0, 0, {8, 0, 2, 0}},
        {"both negative on azimuth; altitude swapped", 500, 0, -10, 300, 0, 5, {8, 0, 0, 2}},
        {"across north from 359.7 to 0.3 degrees: +0.6, kept", 1295000, 1000, 30, 0, 0, 0, {8, 0, 2, 0}},
        {"across north from 0.3 to 359.7 degrees: -0.6, swapped", 1000, 1295000, 30, 0, 0, 0, {0, 8, 2, 0}},
        {"half a turn and more: the short way, -170 degrees", 0, 190 * 3600, 30, 0, 0, 0, {0, 8, 2, 0}},
        {"an axis the paddle did not move keeps its values", 0, -2000, 0, 0, 3000, 0, {8, 0, 2, 0}},
        {"counted down, span up: swapped", 0, 0, 0, 0, 3000, -5, {8, 0, 0, 2}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        shared.site.AzPlusBits = 8;
        shared.site.AzMinusBits = 0;
        shared.site.AltPlusBits = 2;
        shared.site.AltMinusBits = 0;
        shared.pos.AzimuthArcsec = c.startAz;
        shared.pos.AltitudeArcsec = c.startAlt;
        f.cmdinitcoord_Click();
        EXPECT_EQ(shared.pos.StepCountingOn, vb::True);
        EXPECT_EQ(shared.pos.AzimuthArcsec, 0);
        shared.pos.StepCounterAz = c.counterAz;
        shared.pos.StepCounterAlt = c.counterAlt;
        // The sync on the second star puts the counters there.
        shared.pos.AzimuthArcsec = c.endAz;
        shared.pos.AltitudeArcsec = c.endAlt;
        shared.pos.DirTestSynced = true;
        f.cmdinitok_Click();
        EXPECT_EQ((std::array<int16_t, 4>{shared.site.AzPlusBits, shared.site.AzMinusBits, shared.site.AltPlusBits,
                                          shared.site.AltMinusBits}),
                  c.bits);
        EXPECT_EQ(f.txtazplus->text(), vb::CStr(c.bits[0]));
        EXPECT_EQ(f.txtaltmoins->text(), vb::CStr(c.bits[3]));
        EXPECT_EQ(shared.pos.StepCountingOn, vb::False);
        EXPECT_EQ(shared.pos.AzimuthArcsec, c.endAz) << "the counters stay on the second star";
        EXPECT_TRUE(messages.isEmpty());
    }
}

// The direction test run as the user runs it on the simulated mount.
class DirectionTest : public SetupWindow {
protected:
    void SetUp() override {
        SetupWindow::SetUp();
        shared.drive.PaddleDelayAzMedium = 0;
        frmcoord().picraquette_Click();  // the paddle on
        Sim().ClearWrites();
    }
    // Synchronised on star `row` of the bright-star list.
    void SyncOn(int row) {
        frmcoord().lbObjets->setCurrentRow(row);
        frmcoord().cmdreinit_Click();
    }
    // The paddle's "+" azimuth button (medium speed) held for `pulses`
    // pulses, with a clock tick after each paddle tick.
    void PaddlePlus(int pulses) { PaddleHeld(137, pulses); }
    // The paddle button of `code` held for `pulses` pulses of either axis
    // (a reversal spends its first tick on the slack), with a clock tick
    // after each paddle tick.
    void PaddleHeld(int16_t code, int pulses) {
        const int64_t az = Sim().AzSteps(), alt = Sim().AltSteps();
        const auto sent = [&] { return std::llabs(Sim().AzSteps() - az) + std::llabs(Sim().AltSteps() - alt); };
        Sim().HoldPaddleCode(code);
        seams::SetDoEvents([&] {
            if (sent() >= pulses) Sim().HoldPaddleCode(11);
        });
        for (int tick = 0; tick < 3 && sent() < pulses; ++tick) {
            frminterface().Timer_Timer();
            frminterface().heuretimer_Timer();
        }
        seams::SetDoEvents({});
        Sim().HoldPaddleCode(11);
        frminterface().Timer_Timer();
    }
    // Two bright stars above the horizon, the second 10 to 90 degrees east of
    // the first (the short way).
    std::pair<int, int> TwoStars() {
        std::vector<std::pair<double, int>> seen;
        for (int row = 0; row < frmcoord().lbObjets->count(); ++row) {
            SyncOn(row);
            if (shared.pos.AltitudeArcsec > 15 * 3600) seen.push_back({shared.pos.AzimuthArcsec, row});
        }
        for (const auto& [az1, a] : seen)
            for (const auto& [az2, b] : seen) {
                const double east = std::remainder(az2 - az1, 1296000.0);
                if (east > 10 * 3600 && east < 90 * 3600) return {a, b};
            }
        ADD_FAILURE() << "no two stars";
        return {0, 1};
    }
    static std::array<int16_t, 4> Bits() {
        const auto& s = shared.site;
        return {s.AzPlusBits, s.AzMinusBits, s.AltPlusBits, s.AltMinusBits};
    }
};

TEST_F(DirectionTest, WithoutASyncTheValuesStayAndTheMessageSaysWhy) {
    // From a fresh start on a correctly wired mount.
    Frmconfig& f = frmconfig();
    shared.pos.AzimuthArcsec = 100 * 3600;
    shared.pos.AltitudeArcsec = 40 * 3600;
    f.cmdinitcoord_Click();
    PaddlePlus(40);
    EXPECT_GT(shared.pos.StepCounterAz, 0) << "the plus way, counted";
    f.cmdinitok_Click();
    EXPECT_EQ(Bits(), (std::array<int16_t, 4>{8, 0, 2, 0}));
    EXPECT_EQ(f.txtazplus->text(), "8");
    EXPECT_EQ(f.txtazmoins->text(), "0");
    ASSERT_EQ(messages.size(), 1);
    EXPECT_EQ(messages[0], kDirectionTestNeedsSyncMessage);
    EXPECT_TRUE(messages[0].contains("seconde étoile"));
    EXPECT_EQ(shared.pos.StepCountingOn, vb::False);
    // The counters say where the telescope points: where the test began, and
    // the paddle's 40 pulses once the clock has applied them.
    frminterface().heuretimer_Timer();
    EXPECT_DOUBLE_EQ(shared.pos.AzimuthArcsec, 100 * 3600 + 40 * shared.site.AzStepArcsec);
    EXPECT_DOUBLE_EQ(shared.pos.AltitudeArcsec, 40 * 3600);
    // Any later goto drives azimuth the right way: plus is still 8.
    EXPECT_EQ(Sim().AzSteps(), 40);
}

TEST_F(DirectionTest, WithoutASyncAGotoMadeDuringTheTestStillCounts) {
    // The second star reached by "Pointage automatique" instead of the
    // paddle: the goto counts from the zeroed counters and moves the mount.
    shared.site.BacklashAz = shared.site.BacklashAlt = 0;
    shared.drive.AltazSpeedTable = {};  // as fast as the port goes
    const auto [first, second] = TwoStars();
    SyncOn(first);
    const double az0 = shared.pos.AzimuthArcsec, alt0 = shared.pos.AltitudeArcsec;
    const int64_t azSteps = Sim().AzSteps(), altSteps = Sim().AltSteps();
    frmconfig().cmdinitcoord_Click();
    frmcoord().lbObjets->setCurrentRow(second);
    frmcoord().cmdpointage_Click();
    ASSERT_NE(Sim().AzSteps(), azSteps) << "the goto moved the mount";
    messages.clear();
    frmconfig().cmdinitok_Click();
    ASSERT_EQ(messages.size(), 1);
    EXPECT_EQ(messages[0], kDirectionTestNeedsSyncMessage);
    // The counters say where the mount went: from the first star, by the goto's pulses.
    frminterface().heuretimer_Timer();
    const double mountAz = WrappedAzimuth(az0 + static_cast<double>(Sim().AzSteps() - azSteps) * shared.site.AzStepArcsec);
    EXPECT_NEAR(std::remainder(shared.pos.AzimuthArcsec - mountAz, 1296000.0), 0, 1e-6);
    EXPECT_DOUBLE_EQ(shared.pos.AltitudeArcsec,
                     alt0 + static_cast<double>(Sim().AltSteps() - altSteps) * shared.site.AltStepArcsec);
}

TEST_F(DirectionTest, SyncOnAStarThePaddleToASecondStarAndASyncOnIt) {
    struct Case {
        const char* what;
        std::array<int16_t, 4> before, after;
    } cases[] = {
        {"a correctly wired mount keeps its values", {8, 0, 2, 0}, {8, 0, 2, 0}},
        {"an azimuth motor wired the other way is swapped back", {0, 8, 2, 0}, {8, 0, 2, 0}},
    };
    const auto [first, second] = TwoStars();
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        auto& s = shared.site;
        s.AzPlusBits = c.before[0];
        s.AzMinusBits = c.before[1];
        s.AltPlusBits = c.before[2];
        s.AltMinusBits = c.before[3];
        messages.clear();
        SyncOn(first);
        frmconfig().cmdinitcoord_Click();
        PaddlePlus(30);  // the mount turns the plus way (direction line high), toward the second star
        EXPECT_EQ(shared.pos.StepCounterAz, c.before[0] == 8 ? 10 : -10) << "counted from 0 at each test";
        SyncOn(second);
        frmconfig().cmdinitok_Click();
        EXPECT_EQ(Bits(), c.after);
        EXPECT_TRUE(messages.isEmpty());
        // The counters stay on the second star: the paddle's pulses before
        // the sync are part of the position it declared.
        const double az = shared.pos.AzimuthArcsec;
        frminterface().heuretimer_Timer();
        EXPECT_EQ(shared.pos.AzimuthArcsec, az);
    }
}

TEST_F(DirectionTest, AMotorFoundReversedKeepsItsSlackWhereTheGearsAre) {
    // The azimuth motor is wired the other way round from its direction
    // values, and the gears have play. Once the test has swapped the values,
    // every reversal still takes up the play as the gears see it: the
    // counters stay on the mount.
    const auto [first, second] = TwoStars();
    for (const auto& [play, nudged] : {std::pair{0, false}, std::pair{5, false}, std::pair{5, true}}) {
        SCOPED_TRACE(testing::Message() << "play " << play << (nudged ? ", nudged after the sync" : ""));
        auto& s = shared.site;
        s.BacklashAz = s.BacklashAlt = play;
        Sim().SetPlay(play, play);
        slack::Reset();
        shared.drive.AltazSpeedTable = {};  // as fast as the port goes
        s.AzPlusBits = 0;
        s.AzMinusBits = 8;
        s.AltPlusBits = 2;
        s.AltMinusBits = 0;
        messages.clear();
        SyncOn(first);
        frmconfig().cmdinitcoord_Click();
        PaddlePlus(30);  // east, toward the second star, counted as minus
        SyncOn(second);
        // The mount from the second star on: where its axes are.
        const double az0 = shared.pos.AzimuthArcsec, alt0 = shared.pos.AltitudeArcsec;
        const int64_t axisAz0 = Sim().AzAxis(), axisAlt0 = Sim().AltAxis();
        // Pulses after the sync, before "ok", are counted the old way round
        // and wait for the clock: they count the new way once it applies them.
        if (nudged) PaddlePlus(10);
        frmconfig().cmdinitok_Click();
        ASSERT_EQ(Bits(), (std::array<int16_t, 4>{8, 0, 2, 0}));
        ASSERT_TRUE(messages.isEmpty());
        frminterface().heuretimer_Timer();
        const auto drift = [&] {
            const double step = s.AzStepArcsec;
            const double counterAz = shared.pos.AzimuthArcsec + step * shared.pos.PendingAzSteps;
            const double counterAlt = shared.pos.AltitudeArcsec + s.AltStepArcsec * shared.pos.PendingAltSteps;
            const double mountAz = az0 + static_cast<double>(Sim().AzAxis() - axisAz0) * step;
            const double mountAlt = alt0 + static_cast<double>(Sim().AltAxis() - axisAlt0) * s.AltStepArcsec;
            return std::max(std::fabs(std::remainder(counterAz - mountAz, 1296000.0)), std::fabs(counterAlt - mountAlt));
        };
        const auto slackOnTheGears = [&] {
            return slack::TakeUp(slack::Azimuth(), vb::True, play) == Sim().AzPlusGap() &&
                   slack::TakeUp(slack::Altitude(), vb::True, play) == Sim().AltPlusGap();
        };
        EXPECT_EQ(frmcoord().txtsens->text(), vb::BoolText(vb::True)) << "the azimuth last turned the plus way, east";
        EXPECT_LT(drift(), 1e-6) << "after the swap";
        EXPECT_TRUE(slackOnTheGears()) << "after the swap";

        struct Step {
            const char* what;
            std::function<void()> act;
        };
        const auto gotoStar = [](int row) {
            frmcoord().lbObjets->setCurrentRow(row);
            frmcoord().cmdpointage_Click();
        };
        const Step steps[] = {
            {"paddle back west: a reversal", [&] { PaddleHeld(9, 25); }},
            {"paddle east again", [&] { PaddleHeld(137, 25); }},
            {"goto back to the first star", [&] { gotoStar(first); }},
            {"paddle east", [&] { PaddleHeld(137, 20); }},
            {"goto to the second star", [&] { gotoStar(second); }},
            {"paddle west", [&] { PaddleHeld(9, 20); }},
        };
        for (const Step& step : steps) {
            SCOPED_TRACE(step.what);
            const int64_t before = Sim().AzSteps();
            step.act();
            ASSERT_NE(Sim().AzSteps(), before) << "the azimuth moved";
            frminterface().heuretimer_Timer();
            EXPECT_LT(drift(), 1e-6);
            EXPECT_TRUE(slackOnTheGears());
        }
        EXPECT_TRUE(messages.isEmpty()) << messages.join('\n').toStdString();
    }
}

TEST_F(SetupWindow, AFailedSaveIsToldAndKeepsTheMechanicsInUse) {
    Frmconfig& f = frmconfig();
    QFile::remove(datadir::Folder() + "/config_altaz.ini");
    QDir(datadir::Folder()).mkdir("config_altaz.ini");  // a folder in its place: no file can be saved there
    f.txtRaz->setText("3");
    f.Frame3->txtbacklash_az->setText("50");
    f.cmdvalid_Click();
    ASSERT_EQ(messages.size(), 1);
    EXPECT_TRUE(messages[0].contains("config_altaz.ini"));
    EXPECT_EQ(shared.site.AzimuthRatio, 100);
    EXPECT_EQ(ReadData("backlash.ini"), "0\r\n0\r\n") << "nothing more is written";
}
