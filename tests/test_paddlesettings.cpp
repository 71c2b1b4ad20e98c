#include "core/state.h"
#include "platform/seams.h"
#include "platform/datadir.h"
#include "platform/vbrt.h"
#include "shell/frminterface.h"
#include "shell/frmraquette.h"
#include "tests/started.h"

#include <QCheckBox>
#include <QDir>
#include <QFile>
#include <QGroupBox>
#include <QLineEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QTimer>

class PaddleSettings : public StartedProgramTest {
protected:
    // Right edge of the backlash panel, in the window's own pixels.
    static bool BacklashPanelInside(Frmraquette& r) { return r.Frame3->geometry().right() < r.width(); }
};

TEST_F(PaddleSettings, LoadShowsTheStoredSpeedsInversionAndBacklash) {
    WriteData("inversion.ini", QByteArray("Vrai\r\nFaux\r\n"));
    shared.drive.ManualSpeedTable = {{{1119078 - 740, 1119078}, {463738 - 738, 463738 - 120}, {70534, 9000000}}};
    shared.site.BacklashAz = 25;
    shared.site.BacklashAlt = 2.5;
    Frmraquette& r = frmraquette();
    EXPECT_EQ(r.windowTitle(), QStringLiteral("Paramètres de la raquette"));
    EXPECT_EQ(r.TwipsWidth(), 5265);
    EXPECT_EQ(r.TwipsHeight(), 4605);
    EXPECT_EQ(r.lblbacklashCaption(), "8");
    EXPECT_FALSE(BacklashPanelInside(r)) << "the backlash panel waits beyond the folded width";

    EXPECT_TRUE(r.chkaz->isChecked());
    EXPECT_FALSE(r.chkalt->isChecked());
    EXPECT_EQ(shared.site.InvertAz, vb::True);
    EXPECT_EQ(shared.site.InvertAlt, vb::False);

    struct Case {
        QScrollBar* bar;
        QLineEdit* box;
        int32_t* delay;
        int position;
        int32_t shown;
    } cases[] = {
        {r.Frame1->HScrollazl, r.Frame1->txtaz[0], &shared.drive.PaddleDelayAzSlow, 37, 1119078 - 740},
        // 61.5 rounds to the even 62.
        {r.Frame1->HScrollazm, r.Frame1->txtaz[1], &shared.drive.PaddleDelayAzMedium, 62, 463738 - 738},
        {r.Frame1->HScrollazr, r.Frame1->txtaz[2], &shared.drive.PaddleDelayAzFast, 0, 70534},
        {r.Frame1->HScrollaltl, r.Frame1->txtalt[0], &shared.drive.PaddleDelayAltSlow, 0, 1119078},
        {r.Frame1->HScrollaltm, r.Frame1->txtalt[1], &shared.drive.PaddleDelayAltMedium, 10, 463738 - 120},
        // A delay beyond the bar's range puts the bar at its end.
        {r.Frame1->HScrollaltr, r.Frame1->txtalt[2], &shared.drive.PaddleDelayAltFast, 0, 9000000},
    };
    for (const auto& c : cases) {
        const auto name = c.bar->objectName().toStdString();
        EXPECT_EQ(c.bar->value(), c.position) << name;
        EXPECT_EQ(c.box->text(), vb::CStr(c.shown)) << name << ": the box shows the stored delay";
        EXPECT_EQ(*c.delay, c.shown) << name << ": the paddle runs at the stored delay";
    }
    EXPECT_EQ(r.Frame3->txtbacklash_az->text(), "25");
    EXPECT_EQ(r.Frame3->txtbacklash_alt->text(), "2.5");
    EXPECT_TRUE(messages.isEmpty());
}

