#include "ui/AccessibleItem.h"

#include <oleacc.h>

#include <exception>
#include <utility>

#include "platform/Declared.h"
#include "platform/Handles.h"
#include "platform/Platform.h"

namespace {

bool IsSelf(const VARIANT& child) { return child.vt == VT_I4 && child.lVal == CHILDID_SELF; }

// Windows' own object for a static control, which calls it "static text"
// with no default action, told what the item is instead. Every answer about
// anything else is Windows' own. Once the item is destroyed nothing is
// answered: a screen reader may keep the object longer than the item lives.
class AccessibleItem final : public IAccessible, public IOleWindow {
public:
    AccessibleItem(HWND item, ItemRole role, ItemPresence present, ComPtr<IAccessible> standard)
        : item_(item), role_(role), present_(std::move(present)), standard_(std::move(standard)) {}

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override {
        if (!out) return E_POINTER;
        *out = nullptr;
        if (IsEqualIID(iid, __uuidof(IUnknown)) || IsEqualIID(iid, __uuidof(IDispatch)) ||
            IsEqualIID(iid, __uuidof(IAccessible))) {
            *out = static_cast<IAccessible*>(this);
        } else if (IsEqualIID(iid, __uuidof(IOleWindow))) {
            // WindowFromAccessibleObject asks for the window through it; a
            // reader that asks it for IAccessible again must find this object,
            // not Windows' static text.
            *out = static_cast<IOleWindow*>(this);
        } else {
            return E_NOINTERFACE;
        }
        AddRef();
        return S_OK;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return static_cast<ULONG>(InterlockedIncrement(&refs_)); }
    ULONG STDMETHODCALLTYPE Release() override {
        const LONG left = InterlockedDecrement(&refs_);
        if (left == 0) delete this;
        return static_cast<ULONG>(left);
    }

    HRESULT STDMETHODCALLTYPE GetWindow(HWND* window) override {
        if (!window) return E_POINTER;
        *window = Gone() ? nullptr : item_;
        return Gone() ? CO_E_OBJNOTCONNECTED : S_OK;
    }
    HRESULT STDMETHODCALLTYPE ContextSensitiveHelp(BOOL) override { return E_NOTIMPL; }

    // Screen readers call through the vtable; Windows' IDispatch would
    // answer with the static control's role and action, so there is none.
    HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT* count) override {
        if (!count) return E_POINTER;
        *count = 0;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT, LCID, ITypeInfo**) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE Invoke(DISPID, REFIID, LCID, WORD, DISPPARAMS*, VARIANT*, EXCEPINFO*, UINT*) override {
        return E_NOTIMPL;
    }

    HRESULT STDMETHODCALLTYPE get_accRole(VARIANT child, VARIANT* role) override {
        if (Gone() || !IsSelf(child)) return Standard(&IAccessible::get_accRole, child, role);
        if (!role) return E_POINTER;
        role->vt = VT_I4;
        role->lVal = role_ == ItemRole::Link ? ROLE_SYSTEM_LINK : ROLE_SYSTEM_PUSHBUTTON;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE get_accState(VARIANT child, VARIANT* state) override {
        const HRESULT hr = Standard(&IAccessible::get_accState, child, state);
        if (SUCCEEDED(hr) && IsSelf(child) && state->vt == VT_I4) {
            // Static text is read-only to Windows, and takes no focus; a link
            // leads somewhere, and Tab reaches the item. It has the focus
            // while its window is the one the keyboard types into.
            state->lVal &= ~(STATE_SYSTEM_READONLY | STATE_SYSTEM_FOCUSABLE | STATE_SYSTEM_FOCUSED);
            if (role_ == ItemRole::Link) state->lVal |= STATE_SYSTEM_LINKED;
            if (IsWindowEnabled(item_) && (GetWindowLongPtrW(item_, GWL_STYLE) & WS_TABSTOP))
                state->lVal |= STATE_SYSTEM_FOCUSABLE;
            if (GetFocus() == item_ && GetForegroundWindow() == GetAncestor(item_, GA_ROOT))
                state->lVal |= STATE_SYSTEM_FOCUSED;
        }
        return hr;
    }
    HRESULT STDMETHODCALLTYPE get_accDefaultAction(VARIANT child, BSTR* action) override {
        if (Gone() || !IsSelf(child)) return Standard(&IAccessible::get_accDefaultAction, child, action);
        if (!action) return E_POINTER;
        // oleaut32 is loaded already: oleacc imports it.
        static Declared<BSTR(WINAPI*)(const OLECHAR*)> sysAllocString{declared::oleaut32, "SysAllocString"};
        const auto allocate = sysAllocString.IfPresent();
        *action = allocate ? allocate(role_ == ItemRole::Link ? L"Ouvrir" : L"Appuyer") : nullptr;
        return *action ? S_OK : E_OUTOFMEMORY;
    }
    HRESULT STDMETHODCALLTYPE accDoDefaultAction(VARIANT child) override {
        if (Gone() || !IsSelf(child)) return Standard(&IAccessible::accDoDefaultAction, child);
        const HWND parent = GetParent(item_);
        if (!parent) return E_FAIL;
        // Posted, not sent: the click hands the address to the shell, which
        // may take its time or show a message, and the screen reader waiting
        // on this call would wait as long.
        return PostMessageW(parent, WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(item_), STN_CLICKED),
                            reinterpret_cast<LPARAM>(item_))
                   ? S_OK
                   : HRESULT_FROM_WIN32(GetLastError());
    }

