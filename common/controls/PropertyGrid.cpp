#include "PropertyGrid.h"

#include "GridAccessible.h"

#include <algorithm>
#include <cstring>

namespace {

// Text format of names and values: left, one line, vertically centred, no prefix, cut with an ellipsis.
constexpr UINT kCellTextFormat = DT_LEFT | DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX | DT_END_ELLIPSIS;
// Space between a cell's edge and its text.
constexpr int kTextMargin = 3;
// Id of the one tool of the tooltip: the cell under the mouse.
constexpr UINT_PTR kCellToolId = 1;

GridRect ToGrid(const RECT& rc) {
    return {rc.left, rc.top, rc.right, rc.bottom};
}

RECT ToRect(const GridRect& rc) {
    return {rc.left, rc.top, rc.right, rc.bottom};
}

void FillSolid(HDC hDC, const RECT& rc, COLORREF clr) {
    COLORREF clrOld = ::SetBkColor(hDC, clr);
    ::ExtTextOutW(hDC, 0, 0, ETO_OPAQUE, &rc, nullptr, 0, nullptr);
    ::SetBkColor(hDC, clrOld);
}

int TextMargin(const CMFCPropertyGridCtrl* pGrid) {
    return pGrid ? pGrid->Px(kTextMargin) : kTextMargin;
}

int TextWidth(HDC hDC, const std::wstring& str) {
    SIZE size = {};
    ::GetTextExtentPoint32W(hDC, str.c_str(), static_cast<int>(str.size()), &size);
    return size.cx;
}

void AppendRowText(const CMFCPropertyGridProperty& row, int nLevel, std::wstring& strText) {
    strText.append(static_cast<size_t>(nLevel) * 2, L' ');
    strText += row.GetName();
    if (row.HasValueField())
        strText += L"\t" + row.GetValue();
    strText += L"\r\n";
    for (int i = 0; i < row.GetSubItemsCount(); ++i)
        AppendRowText(*row.GetSubItem(i), nLevel + 1, strText);
}

bool IsDescendantOf(const CMFCPropertyGridProperty* pProp, const CMFCPropertyGridProperty* pAncestor) {
    for (const CMFCPropertyGridProperty* p = pProp ? pProp->GetParent() : nullptr; p; p = p->GetParent())
        if (p == pAncestor)
            return true;
    return false;
}

} // namespace

// ---------------------------------------------------------------------------------------------------------
// Rows

CMFCPropertyGridProperty::CMFCPropertyGridProperty(const std::wstring& strGroupName, DWORD_PTR dwData,
                                                   BOOL bIsValueList)
    : m_strName(strGroupName), m_dwData(dwData), m_bGroup(TRUE), m_bIsValueList(bIsValueList) {}

CMFCPropertyGridProperty::CMFCPropertyGridProperty(const std::wstring& strName, const std::wstring& strValue,
                                                   const wchar_t* lpszDescr, DWORD_PTR dwData, const wchar_t*,
                                                   const wchar_t*, const wchar_t*)
    : m_strName(strName), m_strValue(strValue), m_strOriginalValue(strValue),
      m_strDescr(lpszDescr ? lpszDescr : L""), m_dwData(dwData) {}

CMFCPropertyGridProperty::~CMFCPropertyGridProperty() = default;

CMFCPropertyGridProperty*
CMFCPropertyGridProperty::AddSubItem(std::unique_ptr<CMFCPropertyGridProperty> pProp) {
    if (!pProp)
        return nullptr;
    pProp->m_pParent = this;
    pProp->SetOwnerGrid(m_pWndList);
    m_lstSubItems.push_back(std::move(pProp));
    return m_lstSubItems.back().get();
}

void CMFCPropertyGridProperty::SetOwnerGrid(CMFCPropertyGridCtrl* pWndList) {
    m_pWndList = pWndList;
    for (auto& pChild : m_lstSubItems)
        pChild->SetOwnerGrid(pWndList);
}

void CMFCPropertyGridProperty::Expand(BOOL bExpand) {
    if (m_bExpanded == bExpand)
        return;
    m_bExpanded = bExpand;
    if (!m_pWndList || !m_pWndList->m_hWnd)
        return;
    // A selection that would disappear inside the collapsed group moves to the group.
    if (!bExpand && IsDescendantOf(m_pWndList->GetCurSel(), this))
        m_pWndList->SetCurSel(this, FALSE);
    m_pWndList->AdjustLayout();
    m_pWndList->Invalidate(FALSE);
    m_pWndList->NotifyRowEvent(EVENT_OBJECT_STATECHANGE, this);
    m_pWndList->NotifyRowEvent(EVENT_OBJECT_REORDER, nullptr);
}

BOOL CMFCPropertyGridProperty::IsSelected() const {
    return m_pWndList && m_pWndList->GetCurSel() == this;
}

CMFCPropertyGridProperty* CMFCPropertyGridProperty::GetSubItem(int nIndex) const {
    if (nIndex < 0 || nIndex >= GetSubItemsCount())
        return nullptr;
    return m_lstSubItems[static_cast<size_t>(nIndex)].get();
}

void CMFCPropertyGridProperty::OnDrawName(HDC hDC, RECT rect) {
    COLORREF clrOld = 0;
    bool bRestore = false;
    if (IsSelected()) {
        RECT rcFill = rect;
        rcFill.top++;
        bool bFocused = m_pWndList->m_bFocused;
        clrOld = ::SetTextColor(hDC, ::GetSysColor(bFocused ? COLOR_HIGHLIGHTTEXT : COLOR_BTNTEXT));
        ::FillRect(hDC, &rcFill, ::GetSysColorBrush(bFocused ? COLOR_HIGHLIGHT : COLOR_BTNFACE));
        bRestore = true;
    }
    rect.left += TextMargin(m_pWndList);
    rect.right -= TextMargin(m_pWndList);
    ::DrawTextW(hDC, m_strName.c_str(), -1, &rect, kCellTextFormat);
    m_bNameIsTruncated = TextWidth(hDC, m_strName) > rect.right - rect.left;
    if (bRestore)
        ::SetTextColor(hDC, clrOld);
}

