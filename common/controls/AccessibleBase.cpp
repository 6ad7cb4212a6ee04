#include "AccessibleBase.h"

#include "platform/AfxHandles.h"

#include <memory>
#include <new>

namespace {

// The accessibility libraries come in on a screen reader's first request, not with the module: most
// operators never run one, and every imported DLL adds to the host's LoadLibrary time of the module. Held
// until the module unloads.
class CAccessibilityLibraries {
public:
    static CAccessibilityLibraries& Get() {
        static CAccessibilityLibraries libraries;
        return libraries;
    }
    LRESULT(WINAPI* pfnLresultFromObject)(REFIID, WPARAM, LPUNKNOWN) = nullptr;
    HRESULT(WINAPI* pfnCreateStdAccessibleObject)(HWND, LONG, REFIID, void**) = nullptr;
    BSTR(WINAPI* pfnSysAllocString)(const OLECHAR*) = nullptr;

private:
    CAccessibilityLibraries()
        : m_hOleAcc(::LoadLibraryW(L"oleacc.dll")), m_hOleAut(::LoadLibraryW(L"oleaut32.dll")) {
        HMODULE hOleAcc = m_hOleAcc.get();
        pfnLresultFromObject = AfxProcAddress<decltype(pfnLresultFromObject)>(hOleAcc, "LresultFromObject");
        pfnCreateStdAccessibleObject =
            AfxProcAddress<decltype(pfnCreateStdAccessibleObject)>(hOleAcc, "CreateStdAccessibleObject");
        pfnSysAllocString = AfxProcAddress<decltype(pfnSysAllocString)>(m_hOleAut.get(), "SysAllocString");
    }
    unique_hmodule m_hOleAcc;
    unique_hmodule m_hOleAut;
};

// A string for the client, who frees it; an empty text is no string (S_FALSE), as clients expect.
HRESULT ToBstr(const std::wstring& str, BSTR* pOut) {
    if (!pOut)
        return E_POINTER;
    *pOut = nullptr;
    if (str.empty())
        return S_FALSE;
    auto pfnAlloc = CAccessibilityLibraries::Get().pfnSysAllocString;
    *pOut = pfnAlloc ? pfnAlloc(str.c_str()) : nullptr;
    return *pOut ? S_OK : E_OUTOFMEMORY;
}

void SetI4(VARIANT* pVar, long nValue) {
    pVar->vt = VT_I4;
    pVar->lVal = nValue;
}

} // namespace

// ---------------------------------------------------------------------------------------------------------
// IUnknown and IDispatch

HRESULT CAccessibleBase::QueryInterface(REFIID riid, void** ppv) {
    if (!ppv)
        return E_POINTER;
    *ppv = nullptr;
    if (riid != __uuidof(IUnknown) && riid != __uuidof(IDispatch) && riid != __uuidof(IAccessible))
        return E_NOINTERFACE;
    *ppv = static_cast<IAccessible*>(this);
    AddRef();
    return S_OK;
}

ULONG CAccessibleBase::AddRef() {
    return ++m_nRefs;
}

ULONG CAccessibleBase::Release() {
    const ULONG nRefs = --m_nRefs;
    if (nRefs == 0)
        delete this; // the reference count is this object's owner
    return nRefs;
}

HRESULT CAccessibleBase::GetTypeInfoCount(UINT* pctinfo) {
    if (!pctinfo)
        return E_POINTER;
    *pctinfo = 0;
    return S_OK;
}
HRESULT CAccessibleBase::GetTypeInfo(UINT, LCID, ITypeInfo**) {
    return E_NOTIMPL;
}
HRESULT CAccessibleBase::GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*) {
    return E_NOTIMPL;
}
HRESULT CAccessibleBase::Invoke(DISPID, REFIID, LCID, WORD, DISPPARAMS*, VARIANT*, EXCEPINFO*, UINT*) {
    return E_NOTIMPL;
}

