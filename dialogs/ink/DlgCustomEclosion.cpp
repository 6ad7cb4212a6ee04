#include "DlgCustomEclosion.h"

#include <algorithm>

#include "common/AnsiText.h"
#include "common/DlgCommon.h"
#include "common/ModuleState.h"
#include "res/resource.h"
#include "EclosionRules.h"

namespace {

EclosionNameTexts NameTexts() {
    return {g_languageFile.Translate(L"Template"), g_languageFile.Translate(L"Default"),
            g_languageFile.Translate(L"Custom")};
}

// Template names are stored in the thread's ANSI code page, as the host reads them.
std::string NameToAnsi(const std::wstring& strName) {
    return WideToAnsi(strName, CP_THREAD_ACP);
}

RECT ToRect(const EclosionRect& rc) {
    return {rc.left, rc.top, rc.right, rc.bottom};
}
EclosionRect ToEclosionRect(const RECT& rc) {
    return {rc.left, rc.top, rc.right, rc.bottom};
}

bool IsActedOnScrollCode(UINT nSBCode) {
    // Thumb position, top, bottom and end of scroll only follow a move already handled, or come from Home
    // and End, which are meant to move the slider alone.
    return nSBCode == TB_LINEUP || nSBCode == TB_LINEDOWN || nSBCode == TB_PAGEUP || nSBCode == TB_PAGEDOWN ||
           nSBCode == TB_THUMBTRACK;
}

} // namespace

CDlgCustomEclosion::CDlgCustomEclosion(uint32_t nEditDefaults)
    : CDialogEx(IDD_CUSTOM_ECLOSION), m_nEditDefaults(nEditDefaults) {}

CDlgCustomEclosion::~CDlgCustomEclosion() {
    ReleaseSettingsSnapshot(m_pSnapshot, m_pSnapshotPrinter);
}

void CDlgCustomEclosion::DoDataExchange(CDataExchange* pDX) {
    DDX_Control(pDX, IDOK, m_btnSave);
    DDX_Control(pDX, IDCANCEL, m_btnCancel);
    DDX_Control(pDX, IDC_ECLOSION_ADD_TEMPLATE, m_btnAddTemplate);
    DDX_Control(pDX, IDC_ECLOSION_DELETE_TEMPLATE, m_btnDeleteTemplate);
    DDX_Control(pDX, IDC_ECLOSION_EDIT_TEMPLATE, m_btnEditTemplate);
    DDX_Control(pDX, IDC_ECLOSION_ADD_MODE, m_btnAddMode);
    DDX_Control(pDX, IDC_ECLOSION_DELETE_MODE, m_btnDeleteMode);
    DDX_Control(pDX, IDC_ECLOSION_EDIT_MODE, m_btnEditMode);
    DDX_Control(pDX, IDC_ECLOSION_EDIT_ELEMENT, m_btnEditElement);
    DDX_Control(pDX, IDC_ECLOSION_DELETE_ELEMENT, m_btnDeleteElement);
    DDX_Control(pDX, IDC_ECLOSION_ADD_ELEMENT, m_btnAddElement);
    DDX_Control(pDX, IDC_ECLOSION_TEMPLATES, m_lbTemplates);
    DDX_Control(pDX, IDC_ECLOSION_RANGE_SLIDER, m_sliderRange);
    DDX_Control(pDX, IDC_ECLOSION_ELEMENT1_WIDTH, m_sliderElement1Width);
    DDX_Control(pDX, IDC_ECLOSION_ELEMENT2_WIDTH, m_sliderElement2Width);
    DDX_Control(pDX, IDC_ECLOSION_ELEMENT1_HEIGHT, m_sliderElement1Height);
    DDX_Control(pDX, IDC_ECLOSION_ELEMENT2_HEIGHT, m_sliderElement2Height);
    DDX_Text(pDX, IDC_ECLOSION_RANGE, m_nRange);
    DDV_MinMaxInt(pDX, m_nRange, kEclosionMinRange, kEclosionMaxRange);
    DDX_Radio(pDX, IDC_ECLOSION_MODE1, m_nModeIndex);
}

