// The ink supply timeout question through ShowSupplyInkTimeout.
#include "Plugin.h"
#include "res/resource.h"

namespace {

TEST(SupplyInkTimeout, OnlyResetCallsTheHostWhileUpAndCallsMadeMeanwhileReturnAtOnce) {
    PluginSession session;
    SimMachine& machine = *session.m_pMachine;
    InterfacePtr pOther = session.NewInterface();
    machine.m_inkSupply.m_bTimedOut = true;
    HWND hShown = nullptr;
    int32_t nNested = 0;
    // The host's own timeout handling calls again while Reset is served. A nested call that opened a
    // dialog would not return: no step is left to close it.
    machine.m_onAction = [&](const std::string&) {
        EXPECT_TRUE(::IsWindowVisible(hShown));
        nNested += session->ShowSupplyInkTimeout();
    };
    const Operator::Step ways[] = {[](HWND h) { Click(h, IDC_SUPPLY_INK_RESET); },
                                   [](HWND h) { Click(h, IDC_SUPPLY_INK_CANCEL); },
                                   [](HWND h) { PressKey(h, VK_ESCAPE); }, &CloseBox};
    for (const auto& way : ways) {
        const size_t nBefore = machine.m_log.m_calls.size();
        EXPECT_EQ(1, Drive({[&](HWND hDlg) {
                               EXPECT_EQ(nBefore, machine.m_log.m_calls.size()); // opening asks nothing
                               hShown = hDlg;
                               nNested += session->ShowSupplyInkTimeout() + pOther->ShowSupplyInkTimeout();
                               way(hDlg);
                           }},
                           [&] { return session->ShowSupplyInkTimeout(); }));
    }
    EXPECT_EQ(2 * 4 + 1, nNested);
    EXPECT_FALSE(machine.m_inkSupply.m_bTimedOut);
    // Reset without a host still closes, on the other object too: its later call asks again.
    session->SetHostInterface(nullptr);
    EXPECT_EQ(1, Drive({[](HWND h) { Click(h, IDC_SUPPLY_INK_RESET); }},
                       [&] { return pOther->ShowSupplyInkTimeout(); }));
    EXPECT_EQ((std::vector<std::string>{"Root.ResetInkSupplyTimeout"}), machine.m_log.m_calls);
}

} // namespace
