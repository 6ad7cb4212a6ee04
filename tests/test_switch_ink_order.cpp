// The switch ink order dialog, driven through ShowSwitchInkOrder as the host calls it.
#include <gtest/gtest.h>

#include "Plugin.h"
#include "ScriptedOperator.h"
#include "WindowCapture.h"
#include "res/resource.h"

namespace {

using Strings = std::vector<std::string>;
using Texts = std::vector<std::wstring>;

constexpr COLORREF kMarkGreen = RGB(51, 153, 51);
constexpr uint16_t K = 1, C = 2, M = 3, W = 7;

HWND ListOf(HWND hDlg) {
    return ::GetDlgItem(hDlg, IDC_SWITCH_INK_LIST);
}

RECT CellOf(HWND hDlg, int nRow, int nCol) {
    RECT rc = {LVIR_BOUNDS, nCol, 0, 0};
    ::SendMessageW(ListOf(hDlg), LVM_GETSUBITEMRECT, static_cast<WPARAM>(nRow),
                   reinterpret_cast<LPARAM>(&rc));
    return rc;
}

std::wstring CellText(HWND hDlg, int nRow, int nCol) {
    wchar_t szText[128] = {};
    LVITEMW item = {};
    item.iSubItem = nCol;
    item.pszText = szText;
    item.cchTextMax = 128;
    ::SendMessageW(ListOf(hDlg), LVM_GETITEMTEXTW, static_cast<WPARAM>(nRow),
                   reinterpret_cast<LPARAM>(&item));
    return szText;
}

// The operator clicks the check box under a channel of a head (both 0-based).
void Tick(HWND hDlg, int nHead, int nChannel) {
    RECT rc = CellOf(hDlg, 3 * nHead + 1, nChannel + 2);
    LPARAM lPoint = MAKELPARAM((rc.left + rc.right) / 2, (rc.top + rc.bottom) / 2);
    ::SendMessageW(ListOf(hDlg), WM_LBUTTONDOWN, MK_LBUTTON, lPoint);
    ::SendMessageW(ListOf(hDlg), WM_LBUTTONUP, 0, lPoint);
}

int Brightness(COLORREF c) {
    return (GetRValue(c) * 30 + GetGValue(c) * 59 + GetBValue(c) * 11) / 100;
}

// Pixels of a cell (shrunk by a frame of 2) that pass a test of their colour.
template <typename Pred> int CountInCell(HWND hDlg, int nRow, int nCol, Pred pred) {
    CapturedImage image = CaptureWindow(ListOf(hDlg), true);
    RECT rc = CellOf(hDlg, nRow, nCol);
    int n = 0;
    for (int y = rc.top + 2; y < rc.bottom - 2; ++y)
        for (int x = rc.left + 2; x < rc.right - 2; ++x)
            n += pred(image.At(x, y));
    return n;
}

int MarkPixels(HWND hDlg, int nHead, int nChannel) {
    return CountInCell(hDlg, 3 * nHead + 1, nChannel + 2, [](COLORREF c) { return c == kMarkGreen; });
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
        Operator op;
        for (auto& step : steps)
            op.Then(std::move(step));
        op.Start();
        EXPECT_EQ(1, session->ShowSwitchInkOrder());
        EXPECT_FALSE(op.m_bTimedOut);
        EXPECT_TRUE(op.AllStepsDone());
    }
    // Reads the message box that is up and closes it with OK.
    Operator::Step ExpectBox(const std::wstring& strText) {
        return [strText](HWND hBox) {
            EXPECT_EQ(strText, MessageBoxText(hBox));
            EXPECT_EQ(L"Pivora", CaptionOf(hBox));
            Click(hBox, IDOK);
        };
    }

    PluginSession session;
};

