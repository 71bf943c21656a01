// The input driver on the Win32 implementation: the controls' own mouse messages, keys
// through the program's message loop, the real clipboard.
#include "runtime/implementation.h"
#include "runtime/win32/test_hooks.h"
#include "support/driver.h"

#include <algorithm>
#include <cctype>
#include <initializer_list>
#include <iterator>
#include <stdexcept>

namespace clearmark::testing_support {
namespace {

namespace win32 = runtime::win32;

HWND shownHandle(const runtime::Control& control) {
    const HWND hwnd = win32::createControlIfMissing(control);
    if (hwnd == nullptr || !IsWindowVisible(hwnd))
        throw std::logic_error(control.name() + " is not on the screen");
    return hwnd;
}

// The keyboard's state as the keys held down leave it (for the message loop's translation of
// keys into characters), for the scope.
class HeldKeys {
public:
    explicit HeldKeys(std::initializer_list<BYTE> keys) {
        GetKeyboardState(before_);
        BYTE now[256];
        std::copy(std::begin(before_), std::end(before_), now);
        for (const BYTE key : {VK_SHIFT, VK_CONTROL, VK_MENU})
            now[key] = 0;
        for (const BYTE key : keys)
            now[key] = 0x80;
        SetKeyboardState(now);
    }
    ~HeldKeys() { SetKeyboardState(before_); }
    HeldKeys(const HeldKeys&) = delete;
    HeldKeys& operator=(const HeldKeys&) = delete;

private:
    BYTE before_[256] = {};
};

// A keystroke as the keyboard sends it, posted to the control with the focus (else the
// window) and taken through the program's own message loop, which turns it into its
// character. With Alt it is a system key.
void sendKey(HWND window, UINT key, std::initializer_list<BYTE> held = {}) {
    const HWND focus = GetFocus();
    const HWND target = focus != nullptr && IsChild(window, focus) ? focus : window;
    const bool alt = std::find(held.begin(), held.end(), VK_MENU) != held.end();
    const LPARAM scan = LPARAM(MapVirtualKeyW(key, MAPVK_VK_TO_VSC)) << 16;
    const LPARAM context = alt ? LPARAM(1) << 29 : 0;
    const HeldKeys keys(held);
    PostMessageW(target, alt ? WM_SYSKEYDOWN : WM_KEYDOWN, key, 1 | scan | context);
    PostMessageW(target, alt ? WM_SYSKEYUP : WM_KEYUP, key, 1 | scan | context | 0xC0000000);
    win32::pumpMessages();
}

void activateWindow(HWND window) {
    if (GetActiveWindow() != window) {
        SetForegroundWindow(window);
        SetActiveWindow(window);
    }
    win32::pumpMessages();
}

// A mouse click at a point of the control's client area.
void clickAt(HWND hwnd, LPARAM at) {
    SendMessageW(hwnd, WM_LBUTTONDOWN, MK_LBUTTON, at);
    SendMessageW(hwnd, WM_LBUTTONUP, 0, at);
    win32::pumpMessages();
}

class Win32Driver final : public Driver {
public:
    void click(const runtime::Control& control) override {
        const HWND hwnd = shownHandle(control);
        RECT rect;
        GetClientRect(hwnd, &rect);
        // Option buttons and check boxes take the click on their indicator, a command button
        // anywhere.
        const bool indicator = control.kind() == runtime::ControlKind::OptionButton ||
                               control.kind() == runtime::ControlKind::CheckBox;
        clickAt(hwnd, MAKELPARAM(indicator ? 6 : rect.right / 2, rect.bottom / 2));
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
    // A click into the box, End, and each character's key.
    void type(const runtime::TextBox& box, std::string_view text) override {
        const HWND hwnd = shownHandle(box);
        RECT rect;
        GetClientRect(hwnd, &rect);
        clickAt(hwnd, MAKELPARAM(rect.right - 2, rect.bottom / 2));
        const HWND window = GetAncestor(hwnd, GA_ROOT);
        sendKey(window, VK_END);
        for (const wchar_t c : win32::widen(text)) {
            const SHORT key = VkKeyScanW(c);
            if (key == -1)
                throw std::logic_error("no key types this character");
            if ((HIBYTE(key) & 1) != 0) // the character is typed with Shift
                sendKey(window, LOBYTE(key), {VK_SHIFT});
            else
                sendKey(window, LOBYTE(key));
        }
    }
    // A click into the box, then Ctrl+V.
    void paste(const runtime::TextBox& box) override {
        const HWND hwnd = shownHandle(box);
        RECT rect;
        GetClientRect(hwnd, &rect);
        clickAt(hwnd, MAKELPARAM(rect.right - 2, rect.bottom / 2));
        sendKey(GetAncestor(hwnd, GA_ROOT), 'V', {VK_CONTROL});
    }
    void press(const runtime::Form& form, Key key) override {
        const HWND window = win32::createWindowIfMissing(form);
        activateWindow(window);
        switch (key) {
        case Key::Tab:
            return sendKey(window, VK_TAB);
        case Key::ShiftTab:
            return sendKey(window, VK_TAB, {VK_SHIFT});
        case Key::Enter:
            return sendKey(window, VK_RETURN);
        case Key::Escape:
            return sendKey(window, VK_ESCAPE);
        case Key::Space:
            return sendKey(window, VK_SPACE);
        case Key::Backspace:
            return sendKey(window, VK_BACK);
        }
    }
    void pressAlt(const runtime::Form& form, char letter) override {
        const HWND window = win32::createWindowIfMissing(form);
        activateWindow(window);
        sendKey(window, UINT(std::toupper(static_cast<unsigned char>(letter))), {VK_MENU});
    }
    void activate(const runtime::Form& form) override {
        activateWindow(win32::createWindowIfMissing(form));
    }
    int firstVisibleCharacter(const runtime::TextBox& box) override {
        // For a single-line edit control, the index of its first visible character.
        return int(SendMessageW(shownHandle(box), EM_GETFIRSTVISIBLELINE, 0, 0));
    }
    std::string focused(const runtime::Form& form) override { return win32::focusedControl(form); }
    void close(const runtime::Form& form) override {
        SendMessageW(win32::createWindowIfMissing(form), WM_SYSCOMMAND, SC_CLOSE, 0);
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
    void setClipboardText(std::string_view text) override {
        bool copied = false;
        runtime::setSystemClipboardText(text, [&copied](bool done) { copied = done; });
        if (!copied)
            throw std::runtime_error("the clipboard could not be had");
    }
    void settle() override { win32::pumpMessages(); }
};

} // namespace

Driver& driver() {
    static Win32Driver win32;
    return win32;
}

} // namespace clearmark::testing_support
