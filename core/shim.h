#pragma once

#include <optional>
#include <string_view>

namespace clearmark {

// Average clearances (mm) of the Triumph Bonneville, Bonneville America, T-100 and
// Speedmaster engines. They are put into the desired-gap box as text, never as numbers.
inline constexpr std::string_view kIntakeDefaultGap = "0.175";
inline constexpr std::string_view kExhaustDefaultGap = "0.275";

struct ShimResult {
    double gapDifference; // D = desired gap - measured gap
    double newShim;       // N = original shim - D
};

// Works out the shim that gives the desired gap. D is computed first and N from the stored
// D, never as O - S + G, so that the last binary digits come out as the mechanic's
// calculator would give them. No result when either step is not finite.
std::optional<ShimResult> computeNewShim(double desiredGap, double measuredGap,
                                         double originalShim);

} // namespace clearmark
