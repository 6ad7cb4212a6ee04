#include "DlgSupplyInkTimeout.h"

#include "common/DlgCommon.h"
#include "common/ModuleState.h"
#include "res/resource.h"

CDlgSupplyInkTimeout::CDlgSupplyInkTimeout(int nFontHeight)
    : CDialogEx(IDD_SUPPLY_INK_TIMEOUT), m_nFontHeight(nFontHeight) {}

void CDlgSupplyInkTimeout::DeclareMessageMap(CMessageMap& map) {
    map.Command(IDC_SUPPLY_INK_RESET, BN_CLICKED, [this] { OnBnClickedReset(); });
    map.Command(IDC_SUPPLY_INK_CANCEL, BN_CLICKED, [this] { OnBnClickedCancel(); });
}

BOOL CDlgSupplyInkTimeout::OnInitDialog() {
    CDialogEx::OnInitDialog();
    TranslateDialogOnOpen(*this);

    m_font.DeleteObject();
    // The height is in logical units of a 96-DPI screen: it grows with the dialog on a screen of more DPI.
    m_font.CreateFont(CDpiScale(m_hWnd)(m_nFontHeight), 0, 0, 0, 100, FALSE, FALSE, FALSE, DEFAULT_CHARSET,
                      OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, FF_SWISS | DEFAULT_PITCH,
                      L"Arial");
    SendMessageToDescendants(WM_SETFONT, reinterpret_cast<WPARAM>(m_font.GetSafeHandle()), TRUE);
    return TRUE;
}

void CDlgSupplyInkTimeout::OnBnClickedReset() {
    // Without a host object there is nothing to reset; the question is still answered.
    if (g_pHostInterface)
        g_pHostInterface->ResetInkSupplyTimeout();
    CDialogEx::OnOK();
}

void CDlgSupplyInkTimeout::OnBnClickedCancel() {
    CDialogEx::OnCancel();
}
