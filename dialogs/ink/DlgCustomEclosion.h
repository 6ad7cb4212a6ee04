// Edits the host's eclosion templates in place: range, modes, elements and their sizes, with a preview.
#pragma once

#include <cstdint>

#include "platform/AfxWin.h"
#include "PivoraHost.h"

class CDlgCustomEclosion : public CDialogEx {
public:
    explicit CDlgCustomEclosion(uint32_t nEditDefaults);
    ~CDlgCustomEclosion() override;

protected:
    BOOL OnInitDialog() override;
    void DoDataExchange(CDataExchange* pDX) override;
    void DeclareMessageMap(CMessageMap& map) override;
    void OnOK() override;
    void OnCancel() override;

private:
    // Shared steps of the handlers.
    void ReadBack();
    void Push();
    void RefreshStates();
    void ShowElements(IHostEclosionMode* pMode);
    void ShowModeChoices(IHostEclosionTemplate* pTemplate);
    void ShowSelectedTemplate();
    void RebuildList();

    void TakeSnapshot();
    IHostEclosionTemplateList* SnapshotTemplates() const;
    IHostEclosionTemplate* SelectedTemplate() const;
    int32_t PositionOfEntry(int nEntry) const;
    int EntryOfPosition(int32_t nPosition) const;
    int AddEntry(const std::wstring& strName, int32_t nPosition);
    void ShowRange(IHostEclosionTemplate* pTemplate);
    IHostEclosionMode* CurrentMode() const;

    void OnBnClickedAddTemplate();
    void OnBnClickedDeleteTemplate();
    void OnBnClickedAddMode();
    void OnBnClickedDeleteMode();
    void OnBnClickedAddElement();
    void OnBnClickedDeleteElement();
    void OnBnClickedEdit() {}
    void OnLbnSelchangeTemplates();
    void OnBnClickedMode();
    void OnHScroll(UINT nSBCode, HWND hScrollBar);
    void OnPaint();

    CMFCButton m_btnSave;
    CMFCButton m_btnCancel;
    CMFCButton m_btnAddTemplate, m_btnDeleteTemplate, m_btnEditTemplate;
    CMFCButton m_btnAddMode, m_btnDeleteMode, m_btnEditMode;
    CMFCButton m_btnEditElement, m_btnDeleteElement, m_btnAddElement;
    CListBox m_lbTemplates;
    CSliderCtrl m_sliderRange;
    CSliderCtrl m_sliderElement1Width, m_sliderElement2Width;
    CSliderCtrl m_sliderElement1Height, m_sliderElement2Height;
    int m_nRange = 0;
    int m_nModeIndex = 0;
    uint32_t m_nEditDefaults;
    uint32_t m_bElement1Present = 0, m_bElement2Present = 0;
    uint32_t m_nElement1Height = 0, m_nElement2Height = 0, m_nElement1Width = 0, m_nElement2Width = 0;
    RECT m_rcPreview1 = {};
    RECT m_rcPreview2 = {};
    IHostEclosionTemplateList* m_pTemplateList = nullptr;
    IHostSnapshot* m_pSnapshot = nullptr;
    // The printer that made the snapshot: it takes it back when the root no longer names a printer.
    IHostPrinter* m_pSnapshotPrinter = nullptr;
    // Set once the live list was copied into the snapshot: only then does Cancel copy it back.
    bool m_bSnapshotHoldsList = false;
};
