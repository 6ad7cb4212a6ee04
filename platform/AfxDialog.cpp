#include "AfxDialog.h"

#include <cmath>
#include <cwchar>
#include <cwctype>

namespace {

CDialog* g_pActiveModal = nullptr;

bool IsSelfOrDescendant(HWND hAncestor, HWND hWnd) {
    return hWnd == hAncestor || ::IsChild(hAncestor, hWnd);
}

// An enabled push button of the dialog (plain or default, not a check box or radio button).
bool IsPushButton(HWND hDlg, HWND hWnd) {
    return hWnd && hWnd != hDlg && ::IsChild(hDlg, hWnd) && ::IsWindowEnabled(hWnd) &&
           (::SendMessageW(hWnd, WM_GETDLGCODE, 0, 0) & (DLGC_DEFPUSHBUTTON | DLGC_UNDEFPUSHBUTTON));
}

// The host's own top-level window on this thread, for a dialog opened while no window of it is active (the
// host called from a timer while another program is in front): visible, not owned, not one of ours.
HWND FindThreadMainWindow() {
    HWND hFound = nullptr;
    ::EnumThreadWindows(
        ::GetCurrentThreadId(),
        [](HWND hWnd, LPARAM lParam) -> BOOL {
            if (!::IsWindowVisible(hWnd) || ::GetWindow(hWnd, GW_OWNER) ||
                (::GetWindowLongW(hWnd, GWL_STYLE) & WS_CAPTION) != WS_CAPTION)
                return TRUE;
            *reinterpret_cast<HWND*>(lParam) = hWnd;
            return FALSE;
        },
        reinterpret_cast<LPARAM>(&hFound));
    return hFound;
}

// Messages whose dialog-procedure answer is the result itself, not TRUE with the result set aside.
bool IsDirectResultMessage(UINT nMsg) {
    return (nMsg >= WM_CTLCOLORMSGBOX && nMsg <= WM_CTLCOLORSTATIC) || nMsg == WM_COMPAREITEM ||
           nMsg == WM_VKEYTOITEM || nMsg == WM_CHARTOITEM || nMsg == WM_QUERYDRAGICON;
}

} // namespace

CDialog::CDialog(UINT nIdTemplate, CWnd* pParentWnd) : m_nIdTemplate(nIdTemplate), m_pParentWnd(pParentWnd) {}

CDialog::~CDialog() {
    if (m_hWnd)
        ::DestroyWindow(m_hWnd);
    Detach();
}

CDialog* CDialog::GetActiveModalDialog() {
    return g_pActiveModal;
}

HWND CDialog::FindOwner() const {
    if (m_pParentWnd && m_pParentWnd->m_hWnd)
        return ::GetAncestor(m_pParentWnd->m_hWnd, GA_ROOT);
    // No parent given: the top-level window the operator works in, normally the host's main window.
    HWND hOwner = ::GetActiveWindow();
    if (!hOwner && g_pActiveModal)
        hOwner = g_pActiveModal->m_hWnd;
    if (!hOwner)
        hOwner = FindThreadMainWindow();
    return hOwner ? ::GetAncestor(hOwner, GA_ROOT) : nullptr;
}

