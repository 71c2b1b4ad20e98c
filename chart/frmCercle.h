// The polar sky chart.
#pragma once

#include "platform/form.h"

class QAction;

class FrmCercle : public Form {
    Q_OBJECT
public:
    FrmCercle();
    QAction* mnuPoint = nullptr;  // the chart's pointing menu item
    void RedrawChart();
};

inline FrmCercle& frmCercle() { return forms::Use<FrmCercle>(); }
