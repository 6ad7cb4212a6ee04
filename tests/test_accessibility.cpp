// What a screen reader reads of the two custom controls, along its own path (WM_GETOBJECT for the client
// area, ObjectFromLresult, calls on the IAccessible) and the events it hears, with the dialogs opened
// through the exports.
#include <gtest/gtest.h>
#include <oleacc.h>

#include <memory>
#include <tuple>

#include "Plugin.h"
#include "ScriptedOperator.h"
#include "common/controls/XListCtrl.h"
#include "res/resource.h"

namespace {

struct ComRelease {
    void operator()(IAccessible* p) const { p->Release(); }
};
using AccessiblePtr = std::unique_ptr<IAccessible, ComRelease>;

AccessiblePtr AccessibleOf(HWND hWnd) {
    const LRESULT lResult = ::SendMessageW(hWnd, WM_GETOBJECT, 0, static_cast<LPARAM>(OBJID_CLIENT));
    void* p = nullptr;
    if (lResult <= 0 || FAILED(::ObjectFromLresult(lResult, __uuidof(IAccessible), 0, &p)))
        return nullptr;
    return AccessiblePtr(static_cast<IAccessible*>(p));
}

VARIANT Child(long nChild) {
    VARIANT v = {};
    v.vt = VT_I4;
    v.lVal = nChild;
    return v;
}

// One child as a reader announces it.
struct Heard {
    std::wstring strName, strValue;
    long nRole = 0, nState = 0;
    bool operator==(const Heard& o) const {
        return std::tie(strName, strValue, nRole, nState) ==
               std::tie(o.strName, o.strValue, o.nRole, o.nState);
    }
};
void PrintTo(const Heard& h, std::ostream* os) {
    *os << Narrow(h.strName) << " | " << Narrow(h.strValue) << " | role " << h.nRole << " | state 0x"
        << std::hex << h.nState;
}

Heard Hear(IAccessible* pAcc, long nChild) {
    Heard h;
    BSTR b = nullptr;
    for (auto [get, pText] :
         {std::pair{&IAccessible::get_accName, &h.strName}, {&IAccessible::get_accValue, &h.strValue}}) {
        if ((pAcc->*get)(Child(nChild), &b) == S_OK)
            *pText = b;
        ::SysFreeString(b);
        b = nullptr;
    }
    for (auto [get, pNumber] :
         {std::pair{&IAccessible::get_accRole, &h.nRole}, {&IAccessible::get_accState, &h.nState}}) {
        VARIANT v = {};
        *pNumber = (pAcc->*get)(Child(nChild), &v) == S_OK && v.vt == VT_I4 ? v.lVal : -1;
    }
    return h;
}

RECT Location(IAccessible* pAcc, long nChild) {
    LONG x = 0, y = 0, w = 0, h = 0;
    pAcc->accLocation(&x, &y, &w, &h, Child(nChild));
    return {x, y, x + w, y + h};
}

// The child a reader finds at a point of the screen (at the centre of a place it was given).
long ChildAt(IAccessible* pAcc, const RECT& rc) {
    VARIANT v = {};
    pAcc->accHitTest((rc.left + rc.right) / 2, (rc.top + rc.bottom) / 2, &v);
    return v.vt == VT_I4 ? v.lVal : -1;
}

using Event = std::tuple<DWORD, HWND, long>;
std::vector<Event> g_events;
void CALLBACK RecordEvent(HWINEVENTHOOK, DWORD dwEvent, HWND hWnd, LONG idObject, LONG idChild, DWORD,
                          DWORD) {
    if (idObject == OBJID_CLIENT)
        g_events.emplace_back(dwEvent, hWnd, idChild);
}
// Out-of-context events reach the listener through its thread's messages, as a reader's would.
bool Saw(DWORD dwEvent, HWND hWnd, long nChild) {
    for (MSG msg; ::PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE);)
        ::DispatchMessageW(&msg);
    return std::find(g_events.begin(), g_events.end(), Event{dwEvent, hWnd, nChild}) != g_events.end();
}

constexpr long kSelectable = STATE_SYSTEM_SELECTABLE, kFocusable = STATE_SYSTEM_FOCUSABLE;

class AccessibilityTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(SUCCEEDED(::CoInitialize(nullptr)));
        m_hHook = ::SetWinEventHook(EVENT_OBJECT_REORDER, EVENT_OBJECT_STATECHANGE, nullptr, RecordEvent,
                                    ::GetCurrentProcessId(), 0, WINEVENT_OUTOFCONTEXT);
        g_events.clear();
    }
    void TearDown() override {
        ::UnhookWinEvent(m_hHook);
        ::CoUninitialize();
    }
    template <typename Show> void Run(Operator::Step step, Show show) {
        Operator op;
        op.Then(std::move(step)).Then([](HWND hDlg) { ::PostMessageW(hDlg, WM_COMMAND, IDCANCEL, 0); });
        op.Start();
        show();
        EXPECT_FALSE(op.m_bTimedOut);
        EXPECT_TRUE(op.AllStepsDone());
    }
    PluginSession session;
    HWINEVENTHOOK m_hHook = nullptr;
};

