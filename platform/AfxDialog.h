// Dialogs and data exchange: the modal run as the platform does it, DDX/DDV.
#pragma once

#include <map>
#include <vector>

#include "AfxWnd.h"

// ---------------------------------------------------------------------------------------------------------
// Data exchange

class CDataExchange {
public:
    CDataExchange(CWnd* pDlgWnd, BOOL bSaveAndValidate)
        : m_bSaveAndValidate(bSaveAndValidate), m_pDlgWnd(pDlgWnd) {}
    HWND PrepareCtrl(int nIdc);
    // Gives the focus back to the offending control and stops the rest of the exchange.
    void Fail();

    BOOL m_bSaveAndValidate;
    CWnd* m_pDlgWnd;
    bool m_bFailed = false;
    HWND m_hWndLastControl = nullptr;
};

// A number shown the way the operator expects: up to 15 significant digits, no trailing zeros.
std::wstring AfxFormatGeneralNumber(double value);
// Accepts optional blanks, a finite number, optional blanks; nothing else.
bool AfxParseNumber(const std::wstring& strText, double* pValue);

void DDX_Text(CDataExchange* pDX, int nIdc, double& value);
void DDX_Text(CDataExchange* pDX, int nIdc, int& value);
void DDX_Text(CDataExchange* pDX, int nIdc, std::wstring& value);
void DDX_Check(CDataExchange* pDX, int nIdc, int& value);
void DDX_Radio(CDataExchange* pDX, int nIdc, int& value);
void DDX_Control(CDataExchange* pDX, int nIdc, CWnd& rControl);
void DDV_MinMaxInt(CDataExchange* pDX, int value, int minVal, int maxVal);

// ---------------------------------------------------------------------------------------------------------
// Dialogs

class CDialog : public CWnd {
public:
    explicit CDialog(UINT nIdTemplate, CWnd* pParentWnd = nullptr);
    ~CDialog() override;

    // Runs the dialog modally; -1 when the template is missing or the window could not be made.
    virtual INT_PTR DoModal();
    void EndDialog(int nResult);
    BOOL UpdateData(BOOL bSaveAndValidate = TRUE);
    // The dialog manager's turn, last in the chain of PreTranslateMessage calls.
    BOOL PreTranslateMessage(MSG* pMsg) override;
    UINT GetTemplateId() const { return m_nIdTemplate; }
    // The modal dialog of this thread that is running now, innermost first; null when none.
    static CDialog* GetActiveModalDialog();
    // The radio buttons of the group that starts at the control, in order: the template fixes them, so they
    // are found once (each step from one control to the next asks the window system).
    const std::vector<HWND>& RadioGroup(HWND hFirst);

protected:
    virtual BOOL OnInitDialog();
    virtual void DoDataExchange(CDataExchange* pDX);
    virtual void OnOK();
    virtual void OnCancel();
    virtual BOOL OnCommand(WPARAM wParam, LPARAM lParam);
    virtual INT_PTR DialogProc(UINT nMsg, WPARAM wParam, LPARAM lParam);

    UINT m_nIdTemplate;
    CWnd* m_pParentWnd;

private:
    static INT_PTR CALLBACK AfxDlgProc(HWND hWnd, UINT nMsg, WPARAM wParam, LPARAM lParam);
    static INT_PTR GuardedDlgProc(HWND hWnd, UINT nMsg, WPARAM wParam, LPARAM lParam);
    HWND FindOwner() const;
    void MakeFocusedButtonDefault();
    bool PreTranslateInput(MSG* pMsg);
    int m_nModalResult = -1;
    bool m_bModalDone = false;
    CDialog* m_pOuterModal = nullptr;
    std::map<HWND, std::vector<HWND>> m_radioGroups;
};

// A message box with the application's caption, owned by the running modal dialog of the module.
int AfxMessageBox(const std::wstring& strText, UINT nType = MB_OK);

class CDialogEx : public CDialog {
public:
    using CDialog::CDialog;
};
