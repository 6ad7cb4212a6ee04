// The print confirmation with heights and position, through ConfirmPrint with selector 1: what it shows,
// what it refuses, and what it writes back to the host and its files.
#include "Plugin.h"
#include "dialogs/print/PrintConfirmRules.h"
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
        bExisted ? WriteTextFile(strPath, strOld) : void(::DeleteFileW(strPath.c_str()));
        if (bMadeDir)
            ::RemoveDirectoryW(strDir.c_str());
    }
    std::wstring strPath, strDir;
    bool bMadeDir, bExisted;
    std::string strOld;
};

// Material height, print height, X, Y, Z.
const std::vector<int> kLengths = {IDC_MATERIAL_HEIGHT, IDC_PRINT_HEIGHT, IDC_POS_X, IDC_POS_Y,
                                   IDC_Z_POSITION};
Texts TextsOf(HWND hDlg, const std::vector<int>& ids) {
    Texts texts;
    for (int nId : ids)
        texts.push_back(TextOf(hDlg, nId));
    return texts;
}

// Types each text into its edit and leaves it; adds what the edit shows afterwards to shown.
void EnterEach(HWND hDlg, std::initializer_list<std::pair<int, const wchar_t*>> entries, Texts& shown) {
    for (const auto& [nId, pszText] : entries) {
        EnterEditText(hDlg, nId, pszText, IDC_NOT_TIP);
        shown.push_back(TextOf(hDlg, nId));
    }
}

Operator::Step ReadBox(std::wstring& strText) {
    return [&strText](HWND hBox) {
        strText = MessageBoxText(hBox);
        Click(hBox, IDOK);
    };
}

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
    int Run(std::vector<Operator::Step> steps) {
        return Drive(std::move(steps), [&] { return session->ConfirmPrint(1); });
    }
    int NotPrintConfirm() {
        return static_cast<int>(
            ::GetPrivateProfileIntW(L"PRINT", L"NOT_PRINT_CONFIRM", -1, temp.strPath.c_str()));
    }
    // What the dialog changed in the host since the last call, in order.
    Calls TakeChanges() {
        Calls changes;
        for (const std::string& s : machine.m_log.m_calls)
            if (s.find("SetDoubleValue") != std::string::npos || s.rfind("Root.ApplySettings", 0) == 0 ||
                s == "Root.ConfirmPrintPosition")
                changes.push_back(s);
        machine.m_log.Clear();
        return changes;
    }

    PluginSession session;
    SimMachine& machine = *session.m_pMachine;
    KeptFile project{L"Project.ini"}, temp{L"Data\\Temp.ini"};
};

TEST_F(PrintConfirmTest, OkWritesTheShownRoundingBackOnlyOnceEachLengthIsANumberInItsLimitsAndZFollows) {
    machine.Parameter(kParamMaterialHeight).m_dValue = 12.345;
    Texts opened, later;
    std::wstring strOnOk, strOnLeave;
    EXPECT_EQ(1, Run({[&](HWND hDlg) {
                          opened = TextsOf(hDlg, kLengths);
                          SetEditText(hDlg, IDC_PRINT_HEIGHT, L"12,5x");
                          ClickAsync(hDlg, IDOK);
                      },
                      ReadBox(strOnOk),
                      [&](HWND hDlg) {
                          SetEditText(hDlg, IDC_PRINT_HEIGHT, L"abc");
                          // Through the queue, so that the box it opens is seen by the next step.
                          ::PostMessageW(hDlg, WM_NEXTDLGCTL,
                                         reinterpret_cast<WPARAM>(::GetDlgItem(hDlg, IDC_POS_X)), TRUE);
                      },
                      ReadBox(strOnLeave),
                      [&](HWND hDlg) {
                          // One message only, though the box itself took the focus from the next edit.
                          later.push_back(CaptionOf(hDlg));
                          SetEditText(hDlg, IDC_PRINT_HEIGHT, L"3");
                          SetEditText(hDlg, IDC_POS_X, L"-1"); // typed, focus not yet left
                          later.push_back(TextOf(hDlg, IDC_POS_X));
                          Click(hDlg, IDC_CONFIRM_POSITION); // both do nothing while X is out of its limits
                          Click(hDlg, IDOK);
                          SetEditText(hDlg, IDC_POS_X, L"0");
                          Click(hDlg, IDOK);
                      }}));
    EXPECT_EQ((Texts{L"12.35", L"2.5", L"0", L"100", L"7.50"}), opened);
    EXPECT_EQ((Texts{L"Print confirm", L"-1"}), later);
    EXPECT_EQ(L"Please enter a number.", strOnOk);
    EXPECT_EQ(strOnOk, strOnLeave);
    // The untouched material height goes back rounded; OK applies nothing.
    EXPECT_EQ((Calls{"Param(4080).SetDoubleValue(3,0)", "Param(4081).SetDoubleValue(12.35,0)"}),
              TakeChanges());
    EXPECT_EQ(0, NotPrintConfirm());
}

