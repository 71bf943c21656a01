#pragma once

// What the objects a screen reader reads of our windows and controls (MSAA) share: the system's
// object for a client area, which each of them answers through, and the helpers around it.
// Readers in other processes reach the objects through COM; once the window is gone, every call
// fails as disconnected.
#include <functional>
#include <windows.h>

#include <oleacc.h>

namespace clearmark::runtime::win32::accessible {

// oleacc's import library exports these as code rather than as the GUIDs: they are spelt out.
inline constexpr IID kAccessibleIid = {
    0x618736e0, 0x3c3d, 0x11cf, {0x81, 0x0c, 0x00, 0xaa, 0x00, 0x38, 0x9b, 0x71}};

// A child id, role or state.
VARIANT number(long value);

bool isSelf(const VARIANT& child);

// IAccessible's type information from oleacc's type library, for callers through IDispatch;
// none where the library is not registered. Kept for the process.
ITypeInfo* accessibleTypeInfo();

// A window's object as its WM_GETOBJECT answers it, or the system's own; null for none.
IAccessible* objectOf(HWND hwnd, bool system = false);

// LresultFromObject marshals through COM. A thread that the program has not put into an
// apartment joins a single-threaded one when a reader first asks, and stays in it.
bool inApartment();

// The system's object for a client area, which is asked what is not answered otherwise. A call
// about a child goes by route(), which a window's object sends to its elements.
class Forwarder : public IAccessible, public IOleWindow {
public:
    Forwarder(HWND hwnd, IAccessible* system) : hwnd_(hwnd), system_(system) {}
    virtual ~Forwarder() { system_->Release(); }
    Forwarder(const Forwarder&) = delete;
    Forwarder& operator=(const Forwarder&) = delete;

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** object) override;
    ULONG STDMETHODCALLTYPE AddRef() override { return InterlockedIncrement(&references_); }
    ULONG STDMETHODCALLTYPE Release() override;

    // IDispatch, through IAccessible's type information.
    HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT* count) override;
    HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT index, LCID /*locale*/, ITypeInfo** info) override;
    HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID /*reserved*/, LPOLESTR* names, UINT count,
                                            LCID /*locale*/, DISPID* ids) override;
    HRESULT STDMETHODCALLTYPE Invoke(DISPID member, REFIID /*reserved*/, LCID /*locale*/,
                                     WORD flags, DISPPARAMS* params, VARIANT* result,
                                     EXCEPINFO* exception, UINT* argument) override;

    HRESULT STDMETHODCALLTYPE GetWindow(HWND* hwnd) override;
    HRESULT STDMETHODCALLTYPE ContextSensitiveHelp(BOOL /*enterMode*/) override {
        return E_NOTIMPL;
    }

    // IAccessible: about the object itself, as the system's object answers.
    HRESULT STDMETHODCALLTYPE get_accParent(IDispatch** parent) override;
    HRESULT STDMETHODCALLTYPE get_accChildCount(LONG* count) override;
    HRESULT STDMETHODCALLTYPE get_accChild(VARIANT child, IDispatch** object) override;
    HRESULT STDMETHODCALLTYPE get_accFocus(VARIANT* child) override;
    HRESULT STDMETHODCALLTYPE get_accSelection(VARIANT* children) override;
    HRESULT STDMETHODCALLTYPE accNavigate(LONG direction, VARIANT start, VARIANT* end) override;
    HRESULT STDMETHODCALLTYPE accHitTest(LONG x, LONG y, VARIANT* child) override;

    // IAccessible: about the object or one of its children.
    HRESULT STDMETHODCALLTYPE get_accName(VARIANT child, BSTR* name) override;
    HRESULT STDMETHODCALLTYPE get_accValue(VARIANT child, BSTR* value) override;
    HRESULT STDMETHODCALLTYPE get_accDescription(VARIANT child, BSTR* description) override;
    HRESULT STDMETHODCALLTYPE get_accHelp(VARIANT child, BSTR* help) override;
    HRESULT STDMETHODCALLTYPE get_accKeyboardShortcut(VARIANT child, BSTR* keys) override;
    HRESULT STDMETHODCALLTYPE get_accDefaultAction(VARIANT child, BSTR* action) override;
    HRESULT STDMETHODCALLTYPE get_accRole(VARIANT child, VARIANT* role) override;
    HRESULT STDMETHODCALLTYPE get_accState(VARIANT child, VARIANT* state) override;
    HRESULT STDMETHODCALLTYPE get_accHelpTopic(BSTR* file, VARIANT child, LONG* topic) override;
    HRESULT STDMETHODCALLTYPE accLocation(LONG* left, LONG* top, LONG* width, LONG* height,
                                          VARIANT child) override;
    HRESULT STDMETHODCALLTYPE accSelect(LONG how, VARIANT child) override;
    HRESULT STDMETHODCALLTYPE accDoDefaultAction(VARIANT child) override;
    HRESULT STDMETHODCALLTYPE put_accName(VARIANT /*child*/, BSTR /*name*/) override {
        return E_NOTIMPL;
    }
    HRESULT STDMETHODCALLTYPE put_accValue(VARIANT child, BSTR value) override;

protected:
    using Call = std::function<HRESULT(IAccessible* object, VARIANT child)>;

    HWND hwnd() const { return hwnd_; }
    IAccessible* system() const { return system_; }
    template <typename Answer> HRESULT live(Answer answer) const {
        return IsWindow(hwnd_) ? answer() : RPC_E_DISCONNECTED;
    }
    // Asks the object that answers for the child, with the child id that it knows it by; a
    // child with no object of its own answers forNone.
    virtual HRESULT route(const VARIANT& child, const Call& call, HRESULT forNone = S_FALSE);
    // An interface besides IAccessible's and IOleWindow's, not yet referenced; null for none.
    virtual void* another(REFIID) { return nullptr; }

private:
    HRESULT text(const VARIANT& child, BSTR* out,
                 HRESULT (STDMETHODCALLTYPE IAccessible::*ask)(VARIANT, BSTR*));
    HRESULT variant(const VARIANT& child, VARIANT* out,
                    HRESULT (STDMETHODCALLTYPE IAccessible::*ask)(VARIANT, VARIANT*));

    HWND hwnd_;
    IAccessible* system_;
    LONG references_ = 1;
};

// Whether WM_GETOBJECT asks for a window's client area.
bool asksForClient(LPARAM lParam);

// Answers WM_GETOBJECT for the client area of the window with the object that `make` builds
// over the system's own object (null when it cannot); 0 (the window answers as usual) for any
// other question, or when no object can be made or handed over.
LRESULT answerWith(HWND hwnd, WPARAM wParam, LPARAM lParam,
                   const std::function<Forwarder*(IAccessible* system)>& make);

} // namespace clearmark::runtime::win32::accessible
