#include "DlgConfirmPrintMode.h"

#include "common/AnsiText.h"
#include "common/DlgCommon.h"
#include "common/ModuleState.h"
#include "res/resource.h"
#include "PrintModeRules.h"

namespace {

// The whole name is converted first, so a cut never splits a multi-byte character of the code page; a
// null name shows as an empty item.
std::wstring ModeNameToShow(const char* pszName) {
    std::wstring strName = AnsiToWide(pszName, CP_ACP);
    if (strName.size() > kMaxModeNameChars) {
        size_t nKeep = kMaxModeNameChars;
        if (IS_HIGH_SURROGATE(strName[nKeep - 1]))
            --nKeep;
        strName.resize(nKeep);
    }
    return strName;
}

} // namespace

CDlgConfirmPrintMode::CDlgConfirmPrintMode(IHostPrinter* pPrinter, IHostTask* pTask)
    : CDialogEx(IDD_CONFIRM_PRINT_MODE), m_pPrinter(pPrinter), m_pTask(pTask) {}

void CDlgConfirmPrintMode::DoDataExchange(CDataExchange* pDX) {
    DDX_Control(pDX, IDC_PRINT_MODE, m_cbPrintMode);
    DDX_Check(pDX, IDC_PRINT_MODE_NO_MORE_HINTS, m_bNoMoreHints);
    DDX_Control(pDX, IDOK, m_btnOK);
    DDX_Control(pDX, IDCANCEL, m_btnCancel);
}

void CDlgConfirmPrintMode::DeclareMessageMap(CMessageMap& map) {
    map.Command(IDC_PRINT_MODE_NO_MORE_HINTS, BN_CLICKED, [this] { OnClickedNoMoreHints(); });
}

BOOL CDlgConfirmPrintMode::OnInitDialog() {
    BOOL bResult = CDialogEx::OnInitDialog();
    FillPrintModes();
    TranslateDialogOnOpen(*this);
    return bResult;
}

void CDlgConfirmPrintMode::FillPrintModes() {
    m_bNoMoreHints = g_bNoMoreHintsPrintMode;
    UpdateData(FALSE);

    IHostPrintModeList* pList = FindTaskModeList(m_pPrinter, m_pTask);
    if (!pList)
        return;
    int32_t nLayoutIndex = CurrentLayoutIndex(m_pPrinter);
    int32_t nCurrentMode = m_pTask->GetPrintMode();

    m_cbPrintMode.ResetContent();
    for (int32_t i = 0; i < PrintModeWalkLength(pList->GetCount()); ++i) {
        if (!IsPrintModeOffered(pList, i, nLayoutIndex))
            continue;
        IHostPrintMode* pMode = pList->GetAt(i);
        if (!pMode)
            continue;
        int nItem = m_cbPrintMode.AddString(ModeNameToShow(pMode->GetName()));
        m_cbPrintMode.SetItemData(nItem, static_cast<DWORD_PTR>(i));
    }

    int nSelect = m_cbPrintMode.GetCount() > 0 ? 0 : -1;
    for (int nItem = 0; nItem < m_cbPrintMode.GetCount(); ++nItem) {
        if (static_cast<int32_t>(m_cbPrintMode.GetItemData(nItem)) == nCurrentMode) {
            nSelect = nItem;
            break;
        }
    }
    m_cbPrintMode.SetCurSel(nSelect);
}

void CDlgConfirmPrintMode::OnClickedNoMoreHints() {
    UpdateData(TRUE);
    g_bNoMoreHintsPrintMode = m_bNoMoreHints;
}

void CDlgConfirmPrintMode::OnOK() {
    UpdateData(TRUE);
    g_bNoMoreHintsPrintMode = m_bNoMoreHints;
    if (m_pTask) {
        int nItem = m_cbPrintMode.GetCurSel();
        if (nItem >= 0)
            m_pTask->SetPrintMode(static_cast<uint32_t>(m_cbPrintMode.GetItemData(nItem)));
    }
    CDialogEx::OnOK();
}
