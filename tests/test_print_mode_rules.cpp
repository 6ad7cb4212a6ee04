// Which print modes of a task's list are offered, over a strict simulated machine.
#include <climits>

#include "dialogs/print/PrintModeRules.h"
#include "tests/native/StrictMachine.h"

namespace {

// Modes, one letter each: o offered, h hidden, u unavailable (255) on layout 1, z unavailable on layout 0
// only, a availability 254, n an index without a mode object.
struct ModeRow {
    const char* pszModes;
    int32_t nReportedCount; // -1: the real count
    const char* pszNullCall;
    int32_t nExpected;
};

const ModeRow kModeRows[] = {
    {"", -1, "", 0},
    {"o", -1, "", 1},
    {"ooo", -1, "", 3},
    {"oho", -1, "", 2},
    {"ouo", -1, "", 2},
    {"uuu", -1, "", 0},
    {"ozo", -1, "", 3}, // unavailable on another layout only
    {"aoa", -1, "", 3}, // only 255 means unavailable
    {"ono", -1, "", 2},
    {"nnn", -1, "", 0},
    {"hhho", -1, "", 1},
    {"ooo", 0, "", 0},
    {"ooo", -2, "", 0},
    {"ooo", INT_MIN, "", 0},
    {"ooo", 1, "", 1}, // the host's count is obeyed, not the modes it has
    {"ooo", 5, "", 3}, // more reported than there are: null past the real ones
    {"ooo", INT_MAX, "", 3},
    {"ooo", -1, "Printer.GetPrintModeTable", 0},
    {"ooo", -1, "ModeTable.GetModeList", 0},
    {"ozo", -1, "Printer.GetGroupLayout", 2}, // no layout: layout 0
};

TEST(PrintModeRules, OfferedModesAreThoseWithAnObjectNotHiddenAndNot255OnTheCurrentLayout) {
    for (const ModeRow& row : kModeRows) {
        StrictMachine machine;
        SimPrinter& printer = machine.m_printer;
        printer.m_layout.m_nLayoutIndex = 1;
        SimTask& task = machine.AddTask("task", 7, 0);
        SimPrintModeList& list = printer.m_modeTable.List(7);
        printer.m_modeTable.List(1).Add("other list");
        for (const char* p = row.pszModes; *p; ++p) {
            if (*p == 'n') {
                list.AddGap();
                continue;
            }
            SimPrintMode& mode = list.Add("m");
            mode.m_bHidden = *p == 'h';
            mode.m_availability = {{0, *p == 'z' ? 255 : 1}, {1, *p == 'u' ? 255 : *p == 'a' ? 254 : 1}};
        }
        if (row.nReportedCount != -1)
            machine.m_log.m_countFilter = [&row](const std::string&, int32_t) { return row.nReportedCount; };
        if (*row.pszNullCall)
            machine.m_log.m_nullCalls.insert(row.pszNullCall);
        machine.m_log.m_bRecording = false;
        EXPECT_EQ(row.nExpected, CountSelectablePrintModes(&printer, &task))
            << row.pszModes << " count " << row.nReportedCount << " " << row.pszNullCall;
        EXPECT_EQ(0, CountSelectablePrintModes(nullptr, &task));
        EXPECT_EQ(0, CountSelectablePrintModes(&printer, nullptr));
    }
}

TEST(PrintModeRules, AWalkEndsAt65536Modes) {
    const int32_t kRows[][2] = {
        {0, 0}, {1, 1}, {0xFFFF, 0xFFFF}, {0x10000, 0x10000}, {0x10001, 0x10000}, {INT_MAX, 0x10000}};
    for (const auto& row : kRows)
        EXPECT_EQ(row[1], PrintModeWalkLength(row[0])) << row[0];
}

} // namespace