INT_PTR CDialog::DoModal() {
    HINSTANCE hInst = AfxGetResourceHandle();
    HRSRC hRes =
        ::FindResourceW(hInst, MAKEINTRESOURCEW(m_nIdTemplate), reinterpret_cast<LPCWSTR>(RT_DIALOG));
    HGLOBAL hTemplate = hRes ? ::LoadResource(hInst, hRes) : nullptr;
    auto* pTemplate = hTemplate ? static_cast<const DLGTEMPLATE*>(::LockResource(hTemplate)) : nullptr;
    if (!pTemplate)
        return -1;

    CActivationContextScope actCtx;
    static bool s_bControlsInitialised = false;
    if (!s_bControlsInitialised) {
        INITCOMMONCONTROLSEX icc = {sizeof(icc), ICC_WIN95_CLASSES | ICC_STANDARD_CLASSES};
        s_bControlsInitialised = ::InitCommonControlsEx(&icc) != FALSE;
    }

    HWND hOwner = FindOwner();
    bool bOwnerDisabled = false;
    if (hOwner && ::IsWindowEnabled(hOwner)) {
        ::EnableWindow(hOwner, FALSE);
        bOwnerDisabled = true;
    }

    m_nModalResult = -1;
    m_bModalDone = false;
    m_radioGroups.clear();
    m_pOuterModal = g_pActiveModal;
    g_pActiveModal = this;

    HWND hWnd = ::CreateDialogIndirectParamW(hInst, pTemplate, hOwner, &CDialog::AfxDlgProc,
                                             reinterpret_cast<LPARAM>(this));
    if (hWnd) {
        if (!m_bModalDone && !::IsWindowVisible(hWnd)) {
            ::ShowWindow(hWnd, SW_SHOWNORMAL);
            // Painted at once, dialog and controls in one pass, as the platform's modal loop does when it
            // shows a dialog; left to the queue, each control's paint is fetched as a message of its own.
            ::UpdateWindow(hWnd);
        }
        MakeFocusedButtonDefault();
        while (!m_bModalDone) {
            MSG msg;
            BOOL bGot = ::GetMessageW(&msg, nullptr, 0, 0);
            if (bGot == -1)
                break;
            if (bGot == 0) {
                // Leave the quit for the host's own loop.
                ::PostQuitMessage(static_cast<int>(msg.wParam));
                if (m_nModalResult == -1)
                    m_nModalResult = IDCANCEL;
                break;
            }
            if (!PreTranslateInput(&msg)) {
                ::TranslateMessage(&msg);
                ::DispatchMessageW(&msg);
            }
        }
        // Give activation back to the owner before the dialog disappears, as the platform does.
        ::SetWindowPos(hWnd, nullptr, 0, 0, 0, 0,
                       SWP_HIDEWINDOW | SWP_NOSIZE | SWP_NOMOVE | SWP_NOACTIVATE | SWP_NOZORDER);
    }
    if (bOwnerDisabled)
        ::EnableWindow(hOwner, TRUE);
    if (hOwner && ::GetActiveWindow() == hWnd)
        ::SetActiveWindow(hOwner);
    if (m_hWnd)
        ::DestroyWindow(m_hWnd);
    Detach();
    g_pActiveModal = m_pOuterModal;
    return m_nModalResult;
}

void CDialog::EndDialog(int nResult) {
    m_nModalResult = nResult;
    m_bModalDone = true;
    if (m_hWnd)
        ::PostMessageW(m_hWnd, WM_NULL, 0, 0);
}

BOOL CDialog::PreTranslateMessage(MSG* pMsg) {
    if (!m_hWnd || !IsSelfOrDescendant(m_hWnd, pMsg->hwnd))
        return FALSE;
    // Enter presses the push button that shows the focus, whether or not the dialog manager made it the
    // default one; elsewhere the dialog manager presses the default button.
    if (pMsg->message == WM_KEYDOWN && pMsg->wParam == VK_RETURN && IsPushButton(m_hWnd, ::GetFocus())) {
        HWND hButton = ::GetFocus();
        ::SendMessageW(m_hWnd, WM_COMMAND, MAKEWPARAM(::GetDlgCtrlID(hButton), BN_CLICKED),
                       reinterpret_cast<LPARAM>(hButton));
        return TRUE;
    }
    return ::IsDialogMessageW(m_hWnd, pMsg);
}

void CDialog::MakeFocusedButtonDefault() {
    // A template without a default button: the button that has the focus at opening is the one Enter
    // presses, as its focus frame suggests.
    HWND hFocus = ::GetFocus();
    if (!IsPushButton(m_hWnd, hFocus))
        return;
    const LRESULT nDefId = ::SendMessageW(m_hWnd, DM_GETDEFID, 0, 0);
    // The dialog manager may answer IDOK for a template that has no such control.
    if (HIWORD(nDefId) == DC_HASDEFID && GetDlgItem(LOWORD(nDefId)))
        return;
    for (HWND hChild = ::GetWindow(m_hWnd, GW_CHILD); hChild; hChild = ::GetWindow(hChild, GW_HWNDNEXT)) {
        if (::SendMessageW(hChild, WM_GETDLGCODE, 0, 0) & DLGC_DEFPUSHBUTTON)
            return;
    }
    ::SendMessageW(m_hWnd, DM_SETDEFID, static_cast<WPARAM>(::GetDlgCtrlID(hFocus)), 0);
}

bool CDialog::PreTranslateInput(MSG* pMsg) {
    // As the platform's pump does: the bound objects from the message's window up to the dialog, the
    // dialog last (its own PreTranslateMessage hands the message to the dialog manager).
    if (!m_hWnd || !IsSelfOrDescendant(m_hWnd, pMsg->hwnd))
        return false;
    for (HWND hWnd = pMsg->hwnd; hWnd; hWnd = ::GetParent(hWnd)) {
        CWnd* pWnd = FromHandlePermanent(hWnd);
        if (pWnd && pWnd->PreTranslateMessage(pMsg))
            return true;
        if (hWnd == m_hWnd)
            break;
    }
    return false;
}

