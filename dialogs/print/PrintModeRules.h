// Which print modes of a task's mode list the operator is offered. No window involved.
#pragma once

#include <cstdint>
#include <cstddef>

#include "PivoraHost.h"

// A mode is offered when the list has an object for the index, it is not hidden, and the current layout
// can use it.
bool IsPrintModeOffered(IHostPrintModeList* pList, int32_t nIndex, int32_t nLayoutIndex);

// The task's mode list in the printer's table; null when the table or the list is missing.
IHostPrintModeList* FindTaskModeList(IHostPrinter* pPrinter, IHostTask* pTask);

int32_t CountSelectablePrintModes(IHostPrinter* pPrinter, IHostTask* pTask);

// The machine's current layout index; 0 when the printer has no group layout, which the host may answer.
int32_t CurrentLayoutIndex(IHostPrinter* pPrinter);

// A mode list is walked no further than this, whatever count the host reports: no drop-down list is of use
// with more, and a host that reports 2,147,483,647 modes with null past its real ones ends the walk here.
constexpr int32_t kMaxPrintModeWalk = 0x10000;
// The number of indices to walk for a reported count.
int32_t PrintModeWalkLength(int32_t nCount);

// A mode name is shown with at most this many UTF-16 characters.
constexpr size_t kMaxModeNameChars = 63;
