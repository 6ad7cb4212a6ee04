// What the multi-step dialog logs and shows for each state of the host's operation, and how it reads the
// texts of the host's record. No window involved.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

#include "PivoraHost.h"
#include "PivoraRecords.h"

// A record text without a terminator in its field shows this many characters at most.
constexpr size_t kMultiStepMaxTextLength = kMultiStepTextChars - 1;

// The text of one record field: up to its terminator, never past the field.
std::wstring RecordText(const char16_t (&szField)[kMultiStepTextChars]);

// The step name and the next-step hint of a step index; empty for an index the record has no room for.
std::wstring StepName(const MultiStepRecord& record, int64_t nStepIndex);
std::wstring NextStepHint(const MultiStepRecord& record, int64_t nStepIndex);

// The fixed words of the log and the status line, already in the operator's language.
struct MultiStepWords {
    std::wstring strInitializing;
    std::wstring strInitializeFinish;
    std::wstring strStep;
    std::wstring strNextStep;
    std::wstring strFinish;
    std::wstring strCancelActionIsDoing;
    std::wstring strFinishActionIsDoing;
};

// An empty text means none: no log line, and the status line keeps what it shows.
struct MultiStepTexts {
    std::wstring strLog;
    std::wstring strStatus;
};

// The texts of a change to nNewState. nLastState is the state polled before; nCurrentStep is the state
// number of the step whose end is announced next (3 for the first step, plus one per Next Step signal).
MultiStepTexts StateChangeTexts(const MultiStepRecord& record, const MultiStepWords& words, int32_t nNewState,
                                int32_t nLastState, int32_t nCurrentStep);

// Local date and time of a log line.
struct LogTime {
    int nYear;
    int nMonth; // 1 to 12
    int nDay;
    int nHour;
    int nMinute;
    int nSecond;
};

// What a log line shows when the local time cannot be determined.
constexpr LogTime kUnknownLogTime = {0, 0, 0, -1, -1, -1};

// "[year-mm-dd hh:mm:ss][source]: ", ending with a blank.
std::wstring LogLinePrefix(const LogTime& time, const std::wstring& strSource);
