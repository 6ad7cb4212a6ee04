#include "ModuleState.h"

IHostInterface* g_pHostInterface = nullptr;
CLanguageFile g_languageFile;
int32_t g_bSupplyInkTimeoutShowing = 0;
int32_t g_bNoMoreHintsPrintMode = 0;
int32_t g_bPrintConfirmEnabled = 1;
