// The object a screen reader reads of a control of the system's in our windows (MSAA): the
// system's own object under the name we give it, in its role and with its state where the
// system does not know them.
#include "runtime/win32/accessible.h"
#include "runtime/win32/accessible_forwarder.h"

#include <new>
#include <utility>

namespace clearmark::runtime::win32 {
namespace {

using accessible::answerWith;
using accessible::Forwarder;
using accessible::isSelf;

// The role of a control of the system's classes that our windows use, where the system's object
// takes it for a bare client area (Wine's does for buttons and pictures).
long roleOfClass(HWND control) {
    wchar_t name[16] = {};
    GetClassNameW(control, name, 16);
    const LONG style = GetWindowLongW(control, GWL_STYLE);
    if (lstrcmpiW(name, L"Button") == 0) {
        switch (style & BS_TYPEMASK) {
        case BS_RADIOBUTTON:
        case BS_AUTORADIOBUTTON:
            return ROLE_SYSTEM_RADIOBUTTON;
        case BS_CHECKBOX:
        case BS_AUTOCHECKBOX:
            return ROLE_SYSTEM_CHECKBUTTON;
        default:
            return ROLE_SYSTEM_PUSHBUTTON;
        }
    }
    if (lstrcmpiW(name, L"Static") == 0)
        return (style & SS_TYPEMASK) == SS_ICON ? ROLE_SYSTEM_GRAPHIC : ROLE_SYSTEM_STATICTEXT;
    return lstrcmpiW(name, L"Edit") == 0 ? ROLE_SYSTEM_TEXT : ROLE_SYSTEM_CLIENT;
}

// The state bits that the control's class gives, where the system's object does not know the
// class: a selected option button or a checked check box. (Its object tells a read-only box.)
long stateOfClass(HWND control) {
    const long role = roleOfClass(control);
    if ((role == ROLE_SYSTEM_RADIOBUTTON || role == ROLE_SYSTEM_CHECKBUTTON) &&
        SendMessageW(control, BM_GETCHECK, 0, 0) == BST_CHECKED)
        return STATE_SYSTEM_CHECKED;
    return 0;
}

// A control of the system's, under our name (the system's where we give none), and in its role
// and state where the system does not know them.
class NamedControl final : public Forwarder {
public:
    NamedControl(HWND hwnd, IAccessible* system, std::wstring name)
        : Forwarder(hwnd, system), name_(std::move(name)) {}

    HRESULT STDMETHODCALLTYPE get_accName(VARIANT child, BSTR* name) override {
        if (!isSelf(child) || name == nullptr || name_.empty())
            return Forwarder::get_accName(child, name);
        *name = nullptr;
        return live([&] { return (*name = SysAllocString(name_.c_str())) ? S_OK : E_OUTOFMEMORY; });
    }
    HRESULT STDMETHODCALLTYPE get_accRole(VARIANT child, VARIANT* role) override {
        const HRESULT result = Forwarder::get_accRole(child, role);
        if (result == S_OK && isSelf(child) && role->vt == VT_I4 &&
            role->lVal == ROLE_SYSTEM_CLIENT)
            role->lVal = roleOfClass(hwnd());
        return result;
    }
    HRESULT STDMETHODCALLTYPE get_accState(VARIANT child, VARIANT* state) override {
        const HRESULT result = Forwarder::get_accState(child, state);
        if (result == S_OK && isSelf(child) && state->vt == VT_I4)
            state->lVal |= stateOfClass(hwnd());
        return result;
    }

private:
    std::wstring name_;
};

} // namespace

// 0: let the control's own procedure answer as usual.
LRESULT answerControlObject(HWND control, WPARAM wParam, LPARAM lParam, const std::wstring& name) {
    return answerWith(control, wParam, lParam, [&](IAccessible* system) -> Forwarder* {
        return new (std::nothrow) NamedControl(control, system, name);
    });
}

} // namespace clearmark::runtime::win32
