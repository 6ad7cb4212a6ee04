// The confirmation before printing, through ConfirmPrint with selectors other than 1.
#include "Plugin.h"
#include "dialogs/print/PollTimers.h"
#include "res/resource.h"

namespace {

class PrintBeforeTest : public ::testing::Test {
protected:
    void SetUp() override { Machine().m_printer.Parameter(kParamPrintConfirm).m_nValue = 1; }
    SimMachine& Machine() { return *session.m_pMachine; }
    int32_t Confirm(std::vector<Operator::Step> steps, int32_t nSelector = 0) {
        return Drive(std::move(steps), [&] { return session->ConfirmPrint(nSelector); });
    }
    PluginSession session;
};

TEST_F(PrintBeforeTest, EachWayOutEndsWithItsChoiceAndEnterStartsPrintingWhereverTheFocusIs) {
    const struct {
        int nFocus;
        std::function<void(HWND)> act;
        int32_t nResult;
    } cases[] = {
        {0, [](HWND h) { Click(h, IDC_START_PRINTING); }, 1},
        {0, [](HWND h) { Click(h, IDC_Z_AXIS_DEBUGGING); }, 0},
        {0, [](HWND h) { Click(h, IDC_CANCEL_PRINT); }, 2},
        {0, [](HWND h) { PressKey(h, VK_ESCAPE); }, 2},
        {0, &CloseBox, 2},
        {IDC_CANCEL_PRINT, [](HWND h) { PressKey(h, VK_RETURN); }, 1},
        {IDC_Z_AXIS_DEBUGGING, [](HWND h) { PressKey(h, VK_RETURN); }, 1},
        {IDC_BEFORE_PRINT_NO_MORE_HINTS, [](HWND h) { PressKey(h, VK_RETURN); }, 1},
    };
    for (const auto& c : cases) {
        std::wstring strCaption;
        EXPECT_EQ(c.nResult, Confirm({[&](HWND hDlg) {
                                         strCaption = CaptionOf(hDlg);
                                         if (c.nFocus)
                                             SetFocusTo(hDlg, c.nFocus);
                                         c.act(hDlg);
                                     }},
                                     0x00020000))
            << c.nFocus;
        EXPECT_EQ(L"Confirm before printing", strCaption);
    }
}

TEST_F(PrintBeforeTest, TheZLineFollowsTheHostOnTheDialogsOwnTimer) {
    Machine().m_dZPosition = 33.25;
    Operator op; // no timer message is sent: only the timer the dialog armed brings the position in
    op.WaitUntil(
        [](HWND hDlg) { return TextOf(hDlg, IDC_BEFORE_PRINT_Z_POSITION) == L"Z position: 33.25 mm  "; });
    op.Then([](HWND hDlg) { Click(hDlg, IDC_CANCEL_PRINT); });
    op.Start();
    EXPECT_EQ(2, session->ConfirmPrint(0));
    EXPECT_TRUE(op.AllStepsDone() && !op.m_bTimedOut);
}

TEST_F(PrintBeforeTest, NoMoreHintsCountsOnlyTickedAtClosingAndThenEndsBothConfirmations) {
    auto tick = [](HWND hDlg) { Click(hDlg, IDC_BEFORE_PRINT_NO_MORE_HINTS); };
    bool bUncheckedAgain = false;
    EXPECT_EQ(2, Confirm({[&](HWND hDlg) {
                  tick(hDlg);
                  tick(hDlg);
                  CloseBox(hDlg);
              }}));
    EXPECT_EQ(2, Confirm({[&](HWND hDlg) {
                  bUncheckedAgain = !IsChecked(hDlg, IDC_BEFORE_PRINT_NO_MORE_HINTS);
                  tick(hDlg);
                  Click(hDlg, IDC_CANCEL_PRINT);
              }}));
    EXPECT_TRUE(bUncheckedAgain);
    // Both confirmations stay off, before the host is even asked; also without a host object.
    Machine().m_log.Clear();
    EXPECT_EQ(1, WithoutDialog([&] { return session->ConfirmPrint(0); }));
    EXPECT_EQ(1, WithoutDialog([&] { return session->ConfirmPrint(1); }));
    session->SetHostInterface(nullptr);
    EXPECT_EQ(1, WithoutDialog([&] { return session->ConfirmPrint(2); }));
    EXPECT_TRUE(Machine().m_log.m_calls.empty());
}

} // namespace
