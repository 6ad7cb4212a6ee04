// The detailed version information: every board of the machine, the host software's versions and five
// machine status codes, read once when the dialog opens and shown read-only in a property grid.
#pragma once

#include "platform/AfxWin.h"

#include "PivoraRecords.h"
#include "common/controls/PropertyGridEx.h"

struct VersionTreeRow;

class CDlgDetailVersionInfo : public CDialogEx {
public:
    // The record is copied whole; without one the software version shows empty.
    explicit CDlgDetailVersionInfo(const SoftwareVersionRecord* pSoftwareVersion);

protected:
    BOOL OnInitDialog() override;

private:
    void LayoutVersionGrid();
    void BuildVersionGrid();
    void AddVersionRows(CMFCPropertyGridProperty& parent, const VersionTreeRow& group);

    CMFCPropertyGridCtrlEx m_wndPropList;
    SoftwareVersionRecord m_softwareVersion = {};
    bool m_bHasSoftwareVersion = false;
};
