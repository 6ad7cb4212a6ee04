// The confirmation before printing, through ConfirmPrint with selectors other than 1.
#include "Plugin.h"
#include "res/resource.h"

namespace {

TEST(PrintBefore, EachWayOutEndsWithItsChoiceAndEnterStartsPrintingWhereverTheFocusIs) {
    PluginSession session;
    session.m_pMachine->m_printer.Parameter(kParamPrintConfirm).m_nValue = 1;
    const struct {
        int nFocus;
        Operator::Step act;
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
    for (const auto& c : cases)
        EXPECT_EQ(c.nResult, Drive({[&](HWND hDlg) {
                                       if (c.nFocus)
                                           SetFocusTo(hDlg, c.nFocus);
                                       c.act(hDlg);
                                   }},
                                   [&] { return session->ConfirmPrint(0x00020000); }))
            << c.nFocus;
}

TEST(PrintBefore, TheZLineFollowsTheHostOnItsOwnTimerAndNoMoreHintsEndsBothConfirmations) {
    PluginSession session;
    SimMachine& machine = *session.m_pMachine;
    machine.m_printer.Parameter(kParamPrintConfirm).m_nValue = 1;
    machine.m_dZPosition = 33.25;
    auto tick = [](HWND hDlg) { Click(hDlg, IDC_BEFORE_PRINT_NO_MORE_HINTS); };
    Operator op; // no timer message is sent: only the timer the dialog armed brings the position in
    op.WaitUntil(
        [](HWND hDlg) { return TextOf(hDlg, IDC_BEFORE_PRINT_Z_POSITION) == L"Z position: 33.25 mm  "; });
    op.Then([&](HWND hDlg) {
        tick(hDlg);
        tick(hDlg); // ticked and unticked again: it counts only as it is at closing
        CloseBox(hDlg);
    });
    op.Start();
    EXPECT_EQ(2, session->ConfirmPrint(0));
    EXPECT_TRUE(op.AllStepsDone() && !op.m_bTimedOut);
    EXPECT_EQ(2, Drive({[&](HWND hDlg) {
                           EXPECT_FALSE(IsChecked(hDlg, IDC_BEFORE_PRINT_NO_MORE_HINTS));
                           tick(hDlg);
                           Click(hDlg, IDC_CANCEL_PRINT);
                       }},
                       [&] { return session->ConfirmPrint(0); }));
    // Both confirmations stay off, before the host is even asked; also without a host object.
    machine.m_log.Clear();
    EXPECT_EQ(1, WithoutDialog([&] { return session->ConfirmPrint(0); }));
    EXPECT_EQ(1, WithoutDialog([&] { return session->ConfirmPrint(1); }));
    session->SetHostInterface(nullptr);
    EXPECT_EQ(1, WithoutDialog([&] { return session->ConfirmPrint(2); }));
    EXPECT_TRUE(machine.m_log.m_calls.empty());
}

} // namespace
