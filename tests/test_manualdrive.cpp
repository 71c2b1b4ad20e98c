// The manual-drive window, for both mounts: the direction cross on the
// simulated port, the speed levels, the speed panel and the saved table.
#include "altaz/frmaltazpilot.h"
#include "altaz/frmcoord.h"
#include "core/state.h"
#include "equatorial/frmequapilot.h"
#include "motor/speedtables.h"
#include "platform/datadir.h"
#include "platform/vbrt.h"
#include "shell/frminterface.h"
#include "tests/altazfixture.h"

#include <QCoreApplication>
#include <QEvent>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QSlider>
#include <QStyle>
#include <QStyleOptionSlider>
#include <QTest>

#include <functional>
#include <ostream>
#include <string>

using port::Write;

namespace {

// What differs between the two mounts' windows.
struct DriveConfig {
    const char* name;
    Frmaltazpilot& (*window)();
    bool (*loaded)();
    SpeedTable DriveState::*table;
    const char* file;
    const char* caption;
    int width, height, panelWidth, panelLeft;
    const char* azFrame;
    const char* altFrame;
    const char* azHeading;
    const char* altHeading;
    const char* azBox0;
    const char* altBox4;
    const char* levelZeroBar;
    bool countsPositions;  // the alt-azimuth moves count their pulses
};

// Test names and messages show the mount.
void PrintTo(const DriveConfig& c, std::ostream* os) { *os << c.name; }

Frmaltazpilot& altazWindow() { return frmaltazpilot(); }
Frmaltazpilot& equaWindow() { return frmequapilot(); }

const DriveConfig kConfigs[] = {
    {"altaz", altazWindow, forms::Loaded<Frmaltazpilot>, &DriveState::AltazSpeedTable, "vitessealtaz.ini",
     " Pilotage altazimutal", 5500, 4710, 10200, 5520, "Azimut", "Altitude", "Vitesses Azimut",
     "Vitesses Altitude", "tAZ0", "tAlt4", "I", true},
    {"equatorial", equaWindow, forms::Loaded<Frmequapilot>, &DriveState::EquaSpeedTable, "vitesseequa.ini",
     "Pilotage équatorial", 6000, 4800, 10680, 6000, "Ascension droite", "Déclinaison", "Vitesses A.D",
     "Vitesses Déc.", "tAD0", "tDc4", "Sid.", false},
};

class ManualDrive : public AltazWindowTest, public testing::WithParamInterface<DriveConfig> {
protected:
    void SetUp() override {
        AltazWindowTest::SetUp();
        // Short delays: the moves run at once.
        shared.drive.AltazSpeedTable = {{{500, 550}, {400, 450}, {300, 350}, {200, 250}, {100, 150}}};
        shared.drive.EquaSpeedTable = shared.drive.AltazSpeedTable;
        Sim().ClearWrites();
    }

    static const DriveConfig& Config() { return GetParam(); }
    static Frmaltazpilot& Window() { return Config().window(); }
    static SpeedTable& Table() { return shared.drive.*(Config().table); }
    // A window width as the frame shows it, to the nearest pixel.
    static int Shown(int twips) { return twips::FromPixels(twips::ToPixels(twips)); }

