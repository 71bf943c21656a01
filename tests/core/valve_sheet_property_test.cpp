// The planner against the exhaustive search on thousands of small random engines, a few
// engines worked out by hand, and the plan checker's own rules.
#include "core/exhaustive_sheet.h"
#include "core/sheet_checks.h"
#include "core/valve_sheet.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <iterator>
#include <ostream>
#include <random>
#include <string>
#include <variant>
#include <vector>

using clearmark::Nanometres;
using clearmark::PlanScore;
using clearmark::SheetInput;
using clearmark::SheetPlan;
using clearmark::ShimSource;
using clearmark::Valve;
using clearmark::ValveKind;
using clearmark::ValvePlan;
namespace checks = clearmark::checks;

namespace {

constexpr Nanometres um(std::int64_t micrometres) {
    return micrometres * 1000;
}

// The ranges and catalogue of the Triumph twins.
constexpr clearmark::ClearanceRange kIntake{um(150), um(200), um(175)};
constexpr clearmark::ClearanceRange kExhaust{um(250), um(300), um(275)};
constexpr clearmark::ShimCatalogue kTriumph{um(2000), um(3200), um(25)};

// Small engines whose gaps, shims and spares fall on a few grids, so that new gaps land on
// the ends of the ranges, shims and spares of the same size compete, and swapping pays.
class EngineMaker {
public:
    explicit EngineMaker(std::uint64_t seed) : rng_(seed) {}

    SheetInput next() {
        SheetInput input;
        input.intake = range(um(100) + um(5) * pick(0, 12));
        input.exhaust = range(um(200) + um(5) * pick(0, 12));
        input.catalogue = catalogue();
        input.leaveInRangeAlone = chance(50);
        const int valves = pick(1, 7);
        for (int i = 0; i < valves; ++i) {
            Valve v;
            v.kind = chance(50) ? ValveKind::Intake : ValveKind::Exhaust;
            v.shim = shim(input);
            v.gap = gap(input, v);
            input.valves.push_back(v);
        }
        // Some valves take a shim of another well: their gap is set from it.
        for (Valve& v : input.valves)
            if (input.valves.size() > 1 && chance(25)) {
                const Valve& other = input.valves[index(input.valves.size())];
                v.gap = target(rangeOf(input, v.kind)) - v.shim + other.shim;
            }
        const int spares = pick(0, 3);
        for (int i = 0; i < spares; ++i)
            input.spares.push_back(spare(input));
        return input;
    }

private:
    int pick(int lo, int hi) { return std::uniform_int_distribution<int>(lo, hi)(rng_); }
    std::size_t index(std::size_t count) {
        return static_cast<std::size_t>(pick(0, static_cast<int>(count) - 1));
    }
    bool chance(int percent) { return pick(1, 100) <= percent; }

    static const clearmark::ClearanceRange& rangeOf(const SheetInput& input, ValveKind kind) {
        return kind == ValveKind::Intake ? input.intake : input.exhaust;
    }

    clearmark::ClearanceRange range(Nanometres from) {
        Nanometres width = chance(10) ? 0 : um(5) * pick(1, 12);
        if (chance(10))
            width += pick(1, 4); // off the grid by a few nanometres
        const Nanometres to = from + width;
        Nanometres aim = from + um(5) * pick(0, static_cast<int>(width / um(5)));
        if (chance(15))
            aim = from;
        else if (chance(15))
            aim = to;
        return {from, to, std::min(aim, to)};
    }

    clearmark::ShimCatalogue catalogue() {
        static constexpr Nanometres steps[] = {um(5), um(10), um(20), um(25), um(50), um(7)};
        const Nanometres step = steps[index(std::size(steps))];
        const Nanometres from = um(2000) + um(25) * pick(0, 24);
        Nanometres to = from + step * pick(0, 10);
        if (chance(30))
            to += pick(0, static_cast<int>(step) - 1); // an end between two sizes
        return {from, to, step};
    }

    Nanometres catalogueSize(const SheetInput& input) {
        const clearmark::ShimCatalogue& c = input.catalogue;
        return c.from + c.step * pick(0, static_cast<int>((c.to - c.from) / c.step));
    }

    Nanometres shim(const SheetInput& input) {
        if (chance(55))
            return catalogueSize(input);
        if (chance(40))
            return catalogueSize(input) + (chance(50) ? 1 : -1) * um(5) * pick(1, 3);
        return um(1900) + um(5) * pick(0, 280);
    }

