// What the switch ink order dialog shows that needs no window: the text colour on an ink, the width of a
// channel column and the label of a channel.
#pragma once

#include <cstdint>
#include <string>

constexpr uint32_t kInkLabelBlack = 0x000000;
constexpr uint32_t kInkLabelWhite = 0xFFFFFF;
// The label buffer holds 64 characters with the terminator.
constexpr size_t kInkLabelMaxChars = 63;

// White on a dark ink (red, green and blue each at most 50), black on any other.
uint32_t InkLabelTextColor(uint32_t nInkColor);

// Pixels of a 96-DPI screen kept for the head column and the frame.
constexpr int32_t kChannelReservedWidth = 80;

// Each channel column's share of the list width less nReservedWidth (80, scaled on a screen of more DPI)
// for the head column and the frame; the remainder is dropped. 0 without channels.
int32_t ChannelColumnWidth(int32_t nListWidth, int32_t nChannelCount,
                           int32_t nReservedWidth = kChannelReservedWidth);

// "name[head,channel]" with 1-based numbers. A name too long for the 63 characters is shortened so that
// the head and channel numbers always show in full.
std::wstring FormatInkLabel(const std::wstring& strInkName, int32_t nHead, int32_t nChannel);

// The grid shows at most this many heads, and this many channels of each. The host's head and channel ids
// are 16-bit, so it may report counts far past any machine, and a grid of three rows per head is of no use
// to an operator long before that: 64 heads make 192 rows, and 32 channels leave columns of about 20
// pixels. Within these limits the dialog opens in well under a second.
constexpr int32_t kSwitchGridMaxHeads = 64;
constexpr int32_t kSwitchGridMaxChannels = 32;

// How many of the host's heads (or channels) the grid shows: the host's count up to the limit.
int32_t GridCount(int32_t nHostCount, int32_t nLimit);

// The number of entries the head selection needs, one per head: channel total / channels per head. -1 when
// that asks for more heads than the grid can show (a channel total that no machine has): the host's list
// is then not rebuilt.
int64_t RequiredBaseEntries(uint32_t nChannelTotal, int32_t nChannelCount);
