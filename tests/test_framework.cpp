// The framework layer itself, tested as a control's conformance is: recording objects log what reaches
// them, and the tests compare the sequence with the one the platform gives. The dialogs here are test
// classes over the module's real templates, so a handler can throw.
#include <gtest/gtest.h>

#include <algorithm>
#include <stdexcept>
#include <string>
#include <vector>

#include "Plugin.h"
#include "ScriptedOperator.h"
#include "platform/AfxWin.h"
#include "res/resource.h"

namespace {

std::vector<std::string> g_log;

// A framework test borrows the module's templates and has a visible owner at a known place.
class FrameworkTest : public ::testing::Test {
protected:
    void SetUp() override {
        g_log.clear();
        m_hPrevResource = AfxGetResourceHandle();
        AfxSetResourceHandle(m_plugin.m_hModule);
        m_hOwner = ::CreateWindowW(L"STATIC", L"owner", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 210, 140, 600, 420,
                                   nullptr, nullptr, nullptr, nullptr);
        ::SetActiveWindow(m_hOwner);
    }
    void TearDown() override {
        ::DestroyWindow(m_hOwner);
        AfxSetResourceHandle(m_hPrevResource);
    }
    LoadedPlugin m_plugin;
    HINSTANCE m_hPrevResource = nullptr;
    HWND m_hOwner = nullptr;
};

// An edit control that logs what reaches its PreTranslateMessage and may keep keys for itself.
class CRecordingEdit : public CEdit {
public:
    BOOL PreTranslateMessage(MSG* pMsg) override {
        if (pMsg->message == WM_KEYDOWN) {
            g_log.push_back("edit.PreTranslate(" + std::to_string(pMsg->wParam) + ")");
            return m_bConsumeKeys;
        }
        return FALSE;
    }
    bool m_bConsumeKeys = false;
};

// The print confirmation template: edits, buttons and a close box.
class CTestDialog : public CDialogEx {
public:
    CTestDialog() : CDialogEx(IDD_PRINT_CONFIRM_PLAT) {}
    BOOL PreTranslateMessage(MSG* pMsg) override {
        if (pMsg->message == WM_KEYDOWN)
            g_log.push_back("dialog.PreTranslate(" + std::to_string(pMsg->wParam) + ")");
        return CDialogEx::PreTranslateMessage(pMsg);
    }
    std::function<void(CTestDialog&)> m_onInit;
    std::function<void(CTestDialog&)> m_onConfirm;
    CRecordingEdit m_edit;
    double m_dValue = 5;

protected:
    void DoDataExchange(CDataExchange* pDX) override {
        DDX_Control(pDX, IDC_MATERIAL_HEIGHT, m_edit);
        DDX_Text(pDX, IDC_MATERIAL_HEIGHT, m_dValue);
    }
    void DeclareMessageMap(CMessageMap& map) override {
        map.Command(IDC_CONFIRM_POSITION, BN_CLICKED, [this] {
            if (m_onConfirm)
                m_onConfirm(*this);
        });
    }
    BOOL OnInitDialog() override {
        BOOL bResult = CDialogEx::OnInitDialog();
        if (m_onInit)
            m_onInit(*this);
        return bResult;
    }
};

RECT WindowRect(HWND hWnd) {
    RECT rc = {};
    ::GetWindowRect(hWnd, &rc);
    return rc;
}

POINT Centre(const RECT& rc) {
    return {(rc.left + rc.right) / 2, (rc.top + rc.bottom) / 2};
}

TEST_F(FrameworkTest, KeysGoToThePreTranslateChainFromTheTargetUpThenToTheDialogManager) {
    CTestDialog dlg;
    Operator op;
    op.Then([](HWND hDlg) {
        SetFocusTo(hDlg, IDC_MATERIAL_HEIGHT);
        PressKey(hDlg, VK_ESCAPE); // kept by the edit: the dialog manager never sees it
    });
    op.Then([&](HWND hDlg) {
        g_log.push_back("still open");
        dlg.m_edit.m_bConsumeKeys = false;
        PressKey(hDlg, VK_ESCAPE); // handed on: the dialog manager cancels
    });
    dlg.m_onInit = [](CTestDialog& d) { d.m_edit.m_bConsumeKeys = true; };
    op.Start();
    EXPECT_EQ(IDCANCEL, dlg.DoModal());
    EXPECT_EQ((std::vector<std::string>{"edit.PreTranslate(27)", "still open", "edit.PreTranslate(27)",
                                        "dialog.PreTranslate(27)"}),
              g_log);
    EXPECT_EQ(nullptr, dlg.m_edit.m_hWnd); // the subclassed edit let go of its window with the dialog
}

TEST_F(FrameworkTest, RefusedDataExchangeKeepsTheDialogOpenAndTheMemberUnchanged) {
    CTestDialog dlg;
    std::wstring strMessage;
    HWND hFocusAfter = nullptr;
    Operator op;
    op.Then([](HWND hDlg) {
        SetEditText(hDlg, IDC_MATERIAL_HEIGHT, L"twelve");
        ClickAsync(hDlg, IDOK);
    });
    op.Then([&](HWND hBox) {
        strMessage = MessageBoxText(hBox);
        Click(hBox, IDOK);
    });
    op.Then([&](HWND hDlg) {
        hFocusAfter = ::GetFocus();
        EXPECT_DOUBLE_EQ(5, dlg.m_dValue);
        SetEditText(hDlg, IDC_MATERIAL_HEIGHT, L" 7.25 ");
        Click(hDlg, IDOK);
    });
    op.Start();
    EXPECT_EQ(IDOK, dlg.DoModal());
    EXPECT_EQ(L"Please enter a number.", strMessage);
    EXPECT_EQ(dlg.m_edit.m_hWnd, nullptr);
    EXPECT_NE(nullptr, hFocusAfter);
    EXPECT_DOUBLE_EQ(7.25, dlg.m_dValue);
}

// A trackbar object that handles its own scroll messages and custom draw, and a parent that logs what is
// left to it.
class CReflectingSlider : public CSliderCtrl, public CCustomDraw {
protected:
    void DeclareMessageMap(CMessageMap& map) override {
        map.HScrollReflect(
            [](UINT nSBCode, UINT) { g_log.push_back("slider.HScroll(" + std::to_string(nSBCode) + ")"); });
        map.CustomDrawReflect(*this);
    }
    DWORD OnPrePaint(NMCUSTOMDRAW&) override {
        g_log.push_back("slider.PrePaint");
        return CDRF_NOTIFYITEMDRAW;
    }
    DWORD OnItemPrePaint(NMCUSTOMDRAW&) override {
        ++m_nItemStages;
        return CDRF_DODEFAULT;
    }

public:
    int m_nItemStages = 0;
};

class CReflectionDialog : public CDialogEx {
public:
    CReflectionDialog() : CDialogEx(IDD_CUSTOM_ECLOSION) {}
    CReflectingSlider m_slider;
    CSliderCtrl m_plain;

protected:
    void DeclareMessageMap(CMessageMap& map) override {
        map.HScroll([](UINT nSBCode, UINT, HWND) {
            g_log.push_back("dialog.HScroll(" + std::to_string(nSBCode) + ")");
        });
        map.Timer(
            [](UINT_PTR nIdEvent) { g_log.push_back("dialog.Timer(" + std::to_string(nIdEvent) + ")"); });
    }
    BOOL OnInitDialog() override {
        BOOL bResult = CDialogEx::OnInitDialog();
        m_slider.Create(WS_VISIBLE | TBS_HORZ, RECT{10, 10, 150, 40}, this, 9001);
        m_plain.Create(WS_VISIBLE | TBS_HORZ, RECT{10, 50, 150, 80}, this, 9002);
        return bResult;
    }
};

TEST_F(FrameworkTest, ControlsHandleTheirOwnReflectedMessagesAndLeaveTheRestToTheParent) {
    CReflectionDialog dlg;
    Operator op;
    op.Then([&](HWND hDlg) {
        ::UpdateWindow(dlg.m_slider.m_hWnd);
        MoveSlider(hDlg, 9001, 3, TB_THUMBTRACK);
        MoveSlider(hDlg, 9002, 4, TB_ENDTRACK);
        SendTimer(hDlg, 77);
        Click(hDlg, IDCANCEL);
    });
    op.Start();
    g_log.clear();
    dlg.DoModal();
    std::vector<std::string> withoutPaint;
    for (const auto& entry : g_log)
        if (entry != "slider.PrePaint")
            withoutPaint.push_back(entry);
    EXPECT_EQ((std::vector<std::string>{"slider.HScroll(5)", "dialog.HScroll(8)", "dialog.Timer(77)"}),
              withoutPaint);
    EXPECT_NE(g_log.end(), std::find(g_log.begin(), g_log.end(), "slider.PrePaint"));
    EXPECT_GT(dlg.m_slider.m_nItemStages, 0); // the stage answer went back to the control
}

TEST_F(FrameworkTest, NestedModalRunsEndInnermostFirstAndTheOuterGoesOn) {
    CTestDialog outer;
    INT_PTR nInner = 0;
    CDialog* pActiveInside = nullptr;
    outer.m_onConfirm = [&](CTestDialog&) {
        CTestDialog inner;
        inner.m_onInit = [&](CTestDialog& d) {
            pActiveInside = CDialog::GetActiveModalDialog();
            (void)d;
        };
        nInner = inner.DoModal();
    };
    Operator op;
    op.Then([](HWND hDlg) { ClickAsync(hDlg, IDC_CONFIRM_POSITION); });
    op.WaitUntil([&](HWND hDlg) { return hDlg != outer.m_hWnd; });
    op.Then([](HWND hInner) { Click(hInner, IDCANCEL); });
    op.Then([&](HWND hDlg) {
        EXPECT_EQ(outer.m_hWnd, hDlg);
        EXPECT_EQ(&outer, CDialog::GetActiveModalDialog());
        Click(hDlg, IDOK);
    });
    op.Start();
    EXPECT_EQ(IDOK, outer.DoModal());
    EXPECT_EQ(IDCANCEL, nInner);
    EXPECT_NE(nullptr, pActiveInside);
    EXPECT_NE(&outer, pActiveInside);
    EXPECT_EQ(nullptr, CDialog::GetActiveModalDialog());
}

TEST_F(FrameworkTest, AThrowingHandlerEndsOnlyItsOwnModalRunAsAFailedDialog) {
    // In the initialisation: the run fails at once.
    {
        CTestDialog failsAtOnce;
        failsAtOnce.m_onInit = [](CTestDialog&) { throw std::runtime_error("init"); };
        Operator never; // would close a dialog that wrongly stayed up
        never.Then([](HWND hDlg) { Click(hDlg, IDCANCEL); });
        never.Start();
        EXPECT_EQ(-1, failsAtOnce.DoModal());
        EXPECT_FALSE(never.AllStepsDone());
    }

    // In a button handler of an inner dialog: the inner run fails, the outer one goes on.
    CTestDialog outer;
    INT_PTR nInner = 0;
    outer.m_onConfirm = [&](CTestDialog&) {
        CTestDialog inner;
        inner.m_onConfirm = [](CTestDialog&) { throw std::bad_alloc(); };
        nInner = inner.DoModal();
    };
    Operator op;
    op.Then([](HWND hDlg) { ClickAsync(hDlg, IDC_CONFIRM_POSITION); });
    op.WaitUntil([&](HWND hDlg) { return hDlg != outer.m_hWnd; });
    op.Then([](HWND hInner) { Click(hInner, IDC_CONFIRM_POSITION); });
    op.Then([](HWND hOuter) { Click(hOuter, IDCANCEL); });
    op.Start();
    EXPECT_EQ(IDCANCEL, outer.DoModal());
    EXPECT_EQ(-1, nInner);
    EXPECT_TRUE(op.AllStepsDone());
}

TEST_F(FrameworkTest, DialogsOpenCentredOverTheirOwnerOrTheWorkAreaUnlessInitialisationPlacedThem) {
    // Where a dialog stands once it is up: its centre, or with bTopLeft its top left corner.
    auto openAt = [](CTestDialog& dlg, bool bTopLeft) {
        POINT pt = {};
        Drive({[&](HWND hDlg) {
                  RECT rc = WindowRect(hDlg);
                  pt = bTopLeft ? POINT{rc.left, rc.top} : Centre(rc);
                  Click(hDlg, IDCANCEL);
              }},
              [&] { return dlg.DoModal(); });
        return pt;
    };
    CTestDialog centred, placed, ownerless;
    POINT ptOwner = Centre(WindowRect(m_hOwner)), pt = openAt(centred, false);
    EXPECT_TRUE(std::abs(ptOwner.x - pt.x) <= 1 && std::abs(ptOwner.y - pt.y) <= 1);
    placed.m_onInit = [](CTestDialog& d) {
        ::SetWindowPos(d.m_hWnd, nullptr, 5, 6, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
    };
    pt = openAt(placed, true);
    EXPECT_TRUE(pt.x == 5 && pt.y == 6);
    ::DestroyWindow(m_hOwner);
    m_hOwner = nullptr;
    RECT rcWork = {};
    ::SystemParametersInfoW(SPI_GETWORKAREA, 0, &rcWork, 0);
    pt = openAt(ownerless, false);
    EXPECT_TRUE(std::abs(Centre(rcWork).x - pt.x) <= 1 && std::abs(Centre(rcWork).y - pt.y) <= 1);
}

} // namespace
