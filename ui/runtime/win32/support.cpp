#include "runtime/win32/win32.h"

#include "runtime/twips.h"

#include <map>
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

HFONT designFont(const FontDesign& font) {
    static std::map<std::pair<int, bool>, HFONT> fonts;
    const int hundredths = static_cast<int>(font.points * 100 + 0.5);
    HFONT& made = fonts[{hundredths, font.bold}];
    if (made == nullptr)
        made = CreateFontW(-MulDiv(hundredths, screenDpi(), 7200), 0, 0, 0,
                           font.bold ? FW_BOLD : FW_NORMAL, FALSE, FALSE, FALSE, ANSI_CHARSET,
                           OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY,
                           DEFAULT_PITCH | FF_SWISS, L"MS Sans Serif");
    return made;
}

HICON icon(Icon which, int size) {
    const int id = which == Icon::AboutPicture ? kAboutPictureId : kApplicationIconId;
    return static_cast<HICON>(LoadImageW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(id),
                                         IMAGE_ICON, size, size, LR_SHARED));
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
