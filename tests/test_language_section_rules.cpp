// A language pack's section read once answers each key as the profile functions would, or leaves it to them.
#include <gtest/gtest.h>

#include "common/LanguageSectionRules.h"

namespace {

using namespace std::string_literals;

CLanguageSection Section(const std::wstring& strBlock) {
    return CLanguageSection(strBlock.c_str(), strBlock.size());
}

TEST(LanguageSectionRules, KeysAreFoundIgnoringCaseAndBlanksAndTheFirstOfTwoWins) {
    const std::wstring strLong(1030, L'x'), strLongest(1022, L'k'), strTooLong(1023, L'k');
    const CLanguageSection section =
        Section(L"OK=\u786e\u5b9a\0 Cancel \t= \u53d6\u6d88 \0ok=second\0Empty=\t\0Long="s + strLong +
                L"\0AZ~ :=1\0"s + strLongest + L"=2\0\0"s);
    struct Row {
        std::wstring strKey;
        std::optional<std::wstring> found;
    };
    for (const Row& row : {Row{L"OK", L"\u786e\u5b9a"}, Row{L"oK", L"\u786e\u5b9a"},
                           Row{L"CANCEL", L"\u53d6\u6d88"}, Row{L"Empty", L""}, Row{L"Missing", L"Missing"},
                           Row{L"Long", strLong.substr(0, 1022)}, Row{L"az~ :", L"1"}, Row{strLongest, L"2"},
                           // What only the profile functions can say.
                           Row{L" OK", std::nullopt}, Row{L"\u786e\u5b9a", std::nullopt},
                           Row{L"a=b", std::nullopt}, Row{L"", std::nullopt}, Row{L"a\x7f", std::nullopt},
                           Row{L"a\x1f", std::nullopt}, Row{strTooLong, std::nullopt}})
        EXPECT_EQ(row.found, section.Find(row.strKey)) << row.strKey.size();
}

TEST(LanguageSectionRules, QuotedValuesAndLinesWithoutValueAreLeftToTheProfileFunctions) {
    const CLanguageSection section = Section(L"A=\"x\"\0B='y'\0C\0D=z\0\0"s);
    for (const wchar_t* pszKey : {L"A", L"B", L"C"})
        EXPECT_EQ(std::nullopt, section.Find(pszKey)) << pszKey;
    EXPECT_EQ(L"z", section.Find(L"D"));
    // Only the characters the functions wrote are read, whether or not the block ends in two nulls.
    const std::wstring strCut = L"E=1\0F=2"s;
    EXPECT_EQ(L"1", CLanguageSection(strCut.c_str(), 7).Find(L"E"));
    EXPECT_EQ(L"F", CLanguageSection(strCut.c_str(), 3).Find(L"F"));
    EXPECT_EQ(L"G", CLanguageSection(nullptr, 0).Find(L"G"));
}

} // namespace
