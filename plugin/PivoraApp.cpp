// The module's application object, its entry point and the two exported functions.
#include <windows.h>

#include <new>

#include "platform/AfxWin.h"
#include "common/controls/PropertyGrid.h"
#include "common/ModuleState.h"
#include "PivoraProc.h"

namespace {

std::wstring TranslateFrameworkText(const std::wstring& strKey) {
    return g_languageFile.Translate(strKey);
}

} // namespace

class CPivoraApp : public CWinApp {
public:
    CPivoraApp() : CWinApp(L"Pivora") {}
    BOOL InitInstance() override {
        CWinApp::InitInstance();
        AfxSetTextTranslator(&TranslateFrameworkText);
        // The property grid's window class is registered by the first grid (see
        // CMFCPropertyGridCtrl::Create).
        return TRUE;
    }
    // The class names this module's code: it goes with the module, so a later load registers it afresh. (When
    // no grid was made, there is nothing to unregister and the call fails harmlessly.)
    int ExitInstance() override {
        CMFCPropertyGridCtrl::UnregisterWindowClass(AfxGetInstanceHandle());
        return CWinApp::ExitInstance();
    }
};

CPivoraApp theApp;

#if defined(__GLIBCXX__)
namespace __gnu_cxx {
void __freeres() noexcept;
}
#endif

extern "C" BOOL WINAPI DllMain(HINSTANCE hInstance, DWORD dwReason, LPVOID pReserved) {
    if (dwReason == DLL_PROCESS_ATTACH)
        ::DisableThreadLibraryCalls(hInstance);
    BOOL bResult = AfxDllMain(hInstance, dwReason);
#if defined(__GLIBCXX__)
    // The C++ runtime linked into the module keeps a pool of 73 KB for exceptions thrown when memory runs
    // out and never frees it: a host that unloads the module gets it back. At process exit the system
    // takes everything anyway.
    if (dwReason == DLL_PROCESS_DETACH && !pReserved)
        __gnu_cxx::__freeres();
#endif
    return bResult;
}

// Exported by name and ordinal through Pivora.def.
extern "C" CPivoraProcVirtual* NewInterface() {
    return new (std::nothrow) CPivoraProc();
}

extern "C" void ReleaseInterface(CPivoraProcVirtual* pInterface) {
    AfxGuard(0, [&] {
        if (pInterface)
            pInterface->DeletingDestructor(1);
        return 0;
    });
}
