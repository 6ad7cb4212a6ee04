#include "Plugin.h"

#include <fstream>
#include <stdexcept>

#include "SimPrintFlow.h"

std::wstring TestExeDir() {
    wchar_t szPath[MAX_PATH] = {};
    ::GetModuleFileNameW(nullptr, szPath, MAX_PATH);
    std::wstring str = szPath;
    return str.substr(0, str.find_last_of(L'\\') + 1);
}

void WriteUtf16File(const std::wstring& strPath, const std::wstring& strText) {
    // wchar_t is UTF-16LE here, as the packs are.
    WriteTextFile(strPath, "\xFF\xFE" + std::string(reinterpret_cast<const char*>(strText.data()),
                                                    strText.size() * sizeof(wchar_t)));
}

void WriteTextFile(const std::wstring& strPath, const std::string& strText) {
    std::ofstream(strPath.c_str(), std::ios::binary | std::ios::trunc) << strText;
}

std::string ReadTextFile(const std::wstring& strPath) {
    std::ifstream in(strPath.c_str(), std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

LoadedPlugin::LoadedPlugin(const std::wstring& strPath) {
    m_hModule = ::LoadLibraryW(strPath.c_str());
    if (!m_hModule)
        throw std::runtime_error("the module did not load");
    m_pfnNew = reinterpret_cast<PFN_NewInterface>(
        reinterpret_cast<void (*)()>(::GetProcAddress(m_hModule, "NewInterface")));
    m_pfnRelease = reinterpret_cast<PFN_ReleaseInterface>(
        reinterpret_cast<void (*)()>(::GetProcAddress(m_hModule, "ReleaseInterface")));
}

LoadedPlugin::~LoadedPlugin() {
    if (m_hModule)
        ::FreeLibrary(m_hModule);
}

PluginSession::PluginSession(const wchar_t* pszLanguage) : m_pMachine(std::make_unique<SimMachine>()) {
    m_pInterface = NewInterface();
    if (pszLanguage)
        SetLanguage(pszLanguage);
    m_pInterface->SetHostInterface(m_pMachine.get());
    m_hHostWindow = ::CreateWindowW(L"STATIC", L"Test host", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0, 640, 480,
                                    nullptr, nullptr, nullptr, nullptr);
    ::SetActiveWindow(m_hHostWindow);
}

PluginSession::~PluginSession() {
    m_pInterface.reset();
    // The machine is strict: a call a correct module never makes fails the test that made it.
    for (const std::string& strFault : m_pMachine->Faults())
        ADD_FAILURE() << "host misused: " << strFault;
    if (m_hHostWindow)
        ::DestroyWindow(m_hHostWindow);
}

InterfacePtr PluginSession::NewInterface() {
    return InterfacePtr(m_plugin.m_pfnNew(), InterfaceDeleter{m_plugin.m_pfnRelease});
}

void PluginSession::SetLanguage(const wchar_t* pszFolder) {
    LanguageRecord record = {};
    std::wstring strFolder = pszFolder;
    std::u16string(strFolder.begin(), strFolder.end())
        .copy(record.szFolderName, kLanguageFolderNameChars - 1);
    m_pInterface->SetLanguage(&record);
}

static SimMachine* g_pStartedMachine = nullptr;

const std::vector<HostOperation>& HostOperations() {
    using P = CPivoraProcVirtual*;
    auto cutInk = [](uint32_t nRows, bool bValues) {
        return [=](P p, SimMachine& m) {
            SimCutInkSettings& s = m.m_printer.m_cutInk;
            return p->ShowCutInkSetting(&m.m_printer, nRows, bValues ? s.nValues : nullptr, &s.nApplyToAll);
        };
    };
    static SoftwareVersionRecord s_noVersion;
    static const std::vector<HostOperation> s_operations = {
        {"ConfirmPrintMode",
         {0, 1},
         [](P p, SimMachine& m) { return p->ConfirmPrintMode(m.m_tasks[0].get()); }},
        {"ConfirmPrint(1)", {1, 2}, [](P p, SimMachine&) { return p->ConfirmPrint(1); }},
        {"ConfirmPrint(0)", {0, 1, 2}, [](P p, SimMachine&) { return p->ConfirmPrint(0); }},
        {"ShowCutInkSetting(6)", {1}, cutInk(6, true)},
        {"ShowCutInkSetting(derived)", {1}, cutInk(kCutInkDerivedRowCount, false)},
        {"ShowCustomEclosion", {1}, [](P p, SimMachine&) { return p->ShowCustomEclosion(1); }},
        {"ShowSupplyInkTimeout", {1}, [](P p, SimMachine&) { return p->ShowSupplyInkTimeout(); }},
        {"ShowSwitchInkOrder", {1}, [](P p, SimMachine&) { return p->ShowSwitchInkOrder(); }},
        {"ShowMultiStepPopup",
         {1},
         [](P p, SimMachine& m) {
             static MultiStepRecord s_record;
             m.m_multiStep.FillRecord(s_record, false);
             g_pStartedMachine = &m;
             s_record.nStartCallback =
                 reinterpret_cast<uintptr_t>(+[] { g_pStartedMachine->m_multiStep.Start(); });
             return p->ShowMultiStepPopup(&s_record);
         }},
        {"ShowDetailVersionInfo",
         {1},
         [](P p, SimMachine&) { return p->ShowDetailVersionInfo(&s_noVersion); }},
    };
    return s_operations;
}
