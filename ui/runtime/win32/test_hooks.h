#pragma once

// What the Win32 implementation's tests and their driver reach of the windows. Never used by
// the program itself.
#include "runtime/controls.h"
#include "runtime/form.h"
#include "runtime/win32/win32.h"

#include <string>

namespace clearmark::runtime::win32 {

// The window on the screen; a window not made yet is made now, hidden.
HWND createWindowIfMissing(const Form& form);
// The system's control, its window made first where it is not yet; none for a label, which
// its window draws itself.
HWND createControlIfMissing(const Control& control);
// The control's rectangle in its window's client area.
RECT areaOf(const Control& control);
// The control's font, its window made first where it is not yet.
HFONT fontOnScreen(const Control& control);
// Draws the label as its window draws it into that rectangle of a device context.
void drawLabel(const Control& label, HDC dc, const RECT& rect);
// The menu entry's command number, within its window, and that window (null until made).
int commandOf(const MenuItem& entry);
HWND windowOf(const MenuItem& entry);
// The name of the window's control that holds the system's focus; "" for none.
std::string focusedControl(const Form& form);

} // namespace clearmark::runtime::win32
