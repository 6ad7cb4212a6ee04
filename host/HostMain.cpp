// PivoraHost.exe: a stand-in for the print-control host. Loads Pivora.dll as the host does, offers its
// simulated machine through the host interfaces, and lets a person run every operation from one window.
//
//   PivoraHost.exe [--lang English|Chs] [--shot DIR]
//
// --shot opens every dialog in English and in Chinese (only in the language of --lang when it is given),
// saves each as DIR\<name>-<language>.png, writes DIR\text-fit.txt (which texts show whole) and exits.
// The pictures come from a fixed state (Z axis standing, multi-step run driven step by step, its log's time
// stamps set to one fixed time, length unit mm), so two runs give the same pictures: the committed golden
// pictures are compared with them.
#include <windows.h>
#include <commctrl.h>

#include <cstdio>
#include <cwctype>
#include <memory>
#include <string>
#include <vector>

#include "PivoraInterface.h"
#include "ScriptedOperator.h"
#include "SimMachine.h"
#include "SimPrintFlow.h"
#include "WindowCapture.h"
#include "dialogs/print/PollTimers.h"
#include "platform/AfxDpi.h"
#include "platform/AfxHandles.h"
#include "res/resource.h"

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
    kIdUnit,
};

// The simulator forgives what the tests' strict machine notes as faults.
std::unique_ptr<SimMachine> ForgivingMachine() {
    std::unique_ptr<SimMachine> pMachine = SimMachine::CreateDefault();
    pMachine->m_log.m_bStrict = false;
    return pMachine;
}

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
// Length units of the host's project file, in the order of UNIT_SEL.
const wchar_t* const kUnits[] = {L"mm", L"inch", L"cm"};
// The Z axis moves 0.04 mm every 100 ms while a print confirmation shows it.
constexpr UINT kZAxisStepMs = 100;

class HostApp {
public:
    bool Load();
    void SetLanguage(const std::wstring& strFolder);
    int32_t Run(int nCommand);
    HWND CreateMainWindow(HINSTANCE hInstance);
    int RunWindow(HINSTANCE hInstance);
    int RunShots(HINSTANCE hInstance, const std::wstring& strDir);

    std::unique_ptr<SimMachine> m_pMachine = ForgivingMachine();
    HMODULE m_hModule = nullptr;
    PFN_NewInterface m_pfnNew = nullptr;
    PFN_ReleaseInterface m_pfnRelease = nullptr;
    CPivoraProcVirtual* m_pInterface = nullptr;
    std::wstring m_strLanguage = L"English";
    HWND m_hMain = nullptr;
    HWND m_hLastFocus = nullptr; // the control that had the focus when the window was last left
    size_t m_nLogShown = 0;
    SimZAxisMotion m_zMotion{10.0, 15.0, 0.04};
    bool m_bMoveZAxis = true;
    // The machine runs a multi-step operation on its own timer; the shots drive it step by step instead.
    bool m_bRunMultiStepByTimer = true;
    // --lang given: the picture run takes only that language.
    bool m_bOneLanguage = false;

    ~HostApp() {
        if (m_pInterface)
            m_pfnRelease(m_pInterface);
        if (m_hModule)
            ::FreeLibrary(m_hModule);
    }

private:
    static LRESULT CALLBACK MainProc(HWND hWnd, UINT nMsg, WPARAM wParam, LPARAM lParam);
    static void CALLBACK OnZAxisTimer(HWND, UINT, UINT_PTR, DWORD);
    int32_t RunConfirmPrint(int32_t nSelector);
    void CreateControls(HWND hWnd);
    void OnCommand(int nId, int nCode);
    void ShowLog(int32_t nResult, int nCommand);
    SimTask& SelectedTask();
};

HostApp* g_pApp = nullptr;

// The dialog's poll timer of the multi-step operation.

// The start callback handed over in the multi-step record: the machine begins the operation.
void StartMultiStepOperation() {
    g_pApp->m_pMachine->m_multiStep.Start();
}

void CALLBACK OnMultiStepTimer(HWND, UINT, UINT_PTR, DWORD) {
    g_pApp->m_pMachine->m_multiStep.Tick();
}

