// The coordinates window: home of the universal-time clock, the typed
// coordinates, the position displays and the hand-paddle switch.
#pragma once

#include "platform/form.h"
#include "platform/widgets.h"

class QLineEdit;

class Frmcoord : public Form {
    Q_OBJECT
public:
    Frmcoord();
    PictureBox* picraquette = nullptr;  // hand-paddle switch
    QLineEdit* txtms = nullptr;         // milliseconds of the universal time
};

inline Frmcoord& frmcoord() { return forms::Use<Frmcoord>(); }
