// What the module gives back: GDI objects, windows of the thread and heap blocks are where they were after
// many openings and closings of every dialog, and after the module was unloaded and loaded again. (The
// soak checks the same after every dialog run with random actions inside.)
#include <cstdio>
#include <map>

#include "HandleCounts.h"
#include "Plugin.h"
#include "SimPrintFlow.h"

namespace {

// 200 cycles by hand; CI sets PIVORA_HANDLE_CYCLES to fewer, to keep its time.
int Cycles() {
    wchar_t szValue[16] = {};
    int nCycles = ::GetEnvironmentVariableW(L"PIVORA_HANDLE_CYCLES", szValue, 16) ? _wtoi(szValue) : 0;
    return nCycles > 0 && nCycles < 200 ? nCycles : 200;
}

// bHeap: the heap's blocks too (not across loads of the module, whose runtime keeps a few blocks per load).
void ExpectNoGrowth(const char* pszName, int nCycles, const std::function<int32_t()>& open,
                    bool bHeap = true) {
    for (int i = 0; i < 3; ++i)
        Leaving(open);
    // The map of the counts by type is made first, so that its own blocks are in both heap counts.
    std::map<int, int> gdiBefore = CountGdiObjectsByType();
    HandleCounts before = TakeHandleCounts();
    for (int i = 0; i < nCycles; ++i)
        Leaving(open);
    HandleCounts after = TakeHandleCounts();
    EXPECT_EQ(gdiBefore, CountGdiObjectsByType()) << pszName << ": " << DescribeGdiObjects(gdiBefore) << "-> "
                                                  << DescribeGdiObjects(CountGdiObjectsByType());
    EXPECT_EQ(before.nWindows, after.nWindows) << pszName;
    EXPECT_TRUE(!bHeap || before.nHeapBlocks == after.nHeapBlocks) << pszName;
    std::printf("%-28s %3d cycles: GDI %+d, windows %+d, heap blocks %+d\n", pszName, nCycles,
                after.nGdiObjects - before.nGdiObjects, after.nWindows - before.nWindows,
                after.nHeapBlocks - before.nHeapBlocks);
}

TEST(HandleCounts, EveryDialogOpenedAndClosedManyTimesGivesEverythingBack) {
    PluginSession session;
    session.m_pMachine = SimMachine::CreateDefault();
    session->SetHostInterface(session.m_pMachine.get());
    EnsureSimDataFolder(SimHostDir());
    FillSystemCaches(session.m_hHostWindow);
    for (const HostOperation& op : HostOperations())
        ExpectNoGrowth(op.pszName, Cycles(),
                       [&] { return op.run(session.m_pInterface.get(), *session.m_pMachine); });
}

TEST(HandleCounts, UnloadingAndLoadingTheModuleAgainLeavesNothingBehind) {
    // No other load of the module is alive here, so each cycle really unloads it.
    std::unique_ptr<SimMachine> pMachine = SimMachine::CreateDefault();
    HWND hHost = ::CreateWindowW(L"STATIC", L"Host", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0, 300, 200,
                                 nullptr, nullptr, nullptr, nullptr);
    FillSystemCaches(hHost);
    ExpectNoGrowth(
        "load, supply timeout, unload", 10,
        [&] {
            LoadedPlugin plugin;
            InterfacePtr pInterface(plugin.m_pfnNew(), InterfaceDeleter{plugin.m_pfnRelease});
            pInterface->SetHostInterface(pMachine.get());
            return pInterface->ShowSupplyInkTimeout();
        },
        false);
    ::DestroyWindow(hHost);
}

} // namespace
