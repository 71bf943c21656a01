// The objects a screen reader reads of our windows (MSAA). A control of the system's is the
// system's own object under the name we give it. A window's client area is the system's object
// too, but its children are the window's elements in reading order, the labels it draws among
// them as simple elements (child ids 1, 2, ...). Readers in other processes reach the objects
// through COM; once the window is gone, every call fails as disconnected.
#include "runtime/win32/accessible.h"

#include <algorithm>
#include <functional>
#include <new>
#include <oleacc.h>
#include <optional>
#include <utility>

namespace clearmark::runtime::win32 {
namespace {

// oleacc's import library exports these as code rather than as the GUIDs: they are spelt out.
constexpr IID kAccessibleIid = {
    0x618736e0, 0x3c3d, 0x11cf, {0x81, 0x0c, 0x00, 0xaa, 0x00, 0x38, 0x9b, 0x71}};
constexpr GUID kAccessibilityLibrary = {
    0x1ea4dbf0, 0x3c3b, 0x11cf, {0x81, 0x0c, 0x00, 0xaa, 0x00, 0x38, 0x9b, 0x71}};

// A child id, role or state.
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

// IAccessible's type information from oleacc's type library, for callers through IDispatch;
// none where the library is not registered. Kept for the process.
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

// A window's object as its WM_GETOBJECT answers it, or the system's own; null for none.
IAccessible* objectOf(HWND hwnd, bool system = false) {
    void* object = nullptr;
    const HRESULT result =
        system ? CreateStdAccessibleObject(hwnd, OBJID_CLIENT, kAccessibleIid, &object)
               : AccessibleObjectFromWindow(hwnd, OBJID_CLIENT, kAccessibleIid, &object);
    return SUCCEEDED(result) ? static_cast<IAccessible*>(object) : nullptr;
}

// LresultFromObject marshals through COM. A thread that the program has not put into an
// apartment joins a single-threaded one when a reader first asks, and stays in it.
bool inApartment() {
    thread_local const bool ready = [] {
        const HRESULT result = CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
        if (result == S_FALSE)
            CoUninitialize(); // it was in one already
        return SUCCEEDED(result) || result == RPC_E_CHANGED_MODE;
    }();
    return ready;
}

// The system's object for a client area, which is asked what is not answered otherwise. A call
// about a child goes by route(), which a window's object sends to its elements.
class Forwarder : public IAccessible, public IOleWindow {
public:
    Forwarder(HWND hwnd, IAccessible* system) : hwnd_(hwnd), system_(system) {}
    virtual ~Forwarder() { system_->Release(); }
    Forwarder(const Forwarder&) = delete;
    Forwarder& operator=(const Forwarder&) = delete;

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** object) override {
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
    ULONG STDMETHODCALLTYPE AddRef() override { return InterlockedIncrement(&references_); }
    ULONG STDMETHODCALLTYPE Release() override {
        const ULONG left = InterlockedDecrement(&references_);
        if (left == 0)
            delete this;
        return left;
    }

    // IDispatch, through IAccessible's type information.
    HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT* count) override {
        if (count == nullptr)
            return E_POINTER;
        *count = accessibleTypeInfo() != nullptr ? 1 : 0;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT index, LCID /*locale*/, ITypeInfo** info) override {
        if (info == nullptr)
            return E_POINTER;
        *info = index == 0 ? accessibleTypeInfo() : nullptr;
        if (*info == nullptr)
            return index == 0 ? E_NOTIMPL : DISP_E_BADINDEX;
        (*info)->AddRef();
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID /*reserved*/, LPOLESTR* names, UINT count,
                                            LCID /*locale*/, DISPID* ids) override {
        ITypeInfo* info = accessibleTypeInfo();
        return info != nullptr ? DispGetIDsOfNames(info, names, count, ids) : E_NOTIMPL;
    }
    HRESULT STDMETHODCALLTYPE Invoke(DISPID member, REFIID /*reserved*/, LCID /*locale*/,
                                     WORD flags, DISPPARAMS* params, VARIANT* result,
                                     EXCEPINFO* exception, UINT* argument) override {
        ITypeInfo* info = accessibleTypeInfo();
        return info != nullptr ? DispInvoke(static_cast<IAccessible*>(this), info, member, flags,
                                            params, result, exception, argument)
                               : E_NOTIMPL;
    }

