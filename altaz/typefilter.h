// The object-type filter of an object list, and the type label of its
// pop-up. One filter works on one object table (ObjectTable): the shared one
// behind the coordinates window's list, or a window's own. The windows keep
// the menus; these functions give them the rows, captions and item to check.
//
// Filter codes: 0 none, 1 galaxies, 2 all clusters, 3 open clusters,
// 4 globular clusters, 5 all nebulae, 6 planetary nebulae, 7 diffuse nebulae.
// Each keeps the rows whose type code equals its first or second code; "XX"
// is the second code of a filter that keeps one type only.
#pragma once

#include "core/state.h"

#include <QString>
#include <QStringList>
#include <cstdint>
#include <optional>

namespace typefilter {

inline constexpr int16_t kFilters = 8;  // codes 0..7

// The two type codes that a filter 1..7 keeps; two empty texts otherwise.
struct TypeCodes {
    QString first;
    QString second;
};
TypeCodes CodesOf(int16_t filter);

// The caption the filter's menu item writes into the current-filter item:
// "filtre:[Aucun]", "filtre:[Galaxies]", ... "filtre:[Diffuses]"; empty for a
// code outside 0..7.
QString Caption(int16_t filter);
// The current-filter caption after a catalogue is chosen.
inline const QString kResetCaption = QStringLiteral("Filtre=[Aucun]");

// The menu item of each code ("mnuaucun", "mnugalaxies", "mnuATous",
// "mnuAOuverts", "mnuAGlobul", "mnuNtoutes", "mnuNPlanet", "mnuNDiffus");
// empty for any other value, whose item nothing unchecks.
QString ItemName(int16_t filter);

// The three filter pop-ups differ in their captions only.
enum class Owner { MainWindow, AltazPointing, EquaPointing };
// Captions of the eight filter items, in code order.
QStringList ItemCaptions(Owner owner);
// Caption of the current-filter item when the window is created.
QString InitialCaption(Owner owner);
// The other captions of the pop-up, the same in every window.
inline const QString kPopupCaption = QStringLiteral("filtre");
inline const QString kTypeItemInitial = QStringLiteral("type:[?]");
inline const QString kNearestItem = QStringLiteral("Etoile la plus proche");
inline const QString kClustersMenu = QStringLiteral("Amas");
inline const QString kNebulaeMenu = QStringLiteral("Nébuleuses");

// "GALAXIE", "AMAS OUVERT", "AMAS GLOBULAIRE", "NEBULEUSE DIFFUSE",
// "NEBULEUSE PLANETAIRE", "GROUPE D'ETOILES"; empty for any other code.
QString TypeLabel(const QString& typeCode);
// "TYPE:[" label "]".
QString TypeCaption(const QString& typeCode);

// Rebuilds the narrowed list: the names of the rows whose type code equals
// either code, in table order; FilterIndex maps each list row to its table
// row and FilteredCount is the last list row (-1 when nothing matches).
QStringList ApplyTypeFilter(ObjectTable& table, const QString& first, const QString& second);

// The table row of a row of the object list: the row itself with no filter,
// FilterIndex of it otherwise; -1 when the list row stands for no loaded
// object (no selection, or past the list's end).
int ObjectRow(const ObjectTable& table, int listRow);

// The type caption for the selected list row; nothing when the row stands
// for no object.
std::optional<QString> TypeCaptionForRow(const ObjectTable& table, int listRow);

// What a window does to its menu and list after a choice: clear the check
// mark of ItemName(uncheck), check ItemName(table.ObjectTypeFilter), write
// `caption` into the current-filter item, and refill its cleared list with
// `rows`.
struct Change {
    int16_t uncheck = 0;
    QString caption;
    QStringList rows;
};
// A filter item chosen. Codes 1..7 narrow the list; code 0 ("Aucun") reloads
// catalogue `catalogueNumber` whole (none for a number that names no
// catalogue). Nothing for a code outside 0..7.
std::optional<Change> ChooseFilter(ObjectTable& table, int16_t filter, int16_t catalogueNumber);
// A catalogue chosen in the catalogue list: the filter goes back to none and
// the catalogue loads whole.
Change ChooseCatalogue(ObjectTable& table, int16_t catalogueNumber);

}  // namespace typefilter
