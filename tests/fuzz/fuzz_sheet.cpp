// The planner for the whole engine over any input: spares typed as any text, any number of
// valves up to past the limit, ranges and catalogues backwards, steps of zero, lengths past
// the longest. Every refusal names a fault the input has; every input without one gets a
// plan, and every plan is valid, scored as counted and, on engines small enough to search
// through, as good as the best, with equal shims handed out in valve order.
//
// The input: two bytes giving the length of the spares' text, that text, then the bytes
// the engine is built from (zeros once they run out).
#include "core/exhaustive_sheet.h"
#include "core/sheet_checks.h"
#include "core/valve_sheet.h"

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <limits>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

namespace {

using clearmark::Nanometres;
using clearmark::SheetInput;
namespace checks = clearmark::checks;

constexpr Nanometres um(std::int64_t micrometres) {
    return micrometres * 1000;
}

// Sums that wrap rather than overflow: any int64 may come from the input.
Nanometres plus(Nanometres a, Nanometres b) {
    return static_cast<Nanometres>(static_cast<std::uint64_t>(a) + static_cast<std::uint64_t>(b));
}
Nanometres times(Nanometres a, std::int64_t b) {
    return static_cast<Nanometres>(static_cast<std::uint64_t>(a) * static_cast<std::uint64_t>(b));
}

class Bytes {
public:
    Bytes(const std::uint8_t* data, std::size_t size) : data_(data), size_(size) {}

    std::uint8_t byte() { return at_ < size_ ? data_[at_++] : 0; }
    std::int8_t signedByte() { return static_cast<std::int8_t>(byte()); }
    // Each read a statement of its own, so that the order of the bytes is fixed.
    std::uint16_t word() {
        const std::uint16_t low = byte();
        return static_cast<std::uint16_t>(low | byte() << 8);
    }
    std::int64_t any() {
        std::uint64_t value = 0;
        for (int i = 0; i < 8; ++i)
            value = value << 8 | byte();
        return static_cast<std::int64_t>(value);
    }

    // A length near a typical one, mostly on the grids of the workshop, now and then not.
    Nanometres near(Nanometres typical) {
        switch (byte() % 16) {
        case 10:
            return plus(typical, static_cast<std::int16_t>(word()));
        case 11:
            return any();
        case 12: { // at the longest length either way, or just past it
            const Nanometres longest = (byte() & 1 ? 1 : -1) * clearmark::kLongestLength;
            return longest + signedByte() % 3;
        }
        case 13:
            return 0;
        case 14: // the typical length the other way (the most negative one has no opposite)
            return typical == std::numeric_limits<Nanometres>::min()
                       ? std::numeric_limits<Nanometres>::max()
                       : -typical;
        case 15:
            return plus(typical, um(25) * signedByte());
        default:
            return plus(typical, um(5) * signedByte());
        }
    }

    // A range, mostly the right way round with its aim inside.
    clearmark::ClearanceRange range(Nanometres typicalFrom) {
        clearmark::ClearanceRange r;
        r.from = near(typicalFrom);
        const std::uint8_t shape = byte();
        r.to = shape % 8 == 0 ? near(plus(typicalFrom, um(50)))
                              : plus(r.from, um(5) * (shape / 8 % 16) + (shape & 0x80 ? 1 : 0));
        switch (byte() % 6) {
        case 0:
            r.aim = r.from;
            break;
        case 1:
            r.aim = r.to;
            break;
        case 2:
            r.aim = near(plus(typicalFrom, um(25)));
            break;
        default:
            r.aim = plus(r.from, static_cast<Nanometres>((static_cast<std::uint64_t>(r.to) -
                                                          static_cast<std::uint64_t>(r.from)) /
                                                         2));
            break;
        }
        return r;
    }

