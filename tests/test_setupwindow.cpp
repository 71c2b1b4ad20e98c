#include "altaz/frmconfig.h"
#include "altaz/frmcoord.h"
#include "core/conversions.h"
#include "core/numbers.h"
#include "core/state.h"
#include "platform/vbrt.h"
#include "shell/buttonpictures.h"
#include "shell/frminterface.h"
#include "platform/datadir.h"
#include "tests/fixture.h"

#include <QDir>
#include <QFile>

#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QTimer>

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
    EXPECT_EQ(f.txtbacklash_az->text(), "12");
    EXPECT_EQ(f.txtbacklash_alt->text(), "3");
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
    f.txtbacklash_az->setText("17");
    f.txtbacklash_alt->setText("4");
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

TEST_F(SetupWindow, ABoxThatIsNoNumberSavesNothing) {
    const QString before = ReadData("config_altaz.ini");
    Frmconfig& f = frmconfig();
    f.txtRaz->setText("cent");
    f.txtbacklash_az->setText("99");
    f.cmdvalid_Click();
    ASSERT_EQ(messages.size(), 1);
    EXPECT_TRUE(messages[0].contains(QStringLiteral("Rapport de réduction (azimut)")));
    EXPECT_EQ(ReadData("config_altaz.ini"), before);
    EXPECT_EQ(ReadData("backlash.ini"), "0\r\n0\r\n");
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

TEST_F(SetupWindow, BacklashMeasurement) {
    Frmconfig& f = frmconfig();
    shared.site.BacklashAz = 40;
    f.cmdjeuaz_deb_Click();
    EXPECT_EQ(shared.site.BacklashAz, 0);
    EXPECT_EQ(f.txtbacklash_az->text(), "0");
    EXPECT_EQ(shared.drive.BacklashMeasureAz, vb::True);
    shared.drive.BacklashCountAz = 23;
    f.cmdjeuaz_fin_Click();
    EXPECT_EQ(shared.site.BacklashAz, 23);
    EXPECT_EQ(f.txtbacklash_az->text(), "23");
    EXPECT_EQ(shared.drive.BacklashMeasureAz, vb::False);
    // "Début" then "Fin" with no pulse in between: no backlash.
    f.cmdjeualt_deb_Click();
    f.cmdjeualt_fin_Click();
    EXPECT_EQ(shared.site.BacklashAlt, 0);
    EXPECT_EQ(f.txtbacklash_alt->text(), "0");
}

TEST_F(SetupWindow, DirectionTestSwapsTheValuesOfAnAxisThatCountedAgainstItsSpan) {
    Frmconfig& f = frmconfig();
    struct Case {
        double startAz, counterAz, startAlt, counterAlt;
        std::array<int16_t, 4> bits;  // az plus, az minus, alt plus, alt minus
    } cases[] = {
        {1200, 30, 0, 0, {0, 8, 2, 0}},     // span -1200 against +30: swapped
        {-500, 30, 0, 0, {8, 0, 2, 0}},     // both positive: kept
        {0, 0, 0, 0, {8, 0, 2, 0}},         // nothing counted, no span: kept
        {500, -10, 300, 5, {8, 0, 0, 2}},   // both negative on azimuth; altitude swapped
    };
    for (const auto& c : cases) {
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
        f.cmdinitok_Click();
        EXPECT_EQ((std::array<int16_t, 4>{shared.site.AzPlusBits, shared.site.AzMinusBits, shared.site.AltPlusBits,
                                          shared.site.AltMinusBits}),
                  c.bits)
            << c.startAz << " " << c.counterAz;
        EXPECT_EQ(f.txtazplus->text(), vb::CStr(c.bits[0]));
        EXPECT_EQ(f.txtaltmoins->text(), vb::CStr(c.bits[3]));
        EXPECT_EQ(shared.pos.StepCountingOn, vb::False);
    }
}

TEST_F(SetupWindow, AFailedSaveIsToldAndKeepsTheMechanicsInUse) {
    Frmconfig& f = frmconfig();
    QFile::remove(datadir::Folder() + "/config_altaz.ini");
    QDir(datadir::Folder()).mkdir("config_altaz.ini");  // a folder in its place: no file can be saved there
    f.txtRaz->setText("3");
    f.txtbacklash_az->setText("50");
    f.cmdvalid_Click();
    ASSERT_EQ(messages.size(), 1);
    EXPECT_TRUE(messages[0].contains("config_altaz.ini"));
    EXPECT_EQ(shared.site.AzimuthRatio, 100);
    EXPECT_EQ(ReadData("backlash.ini"), "0\r\n0\r\n") << "nothing more is written";
}
