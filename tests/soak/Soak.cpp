// A random operator over every operation of the simulator's default machine, driven by a seed.
//
//   pivora_soak [ACTIONS] [SEED]      (defaults: 2000 actions, seed 1)
//
// It opens the operations one after another and acts on whatever dialog is in front as an operator would:
// clicks, keys, text, list and slider choices, the close box, timer ticks; between actions the host moves
// its Z axis, advances its multi-step operation, lets the ink supply time out, calls other operations from
// inside its callbacks and takes its root object away for a while. After every dialog it checks the result
// code, the machine's values, the windows and the GDI objects. A failure names the seed and the action
// that reproduce it; the exit code is the number of failures (capped at 100).
#include <windows.h>
#include <commctrl.h>

#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <limits>
#include <map>
#include <memory>
#include <random>
#include <string>
#include <vector>

#include "HandleCounts.h"
#include "Plugin.h"
#include "ScriptedOperator.h"
#include "SimMachine.h"
#include "SimPrintFlow.h"
#include "res/resource.h"

namespace {

class Soak;
Soak* g_pSoak = nullptr;

// Unchecked random actions before the checked run, to fill the system's caches.
constexpr long kWarmUpActions = 600;

// One operation of the interface object and what a soak needs to know about it. Dialogs that follow
// host-driven states get them through hostStep; a dialog that needs special operator actions gets them
// through special (both may be empty).
struct SoakOperation {
    const char* pszName;
    std::vector<int32_t> results;             // the operation's documented result codes
    std::vector<UINT_PTR> timers;             // the dialog's own timer ids
    std::function<int32_t(Soak&)> run;        // prepares the host's side and calls the operation
    std::function<void(Soak&)> hostStep;      // one step of the host's own work while it shows
    std::function<void(Soak&, HWND)> special; // an action only this dialog has
};

class Rng {
public:
    explicit Rng(uint64_t nSeed) : m_engine(nSeed) {}
    int Below(int n) { return n <= 1 ? 0 : static_cast<int>(m_engine() % static_cast<uint64_t>(n)); }
    bool Chance(int nPercent) { return Below(100) < nPercent; }
    template <class T> const T& Pick(const std::vector<T>& items) {
        return items[static_cast<size_t>(Below(static_cast<int>(items.size())))];
    }

private:
    std::mt19937_64 m_engine;
};

std::wstring ClassOf(HWND hWnd) {
    wchar_t szClass[64] = {};
    ::GetClassNameW(hWnd, szClass, 64);
    return szClass;
}

std::vector<HWND> UsableChildren(HWND hDlg) {
    std::vector<HWND> children;
    ::EnumChildWindows(
        hDlg,
        [](HWND hWnd, LPARAM lParam) -> BOOL {
            if (::IsWindowVisible(hWnd) && ::IsWindowEnabled(hWnd))
                reinterpret_cast<std::vector<HWND>*>(lParam)->push_back(hWnd);
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&children));
    return children;
}

std::vector<HWND> ChildrenOfClass(const std::vector<HWND>& children, const wchar_t* pszClass) {
    std::vector<HWND> found;
    for (HWND hWnd : children) {
        if (::lstrcmpiW(ClassOf(hWnd).c_str(), pszClass) == 0)
            found.push_back(hWnd);
    }
    return found;
}

bool IsPushButton(HWND hWnd) {
    LONG nType = ::GetWindowLongW(hWnd, GWL_STYLE) & BS_TYPEMASK;
    return nType == BS_PUSHBUTTON || nType == BS_DEFPUSHBUTTON;
}

void PostCommand(HWND hDlg, HWND hCtrl, UINT nCode) {
    ::PostMessageW(hDlg, WM_COMMAND, MAKEWPARAM(::GetDlgCtrlID(hCtrl), nCode),
                   reinterpret_cast<LPARAM>(hCtrl));
}

class Soak {
public:
    Soak(long nActions, uint64_t nSeed) : m_nTarget(nActions), m_nSeed(nSeed), m_rng(nSeed) {}

    int Run();

