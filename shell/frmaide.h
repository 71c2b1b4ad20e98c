// The help window: where the help pages are (the README's address).
#pragma once

#include "platform/form.h"

class QLabel;
class QPushButton;

class Frmaide : public Form {
    Q_OBJECT
public:
    Frmaide();
    void cmdok1_Click();

    QLabel* Image1 = nullptr;
    QLabel* Label1 = nullptr;
    QLabel* lblAdresse = nullptr;
    QPushButton* cmdok1 = nullptr;
};

inline Frmaide& frmaide() { return forms::Use<Frmaide>(); }
