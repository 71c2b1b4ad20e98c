// The equatorial pointing window.
#pragma once

#include "platform/form.h"

class Frmequapointage : public Form {
    Q_OBJECT
public:
    Frmequapointage();
};

inline Frmequapointage& frmequapointage() { return forms::Use<Frmequapointage>(); }
