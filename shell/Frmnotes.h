// The observation notes window.
#pragma once

#include "platform/form.h"

class Frmnotes : public Form {
    Q_OBJECT
public:
    Frmnotes();
};

inline Frmnotes& frmnotes() { return forms::Use<Frmnotes>(); }
