// The object a screen reader reads of a control of the system's in our windows (MSAA): the
// system's own object under the name we give it, in its role where the system does not know it.
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
        const LONG type = style & BS_TYPEMASK;
        return type == BS_RADIOBUTTON || type == BS_AUTORADIOBUTTON ? ROLE_SYSTEM_RADIOBUTTON
                                                                    : ROLE_SYSTEM_PUSHBUTTON;
    }
    if (lstrcmpiW(name, L"Static") == 0)
        return (style & SS_TYPEMASK) == SS_ICON ? ROLE_SYSTEM_GRAPHIC : ROLE_SYSTEM_STATICTEXT;
    return lstrcmpiW(name, L"Edit") == 0 ? ROLE_SYSTEM_TEXT : ROLE_SYSTEM_CLIENT;
}

// A control of the system's, under our name, and in its role where the system does not know it.
class NamedControl final : public Forwarder {
public:
    NamedControl(HWND hwnd, IAccessible* system, std::wstring name)
        : Forwarder(hwnd, system), name_(std::move(name)) {}

    HRESULT STDMETHODCALLTYPE get_accName(VARIANT child, BSTR* name) override {
        if (!isSelf(child) || name == nullptr)
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
        if (result == S_OK && isSelf(child) && state->vt == VT_I4 &&
            roleOfClass(hwnd()) == ROLE_SYSTEM_RADIOBUTTON &&
            SendMessageW(hwnd(), BM_GETCHECK, 0, 0) == BST_CHECKED)
            state->lVal |= STATE_SYSTEM_CHECKED;
        return result;
    }

private:
    std::wstring name_;
};

} // namespace

// 0: let the control's own procedure answer as usual.
LRESULT answerControlObject(HWND control, WPARAM wParam, LPARAM lParam, const std::wstring& name) {
    if (name.empty())
        return 0;
    return answerWith(control, wParam, lParam, [&](IAccessible* system) -> Forwarder* {
        return new (std::nothrow) NamedControl(control, system, name);
    });
}

} // namespace clearmark::runtime::win32
