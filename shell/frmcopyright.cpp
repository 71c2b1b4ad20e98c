#include "shell/frmcopyright.h"

#include "platform/widgets.h"
#include "shell/artwork.h"

#include <QLabel>
#include <QPushButton>
#include <QTimer>

namespace {
constexpr int kWidth = 4000;
constexpr int kHeight = 5640;
}  // namespace

Frmcopyright::Frmcopyright() : Form(QStringLiteral("A propos de ...")) {
    setObjectName(QStringLiteral("frmcopyright"));

    Image1 = ui::Make<QLabel>(this, "Image1");
    Image1->setPixmap(artwork::NightSky(twips::ToPixels(3700), twips::ToPixels(1200), 7));
    ui::Place(Image1, 120, 120, 3700, 1200);

    lblProduit = ui::Make<QLabel>(this, "lblProduit");
    lblProduit->setText(QStringLiteral("ORVANEL"));
    QFont big = lblProduit->font();
    big.setPointSize(big.pointSize() + 6);
    big.setBold(true);
    lblProduit->setFont(big);
    lblProduit->setAlignment(Qt::AlignCenter);
    ui::Place(lblProduit, 120, 1380, 3700, 480);

    lblVersion = ui::Make<QLabel>(this, "lblVersion");
    lblVersion->setText(QStringLiteral("Version 3.0"));
    lblVersion->setAlignment(Qt::AlignCenter);
    ui::Place(lblVersion, 120, 1860, 3700, 300);

    Image2 = ui::Make<QLabel>(this, "Image2");
    Image2->setPixmap(artwork::Telescope(twips::ToPixels(900)));
    ui::Place(Image2, 120, 2220, 900, 900);

    Image3 = ui::Make<QLabel>(this, "Image3");
    ui::Place(Image3, 2900, 2220, 900, 900);
    Image3->setPixmap(artwork::TwinklingStar(twips::ToPixels(900), 0));
    animation_ = new QTimer(this);
    animation_->setInterval(100);
    connect(animation_, &QTimer::timeout, this, [this] {
        frame_ = (frame_ + 1) % 40;
        Image3->setPixmap(artwork::TwinklingStar(twips::ToPixels(900), frame_));
    });
    animation_->start();

    lblCredits = ui::Make<QLabel>(this, "lblCredits");
    lblCredits->setText(QStringLiteral("Conception et programmation :\nl'équipe Orvanel"));
    lblCredits->setAlignment(Qt::AlignCenter);
    ui::Place(lblCredits, 1080, 2220, 1760, 900);

    lblMerci = ui::Make<QLabel>(this, "lblMerci");
    lblMerci->setText(QStringLiteral("Merci aux observateurs qui ont essayé ce programme\nsous le ciel, nuit après nuit."));
    lblMerci->setAlignment(Qt::AlignCenter);
    lblMerci->setWordWrap(true);
    ui::Place(lblMerci, 120, 3240, 3700, 720);

    // Where to read more, all on this computer: no site or mailbox is named
    // that does not exist.
    lblSite = ui::Make<QLabel>(this, "lblSite");
    lblSite->setText(QStringLiteral("Mode d'emploi : menu « Aide »"));
    lblSite->setAlignment(Qt::AlignCenter);
    ui::Place(lblSite, 120, 4020, 3700, 300);

    lblContact = ui::Make<QLabel>(this, "lblContact");
    lblContact->setText(QStringLiteral("Options : orvanel --help"));
    lblContact->setAlignment(Qt::AlignCenter);
    ui::Place(lblContact, 120, 4320, 3700, 300);

    cmdok1 = ui::Button(this, "cmdok1", QStringLiteral("OK"), 1400, 4740, 1200, 420);
    connect(cmdok1, &QPushButton::clicked, this, &Frmcopyright::cmdok1_Click);

    SetTwipsSize(kWidth, kHeight);
}

void Frmcopyright::Form_Resize() {
    KeepSize(kWidth, kHeight);
}

void Frmcopyright::cmdok1_Click() { Unload(); }