void CDlgCustomEclosion::DeclareMessageMap(CMessageMap& map) {
    map.Command(IDC_ECLOSION_ADD_TEMPLATE, BN_CLICKED, [this] { OnBnClickedAddTemplate(); });
    map.Command(IDC_ECLOSION_DELETE_TEMPLATE, BN_CLICKED, [this] { OnBnClickedDeleteTemplate(); });
    map.Command(IDC_ECLOSION_ADD_MODE, BN_CLICKED, [this] { OnBnClickedAddMode(); });
    map.Command(IDC_ECLOSION_DELETE_MODE, BN_CLICKED, [this] { OnBnClickedDeleteMode(); });
    map.Command(IDC_ECLOSION_ADD_ELEMENT, BN_CLICKED, [this] { OnBnClickedAddElement(); });
    map.Command(IDC_ECLOSION_DELETE_ELEMENT, BN_CLICKED, [this] { OnBnClickedDeleteElement(); });
    for (UINT nId : {IDC_ECLOSION_EDIT_TEMPLATE, IDC_ECLOSION_EDIT_MODE, IDC_ECLOSION_EDIT_ELEMENT})
        map.Command(nId, BN_CLICKED, [this] { OnBnClickedEdit(); });
    map.Command(IDC_ECLOSION_TEMPLATES, LBN_SELCHANGE, [this] { OnLbnSelchangeTemplates(); });
    for (UINT nId : {IDC_ECLOSION_MODE1, IDC_ECLOSION_MODE2, IDC_ECLOSION_MODE3})
        map.Command(nId, BN_CLICKED, [this] { OnBnClickedMode(); });
    map.HScroll([this](UINT nSBCode, UINT, HWND hScrollBar) { OnHScroll(nSBCode, hScrollBar); });
    map.Message(WM_PAINT, [this](WPARAM, LPARAM) {
        OnPaint();
        return 0;
    });
}

BOOL CDlgCustomEclosion::OnInitDialog() {
    BOOL bResult = CDialogEx::OnInitDialog();
    TranslateDialogOnOpen(*this);

    m_sliderRange.SetRange(kEclosionMinRange, kEclosionMaxRange);
    m_sliderRange.SetLineSize(1);
    m_sliderRange.SetPageSize(10);
    m_sliderRange.SetTicFreq(1);
    for (CSliderCtrl* pSlider :
         {&m_sliderElement1Width, &m_sliderElement1Height, &m_sliderElement2Width, &m_sliderElement2Height}) {
        pSlider->SetRange(kEclosionMinElementSize, kEclosionMaxElementSize);
        pSlider->SetLineSize(1);
        pSlider->SetPageSize(1);
        pSlider->SetTicFreq(1);
    }

    m_btnEditTemplate.ShowWindow(SW_HIDE);
    m_btnEditMode.ShowWindow(SW_HIDE);
    m_btnEditElement.ShowWindow(SW_HIDE);

    if (IHostInterface* pRoot = g_pHostInterface) {
        m_pTemplateList = pRoot->GetEclosionTemplates();
        TakeSnapshot();
    }
    RebuildList();
    return bResult;
}

void CDlgCustomEclosion::TakeSnapshot() {
    // The root is read at each use: a host callback may have taken it back in between.
    IHostInterface* pRoot = g_pHostInterface;
    if (!pRoot || !pRoot->IsSnapshotEnabled() || m_pSnapshot)
        return;
    pRoot = g_pHostInterface;
    IHostPrinter* pPrinter = pRoot ? pRoot->GetPrinter() : nullptr;
    if (!pPrinter)
        return;
    m_pSnapshot = pPrinter->CreateSnapshot();
    if (!m_pSnapshot)
        return;
    m_pSnapshotPrinter = pPrinter;
    IHostEclosionTemplateList* pCopy = SnapshotTemplates();
    IHostSettingsData* pTo = pCopy ? pCopy->GetData() : nullptr;
    IHostSettingsData* pFrom = pTo && m_pTemplateList ? m_pTemplateList->GetData() : nullptr;
    if (pTo && pFrom) {
        pTo->CopyFrom(pFrom);
        m_bSnapshotHoldsList = true;
    }
}

IHostEclosionTemplateList* CDlgCustomEclosion::SnapshotTemplates() const {
    IHostSnapshot* pSection = m_pSnapshot ? m_pSnapshot->GetSection() : nullptr;
    IHostSnapshot* pSubsection = pSection ? pSection->GetSubsection() : nullptr;
    return pSubsection ? pSubsection->GetEclosionTemplates() : nullptr;
}

