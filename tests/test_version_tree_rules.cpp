// The version tree: which groups and rows the version dialog shows for a board record, in which order,
// with which values, and how the host is asked for the status values.
#include <gtest/gtest.h>

#include <cstring>
#include <memory>
#include <tuple>

#include "tests/native/StrictMachine.h"
#include "dialogs/info/VersionTreeRules.h"

namespace {

std::wstring English(const std::wstring& strKey) {
    return strKey;
}

class VersionTreeTest : public ::testing::Test {
protected:
    std::vector<VersionTreeRow> Build() { return BuildVersionTree(*record, &software, status, &English); }

    // On the heap, so that the sanitizer sees any read past the record's 11395 bytes.
    std::unique_ptr<BoardVersionRecord> record = std::make_unique<BoardVersionRecord>();
    SoftwareVersionRecord software = {};
    VersionStatusValues status;
};

TEST_F(VersionTreeTest, BoardCountsAreCutToTheRecordAndDriverBoardsAreSharedOutEvenly) {
    // Head, driver and extern boards in the record; head boards, driver boards under each, extern boards
    // shown.
    const std::tuple<uint8_t, uint8_t, uint8_t, size_t, size_t, size_t> kRows[] = {
        {0, 9, 0, 0, 0, 0},   {3, 2, 0, 3, 0, 0},      {3, 8, 0, 3, 2, 0},   {3, 9, 1, 3, 3, 1},
        {1, 64, 0, 1, 64, 0}, {1, 65, 0, 1, 64, 0},    {2, 63, 7, 2, 31, 7}, {8, 64, 8, 8, 8, 8},
        {9, 72, 9, 8, 8, 8},  {255, 255, 255, 8, 8, 8}};
    for (auto [nH, nD, nE, nHead, nDriver, nExtern] : kRows) {
        record->nHeadBoardCount = nH;
        record->nDriverBoardCount = nD;
        record->nExternBoardCount = nE;
        BoardCounts counts = UsableBoardCounts(*record);
        EXPECT_TRUE(counts.nHead == nHead && counts.nDriverPerHead == nDriver && counts.nExtern == nExtern)
            << +nH << " " << +nD << " " << +nE;
        std::vector<VersionTreeRow> tree = Build();
        ASSERT_EQ(1 + nHead + nExtern + 2, tree.size());
        EXPECT_EQ(nHead ? 3 + nDriver : 3u, tree[nHead ? nHead : nHead + nExtern + 1].children.size());
        EXPECT_EQ(nExtern ? L"Extern Board" + std::to_wstring(nExtern) : L"Software",
                  tree[nHead + nExtern + 1 - (nExtern ? 1 : 0)].strLabel);
    }
    // H = 3, D = 8: entries 0 to 5 under the head boards in turn, 6 and 7 not shown.
    record->nHeadBoardCount = 3;
    record->nDriverBoardCount = 8;
    for (int k = 0; k < 8; ++k)
        SimVersions::SetText(record->szDbLogicVersion[k], "e" + std::to_string(k));
    std::string strShown;
    for (const VersionTreeRow& head : Build())
        for (const VersionTreeRow& driver : head.children)
            if (driver.bGroup)
                strShown += driver.children.front().strValue;
    EXPECT_EQ("e0e1e2e3e4e5", strShown);
}

TEST_F(VersionTreeTest, TextFieldsAreReadWithinTheirBytes) {
    // Unterminated: all 64 bytes, and nothing of the next field.
    std::memset(record->szMbChipId, 'A', kBoardTextChars);
    SimVersions::SetText(record->szMbLogicVersion, "next");
    EXPECT_EQ(std::string(64, 'A'), BoardText(record->szMbChipId));
    // The last field of the record, unterminated, ends at the record's end.
    std::memset(record->szMachineStatusCode1, 'Z', kBoardTextChars);
    EXPECT_EQ(std::string(64, 'Z'), Build().back().children.front().strValue);
    // An empty field still has its row, with an empty value.
    std::vector<VersionTreeRow> tree = Build();
    EXPECT_EQ(L"MB Serial Number", tree[0].children[1].strLabel);
    EXPECT_EQ("", tree[0].children[1].strValue);
}

TEST_F(VersionTreeTest, SoftwareVersionPartsAreUnsignedAndTheSuffixStaysInItsField) {
    software = {65535, 0, 7, 65535, 1, 0xFFFF, ""};
    EXPECT_EQ("65535.0.7.65535.1.R.", FormatSoftwareVersion(software));
    std::memset(software.szSuffix, 'x', kSoftwareSuffixChars);
    EXPECT_EQ("65535.0.7.65535.1.R." + std::string(20, 'x'), FormatSoftwareVersion(software));
}

TEST_F(VersionTreeTest, LabelsAreTranslatedOneByOneAndNumbersFollowDirectly) {
    record->nHeadBoardCount = 2;
    record->nDriverBoardCount = 2;
    std::vector<std::wstring> asked;
    auto translate = [&](const std::wstring& strKey) -> std::wstring {
        asked.push_back(strKey);
        return strKey == L"Head Board" ? L"T" : strKey == L"Driver Board" ? L"D" : strKey;
    };
    std::vector<VersionTreeRow> tree = BuildVersionTree(*record, &software, status, translate);
    EXPECT_EQ(L"T1", tree[1].strLabel);
    EXPECT_EQ(L"T2", tree[2].strLabel);
    EXPECT_EQ(L"D1", tree[2].children[3].strLabel);
    EXPECT_TRUE(tree[2].children[3].bCollapsed);
    EXPECT_FALSE(tree[2].bCollapsed);
    std::vector<std::wstring> mainRows;
    for (const VersionTreeRow& row : tree[0].children)
        mainRows.push_back(row.strLabel);
    EXPECT_EQ((std::vector<std::wstring>{L"MB Chip ID", L"MB Serial Number", L"MB Logic Version",
                                         L"MB Program Version", L"MB Firmware Configure Info",
                                         L"MB Firmware Parameter Info"}),
              mainRows);
    EXPECT_EQ(L"Main Board", asked.front());
    EXPECT_EQ(L"Machine status code5", asked.back());
}

// ---------------------------------------------------------------------------------------------------------

class VersionStatusTest : public ::testing::Test {
protected:
    StrictMachine machine;
};

TEST_F(VersionStatusTest, MissingHostObjectsShowZeroInsteadOfBeingCalled) {
    machine.m_bHasPrinter = false;
    machine.m_versions.m_bHasController = false;
    VersionStatusValues values = ReadVersionStatusValues(&machine);
    EXPECT_EQ(0, values.nStatusValueA);
    EXPECT_EQ(0u, values.nStatusByte);
    machine.m_bHasPrinter = true;
    machine.m_versions.m_bHasMachineInfo = false;
    machine.m_versions.m_bHasController = true;
    machine.m_versions.m_controller.m_bHasStatusSource = false;
    values = ReadVersionStatusValues(&machine);
    EXPECT_EQ(0, values.nStatusValueB);
    EXPECT_EQ(0u, values.nStatusByte);
    values = ReadVersionStatusValues(nullptr);
    EXPECT_EQ(2000, values.dateTime.nYear);
}

TEST_F(VersionStatusTest, UnreadableBoardsLeaveTheRecordZeroed) {
    BoardVersionRecord record;
    std::memset(&record, 0x5A, sizeof(record));
    EXPECT_FALSE(ReadBoardVersionRecord(&machine, record));
    EXPECT_EQ(0, record.nHeadBoardCount);
    EXPECT_EQ('\0', record.szMachineStatusCode1[63]);
    EXPECT_FALSE(ReadBoardVersionRecord(nullptr, record));
    AddDefaultVersions(machine.m_versions);
    EXPECT_TRUE(ReadBoardVersionRecord(&machine, record));
    EXPECT_EQ(2, record.nHeadBoardCount);
}

} // namespace
