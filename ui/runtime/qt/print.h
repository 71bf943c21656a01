#pragma once

// Printing on Qt Print Support: the page laid out for the paper a QPrinter reports and drawn on
// it. The print dialog's printer and a PDF file are both printed this way.
#include "runtime/print.h"

#include <string>

class QPrinter;

namespace clearmark::runtime::qt {

// The paper and printable area the printer reports, in points.
PageArea areaOf(const QPrinter& printer);

// Lays the page out for the printer's paper and draws it there.
PrintResult printOn(QPrinter& printer, const PageLayout& layout);

// Prints the page to a PDF file on paper of that size and printable area.
PrintResult printToPdf(const std::string& path, const PageArea& paper, const PageLayout& layout);

} // namespace clearmark::runtime::qt
