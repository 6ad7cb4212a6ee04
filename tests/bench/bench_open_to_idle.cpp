// How long each dialog takes from the host's call until it stands idle before the operator, against
// DialogBoxIndirectParam of the same template with a dialog procedure that does nothing (same owner, the
// system's own modal loop), in English and in Chinese. Idle: the dialog is shown and nothing waits in the
// thread's queue, so everything is painted and the operator's first click would be handled at once. The
// switch ink order dialog, whose work grows with the machine, opens on the default machine of 4 heads x 8
// channels and on one of 16 x 16. Each time is split into its phases: creation (until the last window is
// created), initialisation (until the dialog manager sets the focus after WM_INITDIALOG) and showing and
// painting until idle; and the host calls of one open are counted. A themed reference runs the same bare
// template inside the module's activation context, in rounds of its own: what the themed controls alone cost.
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

// Where the time of one open goes, seen through the window manager's computer-based-training hook: the
// dialog and its controls are created, then WM_INITDIALOG runs, and when it returns the dialog manager puts
// the focus on the first control. (A hook on every sent message would tell WM_INITDIALOG apart exactly, but
// Wine asks its server at each sent message while such a hook is set, which would swamp what it measures.)
class PhaseProbe {
public:
    PhaseProbe() {
        s_pCurrent = this;
        m_hHook = ::SetWindowsHookExW(WH_CBT, &PhaseProbe::Hook, nullptr, ::GetCurrentThreadId());
    }
    ~PhaseProbe() {
        ::UnhookWindowsHookEx(m_hHook);
        s_pCurrent = nullptr;
    }
    PhaseProbe(const PhaseProbe&) = delete;
    PhaseProbe& operator=(const PhaseProbe&) = delete;

    double m_dLastCreate = 0, m_dFirstFocus = 0;

private:
    static LRESULT CALLBACK Hook(int nCode, WPARAM wParam, LPARAM lParam) {
        PhaseProbe* p = s_pCurrent;
        if (p && p->m_dFirstFocus == 0) {
            if (nCode == HCBT_CREATEWND)
                p->m_dLastCreate = NowMs();
            else if (nCode == HCBT_SETFOCUS && wParam && p->m_dLastCreate > 0)
                p->m_dFirstFocus = NowMs();
        }
        return ::CallNextHookEx(nullptr, nCode, wParam, lParam);
    }
    static inline PhaseProbe* s_pCurrent = nullptr;
    HHOOK m_hHook = nullptr;
};

// One open: total time to idle and its phases (ms); total -1 when the dialog never stood idle.
struct Sample {
    double dTotal = -1, dCreate = 0, dInit = 0, dPaint = 0;
    int nHostCalls = 0;
};

struct Samples {
    std::vector<Sample> all;
    bool Failed() const {
        return std::any_of(all.begin(), all.end(), [](const Sample& s) { return s.dTotal < 0; });
    }
    double Median(double Sample::*pField) const {
        std::vector<double> values;
        for (const Sample& s : all)
            values.push_back(s.*pField);
        return ::Median(values);
    }
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