    // Runs `action` at the first pass of events of pulse k (its first write made).
    void AtPulse(int k, std::function<void()> action) {
        events = 0;
        onEvents = [k, action](int n) {
            if (n == 2 * k - 1) action();
        };
    }
};

TEST_P(ManualDrive, LoadingSetsLevelsModeAndBoxesAndTakesThePort) {
    const DriveConfig& m = Config();
    shared.drive.MotorMode = 2;
    shared.drive.SpeedIndexAz = 0;
    Table() = {{{600, 625}, {400000, 2000000}, {20, -100}, {50000, 50}, {25000, 1638350}}};
    const Frmaltazpilot& p = Window();
    EXPECT_EQ(p.windowTitle(), QString::fromUtf8(m.caption));
    EXPECT_EQ(p.TwipsWidth(), Shown(m.width));
    EXPECT_EQ(p.TwipsHeight(), m.height);
    EXPECT_EQ(Writes(), (std::vector<Write>{{890, 1}}));
    EXPECT_EQ(shared.drive.MotorMode, 0);
    EXPECT_EQ(shared.drive.SpeedIndexAz, 3);
    EXPECT_EQ(shared.drive.SpeedIndexAlt, 3);
    EXPECT_EQ(shared.drive.SpeedChanged, 0);
    EXPECT_EQ(p.slaz->value(), 3);
    EXPECT_EQ(p.slalt->value(), 3);
    for (const QLineEdit* b : {p.txtnumaz, p.txtnumalt}) EXPECT_EQ(b->text(), "4");
    for (const QLineEdit* b : {p.txtv_az, p.txtv_alt}) EXPECT_EQ(b->text(), "IIIIIIIIII");
    EXPECT_EQ(p.Fraz->title(), QString::fromUtf8(m.azFrame));
    EXPECT_EQ(p.Fralt->title(), QString::fromUtf8(m.altFrame));
    EXPECT_EQ(p.Label3->text(), QString::fromUtf8(m.azHeading));
    EXPECT_EQ(p.Label2->text(), QString::fromUtf8(m.altHeading));
    EXPECT_EQ(p.lblvit->Caption(), "8");

    struct Case {
        int bar;
        const char* box;
        int position;
    } cases[] = {
        {0, "12", 12},         // 600
        {5, "12", 12},         // 625: 12.5 rounded to the even 12, the bar rewrites the box
        {1, "8000", 8000},     // 400000
        {6, "40000", 32767},   // beyond the bar: the bar at its end, the box keeps the value
        {2, "0.4", 0},         // a bar left at 0 does not rewrite its box
        {7, "-2", 0},          // below the bar
        {3, "1000", 1000},     {8, "1", 1},
        {4, "500", 500},       {9, "32767", 32767},
    };
    for (const Case& c : cases) {
        const QLineEdit* box = c.bar < 5 ? p.tAZ[c.bar] : p.tAlt[c.bar - 5];
        EXPECT_EQ(box->text(), c.box) << "HScroll" << c.bar + 1;
        EXPECT_EQ(p.HScroll[c.bar]->value(), c.position) << "HScroll" << c.bar + 1;
    }
    EXPECT_EQ(p.tAZ[0]->objectName(), m.azBox0);
    EXPECT_EQ(p.tAlt[4]->objectName(), m.altBox4);
}

TEST_P(ManualDrive, EachButtonPulsesItsAxisUntilStop) {
    struct Case {
        const char* name;
        QPushButton* Frmaltazpilot::*button;
        int direction, step;
        int az, alt;  // where the simulated mount goes in 3 pulses
    } cases[] = {
        {"cmdad", &Frmaltazpilot::cmdad, 8, 4, 3, 0},
        {"cmdag", &Frmaltazpilot::cmdag, 0, 4, -3, 0},
        {"cmdhh", &Frmaltazpilot::cmdhh, 2, 1, 0, 3},
        {"cmdhb", &Frmaltazpilot::cmdhb, 0, 1, 0, -3},
    };
    Frmaltazpilot& p = Window();
    const bool counted = Config().countsPositions;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Sim().ClearWrites();
        Sim().ResetMount();
        shared.pos.PendingAzSteps = 0;
        shared.pos.PendingAltSteps = 0;
        AtPulse(3, [&] { p.cmddstop->click(); });
        (p.*c.button)->click();
        EXPECT_EQ(Data(), Pulses(3, c.direction, c.step)) << "the pulse under way is finished";
        EXPECT_EQ(Sim().AzSteps(), c.az);
        EXPECT_EQ(Sim().AltSteps(), c.alt);
        EXPECT_EQ(shared.pos.PendingAzSteps, counted ? c.az : 0) << "counted as sent, on the alt-azimuth mount";
        EXPECT_EQ(shared.pos.PendingAltSteps, counted ? c.alt : 0);
        EXPECT_EQ(shared.drive.MotorMode, 0);
        for (const QPushButton* b : {p.cmdad, p.cmdag, p.cmdhh, p.cmdhb})
            EXPECT_FALSE(b->isChecked()) << b->objectName().toStdString();
    }
}

