// The version grid against a report-style list view of the same size showing the same texts: full repaints
// and scrolls by a page, measured alternately, medians and ratios; and the GDI objects a paint leaves.
//
// 8 head boards with 8 driver boards each, every group open: about 250 rows.
#include <windows.h>
#include <commctrl.h>

#include <algorithm>
#include <cstdio>
#include <functional>
#include <vector>

#include "BenchTiming.h"
#include "HandleCounts.h"
#include "SimMachine.h"
#include "common/controls/PropertyGridEx.h"
#include "dialogs/info/VersionTreeRules.h"

namespace {

constexpr int kRuns = 50;
// The grid's size in the version dialog with its 8-point dialog font.
constexpr int kWidth = 479;
constexpr int kHeight = 503;

void PumpMessages() {
    MSG msg;
    while (::PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
        ::TranslateMessage(&msg);
        ::DispatchMessageW(&msg);
    }
}

void AddRows(CMFCPropertyGridProperty& parent, const VersionTreeRow& group, std::vector<VersionTreeRow>& flat,
             int nLevel) {
    for (const VersionTreeRow& row : group.children) {
        VersionTreeRow line = row;
        line.strLabel.insert(0, static_cast<size_t>(nLevel) * 2, L' ');
        flat.push_back(line);
        std::wstring strValue(row.strValue.begin(), row.strValue.end());
        if (row.bGroup) {
            AddRows(*parent.AddSubItem(std::make_unique<CMFCPropertyGridPropertyEx>(row.strLabel, 0, FALSE)),
                    row, flat, nLevel + 1);
        } else {
            parent.AddSubItem(std::make_unique<CMFCPropertyGridPropertyEx>(row.strLabel, strValue, nullptr))
                ->AllowEdit(FALSE);
        }
    }
}

// Times one action followed by the paint it causes.
double Timed(HWND hWnd, const std::function<void()>& action) {
    double dStart = NowMs();
    action();
    ::UpdateWindow(hWnd);
    return NowMs() - dStart;
}

} // namespace

