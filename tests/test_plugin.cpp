// The plug-in boundary as a host sees it: the exports, the decisions each operation takes before any
// dialog, the result codes, and the module-wide state shared by interface objects.
#include <gtest/gtest.h>

#include <functional>

#include "Plugin.h"
#include "ScriptedOperator.h"
#include "res/resource.h"

namespace {

// Closes whatever dialog comes up and remembers its caption.
struct DialogWatcher {
    std::wstring strCaption;
    int nDialogs = 0;
    Operator op;
    explicit DialogWatcher(UINT vkClose = VK_ESCAPE) {
        op.Then([this, vkClose](HWND hDlg) {
            strCaption = CaptionOf(hDlg);
            ++nDialogs;
            PressKey(hDlg, vkClose);
        });
        op.Start();
    }
};

void OfferTwoModes(SimMachine& machine) {
    machine.m_printer.Parameter(kParamPrintModeAsk).m_nValue = 1;
    SimPrintModeList& list = machine.m_printer.m_modeTable.List(1);
    list.Add("A");
    list.Add("B");
}

TEST(Exports, HaveTheirOrdinalsAndReleaseAcceptsNull) {
    LoadedPlugin plugin;
    EXPECT_EQ(reinterpret_cast<void*>(plugin.m_pfnNew),
              reinterpret_cast<void*>(::GetProcAddress(plugin.m_hModule, MAKEINTRESOURCEA(1))));
    EXPECT_EQ(reinterpret_cast<void*>(plugin.m_pfnRelease),
              reinterpret_cast<void*>(::GetProcAddress(plugin.m_hModule, MAKEINTRESOURCEA(2))));
    plugin.m_pfnRelease(nullptr);
    CPivoraProcVirtual* p = plugin.m_pfnNew();
    ASSERT_NE(nullptr, p);
    plugin.m_pfnRelease(p);
}

// A script that leaves a dialog (and a message box over it) open is given up instead of hanging the run.
TEST(ScriptedOperator, GivesUpOnADialogLeftOpen) {
    PluginSession session;
    OfferTwoModes(*session.m_pMachine);
    SimTask& task = session.m_pMachine->AddTask("t", 1, 0);
    Operator op;
    op.m_nTimeoutMs = 300;
    op.Then([](HWND hDlg) { ::PostMessageW(hDlg, WM_NULL, 0, 0); })
        .Then([](HWND hDlg) {
            ::PostMessageW(::GetDlgItem(hDlg, IDCANCEL), WM_NULL, 0, 0);
            ::MessageBoxW(hDlg, L"left open", L"test", MB_YESNO);
        })
        .WaitUntil([](HWND) { return false; });
    op.Start();
    EXPECT_EQ(0, session->ConfirmPrintMode(&task));
    EXPECT_TRUE(op.m_bTimedOut);
    EXPECT_EQ(0u, task.m_nMode);
}

TEST(Resources, VersionAndCommonControlsManifestAreInTheModule) {
    HMODULE hModule =
        ::LoadLibraryExW((TestExeDir() + L"Pivora.dll").c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
    ASSERT_NE(nullptr, hModule);
    EXPECT_NE(nullptr, ::FindResourceW(hModule, MAKEINTRESOURCEW(1), reinterpret_cast<LPCWSTR>(RT_VERSION)));
    HRSRC hManifest = ::FindResourceW(hModule, MAKEINTRESOURCEW(2), reinterpret_cast<LPCWSTR>(RT_MANIFEST));
    ASSERT_NE(nullptr, hManifest);
    std::string strManifest(static_cast<const char*>(::LockResource(::LoadResource(hModule, hManifest))),
                            ::SizeofResource(hModule, hManifest));
    EXPECT_NE(std::string::npos, strManifest.find("Microsoft.Windows.Common-Controls"));
    EXPECT_NE(std::string::npos, strManifest.find("6.0.0.0"));
    ::FreeLibrary(hModule);
}

TEST(Resources, TheManifestIsActiveOnlyWhileADialogRuns) {
    PluginSession session;
    OfferTwoModes(*session.m_pMachine);
    SimTask& task = session.m_pMachine->AddTask("t", 1, 0);
    HANDLE hBefore = nullptr, hDuring = nullptr, hAfter = nullptr;
    ::GetCurrentActCtx(&hBefore);
    Operator op;
    op.Then([&](HWND hDlg) {
        ::GetCurrentActCtx(&hDuring);
        PressKey(hDlg, VK_ESCAPE);
    });
    op.Start();
    session->ConfirmPrintMode(&task);
    ::GetCurrentActCtx(&hAfter);
    EXPECT_NE(nullptr, hDuring);
    EXPECT_NE(hBefore, hDuring);
    EXPECT_EQ(hBefore, hAfter);
    for (HANDLE h : {hBefore, hDuring, hAfter})
        if (h)
            ::ReleaseActCtx(h);
}

TEST(ConfirmPrint, DisabledConfirmationReturnsOneEvenWithoutHost) {
    PluginSession session;
    SimMachine& machine = *session.m_pMachine;
    machine.m_printer.Parameter(kParamPrintConfirm).m_nValue = 1;
    {
        // "No more hints" in the confirmation before printing clears the module-wide flag.
        Operator op;
        op.Then([](HWND hDlg) {
            Click(hDlg, IDC_BEFORE_PRINT_NO_MORE_HINTS);
            PressKey(hDlg, VK_ESCAPE);
        });
        op.Start();
        EXPECT_EQ(2, session->ConfirmPrint(0));
    }
    session->SetHostInterface(nullptr);
    EXPECT_EQ(1, session->ConfirmPrint(0));
    EXPECT_EQ(1, session->ConfirmPrint(1));
}

TEST(ConfirmPrint, DecisionsBeforeAnyDialog) {
    PluginSession session;
    SimMachine& machine = *session.m_pMachine;
    session->SetHostInterface(nullptr);
    EXPECT_EQ(2, session->ConfirmPrint(1));
    session->SetHostInterface(&machine);
    machine.m_bHasPrinter = false;
    EXPECT_EQ(2, session->ConfirmPrint(0));
    machine.m_bHasPrinter = true;
    machine.m_printer.Parameter(kParamPrintConfirm).m_nValue = 0;
    EXPECT_EQ(1, session->ConfirmPrint(1));
    EXPECT_EQ(1, session->ConfirmPrint(2));
}

TEST(ConfirmPrint, LowSixteenBitsChooseTheDialog) {
    PluginSession session;
    session.m_pMachine->m_printer.Parameter(kParamPrintConfirm).m_nValue = 1;
    {
        DialogWatcher watch;
        EXPECT_EQ(2, session->ConfirmPrint(0x00050001));
        EXPECT_EQ(L"Print confirm", watch.strCaption);
    }
    {
        DialogWatcher watch;
        EXPECT_EQ(2, session->ConfirmPrint(2));
        EXPECT_EQ(L"Confirm before printing", watch.strCaption);
    }
    {
        DialogWatcher watch;
        EXPECT_EQ(2, session->ConfirmPrint(0x10000));
        EXPECT_EQ(L"Confirm before printing", watch.strCaption);
    }
}

TEST(ShowCutInkSetting, NullPrinterReturnsZeroAndLeavesTheOutputWord) {
    PluginSession session;
    uint32_t nOut = 0xABCD;
    int32_t values[kCutInkValueCount] = {7};
    EXPECT_EQ(0, session->ShowCutInkSetting(nullptr, 3, values, &nOut));
    EXPECT_EQ(0xABCDu, nOut);
    EXPECT_EQ(7, values[0]);
}

TEST(SupplyInkTimeout, ReturnsOneWhetherShownOrNot) {
    PluginSession session;
    DialogWatcher watch;
    EXPECT_EQ(1, session->ShowSupplyInkTimeout());
    EXPECT_EQ(1, watch.nDialogs);
}

// Under another file name the module cannot find itself, so no template is found and every dialog fails
// to open: each operation reports it its own way.
TEST(MissingTemplates, EachOperationReportsTheFailedRun) {
    std::wstring strCopy = TestExeDir() + L"PivoraRenamed.dll";
    ASSERT_TRUE(::CopyFileW((TestExeDir() + L"Pivora.dll").c_str(), strCopy.c_str(), FALSE));
    {
        HMODULE hModule = ::LoadLibraryW(strCopy.c_str());
        ASSERT_NE(nullptr, hModule);
        auto pfnNew = reinterpret_cast<PFN_NewInterface>(
            reinterpret_cast<void (*)()>(::GetProcAddress(hModule, "NewInterface")));
        auto pfnRelease = reinterpret_cast<PFN_ReleaseInterface>(
            reinterpret_cast<void (*)()>(::GetProcAddress(hModule, "ReleaseInterface")));
        SimMachine machine;
        machine.m_printer.Parameter(kParamPrintConfirm).m_nValue = 1;
        OfferTwoModes(machine);
        SimTask& task = machine.AddTask("t", 1, 0);
        CPivoraProcVirtual* p = pfnNew();
        p->SetHostInterface(&machine);
        EXPECT_EQ(-1, p->ConfirmPrint(1));
        EXPECT_EQ(2, p->ConfirmPrint(0));
        EXPECT_EQ(0, p->ConfirmPrintMode(&task));
        EXPECT_EQ(1, p->ShowSwitchInkOrder());
        EXPECT_EQ(1, p->ShowSupplyInkTimeout());
        // The guard flag was cleared after the failed run: a second call is not swallowed.
        EXPECT_EQ(1, p->ShowSupplyInkTimeout());
        EXPECT_TRUE(machine.m_log.Filter({"Root.ResetInkSupplyTimeout"}).empty());
        pfnRelease(p);
        ::FreeLibrary(hModule);
    }
    ::DeleteFileW(strCopy.c_str());
}

// ---------------------------------------------------------------------------------------------------------
// Language selection through the interface object.

class LanguageSelection : public ::testing::Test {
protected:
    void SetUp() override {
        ::CreateDirectoryW((TestExeDir() + L"Lang").c_str(), nullptr);
        ::CreateDirectoryW((TestExeDir() + L"Lang\\Pl1").c_str(), nullptr);
        WriteUtf16File(TestExeDir() + L"Lang\\Pl1\\Pivora.ini",
                       L"[LANG]\r\nPrint mode setting=Mode of printing\r\nprint mode:=\r\nOK=\"Go\"\r\n");
    }
    void TearDown() override {
        ::DeleteFileW((TestExeDir() + L"Lang\\Pl1\\Pivora.ini").c_str());
        ::RemoveDirectoryW((TestExeDir() + L"Lang\\Pl1").c_str());
    }
    // Caption and every child text of the print mode dialog.
    static std::vector<std::wstring> ShownTexts(PluginSession& session, CPivoraProcVirtual* pThrough) {
        OfferTwoModes(*session.m_pMachine);
        SimTask& task = session.m_pMachine->AddTask("t", 1, 0);
        std::vector<std::wstring> texts;
        Operator op;
        op.Then([&](HWND hDlg) {
            texts.push_back(CaptionOf(hDlg));
            for (HWND h = ::GetWindow(hDlg, GW_CHILD); h; h = ::GetWindow(h, GW_HWNDNEXT)) {
                wchar_t szText[256] = {};
                ::GetWindowTextW(h, szText, 256);
                texts.push_back(szText);
            }
            PressKey(hDlg, VK_ESCAPE);
        });
        op.Start();
        pThrough->ConfirmPrintMode(&task);
        return texts;
    }
};

TEST_F(LanguageSelection, TwoInterfaceObjectsShareTheLanguage) {
    PluginSession session(L"English");
    InterfacePtr pOther = session.NewInterface();
    LanguageRecord record = {};
    std::u16string strFolder = u"Pl1";
    std::copy(strFolder.begin(), strFolder.end(), record.szFolderName);
    pOther->SetLanguage(&record);

    std::vector<std::wstring> texts = ShownTexts(session, session.m_pInterface.get());
    ASSERT_GE(texts.size(), 6u);
    EXPECT_EQ(L"Mode of printing", texts[0]);
    // Keys match without regard to case; an empty value blanks the label; quotes around a value go;
    // a text missing from the file keeps its English.
    EXPECT_EQ((std::vector<std::wstring>{L"Mode of printing", L"Go", L"Cancel", L"", L"A", L"No more hints"}),
              texts);
}

TEST_F(LanguageSelection, NullRecordSelectsTheChinesePack) {
    PluginSession session(nullptr);
    session->SetLanguage(nullptr);
    std::vector<std::wstring> texts = ShownTexts(session, session.m_pInterface.get());
    ASSERT_FALSE(texts.empty());
    EXPECT_EQ(L"打印模式设置", texts[0]);
}

TEST_F(LanguageSelection, NoLanguageSetShowsEnglish) {
    PluginSession session(nullptr);
    std::vector<std::wstring> texts = ShownTexts(session, session.m_pInterface.get());
    ASSERT_FALSE(texts.empty());
    EXPECT_EQ(L"Print mode setting", texts[0]);
}

} // namespace

namespace {

TEST(Placement, EveryDialogOpensCentredOverTheHostWindow) {
    PluginSession session;
    SimMachine& machine = *session.m_pMachine;
    machine.m_printer.Parameter(kParamPrintConfirm).m_nValue = 1;
    OfferTwoModes(machine);
    SimTask& task = machine.AddTask("t", 1, 0);
    ::SetWindowPos(session.m_hHostWindow, nullptr, 150, 120, 700, 500, SWP_NOZORDER);
    RECT rcHost = {};
    ::GetWindowRect(session.m_hHostWindow, &rcHost);

    std::vector<std::pair<std::wstring, POINT>> centres;
    auto open = [&](const std::function<void()>& operation) {
        Operator op;
        op.Then([&](HWND hDlg) {
            RECT rc = {};
            ::GetWindowRect(hDlg, &rc);
            centres.push_back({CaptionOf(hDlg), {(rc.left + rc.right) / 2, (rc.top + rc.bottom) / 2}});
            ::PostMessageW(hDlg, WM_COMMAND, IDCANCEL, 0);
        });
        // The multi-step dialog asks before it cancels a running operation.
        op.Then([](HWND hBox) { Click(hBox, IDYES); });
        op.Start();
        operation();
    };
    MultiStepRecord record = {};
    SoftwareVersionRecord version = {};
    open([&] { session->ConfirmPrintMode(&task); });
    open([&] { session->ConfirmPrint(1); });
    open([&] { session->ConfirmPrint(0); });
    open([&] { session->ShowMultiStepPopup(&record); });
    open([&] { session->ShowSwitchInkOrder(); });
    open([&] { session->ShowSupplyInkTimeout(); });
    open([&] { session->ShowCustomEclosion(0); });
    open([&] { session->ShowDetailVersionInfo(&version); });
    ASSERT_EQ(8u, centres.size());
    for (const auto& [strCaption, pt] : centres) {
        EXPECT_NEAR((rcHost.left + rcHost.right) / 2, pt.x, 1) << Narrow(strCaption);
        EXPECT_NEAR((rcHost.top + rcHost.bottom) / 2, pt.y, 1) << Narrow(strCaption);
    }
}

} // namespace