TEST_P(ManualDrive, AnotherButtonDuringAMoveTakesThePortUntilStop) {
    Frmaltazpilot& p = Window();
    // Up pressed during the second azimuth pulse; stop during the second altitude pulse.
    int stage = 0;
    events = 0;
    onEvents = [&](int n) {
        if (n != 3) return;
        if (stage == 0) {
            stage = 1;
            events = 0;
            p.cmdhh->click();
        } else if (stage == 1) {
            stage = 2;
            p.cmddstop->click();
        }
    };
    p.cmdad->click();
    // First pulse of the azimuth move, its second begun; two altitude pulses; the azimuth pulse finished.
    EXPECT_EQ(Data(), Concat(Concat(Pulses(1, 8, 4), {8}), Concat(Pulses(2, 2, 1), {12})));
    EXPECT_FALSE(p.cmdad->isChecked());
    EXPECT_FALSE(p.cmdhh->isChecked());
}

TEST_P(ManualDrive, ASliderClickChangesTheDelayFromTheNextPulse) {
    Frmaltazpilot& p = Window();
    std::vector<int32_t> delays;
    events = 0;
    onEvents = [&](int n) {
        delays.push_back(shared.drive.StepDelay);
        if (n == 3) p.slaz->setValue(0);
        if (n == 6) p.cmddstop->click();
    };
    p.cmdad->click();
    EXPECT_EQ(delays, (std::vector<int32_t>{200, 200, 200, 200, 500, 500})) << "pulse 2 ends at its own delay";
    EXPECT_EQ(shared.drive.SpeedChanged, vb::True);
}

TEST_P(ManualDrive, AClickOnASlidersHandleThatDoesNotMoveItStillCounts) {
    Frmaltazpilot& p = Window();
    p.Show();
    QCoreApplication::processEvents();
    for (QSlider* slider : {p.slaz, p.slalt}) {
        shared.drive.SpeedChanged = 0;
        QStyleOptionSlider option;
        option.initFrom(slider);
        option.orientation = slider->orientation();
        option.minimum = slider->minimum();
        option.maximum = slider->maximum();
        option.sliderPosition = option.sliderValue = slider->value();
        const QRect handle =
            slider->style()->subControlRect(QStyle::CC_Slider, &option, QStyle::SC_SliderHandle, slider);
        QTest::mouseClick(slider, Qt::LeftButton, {}, handle.center());
        EXPECT_EQ(slider->value(), 3) << slider->objectName().toStdString();
        EXPECT_EQ(shared.drive.SpeedChanged, vb::True) << slider->objectName().toStdString();
    }
}

TEST_P(ManualDrive, SlidersShowTheLevel) {
    Frmaltazpilot& p = Window();
    const char* const bars[5] = {Config().levelZeroBar, "IIII", "IIIIIII", "IIIIIIIIII", "IIIIIIIIIIIII"};
    for (int level : {0, 1, 2, 4, 3}) {
        p.slaz->setValue(level);
        p.slalt->setValue(4 - level);
        EXPECT_EQ(shared.drive.SpeedIndexAz, level);
        EXPECT_EQ(shared.drive.SpeedIndexAlt, 4 - level);
        EXPECT_EQ(p.txtv_az->text(), bars[level]);
        EXPECT_EQ(p.txtnumaz->text(), vb::CStr(level + 1));
        EXPECT_EQ(p.txtv_alt->text(), level == 4 ? "I" : bars[4 - level]) << "level 0 of the second axis is a bar";
        EXPECT_EQ(p.txtnumalt->text(), vb::CStr(5 - level));
    }
}

