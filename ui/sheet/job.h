#pragma once

// A job: the whole valve sheet saved to a file, so that an engine measured one day can be
// fitted days later. The file is JSON, the same bytes for the same job on every platform;
// reading it refuses, with words for the user, a file that is not a job, a damaged one, one
// from a newer version, one too large, and one whose plan does not fit its sheet.
#include "core/valve_sheet.h"
#include "sheet/sheet_reader.h"

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <variant>

namespace clearmark::sheet {

inline constexpr const char* kJobFormat = "clearmark-job";
inline constexpr int kJobVersion = 1;
inline constexpr std::size_t kLargestJob = std::size_t{1024} * 1024; // bytes

struct Job {
    std::string bike;
    std::string date;     // yyyy-mm-dd
    std::string odometer; // as typed
    SheetTexts sheet;
    std::optional<SheetPlan> plan;
    std::optional<std::string> fitted; // the date the shims were fitted, yyyy-mm-dd
    bool operator==(const Job&) const = default;
};

enum class JobFault {
    NotAJob,        // not JSON that names the job format
    Damaged,        // bad JSON, or a field missing or of the wrong type
    Newer,          // a version this one does not know
    TooLarge,       // over kLargestJob bytes
    PlanDoesNotFit, // a plan that is not one for the sheet's valves, shims and spares
};

// What the user is told, after the file's name: "is damaged".
const char* faultText(JobFault fault);

// The job as UTF-8 JSON: the format and its version first, keys in a fixed order, two spaces
// of indentation, LF line ends and a final newline. Bytes that are not UTF-8 in a text are
// written as U+FFFD.
std::string writeJob(const Job& job);

// The job a file holds, or what is wrong with it.
std::variant<Job, JobFault> readJob(std::string_view bytes);

// Whether the plan is one for the sheet: the sheet reads, the plan has one entry per valve,
// each shim comes from where it says (a removed shim from another valve that gives it up, at
// most once; a spare at most once; a catalogue size), the new gaps and ranges follow, and the
// bought and left-over lists are exactly what the entries make them.
bool planFits(const SheetTexts& sheet, const SheetPlan& plan);

} // namespace clearmark::sheet
