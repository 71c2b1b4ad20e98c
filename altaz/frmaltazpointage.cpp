#include "altaz/frmaltazpointage.h"

Frmaltazpointage::Frmaltazpointage() : Form(QStringLiteral("pointage")) {
    setObjectName(QStringLiteral("frmaltazpointage"));
}
