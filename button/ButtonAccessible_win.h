#pragma once
// What screen readers and automation tools see of a button window: an
// accessible push button of the project's own, the same on every platform,
// named by its caption, with its states, its keyboard shortcut and the
// default action "Drücken". It reads the window at every call, so it stays
// right through every change, and reports "disconnected" once the window is gone.
// A screen reader may hold one after the program has let go of the button's
// DLL; see KeepModuleWhileAnyLives.

#include "host/base/ComPtr_win.h"

#include <windows.h>
#include <oleacc.h>

#include <atomic>

namespace qv {

class ButtonAccessible final : public IAccessible {
public:
    static ComPtr<ButtonAccessible> Create(HWND window);
    // The program lets go of the button: while a reader still holds an
    // object, the module that runs its code stays loaded, for the rest of the
    // process, since the last release could not unload the code it runs in.
    static void KeepModuleWhileAnyLives() noexcept;

    // IUnknown
    STDMETHODIMP QueryInterface(REFIID riid, void** object) override;
    STDMETHODIMP_(ULONG) AddRef() override;
    STDMETHODIMP_(ULONG) Release() override;

    // IDispatch: clients of accessible objects call them through IAccessible.
    STDMETHODIMP GetTypeInfoCount(UINT* count) override;
    STDMETHODIMP GetTypeInfo(UINT index, LCID locale, ITypeInfo** info) override;
    STDMETHODIMP GetIDsOfNames(REFIID riid, LPOLESTR* names, UINT count, LCID locale, DISPID* ids) override;
    STDMETHODIMP Invoke(DISPID id, REFIID riid, LCID locale, WORD flags, DISPPARAMS* parameters, VARIANT* result,
                        EXCEPINFO* exception, UINT* argumentError) override;

    // IAccessible
    STDMETHODIMP get_accParent(IDispatch** parent) override;
    STDMETHODIMP get_accChildCount(long* count) override;
    STDMETHODIMP get_accChild(VARIANT child, IDispatch** object) override;
    STDMETHODIMP get_accName(VARIANT child, BSTR* name) override;
    STDMETHODIMP get_accValue(VARIANT child, BSTR* value) override;
    STDMETHODIMP get_accDescription(VARIANT child, BSTR* description) override;
    STDMETHODIMP get_accRole(VARIANT child, VARIANT* role) override;
    STDMETHODIMP get_accState(VARIANT child, VARIANT* state) override;
    STDMETHODIMP get_accHelp(VARIANT child, BSTR* help) override;
    STDMETHODIMP get_accHelpTopic(BSTR* file, VARIANT child, long* topic) override;
    STDMETHODIMP get_accKeyboardShortcut(VARIANT child, BSTR* shortcut) override;
    STDMETHODIMP get_accFocus(VARIANT* child) override;
    STDMETHODIMP get_accSelection(VARIANT* children) override;
    STDMETHODIMP get_accDefaultAction(VARIANT child, BSTR* action) override;
    STDMETHODIMP accSelect(long flags, VARIANT child) override;
    STDMETHODIMP accLocation(long* left, long* top, long* width, long* height, VARIANT child) override;
    STDMETHODIMP accNavigate(long direction, VARIANT start, VARIANT* end) override;
    STDMETHODIMP accHitTest(long x, long y, VARIANT* child) override;
    STDMETHODIMP accDoDefaultAction(VARIANT child) override;
    STDMETHODIMP put_accName(VARIANT child, BSTR name) override;
    STDMETHODIMP put_accValue(VARIANT child, BSTR value) override;

private:
    explicit ButtonAccessible(HWND window) noexcept;
    ~ButtonAccessible();

    // S_OK for the button itself while its window lives; the error to return otherwise.
    HRESULT Check(const VARIANT& child) const;
    // The client area on the screen.
    RECT ClientOnScreen() const;

    // Screen readers call from threads of their own.
    std::atomic<ULONG> m_refs{1};
    HWND m_window;
};

}  // namespace qv
