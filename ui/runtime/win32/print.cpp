// The system's print dialog (comdlg32), modal for the whole program, and the page drawn with GDI
// on the printer it returns.
#include "runtime/win32/print.h"

#include "runtime/implementation.h"
#include "runtime/text_metrics.h"
#include "runtime/win32/win32.h"

#include <cderr.h>
#include <commdlg.h>

#include <algorithm>
#include <cmath>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace clearmark::runtime::win32 {
namespace {

int dots(double points, double dotsPerPoint) {
    return int(std::lround(points * dotsPerPoint));
}

// The one pen or font of the drawing selected at a time: the next one is selected in its place
// and the one before deleted; at the end the device context's own is selected again.
class Selection {
public:
    explicit Selection(HDC dc) : dc_(dc) {}
    ~Selection() {
        if (current_ != nullptr) {
            SelectObject(dc_, original_);
            DeleteObject(current_);
        }
    }
    Selection(const Selection&) = delete;
    Selection& operator=(const Selection&) = delete;

    void select(HGDIOBJ next) {
        const HGDIOBJ replaced = SelectObject(dc_, next);
        if (current_ == nullptr)
            original_ = replaced;
        else
            DeleteObject(current_);
        current_ = next;
    }

private:
    HDC dc_;
    HGDIOBJ current_ = nullptr;
    HGDIOBJ original_ = nullptr;
};

HFONT pageFont(double size, bool bold, double dotsPerPointY) {
    // A negative height asks for the em height, which is what a point size measures.
    return CreateFontW(-dots(size, dotsPerPointY), 0, 0, 0, bold ? FW_BOLD : FW_NORMAL, FALSE,
                       FALSE, FALSE, DEFAULT_CHARSET, OUT_TT_PRECIS, CLIP_DEFAULT_PRECIS,
                       ANTIALIASED_QUALITY, VARIABLE_PITCH | FF_SWISS, L"Arial");
}

// The text in UTF-16 with each character's advance in dots, from the face's widths the page
// was laid out with: the characters stand where the layout measured them, whatever the
// printer's font rounds its own widths to.
void drawText(HDC dc, const PageText& text, double dotsPerPointX, int x, int y) {
    std::wstring wide;
    std::vector<INT> advances;
    int drawnTo = 0;
    const std::string_view utf8 = text.text;
    for (std::size_t start = 0; start < utf8.size();) {
        std::size_t end = start + 1;
        while (end < utf8.size() && (static_cast<unsigned char>(utf8[end]) & 0xC0) == 0x80)
            ++end;
        const int to = dots(textWidth(utf8.substr(0, end), text.size, text.bold), dotsPerPointX);
        const std::wstring character = widen(utf8.substr(start, end - start));
        for (std::size_t unit = 0; unit < character.size(); ++unit)
            advances.push_back(unit == 0 ? to - drawnTo : 0); // a surrogate pair's second half
        wide += character;
        drawnTo = to;
        start = end;
    }
    ExtTextOutW(dc, x, y, 0, nullptr, wide.c_str(), UINT(wide.size()), advances.data());
}

} // namespace

PaperCaps paperCapsOf(HDC dc) {
    return {GetDeviceCaps(dc, PHYSICALWIDTH),   GetDeviceCaps(dc, PHYSICALHEIGHT),
            GetDeviceCaps(dc, PHYSICALOFFSETX), GetDeviceCaps(dc, PHYSICALOFFSETY),
            GetDeviceCaps(dc, HORZRES),         GetDeviceCaps(dc, VERTRES),
            GetDeviceCaps(dc, LOGPIXELSX),      GetDeviceCaps(dc, LOGPIXELSY)};
}

PageArea areaOf(const PaperCaps& caps) {
    if (caps.dotsPerInchX <= 0 || caps.dotsPerInchY <= 0)
        return {};
    const double perPointX = caps.dotsPerInchX / 72.0;
    const double perPointY = caps.dotsPerInchY / 72.0;
    const bool paper = caps.physicalWidth > 0 && caps.physicalHeight > 0;
    const double left = paper ? caps.offsetX / perPointX : 0;
    const double top = paper ? caps.offsetY / perPointY : 0;
    const double right = left + caps.printableWidth / perPointX;
    const double bottom = top + caps.printableHeight / perPointY;
    return {paper ? caps.physicalWidth / perPointX : right,
            paper ? caps.physicalHeight / perPointY : bottom,
            left,
            top,
            right,
            bottom};
}

