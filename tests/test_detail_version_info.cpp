// The detailed version information, driven through ShowDetailVersionInfo as the host calls it: the rows it
// shows, what it asks the host, how the grid draws, and how the operator moves around in it.
#include <gtest/gtest.h>

#include <map>
#include <memory>

#include "Plugin.h"
#include "ScriptedOperator.h"
#include "WindowCapture.h"

namespace {

constexpr COLORREF kGroupGray = RGB(196, 196, 196);
constexpr COLORREF kListGray = RGB(225, 225, 225);
constexpr COLORREF kBoxLine = RGB(88, 88, 88);
constexpr COLORREF kSelectedGroupBlue = RGB(100, 100, 200);
constexpr UINT kSelChange = 0x072F;

HWND GridOf(HWND hDlg) {
    return ::FindWindowExW(hDlg, nullptr, L"PivoraPropertyGrid", nullptr);
}

void Key(HWND hGrid, UINT vk, int nTimes = 1) {
    for (int i = 0; i < nTimes; ++i)
        ::SendMessageW(hGrid, WM_KEYDOWN, vk, 0);
}

// The selected row as the grid copies it; empty when nothing was copied.
std::wstring Copied(HWND hGrid) {
    if (::OpenClipboard(hGrid)) {
        ::EmptyClipboard();
        ::CloseClipboard();
    }
    ::SendMessageW(hGrid, WM_COPY, 0, 0);
    std::wstring strText;
    if (::OpenClipboard(hGrid)) {
        if (HANDLE hData = ::GetClipboardData(CF_UNICODETEXT)) {
            strText = static_cast<const wchar_t*>(::GlobalLock(hData));
            ::GlobalUnlock(hData);
        }
        ::CloseClipboard();
    }
    return strText;
}

// Every row on screen, top to bottom, as the keys reach them: "name<TAB>value" or a group's name.
std::vector<std::wstring> VisibleRows(HWND hGrid) {
    std::vector<std::wstring> rows;
    Key(hGrid, VK_HOME);
    for (std::wstring strPrevious;;) {
        std::wstring strText = Copied(hGrid);
        if (strText.empty() || (strText == strPrevious && !rows.empty()))
            break;
        rows.push_back(strText.substr(0, strText.find(L"\r\n")));
        strPrevious = strText;
        Key(hGrid, VK_DOWN);
        if (Copied(hGrid) == strText) // the last row: Down stays on it
            break;
    }
    return rows;
}

std::wstring HeaderTitle(HWND hGrid, int nItem) {
    wchar_t szTitle[64] = {};
    HDITEMW item = {};
    item.mask = HDI_TEXT;
    item.pszText = szTitle;
    item.cchTextMax = 64;
    ::SendMessageW(::GetDlgItem(hGrid, 1), HDM_GETITEMW, nItem, reinterpret_cast<LPARAM>(&item));
    return szTitle;
}

// Where the list, its rows and the divider stand in the grid's client area.
struct GridGeometry {
    int nListTop = 0;
    int nRowHeight = 0;
    int nDividerX = 0;
    int RowMid(int nRow) const { return nListTop + nRow * nRowHeight + nRowHeight / 2; }
    int RowTop(int nRow) const { return nListTop + nRow * nRowHeight; }
};

// Read off the header and the picture: the first row is a group, gray down to its row line.
GridGeometry Measure(HWND hGrid, const CapturedImage& image) {
    GridGeometry g;
    HWND hHeader = ::GetDlgItem(hGrid, 1);
    RECT rc = {};
    ::GetWindowRect(hHeader, &rc);
    ::MapWindowPoints(nullptr, hGrid, reinterpret_cast<POINT*>(&rc), 2);
    g.nListTop = rc.bottom;
    ::SendMessageW(hHeader, HDM_GETITEMRECT, 0, reinterpret_cast<LPARAM>(&rc));
    g.nDividerX = rc.right;
    int y = g.nListTop;
    while (y < image.nHeight && image.At(g.nDividerX + 20, y) == kGroupGray)
        ++y;
    g.nRowHeight = y - g.nListTop;
    return g;
}

class DetailVersionInfoTest : public ::testing::Test {
protected:
    // The simulator's boards with four driver boards in all: H = 2, D = 4, E = 1.
    DetailVersionInfoTest() {
        AddDefaultVersions(Machine().m_versions);
        Machine().m_versions.m_record.nDriverBoardCount = 4;
        Machine().Parameter(kParamStatusCode2).m_nValue = 17;
        Machine().Parameter(kParamStatusCode3).m_nValue = 2;
    }
    SimMachine& Machine() { return *session.m_pMachine; }
    int32_t Show(std::vector<Operator::Step> steps, bool bSoftwareRecord = true) {
        Operator op;
        for (auto& step : steps)
            op.Then(std::move(step));
        op.Then([](HWND hDlg) { ::PostMessageW(hDlg, WM_COMMAND, IDCANCEL, 0); });
        op.Start();
        int32_t nResult = session->ShowDetailVersionInfo(bSoftwareRecord ? &software : nullptr);
        EXPECT_FALSE(op.m_bTimedOut);
        return nResult;
    }

