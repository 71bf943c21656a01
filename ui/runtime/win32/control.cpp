// The controls of a Win32 window: the system's controls, made when their window is made, and
// the state they keep until then.
#include "runtime/win32/control.h"

#include "runtime/appinfo.h"
#include "runtime/win32/window.h"

#include <oleacc.h>

#include <stdexcept>

namespace clearmark::runtime::win32 {
namespace {

// Every system control of our windows: it remembers the focus for its window when it takes
// it, answers a screen reader with its name, and leaves the rest to the system.
LRESULT CALLBACK controlProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    auto* control = reinterpret_cast<Win32Control*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
    if (control == nullptr)
        return DefWindowProcW(hwnd, message, wParam, lParam);
    if (message == WM_SETFOCUS)
        control->window().rememberFocus(control);
    if (message == WM_GETOBJECT)
        if (const LRESULT object =
                answerControlObject(hwnd, wParam, lParam, control->accessibleName()))
            return object;
    return CallWindowProcW(control->systemProc(), hwnd, message, wParam, lParam);
}

} // namespace

std::wstring textOf(HWND hwnd) {
    std::wstring text(static_cast<std::size_t>(GetWindowTextLengthW(hwnd)) + 1, L'\0');
    text.resize(static_cast<std::size_t>(GetWindowTextW(hwnd, text.data(), int(text.size()))));
    return text;
}

bool hasStyle(HWND hwnd, LONG_PTR style) {
    return (GetWindowLongPtrW(hwnd, GWL_STYLE) & style) == style;
}

void setStyle(HWND hwnd, LONG_PTR style, bool on) {
    const LONG_PTR now = GetWindowLongPtrW(hwnd, GWL_STYLE);
    SetWindowLongPtrW(hwnd, GWL_STYLE, on ? now | style : now & ~style);
}

COLORREF colorRef(Rgb rgb) {
    return RGB((rgb >> 16) & 0xFF, (rgb >> 8) & 0xFF, rgb & 0xFF);
}

Win32Control::~Win32Control() {
    // The system's control outlives this peer by a moment: it goes back to its own procedure.
    if (hwnd_ != nullptr && systemProc_ != nullptr) {
        SetWindowLongPtrW(hwnd_, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(systemProc_));
        SetWindowLongPtrW(hwnd_, GWLP_USERDATA, 0);
    }
}

COLORREF Win32Control::textColor() const {
    if (!enabled_)
        return GetSysColor(COLOR_GRAYTEXT);
    return design_.foreColor ? colorRef(*design_.foreColor) : GetSysColor(COLOR_WINDOWTEXT);
}

HFONT Win32Control::font() const {
    if (hwnd_ != nullptr)
        return reinterpret_cast<HFONT>(SendMessageW(hwnd_, WM_GETFONT, 0, 0));
    return designFont(design_.font);
}

RECT Win32Control::area() const {
    // The size in pixels is the one the design's place gives; moving the control keeps it.
    const int left = pixels(left_);
    const int top = pixels(top_);
    return {left, top, left + pixels(design_.left + design_.width) - pixels(design_.left),
            top + pixels(design_.top + design_.height) - pixels(design_.top)};
}

