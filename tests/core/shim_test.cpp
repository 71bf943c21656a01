#include "core/measurement.h"
#include "core/shim.h"

#include <gtest/gtest.h>

#include <limits>

using clearmark::computeNewShim;
using clearmark::formatMeasurement;

namespace {

struct ShimCase {
    double desired;
    double measured;
    double original;
    double difference;
    double newShim;
    const char* written;
};

class ComputeNewShim : public testing::TestWithParam<ShimCase> {};

TEST_P(ComputeNewShim, SubtractsTheDifferenceFromTheShim) {
    const ShimCase& c = GetParam();
    const auto result = computeNewShim(c.desired, c.measured, c.original);
    ASSERT_TRUE(result.has_value());
    EXPECT_EQ(result->gapDifference, c.difference);
    EXPECT_EQ(result->newShim, c.newShim);
    EXPECT_EQ(formatMeasurement(result->newShim), c.written);
}

INSTANTIATE_TEST_SUITE_P(
    Workshop, ComputeNewShim,
    testing::Values(
        // Intake example: D carries base-2 noise that the writer rounds away.
        ShimCase{0.175, 0.20, 2.45, -0.025000000000000022, 2.475, "2.475"},
        // Exhaust example: O - (S - G), not O - S + G.
        ShimCase{0.275, 0.30, 2.30, -0.024999999999999967, 2.3249999999999997, "2.325"},
        ShimCase{0.275, 0.35, 3.20, -0.07499999999999996, 3.2750000000000004, "3.275"},
        // Equal gaps keep the shim exactly.
        ShimCase{0.175, 0.175, 2.45, 0.0, 2.45, "2.45"},
        // Below the smallest shim of the series: returned unchanged, not rounded or checked.
        ShimCase{0.175, 0.10, 2.00, 0.07499999999999998, 1.925, "1.925"},
        // Signs and zeros are computed like any other numbers.
        ShimCase{0.0, 0.0, 0.0, 0.0, 0.0, "0"}, ShimCase{-1.0, 1.0, -2.0, -2.0, 0.0, "0"},
        ShimCase{0.3, 0.1, -5.0, 0.19999999999999998, -5.2, "-5.2"}));

TEST(ComputeNewShimFaults, NonFiniteStepsGiveNoResult) {
    constexpr double big = std::numeric_limits<double>::max();
    EXPECT_FALSE(computeNewShim(big, -big, 2.45).has_value()); // S - G overflows
    EXPECT_FALSE(computeNewShim(-big, big, 2.45).has_value()); // S - G overflows negative
    EXPECT_FALSE(computeNewShim(big, 0.0, -big).has_value());  // O - D overflows
    EXPECT_FALSE(computeNewShim(std::numeric_limits<double>::infinity(), 0, 0).has_value());
    EXPECT_FALSE(computeNewShim(0, 0, std::numeric_limits<double>::quiet_NaN()).has_value());
    // Large but finite is fine.
    const auto nearLimit = computeNewShim(big, 0.0, 0.0);
    ASSERT_TRUE(nearLimit.has_value());
    EXPECT_EQ(nearLimit->newShim, -big);
}

} // namespace
