#include "AfxWnd.h"

#include <unordered_map>

namespace {

AFX_MODULE_STATE g_moduleState;
AfxTextTranslator g_pfnTranslate = nullptr;
CWinApp* g_pApp = nullptr;

// Window handles bound to objects of this module. One UI thread, so no lock.
std::unordered_map<HWND, CWnd*>& PermanentMap() {
    static std::unordered_map<HWND, CWnd*> map;
    return map;
}

} // namespace

AFX_MODULE_STATE* AfxGetModuleState() {
    return &g_moduleState;
}
HINSTANCE AfxGetResourceHandle() {
    return g_moduleState.m_hCurrentResourceHandle;
}
void AfxSetResourceHandle(HINSTANCE hResource) {
    g_moduleState.m_hCurrentResourceHandle = hResource;
}
HINSTANCE AfxGetInstanceHandle() {
    return g_moduleState.m_hCurrentInstanceHandle ? g_moduleState.m_hCurrentInstanceHandle
                                                  : ::GetModuleHandleW(nullptr);
}

void AfxSetTextTranslator(AfxTextTranslator pfnTranslate) {
    g_pfnTranslate = pfnTranslate;
}
std::wstring AfxTranslate(const std::wstring& strKey) {
    return g_pfnTranslate ? g_pfnTranslate(strKey) : strKey;
}

CWinApp::CWinApp(const wchar_t* lpszAppName) : m_pszAppName(lpszAppName) {
    g_pApp = this;
    g_moduleState.m_lpszCurrentAppName = lpszAppName;
}
CWinApp::~CWinApp() {
    if (g_pApp == this)
        g_pApp = nullptr;
}
CWinApp* AfxGetApp() {
    return g_pApp;
}

BOOL AfxDllMain(HINSTANCE hInstance, DWORD dwReason) {
    if (dwReason == DLL_PROCESS_ATTACH) {
        g_moduleState.m_hCurrentInstanceHandle = hInstance;
        // Until an operation switches, resources are the host's, as in the host's own module state.
        g_moduleState.m_hCurrentResourceHandle = ::GetModuleHandleW(nullptr);
        return g_pApp ? g_pApp->InitInstance() : TRUE;
    }
    if (dwReason == DLL_PROCESS_DETACH && g_pApp)
        g_pApp->ExitInstance();
    return TRUE;
}

// ---------------------------------------------------------------------------------------------------------

void CMessageMap::Command(UINT nId, UINT nCode, CommandHandler fn) {
    m_commands.push_back({nId, nCode, std::move(fn)});
}
void CMessageMap::Notify(UINT nId, UINT nCode, NotifyHandler fn) {
    m_notifies.push_back({nId, nCode, std::move(fn)});
}
void CMessageMap::NotifyReflect(UINT nCode, NotifyHandler fn) {
    m_reflected.push_back({0, nCode, std::move(fn)});
}
void CMessageMap::Message(UINT nMsg, MessageHandler fn) {
    m_messages.push_back({nMsg, std::move(fn)});
}

void CMessageMap::Timer(std::function<void(UINT_PTR)> fn) {
    Message(WM_TIMER, [fn = std::move(fn)](WPARAM wParam, LPARAM) -> LRESULT {
        fn(static_cast<UINT_PTR>(wParam));
        return 0;
    });
}

namespace {

CMessageMap::MessageHandler ScrollMessage(CMessageMap::ScrollHandler fn) {
    return [fn = std::move(fn)](WPARAM wParam, LPARAM lParam) -> LRESULT {
        fn(LOWORD(wParam), HIWORD(wParam), reinterpret_cast<HWND>(lParam));
        return 0;
    };
}

CMessageMap::MessageHandler ReflectedScrollMessage(CMessageMap::ReflectedScrollHandler fn) {
    return [fn = std::move(fn)](WPARAM wParam, LPARAM) -> LRESULT {
        fn(LOWORD(wParam), HIWORD(wParam));
        return 0;
    };
}

} // namespace

