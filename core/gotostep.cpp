#include "core/gotostep.h"

#include "core/conversions.h"
#include "core/counters.h"
#include "core/numbers.h"
#include "core/state.h"
#include "platform/vbrt.h"

#include <algorithm>
#include <cmath>
#include <cstdint>

void SplitGotoTarget(double gotoRA, double gotoDec) {
    auto& g = shared.altgoto;
    const int32_t raHours = vb::CLng(gotoRA) / 600;
    g.GotoRaHours = raHours;
    g.GotoRaMinutes = (gotoRA - 600.0 * raHours) / 10;
    g.GotoDecDegrees = vb::CLng(gotoDec) / 600;
    g.GotoDecMinutes = (gotoDec - 600.0 * g.GotoDecDegrees) / 10;
    if (g.GotoDecDegrees < 0) g.GotoDecMinutes = std::fabs(g.GotoDecMinutes);
}

double RemainingAzimuth(double targetAz, double counterAz, double acrossNorthArcsec) {
    // From where the counter stands in the turn: a pass leaves it a pulse or
    // two beyond its target, below 0 or past a full turn across north, until
    // the clock next folds it back.
    const double d = targetAz - WrappedAzimuth(counterAz);
    // Within what a pass may leave beyond its target across north: the short way.
    if (d > FullTurnArcsec - acrossNorthArcsec) return d - FullTurnArcsec;
    if (d < -(FullTurnArcsec - acrossNorthArcsec)) return d + FullTurnArcsec;
    return d;
}

double GotoPulseCount(double remaining, double stepArcsec) { return std::fabs(std::floor(remaining / stepArcsec)); }

double AcrossNorthArcsec(double azStepArcsec, double skyDriftArcsec) {
    return 2 * std::fabs(azStepArcsec) + kAcrossNorthSkyArcsec + std::fabs(skyDriftArcsec);
}

namespace {
// An axis is done once a pass started within the tolerance, or within two
// pulses on a mechanics coarser than half of it. A pass leaves an axis up to
// one pulse short or two beyond its target, so no pass brings it closer
// than that; with the sky still, such an axis would swing about the target
// out of step with the other one, and the goto would never end.
bool AxisUnfinished(double remaining, double stepArcsec) {
    return std::fabs(remaining) >= std::max(kGotoToleranceArcsec, 2 * stepArcsec);
}
}  // namespace

bool GotoUnfinished() {
    const auto& g = shared.altgoto;
    return AxisUnfinished(g.RemainingAz, shared.site.AzStepArcsec) ||
           AxisUnfinished(g.RemainingAlt, shared.site.AltStepArcsec);
}
