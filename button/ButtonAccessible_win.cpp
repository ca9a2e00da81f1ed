#include "ButtonAccessible_win.h"

#include "ButtonMnemonic.h"
#include "ButtonWindow_win.h"

#include <string>

namespace qv {
namespace {

// What an automation tool's "press" says of the default action.
constexpr wchar_t DefaultAction[] = L"Drücken";

HRESULT Out(BSTR* out, const Text& text)
{
    *out = SysAllocStringLen(reinterpret_cast<const OLECHAR*>(text.data()), static_cast<UINT>(text.size()));
    return *out ? S_OK : E_OUTOFMEMORY;
}

// CHILDID_SELF, in whatever form the platform's own objects take it.
bool IsSelf(const VARIANT& child)
{
    return child.vt == VT_EMPTY || (child.vt == VT_I4 && child.lVal == CHILDID_SELF) ||
           (child.vt == VT_I2 && child.iVal == CHILDID_SELF);
}

// Objects that readers still hold, on any thread.
std::atomic<long> g_living{0};

}  // namespace

ComPtr<ButtonAccessible> ButtonAccessible::Create(HWND window)
{
    // A COM object owns itself through its reference count; Adopt takes the creation reference.
    return ComPtr<ButtonAccessible>::Adopt(new ButtonAccessible(window));
}

ButtonAccessible::ButtonAccessible(HWND window) noexcept : m_window(window)
{
    ++g_living;
}

ButtonAccessible::~ButtonAccessible()
{
    --g_living;
}

void ButtonAccessible::KeepModuleWhileAnyLives() noexcept
{
    if (g_living.load() > 0) {
        HMODULE module = nullptr;
        GetModuleHandleExW(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_PIN,
                           reinterpret_cast<LPCWSTR>(&g_living), &module);
    }
}

STDMETHODIMP ButtonAccessible::QueryInterface(REFIID riid, void** object)
{
    if (!object) {
        return E_POINTER;
    }
    if (IsEqualIID(riid, IID_IUnknown) || IsEqualIID(riid, IID_IDispatch) || IsEqualIID(riid, __uuidof(IAccessible))) {
        *object = static_cast<IAccessible*>(this);
        AddRef();
        return S_OK;
    }
    *object = nullptr;
    return E_NOINTERFACE;
}

STDMETHODIMP_(ULONG) ButtonAccessible::AddRef()
{
    return m_refs.fetch_add(1) + 1;
}

STDMETHODIMP_(ULONG) ButtonAccessible::Release()
{
    const ULONG refs = m_refs.fetch_sub(1) - 1;
    if (refs == 0) {
        delete this;
    }
    return refs;
}

STDMETHODIMP ButtonAccessible::GetTypeInfoCount(UINT* count)
{
    if (!count) {
        return E_POINTER;
    }
    *count = 0;
    return S_OK;
}

STDMETHODIMP ButtonAccessible::GetTypeInfo(UINT, LCID, ITypeInfo** info)
{
    if (info) {
        *info = nullptr;
    }
    return E_NOTIMPL;
}

STDMETHODIMP ButtonAccessible::GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*)
{
    return E_NOTIMPL;
}

STDMETHODIMP ButtonAccessible::Invoke(DISPID, REFIID, LCID, WORD, DISPPARAMS*, VARIANT*, EXCEPINFO*, UINT*)
{
    return E_NOTIMPL;
}

RECT ButtonAccessible::ClientOnScreen() const
{
    RECT box{};
    GetClientRect(m_window, &box);
    MapWindowPoints(m_window, nullptr, reinterpret_cast<POINT*>(&box), 2);
    return box;
}

HRESULT ButtonAccessible::Check(const VARIANT& child) const
{
    if (!ButtonWindow::FromHandle(m_window)) {
        return RPC_E_DISCONNECTED;
    }
    return IsSelf(child) ? S_OK : E_INVALIDARG;
}

