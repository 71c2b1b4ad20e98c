// The hand-paddle settings window.
#pragma once

#include "platform/form.h"

class Frmraquette : public Form {
    Q_OBJECT
public:
    Frmraquette();
};

inline Frmraquette& frmraquette() { return forms::Use<Frmraquette>(); }
