// The small framework layer the dialogs are written against: windows, dialogs with a modal run and data
// exchange, control classes, message maps, and the module state that holds the current resource handle.
#pragma once

#include <windows.h>
#include <commctrl.h>

#include <functional>
#include <string>
#include <vector>

#include "AfxGdi.h"

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

// Called from the module's DllMain.
BOOL AfxDllMain(HINSTANCE hInstance, DWORD dwReason);

// The common-controls-6 manifest of the module (resource id 2), active while a dialog of the module runs.
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

int AfxMessageBox(const std::wstring& strText, UINT nType = MB_OK);

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

class CMessageMap {
public:
    using CommandHandler = std::function<void()>;
    using NotifyHandler = std::function<void(NMHDR*, LRESULT*)>;
    using MessageHandler = std::function<LRESULT(WPARAM, LPARAM)>;

    void Command(UINT nId, UINT nCode, CommandHandler fn);
    void Notify(UINT nId, UINT nCode, NotifyHandler fn);
    // A notification the control sends to its parent, handled by the control object itself.
    void NotifyReflect(UINT nCode, NotifyHandler fn);
    void Message(UINT nMsg, MessageHandler fn);

    bool DispatchCommand(UINT nId, UINT nCode) const;
    bool DispatchNotify(NMHDR* pHdr, LRESULT* pResult) const;
    bool DispatchReflectedNotify(NMHDR* pHdr, LRESULT* pResult) const;
    bool DispatchMessage(UINT nMsg, WPARAM wParam, LPARAM lParam, LRESULT* pResult) const;

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
    std::vector<CommandEntry> m_commands;
    std::vector<NotifyEntry> m_notifies;
    std::vector<NotifyEntry> m_reflected;
    std::vector<MessageEntry> m_messages;
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
    BOOL EnableWindow(BOOL bEnable = TRUE) { return ::EnableWindow(m_hWnd, bEnable); }
    BOOL IsWindowEnabled() const { return ::IsWindowEnabled(m_hWnd); }
    BOOL ShowWindow(int nCmdShow) { return ::ShowWindow(m_hWnd, nCmdShow); }
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
    static BOOL ReflectToChild(UINT nMsg, WPARAM wParam, LPARAM lParam, LRESULT* pResult);

    CMessageMap m_messageMap;
    WNDPROC m_pfnSuper = nullptr;

private:
    void BindMessageMap();
    bool m_bMapDeclared = false;
    static LRESULT CALLBACK AfxWndProc(HWND hWnd, UINT nMsg, WPARAM wParam, LPARAM lParam);
    friend class CDialog;
};

// ---------------------------------------------------------------------------------------------------------
// Data exchange

class CDataExchange {
public:
    CDataExchange(CWnd* pDlgWnd, BOOL bSaveAndValidate)
        : m_bSaveAndValidate(bSaveAndValidate), m_pDlgWnd(pDlgWnd) {}
    HWND PrepareCtrl(int nIdc);
    // Gives the focus back to the offending control and stops the rest of the exchange.
    void Fail();

    BOOL m_bSaveAndValidate;
    CWnd* m_pDlgWnd;
    bool m_bFailed = false;
    HWND m_hWndLastControl = nullptr;
};

// A number shown the way the operator expects: up to 15 significant digits, no trailing zeros.
std::wstring AfxFormatGeneralNumber(double value);
// Accepts optional blanks, a finite number, optional blanks; nothing else.
bool AfxParseNumber(const std::wstring& strText, double* pValue);

void DDX_Text(CDataExchange* pDX, int nIdc, double& value);
void DDX_Text(CDataExchange* pDX, int nIdc, int& value);
void DDX_Text(CDataExchange* pDX, int nIdc, std::wstring& value);
void DDX_Check(CDataExchange* pDX, int nIdc, int& value);
void DDX_Radio(CDataExchange* pDX, int nIdc, int& value);
void DDX_Control(CDataExchange* pDX, int nIdc, CWnd& rControl);
void DDV_MinMaxInt(CDataExchange* pDX, int value, int minVal, int maxVal);

// ---------------------------------------------------------------------------------------------------------
// Dialogs

