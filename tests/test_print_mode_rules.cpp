// Which print modes of a task's list are offered, over a strict simulated machine.
#include <climits>
#include <tuple>

#include "dialogs/print/PrintModeRules.h"
#include "tests/native/StrictMachine.h"

namespace {

// Modes, one letter each: o offered, h hidden, u unavailable (255) on layout 1, z unavailable on layout 0
// only, a availability 254, n an index without a mode object; the count the host reports (-1: the real
// one); a call the host answers with null (kNullCalls); the modes offered. Only 255 on the current layout
// means unavailable; the host's count is obeyed, with null past the real modes; no layout means layout 0.
const char* const kNullCalls[] = {"", "Printer.GetPrintModeTable", "ModeTable.GetModeList",
                                  "Printer.GetGroupLayout"};
const std::tuple<const char*, int32_t, int, int32_t> kModeRows[] = {
    {"", -1, 0, 0},     {"o", -1, 0, 1},        {"ooo", -1, 0, 3}, {"oho", -1, 0, 2},      {"ouo", -1, 0, 2},
    {"uuu", -1, 0, 0},  {"ozo", -1, 0, 3},      {"aoa", -1, 0, 3}, {"ono", -1, 0, 2},      {"nnn", -1, 0, 0},
    {"hhho", -1, 0, 1}, {"ooo", 0, 0, 0},       {"ooo", -2, 0, 0}, {"ooo", INT_MIN, 0, 0}, {"ooo", 1, 0, 1},
    {"ooo", 5, 0, 3},   {"ooo", INT_MAX, 0, 3}, {"ooo", -1, 1, 0}, {"ooo", -1, 2, 0},      {"ozo", -1, 3, 2}};

TEST(PrintModeRules, OfferedModesAreThoseWithAnObjectNotHiddenAndNot255OnTheCurrentLayout) {
    for (auto [pszModes, nReportedCount, nNullCall, nExpected] : kModeRows) {
        const char* pszNullCall = kNullCalls[nNullCall];
        StrictMachine machine;
        SimPrinter& printer = machine.m_printer;
        printer.m_layout.m_nLayoutIndex = 1;
        SimTask& task = machine.AddTask("task", 7, 0);
        SimPrintModeList& list = printer.m_modeTable.List(7);
        printer.m_modeTable.List(1).Add("other list");
        for (const char* p = pszModes; *p; ++p) {
            if (*p == 'n') {
                list.AddGap();
                continue;
            }
            SimPrintMode& mode = list.Add("m");
            mode.m_bHidden = *p == 'h';
            mode.m_availability = {{0, *p == 'z' ? 255 : 1}, {1, *p == 'u' ? 255 : *p == 'a' ? 254 : 1}};
        }
        if (nReportedCount != -1)
            machine.m_log.m_countFilter = [n = nReportedCount](const std::string&, int32_t) { return n; };
        if (*pszNullCall)
            machine.m_log.m_nullCalls.insert(pszNullCall);
        machine.m_log.m_bRecording = false;
        EXPECT_EQ(nExpected, CountSelectablePrintModes(&printer, &task))
            << pszModes << " count " << nReportedCount << " " << pszNullCall;
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
