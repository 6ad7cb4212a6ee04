// Every text the module shows in English has a translation in the Chinese pack: the texts of every dialog
// template in Pivora.dll and every key the code translates.

#include <cwchar>
#include <cwctype>
#include <filesystem>
#include <fstream>
#include <regex>
#include <set>
#include <sstream>

#include "Plugin.h"

namespace {

std::wstring Lower(std::wstring str) {
    std::transform(str.begin(), str.end(), str.begin(), [](wchar_t c) { return wchar_t(std::towlower(c)); });
    return str;
}

std::vector<std::wstring> TemplateTexts(HMODULE hModule, int nId) {
    HRSRC hRes = ::FindResourceW(hModule, MAKEINTRESOURCEW(nId), reinterpret_cast<LPCWSTR>(RT_DIALOG));
    if (!hRes)
        return {};
    auto* pWords = static_cast<const WORD*>(::LockResource(::LoadResource(hModule, hRes)));
    EXPECT_EQ(0xFFFF, pWords[1]) << "template " << nId << " is not an extended template";
    // A string, or an ordinal (0xFFFF and a word); the string goes to *pText.
    auto skip = [](const wchar_t* p, std::wstring* pText = nullptr) {
        if (*p == 0xFFFF)
            return p + 2;
        if (pText)
            *pText = p;
        return p + std::wcslen(p) + 1;
    };
    std::vector<std::wstring> texts(1);
    // Menu, class, caption; point size, weight, italic and charset; face name.
    const wchar_t* p = skip(skip(reinterpret_cast<const wchar_t*>(pWords + 13)));
    p = skip(skip(p, &texts[0]) + 3);
    for (WORD i = 0; i < pWords[8]; ++i) {
        // Each item on a DWORD boundary: 24 bytes of numbers, class, text, extra bytes.
        p = reinterpret_cast<const wchar_t*>(((reinterpret_cast<uintptr_t>(p) + 3) & ~uintptr_t(3)) + 24);
        std::wstring strText;
        p = skip(skip(p), &strText);
        if (!strText.empty())
            texts.push_back(strText);
        p = reinterpret_cast<const wchar_t*>(reinterpret_cast<const BYTE*>(p + 1) + *p);
    }
    return texts;
}

TEST(LanguagePack, HoldsEveryTemplateTextAndEveryKeyTheCodeTranslates) {
    std::string data = ReadTextFile(TestExeDir() + L"Lang\\Chs\\Pivora.ini");
    EXPECT_EQ("\xFF\xFE", data.substr(0, 2)) << "the pack must be UTF-16LE with a byte order mark";
    std::wistringstream text(
        std::wstring(reinterpret_cast<const wchar_t*>(data.data() + 2), (data.size() - 2) / 2));
    std::set<std::wstring> pack;
    for (std::wstring line; std::getline(text, line);) {
        size_t nEq = line.find(L'=');
        if (nEq != std::wstring::npos && nEq > 0) {
            EXPECT_LT(nEq + 1, line.size() - (line.back() == L'\r'))
                << "empty translation for " << Narrow(line);
            pack.insert(Lower(line.substr(0, nEq)));
        }
    }
    HMODULE hModule =
        ::LoadLibraryExW((TestExeDir() + L"Pivora.dll").c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
    ASSERT_NE(nullptr, hModule);
    for (int nId : {173, 194, 220, 10000, 10058, 10059, 10060, 10061, 10064}) {
        std::vector<std::wstring> texts = TemplateTexts(hModule, nId);
        EXPECT_FALSE(texts.empty()) << "template " << nId << " is missing";
        for (const auto& strText : texts)
            EXPECT_TRUE(pack.count(Lower(strText)))
                << "template " << nId << ": no translation for \"" << Narrow(strText) << "\"";
    }
    ::FreeLibrary(hModule);

    // Literal keys that the code translates: g_languageFile.Translate(L"...") and the framework's
    // AfxTranslate, with source escapes as the compiler reads them (\" and \\ become one character).
    const std::regex pattern(R"re(Translate\(\s*L"((?:[^"\\]|\\.)*)"\s*\))re"), escape(R"(\\(["\\]))");
    size_t nKeys = 0;
    for (const char* pszDir : {"platform", "common", "plugin", "dialogs"})
        for (const auto& entry : std::filesystem::recursive_directory_iterator(
                 std::filesystem::path("Z:" PIVORA_SOURCE_DIR) / pszDir)) {
            if (entry.path().extension() != ".cpp" && entry.path().extension() != ".h")
                continue;
            std::ifstream in(entry.path(), std::ios::binary);
            std::string source((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
            for (std::sregex_iterator it(source.begin(), source.end(), pattern), end; it != end; ++it) {
                std::string key = std::regex_replace((*it)[1].str(), escape, "$1");
                std::wstring wide(key.size(), L'\0');
                wide.resize(size_t(::MultiByteToWideChar(CP_UTF8, 0, key.data(), int(key.size()), wide.data(),
                                                         int(wide.size()))));
                nKeys += !wide.empty();
                EXPECT_TRUE(wide.empty() || pack.count(Lower(wide)))
                    << "no translation for \"" << key << "\"";
            }
        }
    EXPECT_GE(nKeys, 3u) << "the source scan found nothing: is the source folder reachable?";
}

} // namespace