class CDialog : public CWnd {
public:
    explicit CDialog(UINT nIdTemplate, CWnd* pParentWnd = nullptr);
    ~CDialog() override;

    // Runs the dialog modally; -1 when the template is missing or the window could not be made.
    virtual INT_PTR DoModal();
    void EndDialog(int nResult);
    BOOL UpdateData(BOOL bSaveAndValidate = TRUE);
    BOOL PreTranslateMessage(MSG* pMsg) override;
    UINT GetTemplateId() const { return m_nIdTemplate; }
    // The modal dialog of this thread that is running now, innermost first; null when none.
    static CDialog* GetActiveModalDialog();

protected:
    virtual BOOL OnInitDialog();
    virtual void DoDataExchange(CDataExchange* pDX);
    virtual void OnOK();
    virtual void OnCancel();
    virtual BOOL OnCommand(WPARAM wParam, LPARAM lParam);
    virtual INT_PTR DialogProc(UINT nMsg, WPARAM wParam, LPARAM lParam);

    UINT m_nIdTemplate;
    CWnd* m_pParentWnd;

private:
    static INT_PTR CALLBACK AfxDlgProc(HWND hWnd, UINT nMsg, WPARAM wParam, LPARAM lParam);
    HWND FindOwner() const;
    int m_nModalResult = -1;
    bool m_bModalDone = false;
    CDialog* m_pOuterModal = nullptr;
};

class CDialogEx : public CDialog {
public:
    using CDialog::CDialog;
};

// ---------------------------------------------------------------------------------------------------------
// Controls: the handful of operations the dialogs use.

class CButton : public CWnd {
public:
    int GetCheck() const { return static_cast<int>(SendMessage(BM_GETCHECK)); }
    void SetCheck(int nCheck) { SendMessage(BM_SETCHECK, nCheck); }
};

// The dialogs' push button object; draws as the themed system button.
class CMFCButton : public CButton {};

class CEdit : public CWnd {
public:
    void SetSel(int nStart, int nEnd) { SendMessage(EM_SETSEL, nStart, nEnd); }
    void SetReadOnly(BOOL bReadOnly = TRUE) { SendMessage(EM_SETREADONLY, bReadOnly); }
    BOOL Create(DWORD dwStyle, const RECT& rect, CWnd* pParentWnd, UINT nId) {
        return CreateControl(L"EDIT", L"", dwStyle, rect, pParentWnd, nId);
    }
};

class CStatic : public CWnd {
public:
    BOOL Create(const std::wstring& strText, DWORD dwStyle, const RECT& rect, CWnd* pParentWnd, UINT nId) {
        return CreateControl(L"STATIC", strText, dwStyle, rect, pParentWnd, nId);
    }
};

class CComboBox : public CWnd {
public:
    int GetCount() const { return static_cast<int>(SendMessage(CB_GETCOUNT)); }
    int GetCurSel() const { return static_cast<int>(SendMessage(CB_GETCURSEL)); }
    int SetCurSel(int nSelect) { return static_cast<int>(SendMessage(CB_SETCURSEL, nSelect)); }
    int AddString(const std::wstring& str) {
        return static_cast<int>(SendMessage(CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(str.c_str())));
    }
    int InsertString(int nIndex, const std::wstring& str) {
        return static_cast<int>(SendMessage(CB_INSERTSTRING, nIndex, reinterpret_cast<LPARAM>(str.c_str())));
    }
    void ResetContent() { SendMessage(CB_RESETCONTENT); }
    DWORD_PTR GetItemData(int nIndex) const {
        return static_cast<DWORD_PTR>(SendMessage(CB_GETITEMDATA, nIndex));
    }
    int SetItemData(int nIndex, DWORD_PTR dwItemData) {
        return static_cast<int>(SendMessage(CB_SETITEMDATA, nIndex, static_cast<LPARAM>(dwItemData)));
    }
    std::wstring GetLBText(int nIndex) const;
};

