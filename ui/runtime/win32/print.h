#pragma once

// Printing on GDI: the page laid out for the paper a printer's device context reports and drawn
// on it in Arial, the face with Helvetica's widths that Windows has (Wine puts Liberation Sans,
// its metric twin, in its place). The drawing works on any device context, so that tests can
// read it back from an enhanced metafile.
#include "runtime/print.h"

#include <string>
#include <vector>
#include <windows.h>

namespace clearmark::runtime::win32 {

// What GetDeviceCaps reports of a printer's paper, in its dots.
struct PaperCaps {
    int physicalWidth = 0; // the paper; 0 on a device that is no printer
    int physicalHeight = 0;
    int offsetX = 0; // the printable area's corner, from the paper's
    int offsetY = 0;
    int printableWidth = 0; // HORZRES and VERTRES
    int printableHeight = 0;
    int dotsPerInchX = 0;
    int dotsPerInchY = 0;
};

PaperCaps paperCapsOf(HDC dc);
// The paper and printable area in points; a device that reports no paper (no printer) is
// taken to be all printable area.
PageArea areaOf(const PaperCaps& caps);

// Draws the page on the device context, `dotsPerPointX` and `dotsPerPointY` of its logical
// units a point. `origin` is the paper's point, in those units, at the device context's (0,0):
// a printer's (0,0) is the printable area's corner, not the paper's. An empty text draws
// nothing.
void drawPage(HDC dc, const Page& page, double dotsPerPointX, double dotsPerPointY, POINT origin);

// Lays the page out for the printer's paper and prints it as one document of that name.
PrintResult printOn(HDC printer, const std::string& documentName, const PageLayout& layout);

// The print dialog's failure, for the user: "no printer is set up" and the like.
std::string printDialogFailure(DWORD commDlgError);

// For tests (print_metafile.cpp, never in the program): the page drawn by drawPage on an
// enhanced metafile at that many dots an inch with the paper's `origin` at (0,0), its records
// read back in the order drawn, in those dots.
struct DrawnText {
    std::string text;   // UTF-8
    POINT reference{};  // the left end of the baseline
    int width = 0;      // the sum of the character advances given with the text
    int fontHeight = 0; // as the font was made: negative for the em height
    int weight = 0;
    std::wstring face;
};
struct DrawnLine {
    POINT from{};
    POINT to{};
    int penWidth = 0;
};
struct DrawnFill {
    RECT rect{};
    COLORREF colour = 0;
};
struct DrawnPage {
    std::vector<DrawnText> texts;
    std::vector<DrawnLine> lines;
    std::vector<DrawnFill> fills;
    int objectsNotDeleted = 0; // pens, brushes and fonts made and never deleted
};
DrawnPage drawOnMetafile(const Page& page, int dotsPerInch = 600, POINT origin = {0, 0});

} // namespace clearmark::runtime::win32
