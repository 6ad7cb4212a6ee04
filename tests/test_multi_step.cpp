// The multi-step operation window through ShowMultiStepPopup. The host's state is set on the simulated
// machine and polled by sending the dialog its timer message. (Its log's look is in the golden pictures.)
#include <algorithm>
#include <regex>

#include "Plugin.h"
#include "dialogs/print/PollTimers.h"
#include "res/resource.h"

namespace {

using Lines = std::vector<std::wstring>;
using Strings = std::vector<std::string>;

// The start callback is a plain host function: it reports through these.
SimMachine* g_pMachine = nullptr;
int g_nStartCalls = 0;
void OnStart() {
    ++g_nStartCalls;
    EXPECT_TRUE(g_pMachine->m_log.Filter({"Root.GetMultiStepState"}).empty()); // before the first poll
    EXPECT_EQ(nullptr, FindActiveDialog());                                    // and before it shows
}

void SetText(char16_t (&szField)[kMultiStepTextChars], const std::u16string& str) {
    std::fill(std::begin(szField), std::end(szField), u'\0');
    str.copy(szField, std::min(str.size(), kMultiStepTextChars));
}

// The log lines with the date and time cut off; a line without a well-formed time stamp shows as such.
Lines LogLines(HWND hDlg) {
    static const std::wregex kStamped(LR"(\[\d{4}-\d\d-\d\d \d\d:\d\d:\d\d\]([\s\S]*))");
    Lines lines;
    std::wsmatch match;
    for (const std::wstring& strItem : ListBoxItems(hDlg, IDC_MULTI_STEP_LOG))
        lines.push_back(std::regex_match(strItem, match, kStamped) ? match[1].str()
                                                                   : L"no time stamp: " + strItem);
    return lines;
}

// Next Step, Cancel, Finish as one letter each: capital enabled, small disabled, '-' hidden.
std::string ButtonsOf(HWND hDlg) {
    std::string str;
    for (auto [nId, ch] :
         {std::pair{IDC_MULTI_STEP_NEXT, 'n'}, {IDC_MULTI_STEP_CANCEL, 'c'}, {IDC_MULTI_STEP_FINISH, 'f'}})
        str += !IsShown(hDlg, nId) ? '-' : IsEnabled(hDlg, nId) ? static_cast<char>(ch - 'a' + 'A') : ch;
    return str;
}

// Stand for the operator's press of Next Step and Finish in a script of host states.
constexpr int32_t kNext = 1000, kFinish = 1001;

class MultiStepTest : public ::testing::Test {
protected:
    void SetUp() override {
        g_pMachine = session.m_pMachine.get();
        record.nLastStepIndex = 1;
        SetText(record.szOperationName, u"op");
        for (const auto& [i, name] : {std::pair{0, u"first"}, {1, u"second"}}) {
            SetText(record.szStepNames[i], name);
            SetText(record.szNextStepHints[i], u"hint " + std::u16string(name));
        }
        SetText(record.szFinishText, u"done");
    }
    void Poll(HWND hDlg, std::initializer_list<int32_t> script) {
        for (int32_t nState : script) {
            if (nState == kNext || nState == kFinish) {
                Click(hDlg, nState == kNext ? IDC_MULTI_STEP_NEXT : IDC_MULTI_STEP_FINISH);
                continue;
            }
            session.m_pMachine->m_multiStep.m_nState = nState;
            SendTimer(hDlg, kMultiStepPollTimer);
        }
    }
    int32_t Show(std::vector<Operator::Step> steps) {
        return Drive(std::move(steps), [&] { return session->ShowMultiStepPopup(&record); });
    }
    Strings Signals() { return session.m_pMachine->m_log.Filter({"Root.Send"}); }

