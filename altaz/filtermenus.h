// The pop-up menus of an object list: the object-type filter pop-up
// mnufiltre (type label, current filter, nearest star, the filter items) and
// the star-information pop-up mnuConst. The main window holds them for the
// coordinates window's list; each pointing window holds its own.
#pragma once

#include "altaz/typefilter.h"
#include "core/state.h"

class QAction;
class QListWidget;
class QMenu;
class QWidget;

class FilterMenus {
public:
    // Object-type filter pop-up.
    QMenu* mnufiltre = nullptr;
    QAction* mnutype1 = nullptr;
    QAction* mnufilt = nullptr;
    QAction* mnunearest = nullptr;
    QAction* mnuaucun = nullptr;
    QAction* mnugalaxies = nullptr;
    QMenu* mnuAmas = nullptr;
    QAction* mnuATous = nullptr;
    QAction* mnuAOuverts = nullptr;
    QAction* mnuAGlobul = nullptr;
    QMenu* mnuNebul = nullptr;
    QAction* mnuNtoutes = nullptr;
    QAction* mnuNPlanet = nullptr;
    QAction* mnuNDiffus = nullptr;
    // Star-information pop-up.
    QMenu* mnuConst = nullptr;
    QAction* mnutype = nullptr;
    QAction* mnuAD = nullptr;
    QAction* mnuDc = nullptr;

    virtual ~FilterMenus() = default;

    // The filter items and the nearest-star command.
    void mnuaucun_Click() { FilterChosen(0); }
    void mnugalaxies_Click() { FilterChosen(1); }
    void mnuATous_Click() { FilterChosen(2); }
    void mnuAOuverts_Click() { FilterChosen(3); }
    void mnuAGlobul_Click() { FilterChosen(4); }
    void mnuNtoutes_Click() { FilterChosen(5); }
    void mnuNPlanet_Click() { FilterChosen(6); }
    void mnuNDiffus_Click() { FilterChosen(7); }
    virtual void mnunearest_Click() = 0;

    // The filter item of a code 0..7, null for any other.
    QAction* FilterItem(int16_t code) const;

protected:
    // What the window does when filter `code` is chosen.
    virtual void FilterChosen(int16_t code) = 0;
    // Builds both pop-ups as children of `parent`, with the captions of
    // `owner`'s menu, the items calling the handlers above.
    void BuildFilterMenus(QWidget* parent, typefilter::Owner owner);
    // Filter `code` chosen for `list`, which shows `table`: the check marks
    // move, the current-filter item shows the choice, and the list is filled
    // again ("Aucun" reloads catalogue `catalogueNumber` whole).
    void ShowFilterChoice(ObjectTable& table, int16_t code, int16_t catalogueNumber, QListWidget* list);
};
