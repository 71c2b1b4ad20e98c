#include "motor/paddlespeeds.h"

#include "platform/vbrt.h"

#include <algorithm>

namespace paddlespeeds {

int32_t PositionOf(Formula f, double delay) {
    const double p = (f.base - delay) / f.factor;
    return std::clamp<int32_t>(vb::CLng(p), 0, kLastPosition);
}

}  // namespace paddlespeeds