STDMETHODIMP ButtonAccessible::get_accParent(IDispatch** parent)
{
    if (!parent) {
        return E_POINTER;
    }
    *parent = nullptr;
    if (!ButtonWindow::FromHandle(m_window)) {
        return RPC_E_DISCONNECTED;
    }
    // The client area's parent is its own window, as the platform's objects are arranged.
    return AccessibleObjectFromWindow(m_window, static_cast<DWORD>(OBJID_WINDOW), IID_IDispatch,
                                      reinterpret_cast<void**>(parent));
}

STDMETHODIMP ButtonAccessible::get_accChildCount(long* count)
{
    if (!count) {
        return E_POINTER;
    }
    *count = 0;
    return ButtonWindow::FromHandle(m_window) ? S_OK : RPC_E_DISCONNECTED;
}

STDMETHODIMP ButtonAccessible::get_accChild(VARIANT, IDispatch** object)
{
    if (!object) {
        return E_POINTER;
    }
    *object = nullptr;
    return E_INVALIDARG;
}

STDMETHODIMP ButtonAccessible::get_accName(VARIANT child, BSTR* name)
{
    if (!name) {
        return E_POINTER;
    }
    *name = nullptr;
    const HRESULT checked = Check(child);
    if (FAILED(checked)) {
        return checked;
    }
    try {
        return Out(name, CaptionAsRead(ButtonWindow::FromHandle(m_window)->Control().Caption()));
    } catch (...) {
        return E_OUTOFMEMORY;
    }
}

STDMETHODIMP ButtonAccessible::get_accValue(VARIANT child, BSTR* value)
{
    if (!value) {
        return E_POINTER;
    }
    *value = nullptr;
    const HRESULT checked = Check(child);
    return FAILED(checked) ? checked : DISP_E_MEMBERNOTFOUND;
}

STDMETHODIMP ButtonAccessible::get_accDescription(VARIANT child, BSTR* description)
{
    if (!description) {
        return E_POINTER;
    }
    *description = nullptr;
    const HRESULT checked = Check(child);
    return FAILED(checked) ? checked : S_FALSE;
}

STDMETHODIMP ButtonAccessible::get_accRole(VARIANT child, VARIANT* role)
{
    if (!role) {
        return E_POINTER;
    }
    VariantInit(role);
    const HRESULT checked = Check(child);
    if (FAILED(checked)) {
        return checked;
    }
    role->vt = VT_I4;
    role->lVal = ROLE_SYSTEM_PUSHBUTTON;
    return S_OK;
}

STDMETHODIMP ButtonAccessible::get_accState(VARIANT child, VARIANT* state)
{
    if (!state) {
        return E_POINTER;
    }
    VariantInit(state);
    const HRESULT checked = Check(child);
    if (FAILED(checked)) {
        return checked;
    }
    state->vt = VT_I4;
    state->lVal = static_cast<long>(ButtonWindow::FromHandle(m_window)->AccessibleState());
    return S_OK;
}

STDMETHODIMP ButtonAccessible::get_accHelp(VARIANT child, BSTR* help)
{
    if (!help) {
        return E_POINTER;
    }
    *help = nullptr;
    const HRESULT checked = Check(child);
    return FAILED(checked) ? checked : S_FALSE;
}

STDMETHODIMP ButtonAccessible::get_accHelpTopic(BSTR* file, VARIANT child, long* topic)
{
    if (!file || !topic) {
        return E_POINTER;
    }
    *file = nullptr;
    *topic = 0;
    const HRESULT checked = Check(child);
    return FAILED(checked) ? checked : S_FALSE;
}

STDMETHODIMP ButtonAccessible::get_accKeyboardShortcut(VARIANT child, BSTR* shortcut)
{
    if (!shortcut) {
        return E_POINTER;
    }
    *shortcut = nullptr;
    const HRESULT checked = Check(child);
    if (FAILED(checked)) {
        return checked;
    }
    const auto mnemonic = MnemonicOf(ButtonWindow::FromHandle(m_window)->Control().Caption());
    if (!mnemonic) {
        return S_FALSE;
    }
    try {
        return Out(shortcut, u"Alt+" + Text(1, *mnemonic));
    } catch (...) {
        return E_OUTOFMEMORY;
    }
}

