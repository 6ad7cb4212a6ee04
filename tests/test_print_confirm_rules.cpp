// The print confirmation's lengths: display unit, limits, what is stored, and the Z texts.
#include <cmath>
#include <limits>

#include "dialogs/print/PrintConfirmRules.h"
#include "tests/native/StrictMachine.h"

namespace {

const double kNaN = std::numeric_limits<double>::quiet_NaN();

TEST(PrintConfirmRules, LengthsShowInTheUnitWithTwoDecimalsHalvesUp) {
    const struct {
        double dMillimetres;
        int nUnit;
        double dShown;
    } kRows[] = {
        {12.345, kUnitMillimetre, 12.35},
        {12.344, kUnitMillimetre, 12.34},
        {0, kUnitMillimetre, 0},
        {254, kUnitInch, 10},
        {100, kUnitInch, 3.94},
        {500, kUnitInch, 19.69},
        {500, kUnitCentimetre, 50},
        {12.36, kUnitCentimetre, 1.24},
        {12.345, 3, 12.35},
        {12.345, -1, 12.35},
        {3e10, kUnitMillimetre, 3e10},
        {-1.234, kUnitMillimetre, -1.22},
    };
    for (const auto& row : kRows)
        EXPECT_DOUBLE_EQ(row.dShown, ConvertToUnit(row.dMillimetres, row.nUnit))
            << row.dMillimetres << " unit " << row.nUnit;
}

TEST(PrintConfirmRules, LimitsHoldForThePhysicalLengthAndTheShownUpperLimitPasses) {
    const struct {
        double dShown;
        int nUnit;
        LengthLimits limits;
        bool bAllowed;
        double dStored; // when allowed
    } kRows[] = {
        {500, kUnitMillimetre, kMaterialHeightLimits, true, 500},
        {499.99, kUnitMillimetre, kMaterialHeightLimits, true, 499.99},
        {500.01, kUnitMillimetre, kMaterialHeightLimits, false, 0},
        {0, kUnitMillimetre, kMaterialHeightLimits, true, 0},
        {-0.01, kUnitMillimetre, kMaterialHeightLimits, false, 0},
        {kNaN, kUnitMillimetre, kMaterialHeightLimits, false, 0},
        {10, kUnitMillimetre, kPrintHeightLimits, true, 10},
        {10.01, kUnitMillimetre, kPrintHeightLimits, false, 0},
        {10.5, kUnitMillimetre, kPrintHeightLimits, false, 0},
        {0, kUnitMillimetre, kPositionLimits, true, 0},
        {-0.1, kUnitMillimetre, kPositionLimits, false, 0},
        {1e9, kUnitMillimetre, kPositionLimits, true, 1e9},
        {19.69, kUnitInch, kMaterialHeightLimits, true, 500}, // 500 mm as shown: kept, stored as the limit
        {19.68, kUnitInch, kMaterialHeightLimits, true, 499.872},
        {19.70, kUnitInch, kMaterialHeightLimits, false, 0},
        {10, kUnitInch, kMaterialHeightLimits, true, 254},
        {0.39, kUnitInch, kPrintHeightLimits, true, 9.906},
        {0.40, kUnitInch, kPrintHeightLimits, false, 0},
        {50, kUnitCentimetre, kMaterialHeightLimits, true, 500},
        {50.01, kUnitCentimetre, kMaterialHeightLimits, false, 0},
        {500, 3, kMaterialHeightLimits, true, 500},
    };
    for (const auto& row : kRows) {
        EXPECT_EQ(row.bAllowed, IsShownLengthAllowed(row.dShown, row.nUnit, row.limits))
            << row.dShown << " unit " << row.nUnit << " max " << row.limits.dMax;
        if (row.bAllowed) {
            EXPECT_NEAR(row.dStored, ShownLengthToStore(row.dShown, row.nUnit, row.limits), 1e-9)
                << row.dShown;
        }
    }
}

TEST(PrintConfirmRules, InchAndCmValuesStillInTheirDisplayFormAreNotStoredBack) {
    const struct {
        double dShown, dHost;
        int nUnit;
        bool bUntouched;
    } kRows[] = {
        {3.94, 100, kUnitInch, true},
        {3.95, 100, kUnitInch, false},
        {3.93, 100, kUnitInch, false},
        {10, 100, kUnitCentimetre, true},
        {10.01, 100, kUnitCentimetre, false},
        {12.35, 12.345, kUnitMillimetre, false},
        {12.345, 12.345, kUnitMillimetre, false},
        {12.35, 12.345, 3, false},
    };
    for (const auto& row : kRows)
        EXPECT_EQ(row.bUntouched, IsUntouchedDisplayForm(row.dShown, row.dHost, row.nUnit)) << row.dShown;
}

TEST(PrintConfirmRules, ALengthIsWrittenOnlyWhenItDiffersByMoreThanOneMillionth) {
    const struct {
        double dHost, dNew;
        bool bWritten;
    } kRows[] = {
        {12.345, 12.35, true}, {5, 5, false},         {0, 0.000001, false}, {0, 0.0000011, true},
        {0, -0.0000011, true}, {0, 0.0000009, false}, {1, 0, true},         {0, kNaN, false},
    };
    for (const auto& row : kRows) {
        StrictMachine machine;
        SimParameter& parameter = machine.m_printer.Parameter(kParamMaterialHeight);
        parameter.m_dValue = row.dHost;
        machine.m_log.Clear();
        EXPECT_EQ(row.bWritten, StoreLength(&parameter, row.dNew)) << row.dHost << " " << row.dNew;
        EXPECT_EQ(row.bWritten ? 2u : 1u, machine.m_log.m_calls.size());
        EXPECT_EQ(row.bWritten ? row.dNew : row.dHost, parameter.m_dValue);
        if (row.bWritten) { // flags 0
            EXPECT_EQ(",0)", machine.m_log.m_calls.back().substr(machine.m_log.m_calls.back().size() - 3));
        }
    }
    EXPECT_FALSE(StoreLength(nullptr, 1));
}

TEST(PrintConfirmRules, ZTextsFormatTheNumberAndOnlyInsertTheKey) {
    const std::wstring strLong(300, L'%');
    const struct {
        const wchar_t* pszKey;
        double dZ;
        const wchar_t* pszAtStart;
        const wchar_t* pszLine;
    } kRows[] = {
        {L"Z:", 12.7, L"Z: 12 mm", L"Z: 12.70 mm  "},
        {L"%s%d", 0, L"%s%d 0 mm", L"%s%d 0.00 mm  "},
        {L"Z", -3.9, L"Z -3 mm", L"Z -3.90 mm  "},
        {L"Z", 2147483646.5, L"Z 2147483646 mm", L"Z 2147483646.50 mm  "},
        {L"Z", 3e9, L"Z 0 mm", L"Z 3000000000.00 mm  "},
        {L"Z", -3e9, L"Z 0 mm", L"Z -3000000000.00 mm  "},
        {L"", 1, L" 1 mm", L" 1.00 mm  "},
    };
    for (const auto& row : kRows) {
        EXPECT_EQ(row.pszAtStart, FormatZLineAtStart(row.pszKey, row.dZ)) << row.dZ;
        EXPECT_EQ(row.pszLine, FormatZLine(row.pszKey, row.dZ)) << row.dZ;
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
