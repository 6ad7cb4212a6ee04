#include "PivoraProc.h"

#include <cstring>
#include <new>

#include "common/DlgCommon.h"
#include "common/Settings.h"
#include "dialogs/ink/DlgCutInkSetting.h"
#include "dialogs/ink/DlgSupplyInkTimeout.h"
#include "dialogs/ink/DlgCustomEclosion.h"
#include "dialogs/info/DlgDetailVersionInfo.h"
#include "dialogs/ink/DlgSwitchInkOrder.h"
#include "dialogs/print/DlgConfirmPrintMode.h"
#include "dialogs/print/DlgMultiStepPopupKT.h"
#include "dialogs/print/DlgPrintBeforePopupKT.h"
#include "dialogs/print/DlgPrintConfirmPlat.h"
#include "dialogs/print/PrintModeRules.h"
#include "res/resource.h"
#include "common/ModuleState.h"

namespace {

// The modal result that means OK.
constexpr INT_PTR kModalOK = IDOK;

// Height of the ink supply question's font, in logical units.
constexpr int kSupplyInkTimeoutFontHeight = 30;

// A parameter the host cannot give keeps the preset 0, as one that writes nothing does.
int32_t ReadIntParameter(IHostPrinter* pPrinter, int32_t nId) {
    int32_t nValue = 0;
    if (IHostParameter* pParameter = pPrinter->GetParameter(nId))
        pParameter->GetIntValue(&nValue);
    return nValue;
}

} // namespace

void* CPivoraProc::DeletingDestructor(uint32_t nFlags) {
    // Released from inside a host callback while one of this object's operations runs: the operation still
    // uses the object, so it is freed when the outermost operation returns.
    if (m_nRunning > 0) {
        m_nPendingRelease = nFlags | kReleaseRequested;
        return this;
    }
    // Named in full: this slot is the only way the object is destroyed, so no further override is wanted.
    this->CPivoraProc::~CPivoraProc();
    if (nFlags & 1)
        ::operator delete(this);
    return this;
}

CPivoraProc::COperationScope::COperationScope(CPivoraProc& proc)
    : m_proc(proc), m_hSavedPrevResource(proc.m_hPrevResource) {
    ++m_proc.m_nRunning;
}

CPivoraProc::COperationScope::~COperationScope() {
    // An operation called again from inside another one of the same object saved the outer one's handle
    // here: the outer one gives the host back its own resources, not the module's.
    if (m_hSavedPrevResource)
        m_proc.m_hPrevResource = m_hSavedPrevResource;
    if (--m_proc.m_nRunning == 0 && m_proc.m_nPendingRelease != 0) {
        uint32_t nFlags = m_proc.m_nPendingRelease & ~kReleaseRequested;
        m_proc.m_nPendingRelease = 0;
        m_proc.DeletingDestructor(nFlags);
    }
}

void CPivoraProc::SwitchToModuleResources() {
    // The handle is looked up by name, so the module answers only when its file is called Pivora.dll.
    std::wstring strPath = GetModuleDir(AfxGetInstanceHandle()) + L"Pivora.dll";
    m_hModule = ::GetModuleHandleW(strPath.c_str());
    m_hPrevResource = AfxGetModuleState()->m_hCurrentResourceHandle;
    AfxGetModuleState()->m_hCurrentResourceHandle = m_hModule;
}

void CPivoraProc::RestoreHostResources() {
    if (m_hPrevResource) {
        AfxGetModuleState()->m_hCurrentResourceHandle = m_hPrevResource;
        m_hPrevResource = nullptr;
    }
}

void CPivoraProc::SetLanguage(const LanguageRecord* pLanguage) {
    AfxGuard(0, [&] {
        std::wstring strFolder = L"Chs";
        if (pLanguage) {
            // The folder name is read only up to the end of its field, terminator or not.
            const char16_t* pName = pLanguage->szFolderName;
            size_t nLen = 0;
            while (nLen < kLanguageFolderNameChars && pName[nLen] != u'\0')
                ++nLen;
            strFolder.assign(reinterpret_cast<const wchar_t*>(pName), nLen);
        }
        g_languageFile.m_strIniPath = GetExeDir() + L"Lang\\" + strFolder + L"\\Pivora.ini";
        return 0;
    });
}

void CPivoraProc::SetHostInterface(IHostInterface* pHost) {
    g_pHostInterface = pHost;
}

// Every operation below runs inside the guard: whatever is thrown ends as the result a dialog that could
// not be created gives, and the scope objects put the host's resources and the module flags back on
// every path.

