#include "core/sheet_checks.h"

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <map>
#include <sstream>
#include <utility>
#include <vector>

namespace clearmark::checks {

namespace {

const ClearanceRange& rangeFor(const SheetInput& input, ValveKind kind) {
    return kind == ValveKind::Intake ? input.intake : input.exhaust;
}

bool within(const ClearanceRange& range, Nanometres gap) {
    return range.from <= gap && gap <= range.to;
}

bool inCatalogue(const ShimCatalogue& catalogue, Nanometres size) {
    return catalogue.step > 0 && catalogue.from <= size && size <= catalogue.to &&
           (size - catalogue.from) % catalogue.step == 0;
}

const char* nameOf(ShimSource source) {
    switch (source) {
    case ShimSource::Keep:
        return "Keep";
    case ShimSource::Removed:
        return "Removed";
    case ShimSource::Spare:
        return "Spare";
    case ShimSource::Bought:
        return "Bought";
    }
    return "?";
}

std::string join(const std::vector<Nanometres>& lengths) {
    std::ostringstream out;
    for (std::size_t i = 0; i < lengths.size(); ++i)
        out << (i ? ", " : "") << lengths[i];
    return out.str();
}

// Starts a message about one valve of the plan.
std::ostringstream aboutValve(std::size_t valve) {
    std::ostringstream out;
    out << "valve " << valve << ": ";
    return out;
}

} // namespace

bool reshimmed(const SheetInput& input, std::size_t valve) {
    const Valve& v = input.valves[valve];
    return !input.leaveInRangeAlone || !within(rangeFor(input, v.kind), v.gap);
}

std::string planFault(const SheetInput& input, const SheetPlan& plan) {
    const std::size_t count = input.valves.size();
    if (plan.valves.size() != count) {
        std::ostringstream out;
        out << "the plan has " << plan.valves.size() << " valves, the engine " << count;
        return out.str();
    }
    // Whether each removed shim (by its valve) and each spare has gone into a valve.
    std::vector<bool> removedUsed(count, false);
    std::vector<bool> spareUsed(input.spares.size(), false);
    std::vector<Nanometres> bought;
    for (std::size_t i = 0; i < count; ++i) {
        const Valve& valve = input.valves[i];
        const ValvePlan& p = plan.valves[i];
        const bool own = reshimmed(input, i);
        if (!own && p.source != ShimSource::Keep) {
            std::ostringstream out = aboutValve(i);
            out << "in range and left alone, yet its source is " << nameOf(p.source);
            return out.str();
        }
        switch (p.source) {
        case ShimSource::Keep:
            if (p.shim != valve.shim) {
                std::ostringstream out = aboutValve(i);
                out << "kept, but the shim is " << p.shim << " not its own " << valve.shim;
                return out.str();
            }
            if (p.from != 0) {
                std::ostringstream out = aboutValve(i);
                out << "kept, but from is " << p.from << " not 0";
                return out.str();
            }
            if (own) {
                if (removedUsed[i]) {
                    std::ostringstream out = aboutValve(i);
                    out << "keeps its shim, which another valve has taken as well";
                    return out.str();
                }
                removedUsed[i] = true;
            }
            break;
        case ShimSource::Removed: {
            const std::size_t j = p.from;
            if (j >= count) {
                std::ostringstream out = aboutValve(i);
                out << "takes the shim of valve " << j << ", beyond the engine's " << count;
                return out.str();
            }
            if (j == i) {
                std::ostringstream out = aboutValve(i);
                out << "takes its own shim as a removed one rather than keeping it";
                return out.str();
            }
            if (!reshimmed(input, j)) {
                std::ostringstream out = aboutValve(i);
                out << "takes the shim of valve " << j << ", which is not being re-shimmed";
                return out.str();
            }
            if (input.valves[j].shim != p.shim) {
                std::ostringstream out = aboutValve(i);
                out << "takes " << p.shim << " from valve " << j << ", whose shim is "
                    << input.valves[j].shim;
                return out.str();
            }
            if (removedUsed[j]) {
                std::ostringstream out = aboutValve(i);
                out << "takes the shim of valve " << j << ", which is used already";
                return out.str();
            }
            removedUsed[j] = true;
            break;
        }
        case ShimSource::Spare: {
            const std::size_t s = p.from;
            if (s >= input.spares.size()) {
                std::ostringstream out = aboutValve(i);
                out << "takes spare " << s << " of " << input.spares.size();
                return out.str();
            }
            if (input.spares[s] != p.shim) {
                std::ostringstream out = aboutValve(i);
                out << "takes " << p.shim << " as spare " << s << ", which is " << input.spares[s];
                return out.str();
            }
            if (spareUsed[s]) {
                std::ostringstream out = aboutValve(i);
                out << "takes spare " << s << ", which is used already";
                return out.str();
            }
            spareUsed[s] = true;
            break;
        }
        case ShimSource::Bought:
            if (!inCatalogue(input.catalogue, p.shim)) {
                std::ostringstream out = aboutValve(i);
                out << "buys " << p.shim << ", which is not a size of the catalogue";
                return out.str();
            }
            if (p.from != 0) {
                std::ostringstream out = aboutValve(i);
                out << "bought, but from is " << p.from << " not 0";
                return out.str();
            }
            bought.push_back(p.shim);
            break;
        default: {
            std::ostringstream out = aboutValve(i);
            out << "unknown source " << static_cast<int>(p.source);
            return out.str();
        }
        }
        const Nanometres newGap = valve.gap + valve.shim - p.shim;
        if (p.newGap != newGap) {
            std::ostringstream out = aboutValve(i);
            out << "new gap " << p.newGap << ", but " << valve.gap << " + " << valve.shim << " - "
                << p.shim << " = " << newGap;
            return out.str();
        }
        if (p.inRange != within(rangeFor(input, valve.kind), newGap)) {
            std::ostringstream out = aboutValve(i);
            out << "inRange is " << p.inRange << " for the new gap " << newGap;
            return out.str();
        }
    }

    std::sort(bought.begin(), bought.end());
    if (!std::is_sorted(plan.bought.begin(), plan.bought.end()))
        return "the shims to buy are not smallest first: " + join(plan.bought);
    if (plan.bought != bought)
        return "the shims to buy are " + join(plan.bought) + ", the valves take " + join(bought);

    std::vector<Nanometres> leftOver;
    for (std::size_t i = 0; i < count; ++i)
        if (reshimmed(input, i) && !removedUsed[i])
            leftOver.push_back(input.valves[i].shim);
    for (std::size_t s = 0; s < input.spares.size(); ++s)
        if (!spareUsed[s])
            leftOver.push_back(input.spares[s]);
    std::sort(leftOver.begin(), leftOver.end());
    if (!std::is_sorted(plan.leftOver.begin(), plan.leftOver.end()))
        return "the shims left over are not smallest first: " + join(plan.leftOver);
    if (plan.leftOver != leftOver)
        return "the shims left over are " + join(plan.leftOver) + ", but " + join(leftOver) +
               " are not used";
    return {};
}

std::string orderFault(const SheetInput& input, const SheetPlan& plan) {
    // For each size, the valve that took the last shim of it so far and where that shim
    // stands: removed shims by their valves' positions, then spares after every valve.
    std::map<Nanometres, std::pair<std::size_t, std::size_t>> last;
    for (std::size_t i = 0; i < plan.valves.size(); ++i) {
        const ValvePlan& p = plan.valves[i];
        if (p.source != ShimSource::Removed && p.source != ShimSource::Spare)
            continue;
        const std::size_t place =
            p.source == ShimSource::Removed ? p.from : input.valves.size() + p.from;
        const auto [before, first] = last.try_emplace(p.shim, i, place);
        if (!first && before->second.second > place) {
            std::ostringstream out = aboutValve(i);
            out << "takes the " << p.shim << " at " << place << ", but valve "
                << before->second.first << " before it took the one at " << before->second.second;
            return out.str();
        }
        before->second = {i, place};
    }
    return {};
}

PlanScore countScore(const SheetInput& input, const SheetPlan& plan) {
    PlanScore score;
    const std::size_t count = std::min(input.valves.size(), plan.valves.size());
    for (std::size_t i = 0; i < count; ++i) {
        const Valve& valve = input.valves[i];
        const ValvePlan& p = plan.valves[i];
        const ClearanceRange& range = rangeFor(input, valve.kind);
        const Nanometres newGap = valve.gap + valve.shim - p.shim;
        score.outOfRange += within(range, newGap) ? 0 : 1;
        // Below the range by from - newGap, above it by newGap - to; one of them is positive.
        score.miss += std::max<Nanometres>({range.from - newGap, newGap - range.to, 0});
        score.bought += p.source == ShimSource::Bought ? 1 : 0;
        score.changed += p.source == ShimSource::Keep ? 0 : 1;
        score.distance += std::abs(newGap - range.aim);
    }
    return score;
}

bool hasFault(const SheetInput& input, SheetFault fault) {
    const auto aimOutside = [](const ClearanceRange& r) {
        return !(r.from <= r.aim && r.aim <= r.to);
    };
    const auto tooLong = [](Nanometres length) {
        return length > kLongestLength || length < -kLongestLength;
    };
    const ShimCatalogue& c = input.catalogue;
    switch (fault) {
    case SheetFault::IntakeRangeReversed:
        return input.intake.from > input.intake.to;
    case SheetFault::ExhaustRangeReversed:
        return input.exhaust.from > input.exhaust.to;
    case SheetFault::IntakeAimOutside:
        return aimOutside(input.intake);
    case SheetFault::ExhaustAimOutside:
        return aimOutside(input.exhaust);
    case SheetFault::StepNotPositive:
        return c.step <= 0;
    case SheetFault::ShimsReversed:
        return c.from > c.to;
    case SheetFault::TooManySizes: {
        if (c.step <= 0 || c.from > c.to)
            return false;
        // The difference taken in unsigned arithmetic is exact for any from <= to.
        const std::uint64_t span =
            static_cast<std::uint64_t>(c.to) - static_cast<std::uint64_t>(c.from);
        return span / static_cast<std::uint64_t>(c.step) >= kMostShimSizes;
    }
    case SheetFault::TooManySpares:
        return input.spares.size() > kMostShimSizes;
    case SheetFault::TooManyValves:
        return input.valves.size() > kMostValves;
    case SheetFault::LengthTooLong: {
        for (const Valve& v : input.valves)
            if (tooLong(v.gap) || tooLong(v.shim))
                return true;
        for (const ClearanceRange* r : {&input.intake, &input.exhaust})
            if (tooLong(r->from) || tooLong(r->to) || tooLong(r->aim))
                return true;
        if (tooLong(c.from) || tooLong(c.to) || tooLong(c.step))
            return true;
        return std::any_of(input.spares.begin(), input.spares.end(), tooLong);
    }
    }
    return false;
}

bool hasAnyFault(const SheetInput& input) {
    for (SheetFault fault :
         {SheetFault::IntakeRangeReversed, SheetFault::ExhaustRangeReversed,
          SheetFault::IntakeAimOutside, SheetFault::ExhaustAimOutside, SheetFault::StepNotPositive,
          SheetFault::ShimsReversed, SheetFault::TooManySizes, SheetFault::TooManySpares,
          SheetFault::TooManyValves, SheetFault::LengthTooLong})
        if (hasFault(input, fault))
            return true;
    return false;
}

std::string describe(const SheetInput& input) {
    std::ostringstream out;
    const auto range = [&out](const ClearanceRange& r) {
        out << "{" << r.from << ", " << r.to << ", " << r.aim << "}";
    };
    out << "SheetInput{{";
    for (std::size_t i = 0; i < input.valves.size(); ++i) {
        const Valve& v = input.valves[i];
        out << (i ? ", " : "")
            << "{ValveKind::" << (v.kind == ValveKind::Intake ? "Intake" : "Exhaust") << ", "
            << v.gap << ", " << v.shim << "}";
    }
    out << "}, ";
    range(input.intake);
    out << ", ";
    range(input.exhaust);
    out << ", {" << input.catalogue.from << ", " << input.catalogue.to << ", "
        << input.catalogue.step << "}, {" << join(input.spares) << "}, "
        << (input.leaveInRangeAlone ? "true" : "false") << "}";
    return out.str();
}

std::string describe(const PlanScore& score) {
    std::ostringstream out;
    out << "{outOfRange " << score.outOfRange << ", miss " << score.miss << ", bought "
        << score.bought << ", changed " << score.changed << ", distance " << score.distance << "}";
    return out.str();
}

std::string describe(const SheetPlan& plan) {
    std::ostringstream out;
    for (std::size_t i = 0; i < plan.valves.size(); ++i) {
        const ValvePlan& p = plan.valves[i];
        out << "  valve " << i << ": " << nameOf(p.source) << " " << p.shim;
        if (p.source == ShimSource::Removed || p.source == ShimSource::Spare)
            out << " from " << p.from;
        out << ", new gap " << p.newGap << (p.inRange ? "" : " (out of range)") << "\n";
    }
    out << "  bought {" << join(plan.bought) << "}, left over {" << join(plan.leftOver) << "}";
    return out.str();
}

const char* nameOf(SheetFault fault) {
    switch (fault) {
    case SheetFault::IntakeRangeReversed:
        return "IntakeRangeReversed";
    case SheetFault::ExhaustRangeReversed:
        return "ExhaustRangeReversed";
    case SheetFault::IntakeAimOutside:
        return "IntakeAimOutside";
    case SheetFault::ExhaustAimOutside:
        return "ExhaustAimOutside";
    case SheetFault::StepNotPositive:
        return "StepNotPositive";
    case SheetFault::ShimsReversed:
        return "ShimsReversed";
    case SheetFault::TooManySizes:
        return "TooManySizes";
    case SheetFault::TooManySpares:
        return "TooManySpares";
    case SheetFault::TooManyValves:
        return "TooManyValves";
    case SheetFault::LengthTooLong:
        return "LengthTooLong";
    }
    return "?";
}

} // namespace clearmark::checks