// The log's time stamps are the local time of the run; a picture shows one fixed time instead, so that two
// runs give the same picture. Only the digits of a stamp of the log's form are replaced: a line in another
// form stays as the dialog wrote it.
void FixLogTimeStamps(HWND hDlg) {
    static const wchar_t kPattern[] = L"[0000-00-00 00:00:00]";
    static const wchar_t kFixed[] = L"[2026-03-02 09:30:00]";
    constexpr size_t kStampLength = sizeof(kPattern) / sizeof(kPattern[0]) - 1;
    HWND hLog = ::GetDlgItem(hDlg, IDC_MULTI_STEP_LOG);
    int nTop = static_cast<int>(::SendMessageW(hLog, LB_GETTOPINDEX, 0, 0));
    int nCount = static_cast<int>(::SendMessageW(hLog, LB_GETCOUNT, 0, 0));
    for (int i = 0; i < nCount; ++i) {
        LRESULT nLength = ::SendMessageW(hLog, LB_GETTEXTLEN, i, 0);
        if (nLength < static_cast<LRESULT>(kStampLength))
            continue;
        std::wstring strLine(static_cast<size_t>(nLength) + 1, L'\0');
        ::SendMessageW(hLog, LB_GETTEXT, i, reinterpret_cast<LPARAM>(strLine.data()));
        strLine.resize(static_cast<size_t>(nLength));
        bool bStamp = true;
        for (size_t n = 0; n < kStampLength && bStamp; ++n)
            bStamp = kPattern[n] == L'0' ? std::iswdigit(strLine[n]) != 0 : strLine[n] == kPattern[n];
        if (!bStamp)
            continue;
        strLine.replace(0, kStampLength, kFixed);
        ::SendMessageW(hLog, LB_DELETESTRING, i, 0);
        ::SendMessageW(hLog, LB_INSERTSTRING, i, reinterpret_cast<LPARAM>(strLine.c_str()));
    }
    ::SendMessageW(hLog, LB_SETTOPINDEX, nTop, 0);
}

// The picture of a multi-step run is taken in its middle: the machine's timer and the dialog's poll take
// turns until the second step waits for the operator, with Next Step pressed after the first.
void AddMultiStepShotSteps(Operator& shot, SimMultiStep& operation) {
    auto runUntilWaiting = [&operation](HWND hDlg) {
        operation.Tick();
        SendTimer(hDlg, kMultiStepPollTimer);
        return operation.m_nState == kMultiStepWaitingOperator;
    };
    shot.WaitUntil(runUntilWaiting);
    shot.Then([](HWND hDlg) { Click(hDlg, IDC_MULTI_STEP_NEXT); });
    shot.WaitUntil(runUntilWaiting);
}

// The version picture shows the first driver board of the first head board opened, and that head board
// selected, as the operator gets there with the keys.
void ExpandVersionShotRows(HWND hDlg) {
    HWND hGrid = ::GetWindow(hDlg, GW_CHILD);
    ::SetFocus(hGrid);
    // Main board, its six rows, head board 1, its three rows: the driver board is the twelfth row.
    ::SendMessageW(hGrid, WM_KEYDOWN, VK_HOME, 0);
    for (int i = 0; i < 11; ++i)
        ::SendMessageW(hGrid, WM_KEYDOWN, VK_DOWN, 0);
    ::SendMessageW(hGrid, WM_KEYDOWN, VK_RIGHT, 0);
    for (int i = 0; i < 4; ++i)
        ::SendMessageW(hGrid, WM_KEYDOWN, VK_UP, 0);
    ::UpdateWindow(hGrid);
}

// The operator ticks the box under a channel of a head (both 0-based) in the switch ink order grid.
void TickInkChannel(HWND hDlg, int nHead, int nChannel) {
    HWND hList = ::GetDlgItem(hDlg, IDC_SWITCH_INK_LIST);
    RECT rc = {LVIR_BOUNDS, nChannel + 2, 0, 0};
    ::SendMessageW(hList, LVM_GETSUBITEMRECT, static_cast<WPARAM>(3 * nHead + 1),
                   reinterpret_cast<LPARAM>(&rc));
    const LPARAM lPoint = MAKELPARAM((rc.left + rc.right) / 2, (rc.top + rc.bottom) / 2);
    ::SendMessageW(hList, WM_LBUTTONDOWN, MK_LBUTTON, lPoint);
    ::SendMessageW(hList, WM_LBUTTONUP, 0, lPoint);
}

// The picture of the ink switch shows a switch across kinds done (black and white on head 1, through head
// 4's channels) and the next two boxes ticked.
void AddSwitchInkShotSteps(Operator& shot) {
    shot.Then([](HWND hDlg) {
        TickInkChannel(hDlg, 0, 0);
        TickInkChannel(hDlg, 0, 6);
        Click(hDlg, IDC_SWITCH_INK_SWITCH);
        TickInkChannel(hDlg, 0, 2);
        TickInkChannel(hDlg, 0, 3);
    });
}

