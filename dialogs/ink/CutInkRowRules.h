// Which rows the cut-ink dialog shows, which ink group names each, and the value each starts with.
// No window involved.
#pragma once

#include <cstdint>
#include <vector>

#include "PivoraHost.h"
#include "PivoraRecords.h"

// A derived count is never smaller.
constexpr uint32_t kCutInkMinDerivedRowCount = 6;
// Members claim a row by a 16-bit id, so an index from here on could only repeat a row already built.
constexpr uint32_t kCutInkRowIndexLimit = 0x10000;
// Ids of ink groups and of their members are 16-bit, so no walk over a host list needs more steps than
// this; a host that reports more (2,147,483,647 members, null past the real ones) is not followed further.
constexpr int32_t kCutInkWalkLimit = 0x10000;
// Range of a row's slider.
constexpr int32_t kCutInkMinValue = 1;
constexpr int32_t kCutInkMaxValue = 100;

// The requested count, or for kCutInkDerivedRowCount the largest member count of any listed ink group,
// at least kCutInkMinDerivedRowCount.
uint32_t CutInkRowCount(IHostPrinter* pPrinter, uint32_t nRequestedRowCount);

// The first ink group in the layout's list order with a member whose id is the row index (truncated to 16
// bits); null when none claims it or there is no printer, group table or id list.
IHostGroup* FindInkGroupForRow(IHostPrinter* pPrinter, int32_t nRowIndex);

struct CutInkRowPlan {
    int32_t nRowIndex;
    IHostGroup* pGroup;
};

// One entry per claimed index from 0 to row count - 1, in index order: the order of the rows on screen.
std::vector<CutInkRowPlan> PlanCutInkRows(IHostPrinter* pPrinter, uint32_t nRowCount);

// Only indices 0 to 31 have an entry in the value block.
bool HasCutInkValue(int32_t nRowIndex);

// The block's value for the row; a row without an entry starts at the slider's lowest value.
int32_t InitialCutInkValue(const CutInkValues& values, int32_t nRowIndex);

// Printer parameter 2104: not 0 when "Apply to all task" is offered. 0 without a printer or parameter.
int32_t ReadApplyToAllOffered(IHostPrinter* pPrinter);
