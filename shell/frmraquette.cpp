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
#include <QScrollBar>
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
    Frame1 = ui::Frame(this, "Frame1", QStringLiteral("Ajustement des vitesses"), 120, 60, 5025, 2340);
    Label1 = namedLabel(Frame1, "Label1", QStringLiteral("A.D \\ Azimut"), 120, 300, 2280);
    Label3 = namedLabel(Frame1, "Label3", QStringLiteral("Déc. \\ Altitude"), 2580, 300, 2280);
    using paddlesettings::MakeBar;
    HScrollazl = MakeBar(Frame1, "HScrollazl", 120, 720, 1380);
    HScrollazm = MakeBar(Frame1, "HScrollazm", 120, 1260, 1380);
    HScrollazr = MakeBar(Frame1, "HScrollazr", 120, 1800, 1380);
    HScrollaltl = MakeBar(Frame1, "HScrollaltl", 2580, 720, 1380);
    HScrollaltm = MakeBar(Frame1, "HScrollaltm", 2580, 1260, 1380);
    HScrollaltr = MakeBar(Frame1, "HScrollaltr", 2580, 1800, 1380);
    const char* const azNames[3] = {"txtaz0", "txtaz1", "txtaz2"};
    const char* const altNames[3] = {"txtalt0", "txtalt1", "txtalt2"};
    for (int i = 0; i < 3; ++i) {
        txtaz[i] = ui::TextBox(Frame1, azNames[i], 1560, 705 + 540 * i, 900);
        txtalt[i] = ui::TextBox(Frame1, altNames[i], 4020, 705 + 540 * i, 900);
    }

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

    // Backlash, beyond the folded width.
    Frame3 = ui::Frame(this, "Frame3", QStringLiteral("Backlash"), kFoldedWidth + 120, 60, 2025, 2700);
    Label4 = namedLabel(Frame3, "Label4", QStringLiteral("A.D \\ Azimut"), 120, 300, 1800);
    txtbacklash_az = ui::TextBox(Frame3, "txtbacklash_az", 120, 630, 900);
    txtbacklash_az->setText(QStringLiteral("0"));
    cmdjeuaz_deb = ui::Button(Frame3, "cmdjeuaz_deb", QStringLiteral("Début"), 120, 990, 870);
    cmdjeuaz_fin = ui::Button(Frame3, "cmdjeuaz_fin", QStringLiteral("Fin"), 1050, 990, 870);
    Label5 = namedLabel(Frame3, "Label5", QStringLiteral("Déc. \\ Altitude"), 120, 1500, 1800);
    txtbacklash_alt = ui::TextBox(Frame3, "txtbacklash_alt", 120, 1830, 900);
    txtbacklash_alt->setText(QStringLiteral("0"));
    cmdjeualt_deb = ui::Button(Frame3, "cmdjeualt_deb", QStringLiteral("Début"), 120, 2190, 870);
    cmdjeualt_fin = ui::Button(Frame3, "cmdjeualt_fin", QStringLiteral("Fin"), 1050, 2190, 870);

    connect(HScrollazl, &QScrollBar::valueChanged, this, &Frmraquette::HScrollazl_Change);
    connect(HScrollazm, &QScrollBar::valueChanged, this, &Frmraquette::HScrollazm_Change);
    connect(HScrollazr, &QScrollBar::valueChanged, this, &Frmraquette::HScrollazr_Change);
    connect(HScrollaltl, &QScrollBar::valueChanged, this, &Frmraquette::HScrollaltl_Change);
    connect(HScrollaltm, &QScrollBar::valueChanged, this, &Frmraquette::HScrollaltm_Change);
    connect(HScrollaltr, &QScrollBar::valueChanged, this, &Frmraquette::HScrollaltr_Change);
    connect(chkaz, &QCheckBox::clicked, this, &Frmraquette::chkaz_Click);
    connect(chkalt, &QCheckBox::clicked, this, &Frmraquette::chkalt_Click);
    connect(cmdjeuaz_deb, &QPushButton::clicked, this, &Frmraquette::cmdjeuaz_deb_Click);
    connect(cmdjeuaz_fin, &QPushButton::clicked, this, &Frmraquette::cmdjeuaz_fin_Click);
    connect(cmdjeualt_deb, &QPushButton::clicked, this, &Frmraquette::cmdjeualt_deb_Click);
    connect(cmdjeualt_fin, &QPushButton::clicked, this, &Frmraquette::cmdjeualt_fin_Click);
    connect(lblbacklash, &PictureBox::Click, this, &Frmraquette::lblbacklash_Click);
    connect(cmdvalid, &QPushButton::clicked, this, &Frmraquette::cmdvalid_Click);
    connect(Cmdquit, &QPushButton::clicked, this, &Frmraquette::Cmdquit_Click);
}

