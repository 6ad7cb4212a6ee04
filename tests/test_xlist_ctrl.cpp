// The extended list control on its own window: what its cells look like on screen, and its click and
// keyboard rules for disabled rows.
#include <gtest/gtest.h>

#include "WindowCapture.h"
#include "common/controls/XListCellRules.h"
#include "common/controls/XListCtrl.h"

namespace {

constexpr COLORREF kWhite = RGB(255, 255, 255), kBlack = RGB(0, 0, 0);
constexpr int kListId = 100;

WPARAM g_wheelWParam = 0;
LRESULT CALLBACK RecordWheel(HWND hWnd, UINT nMsg, WPARAM wParam, LPARAM lParam) {
    if (nMsg == WM_XLIST_MOUSEWHEEL)
        g_wheelWParam = wParam;
    return ::DefWindowProcW(hWnd, nMsg, wParam, lParam);
}

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

TEST_F(XListTest, CheckBoxesSitCentredWithoutTextAndNinePixelsInWithTextAndMarksGreyOnDisabledRows) {
    list.SetCheckbox(0, 1, 1);
    list.SetCheckbox(1, 1, 1);
    list.SetItemText(1, 1, L"ab", 0xFFFFFFFF, 0xFFFFFFFF);
    list.SetCheckbox(2, 1, 1);
    list.SetEnabled(2, FALSE);
    list.SetCheckbox(3, 1, 0);
    CapturedImage image = Shot();

    for (int nRow : {0, 1, 2}) {
        const RECT cell = Cell(nRow, 1);
        const CellRect box = CheckboxRect({cell.left, cell.top, cell.right, cell.bottom}, nRow != 1);
        EXPECT_EQ(RGB(51, 102, 153), image.At(box.left, box.top)) << nRow;
        EXPECT_EQ(RGB(51, 102, 153), image.At(box.right - 1, box.bottom - 1)) << nRow;
        EXPECT_NE(RGB(51, 102, 153), image.At(box.left - 1, box.top + 3)) << nRow;
        const RECT inside = {box.left + 1, box.top + 1, box.right - 1, box.bottom - 1};
        const COLORREF mark = nRow == 2 ? list.m_crGrayText : RGB(51, 153, 51);
        EXPECT_GT(Count(image, inside, mark), 6) << nRow;
    }
    EXPECT_EQ(Cell(1, 1).left + 9, CheckboxRect({Cell(1, 1).left, 0, Cell(1, 1).right, 19}, false).left);
    // An unchecked box has no mark.
    const RECT cell = Cell(3, 1);
    EXPECT_EQ(0, Count(image, cell, RGB(51, 153, 51)));
}

TEST_F(XListTest, ProgressShowsTheTroughAtZeroAndAtHalfTheTextChangesColourWhereTheBarEnds) {
    list.SetProgress(0, 2, 0);
    list.SetProgress(1, 2, 50);
    CapturedImage image = Shot();

    const RECT zero = Cell(0, 2);
    const ProgressLayout empty = LayOutProgress({zero.left, zero.top, zero.right, zero.bottom}, 0);
    EXPECT_EQ(kBlack, image.At(empty.bar.left, empty.bar.top + 2));
    EXPECT_EQ(list.m_crBtnShadow, image.At(empty.bar.right - 1, empty.bar.top + 2));
    EXPECT_EQ(0, Count(image, zero, list.m_crHighlight));
    EXPECT_GT(Count(image, zero, RGB(224, 224, 224)), 100);

    const RECT half = Cell(1, 2);
    const ProgressLayout layout = LayOutProgress({half.left, half.top, half.right, half.bottom}, 50);
    const RECT filled = {layout.filled.left, layout.filled.top, layout.filled.right, layout.filled.bottom};
    RECT rest = {layout.rest.left, layout.rest.top, layout.rest.right, layout.rest.bottom};
    EXPECT_EQ(list.m_crHighlight, image.At(filled.left, filled.top));
    EXPECT_EQ(list.m_crHighlight, image.At(filled.right - 1, filled.bottom - 1));
    EXPECT_EQ(RGB(224, 224, 224), image.At(rest.left, rest.top));
    // "50%" straddles the end of the bar: light text (highlight text) over the bar, dark text (the cell's
    // text colour) over the trough, and neither on the wrong side. Text edges are smoothed, so brightness
    // is compared rather than exact colours.
    const int nBar = Brightness(list.m_crHighlight);
    rest.right -= 1; // the shadow edge
    EXPECT_GT(CountIf(image, filled, [&](int b) { return b > nBar + 40; }), 0);
    EXPECT_EQ(0, CountIf(image, filled, [&](int b) { return b < nBar - 40; }));
    EXPECT_GT(CountIf(image, rest, [](int b) { return b < 150; }), 0);
    EXPECT_EQ(0, CountIf(image, rest, [](int b) { return b > 235; }));
}

TEST_F(XListTest, DropDownTextEndsElevenPixelsBeforeTheEdgeBesideItsArrow) {
    list.SetItemText(0, 3, L"MMMMMMMMMMMMMMMMMMMM", 0xFFFFFFFF, 0xFFFFFFFF);
    list.SetComboLook(0, 3, TRUE);
    CapturedImage image = Shot();
    const RECT cell = Cell(0, 3);
    int nRightmostText = -1;
    for (int x = cell.left; x < cell.right - 7; ++x)
        for (int y = cell.top; y < cell.bottom; ++y)
            if (image.At(x, y) != list.m_crWindow)
                nRightmostText = std::max(nRightmostText, x);
    EXPECT_LE(nRightmostText, cell.right - 12);
    EXPECT_GT(nRightmostText, cell.right - 20);
    // The arrow: a filled triangle in the text colour inside the last 7 pixels.
    EXPECT_GT(Count(image, {cell.right - 7, cell.top, cell.right, cell.bottom}, list.m_crWindowText), 8);
}

TEST_F(XListTest, SelectedRowsKeepTheirColoursInsideABandOfHighlightWithFocusAndShadowWhenShownAlways) {
    list.SetItemText(1, 1, L"x", RGB(0, 0, 255), RGB(0, 255, 0));
    list.SetCheckbox(1, 2, 0);
    Select(1);
    ::SetWindowLongW(list, GWL_STYLE, ::GetWindowLongW(list, GWL_STYLE) | LVS_SHOWSELALWAYS);
    ::SetForegroundWindow(host);
    list.SetFocus();
    CapturedImage focused = Shot();
    const RECT rc = Cell(1, 1);
    EXPECT_EQ(list.m_crHighlight, focused.At(rc.left + 10, rc.top));
    EXPECT_EQ(list.m_crHighlight, focused.At(Cell(1, 2).left + 2, Cell(1, 2).bottom - 1));
    EXPECT_EQ(RGB(0, 255, 0), focused.At(rc.left + 3, rc.top + 3));

    ::SetFocus(nullptr);
    CapturedImage unfocused = Shot();
    EXPECT_EQ(list.m_crBtnShadow, unfocused.At(rc.left + 10, rc.top));
    ::SetWindowLongW(list, GWL_STYLE, ::GetWindowLongW(list, GWL_STYLE) & ~LVS_SHOWSELALWAYS);
    CapturedImage own = Shot();
    EXPECT_EQ(RGB(0, 255, 0), own.At(rc.left + 10, rc.top));
}

TEST_F(XListTest, AZeroWidthColumnZeroIsNeverPaintedAndTheBackgroundOutsideRowsIsTheWindowColour) {
    for (int r = 0; r < 6; ++r)
        list.SetItemText(r, 0, L"hidden", RGB(255, 0, 0), RGB(255, 0, 0));
    RECT rc;
    ASSERT_TRUE(list.GetCellRect(0, 0, &rc));
    EXPECT_EQ(rc.left, rc.right);
    CapturedImage image = Shot();
    EXPECT_EQ(0, Count(image, {0, 0, image.nWidth, image.nHeight}, RGB(255, 0, 0)));
    EXPECT_EQ(list.m_crWindow, image.At(image.nWidth - 5, image.nHeight - 5));
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

TEST_F(XListTest, SettersCheckTheirIndexesAndTheWheelTellsTheParent) {
    EXPECT_EQ(-1, list.InsertItem(-1, 0, 0));
    EXPECT_EQ(6, list.GetItemCount());
    EXPECT_FALSE(list.SetItemText(6, 1, L"x", 0, 0));
    EXPECT_FALSE(list.SetItemText(0, 4, L"x", 0, 0));
    EXPECT_FALSE(list.SetCheckbox(0, -1, 0));
    EXPECT_FALSE(list.SetBold(-1, 1, TRUE));
    // A row the base list inserted has no records: the setters leave it alone.
    list.CListCtrl::InsertItem(6, L"plain");
    EXPECT_FALSE(list.SetCheckbox(6, 1, 1));
    EXPECT_TRUE(list.SetItemText(6, 1, L"y", 0, 0));
    EXPECT_EQ(-1, list.GetCheckbox(6, 1));
    // A column added after the rows has no record in their arrays.
    list.InsertColumn(4, L"late", LVCFMT_LEFT, 50);
    EXPECT_FALSE(list.SetCheckbox(0, 4, 1));
    EXPECT_TRUE(list.SetItemText(0, 4, L"late", 0, 0));
    Shot();

    WNDPROC pfnOld = reinterpret_cast<WNDPROC>(
        ::SetWindowLongPtrW(host, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&RecordWheel)));
    EXPECT_EQ(1, list.SendMessage(WM_MOUSEWHEEL, MAKEWPARAM(0, WHEEL_DELTA), MAKELPARAM(10, 10)));
    ::SetWindowLongPtrW(host, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(pfnOld));
    EXPECT_EQ(reinterpret_cast<WPARAM>(&list), g_wheelWParam);

    list.DeleteAllItems();
    EXPECT_EQ(0, list.GetItemCount());
}

} // namespace
