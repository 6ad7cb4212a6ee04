// Row layout of the property grid, without a window: which rows are on screen, where each one stands,
// what a point hits, where the keys and the wheel move to, and the geometry of the expand box and the
// selected group's name box.
#pragma once

// A rectangle in client pixels, right and bottom exclusive, as the system's RECT.
struct GridRect {
    int left = 0;
    int top = 0;
    int right = 0;
    int bottom = 0;
    bool operator==(const GridRect& o) const {
        return left == o.left && top == o.top && right == o.right && bottom == o.bottom;
    }
};

struct GridPoint {
    int x = 0;
    int y = 0;
    bool operator==(const GridPoint& o) const { return x == o.x && y == o.y; }
};

// Rows fully inside a list of that height; at least one, so paging always moves.
int GridPageRows(int nListHeight, int nRowHeight);
// The scroll position (index of the top row) kept within 0 .. nRowCount - nPageRows.
int GridClampScroll(int nScroll, int nRowCount, int nPageRows);
// The scroll position that brings row nIndex into view with the least movement.
int GridScrollToShow(int nScroll, int nIndex, int nPageRows);

// The rectangle of the row at visible index nIndex: one row-height slot below the rows above, its last
// pixel row left for the row line, indented by one row height per level.
GridRect GridRowRect(const GridRect& list, int nIndex, int nScroll, int nDepth, int nRowHeight);
// The visible index under y, or -1 outside the rows.
int GridRowAt(int y, const GridRect& list, int nScroll, int nRowCount, int nRowHeight);

enum class GridHitZone { ExpandBox, Name, Divider, Value };
// What x hits in a row: the expand box of a group, the divider (within nDividerSlop pixels, 2 on a 96-DPI
// screen), the name or the value.
GridHitZone GridHitTest(int x, const GridRect& row, bool bGroup, int nDividerX, int nRowHeight,
                        int nDividerSlop = 2);

enum class GridKey { Up, Down, Home, End, PageUp, PageDown };
// The visible index a navigation key selects from nCurrent (-1: nothing selected yet); -1 with no rows.
int GridNavigate(int nCurrent, int nRowCount, int nPageRows, GridKey key);

// Rows one wheel movement scrolls by (positive scrolls down); the part of a notch not yet used stays in
// nRemainder, so fine-grained wheels add up.
int GridWheelRows(int& nRemainder, int nDelta, int nLinesPerNotch);

// The name column's width as the operator drags the divider: never narrower than nMinColumn on either side.
int GridClampLeftColumn(int nWidth, int nListWidth, int nMinColumn);

// Expand box drawn in E: the outline, the minus when the row has sub-rows, and the plus bar when it is
// also collapsed, nLineInset (2 on a 96-DPI screen) inside the outline. Line ends are exclusive, as the
// system draws lines.
struct GridExpandBoxShape {
    GridRect box;
    bool bMinus = false;
    GridPoint minusFrom, minusTo;
    bool bPlusBar = false;
    GridPoint plusFrom, plusTo;
};
GridExpandBoxShape GridExpandBox(const GridRect& e, bool bHasSubRows, bool bExpanded, int nLineInset = 2);

// The box behind the selected group's name: from the shrunk name rectangle n, the name's text width w and
// the drawn text height h; it ends at n.right when the name is cut, and stands nMargin pixels (3 on a
// 96-DPI screen) out on each side.
GridRect GridGroupNameBox(const GridRect& n, int w, int h, int nMargin = 3);
