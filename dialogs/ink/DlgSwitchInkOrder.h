// Exchanges the inks of two channels of one head and chooses each head's base channel. The heads and
// channels show as a grid: per head a row of ink cells, a row of check boxes and a spacer row.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <type_traits>

#include "common/controls/XListCtrl.h"
#include "platform/AfxWin.h"
#include "PivoraHost.h"

struct ImageListDeleter {
    using pointer = HIMAGELIST;
    void operator()(HIMAGELIST h) const noexcept {
        if (h)
            ::ImageList_Destroy(h);
    }
};
using unique_himagelist = std::unique_ptr<std::remove_pointer_t<HIMAGELIST>, ImageListDeleter>;

class CDlgSwitchInkOrder : public CDialogEx {
public:
    CDlgSwitchInkOrder();
    ~CDlgSwitchInkOrder() override;

protected:
    BOOL OnInitDialog() override;
    void DoDataExchange(CDataExchange* pDX) override;
    void DeclareMessageMap(CMessageMap& map) override;
    void OnOK() override;
    void OnCancel() override;

    void OnBnClickedSwitch();
    void OnCbnSelchangeHeadSelect();
    void OnCbnSelchangeBaseChannel();

private:
    // The ink group id of a channel (0 when the channel cannot be found); the ink colour, the text colour
    // on it and the label are written only when the ink group is known.
    uint16_t GetChannelInk(int nHead, int nChannel, COLORREF* pInkColor, COLORREF* pTextColor,
                           std::wstring* pLabel) const;
    // What a cell or combo item shows for a channel, with the neutral look when its ink is not known.
    struct ChannelLook {
        uint16_t nInk = 0;
        COLORREF crInk = 0xFFFFFF;
        COLORREF crText = 0;
        std::wstring strLabel;
    };
    ChannelLook LookOfChannel(int nHead, int nChannel) const;
    IHostHeadConfig* HeadConfig() const;
    void TakeSnapshot();
    void BuildGrid();
    void SetInkCell(int nHead, int nChannel);
    void FillHeadSelect();
    void FillBaseChannel();
    void SetRedraw(BOOL bRedraw);

    CXListCtrl m_List;
    CMFCButton m_btnSwitch;
    CMFCButton m_btnOK;
    CMFCButton m_btnCancel;
    int m_nHeadCount = 2;
    int m_nChannelCount = 8;
    int m_nActiveIndex = -1;
    // The heads and channels the grid shows: the host's counts, bounded.
    int m_nGridHeads = 2;
    int m_nGridChannels = 8;
    BOOL m_bModified = FALSE;
    CComboBox m_cbHeadSelect;
    CComboBox m_cbBaseChannel;
    IHostSnapshot* m_pSnapshot = nullptr;
    // The printer that made the snapshot takes it back, even if the root names none by then.
    IHostPrinter* m_pSnapshotPrinter = nullptr;
    // Only blocks copied into the snapshot are copied back: an empty copy would wipe the host's settings.
    bool m_bSnapshotHoldsHeads = false;
    bool m_bSnapshotHoldsGroups = false;
    // Gives the rows their 20-pixel height; the list shares it, the dialog owns it.
    unique_himagelist m_rowHeightImages;
};
