#include "shell/paddlesettings.h"

#include "core/state.h"
#include "motor/paddlespeeds.h"
#include "motor/settingsfiles.h"
#include "motor/speedtables.h"
#include "platform/inputcheck.h"
#include "platform/numberfile.h"
#include "platform/vbrt.h"
#include "platform/widgets.h"

#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScrollBar>

#include <vector>

namespace {

// The formula of each bar of an axis: slow, medium, fast.
constexpr std::array<paddlespeeds::Formula, 3> kFormulas = {paddlespeeds::kSlow, paddlespeeds::kMedium,
                                                            paddlespeeds::kFast};

// A speed bar, placed in twips: positions 0 to the last, steps of 10 and 100.
QScrollBar* makeBar(QWidget* parent, const char* name, int left, int top, int width) {
    auto* s = ui::Make<QScrollBar>(parent, name, Qt::Horizontal);
    s->setRange(0, paddlespeeds::kLastPosition);
    s->setSingleStep(10);
    s->setPageStep(100);
    ui::Place(s, left, top, width, 255);
    return s;
}

// The paddle delay of each speed (slow, medium, fast) of each axis.
int32_t& paddleDelay(std::size_t speed, std::size_t axis) {
    auto& d = shared.drive;
    int32_t* const delays[3][2] = {{&d.PaddleDelayAzSlow, &d.PaddleDelayAltSlow},
                                   {&d.PaddleDelayAzMedium, &d.PaddleDelayAltMedium},
                                   {&d.PaddleDelayAzFast, &d.PaddleDelayAltFast}};
    return *delays[speed][axis];
}

// What the backlash buttons of one axis change, and the box that shows it.
struct BacklashAxis {
    double& backlash;   // BacklashAz or BacklashAlt
    double& count;      // BacklashCountAz or BacklashCountAlt
    int16_t& measuring; // BacklashMeasureAz or BacklashMeasureAlt
    QLineEdit* box;
};

BacklashAxis azimuthBacklash(QLineEdit* box) {
    auto& d = shared.drive;
    return {shared.site.BacklashAz, d.BacklashCountAz, d.BacklashMeasureAz, box};
}

BacklashAxis altitudeBacklash(QLineEdit* box) {
    auto& d = shared.drive;
    return {shared.site.BacklashAlt, d.BacklashCountAlt, d.BacklashMeasureAlt, box};
}

void backlashStart(const BacklashAxis& axis, bool counts) {
    if (!counts) {
        axis.backlash = 0;
        axis.box->setText(vb::CStr(axis.backlash));
        return;
    }
    // The measurement counts from 0. The gears have not changed: until "Fin"
    // puts the count in its place, every move (the measurement's own pulses
    // too) goes on taking up the backlash in use, so the counters follow the
    // axis.
    axis.count = 0;
    axis.box->setText(vb::CStr(axis.count));
    axis.measuring = vb::True;
}

void backlashEnd(const BacklashAxis& axis, bool counts) {
    axis.backlash = axis.count;
    axis.box->setText(vb::CStr(axis.backlash));
    if (counts) axis.measuring = vb::False;
}

}  // namespace

