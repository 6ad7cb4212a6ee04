// What a screen reader reads of the two custom controls along its own path (WM_GETOBJECT, ObjectFromLresult,
// the IAccessible) and the events it hears, the dialogs opened through the exports.
#include "Plugin.h"
#include <oleacc.h>

#include <tuple>

#include "WindowCapture.h"
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
// One child as a reader announces it: name, value, role and state.
std::wstring Said(const std::wstring& strName, const std::wstring& strValue, long nRole, long nState) {
    return strName + L" | " + strValue + L" | role " + std::to_wstring(nRole) + L" | state " +
           std::to_wstring(nState);
}
std::wstring Hear(IAccessible* pAcc, long nChild) {
    BSTR name = nullptr, value = nullptr;
    VARIANT role = {}, state = {};
    pAcc->get_accName(Child(nChild), &name);
    pAcc->get_accValue(Child(nChild), &value);
    pAcc->get_accRole(Child(nChild), &role);
    pAcc->get_accState(Child(nChild), &state);
    std::wstring str = Said(name ? name : L"", value ? value : L"", role.lVal, state.lVal);
    ::SysFreeString(name);
    ::SysFreeString(value);
    return str;
}
long State(IAccessible* pAcc, long nChild) {
    VARIANT v = {};
    return SUCCEEDED(pAcc->get_accState(Child(nChild), &v)) ? v.lVal : -1;
}
long Count(IAccessible* pAcc) {
    LONG n = -1;
    return pAcc->get_accChildCount(&n), n;
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

constexpr long kSelectable = STATE_SYSTEM_SELECTABLE, kRow = kSelectable | STATE_SYSTEM_FOCUSABLE;

class AccessibilityTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(SUCCEEDED(::CoInitialize(nullptr)));
        m_hHook = ::SetWinEventHook(EVENT_OBJECT_REORDER, EVENT_OBJECT_STATECHANGE, nullptr, RecordEvent,
                                    ::GetCurrentProcessId(), 0, WINEVENT_OUTOFCONTEXT);
    }
    void TearDown() override {
        ::UnhookWinEvent(m_hHook);
        ::CoUninitialize();
    }
    template <typename Show> void Run(Operator::Step step, Show show) {
        Drive({std::move(step), [](HWND hDlg) { ::PostMessageW(hDlg, WM_COMMAND, IDCANCEL, 0); }}, show);
    }
    PluginSession session;
    HWINEVENTHOOK m_hHook = nullptr;
};

