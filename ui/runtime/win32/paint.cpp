// What a Win32 window draws itself: its lines, its labels and its command buttons.
#include "runtime/win32/window.h"

#include <algorithm>

namespace clearmark::runtime::win32 {

void drawLabel(const Win32Control& label, HDC dc, RECT rect) {
    FillRect(dc, &rect, systemBrush(SystemColor::ButtonFace));
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, label.textColor());
    const HGDIOBJ before = SelectObject(dc, label.font());
    const UINT format = DT_WORDBREAK | DT_NOPREFIX | (label.centred() ? DT_CENTER : DT_LEFT);
    // Each paragraph the runtime finds begins a line of its own.
    const std::string caption = narrow(label.caption());
    for (const std::string_view text : paragraphsOf(caption)) {
        if (rect.top >= rect.bottom)
            break;
        const std::wstring paragraph = widen(text);
        RECT measured = rect;
        DrawTextW(dc, paragraph.c_str(), int(paragraph.size()), &measured, format | DT_CALCRECT);
        DrawTextW(dc, paragraph.c_str(), int(paragraph.size()), &rect, format);
        rect.top += measured.bottom - measured.top;
    }
    SelectObject(dc, before);
}

// The system's raised face, pressed while held, the default button with a dark frame, the
// caption centred and word-wrapped with its access key underlined (greyed while disabled), and
// the focus rectangle while it has the focus.
void drawButton(const Win32Control& button, const DRAWITEMSTRUCT& item, bool isDefault) {
    HDC dc = item.hDC;
    RECT rect = item.rcItem;
    const bool pushed = (item.itemState & ODS_SELECTED) != 0;
    if (isDefault || (item.itemState & ODS_FOCUS) != 0) {
        FrameRect(dc, &rect, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
        InflateRect(&rect, -1, -1);
    }
    DrawFrameControl(dc, &rect, DFC_BUTTON, DFCS_BUTTONPUSH | (pushed ? DFCS_PUSHED : 0));
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, GetSysColor(COLOR_BTNTEXT));
    const HGDIOBJ before = SelectObject(dc, button.font());
    const std::wstring caption = textOf(button.handle());
    RECT text = rect;
    InflateRect(&text, -2, -2);
    RECT measured = text;
    DrawTextW(dc, caption.c_str(), int(caption.size()), &measured,
              DT_CALCRECT | DT_WORDBREAK | DT_CENTER);
    const int height = measured.bottom - measured.top;
    text.top += std::max(0L, (text.bottom - text.top - height) / 2);
    if (pushed)
        OffsetRect(&text, 1, 1);
    if ((item.itemState & ODS_DISABLED) != 0) {
        // Greyed and embossed, as the system draws a disabled button's caption.
        RECT highlight = text;
        OffsetRect(&highlight, 1, 1);
        SetTextColor(dc, GetSysColor(COLOR_BTNHIGHLIGHT));
        DrawTextW(dc, caption.c_str(), int(caption.size()), &highlight, DT_WORDBREAK | DT_CENTER);
        SetTextColor(dc, GetSysColor(COLOR_GRAYTEXT));
    }
    DrawTextW(dc, caption.c_str(), int(caption.size()), &text, DT_WORDBREAK | DT_CENTER);
    SelectObject(dc, before);
    if ((item.itemState & ODS_FOCUS) != 0) {
        RECT focus = rect;
        InflateRect(&focus, -3, -3);
        DrawFocusRect(dc, &focus);
    }
}

void Win32Window::paint(HDC dc, const RECT& dirty) const {
    for (const LineDesign& line : lines_) {
        const int x1 = pixels(line.x1);
        const int y1 = pixels(line.y1);
        const int x2 = pixels(line.x2);
        const int y2 = pixels(line.y2);
        // The line's pixels start at its design coordinates and grow down and to the right.
        HBRUSH brush = CreateSolidBrush(colorRef(line.color));
        const RECT rect{std::min(x1, x2), std::min(y1, y2),
                        std::max(x1, x2) + (y1 == y2 ? 0 : line.widthPixels),
                        std::max(y1, y2) + (y1 == y2 ? line.widthPixels : 0)};
        FillRect(dc, &rect, brush);
        DeleteObject(brush);
    }
    for (const Win32Control* control : controls_) {
        RECT overlap;
        const RECT area = control->area();
        if (control->kind() == ControlKind::Label && control->visible() &&
            IntersectRect(&overlap, &area, &dirty))
            drawLabel(*control, dc, area);
    }
}

} // namespace clearmark::runtime::win32