// The list shows only the templates the host could return, so an entry's place in the list and the
// template's position in the host differ after a gap; each entry carries its host position.
int32_t CDlgCustomEclosion::PositionOfEntry(int nEntry) const {
    if (nEntry < 0 || nEntry >= m_lbTemplates.GetCount())
        return -1;
    return static_cast<int32_t>(m_lbTemplates.GetItemData(nEntry));
}

int CDlgCustomEclosion::EntryOfPosition(int32_t nPosition) const {
    for (int nEntry = 0; nEntry < m_lbTemplates.GetCount(); ++nEntry) {
        if (PositionOfEntry(nEntry) == nPosition)
            return nEntry;
    }
    return -1;
}

int CDlgCustomEclosion::AddEntry(const std::wstring& strName, int32_t nPosition) {
    int nEntry = m_lbTemplates.AddString(strName);
    if (nEntry >= 0)
        m_lbTemplates.SetItemData(nEntry, static_cast<DWORD_PTR>(nPosition));
    return nEntry;
}

IHostEclosionTemplate* CDlgCustomEclosion::SelectedTemplate() const {
    return EclosionTemplateAt(m_pTemplateList, PositionOfEntry(m_lbTemplates.GetCurSel()));
}

IHostEclosionMode* CDlgCustomEclosion::CurrentMode() const {
    if (!m_pTemplateList)
        return nullptr;
    return EclosionModeAt(EclosionTemplateAt(m_pTemplateList, m_pTemplateList->GetCurrentIndex()),
                          m_nModeIndex);
}

// ---------------------------------------------------------------------------------------------------------
// Shared steps

void CDlgCustomEclosion::ReadBack() {
    UpdateData(TRUE);
}

void CDlgCustomEclosion::Push() {
    UpdateData(FALSE);
}

void CDlgCustomEclosion::RefreshStates() {
    IHostEclosionTemplate* pTemplate =
        m_pTemplateList ? EclosionTemplateAt(m_pTemplateList, m_pTemplateList->GetCurrentIndex()) : nullptr;
    EclosionControlStates states = GetEclosionControlStates(pTemplate, m_nModeIndex, m_nEditDefaults);
    m_btnAddTemplate.EnableWindow(states.bAddTemplate);
    m_btnDeleteTemplate.EnableWindow(states.bDeleteTemplate);
    m_btnAddMode.EnableWindow(states.bAddMode);
    m_btnDeleteMode.EnableWindow(states.bDeleteMode);
    for (int nId : {IDC_ECLOSION_MODE1, IDC_ECLOSION_MODE2, IDC_ECLOSION_MODE3})
        EnableDlgItem(nId, states.bModeChoices);
    m_btnAddElement.EnableWindow(states.bAddElement);
    m_btnDeleteElement.EnableWindow(states.bDeleteElement);
    for (CSliderCtrl* pSlider :
         {&m_sliderElement1Width, &m_sliderElement1Height, &m_sliderElement2Width, &m_sliderElement2Height})
        pSlider->EnableWindow(states.bSizeSliders);
    m_sliderRange.EnableWindow(states.bRangeSlider);
}

