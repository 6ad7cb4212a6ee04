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

// A mode name is shown with at most this many UTF-16 characters.
constexpr size_t kMaxModeNameChars = 63;
