#include "XListCtrl.h"

#include <algorithm>
#include <cstring>
#include <new>
#include <optional>

#include "XListAccessible.h"
#include "XListCellRules.h"
#include "common/AnsiText.h"

namespace {

constexpr COLORREF kNoColor = 0xFFFFFFFF;
constexpr UINT kPlainTextFlags = DT_SINGLELINE | DT_VCENTER;
constexpr UINT kCentredTextFlags = DT_SINGLELINE | DT_VCENTER | DT_CENTER;

// Signed client coordinates of a mouse message or message position.
POINT PointFromLParam(LPARAM lParam) {
    return {static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))};
}

CellRect ToCell(const RECT& rc) {
    return {rc.left, rc.top, rc.right, rc.bottom};
}
RECT ToRect(const CellRect& rc) {
    return {rc.left, rc.top, rc.right, rc.bottom};
}
bool IsEmptyRect(const RECT& rc) {
    return rc.right <= rc.left || rc.bottom <= rc.top;
}

// A plain fill through the background colour: no brush to make.
void FillSolidRect(HDC hDC, const RECT& rc, COLORREF cr) {
    COLORREF crOld = ::SetBkColor(hDC, cr);
    ::ExtTextOutW(hDC, 0, 0, ETO_OPAQUE, &rc, nullptr, 0, nullptr);
    ::SetBkColor(hDC, crOld);
}

// One-pixel frame: top and left in one colour, right and bottom in the other.
void Draw3dRect(HDC hDC, const RECT& rc, COLORREF crTopLeft, COLORREF crBottomRight) {
    const int w = rc.right - rc.left, h = rc.bottom - rc.top;
    FillSolidRect(hDC, {rc.left, rc.top, rc.left + w - 1, rc.top + 1}, crTopLeft);
    FillSolidRect(hDC, {rc.left, rc.top, rc.left + 1, rc.top + h - 1}, crTopLeft);
    FillSolidRect(hDC, {rc.right - 1, rc.top, rc.right, rc.bottom}, crBottomRight);
    FillSolidRect(hDC, {rc.left, rc.bottom - 1, rc.right, rc.bottom}, crBottomRight);
}

// Text colour, background colour and mode for one text draw, put back when the scope ends.
class CTextColors {
public:
    CTextColors(HDC hDC, COLORREF crText, COLORREF crBackground)
        : m_hDC(hDC), m_nOldMode(::SetBkMode(hDC, TRANSPARENT)), m_crOldText(::SetTextColor(hDC, crText)),
          m_crOldBk(::SetBkColor(hDC, crBackground)) {}
    ~CTextColors() {
        ::SetBkColor(m_hDC, m_crOldBk);
        ::SetTextColor(m_hDC, m_crOldText);
        ::SetBkMode(m_hDC, m_nOldMode);
    }
    CTextColors(const CTextColors&) = delete;
    CTextColors& operator=(const CTextColors&) = delete;

private:
    HDC m_hDC;
    int m_nOldMode;
    COLORREF m_crOldText;
    COLORREF m_crOldBk;
};

// Clips the DC to a rectangle (logical units) until the scope ends, then puts back the clip it had.
class CClipScope {
public:
    explicit CClipScope(HDC hDC) : m_hDC(hDC), m_hOld(::CreateRectRgn(0, 0, 0, 0)) {
        m_bHadClip = m_hOld && ::GetClipRgn(hDC, m_hOld.get()) == 1;
    }
    ~CClipScope() { ::SelectClipRgn(m_hDC, m_bHadClip ? m_hOld.get() : nullptr); }
    CClipScope(const CClipScope&) = delete;
    CClipScope& operator=(const CClipScope&) = delete;
    void ClipTo(const RECT& rc) {
        POINT corners[2] = {{rc.left, rc.top}, {rc.right, rc.bottom}};
        ::LPtoDP(m_hDC, corners, 2);
        unique_hrgn hRgn(::CreateRectRgn(corners[0].x, corners[0].y, corners[1].x, corners[1].y));
        ::SelectClipRgn(m_hDC, hRgn.get());
        // The old clip still limits the new one.
        if (m_bHadClip)
            ::ExtSelectClipRgn(m_hDC, m_hOld.get(), RGN_AND);
    }

private:
    HDC m_hDC;
    unique_hrgn m_hOld;
    bool m_bHadClip = false;
};

} // namespace

CXListCtrl::CXListCtrl() {
    LoadSystemColors();
}

CXListCtrl::~CXListCtrl() = default;

void CXListCtrl::LoadSystemColors() {
    m_crBtnFace = ::GetSysColor(COLOR_BTNFACE);
    m_crBtnShadow = ::GetSysColor(COLOR_BTNSHADOW);
    m_crGrayText = ::GetSysColor(COLOR_GRAYTEXT);
    m_crHighlight = ::GetSysColor(COLOR_HIGHLIGHT);
    m_crHighlightText = ::GetSysColor(COLOR_HIGHLIGHTTEXT);
    m_crWindow = ::GetSysColor(COLOR_WINDOW);
    m_crWindowText = ::GetSysColor(COLOR_WINDOWTEXT);
}

