// The ink supply timeout question through ShowSupplyInkTimeout.
#include "Plugin.h"
#include "res/resource.h"

namespace {

TEST(SupplyInkTimeout, ResetCallsTheHostOnceWhileTheDialogIsUpAndTheOtherWaysOutCallNothing) {
    PluginSession session;
    SimMachine& machine = *session.m_pMachine;
    machine.m_inkSupply.m_bTimedOut = true;
    HWND hShown = nullptr;
    bool bOpenDuringReset = false;
    machine.m_onAction = [&](const std::string&) { bOpenDuringReset = ::IsWindowVisible(hShown) != FALSE; };
    const std::function<void(HWND)> ways[] = {[](HWND h) { Click(h, IDC_SUPPLY_INK_RESET); },
                                              [](HWND h) { Click(h, IDC_SUPPLY_INK_CANCEL); },
                                              [](HWND h) { PressKey(h, VK_ESCAPE); }, &CloseBox};
    for (const auto& way : ways) {
        const size_t nBefore = machine.m_log.m_calls.size();
        EXPECT_EQ(1, Drive({[&](HWND hDlg) {
                               EXPECT_EQ(nBefore, machine.m_log.m_calls.size()); // opening asks nothing
                               hShown = hDlg;
                               way(hDlg);
                           }},
                           [&] { return session->ShowSupplyInkTimeout(); }));
    }
    EXPECT_TRUE(bOpenDuringReset);
    EXPECT_EQ((std::vector<std::string>{"Root.ResetInkSupplyTimeout"}), machine.m_log.m_calls);
    EXPECT_FALSE(machine.m_inkSupply.m_bTimedOut);
    session->SetHostInterface(nullptr); // Reset without a host still closes
    EXPECT_EQ(1, Drive({[](HWND h) { Click(h, IDC_SUPPLY_INK_RESET); }},
                       [&] { return session->ShowSupplyInkTimeout(); }));
}

TEST(SupplyInkTimeout, CallsWhileTheDialogIsOpenReturnAtOnceAndLaterCallsAskAgain) {
    PluginSession session;
    InterfacePtr pOther = session.NewInterface();
    int32_t nNested = 0, nNestedOther = 0, nFromHost = 0;
    // The host's own timeout handling calls again while the operator's Reset is served. A nested call
    // that opened a dialog would not return: no step is left to close it.
    session.m_pMachine->m_onAction = [&](const std::string&) { nFromHost = session->ShowSupplyInkTimeout(); };
    Drive({[&](HWND hDlg) {
              nNested = session->ShowSupplyInkTimeout();
              nNestedOther = pOther->ShowSupplyInkTimeout();
              Click(hDlg, IDC_SUPPLY_INK_RESET);
          }},
          [&] { return session->ShowSupplyInkTimeout(); });
    EXPECT_EQ(3, nNested + nNestedOther + nFromHost);
    EXPECT_EQ(1u, session.m_pMachine->m_log.Filter({"Root.ResetInkSupplyTimeout"}).size());
    session.m_pMachine->m_onAction = nullptr;
    bool bAskedAgain = false;
    Drive({[&](HWND hDlg) {
              bAskedAgain = true;
              Click(hDlg, IDC_SUPPLY_INK_CANCEL);
          }},
          [&] { return pOther->ShowSupplyInkTimeout(); });
    EXPECT_TRUE(bAskedAgain);
}

} // namespace
