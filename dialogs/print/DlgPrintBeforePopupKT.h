// Asks before a print whether to start, to cancel, or to turn to Z axis debugging first, and shows the
// live Z position meanwhile.
#pragma once

#include <cstdint>
#include <string>

#include "platform/AfxWin.h"

class CDlgPrintBeforePopupKT : public CDialogEx {
public:
    CDlgPrintBeforePopupKT();

    BOOL PreTranslateMessage(MSG* pMsg) override;
    // The operator's choice: 1 start printing, 0 Z axis debugging, 2 cancel.
    int32_t GetResult() const { return m_nResult; }

protected:
    BOOL OnInitDialog() override;
    void DoDataExchange(CDataExchange* pDX) override;
    void DeclareMessageMap(CMessageMap& map) override;

private:
    void OnTimer(UINT_PTR nIdEvent);
    void OnStartPrinting();
    void OnZAxisDebugging();
    void OnCancelPrint();
    void OnClickedNoMoreHints();

    CMFCButton m_btnStart;
    CMFCButton m_btnZDebug;
    CMFCButton m_btnCancelPrint;
    int32_t m_nResult = 2;
    std::wstring m_strZPosition;
    double m_dZPosition = 0;
    int m_bNoMoreHints = 0;
};
