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
Texts Lengths(HWND hDlg) {
    Texts texts;
    for (int nId : {IDC_MATERIAL_HEIGHT, IDC_PRINT_HEIGHT, IDC_POS_X, IDC_POS_Y, IDC_Z_POSITION})
        texts.push_back(TextOf(hDlg, nId));
    return texts;
}
std::wstring Enter(HWND hDlg, int nId, const wchar_t* pszText) {
    EnterEditText(hDlg, nId, pszText, IDC_NOT_TIP);
    return TextOf(hDlg, nId);
}
Operator::Step NotANumberBox() {
    return [](HWND hBox) {
        EXPECT_EQ(L"Please enter a number.", MessageBoxText(hBox));
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

TEST_F(PrintConfirmTest, OkWritesTheShownRoundingBackOnlyOnceEachLengthIsANumberInItsLimits) {
    machine.Parameter(kParamMaterialHeight).m_dValue = 12.345;
    EXPECT_EQ(1, Run({[&](HWND hDlg) {
                          EXPECT_EQ((Texts{L"12.35", L"2.5", L"0", L"100", L"7.50"}), Lengths(hDlg));
                          SetEditText(hDlg, IDC_PRINT_HEIGHT, L"12,5x");
                          ClickAsync(hDlg, IDOK);
                      },
                      NotANumberBox(),
                      [&](HWND hDlg) {
                          SetEditText(hDlg, IDC_PRINT_HEIGHT, L"abc");
                          // Through the queue, so that the box it opens is seen by the next step.
                          ::PostMessageW(hDlg, WM_NEXTDLGCTL,
                                         reinterpret_cast<WPARAM>(::GetDlgItem(hDlg, IDC_POS_X)), TRUE);
                      },
                      NotANumberBox(),
                      [&](HWND hDlg) {
                          // One message only, though the box itself took the focus from the next edit.
                          EXPECT_EQ(L"Print confirm", CaptionOf(hDlg));
                          SetEditText(hDlg, IDC_PRINT_HEIGHT, L"3");
                          SetEditText(hDlg, IDC_POS_X, L"-1"); // typed, focus not yet left
                          Click(hDlg, IDC_CONFIRM_POSITION);   // both do nothing while X is out of its limits
                          Click(hDlg, IDOK);
                          EXPECT_EQ(L"-1", TextOf(hDlg, IDC_POS_X));
                          SetEditText(hDlg, IDC_POS_X, L"0");
                          Click(hDlg, IDOK);
                      }}));
    // The untouched material height goes back rounded; OK applies nothing.
    EXPECT_EQ((Calls{"Param(4080).SetDoubleValue(3,0)", "Param(4081).SetDoubleValue(12.35,0)"}),
              TakeChanges());
    EXPECT_EQ(0, NotPrintConfirm());
}

TEST_F(PrintConfirmTest, ConfirmPositionAppliesOnlyAfterAHeightAndNotTipIsWrittenOnEveryWayOut) {
    EXPECT_EQ(2, Run({[&](HWND hDlg) {
                          EnterEditText(hDlg, IDC_POS_X, L"130", IDC_POS_Y);
                          Click(hDlg, IDC_CONFIRM_POSITION);
                          EXPECT_EQ((Calls{"Param(4011).SetDoubleValue(130,0)", "Root.ConfirmPrintPosition"}),
                                    TakeChanges());
                          // Leaving an edit restores a value out of its limits.
                          EXPECT_EQ(L"12.5", Enter(hDlg, IDC_MATERIAL_HEIGHT, L"500.01"));
                          EXPECT_EQ(L"10", Enter(hDlg, IDC_PRINT_HEIGHT, L"10"));
                          Click(hDlg, IDC_CONFIRM_POSITION);
                          EXPECT_EQ((Calls{"Param(4080).SetDoubleValue(10,0)", "Root.ApplySettings(2,0,0)",
                                           "Root.ConfirmPrintPosition"}),
                                    TakeChanges());
                          Click(hDlg, IDC_NOT_TIP);
                          EXPECT_EQ(-1, NotPrintConfirm()); // only on closing
                          SetFocusTo(hDlg, IDC_MATERIAL_HEIGHT);
                          SetEditText(hDlg, IDC_MATERIAL_HEIGHT, L"x");
                          PressKey(hDlg, VK_ESCAPE);
                      },
                      NotANumberBox()})); // and no second message while the dialog goes away
    EXPECT_EQ(1, NotPrintConfirm());
    EXPECT_EQ(2, Run({CloseBox}));
    EXPECT_EQ(0, NotPrintConfirm());
    EXPECT_EQ(1, Run({[&](HWND hDlg) {
                  Click(hDlg, IDC_NOT_TIP);
                  PressKey(hDlg, VK_RETURN);
              }}));
    EXPECT_EQ(1, NotPrintConfirm());
    // Cancel stores nothing more and takes nothing back; "not tip" is no switch the host is told of.
    EXPECT_TRUE(TakeChanges().empty());
    EXPECT_EQ(10, machine.Parameter(kParamPrintHeight).m_dValue);
}

TEST_F(PrintConfirmTest, TheProjectsUnitShowsEveryLengthInItAndStoresMillimetresAndZFollowsOnItsOwnTimer) {
    WriteTextFile(project.strPath, "[UNIT]\r\nUNIT_SEL=" + std::to_string(kUnitInch) + "\r\n");
    session.SetLanguage(L"Chs");
    machine.Parameter(kParamMaterialHeight).m_dValue = 254;
    machine.m_dZPosition = 25.4;
    Operator op; // no timer message is sent: only the timer the dialog armed brings the position in
    op.Then([&](HWND hDlg) {
        EXPECT_EQ((Texts{L"10", L"0.1", L"0", L"3.94", L"1.00"}), Lengths(hDlg));
        EXPECT_EQ(L"英寸", TextOf(hDlg, IDC_Z_POSITION_UNIT));
        EXPECT_EQ(L"0.39", Enter(hDlg, IDC_PRINT_HEIGHT, L"0.39"));
        machine.m_dZPosition = 50.8;
    });
    op.WaitUntil([](HWND hDlg) { return TextOf(hDlg, IDC_Z_POSITION) == L"2.00"; });
    op.Then([](HWND hDlg) { Click(hDlg, IDOK); });
    op.Start();
    EXPECT_EQ(1, session->ConfirmPrint(1));
    EXPECT_TRUE(op.AllStepsDone() && !op.m_bTimedOut);
    // 100 mm shows as 3.94 inch; untouched, it is not rounded into the host.
    EXPECT_EQ((Calls{"Param(4080).SetDoubleValue(9.906,0)"}), TakeChanges());
    EXPECT_EQ(100, machine.Parameter(kParamPrintPosY).m_dValue);
}

} // namespace
