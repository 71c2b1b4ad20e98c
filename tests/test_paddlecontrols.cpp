#include "altaz/frmcoord.h"
#include "core/state.h"
#include "motor/handpad.h"
#include "platform/datadir.h"
#include "platform/vbrt.h"
#include "shell/buttonpictures.h"
#include "shell/frminterface.h"
#include "tests/fixture.h"

#include <QCheckBox>
#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QScrollBar>
#include <QTimer>

using port::Write;

class PaddleControls : public WindowTest {
protected:
    void SetUp() override {
        WindowTest::SetUp();
        UseShippedData();
        frminterface().MDIForm_Load();
        messages.clear();
    }
};

TEST_F(PaddleControls, TheSwitchHandsThePortToThePaddleAndBack) {
    Frmcoord& c = frmcoord();
    Out32(888, 12);  // a move's bits left on the data register
    Sim().ClearWrites();
    c.picraquette_Click();
    EXPECT_TRUE(c.picraquette->Shows(ButtonPictures[7]));
    EXPECT_EQ(Writes(), (std::vector<Write>{{890, 11}, {888, 0}}));
    EXPECT_EQ(port::LastPortOutput(), 0);
    EXPECT_TRUE(frminterface().Timer->isActive());

    shared.drive.HandPadCode = 137;
    c.picraquette_Click();
    EXPECT_TRUE(c.picraquette->Shows(ButtonPictures[6]));
    EXPECT_FALSE(frminterface().Timer->isActive());
    EXPECT_EQ(shared.drive.HandPadCode, 1000);
    EXPECT_EQ(Writes().size(), 2u);
}

TEST_F(PaddleControls, EachBarSetsItsBoxAndItsPaddleDelay) {
    Frmcoord& c = frmcoord();
    auto& d = shared.drive;
    struct Case {
        QScrollBar* bar;
        QLineEdit* box;
        int32_t* delay;
        int position;
        int32_t expected;
    } cases[] = {
        {c.Frame1->HScrollazl, c.Frame1->txtaz[0], &d.PaddleDelayAzSlow, 0, 1119078},
        {c.Frame1->HScrollazl, c.Frame1->txtaz[0], &d.PaddleDelayAzSlow, 37, 1119078 - 740},
        {c.Frame1->HScrollazm, c.Frame1->txtaz[1], &d.PaddleDelayAzMedium, 32767, 70534},
        {c.Frame1->HScrollazr, c.Frame1->txtaz[2], &d.PaddleDelayAzFast, 32767, 5000},
        {c.Frame1->HScrollaltl, c.Frame1->txtalt[0], &d.PaddleDelayAltSlow, 32767, 463738},
        {c.Frame1->HScrollaltm, c.Frame1->txtalt[1], &d.PaddleDelayAltMedium, 10, 463738 - 120},
        {c.Frame1->HScrollaltr, c.Frame1->txtalt[2], &d.PaddleDelayAltFast, 100, 70534 - 200},
    };
    for (const auto& k : cases) {
        k.bar->setValue(k.position == 0 ? 1 : 0);
        k.bar->setValue(k.position);
        EXPECT_EQ(k.box->text(), vb::CStr(k.expected)) << k.bar->objectName().toStdString();
        EXPECT_EQ(*k.delay, k.expected) << k.bar->objectName().toStdString();
    }
}

TEST_F(PaddleControls, LoadGivesThePaddleTheStoredSpeedsEvenWhenNoBarMoves) {
    shared.drive.ManualSpeedTable = {{{1119078, 1119078 - 2000}, {463738, 463738}, {70534, 9000000}}};
    Frmcoord& c = frmcoord();
    const auto& d = shared.drive;
    EXPECT_EQ(c.Frame1->HScrollazl->value(), 0);
    EXPECT_EQ(d.PaddleDelayAzSlow, 1119078);
    EXPECT_EQ(d.PaddleDelayAltSlow, 1119078 - 2000);
    EXPECT_EQ(d.PaddleDelayAzMedium, 463738);
    EXPECT_EQ(d.PaddleDelayAzFast, 70534);
    EXPECT_EQ(c.Frame1->HScrollaltr->value(), 0) << "a delay beyond the bar puts it at its end";
    EXPECT_EQ(d.PaddleDelayAltFast, 9000000);
    EXPECT_EQ(c.Frame1->txtalt[2]->text(), "9000000");
}

TEST_F(PaddleControls, OkStoresTheSpeedsAndTheInversion) {
    Frmcoord& c = frmcoord();
    c.Frame1->txtaz[0]->setText("13");
    c.Frame1->txtaz[1]->setText("450000 ");
    c.Frame1->txtaz[2]->setText("0");
    c.Frame1->txtalt[1]->setText("");
    c.chkaz->setChecked(true);
    c.chkalt->setChecked(false);
    c.cmdvalid_Click();
    EXPECT_EQ(ReadData("vitessemanu.ini"), "13\r\n450000\r\n70434\r\n1118078\r\n463138\r\n70434\r\n");
    const auto& t = shared.drive.ManualSpeedTable;
    EXPECT_EQ(t[0][0], 13);
    EXPECT_EQ(t[1][0], 450000);
    EXPECT_EQ(t[2][0], 70434) << "a box of 0 keeps the stored speed";
    EXPECT_EQ(t[1][1], 463138) << "an empty box keeps the stored speed";
    EXPECT_EQ(ReadData("inversion.ini"), "Vrai\r\nFaux\r\n");
    EXPECT_EQ(shared.site.InvertAz, vb::True);
    EXPECT_EQ(shared.site.InvertAlt, vb::False);
    EXPECT_TRUE(messages.isEmpty());
}