paddlesettings::SpeedControls Frmraquette::speedControls() const {
    return {{HScrollazl, HScrollazm, HScrollazr},
            {HScrollaltl, HScrollaltm, HScrollaltr},
            txtaz,
            txtalt,
            Label1->text(),
            Label3->text()};
}

void Frmraquette::Form_Load() {
    SetTwipsSize(kFoldedWidth, kHeight);
    cmdvalid->setIcon(QIcon(ButtonPictures[0]));
    cmdvalid->setIconSize(ButtonPictures[0].size());

    paddlesettings::ShowSavedInversion(chkaz, chkalt);

    paddlesettings::ShowStoredSpeeds(speedControls());

    txtbacklash_alt->setText(vb::CStr(shared.site.BacklashAlt));
    txtbacklash_az->setText(vb::CStr(shared.site.BacklashAz));
}

void Frmraquette::HScrollazl_Change() {
    paddlesettings::BarChanged(HScrollazl, txtaz[0], paddlespeeds::kSlow, shared.drive.PaddleDelayAzSlow);
}
void Frmraquette::HScrollazm_Change() {
    paddlesettings::BarChanged(HScrollazm, txtaz[1], paddlespeeds::kMedium, shared.drive.PaddleDelayAzMedium);
}
void Frmraquette::HScrollazr_Change() {
    paddlesettings::BarChanged(HScrollazr, txtaz[2], paddlespeeds::kFast, shared.drive.PaddleDelayAzFast);
}
void Frmraquette::HScrollaltl_Change() {
    paddlesettings::BarChanged(HScrollaltl, txtalt[0], paddlespeeds::kSlow, shared.drive.PaddleDelayAltSlow);
}
void Frmraquette::HScrollaltm_Change() {
    paddlesettings::BarChanged(HScrollaltm, txtalt[1], paddlespeeds::kMedium, shared.drive.PaddleDelayAltMedium);
}
void Frmraquette::HScrollaltr_Change() {
    paddlesettings::BarChanged(HScrollaltr, txtalt[2], paddlespeeds::kFast, shared.drive.PaddleDelayAltFast);
}

// The paddle follows the boxes at once; the file changes only with the save.
void Frmraquette::chkaz_Click() { shared.site.InvertAz = vb::Bool(shared.site.InvertAz != vb::True); }
void Frmraquette::chkalt_Click() { shared.site.InvertAlt = vb::Bool(shared.site.InvertAlt != vb::True); }

// "Début" and "Fin" take the backlash from the count the set-up window's
// measurement left: 0, then that count.
void Frmraquette::cmdjeuaz_deb_Click() {
    shared.site.BacklashAz = 0;
    txtbacklash_az->setText(vb::CStr(shared.site.BacklashAz));
}
void Frmraquette::cmdjeuaz_fin_Click() {
    shared.site.BacklashAz = shared.drive.BacklashCountAz;
    txtbacklash_az->setText(vb::CStr(shared.site.BacklashAz));
}
void Frmraquette::cmdjeualt_deb_Click() {
    shared.site.BacklashAlt = 0;
    txtbacklash_alt->setText(vb::CStr(shared.site.BacklashAlt));
}
void Frmraquette::cmdjeualt_fin_Click() {
    shared.site.BacklashAlt = shared.drive.BacklashCountAlt;
    txtbacklash_alt->setText(vb::CStr(shared.site.BacklashAlt));
}

void Frmraquette::SetFolded(bool folded) {
    lblbacklash->SetCaption(folded ? kFolded : kUnfolded);
    SetTwipsWidth(folded ? kFoldedWidth : kUnfoldedWidth);
}

void Frmraquette::lblbacklash_Click() { SetFolded(lblbacklash->Caption() != kFolded); }

void Frmraquette::cmdvalid_Click() {
    // Every box is checked before a file is written; the speeds, the
    // inversion and the backlash are then saved as one.
    const auto speeds = paddlesettings::TypedSpeedsOf(speedControls());
    if (!speeds) return;
    using inputcheck::kBacklash;
    const auto backlash =
        inputcheck::Values({{txtbacklash_az->text(), QStringLiteral("Backlash A.D \\ Azimut"), kBacklash},
                            {txtbacklash_alt->text(), QStringLiteral("Backlash Déc. \\ Altitude"), kBacklash}});
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
