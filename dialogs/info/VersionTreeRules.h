// What the detailed version dialog shows: the board record, the software record and the machine status
// values turned into the ordered tree of groups and rows. No window involved.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "PivoraHost.h"
#include "PivoraRecords.h"

// One group or value row. Values keep the host's 8-bit text (thread ANSI code page); the dialog converts.
struct VersionTreeRow {
    std::wstring strLabel; // already translated
    bool bGroup = false;
    bool bCollapsed = false; // groups only
    std::string strValue;    // value rows only
    std::vector<VersionTreeRow> children;
};

// The host values of the "Extended information" group, neutral where the host gives nothing.
struct VersionStatusValues {
    int32_t nParam1002 = 0;
    int32_t nStatusValueA = 0;
    int32_t nParam1003 = 0;
    int32_t nStatusValueB = 0;
    uint32_t nStatusByte = 0;
    MachineDateTime dateTime = {2000, 1, 1, 1, 1, 1};
};

using VersionLabelTranslator = std::function<std::wstring(const std::wstring& strKey)>;

// A 64-byte text field up to its terminator, or all 64 bytes when it has none.
std::string BoardText(const char (&field)[kBoardTextChars]);

// "%d.%d.%d.%d.%d.R.%s" over the five unsigned parts and the suffix (read within its 20 bytes).
std::string FormatSoftwareVersion(const SoftwareVersionRecord& software);

// Zeroes the record and has the host fill it. False when the host reports nothing or there is no host.
bool ReadBoardVersionRecord(IHostInterface* pHost, BoardVersionRecord& record);

// Asks the host in the order of the rows: parameter 1002, machine information value A, parameter 1003,
// value B, the controller's status byte, the date and time. A missing host object leaves its number at 0
// (the date and time at its preset) instead of being called through.
VersionStatusValues ReadVersionStatusValues(IHostInterface* pHost);

// The counts as used: cut to the room the record has (8 head, 64 driver, 8 extern boards).
struct BoardCounts {
    size_t nHead = 0;
    size_t nDriverPerHead = 0;
    size_t nExtern = 0;
};
BoardCounts UsableBoardCounts(const BoardVersionRecord& record);

// Top-level groups in display order: main board, head boards with their (collapsed) driver boards, extern
// boards, software, extended information.
// Without a software record the software version shows empty.
std::vector<VersionTreeRow> BuildVersionTree(const BoardVersionRecord& record,
                                             const SoftwareVersionRecord* pSoftware,
                                             const VersionStatusValues& status,
                                             const VersionLabelTranslator& translate);
