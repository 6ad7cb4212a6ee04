// Asks which print mode a task shall use.
#pragma once

#include "platform/AfxWin.h"
#include "PivoraHost.h"

class CDlgConfirmPrintMode : public CDialogEx {
public:
    CDlgConfirmPrintMode(IHostPrinter* pPrinter, IHostTask* pTask);

protected:
    BOOL OnInitDialog() override;
    void DoDataExchange(CDataExchange* pDX) override;
    void DeclareMessageMap(CMessageMap& map) override;
    void OnOK() override;

private:
    void FillPrintModes();
    void OnClickedNoMoreHints();

    CComboBox m_cbPrintMode;
    int m_bNoMoreHints = 0;
    IHostPrinter* m_pPrinter;
    IHostTask* m_pTask;
    CMFCButton m_btnOK;
    CMFCButton m_btnCancel;
};
