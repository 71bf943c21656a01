// The Win32 implementation's printing: the page drawn with GDI, read back from an enhanced
// metafile, and the printer's paper in points.
#include "runtime/text_metrics.h"
#include "runtime/win32/print.h"
#include "ui/sheet/worked_job.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>

namespace clearmark {
namespace {

namespace win32 = runtime::win32;
using runtime::Page;
using runtime::PageArea;

// A page like a job sheet's: headings in bold, figures with "×" and "…", rules of two widths
// and a hairline, shaded rows.
Page samplePage() {
    Page page;
    page.area = runtime::a4Paper();
    page.fills = {{18, 100, 559.276, 14, 230}, {18, 142, 559.276, 14, 200}};
    page.lines = {{18, 96, 577.276, 96, 1.0},
                  {18, 114, 577.276, 114, 0.5},
                  {300.5, 96, 300.5, 160, 0.5},
                  {18, 160, 577.276, 160, 0.05}};
    page.texts = {{18, 40, 16, true, "Valve clearances"},
                  {18, 60, 9, false, "Kawasaki ZX-6R × 2, 4 valves…"},
                  {22, 110, 10, true, "Cyl"},
                  {304.5, 110, 10, false, "0.15–0.24 mm"},
                  {22, 124, 8.5, false, "Intake … exhaust"},
                  {304.5, 152.25, 7, true, "2.725 × 2"},
                  {18, 820, 6, false, "Printed 9 Dec 2026"}};
    return page;
}

int dotsOf(double points, int dpi) {
    return int(std::lround(points * dpi / 72.0));
}

// A resolution, and where the device context's (0,0) lies on the paper in its dots: a printer's
// is the printable area's corner.
struct Device {
    int dpi;
    POINT origin;
};

class Win32PrintDrawing : public testing::TestWithParam<Device> {};

TEST_P(Win32PrintDrawing, EveryTextInOrderWhereTheLayoutPutsIt) {
    const auto [dpi, origin] = GetParam();
    const Page page = samplePage();
    const win32::DrawnPage drawn = win32::drawOnMetafile(page, dpi, origin);
    ASSERT_EQ(drawn.texts.size(), page.texts.size());
    for (std::size_t i = 0; i < page.texts.size(); ++i) {
        const runtime::PageText& text = page.texts[i];
        const win32::DrawnText& got = drawn.texts[i];
        SCOPED_TRACE(text.text);
        EXPECT_EQ(got.text, text.text);
        EXPECT_NEAR(got.reference.x, dotsOf(text.x, dpi) - origin.x, 1);
        EXPECT_NEAR(got.reference.y, dotsOf(text.baseline, dpi) - origin.y, 1);
        // The characters' advances add up to the width the layout measured.
        EXPECT_NEAR(got.width, dotsOf(runtime::textWidth(text.text, text.size, text.bold), dpi), 1);
        EXPECT_EQ(got.fontHeight, -dotsOf(text.size, dpi)); // the em height
        EXPECT_EQ(got.weight >= FW_BOLD, text.bold) << got.weight;
        EXPECT_EQ(got.face, L"Arial");
    }
}

TEST_P(Win32PrintDrawing, LinesAndFillsWhereTheLayoutPutsThem) {
    const auto [dpi, origin] = GetParam();
    const Page page = samplePage();
    const win32::DrawnPage drawn = win32::drawOnMetafile(page, dpi, origin);
    ASSERT_EQ(drawn.lines.size(), page.lines.size());
    for (std::size_t i = 0; i < page.lines.size(); ++i) {
        const runtime::PageLine& line = page.lines[i];
        const win32::DrawnLine& got = drawn.lines[i];
        SCOPED_TRACE(i);
        EXPECT_NEAR(got.from.x, dotsOf(line.x1, dpi) - origin.x, 1);
        EXPECT_NEAR(got.from.y, dotsOf(line.y1, dpi) - origin.y, 1);
        EXPECT_NEAR(got.to.x, dotsOf(line.x2, dpi) - origin.x, 1);
        EXPECT_NEAR(got.to.y, dotsOf(line.y2, dpi) - origin.y, 1);
        EXPECT_EQ(got.penWidth, std::max(1, dotsOf(line.width, dpi))); // a hairline is a dot
    }
    ASSERT_EQ(drawn.fills.size(), page.fills.size());
    for (std::size_t i = 0; i < page.fills.size(); ++i) {
        const runtime::PageFill& fill = page.fills[i];
        const RECT& got = drawn.fills[i].rect;
        SCOPED_TRACE(i);
        EXPECT_NEAR(got.left, dotsOf(fill.x, dpi) - origin.x, 1);
        EXPECT_NEAR(got.top, dotsOf(fill.y, dpi) - origin.y, 1);
        EXPECT_NEAR(got.right, dotsOf(fill.x + fill.width, dpi) - origin.x, 1);
        EXPECT_NEAR(got.bottom, dotsOf(fill.y + fill.height, dpi) - origin.y, 1);
        EXPECT_EQ(drawn.fills[i].colour, RGB(fill.grey, fill.grey, fill.grey));
    }
    EXPECT_EQ(drawn.objectsNotDeleted, 0);
}

// Printers' resolutions and the screen's; a printer whose printable area starts a sixth of an
// inch from the paper's left edge and a quarter from its top.
INSTANTIATE_TEST_SUITE_P(Devices, Win32PrintDrawing,
                         testing::Values(Device{600, {0, 0}}, Device{300, {0, 0}},
                                         Device{96, {0, 0}}, Device{600, {100, 150}}));

// The job sheet itself, with its plan and blank, reads back from the metafile whole and in the
// order it is read, every text inside the printable area.
TEST(Win32PrintDrawing, TheJobSheetReadsBackInOrder) {
    for (const auto kind : {sheet::PageKind::Plan, sheet::PageKind::Blank}) {
        const Page page =
            sheet::jobPage(testing_support::workedJob(), kind, runtime::letterPaper());
        const win32::DrawnPage drawn = win32::drawOnMetafile(page, 600);
        ASSERT_EQ(drawn.texts.size(), page.texts.size());
        for (std::size_t i = 0; i < page.texts.size(); ++i) {
            const win32::DrawnText& got = drawn.texts[i];
            EXPECT_EQ(got.text, page.texts[i].text);
            EXPECT_GE(got.reference.x, dotsOf(page.area.left, 600));
            EXPECT_LE(got.reference.x + got.width, dotsOf(page.area.right, 600)) << got.text;
        }
        EXPECT_EQ(drawn.objectsNotDeleted, 0);
    }
}

struct AreaCase {
    const char* name;
    win32::PaperCaps caps;
    PageArea area;
};

// clang-format off
const AreaCase kAreas[] = {
    // name                   paper        offset     printable    dpi          in points
    {"A4 at 600 dpi",         {4961, 7016, 100, 100,  4761, 6816,  600,  600}, {595.32, 841.92, 12, 12, 583.32, 829.92}},
    {"Letter at 300 by 600",  {2550, 6600,  75, 150,  2400, 6300,  300,  600}, {612, 792, 18, 18, 594, 774}},
    {"no paper (no printer)", {   0,    0,   0,   0,  1920, 1080,   96,   96}, {1440, 810, 0, 0, 1440, 810}},
    {"no resolution",         {4961, 7016, 100, 100,  4761, 6816,    0,    0}, {}},
};
// clang-format on

TEST(Win32PrintArea, ThePrintersDotsInPoints) {
    for (const AreaCase& c : kAreas) {
        SCOPED_TRACE(c.name);
        const PageArea area = win32::areaOf(c.caps);
        EXPECT_NEAR(area.width, c.area.width, 0.01);
        EXPECT_NEAR(area.height, c.area.height, 0.01);
        EXPECT_NEAR(area.left, c.area.left, 0.01);
        EXPECT_NEAR(area.top, c.area.top, 0.01);
        EXPECT_NEAR(area.right, c.area.right, 0.01);
        EXPECT_NEAR(area.bottom, c.area.bottom, 0.01);
    }
}

// A device context that is no printer: its caps as GetDeviceCaps reports them, and printing on
// it fails with a reason instead of printing nothing and saying it printed.
TEST(Win32PrintArea, ADeviceThatIsNoPrinter) {
    const HDC screen = GetDC(nullptr);
    const HDC memory = CreateCompatibleDC(screen);
    ReleaseDC(nullptr, screen);
    const win32::PaperCaps caps = win32::paperCapsOf(memory);
    const PageArea area = win32::areaOf(caps);
    EXPECT_NEAR(area.right, GetDeviceCaps(memory, HORZRES) * 72.0 / caps.dotsPerInchX, 0.01);
    EXPECT_NEAR(area.bottom, GetDeviceCaps(memory, VERTRES) * 72.0 / caps.dotsPerInchY, 0.01);
    int laidOut = 0;
    const runtime::PrintResult result =
        win32::printOn(memory, "Job sheet", [&](const PageArea& paper) {
            ++laidOut;
            EXPECT_EQ(paper, area);
            return samplePage();
        });
    DeleteDC(memory);
    EXPECT_EQ(result.outcome, runtime::PrintOutcome::Failed);
    EXPECT_EQ(result.reason, "the printer could not be started");
    EXPECT_EQ(laidOut, 1);
}

} // namespace
} // namespace clearmark
