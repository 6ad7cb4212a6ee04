// A host as an MSVC-built program sees the module: compiled for the Microsoft C++ ABI (`_MSC_VER` set, so
// the interface object's real virtual destructor is declared), with no runtime library at all. Its host
// objects are C++ classes, the module is called through the compiler's own virtual calls and calls back
// through them, and the object ends with `delete` through the interface pointer: slot 0 with flag 1, which
// the module answers by freeing its own object.
//
// Built by check_package.sh against the unpacked package (clang for x86_64-pc-windows-msvc, lld-link against
// the mingw-w64 import libraries); exits with the number of failed checks.
#include "PivoraInterface.h"

#if !defined(_MSC_VER)
#error "This host is built for the Microsoft C++ ABI"
#endif

// The few Windows functions it needs, declared by hand: no platform headers, no runtime.
extern "C" {
typedef void* HANDLE;
typedef struct HINSTANCE__* HMODULE;
typedef struct HWND__* HWND;
typedef int BOOL;
typedef unsigned long DWORD;
typedef unsigned long long UINT_PTR;
typedef long long LPARAM;
typedef unsigned long long WPARAM;
typedef void(__stdcall* TIMERPROC)(HWND, unsigned, UINT_PTR, DWORD);
typedef BOOL(__stdcall* WNDENUMPROC)(HWND, LPARAM);
__declspec(dllimport) HMODULE __stdcall LoadLibraryW(const wchar_t*);
__declspec(dllimport) void* __stdcall GetProcAddress(HMODULE, const char*);
__declspec(dllimport) BOOL __stdcall FreeLibrary(HMODULE);
__declspec(dllimport) HANDLE __stdcall GetStdHandle(DWORD);
__declspec(dllimport) BOOL __stdcall WriteFile(HANDLE, const void*, DWORD, DWORD*, void*);
__declspec(dllimport) __declspec(noreturn) void __stdcall ExitProcess(unsigned);
__declspec(dllimport) DWORD __stdcall GetCurrentThreadId();
__declspec(dllimport) UINT_PTR __stdcall SetTimer(HWND, UINT_PTR, unsigned, TIMERPROC);
__declspec(dllimport) BOOL __stdcall KillTimer(HWND, UINT_PTR);
__declspec(dllimport) BOOL __stdcall EnumThreadWindows(DWORD, WNDENUMPROC, LPARAM);
__declspec(dllimport) BOOL __stdcall IsWindowVisible(HWND);
__declspec(dllimport) HWND __stdcall GetDlgItem(HWND, int);
__declspec(dllimport) BOOL __stdcall PostMessageW(HWND, unsigned, WPARAM, LPARAM);

// What the compiler expects of a runtime: floating point in use, a pure virtual call, and the operator
// delete a class with a virtual destructor refers to (never called here: the module frees its object).
int _fltused = 0;
int __cdecl _purecall() {
    ExitProcess(90);
}
}
void __cdecl operator delete(void*, unsigned long long) noexcept {
    ExitProcess(91);
}

