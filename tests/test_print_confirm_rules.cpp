// The print confirmation's lengths: display unit, limits, what is stored, and the Z texts.
#include <cmath>
#include <limits>
#include <tuple>

#include "dialogs/print/PrintConfirmRules.h"
#include "tests/native/StrictMachine.h"

namespace {

const double kNaN = std::numeric_limits<double>::quiet_NaN();
constexpr int MM = kUnitMillimetre, IN = kUnitInch, CM = kUnitCentimetre;
const LengthLimits kMat = kMaterialHeightLimits, kPrint = kPrintHeightLimits, kPos = kPositionLimits;

TEST(PrintConfirmRules, LengthsShowInTheUnitWithTwoDecimalsHalvesUp) {
    const std::tuple<double, int, double> kRows[] = {
        {12.345, MM, 12.35}, {12.344, MM, 12.34}, {0, MM, 0},       {254, IN, 10},
        {100, IN, 3.94},     {500, IN, 19.69},    {500, CM, 50},    {12.36, CM, 1.24},
        {12.345, 3, 12.35},  {12.345, -1, 12.35}, {3e10, MM, 3e10}, {-1.234, MM, -1.22}};
    for (auto [dMillimetres, nUnit, dShown] : kRows)
        EXPECT_DOUBLE_EQ(dShown, ConvertToUnit(dMillimetres, nUnit)) << dMillimetres << " unit " << nUnit;
}

TEST(PrintConfirmRules, LimitsHoldForThePhysicalLengthAndTheShownUpperLimitPasses) {
    // Shown, unit, limits, allowed, and stored when allowed.
    const std::tuple<double, int, LengthLimits, bool, double> kRows[] = {
        {500, MM, kMat, true, 500},       {499.99, MM, kMat, true, 499.99}, {500.01, MM, kMat, false, 0},
        {0, MM, kMat, true, 0},           {-0.01, MM, kMat, false, 0},      {kNaN, MM, kMat, false, 0},
        {10, MM, kPrint, true, 10},       {10.01, MM, kPrint, false, 0},    {10.5, MM, kPrint, false, 0},
        {0, MM, kPos, true, 0},           {-0.1, MM, kPos, false, 0},       {1e9, MM, kPos, true, 1e9},
        {19.69, IN, kMat, true, 500}, // 500 mm as shown: kept, stored as the limit
        {19.68, IN, kMat, true, 499.872}, {19.70, IN, kMat, false, 0},      {10, IN, kMat, true, 254},
        {0.39, IN, kPrint, true, 9.906},  {0.40, IN, kPrint, false, 0},     {50, CM, kMat, true, 500},
        {50.01, CM, kMat, false, 0},      {500, 3, kMat, true, 500}};
    for (auto [dShown, nUnit, limits, bAllowed, dStored] : kRows) {
        EXPECT_EQ(bAllowed, IsShownLengthAllowed(dShown, nUnit, limits)) << dShown << " unit " << nUnit;
        if (bAllowed) {
            EXPECT_NEAR(dStored, ShownLengthToStore(dShown, nUnit, limits), 1e-9) << dShown;
        }
    }
}

TEST(PrintConfirmRules, InchAndCmValuesStillInTheirDisplayFormAreNotStoredBack) {
    const std::tuple<double, double, int, bool> kRows[] = {
        {3.94, 100, IN, true},       {3.95, 100, IN, false},   {3.93, 100, IN, false},
        {10, 100, CM, true},         {10.01, 100, CM, false},  {12.35, 12.345, MM, false},
        {12.345, 12.345, MM, false}, {12.35, 12.345, 3, false}};
    for (auto [dShown, dHost, nUnit, bUntouched] : kRows)
        EXPECT_EQ(bUntouched, IsUntouchedDisplayForm(dShown, dHost, nUnit)) << dShown;
}

TEST(PrintConfirmRules, ALengthIsWrittenOnlyWhenItDiffersByMoreThanOneMillionth) {
    const std::tuple<double, double, bool> kRows[] = {
        {12.345, 12.35, true}, {5, 5, false},         {0, 0.000001, false}, {0, 0.0000011, true},
        {0, -0.0000011, true}, {0, 0.0000009, false}, {1, 0, true},         {0, kNaN, false}};
    for (auto [dHost, dNew, bWritten] : kRows) {
        StrictMachine machine;
        SimParameter& parameter = machine.m_printer.Parameter(kParamMaterialHeight);
        parameter.m_dValue = dHost;
        machine.m_log.Clear();
        EXPECT_EQ(bWritten, StoreLength(&parameter, dNew)) << dHost << " " << dNew;
        EXPECT_EQ(bWritten ? 2u : 1u, machine.m_log.m_calls.size());
        EXPECT_EQ(bWritten ? dNew : dHost, parameter.m_dValue);
        if (bWritten) { // flags 0
            EXPECT_EQ(",0)", machine.m_log.m_calls.back().substr(machine.m_log.m_calls.back().size() - 3));
        }
    }
    EXPECT_FALSE(StoreLength(nullptr, 1));
}

TEST(PrintConfirmRules, ZTextsFormatTheNumberAndOnlyInsertTheKey) {
    const std::wstring strLong(300, L'%');
    const std::tuple<const wchar_t*, double, const wchar_t*, const wchar_t*> kRows[] = {
        {L"Z:", 12.7, L"Z: 12 mm", L"Z: 12.70 mm  "},
        {L"%s%d", 0, L"%s%d 0 mm", L"%s%d 0.00 mm  "},
        {L"Z", -3.9, L"Z -3 mm", L"Z -3.90 mm  "},
        {L"Z", 2147483646.5, L"Z 2147483646 mm", L"Z 2147483646.50 mm  "},
        {L"Z", 3e9, L"Z 0 mm", L"Z 3000000000.00 mm  "},
        {L"Z", -3e9, L"Z 0 mm", L"Z -3000000000.00 mm  "},
        {L"", 1, L" 1 mm", L" 1.00 mm  "}};
    for (auto [pszKey, dZ, pszAtStart, pszLine] : kRows) {
        EXPECT_EQ(pszAtStart, FormatZLineAtStart(pszKey, dZ)) << dZ;
        EXPECT_EQ(pszLine, FormatZLine(pszKey, dZ)) << dZ;
    }
    EXPECT_EQ(strLong + L" 1 mm", FormatZLineAtStart(strLong, 1.2));
    EXPECT_EQ(L"3.14", FormatLength(3.14159));
    EXPECT_EQ(L"-0.50", FormatLength(-0.5));
    EXPECT_EQ(std::wstring(309, L'1').size() + 3, FormatLength(1.1e308).size()); // 309 digits, point, two
}

TEST(PrintConfirmRules, AZReadingIsShownOnceItMovedFiveThousandthsOfAMillimetre) {
    const double kRows[][3] = {{0, 0.005, 1},  {0, -0.005, 1}, {0, 0.0049, 0}, {0, 0, 0},
                               {10, 10.01, 1}, {10, 9.99, 1},  {0, kNaN, 0}};
    for (const auto& row : kRows)
        EXPECT_EQ(row[2] != 0, IsZChangeShown(row[0], row[1])) << row[0] << " -> " << row[1];
}

} // namespace
