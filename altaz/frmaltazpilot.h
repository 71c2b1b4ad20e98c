// The manual-drive window: drives either axis of the mount continuously, in
// either direction, at one of five speed levels per axis, and edits the
// mount's speed table. One class for both mounts: the equatorial window is
// this window with the equatorial mount's settings.
#pragma once

#include "core/state.h"
#include "motor/paddlespeeds.h"
#include "platform/form.h"
#include "platform/widgets.h"

#include <QString>
#include <array>

class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QScrollBar;
class QSlider;

// What a mount's manual-drive window is made of.
struct ManualDriveMount {
    const char* name;         // the window's name
    QString caption;
    int width;                // twips, at load and with the speed panel hidden
    int height;
    int panelWidth;           // the width that uncovers the speed panel
    int panelLeft;            // left of the speed panel Frame2
    int crossLeft;            // left of the direction cross in "Déplacement"
    QString azFrame;          // Fraz, Fralt
    QString altFrame;
    QString azHeading;        // Label3, Label2
    QString altHeading;
    const char* azBoxes;      // names of the two arrays of delay boxes
    const char* altBoxes;
    QString levelZeroBar;     // what the first axis's bar box shows at level 0
    SpeedTable DriveState::*table;
    QString file;             // where "Ok" writes the table
    void (*moveAz)();         // held moves of the two axes
    void (*moveAlt)();
};

// The alt-azimuth mount's window.
const ManualDriveMount& AltazManualDrive();

class Frmaltazpilot : public Form {
    Q_OBJECT
public:
    Frmaltazpilot();
    explicit Frmaltazpilot(const ManualDriveMount& mount);
    void Form_Load() override;
    // However the window goes, no held move runs on.
    void Form_Unload() override;

    // The direction cross.
    void cmdad_Click();
    void cmdag_Click();
    void cmdhh_Click();
    void cmdhb_Click();
    void cmddstop_Click();
    void Cmdquit_Click();

    // Speed levels and the speed panel.
    void slaz_Click();
    void slalt_Click();
    void lblvit_Click();
    void HScroll1_Change() { HScrollChange(0); }
    void HScroll2_Change() { HScrollChange(1); }
    void HScroll3_Change() { HScrollChange(2); }
    void HScroll4_Change() { HScrollChange(3); }
    void HScroll5_Change() { HScrollChange(4); }
    void HScroll6_Change() { HScrollChange(5); }
    void HScroll7_Change() { HScrollChange(6); }
    void HScroll8_Change() { HScrollChange(7); }
    void HScroll9_Change() { HScrollChange(8); }
    void HScroll10_Change() { HScrollChange(9); }
    void cmdvalid_Click();

    // The bars' last position, that of the paddle speed bars: every delay the
    // shipped tables hold is in reach.
    static constexpr int kBarMaximum = paddlespeeds::kLastPosition;

    QGroupBox* Fraz = nullptr;
    QSlider* slaz = nullptr;
    QLineEdit* txtv_az = nullptr;
    QLineEdit* txtnumaz = nullptr;
    QGroupBox* Fralt = nullptr;
    QSlider* slalt = nullptr;
    QLineEdit* txtv_alt = nullptr;
    QLineEdit* txtnumalt = nullptr;

    QGroupBox* Frdeplacement = nullptr;
    QPushButton* cmdhh = nullptr;
    QPushButton* cmdag = nullptr;
    QPushButton* cmddstop = nullptr;
    QPushButton* cmdad = nullptr;
    QPushButton* cmdhb = nullptr;
    QLabel* Label1 = nullptr;
    WebdingsLabel* lblvit = nullptr;
    QPushButton* Cmdquit = nullptr;

    QGroupBox* Frame2 = nullptr;
    QLabel* Label3 = nullptr;
    QLabel* Label2 = nullptr;
    std::array<QScrollBar*, 10> HScroll{};  // HScroll1..HScroll10
    std::array<QLineEdit*, 5> tAZ{};        // delays / 50 of the first axis, levels 0..4
    std::array<QLineEdit*, 5> tAlt{};       // of the second axis
    QPushButton* cmdvalid = nullptr;

private:
    void direction(QPushButton* button, int16_t mode, std::array<QPushButton*, 3> released, void (*move)());
    void showLevel(int16_t level, QLineEdit* bar, QLineEdit* number, bool firstAxis);
    void HScrollChange(int index);
    QLineEdit* boxOf(int index) const { return index < 5 ? tAZ[index] : tAlt[index - 5]; }
    SpeedTable& table() const;

    const ManualDriveMount& mount_;
};

inline Frmaltazpilot& frmaltazpilot() { return forms::Use<Frmaltazpilot>(); }
