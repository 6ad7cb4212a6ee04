// Language lookup and the host's settings files, against real files in the test program's directory.
#include <gtest/gtest.h>

#include <algorithm>

#include "Plugin.h"
#include "ScriptedOperator.h"
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

// Counts the texts set on the windows it is installed on.
int g_nSetTexts = 0;
WNDPROC g_pfnStatic = nullptr;
LRESULT CALLBACK CountingProc(HWND hWnd, UINT nMsg, WPARAM wParam, LPARAM lParam) {
    if (nMsg == WM_SETTEXT)
        ++g_nSetTexts;
    return ::CallWindowProcW(g_pfnStatic, hWnd, nMsg, wParam, lParam);
}
HWND CountingStatic(const wchar_t* pszText) {
    HWND hWnd =
        ::CreateWindowW(L"STATIC", pszText, WS_POPUP, 0, 0, 10, 10, nullptr, nullptr, nullptr, nullptr);
    g_pfnStatic = reinterpret_cast<WNDPROC>(
        ::SetWindowLongPtrW(hWnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&CountingProc)));
    return hWnd;
}

TEST_F(LanguageFileTest, WindowTextsAreSetEvenWhenUnchangedButEmptyOnesAreNotTouched) {
    WriteUtf16File(language.m_strIniPath, L"[LANG]\r\nLabel=标签\r\nSame=Same\r\n");
    HWND hWnd = CountingStatic(L"Label"), hSame = CountingStatic(L"Same"), hEmpty = CountingStatic(L"");
    g_nSetTexts = 0;
    language.TranslateWindowText(hWnd);
    language.TranslateWindowText(hSame);
    EXPECT_EQ(2, g_nSetTexts);
    language.TranslateWindowText(hEmpty);
    EXPECT_EQ(2, g_nSetTexts);
    wchar_t szText[64] = {};
    ::GetWindowTextW(hWnd, szText, 64);
    EXPECT_STREQ(L"标签", szText);
    for (HWND h : {hWnd, hSame, hEmpty})
        ::DestroyWindow(h);
}

TEST(Settings, ExeDirIsTheProgramsFolderWithItsBackslash) {
    std::wstring strDir = GetExeDir();
    ASSERT_FALSE(strDir.empty());
    EXPECT_EQ(L'\\', strDir.back());
    EXPECT_EQ(TestExeDir(), strDir);
}

TEST(Settings, TheHostsFilesAreFoundBesideTheProgramEvenWhenTheModuleLivesElsewhere) {
    // The module in a folder of its own, with a decoy language pack beside it.
    std::wstring strModuleDir = TestExeDir() + L"ModuleElsewhere\\";
    std::wstring strHostPack = TestExeDir() + L"Lang\\Probe\\";
    std::wstring strDecoyPack = strModuleDir + L"Lang\\Probe\\";
    for (const std::wstring& strDir :
         {TestExeDir() + L"Lang", strHostPack, strModuleDir, strModuleDir + L"Lang", strDecoyPack})
        ::CreateDirectoryW(strDir.c_str(), nullptr);
    ASSERT_TRUE(
        ::CopyFileW((TestExeDir() + L"Pivora.dll").c_str(), (strModuleDir + L"Pivora.dll").c_str(), FALSE));
    WriteUtf16File(strHostPack + L"Pivora.ini", L"[LANG]\r\nSupply Ink Timeout Tip=host pack\r\n");
    WriteUtf16File(strDecoyPack + L"Pivora.ini", L"[LANG]\r\nSupply Ink Timeout Tip=module pack\r\n");
    std::wstring strCaption;
    {
        HMODULE hModule = ::LoadLibraryW((strModuleDir + L"Pivora.dll").c_str());
        ASSERT_NE(nullptr, hModule);
        auto pfnNew = reinterpret_cast<PFN_NewInterface>(
            reinterpret_cast<void (*)()>(::GetProcAddress(hModule, "NewInterface")));
        auto pfnRelease = reinterpret_cast<PFN_ReleaseInterface>(
            reinterpret_cast<void (*)()>(::GetProcAddress(hModule, "ReleaseInterface")));
        SimMachine machine;
        CPivoraProcVirtual* p = pfnNew();
        LanguageRecord record = {};
        std::u16string strFolder = u"Probe";
        std::copy(strFolder.begin(), strFolder.end(), record.szFolderName);
        p->SetLanguage(&record);
        p->SetHostInterface(&machine);
        Operator op;
        op.Then([&](HWND hDlg) {
            strCaption = CaptionOf(hDlg);
            ::PostMessageW(hDlg, WM_COMMAND, IDCANCEL, 0);
        });
        op.Start();
        p->ShowSupplyInkTimeout();
        pfnRelease(p);
        ::FreeLibrary(hModule);
    }
    EXPECT_EQ(L"host pack", strCaption);
    ::DeleteFileW((strModuleDir + L"Pivora.dll").c_str());
    for (const std::wstring& strDir : {strDecoyPack, strHostPack}) {
        ::DeleteFileW((strDir + L"Pivora.ini").c_str());
        ::RemoveDirectoryW(strDir.c_str());
    }
    ::RemoveDirectoryW((strModuleDir + L"Lang").c_str());
    ::RemoveDirectoryW(strModuleDir.c_str());
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