class CListBox : public CWnd {
public:
    int GetCount() const { return static_cast<int>(SendMessage(LB_GETCOUNT)); }
    int AddString(const std::wstring& str) {
        return static_cast<int>(SendMessage(LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(str.c_str())));
    }
    int InsertString(int nIndex, const std::wstring& str) {
        return static_cast<int>(SendMessage(LB_INSERTSTRING, nIndex, reinterpret_cast<LPARAM>(str.c_str())));
    }
    int DeleteString(int nIndex) { return static_cast<int>(SendMessage(LB_DELETESTRING, nIndex)); }
    void ResetContent() { SendMessage(LB_RESETCONTENT); }
    int SetTopIndex(int nIndex) { return static_cast<int>(SendMessage(LB_SETTOPINDEX, nIndex)); }
    int GetCurSel() const { return static_cast<int>(SendMessage(LB_GETCURSEL)); }
    int SetCurSel(int nSelect) { return static_cast<int>(SendMessage(LB_SETCURSEL, nSelect)); }
    std::wstring GetText(int nIndex) const;
    void SetHorizontalExtent(int cxExtent) { SendMessage(LB_SETHORIZONTALEXTENT, cxExtent); }
};

class CSliderCtrl : public CWnd {
public:
    BOOL Create(DWORD dwStyle, const RECT& rect, CWnd* pParentWnd, UINT nId) {
        return CreateControl(TRACKBAR_CLASSW, L"", dwStyle, rect, pParentWnd, nId);
    }
    void SetRange(int nMin, int nMax, BOOL bRedraw = FALSE) {
        SendMessage(TBM_SETRANGEMIN, FALSE, nMin);
        SendMessage(TBM_SETRANGEMAX, bRedraw, nMax);
    }
    int GetRangeMin() const { return static_cast<int>(SendMessage(TBM_GETRANGEMIN)); }
    int GetRangeMax() const { return static_cast<int>(SendMessage(TBM_GETRANGEMAX)); }
    int GetPos() const { return static_cast<int>(SendMessage(TBM_GETPOS)); }
    void SetPos(int nPos) { SendMessage(TBM_SETPOS, TRUE, nPos); }
    void SetTicFreq(int nFreq) { SendMessage(TBM_SETTICFREQ, nFreq); }
    void SetPageSize(int nSize) { SendMessage(TBM_SETPAGESIZE, 0, nSize); }
    void SetLineSize(int nSize) { SendMessage(TBM_SETLINESIZE, 0, nSize); }
};

class CListCtrl : public CWnd {
public:
    int GetItemCount() const { return static_cast<int>(SendMessage(LVM_GETITEMCOUNT)); }
    BOOL DeleteAllItems() { return static_cast<BOOL>(SendMessage(LVM_DELETEALLITEMS)); }
    int InsertColumn(int nCol, const std::wstring& strHeading, int nFormat = LVCFMT_LEFT, int nWidth = -1);
    int InsertItem(int nItem, const std::wstring& strText);
    BOOL SetItemText(int nItem, int nSubItem, const std::wstring& strText);
    std::wstring GetItemText(int nItem, int nSubItem) const;
    BOOL SetItemData(int nItem, DWORD_PTR dwData);
    DWORD_PTR GetItemData(int nItem) const;
    DWORD SetExtendedStyle(DWORD dwNewStyle) {
        return static_cast<DWORD>(SendMessage(LVM_SETEXTENDEDLISTVIEWSTYLE, 0, dwNewStyle));
    }
    int GetSelectionMark() const { return static_cast<int>(SendMessage(LVM_GETSELECTIONMARK)); }
    int GetNextItem(int nItem, int nFlags) const {
        return static_cast<int>(SendMessage(LVM_GETNEXTITEM, nItem, nFlags));
    }
    BOOL SetItemState(int nItem, UINT nState, UINT nMask);
    BOOL GetSubItemRect(int nItem, int nSubItem, int nArea, RECT* pRect) const;
    HWND GetHeaderCtrl() const { return reinterpret_cast<HWND>(SendMessage(LVM_GETHEADER)); }
    int GetColumnWidth(int nCol) const { return static_cast<int>(SendMessage(LVM_GETCOLUMNWIDTH, nCol)); }
    BOOL SetColumnWidth(int nCol, int cx) {
        return static_cast<BOOL>(SendMessage(LVM_SETCOLUMNWIDTH, nCol, cx));
    }
};
