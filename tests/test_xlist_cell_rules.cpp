// Where the list cell painters put their parts, without a window.
#include <gtest/gtest.h>

#include <string>
#include <tuple>

#include "common/controls/XListCellRules.h"

namespace {

TEST(XListCellRules, CheckboxSitsNinePixelsInWithTextAndCentredWithoutAndItsMarkRunsDownThenUp) {
    const CellRect cell = {100, 20, 165, 40};
    const CellRect withText = CheckboxRect(cell, false);
    EXPECT_EQ((CellRect{109, 20, 128, 39}), withText);
    EXPECT_EQ(132, CheckboxTextRect(cell, withText).left);
    // 65 / 2 - 19 / 2 - 1 = 22: halves truncated, one pixel further left.
    EXPECT_EQ((CellRect{122, 20, 141, 39}), CheckboxRect(cell, true));

    // Box 19 x 19: s = 3, start (109 + 4, 20 + 3 + 4); 3 points down to the right, 6 up to the right.
    const std::vector<CellPoint> mark = CheckMarkPoints(withText);
    ASSERT_EQ(9u, mark.size());
    EXPECT_EQ((CellPoint{113, 27}), mark.front());
    EXPECT_EQ((CellPoint{115, 29}), mark[2]);
    EXPECT_EQ((CellPoint{116, 30}), mark[3]);
    EXPECT_EQ((CellPoint{121, 25}), mark.back());
    // A box too small for a stroke has no mark.
    EXPECT_TRUE(CheckMarkPoints({0, 0, 5, 5}).empty());
}

TEST(XListCellRules, ProgressFillsItsShareOfTheInnerWidthAndTheTextChangesColourWhereTheFillEnds) {
    const CellRect cell = {10, 0, 111, 20};
    ProgressLayout half = LayOutProgress(cell, 50);
    EXPECT_EQ((CellRect{11, 0, 111, 19}), half.bar);
    EXPECT_EQ((CellRect{12, 1, 111, 18}), half.inner);
    // 99 * 50 / 100 = 49 pixels, the last one left to the trough.
    EXPECT_EQ((CellRect{12, 1, 60, 18}), half.filled);
    EXPECT_EQ((CellRect{60, 1, 111, 18}), half.rest);
    EXPECT_EQ((CellRect{12, 1, 110, 18}), half.text);
    EXPECT_TRUE(LayOutProgress(cell, 0).filled.IsEmpty());
    EXPECT_TRUE(LayOutProgress(cell, 1).filled.IsEmpty());
    EXPECT_FALSE(LayOutProgress({0, 0, 203, 20}, 1).filled.IsEmpty()); // 1 % of 201 pixels shows
    // Past 100 % the fill stops at the cell's edge.
    EXPECT_EQ(LayOutProgress(cell, 100).filled, LayOutProgress(cell, 110).filled);
}

TEST(XListCellRules, ProgressTextReplacesOnlyTheFirstNumberAndNeverReadsOtherConversions) {
    const std::tuple<const wchar_t*, int32_t, const wchar_t*> kRows[] = {
        {L"", 50, L"50%"},
        {L"Done %d of 100%%", 7, L"Done 7 of 100%"},
        {L"%s %d %d", 3, L"%s 3 %d"},
        {L"%i%", 100, L"100%"},
        {L"%d", -1, L"-1"},
        {L"%", 5, L"%"},
        {L"%%", 5, L"%"},
        {L"x", 5, L"x"}};
    for (auto [pszFormat, nPercent, pszText] : kRows)
        EXPECT_EQ(pszText, FormatProgressText(pszFormat, nPercent)) << pszFormat;
}

TEST(XListCellRules, DropDownTextEndsElevenPixelsBeforeTheEdgeClearOfASixPixelArrow) {
    const CellRect cell = {0, 40, 80, 60};
    EXPECT_EQ((CellRect{73, 41, 80, 59}), ComboArrowRect(cell));
    EXPECT_EQ(69, ComboTextRect(cell).right);
    // H = 18: x0 = 80 - 9 + 5 = 76, y = 41 + 7.
    EXPECT_EQ((std::vector<CellPoint>{{76, 48}, {70, 48}, {73, 51}}), ComboArrowPoints(ComboArrowRect(cell)));
    EXPECT_EQ((CellRect{5, 40, 75, 60}), PaddedTextRect(cell, 5));
}

TEST(XListCellRules, ColumnZeroEndsAtTheFirstLaterColumnThatHasAWidth) {
    // Lefts and widths of the later columns; fewer widths than columns: none read past them.
    const std::tuple<std::vector<int32_t>, std::vector<int32_t>, int32_t> kRows[] = {
        {{}, {}, 300},       {{0, 0, 50}, {0, 0, 65}, 50}, {{30, 50}, {1, 65}, 30},
        {{0, 0}, {0, 0}, 0}, {{25, 40}, {0}, 25},          {{40}, {-1}, 40}};
    for (const auto& [lefts, widths, nRight] : kRows)
        EXPECT_EQ(nRight, ColumnZeroRight(300, lefts, widths)) << lefts.size() << " " << widths.size();
}

TEST(XListCellRules, BackgroundIsErasedOnlyAboveBelowAndRightOfTheVisibleRows) {
    const std::vector<CellRect> parts =
        BackgroundOutsideRows({0, 0, 500, 400}, {0, 24, 450, 44}, {0, 304, 450, 324});
    EXPECT_EQ((std::vector<CellRect>{{0, 0, 500, 24}, {0, 324, 500, 400}, {450, 24, 500, 324}}), parts);
}

TEST(XListCellRules, ToolTipsAreCutToSeventyNineCharacters) {
    for (auto [nLength, nCut] : {std::pair<size_t, size_t>{0, 0}, {78, 78}, {79, 79}, {80, 79}, {200, 79}})
        EXPECT_EQ(nCut, CutToolTipText(std::wstring(nLength, L'x')).size()) << nLength;
}

// A grid as rows of text, 'x' where a click would tick a box; each row moves from a cell to the expected one.
TEST(XListCellRules, KeyCellMovesOnlyOverCellsAClickWouldTick) {
    const std::vector<std::string> grid = {"..x.x", ".....", "xx..x", "....."};
    auto usable = [&](int32_t r, int32_t c) { return grid[size_t(r)][size_t(c)] == 'x'; };
    using M = KeyCellMove;
    const struct {
        KeyCell from;
        M move;
        KeyCell to;
    } rows[] = {
        {{-1, -1}, M::Left, {0, 2}},  {{1, 1}, M::Down, {0, 2}},     {{0, 2}, M::First, {0, 2}},
        {{0, 2}, M::Right, {0, 4}},   {{0, 4}, M::Right, {0, 4}},    {{0, 2}, M::Left, {0, 2}},
        {{0, 2}, M::Down, {2, 1}},    {{0, 4}, M::Down, {2, 4}},     {{2, 1}, M::Down, {2, 1}},
        {{2, 0}, M::Up, {0, 2}},      {{2, 4}, M::Up, {0, 4}},       {{0, 2}, M::Up, {0, 2}},
        {{2, 1}, M::RowEnd, {2, 4}},  {{2, 4}, M::RowStart, {2, 0}}, {{2, 4}, M::GridStart, {0, 2}},
        {{0, 2}, M::GridEnd, {2, 4}},
    };
    for (const auto& row : rows)
        EXPECT_EQ(row.to, MoveKeyCell(4, 5, usable, row.from, row.move))
            << row.from.row << "," << row.from.col;
    // Neighbouring boxes: a move takes the next row or column, and column 0 is a cell like any other.
    const std::vector<std::string> dense = {"xx.", "x..", "xx."};
    auto near = [&](int32_t r, int32_t c) { return dense[size_t(r)][size_t(c)] == 'x'; };
    EXPECT_EQ((KeyCell{0, 1}), MoveKeyCell(3, 3, near, {0, 0}, M::Right));
    EXPECT_EQ((KeyCell{1, 0}), MoveKeyCell(3, 3, near, {0, 1}, M::Down));
    EXPECT_EQ((KeyCell{1, 0}), MoveKeyCell(3, 3, near, {2, 1}, M::Up));
    EXPECT_EQ((KeyCell{}), MoveKeyCell(
                               2, 2, [](int32_t, int32_t) { return false; }, {}, M::First));
}

} // namespace