// ---------------------------------------------------------------------------------------------------------
// IAccessible over the control's model

HRESULT CAccessibleBase::Guarded(const std::function<HRESULT()>& fn) noexcept {
    // A failed read of an assistive tool must not end the operator's dialog, so this guard answers the
    // client instead of taking the module's guard path.
    try {
        if (!m_hWnd || !::IsWindow(m_hWnd))
            return CO_E_OBJNOTCONNECTED;
        return fn();
    } catch (const std::bad_alloc&) {
        return E_OUTOFMEMORY;
    } catch (...) {
        return E_FAIL;
    }
}

bool CAccessibleBase::ChildId(const VARIANT& var, long& nChild) {
    if (var.vt != VT_I4 || var.lVal < 0 || var.lVal > ChildCount())
        return false;
    nChild = var.lVal;
    return true;
}

AccessibleItem CAccessibleBase::Describe(long nChild) {
    AccessibleItem item;
    if (nChild > 0) {
        if (!DescribeChild(nChild, item))
            throw std::exception();
        return item;
    }
    const int nLength = ::GetWindowTextLengthW(m_hWnd);
    item.strName.resize(static_cast<size_t>(nLength) + 1);
    item.strName.resize(static_cast<size_t>(::GetWindowTextW(m_hWnd, &item.strName[0], nLength + 1)));
    item.nRole = SelfRole();
    item.nState = STATE_SYSTEM_FOCUSABLE;
    if (::GetFocus() == m_hWnd)
        item.nState |= STATE_SYSTEM_FOCUSED;
    if (!::IsWindowVisible(m_hWnd))
        item.nState |= STATE_SYSTEM_INVISIBLE;
    if (!::IsWindowEnabled(m_hWnd))
        item.nState |= STATE_SYSTEM_UNAVAILABLE;
    ::GetWindowRect(m_hWnd, &item.rcScreen);
    return item;
}

HRESULT CAccessibleBase::WithItem(VARIANT varChild,
                                  const std::function<HRESULT(const AccessibleItem&)>& fn) noexcept {
    return Guarded([&] {
        long nChild = 0;
        return ChildId(varChild, nChild) ? fn(Describe(nChild)) : E_INVALIDARG;
    });
}

HRESULT CAccessibleBase::get_accParent(IDispatch** ppdispParent) {
    if (!ppdispParent)
        return E_POINTER;
    *ppdispParent = nullptr;
    return Guarded([&] {
        // The client area's parent is the control's window object, which the system provides.
        auto pfnCreate = CAccessibilityLibraries::Get().pfnCreateStdAccessibleObject;
        if (!pfnCreate || FAILED(pfnCreate(m_hWnd, OBJID_WINDOW, __uuidof(IDispatch),
                                           reinterpret_cast<void**>(ppdispParent))))
            return S_FALSE;
        return S_OK;
    });
}

HRESULT CAccessibleBase::get_accChildCount(LONG* pcountChildren) {
    if (!pcountChildren)
        return E_POINTER;
    return Guarded([&] {
        *pcountChildren = ChildCount();
        return S_OK;
    });
}

HRESULT CAccessibleBase::get_accChild(VARIANT varChild, IDispatch** ppdispChild) {
    if (!ppdispChild)
        return E_POINTER;
    *ppdispChild = nullptr;
    // Every child is a simple element that the parent answers for.
    return WithItem(varChild, [](const AccessibleItem&) { return S_FALSE; });
}

HRESULT CAccessibleBase::get_accName(VARIANT varChild, BSTR* pszName) {
    return WithItem(varChild, [&](const AccessibleItem& item) { return ToBstr(item.strName, pszName); });
}

HRESULT CAccessibleBase::get_accValue(VARIANT varChild, BSTR* pszValue) {
    return WithItem(varChild, [&](const AccessibleItem& item) { return ToBstr(item.strValue, pszValue); });
}

