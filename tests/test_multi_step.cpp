// The multi-step operation window, driven through ShowMultiStepPopup. The host's state is set on the
// simulated machine and polled by sending the dialog its timer message.
#include <gtest/gtest.h>

#include <regex>

#include "Plugin.h"
#include "ScriptedOperator.h"
#include "WindowCapture.h"
#include "../platform/AfxGdi.h"
#include "../res/resource.h"

namespace {

using Lines = std::vector<std::wstring>;

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

// The OK command, which ends the dialog at once.
void SendOk(HWND hDlg) {
    ::SendMessageW(hDlg, WM_COMMAND, IDOK, 0);
}

class MultiStepTest : public ::testing::Test {
protected:
    void SetUp() override {
        g_pMachine = session.m_pMachine.get();
        g_nStartCalls = 0;
        record = {};
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
    // The host is in the state now, and the dialog's next poll sees it.
    void Poll(HWND hDlg, std::initializer_list<int32_t> states) {
        for (int32_t nState : states) {
            session.m_pMachine->m_multiStep.m_nState = nState;
            SendTimer(hDlg, 10);
        }
    }
    int32_t Show() {
        op.Start();
        int32_t nResult = session->ShowMultiStepPopup(&record);
        EXPECT_FALSE(op.m_bTimedOut);
        return nResult;
    }
    std::vector<std::string> Signals() { return session.m_pMachine->m_log.Filter({"Root.Send"}); }

    PluginSession session;
    MultiStepRecord record;
    Operator op;
};

TEST_F(MultiStepTest, ExampleRunLogsItsTenLinesAndClosesWhenTheHostIsDoneAfterFinish) {
    Lines log;
    op.Then([&](HWND hDlg) {
        Poll(hDlg, {1, 2, 3, 11});
        Click(hDlg, IDC_MULTI_STEP_NEXT);
        Poll(hDlg, {4, 11});
        Click(hDlg, IDC_MULTI_STEP_FINISH);
        Poll(hDlg, {13, 0});
        log = LogLines(hDlg);
    });
    EXPECT_EQ(1, Show());
    EXPECT_EQ(
        (Lines{L"[Device]: Initializing-op", L"[Device]: Initialize Finish op", L"[Device]: Step1: first",
               L"[Device]: first Finish\n\n", L"[software]: Send Next Step Signal",
               L"[Device]: Step2: second", L"[Device]: second Finish\n\n", L"[software]: Send Finish Signal",
               L"[Device]: Finish Action is Doing: done", L"[Device]: done"}),
        log);
    EXPECT_EQ((std::vector<std::string>{"Root.SendNextStepSignal", "Root.SendFinishSignal"}), Signals());
}

TEST_F(MultiStepTest, OpensWithTheTitleCallsTheStartCallbackOnceAndIgnoresAFirstPollOfZero) {
    SetText(record.szTitle, u"Head cleaning");
    record.nStartCallback = reinterpret_cast<uintptr_t>(&OnStart);
    Lines shown, question;
    std::string strButtonsAtOpening, strButtonsAfterZero;
    op.Then([&](HWND hDlg) {
        shown = {CaptionOf(hDlg), TextOf(hDlg, IDC_MULTI_STEP_STATUS),
                 TextOf(hDlg, IDC_MULTI_STEP_INFO_LABEL)};
        strButtonsAtOpening = ButtonsOf(hDlg);
        Poll(hDlg, {0});
        strButtonsAfterZero = ButtonsOf(hDlg);
        shown.push_back(std::to_wstring(ListBoxItems(hDlg, IDC_MULTI_STEP_LOG).size()));
        PressKey(hDlg, VK_ESCAPE); // not started: the cancel command still asks
    });
    op.Then([&](HWND hBox) {
        question = {MessageBoxText(hBox), CaptionOf(hBox)};
        Click(hBox, IDNO);
    });
    op.Then(SendOk);
    EXPECT_EQ(1, Show());
    EXPECT_EQ((Lines{L"Head cleaning", L"Head cleaning", L"Step InFo", L"0"}), shown);
    EXPECT_EQ("nCf", strButtonsAtOpening);
    EXPECT_EQ("nCf", strButtonsAfterZero);
    EXPECT_EQ(
        (Lines{L"Multi-step operation is being executed, confirm to cancel the action and exit?", L"Tips"}),
        question);
    EXPECT_EQ(1, g_nStartCalls);
    EXPECT_EQ(0u, g_nPollsBeforeStart);
    EXPECT_FALSE(g_bShownAtStart);
    EXPECT_TRUE(Signals().empty());
}

TEST_F(MultiStepTest, RepeatedStatesAreHandledOnceAndTheStatusLineShowsWhatComesNext) {
    record.nLastStepIndex = 2;
    Lines status;
    size_t nLogLines = 0;
    op.Then([&](HWND hDlg) {
        for (int32_t nState : {1, 2, 3, 3, 11, 11, -2, 4, 11, -2, 5}) {
            if (nState == -2) {
                Click(hDlg, IDC_MULTI_STEP_NEXT);
                continue;
            }
            Poll(hDlg, {nState});
            status.push_back(TextOf(hDlg, IDC_MULTI_STEP_STATUS));
        }
        nLogLines = ListBoxItems(hDlg, IDC_MULTI_STEP_LOG).size();
        SendOk(hDlg);
    });
    EXPECT_EQ(1, Show());
    const std::wstring strFirst = L"Next Step: hint first", strSecond = L"Next Step: hint second";
    EXPECT_EQ((Lines{strFirst, strFirst, strFirst, strFirst, strFirst, strFirst, strSecond, strSecond,
                     L"Next Step: Finish"}),
              status);
    EXPECT_EQ(9u, nLogLines);
}

TEST_F(MultiStepTest, ButtonsWorkOnlyWhileTheHostWaitsAndHiddenButtonsNeverComeBack) {
    std::vector<std::string> buttons, signalsBeforeWait;
    Lines log;
    op.Then([&](HWND hDlg) {
        Poll(hDlg, {3});
        // Presses that arrive while a step runs (queued just before the state changed) do nothing.
        for (int nId : {IDC_MULTI_STEP_NEXT, IDC_MULTI_STEP_CANCEL, IDC_MULTI_STEP_FINISH})
            ::SendMessageW(hDlg, WM_COMMAND, MAKEWPARAM(nId, BN_CLICKED), 0);
        signalsBeforeWait = Signals();
        buttons.push_back(ButtonsOf(hDlg));
        for (int32_t nState : {11, 12, 11, 14, -1, 13, 0}) {
            Poll(hDlg, {nState});
            buttons.push_back(ButtonsOf(hDlg));
            if (nState == 11 && buttons.size() == 2)
                Click(hDlg, IDC_MULTI_STEP_CANCEL); // the dialog stays: the host's states show the cancel
        }
        log = LogLines(hDlg);
        Click(hDlg, IDC_MULTI_STEP_FINISH); // after the run, Finish closes without a signal
    });
    EXPECT_EQ(1, Show());
    EXPECT_TRUE(signalsBeforeWait.empty());
    EXPECT_EQ((std::vector<std::string>{"ncf", "NCF", "--f", "--F", "--f", "--f", "--f", "--F"}), buttons);
    EXPECT_EQ(
        (Lines{L"[Device]: Step1: first", L"[Device]: first Finish\n\n", L"[software]: Send Cancel Signal",
               L"[Device]: Cancel Action is Doing: stopped", L"[Device]: done", L"[Device]: done",
               L"[Device]: Finish Action is Doing: done", L"[Device]: done"}),
        log);
    EXPECT_EQ((std::vector<std::string>{"Root.SendCancelSignal"}), Signals());
}

TEST_F(MultiStepTest, TheStepNamedAtTheWaitFollowsTheNextStepSignalsNotTheHostsStep) {
    Lines log;
    std::wstring strStatus;
    op.Then([&](HWND hDlg) {
        Poll(hDlg, {3, 11});
        Click(hDlg, IDC_MULTI_STEP_NEXT);
        Poll(hDlg, {6, 11});  // the host skipped two steps
        Poll(hDlg, {10, 11}); // after the eighth step the wait announces nothing
        strStatus = TextOf(hDlg, IDC_MULTI_STEP_STATUS);
        log = LogLines(hDlg);
        SendOk(hDlg);
    });
    EXPECT_EQ(1, Show());
    EXPECT_EQ(
        (Lines{L"[Device]: Step1: first", L"[Device]: first Finish\n\n", L"[software]: Send Next Step Signal",
               L"[Device]: Step4: fourth", L"[Device]: second Finish\n\n", L"[Device]: Step8: eighth"}),
        log);
    EXPECT_EQ(L"Next Step: hint eighth", strStatus);
}

TEST_F(MultiStepTest, EscapeWhileAStepRunsAsksAndOnlyYesSendsCancel) {
    std::vector<std::string> signalsAfterNo;
    op.Then([&](HWND hDlg) {
        Poll(hDlg, {3});
        PressKey(hDlg, VK_ESCAPE);
    });
    op.Then([&](HWND hBox) { Click(hBox, IDNO); });
    op.Then([&](HWND hDlg) {
        signalsAfterNo = Signals();
        CloseBox(hDlg);
    });
    op.Then([&](HWND hBox) { Click(hBox, IDYES); });
    EXPECT_EQ(1, Show());
    EXPECT_TRUE(signalsAfterNo.empty());
    EXPECT_EQ((std::vector<std::string>{"Root.SendCancelSignal"}), Signals());
}

TEST_F(MultiStepTest, AfterTheRunEscapeClosesAtOnceAndEnterOnTheLogClosesAtAnyTime) {
    op.Then([&](HWND hDlg) {
        Poll(hDlg, {1, 0});
        PressKey(hDlg, VK_ESCAPE); // no question: a box would stay up until the watchdog
    });
    EXPECT_EQ(1, Show());

    Operator enter;
    enter.Then([&](HWND hDlg) {
        Poll(hDlg, {3, 11});
        SetFocusTo(hDlg, IDC_MULTI_STEP_LOG);
        PressKey(hDlg, VK_RETURN);
    });
    enter.Start();
    EXPECT_EQ(1, session->ShowMultiStepPopup(&record));
    EXPECT_FALSE(enter.m_bTimedOut);
    EXPECT_TRUE(Signals().empty());
}

TEST_F(MultiStepTest, RecordTextsAndStepsAreReadOnlyInsideTheRecord) {
    // A title that fills its field with no terminator, followed by the operation name.
    std::fill(std::begin(record.szTitle), std::end(record.szTitle), u'T');
    std::wstring strCaption, strStatus;
    Lines log;
    op.Then([&](HWND hDlg) {
        strCaption = CaptionOf(hDlg);
        Poll(hDlg, {3, 11});
        for (int i = 0; i < 9; ++i) // more Next Step signals than the record has room for steps
            Click(hDlg, IDC_MULTI_STEP_NEXT);
        Poll(hDlg, {3, 11});
        strStatus = TextOf(hDlg, IDC_MULTI_STEP_STATUS);
        log = LogLines(hDlg);
        SendOk(hDlg);
    });
    EXPECT_EQ(1, Show());
    EXPECT_EQ(std::wstring(127, L'T'), strCaption);
    ASSERT_EQ(12u, log.size());
    EXPECT_EQ(L"[Device]: Step1: first", log.back()); // the wait after it announces nothing
    EXPECT_EQ(L"Next Step: hint first", strStatus);
}

TEST_F(MultiStepTest, WithoutRecordOrHostObjectNothingIsReadThroughNull) {
    EXPECT_EQ(0, session->ShowMultiStepPopup(nullptr));
    session->SetHostInterface(nullptr);
    op.Then([&](HWND hDlg) {
        Poll(hDlg, {3});
        Click(hDlg, IDC_MULTI_STEP_NEXT);
        PressKey(hDlg, VK_ESCAPE);
    });
    op.Then([&](HWND hBox) { Click(hBox, IDYES); });
    EXPECT_EQ(1, Show());
    EXPECT_TRUE(session.m_pMachine->m_log.m_calls.empty());
}

TEST_F(MultiStepTest, TheLineFeedsEndingAStepsLineDrawAsNothing) {
    int nInkAfterText = -1;
    op.Then([&](HWND hDlg) {
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
        nInkAfterText = 0;
        for (int y = rcItem.top; y < rcItem.bottom; ++y)
            for (int x = rcItem.left + extent.cx + 3; x < rcItem.right; ++x)
                nInkAfterText += image.At(x, y) != ::GetSysColor(COLOR_WINDOW);
        SendOk(hDlg);
    });
    EXPECT_EQ(1, Show());
    EXPECT_EQ(0, nInkAfterText);
}

} // namespace