TEST_F(SwitchInkOrderTest, OpensWithTheHostsGridAndCombosTakesASnapshotAndOkWithoutChangeCallsNothing) {
    size_t nCallsBeforeOk = 0;
    Run({[&](HWND hDlg) {
        HWND hList = ListOf(hDlg);
        RECT rcList;
        ::GetWindowRect(hList, &rcList);
        EXPECT_EQ(0, ::SendMessageW(hList, LVM_GETCOLUMNWIDTH, 0, 0));
        EXPECT_EQ(50, ::SendMessageW(hList, LVM_GETCOLUMNWIDTH, 1, 0));
        EXPECT_EQ((rcList.right - rcList.left - 80) / 8, ::SendMessageW(hList, LVM_GETCOLUMNWIDTH, 9, 0));
        EXPECT_EQ(12, ::SendMessageW(hList, LVM_GETITEMCOUNT, 0, 0));
        // 20 pixels of the row image, and one of the grid line below it.
        EXPECT_EQ(21, CellOf(hDlg, 0, 1).bottom - CellOf(hDlg, 0, 1).top);
        EXPECT_EQ(
            (Texts{L"H1", L"K[1,1]", L"V[1,8]", L"", L"", L"H4", L"W[4,1]", L"Lm[4,8]"}),
            (Texts{CellText(hDlg, 0, 1), CellText(hDlg, 0, 2), CellText(hDlg, 0, 9), CellText(hDlg, 1, 2),
                   CellText(hDlg, 2, 2), CellText(hDlg, 9, 1), CellText(hDlg, 9, 2), CellText(hDlg, 9, 9)}));
        // Ink cells on the ink's colour; black gets white text.
        EXPECT_GT(CountInCell(hDlg, 0, 3, [](COLORREF c) { return c == RGB(0, 255, 255); }), 200);
        EXPECT_GT(CountInCell(hDlg, 0, 2, [](COLORREF c) { return Brightness(c) > 200; }), 10);
        EXPECT_EQ(0, MarkPixels(hDlg, 0, 0));

        EXPECT_EQ((Texts{L"H1", L"H2", L"H3", L"H4"}), ComboItems(hDlg, IDC_HEAD_SELECT));
        EXPECT_EQ((std::vector<LPARAM>{0, 1, 2, 3}), ComboItemData(hDlg, IDC_HEAD_SELECT));
        EXPECT_EQ(0, ComboSelection(hDlg, IDC_HEAD_SELECT));
        Texts channels = ComboItems(hDlg, IDC_BASE_CHANNEL);
        ASSERT_EQ(32u, channels.size());
        EXPECT_EQ((Texts{L"K[1,1]", L"C[1,2]"}), Texts(channels.begin(), channels.begin() + 2));
        EXPECT_EQ(0, ComboSelection(hDlg, IDC_BASE_CHANNEL));
        // Head 4's base channel is its first colour channel, which prints W.
        SelectComboItem(hDlg, IDC_HEAD_SELECT, 3);
        EXPECT_EQ(L"W[4,1]", channels[static_cast<size_t>(ComboSelection(hDlg, IDC_BASE_CHANNEL))]);
        nCallsBeforeOk = Machine().m_log.m_calls.size();
        Click(hDlg, IDOK);
    }});
    EXPECT_EQ((Strings{"Printer.CreateSnapshot", "SnapshotHeadSettings.Data.CopyFrom",
                       "SnapshotGroupSettings.Data.CopyFrom", "Printer.ReleaseSnapshot"}),
              Calls({"Printer.", "SnapshotHeadSettings.Data", "SnapshotGroupSettings.Data"}));
    const Strings after(Machine().m_log.m_calls.begin() + static_cast<long>(nCallsBeforeOk),
                        Machine().m_log.m_calls.end());
    EXPECT_EQ((Strings{"Root.GetPrinter", "Printer.ReleaseSnapshot"}), after);
    EXPECT_TRUE(Machine().m_snapshots.m_outstanding.empty());
}

