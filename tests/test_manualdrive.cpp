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

#include <functional>

using port::Write;

namespace {

class ManualDrive : public AltazWindowTest {
protected:
    void SetUp() override {
        AltazWindowTest::SetUp();
        // Short delays: the moves run at once.
        shared.drive.AltazSpeedTable = {{{500, 550}, {400, 450}, {300, 350}, {200, 250}, {100, 150}}};
        shared.drive.EquaSpeedTable = shared.drive.AltazSpeedTable;
        Sim().ClearWrites();
    }

    // Runs `action` at the first pass of events of pulse k (its first write made).
    void AtPulse(int k, std::function<void()> action) {
        events = 0;
        onEvents = [k, action](int n) {
            if (n == 2 * k - 1) action();
        };
    }
};

TEST_F(ManualDrive, LoadingSetsLevelsModeAndBoxesAndTakesThePort) {
    shared.drive.MotorMode = 2;
    shared.drive.SpeedIndexAz = 0;
    shared.drive.AltazSpeedTable = {{{600, 625}, {400000, 2000000}, {20, -100}, {50000, 50}, {25000, 1638350}}};
    const Frmaltazpilot& p = frmaltazpilot();
    EXPECT_EQ(p.windowTitle(), " Pilotage altazimutal");
    EXPECT_EQ(p.TwipsWidth(), 5505);  // 5500 twips, to the nearest pixel
    EXPECT_EQ(p.TwipsHeight(), 4710);
    EXPECT_EQ(Writes(), (std::vector<Write>{{890, 1}}));
    EXPECT_EQ(shared.drive.MotorMode, 0);
    EXPECT_EQ(shared.drive.SpeedIndexAz, 3);
    EXPECT_EQ(shared.drive.SpeedIndexAlt, 3);
    EXPECT_EQ(shared.drive.SpeedChanged, 0);
    EXPECT_EQ(p.slaz->value(), 3);
    EXPECT_EQ(p.slalt->value(), 3);
    for (const QLineEdit* b : {p.txtnumaz, p.txtnumalt}) EXPECT_EQ(b->text(), "4");
    for (const QLineEdit* b : {p.txtv_az, p.txtv_alt}) EXPECT_EQ(b->text(), "IIIIIIIIII");
    EXPECT_EQ(p.Fraz->title(), "Azimut");
    EXPECT_EQ(p.Fralt->title(), "Altitude");
    EXPECT_EQ(p.Label3->text(), "Vitesses Azimut");
    EXPECT_EQ(p.Label2->text(), "Vitesses Altitude");
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
    EXPECT_EQ(p.tAZ[0]->objectName(), "tAZ0");
    EXPECT_EQ(p.tAlt[4]->objectName(), "tAlt4");
}

TEST_F(ManualDrive, EachButtonPulsesItsAxisUntilStop) {
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
    Frmaltazpilot& p = frmaltazpilot();
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
        EXPECT_EQ(shared.pos.PendingAzSteps, c.az) << "counted as sent";
        EXPECT_EQ(shared.pos.PendingAltSteps, c.alt);
        EXPECT_EQ(shared.drive.MotorMode, 0);
        for (const QPushButton* b : {p.cmdad, p.cmdag, p.cmdhh, p.cmdhb})
            EXPECT_FALSE(b->isChecked()) << b->objectName().toStdString();
    }
}

