// The simulated machine's print heads: the head table with the ink group each channel prints, the live
// channel groups, the channel-group table sets of the group settings, the base channel of every head, and
// the two settings blocks (head settings, group settings) that snapshot copies go through. No window.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "PivoraHost.h"

class SimCallLog;
class SimGroupTable;

class SimChannel final : public IHostChannel {
public:
    SimChannel(SimCallLog& log, uint16_t nGroupId) : m_nGroupId(nGroupId), m_log(log) {}
    uint16_t GetGroupId() override;
    void SetGroupId(uint16_t nGroupId) override;

    uint16_t m_nGroupId;

private:
    SimCallLog& m_log;
};

class SimHead final : public IHostHead {
public:
    explicit SimHead(SimCallLog& log) : m_log(log) {}
    int32_t GetChannelCount() override;
    IHostChannel* GetChannel(int32_t nIndex) override;

    SimChannel& Add(uint16_t nGroupId);

    std::vector<std::unique_ptr<SimChannel>> m_channels; // a null entry is a channel the host cannot give

private:
    SimCallLog& m_log;
};

class SimHeadTable final : public IHostHeadTable {
public:
    explicit SimHeadTable(SimCallLog& log) : m_log(log) {}
    uint32_t GetConfigId() override;
    int32_t GetHeadCount() override;
    IHostHead* GetHead(int32_t nIndex) override;

    SimHead& Add();
    // The channel's object, or null when the table has no such head or channel.
    SimChannel* Channel(int32_t nHead, int32_t nChannel) const;

    uint32_t m_nConfigId = 0;
    std::vector<std::unique_ptr<SimHead>> m_heads; // a null entry is a head the host cannot give

private:
    SimCallLog& m_log;
};

// The four kind properties of a channel-group entry.
struct SimEntryKind {
    uint32_t nA = 0, nB = 0, nC = 0, nD = 0;
};

class SimChannelEntry final : public IHostChannelEntry {
public:
    SimChannelEntry(SimCallLog& log, uint16_t nId, int32_t nHead, std::vector<uint32_t> channels,
                    SimEntryKind kind)
        : m_nId(nId), m_nHead(nHead), m_channels(std::move(channels)), m_kind(kind), m_log(log) {}
    uint16_t GetId() override;
    int32_t GetHead() override;
    void SetHead(int32_t nHead) override;
    int32_t GetChannelCount() override;
    uint32_t GetChannel(int32_t nPosition) override;
    void SetChannel(int32_t nPosition, uint16_t nChannel) override;
    uint32_t GetPropertyA() override;
    uint32_t GetPropertyB() override;
    uint32_t GetPropertyC() override;
    uint32_t GetPropertyD() override;

    uint16_t m_nId;
    int32_t m_nHead;
    std::vector<uint32_t> m_channels;
    SimEntryKind m_kind;

private:
    SimCallLog& m_log;
};

class SimChannelGroup final : public IHostChannelGroup {
public:
    SimChannelGroup(SimCallLog& log, uint32_t nId) : m_nId(nId), m_log(log) {}
    uint32_t GetId() override;
    int32_t GetEntryCount() override;
    IHostChannelEntry* GetEntry(int32_t nIndex) override;

    SimChannelEntry& Add(uint16_t nId, int32_t nHead, std::vector<uint32_t> channels, SimEntryKind kind);

    uint32_t m_nId;
    std::vector<std::unique_ptr<SimChannelEntry>> m_entries; // null: an entry the host cannot give

private:
    SimCallLog& m_log;
};

class SimChannelGroupList final : public IHostChannelGroupList {
public:
    explicit SimChannelGroupList(SimCallLog& log) : m_log(log) {}
    int32_t GetCount() override;
    IHostChannelGroup* GetAt(int32_t nIndex) override;

    SimChannelGroup& Add(uint32_t nId);
    // Replaces everything with a copy of another list.
    void CopyContents(const SimChannelGroupList& source);
    // Every entry as "group:entry@head[channels]", in walk order, for tests and the simulator's window.
    std::string Describe() const;

    std::vector<std::unique_ptr<SimChannelGroup>> m_groups; // null: a group the host cannot give

private:
    SimCallLog& m_log;
};

class SimGroupTableSet final : public IHostGroupTableSet {
public:
    SimGroupTableSet(SimCallLog& log, uint32_t nConfigId) : m_nConfigId(nConfigId), m_log(log) {}
    uint32_t GetConfigId() override;
    int32_t GetListCount() override;
    IHostChannelGroupList* GetList(int32_t nIndex) override;

    SimChannelGroupList& Add();

    uint32_t m_nConfigId;
    std::vector<std::unique_ptr<SimChannelGroupList>> m_lists;

private:
    SimCallLog& m_log;
};

class SimChannelGroupTables;

// Settings data of a block: a copy from another block of the same kind copies all of its contents.
template <typename TBlock> class SimBlockData final : public IHostSettingsData {
public:
    explicit SimBlockData(TBlock& block) : m_block(block) {}
    void CopyFrom(IHostSettingsData* pSource) override { m_block.CopyFromData(pSource); }
    TBlock& Block() const { return m_block; }

private:
    TBlock& m_block;
};

