#include "shell/paddlesettings.h"

#include "core/state.h"
#include "motor/settingsfiles.h"
#include "motor/speedtables.h"
#include "platform/inputcheck.h"
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

std::optional<TypedSpeeds> TypedSpeedsOf(const SpeedControls& c) {
    static const char* const kSpeeds[3] = {"vitesse lente", "vitesse moyenne", "vitesse rapide"};
    TypedSpeeds typed{shared.drive.ManualSpeedTable, {}};
    std::vector<inputcheck::EntryBox> boxes;
    for (std::size_t axis = 0; axis < 2; ++axis) {
        for (std::size_t i = 0; i < 3; ++i) {
            const QString name =
                QStringLiteral("%1, %2").arg(axis == 0 ? c.azName : c.altName, QString::fromLatin1(kSpeeds[i]));
            boxes.push_back({(axis == 0 ? c.txtaz[i] : c.txtalt[i])->text(), name, &typed.table[i][axis]});
        }
    }
    if (!inputcheck::TakeEntries(boxes, inputcheck::kDelay)) return std::nullopt;
    std::vector<double> lines;
    for (std::size_t axis = 0; axis < 2; ++axis)
        for (std::size_t i = 0; i < 3; ++i) lines.push_back(typed.table[i][axis]);
    typed.lines = numberfile::Lines(lines);
    return typed;
}

bool Save(const TypedSpeeds& speeds, const QCheckBox* chkaz, const QCheckBox* chkalt, SaveSet files) {
    const int16_t invertAz = vb::Bool(chkaz->isChecked());
    const int16_t invertAlt = vb::Bool(chkalt->isChecked());
    files.Add(speedfiles::kManual, speeds.lines)
        .Add(settingsfiles::kInversion, settingsfiles::InversionLines(invertAz, invertAlt));
    if (!files.Save()) return false;
    shared.drive.ManualSpeedTable = speeds.table;
    shared.site.InvertAz = invertAz;
    shared.site.InvertAlt = invertAlt;
    return true;
}

}  // namespace paddlesettings