void CXListCtrl::DeclareMessageMap(CMessageMap& map) {
    PreSubclassWindow();
    map.CustomDrawReflect(*this);
    map.Message(WM_CREATE, [this](WPARAM wParam, LPARAM lParam) -> LRESULT {
        return Default(WM_CREATE, wParam, lParam) == -1 ? -1 : 0;
    });
    map.Message(WM_ERASEBKGND,
                [this](WPARAM wParam, LPARAM) { return OnEraseBkgnd(reinterpret_cast<HDC>(wParam)); });
    map.Message(WM_LBUTTONDOWN,
                [this](WPARAM wParam, LPARAM lParam) { return OnLButtonDown(wParam, lParam); });
    map.Message(WM_RBUTTONDOWN,
                [this](WPARAM wParam, LPARAM lParam) { return OnRButtonDown(wParam, lParam); });
    map.Message(WM_KEYDOWN, [this](WPARAM wParam, LPARAM lParam) { return OnKeyDown(wParam, lParam); });
    map.Message(WM_MOUSEWHEEL, [this](WPARAM wParam, LPARAM lParam) -> LRESULT {
        ::SendMessageW(::GetParent(m_hWnd), WM_XLIST_MOUSEWHEEL, reinterpret_cast<WPARAM>(this), 0);
        Default(WM_MOUSEWHEEL, wParam, lParam);
        return 1;
    });
    map.Message(WM_SYSCOLORCHANGE, [this](WPARAM wParam, LPARAM lParam) {
        LRESULT lResult = Default(WM_SYSCOLORCHANGE, wParam, lParam);
        LoadSystemColors();
        CHeaderItemPainter::Reset();
        Invalidate(TRUE);
        return lResult;
    });
    map.Message(WM_THEMECHANGED, [this](WPARAM wParam, LPARAM lParam) {
        CHeaderItemPainter::Reset();
        return Default(WM_THEMECHANGED, wParam, lParam);
    });
    map.Message(WM_GETOBJECT, [this](WPARAM wParam, LPARAM lParam) {
        LRESULT lResult =
            m_accessible.Answer(wParam, lParam, [this] { return CXListAccessible::Create(this); });
        return lResult ? lResult : Default(WM_GETOBJECT, wParam, lParam);
    });
    // The focus cue comes and goes with the focus; the keyboard cell starts on the first cell it may take.
    for (UINT nMsg : {UINT{WM_SETFOCUS}, UINT{WM_KILLFOCUS}}) {
        map.Message(nMsg, [this, nMsg](WPARAM wParam, LPARAM lParam) {
            LRESULT lResult = Default(nMsg, wParam, lParam);
            if (nMsg == WM_SETFOCUS && !IsKeyCellUsable(m_keyCell.row, m_keyCell.col))
                m_keyCell = MoveKeyCell(
                    GetItemCount(), GetColumnCount(),
                    [this](int32_t r, int32_t c) { return IsKeyCellUsable(r, c); }, m_keyCell,
                    KeyCellMove::First);
            RepaintKeyCell();
            return lResult;
        });
    }
    // Space ticks through WM_KEYDOWN; its character must not start the list's type-ahead search.
    map.Message(WM_CHAR, [this](WPARAM wParam, LPARAM lParam) -> LRESULT {
        if (wParam == L' ' && IsKeyCellUsable(m_keyCell.row, m_keyCell.col))
            return 0;
        return Default(WM_CHAR, wParam, lParam);
    });
    map.Message(WM_SETREDRAW, [this](WPARAM wParam, LPARAM lParam) {
        m_bRedraw = wParam != 0;
        return Default(WM_SETREDRAW, wParam, lParam);
    });
    map.Message(WM_DESTROY, [this](WPARAM wParam, LPARAM lParam) {
        m_accessible.Disconnect();
        FreeAllRecords();
        return Default(WM_DESTROY, wParam, lParam);
    });
    map.Message(WM_NOTIFY, [this](WPARAM wParam, LPARAM lParam) {
        auto* pHdr = reinterpret_cast<NMHDR*>(lParam);
        if (pHdr->code == NM_CUSTOMDRAW && pHdr->hwndFrom == GetHeaderCtrl())
            return m_headerPainter.OnCustomDraw(*reinterpret_cast<NMCUSTOMDRAW*>(lParam));
        LRESULT lResult = 0;
        // A request the tooltip handler declines (sender id 0) goes on to the list itself.
        if ((pHdr->code == TTN_NEEDTEXTW || pHdr->code == TTN_NEEDTEXTA) &&
            !OnToolTipText(static_cast<UINT>(pHdr->idFrom), pHdr, &lResult))
            return lResult;
        return Default(WM_NOTIFY, wParam, lParam);
    });
}

// ---------------------------------------------------------------------------------------------------------
// Records

CXListCtrl::Row* CXListCtrl::GetRow(int nItem) const {
    if (nItem < 0 || nItem >= GetItemCount())
        return nullptr;
    // Only item data that this control handed out is taken as records.
    auto it = m_records.find(static_cast<LPARAM>(GetItemData(nItem)));
    return it == m_records.end() ? nullptr : it->second.get();
}

XListCellData* CXListCtrl::GetCell(int nItem, int nSubItem) const {
    Row* pRow = GetRow(nItem);
    // Columns added after the row have no record in its array: such a cell has no data.
    if (!pRow || nSubItem < 0 || static_cast<size_t>(nSubItem) >= pRow->size())
        return nullptr;
    return &(*pRow)[static_cast<size_t>(nSubItem)];
}

int CXListCtrl::GetColumnCount() const {
    HWND hHeader = GetHeaderCtrl();
    return hHeader ? static_cast<int>(::SendMessageW(hHeader, HDM_GETITEMCOUNT, 0, 0)) : 0;
}

bool CXListCtrl::IsValidCell(int nItem, int nSubItem) const {
    return nItem >= 0 && nItem < GetItemCount() && nSubItem >= 0 && nSubItem < GetColumnCount();
}

int CXListCtrl::InsertItem(int nItem, COLORREF crText, COLORREF crBackground) {
    if (nItem < 0)
        return -1;
    int nRow = CListCtrl::InsertItem(nItem, L"");
    if (nRow < 0)
        return nRow;
    std::unique_ptr<Row> pRow;
    try {
        const int nColumns = GetColumnCount();
        // A row needs at least column 0's record, which holds its colours and its enabled state.
        pRow = std::make_unique<Row>(static_cast<size_t>(std::max(nColumns, 1)));
        for (XListCellData& cell : *pRow) {
            cell.crText = m_crWindowText;
            cell.crBackground = m_crWindow;
        }
        (*pRow)[0].crText = crText;
        (*pRow)[0].crBackground = crBackground;
        const LPARAM key = reinterpret_cast<LPARAM>(pRow.get());
        m_records.emplace(key, std::move(pRow));
        SetItemData(nRow, static_cast<DWORD_PTR>(key));
    } catch (const std::bad_alloc&) {
        return -1;
    }
    return nRow;
}

BOOL CXListCtrl::SetItemText(int nItem, int nSubItem, const wchar_t* pszText, COLORREF crText,
                             COLORREF crBackground) {
    if (!IsValidCell(nItem, nSubItem))
        return FALSE;
    if (pszText && !CListCtrl::SetItemText(nItem, nSubItem, pszText))
        return FALSE;
    if (XListCellData* pCell = GetCell(nItem, nSubItem)) {
        pCell->crText = crText == kNoColor ? m_crWindowText : crText;
        pCell->crBackground = crBackground == kNoColor ? m_crWindow : crBackground;
    }
    UpdateSubItem(nItem, nSubItem);
    return TRUE;
}