TEST_F(PaddleControls, OkWithASpeedOutOfItsRangeSavesNeitherFile) {
    const QString manual = ReadData("vitessemanu.ini");
    const QString inversion = ReadData("inversion.ini");
    const auto table = shared.drive.ManualSpeedTable;
    for (const char* typed : {"-5", "12.7", "vite", "1,5", "12abc", "nan", "inf", "1e308", "99999999999"}) {
        SCOPED_TRACE(typed);
        Frmcoord& c = frmcoord();
        c.Frame1->txtaz[0]->setText("500000");
        c.Frame1->txtalt[1]->setText(QString::fromUtf8(typed));
        c.chkaz->setChecked(true);
        messages.clear();
        c.cmdvalid_Click();
        ASSERT_FALSE(messages.isEmpty());
        EXPECT_TRUE(messages[0].contains(QStringLiteral("\n0, ou une case laissée vide, garde le délai enregistré.\n")))
            << messages[0].toStdString();
        ExpectRefusal(QStringLiteral("Raquette Altitude, vitesse moyenne"), QStringLiteral("un nombre entier de 0 à 2147483647"));
        EXPECT_EQ(ReadData("vitessemanu.ini"), manual);
        EXPECT_EQ(ReadData("inversion.ini"), inversion);
        EXPECT_EQ(shared.drive.ManualSpeedTable, table);
        EXPECT_EQ(shared.site.InvertAz, vb::False);
        EXPECT_EQ(c.Frame1->txtalt[1]->text(), QString::fromUtf8(typed));
    }

    // The inversion file cannot be replaced: the speeds file keeps its old content too.
    QFile::remove(datadir::Folder() + "/inversion.ini");
    QDir(datadir::Folder()).mkdir("inversion.ini");
    frmcoord().Frame1->txtalt[1]->setText("400000");
    messages.clear();
    frmcoord().cmdvalid_Click();
    ASSERT_EQ(messages.size(), 1);
    EXPECT_TRUE(messages[0].contains("inversion.ini")) << messages[0].toStdString();
    EXPECT_EQ(ReadData("vitessemanu.ini"), manual);
    EXPECT_EQ(shared.drive.ManualSpeedTable, table);
}

TEST_F(PaddleControls, TheInversionBoxesActOnThePaddleAtOnce) {
    Frmcoord& c = frmcoord();
    c.Show();
    frminterface().show();
    c.chkalt->click();
    EXPECT_EQ(shared.site.InvertAlt, vb::True);
    EXPECT_EQ(ReadData("inversion.ini"), "Faux\r\nFaux\r\n") << "the file waits for OK";
    c.chkalt->click();
    EXPECT_EQ(shared.site.InvertAlt, vb::False);
}

TEST_F(PaddleControls, WithThePaddleOnTheTimerMovesTheMountAndTheClockCountsIt) {
    Frmcoord& c = frmcoord();
    shared.drive.ManualSpeedTable = {};
    c.picraquette_Click();  // on
    c.Frame1->HScrollazm->setValue(100);
    shared.drive.PaddleDelayAzMedium = 0;
    Sim().ResetMount();
    // The medium azimuth button held for 30 pulses, then released.
    int events = 0;
    Sim().HoldPaddleCode(137);
    seams::SetDoEvents([&] {
        if (++events == 60) Sim().HoldPaddleCode(11);
    });
    // The first press in the plus direction spends its tick on an empty
    // backlash take-up; the next tick moves.
    frminterface().Timer_Timer();
    EXPECT_EQ(Sim().AzSteps(), 0);
    frminterface().Timer_Timer();
    seams::SetDoEvents({});
    EXPECT_EQ(shared.drive.HandPadCode, 137);
    EXPECT_EQ(Sim().AzSteps(), 30) << "direction value 8 counts up on the simulated mount";
    EXPECT_EQ(shared.pos.PendingAzSteps, 30);
    EXPECT_EQ(shared.pos.AzDirectionPlus, vb::True);
    shared.site.AzStepArcsec = 10;
    shared.pos.AzimuthArcsec = 1000;
    frminterface().heuretimer_Timer();
    EXPECT_EQ(shared.pos.AzimuthArcsec, 1300);
    EXPECT_EQ(c.txtaztos->text(), "1300");

    // With the box checked the same button drives the other way at once.
    c.chkaz->setChecked(true);
    c.chkaz_Click();
    events = 0;
    Sim().HoldPaddleCode(137);
    seams::SetDoEvents([&] {
        if (++events == 20) Sim().HoldPaddleCode(11);
    });
    frminterface().Timer_Timer();  // the reversal: an empty take-up (no backlash)
    frminterface().Timer_Timer();
    seams::SetDoEvents({});
    EXPECT_EQ(Sim().AzSteps(), 20);
}

TEST_F(PaddleControls, APaddleMoveEndsWhenAHandlerGivesThePortBackToThePaddle) {
    Frmcoord& c = frmcoord();
    c.picraquette_Click();
    shared.drive.PaddleDelayAzMedium = 0;
    handpad::Backlash().BacklashDirAz = vb::True;  // no take-up pending
    handpad::Backlash().BacklashDoneAz = vb::True;
    for (int at : {9, 10}) {  // during the first and the second half of a pulse
        SCOPED_TRACE(at);
        int events = 0;
        Sim().HoldPaddleCode(137);
        seams::SetDoEvents([&] {
            if (++events == at) c.cmstoppointage_Click();  // clears the data register for the paddle
        });
        frminterface().Timer_Timer();
        seams::SetDoEvents({});
        EXPECT_LE(events, 10) << "the move ended after that pulse";
        EXPECT_EQ(port::LastPortOutput(), 0);
        // The paddle reads right again: released, then the same button.
        Sim().HoldPaddleCode(11);
        frminterface().Timer_Timer();
        EXPECT_EQ(shared.drive.HandPadCode, 11);
    }
}