TEST_F(ManualDrive, AnotherButtonDuringAMoveTakesThePortUntilStop) {
    Frmaltazpilot& p = frmaltazpilot();
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

TEST_F(ManualDrive, ASliderClickChangesTheDelayFromTheNextPulse) {
    Frmaltazpilot& p = frmaltazpilot();
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

TEST_F(ManualDrive, SlidersShowTheLevel) {
    Frmaltazpilot& p = frmaltazpilot();
    const char* const bars[5] = {"I", "IIII", "IIIIIII", "IIIIIIIIII", "IIIIIIIIIIIII"};
    for (int level : {0, 1, 2, 4, 3}) {
        p.slaz->setValue(level);
        p.slalt->setValue(4 - level);
        EXPECT_EQ(shared.drive.SpeedIndexAz, level);
        EXPECT_EQ(shared.drive.SpeedIndexAlt, 4 - level);
        EXPECT_EQ(p.txtv_az->text(), bars[level]);
        EXPECT_EQ(p.txtnumaz->text(), vb::CStr(level + 1));
        EXPECT_EQ(p.txtv_alt->text(), bars[4 - level]);
        EXPECT_EQ(p.txtnumalt->text(), vb::CStr(5 - level));
    }
}

TEST_F(ManualDrive, OkStoresTheBoxesInTheTableAndTheFile) {
    shared.drive.AltazSpeedTable = {{{600, 625}, {400000, 200000}, {100000, 100000}, {50000, 50000}, {25000, 25000}}};
    Frmaltazpilot& p = frmaltazpilot();
    p.HScroll[2]->setValue(37);
    EXPECT_EQ(p.tAZ[2]->text(), "37") << "a bar writes its box";
    p.tAZ[3]->setText("");
    p.tAZ[4]->setText("0");
    p.tAlt[1]->setText("abc");
    p.tAlt[2]->setText("12.33");
    p.tAlt[3]->setText("-4");
    p.cmdvalid->click();
    const SpeedTable expected = {{{600, 600}, {400000, 200000}, {1850, 616}, {50000, -200}, {25000, 25000}}};
    EXPECT_EQ(shared.drive.AltazSpeedTable, expected);
    EXPECT_EQ(ReadData("vitessealtaz.ini"),
              "600\r\n400000\r\n1850\r\n50000\r\n25000\r\n600\r\n200000\r\n616.5\r\n-200\r\n25000\r\n");
    EXPECT_TRUE(messages.isEmpty());

    // Every box emptied: the file holds the table, the table stays.
    for (QLineEdit* b : p.tAZ) b->clear();
    for (QLineEdit* b : p.tAlt) b->clear();
    p.cmdvalid->click();
    EXPECT_EQ(shared.drive.AltazSpeedTable, expected);
    EXPECT_EQ(ReadData("vitessealtaz.ini"),
              "600\r\n400000\r\n1850\r\n50000\r\n25000\r\n600\r\n200000\r\n616\r\n-200\r\n25000\r\n");

    // A file that cannot be written: told, the table unchanged.
    WriteData("blocker", QByteArray("x"));
    const QString folder = datadir::Path("\\data\\");
    datadir::SetFolder(datadir::Path("\\data\\blocker"));
    p.tAZ[0]->setText("99");
    p.cmdvalid->click();
    datadir::SetFolder(folder);
    ASSERT_EQ(messages.size(), 1);
    EXPECT_TRUE(messages[0].contains("vitessealtaz.ini"));
    EXPECT_EQ(shared.drive.AltazSpeedTable, expected);
}

TEST_F(ManualDrive, TheSpeedPanelWidensTheWindow) {
    Frmaltazpilot& p = frmaltazpilot();
    for (const auto& [caption, width] : {std::pair{"7", 10200}, std::pair{"8", 5500}, std::pair{"7", 10200}}) {
        p.lblvit_Click();
        EXPECT_EQ(p.lblvit->Caption(), caption);
        EXPECT_NEAR(p.TwipsWidth(), width, 7);
        EXPECT_EQ(p.TwipsHeight(), 4710);
    }
    EXPECT_EQ(p.Frame2->title(), "Réglage des vitesses");
    EXPECT_EQ(p.Frame2->x(), twips::ToPixels(5520));
}

TEST_F(ManualDrive, QuitOrAnyCloseEndsTheMove) {
    for (const char* how : {"Quitter", "title bar"}) {
        SCOPED_TRACE(how);
        frmaltazpilot().Show();
        Frmaltazpilot& p = frmaltazpilot();
        Sim().ClearWrites();
        AtPulse(2, [&] {
            if (QString(how) == "Quitter") p.Cmdquit->click();
            else p.parentWidget()->close();
        });
        p.cmdhb->click();
        EXPECT_EQ(Data(), Pulses(2, 0, 1));
        EXPECT_EQ(shared.drive.MotorMode, 0);
        EXPECT_FALSE(forms::Loaded<Frmaltazpilot>());
        onEvents = nullptr;
        QCoreApplication::processEvents();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }
}

TEST_F(ManualDrive, NoMoveWhileAGotoRuns) {
    Frmaltazpilot& p = frmaltazpilot();
    Sim().ClearWrites();
    shared.altgoto.GotoRunning = true;
    for (QPushButton* b : {p.cmdad, p.cmdag, p.cmdhh, p.cmdhb}) {
        b->click();
        EXPECT_FALSE(b->isChecked());
    }
    EXPECT_TRUE(Data().empty());
    EXPECT_EQ(shared.drive.MotorMode, 0);
}

TEST_F(ManualDrive, TheEquatorialWindowIsTheSameWindowWithItsOwnSettings) {
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
