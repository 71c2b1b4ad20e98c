#include "equatorial/frmequapilot.h"

#include "motor/moves.h"
#include "motor/speedtables.h"

const ManualDriveMount& EquaManualDrive() {
    static const ManualDriveMount mount{
        "frmequapilot",
        QStringLiteral("Pilotage équatorial"),
        6000,
        4800,
        10680,
        6000,
        2400,  // the cross leaves room for the tracking frame on its left
        QStringLiteral("Ascension droite"),
        QStringLiteral("Déclinaison"),
        QStringLiteral("Vitesses A.D"),
        QStringLiteral("Vitesses Déc."),
        "tAD",
        "tDc",
        QStringLiteral("Sid."),
        &DriveState::EquaSpeedTable,
        speedfiles::kEqua,
        ManualMoveEquaRA,
        ManualMoveEquaDec,
    };
    return mount;
}

Frmequapilot::Frmequapilot() : Frmaltazpilot(EquaManualDrive()) {}
