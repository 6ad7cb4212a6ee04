// The extended list control on its own window: what its cells look like on screen, and its click and
// keyboard rules for disabled rows. Ticking by click and key is the switch ink order's story.
#include <gtest/gtest.h>

#include "WindowCapture.h"
#include "common/controls/XListCtrl.h"

namespace {

// A top-level window with one extended list: column 0 hidden, then three columns of 80 pixels.
class XListTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(
            host.SubclassWindow(::CreateWindowExW(WS_EX_TOPMOST, L"STATIC", L"", WS_POPUP | WS_VISIBLE, 0, 0,
                                                  400, 300, nullptr, nullptr, nullptr, nullptr)));
        ASSERT_TRUE(list.CreateControl(WC_LISTVIEWW, L"", WS_VISIBLE | LVS_REPORT | LVS_SINGLESEL,
                                       {0, 0, 400, 300}, &host, 100));
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
    void TearDown() override { ::DestroyWindow(host.Detach()); }
    RECT Cell(int nRow, int nCol) {
        RECT rc = {};
        list.GetCellRect(nRow, nCol, &rc);
        return rc;
    }
    CapturedImage Shot() {
        ::RedrawWindow(list, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW | RDW_ALLCHILDREN);
        return CaptureWindow(list, true);
    }
    template <typename Pred> static int CountIf(const CapturedImage& image, const RECT& rc, Pred pred) {
        int n = 0;
        for (int y = rc.top; y < rc.bottom; ++y)
            for (int x = rc.left; x < rc.right; ++x)
                n += pred(image.At(x, y));
        return n;
    }
    static int Count(const CapturedImage& image, const RECT& rc, COLORREF colour) {
        return CountIf(image, rc, [colour](COLORREF c) { return c == colour; });
    }
    void Click(int nRow, int nCol, UINT nDown = WM_LBUTTONDOWN) {
        const RECT rc = Cell(nRow, nCol);
        const LPARAM lPoint = nDown == WM_LBUTTONDOWN
                                  ? MAKELPARAM((rc.left + rc.right) / 2, (rc.top + rc.bottom) / 2)
                                  : MAKELPARAM(rc.left + 3, rc.top + 3);
        list.SendMessage(nDown, nDown == WM_LBUTTONDOWN ? MK_LBUTTON : MK_RBUTTON, lPoint);
        list.SendMessage(nDown + 1, 0, lPoint);
    }
    int Selected() { return list.GetNextItem(-1, LVNI_SELECTED); }
    void Key(UINT vk) { list.SendMessage(WM_KEYDOWN, vk, 0); }
    void Select(int nRow) {
        list.SetItemState(nRow, LVIS_SELECTED | LVIS_FOCUSED, LVIS_SELECTED | LVIS_FOCUSED);
    }

    CWnd host;
    CXListCtrl list;
};

// States no dialog opens with, so no golden picture shows (bold text does): a ticked box and gray text on a
// disabled row, a selected row with and without the focus.
TEST_F(XListTest, DisabledBoxesTextAndSelectionLookAsTheirStateSays) {
    for (int nRow : {0, 2}) {
        list.SetCheckbox(nRow, 1, 1);
        list.SetItemText(nRow, 2, L"WWWW", list.m_crWindowText, list.m_crWindow);
    }
    list.SetEnabled(2, FALSE);
    CapturedImage image = Shot();
    EXPECT_GT(Count(image, Cell(2, 1), list.m_crGrayText), 6);
    auto shade = [&](int nRow, int nMin, int nMax) {
        return CountIf(image, Cell(nRow, 2), [&](COLORREF c) {
            const int n = (GetRValue(c) * 30 + GetGValue(c) * 59 + GetBValue(c) * 11) / 100;
            return n >= nMin && n < nMax;
        });
    };
    EXPECT_GT(shade(0, 0, 100), 10);
    EXPECT_EQ(0, shade(2, 0, 100));
    EXPECT_GT(shade(2, 100, 250), 10); // the disabled row's text is there, only lighter
    // A selected row keeps its colours inside a band of highlight with the focus, of shadow without when
    // shown always.
    list.SetItemText(4, 1, L"x", RGB(0, 0, 255), RGB(0, 255, 0));
    Select(4);
    ::SetWindowLongW(list, GWL_STYLE, ::GetWindowLongW(list, GWL_STYLE) | LVS_SHOWSELALWAYS);
    ::SetForegroundWindow(host);
    list.SetFocus();
    const RECT rc = Cell(4, 1);
    CapturedImage focused = Shot();
    EXPECT_EQ(list.m_crHighlight, focused.At(rc.left + 10, rc.top));
    EXPECT_EQ(list.m_crHighlight, focused.At(Cell(4, 2).left + 2, Cell(4, 2).bottom - 1));
    EXPECT_EQ(RGB(0, 255, 0), focused.At(rc.left + 3, rc.top + 3));
    ::SetFocus(nullptr);
    EXPECT_EQ(list.m_crBtnShadow, Shot().At(rc.left + 10, rc.top));
    ::SetWindowLongW(list, GWL_STYLE, ::GetWindowLongW(list, GWL_STYLE) & ~LVS_SHOWSELALWAYS);
    EXPECT_EQ(RGB(0, 255, 0), Shot().At(rc.left + 10, rc.top));
}

