#include "WindowCapture.h"

#include <objidl.h>
#include <gdiplus.h>

#include <memory>

#include "platform/AfxHandles.h"

COLORREF CapturedImage::At(int x, int y) const {
    if (x < 0 || y < 0 || x >= nWidth || y >= nHeight)
        return CLR_INVALID;
    uint32_t px = pixels[static_cast<size_t>(y) * static_cast<size_t>(nWidth) + static_cast<size_t>(x)];
    return RGB((px >> 16) & 0xFF, (px >> 8) & 0xFF, px & 0xFF);
}

CapturedImage CaptureWindow(HWND hWnd, bool bClientOnly) {
    CapturedImage image;
    RECT rc;
    if (bClientOnly) {
        ::GetClientRect(hWnd, &rc);
        ::MapWindowPoints(hWnd, nullptr, reinterpret_cast<POINT*>(&rc), 2);
    } else {
        ::GetWindowRect(hWnd, &rc);
    }
    image.nWidth = rc.right - rc.left;
    image.nHeight = rc.bottom - rc.top;
    if (image.nWidth <= 0 || image.nHeight <= 0)
        return image;
    ::RedrawWindow(hWnd, nullptr, nullptr,
                   RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN | RDW_UPDATENOW);

    CWindowDC screen(nullptr);
    unique_hdc memDC(::CreateCompatibleDC(screen));
    BITMAPINFO bmi = {};
    bmi.bmiHeader.biSize = sizeof(bmi.bmiHeader);
    bmi.bmiHeader.biWidth = image.nWidth;
    bmi.bmiHeader.biHeight = -image.nHeight;
    bmi.bmiHeader.biPlanes = 1;
    bmi.bmiHeader.biBitCount = 32;
    bmi.bmiHeader.biCompression = BI_RGB;
    void* pBits = nullptr;
    unique_hbitmap bitmap(::CreateDIBSection(screen, &bmi, DIB_RGB_COLORS, &pBits, nullptr, 0));
    if (!bitmap || !pBits)
        return image;
    {
        // The window's own pixels: under Wine the screen can lag behind what the window has just painted.
        CWindowDC source(hWnd, !bClientOnly);
        CSelectObject select(memDC.get(), bitmap.get());
        ::BitBlt(memDC.get(), 0, 0, image.nWidth, image.nHeight, source, 0, 0, SRCCOPY);
    }
    ::GdiFlush();
    const auto* pSrc = static_cast<const uint32_t*>(pBits);
    image.pixels.assign(pSrc, pSrc + static_cast<size_t>(image.nWidth) * static_cast<size_t>(image.nHeight));
    for (auto& px : image.pixels)
        px &= 0x00FFFFFF;
    return image;
}

namespace {

// GDI+ for as long as one image is saved or loaded.
struct GdiPlus {
    GdiPlus() { bStarted = Gdiplus::GdiplusStartup(&token, &input, nullptr) == Gdiplus::Ok; }
    ~GdiPlus() {
        if (bStarted)
            Gdiplus::GdiplusShutdown(token);
    }
    GdiPlus(const GdiPlus&) = delete;
    GdiPlus& operator=(const GdiPlus&) = delete;
    Gdiplus::GdiplusStartupInput input;
    ULONG_PTR token = 0;
    bool bStarted = false;
};

} // namespace

bool SavePng(const CapturedImage& image, const std::wstring& strPath) {
    GdiPlus gdiPlus;
    UINT nCount = 0, nSize = 0;
    if (gdiPlus.bStarted)
        Gdiplus::GetImageEncodersSize(&nCount, &nSize);
    if (image.nWidth <= 0 || image.nHeight <= 0 || nSize == 0)
        return false;
    std::vector<BYTE> codecs(nSize);
    auto* pCodecs = reinterpret_cast<Gdiplus::ImageCodecInfo*>(codecs.data());
    Gdiplus::GetImageEncoders(nCount, nSize, pCodecs);
    std::vector<uint32_t> pixels = image.pixels;
    for (auto& px : pixels)
        px |= 0xFF000000;
    Gdiplus::Bitmap bitmap(image.nWidth, image.nHeight, image.nWidth * 4, PixelFormat32bppARGB,
                           reinterpret_cast<BYTE*>(pixels.data()));
    for (UINT i = 0; i < nCount; ++i)
        if (std::wstring(pCodecs[i].MimeType) == L"image/png")
            return bitmap.Save(strPath.c_str(), &pCodecs[i].Clsid, nullptr) == Gdiplus::Ok;
    return false;
}

CapturedImage LoadPng(const std::wstring& strPath) {
    CapturedImage image;
    GdiPlus gdiPlus;
    if (!gdiPlus.bStarted)
        return image;
    Gdiplus::Bitmap bitmap(strPath.c_str());
    Gdiplus::BitmapData data = {};
    Gdiplus::Rect rect(0, 0, static_cast<INT>(bitmap.GetWidth()), static_cast<INT>(bitmap.GetHeight()));
    if (bitmap.GetLastStatus() != Gdiplus::Ok || rect.Width <= 0 || rect.Height <= 0 ||
        bitmap.LockBits(&rect, Gdiplus::ImageLockModeRead, PixelFormat32bppRGB, &data) != Gdiplus::Ok)
        return image;
    image.nWidth = rect.Width;
    image.nHeight = rect.Height;
    for (int y = 0; y < rect.Height; ++y) {
        const auto* pRow = reinterpret_cast<const uint32_t*>(static_cast<const BYTE*>(data.Scan0) +
                                                             static_cast<ptrdiff_t>(y) * data.Stride);
        for (int x = 0; x < rect.Width; ++x)
            image.pixels.push_back(pRow[x] & 0x00FFFFFF);
    }
    bitmap.UnlockBits(&data);
    return image;
}
