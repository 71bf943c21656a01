#pragma once

// What the Win32 implementation's parts share, and what its test driver reaches.
#include "runtime/design.h"
#include "runtime/form.h"

#include <string>
#include <string_view>
#include <windows.h>

namespace clearmark::runtime::win32 {

// Resource numbers of the two icons in the executable.
inline constexpr int kApplicationIconId = 1;
inline constexpr int kAboutPictureId = 2;

// UTF-8 in the windows, UTF-16 at the Windows API.
std::wstring widen(std::string_view text);
std::string narrow(std::wstring_view text);

// The screen's pixels per inch; 1440 / dpi twips make a pixel.
int screenDpi();
int pixels(int twips);
// "MS Sans Serif" at the design's size and weight, for this screen, or its scalable face where
// the system has no such bitmap; kept for the process.
HFONT designFont(const FontDesign& font);
// The design's em height in pixels on this screen, and whether GDI draws the font at that
// height and in that weight (bold or not).
int emPixels(const FontDesign& font);
inline constexpr wchar_t kScalableFace[] = L"Microsoft Sans Serif";
bool drawnAsDesigned(HFONT font, int emPixels, bool bold);
HICON icon(Icon which, int size);
COLORREF systemColor(SystemColor color);
HBRUSH systemBrush(SystemColor color);
// A hidden window that owns the windows kept out of the task bar and the clipboard.
HWND hiddenOwner();

// Takes the keys that the windows handle themselves (Tab, Enter, Esc, access keys) before
// a message is dispatched; false when the message is to be dispatched as usual.
bool translateWindowKeys(MSG& msg);
// Dispatches every message waiting in the thread's queue.
void pumpMessages();

// For the test driver. A window not yet on the screen is made (hidden) when reached.
HWND windowOf(const Form& form);
// The system's control; none for a label, which its window draws itself.
HWND handleOf(const Control& control);
// The control's rectangle in its window's client area, its font, and a label as its window
// draws it into that rectangle of a device context.
RECT areaOf(const Control& control);
HFONT fontOf(const Control& control);
void drawLabel(const Control& label, HDC dc, const RECT& rect);
// The menu entry's command number.
int commandOf(const MenuItem& entry);
// The name of the window's control that holds the system's focus; "" for none.
std::string focusedControl(const Form& form);

} // namespace clearmark::runtime::win32