BOOL CDialog::OnInitDialog() {
    UpdateData(FALSE);
    return TRUE;
}

void CDialog::DoDataExchange(CDataExchange*) {}

BOOL CDialog::UpdateData(BOOL bSaveAndValidate) {
    CDataExchange dx(this, bSaveAndValidate);
    DoDataExchange(&dx);
    return !dx.m_bFailed;
}

void CDialog::OnOK() {
    if (!UpdateData(TRUE))
        return;
    EndDialog(IDOK);
}

void CDialog::OnCancel() {
    EndDialog(IDCANCEL);
}

BOOL CDialog::OnCommand(WPARAM wParam, LPARAM) {
    UINT nId = LOWORD(wParam);
    UINT nCode = HIWORD(wParam);
    if (m_messageMap.DispatchCommand(nId, nCode))
        return TRUE;
    if (nCode == BN_CLICKED && nId == IDOK) {
        OnOK();
        return TRUE;
    }
    if (nCode == BN_CLICKED && nId == IDCANCEL) {
        OnCancel();
        return TRUE;
    }
    return FALSE;
}

INT_PTR CDialog::DialogProc(UINT nMsg, WPARAM wParam, LPARAM lParam) {
    LRESULT lResult = 0;
    if (nMsg == WM_SYSCOLORCHANGE) {
        // Only top-level windows hear of a new colour scheme; the controls that keep colours need it too.
        SendMessageToDescendants(nMsg, wParam, lParam, TRUE);
        return FALSE;
    }
    if (ReflectToChild(nMsg, wParam, lParam, &lResult)) {
        if (IsDirectResultMessage(nMsg))
            return static_cast<INT_PTR>(lResult);
        ::SetWindowLongPtrW(m_hWnd, DWLP_MSGRESULT, lResult);
        return TRUE;
    }
    if (nMsg == WM_COMMAND)
        return OnCommand(wParam, lParam);
    if (nMsg == WM_NOTIFY && m_messageMap.DispatchNotify(reinterpret_cast<NMHDR*>(lParam), &lResult)) {
        ::SetWindowLongPtrW(m_hWnd, DWLP_MSGRESULT, lResult);
        return TRUE;
    }
    if (m_messageMap.DispatchMessage(nMsg, wParam, lParam, &lResult)) {
        if (nMsg == WM_PAINT || nMsg == WM_TIMER || nMsg == WM_HSCROLL || nMsg == WM_VSCROLL ||
            nMsg == WM_KILLFOCUS || nMsg == WM_SETFOCUS)
            return TRUE;
        if (IsDirectResultMessage(nMsg))
            return static_cast<INT_PTR>(lResult);
        ::SetWindowLongPtrW(m_hWnd, DWLP_MSGRESULT, lResult);
        return TRUE;
    }
    return FALSE;
}

int AfxMessageBox(const std::wstring& strText, UINT nType) {
    CDialog* pDlg = CDialog::GetActiveModalDialog();
    HWND hOwner = pDlg ? pDlg->m_hWnd : ::GetActiveWindow();
    const wchar_t* lpszCaption = AfxGetApp() ? AfxGetApp()->m_pszAppName : L"";
    return ::MessageBoxW(hOwner, strText.c_str(), lpszCaption, nType);
}

void AfxOnGuardedException() noexcept {
    // The dialog ends as one that could not be created; its operation reports that result to the host.
    if (g_pActiveModal)
        g_pActiveModal->EndDialog(-1);
}

INT_PTR CALLBACK CDialog::AfxDlgProc(HWND hWnd, UINT nMsg, WPARAM wParam, LPARAM lParam) {
    return AfxGuard<INT_PTR>(FALSE, [&] { return GuardedDlgProc(hWnd, nMsg, wParam, lParam); });
}

INT_PTR CDialog::GuardedDlgProc(HWND hWnd, UINT nMsg, WPARAM wParam, LPARAM lParam) {
    if (nMsg == WM_INITDIALOG) {
        auto* pDlg = reinterpret_cast<CDialog*>(lParam);
        pDlg->Attach(hWnd);
        RECT rcTemplate = {};
        ::GetWindowRect(hWnd, &rcTemplate);
        BOOL bResult = pDlg->OnInitDialog();
        // Opened centred over the owner, as the platform opens a modal dialog, unless the initialisation
        // placed the dialog itself.
        RECT rcNow = {};
        if (::IsWindow(hWnd) && ::GetWindowRect(hWnd, &rcNow) && ::EqualRect(&rcNow, &rcTemplate))
            pDlg->CenterWindow();
        return bResult;
    }
    auto* pDlg = dynamic_cast<CDialog*>(FromHandlePermanent(hWnd));
    if (!pDlg)
        return FALSE;
    if (nMsg == WM_NCDESTROY) {
        pDlg->Detach();
        return FALSE;
    }
    return pDlg->DialogProc(nMsg, wParam, lParam);
}

