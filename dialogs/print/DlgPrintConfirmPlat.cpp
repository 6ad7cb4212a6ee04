#include "DlgPrintConfirmPlat.h"
#include "PollTimers.h"

#include "common/DlgCommon.h"
#include "common/Settings.h"
#include "common/ModuleState.h"
#include "res/resource.h"
#include "PrintConfirmRules.h"

namespace {

constexpr UINT kZRefreshMs = 500;

const int kUnitLabels[] = {IDC_MATERIAL_HEIGHT_UNIT, IDC_PRINT_HEIGHT_UNIT, IDC_Z_POSITION_UNIT,
                           IDC_POS_X_UNIT, IDC_POS_Y_UNIT};

} // namespace

CDlgPrintConfirmPlat::CDlgPrintConfirmPlat() : CDialogEx(IDD_PRINT_CONFIRM_PLAT) {}

void CDlgPrintConfirmPlat::DoDataExchange(CDataExchange* pDX) {
    DDX_Control(pDX, IDOK, m_btnPrint);
    DDX_Control(pDX, IDCANCEL, m_btnCancel);
    DDX_Control(pDX, IDC_CONFIRM_POSITION, m_btnConfirmPos);
    // The check box first: a refused number stops the exchange, and the "Not tip" choice must not be lost.
    DDX_Check(pDX, IDC_NOT_TIP, m_bNotTip);
    DDX_Text(pDX, IDC_MATERIAL_HEIGHT, m_dMaterialHeight);
    DDX_Text(pDX, IDC_PRINT_HEIGHT, m_dPrintHeight);
    DDX_Text(pDX, IDC_Z_POSITION, m_strZPosition);
    DDX_Text(pDX, IDC_POS_X, m_dPosX);
    DDX_Text(pDX, IDC_POS_Y, m_dPosY);
}

void CDlgPrintConfirmPlat::DeclareMessageMap(CMessageMap& map) {
    map.Timer([this](UINT_PTR nIdEvent) { OnTimer(nIdEvent); });
    map.Command(IDC_CONFIRM_POSITION, BN_CLICKED, [this] { OnConfirmPosition(); });
    map.Command(IDC_NOT_TIP, BN_CLICKED, [this] { OnClickedNotTip(); });
    map.Command(IDC_MATERIAL_HEIGHT, EN_KILLFOCUS, [this] { OnKillFocusMaterialHeight(); });
    map.Command(IDC_PRINT_HEIGHT, EN_KILLFOCUS, [this] { OnKillFocusPrintHeight(); });
    map.Command(IDC_POS_X, EN_KILLFOCUS, [this] { OnKillFocusPosX(); });
    map.Command(IDC_POS_Y, EN_KILLFOCUS, [this] { OnKillFocusPosY(); });
}

BOOL CDlgPrintConfirmPlat::OnInitDialog() {
    CDialogEx::OnInitDialog();
    TranslateDialogOnOpen(*this);
    m_nUnit = ReadProjectUnit();
    SetTimer(kZRefreshTimer, kZRefreshMs);
    LoadValuesInUnit();
    UpdateUnitLabels();
    return TRUE;
}

void CDlgPrintConfirmPlat::LoadValuesInUnit() {
    double dZ = 0;
    if (IHostInterface* pRoot = g_pHostInterface)
        pRoot->GetZPosition(&dZ);
    m_strZPosition = FormatLength(ConvertToUnit(dZ, m_nUnit));

    // A length the host cannot give shows as 0, the value the member starts with.
    auto load = [this](int32_t nId, double& dMember) {
        if (IHostParameter* pParameter = GetRootParameter(nId))
            pParameter->GetDoubleValue(&dMember);
        dMember = ConvertToUnit(dMember, m_nUnit);
    };
    load(kParamMaterialHeight, m_dMaterialHeight);
    load(kParamPrintHeight, m_dPrintHeight);
    load(kParamPrintPosX, m_dPosX);
    load(kParamPrintPosY, m_dPosY);

    UpdateData(FALSE);
}

std::wstring CDlgPrintConfirmPlat::GetUnitName() const {
    switch (m_nUnit) {
    case kUnitMillimetre:
        return g_languageFile.Translate(L"mm");
    case kUnitInch:
        return g_languageFile.Translate(L"inch");
    case kUnitCentimetre:
        return g_languageFile.Translate(L"cm");
    default:
        return {};
    }
}

void CDlgPrintConfirmPlat::UpdateUnitLabels() {
    std::wstring strUnit = GetUnitName();
    for (int nId : kUnitLabels)
        SetDlgItemText(nId, strUnit);
}

