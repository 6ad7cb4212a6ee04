// Row layout of the property grid: scrolling, rows on screen, hit zones, keys, wheel, divider, and the
// shapes of the expand box and the selected group's name box.
#include <gtest/gtest.h>

#include "common/controls/PropertyGridRules.h"

namespace {

const GridRect kList = {1, 20, 401, 200}; // 180 pixels high: ten rows of 18

TEST(PropertyGridRules, ScrollingKeepsWholePagesAndBringsRowsIntoView) {
    EXPECT_EQ(10, GridPageRows(180, 18));
    EXPECT_EQ(9, GridPageRows(179, 18));
    EXPECT_EQ(1, GridPageRows(5, 18));
    EXPECT_EQ(15, GridClampScroll(99, 25, 10));
    EXPECT_EQ(0, GridClampScroll(-3, 25, 10));
    EXPECT_EQ(0, GridClampScroll(4, 6, 10)); // fewer rows than a page never scroll
    EXPECT_EQ(3, GridScrollToShow(5, 3, 10));
    EXPECT_EQ(5, GridScrollToShow(5, 14, 10));
    EXPECT_EQ(5, GridScrollToShow(5, 8, 10)); // already in view
    EXPECT_EQ(6, GridScrollToShow(5, 15, 10));
}

TEST(PropertyGridRules, RowsStandInRowHeightSlotsAndPointsFindThem) {
    EXPECT_EQ((GridRect{1, 20, 401, 37}), GridRowRect(kList, 0, 0, 0, 18));
    // Scrolled by two, third level: indented by two row heights.
    EXPECT_EQ((GridRect{37, 38, 401, 55}), GridRowRect(kList, 3, 2, 2, 18));
    EXPECT_EQ((GridRect{1, 2, 401, 19}), GridRowRect(kList, 0, 1, 0, 18)); // above the list
    EXPECT_EQ(-1, GridRowAt(19, kList, 0, 25, 18));
    EXPECT_EQ(0, GridRowAt(20, kList, 0, 25, 18));
    EXPECT_EQ(5, GridRowAt(38, kList, 4, 25, 18));
    EXPECT_EQ(-1, GridRowAt(200, kList, 0, 25, 18));
    EXPECT_EQ(-1, GridRowAt(100, kList, 0, 3, 18)); // below the last row
}

TEST(PropertyGridRules, HitZonesOfGroupsAndOrdinaryRows) {
    GridRect group = GridRowRect(kList, 0, 0, 1, 18); // left 19
    EXPECT_EQ(GridHitZone::Name, GridHitTest(18, group, true, 200, 18));
    EXPECT_EQ(GridHitZone::ExpandBox, GridHitTest(19, group, true, 200, 18));
    EXPECT_EQ(GridHitZone::ExpandBox, GridHitTest(36, group, true, 200, 18));
    EXPECT_EQ(GridHitZone::Name, GridHitTest(37, group, true, 200, 18));
    EXPECT_EQ(GridHitZone::Name, GridHitTest(200, group, true, 200, 18)); // groups have no divider
    GridRect row = GridRowRect(kList, 1, 0, 1, 18);
    EXPECT_EQ(GridHitZone::Name, GridHitTest(197, row, false, 200, 18));
    EXPECT_EQ(GridHitZone::Divider, GridHitTest(198, row, false, 200, 18));
    EXPECT_EQ(GridHitZone::Divider, GridHitTest(202, row, false, 200, 18));
    EXPECT_EQ(GridHitZone::Value, GridHitTest(203, row, false, 200, 18));
}

TEST(PropertyGridRules, KeysMoveTheSelectionWithinTheRows) {
    EXPECT_EQ(-1, GridNavigate(-1, 0, 10, GridKey::Down));
    EXPECT_EQ(0, GridNavigate(-1, 25, 10, GridKey::Down));
    EXPECT_EQ(24, GridNavigate(-1, 25, 10, GridKey::End));
    EXPECT_EQ(0, GridNavigate(0, 25, 10, GridKey::Up));
    EXPECT_EQ(4, GridNavigate(5, 25, 10, GridKey::Up));
    EXPECT_EQ(4, GridNavigate(3, 25, 10, GridKey::Down));
    EXPECT_EQ(24, GridNavigate(24, 25, 10, GridKey::Down));
    EXPECT_EQ(12, GridNavigate(3, 25, 10, GridKey::PageDown));
    EXPECT_EQ(24, GridNavigate(20, 25, 10, GridKey::PageDown));
    EXPECT_EQ(0, GridNavigate(5, 25, 10, GridKey::PageUp));
    EXPECT_EQ(1, GridNavigate(0, 25, 1, GridKey::PageDown)); // a one-row page still moves
    EXPECT_EQ(0, GridNavigate(17, 25, 10, GridKey::Home));
}

TEST(PropertyGridRules, WheelScrollsThreeRowsPerNotchAndAddsUpPartialTurns) {
    int nRemainder = 0;
    EXPECT_EQ(3, GridWheelRows(nRemainder, -120, 3));
    EXPECT_EQ(-6, GridWheelRows(nRemainder, 240, 3));
    EXPECT_EQ(0, GridWheelRows(nRemainder, -60, 3));
    EXPECT_EQ(3, GridWheelRows(nRemainder, -60, 3));
    EXPECT_EQ(0, GridWheelRows(nRemainder, -100, 3));
    EXPECT_EQ(0, GridWheelRows(nRemainder, 100, 3)); // the other way starts afresh
    EXPECT_EQ(100, nRemainder);
}

TEST(PropertyGridRules, DividerStaysClearOfBothEdges) {
    EXPECT_EQ(150, GridClampLeftColumn(150, 400, 20));
    EXPECT_EQ(20, GridClampLeftColumn(-5, 400, 20));
    EXPECT_EQ(380, GridClampLeftColumn(395, 400, 20));
    EXPECT_EQ(20, GridClampLeftColumn(30, 30, 20)); // too narrow for both: the name column wins its minimum
}

TEST(PropertyGridRules, ExpandBoxShowsMinusWhenExpandedPlusWhenCollapsedAndNothingWithoutSubRows) {
    const GridRect e = {19, 20, 37, 37};
    GridExpandBoxShape expanded = GridExpandBox(e, true, true);
    EXPECT_EQ((GridRect{21, 21, 36, 35}), expanded.box);
    EXPECT_TRUE(expanded.bMinus);
    EXPECT_EQ((GridPoint{23, 28}), expanded.minusFrom);
    EXPECT_EQ((GridPoint{34, 28}), expanded.minusTo);
    EXPECT_FALSE(expanded.bPlusBar);
    GridExpandBoxShape collapsed = GridExpandBox(e, true, false);
    EXPECT_TRUE(collapsed.bPlusBar);
    EXPECT_EQ((GridPoint{28, 23}), collapsed.plusFrom);
    EXPECT_EQ((GridPoint{28, 33}), collapsed.plusTo);
    GridExpandBoxShape empty = GridExpandBox(e, false, false);
    EXPECT_FALSE(empty.bMinus);
    EXPECT_FALSE(empty.bPlusBar);
}

TEST(PropertyGridRules, GroupNameBoxFollowsTheNameOrEndsAtTheCutName) {
    const GridRect n = {40, 20, 140, 37};
    // Fits: the name's own width; vertically centred on the text height, one pixel higher.
    EXPECT_EQ((GridRect{37, 21, 103, 35}), GridGroupNameBox(n, 60, 13));
    // Cut: ends 3 pixels past the shrunk name rectangle.
    EXPECT_EQ((GridRect{37, 21, 143, 35}), GridGroupNameBox(n, 300, 13));
    // Halvings truncate toward zero, also above the client area.
    EXPECT_EQ((GridRect{37, -13, 143, 1}), GridGroupNameBox({40, -15, 140, 2}, 300, 13));
}

} // namespace
