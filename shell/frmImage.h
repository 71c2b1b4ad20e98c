// A window holding one picture and a close button.
#pragma once

#include "platform/form.h"

class QLabel;
class QPushButton;

class FrmImage : public Form {
    Q_OBJECT
public:
    FrmImage();
    void bFin_Click();
    void Form_Unload() override;

    QLabel* oPicture = nullptr;
    QPushButton* bFin = nullptr;
};

inline FrmImage& frmImage() { return forms::Use<FrmImage>(); }
