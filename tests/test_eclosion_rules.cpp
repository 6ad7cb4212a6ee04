// The eclosion template rules over a recording template list, without any window.
#include <gtest/gtest.h>

#include "SimMachine.h"
#include "dialogs/ink/EclosionRules.h"

namespace {

const EclosionNameTexts kEnglish = {L"Template", L"Default", L"Custom"};

std::string NarrowAscii(const std::wstring& str) {
    return std::string(str.begin(), str.end());
}

class EclosionRulesTest : public ::testing::Test {
protected:
    // A template the way EnsureDefaultTemplates leaves one: two modes of two 1 x 1 elements.
    SimEclosionTemplate& AddFull(const std::string& strName, bool bDefault) {
        SimEclosionTemplate& t = list.Add(strName, bDefault);
        for (int m = 0; m < 2; ++m) {
            SimEclosionMode& mode = t.Add();
            mode.Add(1, 1);
            mode.Add(1, 1);
        }
        return t;
    }
    std::vector<std::string> Calls(const std::vector<std::string>& prefixes) { return log.Filter(prefixes); }
    void TearDown() override { EXPECT_EQ(std::vector<std::string>{}, log.m_violations); }

    SimCallLog log;
    SimEclosionTemplateList list{log};
};

TEST_F(EclosionRulesTest, AnEmptyListBecomesFourDefaultTemplatesOfTwoModesOfTwoUnitElements) {
    EnsureDefaultTemplates(&list);

    ASSERT_EQ(4u, list.m_templates.size());
    for (size_t i = 0; i < 4; ++i) {
        const SimEclosionTemplate& t = *list.m_templates[i];
        EXPECT_EQ(1u, t.m_nDefault);
        EXPECT_EQ(0u, t.m_nCurrentMode);
        ASSERT_EQ(2u, t.m_modes.size());
        for (const auto& pMode : t.m_modes) {
            ASSERT_EQ(2u, pMode->m_elements.size());
            for (const auto& pElement : pMode->m_elements) {
                EXPECT_EQ(1u, pElement->m_nWidth);
                EXPECT_EQ(1u, pElement->m_nHeight);
            }
        }
        // The host's name and range stay: the editor names templates by position only.
        EXPECT_EQ("", t.m_strName);
        EXPECT_EQ(SimEclosionTemplate::kNewRange, t.m_nRange);
    }
    EXPECT_EQ(L"Template1--Default", EclosionDisplayName(0, true, kEnglish));
    EXPECT_EQ(L"Template4--Default", EclosionDisplayName(3, true, kEnglish));
    EXPECT_EQ(L"Template5--Custom", EclosionDisplayName(4, false, kEnglish));
    EXPECT_EQ(L"模板2--自定义", EclosionDisplayName(1, false, {L"模板", L"默认", L"自定义"}));
}

TEST_F(EclosionRulesTest, ACustomTemplateAmongTheFirstFourBecomesDefaultAndLaterOnesKeepTheirFlags) {
    AddFull("a", false);
    AddFull("b", true);
    AddFull("c", false);
    AddFull("d", true);
    AddFull("e", false);
    AddFull("f", true);

    EnsureDefaultTemplates(&list);

    ASSERT_EQ(6u, list.m_templates.size());
    std::vector<uint32_t> flags;
    for (const auto& p : list.m_templates)
        flags.push_back(p->m_nDefault);
    EXPECT_EQ((std::vector<uint32_t>{1, 1, 1, 1, 0, 1}), flags);
    EXPECT_EQ(L"Template3--Default", EclosionDisplayName(2, list.m_templates[2]->m_nDefault != 0, kEnglish));
    // Only the custom ones are written; nothing is appended.
    EXPECT_EQ((std::vector<std::string>{"EclosionTemplate.SetDefault(1)", "EclosionTemplate.SetDefault(1)"}),
              Calls({"EclosionTemplate.SetDefault", "EclosionList.AddTemplate"}));
}

TEST_F(EclosionRulesTest, AShortListIsFilledUpAndPositionsTheHostCannotReturnAreSkipped) {
    AddFull("a", false);
    list.AddGap();
    EnsureDefaultTemplates(&list);
    ASSERT_EQ(4u, list.m_templates.size());
    EXPECT_EQ(1u, list.m_templates[0]->m_nDefault);
    EXPECT_EQ(nullptr, list.m_templates[1]);
    EXPECT_EQ(1u, list.m_templates[3]->m_nDefault);

    // A host that cannot append leaves the list short; nothing is touched through a null template.
    SimEclosionTemplateList refusing(log);
    refusing.m_strLogName = "Refusing";
    refusing.m_bAddFails = true;
    EnsureDefaultTemplates(&refusing);
    EXPECT_TRUE(refusing.m_templates.empty());
    EXPECT_EQ(4u, Calls({"Refusing.AddTemplate"}).size());
}

TEST_F(EclosionRulesTest, CreatedTemplatesAreCustomAfterTheFourthAndNamedForTheirPositionInAnsi) {
    for (int i = 0; i < 4; ++i)
        AddFull("d", true);
    CreatedEclosionTemplate created = CreateEclosionTemplate(&list, kEnglish, &NarrowAscii);
    ASSERT_EQ(list.m_templates[4].get(), created.pTemplate);
    EXPECT_EQ(L"Template5--Custom", created.strName);
    EXPECT_EQ("Template5--Custom", list.m_templates[4]->m_strName);
    EXPECT_EQ(0u, list.m_templates[4]->m_nDefault);

    // In a list of two, the third is still a default one.
    SimEclosionTemplateList shortList(log);
    shortList.Add("x", true);
    shortList.Add("y", true);
    created = CreateEclosionTemplate(&shortList, kEnglish, &NarrowAscii);
    EXPECT_EQ(L"Template3--Default", created.strName);
    EXPECT_EQ(1u, shortList.m_templates[2]->m_nDefault);

    // A host that cannot append gives no template and no name.
    shortList.m_bAddFails = true;
    created = CreateEclosionTemplate(&shortList, kEnglish, &NarrowAscii);
    EXPECT_EQ(nullptr, created.pTemplate);
    EXPECT_EQ(3u, shortList.m_templates.size());
}

TEST_F(EclosionRulesTest, DefaultTemplatesAreEditableOnlyWithTheFlagAndNeverDeletable) {
    SimEclosionTemplate& def = AddFull("d", true);

    EclosionControlStates locked = GetEclosionControlStates(&def, 0, 0);
    EXPECT_TRUE(locked.bAddTemplate);
    EXPECT_TRUE(locked.bRangeSlider);
    EXPECT_FALSE(locked.bDeleteTemplate || locked.bAddMode || locked.bDeleteMode || locked.bModeChoices ||
                 locked.bAddElement || locked.bDeleteElement || locked.bSizeSliders);

    EclosionControlStates open = GetEclosionControlStates(&def, 0, 0x100);
    EXPECT_FALSE(open.bDeleteTemplate);
    EXPECT_TRUE(open.bAddMode && open.bDeleteMode && open.bModeChoices && open.bDeleteElement &&
                open.bSizeSliders);
    EXPECT_FALSE(open.bAddElement); // both elements are there

    SimEclosionTemplate& custom = AddFull("c", false);
    EXPECT_TRUE(GetEclosionControlStates(&custom, 1, 0).bDeleteTemplate);
    EXPECT_TRUE(IsEclosionTemplateEditable(&custom, 0));
    EXPECT_FALSE(IsEclosionTemplateEditable(nullptr, 1));
}

TEST_F(EclosionRulesTest, LimitsOfModesAndElementsAndAMissingModeOrTemplateDisableWhatNeedsThem) {
    SimEclosionTemplate& t = list.Add("c", false);
    t.Add().Add(2, 2);
    t.Add();
    t.Add().Add(1, 1);

    EclosionControlStates full = GetEclosionControlStates(&t, 0, 0);
    EXPECT_FALSE(full.bAddMode);
    EXPECT_TRUE(full.bAddElement && full.bDeleteElement);

    EclosionControlStates empty = GetEclosionControlStates(&t, 1, 0);
    EXPECT_TRUE(empty.bAddElement);
    EXPECT_FALSE(empty.bDeleteElement);
    EXPECT_TRUE(empty.bDeleteMode);

    for (int32_t nIndex : {-1, 3}) {
        EclosionControlStates none = GetEclosionControlStates(&t, nIndex, 0);
        EXPECT_FALSE(none.bDeleteMode || none.bModeChoices || none.bAddElement || none.bDeleteElement ||
                     none.bSizeSliders);
    }
    EXPECT_TRUE(log.Filter({"EclosionTemplate.GetMode(-1)", "EclosionTemplate.GetMode(3)"}).empty());

    EclosionControlStates noTemplate = GetEclosionControlStates(nullptr, 0, 1);
    EXPECT_TRUE(noTemplate.bAddTemplate && noTemplate.bRangeSlider);
    EXPECT_FALSE(noTemplate.bDeleteTemplate || noTemplate.bAddMode);

    t.Add();
    EXPECT_EQ(3, VisibleEclosionModeChoices(&t)); // a fourth mode from the host shows no fourth choice
    EXPECT_EQ(0, VisibleEclosionModeChoices(nullptr));
    t.m_modes[0]->Add(3, 3);
    t.m_modes[0]->Add(4, 4);
    EXPECT_EQ(2, VisibleEclosionElements(t.m_modes[0].get()));
    EXPECT_EQ(0, VisibleEclosionElements(t.m_modes[1].get()));
}

TEST(EclosionPreviewRect, ElementsAreCentredOnAGridOfAnEighthOfTheShorterSide) {
    // 107 x 67 gives a unit of 8: a 3 x 2 element is 24 x 16, centred.
    EclosionRect rc = EclosionElementPreviewRect({100, 200, 207, 267}, 3, 2);
    EXPECT_EQ(141, rc.left);
    EXPECT_EQ(225, rc.top);
    EXPECT_EQ(24, rc.right - rc.left);
    EXPECT_EQ(16, rc.bottom - rc.top);

    // 8 x 8 fills a square of the shorter side rounded down to a multiple of 8.
    rc = EclosionElementPreviewRect({0, 0, 107, 67}, 8, 8);
    EXPECT_EQ(64, rc.right - rc.left);
    EXPECT_EQ(64, rc.bottom - rc.top);
    EXPECT_EQ(21, rc.left);
    EXPECT_EQ(1, rc.top);

    // Halves truncate toward zero, also left of and above the origin.
    rc = EclosionElementPreviewRect({-107, -67, 0, 0}, 1, 1);
    EXPECT_EQ(-53 - 4, rc.left);
    EXPECT_EQ(-33 - 4, rc.top);

    // Shorter side under 8 pixels: unit 0, nothing to fill.
    rc = EclosionElementPreviewRect({10, 10, 200, 17}, 8, 8);
    EXPECT_EQ(rc.left, rc.right);
    EXPECT_EQ(rc.top, rc.bottom);
}

TEST(EclosionRules, TheRangeStaysWithin0And200) {
    const int32_t kRows[][2] = {{-1, 0},    {0, 0},     {1, 1},         {199, 199},
                                {200, 200}, {201, 200}, {INT32_MIN, 0}, {INT32_MAX, 200}};
    for (const auto& row : kRows)
        EXPECT_EQ(row[1], ClampEclosionRange(row[0])) << row[0];
}

TEST(EclosionPreviewRect, SizesBeyondTheGridStayInsideTheFrame) {
    EclosionRect rc = EclosionElementPreviewRect({0, 0, 107, 67}, 0xFFFFFFFFu, 200);
    EXPECT_EQ(21, rc.left);
    EXPECT_EQ(85, rc.right);
    EXPECT_EQ(1, rc.top);
    EXPECT_EQ(65, rc.bottom);
}

} // namespace
