// Shows every fixed text in the host's language: the English text is the key into section "LANG".
#pragma once

#include <windows.h>

#include <optional>
#include <string>

#include "common/LanguageSectionRules.h"

class CLanguageFile {
public:
    // The text to show for an English key; the key itself when the file or the key is missing.
    std::wstring Translate(const std::wstring& strKey) const;
    // The translation pass over a whole dialog: its caption, then every descendant window; an empty text
    // is left alone.
    void TranslateDialog(HWND hDlg) const;

    std::wstring m_strIniPath;
    BOOL m_bRecurseDialogs = TRUE;

private:
    struct DialogPass;
    // The pack's section, read once for a pass; nothing when it cannot be read whole (every key is then
    // asked of the file).
    std::optional<CLanguageSection> ReadSection() const;
    void TranslateWindowText(HWND hWnd, const std::optional<CLanguageSection>& section) const;
    static BOOL CALLBACK TranslateChildWindowProc(HWND hWnd, LPARAM lParam);
};

// Turns every backslash-n pair into a line feed, left to right.
std::wstring ReplaceBackslashN(std::wstring strText);
