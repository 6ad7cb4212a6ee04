// A host that misbehaves, through the exports: null getters, odd counts, unterminated records, odd language
// files, objects released or operations called again inside its callbacks. Nothing may crash or hang, and
// every result is one of the operation's documented codes.
#include <malloc.h>

#include <climits>
#include <cstring>
#include <sstream>
#include <stdexcept>

#include "Plugin.h"
#include "SimPrintFlow.h"
#include "dialogs/ink/SwitchInkOrderRules.h"
#include "res/resource.h"

namespace {

const HostOperation& Op(const std::string& strName) {
    for (const HostOperation& op : HostOperations())
        if (strName == op.pszName)
            return op;
    throw std::invalid_argument(strName);
}

bool IsHeapBlockInUse(const void* p) {
    _HEAPINFO info = {};
    while (_heapwalk(&info) == _HEAPOK)
        if (info._pentry == p)
            return info._useflag == _USEDENTRY;
    return false;
}

class BadInputsTest : public ::testing::Test {
protected:
    void SetUp() override {
        session.m_pMachine = SimMachine::CreateDefault();
        machine().m_log.m_bRecording = false;
        session->SetHostInterface(session.m_pMachine.get());
        EnsureSimDataFolder(SimHostDir());
    }
    SimMachine& machine() { return *session.m_pMachine; }
    void RunClosed(const HostOperation& op, const std::string& strContext, CPivoraProcVirtual* p = nullptr) {
        int32_t nResult =
            Leaving([&] { return op.run(p ? p : session.m_pInterface.get(), machine()); }, VK_RETURN);
        EXPECT_TRUE(op.Documented(nResult)) << strContext << ": " << op.pszName << " returned " << nResult;
    }
    // What the host does inside the first call the module makes to it.
    void OnFirstCall(std::function<void()> act) {
        machine().m_log.m_onCall = [act, bDone = false](const std::string&) mutable {
            if (!std::exchange(bDone, true))
                act();
        };
    }
    PluginSession session;
};

// Each operation with the getters it reaches, one at a time answering null, and the counts it reads, each in
// turn negative, most negative, huge (with null past the real ones) or changing between two reads.
TEST_F(BadInputsTest, GettersAnsweringNullAndCountsThatAreNegativeHugeOrChangeBetweenTwoReads) {
    const std::string kCutInk =
        "Printer.GetGroupTable Layout.GetGroupIdList GroupTable.FindGroup Group.GetMember";
    // clang-format off
    const std::tuple<const char*, std::string, std::string> kReads[] = {
        {"ConfirmPrintMode", "Root.GetPrinter Printer.GetParameter Printer.GetGroupLayout Printer.GetPrintModeTable "
                             "ModeTable.GetModeList ModeList.GetAt", "ModeList.GetCount"},
        {"ConfirmPrint(1)", "Root.GetPrinter Root.GetParameter Printer.GetParameter", ""},
        {"ConfirmPrint(0)", "Printer.GetParameter", ""},
        {"ShowCutInkSetting(6)", "Printer.GetParameter Printer.GetGroupLayout " + kCutInk, "Group.GetMemberCount"},
        {"ShowCutInkSetting(derived)", kCutInk, "IdList.GetCount Group.GetMemberCount"},
        {"ShowCustomEclosion", "Root.GetPrinter Root.GetEclosionTemplates Eclosion.GetTemplate EclosionTemplate.GetMode "
                               "EclosionMode.GetElement Eclosion.GetData Eclosion.AddTemplate Printer.CreateSnapshot "
                               "Snapshot.GetSection Snapshot.GetSubsection Snapshot.GetEclosionTemplates",
         "Eclosion.GetCount EclosionTemplate.GetModeCount EclosionMode.GetElementCount"}};
    const std::function<int32_t(int32_t)> kFilters[] = {
        [](int32_t) { return -1; }, [](int32_t) { return INT32_MIN; }, [](int32_t) { return INT32_MAX; },
        [n = 0](int32_t nReal) mutable { return (++n % 2) ? nReal : nReal + 3; }};
    // clang-format on
    machine().m_snapshots.m_bEnabled = true;
    for (const auto& [pszOp, strGetters, strCounts] : kReads) {
        std::istringstream getters(strGetters), counts(strCounts);
        for (std::string strGetter; getters >> strGetter;) {
            machine().m_log.m_nullCalls = {strGetter};
            RunClosed(Op(pszOp), strGetter + " null");
        }
        machine().m_log.m_nullCalls = {};
        for (std::string strCount; counts >> strCount;)
            for (const auto& filter : kFilters) {
                machine().m_log.m_countFilter = [&](const std::string& strCall, int32_t n) {
                    return strCall == strCount ? filter(n) : n;
                };
                RunClosed(Op(pszOp), strCount + " filter " + std::to_string(&filter - kFilters));
            }
        machine().m_log.m_countFilter = nullptr;
    }
}

TEST_F(BadInputsTest, TheRootTakenAwayTheObjectReleasedOrAnotherOperationRunInsideAHostCallback) {
    session.NewInterface()->SetHostInterface(&machine()); // module-wide state outlives the object
    const std::vector<HostOperation>& operations = HostOperations();
    for (size_t i = 0; i < operations.size(); ++i) {
        const HostOperation& op = operations[i];
        OnFirstCall([&] { session->SetHostInterface(nullptr); });
        RunClosed(op, "root taken away");
        session->SetHostInterface(&machine());

        // An object released while its own operation runs is freed once the operation returns.
        InterfacePtr pOwn = session.NewInterface();
        CPivoraProcVirtual* pRaw = pOwn.get();
        ASSERT_TRUE(IsHeapBlockInUse(pRaw));
        bool bReleased = false, bAliveAfterRelease = false;
        OnFirstCall([&] {
            session.m_plugin.m_pfnRelease(pOwn.release());
            bReleased = true;
            bAliveAfterRelease = IsHeapBlockInUse(pRaw);
        });
        RunClosed(op, "released inside", pRaw);
        EXPECT_TRUE(!bReleased || bAliveAfterRelease) << op.pszName << ": freed while its operation ran";
        EXPECT_TRUE(!bReleased || !IsHeapBlockInUse(pRaw)) << op.pszName << ": never freed";

        // This operation nested once in two others.
        for (size_t nOuter : {i + 1, i + 3}) {
            int32_t nInner = 1;
            OnFirstCall([&] { nInner = op.run(session.m_pInterface.get(), machine()); });
            RunClosed(operations[nOuter % operations.size()], std::string("with ") + op.pszName + " nested");
            EXPECT_TRUE(op.Documented(nInner)) << op.pszName;
        }
        machine().m_log.m_onCall = nullptr;
    }
}

// A record placed so that its last byte is the last readable one: a read past it faults. Never freed.
template <class T> T& AtPageEnd() {
    auto* pBase = static_cast<uint8_t*>(::VirtualAlloc(nullptr, 0x10000, MEM_COMMIT, PAGE_READWRITE));
    DWORD nOld;
    ::VirtualProtect(pBase + 0xF000, 0x1000, PAGE_NOACCESS, &nOld);
    return *reinterpret_cast<T*>(pBase + 0xF000 - sizeof(T));
}

TEST_F(BadInputsTest, RecordsWithoutTerminatorsAndOddOrMissingLanguageFiles) {
    MultiStepRecord& record = AtPageEnd<MultiStepRecord>();
    machine().m_multiStep.FillRecord(record, false);
    std::fill(std::begin(record.szFinishText), std::end(record.szFinishText), u'F');
    std::fill(std::begin(record.szCancelText), std::end(record.szCancelText), u'C');
    std::fill(std::begin(record.szTitle), std::end(record.szTitle), u'T');
    record.nStartCallback = 0;
    EXPECT_EQ(1, Leaving([&] { return session->ShowMultiStepPopup(&record); }, VK_RETURN));
    LanguageRecord& language = AtPageEnd<LanguageRecord>();
    std::memset(&language, 0x41, sizeof(LanguageRecord));
    session->SetLanguage(&language);
    SoftwareVersionRecord& version = AtPageEnd<SoftwareVersionRecord>();
    std::memset(&version, 'V', sizeof(SoftwareVersionRecord));
    EXPECT_EQ(1, Leaving([&] { return session->ShowDetailVersionInfo(&version); }, VK_RETURN));

    // Every key of the shipped pack, with a value that is a format string, then one of 100,000 characters,
    // for the dialogs that put translated words into texts of their own.
    std::string strPack = ReadTextFile(std::wstring(L"" PIVORA_SOURCE_DIR) + L"/Lang/Chs/Pivora.ini");
    std::wistringstream pack(
        std::wstring(reinterpret_cast<const wchar_t*>(strPack.data() + 2), (strPack.size() - 2) / 2));
    std::wstring strDir = TestExeDir() + L"Lang\\Odd";
    std::vector<std::wstring> keys;
    for (std::wstring strLine; std::getline(pack, strLine);)
        if (strLine.find(L'=') != std::wstring::npos && strLine[0] != L'[')
            keys.push_back(strLine.substr(0, strLine.find(L'=')));
    ::CreateDirectoryW(strDir.c_str(), nullptr);
    for (const std::wstring& strValue : {std::wstring(L"%s %n %x %ls %d%%"), std::wstring(100000, L'W')}) {
        std::wstring strFile = L"[LANG]\r\n";
        for (const std::wstring& strKey : keys)
            strFile += strKey + L"=" + strValue + L"\r\n";
        WriteUtf16File(strDir + L"\\Pivora.ini", strFile);
        session.SetLanguage(L"Odd");
        for (const char* pszOp :
             {"ConfirmPrint(0)", "ShowMultiStepPopup", "ShowCustomEclosion", "ConfirmPrint(1)"})
            RunClosed(Op(pszOp), "odd language file");
    }
    ::DeleteFileW((strDir + L"\\Pivora.ini").c_str());
    ::RemoveDirectoryW(strDir.c_str());
    session.SetLanguage(L"NoSuchLanguage");
    for (const char* pszOp : {"ConfirmPrint(0)", "ShowMultiStepPopup"})
        RunClosed(Op(pszOp), "missing language file");
}

TEST_F(BadInputsTest, HugeHeadCountsOpenABoundedGridAndAnEmptyHeadSelectionAsksForNoEntry) {
    // 10,000 x 10,000 leaves no head selection (the machine has 32 channels in all); one channel per head
    // with a channel total of 2^32 - 1 asks for four billion entries.
    SimHeadConfig& heads = machine().m_heads;
    machine().m_log.m_bRecording = true;
    // Heads, channels, channel total; rows and columns of the grid.
    const std::tuple<int32_t, int32_t, uint32_t, int, int> kCounts[] = {
        {10000, 10000, 32, 3 * kSwitchGridMaxHeads, 2 + kSwitchGridMaxChannels}, {4, 1, 0xFFFFFFFF, 12, 3}};
    for (const auto& [nHeads, nChannels, nTotal, nWantRows, nWantColumns] : kCounts) {
        std::tie(heads.m_nHeadCount, heads.m_nChannelCount, heads.m_baseList.m_nChannelTotal) =
            std::tie(nHeads, nChannels, nTotal);
        machine().m_log.Clear();
        int nRows = -1, nColumns = -1;
        const ULONGLONG nStart = ::GetTickCount64();
        EXPECT_EQ(1, Drive({[&](HWND hDlg) {
                               HWND hList = ::GetDlgItem(hDlg, IDC_SWITCH_INK_LIST);
                               nRows = ListView_GetItemCount(hList);
                               nColumns = Header_GetItemCount(ListView_GetHeader(hList));
                               PressKey(hDlg, VK_RETURN);
                           }},
                           [&] { return session->ShowSwitchInkOrder(); }));
        EXPECT_LT(::GetTickCount64() - nStart, 5000u) << nHeads;
        EXPECT_EQ(std::pair(nWantRows, nWantColumns), std::pair(nRows, nColumns));
        for (const char* pszCall : {"BaseList.GetAt(-1)", "BaseList.Add(0,0)", "Root.ApplySettings(0,0,0)"})
            EXPECT_TRUE(machine().m_log.Filter({pszCall}).empty()) << pszCall << " " << nHeads;
    }
}

} // namespace
