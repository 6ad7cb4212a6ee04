// The extended list control on its own window: what its cells look like on screen, and its click and
// keyboard rules for disabled rows.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>

#include "WindowCapture.h"
#include "common/controls/XListCtrl.h"

namespace {

constexpr int kListId = 100;

// A top-level window with one extended list: column 0 hidden, then three columns of 80 pixels.
class XListTest : public ::testing::Test {
protected:
    void SetUp() override {
        WNDCLASSW wc = {};
        wc.lpfnWndProc = ::DefWindowProcW;
        wc.hInstance = ::GetModuleHandleW(nullptr);
        wc.lpszClassName = L"XListTestHost";
        ::RegisterClassW(&wc);
        HWND hHost = ::CreateWindowExW(WS_EX_TOPMOST, L"XListTestHost", L"", WS_POPUP | WS_VISIBLE, 0, 0, 400,
                                       300, nullptr, nullptr, wc.hInstance, nullptr);
        ASSERT_TRUE(host.SubclassWindow(hHost));
        ASSERT_TRUE(list.CreateControl(WC_LISTVIEWW, L"", WS_VISIBLE | LVS_REPORT | LVS_SINGLESEL,
                                       {0, 0, 400, 300}, &host, kListId));
        list.SendMessage(LVM_SETEXTENDEDLISTVIEWSTYLE, 0, LVS_EX_FULLROWSELECT);
        list.InsertColumn(0, L"", LVCFMT_LEFT, 0);
        for (int c = 1; c <= 3; ++c)
            list.InsertColumn(c, L"C" + std::to_wstring(c), LVCFMT_CENTER, 80);
        for (int r = 0; r < 6; ++r) {
            ASSERT_EQ(r, list.InsertItem(r, list.m_crWindowText, list.m_crWindow));
            for (int c = 1; c <= 3; ++c)
                list.SetItemText(r, c, nullptr, 0xFFFFFFFF, 0xFFFFFFFF);
        }
    }
    void TearDown() override {
        if (host.m_hWnd)
            ::DestroyWindow(host.Detach());
    }
    RECT Cell(int nRow, int nCol) {
        RECT rc = {};
        list.GetCellRect(nRow, nCol, &rc);
        return rc;
    }
    CapturedImage Shot() {
        ::RedrawWindow(list, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW | RDW_ALLCHILDREN);
        return CaptureWindow(list, true);
    }
    // Counts the pixels of a colour inside a rectangle of the shot.
    static int Count(const CapturedImage& image, const RECT& rc, COLORREF colour) {
        int n = 0;
        for (int y = rc.top; y < rc.bottom; ++y)
            for (int x = rc.left; x < rc.right; ++x)
                n += image.At(x, y) == colour;
        return n;
    }
    static int Brightness(COLORREF c) {
        return (GetRValue(c) * 30 + GetGValue(c) * 59 + GetBValue(c) * 11) / 100;
    }
    template <typename Pred> static int CountIf(const CapturedImage& image, const RECT& rc, Pred pred) {
        int n = 0;
        for (int y = rc.top; y < rc.bottom; ++y)
            for (int x = rc.left; x < rc.right; ++x)
                n += pred(Brightness(image.At(x, y)));
        return n;
    }
    void ClickAt(int x, int y, UINT nDown = WM_LBUTTONDOWN) {
        list.SendMessage(nDown, nDown == WM_LBUTTONDOWN ? MK_LBUTTON : MK_RBUTTON, MAKELPARAM(x, y));
        list.SendMessage(nDown + 1, 0, MAKELPARAM(x, y));
    }
    void ClickCell(int nRow, int nCol) {
        RECT rc = Cell(nRow, nCol);
        ClickAt((rc.left + rc.right) / 2, (rc.top + rc.bottom) / 2);
    }
    int Selected() { return list.GetNextItem(-1, LVNI_SELECTED); }
    void Key(UINT vk) { list.SendMessage(WM_KEYDOWN, vk, 0); }
    void Select(int nRow) {
        list.SetItemState(nRow, LVIS_SELECTED | LVIS_FOCUSED, LVIS_SELECTED | LVIS_FOCUSED);
    }

