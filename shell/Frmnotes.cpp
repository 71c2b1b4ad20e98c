#include "shell/Frmnotes.h"

Frmnotes::Frmnotes() : Form(QStringLiteral("Notes d'observation")) {
    setObjectName(QStringLiteral("Frmnotes"));
}
