#include "SimHeads.h"

#include <algorithm>

#include "SimInk.h"
#include "SimCallLog.h"

namespace {

std::string Str(int64_t n) {
    return std::to_string(n);
}

template <typename T> T* At(const std::vector<std::unique_ptr<T>>& items, int32_t nIndex) {
    if (nIndex < 0 || static_cast<size_t>(nIndex) >= items.size())
        return nullptr;
    return items[static_cast<size_t>(nIndex)].get();
}

// At, for the module's calls: an index outside the list is a fault of the module.
template <typename T>
T* Listed(SimCallLog& log, const char* pszCall, const std::vector<std::unique_ptr<T>>& items,
          int32_t nIndex) {
    return log.InList(pszCall, "", nIndex, items.size()) ? items[static_cast<size_t>(nIndex)].get() : nullptr;
}

} // namespace

uint16_t SimChannel::GetGroupId() {
    m_log.Add("Channel.GetGroupId");
    return m_nGroupId;
}

void SimChannel::SetGroupId(uint16_t nGroupId) {
    m_log.Add("Channel.SetGroupId(" + Str(nGroupId) + ")");
    m_nGroupId = nGroupId;
}

int32_t SimHead::GetChannelCount() {
    m_log.Add("Head.GetChannelCount");
    return static_cast<int32_t>(m_channels.size());
}

IHostChannel* SimHead::GetChannel(int32_t nIndex) {
    m_log.Add("Head.GetChannel(" + Str(nIndex) + ")");
    return Listed(m_log, "Head.GetChannel", m_channels, nIndex);
}

SimChannel& SimHead::Add(uint16_t nGroupId) {
    m_channels.push_back(std::make_unique<SimChannel>(m_log, nGroupId));
    return *m_channels.back();
}

uint32_t SimHeadTable::GetConfigId() {
    m_log.Add("HeadTable.GetConfigId");
    return m_nConfigId;
}

int32_t SimHeadTable::GetHeadCount() {
    m_log.Add("HeadTable.GetHeadCount");
    return static_cast<int32_t>(m_heads.size());
}

IHostHead* SimHeadTable::GetHead(int32_t nIndex) {
    m_log.Add("HeadTable.GetHead(" + Str(nIndex) + ")");
    return Listed(m_log, "HeadTable.GetHead", m_heads, nIndex);
}

SimHead& SimHeadTable::Add() {
    m_heads.push_back(std::make_unique<SimHead>(m_log));
    return *m_heads.back();
}

SimChannel* SimHeadTable::Channel(int32_t nHead, int32_t nChannel) const {
    SimHead* pHead = At(m_heads, nHead);
    return pHead ? At(pHead->m_channels, nChannel) : nullptr;
}

// ---------------------------------------------------------------------------------------------------------

uint16_t SimChannelEntry::GetId() {
    m_log.Add("Entry.GetId");
    return m_nId;
}

int32_t SimChannelEntry::GetHead() {
    m_log.Add("Entry.GetHead");
    return m_nHead;
}

void SimChannelEntry::SetHead(int32_t nHead) {
    m_log.Add("Entry(" + Str(m_nId) + ").SetHead(" + Str(nHead) + ")");
    m_nHead = nHead;
}

int32_t SimChannelEntry::GetChannelCount() {
    m_log.Add("Entry.GetChannelCount");
    return static_cast<int32_t>(m_channels.size());
}

uint32_t SimChannelEntry::GetChannel(int32_t nPosition) {
    m_log.Add("Entry.GetChannel(" + Str(nPosition) + ")");
    if (!m_log.InList("Entry.GetChannel", "", nPosition, m_channels.size()))
        return 0;
    return m_channels[static_cast<size_t>(nPosition)];
}

void SimChannelEntry::SetChannel(int32_t nPosition, uint16_t nChannel) {
    m_log.Add("Entry(" + Str(m_nId) + ").SetChannel(" + Str(nPosition) + "," + Str(nChannel) + ")");
    if (m_log.InList("Entry.SetChannel", "", nPosition, m_channels.size()))
        m_channels[static_cast<size_t>(nPosition)] = nChannel;
}

