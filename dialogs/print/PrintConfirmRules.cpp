#include "PrintConfirmRules.h"

#include <cmath>
#include <cstdarg>
#include <cwchar>
#include <vector>

namespace {

constexpr double kStoreTolerance = 0.000001;
constexpr double kZShowStep = 0.005;

std::wstring FormatText(const wchar_t* pszFormat, ...) {
    // Grows until the text fits: a translated key may be long, and so may a wild number from the host.
    std::vector<wchar_t> buffer(256);
    for (;;) {
        va_list args;
        va_start(args, pszFormat);
        int nLen = std::vswprintf(buffer.data(), buffer.size(), pszFormat, args);
        va_end(args);
        if (nLen >= 0 && static_cast<size_t>(nLen) < buffer.size())
            return std::wstring(buffer.data(), static_cast<size_t>(nLen));
        if (buffer.size() >= 65536)
            return {};
        buffer.resize(buffer.size() * 2);
    }
}

} // namespace

double GetUnitFactor(int nUnit) {
    switch (nUnit) {
    case kUnitInch:
        return 25.4;
    case kUnitCentimetre:
        return 10.0;
    default:
        return 1.0;
    }
}

double ConvertToUnit(double dMillimetres, int nUnit) {
    // Cut towards zero in floating point: a 32-bit integer cut would overflow for lengths beyond 21 km.
    return std::trunc((dMillimetres / GetUnitFactor(nUnit) + 0.005) * 100) / 100;
}

bool IsShownLengthAllowed(double dShown, int nUnit, const LengthLimits& limits) {
    double dMillimetres = dShown * GetUnitFactor(nUnit);
    // Written so that a value that is not a number fails.
    if (!(dMillimetres >= limits.dMin))
        return false;
    if (dMillimetres <= limits.dMax)
        return true;
    return std::isfinite(limits.dMax) && dShown == ConvertToUnit(limits.dMax, nUnit);
}

double ShownLengthToStore(double dShown, int nUnit, const LengthLimits& limits) {
    double dMillimetres = dShown * GetUnitFactor(nUnit);
    return dMillimetres > limits.dMax ? limits.dMax : dMillimetres;
}

bool IsUntouchedDisplayForm(double dShown, double dHostMillimetres, int nUnit) {
    return GetUnitFactor(nUnit) != 1.0 && dShown == ConvertToUnit(dHostMillimetres, nUnit);
}

bool StoreLength(IHostParameter* pParameter, double dMillimetres) {
    if (!pParameter)
        return false;
    double dHostValue = 0;
    pParameter->GetDoubleValue(&dHostValue);
    if (!(std::fabs(dHostValue - dMillimetres) > kStoreTolerance))
        return false;
    pParameter->SetDoubleValue(dMillimetres, 0);
    return true;
}

std::wstring FormatLength(double dValue) {
    return FormatText(L"%.2f", dValue);
}

std::wstring FormatZLineAtStart(const std::wstring& strKey, double dZ) {
    // The Z position shown at start is the member's initial 0; the cut is kept in the int range anyway.
    double dCut = std::trunc(dZ);
    int nZ = std::fabs(dCut) < 2147483647.0 ? static_cast<int>(dCut) : 0;
    return FormatText(L"%ls %d mm", strKey.c_str(), nZ);
}

std::wstring FormatZLine(const std::wstring& strKey, double dZ) {
    return FormatText(L"%ls %.02f mm  ", strKey.c_str(), dZ);
}

bool IsZChangeShown(double dShownZ, double dNewZ) {
    return std::fabs(dNewZ - dShownZ) >= kZShowStep;
}
