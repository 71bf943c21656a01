#include "sheet/job.h"

#include <nlohmann/json.hpp>

#include <algorithm>
#include <cstdint>
#include <iterator>
#include <limits>
#include <utility>
#include <vector>

namespace clearmark::sheet {
namespace {

using Written = nlohmann::ordered_json;
using Read = nlohmann::json;

// The sheet's texts by their keys in the file, in the order they are written.
struct TextKey {
    const char* key;
    std::string SheetTexts::*text;
};
// clang-format off
constexpr TextKey kTextKeys[] = {
    {"cylinders",     &SheetTexts::cylinders},
    {"intakeValves",  &SheetTexts::intakeValves},
    {"exhaustValves", &SheetTexts::exhaustValves},
    {"intakeFrom",    &SheetTexts::intakeFrom},
    {"intakeTo",      &SheetTexts::intakeTo},
    {"intakeAim",     &SheetTexts::intakeAim},
    {"exhaustFrom",   &SheetTexts::exhaustFrom},
    {"exhaustTo",     &SheetTexts::exhaustTo},
    {"exhaustAim",    &SheetTexts::exhaustAim},
    {"shimsFrom",     &SheetTexts::shimsFrom},
    {"shimsTo",       &SheetTexts::shimsTo},
    {"shimStep",      &SheetTexts::shimStep},
    {"spares",        &SheetTexts::spares},
};
struct SourceName {
    ShimSource source;
    const char* name;
    bool hasFrom; // the valve or the spare it comes from
};
constexpr SourceName kSources[] = {
    {ShimSource::Keep,    "keep",    false},
    {ShimSource::Removed, "removed", true},
    {ShimSource::Spare,   "spare",   true},
    {ShimSource::Bought,  "bought",  false},
};
// clang-format on
static_assert(std::size(kTextKeys) == std::size(kSettings), "every text of the sheet is saved");

const SourceName& nameOf(ShimSource source) {
    return *std::find_if(std::begin(kSources), std::end(kSources),
                         [&](const SourceName& s) { return s.source == source; });
}

Written lengths(const std::vector<Nanometres>& sizes) {
    Written list = Written::array();
    for (const Nanometres size : sizes)
        list.push_back(size);
    return list;
}

Written planJson(const SheetPlan& plan) {
    Written valves = Written::array();
    for (const ValvePlan& valve : plan.valves) {
        const SourceName& source = nameOf(valve.source);
        Written entry;
        entry["source"] = source.name;
        if (source.hasFrom)
            entry["from"] = valve.from;
        entry["shim"] = valve.shim;
        entry["newGap"] = valve.newGap;
        entry["inRange"] = valve.inRange;
        valves.push_back(std::move(entry));
    }
    Written json;
    json["valves"] = std::move(valves);
    json["bought"] = lengths(plan.bought);
    json["leftOver"] = lengths(plan.leftOver);
    return json;
}

// Reading: a field missing or of another type damages the job.
struct Damaged {};

const Read& field(const Read& object, const char* key) {
    if (!object.is_object())
        throw Damaged{};
    const auto at = object.find(key);
    if (at == object.end())
        throw Damaged{};
    return *at;
}

std::string text(const Read& object, const char* key) {
    const Read& value = field(object, key);
    if (!value.is_string())
        throw Damaged{};
    return value.get<std::string>();
}

bool flag(const Read& object, const char* key) {
    const Read& value = field(object, key);
    if (!value.is_boolean())
        throw Damaged{};
    return value.get<bool>();
}

std::int64_t whole(const Read& value) {
    if (value.is_number_unsigned()) {
        if (value.get<std::uint64_t>() > std::uint64_t(std::numeric_limits<std::int64_t>::max()))
            throw Damaged{};
        return std::int64_t(value.get<std::uint64_t>());
    }
    if (!value.is_number_integer())
        throw Damaged{};
    return value.get<std::int64_t>();
}

const Read& list(const Read& object, const char* key) {
    const Read& value = field(object, key);
    if (!value.is_array())
        throw Damaged{};
    return value;
}

std::vector<Nanometres> lengthList(const Read& object, const char* key) {
    std::vector<Nanometres> sizes;
    for (const Read& size : list(object, key))
        sizes.push_back(whole(size));
    return sizes;
}

SheetTexts sheetOf(const Read& json) {
    SheetTexts sheet;
    for (const TextKey& key : kTextKeys)
        sheet.*key.text = text(json, key.key);
    sheet.leaveInRangeAlone = flag(json, "leaveInRangeAlone");
    const std::string unit = text(json, "unit");
    if (unit != "mm" && unit != "in")
        throw Damaged{};
    sheet.unit = unit == "mm" ? GapUnit::Millimetres : GapUnit::Inches;
    for (const Read& row : list(json, "rows"))
        sheet.rows.push_back({text(row, "gap"), text(row, "shim")});
    return sheet;
}

SheetPlan planOf(const Read& json) {
    SheetPlan plan;
    for (const Read& entry : list(json, "valves")) {
        const std::string name = text(entry, "source");
        const auto* const source =
            std::find_if(std::begin(kSources), std::end(kSources),
                         [&](const SourceName& s) { return name == s.name; });
        if (source == std::end(kSources) || source->hasFrom != entry.contains("from"))
            throw Damaged{};
        ValvePlan valve{source->source, whole(field(entry, "shim")), 0,
                        whole(field(entry, "newGap")), flag(entry, "inRange")};
        if (source->hasFrom) {
            const std::int64_t from = whole(field(entry, "from"));
            // An index past any list is damaged; one past this sheet's lists does not fit.
            if (from < 0 || from > std::int64_t(kLargestJob))
                throw Damaged{};
            valve.from = std::size_t(from);
        }
        plan.valves.push_back(valve);
    }
    plan.bought = lengthList(json, "bought");
    plan.leftOver = lengthList(json, "leftOver");
    return plan;
}

} // namespace

const char* faultText(JobFault fault) {
    switch (fault) {
    case JobFault::NotAJob:
        return "is not a Clearmark job";
    case JobFault::Damaged:
        return "is damaged";
    case JobFault::Newer:
        return "was written by a newer version of Clearmark";
    case JobFault::TooLarge:
        return "is larger than 1 MiB";
    case JobFault::PlanDoesNotFit:
        return "holds a plan that does not fit its sheet";
    }
    return "is damaged";
}

std::string writeJob(const Job& job) {
    Written sheet;
    for (const TextKey& key : kTextKeys)
        sheet[key.key] = job.sheet.*key.text;
    sheet["leaveInRangeAlone"] = job.sheet.leaveInRangeAlone;
    sheet["unit"] = job.sheet.unit == GapUnit::Millimetres ? "mm" : "in";
    Written rows = Written::array();
    for (const SheetTexts::Row& row : job.sheet.rows) {
        Written entry;
        entry["gap"] = row.gap;
        entry["shim"] = row.shim;
        rows.push_back(std::move(entry));
    }
    sheet["rows"] = std::move(rows);

    Written json;
    json["format"] = kJobFormat;
    json["version"] = kJobVersion;
    json["bike"] = job.bike;
    json["date"] = job.date;
    json["odometer"] = job.odometer;
    json["sheet"] = std::move(sheet);
    if (job.plan)
        json["plan"] = planJson(*job.plan);
    if (job.fitted)
        json["fitted"] = *job.fitted;
    return json.dump(2, ' ', false, nlohmann::json::error_handler_t::replace) + '\n';
}

std::variant<Job, JobFault> readJob(std::string_view bytes) {
    if (bytes.size() > kLargestJob)
        return JobFault::TooLarge;
    const Read json = Read::parse(bytes, nullptr, false);
    if (json.is_discarded()) {
        // Text that does not even begin as a JSON object is some other file.
        const std::size_t first = bytes.find_first_not_of(" \t\r\n");
        return first == std::string_view::npos || bytes[first] != '{' ? JobFault::NotAJob
                                                                      : JobFault::Damaged;
    }
    if (!json.is_object())
        return JobFault::NotAJob;
    const auto format = json.find("format");
    if (format == json.end() || !format->is_string() || *format != kJobFormat)
        return JobFault::NotAJob;
    try {
        const std::int64_t version = whole(field(json, "version"));
        if (version > kJobVersion)
            return JobFault::Newer;
        if (version < 1)
            return JobFault::Damaged;
        Job job;
        job.bike = text(json, "bike");
        job.date = text(json, "date");
        job.odometer = text(json, "odometer");
        job.sheet = sheetOf(field(json, "sheet"));
        if (json.contains("plan"))
            job.plan = planOf(field(json, "plan"));
        if (json.contains("fitted"))
            job.fitted = text(json, "fitted");
        if (job.plan && !planFits(job.sheet, *job.plan))
            return JobFault::PlanDoesNotFit;
        return job;
    } catch (const Damaged&) {
        return JobFault::Damaged;
    }
}

bool planFits(const SheetTexts& sheet, const SheetPlan& plan) {
    const auto read = readSheet(sheet);
    if (!std::holds_alternative<SheetInput>(read))
        return false;
    const auto& input = std::get<SheetInput>(read);
    const std::vector<Valve>& valves = input.valves;
    if (plan.valves.size() != valves.size())
        return false;
    const ShimCatalogue& shims = input.catalogue;
    std::vector<bool> removedTaken(valves.size(), false);
    std::vector<bool> spareTaken(input.spares.size(), false);
    std::vector<Nanometres> bought;
    for (std::size_t i = 0; i < valves.size(); ++i) {
        const ValvePlan& p = plan.valves[i];
        const Valve& valve = valves[i];
        Nanometres source = 0;
        switch (p.source) {
        case ShimSource::Keep:
            source = valve.shim;
            break;
        case ShimSource::Removed:
            if (p.from >= valves.size() || p.from == i || removedTaken[p.from] ||
                plan.valves[p.from].source == ShimSource::Keep)
                return false;
            removedTaken[p.from] = true;
            source = valves[p.from].shim;
            break;
        case ShimSource::Spare:
            if (p.from >= input.spares.size() || spareTaken[p.from])
                return false;
            spareTaken[p.from] = true;
            source = input.spares[p.from];
            break;
        case ShimSource::Bought:
            if (p.shim < shims.from || p.shim > shims.to || (p.shim - shims.from) % shims.step != 0)
                return false;
            source = p.shim;
            bought.push_back(p.shim);
            break;
        }
        if ((p.source == ShimSource::Keep || p.source == ShimSource::Bought) && p.from != 0)
            return false;
        if (p.shim != source || p.newGap != valve.gap + valve.shim - p.shim ||
            p.inRange != inRange(rangeOf(input, valve.kind), p.newGap))
            return false;
    }
    std::vector<Nanometres> leftOver;
    for (std::size_t i = 0; i < valves.size(); ++i)
        if (plan.valves[i].source != ShimSource::Keep && !removedTaken[i])
            leftOver.push_back(valves[i].shim);
    for (std::size_t i = 0; i < input.spares.size(); ++i)
        if (!spareTaken[i])
            leftOver.push_back(input.spares[i]);
    std::sort(bought.begin(), bought.end());
    std::sort(leftOver.begin(), leftOver.end());
    return bought == plan.bought && leftOver == plan.leftOver;
}

} // namespace clearmark::sheet
