// A report list in which every cell carries its own display record (colours, bold, check box, progress
// bar, drop-down look, image, tooltip) and every row can be disabled. The control paints all cells
// itself, toggles check boxes on a click and keeps the keyboard selection off disabled rows.
#pragma once

#include <memory>
#include <optional>
#include <string>
#include <unordered_map>
#include <vector>

#include "common/controls/AccessibleBase.h"
#include "common/controls/HeaderItemPainter.h"
#include "platform/AfxGdiPlus.h"
#include "platform/AfxWin.h"
#include "XListCellRules.h"

struct XListCellData {
    BOOL bEnabled = TRUE; // only column 0's counts: the whole row
    BOOL bBold = FALSE;
    BOOL bModified = FALSE; // the user toggled the check box
    int nImage = -1;        // index into the small image list; -1 = none
    std::wstring strToolTip;
    BOOL bConsumeClicks = FALSE;
    COLORREF crText = 0;
    COLORREF crBackground = 0;
    BOOL bShowProgress = FALSE;
    int nProgressPercent = 0;
    std::wstring strProgressFormat; // empty: "%d%%"
    BOOL bShowProgressText = TRUE;
    int nCheckedState = -1; // -1 none, 0 unchecked, 1 checked
    BOOL bCombo = FALSE;
};

// Message sent to the parent on every mouse-wheel event, with the control object as WPARAM.
constexpr UINT WM_XLIST_MOUSEWHEEL = WM_USER + 1005;

class CXListCtrl : public CListCtrl, public CCustomDraw {
public:
    CXListCtrl();
    ~CXListCtrl() override;

    // Typed row and cell operations; row and column are 0-based.
    int InsertItem(int nItem, COLORREF crText, COLORREF crBackground);
    // pszText null keeps the text; colours 0xFFFFFFFF mean the system window text and window colours.
    BOOL SetItemText(int nItem, int nSubItem, const wchar_t* pszText, COLORREF crText, COLORREF crBackground);
    BOOL SetCheckbox(int nItem, int nSubItem, int nCheckedState);
    int GetCheckbox(int nItem, int nSubItem) const; // -1 also for a bad index or a row without data
    // Ticks or unticks a box as the operator does (marks it modified); FALSE when there is no box or the row
    // is disabled.
    BOOL ToggleCheckbox(int nItem, int nSubItem);
    // The check box the keyboard is on; false when there is none.
    bool GetKeyCell(int& nItem, int& nSubItem) const;
    BOOL SetBold(int nItem, int nSubItem, BOOL bBold);
    BOOL SetEnabled(int nItem, BOOL bEnabled);
    BOOL IsEnabled(int nItem) const;
    BOOL SetItemImage(int nItem, int nSubItem, int nImage);
    BOOL SetItemToolTipText(int nItem, int nSubItem, const std::wstring& strToolTip);
    BOOL SetConsumeClicks(int nItem, int nSubItem, BOOL bConsume);
    // Shows the cell as a progress bar (nPercent) with its text; an empty format means "%d%%".
    BOOL SetProgress(int nItem, int nSubItem, int nPercent, BOOL bShowText = TRUE,
                     const std::wstring& strFormat = std::wstring());
    BOOL ClearProgress(int nItem, int nSubItem);
    BOOL SetComboLook(int nItem, int nSubItem, BOOL bCombo);
    BOOL GetModified(int nItem, int nSubItem) const;
    BOOL IsListModified() const { return m_bListModified; }
    void DeleteAllItems();
    void UpdateSubItem(int nItem, int nSubItem);
    BOOL GetCellRect(int nItem, int nSubItem, RECT* pRect) const;
    int GetColumnCount() const;

    // Tooltips, for an owner that enables them: the tool of the cell under the point, and its text.
    virtual INT_PTR OnToolHitTest(POINT point, TOOLINFOW* pTI) const;
    virtual BOOL OnToolTipText(UINT nId, NMHDR* pNMHDR, LRESULT* pResult);

    void LoadSystemColors();

    BOOL m_bUseEllipsis = TRUE;
    BOOL m_bListModified = FALSE;
    int m_nPadding = 5;
    // DPI of the last paint: the painters' pixel numbers are those of a 96-DPI screen, scaled by Px.
    int m_nPaintDpi = kAfxDefaultDpi;
    int Px(int nPixels96) const { return AfxScaleForDpi(nPixels96, m_nPaintDpi); }
    COLORREF m_crBtnFace = 0;
    COLORREF m_crBtnShadow = 0;
    COLORREF m_crGrayText = 0;
    COLORREF m_crHighlight = 0;
    COLORREF m_crHighlightText = 0;
    COLORREF m_crWindow = 0;
    COLORREF m_crWindowText = 0;

protected:
    void DeclareMessageMap(CMessageMap& map) override;
    virtual void PreSubclassWindow() {}