    HRESULT STDMETHODCALLTYPE GetWindow(HWND* hwnd) override {
        if (hwnd == nullptr)
            return E_POINTER;
        *hwnd = hwnd_;
        return IsWindow(hwnd_) ? S_OK : RPC_E_DISCONNECTED;
    }
    HRESULT STDMETHODCALLTYPE ContextSensitiveHelp(BOOL /*enterMode*/) override {
        return E_NOTIMPL;
    }

    // IAccessible: about the object itself, as the system's object answers.
    HRESULT STDMETHODCALLTYPE get_accParent(IDispatch** parent) override {
        return live([&] { return system_->get_accParent(parent); });
    }
    HRESULT STDMETHODCALLTYPE get_accChildCount(LONG* count) override {
        return live([&] { return system_->get_accChildCount(count); });
    }
    HRESULT STDMETHODCALLTYPE get_accChild(VARIANT child, IDispatch** object) override {
        return live([&] { return system_->get_accChild(child, object); });
    }
    HRESULT STDMETHODCALLTYPE get_accFocus(VARIANT* child) override {
        return live([&] { return system_->get_accFocus(child); });
    }
    HRESULT STDMETHODCALLTYPE get_accSelection(VARIANT* children) override {
        return live([&] { return system_->get_accSelection(children); });
    }
    HRESULT STDMETHODCALLTYPE accNavigate(LONG direction, VARIANT start, VARIANT* end) override {
        return live([&] { return system_->accNavigate(direction, start, end); });
    }
    HRESULT STDMETHODCALLTYPE accHitTest(LONG x, LONG y, VARIANT* child) override {
        return live([&] { return system_->accHitTest(x, y, child); });
    }

    // IAccessible: about the object or one of its children.
    HRESULT STDMETHODCALLTYPE get_accName(VARIANT child, BSTR* name) override {
        return text(child, name, &IAccessible::get_accName);
    }
    HRESULT STDMETHODCALLTYPE get_accValue(VARIANT child, BSTR* value) override {
        return text(child, value, &IAccessible::get_accValue);
    }
    HRESULT STDMETHODCALLTYPE get_accDescription(VARIANT child, BSTR* description) override {
        return text(child, description, &IAccessible::get_accDescription);
    }
    HRESULT STDMETHODCALLTYPE get_accHelp(VARIANT child, BSTR* help) override {
        return text(child, help, &IAccessible::get_accHelp);
    }
    HRESULT STDMETHODCALLTYPE get_accKeyboardShortcut(VARIANT child, BSTR* keys) override {
        return text(child, keys, &IAccessible::get_accKeyboardShortcut);
    }
    HRESULT STDMETHODCALLTYPE get_accDefaultAction(VARIANT child, BSTR* action) override {
        return text(child, action, &IAccessible::get_accDefaultAction);
    }
    HRESULT STDMETHODCALLTYPE get_accRole(VARIANT child, VARIANT* role) override {
        return variant(child, role, &IAccessible::get_accRole);
    }
    HRESULT STDMETHODCALLTYPE get_accState(VARIANT child, VARIANT* state) override {
        return variant(child, state, &IAccessible::get_accState);
    }
    HRESULT STDMETHODCALLTYPE get_accHelpTopic(BSTR* file, VARIANT child, LONG* topic) override {
        return route(child, [&](IAccessible* object, VARIANT id) {
            return object->get_accHelpTopic(file, id, topic);
        });
    }
    HRESULT STDMETHODCALLTYPE accLocation(LONG* left, LONG* top, LONG* width, LONG* height,
                                          VARIANT child) override {
        return route(child, [&](IAccessible* object, VARIANT id) {
            return object->accLocation(left, top, width, height, id);
        });
    }
    HRESULT STDMETHODCALLTYPE accSelect(LONG how, VARIANT child) override {
        return route(
            child, [&](IAccessible* object, VARIANT id) { return object->accSelect(how, id); },
            DISP_E_MEMBERNOTFOUND);
    }
    HRESULT STDMETHODCALLTYPE accDoDefaultAction(VARIANT child) override {
        return route(
            child, [&](IAccessible* object, VARIANT id) { return object->accDoDefaultAction(id); },
            DISP_E_MEMBERNOTFOUND);
    }
    HRESULT STDMETHODCALLTYPE put_accName(VARIANT /*child*/, BSTR /*name*/) override {
        return E_NOTIMPL;
    }
    HRESULT STDMETHODCALLTYPE put_accValue(VARIANT child, BSTR value) override {
        return route(
            child, [&](IAccessible* object, VARIANT id) { return object->put_accValue(id, value); },
            E_NOTIMPL);
    }

protected:
    using Call = std::function<HRESULT(IAccessible* object, VARIANT child)>;

