// The extended list as a screen reader sees it: a table whose children are its cells, row by row. The cell
// of row r and column c (both from 0) is child r * columns + c + 1, hidden columns included, so a number
// stays the same while the rows do.
#pragma once

#include "common/controls/AccessibleBase.h"

class CXListCtrl;

inline long XListChildId(int nItem, int nSubItem, int nColumns) {
    return static_cast<long>(nItem) * nColumns + nSubItem + 1;
}

class CXListAccessible : public CAccessibleBase {
public:
    // A new object with one reference, which the caller owns.
    static CAccessibleBase* Create(CXListCtrl* pList);

protected:
    long ChildCount() override;
    bool DescribeChild(long nChild, AccessibleItem& item) override;
    long SelfRole() override { return ROLE_SYSTEM_TABLE; }
    long ChildAt(POINT ptClient) override;
    long Neighbour(long nChild, long nNavDir) override;
    HRESULT DoDefaultAction(long nChild) override;
    long FocusedChild() override;

private:
    explicit CXListAccessible(CXListCtrl* pList);
    // Row and column of a child; false for a number outside the table.
    bool CellOf(long nChild, int& nItem, int& nSubItem) const;
    CXListCtrl* m_pList; // valid while m_hWnd is set: the list disconnects before it goes
};
