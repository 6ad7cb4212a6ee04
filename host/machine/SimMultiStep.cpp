#include "SimMultiStep.h"

#include <algorithm>
#include <string>

namespace {

struct CleaningTexts {
    const char16_t* pszTitle;
    const char16_t* pszOperationName;
    const char16_t* pszStepNames[SimMultiStep::kStepCount];
    const char16_t* pszNextStepHints[SimMultiStep::kStepCount];
    const char16_t* pszFinishText;
    const char16_t* pszCancelText;
};

const CleaningTexts kEnglish = {
    u"Head cleaning",
    u"Head cleaning",
    {u"Ink purge", u"Nozzle plate wipe", u"Flash spitting"},
    {u"Check the purged ink, then wipe the nozzle plate", u"Check the nozzle plate, then flash spitting",
     u"Check the nozzle print, then finish"},
    u"Head cleaning complete",
    u"Stopping the cleaning",
};

const CleaningTexts kChinese = {
    u"喷头清洗",
    u"喷头清洗",
    {u"压墨", u"擦拭喷头板", u"闪喷"},
    {u"检查压出的墨水，然后擦拭喷头板", u"检查喷头板，然后闪喷", u"检查喷头测试图，然后完成"},
    u"喷头清洗完成",
    u"正在停止清洗",
};

// How many timer periods each state lasts; the waiting state lasts until a signal.
int TicksOf(int32_t nState) {
    switch (nState) {
    case kMultiStepInitializing:
        return 6;
    case kMultiStepInitialized:
        return 3;
    case kMultiStepCancelling:
    case kMultiStepFinishing:
        return 6;
    default:
        return 8; // a step
    }
}

void CopyText(char16_t (&szField)[kMultiStepTextChars], const char16_t* pszText) {
    std::u16string str(pszText);
    str.resize(std::min(str.size(), kMultiStepTextChars - 1));
    str.copy(szField, str.size());
    szField[str.size()] = u'\0';
}

} // namespace

void SimMultiStep::FillRecord(MultiStepRecord& record, bool bChinese) const {
    const CleaningTexts& texts = bChinese ? kChinese : kEnglish;
    record = {};
    record.nLastStepIndex = kStepCount - 1;
    CopyText(record.szTitle, texts.pszTitle);
    CopyText(record.szOperationName, texts.pszOperationName);
    for (int i = 0; i < kStepCount; ++i) {
        CopyText(record.szStepNames[i], texts.pszStepNames[i]);
        CopyText(record.szNextStepHints[i], texts.pszNextStepHints[i]);
    }
    CopyText(record.szFinishText, texts.pszFinishText);
    CopyText(record.szCancelText, texts.pszCancelText);
}

void SimMultiStep::Enter(int32_t nState) {
    m_nState = nState;
    m_nTicksInState = 0;
}

void SimMultiStep::Start() {
    m_nStepIndex = 0;
    Enter(kMultiStepInitializing);
}

void SimMultiStep::Tick() {
    if (m_nState == kMultiStepIdle || m_nState == kMultiStepWaitingOperator)
        return;
    if (++m_nTicksInState < TicksOf(m_nState))
        return;
    if (m_nState == kMultiStepInitializing)
        Enter(kMultiStepInitialized);
    else if (m_nState == kMultiStepInitialized)
        Enter(kMultiStepFirstStep + m_nStepIndex);
    else if (m_nState >= kMultiStepFirstStep && m_nState <= kMultiStepLastStep)
        Enter(kMultiStepWaitingOperator);
    else
        Enter(kMultiStepIdle);
}

int32_t SimMultiStep::OnNextStepSignal() {
    if (m_nState != kMultiStepWaitingOperator)
        return 0;
    // After the last step there is nothing more to run: the machine finishes.
    if (m_nStepIndex + 1 >= kStepCount) {
        Enter(kMultiStepFinishing);
        return 1;
    }
    ++m_nStepIndex;
    Enter(kMultiStepFirstStep + m_nStepIndex);
    return 1;
}

int32_t SimMultiStep::OnCancelSignal() {
    if (m_nState < kMultiStepInitializing || m_nState > kMultiStepWaitingOperator)
        return 0;
    Enter(kMultiStepCancelling);
    return 1;
}

int32_t SimMultiStep::OnFinishSignal() {
    if (m_nState != kMultiStepWaitingOperator)
        return 0;
    Enter(kMultiStepFinishing);
    return 1;
}