// Whether each visible static text, button and edit box of the window shows its whole text, one line per
// control: "<picture> <n> <class> <id> fits|cut <text size> <room>", n counting them in window order. The
// room is the client area less what the control draws besides its text.
void AppendTextFit(std::string& strReport, const std::wstring& strPicture, HWND hWnd) {
    struct Walk {
        std::string* pReport;
        std::string strPicture;
        int n = 0;
    } walk{&strReport, std::string(strPicture.begin(), strPicture.end())};
    auto visit = [](HWND hCtrl, LPARAM lParam) -> BOOL {
        Walk& w = *reinterpret_cast<Walk*>(lParam);
        wchar_t szClass[16] = {}, szText[512] = {};
        ::GetClassNameW(hCtrl, szClass, 16);
        const std::wstring strClass = szClass;
        const DWORD dwStyle = static_cast<DWORD>(::GetWindowLongW(hCtrl, GWL_STYLE));
        const DWORD dwType = dwStyle & 0xF;
        if (!::IsWindowVisible(hCtrl) || !::GetWindowTextW(hCtrl, szText, 512))
            return TRUE;
        const CDpiScale px(hCtrl);
        RECT rcRoom;
        ::GetClientRect(hCtrl, &rcRoom);
        bool bWrap = false;
        if (strClass == L"Static") {
            bWrap = dwType <= SS_RIGHT;
            if (!bWrap && dwType != SS_SIMPLE && dwType != SS_LEFTNOWORDWRAP)
                return TRUE;
        } else if (strClass == L"Button" && dwType <= BS_AUTORADIOBUTTON && dwType != BS_GROUPBOX) {
            bool bBox = dwType != BS_PUSHBUTTON && dwType != BS_DEFPUSHBUTTON;
            ::InflateRect(&rcRoom, -px(bBox ? 0 : 3), -px(bBox ? 0 : 2));
            rcRoom.left += bBox ? px(16) : 0;
            bWrap = (dwStyle & BS_MULTILINE) != 0;
        } else if (strClass == L"Edit") {
            const LRESULT nMargins = ::SendMessageW(hCtrl, EM_GETMARGINS, 0, 0);
            rcRoom.left += LOWORD(nMargins);
            rcRoom.right -= HIWORD(nMargins);
            bWrap = (dwStyle & ES_MULTILINE) != 0;
        } else if (strClass != L"Edit") {
            return TRUE;
        }
        CWindowDC dc(hCtrl);
        auto hFont = reinterpret_cast<HGDIOBJ>(::SendMessageW(hCtrl, WM_GETFONT, 0, 0));
        CSelectObject selectFont(dc, hFont ? hFont : ::GetStockObject(SYSTEM_FONT));
        RECT rcText = {0, 0, rcRoom.right - rcRoom.left, 0};
        ::DrawTextW(dc, szText, -1, &rcText, DT_CALCRECT | (bWrap ? DT_WORDBREAK : DT_SINGLELINE));
        const bool bFits =
            rcText.right <= rcRoom.right - rcRoom.left && rcText.bottom <= rcRoom.bottom - rcRoom.top;
        char szLine[256];
        std::snprintf(szLine, sizeof(szLine), "%s %d %ls %d %s %ldx%ld %ldx%ld\n", w.strPicture.c_str(),
                      w.n++, szClass, ::GetDlgCtrlID(hCtrl), bFits ? "fits" : "cut", rcText.right,
                      rcText.bottom, rcRoom.right - rcRoom.left, rcRoom.bottom - rcRoom.top);
        *w.pReport += szLine;
        return TRUE;
    };
    ::EnumChildWindows(hWnd, visit, reinterpret_cast<LPARAM>(&walk));
}

bool HostApp::Load() {
    m_hModule = ::LoadLibraryW(L"Pivora.dll");
    if (!m_hModule)
        return false;
    m_pfnNew = reinterpret_cast<PFN_NewInterface>(
        reinterpret_cast<void (*)()>(::GetProcAddress(m_hModule, "NewInterface")));
    m_pfnRelease = reinterpret_cast<PFN_ReleaseInterface>(
        reinterpret_cast<void (*)()>(::GetProcAddress(m_hModule, "ReleaseInterface")));
    if (!m_pfnNew || !m_pfnRelease)
        return false;
    m_pInterface = m_pfnNew();
    if (!m_pInterface)
        return false;
    SetLanguage(m_strLanguage);
    m_pInterface->SetHostInterface(m_pMachine.get());
    // The host's own files: the module writes Data\Temp.ini and reads the length unit of Project.ini.
    EnsureSimDataFolder(SimHostDir());
    if (ReadSimProjectUnit(SimHostDir()) < 0)
        WriteSimProjectUnit(SimHostDir(), 0);
    return true;
}

