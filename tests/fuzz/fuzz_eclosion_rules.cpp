// The eclosion rules over a random template list: defaults at its head, new templates, control states,
// visible choices and the preview block.
#include "FuzzHost.h"
#include "dialogs/ink/EclosionRules.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* pData, size_t nSize) {
    FuzzGraph graph(pData, nSize);
    FuzzEclosionTemplateList* pList = graph.MaybeMake<FuzzEclosionTemplateList>();
    EnsureDefaultTemplates(pList);
    EclosionNameTexts texts = {L"Template", L"Default", L"Custom"};
    (void)CreateEclosionTemplate(pList, texts,
                                 [](const std::wstring& s) { return std::string(s.begin(), s.end()); });
    int32_t nIndex = graph.m_input.ConsumeIntegral<int32_t>();
    (void)EclosionDisplayName(nIndex, graph.m_input.ConsumeBool(), texts);
    IHostEclosionTemplate* pTemplate = EclosionTemplateAt(pList, nIndex);
    int32_t nMode = graph.m_input.ConsumeIntegral<int32_t>();
    uint32_t nEditDefaults = graph.m_input.ConsumeIntegral<uint32_t>();
    (void)GetEclosionControlStates(pTemplate, nMode, nEditDefaults);
    int32_t nChoices = VisibleEclosionModeChoices(pTemplate);
    int32_t nElements = VisibleEclosionElements(EclosionModeAt(pTemplate, nMode));
    if (nChoices < 0 || nChoices > kEclosionMaxModes || nElements < 0 || nElements > kEclosionMaxElements)
        __builtin_trap();
    EclosionRect frame;
    frame.left = graph.m_input.ConsumeIntegralInRange<int32_t>(-100000, 100000);
    frame.top = graph.m_input.ConsumeIntegralInRange<int32_t>(-100000, 100000);
    frame.right = frame.left + graph.m_input.ConsumeIntegralInRange<int32_t>(0, 100000);
    frame.bottom = frame.top + graph.m_input.ConsumeIntegralInRange<int32_t>(0, 100000);
    EclosionRect block = EclosionElementPreviewRect(frame, graph.m_input.ConsumeIntegral<uint32_t>(),
                                                    graph.m_input.ConsumeIntegral<uint32_t>());
    // The block never leaves its frame.
    if (block.left < frame.left || block.top < frame.top || block.right > frame.right ||
        block.bottom > frame.bottom)
        __builtin_trap();
    return 0;
}
