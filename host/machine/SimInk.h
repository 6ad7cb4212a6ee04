// The simulated machine's inks: ink groups with their names and members, the id list of the group layout,
// what the host keeps of the cut-ink question between two calls, and the ink-supply timeout.
#pragma once

#include <cstdint>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "PivoraHost.h"
#include "PivoraRecords.h"

class SimCallLog;

class SimGroupMember final : public IHostGroupMember {
public:
    SimGroupMember(SimCallLog& log, uint16_t nId) : m_nId(nId), m_log(log) {}
    uint16_t GetId() override;

    uint16_t m_nId;

private:
    SimCallLog& m_log;
};

class SimGroup final : public IHostGroup {
public:
    SimGroup(SimCallLog& log, uint16_t nId, std::string strName, uint32_t nColor)
        : m_nId(nId), m_strName(std::move(strName)), m_nColor(nColor), m_log(log) {}
    int32_t GetMemberCount() override;
    IHostGroupMember* GetMember(int32_t nIndex) override;
    const char* GetName() override;
    uint32_t GetColor() override;

    SimGroup& AddMember(uint16_t nMemberId);

    uint16_t m_nId;
    std::string m_strName;
    bool m_bNullName = false;
    uint32_t m_nColor;
    std::vector<std::unique_ptr<SimGroupMember>> m_members;

private:
    SimCallLog& m_log;
};

class SimGroupTable final : public IHostGroupTable {
public:
    explicit SimGroupTable(SimCallLog& log) : m_log(log) {}
    IHostGroup* FindGroup(uint16_t nId) override;

    // A group with its members' ids (the cut-ink row indices it claims).
    SimGroup& Add(uint16_t nId, const std::string& strName, const std::vector<uint16_t>& memberIds,
                  uint32_t nColor = 0);

    std::map<uint16_t, std::unique_ptr<SimGroup>> m_groups;

private:
    SimCallLog& m_log;
};

class SimIdList final : public IHostIdList {
public:
    explicit SimIdList(SimCallLog& log) : m_log(log) {}
    int32_t GetCount() override;
    uint32_t GetAt(int32_t nIndex) override;

    std::vector<uint32_t> m_ids;

private:
    SimCallLog& m_log;
};

// What the host keeps of the cut-ink question: the values it hands in and gets back, and the choice.
struct SimCutInkSettings {
    int32_t nValues[kCutInkValueCount] = {};
    uint32_t nApplyToAll = 0;
};

// The ink supply times out on the host's side; the operator's Reset clears it.
struct SimInkSupply {
    bool m_bTimedOut = false;
    int32_t m_nResets = 0;
};
