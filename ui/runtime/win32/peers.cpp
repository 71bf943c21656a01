// The Win32 implementation of the window runtime's peers: a window of our own class with the
// system's EDIT and BUTTON controls, and labels that the window draws itself.
//
// A window is made on the screen when it is first shown (or reached by the test driver): a
// window loaded hidden at start costs nothing until then. Until it exists, its controls keep
// their state themselves; once it does, the system's controls hold it.
#include "runtime/peers.h"

#include "runtime/appinfo.h"
#include "runtime/win32/accessible.h"
#include "runtime/win32/win32.h"

#include <oleacc.h>

#include <algorithm>
#include <stdexcept>
#include <vector>

namespace clearmark::runtime::win32 {
namespace {

constexpr wchar_t kWindowClass[] = L"ClearmarkWindow";
constexpr int kFirstControlId = 100; // clear of IDOK and IDCANCEL
constexpr int kFirstMenuId = 1000;

class Win32Window;

Win32Window* windowFromHandle(HWND hwnd) {
    return reinterpret_cast<Win32Window*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
}

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

LRESULT CALLBACK controlProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);

class Win32Control final : public ControlPeer {
public:
    // A control of the window's table.
    Win32Control(Win32Window& window, const ControlDesign& design, int id)
        : ControlPeer(design.name, design.kind), window_(window), design_(&design), id_(id),
          text_(widen(design.caption)), visible_(design.visibility == Visibility::Shown) {}
    // An entry of the window's menu.
    Win32Control(Win32Window& window, const MenuEntryDesign& entry, int id)
        : ControlPeer(entry.name, ControlKind::MenuItem), window_(window), id_(id),
          text_(widen(entry.caption)) {}
    ~Win32Control() override {
        // The system's control outlives this peer by a moment: it goes back to its own
        // procedure.
        if (hwnd_ != nullptr && systemProc_ != nullptr) {
            SetWindowLongPtrW(hwnd_, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(systemProc_));
            SetWindowLongPtrW(hwnd_, GWLP_USERDATA, 0);
        }
    }
    Win32Control(const Win32Control&) = delete;
    Win32Control& operator=(const Win32Control&) = delete;

    Win32Window& window() const { return window_; }
    // The system's control; none for a label or a menu entry, or while the window is not made.
    HWND handle() const { return hwnd_; }
    int id() const { return id_; }
    bool windowed() const {
        return kind() != ControlKind::Label && kind() != ControlKind::MenuItem;
    }
    const std::wstring& caption() const { return text_; }
    bool centred() const { return design_->alignment == Alignment::Centred; }
    int tabIndex() const { return design_->tabIndex; }
    COLORREF textColor() const {
        return design_->foreColor ? colorRef(*design_->foreColor) : GetSysColor(COLOR_WINDOWTEXT);
    }
    HFONT font() const {
        if (hwnd_ != nullptr)
            return reinterpret_cast<HFONT>(SendMessageW(hwnd_, WM_GETFONT, 0, 0));
        return designFont(design_->font);
    }
    // Within the window's client area.
    RECT area() const {
        return {pixels(design_->left), pixels(design_->top), pixels(design_->left + design_->width),
                pixels(design_->top + design_->height)};
    }
    // Makes the system's control, last in the window's z-order, from the state kept so far.
    void create(HWND parent, bool startsGroup, bool tabStop);
    // The system's procedure of the control, which ours hands every message on to.
    WNDPROC systemProc() const { return systemProc_; }
    // What a screen reader reads: a text box by its label, the picture by the application's
    // title, a button by its caption without the access-key mark.
    std::wstring accessibleName() const;
    long accessibleRole() const;

