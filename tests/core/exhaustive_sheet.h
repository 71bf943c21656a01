#pragma once

// The best plan for a small engine by trying every plan: for each valve being re-shimmed in
// turn, its own shim, every removed shim and every spare not yet taken, and every size of the
// catalogue. It shares nothing with the planner but the types, to check it against.
//
// The search remembers, for each valve and each set of shims already taken, the best score
// of the valves after it, so that an assignment reached again by another order is not
// searched twice; every assignment is still weighed. It suits engines with at most 16
// removed and spare shims together and catalogues of a few hundred sizes.
#include "core/valve_sheet.h"

#include <algorithm>
#include <cassert>
#include <cstdint>
#include <cstdlib>
#include <optional>
#include <vector>

namespace clearmark::checks {

struct ExhaustiveBest {
    PlanScore score;
    SheetPlan plan; // one plan with that score
};

namespace exhaustive_detail {

inline PlanScore operator+(PlanScore a, const PlanScore& b) {
    a.outOfRange += b.outOfRange;
    a.miss += b.miss;
    a.bought += b.bought;
    a.changed += b.changed;
    a.distance += b.distance;
    return a;
}

class Search {
public:
    explicit Search(const SheetInput& input) : input_(input) {
        for (std::size_t i = 0; i < input.valves.size(); ++i) {
            const Valve& v = input.valves[i];
            if (!input.leaveInRangeAlone || !within(rangeFor(v.kind), v.gap))
                reshimmed_.push_back(i);
        }
        items_ = reshimmed_.size() + input.spares.size();
        assert(items_ <= 16);
        const ShimCatalogue& c = input.catalogue;
        if (c.step > 0)
            for (Nanometres size = c.from; size <= c.to; size += c.step)
                sizes_.push_back(size);
        memo_.assign((reshimmed_.size() + 1) << items_, std::nullopt);
    }

    ExhaustiveBest run() {
        ExhaustiveBest best;
        best.plan.valves.resize(input_.valves.size());
        // The valves left alone keep their shims whatever the others get.
        std::size_t next = 0;
        for (std::size_t i = 0; i < input_.valves.size(); ++i) {
            if (next < reshimmed_.size() && reshimmed_[next] == i) {
                ++next;
                continue;
            }
            best.plan.valves[i] = fitted(i, ShimSource::Keep, input_.valves[i].shim, 0);
            best.score = best.score + scoreOf(i, best.plan.valves[i]);
        }
        best.score = best.score + bestFrom(0, 0);

        // Follows the choices that give the best score, the first found of equal ones.
        std::uint32_t taken = 0;
        for (std::size_t k = 0; k < reshimmed_.size(); ++k) {
            const PlanScore rest = bestFrom(k, taken);
            bool found = false;
            forEachChoice(k, taken, [&](const ValvePlan& p, std::uint32_t after) {
                if (found)
                    return;
                const PlanScore here = scoreOf(reshimmed_[k], p);
                if (here + bestFrom(k + 1, after) == rest) {
                    found = true;
                    best.plan.valves[reshimmed_[k]] = p;
                    taken = after;
                }
            });
            assert(found);
        }
        for (const ValvePlan& p : best.plan.valves)
            if (p.source == ShimSource::Bought)
                best.plan.bought.push_back(p.shim);
        for (std::size_t item = 0; item < items_; ++item)
            if (!(taken & (1u << item)))
                best.plan.leftOver.push_back(shimOf(item));
        std::sort(best.plan.bought.begin(), best.plan.bought.end());
        std::sort(best.plan.leftOver.begin(), best.plan.leftOver.end());
        return best;
    }

private:
    const ClearanceRange& rangeFor(ValveKind kind) const {
        return kind == ValveKind::Intake ? input_.intake : input_.exhaust;
    }
    static bool within(const ClearanceRange& range, Nanometres gap) {
        return range.from <= gap && gap <= range.to;
    }

    // Items are the removed shims, in the order of reshimmed_, then the spares.
    Nanometres shimOf(std::size_t item) const {
        return item < reshimmed_.size() ? input_.valves[reshimmed_[item]].shim
                                        : input_.spares[item - reshimmed_.size()];
    }

    ValvePlan fitted(std::size_t valve, ShimSource source, Nanometres shim,
                     std::size_t from) const {
        const Valve& v = input_.valves[valve];
        const Nanometres newGap = v.gap + v.shim - shim;
        return {source, shim, from, newGap, within(rangeFor(v.kind), newGap)};
    }

    PlanScore scoreOf(std::size_t valve, const ValvePlan& p) const {
        PlanScore s;
        s.outOfRange = p.inRange ? 0 : 1;
        const ClearanceRange& range = rangeFor(input_.valves[valve].kind);
        s.miss = p.newGap < range.from ? range.from - p.newGap
                 : p.newGap > range.to ? p.newGap - range.to
                                       : 0;
        s.bought = p.source == ShimSource::Bought ? 1 : 0;
        s.changed = p.source == ShimSource::Keep ? 0 : 1;
        s.distance = std::abs(p.newGap - range.aim);
        return s;
    }

    // Calls f(plan of the k-th re-shimmed valve, shims taken afterwards) for every choice.
    template <typename F> void forEachChoice(std::size_t k, std::uint32_t taken, F&& f) const {
        const std::size_t valve = reshimmed_[k];
        for (std::size_t item = 0; item < items_; ++item) {
            const std::uint32_t bit = 1u << item;
            if (taken & bit)
                continue;
            if (item == k)
                f(fitted(valve, ShimSource::Keep, shimOf(item), 0), taken | bit);
            else if (item < reshimmed_.size())
                f(fitted(valve, ShimSource::Removed, shimOf(item), reshimmed_[item]), taken | bit);
            else
                f(fitted(valve, ShimSource::Spare, shimOf(item), item - reshimmed_.size()),
                  taken | bit);
        }
        for (Nanometres size : sizes_)
            f(fitted(valve, ShimSource::Bought, size, 0), taken);
    }

    // The best score of the re-shimmed valves from the k-th on, given the shims taken. There
    // is always a choice: the k valves before took at most k of the at least k + 1 shims.
    PlanScore bestFrom(std::size_t k, std::uint32_t taken) {
        if (k == reshimmed_.size())
            return {};
        const std::size_t slot = (k << items_) | taken;
        if (memo_[slot])
            return *memo_[slot];
        std::optional<PlanScore> best;
        forEachChoice(k, taken, [&](const ValvePlan& p, std::uint32_t after) {
            const PlanScore here = scoreOf(reshimmed_[k], p);
            const PlanScore total = here + bestFrom(k + 1, after);
            if (!best || total < *best)
                best = total;
        });
        assert(best);
        memo_[slot] = best;
        return *best;
    }

    const SheetInput& input_;
    std::vector<std::size_t> reshimmed_;
    std::size_t items_ = 0;
    std::vector<Nanometres> sizes_;
    std::vector<std::optional<PlanScore>> memo_;
};

} // namespace exhaustive_detail

// The input must be one the planner accepts, with few enough removed and spare shims.
inline ExhaustiveBest exhaustiveBest(const SheetInput& input) {
    return exhaustive_detail::Search(input).run();
}

} // namespace clearmark::checks
