#include "VersionTreeRules.h"

#include <algorithm>
#include <cstdio>
#include <cstring>

namespace {

VersionTreeRow Group(const std::wstring& strLabel) {
    VersionTreeRow group;
    group.strLabel = strLabel;
    group.bGroup = true;
    return group;
}

// "%s%d": the number follows the translated name directly.
VersionTreeRow NumberedGroup(const VersionLabelTranslator& translate, const wchar_t* pszKey, size_t nIndex) {
    return Group(translate(pszKey) + std::to_wstring(nIndex + 1));
}

void AddRow(VersionTreeRow& group, const VersionLabelTranslator& translate, const wchar_t* pszKey,
            std::string strValue) {
    VersionTreeRow row;
    row.strLabel = translate(pszKey);
    row.strValue = std::move(strValue);
    group.children.push_back(std::move(row));
}

std::string Format(const char* pszFormat, int32_t a, int32_t b) {
    char szBuffer[64];
    std::snprintf(szBuffer, sizeof(szBuffer), pszFormat, a, b);
    return szBuffer;
}

std::string FormatDateTime(const MachineDateTime& dt) {
    char szBuffer[96];
    std::snprintf(szBuffer, sizeof(szBuffer), "%02d-%02d-%02d %02d:%02d:%02d", dt.nYear, dt.nMonth, dt.nDay,
                  dt.nHour, dt.nMinute, dt.nSecond);
    return szBuffer;
}

} // namespace

std::string BoardText(const char (&field)[kBoardTextChars]) {
    const void* pEnd = std::memchr(field, '\0', kBoardTextChars);
    size_t nLen = pEnd ? static_cast<size_t>(static_cast<const char*>(pEnd) - field) : kBoardTextChars;
    return std::string(field, nLen);
}

std::string FormatSoftwareVersion(const SoftwareVersionRecord& software) {
    char szNumbers[64];
    std::snprintf(szNumbers, sizeof(szNumbers), "%u.%u.%u.%u.%u.R.", unsigned{software.nVersion1},
                  unsigned{software.nVersion2}, unsigned{software.nVersion3}, unsigned{software.nVersion4},
                  unsigned{software.nVersion5});
    // The suffix may fill its field without a terminator; it is never read past the record.
    const void* pEnd = std::memchr(software.szSuffix, '\0', kSoftwareSuffixChars);
    size_t nLen =
        pEnd ? static_cast<size_t>(static_cast<const char*>(pEnd) - software.szSuffix) : kSoftwareSuffixChars;
    return szNumbers + std::string(software.szSuffix, nLen);
}

bool ReadBoardVersionRecord(IHostInterface* pHost, BoardVersionRecord& record) {
    std::memset(&record, 0, sizeof(record));
    return pHost && pHost->GetVersionRecord(&record) != 0;
}

VersionStatusValues ReadVersionStatusValues(IHostInterface* pHost) {
    VersionStatusValues values;
    if (!pHost)
        return values;
    auto readParameter = [pHost](int32_t nId, int32_t& nValue) {
        if (IHostParameter* pParameter = pHost->GetParameter(nId))
            pParameter->GetIntValue(&nValue);
    };
    // The machine information is fetched again for each value, as the host may hand out a fresh object.
    auto machineInfo = [pHost]() -> IHostMachineInfo* {
        IHostPrinter* pPrinter = pHost->GetPrinter();
        return pPrinter ? pPrinter->GetMachineInfo() : nullptr;
    };
    readParameter(kParamStatusCode2, values.nParam1002);
    if (IHostMachineInfo* pInfo = machineInfo())
        values.nStatusValueA = pInfo->GetStatusValueA();
    readParameter(kParamStatusCode3, values.nParam1003);
    if (IHostMachineInfo* pInfo = machineInfo())
        values.nStatusValueB = pInfo->GetStatusValueB();
    if (IHostController* pController = pHost->GetController()) {
        if (IHostStatusSource* pSource = pController->GetStatusSource())
            values.nStatusByte = pSource->GetStatusByte() & 0xFFu;
    }
    pHost->GetMachineDateTime(&values.dateTime);
    return values;
}

