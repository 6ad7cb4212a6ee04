// The switch ink order dialog through ShowSwitchInkOrder: the host's heads and inks in the grid, the
// switches the operator asks for, and what OK, Cancel and the snapshot give back to the host. (The inks'
// colours and the ticks' look are in the golden pictures.)
#include "Plugin.h"
#include "WindowCapture.h"
#include "res/resource.h"

namespace {

using Strings = std::vector<std::string>;
using Texts = std::vector<std::wstring>;

constexpr uint16_t K = 1, C = 2, M = 3, W = 7;
const Strings kCopiesBack = {"HeadSettings.Data.CopyFrom", "GroupSettings.Data.CopyFrom"};

HWND ListOf(HWND hDlg) {
    return ::GetDlgItem(hDlg, IDC_SWITCH_INK_LIST);
}
// The box under a channel of a head (both 0-based).
RECT BoxOf(HWND hDlg, int nHead, int nChannel) {
    RECT rc = {LVIR_BOUNDS, nChannel + 2, 0, 0};
    ::SendMessageW(ListOf(hDlg), LVM_GETSUBITEMRECT, static_cast<WPARAM>(3 * nHead + 1),
                   reinterpret_cast<LPARAM>(&rc));
    return rc;
}
Texts Cells(HWND hDlg, std::initializer_list<std::pair<int, int>> cells) {
    Texts texts;
    for (auto [nRow, nCol] : cells) {
        wchar_t szText[128] = {};
        ListView_GetItemText(ListOf(hDlg), nRow, nCol, szText, 128);
        texts.push_back(szText);
    }
    return texts;
}
void Tick(HWND hDlg, int nHead, int nChannel) {
    RECT rc = BoxOf(hDlg, nHead, nChannel);
    LPARAM lPoint = MAKELPARAM((rc.left + rc.right) / 2, (rc.top + rc.bottom) / 2);
    ::SendMessageW(ListOf(hDlg), WM_LBUTTONDOWN, MK_LBUTTON, lPoint);
    ::SendMessageW(ListOf(hDlg), WM_LBUTTONUP, 0, lPoint);
}
bool Ticked(HWND hDlg, int nHead, int nChannel) {
    CapturedImage image = CaptureWindow(ListOf(hDlg), true);
    RECT rc = BoxOf(hDlg, nHead, nChannel);
    int n = 0;
    for (int y = rc.top + 2; y < rc.bottom - 2; ++y)
        for (int x = rc.left + 2; x < rc.right - 2; ++x)
            n += image.At(x, y) == RGB(51, 153, 51);
    return n > 6;
}

// The default machine's 4 heads of 8 channels (K C M Y Lc Lm W V; the fourth W V C M Y Lc K Lm), its
// two kinds of channel-group entries, its table sets and a base channel for every head.
class SwitchInkOrderTest : public ::testing::Test {
protected:
    void SetUp() override {
        AddDefaultInks(Machine());
        AddDefaultHeads(Heads(), Machine().m_printer.m_groupTable);
    }
    SimMachine& Machine() { return *session.m_pMachine; }
    SimHeadConfig& Heads() { return Machine().m_heads; }
    uint16_t Ink(int nHead, int nChannel) { return Heads().m_headTable.Channel(nHead, nChannel)->m_nGroupId; }
    std::string TableSets() {
        std::string str;
        for (const auto& pSet : Heads().m_groupSettings.m_sets)
            for (const auto& pList : pSet->m_lists)
                str += pList->Describe() + " | ";
        return str;
    }
    Strings Calls(const Strings& prefixes) { return Machine().m_log.Filter(prefixes); }
    void Run(std::vector<Operator::Step> steps) {
        EXPECT_EQ(1, Drive(std::move(steps), [&] { return session->ShowSwitchInkOrder(); }));
    }
    static void Refused(std::vector<Operator::Step>& steps, Operator::Step ticks, const wchar_t* pszText) {
        steps.push_back([ticks](HWND hDlg) {
            ticks(hDlg);
            ClickAsync(hDlg, IDC_SWITCH_INK_SWITCH);
        });
        steps.push_back([pszText](HWND hBox) {
            EXPECT_EQ(pszText, MessageBoxText(hBox));
            EXPECT_EQ(L"Pivora", CaptionOf(hBox));
            Click(hBox, IDOK);
        });
    }

