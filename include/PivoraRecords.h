// Records exchanged between Pivora.dll and its host.
//
// Every record is little-endian and byte-packed, exactly as the host lays it out. Text fields are
// fixed-size and NUL-terminated within the field: char16_t arrays hold UTF-16, char arrays hold
// text in the system's ANSI code page. This header includes no platform header so that code using
// it also compiles natively on Linux.
#pragma once

#include <cstddef>
#include <cstdint>

#pragma pack(push, 1)

// ---------------------------------------------------------------------------------------------
// Language record handed to SetLanguage. Only the language folder name (for example "Chs") is
// read; everything before it belongs to the host. The record is taken as 256 bytes: 130 opaque
// bytes followed by a folder name of at most 62 characters plus its terminator.

constexpr size_t kLanguageFolderNameOffset = 130;
constexpr size_t kLanguageFolderNameChars = 63;

struct LanguageRecord {
    uint8_t reserved[kLanguageFolderNameOffset];     // host data, never read
    char16_t szFolderName[kLanguageFolderNameChars]; // language folder below "Lang", UTF-16
};

static_assert(sizeof(LanguageRecord) == 256, "LanguageRecord size");
static_assert(offsetof(LanguageRecord, szFolderName) == 130, "LanguageRecord::szFolderName");

// ---------------------------------------------------------------------------------------------
// Row count for ShowCutInkSetting that asks the module to derive the rows from the printer's ink groups.
constexpr uint32_t kCutInkDerivedRowCount = 0xFFFFFFFF;

// Cut-ink value block of ShowCutInkSetting: one value per row index.

constexpr size_t kCutInkValueCount = 32;

struct CutInkValues {
    int32_t nValues[kCutInkValueCount]; // value of row index i, normally 1 to 100
};

static_assert(sizeof(CutInkValues) == 128, "CutInkValues size");
static_assert(offsetof(CutInkValues, nValues) == 0, "CutInkValues::nValues");

// ---------------------------------------------------------------------------------------------
// Multi-step operation record handed to ShowMultiStepPopup. Texts are UTF-16, 128 characters
// (256 bytes) per field, terminator included.

constexpr size_t kMultiStepTextChars = 128;
constexpr size_t kMultiStepMaxSteps = 8;

struct MultiStepRecord {
    int32_t nLastStepIndex;                                            // step after which Finish comes
    char16_t szTitle[kMultiStepTextChars];                             // caption and first status line
    char16_t szOperationName[kMultiStepTextChars];                     // logged in states 1 and 2
    char16_t szStepNames[kMultiStepMaxSteps][kMultiStepTextChars];     // by step index 0 to 7
    char16_t szNextStepHints[kMultiStepMaxSteps][kMultiStepTextChars]; // what comes after each step
    uint8_t reserved1[256];                                            // never read
    char16_t szFinishText[kMultiStepTextChars];                        // logged when finishing
    char16_t szCancelText[kMultiStepTextChars];                        // logged when cancelling
    uint8_t reserved2[4];                                              // never read
    uint64_t nStartCallback; // address of a host function void(void) called at opening; 0 = none
};

static_assert(sizeof(MultiStepRecord) == 5392, "MultiStepRecord size");
static_assert(offsetof(MultiStepRecord, nLastStepIndex) == 0, "MultiStepRecord::nLastStepIndex");
static_assert(offsetof(MultiStepRecord, szTitle) == 4, "MultiStepRecord::szTitle");
static_assert(offsetof(MultiStepRecord, szOperationName) == 260, "MultiStepRecord::szOperationName");
static_assert(offsetof(MultiStepRecord, szStepNames) == 516, "MultiStepRecord::szStepNames");
static_assert(offsetof(MultiStepRecord, szNextStepHints) == 2564, "MultiStepRecord::szNextStepHints");
static_assert(offsetof(MultiStepRecord, reserved1) == 4612, "MultiStepRecord::reserved1");
static_assert(offsetof(MultiStepRecord, szFinishText) == 4868, "MultiStepRecord::szFinishText");
static_assert(offsetof(MultiStepRecord, szCancelText) == 5124, "MultiStepRecord::szCancelText");
static_assert(offsetof(MultiStepRecord, reserved2) == 5380, "MultiStepRecord::reserved2");
static_assert(offsetof(MultiStepRecord, nStartCallback) == 5384, "MultiStepRecord::nStartCallback");

// ---------------------------------------------------------------------------------------------
// Software version record handed to ShowDetailVersionInfo.

constexpr size_t kSoftwareSuffixChars = 20;

struct SoftwareVersionRecord {
    uint16_t nVersion1;                  // first version part
    uint16_t nVersion2;                  // second version part
    uint16_t nVersion3;                  // third version part
    uint16_t nVersion4;                  // fourth version part
    uint16_t nVersion5;                  // fifth version part
    uint16_t nReserved;                  // never read
    char szSuffix[kSoftwareSuffixChars]; // ANSI text shown after ".R."
};

static_assert(sizeof(SoftwareVersionRecord) == 32, "SoftwareVersionRecord size");
static_assert(offsetof(SoftwareVersionRecord, nVersion1) == 0, "SoftwareVersionRecord::nVersion1");
static_assert(offsetof(SoftwareVersionRecord, nVersion2) == 2, "SoftwareVersionRecord::nVersion2");
static_assert(offsetof(SoftwareVersionRecord, nVersion3) == 4, "SoftwareVersionRecord::nVersion3");
static_assert(offsetof(SoftwareVersionRecord, nVersion4) == 6, "SoftwareVersionRecord::nVersion4");
static_assert(offsetof(SoftwareVersionRecord, nVersion5) == 8, "SoftwareVersionRecord::nVersion5");
static_assert(offsetof(SoftwareVersionRecord, nReserved) == 10, "SoftwareVersionRecord::nReserved");
static_assert(offsetof(SoftwareVersionRecord, szSuffix) == 12, "SoftwareVersionRecord::szSuffix");