// The group settings block: the channel-group table sets.
class SimChannelGroupTables final : public IHostChannelGroupTables {
public:
    SimChannelGroupTables(SimCallLog& log, std::string strLogName)
        : m_strLogName(std::move(strLogName)), m_data(*this), m_log(log) {}
    SimChannelGroupTables(const SimChannelGroupTables&) = delete;
    SimChannelGroupTables& operator=(const SimChannelGroupTables&) = delete;
    int32_t GetCount() override;
    IHostGroupTableSet* GetAt(int32_t nIndex) override;
    IHostSettingsData* GetData() override;

    SimGroupTableSet& Add(uint32_t nConfigId);
    void CopyFromData(IHostSettingsData* pSource);

    std::string m_strLogName;
    std::vector<std::unique_ptr<SimGroupTableSet>> m_sets;

private:
    SimBlockData<SimChannelGroupTables> m_data;
    SimCallLog& m_log;
};

class SimBaseChannel final : public IHostBaseChannel {
public:
    SimBaseChannel(SimCallLog& log, uint16_t nGroupId, uint32_t nEntryId)
        : m_nGroupId(nGroupId), m_nEntryId(nEntryId), m_log(log) {}
    uint16_t GetGroupId() override;
    uint32_t GetEntryId() override;
    void SetGroupId(uint16_t nGroupId) override;
    void SetEntryId(uint16_t nEntryId) override;

    uint16_t m_nGroupId;
    uint32_t m_nEntryId;

private:
    SimCallLog& m_log;
};

class SimBaseChannelList final : public IHostBaseChannelList {
public:
    explicit SimBaseChannelList(SimCallLog& log) : m_log(log) {}
    uint32_t GetChannelTotal() override;
    int32_t GetCount() override;
    void Clear() override;
    void Add(uint16_t nGroupId, uint16_t nEntryId) override;
    IHostBaseChannel* GetAt(int32_t nIndex) override;

    // An entry as the machine keeps it (not a call of the module).
    SimBaseChannel& Put(uint16_t nGroupId, uint32_t nEntryId);

    uint32_t m_nChannelTotal = 0;
    std::vector<std::unique_ptr<SimBaseChannel>> m_entries;

private:
    SimCallLog& m_log;
};

class SimHeadConfig;

// The head settings block: the ink group of every channel and the base channel of every head. The live
// block reads and writes the head configuration; a snapshot's block keeps its own copy.
class SimHeadSettings final : public IHostHeadSettings {
public:
    SimHeadSettings(SimCallLog& log, std::string strLogName, SimHeadConfig* pLive)
        : m_strLogName(std::move(strLogName)), m_pLive(pLive), m_data(*this), m_log(log) {}
    SimHeadSettings(const SimHeadSettings&) = delete;
    SimHeadSettings& operator=(const SimHeadSettings&) = delete;
    IHostSettingsData* GetData() override;

    void CopyFromData(IHostSettingsData* pSource);

    struct Values {
        std::vector<std::vector<uint16_t>> inks; // by head, then channel
        std::vector<std::pair<uint16_t, uint32_t>> baseChannels;
    };
    Values Read() const;
    void Write(const Values& values);

    std::string m_strLogName;
    bool m_bHasData = true;

private:
    SimHeadConfig* m_pLive;
    Values m_stored;
    SimBlockData<SimHeadSettings> m_data;
    SimCallLog& m_log;
};

class SimHeadConfig final : public IHostHeadConfig {
public:
    explicit SimHeadConfig(SimCallLog& log)
        : m_baseList(log), m_liveGroups(log), m_headTable(log), m_groupSettings(log, "GroupSettings"),
          m_headSettings(log, "HeadSettings", this), m_log(log) {}
    SimHeadConfig(const SimHeadConfig&) = delete;
    SimHeadConfig& operator=(const SimHeadConfig&) = delete;
    int32_t GetHeadCount() override;
    int32_t GetChannelCount() override;
    int32_t GetActiveIndex() override;
    IHostBaseChannelList* GetBaseChannelList() override;
    IHostChannelGroupList* GetChannelGroups() override;
    IHostHeadTable* GetHeadTable() override;
    int32_t GetBaseHead(int32_t nIndex) override;
    IHostChannel* GetChannel(int32_t nHead, int32_t nChannel) override;

    // Names of the inks each head prints, channel by channel ("K C M Y ..."), from the group table.
    std::vector<std::string> DescribeInks(SimGroupTable& groups) const;

    int32_t m_nHeadCount = 0;
    int32_t m_nChannelCount = 0;
    int32_t m_nActiveIndex = 0;
    bool m_bHasBaseList = true;
    bool m_bHasLiveGroups = true;
    bool m_bHasHeadTable = true;
    SimBaseChannelList m_baseList;
    SimChannelGroupList m_liveGroups;
    SimHeadTable m_headTable;
    SimChannelGroupTables m_groupSettings;
    SimHeadSettings m_headSettings;

private:
    SimCallLog& m_log;
};

// The heads of the default machine: 4 heads of 8 channels (K C M Y Lc Lm W V, the last head set up for
// white and varnish first), channel groups of two kinds, table sets for this and another configuration,
// and a base channel for every head. Adds the varnish ink to the group table. A larger machine (the
// benchmarks open 16 x 16) repeats that pattern.
void AddDefaultHeads(SimHeadConfig& config, SimGroupTable& groups, int32_t nHeads = 4, int32_t nChannels = 8);
