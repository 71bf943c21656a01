#pragma once

// The worked job as printed: the Triumph twin measured, planned and saved as t100.clearmark.
#include "sheet/job_page.h"

#include <variant>

namespace clearmark::testing_support {

inline sheet::PrintedJob workedJob() {
    sheet::PrintedJob printed;
    sheet::Job& job = printed.job;
    job.bike = "Triumph Bonneville T100";
    job.date = "2026-12-09";
    job.odometer = "24 310 km";
    for (const sheet::Setting& setting : sheet::kSettings)
        job.sheet.*setting.text = setting.initial;
    job.sheet.spares = "2.475";
    job.sheet.rows = {{"0.100", "2.450"}, {"0.180", "2.500"}, {"0.320", "2.400"},
                      {"0.240", "2.550"}, {"0.230", "2.375"}, {"0,150", "2.600"},
                      {"0.210", "2.450"}, {"0.280", "2.425"}};
    printed.valves = *sheet::valvesOf(job.sheet);
    job.plan = std::get<SheetPlan>(planSheet(std::get<SheetInput>(sheet::readSheet(job.sheet))));
    printed.fileName = "t100.clearmark";
    printed.printedOn = "2026-12-09";
    return printed;
}

} // namespace clearmark::testing_support