    std::string text() const override { return narrow(hwnd_ != nullptr ? textOf(hwnd_) : text_); }
    void setText(const std::string& text) override;
    bool visible() const override {
        return hwnd_ != nullptr ? hasStyle(hwnd_, WS_VISIBLE) : visible_;
    }
    void setVisible(bool visible) override;
    bool value() const override {
        if (hwnd_ != nullptr)
            return kind() == ControlKind::OptionButton &&
                   SendMessageW(hwnd_, BM_GETCHECK, 0, 0) == BST_CHECKED;
        return value_;
    }
    void setValue(bool selected) override;
    void setPicture(Icon which) override {
        picture_ = which;
        if (hwnd_ != nullptr)
            showPicture();
    }
    void setAccessibleName(const std::string& name) override { accessibleName_ = widen(name); }
    bool canTakeFocus() const override;
    void setFocus() override;

private:
    void showPicture() const {
        // The icon at the screen's density: 32 pixels at 96 DPI.
        SendMessageW(hwnd_, STM_SETICON,
                     reinterpret_cast<WPARAM>(icon(*picture_, MulDiv(32, screenDpi(), 96))), 0);
        // The picture keeps its designed size, its icon centred.
        SetWindowPos(hwnd_, nullptr, 0, 0, pixels(design_->width), pixels(design_->height),
                     SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    }

    Win32Window& window_;
    const ControlDesign* design_ = nullptr; // none for a menu entry
    HWND hwnd_ = nullptr;
    WNDPROC systemProc_ = nullptr;
    int id_;
    std::wstring text_;
    std::wstring accessibleName_;
    bool visible_ = true;
    bool value_ = false;
    std::optional<Icon> picture_;
};

class Win32Window final : public WindowPeer {
public:
    explicit Win32Window(const WindowDesign& design)
        : design_(design), caption_(widen(design.caption)) {}
    ~Win32Window() override {
        if (hwnd_ == nullptr)
            return;
        // The controls are gone already: the window's last messages go to the system.
        SetWindowLongPtrW(hwnd_, GWLP_USERDATA, 0);
        DestroyWindow(hwnd_);
    }
    Win32Window(const Win32Window&) = delete;
    Win32Window& operator=(const Win32Window&) = delete;

    // The window on the screen, made now if it is not yet.
    HWND made();
    HWND handle() const { return hwnd_; }
    void attach(HWND hwnd) { hwnd_ = hwnd; }

    std::unique_ptr<ControlPeer> createControl(const ControlDesign& design) override {
        auto control =
            std::make_unique<Win32Control>(*this, design, kFirstControlId + int(controls_.size()));
        controls_.push_back(control.get());
        return control;
    }
    void addLine(const LineDesign& design) override { lines_.push_back(design); }
    std::vector<std::unique_ptr<ControlPeer>> createMenu(const MenuDesign& design) override {
        menu_ = &design;
        std::vector<std::unique_ptr<ControlPeer>> entries;
        for (const MenuEntryDesign& entry : design.entries) {
            auto peer = std::make_unique<Win32Control>(*this, entry,
                                                       kFirstMenuId + int(menuEntries_.size()));
            menuEntries_.push_back(peer.get());
            entries.push_back(std::move(peer));
        }
        return entries;
    }
    void setTabOrder(const std::vector<ControlPeer*>& order) override {
        for (ControlPeer* peer : order)
            tabOrder_.push_back(static_cast<Win32Control*>(peer));
    }
    void setDefaultButtons(ControlPeer* defaultButton, ControlPeer* cancelButton) override {
        defaultButton_ = static_cast<Win32Control*>(defaultButton);
        cancelButton_ = static_cast<Win32Control*>(cancelButton);
    }

    std::string caption() const override { return narrow(caption_); }
    void setCaption(const std::string& caption) override {
        caption_ = widen(caption);
        if (hwnd_ != nullptr)
            SetWindowTextW(hwnd_, caption_.c_str());
    }
    bool visible() const override { return hwnd_ != nullptr && IsWindowVisible(hwnd_); }
    void show() override {
        ShowWindow(made(), SW_SHOW);
        SetForegroundWindow(hwnd_);
        if (focus_ != nullptr && focus_->handle() != nullptr)
            SetFocus(focus_->handle());
    }
    void hide() override {
        if (hwnd_ != nullptr)
            ShowWindow(hwnd_, SW_HIDE);
    }
    bool hasFocusedControl() const override { return focused() != nullptr; }

