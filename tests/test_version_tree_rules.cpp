// The version tree: which groups and rows the version dialog shows for a board record, in which order,
// with which values, and how the host is asked for the status values.
#include <gtest/gtest.h>

#include <cstring>
#include <memory>

#include "tests/native/StrictMachine.h"
#include "dialogs/info/VersionTreeRules.h"

namespace {

std::wstring English(const std::wstring& strKey) {
    return strKey;
}

// The tree flattened to one line per row: indentation, label, and "= value" or "[+]" for a collapsed group.
std::vector<std::string> Lines(const std::vector<VersionTreeRow>& rows, int nDepth = 0) {
    std::vector<std::string> lines;
    for (const VersionTreeRow& row : rows) {
        std::string strLine(static_cast<size_t>(nDepth) * 2, ' ');
        strLine += std::string(row.strLabel.begin(), row.strLabel.end());
        if (!row.bGroup)
            strLine += " = " + row.strValue;
        else if (row.bCollapsed)
            strLine += " [+]";
        lines.push_back(strLine);
        for (std::string& strChild : Lines(row.children, nDepth + 1))
            lines.push_back(std::move(strChild));
    }
    return lines;
}

std::vector<std::string> GroupNames(const std::vector<VersionTreeRow>& rows) {
    std::vector<std::string> names;
    for (const std::string& strLine : Lines(rows))
        if (strLine.find(" = ") == std::string::npos)
            names.push_back(strLine);
    return names;
}

class VersionTreeTest : public ::testing::Test {
protected:
    std::vector<VersionTreeRow> Build() { return BuildVersionTree(*record, &software, status, &English); }

    // On the heap, so that the sanitizer sees any read past the record's 11395 bytes.
    std::unique_ptr<BoardVersionRecord> record = std::make_unique<BoardVersionRecord>();
    SoftwareVersionRecord software = {};
    VersionStatusValues status;
};

TEST_F(VersionTreeTest, DriverBoardsAreSharedOutEvenlyAndTheRemainderIsNotShown) {
    // H = 0: no board groups at all, whatever D holds.
    record->nHeadBoardCount = 0;
    record->nDriverBoardCount = 9;
    EXPECT_EQ((std::vector<std::string>{"Main Board", "Software", "Extended information"}),
              GroupNames(Build()));
    // D < H: P = 0, head boards without driver boards.
    record->nHeadBoardCount = 3;
    record->nDriverBoardCount = 2;
    EXPECT_EQ((std::vector<std::string>{"Main Board", "Head Board1", "Head Board2", "Head Board3", "Software",
                                        "Extended information"}),
              GroupNames(Build()));
    // H = 3, D = 8: two under each head board; entries 6 and 7 are not shown.
    record->nDriverBoardCount = 8;
    for (int k = 0; k < 8; ++k)
        SimVersions::SetText(record->szDbLogicVersion[k], "entry" + std::to_string(k));
    std::vector<std::string> shown;
    for (const std::string& strLine : Lines(Build()))
        if (strLine.find("DB Logic Version") != std::string::npos)
            shown.push_back(strLine.substr(strLine.find("= ") + 2));
    EXPECT_EQ((std::vector<std::string>{"entry0", "entry1", "entry2", "entry3", "entry4", "entry5"}), shown);
}

TEST_F(VersionTreeTest, CountsBeyondTheRecordAreCutToItsLimits) {
    record->nHeadBoardCount = 255;
    record->nDriverBoardCount = 255;
    record->nExternBoardCount = 9;
    BoardCounts counts = UsableBoardCounts(*record);
    EXPECT_EQ(8u, counts.nHead);
    EXPECT_EQ(8u, counts.nDriverPerHead);
    EXPECT_EQ(8u, counts.nExtern);
    std::vector<VersionTreeRow> tree = Build();
    ASSERT_EQ(1u + 8 + 8 + 2, tree.size());
    EXPECT_EQ(3u + 8, tree[8].children.size());
    EXPECT_EQ(L"Driver Board8", tree[8].children.back().strLabel);
    EXPECT_EQ(L"Extern Board8", tree[16].strLabel);
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