    // Custom draw by stage: every cell is painted here, none by the list view.
    DWORD OnPrePaint(NMCUSTOMDRAW& cd) override;
    DWORD OnItemPrePaint(NMCUSTOMDRAW& cd) override;

    // The painters, one cell at a time.
    void PaintCell(HDC hDC, int nItem, int nSubItem, RECT rect);
    void GetDrawColors(int nItem, int nSubItem, COLORREF& crText, COLORREF& crBackground) const;
    void DrawCheckbox(int nItem, int nSubItem, HDC hDC, COLORREF crText, COLORREF crBackground,
                      const RECT& rect, const std::vector<XListCellData>& row);
    void DrawProgress(int nSubItem, HDC hDC, COLORREF crText, RECT& rect,
                      const std::vector<XListCellData>& row);
    void DrawCombo(int nItem, int nSubItem, HDC hDC, COLORREF crText, COLORREF crBackground, const RECT& rect,
                   const std::vector<XListCellData>& row);
    void DrawComboArrow(HDC hDC, const RECT& rect, COLORREF cr);
    int DrawImage(int nItem, int nSubItem, HDC hDC, COLORREF crText, COLORREF crBackground, const RECT& rect,
                  const std::vector<XListCellData>* pRow);
    void DrawCellText(int nItem, int nSubItem, HDC hDC, COLORREF crText, COLORREF crBackground,
                      const RECT& rect, const std::vector<XListCellData>* pRow);
    LRESULT OnEraseBkgnd(HDC hDC);
    LRESULT OnLButtonDown(WPARAM wParam, LPARAM lParam);
    LRESULT OnRButtonDown(WPARAM wParam, LPARAM lParam);
    LRESULT OnKeyDown(WPARAM wParam, LPARAM lParam);
    // The keyboard cell: arrows move it over the cells a click would tick, Space ticks it as a click does.
    // True when the key was one of its keys in a list that has such cells.
    bool OnKeyCellKey(UINT nKey);
    // A click's effect on a check box cell, by mouse or by Space.
    // Selection and focus cues drawn over a painted cell: a selected row keeps its cells' own colours and
    // is outlined by a band in the highlight colour; the keyboard cell gets a focus rectangle.
    void DrawCellCues(HDC hDC, int nItem, int nSubItem, const RECT& rc);

private:
    using Row = std::vector<XListCellData>;
    // The row's records; null when the row has none (inserted another way, or a bad index).
    Row* GetRow(int nItem) const;
    // The cell's record; null for a row without records or a column past the row's array.
    XListCellData* GetCell(int nItem, int nSubItem) const;
    bool IsValidCell(int nItem, int nSubItem) const;
    BOOL CellBounds(int nItem, int nSubItem, int nItems, int nColumns, RECT* pRect) const;
    int FirstSelectedRow() const;
    void SelectRow(int nItem);
    void FreeAllRecords();
    // Every change of a box's state goes through here, so screen readers hear of each one.
    void StoreCheckState(int nItem, int nSubItem, XListCellData& cell, int nCheckedState);
    bool IsKeyCellUsable(int nItem, int nSubItem) const;
    void RepaintKeyCell();

    KeyCell m_keyCell;

    // The record arrays, owned here and found through the rows' item data.
    std::unordered_map<LPARAM, std::unique_ptr<Row>> m_records;
    std::optional<CGdiPlusSession> m_gdiPlus;
    // Cleared by WM_SETREDRAW FALSE while the owner fills the list.
    bool m_bRedraw = true;

    // What every cell of one paint shares: read as the paint starts (and each row as it starts), so that a
    // cell asks the list for its text and rectangle only. Used by the painters alone, which only ever run
    // inside a paint.
    struct PaintState {
        int nItems = 0;
        int nColumns = 0;
        bool bFullRowSelect = false;
        bool bFocused = false;
        bool bShowSelAlways = false;
        HIMAGELIST hImages = nullptr;
        std::vector<UINT> columnAlign; // DT_CENTER, DT_RIGHT or 0 by the header's alignment
        int nItem = -1;
        bool bItemSelected = false;
        Row* pRow = nullptr;
    };
    PaintState m_paint;
    CHeaderItemPainter m_headerPainter;
    // Made at the first cell that needs them and kept: the bold copy of the list's font (remade when the
    // font changes), the check box frame brush and the check mark pen.
    unique_hfont m_hBold;
    LOGFONTW m_lfBold = {};
    unique_hbrush m_hCheckboxFrame;
    unique_hpen m_hCheckPen;
    COLORREF m_crCheckPen = 0;
    int m_nCheckPenWidth = 0;
    CAccessibleHolder m_accessible;
    friend class CXListAccessible;
};