    PluginSession session;
};

// Refused switches leave the boxes ticked; nothing changed, so the snapshot of both settings blocks is
// taken and released and nothing is applied or copied back.
TEST_F(SwitchInkOrderTest, OpensWithTheHostsCombosAndOkOrCancelAfterRefusedSwitchesGiveNothingBack) {
    Heads().m_headTable.Channel(0, 1)->m_nGroupId = K;
    for (int nClose : {IDOK, IDCANCEL}) {
        Machine().m_log.Clear();
        std::vector<Operator::Step> steps;
        Refused(
            steps,
            [](HWND hDlg) {
                Texts channels = ComboItems(hDlg, IDC_BASE_CHANNEL);
                ASSERT_EQ(32u, channels.size());
                EXPECT_EQ(L"K[1,1]", channels[static_cast<size_t>(ComboSelection(hDlg, IDC_BASE_CHANNEL))]);
                // Head 4's base channel is its first colour channel, which prints W.
                SelectComboItem(hDlg, IDC_HEAD_SELECT, 3);
                EXPECT_EQ(L"W[4,1]", channels[static_cast<size_t>(ComboSelection(hDlg, IDC_BASE_CHANNEL))]);
                Tick(hDlg, 0, 0);
            },
            L"Only two channels switching is supported");
        Refused(
            steps, [](HWND h) { Tick(h, 0, 1); }, L"Both channels have the same ink color");
        steps.push_back([nClose](HWND hDlg) {
            EXPECT_TRUE(Ticked(hDlg, 0, 0) && Ticked(hDlg, 0, 1));
            Click(hDlg, nClose);
        });
        Run(std::move(steps));
        EXPECT_EQ((Strings{"Printer.CreateSnapshot", "SnapshotHeadSettings.Data.CopyFrom",
                           "SnapshotGroupSettings.Data.CopyFrom", "Printer.ReleaseSnapshot"}),
                  Calls({"Printer.", "SnapshotHeadSettings.Data", "SnapshotGroupSettings.Data"}));
        EXPECT_TRUE(
            Calls({"Root.Apply", "Channel.Set", "Entry(", "BaseList.Add", kCopiesBack[0], kCopiesBack[1]})
                .empty())
            << nClose;
        EXPECT_TRUE(Machine().m_snapshots.m_outstanding.empty());
    }
}

// One switch within a kind, one across kinds (K on a colour channel and W on a spot channel go through
// head 4's channels) and a base channel choice: OK applies them once, Cancel puts both blocks back.
TEST_F(SwitchInkOrderTest, SwitchesShowEachOthersInkAndClearTheBoxesAndOkAppliesOnceAndCancelPutsBack) {
    const std::string strSetsBefore = TableSets();
    for (bool bOk : {false, true}) { // Cancel first: it leaves the machine as it was
        Machine().m_log.Clear();
        Run({[&](HWND hDlg) {
            SelectComboItem(hDlg, IDC_BASE_CHANNEL, 1);
            EXPECT_EQ((Strings{"BaseChannel.SetGroupId(1)", "BaseChannel.SetEntryId(1)"}),
                      Calls({"BaseChannel.Set"}));
            SelectComboItem(hDlg, IDC_HEAD_SELECT, 2);
            Tick(hDlg, 0, 1);
            Tick(hDlg, 0, 2);
            Click(hDlg, IDC_SWITCH_INK_SWITCH);
            EXPECT_FALSE(Ticked(hDlg, 0, 1) || Ticked(hDlg, 0, 2));
            EXPECT_EQ(L"M[1,2]", ComboItems(hDlg, IDC_BASE_CHANNEL)[1]);
            EXPECT_EQ(0, ComboSelection(hDlg, IDC_HEAD_SELECT));
            Tick(hDlg, 0, 0);
            Tick(hDlg, 0, 6);
            Click(hDlg, IDC_SWITCH_INK_SWITCH);
            // Each label keeps its own head and channel numbers.
            EXPECT_EQ((Texts{L"W[1,1]", L"M[1,2]", L"C[1,3]", L"K[1,7]", L"K[4,1]", L"W[4,7]"}),
                      Cells(hDlg, {{0, 2}, {0, 3}, {0, 4}, {0, 8}, {9, 2}, {9, 8}}));
            EXPECT_TRUE(Calls({"Root.Apply"}).empty());
            bOk ? Click(hDlg, IDOK) : PressKey(hDlg, VK_ESCAPE);
        }});
        EXPECT_EQ(bOk ? Strings{"Root.ApplySettings(0,0,0)"} : Strings{}, Calls({"Root.Apply"}));
        EXPECT_EQ(bOk ? Strings{} : kCopiesBack, Calls(kCopiesBack));
        using Inks = std::vector<uint16_t>;
        EXPECT_EQ((bOk ? Inks{M, C, W, K} : Inks{C, M, K, W}),
                  (Inks{Ink(0, 1), Ink(0, 2), Ink(0, 0), Ink(3, 0)}));
        EXPECT_EQ(bOk ? 1u : 0u, Heads().m_baseList.m_entries[0]->m_nEntryId);
        EXPECT_EQ(bOk, strSetsBefore != TableSets());
    }
}

TEST_F(SwitchInkOrderTest, ASettingsBlockTheSnapshotCouldNotCopyIsNeverCopiedBackOverTheHosts) {
    Heads().m_headSettings.m_bHasData = false; // unreadable while the dialog opens: the copy stays empty
    Run({[&](HWND hDlg) {
        Heads().m_headSettings.m_bHasData = true;
        SelectComboItem(hDlg, IDC_BASE_CHANNEL, 1);
        PressKey(hDlg, VK_ESCAPE);
    }});
    // The group settings come back; the empty head settings copy would have wiped every base channel.
    EXPECT_EQ((Strings{"GroupSettings.Data.CopyFrom"}), Calls(kCopiesBack));
    EXPECT_EQ(4u, Heads().m_baseList.m_entries.size());
}

TEST_F(SwitchInkOrderTest, ABaseListOfTheWrongLengthIsRebuiltOnOpeningAndAnUnknownInkShowsOnlyItsPlace) {
    Heads().m_baseList.m_entries.resize(2);
    Heads().m_headTable.Channel(0, 3)->m_nGroupId = 99; // no such ink group
    Run({[&](HWND hDlg) {
        EXPECT_EQ(-1, ComboSelection(hDlg, IDC_BASE_CHANNEL)); // the new entries name no group
        EXPECT_EQ(Texts{L"[1,4]"}, Cells(hDlg, {{0, 5}}));
        Click(hDlg, IDOK);
    }});
    EXPECT_EQ((Strings{"BaseList.Clear", "BaseList.Add(0,0)", "BaseList.Add(0,0)", "BaseList.Add(0,0)",
                       "BaseList.Add(0,0)"}),
              Calls({"BaseList.Clear", "BaseList.Add"}));
    EXPECT_TRUE(Calls({"Root.Apply"}).empty()); // the rebuild does not count as the operator's change
}

} // namespace
