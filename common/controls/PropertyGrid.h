// The module's own property grid: a window class of the module with a header of two titled columns, rows
// of names and read-only text values grouped in a tree, and the drawing sequence split into hooks that a
// derived grid or row replaces (OnDrawList, OnDrawProperty, OnDrawName, OnDrawExpandBox, ...).
#pragma once

#include "platform/AfxWin.h"

#include <memory>
#include <string>
#include <vector>

#include "common/controls/AccessibleBase.h"
#include "common/controls/PropertyGridRules.h"

// Colour value that means "not set": the grid's default applies.
constexpr COLORREF kGridColorNotSet = 0xFFFFFFFF;

class CMFCPropertyGridCtrl;

class CMFCPropertyGridProperty {
public:
    // A group row.
    explicit CMFCPropertyGridProperty(const std::wstring& strGroupName, DWORD_PTR dwData = 0,
                                      BOOL bIsValueList = FALSE);
    // A row showing a text value.
    CMFCPropertyGridProperty(const std::wstring& strName, const std::wstring& strValue,
                             const wchar_t* lpszDescr, DWORD_PTR dwData = 0,
                             const wchar_t* lpszEditMask = nullptr, const wchar_t* lpszEditTemplate = nullptr,
                             const wchar_t* lpszValidChars = nullptr);
    virtual ~CMFCPropertyGridProperty();
    CMFCPropertyGridProperty(const CMFCPropertyGridProperty&) = delete;
    CMFCPropertyGridProperty& operator=(const CMFCPropertyGridProperty&) = delete;

    virtual const char* GetRuntimeClassName() const { return "CMFCPropertyGridProperty"; }

    // Appends a sub-row, which this row owns from then on; returns it.
    CMFCPropertyGridProperty* AddSubItem(std::unique_ptr<CMFCPropertyGridProperty> pProp);
    void Expand(BOOL bExpand = TRUE);
    void AllowEdit(BOOL bAllow = TRUE) { m_bAllowEdit = bAllow; }
    void Enable(BOOL bEnable = TRUE) { m_bEnabled = bEnable; }

    const std::wstring& GetName() const { return m_strName; }
    const std::wstring& GetValue() const { return m_strValue; }
    DWORD_PTR GetData() const { return m_dwData; }
    BOOL IsGroup() const { return m_bGroup; }
    BOOL IsExpanded() const { return m_bExpanded; }
    BOOL IsEnabled() const { return m_bEnabled; }
    BOOL IsAllowEdit() const { return m_bAllowEdit; }
    BOOL IsValueList() const { return m_bIsValueList; }
    BOOL IsSelected() const;
    BOOL IsModified() const { return m_strValue != m_strOriginalValue; }
    BOOL IsNameTruncated() const { return m_bNameIsTruncated; }
    BOOL IsValueTruncated() const { return m_bValueIsTruncated; }
    // Every ordinary row has a value field; a group has none.
    BOOL HasValueField() const { return !m_bGroup; }
    int GetSubItemsCount() const { return static_cast<int>(m_lstSubItems.size()); }
    CMFCPropertyGridProperty* GetSubItem(int nIndex) const;
    CMFCPropertyGridProperty* GetParent() const { return m_pParent; }
    const RECT& GetRect() const { return m_Rect; }
    const RECT& GetButtonRect() const { return m_rectButton; }

    // Drawing hooks, called by the grid's row drawing with the device context it paints into.
    virtual void OnDrawName(HDC hDC, RECT rect);
    virtual void OnDrawValue(HDC hDC, RECT rect);
    virtual void OnDrawButton(HDC hDC, RECT rect);
    virtual void OnDrawExpandBox(HDC hDC, RECT rect);

protected:
    std::wstring m_strName;
    std::wstring m_strValue;
    std::wstring m_strOriginalValue; // the value the row was created with
    std::wstring m_strDescr;
    DWORD_PTR m_dwData = 0;
    BOOL m_bGroup = FALSE;
    BOOL m_bIsValueList = FALSE;
    BOOL m_bExpanded = TRUE;
    BOOL m_bEnabled = TRUE;
    BOOL m_bAllowEdit = TRUE;
    BOOL m_bNameIsTruncated = FALSE;
    BOOL m_bValueIsTruncated = FALSE;
    RECT m_Rect = {};       // empty while the row is not laid out or hidden
    RECT m_rectButton = {}; // empty: no row of this grid has a button
    CMFCPropertyGridProperty* m_pParent = nullptr;
    CMFCPropertyGridCtrl* m_pWndList = nullptr;
    std::vector<std::unique_ptr<CMFCPropertyGridProperty>> m_lstSubItems;

private:
    void SetOwnerGrid(CMFCPropertyGridCtrl* pWndList);
    friend class CMFCPropertyGridCtrl;
};

