#include "ScriptedOperator.h"

#include <algorithm>
#include <type_traits>

namespace {

Operator* g_pCurrent = nullptr;
const UINT kTickMessage = ::RegisterWindowMessageW(L"PivoraTestOperatorTick");

} // namespace

HWND FindActiveDialog() {
    // Enumeration runs from the top of the z-order: the first hit is the one in front.
    HWND hFront = nullptr;
    ::EnumThreadWindows(
        ::GetCurrentThreadId(),
        [](HWND hWnd, LPARAM lParam) -> BOOL {
            wchar_t szClass[16] = {};
            ::GetClassNameW(hWnd, szClass, 16);
            bool bFound =
                std::wstring(szClass) == L"#32770" && ::IsWindowVisible(hWnd) && ::IsWindowEnabled(hWnd);
            if (bFound)
                *reinterpret_cast<HWND*>(lParam) = hWnd;
            return !bFound;
        },
        reinterpret_cast<LPARAM>(&hFront));
    return hFront;
}

Operator::Operator() = default;

Operator::~Operator() {
    // No longer the current one before the queue is drained: the hook of an earlier operator that is still
    // alive would otherwise tick this one again for every tick removed, and the drain would never end.
    if (g_pCurrent == this)
        g_pCurrent = nullptr;
    if (m_hHook)
        ::UnhookWindowsHookEx(m_hHook);
    if (m_nWatchdog)
        ::KillTimer(nullptr, m_nWatchdog);
    if (m_nRetry)
        ::KillTimer(nullptr, m_nRetry);
    MSG msg;
    while (::PeekMessageW(&msg, nullptr, kTickMessage, kTickMessage, PM_REMOVE)) {
    }
    if (m_bTimedOut) {
        while (::PeekMessageW(&msg, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE)) {
        }
    }
}

Operator& Operator::Then(Step step) {
    m_steps.push_back({std::move(step), nullptr});
    return *this;
}

Operator& Operator::WaitUntil(Condition condition) {
    m_steps.push_back({nullptr, std::move(condition)});
    return *this;
}

void Operator::Start() {
    g_pCurrent = this;
    m_hHook = ::SetWindowsHookExW(WH_GETMESSAGE, &Operator::GetMessageHook, nullptr, ::GetCurrentThreadId());
    m_nStartTicks = ::GetTickCount64();
    m_nWatchdog = ::SetTimer(nullptr, 0, m_nTimeoutMs, &Operator::OnWatchdog);
    PostTick();
}

void Operator::PostTick() {
    ::PostThreadMessageW(::GetCurrentThreadId(), kTickMessage, 0, 0);
}

void Operator::PostTickLater() {
    // Waiting leaves the queue empty for a moment: the system makes timer messages only then, so the
    // dialog's own timers and the watchdog can fire while a condition is awaited.
    if (!m_nRetry)
        m_nRetry = ::SetTimer(nullptr, 0, 10, &Operator::OnRetry);
}

void CALLBACK Operator::OnRetry(HWND, UINT, UINT_PTR nIdEvent, DWORD) {
    ::KillTimer(nullptr, nIdEvent);
    if (g_pCurrent && g_pCurrent->m_nRetry == nIdEvent) {
        g_pCurrent->m_nRetry = 0;
        g_pCurrent->PostTick();
    }
}

void CALLBACK Operator::OnWatchdog(HWND, UINT, UINT_PTR, DWORD) {
    if (g_pCurrent)
        g_pCurrent->GiveUp();
}

void Operator::GiveUp() {
    // A quit message unwinds every nested loop (dialogs and message boxes alike), so a script that left a
    // dialog open fails its test instead of hanging the run; the destructor takes the quit back.
    if (m_bTimedOut)
        return;
    m_bTimedOut = true;
    m_nNext = m_steps.size();
    ::PostQuitMessage(0);
}

