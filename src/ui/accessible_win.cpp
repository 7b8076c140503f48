#include "ui/accessible_win.h"

#include <oleacc.h>

#include <atomic>
#include <vector>

#include "ui/keyboard_model.h"
#include "win32/win32_platform.h"
#include "win32/on_demand_dlls.h"

namespace mv {

namespace {

// {618736E0-3C3D-11CF-810C-00AA00389B71}
constexpr IID kIIDAccessible = {0x618736e0, 0x3c3d, 0x11cf, {0x81, 0x0c, 0x00, 0xaa, 0x00, 0x38, 0x9b, 0x71}};

using LresultFromObjectFn = LRESULT(WINAPI*)(REFIID, WPARAM, LPUNKNOWN);
using CreateStdAccessibleObjectFn = HRESULT(WINAPI*)(HWND, LONG, REFIID, void**);

struct Oleacc {
    LresultFromObjectFn lresultFromObject = nullptr;
    CreateStdAccessibleObjectFn createStd = nullptr;
};

const Oleacc& OleaccFunctions() {
    static const Oleacc functions = [] {
        Oleacc f;
        if (HMODULE module = LoadSystemLibrary(L"oleacc.dll")) {
            f.lresultFromObject = reinterpret_cast<LresultFromObjectFn>(
                reinterpret_cast<void*>(::GetProcAddress(module, "LresultFromObject")));
            f.createStd = reinterpret_cast<CreateStdAccessibleObjectFn>(
                reinterpret_cast<void*>(::GetProcAddress(module, "CreateStdAccessibleObject")));
        }
        return f;
    }();
    return functions;
}

bool IsSelf(const VARIANT& child) { return child.vt == VT_I4 && child.lVal == CHILDID_SELF; }

std::u16string ToU16(const std::wstring& text) { return std::u16string(text.begin(), text.end()); }

BSTR Bstr(const std::wstring& text) { return ondemand::SysAllocStringLen(text.data(), static_cast<UINT>(text.size())); }

// The client object of one window. It holds nothing but the window handle: everything is
// asked of the window when a client asks, so that the object may outlive the window.
class AccessibleControl final : public IAccessible {
public:
    explicit AccessibleControl(HWND window) : window_(window) {
        if (const auto create = OleaccFunctions().createStd)
            if (FAILED(create(window, OBJID_CLIENT, kIIDAccessible, reinterpret_cast<void**>(&standard_))))
                standard_ = nullptr;
    }

    // IUnknown
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** object) override {
        if (!object) return E_POINTER;
        if (riid == IID_IUnknown || riid == IID_IDispatch || riid == kIIDAccessible) {
            *object = static_cast<IAccessible*>(this);
            AddRef();
            return S_OK;
        }
        *object = nullptr;
        return E_NOINTERFACE;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return ++references_; }
    ULONG STDMETHODCALLTYPE Release() override {
        const ULONG left = --references_;
        if (left == 0) delete this;
        return left;
    }

    // IDispatch: not offered (clients call the IAccessible methods directly).
    HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT* count) override {
        if (count) *count = 0;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT, LCID, ITypeInfo**) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE Invoke(DISPID, REFIID, LCID, WORD, DISPPARAMS*, VARIANT*, EXCEPINFO*, UINT*) override {
        return E_NOTIMPL;
    }

