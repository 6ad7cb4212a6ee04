// How long each dialog takes from the host's call until it stands idle before the operator, against a bare
// dialog of the same template whose dialog procedure does nothing (same owner, same activation context, the
// system's own modal loop). Idle: the dialog is shown and nothing waits in the thread's queue, so everything
// is painted and the operator's first click would be handled at once.
//
//   bench_open_to_idle [rounds]     (default 30; each round opens every dialog both ways, alternating)
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "Plugin.h"
#include "ScriptedOperator.h"
#include "SimMachine.h"
#include "SimPrintFlow.h"
#include "res/resource.h"
#include "BenchTiming.h"

namespace {

// Watches the thread's message loop, whichever loop it is, through a message hook: a probe message goes into
// the queue, and when the loop takes it out while a dialog shows and nothing else waits, the dialog is idle.
// A probe is never re-posted right away (posted messages come before painting and would starve it): the next
// message the loop takes out posts it again.
class IdleProbe {
public:
    explicit IdleProbe(std::function<void(HWND)> onIdle) : m_onIdle(std::move(onIdle)) {
        s_pCurrent = this;
        m_hHook = ::SetWindowsHookExW(WH_GETMESSAGE, &IdleProbe::Hook, nullptr, ::GetCurrentThreadId());
        Post();
    }
    ~IdleProbe() {
        ::UnhookWindowsHookEx(m_hHook);
        s_pCurrent = nullptr;
        MSG msg;
        while (::PeekMessageW(&msg, nullptr, s_nProbe, s_nProbe, PM_REMOVE)) {
        }
    }
    IdleProbe(const IdleProbe&) = delete;
    IdleProbe& operator=(const IdleProbe&) = delete;

    double m_dIdleAt = 0;

private:
    void Post() { ::PostThreadMessageW(::GetCurrentThreadId(), s_nProbe, 0, 0); }

    void OnMessage(MSG& msg) {
        if (m_dIdleAt > 0)
            return;
        if (msg.message != s_nProbe || msg.hwnd) {
            if (m_bRepost) {
                m_bRepost = false;
                Post();
            }
            return;
        }
        msg.message = WM_NULL;
        HWND hDlg = FindActiveDialog();
        if (hDlg && HIWORD(::GetQueueStatus(QS_ALLINPUT)) == 0) {
            m_dIdleAt = NowMs();
            m_onIdle(hDlg);
            return;
        }
        m_bRepost = true;
    }

    static LRESULT CALLBACK Hook(int nCode, WPARAM wParam, LPARAM lParam) {
        if (nCode == HC_ACTION && wParam == PM_REMOVE && s_pCurrent)
            s_pCurrent->OnMessage(*reinterpret_cast<MSG*>(lParam));
        return ::CallNextHookEx(nullptr, nCode, wParam, lParam);
    }

    static inline IdleProbe* s_pCurrent = nullptr;
    static inline const UINT s_nProbe = ::RegisterWindowMessageW(L"PivoraBenchIdleProbe");
    std::function<void(HWND)> m_onIdle;
    HHOOK m_hHook = nullptr;
    bool m_bRepost = false;
};

// The module's manifest as an activation context, as the module itself activates it around its dialogs.
class ModuleActivationContext {
public:
    explicit ModuleActivationContext(HMODULE hModule) {
        wchar_t szPath[MAX_PATH] = {};
        ::GetModuleFileNameW(hModule, szPath, MAX_PATH);
        ACTCTXW ctx = {};
        ctx.cbSize = sizeof(ctx);
        ctx.dwFlags = ACTCTX_FLAG_RESOURCE_NAME_VALID | ACTCTX_FLAG_HMODULE_VALID;
        ctx.lpSource = szPath;
        ctx.lpResourceName = MAKEINTRESOURCEW(2);
        ctx.hModule = hModule;
        m_hContext = ::CreateActCtxW(&ctx);
    }
    ~ModuleActivationContext() {
        if (m_hContext != INVALID_HANDLE_VALUE)
            ::ReleaseActCtx(m_hContext);
    }
    ModuleActivationContext(const ModuleActivationContext&) = delete;
    ModuleActivationContext& operator=(const ModuleActivationContext&) = delete;
    HANDLE m_hContext = INVALID_HANDLE_VALUE;
};

INT_PTR CALLBACK BareDialogProc(HWND, UINT nMsg, WPARAM, LPARAM) {
    return nMsg == WM_INITDIALOG ? TRUE : FALSE;
}

struct Subject {
    const char* pszName;
    int nTemplate;
    int nCloseCommand; // a running multi-step operation would ask before Cancel; OK leaves at once
    std::function<void()> open;
};

} // namespace

