// Asks the operator whether the timed-out ink supply is to be reset.
#pragma once

#include "platform/AfxWin.h"

class CDlgSupplyInkTimeout : public CDialogEx {
public:
    explicit CDlgSupplyInkTimeout(int nFontHeight);

protected:
    BOOL OnInitDialog() override;
    void DeclareMessageMap(CMessageMap& map) override;

private:
    void OnBnClickedReset();
    void OnBnClickedCancel();

    int m_nFontHeight;
    CFont m_font;
};
