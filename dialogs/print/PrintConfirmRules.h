// The lengths of the print confirmations: the display unit, conversion into it and back, the limits of
// each length, storing a length into the host, and the Z position texts. No window involved.
#pragma once

#include <limits>
#include <string>

#include "PivoraHost.h"

// Length units of the host's project file (UNIT_SEL).
constexpr int kUnitMillimetre = 0;
constexpr int kUnitInch = 1;
constexpr int kUnitCentimetre = 2;

// Millimetres per shown unit; 1 for a unit the module does not know.
double GetUnitFactor(int nUnit);

// A length of the host, in millimetres, as shown in the unit: two decimals, halves rounded up.
double ConvertToUnit(double dMillimetres, int nUnit);

// The physical limits of a length, in millimetres, both included.
struct LengthLimits {
    double dMin;
    double dMax;
};
constexpr LengthLimits kMaterialHeightLimits = {0.0, 500.0};
constexpr LengthLimits kPrintHeightLimits = {0.0, 10.0};
constexpr LengthLimits kPositionLimits = {0.0, std::numeric_limits<double>::infinity()};

// Whether a shown value may be kept. The limits hold for the physical length; the upper limit as the
// display shows it (19.69 inch for 500 mm) is accepted too, so that an untouched value at the limit
// never blocks the dialog. In millimetres this is exactly "min <= shown <= max".
bool IsShownLengthAllowed(double dShown, int nUnit, const LengthLimits& limits);

// The millimetres to store for an allowed shown value, never beyond the upper limit.
double ShownLengthToStore(double dShown, int nUnit, const LengthLimits& limits);

// Whether a shown value is still the display form of the host's length in inch or cm: storing it back
// would change the host's value by the rounding alone (100 mm shown as 3.94 inch would come back as
// 100.076 mm), so such a value is not written. Millimetres are always stored as shown.
bool IsUntouchedDisplayForm(double dShown, double dHostMillimetres, int nUnit);

// Writes the length into the parameter (second argument 0) when the host's value differs from it by
// more than 1e-6; unchanged values are not written. True when written; nothing is written without a
// parameter.
bool StoreLength(IHostParameter* pParameter, double dMillimetres);

// Z position texts. The number is formatted by the program; the translated key is only inserted.
std::wstring FormatLength(double dValue);                               // "%.2f"
std::wstring FormatZLineAtStart(const std::wstring& strKey, double dZ); // "%s %d mm"
std::wstring FormatZLine(const std::wstring& strKey, double dZ);        // "%s %.02f mm  "

// Whether a Z reading has moved far enough from the one shown to be shown (0.005 mm or more).
bool IsZChangeShown(double dShownZ, double dNewZ);
