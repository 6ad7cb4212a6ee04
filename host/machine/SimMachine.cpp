#include "SimMachine.h"

#include <cstdio>

namespace {

std::string Num(double d) {
    char szBuffer[64];
    std::snprintf(szBuffer, sizeof(szBuffer), "%.15g", d);
    return szBuffer;
}

} // namespace

std::vector<std::string> SimCallLog::Filter(const std::vector<std::string>& prefixes) const {
    std::vector<std::string> result;
    for (const auto& strCall : m_calls) {
        for (const auto& strPrefix : prefixes) {
            if (strCall.compare(0, strPrefix.size(), strPrefix) == 0) {
                result.push_back(strCall);
                break;
            }
        }
    }
    return result;
}

// ---------------------------------------------------------------------------------------------------------

void SimParameter::GetIntValue(int32_t* pnValue) {
    m_log.Add("Param(" + std::to_string(m_nId) + ").GetIntValue");
    *pnValue = m_nValue;
}

void SimParameter::GetDoubleValue(double* pdValue) {
    m_log.Add("Param(" + std::to_string(m_nId) + ").GetDoubleValue");
    *pdValue = m_dValue;
}

void SimParameter::SetDoubleValue(double dValue, int32_t nFlags) {
    m_log.Add("Param(" + std::to_string(m_nId) + ").SetDoubleValue(" + Num(dValue) + "," +
              std::to_string(nFlags) + ")");
    m_dValue = dValue;
}

int32_t SimPrintMode::IsHidden() {
    m_log.Add("Mode.IsHidden");
    return m_bHidden ? 1 : 0;
}

int32_t SimPrintMode::GetAvailability(int32_t nLayoutIndex) {
    m_log.Add("Mode.GetAvailability(" + std::to_string(nLayoutIndex) + ")");
    auto it = m_availability.find(nLayoutIndex);
    return it == m_availability.end() ? 1 : it->second;
}

const char* SimPrintMode::GetName() {
    m_log.Add("Mode.GetName");
    return m_bNullName ? nullptr : m_strName.c_str();
}

int32_t SimPrintModeList::GetCount() {
    m_log.Add("ModeList.GetCount");
    return m_log.Count("ModeList.GetCount", static_cast<int32_t>(m_modes.size()));
}

IHostPrintMode* SimPrintModeList::GetAt(int32_t nIndex) {
    m_log.Add("ModeList.GetAt(" + std::to_string(nIndex) + ")");
    if (!m_log.InList("ModeList.GetAt", "ModeList.GetCount", nIndex, m_modes.size()))
        return nullptr;
    return m_log.Answer<IHostPrintMode>("ModeList.GetAt", m_modes[static_cast<size_t>(nIndex)].get());
}

SimPrintMode& SimPrintModeList::Add(const std::string& strName) {
    m_modes.push_back(std::make_unique<SimPrintMode>(m_log, strName));
    return *m_modes.back();
}

IHostPrintModeList* SimPrintModeTable::GetModeList(int32_t nKey) {
    m_log.Add("ModeTable.GetModeList(" + std::to_string(nKey) + ")");
    auto it = m_lists.find(nKey);
    return m_log.Answer<IHostPrintModeList>("ModeTable.GetModeList",
                                            it == m_lists.end() ? nullptr : it->second.get());
}

SimPrintModeList& SimPrintModeTable::List(int32_t nKey) {
    auto& pList = m_lists[nKey];
    if (!pList)
        pList = std::make_unique<SimPrintModeList>(m_log);
    return *pList;
}

int32_t SimTask::GetModeListKey() {
    m_log.Add("Task.GetModeListKey");
    return m_nKey;
}

int32_t SimTask::GetPrintMode() {
    m_log.Add("Task.GetPrintMode");
    return m_nMode;
}

void SimTask::SetPrintMode(uint32_t nModeIndex) {
    m_log.Add("Task.SetPrintMode(" + std::to_string(nModeIndex) + ")");
    m_nMode = static_cast<int32_t>(nModeIndex);
}

int32_t SimGroupLayout::GetLayoutIndex() {
    m_log.Add("Layout.GetLayoutIndex");
    return m_nLayoutIndex;
}

IHostIdList* SimGroupLayout::GetGroupIdList() {
    m_log.Add("Layout.GetGroupIdList");
    return m_log.Answer<IHostIdList>("Layout.GetGroupIdList", m_bHasIdList ? &m_idList : nullptr);
}

// ---------------------------------------------------------------------------------------------------------

SimPrinter::SimPrinter(SimMachine& machine)
    : m_modeTable(machine.m_log), m_layout(machine.m_log), m_groupTable(machine.m_log), m_machine(machine) {}

SimParameter& SimPrinter::Parameter(int32_t nId) {
    auto& pParam = m_parameters[nId];
    if (!pParam)
        pParam = std::make_unique<SimParameter>(m_machine.m_log, nId);
    return *pParam;
}

IHostParameter* SimPrinter::GetParameter(int32_t nId) {
    m_machine.m_log.Add("Printer.GetParameter(" + std::to_string(nId) + ")");
    return m_machine.m_log.Answer<IHostParameter>("Printer.GetParameter", &Parameter(nId));
}