LRESULT CALLBACK Operator::GetMessageHook(int nCode, WPARAM wParam, LPARAM lParam) {
    auto* pMsg = reinterpret_cast<MSG*>(lParam);
    if (nCode == HC_ACTION && wParam == PM_REMOVE && pMsg->message == kTickMessage && pMsg->hwnd == nullptr) {
        pMsg->message = WM_NULL;
        if (g_pCurrent)
            g_pCurrent->Tick();
    }
    return ::CallNextHookEx(nullptr, nCode, wParam, lParam);
}

void Operator::Tick() {
    if (m_nNext >= m_steps.size())
        return;
    // Ticks keep the queue busy, so the watchdog timer may never fire while the script waits.
    if (::GetTickCount64() - m_nStartTicks > m_nTimeoutMs) {
        GiveUp();
        return;
    }
    HWND hDlg = FindActiveDialog();
    if (!hDlg) {
        PostTickLater();
        return;
    }
    Entry& entry = m_steps[m_nNext];
    if (entry.condition) {
        if (entry.condition(hDlg)) {
            ++m_nNext;
            PostTick();
        } else {
            PostTickLater();
        }
        return;
    }
    ++m_nNext;
    entry.step(hDlg);
    if (m_nNext < m_steps.size())
        PostTick();
}

// ---------------------------------------------------------------------------------------------------------

void Click(HWND hDlg, int nId) {
    ::SendMessageW(::GetDlgItem(hDlg, nId), BM_CLICK, 0, 0);
}
void ClickAsync(HWND hDlg, int nId) {
    ::PostMessageW(::GetDlgItem(hDlg, nId), BM_CLICK, 0, 0);
}

void PressKey(HWND hDlg, UINT vk) {
    HWND hFocus = ::GetFocus();
    if (!hFocus || (hFocus != hDlg && !::IsChild(hDlg, hFocus)))
        hFocus = hDlg;
    ::PostMessageW(hFocus, WM_KEYDOWN, vk, 1);
    ::PostMessageW(hFocus, WM_KEYUP, vk, 0xC0000001);
}

void SetFocusTo(HWND hDlg, int nId) {
    ::SendMessageW(hDlg, WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(::GetDlgItem(hDlg, nId)), TRUE);
}

void SelectComboItem(HWND hDlg, int nId, int nIndex) {
    HWND hCombo = ::GetDlgItem(hDlg, nId);
    ::SendMessageW(hCombo, CB_SETCURSEL, nIndex, 0);
    ::SendMessageW(hDlg, WM_COMMAND, MAKEWPARAM(nId, CBN_SELENDOK), reinterpret_cast<LPARAM>(hCombo));
    ::SendMessageW(hDlg, WM_COMMAND, MAKEWPARAM(nId, CBN_SELCHANGE), reinterpret_cast<LPARAM>(hCombo));
}

void SetEditText(HWND hDlg, int nId, const std::wstring& strText) {
    ::SetDlgItemTextW(hDlg, nId, strText.c_str());
}

void EnterEditText(HWND hDlg, int nId, const std::wstring& strText, int nNextId) {
    SetFocusTo(hDlg, nId);
    SetEditText(hDlg, nId, strText);
    SetFocusTo(hDlg, nNextId);
}

void SendTimer(HWND hDlg, UINT_PTR nIdEvent) {
    ::SendMessageW(hDlg, WM_TIMER, nIdEvent, 0);
}

void MoveSlider(HWND hDlg, int nId, int nPos, int nScrollCode) {
    HWND hSlider = ::GetDlgItem(hDlg, nId);
    ::SendMessageW(hSlider, TBM_SETPOS, TRUE, nPos);
    ::SendMessageW(hDlg, WM_HSCROLL, MAKEWPARAM(nScrollCode, nPos), reinterpret_cast<LPARAM>(hSlider));
}

void CloseBox(HWND hDlg) {
    ::SendMessageW(hDlg, WM_SYSCOMMAND, SC_CLOSE, 0);
}

