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

namespace win32 {

ModalForProgram::ModalForProgram() : owner_(GetActiveWindow()) {
    // The system disables the owner; the other windows are disabled here.
    if (owner_ != nullptr)
        others_ = windowsTakingInput();
    others_.erase(std::remove(others_.begin(), others_.end(), owner_), others_.end());
    for (const HWND window : others_)
        EnableWindow(window, FALSE);
    // Under Wine the window manager alone decides which window is active once the dialog has
    // gone, and it passes over a window that has no task-bar button: the owner shows one for
    // as long as the dialog is open.
    const Win32Window* ours = Win32Window::fromHandle(owner_);
    buttonForTheDialog_ = ours != nullptr && ours->keptOutOfTaskBar() && underWine();
    if (buttonForTheDialog_)
        setTaskBarButton(owner_, true);
}

ModalForProgram::~ModalForProgram() {
    for (const HWND window : others_)
        if (IsWindow(window))
            EnableWindow(window, TRUE);
    // The owner is the active window again, also where a window manager decides (Wine under
    // X hands the activation back to whichever window the manager chooses).
    if (owner_ != nullptr && IsWindowVisible(owner_))
        SetForegroundWindow(owner_);
    if (buttonForTheDialog_)
        setTaskBarButton(owner_, false);
}

} // namespace win32

void showMsgBoxOnScreen(const MsgBoxRequest& request,
                        const std::function<void(MsgAnswer)>& answered) {
    // The box belongs to the window whose handler opens it: it stands over that window, has
    // no task-bar button of its own, and gives that window back the keyboard when it closes.
    int answer = 0;
    {
        const win32::ModalForProgram modal;
        UINT style = modal.owner() != nullptr ? MB_APPLMODAL : MB_TASKMODAL;
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
        answer = MessageBoxW(modal.owner(), win32::widen(request.text).c_str(),
                             win32::widen(request.caption).c_str(), style);
    }
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
