// The alt-azimuth sidereal tracking window.
#pragma once

#include "platform/form.h"

class QTimer;

class Frmaltazsuivi : public Form {
    Q_OBJECT
public:
    Frmaltazsuivi();
    QTimer* timcompteur = nullptr;  // tracking tick
};

inline Frmaltazsuivi& frmaltazsuivi() { return forms::Use<Frmaltazsuivi>(); }
