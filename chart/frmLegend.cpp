#include "chart/frmLegend.h"

FrmLegend::FrmLegend() : Form(QStringLiteral("Légende")) {
    setObjectName(QStringLiteral("frmLegend"));
}
