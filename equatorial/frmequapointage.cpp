#include "equatorial/frmequapointage.h"

#include "altaz/catalogue.h"
#include "chart/frmCercle.h"
#include "core/numbers.h"
#include "core/state.h"
#include "equatorial/equagotowindows.h"
#include "motor/gotopass.h"
#include "motor/equagoto.h"
#include "motor/settingsfiles.h"
#include "platform/numberfile.h"
#include "platform/saveset.h"
#include "platform/vbrt.h"
#include "platform/widgets.h"
#include "shell/buttonpictures.h"

#include <QAction>
#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenuBar>
#include <QMouseEvent>
#include <QPushButton>

#include <cmath>

namespace {

constexpr int kWidth = 7680;
constexpr int kHeight = 6075;
// The speed level used when the file gives none (the shipped one).
constexpr int kDefaultGotoLevel = 3;

QStringList catalogueEntries() {
    QStringList entries = catalogue::Captions();
    entries.removeFirst();  // the bright stars are the reference-star list
    return entries;
}

}  // namespace

Frmequapointage::Frmequapointage()
    : PointingWindow(QStringLiteral("pointage"), ownObjects_, typefilter::Owner::EquaPointing, catalogueEntries(), 1) {
    setObjectName(QStringLiteral("frmequapointage"));

    menu = ui::Make<QMenuBar>(this, "menu");
    mnuquit = menu->addAction(QStringLiteral("quitter pointage automatique"));
    mnuquit->setObjectName(QStringLiteral("mnuquit"));
    ui::Place(menu, 0, 0, kWidth, 330);

    // Reference stars, catalogues and objects, typed coordinates.
    lbEtoiles = ui::Make<QListWidget>(this, "lbEtoiles");
    ui::Place(lbEtoiles, 120, 450, 2160, 3630);
    ui::Place(lbCatalogue, 2400, 450, 3000, 1500);
    ui::Place(lbObjets, 2400, 2070, 3000, 2010);
    ui::Place(Frame4, 2400, 2070, 3000, 2010);

    // Telescope position.
    QGroupBox* coords = ui::Frame(this, "Frame1", QStringLiteral("Coordonnées"), 5520, 450, 2040, 1320);
    ui::Label(coords, QStringLiteral("A.D"), 120, 390, 600);
    tADpos->setParent(coords);
    ui::Place(tADpos, 720, 390, 1260, ui::kLineHeight);
    ui::Label(coords, QStringLiteral("Déc."), 120, 870, 600);
    tdcpos->setParent(coords);
    ui::Place(tdcpos, 720, 870, 1260, ui::kLineHeight);

    // The chart in its two roles.
    QGroupBox* chart = ui::Frame(this, "Frame2", QStringLiteral("Mode Graphique"), 5520, 1890, 2040, 2190);
    Picinit = ui::Make<PictureBox>(chart, "Picinit");
    ui::Place(Picinit, 540, 300, 960, 480);
    ui::Label(chart, QStringLiteral("Initialisation"), 120, 810, 1800)->setAlignment(Qt::AlignCenter);
    picpointage = ui::Make<PictureBox>(chart, "picpointage");
    ui::Place(picpointage, 540, 1230, 960, 480);
    ui::Label(chart, QStringLiteral("Pointage"), 120, 1740, 1800)->setAlignment(Qt::AlignCenter);

    // Goto speeds and inversion, save and quit.
    QGroupBox* speeds = ui::Frame(this, "Frame3", QStringLiteral("Vitesses de pointage"), 120, 4230, 2880, 1140);
    ui::Label(speeds, QStringLiteral("A.D"), 120, 330, 1320);
    cbpointaz = ui::Make<QComboBox>(speeds, "cbpointaz");
    ui::Place(cbpointaz, 1560, 300, 1140, 330);
    ui::Label(speeds, QStringLiteral("Déclinaison"), 120, 750, 1320);
    cbpointalt = ui::Make<QComboBox>(speeds, "cbpointalt");
    ui::Place(cbpointalt, 1560, 720, 1140, 330);
    QGroupBox* inversion = ui::Frame(this, "Frame5", QStringLiteral("Inversion des axes"), 3120, 4230, 2280, 1140);
    chkpointad = ui::Make<QCheckBox>(inversion, "chkpointad");
    chkpointad->setText(QStringLiteral("A.D. "));
    ui::Place(chkpointad, 120, 330, 2040, ui::kLineHeight);
    chkpointdec = ui::Make<QCheckBox>(inversion, "chkpointdec");
    chkpointdec->setText(QStringLiteral("Déclinaison "));
    ui::Place(chkpointdec, 120, 750, 2040, ui::kLineHeight);
    cmdsave = ui::Button(this, "cmdsave", QStringLiteral("Sauvegarde réglages"), 5520, 4320, 2040, 420);
    Cmdquit = ui::Button(this, "Cmdquit", QStringLiteral("Quitter"), 5520, 4890, 2040, 420);

    connect(mnuquit, &QAction::triggered, this, &Frmequapointage::mnuquit_Click);
    connect(lbEtoiles, &QListWidget::itemDoubleClicked, this, &Frmequapointage::lbEtoiles_DblClick);
    lbEtoiles->viewport()->installEventFilter(this);
    connect(Picinit, &PictureBox::MouseDown, this, &Frmequapointage::Picinit_MouseDown);
    connect(Picinit, &PictureBox::MouseUp, this, &Frmequapointage::Picinit_MouseUp);
    connect(picpointage, &PictureBox::MouseDown, this, &Frmequapointage::picpointage_MouseDown);
    connect(picpointage, &PictureBox::MouseUp, this, &Frmequapointage::picpointage_MouseUp);
    connect(cmdsave, &QPushButton::clicked, this, &Frmequapointage::cmdsave_Click);
    connect(Cmdquit, &QPushButton::clicked, this, &Frmequapointage::Cmdquit_Click);

    SetTwipsSize(kWidth, kHeight);
}

