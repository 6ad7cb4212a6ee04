// The detailed version information through ShowDetailVersionInfo: what it asks the host and shows, and how
// the operator moves around in its grid. (Its look in the default state is in the golden pictures, its
// outline for readers in test_accessibility.)
#include "Plugin.h"
#include "WindowCapture.h"

namespace {

constexpr COLORREF kGroupGray = RGB(196, 196, 196);

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
    ::OpenClipboard(hGrid);
    ::EmptyClipboard();
    ::CloseClipboard();
    ::SendMessageW(hGrid, WM_COPY, 0, 0);
    std::wstring strText;
    ::OpenClipboard(hGrid);
    if (HANDLE hData = ::GetClipboardData(CF_UNICODETEXT)) {
        strText = static_cast<const wchar_t*>(::GlobalLock(hData));
        ::GlobalUnlock(hData);
    }
    ::CloseClipboard();
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
    int RowMid(int nRow) const { return nListTop + nRow * nRowHeight + nRowHeight / 2; }
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
    std::vector<std::wstring> Show(std::vector<Operator::Step> steps = {}) {
        std::vector<std::wstring> rows;
        steps.insert(steps.begin(), [&](HWND hDlg) { rows = VisibleRows(GridOf(hDlg)); });
        steps.push_back([](HWND hDlg) { ::PostMessageW(hDlg, WM_COMMAND, IDCANCEL, 0); });
        EXPECT_EQ(1, Drive(std::move(steps), [&] { return session->ShowDetailVersionInfo(&software); }));
        return rows;
    }

    PluginSession session;
    SoftwareVersionRecord software = {3, 8, 1, 0, 65535, 0, "20261015"};
};

// The operator's ways to act on the grid each start from Home (Main Board, an open group); the row below
// the selection afterwards tells what they did.
TEST_F(DetailVersionInfoTest, ShowsTheHostsBoardsAsksTheHostInRowOrderAndTheOperatorOpensAndScrolls) {
    Machine().m_log.Clear();
    std::vector<std::wstring> steps;
    std::vector<std::wstring> rows = Show(
        {[&](HWND hDlg) {
             HWND hGrid = GridOf(hDlg);
             // The second driver board of the second head board, closed, opened up by the copy of its group.
             Key(hGrid, VK_HOME);
             Key(hGrid, VK_DOWN, 18);
             EXPECT_EQ(L"Driver Board2\r\n  DB Logic Version\tDBL_V1.33_20260503\r\n"
                       L"  DB Program Version\tDBP_V0.8.4_20260520\r\n",
                       Copied(hGrid));
             ::SetFocus(hGrid);
             Key(hGrid, VK_HOME);
             GridGeometry g = Measure(hGrid, CaptureWindow(hGrid, true));
             const int rh = g.nRowHeight, X = g.nDividerX;
             // The chip id does not fit its column: the tooltip shows it whole; a name that fits has none.
             steps.push_back(L"tip: " + ToolTipAt(hGrid, X + 30, g.RowMid(1)));
             steps.push_back(L"no tip: " + ToolTipAt(hGrid, rh + 10, g.RowMid(1)));
             const struct {
                 const wchar_t* pszName;
                 int nDown;
                 std::function<void()> act;
             } ways[] = {
                 // Head Board1 (row 7): a click on its box closes it; a double click on its name opens it.
                 {L"box: ", 0, [&] { Mouse(hGrid, rh / 2, g.RowMid(7)); }},
                 {L"double click: ", 0, [&] { Mouse(hGrid, rh * 3, g.RowMid(7), true); }},
                 // Driver Board1 (row 11): Right opens, Left twice climbs out and closes, + and - too.
                 {L"right: ", 11, [&] { Key(hGrid, VK_RIGHT); }},
                 {L"left: ", 12, [&] { Key(hGrid, VK_LEFT, 2); }},
                 {L"plus: ", 11, [&] { Key(hGrid, VK_ADD); }},
                 {L"minus: ", 11, [&] { Key(hGrid, VK_SUBTRACT); }},
             };
             for (const auto& way : ways) {
                 Key(hGrid, VK_HOME);
                 Key(hGrid, VK_DOWN, way.nDown);
                 way.act();
                 Key(hGrid, VK_DOWN);
                 steps.push_back(way.pszName + SelectedName(hGrid));
             }
             Key(hGrid, VK_END);
             steps.push_back(L"end: " + SelectedName(hGrid));
             Key(hGrid, VK_HOME);
         },
         // Keys go through the dialog's own loop to the grid, arrows included.
         [&](HWND hDlg) { PressKey(hDlg, VK_DOWN); },
         [&](HWND hDlg) { steps.push_back(L"posted: " + SelectedName(GridOf(hDlg))); }});
    ASSERT_EQ(32u, rows.size());
    EXPECT_EQ(
        (std::vector<std::wstring>{L"Main Board", L"Head Board1", L"Driver Board1", L"Extern Board1",
                                   L"Software Version\t3.8.1.0.65535.R.20261015",
                                   L"Machine status code2\tF(17)-M(3)",
                                   L"Machine status code5\t2026-11-28 14:07:33"}),
        (std::vector<std::wstring>{rows[0], rows[7], rows[11], rows[19], rows[23], rows[28], rows[31]}));
    EXPECT_EQ((std::vector<std::wstring>{L"tip: STM32H743-0035003B-3137510B-38323532-A7C41E09-5D2F",
                                         L"no tip: ", L"box: Head Board2", L"double click: HB Chip ID",
                                         L"right: DB Logic Version", L"left: Driver Board2",
                                         L"plus: DB Logic Version", L"minus: Driver Board2",
                                         L"end: Machine status code5", L"posted: MB Chip ID"}),
              steps);
    // The host is asked once, at opening, in the order of the rows.
    EXPECT_EQ((std::vector<std::string>{
                  "Root.GetVersionRecord", "Root.GetParameter(1002)", "Param(1002).GetIntValue",
                  "Root.GetPrinter", "Printer.GetMachineInfo", "MachineInfo.GetStatusValueA",
                  "Root.GetParameter(1003)", "Param(1003).GetIntValue", "Root.GetPrinter",
                  "Printer.GetMachineInfo", "MachineInfo.GetStatusValueB", "Root.GetController",
                  "Controller.GetStatusSource", "StatusSource.GetStatusByte", "Root.GetMachineDateTime"}),
              Machine().m_log.m_calls);
}

TEST(DetailVersionInfoModule, GridClassGoesWithTheModuleAndComesBackWithItsNextLoad) {
    WNDCLASSEXW wc = {};
    wc.cbSize = sizeof(wc);
    for (int nLoad = 0; nLoad < 2; ++nLoad) {
        HMODULE hModule = nullptr;
        {
            PluginSession session;
            hModule = session.m_plugin.m_hModule;
            SoftwareVersionRecord software = {};
            EXPECT_EQ(1, Leaving([&] { return session->ShowDetailVersionInfo(&software); }));
            EXPECT_TRUE(::GetClassInfoExW(hModule, L"PivoraPropertyGrid", &wc));
        }
        EXPECT_FALSE(::GetClassInfoExW(hModule, L"PivoraPropertyGrid", &wc));
    }
}

} // namespace
