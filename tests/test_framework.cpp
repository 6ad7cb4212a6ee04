// The framework layer itself: the modal loop and its guard, with a test dialog over one of the module's real
// templates (so a handler can throw). Key routing, reflection, placement and data exchange are every dialog's
// stories.

#include <stdexcept>

#include "Plugin.h"
#include "platform/AfxWin.h"
#include "res/resource.h"

namespace {

class FrameworkTest : public ::testing::Test {
protected:
    void SetUp() override {
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

// The print confirmation template, with handlers the test sets.
class CTestDialog : public CDialogEx {
public:
    CTestDialog() : CDialogEx(IDD_PRINT_CONFIRM_PLAT) {}
    std::function<void()> m_onInit, m_onConfirm;

protected:
    void DeclareMessageMap(CMessageMap& map) override {
        map.Command(IDC_CONFIRM_POSITION, BN_CLICKED, [this] { m_onConfirm(); });
    }
    BOOL OnInitDialog() override {
        BOOL bResult = CDialogEx::OnInitDialog();
        if (m_onInit)
            m_onInit();
        return bResult;
    }
};

TEST_F(FrameworkTest, ModalRunsNestAndAThrowingHandlerEndsOnlyItsOwnRunAsAFailedDialog) {
    CTestDialog failsAtOnce;
    failsAtOnce.m_onInit = [] { throw std::runtime_error("init"); };
    EXPECT_EQ(-1, WithoutDialog([&] { return failsAtOnce.DoModal(); }));

    CTestDialog outer;
    INT_PTR nInner = 0;
    outer.m_onConfirm = [&] {
        CTestDialog inner;
        inner.m_onConfirm = [] { throw std::bad_alloc(); };
        nInner = inner.DoModal();
    };
    Operator op;
    op.Then([](HWND hDlg) { ClickAsync(hDlg, IDC_CONFIRM_POSITION); });
    op.WaitUntil([&](HWND hDlg) { return hDlg != outer.m_hWnd; });
    op.Then([](HWND hInner) { Click(hInner, IDC_CONFIRM_POSITION); });
    op.Then([&](HWND hDlg) {
        EXPECT_EQ(&outer, CDialog::GetActiveModalDialog());
        Click(hDlg, IDOK);
    });
    op.Start();
    EXPECT_EQ(IDOK, outer.DoModal()); // only the last step clicks OK
    EXPECT_EQ(-1, nInner);
    EXPECT_EQ(nullptr, CDialog::GetActiveModalDialog());
}

} // namespace