void Key(HWND hWnd, UINT vk, int nTimes = 1) {
    for (int i = 0; i < nTimes; ++i)
        ::SendMessageW(hWnd, WM_KEYDOWN, vk, 0);
}

// The version grid: its rows on screen as an outline (H = 2, D = 4, E = 1: 32 rows, driver boards closed).
TEST_F(AccessibilityTest, TheVersionGridReadsAsAnOutlineOfItsRowsAndTellsOfSelectionFocusAndOpening) {
    AddDefaultVersions(session.m_pMachine->m_versions);
    session.m_pMachine->m_versions.m_record.nDriverBoardCount = 4;
    SoftwareVersionRecord software = {3, 8, 1, 0, 65535, 0, "20261015"};
    AccessiblePtr pKept;
    HWND hGrid = nullptr;
    Run(
        [&](HWND hDlg) {
            hGrid = ::FindWindowExW(hDlg, nullptr, L"PivoraPropertyGrid", nullptr);
            AccessiblePtr pAcc = AccessibleOf(hGrid);
            ASSERT_TRUE(pAcc);
            LONG nCount = 0;
            EXPECT_EQ(S_OK, pAcc->get_accChildCount(&nCount));
            EXPECT_EQ(32, nCount);
            const long kRow = kSelectable | kFocusable;
            EXPECT_EQ(ROLE_SYSTEM_OUTLINE, Hear(pAcc.get(), CHILDID_SELF).nRole);
            EXPECT_TRUE(Hear(pAcc.get(), CHILDID_SELF).nState & kFocusable);
            EXPECT_EQ((Heard{L"Main Board", L"", ROLE_SYSTEM_OUTLINEITEM, kRow | STATE_SYSTEM_EXPANDED}),
                      Hear(pAcc.get(), 1));
            EXPECT_EQ((Heard{L"MB Serial Number", L"PV2026-MB-004417", ROLE_SYSTEM_ROW,
                             kRow | STATE_SYSTEM_READONLY}),
                      Hear(pAcc.get(), 3));
            EXPECT_EQ((Heard{L"Driver Board1", L"", ROLE_SYSTEM_OUTLINEITEM, kRow | STATE_SYSTEM_COLLAPSED}),
                      Hear(pAcc.get(), 12));
            // Rows stand one under the other inside the grid, and a reader finds each where it was told.
            RECT rcGrid, rc2 = Location(pAcc.get(), 2), rc3 = Location(pAcc.get(), 3);
            ::GetWindowRect(hGrid, &rcGrid);
            EXPECT_TRUE(rc2.bottom <= rc3.top && rc2.top > rcGrid.top && rc2.left >= rcGrid.left &&
                        rc2.right <= rcGrid.right);
            EXPECT_EQ((std::pair{2L, 3L}), (std::pair{ChildAt(pAcc.get(), rc2), ChildAt(pAcc.get(), rc3)}));

            // Selection and focus move with the keys, and readers hear both.
            ::SetFocus(hGrid);
            g_events.clear();
            Key(hGrid, VK_HOME);
            Key(hGrid, VK_DOWN);
            EXPECT_TRUE(Saw(EVENT_OBJECT_SELECTION, hGrid, 2) && Saw(EVENT_OBJECT_FOCUS, hGrid, 2));
            EXPECT_EQ(kRow | STATE_SYSTEM_READONLY | STATE_SYSTEM_SELECTED | STATE_SYSTEM_FOCUSED,
                      Hear(pAcc.get(), 2).nState);
            VARIANT focus = {}, selection = {};
            pAcc->get_accFocus(&focus);
            pAcc->get_accSelection(&selection);
            EXPECT_EQ(2, focus.lVal);
            EXPECT_EQ(2, selection.lVal);

            // Right opens the first driver board: its two rows join the outline, and the change is told.
            Key(hGrid, VK_DOWN, 10);
            Key(hGrid, VK_RIGHT);
            EXPECT_TRUE(Saw(EVENT_OBJECT_STATECHANGE, hGrid, 12));
            EXPECT_TRUE(Hear(pAcc.get(), 12).nState & STATE_SYSTEM_EXPANDED);
            EXPECT_EQ(L"DB Logic Version", Hear(pAcc.get(), 13).strName);
            // The reader's default action closes it again.
            EXPECT_EQ(S_OK, pAcc->accDoDefaultAction(Child(12)));
            pAcc->get_accChildCount(&nCount);
            EXPECT_EQ(32, nCount);
            EXPECT_EQ(E_INVALIDARG, pAcc->get_accRole(Child(33), &focus));
            pKept = std::move(pAcc);
        },
        [&] { session->ShowDetailVersionInfo(&software); });
    // A reader may hold the object past the dialog: it answers, without the grid, that it is cut off.
    ASSERT_TRUE(pKept);
    LONG nCount = 0;
    EXPECT_EQ(CO_E_OBJNOTCONNECTED, pKept->get_accChildCount(&nCount));
    EXPECT_EQ(CO_E_OBJNOTCONNECTED, pKept->accDoDefaultAction(Child(1)));
}

