// The host's directory and the host's temporary settings file.
#pragma once

#include <windows.h>

#include <string>

// The directory of a loaded module with its trailing backslash; empty when the path has none.
std::wstring GetModuleDir(HMODULE hModule);

// The directory of the host's executable with its trailing backslash; empty when the path has none.
std::wstring GetExeDir();
void WriteTempIniString(const std::wstring& strSection, const std::wstring& strKey,
                        const std::wstring& strValue);
void WriteTempIniInt(const std::wstring& strSection, const std::wstring& strKey, int nValue);
// UNIT_SEL of the host's project file: 0 mm, 1 inch, 2 cm; 0 when the file does not exist.
int ReadProjectUnit();
