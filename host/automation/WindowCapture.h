// Captures a window as it shows on screen into 32-bit pixels, and saves and loads pixels as PNG.
#pragma once

#include <windows.h>

#include <cstdint>
#include <string>
#include <vector>

struct CapturedImage {
    int nWidth = 0;
    int nHeight = 0;
    std::vector<uint32_t> pixels; // 0x00RRGGBB, top row first

    // The pixel as a COLORREF (0x00BBGGRR), the form colours have everywhere else.
    COLORREF At(int x, int y) const;
};

// The window rectangle, or only the client area, as it is on the screen now.
CapturedImage CaptureWindow(HWND hWnd, bool bClientOnly = false);
bool SavePng(const CapturedImage& image, const std::wstring& strPath);
// Reads a PNG into 32-bit pixels; an empty image when the file is missing or unreadable.
CapturedImage LoadPng(const std::wstring& strPath);