void drawPage(HDC dc, const Page& page, double dotsPerPointX, double dotsPerPointY, POINT origin) {
    const auto x = [&](double points) {
        return dots(points, dotsPerPointX) - origin.x;
    };
    const auto y = [&](double points) {
        return dots(points, dotsPerPointY) - origin.y;
    };
    const int saved = SaveDC(dc);
    for (const PageFill& fill : page.fills) {
        const RECT rect{x(fill.x), y(fill.y), x(fill.x + fill.width), y(fill.y + fill.height)};
        const BYTE grey = BYTE(std::clamp(fill.grey, 0, 255));
        const HBRUSH brush = CreateSolidBrush(RGB(grey, grey, grey));
        FillRect(dc, &rect, brush);
        DeleteObject(brush);
    }
    {
        Selection pens(dc);
        int penWidth = 0;
        for (const PageLine& line : page.lines) {
            // Square ends, so that lines meeting at a corner close it.
            const int width = std::max(1, dots(line.width, (dotsPerPointX + dotsPerPointY) / 2));
            if (width != penWidth) {
                const LOGBRUSH black{BS_SOLID, RGB(0, 0, 0), 0};
                pens.select(ExtCreatePen(PS_GEOMETRIC | PS_SOLID | PS_ENDCAP_SQUARE | PS_JOIN_MITER,
                                         DWORD(width), &black, 0, nullptr));
                penWidth = width;
            }
            MoveToEx(dc, x(line.x1), y(line.y1), nullptr);
            LineTo(dc, x(line.x2), y(line.y2));
        }
    }
    {
        SetTextAlign(dc, TA_BASELINE | TA_LEFT | TA_NOUPDATECP);
        SetBkMode(dc, TRANSPARENT);
        SetTextColor(dc, RGB(0, 0, 0));
        Selection fonts(dc);
        std::pair<double, bool> font{0, false};
        for (const PageText& text : page.texts) {
            if (text.text.empty())
                continue;
            if (font != std::pair(text.size, text.bold)) {
                fonts.select(pageFont(text.size, text.bold, dotsPerPointY));
                font = {text.size, text.bold};
            }
            drawText(dc, text, dotsPerPointX, x(text.x), y(text.baseline));
        }
    }
    RestoreDC(dc, saved);
}

PrintResult printOn(HDC printer, const std::string& documentName, const PageLayout& layout) {
    const PaperCaps caps = paperCapsOf(printer);
    const PageArea area = areaOf(caps);
    if (area.width <= 0 || area.height <= 0)
        return {PrintOutcome::Failed, "the printer reported no paper size"};
    const Page page = layout(area);
    const std::wstring name = widen(documentName);
    DOCINFOW document{};
    document.cbSize = sizeof document;
    document.lpszDocName = name.c_str();
    if (StartDocW(printer, &document) <= 0)
        return {PrintOutcome::Failed, "the printer could not be started"};
    bool printed = StartPage(printer) > 0;
    if (printed) {
        // The printer's (0,0) is the printable area's corner.
        const bool paper = caps.physicalWidth > 0 && caps.physicalHeight > 0;
        drawPage(printer, page, caps.dotsPerInchX / 72.0, caps.dotsPerInchY / 72.0,
                 paper ? POINT{caps.offsetX, caps.offsetY} : POINT{0, 0});
        printed = EndPage(printer) > 0;
    }
    if (!printed || EndDoc(printer) <= 0) {
        AbortDoc(printer);
        return {PrintOutcome::Failed, "the printer reported an error"};
    }
    return {PrintOutcome::Printed, {}};
}

std::string printDialogFailure(DWORD commDlgError) {
    switch (commDlgError) {
    case PDERR_NODEFAULTPRN:
    case PDERR_NODEVICES:
        return "no printer is set up";
    case PDERR_PRINTERNOTFOUND:
        return "the printer could not be found";
    case PDERR_CREATEICFAILURE:
    case PDERR_LOADDRVFAILURE:
    case PDERR_GETDEVMODEFAIL:
    case PDERR_INITFAILURE:
        return "the printer could not be opened";
    default:
        return "the print dialog could not be opened (error " + std::to_string(commDlgError) + ")";
    }
}

} // namespace clearmark::runtime::win32

namespace clearmark::runtime {

void printOnScreen(const std::string& documentName, const PageLayout& layout,
                   const std::function<void(const PrintResult&)>& answered) {
    PRINTDLGW dialog{};
    dialog.lStructSize = sizeof dialog;
    // The default printer first, without a dialog: where there is none, the program says so
    // itself rather than the dialog (Wine's says it and then reports a plain cancel).
    dialog.Flags = PD_RETURNDEFAULT;
    bool chosen = PrintDlgW(&dialog) != 0;
    DWORD error = chosen ? 0 : CommDlgExtendedError();
    if (chosen) {
        // The page is laid out portrait; the dialog offers it so, and the user may still turn it.
        if (auto* mode = static_cast<DEVMODEW*>(GlobalLock(dialog.hDevMode)); mode != nullptr) {
            mode->dmOrientation = DMORIENT_PORTRAIT;
            mode->dmFields |= DM_ORIENTATION;
            GlobalUnlock(dialog.hDevMode);
        }
        dialog.Flags = PD_RETURNDC | PD_NOPAGENUMS | PD_NOSELECTION |
                       PD_USEDEVMODECOPIESANDCOLLATE | PD_NOWARNING;
        dialog.nCopies = 1;
        const win32::ModalForProgram modal;
        dialog.hwndOwner = modal.owner();
        chosen = PrintDlgW(&dialog) != 0;
        error = chosen ? 0 : CommDlgExtendedError();
    }
    if (dialog.hDevMode != nullptr)
        GlobalFree(dialog.hDevMode);
    if (dialog.hDevNames != nullptr)
        GlobalFree(dialog.hDevNames);
    PrintResult result;
    if (chosen && dialog.hDC != nullptr)
        result = win32::printOn(dialog.hDC, documentName, layout);
    else if (chosen)
        result = {PrintOutcome::Failed, "the printer could not be opened"};
    else if (error != 0)
        result = {PrintOutcome::Failed, win32::printDialogFailure(error)};
    if (dialog.hDC != nullptr)
        DeleteDC(dialog.hDC);
    answered(result);
}

} // namespace clearmark::runtime
