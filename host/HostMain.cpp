// PivoraHost.exe: a stand-in for the print-control host. Loads Pivora.dll as the host does, offers its
// simulated machine through the host interfaces, and lets a person run every operation from one window.
//
//   PivoraHost.exe [--lang English|Chs] [--shot DIR]
//
// --shot opens every dialog in English and in Chinese, saves each as DIR\<name>-<language>.png and exits.
#include <windows.h>
#include <commctrl.h>

#include <cstdio>
#include <memory>
#include <string>
#include <vector>

#include "PivoraInterface.h"
#include "ScriptedOperator.h"
#include "SimMachine.h"
#include "WindowCapture.h"

namespace {

enum CommandId : int {
    kCmdFirst = 100,
    kCmdPrintMode = kCmdFirst,
    kCmdConfirmPlat,
    kCmdConfirmBefore,
    kCmdMultiStep,
    kCmdCutInk,
    kCmdSwitchInk,
    kCmdSupplyTimeout,
    kCmdEclosion,
    kCmdVersion,
    kCmdLast,
    kIdLanguage = 200,
    kIdTask,
    kIdLog,
    kIdStatus,
};

struct Operation {
    int nCommand;
    const wchar_t* pszLabel;
    const wchar_t* pszShotName;
};

const Operation kOperations[] = {
    {kCmdPrintMode, L"Choose print mode...", L"print-mode"},
    {kCmdConfirmPlat, L"Confirm print (heights and position)...", L"print-confirm"},
    {kCmdConfirmBefore, L"Confirm before printing...", L"confirm-before-printing"},
    {kCmdMultiStep, L"Multi-step operation...", L"multi-step"},
    {kCmdCutInk, L"Cut ink setting...", L"cut-ink"},
    {kCmdSwitchInk, L"Switch ink order...", L"switch-ink-order"},
    {kCmdSupplyTimeout, L"Ink supply timeout...", L"supply-ink-timeout"},
    {kCmdEclosion, L"Custom eclosion...", L"custom-eclosion"},
    {kCmdVersion, L"Detailed version info...", L"version-info"},
};

const wchar_t* const kLanguages[] = {L"English", L"Chs"};

class HostApp {
public:
    bool Load();
    void SetLanguage(const std::wstring& strFolder);
    int32_t Run(int nCommand);
    int RunWindow(HINSTANCE hInstance);
    int RunShots(const std::wstring& strDir);

    std::unique_ptr<SimMachine> m_pMachine = SimMachine::CreateDefault();
    HMODULE m_hModule = nullptr;
    PFN_NewInterface m_pfnNew = nullptr;
    PFN_ReleaseInterface m_pfnRelease = nullptr;
    CPivoraProcVirtual* m_pInterface = nullptr;
    std::wstring m_strLanguage = L"English";
    HWND m_hMain = nullptr;
    size_t m_nLogShown = 0;

