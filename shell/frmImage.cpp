#include "shell/frmImage.h"

#include "platform/widgets.h"

#include <QLabel>
#include <QPushButton>

FrmImage::FrmImage() : Form(QStringLiteral("Image")) {
    setObjectName(QStringLiteral("frmImage"));
    SetTwipsSize(6000, 5000);

    oPicture = ui::Make<QLabel>(this, "oPicture");
    oPicture->setScaledContents(true);
    ui::Place(oPicture, 120, 120, 5700, 4100);

    bFin = ui::Button(this, "bFin", QStringLiteral("fin"), 2400, 4320, 1200, 420);
    connect(bFin, &QPushButton::clicked, this, &FrmImage::bFin_Click);
}

void FrmImage::bFin_Click() {
    oPicture->resize(twips::ToPixels(100), twips::ToPixels(100));
    Unload();
}

void FrmImage::Form_Unload() { oPicture->resize(twips::ToPixels(100), twips::ToPixels(100)); }
