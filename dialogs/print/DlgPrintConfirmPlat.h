// Confirms a print with the material height, print height and print position, which the operator may
// correct, and the live Z position; "Confirm position" has the host check the position without closing.
#pragma once

#include <string>

#include "PrintConfirmRules.h"
#include "platform/AfxWin.h"

struct LengthLimits;

class CDlgPrintConfirmPlat : public CDialogEx {
public:
    CDlgPrintConfirmPlat();

protected:
    BOOL OnInitDialog() override;
    void DoDataExchange(CDataExchange* pDX) override;
    void DeclareMessageMap(CMessageMap& map) override;
    void OnOK() override;
    void OnCancel() override;

private:
    void LoadValuesInUnit();
    void UpdateUnitLabels();
    std::wstring GetUnitName() const;
    void OnTimer(UINT_PTR nIdEvent);
    void OnConfirmPosition();
    void OnClickedNotTip();
    void OnKillFocusMaterialHeight();
    void OnKillFocusPrintHeight();
    void OnKillFocusPosX();
    void OnKillFocusPosY();

    // Controls into members. A refused number shows a message box, which takes the focus away from an
    // edit; the range guards stay out of the way meanwhile.
    BOOL SaveControls();
    void GuardRange(double& dMember, const LengthLimits& limits);
    bool AreLengthsWithinLimits() const;
    // Stores what differs from the host; true when one of the two heights was written.
    bool StoreLengths();
    bool StoreShownLength(int32_t nParameterId, double dShown, const LengthLimits& limits);

    CMFCButton m_btnPrint;
    CMFCButton m_btnCancel;
    CMFCButton m_btnConfirmPos;
    double m_dMaterialHeight = 0;
    double m_dPrintHeight = 0;
    std::wstring m_strZPosition = L"0.00";
    int m_bNotTip = 0;
    double m_dPosX = 0;
    double m_dPosY = 0;
    int m_nUnit = 0;

    bool m_bSavingControls = false;
    bool m_bClosing = false;
};
