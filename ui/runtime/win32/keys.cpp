// The keys that our windows take before their controls do: Enter, Esc, Tab and access keys.
#include "runtime/win32/window.h"

#include <vector>

namespace clearmark::runtime::win32 {

bool Win32Window::pressKey(WPARAM key) {
    if (key != VK_RETURN && key != VK_ESCAPE)
        return false;
    // The runtime says which button the key presses.
    auto* target = static_cast<Win32Control*>(
        buttonForKey(key == VK_RETURN ? WindowKey::Enter : WindowKey::Escape, focused(),
                     defaultButton_, cancelButton_));
    if (target != nullptr)
        SendMessageW(target->handle(), BM_CLICK, 0, 0);
    return true;
}

bool Win32Window::pressShortcut(WPARAM letter) {
    std::vector<ControlPeer*> entries(menuEntries_.begin(), menuEntries_.end());
    // The runtime says which entry the key chooses.
    ControlPeer* entry = entryForShortcut(menus_, entries, char(letter));
    if (entry == nullptr)
        return false;
    if (entry->clicked)
        entry->clicked();
    return true;
}

bool translateWindowKeys(MSG& msg) {
    if (msg.message != WM_KEYDOWN && msg.message != WM_SYSKEYDOWN && msg.message != WM_SYSCHAR &&
        msg.message != WM_CHAR)
        return false;
    HWND top = msg.hwnd;
    while (top != nullptr && (GetWindowLongPtrW(top, GWL_STYLE) & WS_CHILD) != 0)
        top = GetParent(top);
    Win32Window* window = Win32Window::fromHandle(top);
    if (window == nullptr)
        return false;
    if (msg.message == WM_KEYDOWN && (msg.wParam == VK_RETURN || msg.wParam == VK_ESCAPE))
        return window->pressKey(msg.wParam);
    // Ctrl with a letter alone: a menu entry's shortcut key, before the focused control has it.
    if (msg.message == WM_KEYDOWN && msg.wParam >= 'A' && msg.wParam <= 'Z' &&
        GetKeyState(VK_CONTROL) < 0 && GetKeyState(VK_SHIFT) >= 0 && GetKeyState(VK_MENU) >= 0 &&
        window->pressShortcut(msg.wParam))
        return true;
    if (msg.message == WM_CHAR && (msg.wParam == L'\r' || msg.wParam == 0x1B))
        return true; // the key's character, once the key has been handled
    // Tab, the arrow keys among the option buttons, and access keys such as Alt+S.
    return IsDialogMessageW(top, &msg) != FALSE;
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