void SelectListBoxItem(HWND hDlg, int nId, int nIndex) {
    HWND hList = ::GetDlgItem(hDlg, nId);
    ::SendMessageW(hList, LB_SETCURSEL, nIndex, 0);
    ::SendMessageW(hDlg, WM_COMMAND, MAKEWPARAM(nId, LBN_SELCHANGE), reinterpret_cast<LPARAM>(hList));
}

int ListBoxSelection(HWND hDlg, int nId) {
    return static_cast<int>(::SendMessageW(::GetDlgItem(hDlg, nId), LB_GETCURSEL, 0, 0));
}

std::wstring TextOf(HWND hDlg, int nId) {
    return CaptionOf(::GetDlgItem(hDlg, nId));
}

std::wstring CaptionOf(HWND hWnd) {
    std::wstring str(static_cast<size_t>(::GetWindowTextLengthW(hWnd)) + 1, L'\0');
    str.resize(static_cast<size_t>(::GetWindowTextW(hWnd, str.data(), static_cast<int>(str.size()))));
    return str;
}

bool IsShown(HWND hDlg, int nId) {
    return (StyleOf(::GetDlgItem(hDlg, nId)) & WS_VISIBLE) != 0;
}
bool IsEnabled(HWND hDlg, int nId) {
    return ::IsWindowEnabled(::GetDlgItem(hDlg, nId)) != FALSE;
}
bool IsChecked(HWND hDlg, int nId) {
    return ::IsDlgButtonChecked(hDlg, nId) == BST_CHECKED;
}
LONG StyleOf(HWND hWnd) {
    return ::GetWindowLongW(hWnd, GWL_STYLE);
}

namespace {

// The texts or the data of every item of a combo box or a list box, through the messages of its class.
template <class Item> std::vector<Item> Items(HWND hDlg, int nId, UINT nCount, UINT nLength, UINT nGet) {
    HWND hList = ::GetDlgItem(hDlg, nId);
    std::vector<Item> items(static_cast<size_t>(std::max<LRESULT>(0, ::SendMessageW(hList, nCount, 0, 0))));
    for (size_t i = 0; i < items.size(); ++i) {
        if constexpr (std::is_same_v<Item, LPARAM>) {
            items[i] = ::SendMessageW(hList, nGet, i, 0);
        } else {
            items[i].resize(static_cast<size_t>(::SendMessageW(hList, nLength, i, 0)) + 1);
            LRESULT n = ::SendMessageW(hList, nGet, i, reinterpret_cast<LPARAM>(items[i].data()));
            items[i].resize(n > 0 ? static_cast<size_t>(n) : 0);
        }
    }
    return items;
}

} // namespace

std::vector<std::wstring> ComboItems(HWND hDlg, int nId) {
    return Items<std::wstring>(hDlg, nId, CB_GETCOUNT, CB_GETLBTEXTLEN, CB_GETLBTEXT);
}
std::vector<LPARAM> ComboItemData(HWND hDlg, int nId) {
    return Items<LPARAM>(hDlg, nId, CB_GETCOUNT, 0, CB_GETITEMDATA);
}
std::vector<std::wstring> ListBoxItems(HWND hDlg, int nId) {
    return Items<std::wstring>(hDlg, nId, LB_GETCOUNT, LB_GETTEXTLEN, LB_GETTEXT);
}
int ComboSelection(HWND hDlg, int nId) {
    return static_cast<int>(::SendMessageW(::GetDlgItem(hDlg, nId), CB_GETCURSEL, 0, 0));
}

std::wstring MessageBoxText(HWND hBox) {
    // The message text of a message box is its static control 0xFFFF.
    return TextOf(hBox, 0xFFFF);
}

std::string Narrow(const std::wstring& str) {
    int nLen = ::WideCharToMultiByte(CP_UTF8, 0, str.c_str(), -1, nullptr, 0, nullptr, nullptr);
    std::string out(static_cast<size_t>(nLen > 0 ? nLen : 1), '\0');
    ::WideCharToMultiByte(CP_UTF8, 0, str.c_str(), -1, out.data(), nLen, nullptr, nullptr);
    out.resize(out.size() - 1);
    return out;
}
