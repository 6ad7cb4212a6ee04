// The print mode question through ConfirmPrintMode: what it offers, what it stores in the task, and the
// module-wide "No more hints".
#include "Plugin.h"
#include "res/resource.h"

namespace {

class PrintModeTest : public ::testing::Test {
protected:
    void SetUp() override {
        Machine().m_printer.Parameter(kParamPrintModeAsk).m_nValue = 1;
        Machine().m_printer.m_layout.m_nLayoutIndex = 3;
        list = &Machine().m_printer.m_modeTable.List(7);
    }
    SimMachine& Machine() { return *session.m_pMachine; }
    SimTask& Task(int32_t nMode) { return Machine().AddTask("task", 7, nMode); }
    std::vector<std::string> TaskCalls() { return Machine().m_log.Filter({"Task.SetPrintMode"}); }

    PluginSession session;
    SimPrintModeList* list = nullptr;
};

TEST_F(PrintModeTest, OffersTheModesOfTheLayoutWithTheirHostIndexAndOkStoresTheChoiceInTheTask) {
    list->Add("Fast");
    list->Add("Hidden").m_bHidden = true;
    list->Add("Fine");
    list->Add("Other layout").m_availability[3] = kPrintModeUnavailable;
    list->Add("Also fine").m_availability[0] = kPrintModeUnavailable; // another layout: still offered
    list->Add("ignored").m_bNullName = true;
    SimTask& task = Task(2);
    std::vector<std::wstring> items;
    std::vector<LPARAM> data;
    int nSelected = -1;
    bool bHostEnabled = true;
    HWND hOwner = nullptr;
    EXPECT_EQ(1, Drive({[&](HWND hDlg) {
                           items = ComboItems(hDlg, IDC_PRINT_MODE);
                           data = ComboItemData(hDlg, IDC_PRINT_MODE);
                           nSelected = ComboSelection(hDlg, IDC_PRINT_MODE);
                           bHostEnabled = ::IsWindowEnabled(session.m_hHostWindow) != FALSE;
                           hOwner = ::GetWindow(hDlg, GW_OWNER);
                           SelectComboItem(hDlg, IDC_PRINT_MODE, 2);
                           Click(hDlg, IDOK);
                       }},
                       [&] { return session->ConfirmPrintMode(&task); }));
    EXPECT_EQ((std::vector<std::wstring>{L"Fast", L"Fine", L"Also fine", L""}), items);
    EXPECT_EQ((std::vector<LPARAM>{0, 2, 4, 5}), data);
    EXPECT_EQ(1, nSelected);
    // Modal over the host's window, which is usable again afterwards.
    EXPECT_FALSE(bHostEnabled);
    EXPECT_EQ(session.m_hHostWindow, hOwner);
    EXPECT_TRUE(::IsWindowEnabled(session.m_hHostWindow));
    EXPECT_EQ(4, task.m_nMode);
    EXPECT_EQ((std::vector<std::string>{"Task.SetPrintMode(4)"}), TaskCalls());
}

TEST_F(PrintModeTest, NoMoreHintsCountsOnlyTickedAtClosingAndThenEvenOnCancel) {
    list->Add("A");
    list->Add("B");
    SimTask& task = Task(1);
    bool bUncheckedAgain = false;
    auto tick = [](HWND hDlg) { Click(hDlg, IDC_PRINT_MODE_NO_MORE_HINTS); };
    EXPECT_EQ(0, Drive({[&](HWND hDlg) {
                           tick(hDlg);
                           tick(hDlg);
                           PressKey(hDlg, VK_ESCAPE);
                       }},
                       [&] { return session->ConfirmPrintMode(&task); }));
    EXPECT_EQ(0, Drive({[&](HWND hDlg) {
                           bUncheckedAgain = !IsChecked(hDlg, IDC_PRINT_MODE_NO_MORE_HINTS);
                           tick(hDlg);
                           Click(hDlg, IDCANCEL);
                       }},
                       [&] { return session->ConfirmPrintMode(&task); }));
    EXPECT_TRUE(bUncheckedAgain);
    EXPECT_TRUE(TaskCalls().empty());
    Machine().m_log.Clear();
    EXPECT_EQ(1, WithoutDialog([&] { return session->ConfirmPrintMode(&task); }));
    EXPECT_TRUE(Machine().m_log.Filter({"ModeList."}).empty());
}

TEST_F(PrintModeTest, WithoutAQuestionOrWithoutWhatItNeedsItAnswersAtOnce) {
    list->Add("A");
    list->Add("B");
    SimTask& task = Task(0);
    SimTask& orphan = Machine().AddTask("no list", 99, 0);
    SimPrinter& printer = Machine().m_printer;
    const struct {
        const char* pszCase;
        std::function<void()> set;
        SimTask* pTask;
        int32_t nResult;
    } cases[] = {
        {"no task", [] {}, nullptr, 0},
        {"no printer", [&] { Machine().m_bHasPrinter = false; }, &task, 0},
        {"no mode table", [&] { printer.m_bHasModeTable = false; }, &task, 1},
        {"no list for the task", [] {}, &orphan, 1},
        {"question off", [&] { printer.Parameter(kParamPrintModeAsk).m_nValue = 0; }, &task, 1},
        {"no host", [&] { session->SetHostInterface(nullptr); }, &task, 0},
    };
    for (const auto& c : cases) {
        Machine().m_bHasPrinter = printer.m_bHasModeTable = true;
        printer.Parameter(kParamPrintModeAsk).m_nValue = 1;
        c.set();
        Machine().m_log.Clear();
        EXPECT_EQ(c.nResult, WithoutDialog([&] { return session->ConfirmPrintMode(c.pTask); })) << c.pszCase;
        EXPECT_TRUE(Machine().m_log.Filter({"ModeList.", "Task.Set"}).empty()) << c.pszCase;
    }
}

} // namespace
