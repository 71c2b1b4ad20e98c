#include "altaz/frmaltazpointage.h"

#include "altaz/catalogue.h"
#include "altaz/frmcoord.h"
#include "chart/frmCercle.h"
#include "core/conversions.h"
#include "core/counters.h"
#include "core/gotostep.h"
#include "core/state.h"
#include "motor/gotopass.h"
#include "platform/seams.h"
#include "platform/vbrt.h"
#include "platform/widgets.h"
#include "shell/frmDepl.h"

#include <QAction>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>

namespace {

constexpr int kWidth = 8895;
constexpr int kHeight = 3795;

// "Autre..." then every catalogue, the bright stars first.
QStringList catalogueEntries() { return catalogue::Captions(); }

}  // namespace

Frmaltazpointage::Frmaltazpointage()
    : PointingWindow(QStringLiteral("pointage"), ownObjects_, typefilter::Owner::AltazPointing, catalogueEntries(), 0) {
    setObjectName(QStringLiteral("frmaltazpointage"));

    ui::Place(lbCatalogue, 120, 120, 3000, 2040);
    ui::Place(lbObjets, 3240, 120, 2040, 3510);
    ui::Place(Frame4, 3240, 120, 2040, 3510);
    tADpos->setText(QStringLiteral("?"));
    ui::Place(tADpos, 120, 2280, 1440, ui::kLineHeight);
    tdcpos->setText(QStringLiteral("?"));
    ui::Place(tdcpos, 1680, 2280, 1440, ui::kLineHeight);

    cmdpointage_graph = ui::Button(this, "cmdpointage_graph", QStringLiteral("Pointage"), 120, 2760, 1440, 420);
    cmdsave = ui::Button(this, "cmdsave", QStringLiteral("Sauvegarde"), 1680, 2760, 1440, 420);

    Frame3 = ui::Frame(this, "Frame3", QStringLiteral("Coordonnées"), 5400, 120, 3375, 1380);
    ui::Label(Frame3, QStringLiteral("Azimut"), 120, 390, 900);
    txtcoordaz1 = ui::TextBox(Frame3, "txtcoordaz1", 1020, 360, 480);
    txtcoordaz2 = ui::TextBox(Frame3, "txtcoordaz2", 1560, 360, 480);
    txtcoordaz3 = ui::TextBox(Frame3, "txtcoordaz3", 2100, 360, 480);
    txtdistaz = ui::TextBox(Frame3, "txtdistaz", 2640, 360, 615);
    ui::Label(Frame3, QStringLiteral("Altitude"), 120, 870, 900);
    txtcoordalt1 = ui::TextBox(Frame3, "txtcoordalt1", 1020, 840, 480);
    txtcoordalt2 = ui::TextBox(Frame3, "txtcoordalt2", 1560, 840, 480);
    txtcoordalt3 = ui::TextBox(Frame3, "txtcoordalt3", 2100, 840, 480);
    txtdistalt = ui::TextBox(Frame3, "txtdistalt", 2640, 840, 615);

    frame5 = ui::Frame(this, "frame5", QStringLiteral("Vitesses de pointage"), 5400, 1620, 3375, 1440);
    ui::Label(frame5, QStringLiteral("Azimut"), 120, 390, 1200);
    cbpointaz = ui::Make<QComboBox>(frame5, "cbpointaz");
    ui::Place(cbpointaz, 1440, 360, 1200, 330);
    ui::Label(frame5, QStringLiteral("Altitude"), 120, 870, 1200);
    cbpointalt = ui::Make<QComboBox>(frame5, "cbpointalt");
    ui::Place(cbpointalt, 1440, 840, 1200, 330);
    for (QComboBox* list : {cbpointaz, cbpointalt})
        for (int level = 1; level <= 5; ++level) list->addItem(QString::number(level));

    Cmdquit = ui::Button(this, "Cmdquit", QStringLiteral("Quitter"), 5400, 3180, 3375, 450);

    mnuquit = new QAction(QStringLiteral("quitter pointage automatique"), this);
    mnuquit->setObjectName(QStringLiteral("mnuquit"));

    connect(cmdpointage_graph, &QPushButton::clicked, this, &Frmaltazpointage::cmdpointage_graph_Click);
    connect(cmdsave, &QPushButton::clicked, this, &Frmaltazpointage::cmdsave_Click);
    connect(Cmdquit, &QPushButton::clicked, this, &Frmaltazpointage::Cmdquit_Click);

    SetTwipsSize(kWidth, kHeight);
}