TEST_F(SwitchInkOrderTest, TheThreeRefusalsLeaveTheBoxesTickedAndTheHostUntouched) {
    Heads().m_headTable.Channel(0, 1)->m_nGroupId = K;
    Run({[&](HWND hDlg) {
             Tick(hDlg, 0, 0);
             ClickAsync(hDlg, IDC_SWITCH_INK_SWITCH);
         },
         ExpectBox(L"Only two channels switching is supported"),
         [&](HWND hDlg) {
             Tick(hDlg, 0, 2);
             Tick(hDlg, 0, 3);
             ClickAsync(hDlg, IDC_SWITCH_INK_SWITCH);
         },
         ExpectBox(L"Only two channels switching is supported"),
         [&](HWND hDlg) {
             Tick(hDlg, 0, 2);
             Tick(hDlg, 0, 3);
             Tick(hDlg, 2, 3);
             ClickAsync(hDlg, IDC_SWITCH_INK_SWITCH);
         },
         ExpectBox(L"Only the same head switching is supported"),
         [&](HWND hDlg) {
             EXPECT_GT(MarkPixels(hDlg, 2, 3), 6);
             Tick(hDlg, 2, 3);
             Tick(hDlg, 0, 1); // K, like channel 1
             ClickAsync(hDlg, IDC_SWITCH_INK_SWITCH);
         },
         ExpectBox(L"Both channels have the same ink color"),
         [&](HWND hDlg) {
             EXPECT_GT(MarkPixels(hDlg, 0, 0), 6);
             EXPECT_GT(MarkPixels(hDlg, 0, 1), 6);
             Click(hDlg, IDOK);
         }});
    EXPECT_TRUE(Calls({"Channel.Set", "Entry(", "Root.Apply", "BaseList.Add"}).empty());
}

TEST_F(SwitchInkOrderTest, ASwitchShowsEachOthersInkClearsTheBoxesRefillsTheCombosAndOkAppliesOnce) {
    const std::string strSetsBefore = TableSets();
    Run({[&](HWND hDlg) {
        SelectComboItem(hDlg, IDC_HEAD_SELECT, 2);
        Tick(hDlg, 0, 1);
        Tick(hDlg, 0, 2);
        Click(hDlg, IDC_SWITCH_INK_SWITCH);
        // Each label keeps its own head and channel numbers.
        EXPECT_EQ(
            (Texts{L"K[1,1]", L"M[1,2]", L"C[1,3]", L"Y[1,4]"}),
            (Texts{CellText(hDlg, 0, 2), CellText(hDlg, 0, 3), CellText(hDlg, 0, 4), CellText(hDlg, 0, 5)}));
        EXPECT_GT(CountInCell(hDlg, 0, 3, [](COLORREF c) { return c == RGB(255, 0, 255); }), 200);
        EXPECT_GT(CountInCell(hDlg, 0, 4, [](COLORREF c) { return c == RGB(0, 255, 255); }), 200);
        EXPECT_EQ(0, MarkPixels(hDlg, 0, 1) + MarkPixels(hDlg, 0, 2));
        EXPECT_EQ(L"M[1,2]", ComboItems(hDlg, IDC_BASE_CHANNEL)[1]);
        EXPECT_EQ(0, ComboSelection(hDlg, IDC_HEAD_SELECT));
        EXPECT_TRUE(Calls({"Root.Apply"}).empty());
        Click(hDlg, IDOK);
    }});
    EXPECT_EQ((Strings{"Root.ApplySettings(0,0,0)"}), Calls({"Root.Apply"}));
    EXPECT_EQ(M, Ink(0, 1));
    EXPECT_EQ(C, Ink(0, 2));
    EXPECT_NE(strSetsBefore, TableSets());
    EXPECT_TRUE(Calls({"HeadSettings.Data.CopyFrom", "GroupSettings.Data.CopyFrom"}).empty());
}

