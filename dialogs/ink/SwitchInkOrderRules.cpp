#include "SwitchInkOrderRules.h"

uint32_t InkLabelTextColor(uint32_t nInkColor) {
    const uint32_t r = nInkColor & 0xFF, g = (nInkColor >> 8) & 0xFF, b = (nInkColor >> 16) & 0xFF;
    return r <= 50 && g <= 50 && b <= 50 ? kInkLabelWhite : kInkLabelBlack;
}

int32_t ChannelColumnWidth(int32_t nListWidth, int32_t nChannelCount, int32_t nReservedWidth) {
    if (nChannelCount <= 0)
        return 0;
    return (nListWidth - nReservedWidth) / nChannelCount;
}

std::wstring FormatInkLabel(const std::wstring& strInkName, int32_t nHead, int32_t nChannel) {
    const std::wstring strPosition = L"[" + std::to_wstring(static_cast<int64_t>(nHead) + 1) + L"," +
                                     std::to_wstring(static_cast<int64_t>(nChannel) + 1) + L"]";
    const size_t nNameRoom =
        strPosition.size() < kInkLabelMaxChars ? kInkLabelMaxChars - strPosition.size() : 0;
    return strInkName.substr(0, nNameRoom) + strPosition;
}

int32_t GridCount(int32_t nHostCount, int32_t nLimit) {
    return nHostCount < nLimit ? nHostCount : nLimit;
}

int64_t RequiredBaseEntries(uint32_t nChannelTotal, int32_t nChannelCount) {
    if (nChannelCount <= 0)
        return -1;
    const uint32_t nRequired = nChannelTotal / static_cast<uint32_t>(nChannelCount);
    return nRequired > static_cast<uint32_t>(kSwitchGridMaxHeads) ? -1 : static_cast<int64_t>(nRequired);
}