    // The control that holds the focus, or the one that will get it when the window is
    // active.
    Win32Control* focused() const {
        const HWND now = GetFocus();
        if (now != nullptr && hwnd_ != nullptr && IsChild(hwnd_, now))
            return controlWithHandle(now);
        return focus_;
    }
    void rememberFocus(Win32Control* control) { focus_ = control; }
    bool isActive() const { return hwnd_ != nullptr && GetActiveWindow() == hwnd_; }
    Win32Control* controlWithHandle(HWND child) const {
        for (Win32Control* control : controls_)
            if (control->handle() != nullptr && control->handle() == child)
                return control;
        return nullptr;
    }
    // In tab order.
    std::vector<Win32Control*> optionButtons() const {
        std::vector<Win32Control*> options;
        for (Win32Control* control : tabOrder_)
            if (control->kind() == ControlKind::OptionButton)
                options.push_back(control);
        return options;
    }
    // The option buttons are one stop of the Tab key: the selected one, else the first (the
    // system would leave none while none is selected).
    bool isOptionStop(const Win32Control& option) const {
        const std::vector<Win32Control*> options = optionButtons();
        const auto selected = std::find_if(options.begin(), options.end(),
                                           [](const Win32Control* o) { return o->value(); });
        return selected != options.end() ? &option == *selected : &option == options.front();
    }
    void keepOptionTabStops() const {
        for (const Win32Control* option : optionButtons())
            if (option->handle() != nullptr)
                setStyle(option->handle(), WS_TABSTOP, isOptionStop(*option));
    }
    void invalidate(const RECT& area) const {
        if (hwnd_ != nullptr)
            InvalidateRect(hwnd_, &area, TRUE);
    }
    bool pressKey(WPARAM key);
    LRESULT handle(UINT message, WPARAM wParam, LPARAM lParam);
    // The window's controls as a screen reader reads them, in tab order; labels while shown.
    std::vector<AccessibleElement> accessibleElements() const;
    // Gives the remembered control the focus again, unless the window is minimised.
    bool restoreFocus() const;

private:
    void paint(HDC dc, const RECT& dirty) const;

    const WindowDesign& design_;
    HWND hwnd_ = nullptr;
    std::wstring caption_;
    std::vector<Win32Control*> controls_; // owned by the runtime
    std::vector<Win32Control*> menuEntries_;
    std::vector<Win32Control*> tabOrder_;
    const MenuDesign* menu_ = nullptr;
    std::vector<LineDesign> lines_;
    Win32Control* defaultButton_ = nullptr;
    Win32Control* cancelButton_ = nullptr;
    Win32Control* focus_ = nullptr;
};

DWORD styleFor(const WindowDesign& design) {
    if (design.border == Border::FixedDialog)
        return WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_CLIPCHILDREN;
    return WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_THICKFRAME | WS_MINIMIZEBOX |
           WS_CLIPCHILDREN;
}

LRESULT CALLBACK windowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_NCCREATE) {
        const auto* create = reinterpret_cast<const CREATESTRUCTW*>(lParam);
        auto* window = static_cast<Win32Window*>(create->lpCreateParams);
        window->attach(hwnd);
        SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(window));
    }
    if (Win32Window* window = windowFromHandle(hwnd))
        return window->handle(message, wParam, lParam);
    return DefWindowProcW(hwnd, message, wParam, lParam);
}

void registerWindowClass() {
    static const bool registered = [] {
        WNDCLASSEXW windowClass{};
        windowClass.cbSize = sizeof windowClass;
        windowClass.lpfnWndProc = windowProc;
        windowClass.hInstance = GetModuleHandleW(nullptr);
        windowClass.hIcon = icon(Icon::Application, GetSystemMetrics(SM_CXICON));
        windowClass.hIconSm = icon(Icon::Application, GetSystemMetrics(SM_CXSMICON));
        windowClass.hCursor = LoadCursorW(nullptr, MAKEINTRESOURCEW(32512)); // IDC_ARROW
        windowClass.lpszClassName = kWindowClass;
        return RegisterClassExW(&windowClass) != 0;
    }();
    if (!registered)
        throw std::runtime_error("cannot register the window class");
}

