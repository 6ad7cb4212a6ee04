// What the module gives back: GDI objects, windows of the thread and heap blocks are where they were after
// many openings and closings of every dialog, with and without random actions inside, and after the module
// was unloaded and loaded again.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <functional>
#include <map>
#include <random>

#include "HandleCounts.h"
#include "Plugin.h"
#include "ScriptedOperator.h"
#include "SimPrintFlow.h"

namespace {

using OpenDialog = std::function<int32_t(CPivoraProcVirtual*, SimMachine&)>;

MultiStepRecord g_record;

const std::vector<std::pair<const char*, OpenDialog>>& Dialogs() {
    static const std::vector<std::pair<const char*, OpenDialog>> s_dialogs = {
        {"print mode",
         [](CPivoraProcVirtual* p, SimMachine& m) { return p->ConfirmPrintMode(m.m_tasks[0].get()); }},
        {"print confirmation", [](CPivoraProcVirtual* p, SimMachine&) { return p->ConfirmPrint(1); }},
        {"confirmation before printing",
         [](CPivoraProcVirtual* p, SimMachine&) { return p->ConfirmPrint(0); }},
        {"multi-step",
         [](CPivoraProcVirtual* p, SimMachine& m) {
             m.m_multiStep.FillRecord(g_record, false);
             return p->ShowMultiStepPopup(&g_record);
         }},
        {"cut ink",
         [](CPivoraProcVirtual* p, SimMachine& m) {
             return p->ShowCutInkSetting(&m.m_printer, 0xFFFFFFFF, m.m_printer.m_cutInk.nValues,
                                         &m.m_printer.m_cutInk.nApplyToAll);
         }},
        {"switch ink order", [](CPivoraProcVirtual* p, SimMachine&) { return p->ShowSwitchInkOrder(); }},
        {"supply timeout", [](CPivoraProcVirtual* p, SimMachine&) { return p->ShowSupplyInkTimeout(); }},
        {"eclosion", [](CPivoraProcVirtual* p, SimMachine&) { return p->ShowCustomEclosion(1); }},
        {"version",
         [](CPivoraProcVirtual* p, SimMachine&) {
             SoftwareVersionRecord record = {};
             return p->ShowDetailVersionInfo(&record);
         }},
    };
    return s_dialogs;
}

// Acts on whatever is in front: some random actions when asked for, then Escape until it is gone (a
// question about leaving is answered with its default button).
class Actor {
public:
    Actor(std::mt19937& rng, int nActions) : m_rng(rng), m_nActions(nActions) {
        m_actor.m_nTimeoutMs = 15000;
        m_actor.WaitUntil([this](HWND hDlg) {
            Act(hDlg);
            return false;
        });
        m_actor.Start();
    }
    bool TimedOut() const { return m_actor.m_bTimedOut; }

private:
    void Act(HWND hDlg) {
        int& nTicks = m_ticks[hDlg];
        if (nTicks++ % 2 != 0)
            return;
        if (m_nActions-- <= 0) {
            PressKey(hDlg, m_nActions % 8 == 0 ? VK_RETURN : VK_ESCAPE);
            return;
        }
        std::vector<HWND> children;
        ::EnumChildWindows(
            hDlg,
            [](HWND h, LPARAM l) -> BOOL {
                if (::IsWindowVisible(h) && ::IsWindowEnabled(h))
                    reinterpret_cast<std::vector<HWND>*>(l)->push_back(h);
                return TRUE;
            },
            reinterpret_cast<LPARAM>(&children));
        if (children.empty())
            return;
        HWND hChild = children[m_rng() % children.size()];
        wchar_t szClass[32] = {};
        ::GetClassNameW(hChild, szClass, 32);
        std::wstring strClass = szClass;
        int nId = ::GetDlgCtrlID(hChild);
        if (strClass == L"Edit") {
            ::PostMessageW(hDlg, WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(hChild), TRUE);
            ::SetWindowTextW(hChild, m_rng() % 2 ? L"abc" : L"3.5");
            ::PostMessageW(hDlg, WM_NEXTDLGCTL, 0, FALSE);
        } else if (strClass == TRACKBAR_CLASSW) {
            ::SendMessageW(hChild, TBM_SETPOS, TRUE, static_cast<LPARAM>(m_rng() % 9));
            ::PostMessageW(hDlg, WM_HSCROLL, MAKEWPARAM(TB_THUMBTRACK, 0), reinterpret_cast<LPARAM>(hChild));
        } else if (strClass == L"Button" && nId != IDOK && nId != IDCANCEL) {
            ::PostMessageW(hChild, BM_CLICK, 0, 0);
        } else {
            static const UINT kKeys[] = {VK_TAB, VK_DOWN, VK_UP, VK_SPACE, VK_HOME, VK_END};
            PressKey(hDlg, kKeys[m_rng() % 6]);
        }
        ::PostMessageW(hDlg, WM_TIMER, 1, 0);
    }