void CDlgCustomEclosion::ShowElements(IHostEclosionMode* pMode) {
    int32_t nElements = VisibleEclosionElements(pMode);
    // An element the host cannot return counts as absent: its block would show sizes it does not have.
    IHostEclosionElement* pElement1 = nElements >= 1 ? pMode->GetElement(0) : nullptr;
    IHostEclosionElement* pElement2 = nElements >= 2 ? pMode->GetElement(1) : nullptr;
    m_bElement1Present = pElement1 ? 1 : 0;
    m_bElement2Present = pElement2 ? 1 : 0;

    const int kElement1Group[] = {IDC_ECLOSION_ELEMENT1_GROUP, IDC_ECLOSION_ELEMENT1_WIDTH_LABEL,
                                  IDC_ECLOSION_ELEMENT1_HEIGHT_LABEL, IDC_ECLOSION_ELEMENT1_WIDTH,
                                  IDC_ECLOSION_ELEMENT1_HEIGHT};
    const int kElement2Group[] = {IDC_ECLOSION_ELEMENT2_GROUP, IDC_ECLOSION_ELEMENT2_WIDTH_LABEL,
                                  IDC_ECLOSION_ELEMENT2_HEIGHT_LABEL, IDC_ECLOSION_ELEMENT2_WIDTH,
                                  IDC_ECLOSION_ELEMENT2_HEIGHT};
    for (int nId : kElement1Group)
        ShowDlgItem(nId, m_bElement1Present ? SW_SHOW : SW_HIDE);
    for (int nId : kElement2Group)
        ShowDlgItem(nId, m_bElement2Present ? SW_SHOW : SW_HIDE);

    if (pElement1) {
        m_nElement1Width = pElement1->GetWidth();
        m_nElement1Height = pElement1->GetHeight();
        m_sliderElement1Width.SetPos(static_cast<int>(m_nElement1Width));
        m_sliderElement1Height.SetPos(static_cast<int>(m_nElement1Height));
    }
    if (pElement2) {
        m_nElement2Width = pElement2->GetWidth();
        m_nElement2Height = pElement2->GetHeight();
        m_sliderElement2Width.SetPos(static_cast<int>(m_nElement2Width));
        m_sliderElement2Height.SetPos(static_cast<int>(m_nElement2Height));
    }

    ::GetWindowRect(GetDlgItem(IDC_ECLOSION_ELEMENT1_PREVIEW), &m_rcPreview1);
    ScreenToClient(&m_rcPreview1);
    ::GetWindowRect(GetDlgItem(IDC_ECLOSION_ELEMENT2_PREVIEW), &m_rcPreview2);
    ScreenToClient(&m_rcPreview2);
    Push();
    Invalidate(TRUE);
}

void CDlgCustomEclosion::ShowModeChoices(IHostEclosionTemplate* pTemplate) {
    int32_t nChoices = VisibleEclosionModeChoices(pTemplate);
    ShowDlgItem(IDC_ECLOSION_MODE1, nChoices >= 1 ? SW_SHOW : SW_HIDE);
    ShowDlgItem(IDC_ECLOSION_MODE2, nChoices >= 2 ? SW_SHOW : SW_HIDE);
    ShowDlgItem(IDC_ECLOSION_MODE3, nChoices >= 3 ? SW_SHOW : SW_HIDE);
}

void CDlgCustomEclosion::ShowSelectedTemplate() {
    IHostEclosionTemplate* pTemplate = nullptr;
    IHostEclosionMode* pMode = nullptr;
    if (m_pTemplateList) {
        pTemplate = SelectedTemplate();
        if (pTemplate) {
            m_nModeIndex = static_cast<int>(pTemplate->GetCurrentMode());
            pMode = EclosionModeAt(pTemplate, m_nModeIndex);
        }
    }
    ShowElements(pMode);
    ShowModeChoices(pTemplate);
    Push();
}

void CDlgCustomEclosion::RebuildList() {
    if (!m_pTemplateList) {
        // Nothing to edit: only what needs no template stays usable.
        RefreshStates();
        return;
    }
    EnsureDefaultTemplates(m_pTemplateList);
    int32_t nIndex = m_pTemplateList->GetCurrentIndex();
    m_lbTemplates.ResetContent();
    EclosionNameTexts texts = NameTexts();
    // A host reporting 2,147,483,647 templates with null past its real ones is not walked to the end.
    int32_t nCount = std::min(m_pTemplateList->GetCount(), kEclosionMaxTemplateWalk);
    for (int32_t i = 0; i < nCount; ++i) {
        IHostEclosionTemplate* pTemplate = m_pTemplateList->GetTemplate(i);
        if (pTemplate)
            AddEntry(EclosionDisplayName(i, pTemplate->IsDefault() != 0, texts), i);
    }
    int nEntry = EntryOfPosition(nIndex);
    if (nEntry >= 0) {
        m_lbTemplates.SetCurSel(nEntry);
    } else if (m_lbTemplates.GetCount() > 0) {
        m_lbTemplates.SetCurSel(0);
        nIndex = PositionOfEntry(0);
        m_pTemplateList->SetCurrentIndex(static_cast<uint32_t>(nIndex));
    }
    ShowRange(EclosionTemplateAt(m_pTemplateList, nIndex));
    ShowSelectedTemplate();
    RefreshStates();
    Push();
}