HRESULT CAccessibleBase::get_accDescription(VARIANT varChild, BSTR* pszDescription) {
    return WithItem(varChild, [&](const AccessibleItem&) { return ToBstr(std::wstring(), pszDescription); });
}

HRESULT CAccessibleBase::ItemNumber(VARIANT varChild, VARIANT* pvar, long AccessibleItem::*pField) noexcept {
    if (!pvar)
        return E_POINTER;
    pvar->vt = VT_EMPTY;
    return WithItem(varChild, [&](const AccessibleItem& item) {
        SetI4(pvar, item.*pField);
        return S_OK;
    });
}

HRESULT CAccessibleBase::get_accRole(VARIANT varChild, VARIANT* pvarRole) {
    return ItemNumber(varChild, pvarRole, &AccessibleItem::nRole);
}

HRESULT CAccessibleBase::get_accState(VARIANT varChild, VARIANT* pvarState) {
    return ItemNumber(varChild, pvarState, &AccessibleItem::nState);
}

HRESULT CAccessibleBase::get_accHelp(VARIANT varChild, BSTR* pszHelp) {
    return WithItem(varChild, [&](const AccessibleItem&) { return ToBstr(std::wstring(), pszHelp); });
}

HRESULT CAccessibleBase::get_accHelpTopic(BSTR* pszHelpFile, VARIANT, LONG* pidTopic) {
    if (pszHelpFile)
        *pszHelpFile = nullptr;
    if (pidTopic)
        *pidTopic = 0;
    return DISP_E_MEMBERNOTFOUND;
}

HRESULT CAccessibleBase::get_accKeyboardShortcut(VARIANT varChild, BSTR* pszShortcut) {
    return WithItem(varChild, [&](const AccessibleItem&) { return ToBstr(std::wstring(), pszShortcut); });
}

HRESULT CAccessibleBase::get_accFocus(VARIANT* pvarChild) {
    if (!pvarChild)
        return E_POINTER;
    pvarChild->vt = VT_EMPTY;
    return Guarded([&] {
        if (::GetFocus() != m_hWnd)
            return S_FALSE;
        SetI4(pvarChild, FocusedChild());
        return S_OK;
    });
}

HRESULT CAccessibleBase::get_accSelection(VARIANT* pvarChildren) {
    if (!pvarChildren)
        return E_POINTER;
    pvarChildren->vt = VT_EMPTY;
    return Guarded([&] {
        const long nChild = SelectedChild();
        if (nChild <= 0)
            return S_FALSE;
        SetI4(pvarChildren, nChild);
        return S_OK;
    });
}

HRESULT CAccessibleBase::get_accDefaultAction(VARIANT varChild, BSTR* pszDefaultAction) {
    return WithItem(varChild, [&](const AccessibleItem& item) {
        return ToBstr(item.strDefaultAction, pszDefaultAction);
    });
}

HRESULT CAccessibleBase::accSelect(LONG flagsSelect, VARIANT varChild) {
    return Guarded([&] {
        long nChild = 0;
        return ChildId(varChild, nChild) ? Select(nChild, flagsSelect) : E_INVALIDARG;
    });
}

HRESULT CAccessibleBase::accLocation(LONG* pxLeft, LONG* pyTop, LONG* pcxWidth, LONG* pcyHeight,
                                     VARIANT varChild) {
    if (!pxLeft || !pyTop || !pcxWidth || !pcyHeight)
        return E_POINTER;
    return WithItem(varChild, [&](const AccessibleItem& item) {
        *pxLeft = item.rcScreen.left;
        *pyTop = item.rcScreen.top;
        *pcxWidth = item.rcScreen.right - item.rcScreen.left;
        *pcyHeight = item.rcScreen.bottom - item.rcScreen.top;
        return S_OK;
    });
}

