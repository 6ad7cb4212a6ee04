// Colours, column widths and labels of the switch ink order grid, without a window.
#include <gtest/gtest.h>

#include "dialogs/ink/SwitchInkOrderRules.h"

namespace {

TEST(SwitchInkOrderRules, LabelsOnDarkInksAreWhiteUpToFiftyInEveryChannel) {
    EXPECT_EQ(kInkLabelWhite, InkLabelTextColor(0x323232));
    EXPECT_EQ(kInkLabelWhite, InkLabelTextColor(0x000000));
    EXPECT_EQ(kInkLabelBlack, InkLabelTextColor(0x000033));
    EXPECT_EQ(kInkLabelBlack, InkLabelTextColor(0x330000));
    EXPECT_EQ(kInkLabelBlack, InkLabelTextColor(0x003300));
}

TEST(SwitchInkOrderRules, ChannelColumnsShareTheWidthLessEightyAndDropTheRemainder) {
    EXPECT_EQ(65, ChannelColumnWidth(600, 8));
    EXPECT_EQ(74, ChannelColumnWidth(600, 7));
    EXPECT_EQ(0, ChannelColumnWidth(600, 0));
}

TEST(SwitchInkOrderRules, LongInkNamesAreShortenedSoThePositionAlwaysShows) {
    EXPECT_EQ(L"Lc[2,5]", FormatInkLabel(L"Lc", 1, 4));
    EXPECT_EQ(L"[1,1]", FormatInkLabel(L"", 0, 0));
    const std::wstring strLabel = FormatInkLabel(std::wstring(100, L'x'), 15, 15);
    EXPECT_EQ(63u, strLabel.size());
    EXPECT_EQ(L"xx[16,16]", strLabel.substr(54));
}

} // namespace