namespace {

// The pattern of every cell setter: index checks, a row with data, store, repaint.
template <typename Fn> BOOL SetCellField(XListCellData* pCell, bool bValid, Fn store) {
    if (!bValid || !pCell)
        return FALSE;
    store(*pCell);
    return TRUE;
}

} // namespace

BOOL CXListCtrl::SetCheckbox(int nItem, int nSubItem, int nCheckedState) {
    BOOL bDone =
        SetCellField(GetCell(nItem, nSubItem), IsValidCell(nItem, nSubItem),
                     [&](XListCellData& cell) { StoreCheckState(nItem, nSubItem, cell, nCheckedState); });
    if (bDone)
        UpdateSubItem(nItem, nSubItem);
    return bDone;
}

BOOL CXListCtrl::ToggleCheckbox(int nItem, int nSubItem) {
    XListCellData* pCell = IsValidCell(nItem, nSubItem) ? GetCell(nItem, nSubItem) : nullptr;
    if (!pCell || pCell->nCheckedState < 0 || !IsEnabled(nItem))
        return FALSE;
    pCell->bModified = TRUE;
    m_bListModified = TRUE;
    StoreCheckState(nItem, nSubItem, *pCell, pCell->nCheckedState == 0 ? 1 : 0);
    // The keyboard goes on from the box the mouse ticked.
    const KeyCell previous = m_keyCell;
    m_keyCell = {nItem, nSubItem};
    if (!(previous == m_keyCell) && IsValidCell(previous.row, previous.col))
        UpdateSubItem(previous.row, previous.col);
    UpdateSubItem(nItem, nSubItem);
    return TRUE;
}

void CXListCtrl::StoreCheckState(int nItem, int nSubItem, XListCellData& cell, int nCheckedState) {
    const bool bChanged = cell.nCheckedState != nCheckedState;
    cell.nCheckedState = nCheckedState;
    if (bChanged)
        NotifyAccessibleEvent(m_hWnd, EVENT_OBJECT_STATECHANGE,
                              XListChildId(nItem, nSubItem, GetColumnCount()));
}

int CXListCtrl::GetCheckbox(int nItem, int nSubItem) const {
    XListCellData* pCell = IsValidCell(nItem, nSubItem) ? GetCell(nItem, nSubItem) : nullptr;
    return pCell ? pCell->nCheckedState : -1;
}

BOOL CXListCtrl::GetModified(int nItem, int nSubItem) const {
    XListCellData* pCell = IsValidCell(nItem, nSubItem) ? GetCell(nItem, nSubItem) : nullptr;
    return pCell ? pCell->bModified : FALSE;
}

BOOL CXListCtrl::SetBold(int nItem, int nSubItem, BOOL bBold) {
    BOOL bDone = SetCellField(GetCell(nItem, nSubItem), IsValidCell(nItem, nSubItem),
                              [&](XListCellData& cell) { cell.bBold = bBold; });
    if (bDone)
        UpdateSubItem(nItem, nSubItem);
    return bDone;
}

BOOL CXListCtrl::SetEnabled(int nItem, BOOL bEnabled) {
    BOOL bDone = SetCellField(GetCell(nItem, 0), IsValidCell(nItem, 0),
                              [&](XListCellData& cell) { cell.bEnabled = bEnabled; });
    if (bDone) {
        // The whole row changes colour.
        RECT rc = {LVIR_BOUNDS, 0, 0, 0};
        if (SendMessage(LVM_GETITEMRECT, static_cast<WPARAM>(nItem), reinterpret_cast<LPARAM>(&rc)))
            ::InvalidateRect(m_hWnd, &rc, TRUE);
    }
    return bDone;
}

BOOL CXListCtrl::IsEnabled(int nItem) const {
    XListCellData* pCell = GetCell(nItem, 0);
    return pCell && pCell->bEnabled;
}

BOOL CXListCtrl::SetItemImage(int nItem, int nSubItem, int nImage) {
    BOOL bDone = SetCellField(GetCell(nItem, nSubItem), IsValidCell(nItem, nSubItem),
                              [&](XListCellData& cell) { cell.nImage = nImage; });
    if (bDone)
        UpdateSubItem(nItem, nSubItem);
    return bDone;
}

BOOL CXListCtrl::SetItemToolTipText(int nItem, int nSubItem, const std::wstring& strToolTip) {
    return SetCellField(GetCell(nItem, nSubItem), IsValidCell(nItem, nSubItem),
                        [&](XListCellData& cell) { cell.strToolTip = strToolTip; });
}

BOOL CXListCtrl::SetConsumeClicks(int nItem, int nSubItem, BOOL bConsume) {
    return SetCellField(GetCell(nItem, nSubItem), IsValidCell(nItem, nSubItem),
                        [&](XListCellData& cell) { cell.bConsumeClicks = bConsume; });
}

BOOL CXListCtrl::SetProgress(int nItem, int nSubItem, int nPercent, BOOL bShowText,
                             const std::wstring& strFormat) {
    BOOL bDone =
        SetCellField(GetCell(nItem, nSubItem), IsValidCell(nItem, nSubItem), [&](XListCellData& cell) {
            cell.bShowProgress = TRUE;
            cell.nProgressPercent = nPercent;
            cell.bShowProgressText = bShowText;
            cell.strProgressFormat = strFormat;
        });
    if (bDone)
        UpdateSubItem(nItem, nSubItem);
    return bDone;
}

BOOL CXListCtrl::ClearProgress(int nItem, int nSubItem) {
    BOOL bDone = SetCellField(GetCell(nItem, nSubItem), IsValidCell(nItem, nSubItem),
                              [&](XListCellData& cell) { cell.bShowProgress = FALSE; });
    if (bDone)
        UpdateSubItem(nItem, nSubItem);
    return bDone;
}

BOOL CXListCtrl::SetComboLook(int nItem, int nSubItem, BOOL bCombo) {
    BOOL bDone = SetCellField(GetCell(nItem, nSubItem), IsValidCell(nItem, nSubItem),
                              [&](XListCellData& cell) { cell.bCombo = bCombo; });
    if (bDone)
        UpdateSubItem(nItem, nSubItem);
    return bDone;
}

