// Geometry and texts of the list cells that need no window: where the check box, its mark, the progress
// bar, the drop-down arrow and the cell text go inside a cell rectangle, and which parts of the background
// lie outside the visible rows. Rectangles are in client pixels, right and bottom exclusive.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

struct CellRect {
    int32_t left = 0, top = 0, right = 0, bottom = 0;
    int32_t Width() const { return right - left; }
    int32_t Height() const { return bottom - top; }
    bool IsEmpty() const { return right <= left || bottom <= top; }
    bool operator==(const CellRect& o) const {
        return left == o.left && top == o.top && right == o.right && bottom == o.bottom;
    }
};

struct CellPoint {
    int32_t x = 0, y = 0;
    bool operator==(const CellPoint& o) const { return x == o.x && y == o.y; }
};

// Fixed colours of the painters (0x00BBGGRR).
constexpr uint32_t kCheckboxFrameColor = 0x996633;
constexpr uint32_t kCheckMarkColor = 0x339933;
constexpr uint32_t kProgressTroughColor = 0xE0E0E0;
constexpr uint32_t kProgressEdgeColor = 0x000000;
// Space between a check box and its text, and between the drop-down arrow and the text.
constexpr int32_t kCheckboxTextGap = 4;
constexpr int32_t kComboTextGap = 4;
constexpr int32_t kComboArrowWidth = 7;
constexpr int32_t kCheckboxLeftInset = 9;

// The square box: 9 pixels (nLeftInset, scaled on a screen of more DPI) from the left with text beside
// it, centred in the cell without text.
CellRect CheckboxRect(const CellRect& cell, bool bTextEmpty, int32_t nLeftInset = kCheckboxLeftInset);
// Where the text beside a box starts: 4 pixels (nGap) right of the box.
CellRect CheckboxTextRect(const CellRect& cell, const CellRect& box, int32_t nGap = kCheckboxTextGap);
// The polyline of the check mark: a short stroke down to the right, then one twice as long up.
std::vector<CellPoint> CheckMarkPoints(const CellRect& box);

struct ProgressLayout {
    CellRect bar;    // the trough with its frame
    CellRect inner;  // inside the frame's top and left edges
    CellRect filled; // the highlighted part; empty at 0 %
    CellRect rest;   // the part right of the fill, where the text has the cell's own colour
    CellRect text;   // the text rectangle
};
ProgressLayout LayOutProgress(const CellRect& cell, int32_t nPercent);
// The progress text: the format (or "%d%%" when empty) with its first integer placeholder replaced by the
// percent and "%%" by "%". Any other conversion is shown as it stands: the format is text, never a
// printf format, so a stray "%s" cannot read past the arguments.
std::wstring FormatProgressText(const std::wstring& strFormat, int32_t nPercent);

// The arrow's rectangle at the cell's right edge, its downward triangle, and the text left of it.
CellRect ComboArrowRect(const CellRect& cell);
std::vector<CellPoint> ComboArrowPoints(const CellRect& arrow);
CellRect ComboTextRect(const CellRect& cell);

// Plain cell text: inset by the padding on the left and right.
CellRect PaddedTextRect(const CellRect& cell, int32_t nPadding);

// Column 0's right edge: the left edge of the first later column (in index order) with a positive width,
// else of column 1. lefts and widths are those of columns 1, 2, ...; the row's right edge with none.
int32_t ColumnZeroRight(int32_t nRowRight, const std::vector<int32_t>& laterLefts,
                        const std::vector<int32_t>& laterWidths);

// The parts of the clip box that the visible rows (first row rectangle to last row rectangle) do not
// cover: above, below and to the right of them.
std::vector<CellRect> BackgroundOutsideRows(const CellRect& clip, const CellRect& firstRow,
                                            const CellRect& lastRow);

// A tooltip text cut to what the notification's 80-character buffer holds with its terminator.
constexpr size_t kToolTipMaxChars = 79;
std::wstring CutToolTipText(const std::wstring& strText);

// The keyboard cell of a list with check boxes: the cell whose box Space ticks. It only stands on cells
// that a click would tick (a check box on a row that takes clicks); usable(row, col) says which those are.
struct KeyCell {
    int32_t row = -1, col = -1;
    bool operator==(const KeyCell& o) const { return row == o.row && col == o.col; }
};
enum class KeyCellMove { First, Left, Right, Up, Down, RowStart, RowEnd, GridStart, GridEnd };
// Left and Right stay in the row, Up and Down go to the nearest row with a usable cell, as close to the
// column as it has one (the left one on a tie); a move with nowhere to go stays. From a cell that is not
// usable (none yet, or its row stopped taking clicks) every move starts at the first usable cell.
// {-1, -1} when no cell is usable.
KeyCell MoveKeyCell(int32_t nRows, int32_t nCols, const std::function<bool(int32_t, int32_t)>& usable,
                    KeyCell from, KeyCellMove move);