TEST_F(PaddleSettings, EachBarSetsItsBoxAndItsPaddleDelay) {
    Frmraquette& r = frmraquette();
    auto& d = shared.drive;
    struct Case {
        QScrollBar* bar;
        QLineEdit* box;
        int32_t* delay;
        int position;
        int32_t expected;
    } cases[] = {
        {r.Frame1->HScrollazl, r.Frame1->txtaz[0], &d.PaddleDelayAzSlow, 37, 1119078 - 740},
        {r.Frame1->HScrollazm, r.Frame1->txtaz[1], &d.PaddleDelayAzMedium, 32767, 70534},
        {r.Frame1->HScrollazr, r.Frame1->txtaz[2], &d.PaddleDelayAzFast, 32767, 5000},
        {r.Frame1->HScrollaltl, r.Frame1->txtalt[0], &d.PaddleDelayAltSlow, 32767, 463738},
        {r.Frame1->HScrollaltm, r.Frame1->txtalt[1], &d.PaddleDelayAltMedium, 10, 463738 - 120},
        {r.Frame1->HScrollaltr, r.Frame1->txtalt[2], &d.PaddleDelayAltFast, 100, 70534 - 200},
    };
    for (const auto& c : cases) {
        c.bar->setValue(c.position);
        EXPECT_EQ(c.box->text(), vb::CStr(c.expected)) << c.bar->objectName().toStdString();
        EXPECT_EQ(*c.delay, c.expected) << c.bar->objectName().toStdString();
    }
}

TEST_F(PaddleSettings, TheInversionBoxesActOnThePaddleAtOnce) {
    Frmraquette& r = frmraquette();
    r.Show();
    r.chkaz->click();
    EXPECT_EQ(shared.site.InvertAz, vb::True);
    EXPECT_EQ(ReadData("inversion.ini"), "Faux\r\nFaux\r\n") << "the file waits for the save";
    r.chkalt->click();
    EXPECT_EQ(shared.site.InvertAlt, vb::True);
    r.chkaz->click();
    EXPECT_EQ(shared.site.InvertAz, vb::False);
}

TEST_F(PaddleSettings, ThePaddleFollowsTheInversionBoxAtOnce) {
    Frminterface& w = frminterface();
    w.barchoix_ButtonClick(1);  // "Mode équatorial"
    w.barequa_ButtonClick(2);   // "Mode manuel": the paddle settings window opens
    Frmraquette& r = frmraquette();
    shared.drive.PaddleDelayAzSlow = 0;
    // The slow right-ascension button (direction value 0) held for ten
    // pulses, before and after the box is checked. A tick may first spend
    // itself on an empty backlash take-up; the next one moves.
    for (int expected : {-10, 10}) {
        if (expected > 0) r.chkaz->click();
        Sim().ResetMount();
        int events = 0;
        Sim().HoldPaddleCode(15);
        seams::SetDoEvents([&] {
            if (++events == 20) Sim().HoldPaddleCode(11);
        });
        w.Timer_Timer();
        w.Timer_Timer();
        seams::SetDoEvents({});
        EXPECT_EQ(Sim().AzSteps(), expected);
    }
}

TEST_F(PaddleSettings, SaveWritesSpeedsInversionAndBacklashAndStaysOpen) {
    shared.drive.ManualSpeedTable = {{{1118078, 1118000}, {463138, 463000}, {70434, 60000}}};
    shared.site.BacklashAz = 7;
    Frmraquette& r = frmraquette();
    r.Show();
    r.Frame1->txtaz[0]->setText(" 13 ");
    r.Frame1->txtaz[1]->setText("0");
    r.Frame1->txtalt[2]->setText("");
    r.chkaz->setChecked(true);
    r.chkalt->setChecked(false);
    r.Frame3->txtbacklash_az->setText("30");
    r.Frame3->txtbacklash_alt->setText("4");
    const int32_t delayBefore = shared.drive.PaddleDelayAzSlow;
    r.cmdvalid->click();
    EXPECT_EQ(ReadData("vitessemanu.ini"), "13\r\n463138\r\n70434\r\n1118000\r\n463000\r\n60000\r\n")
        << "an empty box or one of 0 writes the previous speed again";
    const auto& t = shared.drive.ManualSpeedTable;
    EXPECT_EQ(t[0][0], 13);
    EXPECT_EQ(t[2][1], 60000);
    EXPECT_EQ(shared.drive.PaddleDelayAzSlow, delayBefore) << "the bars, not the save, set the paddle delays";
    EXPECT_EQ(ReadData("inversion.ini"), "Vrai\r\nFaux\r\n");
    EXPECT_EQ(shared.site.InvertAz, vb::True);
    EXPECT_EQ(ReadData("backlash.ini"), "30\r\n4\r\n");
    EXPECT_EQ(shared.site.BacklashAz, 7) << "a typed backlash takes effect at the next start";
    EXPECT_TRUE(r.Shown());
    EXPECT_TRUE(messages.isEmpty());
}

