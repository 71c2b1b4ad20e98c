#include "altaz/frmaltazpilot.h"

#include "motor/moves.h"
#include "motor/speedtables.h"
#include "platform/inputcheck.h"
#include "platform/numberfile.h"
#include "platform/port.h"
#include "platform/vbrt.h"
#include "shell/artwork.h"

#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QSignalBlocker>
#include <QSlider>

#include <cmath>
#include <vector>

const ManualDriveMount& AltazManualDrive() {
    static const ManualDriveMount mount{
    "frmaltazpilot",
    QStringLiteral(" Pilotage altazimutal"),
    5500,
    4710,
    10200,
    5520,
    1425,
    QStringLiteral("Azimut"),
    QStringLiteral("Altitude"),
    QStringLiteral("Vitesses Azimut"),
    QStringLiteral("Vitesses Altitude"),
    "tAZ",
    "tAlt",
    QStringLiteral("I"),
    &DriveState::AltazSpeedTable,
    speedfiles::kAltaz,
    ManualMoveAz,
    ManualMoveAlt,
    };
    return mount;
}

namespace {

// The bar of letters I of each speed level.
const char* const kLevelBars[5] = {"I", "IIII", "IIIIIII", "IIIIIIIIII", "IIIIIIIIIIIII"};
// A delay is shown and edited in units of this many busy-wait counts.
constexpr double kDelayUnit = 50;
// A box: a number of such units, a fraction allowed (a stored delay need
// not be a multiple of 50), whose delay fits a 32-bit count.
constexpr inputcheck::Range kDelayBox{0, 42949672};  // 2147483647 / 50, rounded down
static_assert(kDelayBox.high * kDelayUnit <= ranges::kMaxCount);

// The bar and number boxes of one axis: green on black.
QLineEdit* levelBox(QWidget* parent, const char* name, int left, int width) {
    auto* b = ui::TextBox(parent, name, left, 1080, width);
    b->setStyleSheet(QStringLiteral("QLineEdit { color: #00ff00; background: black; }"));
    return b;
}

// The frame of one axis: its level slider, bar box and number box.
QGroupBox* axisFrame(QWidget* parent, const char* name, const QString& title, int left, const char* sliderName,
                     const char* barName, const char* numberName, QSlider*& slider, QLineEdit*& bar,
                     QLineEdit*& number) {
    QGroupBox* f = ui::Frame(parent, name, title, left, 60, 2655, 1575);
    slider = ui::Make<QSlider>(f, sliderName, Qt::Horizontal);
    slider->setRange(0, 4);
    slider->setPageStep(1);
    slider->setTickPosition(QSlider::TicksBelow);
    slider->setTickInterval(1);
    ui::Place(slider, 120, 360, 2415, 540);
    bar = levelBox(f, barName, 120, 1695);
    bar->setText(QStringLiteral("IIIIIIIIII"));  // the bar of level 3
    number = levelBox(f, numberName, 1920, 615);
    return f;
}

QPushButton* crossButton(QWidget* parent, const char* name, int left, int top, const QPixmap& picture) {
    auto* b = ui::Make<QPushButton>(parent, name);
    b->setCheckable(true);
    b->setIcon(picture);
    b->setIconSize(QSize(36, 36));
    ui::Place(b, left, top, 855, 735);
    return b;
}

}  // namespace

Frmaltazpilot::Frmaltazpilot() : Frmaltazpilot(AltazManualDrive()) {}

