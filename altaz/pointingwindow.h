// What the two pointing windows (alt-azimuth and equatorial) have in common:
// the catalogue list with "Autre..." first, the object list with its
// object-type filter and nearest-star pop-up, the star-information pop-up,
// the typed-coordinates frame with "OK", and the two position labels.
//
// Each window places these controls itself and adds its own; the handlers
// that differ (double click on an object, "OK") are the window's.
#pragma once

#include "altaz/filtermenus.h"
#include "altaz/pointing.h"
#include "altaz/typefilter.h"
#include "core/state.h"
#include "platform/form.h"

#include <QStringList>
#include <array>
#include <optional>

class QAction;
class QGroupBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QMenu;
class QPushButton;

class PointingWindow : public Form, public FilterMenus {
    Q_OBJECT
public:
    // Catalogue choice: "Autre..." (position 0) hides the object list and
    // shows the typed-coordinates frame; any other position shows the
    // object list and loads its catalogue whole, the filter back to none.
    void lbCatalogue_Click();

    // The nearest bright star of the selected object, in a message.
    void mnunearest_Click() override;
    // Clears the check mark of the item of the filter in force.
    void UncheckFilterMenu();

    // Fills the window's bright-star table from "\data\5magstar.cat".
    void LoadBrightStars();

    // The position chosen in lbCatalogue.
    int16_t CurrentCatalogue = 0;

    QListWidget* lbCatalogue = nullptr;
    QListWidget* lbObjets = nullptr;
    QGroupBox* Frame4 = nullptr;            // typed coordinates
    std::array<QLineEdit*, 2> tAD{};        // hours, minutes of time
    std::array<QLineEdit*, 2> tDec{};       // degrees, minutes of arc
    QPushButton* bOK = nullptr;
    QLabel* tADpos = nullptr;               // the position's right ascension
    QLabel* tdcpos = nullptr;               // and declination

protected:
    // `objects` is the object table behind lbObjets (the shared one, or the
    // window's own). lbCatalogue lists "Autre..." then `catalogueEntries`;
    // position p from 1 on stands for catalogue number
    // p - 1 + `catalogueOfFirstEntry`.
    PointingWindow(const QString& caption, ObjectTable& objects, typefilter::Owner owner,
                   const QStringList& catalogueEntries, int16_t catalogueOfFirstEntry);

    // What the window does on a double click in lbObjets, a mouse press over
    // it, and "OK".
    virtual void lbObjets_DblClick() = 0;
    virtual void lbObjets_MouseDown(Qt::MouseButton button) = 0;
    virtual void bOK_Click() = 0;

    // Fills lbCatalogue with the window's entries.
    void FillCatalogueList();
    // The object-table row of lbObjets' selected row (through the filter),
    // -1 when it stands for no object.
    int SelectedObject() const;
    // The type pop-up of the selected object: "TYPE:[" label "]" in
    // mnutype1, then mnufiltre. Nothing when no object is selected.
    void ShowTypePopup();
    // The star-information pop-up for row `row` of `stars`; nothing (and
    // false) when the row holds no star.
    bool ShowStarInfo(const BrightStarTable& stars, int row);
    // The typed coordinates: nothing when nothing is typed; a message and
    // nothing when they are invalid.
    std::optional<TypedTarget> TypedCoordinates();

    // Shows a position's captions in tADpos and tdcpos.
    void ShowCaptions(double ra, double dec, NumberForm form);

    bool eventFilter(QObject* watched, QEvent* e) override;

    ObjectTable& objects_;
    BrightStarTable stars_;  // the nearest-star search's table

    void FilterChosen(int16_t code) override;

private:
    int16_t catalogueOf(int16_t position) const;
    QStringList catalogueEntries_;
    int16_t catalogueOfFirstEntry_;
};
