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
    // Marks an operation of this object as running for its whole length; the last one to return carries out
    // a release that came meanwhile.
    class COperationScope {
    public:
        explicit COperationScope(CPivoraProc& proc);
        ~COperationScope();
        COperationScope(const COperationScope&) = delete;
        COperationScope& operator=(const COperationScope&) = delete;

    private:
        CPivoraProc& m_proc;
        HINSTANCE m_hSavedPrevResource;
    };
    static constexpr uint32_t kReleaseRequested = 0x80000000u;

    HINSTANCE m_hPrevResource = nullptr;
    HMODULE m_hModule = nullptr;
    int m_nRunning = 0;
    uint32_t m_nPendingRelease = 0; // the release's flags plus kReleaseRequested; 0 when none came
};
