// The equatorial manual-drive window and sidereal tracking.
#pragma once

#include "platform/form.h"

class Frmequapilot : public Form {
    Q_OBJECT
public:
    Frmequapilot();
};

inline Frmequapilot& frmequapilot() { return forms::Use<Frmequapilot>(); }
