// The equatorial pointing window "pointage": sync on a reference star, goto
// of a catalogue object or of typed coordinates, the goto speed levels and
// direction inversion with their two settings files, the telescope position,
// and the chart opened in its sync or goto role.
#pragma once

#include "altaz/pointingwindow.h"

#include <QString>

class QCheckBox;
class QComboBox;
class QMenuBar;
class PictureBox;

class Frmequapointage : public PointingWindow {
    Q_OBJECT
public:
    Frmequapointage();
    void Form_Load() override;
    void Form_Unload() override;
    void Form_Resize() override;

    // Once the telescope's position is known (a sync here or on the chart),
    // the catalogue and object lists are offered.
    void ShowCatalogueLists();
    void lbEtoiles_DblClick();
    void lbEtoiles_MouseDown(Qt::MouseButton button);
    void lbObjets_DblClick() override;
    void lbObjets_MouseDown(Qt::MouseButton button) override;
    void bOK_Click() override;
    void Picinit_MouseDown();
    void Picinit_MouseUp();
    void picpointage_MouseDown();
    void picpointage_MouseUp();
    void cmdsave_Click();
    void Cmdquit_Click();
    void mnuquit_Click();

    // Shows a telescope position in tADpos and tdcpos ("7h3.6'", "-10°12'")
    // as the place it points at: right ascension within 0 to 24 h, a
    // declination past a pole shown on the pole's other side, 12 h round
    // (the position itself is kept as the pulses left it). The chart's sync
    // and goto show theirs here too.
    void ShowPosition(double ra, double dec);
    // Runs the goto to GotoRA, GotoDec (the chart's goto too); the telescope
    // then points where the pulses took it, shown in tADpos and tdcpos.
    // False when nothing moved (refused, or another goto runs).
    bool RunGoto();

    // The number of reference stars in lbEtoiles (row i is star i), from
    // "\data\5magstar.cat".
    int RefStarCount() const { return stars_.BrightStarCount + 1; }

    QMenuBar* menu = nullptr;
    QAction* mnuquit = nullptr;
    QListWidget* lbEtoiles = nullptr;
    QComboBox* cbpointaz = nullptr;     // goto speed level of right ascension, positions 0..4
    QComboBox* cbpointalt = nullptr;    // and of declination
    QCheckBox* chkpointad = nullptr;    // goto of right ascension inverted
    QCheckBox* chkpointdec = nullptr;   // and of declination
    QPushButton* cmdsave = nullptr;
    PictureBox* Picinit = nullptr;
    PictureBox* picpointage = nullptr;
    QPushButton* Cmdquit = nullptr;

protected:
    void closeEvent(QCloseEvent* e) override;

private:
    // The chart, when it is open, redrawn with the telescope's mark.
    void redrawChartMark();
    // The window's own object table, with its filter.
    ObjectTable ownObjects_;
    void openChart(const QString& role, bool pointing);
    void loadGotoSpeeds();
    bool eventFilter(QObject* watched, QEvent* e) override;
};

inline Frmequapointage& frmequapointage() { return forms::Use<Frmequapointage>(); }

// The two settings files of the window.
inline const QString kPointagequaFile = QStringLiteral("\\data\\pointagequa.ini");
inline const QString kInversionPointFile = QStringLiteral("\\data\\inversion_point.ini");
