// The cut-ink setting, driven through ShowCutInkSetting as the host calls it.
#include <gtest/gtest.h>

#include <algorithm>
#include <iterator>

#include "Plugin.h"
#include "ScriptedOperator.h"
#include "WindowCapture.h"
#include "res/resource.h"

namespace {

constexpr uint32_t kUntouched = 0xDEADu;
constexpr int kLabel = IDC_CUT_INK_LABEL_BASE, kSlider = IDC_CUT_INK_SLIDER_BASE,
              kNumber = IDC_CUT_INK_VALUE_BASE;

// Left, top, width and height of a control in the dialog's client coordinates.
std::vector<LONG> Box(HWND hDlg, int nId) {
    RECT rc = {};
    ::GetWindowRect(::GetDlgItem(hDlg, nId), &rc);
    ::MapWindowPoints(nullptr, hDlg, reinterpret_cast<POINT*>(&rc), 2);
    return {rc.left, rc.top, rc.right - rc.left, rc.bottom - rc.top};
}

LONG WindowHeight(HWND hDlg) {
    RECT rc = {};
    ::GetWindowRect(hDlg, &rc);
    return rc.bottom - rc.top;
}

int SliderPos(HWND hDlg, int nId) {
    return static_cast<int>(::SendDlgItemMessageW(hDlg, nId, TBM_GETPOS, 0, 0));
}

LOGFONTW FontOf(HWND hDlg, int nId) {
    LOGFONTW lf = {};
    ::GetObjectW(reinterpret_cast<HFONT>(::SendDlgItemMessageW(hDlg, nId, WM_GETFONT, 0, 0)), sizeof(lf),
                 &lf);
    return lf;
}

class CutInkTest : public ::testing::Test {
protected:
    SimPrinter& Printer() { return session.m_pMachine->m_printer; }
    // A group in the current layout whose members claim the given rows.
    void AddInk(uint16_t nId, const char* pszName, const std::vector<uint16_t>& rows) {
        Printer().m_groupTable.Add(nId, pszName, rows);
        Printer().m_layout.m_idList.m_ids.push_back(nId);
    }
    // Opens the dialog, lets the operator act on it, and checks it was closed.
    int32_t Show(uint32_t nRowCount, int32_t* pValues, uint32_t* pApplyToAll, Operator::Step step) {
        Operator op;
        op.Then(std::move(step));
        op.Start();
        int32_t nResult = session->ShowCutInkSetting(&Printer(), nRowCount, pValues, pApplyToAll);
        EXPECT_FALSE(op.m_bTimedOut);
        return nResult;
    }

