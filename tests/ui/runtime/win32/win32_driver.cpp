// The input driver on the Win32 implementation: the controls' own mouse messages, keys
// through the program's message loop, the real clipboard.
#include "runtime/clipboard.h"
#include "runtime/win32/win32.h"
#include "support/driver.h"

#include <stdexcept>

namespace clearmark::testing_support {
namespace {

namespace win32 = runtime::win32;

HWND shownHandle(const runtime::Control& control) {
    const HWND hwnd = win32::handleOf(control);
    if (hwnd == nullptr || !IsWindowVisible(hwnd))
        throw std::logic_error(control.name() + " is not on the screen");
    return hwnd;
}

// A key as the keyboard sends it, to the control with the focus, through the message loop.
void sendKey(HWND target, UINT key, bool shift = false) {
    BYTE keys[256] = {};
    GetKeyboardState(keys);
    const BYTE before = keys[VK_SHIFT];
    keys[VK_SHIFT] = shift ? 0x80 : 0;
    SetKeyboardState(keys);
    PostMessageW(target, WM_KEYDOWN, key, 1);
    PostMessageW(target, WM_KEYUP, key, 0xC0000001);
    win32::pumpMessages();
    keys[VK_SHIFT] = before;
    SetKeyboardState(keys);
}

class Win32Driver final : public Driver {
public:
    void click(const runtime::Control& control) override {
        const HWND hwnd = shownHandle(control);
        RECT rect;
        GetClientRect(hwnd, &rect);
        // An option button takes the click on its indicator, a command button anywhere.
        const bool option = control.kind() == runtime::ControlKind::OptionButton;
        const LPARAM at = MAKELPARAM(option ? 6 : rect.right / 2, rect.bottom / 2);
        SendMessageW(hwnd, WM_LBUTTONDOWN, MK_LBUTTON, at);
        SendMessageW(hwnd, WM_LBUTTONUP, 0, at);
        win32::pumpMessages();
    }
    void choose(const runtime::MenuItem& entry) override {
        HWND window = nullptr;
        for (HWND top = GetTopWindow(nullptr); top != nullptr; top = GetWindow(top, GW_HWNDNEXT))
            if (GetMenu(top) != nullptr &&
                GetMenuState(GetMenu(top), win32::commandOf(entry), MF_BYCOMMAND) != UINT(-1))
                window = top;
        if (window == nullptr || !IsWindowVisible(window))
            throw std::logic_error(entry.name() + " is no menu entry on the screen");
        SendMessageW(window, WM_COMMAND, MAKEWPARAM(win32::commandOf(entry), 0), 0);
        win32::pumpMessages();
    }
    void type(const runtime::TextBox& box, std::string_view text) override {
        const HWND hwnd = shownHandle(box);
        const int end = GetWindowTextLengthW(hwnd);
        SendMessageW(hwnd, EM_SETSEL, end, end);
        for (const wchar_t c : win32::widen(text))
            SendMessageW(hwnd, WM_CHAR, c, 1);
        win32::pumpMessages();
    }
    void paste(const runtime::TextBox& box) override {
        const HWND hwnd = shownHandle(box);
        SetFocus(hwnd);
        SendMessageW(hwnd, WM_PASTE, 0, 0);
        win32::pumpMessages();
    }
    void press(const runtime::Form& form, Key key) override {
        const HWND window = win32::windowOf(form);
        const HWND focus = GetFocus();
        const HWND target = focus != nullptr && IsChild(window, focus) ? focus : window;
        switch (key) {
        case Key::Tab:
            return sendKey(target, VK_TAB);
        case Key::ShiftTab:
            return sendKey(target, VK_TAB, true);
        case Key::Enter:
            return sendKey(target, VK_RETURN);
        case Key::Escape:
            return sendKey(target, VK_ESCAPE);
        case Key::Space:
            return sendKey(target, VK_SPACE);
        }
    }
    std::string focused(const runtime::Form& form) override { return win32::focusedControl(form); }
    void close(const runtime::Form& form) override {
        SendMessageW(win32::windowOf(form), WM_SYSCOMMAND, SC_CLOSE, 0);
        win32::pumpMessages();
    }
    std::string clipboardText() override {
        std::string text;
        if (!OpenClipboard(nullptr))
            return text;
        if (HANDLE data = GetClipboardData(CF_UNICODETEXT)) {
            text = win32::narrow(static_cast<const wchar_t*>(GlobalLock(data)));
            GlobalUnlock(data);
        }
        CloseClipboard();
        return text;
    }
    void setClipboardText(std::string_view text) override { runtime::setClipboardText(text); }
    void settle() override { win32::pumpMessages(); }
};

} // namespace

Driver& driver() {
    static Win32Driver win32;
    return win32;
}

} // namespace clearmark::testing_support
