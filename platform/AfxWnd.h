// Windows and message maps: the module state with its resource handle, the application object, the
// message map with typed handlers and reflection, custom draw by stage, and the window object.
#pragma once

#include <windows.h>
#include <commctrl.h>

#include <functional>
#include <string>
#include <vector>

#include "AfxHandles.h"

// ---------------------------------------------------------------------------------------------------------
// Module state and application

struct AFX_MODULE_STATE {
    HINSTANCE m_hCurrentInstanceHandle = nullptr; // the module itself
    HINSTANCE m_hCurrentResourceHandle = nullptr; // where dialog templates are looked up
    const wchar_t* m_lpszCurrentAppName = L"";
};

AFX_MODULE_STATE* AfxGetModuleState();
HINSTANCE AfxGetResourceHandle();
void AfxSetResourceHandle(HINSTANCE hResource);
HINSTANCE AfxGetInstanceHandle();

// Texts the framework itself shows (its data-exchange messages) go through this hook, so the module can
// show them in the operator's language.
using AfxTextTranslator = std::wstring (*)(const std::wstring& strKey);
void AfxSetTextTranslator(AfxTextTranslator pfnTranslate);
std::wstring AfxTranslate(const std::wstring& strKey);

class CWinApp {
public:
    explicit CWinApp(const wchar_t* lpszAppName);
    virtual ~CWinApp();
    CWinApp(const CWinApp&) = delete;
    CWinApp& operator=(const CWinApp&) = delete;
    virtual BOOL InitInstance() { return TRUE; }
    virtual int ExitInstance() { return 0; }

    const wchar_t* m_pszAppName;
};

CWinApp* AfxGetApp();

// The common-controls-6 manifest of the module (resource id 3), active while a dialog of the module runs.
class CActivationContextScope {
public:
    CActivationContextScope();
    ~CActivationContextScope();
    CActivationContextScope(const CActivationContextScope&) = delete;
    CActivationContextScope& operator=(const CActivationContextScope&) = delete;

private:
    ULONG_PTR m_ulCookie = 0;
    BOOL m_bActive = FALSE;
};

// Called from the module's DllMain.
BOOL AfxDllMain(HINSTANCE hInstance, DWORD dwReason);

// When the focus is on the window (or inside it), moves it to the next enabled tab stop of its dialog, as
// the dialog manager's "next control" does: called before the window is disabled or hidden.
void AfxMoveFocusOffBeforeDisabling(HWND hWnd);

class CWaitCursor {
public:
    CWaitCursor() : m_hOld(::SetCursor(::LoadCursorW(nullptr, IDC_WAIT))) {}
    ~CWaitCursor() { ::SetCursor(m_hOld); }
    CWaitCursor(const CWaitCursor&) = delete;
    CWaitCursor& operator=(const CWaitCursor&) = delete;

private:
    HCURSOR m_hOld;
};

// ---------------------------------------------------------------------------------------------------------
// Message maps: one table per window class, filled once, naming the handler of each command, notification
// and message.

class CCustomDraw;

class CMessageMap {
public:
    using CommandHandler = std::function<void()>;
    using NotifyHandler = std::function<void(NMHDR*, LRESULT*)>;
    using MessageHandler = std::function<LRESULT(WPARAM, LPARAM)>;
    using ScrollHandler = std::function<void(UINT nSBCode, UINT nPos, HWND hScrollBar)>;
    using ReflectedScrollHandler = std::function<void(UINT nSBCode, UINT nPos)>;

    void Command(UINT nId, UINT nCode, CommandHandler fn);
    void Notify(UINT nId, UINT nCode, NotifyHandler fn);
    void Message(UINT nMsg, MessageHandler fn);

    // Typed handlers: the map unpacks the message's parameters, so no handler casts them.
    void Timer(std::function<void(UINT_PTR nIdEvent)> fn);
    void HScroll(ScrollHandler fn);
    void VScroll(ScrollHandler fn);
    void DrawItem(std::function<void(int nIdCtl, DRAWITEMSTRUCT& dis)> fn);
    void MeasureItem(std::function<void(int nIdCtl, MEASUREITEMSTRUCT& mis)> fn);

    // Messages a control sends to its parent, handled by the control object itself (reflection). A control
    // without a handler for one leaves it to the parent.
    void NotifyReflect(UINT nCode, NotifyHandler fn);
    void HScrollReflect(ReflectedScrollHandler fn);
    void VScrollReflect(ReflectedScrollHandler fn);
    void DrawItemReflect(std::function<void(DRAWITEMSTRUCT& dis)> fn);
    void MeasureItemReflect(std::function<void(MEASUREITEMSTRUCT& mis)> fn);
    // NM_CUSTOMDRAW dispatched by stage to the control's CCustomDraw handlers.
    void CustomDrawReflect(CCustomDraw& handler);