void CMessageMap::HScroll(ScrollHandler fn) {
    Message(WM_HSCROLL, ScrollMessage(std::move(fn)));
}
void CMessageMap::VScroll(ScrollHandler fn) {
    Message(WM_VSCROLL, ScrollMessage(std::move(fn)));
}

void CMessageMap::DrawItem(std::function<void(int, DRAWITEMSTRUCT&)> fn) {
    Message(WM_DRAWITEM, [fn = std::move(fn)](WPARAM wParam, LPARAM lParam) -> LRESULT {
        fn(static_cast<int>(wParam), *reinterpret_cast<DRAWITEMSTRUCT*>(lParam));
        return TRUE;
    });
}

void CMessageMap::MeasureItem(std::function<void(int, MEASUREITEMSTRUCT&)> fn) {
    Message(WM_MEASUREITEM, [fn = std::move(fn)](WPARAM wParam, LPARAM lParam) -> LRESULT {
        fn(static_cast<int>(wParam), *reinterpret_cast<MEASUREITEMSTRUCT*>(lParam));
        return TRUE;
    });
}

void CMessageMap::HScrollReflect(ReflectedScrollHandler fn) {
    m_reflectedMessages.push_back({WM_HSCROLL, ReflectedScrollMessage(std::move(fn))});
}
void CMessageMap::VScrollReflect(ReflectedScrollHandler fn) {
    m_reflectedMessages.push_back({WM_VSCROLL, ReflectedScrollMessage(std::move(fn))});
}

void CMessageMap::DrawItemReflect(std::function<void(DRAWITEMSTRUCT&)> fn) {
    m_reflectedMessages.push_back({WM_DRAWITEM, [fn = std::move(fn)](WPARAM, LPARAM lParam) -> LRESULT {
                                       fn(*reinterpret_cast<DRAWITEMSTRUCT*>(lParam));
                                       return TRUE;
                                   }});
}

void CMessageMap::MeasureItemReflect(std::function<void(MEASUREITEMSTRUCT&)> fn) {
    m_reflectedMessages.push_back({WM_MEASUREITEM, [fn = std::move(fn)](WPARAM, LPARAM lParam) -> LRESULT {
                                       fn(*reinterpret_cast<MEASUREITEMSTRUCT*>(lParam));
                                       return TRUE;
                                   }});
}

void CMessageMap::CustomDrawReflect(CCustomDraw& handler) {
    NotifyReflect(NM_CUSTOMDRAW, [&handler](NMHDR* pHdr, LRESULT* pResult) {
        *pResult = handler.OnCustomDraw(*reinterpret_cast<NMCUSTOMDRAW*>(pHdr));
    });
}

DWORD CCustomDraw::OnCustomDraw(NMCUSTOMDRAW& cd) {
    switch (cd.dwDrawStage) {
    case CDDS_PREPAINT:
        return OnPrePaint(cd);
    case CDDS_POSTPAINT:
        return OnPostPaint(cd);
    case CDDS_PREERASE:
        return OnPreErase(cd);
    case CDDS_POSTERASE:
        return OnPostErase(cd);
    case CDDS_ITEMPREPAINT:
        return OnItemPrePaint(cd);
    case CDDS_ITEMPOSTPAINT:
        return OnItemPostPaint(cd);
    case CDDS_ITEMPREERASE:
        return OnItemPreErase(cd);
    case CDDS_ITEMPOSTERASE:
        return OnItemPostErase(cd);
    case CDDS_ITEMPREPAINT | CDDS_SUBITEM:
        return OnSubItemPrePaint(cd);
    case CDDS_ITEMPOSTPAINT | CDDS_SUBITEM:
        return OnSubItemPostPaint(cd);
    default:
        return CDRF_DODEFAULT;
    }
}

bool CMessageMap::DispatchCommand(UINT nId, UINT nCode) const {
    for (const auto& entry : m_commands) {
        if (entry.nId == nId && entry.nCode == nCode) {
            entry.fn();
            return true;
        }
    }
    return false;
}

