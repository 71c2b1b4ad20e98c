// The splash window shown while the program loads.
#pragma once

#include "platform/form.h"

class QLabel;

class Frmintro : public Form {
    Q_OBJECT
public:
    Frmintro();
    QLabel* Photo = nullptr;
    QLabel* Credits = nullptr;
    QLabel* Label = nullptr;  // loading status

protected:
    bool MdiChild() const override { return false; }
};

inline Frmintro& frmintro() { return forms::Use<Frmintro>(); }