void Frmaltazpointage::Form_Load() {
    // 1.
    shared.win.ShowTelescope = vb::False;
    shared.altgoto.StopGoto = vb::False;
    // 2, 3. The bright stars, for the star information and the nearest star.
    LoadBrightStars();
    ownObjects_.ObjectTypeFilter = 0;
    CurrentCatalogue = 1;
    // 4, 5. Choosing the Messier objects loads them into the list.
    FillCatalogueList();
    lbCatalogue->setCurrentRow(2);
    Frame4->hide();
}

void Frmaltazpointage::Form_Resize() { KeepSize(kWidth, kHeight); }

void Frmaltazpointage::Form_Unload() {
    // This window's goto, still running, ends at its next pulse.
    if (!gotoRunning_) return;
    AskGotoStop();
}

void Frmaltazpointage::lbObjets_MouseDown(Qt::MouseButton button) {
    if (button != Qt::RightButton) return;
    // The bright stars: their constellation and coordinates first.
    if (CurrentCatalogue == 1) ShowStarInfo(stars_, SelectedObject());
    ShowTypePopup();
}

void Frmaltazpointage::lbObjets_DblClick() {
    auto& g = shared.altgoto;
    if (g.GotoRunning) return;
    const int k = SelectedObject();
    if (k < 0) return;  // nothing selected: nothing to point at

    g.GotoRunning = true;
    gotoRunning_ = true;
    Frmcoord& coord = frmcoord();
    coord.SwitchPaddleOff();
    shared.equa.GotoRA = ownObjects_.CatalogueRA[k];
    shared.equa.GotoDec = ownObjects_.CatalogueDec[k];
    SplitGotoTarget(shared.equa.GotoRA, shared.equa.GotoDec);
    ShowCaptions(shared.equa.GotoRA, shared.equa.GotoDec, NumberForm::Signed);

    RunGotoLoop(*coord.GotoView(), true);

    forms::Unload<FrmDepl>();
    g.StopGoto = vb::False;
    coord.switchPaddleOnAfterGoto();
    gotoRunning_ = false;
    g.GotoRunning = false;
}

void Frmaltazpointage::bOK_Click() {
    // The counters must not change under a running goto.
    if (shared.altgoto.GotoRunning) return;
    const auto typed = TypedCoordinates();
    if (!typed) return;
    shared.equa.GotoRA = typed->gotoRA;
    shared.equa.GotoDec = typed->gotoDec;
    ShowCaptions(typed->gotoRA, typed->gotoDec, NumberForm::Signed);
    // The typed position, at the time of the clock, becomes the telescope's
    // azimuth and altitude; nothing moves.
    const EquatorialBoxes typedBoxes{vb::CStr(typed->hoursTyped), vb::CStr(typed->minutesTyped),
                                     typed->south ? QStringLiteral("-") : QStringLiteral("+"),
                                     vb::CStr(typed->degreesTyped), vb::CStr(typed->arcMinutesTyped)};
    // Pulses of a move not applied yet are part of the position declared.
    TakePendingPulses();
    EquatorialToHorizontal(frmcoord().Time(), typedBoxes);
    // The telescope points at the typed position, no longer at what it was
    // synchronised on or what a goto reached: tracking follows it from there.
    shared.pos.PositionSynced = vb::False;
    shared.pos.GotoReached = false;
    // The chart's telescope mark goes to the new position.
    frmcoord().cmdtrace_Click();
}

void Frmaltazpointage::cmdpointage_graph_Click() {
    FrmCercle& chart = frmCercle();
    chart.mnuPoint->setText(QStringLiteral("Pointage"));
    shared.win.SkyChartShown = vb::True;
    if (shared.win.ChartInitDone != 0) chart.RedrawChart();
    shared.win.AltazMode = vb::True;
    chart.Show();
}

void Frmaltazpointage::cmdsave_Click() {}

void Frmaltazpointage::Cmdquit_Click() { Unload(); }
