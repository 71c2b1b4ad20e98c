// The equatorial manual-drive window: the manual-drive window with the
// right-ascension axis in place of azimuth, the declination axis in place of
// altitude, and the equatorial speed table; and the home of sidereal
// tracking, a burst of right-ascension pulses once per second of the clock.
#pragma once

#include "altaz/frmaltazpilot.h"

#include <cstdint>
#include <optional>

class QFrame;
class QTimer;

// The equatorial mount's window.
const ManualDriveMount& EquaManualDrive();

class Frmequapilot : public Frmaltazpilot {
    Q_OBJECT
public:
    Frmequapilot();
    // However the window goes, tracking ends with it.
    void Form_Unload() override;

    // Sidereal tracking.
    void cmdgo_Click();
    void cmdstopgo_Click();
    void timersuivi_Timer();

    // The delay boxes under their equatorial names.
    std::array<QLineEdit*, 5>& tAD = tAZ;
    std::array<QLineEdit*, 5>& tDc = tAlt;

    QGroupBox* Frame1 = nullptr;  // "Suivi sidéral"
    QLabel* Label4 = nullptr;
    QFrame* Shape1 = nullptr;
    QPushButton* cmdgo = nullptr;
    QPushButton* cmdstopgo = nullptr;
    QTimer* timersuivi = nullptr;  // 100 ms; tracking is on while it runs
    QLineEdit* txts = nullptr;     // clock second at which tracking started
    QLineEdit* txtpas = nullptr;   // nbrepas
    QLineEdit* txtessai = nullptr; // bursts sent since the start
    QLineEdit* txtpas1 = nullptr;  // pulses of the last burst

    // The clock second of the last burst (or of the start), and of this tick.
    std::optional<int16_t> second0;
    int16_t second1 = 0;
    double nbrepas = 0;  // half-steps of the right-ascension motor per second
    double reste = 0;    // nbrepas minus this second's rounded count
    double somme = 0;    // fraction of a pulse carried from second to second, and from run to run

private:
    bool inTick_ = false;  // a tick's burst is under way
};

inline Frmequapilot& frmequapilot() { return forms::Use<Frmequapilot>(); }