bool CMessageMap::DispatchNotify(NMHDR* pHdr, LRESULT* pResult) const {
    for (const auto& entry : m_notifies) {
        if (entry.nId == pHdr->idFrom && entry.nCode == pHdr->code) {
            entry.fn(pHdr, pResult);
            return true;
        }
    }
    return false;
}

bool CMessageMap::DispatchReflectedNotify(NMHDR* pHdr, LRESULT* pResult) const {
    for (const auto& entry : m_reflected) {
        if (entry.nCode == pHdr->code) {
            entry.fn(pHdr, pResult);
            return true;
        }
    }
    return false;
}

bool CMessageMap::DispatchMessage(UINT nMsg, WPARAM wParam, LPARAM lParam, LRESULT* pResult) const {
    return Dispatch(m_messages, nMsg, wParam, lParam, pResult);
}

bool CMessageMap::DispatchReflectedMessage(UINT nMsg, WPARAM wParam, LPARAM lParam, LRESULT* pResult) const {
    return Dispatch(m_reflectedMessages, nMsg, wParam, lParam, pResult);
}

bool CMessageMap::Dispatch(const std::vector<MessageEntry>& entries, UINT nMsg, WPARAM wParam, LPARAM lParam,
                           LRESULT* pResult) {
    for (const auto& entry : entries) {
        if (entry.nMsg == nMsg) {
            *pResult = entry.fn(wParam, lParam);
            return true;
        }
    }
    return false;
}

// ---------------------------------------------------------------------------------------------------------

CWnd::~CWnd() {
    if (m_hWnd) {
        if (m_pfnSuper)
            UnsubclassWindow();
        else
            Detach();
    }
}

CWnd* CWnd::FromHandlePermanent(HWND hWnd) {
    auto& map = PermanentMap();
    auto it = map.find(hWnd);
    return it == map.end() ? nullptr : it->second;
}

BOOL CWnd::Attach(HWND hWnd) {
    if (!hWnd || m_hWnd)
        return FALSE;
    m_hWnd = hWnd;
    PermanentMap()[hWnd] = this;
    BindMessageMap();
    return TRUE;
}

HWND CWnd::Detach() {
    HWND hWnd = m_hWnd;
    if (hWnd)
        PermanentMap().erase(hWnd);
    m_hWnd = nullptr;
    return hWnd;
}

void CWnd::BindMessageMap() {
    if (!m_bMapDeclared) {
        m_bMapDeclared = true;
        DeclareMessageMap(m_messageMap);
    }
}

BOOL CWnd::SubclassWindow(HWND hWnd) {
    if (!Attach(hWnd))
        return FALSE;
    m_pfnSuper = reinterpret_cast<WNDPROC>(
        ::SetWindowLongPtrW(hWnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&CWnd::AfxWndProc)));
    return TRUE;
}

BOOL CWnd::SubclassDlgItem(UINT nId, CWnd* pParent) {
    HWND hCtrl = ::GetDlgItem(pParent->m_hWnd, static_cast<int>(nId));
    return hCtrl ? SubclassWindow(hCtrl) : FALSE;
}

HWND CWnd::UnsubclassWindow() {
    if (m_pfnSuper && m_hWnd)
        ::SetWindowLongPtrW(m_hWnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(m_pfnSuper));
    m_pfnSuper = nullptr;
    return Detach();
}

std::wstring CWnd::GetWindowText() const {
    int nLen = ::GetWindowTextLengthW(m_hWnd);
    std::wstring str(static_cast<size_t>(nLen) + 1, L'\0');
    int nGot = ::GetWindowTextW(m_hWnd, str.data(), nLen + 1);
    str.resize(nGot > 0 ? static_cast<size_t>(nGot) : 0);
    return str;
}

