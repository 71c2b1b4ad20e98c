#include "altaz/filtermenus.h"

#include <QAction>
#include <QListWidget>
#include <QMenu>

QAction* FilterMenus::FilterItem(int16_t code) const {
    QAction* const items[] = {mnuaucun, mnugalaxies, mnuATous, mnuAOuverts,
                              mnuAGlobul, mnuNtoutes, mnuNPlanet, mnuNDiffus};
    return code >= 0 && code < typefilter::kFilters ? items[code] : nullptr;
}

void FilterMenus::BuildFilterMenus(QWidget* parent, typefilter::Owner owner) {
    const QStringList captions = typefilter::ItemCaptions(owner);
    mnufiltre = new QMenu(typefilter::kPopupCaption, parent);
    mnufiltre->setObjectName(QStringLiteral("mnufiltre"));
    mnutype1 = mnufiltre->addAction(typefilter::kTypeItemInitial);
    mnufilt = mnufiltre->addAction(typefilter::InitialCaption(owner));
    mnunearest = mnufiltre->addAction(typefilter::kNearestItem);
    QObject::connect(mnunearest, &QAction::triggered, parent, [this] { mnunearest_Click(); });
    mnufiltre->addSeparator();
    mnuaucun = mnufiltre->addAction(captions[0]);
    mnugalaxies = mnufiltre->addAction(captions[1]);
    mnuAmas = mnufiltre->addMenu(typefilter::kClustersMenu);
    mnuATous = mnuAmas->addAction(captions[2]);
    mnuAOuverts = mnuAmas->addAction(captions[3]);
    mnuAGlobul = mnuAmas->addAction(captions[4]);
    mnuNebul = mnufiltre->addMenu(typefilter::kNebulaeMenu);
    mnuNtoutes = mnuNebul->addAction(captions[5]);
    mnuNPlanet = mnuNebul->addAction(captions[6]);
    mnuNDiffus = mnuNebul->addAction(captions[7]);
    for (int16_t code = 0; code < typefilter::kFilters; ++code) {
        QAction* item = FilterItem(code);
        item->setCheckable(true);
        QObject::connect(item, &QAction::triggered, parent, [this, code] { FilterChosen(code); });
    }

    mnuConst = new QMenu(parent);
    mnuConst->setObjectName(QStringLiteral("mnuConst"));
    mnutype = mnuConst->addAction(QString());
    mnuConst->addSeparator();
    mnuAD = mnuConst->addAction(QString());
    mnuDc = mnuConst->addAction(QString());
}

void FilterMenus::ShowFilterChoice(ObjectTable& table, int16_t code, int16_t catalogueNumber, QListWidget* list) {
    const auto change = typefilter::ChooseFilter(table, code, catalogueNumber);
    if (!change) return;
    if (QAction* a = FilterItem(change->uncheck)) a->setChecked(false);
    mnufilt->setText(change->caption);
    FilterItem(code)->setChecked(true);
    list->clear();
    list->addItems(change->rows);
}
