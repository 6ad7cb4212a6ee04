// What the two custom controls show a screen reader: one IAccessible per control for its client area, with
// its children as simple elements numbered from 1. The COM plumbing lives here; a control describes its
// children through a few virtual functions.
#pragma once

#include <windows.h>
#include <oleacc.h>

#include <atomic>
#include <functional>
#include <string>

// What a client reads of one child, or of the control itself.
struct AccessibleItem {
    std::wstring strName;
    std::wstring strValue;         // empty: no value
    std::wstring strDefaultAction; // empty: no action
    long nRole = ROLE_SYSTEM_CLIENT;
    long nState = 0;
    RECT rcScreen = {};
};

class CAccessibleBase : public IAccessible {
public:
    CAccessibleBase(const CAccessibleBase&) = delete;
    CAccessibleBase& operator=(const CAccessibleBase&) = delete;

    // The control's window is going: every later call answers CO_E_OBJNOTCONNECTED, since a client may
    // hold the object longer than the control lives.
    void Disconnect() { m_hWnd = nullptr; }

    // IUnknown
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** ppv) override;
    ULONG STDMETHODCALLTYPE AddRef() override;
    ULONG STDMETHODCALLTYPE Release() override;
    // IDispatch: no type information; clients call through the vtable.
    HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT* pctinfo) override;
    HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT, LCID, ITypeInfo**) override;
    HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*) override;
    HRESULT STDMETHODCALLTYPE Invoke(DISPID, REFIID, LCID, WORD, DISPPARAMS*, VARIANT*, EXCEPINFO*,
                                     UINT*) override;
    // IAccessible
    HRESULT STDMETHODCALLTYPE get_accParent(IDispatch** ppdispParent) override;
    HRESULT STDMETHODCALLTYPE get_accChildCount(LONG* pcountChildren) override;
    HRESULT STDMETHODCALLTYPE get_accChild(VARIANT varChild, IDispatch** ppdispChild) override;
    HRESULT STDMETHODCALLTYPE get_accName(VARIANT varChild, BSTR* pszName) override;
    HRESULT STDMETHODCALLTYPE get_accValue(VARIANT varChild, BSTR* pszValue) override;
    HRESULT STDMETHODCALLTYPE get_accDescription(VARIANT varChild, BSTR* pszDescription) override;
    HRESULT STDMETHODCALLTYPE get_accRole(VARIANT varChild, VARIANT* pvarRole) override;
    HRESULT STDMETHODCALLTYPE get_accState(VARIANT varChild, VARIANT* pvarState) override;
    HRESULT STDMETHODCALLTYPE get_accHelp(VARIANT varChild, BSTR* pszHelp) override;
    HRESULT STDMETHODCALLTYPE get_accHelpTopic(BSTR* pszHelpFile, VARIANT varChild, LONG* pidTopic) override;
    HRESULT STDMETHODCALLTYPE get_accKeyboardShortcut(VARIANT varChild, BSTR* pszShortcut) override;
    HRESULT STDMETHODCALLTYPE get_accFocus(VARIANT* pvarChild) override;
    HRESULT STDMETHODCALLTYPE get_accSelection(VARIANT* pvarChildren) override;
    HRESULT STDMETHODCALLTYPE get_accDefaultAction(VARIANT varChild, BSTR* pszDefaultAction) override;
    HRESULT STDMETHODCALLTYPE accSelect(LONG flagsSelect, VARIANT varChild) override;
    HRESULT STDMETHODCALLTYPE accLocation(LONG* pxLeft, LONG* pyTop, LONG* pcxWidth, LONG* pcyHeight,
                                          VARIANT varChild) override;
    HRESULT STDMETHODCALLTYPE accNavigate(LONG navDir, VARIANT varStart, VARIANT* pvarEnd) override;
    HRESULT STDMETHODCALLTYPE accHitTest(LONG xLeft, LONG yTop, VARIANT* pvarChild) override;
    HRESULT STDMETHODCALLTYPE accDoDefaultAction(VARIANT varChild) override;
    HRESULT STDMETHODCALLTYPE put_accName(VARIANT, BSTR) override;
    HRESULT STDMETHODCALLTYPE put_accValue(VARIANT, BSTR) override;

protected:
    explicit CAccessibleBase(HWND hWnd) : m_hWnd(hWnd) {}
    virtual ~CAccessibleBase() = default;

    // The model, asked only while the control is there. Children are 1 … ChildCount(); 0 is the control.
    virtual long ChildCount() = 0;
    virtual bool DescribeChild(long nChild, AccessibleItem& item) = 0;
    // The control itself: its role; name, state and place come from its window.
    virtual long SelfRole() = 0;
    // The child with the keyboard focus while the control has it (0: the control itself).
    virtual long FocusedChild() { return 0; }
    // The selected child, or 0 when none is selected.
    virtual long SelectedChild() { return 0; }
    // The child under a point of the client area, or 0.
    virtual long ChildAt(POINT ptClient) = 0;
    // Up, down, left and right from a child (0: no child there); next and previous are the numbering.
    virtual long Neighbour(long, long) { return 0; }
    virtual HRESULT DoDefaultAction(long) { return DISP_E_MEMBERNOTFOUND; }
    virtual HRESULT Select(long, long) { return DISP_E_MEMBERNOTFOUND; }

    HWND m_hWnd; // null once the control is gone

private:
    // Every call is answered inside this guard: not connected → CO_E_OBJNOTCONNECTED, a bad child id →
    // E_INVALIDARG, and nothing thrown crosses back into the client.
    HRESULT Guarded(const std::function<HRESULT()>& fn) noexcept;
    HRESULT WithItem(VARIANT varChild, const std::function<HRESULT(const AccessibleItem&)>& fn) noexcept;
    // A number of the item (its role or state) as a VT_I4 variant.
    HRESULT ItemNumber(VARIANT varChild, VARIANT* pvar, long AccessibleItem::*pField) noexcept;
    bool ChildId(const VARIANT& var, long& nChild);
    AccessibleItem Describe(long nChild);

    std::atomic<ULONG> m_nRefs{1};
};

// The one reference a control keeps to its accessible object, made on the first request.
class CAccessibleHolder {
public:
    CAccessibleHolder() = default;
    ~CAccessibleHolder() { Disconnect(); }
    CAccessibleHolder(const CAccessibleHolder&) = delete;
    CAccessibleHolder& operator=(const CAccessibleHolder&) = delete;

    // WM_GETOBJECT: the client area's object, made by make on first use (it hands over its one reference),
    // as LresultFromObject gives it; 0 for any other object id, or when it cannot be given.
    LRESULT Answer(WPARAM wParam, LPARAM lParam, const std::function<CAccessibleBase*()>& make);
    // The control's window is going: the object forgets it, clients' stubs are cut, our reference goes.
    void Disconnect() noexcept;
    bool IsMade() const { return m_pObject != nullptr; }

private:
    CAccessibleBase* m_pObject = nullptr;
};

// Tells listening screen readers about a change of a child (0: the control) of a control's client area.
void NotifyAccessibleEvent(HWND hWnd, DWORD dwEvent, long nChild);