void Frmequapointage::Form_Load() {
    // 1.
    shared.altgoto.StopGoto = vb::False;

    // 2. The goto inversion: the boxes and the flags the goto reads.
    const auto inversion = settingsfiles::ReadInversion(kInversionPointFile);
    chkpointad->setChecked(inversion.az != 0);
    chkpointdec->setChecked(inversion.alt != 0);
    shared.site.GotoInvertRA = inversion.az;
    shared.site.GotoInvertDec = inversion.alt;

    // 3.
    shared.win.ShowTelescope = vb::False;
    Picinit->SetPicture(ButtonPictures[2]);
    picpointage->SetPicture(ButtonPictures[4]);

    // 4. The reference stars (also the nearest-star search's table).
    LoadBrightStars();
    for (int i = 0; i < RefStarCount(); ++i) lbEtoiles->addItem(stars_.BrightStarName[i]);

    // 5, 6. Messier first.
    ownObjects_.ObjectTypeFilter = 0;
    CurrentCatalogue = 1;
    FillCatalogueList();
    lbCatalogue->setCurrentRow(1);

    // 7. The 36th star, when the file holds that many.
    lbEtoiles->setCurrentRow(RefStarCount() > 35 ? 35 : -1);

    // 8. Until a first sync only the stars show.
    lbObjets->hide();
    lbCatalogue->hide();
    Frame4->hide();

    // 9, 10.
    for (QComboBox* list : {cbpointaz, cbpointalt})
        for (int level = 1; level <= 5; ++level) list->addItem(QString::number(level));
    loadGotoSpeeds();
}

void Frmequapointage::loadGotoSpeeds() {
    const auto levels = settingsfiles::ReadGotoLevels(kPointagequaFile, kDefaultGotoLevel);
    cbpointaz->setCurrentIndex(levels.az - 1);
    cbpointalt->setCurrentIndex(levels.alt - 1);
}

void Frmequapointage::Form_Unload() {
    // A goto under way stops first, as by the progress window's stop button
    // (the chart, when it is there, goes back to its sync role).
    auto& g = shared.altgoto;
    if (!g.GotoRunning) return;
    AskGotoStop();
    if (forms::Loaded<FrmCercle>()) frmCercle().mnuPoint->setText(QStringLiteral("initialisation"));
    shared.win.SkyChartShown = vb::False;
}

void Frmequapointage::Form_Resize() { KeepSize(kWidth, kHeight); }

void Frmequapointage::ShowPosition(double ra, double dec) {
    // Rounded first to the hundredth of a minute the captions show, so a
    // position a hair under 24 h or 90 degrees shows as 0 h or 90 degrees,
    // never as 60 minutes.
    const PointedPlace p = PlaceOf(RoundDecimals(ra, 1), RoundDecimals(dec, 1));
    ShowCaptions(p.ra, p.dec, NumberForm::Plain);
}

void Frmequapointage::lbEtoiles_DblClick() {
    if (shared.altgoto.GotoRunning) return;
    const int i = lbEtoiles->currentRow();
    if (i < 0 || i >= RefStarCount()) return;
    auto& e = shared.equa;
    e.TelescopeRA = stars_.BrightStarRA[i];
    e.TelescopeDec = stars_.BrightStarDec[i];
    ShowPosition(e.TelescopeRA, e.TelescopeDec);
    ShowCatalogueLists();
    shared.win.ShowTelescope = vb::True;
    redrawChartMark();
}

