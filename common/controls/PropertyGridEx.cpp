#include "PropertyGridEx.h"

#include <algorithm>

namespace {

constexpr UINT kNameTextFormat = DT_LEFT | DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX | DT_END_ELLIPSIS;
static_assert(kNameTextFormat == 0x8824, "name text format");

// Grid lines without a group background colour.
constexpr COLORREF kDefaultGridLineColor = RGB(192, 192, 192);
constexpr COLORREF kExpandBoxColor = RGB(88, 88, 88);
constexpr COLORREF kSelectedGroupBoxColor = RGB(100, 100, 200);

void FillSolid(HDC hDC, const RECT& rc, COLORREF clr) {
    COLORREF clrOld = ::SetBkColor(hDC, clr);
    ::ExtTextOutW(hDC, 0, 0, ETO_OPAQUE, &rc, nullptr, 0, nullptr);
    ::SetBkColor(hDC, clrOld);
}

} // namespace

// ---------------------------------------------------------------------------------------------------------
// The grid

void CMFCPropertyGridCtrlEx::OnChangeSelection(CMFCPropertyGridProperty* pNewSel,
                                               CMFCPropertyGridProperty* pOldSel) {
    ::SendMessageW(::GetParent(m_hWnd), WM_PROPGRID_SELCHANGE, reinterpret_cast<WPARAM>(pNewSel),
                   reinterpret_cast<LPARAM>(pOldSel));
}

void CMFCPropertyGridCtrlEx::ClipToList(HDC hDC, RECT rc) const {
    rc.bottom = std::min(rc.bottom, m_rectList.bottom);
    unique_hrgn rgn(::CreateRectRgnIndirect(&rc));
    ::SelectClipRgn(hDC, rgn.get());
}

void CMFCPropertyGridCtrlEx::OnDrawList(HDC hDC) {
    const RECT& L = m_rectList;
    const int X = L.left + m_nLeftColumnWidth;
    // 1. The line pen, as the base grid makes it.
    // Both pens are made before the selection scope, so they outlive it: the previous pen is back in the
    // DC before either is released.
    unique_hpen penLine(::CreatePen(PS_SOLID, 1, GetLineColor()));
    // 2. The grid pen replaces it: the line colour draws neither the divider nor the row lines.
    unique_hpen penGrid(
        ::CreatePen(PS_SOLID, 1,
                    m_clrGroupBackground != kGridColorNotSet ? m_clrGroupBackground : kDefaultGridLineColor));
    CSelectObject selPrevious(hDC, penLine.get());
    ::SelectObject(hDC, penGrid.get());
    // 3. The divider.
    ::MoveToEx(hDC, X, L.top - 1, nullptr);
    ::LineTo(hDC, X, L.bottom);
    // 4. The rows, until one lies below the list.
    if (m_bAlphabeticMode) {
        for (CMFCPropertyGridProperty* pProp : m_lstTerminalProps)
            if (!OnDrawProperty(hDC, pProp))
                break;
    } else {
        for (auto& pProp : m_lstProps)
            if (!OnDrawProperty(hDC, pProp.get()))
                break;
    }
    // 5. The previous pen goes back as selPrevious ends; both pens are released after it.
    DrawFocusCueWithoutSelection(hDC);
}

void CMFCPropertyGridCtrlEx::DrawFocusCueWithoutSelection(HDC hDC) {
    // With the focus and no selected row, the keys start at the first row: show it there.
    const auto& rows = GetVisibleRows();
    if (!m_bFocused || GetCurSel() || rows.empty())
        return;
    RECT rc = rows.front()->GetRect();
    rc.bottom = std::min(rc.bottom, m_rectList.bottom);
    if (::IsRectEmpty(&rc))
        return;
    ::SelectClipRgn(hDC, nullptr);
    COLORREF crOldText = ::SetTextColor(hDC, ::GetSysColor(COLOR_WINDOWTEXT));
    COLORREF crOldBk = ::SetBkColor(hDC, ::GetSysColor(COLOR_WINDOW));
    ::DrawFocusRect(hDC, &rc);
    ::SetBkColor(hDC, crOldBk);
    ::SetTextColor(hDC, crOldText);
}

