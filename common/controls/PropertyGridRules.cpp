#include "PropertyGridRules.h"

#include <algorithm>

int GridPageRows(int nListHeight, int nRowHeight) {
    if (nRowHeight <= 0)
        return 1;
    return std::max(1, nListHeight / nRowHeight);
}

int GridClampScroll(int nScroll, int nRowCount, int nPageRows) {
    return std::max(0, std::min(nScroll, nRowCount - nPageRows));
}

int GridScrollToShow(int nScroll, int nIndex, int nPageRows) {
    if (nIndex < nScroll)
        return nIndex;
    if (nIndex >= nScroll + nPageRows)
        return nIndex - nPageRows + 1;
    return nScroll;
}

GridRect GridRowRect(const GridRect& list, int nIndex, int nScroll, int nDepth, int nRowHeight) {
    GridRect row;
    row.left = list.left + nDepth * nRowHeight;
    row.top = list.top + (nIndex - nScroll) * nRowHeight;
    row.right = list.right;
    row.bottom = row.top + nRowHeight - 1;
    return row;
}

int GridRowAt(int y, const GridRect& list, int nScroll, int nRowCount, int nRowHeight) {
    if (y < list.top || y >= list.bottom || nRowHeight <= 0)
        return -1;
    int nIndex = nScroll + (y - list.top) / nRowHeight;
    return nIndex < nRowCount ? nIndex : -1;
}

GridHitZone GridHitTest(int x, const GridRect& row, bool bGroup, int nDividerX, int nRowHeight,
                        int nDividerSlop) {
    if (bGroup)
        return x >= row.left && x < row.left + nRowHeight ? GridHitZone::ExpandBox : GridHitZone::Name;
    if (x >= nDividerX - nDividerSlop && x <= nDividerX + nDividerSlop)
        return GridHitZone::Divider;
    return x < nDividerX ? GridHitZone::Name : GridHitZone::Value;
}

int GridNavigate(int nCurrent, int nRowCount, int nPageRows, GridKey key) {
    if (nRowCount <= 0)
        return -1;
    int nLast = nRowCount - 1;
    if (nCurrent < 0)
        return key == GridKey::End ? nLast : 0;
    int nNext = nCurrent;
    switch (key) {
    case GridKey::Up:
        nNext = nCurrent - 1;
        break;
    case GridKey::Down:
        nNext = nCurrent + 1;
        break;
    case GridKey::Home:
        nNext = 0;
        break;
    case GridKey::End:
        nNext = nLast;
        break;
    case GridKey::PageUp:
        nNext = nCurrent - std::max(1, nPageRows - 1);
        break;
    case GridKey::PageDown:
        nNext = nCurrent + std::max(1, nPageRows - 1);
        break;
    }
    return std::max(0, std::min(nNext, nLast));
}

int GridWheelRows(int& nRemainder, int nDelta, int nLinesPerNotch) {
    constexpr int kWheelDelta = 120;
    // Turning the other way drops what was left of the old direction.
    if ((nRemainder > 0 && nDelta < 0) || (nRemainder < 0 && nDelta > 0))
        nRemainder = 0;
    nRemainder += nDelta;
    int nNotches = nRemainder / kWheelDelta;
    nRemainder -= nNotches * kWheelDelta;
    return -nNotches * std::max(1, nLinesPerNotch);
}

int GridClampLeftColumn(int nWidth, int nListWidth, int nMinColumn) {
    int nMax = std::max(nMinColumn, nListWidth - nMinColumn);
    return std::max(nMinColumn, std::min(nWidth, nMax));
}

GridExpandBoxShape GridExpandBox(const GridRect& e, bool bHasSubRows, bool bExpanded, int nLineInset) {
    GridExpandBoxShape shape;
    shape.box = {e.left + 2, e.top + 1, e.right - 1, e.bottom - 2};
    const GridRect& b = shape.box;
    if (bHasSubRows) {
        int my = (b.top + b.bottom) / 2;
        shape.bMinus = true;
        shape.minusFrom = {b.left + nLineInset, my};
        shape.minusTo = {b.right - nLineInset, my};
        if (!bExpanded) {
            int mx = (b.left + b.right) / 2;
            shape.bPlusBar = true;
            shape.plusFrom = {mx, b.top + nLineInset};
            shape.plusTo = {mx, b.bottom - nLineInset};
        }
    }
    return shape;
}

GridRect GridGroupNameBox(const GridRect& n, int w, int h, int nMargin) {
    GridRect box;
    box.left = n.left;
    box.top = (n.top + n.bottom) / 2 - h / 2;
    box.bottom = box.top + h;
    box.right = n.right < n.left + w ? n.right : n.left + w;
    box.left -= nMargin;
    box.right += nMargin;
    box.top -= 1;
    return box;
}