void CMFCPropertyGridProperty::OnDrawValue(HDC hDC, RECT rect) {
    if (!HasValueField())
        return;
    // Changed values show in bold when the grid marks them.
    HGDIOBJ hOldFont = nullptr;
    if (m_pWndList && m_pWndList->m_bMarkModifiedProperties && IsModified() && m_pWndList->m_fontBold)
        hOldFont = ::SelectObject(hDC, m_pWndList->m_fontBold.get());
    rect.left += TextMargin(m_pWndList);
    rect.right -= TextMargin(m_pWndList);
    ::DrawTextW(hDC, m_strValue.c_str(), -1, &rect, kCellTextFormat);
    m_bValueIsTruncated = TextWidth(hDC, m_strValue) > rect.right - rect.left;
    if (hOldFont)
        ::SelectObject(hDC, hOldFont);
}

void CMFCPropertyGridProperty::OnDrawButton(HDC, RECT) {}

void CMFCPropertyGridProperty::OnDrawExpandBox(HDC hDC, RECT rect) {
    // The classic small box: nine pixels, centred, in the button shadow colour.
    const int kBox = m_pWndList ? m_pWndList->Px(9) : 9;
    RECT box;
    box.left = (rect.left + rect.right - kBox) / 2;
    box.top = (rect.top + rect.bottom - kBox) / 2;
    box.right = box.left + kBox;
    box.bottom = box.top + kBox;
    ::FrameRect(hDC, &box, ::GetSysColorBrush(COLOR_BTNSHADOW));
    if (m_lstSubItems.empty())
        return;
    int my = box.top + kBox / 2, mx = box.left + kBox / 2;
    RECT minus = {box.left + 2, my, box.right - 2, my + 1};
    ::FillRect(hDC, &minus, ::GetSysColorBrush(COLOR_BTNTEXT));
    if (!m_bExpanded) {
        RECT bar = {mx, box.top + 2, mx + 1, box.bottom - 2};
        ::FillRect(hDC, &bar, ::GetSysColorBrush(COLOR_BTNTEXT));
    }
}

// ---------------------------------------------------------------------------------------------------------
// The grid window

const wchar_t* const CMFCPropertyGridCtrl::kWindowClass = L"PivoraPropertyGrid";

BOOL CMFCPropertyGridCtrl::RegisterWindowClass(HINSTANCE hInstance) {
    WNDCLASSEXW wc = {};
    wc.cbSize = sizeof(wc);
    wc.style = CS_DBLCLKS;
    // The class procedure is the system's default: each grid is subclassed by its object when created, so
    // its messages go through the framework's guarded procedure.
    wc.lpfnWndProc = ::DefWindowProcW;
    wc.hInstance = hInstance;
    wc.hCursor = ::LoadCursorW(nullptr, IDC_ARROW);
    wc.lpszClassName = kWindowClass;
    return ::RegisterClassExW(&wc) != 0;
}

void CMFCPropertyGridCtrl::UnregisterWindowClass(HINSTANCE hInstance) {
    ::UnregisterClassW(kWindowClass, hInstance);
}

CMFCPropertyGridCtrl::CMFCPropertyGridCtrl() {
    m_clrGray = ::GetSysColor(COLOR_3DFACE);
}

CMFCPropertyGridCtrl::~CMFCPropertyGridCtrl() {
    // The object owns its window: a grid outliving its dialog's window is destroyed with its object.
    if (m_hWnd)
        ::DestroyWindow(m_hWnd);
}

BOOL CMFCPropertyGridCtrl::Create(DWORD dwStyle, const RECT& rect, CWnd* pParentWnd, UINT nId) {
    // Registered by the first grid rather than when the module loads: only one dialog has a grid, and a
    // host that never opens it does not pay for the class. A second registration fails harmlessly.
    WNDCLASSEXW wc = {};
    wc.cbSize = sizeof(wc);
    if (!::GetClassInfoExW(AfxGetInstanceHandle(), kWindowClass, &wc))
        RegisterWindowClass(AfxGetInstanceHandle());
    if (!CreateControl(kWindowClass, L"", dwStyle | WS_CLIPCHILDREN, rect, pParentWnd, nId))
        return FALSE;
    m_hWndHeader = ::CreateWindowExW(0, WC_HEADERW, L"", WS_CHILD | HDS_HORZ, 0, 0, 0, 0, m_hWnd,
                                     reinterpret_cast<HMENU>(static_cast<INT_PTR>(kHeaderId)),
                                     AfxGetInstanceHandle(), nullptr);
    HDITEMW item = {};
    item.mask = HDI_TEXT | HDI_WIDTH | HDI_FORMAT;
    item.fmt = HDF_LEFT | HDF_STRING;
    item.pszText = const_cast<wchar_t*>(L"");
    for (int i = 0; i < 2; ++i)
        ::SendMessageW(m_hWndHeader, HDM_INSERTITEMW, i, reinterpret_cast<LPARAM>(&item));
    // The tooltip is a pop-up owned by the dialog; the grid destroys it with its own window.
    m_hWndToolTip = ::CreateWindowExW(WS_EX_TOPMOST, TOOLTIPS_CLASSW, nullptr, WS_POPUP | TTS_NOPREFIX, 0, 0,
                                      0, 0, m_hWnd, nullptr, AfxGetInstanceHandle(), nullptr);
    if (m_hWndToolTip) {
        TTTOOLINFOW ti = {};
        ti.cbSize = sizeof(ti);
        ti.hwnd = m_hWnd;
        ti.uId = kCellToolId;
        ti.lpszText = const_cast<wchar_t*>(L"");
        ::SendMessageW(m_hWndToolTip, TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&ti));
    }
    HFONT hFont = pParentWnd->GetFont();
    OnSetFont(hFont ? hFont : static_cast<HFONT>(::GetStockObject(DEFAULT_GUI_FONT)), FALSE);
    return TRUE;
}