void CXListCtrl::FreeAllRecords() {
    if (m_hWnd) {
        const int nCount = GetItemCount();
        for (int i = 0; i < nCount; ++i) {
            if (m_records.count(static_cast<LPARAM>(GetItemData(i))))
                SetItemData(i, 0);
        }
    }
    m_records.clear();
    m_paint.nItem = -1;
    m_paint.pRow = nullptr;
}

void CXListCtrl::DeleteAllItems() {
    m_keyCell = KeyCell{};
    FreeAllRecords();
    CListCtrl::DeleteAllItems();
}

void CXListCtrl::UpdateSubItem(int nItem, int nSubItem) {
    // A hidden list, or one whose owner has suspended its redrawing to fill it, paints nothing now and
    // everything once it shows: the cell's rectangle is not worth asking for, cell after cell.
    if (!m_bRedraw || !::IsWindowVisible(m_hWnd))
        return;
    RECT rc;
    if (!IsValidCell(nItem, nSubItem) || !GetCellRect(nItem, nSubItem, &rc))
        return;
    ::InflateRect(&rc, 2, 2);
    ::InvalidateRect(m_hWnd, &rc, TRUE);
    ::UpdateWindow(m_hWnd);
}

BOOL CXListCtrl::GetCellRect(int nItem, int nSubItem, RECT* pRect) const {
    return CellBounds(nItem, nSubItem, GetItemCount(), GetColumnCount(), pRect);
}

BOOL CXListCtrl::CellBounds(int nItem, int nSubItem, int nItems, int nColumns, RECT* pRect) const {
    if (nItem < 0 || nItem >= nItems || nSubItem < 0 || nSubItem >= nColumns)
        return FALSE;
    if (!GetSubItemRect(nItem, nSubItem, LVIR_BOUNDS, pRect))
        return FALSE;
    if (nSubItem == 0 && nColumns > 1) {
        // Column 0's rectangle spans the whole row: it ends where the first later column with a width
        // begins.
        std::vector<int32_t> lefts, widths;
        for (int nCol = 1; nCol < nColumns; ++nCol) {
            RECT rcCol;
            if (!GetSubItemRect(nItem, nCol, LVIR_BOUNDS, &rcCol))
                rcCol = RECT{};
            lefts.push_back(rcCol.left);
            widths.push_back(rcCol.right - rcCol.left);
            if (widths.back() > 0)
                break;
        }
        pRect->right = ColumnZeroRight(pRect->right, lefts, widths);
    }
    return TRUE;
}

// ---------------------------------------------------------------------------------------------------------
// Painting

DWORD CXListCtrl::OnPrePaint(NMCUSTOMDRAW&) {
    // Once per paint, so a window moved to a screen of another DPI paints in proportion there too.
    m_nPaintDpi = AfxGetWindowDpi(m_hWnd);
    // What the list's state gives every cell of this paint, asked once.
    m_paint.nItems = GetItemCount();
    m_paint.nColumns = GetColumnCount();
    m_paint.bFullRowSelect = (SendMessage(LVM_GETEXTENDEDLISTVIEWSTYLE) & LVS_EX_FULLROWSELECT) != 0;
    m_paint.bFocused = ::GetFocus() == m_hWnd;
    m_paint.bShowSelAlways = (::GetWindowLongW(m_hWnd, GWL_STYLE) & LVS_SHOWSELALWAYS) != 0;
    m_paint.hImages = reinterpret_cast<HIMAGELIST>(SendMessage(LVM_GETIMAGELIST, LVSIL_SMALL));
    m_paint.columnAlign.assign(static_cast<size_t>(std::max(m_paint.nColumns, 0)), 0);
    for (int nCol = 0; nCol < m_paint.nColumns; ++nCol) {
        HDITEMW hdi = {};
        hdi.mask = HDI_FORMAT;
        if (::SendMessageW(GetHeaderCtrl(), HDM_GETITEMW, static_cast<WPARAM>(nCol),
                           reinterpret_cast<LPARAM>(&hdi))) {
            if ((hdi.fmt & HDF_JUSTIFYMASK) == HDF_CENTER)
                m_paint.columnAlign[static_cast<size_t>(nCol)] = DT_CENTER;
            else if ((hdi.fmt & HDF_JUSTIFYMASK) == HDF_RIGHT)
                m_paint.columnAlign[static_cast<size_t>(nCol)] = DT_RIGHT;
        }
    }
    return CDRF_NOTIFYITEMDRAW;
}

DWORD CXListCtrl::OnItemPrePaint(NMCUSTOMDRAW& cd) {
    m_paint.nItem = static_cast<int>(cd.dwItemSpec);
    m_paint.bItemSelected =
        (SendMessage(LVM_GETITEMSTATE, cd.dwItemSpec, LVIS_SELECTED) & LVIS_SELECTED) != 0;
    m_paint.pRow = GetRow(m_paint.nItem);
    // The whole row is painted here: left to the list view, every cell would cost it a notification and
    // its own preparation, which grows with the number of columns. Cells outside the paint are skipped.
    for (int nSubItem = 0; nSubItem < m_paint.nColumns; ++nSubItem) {
        RECT rc = {};
        if (!CellBounds(m_paint.nItem, nSubItem, m_paint.nItems, m_paint.nColumns, &rc))
            rc = RECT{};
        else if (!::RectVisible(cd.hdc, &rc))
            continue;
        PaintCell(cd.hdc, m_paint.nItem, nSubItem, rc);
        DrawCellCues(cd.hdc, m_paint.nItem, nSubItem, rc);
    }
    return CDRF_SKIPDEFAULT;
}

