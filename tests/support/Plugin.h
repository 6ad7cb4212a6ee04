// Loads Pivora.dll as the host does and gives each test a fresh module: module-wide state starts over.
#pragma once

#include <windows.h>

#include <memory>
#include <string>

#include "PivoraInterface.h"
#include "SimMachine.h"

class LoadedPlugin {
public:
    // The module as a host loads it, by name from the program's folder, or from the path given.
    explicit LoadedPlugin(const std::wstring& strPath = L"Pivora.dll");
    ~LoadedPlugin();
    LoadedPlugin(const LoadedPlugin&) = delete;
    LoadedPlugin& operator=(const LoadedPlugin&) = delete;

    HMODULE m_hModule = nullptr;
    PFN_NewInterface m_pfnNew = nullptr;
    PFN_ReleaseInterface m_pfnRelease = nullptr;
};

struct InterfaceDeleter {
    PFN_ReleaseInterface pfnRelease;
    void operator()(CPivoraProcVirtual* p) const { pfnRelease(p); }
};
using InterfacePtr = std::unique_ptr<CPivoraProcVirtual, InterfaceDeleter>;

// The module, one interface object with the language set (folder name, or none), and a machine.
class PluginSession {
public:
    explicit PluginSession(const wchar_t* pszLanguage = L"English");
    ~PluginSession();
    CPivoraProcVirtual* operator->() { return m_pInterface.get(); }
    InterfacePtr NewInterface();
    void SetLanguage(const wchar_t* pszFolder);

    LoadedPlugin m_plugin;
    std::unique_ptr<SimMachine> m_pMachine;
    InterfacePtr m_pInterface;
    HWND m_hHostWindow = nullptr; // stands in for the host's main window, owner of the dialogs
};

// The directory of the test program, with its trailing backslash.
std::wstring TestExeDir();
// Writes a UTF-16LE file with BOM, as the language packs are stored.
void WriteUtf16File(const std::wstring& strPath, const std::wstring& strText);
void WriteTextFile(const std::wstring& strPath, const std::string& strText);
std::string ReadTextFile(const std::wstring& strPath);