// ---------------------------------------------------------------------------------------------
// Board version record filled by IHostInterface::GetVersionRecord. Every text is 64 bytes of
// ANSI text; the counts say how many of the per-board entries are in use. The counts are not
// limited by the host, so readers clamp them to the room below.

constexpr size_t kBoardTextChars = 64;
constexpr size_t kMaxHeadBoards = 8;
constexpr size_t kMaxDriverBoards = 64; // all head boards together
constexpr size_t kMaxExternBoards = 8;

struct BoardVersionRecord {
    char szDataProcessVersion[kBoardTextChars];
    char szDeviceManagerVersion[kBoardTextChars];
    char szReserved[kBoardTextChars]; // never read
    char szMbChipId[kBoardTextChars];
    char szMbLogicVersion[kBoardTextChars];
    char szMbProgramVersion[kBoardTextChars];
    char szMbSerialNumber[kBoardTextChars];
    char szMbFirmwareConfigureInfo[kBoardTextChars];
    char szMbFirmwareParameterInfo[kBoardTextChars];
    uint8_t nHeadBoardCount; // H, 0 to 8
    char szHbChipId[kMaxHeadBoards][kBoardTextChars];
    char szHbLogicVersion[kMaxHeadBoards][kBoardTextChars];
    char szHbProgramVersion[kMaxHeadBoards][kBoardTextChars];
    uint8_t nDriverBoardCount; // D, 0 to 64; head board i owns entries i*(D/H) .. i*(D/H)+D/H-1
    char szDbLogicVersion[kMaxDriverBoards][kBoardTextChars];
    char szDbProgramVersion[kMaxDriverBoards][kBoardTextChars];
    uint8_t nExternBoardCount; // E, 0 to 8
    char szEbLogicVersion[kMaxExternBoards][kBoardTextChars];
    char szEbProgramVersion[kMaxExternBoards][kBoardTextChars];
    char szMachineStatusCode1[kBoardTextChars];
};

static_assert(sizeof(BoardVersionRecord) == 11395, "BoardVersionRecord size");
static_assert(offsetof(BoardVersionRecord, szDataProcessVersion) == 0, "szDataProcessVersion");
static_assert(offsetof(BoardVersionRecord, szDeviceManagerVersion) == 64, "szDeviceManagerVersion");
static_assert(offsetof(BoardVersionRecord, szReserved) == 128, "szReserved");
static_assert(offsetof(BoardVersionRecord, szMbChipId) == 192, "szMbChipId");
static_assert(offsetof(BoardVersionRecord, szMbLogicVersion) == 256, "szMbLogicVersion");
static_assert(offsetof(BoardVersionRecord, szMbProgramVersion) == 320, "szMbProgramVersion");
static_assert(offsetof(BoardVersionRecord, szMbSerialNumber) == 384, "szMbSerialNumber");
static_assert(offsetof(BoardVersionRecord, szMbFirmwareConfigureInfo) == 448, "szMbFirmwareConfigureInfo");
static_assert(offsetof(BoardVersionRecord, szMbFirmwareParameterInfo) == 512, "szMbFirmwareParameterInfo");
static_assert(offsetof(BoardVersionRecord, nHeadBoardCount) == 576, "nHeadBoardCount");
static_assert(offsetof(BoardVersionRecord, szHbChipId) == 577, "szHbChipId");
static_assert(offsetof(BoardVersionRecord, szHbLogicVersion) == 1089, "szHbLogicVersion");
static_assert(offsetof(BoardVersionRecord, szHbProgramVersion) == 1601, "szHbProgramVersion");
static_assert(offsetof(BoardVersionRecord, nDriverBoardCount) == 2113, "nDriverBoardCount");
static_assert(offsetof(BoardVersionRecord, szDbLogicVersion) == 2114, "szDbLogicVersion");
static_assert(offsetof(BoardVersionRecord, szDbProgramVersion) == 6210, "szDbProgramVersion");
static_assert(offsetof(BoardVersionRecord, nExternBoardCount) == 10306, "nExternBoardCount");
static_assert(offsetof(BoardVersionRecord, szEbLogicVersion) == 10307, "szEbLogicVersion");
static_assert(offsetof(BoardVersionRecord, szEbProgramVersion) == 10819, "szEbProgramVersion");
static_assert(offsetof(BoardVersionRecord, szMachineStatusCode1) == 11331, "szMachineStatusCode1");

// ---------------------------------------------------------------------------------------------
// Machine date and time filled by IHostInterface::GetMachineDateTime. The caller presets it;
// a host that knows no time leaves it as it is.

struct MachineDateTime {
    int32_t nYear;
    int32_t nMonth;  // 1 to 12
    int32_t nDay;    // 1 to 31
    int32_t nHour;   // 0 to 23
    int32_t nMinute; // 0 to 59
    int32_t nSecond; // 0 to 59
};

static_assert(sizeof(MachineDateTime) == 24, "MachineDateTime size");
static_assert(offsetof(MachineDateTime, nYear) == 0, "MachineDateTime::nYear");
static_assert(offsetof(MachineDateTime, nMonth) == 4, "MachineDateTime::nMonth");
static_assert(offsetof(MachineDateTime, nDay) == 8, "MachineDateTime::nDay");
static_assert(offsetof(MachineDateTime, nHour) == 12, "MachineDateTime::nHour");
static_assert(offsetof(MachineDateTime, nMinute) == 16, "MachineDateTime::nMinute");
static_assert(offsetof(MachineDateTime, nSecond) == 20, "MachineDateTime::nSecond");

#pragma pack(pop)
