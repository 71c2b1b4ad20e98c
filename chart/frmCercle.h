// The polar sky chart.
#pragma once

#include "platform/form.h"

class QAction;

class FrmCercle : public Form {
    Q_OBJECT
public:
    FrmCercle();
    QAction* mnuPoint = nullptr;  // the chart's pointing menu item

    // What the gotos and the sync ask of the chart: redraw it, then the
    // telescope marks (at the goto destination, at SlewRA/SlewDec), the
    // stars, the constellation lines and the objects. The chart window comes
    // later; until then nothing is drawn.
    void RedrawChart();
    void DrawTeles1();
    void DrawTeles2();
    void DrawStar();
    void DrawConstel();
    void DrawObjets();
};

inline FrmCercle& frmCercle() { return forms::Use<FrmCercle>(); }