TEST_F(SwitchInkOrderTest, CancelAfterABaseChannelChoiceAndASwitchPutsBothSettingsBlocksBack) {
    const std::string strSetsBefore = TableSets();
    Run({[&](HWND hDlg) {
        SelectComboItem(hDlg, IDC_BASE_CHANNEL, 1);
        EXPECT_EQ((Strings{"BaseChannel.SetGroupId(1)", "BaseChannel.SetEntryId(1)"}),
                  Calls({"BaseChannel.Set"}));
        EXPECT_EQ(1u, Heads().m_baseList.m_entries[0]->m_nEntryId);
        // Across kinds: K on a colour channel and W on a spot channel go through head 4's channels.
        Tick(hDlg, 0, 0);
        Tick(hDlg, 0, 6);
        Click(hDlg, IDC_SWITCH_INK_SWITCH);
        EXPECT_EQ(
            (Texts{L"W[1,1]", L"K[1,7]", L"K[4,1]", L"W[4,7]"}),
            (Texts{CellText(hDlg, 0, 2), CellText(hDlg, 0, 8), CellText(hDlg, 9, 2), CellText(hDlg, 9, 8)}));
        PressKey(hDlg, VK_ESCAPE);
    }});
    EXPECT_EQ((Strings{"HeadSettings.Data.CopyFrom", "GroupSettings.Data.CopyFrom"}),
              Calls({"HeadSettings.Data.CopyFrom", "GroupSettings.Data.CopyFrom"}));
    EXPECT_EQ(0u, Heads().m_baseList.m_entries[0]->m_nEntryId);
    EXPECT_EQ(K, Ink(0, 0));
    EXPECT_EQ(W, Ink(3, 0));
    EXPECT_EQ(strSetsBefore, TableSets());
    EXPECT_TRUE(Calls({"Root.Apply"}).empty());
}

TEST_F(SwitchInkOrderTest, AFailedSwitchOnlyClearsTheBoxesAndWithoutSnapshotsCancelKeepsASwitch) {
    Machine().m_snapshots.m_bEnabled = false;
    // Without head 4's colour channels a switch across kinds finds no partners.
    Heads().m_liveGroups.m_groups[0]->m_entries.resize(18);
    Run({[&](HWND hDlg) {
        Tick(hDlg, 1, 0);
        Tick(hDlg, 1, 6);
        Click(hDlg, IDC_SWITCH_INK_SWITCH);
        EXPECT_EQ(0, MarkPixels(hDlg, 1, 0) + MarkPixels(hDlg, 1, 6));
        EXPECT_EQ(L"K[2,1]", CellText(hDlg, 3, 2));
        EXPECT_TRUE(Calls({"Channel.Set", "Entry("}).empty());
        Tick(hDlg, 1, 2);
        Tick(hDlg, 1, 5);
        Click(hDlg, IDC_SWITCH_INK_SWITCH);
        PressKey(hDlg, VK_ESCAPE);
    }});
    EXPECT_EQ(M, Ink(1, 5));
    EXPECT_EQ(6, Ink(1, 2));
    EXPECT_TRUE(
        Calls({"Printer.CreateSnapshot", "HeadSettings.Data", "GroupSettings.Data", "Root.Apply"}).empty());
}

TEST_F(SwitchInkOrderTest, ASettingsBlockTheSnapshotCouldNotCopyIsNeverCopiedBackOverTheHosts) {
    // The head settings cannot be read while the dialog opens, so the snapshot's copy of them stays empty.
    Heads().m_headSettings.m_bHasData = false;
    Run({[&](HWND hDlg) {
        Heads().m_headSettings.m_bHasData = true;
        SelectComboItem(hDlg, IDC_BASE_CHANNEL, 1);
        PressKey(hDlg, VK_ESCAPE);
    }});
    // The group settings come back; the empty head settings copy would have wiped every base channel.
    EXPECT_EQ((Strings{"GroupSettings.Data.CopyFrom"}),
              Calls({"HeadSettings.Data.CopyFrom", "GroupSettings.Data.CopyFrom"}));
    EXPECT_EQ(4u, Heads().m_baseList.m_entries.size());
}

