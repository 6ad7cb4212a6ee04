// Owners of GDI+ objects made through the flat functions: the library's start-up, a graphics object on a
// DC, a pen and a solid brush. Each releases its object exactly once with the matching delete function.
#pragma once

#include <windows.h>

#include <memory>
#include <type_traits>

// objidl.h first: the lean Windows header leaves out the property types GDI+ declares with.
#include <objidl.h>
#include <gdiplus.h>

// GDI+ must be started before the first object is made and may not be started or shut down while the
// loader lock is held, so the object that paints with it owns one start-up (they are counted).
class CGdiPlusSession {
public:
    CGdiPlusSession() {
        Gdiplus::GdiplusStartupInput input;
        if (Gdiplus::GdiplusStartup(&m_ulToken, &input, nullptr) != Gdiplus::Ok)
            m_ulToken = 0;
    }
    ~CGdiPlusSession() {
        if (m_ulToken)
            Gdiplus::GdiplusShutdown(m_ulToken);
    }
    CGdiPlusSession(const CGdiPlusSession&) = delete;
    CGdiPlusSession& operator=(const CGdiPlusSession&) = delete;
    bool IsStarted() const { return m_ulToken != 0; }

private:
    ULONG_PTR m_ulToken = 0;
};

struct GdipGraphicsDeleter {
    void operator()(Gdiplus::GpGraphics* p) const noexcept { Gdiplus::DllExports::GdipDeleteGraphics(p); }
};
struct GdipPenDeleter {
    void operator()(Gdiplus::GpPen* p) const noexcept { Gdiplus::DllExports::GdipDeletePen(p); }
};
struct GdipBrushDeleter {
    void operator()(Gdiplus::GpSolidFill* p) const noexcept { Gdiplus::DllExports::GdipDeleteBrush(p); }
};

using unique_gdip_graphics = std::unique_ptr<Gdiplus::GpGraphics, GdipGraphicsDeleter>;
using unique_gdip_pen = std::unique_ptr<Gdiplus::GpPen, GdipPenDeleter>;
using unique_gdip_solid_fill = std::unique_ptr<Gdiplus::GpSolidFill, GdipBrushDeleter>;

inline unique_gdip_graphics AfxGdipCreateFromHDC(HDC hDC) {
    Gdiplus::GpGraphics* p = nullptr;
    if (Gdiplus::DllExports::GdipCreateFromHDC(hDC, &p) != Gdiplus::Ok)
        p = nullptr;
    return unique_gdip_graphics(p);
}

inline unique_gdip_pen AfxGdipCreatePen(Gdiplus::ARGB color, Gdiplus::REAL width) {
    Gdiplus::GpPen* p = nullptr;
    if (Gdiplus::DllExports::GdipCreatePen1(color, width, Gdiplus::UnitWorld, &p) != Gdiplus::Ok)
        p = nullptr;
    return unique_gdip_pen(p);
}

inline unique_gdip_solid_fill AfxGdipCreateSolidFill(Gdiplus::ARGB color) {
    Gdiplus::GpSolidFill* p = nullptr;
    if (Gdiplus::DllExports::GdipCreateSolidFill(color, &p) != Gdiplus::Ok)
        p = nullptr;
    return unique_gdip_solid_fill(p);
}