    Operator m_actor;
    std::mt19937& m_rng;
    int m_nActions;
    std::map<HWND, int> m_ticks;
};

class HandleCountsTest : public ::testing::Test {
protected:
    void SetUp() override {
        session.m_pMachine = SimMachine::CreateDefault();
        session->SetHostInterface(session.m_pMachine.get());
        EnsureSimDataFolder(SimHostDir());
        FillSystemCaches(session.m_hHostWindow);
    }
    void Cycle(const OpenDialog& run, int nActions) {
        // The host starts over each time, so the dialog shows the same and "No more hints" stays off.
        Actor actor(m_rng, nActions);
        run(session.m_pInterface.get(), *session.m_pMachine);
        EXPECT_FALSE(actor.TimedOut());
    }
    void ExpectNoGrowth(const char* pszName, int nCycles, int nActions) {
        const OpenDialog& run = std::find_if(Dialogs().begin(), Dialogs().end(), [pszName](const auto& d) {
                                    return std::string(d.first) == pszName;
                                })->second;
        for (int i = 0; i < 3; ++i)
            Cycle(run, nActions);
        // The map of the counts by type is made first, so that its own blocks are in both heap counts.
        std::map<int, int> gdiBefore = CountGdiObjectsByType();
        HandleCounts before = TakeHandleCounts();
        for (int i = 0; i < nCycles; ++i)
            Cycle(run, nActions);
        HandleCounts after = TakeHandleCounts();
        std::map<int, int> gdiAfter = CountGdiObjectsByType();
        // Random actions now and then make the system's controls load a bitmap they then keep (a cache
        // that later cycles do not grow); a few are let pass and shown.
        if (nActions > 0 && gdiAfter[kGdiTypeBitmap] - gdiBefore[kGdiTypeBitmap] <= 4)
            gdiAfter[kGdiTypeBitmap] = gdiBefore[kGdiTypeBitmap];
        EXPECT_EQ(gdiBefore, gdiAfter) << pszName << ": " << DescribeGdiObjects(gdiBefore) << "-> "
                                       << DescribeGdiObjects(CountGdiObjectsByType());
        EXPECT_EQ(before.nWindows, after.nWindows) << pszName;
        EXPECT_EQ(before.nHeapBlocks, after.nHeapBlocks) << pszName;
        std::printf("%-30s %3d cycles: GDI %+d, windows %+d, heap blocks %+d\n", pszName, nCycles,
                    after.nGdiObjects - before.nGdiObjects, after.nWindows - before.nWindows,
                    after.nHeapBlocks - before.nHeapBlocks);
    }

    PluginSession session;
    std::mt19937 m_rng{7};
};

// 200 and 50 cycles by hand; CI sets PIVORA_HANDLE_CYCLES to fewer, to keep its time.
int Cycles(int nFull) {
    wchar_t szValue[16] = {};
    if (::GetEnvironmentVariableW(L"PIVORA_HANDLE_CYCLES", szValue, 16) == 0)
        return nFull;
    int nCycles = _wtoi(szValue);
    return nCycles > 0 && nCycles < nFull ? nCycles : nFull;
}

TEST_F(HandleCountsTest, OpenAndCloseEachDialog200Times) {
    for (const auto& dialog : Dialogs())
        ExpectNoGrowth(dialog.first, Cycles(200), 0);
}

TEST_F(HandleCountsTest, FiftyCyclesWithRandomActionsInside) {
    for (const auto& dialog : Dialogs())
        ExpectNoGrowth(dialog.first, Cycles(50), 12);
}

TEST(HandleCountsReload, UnloadingAndLoadingTheModuleAgainLeavesNothingBehind) {
    // No other load of the module is alive here, so each cycle really unloads it.
    std::unique_ptr<SimMachine> pMachine = SimMachine::CreateDefault();
    std::mt19937 rng(3);
    HWND hHost = ::CreateWindowW(L"STATIC", L"Host", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0, 300, 200,
                                 nullptr, nullptr, nullptr, nullptr);
    FillSystemCaches(hHost);
    auto cycle = [&] {
        LoadedPlugin plugin;
        InterfacePtr pInterface(plugin.m_pfnNew(), InterfaceDeleter{plugin.m_pfnRelease});
        pInterface->SetHostInterface(pMachine.get());
        Actor actor(rng, 0);
        pInterface->ShowSupplyInkTimeout();
    };
    for (int i = 0; i < 3; ++i)
        cycle();
    HandleCounts before = TakeHandleCounts();
    std::map<int, int> gdiBefore = CountGdiObjectsByType();
    for (int i = 0; i < 10; ++i)
        cycle();
    HandleCounts after = TakeHandleCounts();
    EXPECT_EQ(before.nGdiObjects, after.nGdiObjects)
        << DescribeGdiObjects(gdiBefore) << "-> " << DescribeGdiObjects(CountGdiObjectsByType());
    EXPECT_EQ(before.nWindows, after.nWindows);
    ::DestroyWindow(hHost);
}

} // namespace
