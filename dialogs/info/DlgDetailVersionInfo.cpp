#include "DlgDetailVersionInfo.h"

#include <cstring>
#include <memory>

#include "common/AnsiText.h"
#include "common/DlgCommon.h"
#include "dialogs/info/VersionTreeRules.h"
#include "common/ModuleState.h"
#include "res/resource.h"

namespace {

// Visible child with a border and a tab stop.
constexpr DWORD kGridStyle = 0x50810000;
static_assert(kGridStyle == (WS_CHILD | WS_VISIBLE | WS_BORDER | WS_TABSTOP), "grid style");
// Space between the dialog's edge and the grid, in pixels of a 96-DPI screen.
constexpr int kGridMargin = 5;

std::wstring Translate(const std::wstring& strKey) {
    return g_languageFile.Translate(strKey);
}

} // namespace

CDlgDetailVersionInfo::CDlgDetailVersionInfo(const SoftwareVersionRecord* pSoftwareVersion)
    : CDialogEx(IDD_DETAIL_VERSION_INFO) {
    if (pSoftwareVersion) {
        std::memcpy(&m_softwareVersion, pSoftwareVersion, sizeof(m_softwareVersion));
        m_bHasSoftwareVersion = true;
    }
}

BOOL CDlgDetailVersionInfo::OnInitDialog() {
    BOOL bResult = CDialogEx::OnInitDialog();
    TranslateDialogOnOpen(*this);
    LayoutVersionGrid();
    BuildVersionGrid();
    return bResult;
}

void CDlgDetailVersionInfo::LayoutVersionGrid() {
    RECT rc;
    GetClientRect(&rc);
    const int nMargin = CDpiScale(m_hWnd)(kGridMargin);
    ::InflateRect(&rc, -nMargin, -nMargin);
    m_wndPropList.Create(kGridStyle, rc, this, 0);
    m_wndPropList.EnableHeaderCtrl(TRUE, Translate(L"Module"), Translate(L"Version"));
    m_wndPropList.EnableDescriptionArea(FALSE);
    m_wndPropList.SetVSDotNetLook(TRUE);
    m_wndPropList.MarkModifiedProperties(TRUE, TRUE);
    m_wndPropList.SetAlphabeticMode(FALSE);
    // The columns follow the divider while the operator drags it, so a long version is uncovered as the
    // mouse goes instead of after a guess.
    m_wndPropList.m_bShowDragContext = FALSE;
    m_wndPropList.SetCustomColors(0xE1E1E1, 0x000000, 0xC4C4C4, 0x000000, 0xA8A8A8, 0x000000, 0x000000);
}

void CDlgDetailVersionInfo::BuildVersionGrid() {
    BoardVersionRecord record;
    if (!ReadBoardVersionRecord(g_pHostInterface, record))
        return;
    m_wndPropList.SendMessage(WM_SETREDRAW, FALSE);
    m_wndPropList.RemoveAll();
    VersionStatusValues status = ReadVersionStatusValues(g_pHostInterface);
    // One reading of the language pack serves every row's name.
    const CLanguageBatch batch(g_languageFile);
    std::vector<VersionTreeRow> tree =
        BuildVersionTree(record, m_bHasSoftwareVersion ? &m_softwareVersion : nullptr, status,
                         [&batch](const std::wstring& strKey) { return batch.Translate(strKey); });
    for (const VersionTreeRow& group : tree) {
        CMFCPropertyGridProperty* pGroup =
            m_wndPropList.AddProperty(std::make_unique<CMFCPropertyGridPropertyEx>(group.strLabel, 0, FALSE));
        AddVersionRows(*pGroup, group);
    }
    m_wndPropList.AdjustLayout();
    m_wndPropList.SendMessage(WM_SETREDRAW, TRUE);
    ::InvalidateRect(m_wndPropList.m_hWnd, nullptr, TRUE);
}

void CDlgDetailVersionInfo::AddVersionRows(CMFCPropertyGridProperty& parent, const VersionTreeRow& group) {
    for (const VersionTreeRow& row : group.children) {
        if (row.bGroup) {
            // A sub-group joins its parent before its own rows are added, then closes.
            CMFCPropertyGridProperty* pSubGroup =
                parent.AddSubItem(std::make_unique<CMFCPropertyGridPropertyEx>(row.strLabel, 0, FALSE));
            AddVersionRows(*pSubGroup, row);
            if (row.bCollapsed)
                pSubGroup->Expand(FALSE);
            continue;
        }
        CMFCPropertyGridProperty* pRow = parent.AddSubItem(std::make_unique<CMFCPropertyGridPropertyEx>(
            row.strLabel, AnsiToWide(row.strValue.c_str(), CP_THREAD_ACP), nullptr, 0, nullptr, nullptr,
            nullptr));
        pRow->AllowEdit(FALSE);
    }
}