    PluginSession session;
    SoftwareVersionRecord software = {3, 8, 1, 0, 65535, 0, "20261015"};
};

TEST_F(DetailVersionInfoTest, ShowsTheBoardTreeWithDriverBoardsClosedAndAsksTheHostInRowOrder) {
    std::vector<std::wstring> rows, header;
    std::wstring strDriverBoard;
    LONG nStyle = 0;
    RECT rcGrid = {}, rcClient = {};
    Machine().m_log.Clear();
    EXPECT_EQ(1, Show({[&](HWND hDlg) {
                  HWND hGrid = GridOf(hDlg);
                  nStyle = StyleOf(hGrid);
                  ::GetWindowRect(hGrid, &rcGrid);
                  ::MapWindowPoints(nullptr, hDlg, reinterpret_cast<POINT*>(&rcGrid), 2);
                  ::GetClientRect(hDlg, &rcClient);
                  header = {HeaderTitle(hGrid, 0), HeaderTitle(hGrid, 1)};
                  rows = VisibleRows(hGrid);
                  // The second driver board of the second head board, opened up by the copy of its group.
                  Key(hGrid, VK_HOME);
                  Key(hGrid, VK_DOWN, 18);
                  strDriverBoard = Copied(hGrid);
              }}));
    EXPECT_EQ((std::vector<std::wstring>{L"Module", L"Version"}), header);
    EXPECT_EQ(0x50810000, nStyle & 0x50810000);
    EXPECT_EQ(5, rcGrid.left);
    EXPECT_EQ(5, rcGrid.top);
    EXPECT_EQ(rcClient.right - 5, rcGrid.right);
    EXPECT_EQ(rcClient.bottom - 5, rcGrid.bottom);
    EXPECT_EQ((std::vector<std::wstring>{
                  L"Main Board",
                  L"MB Chip ID\tSTM32H743-0035003B-3137510B-38323532-A7C41E09-5D2F",
                  L"MB Serial Number\tPV2026-MB-004417",
                  L"MB Logic Version\tMBL_V3.18_20260914",
                  L"MB Program Version\tMBP_V5.2.11_20261002",
                  L"MB Firmware Configure Info\tCFG 8H-64D-8E rev.C",
                  L"MB Firmware Parameter Info\tPAR 2026-10-02 #1187",
                  L"Head Board1",
                  L"HB Chip ID\tHB-C8F1-22A0-901E",
                  L"HB Logic Version\tHBL_V2.04_20260611",
                  L"HB Program Version\tHBP_V1.9.1_20260730",
                  L"Driver Board1",
                  L"Driver Board2",
                  L"Head Board2",
                  L"HB Chip ID\tHB-C8F1-22A0-902E",
                  L"HB Logic Version\tHBL_V2.04_20260611",
                  L"HB Program Version\tHBP_V1.9.2_20260730",
                  L"Driver Board1",
                  L"Driver Board2",
                  L"Extern Board1",
                  L"EB Logic Version\tEBL_V1.01_20251120",
                  L"EB Program Version\tEBP_V1.6.0_20260112",
                  L"Software",
                  L"Software Version\t3.8.1.0.65535.R.20261015",
                  L"Device Manager Version\tDM 2.7.3.402",
                  L"Data Process Version\tDP 4.12.0.1873",
                  L"Extended information",
                  L"Machine status code1\tS1-0000 Ready",
                  L"Machine status code2\tF(17)-M(3)",
                  L"Machine status code3\tF(2)-M(-1)",
                  L"Machine status code4\t165",
                  L"Machine status code5\t2026-11-28 14:07:33",
              }),
              rows);
    EXPECT_EQ(L"Driver Board2\r\n  DB Logic Version\tDBL_V1.33_20260503\r\n"
              L"  DB Program Version\tDBP_V0.8.4_20260520\r\n",
              strDriverBoard);
    EXPECT_EQ((std::vector<std::string>{
                  "Root.GetVersionRecord", "Root.GetParameter(1002)", "Param(1002).GetIntValue",
                  "Root.GetPrinter", "Printer.GetMachineInfo", "MachineInfo.GetStatusValueA",
                  "Root.GetParameter(1003)", "Param(1003).GetIntValue", "Root.GetPrinter",
                  "Printer.GetMachineInfo", "MachineInfo.GetStatusValueB", "Root.GetController",
                  "Controller.GetStatusSource", "StatusSource.GetStatusByte", "Root.GetMachineDateTime"}),
              Machine().m_log.m_calls);
}

TEST_F(DetailVersionInfoTest, UnreadableBoardsLeaveOnlyTheHeaderAndMissingHostObjectsShowNeutralValues) {
    Machine().m_versions.m_bBoardsReadable = false;
    Machine().m_log.Clear();
    std::wstring strCopied = L"?";
    bool bHeaderShown = false, bListEmpty = true;
    Show({[&](HWND hDlg) {
        HWND hGrid = GridOf(hDlg);
        bHeaderShown = ::IsWindowVisible(::GetDlgItem(hGrid, 1));
        Key(hGrid, VK_HOME);
        strCopied = Copied(hGrid);
        CapturedImage image = CaptureWindow(hGrid, true);
        GridGeometry g = Measure(hGrid, image);
        for (int y = g.nListTop + 1; y < image.nHeight; y += 7)
            for (int x = 0; x < image.nWidth; x += 7)
                bListEmpty = bListEmpty && (image.At(x, y) == kListGray || x == g.nDividerX);
    }});
    EXPECT_TRUE(bHeaderShown);
    EXPECT_EQ(L"", strCopied);
    EXPECT_TRUE(bListEmpty);
    EXPECT_EQ((std::vector<std::string>{"Root.GetVersionRecord"}), Machine().m_log.m_calls);

    // The host hands out no printer and no controller: their numbers show 0.
    Machine().m_versions.m_bBoardsReadable = true;
    Machine().m_bHasPrinter = false;
    Machine().m_versions.m_bHasController = false;
    std::vector<std::wstring> rows;
    Show({[&](HWND hDlg) { rows = VisibleRows(GridOf(hDlg)); }});
    ASSERT_EQ(32u, rows.size());
    EXPECT_EQ(L"Machine status code2\tF(17)-M(0)", rows[28]);
    EXPECT_EQ(L"Machine status code4\t0", rows[30]);

    // No software record: its version shows empty. No host at all: an empty grid, as without boards.
    session.m_pInterface->SetHostInterface(nullptr);
    EXPECT_EQ(1, Show({[&](HWND hDlg) { rows = VisibleRows(GridOf(hDlg)); }}));
    EXPECT_TRUE(rows.empty());
    session.m_pInterface->SetHostInterface(&Machine());
    Show({[&](HWND hDlg) { rows = VisibleRows(GridOf(hDlg)); }}, false);
    ASSERT_EQ(32u, rows.size());
    EXPECT_EQ(L"Software Version\t", rows[23]);
}

TEST_F(DetailVersionInfoTest, TranslatedLabelsTakeTheirNumberDirectlyAndMissingOnesStayEnglish) {
    std::wstring strDir = TestExeDir() + L"Lang\\VersionTest\\";
    ::CreateDirectoryW((TestExeDir() + L"Lang").c_str(), nullptr);
    ::CreateDirectoryW(strDir.c_str(), nullptr);
    const std::wstring strLong(80, L'E');
    WriteUtf16File(strDir + L"Pivora.ini",
                   L"[LANG]\r\nHead Board=T\r\nModule=M\r\nExtended information=" + strLong + L"\r\n");
    session.SetLanguage(L"VersionTest");
    std::vector<std::wstring> rows;
    std::wstring strTitle;
    COLORREF crBoxEnd = 0, crBeforeBox = 0;
    Show({[&](HWND hDlg) {
        HWND hGrid = GridOf(hDlg);
        GridGeometry g = Measure(hGrid, CaptureWindow(hGrid, true));
        rows = VisibleRows(hGrid);
        strTitle = HeaderTitle(hGrid, 0);
        // The long group name is cut: selected, its blue box runs to the row's right edge, 3 pixels past
        // the name rectangle shrunk by 3.
        Key(hGrid, VK_END);
        Key(hGrid, VK_UP, 5);
        ::UpdateWindow(hGrid);
        CapturedImage image = CaptureWindow(hGrid, true);
        int y = g.nListTop;
        while (y < image.nHeight && image.At(g.nRowHeight + 1, y) != kSelectedGroupBlue)
            ++y;
        crBeforeBox = image.At(g.nRowHeight - 1, y + 2);
        crBoxEnd = image.At(image.nWidth - 1, y + 2);
    }});
    ASSERT_EQ(32u, rows.size());
    EXPECT_EQ(L"Main Board", rows[0]);
    EXPECT_EQ(L"T1", rows[7]);
    EXPECT_EQ(L"T2", rows[13]);
    EXPECT_EQ(strLong, rows[26]);
    EXPECT_EQ(L"M", strTitle);
    EXPECT_EQ(kSelectedGroupBlue, crBoxEnd);
    EXPECT_EQ(kGroupGray, crBeforeBox);
}

TEST_F(DetailVersionInfoTest, GridLinesExpandBoxesAndSelectionDrawInTheirColours) {
    std::map<std::string, COLORREF> seen;
    Show({[&](HWND hDlg) {
        HWND hGrid = GridOf(hDlg);
        ::SetFocus(hGrid);
        Key(hGrid, VK_HOME); // Main Board, an expanded group
        ::UpdateWindow(hGrid);
        CapturedImage image = CaptureWindow(hGrid, true);
        GridGeometry g = Measure(hGrid, image);
        int rh = g.nRowHeight, X = g.nDividerX;
        seen["divider"] = image.At(X, g.RowTop(1) + 1);
        seen["name beside divider"] = image.At(X - 1, g.RowTop(1) + 1);
        seen["row line"] = image.At(X + 40, g.RowTop(1) + rh - 1);
        seen["above row line"] = image.At(X + 40, g.RowTop(1) + rh - 2);
        // Expand box of the first level: B = (2, top + 1, rh - 1, top + rh - 3).
        auto box = [&](int nRow, int nLevel, int dx, int dy) {
            int nLeft = nLevel * rh + 2, nTop = g.RowTop(nRow) + 1, nRight = nLevel * rh + rh - 1,
                nBottom = g.RowTop(nRow) + rh - 3;
            int x = dx < 0 ? (nLeft + nRight) / 2 : nLeft + dx;
            int y = dy < 0 ? (nTop + nBottom) / 2 : nTop + dy;
            return image.At(x, y);
        };
        seen["box outline"] = box(0, 0, 0, -1);
        seen["minus"] = box(0, 0, 3, -1);
        seen["no plus bar"] = box(0, 0, -1, 3);
        seen["plus bar"] = box(11, 1, -1, 3); // Driver Board1, closed
        seen["blue box"] = image.At(rh + 1, g.RowMid(0));
        seen["unselected group"] = image.At(rh + 1, g.RowMid(7));
        // An ordinary row selected: highlight behind its name while the grid has the focus, button face not.
        Key(hGrid, VK_DOWN);
        ::UpdateWindow(hGrid);
        seen["focused row"] = CaptureWindow(hGrid, true).At(X - 2, g.RowMid(1));
        seen["group after"] = CaptureWindow(hGrid, true).At(rh + 1, g.RowMid(0));
        ::SetFocus(nullptr);
        ::UpdateWindow(hGrid);
        seen["unfocused row"] = CaptureWindow(hGrid, true).At(X - 2, g.RowMid(1));
    }});
    EXPECT_EQ(kGroupGray, seen["divider"]);
    EXPECT_EQ(kListGray, seen["name beside divider"]);
    EXPECT_EQ(kGroupGray, seen["row line"]);
    EXPECT_EQ(kListGray, seen["above row line"]);
    EXPECT_EQ(kBoxLine, seen["box outline"]);
    EXPECT_EQ(kBoxLine, seen["minus"]);
    EXPECT_EQ(kGroupGray, seen["no plus bar"]);
    EXPECT_EQ(kBoxLine, seen["plus bar"]);
    EXPECT_EQ(kSelectedGroupBlue, seen["blue box"]);
    EXPECT_EQ(kGroupGray, seen["unselected group"]);
    EXPECT_EQ(kGroupGray, seen["group after"]);
    EXPECT_EQ(::GetSysColor(COLOR_HIGHLIGHT), seen["focused row"]);
    EXPECT_EQ(::GetSysColor(COLOR_BTNFACE), seen["unfocused row"]);
}

// ---------------------------------------------------------------------------------------------------------
// The operator in the grid.

std::vector<std::pair<WPARAM, LPARAM>> g_selChanges;
WNDPROC g_pfnDialogProc = nullptr;

LRESULT CALLBACK RecordSelChange(HWND hWnd, UINT nMsg, WPARAM wParam, LPARAM lParam) {
    if (nMsg == kSelChange)
        g_selChanges.emplace_back(wParam, lParam);
    return ::CallWindowProcW(g_pfnDialogProc, hWnd, nMsg, wParam, lParam);
}

void Click(HWND hGrid, int x, int y, bool bDouble = false) {
    LPARAM lParam = MAKELPARAM(x, y);
    ::SendMessageW(hGrid, bDouble ? WM_LBUTTONDBLCLK : WM_LBUTTONDOWN, MK_LBUTTON, lParam);
    ::SendMessageW(hGrid, WM_LBUTTONUP, 0, lParam);
}

// The text the grid's tooltip would show after the mouse moved to (x, y); empty for a cell shown whole.
std::wstring ToolTipAt(HWND hGrid, int x, int y) {
    ::SendMessageW(hGrid, WM_MOUSEMOVE, 0, MAKELPARAM(x, y));
    struct Search {
        HWND hOwner, hTip;
    } search = {hGrid, nullptr};
    ::EnumThreadWindows(
        ::GetCurrentThreadId(),
        [](HWND hWnd, LPARAM lParam) -> BOOL {
            auto* pSearch = reinterpret_cast<Search*>(lParam);
            wchar_t szClass[64] = {};
            ::GetClassNameW(hWnd, szClass, 64);
            TTTOOLINFOW ti = {};
            ti.cbSize = sizeof(ti);
            ti.hwnd = pSearch->hOwner;
            ti.uId = 1;
            if (std::wstring(szClass) == TOOLTIPS_CLASSW &&
                ::SendMessageW(hWnd, TTM_GETTOOLINFOW, 0, reinterpret_cast<LPARAM>(&ti)))
                pSearch->hTip = hWnd;
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&search));
    wchar_t szText[256] = {};
    TTTOOLINFOW ti = {};
    ti.cbSize = sizeof(ti);
    ti.hwnd = hGrid;
    ti.uId = 1;
    ti.lpszText = szText;
    ::SendMessageW(search.hTip, TTM_GETTEXTW, 256, reinterpret_cast<LPARAM>(&ti));
    return szText;
}

std::wstring SelectedName(HWND hGrid) {
    std::wstring strText = Copied(hGrid);
    return strText.substr(0, strText.find_first_of(L"\t\r"));
}

TEST_F(DetailVersionInfoTest, OperatorOpensGroupsWithBoxDoubleClickAndKeysAndScrollsWithWheelAndKeys) {
    std::vector<std::wstring> steps;
    int nWheelScroll = -1, nPageScroll = -1;
    Show({[&](HWND hDlg) {
              HWND hGrid = GridOf(hDlg);
              CapturedImage image = CaptureWindow(hGrid, true);
              GridGeometry g = Measure(hGrid, image);
              int rh = g.nRowHeight;
              // The chip id does not fit its column: the tooltip shows it whole; a name that fits has none.
              steps.push_back(L"tip: " + ToolTipAt(hGrid, g.nDividerX + 30, g.RowMid(1)));
              steps.push_back(L"no tip: " + ToolTipAt(hGrid, rh + 10, g.RowMid(1)));
              // A click on Head Board1's box closes it; the row after it is then Head Board2.
              Click(hGrid, rh / 2, g.RowMid(7));
              Key(hGrid, VK_DOWN);
              steps.push_back(L"box: " + SelectedName(hGrid));
              // A double click on its name opens it again.
              Click(hGrid, rh * 3, g.RowMid(7), true);
              Key(hGrid, VK_DOWN);
              steps.push_back(L"double click: " + SelectedName(hGrid));
              // Right opens Driver Board1 (row 11), Down enters it; Left twice climbs out and closes it.
              Key(hGrid, VK_HOME);
              Key(hGrid, VK_DOWN, 11);
              Key(hGrid, VK_RIGHT);
              Key(hGrid, VK_DOWN);
              steps.push_back(L"right: " + SelectedName(hGrid));
              Key(hGrid, VK_LEFT);
              Key(hGrid, VK_LEFT);
              Key(hGrid, VK_DOWN);
              steps.push_back(L"left: " + SelectedName(hGrid));
              Key(hGrid, VK_UP);
              Key(hGrid, VK_ADD);
              Key(hGrid, VK_DOWN);
              steps.push_back(L"plus: " + SelectedName(hGrid));
              Key(hGrid, VK_UP);
              Key(hGrid, VK_SUBTRACT);
              Key(hGrid, VK_DOWN);
              steps.push_back(L"minus: " + SelectedName(hGrid));
              // One notch of the wheel scrolls three rows; Page Down then moves the selection out of the
              // page and the list follows it.
              Key(hGrid, VK_HOME);
              ::SendMessageW(hGrid, WM_MOUSEWHEEL, MAKEWPARAM(0, static_cast<WORD>(-WHEEL_DELTA)), 0);
              nWheelScroll = ::GetScrollPos(hGrid, SB_VERT);
              Key(hGrid, VK_HOME);
              Key(hGrid, VK_NEXT, 2);
              nPageScroll = ::GetScrollPos(hGrid, SB_VERT);
              Key(hGrid, VK_END);
              steps.push_back(L"end: " + SelectedName(hGrid));
              ::SetFocus(hGrid);
              Key(hGrid, VK_HOME);
          },
          // Keys go through the dialog's own loop to the grid, arrows included.
          [&](HWND hDlg) { PressKey(hDlg, VK_DOWN); },
          [&](HWND hDlg) { steps.push_back(L"posted: " + SelectedName(GridOf(hDlg))); }});
    EXPECT_EQ((std::vector<std::wstring>{L"tip: STM32H743-0035003B-3137510B-38323532-A7C41E09-5D2F",
                                         L"no tip: ", L"box: Head Board2", L"double click: HB Chip ID",
                                         L"right: DB Logic Version", L"left: Driver Board2",
                                         L"plus: DB Logic Version", L"minus: Driver Board2",
                                         L"end: Machine status code5", L"posted: MB Chip ID"}),
              steps);
    EXPECT_EQ(3, nWheelScroll);
    EXPECT_GT(nPageScroll, 0);
}

TEST_F(DetailVersionInfoTest, HeaderDragMovesTheDividerAndEachSelectionChangeIsSentOnce) {
    int nOldX = 0, nNewX = 0;
    COLORREF crNew = 0, crOld = 0;
    size_t nAfterSameRow = 0;
    std::vector<std::pair<WPARAM, LPARAM>> changes;
    g_selChanges.clear();
    Show({[&](HWND hDlg) {
        HWND hGrid = GridOf(hDlg);
        HWND hHeader = ::GetDlgItem(hGrid, 1);
        GridGeometry g = Measure(hGrid, CaptureWindow(hGrid, true));
        nOldX = g.nDividerX;
        ::SendMessageW(hHeader, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(nOldX, 5));
        ::SendMessageW(hHeader, WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(nOldX - 60, 5));
        // The columns follow the mouse while the button is still down.
        ::UpdateWindow(hGrid);
        CapturedImage image = CaptureWindow(hGrid, true);
        nNewX = Measure(hGrid, image).nDividerX;
        crNew = image.At(nNewX, g.RowTop(1) + 1);
        crOld = image.At(nOldX, g.RowTop(1) + 1);
        ::SendMessageW(hHeader, WM_LBUTTONUP, 0, MAKELPARAM(nOldX - 60, 5));

        g_pfnDialogProc = reinterpret_cast<WNDPROC>(
            ::SetWindowLongPtrW(hDlg, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&RecordSelChange)));
        Key(hGrid, VK_HOME);
        Key(hGrid, VK_DOWN);
        Click(hGrid, nNewX + 30, g.RowMid(1)); // the row already selected
        nAfterSameRow = g_selChanges.size();
        Click(hGrid, nNewX + 30, g.RowMid(3));
        ::SetWindowLongPtrW(hDlg, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(g_pfnDialogProc));
        changes = g_selChanges;
    }});
    EXPECT_EQ(nOldX - 60, nNewX);
    EXPECT_EQ(kGroupGray, crNew);
    EXPECT_EQ(kListGray, crOld);
    EXPECT_EQ(2u, nAfterSameRow);
    ASSERT_EQ(3u, changes.size());
    EXPECT_NE(0u, changes[0].first);
    EXPECT_EQ(0, changes[0].second);
    for (size_t i = 1; i < changes.size(); ++i) {
        EXPECT_EQ(static_cast<LPARAM>(changes[i - 1].first), changes[i].second);
        EXPECT_NE(changes[i].first, static_cast<WPARAM>(changes[i].second));
    }
}