BOOL CMFCPropertyGridCtrlEx::OnDrawProperty(HDC hDC, CMFCPropertyGridProperty* pProp) {
    const RECT& L = m_rectList;
    const int X = L.left + m_nLeftColumnWidth;
    const RECT R = pProp->GetRect();
    const bool bGroup = pProp->IsGroup();
    const bool bValueList = pProp->IsValueList();
    const COLORREF clrGroupBackground =
        m_clrGroupBackground != kGridColorNotSet ? m_clrGroupBackground : m_clrGray;

    // 1. to 3.: rows not laid out, and rows above the list, only lead on to their children.
    if (!::IsRectEmpty(&R)) {
        if (R.top >= L.bottom)
            return FALSE;
        if (R.bottom >= L.top) {
            // 4. Left strip: a group across its whole width, an ordinary row only in its indentation.
            if (m_bVSDotNetLook) {
                RECT S = R;
                if (!bGroup)
                    S.right = std::min<LONG>(X, R.left);
                if (bValueList)
                    S.right = R.left + (R.bottom - R.top);
                S.left = L.left;
                S.bottom = std::min(R.bottom, L.bottom);
                if (S.left < S.right)
                    FillSolid(hDC, S, clrGroupBackground);
            }
            // 5. Disabled rows in the grayed-text colour.
            COLORREF clrTextOld = 0;
            const bool bDisabled = !pProp->IsEnabled();
            if (bDisabled)
                clrTextOld = ::SetTextColor(hDC, ::GetSysColor(COLOR_GRAYTEXT));
            // 6. Name rectangle.
            RECT N = R;
            if (!(bGroup && !bValueList && m_bGroupNameFullWidth) && pProp->HasValueField())
                N.right = X;
            // 7. Expand box of a group; the blank name area of a row without a value.
            HBRUSH hBackground = m_brBackground ? m_brBackground.get() : ::GetSysColorBrush(COLOR_WINDOW);
            if (bGroup) {
                if (m_bGroupNameFullWidth && !m_bVSDotNetLook && !bValueList) {
                    RECT rcFill = N;
                    rcFill.top++;
                    ::FillRect(hDC, &rcFill, hBackground);
                }
                RECT E = N;
                E.right = N.left + m_nRowHeight;
                N.left += m_nRowHeight;
                ClipToList(hDC, E);
                pProp->OnDrawExpandBox(hDC, E);
            } else if (!pProp->HasValueField()) {
                RECT rcFill = N;
                rcFill.top++;
                ::FillRect(hDC, &rcFill, hBackground);
            }
            // 8. The name, bold for a group.
            if (N.right > N.left) {
                ClipToList(hDC, N);
                HGDIOBJ hOldFont = nullptr;
                if (bGroup && !bValueList)
                    hOldFont = ::SelectObject(hDC, m_fontBold.get());
                pProp->OnDrawName(hDC, N);
                if (hOldFont)
                    ::SelectObject(hDC, hOldFont);
            }
            // 9. The value and its button.
            RECT V = R;
            V.left = X + 1;
            ClipToList(hDC, V);
            pProp->OnDrawValue(hDC, V);
            RECT rcButton = pProp->GetButtonRect();
            if (!::IsRectEmpty(&rcButton))
                pProp->OnDrawButton(hDC, rcButton);
            ::SelectClipRgn(hDC, nullptr);
            // 10. Row line.
            {
                unique_hpen penRow(::CreatePen(
                    PS_SOLID, 1,
                    m_clrGroupBackground != kGridColorNotSet ? m_clrGroupBackground : kDefaultGridLineColor));
                CSelectObject selPen(hDC, penRow.get());
                ::MoveToEx(hDC, L.left, R.bottom, nullptr);
                ::LineTo(hDC, L.right, R.bottom);
            }
            // 11.
            if (bDisabled)
                ::SetTextColor(hDC, clrTextOld);
        }
    }
    // 12. Children of an expanded row.
    if (pProp->IsExpanded() || m_bAlphabeticMode) {
        for (int i = 0; i < pProp->GetSubItemsCount(); ++i)
            if (!OnDrawProperty(hDC, pProp->GetSubItem(i)))
                return FALSE;
    }
    // 13.
    return TRUE;
}

