// A window of the program on Win32: its class, its procedure, and the focus it keeps.
#include "runtime/win32/window.h"

#include <algorithm>
#include <stdexcept>

namespace clearmark::runtime::win32 {
namespace {

constexpr int kFirstControlId = 100; // clear of IDOK and IDCANCEL
constexpr int kFirstMenuId = 1000;

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
    // Every window of this procedure is ours: its peer is in its user data from WM_NCCREATE
    // until the peer goes.
    if (auto* window = reinterpret_cast<Win32Window*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA)))
        return window->handle(message, wParam, lParam);
    return DefWindowProcW(hwnd, message, wParam, lParam);
}

void registerWindowClass() {
    static const bool registered = [] {
        WNDCLASSEXW windowClass{};
        windowClass.cbSize = sizeof windowClass;
        windowClass.lpfnWndProc = windowProc;
        windowClass.hInstance = GetModuleHandleW(nullptr);
        windowClass.hIcon = pictureIcon(kWindowIcon, GetSystemMetrics(SM_CXICON));
        windowClass.hIconSm = pictureIcon(kWindowIcon, GetSystemMetrics(SM_CXSMICON));
        windowClass.hCursor = LoadCursorW(nullptr, MAKEINTRESOURCEW(32512)); // IDC_ARROW
        windowClass.lpszClassName = kWindowClass;
        return RegisterClassExW(&windowClass) != 0;
    }();
    if (!registered)
        throw std::runtime_error("cannot register the window class");
}

} // namespace

Win32Window::Win32Window(const WindowDesign& design)
    : design_(design), caption_(widen(design.caption)), clientHeight_(design.clientHeight) {}

Win32Window::~Win32Window() {
    if (hwnd_ == nullptr)
        return;
    // The controls are gone already: the window's last messages go to the system.
    SetWindowLongPtrW(hwnd_, GWLP_USERDATA, 0);
    DestroyWindow(hwnd_);
}

Win32Window* Win32Window::fromHandle(HWND hwnd) {
    wchar_t className[32] = {};
    if (hwnd == nullptr || GetClassNameW(hwnd, className, 32) == 0 ||
        std::wstring_view(className) != kWindowClass)
        return nullptr;
    return reinterpret_cast<Win32Window*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
}

std::unique_ptr<ControlPeer> Win32Window::createControl(const ControlDesign& design) {
    auto control =
        std::make_unique<Win32Control>(*this, design, kFirstControlId + int(controls_.size()));
    controls_.push_back(control.get());
    return control;
}

std::vector<std::unique_ptr<ControlPeer>>
Win32Window::createMenus(std::span<const MenuDesign> menus) {
    menus_ = menus;
    std::vector<std::unique_ptr<ControlPeer>> entries;
    for (const MenuDesign& menu : menus)
        for (const MenuEntryDesign& entry : menu.entries) {
            auto peer =
                std::make_unique<MenuEntry>(*this, entry, kFirstMenuId + int(menuEntries_.size()));
            menuEntries_.push_back(peer.get());
            entries.push_back(std::move(peer));
        }
    return entries;
}

void Win32Window::setDefaultButtons(ControlPeer* defaultButton, ControlPeer* cancelButton) {
    defaultButton_ = static_cast<Win32Control*>(defaultButton);
    cancelButton_ = static_cast<Win32Control*>(cancelButton);
}

