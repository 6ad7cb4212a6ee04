#include "InkChannelSwitchRules.h"

namespace {

bool SameChannel(uint32_t nListed, int32_t nChannel) {
    return static_cast<int32_t>(nListed & 0xFFFF) == nChannel;
}

// The ink a channel prints, read through the head configuration; false when the channel is missing.
bool ReadInk(IHostHeadConfig* pConfig, ChannelRef ref, uint16_t* pInk) {
    IHostChannel* pChannel = pConfig->GetChannel(ref.nHead, ref.nChannel);
    if (!pChannel)
        return false;
    *pInk = pChannel->GetGroupId();
    return true;
}

bool IsSameChannel(ChannelRef a, ChannelRef b) {
    return a.nHead == b.nHead && a.nChannel == b.nChannel;
}

ChannelRef FirstChannelOf(IHostChannelEntry* pEntry) {
    return {pEntry->GetHead(), static_cast<int32_t>(pEntry->GetChannel(0) & 0xFFFF)};
}

} // namespace

IHostChannel* LookUpChannel(IHostHeadTable* pTable, ChannelRef ref) {
    if (!pTable || ref.nHead < 0 || ref.nHead >= pTable->GetHeadCount())
        return nullptr;
    IHostHead* pHead = pTable->GetHead(ref.nHead);
    if (!pHead || ref.nChannel < 0 || ref.nChannel >= pHead->GetChannelCount())
        return nullptr;
    return pHead->GetChannel(ref.nChannel);
}

EntryPosition FindEntry(IHostChannelGroupList* pList, ChannelRef ref) {
    EntryPosition found;
    ForEachChannelEntry(pList, [&](IHostChannelGroup*, IHostChannelEntry* pEntry) {
        if (pEntry->GetHead() != ref.nHead)
            return false;
        const int32_t nPositions = pEntry->GetChannelCount();
        for (int32_t k = 0; k < nPositions; ++k) {
            if (SameChannel(pEntry->GetChannel(k), ref.nChannel)) {
                found = {pEntry, k};
                return true;
            }
        }
        return false;
    });
    return found;
}

bool EntriesDiffer(IHostChannelGroupList* pList, ChannelRef first, ChannelRef second) {
    IHostChannelEntry* pFirst = FindEntry(pList, first).pEntry;
    IHostChannelEntry* pSecond = FindEntry(pList, second).pEntry;
    if (!pFirst || !pSecond)
        return false;
    return pFirst->GetPropertyB() != pSecond->GetPropertyB() ||
           pFirst->GetPropertyA() != pSecond->GetPropertyA() ||
           pFirst->GetPropertyC() != pSecond->GetPropertyC() ||
           pFirst->GetPropertyD() != pSecond->GetPropertyD();
}

IHostChannelEntry* FindPartnerEntry(IHostHeadConfig* pConfig, IHostChannelGroupList* pList,
                                    uint32_t nPropertyB, uint32_t nPropertyA, uint32_t nPropertyD,
                                    uint16_t nInk, IHostChannelEntry* pExcluded) {
    if (!pConfig)
        return nullptr;
    IHostChannelEntry* pFound = nullptr;
    ForEachChannelEntry(pList, [&](IHostChannelGroup*, IHostChannelEntry* pEntry) {
        if (pEntry == pExcluded || pEntry->GetPropertyB() != nPropertyB ||
            pEntry->GetPropertyA() != nPropertyA || pEntry->GetPropertyD() != nPropertyD)
            return false;
        // An entry that lists no channel has no first channel to print anything.
        uint16_t nEntryInk = 0;
        if (pEntry->GetChannelCount() >= 1 && ReadInk(pConfig, FirstChannelOf(pEntry), &nEntryInk) &&
            nEntryInk == nInk)
            pFound = pEntry;
        return pFound != nullptr;
    });
    return pFound;
}

