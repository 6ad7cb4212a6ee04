// The property grid as a screen reader sees it: an outline whose children are the rows laid out now
// (those inside collapsed groups are not), numbered from 1 in their order on screen.
#pragma once

#include "common/controls/AccessibleBase.h"

class CMFCPropertyGridCtrl;

class CGridAccessible : public CAccessibleBase {
public:
    // A new object with one reference, which the caller owns.
    static CAccessibleBase* Create(CMFCPropertyGridCtrl* pGrid);

protected:
    long ChildCount() override;
    bool DescribeChild(long nChild, AccessibleItem& item) override;
    long SelfRole() override { return ROLE_SYSTEM_OUTLINE; }
    long FocusedChild() override { return SelectedChild(); }
    long SelectedChild() override;
    long ChildAt(POINT ptClient) override;
    HRESULT DoDefaultAction(long nChild) override;
    HRESULT Select(long nChild, long nFlags) override;

private:
    explicit CGridAccessible(CMFCPropertyGridCtrl* pGrid);
    CMFCPropertyGridCtrl* m_pGrid; // valid while m_hWnd is set: the grid disconnects before it goes
};
