// A host that misbehaves, through the exports: getters that answer null, odd counts, records without
// terminators that end at a page nobody may read, odd language files, released objects, and operations
// called again from inside the host's own callbacks. Nothing may crash or hang, and every result is one of
// the operation's documented codes.
#include <gtest/gtest.h>
#include <malloc.h>

#include <climits>
#include <cstdio>
#include <cstring>
#include <functional>
#include <map>

#include "Plugin.h"
#include "ScriptedOperator.h"
#include "SimPrintFlow.h"
#include "res/resource.h"
#include "dialogs/ink/SwitchInkOrderRules.h"

namespace {

struct Operation {
    const char* pszName;
    std::vector<int32_t> results;
    std::function<int32_t(CPivoraProcVirtual*, SimMachine&)> run;
};

MultiStepRecord g_multiStepRecord;
SimMachine* g_pMultiStepMachine = nullptr;
void StartMultiStep() {
    if (g_pMultiStepMachine)
        g_pMultiStepMachine->m_multiStep.Start();
}

const std::vector<Operation>& Operations() {
    static const std::vector<Operation> s_operations = {
        {"ConfirmPrintMode",
         {0, 1},
         [](CPivoraProcVirtual* p, SimMachine& m) { return p->ConfirmPrintMode(m.m_tasks[0].get()); }},
        {"ConfirmPrint(1)", {1, 2}, [](CPivoraProcVirtual* p, SimMachine&) { return p->ConfirmPrint(1); }},
        {"ConfirmPrint(0)", {0, 1, 2}, [](CPivoraProcVirtual* p, SimMachine&) { return p->ConfirmPrint(0); }},
        {"ShowCutInkSetting(6)",
         {1},
         [](CPivoraProcVirtual* p, SimMachine& m) {
             return p->ShowCutInkSetting(&m.m_printer, 6, m.m_printer.m_cutInk.nValues,
                                         &m.m_printer.m_cutInk.nApplyToAll);
         }},
        {"ShowCutInkSetting(derived)",
         {1},
         [](CPivoraProcVirtual* p, SimMachine& m) {
             return p->ShowCutInkSetting(&m.m_printer, 0xFFFFFFFF, nullptr,
                                         &m.m_printer.m_cutInk.nApplyToAll);
         }},
        {"ShowCustomEclosion",
         {1},
         [](CPivoraProcVirtual* p, SimMachine&) { return p->ShowCustomEclosion(1); }},
        {"ShowSupplyInkTimeout",
         {1},
         [](CPivoraProcVirtual* p, SimMachine&) { return p->ShowSupplyInkTimeout(); }},
        {"ShowSwitchInkOrder",
         {1},
         [](CPivoraProcVirtual* p, SimMachine&) { return p->ShowSwitchInkOrder(); }},
        {"ShowMultiStepPopup",
         {1},
         [](CPivoraProcVirtual* p, SimMachine& m) {
             m.m_multiStep.FillRecord(g_multiStepRecord, false);
             g_pMultiStepMachine = &m;
             g_multiStepRecord.nStartCallback = reinterpret_cast<uintptr_t>(&StartMultiStep);
             return p->ShowMultiStepPopup(&g_multiStepRecord);
         }},
        {"ShowDetailVersionInfo",
         {1},
         [](CPivoraProcVirtual* p, SimMachine&) {
             SoftwareVersionRecord record = {};
             return p->ShowDetailVersionInfo(&record);
         }},
    };
    return s_operations;
}

const Operation& Op(const std::string& strName) {
    for (const Operation& op : Operations()) {
        if (strName == op.pszName)
            return op;
    }
    return Operations().front();
}

bool IsDocumented(const Operation& op, int32_t nResult) {
    return std::find(op.results.begin(), op.results.end(), nResult) != op.results.end();
}

// The operator confirms whatever is in front with Enter, then leaves with Escape until it is gone; a
// question about leaving is answered Yes (its default button).
class Closer {
public:
    Closer() {
        m_actor.m_nTimeoutMs = 15000;
        m_actor.WaitUntil([this](HWND hDlg) {
            int& nTicks = m_ticks[hDlg];
            if (nTicks % 25 == 0)
                PressKey(hDlg, nTicks == 0 ? VK_RETURN : VK_ESCAPE);
            ++nTicks;
            return false;
        });
        m_actor.Start();
    }
    bool TimedOut() const { return m_actor.m_bTimedOut; }

private:
    Operator m_actor;
    std::map<HWND, int> m_ticks;
};

class BadInputsTest : public ::testing::Test {
protected:
    void SetUp() override {
        session.m_pMachine = SimMachine::CreateDefault();
        machine().m_log.m_bRecording = false;
        session->SetHostInterface(session.m_pMachine.get());
        EnsureSimDataFolder(SimHostDir());
    }
    SimMachine& machine() { return *session.m_pMachine; }
    // Runs the operation with the closing operator; the result must be documented and nothing stuck.
    void RunClosed(const Operation& op, const std::string& strContext) {
        // A crash ends the program: the last line says where.
        if (::GetEnvironmentVariableW(L"PIVORA_TRACE", nullptr, 0) != 0)
            std::fprintf(stderr, "%s: %s\n", strContext.c_str(), op.pszName);
        Closer closer;
        int32_t nResult = op.run(session.m_pInterface.get(), machine());
        EXPECT_TRUE(IsDocumented(op, nResult)) << strContext << ": " << op.pszName << " returned " << nResult;
        EXPECT_FALSE(closer.TimedOut()) << strContext << ": " << op.pszName << " stayed open";
    }

