// The confirmation before printing, driven through ConfirmPrint with selectors other than 1.
#include <gtest/gtest.h>

#include <functional>

#include "Plugin.h"
#include "ScriptedOperator.h"
#include "dialogs/print/PollTimers.h"
#include "res/resource.h"

namespace {

class PrintBeforeTest : public ::testing::Test {
protected:
    void SetUp() override { session.m_pMachine->m_printer.Parameter(kParamPrintConfirm).m_nValue = 1; }

    // Runs ConfirmPrint and reports whether a dialog came up (it is closed at once if one does).
    int32_t ConfirmPrintExpectingNoDialog(int32_t nSelector, bool* pbDialogShown) {
        Operator guard;
        guard.Then([&](HWND hDlg) {
            *pbDialogShown = true;
            CloseBox(hDlg);
        });
        guard.Start();
        return session->ConfirmPrint(nSelector);
    }

    PluginSession session;
};

TEST_F(PrintBeforeTest, EachWayOutEndsWithItsChoice) {
    const struct {
        std::function<void(HWND)> act;
        int32_t nExpected;
    } cases[] = {
        {[](HWND hDlg) { Click(hDlg, IDC_START_PRINTING); }, 1},
        {[](HWND hDlg) { Click(hDlg, IDC_Z_AXIS_DEBUGGING); }, 0},
        {[](HWND hDlg) { Click(hDlg, IDC_CANCEL_PRINT); }, 2},
        {[](HWND hDlg) { PressKey(hDlg, VK_ESCAPE); }, 2},
        {[](HWND hDlg) { CloseBox(hDlg); }, 2},
    };
    for (const auto& c : cases) {
        std::wstring strCaption;
        Operator op;
        op.Then([&](HWND hDlg) {
            strCaption = CaptionOf(hDlg);
            c.act(hDlg);
        });
        op.Start();
        EXPECT_EQ(c.nExpected, session->ConfirmPrint(0x00020000));
        EXPECT_EQ(L"Confirm before printing", strCaption);
    }
}

TEST_F(PrintBeforeTest, EnterStartsPrintingWhicheverButtonHasTheFocus) {
    for (int nFocus : {IDC_CANCEL_PRINT, IDC_Z_AXIS_DEBUGGING, IDC_BEFORE_PRINT_NO_MORE_HINTS}) {
        Operator op;
        op.Then([&](HWND hDlg) {
            SetFocusTo(hDlg, nFocus);
            PressKey(hDlg, VK_RETURN);
        });
        op.Start();
        EXPECT_EQ(1, session->ConfirmPrint(0)) << nFocus;
        EXPECT_FALSE(op.m_bTimedOut);
    }
}

TEST_F(PrintBeforeTest, ZLineStartsAtZeroAndFollowsMovesOfFiveMicrometresOrMore) {
    SimMachine& machine = *session.m_pMachine;
    machine.m_dZPosition = 12.3456;
    std::vector<std::wstring> lines;
    Operator op;
    op.Then([&](HWND hDlg) {
        lines.push_back(TextOf(hDlg, IDC_BEFORE_PRINT_Z_POSITION));
        SendTimer(hDlg, kZRefreshTimer);
        lines.push_back(TextOf(hDlg, IDC_BEFORE_PRINT_Z_POSITION));
        machine.m_dZPosition = 12.3416; // 0.004 mm down: would read 12.34, but stays
        SendTimer(hDlg, kZRefreshTimer);
        lines.push_back(TextOf(hDlg, IDC_BEFORE_PRINT_Z_POSITION));
        machine.m_dZPosition = 12.3396; // 0.006 mm below the position shown
        SendTimer(hDlg, kZRefreshTimer);
        lines.push_back(TextOf(hDlg, IDC_BEFORE_PRINT_Z_POSITION));
        Click(hDlg, IDC_CANCEL_PRINT);
    });
    op.Start();
    EXPECT_EQ(2, session->ConfirmPrint(0));
    EXPECT_EQ((std::vector<std::wstring>{L"Z position: 0 mm", L"Z position: 12.35 mm  ",
                                         L"Z position: 12.35 mm  ", L"Z position: 12.34 mm  "}),
              lines);
    EXPECT_EQ(3u, machine.m_log.Filter({"Root.GetZPosition"}).size());
}

TEST_F(PrintBeforeTest, ZLineUsesTheTranslatedKey) {
    session.SetLanguage(L"Chs");
    session.m_pMachine->m_dZPosition = 3.5;
    std::wstring strStart, strMoved, strButton;
    Operator op;
    op.Then([&](HWND hDlg) {
        strStart = TextOf(hDlg, IDC_BEFORE_PRINT_Z_POSITION);
        strButton = TextOf(hDlg, IDC_START_PRINTING);
        SendTimer(hDlg, kZRefreshTimer);
        strMoved = TextOf(hDlg, IDC_BEFORE_PRINT_Z_POSITION);
        PressKey(hDlg, VK_ESCAPE);
    });
    op.Start();
    EXPECT_EQ(2, session->ConfirmPrint(0));
    EXPECT_EQ(L"Z轴位置： 0 mm", strStart);
    EXPECT_EQ(L"Z轴位置： 3.50 mm  ", strMoved);
    EXPECT_EQ(L"开始打印", strButton);
}

TEST_F(PrintBeforeTest, NoMoreHintsThenZAxisDebuggingReturnsZeroNowAndOneLaterWithoutDialog) {
    {
        Operator op;
        op.Then([](HWND hDlg) {
            Click(hDlg, IDC_BEFORE_PRINT_NO_MORE_HINTS);
            Click(hDlg, IDC_Z_AXIS_DEBUGGING);
        });
        op.Start();
        EXPECT_EQ(0, session->ConfirmPrint(0));
    }

    // Both confirmations stay off, before the host is even asked; also without a host object.
    session.m_pMachine->m_log.Clear();
    bool bDialogShown = false;
    EXPECT_EQ(1, ConfirmPrintExpectingNoDialog(0, &bDialogShown));
    EXPECT_EQ(1, ConfirmPrintExpectingNoDialog(1, &bDialogShown));
    session->SetHostInterface(nullptr);
    EXPECT_EQ(1, ConfirmPrintExpectingNoDialog(2, &bDialogShown));
    EXPECT_FALSE(bDialogShown);
    EXPECT_TRUE(session.m_pMachine->m_log.m_calls.empty());
}

TEST_F(PrintBeforeTest, NoMoreHintsTakesEffectAtOnceEvenWhenCancelled) {
    {
        Operator op;
        op.Then([](HWND hDlg) {
            Click(hDlg, IDC_BEFORE_PRINT_NO_MORE_HINTS);
            Click(hDlg, IDC_CANCEL_PRINT);
        });
        op.Start();
        EXPECT_EQ(2, session->ConfirmPrint(0));
    }
    bool bDialogShown = false;
    EXPECT_EQ(1, ConfirmPrintExpectingNoDialog(0, &bDialogShown));
    EXPECT_FALSE(bDialogShown);
}

TEST_F(PrintBeforeTest, ClearingNoMoreHintsBeforeClosingKeepsTheConfirmation) {
    Operator op;
    op.Then([](HWND hDlg) {
        Click(hDlg, IDC_BEFORE_PRINT_NO_MORE_HINTS);
        Click(hDlg, IDC_BEFORE_PRINT_NO_MORE_HINTS);
        CloseBox(hDlg);
    });
    op.Start();
    EXPECT_EQ(2, session->ConfirmPrint(0));

    bool bAskedAgain = false;
    Operator again;
    again.Then([&](HWND hDlg) {
        bAskedAgain = !IsChecked(hDlg, IDC_BEFORE_PRINT_NO_MORE_HINTS);
        Click(hDlg, IDC_START_PRINTING);
    });
    again.Start();
    EXPECT_EQ(1, session->ConfirmPrint(0));
    EXPECT_TRUE(bAskedAgain);
}

} // namespace

namespace {

TEST_F(PrintBeforeTest, TheZLineFollowsTheHostOnTheDialogsOwnTimer) {
    session.m_pMachine->m_dZPosition = 33.25;
    Operator op;
    // No timer message is sent here: only the timer the dialog armed can bring the new position in.
    op.WaitUntil(
        [](HWND hDlg) { return TextOf(hDlg, IDC_BEFORE_PRINT_Z_POSITION) == L"Z position: 33.25 mm  "; });
    op.Then([](HWND hDlg) { Click(hDlg, IDC_CANCEL_PRINT); });
    op.Start();
    EXPECT_EQ(2, session->ConfirmPrint(0));
    EXPECT_FALSE(op.m_bTimedOut);
    EXPECT_TRUE(op.AllStepsDone());
}

} // namespace
