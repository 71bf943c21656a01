#pragma once

// What a screen reader reads of the Win32 windows, through MSAA (IAccessible), which
// Narrator, NVDA and JAWS read for classic controls and which UI Automation proxies.
#include <functional>
#include <string>
#include <vector>
#include <windows.h>

namespace clearmark::runtime::win32 {

// One element of a window as a screen reader meets it: a control of the system's own, or a
// label that its window draws.
struct AccessibleElement {
    std::wstring name;
    long role =
        0; // ROLE_SYSTEM_STATICTEXT, _TEXT, _PUSHBUTTON, _RADIOBUTTON, _CHECKBUTTON, _GRAPHIC
    HWND hwnd = nullptr; // the system's control; none for a label drawn by its window
    RECT area{};         // within the window's client area
};

// The elements of a window, in reading order, as they stand when a reader asks (a hidden
// label is not among them).
using AccessibleElements = std::function<std::vector<AccessibleElement>()>;

// Answers WM_GETOBJECT for a window of ours: for its client area an object whose children
// are the window's elements; anything else as the system answers it.
LRESULT answerWindowObject(HWND window, WPARAM wParam, LPARAM lParam,
                           const AccessibleElements& elements);

// Answers WM_GETOBJECT for one of the system's controls: the system's own object with the
// given name ("" keeps the system's), and the role and state of its class and style; anything
// else as the system answers it. Returns 0 when the system's control is to answer the message
// itself.
LRESULT answerControlObject(HWND control, WPARAM wParam, LPARAM lParam, const std::wstring& name);

} // namespace clearmark::runtime::win32
