#pragma once

// A printed page, computed once without any toolkit and drawn by each implementation: text
// runs, lines and rectangles in points (1/72 inch) from the paper's top left corner, laid out
// inside the printable area the printer reports. Every text is set in one sans-serif face whose
// widths the runtime knows (runtime/text_metrics.h), regular or bold.
#include <optional>
#include <string>
#include <vector>

namespace clearmark::runtime {

// The paper and the part of it the printer can print on, in points.
struct PageArea {
    double width = 0;
    double height = 0;
    double left = 0; // the printable area: from the paper's left edge
    double top = 0;
    double right = 0; // to these, from the paper's left and top edges
    double bottom = 0;
    friend bool operator==(const PageArea&, const PageArea&) = default;
};

// A4 and Letter with the quarter-inch margins most printers keep.
PageArea a4Paper();
PageArea letterPaper();

struct PageText {
    double x = 0;        // the left end of the text
    double baseline = 0; //
    double size = 10;    // in points
    bool bold = false;
    std::string text; // UTF-8
    friend bool operator==(const PageText&, const PageText&) = default;
};

struct PageLine {
    double x1 = 0;
    double y1 = 0;
    double x2 = 0;
    double y2 = 0;
    double width = 0.5; // the pen, in points
    friend bool operator==(const PageLine&, const PageLine&) = default;
};

// A filled rectangle, drawn before the lines and the texts.
struct PageFill {
    double x = 0;
    double y = 0;
    double width = 0;
    double height = 0;
    int grey = 230; // 0 black to 255 white
    friend bool operator==(const PageFill&, const PageFill&) = default;
};

struct Page {
    PageArea area;
    std::vector<PageFill> fills;
    std::vector<PageLine> lines;
    std::vector<PageText> texts; // in reading order
    friend bool operator==(const Page&, const Page&) = default;
};

} // namespace clearmark::runtime
