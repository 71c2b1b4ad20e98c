#include "shell/frmraquette.h"

#include "core/state.h"
#include "motor/paddle.h"
#include "motor/settingsfiles.h"
#include "platform/inputcheck.h"
#include "platform/vbrt.h"
#include "platform/widgets.h"
#include "shell/buttonpictures.h"
#include "shell/frminterface.h"

#include <QCheckBox>
#include <QGroupBox>
#include <QIcon>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTimer>

namespace {

QLabel* namedLabel(QWidget* parent, const char* name, const QString& text, int left, int top, int width) {
    QLabel* l = ui::Label(parent, text, left, top, width);
    l->setObjectName(QString::fromLatin1(name));
    return l;
}

const QString kFolded = QStringLiteral("8");
const QString kUnfolded = QStringLiteral("7");

}  // namespace

Frmraquette::Frmraquette() : Form(QStringLiteral("Paramètres de la raquette")) {
    setObjectName(QStringLiteral("frmraquette"));

    // Paddle speeds: per axis a bar and its box for slow, medium and fast.
    const QString az = QStringLiteral("A.D \\ Azimut");
    const QString alt = QStringLiteral("Déc. \\ Altitude");
    Frame1 = new PaddleSpeedPanel(this, {.frame = {120, 60, 5025, 2340}, .azLeft = 120, .altLeft = 2580,
                                         .captionTop = 300, .captionWidth = 2280, .barTop = 720, .barWidth = 1380,
                                         .azCaption = az, .altCaption = alt, .azName = az, .altName = alt,
                                         .boxesOnWindow = false, .boxAzLeft = 1560, .boxAltLeft = 4020,
                                         .boxTop = 705, .boxRowStep = 540, .boxWidth = 900});

    // Command inversion.
    Frame2 = ui::Frame(this, "Frame2", QStringLiteral("Inversion des commandes"), 120, 2520, 3060, 1080);
    chkaz = ui::Make<QCheckBox>(Frame2, "chkaz");
    chkaz->setText(QStringLiteral("A.D. \\ Azimut"));
    ui::Place(chkaz, 120, 300, 2820, 315);
    chkalt = ui::Make<QCheckBox>(Frame2, "chkalt");
    chkalt->setText(QStringLiteral("Déclinaison \\ Altitude"));
    ui::Place(chkalt, 120, 660, 2820, 315);

    // The fold switch of the backlash panel.
    Label2 = namedLabel(this, "Label2", QStringLiteral("Réglage backlash"), 3240, 2700, 1620);
    lblbacklash = ui::Make<WebdingsLabel>(this, "lblbacklash");
    ui::Place(lblbacklash, 4860, 2640, 345, 405);
    lblbacklash->SetCaption(kFolded);

    cmdvalid = ui::Make<QPushButton>(this, "cmdvalid");
    cmdvalid->setToolTip(QStringLiteral("Enregistrer"));
    ui::Place(cmdvalid, 3300, 3180, 960, 600);
    Cmdquit = ui::Button(this, "Cmdquit", QStringLiteral("Quitter"), 3300, 3900, 1845);

    // Backlash, beyond the folded width. "Début" and "Fin" take the backlash
    // from the count the set-up window's measurement left: 0, then that
    // count; they do not run the count.
    Frame3 = new BacklashPanel(this, {.frame = {kFoldedWidth + 120, 60, 2025, 2700},
                                      .azCaption = QStringLiteral("A.D \\ Azimut"),
                                      .altCaption = QStringLiteral("Déc. \\ Altitude"),
                                      .azCaptionName = "Label4", .altCaptionName = "Label5",
                                      .captionTop = 300, .captionWidth = 1800,
                                      .boxLeft = 120, .boxTop = 630, .boxWidth = 900,
                                      .buttonTop = 990, .startLeft = 120, .endLeft = 1050, .buttonWidth = 870,
                                      .rowStep = 1200, .counts = false});

    connect(chkaz, &QCheckBox::clicked, this, &Frmraquette::chkaz_Click);
    connect(chkalt, &QCheckBox::clicked, this, &Frmraquette::chkalt_Click);
    connect(lblbacklash, &PictureBox::Click, this, &Frmraquette::lblbacklash_Click);
    connect(cmdvalid, &QPushButton::clicked, this, &Frmraquette::cmdvalid_Click);
    connect(Cmdquit, &QPushButton::clicked, this, &Frmraquette::Cmdquit_Click);
}

void Frmraquette::Form_Load() {
    SetTwipsSize(kFoldedWidth, kHeight);
    cmdvalid->setIcon(QIcon(ButtonPictures[0]));
    cmdvalid->setIconSize(ButtonPictures[0].size());

    paddlesettings::ShowSavedInversion(chkaz, chkalt);

    Frame1->ShowStoredSpeeds();

    Frame3->ShowStoredBacklash();
}

// The paddle follows the boxes at once; the file changes only with the save.
void Frmraquette::chkaz_Click() { shared.site.InvertAz = vb::Bool(shared.site.InvertAz != vb::True); }
void Frmraquette::chkalt_Click() { shared.site.InvertAlt = vb::Bool(shared.site.InvertAlt != vb::True); }

void Frmraquette::SetFolded(bool folded) {
    lblbacklash->SetCaption(folded ? kFolded : kUnfolded);
    SetTwipsWidth(folded ? kFoldedWidth : kUnfoldedWidth);
}

void Frmraquette::lblbacklash_Click() { SetFolded(lblbacklash->Caption() != kFolded); }

void Frmraquette::cmdvalid_Click() {
    // Every box is checked before a file is written; the speeds, the
    // inversion and the backlash are then saved as one.
    const auto speeds = Frame1->Typed();
    if (!speeds) return;
    using inputcheck::kBacklash;
    const auto backlash = inputcheck::Values(
        {{Frame3->txtbacklash_az->text(), QStringLiteral("Backlash A.D \\ Azimut"), kBacklash},
         {Frame3->txtbacklash_alt->text(), QStringLiteral("Backlash Déc. \\ Altitude"), kBacklash}});
    if (!backlash) return;
    SaveSet files;
    files.Add(settingsfiles::kBacklash, settingsfiles::BacklashLines((*backlash)[0], (*backlash)[1]));
    paddlesettings::Save(*speeds, chkaz, chkalt, files);
}

void Frmraquette::Cmdquit_Click() {
    frminterface().Timer->stop();
    shared.drive.HandPadCode = paddle::kSwitchedOff;
    Unload();
}