    LoadedPlugin plugin;
    std::unique_ptr<SimMachine> pMachine = SimMachine::CreateDefault();
    std::unique_ptr<SimMachine> pLargeMachine = SimMachine::CreateDefault(16, 16);
    int nHostCalls = 0;
    for (SimMachine* pSim : {pMachine.get(), pLargeMachine.get()}) {
        pSim->m_log.m_onCall = [&](const std::string&) { ++nHostCalls; };
        // Counted, not kept: hundreds of thousands of kept call texts would slow every later dialog's heap
        // work, the bare ones too, and blur what is measured.
        pSim->m_log.m_bRecording = false;
    }
    InterfacePtr pInterface(plugin.m_pfnNew(), InterfaceDeleter{plugin.m_pfnRelease});
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
        {"switch ink order 4x8", IDD_SWITCH_INK_ORDER, IDCANCEL, [&] { p->ShowSwitchInkOrder(); }},
        {"switch ink order 16x16", IDD_SWITCH_INK_ORDER, IDCANCEL,
         [&] {
             p->SetHostInterface(pLargeMachine.get());
             p->ShowSwitchInkOrder();
             p->SetHostInterface(pMachine.get());
         }},
        {"supply ink timeout", IDD_SUPPLY_INK_TIMEOUT, IDCANCEL, [&] { p->ShowSupplyInkTimeout(); }},
        {"custom eclosion", IDD_CUSTOM_ECLOSION, IDCANCEL, [&] { p->ShowCustomEclosion(0); }},
        {"version info", IDD_DETAIL_VERSION_INFO, IDCANCEL,
         [&] {
             SoftwareVersionRecord record = {};
             p->ShowDetailVersionInfo(&record);
         }},
    };

    auto time = [&](const std::function<void()>& open, std::function<void(HWND)> close) {
        Sample sample;
        nHostCalls = 0;
        PhaseProbe phases;
        double dStart = NowMs();
        IdleProbe probe(std::move(close));
        open();
        if (probe.m_dIdleAt > 0 && phases.m_dFirstFocus > 0) {
            sample.dTotal = probe.m_dIdleAt - dStart;
            sample.dCreate = phases.m_dLastCreate - dStart;
            sample.dInit = phases.m_dFirstFocus - phases.m_dLastCreate;
            sample.dPaint = probe.m_dIdleAt - phases.m_dFirstFocus;
        }
        sample.nHostCalls = nHostCalls;
        return sample;
    };
    auto timeModule = [&](const Subject& subject) {
        return time(subject.open,
                    [&](HWND hDlg) { ::PostMessageW(hDlg, WM_COMMAND, subject.nCloseCommand, 0); });
    };
    // What an outside probe takes as the platform's speed for a template: the template as it is in the
    // module, run by the system with a procedure that does nothing.
    auto timeBare = [&](const Subject& subject) {
        HRSRC hRes = ::FindResourceW(plugin.m_hModule, MAKEINTRESOURCEW(subject.nTemplate), RT_DIALOG);
        auto* pTemplate =
            static_cast<const DLGTEMPLATE*>(::LockResource(::LoadResource(plugin.m_hModule, hRes)));
        return time(
            [&] { ::DialogBoxIndirectParamW(plugin.m_hModule, pTemplate, hOwner, &BareDialogProc, 0); },
            [](HWND hDlg) { ::EndDialog(hDlg, 0); });
    };

    // The same template in the module's activation context, so its controls are the themed ones the module's
    // dialogs get: what the look alone costs, apart from what the module does.
    ACTCTXW ctx = {};
    ctx.cbSize = sizeof(ctx);
    ctx.dwFlags = ACTCTX_FLAG_HMODULE_VALID | ACTCTX_FLAG_RESOURCE_NAME_VALID;
    ctx.hModule = plugin.m_hModule;
    ctx.lpResourceName = ISOLATIONAWARE_NOSTATICIMPORT_MANIFEST_RESOURCE_ID;
    wchar_t szModule[MAX_PATH] = {};
    ::GetModuleFileNameW(plugin.m_hModule, szModule, MAX_PATH);
    ctx.lpSource = szModule;
    HANDLE hThemedContext = ::CreateActCtxW(&ctx);
    auto timeThemed = [&](const Subject& subject) {
        ULONG_PTR nCookie = 0;
        const bool bActive =
            hThemedContext != INVALID_HANDLE_VALUE && ::ActivateActCtx(hThemedContext, &nCookie);
        Sample sample = timeBare(subject);
        if (bActive)
            ::DeactivateActCtx(0, nCookie);
        return sample;
    };

    for (const wchar_t* pszLanguage : {L"English", L"Chs"}) {
        LanguageRecord language = {};
        for (size_t i = 0; pszLanguage[i] && i + 1 < kLanguageFolderNameChars; ++i)
            language.szFolderName[i] = static_cast<char16_t>(pszLanguage[i]);
        pInterface->SetLanguage(&language);
        // One round unmeasured: first-time costs (classes, fonts, files) are not what a host pays per dialog.
        for (const Subject& subject : subjects) {
            timeBare(subject);
            timeThemed(subject);
            timeModule(subject);
        }
        std::vector<Samples> bare(subjects.size()), themed(subjects.size()), module(subjects.size());
        for (int nRound = 0; nRound < nRounds; ++nRound) {
            for (size_t i = 0; i < subjects.size(); ++i) {
                // Alternating which goes first, so a drift of the machine weighs on both alike.
                if (nRound % 2 == 0) {
                    bare[i].all.push_back(timeBare(subjects[i]));
                    module[i].all.push_back(timeModule(subjects[i]));
                } else {
                    module[i].all.push_back(timeModule(subjects[i]));
                    bare[i].all.push_back(timeBare(subjects[i]));
                }
            }
        }
        // The themed reference in rounds of its own, so that the comparison above runs as an outside probe
        // runs it.
        for (int nRound = 0; nRound < nRounds; ++nRound) {
            for (size_t i = 0; i < subjects.size(); ++i)
                themed[i].all.push_back(timeThemed(subjects[i]));
        }

        std::printf(
            "\nOpen to idle, median of %d alternating rounds, language %ls (ms; phases bare/module)\n",
            nRounds, pszLanguage);
        std::printf("%-24s %7s %7s %7s %7s %7s  %13s %13s %13s %6s\n", "dialog", "bare", "themed", "module",
                    "ratio", "/themed", "created b/m", "init b/m", "painted b/m", "calls");
        for (size_t i = 0; i < subjects.size(); ++i) {
            const Samples &b = bare[i], &t = themed[i], &m = module[i];
            if (b.Failed() || t.Failed() || m.Failed()) {
                std::printf("%-24s did not reach idle\n", subjects[i].pszName);
                continue;
            }
            const double dBare = b.Median(&Sample::dTotal), dThemed = t.Median(&Sample::dTotal),
                         dModule = m.Median(&Sample::dTotal);
            std::printf("%-24s %7.2f %7.2f %7.2f %6.2fx %6.2fx  %6.1f/%6.1f %6.1f/%6.1f %6.1f/%6.1f %6d\n",
                        subjects[i].pszName, dBare, dThemed, dModule, dModule / dBare, dModule / dThemed,
                        b.Median(&Sample::dCreate), m.Median(&Sample::dCreate), b.Median(&Sample::dInit),
                        m.Median(&Sample::dInit), b.Median(&Sample::dPaint), m.Median(&Sample::dPaint),
                        m.all.back().nHostCalls);
        }
    }
    ::DestroyWindow(hOwner);
    if (hThemedContext != INVALID_HANDLE_VALUE)
        ::ReleaseActCtx(hThemedContext);
    return 0;
}
