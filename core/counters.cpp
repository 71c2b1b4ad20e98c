#include "core/counters.h"

#include "core/numbers.h"
#include "core/state.h"
#include "platform/vbrt.h"

#include <cmath>

void CountAzStep() {
    auto& pos = shared.pos;
    if (pos.AzDirectionPlus == vb::True) ++pos.PendingAzSteps;
    else --pos.PendingAzSteps;
}

void CountAltStep() {
    auto& pos = shared.pos;
    if (pos.AltDirectionPlus == vb::True) ++pos.PendingAltSteps;
    else --pos.PendingAltSteps;
}

double WrappedAzimuth(double arcsec) {
    if (arcsec >= FullTurnArcsec) arcsec -= FullTurnArcsec;
    if (arcsec < 0) arcsec = FullTurnArcsec - std::fabs(arcsec);
    return arcsec;
}

DmsBoxes DegreesMinutesSeconds(double arcsec) {
    DmsBoxes b;
    b.deg = vb::CStr(vb::Int(arcsec / 3600));
    b.min = vb::CStr(vb::Int((arcsec - 3600 * vb::Int(arcsec / 3600)) / 60));
    b.sec = vb::CStr(vb::CLng(arcsec - 3600 * vb::Val(b.deg) - 60 * vb::Val(b.min)));
    return b;
}

AxisCounterBoxes UpdateAzimuthCounter() {
    auto& pos = shared.pos;
    if (pos.PendingAzSteps != 0) ++pos.PositionChanges;
    pos.AzimuthArcsec = WrappedAzimuth(pos.AzimuthArcsec + shared.site.AzStepArcsec * pos.PendingAzSteps);
    pos.PendingAzSteps = 0;
    return AzimuthCounterBoxes();
}

AxisCounterBoxes UpdateAltitudeCounter() {
    auto& pos = shared.pos;
    if (pos.PendingAltSteps != 0) ++pos.PositionChanges;
    pos.AltitudeArcsec += shared.site.AltStepArcsec * pos.PendingAltSteps;
    pos.PendingAltSteps = 0;
    return AltitudeCounterBoxes();
}

AxisCounterBoxes AzimuthCounterBoxes() {
    const double az = shared.pos.AzimuthArcsec;
    return {DegreesMinutesSeconds(az), vb::CStr(az)};
}

AxisCounterBoxes AltitudeCounterBoxes() {
    const double alt = shared.pos.AltitudeArcsec;
    return {DegreesMinutesSeconds(alt), vb::CStr(alt)};
}

void TakePendingPulses() {
    UpdateAzimuthCounter();
    UpdateAltitudeCounter();
}

AzAltBoxes ShowTelescopeAzAlt() {
    return {DegreesMinutesSeconds(shared.pos.AzimuthArcsec), DegreesMinutesSeconds(shared.pos.AltitudeArcsec)};
}

AzAltBoxes ShowGotoTargetAzAlt() {
    return {DegreesMinutesSeconds(shared.altgoto.GotoTargetAz), DegreesMinutesSeconds(shared.altgoto.GotoTargetAlt)};
}

EquatorialBoxes SignedCoordinatesOf(double raHours, double decDeg) {
    // A right ascension from the conversion may lie outside one day.
    double ra = std::fmod(raHours, 24.0);
    if (ra < 0) ra += 24;
    if (ra >= 24) ra -= 24;
    const double hours = vb::Int(ra);
    const double raMinutes = (ra - hours) * 60;

    const double d = std::fabs(decDeg);
    const double degrees = vb::Int(d);
    const double decMinutes = (d - degrees) * 60;

    EquatorialBoxes b;
    b.Txtad_h = vb::CStr(hours);
    b.txtad_min = vb::CStr(RoundDecimals(raMinutes, 2));
    b.txtsign = decDeg > 0 ? QStringLiteral("+") : QStringLiteral("-");
    b.txtdec_deg = vb::CStr(degrees);
    b.txtdec_min = vb::CStr(RoundDecimals(decMinutes, 2));
    return b;
}

EquatorialBoxes ShowSignedCoordinates() { return SignedCoordinatesOf(shared.conv.RaHours, shared.conv.TargetDecDeg); }

double AzimuthSpan() { return shared.pos.DirTestEndAz - shared.pos.DirTestStartAz; }
double ShortAzimuthSpan() {
    const double span = std::remainder(AzimuthSpan(), FullTurnArcsec);
    return span == -FullTurnArcsec / 2 ? FullTurnArcsec / 2 : span;
}
double AltitudeSpan() { return shared.pos.DirTestEndAlt - shared.pos.DirTestStartAlt; }
