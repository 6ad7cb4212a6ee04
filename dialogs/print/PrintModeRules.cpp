#include "PrintModeRules.h"

bool IsPrintModeOffered(IHostPrintModeList* pList, int32_t nIndex, int32_t nLayoutIndex) {
    IHostPrintMode* pMode = pList->GetAt(nIndex);
    return pMode && !pMode->IsHidden() && pMode->GetAvailability(nLayoutIndex) != kPrintModeUnavailable;
}

IHostPrintModeList* FindTaskModeList(IHostPrinter* pPrinter, IHostTask* pTask) {
    if (!pPrinter || !pTask)
        return nullptr;
    IHostPrintModeTable* pTable = pPrinter->GetPrintModeTable();
    return pTable ? pTable->GetModeList(pTask->GetModeListKey()) : nullptr;
}

int32_t CountSelectablePrintModes(IHostPrinter* pPrinter, IHostTask* pTask) {
    IHostPrintModeList* pList = FindTaskModeList(pPrinter, pTask);
    if (!pList)
        return 0;
    int32_t nLayoutIndex = CurrentLayoutIndex(pPrinter);
    int32_t nCount = 0;
    for (int32_t i = 0; i < PrintModeWalkLength(pList->GetCount()); ++i) {
        if (IsPrintModeOffered(pList, i, nLayoutIndex))
            ++nCount;
    }
    return nCount;
}

int32_t CurrentLayoutIndex(IHostPrinter* pPrinter) {
    IHostGroupLayout* pLayout = pPrinter ? pPrinter->GetGroupLayout() : nullptr;
    return pLayout ? pLayout->GetLayoutIndex() : 0;
}

int32_t PrintModeWalkLength(int32_t nCount) {
    return nCount < kMaxPrintModeWalk ? nCount : kMaxPrintModeWalk;
}
