// The multi-step operation window, driven through ShowMultiStepPopup. The host's state is set on the
// simulated machine and polled by sending the dialog its timer message.
#include <gtest/gtest.h>

#include <algorithm>
#include <regex>

#include "Plugin.h"
#include "ScriptedOperator.h"
#include "WindowCapture.h"
#include "platform/AfxHandles.h"
#include "dialogs/print/PollTimers.h"
#include "res/resource.h"

namespace {

using Lines = std::vector<std::wstring>;
using Strings = std::vector<std::string>;

// The start callback is a plain host function: it reports through these.
SimMachine* g_pMachine = nullptr;
int g_nStartCalls = 0;
size_t g_nPollsBeforeStart = 0;
bool g_bShownAtStart = false;

void OnStart() {
    ++g_nStartCalls;
    g_nPollsBeforeStart = g_pMachine->m_log.Filter({"Root.GetMultiStepState"}).size();
    g_bShownAtStart = FindActiveDialog() != nullptr;
}

void SetText(char16_t (&szField)[kMultiStepTextChars], const std::u16string& str) {
    std::fill(std::begin(szField), std::end(szField), u'\0');
    str.copy(szField, std::min(str.size(), kMultiStepTextChars));
}

// The log lines with the date and time cut off; a line without a well-formed time stamp shows as such.
Lines LogLines(HWND hDlg) {
    static const std::wregex kTimeStamp(LR"(^\[\d{4}-\d\d-\d\d \d\d:\d\d:\d\d\])");
    Lines lines;
    for (const std::wstring& strItem : ListBoxItems(hDlg, IDC_MULTI_STEP_LOG)) {
        std::wsmatch match;
        lines.push_back(std::regex_search(strItem, match, kTimeStamp) ? strItem.substr(match.length(0))
                                                                      : L"no time stamp: " + strItem);
    }
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

// The log of a run up to the wait after its second step, and a log that continues it.
const Lines kTwoSteps = {
    L"[Device]: Initializing-op",  L"[Device]: Initialize Finish op",    L"[Device]: Step1: first",
    L"[Device]: first Finish\n\n", L"[software]: Send Next Step Signal", L"[Device]: Step2: second",
    L"[Device]: second Finish\n\n"};
Lines operator+(Lines lines, const Lines& more) {
    lines.insert(lines.end(), more.begin(), more.end());
    return lines;
}

// Stand for the operator's press of Next Step and Finish in a script of host states.
constexpr int32_t kNext = 1000, kFinish = 1001;

class MultiStepTest : public ::testing::Test {
protected:
    void SetUp() override {
        g_pMachine = session.m_pMachine.get();
        g_nStartCalls = 0;
        record.nLastStepIndex = 1;
        SetText(record.szOperationName, u"op");
        const char16_t* names[] = {u"first", u"second", u"third",   u"fourth",
                                   u"fifth", u"sixth",  u"seventh", u"eighth"};
        for (size_t i = 0; i < kMultiStepMaxSteps; ++i) {
            SetText(record.szStepNames[i], names[i]);
            SetText(record.szNextStepHints[i], u"hint " + std::u16string(names[i]));
        }
        SetText(record.szFinishText, u"done");
        SetText(record.szCancelText, u"stopped");
    }
    // The host is in each state in turn, and the dialog's next poll sees it; gives the status line after
    // each poll.
    Lines Poll(HWND hDlg, std::initializer_list<int32_t> script) {
        Lines status;
        for (int32_t nState : script) {
            if (nState == kNext || nState == kFinish) {
                Click(hDlg, nState == kNext ? IDC_MULTI_STEP_NEXT : IDC_MULTI_STEP_FINISH);
                continue;
            }
            session.m_pMachine->m_multiStep.m_nState = nState;
            SendTimer(hDlg, kMultiStepPollTimer);
            status.push_back(TextOf(hDlg, IDC_MULTI_STEP_STATUS));
        }
        return status;
    }
    // Opens the dialog for the steps given to Op(); each must run, and no box may stay unanswered.
    Operator& Op() { return *m_pOp; }
    int32_t Show() {
        m_pOp->Start();
        int32_t nResult = session->ShowMultiStepPopup(&record);
        EXPECT_TRUE(m_pOp->AllStepsDone());
        EXPECT_FALSE(m_pOp->m_bTimedOut);
        m_pOp = std::make_unique<Operator>();
        return nResult;
    }
    Strings Signals() { return session.m_pMachine->m_log.Filter({"Root.Send"}); }

    PluginSession session;
    MultiStepRecord record{};
    std::unique_ptr<Operator> m_pOp = std::make_unique<Operator>();
};

TEST_F(MultiStepTest, ExampleRunLogsItsTenLinesAndClosesWhenTheHostIsDoneAfterFinish) {
    Op().Then([&](HWND hDlg) {
        Poll(hDlg, {1, 2, 3, 11, kNext, 4, 11, kFinish, 13, 0});
        EXPECT_EQ((kTwoSteps + Lines{L"[software]: Send Finish Signal",
                                     L"[Device]: Finish Action is Doing: done", L"[Device]: done"}),
                  LogLines(hDlg));
    });
    EXPECT_EQ(1, Show());
    EXPECT_EQ((Strings{"Root.SendNextStepSignal", "Root.SendFinishSignal"}), Signals());
}

TEST_F(MultiStepTest, OpensWithTheTitleStartsTheHostOnceAndAsksBeforeCancellingUntilTheRunIsOver) {
    // A title that fills its field with no terminator, followed by the operation name.
    std::fill(std::begin(record.szTitle), std::end(record.szTitle), u'T');
    record.nStartCallback = reinterpret_cast<uintptr_t>(&OnStart);
    const std::wstring strTitle(127, L'T');
    Op().Then([&](HWND hDlg) {
        EXPECT_EQ((Lines{strTitle, strTitle, L"Step InFo"}),
                  (Lines{CaptionOf(hDlg), TextOf(hDlg, IDC_MULTI_STEP_STATUS),
                         TextOf(hDlg, IDC_MULTI_STEP_INFO_LABEL)}));
        PressKey(hDlg, VK_ESCAPE); // not started: the cancel command still asks
    });
    Op().Then([&](HWND hBox) {
        EXPECT_EQ(L"Multi-step operation is being executed, confirm to cancel the action and exit?",
                  MessageBoxText(hBox));
        EXPECT_EQ(L"Tips", CaptionOf(hBox));
        Click(hBox, IDNO);
    });
    Op().Then([&](HWND hDlg) {
        Poll(hDlg, {3});
        PressKey(hDlg, VK_ESCAPE);
    });
    Op().Then([&](HWND hBox) { Click(hBox, IDNO); });
    Op().Then([&](HWND hDlg) {
        EXPECT_TRUE(Signals().empty());
        CloseBox(hDlg);
    });
    Op().Then([&](HWND hBox) { Click(hBox, IDYES); });
    EXPECT_EQ(1, Show());
    EXPECT_EQ(1, g_nStartCalls);
    EXPECT_EQ(0u, g_nPollsBeforeStart);
    EXPECT_FALSE(g_bShownAtStart);

    Op().Then([&](HWND hDlg) {
        Poll(hDlg, {1, 0});
        PressKey(hDlg, VK_ESCAPE); // run over: no question, which no step would answer
    });
    EXPECT_EQ(1, Show());
    EXPECT_EQ((Strings{"Root.SendCancelSignal"}), Signals());
}

TEST_F(MultiStepTest, RepeatedStatesAreHandledOnceAndEachWaitNamesTheStepTheNextStepSignalsCountedTo) {
    record.nLastStepIndex = 2;
    Lines status, log;
    Op().Then([&](HWND hDlg) {
        // The host skips steps after the third; after the eighth, and once the signals have counted past
        // the record's room, the wait announces nothing.
        status = Poll(hDlg, {1, 2, 3, 3, 11, 11, kNext, 4, 11, kNext, 5, 11});
        status = status + Poll(hDlg, {kNext, 8, 11, 10, 11, kNext, kNext, kNext, kNext, kNext, 3, 11});
        log = LogLines(hDlg);
        SetFocusTo(hDlg, IDC_MULTI_STEP_LOG);
        PressKey(hDlg, VK_RETURN); // Enter on the log closes at any time
    });
    EXPECT_EQ(1, Show());
    status.erase(std::unique(status.begin(), status.end()), status.end());
    EXPECT_EQ((Lines{L"Next Step: hint first", L"Next Step: hint second", L"Next Step: Finish",
                     L"Next Step: hint third", L"Next Step: hint sixth", L"Next Step: hint fourth",
                     L"Next Step: hint eighth", L"Next Step: hint first"}),
              status);
    const std::wstring strNext = L"[software]: Send Next Step Signal";
    EXPECT_EQ((kTwoSteps + Lines{strNext, L"[Device]: Step3: third", L"[Device]: third Finish\n\n", strNext,
                                 L"[Device]: Step6: sixth", L"[Device]: fourth Finish\n\n",
                                 L"[Device]: Step8: eighth", strNext, strNext, strNext, strNext, strNext,
                                 L"[Device]: Step1: first"}),
              log);
}

TEST_F(MultiStepTest, AFirstPollOfZeroChangesNothingButtonsWorkOnlyWhileTheHostWaitsAndHiddenOnesStayHidden) {
    Strings buttons;
    Op().Then([&](HWND hDlg) {
        buttons.push_back(ButtonsOf(hDlg));
        for (int32_t nState : {0, 3, 11, 12, 11, 14, -1, 13, 0}) {
            Poll(hDlg, {nState});
            buttons.push_back(ButtonsOf(hDlg));
            if (nState == 3) { // presses queued just before the state changed to a running step do nothing
                for (int nId : {IDC_MULTI_STEP_NEXT, IDC_MULTI_STEP_CANCEL, IDC_MULTI_STEP_FINISH})
                    ::SendMessageW(hDlg, WM_COMMAND, MAKEWPARAM(nId, BN_CLICKED), 0);
                EXPECT_TRUE(Signals().empty());
            }
            if (nState == 11 && buttons.size() == 4)
                Click(hDlg, IDC_MULTI_STEP_CANCEL); // the dialog stays: the host's states show the cancel
        }
        EXPECT_EQ((Lines{L"[Device]: Step1: first", L"[Device]: first Finish\n\n",
                         L"[software]: Send Cancel Signal", L"[Device]: Cancel Action is Doing: stopped",
                         L"[Device]: done", L"[Device]: done", L"[Device]: Finish Action is Doing: done",
                         L"[Device]: done"}),
                  LogLines(hDlg));
        Click(hDlg, IDC_MULTI_STEP_FINISH); // after the run, Finish closes without a signal
    });
    EXPECT_EQ(1, Show());
    EXPECT_EQ((Strings{"nCf", "nCf", "ncf", "NCF", "--f", "--F", "--f", "--f", "--f", "--F"}), buttons);
    EXPECT_EQ((Strings{"Root.SendCancelSignal"}), Signals());
}

TEST_F(MultiStepTest, WithoutRecordOrHostObjectNothingIsReadThroughNull) {
    EXPECT_EQ(0, session->ShowMultiStepPopup(nullptr));
    session->SetHostInterface(nullptr);
    Op().Then([&](HWND hDlg) {
        Poll(hDlg, {3});
        Click(hDlg, IDC_MULTI_STEP_NEXT);
        PressKey(hDlg, VK_ESCAPE);
    });
    Op().Then([&](HWND hBox) { Click(hBox, IDYES); });
    EXPECT_EQ(1, Show());
    EXPECT_TRUE(session.m_pMachine->m_log.m_calls.empty());
}

TEST_F(MultiStepTest, TheLineFeedsEndingAStepsLineDrawAsNothing) {
    Op().Then([&](HWND hDlg) {
        Poll(hDlg, {3, 11});
        HWND hList = ::GetDlgItem(hDlg, IDC_MULTI_STEP_LOG);
        ::UpdateWindow(hList);
        std::wstring strShown = ListBoxItems(hDlg, IDC_MULTI_STEP_LOG)[1];
        strShown.resize(strShown.size() - 2);
        SIZE extent = {};
        CWindowDC dc(hList);
        CSelectObject font(dc, reinterpret_cast<HGDIOBJ>(::SendMessageW(hList, WM_GETFONT, 0, 0)));
        ::GetTextExtentPoint32W(dc, strShown.c_str(), static_cast<int>(strShown.size()), &extent);
        RECT rcItem = {};
        ::SendMessageW(hList, LB_GETITEMRECT, 1, reinterpret_cast<LPARAM>(&rcItem));
        CapturedImage image = CaptureWindow(hList, true);
        int nInkAfterText = 0;
        for (int y = rcItem.top; y < rcItem.bottom; ++y)
            for (int x = rcItem.left + extent.cx + 3; x < rcItem.right; ++x)
                nInkAfterText += image.At(x, y) != ::GetSysColor(COLOR_WINDOW);
        EXPECT_EQ(0, nInkAfterText);
        ::SendMessageW(hDlg, WM_COMMAND, IDOK, 0); // ends the dialog at once
    });
    EXPECT_EQ(1, Show());
}

} // namespace

namespace {

TEST_F(MultiStepTest, TheDialogPollsTheHostOnItsOwnTimer) {
    // No timer message is sent here: the state must come in through the timer the dialog armed.
    Op().Then([&](HWND) { session.m_pMachine->m_multiStep.m_nState = 1; });
    Op().WaitUntil([](HWND hDlg) { return LogLines(hDlg).size() >= 1; });
    Op().Then([&](HWND hDlg) {
        EXPECT_EQ(L"[Device]: Initializing-op", LogLines(hDlg).front());
        session.m_pMachine->m_multiStep.m_nState = 0;
    });
    Op().WaitUntil([](HWND hDlg) { return IsEnabled(hDlg, IDC_MULTI_STEP_FINISH); });
    Op().Then([](HWND hDlg) { Click(hDlg, IDC_MULTI_STEP_FINISH); });
    EXPECT_EQ(1, Show());
}

} // namespace
