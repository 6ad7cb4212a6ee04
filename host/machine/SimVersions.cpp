#include "SimVersions.h"

#include <algorithm>
#include <cstring>

#include "SimCallLog.h"

int32_t SimMachineInfo::GetStatusValueA() {
    m_log.Add("MachineInfo.GetStatusValueA");
    return m_nValueA;
}

int32_t SimMachineInfo::GetStatusValueB() {
    m_log.Add("MachineInfo.GetStatusValueB");
    return m_nValueB;
}

uint32_t SimStatusSource::GetStatusByte() {
    m_log.Add("StatusSource.GetStatusByte");
    return m_nStatus;
}

IHostStatusSource* SimController::GetStatusSource() {
    m_log.Add("Controller.GetStatusSource");
    return m_bHasStatusSource ? &m_source : nullptr;
}

int32_t SimVersions::FillRecord(BoardVersionRecord* pRecord) const {
    if (!m_bBoardsReadable)
        return 0;
    std::memcpy(pRecord, &m_record, sizeof(m_record));
    return 1;
}

void SimVersions::FillDateTime(MachineDateTime* pDateTime) const {
    if (m_bHasClock)
        *pDateTime = m_dateTime;
}

void SimVersions::SetText(char (&field)[kBoardTextChars], const std::string& strText) {
    std::memset(field, 0, kBoardTextChars);
    std::memcpy(field, strText.data(), std::min(strText.size(), kBoardTextChars));
}

void AddDefaultVersions(SimVersions& v) {
    BoardVersionRecord& r = v.m_record;
    r = {};
    SimVersions::SetText(r.szDataProcessVersion, "DP 4.12.0.1873");
    SimVersions::SetText(r.szDeviceManagerVersion, "DM 2.7.3.402");
    SimVersions::SetText(r.szMbChipId, "STM32H743-0035003B-3137510B-38323532-A7C41E09-5D2F");
    SimVersions::SetText(r.szMbLogicVersion, "MBL_V3.18_20260914");
    SimVersions::SetText(r.szMbProgramVersion, "MBP_V5.2.11_20261002");
    SimVersions::SetText(r.szMbSerialNumber, "PV2026-MB-004417");
    SimVersions::SetText(r.szMbFirmwareConfigureInfo, "CFG 8H-64D-8E rev.C");
    SimVersions::SetText(r.szMbFirmwareParameterInfo, "PAR 2026-10-02 #1187");
    r.nHeadBoardCount = 2;
    for (int i = 0; i < 2; ++i) {
        std::string strHead = std::to_string(i + 1);
        SimVersions::SetText(r.szHbChipId[i], "HB-C8F1-22A0-90" + strHead + "E");
        SimVersions::SetText(r.szHbLogicVersion[i], "HBL_V2.04_20260611");
        SimVersions::SetText(r.szHbProgramVersion[i], "HBP_V1.9." + strHead + "_20260730");
    }
    r.nDriverBoardCount = 8;
    for (int k = 0; k < 8; ++k) {
        SimVersions::SetText(r.szDbLogicVersion[k], "DBL_V1.3" + std::to_string(k % 4) + "_20260503");
        SimVersions::SetText(r.szDbProgramVersion[k], "DBP_V0.8." + std::to_string(k + 1) + "_20260520");
    }
    r.nExternBoardCount = 1;
    SimVersions::SetText(r.szEbLogicVersion[0], "EBL_V1.01_20251120");
    SimVersions::SetText(r.szEbProgramVersion[0], "EBP_V1.6.0_20260112");
    SimVersions::SetText(r.szMachineStatusCode1, "S1-0000 Ready");
    v.m_bBoardsReadable = true;
    v.m_machineInfo.m_nValueA = 3;
    v.m_machineInfo.m_nValueB = -1;
    v.m_controller.m_source.m_nStatus = 0x1A5; // status code 165 in the low byte
    v.m_dateTime = {2026, 11, 28, 14, 7, 33};
    v.m_bHasClock = true;
}