TEST_F(PaddleSettings, ASpeedOrBacklashOutOfItsRangeSavesNoFile) {
    const QString manual = ReadData("vitessemanu.ini");
    const QString backlash = ReadData("backlash.ini");
    const auto table = shared.drive.ManualSpeedTable;
    using Box = QLineEdit* (*)(Frmraquette&);
    const Box backlashAz = [](Frmraquette& r) { return r.Frame3->txtbacklash_az; };
    const Box backlashAlt = [](Frmraquette& r) { return r.Frame3->txtbacklash_alt; };
    const Box azMedium = [](Frmraquette& r) { return r.Frame1->txtaz[1]; };
    const Box altSlow = [](Frmraquette& r) { return r.Frame1->txtalt[0]; };
    const Box altFast = [](Frmraquette& r) { return r.Frame1->txtalt[2]; };
    struct Case {
        Box box;
        const char* typed;
        const char* named;
        const char* range;
    } cases[] = {
        {backlashAlt, "", "Backlash Déc. \\ Altitude", "un nombre entier de 0 à 32767"},
        {backlashAlt, "beaucoup", "Backlash Déc. \\ Altitude", "de 0 à 32767"},
        {backlashAlt, "-3", "Backlash Déc. \\ Altitude", "de 0 à 32767"},
        {backlashAlt, "12 pas", "Backlash Déc. \\ Altitude", "de 0 à 32767"},
        {backlashAz, "4.5", "Backlash A.D \\ Azimut", "de 0 à 32767"},
        {backlashAz, "1e308", "Backlash A.D \\ Azimut", "de 0 à 32767"},
        {backlashAz, "99999999999", "Backlash A.D \\ Azimut", "de 0 à 32767"},
        {azMedium, "vite", "A.D \\ Azimut, vitesse moyenne", "un nombre entier de 0 à 2147483647"},
        {azMedium, "12.7", "A.D \\ Azimut, vitesse moyenne", "de 0 à 2147483647"},
        {azMedium, "-5", "A.D \\ Azimut, vitesse moyenne", "de 0 à 2147483647"},
        {altFast, "1,5", "Déc. \\ Altitude, vitesse rapide", "séparateur décimal"},
        {altFast, "12abc", "Déc. \\ Altitude, vitesse rapide", "de 0 à 2147483647"},
        {altSlow, "nan", "Déc. \\ Altitude, vitesse lente", "de 0 à 2147483647"},
        {altSlow, "1e308", "Déc. \\ Altitude, vitesse lente", "de 0 à 2147483647"},
        {altSlow, "2147483648", "Déc. \\ Altitude, vitesse lente", "de 0 à 2147483647"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.typed);
        forms::Unload<Frmraquette>();
        Frmraquette& r = frmraquette();
        r.Show();
        r.Frame1->txtaz[0]->setText("500000");  // a good box is not saved either
        r.chkaz->setChecked(true);
        c.box(r)->setText(QString::fromUtf8(c.typed));
        messages.clear();
        r.cmdvalid_Click();
        ExpectRefusal(QString::fromUtf8(c.named), QString::fromUtf8(c.range));
        EXPECT_EQ(ReadData("vitessemanu.ini"), manual);
        EXPECT_EQ(ReadData("backlash.ini"), backlash);
        EXPECT_EQ(ReadData("inversion.ini"), "Faux\r\nFaux\r\n");
        EXPECT_EQ(shared.drive.ManualSpeedTable, table);
        EXPECT_EQ(shared.site.InvertAz, vb::False);
        EXPECT_TRUE(r.Shown());
        EXPECT_EQ(c.box(r)->text(), QString::fromUtf8(c.typed)) << "the box keeps what was typed";
    }
}

