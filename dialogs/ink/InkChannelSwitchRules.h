// Exchanging the inks of two channels of one head, with the host's channel-group table sets kept in step.
// No window involved: everything goes through the host's head configuration and group settings.
#pragma once

#include <cstdint>

#include "PivoraHost.h"

// A channel of a head, both 0-based.
struct ChannelRef {
    int32_t nHead = 0;
    int32_t nChannel = 0;
};

// An entry of a channel-group list and the position in it that lists a channel.
struct EntryPosition {
    IHostChannelEntry* pEntry = nullptr;
    int32_t nPosition = 0;
};

// Calls fn(group, entry) for every entry of every group, both in index order, passing over what the host
// cannot give; stops at the first call that returns true, and then returns true.
template <typename Fn> bool ForEachChannelEntry(IHostChannelGroupList* pList, Fn fn) {
    if (!pList)
        return false;
    const int32_t nGroups = pList->GetCount();
    for (int32_t i = 0; i < nGroups; ++i) {
        IHostChannelGroup* pGroup = pList->GetAt(i);
        if (!pGroup)
            continue;
        const int32_t nEntries = pGroup->GetEntryCount();
        for (int32_t j = 0; j < nEntries; ++j) {
            IHostChannelEntry* pEntry = pGroup->GetEntry(j);
            if (pEntry && fn(pGroup, pEntry))
                return true;
        }
    }
    return false;
}

// The channel through the head table, within the table's and the head's counts; null when the table, the
// head or the channel is missing.
IHostChannel* LookUpChannel(IHostHeadTable* pTable, ChannelRef ref);

// The first entry, groups then entries in index order, that belongs to the channel's head and lists the
// channel (low 16 bits), with the first position that does.
EntryPosition FindEntry(IHostChannelGroupList* pList, ChannelRef ref);

// True when both channels have an entry and the entries differ in a kind property.
bool EntriesDiffer(IHostChannelGroupList* pList, ChannelRef first, ChannelRef second);

// The first entry other than the excluded one with the given properties B, A and D whose first channel
// prints the ink (16-bit group id, read through the head configuration); null when none.
IHostChannelEntry* FindPartnerEntry(IHostHeadConfig* pConfig, IHostChannelGroupList* pList,
                                    uint32_t nPropertyB, uint32_t nPropertyA, uint32_t nPropertyD,
                                    uint16_t nInk, IHostChannelEntry* pExcluded);

// For channels of different kinds: a channel of the first one's kind printing the second one's ink, and
// one of the second one's kind printing the first one's ink. False when they cannot be found or are the
// same entry.
bool FindPartners(IHostHeadConfig* pConfig, IHostChannelGroupList* pList, ChannelRef first, ChannelRef second,
                  ChannelRef* pPartner0, ChannelRef* pPartner1);

// Gives each of two distinct channels that print different inks the other's ink; otherwise nothing.
void SwapChannelInks(IHostHeadTable* pTable, ChannelRef a, ChannelRef b);

// Moves a and b to each other's places in the list, and c and d as well when the kinds differ. False when
// an entry is missing (what was moved before stays moved).
bool UpdateTableSet(IHostChannelGroupList* pList, bool bKindsDiffer, ChannelRef a, ChannelRef b, ChannelRef c,
                    ChannelRef d);

// Makes the two channels print each other's ink and updates the table sets of the head table's
// configuration. False, with nothing in the host changed, when the switch cannot be done: channels of
// different kinds without two distinct partners, or no head configuration or head table to switch in.
bool SwitchChannels(IHostInterface* pRoot, ChannelRef first, ChannelRef second);
