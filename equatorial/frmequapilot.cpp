#include "equatorial/frmequapilot.h"

#include "core/state.h"
#include "core/tracking.h"
#include "motor/equagoto.h"
#include "motor/moves.h"
#include "motor/speedtables.h"
#include "platform/datadir.h"
#include "platform/seams.h"
#include "platform/vbrt.h"
#include "shell/artwork.h"

#include <QFrame>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTimer>

const ManualDriveMount& EquaManualDrive() {
    static const ManualDriveMount mount{
        "frmequapilot",
        QStringLiteral("Pilotage équatorial"),
        6000,
        4800,
        10680,
        6000,
        2400,  // the cross leaves room for the tracking frame on its left
        QStringLiteral("Ascension droite"),
        QStringLiteral("Déclinaison"),
        QStringLiteral("Vitesses A.D"),
        QStringLiteral("Vitesses Déc."),
        "tAD",
        "tDc",
        QStringLiteral("Sid."),
        &DriveState::EquaSpeedTable,
        speedfiles::kEqua,
        ManualMoveEquaRA,
        ManualMoveEquaDec,
    };
    return mount;
}

namespace {

constexpr int kFrameWidth = 1455;
constexpr int kFrameHeight = 1335;
constexpr int kTickMs = 100;

QPushButton* trackButton(QWidget* parent, const char* name, int left, const QPixmap& picture, const QString& tip) {
    auto* b = ui::Make<QPushButton>(parent, name);
    b->setIcon(picture);
    b->setIconSize(QSize(28, 28));
    b->setToolTip(tip);
    ui::Place(b, left, 465, 615, 615);
    return b;
}

QString unusableRateMessage(double rate) {
    return QStringLiteral(
               "Suivi impossible : les valeurs du fichier %1 donnent %2 demi-pas par seconde ; le suivi en "
               "envoie au plus 32767.")
        .arg(datadir::Shown(settingsfiles::kConfigEqua), vb::CStr(rate));
}

}  // namespace

Frmequapilot::Frmequapilot() : Frmaltazpilot(EquaManualDrive()) {
    // The tracking frame, left of the direction cross. Its rectangle covers
    // it whole; the heading is the label's.
    Frame1 = ui::Frame(Frdeplacement, "Frame1", QStringLiteral("Suivi sidéral"), 240, 990, kFrameWidth, kFrameHeight);
    Shape1 = ui::Make<QFrame>(Frame1, "Shape1");
    Shape1->setFrameShape(QFrame::Box);
    Shape1->setAutoFillBackground(true);
    ui::Place(Shape1, 0, 0, kFrameWidth, kFrameHeight);
    Label4 = ui::Label(Frame1, QStringLiteral("Suivi sidéral"), 60, 90, kFrameWidth - 120);
    Label4->setObjectName(QStringLiteral("Label4"));
    Label4->setAlignment(Qt::AlignCenter);
    cmdgo = trackButton(Frame1, "cmdgo", 75, artwork::PlaySymbol(28), QStringLiteral("suivi sidéral"));
    cmdstopgo = trackButton(Frame1, "cmdstopgo", 765, artwork::StopSymbol(28), QStringLiteral("Arrêt"));

    // The tracking values, kept in the frame but not shown.
    const char* const names[4] = {"txts", "txtpas", "txtessai", "txtpas1"};
    QLineEdit** boxes[4] = {&txts, &txtpas, &txtessai, &txtpas1};
    for (int i = 0; i < 4; ++i) {
        *boxes[i] = ui::TextBox(Frame1, names[i], 75 + 345 * i, kFrameHeight, 300);
        (*boxes[i])->hide();
    }

    timersuivi = new QTimer(this);
    timersuivi->setObjectName(QStringLiteral("timersuivi"));
    timersuivi->setInterval(kTickMs);

    connect(cmdgo, &QPushButton::clicked, this, &Frmequapilot::cmdgo_Click);
    connect(cmdstopgo, &QPushButton::clicked, this, &Frmequapilot::cmdstopgo_Click);
    connect(timersuivi, &QTimer::timeout, this, &Frmequapilot::timersuivi_Timer);
}

void Frmequapilot::Form_Unload() {
    timersuivi->stop();
    Frmaltazpilot::Form_Unload();
}

void Frmequapilot::cmdgo_Click() {
    // A goto has the mount and sets the drive mode as it goes.
    if (shared.altgoto.GotoRunning) return;
    const auto mechanics = ReadEquaMechanics();
    if (!mechanics) {
        // The goto's account of what the file must hold, said of tracking.
        seams::MsgBox(UnusableMechanicsMessage(QStringLiteral("Suivi")));
        return;
    }
    const double rate = tracking::SiderealHalfStepsPerSecond(mechanics->raSteps, mechanics->raRatio);
    if (!tracking::UsableBurstRate(rate)) {
        seams::MsgBox(unusableRateMessage(rate));
        return;
    }

    const int second = seams::Now().second;
    second0 = static_cast<int16_t>(second);
    txts->setText(vb::CStr(second));
    nbrepas = rate;
    txtpas->setText(vb::CStr(nbrepas));
    txtessai->setText(QStringLiteral("0"));
    shared.drive.MotorMode = 1;
    timersuivi->start();
}

void Frmequapilot::cmdstopgo_Click() { timersuivi->stop(); }

void Frmequapilot::timersuivi_Timer() {
    // A tick that comes while a burst lets events run waits for the next one;
    // none acts once the program is quitting.
    if (inTick_ || Unloaded() || seams::Quitting()) return;
    second1 = static_cast<int16_t>(seams::Now().second);
    if (second0 && *second0 == second1) return;
    // A goto has the mount: its pulses are not to be mixed with a burst's.
    if (shared.altgoto.GotoRunning) return;

    inTick_ = true;
    txtessai->setText(vb::CStr(vb::Val(txtessai->text()) + 1));
    const tracking::SiderealBurst burst = tracking::SiderealBurstOf(nbrepas, somme);
    shared.drive.EquaStepCount = burst.count;
    reste = burst.reste;
    somme = burst.somme;
    txtpas1->setText(vb::CStr(burst.count));
    // This second is served, whatever runs during the burst.
    second0 = second1;
    MoveEquaSteps();
    inTick_ = false;
}