    PluginSession session;
};

TEST_F(CutInkTest, RowsFollowTheClaimedIndicesAndMoveUpOverGaps) {
    AddInk(1, "C", {0, 2});
    AddInk(2, "M", {3});
    int32_t values[kCutInkValueCount] = {10, 99, 30, 150};
    std::vector<std::wstring> texts;
    std::vector<int> positions;
    std::vector<std::vector<LONG>> boxes;
    LONG nHeight = 0;
    bool bGapHasNoControl = false, bNumbersEnabled = false;
    uint32_t nApplyToAll = kUntouched;
    EXPECT_EQ(
        1, Show(4, values, &nApplyToAll, [&](HWND hDlg) {
            for (int i : {0, 2, 3}) {
                texts.push_back(TextOf(hDlg, kLabel + i) + L":" + TextOf(hDlg, kNumber + i));
                positions.push_back(SliderPos(hDlg, kSlider + i));
                bNumbersEnabled = bNumbersEnabled || IsEnabled(hDlg, kNumber + i);
            }
            bGapHasNoControl = !::GetDlgItem(hDlg, kLabel + 1) && !::GetDlgItem(hDlg, kSlider + 1) &&
                               !::GetDlgItem(hDlg, kNumber + 1);
            for (int nId : {kLabel + 2, kSlider + 2, kNumber + 3, IDCANCEL, IDOK, IDC_CUT_INK_APPLY_ALL})
                boxes.push_back(Box(hDlg, nId));
            nHeight = WindowHeight(hDlg);
            Click(hDlg, IDOK);
        }));
    // A value outside the slider's range shows unchanged beside the slider's nearest end.
    EXPECT_EQ((std::vector<std::wstring>{L"C:10", L"C:30", L"M:150"}), texts);
    EXPECT_EQ((std::vector<int>{10, 30, 100}), positions);
    EXPECT_TRUE(bGapHasNoControl);
    EXPECT_FALSE(bNumbersEnabled);
    // Index 2 is the second row on screen, index 3 the third; the buttons come 20 pixels after them.
    EXPECT_EQ(3 * 34 + 154, nHeight);
    EXPECT_EQ((std::vector<std::vector<LONG>>{{50, 84, 23, 24},
                                              {83, 84, 266, 24},
                                              {359, 118, 90, 24},
                                              {379, 172, 70, 24},
                                              {299, 172, 70, 24},
                                              {50, 172, 210, 24}}),
              boxes);
    // Nothing moved: every value comes back as it was.
    EXPECT_EQ(99, values[1]);
    EXPECT_EQ(150, values[3]);
    EXPECT_EQ(0u, nApplyToAll);
}

TEST_F(CutInkTest, CountZeroGivesTheBareDialogAndParameter2104AloneShowsTheCheckBox) {
    AddInk(1, "K", {0});
    for (int32_t nOffered : {1, 0}) {
        Printer().Parameter(kParamApplyToAllTask).m_nValue = nOffered;
        LONG nHeight = 0;
        std::vector<LONG> okBox;
        bool bCheckShown = !nOffered;
        COLORREF crAbove = 0, crEdge = 0, crBackground = 1;
        Show(0, nullptr, nullptr, [&](HWND hDlg) {
            nHeight = WindowHeight(hDlg);
            okBox = Box(hDlg, IDOK);
            bCheckShown = IsShown(hDlg, IDC_CUT_INK_APPLY_ALL);
            // In the OK button's column, its edge is the first thing drawn below the client top.
            CapturedImage image = CaptureWindow(hDlg, true);
            crBackground = image.At(5, 5);
            crAbove = image.At(330, 69);
            crEdge = image.At(330, 70);
            Click(hDlg, IDCANCEL);
        });
        EXPECT_EQ(154, nHeight);
        EXPECT_EQ((std::vector<LONG>{299, 70, 70, 24}), okBox);
        EXPECT_EQ(nOffered != 0, bCheckShown);
        EXPECT_EQ(crBackground, crAbove);
        EXPECT_NE(crBackground, crEdge);
    }
    EXPECT_TRUE(session.m_pMachine->m_log.Filter({"GroupTable.FindGroup"}).empty());
}

TEST_F(CutInkTest, DerivedCountIsTheLargestListedMemberCount) {
    // Listed by an entry with flag bits above its id; eight members, none of them a row below 8.
    Printer().m_groupTable.Add(1, "K", {20, 21, 22, 23, 24, 25, 26, 27});
    Printer().m_layout.m_idList.m_ids.push_back(0x00030001);
    AddInk(2, "C", {7});
    std::wstring strLabel;
    Show(kCutInkDerivedRowCount, nullptr, nullptr, [&](HWND hDlg) {
        strLabel = TextOf(hDlg, kLabel + 7);
        Click(hDlg, IDCANCEL);
    });
    EXPECT_EQ(L"C", strLabel);
}

TEST_F(CutInkTest, SliderMovesAreHandedBackOnlyAfterOkAndNeverPastTheBlock) {
    AddInk(1, "K", {0, 35});
    Printer().Parameter(kParamApplyToAllTask).m_nValue = 1;
    // The host's block is followed by memory the dialog must never write.
    int32_t block[40];
    std::fill(std::begin(block), std::end(block), 0x5A5A);
    block[0] = 40;
    uint32_t nApplyToAll = kUntouched;
    std::vector<std::wstring> shown;
    auto moveAndClose = [&](int nCloseId) {
        return [&, nCloseId](HWND hDlg) {
            shown = {TextOf(hDlg, kNumber + 35)};
            MoveSlider(hDlg, kSlider + 0, 77, TB_THUMBTRACK);
            MoveSlider(hDlg, kSlider + 35, 88);
            shown.push_back(TextOf(hDlg, kNumber + 0));
            shown.push_back(TextOf(hDlg, kNumber + 35));
            Click(hDlg, IDC_CUT_INK_APPLY_ALL);
            Click(hDlg, nCloseId);
        };
    };
    EXPECT_EQ(1, Show(40, block, &nApplyToAll, moveAndClose(IDCANCEL)));
    EXPECT_EQ(40, block[0]);
    EXPECT_EQ(kUntouched, nApplyToAll);

    EXPECT_EQ(1, Show(40, block, &nApplyToAll, moveAndClose(IDOK)));
    // A row past the block's 32 entries starts at the slider's lowest value.
    EXPECT_EQ((std::vector<std::wstring>{L"1", L"77", L"88"}), shown);
    EXPECT_EQ(77, block[0]);
    for (int i = 1; i < 40; ++i)
        EXPECT_EQ(0x5A5A, block[i]) << i;
    EXPECT_EQ(1u, nApplyToAll);
}

TEST_F(CutInkTest, ApplyToAllIsZeroWheneverParameter2104IsZeroAtOk) {
    AddInk(1, "K", {0});
    uint32_t nApplyToAll = kUntouched;
    Show(1, nullptr, &nApplyToAll, [](HWND hDlg) {
        ::CheckDlgButton(hDlg, IDC_CUT_INK_APPLY_ALL, BST_CHECKED);
        Click(hDlg, IDOK);
    });
    EXPECT_EQ(0u, nApplyToAll);

    // Offered when the dialog opened, withdrawn before OK.
    SimParameter& param = Printer().Parameter(kParamApplyToAllTask);
    param.m_nValue = 1;
    session.m_pMachine->m_log.Clear();
    nApplyToAll = kUntouched;
    Show(1, nullptr, &nApplyToAll, [&](HWND hDlg) {
        Click(hDlg, IDC_CUT_INK_APPLY_ALL);
        param.m_nValue = 0;
        Click(hDlg, IDOK);
    });
    EXPECT_EQ(0u, nApplyToAll);
    EXPECT_EQ(2u, session.m_pMachine->m_log.Filter({"Param(2104).GetIntValue"}).size());
}

TEST_F(CutInkTest, NullBlockShowsZerosAndOnlyOkWritesTheOutputWord) {
    AddInk(1, "K", {0});
    Printer().Parameter(kParamApplyToAllTask).m_nValue = 1;
    uint32_t nApplyToAll = kUntouched;
    Show(1, nullptr, &nApplyToAll, [](HWND hDlg) { Click(hDlg, IDCANCEL); });
    EXPECT_EQ(kUntouched, nApplyToAll);

    std::wstring strNumber;
    int nPos = 0;
    EXPECT_EQ(1, Show(1, nullptr, &nApplyToAll, [&](HWND hDlg) {
                  strNumber = TextOf(hDlg, kNumber);
                  nPos = SliderPos(hDlg, kSlider);
                  Click(hDlg, IDC_CUT_INK_APPLY_ALL);
                  Click(hDlg, IDOK);
              }));
    EXPECT_EQ(L"0", strNumber);
    EXPECT_EQ(1, nPos);
    EXPECT_EQ(1u, nApplyToAll);
    EXPECT_EQ(0, session->ShowCutInkSetting(nullptr, 1, nullptr, &nApplyToAll));
}

TEST(CutInk, OnlyTheTemplateControlsGetTheFontAndEveryLabelIsTranslated) {
    PluginSession session(L"Chs");
    SimPrinter& printer = session.m_pMachine->m_printer;
    printer.m_groupTable.Add(1, "Cancel", {0});
    printer.m_layout.m_idList.m_ids.push_back(1);
    printer.Parameter(kParamApplyToAllTask).m_nValue = 1;
    std::vector<LOGFONTW> fonts;
    std::vector<std::wstring> texts;
    HFONT hDialogFont = nullptr;
    Operator op;
    op.Then([&](HWND hDlg) {
        for (int nId : {IDOK, IDCANCEL, IDC_CUT_INK_APPLY_ALL, kLabel, kSlider, kNumber})
            fonts.push_back(FontOf(hDlg, nId));
        hDialogFont = reinterpret_cast<HFONT>(::SendDlgItemMessageW(hDlg, IDOK, WM_GETFONT, 0, 0));
        texts = {CaptionOf(hDlg), TextOf(hDlg, IDC_CUT_INK_APPLY_ALL), TextOf(hDlg, kLabel)};
        Click(hDlg, IDCANCEL);
    });
    op.Start();
    session->ShowCutInkSetting(&printer, 1, nullptr, nullptr);
    ASSERT_EQ(6u, fonts.size());
    for (size_t i = 0; i < fonts.size(); ++i) {
        bool bTemplateControl = i < 3;
        EXPECT_EQ(bTemplateControl, fonts[i].lfHeight == 20 && fonts[i].lfWeight == 100 &&
                                        std::wstring(fonts[i].lfFaceName) == L"Arial")
            << i;
    }
    EXPECT_EQ(0u, ::GetObjectType(hDialogFont));
    // Ink group names go through the language file like every label.
    EXPECT_EQ((std::vector<std::wstring>{L"切墨设置", L"应用到所有任务", L"取消"}), texts);
}

} // namespace
