// The alt-azimuth mount's settings files:
//   "\data\config_altaz.ini"   site longitude degrees, minutes, latitude degrees,
//                              minutes, azimuth and altitude motor steps, then the
//                              altitude and azimuth reduction ratios times 1000
//   "\data\pointagealtaz.ini"  the azimuth and altitude goto speed levels, 1 to 5
//   "\data\suivialtaz.ini"     tracking: the tick increment in ms, then the
//                              azimuth and altitude burst delays
#pragma once

#include "platform/seqfile.h"

#include <QString>
#include <cstdint>

namespace altazfiles {

inline const QString kConfig = QStringLiteral("\\data\\config_altaz.ini");
inline const QString kPointage = QStringLiteral("\\data\\pointagealtaz.ini");
inline const QString kSuivi = QStringLiteral("\\data\\suivialtaz.ini");

// The eight values as the file holds them (ratios times 1000).
struct ConfigAltaz {
    double longitudeDeg = 2;
    double longitudeMin = 20;
    double latitudeDeg = 48;
    double latitudeMin = 50;
    double azMotorSteps = 200;
    double altMotorSteps = 200;
    double altRatioTimes1000 = 100000;
    double azRatioTimes1000 = 100000;
};
// A missing or malformed file is told to the user; the values not read, or
// out of their range (platform/ranges.h: the site within 180 and 90 degrees,
// steps whole from 1 and ratios above 0, both at most 32767), keep the
// defaults above.
ConfigAltaz ReadConfigAltaz();
// What a site angle, degrees and minutes together, may be, as the user reads
// it: "au plus 180° vers l'est ou vers l'ouest, minutes comprises".
QString LongitudeBound();
QString LatitudeBound();
// The file's lines; the set-up window saves them with the backlash and goto speeds.
SeqWriter ConfigAltazLines(const ConfigAltaz& c);

struct PointageAltaz {
    int az = 3;   // 1..5
    int alt = 3;
};
PointageAltaz ReadPointageAltaz();
SeqWriter PointageAltazLines(const PointageAltaz& p);

// The shipped tracking settings stand for what a file does not give, or
// gives out of range: an increment that is not a whole number of ms from 10
// to 32767, a delay that does not round to a count from 0 to 2147483647.
struct SuiviAltaz {
    double increment = 500;
    int32_t delayAz = 100000;
    int32_t delayAlt = 100000;
};
SuiviAltaz ReadSuiviAltaz();
// The three lines as the tracking window's boxes hold them.
bool WriteSuiviAltaz(const QString& increment, const QString& delayAz, const QString& delayAlt);

}  // namespace altazfiles

// Site and mechanics from the file's values: SiteAndMount, the two ratios
// divided by 1000, and the half-step angles of both axes.
void ApplyConfigAltaz(const altazfiles::ConfigAltaz& c);
