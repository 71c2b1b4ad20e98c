#include "core/conversions.h"

#include "core/calendar.h"
#include "core/counters.h"
#include "core/numbers.h"
#include "core/state.h"
#include "platform/vbrt.h"

#include <algorithm>
#include <cmath>

namespace {

// Below this cosine of the altitude (of the declination) the direction is
// taken to be the zenith (the pole): 1e-7 rad is 0.02 arc-second, finer than
// any pulse of the mount, and the rounding of the formulas themselves is
// far larger than the true value there.
constexpr double kDegenerateCosine = 1e-7;

// Seconds of time per radian of hour angle (47.12388980384685 is 15 pi).
constexpr double kTimeSecondsPerRadian = 648000 / 47.12388980384685;

double Clamp1(double x) { return std::clamp(x, -1.0, 1.0); }

}  // namespace

double ArcSin(double x) {
    x = Clamp1(x);
    if (x >= 1) return Pi / 2;
    if (x <= -1) return -Pi / 2;
    return std::atan(x / std::sqrt(1 - x * x));
}

double ArcCos(double x) {
    x = Clamp1(x);
    if (x == 0) return Pi / 2;
    return std::atan(std::sqrt(1 - x * x) / x);
}

double DegToRad(double degrees) { return degrees * Pi / 180; }
double SinDeg(double degrees) { return std::sin(DegToRad(degrees)); }
double CosDeg(double degrees) { return std::cos(DegToRad(degrees)); }

double StepAngleArcsec(double motorSteps, double ratio) {
    const double stepsPerTurn = vb::CInt(motorSteps) * ratio;
    if (stepsPerTurn == 0 || !std::isfinite(stepsPerTurn)) return 0;
    return RoundDecimals(360 / stepsPerTurn * 3600 / 2, 3);
}

double AzimuthStepArcsec() {
    return StepAngleArcsec(shared.site.SiteAndMount.AzMotorSteps, shared.site.AzimuthRatio);
}

double AltitudeStepArcsec() {
    return StepAngleArcsec(shared.site.SiteAndMount.AltMotorSteps, shared.site.SiteAndMount.AltitudeRatio);
}

double SiteAngleDegrees(double degrees, double minutes) {
    const double angle = std::fabs(degrees) + std::fabs(minutes) / 60;
    return std::signbit(degrees) || minutes < 0 ? -angle : angle;
}

double SiteLatitudeRad() {
    const auto& site = shared.site.SiteAndMount;
    return SiteAngleDegrees(site.SiteLatitudeDeg, site.SiteLatitudeMin) * Pi / 180;
}

double SiteDegreesValue(QStringView text) {
    const double v = vb::Val(text);
    return text.trimmed().startsWith(u'-') ? -std::fabs(v) : v;
}

QString SiteDegreesText(double degrees) {
    return degrees == 0 && std::signbit(degrees) ? QStringLiteral("-0") : vb::CStr(degrees);
}

double LocalSiderealTime(double sidereal0h, double utHours, double utMinutes, double utSeconds,
                         int16_t utMilliseconds, double longitudeDeg, double longitudeMin) {
    const double elapsed = SolarToSiderealSeconds(utHours, utMinutes, utSeconds, utMilliseconds);
    const double atZero = sidereal0h + 240 * SiteAngleDegrees(longitudeDeg, longitudeMin);
    // Western longitudes make the sum negative, late hours at eastern ones
    // take it past a whole day or more: fold it into one day.
    double t = std::fmod(atZero + elapsed, 86400.0);
    if (t < 0) t += 86400;
    if (t >= 86400) t -= 86400;
    return t;
}

double LocalSiderealTime(const TimeBoxes& boxes) {
    const auto& site = shared.site.SiteAndMount;
    return LocalSiderealTime(vb::Val(boxes.txtessai), vb::Val(boxes.clock.txth), vb::Val(boxes.clock.txtmin),
                             vb::Val(boxes.clock.txts), vb::CInt(vb::Val(boxes.clock.txtms)),
                             site.SiteLongitudeDeg, site.SiteLongitudeMin);
}

int32_t RoundedSiderealSeconds(double localSidereal) {
    int32_t seconds = vb::CLng(localSidereal);
    if (seconds > 86399) seconds -= 86400;
    return seconds;
}

Horizontal HorizontalOf(double hourAngleRad, double decRad, double latitudeRad) {
    const double sinDec = std::sin(decRad), cosDec = std::cos(decRad);
    const double sinLat = std::sin(latitudeRad), cosLat = std::cos(latitudeRad);
    const double cosH = std::cos(hourAngleRad), sinH = std::sin(hourAngleRad);

    Horizontal r;
    r.altRad = ArcSin(cosDec * cosLat * cosH + sinDec * sinLat);
    r.altDeg = r.altRad * 180 / Pi;
    const double cosAlt = std::cos(r.altRad);
    if (cosAlt < kDegenerateCosine) return r;  // the zenith: no azimuth

    // Sine and cosine of the azimuth counted from south (westward).
    const double s = cosDec * sinH / cosAlt;
    const double c = (sinLat * cosDec * cosH - cosLat * sinDec) / cosAlt;
    r.azimuthDefined = true;
    r.azRad = ArcCos(c);
    const double d = r.azRad * 180 / Pi;
    // ArcCos folds the angle into [-90, 90] degrees; the signs of the sine and
    // cosine say which quarter it came from. The cosine's own sign is used
    // rather than ArcCos's, which is 0 for both 1 (due south) and -1 (due
    // north).
    double az;
    if (s > 0) {
        az = c >= 0 ? d + 180 : d + 360;
    } else {
        az = c < 0 ? -d - 180 : 180 - d;
    }
    if (az < 0) az += 180;
    if (az > 360) az -= 360;
    r.azDeg = az;
    return r;
}

