#pragma once

// The job sheet on paper: one portrait page laid out without any toolkit, for the printable
// area the printer reports. The plan page is what the bench works from: the job, the ranges,
// one ruled row per valve with its gap, shim, plan and new gap and an empty column for the gap
// measured again after fitting, then what to buy, what is left over and the spares. The blank
// page is the same form for the engine as set, with empty cells to write the measuring in.
#include "core/valve_sheet.h"
#include "runtime/page.h"
#include "sheet/job.h"
#include "sheet/sheet_reader.h"

#include <string>
#include <vector>

namespace clearmark::sheet {

enum class PageKind { Plan, Blank };

struct PrintedJob {
    Job job;                       // the plan page prints job.plan, which is for job.sheet
    std::vector<ValveName> valves; // the engine's valves, in the sheet's order
    std::string fileName;          // the job's file name; "" when it was never saved
    std::string printedOn;         // yyyy-mm-dd
};

// The table's text is never smaller than this, so the page reads at arm's length.
inline constexpr double kSmallestTableText = 10;

runtime::Page jobPage(const PrintedJob& printed, PageKind kind, const runtime::PageArea& area);

// A valve's plan as the sheet shows it: "keep", "fit 2.525 from cylinder 1 exhaust 2",
// "fit 2.525 spare", "buy 2.525".
std::string planText(const ValvePlan& valve, const std::vector<ValveName>& valves);
// Its new gap: "0.175", "0.350 out of range".
std::string newGapText(const ValvePlan& valve, GapUnit unit);

// Sizes counted by size, smallest first ("2 × 2.525", as countedSizes writes them), set on at
// most `lines` lines of the width at that size; what does not fit ends the last line as
// "… and 12 more", counting the shims not shown. "nothing" for no sizes.
std::vector<std::string> countedLines(const std::vector<Nanometres>& sizes, double textSize,
                                      double width, std::size_t lines);

} // namespace clearmark::sheet
