#include "runtime/win32/test_hooks.h"

#include "runtime/peer_access.h"
#include "runtime/win32/window.h"

namespace clearmark::runtime::win32 {
namespace {

Win32Control& controlPeer(const Control& control) {
    return static_cast<Win32Control&>(peerOf(control));
}

Win32Window& windowPeer(const Form& form) {
    return static_cast<Win32Window&>(peerOf(form));
}

} // namespace

HWND createWindowIfMissing(const Form& form) {
    return windowPeer(form).createIfMissing();
}

HWND createControlIfMissing(const Control& control) {
    controlPeer(control).window().createIfMissing();
    return controlPeer(control).handle();
}

RECT areaOf(const Control& control) {
    return controlPeer(control).area();
}

HFONT fontOnScreen(const Control& control) {
    controlPeer(control).window().createIfMissing();
    return controlPeer(control).font();
}

void drawLabel(const Control& label, HDC dc, const RECT& rect) {
    drawLabel(controlPeer(label), dc, rect);
}

int commandOf(const MenuItem& entry) {
    return static_cast<MenuEntry&>(peerOf(entry)).id();
}

HWND windowOf(const MenuItem& entry) {
    return static_cast<MenuEntry&>(peerOf(entry)).window().handle();
}

std::string focusedControl(const Form& form) {
    const Win32Window& window = windowPeer(form);
    const HWND now = GetFocus();
    if (now == nullptr || window.handle() == nullptr || !IsChild(window.handle(), now))
        return {};
    const Win32Control* control = window.controlWithHandle(now);
    return control == nullptr ? std::string() : control->name();
}

} // namespace clearmark::runtime::win32
