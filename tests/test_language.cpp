// The operator's language: how a text is looked up in a pack, which pack an interface object selects, where
// the host's files are found, and the host's settings file.

#include "Plugin.h"
#include "common/LanguageFile.h"
#include "common/Settings.h"

namespace {

TEST(LanguageFile, TextsAreLookedUpAsTheProfileReaderDoesAndAMissingOneShowsItsKey) {
    std::wstring strDir = TestExeDir() + L"LangTest\\", strLong(1500, L'x');
    strLong[1021] = L'E';
    ::CreateDirectoryW(strDir.c_str(), nullptr);
    CLanguageFile language;
    language.m_strIniPath = strDir + L"Pivora.ini";
    // Without a file, then with one; the long value is cut to the profile reader's buffer.
    const std::vector<std::pair<std::wstring, std::wstring>> kCases[] = {
        {{L"Cancel", L"Cancel"}, {L"First\\nSecond\\n", L"First\nSecond\n"}, {L"", L""}},
        {{L"Cancel", L"Cancel"},
         {L"Two lines", L"上\n下"},
         {L"Key\\nwith break", L"键"},
         {L"Not\\nthere", L"Not\nthere"},
         {L"Long", strLong.substr(0, 1022)}}};
    for (const auto& cases : kCases) {
        for (const auto& [strKey, strText] : cases)
            EXPECT_EQ(strText, language.Translate(strKey.c_str())) << Narrow(strKey);
        WriteUtf16File(language.m_strIniPath,
                       L"[other]\r\nCancel=wrong section\r\n[lang]\r\nTwo lines=上\\n下\r\n"
                       L"Key\\nwith break=键\r\nLong=" +
                           strLong + L"\r\n");
    }
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

// The pack Pl1 beside the program, and a decoy of it beside a copy of the module in a folder of its own.
TEST(LanguageSelection, AnyObjectSelectsThePackForAllFromBesideTheProgramNullTheChineseOneAndNoneEnglish) {
    const std::wstring strExe = TestExeDir(), strModuleDir = strExe + L"ModuleElsewhere\\";
    const std::wstring kDirs[] = {strExe + L"Lang", strExe + L"Lang\\Pl1", strModuleDir,
                                  strModuleDir + L"Lang", strModuleDir + L"Lang\\Pl1"};
    for (const std::wstring& strDir : kDirs)
        ::CreateDirectoryW(strDir.c_str(), nullptr);
    WriteUtf16File(kDirs[1] + L"\\Pivora.ini",
                   L"[LANG]\r\nPrint mode setting=Mode of printing\r\nprint mode:=\r\n"
                   L"OK=\"Go\"\r\nSupply Ink Timeout Tip=host pack\r\n");
    WriteUtf16File(kDirs[4] + L"\\Pivora.ini", L"[LANG]\r\nSupply Ink Timeout Tip=module pack\r\n");
    ASSERT_TRUE(::CopyFileW((strExe + L"Pivora.dll").c_str(), (strModuleDir + L"Pivora.dll").c_str(), FALSE));
    LanguageRecord record = {};
    std::u16string(u"Pl1").copy(record.szFolderName, 3);
    {
        PluginSession session(L"English");
        session.NewInterface()->SetLanguage(nullptr); // the last choice counts, whoever made it
        session.NewInterface()->SetLanguage(&record);
        // Keys match without regard to case; an empty value blanks the label; quotes around a value go;
        // a text missing from the pack keeps its English.
        EXPECT_EQ(
            (std::vector<std::wstring>{L"Mode of printing", L"Go", L"Cancel", L"", L"A", L"No more hints"}),
            ShownTexts(session));
    }
    std::wstring strCaption;
    {
        LoadedPlugin plugin(strModuleDir + L"Pivora.dll");
        SimMachine machine;
        InterfacePtr p(plugin.m_pfnNew(), InterfaceDeleter{plugin.m_pfnRelease});
        p->SetLanguage(&record);
        p->SetHostInterface(&machine);
        Leaving([&] { return p->ShowSupplyInkTimeout(); }, VK_ESCAPE,
                [&](HWND hDlg) { strCaption = CaptionOf(hDlg); });
    }
    EXPECT_EQ(L"host pack", strCaption);
    for (const std::wstring& strFile :
         {kDirs[1] + L"\\Pivora.ini", kDirs[4] + L"\\Pivora.ini", kDirs[2] + L"Pivora.dll"})
        ::DeleteFileW(strFile.c_str());
    for (int i = 4; i > 0; --i)
        ::RemoveDirectoryW(kDirs[i].c_str());
    for (bool bNullRecord : {true, false}) {
        PluginSession session(nullptr); // alone: the module starts over
        if (bNullRecord)
            session->SetLanguage(nullptr);
        std::vector<std::wstring> texts = ShownTexts(session);
        EXPECT_EQ(bNullRecord ? L"打印模式设置" : L"Print mode setting", texts.empty() ? L"" : texts[0]);
    }
}

TEST(Settings, TempIniIsNotWrittenAndNoDataFolderMadeWhenItIsMissing) {
    // Whatever a person left next to the test program comes back. (Writing into the folder: print confirm.)
    std::wstring strData = GetExeDir() + L"Data", strIni = strData + L"\\Temp.ini";
    const bool bExisted = ::GetFileAttributesW(strIni.c_str()) != INVALID_FILE_ATTRIBUTES;
    const std::string strSaved = ReadTextFile(strIni);
    ::DeleteFileW(strIni.c_str());
    ::RemoveDirectoryW(strData.c_str());
    WriteTempIniInt(L"PRINT", L"NOT_PRINT_CONFIRM", 1); // no Data folder: nothing, and no folder made
    EXPECT_EQ(INVALID_FILE_ATTRIBUTES, ::GetFileAttributesW(strData.c_str()));
    ::CreateDirectoryW(strData.c_str(), nullptr);
    bExisted ? WriteTextFile(strIni, strSaved) : void(::RemoveDirectoryW(strData.c_str()));
}

} // namespace
