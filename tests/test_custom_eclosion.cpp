// The eclosion template editor, driven through ShowCustomEclosion as the host calls it.
#include <gtest/gtest.h>

#include <algorithm>
#include <sstream>

#include "Plugin.h"
#include "ScriptedOperator.h"
#include "WindowCapture.h"
#include "res/resource.h"

namespace {

constexpr COLORREF kBlack = RGB(0, 0, 0), kAbsent = RGB(240, 240, 240);

const std::vector<int> kModeChoices = {IDC_ECLOSION_MODE1, IDC_ECLOSION_MODE2, IDC_ECLOSION_MODE3};
const std::vector<int> kElementGroups = {
    IDC_ECLOSION_ELEMENT1_GROUP,       IDC_ECLOSION_ELEMENT1_WIDTH_LABEL,  IDC_ECLOSION_ELEMENT1_HEIGHT_LABEL,
    IDC_ECLOSION_ELEMENT1_WIDTH,       IDC_ECLOSION_ELEMENT1_HEIGHT,       IDC_ECLOSION_ELEMENT2_GROUP,
    IDC_ECLOSION_ELEMENT2_WIDTH_LABEL, IDC_ECLOSION_ELEMENT2_HEIGHT_LABEL, IDC_ECLOSION_ELEMENT2_WIDTH,
    IDC_ECLOSION_ELEMENT2_HEIGHT};

// How many of the controls are shown, in groups of nGroup, when those are the first ones and the rest are
// hidden; else -1.
int Shown(HWND hDlg, const std::vector<int>& ids, size_t nGroup = 1) {
    size_t nShown = 0;
    while (nShown < ids.size() && IsShown(hDlg, ids[nShown]))
        ++nShown;
    bool bLaterShown =
        std::any_of(ids.begin() + nShown, ids.end(), [&](int nId) { return IsShown(hDlg, nId); });
    return !bLaterShown && nShown % nGroup == 0 ? static_cast<int>(nShown / nGroup) : -1;
}

int SliderPos(HWND hDlg, int nId) {
    return static_cast<int>(::SendDlgItemMessageW(hDlg, nId, TBM_GETPOS, 0, 0));
}

// Everything the editor can change in a template, or in the list.
std::string Describe(const SimEclosionTemplate& t) {
    std::ostringstream out;
    out << t.m_strName << " default " << t.m_nDefault << " range " << t.m_nRange << " mode "
        << t.m_nCurrentMode << ":";
    for (const auto& m : t.m_modes) {
        out << " [";
        for (size_t i = 0; i < m->m_elements.size(); ++i)
            out << (i ? " " : "") << m->m_elements[i]->m_nWidth << "x" << m->m_elements[i]->m_nHeight;
        out << "]";
    }
    return out.str();
}
std::string Describe(const SimEclosionTemplateList& list) {
    std::string str = "index " + std::to_string(list.m_nCurrentIndex);
    for (const auto& t : list.m_templates)
        str += " | " + Describe(*t);
    return str;
}

// Makes a preview frame 107 x 67 pixels at its own top left corner, and lets the dialog read it again by
// selecting the selected template once more.
RECT MakeFrame107x67(HWND hDlg, int nId) {
    RECT rc;
    ::GetWindowRect(::GetDlgItem(hDlg, nId), &rc);
    ::MapWindowPoints(nullptr, hDlg, reinterpret_cast<POINT*>(&rc), 2);
    ::MoveWindow(::GetDlgItem(hDlg, nId), rc.left, rc.top, 107, 67, FALSE);
    SelectListBoxItem(hDlg, IDC_ECLOSION_TEMPLATES, ListBoxSelection(hDlg, IDC_ECLOSION_TEMPLATES));
    return {rc.left, rc.top, rc.left + 107, rc.top + 67};
}

// Whether a 107 x 67 frame shows a w x h element as a solid black block at 8 pixels a unit, centred with
// truncating halves, and no other black pixel; or, for 0 x 0, only the colour of an absent element.
bool ShowsElement(HWND hDlg, const RECT& rc, int w, int h) {
    int nLeft = (rc.left + rc.right) / 2 - w * 8 / 2, nTop = (rc.top + rc.bottom) / 2 - h * 8 / 2;
    CapturedImage image = CaptureWindow(hDlg, true);
    for (int y = rc.top; y < rc.bottom; ++y) {
        for (int x = rc.left; x < rc.right; ++x) {
            bool bInBlock = x >= nLeft && x < nLeft + w * 8 && y >= nTop && y < nTop + h * 8;
            COLORREF colour = image.At(x, y);
            if ((colour == kBlack) != bInBlock || (w == 0 && colour != kAbsent))
                return false;
        }
    }
    return true;
}

// The list starts empty; AddDefaultEclosionTemplates gives the simulator's six templates: four defaults of
// two modes of two 1 x 1 elements (ranges 10 to 40), "Template5--Custom" (range 60, the current one) with
// modes {2x2}, {3x2 5x4} (current) and {8x8}, and "Template6--Custom" (range 120) with one mode {6x1}.
class CustomEclosionTest : public ::testing::Test {
protected:
    SimMachine& Machine() { return *session.m_pMachine; }
    SimEclosionTemplateList& List() { return Machine().m_eclosion; }
    SimEclosionTemplate& Template(size_t i) { return *List().m_templates[i]; }
    SimSnapshots& Snapshots() { return Machine().m_snapshots; }
    // Opens the editor as the host does, with an operator taking the steps in turn.
    int32_t Run(std::vector<Operator::Step> steps, uint32_t nEditDefaults = 0) {
        Operator op;
        for (auto& step : steps)
            op.Then(std::move(step));
        op.Start();
        int32_t nResult = session->ShowCustomEclosion(nEditDefaults);
        EXPECT_FALSE(op.m_bTimedOut);
        EXPECT_TRUE(op.AllStepsDone());
        return nResult;
    }
    size_t Count(const std::string& strPrefix) { return Machine().m_log.Filter({strPrefix}).size(); }

