// The print confirmation with heights and position, driven through ConfirmPrint with selector 1, and the
// length rules behind it.
#include <gtest/gtest.h>

#include <cmath>

#include "Plugin.h"
#include "ScriptedOperator.h"
#include "../dialogs/print/PrintConfirmRules.h"
#include "../res/resource.h"

namespace {

const int kUnitLabelIds[] = {IDC_MATERIAL_HEIGHT_UNIT, IDC_PRINT_HEIGHT_UNIT, IDC_Z_POSITION_UNIT,
                             IDC_POS_X_UNIT, IDC_POS_Y_UNIT};

// The host's files the dialog uses, set up per test; what was there before comes back afterwards.
class HostFiles {
public:
    HostFiles() {
        m_bMadeData = ::CreateDirectoryW((TestExeDir() + L"Data").c_str(), nullptr) != FALSE;
        for (auto& file : m_files) {
            file.bExisted = ::GetFileAttributesW(file.strPath.c_str()) != INVALID_FILE_ATTRIBUTES;
            file.strOld = file.bExisted ? ReadTextFile(file.strPath) : std::string();
            ::DeleteFileW(file.strPath.c_str());
        }
    }
    ~HostFiles() {
        for (auto& file : m_files) {
            if (file.bExisted)
                WriteTextFile(file.strPath, file.strOld);
            else
                ::DeleteFileW(file.strPath.c_str());
        }
        if (m_bMadeData)
            ::RemoveDirectoryW((TestExeDir() + L"Data").c_str());
    }
    HostFiles(const HostFiles&) = delete;
    HostFiles& operator=(const HostFiles&) = delete;
    const std::wstring& Project() const { return m_files[0].strPath; }
    const std::wstring& Temp() const { return m_files[1].strPath; }

private:
    struct File {
        std::wstring strPath;
        bool bExisted;
        std::string strOld;
    };
    bool m_bMadeData = false;
    File m_files[2] = {{TestExeDir() + L"Project.ini", false, {}},
                       {TestExeDir() + L"Data\\Temp.ini", false, {}}};
};

class PrintConfirmTest : public ::testing::Test {
protected:
    void SetUp() override {
        SimMachine& machine = *session.m_pMachine;
        machine.m_printer.Parameter(kParamPrintConfirm).m_nValue = 1;
        machine.Parameter(kParamMaterialHeight).m_dValue = 12.5;
        machine.Parameter(kParamPrintHeight).m_dValue = 2.5;
        machine.Parameter(kParamPrintPosX).m_dValue = 0;
        machine.Parameter(kParamPrintPosY).m_dValue = 100;
        machine.m_dZPosition = 7.5;
    }

    void SetUnit(int nUnit) {
        WriteTextFile(files.Project(), "[UNIT]\r\nUNIT_SEL=" + std::to_string(nUnit) + "\r\n");
    }
    int NotPrintConfirm() {
        return static_cast<int>(
            ::GetPrivateProfileIntW(L"PRINT", L"NOT_PRINT_CONFIRM", -1, files.Temp().c_str()));
    }
    double Host(int32_t nId) { return session.m_pMachine->Parameter(nId).m_dValue; }
    // What the dialog changed in the host, in order.
    std::vector<std::string> Changes() {
        std::vector<std::string> changes;
        for (const std::string& strCall : session.m_pMachine->m_log.m_calls) {
            if (strCall.find("SetDoubleValue") != std::string::npos ||
                strCall.rfind("Root.ApplySettings", 0) == 0 || strCall == "Root.ConfirmPrintPosition")
                changes.push_back(strCall);
        }
        return changes;
    }

