// The eclosion template rules over a strict simulated template list, without any window.
#include <gtest/gtest.h>

#include <tuple>

#include "dialogs/ink/EclosionRules.h"
#include "SimMachine.h"

namespace {

const EclosionNameTexts kEnglish = {L"Template", L"Default", L"Custom"};

std::string NarrowAscii(const std::wstring& str) {
    return std::string(str.begin(), str.end());
}

class EclosionRulesTest : public ::testing::Test {
protected:
    // One letter per template: D default, C custom, each with two modes of two 1 x 1 elements; _ a position
    // the host cannot return.
    void Fill(const char* pszTemplates) {
        for (const char* p = pszTemplates; *p; ++p) {
            if (*p == '_') {
                list.AddGap();
                continue;
            }
            Template(*p == 'D', "22");
        }
    }
    // A template with one mode per digit, of that many 1 x 1 elements.
    SimEclosionTemplate& Template(bool bDefault, const char* pszModes) {
        SimEclosionTemplate& t = list.Add("t", bDefault);
        for (const char* p = pszModes; *p; ++p) {
            SimEclosionMode& mode = t.Add();
            for (char c = '0'; c < *p; ++c)
                mode.Add(1, 1);
        }
        return t;
    }
    // The default flags, one digit per template, _ where there is none.
    std::string Flags() {
        std::string str;
        for (const auto& p : list.m_templates)
            str += p ? static_cast<char>('0' + p->m_nDefault) : '_';
        return str;
    }
    size_t Calls(const char* pszPrefix) { return log.Filter({pszPrefix}).size(); }
    void TearDown() override { EXPECT_EQ(std::vector<std::string>{}, log.m_violations); }

