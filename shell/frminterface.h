// The main window: the program's frame, its menus, the three toolbars that
// choose the mount and open the work windows, and its two timers.
#pragma once

#include "altaz/filtermenus.h"

#include <QMainWindow>

class QAction;
class QMenu;
class QMdiArea;
class QTimer;
class QToolBar;

class Frminterface : public QMainWindow, public FilterMenus {
    Q_OBJECT
public:
    Frminterface();

    // Start-up: splash, speed tables, button pictures, backlash, flags. A
    // quit during its pause (the events it lets run) ends it there.
    void MDIForm_Load();

    // The window opens with a work area (its document area) that holds the
    // coordinates window at its widest beside the widest work window, and
    // the tallest window; it is shown at that size, or maximised on a screen
    // too small for it.
    QSize OpeningWorkArea() const;
    // Nothing is shown once the program is quitting.
    void ShowAtStart();

    // Menu bar. "Quitter" (or the frame closed, or the application told to
    // end): the program quits (seams::BeginQuit), every move and goto is told
    // to stop, the timers stop, both registers are cleared, the port is
    // sealed and the event loop is told to end (seams::Quit). Only the first
    // call acts; the program's exit status is then 0.
    void Quitter_Click();
    // A signal that asks the program to end (SIGINT, SIGTERM, SIGHUP) ends
    // it as "Quitter" does, with the exit status 128 + the signal's number.
    void QuitOnSignal(int signal);
    void Observations_Click();
    void Aide_Click();
    void propos_Click();

    // Toolbars; index 1 is the leftmost button.
    void barchoix_ButtonClick(int index);
    void baraltaz_ButtonClick(int index);
    void barequa_ButtonClick(int index);

    // The alt-azimuth toolbar's show/hide toggles.
    void ToggleSkyChart();
    void ToggleSiderealTracking();
    void ToggleAltazSettings();

    // Timers.
    void heuretimer_Timer();
    void Timer_Timer();

    // The coordinates window's nearest star, on the pop-up menu mnufiltre
    // (its object-type filter items are those of FilterMenus).
    void mnunearest_Click() override;
    // Reloads the program-wide bright-star table.
    void LoadBrightStars();
    // Clears the check mark of the item of the filter in force.
    void UncheckFilterMenu();

    QMdiArea* mdi = nullptr;
    QToolBar* barchoix = nullptr;
    QToolBar* baraltaz = nullptr;
    QToolBar* barequa = nullptr;
    QTimer* heuretimer = nullptr;  // clock tick, 200 ms
    QTimer* Timer = nullptr;       // hand-paddle polling, 200 ms
    QAction* mnuQuitter = nullptr;
    QAction* mnuObservations = nullptr;
    QAction* mnuAide = nullptr;
    QAction* mnuPropos = nullptr;

    // The pop-up menus shown over the coordinates window's object list
    // (mnufiltre, mnuConst) are those of FilterMenus.

    // The toolbar's button of that index (1 = leftmost).
    QAction* Button(QToolBar* bar, int index) const;

protected:
    void closeEvent(QCloseEvent* e) override;
    void FilterChosen(int16_t code) override;

private:
    void quitProgram(int exitStatus);
    QToolBar* makeBar(const char* name, const QStringList& captions, void (Frminterface::*handler)(int));
};

// The one main window.
Frminterface& frminterface();
// The program's event loop (QCoreApplication::exec), once started up; returns
// the quit's exit status at once when the program quit during its start-up.
int RunEventLoop();
// Drops the main window (tests start each case with a new one).
void ResetMainWindow();
// Stops the main window's clock and paddle timers when it exists, so that no
// tick reopens a window while the windows close (tests, before closing them).
void StopMainWindowTimers();
