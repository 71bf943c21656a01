// The Win32 implementation of the window runtime's peers: a window of our own class with the
// system's EDIT, STATIC and BUTTON controls.
#include "runtime/peers.h"

#include "runtime/win32/win32.h"

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

class Win32Control final : public ControlPeer {
public:
    Win32Control(std::string name, ControlKind kind, HWND hwnd, int id,
                 std::optional<Rgb> foreColor, bool centred = false)
        : ControlPeer(std::move(name), kind), hwnd_(hwnd), id_(id), foreColor_(foreColor),
          centred_(centred) {}

    HWND handle() const { return hwnd_; }
    int id() const { return id_; }
    std::optional<Rgb> foreColor() const { return foreColor_; }
    bool centred() const { return centred_; }
    COLORREF textColor() const {
        if (!foreColor_)
            return GetSysColor(COLOR_WINDOWTEXT);
        return RGB((*foreColor_ >> 16) & 0xFF, (*foreColor_ >> 8) & 0xFF, *foreColor_ & 0xFF);
    }

    std::string text() const override {
        if (kind() == ControlKind::MenuItem)
            return menuText_;
        return narrow(textOf(hwnd_));
    }
    void setText(const std::string& text) override {
        if (kind() != ControlKind::MenuItem)
            SetWindowTextW(hwnd_, widen(text).c_str());
    }
    bool visible() const override {
        return kind() == ControlKind::MenuItem || hasStyle(hwnd_, WS_VISIBLE);
    }
    void setVisible(bool visible) override {
        if (kind() != ControlKind::MenuItem)
            ShowWindow(hwnd_, visible ? SW_SHOWNA : SW_HIDE);
    }
    bool value() const override {
        return kind() == ControlKind::OptionButton &&
               SendMessageW(hwnd_, BM_GETCHECK, 0, 0) == BST_CHECKED;
    }
    void setValue(bool selected) override;
    void setPicture(Icon which) override {
        RECT rect;
        GetWindowRect(hwnd_, &rect);
        SendMessageW(hwnd_, STM_SETICON, reinterpret_cast<WPARAM>(icon(which, 32)), 0);
        // The picture keeps its designed size, its icon centred.
        SetWindowPos(hwnd_, nullptr, 0, 0, rect.right - rect.left, rect.bottom - rect.top,
                     SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    }
    bool canTakeFocus() const override {
        return kind() != ControlKind::MenuItem && hasStyle(hwnd_, WS_VISIBLE | WS_TABSTOP) &&
               IsWindowEnabled(hwnd_);
    }
    void setFocus() override;

    void setMenuText(std::string text) { menuText_ = std::move(text); }

private:
    HWND hwnd_;
    int id_;
    std::optional<Rgb> foreColor_;
    bool centred_;
    std::string menuText_;
};

class Win32Window final : public WindowPeer {
public:
    explicit Win32Window(const WindowDesign& design);
    ~Win32Window() override {
        // The controls are gone already: the window's last messages go to the system.
        SetWindowLongPtrW(hwnd_, GWLP_USERDATA, 0);
        DestroyWindow(hwnd_);
    }
    Win32Window(const Win32Window&) = delete;
    Win32Window& operator=(const Win32Window&) = delete;

    HWND handle() const { return hwnd_; }
    void attach(HWND hwnd) { hwnd_ = hwnd; }

    std::unique_ptr<ControlPeer> createControl(const ControlDesign& design) override;
    void addLine(const LineDesign& design) override { lines_.push_back(design); }
    std::vector<std::unique_ptr<ControlPeer>> createMenu(const MenuDesign& design) override;
    void setTabOrder(const std::vector<ControlPeer*>& order) override;
    void setDefaultButtons(ControlPeer* defaultButton, ControlPeer* cancelButton) override {
        defaultButton_ = static_cast<Win32Control*>(defaultButton);
        cancelButton_ = static_cast<Win32Control*>(cancelButton);
        if (defaultButton_ != nullptr)
            InvalidateRect(defaultButton_->handle(), nullptr, TRUE);
    }

