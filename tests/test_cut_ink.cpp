// The cut-ink setting through ShowCutInkSetting: the rows it shows for the host's ink groups, and what it
// hands back in the host's block and output word.
#include <algorithm>
#include <iterator>

#include "Plugin.h"
#include "res/resource.h"

namespace {

constexpr uint32_t kUntouched = 0xDEADu;
constexpr int kLabel = IDC_CUT_INK_LABEL_BASE, kSlider = IDC_CUT_INK_SLIDER_BASE,
              kNumber = IDC_CUT_INK_VALUE_BASE;

LONG WindowHeight(HWND hDlg) {
    RECT rc = {};
    ::GetWindowRect(hDlg, &rc);
    return rc.bottom - rc.top;
}

int SliderPos(HWND hDlg, int nId) {
    return static_cast<int>(::SendDlgItemMessageW(hDlg, nId, TBM_GETPOS, 0, 0));
}

class CutInkTest : public ::testing::Test {
protected:
    SimPrinter& Printer() { return session.m_pMachine->m_printer; }
    // A group in the current layout whose members claim the given rows.
    void AddInk(uint16_t nId, const char* pszName, const std::vector<uint16_t>& rows) {
        Printer().m_groupTable.Add(nId, pszName, rows);
        Printer().m_layout.m_idList.m_ids.push_back(nId);
    }
    int32_t Show(uint32_t nRows, int32_t* pValues, uint32_t* pApplyToAll, Operator::Step step) {
        return Drive({std::move(step)},
                     [&] { return session->ShowCutInkSetting(&Printer(), nRows, pValues, pApplyToAll); });
    }

