// State shared by every interface object and every dialog while the module is loaded. Nothing is saved.
#pragma once

#include <cstdint>

#include "common/LanguageFile.h"
#include "PivoraHost.h"

extern IHostInterface* g_pHostInterface;
extern CLanguageFile g_languageFile;
extern int32_t g_bSupplyInkTimeoutShowing;
extern int32_t g_bNoMoreHintsPrintMode;
extern int32_t g_bPrintConfirmEnabled;
