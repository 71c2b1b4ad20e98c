// The alt-azimuth set-up window: site, mechanics and half-step angles, goto
// speeds, backlash, and the calibrations made with the hand paddle.
#pragma once

#include "platform/form.h"
#include "shell/paddlesettings.h"

#include <QString>

class QComboBox;
class QGroupBox;
class QLineEdit;
class QPushButton;

// The direction test's message when no sync was made between
// "initialisation coordonnées" and "ok".
inline const QString kDirectionTestNeedsSyncMessage = QStringLiteral(
    "Sens des moteurs : aucun recalage n'a été fait pendant le test, le sens des moteurs n'a pas été changé.\n"
    "Le test demande un recalage sur une seconde étoile : recalez sur une étoile, cliquez sur « initialisation "
    "coordonnées », amenez le télescope sur une seconde étoile avec la raquette, recalez sur cette étoile, puis "
    "cliquez sur « ok ».");

class Frmconfig : public Form {
    Q_OBJECT
public:
    Frmconfig();
    void Form_Load() override;

    // Encoder calibration of the reduction ratios.
    void cmdazencoding_Click();
    void cmdaltencoding_Click();
    void cmdazencoding_result_Click();
    void cmdaltencoding_result_Click();
    // Direction test. "ok" decides only when a sync was made since
    // "initialisation coordonnées"; otherwise it keeps the direction values,
    // puts the counters back where the test found them (moved by whatever
    // moved them since) and says the test needs a second star.
    void cmdinitcoord_Click();
    void cmdinitok_Click();
    // Save.
    void cmdvalid_Click();

    // Site.
    QGroupBox* Frlieu = nullptr;
    QLineEdit* txtdegre = nullptr;   // longitude, whole degrees
    QLineEdit* txtmin = nullptr;     // longitude, minutes
    QLineEdit* txtlatdeg = nullptr;
    QLineEdit* txtlatmin = nullptr;
    // Mechanics.
    QGroupBox* frmeca = nullptr;
    QLineEdit* txtpasaz = nullptr;
    QLineEdit* txtpasalt = nullptr;
    QLineEdit* txtRaz = nullptr;
    QLineEdit* txtRalt = nullptr;
    QLineEdit* txtapas = nullptr;    // azimuth half-step angle, arc-seconds
    QLineEdit* txthpas = nullptr;    // altitude half-step angle
    QPushButton* cmdazencoding = nullptr;
    QPushButton* cmdazencoding_result = nullptr;
    QPushButton* cmdaltencoding = nullptr;
    QPushButton* cmdaltencoding_result = nullptr;
    // Goto speeds.
    QGroupBox* frame5 = nullptr;
    QComboBox* cbpointaz = nullptr;
    QComboBox* cbpointalt = nullptr;
    // Backlash and its measurement with the paddle: boxes txtbacklash_az,
    // txtbacklash_alt, buttons cmdjeuaz_deb .. cmdjeualt_fin.
    BacklashPanel* Frame3 = nullptr;
    // Direction test.
    QPushButton* cmdinitcoord = nullptr;
    QPushButton* cmdinitok = nullptr;
    QLineEdit* txtnbraz = nullptr;
    QLineEdit* txtnbralt = nullptr;
    QLineEdit* txtazplus = nullptr;
    QLineEdit* txtazmoins = nullptr;
    QLineEdit* txtaltplus = nullptr;
    QLineEdit* txtaltmoins = nullptr;
    // Save.
    QPushButton* cmdvalid = nullptr;
};

inline Frmconfig& frmconfig() { return forms::Use<Frmconfig>(); }