void CMFCPropertyGridCtrl::EnableHeaderCtrl(BOOL bEnable, const std::wstring& strLeftTitle,
                                            const std::wstring& strRightTitle) {
    m_bHeader = bEnable;
    m_strHeaderLeft = strLeftTitle;
    m_strHeaderRight = strRightTitle;
    AdjustLayout();
}

void CMFCPropertyGridCtrl::SetVSDotNetLook(BOOL bSet) {
    m_bVSDotNetLook = bSet;
    if (m_hWnd)
        Invalidate(FALSE);
}

void CMFCPropertyGridCtrl::MarkModifiedProperties(BOOL bMark, BOOL bRedraw) {
    m_bMarkModifiedProperties = bMark;
    if (bRedraw && m_hWnd)
        Invalidate(FALSE);
}

void CMFCPropertyGridCtrl::SetAlphabeticMode(BOOL bSet) {
    m_bAlphabeticMode = bSet;
    AdjustLayout();
}

void CMFCPropertyGridCtrl::SetCustomColors(COLORREF clrBackground, COLORREF clrText,
                                           COLORREF clrGroupBackground, COLORREF clrGroupText,
                                           COLORREF clrDescriptionBackground, COLORREF clrDescriptionText,
                                           COLORREF clrLine) {
    m_clrBackground = clrBackground;
    m_clrText = clrText;
    m_clrGroupBackground = clrGroupBackground;
    m_clrGroupText = clrGroupText;
    m_clrDescriptionBackground = clrDescriptionBackground;
    m_clrDescriptionText = clrDescriptionText;
    m_clrLine = clrLine;
    m_brBackground.reset(clrBackground != kGridColorNotSet ? ::CreateSolidBrush(clrBackground) : nullptr);
    if (m_hWnd)
        Invalidate(FALSE);
}

COLORREF CMFCPropertyGridCtrl::GetLineColor() const {
    if (m_clrLine != kGridColorNotSet)
        return m_clrLine;
    if (m_bVSDotNetLook)
        return m_clrGray;
    return ::GetSysColor(m_bControlBarColors ? COLOR_3DSHADOW : COLOR_BTNSHADOW);
}

COLORREF CMFCPropertyGridCtrl::GetGroupTextColor() const {
    return ::GetSysColor(COLOR_WINDOWTEXT);
}

void CMFCPropertyGridCtrl::RemoveAll() {
    m_pSel = nullptr;
    m_pTipRow = nullptr;
    m_visible.clear();
    m_visibleDepth.clear();
    m_lstTerminalProps.clear();
    m_lstProps.clear();
    m_nScroll = 0;
}

CMFCPropertyGridProperty* CMFCPropertyGridCtrl::AddProperty(std::unique_ptr<CMFCPropertyGridProperty> pProp,
                                                            BOOL bRedraw, BOOL bAdjustLayout) {
    if (!pProp)
        return nullptr;
    pProp->m_pParent = nullptr;
    pProp->SetOwnerGrid(this);
    m_lstProps.push_back(std::move(pProp));
    if (bAdjustLayout)
        AdjustLayout();
    if (bRedraw && m_hWnd)
        Invalidate(FALSE);
    return m_lstProps.back().get();
}

CMFCPropertyGridProperty* CMFCPropertyGridCtrl::GetProperty(int nIndex) const {
    if (nIndex < 0 || nIndex >= GetPropertyCount())
        return nullptr;
    return m_lstProps[static_cast<size_t>(nIndex)].get();
}

void CMFCPropertyGridCtrl::CollectVisible(CMFCPropertyGridProperty* pProp, int nDepth,
                                          std::vector<VisibleRow>& rows) const {
    rows.push_back({pProp, nDepth});
    if (pProp->m_bExpanded)
        for (auto& pChild : pProp->m_lstSubItems)
            CollectVisible(pChild.get(), nDepth + 1, rows);
}

void CMFCPropertyGridCtrl::ClearRects(CMFCPropertyGridProperty* pProp) {
    pProp->m_Rect = {};
    for (auto& pChild : pProp->m_lstSubItems)
        ClearRects(pChild.get());
}

int CMFCPropertyGridCtrl::PageRows() const {
    return GridPageRows(m_rectList.bottom - m_rectList.top, m_nRowHeight);
}