// ---------------------------------------------------------------------------------------------------------
// Data exchange

HWND CDataExchange::PrepareCtrl(int nIdc) {
    m_hWndLastControl = ::GetDlgItem(m_pDlgWnd->m_hWnd, nIdc);
    return m_hWndLastControl;
}

void CDataExchange::Fail() {
    if (m_hWndLastControl && m_bSaveAndValidate) {
        ::SetFocus(m_hWndLastControl);
        ::SendMessageW(m_hWndLastControl, EM_SETSEL, 0, -1);
    }
    m_bFailed = true;
}

std::wstring AfxFormatGeneralNumber(double value) {
    wchar_t szBuffer[64];
    std::swprintf(szBuffer, 64, L"%.15g", value);
    return szBuffer;
}

bool AfxParseNumber(const std::wstring& strText, double* pValue) {
    const wchar_t* p = strText.c_str();
    while (*p == L' ' || *p == L'\t')
        ++p;
    // Only plain decimal notation: no hexadecimal, infinities or NaN from the operator.
    for (const wchar_t* q = p; *q; ++q) {
        if (!(std::iswdigit(*q) || *q == L'.' || *q == L'-' || *q == L'+' || *q == L'e' || *q == L'E' ||
              *q == L' ' || *q == L'\t'))
            return false;
    }
    wchar_t* pEnd = nullptr;
    double value = std::wcstod(p, &pEnd);
    if (pEnd == p || !std::isfinite(value))
        return false;
    while (*pEnd == L' ' || *pEnd == L'\t')
        ++pEnd;
    if (*pEnd != L'\0')
        return false;
    *pValue = value;
    return true;
}

namespace {

std::wstring ControlText(HWND hCtrl) {
    int nLen = ::GetWindowTextLengthW(hCtrl);
    std::wstring str(static_cast<size_t>(nLen) + 1, L'\0');
    int nGot = ::GetWindowTextW(hCtrl, str.data(), nLen + 1);
    str.resize(nGot > 0 ? static_cast<size_t>(nGot) : 0);
    return str;
}

// Sets one button of a radio group whose every button is set in turn. Checking an automatic radio button
// also clears the rest of its group, which Wine does by walking the dialog's controls (about 3 ms a call, and
// dialogs push their values several times while they open); here that walk is redundant, so the button is
// set as a plain radio button for the moment. A button already in the wanted state is left alone.
void SetRadioButtonOfGroup(HWND hButton, bool bChecked) {
    const LRESULT nState = bChecked ? BST_CHECKED : BST_UNCHECKED;
    if (::SendMessageW(hButton, BM_GETCHECK, 0, 0) == nState)
        return;
    const WPARAM nStyle = static_cast<WPARAM>(::GetWindowLongW(hButton, GWL_STYLE)) & 0xFFFF;
    const bool bAutomatic = (nStyle & BS_TYPEMASK) == BS_AUTORADIOBUTTON;
    if (bAutomatic)
        ::SendMessageW(hButton, BM_SETSTYLE, (nStyle & ~BS_TYPEMASK) | BS_RADIOBUTTON, FALSE);
    ::SendMessageW(hButton, BM_SETCHECK, static_cast<WPARAM>(nState), 0);
    if (bAutomatic)
        ::SendMessageW(hButton, BM_SETSTYLE, nStyle, FALSE);
}

} // namespace

void DDX_Text(CDataExchange* pDX, int nIdc, double& value) {
    if (pDX->m_bFailed)
        return;
    HWND hCtrl = pDX->PrepareCtrl(nIdc);
    if (pDX->m_bSaveAndValidate) {
        double parsed = 0;
        if (!AfxParseNumber(ControlText(hCtrl), &parsed)) {
            AfxMessageBox(AfxTranslate(L"Please enter a number."), MB_ICONEXCLAMATION);
            pDX->Fail();
            return;
        }
        value = parsed;
    } else {
        ::SetWindowTextW(hCtrl, AfxFormatGeneralNumber(value).c_str());
    }
}