    bool DispatchCommand(UINT nId, UINT nCode) const;
    bool DispatchNotify(NMHDR* pHdr, LRESULT* pResult) const;
    bool DispatchReflectedNotify(NMHDR* pHdr, LRESULT* pResult) const;
    bool DispatchMessage(UINT nMsg, WPARAM wParam, LPARAM lParam, LRESULT* pResult) const;
    bool DispatchReflectedMessage(UINT nMsg, WPARAM wParam, LPARAM lParam, LRESULT* pResult) const;

private:
    struct CommandEntry {
        UINT nId, nCode;
        CommandHandler fn;
    };
    struct NotifyEntry {
        UINT nId, nCode;
        NotifyHandler fn;
    };
    struct MessageEntry {
        UINT nMsg;
        MessageHandler fn;
    };
    static bool Dispatch(const std::vector<MessageEntry>& entries, UINT nMsg, WPARAM wParam, LPARAM lParam,
                         LRESULT* pResult);
    std::vector<CommandEntry> m_commands;
    std::vector<NotifyEntry> m_notifies;
    std::vector<NotifyEntry> m_reflected;
    std::vector<MessageEntry> m_messages;
    std::vector<MessageEntry> m_reflectedMessages;
};

// Custom draw by drawing stage, for a control that paints itself from its reflected NM_CUSTOMDRAW. Each
// stage's answer (CDRF_…) becomes the notification's result; a stage not overridden lets the control draw.
// List views pass an NMLVCUSTOMDRAW, which begins with the NMCUSTOMDRAW.
class CCustomDraw {
public:
    virtual ~CCustomDraw() = default;
    DWORD OnCustomDraw(NMCUSTOMDRAW& cd);

    virtual DWORD OnPrePaint(NMCUSTOMDRAW&) { return CDRF_DODEFAULT; }
    virtual DWORD OnPostPaint(NMCUSTOMDRAW&) { return CDRF_DODEFAULT; }
    virtual DWORD OnPreErase(NMCUSTOMDRAW&) { return CDRF_DODEFAULT; }
    virtual DWORD OnPostErase(NMCUSTOMDRAW&) { return CDRF_DODEFAULT; }
    virtual DWORD OnItemPrePaint(NMCUSTOMDRAW&) { return CDRF_DODEFAULT; }
    virtual DWORD OnItemPostPaint(NMCUSTOMDRAW&) { return CDRF_DODEFAULT; }
    virtual DWORD OnItemPreErase(NMCUSTOMDRAW&) { return CDRF_DODEFAULT; }
    virtual DWORD OnItemPostErase(NMCUSTOMDRAW&) { return CDRF_DODEFAULT; }
    virtual DWORD OnSubItemPrePaint(NMCUSTOMDRAW&) { return CDRF_DODEFAULT; }
    virtual DWORD OnSubItemPostPaint(NMCUSTOMDRAW&) { return CDRF_DODEFAULT; }
};

// ---------------------------------------------------------------------------------------------------------
// Windows

class CWnd {
public:
    CWnd() = default;
    virtual ~CWnd();
    CWnd(const CWnd&) = delete;
    CWnd& operator=(const CWnd&) = delete;

    HWND m_hWnd = nullptr;
    HWND GetSafeHwnd() const { return m_hWnd; }
    operator HWND() const { return m_hWnd; }

    // The object bound to a window by this module, or null.
    static CWnd* FromHandlePermanent(HWND hWnd);

    BOOL Attach(HWND hWnd);
    HWND Detach();
    BOOL SubclassWindow(HWND hWnd);
    BOOL SubclassDlgItem(UINT nId, CWnd* pParent);
    HWND UnsubclassWindow();