void CMFCPropertyGridCtrl::AdjustLayout() {
    if (!m_hWnd)
        return;
    // Showing or hiding the scroll bar changes the client width: lay out once more when it did.
    for (int nPass = 0; nPass < 2; ++nPass) {
        RECT rcClient;
        GetClientRect(&rcClient);
        m_nHeaderHeight = 0;
        if (m_hWndHeader) {
            if (m_bHeader) {
                RECT rcHeader = rcClient;
                WINDOWPOS wp = {};
                HDLAYOUT layout = {&rcHeader, &wp};
                ::SendMessageW(m_hWndHeader, HDM_LAYOUT, 0, reinterpret_cast<LPARAM>(&layout));
                ::SetWindowPos(m_hWndHeader, nullptr, wp.x, wp.y, wp.cx, wp.cy,
                               SWP_NOZORDER | SWP_NOACTIVATE | SWP_SHOWWINDOW);
                m_nHeaderHeight = wp.cy;
            } else {
                ::ShowWindow(m_hWndHeader, SW_HIDE);
            }
        }
        m_rectList = rcClient;
        m_rectList.top += m_nHeaderHeight;
        int nListWidth = m_rectList.right - m_rectList.left;
        if (!m_bLeftColumnSet)
            m_nLeftColumnWidth = nListWidth / 2;
        m_nLeftColumnWidth = GridClampLeftColumn(m_nLeftColumnWidth, nListWidth, 2 * m_nRowHeight);

        std::vector<VisibleRow> rows;
        m_lstTerminalProps.clear();
        for (auto& pProp : m_lstProps) {
            ClearRects(pProp.get());
            if (m_bAlphabeticMode) {
                std::vector<VisibleRow> all;
                std::vector<CMFCPropertyGridProperty*> stack = {pProp.get()};
                while (!stack.empty()) {
                    CMFCPropertyGridProperty* p = stack.back();
                    stack.pop_back();
                    if (p->m_lstSubItems.empty() && !p->m_bGroup)
                        m_lstTerminalProps.push_back(p);
                    for (auto it = p->m_lstSubItems.rbegin(); it != p->m_lstSubItems.rend(); ++it)
                        stack.push_back(it->get());
                }
            } else {
                CollectVisible(pProp.get(), 0, rows);
            }
        }
        if (m_bAlphabeticMode) {
            std::stable_sort(m_lstTerminalProps.begin(), m_lstTerminalProps.end(),
                             [](auto* a, auto* b) { return a->GetName() < b->GetName(); });
            for (auto* p : m_lstTerminalProps)
                rows.push_back({p, 1});
        }
        m_visible.clear();
        m_visibleDepth.clear();
        for (const VisibleRow& row : rows) {
            m_visible.push_back(row.pProp);
            m_visibleDepth.push_back(row.nDepth);
        }

        int nCount = static_cast<int>(rows.size());
        int nPage = PageRows();
        m_nScroll = GridClampScroll(m_nScroll, nCount, nPage);
        PlaceRows();

        SCROLLINFO si = {};
        si.cbSize = sizeof(si);
        si.fMask = SIF_RANGE | SIF_PAGE | SIF_POS;
        si.nMin = 0;
        si.nMax = nCount > 0 ? nCount - 1 : 0;
        si.nPage = static_cast<UINT>(nCount > nPage ? nPage : nCount + 1);
        si.nPos = m_nScroll;
        ::SetScrollInfo(m_hWnd, SB_VERT, &si, TRUE);
        UpdateHeader();

        RECT rcAfter;
        GetClientRect(&rcAfter);
        if (rcAfter.right == rcClient.right && rcAfter.bottom == rcClient.bottom)
            break;
    }
}

void CMFCPropertyGridCtrl::PlaceRows() {
    for (size_t i = 0; i < m_visible.size(); ++i)
        m_visible[i]->m_Rect = ToRect(
            GridRowRect(ToGrid(m_rectList), static_cast<int>(i), m_nScroll, m_visibleDepth[i], m_nRowHeight));
}

void CMFCPropertyGridCtrl::UpdateHeader() {
    if (!m_hWndHeader)
        return;
    // Setting an item repaints the header: only when something changed.
    int nRightWidth = std::max(0, static_cast<int>(m_rectList.right - m_rectList.left) - m_nLeftColumnWidth);
    wchar_t szLeft[256] = {}, szRight[256] = {};
    HDITEMW current = {};
    current.mask = HDI_TEXT | HDI_WIDTH;
    current.cchTextMax = 256;
    current.pszText = szLeft;
    ::SendMessageW(m_hWndHeader, HDM_GETITEMW, 0, reinterpret_cast<LPARAM>(&current));
    int nLeftNow = current.cxy;
    current.pszText = szRight;
    ::SendMessageW(m_hWndHeader, HDM_GETITEMW, 1, reinterpret_cast<LPARAM>(&current));
    if (nLeftNow == m_nLeftColumnWidth && current.cxy == nRightWidth && m_strHeaderLeft == szLeft &&
        m_strHeaderRight == szRight)
        return;
    m_bUpdatingHeader = true;
    HDITEMW item = {};
    item.mask = HDI_TEXT | HDI_WIDTH;
    item.cxy = m_nLeftColumnWidth;
    item.pszText = const_cast<wchar_t*>(m_strHeaderLeft.c_str());
    ::SendMessageW(m_hWndHeader, HDM_SETITEMW, 0, reinterpret_cast<LPARAM>(&item));
    item.cxy = nRightWidth;
    item.pszText = const_cast<wchar_t*>(m_strHeaderRight.c_str());
    ::SendMessageW(m_hWndHeader, HDM_SETITEMW, 1, reinterpret_cast<LPARAM>(&item));
    m_bUpdatingHeader = false;
}

void CMFCPropertyGridCtrl::UpdateFonts() {
    LOGFONTW lf = {};
    ::GetObjectW(m_hFont, sizeof(lf), &lf);
    lf.lfWeight = FW_BOLD;
    m_fontBold.reset(::CreateFontIndirectW(&lf));
    CWindowDC dc(m_hWnd);
    CSelectObject selFont(dc, m_hFont);
    TEXTMETRICW tm = {};
    ::GetTextMetricsW(dc, &tm);
    m_nDpi = AfxGetWindowDpi(m_hWnd);
    m_nRowHeight = tm.tmHeight + Px(5);
    if (m_hWndHeader)
        ::SendMessageW(m_hWndHeader, WM_SETFONT, reinterpret_cast<WPARAM>(m_hFont), FALSE);
}

