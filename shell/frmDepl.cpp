#include "shell/frmDepl.h"

#include "chart/frmCercle.h"
#include "core/state.h"
#include "motor/gotopass.h"
#include "platform/vbrt.h"
#include "platform/widgets.h"
#include "shell/artwork.h"

#include <QAction>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>

FrmDepl::FrmDepl() : Form(QStringLiteral("Déplacement en cours...")) {
    setObjectName(QStringLiteral("frmDepl"));
    SetTwipsSize(4800, 2700);

    Label3 = ui::Make<QLabel>(this, "Label3");
    Label3->setText(QStringLiteral("Veuillez patienter..."));
    ui::Place(Label3, 240, 120, 3000, 300);

    Lblaz = ui::Make<QLabel>(this, "Lblaz");
    ui::Place(Lblaz, 240, 600, 1000, 300);
    ProgressBaraz = ui::Make<ProgressBar>(this, "ProgressBaraz");
    ProgressBaraz->setRange(0, 100);
    ui::Place(ProgressBaraz, 1320, 600, 2000, 300);

    lblalt = ui::Make<QLabel>(this, "lblalt");
    ui::Place(lblalt, 240, 1140, 1000, 300);
    ProgressBaralt = ui::Make<ProgressBar>(this, "ProgressBaralt");
    ProgressBaralt->setRange(0, 100);
    ui::Place(ProgressBaralt, 1320, 1140, 2000, 300);

    cmstoppointage = ui::Make<QPushButton>(this, "cmstoppointage");
    cmstoppointage->setIcon(artwork::StopSign(48));
    cmstoppointage->setIconSize(QSize(40, 40));
    cmstoppointage->setToolTip(QStringLiteral("Arrêt du pointage"));
    ui::Place(cmstoppointage, 3600, 480, 900, 900);
    connect(cmstoppointage, &QPushButton::clicked, this, &FrmDepl::cmstoppointage_Click);
}

void FrmDepl::Form_Load() {
    ProgressBaraz->setValue(0);
    ProgressBaralt->setValue(0);
    if (shared.win.AltazMode != 0) {
        Lblaz->setText(QStringLiteral("Azimut"));
        lblalt->setText(QStringLiteral("Altitude"));
    } else {
        Lblaz->setText(QStringLiteral("A.D"));
        lblalt->setText(QStringLiteral("Déc."));
    }
}

void FrmDepl::cmstoppointage_Click() {
    AskGotoStop();
    frmCercle().mnuPoint->setText(QStringLiteral("initialisation"));
    shared.win.SkyChartShown = vb::False;
}
