// The print confirmation with heights and position, driven through ConfirmPrint with selector 1, and the
// length rules behind it.
#include <gtest/gtest.h>

#include "Plugin.h"
#include "ScriptedOperator.h"
#include "dialogs/print/PrintConfirmRules.h"
#include "dialogs/print/PollTimers.h"
#include "res/resource.h"

namespace {

using Texts = std::vector<std::wstring>;
using Calls = std::vector<std::string>;

// A host file the dialog uses, absent when a test starts; what was there before comes back afterwards.
struct KeptFile {
    explicit KeptFile(const std::wstring& strName) : strPath(TestExeDir() + strName) {
        strDir = strPath.substr(0, strPath.find_last_of(L'\\'));
        bMadeDir = ::CreateDirectoryW(strDir.c_str(), nullptr) != FALSE;
        bExisted = ::GetFileAttributesW(strPath.c_str()) != INVALID_FILE_ATTRIBUTES;
        strOld = bExisted ? ReadTextFile(strPath) : std::string();
        ::DeleteFileW(strPath.c_str());
    }
    ~KeptFile() {
        if (bExisted)
            WriteTextFile(strPath, strOld);
        else
            ::DeleteFileW(strPath.c_str());
        if (bMadeDir)
            ::RemoveDirectoryW(strDir.c_str());
    }
    KeptFile(const KeptFile&) = delete;
    KeptFile& operator=(const KeptFile&) = delete;
    std::wstring strPath, strDir;
    bool bMadeDir, bExisted;
    std::string strOld;
};

// Material height, print height, X, Y, Z: the edits, then their unit labels.
const std::vector<int> kLengths = {IDC_MATERIAL_HEIGHT, IDC_PRINT_HEIGHT, IDC_POS_X, IDC_POS_Y,
                                   IDC_Z_POSITION};
const std::vector<int> kUnitLabels = {IDC_MATERIAL_HEIGHT_UNIT, IDC_PRINT_HEIGHT_UNIT, IDC_Z_POSITION_UNIT,
                                      IDC_POS_X_UNIT, IDC_POS_Y_UNIT};
Texts TextsOf(HWND hDlg, const std::vector<int>& ids) {
    Texts texts;
    for (int nId : ids)
        texts.push_back(TextOf(hDlg, nId));
    return texts;
}

// Types each text into its edit and leaves it; adds what the edit shows afterwards to shown.
struct Entry {
    int nId;
    const wchar_t* pszText;
};
void EnterEach(HWND hDlg, std::initializer_list<Entry> entries, Texts& shown) {
    for (const Entry& entry : entries) {
        EnterEditText(hDlg, entry.nId, entry.pszText, IDC_NOT_TIP);
        shown.push_back(TextOf(hDlg, entry.nId));
    }
}

// Reads the message box that is up and closes it with OK.
Operator::Step ReadBox(std::wstring& strText) {
    return [&strText](HWND hBox) {
        strText = MessageBoxText(hBox);
        Click(hBox, IDOK);
    };
}

const std::wstring kNotANumber = L"Please enter a number.";

class PrintConfirmTest : public ::testing::Test {
protected:
    void SetUp() override {
        machine.m_printer.Parameter(kParamPrintConfirm).m_nValue = 1;
        machine.Parameter(kParamMaterialHeight).m_dValue = 12.5;
        machine.Parameter(kParamPrintHeight).m_dValue = 2.5;
        machine.Parameter(kParamPrintPosX).m_dValue = 0;
        machine.Parameter(kParamPrintPosY).m_dValue = 100;
        machine.m_dZPosition = 7.5;
    }

    // Opens the dialog for the steps given to Op(); each must run, and no box may stay unanswered.
    Operator& Op() { return *m_pOp; }
    int Run() {
        m_pOp->Start();
        int nResult = session->ConfirmPrint(1);
        EXPECT_TRUE(m_pOp->AllStepsDone());
        EXPECT_FALSE(m_pOp->m_bTimedOut);
        m_pOp = std::make_unique<Operator>();
        return nResult;
    }
    void SetUnit(int nUnit) {
        WriteTextFile(project.strPath, "[UNIT]\r\nUNIT_SEL=" + std::to_string(nUnit) + "\r\n");
    }
    int NotPrintConfirm() {
        return static_cast<int>(
            ::GetPrivateProfileIntW(L"PRINT", L"NOT_PRINT_CONFIRM", -1, temp.strPath.c_str()));
    }
    double Host(int32_t nId) { return machine.Parameter(nId).m_dValue; }
    // What the dialog changed in the host since the last call, in order.
    Calls TakeChanges() {
        Calls changes;
        for (const std::string& strCall : machine.m_log.m_calls) {
            if (strCall.find("SetDoubleValue") != std::string::npos ||
                strCall.rfind("Root.ApplySettings", 0) == 0 || strCall == "Root.ConfirmPrintPosition")
                changes.push_back(strCall);
        }
        machine.m_log.Clear();
        return changes;
    }

