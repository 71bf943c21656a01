#include "core/shim.h"

#include <cmath>

namespace clearmark {

std::optional<ShimResult> computeNewShim(double desiredGap, double measuredGap,
                                         double originalShim) {
    const double difference = desiredGap - measuredGap;
    if (!std::isfinite(difference))
        return std::nullopt;
    const double newShim = originalShim - difference;
    if (!std::isfinite(newShim))
        return std::nullopt;
    return ShimResult{difference, newShim};
}

} // namespace clearmark
