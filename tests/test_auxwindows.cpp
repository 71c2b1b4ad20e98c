#include "chart/frmCercle.h"
#include "core/state.h"
#include "platform/vbrt.h"
#include "shell/frmDepl.h"
#include "shell/frmImage.h"
#include "shell/frmaide.h"
#include "shell/frmcopyright.h"
#include "tests/fixture.h"

#include <QAction>
#include <QFileInfo>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>

class AuxWindows : public WindowTest {};

TEST_F(AuxWindows, ProgressWindowNamesTheAxesOfTheMountAtLoad) {
    struct Case {
        int16_t altazMode;
        const char* first;
        const char* second;
    } cases[] = {{vb::True, "Azimut", "Altitude"}, {vb::False, "A.D", "Déc."}};
    for (const auto& c : cases) {
        shared.win.AltazMode = c.altazMode;
        FrmDepl& d = frmDepl();
        EXPECT_EQ(d.windowTitle(), QStringLiteral("Déplacement en cours..."));
        EXPECT_EQ(d.Label3->text(), QStringLiteral("Veuillez patienter..."));
        EXPECT_EQ(d.Lblaz->text(), QString::fromUtf8(c.first));
        EXPECT_EQ(d.lblalt->text(), QString::fromUtf8(c.second));
        EXPECT_EQ(d.ProgressBaraz->value(), 0);
        EXPECT_EQ(d.ProgressBaralt->value(), 0);
        EXPECT_FALSE(d.Shown()) << "touching a control loads the window without showing it";
        d.ProgressBaraz->setValue(40);
        forms::Unload<FrmDepl>();
    }
    EXPECT_EQ(frmDepl().ProgressBaraz->value(), 0) << "each load starts the bars again";
}

TEST_F(AuxWindows, ProgressStopButtonAsksEveryGotoToStop) {
    shared.altgoto.RemainingAz = 5000;
    shared.altgoto.RemainingAlt = -300;
    shared.win.SkyChartShown = vb::True;
    frmDepl().Show();
    frmDepl().cmstoppointage->click();
    EXPECT_EQ(shared.altgoto.StopGoto, vb::True);
    EXPECT_EQ(shared.altgoto.RemainingAz, 0);
    EXPECT_EQ(shared.altgoto.RemainingAlt, 0);
    EXPECT_EQ(frmCercle().mnuPoint->text(), "initialisation");
    EXPECT_EQ(shared.win.SkyChartShown, vb::False);
    EXPECT_TRUE(frmDepl().Shown()) << "the window stays open";
    EXPECT_TRUE(frmDepl().cmstoppointage->text().isEmpty());
}

TEST_F(AuxWindows, AboutWindowKeepsItsSize) {
    Frmcopyright& a = frmcopyright();
    a.Show();
    EXPECT_EQ(a.windowTitle(), QStringLiteral("A propos de ..."));
    EXPECT_EQ(a.lblProduit->text(), "ORVANEL");
    EXPECT_EQ(a.lblVersion->text(), "Version 3.0");
    EXPECT_EQ(a.cmdok1->text(), "OK");
    // It names no web site or mailbox, only what is on this computer.
    EXPECT_EQ(a.lblSite->text(), QStringLiteral("Mode d'emploi : menu « Aide »"));
    EXPECT_EQ(a.lblContact->text(), QStringLiteral("Options : orvanel --help"));
    EXPECT_EQ(a.TwipsWidth(), 4005);  // 4000 twips, to the nearest pixel
    EXPECT_EQ(a.TwipsHeight(), 5640);
    for (QSize s : {QSize(500, 200), QSize(100, 900)}) {
        a.resize(s);
        EXPECT_EQ(a.TwipsWidth(), 4005);
        EXPECT_EQ(a.TwipsHeight(), 5640);
    }
    a.cmdok1->click();
    EXPECT_FALSE(forms::Loaded<Frmcopyright>());
}

// The help pages are the README, beside the sources here (the installed
// program's own is checked by the install's tests).
TEST_F(AuxWindows, HelpWindowPointsToTheHelpPages) {
    Frmaide& h = frmaide();
    EXPECT_EQ(h.windowTitle(), "Aide");
    EXPECT_EQ(h.Label1->text(), QStringLiteral("Consultez les pages d'aides présentes à l'adresse suivante :"));
    EXPECT_TRUE(QFileInfo(h.lblAdresse->text()).isFile()) << h.lblAdresse->text().toStdString();
    EXPECT_EQ(QFileInfo(h.lblAdresse->text()).fileName(), "README.md");
    h.Show();
    h.cmdok1->click();
    EXPECT_FALSE(forms::Loaded<Frmaide>());
}

TEST_F(AuxWindows, PictureWindowShrinksItsPictureOnTheWayOut) {
    FrmImage& i = frmImage();
    EXPECT_EQ(i.bFin->text(), "fin");
    i.Show();
    QLabel* picture = i.oPicture;
    QPointer<QLabel> alive(picture);
    i.bFin->click();
    EXPECT_FALSE(forms::Loaded<FrmImage>());
    ASSERT_TRUE(alive) << "the window goes once control is back in the event loop";
    EXPECT_EQ(picture->width(), 7);   // 100 twips
    EXPECT_EQ(picture->height(), 7);
}
