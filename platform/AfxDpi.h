// Scaling for the screen's DPI: run-time layout and fonts are written as pixels of a 96-DPI screen and
// multiplied by the window's DPI / 96 here, so a DPI-aware host gets a dialog in proportion at 125 to
// 200 % and a 96-DPI screen gets exactly the numbers written.
#pragma once

#include <windows.h>

constexpr int kAfxDefaultDpi = 96;

// The DPI the window is laid out for: the window's own where the system knows it (a per-monitor-aware
// host), else the logical pixels per inch of its screen (the system DPI); the system DPI without a window.
int AfxGetWindowDpi(HWND hWnd);

// A 96-DPI pixel value (or font height in logical units) at nDpi, rounded to the nearest pixel.
constexpr int AfxScaleForDpi(int nPixels96, int nDpi) {
    const long long n = static_cast<long long>(nPixels96) * nDpi;
    return static_cast<int>(n >= 0 ? (n + kAfxDefaultDpi / 2) / kAfxDefaultDpi
                                   : -((-n + kAfxDefaultDpi / 2) / kAfxDefaultDpi));
}

// The scale of one window, read once: dpi(24) is 24 at 96 DPI and 36 at 144.
class CDpiScale {
public:
    explicit CDpiScale(HWND hWnd) : m_nDpi(AfxGetWindowDpi(hWnd)) {}
    int operator()(int nPixels96) const { return AfxScaleForDpi(nPixels96, m_nDpi); }
    int GetDpi() const { return m_nDpi; }

private:
    int m_nDpi;
};
