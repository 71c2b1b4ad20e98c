// The equatorial mechanics window: motor steps per turn and reduction ratio
// of the right-ascension and declination axes ("\data\config_equa.ini"), and
// a shortcut to the paddle settings window's backlash panel.
#pragma once

#include "platform/form.h"

class QGroupBox;
class QLineEdit;
class QPushButton;

class Frmequaconfig : public Form {
    Q_OBJECT
public:
    static constexpr int kWidth = 3960;
    static constexpr int kHeight = 3525;

    Frmequaconfig();
    void Form_Load() override;

    void bFin_Click();
    void cmdbacklash_Click();

    QGroupBox* frmeca = nullptr;
    QLineEdit* txtpasad = nullptr;   // right-ascension motor steps per turn
    QLineEdit* txtpasdec = nullptr;  // declination motor steps per turn
    QLineEdit* txtRad = nullptr;     // right-ascension reduction ratio
    QLineEdit* txtRdec = nullptr;    // declination reduction ratio
    QPushButton* bFin = nullptr;
    QPushButton* cmdbacklash = nullptr;
};

inline Frmequaconfig& frmequaconfig() { return forms::Use<Frmequaconfig>(); }
