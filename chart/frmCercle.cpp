#include "chart/frmCercle.h"

#include <QAction>

FrmCercle::FrmCercle() : Form(QStringLiteral("Carte du ciel")) {
    setObjectName(QStringLiteral("frmCercle"));
    mnuPoint = new QAction(QStringLiteral("Pointage"), this);
    mnuPoint->setObjectName(QStringLiteral("mnuPoint"));
}

void FrmCercle::RedrawChart() { update(); }
void FrmCercle::DrawTeles1() {}
void FrmCercle::DrawTeles2() {}
void FrmCercle::DrawStar() {}
void FrmCercle::DrawConstel() {}
void FrmCercle::DrawObjets() {}