IHostGroupLayout* SimPrinter::GetGroupLayout() {
    m_machine.m_log.Add("Printer.GetGroupLayout");
    return m_machine.m_log.Answer<IHostGroupLayout>("Printer.GetGroupLayout", &m_layout);
}

IHostGroupTable* SimPrinter::GetGroupTable() {
    m_machine.m_log.Add("Printer.GetGroupTable");
    return m_machine.m_log.Answer<IHostGroupTable>("Printer.GetGroupTable",
                                                   m_bHasGroupTable ? &m_groupTable : nullptr);
}

IHostPrintModeTable* SimPrinter::GetPrintModeTable() {
    m_machine.m_log.Add("Printer.GetPrintModeTable");
    return m_machine.m_log.Answer<IHostPrintModeTable>("Printer.GetPrintModeTable",
                                                       m_bHasModeTable ? &m_modeTable : nullptr);
}

IHostMachineInfo* SimPrinter::GetMachineInfo() {
    m_machine.m_log.Add("Printer.GetMachineInfo");
    return m_machine.m_versions.m_bHasMachineInfo ? &m_machine.m_versions.m_machineInfo : nullptr;
}

IHostSnapshot* SimPrinter::CreateSnapshot() {
    m_machine.m_log.Add("Printer.CreateSnapshot");
    if (!m_machine.m_log.Answer<IHostPrinter>("Printer.CreateSnapshot", this))
        return nullptr;
    return m_machine.m_snapshots.Create();
}

void SimPrinter::ReleaseSnapshot(IHostSnapshot* pSnapshot) {
    m_machine.m_log.Add("Printer.ReleaseSnapshot");
    m_machine.m_snapshots.Release(pSnapshot);
}

// ---------------------------------------------------------------------------------------------------------

std::vector<std::string> SimMachine::Faults() const {
    std::vector<std::string> faults = m_log.m_violations;
    if (m_log.m_bStrict && !m_snapshots.m_outstanding.empty())
        faults.push_back(std::to_string(m_snapshots.m_outstanding.size()) + " snapshot(s) never released");
    return faults;
}

SimMachine::SimMachine()
    : m_printer(*this), m_eclosion(m_log), m_snapshots(m_log), m_heads(m_log), m_versions(m_log) {}
SimMachine::~SimMachine() = default;

SimParameter& SimMachine::Parameter(int32_t nId) {
    auto& pParam = m_parameters[nId];
    if (!pParam)
        pParam = std::make_unique<SimParameter>(m_log, nId);
    return *pParam;
}

SimTask& SimMachine::AddTask(const std::string& strName, int32_t nKey, int32_t nMode) {
    m_tasks.push_back(std::make_unique<SimTask>(m_log, strName, nKey, nMode));
    return *m_tasks.back();
}

IHostPrinter* SimMachine::GetPrinter() {
    m_log.Add("Root.GetPrinter");
    return m_log.Answer<IHostPrinter>("Root.GetPrinter", m_bHasPrinter ? &m_printer : nullptr);
}

IHostParameter* SimMachine::GetParameter(int32_t nId) {
    m_log.Add("Root.GetParameter(" + std::to_string(nId) + ")");
    return m_log.Answer<IHostParameter>("Root.GetParameter", &Parameter(nId));
}

void SimMachine::GetZPosition(double* pdZ) {
    m_log.Add("Root.GetZPosition");
    *pdZ = m_dZPosition;
}

int32_t SimMachine::ConfirmPrintPosition() {
    m_log.Add("Root.ConfirmPrintPosition");
    if (m_onAction)
        m_onAction("ConfirmPrintPosition");
    return 1;
}

int32_t SimMachine::ApplySettings(int32_t nArg1, int32_t nArg2, int32_t nArg3) {
    m_log.Add("Root.ApplySettings(" + std::to_string(nArg1) + "," + std::to_string(nArg2) + "," +
              std::to_string(nArg3) + ")");
    if (m_onAction)
        m_onAction("ApplySettings");
    return 1;
}

int32_t SimMachine::ResetInkSupplyTimeout() {
    m_log.Add("Root.ResetInkSupplyTimeout");
    m_inkSupply.m_bTimedOut = false;
    ++m_inkSupply.m_nResets;
    if (m_onAction)
        m_onAction("ResetInkSupplyTimeout");
    return 1;
}

int32_t SimMachine::GetMultiStepState() {
    m_log.Add("Root.GetMultiStepState");
    return m_multiStep.m_nState;
}

int32_t SimMachine::SendNextStepSignal() {
    m_log.Add("Root.SendNextStepSignal");
    return m_multiStep.OnNextStepSignal();
}

int32_t SimMachine::SendCancelSignal() {
    m_log.Add("Root.SendCancelSignal");
    return m_multiStep.OnCancelSignal();
}

int32_t SimMachine::SendFinishSignal() {
    m_log.Add("Root.SendFinishSignal");
    return m_multiStep.OnFinishSignal();
}