BoardCounts UsableBoardCounts(const BoardVersionRecord& record) {
    BoardCounts counts;
    counts.nHead = std::min<size_t>(record.nHeadBoardCount, kMaxHeadBoards);
    counts.nExtern = std::min<size_t>(record.nExternBoardCount, kMaxExternBoards);
    if (counts.nHead > 0)
        counts.nDriverPerHead = std::min<size_t>(record.nDriverBoardCount, kMaxDriverBoards) / counts.nHead;
    return counts;
}

std::vector<VersionTreeRow> BuildVersionTree(const BoardVersionRecord& record,
                                             const SoftwareVersionRecord* pSoftware,
                                             const VersionStatusValues& status,
                                             const VersionLabelTranslator& translate) {
    std::vector<VersionTreeRow> tree;
    const BoardCounts counts = UsableBoardCounts(record);

    // The row order is the operator's reading order, not the order of the fields in the record.
    VersionTreeRow mainBoard = Group(translate(L"Main Board"));
    AddRow(mainBoard, translate, L"MB Chip ID", BoardText(record.szMbChipId));
    AddRow(mainBoard, translate, L"MB Serial Number", BoardText(record.szMbSerialNumber));
    AddRow(mainBoard, translate, L"MB Logic Version", BoardText(record.szMbLogicVersion));
    AddRow(mainBoard, translate, L"MB Program Version", BoardText(record.szMbProgramVersion));
    AddRow(mainBoard, translate, L"MB Firmware Configure Info", BoardText(record.szMbFirmwareConfigureInfo));
    AddRow(mainBoard, translate, L"MB Firmware Parameter Info", BoardText(record.szMbFirmwareParameterInfo));
    tree.push_back(std::move(mainBoard));

    for (size_t i = 0; i < counts.nHead; ++i) {
        VersionTreeRow headBoard = NumberedGroup(translate, L"Head Board", i);
        AddRow(headBoard, translate, L"HB Chip ID", BoardText(record.szHbChipId[i]));
        AddRow(headBoard, translate, L"HB Logic Version", BoardText(record.szHbLogicVersion[i]));
        AddRow(headBoard, translate, L"HB Program Version", BoardText(record.szHbProgramVersion[i]));
        // Driver boards are stored head board after head board; numbering starts again under each.
        for (size_t k = 0; k < counts.nDriverPerHead; ++k) {
            size_t nEntry = i * counts.nDriverPerHead + k;
            VersionTreeRow driverBoard = NumberedGroup(translate, L"Driver Board", k);
            AddRow(driverBoard, translate, L"DB Logic Version", BoardText(record.szDbLogicVersion[nEntry]));
            AddRow(driverBoard, translate, L"DB Program Version",
                   BoardText(record.szDbProgramVersion[nEntry]));
            driverBoard.bCollapsed = true;
            headBoard.children.push_back(std::move(driverBoard));
        }
        tree.push_back(std::move(headBoard));
    }

    for (size_t j = 0; j < counts.nExtern; ++j) {
        VersionTreeRow externBoard = NumberedGroup(translate, L"Extern Board", j);
        AddRow(externBoard, translate, L"EB Logic Version", BoardText(record.szEbLogicVersion[j]));
        AddRow(externBoard, translate, L"EB Program Version", BoardText(record.szEbProgramVersion[j]));
        tree.push_back(std::move(externBoard));
    }

    VersionTreeRow softwareGroup = Group(translate(L"Software"));
    AddRow(softwareGroup, translate, L"Software Version", pSoftware ? FormatSoftwareVersion(*pSoftware) : "");
    AddRow(softwareGroup, translate, L"Device Manager Version", BoardText(record.szDeviceManagerVersion));
    AddRow(softwareGroup, translate, L"Data Process Version", BoardText(record.szDataProcessVersion));
    tree.push_back(std::move(softwareGroup));

    VersionTreeRow extended = Group(translate(L"Extended information"));
    AddRow(extended, translate, L"Machine status code1", BoardText(record.szMachineStatusCode1));
    AddRow(extended, translate, L"Machine status code2",
           Format("F(%d)-M(%d)", status.nParam1002, status.nStatusValueA));
    AddRow(extended, translate, L"Machine status code3",
           Format("F(%d)-M(%d)", status.nParam1003, status.nStatusValueB));
    AddRow(extended, translate, L"Machine status code4", std::to_string(status.nStatusByte & 0xFFu));
    AddRow(extended, translate, L"Machine status code5", FormatDateTime(status.dateTime));
    tree.push_back(std::move(extended));
    return tree;
}
