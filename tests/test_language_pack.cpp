// Every text the module shows in English has a translation in the Chinese pack: the texts of every dialog
// template in Pivora.dll and every key the code translates.
#include <gtest/gtest.h>

#include <algorithm>
#include <cwctype>
#include <filesystem>
#include <fstream>
#include <regex>
#include <set>

#include "Plugin.h"
#include "ScriptedOperator.h"

namespace {

std::wstring Lower(std::wstring str) {
    std::transform(str.begin(), str.end(), str.begin(),
                   [](wchar_t c) { return static_cast<wchar_t>(std::towlower(c)); });
    return str;
}

const wchar_t* SkipSzOrOrd(const wchar_t* p, std::wstring* pText = nullptr) {
    if (*p == 0xFFFF)
        return p + 2;
    std::wstring str;
    while (*p)
        str += *p++;
    if (pText)
        *pText = str;
    return p + 1;
}

// Caption and control texts of an extended dialog template.
std::vector<std::wstring> TemplateTexts(HMODULE hModule, int nId) {
    HRSRC hRes = ::FindResourceW(hModule, MAKEINTRESOURCEW(nId), reinterpret_cast<LPCWSTR>(RT_DIALOG));
    if (!hRes)
        return {};
    auto* pBase = static_cast<const BYTE*>(::LockResource(::LoadResource(hModule, hRes)));
    auto* pWords = reinterpret_cast<const WORD*>(pBase);
    EXPECT_EQ(0xFFFF, pWords[1]) << "template " << nId << " is not an extended template";
    WORD nItems = pWords[8];
    const wchar_t* p = reinterpret_cast<const wchar_t*>(pBase + 26);
    p = SkipSzOrOrd(p); // menu
    p = SkipSzOrOrd(p); // class
    std::vector<std::wstring> texts(1);
    p = SkipSzOrOrd(p, &texts[0]);
    p += 3;             // point size, weight, italic + charset
    p = SkipSzOrOrd(p); // face name
    for (WORD i = 0; i < nItems; ++i) {
        auto addr = reinterpret_cast<uintptr_t>(p);
        p = reinterpret_cast<const wchar_t*>((addr + 3) & ~uintptr_t(3));
        p = reinterpret_cast<const wchar_t*>(reinterpret_cast<const BYTE*>(p) + 24);
        p = SkipSzOrOrd(p); // class
        std::wstring strText;
        p = SkipSzOrOrd(p, &strText);
        if (!strText.empty())
            texts.push_back(strText);
        WORD nExtra = *p++;
        p = reinterpret_cast<const wchar_t*>(reinterpret_cast<const BYTE*>(p) + nExtra);
    }
    return texts;
}

std::set<std::wstring> PackKeys() {
    std::string data = ReadTextFile(TestExeDir() + L"Lang\\Chs\\Pivora.ini");
    EXPECT_GE(data.size(), 2u);
    EXPECT_EQ("\xFF\xFE", data.substr(0, 2)) << "the pack must be UTF-16LE with a byte order mark";
    std::wstring text(reinterpret_cast<const wchar_t*>(data.data() + 2), (data.size() - 2) / 2);
    std::set<std::wstring> keys;
    size_t nStart = 0;
    while (nStart < text.size()) {
        size_t nEnd = text.find(L'\n', nStart);
        std::wstring line =
            text.substr(nStart, nEnd == std::wstring::npos ? std::wstring::npos : nEnd - nStart);
        nStart = nEnd == std::wstring::npos ? text.size() : nEnd + 1;
        if (!line.empty() && line.back() == L'\r')
            line.pop_back();
        size_t nEq = line.find(L'=');
        if (nEq != std::wstring::npos && nEq > 0) {
            EXPECT_LT(nEq + 1, line.size()) << "empty translation for " << Narrow(line);
            keys.insert(Lower(line.substr(0, nEq)));
        }
    }
    return keys;
}

// Literal keys that the code translates: g_languageFile.Translate(L"...") and the framework's AfxTranslate.
std::set<std::wstring> CodeKeys() {
    std::set<std::wstring> keys;
    std::regex pattern(R"re(Translate\(\s*L"((?:[^"\\]|\\.)*)"\s*\))re");
    std::filesystem::path root = std::filesystem::path("Z:" PIVORA_SOURCE_DIR);
    for (const char* pszDir : {"platform", "common", "plugin", "dialogs"}) {
        if (!std::filesystem::exists(root / pszDir))
            continue;
        for (const auto& entry : std::filesystem::recursive_directory_iterator(root / pszDir)) {
            if (entry.path().extension() != ".cpp" && entry.path().extension() != ".h")
                continue;
            std::ifstream in(entry.path(), std::ios::binary);
            std::string source((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
            for (std::sregex_iterator it(source.begin(), source.end(), pattern), end; it != end; ++it) {
                std::string key = (*it)[1].str();
                // Source escapes as the compiler reads them: \" and \\ become one character.
                std::string unescaped;
                for (size_t i = 0; i < key.size(); ++i) {
                    if (key[i] == '\\' && i + 1 < key.size() && (key[i + 1] == '"' || key[i + 1] == '\\'))
                        ++i;
                    unescaped += key[i];
                }
                int nLen = ::MultiByteToWideChar(CP_UTF8, 0, unescaped.c_str(), -1, nullptr, 0);
                std::wstring wide(static_cast<size_t>(nLen), L'\0');
                ::MultiByteToWideChar(CP_UTF8, 0, unescaped.c_str(), -1, wide.data(), nLen);
                wide.resize(wide.size() - 1);
                if (!wide.empty())
                    keys.insert(wide);
            }
        }
    }
    return keys;
}

TEST(LanguagePack, HoldsEveryTemplateText) {
    HMODULE hModule =
        ::LoadLibraryExW((TestExeDir() + L"Pivora.dll").c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
    ASSERT_NE(nullptr, hModule);
    std::set<std::wstring> pack = PackKeys();
    int nTemplates = 0;
    for (int nId : {173, 194, 220, 10000, 10058, 10059, 10060, 10061, 10064}) {
        std::vector<std::wstring> texts = TemplateTexts(hModule, nId);
        EXPECT_FALSE(texts.empty()) << "template " << nId << " is missing";
        nTemplates += texts.empty() ? 0 : 1;
        for (const auto& strText : texts)
            EXPECT_TRUE(pack.count(Lower(strText)))
                << "template " << nId << ": no translation for \"" << Narrow(strText) << "\"";
    }
    EXPECT_EQ(9, nTemplates);
    ::FreeLibrary(hModule);
}

TEST(LanguagePack, HoldsEveryKeyTheCodeTranslates) {
    std::set<std::wstring> pack = PackKeys();
    std::set<std::wstring> code = CodeKeys();
    EXPECT_GE(code.size(), 3u) << "the source scan found nothing: is the source folder reachable?";
    for (const auto& strKey : code)
        EXPECT_TRUE(pack.count(Lower(strKey))) << "no translation for \"" << Narrow(strKey) << "\"";
}

} // namespace