void Frmequapointage::ShowCatalogueLists() {
    lbCatalogue->show();
    if (CurrentCatalogue != 0) lbObjets->show();
}

void Frmequapointage::lbEtoiles_MouseDown(Qt::MouseButton button) {
    if (button == Qt::RightButton) ShowStarInfo(stars_, lbEtoiles->currentRow());
}

void Frmequapointage::lbObjets_DblClick() {
    if (shared.altgoto.GotoRunning) return;
    const int i = SelectedObject();
    if (i < 0) return;
    shared.equa.GotoRA = ownObjects_.CatalogueRA[i];
    shared.equa.GotoDec = ownObjects_.CatalogueDec[i];
    RunGoto();
}

void Frmequapointage::lbObjets_MouseDown(Qt::MouseButton button) {
    if (button == Qt::RightButton) ShowTypePopup();
}

void Frmequapointage::bOK_Click() {
    if (shared.altgoto.GotoRunning) return;
    const auto typed = TypedCoordinates();
    if (!typed) return;
    shared.equa.GotoRA = typed->gotoRA;
    shared.equa.GotoDec = typed->gotoDec;
    // The target shows while the telescope goes there; a refused goto
    // leaves the telescope, and so its position, where they were.
    const QString shownRA = tADpos->text();
    const QString shownDec = tdcpos->text();
    ShowPosition(typed->gotoRA, typed->gotoDec);
    if (!RunGoto()) {
        tADpos->setText(shownRA);
        tdcpos->setText(shownDec);
    }
}

bool Frmequapointage::RunGoto() {
    EquaGotoOnScreen windows;
    const EquaGotoResult r = GotoEquatorial(windows);
    if (!r.Moved()) return false;
    shared.equa.TelescopeRA = r.ra;
    shared.equa.TelescopeDec = r.dec;
    ShowPosition(r.ra, r.dec);
    redrawChartMark();
    return true;
}

void Frmequapointage::redrawChartMark() {
    // The chart, open in either role, shows the telescope where it now points.
    if (forms::Loaded<FrmCercle>() && frmCercle().Shown()) frmCercle().RedrawChart();
}

void Frmequapointage::Picinit_MouseDown() { Picinit->SetPicture(ButtonPictures[3]); }
void Frmequapointage::picpointage_MouseDown() { picpointage->SetPicture(ButtonPictures[5]); }

void Frmequapointage::Picinit_MouseUp() {
    Picinit->SetPicture(ButtonPictures[2]);
    openChart(QStringLiteral("Initialisation"), false);
}

void Frmequapointage::picpointage_MouseUp() {
    picpointage->SetPicture(ButtonPictures[4]);
    openChart(QStringLiteral("Pointage"), true);
}

void Frmequapointage::openChart(const QString& role, bool pointing) {
    FrmCercle& chart = frmCercle();
    chart.mnuPoint->setText(role);
    shared.win.SkyChartShown = vb::Bool(pointing);
    if (shared.win.ChartInitDone != 0) chart.RedrawChart();
    shared.win.AltazMode = vb::False;
    chart.Show();
}

void Frmequapointage::cmdsave_Click() {
    // The speeds and the inversion are saved as one; the goto takes the
    // inversion once both files hold it.
    const int16_t invertRA = vb::Bool(chkpointad->isChecked());
    const int16_t invertDec = vb::Bool(chkpointdec->isChecked());
    SaveSet files;
    files.Add(kPointagequaFile, numberfile::Lines({cbpointaz->currentIndex() + 1.0, cbpointalt->currentIndex() + 1.0}))
        .Add(kInversionPointFile, settingsfiles::InversionLines(invertRA, invertDec));
    if (!files.Save()) return;
    shared.site.GotoInvertRA = invertRA;
    shared.site.GotoInvertDec = invertDec;
}

void Frmequapointage::Cmdquit_Click() {
    Unload();
    forms::Unload<FrmCercle>();
}

void Frmequapointage::mnuquit_Click() {
    forms::Unload<FrmCercle>();
    Unload();
}

void Frmequapointage::closeEvent(QCloseEvent* e) {
    // Closed by its title bar: as "Quitter", so the chart goes too and no
    // later pick on it brings this window back unseen.
    e->accept();
    Cmdquit_Click();
}

bool Frmequapointage::eventFilter(QObject* watched, QEvent* e) {
    if (watched == lbEtoiles->viewport() && e->type() == QEvent::MouseButtonPress) {
        const auto button = static_cast<QMouseEvent*>(e)->button();
        lbEtoiles_MouseDown(button);
        if (button == Qt::RightButton) return true;  // the selection stays
    }
    return PointingWindow::eventFilter(watched, e);
}
