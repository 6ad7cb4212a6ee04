// What a process holds of the system's objects, counted from outside the module: GDI objects, windows of
// the thread and blocks of the C runtime's heap. Compared before and after a dialog, growth is a leak.
#pragma once

#include <windows.h>

#include <map>
#include <string>

// GDI objects of the process. GetGuiResources is a stub under Wine, so the process's GDI handle table is
// read instead (the same table Windows keeps); -1 when it cannot be found.
int CountGdiObjects();
// The same count by the table's object type (1 device context, 4 region, 5 surface, 9 bitmap, 10 font,
// 16 brush, 48 pen), and as "type:count" pairs for a report of what grew.
std::map<int, int> CountGdiObjectsByType();
std::string DescribeGdiObjects(const std::map<int, int>& counts);
// Windows of this thread: top-level ones and all their descendants.
int CountThreadWindows();
// The three counts at once; the heap's blocks in use are those of the C runtime's heap, which the module
// and the programs share (-1 when it cannot be walked).
struct HandleCounts {
    int nGdiObjects = 0, nWindows = 0, nHeapBlocks = 0;
    size_t nHeapBytes = 0;
};
HandleCounts TakeHandleCounts();

// The system keeps caches that only grow to a ceiling: the icons of message boxes, and the device contexts
// it hands out for windows (one more whenever more are in use at once than ever before). Filled first, so
// that what grows afterwards is what a dialog failed to give back.
void FillSystemCaches(HWND hOwner);
