// The property grid's behaviour without a window: which row a point hits and where its zones are, how keys,
// wheel and scrolling move, where the divider may go, and the expand box's marks.
#include <gtest/gtest.h>

#include <tuple>

#include "common/controls/PropertyGridRules.h"

namespace {

using K = GridKey;
const GridRect kList = {1, 20, 401, 200}; // 180 pixels high: ten rows of 18

TEST(PropertyGridRules, PagesScrollingAndTheDividerStayWithinTheirLimits) {
    const std::tuple<int (*)(int, int, int), int, int, int, int> kRows[] = {
        {GridClampScroll, 99, 25, 10, 15},        {GridClampScroll, 15, 25, 10, 15},
        {GridClampScroll, 14, 25, 10, 14},        {GridClampScroll, -3, 25, 10, 0},
        {GridClampScroll, 4, 6, 10, 0},           {GridClampScroll, 1, 11, 10, 1},
        {GridScrollToShow, 5, 4, 10, 4},          {GridScrollToShow, 5, 5, 10, 5},
        {GridScrollToShow, 5, 14, 10, 5},         {GridScrollToShow, 5, 15, 10, 6},
        {GridScrollToShow, 5, 8, 10, 5},          {GridClampLeftColumn, 150, 400, 20, 150},
        {GridClampLeftColumn, 19, 400, 20, 20},   {GridClampLeftColumn, 21, 400, 20, 21},
        {GridClampLeftColumn, 380, 400, 20, 380}, {GridClampLeftColumn, 381, 400, 20, 380},
        {GridClampLeftColumn, 30, 30, 20, 20}}; // too narrow for both: the name column wins
    for (auto [pfn, a, b, c, nExpected] : kRows)
        EXPECT_EQ(nExpected, pfn(a, b, c)) << a << " " << b << " " << c;
    const int kPages[][3] = {{180, 18, 10}, {179, 18, 9}, {5, 18, 1}, {180, 0, 1}, {180, -1, 1}};
    for (const auto& row : kPages)
        EXPECT_EQ(row[2], GridPageRows(row[0], row[1])) << row[0] << " / " << row[1];
}

TEST(PropertyGridRules, APointHitsTheRowInItsSlotBelowTheScrolledOffRows) {
    const int kRows[][4] = {// y, scroll, rows, row hit
                            {19, 0, 25, -1}, {20, 0, 25, 0},  {37, 0, 25, 0},   {38, 0, 25, 1},
                            {38, 4, 25, 5},  {199, 0, 25, 9}, {200, 0, 25, -1}, {55, 0, 3, 1},
                            {56, 0, 3, 2},   {74, 0, 3, -1},  {100, 0, 0, -1}};
    for (const auto& row : kRows)
        EXPECT_EQ(row[3], GridRowAt(row[0], kList, row[1], row[2], 18))
            << "y " << row[0] << " scroll " << row[1];
    EXPECT_EQ(-1, GridRowAt(20, kList, 0, 25, 0));
    // The third row scrolled by two, on the third level: the first slot, indented by two row heights.
    EXPECT_EQ((GridRect{37, 20, 401, 37}), GridRowRect(kList, 2, 2, 2, 18));
    EXPECT_EQ((GridRect{1, 2, 401, 19}), GridRowRect(kList, 0, 1, 0, 18)); // scrolled off: above the list
}

TEST(PropertyGridRules, GroupsHaveAnExpandBoxOneRowWideAndOtherRowsADividerFivePixelsWide) {
    const std::tuple<int, bool, GridHitZone> kRows[] = {
        {18, true, GridHitZone::Name},      {19, true, GridHitZone::ExpandBox},
        {36, true, GridHitZone::ExpandBox}, {37, true, GridHitZone::Name},
        {200, true, GridHitZone::Name},     {197, false, GridHitZone::Name},
        {198, false, GridHitZone::Divider}, {200, false, GridHitZone::Divider},
        {202, false, GridHitZone::Divider}, {203, false, GridHitZone::Value}};
    const GridRect row = {19, 20, 401, 37};
    for (auto [x, bGroup, zone] : kRows)
        EXPECT_EQ(zone, GridHitTest(x, row, bGroup, 200, 18)) << x << (bGroup ? " group" : "");
}

TEST(PropertyGridRules, KeysMoveTheSelectionWithinTheRows) {
    const std::tuple<int, int, int, GridKey, int> kRows[] = {
        {-1, 0, 10, K::Down, -1},   {5, 0, 10, K::Home, -1},      {-1, 25, 10, K::Down, 0},
        {-1, 25, 10, K::End, 24},   {-1, 25, 10, K::PageUp, 0},   {0, 25, 10, K::Up, 0},
        {5, 25, 10, K::Up, 4},      {3, 25, 10, K::Down, 4},      {23, 25, 10, K::Down, 24},
        {24, 25, 10, K::Down, 24},  {3, 25, 10, K::PageDown, 12}, {20, 25, 10, K::PageDown, 24},
        {15, 25, 10, K::PageUp, 6}, {5, 25, 10, K::PageUp, 0},    {0, 25, 1, K::PageDown, 1},
        {0, 25, 2, K::PageDown, 1}, {5, 25, 1, K::PageUp, 4},     {17, 25, 10, K::Home, 0},
        {0, 1, 10, K::End, 0},      {3, 25, 10, K::End, 24}};
    for (auto [nCurrent, nRows, nPage, key, nExpected] : kRows)
        EXPECT_EQ(nExpected, GridNavigate(nCurrent, nRows, nPage, key)) << nCurrent << " of " << nRows;
}

TEST(PropertyGridRules, WheelScrollsItsLinesPerNotchAtLeastOneAndAddsUpPartialTurns) {
    // delta, lines per notch, rows scrolled, remainder after; a delta of 0 keeps what is left.
    const int kSteps[][4] = {{-120, 3, 3, 0}, {240, 3, -6, 0},    {-60, 3, 0, -60}, {0, 3, 0, -60},
                             {-60, 3, 3, 0},  {-100, 3, 0, -100}, {100, 3, 0, 100}, {0, 3, 0, 100},
                             {20, 3, -3, 0},  {-120, 0, 1, 0},    {-120, 1, 1, 0},  {-119, 1, 0, -119},
                             {-1, 1, 1, 0},   {121, 2, -2, 1}};
    int nRemainder = 0;
    for (const auto& step : kSteps) {
        EXPECT_EQ(step[2], GridWheelRows(nRemainder, step[0], step[1])) << step[0];
        EXPECT_EQ(step[3], nRemainder) << step[0];
    }
}

TEST(PropertyGridRules, ExpandBoxShowsMinusWhenExpandedPlusWhenCollapsedAndNothingWithoutSubRows) {
    const GridRect e = {19, 20, 37, 37};
    GridExpandBoxShape expanded = GridExpandBox(e, true, true);
    EXPECT_EQ((GridRect{21, 21, 36, 35}), expanded.box);
    EXPECT_TRUE(expanded.bMinus && !expanded.bPlusBar);
    EXPECT_EQ((GridPoint{23, 28}), expanded.minusFrom);
    EXPECT_EQ((GridPoint{34, 28}), expanded.minusTo);
    GridExpandBoxShape collapsed = GridExpandBox(e, true, false);
    EXPECT_TRUE(collapsed.bMinus && collapsed.bPlusBar);
    EXPECT_EQ((GridPoint{28, 23}), collapsed.plusFrom);
    EXPECT_EQ((GridPoint{28, 33}), collapsed.plusTo);
    GridExpandBoxShape empty = GridExpandBox(e, false, false);
    EXPECT_FALSE(empty.bMinus || empty.bPlusBar);
}

TEST(PropertyGridRules, GroupNameBoxFollowsTheNameOrEndsAtTheCutName) {
    const std::tuple<GridRect, int, GridRect> kRows[] = {
        {{40, 20, 140, 37}, 60, {37, 21, 103, 35}},   // fits: the name's own width, centred
        {{40, 20, 140, 37}, 100, {37, 21, 143, 35}},  // exactly
        {{40, 20, 140, 37}, 300, {37, 21, 143, 35}},  // cut: 3 pixels past the shrunk name
        {{40, -15, 140, 2}, 300, {37, -13, 143, 1}}}; // halvings truncate toward zero
    for (auto [n, w, box] : kRows)
        EXPECT_EQ(box, GridGroupNameBox(n, w, 13)) << w;
}

} // namespace
