#include "altaz/altazfiles.h"

#include "core/conversions.h"
#include "core/state.h"
#include "platform/filereport.h"
#include "platform/numberfile.h"
#include "platform/seqfile.h"
#include "platform/vbrt.h"

namespace altazfiles {

ConfigAltaz ReadConfigAltaz() {
    ConfigAltaz c;
    numberfile::Read(kConfig, {&c.longitudeDeg, &c.longitudeMin, &c.latitudeDeg, &c.latitudeMin, &c.azMotorSteps,
                               &c.altMotorSteps, &c.altRatioTimes1000, &c.azRatioTimes1000});
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
    double az = 3, alt = 3;
    numberfile::Read(kPointage, {&az, &alt});
    auto level = [](double v) { return v >= 1 && v <= 5 ? static_cast<int>(vb::CLng(v)) : 3; };
    return {level(az), level(alt)};
}

SeqWriter PointageAltazLines(const PointageAltaz& p) { return numberfile::Lines({double(p.az), double(p.alt)}); }

SuiviAltaz ReadSuiviAltaz() {
    SuiviAltaz s;
    double az = s.delayAz, alt = s.delayAlt;
    numberfile::Read(kSuivi, {&s.increment, &az, &alt});
    // Delays are 32-bit counts: one beyond is unreadable and keeps its default.
    auto delay = [](double v, int32_t& out) {
        if (!vb::FitsLong(v)) return false;
        out = vb::CLng(v);
        return true;
    };
    const bool azRead = delay(az, s.delayAz);
    const bool altRead = delay(alt, s.delayAlt);
    if (!azRead || !altRead)
        filereport::Malformed(kSuivi, QStringLiteral("Les délais sont des nombres entiers sur 32 bits."));
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
