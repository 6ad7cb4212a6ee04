// What loading Pivora.dll costs a host: LoadLibrary plus FreeLibrary of the module against a trivial DLL
// built with the same flags, so the figure shows what the module's own start-up and size add. The system
// DLLs a windowed host has loaded anyway stay loaded throughout.
//
//   bench_load_cost [rounds]     (default 30, alternating)
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <vector>
#include "BenchTiming.h"

namespace {

// Load and unload once; -1 when the DLL does not load.
double TimeLoad(const wchar_t* pszName) {
    double dStart = NowMs();
    HMODULE hModule = ::LoadLibraryW(pszName);
    if (!hModule)
        return -1;
    ::FreeLibrary(hModule);
    return NowMs() - dStart;
}

} // namespace

int main(int argc, char** argv) {
    int nRounds = argc > 1 ? std::max(1, std::atoi(argv[1])) : 30;
    // A host is a windowed program: the system DLLs the module imports are loaded before it. Held here for
    // the whole run, so the figure is what the module itself adds, not the first start of the window system.
    for (const wchar_t* pszSystem :
         {L"user32.dll", L"gdi32.dll", L"comctl32.dll", L"shlwapi.dll", L"gdiplus.dll"})
        ::LoadLibraryW(pszSystem);
    const wchar_t* pszModule = L"Pivora.dll";
    const wchar_t* pszTrivial = L"BenchTrivial.dll";
    // Unmeasured: the first load reads the files from disk.
    if (TimeLoad(pszModule) < 0 || TimeLoad(pszTrivial) < 0) {
        std::printf("Load cost: Pivora.dll or BenchTrivial.dll does not load\n");
        return 1;
    }
    std::vector<double> module, trivial;
    for (int nRound = 0; nRound < nRounds; ++nRound) {
        if (nRound % 2 == 0) {
            trivial.push_back(TimeLoad(pszTrivial));
            module.push_back(TimeLoad(pszModule));
        } else {
            module.push_back(TimeLoad(pszModule));
            trivial.push_back(TimeLoad(pszTrivial));
        }
    }
    double dTrivial = Median(trivial), dModule = Median(module);
    std::printf("\nLoad and unload, median of %d alternating rounds (ms)\n", nRounds);
    std::printf("%-26s %10s %10s %8s\n", "", "trivial", "Pivora", "ratio");
    std::printf("%-26s %10.3f %10.3f %7.2fx\n", "LoadLibrary + FreeLibrary", dTrivial, dModule,
                dModule / dTrivial);
    return 0;
}
