#pragma once

// The controls of a Win32 window: the system's EDIT, BUTTON and STATIC controls for the
// windowed kinds, labels that the window draws itself, and the entries of its menu.
#include "runtime/implementation.h"
#include "runtime/win32/win32.h"

#include <optional>
#include <string>

namespace clearmark::runtime::win32 {

class Win32Window;

bool hasStyle(HWND hwnd, LONG_PTR style);
void setStyle(HWND hwnd, LONG_PTR style, bool on);
std::wstring textOf(HWND hwnd);
COLORREF colorRef(Rgb rgb);

// A control of the window's table. Until its window is made on the screen it keeps its state
// itself; once the window is made, the system's control holds it (a label has none).
class Win32Control final : public ControlPeer {
public:
    Win32Control(Win32Window& window, const ControlDesign& design, int id)
        : ControlPeer(design.name, design.kind), window_(window), design_(design), id_(id),
          left_(design.left), top_(design.top), text_(widen(design.caption)),
          visible_(design.visibility == Visibility::Shown) {}
    ~Win32Control() override;
    Win32Control(const Win32Control&) = delete;
    Win32Control& operator=(const Win32Control&) = delete;

    Win32Window& window() const { return window_; }
    // The system's control; none for a label, or while the window is not made.
    HWND handle() const { return hwnd_; }
    int id() const { return id_; }
    bool windowed() const { return kind() != ControlKind::Label; }
    const std::wstring& caption() const { return text_; }
    bool centred() const { return design_.alignment == Alignment::Centred; }
    int tabIndex() const { return design_.tabIndex; }
    bool readOnly() const { return design_.readOnly; }
    // The design's colour of a label's text; grey while the label is disabled.
    COLORREF textColor() const;
    HFONT font() const;
    // Within the window's client area: where the control stands now, at its designed size.
    RECT area() const;
    // Makes the system's control, last in the window's z-order, from the state kept so far.
    void createOnScreen(HWND parent, bool startsGroup, bool tabStop);
    // The system's procedure of the control, which ours hands every message on to.
    WNDPROC systemProc() const { return systemProc_; }
    // What a screen reader reads: the name the window gave the control; else the picture by
    // the application's title, a button or check box by its caption without the access-key
    // mark, a text box by nothing.
    std::wstring accessibleName() const;
    long accessibleRole() const;

    std::string text() const override { return narrow(hwnd_ != nullptr ? textOf(hwnd_) : text_); }
    void setText(const std::string& text) override;
    bool visible() const override {
        return hwnd_ != nullptr ? hasStyle(hwnd_, WS_VISIBLE) : visible_;
    }
    void setVisible(bool visible) override;
    bool enabled() const override { return enabled_; }
    void setEnabled(bool enabled) override;
    void move(int left, int top) override;
    bool value() const override;
    void setValue(bool selected) override;
    void setPicture(const std::string& name) override;
    void setAccessibleName(const std::string& name) override;
    bool canTakeFocus() const override;
    void setFocus() override;

    // The edit control reports a change of its text (EN_CHANGE): the user's, unless it comes
    // from setText.
    void textChanged();

private:
    void showPicture() const;

    Win32Window& window_;
    const ControlDesign& design_;
    HWND hwnd_ = nullptr;
    WNDPROC systemProc_ = nullptr;
    int id_;
    int left_; // twips
    int top_;
    std::wstring text_;
    std::wstring accessibleName_;
    bool visible_ = true;
    bool enabled_ = true;
    bool value_ = false;
    bool settingText_ = false;
    std::optional<std::string> picture_;
};

// An entry of one of the window's menus: a command of the menu bar, which the window reports
// by its number (WM_COMMAND), unique among all the window's entries.
class MenuEntry final : public ControlPeer {
public:
    MenuEntry(Win32Window& window, const MenuEntryDesign& entry, int id)
        : ControlPeer(entry.name, ControlKind::MenuItem), window_(window), id_(id),
          text_(widen(entry.caption)), shortcut_(entry.shortcut) {}

    int id() const { return id_; }
    Win32Window& window() const { return window_; }
    const std::wstring& caption() const { return text_; }
    // The entry's text in the menu: its caption, with its shortcut key after a tab
    // ("&New\tCtrl+N"), which the menu aligns in a column of its own.
    std::wstring menuText() const;

    std::string text() const override { return narrow(text_); }
    // The menu is built from the captions when the window is made.
    void setText(const std::string& text) override { text_ = widen(text); }
    bool visible() const override { return true; }
    void setVisible(bool /*visible*/) override {}
    bool enabled() const override { return enabled_; }
    // Greys the entry in the menu once the window is made; the menu is made with it greyed.
    void setEnabled(bool enabled) override;
    void move(int /*left*/, int /*top*/) override {}
    bool canTakeFocus() const override { return false; }
    void setFocus() override {}

private:
    Win32Window& window_;
    int id_;
    std::wstring text_;
    std::optional<Shortcut> shortcut_;
    bool enabled_ = true;
};

} // namespace clearmark::runtime::win32
