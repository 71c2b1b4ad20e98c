#include "motor/frmraquette.h"

Frmraquette::Frmraquette() : Form(QStringLiteral("Paramètres de la raquette")) {
    setObjectName(QStringLiteral("frmraquette"));
}
