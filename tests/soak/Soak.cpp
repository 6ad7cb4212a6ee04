// A random operator over every operation of the simulator's default machine: pivora_soak [ACTIONS] [SEED]
// (2000 actions, seed 1), while the host moves Z, nests calls and takes its root object away for a while.
// Each failure names the seed and action that reproduce it; the exit code counts them (at most 100).
#include <windows.h>
#include <commctrl.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <random>

#include "HandleCounts.h"
#include "Plugin.h"
#include "SimPrintFlow.h"
#include "res/resource.h"

namespace {

// Unchecked random actions before the checked run, to fill the system's caches.
constexpr long kWarmUpActions = 600;
// GDI objects of each type the system may still add to its caches in the checked run.
constexpr int kSystemCacheObjects = 8;

// Every operation with the host's side and the arguments chosen at random.
const std::vector<HostOperation>& Operations();

// The visible, enabled direct children of a dialog of one window class.
std::vector<HWND> Children(HWND hDlg, const wchar_t* pszClass) {
    std::vector<HWND> children;
    wchar_t szClass[64];
    for (HWND h = ::GetWindow(hDlg, GW_CHILD); h; h = ::GetWindow(h, GW_HWNDNEXT))
        if (::GetClassNameW(h, szClass, 64) && ::lstrcmpiW(szClass, pszClass) == 0 && ::IsWindowVisible(h) &&
            ::IsWindowEnabled(h))
            children.push_back(h);
    return children;
}

class Soak {
public:
    Soak(long nActions, uint64_t nSeed) : m_nSeed(nSeed), m_nTarget(nActions), m_rng(nSeed) {}
    int Run();
    void Say(const std::string& strWhat) {
        std::printf("%s at action %ld (seed %llu)\n  reproduce: ./pivora.sh soak %ld %llu\n", strWhat.c_str(),
                    m_nActions, static_cast<unsigned long long>(m_nSeed), m_nActions,
                    static_cast<unsigned long long>(m_nSeed));
        std::fflush(stdout);
    }
    int Below(int n) { return n <= 1 ? 0 : static_cast<int>(m_rng() % static_cast<uint64_t>(n)); }
    bool Chance(int nPercent) { return Below(100) < nPercent; }
    template <class T> const T& Pick(const std::vector<T>& items) {
        return items[static_cast<size_t>(Below(static_cast<int>(items.size())))];
    }

    uint64_t m_nSeed;
    volatile long m_nActions = 0;
    std::unique_ptr<SimMachine> m_pMachine = SimMachine::CreateDefault();

private:
    void Fail(const std::string& strWhat) {
        ++m_nFailures;
        Say("FAIL: " + strWhat);
    }
    void LoadModule();
    void Expect(const HostOperation& op, int32_t nResult, const char* pszContext = "") {
        if (!op.Documented(nResult))
            Fail(std::string(pszContext) + op.pszName + " returned " + std::to_string(nResult));
    }
    void Act(HWND hDlg);
    void Check(const char* pszAfter);

