// A language pack's section read once, for translating the many texts of one dialog: the profile functions
// read the file again for every key. Keys are looked up as those functions look them up; a key or value
// they would treat in a way of their own (text outside printable ASCII, surrounding spaces, a quoted value,
// a line without '=') is left to them.
#pragma once

#include <optional>
#include <string>
#include <unordered_map>

// Longest translation the profile functions hand back into the module's buffer.
constexpr size_t kLanguageTextMaxChars = 1022;

class CLanguageSection {
public:
    // pBlock: the section as the profile functions return it, "key=value" entries each ending in a null,
    // the whole ending in a second null; nChars: the characters they wrote (the block is not read past it).
    CLanguageSection(const wchar_t* pBlock, size_t nChars);

    // The translation when this section can answer for the key as the profile functions would: the text,
    // or the key itself when the section has no such key. Nothing when only they can answer.
    std::optional<std::wstring> Find(const std::wstring& strKey) const;

private:
    struct Entry {
        std::wstring strValue;
        bool bPlain = true; // false: only the profile functions know what they return for it
    };
    std::unordered_map<std::wstring, Entry> m_entries; // by key in ASCII lower case
};
