// The look of every dialog: the simulator's picture run against tests/golden (a difference leaves the new
// picture and a difference image in <build>/golden-check; `./pivora.sh bless` after an intended change).
// With PIVORA_PICTURE_DPI=144 (tests/check_dpi_pictures.sh) against tests/golden/144, with the text-fit
// check.

#include <cctype>
#include <cstdlib>
#include <filesystem>
#include <fstream>

#include "Plugin.h"
#include "WindowCapture.h"

namespace {

namespace fs = std::filesystem;

// Font smoothing may round a shade differently; a layout change moves whole edges far beyond this.
constexpr int kChannelTolerance = 8;

// As the person at the Linux shell writes it: Z:\work\x becomes /work/x.
std::string ShellPath(const fs::path& path) {
    return path.generic_string().substr(2);
}

const std::string g_strDpi = std::getenv("PIVORA_PICTURE_DPI") ? std::getenv("PIVORA_PICTURE_DPI") : "";
const fs::path g_goldenDir = fs::path("Z:" PIVORA_SOURCE_DIR) / "tests" / "golden" / g_strDpi;
const fs::path g_checkDir = fs::path(TestExeDir()).parent_path().parent_path() /
                            (g_strDpi.empty() ? "golden-check" : "golden-check-" + g_strDpi);

std::vector<std::string> GoldenNames() {
    std::vector<std::string> names;
    std::error_code ec;
    for (const auto& entry : fs::directory_iterator(g_goldenDir, ec))
        if (entry.path().extension() == ".png")
            names.push_back(entry.path().stem().string());
    std::sort(names.begin(), names.end());
    return names;
}

// The simulator's picture run, once for all the comparisons; at another DPI the script has taken them.
DWORD g_nRunExitCode = 0;
class PictureRun : public ::testing::Environment {
    void SetUp() override {
        if (!g_strDpi.empty())
            return;
        g_nRunExitCode = 0xFFFFFFFF;
        std::error_code ec;
        fs::remove_all(g_checkDir, ec);
        fs::create_directories(g_checkDir, ec);
        std::wstring strCommand = L"PivoraHost.exe --shot \"" + g_checkDir.wstring() + L"\"";
        STARTUPINFOW si = {};
        si.cb = sizeof(si);
        PROCESS_INFORMATION pi = {};
        if (!::CreateProcessW((TestExeDir() + L"PivoraHost.exe").c_str(), strCommand.data(), nullptr, nullptr,
                              FALSE, 0, nullptr, TestExeDir().c_str(), &si, &pi))
            return;
        if (::WaitForSingleObject(pi.hProcess, 5 * 60 * 1000) == WAIT_OBJECT_0)
            ::GetExitCodeProcess(pi.hProcess, &g_nRunExitCode);
        else
            ::TerminateProcess(pi.hProcess, 1);
        ::CloseHandle(pi.hThread);
        ::CloseHandle(pi.hProcess);
    }
};
const auto* const g_pPictureRun = ::testing::AddGlobalTestEnvironment(new PictureRun);

class GoldenPicture : public ::testing::TestWithParam<std::string> {};

TEST_P(GoldenPicture, LooksAsCommitted) {
    const std::string& strName = GetParam();
    const fs::path golden = g_goldenDir / (strName + ".png"), now = g_checkDir / (strName + ".png"),
                   diffPath = g_checkDir / (strName + ".diff.png");
    const CapturedImage expected = LoadPng(golden.wstring()), actual = LoadPng(now.wstring());
    ASSERT_GT(expected.nWidth, 0) << "the committed picture of " << strName << " cannot be read";
    ASSERT_GT(actual.nWidth, 0) << "the picture run took no picture of " << strName << " (exit code "
                                << g_nRunExitCode << ")";
    ASSERT_EQ(std::pair(expected.nWidth, expected.nHeight), std::pair(actual.nWidth, actual.nHeight))
        << "the size of " << strName << " changed; now: " << ShellPath(now);
    // The difference image: a quarter of the picture's own colour over white, every differing pixel red.
    CapturedImage diff = expected;
    size_t nDiffering = 0, nFirst = 0;
    for (size_t i = 0; i < diff.pixels.size(); ++i) {
        const uint32_t a = expected.pixels[i], b = actual.pixels[i];
        int nDistance = 0;
        for (int nShift = 0; nShift <= 16; nShift += 8)
            nDistance = std::max(nDistance, std::abs(int((a >> nShift) & 0xFF) - int((b >> nShift) & 0xFF)));
        const bool bDiffers = nDistance > kChannelTolerance;
        if (bDiffers && nDiffering++ == 0)
            nFirst = i;
        diff.pixels[i] = bDiffers ? 0x00FF0000 : 0x00BFBFBF + ((a >> 2) & 0x003F3F3F);
    }
    if (nDiffering == 0)
        return;
    SavePng(diff, diffPath.wstring());
    ADD_FAILURE() << "The dialog " << strName << " looks different from its committed picture: " << nDiffering
                  << " pixels differ, the first at (" << nFirst % size_t(diff.nWidth) << ", "
                  << nFirst / size_t(diff.nWidth) << ").\n  now:        " << ShellPath(now)
                  << "\n  committed:  " << ShellPath(golden) << "\n  difference: " << ShellPath(diffPath)
                  << "\nAfter an intended change: ./pivora.sh bless";
}

INSTANTIATE_TEST_SUITE_P(Dialogs, GoldenPicture, ::testing::ValuesIn(GoldenNames()), [](const auto& info) {
    std::string str = info.param;
    std::replace_if(
        str.begin(), str.end(), [](char c) { return !std::isalnum(static_cast<unsigned char>(c)); }, '_');
    return str;
});

TEST(GoldenPictures, EveryPictureOfTheRunHasACommittedOne) {
    EXPECT_EQ(g_nRunExitCode, 0u) << "the picture run failed";
    const std::vector<std::string> golden = GoldenNames();
    ASSERT_FALSE(golden.empty()) << "no committed pictures in " << ShellPath(g_goldenDir);
    std::error_code ec;
    for (const auto& entry : fs::directory_iterator(g_checkDir, ec)) {
        const std::string strStem = entry.path().stem().string();
        if (entry.path().extension() == ".png" && strStem.find('.') == std::string::npos) {
            EXPECT_TRUE(std::binary_search(golden.begin(), golden.end(), strStem))
                << "the dialog " << strStem << " has no committed picture yet: ./pivora.sh bless";
        }
    }
}

// text-fit.txt of a picture run: each control's line by its picture and number ("cut-ink-English 3").
std::map<std::string, std::string> ReadTextFit(const fs::path& path) {
    std::map<std::string, std::string> lines;
    std::ifstream file(path);
    for (std::string strLine; std::getline(file, strLine);)
        lines[strLine.substr(0, strLine.find(' ', strLine.find(' ') + 1))] = strLine;
    return lines;
}

TEST(GoldenPictures, NoTextIsCutThatShowsWholeAt96Dpi) {
    if (g_strDpi.empty())
        GTEST_SKIP() << "for a picture set of another DPI";
    const auto at96 = ReadTextFit(g_checkDir / "96" / "text-fit.txt"),
               now = ReadTextFit(g_checkDir / "text-fit.txt");
    ASSERT_FALSE(now.empty()) << "the picture run at " << g_strDpi << " DPI wrote no text fit";
    EXPECT_EQ(now.size(), at96.size()) << "both runs show the same controls";
    for (const auto& [strKey, strLine] : now) {
        auto it = at96.find(strKey);
        if (it != at96.end() && strLine.find(" cut ") != std::string::npos &&
            it->second.find(" fits ") != std::string::npos)
            ADD_FAILURE() << "cut at " << g_strDpi << " DPI: " << strLine
                          << "\n  whole at 96 DPI: " << it->second;
    }
}

} // namespace
