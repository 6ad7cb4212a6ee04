// The detailed version information through ShowDetailVersionInfo: what it asks the host and shows, and how
// the operator moves around in its grid. (Its look in the default state is in the golden pictures.)
#include <map>
#include <memory>

#include "Plugin.h"
#include "WindowCapture.h"

namespace {

constexpr COLORREF kGroupGray = RGB(196, 196, 196), kListGray = RGB(225, 225, 225),
                   kBoxLine = RGB(88, 88, 88), kSelectedGroupBlue = RGB(100, 100, 200);
constexpr UINT kSelChange = 0x072F;

HWND GridOf(HWND hDlg) {
    return ::FindWindowExW(hDlg, nullptr, L"PivoraPropertyGrid", nullptr);
}

void Key(HWND hGrid, UINT vk, int nTimes = 1) {
    for (int i = 0; i < nTimes; ++i)
        ::SendMessageW(hGrid, WM_KEYDOWN, vk, 0);
}

void Mouse(HWND hGrid, int x, int y, bool bDouble = false) {
    ::SendMessageW(hGrid, bDouble ? WM_LBUTTONDBLCLK : WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(x, y));
    ::SendMessageW(hGrid, WM_LBUTTONUP, 0, MAKELPARAM(x, y));
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
std::wstring SelectedName(HWND hGrid) {
    std::wstring strText = Copied(hGrid);
    return strText.substr(0, strText.find_first_of(L"\t\r"));
}

// Every row on screen, top to bottom, as the keys reach them: "name<TAB>value" or a group's name.
std::vector<std::wstring> VisibleRows(HWND hGrid) {
    std::vector<std::wstring> rows;
    Key(hGrid, VK_HOME);
    for (std::wstring strText = Copied(hGrid); !strText.empty();) {
        rows.push_back(strText.substr(0, strText.find(L"\r\n")));
        Key(hGrid, VK_DOWN);
        std::wstring strNext = Copied(hGrid);
        strText = strNext == strText ? L"" : strNext; // the last row: Down stays on it
    }
    return rows;
}

// Where the list and its rows stand in the grid's client area: read off the header and the picture, where
// the first row is a group, gray down to its row line.
struct GridGeometry {
    int nListTop = 0, nRowHeight = 0, nDividerX = 0;
    int RowTop(int nRow) const { return nListTop + nRow * nRowHeight; }
    int RowMid(int nRow) const { return RowTop(nRow) + nRowHeight / 2; }
};
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

// The text the grid's tooltip would show after the mouse moved to (x, y); empty for a cell shown whole.
std::wstring ToolTipAt(HWND hGrid, int x, int y) {
    ::SendMessageW(hGrid, WM_MOUSEMOVE, 0, MAKELPARAM(x, y));
    wchar_t szText[256] = {};
    TTTOOLINFOW ti = {};
    ti.cbSize = sizeof(ti);
    ti.hwnd = hGrid;
    ti.uId = 1;
    ti.lpszText = szText;
    for (HWND hTip = nullptr; (hTip = ::FindWindowExW(nullptr, hTip, TOOLTIPS_CLASSW, nullptr));)
        if (::GetWindowThreadProcessId(hTip, nullptr) == ::GetCurrentThreadId() &&
            ::SendMessageW(hTip, TTM_GETTOOLINFOW, 0, reinterpret_cast<LPARAM>(&ti)))
            ::SendMessageW(hTip, TTM_GETTEXTW, 256, reinterpret_cast<LPARAM>(&ti));
    return szText;
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
    // Shows the dialog with the operator's steps, and leaves it; the rows it showed at first, or the
    // record's.
    std::vector<std::wstring> Show(std::vector<Operator::Step> steps = {}, bool bSoftwareRecord = true) {
        std::vector<std::wstring> rows;
        steps.insert(steps.begin(), [&](HWND hDlg) { rows = VisibleRows(GridOf(hDlg)); });
        steps.push_back([](HWND hDlg) { ::PostMessageW(hDlg, WM_COMMAND, IDCANCEL, 0); });
        EXPECT_EQ(1, Drive(std::move(steps), [&] {
                      return session->ShowDetailVersionInfo(bSoftwareRecord ? &software : nullptr);
                  }));
        return rows;
    }

    PluginSession session;
    SoftwareVersionRecord software = {3, 8, 1, 0, 65535, 0, "20261015"};
};

TEST_F(DetailVersionInfoTest, ShowsTheHostsBoardsSoftwareAndStatusAndAsksTheHostInRowOrder) {
    Machine().m_log.Clear();
    std::wstring strDriverBoard;
    std::vector<std::wstring> rows = Show({[&](HWND hDlg) {
        // The second driver board of the second head board, closed, opened up by the copy of its group.
        Key(GridOf(hDlg), VK_HOME);
        Key(GridOf(hDlg), VK_DOWN, 18);
        strDriverBoard = Copied(GridOf(hDlg));
    }});
    ASSERT_EQ(32u, rows.size());
    const std::pair<size_t, const wchar_t*> kRows[] = {
        {0, L"Main Board"},
        {1, L"MB Chip ID\tSTM32H743-0035003B-3137510B-38323532-A7C41E09-5D2F"},
        {7, L"Head Board1"},
        {11, L"Driver Board1"},
        {14, L"HB Chip ID\tHB-C8F1-22A0-902E"},
        {19, L"Extern Board1"},
        {23, L"Software Version\t3.8.1.0.65535.R.20261015"},
        {25, L"Data Process Version\tDP 4.12.0.1873"},
        {28, L"Machine status code2\tF(17)-M(3)"},
        {29, L"Machine status code3\tF(2)-M(-1)"},
        {30, L"Machine status code4\t165"},
        {31, L"Machine status code5\t2026-11-28 14:07:33"}};
    for (auto [nRow, pszText] : kRows)
        EXPECT_EQ(pszText, rows[nRow]);
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

TEST_F(DetailVersionInfoTest, WhatTheHostCannotGiveShowsEmptyOrZero) {
    // Unreadable boards: only the header, and the host is asked nothing more.
    Machine().m_versions.m_bBoardsReadable = false;
    Machine().m_log.Clear();
    bool bHeaderShown = false;
    EXPECT_TRUE(
        Show({[&](HWND hDlg) { bHeaderShown = ::IsWindowVisible(::GetDlgItem(GridOf(hDlg), 1)); }}).empty());
    EXPECT_TRUE(bHeaderShown);
    EXPECT_EQ((std::vector<std::string>{"Root.GetVersionRecord"}), Machine().m_log.m_calls);
    // No printer and no controller: their numbers show 0. No software record: its version shows empty.
    Machine().m_versions.m_bBoardsReadable = true;
    Machine().m_bHasPrinter = false;
    Machine().m_versions.m_bHasController = false;
    std::vector<std::wstring> rows = Show({}, false);
    ASSERT_EQ(32u, rows.size());
    EXPECT_EQ((std::vector<std::wstring>{L"Software Version\t", L"Machine status code2\tF(17)-M(0)",
                                         L"Machine status code4\t0"}),
              (std::vector<std::wstring>{rows[23], rows[28], rows[30]}));
    // No host at all: an empty grid.
    session->SetHostInterface(nullptr);
    EXPECT_TRUE(Show().empty());
}

TEST_F(DetailVersionInfoTest, TranslatedLabelsTakeTheirNumberDirectlyAndMissingOnesStayEnglish) {
    std::wstring strDir = TestExeDir() + L"Lang\\VersionTest\\";
    ::CreateDirectoryW((TestExeDir() + L"Lang").c_str(), nullptr);
    ::CreateDirectoryW(strDir.c_str(), nullptr);
    WriteUtf16File(strDir + L"Pivora.ini", L"[LANG]\r\nHead Board=T\r\nModule=M\r\n");
    session.SetLanguage(L"VersionTest");
    std::wstring strTitle;
    std::vector<std::wstring> rows = Show({[&](HWND hDlg) {
        wchar_t szTitle[64] = {};
        HDITEMW item = {};
        item.mask = HDI_TEXT;
        item.pszText = szTitle;
        item.cchTextMax = 64;
        ::SendMessageW(::GetDlgItem(GridOf(hDlg), 1), HDM_GETITEMW, 0, reinterpret_cast<LPARAM>(&item));
        strTitle = szTitle;
    }});
    ASSERT_EQ(32u, rows.size());
    EXPECT_EQ((std::vector<std::wstring>{L"Main Board", L"T1", L"T2", L"M"}),
              (std::vector<std::wstring>{rows[0], rows[7], rows[13], strTitle}));
}

TEST_F(DetailVersionInfoTest, TheOperatorOpensGroupsWithBoxClickDoubleClickAndKeysAndScrolls) {
    std::vector<std::wstring> steps;
    int nWheelScroll = -1, nPageScroll = -1;
    std::map<std::string, COLORREF> seen;
    Show({[&](HWND hDlg) {
              HWND hGrid = GridOf(hDlg);
              ::SetFocus(hGrid);
              Key(hGrid, VK_HOME); // Main Board, an open group, selected
              CapturedImage image = CaptureWindow(hGrid, true);
              GridGeometry g = Measure(hGrid, image);
              const int rh = g.nRowHeight, X = g.nDividerX;
              // The lines, the boxes of an open and a closed group, and the selected group's blue box.
              seen = {{"divider", image.At(X, g.RowTop(1) + 1)},
                      {"row line", image.At(X + 40, g.RowTop(1) + rh - 1)},
                      {"list", image.At(X + 40, g.RowTop(1) + rh - 2)},
                      {"box", image.At(2, g.RowTop(0) + rh / 2 - 1)},
                      {"no plus bar", image.At((rh + 1) / 2, g.RowTop(0) + 4)},
                      {"plus bar", image.At(rh + (rh + 1) / 2, g.RowTop(11) + 4)},
                      {"selected group", image.At(rh + 1, g.RowMid(0))},
                      {"group", image.At(rh + 1, g.RowMid(7))}};
              // The chip id does not fit its column: the tooltip shows it whole; a name that fits has none.
              steps.push_back(L"tip: " + ToolTipAt(hGrid, X + 30, g.RowMid(1)));
              steps.push_back(L"no tip: " + ToolTipAt(hGrid, rh + 10, g.RowMid(1)));
              // A click on Head Board1's box closes it; a double click on its name opens it again.
              Mouse(hGrid, rh / 2, g.RowMid(7));
              Key(hGrid, VK_DOWN);
              steps.push_back(L"box: " + SelectedName(hGrid));
              Mouse(hGrid, rh * 3, g.RowMid(7), true);
              Key(hGrid, VK_DOWN);
              steps.push_back(L"double click: " + SelectedName(hGrid));
              // On Driver Board1 (row 11): Right opens, Left twice climbs out and closes, + and - too.
              for (auto [vk, pszName] : {std::pair{VK_RIGHT, L"right: "},
                                         {VK_LEFT, L"left: "},
                                         {VK_ADD, L"plus: "},
                                         {VK_SUBTRACT, L"minus: "}}) {
                  Key(hGrid, VK_HOME);
                  Key(hGrid, VK_DOWN, vk == VK_LEFT ? 12 : 11); // Left starts inside the board Right opened
                  Key(hGrid, vk, vk == VK_LEFT ? 2 : 1);
                  Key(hGrid, VK_DOWN);
                  steps.push_back(pszName + SelectedName(hGrid));
              }
              // One notch of the wheel scrolls three rows; Page Down moves the selection and the list
              // follows.
              Key(hGrid, VK_HOME);
              ::SendMessageW(hGrid, WM_MOUSEWHEEL, MAKEWPARAM(0, static_cast<WORD>(-WHEEL_DELTA)), 0);
              nWheelScroll = ::GetScrollPos(hGrid, SB_VERT);
              Key(hGrid, VK_HOME);
              Key(hGrid, VK_NEXT, 2);
              nPageScroll = ::GetScrollPos(hGrid, SB_VERT);
              Key(hGrid, VK_END);
              steps.push_back(L"end: " + SelectedName(hGrid));
              ::SetFocus(nullptr); // a selected row without the focus is on the button face
              Key(hGrid, VK_HOME);
              Key(hGrid, VK_DOWN);
              seen["unfocused row"] = CaptureWindow(hGrid, true).At(X - 2, g.RowMid(1));
              ::SetFocus(hGrid);
              seen["focused row"] = CaptureWindow(hGrid, true).At(X - 2, g.RowMid(1));
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
    EXPECT_EQ((std::map<std::string, COLORREF>{{"divider", kGroupGray},
                                               {"row line", kGroupGray},
                                               {"list", kListGray},
                                               {"box", kBoxLine},
                                               {"no plus bar", kGroupGray},
                                               {"plus bar", kBoxLine},
                                               {"selected group", kSelectedGroupBlue},
                                               {"group", kGroupGray},
                                               {"unfocused row", ::GetSysColor(COLOR_BTNFACE)},
                                               {"focused row", ::GetSysColor(COLOR_HIGHLIGHT)}}),
              seen);
}

std::vector<std::pair<WPARAM, LPARAM>> g_selChanges;
WNDPROC g_pfnDialogProc = nullptr;
LRESULT CALLBACK RecordSelChange(HWND hWnd, UINT nMsg, WPARAM wParam, LPARAM lParam) {
    if (nMsg == kSelChange)
        g_selChanges.emplace_back(wParam, lParam);
    return ::CallWindowProcW(g_pfnDialogProc, hWnd, nMsg, wParam, lParam);
}

TEST_F(DetailVersionInfoTest, HeaderDragMovesTheDividerAndEachSelectionChangeIsSentOnce) {
    int nOldX = 0, nNewX = 0;
    size_t nAfterSameRow = 0;
    g_selChanges.clear();
    Show({[&](HWND hDlg) {
        HWND hGrid = GridOf(hDlg), hHeader = ::GetDlgItem(hGrid, 1);
        Key(hGrid, VK_HOME);
        GridGeometry g = Measure(hGrid, CaptureWindow(hGrid, true));
        nOldX = g.nDividerX;
        ::SendMessageW(hHeader, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(nOldX, 5));
        ::SendMessageW(hHeader, WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(nOldX - 60, 5));
        nNewX = Measure(hGrid, CaptureWindow(hGrid, true)).nDividerX; // followed while the button is down
        ::SendMessageW(hHeader, WM_LBUTTONUP, 0, MAKELPARAM(nOldX - 60, 5));
        g_pfnDialogProc = reinterpret_cast<WNDPROC>(
            ::SetWindowLongPtrW(hDlg, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&RecordSelChange)));
        Key(hGrid, VK_DOWN);
        Mouse(hGrid, nNewX + 30, g.RowMid(1)); // the row already selected
        nAfterSameRow = g_selChanges.size();
        Mouse(hGrid, nNewX + 30, g.RowMid(3));
        ::SetWindowLongPtrW(hDlg, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(g_pfnDialogProc));
    }});
    EXPECT_EQ(nOldX - 60, nNewX);
    EXPECT_EQ(1u, nAfterSameRow);
    // Each names the new row and the one before it.
    ASSERT_EQ(2u, g_selChanges.size());
    for (size_t i = 1; i < g_selChanges.size(); ++i) {
        EXPECT_EQ(static_cast<LPARAM>(g_selChanges[i - 1].first), g_selChanges[i].second);
        EXPECT_NE(g_selChanges[i].first, static_cast<WPARAM>(g_selChanges[i].second));
    }
}

TEST(DetailVersionInfoModule, GridClassGoesWithTheModuleAndComesBackWithItsNextLoad) {
    HMODULE hFirst = nullptr;
    WNDCLASSEXW wc = {};
    wc.cbSize = sizeof(wc);
    for (int nLoad = 0; nLoad < 2; ++nLoad) {
        auto pSession = std::make_unique<PluginSession>();
        AddDefaultVersions(pSession->m_pMachine->m_versions);
        hFirst = nLoad == 0 ? pSession->m_plugin.m_hModule : hFirst;
        EXPECT_TRUE(::GetClassInfoExW(pSession->m_plugin.m_hModule, L"PivoraPropertyGrid", &wc));
        size_t nRows = 0;
        SoftwareVersionRecord software = {};
        EXPECT_EQ(1, Drive({[&](HWND hDlg) {
                               nRows = VisibleRows(GridOf(hDlg)).size();
                               ::PostMessageW(hDlg, WM_COMMAND, IDCANCEL, 0);
                           }},
                           [&] { return (*pSession)->ShowDetailVersionInfo(&software); }));
        EXPECT_EQ(36u, nRows);
        pSession.reset();
        EXPECT_FALSE(::GetClassInfoExW(hFirst, L"PivoraPropertyGrid", &wc));
    }
}

} // namespace