    HWND hwnd() const { return hwnd_; }
    IAccessible* system() const { return system_; }
    template <typename Answer> HRESULT live(Answer answer) const {
        return IsWindow(hwnd_) ? answer() : RPC_E_DISCONNECTED;
    }
    // Asks the object that answers for the child, with the child id that it knows it by; a
    // child with no object of its own answers forNone.
    virtual HRESULT route(const VARIANT& child, const Call& call, HRESULT /*forNone*/ = S_FALSE) {
        return live([&] { return call(system_, child); });
    }
    // An interface besides IAccessible's and IOleWindow's, not yet referenced; null for none.
    virtual void* another(REFIID) { return nullptr; }

private:
    HRESULT text(const VARIANT& child, BSTR* out,
                 HRESULT (STDMETHODCALLTYPE IAccessible::*ask)(VARIANT, BSTR*)) {
        if (out == nullptr)
            return E_POINTER;
        *out = nullptr;
        return route(child,
                     [&](IAccessible* object, VARIANT id) { return (object->*ask)(id, out); });
    }
    HRESULT variant(const VARIANT& child, VARIANT* out,
                    HRESULT (STDMETHODCALLTYPE IAccessible::*ask)(VARIANT, VARIANT*)) {
        if (out == nullptr)
            return E_POINTER;
        VariantInit(out);
        return route(child,
                     [&](IAccessible* object, VARIANT id) { return (object->*ask)(id, out); });
    }

    HWND hwnd_;
    IAccessible* system_;
    LONG references_ = 1;
};

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

// A window's client area, whose children are the window's elements. It enumerates them itself
// (IEnumVARIANT), from where its cursor stands.
class WindowObject final : public Forwarder, public IEnumVARIANT {
public:
    WindowObject(HWND window, IAccessible* system, AccessibleElements elements,
                 std::size_t next = 0)
        : Forwarder(window, system), elements_(std::move(elements)), next_(next) {}

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** object) override {
        return Forwarder::QueryInterface(iid, object);
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return Forwarder::AddRef(); }
    ULONG STDMETHODCALLTYPE Release() override { return Forwarder::Release(); }

    HRESULT STDMETHODCALLTYPE get_accChildCount(LONG* count) override {
        if (count == nullptr)
            return E_POINTER;
        *count = 0;
        return live([&] {
            *count = static_cast<LONG>(elements_().size());
            return S_OK;
        });
    }
    HRESULT STDMETHODCALLTYPE get_accChild(VARIANT child, IDispatch** object) override {
        if (object == nullptr)
            return E_POINTER;
        *object = nullptr;
        const auto [status, element] = elementOf(child);
        if (FAILED(status) || !element)
            return FAILED(status) ? status : E_INVALIDARG;
        if (element->hwnd == nullptr)
            return S_FALSE; // a label: a simple element of this object
        *object = objectOf(element->hwnd);
        return *object != nullptr ? S_OK : E_FAIL;
    }

