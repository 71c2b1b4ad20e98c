// The hand-paddle settings window: the six paddle speeds, the command
// inversion of each axis and the backlash of each axis, saved to their files.
// The backlash panel lies to the right of the folded width and shows when the
// fold switch opens the window.
#pragma once

#include "platform/form.h"
#include "platform/widgets.h"
#include "shell/paddlesettings.h"

#include <QString>

class QCheckBox;
class QGroupBox;
class QLabel;
class QPushButton;

class Frmraquette : public Form {
    Q_OBJECT
public:
    static constexpr int kFoldedWidth = 5265;
    static constexpr int kUnfoldedWidth = 7530;
    static constexpr int kHeight = 4605;

    Frmraquette();
    void Form_Load() override;

    void chkaz_Click();
    void chkalt_Click();
    void lblbacklash_Click();
    void cmdvalid_Click();
    void Cmdquit_Click();

    // The fold switch's caption as the program keeps it: "8" folded, "7"
    // unfolded (drawn as the matching arrows).
    QString lblbacklashCaption() const { return lblbacklash->Caption(); }
    // Folds the backlash panel away, or unfolds it with the switch.
    void SetFolded(bool folded);

    // The paddle speeds: its bars HScrollazl .. HScrollaltr, boxes txtaz,
    // txtalt, captions Label1, Label3.
    PaddleSpeedPanel* Frame1 = nullptr;
    QGroupBox* Frame2 = nullptr;
    QCheckBox* chkaz = nullptr;
    QCheckBox* chkalt = nullptr;
    QLabel* Label2 = nullptr;
    WebdingsLabel* lblbacklash = nullptr;
    // The backlash: captions Label4, Label5, boxes txtbacklash_az,
    // txtbacklash_alt, buttons cmdjeuaz_deb .. cmdjeualt_fin.
    BacklashPanel* Frame3 = nullptr;
    QPushButton* cmdvalid = nullptr;
    QPushButton* Cmdquit = nullptr;
};

inline Frmraquette& frmraquette() { return forms::Use<Frmraquette>(); }