int32_t CPivoraProc::ShowCutInkSetting(IHostPrinter* pPrinter, uint32_t nRowCount, int32_t* pValues,
                                       uint32_t* pApplyToAll) {
    COperationScope running(*this);
    return AfxGuard<int32_t>(pPrinter ? 1 : 0, [&]() -> int32_t {
        if (!pPrinter)
            return 0;
        SwitchToModuleResources();
        CScopeExit restore([this] { RestoreHostResources(); });
        CDlgCutInkSetting dlg(pPrinter, nRowCount, pValues);
        INT_PTR nResult = dlg.DoModal();
        if (nResult == kModalOK) {
            if (pValues)
                std::memcpy(pValues, dlg.GetCutInkValues().nValues, sizeof(dlg.GetCutInkValues().nValues));
            if (pApplyToAll)
                *pApplyToAll = dlg.GetApplyToAll();
        }
        return 1;
    });
}

int32_t CPivoraProc::ShowDetailVersionInfo(const SoftwareVersionRecord* pSoftwareVersion) {
    COperationScope running(*this);
    return AfxGuard<int32_t>(1, [&] {
        SwitchToModuleResources();
        CScopeExit restore([this] { RestoreHostResources(); });
        CDlgDetailVersionInfo dlg(pSoftwareVersion);
        dlg.DoModal();
        return 1;
    });
}

int32_t CPivoraProc::ConfirmPrintMode(IHostTask* pTask) {
    COperationScope running(*this);
    return AfxGuard<int32_t>(0, [&]() -> int32_t {
        if (!g_pHostInterface || !pTask)
            return 0;
        IHostPrinter* pPrinter = g_pHostInterface->GetPrinter();
        if (!pPrinter)
            return 0;
        if (ReadIntParameter(pPrinter, kParamPrintModeAsk) == 0)
            return 1;
        if (g_bNoMoreHintsPrintMode)
            return 1;
        if (CountSelectablePrintModes(pPrinter, pTask) < 2)
            return 1;

        SwitchToModuleResources();
        CScopeExit restore([this] { RestoreHostResources(); });
        CDlgConfirmPrintMode dlg(pPrinter, pTask);
        INT_PTR nResult = dlg.DoModal();
        return nResult == kModalOK ? 1 : 0;
    });
}

int32_t CPivoraProc::ConfirmPrint(int32_t nSelector) {
    COperationScope running(*this);
    const bool bPlatform = (nSelector & 0xFFFF) == 1;
    return AfxGuard<int32_t>(bPlatform ? -1 : 2, [&]() -> int32_t {
        if (!g_bPrintConfirmEnabled)
            return 1;
        IHostPrinter* pPrinter = g_pHostInterface ? g_pHostInterface->GetPrinter() : nullptr;
        if (!pPrinter)
            return 2;
        if (ReadIntParameter(pPrinter, kParamPrintConfirm) == 0)
            return 1;

        SwitchToModuleResources();
        CScopeExit restore([this] { RestoreHostResources(); });
        if (bPlatform) {
            CDlgPrintConfirmPlat dlg;
            return static_cast<int32_t>(dlg.DoModal());
        }
        // The choice, not the modal result; a dialog that failed to open or was ended by a fault gives 2,
        // do not print.
        CDlgPrintBeforePopupKT dlg;
        if (dlg.DoModal() == -1)
            return 2;
        return dlg.GetResult();
    });
}

int32_t CPivoraProc::ShowCustomEclosion(uint32_t nEditDefaults) {
    COperationScope running(*this);
    return AfxGuard<int32_t>(1, [&] {
        SwitchToModuleResources();
        CScopeExit restore([this] { RestoreHostResources(); });
        CDlgCustomEclosion dlg(nEditDefaults);
        dlg.DoModal();
        return 1;
    });
}

int32_t CPivoraProc::ShowSwitchInkOrder() {
    COperationScope running(*this);
    return AfxGuard<int32_t>(1, [&] {
        SwitchToModuleResources();
        CScopeExit restore([this] { RestoreHostResources(); });
        CDlgSwitchInkOrder dlg;
        dlg.DoModal();
        return 1;
    });
}

int32_t CPivoraProc::ShowSupplyInkTimeout() {
    COperationScope running(*this);
    return AfxGuard<int32_t>(1, [&] {
        if (g_bSupplyInkTimeoutShowing)
            return 1;
        g_bSupplyInkTimeoutShowing = 1;
        CScopeExit clearShowing([] { g_bSupplyInkTimeoutShowing = 0; });
        SwitchToModuleResources();
        CScopeExit restore([this] { RestoreHostResources(); });
        CDlgSupplyInkTimeout dlg(kSupplyInkTimeoutFontHeight);
        dlg.DoModal();
        return 1;
    });
}

int32_t CPivoraProc::ShowMultiStepPopup(const MultiStepRecord* pRecord) {
    COperationScope running(*this);
    return AfxGuard<int32_t>(1, [&] {
        // Without a record there is nothing to show: reported as not done rather than read through null.
        if (!pRecord)
            return 0;
        SwitchToModuleResources();
        CScopeExit restore([this] { RestoreHostResources(); });
        CDlgMultiStepPopupKT dlg(pRecord);
        dlg.DoModal();
        return 1;
    });
}