HWND Win32Window::made() {
    if (hwnd_ != nullptr)
        return hwnd_;
    registerWindowClass();
    const DWORD style = styleFor(design_);
    RECT frame{0, 0, pixels(design_.clientWidth), pixels(design_.clientHeight)};
    AdjustWindowRectEx(&frame, style, menu_ != nullptr, 0);
    int left = CW_USEDEFAULT;
    int top = CW_USEDEFAULT;
    if (design_.start) {
        left = pixels(design_.start->left) + frame.left;
        top = pixels(design_.start->top) + frame.top;
    }
    HMENU bar = nullptr;
    if (menu_ != nullptr) {
        bar = CreateMenu();
        HMENU menu = CreatePopupMenu();
        for (const Win32Control* entry : menuEntries_)
            AppendMenuW(menu, MF_STRING, static_cast<UINT_PTR>(entry->id()),
                        entry->caption().c_str());
        AppendMenuW(bar, MF_POPUP, reinterpret_cast<UINT_PTR>(menu), widen(menu_->caption).c_str());
    }
    // A window kept out of the task bar is owned by the program's hidden window.
    const HWND owner = design_.inTaskBar ? nullptr : hiddenOwner();
    // The window procedure keeps the handle (WM_NCCREATE); none when the window is gone again.
    if (CreateWindowExW(0, kWindowClass, caption_.c_str(), style, left, top,
                        frame.right - frame.left, frame.bottom - frame.top, owner, bar,
                        GetModuleHandleW(nullptr), this) == nullptr ||
        hwnd_ == nullptr)
        throw std::runtime_error(std::string("cannot create the window ") + design_.name);
    SendMessageW(hwnd_, WM_SETFONT, reinterpret_cast<WPARAM>(designFont({})), FALSE);
    // The keyboard moves through the system's controls in z-order: each is made last in
    // it, in tab order. The option buttons form the window's one group.
    bool inGroup = false;
    for (Win32Control* control : tabOrder_) {
        const bool option = control->kind() == ControlKind::OptionButton;
        control->create(hwnd_, !option || !inGroup, !option || isOptionStop(*control));
        inGroup = option;
    }
    return hwnd_;
}

void Win32Control::create(HWND parent, bool startsGroup, bool tabStop) {
    const wchar_t* windowClass = L"BUTTON";
    DWORD style = WS_CHILD | WS_CLIPSIBLINGS | (startsGroup ? WS_GROUP : 0) |
                  (tabStop ? WS_TABSTOP : 0) | (visible_ ? WS_VISIBLE : 0);
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
    case ControlKind::TextBox:
        windowClass = L"EDIT";
        style |= ES_LEFT | ES_AUTOHSCROLL;
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
    SendMessageW(hwnd_, WM_SETFONT, reinterpret_cast<WPARAM>(designFont(design_->font)), FALSE);
    if (kind() == ControlKind::TextBox)
        SendMessageW(hwnd_, EM_SETLIMITTEXT, 0, 0); // no length limit
    if (value_)
        SendMessageW(hwnd_, BM_SETCHECK, BST_CHECKED, 0);
    if (picture_)
        showPicture();
}

void Win32Control::setText(const std::string& text) {
    text_ = widen(text);
    if (hwnd_ != nullptr)
        SetWindowTextW(hwnd_, text_.c_str());
    else if (kind() == ControlKind::Label)
        window_.invalidate(area());
}

void Win32Control::setVisible(bool visible) {
    if (kind() == ControlKind::MenuItem)
        return;
    visible_ = visible;
    if (hwnd_ != nullptr)
        ShowWindow(hwnd_, visible ? SW_SHOWNA : SW_HIDE);
    else if (kind() == ControlKind::Label)
        window_.invalidate(area());
}

void Win32Control::setValue(bool selected) {
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
    window_.keepOptionTabStops();
}

bool Win32Control::canTakeFocus() const {
    if (!windowed() || !visible())
        return false;
    if (hwnd_ != nullptr)
        return hasStyle(hwnd_, WS_TABSTOP) && IsWindowEnabled(hwnd_);
    return kind() != ControlKind::OptionButton || window_.isOptionStop(*this);
}

