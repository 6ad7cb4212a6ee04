#include "HandleCounts.h"

#include <winternl.h>
#include <malloc.h>

#include <cstdint>
#include <vector>

#include "ScriptedOperator.h"

std::map<int, int> CountGdiObjectsByType() {
    // The process environment block holds the address of the GDI handle table: 65,536 entries of 24 bytes,
    // an entry in use has a non-zero object type in byte 14.
    std::map<int, int> counts;
    PROCESS_BASIC_INFORMATION info = {};
    if (::NtQueryInformationProcess(::GetCurrentProcess(), ProcessBasicInformation, &info, sizeof(info),
                                    nullptr) != 0)
        return counts;
    const auto* pTable = *reinterpret_cast<const uint8_t* const*>(
        reinterpret_cast<const uint8_t*>(info.PebBaseAddress) + 0xF8);
    for (size_t i = 0; pTable && i < 0x10000; ++i)
        if (uint8_t nType = pTable[i * 24 + 14])
            ++counts[nType];
    return counts;
}

int CountGdiObjects() {
    int nCount = 0;
    for (const auto& type : CountGdiObjectsByType())
        nCount += type.second;
    return nCount > 0 ? nCount : -1; // no table, no objects
}

std::string DescribeGdiObjects(const std::map<int, int>& counts) {
    std::string strTypes;
    for (const auto& [nType, nCount] : counts)
        strTypes += std::to_string(nType) + ":" + std::to_string(nCount) + " ";
    return strTypes;
}

int CountThreadWindows() {
    int nCount = 0;
    auto count = [](HWND hWnd, LPARAM lParam) -> BOOL {
        ++*reinterpret_cast<int*>(lParam);
        ::EnumChildWindows(
            hWnd, [](HWND, LPARAM l) { return BOOL(++*reinterpret_cast<int*>(l) > 0); }, lParam);
        return TRUE;
    };
    ::EnumThreadWindows(::GetCurrentThreadId(), count, reinterpret_cast<LPARAM>(&nCount));
    return nCount;
}

HandleCounts TakeHandleCounts() {
    _HEAPINFO info = {};
    int nHeapBlocks = 0, nStatus;
    size_t nHeapBytes = 0;
    while ((nStatus = _heapwalk(&info)) == _HEAPOK)
        if (info._useflag == _USEDENTRY)
            ++nHeapBlocks, nHeapBytes += info._size;
    return {CountGdiObjects(), CountThreadWindows(), nStatus == _HEAPEND ? nHeapBlocks : -1, nHeapBytes};
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
