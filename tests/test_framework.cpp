// The framework layer itself: the modal loop and its guard, and reflection, with a recording test dialog over
// one of the module's real templates (so a handler can throw). Key routing, placement and data exchange are
// every dialog's stories.

#include <stdexcept>

#include "Plugin.h"
#include "platform/AfxWin.h"
#include "res/resource.h"

namespace {

std::vector<std::string> g_log;

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

// The print confirmation template, logging what its controls leave to it.
class CTestDialog : public CDialogEx {
public:
    CTestDialog() : CDialogEx(IDD_PRINT_CONFIRM_PLAT) {}
    std::function<void()> m_onInit, m_onConfirm;
    unique_hbrush m_brush{::CreateSolidBrush(RGB(1, 2, 3))};

protected:
    void DeclareMessageMap(CMessageMap& map) override {
        map.Command(IDC_CONFIRM_POSITION, BN_CLICKED, [this] { m_onConfirm(); });
        map.HScroll([](UINT nSBCode, UINT, HWND) {
            g_log.push_back("dialog.HScroll(" + std::to_string(nSBCode) + ")");
        });
        map.Timer(
            [](UINT_PTR nIdEvent) { g_log.push_back("dialog.Timer(" + std::to_string(nIdEvent) + ")"); });
        map.Message(WM_CTLCOLORSTATIC,
                    [this](WPARAM, LPARAM) { return reinterpret_cast<LRESULT>(m_brush.get()); });
    }
    BOOL OnInitDialog() override {
        BOOL bResult = CDialogEx::OnInitDialog();
        if (m_onInit)
            m_onInit();
        return bResult;
    }
};

TEST_F(FrameworkTest, ControlsHandleTheirOwnReflectedMessagesAndLeaveTheRestToTheParent) {
    CTestDialog dlg;
    CReflectingSlider slider;
    CSliderCtrl plain;
    dlg.m_onInit = [&] {
        slider.Create(WS_VISIBLE | TBS_HORZ, RECT{10, 10, 150, 40}, &dlg, 9001);
        plain.Create(WS_VISIBLE | TBS_HORZ, RECT{10, 50, 150, 80}, &dlg, 9002);
    };
    LRESULT nColourAnswer = 0;
    Drive({[&](HWND hDlg) {
              ::UpdateWindow(slider.m_hWnd);
              MoveSlider(hDlg, 9001, 3, TB_THUMBTRACK);
              MoveSlider(hDlg, 9002, 4, TB_ENDTRACK);
              SendTimer(hDlg, 77);
              nColourAnswer = ::SendMessageW(hDlg, WM_CTLCOLORSTATIC, 0,
                                             LPARAM(::FindWindowExW(hDlg, nullptr, L"Static", nullptr)));
              Click(hDlg, IDCANCEL);
          }},
          [&] { return dlg.DoModal(); });
    const size_t nPaints = size_t(std::count(g_log.begin(), g_log.end(), "slider.PrePaint"));
    g_log.erase(std::remove(g_log.begin(), g_log.end(), "slider.PrePaint"), g_log.end());
    EXPECT_EQ((std::vector<std::string>{"slider.HScroll(5)", "dialog.HScroll(8)", "dialog.Timer(77)"}),
              g_log);
    EXPECT_GT(nPaints, 0u);
    EXPECT_GT(slider.m_nItemStages, 0); // the stage answer went back to the control
    EXPECT_EQ(reinterpret_cast<LRESULT>(dlg.m_brush.get()), nColourAnswer);
}

TEST_F(FrameworkTest, ModalRunsNestAndAThrowingHandlerEndsOnlyItsOwnRunAsAFailedDialog) {
    CTestDialog failsAtOnce;
    failsAtOnce.m_onInit = [] { throw std::runtime_error("init"); };
    EXPECT_EQ(-1, WithoutDialog([&] { return failsAtOnce.DoModal(); }));

    CTestDialog outer;
    INT_PTR nInner = 0;
    CDialog* pActiveInside = nullptr;
    outer.m_onConfirm = [&] {
        CTestDialog inner;
        inner.m_onInit = [&] { pActiveInside = CDialog::GetActiveModalDialog(); };
        inner.m_onConfirm = [] { throw std::bad_alloc(); };
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

} // namespace