uint32_t SimChannelEntry::GetPropertyA() {
    m_log.Add("Entry.GetPropertyA");
    return m_kind.nA;
}
uint32_t SimChannelEntry::GetPropertyB() {
    m_log.Add("Entry.GetPropertyB");
    return m_kind.nB;
}
uint32_t SimChannelEntry::GetPropertyC() {
    m_log.Add("Entry.GetPropertyC");
    return m_kind.nC;
}
uint32_t SimChannelEntry::GetPropertyD() {
    m_log.Add("Entry.GetPropertyD");
    return m_kind.nD;
}

uint32_t SimChannelGroup::GetId() {
    m_log.Add("ChannelGroup.GetId");
    return m_nId;
}

int32_t SimChannelGroup::GetEntryCount() {
    m_log.Add("ChannelGroup.GetEntryCount");
    return static_cast<int32_t>(m_entries.size());
}

IHostChannelEntry* SimChannelGroup::GetEntry(int32_t nIndex) {
    m_log.Add("ChannelGroup.GetEntry(" + Str(nIndex) + ")");
    return Listed(m_log, "ChannelGroup.GetEntry", m_entries, nIndex);
}

SimChannelEntry& SimChannelGroup::Add(uint16_t nId, int32_t nHead, std::vector<uint32_t> channels,
                                      SimEntryKind kind) {
    m_entries.push_back(std::make_unique<SimChannelEntry>(m_log, nId, nHead, std::move(channels), kind));
    return *m_entries.back();
}

int32_t SimChannelGroupList::GetCount() {
    m_log.Add("ChannelGroups.GetCount");
    return static_cast<int32_t>(m_groups.size());
}

IHostChannelGroup* SimChannelGroupList::GetAt(int32_t nIndex) {
    m_log.Add("ChannelGroups.GetAt(" + Str(nIndex) + ")");
    return Listed(m_log, "ChannelGroups.GetAt", m_groups, nIndex);
}

SimChannelGroup& SimChannelGroupList::Add(uint32_t nId) {
    m_groups.push_back(std::make_unique<SimChannelGroup>(m_log, nId));
    return *m_groups.back();
}

void SimChannelGroupList::CopyContents(const SimChannelGroupList& source) {
    std::vector<std::unique_ptr<SimChannelGroup>> copies;
    for (const auto& pFrom : source.m_groups) {
        if (!pFrom) {
            copies.emplace_back();
            continue;
        }
        auto pTo = std::make_unique<SimChannelGroup>(m_log, pFrom->m_nId);
        for (const auto& pEntry : pFrom->m_entries) {
            if (pEntry)
                pTo->Add(pEntry->m_nId, pEntry->m_nHead, pEntry->m_channels, pEntry->m_kind);
            else
                pTo->m_entries.emplace_back();
        }
        copies.push_back(std::move(pTo));
    }
    m_groups = std::move(copies);
}

std::string SimChannelGroupList::Describe() const {
    std::string str;
    for (const auto& pGroup : m_groups) {
        if (!pGroup)
            continue;
        for (const auto& pEntry : pGroup->m_entries) {
            if (!pEntry)
                continue;
            str += (str.empty() ? "" : " ") + Str(pGroup->m_nId) + ":" + Str(pEntry->m_nId) + "@" +
                   Str(pEntry->m_nHead) + "[";
            for (size_t i = 0; i < pEntry->m_channels.size(); ++i)
                str += (i ? "," : "") + Str(pEntry->m_channels[i]);
            str += "]";
        }
    }
    return str;
}

uint32_t SimGroupTableSet::GetConfigId() {
    m_log.Add("TableSet.GetConfigId");
    return m_nConfigId;
}

int32_t SimGroupTableSet::GetListCount() {
    m_log.Add("TableSet.GetListCount");
    return static_cast<int32_t>(m_lists.size());
}

