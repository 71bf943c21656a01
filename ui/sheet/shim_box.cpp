#include "sheet/shim_box.h"

#include "runtime/platform/storage.h"

#include <nlohmann/json.hpp>

#include <algorithm>
#include <cstdint>
#include <variant>

namespace clearmark::sheet {
namespace {

using Written = nlohmann::ordered_json;
using Read = nlohmann::json;

// How many names a damaged box may be kept under on one day.
constexpr int kMostAsideNames = 100;

// Why the box's bytes are not a box, as the user is told it in brackets.
enum class BoxFault { NotABox, Damaged, Newer, TooLarge };

const char* faultText(BoxFault fault) {
    switch (fault) {
    case BoxFault::NotABox:
        return "it is not a Clearmark shim box";
    case BoxFault::Damaged:
        return "it is damaged";
    case BoxFault::Newer:
        return "it was written by a newer version of Clearmark";
    case BoxFault::TooLarge:
        return "it is larger than 256 KiB";
    }
    return "it is damaged";
}

// A list of shims the box can hold: every item a size, and no more of them than the sheet
// takes as spares.
bool holdable(const SpareList& list) {
    return !list.badItem && list.sizes.size() <= kMostShimSizes;
}

std::variant<std::string, BoxFault> boxText(std::string_view bytes) {
    if (bytes.size() > kLargestShimBox)
        return BoxFault::TooLarge;
    const Read json = Read::parse(bytes, nullptr, false);
    if (json.is_discarded()) {
        // Text that does not even begin as a JSON object is some other file.
        const std::size_t first = bytes.find_first_not_of(" \t\r\n");
        return first == std::string_view::npos || bytes[first] != '{' ? BoxFault::NotABox
                                                                      : BoxFault::Damaged;
    }
    if (!json.is_object())
        return BoxFault::NotABox;
    const auto format = json.find("format");
    if (format == json.end() || !format->is_string() || *format != kShimBoxFormat)
        return BoxFault::NotABox;
    const auto version = json.find("version");
    if (version == json.end() || !version->is_number_integer())
        return BoxFault::Damaged;
    // The reader keeps a number of no sign as unsigned.
    if (version->is_number_unsigned()
            ? version->get<std::uint64_t>() > std::uint64_t(kShimBoxVersion)
            : version->get<std::int64_t>() > kShimBoxVersion)
        return BoxFault::Newer;
    if (version->get<std::int64_t>() < 1)
        return BoxFault::Damaged;
    const auto shims = json.find("shims");
    if (shims == json.end() || !shims->is_string())
        return BoxFault::Damaged;
    std::string text = shims->get<std::string>();
    if (!holdable(parseSpares(text)))
        return BoxFault::Damaged;
    return text;
}

// Renames the unreadable box to the first free name of the day; what the user is told.
std::string putAside(const std::string& folder, const std::string& path, const std::string& why) {
    platform::Storage& storage = platform::storage();
    const std::string base = "shim-box-damaged-" + storage.today();
    const std::string unread = "The shim box file " + path + " could not be read (" + why + ")";
    std::string reason;
    std::string aside;
    for (int n = 1; n <= kMostAsideNames && reason.empty(); ++n) {
        aside = platform::pathIn(folder, base + (n > 1 ? "-" + std::to_string(n) : "") + ".json");
        if (storage.exists(aside)) {
            if (n == kMostAsideNames)
                reason = "every name up to " + platform::fileNameOf(aside) + " is taken";
            continue;
        }
        const std::optional<platform::FileFailure> failure = storage.moveAside(path, aside);
        if (!failure)
            break;
        reason = failure->reason;
    }
    if (reason.empty())
        return unread + "; it was kept as " + aside + " and the box starts empty.";
    return unread + " and could not be kept as " + aside + " (" + reason +
           "); it was left as it is, the box starts empty and is not saved over it.";
}

// "2.475", "2.4755": whole millimetres and as many decimals as the size needs, three or more.
std::string exactSize(Nanometres size) {
    const Nanometres magnitude = size < 0 ? -size : size;
    std::string fraction = std::to_string(magnitude % kNanometresPerMillimetre);
    fraction.insert(0, 6 - fraction.size(), '0');
    while (fraction.size() > 3 && fraction.back() == '0')
        fraction.pop_back();
    return (size < 0 ? "-" : "") + std::to_string(magnitude / kNanometresPerMillimetre) + "." +
           fraction;
}

static_assert(kMostShimSizes == 2000, "the box's words name the most it holds");
constexpr const char* kTooMany = "more than 2,000 shims";

} // namespace

ShimBoxRead readShimBox() {
    platform::Storage& storage = platform::storage();
    const auto folder = storage.dataFolder();
    if (const auto* failure = std::get_if<platform::FileFailure>(&folder))
        return {"",
                "The shim box could not be read (" + failure->reason + "); the box starts empty."};
    const auto& at = std::get<std::string>(folder);
    const std::string path = platform::pathIn(at, kShimBoxFile);
    if (!storage.exists(path))
        return {};
    const auto bytes = storage.read(path, kLargestShimBox);
    std::string why;
    if (const auto* failure = std::get_if<platform::FileFailure>(&bytes)) {
        why = failure->reason;
    } else {
        const auto text = boxText(std::get<std::string>(bytes));
        if (const auto* read = std::get_if<std::string>(&text))
            return {*read, std::nullopt};
        why = faultText(std::get<BoxFault>(text));
    }
    return {"", putAside(at, path, why)};
}

std::string writeShimBoxBytes(std::string_view text) {
    Written json;
    json["format"] = kShimBoxFormat;
    json["version"] = kShimBoxVersion;
    json["shims"] = std::string(text);
    return json.dump(2, ' ', false, nlohmann::json::error_handler_t::replace) + '\n';
}

std::optional<std::string> saveShimBox(const std::string& text) {
    const std::string notSaved = "The shim box was not saved: ";
    const SpareList list = parseSpares(text);
    if (list.badItem)
        return notSaved + *list.badItem + " is not a shim size.";
    if (!holdable(list))
        return notSaved + "it holds " + kTooMany + ".";
    platform::Storage& storage = platform::storage();
    const auto folder = storage.dataFolder();
    if (const auto* failure = std::get_if<platform::FileFailure>(&folder))
        return notSaved + failure->reason + ".";
    const std::string path = platform::pathIn(std::get<std::string>(folder), kShimBoxFile);
    // A file that is no box (one that could not be put aside) is never written over.
    if (storage.exists(path)) {
        const auto bytes = storage.read(path, kLargestShimBox);
        const auto* old = std::get_if<std::string>(&bytes);
        if (old == nullptr || !std::holds_alternative<std::string>(boxText(*old)))
            return notSaved + path + " could not be read and is left as it is.";
    }
    if (const auto failure = storage.write(path, writeShimBoxBytes(text)))
        return notSaved + failure->reason + ".";
    return std::nullopt;
}

std::vector<CountedSize> countedBySize(const std::vector<Nanometres>& sorted) {
    std::vector<CountedSize> counted;
    for (std::size_t i = 0; i < sorted.size();) {
        std::size_t same = i;
        while (same < sorted.size() && sorted[same] == sorted[i])
            ++same;
        counted.push_back({same - i, std::to_string(same - i) + " \u00d7 " +
                                         formatLength(sorted[i], GapUnit::Millimetres)});
        i = same;
    }
    return counted;
}

std::string countedSizes(const std::vector<Nanometres>& sorted) {
    std::string text;
    for (const CountedSize& size : countedBySize(sorted))
        text += (text.empty() ? "" : ", ") + size.text;
    return text.empty() ? "nothing" : text;
}

std::string countedShims(std::vector<Nanometres> sizes) {
    if (sizes.empty())
        return "No shims";
    std::sort(sizes.begin(), sizes.end());
    return std::to_string(sizes.size()) + (sizes.size() == 1 ? " shim: " : " shims: ") +
           countedSizes(sizes);
}

std::string countedText(std::string_view text) {
    const SpareList list = parseSpares(text);
    if (list.badItem)
        return *list.badItem + " is not a shim size";
    if (!holdable(list))
        return "M" + std::string(kTooMany + 1);
    return countedShims(list.sizes);
}

std::string shimsText(const std::vector<Nanometres>& sizes) {
    std::string text;
    for (const Nanometres size : sizes)
        text += (text.empty() ? "" : " ") + exactSize(size);
    return text;
}

BoxAfterFitting boxAfterFitting(const std::vector<Nanometres>& box, const SheetInput& input,
                                const SheetPlan& plan) {
    BoxAfterFitting after{box, {}};
    std::sort(after.box.begin(), after.box.end());
    std::vector<bool> taken(input.valves.size(), false);
    for (const ValvePlan& valve : plan.valves) {
        if (valve.source == ShimSource::Removed && valve.from < taken.size())
            taken[valve.from] = true;
        if (valve.source != ShimSource::Spare || valve.from >= input.spares.size())
            continue;
        const Nanometres size = input.spares[valve.from];
        const auto found = std::lower_bound(after.box.begin(), after.box.end(), size);
        if (found != after.box.end() && *found == size)
            after.box.erase(found);
        else
            after.missing.push_back(size);
    }
    // A valve that gives up its shim to no other valve puts it in the box; a valve fitted
    // without a shim gives none.
    for (std::size_t i = 0; i < plan.valves.size() && i < input.valves.size(); ++i)
        if (plan.valves[i].source != ShimSource::Keep && !taken[i] && input.valves[i].shim > 0)
            after.box.push_back(input.valves[i].shim);
    std::sort(after.box.begin(), after.box.end());
    std::sort(after.missing.begin(), after.missing.end());
    return after;
}

std::string fittingMessage(const BoxAfterFitting& result) {
    std::string text = result.box.empty()
                           ? "The shim box is now empty."
                           : "The shim box now holds " + countedShims(result.box) + ".";
    if (!result.missing.empty())
        text +=
            "\nThe plan used spares the shim box did not hold: " + countedSizes(result.missing) +
            ".";
    return text;
}

} // namespace clearmark::sheet
