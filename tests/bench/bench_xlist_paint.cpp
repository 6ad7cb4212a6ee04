// Cost of the extended list's own cell painting: one full repaint (invalidate + update) of a 16-head x
// 16-channel ink grid (48 rows x 18 columns), median of 50, next to the same list view with the same rows
// and texts painted by the list view itself; and the GDI objects alive before and after the repaints.
#include <windows.h>
#include <commctrl.h>

#include <algorithm>
#include <cstdio>
#include <memory>
#include <string>
#include <vector>

#include "BenchTiming.h"
#include "HandleCounts.h"
#include "common/controls/XListCtrl.h"

namespace {

constexpr int kHeads = 16, kChannels = 16, kRepaints = 50;

struct Ink {
    const wchar_t* pszName;
    COLORREF cr;
};
const Ink kInks[] = {{L"K", RGB(0, 0, 0)},       {L"C", RGB(0, 255, 255)},    {L"M", RGB(255, 0, 255)},
                     {L"Y", RGB(255, 255, 0)},   {L"Lc", RGB(153, 255, 255)}, {L"Lm", RGB(255, 153, 255)},
                     {L"W", RGB(255, 255, 255)}, {L"V", RGB(240, 230, 200)}};

std::wstring Label(int h, int c) {
    return std::wstring(kInks[c % 8].pszName) + L"[" + std::to_wstring(h + 1) + L"," +
           std::to_wstring(c + 1) + L"]";
}

void AddColumns(CListCtrl& list) {
    list.InsertColumn(0, L"", LVCFMT_CENTER, 0);
    list.InsertColumn(1, L"", LVCFMT_CENTER, 50);
    for (int c = 0; c < kChannels; ++c)
        list.InsertColumn(c + 2, L"CH" + std::to_wstring(c + 1), LVCFMT_CENTER, 60);
}

// The dialog's grid: ink rows (bold labels on the ink's colour), check rows, spacer rows.
void FillExtended(CXListCtrl& list) {
    AddColumns(list);
    for (int h = 0; h < kHeads; ++h) {
        for (int r = 0; r < 3; ++r)
            list.InsertItem(3 * h + r, list.m_crWindowText, list.m_crWindow);
        list.SetItemText(3 * h, 1, (L"H" + std::to_wstring(h + 1)).c_str(), 0, 0xFFFFFF);
        list.SetBold(3 * h, 1, TRUE);
        for (int c = 0; c < kChannels; ++c) {
            const COLORREF crInk = kInks[c % 8].cr;
            list.SetItemText(3 * h, c + 2, Label(h, c).c_str(), crInk == 0 ? 0xFFFFFF : 0, crInk);
            list.SetBold(3 * h, c + 2, TRUE);
            list.SetItemText(3 * h + 1, c + 2, L"", 0, 0xFFFFFF);
            list.SetCheckbox(3 * h + 1, c + 2, (h + c) % 5 == 0 ? 1 : 0);
        }
    }
}

void FillPlain(CListCtrl& list) {
    AddColumns(list);
    for (int h = 0; h < kHeads; ++h) {
        for (int r = 0; r < 3; ++r)
            list.CListCtrl::InsertItem(3 * h + r, L"");
        list.SetItemText(3 * h, 1, L"H" + std::to_wstring(h + 1));
        for (int c = 0; c < kChannels; ++c)
            list.SetItemText(3 * h, c + 2, Label(h, c));
    }
}

void CreateList(CWnd& host, CListCtrl& list, HIMAGELIST hRowHeight, bool bExtended) {
    list.CreateControl(WC_LISTVIEWW, L"", WS_BORDER | LVS_REPORT | LVS_SINGLESEL | LVS_SHAREIMAGELISTS,
                       {0, 0, 1160, 1000}, &host, bExtended ? 2 : 1);
    list.SendMessage(LVM_SETIMAGELIST, LVSIL_SMALL, reinterpret_cast<LPARAM>(hRowHeight));
    list.SetExtendedStyle(LVS_EX_GRIDLINES | LVS_EX_FULLROWSELECT);
    if (bExtended)
        FillExtended(static_cast<CXListCtrl&>(list));
    else
        FillPlain(list);
}

// One full repaint of the list, in milliseconds; the other list is hidden, so both are measured alike.
double TimeRepaint(CListCtrl& shown, CListCtrl& hidden) {
    ::ShowWindow(hidden, SW_HIDE);
    ::ShowWindow(shown, SW_SHOW);
    ::UpdateWindow(shown);
    double dStart = NowMs();
    ::InvalidateRect(shown, nullptr, TRUE);
    ::UpdateWindow(shown);
    return NowMs() - dStart;
}

} // namespace

int main() {
    INITCOMMONCONTROLSEX icc = {sizeof(icc), ICC_LISTVIEW_CLASSES};
    ::InitCommonControlsEx(&icc);

    // The probe counts what it should: one more object while a brush lives.
    const int nBase = CountGdiObjects();
    HBRUSH hProbe = ::CreateSolidBrush(RGB(1, 2, 3));
    const int nWithBrush = CountGdiObjects();
    ::DeleteObject(hProbe);
    std::printf("GDI object probe: %d objects, %d with one brush more, %d after deleting it\n", nBase,
                nWithBrush, CountGdiObjects());

    WNDCLASSW wc = {};
    wc.lpfnWndProc = ::DefWindowProcW;
    wc.hInstance = ::GetModuleHandleW(nullptr);
    wc.lpszClassName = L"BenchXListHost";
    ::RegisterClassW(&wc);
    HWND hHost = ::CreateWindowExW(0, wc.lpszClassName, L"", WS_POPUP | WS_VISIBLE, 0, 0, 1160, 1000, nullptr,
                                   nullptr, wc.hInstance, nullptr);
    auto host = std::make_unique<CWnd>();
    host->SubclassWindow(hHost);
    HIMAGELIST hRowHeight = ::ImageList_Create(1, 20, ILC_COLOR32 | ILC_MASK, 1, 1);

    CListCtrl plain;
    CXListCtrl extended;
    CreateList(*host, plain, hRowHeight, false);
    CreateList(*host, extended, hRowHeight, true);
    // Warm up: fonts, brushes and GDI+ reach their steady state.
    for (int i = 0; i < 5; ++i) {
        TimeRepaint(plain, extended);
        TimeRepaint(extended, plain);
    }
    // The two take turns, so a load elsewhere on the machine weighs on both alike.
    const int nObjectsBefore = CountGdiObjects();
    std::vector<double> plainTimes, extendedTimes;
    for (int i = 0; i < kRepaints; ++i) {
        plainTimes.push_back(TimeRepaint(plain, extended));
        extendedTimes.push_back(TimeRepaint(extended, plain));
    }
    const int nObjectsAfter = CountGdiObjects();
    const double dPlain = Median(plainTimes), dExtended = Median(extendedTimes);
    std::printf("%d rows x %d columns, one full repaint, median of %d:\n", 3 * kHeads, kChannels + 2,
                kRepaints);
    std::printf("  list view painting itself:    %8.3f ms\n", dPlain);
    std::printf("  extended list cell painting:  %8.3f ms\n", dExtended);
    std::printf("  ratio extended / list view:   %8.2f (goal: at most 1.5)\n", dExtended / dPlain);
    std::printf("  GDI objects before the repaints: %d, after: %d\n", nObjectsBefore, nObjectsAfter);
    plain.DestroyWindow();
    extended.DestroyWindow();

    ::DestroyWindow(host->Detach());
    ::ImageList_Destroy(hRowHeight);
    return nObjectsAfter == nObjectsBefore ? 0 : 1;
}
