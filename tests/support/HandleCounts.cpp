#include "HandleCounts.h"

#include <vector>

#include "ScriptedOperator.h"

#include <winternl.h>
#include <malloc.h>

#include <cstdint>
#include <map>

namespace {

// The process environment block holds the address of the GDI handle table: 65,536 entries of 24 bytes,
// an entry in use has a non-zero object type in byte 14.
constexpr size_t kPebGdiHandleTableOffset = 0xF8;
constexpr size_t kGdiHandleEntries = 0x10000;
constexpr size_t kGdiHandleEntrySize = 24;
constexpr size_t kGdiHandleTypeOffset = 14;

} // namespace

static const uint8_t* GdiHandleTable() {
    PROCESS_BASIC_INFORMATION info = {};
    if (::NtQueryInformationProcess(::GetCurrentProcess(), ProcessBasicInformation, &info, sizeof(info),
                                    nullptr) != 0)
        return nullptr;
    const auto* pPeb = reinterpret_cast<const uint8_t*>(info.PebBaseAddress);
    return *reinterpret_cast<const uint8_t* const*>(pPeb + kPebGdiHandleTableOffset);
}

int CountGdiObjects() {
    const uint8_t* pTable = GdiHandleTable();
    if (!pTable)
        return -1;
    int nCount = 0;
    for (size_t i = 0; i < kGdiHandleEntries; ++i) {
        if (pTable[i * kGdiHandleEntrySize + kGdiHandleTypeOffset] != 0)
            ++nCount;
    }
    return nCount;
}

std::map<int, int> CountGdiObjectsByType() {
    std::map<int, int> counts;
    const uint8_t* pTable = GdiHandleTable();
    if (!pTable)
        return counts;
    for (size_t i = 0; i < kGdiHandleEntries; ++i) {
        if (uint8_t nType = pTable[i * kGdiHandleEntrySize + kGdiHandleTypeOffset])
            ++counts[nType];
    }
    return counts;
}

std::string DescribeGdiObjects(const std::map<int, int>& counts) {
    std::string strTypes;
    for (const auto& [nType, nCount] : counts)
        strTypes += std::to_string(nType) + ":" + std::to_string(nCount) + " ";
    return strTypes;
}

int CountThreadWindows() {
    int nCount = 0;
    ::EnumThreadWindows(
        ::GetCurrentThreadId(),
        [](HWND hWnd, LPARAM lParam) -> BOOL {
            auto* pCount = reinterpret_cast<int*>(lParam);
            ++*pCount;
            ::EnumChildWindows(
                hWnd,
                [](HWND, LPARAM lChild) -> BOOL {
                    ++*reinterpret_cast<int*>(lChild);
                    return TRUE;
                },
                lParam);
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&nCount));
    return nCount;
}

int CountHeapBlocks() {
    _HEAPINFO info = {};
    int nCount = 0;
    int nStatus;
    while ((nStatus = _heapwalk(&info)) == _HEAPOK) {
        if (info._useflag == _USEDENTRY)
            ++nCount;
    }
    return nStatus == _HEAPEND ? nCount : -1;
}

HandleCounts TakeHandleCounts() {
    return {CountGdiObjects(), CountThreadWindows(), CountHeapBlocks()};
}

void FillSystemCaches(HWND hOwner) {
    // The brushes of the system colours are made at their first use.
    for (int nColor = 0; nColor <= COLOR_MENUBAR; ++nColor)
        ::GetSysColorBrush(nColor);
    for (UINT nIcon : std::initializer_list<UINT>{MB_ICONEXCLAMATION, MB_ICONQUESTION, MB_ICONINFORMATION,
                                                  MB_ICONERROR, 0}) {
        Operator answer;
        answer.Then([](HWND hBox) { PressKey(hBox, VK_ESCAPE); });
        answer.Start();
        ::MessageBoxW(hOwner, L"Soak", L"Soak", MB_OK | nIcon);
    }
    std::vector<HWND> windows;
    std::vector<HDC> dcs;
    for (int i = 0; i < 96; ++i) {
        windows.push_back(::CreateWindowW(L"STATIC", L"", WS_CHILD | WS_VISIBLE, 0, 0, 10, 10, hOwner,
                                          nullptr, nullptr, nullptr));
        dcs.push_back(::GetDC(windows.back()));
    }
    for (size_t i = 0; i < windows.size(); ++i) {
        ::ReleaseDC(windows[i], dcs[i]);
        ::DestroyWindow(windows[i]);
    }
}
