#include "XListCellRules.h"

CellRect CheckboxRect(const CellRect& cell, bool bTextEmpty, int32_t nLeftInset) {
    CellRect box;
    box.top = cell.top;
    box.bottom = cell.bottom - 1;
    const int32_t nSide = box.bottom - box.top;
    box.left = cell.left + nLeftInset;
    if (bTextEmpty)
        box.left = cell.left + cell.Width() / 2 - nSide / 2 - 1;
    box.right = box.left + nSide;
    return box;
}

CellRect CheckboxTextRect(const CellRect& cell, const CellRect& box, int32_t nGap) {
    CellRect text = cell;
    text.left = box.right + nGap;
    return text;
}

std::vector<CellPoint> CheckMarkPoints(const CellRect& box) {
    const int32_t w = box.Width(), h = box.Height();
    const int32_t s = (w / 2) / 3;
    const int32_t x = box.left + w / 4;
    const int32_t y = box.top + s + h / 4;
    std::vector<CellPoint> points;
    for (int32_t i = 0; i < s; ++i)
        points.push_back({x + i, y + i});
    for (int32_t j = 0; j < 2 * s; ++j)
        points.push_back({x + s + j, y + s - j});
    return points;
}

ProgressLayout LayOutProgress(const CellRect& cell, int32_t nPercent) {
    ProgressLayout layout;
    layout.bar = cell;
    layout.bar.bottom -= 1;
    layout.bar.left += 1;
    const CellRect& r = layout.bar;
    layout.inner = {r.left + 1, r.top + 1, r.right, r.bottom - 1};
    const CellRect& in = layout.inner;
    if (nPercent > 0) {
        // 64 bits: a host's percent is not limited to 100.
        int64_t w = static_cast<int64_t>(in.right - in.left) * nPercent / 100;
        // Past 100 % the bar stays inside its own cell instead of painting over the next one.
        if (w > in.right - in.left)
            w = in.right - in.left;
        layout.filled = {in.left, in.top, static_cast<int32_t>(in.left + w - 1), in.bottom};
    } else {
        layout.filled = {in.left, in.top, in.left, in.bottom};
    }
    layout.rest = {layout.filled.right, in.top, in.right, in.bottom};
    layout.text = {r.left + 1, r.top + 1, r.right - 1, r.bottom - 1};
    return layout;
}

std::wstring FormatProgressText(const std::wstring& strFormat, int32_t nPercent) {
    const std::wstring strUsed = strFormat.empty() ? L"%d%%" : strFormat;
    std::wstring strText;
    bool bNumberDone = false;
    for (size_t i = 0; i < strUsed.size(); ++i) {
        if (strUsed[i] == L'%' && i + 1 < strUsed.size()) {
            const wchar_t next = strUsed[i + 1];
            if (next == L'%') {
                strText += L'%';
                ++i;
                continue;
            }
            if ((next == L'd' || next == L'i') && !bNumberDone) {
                strText += std::to_wstring(nPercent);
                bNumberDone = true;
                ++i;
                continue;
            }
        }
        strText += strUsed[i];
    }
    return strText;
}

CellRect ComboArrowRect(const CellRect& cell) {
    return {cell.right - kComboArrowWidth, cell.top + 1, cell.right, cell.bottom - 1};
}

std::vector<CellPoint> ComboArrowPoints(const CellRect& arrow) {
    const int32_t h = arrow.Height();
    const int32_t x0 = arrow.right - h / 2 + 5;
    const int32_t y = arrow.top + (h - 3) / 2;
    return {{x0, y}, {x0 - 6, y}, {x0 - 3, y + 3}};
}

CellRect ComboTextRect(const CellRect& cell) {
    CellRect text = cell;
    text.right = ComboArrowRect(cell).left - kComboTextGap;
    return text;
}

CellRect PaddedTextRect(const CellRect& cell, int32_t nPadding) {
    CellRect text = cell;
    text.left += nPadding;
    text.right -= nPadding;
    return text;
}

int32_t ColumnZeroRight(int32_t nRowRight, const std::vector<int32_t>& laterLefts,
                        const std::vector<int32_t>& laterWidths) {
    if (laterLefts.empty())
        return nRowRight;
    for (size_t i = 0; i < laterLefts.size() && i < laterWidths.size(); ++i) {
        if (laterWidths[i] > 0)
            return laterLefts[i];
    }
    return laterLefts[0];
}

std::vector<CellRect> BackgroundOutsideRows(const CellRect& clip, const CellRect& firstRow,
                                            const CellRect& lastRow) {
    return {{clip.left, clip.top, clip.right, firstRow.top},
            {clip.left, lastRow.bottom, clip.right, clip.bottom},
            {firstRow.right, firstRow.top, clip.right, lastRow.bottom}};
}

std::wstring CutToolTipText(const std::wstring& strText) {
    return strText.substr(0, kToolTipMaxChars);
}

namespace {

// The usable cell of a row nearest to a column (the left one on a tie), or -1.
int32_t NearestInRow(int32_t nRow, int32_t nCols, int32_t nCol,
                     const std::function<bool(int32_t, int32_t)>& usable) {
    for (int32_t d = 0; d < nCols; ++d) {
        if (nCol - d >= 0 && nCol - d < nCols && usable(nRow, nCol - d))
            return nCol - d;
        if (nCol + d >= 0 && nCol + d < nCols && usable(nRow, nCol + d))
            return nCol + d;
    }
    return -1;
}

} // namespace

KeyCell MoveKeyCell(int32_t nRows, int32_t nCols, const std::function<bool(int32_t, int32_t)>& usable,
                    KeyCell from, KeyCellMove move) {
    auto inGrid = [&](int32_t r, int32_t c) { return r >= 0 && r < nRows && c >= 0 && c < nCols; };
    auto firstFrom = [&](int32_t nRow, int32_t nStep) -> KeyCell {
        for (int32_t r = nRow; r >= 0 && r < nRows; r += nStep) {
            int32_t c = NearestInRow(r, nCols, nStep > 0 ? 0 : nCols - 1, usable);
            if (c >= 0)
                return {r, c};
        }
        return {};
    };
    if (!inGrid(from.row, from.col) || !usable(from.row, from.col) || move == KeyCellMove::First ||
        move == KeyCellMove::GridStart)
        return firstFrom(0, 1);
    if (move == KeyCellMove::GridEnd)
        return firstFrom(nRows - 1, -1);
    KeyCell to = from;
    switch (move) {
    case KeyCellMove::Left:
    case KeyCellMove::Right:
    case KeyCellMove::RowStart:
    case KeyCellMove::RowEnd: {
        const bool bForward = move == KeyCellMove::Right || move == KeyCellMove::RowEnd;
        const bool bToEnd = move == KeyCellMove::RowStart || move == KeyCellMove::RowEnd;
        for (int32_t c = from.col + (bForward ? 1 : -1); c >= 0 && c < nCols; c += bForward ? 1 : -1) {
            if (usable(from.row, c)) {
                to.col = c;
                if (!bToEnd)
                    break;
            }
        }
        break;
    }
    case KeyCellMove::Up:
    case KeyCellMove::Down: {
        const int32_t nStep = move == KeyCellMove::Down ? 1 : -1;
        for (int32_t r = from.row + nStep; r >= 0 && r < nRows; r += nStep) {
            int32_t c = NearestInRow(r, nCols, from.col, usable);
            if (c >= 0)
                return {r, c};
        }
        break;
    }
    default:
        break;
    }
    return to;
}