std::wstring CWnd::GetDlgItemText(int nId) const {
    HWND hCtrl = GetDlgItem(nId);
    if (!hCtrl)
        return {};
    int nLen = ::GetWindowTextLengthW(hCtrl);
    std::wstring str(static_cast<size_t>(nLen) + 1, L'\0');
    int nGot = ::GetWindowTextW(hCtrl, str.data(), nLen + 1);
    str.resize(nGot > 0 ? static_cast<size_t>(nGot) : 0);
    return str;
}

void AfxMoveFocusOffBeforeDisabling(HWND hWnd) {
    // A control that is disabled or hidden already holds no focus (the system takes it away from both), and
    // asking for the focus goes to the window system: dialogs disable and hide many controls while they open.
    const LONG nStyle = hWnd ? ::GetWindowLongW(hWnd, GWL_STYLE) : 0;
    if ((nStyle & WS_DISABLED) || !(nStyle & WS_VISIBLE))
        return;
    HWND hFocus = ::GetFocus();
    if (!hWnd || !hFocus || (hFocus != hWnd && !::IsChild(hWnd, hFocus)))
        return;
    // The dialog that holds the control: a disabled or hidden focus would leave every key dead, so the
    // focus goes on as the dialog manager's "next control" takes it.
    HWND hDlg = ::GetAncestor(hWnd, GA_PARENT);
    while (hDlg && (::GetWindowLongW(hDlg, GWL_STYLE) & WS_CHILD) &&
           !(::GetWindowLongW(hDlg, GWL_EXSTYLE) & WS_EX_CONTROLPARENT))
        hDlg = ::GetAncestor(hDlg, GA_PARENT);
    if (!hDlg || hDlg == ::GetDesktopWindow())
        return;
    HWND hNext = ::GetNextDlgTabItem(hDlg, hWnd, FALSE);
    if (hNext && hNext != hWnd && !::IsChild(hWnd, hNext))
        ::SendMessageW(hDlg, WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(hNext), TRUE);
    else
        ::SetFocus(hDlg); // no other tab stop: the dialog keeps the keys, so Tab and Escape still work
}

BOOL CWnd::EnableWindow(BOOL bEnable) {
    if (!bEnable)
        AfxMoveFocusOffBeforeDisabling(m_hWnd);
    return ::EnableWindow(m_hWnd, bEnable);
}

BOOL CWnd::ShowWindow(int nCmdShow) {
    if (nCmdShow == SW_HIDE)
        AfxMoveFocusOffBeforeDisabling(m_hWnd);
    return ::ShowWindow(m_hWnd, nCmdShow);
}

BOOL CWnd::EnableDlgItem(int nId, BOOL bEnable) {
    HWND hCtrl = GetDlgItem(nId);
    if (!bEnable)
        AfxMoveFocusOffBeforeDisabling(hCtrl);
    return hCtrl ? ::EnableWindow(hCtrl, bEnable) : FALSE;
}

BOOL CWnd::ShowDlgItem(int nId, int nCmdShow) {
    HWND hCtrl = GetDlgItem(nId);
    if (nCmdShow == SW_HIDE)
        AfxMoveFocusOffBeforeDisabling(hCtrl);
    return hCtrl ? ::ShowWindow(hCtrl, nCmdShow) : FALSE;
}

BOOL CWnd::DestroyWindow() {
    return m_hWnd ? ::DestroyWindow(m_hWnd) : FALSE;
}

