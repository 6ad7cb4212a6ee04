// Which rows the cut-ink question shows, over a simulated printer's ink groups.
#include <gtest/gtest.h>

#include <climits>

#include "tests/native/StrictMachine.h"
#include "dialogs/ink/CutInkRowRules.h"

namespace {

constexpr int32_t kLastValue = static_cast<int32_t>(kCutInkValueCount) - 1;

class CutInkRowsTest : public ::testing::Test {
protected:
    SimGroup& AddInk(uint32_t nListEntry, const char* pszName, const std::vector<uint16_t>& rows) {
        printer.m_layout.m_idList.m_ids.push_back(nListEntry);
        return printer.m_groupTable.Add(static_cast<uint16_t>(nListEntry & 0xFFFF), pszName, rows);
    }
    std::vector<int32_t> Indices(uint32_t nRowCount) {
        std::vector<int32_t> indices;
        for (const CutInkRowPlan& row : PlanCutInkRows(&printer, nRowCount))
            indices.push_back(row.nRowIndex);
        return indices;
    }

    StrictMachine machine;
    SimPrinter& printer = machine.m_printer;
};

TEST_F(CutInkRowsTest, TheFirstListedGroupWinsAndListEntriesCountByTheirLow16Bits) {
    IHostGroup& later = AddInk(0x00070002, "listed first, id 2", {4});
    AddInk(0x00000001, "listed second, id 1", {4, 5});
    EXPECT_EQ(&later, FindInkGroupForRow(&printer, 4));
    EXPECT_EQ(printer.m_groupTable.FindGroup(1), FindInkGroupForRow(&printer, 5));
    EXPECT_EQ(nullptr, FindInkGroupForRow(&printer, 3));
    // A listed id with no group is skipped.
    printer.m_layout.m_idList.m_ids.insert(printer.m_layout.m_idList.m_ids.begin(), 9);
    EXPECT_EQ(&later, FindInkGroupForRow(&printer, 4));
    EXPECT_EQ(nullptr, FindInkGroupForRow(nullptr, 4));
    // A group listed twice is looked up once.
    printer.m_layout.m_idList.m_ids.push_back(0x00070002);
    machine.m_log.Clear();
    EXPECT_EQ(2u, PlanCutInkRows(&printer, 6).size());
    EXPECT_EQ(1u, machine.m_log.Filter({"GroupTable.FindGroup(2)"}).size());
    EXPECT_EQ(0, ReadApplyToAllOffered(nullptr));
    // A layout without an id list lists no group, whatever the table holds.
    printer.m_layout.m_bHasIdList = false;
    EXPECT_EQ(nullptr, FindInkGroupForRow(&printer, 4));
}

TEST_F(CutInkRowsTest, DerivedCountIsTheLargestListedMemberCountNeverBelowSix) {
    EXPECT_EQ(6u, CutInkRowCount(&printer, kCutInkDerivedRowCount));
    AddInk(1, "K", {0, 1, 2, 3, 4, 5, 6, 7, 8});
    AddInk(2, "C", {9, 10});
    printer.m_groupTable.Add(3, "not listed", std::vector<uint16_t>(20, 0));
    EXPECT_EQ(9u, CutInkRowCount(&printer, kCutInkDerivedRowCount));
    EXPECT_EQ(40u, CutInkRowCount(&printer, 40));
    EXPECT_EQ(0u, CutInkRowCount(&printer, 0));

    printer.m_bHasGroupTable = false;
    EXPECT_EQ(6u, CutInkRowCount(&printer, kCutInkDerivedRowCount));
    EXPECT_TRUE(Indices(9).empty());
    printer.m_bHasGroupTable = true;
    printer.m_layout.m_bHasIdList = false;
    EXPECT_EQ(6u, CutInkRowCount(&printer, kCutInkDerivedRowCount));
    EXPECT_TRUE(Indices(9).empty());
}

TEST_F(CutInkRowsTest, IndicesPast16BitsAreNotProbedSoRowsAreNeverRepeated) {
    AddInk(1, "K", {0, 1});
    machine.m_log.m_bRecording = false;
    // Through the 16-bit member ids, index 0x10000 would claim K a second time.
    EXPECT_EQ((std::vector<int32_t>{0, 1}), Indices(0x10002));
    EXPECT_EQ((std::vector<int32_t>{0, 1}), Indices(0xFFFFFFFE));
    EXPECT_EQ((std::vector<int32_t>{0}), Indices(1)); // a member past the rows claims none
    for (auto [nRow, bHas] :
         {std::pair<int32_t, bool>{-1, false}, {0, true}, {kLastValue, true}, {kLastValue + 1, false}})
        EXPECT_EQ(bHas, HasCutInkValue(nRow)) << nRow;
}

TEST_F(CutInkRowsTest, AGroupClaimingTwoBillionMembersIsWalkedOnlyAsFarAsIdsReach) {
    // The host reports 2,147,483,647 members and has null past its real ones: no walk may take longer than
    // the 65,536 member ids there are, with a requested count and with a derived one.
    AddInk(1, "K", {0, 2});
    AddInk(2, "C", {1});
    machine.m_log.m_bRecording = false;
    machine.m_log.m_countFilter = [](const std::string& strCall, int32_t nReal) {
        return strCall == "Group.GetMemberCount" ? INT32_MAX : nReal;
    };
    size_t nMemberReads = 0;
    machine.m_log.m_onCall = [&nMemberReads](const std::string& strCall) {
        if (strCall.rfind("Group(", 0) == 0 && strCall.find(".GetMember(") != std::string::npos)
            ++nMemberReads;
    };
    machine.m_log.m_bRecording = true;
    EXPECT_EQ((std::vector<int32_t>{0, 1, 2}), Indices(6));
    EXPECT_LE(nMemberReads, 2u * 0x10000u);
    uint32_t nDerived = CutInkRowCount(&printer, kCutInkDerivedRowCount);
    EXPECT_EQ(static_cast<uint32_t>(INT32_MAX), nDerived);
    nMemberReads = 0;
    EXPECT_EQ((std::vector<int32_t>{0, 1, 2}), Indices(nDerived));
    EXPECT_LE(nMemberReads, 2u * 0x10000u);
}

} // namespace