    // A gap in the range: an end, the aim, or on the grid between.
    Nanometres target(const clearmark::ClearanceRange& r) {
        switch (pick(0, 3)) {
        case 0:
            return r.from;
        case 1:
            return r.to;
        case 2:
            return r.aim;
        default:
            return r.from + um(5) * pick(0, static_cast<int>((r.to - r.from) / um(5)));
        }
    }

    Nanometres gap(const SheetInput& input, const Valve& v) {
        const clearmark::ClearanceRange& r = rangeOf(input, v.kind);
        switch (pick(0, 7)) {
        case 0:
            return r.from - 1;
        case 1:
            return r.to + 1;
        case 2:
            return r.from - um(5) * pick(1, 4);
        case 3:
            return r.to + um(5) * pick(1, 4);
        case 4:
            return target(r);
        default: // anywhere near, now and then below zero
            return r.from - um(150) + um(5) * pick(0, 70);
        }
    }

    Nanometres spare(const SheetInput& input) {
        if (chance(35))
            return input.valves[index(input.valves.size())].shim;
        if (chance(35))
            return catalogueSize(input);
        if (chance(50) && !input.spares.empty())
            return input.spares[index(input.spares.size())];
        // One that fits some valve.
        const Valve& v = input.valves[index(input.valves.size())];
        return v.gap + v.shim - target(rangeOf(input, v.kind));
    }