HWND Win32Window::createIfMissing() {
    if (hwnd_ != nullptr)
        return hwnd_;
    registerWindowClass();
    const DWORD style = styleFor(design_);
    RECT frame{0, 0, pixels(design_.clientWidth), pixels(clientHeight_)};
    AdjustWindowRectEx(&frame, style, !menus_.empty(), 0);
    int left = CW_USEDEFAULT;
    int top = CW_USEDEFAULT;
    if (design_.start) {
        left = pixels(design_.start->left) + frame.left;
        top = pixels(design_.start->top) + frame.top;
    }
    // The menu bar's drop-down menus, left to right, each with its run of the entries.
    HMENU bar = menus_.empty() ? nullptr : CreateMenu();
    auto entry = menuEntries_.begin();
    for (const MenuDesign& menu : menus_) {
        HMENU popup = CreatePopupMenu();
        for (std::size_t i = 0; i < menu.entries.size(); ++i, ++entry)
            AppendMenuW(popup, MF_STRING | ((*entry)->enabled() ? 0 : MF_GRAYED),
                        static_cast<UINT_PTR>((*entry)->id()), (*entry)->menuText().c_str());
        AppendMenuW(bar, MF_POPUP, reinterpret_cast<UINT_PTR>(popup), widen(menu.caption).c_str());
    }
    // The window procedure keeps the handle (WM_NCCREATE); none when the window is gone again.
    if (CreateWindowExW(0, kWindowClass, shownCaption().c_str(), style, left, top,
                        frame.right - frame.left, frame.bottom - frame.top, nullptr, bar,
                        GetModuleHandleW(nullptr), this) == nullptr ||
        hwnd_ == nullptr)
        throw std::runtime_error(std::string("cannot create the window ") + design_.name);
    SendMessageW(hwnd_, WM_SETFONT, reinterpret_cast<WPARAM>(designFont({})), FALSE);
    // The keyboard moves through the system's controls in z-order: each is made last in
    // it, in keyboard order. The option buttons form the window's one group; Tab stops where
    // the runtime says it does.
    bool inGroup = false;
    for (const KeyStop& stop : order_) {
        auto* control = static_cast<Win32Control*>(stop.control);
        const bool option = control->kind() == ControlKind::OptionButton;
        control->createOnScreen(hwnd_, !option || !inGroup, takesTab(*control));
        inGroup = option;
    }
    return hwnd_;
}

void Win32Window::setCaption(const std::string& caption) {
    caption_ = widen(caption);
    if (hwnd_ != nullptr)
        SetWindowTextW(hwnd_, shownCaption().c_str());
}

void Win32Window::setModified(bool modified) {
    modified_ = modified;
    if (hwnd_ != nullptr)
        SetWindowTextW(hwnd_, shownCaption().c_str());
}

std::wstring Win32Window::shownCaption() const {
    std::wstring shown = caption_;
    if (const std::size_t marker = shown.find(L"[*]"); marker != std::wstring::npos)
        shown.erase(marker, 3);
    return modified_ ? L"*" + shown : shown;
}

