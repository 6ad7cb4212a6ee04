#include "DlgSwitchInkOrder.h"

#include "common/AnsiText.h"
#include "common/DlgCommon.h"
#include "common/ModuleState.h"
#include "res/resource.h"
#include "InkChannelSwitchRules.h"
#include "SwitchInkOrderRules.h"

namespace {

constexpr COLORREF kBlack = 0x000000;
constexpr COLORREF kWhite = 0xFFFFFF;
constexpr int kRowHeight = 20;
constexpr int kHeadColumnWidth = 50;

int InkRow(int nHead) {
    return 3 * nHead;
}
int CheckRow(int nHead) {
    return 3 * nHead + 1;
}
int ChannelColumn(int nChannel) {
    return nChannel + 2;
}

std::wstring HeadLabel(int nHead) {
    return L"H" + std::to_wstring(static_cast<int64_t>(nHead) + 1);
}

} // namespace

CDlgSwitchInkOrder::CDlgSwitchInkOrder() : CDialogEx(IDD_SWITCH_INK_ORDER) {}

CDlgSwitchInkOrder::~CDlgSwitchInkOrder() {
    ReleaseSettingsSnapshot(m_pSnapshot, m_pSnapshotPrinter);
}

void CDlgSwitchInkOrder::DoDataExchange(CDataExchange* pDX) {
    DDX_Control(pDX, IDC_SWITCH_INK_LIST, m_List);
    DDX_Control(pDX, IDC_SWITCH_INK_SWITCH, m_btnSwitch);
    DDX_Control(pDX, IDOK, m_btnOK);
    DDX_Control(pDX, IDCANCEL, m_btnCancel);
    DDX_Control(pDX, IDC_HEAD_SELECT, m_cbHeadSelect);
    DDX_Control(pDX, IDC_BASE_CHANNEL, m_cbBaseChannel);
}

void CDlgSwitchInkOrder::DeclareMessageMap(CMessageMap& map) {
    map.Notify(IDC_SWITCH_INK_LIST, NM_CLICK, [](NMHDR*, LRESULT* pResult) { *pResult = 0; });
    map.Notify(IDC_SWITCH_INK_LIST, NM_DBLCLK, [](NMHDR*, LRESULT* pResult) { *pResult = 0; });
    map.Command(IDC_SWITCH_INK_SWITCH, BN_CLICKED, [this] { OnBnClickedSwitch(); });
    map.Command(IDC_HEAD_SELECT, CBN_SELCHANGE, [this] { OnCbnSelchangeHeadSelect(); });
    map.Command(IDC_BASE_CHANNEL, CBN_SELCHANGE, [this] { OnCbnSelchangeBaseChannel(); });
}

IHostHeadConfig* CDlgSwitchInkOrder::HeadConfig() const {
    return g_pHostInterface ? g_pHostInterface->GetHeadConfig() : nullptr;
}

BOOL CDlgSwitchInkOrder::OnInitDialog() {
    CDialogEx::OnInitDialog();
    if (g_pHostInterface)
        TakeSnapshot();

    // One image 1 pixel wide and 20 high (on a 96-DPI screen) sets the row height; the list only borrows it.
    m_rowHeightImages.reset(
        ::ImageList_Create(1, CDpiScale(m_hWnd)(kRowHeight), ILC_COLOR32 | ILC_MASK, 1, 1));
    ::SetWindowLongW(m_List, GWL_STYLE, ::GetWindowLongW(m_List, GWL_STYLE) | LVS_SHAREIMAGELISTS);
    m_List.SendMessage(LVM_SETIMAGELIST, LVSIL_SMALL, reinterpret_cast<LPARAM>(m_rowHeightImages.get()));
    m_List.SendMessage(LVM_SETEXTENDEDLISTVIEWSTYLE, 0, LVS_EX_GRIDLINES | LVS_EX_FULLROWSELECT);

    if (IHostHeadConfig* pConfig = HeadConfig()) {
        m_nHeadCount = pConfig->GetHeadCount();
        m_nChannelCount = pConfig->GetChannelCount();
        m_nActiveIndex = pConfig->GetActiveIndex();
    }
    m_nGridHeads = GridCount(m_nHeadCount, kSwitchGridMaxHeads);
    m_nGridChannels = GridCount(m_nChannelCount, kSwitchGridMaxChannels);
    if (m_nHeadCount >= 1 && m_nChannelCount >= 1 && m_nActiveIndex >= 0) {
        BuildGrid();
        FillBaseChannel();
        FillHeadSelect();
    }
    TranslateDialogOnOpen(*this);
    return TRUE;
}