    PluginSession session;
};

TEST_F(CustomEclosionTest, AnEmptyListOpensAsFourDefaultTemplatesWhereOnlyTheRangeChangesAndSaveKeepsIt) {
    List().m_nCurrentIndex = -1;
    Run({[&](HWND hDlg) {
             EXPECT_EQ((std::vector<std::wstring>{L"Template1--Default", L"Template2--Default",
                                                  L"Template3--Default", L"Template4--Default"}),
                       ListBoxItems(hDlg, IDC_ECLOSION_TEMPLATES));
             EXPECT_EQ(0, ListBoxSelection(hDlg, IDC_ECLOSION_TEMPLATES));
             EXPECT_TRUE(Shown(hDlg, kModeChoices) == 2 && IsChecked(hDlg, IDC_ECLOSION_MODE1));
             EXPECT_EQ(2, Shown(hDlg, kElementGroups, 5));
             for (int nId : {IDC_ECLOSION_EDIT_TEMPLATE, IDC_ECLOSION_EDIT_MODE, IDC_ECLOSION_EDIT_ELEMENT})
                 EXPECT_FALSE(IsShown(hDlg, nId)) << nId;
             for (int nId : {IDOK, IDCANCEL, IDC_ECLOSION_TEMPLATES, IDC_ECLOSION_ADD_TEMPLATE,
                             IDC_ECLOSION_RANGE_SLIDER})
                 EXPECT_TRUE(IsEnabled(hDlg, nId)) << nId;
             for (int nId :
                  {IDC_ECLOSION_DELETE_TEMPLATE, IDC_ECLOSION_ADD_MODE, IDC_ECLOSION_DELETE_MODE,
                   IDC_ECLOSION_MODE1, IDC_ECLOSION_MODE2, IDC_ECLOSION_ADD_ELEMENT,
                   IDC_ECLOSION_DELETE_ELEMENT, IDC_ECLOSION_ELEMENT1_WIDTH, IDC_ECLOSION_ELEMENT2_HEIGHT})
                 EXPECT_FALSE(IsEnabled(hDlg, nId)) << nId;
             EXPECT_EQ(L"20", TextOf(hDlg, IDC_ECLOSION_RANGE));
             SetFocusTo(hDlg, IDC_ECLOSION_RANGE_SLIDER);
             PressKey(hDlg, VK_RIGHT);
         },
         [&](HWND hDlg) {
             EXPECT_EQ(L"21", TextOf(hDlg, IDC_ECLOSION_RANGE));
             // The root names no printer any more: the snapshot still goes back to its maker.
             Machine().m_bHasPrinter = false;
             Click(hDlg, IDOK);
         }});
    EXPECT_EQ(21, Template(0).m_nRange);
    EXPECT_EQ(0, List().m_nCurrentIndex);
    EXPECT_EQ((std::vector<std::string>{"Root.ApplySettings(2,1,0)"}),
              Machine().m_log.Filter({"Root.Apply"}));
    EXPECT_EQ(0u, Count("EclosionList.Data.CopyFrom"));
    EXPECT_TRUE(Snapshots().m_outstanding.empty());
    EXPECT_EQ(0, Snapshots().m_nBadReleases);
}

TEST_F(CustomEclosionTest, EditDefaultsOpensDefaultModesToEditsAndANewTemplateStartsEmptyWithItsOwnRange) {
    AddDefaultEclosionTemplates(List());
    List().m_nCurrentIndex = 0;
    Run({[&](HWND hDlg) {
            EXPECT_FALSE(IsEnabled(hDlg, IDC_ECLOSION_DELETE_TEMPLATE));
            for (int nId : {IDC_ECLOSION_ADD_MODE, IDC_ECLOSION_DELETE_MODE, IDC_ECLOSION_MODE1,
                            IDC_ECLOSION_DELETE_ELEMENT, IDC_ECLOSION_ELEMENT2_HEIGHT})
                EXPECT_TRUE(IsEnabled(hDlg, nId)) << nId;
            EXPECT_FALSE(IsEnabled(hDlg, IDC_ECLOSION_ADD_ELEMENT));

            Click(hDlg, IDC_ECLOSION_ADD_MODE);
            EXPECT_TRUE(Shown(hDlg, kModeChoices) == 3 && IsChecked(hDlg, IDC_ECLOSION_MODE3));
            EXPECT_FALSE(IsEnabled(hDlg, IDC_ECLOSION_ADD_MODE));
            EXPECT_EQ(2u, Template(0).m_nCurrentMode);
            EXPECT_EQ(0, Shown(hDlg, kElementGroups, 5)); // the new mode has no element yet
            Click(hDlg, IDC_ECLOSION_MODE2);
            EXPECT_EQ(1u, Template(0).m_nCurrentMode);
            EXPECT_EQ(2, Shown(hDlg, kElementGroups, 5));
            Click(hDlg, IDC_ECLOSION_DELETE_MODE);
            EXPECT_TRUE(Shown(hDlg, kModeChoices) == 2 && IsChecked(hDlg, IDC_ECLOSION_MODE1));

            // A new template is selected without moving the range slider, and takes modes and elements.
            Click(hDlg, IDC_ECLOSION_ADD_TEMPLATE);
            EXPECT_EQ(L"Template7--Custom", ListBoxItems(hDlg, IDC_ECLOSION_TEMPLATES).back());
            EXPECT_EQ(6, ListBoxSelection(hDlg, IDC_ECLOSION_TEMPLATES));
            EXPECT_EQ(10, SliderPos(hDlg, IDC_ECLOSION_RANGE_SLIDER));
            EXPECT_EQ(L"10", TextOf(hDlg, IDC_ECLOSION_RANGE));
            EXPECT_TRUE(IsEnabled(hDlg, IDC_ECLOSION_DELETE_TEMPLATE));
            EXPECT_TRUE(Shown(hDlg, kModeChoices) == 0 && Shown(hDlg, kElementGroups, 5) == 0);
            Click(hDlg, IDC_ECLOSION_ADD_MODE);
            EXPECT_TRUE(Shown(hDlg, kModeChoices) == 1 && IsChecked(hDlg, IDC_ECLOSION_MODE1));
            Click(hDlg, IDC_ECLOSION_ADD_ELEMENT);
            EXPECT_EQ(1, Shown(hDlg, kElementGroups, 5));
            Click(hDlg, IDC_ECLOSION_ADD_ELEMENT);
            EXPECT_EQ(2, Shown(hDlg, kElementGroups, 5));
            EXPECT_FALSE(IsEnabled(hDlg, IDC_ECLOSION_ADD_ELEMENT));
            Click(hDlg, IDOK);
        }},
        1);
    // The third mode moved up; the second one is gone.
    EXPECT_EQ("Template1--Default default 1 range 10 mode 0: [1x1 1x1] []", Describe(Template(0)));
    ASSERT_EQ(7u, List().m_templates.size());
    // The new template keeps the host's own range, not the one the slider showed.
    EXPECT_EQ("Template7--Custom default 0 range 20 mode 0: [1x1 1x1]", Describe(Template(6)));
    EXPECT_EQ(6, List().m_nCurrentIndex);
}

TEST_F(CustomEclosionTest, TheCurrentTemplateOpensSelectedAndDeletingOneSelectsTheOneAboveAndRenumbers) {
    AddDefaultEclosionTemplates(List());
    List().m_nCurrentIndex = 5;
    Run({[&](HWND hDlg) {
        EXPECT_EQ(5, ListBoxSelection(hDlg, IDC_ECLOSION_TEMPLATES));
        EXPECT_EQ(L"120", TextOf(hDlg, IDC_ECLOSION_RANGE));
        EXPECT_EQ(120, SliderPos(hDlg, IDC_ECLOSION_RANGE_SLIDER));
        EXPECT_TRUE(Shown(hDlg, kModeChoices) == 1 && Shown(hDlg, kElementGroups, 5) == 1);
        EXPECT_EQ(6, SliderPos(hDlg, IDC_ECLOSION_ELEMENT1_WIDTH));

        SelectListBoxItem(hDlg, IDC_ECLOSION_TEMPLATES, 4);
        EXPECT_EQ(L"60", TextOf(hDlg, IDC_ECLOSION_RANGE));
        Click(hDlg, IDC_ECLOSION_DELETE_TEMPLATE);
        EXPECT_EQ(
            (std::vector<std::wstring>{L"Template1--Default", L"Template2--Default", L"Template3--Default",
                                       L"Template4--Default", L"Template5--Custom"}),
            ListBoxItems(hDlg, IDC_ECLOSION_TEMPLATES));
        EXPECT_EQ(3, ListBoxSelection(hDlg, IDC_ECLOSION_TEMPLATES));
        EXPECT_EQ(L"40", TextOf(hDlg, IDC_ECLOSION_RANGE));
        EXPECT_FALSE(IsEnabled(hDlg, IDC_ECLOSION_DELETE_TEMPLATE));
        Click(hDlg, IDOK);
    }});
    ASSERT_EQ(5u, List().m_templates.size());
    EXPECT_EQ("Template6--Custom default 0 range 120 mode 0: [6x1]", Describe(Template(4)));
    EXPECT_EQ(3, List().m_nCurrentIndex);
}

TEST_F(CustomEclosionTest, SizeSlidersMoveHostAndPreviewOnLineAndTrackStepsAndDeletingLeavesElement2) {
    AddDefaultEclosionTemplates(List());
    const SimEclosionElement& first = *Template(4).m_modes[1]->m_elements[0];
    RECT rcFrame1 = {}, rcFrame2 = {};
    Run({[&](HWND hDlg) {
             rcFrame1 = MakeFrame107x67(hDlg, IDC_ECLOSION_ELEMENT1_PREVIEW);
             rcFrame2 = MakeFrame107x67(hDlg, IDC_ECLOSION_ELEMENT2_PREVIEW);
             EXPECT_TRUE(ShowsElement(hDlg, rcFrame1, 3, 2)); // 24 x 16, centred
             EXPECT_TRUE(ShowsElement(hDlg, rcFrame2, 5, 4));
             for (int nWidth : {4, 5}) {
                 MoveSlider(hDlg, IDC_ECLOSION_ELEMENT1_WIDTH, nWidth, TB_THUMBTRACK);
                 EXPECT_EQ(static_cast<uint32_t>(nWidth), first.m_nWidth);
                 EXPECT_TRUE(ShowsElement(hDlg, rcFrame1, nWidth, 2));
             }
             MoveSlider(hDlg, IDC_ECLOSION_ELEMENT1_WIDTH, 7, TB_THUMBPOSITION);
             EXPECT_EQ(5u, first.m_nWidth);
             SetFocusTo(hDlg, IDC_ECLOSION_ELEMENT1_HEIGHT);
             PressKey(hDlg, VK_END);
         },
         [&](HWND hDlg) {
             EXPECT_EQ(8, SliderPos(hDlg, IDC_ECLOSION_ELEMENT1_HEIGHT));
             EXPECT_EQ(2u, first.m_nHeight);
             EXPECT_TRUE(ShowsElement(hDlg, rcFrame1, 5, 2));
             PressKey(hDlg, VK_LEFT); // one line: acted on
         },
         [&](HWND hDlg) {
             EXPECT_EQ(7u, first.m_nHeight);
             EXPECT_TRUE(ShowsElement(hDlg, rcFrame1, 5, 7));
             // The former second element, 5 x 4, moves up and the second frame shows the absent colour.
             Click(hDlg, IDC_ECLOSION_DELETE_ELEMENT);
             EXPECT_TRUE(SliderPos(hDlg, IDC_ECLOSION_ELEMENT1_WIDTH) == 5 &&
                         SliderPos(hDlg, IDC_ECLOSION_ELEMENT1_HEIGHT) == 4);
             EXPECT_EQ(1, Shown(hDlg, kElementGroups, 5));
             EXPECT_TRUE(ShowsElement(hDlg, rcFrame2, 0, 0));
             Click(hDlg, IDOK);
         }});
    EXPECT_EQ("Template5--Custom default 0 range 60 mode 1: [2x2] [5x4] [8x8]", Describe(Template(4)));
}

TEST_F(CustomEclosionTest, CancelEscapeAndTheCloseBoxRestoreTheListFromTheSnapshotAndReleaseIt) {
    AddDefaultEclosionTemplates(List());
    const std::string strAtOpening = Describe(List());
    const Operator::Step ways[] = {[](HWND h) { Click(h, IDCANCEL); }, [](HWND h) { PressKey(h, VK_ESCAPE); },
                                   &CloseBox};
    for (const auto& leave : ways) {
        EXPECT_EQ(1, Run({[&](HWND hDlg) {
                      MoveSlider(hDlg, IDC_ECLOSION_RANGE_SLIDER, 77, TB_THUMBTRACK);
                      MoveSlider(hDlg, IDC_ECLOSION_ELEMENT2_WIDTH, 8, TB_PAGEDOWN);
                      Click(hDlg, IDC_ECLOSION_DELETE_ELEMENT);
                      Click(hDlg, IDC_ECLOSION_ADD_TEMPLATE);
                      EXPECT_NE(strAtOpening, Describe(List()));
                      leave(hDlg);
                  }}));
        EXPECT_EQ(strAtOpening, Describe(List()));
        EXPECT_EQ(0u, Count("Root.ApplySettings"));
        EXPECT_TRUE(Snapshots().m_outstanding.empty());
        EXPECT_EQ("Printer.ReleaseSnapshot", Machine().m_log.m_calls.back());
    }
    EXPECT_EQ(3, Snapshots().m_nCreated);
    EXPECT_EQ(0, Snapshots().m_nBadReleases);
}

TEST_F(CustomEclosionTest, WithoutAUsableSnapshotCancelKeepsTheEditsAndGivesBackWhatWasMade) {
    AddDefaultEclosionTemplates(List());
    SimSnapshots& snapshots = Snapshots();
    const std::function<void()> faults[] = {[&] { Machine().m_bHasPrinter = false; },
                                            [&] { snapshots.m_bCreateFails = true; },
                                            [&] { snapshots.m_bHasSection = false; }, // one without the list
                                            [&] { snapshots.m_bEnabled = false; }};
    for (const auto& fault : faults) {
        Machine().m_bHasPrinter = snapshots.m_bEnabled = snapshots.m_bHasSection = true;
        snapshots.m_bCreateFails = false;
        fault();
        Machine().m_log.Clear();
        List().m_nCurrentIndex = 9; // outside the list: the first template is selected, and becomes current
        Run({[&](HWND hDlg) {
            EXPECT_EQ(0, ListBoxSelection(hDlg, IDC_ECLOSION_TEMPLATES));
            MoveSlider(hDlg, IDC_ECLOSION_RANGE_SLIDER, 15, TB_LINEUP);
            Click(hDlg, IDCANCEL);
        }});
        EXPECT_EQ(15, Template(0).m_nRange);
        EXPECT_EQ(0, List().m_nCurrentIndex);
        EXPECT_TRUE(snapshots.m_outstanding.empty());
        EXPECT_EQ(0u, Count("EclosionList.Data.CopyFrom"));
        Template(0).m_nRange = 10;
    }
    EXPECT_EQ(0u, Count("Printer.")); // snapshots forbidden: the printer is not asked for one
    EXPECT_EQ(1, snapshots.m_nCreated);
    EXPECT_EQ(0, snapshots.m_nBadReleases);
}

TEST_F(CustomEclosionTest, MissingHostPartsLeaveADialogThatTouchesOnlyWhatItReaches) {
    // No template list: an empty editor that can still be saved.
    Machine().m_bHasEclosionTemplates = false;
    EXPECT_EQ(1, Run({[&](HWND hDlg) {
                  Click(hDlg, IDC_ECLOSION_ADD_TEMPLATE);
                  MoveSlider(hDlg, IDC_ECLOSION_RANGE_SLIDER, 5, TB_LINEDOWN);
                  EXPECT_TRUE(ListBoxItems(hDlg, IDC_ECLOSION_TEMPLATES).empty());
                  EXPECT_FALSE(IsEnabled(hDlg, IDC_ECLOSION_ADD_MODE));
                  EXPECT_EQ(0, Shown(hDlg, kElementGroups, 5));
                  Click(hDlg, IDOK);
              }}));
    EXPECT_EQ(1u, Count("Root.ApplySettings"));
    EXPECT_TRUE(Snapshots().m_outstanding.empty());
    Machine().m_bHasEclosionTemplates = true;

    // A position the host cannot return lists nothing; a refused append adds nothing.
    AddDefaultEclosionTemplates(List());
    List().m_templates[4].reset();
    List().m_bAddFails = true;
    Run({[&](HWND hDlg) {
        Click(hDlg, IDC_ECLOSION_ADD_TEMPLATE);
        std::vector<std::wstring> items = ListBoxItems(hDlg, IDC_ECLOSION_TEMPLATES);
        EXPECT_TRUE(items.size() == 5 && items.back() == L"Template6--Custom");
        Click(hDlg, IDOK);
    }});
    EXPECT_EQ(6u, List().m_templates.size());
}

TEST_F(CustomEclosionTest, TemplateNamesAndTheCaptionAreShownInTheOperatorsLanguage) {
    session.SetLanguage(L"Chs");
    Run({[&](HWND hDlg) {
        EXPECT_EQ(L"自定义羽化", CaptionOf(hDlg));
        Click(hDlg, IDC_ECLOSION_ADD_TEMPLATE);
        EXPECT_EQ((std::vector<std::wstring>{L"模板1--默认", L"模板2--默认", L"模板3--默认", L"模板4--默认",
                                             L"模板5--自定义"}),
                  ListBoxItems(hDlg, IDC_ECLOSION_TEMPLATES));
        Click(hDlg, IDCANCEL);
    }});
}

} // namespace