    PluginSession session;
    MultiStepRecord record{};
};

TEST_F(MultiStepTest, ARunLogsEachStepSignalsTheHostAndClosesWhenTheHostIsDoneAfterFinish) {
    Operator op; // the first state comes in through the timer the dialog armed itself
    op.Then([&](HWND) { session.m_pMachine->m_multiStep.m_nState = 1; });
    op.WaitUntil([](HWND hDlg) { return LogLines(hDlg) == Lines{L"[Device]: Initializing-op"}; });
    op.Then([&](HWND hDlg) {
        Poll(hDlg, {2, 3, 11, kNext, 4, 11, kFinish, 13});
        EXPECT_EQ(
            (Lines{L"[Device]: Initializing-op", L"[Device]: Initialize Finish op", L"[Device]: Step1: first",
                   L"[Device]: first Finish\n\n", L"[software]: Send Next Step Signal",
                   L"[Device]: Step2: second", L"[Device]: second Finish\n\n",
                   L"[software]: Send Finish Signal", L"[Device]: Finish Action is Doing: done"}),
            LogLines(hDlg));
        session.m_pMachine->m_multiStep.m_nState = 0; // the host is done: the next poll closes the dialog
    });
    op.Start();
    EXPECT_EQ(1, session->ShowMultiStepPopup(&record));
    EXPECT_TRUE(op.AllStepsDone() && !op.m_bTimedOut);
    EXPECT_EQ((Strings{"Root.SendNextStepSignal", "Root.SendFinishSignal"}), Signals());
}

TEST_F(MultiStepTest, OpensWithTheTitleStartsTheHostOnceAndAsksBeforeCancellingUntilTheRunIsOver) {
    std::fill(std::begin(record.szTitle), std::end(record.szTitle), u'T'); // no terminator
    record.nStartCallback = reinterpret_cast<uintptr_t>(&OnStart);
    auto answer = [](int nId) {
        return [nId](HWND hBox) {
            EXPECT_EQ(L"Tips", CaptionOf(hBox));
            EXPECT_EQ(L"Multi-step operation is being executed, confirm to cancel the action and exit?",
                      MessageBoxText(hBox));
            Click(hBox, nId);
        };
    };
    EXPECT_EQ(1, Show({[&](HWND hDlg) {
                           EXPECT_EQ(std::wstring(127, L'T'), CaptionOf(hDlg));
                           PressKey(hDlg, VK_ESCAPE); // not started: the cancel command still asks
                       },
                       answer(IDNO),
                       [&](HWND hDlg) {
                           Poll(hDlg, {3});
                           EXPECT_TRUE(Signals().empty());
                           CloseBox(hDlg);
                       },
                       answer(IDYES)}));
    EXPECT_EQ(1, g_nStartCalls);
    record.nStartCallback = 0;
    // Once the run is over, Escape leaves without a question (which no step would answer).
    EXPECT_EQ(1, Show({[&](HWND hDlg) {
                  Poll(hDlg, {1, 0});
                  PressKey(hDlg, VK_ESCAPE);
              }}));
    EXPECT_EQ((Strings{"Root.SendCancelSignal"}), Signals());
}

TEST_F(MultiStepTest, ButtonsWorkOnlyWhileTheHostWaitsAndWithoutRecordOrHostNothingIsAsked) {
    Strings buttons;
    EXPECT_EQ(1, Show({[&](HWND hDlg) {
                  buttons.push_back(ButtonsOf(hDlg));
                  for (int32_t nState : {0, 3, 11, 12, 11, 14, -1, 13, 0}) {
                      Poll(hDlg, {nState});
                      buttons.push_back(ButtonsOf(hDlg));
                      if (nState == 3) // presses queued just before a step began running do nothing
                          for (int nId : {IDC_MULTI_STEP_NEXT, IDC_MULTI_STEP_CANCEL, IDC_MULTI_STEP_FINISH})
                              ::SendMessageW(hDlg, WM_COMMAND, MAKEWPARAM(nId, BN_CLICKED), 0);
                      if (nState == 11 && buttons.size() == 4)
                          Click(hDlg, IDC_MULTI_STEP_CANCEL); // the dialog stays: the host shows the cancel
                  }
                  Click(hDlg, IDC_MULTI_STEP_FINISH); // after the run, Finish closes without a signal
              }}));
    EXPECT_EQ((Strings{"nCf", "nCf", "ncf", "NCF", "--f", "--F", "--f", "--f", "--f", "--F"}), buttons);
    EXPECT_EQ((Strings{"Root.SendCancelSignal"}), Signals());
    EXPECT_EQ(0, session->ShowMultiStepPopup(nullptr));
    EXPECT_EQ(1, Show({[&](HWND hDlg) {
                           session->SetHostInterface(nullptr);
                           session.m_pMachine->m_log.Clear();
                           Poll(hDlg, {3});
                           Click(hDlg, IDC_MULTI_STEP_NEXT);
                           PressKey(hDlg, VK_ESCAPE);
                       },
                       [](HWND hBox) { Click(hBox, IDYES); }}));
    EXPECT_TRUE(session.m_pMachine->m_log.m_calls.empty());
}

} // namespace