void Win32Control::setFocus() {
    window_.rememberFocus(this);
    if (hwnd_ != nullptr && IsWindowVisible(window_.handle()) && window_.isActive())
        SetFocus(hwnd_);
}

bool Win32Window::pressKey(WPARAM key) {
    Win32Control* focusedControl = focused();
    if (key == VK_RETURN) {
        // Enter presses the focused command button, else the window's default button.
        Win32Control* target =
            focusedControl != nullptr && focusedControl->kind() == ControlKind::CommandButton
                ? focusedControl
                : defaultButton_;
        if (target != nullptr)
            SendMessageW(target->handle(), BM_CLICK, 0, 0);
        return true;
    }
    if (key == VK_ESCAPE) {
        if (cancelButton_ != nullptr)
            SendMessageW(cancelButton_->handle(), BM_CLICK, 0, 0);
        return true;
    }
    return false;
}

// A label: opaque in the button face, its caption word-wrapped within its rectangle. A run of
// two or more blanks ends its line, so that the text after it begins on a new one.
void drawLabel(const Win32Control& label, HDC dc, RECT rect) {
    FillRect(dc, &rect, systemBrush(SystemColor::ButtonFace));
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, label.textColor());
    const HGDIOBJ before = SelectObject(dc, label.font());
    const UINT format = DT_WORDBREAK | DT_NOPREFIX | (label.centred() ? DT_CENTER : DT_LEFT);
    const std::wstring& caption = label.caption();
    std::size_t start = 0;
    while (start <= caption.size() && rect.top < rect.bottom) {
        std::size_t end = caption.find(L"  ", start);
        if (end == std::wstring::npos)
            end = caption.size();
        const std::wstring paragraph = caption.substr(start, end - start);
        RECT measured = rect;
        DrawTextW(dc, paragraph.c_str(), int(paragraph.size()), &measured, format | DT_CALCRECT);
        DrawTextW(dc, paragraph.c_str(), int(paragraph.size()), &rect, format);
        rect.top += measured.bottom - measured.top;
        start = caption.find_first_not_of(L' ', end);
        if (start == std::wstring::npos)
            break;
    }
    SelectObject(dc, before);
}

// A command button: the system's raised face, pressed while held, the default button with a
// dark frame, the caption centred and word-wrapped with its access key underlined, and the
// focus rectangle while it has the focus.
void drawButton(const Win32Control& button, const DRAWITEMSTRUCT& item, bool isDefault) {
    HDC dc = item.hDC;
    RECT rect = item.rcItem;
    const bool pushed = (item.itemState & ODS_SELECTED) != 0;
    if (isDefault || (item.itemState & ODS_FOCUS) != 0) {
        FrameRect(dc, &rect, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
        InflateRect(&rect, -1, -1);
    }
    DrawFrameControl(dc, &rect, DFC_BUTTON, DFCS_BUTTONPUSH | (pushed ? DFCS_PUSHED : 0));
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, GetSysColor(COLOR_BTNTEXT));
    const HGDIOBJ before = SelectObject(dc, button.font());
    const std::wstring caption = textOf(button.handle());
    RECT text = rect;
    InflateRect(&text, -2, -2);
    RECT measured = text;
    DrawTextW(dc, caption.c_str(), int(caption.size()), &measured,
              DT_CALCRECT | DT_WORDBREAK | DT_CENTER);
    const int height = measured.bottom - measured.top;
    text.top += std::max(0L, (text.bottom - text.top - height) / 2);
    if (pushed)
        OffsetRect(&text, 1, 1);
    DrawTextW(dc, caption.c_str(), int(caption.size()), &text, DT_WORDBREAK | DT_CENTER);
    SelectObject(dc, before);
    if ((item.itemState & ODS_FOCUS) != 0) {
        RECT focus = rect;
        InflateRect(&focus, -3, -3);
        DrawFocusRect(dc, &focus);
    }
}