IHostChannelGroupList* SimGroupTableSet::GetList(int32_t nIndex) {
    m_log.Add("TableSet.GetList(" + Str(nIndex) + ")");
    return Listed(m_log, "TableSet.GetList", m_lists, nIndex);
}

SimChannelGroupList& SimGroupTableSet::Add() {
    m_lists.push_back(std::make_unique<SimChannelGroupList>(m_log));
    return *m_lists.back();
}

int32_t SimChannelGroupTables::GetCount() {
    m_log.Add(m_strLogName + ".GetCount");
    return static_cast<int32_t>(m_sets.size());
}

IHostGroupTableSet* SimChannelGroupTables::GetAt(int32_t nIndex) {
    m_log.Add(m_strLogName + ".GetAt(" + Str(nIndex) + ")");
    return Listed(m_log, "GroupTables.GetAt", m_sets, nIndex);
}

IHostSettingsData* SimChannelGroupTables::GetData() {
    m_log.Add(m_strLogName + ".GetData");
    return &m_data;
}

SimGroupTableSet& SimChannelGroupTables::Add(uint32_t nConfigId) {
    m_sets.push_back(std::make_unique<SimGroupTableSet>(m_log, nConfigId));
    return *m_sets.back();
}

void SimChannelGroupTables::CopyFromData(IHostSettingsData* pSource) {
    m_log.Add(m_strLogName + ".Data.CopyFrom");
    auto* pFrom = dynamic_cast<SimBlockData<SimChannelGroupTables>*>(pSource);
    if (!pFrom || pFrom == &m_data)
        return;
    // The data object knows its block only by reference: find it through the block that owns it.
    const SimChannelGroupTables& source = pFrom->Block();
    std::vector<std::unique_ptr<SimGroupTableSet>> copies;
    for (const auto& pSet : source.m_sets) {
        if (!pSet) {
            copies.emplace_back();
            continue;
        }
        auto pTo = std::make_unique<SimGroupTableSet>(m_log, pSet->m_nConfigId);
        for (const auto& pList : pSet->m_lists) {
            SimChannelGroupList& to = pTo->Add();
            if (pList)
                to.CopyContents(*pList);
        }
        copies.push_back(std::move(pTo));
    }
    m_sets = std::move(copies);
}

// ---------------------------------------------------------------------------------------------------------

uint16_t SimBaseChannel::GetGroupId() {
    m_log.Add("BaseChannel.GetGroupId");
    return m_nGroupId;
}

uint32_t SimBaseChannel::GetEntryId() {
    m_log.Add("BaseChannel.GetEntryId");
    return m_nEntryId;
}

void SimBaseChannel::SetGroupId(uint16_t nGroupId) {
    m_log.Add("BaseChannel.SetGroupId(" + Str(nGroupId) + ")");
    m_nGroupId = nGroupId;
}

void SimBaseChannel::SetEntryId(uint16_t nEntryId) {
    m_log.Add("BaseChannel.SetEntryId(" + Str(nEntryId) + ")");
    m_nEntryId = nEntryId;
}

uint32_t SimBaseChannelList::GetChannelTotal() {
    m_log.Add("BaseList.GetChannelTotal");
    return m_nChannelTotal;
}

int32_t SimBaseChannelList::GetCount() {
    m_log.Add("BaseList.GetCount");
    return static_cast<int32_t>(m_entries.size());
}

void SimBaseChannelList::Clear() {
    m_log.Add("BaseList.Clear");
    m_entries.clear();
}

void SimBaseChannelList::Add(uint16_t nGroupId, uint16_t nEntryId) {
    m_log.Add("BaseList.Add(" + Str(nGroupId) + "," + Str(nEntryId) + ")");
    m_entries.push_back(std::make_unique<SimBaseChannel>(m_log, nGroupId, nEntryId));
}

IHostBaseChannel* SimBaseChannelList::GetAt(int32_t nIndex) {
    m_log.Add("BaseList.GetAt(" + Str(nIndex) + ")");
    return Listed(m_log, "BaseList.GetAt", m_entries, nIndex);
}