class CMFCPropertyGridCtrl : public CWnd {
public:
    // The window class the module registers while it is loaded.
    static const wchar_t* const kWindowClass;
    static BOOL RegisterWindowClass(HINSTANCE hInstance);
    static void UnregisterWindowClass(HINSTANCE hInstance);
    // Message the grid sends its parent when the selected row changes: wParam new row, lParam old row.
    static constexpr UINT kSelChangeMessage = WM_USER + 0x32F;
    // Control id of the header inside the grid.
    static constexpr int kHeaderId = 1;

    CMFCPropertyGridCtrl();
    ~CMFCPropertyGridCtrl() override;

    virtual const char* GetRuntimeClassName() const { return "CMFCPropertyGridCtrl"; }

    BOOL Create(DWORD dwStyle, const RECT& rect, CWnd* pParentWnd, UINT nId);
    void EnableHeaderCtrl(BOOL bEnable = TRUE, const std::wstring& strLeftTitle = L"Property",
                          const std::wstring& strRightTitle = L"Value");
    void EnableDescriptionArea(BOOL bEnable = TRUE) { m_bDescriptionArea = bEnable; }
    void SetVSDotNetLook(BOOL bSet = TRUE);
    void MarkModifiedProperties(BOOL bMark = TRUE, BOOL bRedraw = TRUE);
    void SetAlphabeticMode(BOOL bSet = TRUE);
    void SetCustomColors(COLORREF clrBackground, COLORREF clrText, COLORREF clrGroupBackground,
                         COLORREF clrGroupText, COLORREF clrDescriptionBackground,
                         COLORREF clrDescriptionText, COLORREF clrLine);
    void RemoveAll();
    // Appends a top-level row, which the grid owns from then on; returns it.
    CMFCPropertyGridProperty* AddProperty(std::unique_ptr<CMFCPropertyGridProperty> pProp,
                                          BOOL bRedraw = TRUE, BOOL bAdjustLayout = TRUE);
    // Lays the rows out again: header, row rectangles, scroll range.
    void AdjustLayout();

    int GetPropertyCount() const { return static_cast<int>(m_lstProps.size()); }
    CMFCPropertyGridProperty* GetProperty(int nIndex) const;
    CMFCPropertyGridProperty* GetCurSel() const { return m_pSel; }
    void SetCurSel(CMFCPropertyGridProperty* pProp, BOOL bRedraw = TRUE);
    void EnsureVisible(CMFCPropertyGridProperty* pProp);
    int GetLeftColumnWidth() const { return m_nLeftColumnWidth; }
    int GetRowHeight() const { return m_nRowHeight; }
    int GetScrollPos() const { return m_nScroll; }
    const RECT& GetListRect() const { return m_rectList; }
    HWND GetHeaderCtrl() const { return m_hWndHeader; }
    BOOL IsVSDotNetLook() const { return m_bVSDotNetLook; }
    // The selected row as text for the clipboard: "name<TAB>value", a group with every row beneath it, one
    // line each, indented by two spaces per level. Empty without a selection.
    std::wstring GetSelectionText() const;
    // Puts the selection's text on the clipboard (Ctrl+C, WM_COPY): how an operator passes versions on.
    void CopySelection();
    // The rows on screen in order, as laid out now (expanded groups' sub-rows included).
    const std::vector<CMFCPropertyGridProperty*>& GetVisibleRows() const { return m_visible; }
    // Tells screen readers about a change of a row (null: of the grid itself).
    void NotifyRowEvent(DWORD dwEvent, const CMFCPropertyGridProperty* pProp) const;

    // Plain option flags.
    // While the divider is dragged in the header, show only a tracking line and move it on release.
    BOOL m_bShowDragContext = TRUE;

    // Drawing sequence of one paint: the list, then each row; hooks a derived grid replaces.
    virtual void OnDrawList(HDC hDC);
    virtual BOOL OnDrawProperty(HDC hDC, CMFCPropertyGridProperty* pProp);
    virtual void OnChangeSelection(CMFCPropertyGridProperty* pNewSel, CMFCPropertyGridProperty* pOldSel);

