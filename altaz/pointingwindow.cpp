#include "altaz/pointingwindow.h"

#include "altaz/catalogue.h"
#include "altaz/neareststar.h"
#include "platform/seams.h"
#include "platform/widgets.h"

#include <QAction>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QMouseEvent>
#include <QPushButton>
#include <QTimer>

PointingWindow::PointingWindow(const QString& caption, ObjectTable& objects, typefilter::Owner owner,
                               const QStringList& catalogueEntries, int16_t catalogueOfFirstEntry)
    : Form(caption), objects_(objects), catalogueEntries_(catalogueEntries),
      catalogueOfFirstEntry_(catalogueOfFirstEntry) {
    lbCatalogue = ui::Make<QListWidget>(this, "lbCatalogue");
    lbObjets = ui::Make<QListWidget>(this, "lbObjets");
    Frame4 = ui::Make<QGroupBox>(this, "Frame4");
    tAD[0] = ui::Make<QLineEdit>(Frame4, "tAD0");
    tAD[1] = ui::Make<QLineEdit>(Frame4, "tAD1");
    tDec[0] = ui::Make<QLineEdit>(Frame4, "tDec0");
    tDec[1] = ui::Make<QLineEdit>(Frame4, "tDec1");
    // Inside the frame, which each window places.
    ui::Label(Frame4, QStringLiteral("A.D."), 120, 390, 540);
    ui::Place(tAD[0], 660, 360, 600, ui::kLineHeight);
    ui::Place(tAD[1], 1320, 360, 600, ui::kLineHeight);
    ui::Label(Frame4, QStringLiteral("Dec."), 120, 870, 540);
    ui::Place(tDec[0], 660, 840, 600, ui::kLineHeight);
    ui::Place(tDec[1], 1320, 840, 600, ui::kLineHeight);
    for (QLineEdit* b : {tAD[0], tAD[1], tDec[0], tDec[1]}) ui::ShowFromStart(b);
    bOK = ui::Button(Frame4, "bOK", QStringLiteral("OK"), 1320, 1380, 600, 390);
    tADpos = ui::Make<QLabel>(this, "tADpos");
    tdcpos = ui::Make<QLabel>(this, "tdcpos");

    BuildFilterMenus(this, owner);

    ui::OnListClick(lbCatalogue, [this] { lbCatalogue_Click(); });
    connect(lbObjets, &QListWidget::itemDoubleClicked, this, [this] { lbObjets_DblClick(); });
    connect(bOK, &QPushButton::clicked, this, [this] { bOK_Click(); });
    lbObjets->viewport()->installEventFilter(this);
}

void PointingWindow::FillCatalogueList() {
    const QSignalBlocker quiet(lbCatalogue);
    lbCatalogue->clear();
    lbCatalogue->addItem(QStringLiteral("Autre..."));
    lbCatalogue->addItems(catalogueEntries_);
}

int16_t PointingWindow::catalogueOf(int16_t position) const {
    if (position < 1 || position > catalogueEntries_.size()) return -1;
    return static_cast<int16_t>(position - 1 + catalogueOfFirstEntry_);
}

void PointingWindow::LoadBrightStars() { catalogue::LoadBrightStars(stars_); }

void PointingWindow::lbCatalogue_Click() {
    // The objects behind the list must not change under a running goto: the
    // choice goes back to the catalogue the list shows, once the click that
    // made it is over.
    if (shared.altgoto.GotoRunning) {
        QTimer::singleShot(0, this, [this] {
            const QSignalBlocker quiet(lbCatalogue);
            lbCatalogue->setCurrentRow(CurrentCatalogue);
        });
        return;
    }
    CurrentCatalogue = static_cast<int16_t>(lbCatalogue->currentRow());
    if (CurrentCatalogue < 0) return;
    if (CurrentCatalogue == 0) {  // "Autre...": typed coordinates
        lbObjets->hide();
        Frame4->show();
        Frame4->raise();
        return;
    }
    // The frame, when shown, stays shown; the list comes over it.
    lbObjets->show();
    lbObjets->raise();
    lbObjets->clear();
    UncheckFilterMenu();
    const typefilter::Change change = typefilter::ChooseCatalogue(objects_, catalogueOf(CurrentCatalogue));
    mnuaucun->setChecked(true);
    mnufilt->setText(change.caption);
    lbObjets->addItems(change.rows);
}

void PointingWindow::UncheckFilterMenu() {
    if (QAction* a = FilterItem(objects_.ObjectTypeFilter)) a->setChecked(false);
}

void PointingWindow::FilterChosen(int16_t code) {
    if (shared.altgoto.GotoRunning) {
        // Not now: the check marks stay those of the filter in force.
        if (QAction* a = FilterItem(code)) a->setChecked(code == objects_.ObjectTypeFilter);
        return;
    }
    ShowFilterChoice(objects_, code, catalogueOf(CurrentCatalogue), lbObjets);
}

void PointingWindow::mnunearest_Click() {
    neareststar::ShowNearestStar(objects_, lbObjets->currentRow(), stars_);
}

int PointingWindow::SelectedObject() const { return typefilter::ObjectRow(objects_, lbObjets->currentRow()); }

void PointingWindow::ShowTypePopup() {
    if (const auto type = typefilter::TypeCaptionForRow(objects_, lbObjets->currentRow())) {
        mnutype1->setText(*type);
        ui::ShowPopup(mnufiltre);
    }
}

bool PointingWindow::ShowStarInfo(const BrightStarTable& stars, int row) {
    const auto info = catalogue::StarInfoForRow(stars, row);
    if (!info) return false;
    mnutype->setText(info->constellation);
    mnuAD->setText(info->rightAscension);
    mnuDc->setText(info->declination);
    ui::ShowPopup(mnuConst);
    return true;
}

std::optional<TypedTarget> PointingWindow::TypedCoordinates() {
    const TypedReading r = ReadTypedCoordinates({tAD[0]->text(), tAD[1]->text(), tDec[0]->text(), tDec[1]->text()});
    switch (r.status) {
    case TypedStatus::Ok: return r.target;
    case TypedStatus::Empty: return std::nullopt;
    case TypedStatus::Invalid: break;
    }
    seams::MsgBox(kTypedCoordinatesMessage);
    return std::nullopt;
}

void PointingWindow::ShowCaptions(double ra, double dec, NumberForm form) {
    const PositionCaptions c = CaptionsOf(ra, dec, form);
    tADpos->setText(c.ra);
    tdcpos->setText(c.dec);
}

bool PointingWindow::eventFilter(QObject* watched, QEvent* e) {
    if (watched == lbObjets->viewport() && e->type() == QEvent::MouseButtonPress) {
        const auto button = static_cast<QMouseEvent*>(e)->button();
        lbObjets_MouseDown(button);
        // A right press leaves the selection as it is: the pop-ups describe
        // the selected row, not the row under the pointer.
        if (button == Qt::RightButton) return true;
    }
    return Form::eventFilter(watched, e);
}
