// The cut-ink rows over a random ink group graph: how many rows, which group claims each, their values.
#include "FuzzHost.h"
#include "dialogs/ink/CutInkRowRules.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* pData, size_t nSize) {
    FuzzGraph graph(pData, nSize);
    FuzzPrinter* pPrinter = graph.MaybeMake<FuzzPrinter>();
    uint32_t nRequested =
        graph.m_input.ConsumeBool() ? kCutInkDerivedRowCount : graph.m_input.ConsumeIntegral<uint32_t>();
    uint32_t nRows = CutInkRowCount(pPrinter, nRequested);
    if (nRequested != kCutInkDerivedRowCount && nRows != nRequested)
        __builtin_trap();
    CutInkValues values = {};
    for (int32_t& nValue : values.nValues)
        nValue = graph.m_input.ConsumeIntegral<int32_t>();
    int32_t nLastIndex = -1;
    for (const CutInkRowPlan& plan : PlanCutInkRows(pPrinter, nRows)) {
        // Rows come in index order, each index once, each with its group.
        if (plan.nRowIndex <= nLastIndex || !plan.pGroup || static_cast<uint32_t>(plan.nRowIndex) >= nRows)
            __builtin_trap();
        nLastIndex = plan.nRowIndex;
        (void)InitialCutInkValue(values, plan.nRowIndex);
    }
    (void)ReadApplyToAllOffered(pPrinter);
    return 0;
}