void CXListCtrl::PaintCell(HDC hDC, int nItem, int nSubItem, RECT rect) {
    COLORREF crText = m_crWindowText;
    COLORREF crBackground = m_crWindow;
    Row* pRow = nItem == m_paint.nItem ? m_paint.pRow : GetRow(nItem);
    const XListCellData* pCell =
        pRow && nSubItem >= 0 && static_cast<size_t>(nSubItem) < pRow->size() ? &(*pRow)[nSubItem] : nullptr;
    if (pCell) {
        crText = pCell->crText;
        crBackground = pCell->crBackground;
        if (!(*pRow)[0].bEnabled)
            crText = m_crGrayText;
    }
    if (pCell && (pCell->bCombo || pCell->bShowProgress || pCell->nCheckedState != -1)) {
        if (IsEmptyRect(rect))
            return;
        if (pCell->bCombo)
            DrawCombo(nItem, nSubItem, hDC, crText, crBackground, rect, *pRow);
        else if (pCell->bShowProgress)
            DrawProgress(nSubItem, hDC, crText, rect, *pRow);
        else
            DrawCheckbox(nItem, nSubItem, hDC, crText, crBackground, rect, *pRow);
        return;
    }
    int nImageWidth = 0;
    if (!IsEmptyRect(rect)) {
        RECT rcImage = rect;
        nImageWidth = DrawImage(nItem, nSubItem, hDC, crText, crBackground, rcImage, pRow);
    }
    rect.left += nImageWidth;
    if (!IsEmptyRect(rect))
        DrawCellText(nItem, nSubItem, hDC, crText, crBackground, rect, pRow);
}

void CXListCtrl::GetDrawColors(int, int, COLORREF&, COLORREF&) const {
    // A selected row keeps every cell's own colours, so the inks stay readable; DrawCellCues outlines it.
}

void CXListCtrl::DrawCellCues(HDC hDC, int nItem, int nSubItem, const RECT& rc) {
    if (nItem < 0)
        return;
    const bool bFocused = m_paint.bFocused;
    const bool bSelected =
        nItem == m_paint.nItem
            ? m_paint.bItemSelected
            : (SendMessage(LVM_GETITEMSTATE, static_cast<WPARAM>(nItem), LVIS_SELECTED) & LVIS_SELECTED) != 0;
    const bool bFullRow = m_paint.bFullRowSelect;
    const bool bShowAlways = m_paint.bShowSelAlways;
    const bool bBand = bSelected && (bFullRow || nSubItem == 0) && (bFocused || bShowAlways);
    const bool bKeyCell = bFocused && m_keyCell == KeyCell{nItem, nSubItem};
    // Most cells carry no cue: they cost the paint nothing more.
    if ((!bBand && !bKeyCell) || IsEmptyRect(rc))
        return;
    const int nSaved = ::SaveDC(hDC);
    // The cues go round a check box, never across it.
    if (const XListCellData* pCell = GetCell(nItem, nSubItem); pCell && pCell->nCheckedState >= 0) {
        const RECT box =
            ToRect(CheckboxRect(ToCell(rc), GetItemText(nItem, nSubItem).empty(), Px(kCheckboxLeftInset)));
        ::ExcludeClipRect(hDC, box.left, box.top, box.right, box.bottom);
    }
    if (bBand) {
        // A band of two pixels along the row's top and bottom edges and at its two ends.
        const COLORREF cr = bFocused ? m_crHighlight : m_crBtnShadow;
        const int kBand = Px(2);
        FillSolidRect(hDC, {rc.left, rc.top, rc.right, rc.top + kBand}, cr);
        FillSolidRect(hDC, {rc.left, rc.bottom - kBand, rc.right, rc.bottom}, cr);
        int nFirst = -1, nLast = -1;
        for (int nCol = 0; nCol < m_paint.nColumns; ++nCol) {
            if (GetColumnWidth(nCol) > 0) {
                nFirst = nFirst < 0 ? nCol : nFirst;
                nLast = nCol;
            }
        }
        if (nSubItem == nFirst || !bFullRow)
            FillSolidRect(hDC, {rc.left, rc.top, rc.left + kBand, rc.bottom}, cr);
        if (nSubItem == nLast || !bFullRow)
            FillSolidRect(hDC, {rc.right - kBand, rc.top, rc.right, rc.bottom}, cr);
    }
    if (bKeyCell && IsKeyCellUsable(nItem, nSubItem)) {
        RECT rcFocus = rc;
        ::InflateRect(&rcFocus, -Px(3), -Px(3));
        CTextColors colors(hDC, m_crWindowText, m_crWindow);
        ::SetBkMode(hDC, OPAQUE);
        ::DrawFocusRect(hDC, &rcFocus);
    }
    ::RestoreDC(hDC, nSaved);
}

void CXListCtrl::DrawCheckbox(int nItem, int nSubItem, HDC hDC, COLORREF crText, COLORREF crBackground,
                              const RECT& rect, const Row& row) {
    GetDrawColors(nItem, nSubItem, crText, crBackground);
    FillSolidRect(hDC, rect, crBackground);

    const XListCellData& cell = row[static_cast<size_t>(nSubItem)];
    const std::wstring strText = GetItemText(nItem, nSubItem);
    const RECT box = ToRect(CheckboxRect(ToCell(rect), strText.empty(), Px(kCheckboxLeftInset)));
    FillSolidRect(hDC, box, m_crWindow);
    if (!m_hCheckboxFrame)
        m_hCheckboxFrame.reset(::CreateSolidBrush(kCheckboxFrameColor));
    ::FrameRect(hDC, &box, m_hCheckboxFrame.get());

    if (cell.nCheckedState == 1) {
        const COLORREF crMark = row[0].bEnabled ? kCheckMarkColor : m_crGrayText;
        if (!m_hCheckPen || m_crCheckPen != crMark || m_nCheckPenWidth != Px(2)) {
            m_hCheckPen.reset(::CreatePen(PS_SOLID, Px(2), crMark));
            m_crCheckPen = crMark;
            m_nCheckPenWidth = Px(2);
        }
        CSelectObject selectPen(hDC, m_hCheckPen.get());
        const std::vector<CellPoint> points = CheckMarkPoints(ToCell(box));
        for (size_t i = 0; i < points.size(); ++i) {
            if (i == 0)
                ::MoveToEx(hDC, points[i].x, points[i].y, nullptr);
            else
                ::LineTo(hDC, points[i].x, points[i].y);
        }
    }

    if (!strText.empty()) {
        CTextColors colors(hDC, crText, crBackground);
        RECT rcText = ToRect(CheckboxTextRect(ToCell(rect), ToCell(box), Px(kCheckboxTextGap)));
        ::DrawTextW(hDC, strText.c_str(), -1, &rcText,
                    kPlainTextFlags | (m_bUseEllipsis ? DT_END_ELLIPSIS : 0));
    }
}