// ---------------------------------------------------------------------------------------------------------
// The row

void CMFCPropertyGridPropertyEx::OnDrawName(HDC hDC, RECT N) {
    const CMFCPropertyGridCtrl& grid = *m_pWndList;
    const bool bSelected = IsSelected();
    const bool bVSGroup = grid.m_bVSDotNetLook && m_bGroup && !m_bIsValueList;
    COLORREF clrTextOld = 0;
    bool bRestoreText = false;
    // 1. Selected ordinary row: highlight when the grid has the focus, button face when not.
    if (bSelected && !bVSGroup) {
        RECT F = N;
        F.top++;
        if (grid.m_bFocused) {
            clrTextOld = ::SetTextColor(hDC, ::GetSysColor(COLOR_HIGHLIGHTTEXT));
            ::FillRect(hDC, &F, ::GetSysColorBrush(COLOR_HIGHLIGHT));
        } else {
            clrTextOld = ::SetTextColor(hDC, ::GetSysColor(COLOR_BTNTEXT));
            ::FillRect(hDC, &F, ::GetSysColorBrush(grid.m_bControlBarColors ? COLOR_3DFACE : COLOR_BTNFACE));
        }
        bRestoreText = true;
    }
    // 2. Group names in the group text colour.
    if (bVSGroup) {
        clrTextOld = ::SetTextColor(hDC, grid.m_clrGroupText != kGridColorNotSet ? grid.m_clrGroupText
                                                                                 : grid.GetGroupTextColor());
        bRestoreText = true;
    }
    // 3. and 4.
    if (m_pParent && m_pParent->IsValueList())
        N.left += N.bottom - N.top;
    N.left += grid.Px(3);
    N.right -= grid.Px(3);
    // 5. and 6.
    int h = ::DrawTextW(hDC, m_strName.c_str(), -1, &N, kNameTextFormat);
    SIZE extent = {};
    ::GetTextExtentPoint32W(hDC, m_strName.c_str(), static_cast<int>(m_strName.size()), &extent);
    m_bNameIsTruncated = extent.cx > N.right - N.left;
    // 7. The selected group's name stands on a blue box.
    if (bSelected && bVSGroup) {
        GridRect box = GridGroupNameBox({N.left, N.top, N.right, N.bottom}, extent.cx, h, grid.Px(3));
        RECT B = {box.left, box.top, box.right, box.bottom};
        FillSolid(hDC, B, kSelectedGroupBoxColor);
        ::DrawTextW(hDC, m_strName.c_str(), -1, &N, kNameTextFormat);
    }
    // 8.
    if (bRestoreText)
        ::SetTextColor(hDC, clrTextOld);
}

void CMFCPropertyGridPropertyEx::OnDrawExpandBox(HDC hDC, RECT E) {
    // 1. Pen and hollow brush; both previous objects go back as the scope ends, before the pen is released.
    unique_hpen pen(::CreatePen(PS_SOLID, m_pWndList->Px(1), kExpandBoxColor));
    CSelectObject selPen(hDC, pen.get());
    CSelectObject selBrush(hDC, ::GetStockObject(NULL_BRUSH));
    // 2. to 3.
    GridExpandBoxShape shape = GridExpandBox({E.left, E.top, E.right, E.bottom}, !m_lstSubItems.empty(),
                                             m_bExpanded, m_pWndList->Px(2));
    ::Rectangle(hDC, shape.box.left, shape.box.top, shape.box.right, shape.box.bottom);
    if (shape.bMinus) {
        ::MoveToEx(hDC, shape.minusFrom.x, shape.minusFrom.y, nullptr);
        ::LineTo(hDC, shape.minusTo.x, shape.minusTo.y);
    }
    if (shape.bPlusBar) {
        ::MoveToEx(hDC, shape.plusFrom.x, shape.plusFrom.y, nullptr);
        ::LineTo(hDC, shape.plusTo.x, shape.plusTo.y);
    }
}
