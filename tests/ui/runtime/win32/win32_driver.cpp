// The input driver on the Win32 implementation: the controls' own mouse messages, keys
// through the program's message loop, the real clipboard.
#include "runtime/implementation.h"
#include "runtime/keyboard.h"
#include "runtime/peer_access.h"
#include "runtime/win32/test_hooks.h"
#include "runtime/win32/window.h"
#include "support/driver.h"

#include <algorithm>
#include <cctype>
#include <initializer_list>
#include <iterator>
#include <stdexcept>
#include <string>
#include <vector>

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

// A mouse click at a point of the control's client area. A disabled control takes none: the
// system gives it to the window beneath.
void clickAt(HWND hwnd, LPARAM at) {
    if (!IsWindowEnabled(hwnd)) {
        POINT point{short(LOWORD(at)), short(HIWORD(at))};
        const HWND parent = GetParent(hwnd);
        MapWindowPoints(hwnd, parent, &point, 1);
        hwnd = parent;
        at = MAKELPARAM(point.x, point.y);
    }
    SendMessageW(hwnd, WM_LBUTTONDOWN, MK_LBUTTON, at);
    SendMessageW(hwnd, WM_LBUTTONUP, 0, at);
    win32::pumpMessages();
}

// The real box of the thread while it is up, found by a timer inside its own message loop.
struct BoxWatch {
    RealBox seen;
    UINT key = VK_RETURN;
};
BoxWatch* watch = nullptr;

void CALLBACK answerBox(HWND /*hwnd*/, UINT /*message*/, UINT_PTR timer, DWORD /*time*/) {
    const HWND box = FindWindowW(L"#32770", nullptr);
    if (watch == nullptr || box == nullptr || !IsWindowVisible(box))
        return;
    KillTimer(nullptr, timer);
    watch->seen.shown = true;
    wchar_t text[1024] = {};
    GetDlgItemTextW(box, 0xFFFF, text, 1024);
    watch->seen.text = win32::narrow(text);
    const HWND owner = GetWindow(box, GW_OWNER);
    wchar_t caption[256] = {};
    if (owner != nullptr)
        GetWindowTextW(owner, caption, 256);
    watch->seen.ownerCaption = win32::narrow(caption);
    // Any other of the thread's windows that is shown and enabled would take input.
    watch->seen.programTakesInput = false;
    EnumThreadWindows(
        GetCurrentThreadId(),
        [](HWND window, LPARAM box) -> BOOL {
            if (window != reinterpret_cast<HWND>(box) && IsWindowVisible(window) &&
                IsWindowEnabled(window) && win32::Win32Window::fromHandle(window) != nullptr)
                watch->seen.programTakesInput = true;
            return TRUE;
        },
        reinterpret_cast<LPARAM>(box));
    // The key as the keyboard sends it to the box's focused button, through the box's loop.
    const HWND focus = GetFocus() != nullptr && IsChild(box, GetFocus()) ? GetFocus() : box;
    const LPARAM scan = LPARAM(MapVirtualKeyW(watch->key, MAPVK_VK_TO_VSC)) << 16;
    PostMessageW(focus, WM_KEYDOWN, watch->key, 1 | scan);
    PostMessageW(focus, WM_KEYUP, watch->key, 1 | scan | 0xC0000000);
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
        // Command numbers count within each window: the entry's own window takes it.
        const HWND window = win32::windowOf(entry);
        if (window == nullptr || !IsWindowVisible(window) || GetMenu(window) == nullptr ||
            GetMenuState(GetMenu(window), win32::commandOf(entry), MF_BYCOMMAND) == UINT(-1))
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
    void pressCtrl(const runtime::Form& form, char letter) override {
        const HWND window = win32::createWindowIfMissing(form);
        activateWindow(window);
        sendKey(window, UINT(std::toupper(static_cast<unsigned char>(letter))), {VK_CONTROL});
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

    CaptionRoom captionRoom(const runtime::Control& control) override {
        const bool button = control.kind() == runtime::ControlKind::CommandButton;
        if (!button && control.kind() != runtime::ControlKind::Label)
            throw std::logic_error(control.name() + " has no caption to measure");
        const RECT place = win32::areaOf(control);
        RECT area{0, 0, place.right - place.left, place.bottom - place.top};
        if (button)
            InflateRect(&area, -2, -2); // within the frame
        CaptionRoom room{0, 0, area.right - area.left, area.bottom - area.top};
        HDC dc = GetDC(nullptr);
        const HGDIOBJ before = SelectObject(dc, win32::fontOnScreen(control));
        // Each paragraph as the window draws it, one below the other.
        const std::string caption = runtime::peerOf(control).text();
        for (const std::string_view paragraph : runtime::paragraphsOf(caption)) {
            const std::wstring text = win32::widen(paragraph);
            RECT needed = area;
            DrawTextW(dc, text.c_str(), int(text.size()), &needed,
                      DT_CALCRECT | DT_WORDBREAK | DT_CENTER | (button ? 0 : DT_NOPREFIX));
            room.neededWidth = std::max(room.neededWidth, int(needed.right - needed.left));
            room.neededHeight += needed.bottom - needed.top;
        }
        SelectObject(dc, before);
        ReleaseDC(nullptr, dc);
        return room;
    }
    std::vector<std::string> drawnLines(const runtime::Label& label) override {
        // DrawText's own word breaks: words are added to a line while the line measures one
        // line high in the label's width.
        const RECT place = win32::areaOf(label);
        const int width = place.right - place.left;
        HDC dc = GetDC(nullptr);
        const HGDIOBJ before = SelectObject(dc, win32::fontOnScreen(label));
        const auto lineCount = [dc, width](const std::wstring& text) {
            RECT rect{0, 0, width, 0};
            const int height = DrawTextW(dc, text.c_str(), int(text.size()), &rect,
                                         DT_CALCRECT | DT_WORDBREAK | DT_NOPREFIX);
            TEXTMETRICW metrics{};
            GetTextMetricsW(dc, &metrics);
            return height / std::max(1, int(metrics.tmHeight));
        };
        std::vector<std::string> lines;
        const std::string caption = label.caption();
        for (const std::string_view paragraph : runtime::paragraphsOf(caption)) {
            std::wstring line;
            std::size_t start = 0;
            const std::wstring text = win32::widen(paragraph);
            while (start < text.size()) {
                std::size_t end = text.find(L' ', start);
                if (end == std::wstring::npos)
                    end = text.size();
                const std::wstring word = text.substr(start, end - start);
                const std::wstring longer = line.empty() ? word : line + L" " + word;
                if (!line.empty() && lineCount(longer) > 1) {
                    lines.push_back(win32::narrow(line));
                    line = word;
                } else {
                    line = longer;
                }
                start = end + 1;
            }
            if (!line.empty())
                lines.push_back(win32::narrow(line));
        }
        SelectObject(dc, before);
        ReleaseDC(nullptr, dc);
        return lines;
    }
    RealBox answerRealBox(const std::function<void()>& open, Key key) override {
        BoxWatch box;
        box.key = key == Key::Escape ? VK_ESCAPE : VK_RETURN;
        watch = &box;
        SetTimer(nullptr, 0, 50, answerBox);
        open();
        win32::pumpMessages();
        watch = nullptr;
        return box.seen;
    }
    bool isActive(const runtime::Form& form) override {
        const HWND window = win32::createWindowIfMissing(form);
        return GetActiveWindow() == window && GetForegroundWindow() == window;
    }
};

} // namespace

Driver& driver() {
    static Win32Driver win32;
    return win32;
}

} // namespace clearmark::testing_support