int CMFCPropertyGridCtrl::VisibleIndexOf(const CMFCPropertyGridProperty* pProp) const {
    auto it = std::find(m_visible.begin(), m_visible.end(), pProp);
    return it == m_visible.end() ? -1 : static_cast<int>(it - m_visible.begin());
}

void CMFCPropertyGridCtrl::SetCurSel(CMFCPropertyGridProperty* pProp, BOOL bRedraw) {
    if (pProp == m_pSel)
        return;
    CMFCPropertyGridProperty* pOldSel = m_pSel;
    m_pSel = pProp;
    if (pProp)
        EnsureVisible(pProp);
    if (bRedraw && m_hWnd)
        Invalidate(FALSE);
    NotifyRowEvent(EVENT_OBJECT_SELECTION, pProp);
    if (m_hWnd && ::GetFocus() == m_hWnd)
        NotifyRowEvent(EVENT_OBJECT_FOCUS, pProp);
    OnChangeSelection(pProp, pOldSel);
}

void CMFCPropertyGridCtrl::NotifyRowEvent(DWORD dwEvent, const CMFCPropertyGridProperty* pProp) const {
    // Screen readers number the rows on screen from 1, as the grid's accessible object does.
    NotifyAccessibleEvent(m_hWnd, dwEvent, pProp ? VisibleIndexOf(pProp) + 1 : CHILDID_SELF);
}

void CMFCPropertyGridCtrl::EnsureVisible(CMFCPropertyGridProperty* pProp) {
    int nIndex = VisibleIndexOf(pProp);
    if (nIndex >= 0)
        ScrollTo(GridScrollToShow(m_nScroll, nIndex, PageRows()));
}

void CMFCPropertyGridCtrl::ScrollTo(int nScroll) {
    nScroll = GridClampScroll(nScroll, static_cast<int>(m_visible.size()), PageRows());
    if (nScroll == m_nScroll)
        return;
    m_nScroll = nScroll;
    PlaceRows();
    SCROLLINFO si = {};
    si.cbSize = sizeof(si);
    si.fMask = SIF_POS;
    si.nPos = m_nScroll;
    ::SetScrollInfo(m_hWnd, SB_VERT, &si, TRUE);
    Invalidate(FALSE);
}

std::wstring CMFCPropertyGridCtrl::GetSelectionText() const {
    std::wstring strText;
    if (m_pSel)
        AppendRowText(*m_pSel, 0, strText);
    return strText;
}

void CMFCPropertyGridCtrl::CopySelection() {
    std::wstring strText = GetSelectionText();
    if (strText.empty() || !::OpenClipboard(m_hWnd))
        return;
    ::EmptyClipboard();
    size_t nBytes = (strText.size() + 1) * sizeof(wchar_t);
    unique_hglobal hMem(::GlobalAlloc(GMEM_MOVEABLE, nBytes));
    if (void* pMem = hMem ? ::GlobalLock(hMem.get()) : nullptr) {
        std::memcpy(pMem, strText.c_str(), nBytes);
        ::GlobalUnlock(hMem.get());
        // The clipboard owns the memory once it has taken it.
        if (::SetClipboardData(CF_UNICODETEXT, hMem.get()))
            hMem.release();
    }
    ::CloseClipboard();
}

void CMFCPropertyGridCtrl::OnChangeSelection(CMFCPropertyGridProperty*, CMFCPropertyGridProperty*) {}

void CMFCPropertyGridCtrl::ToggleExpand(CMFCPropertyGridProperty* pProp) {
    if (pProp && pProp->IsGroup())
        pProp->Expand(!pProp->IsExpanded());
}

// ---------------------------------------------------------------------------------------------------------
// Drawing: the grid's own look. A derived grid replaces OnDrawList and OnDrawProperty as a whole.

void CMFCPropertyGridCtrl::OnDrawList(HDC hDC) {
    unique_hpen penLine(::CreatePen(PS_SOLID, 1, GetLineColor()));
    CSelectObject selPen(hDC, penLine.get());
    int x = DividerX();
    ::MoveToEx(hDC, x, m_rectList.top - 1, nullptr);
    ::LineTo(hDC, x, m_rectList.bottom);
    if (m_bAlphabeticMode) {
        for (CMFCPropertyGridProperty* pProp : m_lstTerminalProps)
            if (!OnDrawProperty(hDC, pProp))
                break;
        return;
    }
    for (auto& pProp : m_lstProps)
        if (!OnDrawProperty(hDC, pProp.get()))
            break;
}

BOOL CMFCPropertyGridCtrl::OnDrawProperty(HDC hDC, CMFCPropertyGridProperty* pProp) {
    const RECT& r = pProp->m_Rect;
    if (!::IsRectEmpty(&r)) {
        if (r.top >= m_rectList.bottom)
            return FALSE;
        if (r.bottom >= m_rectList.top) {
            RECT rcName = r;
            if (pProp->IsGroup()) {
                RECT rcRow = {m_rectList.left, r.top, r.right, r.bottom};
                FillSolid(hDC, rcRow,
                          m_clrGroupBackground != kGridColorNotSet ? m_clrGroupBackground : m_clrGray);
                RECT rcBox = rcName;
                rcBox.right = rcName.left + m_nRowHeight;
                rcName.left = rcBox.right;
                pProp->OnDrawExpandBox(hDC, rcBox);
                CSelectObject selFont(hDC, m_fontBold.get());
                pProp->OnDrawName(hDC, rcName);
            } else {
                rcName.right = DividerX();
                pProp->OnDrawName(hDC, rcName);
                RECT rcValue = r;
                rcValue.left = DividerX() + 1;
                pProp->OnDrawValue(hDC, rcValue);
            }
            ::MoveToEx(hDC, m_rectList.left, r.bottom, nullptr);
            ::LineTo(hDC, m_rectList.right, r.bottom);
        }
    }
    if (pProp->IsExpanded() || m_bAlphabeticMode)
        for (auto& pChild : pProp->m_lstSubItems)
            if (!OnDrawProperty(hDC, pChild.get()))
                return FALSE;
    return TRUE;
}

