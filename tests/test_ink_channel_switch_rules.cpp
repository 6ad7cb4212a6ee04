// The ink channel switch over a simulated head configuration and its table sets.
#include <gtest/gtest.h>

#include "tests/native/StrictMachine.h"
#include "dialogs/ink/InkChannelSwitchRules.h"

namespace {

constexpr uint16_t K = 1, C = 2, M = 3, Y = 4, W = 7;
const SimEntryKind kColour = {1, 1, 0, 0}, kSpot = {2, 1, 0, 0};

class InkChannelSwitchTest : public ::testing::Test {
protected:
    SimHeadConfig& Config() { return machine.m_heads; }
    void AddHead(const std::vector<uint16_t>& inks) {
        SimHead& head = Config().m_headTable.Add();
        for (uint16_t nInk : inks)
            head.Add(nInk);
    }
    std::vector<uint16_t> Inks(size_t nHead) {
        std::vector<uint16_t> inks;
        for (const auto& pChannel : Config().m_headTable.m_heads[nHead]->m_channels)
            inks.push_back(pChannel ? pChannel->m_nGroupId : 0);
        return inks;
    }
    // A table set of the given configuration holding a copy of the live groups.
    SimChannelGroupList& AddTableSet(uint32_t nConfigId) {
        SimChannelGroupList& list = Config().m_groupSettings.Add(nConfigId).Add();
        list.CopyContents(Config().m_liveGroups);
        return list;
    }
    SimChannelGroupList& TableList(size_t nSet, size_t nList = 0) {
        return *Config().m_groupSettings.m_sets[nSet]->m_lists[nList];
    }
    size_t Writes() { return machine.m_log.Filter({"Channel.Set", "Entry("}).size(); }

