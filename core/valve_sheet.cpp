#include "core/valve_sheet.h"

#include "core/measurement.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <limits>
#include <tuple>

namespace clearmark {
namespace {

// The cost of one choice, compared component by component in the order of the rules, so
// that no weight can make a later rule outweigh an earlier one. Sums and differences are
// taken component-wise: the assignment below needs nothing more of its costs.
struct Cost {
    std::int64_t outOfRange = 0;
    std::int64_t miss = 0; // how far the gap lies outside its range; 0 inside
    std::int64_t bought = 0;
    std::int64_t changed = 0;
    std::int64_t distance = 0;
    std::int64_t tightness = 0; // the fitted size: the smaller, the looser the gap
    std::int64_t order = 0;     // the position of the shim's source: removed, spares, bought

    friend bool operator<(const Cost& a, const Cost& b) {
        return std::tie(a.outOfRange, a.miss, a.bought, a.changed, a.distance, a.tightness,
                        a.order) < std::tie(b.outOfRange, b.miss, b.bought, b.changed, b.distance,
                                            b.tightness, b.order);
    }
    Cost& operator+=(const Cost& o) {
        outOfRange += o.outOfRange;
        miss += o.miss;
        bought += o.bought;
        changed += o.changed;
        distance += o.distance;
        tightness += o.tightness;
        order += o.order;
        return *this;
    }
    Cost& operator-=(const Cost& o) {
        outOfRange -= o.outOfRange;
        miss -= o.miss;
        bought -= o.bought;
        changed -= o.changed;
        distance -= o.distance;
        tightness -= o.tightness;
        order -= o.order;
        return *this;
    }
    friend Cost operator-(Cost a, const Cost& b) { return a -= b; }
};

// Larger than any sum of real costs.
constexpr Cost kUnreachable{.outOfRange = std::numeric_limits<std::int64_t>::max() / 4};

// The least-cost assignment of every row to a column of its own (rows <= columns): the
// Hungarian method with potentials, O(rows^2 * columns). cost(row, column) is asked once per
// pair. The result gives each row its column.
template <class CostOf>
std::vector<std::size_t> assign(std::size_t rows, std::size_t columns, CostOf cost) {
    std::vector<Cost> table(rows * columns);
    for (std::size_t r = 0; r < rows; ++r)
        for (std::size_t c = 0; c < columns; ++c)
            table[r * columns + c] = cost(r, c);

    // One-based, with row and column 0 as the method's free slot.
    std::vector<Cost> u(rows + 1);
    std::vector<Cost> v(columns + 1);
    std::vector<std::size_t> rowOfColumn(columns + 1, 0);
    std::vector<std::size_t> way(columns + 1, 0);
    std::vector<Cost> least(columns + 1);
    std::vector<char> used(columns + 1);
    for (std::size_t r = 1; r <= rows; ++r) {
        rowOfColumn[0] = r;
        std::size_t column = 0;
        std::fill(least.begin(), least.end(), kUnreachable);
        std::fill(used.begin(), used.end(), 0);
        do {
            used[column] = 1;
            const std::size_t row = rowOfColumn[column];
            Cost delta = kUnreachable;
            std::size_t next = 0;
            for (std::size_t c = 1; c <= columns; ++c) {
                if (used[c])
                    continue;
                const Cost reduced = table[(row - 1) * columns + (c - 1)] - u[row] - v[c];
                if (reduced < least[c]) {
                    least[c] = reduced;
                    way[c] = column;
                }
                if (least[c] < delta) {
                    delta = least[c];
                    next = c;
                }
            }
            for (std::size_t c = 0; c <= columns; ++c) {
                if (used[c]) {
                    u[rowOfColumn[c]] += delta;
                    v[c] -= delta;
                } else {
                    least[c] -= delta;
                }
            }
            column = next;
        } while (rowOfColumn[column] != 0);
        do {
            const std::size_t previous = way[column];
            rowOfColumn[column] = rowOfColumn[previous];
            column = previous;
        } while (column != 0);
    }
    std::vector<std::size_t> columnOfRow(rows);
    for (std::size_t c = 1; c <= columns; ++c)
        if (rowOfColumn[c] != 0)
            columnOfRow[rowOfColumn[c] - 1] = c - 1;
    return columnOfRow;
}

std::int64_t floorDivide(std::int64_t a, std::int64_t b) {
    const std::int64_t q = a / b;
    return (a % b != 0 && (a < 0) != (b < 0)) ? q - 1 : q;
}

// How far a gap lies outside the range: 0 inside, else the distance to the nearer end.
Nanometres missOf(const ClearanceRange& range, Nanometres gap) {
    return gap < range.from ? range.from - gap : gap > range.to ? gap - range.to : 0;
}

bool tooLong(Nanometres length) {
    return length > kLongestLength || length < -kLongestLength;
}

std::optional<SheetFault> faultOf(const SheetInput& input) {
    if (input.valves.size() > kMostValves)
        return SheetFault::TooManyValves;
    if (input.spares.size() > kMostShimSizes)
        return SheetFault::TooManySpares;
    const auto range = [](const ClearanceRange& r) {
        return tooLong(r.from) || tooLong(r.to) || tooLong(r.aim);
    };
    const ShimCatalogue& shims = input.catalogue;
    if (range(input.intake) || range(input.exhaust) || tooLong(shims.from) || tooLong(shims.to) ||
        tooLong(shims.step) ||
        std::any_of(input.valves.begin(), input.valves.end(),
                    [](const Valve& v) { return tooLong(v.gap) || tooLong(v.shim); }) ||
        std::any_of(input.spares.begin(), input.spares.end(), tooLong))
        return SheetFault::LengthTooLong;
    if (input.intake.from > input.intake.to)
        return SheetFault::IntakeRangeReversed;
    if (input.exhaust.from > input.exhaust.to)
        return SheetFault::ExhaustRangeReversed;
    if (!inRange(input.intake, input.intake.aim))
        return SheetFault::IntakeAimOutside;
    if (!inRange(input.exhaust, input.exhaust.aim))
        return SheetFault::ExhaustAimOutside;
    if (shims.step <= 0)
        return SheetFault::StepNotPositive;
    if (shims.from > shims.to)
        return SheetFault::ShimsReversed;
    if (sizeCount(shims) > std::int64_t(kMostShimSizes))
        return SheetFault::TooManySizes;
    return std::nullopt;
}

// A source of shims for the valves being re-shimmed: a removed shim, a spare, or a purchase.
struct Column {
    ShimSource source;
    Nanometres shim; // none for a purchase: each valve buys its own best size
    std::size_t from;
};

// Equal shims handed out in order. The cost's last rule makes the valves take the first
// shims of each size, but it cannot say which valve takes which: two valves taking two
// shims of one size cost the same either way round, and the assignment's scan decides.
// Among the valves that take a removed or spare shim of one size, the earlier valve takes
// the earlier shim (removed ones in valve order, then spares in their order): the same sizes
// go to the same valves, so the plan scores the same. No valve takes a shim of its own size
// from another (keeping its own would change one valve fewer), so none is handed its own.
void handOutInOrder(std::vector<std::size_t>& chosen, const std::vector<Column>& columns,
                    const std::vector<std::size_t>& reshimmed, std::size_t pool) {
    std::vector<std::size_t> takers; // rows, by the size they take, in valve order
    for (std::size_t r = 0; r < chosen.size(); ++r) {
        const Column& column = columns[chosen[r]];
        const bool own = column.source == ShimSource::Removed && column.from == reshimmed[r];
        if (chosen[r] < pool && !own)
            takers.push_back(r);
    }
    std::stable_sort(takers.begin(), takers.end(), [&](std::size_t a, std::size_t b) {
        return columns[chosen[a]].shim < columns[chosen[b]].shim;
    });
    std::vector<std::size_t> taken;
    for (auto first = takers.begin(); first != takers.end();) {
        const Nanometres size = columns[chosen[*first]].shim;
        const auto last = std::find_if(
            first, takers.end(), [&](std::size_t r) { return columns[chosen[r]].shim != size; });
        taken.clear();
        for (auto row = first; row != last; ++row)
            taken.push_back(chosen[*row]);
        std::sort(taken.begin(), taken.end());
        for (std::size_t k = 0; k < taken.size(); ++k)
            chosen[first[std::ptrdiff_t(k)]] = taken[k];
        first = last;
    }
}

} // namespace

const ClearanceRange& rangeOf(const SheetInput& input, ValveKind kind) {
    return kind == ValveKind::Intake ? input.intake : input.exhaust;
}

bool inRange(const ClearanceRange& range, Nanometres gap) {
    return range.from <= gap && gap <= range.to;
}

std::int64_t sizeCount(const ShimCatalogue& catalogue) {
    return (catalogue.to - catalogue.from) / catalogue.step + 1;
}

std::variant<SheetPlan, SheetFault> planSheet(const SheetInput& input) {
    if (const auto fault = faultOf(input))
        return *fault;

    const std::vector<Valve>& valves = input.valves;
    const ShimCatalogue& shims = input.catalogue;
    const std::int64_t sizes = sizeCount(shims);

    SheetPlan plan;
    plan.valves.resize(valves.size());
    std::vector<std::size_t> reshimmed; // valve indexes, in valve order
    for (std::size_t i = 0; i < valves.size(); ++i) {
        const Valve& valve = valves[i];
        const bool fits = inRange(rangeOf(input, valve.kind), valve.gap);
        plan.valves[i] = {ShimSource::Keep, valve.shim, 0, valve.gap, fits};
        if (!(fits && input.leaveInRangeAlone))
            reshimmed.push_back(i);
    }

    std::vector<Column> columns;
    columns.reserve(2 * reshimmed.size() + input.spares.size());
    for (const std::size_t i : reshimmed)
        columns.push_back({ShimSource::Removed, valves[i].shim, i});
    for (std::size_t s = 0; s < input.spares.size(); ++s)
        columns.push_back({ShimSource::Spare, input.spares[s], s});
    const std::size_t pool = columns.size();
    for (std::size_t k = 0; k < reshimmed.size(); ++k)
        columns.push_back({ShimSource::Bought, 0, 0});

    const auto costOf = [&](const Valve& valve, Nanometres shim, bool kept, bool bought,
                            std::size_t column) {
        const ClearanceRange& range = rangeOf(input, valve.kind);
        const Nanometres gap = valve.gap + valve.shim - shim;
        return Cost{.outOfRange = inRange(range, gap) ? 0 : 1,
                    .miss = missOf(range, gap),
                    .bought = bought ? 1 : 0,
                    .changed = kept ? 0 : 1,
                    .distance = std::abs(gap - range.aim),
                    .tightness = shim,
                    .order = std::int64_t(column)};
    };
    // The size a valve would buy, chosen once for each valve before the assignment. That is
    // exact: purchases are unlimited, so a valve's purchase takes nothing from the others,
    // and every valve has a bought column of its own; whichever valves end up buying, each
    // is best off with its own best size. That size is one of the two whose gaps lie either
    // side of the aim: the aim lies inside the range, so moving a gap away from it, either
    // way, never brings it nearer the aim, into the range nor nearer the range (the cost
    // never falls). Were the aim outside, a size further from it could be the one in range.
    // Where the range is narrower than the step, both gaps may miss it; the miss, which
    // ranks before the distance from the aim, chooses the nearer to the range.
    const auto bestPurchase = [&](const Valve& valve) {
        const Nanometres ideal = valve.gap + valve.shim - rangeOf(input, valve.kind).aim;
        const std::int64_t below = floorDivide(ideal - shims.from, shims.step);
        Nanometres best = 0;
        Cost bestCost = kUnreachable;
        for (const std::int64_t k : {below, below + 1}) {
            const Nanometres size =
                shims.from + std::clamp<std::int64_t>(k, 0, sizes - 1) * shims.step;
            const Cost cost = costOf(valve, size, false, true, pool);
            if (cost < bestCost) {
                bestCost = cost;
                best = size;
            }
        }
        return best;
    };
    std::vector<Nanometres> purchase(reshimmed.size());
    for (std::size_t r = 0; r < reshimmed.size(); ++r)
        purchase[r] = bestPurchase(valves[reshimmed[r]]);

    std::vector<std::size_t> chosen =
        assign(reshimmed.size(), columns.size(), [&](std::size_t r, std::size_t c) {
            const Valve& valve = valves[reshimmed[r]];
            const Column& column = columns[c];
            if (column.source == ShimSource::Bought)
                return costOf(valve, purchase[r], false, true, pool);
            const bool own = column.source == ShimSource::Removed && column.from == reshimmed[r];
            return costOf(valve, column.shim, own, false, c);
        });

    handOutInOrder(chosen, columns, reshimmed, pool);

    std::vector<char> taken(pool, 0);
    for (std::size_t r = 0; r < reshimmed.size(); ++r) {
        const std::size_t i = reshimmed[r];
        const Column& column = columns[chosen[r]];
        ValvePlan& valve = plan.valves[i];
        if (column.source == ShimSource::Bought) {
            valve = {ShimSource::Bought, purchase[r], 0, 0, false};
            plan.bought.push_back(purchase[r]);
        } else {
            taken[chosen[r]] = 1;
            const bool own = column.source == ShimSource::Removed && column.from == i;
            valve = {own ? ShimSource::Keep : column.source, column.shim, own ? 0 : column.from, 0,
                     false};
        }
        valve.newGap = valves[i].gap + valves[i].shim - valve.shim;
        valve.inRange = inRange(rangeOf(input, valves[i].kind), valve.newGap);
    }
    for (std::size_t c = 0; c < pool; ++c)
        if (!taken[c])
            plan.leftOver.push_back(columns[c].shim);
    std::sort(plan.bought.begin(), plan.bought.end());
    std::sort(plan.leftOver.begin(), plan.leftOver.end());
    return plan;
}

PlanScore scoreOf(const SheetInput& input, const SheetPlan& plan) {
    PlanScore score;
    for (std::size_t i = 0; i < plan.valves.size() && i < input.valves.size(); ++i) {
        const ValvePlan& valve = plan.valves[i];
        const ClearanceRange& range = rangeOf(input, input.valves[i].kind);
        score.outOfRange += inRange(range, valve.newGap) ? 0 : 1;
        score.miss += missOf(range, valve.newGap);
        score.bought += valve.source == ShimSource::Bought ? 1 : 0;
        score.changed += valve.source == ShimSource::Keep ? 0 : 1;
        score.distance += std::abs(valve.newGap - range.aim);
    }
    return score;
}

std::optional<Nanometres> lengthOf(double value, GapUnit unit) {
    const auto perUnit =
        double(unit == GapUnit::Inches ? kNanometresPerInch : kNanometresPerMillimetre);
    const double length = value * perUnit;
    if (!std::isfinite(length) || std::abs(length) > double(kLongestLength))
        return std::nullopt;
    return Nanometres(std::llround(length));
}

std::string formatLength(Nanometres length, GapUnit unit) {
    const bool inches = unit == GapUnit::Inches;
    // Thousandths of a millimetre, or ten-thousandths of an inch.
    const std::int64_t per = inches ? kNanometresPerInch / 10'000 : 1'000;
    const int decimals = inches ? 4 : 3;
    const std::int64_t scale = inches ? 10'000 : 1'000;
    const bool negative = length < 0;
    const std::int64_t magnitude = negative ? -length : length;
    const std::int64_t units = (magnitude + per / 2) / per;
    std::string fraction = std::to_string(units % scale);
    fraction.insert(0, std::size_t(decimals) - fraction.size(), '0');
    std::string text = negative && units != 0 ? "-" : "";
    text += std::to_string(units / scale);
    text += '.';
    text += fraction;
    return text;
}

SpareList parseSpares(std::string_view text) {
    SpareList list;
    std::size_t at = 0;
    while (at < text.size()) {
        const auto separator = [](char c) {
            return c == ' ' || c == '\t' || c == ';';
        };
        while (at < text.size() && separator(text[at]))
            ++at;
        std::size_t end = at;
        while (end < text.size() && !separator(text[end]))
            ++end;
        if (end == at)
            break;
        const std::string_view item = text.substr(at, end - at);
        const std::optional<double> value = parseMeasurement(item);
        const std::optional<Nanometres> size =
            value ? lengthOf(*value, GapUnit::Millimetres) : std::nullopt;
        if (!size || *size <= 0) {
            list.sizes.clear();
            list.badItem = std::string(item);
            return list;
        }
        list.sizes.push_back(*size);
        at = end;
    }
    return list;
}

} // namespace clearmark
