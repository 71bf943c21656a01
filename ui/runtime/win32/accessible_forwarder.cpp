// The system's object for a client area as the screen-reader objects of our windows and controls
// answer through it, and the helpers they share: child ids, IAccessible's type information, the
// apartment that COM needs, and handing an object to the reader.
#include "runtime/win32/accessible_forwarder.h"

namespace clearmark::runtime::win32::accessible {
namespace {

// oleacc's type library, spelt out as kAccessibleIid is.
constexpr GUID kAccessibilityLibrary = {
    0x1ea4dbf0, 0x3c3b, 0x11cf, {0x81, 0x0c, 0x00, 0xaa, 0x00, 0x38, 0x9b, 0x71}};

} // namespace

VARIANT number(long value) {
    VARIANT number;
    VariantInit(&number);
    number.vt = VT_I4;
    number.lVal = value;
    return number;
}

bool isSelf(const VARIANT& child) {
    return child.vt == VT_I4 && child.lVal == CHILDID_SELF;
}

ITypeInfo* accessibleTypeInfo() {
    static ITypeInfo* const info = [] {
        ITypeLib* library = nullptr;
        ITypeInfo* found = nullptr;
        if (SUCCEEDED(LoadRegTypeLib(kAccessibilityLibrary, 1, 1, 0, &library))) {
            library->GetTypeInfoOfGuid(kAccessibleIid, &found);
            library->Release();
        }
        return found;
    }();
    return info;
}

IAccessible* objectOf(HWND hwnd, bool system) {
    void* object = nullptr;
    const HRESULT result =
        system ? CreateStdAccessibleObject(hwnd, OBJID_CLIENT, kAccessibleIid, &object)
               : AccessibleObjectFromWindow(hwnd, OBJID_CLIENT, kAccessibleIid, &object);
    return SUCCEEDED(result) ? static_cast<IAccessible*>(object) : nullptr;
}

bool inApartment() {
    thread_local const bool ready = [] {
        const HRESULT result = CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
        if (result == S_FALSE)
            CoUninitialize(); // it was in one already
        return SUCCEEDED(result) || result == RPC_E_CHANGED_MODE;
    }();
    return ready;
}

HRESULT STDMETHODCALLTYPE Forwarder::QueryInterface(REFIID iid, void** object) {
    if (object == nullptr)
        return E_POINTER;
    *object = nullptr;
    if (iid == IID_IUnknown || iid == IID_IDispatch || iid == kAccessibleIid)
        *object = static_cast<IAccessible*>(this);
    else if (iid == IID_IOleWindow)
        *object = static_cast<IOleWindow*>(this);
    else
        *object = another(iid);
    if (*object == nullptr)
        return E_NOINTERFACE;
    AddRef();
    return S_OK;
}

ULONG STDMETHODCALLTYPE Forwarder::Release() {
    const ULONG left = InterlockedDecrement(&references_);
    if (left == 0)
        delete this;
    return left;
}

// IDispatch, through IAccessible's type information.
HRESULT STDMETHODCALLTYPE Forwarder::GetTypeInfoCount(UINT* count) {
    if (count == nullptr)
        return E_POINTER;
    *count = accessibleTypeInfo() != nullptr ? 1 : 0;
    return S_OK;
}

HRESULT STDMETHODCALLTYPE Forwarder::GetTypeInfo(UINT index, LCID /*locale*/, ITypeInfo** info) {
    if (info == nullptr)
        return E_POINTER;
    *info = index == 0 ? accessibleTypeInfo() : nullptr;
    if (*info == nullptr)
        return index == 0 ? E_NOTIMPL : DISP_E_BADINDEX;
    (*info)->AddRef();
    return S_OK;
}

HRESULT STDMETHODCALLTYPE Forwarder::GetIDsOfNames(REFIID /*reserved*/, LPOLESTR* names, UINT count,
                                                   LCID /*locale*/, DISPID* ids) {
    ITypeInfo* info = accessibleTypeInfo();
    return info != nullptr ? DispGetIDsOfNames(info, names, count, ids) : E_NOTIMPL;
}

HRESULT STDMETHODCALLTYPE Forwarder::Invoke(DISPID member, REFIID /*reserved*/, LCID /*locale*/,
                                            WORD flags, DISPPARAMS* params, VARIANT* result,
                                            EXCEPINFO* exception, UINT* argument) {
    ITypeInfo* info = accessibleTypeInfo();
    return info != nullptr ? DispInvoke(static_cast<IAccessible*>(this), info, member, flags,
                                        params, result, exception, argument)
                           : E_NOTIMPL;
}

HRESULT STDMETHODCALLTYPE Forwarder::GetWindow(HWND* hwnd) {
    if (hwnd == nullptr)
        return E_POINTER;
    *hwnd = hwnd_;
    return IsWindow(hwnd_) ? S_OK : RPC_E_DISCONNECTED;
}

// IAccessible: about the object itself, as the system's object answers.
HRESULT STDMETHODCALLTYPE Forwarder::get_accParent(IDispatch** parent) {
    return live([&] { return system_->get_accParent(parent); });
}
HRESULT STDMETHODCALLTYPE Forwarder::get_accChildCount(LONG* count) {
    return live([&] { return system_->get_accChildCount(count); });
}
HRESULT STDMETHODCALLTYPE Forwarder::get_accChild(VARIANT child, IDispatch** object) {
    return live([&] { return system_->get_accChild(child, object); });
}
HRESULT STDMETHODCALLTYPE Forwarder::get_accFocus(VARIANT* child) {
    return live([&] { return system_->get_accFocus(child); });
}
HRESULT STDMETHODCALLTYPE Forwarder::get_accSelection(VARIANT* children) {
    return live([&] { return system_->get_accSelection(children); });
}
HRESULT STDMETHODCALLTYPE Forwarder::accNavigate(LONG direction, VARIANT start, VARIANT* end) {
    return live([&] { return system_->accNavigate(direction, start, end); });
}
HRESULT STDMETHODCALLTYPE Forwarder::accHitTest(LONG x, LONG y, VARIANT* child) {
    return live([&] { return system_->accHitTest(x, y, child); });
}

// IAccessible: about the object or one of its children.
HRESULT STDMETHODCALLTYPE Forwarder::get_accName(VARIANT child, BSTR* name) {
    return text(child, name, &IAccessible::get_accName);
}
HRESULT STDMETHODCALLTYPE Forwarder::get_accValue(VARIANT child, BSTR* value) {
    return text(child, value, &IAccessible::get_accValue);
}
HRESULT STDMETHODCALLTYPE Forwarder::get_accDescription(VARIANT child, BSTR* description) {
    return text(child, description, &IAccessible::get_accDescription);
}
HRESULT STDMETHODCALLTYPE Forwarder::get_accHelp(VARIANT child, BSTR* help) {
    return text(child, help, &IAccessible::get_accHelp);
}
HRESULT STDMETHODCALLTYPE Forwarder::get_accKeyboardShortcut(VARIANT child, BSTR* keys) {
    return text(child, keys, &IAccessible::get_accKeyboardShortcut);
}
HRESULT STDMETHODCALLTYPE Forwarder::get_accDefaultAction(VARIANT child, BSTR* action) {
    return text(child, action, &IAccessible::get_accDefaultAction);
}
HRESULT STDMETHODCALLTYPE Forwarder::get_accRole(VARIANT child, VARIANT* role) {
    return variant(child, role, &IAccessible::get_accRole);
}
HRESULT STDMETHODCALLTYPE Forwarder::get_accState(VARIANT child, VARIANT* state) {
    return variant(child, state, &IAccessible::get_accState);
}
HRESULT STDMETHODCALLTYPE Forwarder::get_accHelpTopic(BSTR* file, VARIANT child, LONG* topic) {
    return route(child, [&](IAccessible* object, VARIANT id) {
        return object->get_accHelpTopic(file, id, topic);
    });
}
HRESULT STDMETHODCALLTYPE Forwarder::accLocation(LONG* left, LONG* top, LONG* width, LONG* height,
                                                 VARIANT child) {
    return route(child, [&](IAccessible* object, VARIANT id) {
        return object->accLocation(left, top, width, height, id);
    });
}
HRESULT STDMETHODCALLTYPE Forwarder::accSelect(LONG how, VARIANT child) {
    return route(
        child, [&](IAccessible* object, VARIANT id) { return object->accSelect(how, id); },
        DISP_E_MEMBERNOTFOUND);
}
HRESULT STDMETHODCALLTYPE Forwarder::accDoDefaultAction(VARIANT child) {
    return route(
        child, [&](IAccessible* object, VARIANT id) { return object->accDoDefaultAction(id); },
        DISP_E_MEMBERNOTFOUND);
}
HRESULT STDMETHODCALLTYPE Forwarder::put_accValue(VARIANT child, BSTR value) {
    return route(
        child, [&](IAccessible* object, VARIANT id) { return object->put_accValue(id, value); },
        E_NOTIMPL);
}

HRESULT Forwarder::route(const VARIANT& child, const Call& call, HRESULT /*forNone*/) {
    return live([&] { return call(system_, child); });
}

HRESULT Forwarder::text(const VARIANT& child, BSTR* out,
                        HRESULT (STDMETHODCALLTYPE IAccessible::*ask)(VARIANT, BSTR*)) {
    if (out == nullptr)
        return E_POINTER;
    *out = nullptr;
    return route(child, [&](IAccessible* object, VARIANT id) { return (object->*ask)(id, out); });
}

HRESULT Forwarder::variant(const VARIANT& child, VARIANT* out,
                           HRESULT (STDMETHODCALLTYPE IAccessible::*ask)(VARIANT, VARIANT*)) {
    if (out == nullptr)
        return E_POINTER;
    VariantInit(out);
    return route(child, [&](IAccessible* object, VARIANT id) { return (object->*ask)(id, out); });
}

bool asksForClient(LPARAM lParam) {
    return static_cast<DWORD>(lParam) == static_cast<DWORD>(OBJID_CLIENT);
}

namespace {

// Hands the object to the reader, or gives 0 when that fails; the object is released.
LRESULT handOver(Forwarder* object, WPARAM wParam) {
    const LRESULT result =
        LresultFromObject(kAccessibleIid, wParam, static_cast<IAccessible*>(object));
    object->Release();
    return result > 0 ? result : 0;
}

} // namespace

LRESULT answerWith(HWND hwnd, WPARAM wParam, LPARAM lParam,
                   const std::function<Forwarder*(IAccessible* system)>& make) {
    if (!asksForClient(lParam) || !inApartment())
        return 0;
    IAccessible* system = objectOf(hwnd, true);
    if (system == nullptr)
        return 0;
    Forwarder* object = make(system);
    if (object == nullptr) {
        system->Release();
        return 0;
    }
    return handOver(object, wParam);
}

} // namespace clearmark::runtime::win32::accessible
