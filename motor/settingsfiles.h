// The drive's small settings files:
//   "\data\inversion.ini"   two booleans, commands of azimuth/RA then altitude/Dec inverted
//   "\data\backlash.ini"    backlash in pulses, azimuth/RA then altitude/Dec
//   "\data\config_equa.ini" RA and Dec motor steps per turn, then RA and Dec reduction ratios
// and the two goto speed levels either mount keeps in a file of its own.
// A missing or malformed file is told to the user; the values not read, or
// out of their range (platform/ranges.h), take their defaults. Every writer
// replaces the file whole.
#pragma once

#include "platform/seqfile.h"

#include <QString>

namespace settingsfiles {

inline const QString kInversion = QStringLiteral("\\data\\inversion.ini");
inline const QString kBacklash = QStringLiteral("\\data\\backlash.ini");
inline const QString kConfigEqua = QStringLiteral("\\data\\config_equa.ini");

struct Inversion {
    int16_t az = 0;   // -1 or 0
    int16_t alt = 0;
};
// A line reads true exactly when it is "Vrai"; a missing file reads as two false.
// The goto inversion of the equatorial mount ("\data\inversion_point.ini")
// is kept in a file of the same form.
Inversion ReadInversion(const QString& programPath = kInversion);
// The lines of either inversion file; the windows save it with their other
// files (platform/saveset.h).
SeqWriter InversionLines(int16_t az, int16_t alt);

// The two goto speed levels of a mount, 1 to 5, azimuth or right ascension
// first ("\data\pointagealtaz.ini", "\data\pointagequa.ini"); a level the
// file does not give as a whole number 1 to 5 is `defaultLevel`.
struct GotoLevels {
    int az = 3;
    int alt = 3;
};
GotoLevels ReadGotoLevels(const QString& programPath, int defaultLevel);

struct Backlash {
    double az = 0;
    double alt = 0;
};
Backlash ReadBacklash();
SeqWriter BacklashLines(double az, double alt);

struct EquaMechanics {
    double raSteps = 200;
    double decSteps = 200;
    double raRatio = 100;
    double decRatio = 100;
};
// Motor steps whole from 1 to 32767, reduction ratios above 0 and at most
// 32767 (platform/ranges.h).
bool UsableEquaMechanics(const EquaMechanics& m);
// What the file should hold, as the user is told it.
QString EquaMechanicsExpected();
EquaMechanics ReadConfigEqua();
bool WriteConfigEqua(const EquaMechanics& m);

}  // namespace settingsfiles
