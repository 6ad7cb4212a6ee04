#include "LanguageSectionRules.h"

namespace {

bool IsBlank(wchar_t ch) {
    return ch == L' ' || ch == L'\t';
}

std::wstring Trimmed(const std::wstring& str) {
    const size_t nFirst = str.find_first_not_of(L" \t");
    if (nFirst == std::wstring::npos)
        return {};
    return str.substr(nFirst, str.find_last_not_of(L" \t") - nFirst + 1);
}

// A key the profile functions match on its characters alone, ignoring ASCII case.
bool IsPlainKey(const std::wstring& strKey) {
    if (strKey.empty() || strKey.size() > kLanguageTextMaxChars || IsBlank(strKey.front()) ||
        IsBlank(strKey.back()) || strKey.front() == L';' || strKey.front() == L'[')
        return false;
    for (wchar_t ch : strKey) {
        if (ch < 0x20 || ch > 0x7E || ch == L'=')
            return false;
    }
    return true;
}

std::wstring AsciiLower(std::wstring str) {
    for (wchar_t& ch : str) {
        if (ch >= L'A' && ch <= L'Z')
            ch = static_cast<wchar_t>(ch - L'A' + L'a');
    }
    return str;
}

} // namespace

CLanguageSection::CLanguageSection(const wchar_t* pBlock, size_t nChars) {
    size_t nPos = 0;
    while (pBlock && nPos < nChars && pBlock[nPos] != L'\0') {
        size_t nEnd = nPos;
        while (nEnd < nChars && pBlock[nEnd] != L'\0')
            ++nEnd;
        const std::wstring strLine(pBlock + nPos, nEnd - nPos);
        nPos = nEnd + 1;
        const size_t nEquals = strLine.find(L'=');
        const std::wstring strKey = Trimmed(strLine.substr(0, nEquals));
        if (!IsPlainKey(strKey))
            continue;
        Entry entry;
        if (nEquals == std::wstring::npos) {
            entry.bPlain = false;
        } else {
            entry.strValue = Trimmed(strLine.substr(nEquals + 1));
            // The profile functions take the quotes off a quoted value.
            entry.bPlain =
                entry.strValue.empty() || (entry.strValue.front() != L'"' && entry.strValue.front() != L'\'');
            entry.strValue = entry.strValue.substr(0, kLanguageTextMaxChars);
        }
        // The first of two entries with one key is the one found.
        m_entries.emplace(AsciiLower(strKey), std::move(entry));
    }
}

std::optional<std::wstring> CLanguageSection::Find(const std::wstring& strKey) const {
    if (!IsPlainKey(strKey))
        return std::nullopt;
    auto it = m_entries.find(AsciiLower(strKey));
    if (it == m_entries.end())
        return strKey;
    if (!it->second.bPlain)
        return std::nullopt;
    return it->second.strValue;
}
