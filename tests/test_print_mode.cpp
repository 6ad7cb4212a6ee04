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
        list->Add("Fast");
        list->Add("Hidden").m_bHidden = true;
        list->Add("Fine");
    }
    SimMachine& Machine() { return *session.m_pMachine; }
    int32_t Ask(SimTask* pTask, Operator::Step step) {
        return Drive({std::move(step)}, [&] { return session->ConfirmPrintMode(pTask); });
    }
    std::vector<std::string> TaskCalls() { return Machine().m_log.Filter({"Task.SetPrintMode"}); }

    PluginSession session;
    SimPrintModeList* list = nullptr;
    SimTask& task = Machine().AddTask("task", 7, 2);
};

TEST_F(PrintModeTest, OffersTheModesOfTheLayoutWithTheirHostIndexAndOkStoresTheChoiceInTheTask) {
    list->Add("ignored").m_bNullName = true;
    EXPECT_EQ(
        1, Ask(&task, [&](HWND hDlg) {
            EXPECT_EQ((std::vector<std::wstring>{L"Fast", L"Fine", L""}), ComboItems(hDlg, IDC_PRINT_MODE));
            EXPECT_EQ((std::vector<LPARAM>{0, 2, 3}), ComboItemData(hDlg, IDC_PRINT_MODE));
            EXPECT_EQ(1, ComboSelection(hDlg, IDC_PRINT_MODE));
            SelectComboItem(hDlg, IDC_PRINT_MODE, 2);
            Click(hDlg, IDOK);
        }));
    EXPECT_TRUE(::IsWindowEnabled(session.m_hHostWindow));
    EXPECT_EQ(3, task.m_nMode);
    EXPECT_EQ((std::vector<std::string>{"Task.SetPrintMode(3)"}), TaskCalls());
}

TEST_F(PrintModeTest, NoMoreHintsCountsOnlyTickedAtClosingAndThenEvenOnCancel) {
    auto tick = [](HWND hDlg) { Click(hDlg, IDC_PRINT_MODE_NO_MORE_HINTS); };
    EXPECT_EQ(0, Ask(&task, [&](HWND hDlg) {
                  tick(hDlg);
                  tick(hDlg);
                  PressKey(hDlg, VK_ESCAPE);
              }));
    EXPECT_EQ(0, Ask(&task, [&](HWND hDlg) {
                  EXPECT_FALSE(IsChecked(hDlg, IDC_PRINT_MODE_NO_MORE_HINTS));
                  tick(hDlg);
                  Click(hDlg, IDCANCEL);
              }));
    EXPECT_TRUE(TaskCalls().empty());
    Machine().m_log.Clear();
    EXPECT_EQ(1, WithoutDialog([&] { return session->ConfirmPrintMode(&task); }));
    EXPECT_TRUE(Machine().m_log.Filter({"ModeList."}).empty());
}

TEST_F(PrintModeTest, WithoutAQuestionOrWithoutWhatItNeedsItAnswersAtOnce) {
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
