#include "LanguageFile.h"

#include <shlwapi.h>

#include <vector>

#include "platform/AfxWin.h"

namespace {

// Room for 1022 characters plus the terminator; the profile reader cuts anything longer.
constexpr DWORD kTranslationChars = 1023;
// Beyond this a section is not read whole; its keys are then asked of the file one by one.
constexpr DWORD kMaxSectionChars = 1 << 20;

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

std::optional<CLanguageSection> CLanguageFile::ReadSection() const {
    if (m_strIniPath.empty() || !::PathFileExistsW(m_strIniPath.c_str()))
        return CLanguageSection(nullptr, 0);
    // The profile functions say a section did not fit by filling the buffer to two short of its end.
    for (DWORD nSize = 4096; nSize <= kMaxSectionChars; nSize *= 4) {
        std::vector<wchar_t> buffer(nSize);
        const DWORD nChars = ::GetPrivateProfileSectionW(L"LANG", buffer.data(), nSize, m_strIniPath.c_str());
        if (nChars + 2 < nSize)
            return CLanguageSection(buffer.data(), nChars);
    }
    return std::nullopt;
}

std::wstring CLanguageBatch::Translate(const std::wstring& strKey) const {
    if (strKey.empty())
        return {};
    std::optional<std::wstring> strFound = m_section ? m_section->Find(strKey) : std::nullopt;
    return strFound ? ReplaceBackslashN(std::move(*strFound)) : m_file.Translate(strKey);
}

void CLanguageBatch::TranslateWindowText(HWND hWnd) const {
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
    const CLanguageBatch batch(*this);
    batch.TranslateWindowText(hDlg);
    ::EnumChildWindows(hDlg, &TranslateChildWindowProc, reinterpret_cast<LPARAM>(&batch));
}

BOOL CALLBACK CLanguageFile::TranslateChildWindowProc(HWND hWnd, LPARAM lParam) {
    // Called by the system's enumeration: nothing thrown may unwind through it.
    return AfxGuard<BOOL>(FALSE, [&]() -> BOOL {
        const auto* pBatch = reinterpret_cast<const CLanguageBatch*>(lParam);
        CWnd* pWnd = CWnd::FromHandlePermanent(hWnd);
        if (dynamic_cast<CEdit*>(pWnd))
            return TRUE;
        pBatch->TranslateWindowText(hWnd);
        if (pBatch->File().m_bRecurseDialogs && dynamic_cast<CDialog*>(pWnd))
            ::EnumChildWindows(hWnd, &TranslateChildWindowProc, lParam);
        return TRUE;
    });
}
