// Language lookup and the host's settings files, against real files in the test program's directory.
#include <gtest/gtest.h>

#include "Plugin.h"
#include "common/LanguageFile.h"
#include "common/Settings.h"

namespace {

// The tests write the host's files next to the test program; whatever a person left there comes back.
class KeepFile {
public:
    explicit KeepFile(std::wstring strPath)
        : m_strPath(std::move(strPath)), m_strSaved(ReadTextFile(m_strPath)) {
        m_bExisted = ::GetFileAttributesW(m_strPath.c_str()) != INVALID_FILE_ATTRIBUTES;
    }
    ~KeepFile() {
        if (m_bExisted) {
            size_t nSlash = m_strPath.find_last_of(L'\\');
            ::CreateDirectoryW(m_strPath.substr(0, nSlash).c_str(), nullptr);
            WriteTextFile(m_strPath, m_strSaved);
        }
    }

private:
    std::wstring m_strPath;
    std::string m_strSaved;
    bool m_bExisted = false;
};

class LanguageFileTest : public ::testing::Test {
protected:
    void SetUp() override {
        strDir = TestExeDir() + L"LangTest\\";
        ::CreateDirectoryW(strDir.c_str(), nullptr);
        language.m_strIniPath = strDir + L"Pivora.ini";
    }
    void TearDown() override {
        ::DeleteFileW(language.m_strIniPath.c_str());
        ::RemoveDirectoryW(strDir.c_str());
    }
    std::wstring strDir;
    CLanguageFile language;
};

TEST_F(LanguageFileTest, MissingFileOrPathShowsTheKeyWithLineBreaks) {
    EXPECT_EQ(L"Cancel", language.Translate(L"Cancel"));
    EXPECT_EQ(L"First\nSecond\n", language.Translate(L"First\\nSecond\\n"));
    language.m_strIniPath.clear();
    EXPECT_EQ(L"Cancel", language.Translate(L"Cancel"));
    EXPECT_EQ(L"", language.Translate(L""));
}

TEST_F(LanguageFileTest, ValuesAreLookedUpAsTheProfileReaderDoes) {
    WriteUtf16File(language.m_strIniPath, L"[other]\r\nCancel=wrong section\r\n"
                                          L"[lang]\r\nCANCEL=取消\r\nTwo lines=上\\n下\r\nBlank=\r\n"
                                          L"Quoted=\"in quotes\"\r\nKey\\nwith break=键\r\n");
    EXPECT_EQ(L"取消", language.Translate(L"Cancel"));
    EXPECT_EQ(L"上\n下", language.Translate(L"Two lines"));
    EXPECT_EQ(L"", language.Translate(L"Blank"));
    EXPECT_EQ(L"in quotes", language.Translate(L"Quoted"));
    EXPECT_EQ(L"键", language.Translate(L"Key\\nwith break"));
    EXPECT_EQ(L"Not\nthere", language.Translate(L"Not\\nthere"));
}

TEST_F(LanguageFileTest, LongTranslationsAreCutTo1022Characters) {
    std::wstring strLong(1500, L'x');
    strLong[1021] = L'E';
    WriteUtf16File(language.m_strIniPath, L"[LANG]\r\nLong=" + strLong + L"\r\n");
    std::wstring strText = language.Translate(L"Long");
    EXPECT_EQ(1022u, strText.size());
    EXPECT_EQ(L'E', strText.back());
}

TEST_F(LanguageFileTest, WindowTextsAreTranslatedInPlaceButEmptyOnesAreLeftAlone) {
    WriteUtf16File(language.m_strIniPath, L"[LANG]\r\nLabel=标签\r\n=should never show\r\n");
    HWND hWnd =
        ::CreateWindowW(L"STATIC", L"Label", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr, nullptr, nullptr);
    HWND hEmpty = ::CreateWindowW(L"STATIC", L"", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr, nullptr, nullptr);
    language.TranslateWindowText(hWnd);
    language.TranslateWindowText(hEmpty);
    wchar_t szText[64] = {};
    ::GetWindowTextW(hWnd, szText, 64);
    EXPECT_STREQ(L"标签", szText);
    ::GetWindowTextW(hEmpty, szText, 64);
    EXPECT_STREQ(L"", szText);
    ::DestroyWindow(hWnd);
    ::DestroyWindow(hEmpty);
}

TEST(Settings, ExeDirIsTheProgramsFolderWithItsBackslash) {
    std::wstring strDir = GetExeDir();
    ASSERT_FALSE(strDir.empty());
    EXPECT_EQ(L'\\', strDir.back());
    EXPECT_EQ(TestExeDir(), strDir);
}

TEST(Settings, TempIniIsWrittenIntoTheDataFolderOnlyWhenItExists) {
    std::wstring strData = GetExeDir() + L"Data";
    std::wstring strIni = strData + L"\\Temp.ini";
    KeepFile keep(strIni);
    ::DeleteFileW(strIni.c_str());
    ::RemoveDirectoryW(strData.c_str());

    WriteTempIniInt(L"PRINT", L"NOT_PRINT_CONFIRM", 1); // no Data folder: nothing, and no folder made
    EXPECT_EQ(INVALID_FILE_ATTRIBUTES, ::GetFileAttributesW(strData.c_str()));

    ::CreateDirectoryW(strData.c_str(), nullptr);
    WriteTempIniInt(L"PRINT", L"NOT_PRINT_CONFIRM", 1);
    EXPECT_EQ(1u, ::GetPrivateProfileIntW(L"PRINT", L"NOT_PRINT_CONFIRM", 7, strIni.c_str()));
    WriteTempIniInt(L"PRINT", L"NOT_PRINT_CONFIRM", -3);
    wchar_t szValue[16] = {};
    ::GetPrivateProfileStringW(L"PRINT", L"NOT_PRINT_CONFIRM", L"", szValue, 16, strIni.c_str());
    EXPECT_STREQ(L"-3", szValue);

    ::DeleteFileW(strIni.c_str());
    ::RemoveDirectoryW(strData.c_str());
}

TEST(Settings, ProjectUnitIsReadOnlyWhenTheFileExists) {
    std::wstring strProject = GetExeDir() + L"Project.ini";
    KeepFile keep(strProject);
    ::DeleteFileW(strProject.c_str());
    EXPECT_EQ(0, ReadProjectUnit());
    WriteTextFile(strProject, "[UNIT]\r\nUNIT_SEL=2\r\n");
    EXPECT_EQ(2, ReadProjectUnit());
    ::DeleteFileW(strProject.c_str());
}

} // namespace
