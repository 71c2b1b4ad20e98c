// The alt-azimuth catalogue pointing window.
#pragma once

#include "platform/form.h"

class Frmaltazpointage : public Form {
    Q_OBJECT
public:
    Frmaltazpointage();
};

inline Frmaltazpointage& frmaltazpointage() { return forms::Use<Frmaltazpointage>(); }