    // IAccessible
    HRESULT STDMETHODCALLTYPE get_accParent(IDispatch** parent) override {
        if (!parent) return E_POINTER;
        *parent = nullptr;
        return standard_ ? standard_->get_accParent(parent) : S_FALSE;
    }
    HRESULT STDMETHODCALLTYPE get_accChildCount(long* count) override {
        if (!count) return E_POINTER;
        *count = 0;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE get_accChild(VARIANT, IDispatch** child) override {
        if (child) *child = nullptr;
        return E_INVALIDARG;
    }
    HRESULT STDMETHODCALLTYPE get_accName(VARIANT child, BSTR* name) override {
        if (!name) return E_POINTER;
        *name = nullptr;
        if (!IsSelf(child)) return E_INVALIDARG;
        if (!::IsWindow(window_)) return E_FAIL;
        const AccessibleTraits traits = Traits();
        const std::wstring text = !traits.name.empty() ? traits.name : ToWide(NameWithoutAccessKey(ToU16(WindowText())));
        if (text.empty()) return S_FALSE;
        *name = Bstr(text);
        return *name ? S_OK : E_OUTOFMEMORY;
    }
    HRESULT STDMETHODCALLTYPE get_accValue(VARIANT child, BSTR* value) override {
        if (!value) return E_POINTER;
        *value = nullptr;
        if (!IsSelf(child)) return E_INVALIDARG;
        if (!::IsWindow(window_)) return E_FAIL;
        const AccessibleTraits traits = Traits();
        if (traits.value.empty()) return S_FALSE;
        *value = Bstr(traits.value);
        return *value ? S_OK : E_OUTOFMEMORY;
    }
    HRESULT STDMETHODCALLTYPE get_accDescription(VARIANT child, BSTR* text) override { return Nothing(child, text); }
    HRESULT STDMETHODCALLTYPE get_accRole(VARIANT child, VARIANT* role) override {
        if (!role) return E_POINTER;
        ondemand::VariantInit(role);
        if (!IsSelf(child)) return E_INVALIDARG;
        if (!::IsWindow(window_)) return E_FAIL;
        const AccessibleTraits traits = Traits();
        role->vt = VT_I4;
        role->lVal = traits.role ? traits.role : ROLE_SYSTEM_CLIENT;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE get_accState(VARIANT child, VARIANT* state) override {
        if (!state) return E_POINTER;
        ondemand::VariantInit(state);
        if (!IsSelf(child)) return E_INVALIDARG;
        if (!::IsWindow(window_)) return E_FAIL;
        const AccessibleTraits traits = Traits();
        unsigned long flags = traits.state;
        if (!::IsWindowVisible(window_)) flags |= STATE_SYSTEM_INVISIBLE;
        if (!::IsWindowEnabled(window_)) {
            flags |= STATE_SYSTEM_UNAVAILABLE;
        } else if (traits.focusable) {
            flags |= STATE_SYSTEM_FOCUSABLE;
            if (::GetFocus() == window_) flags |= STATE_SYSTEM_FOCUSED;
        }
        state->vt = VT_I4;
        state->lVal = static_cast<LONG>(flags);
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE get_accHelp(VARIANT child, BSTR* help) override { return Nothing(child, help); }
    HRESULT STDMETHODCALLTYPE get_accHelpTopic(BSTR* file, VARIANT, long* topic) override {
        if (file) *file = nullptr;
        if (topic) *topic = 0;
        return S_FALSE;
    }
    HRESULT STDMETHODCALLTYPE get_accKeyboardShortcut(VARIANT child, BSTR* shortcut) override {
        if (!shortcut) return E_POINTER;
        *shortcut = nullptr;
        if (!IsSelf(child)) return E_INVALIDARG;
        const char16_t key = AccessKeyOf(ToU16(WindowText()));
        if (!key) return S_FALSE;
        *shortcut = Bstr(std::wstring(L"Alt+") + static_cast<wchar_t>(key));
        return *shortcut ? S_OK : E_OUTOFMEMORY;
    }
    HRESULT STDMETHODCALLTYPE get_accFocus(VARIANT* focus) override {
        if (!focus) return E_POINTER;
        ondemand::VariantInit(focus);
        if (::GetFocus() != window_) return S_FALSE;
        focus->vt = VT_I4;
        focus->lVal = CHILDID_SELF;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE get_accSelection(VARIANT* selection) override {
        if (selection) ondemand::VariantInit(selection);
        return S_FALSE;
    }
    HRESULT STDMETHODCALLTYPE get_accDefaultAction(VARIANT child, BSTR* action) override {
        return Nothing(child, action);
    }
    HRESULT STDMETHODCALLTYPE accSelect(long flags, VARIANT child) override {
        if (!IsSelf(child)) return E_INVALIDARG;
        if ((flags & SELFLAG_TAKEFOCUS) && ::IsWindowEnabled(window_)) ::SetFocus(window_);
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE accLocation(long* left, long* top, long* width, long* height, VARIANT child) override {
        if (!left || !top || !width || !height) return E_POINTER;
        if (!IsSelf(child)) return E_INVALIDARG;
        RECT r{};
        if (!::GetWindowRect(window_, &r)) return E_FAIL;
        *left = r.left;
        *top = r.top;
        *width = r.right - r.left;
        *height = r.bottom - r.top;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE accNavigate(long direction, VARIANT start, VARIANT* end) override {
        if (!end) return E_POINTER;
        ondemand::VariantInit(end);
        return standard_ ? standard_->accNavigate(direction, start, end) : S_FALSE;
    }
    HRESULT STDMETHODCALLTYPE accHitTest(long x, long y, VARIANT* child) override {
        if (!child) return E_POINTER;
        ondemand::VariantInit(child);
        RECT r{};
        ::GetWindowRect(window_, &r);
        if (!::PtInRect(&r, POINT{x, y})) return S_FALSE;
        child->vt = VT_I4;
        child->lVal = CHILDID_SELF;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE accDoDefaultAction(VARIANT child) override {
        if (!IsSelf(child)) return E_INVALIDARG;
        if (!::IsWindowEnabled(window_) || !::IsWindowVisible(window_)) return E_FAIL;
        // A posted click: the client's call returns before the click's effects (a menu, a dialog) run.
        ::PostMessageW(window_, BM_CLICK, 0, 0);
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE put_accName(VARIANT, BSTR) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE put_accValue(VARIANT, BSTR) override { return E_NOTIMPL; }

private:
    ~AccessibleControl() {
        if (standard_) standard_->Release();
    }
    HRESULT Nothing(const VARIANT& child, BSTR* out) {
        if (!out) return E_POINTER;
        *out = nullptr;
        return IsSelf(child) ? S_FALSE : E_INVALIDARG;
    }
    std::wstring WindowText() const {
        const int length = ::GetWindowTextLengthW(window_);
        if (length <= 0) return {};
        std::vector<wchar_t> buffer(static_cast<std::size_t>(length) + 1);
        const int got = ::GetWindowTextW(window_, buffer.data(), length + 1);
        return std::wstring(buffer.data(), static_cast<std::size_t>(got > 0 ? got : 0));
    }
    AccessibleTraits Traits() const {
        AccessibleTraits traits;
        ::SendMessageW(window_, WM_ACCESSIBLE_TRAITS, 0, reinterpret_cast<LPARAM>(&traits));
        return traits;
    }

    HWND window_;
    IAccessible* standard_ = nullptr;
    std::atomic<ULONG> references_{1};
};

}  // namespace

LRESULT AnswerFocusableTraits(LPARAM lParam, long role, const std::wstring& name, const std::wstring& value) {
    auto* traits = reinterpret_cast<AccessibleTraits*>(lParam);
    if (!traits) return 0;
    traits->role = role;
    traits->focusable = true;
    traits->name = name;
    traits->value = value;
    return 1;
}

LRESULT AnswerGetObject(HWND window, WPARAM wParam, LPARAM lParam) {
    if (static_cast<LONG>(lParam) != OBJID_CLIENT) return 0;
    EnsureUiThreadCom();  // objects are handed over through COM; other threads start their own
    const auto lresult = OleaccFunctions().lresultFromObject;
    if (!lresult) return 0;
    auto* object = new AccessibleControl(window);
    const LRESULT answer = lresult(kIIDAccessible, wParam, static_cast<IAccessible*>(object));
    object->Release();
    return answer > 0 ? answer : 0;
}

void RaiseNameChange(HWND window) { ::NotifyWinEvent(EVENT_OBJECT_NAMECHANGE, window, OBJID_CLIENT, CHILDID_SELF); }

}  // namespace mv
