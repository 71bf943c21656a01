#pragma once

// What any plan for a whole engine must satisfy, worked out from the input alone, without
// the planner's own helpers: shared by the property test and the fuzzer.
#include "core/valve_sheet.h"

#include <string>

namespace clearmark::checks {

// Whether a valve is re-shimmed: every valve, or with leaveInRangeAlone only those out of
// range. The shims of these valves are the removed shims the plan may hand round.
bool reshimmed(const SheetInput& input, std::size_t valve);

// Empty when the plan is a valid plan for the input; otherwise the first fault found.
std::string planFault(const SheetInput& input, const SheetPlan& plan);

// Empty when shims of one size go to the valves taking that size in valve order: the earlier
// valve takes the earlier shim, removed shims (by their valves) before spares (as typed).
// Otherwise the first pair out of order. The plan must be valid.
std::string orderFault(const SheetInput& input, const SheetPlan& plan);

// The score counted from the shims the plan fits (not from its newGap or inRange fields).
PlanScore countScore(const SheetInput& input, const SheetPlan& plan);

// Whether the input has the fault, by the planner's limits.
bool hasFault(const SheetInput& input, SheetFault fault);
// Whether it has any of them, so that the planner must refuse it.
bool hasAnyFault(const SheetInput& input);

// Readable forms for failure messages: the input as C++ that builds it again.
std::string describe(const SheetInput& input);
std::string describe(const PlanScore& score);
std::string describe(const SheetPlan& plan);
const char* nameOf(SheetFault fault);

} // namespace clearmark::checks
