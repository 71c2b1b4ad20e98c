#include "altaz/altazfiles.h"

#include "core/conversions.h"
#include "core/state.h"
#include "motor/settingsfiles.h"
#include "platform/filereport.h"
#include "platform/numberfile.h"
#include "platform/ranges.h"
#include "platform/seqfile.h"
#include "platform/vbrt.h"

namespace altazfiles {

namespace {

// The ratios are kept times 1000.
bool ratioTimes1000(double v) { return ranges::Ratio(v / 1000); }

}  // namespace

QString LongitudeBound() {
    return QStringLiteral("au plus %1° vers l'est ou vers l'ouest, minutes comprises")
        .arg(vb::CStr(ranges::kMaxLongitudeDeg));
}

QString LatitudeBound() {
    return QStringLiteral("au plus %1° vers le nord ou vers le sud, minutes comprises")
        .arg(vb::CStr(ranges::kMaxLatitudeDeg));
}

ConfigAltaz ReadConfigAltaz() {
    ConfigAltaz c;
    // Each angle is bounded with its minutes: 90 degrees and some minutes is
    // past the pole.
    const QString minutes = QStringLiteral("minutes de %1 à %2")
                                .arg(vb::CStr(ranges::kSiteMinutes.low), vb::CStr(ranges::kSiteMinutes.high));
    const QString expected =
        QStringLiteral("Huit valeurs attendues, une par ligne : longitude en degrés et minutes (%1 ; %2), latitude "
                       "en degrés et minutes (%3 ; %2), pas moteur azimut et altitude (nombres entiers de 1 à %4), "
                       "rapports de réduction altitude et azimut multipliés par 1000 (au-dessus de 0, %5 au plus).")
            .arg(LongitudeBound(), minutes, LatitudeBound(), vb::CStr(ranges::kMaxMotorSteps),
                 vb::CStr(ranges::kMaxRatio * 1000));
    numberfile::Read(kConfig,
                     {{&c.longitudeDeg, ranges::Longitude},
                      {&c.longitudeMin, ranges::SiteMinutes},
                      {&c.latitudeDeg, ranges::Latitude},
                      {&c.latitudeMin, ranges::SiteMinutes},
                      {&c.azMotorSteps, ranges::MotorSteps},
                      {&c.altMotorSteps, ranges::MotorSteps},
                      {&c.altRatioTimes1000, ratioTimes1000},
                      {&c.azRatioTimes1000, ratioTimes1000}},
                     expected);
    // An angle beyond its bound: both its values take their defaults.
    const ConfigAltaz defaults;
    bool beyond = false;
    if (!ranges::Longitude(SiteAngleDegrees(c.longitudeDeg, c.longitudeMin))) {
        c.longitudeDeg = defaults.longitudeDeg;
        c.longitudeMin = defaults.longitudeMin;
        beyond = true;
    }
    if (!ranges::Latitude(SiteAngleDegrees(c.latitudeDeg, c.latitudeMin))) {
        c.latitudeDeg = defaults.latitudeDeg;
        c.latitudeMin = defaults.latitudeMin;
        beyond = true;
    }
    if (beyond) filereport::Malformed(kConfig, expected);
    return c;
}

SeqWriter ConfigAltazLines(const ConfigAltaz& c) {
    // The site degrees keep their "-" on zero: "-0" then "30" is half a degree
    // south or west.
    SeqWriter w;
    w.Print(SiteDegreesText(c.longitudeDeg));
    w.Print(c.longitudeMin);
    w.Print(SiteDegreesText(c.latitudeDeg));
    for (double v : {c.latitudeMin, c.azMotorSteps, c.altMotorSteps, c.altRatioTimes1000, c.azRatioTimes1000})
        w.Print(v);
    return w;
}

PointageAltaz ReadPointageAltaz() {
    const auto levels = settingsfiles::ReadGotoLevels(kPointage, 3);
    return {levels.az, levels.alt};
}

SeqWriter PointageAltazLines(const PointageAltaz& p) { return numberfile::Lines({double(p.az), double(p.alt)}); }

SuiviAltaz ReadSuiviAltaz() {
    SuiviAltaz s;
    double az = s.delayAz, alt = s.delayAlt;
    // Delays are 32-bit counts, rounded to the nearest whole number.
    const auto delay = [](double v) { return vb::FitsLong(v) && ranges::Count(vb::CLng(v)); };
    numberfile::Read(kSuivi, {{&s.increment, ranges::TrackIncrement}, {&az, delay}, {&alt, delay}},
                     QStringLiteral("Trois valeurs attendues, une par ligne : l'incrément en millisecondes (un "
                                    "nombre entier de %1 à %2), puis les délais de correction en azimut et en "
                                    "altitude (des nombres de 0 à %3, une fraction arrondie à l'entier le plus "
                                    "proche).")
                         .arg(vb::CStr(ranges::kMinTrackIncrementMs), vb::CStr(ranges::kMaxTrackIncrementMs),
                              vb::CStr(ranges::kMaxCount)));
    s.delayAz = vb::CLng(az);
    s.delayAlt = vb::CLng(alt);
    return s;
}

bool WriteSuiviAltaz(const QString& increment, const QString& delayAz, const QString& delayAlt) {
    SeqWriter w;
    w.Print(increment);
    w.Print(delayAz);
    w.Print(delayAlt);
    return filereport::Save(kSuivi, w);
}

}  // namespace altazfiles

void ApplyConfigAltaz(const altazfiles::ConfigAltaz& c) {
    auto& m = shared.site.SiteAndMount;
    m.SiteLongitudeDeg = c.longitudeDeg;
    m.SiteLongitudeMin = c.longitudeMin;
    m.SiteLatitudeDeg = c.latitudeDeg;
    m.SiteLatitudeMin = c.latitudeMin;
    m.AzMotorSteps = c.azMotorSteps;
    m.AltMotorSteps = c.altMotorSteps;
    m.AltitudeRatio = c.altRatioTimes1000 / 1000;
    shared.site.AzimuthRatio = c.azRatioTimes1000 / 1000;
    shared.site.AltStepArcsec = AltitudeStepArcsec();
    shared.site.AzStepArcsec = AzimuthStepArcsec();
}