void CDlgCustomEclosion::ShowRange(IHostEclosionTemplate* pTemplate) {
    // A host range beyond the slider is shown at the slider's end and written only when the operator
    // moves it; shown as it is, it would be refused with a message on every read back.
    if (!pTemplate)
        return;
    m_nRange = ClampEclosionRange(pTemplate->GetRange());
    m_sliderRange.SetPos(m_nRange);
}

// ---------------------------------------------------------------------------------------------------------
// Handlers

void CDlgCustomEclosion::OnBnClickedAddTemplate() {
    CreatedEclosionTemplate created = CreateEclosionTemplate(m_pTemplateList, NameTexts(), &NameToAnsi);
    if (!created.pTemplate)
        return;
    m_lbTemplates.SetCurSel(AddEntry(created.strName, created.nPosition));
    m_pTemplateList->SetCurrentIndex(static_cast<uint32_t>(created.nPosition));
    ShowSelectedTemplate();
    RefreshStates();
}

void CDlgCustomEclosion::OnBnClickedDeleteTemplate() {
    int nSel = m_lbTemplates.GetCurSel();
    if (nSel < 0 || !m_pTemplateList)
        return;
    int32_t nPosition = PositionOfEntry(nSel);
    int32_t nPrevious = PositionOfEntry(nSel - 1);
    m_lbTemplates.DeleteString(nSel);
    m_pTemplateList->DeleteTemplate(nPosition);
    m_lbTemplates.SetCurSel(nSel - 1);
    m_pTemplateList->SetCurrentIndex(static_cast<uint32_t>(nPrevious));
    RebuildList();
}

void CDlgCustomEclosion::OnLbnSelchangeTemplates() {
    if (!m_pTemplateList)
        return;
    m_pTemplateList->SetCurrentIndex(static_cast<uint32_t>(PositionOfEntry(m_lbTemplates.GetCurSel())));
    ShowRange(EclosionTemplateAt(m_pTemplateList, m_pTemplateList->GetCurrentIndex()));
    ShowSelectedTemplate();
    RefreshStates();
}

void CDlgCustomEclosion::OnBnClickedAddMode() {
    IHostEclosionTemplate* pTemplate = SelectedTemplate();
    if (!pTemplate || pTemplate->GetModeCount() >= kEclosionMaxModes)
        return;
    IHostEclosionMode* pMode = pTemplate->AddMode();
    if (!pMode)
        return;
    m_nModeIndex = pTemplate->GetModeCount() - 1;
    pTemplate->SetCurrentMode(static_cast<uint32_t>(m_nModeIndex));
    ShowElements(pMode);
    ShowModeChoices(pTemplate);
    RefreshStates();
}

void CDlgCustomEclosion::OnBnClickedDeleteMode() {
    ReadBack();
    IHostEclosionTemplate* pTemplate = SelectedTemplate();
    if (!pTemplate || m_nModeIndex < 0 || m_nModeIndex >= pTemplate->GetModeCount())
        return;
    pTemplate->DeleteMode(m_nModeIndex);
    m_nModeIndex = 0;
    pTemplate->SetCurrentMode(0);
    ShowSelectedTemplate();
    RefreshStates();
    Push();
}

void CDlgCustomEclosion::OnBnClickedMode() {
    ReadBack();
    IHostEclosionTemplate* pTemplate = SelectedTemplate();
    // A choice without a mode behind it changes nothing in the host.
    if (IHostEclosionMode* pMode = EclosionModeAt(pTemplate, m_nModeIndex)) {
        pTemplate->SetCurrentMode(static_cast<uint32_t>(m_nModeIndex));
        ShowElements(pMode);
    }
    RefreshStates();
}

void CDlgCustomEclosion::OnBnClickedAddElement() {
    ReadBack();
    IHostEclosionMode* pMode = EclosionModeAt(SelectedTemplate(), m_nModeIndex);
    if (!pMode || pMode->GetElementCount() >= kEclosionMaxElements)
        return;
    if (!pMode->AddElement())
        return;
    ShowElements(pMode);
    RefreshStates();
}