void CDlgSwitchInkOrder::TakeSnapshot() {
    IHostInterface* pRoot = g_pHostInterface;
    if (!pRoot->IsSnapshotEnabled() || m_pSnapshot)
        return;
    IHostPrinter* pPrinter = pRoot->GetPrinter();
    if (!pPrinter)
        return;
    m_pSnapshot = pPrinter->CreateSnapshot();
    if (!m_pSnapshot)
        return;
    m_pSnapshotPrinter = pPrinter;
    IHostSnapshot* pContent = m_pSnapshot->GetContent();
    IHostSnapshot* pSettings = pContent ? pContent->GetSettings() : nullptr;
    if (!pSettings)
        return;

    IHostHeadSettings* pSavedHeads = pSettings->GetHeadSettings();
    IHostHeadSettings* pLiveHeads = pRoot->GetHeadSettings();
    IHostSettingsData* pTo = pSavedHeads ? pSavedHeads->GetData() : nullptr;
    IHostSettingsData* pFrom = pTo && pLiveHeads ? pLiveHeads->GetData() : nullptr;
    if (pTo && pFrom) {
        pTo->CopyFrom(pFrom);
        m_bSnapshotHoldsHeads = true;
    }
    IHostChannelGroupTables* pSavedGroups = pSettings->GetGroupSettings();
    IHostChannelGroupTables* pLiveGroups = pRoot->GetGroupSettings();
    pTo = pSavedGroups ? pSavedGroups->GetData() : nullptr;
    pFrom = pTo && pLiveGroups ? pLiveGroups->GetData() : nullptr;
    if (pTo && pFrom) {
        pTo->CopyFrom(pFrom);
        m_bSnapshotHoldsGroups = true;
    }
}

uint16_t CDlgSwitchInkOrder::GetChannelInk(int nHead, int nChannel, COLORREF* pInkColor, COLORREF* pTextColor,
                                           std::wstring* pLabel) const {
    IHostHeadConfig* pConfig = HeadConfig();
    IHostHeadTable* pTable = pConfig ? pConfig->GetHeadTable() : nullptr;
    IHostChannel* pChannel = LookUpChannel(pTable, {nHead, nChannel});
    if (!pChannel)
        return 0;
    const uint16_t nId = pChannel->GetGroupId();
    IHostGroupTable* pGroups = g_pHostInterface->GetGroupTable();
    IHostGroup* pGroup = pGroups ? pGroups->FindGroup(nId) : nullptr;
    if (!pGroup)
        return nId;
    const COLORREF crInk = pGroup->GetColor();
    *pInkColor = crInk;
    *pTextColor = InkLabelTextColor(crInk);
    if (pLabel)
        *pLabel = FormatInkLabel(AnsiToWide(pGroup->GetName(), CP_THREAD_ACP), nHead, nChannel);
    return nId;
}

CDlgSwitchInkOrder::ChannelLook CDlgSwitchInkOrder::LookOfChannel(int nHead, int nChannel) const {
    // A channel whose ink is not known shows its position on white: never the previous cell's ink.
    ChannelLook look;
    look.strLabel = FormatInkLabel(L"", nHead, nChannel);
    look.nInk = GetChannelInk(nHead, nChannel, &look.crInk, &look.crText, &look.strLabel);
    return look;
}

void CDlgSwitchInkOrder::SetRedraw(BOOL bRedraw) {
    m_List.SendMessage(WM_SETREDRAW, bRedraw);
    if (bRedraw)
        ::InvalidateRect(m_List, nullptr, TRUE);
}

