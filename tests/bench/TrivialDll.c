/* The yardstick of the load cost: a DLL built with the same flags as Pivora.dll that does nothing. */
#include <windows.h>

__declspec(dllexport) int TrivialExport(void) {
    return 1;
}
