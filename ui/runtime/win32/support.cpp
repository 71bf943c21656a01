// Text, screen density, system colours and the hidden owner window of the Win32 runtime.
#include "runtime/win32/win32.h"

#include <shobjidl.h>

#include "runtime/twips.h"

#include <string>

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

int systemIndex(SystemColor color) {
    switch (color) {
    case SystemColor::ButtonFace:
        return COLOR_BTNFACE;
    case SystemColor::InactiveCaptionText:
        return COLOR_INACTIVECAPTIONTEXT;
    }
    return COLOR_BTNFACE;
}

} // namespace

COLORREF systemColor(SystemColor color) {
    return GetSysColor(systemIndex(color));
}

HBRUSH systemBrush(SystemColor color) {
    return GetSysColorBrush(systemIndex(color));
}

HWND hiddenOwner() {
    static const HWND owner = CreateWindowExW(0, L"STATIC", L"Clearmark", WS_POPUP, 0, 0, 0, 0,
                                              nullptr, nullptr, GetModuleHandleW(nullptr), nullptr);
    return owner;
}

bool setTaskBarButton(HWND window, bool shown) {
    // The task bar's list, asked for once: making it loads a library of the shell.
    static ITaskbarList* const list = [] {
        ITaskbarList* made = nullptr;
        if (FAILED(CoCreateInstance(CLSID_TaskbarList, nullptr, CLSCTX_INPROC_SERVER,
                                    IID_ITaskbarList, reinterpret_cast<void**>(&made))))
            return static_cast<ITaskbarList*>(nullptr);
        if (FAILED(made->HrInit())) {
            made->Release();
            return static_cast<ITaskbarList*>(nullptr);
        }
        return made;
    }();
    return list != nullptr && SUCCEEDED(shown ? list->AddTab(window) : list->DeleteTab(window));
}

bool underWine() {
    const HMODULE ntdll = GetModuleHandleW(L"ntdll.dll");
    return ntdll != nullptr && GetProcAddress(ntdll, "wine_get_version") != nullptr;
}

} // namespace clearmark::runtime::win32