void CXListCtrl::DrawProgress(int nSubItem, HDC hDC, COLORREF crText, RECT& rect, const Row& row) {
    const XListCellData& cell = row[static_cast<size_t>(nSubItem)];
    const ProgressLayout layout = LayOutProgress(ToCell(rect), cell.nProgressPercent);
    rect = ToRect(layout.bar);
    FillSolidRect(hDC, rect, kProgressTroughColor);
    Draw3dRect(hDC, rect, kProgressEdgeColor, m_crBtnShadow);
    if (cell.nProgressPercent <= 0)
        return;
    const RECT rcFilled = ToRect(layout.filled);
    // A bar too short to fill a pixel fills nothing: an inverted rectangle would paint over the frame.
    if (!layout.filled.IsEmpty())
        FillSolidRect(hDC, rcFilled, m_crHighlight);
    if (!cell.bShowProgressText)
        return;

    const std::wstring strText = FormatProgressText(cell.strProgressFormat, cell.nProgressPercent);
    const int nOldMode = ::SetBkMode(hDC, TRANSPARENT);
    const COLORREF crOldText = ::GetTextColor(hDC);
    RECT rcText = ToRect(layout.text);
    {
        CClipScope clip(hDC);
        clip.ClipTo(rcFilled);
        ::SetTextColor(hDC, m_crHighlightText);
        ::DrawTextW(hDC, strText.c_str(), -1, &rcText, kCentredTextFlags);
        clip.ClipTo(ToRect(layout.rest));
        ::SetTextColor(hDC, crText);
        ::DrawTextW(hDC, strText.c_str(), -1, &rcText, kCentredTextFlags);
    }
    ::SetTextColor(hDC, crOldText);
    ::SetBkMode(hDC, nOldMode);
}

void CXListCtrl::DrawCombo(int nItem, int nSubItem, HDC hDC, COLORREF crText, COLORREF crBackground,
                           const RECT& rect, const Row&) {
    GetDrawColors(nItem, nSubItem, crText, crBackground);
    FillSolidRect(hDC, rect, crBackground);
    DrawComboArrow(hDC, ToRect(ComboArrowRect(ToCell(rect))), crText);
    const std::wstring strText = GetItemText(nItem, nSubItem);
    if (!strText.empty()) {
        CTextColors colors(hDC, crText, crBackground);
        RECT rcText = ToRect(ComboTextRect(ToCell(rect)));
        ::DrawTextW(hDC, strText.c_str(), -1, &rcText,
                    kCentredTextFlags | (m_bUseEllipsis ? DT_END_ELLIPSIS : 0));
    }
}

void CXListCtrl::DrawComboArrow(HDC hDC, const RECT& rect, COLORREF cr) {
    // Started with the first arrow: a list without drop-down cells never needs the library.
    if (!m_gdiPlus)
        m_gdiPlus.emplace();
    if (!m_gdiPlus->IsStarted())
        return;
    const std::vector<CellPoint> corners = ComboArrowPoints(ToCell(rect));
    Gdiplus::Point points[3];
    for (size_t i = 0; i < 3; ++i)
        points[i] = Gdiplus::Point(corners[i].x, corners[i].y);
    const Gdiplus::ARGB argb = 0xFF000000u | (static_cast<Gdiplus::ARGB>(GetRValue(cr)) << 16) |
                               (static_cast<Gdiplus::ARGB>(GetGValue(cr)) << 8) | GetBValue(cr);
    unique_gdip_pen pPen = AfxGdipCreatePen(argb, 1.0f);
    unique_gdip_solid_fill pBrush = AfxGdipCreateSolidFill(argb);
    unique_gdip_graphics pGraphics = AfxGdipCreateFromHDC(hDC);
    if (!pPen || !pBrush || !pGraphics)
        return;
    Gdiplus::DllExports::GdipDrawPolygonI(pGraphics.get(), pPen.get(), points, 3);
    Gdiplus::DllExports::GdipFillPolygonI(pGraphics.get(), pBrush.get(), points, 3,
                                          Gdiplus::FillModeAlternate);
}

int CXListCtrl::DrawImage(int nItem, int nSubItem, HDC hDC, COLORREF crText, COLORREF crBackground,
                          const RECT& rect, const Row* pRow) {
    GetDrawColors(nItem, nSubItem, crText, crBackground);
    FillSolidRect(hDC, rect, crBackground);
    HIMAGELIST hImageList = m_paint.hImages;
    const XListCellData* pCell = pRow && static_cast<size_t>(nSubItem) < pRow->size()
                                     ? &(*pRow)[static_cast<size_t>(nSubItem)]
                                     : nullptr;
    if (!hImageList || !pCell || pCell->nImage == -1)
        return 0;
    IMAGEINFO info = {};
    int w = 0, h = 0;
    if (::ImageList_GetImageInfo(hImageList, pCell->nImage, &info)) {
        w = info.rcImage.right - info.rcImage.left;
        h = info.rcImage.bottom - info.rcImage.top;
    }
    if (pCell->nImage < 0 || rect.right - rect.left <= 0)
        return 0;

    const COLORREF crOldBk = ::ImageList_GetBkColor(hImageList);
    ::ImageList_SetBkColor(hImageList, crBackground);
    IMAGELISTDRAWPARAMS params = {};
    params.cbSize = sizeof(params);
    params.himl = hImageList;
    params.i = pCell->nImage;
    params.hdcDst = hDC;
    params.x = rect.left;
    params.y = (rect.top + rect.bottom) / 2 - h / 2;
    params.cx = std::min<int>(rect.right - rect.left, w);
    params.cy = std::min<int>(rect.bottom - rect.top, h);
    params.rgbBk = CLR_DEFAULT;
    params.rgbFg = CLR_DEFAULT;
    params.fStyle = ILD_NORMAL;
    params.dwRop = SRCCOPY;
    params.fState = ILS_NORMAL;
    ::ImageList_DrawIndirect(&params);
    ::ImageList_SetBkColor(hImageList, crOldBk);
    return w;
}

