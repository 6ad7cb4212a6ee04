// A scripted operator: acts on the module's dialogs once they are up, one step at a time, from inside the
// dialog's own message loop, and reads what they show.
#pragma once

#include <windows.h>
#include <commctrl.h>

#include <functional>
#include <string>
#include <vector>

class Operator {
public:
    using Step = std::function<void(HWND hDlg)>;
    using Condition = std::function<bool(HWND hDlg)>;

    Operator();
    ~Operator();
    Operator(const Operator&) = delete;
    Operator& operator=(const Operator&) = delete;

    // Adds a step; it runs on the innermost enabled dialog of the thread once one is up.
    Operator& Then(Step step);
    // Waits (step by step through the message loop) until the condition holds on the innermost dialog.
    Operator& WaitUntil(Condition condition);
    // Starts acting: call right before the operation that opens the dialog.
    void Start();
    bool AllStepsDone() const { return m_nNext >= m_steps.size(); }
    // Set when the script took too long: every open dialog was unwound with a quit message.
    bool m_bTimedOut = false;
    // How long a script may take before it is given up.
    UINT m_nTimeoutMs = 20000;

private:
    static LRESULT CALLBACK GetMessageHook(int nCode, WPARAM wParam, LPARAM lParam);
    static void CALLBACK OnWatchdog(HWND, UINT, UINT_PTR, DWORD);
    static void CALLBACK OnRetry(HWND, UINT, UINT_PTR, DWORD);
    void PostTickLater();
    void Tick();
    void PostTick();
    void GiveUp();

    struct Entry {
        Step step;
        Condition condition;
    };
    std::vector<Entry> m_steps;
    size_t m_nNext = 0;
    HHOOK m_hHook = nullptr;
    UINT_PTR m_nWatchdog = 0;
    UINT_PTR m_nRetry = 0;
    ULONGLONG m_nStartTicks = 0;
};

// The innermost enabled, visible dialog window of this thread (a message box counts), or null.
HWND FindActiveDialog();

// Operator actions, each as a user's action would cause it.
void Click(HWND hDlg, int nId);      // the button is pressed; returns after its handler ran
void ClickAsync(HWND hDlg, int nId); // the press goes through the queue (for handlers that open boxes)
void PressKey(HWND hDlg, UINT vk);   // key down and up posted to the focused window of the dialog
void SetFocusTo(HWND hDlg, int nId);
void SelectComboItem(HWND hDlg, int nId, int nIndex);
void SetEditText(HWND hDlg, int nId, const std::wstring& strText);
// Types into an edit and moves the focus away, as leaving the field does.
void EnterEditText(HWND hDlg, int nId, const std::wstring& strText, int nNextId);
void SendTimer(HWND hDlg, UINT_PTR nIdEvent);
// Moves a trackbar as the operator's drag does: the new position, then WM_HSCROLL to the dialog with the
// scroll code and the trackbar as its sender.
void MoveSlider(HWND hDlg, int nId, int nPos, int nScrollCode = TB_THUMBPOSITION);
void CloseBox(HWND hDlg); // the caption's close box
// Selects a list box entry as a click on it does: the selection, then LBN_SELCHANGE to the dialog.
void SelectListBoxItem(HWND hDlg, int nId, int nIndex);
int ListBoxSelection(HWND hDlg, int nId);

std::wstring TextOf(HWND hDlg, int nId);
std::wstring CaptionOf(HWND hDlg);
bool IsShown(HWND hDlg, int nId);
bool IsEnabled(HWND hDlg, int nId);
bool IsChecked(HWND hDlg, int nId);
std::vector<std::wstring> ComboItems(HWND hDlg, int nId);
std::vector<LPARAM> ComboItemData(HWND hDlg, int nId);
int ComboSelection(HWND hDlg, int nId);
std::vector<std::wstring> ListBoxItems(HWND hDlg, int nId);
LONG StyleOf(HWND hWnd);
// The text of the message box that is up, and its caption.
std::wstring MessageBoxText(HWND hBox);

std::string Narrow(const std::wstring& str);
