// The alt-azimuth pointing window "pointage": goto of a catalogue object
// through the alt-azimuth goto step, typed coordinates taken as the
// telescope's position, and the chart opened in its pointing role. No
// command of the program opens it; the main window unloads it when the mount
// or port mode changes.
#pragma once

#include "altaz/pointingwindow.h"

class QComboBox;

class Frmaltazpointage : public PointingWindow {
    Q_OBJECT
public:
    Frmaltazpointage();
    void Form_Load() override;
    void Form_Unload() override;
    void Form_Resize() override;

    void lbObjets_DblClick() override;
    void lbObjets_MouseDown(Qt::MouseButton button) override;
    void bOK_Click() override;
    void cmdpointage_graph_Click();
    void cmdsave_Click();
    void Cmdquit_Click();

    QPushButton* cmdpointage_graph = nullptr;
    QPushButton* cmdsave = nullptr;
    QPushButton* Cmdquit = nullptr;
    QGroupBox* frame5 = nullptr;
    QComboBox* cbpointaz = nullptr;     // laid out; the goto reads the set-up window's lists
    QComboBox* cbpointalt = nullptr;
    QGroupBox* Frame3 = nullptr;
    QLineEdit* txtcoordaz1 = nullptr;   // laid out; nothing writes them
    QLineEdit* txtcoordaz2 = nullptr;
    QLineEdit* txtcoordaz3 = nullptr;
    QLineEdit* txtcoordalt1 = nullptr;
    QLineEdit* txtcoordalt2 = nullptr;
    QLineEdit* txtcoordalt3 = nullptr;
    QLineEdit* txtdistaz = nullptr;
    QLineEdit* txtdistalt = nullptr;
    QAction* mnuquit = nullptr;         // the window's menu item: not shown, nothing answers it

private:
    // The window's own object table: loading a catalogue here leaves the
    // objects behind the coordinates window's list as they are.
    ObjectTable ownObjects_;
    bool gotoRunning_ = false;  // this window's goto is under way
};

inline Frmaltazpointage& frmaltazpointage() { return forms::Use<Frmaltazpointage>(); }