    PluginSession session;
};

TEST_F(BadInputsTest, EachHostGetterAnsweringNullOneAtATime) {
    // Each getter with the operations that reach it.
    const std::vector<std::string> kPrint = {"ConfirmPrintMode", "ConfirmPrint(1)", "ConfirmPrint(0)"};
    const std::vector<std::string> kCutInk = {"ShowCutInkSetting(6)", "ShowCutInkSetting(derived)"};
    const std::vector<std::string> kEclosion = {"ShowCustomEclosion"};
    const std::vector<std::pair<const char*, std::vector<std::string>>> kGetters = {
        {"Root.GetPrinter", {"ConfirmPrintMode", "ConfirmPrint(1)", "ShowCustomEclosion"}},
        {"Root.GetParameter", {"ConfirmPrint(1)"}},
        {"Printer.GetParameter",
         {"ConfirmPrintMode", "ConfirmPrint(1)", "ConfirmPrint(0)", "ShowCutInkSetting(6)"}},
        {"Printer.GetGroupLayout", {"ConfirmPrintMode", "ShowCutInkSetting(6)"}},
        {"Printer.GetGroupTable", kCutInk},
        {"Printer.GetPrintModeTable", {"ConfirmPrintMode"}},
        {"Layout.GetGroupIdList", kCutInk},
        {"GroupTable.FindGroup", kCutInk},
        {"Group.GetMember", kCutInk},
        {"ModeTable.GetModeList", {"ConfirmPrintMode"}},
        {"ModeList.GetAt", {"ConfirmPrintMode"}},
        {"Root.GetEclosionTemplates", kEclosion},
        {"Eclosion.GetTemplate", kEclosion},
        {"EclosionTemplate.GetMode", kEclosion},
        {"EclosionMode.GetElement", kEclosion},
        {"Eclosion.GetData", kEclosion},
        {"Eclosion.AddTemplate", kEclosion},
        {"Printer.CreateSnapshot", kEclosion},
        {"Snapshot.GetSection", kEclosion},
        {"Snapshot.GetSubsection", kEclosion},
        {"Snapshot.GetEclosionTemplates", kEclosion}};
    machine().m_snapshots.m_bEnabled = true;
    for (const auto& [pszGetter, operations] : kGetters) {
        machine().m_log.m_nullCalls = {pszGetter};
        for (const std::string& strOp : operations)
            RunClosed(Op(strOp), pszGetter);
    }
}

TEST_F(BadInputsTest, CountsThatAreNegativeHugeOrChangeBetweenTwoReads) {
    const std::vector<std::pair<const char*, std::function<int32_t(int32_t)>>> kFilters = {
        {"negative", [](int32_t) { return -1; }},
        {"most negative", [](int32_t) { return INT32_MIN; }},
        {"huge, null past the real ones", [](int32_t) { return INT32_MAX; }},
        {"changing", [n = 0](int32_t nReal) mutable { return (++n % 2) ? nReal : nReal + 3; }},
    };
    const std::vector<std::pair<const char*, const char*>> kCounts = {
        {"ModeList.GetCount", "ConfirmPrintMode"},
        {"IdList.GetCount", "ShowCutInkSetting(derived)"},
        {"Group.GetMemberCount", "ShowCutInkSetting(derived)"},
        {"Eclosion.GetCount", "ShowCustomEclosion"},
        {"EclosionTemplate.GetModeCount", "ShowCustomEclosion"},
        {"EclosionMode.GetElementCount", "ShowCustomEclosion"}};
    for (const auto& [pszKind, filter] : kFilters) {
        for (const auto& [pszCount, pszOp] : kCounts) {
            machine().m_log.m_countFilter = [&filter, pszCount = pszCount](const std::string& strCall,
                                                                           int32_t nReal) {
                return strCall == pszCount ? filter(nReal) : nReal;
            };
            RunClosed(Op(pszOp), std::string(pszCount) + " " + pszKind);
        }
    }
}

TEST_F(BadInputsTest, TheRootObjectTakenAwayInsideACallbackWhileThePrintConfirmationRuns) {
    // The host hands over a null root from inside the first Z reading; Enter stores the lengths and
    // Escape leaves: what cannot be reached any more is skipped.
    for (UINT vk : {VK_RETURN, VK_ESCAPE}) {
        session->SetHostInterface(&machine());
        bool bTaken = false;
        machine().m_log.m_onCall = [&](const std::string& strCall) {
            if (!bTaken && strCall == "Root.GetZPosition") {
                bTaken = true;
                session->SetHostInterface(nullptr);
            }
        };
        Operator actor;
        actor.Then([vk](HWND hDlg) {
            SetEditText(hDlg, IDC_MATERIAL_HEIGHT, L"7");
            PressKey(hDlg, vk);
        });
        actor.Start();
        int32_t nResult = session->ConfirmPrint(1);
        EXPECT_TRUE(bTaken);
        EXPECT_EQ(vk == VK_RETURN ? 1 : 2, nResult);
        EXPECT_FALSE(actor.m_bTimedOut);
    }
    // Every other dialog, with the root gone between two of its messages.
    for (const Operation& op : Operations()) {
        session->SetHostInterface(&machine());
        machine().m_log.m_onCall = [this](const std::string&) { session->SetHostInterface(nullptr); };
        RunClosed(op, "root taken away");
        machine().m_log.m_onCall = nullptr;
    }
}

bool IsHeapBlockInUse(const void* p) {
    _HEAPINFO info = {};
    while (_heapwalk(&info) == _HEAPOK) {
        if (info._pentry == p)
            return info._useflag == _USEDENTRY;
    }
    return false;
}

TEST_F(BadInputsTest, AnObjectReleasedWhileItsOwnOperationRunsIsFreedWhenTheOperationReturns) {
    for (const Operation& op : Operations()) {
        InterfacePtr pOwn = session.NewInterface();
        CPivoraProcVirtual* pRaw = pOwn.get();
        ASSERT_TRUE(IsHeapBlockInUse(pRaw));
        bool bReleased = false, bAliveAfterRelease = false;
        machine().m_log.m_onCall = [&](const std::string&) {
            if (bReleased)
                return;
            bReleased = true;
            session.m_plugin.m_pfnRelease(pOwn.release());
            bAliveAfterRelease = IsHeapBlockInUse(pRaw);
        };
        Closer closer;
        int32_t nResult = op.run(pRaw, machine());
        machine().m_log.m_onCall = nullptr;
        EXPECT_TRUE(IsDocumented(op, nResult)) << op.pszName;
        if (bReleased) {
            EXPECT_TRUE(bAliveAfterRelease) << op.pszName << ": freed while its operation ran";
            EXPECT_FALSE(IsHeapBlockInUse(pRaw)) << op.pszName << ": never freed";
        }
    }
}

TEST_F(BadInputsTest, OperationsCalledAgainFromInsideHostCallbacks) {
    // Every operation nested once, each in another one, from the first host call the outer one makes.
    const std::vector<Operation>& operations = Operations();
    for (size_t i = 0; i < operations.size(); ++i) {
        const Operation& inner = operations[i];
        for (const Operation& outer :
             {operations[(i + 1) % operations.size()], operations[(i + 3) % operations.size()]}) {
            bool bNested = false;
            int32_t nInner = 1;
            machine().m_log.m_onCall = [&](const std::string&) {
                if (bNested)
                    return;
                bNested = true;
                nInner = inner.run(session.m_pInterface.get(), machine());
            };
            RunClosed(outer, std::string("with ") + inner.pszName + " nested");
            machine().m_log.m_onCall = nullptr;
            EXPECT_TRUE(IsDocumented(inner, nInner)) << inner.pszName << " in " << outer.pszName;
        }
    }
}

TEST_F(BadInputsTest, CallsAfterAnotherInterfaceObjectWasReleased) {
    InterfacePtr pOther = session.NewInterface();
    pOther->SetHostInterface(&machine());
    pOther.reset();
    for (const Operation& op : Operations())
        RunClosed(op, "after another object was released");
}

// A record placed so that its last byte is the last readable one: a read past it faults.
class GuardedBytes {
public:
    explicit GuardedBytes(size_t nSize) {
        SYSTEM_INFO info;
        ::GetSystemInfo(&info);
        size_t nPages = (nSize + info.dwPageSize - 1) / info.dwPageSize;
        m_pBase = static_cast<uint8_t*>(::VirtualAlloc(nullptr, (nPages + 1) * info.dwPageSize,
                                                       MEM_COMMIT | MEM_RESERVE, PAGE_READWRITE));
        DWORD nOld;
        ::VirtualProtect(m_pBase + nPages * info.dwPageSize, info.dwPageSize, PAGE_NOACCESS, &nOld);
        m_pRecord = m_pBase + nPages * info.dwPageSize - nSize;
    }
    ~GuardedBytes() { ::VirtualFree(m_pBase, 0, MEM_RELEASE); }
    GuardedBytes(const GuardedBytes&) = delete;
    GuardedBytes& operator=(const GuardedBytes&) = delete;
    template <class T> T* As() { return reinterpret_cast<T*>(m_pRecord); }

private:
    uint8_t* m_pBase = nullptr;
    uint8_t* m_pRecord = nullptr;
};

TEST_F(BadInputsTest, RecordsWhoseTextFieldsHaveNoTerminatorAndEndAtANoAccessPage) {
    GuardedBytes multiStep(sizeof(MultiStepRecord));
    auto* pRecord = multiStep.As<MultiStepRecord>();
    machine().m_multiStep.FillRecord(*pRecord, false);
    for (char16_t& ch : pRecord->szFinishText)
        ch = u'F';
    for (char16_t& ch : pRecord->szCancelText)
        ch = u'C';
    for (char16_t& ch : pRecord->szTitle)
        ch = u'T';
    pRecord->nStartCallback = 0;
    {
        Closer closer;
        EXPECT_EQ(1, session->ShowMultiStepPopup(pRecord));
    }

    GuardedBytes language(sizeof(LanguageRecord));
    auto* pLanguage = language.As<LanguageRecord>();
    std::memset(pLanguage, 0x41, sizeof(LanguageRecord));
    session->SetLanguage(pLanguage);

    GuardedBytes version(sizeof(SoftwareVersionRecord));
    auto* pVersion = version.As<SoftwareVersionRecord>();
    std::memset(pVersion, 'V', sizeof(SoftwareVersionRecord));
    {
        Closer closer;
        EXPECT_EQ(1, session->ShowDetailVersionInfo(pVersion));
    }
}

TEST_F(BadInputsTest, LanguageFilesWithFormatsHugeValuesOrNoFileAtAll) {
    // Every key of the shipped pack, with a value that is a format string, then one of 100,000 characters.
    std::string strPack = ReadTextFile(std::wstring(L"" PIVORA_SOURCE_DIR) + L"/Lang/Chs/Pivora.ini");
    std::wstring strKeys;
    for (size_t i = 2; i + 1 < strPack.size(); i += 2)
        strKeys.push_back(static_cast<wchar_t>(static_cast<uint8_t>(strPack[i]) |
                                               (static_cast<uint8_t>(strPack[i + 1]) << 8)));
    std::wstring strDir = TestExeDir() + L"Lang\\Odd";
    ::CreateDirectoryW(strDir.c_str(), nullptr);
    for (const std::wstring& strValue : {std::wstring(L"%s %n %x %ls %d%%"), std::wstring(100000, L'W')}) {
        std::wstring strFile = L"[LANG]\r\n";
        size_t nStart = 0;
        while (nStart < strKeys.size()) {
            size_t nEnd = strKeys.find(L'\n', nStart);
            if (nEnd == std::wstring::npos)
                nEnd = strKeys.size();
            std::wstring strLine = strKeys.substr(nStart, nEnd - nStart);
            size_t nEquals = strLine.find(L'=');
            if (nEquals != std::wstring::npos && strLine[0] != L'[')
                strFile += strLine.substr(0, nEquals) + L"=" + strValue + L"\r\n";
            nStart = nEnd + 1;
        }
        WriteUtf16File(strDir + L"\\Pivora.ini", strFile);
        session.SetLanguage(L"Odd");
        // The dialogs that put translated words into texts of their own.
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

TEST_F(BadInputsTest, AnInkGroupOfTwoBillionMembersDoesNotHangTheCutInkQuestion) {
    machine().m_log.m_countFilter = [](const std::string& strCall, int32_t nReal) {
        return strCall == "Group.GetMemberCount" ? INT32_MAX : nReal;
    };
    for (uint32_t nCount : {6u, 0xFFFFFFFFu}) {
        Closer closer;
        EXPECT_EQ(1, session->ShowCutInkSetting(&machine().m_printer, nCount, nullptr,
                                                &machine().m_printer.m_cutInk.nApplyToAll));
    }
}

TEST_F(BadInputsTest, HugeHeadCountsOpenABoundedGridAndAnEmptyHeadSelectionAsksForNoEntry) {
    // 10,000 x 10,000 leaves no head selection (the machine has 32 channels in all); one channel per head
    // with a channel total of 2^32 - 1 asks for four billion entries.
    struct Counts {
        int32_t nHeads, nChannels;
        uint32_t nTotal;
        int nRows, nColumns;
    };
    SimHeadConfig& heads = machine().m_heads;
    machine().m_log.m_bRecording = true;
    for (const Counts& c : {Counts{10000, 10000, 32, 3 * kSwitchGridMaxHeads, 2 + kSwitchGridMaxChannels},
                            Counts{4, 1, 0xFFFFFFFF, 12, 3}}) {
        heads.m_nHeadCount = c.nHeads;
        heads.m_nChannelCount = c.nChannels;
        heads.m_baseList.m_nChannelTotal = c.nTotal;
        machine().m_log.Clear();
        int nRows = -1, nColumns = -1;
        Operator actor;
        actor.Then([&](HWND hDlg) {
            HWND hList = ::GetDlgItem(hDlg, IDC_SWITCH_INK_LIST);
            nRows = ListView_GetItemCount(hList);
            nColumns = Header_GetItemCount(ListView_GetHeader(hList));
            PressKey(hDlg, VK_RETURN);
        });
        actor.Start();
        const ULONGLONG nStart = ::GetTickCount64();
        EXPECT_EQ(1, session->ShowSwitchInkOrder());
        EXPECT_LT(::GetTickCount64() - nStart, 5000u) << c.nHeads;
        EXPECT_FALSE(actor.m_bTimedOut);
        EXPECT_EQ(c.nRows, nRows);
        EXPECT_EQ(c.nColumns, nColumns);
        const auto& calls = machine().m_log.m_calls;
        EXPECT_EQ(0, std::count(calls.begin(), calls.end(), "BaseList.GetAt(-1)")) << c.nHeads;
        EXPECT_EQ(0, std::count(calls.begin(), calls.end(), "BaseList.Add(0,0)")) << c.nHeads;
        EXPECT_EQ(0, std::count(calls.begin(), calls.end(), "Root.ApplySettings(0,0,0)"));
    }
}

} // namespace