void Win32Control::createOnScreen(HWND parent, bool startsGroup, bool tabStop) {
    const wchar_t* windowClass = L"BUTTON";
    DWORD style = WS_CHILD | WS_CLIPSIBLINGS | (startsGroup ? WS_GROUP : 0) |
                  (tabStop ? WS_TABSTOP : 0) | (visible_ ? WS_VISIBLE : 0) |
                  (enabled_ ? 0 : WS_DISABLED);
    DWORD exStyle = 0;
    switch (kind()) {
    case ControlKind::CommandButton:
        // Drawn by the window (WM_DRAWITEM): the caption wraps in the whole button, as the
        // designs' two-line captions need.
        style |= BS_OWNERDRAW;
        break;
    case ControlKind::OptionButton:
        style |= BS_AUTORADIOBUTTON;
        break;
    case ControlKind::CheckBox:
        style |= BS_AUTOCHECKBOX;
        break;
    case ControlKind::TextBox:
        windowClass = L"EDIT";
        style |= ES_LEFT | ES_AUTOHSCROLL | (readOnly() ? ES_READONLY : 0);
        exStyle = WS_EX_CLIENTEDGE;
        break;
    case ControlKind::Picture:
        windowClass = L"STATIC";
        style |= SS_ICON | SS_CENTERIMAGE | SS_NOTIFY;
        exStyle = WS_EX_CLIENTEDGE;
        break;
    case ControlKind::Label:
    case ControlKind::MenuItem:
        throw std::logic_error(name() + " has no window of its own");
    }
    const RECT rect = area();
    hwnd_ = CreateWindowExW(exStyle, windowClass, text_.c_str(), style, rect.left, rect.top,
                            rect.right - rect.left, rect.bottom - rect.top, parent,
                            reinterpret_cast<HMENU>(static_cast<INT_PTR>(id_)),
                            GetModuleHandleW(nullptr), nullptr);
    if (hwnd_ == nullptr)
        throw std::runtime_error("cannot create the control " + name());
    SetWindowLongPtrW(hwnd_, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
    systemProc_ = reinterpret_cast<WNDPROC>(
        SetWindowLongPtrW(hwnd_, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(controlProc)));
    SendMessageW(hwnd_, WM_SETFONT, reinterpret_cast<WPARAM>(designFont(design_.font)), FALSE);
    if (kind() == ControlKind::TextBox)
        SendMessageW(hwnd_, EM_SETLIMITTEXT, 0, 0); // no length limit
    if (value_)
        SendMessageW(hwnd_, BM_SETCHECK, BST_CHECKED, 0);
    if (picture_)
        showPicture();
}

void Win32Control::setText(const std::string& text) {
    text_ = widen(text);
    if (hwnd_ != nullptr) {
        // The edit control reports the new text as a change of its own (EN_CHANGE).
        const bool before = settingText_;
        settingText_ = true;
        SetWindowTextW(hwnd_, text_.c_str());
        settingText_ = before;
        if (kind() == ControlKind::TextBox) {
            // A text the program writes is read from its start: the caret there, in view.
            SendMessageW(hwnd_, EM_SETSEL, 0, 0);
            SendMessageW(hwnd_, EM_SCROLLCARET, 0, 0);
        }
    } else if (kind() == ControlKind::Label) {
        window_.invalidate(area());
    }
}

void Win32Control::textChanged() {
    if (kind() == ControlKind::TextBox && !settingText_ && changed)
        changed();
}

void Win32Control::setVisible(bool visible) {
    visible_ = visible;
    if (hwnd_ != nullptr)
        ShowWindow(hwnd_, visible ? SW_SHOWNA : SW_HIDE);
    else if (kind() == ControlKind::Label)
        window_.invalidate(area());
}

void Win32Control::setEnabled(bool enabled) {
    if (enabled == enabled_)
        return;
    enabled_ = enabled;
    if (!enabled)
        window_.focusPast(*this);
    if (hwnd_ != nullptr)
        EnableWindow(hwnd_, enabled ? TRUE : FALSE);
    else if (kind() == ControlKind::Label)
        window_.invalidate(area());
    // Tab stops where the runtime says, now that the control is (or is no longer) one.
    window_.keepTabStops();
}

std::wstring MenuEntry::menuText() const {
    return shortcut_ ? text_ + L"\t" + widen(shortcutText(*shortcut_)) : text_;
}

void MenuEntry::setEnabled(bool enabled) {
    enabled_ = enabled;
    if (window_.handle() != nullptr)
        EnableMenuItem(GetMenu(window_.handle()), static_cast<UINT>(id_),
                       MF_BYCOMMAND | (enabled ? MF_ENABLED : MF_GRAYED));
}

void Win32Control::move(int left, int top) {
    const RECT before = area();
    left_ = left;
    top_ = top;
    const RECT now = area();
    if (hwnd_ != nullptr)
        // The system redraws the control and what it uncovers.
        SetWindowPos(hwnd_, nullptr, now.left, now.top, 0, 0,
                     SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    else if (kind() == ControlKind::Label) {
        window_.invalidate(before);
        window_.invalidate(now);
    }
}

bool Win32Control::value() const {
    if (hwnd_ != nullptr)
        return (kind() == ControlKind::OptionButton || kind() == ControlKind::CheckBox) &&
               SendMessageW(hwnd_, BM_GETCHECK, 0, 0) == BST_CHECKED;
    return value_;
}

void Win32Control::setValue(bool selected) {
    if (kind() == ControlKind::CheckBox) {
        value_ = selected;
        if (hwnd_ != nullptr)
            SendMessageW(hwnd_, BM_SETCHECK, selected ? BST_CHECKED : BST_UNCHECKED, 0);
        return;
    }
    if (kind() != ControlKind::OptionButton)
        return;
    if (selected)
        for (Win32Control* other : window_.optionButtons()) {
            other->value_ = false;
            if (other->hwnd_ != nullptr)
                SendMessageW(other->hwnd_, BM_SETCHECK, BST_UNCHECKED, 0);
        }
    value_ = selected;
    if (hwnd_ != nullptr)
        SendMessageW(hwnd_, BM_SETCHECK, selected ? BST_CHECKED : BST_UNCHECKED, 0);
    window_.keepTabStops();
}

void Win32Control::setPicture(const std::string& name) {
    picture_ = name;
    if (hwnd_ != nullptr)
        showPicture();
}

void Win32Control::showPicture() const {
    // The picture at the screen's density: 32 pixels at 96 DPI.
    SendMessageW(hwnd_, STM_SETICON,
                 reinterpret_cast<WPARAM>(pictureIcon(*picture_, MulDiv(32, screenDpi(), 96))), 0);
    // The picture keeps its designed size, its icon centred.
    const RECT rect = area();
    SetWindowPos(hwnd_, nullptr, 0, 0, rect.right - rect.left, rect.bottom - rect.top,
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void Win32Control::setAccessibleName(const std::string& name) {
    accessibleName_ = widen(name);
    // A screen reader that is reading the control hears of its new name.
    if (hwnd_ != nullptr)
        NotifyWinEvent(EVENT_OBJECT_NAMECHANGE, hwnd_, OBJID_CLIENT, CHILDID_SELF);
}

bool Win32Control::canTakeFocus() const {
    if (!windowed() || !visible())
        return false;
    if (hwnd_ != nullptr)
        return hasStyle(hwnd_, WS_TABSTOP) && IsWindowEnabled(hwnd_);
    return window_.takesTab(*this);
}

void Win32Control::setFocus() {
    window_.rememberFocus(this);
    if (hwnd_ != nullptr && IsWindowVisible(window_.handle()) && window_.isActive())
        SetFocus(hwnd_);
}

std::wstring Win32Control::accessibleName() const {
    // The name the window gave it, else the one it has of itself.
    if (!accessibleName_.empty())
        return accessibleName_;
    switch (kind()) {
    case ControlKind::TextBox:
        return {};
    case ControlKind::Picture:
        return widen(appTitle());
    case ControlKind::CommandButton:
    case ControlKind::OptionButton:
    case ControlKind::CheckBox:
        return widen(withoutAccessKeyMarks(narrow(text_)));
    case ControlKind::Label:
    case ControlKind::MenuItem:
        break;
    }
    return text_;
}

long Win32Control::accessibleRole() const {
    switch (kind()) {
    case ControlKind::TextBox:
        return ROLE_SYSTEM_TEXT;
    case ControlKind::CommandButton:
        return ROLE_SYSTEM_PUSHBUTTON;
    case ControlKind::OptionButton:
        return ROLE_SYSTEM_RADIOBUTTON;
    case ControlKind::CheckBox:
        return ROLE_SYSTEM_CHECKBUTTON;
    case ControlKind::Picture:
        return ROLE_SYSTEM_GRAPHIC;
    case ControlKind::Label:
    case ControlKind::MenuItem:
        break;
    }
    return ROLE_SYSTEM_STATICTEXT;
}

} // namespace clearmark::runtime::win32
