// The operator's window onto a multi-step machine operation that the host runs: a timestamped log, what
// comes next, and the Next Step, Cancel and Finish signals while the host waits for the operator.
#pragma once

#include "platform/AfxWin.h"
#include "PivoraRecords.h"

class CDlgMultiStepPopupKT : public CDialogEx {
public:
    // The record is copied whole; the host's record is not read again.
    explicit CDlgMultiStepPopupKT(const MultiStepRecord* pRecord);

protected:
    BOOL OnInitDialog() override;
    void DoDataExchange(CDataExchange* pDX) override;
    void DeclareMessageMap(CMessageMap& map) override;
    void OnCancel() override;

private:
    void OnTimer(UINT_PTR nIdEvent);
    void OnStateChanged(int32_t nState);
    void AppendLogLine(const std::wstring& strSource, const std::wstring& strText);
    void DrawLogItem(const DRAWITEMSTRUCT& item);
    void OnBnClickedNextStep();
    void OnBnClickedCancel();
    void OnBnClickedFinish();

    CMFCButton m_btnNextStep;
    CMFCButton m_btnCancel;
    CMFCButton m_btnFinish;
    CStatic m_stcStatus;
    CListBox m_lbLog;
    int32_t m_nLastState = 0;
    int32_t m_nCurrentStep = 3;
    int32_t m_bStarted = 0;
    int32_t m_bFinishRequested = 0;
    MultiStepRecord m_record;
};
