#include "motor/directions.h"

#include "core/state.h"
#include "motor/slack.h"
#include "platform/vbrt.h"

#include <cstdint>
#include <utility>

namespace directions {

namespace {

struct Values {
    int16_t& plus;
    int16_t& minus;
    int16_t startPlus, startMinus;
};

Values valuesOf(Axis axis) {
    auto& site = shared.site;
    if (axis == Axis::Azimuth) return {site.AzPlusBits, site.AzMinusBits, 8, 0};
    return {site.AltPlusBits, site.AltMinusBits, 2, 0};
}

}  // namespace

void Swap(Axis axis) {
    auto& pos = shared.pos;
    const bool az = axis == Axis::Azimuth;
    const Values v = valuesOf(axis);
    std::swap(v.plus, v.minus);
    slack::Swap(az ? slack::Azimuth() : slack::Altitude());
    int16_t& flag = az ? pos.AzDirectionPlus : pos.AltDirectionPlus;
    flag = flag == vb::True ? vb::False : vb::True;
    int32_t& pending = az ? pos.PendingAzSteps : pos.PendingAltSteps;
    pending = -pending;
}

void SetStartingValues() {
    for (const Axis axis : {Axis::Azimuth, Axis::Altitude}) {
        const Values v = valuesOf(axis);
        if (v.plus == v.startMinus && v.minus == v.startPlus) {
            Swap(axis);
        } else {
            v.plus = v.startPlus;
            v.minus = v.startMinus;
        }
    }
}

}  // namespace directions
