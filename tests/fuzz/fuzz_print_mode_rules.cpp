// The counting of offered print modes over a random mode table, list and layout.
#include "FuzzHost.h"
#include "dialogs/print/PrintModeRules.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* pData, size_t nSize) {
    FuzzGraph graph(pData, nSize);
    FuzzPrinter* pPrinter = graph.MaybeMake<FuzzPrinter>();
    FuzzTask* pTask = graph.MaybeMake<FuzzTask>();
    if (CountSelectablePrintModes(pPrinter, pTask) < 0)
        __builtin_trap();
    return 0;
}
