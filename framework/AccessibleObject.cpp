#include "framework/AccessibleObject.h"

#include "framework/ComApartment.h"
#include "framework/ControlHook.h"

#include <objbase.h>
#include <oleacc.h>

namespace {

std::wstring Wide(const std::string& utf8) {
    std::wstring wide(static_cast<std::size_t>(MultiByteToWideChar(
                          CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()), nullptr, 0)),
                      L'\0');
    MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()), wide.data(),
                        static_cast<int>(wide.size()));
    return wide;
}

bool IsSelf(const VARIANT& child) {
    return child.vt == VT_I4 && child.lVal == CHILDID_SELF;
}

// The platform's object with the look laid over it. Screen readers may hold
// it after its window went: it asks the window for the name each time, and
// a window that is gone answers nothing.
class CLookedAccessible final : public IAccessible {
  public:
    CLookedAccessible(IAccessible* standard, HWND window, AccessibleLook look)
        : standard(standard), window(window), look(std::move(look)) {}
    CLookedAccessible(const CLookedAccessible&) = delete;
    CLookedAccessible& operator=(const CLookedAccessible&) = delete;

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID id, void** object) override {
        if (!object)
            return E_POINTER;
        if (id == __uuidof(IUnknown) || id == __uuidof(IDispatch) || id == __uuidof(IAccessible)) {
            *object = static_cast<IAccessible*>(this);
            AddRef();
            return S_OK;
        }
        // The platform's children and window (IEnumVARIANT, IOleWindow).
        return standard->QueryInterface(id, object);
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return InterlockedIncrement(&references); }
    ULONG STDMETHODCALLTYPE Release() override {
        const ULONG left = InterlockedDecrement(&references);
        if (left == 0)
            delete this;
        return left;
    }

    HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT* count) override {
        return standard->GetTypeInfoCount(count);
    }
    HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT index, LCID locale, ITypeInfo** info) override {
        return standard->GetTypeInfo(index, locale, info);
    }
    HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID id, LPOLESTR* names, UINT count, LCID locale,
                                            DISPID* ids) override {
        return standard->GetIDsOfNames(id, names, count, locale, ids);
    }
    HRESULT STDMETHODCALLTYPE Invoke(DISPID member, REFIID id, LCID locale, WORD flags,
                                     DISPPARAMS* parameters, VARIANT* result, EXCEPINFO* exception,
                                     UINT* wrong) override {
        return standard->Invoke(member, id, locale, flags, parameters, result, exception, wrong);
    }

    HRESULT STDMETHODCALLTYPE get_accName(VARIANT child, BSTR* name) override {
        if (!IsSelf(child))
            return standard->get_accName(child, name);
        if (!name)
            return E_POINTER;
        std::string text = look.name;
        if (look.nameFromWindow)
            SendMessageA(window, kAccessibleNameMessage, reinterpret_cast<WPARAM>(&text), 0);
        *name = text.empty() ? nullptr : SysAllocString(Wide(text).c_str());
        return text.empty() ? S_FALSE : S_OK;
    }
    HRESULT STDMETHODCALLTYPE get_accRole(VARIANT child, VARIANT* role) override {
        if (!IsSelf(child) || look.role == 0)
            return standard->get_accRole(child, role);
        if (!role)
            return E_POINTER;
        role->vt = VT_I4;
        role->lVal = look.role;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE get_accState(VARIANT child, VARIANT* state) override {
        const HRESULT got = standard->get_accState(child, state);
        if (SUCCEEDED(got) && look.hidden && IsSelf(child) && state->vt == VT_I4)
            state->lVal |= STATE_SYSTEM_INVISIBLE;
        return got;
    }

    // The rest is the platform's.
    HRESULT STDMETHODCALLTYPE get_accParent(IDispatch** parent) override {
        return standard->get_accParent(parent);
    }
    HRESULT STDMETHODCALLTYPE get_accChildCount(long* count) override {
        return standard->get_accChildCount(count);
    }
    HRESULT STDMETHODCALLTYPE get_accChild(VARIANT child, IDispatch** dispatch) override {
        return standard->get_accChild(child, dispatch);
    }
    HRESULT STDMETHODCALLTYPE get_accValue(VARIANT child, BSTR* value) override {
        const HRESULT got = standard->get_accValue(child, value);
        if (!IsSelf(child) || !look.textIsValue || (got == S_OK && *value))
            return got;
        std::wstring text(static_cast<std::size_t>(GetWindowTextLengthW(window)) + 1, L'\0');
        text.resize(static_cast<std::size_t>(
            GetWindowTextW(window, text.data(), static_cast<int>(text.size()))));
        *value = SysAllocString(text.c_str());
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE get_accDescription(VARIANT child, BSTR* description) override {
        return standard->get_accDescription(child, description);
    }
    HRESULT STDMETHODCALLTYPE get_accHelp(VARIANT child, BSTR* help) override {
        return standard->get_accHelp(child, help);
    }
    HRESULT STDMETHODCALLTYPE get_accHelpTopic(BSTR* file, VARIANT child, long* topic) override {
        return standard->get_accHelpTopic(file, child, topic);
    }
    HRESULT STDMETHODCALLTYPE get_accKeyboardShortcut(VARIANT child, BSTR* shortcut) override {
        return standard->get_accKeyboardShortcut(child, shortcut);
    }
    HRESULT STDMETHODCALLTYPE get_accFocus(VARIANT* child) override {
        return standard->get_accFocus(child);
    }
    HRESULT STDMETHODCALLTYPE get_accSelection(VARIANT* children) override {
        return standard->get_accSelection(children);
    }
    HRESULT STDMETHODCALLTYPE get_accDefaultAction(VARIANT child, BSTR* action) override {
        return standard->get_accDefaultAction(child, action);
    }
    HRESULT STDMETHODCALLTYPE accSelect(long flags, VARIANT child) override {
        return standard->accSelect(flags, child);
    }
    HRESULT STDMETHODCALLTYPE accLocation(long* left, long* top, long* width, long* height,
                                          VARIANT child) override {
        return standard->accLocation(left, top, width, height, child);
    }
    HRESULT STDMETHODCALLTYPE accNavigate(long direction, VARIANT start, VARIANT* end) override {
        return standard->accNavigate(direction, start, end);
    }
    HRESULT STDMETHODCALLTYPE accHitTest(long x, long y, VARIANT* child) override {
        return standard->accHitTest(x, y, child);
    }
    HRESULT STDMETHODCALLTYPE accDoDefaultAction(VARIANT child) override {
        return standard->accDoDefaultAction(child);
    }
    HRESULT STDMETHODCALLTYPE put_accName(VARIANT child, BSTR name) override {
        return standard->put_accName(child, name);
    }
    HRESULT STDMETHODCALLTYPE put_accValue(VARIANT child, BSTR value) override {
        return standard->put_accValue(child, value);
    }

  private:
    ~CLookedAccessible() { standard->Release(); }

    IAccessible* standard; // owned: one reference
    HWND window;           // borrowed; may be gone
    AccessibleLook look;
    LONG references = 1;
};

LRESULT LookedControlProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam,
                               void* data) {
    const auto* look = static_cast<const AccessibleLook*>(data);
    if (message == WM_GETOBJECT && static_cast<DWORD>(lParam) == static_cast<DWORD>(OBJID_CLIENT))
        return AnswerAccessibleObject(window, wParam, *look);
    if (message == WM_NCDESTROY)
        delete look; // the hook owned it
    return CallControlProcedure(window, message, wParam, lParam);
}

void GiveLook(HWND control, AccessibleLook look) {
    HookControl(control, LookedControlProcedure, new AccessibleLook(std::move(look)));
}

} // namespace

LRESULT AnswerAccessibleObject(HWND window, WPARAM wParam, const AccessibleLook& look) {
    EnsureComApartment(); // the objects are COM's, marshalled to the reader
    IAccessible* standard = nullptr;
    if (FAILED(CreateStdAccessibleObject(window, OBJID_CLIENT, __uuidof(IAccessible),
                                         reinterpret_cast<void**>(&standard))) ||
        !standard)
        return 0;
    auto* looked = new CLookedAccessible(standard, window, look);
    const LRESULT answer = LresultFromObject(__uuidof(IAccessible), wParam, looked);
    looked->Release(); // the answer holds what the reader needs
    return answer;
}

void NameControl(HWND control, const char* name) {
    AccessibleLook look;
    look.name = name;
    GiveLook(control, look);
}

void HideControlFromReaders(HWND control) {
    AccessibleLook look;
    look.hidden = true;
    GiveLook(control, look);
}
