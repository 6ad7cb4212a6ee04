#include "AnsiText.h"

std::wstring AnsiToWide(const char* pszText, UINT nCodePage) {
    if (!pszText)
        return {};
    int nLen = ::MultiByteToWideChar(nCodePage, 0, pszText, -1, nullptr, 0);
    if (nLen <= 1)
        return {};
    std::wstring strWide(static_cast<size_t>(nLen), L'\0');
    if (::MultiByteToWideChar(nCodePage, 0, pszText, -1, strWide.data(), nLen) != nLen)
        return {};
    strWide.resize(static_cast<size_t>(nLen - 1));
    return strWide;
}

std::string WideToAnsi(const std::wstring& strText, UINT nCodePage) {
    int nLen = ::WideCharToMultiByte(nCodePage, 0, strText.c_str(), -1, nullptr, 0, nullptr, nullptr);
    if (nLen <= 1)
        return {};
    std::string strAnsi(static_cast<size_t>(nLen), '\0');
    if (::WideCharToMultiByte(nCodePage, 0, strText.c_str(), -1, strAnsi.data(), nLen, nullptr, nullptr) !=
        nLen)
        return {};
    strAnsi.resize(static_cast<size_t>(nLen - 1));
    return strAnsi;
}