    StrictMachine machine;
};

TEST_F(InkChannelSwitchTest, SameKindExchangesInksAndPlacesInEveryListOfMatchingSetsOnly) {
    Config().m_headTable.m_nConfigId = 0x408;
    AddHead({K, C, M, Y});
    AddHead({K, C, M, Y});
    SimChannelGroup& group = Config().m_liveGroups.Add(1);
    for (uint32_t c = 0; c < 4; ++c)
        group.Add(static_cast<uint16_t>(c), 0, {c}, kColour);
    group.Add(9, 1, {0, 1, 2, 3}, kColour);
    AddTableSet(0x408);
    Config().m_groupSettings.m_sets[0]->Add().CopyContents(Config().m_liveGroups);
    // A second list of the set lists both channels in one entry: its two positions exchange.
    TableList(0, 1).m_groups[0]->m_entries[1]->m_channels = {1, 0x10002};
    AddTableSet(0x208);
    const std::string strLive = Config().m_liveGroups.Describe();

    ASSERT_TRUE(SwitchChannels(&machine, {0, 1}, {0, 2}));
    EXPECT_EQ((std::vector<uint16_t>{K, M, C, Y}), Inks(0));
    EXPECT_EQ((std::vector<uint16_t>{K, C, M, Y}), Inks(1));
    EXPECT_EQ("1:0@0[0] 1:1@0[2] 1:2@0[1] 1:3@0[3] 1:9@1[0,1,2,3]", TableList(0).Describe());
    EXPECT_EQ("1:0@0[0] 1:1@0[2,1] 1:2@0[2] 1:3@0[3] 1:9@1[0,1,2,3]", TableList(0, 1).Describe());
    EXPECT_EQ(strLive, TableList(1).Describe());
    EXPECT_EQ(strLive, Config().m_liveGroups.Describe());
}

TEST_F(InkChannelSwitchTest, CrossKindSwitchGoesThroughPartnersOfEachKindOnTheDefaultMachine) {
    AddDefaultHeads(Config(), machine.m_printer.m_groupTable);
    // Head 1: K on a colour channel (1), W on a spot channel (7). Head 4 has W on colour channel 1 and K on
    // spot channel 7; its colour entries differ in property C, which the partner search ignores.
    ASSERT_TRUE(EntriesDiffer(&Config().m_liveGroups, {0, 0}, {0, 6}));
    ChannelRef p0, p1;
    ASSERT_TRUE(FindPartners(&Config(), &Config().m_liveGroups, {0, 0}, {0, 6}, &p0, &p1));
    EXPECT_TRUE(p0.nHead == 3 && p0.nChannel == 0 && p1.nHead == 3 && p1.nChannel == 6);

    ASSERT_TRUE(SwitchChannels(&machine, {0, 0}, {0, 6}));
    EXPECT_EQ((std::vector<uint16_t>{W, K, K, W}),
              (std::vector<uint16_t>{Inks(0)[0], Inks(0)[6], Inks(3)[0], Inks(3)[6]}));
    // In both lists of the machine's set the chosen channels and their partners changed places.
    for (size_t nList : {0u, 1u}) {
        const auto& groups = TableList(0, nList).m_groups;
        EXPECT_EQ((std::vector<int32_t>{3, 0, 3, 0}),
                  (std::vector<int32_t>{groups[0]->m_entries[0]->m_nHead, groups[0]->m_entries[18]->m_nHead,
                                        groups[1]->m_entries[0]->m_nHead, groups[1]->m_entries[6]->m_nHead}));
    }
    // The two-head configuration's set is not touched.
    EXPECT_EQ(0, TableList(1).m_groups[0]->m_entries[0]->m_nHead);
}

TEST_F(InkChannelSwitchTest, CrossKindWithoutTwoDistinctPartnersFailsAndChangesNothing) {
    AddHead({K, W, W});
    AddHead({K, W});
    SimChannelGroup& group = Config().m_liveGroups.Add(1);
    group.Add(0, 0, {0}, kColour);
    group.Add(1, 0, {1}, kSpot);
    // The only entry that could be either partner: colour kind printing W... and spot kind printing K?
    // One entry cannot be both, and the same entry twice is refused.
    group.Add(2, 1, {0, 1}, kColour);
    AddTableSet(0);
    machine.m_log.Clear();
    EXPECT_FALSE(SwitchChannels(&machine, {0, 0}, {0, 1}));
    EXPECT_EQ(0u, Writes());

    // A spot entry printing K exists but it is the colour one's own entry: still no pair.
    group.m_entries[2]->m_kind = kSpot;
    group.m_entries[2]->m_channels = {0};
    EXPECT_FALSE(SwitchChannels(&machine, {0, 0}, {0, 1}));
    EXPECT_EQ(0u, Writes());
    EXPECT_EQ((std::vector<uint16_t>{K, W, W}), Inks(0));
}

TEST_F(InkChannelSwitchTest, PropertyCIsIgnoredByThePartnerSearchAndMutualPartnersExchangeDirectly) {
    AddHead({K, C, C, K});
    SimChannelGroup& group = Config().m_liveGroups.Add(1);
    group.Add(0, 0, {0}, {1, 1, 0, 0});
    group.Add(1, 0, {1}, {1, 1, 5, 0});
    group.Add(2, 0, {2}, {1, 1, 0, 0});
    group.Add(3, 0, {3}, {1, 1, 5, 0});
    EXPECT_TRUE(EntriesDiffer(&Config().m_liveGroups, {0, 0}, {0, 1}));
    // Entry 1 (C = 5) is the first of channel 0's kind without C that prints channel 1's ink.
    EXPECT_EQ(group.m_entries[1].get(),
              FindPartnerEntry(&Config(), &Config().m_liveGroups, 1, 1, 0, C, group.m_entries[0].get()));
    EXPECT_EQ(nullptr, FindPartnerEntry(&Config(), &Config().m_liveGroups, 1, 1, 0, M, nullptr));

    // The partners found are the two chosen channels themselves: going through them would exchange the
    // inks twice and leave everything as it was, so the two are exchanged directly.
    AddTableSet(0);
    ASSERT_TRUE(SwitchChannels(&machine, {0, 0}, {0, 1}));
    EXPECT_EQ((std::vector<uint16_t>{C, K, C, K}), Inks(0));
    EXPECT_EQ("1:0@0[1] 1:1@0[0] 1:2@0[2] 1:3@0[3]", TableList(0).Describe());
}

TEST_F(InkChannelSwitchTest, EntriesDifferInAnyOfTheirFourPropertiesAndAMissingOneExchangesNothing) {
    AddHead({K, C});
    SimChannelGroup& group = Config().m_liveGroups.Add(1);
    group.Add(0, 0, {0}, kColour);
    SimChannelEntry& second = group.Add(1, 0, {1}, kColour);
    for (auto [kind, bDiffer] : {std::pair<SimEntryKind, bool>{{1, 1, 0, 0}, false},
                                 {{2, 1, 0, 0}, true},
                                 {{1, 2, 0, 0}, true},
                                 {{1, 1, 1, 0}, true},
                                 {{1, 1, 0, 1}, true}}) {
        second.m_kind = kind;
        EXPECT_EQ(bDiffer, EntriesDiffer(&Config().m_liveGroups, {0, 0}, {0, 1}))
            << kind.nA << kind.nB << kind.nC << kind.nD;
    }
    EXPECT_FALSE(EntriesDiffer(&Config().m_liveGroups, {0, 0}, {0, 5}));
    SwitchChannels(&machine, {0, 0}, {0, 5}); // a channel the head does not have: nothing moves
    EXPECT_EQ((std::vector<uint16_t>{K, C}), Inks(0));
    // A table set without the first channel's entry: nothing is exchanged, whatever the kinds.
    for (bool bKindsDiffer : {false, true})
        EXPECT_FALSE(UpdateTableSet(&Config().m_liveGroups, bKindsDiffer, {0, 5}, {0, 1}, {0, 0}, {0, 1}));
    EXPECT_FALSE(UpdateTableSet(&Config().m_liveGroups, true, {0, 0}, {0, 1}, {0, 5}, {0, 1}));
    EXPECT_TRUE(UpdateTableSet(&Config().m_liveGroups, false, {0, 0}, {0, 1}, {0, 5}, {0, 1}));
}

TEST_F(InkChannelSwitchTest, ChannelsWithoutLiveEntriesExchangeAsTheSameKind) {
    AddHead({K, C});
    Config().m_bHasLiveGroups = false;
    EXPECT_FALSE(EntriesDiffer(nullptr, {0, 0}, {0, 1}));
    ASSERT_TRUE(SwitchChannels(&machine, {0, 0}, {0, 1}));
    EXPECT_EQ((std::vector<uint16_t>{C, K}), Inks(0));
}

TEST_F(InkChannelSwitchTest, NullObjectsAreSkippedAndChannelsCompareByTheirLow16Bits) {
    AddHead({K, C, M});
    Config().m_liveGroups.m_groups.emplace_back(); // a group the host cannot give
    SimChannelGroup& group = Config().m_liveGroups.Add(1);
    group.m_entries.emplace_back();
    group.Add(4, 1, {2}, kColour); // another head's channel 2 comes first in the walk
    group.Add(5, 0, {}, kColour);
    group.Add(6, 0, {7, 0x10002}, kColour);
    EntryPosition found = FindEntry(&Config().m_liveGroups, {0, 2});
    EXPECT_TRUE(found.pEntry == group.m_entries[3].get() && found.nPosition == 1);
    EXPECT_EQ(nullptr, FindEntry(&Config().m_liveGroups, {0, -1}).pEntry);
    EXPECT_EQ(nullptr, FindEntry(nullptr, {0, 2}).pEntry);

    // A lookup past the head table, or onto a missing head or channel, finds nothing and changes nothing.
    Config().m_headTable.m_heads.emplace_back();
    EXPECT_EQ(nullptr, LookUpChannel(&Config().m_headTable, {1, 0}));
    EXPECT_EQ(nullptr, LookUpChannel(&Config().m_headTable, {0, 3}));
    EXPECT_EQ(nullptr, LookUpChannel(nullptr, {0, 0}));
    Config().m_headTable.m_heads[0]->m_channels[1].reset();
    machine.m_log.Clear();
    SwapChannelInks(&Config().m_headTable, {0, 0}, {0, 1});
    SwapChannelInks(&Config().m_headTable, {0, 0}, {0, 0});
    EXPECT_EQ(0u, Writes());

    // Table sets and lists the host cannot give are passed over.
    Config().m_groupSettings.m_sets.emplace_back();
    AddTableSet(0).m_groups[1]->m_entries.clear();
    Config().m_groupSettings.m_sets.back()->m_lists.emplace_back();
    EXPECT_TRUE(SwitchChannels(&machine, {0, 0}, {0, 2}));
    EXPECT_EQ(M, Inks(0)[0]);

    machine.m_bHasHeadConfig = false;
    EXPECT_FALSE(SwitchChannels(&machine, {0, 0}, {0, 2}));
    EXPECT_FALSE(SwitchChannels(nullptr, {0, 0}, {0, 2}));
}

} // namespace
