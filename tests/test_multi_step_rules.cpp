// The multi-step texts without a window: record fields, the state table's corners, the log line prefix.
#include <gtest/gtest.h>

#include <tuple>

#include "dialogs/print/MultiStepTextRules.h"

namespace {

const MultiStepWords kWords = {
    L"Initializing",           L"Initialize Finish",     L"Step", L"Next Step", L"Finish",
    L"Cancel Action is Doing", L"Finish Action is Doing"};

TEST(MultiStepTexts, AFieldWithoutTerminatorShows127CharactersAndNeverHalfASurrogatePair) {
    MultiStepRecord record = {};
    std::fill(std::begin(record.szTitle), std::end(record.szTitle), u'x');
    record.szOperationName[0] = u'y';
    EXPECT_EQ(std::wstring(127, L'x'), RecordText(record.szTitle));

    record.szTitle[125] = 0xD83D; // a whole pair inside the limit stays
    record.szTitle[126] = 0xDE00;
    EXPECT_EQ(127u, RecordText(record.szTitle).size());
    record.szTitle[125] = u'x'; // the limit falls inside the pair: it goes as a whole
    record.szTitle[126] = 0xD83D;
    record.szTitle[127] = 0xDE00;
    EXPECT_EQ(std::wstring(126, L'x'), RecordText(record.szTitle));
    for (char16_t chHigh : {u'\xD800', u'\xDBFF'}) { // the first and the last high surrogate
        record.szTitle[126] = chHigh;
        EXPECT_EQ(std::wstring(126, L'x'), RecordText(record.szTitle));
    }
    record.szTitle[126] = 0xD7FF; // just below the surrogates
    EXPECT_EQ(127u, RecordText(record.szTitle).size());
    record.szTitle[126] = 0xDC00; // a low one is no pair's start
    EXPECT_EQ(127u, RecordText(record.szTitle).size());
}

TEST(MultiStepTexts, UndefinedStatesLogTheFinishTextAndAnEmptyOneLogsNothing) {
    MultiStepRecord record = {};
    for (int32_t nState : {0, 14, -1, INT32_MIN}) {
        MultiStepTexts texts = StateChangeTexts(record, kWords, nState, 11, 3);
        EXPECT_EQ(L"", texts.strLog) << nState;
        EXPECT_EQ(L"", texts.strStatus) << nState;
    }
    record.szFinishText[0] = u'%';
    record.szFinishText[1] = u's';
    EXPECT_EQ(L"%s", StateChangeTexts(record, kWords, 14, 11, 3).strLog);
}

TEST(MultiStepTexts, InitializingNamesTheOperationAndHintsAtTheFirstStep) {
    MultiStepRecord record = {};
    record.szOperationName[0] = u'O';
    record.szNextStepHints[0][0] = u'H';
    record.szNextStepHints[1][0] = u'2';
    MultiStepTexts texts = StateChangeTexts(record, kWords, kMultiStepInitializing, 0, 3);
    EXPECT_EQ(L"Initializing-O", texts.strLog);
    EXPECT_EQ(L"Next Step: H", texts.strStatus);
}

TEST(MultiStepTexts, WaitingAfterOneOfTheEightStepsNamesItAndHintsAtTheNext) {
    MultiStepRecord record = {};
    for (int i = 0; i < 8; ++i) {
        record.szStepNames[i][0] = static_cast<char16_t>(u'A' + i);
        record.szNextStepHints[i][0] = static_cast<char16_t>(u'a' + i);
    }
    // Last state, current step; log and status.
    const std::tuple<int32_t, int32_t, const wchar_t*, const wchar_t*> kRows[] = {
        {3, 3, L"A Finish\n\n", L"Next Step: a"},
        {9, 10, L"H Finish\n\n", L"Next Step: h"},
        {2, 3, L"", L""},
        {10, 3, L"", L""},
        {9, 11, L"", L""},
        {3, 2, L"", L""}};
    record.nLastStepIndex = 1;
    const std::tuple<int32_t, const wchar_t*, const wchar_t*> kStates[] = {
        {3, L"Step1: A", L"Next Step: a"},
        {4, L"Step2: B", L"Next Step: Finish"},
        {kMultiStepFinishing, L"Finish Action is Doing: ", L"Next Step: Finish"},
        {kMultiStepCancelling, L"Cancel Action is Doing: ", L"Next Step: Finish"}};
    for (auto [nState, pszLog, pszStatus] : kStates) {
        MultiStepTexts texts = StateChangeTexts(record, kWords, nState, 0, 0);
        EXPECT_EQ(pszLog, texts.strLog) << nState;
        EXPECT_EQ(pszStatus, texts.strStatus) << nState;
    }
    for (auto [nLast, nCurrent, pszLog, pszStatus] : kRows) {
        MultiStepTexts texts = StateChangeTexts(record, kWords, kMultiStepWaitingOperator, nLast, nCurrent);
        EXPECT_EQ(pszLog, texts.strLog) << nLast << " " << nCurrent;
        EXPECT_EQ(pszStatus, texts.strStatus) << nLast << " " << nCurrent;
    }
    for (auto [nIndex, pszName] :
         {std::pair<int64_t, const wchar_t*>{-1, L""}, {0, L"A"}, {7, L"H"}, {8, L""}}) {
        EXPECT_EQ(pszName, StepName(record, nIndex)) << nIndex;
        EXPECT_EQ(std::wstring(pszName).empty() ? L"" : std::wstring(1, pszName[0] + 32),
                  NextStepHint(record, nIndex));
    }
}

TEST(MultiStepTexts, LogPrefixPadsTheTimeAndShowsAnUnknownTimeAsZerosAndMinusOnes) {
    EXPECT_EQ(L"[2024-03-07 09:05:00][Device]: ", LogLinePrefix({2024, 3, 7, 9, 5, 0}, L"Device"));
    EXPECT_EQ(L"[0-00-00 -1:-1:-1][software]: ", LogLinePrefix(kUnknownLogTime, L"software"));
}

} // namespace
