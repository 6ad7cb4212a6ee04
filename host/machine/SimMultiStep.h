// A multi-step machine operation as the host runs it: a head cleaning of three named steps. The host's
// timer advances it; after every step it waits for the operator's signal. No window involved.
#pragma once

#include <cstdint>

#include "PivoraHost.h"
#include "PivoraRecords.h"

class SimMultiStep {
public:
    // One period of the host's timer. Every state but the waiting one lasts at least two periods, longer
    // than the dialog's poll, so the dialog sees each of them.
    static constexpr unsigned kTickMs = 250;

    // The record the host hands over for this operation, with the texts in the host's language.
    void FillRecord(MultiStepRecord& record, bool bChinese) const;

    // Starts the operation from the beginning (the record's start callback).
    void Start();
    // One period of the host's timer.
    void Tick();

    // The signals answer 1 when taken, 0 when ignored. Next Step and Finish are taken only while the
    // operation waits for the operator; Cancel whenever it runs.
    int32_t OnNextStepSignal();
    int32_t OnCancelSignal();
    int32_t OnFinishSignal();

    static constexpr int32_t kStepCount = 3;

    int32_t m_nState = kMultiStepIdle; // what GetMultiStepState answers
    int32_t m_nStepIndex = 0;          // the step running, or the one that ended while waiting

private:
    void Enter(int32_t nState);
    int m_nTicksInState = 0;
};