    PluginSession session;
};

TEST_F(CutInkTest, EachClaimedRowShowsItsInkAndValueAndTheDialogGrowsWithTheRows) {
    AddInk(1, "C", {0, 2});
    AddInk(2, "M", {3});
    int32_t values[kCutInkValueCount] = {10, 99, 30, 150};
    std::vector<std::wstring> texts;
    std::vector<int> positions;
    bool bGapHasNoControl = false, bNumbersEnabled = false;
    LONG nHeight = 0;
    uint32_t nApplyToAll = kUntouched;
    EXPECT_EQ(1, Show(4, values, &nApplyToAll, [&](HWND hDlg) {
                  for (int i : {0, 2, 3}) {
                      texts.push_back(TextOf(hDlg, kLabel + i) + L":" + TextOf(hDlg, kNumber + i));
                      positions.push_back(SliderPos(hDlg, kSlider + i));
                      bNumbersEnabled = bNumbersEnabled || IsEnabled(hDlg, kNumber + i);
                  }
                  bGapHasNoControl = !::GetDlgItem(hDlg, kLabel + 1) && !::GetDlgItem(hDlg, kSlider + 1);
                  nHeight = WindowHeight(hDlg);
                  Click(hDlg, IDOK);
              }));
    // A value outside the slider's range shows unchanged beside the slider's nearest end.
    EXPECT_EQ((std::vector<std::wstring>{L"C:10", L"C:30", L"M:150"}), texts);
    EXPECT_EQ((std::vector<int>{10, 30, 100}), positions);
    EXPECT_TRUE(bGapHasNoControl);
    EXPECT_FALSE(bNumbersEnabled);
    EXPECT_EQ(3 * 34 + 154, nHeight);
    EXPECT_EQ(99, values[1]); // nothing moved: every value comes back as it was
    EXPECT_EQ(150, values[3]);
    EXPECT_EQ(0u, nApplyToAll);

    // No rows: the bare dialog, which asks the host nothing about groups.
    session.m_pMachine->m_log.Clear();
    for (int32_t nOffered : {1, 0}) {
        Printer().Parameter(kParamApplyToAllTask).m_nValue = nOffered;
        bool bCheckShown = !nOffered;
        Show(0, nullptr, nullptr, [&](HWND hDlg) {
            nHeight = WindowHeight(hDlg);
            bCheckShown = IsShown(hDlg, IDC_CUT_INK_APPLY_ALL);
            Click(hDlg, IDCANCEL);
        });
        EXPECT_EQ(154, nHeight);
        EXPECT_EQ(nOffered != 0, bCheckShown);
    }
    EXPECT_TRUE(session.m_pMachine->m_log.Filter({"GroupTable.FindGroup"}).empty());
}

TEST_F(CutInkTest, SliderMovesAreHandedBackOnlyOnOkAndNeverPastTheBlock) {
    AddInk(1, "K", {0, 35});
    Printer().Parameter(kParamApplyToAllTask).m_nValue = 1;
    int32_t block[40]; // the host's block is followed by memory the dialog must never write
    std::fill(std::begin(block), std::end(block), 0x5A5A);
    block[0] = 40;
    uint32_t nApplyToAll = kUntouched;
    std::vector<std::wstring> shown;
    for (int nClose : {IDCANCEL, IDOK}) {
        EXPECT_EQ(1, Show(40, block, &nApplyToAll, [&](HWND hDlg) {
                      shown = {TextOf(hDlg, kNumber + 35)};
                      MoveSlider(hDlg, kSlider + 0, 77, TB_THUMBTRACK);
                      MoveSlider(hDlg, kSlider + 35, 88);
                      shown.push_back(TextOf(hDlg, kNumber + 0));
                      shown.push_back(TextOf(hDlg, kNumber + 35));
                      Click(hDlg, IDC_CUT_INK_APPLY_ALL);
                      Click(hDlg, nClose);
                  }));
        EXPECT_EQ(nClose == IDOK ? 77 : 40, block[0]);
        EXPECT_EQ(nClose == IDOK ? 1u : kUntouched, nApplyToAll);
    }
    // A row past the block's 32 entries starts at the slider's lowest value.
    EXPECT_EQ((std::vector<std::wstring>{L"1", L"77", L"88"}), shown);
    for (int i = 1; i < 40; ++i)
        EXPECT_EQ(0x5A5A, block[i]) << i;

    // Without a block the rows show zeros, and OK still writes the output word.
    std::wstring strNumber;
    EXPECT_EQ(1, Show(1, nullptr, &nApplyToAll, [&](HWND hDlg) {
                  strNumber = TextOf(hDlg, kNumber) + L"@" + std::to_wstring(SliderPos(hDlg, kSlider));
                  Click(hDlg, IDOK);
              }));
    EXPECT_EQ(L"0@1", strNumber);
    EXPECT_EQ(0u, nApplyToAll);
    EXPECT_EQ(0, session->ShowCutInkSetting(nullptr, 1, nullptr, &nApplyToAll));
}

TEST_F(CutInkTest, ApplyToAllIsZeroWheneverParameter2104IsZeroAtOk) {
    AddInk(1, "K", {0});
    uint32_t nApplyToAll = kUntouched;
    Show(1, nullptr, &nApplyToAll, [](HWND hDlg) {
        ::CheckDlgButton(hDlg, IDC_CUT_INK_APPLY_ALL, BST_CHECKED); // not offered, yet ticked
        Click(hDlg, IDOK);
    });
    EXPECT_EQ(0u, nApplyToAll);
    SimParameter& param = Printer().Parameter(kParamApplyToAllTask);
    param.m_nValue = 1;
    session.m_pMachine->m_log.Clear();
    nApplyToAll = kUntouched;
    Show(1, nullptr, &nApplyToAll, [&](HWND hDlg) {
        Click(hDlg, IDC_CUT_INK_APPLY_ALL);
        param.m_nValue = 0; // withdrawn before OK
        Click(hDlg, IDOK);
    });
    EXPECT_EQ(0u, nApplyToAll);
    EXPECT_EQ(2u, session.m_pMachine->m_log.Filter({"Param(2104).GetIntValue"}).size());
}

} // namespace
