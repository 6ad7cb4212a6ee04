// Every dialog by keyboard alone: keys posted to the focused window go through the dialog's own loop, as
// an operator's keys do; no mouse message is sent.

#include <thread>

#include "Plugin.h"
#include "WindowCapture.h"
#include "dialogs/print/PollTimers.h"
#include "res/resource.h"

namespace {

// A keyboard script: keys, Tabs to a control and checks, each a step of its own so that it acts on whatever
// has the focus by then.
struct Act {
    Act(int vk) : add([vk](Operator& op) { op.Then([vk](HWND hDlg) { PressKey(hDlg, UINT(vk)); }); }) {}
    template <class F, class = std::enable_if_t<std::is_invocable_v<F, HWND>>>
    Act(F step) : add([step](Operator& op) { op.Then(step); }) {}
    std::function<void(Operator&)> add;
};
// Tab, one key at a time, until the control has the focus.
Act TabTo(int nId) {
    Act act(0);
    act.add = [nId](Operator& op) {
        op.WaitUntil([nId](HWND hDlg) {
            if (::GetFocus() == ::GetDlgItem(hDlg, nId))
                return true;
            PressKey(hDlg, VK_TAB);
            return false;
        });
    };
    return act;
}
// The focus is on an enabled, visible control of the dialog: the keyboard is not dead.
void ExpectLiveFocus(HWND hDlg) {
    HWND hFocus = ::GetFocus();
    ASSERT_TRUE(hFocus && (hFocus == hDlg || ::IsChild(hDlg, hFocus)));
    EXPECT_TRUE(::IsWindowEnabled(hFocus) && ::IsWindowVisible(hFocus));
}
int CountIn(const CapturedImage& image, const RECT& rc, COLORREF cr) {
    int n = 0;
    for (int y = rc.top; y < rc.bottom; ++y)
        for (int x = rc.left; x < rc.right; ++x)
            n += image.At(x, y) == cr;
    return n;
}
RECT CellOf(HWND hList, int nRow, int nCol) {
    RECT rc = {LVIR_BOUNDS, nCol, 0, 0};
    ::SendMessageW(hList, LVM_GETSUBITEMRECT, static_cast<WPARAM>(nRow), reinterpret_cast<LPARAM>(&rc));
    return rc;
}

class KeyboardTest : public ::testing::Test {
protected:
    SimMachine& Machine() { return *session.m_pMachine; }
    size_t Count(const std::string& strCall) { return Machine().m_log.Filter({strCall}).size(); }
    template <typename Show> int32_t Run(const std::vector<Act>& script, Show show) {
        Operator op;
        for (const Act& act : script)
            act.add(op);
        op.Start();
        int32_t nResult = show();
        EXPECT_FALSE(op.m_bTimedOut);
        EXPECT_TRUE(op.AllStepsDone());
        return nResult;
    }
    PluginSession session;
};

TEST_F(KeyboardTest, SwitchInkOrderTicksBySpaceMovesByArrowsSwitchesByEnterAndFollowsAColourScheme) {
    AddDefaultInks(Machine());
    AddDefaultHeads(Machine().m_heads, Machine().m_printer.m_groupTable);
    auto ink = [&](int c) { return Machine().m_heads.m_headTable.Channel(1, c)->m_nGroupId; };
    const uint16_t nInk0 = ink(0), nInk2 = ink(2);
    const COLORREF kMarkGreen = RGB(51, 153, 51);
    auto ticked = [&](HWND hDlg) {
        HWND hList = ::GetDlgItem(hDlg, IDC_SWITCH_INK_LIST);
        ASSERT_EQ(hList, ::GetFocus());
        CapturedImage image = CaptureWindow(hList, true);
        EXPECT_GT(CountIn(image, CellOf(hList, 4, 2), kMarkGreen), 5);
        EXPECT_EQ(0, CountIn(image, CellOf(hList, 4, 3), kMarkGreen));
    };
    auto switched = [&](HWND hDlg) {
        EXPECT_EQ((std::pair(nInk2, nInk0)), (std::pair(ink(0), ink(2))));
        // A new colour scheme reaches the list through its dialog: the inside of a box is the window colour.
        HWND hList = ::GetDlgItem(hDlg, IDC_SWITCH_INK_LIST);
        const int nIndex = COLOR_WINDOW;
        const COLORREF crOld = ::GetSysColor(nIndex), crNew = RGB(250, 240, 200);
        ::SetSysColors(1, &nIndex, &crNew);
        ::SendMessageW(hDlg, WM_SYSCOLORCHANGE, 0, 0);
        ::RedrawWindow(hList, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
        EXPECT_GT(CountIn(CaptureWindow(hList, true), CellOf(hList, 7, 5), crNew), 50);
        ::SetSysColors(1, &nIndex, &crOld);
    };
    // Opening puts the keyboard cell on head 1, channel 1; Down goes to head 2's boxes, Right twice on.
    Run({VK_DOWN, VK_SPACE, VK_RIGHT, VK_RIGHT, VK_SPACE, ticked, TabTo(IDC_SWITCH_INK_SWITCH), VK_RETURN,
         switched, VK_ESCAPE},
        [&] { return session->ShowSwitchInkOrder(); });
}

TEST_F(KeyboardTest, CutInkSlidersAreTabStopsInRowOrderAndArrowsSetAMiddleRow) {
    for (uint16_t nRow = 0; nRow < 3; ++nRow) {
        Machine().m_printer.m_groupTable.Add(uint16_t(nRow + 1), "Ink", {nRow});
        Machine().m_printer.m_layout.m_idList.m_ids.push_back(uint16_t(nRow + 1));
    }
    int32_t values[32] = {10, 20, 30};
    uint32_t nApplyToAll = 0;
    std::vector<int> sliders;
    auto tab = [&](HWND hDlg) {
        const int nSlider = ::GetDlgCtrlID(::GetFocus()) - IDC_CUT_INK_SLIDER_BASE;
        if (nSlider >= 0 && nSlider < 32)
            sliders.push_back(nSlider);
        PressKey(hDlg, VK_TAB);
    };
    std::vector<Act> script(8, tab);
    script.insert(script.end(), {TabTo(IDC_CUT_INK_SLIDER_BASE + 1), VK_RIGHT, VK_RIGHT, VK_RETURN});
    EXPECT_EQ(1, Run(script, [&] {
                  return session->ShowCutInkSetting(&Machine().m_printer, 3, values, &nApplyToAll);
              }));
    sliders.resize(3);
    EXPECT_EQ((std::vector<int>{0, 1, 2}), sliders);
    EXPECT_EQ((std::vector<int32_t>{10, 22, 30}), std::vector<int32_t>(values, values + 3));
}

TEST_F(KeyboardTest, DisablingTheFocusedButtonMovesTheFocusOnSoKeysStillWork) {
    MultiStepRecord record{};
    auto poll = [&](int32_t nState) {
        return [&, nState](HWND hDlg) {
            Machine().m_multiStep.m_nState = nState;
            SendTimer(hDlg, kMultiStepPollTimer);
        };
    };
    // Finally the finish the operator asked for by keys closes the dialog.
    Run({poll(1), poll(11), TabTo(IDC_MULTI_STEP_NEXT), VK_SPACE, poll(4), ExpectLiveFocus, poll(11),
         TabTo(IDC_MULTI_STEP_FINISH), VK_RETURN, poll(0)},
        [&] { return session->ShowMultiStepPopup(&record); });
    EXPECT_EQ(1u, Count("Root.SendNextStepSignal"));
    EXPECT_EQ(1u, Count("Root.SendFinishSignal"));
}

TEST_F(KeyboardTest, EclosionEditorKeepsTheFocusAliveAtTheElementLimitAndEnterOnSaveSaves) {
    AddDefaultEclosionTemplates(Machine().m_eclosion);
    // Down picks the last template: one mode of one element.
    Run({TabTo(IDC_ECLOSION_TEMPLATES), VK_DOWN, TabTo(IDC_ECLOSION_ADD_ELEMENT), VK_SPACE,
         [](HWND hDlg) { EXPECT_FALSE(IsEnabled(hDlg, IDC_ECLOSION_ADD_ELEMENT)); }, ExpectLiveFocus,
         TabTo(IDOK), VK_RETURN},
        [&] { return session->ShowCustomEclosion(0); });
    EXPECT_EQ(1u, Count("Root.ApplySettings(2,1,0)"));
}

// Another thread's window is in front while the host calls, so no window of the host's thread is active.
// Also: Enter goes to the button focused at opening of a template without a default button, which resets.
TEST_F(KeyboardTest, ADialogOpenedWhileAnotherProgramIsInFrontIsOwnedByTheHostWindow) {
    HANDLE hUp = ::CreateEventW(nullptr, TRUE, FALSE, nullptr),
           hDone = ::CreateEventW(nullptr, TRUE, FALSE, nullptr);
    std::thread other([&] {
        HWND hOther = ::CreateWindowW(L"STATIC", L"other", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0, 200, 100,
                                      nullptr, nullptr, nullptr, nullptr);
        ::SetForegroundWindow(hOther);
        ::SetEvent(hUp);
        ::WaitForSingleObject(hDone, 10000);
        ::DestroyWindow(hOther);
    });
    ::WaitForSingleObject(hUp, 10000);
    MSG msg;
    while (::PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE))
        ::DispatchMessageW(&msg);
    HWND hOwner = nullptr;
    BOOL bHostEnabled = TRUE;
    auto shown = [&](HWND hDlg) {
        hOwner = ::GetWindow(hDlg, GW_OWNER);
        bHostEnabled = ::IsWindowEnabled(session.m_hHostWindow);
    };
    EXPECT_EQ(nullptr, ::GetActiveWindow());
    Run({shown, VK_RETURN}, [&] { return session->ShowSupplyInkTimeout(); });
    ::SetEvent(hDone);
    other.join();
    ::CloseHandle(hUp);
    ::CloseHandle(hDone);
    EXPECT_EQ(session.m_hHostWindow, hOwner);
    EXPECT_FALSE(bHostEnabled);
    EXPECT_EQ(1u, Count("Root.ResetInkSupplyTimeout"));
}

} // namespace