Equatorial EquatorialOf(double azimuthArcsec, double altitudeArcsec, double latitudeRad, double localSidereal) {
    const double a = (azimuthArcsec / 3600 - 180) * Pi / 180;  // azimuth from south
    const double h = altitudeArcsec / 3600 * Pi / 180;
    const double sinA = std::sin(a), cosA = std::cos(a);
    const double sinH = std::sin(h), cosH = std::cos(h);
    const double sinLat = std::sin(latitudeRad), cosLat = std::cos(latitudeRad);

    Equatorial r;
    r.decRad = ArcSin(sinH * sinLat - cosH * cosLat * cosA);
    r.decDeg = r.decRad * 180 / Pi;
    const double cosDec = std::cos(r.decRad);
    if (cosDec < kDegenerateCosine) return r;  // the pole: no right ascension

    // Sine and cosine of the hour angle.
    const double sineHour = sinA * cosH / cosDec;
    const double cosineHour = (sinLat * cosH * cosA + cosLat * sinH) / cosDec;
    const double h1 = (Pi - ArcSin(cosH * sinA / cosDec)) * kTimeSecondsPerRadian;
    const double hour2 = ArcCos(cosineHour);
    const double h2 = hour2 * kTimeSecondsPerRadian;
    // As for the azimuth, the quarter is told by the cosine's own sign.
    double ra;
    if (sineHour > 0) {
        ra = cosineHour >= 0 ? localSidereal - h2 : localSidereal - h2 - 43200;
    } else {
        ra = cosineHour >= 0 ? localSidereal + h2 : localSidereal - h1;
    }
    r.raDefined = true;
    r.raHours = ra / 3600;
    return r;
}

Horizontal PointOf(const TimeBoxes& time, const EquatorialBoxes& coordinates) {
    auto& conv = shared.conv;
    shared.drive.DeltaAz = 0;
    shared.drive.DeltaAlt = 0;

    const double t = LocalSiderealTime(time);
    shared.pos.LocalSiderealSeconds = RoundedSiderealSeconds(t);

    const double raHours = vb::Val(coordinates.Txtad_h);
    const double raMinutes = vb::Val(coordinates.txtad_min);
    const double hourAngle = HourAngleRadians(t, HoursMinutesToSeconds(raHours, raMinutes));

    conv.ObserverLatitudeRad = SiteLatitudeRad();
    conv.TargetRaRad = (15 * raHours + 15 * raMinutes / 60) * Pi / 180;
    double dec = (vb::Val(coordinates.txtdec_deg) + vb::Val(coordinates.txtdec_min) / 60) * Pi / 180;
    if (coordinates.txtsign != u"+") dec = -dec;
    conv.TargetDecRad = dec;

    const Horizontal hz = HorizontalOf(hourAngle, dec, conv.ObserverLatitudeRad);
    conv.TargetAltRad = hz.altRad;
    conv.TargetAltDeg = hz.altDeg;
    if (hz.azimuthDefined) {
        conv.TargetAzRad = hz.azRad;
        conv.TargetAzDeg = hz.azDeg;
    }
    return hz;
}

void EquatorialToHorizontal(const TimeBoxes& time, const EquatorialBoxes& coordinates) {
    const Horizontal hz = PointOf(time, coordinates);
    auto& pos = shared.pos;
    pos.AltitudeArcsec = hz.altDeg * 3600;
    if (hz.azimuthDefined) pos.AzimuthArcsec = hz.azDeg * 3600;
    ++pos.PositionChanges;
}

void SyncOnCoordinates(const TimeBoxes& time, const EquatorialBoxes& coordinates) {
    auto& pos = shared.pos;
    pos.PositionSynced = vb::True;
    pos.GotoReached = false;
    pos.DirTestSynced = true;
    // Pulses sent before the sync are part of the position it declares: they
    // reach the counters first, which the sync then replaces (at the zenith
    // the azimuth counter keeps where they left it).
    TakePendingPulses();
    EquatorialToHorizontal(time, coordinates);
}

void HorizontalToEquatorial(TimeBoxes& time) {
    auto& conv = shared.conv;
    conv.ObserverLatitudeRad = SiteLatitudeRad();
    ShowSiderealTime0h(time);
    const Equatorial eq = EquatorialOf(shared.pos.AzimuthArcsec, shared.pos.AltitudeArcsec,
                                       conv.ObserverLatitudeRad, LocalSiderealTime(time));
    conv.TargetDecRad = eq.decRad;
    conv.TargetDecDeg = eq.decDeg;
    if (eq.raDefined) conv.RaHours = eq.raHours;
}
