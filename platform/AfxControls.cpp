#include "AfxControls.h"

std::wstring CComboBox::GetLBText(int nIndex) const {
    LRESULT nLen = SendMessage(CB_GETLBTEXTLEN, nIndex);
    if (nLen == CB_ERR)
        return {};
    std::wstring str(static_cast<size_t>(nLen) + 1, L'\0');
    LRESULT nGot = SendMessage(CB_GETLBTEXT, nIndex, reinterpret_cast<LPARAM>(str.data()));
    str.resize(nGot > 0 ? static_cast<size_t>(nGot) : 0);
    return str;
}

std::wstring CListBox::GetText(int nIndex) const {
    LRESULT nLen = SendMessage(LB_GETTEXTLEN, nIndex);
    if (nLen == LB_ERR)
        return {};
    std::wstring str(static_cast<size_t>(nLen) + 1, L'\0');
    LRESULT nGot = SendMessage(LB_GETTEXT, nIndex, reinterpret_cast<LPARAM>(str.data()));
    str.resize(nGot > 0 ? static_cast<size_t>(nGot) : 0);
    return str;
}

int CListCtrl::InsertColumn(int nCol, const std::wstring& strHeading, int nFormat, int nWidth) {
    LVCOLUMNW col = {};
    col.mask = LVCF_TEXT | LVCF_FMT | (nWidth >= 0 ? LVCF_WIDTH : 0);
    col.fmt = nFormat;
    col.cx = nWidth;
    col.pszText = const_cast<wchar_t*>(strHeading.c_str());
    return static_cast<int>(SendMessage(LVM_INSERTCOLUMNW, nCol, reinterpret_cast<LPARAM>(&col)));
}

int CListCtrl::InsertItem(int nItem, const std::wstring& strText) {
    LVITEMW item = {};
    item.mask = LVIF_TEXT;
    item.iItem = nItem;
    item.pszText = const_cast<wchar_t*>(strText.c_str());
    return static_cast<int>(SendMessage(LVM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(&item)));
}

BOOL CListCtrl::SetItemText(int nItem, int nSubItem, const std::wstring& strText) {
    LVITEMW item = {};
    item.iSubItem = nSubItem;
    item.pszText = const_cast<wchar_t*>(strText.c_str());
    return static_cast<BOOL>(SendMessage(LVM_SETITEMTEXTW, nItem, reinterpret_cast<LPARAM>(&item)));
}

std::wstring CListCtrl::GetItemText(int nItem, int nSubItem) const {
    std::wstring str(1024, L'\0');
    LVITEMW item = {};
    item.iSubItem = nSubItem;
    item.pszText = str.data();
    item.cchTextMax = static_cast<int>(str.size());
    LRESULT nGot = SendMessage(LVM_GETITEMTEXTW, nItem, reinterpret_cast<LPARAM>(&item));
    str.resize(nGot > 0 ? static_cast<size_t>(nGot) : 0);
    return str;
}

BOOL CListCtrl::SetItemData(int nItem, DWORD_PTR dwData) {
    LVITEMW item = {};
    item.mask = LVIF_PARAM;
    item.iItem = nItem;
    item.lParam = static_cast<LPARAM>(dwData);
    return static_cast<BOOL>(SendMessage(LVM_SETITEMW, 0, reinterpret_cast<LPARAM>(&item)));
}

DWORD_PTR CListCtrl::GetItemData(int nItem) const {
    LVITEMW item = {};
    item.mask = LVIF_PARAM;
    item.iItem = nItem;
    SendMessage(LVM_GETITEMW, 0, reinterpret_cast<LPARAM>(&item));
    return static_cast<DWORD_PTR>(item.lParam);
}

BOOL CListCtrl::SetItemState(int nItem, UINT nState, UINT nMask) {
    LVITEMW item = {};
    item.state = nState;
    item.stateMask = nMask;
    return static_cast<BOOL>(SendMessage(LVM_SETITEMSTATE, nItem, reinterpret_cast<LPARAM>(&item)));
}

BOOL CListCtrl::GetSubItemRect(int nItem, int nSubItem, int nArea, RECT* pRect) const {
    pRect->top = nSubItem;
    pRect->left = nArea;
    return static_cast<BOOL>(SendMessage(LVM_GETSUBITEMRECT, nItem, reinterpret_cast<LPARAM>(pRect)));
}
