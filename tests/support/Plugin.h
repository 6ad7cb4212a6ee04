// Loads Pivora.dll as the host does and gives each test a fresh module: module-wide state starts over.
#pragma once

#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "PivoraInterface.h"
#include "ScriptedOperator.h"
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

// Every operation that opens a dialog, as a host calls it on the simulator's default machine
// (SimMachine::CreateDefault), with the result codes it may give.
struct HostOperation {
    const char* pszName;
    std::vector<int32_t> results;
    std::function<int32_t(CPivoraProcVirtual*, SimMachine&)> run;
    bool Documented(int32_t nResult) const {
        return std::find(results.begin(), results.end(), nResult) != results.end();
    }
};
const std::vector<HostOperation>& HostOperations();

// Calls an operation while the operator takes the steps in turn on whatever dialog is in front; every step
// must have run and nothing may be left open.
template <class Call> auto Drive(std::vector<Operator::Step> steps, Call call) {
    Operator op;
    for (auto& step : steps)
        op.Then(std::move(step));
    op.Start();
    auto result = call();
    EXPECT_FALSE(op.m_bTimedOut);
    EXPECT_TRUE(op.AllStepsDone());
    return result;
}

// Calls an operation while the operator leaves whatever comes up: vkFirst on each dialog, then the other of
// Enter and Escape every 25 ticks until it is gone (a question about leaving takes its default button).
// onShown sees each dialog once, before the first key.
template <class Call>
auto Leaving(Call call, UINT vkFirst = VK_ESCAPE, std::function<void(HWND)> onShown = nullptr) {
    std::map<HWND, int> ticks;
    Operator op;
    op.WaitUntil([&](HWND hDlg) {
        int& nTicks = ticks[hDlg];
        if (nTicks == 0 && onShown)
            onShown(hDlg);
        if (nTicks++ % 25 == 0)
            PressKey(hDlg, nTicks == 1 ? vkFirst : vkFirst == VK_ESCAPE ? VK_RETURN : VK_ESCAPE);
        return false;
    });
    op.Start();
    auto result = call();
    EXPECT_FALSE(op.m_bTimedOut) << "a dialog stayed open";
    return result;
}

// Calls an operation that must answer without a dialog: one that comes up anyway is closed and fails.
template <class Call> auto WithoutDialog(Call call) {
    std::wstring strShown;
    auto result = Leaving(call, VK_ESCAPE, [&](HWND hDlg) { strShown = CaptionOf(hDlg); });
    EXPECT_EQ(L"", strShown) << "a dialog came up";
    return result;
}