    HWND GetDlgItem(int nId) const { return ::GetDlgItem(m_hWnd, nId); }
    int GetDlgCtrlID() const { return ::GetDlgCtrlID(m_hWnd); }
    void SetWindowText(const std::wstring& strText) { ::SetWindowTextW(m_hWnd, strText.c_str()); }
    std::wstring GetWindowText() const;
    void SetDlgItemText(int nId, const std::wstring& strText) {
        ::SetDlgItemTextW(m_hWnd, nId, strText.c_str());
    }
    std::wstring GetDlgItemText(int nId) const;
    // Both move the keyboard focus on to the next tab stop first when they would take it from the operator.
    BOOL EnableWindow(BOOL bEnable = TRUE);
    BOOL IsWindowEnabled() const { return ::IsWindowEnabled(m_hWnd); }
    BOOL ShowWindow(int nCmdShow);
    // The same for a control of this window that has no object of its own.
    BOOL EnableDlgItem(int nId, BOOL bEnable);
    BOOL ShowDlgItem(int nId, int nCmdShow);
    BOOL IsWindowVisible() const { return ::IsWindowVisible(m_hWnd); }
    void SetFont(HFONT hFont, BOOL bRedraw = TRUE) {
        ::SendMessageW(m_hWnd, WM_SETFONT, reinterpret_cast<WPARAM>(hFont), bRedraw);
    }
    HFONT GetFont() const { return reinterpret_cast<HFONT>(::SendMessageW(m_hWnd, WM_GETFONT, 0, 0)); }
    void MoveWindow(int x, int y, int nWidth, int nHeight, BOOL bRepaint = TRUE) {
        ::MoveWindow(m_hWnd, x, y, nWidth, nHeight, bRepaint);
    }
    void MoveWindow(const RECT& rc, BOOL bRepaint = TRUE) {
        MoveWindow(rc.left, rc.top, rc.right - rc.left, rc.bottom - rc.top, bRepaint);
    }
    void GetClientRect(RECT* pRect) const { ::GetClientRect(m_hWnd, pRect); }
    void GetWindowRect(RECT* pRect) const { ::GetWindowRect(m_hWnd, pRect); }
    void ScreenToClient(RECT* pRect) const {
        ::MapWindowPoints(nullptr, m_hWnd, reinterpret_cast<POINT*>(pRect), 2);
    }
    LRESULT SendMessage(UINT nMsg, WPARAM wParam = 0, LPARAM lParam = 0) const {
        return ::SendMessageW(m_hWnd, nMsg, wParam, lParam);
    }
    BOOL PostMessage(UINT nMsg, WPARAM wParam = 0, LPARAM lParam = 0) const {
        return ::PostMessageW(m_hWnd, nMsg, wParam, lParam);
    }
    UINT_PTR SetTimer(UINT_PTR nIdEvent, UINT nElapse) {
        return ::SetTimer(m_hWnd, nIdEvent, nElapse, nullptr);
    }
    BOOL KillTimer(UINT_PTR nIdEvent) { return ::KillTimer(m_hWnd, nIdEvent); }
    void Invalidate(BOOL bErase = TRUE) { ::InvalidateRect(m_hWnd, nullptr, bErase); }
    void UpdateWindow() { ::UpdateWindow(m_hWnd); }
    HWND SetFocus() { return ::SetFocus(m_hWnd); }
    // A message box owned by this window, with a caption of its own.
    int MessageBox(const std::wstring& strText, const std::wstring& strCaption, UINT nType = MB_OK) {
        return ::MessageBoxW(m_hWnd, strText.c_str(), strCaption.c_str(), nType);
    }
    BOOL DestroyWindow();
    // Centres a top-level window over its owner (or the alternate owner), kept inside the work area; over
    // the work area when there is no visible owner.
    void CenterWindow(CWnd* pAlternateOwner = nullptr);
    // Creates a child control of a window class at run time and binds this object to it.
    BOOL CreateControl(const wchar_t* pszClass, const std::wstring& strText, DWORD dwStyle, const RECT& rect,
                       CWnd* pParentWnd, UINT nId, DWORD dwExStyle = 0);

    // Sends WM_SETFONT to every child window that exists now.
    void SendMessageToDescendants(UINT nMsg, WPARAM wParam, LPARAM lParam, BOOL bDeep = TRUE);

    virtual BOOL PreTranslateMessage(MSG* pMsg);

protected:
    // Fills the message map once, when the object is bound to its window.
    virtual void DeclareMessageMap(CMessageMap& map);
    // A notification from this control to its parent, offered to the control first. True consumes it.
    virtual BOOL OnChildNotify(UINT nMsg, WPARAM wParam, LPARAM lParam, LRESULT* pResult);
    virtual LRESULT WindowProc(UINT nMsg, WPARAM wParam, LPARAM lParam);
    LRESULT Default(UINT nMsg, WPARAM wParam, LPARAM lParam);
    // Offers a parent's message to the child control that sent it.
    BOOL ReflectToChild(UINT nMsg, WPARAM wParam, LPARAM lParam, LRESULT* pResult);

    CMessageMap m_messageMap;
    WNDPROC m_pfnSuper = nullptr;

private:
    void BindMessageMap();
    bool m_bMapDeclared = false;
    static LRESULT CALLBACK AfxWndProc(HWND hWnd, UINT nMsg, WPARAM wParam, LPARAM lParam);
    static LRESULT GuardedWndProc(HWND hWnd, UINT nMsg, WPARAM wParam, LPARAM lParam);
    friend class CDialog;
};