void Win32Window::setClientHeight(int twips) {
    clientHeight_ = twips;
    if (hwnd_ == nullptr)
        return; // made at that height
    RECT client;
    GetClientRect(hwnd_, &client);
    const int height = pixels(twips);
    RECT frame{0, 0, client.right, height};
    AdjustWindowRectEx(&frame, static_cast<DWORD>(GetWindowLongPtrW(hwnd_, GWL_STYLE)),
                       GetMenu(hwnd_) != nullptr,
                       static_cast<DWORD>(GetWindowLongPtrW(hwnd_, GWL_EXSTYLE)));
    const auto resize = [this](int width, int frameHeight) {
        SetWindowPos(hwnd_, nullptr, 0, 0, width, frameHeight,
                     SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    };
    resize(frame.right - frame.left, frame.bottom - frame.top);
    // A menu bar that wraps onto more lines than one takes more than the frame allowed for.
    GetClientRect(hwnd_, &client);
    if (client.bottom != height)
        resize(frame.right - frame.left, frame.bottom - frame.top + height - client.bottom);
}

void Win32Window::show() {
    ShowWindow(createIfMissing(), SW_SHOW);
    // A window kept out of the task bar has no owner (a window manager would never hand it the
    // keyboard back) and has its button taken away each time it is shown.
    if (!design_.inTaskBar)
        setTaskBarButton(hwnd_, false);
    SetForegroundWindow(hwnd_);
    if (focus_ != nullptr && focus_->handle() != nullptr)
        SetFocus(focus_->handle());
}

void Win32Window::hide() {
    if (hwnd_ != nullptr)
        ShowWindow(hwnd_, SW_HIDE);
}

Win32Control* Win32Window::focused() const {
    const HWND now = GetFocus();
    if (now != nullptr && hwnd_ != nullptr && IsChild(hwnd_, now))
        return controlWithHandle(now);
    return focus_;
}

Win32Control* Win32Window::controlWithHandle(HWND child) const {
    for (Win32Control* control : controls_)
        if (control->handle() != nullptr && control->handle() == child)
            return control;
    return nullptr;
}

std::vector<Win32Control*> Win32Window::optionButtons() const {
    std::vector<Win32Control*> options;
    for (const KeyStop& stop : order_)
        if (stop.control->kind() == ControlKind::OptionButton)
            options.push_back(static_cast<Win32Control*>(stop.control));
    return options;
}

void Win32Window::keepTabStops() const {
    for (const KeyStop& stop : order_)
        if (const HWND handle = static_cast<const Win32Control*>(stop.control)->handle())
            setStyle(handle, WS_TABSTOP, runtime::takesTab(order_, *stop.control));
}

void Win32Window::focusPast(const Win32Control& control) {
    const auto canFocus = [](const ControlPeer& peer) {
        const HWND handle = static_cast<const Win32Control&>(peer).handle();
        return handle != nullptr && IsWindowVisible(handle) && IsWindowEnabled(handle);
    };
    if (control.handle() == nullptr || GetFocus() != control.handle())
        return;
    // The control counts as disabled already: Tab from it passes it by.
    if (auto* next = static_cast<Win32Control*>(nextTabStop(order_, &control, true, canFocus));
        next != nullptr && next != &control)
        SetFocus(next->handle());
}

void Win32Window::invalidate(const RECT& area) const {
    if (hwnd_ != nullptr)
        InvalidateRect(hwnd_, &area, TRUE);
}

LRESULT Win32Window::handle(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_COMMAND:
        onCommand(wParam, lParam);
        return 0;
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
        HDC dc = reinterpret_cast<HDC>(wParam);
        // A read-only box keeps the colours of the boxes the user types into.
        if (const Win32Control* control = controlWithHandle(reinterpret_cast<HWND>(lParam));
            control != nullptr && control->kind() == ControlKind::TextBox) {
            SetTextColor(dc, GetSysColor(COLOR_WINDOWTEXT));
            SetBkColor(dc, GetSysColor(COLOR_WINDOW));
            return reinterpret_cast<LRESULT>(GetSysColorBrush(COLOR_WINDOW));
        }
        // Option buttons, check boxes and the picture: opaque in the button face.
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
        onActivate(wParam);
        if (LOWORD(wParam) != WA_INACTIVE && HIWORD(wParam) == 0 && restoreFocus())
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

void Win32Window::onCommand(WPARAM wParam, LPARAM lParam) {
    const int id = LOWORD(wParam);
    ControlPeer* chosen = nullptr;
    if (lParam == 0 && HIWORD(wParam) == 0) { // from the menu bar, whichever of its menus
        for (MenuEntry* entry : menuEntries_)
            if (entry->id() == id)
                chosen = entry;
    } else if (HIWORD(wParam) == EN_CHANGE) {
        if (Win32Control* box = controlWithHandle(reinterpret_cast<HWND>(lParam)))
            box->textChanged();
        return;
    } else if (HIWORD(wParam) == BN_CLICKED) {
        for (Win32Control* control : controls_)
            if (control->id() == id) {
                if (control->kind() == ControlKind::OptionButton)
                    keepTabStops();
                chosen = control;
            }
    }
    // The menu sends no command for a greyed entry, nor a control for a disabled one.
    if (chosen != nullptr && chosen->enabled() && chosen->clicked)
        chosen->clicked();
}

void Win32Window::onActivate(WPARAM wParam) {
    // Windows gives an activated window the focus itself; the control that had it gets it
    // back (handle()), once the window is no longer minimised (HIWORD).
    if (LOWORD(wParam) == WA_INACTIVE)
        if (const HWND now = GetFocus(); now != nullptr && IsChild(hwnd_, now))
            focus_ = controlWithHandle(now);
}

bool Win32Window::restoreFocus() const {
    if (hwnd_ == nullptr || IsIconic(hwnd_))
        return false;
    auto* target =
        static_cast<Win32Control*>(focusToGiveBack(order_, focus_, [](const ControlPeer& control) {
            const HWND handle = static_cast<const Win32Control&>(control).handle();
            return handle != nullptr && IsWindowVisible(handle) && IsWindowEnabled(handle);
        }));
    if (target == nullptr)
        return false;
    SetFocus(target->handle());
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

} // namespace clearmark::runtime::win32

namespace clearmark::runtime {

std::unique_ptr<WindowPeer> createWindowPeer(const WindowDesign& design) {
    return std::make_unique<win32::Win32Window>(design);
}

} // namespace clearmark::runtime
