#include "Settings.h"

#include <windows.h>
#include <shlwapi.h>

#include <vector>

std::wstring GetModuleDir(HMODULE hModule) {
    // Read the whole path however long it is, so a deep install directory is never cut to a wrong one.
    std::vector<wchar_t> buffer(MAX_PATH);
    for (;;) {
        DWORD nLen = ::GetModuleFileNameW(hModule, buffer.data(), static_cast<DWORD>(buffer.size()));
        if (nLen == 0)
            return {};
        if (nLen < buffer.size()) {
            std::wstring strPath(buffer.data(), nLen);
            size_t nSlash = strPath.find_last_of(L'\\');
            return nSlash == std::wstring::npos ? std::wstring() : strPath.substr(0, nSlash + 1);
        }
        if (buffer.size() >= 32768)
            return {};
        buffer.resize(buffer.size() * 2);
    }
}

std::wstring GetExeDir() {
    return GetModuleDir(nullptr);
}

void WriteTempIniString(const std::wstring& strSection, const std::wstring& strKey,
                        const std::wstring& strValue) {
    std::wstring strPath = GetExeDir() + L"Data\\Temp.ini";
    // A missing Data folder makes the write fail; the caller goes on as if it had succeeded.
    ::WritePrivateProfileStringW(strSection.c_str(), strKey.c_str(), strValue.c_str(), strPath.c_str());
}

void WriteTempIniInt(const std::wstring& strSection, const std::wstring& strKey, int nValue) {
    WriteTempIniString(strSection, strKey, std::to_wstring(nValue));
}

int ReadProjectUnit() {
    std::wstring strPath = GetExeDir() + L"Project.ini";
    if (!::PathFileExistsW(strPath.c_str()))
        return 0;
    return static_cast<int>(::GetPrivateProfileIntW(L"UNIT", L"UNIT_SEL", 0, strPath.c_str()));
}
