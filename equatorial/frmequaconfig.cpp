#include "equatorial/frmequaconfig.h"

#include "motor/handpad.h"
#include "motor/settingsfiles.h"
#include "platform/inputcheck.h"
#include "platform/port.h"
#include "platform/vbrt.h"
#include "platform/widgets.h"
#include "shell/frminterface.h"
#include "shell/frmraquette.h"

#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTimer>

namespace {

// A column heading on two lines.
QLabel* heading(QWidget* parent, const QString& text, int left, int top, int width) {
    auto* l = new QLabel(text, parent);
    l->setWordWrap(true);
    l->setAlignment(Qt::AlignHCenter | Qt::AlignBottom);
    ui::Place(l, left, top, width, 2 * ui::kLineHeight + 60);
    return l;
}

}  // namespace

Frmequaconfig::Frmequaconfig() : Form(QStringLiteral("Paramètres")) {
    setObjectName(QStringLiteral("frmequaconfig"));

    frmeca = ui::Frame(this, "frmeca", QStringLiteral("Paramètres mécaniques"), 120, 60, 3720, 2520);
    heading(frmeca, QStringLiteral("Nombre de pas moteur"), 780, 300, 1380);
    heading(frmeca, QStringLiteral("Rapports de réduction"), 2220, 300, 1380);
    ui::Label(frmeca, QStringLiteral("A.D"), 120, 1260, 600);
    txtpasad = ui::TextBox(frmeca, "txtpasad", 900, 1230, 1140);
    txtRad = ui::TextBox(frmeca, "txtRad", 2340, 1230, 1140);
    ui::Label(frmeca, QStringLiteral("Déc."), 120, 1860, 600);
    txtpasdec = ui::TextBox(frmeca, "txtpasdec", 900, 1830, 1140);
    txtRdec = ui::TextBox(frmeca, "txtRdec", 2340, 1830, 1140);

    bFin = ui::Button(this, "bFin", QStringLiteral("&Valider"), 240, 2880, 1560, 390);
    cmdbacklash = ui::Button(this, "cmdbacklash", QStringLiteral("backlash"), 2160, 2880, 1560, 390);

    connect(bFin, &QPushButton::clicked, this, &Frmequaconfig::bFin_Click);
    connect(cmdbacklash, &QPushButton::clicked, this, &Frmequaconfig::cmdbacklash_Click);
}

void Frmequaconfig::Form_Load() {
    SetTwipsSize(kWidth, kHeight);
    const auto m = settingsfiles::ReadConfigEqua();
    txtpasad->setText(vb::CStr(m.raSteps));
    txtpasdec->setText(vb::CStr(m.decSteps));
    txtRad->setText(vb::CStr(m.raRatio));
    txtRdec->setText(vb::CStr(m.decRatio));
}

void Frmequaconfig::bFin_Click() {
    // Every goto and tracking start divides by these values: only positive
    // numbers reach the file, and the window stays open for a correction.
    using namespace inputcheck;
    const auto v = Values({{txtpasad->text(), QStringLiteral("Nombre de pas moteur A.D"), kSteps},
                           {txtpasdec->text(), QStringLiteral("Nombre de pas moteur Déc."), kSteps},
                           {txtRad->text(), QStringLiteral("Rapport de réduction A.D"), kRatio},
                           {txtRdec->text(), QStringLiteral("Rapport de réduction Déc."), kRatio}});
    if (!v) return;
    settingsfiles::EquaMechanics m;
    m.raSteps = (*v)[0];
    m.decSteps = (*v)[1];
    m.raRatio = (*v)[2];
    m.decRatio = (*v)[3];
    if (!settingsfiles::WriteConfigEqua(m)) return;  // told; the old file and the window stay
    Unload();
}

void Frmequaconfig::cmdbacklash_Click() {
    Out32(port::kControl, 11);
    handpad::ClearDataForPaddle();
    Frmraquette& paddle = frmraquette();
    paddle.Show();
    paddle.SetFolded(false);
    frminterface().Timer->start();
}