bool FindPartners(IHostHeadConfig* pConfig, IHostChannelGroupList* pList, ChannelRef first, ChannelRef second,
                  ChannelRef* pPartner0, ChannelRef* pPartner1) {
    if (!pConfig)
        return false;
    uint16_t nInk0 = 0, nInk1 = 0;
    if (!ReadInk(pConfig, first, &nInk0) || !ReadInk(pConfig, second, &nInk1))
        return false;
    IHostChannelEntry* pEntry0 = FindEntry(pList, first).pEntry;
    IHostChannelEntry* pEntry1 = FindEntry(pList, second).pEntry;
    if (!pEntry0 || !pEntry1)
        return false;
    IHostChannelEntry* pPartnerEntry0 =
        FindPartnerEntry(pConfig, pList, pEntry0->GetPropertyB(), pEntry0->GetPropertyA(),
                         pEntry0->GetPropertyD(), nInk1, pEntry0);
    IHostChannelEntry* pPartnerEntry1 =
        FindPartnerEntry(pConfig, pList, pEntry1->GetPropertyB(), pEntry1->GetPropertyA(),
                         pEntry1->GetPropertyD(), nInk0, pEntry1);
    if (!pPartnerEntry0 || !pPartnerEntry1 || pPartnerEntry0 == pPartnerEntry1)
        return false;
    *pPartner0 = FirstChannelOf(pPartnerEntry0);
    *pPartner1 = FirstChannelOf(pPartnerEntry1);
    return true;
}

void SwapChannelInks(IHostHeadTable* pTable, ChannelRef a, ChannelRef b) {
    IHostChannel* pA = LookUpChannel(pTable, a);
    IHostChannel* pB = LookUpChannel(pTable, b);
    if (!pA || !pB || pA == pB)
        return;
    const uint16_t nInkA = pA->GetGroupId();
    const uint16_t nInkB = pB->GetGroupId();
    if (nInkA == nInkB)
        return;
    pA->SetGroupId(nInkB);
    pB->SetGroupId(nInkA);
}

namespace {

bool ExchangePlaces(IHostChannelGroupList* pList, ChannelRef a, ChannelRef b) {
    EntryPosition ea = FindEntry(pList, a);
    EntryPosition eb = FindEntry(pList, b);
    if (!ea.pEntry || !eb.pEntry)
        return false;
    ea.pEntry->SetHead(b.nHead);
    eb.pEntry->SetHead(a.nHead);
    ea.pEntry->SetChannel(ea.nPosition, static_cast<uint16_t>(b.nChannel));
    eb.pEntry->SetChannel(eb.nPosition, static_cast<uint16_t>(a.nChannel));
    return true;
}

} // namespace

bool UpdateTableSet(IHostChannelGroupList* pList, bool bKindsDiffer, ChannelRef a, ChannelRef b, ChannelRef c,
                    ChannelRef d) {
    if (!ExchangePlaces(pList, a, b))
        return false;
    if (!bKindsDiffer)
        return true;
    return ExchangePlaces(pList, c, d);
}

bool SwitchChannels(IHostInterface* pRoot, ChannelRef first, ChannelRef second) {
    if (!pRoot)
        return false;
    IHostHeadConfig* pConfig = pRoot->GetHeadConfig();
    if (!pConfig)
        return false;
    IHostChannelGroupTables* pGroupSettings = pRoot->GetGroupSettings();
    IHostHeadTable* pTable = pConfig->GetHeadTable();
    if (!pTable)
        return false;
    IHostChannelGroupList* pLiveGroups = pConfig->GetChannelGroups();

    bool bDiffer = EntriesDiffer(pLiveGroups, first, second);
    ChannelRef partner0, partner1;
    if (bDiffer) {
        if (!FindPartners(pConfig, pLiveGroups, first, second, &partner0, &partner1))
            return false;
        // Each chosen channel can be the other's partner (the partner search ignores property C); going
        // through the partners would then exchange the two inks twice and change nothing at all.
        if (IsSameChannel(partner0, second) && IsSameChannel(partner1, first))
            bDiffer = false;
    }
    if (bDiffer) {
        SwapChannelInks(pTable, first, partner0);
        SwapChannelInks(pTable, second, partner1);
    } else {
        SwapChannelInks(pTable, first, second);
    }

    if (pGroupSettings) {
        const uint32_t nConfigId = pTable->GetConfigId();
        const int32_t nSets = pGroupSettings->GetCount();
        for (int32_t i = 0; i < nSets; ++i) {
            IHostGroupTableSet* pSet = pGroupSettings->GetAt(i);
            if (!pSet || pSet->GetConfigId() != nConfigId)
                continue;
            const int32_t nLists = pSet->GetListCount();
            for (int32_t j = 0; j < nLists; ++j) {
                IHostChannelGroupList* pList = pSet->GetList(j);
                if (!pList)
                    continue;
                // A list without one of the entries keeps what it has; nothing to report.
                if (bDiffer)
                    UpdateTableSet(pList, true, first, partner0, second, partner1);
                else
                    UpdateTableSet(pList, false, first, second, {}, {});
            }
        }
    }
    return true;
}
