// The operator's language: how a text is looked up in a pack, which pack an interface object selects, where
// the host's files are found, and the host's settings file.
#include <gtest/gtest.h>

#include "Plugin.h"
#include "ScriptedOperator.h"
#include "common/LanguageFile.h"
#include "common/Settings.h"

namespace {

TEST(LanguageFile, TextsAreLookedUpAsTheProfileReaderDoesAndAMissingOneShowsItsKey) {
    std::wstring strDir = TestExeDir() + L"LangTest\\", strLong(1500, L'x');
    strLong[1021] = L'E';
    const std::wstring strCut = strLong.substr(0, 1022); // the profile reader's buffer
    ::CreateDirectoryW(strDir.c_str(), nullptr);
    CLanguageFile language;
    language.m_strIniPath = strDir + L"Pivora.ini";
    struct Case {
        const wchar_t *pszKey, *pszText;
    };
    const Case kWithoutFile[] = {
        {L"Cancel", L"Cancel"}, {L"First\\nSecond\\n", L"First\nSecond\n"}, {L"", L""}};
    for (const Case& c : kWithoutFile)
        EXPECT_EQ(c.pszText, language.Translate(c.pszKey)) << Narrow(c.pszKey);
    WriteUtf16File(language.m_strIniPath, L"[other]\r\nCancel=wrong section\r\n"
                                          L"[lang]\r\nTwo lines=上\\n下\r\nKey\\nwith break=键\r\nLong=" +
                                              strLong + L"\r\n");
    const Case kWithFile[] = {{L"Cancel", L"Cancel"},
                              {L"Two lines", L"上\n下"},
                              {L"Key\\nwith break", L"键"},
                              {L"Not\\nthere", L"Not\nthere"},
                              {L"Long", strCut.c_str()}};
    for (const Case& c : kWithFile)
        EXPECT_EQ(c.pszText, language.Translate(c.pszKey)) << Narrow(c.pszKey);
    ::DeleteFileW(language.m_strIniPath.c_str());
    ::RemoveDirectoryW(strDir.c_str());
}

// Caption and every child text of the print mode dialog, opened through the given interface object.
std::vector<std::wstring> ShownTexts(PluginSession& session) {
    SimMachine& machine = *session.m_pMachine;
    machine.m_printer.Parameter(kParamPrintModeAsk).m_nValue = 1;
    machine.m_printer.m_modeTable.List(1).Add("A");
    machine.m_printer.m_modeTable.List(1).Add("B");
    SimTask& task = machine.AddTask("t", 1, 0);
    std::vector<std::wstring> texts;
    Leaving([&] { return session->ConfirmPrintMode(&task); }, VK_ESCAPE,
            [&](HWND hDlg) {
                texts.push_back(CaptionOf(hDlg));
                for (HWND h = ::GetWindow(hDlg, GW_CHILD); h; h = ::GetWindow(h, GW_HWNDNEXT))
                    texts.push_back(CaptionOf(h));
            });
    return texts;
}

TEST(LanguageSelection, AnyInterfaceObjectSelectsThePackForAllNullTheChineseOneAndNoneEnglish) {
    std::wstring strPack = TestExeDir() + L"Lang\\Pl1";
    ::CreateDirectoryW((TestExeDir() + L"Lang").c_str(), nullptr);
    ::CreateDirectoryW(strPack.c_str(), nullptr);
    WriteUtf16File(strPack + L"\\Pivora.ini",
                   L"[LANG]\r\nPrint mode setting=Mode of printing\r\nprint mode:=\r\nOK=\"Go\"\r\n");
    {
        PluginSession session(L"English");
        session.NewInterface()->SetLanguage(nullptr); // the last choice counts, whoever made it
        InterfacePtr pOther = session.NewInterface();
        LanguageRecord record = {};
        std::u16string(u"Pl1").copy(record.szFolderName, 3);
        pOther->SetLanguage(&record);
        // Keys match without regard to case; an empty value blanks the label; quotes around a value go;
        // a text missing from the pack keeps its English.
        EXPECT_EQ(
            (std::vector<std::wstring>{L"Mode of printing", L"Go", L"Cancel", L"", L"A", L"No more hints"}),
            ShownTexts(session));
    }
    ::DeleteFileW((strPack + L"\\Pivora.ini").c_str());
    ::RemoveDirectoryW(strPack.c_str());
    for (bool bNullRecord : {true, false}) {
        PluginSession session(nullptr); // alone: the module starts over
        if (bNullRecord)
            session->SetLanguage(nullptr);
        std::vector<std::wstring> texts = ShownTexts(session);
        EXPECT_EQ(bNullRecord ? L"打印模式设置" : L"Print mode setting", texts.empty() ? L"" : texts[0]);
    }
}

TEST(Settings, TheHostsFilesAreFoundBesideTheProgramEvenWhenTheModuleLivesElsewhere) {
    // The module in a folder of its own, with a decoy language pack beside it.
    std::wstring strModuleDir = TestExeDir() + L"ModuleElsewhere\\";
    const std::wstring kPacks[] = {TestExeDir() + L"Lang\\Probe\\", strModuleDir + L"Lang\\Probe\\"};
    for (const std::wstring& strDir :
         {TestExeDir() + L"Lang", kPacks[0], strModuleDir, strModuleDir + L"Lang", kPacks[1]})
        ::CreateDirectoryW(strDir.c_str(), nullptr);
    ASSERT_TRUE(
        ::CopyFileW((TestExeDir() + L"Pivora.dll").c_str(), (strModuleDir + L"Pivora.dll").c_str(), FALSE));
    WriteUtf16File(kPacks[0] + L"Pivora.ini", L"[LANG]\r\nSupply Ink Timeout Tip=host pack\r\n");
    WriteUtf16File(kPacks[1] + L"Pivora.ini", L"[LANG]\r\nSupply Ink Timeout Tip=module pack\r\n");
    std::wstring strCaption;
    {
        LoadedPlugin plugin(strModuleDir + L"Pivora.dll");
        SimMachine machine;
        InterfacePtr p(plugin.m_pfnNew(), InterfaceDeleter{plugin.m_pfnRelease});
        LanguageRecord record = {};
        std::u16string(u"Probe").copy(record.szFolderName, 5);
        p->SetLanguage(&record);
        p->SetHostInterface(&machine);
        Leaving([&] { return p->ShowSupplyInkTimeout(); }, VK_ESCAPE,
                [&](HWND hDlg) { strCaption = CaptionOf(hDlg); });
    }
    EXPECT_EQ(L"host pack", strCaption);
    ::DeleteFileW((strModuleDir + L"Pivora.dll").c_str());
    for (const std::wstring& strDir : kPacks) {
        ::DeleteFileW((strDir + L"Pivora.ini").c_str());
        ::RemoveDirectoryW(strDir.c_str());
    }
    ::RemoveDirectoryW((strModuleDir + L"Lang").c_str());
    ::RemoveDirectoryW(strModuleDir.c_str());
}

TEST(Settings, TempIniIsWrittenIntoTheDataFolderOnlyWhenItExists) {
    // Whatever a person left next to the test program comes back.
    std::wstring strData = GetExeDir() + L"Data", strIni = strData + L"\\Temp.ini";
    const bool bExisted = ::GetFileAttributesW(strIni.c_str()) != INVALID_FILE_ATTRIBUTES;
    const std::string strSaved = ReadTextFile(strIni);
    ::DeleteFileW(strIni.c_str());
    ::RemoveDirectoryW(strData.c_str());
    WriteTempIniInt(L"PRINT", L"NOT_PRINT_CONFIRM", 1); // no Data folder: nothing, and no folder made
    EXPECT_EQ(INVALID_FILE_ATTRIBUTES, ::GetFileAttributesW(strData.c_str()));
    ::CreateDirectoryW(strData.c_str(), nullptr);
    WriteTempIniInt(L"PRINT", L"NOT_PRINT_CONFIRM", -3);
    wchar_t szValue[16] = {};
    ::GetPrivateProfileStringW(L"PRINT", L"NOT_PRINT_CONFIRM", L"", szValue, 16, strIni.c_str());
    EXPECT_STREQ(L"-3", szValue);
    ::DeleteFileW(strIni.c_str());
    if (bExisted)
        WriteTextFile(strIni, strSaved);
    else
        ::RemoveDirectoryW(strData.c_str());
}

} // namespace
