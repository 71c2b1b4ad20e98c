// The sky chart's legend: what each mark of the chart stands for, and a
// close button.
#pragma once

#include "platform/form.h"

#include <QImage>

class QLabel;
class QPushButton;

class FrmLegend : public Form {
    Q_OBJECT
public:
    FrmLegend();
    void bFin_Click();

    // The legend picture, drawn with the chart's own colours and shapes.
    static QImage LegendPicture();

    QLabel* picture = nullptr;
    QPushButton* bFin = nullptr;

protected:
    void closeEvent(QCloseEvent* e) override;
};

inline FrmLegend& frmLegend() { return forms::Use<FrmLegend>(); }