    CWnd host;
    CXListCtrl list;
};

// States no dialog opens with, so no golden picture shows: ticked boxes (gray on a disabled row), a
// selected row with and without the focus, bold and gray text.
TEST_F(XListTest, TickedBoxesShowTheirMarkGreenOrGrayOnADisabledRow) {
    for (int nRow : {0, 1, 2})
        list.SetCheckbox(nRow, 1, nRow != 1);
    list.SetEnabled(2, FALSE);
    CapturedImage image = Shot();
    EXPECT_GT(Count(image, Cell(0, 1), RGB(51, 153, 51)), 6);
    EXPECT_EQ(0, Count(image, Cell(1, 1), RGB(51, 153, 51)));
    EXPECT_GT(Count(image, Cell(2, 1), list.m_crGrayText), 6);
}

TEST_F(XListTest, SelectedRowsKeepTheirColoursInsideABandOfHighlightWithFocusAndShadowWhenShownAlways) {
    list.SetItemText(1, 1, L"x", RGB(0, 0, 255), RGB(0, 255, 0));
    Select(1);
    ::SetWindowLongW(list, GWL_STYLE, ::GetWindowLongW(list, GWL_STYLE) | LVS_SHOWSELALWAYS);
    ::SetForegroundWindow(host);
    list.SetFocus();
    const RECT rc = Cell(1, 1);
    CapturedImage focused = Shot();
    EXPECT_EQ(list.m_crHighlight, focused.At(rc.left + 10, rc.top));
    EXPECT_EQ(list.m_crHighlight, focused.At(Cell(1, 2).left + 2, Cell(1, 2).bottom - 1));
    EXPECT_EQ(RGB(0, 255, 0), focused.At(rc.left + 3, rc.top + 3));
    ::SetFocus(nullptr);
    EXPECT_EQ(list.m_crBtnShadow, Shot().At(rc.left + 10, rc.top));
    ::SetWindowLongW(list, GWL_STYLE, ::GetWindowLongW(list, GWL_STYLE) & ~LVS_SHOWSELALWAYS);
    EXPECT_EQ(RGB(0, 255, 0), Shot().At(rc.left + 10, rc.top));
}

TEST_F(XListTest, ClicksToggleBoxesOnEnabledRowsAndDisabledRowsTakeNoClickAtAll) {
    list.SetCheckbox(0, 2, 0);
    list.SetCheckbox(4, 2, 0);
    list.SetEnabled(4, FALSE);
    ClickCell(0, 2);
    EXPECT_EQ(1, list.GetCheckbox(0, 2));
    EXPECT_TRUE(list.GetModified(0, 2));
    EXPECT_TRUE(list.IsListModified());
    EXPECT_EQ(0, Selected());
    ClickCell(0, 2);
    EXPECT_EQ(0, list.GetCheckbox(0, 2));

    // A plain cell selects its row; a disabled row keeps neither box nor selection.
    ClickCell(2, 1);
    EXPECT_EQ(2, Selected());
    ClickCell(4, 2);
    EXPECT_EQ(0, list.GetCheckbox(4, 2));
    EXPECT_FALSE(list.GetModified(4, 2));
    EXPECT_EQ(2, Selected());
    RECT rc = Cell(4, 2);
    ClickAt(rc.left + 3, rc.top + 3, WM_RBUTTONDOWN);
    EXPECT_EQ(2, Selected());
}

TEST_F(XListTest, KeysNeverLeaveTheSelectionOnADisabledRow) {
    list.SetEnabled(2, FALSE);
    list.SetEnabled(3, FALSE);
    list.SetEnabled(0, FALSE);
    Key(VK_HOME); // nothing was selected: the disabled row does not keep the selection either
    EXPECT_EQ(-1, Selected());
    Select(1);
    Key(VK_DOWN); // onto 2: on to the next enabled row below
    EXPECT_EQ(4, Selected());
    Key(VK_UP); // onto 3: the nearest enabled row above
    EXPECT_EQ(1, Selected());
    Key(VK_UP); // onto 0: none above, so the nearest below
    EXPECT_EQ(1, Selected());
    list.SetEnabled(5, FALSE);
    list.SetEnabled(4, FALSE);
    Key(VK_DOWN); // onto 2: nothing enabled below, so the nearest above
    EXPECT_EQ(1, Selected());
    Key(VK_HOME); // onto 0: Home restores the selection it had
    EXPECT_EQ(1, Selected());
    Key(VK_END);
    EXPECT_EQ(1, Selected());
    list.SetEnabled(3, TRUE);
    Key(VK_NEXT); // onto the last row: nothing enabled below it, so the nearest above
    EXPECT_EQ(3, Selected());
    list.SetEnabled(1, FALSE);
    list.SetEnabled(3, FALSE);
    Key(VK_UP); // no enabled row at all: the previous selection comes back
    EXPECT_EQ(3, Selected());
}

TEST_F(XListTest, BoldCellsDrawHeavierAndDisabledRowsDrawTheirTextGray) {
    for (int r : {0, 1, 2})
        list.SetItemText(r, 1, L"WWWW", list.m_crWindowText, list.m_crWindow);
    list.SetBold(1, 1, TRUE);
    list.SetEnabled(2, FALSE);
    CapturedImage image = Shot();
    auto dark = [&](int nRow) { return CountIf(image, Cell(nRow, 1), [](int b) { return b < 100; }); };
    EXPECT_GT(dark(0), 10);
    EXPECT_GT(dark(1), dark(0) * 5 / 4);
    EXPECT_EQ(0, dark(2));
    // The disabled row's text is there, only lighter.
    EXPECT_GT(CountIf(image, Cell(2, 1), [](int b) { return b >= 100 && b < 250; }), 10);
}

// The system hands the list fixed buffers of 80 characters (ANSI or wide) for a cell's tooltip text.
TEST_F(XListTest, TooltipTextsAreCutToTheSystemsFixedBuffers) {
    list.SetItemText(0, 1, L"tip", list.m_crWindowText, list.m_crWindow);
    list.SetItemToolTipText(0, 1, std::wstring(300, L'x'));
    RECT rc = Cell(0, 1);
    POINT pt = {(rc.left + rc.right) / 2, (rc.top + rc.bottom) / 2};
    ::ClientToScreen(list, &pt);
    ::SetCursorPos(pt.x, pt.y);
    MSG msg; // the list finds the cell where the mouse was at the last message
    ::PostMessageW(host, WM_NULL, 0, 0);
    ::PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE);
    struct {
        NMTTDISPINFOA info;
        char guard[256];
    } ansi;
    struct {
        NMTTDISPINFOW info;
        wchar_t guard[256];
    } wide;
    std::memset(&ansi, 0x55, sizeof(ansi));
    std::memset(&wide, 0x55, sizeof(wide));
    ansi.info.hdr = {list.m_hWnd, 1, TTN_NEEDTEXTA};
    wide.info.hdr = {list.m_hWnd, 1, TTN_NEEDTEXTW};
    list.SendMessage(WM_NOTIFY, 1, reinterpret_cast<LPARAM>(&ansi.info));
    list.SendMessage(WM_NOTIFY, 1, reinterpret_cast<LPARAM>(&wide.info));
    EXPECT_EQ(std::string(79, 'x'), ansi.info.szText);
    EXPECT_EQ(std::wstring(79, L'x'), wide.info.szText);
    EXPECT_TRUE(std::all_of(std::begin(ansi.guard), std::end(ansi.guard), [](char c) { return c == 0x55; }));
    EXPECT_TRUE(
        std::all_of(std::begin(wide.guard), std::end(wide.guard), [](wchar_t c) { return c == 0x5555; }));
}

TEST_F(XListTest, SettersCheckTheirIndexesAndLeaveRowsAndColumnsWithoutRecordsAlone) {
    EXPECT_EQ(-1, list.InsertItem(-1, 0, 0));
    EXPECT_FALSE(list.SetItemText(6, 1, L"x", 0, 0));
    EXPECT_FALSE(list.SetItemText(0, 4, L"x", 0, 0));
    EXPECT_FALSE(list.SetCheckbox(0, -1, 0));
    EXPECT_FALSE(list.SetBold(-1, 1, TRUE));
    // A row the base list inserted, and a column added after the rows, have no records.
    list.CListCtrl::InsertItem(6, L"plain");
    EXPECT_FALSE(list.SetCheckbox(6, 1, 1));
    EXPECT_EQ(-1, list.GetCheckbox(6, 1));
    list.InsertColumn(4, L"late", LVCFMT_LEFT, 50);
    EXPECT_FALSE(list.SetCheckbox(0, 4, 1));
    EXPECT_TRUE(list.SetItemText(0, 4, L"late", 0, 0) && list.SetItemText(6, 1, L"y", 0, 0));
    Shot(); // and they draw
    list.DeleteAllItems();
    EXPECT_EQ(0, list.GetItemCount());
}

} // namespace