STDMETHODIMP ButtonAccessible::get_accFocus(VARIANT* child)
{
    if (!child) {
        return E_POINTER;
    }
    VariantInit(child);
    if (!ButtonWindow::FromHandle(m_window)) {
        return RPC_E_DISCONNECTED;
    }
    if (GetFocus() != m_window) {
        return S_FALSE;
    }
    child->vt = VT_I4;
    child->lVal = CHILDID_SELF;
    return S_OK;
}

STDMETHODIMP ButtonAccessible::get_accSelection(VARIANT* children)
{
    if (!children) {
        return E_POINTER;
    }
    VariantInit(children);
    return ButtonWindow::FromHandle(m_window) ? S_FALSE : RPC_E_DISCONNECTED;
}

STDMETHODIMP ButtonAccessible::get_accDefaultAction(VARIANT child, BSTR* action)
{
    if (!action) {
        return E_POINTER;
    }
    *action = nullptr;
    const HRESULT checked = Check(child);
    if (FAILED(checked)) {
        return checked;
    }
    *action = SysAllocString(DefaultAction);
    return *action ? S_OK : E_OUTOFMEMORY;
}

STDMETHODIMP ButtonAccessible::accSelect(long flags, VARIANT child)
{
    const HRESULT checked = Check(child);
    if (FAILED(checked)) {
        return checked;
    }
    if (flags != SELFLAG_TAKEFOCUS) {
        return E_INVALIDARG;
    }
    SetFocus(m_window);
    return S_OK;
}

STDMETHODIMP ButtonAccessible::accLocation(long* left, long* top, long* width, long* height, VARIANT child)
{
    if (!left || !top || !width || !height) {
        return E_POINTER;
    }
    *left = *top = *width = *height = 0;
    const HRESULT checked = Check(child);
    if (FAILED(checked)) {
        return checked;
    }
    const RECT box = ClientOnScreen();
    *left = box.left;
    *top = box.top;
    *width = box.right - box.left;
    *height = box.bottom - box.top;
    return S_OK;
}

STDMETHODIMP ButtonAccessible::accNavigate(long, VARIANT start, VARIANT* end)
{
    if (!end) {
        return E_POINTER;
    }
    VariantInit(end);
    const HRESULT checked = Check(start);
    // A push button has no parts to move among; its neighbours are its window's.
    return FAILED(checked) ? checked : S_FALSE;
}

STDMETHODIMP ButtonAccessible::accHitTest(long x, long y, VARIANT* child)
{
    if (!child) {
        return E_POINTER;
    }
    VariantInit(child);
    if (!ButtonWindow::FromHandle(m_window)) {
        return RPC_E_DISCONNECTED;
    }
    const RECT box = ClientOnScreen();
    if (!PtInRect(&box, POINT{x, y})) {
        return S_FALSE;
    }
    child->vt = VT_I4;
    child->lVal = CHILDID_SELF;
    return S_OK;
}

STDMETHODIMP ButtonAccessible::accDoDefaultAction(VARIANT child)
{
    const HRESULT checked = Check(child);
    if (FAILED(checked)) {
        return checked;
    }
    // Posted, so that a tool in another process is not held while handlers run.
    return PostMessageW(m_window, BM_CLICK, 0, 0) ? S_OK : HRESULT_FROM_WIN32(GetLastError());
}

STDMETHODIMP ButtonAccessible::put_accName(VARIANT, BSTR)
{
    return E_NOTIMPL;
}

STDMETHODIMP ButtonAccessible::put_accValue(VARIANT, BSTR)
{
    return E_NOTIMPL;
}

}  // namespace qv