// ---------------------------------------------------------------------------------------------------------
// Messages

void CMFCPropertyGridCtrl::DeclareMessageMap(CMessageMap& map) {
    map.Message(WM_PAINT, [this](WPARAM, LPARAM) {
        OnPaint();
        return LRESULT{0};
    });
    map.Message(WM_DESTROY, [this](WPARAM wParam, LPARAM lParam) {
        if (m_hWndToolTip)
            ::DestroyWindow(m_hWndToolTip);
        m_hWndToolTip = nullptr;
        m_accessible.Disconnect();
        return Default(WM_DESTROY, wParam, lParam);
    });
    map.Message(WM_ERASEBKGND, [](WPARAM, LPARAM) { return LRESULT{1}; });
    map.Message(WM_GETOBJECT, [this](WPARAM wParam, LPARAM lParam) {
        LRESULT lResult =
            m_accessible.Answer(wParam, lParam, [this] { return CGridAccessible::Create(this); });
        return lResult ? lResult : Default(WM_GETOBJECT, wParam, lParam);
    });
    map.Message(WM_SIZE, [this](WPARAM, LPARAM) {
        OnSize();
        return LRESULT{0};
    });
    map.Message(WM_SETFONT, [this](WPARAM wParam, LPARAM lParam) {
        OnSetFont(reinterpret_cast<HFONT>(wParam), static_cast<BOOL>(lParam));
        return LRESULT{0};
    });
    map.Message(WM_GETFONT, [this](WPARAM, LPARAM) { return reinterpret_cast<LRESULT>(m_hFont); });
    map.Message(WM_GETDLGCODE, [](WPARAM, LPARAM) { return LRESULT{DLGC_WANTARROWS | DLGC_WANTCHARS}; });
    map.Message(WM_SETFOCUS, [this](WPARAM, LPARAM) {
        m_bFocused = TRUE;
        Invalidate(FALSE);
        if (m_pSel)
            NotifyRowEvent(EVENT_OBJECT_FOCUS, m_pSel);
        return LRESULT{0};
    });
    map.Message(WM_KILLFOCUS, [this](WPARAM, LPARAM) {
        m_bFocused = FALSE;
        Invalidate(FALSE);
        return LRESULT{0};
    });
    auto point = [](LPARAM lParam) {
        return POINT{static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))};
    };
    map.Message(WM_LBUTTONDOWN, [this, point](WPARAM, LPARAM lParam) {
        OnLButtonDown(point(lParam));
        return LRESULT{0};
    });
    map.Message(WM_LBUTTONDBLCLK, [this, point](WPARAM, LPARAM lParam) {
        OnLButtonDblClk(point(lParam));
        return LRESULT{0};
    });
    map.Message(WM_LBUTTONUP, [this](WPARAM, LPARAM) {
        OnLButtonUp();
        return LRESULT{0};
    });
    map.Message(WM_CAPTURECHANGED, [this](WPARAM, LPARAM) {
        m_bDraggingDivider = false;
        return LRESULT{0};
    });
    map.Message(WM_MOUSEMOVE, [this, point](WPARAM, LPARAM lParam) {
        OnMouseMove(point(lParam));
        return LRESULT{0};
    });
    map.Message(WM_SETCURSOR, [this](WPARAM wParam, LPARAM lParam) {
        if (OnSetCursor())
            return LRESULT{TRUE};
        return Default(WM_SETCURSOR, wParam, lParam);
    });
    map.Message(WM_MOUSEWHEEL, [this](WPARAM wParam, LPARAM) {
        OnMouseWheel(static_cast<short>(HIWORD(wParam)));
        return LRESULT{0};
    });
    map.VScroll([this](UINT nSBCode, UINT, HWND) { OnVScroll(nSBCode); });
    map.Message(WM_COPY, [this](WPARAM, LPARAM) {
        CopySelection();
        return LRESULT{0};
    });
    map.Message(WM_KEYDOWN, [this](WPARAM wParam, LPARAM) {
        OnKeyDown(static_cast<UINT>(wParam));
        return LRESULT{0};
    });
    map.Notify(kHeaderId, HDN_ITEMCHANGEDW,
               [this](NMHDR* pHdr, LRESULT*) { OnHeaderItemChanged(reinterpret_cast<NMHEADERW*>(pHdr)); });
    // Only the divider between the two columns moves; the right edge of the last column stays.
    map.Notify(kHeaderId, HDN_BEGINTRACKW, [this](NMHDR* pHdr, LRESULT* pResult) {
        *pResult = reinterpret_cast<NMHEADERW*>(pHdr)->iItem != 0;
        // The drag shows a tracking line, or moves the columns live, as the flag says when it starts.
        LONG_PTR nStyle = ::GetWindowLongPtrW(m_hWndHeader, GWL_STYLE);
        nStyle = m_bShowDragContext ? (nStyle & ~LONG_PTR{HDS_FULLDRAG}) : (nStyle | HDS_FULLDRAG);
        ::SetWindowLongPtrW(m_hWndHeader, GWL_STYLE, nStyle);
    });
    map.Notify(kHeaderId, HDN_DIVIDERDBLCLICKW, [](NMHDR*, LRESULT*) {});
}

