// The read-only information grid: grid lines in the group background colour, a large expand box, a blue
// box behind the selected group's name, and every selection change told to the parent window.
#pragma once

#include "common/controls/PropertyGrid.h"

// Selection change message to the grid's parent: wParam the new row, lParam the old row (either may be null).
constexpr UINT WM_PROPGRID_SELCHANGE = CMFCPropertyGridCtrl::kSelChangeMessage;

class CMFCPropertyGridCtrlEx : public CMFCPropertyGridCtrl {
public:
    const char* GetRuntimeClassName() const override { return "CMFCPropertyGridCtrlEx"; }

    void OnChangeSelection(CMFCPropertyGridProperty* pNewSel, CMFCPropertyGridProperty* pOldSel) override;
    BOOL OnDrawProperty(HDC hDC, CMFCPropertyGridProperty* pProp) override;
    void OnDrawList(HDC hDC) override;

private:
    // Clips to rc with its bottom limited to the list's bottom; the region is released at once.
    void ClipToList(HDC hDC, RECT rc) const;
    void DrawFocusCueWithoutSelection(HDC hDC);
};

class CMFCPropertyGridPropertyEx : public CMFCPropertyGridProperty {
public:
    using CMFCPropertyGridProperty::CMFCPropertyGridProperty;
    const char* GetRuntimeClassName() const override { return "CMFCPropertyGridPropertyEx"; }

    void OnDrawName(HDC hDC, RECT rect) override;
    void OnDrawExpandBox(HDC hDC, RECT rect) override;
};
