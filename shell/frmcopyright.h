// The about window.
#pragma once

#include "platform/form.h"

class QLabel;
class QPushButton;
class QTimer;

class Frmcopyright : public Form {
    Q_OBJECT
public:
    Frmcopyright();
    void Form_Resize() override;
    void cmdok1_Click();

    QLabel* lblProduit = nullptr;
    QLabel* lblVersion = nullptr;
    QLabel* lblCredits = nullptr;
    QLabel* lblMerci = nullptr;
    QLabel* lblSite = nullptr;
    QLabel* lblContact = nullptr;
    QLabel* Image1 = nullptr;
    QLabel* Image2 = nullptr;
    QLabel* Image3 = nullptr;  // the animated one
    QPushButton* cmdok1 = nullptr;

private:
    QTimer* animation_ = nullptr;
    int frame_ = 0;
};

inline Frmcopyright& frmcopyright() { return forms::Use<Frmcopyright>(); }