// The lines beneath everything, then the labels.
void Win32Window::paint(HDC dc, const RECT& dirty) const {
    for (const LineDesign& line : lines_) {
        const int x1 = pixels(line.x1);
        const int y1 = pixels(line.y1);
        const int x2 = pixels(line.x2);
        const int y2 = pixels(line.y2);
        // The line's pixels start at its design coordinates and grow down and to the right.
        HBRUSH brush = CreateSolidBrush(colorRef(line.color));
        const RECT rect{std::min(x1, x2), std::min(y1, y2),
                        std::max(x1, x2) + (y1 == y2 ? 0 : line.widthPixels),
                        std::max(y1, y2) + (y1 == y2 ? line.widthPixels : 0)};
        FillRect(dc, &rect, brush);
        DeleteObject(brush);
    }
    for (const Win32Control* control : controls_) {
        RECT overlap;
        const RECT area = control->area();
        if (control->kind() == ControlKind::Label && control->visible() &&
            IntersectRect(&overlap, &area, &dirty))
            drawLabel(*control, dc, area);
    }
}

LRESULT Win32Window::handle(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_COMMAND: {
        const int id = LOWORD(wParam);
        const bool fromMenu = lParam == 0 && HIWORD(wParam) == 0;
        const auto& candidates = fromMenu ? menuEntries_ : controls_;
        for (Win32Control* control : candidates)
            if (control->id() == id && (fromMenu || HIWORD(wParam) == BN_CLICKED)) {
                if (control->kind() == ControlKind::OptionButton)
                    keepOptionTabStops();
                if (control->clicked)
                    control->clicked();
                return 0;
            }
        return 0;
    }
    case WM_CLOSE:
        // The title-bar close button, the system menu and Alt+F4 ask the runtime.
        if (closeRequested)
            closeRequested();
        return 0;
    case WM_ERASEBKGND: {
        RECT client;
        GetClientRect(hwnd_, &client);
        FillRect(reinterpret_cast<HDC>(wParam), &client, systemBrush(design_.backColor));
        return 1;
    }
    case WM_PAINT: {
        PAINTSTRUCT paintStruct;
        HDC dc = BeginPaint(hwnd_, &paintStruct);
        paint(dc, paintStruct.rcPaint);
        EndPaint(hwnd_, &paintStruct);
        return 0;
    }
    case WM_CTLCOLORSTATIC: {
        // Option buttons and the picture: opaque in the button face.
        HDC dc = reinterpret_cast<HDC>(wParam);
        SetTextColor(dc, GetSysColor(COLOR_WINDOWTEXT));
        SetBkColor(dc, systemColor(SystemColor::ButtonFace));
        return reinterpret_cast<LRESULT>(systemBrush(SystemColor::ButtonFace));
    }
    case WM_DRAWITEM: {
        const auto* item = reinterpret_cast<const DRAWITEMSTRUCT*>(lParam);
        if (const Win32Control* control = controlWithHandle(item->hwndItem))
            drawButton(*control, *item, control == defaultButton_);
        return TRUE;
    }
    case WM_ACTIVATE:
        // Windows gives an activated window the focus itself; the control that had it gets
        // it back, once the window is no longer minimised (HIWORD).
        if (LOWORD(wParam) == WA_INACTIVE) {
            if (const HWND now = GetFocus(); now != nullptr && IsChild(hwnd_, now))
                focus_ = controlWithHandle(now);
            break;
        }
        if (HIWORD(wParam) == 0 && restoreFocus())
            return 0;
        break;
    case WM_SETFOCUS:
        // The window itself has the focus (restored, a box closed, a click on its frame): it
        // hands it on, as a dialog does.
        if (restoreFocus())
            return 0;
        break;
    case WM_GETOBJECT:
        if (const LRESULT object =
                answerWindowObject(hwnd_, wParam, lParam, [this] { return accessibleElements(); }))
            return object;
        break;
    default:
        break;
    }
    return DefWindowProcW(hwnd_, message, wParam, lParam);
}

bool Win32Window::restoreFocus() const {
    if (hwnd_ == nullptr || IsIconic(hwnd_) || focus_ == nullptr || focus_->handle() == nullptr ||
        !IsWindowVisible(focus_->handle()))
        return false;
    SetFocus(focus_->handle());
    return true;
}