    std::mt19937_64 rng_;
};

// Everything wrong with the planner's answer for one input, or an empty string.
std::string disagreement(const SheetInput& input, const checks::ExhaustiveBest& best) {
    // The search's own plan is checked too, so that the two references agree with each other.
    const std::string bestFault = checks::planFault(input, best.plan);
    if (!bestFault.empty())
        return "the exhaustive search's plan is invalid: " + bestFault;
    if (checks::countScore(input, best.plan) != best.score)
        return "the exhaustive search's plan scores " +
               checks::describe(checks::countScore(input, best.plan)) + ", it says " +
               checks::describe(best.score);

    const auto result = clearmark::planSheet(input);
    if (const auto* fault = std::get_if<clearmark::SheetFault>(&result))
        return std::string("refused with ") + checks::nameOf(*fault);
    const SheetPlan& plan = std::get<SheetPlan>(result);
    const std::string fault = checks::planFault(input, plan);
    if (!fault.empty())
        return "invalid plan: " + fault + "\n" + checks::describe(plan);
    const std::string order = checks::orderFault(input, plan);
    if (!order.empty())
        return "equal shims out of order: " + order + "\n" + checks::describe(plan);
    const PlanScore counted = checks::countScore(input, plan);
    const PlanScore scored = clearmark::scoreOf(input, plan);
    if (scored != counted)
        return "scoreOf gives " + checks::describe(scored) + ", counted " +
               checks::describe(counted) + "\n" + checks::describe(plan);
    if (counted != best.score)
        return "the plan scores " + checks::describe(counted) + ", the best is " +
               checks::describe(best.score) + "\nplan:\n" + checks::describe(plan) + "\nbest:\n" +
               checks::describe(best.plan);
    return {};
}

TEST(PlanSheetProperty, EveryRandomEngineGetsAValidPlanAsGoodAsTheBest) {
    constexpr int kEngines = 6000;
    constexpr int kMostReported = 5;
    EngineMaker maker(0x5eed'c1ea'0001ULL);
    int failures = 0;
    int leftAlone = 0;
    // Engines whose best plan takes a removed shim, a spare, buys, or leaves a valve out of
    // range.
    int removed = 0, spare = 0, bought = 0, outOfRange = 0;
    for (int n = 0; n < kEngines && failures < kMostReported; ++n) {
        const SheetInput input = maker.next();
        ASSERT_FALSE(checks::hasAnyFault(input)) << checks::describe(input);
        leftAlone += input.leaveInRangeAlone ? 1 : 0;
        const checks::ExhaustiveBest best = checks::exhaustiveBest(input);
        const auto takes = [&best](ShimSource source) {
            return std::any_of(best.plan.valves.begin(), best.plan.valves.end(),
                               [source](const auto& p) { return p.source == source; });
        };
        removed += takes(ShimSource::Removed) ? 1 : 0;
        spare += takes(ShimSource::Spare) ? 1 : 0;
        bought += takes(ShimSource::Bought) ? 1 : 0;
        outOfRange += best.score.outOfRange > 0 ? 1 : 0;
        const std::string wrong = disagreement(input, best);
        if (!wrong.empty()) {
            ++failures;
            ADD_FAILURE() << "engine " << n << ": " << checks::describe(input) << "\n" << wrong;
        }
    }
    // The engines try both settings, each about half the time, and every way of fitting a
    // shim often enough.
    EXPECT_GT(leftAlone, kEngines / 3);
    EXPECT_LT(leftAlone, kEngines * 2 / 3);
    for (int engines : {removed, spare, bought, outOfRange})
        EXPECT_GT(engines, kEngines / 10);
}

// An engine of the Triumph twins' ranges and catalogue.
SheetInput engine(std::vector<Valve> valves, std::vector<Nanometres> spares, bool leaveAlone) {
    return SheetInput{.valves = std::move(valves),
                      .intake = kIntake,
                      .exhaust = kExhaust,
                      .catalogue = kTriumph,
                      .spares = std::move(spares),
                      .leaveInRangeAlone = leaveAlone};
}

// The checker: a plan worked out by hand passes, and each kind of fault put into it is
// found, by the rule it breaks.
SheetInput checkedEngine() {
    return engine({{ValveKind::Intake, um(225), um(2500)},  // takes 2.550 of valve 1
                   {ValveKind::Intake, um(125), um(2550)},  // takes 2.500 of valve 0
                   {ValveKind::Exhaust, um(350), um(2400)}, // takes the spare 2.475
                   {ValveKind::Exhaust, um(275), um(2300)}, // in range, left alone
                   {ValveKind::Intake, um(400), um(2700)}}, // buys 2.925
                  {um(2475), um(2600)}, true);
}

SheetPlan checkedPlan() {
    SheetPlan plan;
    plan.valves = {{ShimSource::Removed, um(2550), 1, um(175), true},
                   {ShimSource::Removed, um(2500), 0, um(175), true},
                   {ShimSource::Spare, um(2475), 0, um(275), true},
                   {ShimSource::Keep, um(2300), 0, um(275), true},
                   {ShimSource::Bought, um(2925), 0, um(175), true}};
    plan.bought = {um(2925)};
    plan.leftOver = {um(2400), um(2600), um(2700)};
    return plan;
}

TEST(SheetChecks, AcceptTheBestPlanWorkedOut) {
    const SheetInput input = checkedEngine();
    EXPECT_EQ(checks::planFault(input, checkedPlan()), "");
    EXPECT_EQ(checks::describe(checks::countScore(input, checkedPlan())),
              checks::describe(PlanScore{.bought = 1, .changed = 4}));
    EXPECT_EQ(checks::describe(checks::exhaustiveBest(input).score),
              checks::describe(PlanScore{.bought = 1, .changed = 4}));
}

// Shims of one size go to the valves in valve order: two intakes take two removed 2.425s
// and a spare 2.425 is left.
TEST(SheetChecks, FindEqualShimsHandedOutOfOrder) {
    const SheetInput input = engine({{ValveKind::Intake, um(250), um(2325)},
                                     {ValveKind::Intake, um(225), um(2400)},
                                     {ValveKind::Exhaust, um(225), um(2425)},
                                     {ValveKind::Exhaust, um(175), um(2425)}},
                                    {um(2425)}, true);
    struct Case {
        const char* name;
        std::size_t first, second; // where valves 0 and 1 take their 2.425: 4 is the spare
        const char* found;         // "": in order
    };
    const Case cases[] = {
        {"in order", 2, 3, ""},
        {"donors swapped", 3, 2, "valve 1: takes the 2425000 at 2, but valve 0"},
        {"spare before removed", 4, 2, "valve 1: takes the 2425000 at 2"},
        {"removed then spare", 3, 4, ""},
    };
    for (const Case& c : cases) {
        SheetPlan plan;
        const auto take = [](std::size_t at) {
            return at < 4 ? ValvePlan{ShimSource::Removed, um(2425), at, 0, true}
                          : ValvePlan{ShimSource::Spare, um(2425), 0, 0, true};
        };
        plan.valves = {take(c.first),
                       take(c.second),
                       {ShimSource::Removed, um(2400), 1, um(250), true},
                       {ShimSource::Removed, um(2325), 0, um(275), true}};
        const std::string fault = checks::orderFault(input, plan);
        if (*c.found == '\0')
            EXPECT_EQ(fault, "") << c.name;
        else
            EXPECT_NE(fault.find(c.found), std::string::npos) << c.name << ": " << fault;
    }
}

struct Broken {
    const char* name;
    void (*breakIt)(SheetPlan&);
    const char* found; // words of the message
};

void PrintTo(const Broken& broken, std::ostream* out) {
    *out << broken.name;
}

class SheetChecksFind : public testing::TestWithParam<Broken> {};

TEST_P(SheetChecksFind, TheFaultPutIn) {
    SheetPlan plan = checkedPlan();
    GetParam().breakIt(plan);
    const std::string fault = checks::planFault(checkedEngine(), plan);
    EXPECT_NE(fault.find(GetParam().found), std::string::npos) << "found: " << fault;
}

// Fits a shim to valve i of the checked engine, with the new gap that gives.
void fit(SheetPlan& plan, std::size_t i, ShimSource source, Nanometres shim, std::size_t from) {
    const Valve v = checkedEngine().valves[i];
    const Nanometres newGap = v.gap + v.shim - shim;
    const clearmark::ClearanceRange& r = v.kind == ValveKind::Intake ? kIntake : kExhaust;
    plan.valves[i] = {source, shim, from, newGap, r.from <= newGap && newGap <= r.to};
}

INSTANTIATE_TEST_SUITE_P(
    Faults, SheetChecksFind,
    testing::Values(
        Broken{"ValveMissing", [](SheetPlan& p) { p.valves.pop_back(); }, "the plan has 4"},
        Broken{"KeepAnotherSize", [](SheetPlan& p) { p.valves[3].shim = um(2325); }, "not its own"},
        Broken{"KeepWithFrom", [](SheetPlan& p) { p.valves[3].from = 2; }, "from is 2"},
        Broken{"KeepATakenShim",
               [](SheetPlan& p) {
                   fit(p, 0, ShimSource::Removed, um(2700), 4);
                   fit(p, 4, ShimSource::Keep, um(2700), 0);
               },
               "another valve has taken"},
        Broken{"RemovedFromNoValve", [](SheetPlan& p) { p.valves[0].from = 5; },
               "beyond the engine"},
        Broken{"RemovedFromItself",
               [](SheetPlan& p) { fit(p, 0, ShimSource::Removed, um(2500), 0); },
               "its own shim as a removed"},
        Broken{"RemovedFromValveLeftAlone",
               [](SheetPlan& p) { fit(p, 0, ShimSource::Removed, um(2300), 3); },
               "not being re-shimmed"},
        Broken{"RemovedOfAnotherSize", [](SheetPlan& p) { p.valves[0].shim = um(2525); },
               "whose shim is"},
        Broken{"RemovedTwice", [](SheetPlan& p) { fit(p, 4, ShimSource::Removed, um(2550), 1); },
               "used already"},
        Broken{"SpareBeyond", [](SheetPlan& p) { p.valves[2].from = 2; }, "takes spare 2 of 2"},
        Broken{"SpareOfAnotherSize", [](SheetPlan& p) { p.valves[2].shim = um(2600); },
               "which is 2475000"},
        Broken{"SpareTwice", [](SheetPlan& p) { fit(p, 4, ShimSource::Spare, um(2475), 0); },
               "spare 0, which is used already"},
        Broken{"BoughtOffTheSteps",
               [](SheetPlan& p) { fit(p, 4, ShimSource::Bought, um(2930), 0); },
               "not a size of the catalogue"},
        Broken{"BoughtPastTheEnd", [](SheetPlan& p) { fit(p, 4, ShimSource::Bought, um(3225), 0); },
               "not a size of the catalogue"},
        Broken{"BoughtWithFrom", [](SheetPlan& p) { p.valves[4].from = 1; }, "from is 1"},
        Broken{"NewGapWrong", [](SheetPlan& p) { p.valves[2].newGap += 1; }, "new gap"},
        Broken{"InRangeWrong", [](SheetPlan& p) { p.valves[1].inRange = false; }, "inRange"},
        Broken{"LeftAloneChanged", [](SheetPlan& p) { fit(p, 3, ShimSource::Bought, um(2300), 0); },
               "left alone"},
        Broken{"BoughtMissing", [](SheetPlan& p) { p.bought.clear(); }, "to buy are"},
        Broken{"BoughtUnsorted",
               [](SheetPlan& p) {
                   fit(p, 2, ShimSource::Bought, um(2475), 0);
                   p.bought = {um(2925), um(2475)};
                   p.leftOver = {um(2400), um(2475), um(2600), um(2700)};
               },
               "not smallest first"},
        Broken{"LeftOverMissing", [](SheetPlan& p) { p.leftOver.pop_back(); }, "left over are"},
        Broken{"LeftOverUsed",
               [](SheetPlan& p) {
                   p.leftOver = {um(2400), um(2550), um(2600), um(2700)};
               },
               "left over are"},
        Broken{"LeftOverUnsorted", [](SheetPlan& p) { std::swap(p.leftOver[0], p.leftOver[1]); },
               "not smallest first"}),
    [](const testing::TestParamInfo<Broken>& info) { return info.param.name; });

} // namespace
