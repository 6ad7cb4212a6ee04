// The framework layer itself: the modal loop, key routing, reflection and data exchange, with recording
// test dialogs over the module's real templates (so a handler can throw).
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

TEST_F(FrameworkTest, KeysGoToThePreTranslateChainFromTheTargetUpThenToTheDialogManager) {
    CTestDialog dlg;
    dlg.m_onInit = [](CTestDialog& d) { d.m_edit.m_bConsumeKeys = true; };
    EXPECT_EQ(IDCANCEL, Drive({[](HWND hDlg) {
                                   SetFocusTo(hDlg, IDC_MATERIAL_HEIGHT);
                                   PressKey(hDlg,
                                            VK_ESCAPE); // kept by the edit: the dialog manager never sees it
                               },
                               [&](HWND hDlg) {
                                   g_log.push_back("still open");
                                   dlg.m_edit.m_bConsumeKeys = false;
                                   PressKey(hDlg, VK_ESCAPE); // handed on: the dialog manager cancels
                               }},
                              [&] { return dlg.DoModal(); }));
    EXPECT_EQ((std::vector<std::string>{"edit.PreTranslate(27)", "still open", "edit.PreTranslate(27)",
                                        "dialog.PreTranslate(27)"}),
              g_log);
    EXPECT_EQ(nullptr, dlg.m_edit.m_hWnd); // the subclassed edit let go of its window with the dialog
}

TEST_F(FrameworkTest, RefusedDataExchangeKeepsTheDialogOpenAndTheMemberUnchanged) {
    CTestDialog dlg;
    std::wstring strMessage;
    HWND hFocusAfter = nullptr;
    EXPECT_EQ(IDOK, Drive({[](HWND hDlg) {
                               SetEditText(hDlg, IDC_MATERIAL_HEIGHT, L"twelve");
                               ClickAsync(hDlg, IDOK);
                           },
                           [&](HWND hBox) {
                               strMessage = MessageBoxText(hBox);
                               Click(hBox, IDOK);
                           },
                           [&](HWND hDlg) {
                               hFocusAfter = ::GetFocus();
                               EXPECT_DOUBLE_EQ(5, dlg.m_dValue);
                               SetEditText(hDlg, IDC_MATERIAL_HEIGHT, L" 7.25 ");
                               Click(hDlg, IDOK);
                           }},
                          [&] { return dlg.DoModal(); }));
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
    Drive({[&](HWND hDlg) {
              ::UpdateWindow(dlg.m_slider.m_hWnd);
              MoveSlider(hDlg, 9001, 3, TB_THUMBTRACK);
              MoveSlider(hDlg, 9002, 4, TB_ENDTRACK);
              SendTimer(hDlg, 77);
              Click(hDlg, IDCANCEL);
          }},
          [&] { return dlg.DoModal(); });
    const size_t nPaints = size_t(std::count(g_log.begin(), g_log.end(), "slider.PrePaint"));
    g_log.erase(std::remove(g_log.begin(), g_log.end(), "slider.PrePaint"), g_log.end());
    EXPECT_EQ((std::vector<std::string>{"slider.HScroll(5)", "dialog.HScroll(8)", "dialog.Timer(77)"}),
              g_log);
    EXPECT_GT(nPaints, 0u);
    EXPECT_GT(dlg.m_slider.m_nItemStages, 0); // the stage answer went back to the control
}

TEST_F(FrameworkTest, ModalRunsNestAndAThrowingHandlerEndsOnlyItsOwnRunAsAFailedDialog) {
    CTestDialog failsAtOnce;
    failsAtOnce.m_onInit = [](CTestDialog&) { throw std::runtime_error("init"); };
    EXPECT_EQ(-1, WithoutDialog([&] { return failsAtOnce.DoModal(); }));

    CTestDialog outer;
    INT_PTR nInner = 0;
    CDialog* pActiveInside = nullptr;
    outer.m_onConfirm = [&](CTestDialog&) {
        CTestDialog inner;
        inner.m_onInit = [&](CTestDialog&) { pActiveInside = CDialog::GetActiveModalDialog(); };
        inner.m_onConfirm = [](CTestDialog&) { throw std::bad_alloc(); };
        nInner = inner.DoModal();
    };
    Operator op;
    op.Then([](HWND hDlg) { ClickAsync(hDlg, IDC_CONFIRM_POSITION); });
    op.WaitUntil([&](HWND hDlg) { return hDlg != outer.m_hWnd; });
    op.Then([](HWND hInner) { Click(hInner, IDC_CONFIRM_POSITION); });
    op.Then([&](HWND hDlg) {
        EXPECT_EQ(outer.m_hWnd, hDlg);
        EXPECT_EQ(&outer, CDialog::GetActiveModalDialog());
        Click(hDlg, IDOK);
    });
    op.Start();
    EXPECT_EQ(IDOK, outer.DoModal());
    EXPECT_TRUE(op.AllStepsDone());
    EXPECT_EQ(-1, nInner);
    EXPECT_TRUE(pActiveInside && pActiveInside != &outer);
    EXPECT_EQ(nullptr, CDialog::GetActiveModalDialog());
}

// Centred over the owner is every dialog's story (test_plugin); here what the framework adds.
TEST_F(FrameworkTest, DialogsOpenWhereInitialisationPlacedThemOrCentredOnTheWorkAreaWithoutOwner) {
    RECT rc = {}, rcWork = {};
    auto open = [&](CTestDialog& dlg) {
        Drive({[&](HWND hDlg) {
                  ::GetWindowRect(hDlg, &rc);
                  Click(hDlg, IDCANCEL);
              }},
              [&] { return dlg.DoModal(); });
    };
    CTestDialog placed, ownerless;
    placed.m_onInit = [](CTestDialog& d) {
        ::SetWindowPos(d.m_hWnd, nullptr, 5, 6, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
    };
    open(placed);
    EXPECT_TRUE(rc.left == 5 && rc.top == 6);
    ::DestroyWindow(m_hOwner);
    m_hOwner = nullptr;
    ::SystemParametersInfoW(SPI_GETWORKAREA, 0, &rcWork, 0);
    open(ownerless);
    EXPECT_NEAR(rcWork.left + rcWork.right, rc.left + rc.right, 2);
    EXPECT_NEAR(rcWork.top + rcWork.bottom, rc.top + rc.bottom, 2);
}

} // namespace