void CDlgSwitchInkOrder::SetInkCell(int nHead, int nChannel) {
    const ChannelLook look = LookOfChannel(nHead, nChannel);
    m_List.SetItemText(InkRow(nHead), ChannelColumn(nChannel), look.strLabel.c_str(), look.crText,
                       look.crInk);
    m_List.SetBold(InkRow(nHead), ChannelColumn(nChannel), TRUE);
    m_List.SetItemText(CheckRow(nHead), ChannelColumn(nChannel), L"", kBlack, kWhite);
    m_List.SetCheckbox(CheckRow(nHead), ChannelColumn(nChannel), 0);
}

void CDlgSwitchInkOrder::BuildGrid() {
    if (!m_List.m_hWnd)
        return;
    SetRedraw(FALSE);
    m_List.DeleteAllItems();
    while (m_List.SendMessage(LVM_DELETECOLUMN, 0))
        ;
    RECT rcList;
    m_List.GetWindowRect(&rcList);
    const CDpiScale px(m_hWnd);
    const int nChannelWidth =
        ChannelColumnWidth(rcList.right - rcList.left, m_nGridChannels, px(kChannelReservedWidth));
    m_List.InsertColumn(0, L"", LVCFMT_CENTER, 0);
    m_List.InsertColumn(1, L"", LVCFMT_CENTER, px(kHeadColumnWidth));
    for (int c = 0; c < m_nGridChannels; ++c)
        m_List.InsertColumn(ChannelColumn(c), L"CH" + std::to_wstring(c + 1), LVCFMT_CENTER, nChannelWidth);

    for (int h = 0; h < m_nGridHeads; ++h) {
        for (int nRow = 3 * h; nRow < 3 * h + 3; ++nRow)
            m_List.InsertItem(nRow, m_List.m_crWindowText, m_List.m_crWindow);
        m_List.SetItemText(InkRow(h), 1, HeadLabel(h).c_str(), kBlack, kWhite);
        m_List.SetBold(InkRow(h), 1, TRUE);
        m_List.SetItemText(CheckRow(h), 1, L"", kBlack, kWhite);
        m_List.SetItemText(3 * h + 2, 1, L"", kBlack, kWhite);
    }
    for (int h = 0; h < m_nGridHeads; ++h) {
        for (int c = 0; c < m_nGridChannels; ++c)
            SetInkCell(h, c);
    }
    SetRedraw(TRUE);
}

void CDlgSwitchInkOrder::FillHeadSelect() {
    m_cbHeadSelect.ResetContent();
    IHostHeadConfig* pConfig = HeadConfig();
    IHostBaseChannelList* pBase = pConfig ? pConfig->GetBaseChannelList() : nullptr;
    if (!pBase)
        return;
    const int64_t nRequired = RequiredBaseEntries(pBase->GetChannelTotal(), m_nChannelCount);
    if (nRequired >= 0 && pBase->GetCount() != nRequired) {
        pBase->Clear();
        for (int64_t i = 0; i < nRequired; ++i)
            pBase->Add(0, 0);
    }
    for (int i = 0; i < pBase->GetCount() && i < kSwitchGridMaxHeads; ++i) {
        const int nHead = pConfig->GetBaseHead(i);
        const int nItem = m_cbHeadSelect.AddString(HeadLabel(nHead));
        m_cbHeadSelect.SetItemData(nItem, static_cast<DWORD_PTR>(static_cast<INT_PTR>(nHead)));
    }
    if (m_cbHeadSelect.GetCount() > 0)
        m_cbHeadSelect.SetCurSel(0);
    OnCbnSelchangeHeadSelect();
}