SimBaseChannel& SimBaseChannelList::Put(uint16_t nGroupId, uint32_t nEntryId) {
    m_entries.push_back(std::make_unique<SimBaseChannel>(m_log, nGroupId, nEntryId));
    return *m_entries.back();
}

// ---------------------------------------------------------------------------------------------------------

IHostSettingsData* SimHeadSettings::GetData() {
    m_log.Add(m_strLogName + ".GetData");
    return m_bHasData ? &m_data : nullptr;
}

SimHeadSettings::Values SimHeadSettings::Read() const {
    if (!m_pLive)
        return m_stored;
    Values values;
    for (const auto& pHead : m_pLive->m_headTable.m_heads) {
        values.inks.emplace_back();
        if (!pHead)
            continue;
        for (const auto& pChannel : pHead->m_channels)
            values.inks.back().push_back(pChannel ? pChannel->m_nGroupId : 0);
    }
    for (const auto& pBase : m_pLive->m_baseList.m_entries)
        values.baseChannels.emplace_back(pBase->m_nGroupId, pBase->m_nEntryId);
    return values;
}

void SimHeadSettings::Write(const Values& values) {
    if (!m_pLive) {
        m_stored = values;
        return;
    }
    // Values go into the objects the host has handed out, so pointers the module holds stay valid.
    auto& heads = m_pLive->m_headTable.m_heads;
    for (size_t h = 0; h < heads.size() && h < values.inks.size(); ++h) {
        if (!heads[h])
            continue;
        auto& channels = heads[h]->m_channels;
        for (size_t c = 0; c < channels.size() && c < values.inks[h].size(); ++c) {
            if (channels[c])
                channels[c]->m_nGroupId = values.inks[h][c];
        }
    }
    auto& base = m_pLive->m_baseList.m_entries;
    base.clear();
    for (const auto& entry : values.baseChannels)
        base.push_back(std::make_unique<SimBaseChannel>(m_log, entry.first, entry.second));
}

void SimHeadSettings::CopyFromData(IHostSettingsData* pSource) {
    m_log.Add(m_strLogName + ".Data.CopyFrom");
    auto* pFrom = dynamic_cast<SimBlockData<SimHeadSettings>*>(pSource);
    if (pFrom && pFrom != &m_data)
        Write(pFrom->Block().Read());
}

// ---------------------------------------------------------------------------------------------------------

int32_t SimHeadConfig::GetHeadCount() {
    m_log.Add("HeadConfig.GetHeadCount");
    return m_nHeadCount;
}

int32_t SimHeadConfig::GetChannelCount() {
    m_log.Add("HeadConfig.GetChannelCount");
    return m_nChannelCount;
}

int32_t SimHeadConfig::GetActiveIndex() {
    m_log.Add("HeadConfig.GetActiveIndex");
    return m_nActiveIndex;
}

IHostBaseChannelList* SimHeadConfig::GetBaseChannelList() {
    m_log.Add("HeadConfig.GetBaseChannelList");
    return m_bHasBaseList ? &m_baseList : nullptr;
}

IHostChannelGroupList* SimHeadConfig::GetChannelGroups() {
    m_log.Add("HeadConfig.GetChannelGroups");
    return m_bHasLiveGroups ? &m_liveGroups : nullptr;
}

IHostHeadTable* SimHeadConfig::GetHeadTable() {
    m_log.Add("HeadConfig.GetHeadTable");
    return m_bHasHeadTable ? &m_headTable : nullptr;
}

int32_t SimHeadConfig::GetBaseHead(int32_t nIndex) {
    m_log.Add("HeadConfig.GetBaseHead(" + Str(nIndex) + ")");
    // One base channel list entry per head, in head order.
    return nIndex;
}

IHostChannel* SimHeadConfig::GetChannel(int32_t nHead, int32_t nChannel) {
    m_log.Add("HeadConfig.GetChannel(" + Str(nHead) + "," + Str(nChannel) + ")");
    return m_headTable.Channel(nHead, nChannel);
}