void CMFCPropertyGridCtrl::OnPaint() {
    CPaintDC dc(m_hWnd);
    RECT rcClient;
    GetClientRect(&rcClient);
    int nWidth = rcClient.right - rcClient.left, nHeight = rcClient.bottom - rcClient.top;
    if (nWidth <= 0 || nHeight <= 0)
        return;
    // Drawn off screen and copied in one go, so scrolling and selecting do not flicker.
    unique_hdc memDC(::CreateCompatibleDC(dc));
    unique_hbitmap bitmap(::CreateCompatibleBitmap(dc, nWidth, nHeight));
    {
        CSelectObject selBitmap(memDC.get(), bitmap.get());
        FillSolid(memDC.get(), rcClient,
                  m_clrBackground != kGridColorNotSet ? m_clrBackground : ::GetSysColor(COLOR_WINDOW));
        CSelectObject selFont(memDC.get(), m_hFont);
        ::SetBkMode(memDC.get(), TRANSPARENT);
        ::SetTextColor(memDC.get(),
                       m_clrText != kGridColorNotSet ? m_clrText : ::GetSysColor(COLOR_WINDOWTEXT));
        OnDrawList(memDC.get());
        ::SelectClipRgn(memDC.get(), nullptr);
        ::BitBlt(dc, m_rectList.left, m_rectList.top, m_rectList.right - m_rectList.left,
                 m_rectList.bottom - m_rectList.top, memDC.get(), m_rectList.left, m_rectList.top, SRCCOPY);
    }
}

void CMFCPropertyGridCtrl::OnSize() {
    AdjustLayout();
    Invalidate(FALSE);
}

void CMFCPropertyGridCtrl::OnSetFont(HFONT hFont, BOOL bRedraw) {
    m_hFont = hFont ? hFont : static_cast<HFONT>(::GetStockObject(DEFAULT_GUI_FONT));
    UpdateFonts();
    AdjustLayout();
    if (bRedraw)
        Invalidate(FALSE);
}

void CMFCPropertyGridCtrl::OnLButtonDown(POINT pt) {
    SetFocus();
    int nIndex =
        GridRowAt(pt.y, ToGrid(m_rectList), m_nScroll, static_cast<int>(m_visible.size()), m_nRowHeight);
    if (nIndex < 0)
        return;
    CMFCPropertyGridProperty* pProp = m_visible[static_cast<size_t>(nIndex)];
    GridHitZone zone =
        GridHitTest(pt.x, ToGrid(pProp->m_Rect), pProp->IsGroup(), DividerX(), m_nRowHeight, Px(2));
    if (zone == GridHitZone::Divider) {
        m_bDraggingDivider = true;
        ::SetCapture(m_hWnd);
        return;
    }
    SetCurSel(pProp);
    if (zone == GridHitZone::ExpandBox)
        ToggleExpand(pProp);
}

void CMFCPropertyGridCtrl::OnLButtonDblClk(POINT pt) {
    int nIndex =
        GridRowAt(pt.y, ToGrid(m_rectList), m_nScroll, static_cast<int>(m_visible.size()), m_nRowHeight);
    if (nIndex < 0)
        return;
    CMFCPropertyGridProperty* pProp = m_visible[static_cast<size_t>(nIndex)];
    SetCurSel(pProp);
    // The double click stands for the second click on the box too, so the box toggles on every click.
    ToggleExpand(pProp);
}

void CMFCPropertyGridCtrl::OnLButtonUp() {
    if (m_bDraggingDivider)
        ::ReleaseCapture();
    m_bDraggingDivider = false;
}

void CMFCPropertyGridCtrl::OnMouseMove(POINT pt) {
    if (m_bDraggingDivider) {
        m_bLeftColumnSet = true;
        m_nLeftColumnWidth =
            GridClampLeftColumn(pt.x - m_rectList.left, m_rectList.right - m_rectList.left, 2 * m_nRowHeight);
        UpdateHeader();
        Invalidate(FALSE);
        return;
    }
    UpdateToolTip(pt);
}

BOOL CMFCPropertyGridCtrl::OnSetCursor() {
    POINT pt;
    ::GetCursorPos(&pt);
    ::ScreenToClient(m_hWnd, &pt);
    int nIndex =
        GridRowAt(pt.y, ToGrid(m_rectList), m_nScroll, static_cast<int>(m_visible.size()), m_nRowHeight);
    bool bDivider = m_bDraggingDivider;
    if (!bDivider && nIndex >= 0) {
        CMFCPropertyGridProperty* pProp = m_visible[static_cast<size_t>(nIndex)];
        bDivider = GridHitTest(pt.x, ToGrid(pProp->m_Rect), pProp->IsGroup(), DividerX(), m_nRowHeight,
                               Px(2)) == GridHitZone::Divider;
    }
    if (!bDivider)
        return FALSE;
    ::SetCursor(::LoadCursorW(nullptr, IDC_SIZEWE));
    return TRUE;
}

