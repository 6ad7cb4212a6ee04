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

TEST(SwitchInkOrderRules, HugeHostCountsAreBoundedAndAHeadSelectionPastTheGridIsNotAskedFor) {
    struct Count {
        int32_t nHost, nLimit, nShown;
    };
    for (const Count& c :
         {Count{0, 64, 0}, Count{63, 64, 63}, Count{64, 64, 64}, Count{65, 64, 64}, Count{10000, 32, 32}})
        EXPECT_EQ(c.nShown, GridCount(c.nHost, c.nLimit)) << c.nHost;
    struct Entries {
        uint32_t nTotal;
        int32_t nPerHead;
        int64_t nEntries;
    };
    for (const Entries& e : {Entries{32, 8, 4}, Entries{7, 8, 0}, Entries{0, 8, 0}, Entries{512, 8, 64},
                             Entries{520, 8, -1}, Entries{64, 1, 64}, Entries{65, 1, -1},
                             Entries{0xFFFFFFFF, 1, -1}, Entries{32, 0, -1}, Entries{32, -1, -1}})
        EXPECT_EQ(e.nEntries, RequiredBaseEntries(e.nTotal, e.nPerHead)) << e.nTotal << "/" << e.nPerHead;
}

} // namespace
