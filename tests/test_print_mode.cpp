// The print mode question, driven through ConfirmPrintMode as the host calls it.
#include <gtest/gtest.h>

#include "Plugin.h"
#include "ScriptedOperator.h"
#include "res/resource.h"

namespace {

class PrintModeTest : public ::testing::Test {
protected:
    void SetUp() override {
        SimPrinter& printer = session.m_pMachine->m_printer;
        printer.Parameter(kParamPrintModeAsk).m_nValue = 1;
        printer.m_layout.m_nLayoutIndex = 3;
        list = &printer.m_modeTable.List(7);
    }
    SimTask& Task(int32_t nMode) { return session.m_pMachine->AddTask("task", 7, nMode); }
    // Two offered modes, the task on the second: the smallest list that opens the dialog.
    SimTask& TwoModeTask() {
        list->Add("A");
        list->Add("B");
        return Task(1);
    }
    std::vector<std::string> TaskCalls() { return session.m_pMachine->m_log.Filter({"Task.SetPrintMode"}); }

    PluginSession session;
    SimPrintModeList* list = nullptr;
};

TEST_F(PrintModeTest, HiddenAndUnavailableModesLeaveGapsAndTheCurrentModeIsSelected) {
    list->Add("Fast");
    list->Add("Hidden").m_bHidden = true;
    list->Add("Fine");
    list->Add("Other layout").m_availability[3] = kPrintModeUnavailable;
    list->Add("Also fine").m_availability[0] = kPrintModeUnavailable; // another layout: still offered
    SimTask& task = Task(2);

    std::vector<std::wstring> items;
    std::vector<LPARAM> data;
    int nSelected = -1;
    bool bHasCloseBox = true;
    Operator op;
    op.Then([&](HWND hDlg) {
        items = ComboItems(hDlg, IDC_PRINT_MODE);
        data = ComboItemData(hDlg, IDC_PRINT_MODE);
        nSelected = ComboSelection(hDlg, IDC_PRINT_MODE);
        bHasCloseBox = (StyleOf(hDlg) & WS_SYSMENU) != 0;
        SelectComboItem(hDlg, IDC_PRINT_MODE, 2);
        Click(hDlg, IDOK);
    });
    op.Start();
    EXPECT_EQ(1, session->ConfirmPrintMode(&task));

    EXPECT_EQ((std::vector<std::wstring>{L"Fast", L"Fine", L"Also fine"}), items);
    EXPECT_EQ((std::vector<LPARAM>{0, 2, 4}), data);
    EXPECT_EQ(1, nSelected);
    EXPECT_FALSE(bHasCloseBox);
    EXPECT_EQ(4, task.m_nMode);
    EXPECT_EQ((std::vector<std::string>{"Task.SetPrintMode(4)"}), TaskCalls());
}

TEST_F(PrintModeTest, CurrentModeNotOfferedSelectsTheFirstItemAndOkStoresIt) {
    list->Add("Hidden").m_bHidden = true;
    list->Add("A");
    list->Add("B");
    SimTask& task = Task(0);
    int nSelected = -1;
    Operator op;
    op.Then([&](HWND hDlg) {
        nSelected = ComboSelection(hDlg, IDC_PRINT_MODE);
        PressKey(hDlg, VK_RETURN);
    });
    op.Start();
    EXPECT_EQ(1, session->ConfirmPrintMode(&task));
    EXPECT_EQ(0, nSelected);
    EXPECT_EQ(1, task.m_nMode);
}

TEST_F(PrintModeTest, NoMoreHintsTakesEffectAtOnceEvenWhenCancelled) {
    SimTask& task = TwoModeTask();
    Operator op;
    op.Then([&](HWND hDlg) {
        Click(hDlg, IDC_PRINT_MODE_NO_MORE_HINTS);
        Click(hDlg, IDCANCEL);
    });
    op.Start();
    EXPECT_EQ(0, session->ConfirmPrintMode(&task));
    EXPECT_TRUE(TaskCalls().empty());

    // Every later call goes on without a dialog: no operator is there to answer one.
    session.m_pMachine->m_log.Clear();
    EXPECT_EQ(1, session->ConfirmPrintMode(&task));
    EXPECT_TRUE(session.m_pMachine->m_log.Filter({"ModeList."}).empty());
}

TEST_F(PrintModeTest, TickingAndClearingNoMoreHintsBeforeClosingTakesItBack) {
    SimTask& task = TwoModeTask();
    Operator op;
    op.Then([&](HWND hDlg) {
        Click(hDlg, IDC_PRINT_MODE_NO_MORE_HINTS);
        Click(hDlg, IDC_PRINT_MODE_NO_MORE_HINTS);
        PressKey(hDlg, VK_ESCAPE);
    });
    op.Start();
    EXPECT_EQ(0, session->ConfirmPrintMode(&task));

    bool bAskedAgain = false;
    Operator again;
    again.Then([&](HWND hDlg) {
        bAskedAgain = !IsChecked(hDlg, IDC_PRINT_MODE_NO_MORE_HINTS);
        Click(hDlg, IDOK);
    });
    again.Start();
    EXPECT_EQ(1, session->ConfirmPrintMode(&task));
    EXPECT_TRUE(bAskedAgain);
}

TEST_F(PrintModeTest, FewerThanTwoOfferedModesOrNoQuestionAskedReturnsOneWithoutDialog) {
    list->Add("Only");
    list->Add("Hidden").m_bHidden = true;
    list->Add("Unavailable").m_availability[3] = kPrintModeUnavailable;
    list->AddGap();
    SimTask& task = Task(0);
    EXPECT_EQ(1, session->ConfirmPrintMode(&task));

    list->Add("Second");
    session.m_pMachine->m_printer.Parameter(kParamPrintModeAsk).m_nValue = 0;
    session.m_pMachine->m_log.Clear();
    EXPECT_EQ(1, session->ConfirmPrintMode(&task));
    EXPECT_TRUE(session.m_pMachine->m_log.Filter({"Printer.GetPrintModeTable", "ModeList."}).empty());
}

TEST_F(PrintModeTest, MissingHostTaskPrinterTableOrListReturnsZeroOrOneWithoutDialog) {
    list->Add("A");
    list->Add("B");
    SimTask& task = Task(0);
    EXPECT_EQ(0, session->ConfirmPrintMode(nullptr));

    session.m_pMachine->m_bHasPrinter = false;
    EXPECT_EQ(0, session->ConfirmPrintMode(&task));
    session.m_pMachine->m_bHasPrinter = true;

    session.m_pMachine->m_printer.m_bHasModeTable = false;
    EXPECT_EQ(1, session->ConfirmPrintMode(&task));
    session.m_pMachine->m_printer.m_bHasModeTable = true;

    SimTask& orphan = session.m_pMachine->AddTask("no list", 99, 0);
    EXPECT_EQ(1, session->ConfirmPrintMode(&orphan));

    session->SetHostInterface(nullptr);
    EXPECT_EQ(0, session->ConfirmPrintMode(&task));
}

TEST_F(PrintModeTest, LongAndMissingNamesAreShownSafely) {
    std::string strLong(200, 'x');
    strLong[62] = 'E';
    list->Add(strLong);
    list->Add("ignored").m_bNullName = true;
    SimTask& task = Task(0);
    std::vector<std::wstring> items;
    Operator op;
    op.Then([&](HWND hDlg) {
        items = ComboItems(hDlg, IDC_PRINT_MODE);
        Click(hDlg, IDCANCEL);
    });
    op.Start();
    EXPECT_EQ(0, session->ConfirmPrintMode(&task));
    ASSERT_EQ(2u, items.size());
    EXPECT_EQ(63u, items[0].size());
    EXPECT_EQ(L'E', items[0].back());
    EXPECT_EQ(L"", items[1]);
}

TEST_F(PrintModeTest, TheHostWindowIsDisabledWhileTheDialogRunsAndEnabledAfter) {
    list->Add("A");
    list->Add("B");
    SimTask& task = Task(0);
    bool bHostEnabledDuring = true;
    HWND hOwner = nullptr;
    Operator op;
    op.Then([&](HWND hDlg) {
        bHostEnabledDuring = ::IsWindowEnabled(session.m_hHostWindow) != FALSE;
        hOwner = ::GetWindow(hDlg, GW_OWNER);
        Click(hDlg, IDCANCEL);
    });
    op.Start();
    session->ConfirmPrintMode(&task);
    EXPECT_FALSE(bHostEnabledDuring);
    EXPECT_EQ(session.m_hHostWindow, hOwner);
    EXPECT_TRUE(::IsWindowEnabled(session.m_hHostWindow));
}

} // namespace
