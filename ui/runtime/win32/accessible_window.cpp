// The object a screen reader reads of one of our windows (MSAA). A window's client area is the
// system's object, but its children are the window's elements in reading order, the labels it
// draws among them as simple elements (child ids 1, 2, ...).
#include "runtime/win32/accessible.h"
#include "runtime/win32/accessible_forwarder.h"

#include <algorithm>
#include <new>
#include <optional>
#include <utility>

namespace clearmark::runtime::win32 {
namespace {

using accessible::answerWith;
using accessible::Forwarder;
using accessible::number;
using accessible::objectOf;

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

} // namespace

// 0: let the window procedure answer as usual.
LRESULT answerWindowObject(HWND window, WPARAM wParam, LPARAM lParam,
                           const AccessibleElements& elements) {
    if (!elements)
        return 0;
    return answerWith(window, wParam, lParam, [&](IAccessible* system) -> Forwarder* {
        return new (std::nothrow) WindowObject(window, system, elements);
    });
}

} // namespace clearmark::runtime::win32
