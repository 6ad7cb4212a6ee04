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
std::wstring Row(HWND hDlg, int i) {
    return TextOf(hDlg, kNumber + i) + L"@" +
           std::to_wstring(::SendDlgItemMessageW(hDlg, kSlider + i, TBM_GETPOS, 0, 0));
}

class CutInkTest : public ::testing::Test {
protected:
    SimPrinter& Printer() { return session.m_pMachine->m_printer; }
    void AddInk(uint16_t nId, const char* pszName, const std::vector<uint16_t>& rows) {
        Printer().m_groupTable.Add(nId, pszName, rows);
        Printer().m_layout.m_idList.m_ids.push_back(nId);
    }
    int32_t Show(uint32_t nRows, int32_t* pValues, Operator::Step step) {
        return Drive({std::move(step)},
                     [&] { return session->ShowCutInkSetting(&Printer(), nRows, pValues, &nApplyToAll); });
    }
    SimParameter& ApplyToAllOffered() { return Printer().Parameter(kParamApplyToAllTask); }

    PluginSession session;
    uint32_t nApplyToAll = kUntouched;
};

TEST_F(CutInkTest, EachClaimedRowShowsItsInkAndValueAndTheDialogGrowsWithTheRows) {
    AddInk(1, "C", {0, 2});
    AddInk(2, "M", {3});
    int32_t values[kCutInkValueCount] = {10, 99, 30, 150};
    EXPECT_EQ(1, Show(4, values, [&](HWND hDlg) {
                  // A value outside the slider's range shows unchanged beside the slider's nearest end.
                  std::vector<std::wstring> rows;
                  for (int i : {0, 2, 3})
                      rows.push_back(TextOf(hDlg, kLabel + i) + L":" + Row(hDlg, i));
                  EXPECT_EQ((std::vector<std::wstring>{L"C:10@10", L"C:30@30", L"M:150@100"}), rows);
                  EXPECT_TRUE(!::GetDlgItem(hDlg, kLabel + 1) && !::GetDlgItem(hDlg, kSlider + 1));
                  EXPECT_EQ(3 * 34 + 154, WindowHeight(hDlg));
                  Click(hDlg, IDOK);
              }));
    EXPECT_EQ(99, values[1]); // nothing moved: every value comes back as it was
    EXPECT_EQ(150, values[3]);
    EXPECT_EQ(0u, nApplyToAll);
    // No rows: the bare dialog, which asks the host nothing about groups.
    session.m_pMachine->m_log.Clear();
    for (int32_t nOffered : {1, 0}) {
        ApplyToAllOffered().m_nValue = nOffered;
        Show(0, nullptr, [&](HWND hDlg) {
            EXPECT_EQ(154, WindowHeight(hDlg));
            EXPECT_EQ(nOffered != 0, IsShown(hDlg, IDC_CUT_INK_APPLY_ALL));
            Click(hDlg, IDCANCEL);
        });
    }
    EXPECT_TRUE(session.m_pMachine->m_log.Filter({"GroupTable.FindGroup"}).empty());
}

// Parameter 2104 offers "apply to all"; the output word is 1 only when it is still offered at OK.
TEST_F(CutInkTest, SliderMovesAndApplyToAllAreHandedBackOnlyOnOkAndNeverPastTheBlock) {
    AddInk(1, "K", {0, 35});
    int32_t block[40]; // the host's block is followed by memory the dialog must never write
    std::fill(std::begin(block), std::end(block), 0x5A5A);
    const struct {
        int nClose;
        int32_t nOfferedAtOk;
        uint32_t nApplyToAll;
    } cases[] = {{IDCANCEL, 1, kUntouched}, {IDOK, 0, 0}, {IDOK, 1, 1}};
    for (const auto& c : cases) {
        block[0] = 40;
        nApplyToAll = kUntouched;
        ApplyToAllOffered().m_nValue = 1;
        session.m_pMachine->m_log.Clear();
        EXPECT_EQ(1, Show(40, block, [&](HWND hDlg) {
                      EXPECT_EQ(L"1@1", Row(hDlg, 35)); // past the block's 32 entries: the lowest value
                      MoveSlider(hDlg, kSlider + 0, 77, TB_THUMBTRACK);
                      MoveSlider(hDlg, kSlider + 35, 88);
                      EXPECT_EQ(L"77", TextOf(hDlg, kNumber + 0));
                      EXPECT_EQ(L"88", TextOf(hDlg, kNumber + 35));
                      Click(hDlg, IDC_CUT_INK_APPLY_ALL);
                      ApplyToAllOffered().m_nValue = c.nOfferedAtOk;
                      Click(hDlg, c.nClose);
                  }));
        EXPECT_EQ(c.nClose == IDOK ? 77 : 40, block[0]);
        EXPECT_EQ(c.nApplyToAll, nApplyToAll);
        EXPECT_EQ(c.nClose == IDOK ? 2u : 1u,
                  session.m_pMachine->m_log.Filter({"Param(2104).GetIntValue"}).size());
    }
    for (int i = 1; i < 40; ++i)
        EXPECT_EQ(0x5A5A, block[i]) << i;
    EXPECT_EQ(0, session->ShowCutInkSetting(nullptr, 1, nullptr, &nApplyToAll));
}

} // namespace
