// The print confirmation's units and limits: conversion, what may be kept, what is stored, the Z texts.
#include <cmath>

#include "FuzzHost.h"
#include "dialogs/print/PrintConfirmRules.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* pData, size_t nSize) {
    FuzzGraph graph(pData, nSize);
    int nUnit = graph.m_input.ConsumeIntegral<int>();
    double dValue = graph.m_input.ConsumeFloatingPoint<double>();
    const LengthLimits kLimits[] = {kMaterialHeightLimits, kPrintHeightLimits, kPositionLimits};
    const LengthLimits& limits = kLimits[graph.m_input.ConsumeIntegralInRange<int>(0, 2)];
    double dShown = ConvertToUnit(dValue, nUnit);
    if (IsShownLengthAllowed(dShown, nUnit, limits)) {
        // What may be kept is stored within the limits, and as a number.
        double dStore = ShownLengthToStore(dShown, nUnit, limits);
        if (!(dStore >= limits.dMin && dStore <= limits.dMax))
            __builtin_trap();
        FuzzParameter parameter(graph);
        if (StoreLength(&parameter, dStore) && parameter.m_dStored != dStore)
            __builtin_trap();
    }
    std::wstring strKey = std::wstring(graph.m_input.ConsumeIntegralInRange<size_t>(0, 3000), L'%');
    (void)FormatLength(dValue);
    (void)FormatZLineAtStart(strKey, dValue);
    (void)FormatZLine(strKey, dValue);
    (void)IsZChangeShown(dValue, graph.m_input.ConsumeFloatingPoint<double>());
    return 0;
}