TEST_P(ManualDrive, OkStoresTheBoxesInTheTableAndTheFile) {
    const QString file = QString::fromLatin1(Config().file);
    Table() = {{{600, 625}, {400000, 200000}, {100000, 100000}, {50000, 50000}, {25000, 25000}}};
    Frmaltazpilot& p = Window();
    p.HScroll[2]->setValue(37);
    EXPECT_EQ(p.tAZ[2]->text(), "37") << "a bar writes its box";
    p.tAZ[3]->setText("");
    p.tAZ[4]->setText("0");
    p.tAlt[1]->setText(" 4000 ");
    p.tAlt[2]->setText("12.33");
    p.tAlt[3]->setText("2e3");
    p.cmdvalid->click();
    const SpeedTable expected = {{{600, 600}, {400000, 200000}, {1850, 616}, {50000, 100000}, {25000, 25000}}};
    EXPECT_EQ(Table(), expected);
    EXPECT_EQ(ReadData(file), "600\r\n400000\r\n1850\r\n50000\r\n25000\r\n600\r\n200000\r\n616\r\n100000\r\n25000\r\n")
        << "the file holds the delays the table holds";
    EXPECT_TRUE(messages.isEmpty());

    // Every box emptied: the file holds the table, the table stays.
    for (QLineEdit* b : p.tAZ) b->clear();
    for (QLineEdit* b : p.tAlt) b->clear();
    p.cmdvalid->click();
    EXPECT_EQ(Table(), expected);
    EXPECT_EQ(ReadData(file), "600\r\n400000\r\n1850\r\n50000\r\n25000\r\n600\r\n200000\r\n616\r\n100000\r\n25000\r\n");

    // A file that cannot be written: told, the table unchanged.
    WriteData("blocker", QByteArray("x"));
    const QString folder = datadir::Path("\\data\\");
    datadir::SetFolder(datadir::Path("\\data\\blocker"));
    p.tAZ[0]->setText("99");
    p.cmdvalid->click();
    datadir::SetFolder(folder);
    ASSERT_EQ(messages.size(), 1);
    EXPECT_TRUE(messages[0].contains(file));
    EXPECT_EQ(Table(), expected);
}

TEST_P(ManualDrive, ABoxThatHoldsNoDelayTheTableCanKeepSavesNothing) {
    const QString file = QString::fromLatin1(Config().file);
    const SpeedTable table = {{{600, 650}, {400000, 200000}, {100000, 100000}, {50000, 50000}, {25000, 25000}}};
    Table() = table;
    Frmaltazpilot& p = Window();
    p.Show();
    const QString before = ReadData(file);
    const QString level2 = QString::fromUtf8(Config().altHeading) + ", niveau 2";
    for (const char* typed : {"-5", "1,5", "12abc", "abc", "nan", "inf", "1e308", "42949673", "-0.5", "99999999999"}) {
        p.tAZ[0]->setText("20");  // a good box before it changes nothing either
        p.tAlt[1]->setText(QString::fromLatin1(typed));
        p.cmdvalid->click();
        ASSERT_FALSE(messages.isEmpty());
        EXPECT_TRUE(messages[0].contains(QStringLiteral("\n0, ou une case laissée vide, garde le délai enregistré.\n")))
            << messages[0].toStdString();
        ExpectRefusal(level2, QStringLiteral("un nombre de 0 à 42949672"));
        EXPECT_EQ(ReadData(file), before) << typed;
        EXPECT_EQ(Table(), table) << typed;
        EXPECT_TRUE(p.Shown());
        EXPECT_EQ(p.tAlt[1]->text(), QString::fromLatin1(typed)) << "the box keeps what was typed";
    }

    // The largest box: its delay is the largest 32-bit count that is a
    // multiple of 50, and the next start-up reads it without a word.
    p.tAlt[1]->setText("42949672");
    p.cmdvalid->click();
    EXPECT_EQ(Table()[1][1], 2147483600);
    EXPECT_EQ(ReadData(file).split("\r\n").value(6), "2147483600");
    const SpeedTable kept = Table();
    LoadSpeedTables();
    EXPECT_TRUE(messages.isEmpty()) << messages.join('\n').toStdString();
    EXPECT_EQ(Table(), kept);
}