TEST(DetailVersionInfoModule, GridClassGoesWithTheModuleAndComesBackWithItsNextLoad) {
    HMODULE hFirst = nullptr;
    for (int nLoad = 0; nLoad < 2; ++nLoad) {
        auto pSession = std::make_unique<PluginSession>();
        AddDefaultVersions(pSession->m_pMachine->m_versions);
        if (nLoad == 0)
            hFirst = pSession->m_plugin.m_hModule;
        WNDCLASSEXW wc = {};
        wc.cbSize = sizeof(wc);
        size_t nRows = 0;
        Operator op;
        op.Then([&](HWND hDlg) {
            nRows = VisibleRows(GridOf(hDlg)).size();
            ::PostMessageW(hDlg, WM_COMMAND, IDCANCEL, 0);
        });
        op.Start();
        SoftwareVersionRecord software = {};
        EXPECT_EQ(1, (*pSession)->ShowDetailVersionInfo(&software));
        EXPECT_EQ(36u, nRows);
        // The first grid registered the class.
        EXPECT_TRUE(::GetClassInfoExW(pSession->m_plugin.m_hModule, L"PivoraPropertyGrid", &wc));
        pSession.reset();
        EXPECT_FALSE(::GetClassInfoExW(hFirst, L"PivoraPropertyGrid", &wc));
    }
}

} // namespace