// The version grid (H = 2, D = 4, E = 1): an outline of its 32 rows on screen, driver boards closed.
TEST_F(AccessibilityTest,
       TheVersionGridReadsAsAnOutlineShowsItsFocusTellsOfSelectionAndFocusAndOpensByTheReader) {
    AddDefaultVersions(session.m_pMachine->m_versions);
    session.m_pMachine->m_versions.m_record.nDriverBoardCount = 4;
    SoftwareVersionRecord software = {3, 8, 1, 0, 65535, 0, "20261015"};
    Run(
        [&](HWND hDlg) {
            HWND hGrid = ::FindWindowExW(hDlg, nullptr, L"PivoraPropertyGrid", nullptr);
            AccessiblePtr pAcc = AccessibleOf(hGrid);
            ASSERT_TRUE(pAcc);
            IAccessible* p = pAcc.get();
            EXPECT_EQ(32, Count(p));
            VARIANT role = {};
            EXPECT_TRUE(SUCCEEDED(p->get_accRole(Child(CHILDID_SELF), &role)) &&
                        role.lVal == ROLE_SYSTEM_OUTLINE);
            EXPECT_EQ(Said(L"Main Board", L"", ROLE_SYSTEM_OUTLINEITEM, kRow | STATE_SYSTEM_EXPANDED),
                      Hear(p, 1));
            EXPECT_EQ(
                Said(L"MB Serial Number", L"PV2026-MB-004417", ROLE_SYSTEM_ROW, kRow | STATE_SYSTEM_READONLY),
                Hear(p, 3));
            EXPECT_EQ(Said(L"Driver Board1", L"", ROLE_SYSTEM_OUTLINEITEM, kRow | STATE_SYSTEM_COLLAPSED),
                      Hear(p, 12));
            // Before any row is selected the focus shows on the first row, for sighted keyboard users.
            ::UpdateWindow(hGrid);
            const CapturedImage focused = CaptureWindow(hGrid, true);
            ::SetFocus(::GetDlgItem(hDlg, IDOK));
            ::UpdateWindow(hGrid);
            EXPECT_NE(focused.pixels, CaptureWindow(hGrid, true).pixels);
            // Selection and focus move with the keys, and readers hear both.
            ::SetFocus(hGrid);
            g_events.clear();
            for (UINT vk : {VK_HOME, VK_DOWN})
                ::SendMessageW(hGrid, WM_KEYDOWN, vk, 0);
            EXPECT_TRUE(Saw(EVENT_OBJECT_SELECTION, hGrid, 2) && Saw(EVENT_OBJECT_FOCUS, hGrid, 2));
            EXPECT_EQ(kRow | STATE_SYSTEM_READONLY | STATE_SYSTEM_SELECTED | STATE_SYSTEM_FOCUSED,
                      State(p, 2));
            VARIANT focus = {};
            p->get_accFocus(&focus);
            EXPECT_EQ(2L, focus.lVal);
            // The reader's default action opens the first driver board: its two rows join the outline.
            EXPECT_EQ(S_OK, p->accDoDefaultAction(Child(12)));
            EXPECT_EQ(34, Count(p));
            EXPECT_EQ(-1, State(p, 35));
        },
        [&] { return session->ShowDetailVersionInfo(&software); });
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
            IAccessible* p = pAcc.get();
            EXPECT_EQ(12 * 10, Count(p));
            EXPECT_EQ(Said(L"Lm[4,8]", L"", ROLE_SYSTEM_CELL, kSelectable), Hear(p, 9 * 10 + 9 + 1));
            // The box under K[1,1] is named by its column, unticked, the keyboard cell; column 0 is hidden.
            EXPECT_EQ(Said(L"CH1", L"", ROLE_SYSTEM_CHECKBUTTON, kRow | STATE_SYSTEM_FOCUSED), Hear(p, 13));
            EXPECT_TRUE(State(p, 1) & STATE_SYSTEM_INVISIBLE);
            // The reader's default action ticks the box, heard, and unticks it; a click ticks through the
            // same path.
            g_events.clear();
            EXPECT_EQ(S_OK, p->accDoDefaultAction(Child(13)));
            EXPECT_TRUE(State(p, 13) & STATE_SYSTEM_CHECKED);
            EXPECT_TRUE(Saw(EVENT_OBJECT_STATECHANGE, hList, 13));
            p->accDoDefaultAction(Child(13));
            EXPECT_FALSE(State(p, 13) & STATE_SYSTEM_CHECKED);
        },
        [&] { return session->ShowSwitchInkOrder(); });
}

// A box of a disabled row is unavailable and refuses the reader's action, as it refuses a click; a reader
// holding the object past its control hears that it is gone.
TEST_F(AccessibilityTest, ABoxOfADisabledRowIsUnavailableAndTheObjectOutlivesTheList) {
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
    EXPECT_EQ(
        Said(L"Box", L"", ROLE_SYSTEM_CHECKBUTTON, kRow | STATE_SYSTEM_CHECKED | STATE_SYSTEM_UNAVAILABLE),
        Hear(pAcc.get(), 1));
    EXPECT_EQ(E_FAIL, pAcc->accDoDefaultAction(Child(1)));
    ::DestroyWindow(host.Detach());
    EXPECT_EQ(-1, Count(pAcc.get()));
}

} // namespace
