#include "altaz/frmconfig.h"

Frmconfig::Frmconfig() : Form(QStringLiteral("Initialisations")) {
    setObjectName(QStringLiteral("frmconfig"));
}
