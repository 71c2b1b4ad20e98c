// The sky chart's legend.
#pragma once

#include "platform/form.h"

class FrmLegend : public Form {
    Q_OBJECT
public:
    FrmLegend();
};

inline FrmLegend& frmLegend() { return forms::Use<FrmLegend>(); }