Frmaltazpilot::Frmaltazpilot(const ManualDriveMount& mount) : Form(mount.caption), mount_(mount) {
    setObjectName(QString::fromLatin1(mount.name));

    // Top row: one frame per axis.
    Fraz = axisFrame(this, "Fraz", mount.azFrame, 60, "slaz", "txtv_az", "txtnumaz", slaz, txtv_az, txtnumaz);
    Fralt = axisFrame(this, "Fralt", mount.altFrame, 2775, "slalt", "txtv_alt", "txtnumalt", slalt, txtv_alt,
                      txtnumalt);

    // The direction cross.
    Frdeplacement = ui::Frame(this, "Frdeplacement", QStringLiteral("Déplacement"), 60, 1695, 5415, 2895);
    const int x = mount.crossLeft;
    cmdhh = crossButton(Frdeplacement, "cmdhh", x + 855, 570, artwork::Arrow(36, 0));
    cmdag = crossButton(Frdeplacement, "cmdag", x, 1305, artwork::Arrow(36, 270));
    cmddstop = crossButton(Frdeplacement, "cmddstop", x + 855, 1305, artwork::StopSign(36));
    cmddstop->setCheckable(false);
    cmdad = crossButton(Frdeplacement, "cmdad", x + 1710, 1305, artwork::Arrow(36, 90));
    cmdhb = crossButton(Frdeplacement, "cmdhb", x + 855, 2040, artwork::Arrow(36, 180));
    Label1 = ui::Label(Frdeplacement, QStringLiteral("Ajustement des vitesses"), 5415 - 2760, 240, 2280);
    Label1->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    Label1->setObjectName(QStringLiteral("Label1"));
    lblvit = ui::Make<WebdingsLabel>(Frdeplacement, "lblvit");
    lblvit->SetCaption(QStringLiteral("8"));
    ui::Place(lblvit, 5415 - 435, 210, 345, 345);
    Cmdquit = ui::Button(this, "Cmdquit", QStringLiteral("Quitter"), mount.width - 1395, mount.height - 1020, 1275,
                         450);
    Cmdquit->setIcon(artwork::ExitDoor(20));

    // The speed panel, beyond the window's normal width.
    Frame2 = ui::Frame(this, "Frame2", QStringLiteral("Réglage des vitesses"), mount.panelLeft, 60, 4575, 4335);
    Label3 = ui::Label(Frame2, mount.azHeading, 120, 240, 3000);
    Label2 = ui::Label(Frame2, mount.altHeading, 120, 2010, 3000);
    for (int i = 0; i < 10; ++i) {
        const bool first = i < 5;
        const int level = i % 5;
        const int top = (first ? 510 : 2280) + 300 * level;
        auto* bar = ui::Make<QScrollBar>(Frame2, QStringLiteral("HScroll%1").arg(i + 1).toLatin1().constData(),
                                         Qt::Horizontal);
        bar->setRange(0, kBarMaximum);
        bar->setPageStep(10);
        ui::Place(bar, 120, top + 22, 3615, 240);
        HScroll[i] = bar;
        const QString name =
            QStringLiteral("%1%2").arg(QLatin1String(first ? mount.azBoxes : mount.altBoxes)).arg(level);
        (first ? tAZ : tAlt)[level] = ui::TextBox(Frame2, name.toLatin1().constData(), 3795, top, 720);
    }
    cmdvalid = ui::Button(Frame2, "cmdvalid", QStringLiteral("Ok"), 1800, 3840, 975, 390);

    // A click leaves a direction button pressed until stop releases it.
    const std::array<std::pair<QPushButton*, void (Frmaltazpilot::*)()>, 4> directions{
        {{cmdad, &Frmaltazpilot::cmdad_Click},
         {cmdag, &Frmaltazpilot::cmdag_Click},
         {cmdhh, &Frmaltazpilot::cmdhh_Click},
         {cmdhb, &Frmaltazpilot::cmdhb_Click}}};
    for (const auto& [button, handler] : directions) {
        connect(button, &QPushButton::clicked, this, [this, button, handler] {
            button->setChecked(true);
            (this->*handler)();
        });
    }
    connect(cmddstop, &QPushButton::clicked, this, &Frmaltazpilot::cmddstop_Click);
    connect(Cmdquit, &QPushButton::clicked, this, &Frmaltazpilot::Cmdquit_Click);
    connect(slaz, &QSlider::valueChanged, this, &Frmaltazpilot::slaz_Click);
    connect(slalt, &QSlider::valueChanged, this, &Frmaltazpilot::slalt_Click);
    // A click on the handle that leaves it where it was is a click all the
    // same: the running move looks its delay up again.
    connect(slaz, &QSlider::sliderReleased, this, &Frmaltazpilot::slaz_Click);
    connect(slalt, &QSlider::sliderReleased, this, &Frmaltazpilot::slalt_Click);
    connect(lblvit, &WebdingsLabel::Click, this, &Frmaltazpilot::lblvit_Click);
    for (int i = 0; i < 10; ++i)
        connect(HScroll[i], &QScrollBar::valueChanged, this, [this, i] { HScrollChange(i); });
    connect(cmdvalid, &QPushButton::clicked, this, &Frmaltazpilot::cmdvalid_Click);
}

SpeedTable& Frmaltazpilot::table() const { return shared.drive.*(mount_.table); }

