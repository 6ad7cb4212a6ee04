// The look of every dialog: the simulator's picture run (English and Chinese) against the pictures committed
// in tests/golden. A picture that differs leaves the new picture, the committed one and a difference image
// side by side in <build>/golden-check. After an intended change, `./pivora.sh bless` takes new pictures.
// With PIVORA_PICTURE_DPI=144 (tests/check_dpi_pictures.sh, which takes the pictures in a prefix of that DPI)
// the same comparison runs on tests/golden/144 and <build>/golden-check-144, with the text-fit check.
#include <gtest/gtest.h>
#include <windows.h>

#include <algorithm>
#include <cctype>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>
#include <string>
#include <vector>

#include "ScriptedOperator.h"
#include "WindowCapture.h"
#include "Plugin.h"

namespace {

namespace fs = std::filesystem;

// Font smoothing may round a shade differently; a layout change moves whole edges far beyond this.
constexpr int kChannelTolerance = 8;

struct PictureDifference {
    size_t nPixels = 0; // pixels beyond the tolerance; every pixel when the sizes differ
    int nFirstX = -1;
    int nFirstY = -1;
    CapturedImage diff; // the expected picture faded, with every differing pixel in red
};

int ChannelDistance(uint32_t a, uint32_t b) {
    int nMax = 0;
    for (int nShift = 0; nShift <= 16; nShift += 8) {
        int d = std::abs(static_cast<int>((a >> nShift) & 0xFF) - static_cast<int>((b >> nShift) & 0xFF));
        nMax = std::max(nMax, d);
    }
    return nMax;
}

PictureDifference ComparePictures(const CapturedImage& expected, const CapturedImage& actual) {
    PictureDifference result;
    bool bSameSize = expected.nWidth == actual.nWidth && expected.nHeight == actual.nHeight;
    CapturedImage& diff = result.diff;
    diff.nWidth = std::max(expected.nWidth, actual.nWidth);
    diff.nHeight = std::max(expected.nHeight, actual.nHeight);
    diff.pixels.assign(static_cast<size_t>(diff.nWidth) * static_cast<size_t>(diff.nHeight), 0x00FF0000);
    for (int y = 0; y < diff.nHeight; ++y) {
        for (int x = 0; x < diff.nWidth; ++x) {
            auto at = [x, y](const CapturedImage& image) -> const uint32_t* {
                if (x >= image.nWidth || y >= image.nHeight)
                    return nullptr;
                return &image.pixels[static_cast<size_t>(y) * static_cast<size_t>(image.nWidth) +
                                     static_cast<size_t>(x)];
            };
            const uint32_t* pExpected = at(expected);
            const uint32_t* pActual = at(actual);
            bool bDiffers = !bSameSize || !pExpected || !pActual ||
                            ChannelDistance(*pExpected, *pActual) > kChannelTolerance;
            uint32_t& out = diff.pixels[static_cast<size_t>(y) * static_cast<size_t>(diff.nWidth) +
                                        static_cast<size_t>(x)];
            if (!bDiffers) {
                // A quarter of the picture's own colour over white: the layout stays readable around the red.
                uint32_t px = *pExpected;
                uint32_t r = 191 + ((px >> 16) & 0xFF) / 4, g = 191 + ((px >> 8) & 0xFF) / 4,
                         b = 191 + (px & 0xFF) / 4;
                out = (r << 16) | (g << 8) | b;
                continue;
            }
            if (pExpected && pActual && bSameSize)
                out = 0x00FF0000;
            if (result.nPixels++ == 0) {
                result.nFirstX = x;
                result.nFirstY = y;
            }
        }
    }
    return result;
}

// As the person at the Linux shell writes it: Z:\work\x becomes /work/x.
std::string ShellPath(const fs::path& path) {
    std::string str = path.string();
    if (str.size() >= 2 && (str[0] == 'Z' || str[0] == 'z') && str[1] == ':')
        str.erase(0, 2);
    std::replace(str.begin(), str.end(), '\\', '/');
    return str;
}

// The DPI of a picture set other than the default one; empty for the default set.
std::string PictureDpi() {
    const char* pszDpi = std::getenv("PIVORA_PICTURE_DPI");
    return pszDpi ? pszDpi : "";
}

fs::path GoldenDir() {
    fs::path dir = fs::path("Z:" PIVORA_SOURCE_DIR) / "tests" / "golden";
    return PictureDpi().empty() ? dir : dir / PictureDpi();
}

// Beside the test programs' folder: <build>/golden-check, or golden-check-<dpi>.
fs::path CheckDir() {
    std::string strName = PictureDpi().empty() ? "golden-check" : "golden-check-" + PictureDpi();
    return fs::path(TestExeDir()).parent_path().parent_path() / strName;
}

std::vector<std::string> GoldenNames() {
    std::vector<std::string> names;
    std::error_code ec;
    for (const auto& entry : fs::directory_iterator(GoldenDir(), ec)) {
        if (entry.path().extension() == ".png")
            names.push_back(entry.path().stem().string());
    }
    std::sort(names.begin(), names.end());
    return names;
}

// The simulator's picture run, once for all the comparisons: every dialog from a fixed machine state.
class PictureRun : public ::testing::Environment {
public:
    void SetUp() override {
        if (!PictureDpi().empty()) {
            s_nExitCode = 0; // taken by the script in the prefix of that DPI
            return;
        }
        std::error_code ec;
        fs::remove_all(CheckDir(), ec);
        fs::create_directories(CheckDir(), ec);
        std::wstring strCommand = L"PivoraHost.exe --shot \"" + CheckDir().wstring() + L"\"";
        STARTUPINFOW si = {};
        si.cb = sizeof(si);
        PROCESS_INFORMATION pi = {};
        if (!::CreateProcessW((TestExeDir() + L"PivoraHost.exe").c_str(), strCommand.data(), nullptr, nullptr,
                              FALSE, 0, nullptr, TestExeDir().c_str(), &si, &pi))
            return;
        if (::WaitForSingleObject(pi.hProcess, 5 * 60 * 1000) == WAIT_OBJECT_0)
            ::GetExitCodeProcess(pi.hProcess, &s_nExitCode);
        else
            ::TerminateProcess(pi.hProcess, 1);
        ::CloseHandle(pi.hThread);
        ::CloseHandle(pi.hProcess);
    }
    static DWORD s_nExitCode;
};
DWORD PictureRun::s_nExitCode = 0xFFFFFFFF;

const auto* const g_pPictureRun = ::testing::AddGlobalTestEnvironment(new PictureRun);

class GoldenPicture : public ::testing::TestWithParam<std::string> {};

TEST_P(GoldenPicture, LooksAsCommitted) {
    const std::string& strName = GetParam();
    fs::path actualPath = CheckDir() / (strName + ".png");
    CapturedImage expected = LoadPng((GoldenDir() / (strName + ".png")).wstring());
    CapturedImage actual = LoadPng(actualPath.wstring());
    ASSERT_GT(expected.nWidth, 0) << "the committed picture of " << strName << " cannot be read";
    ASSERT_GT(actual.nWidth, 0) << "the picture run took no picture of " << strName << " (run exit code "
                                << PictureRun::s_nExitCode << ")";
    PictureDifference difference = ComparePictures(expected, actual);
    if (difference.nPixels == 0)
        return;
    fs::path expectedCopy = CheckDir() / (strName + ".expected.png");
    fs::path diffPath = CheckDir() / (strName + ".diff.png");
    std::error_code ec;
    fs::copy_file(GoldenDir() / (strName + ".png"), expectedCopy, fs::copy_options::overwrite_existing, ec);
    SavePng(difference.diff, diffPath.wstring());
    ADD_FAILURE() << "The dialog " << strName
                  << " looks different from its committed picture: " << difference.nPixels
                  << " pixels differ, the first at (" << difference.nFirstX << ", " << difference.nFirstY
                  << "); sizes " << expected.nWidth << "x" << expected.nHeight << " committed, "
                  << actual.nWidth << "x" << actual.nHeight
                  << " now.\n  now:        " << ShellPath(actualPath)
                  << "\n  committed:  " << ShellPath(expectedCopy)
                  << "\n  difference: " << ShellPath(diffPath)
                  << "\nAfter an intended change: ./pivora.sh bless";
}

std::string TestNameOf(const ::testing::TestParamInfo<std::string>& info) {
    std::string str = info.param;
    std::replace_if(
        str.begin(), str.end(), [](char c) { return !std::isalnum(static_cast<unsigned char>(c)); }, '_');
    return str;
}

INSTANTIATE_TEST_SUITE_P(Dialogs, GoldenPicture, ::testing::ValuesIn(GoldenNames()), TestNameOf);

TEST(GoldenPictures, EveryPictureOfTheRunHasACommittedOne) {
    EXPECT_EQ(PictureRun::s_nExitCode, 0u) << "the picture run failed";
    std::vector<std::string> golden = GoldenNames();
    ASSERT_FALSE(golden.empty()) << "no committed pictures in " << ShellPath(GoldenDir());
    std::error_code ec;
    for (const auto& entry : fs::directory_iterator(CheckDir(), ec)) {
        std::string strStem = entry.path().stem().string();
        if (entry.path().extension() != ".png" || strStem.find('.') != std::string::npos)
            continue;
        EXPECT_TRUE(std::binary_search(golden.begin(), golden.end(), strStem))
            << "the dialog " << strStem << " has no committed picture yet: ./pivora.sh bless";
    }
}

// text-fit.txt of a picture run: each control's line by its picture and number ("cut-ink-English 3").
std::map<std::string, std::string> ReadTextFit(const fs::path& path) {
    std::map<std::string, std::string> lines;
    std::ifstream file(path);
    for (std::string strLine; std::getline(file, strLine);) {
        size_t nSecond = strLine.find(' ', strLine.find(' ') + 1);
        lines[strLine.substr(0, nSecond)] = strLine;
    }
    return lines;
}

TEST(GoldenPictures, NoTextIsCutThatShowsWholeAt96Dpi) {
    if (PictureDpi().empty())
        GTEST_SKIP() << "for a picture set of another DPI";
    const auto at96 = ReadTextFit(CheckDir() / "96" / "text-fit.txt");
    const auto now = ReadTextFit(CheckDir() / "text-fit.txt");
    ASSERT_FALSE(now.empty()) << "the picture run at " << PictureDpi() << " DPI wrote no text fit";
    EXPECT_EQ(now.size(), at96.size()) << "both runs show the same controls";
    for (const auto& [strKey, strLine] : now) {
        auto it = at96.find(strKey);
        if (it != at96.end() && strLine.find(" cut ") != std::string::npos &&
            it->second.find(" fits ") != std::string::npos)
            ADD_FAILURE() << "cut at " << PictureDpi() << " DPI: " << strLine
                          << "\n  whole at 96 DPI: " << it->second;
    }
}

// The comparison itself: a shade within the tolerance passes, one pixel beyond it or another size fails.
TEST(GoldenPictures, ComparisonFindsOnePixelAndToleratesAShade) {
    CapturedImage base;
    base.nWidth = 4;
    base.nHeight = 3;
    base.pixels.assign(12, 0x00808080);
    CapturedImage shaded = base;
    shaded.pixels[5] = 0x00808080 + kChannelTolerance;
    EXPECT_EQ(ComparePictures(base, shaded).nPixels, 0u);

    CapturedImage moved = base;
    moved.pixels[6] = 0x00808080 + (kChannelTolerance + 1) * 0x100;
    PictureDifference difference = ComparePictures(base, moved);
    EXPECT_EQ(difference.nPixels, 1u);
    EXPECT_EQ(difference.nFirstX, 2);
    EXPECT_EQ(difference.nFirstY, 1);
    EXPECT_EQ(difference.diff.pixels[6], 0x00FF0000u);

    CapturedImage wider = base;
    wider.nWidth = 5;
    wider.pixels.assign(15, 0x00808080);
    EXPECT_EQ(ComparePictures(base, wider).nPixels, 15u);
}

} // namespace
