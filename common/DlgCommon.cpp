#include "DlgCommon.h"

#include "common/ModuleState.h"

IHostParameter* GetRootParameter(int32_t nId) {
    IHostInterface* pRoot = g_pHostInterface;
    return pRoot ? pRoot->GetParameter(nId) : nullptr;
}

void ReleaseSettingsSnapshot(IHostSnapshot*& pSnapshot, IHostPrinter* pMadeBy) {
    if (!pSnapshot)
        return;
    IHostPrinter* pPrinter = g_pHostInterface ? g_pHostInterface->GetPrinter() : nullptr;
    if (!pPrinter)
        pPrinter = pMadeBy;
    if (pPrinter)
        pPrinter->ReleaseSnapshot(pSnapshot);
    pSnapshot = nullptr;
}

void TranslateDialogOnOpen(CWnd& dialog) {
    g_languageFile.TranslateDialog(dialog.m_hWnd);
}

BOOL CDlgCommon::OnInitDialog() {
    BOOL bResult = CDialogEx::OnInitDialog();
    TranslateDialogOnOpen(*this);
    return bResult;
}

BOOL CDlgCommon::OnCommand(WPARAM wParam, LPARAM lParam) {
    if (CDialogEx::OnCommand(wParam, lParam))
        return TRUE;
    HWND hCtrl = reinterpret_cast<HWND>(lParam);
    if (HIWORD(wParam) == BN_CLICKED && hCtrl &&
        (::SendMessageW(hCtrl, WM_GETDLGCODE, 0, 0) & (DLGC_DEFPUSHBUTTON | DLGC_UNDEFPUSHBUTTON))) {
        EndDialog(LOWORD(wParam));
        return TRUE;
    }
    return FALSE;
}
