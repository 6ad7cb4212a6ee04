#include "DlgMultiStepPopupKT.h"
#include "PollTimers.h"

#include <cstdint>
#include <ctime>

#include "common/DlgCommon.h"
#include "common/ModuleState.h"
#include "res/resource.h"
#include "MultiStepTextRules.h"

namespace {

constexpr UINT kPollPeriodMs = 500;
// Gives the host's operation time to take off after the start callback before the first poll.
constexpr DWORD kStartWaitMs = 100;

using StartCallback = void (*)();

LogTime LocalTimeNow() {
    __time64_t tNow = _time64(nullptr);
    tm tmNow = {};
    if (_localtime64_s(&tmNow, &tNow) != 0)
        return kUnknownLogTime;
    return {tmNow.tm_year + 1900, tmNow.tm_mon + 1, tmNow.tm_mday, tmNow.tm_hour, tmNow.tm_min, tmNow.tm_sec};
}

// The log draws its own lines; they are as high as a plain list box makes them.
void SetPlainLineHeight(CListBox& list) {
    CWindowDC dc(list);
    CSelectObject font(dc, list.GetFont());
    TEXTMETRICW tm = {};
    ::GetTextMetricsW(dc, &tm);
    list.SendMessage(LB_SETITEMHEIGHT, 0, tm.tmHeight);
}

} // namespace

CDlgMultiStepPopupKT::CDlgMultiStepPopupKT(const MultiStepRecord* pRecord)
    : CDialogEx(IDD_MULTI_STEP_POPUP), m_record(*pRecord) {}

void CDlgMultiStepPopupKT::DoDataExchange(CDataExchange* pDX) {
    DDX_Control(pDX, IDC_MULTI_STEP_NEXT, m_btnNextStep);
    DDX_Control(pDX, IDC_MULTI_STEP_CANCEL, m_btnCancel);
    DDX_Control(pDX, IDC_MULTI_STEP_FINISH, m_btnFinish);
    DDX_Control(pDX, IDC_MULTI_STEP_STATUS, m_stcStatus);
    DDX_Control(pDX, IDC_MULTI_STEP_LOG, m_lbLog);
}

void CDlgMultiStepPopupKT::DeclareMessageMap(CMessageMap& map) {
    map.Timer([this](UINT_PTR nIdEvent) { OnTimer(nIdEvent); });
    map.DrawItem([this](int nIdCtl, DRAWITEMSTRUCT& dis) {
        if (nIdCtl == IDC_MULTI_STEP_LOG)
            DrawLogItem(dis);
    });
    map.Command(IDC_MULTI_STEP_NEXT, BN_CLICKED, [this] { OnBnClickedNextStep(); });
    map.Command(IDC_MULTI_STEP_CANCEL, BN_CLICKED, [this] { OnBnClickedCancel(); });
    map.Command(IDC_MULTI_STEP_FINISH, BN_CLICKED, [this] { OnBnClickedFinish(); });
}

BOOL CDlgMultiStepPopupKT::OnInitDialog() {
    BOOL bResult = CDialogEx::OnInitDialog();
    TranslateDialogOnOpen(*this);
    SetPlainLineHeight(m_lbLog);

    m_btnNextStep.EnableWindow(FALSE);
    m_btnFinish.EnableWindow(FALSE);

    std::wstring strTitle = RecordText(m_record.szTitle);
    if (!strTitle.empty()) {
        SetWindowText(strTitle);
        m_stcStatus.SetWindowText(strTitle);
    }
    SetDlgItemText(IDC_MULTI_STEP_INFO_LABEL, g_languageFile.Translate(L"Step InFo"));
    m_lbLog.ResetContent();
    m_nLastState = kMultiStepIdle;
    m_nCurrentStep = kMultiStepFirstStep;
    UpdateData(FALSE);

    if (m_record.nStartCallback != 0)
        reinterpret_cast<StartCallback>(static_cast<uintptr_t>(m_record.nStartCallback))();
    ::Sleep(kStartWaitMs);
    SetTimer(kMultiStepPollTimer, kPollPeriodMs);
    return bResult;
}

void CDlgMultiStepPopupKT::OnTimer(UINT_PTR nIdEvent) {
    // Without a host object there is nothing to follow; the operator can still close the dialog.
    if (nIdEvent != kMultiStepPollTimer || !g_pHostInterface)
        return;
    int32_t nState = g_pHostInterface->GetMultiStepState();
    if (nState != m_nLastState) {
        // The state change still sees the previous state in m_nLastState.
        OnStateChanged(nState);
        m_nLastState = nState;
    }
}

