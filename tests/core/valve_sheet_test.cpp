// The whole-engine plan: the worked Triumph example checked by hand, the order of the rules,
// the tie rules, inches, the faults, and the sheet's number formats.
#include "core/valve_sheet.h"

#include <gtest/gtest.h>

#include <limits>
#include <ostream>
#include <string>
#include <vector>

namespace clearmark {
namespace {

constexpr ValveKind IN = ValveKind::Intake;
constexpr ValveKind EX = ValveKind::Exhaust;

Nanometres mm(double value) {
    return *lengthOf(value, GapUnit::Millimetres);
}

// The Triumph twin's defaults: intake 0.15-0.20 aiming at 0.175, exhaust 0.25-0.30 aiming
// at 0.275, shims 2.000-3.200 in steps of 0.025.
SheetInput triumph(std::vector<Valve> valves, std::vector<double> spares = {}) {
    SheetInput input{.valves = std::move(valves),
                     .intake = {mm(0.15), mm(0.20), mm(0.175)},
                     .exhaust = {mm(0.25), mm(0.30), mm(0.275)},
                     .catalogue = {mm(2.0), mm(3.2), mm(0.025)},
                     .spares = {}};
    for (const double spare : spares)
        input.spares.push_back(mm(spare));
    return input;
}

Valve valve(ValveKind kind, double gap, double shim) {
    return {kind, mm(gap), mm(shim)};
}

// A valve's plan as the sheet writes it: "keep", "removed 2.375 from 4", "spare 2.475 0",
// "bought 2.525", with the new gap.
std::string describe(const ValvePlan& v) {
    const std::string size = formatLength(v.shim, GapUnit::Millimetres);
    const std::string gap = " -> " + formatLength(v.newGap, GapUnit::Millimetres);
    switch (v.source) {
    case ShimSource::Keep:
        return "keep" + gap;
    case ShimSource::Removed:
        return "removed " + size + " from " + std::to_string(v.from) + gap;
    case ShimSource::Spare:
        return "spare " + size + " " + std::to_string(v.from) + gap;
    case ShimSource::Bought:
        return "bought " + size + gap;
    }
    return "?";
}

struct PlanCase {
    const char* name;
    SheetInput input;
    std::vector<std::string> valves;
    std::vector<double> bought;
    std::vector<double> leftOver;
};

void PrintTo(const PlanCase& c, std::ostream* out) {
    *out << c.name;
}

std::vector<Nanometres> lengths(const std::vector<double>& sizes) {
    std::vector<Nanometres> out;
    for (const double size : sizes)
        out.push_back(mm(size));
    return out;
}

SheetInput movingAll(SheetInput input) {
    input.leaveInRangeAlone = false;
    return input;
}

// The intake range narrower than the shim step.
SheetInput narrowIntake(SheetInput input) {
    input.intake = {mm(0.150), mm(0.160), mm(0.152)};
    return input;
}

class PlanSheet : public ::testing::TestWithParam<PlanCase> {};

TEST_P(PlanSheet, GivesTheBestPlan) {
    const PlanCase& c = GetParam();
    const auto result = planSheet(c.input);
    ASSERT_TRUE(std::holds_alternative<SheetPlan>(result));
    const SheetPlan& plan = std::get<SheetPlan>(result);
    std::vector<std::string> valves;
    for (const ValvePlan& v : plan.valves)
        valves.push_back(describe(v));
    EXPECT_EQ(valves, c.valves);
    EXPECT_EQ(plan.bought, lengths(c.bought));
    EXPECT_EQ(plan.leftOver, lengths(c.leftOver));
}

// The worked example, checked by hand: C1 EX2 needs 2.490-2.540 and nothing removed or
// spare lies there, so one purchase is unavoidable; C1 IN1 takes C2 IN1's 2.375 (0.175),
// C1 EX1 takes C1 IN1's 2.450 (0.270), C2 IN1 takes C2 EX1's 2.450 (0.155), C2 EX1 takes
// C1 EX1's 2.400 (0.260); the spare fits no valve into range, and C1 EX2's 2.550 is left.
const std::vector<Valve> kTriumphTwin = {valve(IN, 0.100, 2.450), valve(IN, 0.180, 2.500),
                                         valve(EX, 0.320, 2.400), valve(EX, 0.240, 2.550),
                                         valve(IN, 0.230, 2.375), valve(IN, 0.150, 2.600),
                                         valve(EX, 0.210, 2.450), valve(EX, 0.280, 2.425)};
const std::vector<std::string> kTriumphPlan = {
    "removed 2.375 from 4 -> 0.175", "keep -> 0.180",
    "removed 2.450 from 0 -> 0.270", "bought 2.525 -> 0.265",
    "removed 2.450 from 6 -> 0.155", "keep -> 0.150",
    "removed 2.400 from 2 -> 0.260", "keep -> 0.280"};

INSTANTIATE_TEST_SUITE_P(
    Cases, PlanSheet,
    ::testing::Values(
        PlanCase{"TheTriumphTwin",
                 triumph(kTriumphTwin, {2.475}),
                 kTriumphPlan,
                 {2.525},
                 {2.475, 2.550}},
        // Moving the in-range valves' shims as well saves nothing here: the same plan.
        PlanCase{"TheTriumphTwinMovingAll",
                 movingAll(triumph(kTriumphTwin, {2.475})),
                 kTriumphPlan,
                 {2.525},
                 {2.475, 2.550}},
        // Rule 1 before rule 2: buying brings the valve into range.
        PlanCase{"BuysRatherThanStayOut",
                 triumph({valve(IN, 0.100, 2.450)}),
                 {"bought 2.375 -> 0.175"},
                 {2.375},
                 {2.450}},
        // A valve that no size brings into range gets the size that brings it nearest,
        // though that costs a purchase: the thinnest for one too tight, ...
        PlanCase{"TooTightGetsTheThinnest",
                 triumph({valve(IN, 0.020, 2.050)}),
                 {"bought 2.000 -> 0.070"},
                 {2.000},
                 {2.050}},
        // ... the thickest for one too loose ...
        PlanCase{"TooLooseGetsTheThickest",
                 triumph({valve(EX, 0.700, 3.150)}),
                 {"bought 3.200 -> 0.650"},
                 {3.200},
                 {3.150}},
        // ... and where the range (0.150-0.160, aiming at 0.152) is narrower than the step,
        // the size whose gap misses it by less (0.165 by 0.005), not the one nearer the aim
        // (0.140, missing by 0.010).
        PlanCase{"NarrowRangeTheSmallestMiss",
                 narrowIntake(triumph({valve(IN, 0.290, 2.500)})),
                 {"bought 2.625 -> 0.165"},
                 {2.625},
                 {2.500}},
        // It keeps its own shim when nothing comes nearer.
        PlanCase{"KeepsWhatNothingBringsNearer",
                 triumph({valve(IN, 0.020, 2.000)}, {2.100}),
                 {"keep -> 0.020"},
                 {},
                 {2.100}},
        // Rule 2 before rule 4: a spare in range beats a purchase on the aim.
        PlanCase{"SpareInRangeBeforeABuyOnTheAim",
                 triumph({valve(IN, 0.100, 2.450)}, {2.350}),
                 {"spare 2.350 0 -> 0.200"},
                 {},
                 {2.450}},
        // Rule 2 before rule 3: with every shim free to move, the valve in range gives its
        // 2.375 to the other and takes the spare 2.410, which fits only itself.
        PlanCase{"MovesAValveInRangeToSaveAPurchase",
                 movingAll(triumph({valve(IN, 0.100, 2.450), valve(IN, 0.195, 2.375)}, {2.410})),
                 {"removed 2.375 from 1 -> 0.175", "spare 2.410 0 -> 0.160"},
                 {},
                 {2.450}},
        // ... but left alone when asked to.
        PlanCase{"LeavesTheValveInRangeAlone",
                 triumph({valve(IN, 0.100, 2.450), valve(IN, 0.195, 2.375)}, {2.410}),
                 {"bought 2.375 -> 0.175", "keep -> 0.195"},
                 {2.375},
                 {2.410, 2.450}},
        // Rule 3 before rule 4: a valve in range is not changed to come nearer its aim.
        PlanCase{"NoChangeOnlyForTheAim",
                 movingAll(triumph({valve(IN, 0.155, 2.500)}, {2.480})),
                 {"keep -> 0.155"},
                 {},
                 {2.480}},
        // Ties: of two gaps as far from the aim, the looser.
        PlanCase{"TheLooserOfTwoEqualDistances",
                 triumph({valve(IN, 0.100, 2.450)}, {2.400, 2.350}),
                 {"spare 2.350 1 -> 0.200"},
                 {},
                 {2.400, 2.450}},
        // Ties: a removed shim before a spare of the same size, and removed shims in valve
        // order.
        PlanCase{"RemovedBeforeSpare",
                 triumph({valve(EX, 0.100, 2.450), valve(IN, 0.325, 2.275)}, {2.275}),
                 {"removed 2.275 from 1 -> 0.275", "removed 2.450 from 0 -> 0.150"},
                 {},
                 {2.275}},
        PlanCase{
            "RemovedInValveOrder",
            triumph({valve(IN, 0.100, 2.450), valve(EX, 0.100, 2.375), valve(EX, 0.130, 2.375)}),
            {"removed 2.375 from 1 -> 0.175", "bought 2.200 -> 0.275", "bought 2.225 -> 0.280"},
            {2.200, 2.225},
            {2.375, 2.450}},
        // Ties: two valves contest two removed shims of one size; the earlier valve takes
        // the earlier valve's shim.
        PlanCase{"EqualDonorsInValveOrder",
                 triumph({valve(IN, 0.250, 2.325), valve(IN, 0.225, 2.400), valve(EX, 0.225, 2.425),
                          valve(EX, 0.175, 2.425)}),
                 {"removed 2.425 from 2 -> 0.150", "removed 2.425 from 3 -> 0.200",
                  "removed 2.400 from 1 -> 0.250", "removed 2.325 from 0 -> 0.275"},
                 {},
                 {}},
        // ... and of a removed shim and a spare of one size, the earlier valve takes the
        // removed one.
        PlanCase{"EqualRemovedAndSpareInOrder",
                 movingAll(triumph({valve(IN, 0.150, 2.450), valve(EX, 0.325, 2.400),
                                    valve(IN, 0.275, 2.350)},
                                   {2.450})),
                 {"removed 2.400 from 1 -> 0.200", "removed 2.450 from 0 -> 0.275",
                  "spare 2.450 0 -> 0.175"},
                 {},
                 {2.350}},
        // A gap on a range's end is in range, as typed.
        PlanCase{"RangeEndsIncluded",
                 triumph({valve(IN, 0.150, 2.500), valve(EX, 0.300, 2.500)}),
                 {"keep -> 0.150", "keep -> 0.300"},
                 {},
                 {}}));

TEST(PlanSheetInInches, WorksInTheSheetsUnitWithShimsInMillimetres) {
    const auto inch = [](double v) {
        return *lengthOf(v, GapUnit::Inches);
    };
    SheetInput input{.valves = {{IN, inch(0.0040), mm(2.450)}},
                     .intake = {inch(0.0059), inch(0.0079), inch(0.0069)},
                     .exhaust = {inch(0.0098), inch(0.0118), inch(0.0108)},
                     .catalogue = {mm(2.0), mm(3.2), mm(0.025)},
                     .spares = {}};
    // 2.450 - (0.0069 - 0.0040) in = 2.376 mm: 2.375 is the nearest size.
    const SheetPlan plan = std::get<SheetPlan>(planSheet(input));
    ASSERT_EQ(plan.valves.size(), 1u);
    EXPECT_EQ(describe(plan.valves[0]), "bought 2.375 -> 0.177");
    EXPECT_EQ(formatLength(plan.valves[0].newGap, GapUnit::Inches), "0.0070");
    EXPECT_TRUE(plan.valves[0].inRange);
}

TEST(PlanSheetFaults, RefusesWhatCannotBePlanned) {
    struct Case {
        const char* name;
        void (*spoil)(SheetInput&);
        SheetFault fault;
    };
    const Case cases[] = {
        {"intake reversed", [](SheetInput& s) { s.intake.from = mm(0.21); },
         SheetFault::IntakeRangeReversed},
        {"exhaust reversed", [](SheetInput& s) { s.exhaust.to = mm(0.2); },
         SheetFault::ExhaustRangeReversed},
        {"intake aim", [](SheetInput& s) { s.intake.aim = mm(0.201); },
         SheetFault::IntakeAimOutside},
        {"exhaust aim", [](SheetInput& s) { s.exhaust.aim = mm(0.249); },
         SheetFault::ExhaustAimOutside},
        {"zero step", [](SheetInput& s) { s.catalogue.step = 0; }, SheetFault::StepNotPositive},
        {"negative step", [](SheetInput& s) { s.catalogue.step = -1; },
         SheetFault::StepNotPositive},
        {"shims reversed", [](SheetInput& s) { s.catalogue.to = mm(1.9); },
         SheetFault::ShimsReversed},
        {"2,001 sizes",
         [](SheetInput& s) { s.catalogue.step = (s.catalogue.to - s.catalogue.from) / 2000; },
         SheetFault::TooManySizes},
        {"25 valves", [](SheetInput& s) { s.valves.resize(25, valve(IN, 0.1, 2.5)); },
         SheetFault::TooManyValves},
        {"2,001 spares", [](SheetInput& s) { s.spares.resize(2001, mm(2.5)); },
         SheetFault::TooManySpares},
        {"a gap too long", [](SheetInput& s) { s.valves[0].gap = kLongestLength + 1; },
         SheetFault::LengthTooLong},
    };
    for (const Case& c : cases) {
        SheetInput input = triumph(kTriumphTwin);
        c.spoil(input);
        const auto result = planSheet(input);
        ASSERT_TRUE(std::holds_alternative<SheetFault>(result)) << c.name;
        EXPECT_EQ(std::get<SheetFault>(result), c.fault) << c.name;
    }
    // Exactly 2,000 sizes, 24 valves and 2,000 spares are planned.
    SheetInput most = triumph(kTriumphTwin);
    most.catalogue.step = 600;
    most.catalogue.to = most.catalogue.from + 1999 * 600;
    most.valves.resize(24, valve(EX, 0.2, 2.5));
    most.spares.resize(2000, mm(2.5));
    EXPECT_TRUE(std::holds_alternative<SheetPlan>(planSheet(most)));
}

TEST(SheetNumbers, ReadAndWriteLengths) {
    struct Case {
        double value;
        GapUnit unit;
        const char* written;
    };
    const Case cases[] = {
        {0.15, GapUnit::Millimetres, "0.150"},     {2.4875, GapUnit::Millimetres, "2.488"},
        {-0.0104, GapUnit::Millimetres, "-0.010"}, {-0.0004, GapUnit::Millimetres, "0.000"},
        {0.0069, GapUnit::Inches, "0.0069"},       {0.00695, GapUnit::Inches, "0.0070"},
        {12.5, GapUnit::Inches, "12.5000"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(formatLength(*lengthOf(c.value, c.unit), c.unit), c.written) << c.value;
    EXPECT_EQ(lengthOf(0.15, GapUnit::Millimetres), 150'000);
    EXPECT_EQ(lengthOf(0.0059, GapUnit::Inches), 149'860);
    EXPECT_EQ(lengthOf(1000.0, GapUnit::Millimetres), kLongestLength);
    EXPECT_FALSE(lengthOf(1000.001, GapUnit::Millimetres));
    EXPECT_FALSE(lengthOf(40.0, GapUnit::Inches));
    EXPECT_FALSE(lengthOf(std::numeric_limits<double>::infinity(), GapUnit::Millimetres));
}

TEST(SheetNumbers, ReadTheSpares) {
    struct Case {
        const char* text;
        std::vector<double> sizes;
        const char* bad; // nullptr: every item read
    };
    const Case cases[] = {
        {"", {}, nullptr},
        {"  ;; ", {}, nullptr},
        {"2.475", {2.475}, nullptr},
        {"2,475 2.5;2.525\t; 2.55", {2.475, 2.5, 2.525, 2.55}, nullptr},
        {"2.475 2.4x 2.5", {}, "2.4x"},
        {"2.475;0", {}, "0"},
        {"-2.5", {}, "-2.5"},
        {"2,475,1", {}, "2,475,1"},
        {"1e9", {}, "1e9"},
    };
    for (const Case& c : cases) {
        const SpareList list = parseSpares(c.text);
        EXPECT_EQ(list.sizes, lengths(c.sizes)) << c.text;
        EXPECT_EQ(list.badItem.has_value(), c.bad != nullptr) << c.text;
        if (c.bad != nullptr && list.badItem) {
            EXPECT_EQ(*list.badItem, c.bad);
        }
    }
}

} // namespace
} // namespace clearmark