void CMFCPropertyGridCtrl::UpdateToolTip(POINT pt) {
    if (!m_hWndToolTip)
        return;
    const CMFCPropertyGridProperty* pRow = nullptr;
    bool bOnValue = false;
    int nIndex =
        GridRowAt(pt.y, ToGrid(m_rectList), m_nScroll, static_cast<int>(m_visible.size()), m_nRowHeight);
    if (nIndex >= 0) {
        CMFCPropertyGridProperty* pProp = m_visible[static_cast<size_t>(nIndex)];
        GridHitZone zone =
            GridHitTest(pt.x, ToGrid(pProp->m_Rect), pProp->IsGroup(), DividerX(), m_nRowHeight, Px(2));
        bOnValue = zone == GridHitZone::Value;
        if (bOnValue ? pProp->IsValueTruncated() : (zone == GridHitZone::Name && pProp->IsNameTruncated()))
            pRow = pProp;
    }
    if (pRow != m_pTipRow || bOnValue != m_bTipOnValue) {
        m_pTipRow = pRow;
        m_bTipOnValue = bOnValue;
        // A cell that shows whole gets no tip: the tooltip does not show an empty text.
        std::wstring strText = !pRow ? L"" : bOnValue ? pRow->GetValue() : pRow->GetName();
        TTTOOLINFOW ti = {};
        ti.cbSize = sizeof(ti);
        ti.hwnd = m_hWnd;
        ti.uId = kCellToolId;
        ti.lpszText = const_cast<wchar_t*>(strText.c_str());
        if (pRow) {
            ti.rect = pRow->GetRect();
            if (bOnValue)
                ti.rect.left = DividerX() + 1;
            else
                ti.rect.right = DividerX();
        }
        ::SendMessageW(m_hWndToolTip, TTM_POP, 0, 0);
        ::SendMessageW(m_hWndToolTip, TTM_NEWTOOLRECTW, 0, reinterpret_cast<LPARAM>(&ti));
        ::SendMessageW(m_hWndToolTip, TTM_UPDATETIPTEXTW, 0, reinterpret_cast<LPARAM>(&ti));
    }
    MSG msg = {};
    msg.hwnd = m_hWnd;
    msg.message = WM_MOUSEMOVE;
    msg.lParam = MAKELPARAM(pt.x, pt.y);
    msg.pt = pt;
    ::ClientToScreen(m_hWnd, &msg.pt);
    ::SendMessageW(m_hWndToolTip, TTM_RELAYEVENT, 0, reinterpret_cast<LPARAM>(&msg));
}

void CMFCPropertyGridCtrl::OnMouseWheel(short nDelta) {
    UINT nLines = 3;
    ::SystemParametersInfoW(SPI_GETWHEELSCROLLLINES, 0, &nLines, 0);
    int nPerNotch = nLines == WHEEL_PAGESCROLL ? PageRows() : static_cast<int>(nLines);
    int nRows = GridWheelRows(m_nWheelRemainder, nDelta, nPerNotch);
    if (nRows != 0)
        ScrollTo(m_nScroll + nRows);
}

void CMFCPropertyGridCtrl::OnVScroll(UINT nSBCode) {
    int nPage = PageRows();
    switch (nSBCode) {
    case SB_LINEUP:
        ScrollTo(m_nScroll - 1);
        break;
    case SB_LINEDOWN:
        ScrollTo(m_nScroll + 1);
        break;
    case SB_PAGEUP:
        ScrollTo(m_nScroll - nPage);
        break;
    case SB_PAGEDOWN:
        ScrollTo(m_nScroll + nPage);
        break;
    case SB_TOP:
        ScrollTo(0);
        break;
    case SB_BOTTOM:
        ScrollTo(static_cast<int>(m_visible.size()));
        break;
    case SB_THUMBTRACK:
    case SB_THUMBPOSITION: {
        SCROLLINFO si = {};
        si.cbSize = sizeof(si);
        si.fMask = SIF_TRACKPOS;
        ::GetScrollInfo(m_hWnd, SB_VERT, &si);
        ScrollTo(si.nTrackPos);
        break;
    }
    default:
        break;
    }
}

void CMFCPropertyGridCtrl::OnKeyDown(UINT nChar) {
    int nCount = static_cast<int>(m_visible.size());
    int nCurrent = VisibleIndexOf(m_pSel);
    auto navigate = [&](GridKey key) {
        int nIndex = GridNavigate(nCurrent, nCount, PageRows(), key);
        if (nIndex >= 0)
            SetCurSel(m_visible[static_cast<size_t>(nIndex)]);
    };
    switch (nChar) {
    case VK_UP:
        navigate(GridKey::Up);
        break;
    case VK_DOWN:
        navigate(GridKey::Down);
        break;
    case VK_HOME:
        navigate(GridKey::Home);
        break;
    case VK_END:
        navigate(GridKey::End);
        break;
    case VK_PRIOR:
        navigate(GridKey::PageUp);
        break;
    case VK_NEXT:
        navigate(GridKey::PageDown);
        break;
    case VK_ADD:
    case VK_OEM_PLUS:
        if (m_pSel && m_pSel->IsGroup())
            m_pSel->Expand(TRUE);
        break;
    case VK_SUBTRACT:
    case VK_OEM_MINUS:
        if (m_pSel && m_pSel->IsGroup())
            m_pSel->Expand(FALSE);
        break;
    case 'C':
    case VK_INSERT:
        if (::GetKeyState(VK_CONTROL) < 0)
            CopySelection();
        break;
    case VK_LEFT:
        // Left closes an open group, then climbs to the parent.
        if (m_pSel && m_pSel->IsGroup() && m_pSel->IsExpanded())
            m_pSel->Expand(FALSE);
        else if (m_pSel && m_pSel->GetParent())
            SetCurSel(m_pSel->GetParent());
        break;
    case VK_RIGHT:
        // Right opens a closed group, then steps to its first row.
        if (m_pSel && m_pSel->IsGroup() && !m_pSel->IsExpanded())
            m_pSel->Expand(TRUE);
        else if (m_pSel && m_pSel->GetSubItemsCount() > 0)
            SetCurSel(m_pSel->GetSubItem(0));
        break;
    default:
        break;
    }
}

void CMFCPropertyGridCtrl::OnHeaderItemChanged(NMHEADERW* pHeader) {
    if (m_bUpdatingHeader || pHeader->iItem != 0 || !pHeader->pitem || !(pHeader->pitem->mask & HDI_WIDTH))
        return;
    m_bLeftColumnSet = true;
    m_nLeftColumnWidth =
        GridClampLeftColumn(pHeader->pitem->cxy, m_rectList.right - m_rectList.left, 2 * m_nRowHeight);
    UpdateHeader();
    Invalidate(FALSE);
}
