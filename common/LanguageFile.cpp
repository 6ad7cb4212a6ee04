#include "LanguageFile.h"

#include <shlwapi.h>

#include "platform/AfxWin.h"

namespace {

// Room for 1022 characters plus the terminator; the profile reader cuts anything longer.
constexpr DWORD kTranslationChars = 1023;

} // namespace

std::wstring ReplaceBackslashN(std::wstring strText) {
    for (size_t nPos = strText.find(L"\\n"); nPos != std::wstring::npos;
         nPos = strText.find(L"\\n", nPos + 1))
        strText.replace(nPos, 2, L"\n");
    return strText;
}

std::wstring CLanguageFile::Translate(const std::wstring& strKey) const {
    if (strKey.empty())
        return {};
    std::wstring strText = strKey;
    if (!m_strIniPath.empty() && ::PathFileExistsW(m_strIniPath.c_str())) {
        wchar_t szBuffer[kTranslationChars + 1] = {};
        ::GetPrivateProfileStringW(L"LANG", strKey.c_str(), strKey.c_str(), szBuffer, kTranslationChars,
                                   m_strIniPath.c_str());
        strText = szBuffer;
    }
    return ReplaceBackslashN(std::move(strText));
}

void CLanguageFile::TranslateWindowText(HWND hWnd) const {
    wchar_t szText[kTranslationChars + 1] = {};
    ::GetWindowTextW(hWnd, szText, kTranslationChars);
    if (szText[0] == L'\0')
        return;
    // A text the pack leaves as it is is not set again: each setting costs the control a repaint.
    const std::wstring strTranslated = Translate(szText);
    if (strTranslated != szText)
        ::SetWindowTextW(hWnd, strTranslated.c_str());
}

void CLanguageFile::TranslateDialog(HWND hDlg) const {
    TranslateWindowText(hDlg);
    ::EnumChildWindows(hDlg, &TranslateChildWindowProc, reinterpret_cast<LPARAM>(this));
}

BOOL CALLBACK TranslateChildWindowProc(HWND hWnd, LPARAM lParam) {
    // Called by the system's enumeration: nothing thrown may unwind through it.
    return AfxGuard<BOOL>(FALSE, [&]() -> BOOL {
        const auto* pLanguage = reinterpret_cast<const CLanguageFile*>(lParam);
        CWnd* pWnd = CWnd::FromHandlePermanent(hWnd);
        if (dynamic_cast<CEdit*>(pWnd))
            return TRUE;
        if (pLanguage->m_bRecurseDialogs && dynamic_cast<CDialog*>(pWnd)) {
            pLanguage->TranslateWindowText(hWnd);
            ::EnumChildWindows(hWnd, &TranslateChildWindowProc, lParam);
            return TRUE;
        }
        pLanguage->TranslateWindowText(hWnd);
        return TRUE;
    });
}