void Frmaltazpilot::Form_Load() {
    SetTwipsSize(mount_.width, mount_.height);

    // Both levels at 3; placing a slider runs no click handler, and the bar
    // boxes' first text is already the bar of level 3.
    auto& d = shared.drive;
    for (QSlider* s : {slaz, slalt}) {
        const QSignalBlocker quiet(s);
        s->setValue(3);
    }
    d.SpeedIndexAz = static_cast<int16_t>(slaz->value());
    txtnumaz->setText(QStringLiteral("4"));
    d.SpeedIndexAlt = static_cast<int16_t>(slalt->value());
    txtnumalt->setText(QStringLiteral("4"));

    d.MotorMode = 0;

    const SpeedTable& t = table();
    for (int i = 0; i < 5; ++i) {
        tAZ[i]->setText(vb::CStr(t[i][0] / kDelayUnit));
        tAlt[i]->setText(vb::CStr(t[i][1] / kDelayUnit));
    }
    for (int i = 0; i < 10; ++i) {
        const double position = std::nearbyint(vb::Val(boxOf(i)->text()));
        if (position >= 0 && position <= kBarMaximum) {
            HScroll[i]->setValue(static_cast<int>(position));
        } else {
            // Out of the bar's reach: the bar goes to its end, the box keeps the value.
            const QSignalBlocker quiet(HScroll[i]);
            HScroll[i]->setValue(position < 0 ? 0 : kBarMaximum);
        }
    }

    Out32(port::kControl, 1);
}

void Frmaltazpilot::Form_Unload() { shared.drive.MotorMode = 0; }

void Frmaltazpilot::direction(QPushButton* button, int16_t mode, std::array<QPushButton*, 3> released,
                              void (*move)()) {
    if (shared.altgoto.GotoRunning) {
        button->setChecked(false);
        return;
    }
    if (!button->isChecked()) {
        shared.drive.MotorMode = 0;
        return;
    }
    shared.drive.MotorMode = mode;
    for (QPushButton* b : released) b->setChecked(false);
    move();
}

void Frmaltazpilot::cmdad_Click() { direction(cmdad, 1, {cmdag, cmdhh, cmdhb}, mount_.moveAz); }
void Frmaltazpilot::cmdag_Click() { direction(cmdag, 2, {cmdad, cmdhh, cmdhb}, mount_.moveAz); }
void Frmaltazpilot::cmdhh_Click() { direction(cmdhh, 3, {cmdhb, cmdad, cmdag}, mount_.moveAlt); }
void Frmaltazpilot::cmdhb_Click() { direction(cmdhb, 4, {cmdhh, cmdad, cmdag}, mount_.moveAlt); }

void Frmaltazpilot::cmddstop_Click() {
    shared.drive.MotorMode = 0;
    for (QPushButton* b : {cmdhh, cmdhb, cmdad, cmdag}) b->setChecked(false);
}

void Frmaltazpilot::Cmdquit_Click() {
    shared.drive.MotorMode = 0;
    Unload();
}

void Frmaltazpilot::showLevel(int16_t level, QLineEdit* bar, QLineEdit* number, bool firstAxis) {
    if (level < 0 || level > 4) return;
    bar->setText(level == 0 && firstAxis ? mount_.levelZeroBar : QString::fromLatin1(kLevelBars[level]));
    number->setText(vb::CStr(level + 1));
    shared.drive.SpeedChanged = vb::True;
}

void Frmaltazpilot::slaz_Click() {
    shared.drive.SpeedIndexAz = static_cast<int16_t>(slaz->value());
    showLevel(shared.drive.SpeedIndexAz, txtv_az, txtnumaz, true);
}

void Frmaltazpilot::slalt_Click() {
    shared.drive.SpeedIndexAlt = static_cast<int16_t>(slalt->value());
    showLevel(shared.drive.SpeedIndexAlt, txtv_alt, txtnumalt, false);
}

void Frmaltazpilot::lblvit_Click() {
    if (lblvit->Caption() == u"8") {
        lblvit->SetCaption(QStringLiteral("7"));
        SetTwipsWidth(mount_.panelWidth);
    } else {
        lblvit->SetCaption(QStringLiteral("8"));
        SetTwipsWidth(mount_.width);
    }
}

void Frmaltazpilot::HScrollChange(int index) { boxOf(index)->setText(vb::CStr(HScroll[index]->value())); }

void Frmaltazpilot::cmdvalid_Click() {
    // An empty box or one of 0 keeps its delay; any other box must hold a
    // delay the table can keep, or nothing is saved. The table changes only
    // once the file holds the new values.
    SpeedTable stored = table();
    std::vector<inputcheck::EntryBox> boxes;
    for (int axis = 0; axis < 2; ++axis) {
        for (int level = 0; level < 5; ++level) {
            const QString heading = axis == 0 ? mount_.azHeading : mount_.altHeading;
            const QString name = QStringLiteral("%1, niveau %2").arg(heading).arg(level + 1);
            boxes.push_back({boxOf(5 * axis + level)->text(), name, &stored[level][axis]});
        }
    }
    if (!inputcheck::TakeEntries(boxes, kDelayBox, kDelayUnit)) return;
    std::vector<double> lines;
    for (int axis = 0; axis < 2; ++axis)
        for (int level = 0; level < 5; ++level) lines.push_back(stored[level][axis]);
    if (numberfile::Write(mount_.file, lines)) table() = stored;
}