    long m_nTarget;
    std::mt19937_64 m_rng;
    std::unique_ptr<LoadedPlugin> m_pPlugin;
    InterfacePtr m_pInterface{nullptr, InterfaceDeleter{nullptr}};
    SimZAxisMotion m_zMotion{10.0, 15.0, 0.04};
    SimCutInkSettings m_cutInkBefore;
    int m_nRuns = 0, m_nFailures = 0, m_nDepth = 0;
    bool m_bRootGone = false;
    const HostOperation* m_pNested = nullptr; // armed: runs at the host's next call
    std::map<HWND, int> m_budgets;            // actions left before the operator closes that dialog
};
Soak* g_pSoak = nullptr;

void Soak::LoadModule() {
    // A new module starts its flags over ("No more hints" would otherwise hide two dialogs for good).
    m_pInterface.reset();
    m_pPlugin = std::make_unique<LoadedPlugin>();
    m_pInterface = InterfacePtr(m_pPlugin->m_pfnNew(), InterfaceDeleter{m_pPlugin->m_pfnRelease});
    LanguageRecord record = {};
    std::u16string(Chance(50) ? u"Chs" : u"English").copy(record.szFolderName, kLanguageFolderNameChars - 1);
    m_pInterface->SetLanguage(&record);
    m_pInterface->SetHostInterface(m_pMachine.get());
}

// Texts an operator might type: numbers, non-numbers, negative, huge, and a very long one.
// clang-format off
const std::vector<std::wstring> kTexts = {L"0", L"1", L"2.5", L"10", L"499.99", L"500", L"500.01", L"-1", L"-0.001",
    L"1e308", L"1e999", L"nan", L"inf", L"abc", L"", L" 7 ", L"12,5", L"0x10", L"99999999999999999999", L"%s%n%x",
    L"200", L"-200", std::wstring(10000, L'9')};
const std::vector<UINT> kKeys = {VK_TAB, VK_RETURN, VK_ESCAPE, VK_LEFT, VK_RIGHT, VK_UP, VK_DOWN, VK_HOME, VK_END,
    VK_SPACE, VK_TAB, VK_DOWN, VK_PRIOR, VK_NEXT};
// The buttons that end a dialog or a message box.
const std::vector<int> kWaysOut = {IDCANCEL, IDYES, IDOK, IDC_SUPPLY_INK_CANCEL, IDC_CANCEL_PRINT,
    IDC_MULTI_STEP_FINISH};
// clang-format on

void Soak::Act(HWND hDlg) {
    int& nBudget = m_budgets.emplace(hDlg, 3 + Below(40)).first->second;
    ++m_nActions;
    auto post = [hDlg](HWND hCtrl, UINT nCode) {
        ::PostMessageW(hDlg, WM_COMMAND, MAKEWPARAM(::GetDlgCtrlID(hCtrl), nCode),
                       reinterpret_cast<LPARAM>(hCtrl));
    };
    if (nBudget-- <= 0 || m_nActions >= m_nTarget) {
        // The dialog is left through one of its buttons, the close box or Escape.
        HWND hButton = ::GetDlgItem(hDlg, Pick(kWaysOut));
        if (hButton && ::IsWindowVisible(hButton) && ::IsWindowEnabled(hButton) && Chance(50))
            ::PostMessageW(hButton, BM_CLICK, 0, 0);
        else if (Chance(30))
            ::PostMessageW(hDlg, WM_SYSCOMMAND, SC_CLOSE, 0);
        else
            PressKey(hDlg, VK_ESCAPE);
        return;
    }
    const int nKind = Below(100);
    if (nKind < 28) {
        std::vector<HWND> buttons = Children(hDlg, L"Button");
        HWND hButton = buttons.empty() ? nullptr : Pick(buttons);
        // Buttons that would end the dialog at once are pressed less often, so the dialogs live.
        int nId = ::GetDlgCtrlID(hButton);
        if (hButton && ((nId != IDOK && nId != IDCANCEL) || Chance(40)))
            ::PostMessageW(hButton, BM_CLICK, 0, 0);
    } else if (nKind < 42) {
        UINT vk = Pick(kKeys);
        PressKey(hDlg, (vk == VK_RETURN || vk == VK_ESCAPE) && Chance(60) ? VK_TAB : vk);
    } else if (nKind < 56) {
        std::vector<HWND> edits = Children(hDlg, L"Edit");
        if (edits.empty())
            return;
        HWND hEdit = Pick(edits);
        ::PostMessageW(hDlg, WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(hEdit), TRUE);
        ::SetWindowTextW(hEdit, Pick(kTexts).c_str());
        if (Chance(70)) // leaving the field, as the operator's next click or Tab does
            ::PostMessageW(hDlg, WM_NEXTDLGCTL, 0, FALSE);
    } else if (nKind < 70) {
        // A choice in a combo box or list box; a list box may also lose its selection.
        bool bCombo = nKind < 64;
        std::vector<HWND> lists = Children(hDlg, bCombo ? L"ComboBox" : L"ListBox");
        if (lists.empty())
            return;
        HWND hList = Pick(lists);
        int nCount = static_cast<int>(::SendMessageW(hList, bCombo ? CB_GETCOUNT : LB_GETCOUNT, 0, 0));
        int nPick = nCount <= 0 ? -1 : bCombo ? Below(nCount) : Below(nCount + 1) - 1;
        ::SendMessageW(hList, bCombo ? CB_SETCURSEL : LB_SETCURSEL, static_cast<WPARAM>(nPick), 0);
        if (bCombo)
            post(hList, CBN_SELENDOK);
        post(hList, bCombo ? CBN_SELCHANGE : LBN_SELCHANGE);
    } else if (nKind < 80) {
        std::vector<HWND> sliders = Children(hDlg, TRACKBAR_CLASSW);
        if (sliders.empty())
            return;
        HWND hSlider = Pick(sliders);
        int nMin = static_cast<int>(::SendMessageW(hSlider, TBM_GETRANGEMIN, 0, 0));
        int nPos = nMin + Below(static_cast<int>(::SendMessageW(hSlider, TBM_GETRANGEMAX, 0, 0)) - nMin + 1);
        ::SendMessageW(hSlider, TBM_SETPOS, TRUE, nPos);
        ::PostMessageW(hDlg, WM_HSCROLL, MAKEWPARAM(Below(TB_ENDTRACK + 1), nPos),
                       reinterpret_cast<LPARAM>(hSlider));
    } else if (nKind < 82) {
        ::PostMessageW(hDlg, WM_SYSCOMMAND, SC_CLOSE, 0);
    } else if (nKind < 90) {
        // The print confirmations' Z timer, the multi-step poll, and one nobody set.
        ::PostMessageW(hDlg, WM_TIMER, Pick(std::vector<UINT_PTR>{1, 10, 7}), 0);
    } else if (nKind < 96) {
        m_zMotion.Step(m_pMachine->m_dZPosition);
        m_pMachine->m_multiStep.Tick();
    } else if (nKind < 98) {
        if (!m_pNested && m_nDepth == 0)
            m_pNested = &Pick(Operations());
    } else {
        // The root object goes away between two messages of the dialog, and comes back later.
        m_bRootGone = !m_bRootGone;
        m_pInterface->SetHostInterface(m_bRootGone ? nullptr : m_pMachine.get());
    }
}

// The host's values after a dialog: within what the dialogs may write, and every snapshot given back.
void Soak::Check(const char* pszAfter) {
    SimMachine& m = *m_pMachine;
    auto check = [&](bool bGood, const std::string& strWhat, double dValue) {
        if (!bGood)
            Fail(std::string("after ") + pszAfter + ": " + strWhat + " " + std::to_string(dValue));
        return bGood;
    };
    const std::pair<int32_t, double> kLimits[] = {{kParamMaterialHeight, 500},
                                                  {kParamPrintHeight, 10},
                                                  {kParamPrintPosX, HUGE_VAL},
                                                  {kParamPrintPosY, HUGE_VAL}};
    for (auto [nId, dMax] : kLimits) {
        double& d = m.Parameter(nId).m_dValue;
        if (!check(d >= 0 && d <= dMax, "parameter " + std::to_string(nId), d))
            d = 0; // reported once, not after every later dialog
    }
    check(std::isfinite(m.m_dZPosition), "Z position", m.m_dZPosition);
    const SimCutInkSettings& cutInk = m.m_printer.m_cutInk;
    for (size_t i = 0; i < kCutInkValueCount; ++i) {
        int32_t n = cutInk.nValues[i];
        check(n == m_cutInkBefore.nValues[i] || (n >= 1 && n <= 100), "cut-ink value " + std::to_string(i),
              n);
    }
    check(cutInk.nApplyToAll <= 1, "apply-to-all word", cutInk.nApplyToAll);
    for (const auto& pTemplate : m.m_eclosion.m_templates) {
        if (!pTemplate)
            continue;
        check(pTemplate->m_nRange >= 0 && pTemplate->m_nRange <= 200, "eclosion range", pTemplate->m_nRange);
        check(pTemplate->m_modes.size() <= 3, "modes of a template", double(pTemplate->m_modes.size()));
        for (const auto& pMode : pTemplate->m_modes) {
            check(pMode->m_elements.size() <= 2, "elements of a mode", double(pMode->m_elements.size()));
            for (const auto& p : pMode->m_elements)
                check(p->m_nWidth >= 1 && p->m_nWidth <= 8 && p->m_nHeight >= 1 && p->m_nHeight <= 8,
                      "element width x 100 + height", p->m_nWidth * 100 + p->m_nHeight);
        }
    }
    for (const auto& pTask : m.m_tasks)
        check(pTask->m_nMode >= 0 &&
                  size_t(pTask->m_nMode) < m.m_printer.m_modeTable.List(pTask->m_nKey).m_modes.size(),
              "mode of task " + pTask->m_strName, pTask->m_nMode);
    check(m.m_snapshots.m_outstanding.empty() && m.m_snapshots.m_nBadReleases == 0,
          "snapshots kept, and bad releases, x 1000 + ",
          m.m_snapshots.m_outstanding.size() * 1000.0 + m.m_snapshots.m_nBadReleases);
}

const std::vector<HostOperation>& Operations() {
    using P = CPivoraProcVirtual*;
    // clang-format off
    static const std::vector<HostOperation> s_operations = {
        {"ConfirmPrintMode", {0, 1}, [](P p, SimMachine& m) { return p->ConfirmPrintMode(m.m_tasks[size_t(g_pSoak->Below(2))].get()); }},
        {"ConfirmPrint(1)", {1, 2}, [](P p, SimMachine&) { return p->ConfirmPrint(1); }},
        {"ConfirmPrint(0)", {0, 1, 2}, [](P p, SimMachine&) { return p->ConfirmPrint(g_pSoak->Chance(50) ? 0 : 0x10002); }},
        {"ShowMultiStepPopup", {1}, [](P p, SimMachine& m) {
             auto pRecord = std::make_unique<MultiStepRecord>();
             m.m_multiStep.FillRecord(*pRecord, g_pSoak->Chance(50));
             pRecord->nStartCallback = reinterpret_cast<uintptr_t>(+[] { g_pSoak->m_pMachine->m_multiStep.Start(); });
             return p->ShowMultiStepPopup(pRecord.get()); }},
        {"ShowCutInkSetting", {1}, [](P p, SimMachine& m) {
             SimCutInkSettings& cutInk = m.m_printer.m_cutInk;
             return p->ShowCutInkSetting(&m.m_printer, g_pSoak->Pick(std::vector<uint32_t>{0xFFFFFFFF, 6, 0, 1, 32, 40}),
                                         g_pSoak->Chance(90) ? cutInk.nValues : nullptr, &cutInk.nApplyToAll); }},
        {"ShowSwitchInkOrder", {1}, [](P p, SimMachine&) { return p->ShowSwitchInkOrder(); }},
        {"ShowSupplyInkTimeout", {1}, [](P p, SimMachine& m) {
             m.m_inkSupply.m_bTimedOut = true;
             return p->ShowSupplyInkTimeout(); }},
        {"ShowCustomEclosion", {1}, [](P p, SimMachine&) { return p->ShowCustomEclosion(g_pSoak->Below(2)); }},
        {"ShowDetailVersionInfo", {1}, [](P p, SimMachine&) {
             SoftwareVersionRecord record = {};
             record.nVersion1 = static_cast<uint16_t>(g_pSoak->Below(65536));
             for (char& ch : record.szSuffix)
                 ch = static_cast<char>('A' + g_pSoak->Below(26));
             return p->ShowDetailVersionInfo(&record); }},
    };
    // clang-format on
    return s_operations;
}

int Soak::Run() {
    // The host's own work from inside one of its calls: another operation, as a host that reacts would.
    m_pMachine->m_log.m_onCall = [this](const std::string&) {
        if (const HostOperation* pOp = m_nDepth < 2 ? std::exchange(m_pNested, nullptr) : nullptr) {
            ++m_nDepth; // the operator already acting goes on with the nested dialogs
            Expect(*pOp, pOp->run(m_pInterface.get(), *m_pMachine), "nested ");
            --m_nDepth;
        }
    };
    EnsureSimDataFolder(SimHostDir());
    HWND hHost = ::CreateWindowW(L"STATIC", L"Soak host", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0, 400, 300,
                                 nullptr, nullptr, nullptr, nullptr);
    LoadModule();
    FillSystemCaches(hHost);
    // A warm-up first, unchecked: the system makes its caches (fonts, classes, the bitmaps of themed
    // controls in each state they are drawn in) at their first use. Every dialog once with no action, then
    // random actions with a seed of their own, so the checked run starts as on the operator's second day.
    auto run = [this](const HostOperation& op) {
        Operator actor;
        actor.WaitUntil([this](HWND hDlg) {
            Act(hDlg);
            return false;
        });
        actor.Start();
        Expect(op, op.run(m_pInterface.get(), *m_pMachine));
        if (actor.m_bTimedOut)
            Fail(std::string(op.pszName) + ": a dialog could not be closed within 20 s");
        m_budgets.clear();
        m_pNested = nullptr;
        if (std::exchange(m_bRootGone, false))
            m_pInterface->SetHostInterface(m_pMachine.get());
    };
    const long nTarget = std::exchange(m_nTarget, 0);
    for (const HostOperation& op : Operations())
        run(op);
    const std::mt19937_64 rngChecked = std::exchange(m_rng, std::mt19937_64(m_nSeed ^ 0x5EED5EEDull));
    for (m_nTarget = kWarmUpActions; m_nActions < m_nTarget;)
        run(Pick(Operations()));
    m_rng = rngChecked;
    m_nTarget = nTarget;
    m_nActions = 0;

    // The system still makes a few objects at the first use of a state the warm-up missed (Wine keeps three
    // bitmaps after the first Save of the eclosion editor in some runs); a leak grows past any allowance.
    std::map<int, int> gdiAllowed = CountGdiObjectsByType();
    for (auto& type : gdiAllowed)
        type.second += kSystemCacheObjects;
    auto tStart = std::chrono::steady_clock::now();
    while (m_nActions < m_nTarget && m_nFailures < 100) {
        if (m_nRuns++ % 40 == 39)
            LoadModule();
        const HostOperation& op = Pick(Operations());
        m_cutInkBefore = m_pMachine->m_printer.m_cutInk;
        const int nWindowsBefore = CountThreadWindows();
        run(op);
        Check(op.pszName);
        if (int nLeft = CountThreadWindows() - nWindowsBefore)
            Fail(std::string(op.pszName) + " left " + std::to_string(nLeft) + " windows");
        std::map<int, int> gdiNow = CountGdiObjectsByType();
        if (std::any_of(gdiNow.begin(), gdiNow.end(), [&](const auto& type) {
                auto it = gdiAllowed.find(type.first);
                return type.second > (it == gdiAllowed.end() ? kSystemCacheObjects : it->second);
            })) {
            Fail(std::string(op.pszName) + ": GDI objects by type " + DescribeGdiObjects(gdiNow) + "above " +
                 DescribeGdiObjects(gdiAllowed));
            for (auto& type : gdiAllowed)
                type.second = std::max(type.second, gdiNow[type.first]);
        }
    }
    double dSeconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - tStart).count();
    std::printf(
        "soak: seed %llu, %ld actions in %d dialog runs, %.1f s, %.0f actions per second, %d failures\n",
        static_cast<unsigned long long>(m_nSeed), m_nActions, m_nRuns, dSeconds,
        dSeconds > 0 ? m_nActions / dSeconds : 0.0, m_nFailures);
    m_pInterface.reset();
    m_pPlugin.reset();
    ::DestroyWindow(hHost);
    return m_nFailures;
}