// The switch list: cell r, c (from 0) of its 10 columns is child r * 10 + c + 1; the boxes tell their state.
TEST_F(AccessibilityTest, TheSwitchListNamesItsInkCellsAndTellsEachTickOfABox) {
    AddDefaultInks(*session.m_pMachine);
    AddDefaultHeads(session.m_pMachine->m_heads, session.m_pMachine->m_printer.m_groupTable);
    Run(
        [&](HWND hDlg) {
            HWND hList = ::GetDlgItem(hDlg, IDC_SWITCH_INK_LIST);
            AccessiblePtr pAcc = AccessibleOf(hList);
            ASSERT_TRUE(pAcc);
            LONG nCount = 0;
            pAcc->get_accChildCount(&nCount);
            EXPECT_EQ(12 * 10, nCount);
            EXPECT_EQ(ROLE_SYSTEM_TABLE, Hear(pAcc.get(), CHILDID_SELF).nRole);
            EXPECT_EQ((Heard{L"K[1,1]", L"", ROLE_SYSTEM_CELL, kSelectable}), Hear(pAcc.get(), 3));
            EXPECT_EQ((Heard{L"Lm[4,8]", L"", ROLE_SYSTEM_CELL, kSelectable}),
                      Hear(pAcc.get(), 9 * 10 + 9 + 1));
            // The box under K[1,1] is named by its column, unticked.
            EXPECT_EQ((Heard{L"CH1", L"", ROLE_SYSTEM_CHECKBUTTON, kSelectable}), Hear(pAcc.get(), 13));
            EXPECT_TRUE(Hear(pAcc.get(), 1).nState & STATE_SYSTEM_INVISIBLE); // the hidden column 0

            // A click in the box ticks it: read back, and heard.
            RECT rc = {LVIR_BOUNDS, 2, 0, 0};
            ::SendMessageW(hList, LVM_GETSUBITEMRECT, 1, reinterpret_cast<LPARAM>(&rc));
            const LPARAM lPoint = MAKELPARAM((rc.left + rc.right) / 2, (rc.top + rc.bottom) / 2);
            g_events.clear();
            ::SendMessageW(hList, WM_LBUTTONDOWN, MK_LBUTTON, lPoint);
            ::SendMessageW(hList, WM_LBUTTONUP, 0, lPoint);
            EXPECT_TRUE(Hear(pAcc.get(), 13).nState & STATE_SYSTEM_CHECKED);
            EXPECT_TRUE(Saw(EVENT_OBJECT_STATECHANGE, hList, 13));
            ::MapWindowPoints(hList, nullptr, reinterpret_cast<POINT*>(&rc), 2);
            EXPECT_EQ(13, ChildAt(pAcc.get(), Location(pAcc.get(), 13)));
            EXPECT_EQ(rc.top, Location(pAcc.get(), 13).top);
            // The reader's default action unticks it, as a second click does.
            EXPECT_EQ(S_OK, pAcc->accDoDefaultAction(Child(13)));
            EXPECT_FALSE(Hear(pAcc.get(), 13).nState & STATE_SYSTEM_CHECKED);
        },
        [&] { session->ShowSwitchInkOrder(); });
}

// A disabled row's boxes are unavailable and refuse the reader's action, as they refuse a click.
TEST_F(AccessibilityTest, ABoxOfADisabledRowIsUnavailable) {
    CWnd host;
    ASSERT_TRUE(host.Attach(
        ::CreateWindowExW(0, L"STATIC", L"", WS_POPUP, 0, 0, 300, 200, nullptr, nullptr, nullptr, nullptr)));
    CXListCtrl list;
    ASSERT_TRUE(list.CreateControl(WC_LISTVIEWW, L"", WS_VISIBLE | LVS_REPORT, {0, 0, 300, 200}, &host, 1));
    list.InsertColumn(0, L"Box", LVCFMT_LEFT, 80);
    list.InsertItem(0, 0, 0xFFFFFF);
    list.SetCheckbox(0, 0, 1);
    list.SetEnabled(0, FALSE);
    AccessiblePtr pAcc = AccessibleOf(list);
    ASSERT_TRUE(pAcc);
    EXPECT_EQ((Heard{L"Box", L"", ROLE_SYSTEM_CHECKBUTTON,
                     kSelectable | STATE_SYSTEM_CHECKED | STATE_SYSTEM_UNAVAILABLE}),
              Hear(pAcc.get(), 1));
    EXPECT_EQ(E_FAIL, pAcc->accDoDefaultAction(Child(1)));
    ::DestroyWindow(host.Detach());
    LONG nCount = 0;
    EXPECT_EQ(CO_E_OBJNOTCONNECTED, pAcc->get_accChildCount(&nCount));
}

} // namespace