    PluginSession session;
    HostFiles files;
};

// Leaves an edit through the queue, so that a message box it opens is seen by the next step.
void MoveFocusAsync(HWND hDlg, int nId) {
    ::PostMessageW(hDlg, WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(::GetDlgItem(hDlg, nId)), TRUE);
}

TEST_F(PrintConfirmTest, ShowsHostLengthsToTwoDecimalsAndOkWritesTheRoundedValueBack) {
    session.m_pMachine->Parameter(kParamMaterialHeight).m_dValue = 12.345;
    std::wstring strCaption;
    std::vector<std::wstring> shown, labels;
    Operator op;
    op.Then([&](HWND hDlg) {
        strCaption = CaptionOf(hDlg);
        for (int nId : {IDC_MATERIAL_HEIGHT, IDC_PRINT_HEIGHT, IDC_POS_X, IDC_POS_Y, IDC_Z_POSITION})
            shown.push_back(TextOf(hDlg, nId));
        for (int nId : kUnitLabelIds)
            labels.push_back(TextOf(hDlg, nId));
        Click(hDlg, IDOK);
    });
    op.Start();
    EXPECT_EQ(1, session->ConfirmPrint(1));

    EXPECT_EQ(L"Print confirm", strCaption);
    EXPECT_EQ((std::vector<std::wstring>{L"12.35", L"2.5", L"0", L"100", L"7.50"}), shown);
    EXPECT_EQ(std::vector<std::wstring>(5, L"mm"), labels);
    // No project file: millimetres. Only the rounded height differs from the host; OK applies nothing.
    EXPECT_EQ((std::vector<std::string>{"Param(4081).SetDoubleValue(12.35,0)"}), Changes());
    EXPECT_EQ(0, NotPrintConfirm());
}

TEST_F(PrintConfirmTest, LeavingAnEditPutsAValueOutsideItsLimitsBackSilently) {
    std::vector<std::wstring> shown;
    Operator op;
    op.Then([&](HWND hDlg) {
        const struct {
            int nId;
            const wchar_t* pszText;
        } entries[] = {{IDC_MATERIAL_HEIGHT, L"500"},
                       {IDC_MATERIAL_HEIGHT, L"500.01"},
                       {IDC_PRINT_HEIGHT, L"10"},
                       {IDC_PRINT_HEIGHT, L"10.5"},
                       {IDC_POS_X, L"0"},
                       {IDC_POS_X, L"-0.1"},
                       {IDC_POS_Y, L"1e6"},
                       {IDC_PRINT_HEIGHT, L"-1"}};
        for (const auto& entry : entries) {
            EnterEditText(hDlg, entry.nId, entry.pszText, IDC_NOT_TIP);
            shown.push_back(TextOf(hDlg, entry.nId));
        }
        Click(hDlg, IDOK);
    });
    op.Start();
    EXPECT_EQ(1, session->ConfirmPrint(1));
    EXPECT_FALSE(op.m_bTimedOut); // no message box came up
    EXPECT_EQ((std::vector<std::wstring>{L"500", L"500", L"10", L"10", L"0", L"0", L"1e6", L"10"}), shown);
    EXPECT_EQ(
        (std::vector<std::string>{"Param(4080).SetDoubleValue(10,0)", "Param(4081).SetDoubleValue(500,0)",
                                  "Param(4021).SetDoubleValue(1000000,0)"}),
        Changes());
}

TEST_F(PrintConfirmTest, OkAndConfirmPositionDoNothingWhileALengthIsOutsideItsLimits) {
    std::wstring strStillOpen;
    Operator op;
    op.Then([&](HWND hDlg) {
        SetEditText(hDlg, IDC_PRINT_HEIGHT, L"10.5"); // typed, focus not yet left
        SetEditText(hDlg, IDC_POS_X, L"20");
        Click(hDlg, IDC_CONFIRM_POSITION);
        Click(hDlg, IDOK);
    });
    op.Then([&](HWND hDlg) {
        strStillOpen = CaptionOf(hDlg);
        Click(hDlg, IDCANCEL);
    });
    op.Start();
    EXPECT_EQ(2, session->ConfirmPrint(1));
    EXPECT_EQ(L"Print confirm", strStillOpen);
    EXPECT_TRUE(Changes().empty());
    EXPECT_EQ(0, NotPrintConfirm());
}

TEST_F(PrintConfirmTest, TextThatIsNotANumberIsRefusedWithTheStandardMessageAndNothingIsStored) {
    std::wstring strOnOk, strOnLeave, strAfterBoxes;
    Operator op;
    op.Then([&](HWND hDlg) {
        SetEditText(hDlg, IDC_MATERIAL_HEIGHT, L"12,5x");
        ClickAsync(hDlg, IDOK);
    });
    op.Then([&](HWND hBox) {
        strOnOk = MessageBoxText(hBox);
        Click(hBox, IDOK);
    });
    op.Then([&](HWND hDlg) {
        SetEditText(hDlg, IDC_MATERIAL_HEIGHT, L"13");
        SetFocusTo(hDlg, IDC_PRINT_HEIGHT);
        SetEditText(hDlg, IDC_PRINT_HEIGHT, L"abc");
        MoveFocusAsync(hDlg, IDC_POS_X);
    });
    op.Then([&](HWND hBox) {
        strOnLeave = MessageBoxText(hBox);
        Click(hBox, IDOK);
    });
    op.Then([&](HWND hDlg) {
        // One message only, though the box itself took the focus from the next edit.
        strAfterBoxes = CaptionOf(hDlg);
        SetEditText(hDlg, IDC_PRINT_HEIGHT, L"3");
        Click(hDlg, IDOK);
    });
    op.Start();
    EXPECT_EQ(1, session->ConfirmPrint(1));
    EXPECT_EQ(L"Please enter a number.", strOnOk);
    EXPECT_EQ(L"Please enter a number.", strOnLeave);
    EXPECT_EQ(L"Print confirm", strAfterBoxes);
    EXPECT_EQ(
        (std::vector<std::string>{"Param(4080).SetDoubleValue(3,0)", "Param(4081).SetDoubleValue(13,0)"}),
        Changes());
}

TEST_F(PrintConfirmTest, CancelWithTextThatIsNotANumberKeepsNotTipAndClosesAfterOneMessage) {
    std::wstring strMessage;
    Operator op;
    op.Then([&](HWND hDlg) {
        Click(hDlg, IDC_NOT_TIP);
        SetFocusTo(hDlg, IDC_MATERIAL_HEIGHT);
        SetEditText(hDlg, IDC_MATERIAL_HEIGHT, L"x");
        PressKey(hDlg, VK_ESCAPE);
    });
    op.Then([&](HWND hBox) {
        strMessage = MessageBoxText(hBox);
        Click(hBox, IDOK);
    });
    op.Start();
    EXPECT_EQ(2, session->ConfirmPrint(1));
    EXPECT_FALSE(op.m_bTimedOut); // no second message while the dialog goes away
    EXPECT_EQ(L"Please enter a number.", strMessage);
    EXPECT_EQ(1, NotPrintConfirm());
    EXPECT_TRUE(Changes().empty());
}

TEST_F(PrintConfirmTest, ConfirmPositionStoresWhatDiffersAndAppliesOnlyAfterAHeightChange) {
    SimMachine& machine = *session.m_pMachine;
    std::vector<std::string> afterX, afterNothing, afterHeight;
    Operator op;
    op.Then([&](HWND hDlg) {
        EnterEditText(hDlg, IDC_POS_X, L"130", IDC_POS_Y);
        Click(hDlg, IDC_CONFIRM_POSITION);
        afterX = Changes();
        machine.m_log.Clear();
        Click(hDlg, IDC_CONFIRM_POSITION);
        afterNothing = Changes();
        machine.m_log.Clear();
        EnterEditText(hDlg, IDC_PRINT_HEIGHT, L"3", IDC_POS_Y);
        Click(hDlg, IDC_CONFIRM_POSITION);
        afterHeight = Changes();
        machine.m_log.Clear();
        Click(hDlg, IDCANCEL);
    });
    op.Start();
    EXPECT_EQ(2, session->ConfirmPrint(1));
    EXPECT_EQ((std::vector<std::string>{"Param(4011).SetDoubleValue(130,0)", "Root.ConfirmPrintPosition"}),
              afterX);
    EXPECT_EQ((std::vector<std::string>{"Root.ConfirmPrintPosition"}), afterNothing);
    EXPECT_EQ((std::vector<std::string>{"Param(4080).SetDoubleValue(3,0)", "Root.ApplySettings(2,0,0)",
                                        "Root.ConfirmPrintPosition"}),
              afterHeight);
    // Cancel stores nothing more and takes nothing back.
    EXPECT_TRUE(Changes().empty());
    EXPECT_EQ(130, Host(kParamPrintPosX));
    EXPECT_EQ(3, Host(kParamPrintHeight));
}

TEST_F(PrintConfirmTest, NotTipIsWrittenOnOkAndOnEveryWayOfCancellingOnly) {
    int nBeforeClosing = 0;
    Operator tickAndClose;
    tickAndClose.Then([&](HWND hDlg) {
        Click(hDlg, IDC_NOT_TIP);
        nBeforeClosing = NotPrintConfirm();
        CloseBox(hDlg);
    });
    tickAndClose.Start();
    EXPECT_EQ(2, session->ConfirmPrint(1));
    EXPECT_EQ(-1, nBeforeClosing);
    EXPECT_EQ(1, NotPrintConfirm());

    Operator escape;
    escape.Then([&](HWND hDlg) { PressKey(hDlg, VK_ESCAPE); });
    escape.Start();
    EXPECT_EQ(2, session->ConfirmPrint(1));
    EXPECT_EQ(0, NotPrintConfirm());

    Operator tickAndOk;
    tickAndOk.Then([&](HWND hDlg) {
        Click(hDlg, IDC_NOT_TIP);
        PressKey(hDlg, VK_RETURN);
    });
    tickAndOk.Start();
    EXPECT_EQ(1, session->ConfirmPrint(1));
    EXPECT_EQ(1, NotPrintConfirm());
    // Not a confirmation switch of the module: the next print is confirmed again.
    EXPECT_TRUE(Changes().empty());
}

TEST_F(PrintConfirmTest, ZFieldFollowsTheAxisOnTimerOneAlsoWhileAnEditIsBeingTyped) {
    SimMachine& machine = *session.m_pMachine;
    std::vector<std::wstring> zShown;
    std::wstring strTyped;
    Operator op;
    op.Then([&](HWND hDlg) {
        SetFocusTo(hDlg, IDC_MATERIAL_HEIGHT);
        SetEditText(hDlg, IDC_MATERIAL_HEIGHT, L"77");
        machine.m_dZPosition = 12.3456;
        SendTimer(hDlg, 1);
        zShown.push_back(TextOf(hDlg, IDC_Z_POSITION));
        machine.m_dZPosition = 12.3496;
        SendTimer(hDlg, 1);
        zShown.push_back(TextOf(hDlg, IDC_Z_POSITION));
        machine.m_dZPosition = 40;
        SendTimer(hDlg, 2);
        zShown.push_back(TextOf(hDlg, IDC_Z_POSITION));
        strTyped = TextOf(hDlg, IDC_MATERIAL_HEIGHT);
        Click(hDlg, IDCANCEL);
    });
    op.Start();
    EXPECT_EQ(2, session->ConfirmPrint(1));
    EXPECT_EQ((std::vector<std::wstring>{L"12.35", L"12.35", L"12.35"}), zShown);
    EXPECT_EQ(L"77", strTyped);
    EXPECT_TRUE(Changes().empty());
}

TEST_F(PrintConfirmTest, InchesShowAndStoreMillimetres) {
    SetUnit(kUnitInch);
    session.SetLanguage(L"Chs");
    SimMachine& machine = *session.m_pMachine;
    machine.Parameter(kParamMaterialHeight).m_dValue = 254;
    machine.Parameter(kParamPrintHeight).m_dValue = 2.54;
    machine.Parameter(kParamPrintPosX).m_dValue = 25.4;
    machine.m_dZPosition = 25.4;
    std::vector<std::wstring> shown, labels, entered;
    std::wstring strZMoved;
    Operator untouched;
    untouched.Then([&](HWND hDlg) {
        for (int nId : {IDC_MATERIAL_HEIGHT, IDC_PRINT_HEIGHT, IDC_POS_X, IDC_POS_Y, IDC_Z_POSITION})
            shown.push_back(TextOf(hDlg, nId));
        for (int nId : kUnitLabelIds)
            labels.push_back(TextOf(hDlg, nId));
        machine.m_dZPosition = 50.8;
        SendTimer(hDlg, 1);
        strZMoved = TextOf(hDlg, IDC_Z_POSITION);
        Click(hDlg, IDOK);
    });
    untouched.Start();
    EXPECT_EQ(1, session->ConfirmPrint(1));
    EXPECT_EQ((std::vector<std::wstring>{L"10", L"0.1", L"1", L"3.94", L"1.00"}), shown);
    EXPECT_EQ(std::vector<std::wstring>(5, L"英寸"), labels);
    EXPECT_EQ(L"2.00", strZMoved);
    // 100 mm shows as 3.94 inch; only that rounded value goes back, in millimetres.
    EXPECT_EQ((std::vector<std::string>{"Param(4021).SetDoubleValue(100.076,0)"}), Changes());

    // The limits hold for the physical length: 0.4 inch is 10.16 mm; 19.69 inch, the display of 500 mm,
    // is taken as the limit itself.
    machine.m_log.Clear();
    Operator edited;
    edited.Then([&](HWND hDlg) {
        const struct {
            int nId;
            const wchar_t* pszText;
        } entries[] = {{IDC_PRINT_HEIGHT, L"0.4"},
                       {IDC_PRINT_HEIGHT, L"0.39"},
                       {IDC_MATERIAL_HEIGHT, L"19.7"},
                       {IDC_MATERIAL_HEIGHT, L"19.69"},
                       {IDC_POS_X, L"2"}};
        for (const auto& entry : entries) {
            EnterEditText(hDlg, entry.nId, entry.pszText, IDC_NOT_TIP);
            entered.push_back(TextOf(hDlg, entry.nId));
        }
        Click(hDlg, IDOK);
    });
    edited.Start();
    EXPECT_EQ(1, session->ConfirmPrint(1));
    EXPECT_EQ((std::vector<std::wstring>{L"0.1", L"0.39", L"10", L"19.69", L"2"}), entered);
    EXPECT_EQ(
        (std::vector<std::string>{"Param(4080).SetDoubleValue(9.906,0)", "Param(4081).SetDoubleValue(500,0)",
                                  "Param(4011).SetDoubleValue(50.8,0)"}),
        Changes());
}

TEST_F(PrintConfirmTest, CentimetresStoreMillimetres) {
    SetUnit(kUnitCentimetre);
    std::wstring strShown, strLabel;
    Operator op;
    op.Then([&](HWND hDlg) {
        strShown = TextOf(hDlg, IDC_PRINT_HEIGHT);
        strLabel = TextOf(hDlg, IDC_PRINT_HEIGHT_UNIT);
        EnterEditText(hDlg, IDC_PRINT_HEIGHT, L"1.01", IDC_POS_X); // 10.1 mm: refused
        EnterEditText(hDlg, IDC_PRINT_HEIGHT, L"0.75", IDC_POS_X);
        Click(hDlg, IDOK);
    });
    op.Start();
    EXPECT_EQ(1, session->ConfirmPrint(1));
    EXPECT_EQ(L"0.25", strShown);
    EXPECT_EQ(L"cm", strLabel);
    EXPECT_EQ((std::vector<std::string>{"Param(4080).SetDoubleValue(7.5,0)"}), Changes());
}

TEST_F(PrintConfirmTest, AnUnknownUnitBlanksTheLabelsAndShowsMillimetres) {
    SetUnit(3);
    std::wstring strShown;
    std::vector<std::wstring> labels;
    Operator op;
    op.Then([&](HWND hDlg) {
        strShown = TextOf(hDlg, IDC_MATERIAL_HEIGHT);
        for (int nId : kUnitLabelIds)
            labels.push_back(TextOf(hDlg, nId));
        EnterEditText(hDlg, IDC_MATERIAL_HEIGHT, L"500.01", IDC_POS_X);
        EnterEditText(hDlg, IDC_MATERIAL_HEIGHT, L"40", IDC_POS_X);
        Click(hDlg, IDOK);
    });
    op.Start();
    EXPECT_EQ(1, session->ConfirmPrint(1));
    EXPECT_EQ(L"12.5", strShown);
    EXPECT_EQ(std::vector<std::wstring>(5, L""), labels);
    EXPECT_EQ((std::vector<std::string>{"Param(4081).SetDoubleValue(40,0)"}), Changes());
}

// ---------------------------------------------------------------------------------------------------------
// The length rules on their own.

TEST(PrintConfirmRules, ConversionRoundsHalvesUpAndStaysSoundBeyondTheIntegerRange) {
    EXPECT_EQ(12.35, ConvertToUnit(12.345, kUnitMillimetre));
    EXPECT_EQ(10, ConvertToUnit(254, kUnitInch));
    EXPECT_EQ(1.23, ConvertToUnit(12.34, kUnitCentimetre));
    EXPECT_EQ(7, ConvertToUnit(7, 42));
    // A 32-bit cut would overflow here.
    EXPECT_EQ(3e10, ConvertToUnit(3e10, kUnitMillimetre));
}

TEST(PrintConfirmRules, ZTextsKeepALongTranslatedKeyWhole) {
    std::wstring strKey(1500, L'z');
    EXPECT_EQ(strKey + L" 0 mm", FormatZLineAtStart(strKey, 0));
    EXPECT_EQ(strKey + L" -3.50 mm  ", FormatZLine(strKey, -3.5));
    EXPECT_EQ(L"%s 1.00 mm  ", FormatZLine(L"%s", 1)); // a key is never used as a format
}

} // namespace