int main() {
    INITCOMMONCONTROLSEX icc = {};
    icc.dwSize = sizeof(icc);
    icc.dwICC = ICC_LISTVIEW_CLASSES;
    ::InitCommonControlsEx(&icc);
    CMFCPropertyGridCtrl::RegisterWindowClass(AfxGetInstanceHandle());

    WNDCLASSW wc = {};
    wc.lpfnWndProc = ::DefWindowProcW;
    wc.hInstance = ::GetModuleHandleW(nullptr);
    wc.lpszClassName = L"PivoraBenchFrame";
    wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    ::RegisterClassW(&wc);
    HWND hFrame = ::CreateWindowW(L"PivoraBenchFrame", L"bench", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0,
                                  2 * kWidth + 40, kHeight + 60, nullptr, nullptr, wc.hInstance, nullptr);
    CWnd frame;
    frame.Attach(hFrame);
    unique_hfont font(
        ::CreateFontW(-11, 0, 0, 0, FW_NORMAL, 0, 0, 0, DEFAULT_CHARSET, 0, 0, 0, 0, L"MS Shell Dlg"));

    // The rows of the version dialog for the largest machine the record holds.
    SimCallLog log;
    SimVersions versions(log);
    AddDefaultVersions(versions);
    BoardVersionRecord& record = versions.m_record;
    record.nHeadBoardCount = 8;
    record.nDriverBoardCount = 64;
    SoftwareVersionRecord software = {3, 8, 1, 0, 2417, 0, "20261015"};
    std::vector<VersionTreeRow> tree =
        BuildVersionTree(record, &software, VersionStatusValues{}, [](const std::wstring& s) { return s; });

    CMFCPropertyGridCtrlEx grid;
    grid.Create(WS_CHILD | WS_VISIBLE | WS_BORDER | WS_TABSTOP, {10, 10, 10 + kWidth, 10 + kHeight}, &frame,
                1);
    grid.SetFont(font.get());
    grid.EnableHeaderCtrl(TRUE, L"Module", L"Version");
    grid.EnableDescriptionArea(FALSE);
    grid.SetVSDotNetLook(TRUE);
    grid.SetCustomColors(0xE1E1E1, 0, 0xC4C4C4, 0, 0xA8A8A8, 0, 0);
    std::vector<VersionTreeRow> flat;
    for (const VersionTreeRow& group : tree) {
        flat.push_back(group);
        AddRows(*grid.AddProperty(std::make_unique<CMFCPropertyGridPropertyEx>(group.strLabel, 0, FALSE),
                                  FALSE, FALSE),
                group, flat, 1);
    }
    grid.AdjustLayout();

    HWND hList = ::CreateWindowExW(0, WC_LISTVIEWW, L"", WS_CHILD | WS_VISIBLE | WS_BORDER | LVS_REPORT,
                                   30 + kWidth, 10, kWidth, kHeight, hFrame, nullptr, wc.hInstance, nullptr);
    ::SendMessageW(hList, WM_SETFONT, reinterpret_cast<WPARAM>(font.get()), TRUE);
    LVCOLUMNW column = {};
    column.mask = LVCF_TEXT | LVCF_WIDTH;
    column.cx = kWidth / 2;
    column.pszText = const_cast<wchar_t*>(L"Module");
    ::SendMessageW(hList, LVM_INSERTCOLUMNW, 0, reinterpret_cast<LPARAM>(&column));
    column.pszText = const_cast<wchar_t*>(L"Version");
    ::SendMessageW(hList, LVM_INSERTCOLUMNW, 1, reinterpret_cast<LPARAM>(&column));
    for (size_t i = 0; i < flat.size(); ++i) {
        LVITEMW item = {};
        item.mask = LVIF_TEXT;
        item.iItem = static_cast<int>(i);
        item.pszText = const_cast<wchar_t*>(flat[i].strLabel.c_str());
        ::SendMessageW(hList, LVM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(&item));
        std::wstring strValue(flat[i].strValue.begin(), flat[i].strValue.end());
        item.iSubItem = 1;
        item.pszText = const_cast<wchar_t*>(strValue.c_str());
        ::SendMessageW(hList, LVM_SETITEMTEXTW, i, reinterpret_cast<LPARAM>(&item));
    }
    PumpMessages();
    ::UpdateWindow(hFrame);

    // Warm both up once, then count the GDI objects around a series of paints.
    for (HWND hWnd : {grid.m_hWnd, hList}) {
        ::InvalidateRect(hWnd, nullptr, TRUE);
        ::UpdateWindow(hWnd);
    }
    int nObjectsBefore = CountGdiObjects();

    std::vector<double> gridPaint, listPaint, gridScroll, listScroll;
    auto repaint = [](HWND hWnd) { return [hWnd] { ::InvalidateRect(hWnd, nullptr, TRUE); }; };
    // A page down; at the bottom back to the top first, outside the measure.
    auto pageDown = [](HWND hWnd) {
        SCROLLINFO si = {};
        si.cbSize = sizeof(si);
        si.fMask = SIF_ALL;
        ::GetScrollInfo(hWnd, SB_VERT, &si);
        if (si.nPos + static_cast<int>(si.nPage) > si.nMax) {
            ::SendMessageW(hWnd, WM_VSCROLL, SB_TOP, 0);
            ::UpdateWindow(hWnd);
        }
        return [hWnd] { ::SendMessageW(hWnd, WM_VSCROLL, SB_PAGEDOWN, 0); };
    };
    for (int i = 0; i < kRuns; ++i) {
        gridPaint.push_back(Timed(grid.m_hWnd, repaint(grid.m_hWnd)));
        listPaint.push_back(Timed(hList, repaint(hList)));
        gridScroll.push_back(Timed(grid.m_hWnd, pageDown(grid.m_hWnd)));
        listScroll.push_back(Timed(hList, pageDown(hList)));
        PumpMessages();
    }
    int nObjectsAfter = CountGdiObjects();

    double dGridPaint = Median(gridPaint), dListPaint = Median(listPaint);
    double dGridScroll = Median(gridScroll), dListScroll = Median(listScroll);
    std::printf("rows: %zu, window %d x %d, %d runs each, alternating\n", flat.size(), kWidth, kHeight,
                kRuns);
    std::printf("full repaint    grid %8.3f ms   list view %8.3f ms   ratio %.2f\n", dGridPaint, dListPaint,
                dGridPaint / dListPaint);
    std::printf("scroll a page   grid %8.3f ms   list view %8.3f ms   ratio %.2f\n", dGridScroll, dListScroll,
                dGridScroll / dListScroll);
    std::printf("GDI objects: %d before, %d after %d paints and %d scrolls of each\n", nObjectsBefore,
                nObjectsAfter, kRuns, kRuns);

    ::DestroyWindow(hList);
    grid.DestroyWindow();
    frame.Detach();
    ::DestroyWindow(hFrame);
    return nObjectsAfter == nObjectsBefore ? 0 : 1;
}
