// The progress window shown while a goto runs, with the stop button.
#pragma once

#include "platform/form.h"

class QLabel;
class QProgressBar;
class QPushButton;

class FrmDepl : public Form {
    Q_OBJECT
public:
    FrmDepl();
    void Form_Load() override;
    void cmstoppointage_Click();

    QLabel* Label3 = nullptr;
    QLabel* Lblaz = nullptr;
    QProgressBar* ProgressBaraz = nullptr;
    QLabel* lblalt = nullptr;
    QProgressBar* ProgressBaralt = nullptr;
    QPushButton* cmstoppointage = nullptr;
};

inline FrmDepl& frmDepl() { return forms::Use<FrmDepl>(); }
