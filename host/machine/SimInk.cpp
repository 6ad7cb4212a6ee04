#include "SimInk.h"

#include "SimCallLog.h"

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