void CALLBACK HostApp::OnZAxisTimer(HWND, UINT, UINT_PTR, DWORD) {
    g_pApp->m_zMotion.Step(g_pApp->m_pMachine->m_dZPosition);
}

int32_t HostApp::RunConfirmPrint(int32_t nSelector) {
    // The platform keeps moving while the operator watches the live Z position.
    UINT_PTR nTimer = m_bMoveZAxis ? ::SetTimer(nullptr, 0, kZAxisStepMs, &HostApp::OnZAxisTimer) : 0;
    int32_t nResult = m_pInterface->ConfirmPrint(nSelector);
    if (nTimer)
        ::KillTimer(nullptr, nTimer);
    return nResult;
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
        return RunConfirmPrint(1);
    case kCmdConfirmBefore:
        return RunConfirmPrint(0);
    case kCmdMultiStep: {
        auto pRecord = std::make_unique<MultiStepRecord>();
        m_pMachine->m_multiStep.FillRecord(*pRecord, m_strLanguage == L"Chs");
        pRecord->nStartCallback = reinterpret_cast<uintptr_t>(&StartMultiStepOperation);
        // The machine advances on the host's thread timer while the dialog follows it.
        UINT_PTR nTimer =
            m_bRunMultiStepByTimer ? ::SetTimer(nullptr, 0, SimMultiStep::kTickMs, &OnMultiStepTimer) : 0;
        int32_t nResult = m_pInterface->ShowMultiStepPopup(pRecord.get());
        if (nTimer)
            ::KillTimer(nullptr, nTimer);
        return nResult;
    }
    case kCmdCutInk: {
        // The machine keeps its values: what the operator set last time shows next time.
        SimCutInkSettings& cutInk = m_pMachine->m_printer.m_cutInk;
        return m_pInterface->ShowCutInkSetting(m_pMachine->GetPrinter(), kCutInkDerivedRowCount,
                                               cutInk.nValues, &cutInk.nApplyToAll);
    }
    case kCmdSwitchInk:
        return m_pInterface->ShowSwitchInkOrder();
    case kCmdSupplyTimeout:
        // The ink supply has timed out; the question clears it only when the operator chooses Reset.
        m_pMachine->m_inkSupply.m_bTimedOut = true;
        return m_pInterface->ShowSupplyInkTimeout();
    case kCmdEclosion:
        // Shift held down on the button lets the operator edit the default templates too.
        return m_pInterface->ShowCustomEclosion(::GetKeyState(VK_SHIFT) < 0 ? 1 : 0);
    case kCmdVersion: {
        // The simulator's own version, as the host reports its software.
        SoftwareVersionRecord record = {3, 8, 1, 0, 2417, 0, "20261015"};
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
    // The stock font follows the screen's DPI; the places below are pixels of a 96-DPI screen.
    auto hFont = static_cast<HFONT>(::GetStockObject(DEFAULT_GUI_FONT));
    const CDpiScale px(hWnd);
    auto make = [&](const wchar_t* pszClass, const wchar_t* pszText, DWORD dwStyle, int x, int y, int w,
                    int h, int nId) {
        HWND hCtrl = ::CreateWindowExW(0, pszClass, pszText, WS_CHILD | WS_VISIBLE | dwStyle, px(x), px(y),
                                       px(w), px(h), hWnd, reinterpret_cast<HMENU>(static_cast<INT_PTR>(nId)),
                                       hInst, nullptr);
        ::SendMessageW(hCtrl, WM_SETFONT, reinterpret_cast<WPARAM>(hFont), TRUE);
        return hCtrl;
    };
    make(L"STATIC", L"Language:", SS_RIGHT, 10, 14, 60, 20, -1);
    HWND hLang = make(L"COMBOBOX", L"", CBS_DROPDOWNLIST | WS_TABSTOP, 74, 10, 100, 200, kIdLanguage);
    for (const wchar_t* pszLang : kLanguages)
        ::SendMessageW(hLang, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(pszLang));
    ::SendMessageW(hLang, CB_SETCURSEL, m_strLanguage == L"Chs" ? 1 : 0, 0);
    make(L"STATIC", L"Print task:", SS_RIGHT, 184, 14, 70, 20, -1);
    HWND hTask = make(L"COMBOBOX", L"", CBS_DROPDOWNLIST | WS_TABSTOP, 258, 10, 160, 200, kIdTask);
    for (const auto& pTask : m_pMachine->m_tasks) {
        std::wstring strName(pTask->m_strName.begin(), pTask->m_strName.end());
        ::SendMessageW(hTask, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(strName.c_str()));
    }
    ::SendMessageW(hTask, CB_SETCURSEL, 0, 0);
    make(L"STATIC", L"Length unit:", SS_RIGHT, 426, 14, 70, 20, -1);
    HWND hUnit = make(L"COMBOBOX", L"", CBS_DROPDOWNLIST | WS_TABSTOP, 500, 10, 100, 200, kIdUnit);
    for (const wchar_t* pszUnit : kUnits)
        ::SendMessageW(hUnit, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(pszUnit));
    ::SendMessageW(hUnit, CB_SETCURSEL, ReadSimProjectUnit(SimHostDir()), 0);
    int y = 44;
    for (const Operation& op : kOperations) {
        make(L"BUTTON", op.pszLabel, BS_PUSHBUTTON | WS_TABSTOP, 10, y, 250, 26, op.nCommand);
        y += 30;
    }
    make(L"STATIC", L"Host calls made by the module:", 0, 270, 44, 300, 18, -1);
    make(L"LISTBOX", L"", WS_BORDER | WS_VSCROLL | LBS_NOINTEGRALHEIGHT | WS_TABSTOP, 270, 64, 330,
         y - 64 - 4, kIdLog);
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
    if (nId == kIdUnit && nCode == CBN_SELCHANGE) {
        int nSel = static_cast<int>(::SendDlgItemMessageW(m_hMain, kIdUnit, CB_GETCURSEL, 0, 0));
        WriteSimProjectUnit(SimHostDir(), nSel < 0 ? 0 : nSel);
        return;
    }
    if (nId >= kCmdFirst && nId < kCmdLast && nCode == BN_CLICKED) {
        m_pMachine->m_log.m_bRecording = true;
        int32_t nResult = Run(nId);
        // The keyboard goes on where it was: Enter opens the same dialog again.
        ::SendMessageW(m_hMain, WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(::GetDlgItem(m_hMain, nId)), TRUE);
        ShowLog(nResult, nId);
        if (nId == kCmdSwitchInk) {
            // The inks each head prints now, channel by channel.
            for (const std::string& strLine :
                 m_pMachine->m_heads.DescribeInks(m_pMachine->m_printer.m_groupTable)) {
                std::wstring strWide(strLine.begin(), strLine.end());
                ::SendDlgItemMessageW(m_hMain, kIdLog, LB_ADDSTRING, 0,
                                      reinterpret_cast<LPARAM>(strWide.c_str()));
            }
        }
        if (nId == kCmdConfirmPlat) {
            wchar_t szLine[64];
            std::swprintf(szLine, 64, L"Data\\Temp.ini NOT_PRINT_CONFIRM=%d",
                          ReadSimNotPrintConfirm(SimHostDir()));
            ::SendDlgItemMessageW(m_hMain, kIdLog, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(szLine));
        }
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
    case WM_ACTIVATE:
        // A window run by the dialog manager's keys keeps its focused control across a switch away and back.
        if (LOWORD(wParam) == WA_INACTIVE) {
            HWND hFocus = ::GetFocus();
            if (hFocus && ::IsChild(hWnd, hFocus))
                g_pApp->m_hLastFocus = hFocus;
        } else if (g_pApp->m_hLastFocus && ::IsWindow(g_pApp->m_hLastFocus)) {
            ::SetFocus(g_pApp->m_hLastFocus);
            return 0;
        }
        return ::DefWindowProcW(hWnd, nMsg, wParam, lParam);
    case WM_DESTROY:
        ::PostQuitMessage(0);
        return 0;
    default:
        return ::DefWindowProcW(hWnd, nMsg, wParam, lParam);
    }
}

HWND HostApp::CreateMainWindow(HINSTANCE hInstance) {
    WNDCLASSW wc = {};
    wc.lpfnWndProc = &HostApp::MainProc;
    wc.hInstance = hInstance;
    wc.hCursor = ::LoadCursorW(nullptr, IDC_ARROW);
    wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    wc.lpszClassName = L"PivoraHostMain";
    ::RegisterClassW(&wc);
    const CDpiScale px(nullptr);
    HWND hWnd =
        ::CreateWindowW(L"PivoraHostMain", L"Pivora host simulator", WS_OVERLAPPEDWINDOW, CW_USEDEFAULT,
                        CW_USEDEFAULT, px(630), px(410), nullptr, nullptr, hInstance, nullptr);
    ::ShowWindow(hWnd, SW_SHOW);
    ::UpdateWindow(hWnd);
    return hWnd;
}

int HostApp::RunWindow(HINSTANCE hInstance) {
    HWND hWnd = CreateMainWindow(hInstance);
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

int HostApp::RunShots(HINSTANCE hInstance, const std::wstring& strDir) {
    ::CreateDirectoryW(strDir.c_str(), nullptr);
    int nFailures = 0;
    // The simulator's own window first; the dialogs then open over it, as they do over the real host.
    HWND hMain = CreateMainWindow(hInstance);
    if (!SavePng(CaptureWindow(hMain), strDir + L"\\host-window.png"))
        ++nFailures;
    std::string strTextFit;
    AppendTextFit(strTextFit, L"host-window", hMain);
    // Pictures in millimetres with the Z axis standing still; the person's unit comes back afterwards.
    m_bMoveZAxis = false;
    m_bRunMultiStepByTimer = false;
    int nUnit = ReadSimProjectUnit(SimHostDir());
    WriteSimProjectUnit(SimHostDir(), 0);
    const std::wstring strOnlyLanguage = m_strLanguage;
    for (const wchar_t* pszLanguage : kLanguages) {
        if (m_bOneLanguage && strOnlyLanguage != pszLanguage)
            continue;
        SetLanguage(pszLanguage);
        for (const Operation& op : kOperations) {
            std::wstring strPath = strDir + L"\\" + op.pszShotName + L"-" + pszLanguage + L".png";
            bool bSaved = false;
            Operator shot;
            if (op.nCommand == kCmdMultiStep)
                AddMultiStepShotSteps(shot, m_pMachine->m_multiStep);
            if (op.nCommand == kCmdVersion)
                shot.Then(ExpandVersionShotRows);
            if (op.nCommand == kCmdSwitchInk)
                AddSwitchInkShotSteps(shot); // Cancel puts the inks back from the snapshot
            shot.Then([&](HWND hDlg) {
                // The live Z position, as the operator sees it after the first refresh.
                if (op.nCommand == kCmdConfirmPlat || op.nCommand == kCmdConfirmBefore)
                    SendTimer(hDlg, kZRefreshTimer);
                if (op.nCommand == kCmdMultiStep)
                    FixLogTimeStamps(hDlg);
                bSaved = SavePng(CaptureWindow(hDlg), strPath);
                AppendTextFit(strTextFit, std::wstring(op.pszShotName) + L"-" + pszLanguage, hDlg);
                // A running multi-step operation would ask before Cancel; OK leaves at once.
                ::PostMessageW(hDlg, WM_COMMAND, op.nCommand == kCmdMultiStep ? IDOK : IDCANCEL, 0);
            });
            shot.Start();
            Run(op.nCommand);
            if (!bSaved) {
                ++nFailures;
                std::fwprintf(stderr, L"no picture of %ls\n", strPath.c_str());
            }
        }
    }
    WriteSimProjectUnit(SimHostDir(), nUnit < 0 ? 0 : nUnit);
    if (FILE* pFile = ::_wfopen((strDir + L"\\text-fit.txt").c_str(), L"wb")) {
        std::fwrite(strTextFit.data(), 1, strTextFit.size(), pFile);
        std::fclose(pFile);
    }
    ::DestroyWindow(hMain);
    return nFailures == 0 ? 0 : 1;
}

} // namespace

int WINAPI wWinMain(HINSTANCE hInstance, HINSTANCE, PWSTR, int) {
    // System-aware, as a host at a panel of 125 to 200 % is: the system scales no bitmap, the program and
    // the module's dialogs lay themselves out for the screen's DPI.
    ::SetProcessDPIAware();
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
            app.m_strLanguage = __wargv[++i], app.m_bOneLanguage = true;
    }
    if (!app.Load()) {
        ::MessageBoxW(nullptr, L"Pivora.dll could not be loaded from the program's folder.", L"Pivora host",
                      MB_ICONERROR);
        return 2;
    }
    return strShotDir.empty() ? app.RunWindow(hInstance) : app.RunShots(hInstance, strShotDir);
}