std::vector<AccessibleElement> Win32Window::accessibleElements() const {
    // The labels hold tab indexes too: they are read in that order with the rest.
    std::vector<const Win32Control*> order(controls_.begin(), controls_.end());
    std::stable_sort(order.begin(), order.end(),
                     [](const auto* a, const auto* b) { return a->tabIndex() < b->tabIndex(); });
    std::vector<AccessibleElement> elements;
    for (const Win32Control* control : order)
        if (control->kind() != ControlKind::Label || control->visible())
            elements.push_back({control->accessibleName(), control->accessibleRole(),
                                control->handle(), control->area()});
    return elements;
}

std::wstring Win32Control::accessibleName() const {
    switch (kind()) {
    case ControlKind::TextBox:
        return accessibleName_;
    case ControlKind::Picture:
        return widen(appTitle());
    case ControlKind::CommandButton:
    case ControlKind::OptionButton:
    case ControlKind::MenuItem: {
        // "&&" stands for one ampersand; a single one marks the access key.
        std::wstring name;
        for (std::size_t i = 0; i < text_.size(); ++i) {
            if (text_[i] == L'&' && i + 1 < text_.size())
                ++i;
            if (text_[i] != L'&' || (i > 0 && text_[i - 1] == L'&'))
                name += text_[i];
        }
        return name;
    }
    case ControlKind::Label:
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
    case ControlKind::Picture:
        return ROLE_SYSTEM_GRAPHIC;
    case ControlKind::MenuItem:
        return ROLE_SYSTEM_MENUITEM;
    case ControlKind::Label:
        break;
    }
    return ROLE_SYSTEM_STATICTEXT;
}

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

Win32Control& peerOf(const Control& control) {
    return static_cast<Win32Control&>(control.peer());
}

} // namespace

bool translateWindowKeys(MSG& msg) {
    if (msg.message != WM_KEYDOWN && msg.message != WM_SYSKEYDOWN && msg.message != WM_SYSCHAR &&
        msg.message != WM_CHAR)
        return false;
    HWND top = msg.hwnd;
    while (top != nullptr && (GetWindowLongPtrW(top, GWL_STYLE) & WS_CHILD) != 0)
        top = GetParent(top);
    wchar_t className[32] = {};
    if (top == nullptr || GetClassNameW(top, className, 32) == 0 ||
        std::wstring_view(className) != kWindowClass)
        return false;
    Win32Window* window = windowFromHandle(top);
    if (window == nullptr)
        return false;
    if (msg.message == WM_KEYDOWN && (msg.wParam == VK_RETURN || msg.wParam == VK_ESCAPE))
        return window->pressKey(msg.wParam);
    if (msg.message == WM_CHAR && (msg.wParam == L'\r' || msg.wParam == 0x1B))
        return true; // the key's character, once the key has been handled
    // Tab, the arrow keys among the option buttons, and access keys such as Alt+S.
    return IsDialogMessageW(top, &msg) != FALSE;
}

HWND windowOf(const Form& form) {
    return static_cast<Win32Window&>(form.peer()).made();
}

HWND handleOf(const Control& control) {
    peerOf(control).window().made();
    return peerOf(control).handle();
}

RECT areaOf(const Control& control) {
    return peerOf(control).area();
}

HFONT fontOf(const Control& control) {
    peerOf(control).window().made();
    return peerOf(control).font();
}

void drawLabel(const Control& label, HDC dc, const RECT& rect) {
    drawLabel(peerOf(label), dc, rect);
}

int commandOf(const MenuItem& entry) {
    return peerOf(entry).id();
}

std::string focusedControl(const Form& form) {
    const auto& window = static_cast<Win32Window&>(form.peer());
    const HWND now = GetFocus();
    if (now == nullptr || window.handle() == nullptr || !IsChild(window.handle(), now))
        return {};
    const Win32Control* control = window.controlWithHandle(now);
    return control == nullptr ? std::string() : control->name();
}

} // namespace clearmark::runtime::win32

namespace clearmark::runtime {

std::unique_ptr<WindowPeer> createWindowPeer(const WindowDesign& design) {
    return std::make_unique<win32::Win32Window>(design);
}

} // namespace clearmark::runtime
