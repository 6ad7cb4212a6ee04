#include "GridAccessible.h"

#include <algorithm>
#include <new>

#include "PropertyGrid.h"

namespace {

bool HasSubRows(const CMFCPropertyGridProperty& row) {
    return row.GetSubItemsCount() > 0;
}

} // namespace

CAccessibleBase* CGridAccessible::Create(CMFCPropertyGridCtrl* pGrid) {
    return new (std::nothrow) CGridAccessible(pGrid);
}

CGridAccessible::CGridAccessible(CMFCPropertyGridCtrl* pGrid)
    : CAccessibleBase(pGrid->m_hWnd), m_pGrid(pGrid) {}

long CGridAccessible::ChildCount() {
    return static_cast<long>(m_pGrid->GetVisibleRows().size());
}

bool CGridAccessible::DescribeChild(long nChild, AccessibleItem& item) {
    const auto& rows = m_pGrid->GetVisibleRows();
    if (nChild < 1 || static_cast<size_t>(nChild) > rows.size())
        return false;
    const CMFCPropertyGridProperty& row = *rows[static_cast<size_t>(nChild - 1)];
    item.strName = row.GetName();
    // A group is an outline item that opens and closes; a row of a name and its value is a row.
    item.nRole = row.IsGroup() ? ROLE_SYSTEM_OUTLINEITEM : ROLE_SYSTEM_ROW;
    item.nState = STATE_SYSTEM_SELECTABLE | STATE_SYSTEM_FOCUSABLE;
    if (row.HasValueField()) {
        item.strValue = row.GetValue();
        if (!row.IsAllowEdit())
            item.nState |= STATE_SYSTEM_READONLY;
    }
    if (row.IsGroup() && HasSubRows(row)) {
        item.nState |= row.IsExpanded() ? STATE_SYSTEM_EXPANDED : STATE_SYSTEM_COLLAPSED;
        item.strDefaultAction = row.IsExpanded() ? L"Collapse" : L"Expand";
    }
    if (row.IsSelected()) {
        item.nState |= STATE_SYSTEM_SELECTED;
        if (::GetFocus() == m_hWnd)
            item.nState |= STATE_SYSTEM_FOCUSED;
    }
    if (!row.IsEnabled())
        item.nState |= STATE_SYSTEM_UNAVAILABLE;
    // The whole row, indentation included; a row scrolled out of the list is off screen.
    const RECT& rcList = m_pGrid->GetListRect();
    RECT rc = row.GetRect();
    rc.left = rcList.left;
    rc.right = std::max(rc.right, rcList.right);
    RECT rcShown;
    if (!::IntersectRect(&rcShown, &rc, &rcList))
        item.nState |= STATE_SYSTEM_OFFSCREEN;
    ::MapWindowPoints(m_hWnd, nullptr, reinterpret_cast<POINT*>(&rc), 2);
    item.rcScreen = rc;
    return true;
}

long CGridAccessible::SelectedChild() {
    const auto& rows = m_pGrid->GetVisibleRows();
    auto it = std::find(rows.begin(), rows.end(), m_pGrid->GetCurSel());
    return it == rows.end() ? 0 : static_cast<long>(it - rows.begin()) + 1;
}

long CGridAccessible::ChildAt(POINT ptClient) {
    const auto& rows = m_pGrid->GetVisibleRows();
    const RECT& rcList = m_pGrid->GetListRect();
    if (!::PtInRect(&rcList, ptClient))
        return 0;
    for (size_t i = 0; i < rows.size(); ++i) {
        const RECT& rc = rows[i]->GetRect();
        if (ptClient.y >= rc.top && ptClient.y < rc.bottom)
            return static_cast<long>(i) + 1;
    }
    return 0;
}

HRESULT CGridAccessible::DoDefaultAction(long nChild) {
    if (nChild < 1)
        return DISP_E_MEMBERNOTFOUND;
    CMFCPropertyGridProperty* pRow = m_pGrid->GetVisibleRows()[static_cast<size_t>(nChild - 1)];
    if (!pRow->IsGroup() || !HasSubRows(*pRow))
        return DISP_E_MEMBERNOTFOUND;
    pRow->Expand(!pRow->IsExpanded());
    return S_OK;
}

HRESULT CGridAccessible::Select(long nChild, long nFlags) {
    if (nChild < 1 || (nFlags & ~(SELFLAG_TAKEFOCUS | SELFLAG_TAKESELECTION)))
        return E_INVALIDARG;
    if (nFlags & SELFLAG_TAKEFOCUS)
        ::SetFocus(m_hWnd);
    if (nFlags & SELFLAG_TAKESELECTION)
        m_pGrid->SetCurSel(m_pGrid->GetVisibleRows()[static_cast<size_t>(nChild - 1)]);
    return S_OK;
}
