#include "EclosionRules.h"

#include <algorithm>

namespace {

void MakeDefault(IHostEclosionTemplate* pTemplate) {
    if (pTemplate && !pTemplate->IsDefault())
        pTemplate->SetDefault(1);
}

void AppendDefaultTemplate(IHostEclosionTemplateList* pList) {
    IHostEclosionTemplate* pTemplate = pList->AddTemplate();
    if (!pTemplate)
        return;
    pTemplate->SetDefault(1);
    pTemplate->SetCurrentMode(0);
    for (int nMode = 0; nMode < 2; ++nMode) {
        IHostEclosionMode* pMode = pTemplate->AddMode();
        if (!pMode)
            continue;
        for (int nElement = 0; nElement < 2; ++nElement) {
            IHostEclosionElement* pElement = pMode->AddElement();
            if (!pElement)
                continue;
            pElement->SetWidth(1);
            pElement->SetHeight(1);
        }
    }
}

} // namespace

IHostEclosionTemplate* EclosionTemplateAt(IHostEclosionTemplateList* pList, int32_t nIndex) {
    if (!pList || nIndex < 0 || nIndex >= pList->GetCount())
        return nullptr;
    return pList->GetTemplate(nIndex);
}

IHostEclosionMode* EclosionModeAt(IHostEclosionTemplate* pTemplate, int32_t nIndex) {
    if (!pTemplate || nIndex < 0 || nIndex >= pTemplate->GetModeCount())
        return nullptr;
    return pTemplate->GetMode(nIndex);
}

void EnsureDefaultTemplates(IHostEclosionTemplateList* pList) {
    if (!pList)
        return;
    // A negative count from the host means an empty list, not more templates to append.
    int32_t nCount = std::max<int32_t>(pList->GetCount(), 0);
    if (nCount >= kEclosionDefaultTemplates) {
        for (int32_t i = 0; i < kEclosionDefaultTemplates; ++i)
            MakeDefault(pList->GetTemplate(i));
        return;
    }
    for (int32_t i = 0; i < nCount; ++i)
        MakeDefault(pList->GetTemplate(i));
    for (int32_t i = nCount; i < kEclosionDefaultTemplates; ++i)
        AppendDefaultTemplate(pList);
}

std::wstring EclosionDisplayName(int32_t nPosition, bool bDefault, const EclosionNameTexts& texts) {
    return texts.strTemplate + std::to_wstring(static_cast<int64_t>(nPosition) + 1) + L"--" +
           (bDefault ? texts.strDefault : texts.strCustom);
}

CreatedEclosionTemplate CreateEclosionTemplate(IHostEclosionTemplateList* pList,
                                               const EclosionNameTexts& texts, EclosionNameToAnsi pfnToAnsi) {
    CreatedEclosionTemplate created;
    if (!pList)
        return created;
    created.pTemplate = pList->AddTemplate();
    if (!created.pTemplate)
        return created;
    int32_t nCount = pList->GetCount();
    bool bDefault = nCount <= kEclosionDefaultTemplates;
    created.pTemplate->SetDefault(bDefault ? 1 : 0);
    // The new template is the last one; a count below 1 after an append is the host's fault, and the new
    // template is then taken as the first rather than computing a position below the smallest integer.
    created.nPosition = nCount > 0 ? nCount - 1 : 0;
    created.strName = EclosionDisplayName(created.nPosition, bDefault, texts);
    created.pTemplate->SetName(pfnToAnsi(created.strName).c_str());
    return created;
}

int32_t ClampEclosionRange(int32_t nRange) {
    return nRange < kEclosionMinRange   ? kEclosionMinRange
           : nRange > kEclosionMaxRange ? kEclosionMaxRange
                                        : nRange;
}

bool IsEclosionTemplateEditable(IHostEclosionTemplate* pTemplate, uint32_t nEditDefaults) {
    return pTemplate && (!pTemplate->IsDefault() || nEditDefaults != 0);
}

EclosionControlStates GetEclosionControlStates(IHostEclosionTemplate* pTemplate, int32_t nModeIndex,
                                               uint32_t nEditDefaults) {
    EclosionControlStates states;
    if (!pTemplate)
        return states;
    bool bEditable = IsEclosionTemplateEditable(pTemplate, nEditDefaults);
    int32_t nModeCount = pTemplate->GetModeCount();
    IHostEclosionMode* pMode = EclosionModeAt(pTemplate, nModeIndex);

    states.bDeleteTemplate = !pTemplate->IsDefault();
    states.bAddMode = nModeCount < kEclosionMaxModes && bEditable;
    if (pMode && bEditable) {
        int32_t nElementCount = pMode->GetElementCount();
        states.bDeleteMode = nModeCount >= 1;
        states.bModeChoices = true;
        states.bAddElement = nElementCount < kEclosionMaxElements;
        states.bDeleteElement = nElementCount >= 1;
        states.bSizeSliders = true;
    }
    return states;
}

int32_t VisibleEclosionModeChoices(IHostEclosionTemplate* pTemplate) {
    return pTemplate ? std::clamp<int32_t>(pTemplate->GetModeCount(), 0, kEclosionMaxModes) : 0;
}

int32_t VisibleEclosionElements(IHostEclosionMode* pMode) {
    return pMode ? std::clamp<int32_t>(pMode->GetElementCount(), 0, kEclosionMaxElements) : 0;
}

EclosionRect EclosionElementPreviewRect(const EclosionRect& frame, uint32_t nWidth, uint32_t nHeight) {
    int32_t nUnit =
        std::max(std::min(frame.bottom - frame.top, frame.right - frame.left) / kEclosionPreviewDivisions, 0);
    // A size the host reports beyond the grid is drawn as the whole grid, so the block never leaves its
    // frame.
    int32_t nW = static_cast<int32_t>(std::min<uint32_t>(nWidth, kEclosionPreviewDivisions)) * nUnit;
    int32_t nH = static_cast<int32_t>(std::min<uint32_t>(nHeight, kEclosionPreviewDivisions)) * nUnit;
    EclosionRect rc;
    rc.left = (frame.left + frame.right) / 2 - nW / 2;
    rc.top = (frame.top + frame.bottom) / 2 - nH / 2;
    rc.right = rc.left + nW;
    rc.bottom = rc.top + nH;
    return rc;
}
