#include "HeaderItemPainter.h"

#include <uxtheme.h>
#include <vssym32.h>

#include <algorithm>
#include <cwchar>
#include <string>
#include <vector>

namespace {

// The theme functions, from the theme library the themed common controls have loaded: a header without
// it is not themed, and the module does not load it for itself.
struct ThemeFunctions {
    HTHEME(WINAPI* pfnGetWindowTheme)(HWND) = nullptr;
    HRESULT(WINAPI* pfnDrawBackground)(HTHEME, HDC, int, int, const RECT*, const RECT*) = nullptr;
    HRESULT(WINAPI* pfnGetContentRect)(HTHEME, HDC, int, int, const RECT*, RECT*) = nullptr;
    HRESULT(WINAPI* pfnGetTextExtent)
    (HTHEME, HDC, int, int, LPCWSTR, int, DWORD, const RECT*, RECT*) = nullptr;
    HRESULT(WINAPI* pfnDrawText)(HTHEME, HDC, int, int, LPCWSTR, int, DWORD, DWORD, const RECT*) = nullptr;
    HRESULT(WINAPI* pfnGetThemeName)(LPWSTR, int, LPWSTR, int, LPWSTR, int) = nullptr;

    bool Load() {
        HMODULE hTheme = ::GetModuleHandleW(L"uxtheme.dll");
        if (!hTheme)
            return false;
        auto find = [hTheme](auto& pfn, const char* pszName) {
            pfn = AfxProcAddress<std::remove_reference_t<decltype(pfn)>>(hTheme, pszName);
            return pfn != nullptr;
        };
        return find(pfnGetWindowTheme, "GetWindowTheme") && find(pfnDrawBackground, "DrawThemeBackground") &&
               find(pfnGetContentRect, "GetThemeBackgroundContentRect") &&
               find(pfnGetTextExtent, "GetThemeTextExtent") && find(pfnDrawText, "DrawThemeText") &&
               find(pfnGetThemeName, "GetCurrentThemeName");
    }
};

const ThemeFunctions* Theme() {
    static const ThemeFunctions* s_pFunctions = [] {
        static ThemeFunctions functions;
        return functions.Load() ? &functions : nullptr;
    }();
    return s_pFunctions;
}

constexpr size_t kCachedSizes = 8;

struct Background {
    SIZE size;
    unique_hbitmap hBitmap; // null: the theme leaves part of it transparent, so it is drawn each time
};

// The backgrounds drawn so far, for one theme at one DPI; the module's lists share them.
struct BackgroundCache {
    std::wstring strKey; // the theme's file, colour and size names and the DPI
    std::vector<Background> entries;
};
BackgroundCache& Cache() {
    static BackgroundCache s_cache;
    return s_cache;
}

std::wstring CacheKey(HWND hHeader) {
    wchar_t szFile[MAX_PATH] = {}, szColour[MAX_PATH] = {}, szSize[MAX_PATH] = {};
    Theme()->pfnGetThemeName(szFile, MAX_PATH, szColour, MAX_PATH, szSize, MAX_PATH);
    return std::wstring(szFile) + L"|" + szColour + L"|" + szSize + L"|" +
           std::to_wstring(AfxGetWindowDpi(hHeader));
}

// The formats whose items are plain text in one of the three alignments.
constexpr int kPlainTextFormats = HDF_STRING | HDF_JUSTIFYMASK;

// The item background of one size as the theme draws it, or null when the theme leaves any of its pixels
// to what lies beneath (drawn over black and over white, it differs): such a background is drawn each time.
unique_hbitmap DrawOpaqueBackground(HTHEME hTheme, HDC hDC, SIZE size) {
    const RECT rcImage = {0, 0, size.cx, size.cy};
    unique_hbitmap hImages[2];
    std::vector<RGBQUAD> pixels[2];
    for (int i = 0; i < 2; ++i) {
        unique_hdc hMemory(::CreateCompatibleDC(hDC));
        hImages[i].reset(::CreateCompatibleBitmap(hDC, size.cx, size.cy));
        if (!hMemory || !hImages[i])
            return nullptr;
        {
            CSelectObject select(hMemory.get(), hImages[i].get());
            ::PatBlt(hMemory.get(), 0, 0, size.cx, size.cy, i == 0 ? BLACKNESS : WHITENESS);
            Theme()->pfnDrawBackground(hTheme, hMemory.get(), HP_HEADERITEM, HIS_NORMAL, &rcImage, nullptr);
        }
        BITMAPINFO bmi = {};
        bmi.bmiHeader = {sizeof(BITMAPINFOHEADER), size.cx, -size.cy, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
        pixels[i].resize(static_cast<size_t>(size.cx) * static_cast<size_t>(size.cy));
        if (::GetDIBits(hMemory.get(), hImages[i].get(), 0, static_cast<UINT>(size.cy), pixels[i].data(),
                        &bmi, DIB_RGB_COLORS) != size.cy)
            return nullptr;
    }
    const bool bOpaque = std::equal(
        pixels[0].begin(), pixels[0].end(), pixels[1].begin(), [](const RGBQUAD& a, const RGBQUAD& b) {
            return a.rgbRed == b.rgbRed && a.rgbGreen == b.rgbGreen && a.rgbBlue == b.rgbBlue;
        });
    return bOpaque ? std::move(hImages[0]) : nullptr;
}

// Copies the item background of the rectangle's size, drawing it first if it is new.
void PaintBackground(HTHEME hTheme, HWND hHeader, HDC hDC, const RECT& rc) {
    BackgroundCache& cache = Cache();
    std::wstring strKey = CacheKey(hHeader);
    if (strKey != cache.strKey) {
        cache.entries.clear();
        cache.strKey = std::move(strKey);
    }
    const SIZE size = {rc.right - rc.left, rc.bottom - rc.top};
    auto it = std::find_if(cache.entries.begin(), cache.entries.end(),
                           [&](const Background& b) { return b.size.cx == size.cx && b.size.cy == size.cy; });
    if (it == cache.entries.end()) {
        // A few sizes cover a grid; headers of many different widths keep the last few.
        if (cache.entries.size() >= kCachedSizes)
            cache.entries.erase(cache.entries.begin());
        cache.entries.push_back({size, DrawOpaqueBackground(hTheme, hDC, size)});
        it = std::prev(cache.entries.end());
    }
    unique_hdc hMemory(it->hBitmap ? ::CreateCompatibleDC(hDC) : nullptr);
    if (!hMemory) {
        Theme()->pfnDrawBackground(hTheme, hDC, HP_HEADERITEM, HIS_NORMAL, &rc, nullptr);
        return;
    }
    CSelectObject select(hMemory.get(), it->hBitmap.get());
    ::BitBlt(hDC, rc.left, rc.top, size.cx, size.cy, hMemory.get(), 0, 0, SRCCOPY);
}

} // namespace

LRESULT CHeaderItemPainter::OnCustomDraw(NMCUSTOMDRAW& cd) {
    switch (cd.dwDrawStage) {
    case CDDS_PREPAINT:
        m_bPainting = CanPaintItems(cd.hdr.hwndFrom);
        return m_bPainting ? CDRF_NOTIFYITEMDRAW : CDRF_DODEFAULT;
    case CDDS_ITEMPREPAINT:
        return m_bPainting && PaintItem(cd.hdr.hwndFrom, cd) ? CDRF_SKIPDEFAULT : CDRF_DODEFAULT;
    default:
        return CDRF_DODEFAULT;
    }
}

bool CHeaderItemPainter::CanPaintItems(HWND hHeader) const {
    const ThemeFunctions* pTheme = Theme();
    HTHEME hTheme = pTheme ? pTheme->pfnGetWindowTheme(hHeader) : nullptr;
    if (!hTheme)
        return false;
    // An item under the mouse or held by it is hot or pressed: the header knows which.
    if (::GetCapture() == hHeader)
        return false;
    POINT pt;
    RECT rcHeader;
    return !::GetCursorPos(&pt) || !::GetWindowRect(hHeader, &rcHeader) || !::PtInRect(&rcHeader, pt);
}

bool CHeaderItemPainter::PaintItem(HWND hHeader, NMCUSTOMDRAW& cd) {
    wchar_t szText[256] = {};
    HDITEMW hdi = {};
    hdi.mask = HDI_TEXT | HDI_FORMAT;
    hdi.pszText = szText;
    hdi.cchTextMax = static_cast<int>(std::size(szText));
    // Only an item of plain text, whole in the buffer, is painted here; the header knows the rest.
    if (!::SendMessageW(hHeader, HDM_GETITEMW, cd.dwItemSpec, reinterpret_cast<LPARAM>(&hdi)) ||
        (hdi.fmt & ~kPlainTextFormats) != 0 || (szText[0] && !(hdi.fmt & HDF_STRING)) ||
        std::wcslen(szText) + 1 >= std::size(szText))
        return false;
    const ThemeFunctions& theme = *Theme();
    HTHEME hTheme = theme.pfnGetWindowTheme(hHeader);
    RECT rc = cd.rc;
    if (rc.right <= rc.left || rc.bottom <= rc.top)
        return true;
    PaintBackground(hTheme, hHeader, cd.hdc, rc);
    theme.pfnGetContentRect(hTheme, cd.hdc, HP_HEADERITEM, HIS_NORMAL, &rc, &rc);
    if (!szText[0])
        return true;

    // The text's box: the text and a margin on each side, aligned in the item and kept inside it.
    RECT rcExtent = {};
    theme.pfnGetTextExtent(hTheme, cd.hdc, HP_HEADERITEM, HIS_NORMAL, szText, -1,
                           DT_LEFT | DT_VCENTER | DT_SINGLELINE, nullptr, &rcExtent);
    const int nMargin = static_cast<int>(::SendMessageW(hHeader, HDM_GETBITMAPMARGIN, 0, 0));
    int nBox = rcExtent.right - rcExtent.left + 2 * nMargin;
    const int nWidth = rc.right - rc.left;
    int nLeft = rc.right - nBox;
    if ((hdi.fmt & HDF_JUSTIFYMASK) == HDF_LEFT)
        nLeft = rc.left;
    else if ((hdi.fmt & HDF_JUSTIFYMASK) == HDF_CENTER)
        nLeft = rc.left + nWidth / 2 - nBox / 2;
    nLeft = std::max<int>(nLeft, rc.left);
    nBox = std::min<int>(nBox, rc.right - nLeft);
    RECT rcText = {nLeft + nMargin, rc.top, nLeft + nBox - nMargin, rc.bottom};
    const int nOldMode = ::SetBkMode(cd.hdc, TRANSPARENT);
    theme.pfnDrawText(hTheme, cd.hdc, HP_HEADERITEM, HIS_NORMAL, szText, -1,
                      DT_LEFT | DT_VCENTER | DT_SINGLELINE | DT_END_ELLIPSIS, 0, &rcText);
    ::SetBkMode(cd.hdc, nOldMode);
    return true;
}

void CHeaderItemPainter::Reset() {
    Cache().entries.clear();
}
