// Shows every fixed text in the host's language: the English text is the key into section "LANG".
#pragma once

#include <windows.h>

#include <string>

class CLanguageFile {
public:
    // The text to show for an English key; the key itself when the file or the key is missing.
    std::wstring Translate(const std::wstring& strKey) const;
    // Replaces the window's text by its translation; an empty text is left alone.
    void TranslateWindowText(HWND hWnd) const;
    // The translation pass over a whole dialog: its caption, then every descendant window.
    void TranslateDialog(HWND hDlg) const;

    std::wstring m_strIniPath;
    BOOL m_bRecurseDialogs = TRUE;
};

// Enumeration callback of the translation pass; lParam is the language file. Always continues.
BOOL CALLBACK TranslateChildWindowProc(HWND hWnd, LPARAM lParam);

// Turns every backslash-n pair into a line feed, left to right.
std::wstring ReplaceBackslashN(std::wstring strText);