void CXListCtrl::DrawCellText(int nItem, int nSubItem, HDC hDC, COLORREF crText, COLORREF crBackground,
                              const RECT& rect, const Row* pRow) {
    GetDrawColors(nItem, nSubItem, crText, crBackground);
    FillSolidRect(hDC, rect, crBackground);
    const std::wstring strText = GetItemText(nItem, nSubItem);
    if (strText.empty())
        return;

    UINT nFlags = kPlainTextFlags | (m_bUseEllipsis ? DT_END_ELLIPSIS : 0);
    if (static_cast<size_t>(nSubItem) < m_paint.columnAlign.size())
        nFlags |= m_paint.columnAlign[static_cast<size_t>(nSubItem)];

    HFONT hBold = nullptr;
    const XListCellData* pCell = pRow && static_cast<size_t>(nSubItem) < pRow->size()
                                     ? &(*pRow)[static_cast<size_t>(nSubItem)]
                                     : nullptr;
    if (pCell && pCell->bBold) {
        LOGFONTW lf = {};
        if (::GetObjectW(::GetCurrentObject(hDC, OBJ_FONT), sizeof(lf), &lf) == sizeof(lf)) {
            lf.lfWeight = FW_BOLD;
            // One bold copy serves every cell until the list's font changes.
            if (!m_hBold || std::memcmp(&lf, &m_lfBold, sizeof(lf)) != 0) {
                m_hBold.reset(::CreateFontIndirectW(&lf));
                m_lfBold = lf;
            }
            hBold = m_hBold.get();
        }
    }
    std::optional<CSelectObject> selectBold;
    if (hBold)
        selectBold.emplace(hDC, hBold);
    CTextColors colors(hDC, crText, crBackground);
    RECT rcText = ToRect(PaddedTextRect(ToCell(rect), Px(m_nPadding)));
    ::DrawTextW(hDC, strText.c_str(), -1, &rcText, nFlags);
}

LRESULT CXListCtrl::OnEraseBkgnd(HDC hDC) {
    RECT rcClip;
    const int nCount = GetItemCount();
    if (nCount == 0 || ::GetClipBox(hDC, &rcClip) == ERROR)
        return Default(WM_ERASEBKGND, reinterpret_cast<WPARAM>(hDC), 0);
    const int nTop = static_cast<int>(SendMessage(LVM_GETTOPINDEX));
    const int nLast = std::min(nTop + static_cast<int>(SendMessage(LVM_GETCOUNTPERPAGE)), nCount - 1);
    RECT rcTop = {LVIR_BOUNDS, 0, 0, 0}, rcLast = {LVIR_BOUNDS, 0, 0, 0};
    SendMessage(LVM_GETITEMRECT, static_cast<WPARAM>(nTop), reinterpret_cast<LPARAM>(&rcTop));
    SendMessage(LVM_GETITEMRECT, static_cast<WPARAM>(nLast), reinterpret_cast<LPARAM>(&rcLast));
    for (const CellRect& part : BackgroundOutsideRows(ToCell(rcClip), ToCell(rcTop), ToCell(rcLast))) {
        if (!part.IsEmpty())
            FillSolidRect(hDC, ToRect(part), m_crWindow);
    }
    return 1;
}

// ---------------------------------------------------------------------------------------------------------
// Input

LRESULT CXListCtrl::OnLButtonDown(WPARAM wParam, LPARAM lParam) {
    LVHITTESTINFO ht = {};
    ht.pt = PointFromLParam(lParam);
    SendMessage(LVM_SUBITEMHITTEST, 0, reinterpret_cast<LPARAM>(&ht));
    if (!(ht.flags & LVHT_ONITEMLABEL) || ht.iItem == -1)
        return Default(WM_LBUTTONDOWN, wParam, lParam);
    Row* pRow = GetRow(ht.iItem);
    if (!pRow || !(*pRow)[0].bEnabled)
        return 0;
    const int nColumns = GetColumnCount();
    for (int nCol = 0; nCol < nColumns; ++nCol) {
        RECT rc;
        if (!GetCellRect(ht.iItem, nCol, &rc) || !::PtInRect(&rc, ht.pt))
            continue;
        XListCellData* pCell = GetCell(ht.iItem, nCol);
        if (!pCell)
            break;
        if (pCell->nCheckedState >= 0) {
            ToggleCheckbox(ht.iItem, nCol);
            break;
        }
        if (pCell->bConsumeClicks)
            return 0;
        break;
    }
    return Default(WM_LBUTTONDOWN, wParam, lParam);
}

LRESULT CXListCtrl::OnRButtonDown(WPARAM wParam, LPARAM lParam) {
    LVHITTESTINFO ht = {};
    ht.pt = PointFromLParam(lParam);
    SendMessage(LVM_SUBITEMHITTEST, 0, reinterpret_cast<LPARAM>(&ht));
    if ((ht.flags & LVHT_ONITEMLABEL) && ht.iItem != -1) {
        Row* pRow = GetRow(ht.iItem);
        if (!pRow || !(*pRow)[0].bEnabled || (*pRow)[0].bConsumeClicks)
            return 0;
    }
    return Default(WM_RBUTTONDOWN, wParam, lParam);
}

int CXListCtrl::FirstSelectedRow() const {
    return GetNextItem(-1, LVNI_SELECTED);
}

void CXListCtrl::SelectRow(int nItem) {
    SetItemState(nItem, LVIS_SELECTED | LVIS_FOCUSED, LVIS_SELECTED | LVIS_FOCUSED);
    SendMessage(LVM_ENSUREVISIBLE, static_cast<WPARAM>(nItem), FALSE);
}

bool CXListCtrl::IsKeyCellUsable(int nItem, int nSubItem) const {
    const XListCellData* pCell = IsValidCell(nItem, nSubItem) ? GetCell(nItem, nSubItem) : nullptr;
    return pCell && pCell->nCheckedState >= 0 && IsEnabled(nItem);
}

void CXListCtrl::RepaintKeyCell() {
    if (IsValidCell(m_keyCell.row, m_keyCell.col))
        UpdateSubItem(m_keyCell.row, m_keyCell.col);
}

