#include "SimInk.h"

#include "SimMachine.h"

uint16_t SimGroupMember::GetId() {
    m_log.Add("Member.GetId");
    return m_nId;
}

int32_t SimGroup::GetMemberCount() {
    m_log.Add("Group(" + std::to_string(m_nId) + ").GetMemberCount");
    return m_log.Count("Group.GetMemberCount", static_cast<int32_t>(m_members.size()));
}

IHostGroupMember* SimGroup::GetMember(int32_t nIndex) {
    m_log.Add("Group(" + std::to_string(m_nId) + ").GetMember(" + std::to_string(nIndex) + ")");
    if (!m_log.InList("Group.GetMember", "Group.GetMemberCount", nIndex, m_members.size()))
        return nullptr;
    return m_log.Answer<IHostGroupMember>("Group.GetMember", m_members[static_cast<size_t>(nIndex)].get());
}

const char* SimGroup::GetName() {
    m_log.Add("Group(" + std::to_string(m_nId) + ").GetName");
    return m_bNullName ? nullptr : m_strName.c_str();
}

uint32_t SimGroup::GetColor() {
    m_log.Add("Group(" + std::to_string(m_nId) + ").GetColor");
    return m_nColor;
}

SimGroup& SimGroup::AddMember(uint16_t nMemberId) {
    m_members.push_back(std::make_unique<SimGroupMember>(m_log, nMemberId));
    return *this;
}

IHostGroup* SimGroupTable::FindGroup(uint16_t nId) {
    m_log.Add("GroupTable.FindGroup(" + std::to_string(nId) + ")");
    auto it = m_groups.find(nId);
    return m_log.Answer<IHostGroup>("GroupTable.FindGroup",
                                    it == m_groups.end() ? nullptr : it->second.get());
}

SimGroup& SimGroupTable::Add(uint16_t nId, const std::string& strName, const std::vector<uint16_t>& memberIds,
                             uint32_t nColor) {
    auto& pGroup = m_groups[nId];
    pGroup = std::make_unique<SimGroup>(m_log, nId, strName, nColor);
    for (uint16_t nMemberId : memberIds)
        pGroup->AddMember(nMemberId);
    return *pGroup;
}

int32_t SimIdList::GetCount() {
    m_log.Add("IdList.GetCount");
    return m_log.Count("IdList.GetCount", static_cast<int32_t>(m_ids.size()));
}

uint32_t SimIdList::GetAt(int32_t nIndex) {
    m_log.Add("IdList.GetAt(" + std::to_string(nIndex) + ")");
    if (!m_log.InList("IdList.GetAt", "IdList.GetCount", nIndex, m_ids.size()))
        return 0;
    return m_ids[static_cast<size_t>(nIndex)];
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