TEST_P(ManualDrive, TheSpeedPanelWidensTheWindow) {
    const DriveConfig& m = Config();
    Frmaltazpilot& p = Window();
    for (const auto& [caption, width] :
         {std::pair{"7", m.panelWidth}, std::pair{"8", m.width}, std::pair{"7", m.panelWidth}}) {
        p.lblvit_Click();
        EXPECT_EQ(p.lblvit->Caption(), caption);
        EXPECT_NEAR(p.TwipsWidth(), width, 7);
        EXPECT_EQ(p.TwipsHeight(), m.height);
    }
    EXPECT_EQ(p.Frame2->title(), "Réglage des vitesses");
    EXPECT_EQ(p.Frame2->x(), twips::ToPixels(m.panelLeft));
}

TEST_P(ManualDrive, QuitOrAnyCloseEndsTheMove) {
    for (const char* how : {"Quitter", "title bar"}) {
        SCOPED_TRACE(how);
        Window().Show();
        Frmaltazpilot& p = Window();
        Sim().ClearWrites();
        AtPulse(2, [&] {
            if (QString(how) == "Quitter") p.Cmdquit->click();
            else p.parentWidget()->close();
        });
        p.cmdhb->click();
        EXPECT_EQ(Data(), Pulses(2, 0, 1));
        EXPECT_EQ(shared.drive.MotorMode, 0);
        EXPECT_FALSE(Config().loaded());
        onEvents = nullptr;
        QCoreApplication::processEvents();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }
}

TEST_P(ManualDrive, NoMoveWhileAGotoRuns) {
    Frmaltazpilot& p = Window();
    Sim().ClearWrites();
    shared.altgoto.GotoRunning = true;
    for (QPushButton* b : {p.cmdad, p.cmdag, p.cmdhh, p.cmdhb}) {
        b->click();
        EXPECT_FALSE(b->isChecked());
    }
    EXPECT_TRUE(Data().empty());
    EXPECT_EQ(shared.drive.MotorMode, 0);
}

INSTANTIATE_TEST_SUITE_P(BothMounts, ManualDrive, testing::ValuesIn(kConfigs),
                         [](const testing::TestParamInfo<DriveConfig>& info) { return std::string(info.param.name); });

using EquatorialManualDrive = ManualDrive;

TEST_F(EquatorialManualDrive, TheEquatorialWindowIsTheSameWindowWithItsOwnSettings) {
    Frmequapilot& p = frmequapilot();
    EXPECT_EQ(p.windowTitle(), "Pilotage équatorial");
    EXPECT_EQ(p.TwipsWidth(), 6000);
    EXPECT_EQ(p.TwipsHeight(), 4800);
    EXPECT_EQ(p.Fraz->title(), "Ascension droite");
    EXPECT_EQ(p.Fralt->title(), "Déclinaison");
    EXPECT_EQ(p.Label3->text(), "Vitesses A.D");
    EXPECT_EQ(p.Label2->text(), "Vitesses Déc.");
    EXPECT_EQ(p.tAD[0]->objectName(), "tAD0");
    EXPECT_EQ(p.tDc[4]->objectName(), "tDc4");
    EXPECT_EQ(p.Frame2->x(), twips::ToPixels(6000));
    p.lblvit_Click();
    EXPECT_NEAR(p.TwipsWidth(), 10680, 7);

    p.slaz->setValue(0);
    EXPECT_EQ(p.txtv_az->text(), "Sid.");
    EXPECT_EQ(p.txtnumaz->text(), "1");
    p.slalt->setValue(0);
    EXPECT_EQ(p.txtv_alt->text(), "I");

    // Moves on the equatorial table, counting no position.
    Sim().ClearWrites();
    AtPulse(2, [&] { p.cmddstop->click(); });
    p.cmdad->click();
    EXPECT_EQ(Data(), Pulses(2, 8, 4));
    EXPECT_EQ(shared.pos.PendingAzSteps, 0);

    p.tAD[0]->setText("7");
    p.cmdvalid->click();
    EXPECT_EQ(shared.drive.EquaSpeedTable[0][0], 350);
    EXPECT_TRUE(ReadData("vitesseequa.ini").startsWith("350\r\n"));
    EXPECT_EQ(shared.drive.AltazSpeedTable[0][0], 500) << "the other mount's table untouched";
}

}  // namespace
