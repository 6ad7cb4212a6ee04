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

extern "C" BOOL WINAPI DllMain(HINSTANCE hInstance, DWORD dwReason, LPVOID) {
    if (dwReason == DLL_PROCESS_ATTACH)
        ::DisableThreadLibraryCalls(hInstance);
    return AfxDllMain(hInstance, dwReason);
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
