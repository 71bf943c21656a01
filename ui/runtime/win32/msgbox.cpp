#include "runtime/implementation.h"

#include "runtime/win32/win32.h"
#include "runtime/win32/window.h"

#include <algorithm>
#include <vector>

namespace clearmark::runtime {
namespace {

// The program's windows (all of this thread's) that take input now.
std::vector<HWND> windowsTakingInput() {
    std::vector<HWND> windows;
    EnumThreadWindows(
        GetCurrentThreadId(),
        [](HWND hwnd, LPARAM list) -> BOOL {
            if (IsWindowVisible(hwnd) && IsWindowEnabled(hwnd))
                reinterpret_cast<std::vector<HWND>*>(list)->push_back(hwnd);
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&windows));
    return windows;
}

} // namespace

void showMsgBoxOnScreen(const MsgBoxRequest& request,
                        const std::function<void(MsgAnswer)>& answered) {
    // The box belongs to the window whose handler opens it: it stands over that window, has
    // no task-bar button of its own, and gives that window back the keyboard when it closes.
    const HWND owner = GetActiveWindow();
    // No window of the program takes input while the box is open: the system disables the
    // owner, and the other windows are disabled here for as long as the box is up.
    std::vector<HWND> others = owner != nullptr ? windowsTakingInput() : std::vector<HWND>{};
    others.erase(std::remove(others.begin(), others.end(), owner), others.end());
    for (const HWND window : others)
        EnableWindow(window, FALSE);

    UINT style = owner != nullptr ? MB_APPLMODAL : MB_TASKMODAL;
    switch (request.buttons) {
    case MsgButtons::OK:
        style |= MB_OK;
        break;
    case MsgButtons::OKCancel:
        style |= MB_OKCANCEL;
        break;
    case MsgButtons::YesNoCancel:
        style |= MB_YESNOCANCEL;
        break;
    }
    switch (request.icon) {
    case MsgIcon::Information:
        style |= MB_ICONINFORMATION;
        break;
    case MsgIcon::Exclamation:
        style |= MB_ICONEXCLAMATION;
        break;
    case MsgIcon::Critical:
        style |= MB_ICONERROR;
        break;
    case MsgIcon::Question:
        style |= MB_ICONQUESTION;
        break;
    case MsgIcon::None:
        break;
    }
    // Under Wine the window manager alone decides which window is active once the box has
    // gone, and it passes over a window that has no task-bar button: the owner shows one for
    // as long as the box is open.
    const win32::Win32Window* ours = win32::Win32Window::fromHandle(owner);
    const bool buttonForTheBox = ours != nullptr && ours->keptOutOfTaskBar() && win32::underWine();
    if (buttonForTheBox)
        win32::setTaskBarButton(owner, true);
    const int answer = MessageBoxW(owner, win32::widen(request.text).c_str(),
                                   win32::widen(request.caption).c_str(), style);
    for (const HWND window : others)
        if (IsWindow(window))
            EnableWindow(window, TRUE);
    // The owner is the active window again, also where a window manager decides (Wine under
    // X hands the activation back to whichever window the manager chooses).
    if (owner != nullptr && IsWindowVisible(owner))
        SetForegroundWindow(owner);
    if (buttonForTheBox)
        win32::setTaskBarButton(owner, false);
    switch (answer) {
    case IDOK:
        answered(MsgAnswer::OK);
        return;
    case IDYES:
        answered(MsgAnswer::Yes);
        return;
    case IDNO:
        answered(MsgAnswer::No);
        return;
    default:
        answered(MsgAnswer::Cancel);
        return;
    }
}

} // namespace clearmark::runtime
