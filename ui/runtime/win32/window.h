#pragma once

// A window of the program on Win32: a window of our own class, made on the screen when it is
// first shown (or reached by the test driver), so that a window loaded hidden at start costs
// nothing until then.
#include "runtime/implementation.h"
#include "runtime/win32/accessible.h"
#include "runtime/win32/control.h"
#include "runtime/win32/win32.h"

#include <span>
#include <string>
#include <vector>

namespace clearmark::runtime::win32 {

inline constexpr wchar_t kWindowClass[] = L"ClearmarkWindow";

// A label: opaque in the button face, its caption word-wrapped within the rectangle.
void drawLabel(const Win32Control& label, HDC dc, RECT rect);
// A command button of ours (owner-drawn), as the system draws its push buttons.
void drawButton(const Win32Control& button, const DRAWITEMSTRUCT& item, bool isDefault);

class Win32Window final : public WindowPeer {
public:
    explicit Win32Window(const WindowDesign& design);
    ~Win32Window() override;
    Win32Window(const Win32Window&) = delete;
    Win32Window& operator=(const Win32Window&) = delete;

    // The window of our class that the handle names; null for any other.
    static Win32Window* fromHandle(HWND hwnd);
    // A window the design keeps out of the task bar.
    bool keptOutOfTaskBar() const { return !design_.inTaskBar; }

    // The window on the screen: made now, hidden, with its controls, if it is not yet.
    HWND createIfMissing();
    // The window on the screen; null while it is not made.
    HWND handle() const { return hwnd_; }
    void attach(HWND hwnd) { hwnd_ = hwnd; }

    std::unique_ptr<ControlPeer> createControl(const ControlDesign& design) override;
    void addLine(const LineDesign& design) override { lines_.push_back(design); }
    std::vector<std::unique_ptr<ControlPeer>>
    createMenus(std::span<const MenuDesign> menus) override;
    void setKeyboardOrder(const KeyboardOrder& order) override { order_ = order; }
    void setDefaultButtons(ControlPeer* defaultButton, ControlPeer* cancelButton) override;

    std::string caption() const override { return narrow(caption_); }
    void setCaption(const std::string& caption) override;
    void setModified(bool modified) override;
    bool visible() const override { return hwnd_ != nullptr && IsWindowVisible(hwnd_); }
    void setClientHeight(int twips) override;
    void show() override;
    void hide() override;
    bool hasFocusedControl() const override { return focused() != nullptr; }

    // The control that holds the focus, or the one that will get it when the window is
    // active.
    Win32Control* focused() const;
    void rememberFocus(Win32Control* control) { focus_ = control; }
    bool isActive() const { return hwnd_ != nullptr && GetActiveWindow() == hwnd_; }
    Win32Control* controlWithHandle(HWND child) const;
    // The option buttons, in keyboard order (the window's one group).
    std::vector<Win32Control*> optionButtons() const;
    // Whether Tab stops at the control, as the runtime decides.
    bool takesTab(const Win32Control& control) const { return runtime::takesTab(order_, control); }
    // The controls' tab stops follow the option buttons' selection and the controls' enabled
    // state, as the runtime decides.
    void keepTabStops() const;
    // Hands the focus, if the control holds it, to the next Tab stop (it is being disabled).
    void focusPast(const Win32Control& control);
    // Ctrl with a letter: chooses the menu entry the runtime names; false for none.
    bool pressShortcut(WPARAM letter);
    void invalidate(const RECT& area) const;
    // Enter and Esc, before the focused control sees them; false for any other key.
    bool pressKey(WPARAM key);
    LRESULT handle(UINT message, WPARAM wParam, LPARAM lParam);

private:
    // The lines beneath everything, then the labels (paint.cpp).
    void paint(HDC dc, const RECT& dirty) const;
    // The window's controls as a screen reader reads them, in tab order; labels while shown.
    std::vector<AccessibleElement> accessibleElements() const;
    // Gives the remembered control the focus again, unless the window is minimised.
    bool restoreFocus() const;
    void onCommand(WPARAM wParam, LPARAM lParam);
    void onActivate(WPARAM wParam);

    const WindowDesign& design_;
    HWND hwnd_ = nullptr;
    std::wstring caption_;
    bool modified_ = false;
    // The title bar's text: the caption without its marker, after an asterisk when modified.
    std::wstring shownCaption() const;
    std::vector<Win32Control*> controls_; // owned by the runtime
    std::vector<MenuEntry*> menuEntries_;
    KeyboardOrder order_;               // every windowed control, as the keyboard meets them
    std::span<const MenuDesign> menus_; // the design's; their entries in menuEntries_, in order
    int clientHeight_;                  // twips
    std::vector<LineDesign> lines_;
    Win32Control* defaultButton_ = nullptr;
    Win32Control* cancelButton_ = nullptr;
    Win32Control* focus_ = nullptr;
};

} // namespace clearmark::runtime::win32
