// The equatorial manual-drive window: the manual-drive window with the
// right-ascension axis in place of azimuth, the declination axis in place of
// altitude, and the equatorial speed table.
#pragma once

#include "altaz/frmaltazpilot.h"

// The equatorial mount's window.
const ManualDriveMount& EquaManualDrive();

class Frmequapilot : public Frmaltazpilot {
    Q_OBJECT
public:
    Frmequapilot();

    // The delay boxes under their equatorial names.
    std::array<QLineEdit*, 5>& tAD = tAZ;
    std::array<QLineEdit*, 5>& tDc = tAlt;
};

inline Frmequapilot& frmequapilot() { return forms::Use<Frmequapilot>(); }