    // State the drawing reads (as the rows and a derived grid see it).
    RECT m_rectList = {};
    int m_nLeftColumnWidth = 0;
    int m_nRowHeight = 0;
    // The grid's DPI, read with its font: margins, line widths and hit zones are written for 96 DPI and
    // scaled by Px; the row height follows the font.
    int m_nDpi = kAfxDefaultDpi;
    int Px(int nPixels96) const { return AfxScaleForDpi(nPixels96, m_nDpi); }
    BOOL m_bVSDotNetLook = FALSE;
    BOOL m_bAlphabeticMode = FALSE;
    BOOL m_bGroupNameFullWidth = TRUE;
    BOOL m_bFocused = FALSE;
    BOOL m_bControlBarColors = FALSE;
    BOOL m_bMarkModifiedProperties = FALSE;
    COLORREF m_clrBackground = kGridColorNotSet;
    COLORREF m_clrText = kGridColorNotSet;
    COLORREF m_clrGroupBackground = kGridColorNotSet;
    COLORREF m_clrGroupText = kGridColorNotSet;
    COLORREF m_clrDescriptionBackground = kGridColorNotSet;
    COLORREF m_clrDescriptionText = kGridColorNotSet;
    COLORREF m_clrLine = kGridColorNotSet;
    COLORREF m_clrGray = 0; // the grid's own gray, from the system colours
    unique_hbrush m_brBackground;
    unique_hfont m_fontBold;
    HFONT m_hFont = nullptr; // the font set on the grid; not owned
    std::vector<std::unique_ptr<CMFCPropertyGridProperty>> m_lstProps;
    std::vector<CMFCPropertyGridProperty*> m_lstTerminalProps; // alphabetic mode's flat list

    // The line colour if set, else the grid gray in VS.NET look, else the bar or button shadow colour.
    COLORREF GetLineColor() const;
    // Group names in the visual manager's colour when no group text colour is set.
    COLORREF GetGroupTextColor() const;

protected:
    void DeclareMessageMap(CMessageMap& map) override;

private:
    struct VisibleRow {
        CMFCPropertyGridProperty* pProp;
        int nDepth;
    };
    void CollectVisible(CMFCPropertyGridProperty* pProp, int nDepth, std::vector<VisibleRow>& rows) const;
    void ClearRects(CMFCPropertyGridProperty* pProp);
    int VisibleIndexOf(const CMFCPropertyGridProperty* pProp) const;
    int PageRows() const;
    int DividerX() const { return m_rectList.left + m_nLeftColumnWidth; }
    void ScrollTo(int nScroll);
    // Row rectangles of the visible rows at the current scroll position.
    void PlaceRows();
    void UpdateHeader();
    void UpdateFonts();
    void ToggleExpand(CMFCPropertyGridProperty* pProp);
    void UpdateToolTip(POINT pt);

    void OnPaint();
    void OnSize();
    void OnSetFont(HFONT hFont, BOOL bRedraw);
    void OnLButtonDown(POINT pt);
    void OnLButtonDblClk(POINT pt);
    void OnLButtonUp();
    void OnMouseMove(POINT pt);
    BOOL OnSetCursor();
    void OnMouseWheel(short nDelta);
    void OnVScroll(UINT nSBCode);
    void OnKeyDown(UINT nChar);
    void OnHeaderItemChanged(NMHEADERW* pHeader);

    CMFCPropertyGridProperty* m_pSel = nullptr;
    std::vector<CMFCPropertyGridProperty*> m_visible;
    std::vector<int> m_visibleDepth; // level of each visible row
    int m_nScroll = 0;
    int m_nWheelRemainder = 0;
    HWND m_hWndHeader = nullptr;
    HWND m_hWndToolTip = nullptr;
    BOOL m_bHeader = FALSE;
    BOOL m_bDescriptionArea = TRUE;
    std::wstring m_strHeaderLeft;
    std::wstring m_strHeaderRight;
    int m_nHeaderHeight = 0;
    bool m_bDraggingDivider = false;
    bool m_bUpdatingHeader = false;
    bool m_bLeftColumnSet = false;
    const CMFCPropertyGridProperty* m_pTipRow = nullptr;
    bool m_bTipOnValue = false;
    CAccessibleHolder m_accessible;
};
