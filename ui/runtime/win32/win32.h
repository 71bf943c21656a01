#pragma once

// What the Win32 implementation's parts share.
#include "runtime/design.h"
#include "runtime/pictures.h"

#include <string>
#include <string_view>
#include <vector>
#include <windows.h>

namespace clearmark::runtime::win32 {

// UTF-8 in the windows, UTF-16 at the Windows API.
std::wstring widen(std::string_view text);
std::string narrow(std::wstring_view text);

// The screen's pixels per inch; 1440 / dpi twips make a pixel.
int screenDpi();
int pixels(int twips);

// "MS Sans Serif" at the design's size and weight, for this screen, or its scalable face where
// the system has no such bitmap; kept for the process (fonts.cpp).
HFONT designFont(const FontDesign& font);
// The design's em height in pixels on this screen, and whether GDI draws the font at that
// height and in that weight (bold or not).
int emPixels(const FontDesign& font);
inline constexpr wchar_t kScalableFace[] = L"Microsoft Sans Serif";
bool drawnAsDesigned(HFONT font, int emPixels, bool bold);

// The registered picture as an icon of that size in pixels, made from its nearest image;
// kept for the process. Null for a picture that was not registered (icons.cpp).
HICON pictureIcon(std::string_view name, int size);

COLORREF systemColor(SystemColor color);
HBRUSH systemBrush(SystemColor color);
// A hidden window that owns the clipboard.
HWND hiddenOwner();
// Gives the shown window a button on the task bar, or takes it away; false when the task bar
// could not be asked.
bool setTaskBarButton(HWND window, bool shown);
// Whether the program runs under Wine, whose X11 driver lets the window manager decide which
// window is active.
bool underWine();

// For as long as it lives, a dialog modal for the whole program stands over the active window
// (its owner): the program's other windows are disabled, and when it goes they are enabled
// again and the owner is active again, also where a window manager decides (msgbox.cpp).
class ModalForProgram {
public:
    ModalForProgram();
    ~ModalForProgram();
    ModalForProgram(const ModalForProgram&) = delete;
    ModalForProgram& operator=(const ModalForProgram&) = delete;
    HWND owner() const { return owner_; }

private:
    HWND owner_;
    std::vector<HWND> others_;
    bool buttonForTheDialog_ = false;
};

// Takes the keys that the windows handle themselves (Tab, Enter, Esc, access keys) before
// a message is dispatched; false when the message is to be dispatched as usual (keys.cpp).
bool translateWindowKeys(MSG& msg);
// Dispatches every message waiting in the thread's queue.
void pumpMessages();

} // namespace clearmark::runtime::win32