void DDX_Text(CDataExchange* pDX, int nIdc, int& value) {
    if (pDX->m_bFailed)
        return;
    HWND hCtrl = pDX->PrepareCtrl(nIdc);
    if (pDX->m_bSaveAndValidate) {
        std::wstring strText = ControlText(hCtrl);
        const wchar_t* p = strText.c_str();
        while (*p == L' ' || *p == L'\t')
            ++p;
        wchar_t* pEnd = nullptr;
        long parsed = std::wcstol(p, &pEnd, 10);
        while (pEnd && (*pEnd == L' ' || *pEnd == L'\t'))
            ++pEnd;
        if (pEnd == p || *pEnd != L'\0' || parsed < INT_MIN || parsed > INT_MAX) {
            AfxMessageBox(AfxTranslate(L"Please enter an integer."), MB_ICONEXCLAMATION);
            pDX->Fail();
            return;
        }
        value = static_cast<int>(parsed);
    } else {
        ::SetWindowTextW(hCtrl, std::to_wstring(value).c_str());
    }
}

void DDX_Text(CDataExchange* pDX, int nIdc, std::wstring& value) {
    if (pDX->m_bFailed)
        return;
    HWND hCtrl = pDX->PrepareCtrl(nIdc);
    if (pDX->m_bSaveAndValidate)
        value = ControlText(hCtrl);
    else
        ::SetWindowTextW(hCtrl, value.c_str());
}

void DDX_Check(CDataExchange* pDX, int nIdc, int& value) {
    if (pDX->m_bFailed)
        return;
    HWND hCtrl = pDX->PrepareCtrl(nIdc);
    if (pDX->m_bSaveAndValidate)
        value = static_cast<int>(::SendMessageW(hCtrl, BM_GETCHECK, 0, 0));
    else
        ::SendMessageW(hCtrl, BM_SETCHECK, static_cast<WPARAM>(value), 0);
}

namespace {

// The group runs from the first radio button up to the next control that starts a group.
std::vector<HWND> FindRadioGroup(HWND hFirst) {
    std::vector<HWND> buttons;
    HWND hCtrl = hFirst;
    while (hCtrl) {
        if (::SendMessageW(hCtrl, WM_GETDLGCODE, 0, 0) & DLGC_RADIOBUTTON)
            buttons.push_back(hCtrl);
        hCtrl = ::GetWindow(hCtrl, GW_HWNDNEXT);
        if (hCtrl && (::GetWindowLongW(hCtrl, GWL_STYLE) & WS_GROUP))
            break;
    }
    return buttons;
}

} // namespace

const std::vector<HWND>& CDialog::RadioGroup(HWND hFirst) {
    auto it = m_radioGroups.find(hFirst);
    if (it == m_radioGroups.end())
        it = m_radioGroups.emplace(hFirst, FindRadioGroup(hFirst)).first;
    return it->second;
}

void DDX_Radio(CDataExchange* pDX, int nIdc, int& value) {
    if (pDX->m_bFailed)
        return;
    HWND hFirst = pDX->PrepareCtrl(nIdc);
    if (pDX->m_bSaveAndValidate)
        value = -1;
    auto* pDlg = dynamic_cast<CDialog*>(pDX->m_pDlgWnd);
    const std::vector<HWND> found = pDlg ? std::vector<HWND>{} : FindRadioGroup(hFirst);
    const std::vector<HWND>& buttons = pDlg ? pDlg->RadioGroup(hFirst) : found;
    for (size_t nButton = 0; nButton < buttons.size(); ++nButton) {
        if (!pDX->m_bSaveAndValidate)
            SetRadioButtonOfGroup(buttons[nButton], static_cast<int>(nButton) == value);
        else if (::SendMessageW(buttons[nButton], BM_GETCHECK, 0, 0) != 0)
            value = static_cast<int>(nButton);
    }
}

void DDX_Control(CDataExchange* pDX, int nIdc, CWnd& rControl) {
    if (!rControl.m_hWnd)
        rControl.SubclassWindow(pDX->PrepareCtrl(nIdc));
}

void DDV_MinMaxInt(CDataExchange* pDX, int value, int minVal, int maxVal) {
    if (!pDX->m_bSaveAndValidate || pDX->m_bFailed)
        return;
    if (value < minVal || value > maxVal) {
        // The translated text is not used as a format: a stray conversion in a language file must not crash.
        std::wstring strText = AfxTranslate(L"Please enter an integer between %d and %d.");
        for (int bound : {minVal, maxVal}) {
            size_t nPos = strText.find(L"%d");
            if (nPos != std::wstring::npos)
                strText.replace(nPos, 2, std::to_wstring(bound));
        }
        AfxMessageBox(strText, MB_ICONEXCLAMATION);
        pDX->Fail();
    }
}
