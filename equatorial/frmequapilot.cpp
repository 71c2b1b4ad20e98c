#include "equatorial/frmequapilot.h"

Frmequapilot::Frmequapilot() : Form(QStringLiteral("Pilotage équatorial")) {
    setObjectName(QStringLiteral("frmequapilot"));
}
