#include "altaz/frmaltazpilot.h"

Frmaltazpilot::Frmaltazpilot() : Form(QStringLiteral(" Pilotage altazimutal")) {
    setObjectName(QStringLiteral("frmaltazpilot"));
}
