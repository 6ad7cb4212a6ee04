// The multi-step texts over random record bytes and states: no text field is read past its end.
#include <cstring>

#include "FuzzHost.h"
#include "dialogs/print/MultiStepTextRules.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* pData, size_t nSize) {
    FuzzGraph graph(pData, nSize);
    // The record on the heap, sized exactly, so that the sanitizer sees any read past it.
    auto pRecord = std::make_unique<MultiStepRecord>();
    std::vector<uint8_t> bytes = graph.m_input.ConsumeBytes<uint8_t>(sizeof(MultiStepRecord));
    if (!bytes.empty())
        std::memcpy(pRecord.get(), bytes.data(), bytes.size());
    MultiStepWords words = {
        L"Initializing",           L"Initialize Finish",     L"Step", L"Next Step", L"Finish",
        L"Cancel Action is Doing", L"Finish Action is Doing"};
    for (int i = 0; i < 8; ++i) {
        int32_t nState = graph.m_input.ConsumeBool() ? graph.m_input.ConsumeIntegralInRange<int32_t>(-1, 14)
                                                     : graph.m_input.ConsumeIntegral<int32_t>();
        int32_t nLast = graph.m_input.ConsumeIntegral<int32_t>();
        int32_t nCurrent = graph.m_input.ConsumeIntegral<int32_t>();
        MultiStepTexts texts = StateChangeTexts(*pRecord, words, nState, nLast, nCurrent);
        if (texts.strLog.size() > 4096 || texts.strStatus.size() > 4096)
            __builtin_trap();
    }
    (void)StepName(*pRecord, graph.m_input.ConsumeIntegral<int64_t>());
    (void)NextStepHint(*pRecord, graph.m_input.ConsumeIntegral<int64_t>());
    LogTime time = {graph.m_input.ConsumeIntegral<int>(), graph.m_input.ConsumeIntegral<int>(),
                    graph.m_input.ConsumeIntegral<int>(), graph.m_input.ConsumeIntegral<int>(),
                    graph.m_input.ConsumeIntegral<int>(), graph.m_input.ConsumeIntegral<int>()};
    (void)LogLinePrefix(time, L"Device");
    return 0;
}