    // The rest is Windows' own.
    HRESULT STDMETHODCALLTYPE get_accParent(IDispatch** parent) override {
        return Standard(&IAccessible::get_accParent, parent);
    }
    HRESULT STDMETHODCALLTYPE get_accChildCount(LONG* count) override {
        return Standard(&IAccessible::get_accChildCount, count);
    }
    HRESULT STDMETHODCALLTYPE get_accChild(VARIANT child, IDispatch** object) override {
        return Standard(&IAccessible::get_accChild, child, object);
    }
    HRESULT STDMETHODCALLTYPE get_accName(VARIANT child, BSTR* name) override {
        return Standard(&IAccessible::get_accName, child, name);
    }
    HRESULT STDMETHODCALLTYPE get_accValue(VARIANT child, BSTR* value) override {
        return Standard(&IAccessible::get_accValue, child, value);
    }
    HRESULT STDMETHODCALLTYPE get_accDescription(VARIANT child, BSTR* text) override {
        return Standard(&IAccessible::get_accDescription, child, text);
    }
    HRESULT STDMETHODCALLTYPE get_accHelp(VARIANT child, BSTR* help) override {
        return Standard(&IAccessible::get_accHelp, child, help);
    }
    HRESULT STDMETHODCALLTYPE get_accHelpTopic(BSTR* file, VARIANT child, LONG* topic) override {
        return Standard(&IAccessible::get_accHelpTopic, file, child, topic);
    }
    HRESULT STDMETHODCALLTYPE get_accKeyboardShortcut(VARIANT child, BSTR* keys) override {
        return Standard(&IAccessible::get_accKeyboardShortcut, child, keys);
    }
    HRESULT STDMETHODCALLTYPE get_accFocus(VARIANT* focus) override {
        return Standard(&IAccessible::get_accFocus, focus);
    }
    HRESULT STDMETHODCALLTYPE get_accSelection(VARIANT* selection) override {
        return Standard(&IAccessible::get_accSelection, selection);
    }
    HRESULT STDMETHODCALLTYPE accSelect(LONG flags, VARIANT child) override {
        return Standard(&IAccessible::accSelect, flags, child);
    }
    HRESULT STDMETHODCALLTYPE accLocation(LONG* left, LONG* top, LONG* width, LONG* height, VARIANT child) override {
        return Standard(&IAccessible::accLocation, left, top, width, height, child);
    }
    HRESULT STDMETHODCALLTYPE accNavigate(LONG direction, VARIANT start, VARIANT* end) override {
        return Standard(&IAccessible::accNavigate, direction, start, end);
    }
    HRESULT STDMETHODCALLTYPE accHitTest(LONG x, LONG y, VARIANT* child) override {
        return Standard(&IAccessible::accHitTest, x, y, child);
    }
    HRESULT STDMETHODCALLTYPE put_accName(VARIANT child, BSTR name) override {
        return Standard(&IAccessible::put_accName, child, name);
    }
    HRESULT STDMETHODCALLTYPE put_accValue(VARIANT child, BSTR value) override {
        return Standard(&IAccessible::put_accValue, child, value);
    }

private:
    ~AccessibleItem() = default;  // by Release only

    bool Gone() const { return !*present_; }
    // Windows' answer while the item lives; CO_E_OBJNOTCONNECTED, the
    // answer of an object whose server has gone, once it is destroyed.
    template <class Method, class... Args>
    HRESULT Standard(Method method, Args... args) {
        if (Gone()) return CO_E_OBJNOTCONNECTED;
        return (standard_.get()->*method)(args...);
    }

    LONG refs_ = 1;
    HWND item_;
    ItemRole role_;
    ItemPresence present_;
    ComPtr<IAccessible> standard_;
};

}  // namespace

LRESULT AccessibleItemObject(HWND item, ItemRole role, const ItemPresence& present, WPARAM wParam) noexcept {
    static Declared<HRESULT(WINAPI*)(HWND, LONG, REFIID, void**)> createStdAccessibleObject{
        declared::oleacc, "CreateStdAccessibleObject"};
    static Declared<LRESULT(WINAPI*)(REFIID, WPARAM, LPUNKNOWN)> lresultFromObject{declared::oleacc,
                                                                                  "LresultFromObject"};
    if (!*present) return 0;
    try {
        // The object is marshalled to the screen reader through COM.
        EnsureComApartment();
        IAccessible* raw = nullptr;
        if (FAILED((*createStdAccessibleObject)(item, OBJID_CLIENT, __uuidof(IAccessible),
                                                reinterpret_cast<void**>(&raw))) ||
            !raw)
            return 0;
        ComPtr<IAccessible> standard(raw);
        // LresultFromObject keeps its own reference; this one goes at the end.
        const ComPtr<IAccessible> object(new AccessibleItem(item, role, present, std::move(standard)));
        const LRESULT result = (*lresultFromObject)(__uuidof(IAccessible), wParam, object.get());
        return result > 0 ? result : 0;
    } catch (const std::exception&) {
        return 0;
    }
}
