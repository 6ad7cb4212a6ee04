// The plug-in boundary as a host sees it: the exports and resources, the decisions taken before any dialog,
// and a module that cannot find its templates. (Where the dialogs open: test_handle_counts.)

#include "Plugin.h"
#include "SimPrintFlow.h"
#include "res/resource.h"

namespace {

TEST(Exports, HaveTheirOrdinalsAndResourcesAndTheManifestIsActiveOnlyWhileADialogRuns) {
    PluginSession session;
    HMODULE hModule = session.m_plugin.m_hModule;
    auto address = [](auto pfn) { return reinterpret_cast<void*>(pfn); };
    EXPECT_EQ(address(session.m_plugin.m_pfnNew), address(::GetProcAddress(hModule, MAKEINTRESOURCEA(1))));
    EXPECT_EQ(address(session.m_plugin.m_pfnRelease),
              address(::GetProcAddress(hModule, MAKEINTRESOURCEA(2))));
    session.m_plugin.m_pfnRelease(nullptr);
    EXPECT_NE(nullptr, ::FindResourceW(hModule, MAKEINTRESOURCEW(1), reinterpret_cast<LPCWSTR>(RT_VERSION)));
    // Under id 3 the loader leaves the manifest to the module: no context is built at every load.
    EXPECT_EQ(nullptr, ::FindResourceW(hModule, MAKEINTRESOURCEW(2), reinterpret_cast<LPCWSTR>(RT_MANIFEST)));
    HRSRC hManifest = ::FindResourceW(hModule, MAKEINTRESOURCEW(3), reinterpret_cast<LPCWSTR>(RT_MANIFEST));
    ASSERT_NE(nullptr, hManifest);
    std::string strManifest(static_cast<const char*>(::LockResource(::LoadResource(hModule, hManifest))),
                            ::SizeofResource(hModule, hManifest));
    EXPECT_NE(std::string::npos, strManifest.find("Microsoft.Windows.Common-Controls"));
    EXPECT_NE(std::string::npos, strManifest.find("6.0.0.0"));
    // The host's own activation context is back once the dialog is gone.
    HANDLE hBefore = nullptr, hDuring = nullptr, hAfter = nullptr;
    ::GetCurrentActCtx(&hBefore);
    Leaving([&] { return session->ShowSupplyInkTimeout(); }, VK_ESCAPE,
            [&](HWND) { ::GetCurrentActCtx(&hDuring); });
    ::GetCurrentActCtx(&hAfter);
    EXPECT_NE(nullptr, hDuring);
    EXPECT_NE(hBefore, hDuring);
    EXPECT_EQ(hBefore, hAfter);
    for (HANDLE h : {hBefore, hDuring, hAfter})
        if (h)
            ::ReleaseActCtx(h);
}

TEST(ConfirmPrint, TheHostAndTheLowSixteenBitsDecideWhichDialogIfAny) {
    // Set-up, host, printer, confirmation, selector; the result and the dialog's caption (empty: none).
    const std::tuple<const char*, bool, bool, int32_t, int32_t, int32_t, const wchar_t*> kCases[] = {
        {"no host", false, true, 1, 1, 2, L""},
        {"no printer", true, false, 1, 0, 2, L""},
        {"confirmation off", true, true, 0, 1, 1, L""},
        {"confirmation off", true, true, 0, 2, 1, L""},
        {"print, high bits ignored", true, true, 1, 0x00050001, 2, L"Print confirm"},
        {"do not print", true, true, 1, 2, 2, L"Confirm before printing"},
        {"Z debugging, high bits ignored", true, true, 1, 0x10000, 2, L"Confirm before printing"},
    };
    for (const auto& [pszSetUp, bHost, bPrinter, nConfirm, nSelector, nResult, pszCaption] : kCases) {
        PluginSession session;
        SimMachine& machine = *session.m_pMachine;
        machine.m_bHasPrinter = bPrinter;
        machine.m_printer.Parameter(kParamPrintConfirm).m_nValue = nConfirm;
        session->SetHostInterface(bHost ? &machine : nullptr);
        std::wstring strCaption;
        EXPECT_EQ(nResult, Leaving([&] { return session->ConfirmPrint(nSelector); }, VK_ESCAPE,
                                   [&](HWND hDlg) { strCaption = CaptionOf(hDlg); }))
            << pszSetUp;
        EXPECT_EQ(pszCaption, strCaption) << pszSetUp;
    }
}

// Under another file name the module cannot find itself, so no template is found and every dialog fails
// to open: each operation reports it its own way.
TEST(MissingTemplates, EachOperationReportsTheFailedRun) {
    std::wstring strCopy = TestExeDir() + L"PivoraRenamed.dll";
    ASSERT_TRUE(::CopyFileW((TestExeDir() + L"Pivora.dll").c_str(), strCopy.c_str(), FALSE));
    {
        LoadedPlugin plugin(strCopy);
        std::unique_ptr<SimMachine> pMachine = SimMachine::CreateDefault();
        InterfacePtr p(plugin.m_pfnNew(), InterfaceDeleter{plugin.m_pfnRelease});
        p->SetHostInterface(pMachine.get());
        EXPECT_EQ(-1, p->ConfirmPrint(1));
        EXPECT_EQ(2, p->ConfirmPrint(0));
        EXPECT_EQ(0, p->ConfirmPrintMode(pMachine->m_tasks[0].get()));
        EXPECT_EQ(1, p->ShowSwitchInkOrder());
        // Twice: the guard flag was cleared after the failed run, so a second call is not swallowed.
        EXPECT_EQ(1, p->ShowSupplyInkTimeout());
        EXPECT_EQ(1, p->ShowSupplyInkTimeout());
        EXPECT_TRUE(pMachine->m_log.Filter({"Root.ResetInkSupplyTimeout"}).empty());
    }
    ::DeleteFileW(strCopy.c_str());
}

} // namespace