void CDlgSwitchInkOrder::FillBaseChannel() {
    m_cbBaseChannel.ResetContent();
    IHostHeadConfig* pConfig = HeadConfig();
    IHostChannelGroupList* pGroups = pConfig ? pConfig->GetChannelGroups() : nullptr;
    if (!pGroups)
        return;
    ForEachChannelEntry(pGroups, [&](IHostChannelGroup*, IHostChannelEntry* pEntry) {
        const int nPositions = pEntry->GetChannelCount();
        for (int k = 0; k < nPositions; ++k) {
            const int nHead = pEntry->GetHead();
            const int nChannel = static_cast<int>(pEntry->GetChannel(k) & 0xFFFF);
            if (nHead < 0 || nHead >= m_nGridHeads || nChannel >= m_nGridChannels)
                continue;
            const int nItem = m_cbBaseChannel.AddString(LookOfChannel(nHead, nChannel).strLabel);
            m_cbBaseChannel.SetItemData(nItem, reinterpret_cast<DWORD_PTR>(pEntry));
        }
        return false;
    });
}

void CDlgSwitchInkOrder::OnCbnSelchangeHeadSelect() {
    IHostHeadConfig* pConfig = HeadConfig();
    IHostBaseChannelList* pBase = pConfig ? pConfig->GetBaseChannelList() : nullptr;
    IHostChannelGroupList* pGroups = pConfig ? pConfig->GetChannelGroups() : nullptr;
    // An empty head selection names no entry of the host's list.
    const int nHeadItem = m_cbHeadSelect.GetCurSel();
    if (!pBase || !pGroups || nHeadItem < 0)
        return;
    IHostBaseChannel* pBaseChannel = pBase->GetAt(nHeadItem);
    if (!pBaseChannel)
        return;

    IHostChannelGroup* pGroup = nullptr;
    const uint16_t nGroupId = pBaseChannel->GetGroupId();
    const int nGroups = pGroups->GetCount();
    for (int i = 0; i < nGroups && !pGroup; ++i) {
        IHostChannelGroup* pCandidate = pGroups->GetAt(i);
        if (pCandidate && static_cast<uint16_t>(pCandidate->GetId() & 0xFFFF) == nGroupId)
            pGroup = pCandidate;
    }
    const int nEntries = pGroup ? pGroup->GetEntryCount() : 0;
    if (nEntries <= 0) {
        m_cbBaseChannel.SetCurSel(-1);
        return;
    }
    IHostChannelEntry* pEntry = nullptr;
    const uint16_t nEntryId = static_cast<uint16_t>(pBaseChannel->GetEntryId() & 0xFFFF);
    for (int j = 0; j < nEntries && !pEntry; ++j) {
        IHostChannelEntry* pCandidate = pGroup->GetEntry(j);
        if (pCandidate && pCandidate->GetId() == nEntryId)
            pEntry = pCandidate;
    }
    if (!pEntry) {
        m_cbBaseChannel.SetCurSel(-1);
        return;
    }
    const int nItems = m_cbBaseChannel.GetCount();
    for (int k = 0; k < nItems; ++k) {
        if (m_cbBaseChannel.GetItemData(k) == reinterpret_cast<DWORD_PTR>(pEntry)) {
            m_cbBaseChannel.SetCurSel(k);
            return;
        }
    }
}

void CDlgSwitchInkOrder::OnCbnSelchangeBaseChannel() {
    const int k = m_cbBaseChannel.GetCurSel();
    if (k < 0 || k >= m_cbBaseChannel.GetCount())
        return;
    const DWORD_PTR dwEntry = m_cbBaseChannel.GetItemData(k);
    if (!dwEntry)
        return;
    IHostHeadConfig* pConfig = HeadConfig();
    IHostBaseChannelList* pBase = pConfig ? pConfig->GetBaseChannelList() : nullptr;
    const int nHeadItem = m_cbHeadSelect.GetCurSel();
    IHostBaseChannel* pBaseChannel = pBase && nHeadItem >= 0 ? pBase->GetAt(nHeadItem) : nullptr;
    IHostChannelGroupList* pGroups = pConfig ? pConfig->GetChannelGroups() : nullptr;
    if (!pBaseChannel || !pGroups)
        return;
    // The item's entry is only used once it is found again among the live groups.
    ForEachChannelEntry(pGroups, [&](IHostChannelGroup* pGroup, IHostChannelEntry* pEntry) {
        if (reinterpret_cast<DWORD_PTR>(pEntry) != dwEntry)
            return false;
        pBaseChannel->SetGroupId(static_cast<uint16_t>(pGroup->GetId() & 0xFFFF));
        pBaseChannel->SetEntryId(pEntry->GetId());
        m_bModified = TRUE;
        return true;
    });
}

