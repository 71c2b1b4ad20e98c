// The alt-azimuth set-up window: site, mechanics, calibrations.
#pragma once

#include "platform/form.h"

class Frmconfig : public Form {
    Q_OBJECT
public:
    Frmconfig();
};

inline Frmconfig& frmconfig() { return forms::Use<Frmconfig>(); }