void CWnd::CenterWindow(CWnd* pAlternateOwner) {
    HWND hCenter = pAlternateOwner ? pAlternateOwner->m_hWnd : ::GetWindow(m_hWnd, GW_OWNER);
    MONITORINFO mi = {};
    mi.cbSize = sizeof(mi);
    ::GetMonitorInfoW(::MonitorFromWindow(hCenter ? hCenter : m_hWnd, MONITOR_DEFAULTTONEAREST), &mi);
    RECT rcArea = mi.rcWork;
    RECT rcCenter = rcArea;
    if (hCenter && ::IsWindowVisible(hCenter) && !::IsIconic(hCenter))
        ::GetWindowRect(hCenter, &rcCenter);
    RECT rc;
    ::GetWindowRect(m_hWnd, &rc);
    int nWidth = rc.right - rc.left;
    int nHeight = rc.bottom - rc.top;
    int x = (rcCenter.left + rcCenter.right) / 2 - nWidth / 2;
    int y = (rcCenter.top + rcCenter.bottom) / 2 - nHeight / 2;
    if (x + nWidth > rcArea.right)
        x = rcArea.right - nWidth;
    if (x < rcArea.left)
        x = rcArea.left;
    if (y + nHeight > rcArea.bottom)
        y = rcArea.bottom - nHeight;
    if (y < rcArea.top)
        y = rcArea.top;
    ::SetWindowPos(m_hWnd, nullptr, x, y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

BOOL CWnd::CreateControl(const wchar_t* pszClass, const std::wstring& strText, DWORD dwStyle,
                         const RECT& rect, CWnd* pParentWnd, UINT nId, DWORD dwExStyle) {
    if (m_hWnd || !pParentWnd || !pParentWnd->m_hWnd)
        return FALSE;
    HWND hWnd = ::CreateWindowExW(dwExStyle, pszClass, strText.c_str(), dwStyle | WS_CHILD, rect.left,
                                  rect.top, rect.right - rect.left, rect.bottom - rect.top,
                                  pParentWnd->m_hWnd, reinterpret_cast<HMENU>(static_cast<UINT_PTR>(nId)),
                                  AfxGetInstanceHandle(), nullptr);
    // Subclassed, so the object lets go of the handle when the window is destroyed with its parent.
    return hWnd ? SubclassWindow(hWnd) : FALSE;
}

void CWnd::SendMessageToDescendants(UINT nMsg, WPARAM wParam, LPARAM lParam, BOOL bDeep) {
    for (HWND hChild = ::GetTopWindow(m_hWnd); hChild; hChild = ::GetNextWindow(hChild, GW_HWNDNEXT)) {
        ::SendMessageW(hChild, nMsg, wParam, lParam);
        if (bDeep && ::GetTopWindow(hChild)) {
            CWnd temp;
            temp.m_hWnd = hChild;
            temp.SendMessageToDescendants(nMsg, wParam, lParam, bDeep);
            temp.m_hWnd = nullptr;
        }
    }
}

BOOL CWnd::PreTranslateMessage(MSG*) {
    return FALSE;
}
void CWnd::DeclareMessageMap(CMessageMap&) {}

BOOL CWnd::OnChildNotify(UINT nMsg, WPARAM wParam, LPARAM lParam, LRESULT* pResult) {
    if (nMsg == WM_NOTIFY)
        return m_messageMap.DispatchReflectedNotify(reinterpret_cast<NMHDR*>(lParam), pResult);
    return m_messageMap.DispatchReflectedMessage(nMsg, wParam, lParam, pResult);
}

BOOL CWnd::ReflectToChild(UINT nMsg, WPARAM wParam, LPARAM lParam, LRESULT* pResult) {
    HWND hChild = nullptr;
    switch (nMsg) {
    case WM_NOTIFY:
        hChild = reinterpret_cast<NMHDR*>(lParam)->hwndFrom;
        break;
    case WM_COMMAND:
    case WM_HSCROLL:
    case WM_VSCROLL:
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORSTATIC:
    case WM_CTLCOLORBTN:
    case WM_CTLCOLORLISTBOX:
        hChild = reinterpret_cast<HWND>(lParam);
        break;
    case WM_DRAWITEM:
        // Menus are owner-drawn through the same message, with no control behind them.
        if (wParam != 0)
            hChild = reinterpret_cast<DRAWITEMSTRUCT*>(lParam)->hwndItem;
        break;
    case WM_MEASUREITEM:
        if (wParam != 0 && m_hWnd)
            hChild =
                ::GetDlgItem(m_hWnd, static_cast<int>(reinterpret_cast<MEASUREITEMSTRUCT*>(lParam)->CtlID));
        break;
    default:
        return FALSE;
    }
    CWnd* pChild = hChild ? FromHandlePermanent(hChild) : nullptr;
    return pChild && pChild->OnChildNotify(nMsg, wParam, lParam, pResult);
}

LRESULT CWnd::Default(UINT nMsg, WPARAM wParam, LPARAM lParam) {
    return m_pfnSuper ? ::CallWindowProcW(m_pfnSuper, m_hWnd, nMsg, wParam, lParam)
                      : ::DefWindowProcW(m_hWnd, nMsg, wParam, lParam);
}

LRESULT CWnd::WindowProc(UINT nMsg, WPARAM wParam, LPARAM lParam) {
    LRESULT lResult = 0;
    if (ReflectToChild(nMsg, wParam, lParam, &lResult))
        return lResult;
    if (nMsg == WM_COMMAND && m_messageMap.DispatchCommand(LOWORD(wParam), HIWORD(wParam)))
        return 0;
    if (nMsg == WM_NOTIFY && m_messageMap.DispatchNotify(reinterpret_cast<NMHDR*>(lParam), &lResult))
        return lResult;
    if (m_messageMap.DispatchMessage(nMsg, wParam, lParam, &lResult))
        return lResult;
    return Default(nMsg, wParam, lParam);
}

LRESULT CALLBACK CWnd::AfxWndProc(HWND hWnd, UINT nMsg, WPARAM wParam, LPARAM lParam) {
    return AfxGuard<LRESULT>(0, [&] { return GuardedWndProc(hWnd, nMsg, wParam, lParam); });
}

LRESULT CWnd::GuardedWndProc(HWND hWnd, UINT nMsg, WPARAM wParam, LPARAM lParam) {
    CWnd* pWnd = FromHandlePermanent(hWnd);
    if (!pWnd)
        return ::DefWindowProcW(hWnd, nMsg, wParam, lParam);
    if (nMsg == WM_NCDESTROY) {
        // The window goes away before its object: give back the original procedure and forget the handle.
        WNDPROC pfnSuper = pWnd->m_pfnSuper;
        pWnd->UnsubclassWindow();
        return pfnSuper ? ::CallWindowProcW(pfnSuper, hWnd, nMsg, wParam, lParam)
                        : ::DefWindowProcW(hWnd, nMsg, wParam, lParam);
    }
    return pWnd->WindowProc(nMsg, wParam, lParam);
}

// ---------------------------------------------------------------------------------------------------------
// The module's activation context

namespace {

struct ActCtxDeleter {
    using pointer = HANDLE;
    void operator()(HANDLE h) const noexcept {
        if (h != INVALID_HANDLE_VALUE)
            ::ReleaseActCtx(h);
    }
};
std::unique_ptr<void, ActCtxDeleter> g_actCtx{INVALID_HANDLE_VALUE};
bool g_bActCtxTried = false;

HANDLE ModuleActivationContext() {
    if (!g_bActCtxTried) {
        g_bActCtxTried = true;
        ACTCTXW ctx = {};
        ctx.cbSize = sizeof(ctx);
        ctx.dwFlags = ACTCTX_FLAG_HMODULE_VALID | ACTCTX_FLAG_RESOURCE_NAME_VALID;
        ctx.hModule = AfxGetInstanceHandle();
        ctx.lpResourceName = ISOLATIONAWARE_NOSTATICIMPORT_MANIFEST_RESOURCE_ID;
        wchar_t szPath[MAX_PATH] = {};
        ::GetModuleFileNameW(ctx.hModule, szPath, MAX_PATH);
        ctx.lpSource = szPath;
        g_actCtx.reset(::CreateActCtxW(&ctx));
    }
    return g_actCtx.get();
}

} // namespace

CActivationContextScope::CActivationContextScope() {
    HANDLE hCtx = ModuleActivationContext();
    if (hCtx != INVALID_HANDLE_VALUE)
        m_bActive = ::ActivateActCtx(hCtx, &m_ulCookie);
}
CActivationContextScope::~CActivationContextScope() {
    if (m_bActive)
        ::DeactivateActCtx(0, m_ulCookie);
}