    SimCallLog log;
    SimEclosionTemplateList list{log};
};

TEST_F(EclosionRulesTest, TheFirstFourTemplatesBecomeDefaultOnesAndLaterOnesKeepTheirFlags) {
    // Templates before, flags after, default flags written (appended ones too), templates appended.
    const std::tuple<const char*, const char*, size_t, size_t> kRows[] = {
        {"", "1111", 4, 4},   {"DDD", "1111", 1, 1},      {"DDDD", "1111", 0, 0}, {"DDDDC", "11110", 0, 0},
        {"C_", "1_11", 3, 2}, {"CDCDCD", "111101", 2, 0}, {"DDDC", "1111", 1, 0}, {"CCCCC", "11110", 4, 0}};
    for (auto [pszBefore, pszAfter, nWritten, nAppended] : kRows) {
        list.m_templates.clear();
        Fill(pszBefore);
        log.Clear();
        EnsureDefaultTemplates(&list);
        EXPECT_EQ(pszAfter, Flags()) << pszBefore;
        EXPECT_EQ(nWritten, Calls("EclosionTemplate.SetDefault(1)")) << pszBefore;
        EXPECT_EQ(nAppended, Calls("EclosionList.AddTemplate")) << pszBefore;
        EXPECT_EQ(nAppended, Calls("EclosionTemplate.SetCurrentMode(0)")) << pszBefore;
    }
    // An appended template has two modes of two 1 x 1 elements; the host's name and range stay.
    list.m_templates.clear();
    log.Clear();
    EnsureDefaultTemplates(&list);
    EXPECT_EQ(16u, Calls("EclosionElement.SetWidth(1)"));
    EXPECT_EQ(16u, Calls("EclosionElement.SetHeight(1)"));
    const SimEclosionTemplate& added = *list.m_templates[3];
    ASSERT_EQ(2u, added.m_modes.size());
    for (const auto& pMode : added.m_modes) {
        ASSERT_EQ(2u, pMode->m_elements.size());
        for (const auto& pElement : pMode->m_elements)
            EXPECT_TRUE(pElement->m_nWidth == 1 && pElement->m_nHeight == 1);
    }
    EXPECT_EQ("", added.m_strName);
    EXPECT_EQ(SimEclosionTemplate::kNewRange, added.m_nRange);
    EXPECT_EQ(0u, added.m_nCurrentMode);
    // A host that cannot append leaves the list short; nothing is touched through a null template.
    list.m_templates.clear();
    list.m_bAddFails = true;
    log.Clear();
    EnsureDefaultTemplates(&list);
    EXPECT_EQ("", Flags());
    EXPECT_EQ(4u, Calls("EclosionList.AddTemplate"));
    EnsureDefaultTemplates(nullptr);
}

TEST_F(EclosionRulesTest, CreatedTemplatesAreNamedForTheirPositionAndCustomAfterTheFourth) {
    const std::tuple<const char*, bool, const wchar_t*, const char*> kRows[] = {
        {"DD", false, L"Template3--Default", "111"},
        {"DDD", false, L"Template4--Default", "1111"},
        {"DDDD", false, L"Template5--Custom", "11110"},
        {"DD", true, L"", "11"}};
    for (auto [pszBefore, bAddFails, pszName, pszAfter] : kRows) {
        list.m_templates.clear();
        Fill(pszBefore);
        list.m_bAddFails = bAddFails;
        CreatedEclosionTemplate created = CreateEclosionTemplate(&list, kEnglish, &NarrowAscii);
        EXPECT_EQ(pszName, created.strName) << pszBefore;
        EXPECT_EQ(pszAfter, Flags()) << pszBefore;
        if (!bAddFails) {
            EXPECT_EQ(list.m_templates.back().get(), created.pTemplate);
            EXPECT_EQ(NarrowAscii(pszName), list.m_templates.back()->m_strName);
            EXPECT_EQ(static_cast<int32_t>(list.m_templates.size()) - 1, created.nPosition);
        } else {
            EXPECT_EQ(nullptr, created.pTemplate);
        }
    }
    // A host that counts no template after an append: the new one is taken as the first.
    list.m_bAddFails = false;
    log.m_countFilter = [](const std::string&, int32_t) { return 0; };
    CreatedEclosionTemplate created = CreateEclosionTemplate(&list, kEnglish, &NarrowAscii);
    EXPECT_EQ(0, created.nPosition);
    EXPECT_EQ(L"Template1--Default", created.strName);
    const std::tuple<int32_t, bool, const wchar_t*> kNames[] = {
        {0, true, L"Template1--Default"}, {3, true, L"Template4--Default"}, {4, false, L"Template5--Custom"}};
    for (auto [nPosition, bDefault, pszName] : kNames)
        EXPECT_EQ(pszName, EclosionDisplayName(nPosition, bDefault, kEnglish));
    EXPECT_EQ(L"模板2--自定义", EclosionDisplayName(1, false, {L"模板", L"默认", L"自定义"}));
}

TEST_F(EclosionRulesTest, ControlsNeedAnEditableTemplateAModeAndRoomWithinTheLimits) {
    // Template (D default, C custom, N none) and element counts per mode, mode index, edit-defaults flag;
    // states: add/delete template, add/delete mode, mode choices, add/delete element, size and range sliders.
    const std::tuple<const char*, int32_t, uint32_t, const char*> kRows[] = {
        {"D22", 0, 0, "100000001"},   {"D22", 0, 0x100, "101110111"}, {"D22", 0, 1, "101110111"},
        {"C22", 1, 0, "111110111"},   {"C101", 0, 0, "110111111"},    {"C101", 1, 0, "110111011"},
        {"C101", -1, 0, "110000001"}, {"C101", 3, 0, "110000001"},    {"C1", 0, 0, "111111111"},
        {"C", 0, 0, "111000001"},     {"C2", 0, 0, "111110111"},      {"N", 0, 1, "100000001"}};
    for (auto [pszTemplate, nMode, nEditDefaults, pszStates] : kRows) {
        IHostEclosionTemplate* pTemplate =
            *pszTemplate == 'N' ? nullptr : &Template(*pszTemplate == 'D', pszTemplate + 1);
        EclosionControlStates s = GetEclosionControlStates(pTemplate, nMode, nEditDefaults);
        std::string strStates;
        for (bool b : {s.bAddTemplate, s.bDeleteTemplate, s.bAddMode, s.bDeleteMode, s.bModeChoices,
                       s.bAddElement, s.bDeleteElement, s.bSizeSliders, s.bRangeSlider})
            strStates += b ? '1' : '0';
        EXPECT_EQ(pszStates, strStates) << pszTemplate << " mode " << nMode << " flag " << nEditDefaults;
    }
    // Modes and elements past what the editor shows have no choice and no block.
    const std::tuple<const char*, int32_t, int32_t> kVisible[] = {
        {"", 0, 0}, {"0", 1, 0}, {"1", 1, 1}, {"20", 2, 2}, {"301", 3, 2}, {"4000", 3, 2}};
    for (auto [pszModes, nChoices, nElements] : kVisible) {
        SimEclosionTemplate& t = Template(false, pszModes);
        EXPECT_EQ(nChoices, VisibleEclosionModeChoices(&t)) << pszModes;
        EXPECT_EQ(nElements, VisibleEclosionElements(EclosionModeAt(&t, 0))) << pszModes;
    }
    EXPECT_EQ(0, VisibleEclosionModeChoices(nullptr));
    EXPECT_EQ(nullptr, EclosionModeAt(nullptr, 0));
}

TEST_F(EclosionRulesTest, ATemplateIsTakenOnlyFromWithinTheList) {
    Fill("DC");
    EXPECT_EQ(list.m_templates[1].get(), EclosionTemplateAt(&list, 1));
    EXPECT_EQ(nullptr, EclosionTemplateAt(&list, 2));
}

TEST(EclosionRules, ElementsAreCentredOnAGridOfAnEighthOfTheShorterSideAndTheRangeStaysWithin0And200) {
    const std::tuple<EclosionRect, uint32_t, uint32_t, EclosionRect> kRows[] = {
        {{100, 200, 207, 267}, 3, 2, {141, 225, 165, 241}}, // unit 8
        {{0, 0, 107, 67}, 8, 8, {21, 1, 85, 65}},
        {{0, 0, 107, 67}, 9, 7, {21, 5, 85, 61}}, // beyond the grid: the whole grid
        {{0, 0, 107, 67}, 0xFFFFFFFFu, 200, {21, 1, 85, 65}},
        {{0, 0, 107, 67}, 0, 0, {53, 33, 53, 33}},
        {{0, 0, 64, 64}, 1, 1, {28, 28, 36, 36}},
        {{0, 0, 63, 64}, 1, 1, {28, 29, 35, 36}},        // unit 7
        {{-107, -67, 0, 0}, 1, 1, {-57, -37, -49, -29}}, // halves truncate toward zero
        {{10, 10, 200, 17}, 8, 8, {105, 13, 105, 13}},   // under 8 pixels: nothing to fill
        {{10, 10, 5, 17}, 8, 8, {7, 13, 7, 13}}};        // turned inside out: nothing either
    for (auto [frame, nWidth, nHeight, expected] : kRows) {
        EclosionRect rc = EclosionElementPreviewRect(frame, nWidth, nHeight);
        EXPECT_TRUE(rc.left == expected.left && rc.top == expected.top && rc.right == expected.right &&
                    rc.bottom == expected.bottom)
            << frame.left << "," << frame.top << " " << nWidth << "x" << nHeight << ": " << rc.left << ","
            << rc.top << "," << rc.right << "," << rc.bottom;
    }
    const int32_t kRanges[][2] = {{-1, 0},    {0, 0},     {1, 1},         {199, 199},
                                  {200, 200}, {201, 200}, {INT32_MIN, 0}, {INT32_MAX, 200}};
    for (const auto& row : kRanges)
        EXPECT_EQ(row[1], ClampEclosionRange(row[0])) << row[0];
}

} // namespace