TEST_F(PaddleSettings, AFileThatCannotBeReplacedLeavesTheThreeOldFiles) {
    const QString manual = ReadData("vitessemanu.ini");
    const QString backlash = ReadData("backlash.ini");
    const auto table = shared.drive.ManualSpeedTable;
    Frmraquette& r = frmraquette();
    QFile::remove(datadir::Folder() + "/inversion.ini");
    QDir(datadir::Folder()).mkdir("inversion.ini");
    r.Frame1->txtaz[0]->setText("500000");
    r.chkaz->setChecked(true);
    r.Frame3->txtbacklash_az->setText("12");
    r.cmdvalid_Click();
    ASSERT_EQ(messages.size(), 1);
    EXPECT_TRUE(messages[0].contains("inversion.ini")) << messages[0].toStdString();
    EXPECT_EQ(ReadData("vitessemanu.ini"), manual);
    EXPECT_EQ(ReadData("backlash.ini"), backlash);
    EXPECT_EQ(shared.drive.ManualSpeedTable, table);
    EXPECT_EQ(shared.site.InvertAz, vb::False);
}

TEST_F(PaddleSettings, DebutAndFinTakeTheLastMeasuredCount) {
    Frmraquette& r = frmraquette();
    shared.site.BacklashAz = 40;
    shared.drive.BacklashCountAz = 17;
    r.Frame3->cmdjeuaz_deb->click();
    EXPECT_EQ(shared.site.BacklashAz, 0);
    EXPECT_EQ(r.Frame3->txtbacklash_az->text(), "0");
    r.Frame3->cmdjeuaz_fin->click();
    EXPECT_EQ(shared.site.BacklashAz, 17);
    EXPECT_EQ(r.Frame3->txtbacklash_az->text(), "17");
    // No measurement made: "Fin" gives 0.
    shared.site.BacklashAlt = 9;
    r.Frame3->cmdjeualt_deb->click();
    r.Frame3->cmdjeualt_fin->click();
    EXPECT_EQ(shared.site.BacklashAlt, 0);
    EXPECT_EQ(r.Frame3->txtbacklash_alt->text(), "0");
    EXPECT_EQ(shared.drive.BacklashMeasureAz, vb::False) << "these buttons do not start a measurement";
    EXPECT_EQ(shared.drive.BacklashMeasureAlt, vb::False);
    EXPECT_EQ(shared.drive.BacklashCountAz, 17);
}

TEST_F(PaddleSettings, TheFoldSwitchOpensAndClosesTheBacklashPanel) {
    Frmraquette& r = frmraquette();
    r.Show();
    r.lblbacklash_Click();
    EXPECT_EQ(r.lblbacklashCaption(), "7");
    EXPECT_EQ(r.TwipsWidth(), 7530);
    EXPECT_TRUE(BacklashPanelInside(r));
    r.lblbacklash_Click();
    EXPECT_EQ(r.lblbacklashCaption(), "8");
    EXPECT_EQ(r.TwipsWidth(), 5265);
    EXPECT_FALSE(BacklashPanelInside(r));
    EXPECT_EQ(r.TwipsHeight(), 4605);
}

TEST_F(PaddleSettings, QuitEndsPaddleUse) {
    Frmraquette& r = frmraquette();
    r.Show();
    frminterface().Timer->start();
    shared.drive.HandPadCode = 137;
    r.Cmdquit->click();
    EXPECT_FALSE(frminterface().Timer->isActive());
    EXPECT_EQ(shared.drive.HandPadCode, 1000);
    EXPECT_FALSE(forms::Loaded<Frmraquette>());
}
