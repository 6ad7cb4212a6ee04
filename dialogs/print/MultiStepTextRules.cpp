#include "MultiStepTextRules.h"

namespace {

// As "%02d" prints: at least two digits, a minus sign counting as one.
std::wstring TwoDigits(int nValue) {
    std::wstring str = std::to_wstring(nValue);
    return str.size() < 2 ? L"0" + str : str;
}

bool IsStepRunning(int32_t nState) {
    return nState >= kMultiStepFirstStep && nState <= kMultiStepLastStep;
}

} // namespace

std::wstring RecordText(const char16_t (&szField)[kMultiStepTextChars]) {
    size_t nLength = 0;
    while (nLength < kMultiStepMaxTextLength && szField[nLength] != u'\0')
        ++nLength;
    // A cut text must not end in half a surrogate pair.
    if (nLength == kMultiStepMaxTextLength && szField[nLength] != u'\0' && szField[nLength - 1] >= 0xD800 &&
        szField[nLength - 1] <= 0xDBFF)
        --nLength;
    std::wstring strText;
    strText.reserve(nLength);
    for (size_t i = 0; i < nLength; ++i)
        strText.push_back(static_cast<wchar_t>(szField[i]));
    return strText;
}

std::wstring StepName(const MultiStepRecord& record, int64_t nStepIndex) {
    if (nStepIndex < 0 || nStepIndex >= static_cast<int64_t>(kMultiStepMaxSteps))
        return {};
    return RecordText(record.szStepNames[nStepIndex]);
}

std::wstring NextStepHint(const MultiStepRecord& record, int64_t nStepIndex) {
    if (nStepIndex < 0 || nStepIndex >= static_cast<int64_t>(kMultiStepMaxSteps))
        return {};
    return RecordText(record.szNextStepHints[nStepIndex]);
}

MultiStepTexts StateChangeTexts(const MultiStepRecord& record, const MultiStepWords& words, int32_t nNewState,
                                int32_t nLastState, int32_t nCurrentStep) {
    MultiStepTexts texts;
    const std::wstring strNextFinish = words.strNextStep + L": " + words.strFinish;
    if (nNewState == kMultiStepInitializing) {
        texts.strLog = words.strInitializing + L"-" + RecordText(record.szOperationName);
        texts.strStatus = words.strNextStep + L": " + NextStepHint(record, 0);
    } else if (nNewState == kMultiStepInitialized) {
        texts.strLog = words.strInitializeFinish + L" " + RecordText(record.szOperationName);
    } else if (IsStepRunning(nNewState)) {
        int32_t nStepIndex = nNewState - kMultiStepFirstStep;
        texts.strLog = words.strStep + std::to_wstring(nNewState - 2) + L": " + StepName(record, nStepIndex);
        if (nStepIndex == record.nLastStepIndex)
            texts.strStatus = strNextFinish;
        else
            texts.strStatus = words.strNextStep + L": " + NextStepHint(record, nStepIndex);
    } else if (nNewState == kMultiStepWaitingOperator) {
        // After the eighth step, or once the Next Step signals have counted past the record's room, there
        // is no step to name: the change is not announced, as after the eighth step.
        int64_t nStepIndex = static_cast<int64_t>(nCurrentStep) - kMultiStepFirstStep;
        bool bAfterStep = nLastState >= kMultiStepFirstStep && nLastState < kMultiStepLastStep;
        if (bAfterStep && nStepIndex >= 0 && nStepIndex < static_cast<int64_t>(kMultiStepMaxSteps)) {
            texts.strLog = StepName(record, nStepIndex) + L" " + words.strFinish + L"\n\n";
            texts.strStatus = words.strNextStep + L": " + NextStepHint(record, nStepIndex);
        }
    } else if (nNewState == kMultiStepCancelling) {
        texts.strLog = words.strCancelActionIsDoing + L": " + RecordText(record.szCancelText);
        texts.strStatus = strNextFinish;
    } else if (nNewState == kMultiStepFinishing) {
        texts.strLog = words.strFinishActionIsDoing + L": " + RecordText(record.szFinishText);
        texts.strStatus = strNextFinish;
    } else {
        texts.strLog = RecordText(record.szFinishText);
    }
    return texts;
}

std::wstring LogLinePrefix(const LogTime& time, const std::wstring& strSource) {
    return L"[" + std::to_wstring(time.nYear) + L"-" + TwoDigits(time.nMonth) + L"-" + TwoDigits(time.nDay) +
           L" " + TwoDigits(time.nHour) + L":" + TwoDigits(time.nMinute) + L":" + TwoDigits(time.nSecond) +
           L"][" + strSource + L"]: ";
}