int32_t SimMachine::GetVersionRecord(BoardVersionRecord* pRecord) {
    m_log.Add("Root.GetVersionRecord");
    return m_versions.FillRecord(pRecord);
}

IHostController* SimMachine::GetController() {
    m_log.Add("Root.GetController");
    return m_versions.m_bHasController ? &m_versions.m_controller : nullptr;
}

void SimMachine::GetMachineDateTime(MachineDateTime* pDateTime) {
    m_log.Add("Root.GetMachineDateTime");
    m_versions.FillDateTime(pDateTime);
}

IHostHeadConfig* SimMachine::GetHeadConfig() {
    m_log.Add("Root.GetHeadConfig");
    return m_bHasHeadConfig ? &m_heads : nullptr;
}

IHostHeadSettings* SimMachine::GetHeadSettings() {
    m_log.Add("Root.GetHeadSettings");
    return &m_heads.m_headSettings;
}

IHostChannelGroupTables* SimMachine::GetGroupSettings() {
    m_log.Add("Root.GetGroupSettings");
    return &m_heads.m_groupSettings;
}

IHostGroupTable* SimMachine::GetGroupTable() {
    m_log.Add("Root.GetGroupTable");
    // One set of ink groups: the machine's.
    return m_log.Answer<IHostGroupTable>("Root.GetGroupTable",
                                         m_printer.m_bHasGroupTable ? &m_printer.m_groupTable : nullptr);
}

IHostEclosionTemplateList* SimMachine::GetEclosionTemplates() {
    m_log.Add("Root.GetEclosionTemplates");
    return m_log.Answer<IHostEclosionTemplateList>("Root.GetEclosionTemplates",
                                                   m_bHasEclosionTemplates ? &m_eclosion : nullptr);
}

int32_t SimMachine::IsSnapshotEnabled() {
    m_log.Add("Root.IsSnapshotEnabled");
    return m_snapshots.m_bEnabled ? 1 : 0;
}

std::unique_ptr<SimMachine> SimMachine::CreateDefault(int32_t nHeads, int32_t nChannels) {
    auto pMachine = std::make_unique<SimMachine>();
    SimMachine& m = *pMachine;
    m.m_log.m_bRecording = false;
    m.m_printer.Parameter(kParamPrintConfirm).m_nValue = 1;
    m.m_printer.Parameter(kParamPrintModeAsk).m_nValue = 1;
    m.m_printer.m_layout.m_nLayoutIndex = 0;

    // Print modes of the two task kinds the default machine prints; some hidden, one not for this layout.
    SimPrintModeList& photo = m.m_printer.m_modeTable.List(1);
    photo.Add("Production 4 pass");
    photo.Add("Quality 8 pass");
    photo.Add("Service test pass").m_bHidden = true;
    photo.Add("High density 12 pass");
    photo.Add("White underlay 6 pass").m_availability[0] = kPrintModeUnavailable;
    SimPrintModeList& draft = m.m_printer.m_modeTable.List(2);
    draft.Add("Draft 2 pass");
    m.AddTask("Poster A0", 1, 1);
    m.AddTask("Proof sheet", 2, 0);
    m.m_dZPosition = 12.5;
    // The print platform: lengths in millimetres, as the host keeps them.
    m.Parameter(kParamMaterialHeight).m_dValue = 3.2;
    m.Parameter(kParamPrintHeight).m_dValue = 2.5;
    m.Parameter(kParamPrintPosX).m_dValue = 120;
    m.Parameter(kParamPrintPosY).m_dValue = 45.5;
    AddDefaultInks(m);
    AddDefaultVersions(m.m_versions);
    m.Parameter(kParamStatusCode2).m_nValue = 17;
    m.Parameter(kParamStatusCode3).m_nValue = 2;
    AddDefaultHeads(m.m_heads, m.m_printer.m_groupTable, nHeads, nChannels);
    AddDefaultEclosionTemplates(m.m_eclosion);
    return pMachine;
}

void AddDefaultInks(SimMachine& machine) {
    SimPrinter& printer = machine.m_printer;
    printer.Parameter(kParamApplyToAllTask).m_nValue = 1;

    // The layout lists its groups with flag bits above the 16-bit id, as the host stores them.
    struct Ink {
        uint16_t nId;
        const char* pszName;
        uint16_t nRow;
        uint32_t nColor;
        int32_t nCutInk;
    };
    const Ink inks[] = {
        {1, "K", 0, 0x000000, 60}, {2, "C", 1, 0xFFFF00, 50},  {3, "M", 2, 0xFF00FF, 50},
        {4, "Y", 3, 0x00FFFF, 40}, {5, "Lc", 4, 0xFFFF99, 35}, {6, "Lm", 5, 0xFF99FF, 35},
    };
    for (const Ink& ink : inks) {
        printer.m_groupTable.Add(ink.nId, ink.pszName, {ink.nRow}, ink.nColor);
        printer.m_layout.m_idList.m_ids.push_back(0x10000u | ink.nId);
        printer.m_cutInk.nValues[ink.nRow] = ink.nCutInk;
    }
    // White is loaded but not in the current layout: it claims no row.
    printer.m_groupTable.Add(7, "W", {6}, 0xFFFFFF);
}