std::vector<std::string> SimHeadConfig::DescribeInks(SimGroupTable& groups) const {
    std::vector<std::string> lines;
    for (size_t h = 0; h < m_headTable.m_heads.size(); ++h) {
        std::string strLine = "H" + Str(static_cast<int64_t>(h) + 1) + ":";
        if (const SimHead* pHead = m_headTable.m_heads[h].get()) {
            for (const auto& pChannel : pHead->m_channels) {
                auto it = pChannel ? groups.m_groups.find(pChannel->m_nGroupId) : groups.m_groups.end();
                strLine += " " + (it != groups.m_groups.end() ? it->second->m_strName : std::string("-"));
            }
        }
        lines.push_back(strLine);
    }
    return lines;
}

void AddDefaultHeads(SimHeadConfig& config, SimGroupTable& groups, int32_t nHeads, int32_t nChannels) {
    constexpr uint16_t K = 1, C = 2, M = 3, Y = 4, Lc = 5, Lm = 6, W = 7, V = 8;
    if (groups.m_groups.find(V) == groups.m_groups.end())
        groups.Add(V, "V", {}, 0xC8E6F0);
    // Heads print the colours on channels 1 to 6 and white and varnish on 7 and 8, every fourth head is set
    // up for white and varnish first, with black and light magenta on its last two channels; a machine of
    // more channels repeats the eight.
    const uint16_t colourFirst[8] = {K, C, M, Y, Lc, Lm, W, V};
    const uint16_t spotFirst[8] = {W, V, C, M, Y, Lc, K, Lm};
    config.m_nHeadCount = nHeads;
    config.m_nChannelCount = nChannels;
    config.m_nActiveIndex = 0;
    config.m_headTable.m_nConfigId = static_cast<uint32_t>(nHeads << 8 | nChannels);
    for (int32_t h = 0; h < nHeads; ++h) {
        SimHead& simHead = config.m_headTable.Add();
        for (int32_t c = 0; c < nChannels; ++c)
            simHead.Add(h % 4 == 3 ? spotFirst[c % 8] : colourFirst[c % 8]);
    }
    // Two kinds of entries: colour channels (A = 1) and spot channels (A = 2). Every fourth head's colour
    // channels differ in property C, which the partner search ignores.
    SimChannelGroup& colour = config.m_liveGroups.Add(1);
    SimChannelGroup& spot = config.m_liveGroups.Add(2);
    const int32_t nColourPerHead = (nChannels / 8) * 6 + std::min(nChannels % 8, 6);
    uint16_t nColourId = 0, nSpotId = 0;
    for (int32_t h = 0; h < nHeads; ++h) {
        for (uint32_t c = 0; c < static_cast<uint32_t>(nChannels); ++c) {
            if (c % 8 < 6)
                colour.Add(nColourId++, h, {c}, {1, 1, h % 4 == 3 ? 1u : 0u, 0});
            else
                spot.Add(nSpotId++, h, {c}, {2, 1, 0, 0});
        }
    }
    // The table sets of this configuration (one list per print direction) and of a two-head one.
    SimGroupTableSet& current = config.m_groupSettings.Add(config.m_headTable.m_nConfigId);
    current.Add().CopyContents(config.m_liveGroups);
    current.Add().CopyContents(config.m_liveGroups);
    SimChannelGroupList& other = config.m_groupSettings.Add(static_cast<uint32_t>(2 << 8 | nChannels)).Add();
    other.CopyContents(config.m_liveGroups);
    for (auto& pGroup : other.m_groups) {
        auto& entries = pGroup->m_entries;
        entries.erase(
            std::remove_if(entries.begin(), entries.end(), [](const auto& p) { return p->m_nHead >= 2; }),
            entries.end());
    }
    // Each head's base channel is its first colour channel.
    config.m_baseList.m_nChannelTotal = static_cast<uint32_t>(nHeads * nChannels);
    for (int32_t h = 0; h < nHeads; ++h)
        config.m_baseList.Put(1, static_cast<uint32_t>(h * nColourPerHead));
}
