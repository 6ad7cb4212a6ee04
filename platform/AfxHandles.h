// Owners of handles: one owner per GDI object, device context and activation context, scope objects for
// pairs that must not lose their second half, and the guard that keeps exceptions inside the module.
#pragma once

#include <windows.h>

#include <memory>
#include <string>
#include <type_traits>
#include <utility>

template <typename H> struct GdiObjectDeleter {
    using pointer = H;
    void operator()(H h) const noexcept {
        if (h)
            ::DeleteObject(h);
    }
};

template <typename H> using unique_gdi = std::unique_ptr<std::remove_pointer_t<H>, GdiObjectDeleter<H>>;

using unique_hfont = unique_gdi<HFONT>;
using unique_hpen = unique_gdi<HPEN>;
using unique_hbrush = unique_gdi<HBRUSH>;
using unique_hrgn = unique_gdi<HRGN>;
using unique_hbitmap = unique_gdi<HBITMAP>;

// Any other handle with its one release function.
template <typename H, auto pfnRelease> struct HandleDeleter {
    using pointer = H;
    void operator()(H h) const noexcept {
        if (h)
            pfnRelease(h);
    }
};
using unique_hmodule =
    std::unique_ptr<std::remove_pointer_t<HMODULE>, HandleDeleter<HMODULE, &::FreeLibrary>>;
using unique_hglobal = std::unique_ptr<void, HandleDeleter<HGLOBAL, &::GlobalFree>>;

// A function of a system library looked up by name (newer than the build's target, or from a library the
// module does not import); null when the library or the function is missing.
template <typename Fn> Fn AfxProcAddress(HMODULE hModule, const char* pszName) {
    return hModule ? reinterpret_cast<Fn>(reinterpret_cast<void (*)()>(::GetProcAddress(hModule, pszName)))
                   : nullptr;
}

struct DcDeleter {
    using pointer = HDC;
    void operator()(HDC h) const noexcept {
        if (h)
            ::DeleteDC(h);
    }
};
using unique_hdc = std::unique_ptr<std::remove_pointer_t<HDC>, DcDeleter>;

// A DC obtained with GetDC (client area) or GetWindowDC (whole window), given back with ReleaseDC.
class CWindowDC {
public:
    explicit CWindowDC(HWND hWnd, bool bWholeWindow = false)
        : m_hWnd(hWnd), m_hDC(bWholeWindow ? ::GetWindowDC(hWnd) : ::GetDC(hWnd)) {}
    ~CWindowDC() {
        if (m_hDC)
            ::ReleaseDC(m_hWnd, m_hDC);
    }
    CWindowDC(const CWindowDC&) = delete;
    CWindowDC& operator=(const CWindowDC&) = delete;
    HDC GetSafeHdc() const { return m_hDC; }
    operator HDC() const { return m_hDC; }

private:
    HWND m_hWnd;
    HDC m_hDC;
};

// The DC of one WM_PAINT: BeginPaint when made, EndPaint when the scope ends.
class CPaintDC {
public:
    explicit CPaintDC(HWND hWnd) : m_hWnd(hWnd), m_hDC(::BeginPaint(hWnd, &m_ps)) {}
    ~CPaintDC() { ::EndPaint(m_hWnd, &m_ps); }
    CPaintDC(const CPaintDC&) = delete;
    CPaintDC& operator=(const CPaintDC&) = delete;
    HDC GetSafeHdc() const { return m_hDC; }
    operator HDC() const { return m_hDC; }
    // Fills with a plain colour through the background colour, so no brush has to be made.
    void FillSolidRect(const RECT& rc, COLORREF clr) {
        COLORREF clrOld = ::SetBkColor(m_hDC, clr);
        ::ExtTextOutW(m_hDC, 0, 0, ETO_OPAQUE, &rc, nullptr, 0, nullptr);
        ::SetBkColor(m_hDC, clrOld);
    }

private:
    HWND m_hWnd;
    PAINTSTRUCT m_ps = {};
    HDC m_hDC;
};

// Selects an object into a DC and puts the previous one back when the scope ends.
class CSelectObject {
public:
    CSelectObject(HDC hDC, HGDIOBJ hObject) : m_hDC(hDC), m_hOld(::SelectObject(hDC, hObject)) {}
    ~CSelectObject() {
        if (m_hOld)
            ::SelectObject(m_hDC, m_hOld);
    }
    CSelectObject(const CSelectObject&) = delete;
    CSelectObject& operator=(const CSelectObject&) = delete;

private:
    HDC m_hDC;
    HGDIOBJ m_hOld;
};

// The font object of the dialogs: created at run time, sent to controls, released with the dialog.
class CFont {
public:
    CFont() = default;
    BOOL CreateFont(int nHeight, int nWidth, int nEscapement, int nOrientation, int nWeight, BYTE bItalic,
                    BYTE bUnderline, BYTE cStrikeOut, BYTE nCharSet, BYTE nOutPrecision, BYTE nClipPrecision,
                    BYTE nQuality, BYTE nPitchAndFamily, const wchar_t* lpszFacename) {
        m_hFont.reset(::CreateFontW(nHeight, nWidth, nEscapement, nOrientation, nWeight, bItalic, bUnderline,
                                    cStrikeOut, nCharSet, nOutPrecision, nClipPrecision, nQuality,
                                    nPitchAndFamily, lpszFacename));
        return m_hFont != nullptr;
    }
    HFONT GetSafeHandle() const { return m_hFont.get(); }
    operator HFONT() const { return m_hFont.get(); }
    void DeleteObject() { m_hFont.reset(); }

private:
    unique_hfont m_hFont;
};

// Runs its function when the scope ends, on every path: the second half of a pair ("switch to the module's
// resources / switch back", "set a module flag / clear it").
template <typename F> class CScopeExit {
public:
    explicit CScopeExit(F fn) : m_fn(std::move(fn)) {}
    ~CScopeExit() { m_fn(); }
    CScopeExit(const CScopeExit&) = delete;
    CScopeExit& operator=(const CScopeExit&) = delete;

private:
    F m_fn;
};

// Called by AfxGuard after it caught something: ends the innermost modal dialog of the module, which then
// reports the result of a dialog that could not be created.
void AfxOnGuardedException() noexcept;

// The one guard at every boundary (exported operations, window and dialog procedures, system callbacks):
// nothing thrown reaches the host or unwinds through the system's frames.
template <typename R, typename F> R AfxGuard(R fallback, F&& fn) noexcept {
    try {
        return std::forward<F>(fn)();
    } catch (...) {
        AfxOnGuardedException();
        return fallback;
    }
}
