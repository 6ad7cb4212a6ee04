#include "CutInkRowRules.h"

namespace {

IHostGroupTable* FindGroupTable(IHostPrinter* pPrinter) {
    return pPrinter ? pPrinter->GetGroupTable() : nullptr;
}

IHostIdList* FindGroupIdList(IHostPrinter* pPrinter) {
    IHostGroupLayout* pLayout = pPrinter ? pPrinter->GetGroupLayout() : nullptr;
    return pLayout ? pLayout->GetGroupIdList() : nullptr;
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
    for (int32_t i = 0; i < pIdList->GetCount(); ++i) {
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
    for (int32_t i = 0; i < pIdList->GetCount(); ++i) {
        IHostGroup* pGroup = pTable->FindGroup(static_cast<uint16_t>(pIdList->GetAt(i) & 0xFFFF));
        if (!pGroup)
            continue;
        for (int32_t m = 0; m < pGroup->GetMemberCount(); ++m) {
            IHostGroupMember* pMember = pGroup->GetMember(m);
            if (pMember && pMember->GetId() == nWanted)
                return pGroup;
        }
    }
    return nullptr;
}

std::vector<CutInkRowPlan> PlanCutInkRows(IHostPrinter* pPrinter, uint32_t nRowCount) {
    std::vector<CutInkRowPlan> rows;
    uint32_t nIndexEnd = nRowCount < kCutInkRowIndexLimit ? nRowCount : kCutInkRowIndexLimit;
    for (uint32_t i = 0; i < nIndexEnd; ++i) {
        const auto nRowIndex = static_cast<int32_t>(i);
        if (IHostGroup* pGroup = FindInkGroupForRow(pPrinter, nRowIndex))
            rows.push_back({nRowIndex, pGroup});
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