TEST_F(XListTest, DisabledRowsTakeNoClickAtAll) {
    list.SetCheckbox(4, 2, 0);
    list.SetEnabled(4, FALSE);
    Click(2, 1);
    Click(4, 2);
    EXPECT_EQ(0, list.GetCheckbox(4, 2));
    EXPECT_FALSE(list.GetModified(4, 2) || list.IsListModified());
    EXPECT_EQ(2, Selected());
    Click(4, 2, WM_RBUTTONDOWN);
    EXPECT_EQ(2, Selected());
}

TEST_F(XListTest, KeysNeverLeaveTheSelectionOnADisabledRow) {
    // Rows disabled ('x') before the key, the row selected first (-1: as it is), the selection after.
    const std::tuple<const char*, int, UINT, int> kSteps[] = {
        {"x.xx..", -1, VK_HOME, -1}, // nothing selected: the disabled row does not keep the selection either
        {"x.xx..", 1, VK_DOWN, 4},   // onto 2: on to the next enabled row below
        {"x.xx..", -1, VK_UP, 1},    // onto 3: the nearest enabled row above
        {"x.xx..", -1, VK_UP, 1},    // onto 0: none above, so the nearest below
        {"x.xxxx", -1, VK_DOWN, 1},  // onto 2: nothing enabled below, so the nearest above
        {"x.xxxx", -1, VK_HOME, 1},  // onto 0: any other key restores the selection it had
        {"x.x.xx", -1, VK_NEXT, 3},  // onto the last row: nothing enabled below it, so the nearest above
        {"xxxxxx", -1, VK_UP, 3},    // no enabled row at all: the previous selection comes back
    };
    for (const auto& [pszDisabled, nFrom, vk, nTo] : kSteps) {
        for (int r = 0; r < 6; ++r)
            list.SetEnabled(r, pszDisabled[r] != 'x');
        if (nFrom >= 0)
            Select(nFrom);
        Key(vk);
        EXPECT_EQ(nTo, Selected()) << pszDisabled << " key " << vk;
    }
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
    // Room after each record, which must stay as it was.
    std::vector<char> ansi(sizeof(NMTTDISPINFOA) + 256, 0x55), wide(sizeof(NMTTDISPINFOW) + 512, 0x55);
    auto* pAnsi = reinterpret_cast<NMTTDISPINFOA*>(ansi.data());
    auto* pWide = reinterpret_cast<NMTTDISPINFOW*>(wide.data());
    pAnsi->hdr = {list.m_hWnd, 1, TTN_NEEDTEXTA};
    pWide->hdr = {list.m_hWnd, 1, TTN_NEEDTEXTW};
    list.SendMessage(WM_NOTIFY, 1, reinterpret_cast<LPARAM>(pAnsi));
    list.SendMessage(WM_NOTIFY, 1, reinterpret_cast<LPARAM>(pWide));
    EXPECT_EQ(std::string(79, 'x'), pAnsi->szText);
    EXPECT_EQ(std::wstring(79, L'x'), pWide->szText);
    EXPECT_EQ(std::string(256, 0x55), std::string(ansi.end() - 256, ansi.end()));
    EXPECT_EQ(std::string(512, 0x55), std::string(wide.end() - 512, wide.end()));
}

} // namespace