void CDlgPrintConfirmPlat::OnTimer(UINT_PTR nIdEvent) {
    if (nIdEvent != kZRefreshTimer) {
        Default(WM_TIMER, nIdEvent, 0);
        return;
    }
    IHostInterface* pRoot = g_pHostInterface;
    if (!pRoot)
        return;
    double dZ = 0;
    pRoot->GetZPosition(&dZ);
    // Shown in the display unit, like every other length of the dialog.
    m_strZPosition = FormatLength(dZ / GetUnitFactor(m_nUnit));
    SetDlgItemText(IDC_Z_POSITION, m_strZPosition);
}

BOOL CDlgPrintConfirmPlat::SaveControls() {
    m_bSavingControls = true;
    BOOL bSaved = UpdateData(TRUE);
    m_bSavingControls = false;
    return bSaved;
}

void CDlgPrintConfirmPlat::GuardRange(double& dMember, const LengthLimits& limits) {
    // Focus also leaves an edit when a refused number's message box comes up, and when the dialog closes.
    if (m_bSavingControls || m_bClosing)
        return;
    double dRemembered = dMember;
    SaveControls();
    if (!IsShownLengthAllowed(dMember, m_nUnit, limits)) {
        dMember = dRemembered;
        UpdateData(FALSE);
    }
}

void CDlgPrintConfirmPlat::OnKillFocusMaterialHeight() {
    GuardRange(m_dMaterialHeight, kMaterialHeightLimits);
}
void CDlgPrintConfirmPlat::OnKillFocusPrintHeight() {
    GuardRange(m_dPrintHeight, kPrintHeightLimits);
}
void CDlgPrintConfirmPlat::OnKillFocusPosX() {
    GuardRange(m_dPosX, kPositionLimits);
}
void CDlgPrintConfirmPlat::OnKillFocusPosY() {
    GuardRange(m_dPosY, kPositionLimits);
}

bool CDlgPrintConfirmPlat::AreLengthsWithinLimits() const {
    return IsShownLengthAllowed(m_dMaterialHeight, m_nUnit, kMaterialHeightLimits) &&
           IsShownLengthAllowed(m_dPrintHeight, m_nUnit, kPrintHeightLimits) &&
           IsShownLengthAllowed(m_dPosX, m_nUnit, kPositionLimits) &&
           IsShownLengthAllowed(m_dPosY, m_nUnit, kPositionLimits);
}

bool CDlgPrintConfirmPlat::StoreShownLength(int32_t nParameterId, double dShown, const LengthLimits& limits) {
    // Fetched when it is stored: the root may be gone by then, and what it cannot reach is skipped.
    IHostParameter* pParameter = GetRootParameter(nParameterId);
    if (!pParameter)
        return false;
    double dHost = 0;
    pParameter->GetDoubleValue(&dHost);
    if (IsUntouchedDisplayForm(dShown, dHost, m_nUnit))
        return false;
    // The host keeps millimetres whatever the display unit.
    return StoreLength(pParameter, ShownLengthToStore(dShown, m_nUnit, limits));
}

bool CDlgPrintConfirmPlat::StoreLengths() {
    bool bPrintHeightWritten = StoreShownLength(kParamPrintHeight, m_dPrintHeight, kPrintHeightLimits);
    bool bMaterialHeightWritten =
        StoreShownLength(kParamMaterialHeight, m_dMaterialHeight, kMaterialHeightLimits);
    StoreShownLength(kParamPrintPosX, m_dPosX, kPositionLimits);
    StoreShownLength(kParamPrintPosY, m_dPosY, kPositionLimits);
    return bPrintHeightWritten || bMaterialHeightWritten;
}

void CDlgPrintConfirmPlat::OnOK() {
    // Text that is not a number was refused with a message: the operator corrects it, nothing is printed.
    if (!SaveControls())
        return;
    if (!AreLengthsWithinLimits())
        return;
    StoreLengths();
    WriteTempIniInt(L"PRINT", L"NOT_PRINT_CONFIRM", m_bNotTip);
    m_bClosing = true;
    CDialogEx::OnOK();
}

void CDlgPrintConfirmPlat::OnCancel() {
    SaveControls();
    WriteTempIniInt(L"PRINT", L"NOT_PRINT_CONFIRM", m_bNotTip);
    m_bClosing = true;
    CDialogEx::OnCancel();
}

void CDlgPrintConfirmPlat::OnConfirmPosition() {
    if (!SaveControls())
        return;
    if (!AreLengthsWithinLimits())
        return;
    bool bHeightsWritten = StoreLengths();
    IHostInterface* pRoot = g_pHostInterface;
    if (!pRoot)
        return;
    if (bHeightsWritten)
        pRoot->ApplySettings(2, 0, 0);
    // Applying may hand the host a moment to take its root back.
    if (IHostInterface* pRootNow = g_pHostInterface)
        pRootNow->ConfirmPrintPosition();
}

void CDlgPrintConfirmPlat::OnClickedNotTip() {
    SaveControls();
}
