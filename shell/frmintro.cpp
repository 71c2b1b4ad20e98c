#include "shell/frmintro.h"

#include "platform/widgets.h"
#include "shell/artwork.h"

#include <QFrame>
#include <QLabel>
#include <QScreen>

Frmintro::Frmintro() : Form(QStringLiteral("Orvanel")) {
    setObjectName(QStringLiteral("frmintro"));
    setWindowFlags(Qt::SplashScreen);
    SetTwipsSize(6000, 4200);
    if (QScreen* s = screen()) move(s->availableGeometry().center() - rect().center());

    Photo = ui::Make<QLabel>(this, "Photo");
    ui::Place(Photo, 0, 0, 6000, 3000);
    Photo->setPixmap(artwork::NightSky(twips::ToPixels(6000), twips::ToPixels(3000), 2027));

    auto* shape = ui::Make<QFrame>(this, "Shape1");
    shape->setFrameShape(QFrame::Box);
    ui::Place(shape, 60, 3060, 5880, 1080);

    Credits = ui::Make<QLabel>(this, "Credits");
    Credits->setText(QStringLiteral("ORVANEL — pilotage de télescopes amateurs"));
    ui::Place(Credits, 180, 3150, 5640, 360);

    Label = ui::Make<QLabel>(this, "Label");
    Label->setText(QStringLiteral("Chargement en cours ..."));
    ui::Place(Label, 180, 3600, 5640, 360);
}
