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
    friend class CLanguageBatch;
    // The pack's section, read once for a batch; nothing when it cannot be read whole (every key is then
    // asked of the file).
    std::optional<CLanguageSection> ReadSection() const;
    static BOOL CALLBACK TranslateChildWindowProc(HWND hWnd, LPARAM lParam);
};

// Many texts translated in a row (a dialog's controls, a grid's rows) with one reading of the pack; each
// gives what CLanguageFile::Translate gives.
class CLanguageBatch {
public:
    explicit CLanguageBatch(const CLanguageFile& file) : m_file(file), m_section(file.ReadSection()) {}
    std::wstring Translate(const std::wstring& strKey) const;
    // Replaces the window's text by its translation; an empty text is left alone.
    void TranslateWindowText(HWND hWnd) const;
    const CLanguageFile& File() const { return m_file; }

private:
    const CLanguageFile& m_file;
    std::optional<CLanguageSection> m_section;
};

// Turns every backslash-n pair into a line feed, left to right.
std::wstring ReplaceBackslashN(std::wstring strText);
