// The ink supply timeout question, driven through ShowSupplyInkTimeout as the host calls it.
#include <gtest/gtest.h>

#include "Plugin.h"
#include "ScriptedOperator.h"
#include "res/resource.h"

namespace {

// Opens the question through the interface, lets the operator act on it, and checks it was closed.
int32_t Answer(CPivoraProcVirtual* pInterface, Operator::Step step) {
    Operator op;
    op.Then(std::move(step));
    op.Start();
    int32_t nResult = pInterface->ShowSupplyInkTimeout();
    EXPECT_FALSE(op.m_bTimedOut);
    return nResult;
}

// Counts the dialog windows made on this thread while it lives.
struct DialogCreations {
    DialogCreations() {
        s_pCurrent = this;
        m_hHook = ::SetWindowsHookExW(WH_CBT, &Hook, nullptr, ::GetCurrentThreadId());
    }
    ~DialogCreations() {
        ::UnhookWindowsHookEx(m_hHook);
        s_pCurrent = nullptr;
    }
    static LRESULT CALLBACK Hook(int nCode, WPARAM wParam, LPARAM lParam) {
        if (nCode == HCBT_CREATEWND && s_pCurrent) {
            auto* pCreate = reinterpret_cast<CBT_CREATEWNDW*>(lParam);
            if (pCreate->lpcs->lpszClass == MAKEINTATOM(32770) ||
                (!IS_INTRESOURCE(pCreate->lpcs->lpszClass) &&
                 std::wstring(pCreate->lpcs->lpszClass) == L"#32770"))
                ++s_pCurrent->m_nDialogs;
            (void)wParam;
        }
        return ::CallNextHookEx(nullptr, nCode, wParam, lParam);
    }
    int m_nDialogs = 0;
    HHOOK m_hHook = nullptr;
    static inline DialogCreations* s_pCurrent = nullptr;
};

TEST(SupplyInkTimeout, ResetCallsTheHostOnceWhileTheDialogIsUpAndOtherWaysOutCallNothing) {
    PluginSession session;
    SimMachine& machine = *session.m_pMachine;
    machine.m_inkSupply.m_bTimedOut = true;
    size_t nCallsWhenOpen = 99;
    bool bOpenDuringReset = false;
    HWND hShown = nullptr;
    machine.m_onAction = [&](const std::string&) { bOpenDuringReset = ::IsWindowVisible(hShown) != FALSE; };
    EXPECT_EQ(1, Answer(session.m_pInterface.get(), [&](HWND hDlg) {
                  hShown = hDlg;
                  nCallsWhenOpen = machine.m_log.m_calls.size();
                  Click(hDlg, IDC_SUPPLY_INK_RESET);
              }));
    EXPECT_EQ(0u, nCallsWhenOpen);
    EXPECT_TRUE(bOpenDuringReset);
    EXPECT_EQ((std::vector<std::string>{"Root.ResetInkSupplyTimeout"}), machine.m_log.m_calls);
    EXPECT_FALSE(machine.m_inkSupply.m_bTimedOut);

    machine.m_log.Clear();
    EXPECT_EQ(1, Answer(session.m_pInterface.get(), [](HWND hDlg) { Click(hDlg, IDC_SUPPLY_INK_CANCEL); }));
    EXPECT_EQ(1, Answer(session.m_pInterface.get(), [](HWND hDlg) { PressKey(hDlg, VK_ESCAPE); }));
    EXPECT_EQ(1, Answer(session.m_pInterface.get(), [](HWND hDlg) { CloseBox(hDlg); }));
    EXPECT_TRUE(machine.m_log.m_calls.empty());
}

TEST(SupplyInkTimeout, CallsWhileTheDialogIsOpenReturnAtOnceAndLaterCallsAskAgain) {
    PluginSession session;
    InterfacePtr pOther = session.NewInterface();
    int32_t nNested = 0, nNestedOther = 0, nFromHost = 0;
    DialogCreations created;
    // The host's own timeout handling calls again while the operator's Reset is being served.
    session.m_pMachine->m_onAction = [&](const std::string&) { nFromHost = session->ShowSupplyInkTimeout(); };
    Answer(session.m_pInterface.get(), [&](HWND hDlg) {
        nNested = session->ShowSupplyInkTimeout();
        nNestedOther = pOther->ShowSupplyInkTimeout();
        Click(hDlg, IDC_SUPPLY_INK_RESET);
    });
    EXPECT_EQ(1, nNested);
    EXPECT_EQ(1, nNestedOther);
    EXPECT_EQ(1, nFromHost);
    EXPECT_EQ(1u, session.m_pMachine->m_log.Filter({"Root.ResetInkSupplyTimeout"}).size());
    EXPECT_EQ(1, created.m_nDialogs); // the nested calls opened nothing

    session.m_pMachine->m_onAction = nullptr;
    bool bAskedAgain = false;
    Answer(pOther.get(), [&](HWND hDlg) {
        bAskedAgain = true;
        Click(hDlg, IDC_SUPPLY_INK_CANCEL);
    });
    EXPECT_TRUE(bAskedAgain);
}

TEST(SupplyInkTimeout, TextsAreTranslatedAndEveryControlShowsArial30Weight100) {
    PluginSession session(L"Chs");
    std::vector<std::wstring> texts;
    std::vector<LOGFONTW> fonts;
    HFONT hFont = nullptr;
    Answer(session.m_pInterface.get(), [&](HWND hDlg) {
        texts = {CaptionOf(hDlg), TextOf(hDlg, IDC_STATIC), TextOf(hDlg, IDC_SUPPLY_INK_RESET),
                 TextOf(hDlg, IDC_SUPPLY_INK_CANCEL)};
        for (HWND hChild = ::GetWindow(hDlg, GW_CHILD); hChild; hChild = ::GetWindow(hChild, GW_HWNDNEXT)) {
            hFont = reinterpret_cast<HFONT>(::SendMessageW(hChild, WM_GETFONT, 0, 0));
            fonts.emplace_back();
            ::GetObjectW(hFont, sizeof(LOGFONTW), &fonts.back());
        }
        Click(hDlg, IDC_SUPPLY_INK_CANCEL);
    });
    EXPECT_EQ((std::vector<std::wstring>{L"供墨超时提示", L"供墨已超时，是否需要重置？", L"重置", L"取消"}),
              texts);
    ASSERT_EQ(3u, fonts.size());
    for (const LOGFONTW& lf : fonts) {
        EXPECT_EQ(30, lf.lfHeight);
        EXPECT_EQ(100, lf.lfWeight);
        EXPECT_STREQ(L"Arial", lf.lfFaceName);
    }
    // The dialog's font went with the dialog.
    EXPECT_EQ(0u, ::GetObjectType(hFont));
}

TEST(SupplyInkTimeout, ResetWithoutAHostObjectStillCloses) {
    PluginSession session;
    session->SetHostInterface(nullptr);
    EXPECT_EQ(1, Answer(session.m_pInterface.get(), [](HWND hDlg) { Click(hDlg, IDC_SUPPLY_INK_RESET); }));
}

} // namespace
