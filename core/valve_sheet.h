#pragma once

// The plan for a whole engine: which shim goes into which valve, reusing the shims taken out
// and the spares on the bench before buying any. The plan is exact, the best by these rules
// in this order:
//   1. fewest valves out of range afterwards, and of those plans the smallest total miss:
//      the sum, over the valves out of range, of the distance from the new gap to the
//      nearer end of the range (so a valve that no size brings into range gets the size
//      that brings it nearest, even at the cost of a purchase),
//   2. fewest shims bought,
//   3. fewest valves changed,
//   4. smallest total distance of the new gaps from their aims;
// ties go to the looser (larger) gap, then to removed shims in valve order before spares in
// their order; shims of one size go to the valves taking that size in valve order, the
// earlier valve taking the earlier shim. The same input always gives the same plan.
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

namespace clearmark {

// Lengths are whole nanometres (millionths of a millimetre), so sizes typed with up to six
// decimals in millimetres, or five in inches, are held exactly and compare as typed.
using Nanometres = std::int64_t;
inline constexpr Nanometres kNanometresPerMillimetre = 1'000'000;
inline constexpr Nanometres kNanometresPerInch = 25'400'000;

// Limits of what the planner takes.
inline constexpr std::size_t kMostValves = 24;
inline constexpr std::size_t kMostShimSizes = 2000; // sizes of the catalogue, and spares
inline constexpr Nanometres kLongestLength = 1000 * kNanometresPerMillimetre; // either sign

enum class ValveKind { Intake, Exhaust };

struct ClearanceRange {
    Nanometres from;
    Nanometres to; // a gap is in range when from <= gap <= to
    Nanometres aim;
};

// The sizes that can be bought: from, from + step, ... up to to.
struct ShimCatalogue {
    Nanometres from;
    Nanometres to;
    Nanometres step;
};

struct Valve {
    ValveKind kind;
    Nanometres gap;  // measured
    Nanometres shim; // fitted
};

struct SheetInput {
    std::vector<Valve> valves; // in the sheet's order: cylinder by cylinder, intake first
    ClearanceRange intake;
    ClearanceRange exhaust;
    ShimCatalogue catalogue;
    std::vector<Nanometres> spares; // in the order typed
    // A valve in range keeps its shim, which is not offered to the others.
    bool leaveInRangeAlone = true;
};

// Why the planner refuses an input.
enum class SheetFault {
    IntakeRangeReversed,  // intake from above intake to
    ExhaustRangeReversed, //
    IntakeAimOutside,     // the intake aim outside the intake range
    ExhaustAimOutside,    //
    StepNotPositive,      //
    ShimsReversed,        // shims from above shims to
    TooManySizes,         // the catalogue holds more than kMostShimSizes sizes
    TooManySpares,        // more than kMostShimSizes spares
    TooManyValves,        // more than kMostValves
    LengthTooLong,        // a length beyond kLongestLength either way
};

enum class ShimSource {
    Keep,    // the valve keeps its own shim
    Removed, // a shim taken out of another valve (ValvePlan::from is that valve)
    Spare,   // a spare (ValvePlan::from is its index among the spares)
    Bought,  // a size of the catalogue
};

struct ValvePlan {
    ShimSource source;
    Nanometres shim;   // the size fitted; the valve's own for Keep
    std::size_t from;  // see ShimSource; 0 for Keep and Bought
    Nanometres newGap; // gap + own shim - fitted shim
    bool inRange;
    bool operator==(const ValvePlan&) const = default;
};

struct SheetPlan {
    std::vector<ValvePlan> valves;    // one per valve, in the input's order
    std::vector<Nanometres> bought;   // smallest first
    std::vector<Nanometres> leftOver; // removed and spare shims no valve takes, smallest first
    bool operator==(const SheetPlan&) const = default;
};

// The first rules of the order, by which plans compare (smaller is better, in this order).
struct PlanScore {
    int outOfRange = 0;
    Nanometres miss = 0; // by how much the valves out of range miss their ranges, summed
    int bought = 0;
    int changed = 0;
    Nanometres distance = 0;
    friend auto operator<=>(const PlanScore&, const PlanScore&) = default;
};

const ClearanceRange& rangeOf(const SheetInput& input, ValveKind kind);
// How many sizes the catalogue holds, for one with a positive step, from <= to, and both
// within kLongestLength.
std::int64_t sizeCount(const ShimCatalogue& catalogue);
bool inRange(const ClearanceRange& range, Nanometres gap);

// The best plan, or why there is none.
std::variant<SheetPlan, SheetFault> planSheet(const SheetInput& input);

// The score of a plan for that input (no check that the plan is valid).
PlanScore scoreOf(const SheetInput& input, const SheetPlan& plan);

// The unit of the gaps on the sheet; shims are always millimetres.
enum class GapUnit { Millimetres, Inches };

// The length a number read from the sheet stands for, to the nearest nanometre; none for a
// value that is not finite or beyond kLongestLength either way.
std::optional<Nanometres> lengthOf(double value, GapUnit unit);
// Three decimals in millimetres ("2.525", "-0.010"), four in inches ("0.0069"), rounded half
// away from zero.
std::string formatLength(Nanometres length, GapUnit unit);

// The spare shims as typed: sizes in millimetres separated by spaces or semicolons (a comma
// is a decimal mark), read by the measurement rules. Either every size, in the order typed,
// or the first item that is not a usable size.
struct SpareList {
    std::vector<Nanometres> sizes;
    std::optional<std::string> badItem;
};
SpareList parseSpares(std::string_view text);

} // namespace clearmark