TEST_F(SwitchInkOrderTest, ABaseListOfTheWrongLengthIsRebuiltOnOpeningWithoutMarkingTheDialogModified) {
    Heads().m_baseList.m_entries.resize(2);
    Run({[&](HWND hDlg) {
        EXPECT_EQ((Texts{L"H1", L"H2", L"H3", L"H4"}), ComboItems(hDlg, IDC_HEAD_SELECT));
        // The new entries name group 0, which does not exist: no base channel is shown.
        EXPECT_EQ(-1, ComboSelection(hDlg, IDC_BASE_CHANNEL));
        Click(hDlg, IDOK);
    }});
    EXPECT_EQ((Strings{"BaseList.Clear", "BaseList.Add(0,0)", "BaseList.Add(0,0)", "BaseList.Add(0,0)",
                       "BaseList.Add(0,0)"}),
              Calls({"BaseList.Clear", "BaseList.Add"}));
    EXPECT_TRUE(Calls({"Root.Apply"}).empty());
}

TEST_F(SwitchInkOrderTest,
       TextIsWhiteOnInksUpToFiftyInEachColourAndBlackAboveAndUnknownInksShowOnlyThePlace) {
    Machine().m_printer.m_groupTable.m_groups[K]->m_nColor = RGB(50, 50, 50);
    Machine().m_printer.m_groupTable.m_groups[C]->m_nColor = RGB(51, 0, 0);
    Heads().m_headTable.Channel(0, 3)->m_nGroupId = 99; // no such ink group
    Run({[&](HWND hDlg) {
        EXPECT_GT(CountInCell(hDlg, 0, 2, [](COLORREF c) { return Brightness(c) > 200; }), 10);
        EXPECT_EQ(0, CountInCell(hDlg, 0, 3, [](COLORREF c) { return Brightness(c) > 100; }));
        EXPECT_GT(CountInCell(hDlg, 0, 3, [](COLORREF c) { return Brightness(c) < 10; }), 10);
        // Not the ink or label of the cell before it.
        EXPECT_EQ(L"[1,4]", CellText(hDlg, 0, 5));
        EXPECT_GT(CountInCell(hDlg, 0, 5, [](COLORREF c) { return c == RGB(255, 255, 255); }), 200);
        EXPECT_EQ(L"[1,4]", ComboItems(hDlg, IDC_BASE_CHANNEL)[3]);
        Click(hDlg, IDOK);
    }});
}

TEST_F(SwitchInkOrderTest, WithoutAHostTheDialogOpensEmptyAndSwitchRefuses) {
    session->SetHostInterface(nullptr);
    Run({[&](HWND hDlg) {
             EXPECT_EQ(0, ::SendMessageW(ListOf(hDlg), LVM_GETITEMCOUNT, 0, 0));
             EXPECT_TRUE(ComboItems(hDlg, IDC_HEAD_SELECT).empty());
             ClickAsync(hDlg, IDC_SWITCH_INK_SWITCH);
         },
         ExpectBox(L"Only two channels switching is supported"), [](HWND hDlg) { Click(hDlg, IDCANCEL); }});
    EXPECT_TRUE(Machine().m_log.m_calls.empty());

    // Without an active configuration there is no grid, however many heads and channels the host reports:
    // every one of them counts as chosen, and the answer comes at once.
    session->SetHostInterface(&Machine());
    Heads().m_nHeadCount = 1000000;
    Heads().m_nChannelCount = 1000000;
    Heads().m_nActiveIndex = -1;
    Run({[&](HWND hDlg) {
             EXPECT_EQ(0, ::SendMessageW(ListOf(hDlg), LVM_GETITEMCOUNT, 0, 0));
             ClickAsync(hDlg, IDC_SWITCH_INK_SWITCH);
         },
         ExpectBox(L"Only two channels switching is supported"), [](HWND hDlg) { Click(hDlg, IDCANCEL); }});
}

} // namespace
