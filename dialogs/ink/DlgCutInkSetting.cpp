#include "DlgCutInkSetting.h"

#include <cstring>

#include "common/AnsiText.h"
#include "common/DlgCommon.h"
#include "res/resource.h"
#include "CutInkRowRules.h"

namespace {

// The ink group's name as the host gives it; empty when there is none or it cannot be converted.
std::wstring GroupNameToShow(const char* pszName) {
    return AnsiToWide(pszName, CP_THREAD_ACP);
}

} // namespace

CDlgCutInkSetting::CDlgCutInkSetting(IHostPrinter* pPrinter, uint32_t nRequestedRowCount,
                                     const int32_t* pValues)
    : CDialogEx(IDD_CUT_INK_SETTING), m_pPrinter(pPrinter), m_nRequestedRowCount(nRequestedRowCount) {
    if (pValues)
        std::memcpy(m_cutInkValues.nValues, pValues, sizeof(m_cutInkValues.nValues));
}

void CDlgCutInkSetting::DoDataExchange(CDataExchange* pDX) {
    DDX_Control(pDX, IDOK, m_btnOK);
    DDX_Control(pDX, IDCANCEL, m_btnCancel);
}

void CDlgCutInkSetting::DeclareMessageMap(CMessageMap& map) {
    map.HScroll([this](UINT, UINT, HWND hScrollBar) { OnHScroll(hScrollBar); });
}

BOOL CDlgCutInkSetting::OnInitDialog() {
    BOOL bResult = CDialogEx::OnInitDialog();
    CreateDialogFont();
    BuildRows();
    LayoutDialog();
    TranslateDialogOnOpen(*this);
    return bResult;
}

void CDlgCutInkSetting::CreateDialogFont() {
    m_font.DeleteObject();
    m_font.CreateFont(CDpiScale(m_hWnd)(m_nFontHeight), 0, 0, 0, 100, FALSE, FALSE, FALSE, DEFAULT_CHARSET,
                      OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, FF_SWISS | DEFAULT_PITCH,
                      L"Arial");
    // Only the template's controls exist yet; the rows made afterwards keep their default font.
    for (HWND hChild = ::GetWindow(m_hWnd, GW_CHILD); hChild; hChild = ::GetWindow(hChild, GW_HWNDNEXT))
        ::SendMessageW(hChild, WM_SETFONT, reinterpret_cast<WPARAM>(m_font.GetSafeHandle()), TRUE);
}

void CDlgCutInkSetting::BuildRows() {
    const RECT rcInitial = {0, 0, 100, 40};
    uint32_t nRowCount = CutInkRowCount(m_pPrinter, m_nRequestedRowCount);
    for (const CutInkRowPlan& plan : PlanCutInkRows(m_pPrinter, nRowCount)) {
        const int32_t i = plan.nRowIndex;
        auto pRow = std::make_unique<CCutInkRow>();
        pRow->m_nRowIndex = i;
        pRow->m_stcLabel.Create(GroupNameToShow(plan.pGroup->GetName()), WS_VISIBLE | SS_RIGHT, rcInitial,
                                this, IDC_CUT_INK_LABEL_BASE + i);
        // A tab stop, so every row can be set by keys; rows are made in order, and so is the tab order.
        pRow->m_slider.Create(WS_VISIBLE | WS_TABSTOP | TBS_HORZ, rcInitial, this,
                              IDC_CUT_INK_SLIDER_BASE + i);
        pRow->m_slider.SetRange(kCutInkMinValue, kCutInkMaxValue, FALSE);
        pRow->m_editValue.Create(WS_VISIBLE | WS_BORDER, rcInitial, this, IDC_CUT_INK_VALUE_BASE + i);
        pRow->m_editValue.EnableWindow(FALSE);

        int32_t nValue = InitialCutInkValue(m_cutInkValues, i);
        pRow->m_slider.SetPos(nValue);
        pRow->m_editValue.SetWindowText(std::to_wstring(nValue));
        m_rows.push_back(std::move(pRow));
    }

    HWND hApplyToAll = GetDlgItem(IDC_CUT_INK_APPLY_ALL);
    if (ReadApplyToAllOffered(m_pPrinter) != 0) {
        ::ShowWindow(hApplyToAll, SW_SHOW);
        ::SendMessageW(hApplyToAll, BM_SETCHECK, m_nApplyToAll == 1 ? BST_CHECKED : BST_UNCHECKED, 0);
    } else {
        ::ShowWindow(hApplyToAll, SW_HIDE);
    }
}

