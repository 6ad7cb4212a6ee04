// The simulated machine behind the host simulator and the tests: every host interface the module calls,
// answered from plain data, with an optional log of every call in order. No window involved.
#pragma once

#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <set>
#include <string>
#include <vector>

#include "PivoraHost.h"
#include "PivoraRecords.h"
#include "SimCallLog.h"
#include "SimEclosion.h"
#include "SimHeads.h"
#include "SimInk.h"
#include "SimMultiStep.h"
#include "SimVersions.h"

class SimMachine;

class SimParameter final : public IHostParameter {
public:
    SimParameter(SimCallLog& log, int32_t nId) : m_log(log), m_nId(nId) {}
    void GetIntValue(int32_t* pnValue) override;
    void GetDoubleValue(double* pdValue) override;
    void SetDoubleValue(double dValue, int32_t nFlags) override;

    int32_t m_nValue = 0;
    double m_dValue = 0;

private:
    SimCallLog& m_log;
    int32_t m_nId;
};

class SimPrintMode final : public IHostPrintMode {
public:
    SimPrintMode(SimCallLog& log, std::string strName) : m_strName(std::move(strName)), m_log(log) {}
    int32_t IsHidden() override;
    int32_t GetAvailability(int32_t nLayoutIndex) override;
    const char* GetName() override;

    bool m_bHidden = false;
    bool m_bNullName = false;
    std::map<int32_t, int32_t> m_availability; // by layout index; missing means available (1)
    std::string m_strName;

private:
    SimCallLog& m_log;
};

class SimPrintModeList final : public IHostPrintModeList {
public:
    explicit SimPrintModeList(SimCallLog& log) : m_log(log) {}
    int32_t GetCount() override;
    IHostPrintMode* GetAt(int32_t nIndex) override;

    SimPrintMode& Add(const std::string& strName);
    // An index that holds no mode object.
    void AddGap() { m_modes.emplace_back(); }

    std::vector<std::unique_ptr<SimPrintMode>> m_modes;

private:
    SimCallLog& m_log;
};

class SimPrintModeTable final : public IHostPrintModeTable {
public:
    explicit SimPrintModeTable(SimCallLog& log) : m_log(log) {}
    IHostPrintModeList* GetModeList(int32_t nKey) override;
    SimPrintModeList& List(int32_t nKey);

    std::map<int32_t, std::unique_ptr<SimPrintModeList>> m_lists;

private:
    SimCallLog& m_log;
};

class SimTask final : public IHostTask {
public:
    SimTask(SimCallLog& log, std::string strName, int32_t nKey, int32_t nMode)
        : m_strName(std::move(strName)), m_nKey(nKey), m_nMode(nMode), m_log(log) {}
    int32_t GetModeListKey() override;
    int32_t GetPrintMode() override;
    void SetPrintMode(uint32_t nModeIndex) override;

    std::string m_strName;
    int32_t m_nKey;
    int32_t m_nMode;

private:
    SimCallLog& m_log;
};

class SimGroupLayout final : public IHostGroupLayout {
public:
    explicit SimGroupLayout(SimCallLog& log) : m_idList(log), m_log(log) {}
    int32_t GetLayoutIndex() override;
    IHostIdList* GetGroupIdList() override;

    int32_t m_nLayoutIndex = 0;
    bool m_bHasIdList = true;
    SimIdList m_idList;

private:
    SimCallLog& m_log;
};

class SimPrinter final : public IHostPrinter {
public:
    explicit SimPrinter(SimMachine& machine);
    IHostParameter* GetParameter(int32_t nId) override;
    IHostGroupLayout* GetGroupLayout() override;
    IHostGroupTable* GetGroupTable() override;
    IHostPrintModeTable* GetPrintModeTable() override;
    IHostMachineInfo* GetMachineInfo() override;
    IHostSnapshot* CreateSnapshot() override;
    void ReleaseSnapshot(IHostSnapshot* pSnapshot) override;

    SimParameter& Parameter(int32_t nId);

    bool m_bHasModeTable = true;
    SimPrintModeTable m_modeTable;
    SimGroupLayout m_layout;
    bool m_bHasGroupTable = true;
    SimGroupTable m_groupTable;
    SimCutInkSettings m_cutInk;

private:
    SimMachine& m_machine;
    std::map<int32_t, std::unique_ptr<SimParameter>> m_parameters;
};

class SimMachine : public IHostInterface {
public:
    SimMachine();
    // Virtual: the tests' strict machine derives from it and is deleted through this type.
    virtual ~SimMachine();
    SimMachine(const SimMachine&) = delete;
    SimMachine& operator=(const SimMachine&) = delete;

    // The machine the simulator starts with when nothing else is configured; other head and channel counts
    // give a larger machine of the same kind.
    static std::unique_ptr<SimMachine> CreateDefault(int32_t nHeads = 4, int32_t nChannels = 8);
    // What a correct module never does, noted in strict mode; snapshots still held count once the module
    // is done with the machine.
    std::vector<std::string> Faults() const;

    IHostPrinter* GetPrinter() override;
    IHostParameter* GetParameter(int32_t nId) override;
    void GetZPosition(double* pdZ) override;
    int32_t ConfirmPrintPosition() override;
    int32_t ApplySettings(int32_t nArg1, int32_t nArg2, int32_t nArg3) override;
    int32_t ResetInkSupplyTimeout() override;
    int32_t GetMultiStepState() override;
    int32_t SendNextStepSignal() override;
    int32_t SendCancelSignal() override;
    int32_t SendFinishSignal() override;
    int32_t GetVersionRecord(BoardVersionRecord* pRecord) override;
    IHostController* GetController() override;
    void GetMachineDateTime(MachineDateTime* pDateTime) override;
    IHostHeadConfig* GetHeadConfig() override;
    IHostHeadSettings* GetHeadSettings() override;
    IHostChannelGroupTables* GetGroupSettings() override;
    IHostGroupTable* GetGroupTable() override;
    IHostEclosionTemplateList* GetEclosionTemplates() override;
    int32_t IsSnapshotEnabled() override;

    SimParameter& Parameter(int32_t nId);
    SimTask& AddTask(const std::string& strName, int32_t nKey, int32_t nMode);

    SimCallLog m_log;
    bool m_bHasPrinter = true;
    SimPrinter m_printer;
    std::vector<std::unique_ptr<SimTask>> m_tasks;
    double m_dZPosition = 0;
    bool m_bHasEclosionTemplates = true;
    SimEclosionTemplateList m_eclosion;
    SimSnapshots m_snapshots; // made by the printer, allowed by the machine's setting
    SimInkSupply m_inkSupply;
    bool m_bHasHeadConfig = true;
    SimHeadConfig m_heads;    // also holds the head settings and group settings blocks
    SimMultiStep m_multiStep; // the operation behind GetMultiStepState and the three signals
    SimVersions m_versions;   // boards, status values and clock of the version dialog
    // Called on every ConfirmPrintPosition, ResetInkSupplyTimeout and the like, so a test or the
    // simulator's window can react while a dialog is open.
    std::function<void(const std::string&)> m_onAction;

private:
    std::map<int32_t, std::unique_ptr<SimParameter>> m_parameters;
};

// Inks of the default machine: six ink groups, one row each, and "Apply to all task" offered.
void AddDefaultInks(SimMachine& machine);
