// The smallest host of Pivora.dll: it loads the module by name, takes its two functions by ordinal, hands
// over the language and its root object, asks one question that needs no dialog and one that shows a
// dialog, closes that dialog itself, and releases the interface object.
//
// Build it against the package's include/ folder alone, for example with mingw-w64:
//   x86_64-w64-mingw32-g++-posix -std=c++17 -I include sample/SampleHost.cpp -static -o SampleHost.exe
// or with MSVC: cl /std:c++17 /EHsc /I include sample\SampleHost.cpp user32.lib
// Run it from the folder that holds Pivora.dll and Lang\. It prints what happened and exits with 0 when
// every result was the expected one.
#include <windows.h>

#include <cstdio>

#include "PivoraInterface.h"

namespace {

// A root object for a host without a machine: every object it is asked for is absent. A real host returns
// its machine here; only the operations a dialog needs are ever called.
struct SampleHostInterface : IHostInterface {
    int nResetCalls = 0;

    IHostPrinter* GetPrinter() override { return nullptr; }
    IHostParameter* GetParameter(int32_t) override { return nullptr; }
    void GetZPosition(double*) override {}
    int32_t ConfirmPrintPosition() override { return 0; }
    int32_t ApplySettings(int32_t, int32_t, int32_t) override { return 0; }
    int32_t ResetInkSupplyTimeout() override {
        ++nResetCalls;
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
};

// The dialog the module shows is modal and runs its own message loop on this thread, so the host's timers
// keep firing while it is open. The timer below plays the operator: it closes the first dialog it finds.
wchar_t g_szDialogCaption[256];

BOOL CALLBACK CloseDialogOfThread(HWND hWnd, LPARAM) {
    wchar_t szClass[16] = {};
    ::GetClassNameW(hWnd, szClass, 16);
    if (::lstrcmpW(szClass, L"#32770") != 0 || !::IsWindowVisible(hWnd))
        return TRUE;
    ::GetWindowTextW(hWnd, g_szDialogCaption, 256);
    // The close box: the dialog ends as with Cancel.
    ::PostMessageW(hWnd, WM_CLOSE, 0, 0);
    return FALSE;
}

void CALLBACK OnOperatorTimer(HWND, UINT, UINT_PTR, DWORD) {
    ::EnumThreadWindows(::GetCurrentThreadId(), &CloseDialogOfThread, 0);
}

} // namespace

int main() {
    // By its exact name: the module finds its own dialog templates through it.
    HMODULE hModule = ::LoadLibraryW(L"Pivora.dll");
    if (!hModule) {
        std::printf("Pivora.dll could not be loaded (error %lu)\n", ::GetLastError());
        return 1;
    }
    // Ordinal 1 is NewInterface, ordinal 2 ReleaseInterface; their names work as well.
    auto pfnNew = reinterpret_cast<PFN_NewInterface>(
        reinterpret_cast<void (*)()>(::GetProcAddress(hModule, MAKEINTRESOURCEA(1))));
    auto pfnRelease = reinterpret_cast<PFN_ReleaseInterface>(
        reinterpret_cast<void (*)()>(::GetProcAddress(hModule, MAKEINTRESOURCEA(2))));
    CPivoraProcVirtual* pInterface = pfnNew && pfnRelease ? pfnNew() : nullptr;
    if (!pInterface) {
        std::printf("Pivora.dll offers no interface object\n");
        ::FreeLibrary(hModule);
        return 1;
    }

    // The language folder below Lang\ of the host's folder; the record's other bytes are the host's own.
    LanguageRecord language = {};
    const char16_t szFolder[] = u"Chs";
    for (size_t i = 0; i < sizeof(szFolder) / sizeof(szFolder[0]); ++i)
        language.szFolderName[i] = szFolder[i];
    pInterface->SetLanguage(&language);
    SampleHostInterface host;
    pInterface->SetHostInterface(&host);

    bool bAsExpected = true;

    // Without a machine there is nothing to confirm: 2, do not print, and no dialog.
    int32_t nConfirm = pInterface->ConfirmPrint(1);
    std::printf("ConfirmPrint(1) without a machine returned %d\n", nConfirm);
    bAsExpected = bAsExpected && nConfirm == 2;

    // The ink supply question shows a dialog; the timer closes it as the operator would.
    UINT_PTR nTimer = ::SetTimer(nullptr, 0, 300, &OnOperatorTimer);
    int32_t nTimeout = pInterface->ShowSupplyInkTimeout();
    ::KillTimer(nullptr, nTimer);
    char szCaption[512] = {};
    ::WideCharToMultiByte(CP_UTF8, 0, g_szDialogCaption, -1, szCaption, sizeof(szCaption), nullptr, nullptr);
    std::printf("ShowSupplyInkTimeout returned %d after the dialog \"%s\" was closed; reset asked %d times\n",
                nTimeout, szCaption, host.nResetCalls);
    bAsExpected = bAsExpected && nTimeout == 1 && g_szDialogCaption[0] != L'\0' && host.nResetCalls == 0;

    pfnRelease(pInterface);
    ::FreeLibrary(hModule);
    std::printf(bAsExpected ? "Sample host: all results as expected\n" : "Sample host: unexpected results\n");
    return bAsExpected ? 0 : 1;
}
