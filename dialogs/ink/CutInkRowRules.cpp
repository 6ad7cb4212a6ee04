#include "CutInkRowRules.h"

namespace {

IHostGroupTable* FindGroupTable(IHostPrinter* pPrinter) {
    return pPrinter ? pPrinter->GetGroupTable() : nullptr;
}

IHostIdList* FindGroupIdList(IHostPrinter* pPrinter) {
    IHostGroupLayout* pLayout = pPrinter ? pPrinter->GetGroupLayout() : nullptr;
    return pLayout ? pLayout->GetGroupIdList() : nullptr;
}

// A host count, no further than a walk can go.
int32_t WalkLength(int32_t nCount) {
    return nCount < kCutInkWalkLimit ? nCount : kCutInkWalkLimit;
}

} // namespace

uint32_t CutInkRowCount(IHostPrinter* pPrinter, uint32_t nRequestedRowCount) {
    if (nRequestedRowCount != kCutInkDerivedRowCount)
        return nRequestedRowCount;
    uint32_t nCount = kCutInkMinDerivedRowCount;
    IHostGroupTable* pTable = FindGroupTable(pPrinter);
    IHostIdList* pIdList = FindGroupIdList(pPrinter);
    if (!pTable || !pIdList)
        return nCount;
    for (int32_t i = 0; i < WalkLength(pIdList->GetCount()); ++i) {
        IHostGroup* pGroup = pTable->FindGroup(static_cast<uint16_t>(pIdList->GetAt(i) & 0xFFFF));
        if (!pGroup)
            continue;
        int32_t nMembers = pGroup->GetMemberCount();
        if (nMembers >= 0 && static_cast<uint32_t>(nMembers) >= nCount)
            nCount = static_cast<uint32_t>(nMembers);
    }
    return nCount;
}

IHostGroup* FindInkGroupForRow(IHostPrinter* pPrinter, int32_t nRowIndex) {
    IHostGroupTable* pTable = FindGroupTable(pPrinter);
    IHostIdList* pIdList = FindGroupIdList(pPrinter);
    if (!pTable || !pIdList)
        return nullptr;
    const auto nWanted = static_cast<uint16_t>(nRowIndex & 0xFFFF);
    for (int32_t i = 0; i < WalkLength(pIdList->GetCount()); ++i) {
        IHostGroup* pGroup = pTable->FindGroup(static_cast<uint16_t>(pIdList->GetAt(i) & 0xFFFF));
        if (!pGroup)
            continue;
        for (int32_t m = 0; m < WalkLength(pGroup->GetMemberCount()); ++m) {
            IHostGroupMember* pMember = pGroup->GetMember(m);
            if (pMember && pMember->GetId() == nWanted)
                return pGroup;
        }
    }
    return nullptr;
}

std::vector<CutInkRowPlan> PlanCutInkRows(IHostPrinter* pPrinter, uint32_t nRowCount) {
    // One walk over the listed groups and their members gives every index its first claimant in list order,
    // as looking each index up on its own would, without walking the groups again for every index.
    std::vector<CutInkRowPlan> rows;
    uint32_t nIndexEnd = nRowCount < kCutInkRowIndexLimit ? nRowCount : kCutInkRowIndexLimit;
    IHostGroupTable* pTable = FindGroupTable(pPrinter);
    IHostIdList* pIdList = FindGroupIdList(pPrinter);
    if (nIndexEnd == 0 || !pTable || !pIdList)
        return rows;
    std::vector<IHostGroup*> claimedBy(nIndexEnd, nullptr);
    std::vector<bool> groupSeen(kCutInkWalkLimit, false);
    uint32_t nUnclaimed = nIndexEnd;
    for (int32_t i = 0; i < WalkLength(pIdList->GetCount()) && nUnclaimed > 0; ++i) {
        const auto nGroupId = static_cast<uint16_t>(pIdList->GetAt(i) & 0xFFFF);
        // A group listed again claims nothing its first listing did not.
        if (groupSeen[nGroupId])
            continue;
        groupSeen[nGroupId] = true;
        IHostGroup* pGroup = pTable->FindGroup(nGroupId);
        if (!pGroup)
            continue;
        for (int32_t m = 0; m < WalkLength(pGroup->GetMemberCount()) && nUnclaimed > 0; ++m) {
            IHostGroupMember* pMember = pGroup->GetMember(m);
            if (!pMember)
                continue;
            uint16_t nId = pMember->GetId();
            if (nId < nIndexEnd && !claimedBy[nId]) {
                claimedBy[nId] = pGroup;
                --nUnclaimed;
            }
        }
    }
    for (uint32_t i = 0; i < nIndexEnd; ++i) {
        if (claimedBy[i])
            rows.push_back({static_cast<int32_t>(i), claimedBy[i]});
    }
    return rows;
}

bool HasCutInkValue(int32_t nRowIndex) {
    return nRowIndex >= 0 && static_cast<size_t>(nRowIndex) < kCutInkValueCount;
}

int32_t InitialCutInkValue(const CutInkValues& values, int32_t nRowIndex) {
    return HasCutInkValue(nRowIndex) ? values.nValues[nRowIndex] : kCutInkMinValue;
}

int32_t ReadApplyToAllOffered(IHostPrinter* pPrinter) {
    int32_t nValue = 0;
    IHostParameter* pParameter = pPrinter ? pPrinter->GetParameter(kParamApplyToAllTask) : nullptr;
    if (pParameter)
        pParameter->GetIntValue(&nValue);
    return nValue;
}
