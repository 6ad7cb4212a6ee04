#include "XListAccessible.h"

#include <new>

#include "XListCellRules.h"
#include "XListCtrl.h"

namespace {

std::wstring ColumnHeading(HWND hHeader, int nColumn) {
    wchar_t szText[128] = {};
    HDITEMW item = {};
    item.mask = HDI_TEXT;
    item.pszText = szText;
    item.cchTextMax = 128;
    if (!hHeader ||
        !::SendMessageW(hHeader, HDM_GETITEMW, static_cast<WPARAM>(nColumn), reinterpret_cast<LPARAM>(&item)))
        return std::wstring();
    return szText;
}

} // namespace

CAccessibleBase* CXListAccessible::Create(CXListCtrl* pList) {
    return new (std::nothrow) CXListAccessible(pList);
}

CXListAccessible::CXListAccessible(CXListCtrl* pList) : CAccessibleBase(pList->m_hWnd), m_pList(pList) {}

long CXListAccessible::ChildCount() {
    return static_cast<long>(m_pList->GetItemCount()) * m_pList->GetColumnCount();
}

bool CXListAccessible::CellOf(long nChild, int& nItem, int& nSubItem) const {
    const int nColumns = m_pList->GetColumnCount();
    if (nChild < 1 || nColumns <= 0 || nChild > static_cast<long>(m_pList->GetItemCount()) * nColumns)
        return false;
    nItem = static_cast<int>((nChild - 1) / nColumns);
    nSubItem = static_cast<int>((nChild - 1) % nColumns);
    return true;
}

bool CXListAccessible::DescribeChild(long nChild, AccessibleItem& item) {
    int nItem = 0, nSubItem = 0;
    if (!CellOf(nChild, nItem, nSubItem))
        return false;
    const XListCellData* pCell = m_pList->GetCell(nItem, nSubItem);
    item.strName = m_pList->GetItemText(nItem, nSubItem);
    item.nRole = ROLE_SYSTEM_CELL;
    item.nState = STATE_SYSTEM_SELECTABLE;
    if (pCell && pCell->nCheckedState >= 0) {
        item.nRole = ROLE_SYSTEM_CHECKBUTTON;
        if (pCell->nCheckedState == 1)
            item.nState |= STATE_SYSTEM_CHECKED;
        item.strDefaultAction = pCell->nCheckedState == 1 ? L"Uncheck" : L"Check";
        int nKeyItem = 0, nKeySubItem = 0;
        item.nState |= STATE_SYSTEM_FOCUSABLE;
        if (::GetFocus() == m_hWnd && m_pList->GetKeyCell(nKeyItem, nKeySubItem) && nKeyItem == nItem &&
            nKeySubItem == nSubItem)
            item.nState |= STATE_SYSTEM_FOCUSED;
        // A box without a text of its own is named by its tooltip, else by its column's heading.
        if (item.strName.empty())
            item.strName = pCell->strToolTip;
        if (item.strName.empty())
            item.strName = ColumnHeading(m_pList->GetHeaderCtrl(), nSubItem);
    } else if (pCell && pCell->bShowProgress) {
        item.nRole = ROLE_SYSTEM_PROGRESSBAR;
        item.strValue = FormatProgressText(pCell->strProgressFormat, pCell->nProgressPercent);
    }
    if (!m_pList->IsEnabled(nItem) && m_pList->GetCell(nItem, 0))
        item.nState |= STATE_SYSTEM_UNAVAILABLE;
    if (m_pList->SendMessage(LVM_GETITEMSTATE, static_cast<WPARAM>(nItem), LVIS_SELECTED) & LVIS_SELECTED)
        item.nState |= STATE_SYSTEM_SELECTED;
    RECT rc = {};
    RECT rcClient, rcShown;
    ::GetClientRect(m_hWnd, &rcClient);
    if (!m_pList->GetCellRect(nItem, nSubItem, &rc) || rc.right <= rc.left)
        item.nState |= STATE_SYSTEM_INVISIBLE;
    else if (!::IntersectRect(&rcShown, &rc, &rcClient))
        item.nState |= STATE_SYSTEM_OFFSCREEN;
    ::MapWindowPoints(m_hWnd, nullptr, reinterpret_cast<POINT*>(&rc), 2);
    item.rcScreen = rc;
    return true;
}

long CXListAccessible::ChildAt(POINT ptClient) {
    LVHITTESTINFO ht = {};
    ht.pt = ptClient;
    m_pList->SendMessage(LVM_SUBITEMHITTEST, 0, reinterpret_cast<LPARAM>(&ht));
    if (ht.iItem < 0 || ht.iSubItem < 0)
        return 0;
    return XListChildId(ht.iItem, ht.iSubItem, m_pList->GetColumnCount());
}

long CXListAccessible::Neighbour(long nChild, long nNavDir) {
    int nItem = 0, nSubItem = 0;
    if (!CellOf(nChild, nItem, nSubItem))
        return 0;
    const int nColumns = m_pList->GetColumnCount();
    switch (nNavDir) {
    case NAVDIR_LEFT:
        return nSubItem > 0 ? nChild - 1 : 0;
    case NAVDIR_RIGHT:
        return nSubItem + 1 < nColumns ? nChild + 1 : 0;
    case NAVDIR_UP:
        return nItem > 0 ? nChild - nColumns : 0;
    case NAVDIR_DOWN:
        return nItem + 1 < m_pList->GetItemCount() ? nChild + nColumns : 0;
    default:
        return 0;
    }
}

HRESULT CXListAccessible::DoDefaultAction(long nChild) {
    int nItem = 0, nSubItem = 0;
    if (!CellOf(nChild, nItem, nSubItem) || m_pList->GetCheckbox(nItem, nSubItem) < 0)
        return DISP_E_MEMBERNOTFOUND;
    // As a click in the box: a disabled row refuses it.
    return m_pList->ToggleCheckbox(nItem, nSubItem) ? S_OK : E_FAIL;
}

long CXListAccessible::FocusedChild() {
    int nItem = 0, nSubItem = 0;
    return m_pList->GetKeyCell(nItem, nSubItem) ? XListChildId(nItem, nSubItem, m_pList->GetColumnCount())
                                                : 0;
}