namespace {

int g_nFailures = 0;

void Print(const char* psz) {
    DWORD nLen = 0;
    while (psz[nLen])
        ++nLen;
    DWORD nWritten = 0;
    WriteFile(GetStdHandle(static_cast<DWORD>(-11)), psz, nLen, &nWritten, nullptr);
}

void Check(bool bOk, const char* pszWhat) {
    if (bOk)
        return;
    ++g_nFailures;
    Print("FAILED: ");
    Print(pszWhat);
    Print("\n");
}

// Parameters answer 0: no confirmation before printing, no print mode question.
class ZeroParameter final : public IHostParameter {
public:
    void GetIntValue(int32_t* pnValue) override {
        ++m_nReads;
        *pnValue = 0;
    }
    void GetDoubleValue(double* pdValue) override { *pdValue = 0.0; }
    void SetDoubleValue(double, int32_t) override {}
    int m_nReads = 0;
};

class Printer final : public IHostPrinter {
public:
    IHostParameter* GetParameter(int32_t nId) override {
        m_nLastId = nId;
        return &m_parameter;
    }
    IHostGroupLayout* GetGroupLayout() override { return nullptr; }
    IHostGroupTable* GetGroupTable() override { return nullptr; }
    IHostPrintModeTable* GetPrintModeTable() override { return nullptr; }
    IHostMachineInfo* GetMachineInfo() override { return nullptr; }
    IHostSnapshot* CreateSnapshot() override { return nullptr; }
    void ReleaseSnapshot(IHostSnapshot*) override {}
    ZeroParameter m_parameter;
    int32_t m_nLastId = -1;
};

class Root final : public IHostInterface {
public:
    IHostPrinter* GetPrinter() override { return &m_printer; }
    IHostParameter* GetParameter(int32_t) override { return nullptr; }
    void GetZPosition(double*) override {}
    int32_t ConfirmPrintPosition() override { return 0; }
    int32_t ApplySettings(int32_t, int32_t, int32_t) override { return 0; }
    int32_t ResetInkSupplyTimeout() override {
        ++m_nResets;
        return 1;
    }
    int32_t GetMultiStepState() override { return kMultiStepIdle; }
    int32_t SendNextStepSignal() override { return 0; }
    int32_t SendCancelSignal() override { return 0; }
    int32_t SendFinishSignal() override { return 0; }
    int32_t GetVersionRecord(BoardVersionRecord*) override { return 0; }
    IHostController* GetController() override { return nullptr; }
    void GetMachineDateTime(MachineDateTime*) override {}
    IHostHeadConfig* GetHeadConfig() override { return nullptr; }
    IHostHeadSettings* GetHeadSettings() override { return nullptr; }
    IHostChannelGroupTables* GetGroupSettings() override { return nullptr; }
    IHostGroupTable* GetGroupTable() override { return nullptr; }
    IHostEclosionTemplateList* GetEclosionTemplates() override { return nullptr; }
    int32_t IsSnapshotEnabled() override { return 0; }
    Printer m_printer;
    int m_nResets = 0;
};

class Task final : public IHostTask {
public:
    int32_t GetModeListKey() override { return 0; }
    int32_t GetPrintMode() override { return 0; }
    void SetPrintMode(uint32_t) override { ++m_nSets; }
    int m_nSets = 0;
};

// The operator: presses Reset (control 10019) of the ink supply question once it is shown.
BOOL __stdcall PressReset(HWND hWnd, LPARAM) {
    HWND hReset = GetDlgItem(hWnd, 10019);
    if (!hReset || !IsWindowVisible(hWnd))
        return 1;
    PostMessageW(hWnd, 0x0111 /* WM_COMMAND */, 10019, reinterpret_cast<LPARAM>(hReset));
    return 0;
}
void __stdcall OnOperatorTimer(HWND, unsigned, UINT_PTR, DWORD) {
    EnumThreadWindows(GetCurrentThreadId(), &PressReset, 0);
}

} // namespace

extern "C" void __cdecl HostEntry() {
    HMODULE hModule = LoadLibraryW(L"Pivora.dll");
    Check(hModule != nullptr, "Pivora.dll loads");
    if (!hModule)
        ExitProcess(1);
    auto pfnNew = reinterpret_cast<PFN_NewInterface>(GetProcAddress(hModule, "NewInterface"));
    auto pfnRelease = reinterpret_cast<PFN_ReleaseInterface>(GetProcAddress(hModule, "ReleaseInterface"));
    Check(pfnNew && pfnRelease, "both exports found");
    CPivoraProcVirtual* pInterface = pfnNew ? pfnNew() : nullptr;
    Check(pInterface != nullptr, "NewInterface gives an object");
    if (!pInterface)
        ExitProcess(2);

    // Into the module through its table, back into the host's objects through theirs.
    static Root root;
    static Task task;
    pInterface->SetLanguage(nullptr);
    pInterface->SetHostInterface(&root);
    Check(pInterface->ConfirmPrint(1) == 1, "ConfirmPrint(1) with parameter 2014 = 0 prints without asking");
    Check(root.m_printer.m_nLastId == kParamPrintConfirm, "ConfirmPrint read parameter 2014");
    Check(pInterface->ConfirmPrintMode(&task) == 1, "ConfirmPrintMode with parameter 3206 = 0 goes on");
    Check(root.m_printer.m_nLastId == kParamPrintModeAsk, "ConfirmPrintMode read parameter 3206");
    Check(root.m_printer.m_parameter.m_nReads == 2 && task.m_nSets == 0, "two reads, the task left alone");

    // A modal dialog of the module, answered by the host's own timer: Reset calls the host back.
    UINT_PTR nTimer = SetTimer(nullptr, 0, 50, &OnOperatorTimer);
    Check(pInterface->ShowSupplyInkTimeout() == 1, "the ink supply question answers 1");
    KillTimer(nullptr, nTimer);
    Check(root.m_nResets == 1, "Reset reached the host's ResetInkSupplyTimeout once");

    // The compiler's own delete: the scalar deleting destructor in slot 0, flag 1.
    delete pInterface;

    // The module is still sound: a second object works and is released the exported way.
    CPivoraProcVirtual* pSecond = pfnNew();
    Check(pSecond && pSecond->ConfirmPrint(1) == 1, "a second object after delete");
    if (pSecond)
        pfnRelease(pSecond);
    FreeLibrary(hModule);
    Print(g_nFailures == 0 ? "MSVC-ABI host: passed\n" : "MSVC-ABI host: failed\n");
    ExitProcess(static_cast<unsigned>(g_nFailures));
}
