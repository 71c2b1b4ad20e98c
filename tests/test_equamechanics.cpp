#include "core/state.h"
#include "equatorial/frmequaconfig.h"
#include "platform/datadir.h"
#include "shell/frminterface.h"
#include "shell/frmraquette.h"
#include "tests/started.h"

#include <QDir>
#include <QGroupBox>
#include <QLineEdit>
#include <QPushButton>
#include <QTimer>

using port::Write;

class EquaMechanics : public StartedProgramTest {
protected:
    static void Type(Frmequaconfig& f, const char* pasad, const char* pasdec, const char* rad, const char* rdec) {
        f.txtpasad->setText(QString::fromUtf8(pasad));
        f.txtpasdec->setText(QString::fromUtf8(pasdec));
        f.txtRad->setText(QString::fromUtf8(rad));
        f.txtRdec->setText(QString::fromUtf8(rdec));
    }
};

TEST_F(EquaMechanics, LoadShowsTheFileAndValiderWritesItBackAndCloses) {
    WriteData("config_equa.ini", QByteArray("200\r\n200\r\n144\r\n100\r\n"));
    Frmequaconfig& f = frmequaconfig();
    f.Show();
    EXPECT_EQ(f.windowTitle(), QStringLiteral("Paramètres"));
    EXPECT_EQ(f.frmeca->title(), QStringLiteral("Paramètres mécaniques"));
    EXPECT_EQ(f.TwipsWidth(), 3960);
    EXPECT_EQ(f.TwipsHeight(), 3525);
    EXPECT_EQ(f.txtpasad->text(), "200");
    EXPECT_EQ(f.txtpasdec->text(), "200");
    EXPECT_EQ(f.txtRad->text(), "144");
    EXPECT_EQ(f.txtRdec->text(), "100");
    f.bFin->click();
    EXPECT_EQ(ReadData("config_equa.ini"), "200\r\n200\r\n144\r\n100\r\n");
    EXPECT_FALSE(forms::Loaded<Frmequaconfig>());
    EXPECT_TRUE(messages.isEmpty());
}

TEST_F(EquaMechanics, ValiderWritesTheTypedValuesInTheirOrder) {
    Frmequaconfig& f = frmequaconfig();
    Type(f, " 400", "48", "2.5", "720");
    f.bFin_Click();
    EXPECT_EQ(ReadData("config_equa.ini"), "400\r\n48\r\n2.5\r\n720\r\n");
    EXPECT_FALSE(forms::Loaded<Frmequaconfig>());
    // The next load shows what was written.
    EXPECT_EQ(frmequaconfig().txtRad->text(), "2.5");
}

TEST_F(EquaMechanics, OnlyPositiveNumbersACounterCanHoldAreWritten) {
    const QString before = ReadData("config_equa.ini");
    struct Case {
        const char* pasad;
        const char* pasdec;
        const char* rad;
        const char* rdec;
        const char* named;
    } cases[] = {
        {"", "200", "100", "100", "Nombre de pas moteur A.D"},
        {"200", "0", "100", "100", "Nombre de pas moteur Déc."},
        {"200", "200", "-100", "100", "Rapport de réduction A.D"},
        {"200", "200", "100", "1,5", "Rapport de réduction Déc."},
        {"200", "200", "cent", "100", "Rapport de réduction A.D"},
        {"200 pas", "200", "100", "100", "Nombre de pas moteur A.D"},
        {"-0", "200", "100", "100", "Nombre de pas moteur A.D"},
        {"99999999999", "200", "100", "100", "Nombre de pas moteur A.D"},
        {"200.5", "200", "100", "100", "Nombre de pas moteur A.D"},
        {"32768", "200", "100", "100", "Nombre de pas moteur A.D"},
        {"200", "1e308", "100", "100", "Nombre de pas moteur Déc."},
        {"200", "200", "nan", "100", "Rapport de réduction A.D"},
        {"200", "200", "100", "inf", "Rapport de réduction Déc."},
        {"200", "200", "12abc", "100", "Rapport de réduction A.D"},
        {"200", "200", "100", "1e308", "Rapport de réduction Déc."},
        {"200", "200", "32767.5", "100", "Rapport de réduction A.D"},
    };
    for (const auto& c : cases) {
        Frmequaconfig& f = frmequaconfig();
        f.Show();
        Type(f, c.pasad, c.pasdec, c.rad, c.rdec);
        f.bFin_Click();
        const QString named = QString::fromUtf8(c.named);
        ExpectRefusal(named, named.startsWith(QStringLiteral("Nombre"))
                                 ? QStringLiteral("un nombre entier de 1 à 32767")
                                 : QStringLiteral("un nombre supérieur à 0 et d'au plus 32767"));
        EXPECT_EQ(ReadData("config_equa.ini"), before) << c.named;
        EXPECT_TRUE(f.Shown()) << "the window stays open for a correction";
    }
}

TEST_F(EquaMechanics, AMissingFileIsToldAndTheBoxesShowDefaults) {
    QDir().remove(QDir(datadir::Folder()).filePath("config_equa.ini"));
    Frmequaconfig& f = frmequaconfig();
    ASSERT_EQ(messages.size(), 1);
    EXPECT_TRUE(messages[0].contains("config_equa.ini"));
    EXPECT_EQ(f.txtpasad->text(), "200");
    EXPECT_EQ(f.txtRdec->text(), "100");
}

TEST_F(EquaMechanics, AFailedSaveIsToldAndKeepsTheWindowOpen) {
    Frmequaconfig& f = frmequaconfig();
    f.Show();
    Type(f, "400", "400", "50", "50");
    // A folder in the file's place: nothing can be written there.
    QDir(datadir::Folder()).remove("config_equa.ini");
    QDir(datadir::Folder()).mkdir("config_equa.ini");
    f.bFin_Click();
    ASSERT_EQ(messages.size(), 1);
    EXPECT_TRUE(messages[0].contains("config_equa.ini"));
    EXPECT_TRUE(f.Shown());
}

TEST_F(EquaMechanics, TheBacklashButtonOpensThePaddleBacklashPanel) {
    for (bool openBefore : {false, true}) {
        if (openBefore) frmraquette().Show();
        Frmequaconfig& f = frmequaconfig();
        Out32(888, 12);  // a move's bits left on the data register
        Sim().ClearWrites();
        f.cmdbacklash->click();
        EXPECT_EQ(Writes(), (std::vector<Write>{{890, 11}, {888, 0}}));
        EXPECT_EQ(port::LastPortOutput(), 0);
        Frmraquette& r = frmraquette();
        EXPECT_TRUE(r.Shown());
        EXPECT_EQ(r.TwipsWidth(), 7530);
        EXPECT_EQ(r.lblbacklashCaption(), "7");
        EXPECT_LT(r.Frame3->geometry().right(), r.width()) << "the backlash panel shows";
        EXPECT_TRUE(frminterface().Timer->isActive());
        // The fold switch folds it again from there.
        r.lblbacklash_Click();
        EXPECT_EQ(r.TwipsWidth(), 5265);
        frminterface().Timer->stop();
        forms::Unload<Frmraquette>();
    }
}
