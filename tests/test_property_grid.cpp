// The extended grid on its own, with colours the version dialog never sets: grid lines without a group
// background, a group without rows, and a list longer than its window.
#include <gtest/gtest.h>

#include "WindowCapture.h"
#include "common/controls/PropertyGridEx.h"

namespace {

// A row that counts how often the grid asked it to draw its name.
class CCountedRow : public CMFCPropertyGridPropertyEx {
public:
    CCountedRow(const std::wstring& strName, int& nDrawn)
        : CMFCPropertyGridPropertyEx(strName, L"value", nullptr), m_nDrawn(nDrawn) {}
    void OnDrawName(HDC hDC, RECT rect) override {
        ++m_nDrawn;
        CMFCPropertyGridPropertyEx::OnDrawName(hDC, rect);
    }

private:
    int& m_nDrawn;
};

class PropertyGridTest : public ::testing::Test {
protected:
    PropertyGridTest() {
        CMFCPropertyGridCtrl::RegisterWindowClass(AfxGetInstanceHandle());
        frame.Attach(::CreateWindowW(L"STATIC", L"", WS_POPUP | WS_VISIBLE, 50, 50, 400, 300, nullptr,
                                     nullptr, nullptr, nullptr));
        grid.Create(WS_CHILD | WS_VISIBLE, {0, 0, 400, 300}, &frame, 1);
        grid.EnableHeaderCtrl(TRUE, L"Name", L"Value");
        grid.SetVSDotNetLook(TRUE);
        // No group background; a black line colour that must not be used for the grid lines.
        grid.SetCustomColors(RGB(255, 255, 255), 0, kGridColorNotSet, 0, kGridColorNotSet, 0, RGB(0, 0, 0));
    }
    ~PropertyGridTest() override {
        grid.DestroyWindow();
        ::DestroyWindow(frame.Detach());
    }
    CapturedImage Paint() {
        grid.AdjustLayout();
        ::InvalidateRect(grid.m_hWnd, nullptr, TRUE);
        ::UpdateWindow(grid.m_hWnd);
        return CaptureWindow(grid.m_hWnd, true);
    }

    CWnd frame;
    CMFCPropertyGridCtrlEx grid;
};

TEST_F(PropertyGridTest, WithoutGroupBackgroundLinesAreLightGrayAndAnEmptyGroupHasABareBox) {
    grid.AddProperty(std::make_unique<CMFCPropertyGridPropertyEx>(L"Empty group"));
    CMFCPropertyGridProperty* pGroup =
        grid.AddProperty(std::make_unique<CMFCPropertyGridPropertyEx>(L"Group"));
    pGroup->AddSubItem(std::make_unique<CMFCPropertyGridPropertyEx>(L"Row", L"1", nullptr));
    CapturedImage image = Paint();
    const RECT& L = grid.GetListRect();
    int rh = grid.GetRowHeight(), X = L.left + grid.GetLeftColumnWidth();
    int nRowTop = L.top + 2 * rh; // the ordinary row
    EXPECT_EQ(RGB(192, 192, 192), image.At(X, nRowTop + 1));
    EXPECT_EQ(RGB(192, 192, 192), image.At(X + 20, nRowTop + rh - 1));
    EXPECT_EQ(RGB(255, 255, 255), image.At(X + 20, nRowTop + rh - 2));
    // The empty group's box: B = (2, top + 1, rh - 1, top + rh - 3); outline, nothing inside.
    int nMidX = (2 + rh - 1) / 2, nMidY = L.top + (1 + rh - 3) / 2;
    EXPECT_EQ(RGB(88, 88, 88), image.At(2, nMidY));
    EXPECT_EQ(::GetSysColor(COLOR_3DFACE), image.At(nMidX, nMidY));
    EXPECT_EQ(RGB(88, 88, 88), image.At(nMidX, L.top + rh + (1 + rh - 3) / 2)); // the other group's minus
}

TEST_F(PropertyGridTest, DrawingStopsAtTheFirstRowBelowTheList) {
    int nDrawn = 0;
    for (int i = 0; i < 100; ++i)
        grid.AddProperty(std::make_unique<CCountedRow>(L"Row " + std::to_wstring(i), nDrawn), FALSE, FALSE);
    grid.AdjustLayout();
    // One drawing of the list, into a bitmap of the grid's size.
    auto drawList = [&] {
        nDrawn = 0;
        CWindowDC screen(nullptr);
        unique_hdc dc(::CreateCompatibleDC(screen));
        unique_hbitmap bitmap(::CreateCompatibleBitmap(screen, 400, 300));
        CSelectObject selBitmap(dc.get(), bitmap.get());
        grid.OnDrawList(dc.get());
        return nDrawn;
    };
    const RECT& L = grid.GetListRect();
    int rh = grid.GetRowHeight();
    EXPECT_EQ((L.bottom - L.top + rh - 1) / rh, drawList());
    // Scrolled to the end, the rows above the list are passed over too.
    ::SendMessageW(grid.m_hWnd, WM_VSCROLL, SB_BOTTOM, 0);
    EXPECT_EQ((L.bottom - L.top) / rh, drawList());
}

} // namespace