TEST_F(PrintConfirmTest, LeavingAnEditRestoresAValueOutOfLimitsAndConfirmPositionAppliesOnlyAfterAHeight) {
    Texts entered;
    Calls afterX, afterHeights;
    EXPECT_EQ(2, Run({[&](HWND hDlg) {
                  EnterEditText(hDlg, IDC_POS_X, L"130", IDC_POS_Y);
                  Click(hDlg, IDC_CONFIRM_POSITION);
                  afterX = TakeChanges();
                  EnterEach(hDlg, {{IDC_MATERIAL_HEIGHT, L"500.01"}, {IDC_PRINT_HEIGHT, L"10"}}, entered);
                  Click(hDlg, IDC_CONFIRM_POSITION);
                  afterHeights = TakeChanges();
                  Click(hDlg, IDCANCEL);
              }}));
    EXPECT_EQ((Calls{"Param(4011).SetDoubleValue(130,0)", "Root.ConfirmPrintPosition"}), afterX);
    EXPECT_EQ((Texts{L"12.5", L"10"}), entered);
    EXPECT_EQ(
        (Calls{"Param(4080).SetDoubleValue(10,0)", "Root.ApplySettings(2,0,0)", "Root.ConfirmPrintPosition"}),
        afterHeights);
    EXPECT_TRUE(TakeChanges().empty()); // Cancel stores nothing more and takes nothing back
    EXPECT_EQ(10, machine.Parameter(kParamPrintHeight).m_dValue);
}

TEST_F(PrintConfirmTest, NotTipIsWrittenOnOkAndOnEveryWayOfCancellingEvenPastTextThatIsNotANumber) {
    int nBeforeClosing = 0;
    std::wstring strMessage;
    EXPECT_EQ(2, Run({[&](HWND hDlg) {
                          Click(hDlg, IDC_NOT_TIP);
                          nBeforeClosing = NotPrintConfirm();
                          SetFocusTo(hDlg, IDC_MATERIAL_HEIGHT);
                          SetEditText(hDlg, IDC_MATERIAL_HEIGHT, L"x");
                          PressKey(hDlg, VK_ESCAPE);
                      },
                      ReadBox(strMessage)})); // and no second message while the dialog goes away
    EXPECT_EQ(-1, nBeforeClosing);
    EXPECT_EQ(1, NotPrintConfirm());
    EXPECT_EQ(2, Run({CloseBox}));
    EXPECT_EQ(0, NotPrintConfirm());
    EXPECT_EQ(1, Run({[&](HWND hDlg) {
                  Click(hDlg, IDC_NOT_TIP);
                  PressKey(hDlg, VK_RETURN);
              }}));
    EXPECT_EQ(1, NotPrintConfirm());
    // Not a confirmation switch of the module: the host is told nothing.
    EXPECT_TRUE(TakeChanges().empty());
}

TEST_F(PrintConfirmTest, TheProjectsUnitShowsEveryLengthInItAndStoresMillimetres) {
    WriteTextFile(project.strPath, "[UNIT]\r\nUNIT_SEL=" + std::to_string(kUnitInch) + "\r\n");
    session.SetLanguage(L"Chs");
    machine.Parameter(kParamMaterialHeight).m_dValue = 254;
    machine.m_dZPosition = 25.4;
    Texts shown;
    EXPECT_EQ(1, Run({[&](HWND hDlg) {
                  shown = TextsOf(hDlg, kLengths);
                  shown.push_back(TextOf(hDlg, IDC_Z_POSITION_UNIT));
                  EnterEach(hDlg, {{IDC_PRINT_HEIGHT, L"0.39"}}, shown);
                  Click(hDlg, IDOK);
              }}));
    EXPECT_EQ((Texts{L"10", L"0.1", L"0", L"3.94", L"1.00", L"英寸", L"0.39"}), shown);
    // 100 mm shows as 3.94 inch; untouched, it is not rounded into the host.
    EXPECT_EQ((Calls{"Param(4080).SetDoubleValue(9.906,0)"}), TakeChanges());
    EXPECT_EQ(100, machine.Parameter(kParamPrintPosY).m_dValue);
}

TEST_F(PrintConfirmTest, TheZPositionFollowsTheHostOnTheDialogsOwnTimer) {
    Operator op; // no timer message is sent: only the timer the dialog armed brings the position in
    op.Then([&](HWND) { machine.m_dZPosition = 33.25; });
    op.WaitUntil([](HWND hDlg) { return TextOf(hDlg, IDC_Z_POSITION) == L"33.25"; });
    op.Then([](HWND hDlg) { Click(hDlg, IDOK); });
    op.Start();
    EXPECT_EQ(1, session->ConfirmPrint(1));
    EXPECT_TRUE(op.AllStepsDone() && !op.m_bTimedOut);
}

} // namespace