PaddleSpeedPanel::PaddleSpeedPanel(QWidget* window, const Layout& l)
    : QGroupBox(window), azName_(l.azName), altName_(l.altName) {
    setObjectName(QStringLiteral("Frame1"));
    setTitle(QStringLiteral("Ajustement des vitesses"));
    ui::Place(this, l.frame.left, l.frame.top, l.frame.width, l.frame.height);
    Label1 = ui::Label(this, l.azCaption, l.azLeft, l.captionTop, l.captionWidth);
    Label1->setObjectName(QStringLiteral("Label1"));
    Label3 = ui::Label(this, l.altCaption, l.altLeft, l.captionTop, l.captionWidth);
    Label3->setObjectName(QStringLiteral("Label3"));
    constexpr int kRow = 540;
    HScrollazl = makeBar(this, "HScrollazl", l.azLeft, l.barTop, l.barWidth);
    HScrollazm = makeBar(this, "HScrollazm", l.azLeft, l.barTop + kRow, l.barWidth);
    HScrollazr = makeBar(this, "HScrollazr", l.azLeft, l.barTop + 2 * kRow, l.barWidth);
    HScrollaltl = makeBar(this, "HScrollaltl", l.altLeft, l.barTop, l.barWidth);
    HScrollaltm = makeBar(this, "HScrollaltm", l.altLeft, l.barTop + kRow, l.barWidth);
    HScrollaltr = makeBar(this, "HScrollaltr", l.altLeft, l.barTop + 2 * kRow, l.barWidth);
    QWidget* boxes = l.boxesOnWindow ? window : this;
    const char* const azNames[3] = {"txtaz0", "txtaz1", "txtaz2"};
    const char* const altNames[3] = {"txtalt0", "txtalt1", "txtalt2"};
    for (int i = 0; i < 3; ++i) {
        txtaz[i] = ui::TextBox(boxes, azNames[i], l.boxAzLeft, l.boxTop + l.boxRowStep * i, l.boxWidth);
        txtalt[i] = ui::TextBox(boxes, altNames[i], l.boxAltLeft, l.boxTop + l.boxRowStep * i, l.boxWidth);
    }

    connect(HScrollazl, &QScrollBar::valueChanged, this, &PaddleSpeedPanel::HScrollazl_Change);
    connect(HScrollazm, &QScrollBar::valueChanged, this, &PaddleSpeedPanel::HScrollazm_Change);
    connect(HScrollazr, &QScrollBar::valueChanged, this, &PaddleSpeedPanel::HScrollazr_Change);
    connect(HScrollaltl, &QScrollBar::valueChanged, this, &PaddleSpeedPanel::HScrollaltl_Change);
    connect(HScrollaltm, &QScrollBar::valueChanged, this, &PaddleSpeedPanel::HScrollaltm_Change);
    connect(HScrollaltr, &QScrollBar::valueChanged, this, &PaddleSpeedPanel::HScrollaltr_Change);
}

QScrollBar* PaddleSpeedPanel::bar(std::size_t speed, std::size_t axis) const {
    const std::array<QScrollBar*, 3> az{HScrollazl, HScrollazm, HScrollazr};
    const std::array<QScrollBar*, 3> alt{HScrollaltl, HScrollaltm, HScrollaltr};
    return (axis == 0 ? az : alt)[speed];
}

void PaddleSpeedPanel::ShowStoredSpeeds() {
    const auto& table = shared.drive.ManualSpeedTable;
    for (std::size_t i = 0; i < 3; ++i)
        for (std::size_t axis = 0; axis < 2; ++axis)
            bar(i, axis)->setValue(paddlespeeds::PositionOf(kFormulas[i], table[i][axis]));
    for (std::size_t axis = 0; axis < 2; ++axis)
        for (std::size_t i = 0; i < 3; ++i) paddleDelay(i, axis) = table[i][axis];
    for (std::size_t i = 0; i < 3; ++i) {
        txtaz[i]->setText(vb::CStr(table[i][0]));
        txtalt[i]->setText(vb::CStr(table[i][1]));
    }
}

void PaddleSpeedPanel::barChanged(std::size_t speed, std::size_t axis) {
    QLineEdit* box = (axis == 0 ? txtaz : txtalt)[speed];
    box->setText(vb::CStr(paddlespeeds::DelayAt(kFormulas[speed], bar(speed, axis)->value())));
    paddleDelay(speed, axis) = vb::CLng(vb::Val(box->text()));
}

void PaddleSpeedPanel::HScrollazl_Change() { barChanged(0, 0); }
void PaddleSpeedPanel::HScrollazm_Change() { barChanged(1, 0); }
void PaddleSpeedPanel::HScrollazr_Change() { barChanged(2, 0); }
void PaddleSpeedPanel::HScrollaltl_Change() { barChanged(0, 1); }
void PaddleSpeedPanel::HScrollaltm_Change() { barChanged(1, 1); }
void PaddleSpeedPanel::HScrollaltr_Change() { barChanged(2, 1); }

