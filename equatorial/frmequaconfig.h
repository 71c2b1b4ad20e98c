// The equatorial mechanics window.
#pragma once

#include "platform/form.h"

class Frmequaconfig : public Form {
    Q_OBJECT
public:
    Frmequaconfig();
};

inline Frmequaconfig& frmequaconfig() { return forms::Use<Frmequaconfig>(); }