void CDlgCustomEclosion::OnBnClickedDeleteElement() {
    ReadBack();
    IHostEclosionMode* pMode = EclosionModeAt(SelectedTemplate(), m_nModeIndex);
    if (!pMode || pMode->GetElementCount() < 1)
        return;
    pMode->DeleteElement(0);
    ShowElements(pMode);
    RefreshStates();
}

void CDlgCustomEclosion::OnHScroll(UINT nSBCode, HWND hScrollBar) {
    if (!IsActedOnScrollCode(nSBCode))
        return;
    auto elementOfCurrentMode = [this](int32_t nIndex) -> IHostEclosionElement* {
        IHostEclosionMode* pMode = CurrentMode();
        return pMode && nIndex < pMode->GetElementCount() ? pMode->GetElement(nIndex) : nullptr;
    };
    if (hScrollBar == m_sliderRange.m_hWnd) {
        m_nRange = m_sliderRange.GetPos();
        if (m_pTemplateList) {
            if (IHostEclosionTemplate* pTemplate =
                    EclosionTemplateAt(m_pTemplateList, m_pTemplateList->GetCurrentIndex()))
                pTemplate->SetRange(m_nRange);
        }
        Push();
    } else if (hScrollBar == m_sliderElement1Width.m_hWnd) {
        m_nElement1Width = static_cast<uint32_t>(m_sliderElement1Width.GetPos());
        if (IHostEclosionElement* pElement = elementOfCurrentMode(0))
            pElement->SetWidth(static_cast<uint8_t>(m_nElement1Width));
        ::InvalidateRect(m_hWnd, &m_rcPreview1, TRUE);
    } else if (hScrollBar == m_sliderElement1Height.m_hWnd) {
        m_nElement1Height = static_cast<uint32_t>(m_sliderElement1Height.GetPos());
        if (IHostEclosionElement* pElement = elementOfCurrentMode(0))
            pElement->SetHeight(static_cast<uint8_t>(m_nElement1Height));
        ::InvalidateRect(m_hWnd, &m_rcPreview1, TRUE);
    } else if (hScrollBar == m_sliderElement2Width.m_hWnd) {
        m_nElement2Width = static_cast<uint32_t>(m_sliderElement2Width.GetPos());
        if (IHostEclosionElement* pElement = elementOfCurrentMode(1))
            pElement->SetWidth(static_cast<uint8_t>(m_nElement2Width));
        ::InvalidateRect(m_hWnd, &m_rcPreview2, TRUE);
    } else if (hScrollBar == m_sliderElement2Height.m_hWnd) {
        m_nElement2Height = static_cast<uint32_t>(m_sliderElement2Height.GetPos());
        if (IHostEclosionElement* pElement = elementOfCurrentMode(1))
            pElement->SetHeight(static_cast<uint8_t>(m_nElement2Height));
        ::InvalidateRect(m_hWnd, &m_rcPreview2, TRUE);
    }
}

void CDlgCustomEclosion::OnPaint() {
    CPaintDC dc(m_hWnd);
    auto drawPreview = [&dc](const RECT& rcFrame, uint32_t bPresent, uint32_t nWidth, uint32_t nHeight) {
        if (bPresent)
            dc.FillSolidRect(ToRect(EclosionElementPreviewRect(ToEclosionRect(rcFrame), nWidth, nHeight)),
                             kEclosionElementColor);
        else
            dc.FillSolidRect(rcFrame, kEclosionAbsentElementColor);
    };
    drawPreview(m_rcPreview1, m_bElement1Present, m_nElement1Width, m_nElement1Height);
    drawPreview(m_rcPreview2, m_bElement2Present, m_nElement2Width, m_nElement2Height);
}

void CDlgCustomEclosion::OnOK() {
    {
        CWaitCursor wait;
        if (IHostInterface* pRoot = g_pHostInterface)
            pRoot->ApplySettings(2, 1, 0);
    }
    CDialogEx::OnOK();
}

void CDlgCustomEclosion::OnCancel() {
    if (m_pSnapshot && m_bSnapshotHoldsList && m_pTemplateList) {
        IHostSettingsData* pLive = m_pTemplateList->GetData();
        IHostEclosionTemplateList* pCopy = SnapshotTemplates();
        IHostSettingsData* pSaved = pCopy ? pCopy->GetData() : nullptr;
        if (pLive && pSaved)
            pLive->CopyFrom(pSaved);
    }
    CDialogEx::OnCancel();
}
