#include "runtime/win32/win32.h"

#include "runtime/twips.h"

#include <cmath>
#include <cstdlib>
#include <map>
#include <string>
#include <utility>

namespace clearmark::runtime::win32 {

std::wstring widen(std::string_view text) {
    if (text.empty())
        return {};
    const int size = MultiByteToWideChar(CP_UTF8, 0, text.data(), int(text.size()), nullptr, 0);
    std::wstring wide(static_cast<std::size_t>(size), L'\0');
    MultiByteToWideChar(CP_UTF8, 0, text.data(), int(text.size()), wide.data(), size);
    return wide;
}

std::string narrow(std::wstring_view text) {
    if (text.empty())
        return {};
    const int size = WideCharToMultiByte(CP_UTF8, 0, text.data(), int(text.size()), nullptr, 0,
                                         nullptr, nullptr);
    std::string utf8(static_cast<std::size_t>(size), '\0');
    WideCharToMultiByte(CP_UTF8, 0, text.data(), int(text.size()), utf8.data(), size, nullptr,
                        nullptr);
    return utf8;
}

int screenDpi() {
    static const int dpi = [] {
        HDC screen = GetDC(nullptr);
        const int value = GetDeviceCaps(screen, LOGPIXELSY);
        ReleaseDC(nullptr, screen);
        return value > 0 ? value : 96;
    }();
    return dpi;
}

int pixels(int twips) {
    return twipsToPixels(twips, screenDpi());
}

namespace {

// The em height and weight of what GDI selects for the font on this screen.
TEXTMETRICW selectedMetrics(HFONT font) {
    TEXTMETRICW metrics{};
    HDC screen = GetDC(nullptr);
    const HGDIOBJ before = SelectObject(screen, font);
    GetTextMetricsW(screen, &metrics);
    SelectObject(screen, before);
    ReleaseDC(nullptr, screen);
    return metrics;
}

HFONT makeFont(int emPixels, bool bold, BYTE charset, BYTE precision, const wchar_t* face) {
    return CreateFontW(-emPixels, 0, 0, 0, bold ? FW_BOLD : FW_NORMAL, FALSE, FALSE, FALSE, charset,
                       precision, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, DEFAULT_PITCH | FF_SWISS,
                       face);
}

} // namespace

bool drawnAsDesigned(HFONT font, int emPixels, bool bold) {
    const TEXTMETRICW metrics = selectedMetrics(font);
    // Within a pixel: the system rounds a scalable face's em, and matches a bitmap face to
    // the strike nearest the designed size as it always has.
    return std::abs(metrics.tmHeight - metrics.tmInternalLeading - emPixels) <= 1 &&
           (metrics.tmWeight >= FW_SEMIBOLD) == bold;
}

int emPixels(const FontDesign& font) {
    return MulDiv(static_cast<int>(std::lround(font.points * 100)), screenDpi(), 7200);
}

HFONT designFont(const FontDesign& font) {
    static std::map<std::pair<int, bool>, HFONT> fonts;
    const int em = emPixels(font);
    HFONT& made = fonts[{em, font.bold}];
    if (made != nullptr)
        return made;
    // The bitmap "MS Sans Serif" has a few sizes only (the system makes the bold weight
    // from them); where it has no face of the designed size and weight, the scalable face of
    // the same design is drawn: "Microsoft Sans Serif", or what the system puts in its place.
    made = makeFont(em, font.bold, ANSI_CHARSET, OUT_DEFAULT_PRECIS, L"MS Sans Serif");
    if (drawnAsDesigned(made, em, font.bold))
        return made;
    HFONT scalable = makeFont(em, font.bold, DEFAULT_CHARSET, OUT_TT_PRECIS, kScalableFace);
    if (drawnAsDesigned(scalable, em, font.bold)) {
        DeleteObject(made);
        return made = scalable;
    }
    DeleteObject(scalable);
    return made; // the nearest the system has
}

HICON icon(Icon which, int size) {
    // Each size loaded for itself: a shared image would be the first size asked for.
    static std::map<std::pair<Icon, int>, HICON> icons;
    HICON& loaded = icons[{which, size}];
    if (loaded == nullptr) {
        const int id = which == Icon::AboutPicture ? kAboutPictureId : kApplicationIconId;
        loaded = static_cast<HICON>(LoadImageW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(id),
                                               IMAGE_ICON, size, size, LR_DEFAULTCOLOR));
    }
    return loaded;
}

COLORREF systemColor(SystemColor color) {
    return GetSysColor(static_cast<int>(color));
}

HBRUSH systemBrush(SystemColor color) {
    return GetSysColorBrush(static_cast<int>(color));
}

HWND hiddenOwner() {
    static const HWND owner = CreateWindowExW(0, L"STATIC", L"Clearmark", WS_POPUP, 0, 0, 0, 0,
                                              nullptr, nullptr, GetModuleHandleW(nullptr), nullptr);
    return owner;
}

void pumpMessages() {
    MSG msg;
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
        if (msg.message == WM_QUIT) {
            // Kept for the event loop that is to end.
            PostQuitMessage(static_cast<int>(msg.wParam));
            return;
        }
        if (!translateWindowKeys(msg)) {
            TranslateMessage(&msg);
            DispatchMessageW(&msg);
        }
    }
}

} // namespace clearmark::runtime::win32
