#pragma once

#include <windows.h>

#include "PivoraInterface.h"

class CPivoraProc : public CPivoraProcVirtual {
public:
    void* DeletingDestructor(uint32_t nFlags) override;
    void SetLanguage(const LanguageRecord* pLanguage) override;
    void SetHostInterface(IHostInterface* pHost) override;
    int32_t ShowCutInkSetting(IHostPrinter* pPrinter, uint32_t nRowCount, int32_t* pValues,
                              uint32_t* pApplyToAll) override;
    int32_t ShowDetailVersionInfo(const SoftwareVersionRecord* pVersion) override;
    int32_t ConfirmPrintMode(IHostTask* pTask) override;
    int32_t ConfirmPrint(int32_t nSelector) override;
    int32_t ShowCustomEclosion(uint32_t nEditDefaults) override;
    int32_t ShowSwitchInkOrder() override;
    int32_t ShowSupplyInkTimeout() override;
    int32_t ShowMultiStepPopup(const MultiStepRecord* pRecord) override;

    // Dialog templates come from this module while one of its dialogs runs, from the host otherwise.
    void SwitchToModuleResources();
    void RestoreHostResources();

private:
    HINSTANCE m_hPrevResource = nullptr;
    HMODULE m_hModule = nullptr;
};
