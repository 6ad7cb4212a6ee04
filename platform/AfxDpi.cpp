#include "AfxDpi.h"

#include "AfxHandles.h"

int AfxGetWindowDpi(HWND hWnd) {
    // GetDpiForWindow exists from Windows 10 on; the build targets Windows 7, so it is looked up.
    using PFN_GetDpiForWindow = UINT(WINAPI*)(HWND);
    static const auto pfnGetDpiForWindow =
        AfxProcAddress<PFN_GetDpiForWindow>(::GetModuleHandleW(L"user32.dll"), "GetDpiForWindow");
    if (hWnd && pfnGetDpiForWindow) {
        if (UINT nDpi = pfnGetDpiForWindow(hWnd))
            return static_cast<int>(nDpi);
    }
    CWindowDC dc(hWnd);
    const int nDpi = dc ? ::GetDeviceCaps(dc, LOGPIXELSY) : 0;
    return nDpi > 0 ? nDpi : kAfxDefaultDpi;
}