    // A label's name, role, state and place are the window's to tell.
    HRESULT STDMETHODCALLTYPE get_accName(VARIANT child, BSTR* name) override {
        const auto label = labelOf(child);
        if (!label || name == nullptr)
            return Forwarder::get_accName(child, name);
        return (*name = SysAllocString(label->name.c_str())) ? S_OK : E_OUTOFMEMORY;
    }
    HRESULT STDMETHODCALLTYPE get_accRole(VARIANT child, VARIANT* role) override {
        const auto label = labelOf(child);
        if (!label || role == nullptr)
            return Forwarder::get_accRole(child, role);
        *role = number(label->role);
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE get_accState(VARIANT child, VARIANT* state) override {
        if (!labelOf(child) || state == nullptr)
            return Forwarder::get_accState(child, state);
        *state = number(STATE_SYSTEM_READONLY);
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE accLocation(LONG* left, LONG* top, LONG* width, LONG* height,
                                          VARIANT child) override {
        const auto label = labelOf(child);
        if (!label || !left || !top || !width || !height)
            return Forwarder::accLocation(left, top, width, height, child);
        POINT corner{label->area.left, label->area.top};
        ClientToScreen(hwnd(), &corner);
        *left = corner.x;
        *top = corner.y;
        *width = label->area.right - label->area.left;
        *height = label->area.bottom - label->area.top;
        return S_OK;
    }

    HRESULT STDMETHODCALLTYPE get_accFocus(VARIANT* child) override {
        if (child == nullptr)
            return E_POINTER;
        VariantInit(child);
        return live([&] {
            const HWND focus = GetFocus();
            if (focus != nullptr && focus == hwnd())
                return *child = number(CHILDID_SELF), S_OK;
            const auto elements = elements_();
            for (std::size_t i = 0; i < elements.size(); ++i)
                if (focus != nullptr && elements[i].hwnd == focus)
                    return *child = variantOf(elements, i), S_OK;
            return S_FALSE;
        });
    }
    HRESULT STDMETHODCALLTYPE accNavigate(LONG direction, VARIANT start, VARIANT* end) override {
        if (end == nullptr)
            return E_POINTER;
        VariantInit(end);
        const auto [status, element] = elementOf(start);
        if (FAILED(status))
            return status;
        const bool first = direction == NAVDIR_FIRSTCHILD;
        const bool last = direction == NAVDIR_LASTCHILD;
        const bool next = direction == NAVDIR_NEXT;
        const bool previous = direction == NAVDIR_PREVIOUS;
        if (!element && !first && !last)
            return Forwarder::accNavigate(direction, start, end); // among the windows
        const auto elements = elements_();
        const long size = static_cast<long>(elements.size());
        const long to = first      ? 1
                        : last     ? size
                        : next     ? start.lVal + 1
                        : previous ? start.lVal - 1
                                   : 0;
        if (to < 1 || to > size)
            return S_FALSE;
        *end = variantOf(elements, static_cast<std::size_t>(to - 1));
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE accHitTest(LONG x, LONG y, VARIANT* child) override {
        if (child == nullptr)
            return E_POINTER;
        VariantInit(child);
        return live([&] {
            POINT point{x, y};
            RECT client;
            ScreenToClient(hwnd(), &point);
            GetClientRect(hwnd(), &client);
            if (!PtInRect(&client, point))
                return S_FALSE;
            const auto elements = elements_();
            for (std::size_t i = 0; i < elements.size(); ++i)
                if (PtInRect(&elements[i].area, point) &&
                    (elements[i].hwnd == nullptr || IsWindowVisible(elements[i].hwnd)))
                    return *child = variantOf(elements, i), S_OK;
            return *child = number(CHILDID_SELF), S_OK;
        });
    }

    // IEnumVARIANT: the elements as AccessibleChildren hands them out.
    HRESULT STDMETHODCALLTYPE Next(ULONG count, VARIANT* children, ULONG* fetched) override {
        if (fetched != nullptr)
            *fetched = 0;
        if (children == nullptr || (count > 1 && fetched == nullptr))
            return E_POINTER;
        return live([&] {
            const auto elements = elements_();
            ULONG done = 0;
            for (; done < count && next_ < elements.size(); ++done, ++next_)
                children[done] = variantOf(elements, next_);
            if (fetched != nullptr)
                *fetched = done;
            return done == count ? S_OK : S_FALSE;
        });
    }
    HRESULT STDMETHODCALLTYPE Skip(ULONG count) override {
        return live([&] {
            const std::size_t from = next_;
            next_ = std::min<std::size_t>(from + count, elements_().size());
            return next_ - from == count ? S_OK : S_FALSE;
        });
    }
    HRESULT STDMETHODCALLTYPE Reset() override {
        next_ = 0;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE Clone(IEnumVARIANT** copy) override {
        if (copy == nullptr)
            return E_POINTER;
        *copy = new (std::nothrow) WindowObject(hwnd(), system(), elements_, next_);
        if (*copy == nullptr)
            return E_OUTOFMEMORY;
        system()->AddRef();
        return S_OK;
    }

protected:
    // The window's own questions go to the system's object, a control's to the control's object.
    HRESULT route(const VARIANT& child, const Call& call, HRESULT forNone) override {
        const auto [status, element] = elementOf(child);
        if (FAILED(status) || !element)
            return FAILED(status) ? status : call(system(), child);
        if (element->hwnd == nullptr)
            return forNone;
        IAccessible* control = objectOf(element->hwnd);
        if (control == nullptr)
            return E_FAIL;
        const HRESULT result = call(control, number(CHILDID_SELF));
        control->Release();
        return result;
    }
    void* another(REFIID iid) override {
        return iid == IID_IEnumVARIANT ? static_cast<IEnumVARIANT*>(this) : nullptr;
    }

private:
    // What a child id names: the window itself (no element) or one of its elements. The elements
    // function reaches into the window: it is called only while the window is there.
    std::pair<HRESULT, std::optional<AccessibleElement>> elementOf(const VARIANT& child) const {
        if (!IsWindow(hwnd()))
            return {RPC_E_DISCONNECTED, std::nullopt};
        if (child.vt != VT_I4)
            return {E_INVALIDARG, std::nullopt};
        if (child.lVal == CHILDID_SELF)
            return {S_OK, std::nullopt};
        auto elements = elements_();
        if (child.lVal < 1 || child.lVal > static_cast<long>(elements.size()))
            return {E_INVALIDARG, std::nullopt};
        return {S_OK, std::move(elements[static_cast<std::size_t>(child.lVal - 1)])};
    }
    std::optional<AccessibleElement> labelOf(const VARIANT& child) const {
        auto [status, element] = elementOf(child);
        return element && element->hwnd == nullptr ? std::move(element) : std::nullopt;
    }

    // A control as its object, a label (or a control without one) as its child id.
    static VARIANT variantOf(const std::vector<AccessibleElement>& elements, std::size_t index) {
        VARIANT child = number(static_cast<long>(index + 1));
        if (elements[index].hwnd != nullptr)
            if (IAccessible* object = objectOf(elements[index].hwnd)) {
                child.vt = VT_DISPATCH;
                child.pdispVal = object;
            }
        return child;
    }

    AccessibleElements elements_;
    std::size_t next_;
};

bool asksForClient(LPARAM lParam) {
    return static_cast<DWORD>(lParam) == static_cast<DWORD>(OBJID_CLIENT);
}

// Hands the object to the reader, or gives 0 when that fails.
LRESULT answer(Forwarder* object, WPARAM wParam) {
    if (object == nullptr)
        return 0;
    const LRESULT result =
        LresultFromObject(kAccessibleIid, wParam, static_cast<IAccessible*>(object));
    object->Release();
    return result > 0 ? result : 0;
}

} // namespace

// 0: let the window procedure answer as usual.
LRESULT answerWindowObject(HWND window, WPARAM wParam, LPARAM lParam,
                           const AccessibleElements& elements) {
    if (!asksForClient(lParam) || !elements || !inApartment())
        return 0;
    IAccessible* system = objectOf(window, true);
    if (system == nullptr)
        return 0;
    auto* object = new (std::nothrow) WindowObject(window, system, elements);
    if (object == nullptr)
        system->Release();
    return answer(object, wParam);
}

// 0: let the control's own procedure answer as usual.
LRESULT answerControlObject(HWND control, WPARAM wParam, LPARAM lParam, const std::wstring& name) {
    if (!asksForClient(lParam) || name.empty() || !inApartment())
        return 0;
    IAccessible* system = objectOf(control, true);
    if (system == nullptr)
        return 0;
    auto* object = new (std::nothrow) NamedControl(control, system, name);
    if (object == nullptr)
        system->Release();
    return answer(object, wParam);
}

} // namespace clearmark::runtime::win32