void CDlgMultiStepPopupKT::OnStateChanged(int32_t nState) {
    if (!m_bStarted && nState != kMultiStepIdle)
        m_bStarted = 1;

    if (nState == kMultiStepWaitingOperator) {
        m_btnNextStep.EnableWindow(TRUE);
        m_btnFinish.EnableWindow(TRUE);
        m_btnCancel.EnableWindow(TRUE);
    } else {
        m_btnNextStep.EnableWindow(FALSE);
        m_btnCancel.EnableWindow(FALSE);
        m_btnFinish.EnableWindow(FALSE);
        if (nState == kMultiStepCancelling || nState == kMultiStepFinishing) {
            m_btnNextStep.ShowWindow(SW_HIDE);
            m_btnCancel.ShowWindow(SW_HIDE);
        } else if (nState == kMultiStepIdle && m_bStarted) {
            m_btnNextStep.ShowWindow(SW_HIDE);
            m_btnCancel.ShowWindow(SW_HIDE);
            m_btnFinish.EnableWindow(TRUE);
            // The host has finished what the operator asked for: the dialog closes, after logging it.
            if (m_bFinishRequested)
                CDialogEx::OnOK();
        }
    }

    MultiStepWords words;
    words.strInitializing = g_languageFile.Translate(L"Initializing");
    words.strInitializeFinish = g_languageFile.Translate(L"Initialize Finish");
    words.strStep = g_languageFile.Translate(L"Step");
    words.strNextStep = g_languageFile.Translate(L"Next Step");
    words.strFinish = g_languageFile.Translate(L"Finish");
    words.strCancelActionIsDoing = g_languageFile.Translate(L"Cancel Action is Doing");
    words.strFinishActionIsDoing = g_languageFile.Translate(L"Finish Action is Doing");
    MultiStepTexts texts = StateChangeTexts(m_record, words, nState, m_nLastState, m_nCurrentStep);

    if (!texts.strLog.empty())
        AppendLogLine(g_languageFile.Translate(L"Device"), texts.strLog);
    if (!texts.strStatus.empty())
        m_stcStatus.SetWindowText(texts.strStatus);
    UpdateData(FALSE);
}

void CDlgMultiStepPopupKT::AppendLogLine(const std::wstring& strSource, const std::wstring& strText) {
    m_lbLog.AddString(LogLinePrefix(LocalTimeNow(), strSource) + strText);
}

void CDlgMultiStepPopupKT::DrawLogItem(const DRAWITEMSTRUCT& item) {
    std::wstring strText;
    if (item.itemID != static_cast<UINT>(-1)) {
        for (wchar_t ch : m_lbLog.GetText(static_cast<int>(item.itemID)))
            if (ch != L'\n' && ch != L'\r')
                strText.push_back(ch);
    }
    bool bSelected = (item.itemState & ODS_SELECTED) != 0;
    COLORREF clrOldBk = ::SetBkColor(item.hDC, ::GetSysColor(bSelected ? COLOR_HIGHLIGHT : COLOR_WINDOW));
    COLORREF clrOldText =
        ::SetTextColor(item.hDC, ::GetSysColor(bSelected ? COLOR_HIGHLIGHTTEXT : COLOR_WINDOWTEXT));
    ::ExtTextOutW(item.hDC, item.rcItem.left + 1, item.rcItem.top, ETO_OPAQUE | ETO_CLIPPED, &item.rcItem,
                  strText.c_str(), static_cast<UINT>(strText.size()), nullptr);
    if (item.itemState & ODS_FOCUS)
        ::DrawFocusRect(item.hDC, &item.rcItem);
    ::SetTextColor(item.hDC, clrOldText);
    ::SetBkColor(item.hDC, clrOldBk);
}

void CDlgMultiStepPopupKT::OnBnClickedNextStep() {
    if (m_nLastState != kMultiStepWaitingOperator)
        return;
    AppendLogLine(g_languageFile.Translate(L"software"), g_languageFile.Translate(L"Send Next Step Signal"));
    if (g_pHostInterface)
        g_pHostInterface->SendNextStepSignal();
    if (m_nCurrentStep < INT32_MAX)
        m_nCurrentStep += 1;
}

void CDlgMultiStepPopupKT::OnBnClickedCancel() {
    if (m_nLastState != kMultiStepWaitingOperator)
        return;
    AppendLogLine(g_languageFile.Translate(L"software"), g_languageFile.Translate(L"Send Cancel Signal"));
    if (g_pHostInterface)
        g_pHostInterface->SendCancelSignal();
}

void CDlgMultiStepPopupKT::OnBnClickedFinish() {
    if (m_nLastState == kMultiStepWaitingOperator) {
        AppendLogLine(g_languageFile.Translate(L"software"), g_languageFile.Translate(L"Send Finish Signal"));
        if (g_pHostInterface)
            g_pHostInterface->SendFinishSignal();
        m_bFinishRequested = 1;
    } else if (m_nLastState == kMultiStepIdle && m_bStarted) {
        CDialogEx::OnOK();
    }
}

void CDlgMultiStepPopupKT::OnCancel() {
    if (m_nLastState == kMultiStepIdle && m_bStarted) {
        CDialogEx::OnCancel();
        return;
    }
    int nAnswer =
        MessageBox(g_languageFile.Translate(
                       L"Multi-step operation is being executed, confirm to cancel the action and exit?"),
                   g_languageFile.Translate(L"Tips"), MB_YESNO);
    if (nAnswer == IDYES) {
        if (g_pHostInterface)
            g_pHostInterface->SendCancelSignal();
        CDialogEx::OnCancel();
    }
}