// A crash or a hang is reported as a failure is, and ends the run.
LONG WINAPI OnCrash(EXCEPTION_POINTERS* pInfo) {
    char szWhat[64];
    std::snprintf(szWhat, sizeof(szWhat), "CRASH (exception 0x%08lX)", pInfo->ExceptionRecord->ExceptionCode);
    g_pSoak->Say(szWhat);
    ::TerminateProcess(::GetCurrentProcess(), 101);
    return EXCEPTION_EXECUTE_HANDLER;
}

// A hang keeps the thread from coming back to the operator: no action for 30 s ends the run.
DWORD WINAPI Watchdog(LPVOID) {
    for (long nLast = -1, nQuiet = 0;; ::Sleep(1000)) {
        nQuiet = g_pSoak->m_nActions == nLast ? nQuiet + 1 : 0;
        nLast = g_pSoak->m_nActions;
        if (nQuiet >= 30) {
            g_pSoak->Say("HANG: no action for 30 s");
            ::TerminateProcess(::GetCurrentProcess(), 102);
        }
    }
}

} // namespace

int main(int argc, char** argv) {
    INITCOMMONCONTROLSEX icc = {sizeof(icc), ICC_STANDARD_CLASSES | ICC_BAR_CLASSES};
    ::InitCommonControlsEx(&icc);
    Soak soak(argc > 1 ? std::strtol(argv[1], nullptr, 10) : 2000,
              argc > 2 ? std::strtoull(argv[2], nullptr, 10) : 1);
    g_pSoak = &soak;
    ::SetUnhandledExceptionFilter(&OnCrash);
    ::CreateThread(nullptr, 0, &Watchdog, nullptr, 0, nullptr);
    return std::min(soak.Run(), 100);
}
