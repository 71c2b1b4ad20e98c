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
    bOK = ui::Make<QPushButton>(Frame4, "bOK");
    bOK->setText(QStringLiteral("OK"));
    tADpos = ui::Make<QLabel>(this, "tADpos");
    tdcpos = ui::Make<QLabel>(this, "tdcpos");

    // The object-type filter pop-up.
    const QStringList captions = typefilter::ItemCaptions(owner);
    mnufiltre = new QMenu(typefilter::kPopupCaption, this);
    mnufiltre->setObjectName(QStringLiteral("mnufiltre"));
    mnutype1 = mnufiltre->addAction(typefilter::kTypeItemInitial);
    mnufilt = mnufiltre->addAction(typefilter::InitialCaption(owner));
    mnunearest = mnufiltre->addAction(typefilter::kNearestItem, this, &PointingWindow::mnunearest_Click);
    mnufiltre->addSeparator();
    mnuaucun = mnufiltre->addAction(captions[0], this, &PointingWindow::mnuaucun_Click);
    mnugalaxies = mnufiltre->addAction(captions[1], this, &PointingWindow::mnugalaxies_Click);
    mnuAmas = mnufiltre->addMenu(typefilter::kClustersMenu);
    mnuATous = mnuAmas->addAction(captions[2], this, &PointingWindow::mnuATous_Click);
    mnuAOuverts = mnuAmas->addAction(captions[3], this, &PointingWindow::mnuAOuverts_Click);
    mnuAGlobul = mnuAmas->addAction(captions[4], this, &PointingWindow::mnuAGlobul_Click);
    mnuNebul = mnufiltre->addMenu(typefilter::kNebulaeMenu);
    mnuNtoutes = mnuNebul->addAction(captions[5], this, &PointingWindow::mnuNtoutes_Click);
    mnuNPlanet = mnuNebul->addAction(captions[6], this, &PointingWindow::mnuNPlanet_Click);
    mnuNDiffus = mnuNebul->addAction(captions[7], this, &PointingWindow::mnuNDiffus_Click);
    for (int16_t code = 0; code < typefilter::kFilters; ++code) FilterItem(code)->setCheckable(true);

    // The star-information pop-up.
    mnuConst = new QMenu(this);
    mnuConst->setObjectName(QStringLiteral("mnuConst"));
    mnutype = mnuConst->addAction(QString());
    mnuConst->addSeparator();
    mnuAD = mnuConst->addAction(QString());
    mnuDc = mnuConst->addAction(QString());

    connect(lbCatalogue, &QListWidget::currentRowChanged, this, [this] { lbCatalogue_Click(); });
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

void PointingWindow::LoadCatalogue(int16_t position) {
    lbObjets->addItems(catalogue::LoadCatalogue(objects_, catalogueOf(position)));
}

void PointingWindow::LoadBrightStars() { catalogue::LoadBrightStars(stars_); }

void PointingWindow::lbCatalogue_Click() {
    // The objects behind the list must not change under a running goto.
    if (shared.altgoto.GotoRunning) return;
    CurrentCatalogue = static_cast<int16_t>(lbCatalogue->currentRow());
    if (CurrentCatalogue < 0) return;
    if (CurrentCatalogue == 0) {  // "Autre...": typed coordinates
        lbObjets->hide();
        Frame4->show();
        return;
    }
    lbObjets->show();
    lbObjets->clear();
    UncheckFilterMenu();
    const typefilter::Change change = typefilter::ChooseCatalogue(objects_, catalogueOf(CurrentCatalogue));
    mnuaucun->setChecked(true);
    mnufilt->setText(change.caption);
    lbObjets->addItems(change.rows);
}

QAction* PointingWindow::FilterItem(int16_t code) const {
    QAction* const items[] = {mnuaucun, mnugalaxies, mnuATous, mnuAOuverts,
                              mnuAGlobul, mnuNtoutes, mnuNPlanet, mnuNDiffus};
    return code >= 0 && code < typefilter::kFilters ? items[code] : nullptr;
}

void PointingWindow::UncheckFilterMenu() {
    if (QAction* a = FilterItem(objects_.ObjectTypeFilter)) a->setChecked(false);
}

void PointingWindow::chooseFilter(int16_t code) {
    if (shared.altgoto.GotoRunning) return;
    const auto change = typefilter::ChooseFilter(objects_, code, catalogueOf(CurrentCatalogue));
    if (!change) return;
    if (QAction* a = FilterItem(change->uncheck)) a->setChecked(false);
    mnufilt->setText(change->caption);
    FilterItem(code)->setChecked(true);
    lbObjets->clear();
    lbObjets->addItems(change->rows);
}

void PointingWindow::mnuaucun_Click() { chooseFilter(0); }
void PointingWindow::mnugalaxies_Click() { chooseFilter(1); }
void PointingWindow::mnuATous_Click() { chooseFilter(2); }
void PointingWindow::mnuAOuverts_Click() { chooseFilter(3); }
void PointingWindow::mnuAGlobul_Click() { chooseFilter(4); }
void PointingWindow::mnuNtoutes_Click() { chooseFilter(5); }
void PointingWindow::mnuNPlanet_Click() { chooseFilter(6); }
void PointingWindow::mnuNDiffus_Click() { chooseFilter(7); }

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

void PointingWindow::KeepSize(int width, int height) {
    if (TwipsWidth() != width || TwipsHeight() != height) SetTwipsSize(width, height);
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
