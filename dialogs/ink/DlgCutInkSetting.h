// One cut-ink value per ink row, set with a slider; "Apply to all task" when the printer offers it.
#pragma once

#include <memory>
#include <vector>

#include "platform/AfxWin.h"
#include "PivoraHost.h"
#include "PivoraRecords.h"

class CDlgCutInkSetting : public CDialogEx {
public:
    // pValues: the host's 32 values, copied in; null leaves every value 0.
    CDlgCutInkSetting(IHostPrinter* pPrinter, uint32_t nRequestedRowCount, const int32_t* pValues);

    // What the dialog hands back after OK.
    const CutInkValues& GetCutInkValues() const { return m_cutInkValues; }
    uint32_t GetApplyToAll() const { return m_nApplyToAll; }

protected:
    BOOL OnInitDialog() override;
    void DoDataExchange(CDataExchange* pDX) override;
    void DeclareMessageMap(CMessageMap& map) override;
    void OnOK() override;

private:
    // The controls of one row; they are made at run time and owned here.
    struct CCutInkRow {
        CEdit m_editValue;
        CStatic m_stcLabel;
        CSliderCtrl m_slider;
        int32_t m_nRowIndex = -1;
    };

    void CreateDialogFont();
    void BuildRows();
    void LayoutDialog();
    void OnHScroll(HWND hScrollBar);

    UINT m_nRowHeight = 24;
    UINT m_nColumnUnit = 70;
    UINT m_nSliderWidth = 266;
    int m_nFontHeight = 20;
    IHostPrinter* m_pPrinter;
    uint32_t m_nRequestedRowCount;
    CutInkValues m_cutInkValues = {};
    uint32_t m_nApplyToAll = 0;
    std::vector<std::unique_ptr<CCutInkRow>> m_rows;
    CMFCButton m_btnOK;
    CMFCButton m_btnCancel;
    CFont m_font;
};
