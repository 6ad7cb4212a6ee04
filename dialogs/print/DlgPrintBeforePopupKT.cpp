#include "DlgPrintBeforePopupKT.h"
#include "PollTimers.h"

#include "common/DlgCommon.h"
#include "common/ModuleState.h"
#include "res/resource.h"
#include "PrintConfirmRules.h"

namespace {

constexpr UINT kZRefreshMs = 500;

} // namespace

CDlgPrintBeforePopupKT::CDlgPrintBeforePopupKT() : CDialogEx(IDD_PRINT_BEFORE_POPUP) {}

void CDlgPrintBeforePopupKT::DoDataExchange(CDataExchange* pDX) {
    DDX_Control(pDX, IDC_START_PRINTING, m_btnStart);
    DDX_Control(pDX, IDC_Z_AXIS_DEBUGGING, m_btnZDebug);
    DDX_Control(pDX, IDC_CANCEL_PRINT, m_btnCancelPrint);
    DDX_Text(pDX, IDC_BEFORE_PRINT_Z_POSITION, m_strZPosition);
    DDX_Check(pDX, IDC_BEFORE_PRINT_NO_MORE_HINTS, m_bNoMoreHints);
}

void CDlgPrintBeforePopupKT::DeclareMessageMap(CMessageMap& map) {
    map.Timer([this](UINT_PTR nIdEvent) { OnTimer(nIdEvent); });
    map.Command(IDC_START_PRINTING, BN_CLICKED, [this] { OnStartPrinting(); });
    map.Command(IDC_Z_AXIS_DEBUGGING, BN_CLICKED, [this] { OnZAxisDebugging(); });
    map.Command(IDC_CANCEL_PRINT, BN_CLICKED, [this] { OnCancelPrint(); });
    map.Command(IDC_BEFORE_PRINT_NO_MORE_HINTS, BN_CLICKED, [this] { OnClickedNoMoreHints(); });
}

BOOL CDlgPrintBeforePopupKT::OnInitDialog() {
    // The Z line is still empty here, so the translation pass leaves it alone.
    BOOL bResult = CDialogEx::OnInitDialog();
    TranslateDialogOnOpen(*this);
    m_strZPosition = FormatZLineAtStart(g_languageFile.Translate(L"Z position:"), m_dZPosition);
    UpdateData(FALSE);
    SetTimer(kZRefreshTimer, kZRefreshMs);
    return bResult;
}

void CDlgPrintBeforePopupKT::OnTimer(UINT_PTR nIdEvent) {
    if (nIdEvent == kZRefreshTimer && g_pHostInterface) {
        double dZ = 0;
        g_pHostInterface->GetZPosition(&dZ);
        if (IsZChangeShown(m_dZPosition, dZ)) {
            m_dZPosition = dZ;
            m_strZPosition = FormatZLine(g_languageFile.Translate(L"Z position:"), m_dZPosition);
            UpdateData(FALSE);
        }
    }
    Default(WM_TIMER, nIdEvent, 0);
}

BOOL CDlgPrintBeforePopupKT::PreTranslateMessage(MSG* pMsg) {
    bool bOwnWindow = m_hWnd && (pMsg->hwnd == m_hWnd || ::IsChild(m_hWnd, pMsg->hwnd));
    if (bOwnWindow && pMsg->message == WM_KEYDOWN && pMsg->wParam == VK_RETURN) {
        m_nResult = 1;
        CDialogEx::OnOK();
        // Handing the key on would let the dialog manager press the focused button as well, whose handler
        // would overwrite the choice: Enter with "Cancel Print" focused must still start printing.
        return TRUE;
    }
    return CDialogEx::PreTranslateMessage(pMsg);
}

void CDlgPrintBeforePopupKT::OnStartPrinting() {
    m_nResult = 1;
    CDialogEx::OnOK();
}

void CDlgPrintBeforePopupKT::OnZAxisDebugging() {
    m_nResult = 0;
    CDialogEx::OnOK();
}

void CDlgPrintBeforePopupKT::OnCancelPrint() {
    m_nResult = 2;
    CDialogEx::OnCancel();
}

void CDlgPrintBeforePopupKT::OnClickedNoMoreHints() {
    UpdateData(TRUE);
    // At once, not on closing: ticking it and then cancelling still turns the confirmation off.
    g_bPrintConfirmEnabled = m_bNoMoreHints == 0 ? 1 : 0;
}
