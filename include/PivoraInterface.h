// The interface object a host gets from Pivora.dll, and the two exported functions.
//
// The host calls the object through its table of virtual functions, laid out as an MSVC-built host expects:
// slot 0 is the deleting destructor taking one flag word (bit 0: free the object), then the ten operations
// in the order below. Hosts release the object with ReleaseInterface.
//
// What the module tolerates, and what it cannot:
// - ReleaseInterface may be called from inside a host callback while an operation of the same object runs;
//   the object is then freed when that operation returns.
// - Operations may be called again from inside host callbacks (a nested call opens its dialog over the
//   running one; ShowSupplyInkTimeout returns 1 at once while its own dialog is open).
// - SetHostInterface(nullptr) may come at any time, also from inside a callback while a dialog runs: the
//   dialog skips what it can no longer reach and can still be closed.
// - Records must be readable for their whole size: a language record shorter than its 256 bytes, or a
//   multi-step or software version record shorter than its size, is read past its end and faults. Text
//   fields without a terminator are read to the end of their field and no further.
#pragma once

#include <cstdint>

#include "PivoraHost.h"
#include "PivoraRecords.h"

class CPivoraProcVirtual {
public:
#if defined(_MSC_VER)
    virtual ~CPivoraProcVirtual() {}
#else
    // g++ would give a virtual destructor two slots; this one slot is what MSVC calls the scalar deleting
    // destructor. Returns the object's address, as that destructor does.
    virtual void* DeletingDestructor(uint32_t nFlags) = 0;
#endif
    virtual void SetLanguage(const LanguageRecord* pLanguage) = 0;
    virtual void SetHostInterface(IHostInterface* pHost) = 0;
    // pValues: 32 signed values, may be null; pApplyToAll: written on OK only.
    virtual int32_t ShowCutInkSetting(IHostPrinter* pPrinter, uint32_t nRowCount, int32_t* pValues,
                                      uint32_t* pApplyToAll) = 0;
    virtual int32_t ShowDetailVersionInfo(const SoftwareVersionRecord* pVersion) = 0;
    // 1 go on with the task's mode, 0 cancelled or nothing asked.
    virtual int32_t ConfirmPrintMode(IHostTask* pTask) = 0;
    // Low 16 bits select the dialog. 1 print, 2 do not print, 0 Z axis debugging, -1 dialog failure.
    virtual int32_t ConfirmPrint(int32_t nSelector) = 0;
    virtual int32_t ShowCustomEclosion(uint32_t nEditDefaults) = 0;
    virtual int32_t ShowSwitchInkOrder() = 0;
    virtual int32_t ShowSupplyInkTimeout() = 0;
    virtual int32_t ShowMultiStepPopup(const MultiStepRecord* pRecord) = 0;

protected:
#if !defined(_MSC_VER)
    ~CPivoraProcVirtual() = default;
#endif
};

extern "C" {
typedef CPivoraProcVirtual* (*PFN_NewInterface)();
typedef void (*PFN_ReleaseInterface)(CPivoraProcVirtual* pInterface);
}
