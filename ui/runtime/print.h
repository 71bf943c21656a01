#pragma once

// Printing one page: the platform's print dialog, modal for the whole program like a box, then
// the page laid out for the paper the user chose and drawn on the printer.
#include "runtime/page.h"

#include <functional>
#include <string>

namespace clearmark::runtime {

enum class PrintOutcome { Printed, Cancelled, Failed };

struct PrintResult {
    PrintOutcome outcome = PrintOutcome::Cancelled;
    std::string reason; // why a print failed, for the user
    friend bool operator==(const PrintResult&, const PrintResult&) = default;
};

// The page for the paper the printer reports.
using PageLayout = std::function<Page(const PageArea& area)>;
using PrintThen = std::function<void(const PrintResult& result)>;

// Puts the print dialog before the user (msgBoxOpen() is true while it is open); when the user
// prints, lays the page out for the chosen paper and prints it, then runs `then` as a handler
// of its own. A cancelled dialog prints nothing.
void printPage(const std::string& documentName, const PageLayout& layout, PrintThen then);

// The seam for tests: while installed it stands for the dialog and the printer both.
using PrintPresenter =
    std::function<PrintResult(const std::string& documentName, const PageLayout& layout)>;
PrintPresenter setPrintPresenter(PrintPresenter next);

} // namespace clearmark::runtime