void CDlgCutInkSetting::LayoutDialog() {
    // Every pixel number is for a 96-DPI screen; the row controls' system font grows with the DPI.
    const CDpiScale px(m_hWnd);
    const int nRowHeight = px(static_cast<int>(m_nRowHeight));
    const int nColumnUnit = px(static_cast<int>(m_nColumnUnit));
    const int nSliderWidth = px(static_cast<int>(m_nSliderWidth));
    const int nGap = px(10);
    const int nMargin = px(50);
    const int n = static_cast<int>(m_rows.size());

    MoveWindow(0, 0, nColumnUnit / 3 + nSliderWidth + nColumnUnit + px(120),
               (n + 1) * (nRowHeight + nGap) + px(120));
    CenterWindow();
    if (!m_pPrinter)
        return;

    RECT rcClient;
    GetClientRect(&rcClient);
    const int L = rcClient.left;
    const int T = rcClient.top;
    const int nLabelLeft = L + nMargin;
    const int nSliderLeft = nLabelLeft + nColumnUnit / 3 + nGap;
    const int nNumberLeft = nSliderLeft + nSliderWidth + nGap;
    const int nNumberWidth = nColumnUnit + px(20);
    const int nNumberRight = nNumberLeft + nNumberWidth;
    for (int k = 0; k < n; ++k) {
        const int nTop = T + nMargin + k * (nRowHeight + nGap);
        CCutInkRow& row = *m_rows[static_cast<size_t>(k)];
        row.m_stcLabel.MoveWindow(nLabelLeft, nTop, nColumnUnit / 3, nRowHeight);
        row.m_slider.MoveWindow(nSliderLeft, nTop, nSliderWidth, nRowHeight);
        row.m_editValue.MoveWindow(nNumberLeft, nTop, nNumberWidth, nRowHeight);
    }

    const int nButtonTop = T + nMargin + n * (nRowHeight + nGap) + px(20);
    const int nCancelLeft = nNumberRight - nColumnUnit;
    m_btnCancel.MoveWindow(nCancelLeft, nButtonTop, nColumnUnit, nRowHeight);
    m_btnOK.MoveWindow(nCancelLeft - nGap - nColumnUnit, nButtonTop, nColumnUnit, nRowHeight);
    ::MoveWindow(GetDlgItem(IDC_CUT_INK_APPLY_ALL), L + nMargin, nButtonTop, 3 * nColumnUnit, nRowHeight,
                 TRUE);
}

void CDlgCutInkSetting::OnHScroll(HWND hScrollBar) {
    for (auto& pRow : m_rows) {
        if (pRow->m_slider.m_hWnd != hScrollBar)
            continue;
        int nPos = pRow->m_slider.GetPos();
        pRow->m_editValue.SetWindowText(std::to_wstring(nPos));
        if (HasCutInkValue(pRow->m_nRowIndex))
            m_cutInkValues.nValues[pRow->m_nRowIndex] = nPos;
        break;
    }
}

void CDlgCutInkSetting::OnOK() {
    if (ReadApplyToAllOffered(m_pPrinter) == 0)
        m_nApplyToAll = 0;
    else
        m_nApplyToAll =
            ::SendMessageW(GetDlgItem(IDC_CUT_INK_APPLY_ALL), BM_GETCHECK, 0, 0) == BST_CHECKED ? 1 : 0;
    CDialogEx::OnOK();
}
