#include "altaz/frmcoord.h"

#include <QLineEdit>

Frmcoord::Frmcoord() : Form(QStringLiteral("Coordonnées altazimutales")) {
    setObjectName(QStringLiteral("frmcoord"));
    picraquette = ui::Make<PictureBox>(this, "picraquette");
    ui::Place(picraquette, 120, 120, 720, 480);
    txtms = ui::Make<QLineEdit>(this, "txtms");
    ui::Place(txtms, 960, 120, 600, 285);
}
