// The simulated machine's boards and status: the board version record the host fills, the machine
// information with its two status values, the controller's status byte, and the machine's clock.
#pragma once

#include <cstdint>
#include <string>

#include "PivoraHost.h"
#include "PivoraRecords.h"

class SimCallLog;

class SimMachineInfo final : public IHostMachineInfo {
public:
    explicit SimMachineInfo(SimCallLog& log) : m_log(log) {}
    int32_t GetStatusValueA() override;
    int32_t GetStatusValueB() override;

    int32_t m_nValueA = 0;
    int32_t m_nValueB = 0;

private:
    SimCallLog& m_log;
};

class SimStatusSource final : public IHostStatusSource {
public:
    explicit SimStatusSource(SimCallLog& log) : m_log(log) {}
    uint32_t GetStatusByte() override;

    uint32_t m_nStatus = 0; // the whole word; only its low byte is the status code

private:
    SimCallLog& m_log;
};

class SimController final : public IHostController {
public:
    explicit SimController(SimCallLog& log) : m_source(log), m_log(log) {}
    IHostStatusSource* GetStatusSource() override;

    bool m_bHasStatusSource = true;
    SimStatusSource m_source;

private:
    SimCallLog& m_log;
};

class SimVersions {
public:
    explicit SimVersions(SimCallLog& log) : m_machineInfo(log), m_controller(log) {}

    // GetVersionRecord: copies the record when the boards could be read, else leaves it and gives 0.
    int32_t FillRecord(BoardVersionRecord* pRecord) const;
    // GetMachineDateTime: writes the clock when the machine has one, else leaves the caller's preset.
    void FillDateTime(MachineDateTime* pDateTime) const;

    // Writes a text field as the host does: cut to the field, terminated when there is room.
    static void SetText(char (&field)[kBoardTextChars], const std::string& strText);

    bool m_bBoardsReadable = false;
    BoardVersionRecord m_record = {};
    bool m_bHasMachineInfo = true;
    SimMachineInfo m_machineInfo;
    bool m_bHasController = true;
    SimController m_controller;
    bool m_bHasClock = false;
    MachineDateTime m_dateTime = {};
};

// Two head boards with four driver boards each, one extern board, realistic version texts and a clock.
void AddDefaultVersions(SimVersions& versions);
