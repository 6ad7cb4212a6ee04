#include "SimPrintFlow.h"

#include <windows.h>

void SimZAxisMotion::Step(double& dZPosition) {
    double dZ = dZPosition + m_nDirection * m_dStep;
    if (dZ >= m_dHigh) {
        dZ = m_dHigh;
        m_nDirection = -1;
    } else if (dZ <= m_dLow) {
        dZ = m_dLow;
        m_nDirection = 1;
    }
    dZPosition = dZ;
}

std::wstring SimHostDir() {
    wchar_t szPath[MAX_PATH] = {};
    ::GetModuleFileNameW(nullptr, szPath, MAX_PATH);
    std::wstring strPath = szPath;
    return strPath.substr(0, strPath.find_last_of(L'\\') + 1);
}

int ReadSimProjectUnit(const std::wstring& strDir) {
    std::wstring strPath = strDir + L"Project.ini";
    if (::GetFileAttributesW(strPath.c_str()) == INVALID_FILE_ATTRIBUTES)
        return -1;
    return static_cast<int>(::GetPrivateProfileIntW(L"UNIT", L"UNIT_SEL", 0, strPath.c_str()));
}

void WriteSimProjectUnit(const std::wstring& strDir, int nUnit) {
    std::wstring strPath = strDir + L"Project.ini";
    ::WritePrivateProfileStringW(L"UNIT", L"UNIT_SEL", std::to_wstring(nUnit).c_str(), strPath.c_str());
}

void EnsureSimDataFolder(const std::wstring& strDir) {
    ::CreateDirectoryW((strDir + L"Data").c_str(), nullptr);
}

int ReadSimNotPrintConfirm(const std::wstring& strDir) {
    std::wstring strPath = strDir + L"Data\\Temp.ini";
    return static_cast<int>(::GetPrivateProfileIntW(L"PRINT", L"NOT_PRINT_CONFIRM", -1, strPath.c_str()));
}