std::optional<paddlesettings::TypedSpeeds> PaddleSpeedPanel::Typed() const {
    static const char* const kSpeeds[3] = {"vitesse lente", "vitesse moyenne", "vitesse rapide"};
    paddlesettings::TypedSpeeds typed{shared.drive.ManualSpeedTable, {}};
    std::vector<inputcheck::EntryBox> boxes;
    for (std::size_t axis = 0; axis < 2; ++axis) {
        for (std::size_t i = 0; i < 3; ++i) {
            const QString name =
                QStringLiteral("%1, %2").arg(axis == 0 ? azName_ : altName_, QString::fromLatin1(kSpeeds[i]));
            boxes.push_back({(axis == 0 ? txtaz[i] : txtalt[i])->text(), name, &typed.table[i][axis]});
        }
    }
    if (!inputcheck::TakeEntries(boxes, inputcheck::kDelay)) return std::nullopt;
    std::vector<double> lines;
    for (std::size_t axis = 0; axis < 2; ++axis)
        for (std::size_t i = 0; i < 3; ++i) lines.push_back(typed.table[i][axis]);
    typed.lines = numberfile::Lines(lines);
    return typed;
}

namespace paddlesettings {

void ShowSavedInversion(QCheckBox* chkaz, QCheckBox* chkalt) {
    const auto inv = settingsfiles::ReadInversion();
    shared.site.InvertAz = inv.az;
    shared.site.InvertAlt = inv.alt;
    chkaz->setChecked(shared.site.InvertAz != 0);
    chkalt->setChecked(shared.site.InvertAlt != 0);
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

BacklashPanel::BacklashPanel(QWidget* window, const Layout& l) : QGroupBox(window), counts_(l.counts) {
    setObjectName(QStringLiteral("Frame3"));
    setTitle(QStringLiteral("Backlash"));
    ui::Place(this, l.frame.left, l.frame.top, l.frame.width, l.frame.height);
    const auto row = [&](const QString& caption, const char* captionName, int step, const char* boxName,
                         const char* startName, const char* endName, QLineEdit*& box, QPushButton*& start,
                         QPushButton*& end) {
        QLabel* c = ui::Label(this, caption, 120, l.captionTop + step, l.captionWidth);
        if (captionName) c->setObjectName(QString::fromLatin1(captionName));
        box = ui::TextBox(this, boxName, l.boxLeft, l.boxTop + step, l.boxWidth);
        box->setText(QStringLiteral("0"));
        start = ui::Button(this, startName, QStringLiteral("Début"), l.startLeft, l.buttonTop + step, l.buttonWidth);
        end = ui::Button(this, endName, QStringLiteral("Fin"), l.endLeft, l.buttonTop + step, l.buttonWidth);
    };
    row(l.azCaption, l.azCaptionName, 0, "txtbacklash_az", "cmdjeuaz_deb", "cmdjeuaz_fin", txtbacklash_az,
        cmdjeuaz_deb, cmdjeuaz_fin);
    row(l.altCaption, l.altCaptionName, l.rowStep, "txtbacklash_alt", "cmdjeualt_deb", "cmdjeualt_fin",
        txtbacklash_alt, cmdjeualt_deb, cmdjeualt_fin);

    connect(cmdjeuaz_deb, &QPushButton::clicked, this, &BacklashPanel::cmdjeuaz_deb_Click);
    connect(cmdjeuaz_fin, &QPushButton::clicked, this, &BacklashPanel::cmdjeuaz_fin_Click);
    connect(cmdjeualt_deb, &QPushButton::clicked, this, &BacklashPanel::cmdjeualt_deb_Click);
    connect(cmdjeualt_fin, &QPushButton::clicked, this, &BacklashPanel::cmdjeualt_fin_Click);
}

void BacklashPanel::ShowStoredBacklash() {
    txtbacklash_alt->setText(vb::CStr(shared.site.BacklashAlt));
    txtbacklash_az->setText(vb::CStr(shared.site.BacklashAz));
}

void BacklashPanel::cmdjeuaz_deb_Click() { backlashStart(azimuthBacklash(txtbacklash_az), counts_); }
void BacklashPanel::cmdjeuaz_fin_Click() { backlashEnd(azimuthBacklash(txtbacklash_az), counts_); }
void BacklashPanel::cmdjeualt_deb_Click() { backlashStart(altitudeBacklash(txtbacklash_alt), counts_); }
void BacklashPanel::cmdjeualt_fin_Click() { backlashEnd(altitudeBacklash(txtbacklash_alt), counts_); }