void CDlgSwitchInkOrder::OnBnClickedSwitch() {
    int nChosen = 0;
    ChannelRef chosen[2];
    // Only the channels the grid can show count; a third choice already decides the answer, so the walk
    // stops there.
    for (int h = 0; h < m_nGridHeads && nChosen <= 2; ++h) {
        for (int c = 0; c < m_nGridChannels && nChosen <= 2; ++c) {
            // Only a box that is there and clear is not chosen.
            if (m_List.GetCheckbox(CheckRow(h), ChannelColumn(c)) == 0)
                continue;
            if (nChosen < 2)
                chosen[nChosen] = {h, c};
            ++nChosen;
        }
    }
    if (nChosen != 2) {
        AfxMessageBox(g_languageFile.Translate(L"Only two channels switching is supported"), MB_OK);
        return;
    }
    if (chosen[0].nHead != chosen[1].nHead) {
        AfxMessageBox(g_languageFile.Translate(L"Only the same head switching is supported"), MB_OK);
        return;
    }
    if (LookOfChannel(chosen[0].nHead, chosen[0].nChannel).nInk ==
        LookOfChannel(chosen[1].nHead, chosen[1].nChannel).nInk) {
        AfxMessageBox(g_languageFile.Translate(L"Both channels have the same ink color"), MB_OK);
        return;
    }

    SetRedraw(FALSE);
    if (SwitchChannels(g_pHostInterface, chosen[0], chosen[1])) {
        for (int h = 0; h < m_nGridHeads; ++h) {
            for (int c = 0; c < m_nGridChannels; ++c)
                SetInkCell(h, c);
        }
        FillBaseChannel();
        FillHeadSelect();
        m_bModified = TRUE;
    } else {
        for (int h = 0; h < m_nGridHeads; ++h) {
            for (int c = 0; c < m_nGridChannels; ++c)
                m_List.SetCheckbox(CheckRow(h), ChannelColumn(c), 0);
        }
    }
    SetRedraw(TRUE);
}

void CDlgSwitchInkOrder::OnOK() {
    if (m_bModified) {
        CWaitCursor wait;
        if (g_pHostInterface)
            g_pHostInterface->ApplySettings(0, 0, 0);
    }
    CDialogEx::OnOK();
}

void CDlgSwitchInkOrder::OnCancel() {
    if (m_bModified && m_pSnapshot && g_pHostInterface) {
        IHostSnapshot* pContent = m_pSnapshot->GetContent();
        IHostSnapshot* pSettings = pContent ? pContent->GetSettings() : nullptr;
        if (pSettings && m_bSnapshotHoldsHeads) {
            IHostHeadSettings* pLive = g_pHostInterface->GetHeadSettings();
            IHostHeadSettings* pSaved = pSettings->GetHeadSettings();
            IHostSettingsData* pTo = pLive ? pLive->GetData() : nullptr;
            IHostSettingsData* pFrom = pSaved ? pSaved->GetData() : nullptr;
            if (pTo && pFrom)
                pTo->CopyFrom(pFrom);
        }
        if (pSettings && m_bSnapshotHoldsGroups) {
            IHostChannelGroupTables* pLive = g_pHostInterface->GetGroupSettings();
            IHostChannelGroupTables* pSaved = pSettings->GetGroupSettings();
            IHostSettingsData* pTo = pLive ? pLive->GetData() : nullptr;
            IHostSettingsData* pFrom = pSaved ? pSaved->GetData() : nullptr;
            if (pTo && pFrom)
                pTo->CopyFrom(pFrom);
        }
    }
    CDialogEx::OnCancel();
}
