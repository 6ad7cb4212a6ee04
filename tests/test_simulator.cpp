// The simulator's own window by keyboard, driven from outside with posted keys: Tab reaches the call list,
// and after a dialog closes the focus is back on the button that opened it.

#include "Plugin.h"

namespace {

// Every 100 ms for up to ten seconds.
template <typename Ask> auto Await(Ask ask) {
    auto answer = ask();
    for (int i = 0; i < 100 && !answer; ++i, ::Sleep(100))
        answer = ask();
    return answer;
}

TEST(SimulatorWindow, TabReachesTheCallListAndTheFocusComesBackToTheOpeningButton) {
    STARTUPINFOW si = {};
    si.cb = sizeof(si);
    PROCESS_INFORMATION pi = {};
    std::wstring strCommand = L"PivoraHost.exe";
    ASSERT_TRUE(::CreateProcessW((TestExeDir() + L"PivoraHost.exe").c_str(), strCommand.data(), nullptr,
                                 nullptr, FALSE, 0, nullptr, TestExeDir().c_str(), &si, &pi));
    // Whatever fails below, the simulator goes: it would keep the test runner's output open.
    std::shared_ptr<void> ending(nullptr, [&](void*) {
        ::TerminateProcess(pi.hProcess, 0);
        ::WaitForSingleObject(pi.hProcess, 5000);
        ::CloseHandle(pi.hThread);
        ::CloseHandle(pi.hProcess);
    });
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
    HWND hMain = Await([] { return ::FindWindowW(L"PivoraHostMain", nullptr); });
    ASSERT_TRUE(hMain);
    ASSERT_TRUE(Await(focus)) << "the simulator's window has no focus";
    HWND hList = ::GetDlgItem(hMain, 202), hSupply = ::GetDlgItem(hMain, 106);
    bool bListReached = false;
    for (int i = 0; i < 30 && !(bListReached && focus() == hSupply); ++i) {
        key(focus(), VK_TAB);
        bListReached = bListReached || focus() == hList;
    }
    EXPECT_TRUE(bListReached);
    ASSERT_EQ(hSupply, focus());
    key(hSupply, VK_RETURN);
    HWND hDlg = Await([&] {
        HWND hFound = nullptr;
        ::EnumThreadWindows(
            pi.dwThreadId,
            [](HWND hWnd, LPARAM lParam) {
                wchar_t szClass[8] = {};
                ::GetClassNameW(hWnd, szClass, 8);
                if (std::wstring(szClass) == L"#32770" && ::IsWindowVisible(hWnd))
                    *reinterpret_cast<HWND*>(lParam) = hWnd;
                return BOOL(!*reinterpret_cast<HWND*>(lParam));
            },
            reinterpret_cast<LPARAM>(&hFound));
        return hFound;
    });
    ASSERT_TRUE(hDlg) << "the ink supply question did not open";
    key(focus(), VK_ESCAPE);
    EXPECT_TRUE(Await([&] { return !::IsWindow(hDlg); }));
    EXPECT_EQ(hSupply, focus());
}

} // namespace