    clearmark::ShimCatalogue catalogue() {
        static constexpr Nanometres steps[] = {um(5), um(10), um(20), um(25), um(50)};
        clearmark::ShimCatalogue c;
        c.from = near(um(2000));
        switch (byte() % 10) {
        case 0:
            c.step = 0;
            break;
        case 1:
            c.step = -um(1) * (1 + byte());
            break;
        case 2:
            c.step = 1 + byte(); // a few nanometres: far too many sizes unless short
            break;
        case 3:
            c.step = clearmark::kLongestLength + signedByte();
            break;
        case 4:
            c.step = any();
            break;
        default:
            c.step = steps[byte() % 5];
            break;
        }
        switch (byte() % 6) {
        case 0:
            c.to = plus(c.from, times(c.step, word())); // often past the most sizes
            break;
        case 1:
            c.to = near(um(3200));
            break;
        case 2:
            c.to = plus(c.from, -static_cast<Nanometres>(byte())); // backwards, or one size
            break;
        default:
            c.to = plus(c.from, times(c.step, byte() % 64));
            c.to = plus(c.to, byte() % 4); // now and then between two sizes
            break;
        }
        return c;
    }

private:
    const std::uint8_t* data_;
    std::size_t size_;
    std::size_t at_ = 0;
};

SheetInput engine(Bytes& bytes, const std::vector<Nanometres>& typed) {
    SheetInput input;
    const std::uint8_t flags = bytes.byte();
    input.leaveInRangeAlone = flags & 1;
    input.intake = bytes.range(um(150));
    input.exhaust = bytes.range(um(250));
    input.catalogue = bytes.catalogue();
    const clearmark::ShimCatalogue& c = input.catalogue;
    // The typed spares, now and then many times over.
    const int copies = flags & 2 ? 1 + bytes.byte() : 1;
    for (int i = 0; i < copies && input.spares.size() <= clearmark::kMostShimSizes; ++i)
        input.spares.insert(input.spares.end(), typed.begin(), typed.end());

    const std::size_t valves = bytes.byte() % 31;
    for (std::size_t i = 0; i < valves; ++i) {
        clearmark::Valve v;
        const std::uint8_t how = bytes.byte();
        v.kind = how & 1 ? clearmark::ValveKind::Exhaust : clearmark::ValveKind::Intake;
        const clearmark::ClearanceRange& r =
            v.kind == clearmark::ValveKind::Intake ? input.intake : input.exhaust;
        switch (how / 2 % 4) { // a size of the catalogue, a spare, or another
        case 0:
            v.shim = plus(c.from, times(c.step, bytes.byte() % 16));
            break;
        case 1:
            v.shim =
                input.spares.empty() ? c.from : input.spares[bytes.byte() % input.spares.size()];
            break;
        default:
            v.shim = bytes.near(um(2500));
            break;
        }
        switch (how / 8 % 4) { // an end of the range, just past one, or anywhere
        case 0:
            v.gap = how & 0x80 ? r.from : r.to;
            break;
        case 1:
            v.gap = how & 0x80 ? plus(r.from, -1) : plus(r.to, 1);
            break;
        default:
            v.gap = bytes.near(r.aim);
            break;
        }
        input.valves.push_back(v);
    }
    // Spares that match a valve's shim, to be weighed against it.
    if (flags & 4)
        for (const clearmark::Valve& v : input.valves)
            if (bytes.byte() & 1)
                input.spares.push_back(plus(v.shim, um(5) * (bytes.byte() % 3)));
    return input;
}

[[noreturn]] void fail(const SheetInput& input, const std::string& what) {
    std::fprintf(stderr, "%s\n%s\n", checks::describe(input).c_str(), what.c_str());
    __builtin_trap();
}

// Small enough for the exhaustive search: few shims to hand round, few sizes to buy.
bool searchable(const SheetInput& input) {
    std::size_t items = input.spares.size();
    for (std::size_t i = 0; i < input.valves.size(); ++i)
        items += checks::reshimmed(input, i) ? 1 : 0;
    const clearmark::ShimCatalogue& c = input.catalogue;
    return items <= 8 && (c.to - c.from) / c.step < 40;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    Bytes head(data, size);
    const std::size_t textLength = std::min<std::size_t>(head.word(), size < 2 ? 0 : size - 2);
    const std::string_view text(reinterpret_cast<const char*>(data) + (size < 2 ? size : 2),
                                textLength);
    const clearmark::SpareList typed = clearmark::parseSpares(text);
    const std::size_t used = std::min(size, 2 + textLength);
    Bytes bytes(data + used, size - used);
    const SheetInput input = engine(bytes, typed.sizes);

    const auto result = clearmark::planSheet(input);
    if (const auto* fault = std::get_if<clearmark::SheetFault>(&result)) {
        if (!checks::hasFault(input, *fault))
            fail(input, std::string("refused with ") + checks::nameOf(*fault) +
                            ", which the input does not have");
        return 0;
    }
    if (checks::hasAnyFault(input))
        fail(input, "planned an input the planner must refuse");
    const clearmark::SheetPlan& plan = std::get<clearmark::SheetPlan>(result);
    const std::string fault = checks::planFault(input, plan);
    if (!fault.empty())
        fail(input, "invalid plan: " + fault + "\n" + checks::describe(plan));
    const std::string order = checks::orderFault(input, plan);
    if (!order.empty())
        fail(input, "equal shims out of order: " + order + "\n" + checks::describe(plan));
    const clearmark::PlanScore counted = checks::countScore(input, plan);
    if (clearmark::scoreOf(input, plan) != counted)
        fail(input, "scoreOf disagrees with the count " + checks::describe(counted));
    if (searchable(input)) {
        const checks::ExhaustiveBest best = checks::exhaustiveBest(input);
        if (best.score != counted)
            fail(input, "the plan scores " + checks::describe(counted) + ", the best is " +
                            checks::describe(best.score) + "\n" + checks::describe(plan));
    }
    return 0;
}
