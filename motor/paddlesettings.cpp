#include "motor/paddlesettings.h"

#include "core/state.h"
#include "motor/settingsfiles.h"
#include "motor/speedtables.h"
#include "platform/numberfile.h"
#include "platform/vbrt.h"
#include "platform/widgets.h"

#include <QCheckBox>
#include <QLineEdit>
#include <QScrollBar>

#include <vector>

namespace paddlesettings {

void ShowSavedInversion(QCheckBox* chkaz, QCheckBox* chkalt) {
    const auto inv = settingsfiles::ReadInversion();
    shared.site.InvertAz = inv.az;
    shared.site.InvertAlt = inv.alt;
    chkaz->setChecked(shared.site.InvertAz != 0);
    chkalt->setChecked(shared.site.InvertAlt != 0);
}

QScrollBar* MakeBar(QWidget* parent, const char* name, int left, int top, int width) {
    auto* s = ui::Make<QScrollBar>(parent, name, Qt::Horizontal);
    s->setRange(0, paddlespeeds::kLastPosition);
    s->setSingleStep(10);
    s->setPageStep(100);
    ui::Place(s, left, top, width, 255);
    return s;
}

void ShowStoredSpeeds(const SpeedControls& c) {
    auto& d = shared.drive;
    const auto& table = d.ManualSpeedTable;
    for (std::size_t i = 0; i < 3; ++i) {
        c.azBars[i]->setValue(paddlespeeds::PositionOf(kFormulas[i], table[i][0]));
        c.altBars[i]->setValue(paddlespeeds::PositionOf(kFormulas[i], table[i][1]));
    }
    d.PaddleDelayAzSlow = table[0][0];
    d.PaddleDelayAzMedium = table[1][0];
    d.PaddleDelayAzFast = table[2][0];
    d.PaddleDelayAltSlow = table[0][1];
    d.PaddleDelayAltMedium = table[1][1];
    d.PaddleDelayAltFast = table[2][1];
    for (std::size_t i = 0; i < 3; ++i) {
        c.txtaz[i]->setText(vb::CStr(table[i][0]));
        c.txtalt[i]->setText(vb::CStr(table[i][1]));
    }
}

void BarChanged(QScrollBar* bar, QLineEdit* box, paddlespeeds::Formula formula, int32_t& delay) {
    box->setText(vb::CStr(paddlespeeds::DelayAt(formula, bar->value())));
    delay = vb::CLng(vb::Val(box->text()));
}

bool SaveSpeeds(const SpeedControls& c) {
    auto& table = shared.drive.ManualSpeedTable;
    std::vector<double> lines;
    auto store = [&](const QLineEdit* box, int32_t& entry) {
        const double v = vb::Val(box->text());
        if (v != 0) {
            entry = vb::CLng(v);
            lines.push_back(v);
        } else {
            lines.push_back(entry);
        }
    };
    for (std::size_t i = 0; i < 3; ++i) store(c.txtaz[i], table[i][0]);
    for (std::size_t i = 0; i < 3; ++i) store(c.txtalt[i], table[i][1]);
    return numberfile::Write(speedfiles::kManual, lines);
}

}  // namespace paddlesettings