int main(int argc, char** argv) {
    int nRounds = argc > 1 ? std::max(1, std::atoi(argv[1])) : 30;
    const wchar_t* pszLanguage = L"Chs";

    LoadedPlugin plugin;
    std::unique_ptr<SimMachine> pMachine = SimMachine::CreateDefault();
    InterfacePtr pInterface(plugin.m_pfnNew(), InterfaceDeleter{plugin.m_pfnRelease});
    LanguageRecord language = {};
    for (size_t i = 0; pszLanguage[i] && i + 1 < kLanguageFolderNameChars; ++i)
        language.szFolderName[i] = static_cast<char16_t>(pszLanguage[i]);
    pInterface->SetLanguage(&language);
    pInterface->SetHostInterface(pMachine.get());
    EnsureSimDataFolder(SimHostDir());
    if (ReadSimProjectUnit(SimHostDir()) < 0)
        WriteSimProjectUnit(SimHostDir(), 0);

    // The host's main window, owner of both kinds of dialog.
    WNDCLASSW wc = {};
    wc.lpfnWndProc = &::DefWindowProcW;
    wc.hInstance = ::GetModuleHandleW(nullptr);
    wc.lpszClassName = L"PivoraBenchHost";
    ::RegisterClassW(&wc);
    HWND hOwner = ::CreateWindowW(L"PivoraBenchHost", L"Bench host", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0,
                                  640, 480, nullptr, nullptr, wc.hInstance, nullptr);
    ::SetActiveWindow(hOwner);
    ModuleActivationContext actCtx(plugin.m_hModule);

    CPivoraProcVirtual* p = pInterface.get();
    SimMachine& machine = *pMachine;
    std::vector<Subject> subjects = {
        {"print mode", IDD_CONFIRM_PRINT_MODE, IDCANCEL,
         [&] { p->ConfirmPrintMode(machine.m_tasks[0].get()); }},
        {"print confirm", IDD_PRINT_CONFIRM_PLAT, IDCANCEL, [&] { p->ConfirmPrint(1); }},
        {"confirm before printing", IDD_PRINT_BEFORE_POPUP, IDCANCEL, [&] { p->ConfirmPrint(0); }},
        {"multi-step", IDD_MULTI_STEP_POPUP, IDOK,
         [&] {
             auto pRecord = std::make_unique<MultiStepRecord>();
             machine.m_multiStep.FillRecord(*pRecord, true);
             p->ShowMultiStepPopup(pRecord.get());
         }},
        {"cut ink", IDD_CUT_INK_SETTING, IDCANCEL,
         [&] {
             SimCutInkSettings& cutInk = machine.m_printer.m_cutInk;
             p->ShowCutInkSetting(machine.GetPrinter(), kCutInkDerivedRowCount, cutInk.nValues,
                                  &cutInk.nApplyToAll);
         }},
        {"switch ink order", IDD_SWITCH_INK_ORDER, IDCANCEL, [&] { p->ShowSwitchInkOrder(); }},
        {"supply ink timeout", IDD_SUPPLY_INK_TIMEOUT, IDCANCEL, [&] { p->ShowSupplyInkTimeout(); }},
        {"custom eclosion", IDD_CUSTOM_ECLOSION, IDCANCEL, [&] { p->ShowCustomEclosion(0); }},
        {"version info", IDD_DETAIL_VERSION_INFO, IDCANCEL,
         [&] {
             SoftwareVersionRecord record = {};
             p->ShowDetailVersionInfo(&record);
         }},
    };

    auto timeModule = [&](const Subject& subject) {
        double dStart = NowMs();
        IdleProbe probe([&](HWND hDlg) { ::PostMessageW(hDlg, WM_COMMAND, subject.nCloseCommand, 0); });
        subject.open();
        return probe.m_dIdleAt > 0 ? probe.m_dIdleAt - dStart : -1.0;
    };
    auto timeBare = [&](const Subject& subject) {
        double dStart = NowMs();
        IdleProbe probe([](HWND hDlg) { ::EndDialog(hDlg, 0); });
        ULONG_PTR nCookie = 0;
        bool bActive =
            actCtx.m_hContext != INVALID_HANDLE_VALUE && ::ActivateActCtx(actCtx.m_hContext, &nCookie);
        ::DialogBoxParamW(plugin.m_hModule, MAKEINTRESOURCEW(subject.nTemplate), hOwner, &BareDialogProc, 0);
        if (bActive)
            ::DeactivateActCtx(0, nCookie);
        return probe.m_dIdleAt > 0 ? probe.m_dIdleAt - dStart : -1.0;
    };

    // One round unmeasured: first-time costs (classes, fonts, files) are not what a host pays per dialog.
    for (const Subject& subject : subjects) {
        timeBare(subject);
        timeModule(subject);
    }
    std::vector<std::vector<double>> bare(subjects.size()), module(subjects.size());
    for (int nRound = 0; nRound < nRounds; ++nRound) {
        for (size_t i = 0; i < subjects.size(); ++i) {
            // Alternating which goes first, so a drift of the machine weighs on both alike.
            if (nRound % 2 == 0) {
                bare[i].push_back(timeBare(subjects[i]));
                module[i].push_back(timeModule(subjects[i]));
            } else {
                module[i].push_back(timeModule(subjects[i]));
                bare[i].push_back(timeBare(subjects[i]));
            }
        }
    }

    std::printf("Open to idle, median of %d alternating rounds, language %ls (ms)\n", nRounds, pszLanguage);
    std::printf("%-26s %10s %10s %8s\n", "dialog", "bare", "module", "ratio");
    for (size_t i = 0; i < subjects.size(); ++i) {
        double dBare = Median(bare[i]), dModule = Median(module[i]);
        bool bFailed = std::count(bare[i].begin(), bare[i].end(), -1.0) > 0 ||
                       std::count(module[i].begin(), module[i].end(), -1.0) > 0;
        if (bFailed)
            std::printf("%-26s did not reach idle\n", subjects[i].pszName);
        else
            std::printf("%-26s %10.2f %10.2f %7.2fx\n", subjects[i].pszName, dBare, dModule, dModule / dBare);
    }
    ::DestroyWindow(hOwner);
    return 0;
}
