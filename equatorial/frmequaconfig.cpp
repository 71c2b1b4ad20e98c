#include "equatorial/frmequaconfig.h"

Frmequaconfig::Frmequaconfig() : Form(QStringLiteral("Paramètres")) {
    setObjectName(QStringLiteral("frmequaconfig"));
}
