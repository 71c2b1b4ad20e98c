// The coordinates window: the working window of the alt-azimuth mount and the
// home of the program's clock, date, target coordinates and position
// displays, which the rest of the program reads and writes.
#pragma once

#include "core/coordboxes.h"
#include "core/state.h"
#include "platform/form.h"
#include "platform/widgets.h"
#include "shell/paddlesettings.h"

#include <QString>
#include <array>
#include <memory>

class GotoWindows;
enum class GotoEnd;

class QCheckBox;
class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QProgressBar;
class QPushButton;
class QRadioButton;

class Frmcoord : public Form {
    Q_OBJECT
public:
    Frmcoord();
    void Form_Load() override;

    // Catalogue list and object list.
    void LoadCatalogue(int16_t index);
    void lbCatalogue_Click();
    void lbObjets_MouseDown(Qt::MouseButton button);

    // Goto, stop, sync and chart refresh.
    void cmdpointage_Click();
    void cmstoppointage_Click();
    void cmdreinit_Click();
    void cmdtrace_Click();
    void Form_Unload() override;

    // Hand paddle: switch, command inversion, OK (the speed bars are the
    // panel's).
    void picraquette_Click();
    void chkaz_Click();
    void chkalt_Click();
    void cmdvalid_Click();

    // Season and settings-panel options.
    void optété_Click();
    void opthivers_Click();
    void optinvis_Click();
    void optvis_Click();

    // The controls the core reads and writes, as values.
    TimeBoxes Time() const;
    void SetTime(const TimeBoxes& t);
    EquatorialBoxes Coordinates() const;
    void SetCoordinates(const EquatorialBoxes& c);
    AzAltBoxes TelescopeDisplay() const;
    void SetTelescopeDisplay(const AzAltBoxes& b);
    void ShowAzimuthCounter(const AxisCounterBoxes& b);
    void ShowAltitudeCounter(const AxisCounterBoxes& b);
    AzAltBoxes TargetDisplay() const;
    void SetTargetDisplay(const AzAltBoxes& b);

    // What a goto pass reads from and shows in this window and the set-up
    // window, for the goto loops of every window.
    std::unique_ptr<GotoWindows> GotoView();
    // This window's goto to `ra`, `dec` (tenths of a minute of time and of
    // arc): its lists and buttons held, its progress bars and stop button
    // shown, the paddle off while it runs and, when `paddleAfter`, on again
    // afterwards. How it ended.
    GotoEnd RunGoto(double ra, double dec, bool paddleAfter);
    // The end of every goto: the paddle switched on and the data register cleared.
    void switchPaddleOnAfterGoto();
    // The paddle switch as other windows turn it. On, when it shows the
    // paddle off: the control register set for the paddle, the data register
    // cleared and the paddle timer started. Off, when it shows the paddle on:
    // the timer stopped and the paddle read as switched off.
    void SwitchPaddleOn();
    void SwitchPaddleOff();

    // The program's folder followed by "\data\".
    QString DataFolder;
    // The catalogue chosen in lbCatalogue.
    int16_t CatalogueIndex = 0;
    // The bright stars, for the star pop-up of the object list.
    BrightStarTable bright;

    // Top band: date, universal time, sidereal time, season, telescope position.
    QGroupBox* frheure = nullptr;
    QComboBox* cbjour = nullptr;
    QComboBox* cbmois = nullptr;
    QComboBox* cbannee = nullptr;
    QLineEdit* txth = nullptr;
    QLineEdit* txtmin = nullptr;
    QLineEdit* txts = nullptr;
    QLineEdit* txtms = nullptr;
    QLineEdit* txtessai = nullptr;
    QRadioButton* optété = nullptr;
    QRadioButton* opthivers = nullptr;
    QLineEdit* txtcoordaz1 = nullptr;
    QLineEdit* txtcoordaz2 = nullptr;
    QLineEdit* txtcoordaz3 = nullptr;
    QLineEdit* txtcoordalt1 = nullptr;
    QLineEdit* txtcoordalt2 = nullptr;
    QLineEdit* txtcoordalt3 = nullptr;
    QLineEdit* txtaztos = nullptr;
    QLineEdit* txtalttos = nullptr;
    QLineEdit* txtsens = nullptr;
    QPushButton* cmdtrace = nullptr;

    // Middle band: catalogues, objects, target coordinates, goto.
    QGroupBox* Frobservation = nullptr;
    QListWidget* lbCatalogue = nullptr;
    QListWidget* lbObjets = nullptr;
    QLineEdit* Txtad_h = nullptr;
    QLineEdit* txtad_min = nullptr;
    QLineEdit* txtsign = nullptr;
    QLineEdit* txtdec_deg = nullptr;
    QLineEdit* txtdec_min = nullptr;
    QPushButton* cmdpointage = nullptr;

    // On the window: sync, backlash left, paddle switch, settings panel options.
    QPushButton* cmdreinit = nullptr;
    QLineEdit* txtback = nullptr;
    PictureBox* picraquette = nullptr;
    QRadioButton* optinvis = nullptr;
    QRadioButton* optvis = nullptr;

    // Settings panel: paddle speeds (bars HScrollazl .. HScrollaltr on the
    // frame, boxes txtaz, txtalt below it) and command inversion.
    PaddleSpeedPanel* Frame1 = nullptr;
    QGroupBox* Frame2 = nullptr;
    QCheckBox* chkalt = nullptr;
    QCheckBox* chkaz = nullptr;
    QPushButton* cmdvalid = nullptr;

    // Right-hand strip: goto target and progress.
    QGroupBox* Frame3 = nullptr;
    QLineEdit* txtcoordaz4 = nullptr;
    QLineEdit* txtcoordaz5 = nullptr;
    QLineEdit* txtcoordaz6 = nullptr;
    QLineEdit* txtcoordalt4 = nullptr;
    QLineEdit* txtcoordalt5 = nullptr;
    QLineEdit* txtcoordalt6 = nullptr;
    QProgressBar* ProgressBaraz = nullptr;
    QProgressBar* ProgressBaralt = nullptr;
    QPushButton* cmstoppointage = nullptr;

protected:
    void closeEvent(QCloseEvent* e) override;
    bool eventFilter(QObject* watched, QEvent* e) override;

private:
    void paddleOff();
};

inline Frmcoord& frmcoord() { return forms::Use<Frmcoord>(); }