    // Host side.
    std::unique_ptr<LoadedPlugin> m_pPlugin;
    InterfacePtr m_pInterface{nullptr, InterfaceDeleter{nullptr}};
    std::unique_ptr<SimMachine> m_pMachine;
    SimZAxisMotion m_zMotion{10.0, 15.0, 0.04};
    SimCutInkSettings m_cutInkBefore;

    long m_nTarget;
    uint64_t m_nSeed;
    Rng m_rng;
    volatile long m_nActions = 0;
    int m_nRuns = 0;
    int m_nFailures = 0;
    int m_nDepth = 0;
    bool m_bRootGone = false;
    bool m_bTrace = ::GetEnvironmentVariableW(L"PIVORA_SOAK_TRACE", nullptr, 0) != 0;
    const SoakOperation* m_pNested = nullptr; // armed: runs at the host's next call
    std::map<HWND, int> m_budgets;            // actions left before the operator closes that dialog

    void Fail(const std::string& strWhat);
    void LoadModule();
    int32_t RunOperation(const SoakOperation& op);
    void HostStep();
    void OnHostCall();
    void Act(HWND hDlg, const SoakOperation& op);
    void CloseAction(HWND hDlg);
    void RandomAction(HWND hDlg, const SoakOperation& op);
    void CheckMachine(const char* pszAfter);
};

std::vector<SoakOperation> Operations();

void StartMultiStepOperation() {
    g_pSoak->m_pMachine->m_multiStep.Start();
}

// Texts an operator might type: numbers, non-numbers, negative, huge, and a very long one.
std::wstring RandomText(Rng& rng) {
    static const std::vector<std::wstring> kTexts = {L"0",
                                                     L"1",
                                                     L"2.5",
                                                     L"10",
                                                     L"499.99",
                                                     L"500",
                                                     L"500.01",
                                                     L"-1",
                                                     L"-0.001",
                                                     L"1e308",
                                                     L"1e999",
                                                     L"nan",
                                                     L"inf",
                                                     L"abc",
                                                     L"",
                                                     L" 7 ",
                                                     L"12,5",
                                                     L"0x10",
                                                     L"99999999999999999999",
                                                     L"%s%n%x",
                                                     L"200",
                                                     L"201",
                                                     L"-200"};
    if (rng.Chance(5))
        return std::wstring(10000, L'9');
    return rng.Pick(kTexts);
}

void Soak::Fail(const std::string& strWhat) {
    ++m_nFailures;
    std::printf("FAIL at action %ld (seed %llu): %s\n  reproduce: ./pivora.sh soak %ld %llu\n", m_nActions,
                static_cast<unsigned long long>(m_nSeed), strWhat.c_str(), m_nActions,
                static_cast<unsigned long long>(m_nSeed));
    std::fflush(stdout);
}

void Soak::LoadModule() {
    // A new module starts its flags over ("No more hints" would otherwise hide two dialogs for good).
    m_pInterface.reset();
    m_pPlugin.reset();
    m_pPlugin = std::make_unique<LoadedPlugin>();
    m_pInterface = InterfacePtr(m_pPlugin->m_pfnNew(), InterfaceDeleter{m_pPlugin->m_pfnRelease});
    LanguageRecord record = {};
    const wchar_t* pszLanguage = m_rng.Chance(50) ? L"Chs" : L"English";
    for (size_t i = 0; pszLanguage[i] != L'\0'; ++i)
        record.szFolderName[i] = static_cast<char16_t>(pszLanguage[i]);
    m_pInterface->SetLanguage(&record);
    m_pInterface->SetHostInterface(m_pMachine.get());
}

void Soak::HostStep() {
    m_zMotion.Step(*m_pMachine);
    m_pMachine->m_multiStep.Tick();
}

void Soak::OnHostCall() {
    // The host's own work, done from inside one of its calls, as a host that pumps messages or reacts to a
    // call would do it.
    if (m_pNested && m_nDepth < 2) {
        const SoakOperation* pOp = m_pNested;
        m_pNested = nullptr;
        ++m_nDepth;
        int32_t nResult = pOp->run(*this);
        --m_nDepth;
        bool bDocumented = false;
        for (int32_t nCode : pOp->results)
            bDocumented = bDocumented || nCode == nResult;
        if (!bDocumented)
            Fail(std::string("nested ") + pOp->pszName + " returned " + std::to_string(nResult));
    }
}

void Soak::CloseAction(HWND hDlg) {
    // A message box is answered, a dialog is left through Escape, Cancel or the close box.
    switch (m_rng.Below(4)) {
    case 0:
        PressKey(hDlg, VK_ESCAPE);
        break;
    case 1:
        if (HWND hCancel = ::GetDlgItem(hDlg, IDCANCEL))
            ::PostMessageW(hCancel, BM_CLICK, 0, 0);
        else
            PressKey(hDlg, VK_ESCAPE);
        break;
    case 2:
        ::PostMessageW(hDlg, WM_SYSCOMMAND, SC_CLOSE, 0);
        break;
    default:
        for (int nId : {IDYES, IDOK, IDC_SUPPLY_INK_CANCEL, IDC_CANCEL_PRINT, IDC_MULTI_STEP_FINISH}) {
            HWND hButton = ::GetDlgItem(hDlg, nId);
            if (hButton && ::IsWindowVisible(hButton) && ::IsWindowEnabled(hButton)) {
                ::PostMessageW(hButton, BM_CLICK, 0, 0);
                return;
            }
        }
        PressKey(hDlg, VK_ESCAPE);
        break;
    }
}

void Soak::RandomAction(HWND hDlg, const SoakOperation& op) {
    std::vector<HWND> children = UsableChildren(hDlg);
    int nKind = m_rng.Below(100);
    if (m_bTrace) {
        std::printf("  action %ld: kind %d, GDI %s\n", m_nActions, nKind,
                    DescribeGdiObjects(CountGdiObjectsByType()).c_str());
        std::fflush(stdout);
    }
    if (nKind < 28) {
        std::vector<HWND> buttons;
        for (HWND hWnd : ChildrenOfClass(children, L"Button"))
            buttons.push_back(hWnd);
        if (!buttons.empty()) {
            HWND hButton = m_rng.Pick(buttons);
            // Push buttons that would end the dialog at once are pressed less often, so the dialogs live.
            int nId = ::GetDlgCtrlID(hButton);
            if (IsPushButton(hButton) && (nId == IDOK || nId == IDCANCEL) && m_rng.Chance(60))
                return;
            ::PostMessageW(hButton, BM_CLICK, 0, 0);
        }
    } else if (nKind < 42) {
        static const std::vector<UINT> kKeys = {VK_TAB, VK_RETURN, VK_ESCAPE, VK_LEFT, VK_RIGHT,
                                                VK_UP,  VK_DOWN,   VK_HOME,   VK_END,  VK_SPACE,
                                                VK_TAB, VK_DOWN,   VK_PRIOR,  VK_NEXT};
        UINT vk = m_rng.Pick(kKeys);
        if ((vk == VK_RETURN || vk == VK_ESCAPE) && m_rng.Chance(60))
            vk = VK_TAB;
        PressKey(hDlg, vk);
    } else if (nKind < 56) {
        std::vector<HWND> edits = ChildrenOfClass(children, L"Edit");
        if (!edits.empty()) {
            HWND hEdit = m_rng.Pick(edits);
            ::PostMessageW(hDlg, WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(hEdit), TRUE);
            ::SetWindowTextW(hEdit, RandomText(m_rng).c_str());
            // Leaving the field, as the operator's next click or Tab does.
            if (m_rng.Chance(70))
                ::PostMessageW(hDlg, WM_NEXTDLGCTL, 0, FALSE);
        }
    } else if (nKind < 64) {
        std::vector<HWND> combos = ChildrenOfClass(children, L"ComboBox");
        if (!combos.empty()) {
            HWND hCombo = m_rng.Pick(combos);
            int nCount = static_cast<int>(::SendMessageW(hCombo, CB_GETCOUNT, 0, 0));
            ::SendMessageW(hCombo, CB_SETCURSEL, nCount > 0 ? m_rng.Below(nCount) : -1, 0);
            PostCommand(hDlg, hCombo, CBN_SELENDOK);
            PostCommand(hDlg, hCombo, CBN_SELCHANGE);
        }
    } else if (nKind < 70) {
        std::vector<HWND> lists = ChildrenOfClass(children, L"ListBox");
        if (!lists.empty()) {
            HWND hList = m_rng.Pick(lists);
            int nCount = static_cast<int>(::SendMessageW(hList, LB_GETCOUNT, 0, 0));
            ::SendMessageW(hList, LB_SETCURSEL, nCount > 0 ? m_rng.Below(nCount + 1) - 1 : -1, 0);
            PostCommand(hDlg, hList, LBN_SELCHANGE);
        }
    } else if (nKind < 80) {
        std::vector<HWND> sliders = ChildrenOfClass(children, TRACKBAR_CLASSW);
        if (!sliders.empty()) {
            HWND hSlider = m_rng.Pick(sliders);
            int nMin = static_cast<int>(::SendMessageW(hSlider, TBM_GETRANGEMIN, 0, 0));
            int nMax = static_cast<int>(::SendMessageW(hSlider, TBM_GETRANGEMAX, 0, 0));
            int nPos = nMin + m_rng.Below(nMax - nMin + 1);
            ::SendMessageW(hSlider, TBM_SETPOS, TRUE, nPos);
            int nCode = m_rng.Below(TB_ENDTRACK + 1);
            ::PostMessageW(hDlg, WM_HSCROLL, MAKEWPARAM(nCode, nPos), reinterpret_cast<LPARAM>(hSlider));
        }
    } else if (nKind < 82) {
        ::PostMessageW(hDlg, WM_SYSCOMMAND, SC_CLOSE, 0);
    } else if (nKind < 90) {
        std::vector<UINT_PTR> timers = op.timers;
        timers.push_back(7);
        ::PostMessageW(hDlg, WM_TIMER, m_rng.Pick(timers), 0);
    } else if (nKind < 96) {
        HostStep();
        if (op.hostStep)
            op.hostStep(*this);
    } else if (nKind < 98) {
        if (!m_pNested && m_nDepth == 0) {
            static const std::vector<SoakOperation> s_operations = Operations();
            m_pNested = &m_rng.Pick(s_operations);
        }
    } else {
        // The root object goes away between two messages of the dialog, and comes back later.
        m_bRootGone = !m_bRootGone;
        m_pInterface->SetHostInterface(m_bRootGone ? nullptr : m_pMachine.get());
    }
    if (op.special && m_rng.Chance(10))
        op.special(*this, hDlg);
}

void Soak::Act(HWND hDlg, const SoakOperation& op) {
    auto it = m_budgets.find(hDlg);
    if (it == m_budgets.end())
        it = m_budgets.emplace(hDlg, 3 + m_rng.Below(40)).first;
    ++m_nActions;
    if (it->second > 0 && m_nActions < m_nTarget) {
        --it->second;
        RandomAction(hDlg, op);
    } else {
        CloseAction(hDlg);
    }
}

int32_t Soak::RunOperation(const SoakOperation& op) {
    Operator actor;
    actor.m_nTimeoutMs = 20000;
    actor.WaitUntil([this, &op](HWND hDlg) {
        Act(hDlg, op);
        return false;
    });
    actor.Start();
    int32_t nResult = op.run(*this);
    if (actor.m_bTimedOut)
        Fail(std::string(op.pszName) + ": a dialog could not be closed within 20 s");
    return nResult;
}

void Soak::CheckMachine(const char* pszAfter) {
    SimMachine& m = *m_pMachine;
    auto checkLength = [&](int32_t nId, double dMin, double dMax) {
        double& d = m.Parameter(nId).m_dValue;
        if (!(d >= dMin && d <= dMax)) {
            Fail(std::string("after ") + pszAfter + ": parameter " + std::to_string(nId) + " is " +
                 std::to_string(d));
            d = dMin; // reported once, not after every later dialog
        }
    };
    checkLength(kParamMaterialHeight, 0, 500);
    checkLength(kParamPrintHeight, 0, 10);
    checkLength(kParamPrintPosX, 0, std::numeric_limits<double>::max());
    checkLength(kParamPrintPosY, 0, std::numeric_limits<double>::max());
    if (!std::isfinite(m.m_dZPosition))
        Fail(std::string("after ") + pszAfter + ": Z position is not a number");
    const SimCutInkSettings& cutInk = m.m_printer.m_cutInk;
    for (size_t i = 0; i < kCutInkValueCount; ++i) {
        int32_t n = cutInk.nValues[i];
        if (n != m_cutInkBefore.nValues[i] && (n < 1 || n > 100))
            Fail(std::string("after ") + pszAfter + ": cut-ink value " + std::to_string(i) + " is " +
                 std::to_string(n));
    }
    if (cutInk.nApplyToAll > 1)
        Fail(std::string("after ") + pszAfter + ": apply-to-all word is " +
             std::to_string(cutInk.nApplyToAll));
    for (const auto& pTemplate : m.m_eclosion.m_templates) {
        if (!pTemplate)
            continue;
        if (pTemplate->m_nRange < 0 || pTemplate->m_nRange > 200)
            Fail(std::string("after ") + pszAfter + ": eclosion range " +
                 std::to_string(pTemplate->m_nRange));
        if (pTemplate->m_modes.size() > 3)
            Fail(std::string("after ") + pszAfter + ": a template has " +
                 std::to_string(pTemplate->m_modes.size()) + " modes");
        for (const auto& pMode : pTemplate->m_modes) {
            if (pMode->m_elements.size() > 2)
                Fail(std::string("after ") + pszAfter + ": a mode has " +
                     std::to_string(pMode->m_elements.size()) + " elements");
            for (const auto& pElement : pMode->m_elements) {
                if (pElement->m_nWidth < 1 || pElement->m_nWidth > 8 || pElement->m_nHeight < 1 ||
                    pElement->m_nHeight > 8)
                    Fail(std::string("after ") + pszAfter + ": an element is " +
                         std::to_string(pElement->m_nWidth) + " x " + std::to_string(pElement->m_nHeight));
            }
        }
    }
    for (const auto& pTask : m.m_tasks) {
        int32_t nModes = static_cast<int32_t>(m.m_printer.m_modeTable.List(pTask->m_nKey).m_modes.size());
        if (pTask->m_nMode < 0 || pTask->m_nMode >= nModes)
            Fail(std::string("after ") + pszAfter + ": task " + pTask->m_strName + " has mode " +
                 std::to_string(pTask->m_nMode));
    }
    if (!m.m_snapshots.m_outstanding.empty() || m.m_snapshots.m_nBadReleases != 0)
        Fail(std::string("after ") + pszAfter + ": " + std::to_string(m.m_snapshots.m_outstanding.size()) +
             " snapshots kept, " + std::to_string(m.m_snapshots.m_nBadReleases) + " bad releases");
}

std::vector<SoakOperation> Operations() {
    std::vector<SoakOperation> ops;
    ops.push_back({"ConfirmPrintMode",
                   {0, 1},
                   {},
                   [](Soak& s) {
                       SimMachine& m = *s.m_pMachine;
                       return s.m_pInterface->ConfirmPrintMode(
                           m.m_tasks[static_cast<size_t>(s.m_rng.Below(2))].get());
                   },
                   nullptr,
                   nullptr});
    ops.push_back({"ConfirmPrint(1)",
                   {1, 2},
                   {1},
                   [](Soak& s) { return s.m_pInterface->ConfirmPrint(1); },
                   nullptr,
                   nullptr});
    ops.push_back({"ConfirmPrint(0)",
                   {0, 1, 2},
                   {1},
                   [](Soak& s) { return s.m_pInterface->ConfirmPrint(s.m_rng.Chance(50) ? 0 : 0x10002); },
                   nullptr,
                   nullptr});
    ops.push_back({"ShowMultiStepPopup",
                   {1},
                   {10},
                   [](Soak& s) {
                       auto pRecord = std::make_unique<MultiStepRecord>();
                       s.m_pMachine->m_multiStep.FillRecord(*pRecord, s.m_rng.Chance(50));
                       pRecord->nStartCallback = reinterpret_cast<uintptr_t>(&StartMultiStepOperation);
                       return s.m_pInterface->ShowMultiStepPopup(pRecord.get());
                   },
                   nullptr,
                   nullptr});
    ops.push_back({"ShowCutInkSetting",
                   {1},
                   {},
                   [](Soak& s) {
                       static const std::vector<uint32_t> kCounts = {0xFFFFFFFF, 6, 0, 1, 32, 40};
                       SimCutInkSettings& cutInk = s.m_pMachine->m_printer.m_cutInk;
                       return s.m_pInterface->ShowCutInkSetting(
                           &s.m_pMachine->m_printer, s.m_rng.Pick(kCounts),
                           s.m_rng.Chance(90) ? cutInk.nValues : nullptr, &cutInk.nApplyToAll);
                   },
                   nullptr,
                   nullptr});
    // Being built: its head configurations and channel tables go into run, its host-driven changes into
    // hostStep, its own gestures (list cell editing) into special.
    ops.push_back({"ShowSwitchInkOrder",
                   {1},
                   {},
                   [](Soak& s) { return s.m_pInterface->ShowSwitchInkOrder(); },
                   nullptr,
                   nullptr});
    ops.push_back({"ShowSupplyInkTimeout",
                   {1},
                   {},
                   [](Soak& s) {
                       s.m_pMachine->m_inkSupply.m_bTimedOut = true;
                       return s.m_pInterface->ShowSupplyInkTimeout();
                   },
                   nullptr,
                   nullptr});
    ops.push_back({"ShowCustomEclosion",
                   {1},
                   {},
                   [](Soak& s) { return s.m_pInterface->ShowCustomEclosion(s.m_rng.Chance(50) ? 1 : 0); },
                   nullptr,
                   nullptr});
    // Being built: its board version records and status values go into run.
    ops.push_back({"ShowDetailVersionInfo",
                   {1},
                   {},
                   [](Soak& s) {
                       SoftwareVersionRecord record = {};
                       record.nVersion1 = static_cast<uint16_t>(s.m_rng.Below(65536));
                       for (size_t i = 0; i < kSoftwareSuffixChars; ++i)
                           record.szSuffix[i] = static_cast<char>('A' + s.m_rng.Below(26));
                       return s.m_pInterface->ShowDetailVersionInfo(&record);
                   },
                   nullptr,
                   nullptr});
    return ops;
}

LONG WINAPI OnCrash(EXCEPTION_POINTERS* pInfo) {
    std::printf(
        "CRASH (exception 0x%08lX at %p) at action %ld (seed %llu)\n  reproduce: ./pivora.sh soak %ld %llu\n",
        pInfo->ExceptionRecord->ExceptionCode, pInfo->ExceptionRecord->ExceptionAddress, g_pSoak->m_nActions,
        static_cast<unsigned long long>(g_pSoak->m_nSeed), g_pSoak->m_nActions,
        static_cast<unsigned long long>(g_pSoak->m_nSeed));
    std::fflush(stdout);
    ::TerminateProcess(::GetCurrentProcess(), 101);
    return EXCEPTION_EXECUTE_HANDLER;
}

// A hang keeps the thread from coming back to the operator: no action for 30 s ends the run.
DWORD WINAPI Watchdog(LPVOID) {
    long nLast = -1;
    int nQuietSeconds = 0;
    for (;;) {
        ::Sleep(1000);
        long nNow = g_pSoak->m_nActions;
        nQuietSeconds = nNow == nLast ? nQuietSeconds + 1 : 0;
        nLast = nNow;
        if (nQuietSeconds >= 30) {
            std::printf("HANG: no action for 30 s at action %ld (seed %llu)\n  reproduce: ./pivora.sh soak "
                        "%ld %llu\n",
                        nNow, static_cast<unsigned long long>(g_pSoak->m_nSeed), nNow,
                        static_cast<unsigned long long>(g_pSoak->m_nSeed));
            std::fflush(stdout);
            ::TerminateProcess(::GetCurrentProcess(), 102);
        }
    }
}

int Soak::Run() {
    m_pMachine = SimMachine::CreateDefault();
    m_pMachine->m_log.m_onCall = [this](const std::string&) { OnHostCall(); };
    EnsureSimDataFolder(SimHostDir());
    HWND hHost = ::CreateWindowW(L"STATIC", L"Soak host", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0, 400, 300,
                                 nullptr, nullptr, nullptr, nullptr);
    LoadModule();
    const std::vector<SoakOperation> operations = Operations();

    // The system keeps caches that only ever grow to a ceiling: the icons of message boxes and the device
    // contexts it hands out for windows (one more whenever more are in use at once than ever before).
    // They are filled first, so that what grows afterwards is what a dialog failed to give back.
    FillSystemCaches(hHost);
    // A warm-up first, unchecked: the system makes its caches (fonts, classes, the bitmaps of themed
    // controls in each state they are drawn in) at the first use. Every dialog once with no action, then
    // random actions with a seed of their own, so the checked run that follows starts where it would on the
    // operator's second day.
    long nTarget = m_nTarget;
    m_nTarget = 0;
    for (const SoakOperation& op : operations)
        RunOperation(op);
    Rng rngChecked = m_rng;
    m_rng = Rng(m_nSeed ^ 0x5EED5EEDull);
    m_nTarget = kWarmUpActions;
    while (m_nActions < m_nTarget) {
        RunOperation(operations[static_cast<size_t>(m_rng.Below(static_cast<int>(operations.size())))]);
        m_budgets.clear();
        m_pNested = nullptr;
        if (m_bRootGone) {
            m_bRootGone = false;
            m_pInterface->SetHostInterface(m_pMachine.get());
        }
    }
    m_rng = rngChecked;
    m_nTarget = nTarget;
    m_nActions = 0;
    m_budgets.clear();

    auto tStart = std::chrono::steady_clock::now();
    while (m_nActions < m_nTarget && m_nFailures < 100) {
        if (m_nRuns > 0 && m_nRuns % 40 == 0)
            LoadModule();
        const SoakOperation& op =
            operations[static_cast<size_t>(m_rng.Below(static_cast<int>(operations.size())))];
        m_cutInkBefore = m_pMachine->m_printer.m_cutInk;
        HandleCounts before = TakeHandleCounts();
        std::map<int, int> gdiBefore = CountGdiObjectsByType();
        int32_t nResult = RunOperation(op);
        ++m_nRuns;
        m_budgets.clear();
        m_pNested = nullptr;
        if (m_bRootGone) {
            m_bRootGone = false;
            m_pInterface->SetHostInterface(m_pMachine.get());
        }
        bool bDocumented = false;
        for (int32_t nCode : op.results)
            bDocumented = bDocumented || nCode == nResult;
        if (!bDocumented)
            Fail(std::string(op.pszName) + " returned " + std::to_string(nResult));
        CheckMachine(op.pszName);
        HandleCounts after = TakeHandleCounts();
        if (after.nWindows != before.nWindows)
            Fail(std::string(op.pszName) + " left " + std::to_string(after.nWindows - before.nWindows) +
                 " windows");
        std::map<int, int> gdiAfter = CountGdiObjectsByType();
        if (gdiAfter != gdiBefore)
            Fail(std::string(op.pszName) + ": GDI objects " + std::to_string(before.nGdiObjects) + " -> " +
                 std::to_string(after.nGdiObjects) + " (by type " + DescribeGdiObjects(gdiBefore) + "-> " +
                 DescribeGdiObjects(CountGdiObjectsByType()) + ")");
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

} // namespace

int main(int argc, char** argv) {
    long nActions = argc > 1 ? std::strtol(argv[1], nullptr, 10) : 2000;
    uint64_t nSeed = argc > 2 ? std::strtoull(argv[2], nullptr, 10) : 1;
    INITCOMMONCONTROLSEX icc = {sizeof(icc), ICC_STANDARD_CLASSES | ICC_BAR_CLASSES};
    ::InitCommonControlsEx(&icc);
    Soak soak(nActions, nSeed);
    g_pSoak = &soak;
    ::SetUnhandledExceptionFilter(&OnCrash);
    ::CreateThread(nullptr, 0, &Watchdog, nullptr, 0, nullptr);
    int nFailures = soak.Run();
    return nFailures > 100 ? 100 : nFailures;
}
