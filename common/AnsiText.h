// Conversions between the host's 8-bit texts and the module's UTF-16, in a code page the caller names
// (CP_ACP for the system's, CP_THREAD_ACP for the calling thread's).
#pragma once

#include <windows.h>

#include <string>

// Empty for a null text or one the code page cannot convert.
std::wstring AnsiToWide(const char* pszText, UINT nCodePage);
std::string WideToAnsi(const std::wstring& strText, UINT nCodePage);