    PluginSession session;
    SimMachine& machine = *session.m_pMachine;
    KeptFile project{L"Project.ini"}, temp{L"Data\\Temp.ini"};
    std::unique_ptr<Operator> m_pOp = std::make_unique<Operator>();
};

TEST_F(PrintConfirmTest,
       OkWritesTheShownRoundingBackOnlyOnceEachLengthIsANumberInItsLimitsAndZFollowsTheAxis) {
    machine.Parameter(kParamMaterialHeight).m_dValue = 12.345;
    Texts opened, labels, zAndTyped;
    std::wstring strOnOk, strOnLeave, strStillOpen;
    Op().Then([&](HWND hDlg) {
        opened = TextsOf(hDlg, kLengths);
        labels = TextsOf(hDlg, kUnitLabels);
        SetEditText(hDlg, IDC_PRINT_HEIGHT, L"12,5x");
        ClickAsync(hDlg, IDOK);
    });
    Op().Then(ReadBox(strOnOk)); // the refused edit has the focus now
    Op().Then([&](HWND hDlg) {
        SetEditText(hDlg, IDC_PRINT_HEIGHT, L"abc");
        // Through the queue, so that the box it opens is seen by the next step.
        ::PostMessageW(hDlg, WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(::GetDlgItem(hDlg, IDC_POS_X)), TRUE);
    });
    Op().Then(ReadBox(strOnLeave));
    Op().Then([&](HWND hDlg) {
        // One message only, though the box itself took the focus from the next edit.
        strStillOpen = CaptionOf(hDlg);
        SetEditText(hDlg, IDC_PRINT_HEIGHT, L"3");
        SetEditText(hDlg, IDC_POS_X, L"-1"); // typed, focus not yet left
        machine.m_dZPosition = 12.3456;
        SendTimer(hDlg, kZRefreshTimer);
        zAndTyped.push_back(TextOf(hDlg, IDC_Z_POSITION));
        machine.m_dZPosition = 40;
        SendTimer(hDlg, 2);
        zAndTyped.push_back(TextOf(hDlg, IDC_Z_POSITION));
        zAndTyped.push_back(TextOf(hDlg, IDC_POS_X));
        Click(hDlg, IDC_CONFIRM_POSITION); // both do nothing while a length is outside its limits
        Click(hDlg, IDOK);
        SetEditText(hDlg, IDC_POS_X, L"0");
        Click(hDlg, IDOK);
    });
    EXPECT_EQ(1, Run());
    EXPECT_EQ((Texts{L"12.35", L"2.5", L"0", L"100", L"7.50"}), opened);
    EXPECT_EQ(Texts(5, L"mm"), labels);
    EXPECT_EQ((Texts{L"12.35", L"12.35", L"-1"}), zAndTyped);
    EXPECT_EQ(kNotANumber, strOnOk);
    EXPECT_EQ(kNotANumber, strOnLeave);
    EXPECT_EQ(L"Print confirm", strStillOpen);
    // The untouched material height goes back rounded; OK applies nothing.
    EXPECT_EQ((Calls{"Param(4080).SetDoubleValue(3,0)", "Param(4081).SetDoubleValue(12.35,0)"}),
              TakeChanges());
    EXPECT_EQ(0, NotPrintConfirm());
}

TEST_F(PrintConfirmTest,
       LeavingAnEditRestoresAValueOutsideItsLimitsAndConfirmPositionAppliesOnlyAfterAHeight) {
    Texts entered;
    Calls afterX, afterNothing, afterEntries;
    Op().Then([&](HWND hDlg) {
        EnterEditText(hDlg, IDC_POS_X, L"130", IDC_POS_Y);
        Click(hDlg, IDC_CONFIRM_POSITION);
        afterX = TakeChanges();
        Click(hDlg, IDC_CONFIRM_POSITION);
        afterNothing = TakeChanges();
        EnterEach(hDlg,
                  {{IDC_MATERIAL_HEIGHT, L"500"},
                   {IDC_MATERIAL_HEIGHT, L"500.01"},
                   {IDC_PRINT_HEIGHT, L"10"},
                   {IDC_PRINT_HEIGHT, L"10.5"},
                   {IDC_POS_X, L"0"},
                   {IDC_POS_X, L"-0.1"},
                   {IDC_POS_Y, L"1e6"},
                   {IDC_PRINT_HEIGHT, L"-1"}},
                  entered);
        Click(hDlg, IDC_CONFIRM_POSITION);
        afterEntries = TakeChanges();
        Click(hDlg, IDCANCEL);
    });
    EXPECT_EQ(2, Run()); // no message box came up
    EXPECT_EQ((Calls{"Param(4011).SetDoubleValue(130,0)", "Root.ConfirmPrintPosition"}), afterX);
    EXPECT_EQ((Calls{"Root.ConfirmPrintPosition"}), afterNothing);
    EXPECT_EQ((Texts{L"500", L"500", L"10", L"10", L"0", L"0", L"1e6", L"10"}), entered);
    EXPECT_EQ((Calls{"Param(4080).SetDoubleValue(10,0)", "Param(4081).SetDoubleValue(500,0)",
                     "Param(4011).SetDoubleValue(0,0)", "Param(4021).SetDoubleValue(1000000,0)",
                     "Root.ApplySettings(2,0,0)", "Root.ConfirmPrintPosition"}),
              afterEntries);
    // Cancel stores nothing more and takes nothing back.
    EXPECT_TRUE(TakeChanges().empty());
    EXPECT_EQ(10, Host(kParamPrintHeight));
    EXPECT_EQ(500, Host(kParamMaterialHeight));
}

TEST_F(PrintConfirmTest, NotTipIsWrittenOnOkAndOnEveryWayOfCancellingEvenPastTextThatIsNotANumber) {
    int nBeforeClosing = 0;
    std::wstring strMessage;
    Op().Then([&](HWND hDlg) {
        Click(hDlg, IDC_NOT_TIP);
        nBeforeClosing = NotPrintConfirm();
        SetFocusTo(hDlg, IDC_MATERIAL_HEIGHT);
        SetEditText(hDlg, IDC_MATERIAL_HEIGHT, L"x");
        PressKey(hDlg, VK_ESCAPE);
    });
    Op().Then(ReadBox(strMessage));
    EXPECT_EQ(2, Run()); // no second message while the dialog goes away
    EXPECT_EQ(-1, nBeforeClosing);
    EXPECT_EQ(kNotANumber, strMessage);
    EXPECT_EQ(1, NotPrintConfirm());

    Op().Then(CloseBox);
    EXPECT_EQ(2, Run());
    EXPECT_EQ(0, NotPrintConfirm());

    Op().Then([&](HWND hDlg) {
        Click(hDlg, IDC_NOT_TIP);
        PressKey(hDlg, VK_RETURN);
    });
    EXPECT_EQ(1, Run());
    EXPECT_EQ(1, NotPrintConfirm());
    // Not a confirmation switch of the module: the next print is confirmed again.
    EXPECT_TRUE(TakeChanges().empty());
}

TEST_F(PrintConfirmTest, InchesShowAndStoreMillimetresWithinThePhysicalLimits) {
    SetUnit(kUnitInch);
    session.SetLanguage(L"Chs");
    machine.Parameter(kParamMaterialHeight).m_dValue = 254;
    machine.Parameter(kParamPrintHeight).m_dValue = 2.54;
    machine.Parameter(kParamPrintPosX).m_dValue = 25.4;
    machine.m_dZPosition = 25.4;
    Texts shown, labels, entered;
    Op().Then([&](HWND hDlg) {
        shown = TextsOf(hDlg, kLengths);
        labels = TextsOf(hDlg, kUnitLabels);
        machine.m_dZPosition = 50.8;
        SendTimer(hDlg, kZRefreshTimer);
        shown.push_back(TextOf(hDlg, IDC_Z_POSITION));
        Click(hDlg, IDC_CONFIRM_POSITION);
        Click(hDlg, IDOK);
    });
    EXPECT_EQ(1, Run());
    EXPECT_EQ((Texts{L"10", L"0.1", L"1", L"3.94", L"1.00", L"2.00"}), shown);
    EXPECT_EQ(Texts(5, L"英寸"), labels);
    // 100 mm shows as 3.94 inch; untouched, it is not rounded into the host, and nothing needs applying.
    EXPECT_EQ((Calls{"Root.ConfirmPrintPosition"}), TakeChanges());
    EXPECT_EQ(100, Host(kParamPrintPosY));

    // 0.4 inch is 10.16 mm; 19.69 inch, the display of 500 mm, is taken as the limit itself.
    Op().Then([&](HWND hDlg) {
        EnterEach(hDlg,
                  {{IDC_PRINT_HEIGHT, L"0.4"},
                   {IDC_PRINT_HEIGHT, L"0.39"},
                   {IDC_MATERIAL_HEIGHT, L"19.7"},
                   {IDC_MATERIAL_HEIGHT, L"19.69"},
                   {IDC_POS_X, L"2"}},
                  entered);
        Click(hDlg, IDOK);
    });
    EXPECT_EQ(1, Run());
    EXPECT_EQ((Texts{L"0.1", L"0.39", L"10", L"19.69", L"2"}), entered);
    EXPECT_EQ((Calls{"Param(4080).SetDoubleValue(9.906,0)", "Param(4081).SetDoubleValue(500,0)",
                     "Param(4011).SetDoubleValue(50.8,0)"}),
              TakeChanges());
}

TEST_F(PrintConfirmTest, CentimetresStoreMillimetresAndAnUnknownUnitShowsMillimetresWithBlankLabels) {
    Texts cm, unknown;
    SetUnit(kUnitCentimetre);
    Op().Then([&](HWND hDlg) {
        cm = TextsOf(hDlg, {IDC_PRINT_HEIGHT_UNIT, IDC_PRINT_HEIGHT});
        EnterEach(hDlg, {{IDC_PRINT_HEIGHT, L"1.01"}, {IDC_PRINT_HEIGHT, L"0.75"}}, cm);
        Click(hDlg, IDOK);
    });
    EXPECT_EQ(1, Run());
    EXPECT_EQ((Texts{L"cm", L"0.25", L"0.25", L"0.75"}), cm); // 1.01 cm is 10.1 mm: refused
    EXPECT_EQ((Calls{"Param(4080).SetDoubleValue(7.5,0)"}), TakeChanges());

    SetUnit(3);
    Op().Then([&](HWND hDlg) {
        unknown = TextsOf(hDlg, kUnitLabels);
        unknown.push_back(TextOf(hDlg, IDC_MATERIAL_HEIGHT));
        EnterEach(hDlg, {{IDC_MATERIAL_HEIGHT, L"500.01"}, {IDC_MATERIAL_HEIGHT, L"40"}}, unknown);
        Click(hDlg, IDOK);
    });
    EXPECT_EQ(1, Run());
    EXPECT_EQ((Texts{L"", L"", L"", L"", L"", L"12.5", L"12.5", L"40"}), unknown);
    EXPECT_EQ((Calls{"Param(4081).SetDoubleValue(40,0)"}), TakeChanges());
}

// The length rules on their own: the cases a dialog does not reach.
TEST(PrintConfirmRules, LengthsBeyondTheIntegerRangeAndLongTranslatedKeysComeOutWhole) {
    EXPECT_EQ(3e10, ConvertToUnit(3e10, kUnitMillimetre)); // a 32-bit cut would overflow
    std::wstring strKey(1500, L'z');
    EXPECT_EQ(strKey + L" 0 mm", FormatZLineAtStart(strKey, 0));
    EXPECT_EQ(strKey + L" -3.50 mm  ", FormatZLine(strKey, -3.5));
    EXPECT_EQ(L"%s 1.00 mm  ", FormatZLine(L"%s", 1)); // a key is never used as a format
}

} // namespace

namespace {

TEST_F(PrintConfirmTest, TheZPositionFollowsTheHostOnTheDialogsOwnTimer) {
    // No timer message is sent here: only the timer the dialog armed can bring the new position in.
    Op().Then([&](HWND) { machine.m_dZPosition = 33.25; });
    Op().WaitUntil([](HWND hDlg) { return TextOf(hDlg, IDC_Z_POSITION) == L"33.25"; });
    Op().Then([](HWND hDlg) { Click(hDlg, IDOK); });
    EXPECT_EQ(1, Run());
}

} // namespace