    std::string caption() const override { return narrow(textOf(hwnd_)); }
    void setCaption(const std::string& caption) override {
        SetWindowTextW(hwnd_, widen(caption).c_str());
    }
    bool visible() const override { return IsWindowVisible(hwnd_) != FALSE; }
    void show() override {
        ShowWindow(hwnd_, SW_SHOW);
        SetForegroundWindow(hwnd_);
        if (focus_ != nullptr && IsWindow(focus_))
            SetFocus(focus_);
    }
    void hide() override { ShowWindow(hwnd_, SW_HIDE); }
    bool hasFocusedControl() const override { return focused() != nullptr; }

    // The child that holds the focus, or the one that will get it when the window is active.
    HWND focused() const {
        const HWND now = GetFocus();
        return now != nullptr && IsChild(hwnd_, now) ? now : focus_;
    }
    void rememberFocus(HWND child) { focus_ = child; }
    Win32Control* controlWithHandle(HWND child) const {
        for (Win32Control* control : controls_)
            if (control->handle() == child)
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
    void keepOptionTabStops() const {
        const std::vector<Win32Control*> options = optionButtons();
        const auto selected = std::find_if(options.begin(), options.end(),
                                           [](const Win32Control* o) { return o->value(); });
        for (const Win32Control* option : options) {
            const bool stop =
                selected != options.end() ? option == *selected : option == options.front();
            const HWND hwnd = option->handle();
            const LONG_PTR style = GetWindowLongPtrW(hwnd, GWL_STYLE);
            SetWindowLongPtrW(hwnd, GWL_STYLE, stop ? style | WS_TABSTOP : style & ~WS_TABSTOP);
        }
    }
    bool pressKey(WPARAM key);
    LRESULT handle(UINT message, WPARAM wParam, LPARAM lParam);

private:
    void paintLines(HDC dc) const;

    const WindowDesign& design_;
    HWND hwnd_ = nullptr;
    std::vector<Win32Control*> controls_; // owned by the runtime
    std::vector<Win32Control*> menuEntries_;
    std::vector<Win32Control*> tabOrder_;
    std::vector<LineDesign> lines_;
    Win32Control* defaultButton_ = nullptr;
    Win32Control* cancelButton_ = nullptr;
    HWND focus_ = nullptr;
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

Win32Window::Win32Window(const WindowDesign& design) : design_(design) {
    registerWindowClass();
    const DWORD style = styleFor(design);
    RECT frame{0, 0, pixels(design.clientWidth), pixels(design.clientHeight)};
    AdjustWindowRectEx(&frame, style, design.menu != nullptr, 0);
    int left = CW_USEDEFAULT;
    int top = CW_USEDEFAULT;
    if (design.start) {
        left = pixels(design.start->left) + frame.left;
        top = pixels(design.start->top) + frame.top;
    }
    // A window kept out of the task bar is owned by the program's hidden window.
    const HWND owner = design.inTaskBar ? nullptr : hiddenOwner();
    hwnd_ = CreateWindowExW(0, kWindowClass, widen(design.caption).c_str(), style, left, top,
                            frame.right - frame.left, frame.bottom - frame.top, owner, nullptr,
                            GetModuleHandleW(nullptr), this);
    if (hwnd_ == nullptr)
        throw std::runtime_error(std::string("cannot create the window ") + design.name);
    SendMessageW(hwnd_, WM_SETFONT, reinterpret_cast<WPARAM>(designFont({})), FALSE);
}

std::unique_ptr<ControlPeer> Win32Window::createControl(const ControlDesign& design) {
    const wchar_t* windowClass = L"BUTTON";
    DWORD style = WS_CHILD | WS_CLIPSIBLINGS;
    DWORD exStyle = 0;
    switch (design.kind) {
    case ControlKind::CommandButton:
        // Drawn by the window (WM_DRAWITEM): the caption wraps in the whole button, as the
        // designs' two-line captions need.
        style |= BS_OWNERDRAW | WS_TABSTOP;
        break;
    case ControlKind::OptionButton:
        style |= BS_AUTORADIOBUTTON | WS_TABSTOP;
        break;
    case ControlKind::TextBox:
        windowClass = L"EDIT";
        style |= ES_LEFT | ES_AUTOHSCROLL | WS_TABSTOP;
        exStyle = WS_EX_CLIENTEDGE;
        break;
    case ControlKind::Label:
        // Drawn by the window (WM_DRAWITEM), so that a run of blanks ends its line.
        windowClass = L"STATIC";
        style |= SS_OWNERDRAW;
        break;
    case ControlKind::Picture:
        windowClass = L"STATIC";
        style |= SS_ICON | SS_CENTERIMAGE | SS_NOTIFY | WS_TABSTOP;
        exStyle = WS_EX_CLIENTEDGE;
        break;
    case ControlKind::MenuItem:
        throw std::logic_error("a menu entry is no control of the window's table");
    }
    if (design.visibility == Visibility::Shown)
        style |= WS_VISIBLE;
    const int id = kFirstControlId + int(controls_.size());
    const HWND hwnd = CreateWindowExW(
        exStyle, windowClass, widen(design.caption).c_str(), style, pixels(design.left),
        pixels(design.top), pixels(design.width), pixels(design.height), hwnd_,
        reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), GetModuleHandleW(nullptr), nullptr);
    if (hwnd == nullptr)
        throw std::runtime_error(std::string("cannot create the control ") + design.name);
    SendMessageW(hwnd, WM_SETFONT, reinterpret_cast<WPARAM>(designFont(design.font)), FALSE);
    if (design.kind == ControlKind::TextBox)
        SendMessageW(hwnd, EM_SETLIMITTEXT, 0, 0); // no length limit
    auto control =
        std::make_unique<Win32Control>(design.name, design.kind, hwnd, id, design.foreColor,
                                       design.alignment == Alignment::Centred);
    controls_.push_back(control.get());
    return control;
}

std::vector<std::unique_ptr<ControlPeer>> Win32Window::createMenu(const MenuDesign& design) {
    HMENU bar = CreateMenu();
    HMENU menu = CreatePopupMenu();
    std::vector<std::unique_ptr<ControlPeer>> entries;
    for (const MenuEntryDesign& entry : design.entries) {
        const int id = kFirstMenuId + int(menuEntries_.size());
        AppendMenuW(menu, MF_STRING, static_cast<UINT_PTR>(id), widen(entry.caption).c_str());
        auto peer = std::make_unique<Win32Control>(entry.name, ControlKind::MenuItem, nullptr, id,
                                                   std::nullopt);
        peer->setMenuText(entry.caption);
        menuEntries_.push_back(peer.get());
        entries.push_back(std::move(peer));
    }
    AppendMenuW(bar, MF_POPUP, reinterpret_cast<UINT_PTR>(menu), widen(design.caption).c_str());
    SetMenu(hwnd_, bar);
    return entries;
}

void Win32Window::setTabOrder(const std::vector<ControlPeer*>& order) {
    // The keyboard moves through the windowed controls in z-order: they are stacked in tab
    // order, above the labels. The option buttons form the window's one group.
    HWND previous = HWND_TOP;
    for (ControlPeer* peer : order) {
        const HWND child = static_cast<Win32Control*>(peer)->handle();
        SetWindowPos(child, previous, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
        previous = child;
    }
    bool inGroup = false;
    for (ControlPeer* peer : order) {
        tabOrder_.push_back(static_cast<Win32Control*>(peer));
        const HWND child = static_cast<Win32Control*>(peer)->handle();
        const bool option = peer->kind() == ControlKind::OptionButton;
        LONG_PTR style = GetWindowLongPtrW(child, GWL_STYLE) & ~WS_GROUP;
        if (!option || !inGroup)
            style |= WS_GROUP;
        inGroup = option;
        SetWindowLongPtrW(child, GWL_STYLE, style);
    }
    keepOptionTabStops();
}

void Win32Control::setValue(bool selected) {
    if (kind() != ControlKind::OptionButton)
        return;
    if (selected)
        for (Win32Control* other : windowFromHandle(GetParent(hwnd_))->optionButtons())
            SendMessageW(other->handle(), BM_SETCHECK, BST_UNCHECKED, 0);
    SendMessageW(hwnd_, BM_SETCHECK, selected ? BST_CHECKED : BST_UNCHECKED, 0);
    windowFromHandle(GetParent(hwnd_))->keepOptionTabStops();
}

void Win32Control::setFocus() {
    Win32Window* window = windowFromHandle(GetParent(hwnd_));
    window->rememberFocus(hwnd_);
    if (IsWindowVisible(window->handle()) && GetActiveWindow() == window->handle())
        SetFocus(hwnd_);
}

bool Win32Window::pressKey(WPARAM key) {
    const HWND focus = focused();
    Win32Control* focusedControl = controlWithHandle(focus);
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
    const auto font = reinterpret_cast<HFONT>(SendMessageW(label.handle(), WM_GETFONT, 0, 0));
    const HGDIOBJ before = SelectObject(dc, font);
    const UINT format = DT_WORDBREAK | DT_NOPREFIX | (label.centred() ? DT_CENTER : DT_LEFT);
    const std::wstring caption = textOf(label.handle());
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
    const auto font = reinterpret_cast<HFONT>(SendMessageW(button.handle(), WM_GETFONT, 0, 0));
    const HGDIOBJ before = SelectObject(dc, font);
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

void Win32Window::paintLines(HDC dc) const {
    for (const LineDesign& line : lines_) {
        const int x1 = pixels(line.x1);
        const int y1 = pixels(line.y1);
        const int x2 = pixels(line.x2);
        const int y2 = pixels(line.y2);
        const COLORREF colour =
            RGB((line.color >> 16) & 0xFF, (line.color >> 8) & 0xFF, line.color & 0xFF);
        // The line's pixels start at its design coordinates and grow down and to the right.
        HBRUSH brush = CreateSolidBrush(colour);
        const RECT rect{std::min(x1, x2), std::min(y1, y2),
                        std::max(x1, x2) + (y1 == y2 ? 0 : line.widthPixels),
                        std::max(y1, y2) + (y1 == y2 ? line.widthPixels : 0)};
        FillRect(dc, &rect, brush);
        DeleteObject(brush);
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
        PAINTSTRUCT paint;
        HDC dc = BeginPaint(hwnd_, &paint);
        paintLines(dc);
        EndPaint(hwnd_, &paint);
        return 0;
    }
    case WM_CTLCOLORSTATIC: {
        // Labels, option buttons and the picture: opaque in the button face, in their own
        // text colour where the design gives one.
        HDC dc = reinterpret_cast<HDC>(wParam);
        const Win32Control* control = controlWithHandle(reinterpret_cast<HWND>(lParam));
        const COLORREF text =
            control != nullptr ? control->textColor() : GetSysColor(COLOR_WINDOWTEXT);
        SetTextColor(dc, text);
        SetBkColor(dc, systemColor(SystemColor::ButtonFace));
        return reinterpret_cast<LRESULT>(systemBrush(SystemColor::ButtonFace));
    }
    case WM_DRAWITEM: {
        const auto* item = reinterpret_cast<const DRAWITEMSTRUCT*>(lParam);
        if (const Win32Control* control = controlWithHandle(item->hwndItem)) {
            if (control->kind() == ControlKind::CommandButton)
                drawButton(*control, *item, control == defaultButton_);
            else
                drawLabel(*control, item->hDC, item->rcItem);
        }
        return TRUE;
    }
    case WM_ACTIVATE:
        // Windows gives an activated window the focus itself; the control that had it gets
        // it back.
        if (LOWORD(wParam) == WA_INACTIVE) {
            if (const HWND now = GetFocus(); now != nullptr && IsChild(hwnd_, now))
                focus_ = now;
        } else if (focus_ != nullptr && IsWindow(focus_)) {
            SetFocus(focus_);
            return 0;
        }
        break;
    default:
        break;
    }
    return DefWindowProcW(hwnd_, message, wParam, lParam);
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
    return static_cast<Win32Window&>(form.peer()).handle();
}

HWND handleOf(const Control& control) {
    return static_cast<Win32Control&>(control.peer()).handle();
}

int commandOf(const MenuItem& entry) {
    return static_cast<Win32Control&>(entry.peer()).id();
}

std::string focusedControl(const Form& form) {
    const auto& window = static_cast<Win32Window&>(form.peer());
    const Win32Control* control = window.controlWithHandle(window.focused());
    return control == nullptr ? std::string() : control->name();
}

} // namespace clearmark::runtime::win32

namespace clearmark::runtime {

std::unique_ptr<WindowPeer> createWindowPeer(const WindowDesign& design) {
    return std::make_unique<win32::Win32Window>(design);
}

} // namespace clearmark::runtime