bool CXListCtrl::OnKeyCellKey(UINT nKey) {
    const bool bCtrl = ::GetKeyState(VK_CONTROL) < 0;
    KeyCellMove move;
    switch (nKey) {
    case VK_SPACE:
        if (!IsKeyCellUsable(m_keyCell.row, m_keyCell.col))
            return false;
        // As a click on the box: the row is selected as well.
        ToggleCheckbox(m_keyCell.row, m_keyCell.col);
        SetItemState(-1, 0, LVIS_SELECTED);
        SelectRow(m_keyCell.row);
        return true;
    case VK_LEFT:
        move = KeyCellMove::Left;
        break;
    case VK_RIGHT:
        move = KeyCellMove::Right;
        break;
    case VK_UP:
        move = KeyCellMove::Up;
        break;
    case VK_DOWN:
        move = KeyCellMove::Down;
        break;
    case VK_HOME:
        move = bCtrl ? KeyCellMove::GridStart : KeyCellMove::RowStart;
        break;
    case VK_END:
        move = bCtrl ? KeyCellMove::GridEnd : KeyCellMove::RowEnd;
        break;
    case VK_PRIOR:
        move = KeyCellMove::GridStart;
        break;
    case VK_NEXT:
        move = KeyCellMove::GridEnd;
        break;
    default:
        return false;
    }
    const KeyCell to = MoveKeyCell(
        GetItemCount(), GetColumnCount(), [this](int32_t r, int32_t c) { return IsKeyCellUsable(r, c); },
        m_keyCell, move);
    if (to.row < 0)
        return false; // no box to tick: the rows are selected as a plain list selects them
    const KeyCell previous = m_keyCell;
    m_keyCell = to;
    SetItemState(-1, 0, LVIS_SELECTED);
    SelectRow(to.row);
    if (IsValidCell(previous.row, previous.col))
        UpdateSubItem(previous.row, previous.col);
    UpdateSubItem(to.row, to.col);
    NotifyAccessibleEvent(m_hWnd, EVENT_OBJECT_FOCUS, XListChildId(to.row, to.col, GetColumnCount()));
    return true;
}

bool CXListCtrl::GetKeyCell(int& nItem, int& nSubItem) const {
    if (!IsKeyCellUsable(m_keyCell.row, m_keyCell.col))
        return false;
    nItem = m_keyCell.row;
    nSubItem = m_keyCell.col;
    return true;
}

LRESULT CXListCtrl::OnKeyDown(WPARAM wParam, LPARAM lParam) {
    if (OnKeyCellKey(static_cast<UINT>(wParam)))
        return 0;
    const int nBefore = FirstSelectedRow();
    LRESULT lResult = Default(WM_KEYDOWN, wParam, lParam);
    const int nAfter = FirstSelectedRow();
    if (nAfter < 0)
        return lResult;
    if (IsEnabled(nAfter)) {
        SelectRow(nAfter);
        return lResult;
    }

    const int nCount = GetItemCount();
    int nFound = -1;
    if (wParam == VK_DOWN || wParam == VK_NEXT) {
        for (int i = nAfter + 1; i < nCount && nFound < 0; ++i)
            nFound = IsEnabled(i) ? i : -1;
        for (int i = nCount - 1; i >= 0 && nFound < 0; --i)
            nFound = IsEnabled(i) ? i : -1;
    } else if (wParam == VK_UP || wParam == VK_PRIOR) {
        for (int i = nAfter - 1; i >= 0 && nFound < 0; --i)
            nFound = IsEnabled(i) ? i : -1;
        for (int i = 1; i < nCount && nFound < 0; ++i)
            nFound = IsEnabled(i) ? i : -1;
    }
    if (nFound >= 0) {
        SelectRow(nFound);
    } else if (nBefore >= 0) {
        SelectRow(nBefore);
    } else {
        // Nothing was selected before the key: the disabled row does not keep the selection either.
        SetItemState(-1, 0, LVIS_SELECTED);
    }
    return lResult;
}

// ---------------------------------------------------------------------------------------------------------
// Tooltips

INT_PTR CXListCtrl::OnToolHitTest(POINT point, TOOLINFOW* pTI) const {
    LVHITTESTINFO ht = {};
    ht.pt = point;
    SendMessage(LVM_SUBITEMHITTEST, 0, reinterpret_cast<LPARAM>(&ht));
    if (!(ht.flags & LVHT_ONITEMLABEL) || ht.iItem == -1)
        return -1;
    const INT_PTR nId = static_cast<INT_PTR>(ht.iItem) * 1000 + ht.iSubItem + 1;
    if (pTI) {
        pTI->hwnd = m_hWnd;
        pTI->uId = static_cast<UINT_PTR>(nId);
        ::GetClientRect(m_hWnd, &pTI->rect);
        pTI->lpszText = LPSTR_TEXTCALLBACKW;
    }
    return nId;
}

BOOL CXListCtrl::OnToolTipText(UINT, NMHDR* pNMHDR, LRESULT* pResult) {
    if (pNMHDR->idFrom == 0)
        return TRUE;
    *pResult = 0;
    const DWORD dwPos = ::GetMessagePos();
    POINT pt = PointFromLParam(static_cast<LPARAM>(dwPos));
    ::ScreenToClient(m_hWnd, &pt);
    LVHITTESTINFO ht = {};
    ht.pt = pt;
    SendMessage(LVM_SUBITEMHITTEST, 0, reinterpret_cast<LPARAM>(&ht));
    if ((ht.flags & LVHT_ONITEMLABEL) && ht.iItem != -1) {
        const XListCellData* pCell = GetCell(ht.iItem, ht.iSubItem);
        const std::wstring strTip = pCell ? CutToolTipText(pCell->strToolTip) : std::wstring();
        if (!strTip.empty()) {
            if (pNMHDR->code == TTN_NEEDTEXTA) {
                auto* pTTT = reinterpret_cast<NMTTDISPINFOA*>(pNMHDR);
                // 79 characters can take more bytes in a double-byte code page: cut at the buffer's end.
                const std::string strAnsi = WideToAnsi(strTip, CP_THREAD_ACP);
                const size_t nBytes = std::min(strAnsi.size(), kToolTipMaxChars);
                strAnsi.copy(pTTT->szText, nBytes);
                pTTT->szText[nBytes] = '\0';
            } else {
                auto* pTTT = reinterpret_cast<NMTTDISPINFOW*>(pNMHDR);
                strTip.copy(pTTT->szText, strTip.size());
                pTTT->szText[strTip.size()] = L'\0';
            }
        }
    }
    return FALSE;
}