HRESULT CAccessibleBase::accNavigate(LONG navDir, VARIANT varStart, VARIANT* pvarEnd) {
    if (!pvarEnd)
        return E_POINTER;
    pvarEnd->vt = VT_EMPTY;
    return Guarded([&] {
        long nStart = 0;
        if (!ChildId(varStart, nStart))
            return E_INVALIDARG;
        const long nCount = ChildCount();
        long nEnd = 0;
        if (nStart == 0) {
            // From the control only into it; its siblings are the system window object's business.
            if (navDir == NAVDIR_FIRSTCHILD)
                nEnd = nCount > 0 ? 1 : 0;
            else if (navDir == NAVDIR_LASTCHILD)
                nEnd = nCount;
        } else if (navDir == NAVDIR_NEXT) {
            nEnd = nStart < nCount ? nStart + 1 : 0;
        } else if (navDir == NAVDIR_PREVIOUS) {
            nEnd = nStart - 1;
        } else if (navDir != NAVDIR_FIRSTCHILD && navDir != NAVDIR_LASTCHILD) {
            nEnd = Neighbour(nStart, navDir);
        }
        if (nEnd <= 0)
            return S_FALSE;
        SetI4(pvarEnd, nEnd);
        return S_OK;
    });
}

HRESULT CAccessibleBase::accHitTest(LONG xLeft, LONG yTop, VARIANT* pvarChild) {
    if (!pvarChild)
        return E_POINTER;
    pvarChild->vt = VT_EMPTY;
    return Guarded([&] {
        POINT pt = {xLeft, yTop};
        ::ScreenToClient(m_hWnd, &pt);
        RECT rcClient;
        ::GetClientRect(m_hWnd, &rcClient);
        if (!::PtInRect(&rcClient, pt))
            return S_FALSE;
        SetI4(pvarChild, ChildAt(pt));
        return S_OK;
    });
}

HRESULT CAccessibleBase::accDoDefaultAction(VARIANT varChild) {
    return Guarded([&] {
        long nChild = 0;
        return ChildId(varChild, nChild) ? DoDefaultAction(nChild) : E_INVALIDARG;
    });
}

HRESULT CAccessibleBase::put_accName(VARIANT, BSTR) {
    return E_NOTIMPL;
}
HRESULT CAccessibleBase::put_accValue(VARIANT, BSTR) {
    return E_NOTIMPL;
}

// ---------------------------------------------------------------------------------------------------------
// The control's side

LRESULT CAccessibleHolder::Answer(WPARAM wParam, LPARAM lParam,
                                  const std::function<CAccessibleBase*()>& make) {
    if (static_cast<LONG>(lParam) != OBJID_CLIENT)
        return 0;
    if (!m_pObject)
        m_pObject = make();
    auto pfnLresult = CAccessibilityLibraries::Get().pfnLresultFromObject;
    if (!m_pObject || !pfnLresult)
        return 0;
    // LresultFromObject takes a reference of its own for the client that collects the result.
    const LRESULT lResult = pfnLresult(__uuidof(IAccessible), wParam, static_cast<IAccessible*>(m_pObject));
    return lResult > 0 ? lResult : 0;
}

void CAccessibleHolder::Disconnect() noexcept {
    if (!m_pObject)
        return;
    m_pObject->Disconnect();
    // References handed out for clients that never collected them (or collected from another process) are
    // held by the system's stubs: cutting them lets the object go now. ole32 is loaded whenever oleacc is.
    using DisconnectFn = HRESULT(WINAPI*)(LPUNKNOWN, DWORD);
    if (auto pfnDisconnect =
            AfxProcAddress<DisconnectFn>(::GetModuleHandleW(L"ole32.dll"), "CoDisconnectObject"))
        pfnDisconnect(static_cast<IAccessible*>(m_pObject), 0);
    m_pObject->Release();
    m_pObject = nullptr;
}

void NotifyAccessibleEvent(HWND hWnd, DWORD dwEvent, long nChild) {
    if (hWnd)
        ::NotifyWinEvent(dwEvent, hWnd, OBJID_CLIENT, nChild);
}
