// The simulator's own window by keyboard: Tab reaches every control, the call list too, and after a dialog
// closes the focus is back on the button that opened it. Driven from outside with posted keys, as the
// dialog manager of the simulator's loop sees them.
#include <gtest/gtest.h>
#include <windows.h>

#include <string>

#include "Plugin.h"

namespace {

TEST(SimulatorWindow, TabReachesTheCallListAndTheFocusComesBackToTheOpeningButton) {
    STARTUPINFOW si = {};
    si.cb = sizeof(si);
    PROCESS_INFORMATION pi = {};
    std::wstring strCommand = L"PivoraHost.exe";
    ASSERT_TRUE(::CreateProcessW((TestExeDir() + L"PivoraHost.exe").c_str(), strCommand.data(), nullptr,
                                 nullptr, FALSE, 0, nullptr, TestExeDir().c_str(), &si, &pi));
    // Whatever fails below, the simulator goes: it would keep the test runner's output open.
    struct Ending {
        PROCESS_INFORMATION& pi;
        ~Ending() {
            ::TerminateProcess(pi.hProcess, 0);
            ::WaitForSingleObject(pi.hProcess, 5000);
            ::CloseHandle(pi.hThread);
            ::CloseHandle(pi.hProcess);
        }
    } ending{pi};
    const auto focus = [&] {
        GUITHREADINFO gti = {};
        gti.cbSize = sizeof(gti);
        ::GetGUIThreadInfo(pi.dwThreadId, &gti);
        return gti.hwndFocus;
    };
    const auto key = [](HWND hWnd, UINT vk) {
        ::PostMessageW(hWnd, WM_KEYDOWN, vk, 0);
        ::PostMessageW(hWnd, WM_KEYUP, vk, 0xC0000000);
        ::Sleep(200);
    };
    HWND hMain = nullptr;
    for (int i = 0; i < 100 && !hMain; ++i, ::Sleep(100))
        hMain = ::FindWindowW(L"PivoraHostMain", nullptr);
    ASSERT_TRUE(hMain);
    for (int i = 0; i < 50 && !focus(); ++i)
        ::Sleep(100);
    ASSERT_TRUE(focus()) << "the simulator's window has no focus";
    HWND hList = ::GetDlgItem(hMain, 202), hSupply = ::GetDlgItem(hMain, 106);
    bool bListReached = false;
    for (int i = 0; i < 30 && !(bListReached && focus() == hSupply); ++i) {
        key(focus(), VK_TAB);
        bListReached = bListReached || focus() == hList;
    }
    EXPECT_TRUE(bListReached);
    ASSERT_EQ(hSupply, focus());
    key(hSupply, VK_RETURN);
    HWND hDlg = nullptr;
    for (int i = 0; i < 50 && !hDlg; ++i, ::Sleep(100))
        ::EnumThreadWindows(
            pi.dwThreadId,
            [](HWND hWnd, LPARAM lParam) {
                wchar_t szClass[8] = {};
                ::GetClassNameW(hWnd, szClass, 8);
                if (std::wstring(szClass) != L"#32770" || !::IsWindowVisible(hWnd))
                    return TRUE;
                *reinterpret_cast<HWND*>(lParam) = hWnd;
                return FALSE;
            },
            reinterpret_cast<LPARAM>(&hDlg));
    ASSERT_TRUE(hDlg) << "the ink supply question did not open";
    key(focus(), VK_ESCAPE);
    for (int i = 0; i < 50 && ::IsWindow(hDlg); ++i)
        ::Sleep(100);
    EXPECT_FALSE(::IsWindow(hDlg));
    EXPECT_EQ(hSupply, focus());
}

} // namespace