namespace {

TEST_F(CustomEclosionTest, AfterAGapInTheHostListSelectingAndDeletingActOnTheTemplateShown) {
    AddDefaultEclosionTemplates(List());
    List().m_templates.insert(List().m_templates.begin() + 1, nullptr); // position 1 gives no template
    List().m_nCurrentIndex = 5;                                         // "Template5--Custom", range 60
    Run({[&](HWND hDlg) {
        EXPECT_EQ(4, ListBoxSelection(hDlg, IDC_ECLOSION_TEMPLATES));
        EXPECT_EQ(L"60", TextOf(hDlg, IDC_ECLOSION_RANGE));
        SelectListBoxItem(hDlg, IDC_ECLOSION_TEMPLATES, 5); // the entry of position 6, range 120
        EXPECT_EQ(6, List().m_nCurrentIndex);
        EXPECT_EQ(L"120", TextOf(hDlg, IDC_ECLOSION_RANGE));
        Machine().m_log.Clear();
        Click(hDlg, IDC_ECLOSION_DELETE_TEMPLATE);
        EXPECT_EQ(1u, Machine().m_log.Filter({"EclosionList.DeleteTemplate(6)"}).size());
        EXPECT_EQ(4, ListBoxSelection(hDlg, IDC_ECLOSION_TEMPLATES));
        EXPECT_EQ(L"60", TextOf(hDlg, IDC_ECLOSION_RANGE));
        Click(hDlg, IDOK);
    }});
    ASSERT_EQ(6u, List().m_templates.size());
    EXPECT_EQ("Template5--Custom", Template(5).m_strName);
    EXPECT_EQ(5, List().m_nCurrentIndex);
}

TEST_F(CustomEclosionTest, AHostRangeBeyondTheSliderShowsClampedWithoutAMessageAndSaveCloses) {
    AddDefaultEclosionTemplates(List());
    List().m_nCurrentIndex = 5;
    Template(5).m_nRange = 250;
    Template(4).m_nRange = -3;
    Run({[&](HWND hDlg) {
        EXPECT_EQ(L"200", TextOf(hDlg, IDC_ECLOSION_RANGE));
        EXPECT_EQ(200, SliderPos(hDlg, IDC_ECLOSION_RANGE_SLIDER));
        SelectListBoxItem(hDlg, IDC_ECLOSION_TEMPLATES, 4);
        EXPECT_EQ(L"0", TextOf(hDlg, IDC_ECLOSION_RANGE));
        Click(hDlg, IDC_ECLOSION_ADD_MODE); // reads the controls back: no message may come up
        SelectListBoxItem(hDlg, IDC_ECLOSION_TEMPLATES, 5);
        Click(hDlg, IDOK);
    }});
    EXPECT_EQ(1u, Count("Root.ApplySettings"));
    EXPECT_EQ(0u, Count("EclosionTemplate.SetRange") + Count("Template.SetRange"));
    EXPECT_EQ(250, Template(5).m_nRange);
    EXPECT_EQ(-3, Template(4).m_nRange);
}

} // namespace