    ~HostApp() {
        if (m_pInterface)
            m_pfnRelease(m_pInterface);
        if (m_hModule)
            ::FreeLibrary(m_hModule);
    }

private:
    static LRESULT CALLBACK MainProc(HWND hWnd, UINT nMsg, WPARAM wParam, LPARAM lParam);
    void CreateControls(HWND hWnd);
    void OnCommand(int nId, int nCode);
    void ShowLog(int32_t nResult, int nCommand);
    SimTask& SelectedTask();
};

HostApp* g_pApp = nullptr;

bool HostApp::Load() {
    m_hModule = ::LoadLibraryW(L"Pivora.dll");
    if (!m_hModule)
        return false;
    m_pfnNew = reinterpret_cast<PFN_NewInterface>(reinterpret_cast<void (*)()>(::GetProcAddress(m_hModule, "NewInterface")));
    m_pfnRelease = reinterpret_cast<PFN_ReleaseInterface>(reinterpret_cast<void (*)()>(::GetProcAddress(m_hModule, "ReleaseInterface")));
    if (!m_pfnNew || !m_pfnRelease)
        return false;
    m_pInterface = m_pfnNew();
    if (!m_pInterface)
        return false;
    SetLanguage(m_strLanguage);
    m_pInterface->SetHostInterface(m_pMachine.get());
    return true;
}

void HostApp::SetLanguage(const std::wstring& strFolder) {
    m_strLanguage = strFolder;
    LanguageRecord record = {};
    for (size_t i = 0; i < strFolder.size() && i + 1 < kLanguageFolderNameChars; ++i)
        record.szFolderName[i] = static_cast<char16_t>(strFolder[i]);
    m_pInterface->SetLanguage(&record);
}

SimTask& HostApp::SelectedTask() {
    int nSel = m_hMain ? static_cast<int>(::SendDlgItemMessageW(m_hMain, kIdTask, CB_GETCURSEL, 0, 0)) : 0;
    if (nSel < 0 || static_cast<size_t>(nSel) >= m_pMachine->m_tasks.size())
        nSel = 0;
    return *m_pMachine->m_tasks[static_cast<size_t>(nSel)];
}

int32_t HostApp::Run(int nCommand) {
    switch (nCommand) {
    case kCmdPrintMode:
        return m_pInterface->ConfirmPrintMode(&SelectedTask());
    case kCmdConfirmPlat:
        return m_pInterface->ConfirmPrint(1);
    case kCmdConfirmBefore:
        return m_pInterface->ConfirmPrint(0);
    case kCmdMultiStep: {
        auto pRecord = std::make_unique<MultiStepRecord>();
        return m_pInterface->ShowMultiStepPopup(pRecord.get());
    }
    case kCmdCutInk: {
        int32_t values[kCutInkValueCount] = {};
        uint32_t nApplyToAll = 0;
        return m_pInterface->ShowCutInkSetting(m_pMachine->GetPrinter(), 0xFFFFFFFF, values, &nApplyToAll);
    }
    case kCmdSwitchInk:
        return m_pInterface->ShowSwitchInkOrder();
    case kCmdSupplyTimeout:
        return m_pInterface->ShowSupplyInkTimeout();
    case kCmdEclosion:
        return m_pInterface->ShowCustomEclosion(0);
    case kCmdVersion: {
        SoftwareVersionRecord record = {};
        return m_pInterface->ShowDetailVersionInfo(&record);
    }
    default:
        return 0;
    }
}

// ---------------------------------------------------------------------------------------------------------
// The window a person works with.

void HostApp::CreateControls(HWND hWnd) {
    HINSTANCE hInst = ::GetModuleHandleW(nullptr);
    auto hFont = static_cast<HFONT>(::GetStockObject(DEFAULT_GUI_FONT));
    auto make = [&](const wchar_t* pszClass, const wchar_t* pszText, DWORD dwStyle, int x, int y, int w, int h,
                    int nId) {
        HWND hCtrl = ::CreateWindowExW(0, pszClass, pszText, WS_CHILD | WS_VISIBLE | dwStyle, x, y, w, h, hWnd,
                                       reinterpret_cast<HMENU>(static_cast<INT_PTR>(nId)), hInst, nullptr);
        ::SendMessageW(hCtrl, WM_SETFONT, reinterpret_cast<WPARAM>(hFont), TRUE);
        return hCtrl;
    };
    make(L"STATIC", L"Language:", SS_RIGHT, 10, 14, 80, 20, -1);
    HWND hLang = make(L"COMBOBOX", L"", CBS_DROPDOWNLIST | WS_TABSTOP, 96, 10, 140, 200, kIdLanguage);
    for (const wchar_t* pszLang : kLanguages)
        ::SendMessageW(hLang, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(pszLang));
    ::SendMessageW(hLang, CB_SETCURSEL, m_strLanguage == L"Chs" ? 1 : 0, 0);
    make(L"STATIC", L"Print task:", SS_RIGHT, 250, 14, 80, 20, -1);
    HWND hTask = make(L"COMBOBOX", L"", CBS_DROPDOWNLIST | WS_TABSTOP, 336, 10, 180, 200, kIdTask);
    for (const auto& pTask : m_pMachine->m_tasks) {
        std::wstring strName(pTask->m_strName.begin(), pTask->m_strName.end());
        ::SendMessageW(hTask, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(strName.c_str()));
    }
    ::SendMessageW(hTask, CB_SETCURSEL, 0, 0);
    int y = 44;
    for (const Operation& op : kOperations) {
        make(L"BUTTON", op.pszLabel, BS_PUSHBUTTON | WS_TABSTOP, 10, y, 250, 26, op.nCommand);
        y += 30;
    }
    make(L"STATIC", L"Host calls made by the module:", 0, 270, 44, 300, 18, -1);
    make(L"LISTBOX", L"", WS_BORDER | WS_VSCROLL | LBS_NOINTEGRALHEIGHT, 270, 64, 330, y - 64 - 4, kIdLog);
    make(L"STATIC", L"Ready.", SS_SUNKEN, 10, y + 6, 590, 20, kIdStatus);
}

void HostApp::ShowLog(int32_t nResult, int nCommand) {
    HWND hLog = ::GetDlgItem(m_hMain, kIdLog);
    const auto& calls = m_pMachine->m_log.m_calls;
    for (size_t i = m_nLogShown; i < calls.size(); ++i) {
        std::wstring strCall(calls[i].begin(), calls[i].end());
        ::SendMessageW(hLog, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(strCall.c_str()));
    }
    m_nLogShown = calls.size();
    int nCount = static_cast<int>(::SendMessageW(hLog, LB_GETCOUNT, 0, 0));
    ::SendMessageW(hLog, LB_SETTOPINDEX, nCount > 0 ? nCount - 1 : 0, 0);
    for (const Operation& op : kOperations) {
        if (op.nCommand == nCommand) {
            wchar_t szStatus[256];
            std::swprintf(szStatus, 256, L"%ls returned %d.", op.pszLabel, nResult);
            ::SetDlgItemTextW(m_hMain, kIdStatus, szStatus);
        }
    }
}

void HostApp::OnCommand(int nId, int nCode) {
    if (nId == kIdLanguage && nCode == CBN_SELCHANGE) {
        int nSel = static_cast<int>(::SendDlgItemMessageW(m_hMain, kIdLanguage, CB_GETCURSEL, 0, 0));
        SetLanguage(kLanguages[nSel == 1 ? 1 : 0]);
        return;
    }
    if (nId >= kCmdFirst && nId < kCmdLast && nCode == BN_CLICKED) {
        m_pMachine->m_log.m_bRecording = true;
        int32_t nResult = Run(nId);
        ShowLog(nResult, nId);
    }
}

LRESULT CALLBACK HostApp::MainProc(HWND hWnd, UINT nMsg, WPARAM wParam, LPARAM lParam) {
    switch (nMsg) {
    case WM_CREATE:
        g_pApp->m_hMain = hWnd;
        g_pApp->CreateControls(hWnd);
        return 0;
    case WM_COMMAND:
        g_pApp->OnCommand(LOWORD(wParam), HIWORD(wParam));
        return 0;
    case WM_DESTROY:
        ::PostQuitMessage(0);
        return 0;
    default:
        return ::DefWindowProcW(hWnd, nMsg, wParam, lParam);
    }
}

int HostApp::RunWindow(HINSTANCE hInstance) {
    WNDCLASSW wc = {};
    wc.lpfnWndProc = &HostApp::MainProc;
    wc.hInstance = hInstance;
    wc.hCursor = ::LoadCursorW(nullptr, IDC_ARROW);
    wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    wc.lpszClassName = L"PivoraHostMain";
    ::RegisterClassW(&wc);
    HWND hWnd = ::CreateWindowW(L"PivoraHostMain", L"Pivora host simulator", WS_OVERLAPPEDWINDOW, CW_USEDEFAULT,
                                CW_USEDEFAULT, 630, 410, nullptr, nullptr, hInstance, nullptr);
    ::ShowWindow(hWnd, SW_SHOW);
    MSG msg;
    while (::GetMessageW(&msg, nullptr, 0, 0) > 0) {
        if (!::IsDialogMessageW(hWnd, &msg)) {
            ::TranslateMessage(&msg);
            ::DispatchMessageW(&msg);
        }
    }
    return 0;
}

// ---------------------------------------------------------------------------------------------------------
// Screenshots of every dialog.

int HostApp::RunShots(const std::wstring& strDir) {
    ::CreateDirectoryW(strDir.c_str(), nullptr);
    int nFailures = 0;
    for (const wchar_t* pszLanguage : kLanguages) {
        SetLanguage(pszLanguage);
        for (const Operation& op : kOperations) {
            std::wstring strPath = strDir + L"\\" + op.pszShotName + L"-" + pszLanguage + L".png";
            bool bSaved = false;
            Operator shot;
            shot.Then([&](HWND hDlg) {
                bSaved = SavePng(CaptureWindow(hDlg), strPath);
                ::PostMessageW(hDlg, WM_COMMAND, IDCANCEL, 0);
            });
            shot.Start();
            Run(op.nCommand);
            if (!bSaved) {
                ++nFailures;
                std::fwprintf(stderr, L"no picture of %ls\n", strPath.c_str());
            }
        }
    }
    return nFailures == 0 ? 0 : 1;
}

} // namespace

int WINAPI wWinMain(HINSTANCE hInstance, HINSTANCE, PWSTR, int) {
    INITCOMMONCONTROLSEX icc = {sizeof(icc), ICC_STANDARD_CLASSES};
    ::InitCommonControlsEx(&icc);
    HostApp app;
    g_pApp = &app;
    std::wstring strShotDir;
    for (int i = 1; i < __argc; ++i) {
        std::wstring strArg = __wargv[i];
        if (strArg == L"--shot" && i + 1 < __argc)
            strShotDir = __wargv[++i];
        else if (strArg == L"--lang" && i + 1 < __argc)
            app.m_strLanguage = __wargv[++i];
    }
    if (!app.Load()) {
        ::MessageBoxW(nullptr, L"Pivora.dll could not be loaded from the program's folder.", L"Pivora host",
                      MB_ICONERROR);
        return 2;
    }
    return strShotDir.empty() ? app.RunWindow(hInstance) : app.RunShots(strShotDir);
}
