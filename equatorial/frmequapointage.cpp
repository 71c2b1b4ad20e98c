#include "equatorial/frmequapointage.h"

Frmequapointage::Frmequapointage() : Form(QStringLiteral("pointage")) {
    setObjectName(QStringLiteral("frmequapointage"));
}
