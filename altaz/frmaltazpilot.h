// The alt-azimuth manual-drive window.
#pragma once

#include "platform/form.h"

class Frmaltazpilot : public Form {
    Q_OBJECT
public:
    Frmaltazpilot();
};

inline Frmaltazpilot& frmaltazpilot() { return forms::Use<Frmaltazpilot>(); }
