// The eclosion template editor, driven through ShowCustomEclosion as the host calls it.
#include <gtest/gtest.h>

#include <sstream>

#include "Plugin.h"
#include "ScriptedOperator.h"
#include "WindowCapture.h"
#include "../res/resource.h"

namespace {

constexpr COLORREF kBlack = RGB(0, 0, 0);
constexpr COLORREF kAbsent = RGB(240, 240, 240);

const int kElement1Group[] = {IDC_ECLOSION_ELEMENT1_GROUP, IDC_ECLOSION_ELEMENT1_WIDTH_LABEL,
                              IDC_ECLOSION_ELEMENT1_HEIGHT_LABEL, IDC_ECLOSION_ELEMENT1_WIDTH,
                              IDC_ECLOSION_ELEMENT1_HEIGHT};
const int kElement2Group[] = {IDC_ECLOSION_ELEMENT2_GROUP, IDC_ECLOSION_ELEMENT2_WIDTH_LABEL,
                              IDC_ECLOSION_ELEMENT2_HEIGHT_LABEL, IDC_ECLOSION_ELEMENT2_WIDTH,
                              IDC_ECLOSION_ELEMENT2_HEIGHT};

// Everything the editor can change, to compare a list before and after.
std::string Describe(const SimEclosionTemplateList& list) {
    std::ostringstream out;
    out << "index " << list.m_nCurrentIndex;
    for (const auto& t : list.m_templates) {
        out << " | " << t->m_strName << " def " << t->m_nDefault << " range " << t->m_nRange << " mode "
            << t->m_nCurrentMode << ":";
        for (const auto& m : t->m_modes) {
            out << " [";
            for (const auto& e : m->m_elements)
                out << e->m_nWidth << "x" << e->m_nHeight << " ";
            out << "]";
        }
    }
    return out.str();
}

int SliderPos(HWND hDlg, int nId) {
    return static_cast<int>(::SendDlgItemMessageW(hDlg, nId, TBM_GETPOS, 0, 0));
}

bool AllShown(HWND hDlg, const int (&ids)[5], bool bShown) {
    for (int nId : ids) {
        if (IsShown(hDlg, nId) != bShown)
            return false;
    }
    return true;
}

RECT ClientRectOf(HWND hDlg, int nId) {
    RECT rc;
    ::GetWindowRect(::GetDlgItem(hDlg, nId), &rc);
    ::MapWindowPoints(nullptr, hDlg, reinterpret_cast<POINT*>(&rc), 2);
    return rc;
}

// Makes a preview frame 107 x 67 pixels at its own top left corner, and lets the dialog read it again by
// selecting the selected template once more.
RECT MakeFrame107x67(HWND hDlg, int nId) {
    RECT rc = ClientRectOf(hDlg, nId);
    ::MoveWindow(::GetDlgItem(hDlg, nId), rc.left, rc.top, 107, 67, FALSE);
    SelectListBoxItem(hDlg, IDC_ECLOSION_TEMPLATES, ListBoxSelection(hDlg, IDC_ECLOSION_TEMPLATES));
    return {rc.left, rc.top, rc.left + 107, rc.top + 67};
}

// The smallest rectangle holding every black pixel inside the frame, and whether they fill it.
struct BlackBlock {
    RECT rc = {0, 0, 0, 0};
    bool bSolid = false;
};

BlackBlock FindBlackBlock(HWND hDlg, const RECT& rcFrame) {
    CapturedImage image = CaptureWindow(hDlg, true);
    BlackBlock block;
    block.rc = {rcFrame.right, rcFrame.bottom, rcFrame.left, rcFrame.top};
    int nBlack = 0;
    for (int y = rcFrame.top; y < rcFrame.bottom; ++y) {
        for (int x = rcFrame.left; x < rcFrame.right; ++x) {
            if (image.At(x, y) != kBlack)
                continue;
            ++nBlack;
            block.rc = {std::min<LONG>(block.rc.left, x), std::min<LONG>(block.rc.top, y),
                        std::max<LONG>(block.rc.right, x + 1), std::max<LONG>(block.rc.bottom, y + 1)};
        }
    }
    block.bSolid =
        nBlack > 0 && nBlack == (block.rc.right - block.rc.left) * (block.rc.bottom - block.rc.top);
    return block;
}

// A w x h element in a 107 x 67 frame: unit 8, centred with truncating halves.
RECT ExpectedBlock(const RECT& rcFrame, int w, int h) {
    int nLeft = (rcFrame.left + rcFrame.right) / 2 - w * 8 / 2;
    int nTop = (rcFrame.top + rcFrame.bottom) / 2 - h * 8 / 2;
    return {nLeft, nTop, nLeft + w * 8, nTop + h * 8};
}

bool SameRect(const RECT& a, const RECT& b) {
    return ::EqualRect(&a, &b) != FALSE;
}

class CustomEclosionTest : public ::testing::Test {
protected:
    SimMachine& Machine() { return *session.m_pMachine; }
    SimEclosionTemplateList& List() { return Machine().m_eclosion; }

    // Four default templates of two modes of two 1 x 1 elements, ranges 10 to 40.
    void AddDefaults() {
        for (int i = 0; i < 4; ++i) {
            SimEclosionTemplate& t =
                List().Add("Template" + std::to_string(i + 1) + "--Default", true, 10 * (i + 1));
            for (int m = 0; m < 2; ++m) {
                SimEclosionMode& mode = t.Add();
                mode.Add(1, 1);
                mode.Add(1, 1);
            }
        }
    }
    // Then two custom ones: the fifth with modes {3x2, 5x4} and {2x2}, the sixth with one mode {6x1}.
    void AddSix() {
        AddDefaults();
        SimEclosionTemplate& fifth = List().Add("Template5--Custom", false, 60);
        SimEclosionMode& first = fifth.Add();
        first.Add(3, 2);
        first.Add(5, 4);
        fifth.Add().Add(2, 2);
        List().Add("Template6--Custom", false, 120).Add().Add(6, 1);
    }
    int32_t Run(Operator& op, uint32_t nEditDefaults = 0) {
        op.Start();
        int32_t nResult = session->ShowCustomEclosion(nEditDefaults);
        EXPECT_FALSE(op.m_bTimedOut);
        EXPECT_TRUE(op.AllStepsDone());
        return nResult;
    }
    size_t Count(const std::string& strPrefix) { return Machine().m_log.Filter({strPrefix}).size(); }

    PluginSession session;
};

TEST_F(CustomEclosionTest, AnEmptyListOpensAsFourDefaultTemplatesWhereOnlyTheRangeCanBeChanged) {
    std::vector<std::wstring> items;
    int nSelected = -1;
    std::vector<int> enabled, disabled;
    Operator op;
    op.Then([&](HWND hDlg) {
        items = ListBoxItems(hDlg, IDC_ECLOSION_TEMPLATES);
        nSelected = ListBoxSelection(hDlg, IDC_ECLOSION_TEMPLATES);
        EXPECT_TRUE(IsShown(hDlg, IDC_ECLOSION_MODE1) && IsShown(hDlg, IDC_ECLOSION_MODE2));
        EXPECT_FALSE(IsShown(hDlg, IDC_ECLOSION_MODE3));
        EXPECT_TRUE(IsChecked(hDlg, IDC_ECLOSION_MODE1));
        EXPECT_TRUE(AllShown(hDlg, kElement1Group, true) && AllShown(hDlg, kElement2Group, true));
        for (int nId : {IDC_ECLOSION_ELEMENT1_WIDTH, IDC_ECLOSION_ELEMENT1_HEIGHT,
                        IDC_ECLOSION_ELEMENT2_WIDTH, IDC_ECLOSION_ELEMENT2_HEIGHT})
            EXPECT_EQ(1, SliderPos(hDlg, nId));
        for (int nId : {IDC_ECLOSION_EDIT_TEMPLATE, IDC_ECLOSION_EDIT_MODE, IDC_ECLOSION_EDIT_ELEMENT})
            EXPECT_FALSE(IsShown(hDlg, nId));
        for (int nId :
             {IDOK, IDCANCEL, IDC_ECLOSION_TEMPLATES, IDC_ECLOSION_ADD_TEMPLATE, IDC_ECLOSION_RANGE_SLIDER,
              IDC_ECLOSION_DELETE_TEMPLATE, IDC_ECLOSION_ADD_MODE, IDC_ECLOSION_DELETE_MODE,
              IDC_ECLOSION_MODE1, IDC_ECLOSION_MODE2, IDC_ECLOSION_ADD_ELEMENT, IDC_ECLOSION_DELETE_ELEMENT,
              IDC_ECLOSION_ELEMENT1_WIDTH, IDC_ECLOSION_ELEMENT2_HEIGHT})
            (IsEnabled(hDlg, nId) ? enabled : disabled).push_back(nId);
        EXPECT_EQ(std::to_wstring(SimEclosionTemplate::kNewRange), TextOf(hDlg, IDC_ECLOSION_RANGE));
        SetFocusTo(hDlg, IDC_ECLOSION_RANGE_SLIDER);
        PressKey(hDlg, VK_RIGHT);
    });
    op.Then([&](HWND hDlg) {
        EXPECT_EQ(L"21", TextOf(hDlg, IDC_ECLOSION_RANGE));
        EXPECT_EQ(21, List().m_templates[0]->m_nRange);
        Click(hDlg, IDOK);
    });
    List().m_nCurrentIndex = -1;
    EXPECT_EQ(1, Run(op));

    EXPECT_EQ((std::vector<std::wstring>{L"Template1--Default", L"Template2--Default", L"Template3--Default",
                                         L"Template4--Default"}),
              items);
    EXPECT_EQ(0, nSelected);
    EXPECT_EQ(0, List().m_nCurrentIndex);
    EXPECT_EQ((std::vector<int>{IDOK, IDCANCEL, IDC_ECLOSION_TEMPLATES, IDC_ECLOSION_ADD_TEMPLATE,
                                IDC_ECLOSION_RANGE_SLIDER}),
              enabled);
    EXPECT_EQ(9u, disabled.size());
    EXPECT_EQ((std::vector<std::string>{"Root.ApplySettings(2,1,0)"}),
              Machine().m_log.Filter({"Root.Apply"}));
}

TEST_F(CustomEclosionTest, TheCurrentTemplateStaysSelectedAndAnIndexOutsideTheListSelectsTheFirst) {
    AddSix();
    List().m_nCurrentIndex = 5;
    int nSelected = -1;
    std::wstring strRange;
    Operator op;
    op.Then([&](HWND hDlg) {
        nSelected = ListBoxSelection(hDlg, IDC_ECLOSION_TEMPLATES);
        strRange = TextOf(hDlg, IDC_ECLOSION_RANGE);
        EXPECT_EQ(120, SliderPos(hDlg, IDC_ECLOSION_RANGE_SLIDER));
        EXPECT_TRUE(IsShown(hDlg, IDC_ECLOSION_MODE1));
        EXPECT_FALSE(IsShown(hDlg, IDC_ECLOSION_MODE2));
        EXPECT_TRUE(AllShown(hDlg, kElement1Group, true) && AllShown(hDlg, kElement2Group, false));
        EXPECT_EQ(6, SliderPos(hDlg, IDC_ECLOSION_ELEMENT1_WIDTH));
        Click(hDlg, IDCANCEL);
    });
    Run(op);
    EXPECT_EQ(5, nSelected);
    EXPECT_EQ(L"120", strRange);

    List().m_nCurrentIndex = 9;
    Operator again;
    again.Then([&](HWND hDlg) {
        nSelected = ListBoxSelection(hDlg, IDC_ECLOSION_TEMPLATES);
        Click(hDlg, IDCANCEL);
    });
    Machine().m_snapshots.m_bEnabled = false; // so the index written back is not undone
    Run(again);
    EXPECT_EQ(0, nSelected);
    EXPECT_EQ(0, List().m_nCurrentIndex);
}

TEST_F(CustomEclosionTest, AddedTemplatesModesAndElementsReachTheHostWithoutMovingTheRange) {
    AddDefaults();
    List().m_nCurrentIndex = 2;
    Operator op;
    op.Then([&](HWND hDlg) {
        Click(hDlg, IDC_ECLOSION_ADD_TEMPLATE);
        EXPECT_EQ(L"Template5--Custom", ListBoxItems(hDlg, IDC_ECLOSION_TEMPLATES).back());
        EXPECT_EQ(4, ListBoxSelection(hDlg, IDC_ECLOSION_TEMPLATES));
        EXPECT_EQ(30, SliderPos(hDlg, IDC_ECLOSION_RANGE_SLIDER));
        EXPECT_EQ(L"30", TextOf(hDlg, IDC_ECLOSION_RANGE));
        EXPECT_TRUE(IsEnabled(hDlg, IDC_ECLOSION_DELETE_TEMPLATE));
        EXPECT_FALSE(IsShown(hDlg, IDC_ECLOSION_MODE1));
        EXPECT_TRUE(AllShown(hDlg, kElement1Group, false));

        Click(hDlg, IDC_ECLOSION_ADD_MODE);
        EXPECT_TRUE(IsShown(hDlg, IDC_ECLOSION_MODE1) && IsChecked(hDlg, IDC_ECLOSION_MODE1));
        Click(hDlg, IDC_ECLOSION_ADD_ELEMENT);
        EXPECT_TRUE(AllShown(hDlg, kElement1Group, true) && AllShown(hDlg, kElement2Group, false));
        Click(hDlg, IDC_ECLOSION_ADD_ELEMENT);
        EXPECT_TRUE(AllShown(hDlg, kElement2Group, true));
        EXPECT_FALSE(IsEnabled(hDlg, IDC_ECLOSION_ADD_ELEMENT));
        Click(hDlg, IDOK);
    });
    Run(op);

    ASSERT_EQ(5u, List().m_templates.size());
    const SimEclosionTemplate& added = *List().m_templates[4];
    EXPECT_EQ("Template5--Custom", added.m_strName);
    EXPECT_EQ(0u, added.m_nDefault);
    EXPECT_EQ(SimEclosionTemplate::kNewRange, added.m_nRange);
    EXPECT_EQ(4, List().m_nCurrentIndex);
    ASSERT_EQ(1u, added.m_modes.size());
    EXPECT_EQ(2u, added.m_modes[0]->m_elements.size());
}

TEST_F(CustomEclosionTest, DeleteTemplateSelectsTheOneAboveAndTheRebuildRenumbersTheRest) {
    AddSix();
    List().m_nCurrentIndex = 4;
    std::vector<std::wstring> items;
    Operator op;
    op.Then([&](HWND hDlg) {
        Click(hDlg, IDC_ECLOSION_DELETE_TEMPLATE);
        items = ListBoxItems(hDlg, IDC_ECLOSION_TEMPLATES);
        EXPECT_EQ(3, ListBoxSelection(hDlg, IDC_ECLOSION_TEMPLATES));
        EXPECT_EQ(L"40", TextOf(hDlg, IDC_ECLOSION_RANGE));
        EXPECT_FALSE(IsEnabled(hDlg, IDC_ECLOSION_DELETE_TEMPLATE));
        Click(hDlg, IDOK);
    });
    Run(op);
    EXPECT_EQ((std::vector<std::wstring>{L"Template1--Default", L"Template2--Default", L"Template3--Default",
                                         L"Template4--Default", L"Template5--Custom"}),
              items);
    ASSERT_EQ(5u, List().m_templates.size());
    EXPECT_EQ(120, List().m_templates[4]->m_nRange);
    EXPECT_EQ(3, List().m_nCurrentIndex);
}

TEST_F(CustomEclosionTest, TheEditDefaultsFlagOpensDefaultTemplatesToModeEditsButNotToDeletion) {
    AddDefaults();
    List().m_nCurrentIndex = 0;
    Operator op;
    op.Then([&](HWND hDlg) {
        EXPECT_FALSE(IsEnabled(hDlg, IDC_ECLOSION_DELETE_TEMPLATE));
        for (int nId : {IDC_ECLOSION_ADD_MODE, IDC_ECLOSION_DELETE_MODE, IDC_ECLOSION_MODE1,
                        IDC_ECLOSION_DELETE_ELEMENT, IDC_ECLOSION_ELEMENT2_HEIGHT})
            EXPECT_TRUE(IsEnabled(hDlg, nId)) << nId;
        EXPECT_FALSE(IsEnabled(hDlg, IDC_ECLOSION_ADD_ELEMENT));

        Click(hDlg, IDC_ECLOSION_ADD_MODE);
        EXPECT_TRUE(IsShown(hDlg, IDC_ECLOSION_MODE3) && IsChecked(hDlg, IDC_ECLOSION_MODE3));
        EXPECT_FALSE(IsEnabled(hDlg, IDC_ECLOSION_ADD_MODE));
        EXPECT_EQ(2u, List().m_templates[0]->m_nCurrentMode);
        // The new mode has no element yet.
        EXPECT_TRUE(AllShown(hDlg, kElement1Group, false));

        Click(hDlg, IDC_ECLOSION_MODE2);
        EXPECT_EQ(1u, List().m_templates[0]->m_nCurrentMode);
        EXPECT_TRUE(AllShown(hDlg, kElement2Group, true));

        Click(hDlg, IDC_ECLOSION_DELETE_MODE);
        EXPECT_TRUE(IsChecked(hDlg, IDC_ECLOSION_MODE1));
        EXPECT_FALSE(IsShown(hDlg, IDC_ECLOSION_MODE3));
        Click(hDlg, IDOK);
    });
    Run(op, 1);
    const SimEclosionTemplate& t = *List().m_templates[0];
    EXPECT_EQ(1u, t.m_nDefault);
    EXPECT_EQ(0u, t.m_nCurrentMode);
    ASSERT_EQ(2u, t.m_modes.size());
    EXPECT_EQ(0u, t.m_modes[1]->m_elements.size()); // the third mode moved up; the second one is gone
}

TEST_F(CustomEclosionTest,
       SizeSlidersMoveHostAndPreviewOnLineAndTrackStepsOnlyAndDeletingElement1LeavesElement2) {
    AddSix();
    List().m_nCurrentIndex = 4;
    const SimEclosionElement& first = *List().m_templates[4]->m_modes[0]->m_elements[0];
    Operator op;
    RECT rcFrame1 = {}, rcFrame2 = {};
    op.Then([&](HWND hDlg) {
        rcFrame1 = MakeFrame107x67(hDlg, IDC_ECLOSION_ELEMENT1_PREVIEW);
        BlackBlock block = FindBlackBlock(hDlg, rcFrame1);
        EXPECT_TRUE(block.bSolid);
        EXPECT_TRUE(SameRect(ExpectedBlock(rcFrame1, 3, 2), block.rc)); // 24 x 16, centred

        for (int nWidth : {4, 5}) {
            MoveSlider(hDlg, IDC_ECLOSION_ELEMENT1_WIDTH, nWidth, TB_THUMBTRACK);
            EXPECT_EQ(static_cast<uint32_t>(nWidth), first.m_nWidth);
            EXPECT_TRUE(SameRect(ExpectedBlock(rcFrame1, nWidth, 2), FindBlackBlock(hDlg, rcFrame1).rc));
        }
        MoveSlider(hDlg, IDC_ECLOSION_ELEMENT1_WIDTH, 7, TB_THUMBPOSITION);
        EXPECT_EQ(5u, first.m_nWidth);
        SetFocusTo(hDlg, IDC_ECLOSION_ELEMENT1_HEIGHT);
        PressKey(hDlg, VK_END);
    });
    op.Then([&](HWND hDlg) {
        EXPECT_EQ(8, SliderPos(hDlg, IDC_ECLOSION_ELEMENT1_HEIGHT));
        EXPECT_EQ(2u, first.m_nHeight);
        EXPECT_TRUE(SameRect(ExpectedBlock(rcFrame1, 5, 2), FindBlackBlock(hDlg, rcFrame1).rc));
        PressKey(hDlg, VK_LEFT); // one line: acted on
    });
    op.Then([&](HWND hDlg) {
        EXPECT_EQ(7u, first.m_nHeight);
        EXPECT_TRUE(SameRect(ExpectedBlock(rcFrame1, 5, 7), FindBlackBlock(hDlg, rcFrame1).rc));

        // The second element's block goes and its frame shows the absent colour.
        rcFrame2 = ClientRectOf(hDlg, IDC_ECLOSION_ELEMENT2_PREVIEW);
        EXPECT_TRUE(FindBlackBlock(hDlg, rcFrame2).bSolid);
        Click(hDlg, IDC_ECLOSION_DELETE_ELEMENT);
        EXPECT_EQ(5, SliderPos(hDlg, IDC_ECLOSION_ELEMENT1_WIDTH)); // the former second element, 5 x 4
        EXPECT_EQ(4, SliderPos(hDlg, IDC_ECLOSION_ELEMENT1_HEIGHT));
        EXPECT_TRUE(AllShown(hDlg, kElement2Group, false));
        CapturedImage image = CaptureWindow(hDlg, true);
        int nNotAbsent = 0;
        for (int y = rcFrame2.top; y < rcFrame2.bottom; ++y) {
            for (int x = rcFrame2.left; x < rcFrame2.right; ++x)
                nNotAbsent += image.At(x, y) != kAbsent;
        }
        EXPECT_EQ(0, nNotAbsent);
        Click(hDlg, IDOK);
    });
    Run(op);
    const auto& elements = List().m_templates[4]->m_modes[0]->m_elements;
    ASSERT_EQ(1u, elements.size());
    EXPECT_EQ(5u, elements[0]->m_nWidth);
    EXPECT_EQ(4u, elements[0]->m_nHeight);
}

TEST_F(CustomEclosionTest, CancelEscapeAndTheCloseBoxRestoreTheListFromTheSnapshotAndReleaseIt) {
    AddSix();
    List().m_nCurrentIndex = 4;
    const std::string strAtOpening = Describe(List());
    const std::function<void(HWND)> ways[] = {[](HWND h) { Click(h, IDCANCEL); },
                                              [](HWND h) { PressKey(h, VK_ESCAPE); }, &CloseBox};
    for (const auto& leave : ways) {
        Machine().m_log.Clear();
        Operator op;
        op.Then([&](HWND hDlg) {
            MoveSlider(hDlg, IDC_ECLOSION_RANGE_SLIDER, 77, TB_THUMBTRACK);
            MoveSlider(hDlg, IDC_ECLOSION_ELEMENT2_WIDTH, 8, TB_PAGEDOWN);
            Click(hDlg, IDC_ECLOSION_DELETE_ELEMENT);
            Click(hDlg, IDC_ECLOSION_ADD_TEMPLATE);
            EXPECT_NE(strAtOpening, Describe(List()));
            leave(hDlg);
        });
        EXPECT_EQ(1, Run(op));
        EXPECT_EQ(strAtOpening, Describe(List()));
        EXPECT_EQ(0u, Count("Root.ApplySettings"));
        EXPECT_TRUE(Machine().m_snapshots.m_outstanding.empty());
        EXPECT_EQ("Printer.ReleaseSnapshot", Machine().m_log.m_calls.back());
    }
    EXPECT_EQ(3, Machine().m_snapshots.m_nCreated);
    EXPECT_EQ(0, Machine().m_snapshots.m_nBadReleases);
}

TEST_F(CustomEclosionTest, SaveAppliesOnceAndKeepsTheEditsAndAForbiddenSnapshotLetsCancelKeepThemToo) {
    AddSix();
    List().m_nCurrentIndex = 5;
    Operator op;
    op.Then([&](HWND hDlg) {
        MoveSlider(hDlg, IDC_ECLOSION_RANGE_SLIDER, 150, TB_THUMBTRACK);
        // The root names no printer any more: the snapshot still goes back to the one that made it.
        Machine().m_bHasPrinter = false;
        Click(hDlg, IDOK);
    });
    Run(op);
    Machine().m_bHasPrinter = true;
    EXPECT_EQ(0, Machine().m_snapshots.m_nBadReleases);
    EXPECT_EQ(150, List().m_templates[5]->m_nRange);
    EXPECT_EQ((std::vector<std::string>{"Root.ApplySettings(2,1,0)"}),
              Machine().m_log.Filter({"Root.Apply"}));
    EXPECT_EQ(0u, Count("EclosionList.Data.CopyFrom"));
    EXPECT_TRUE(Machine().m_snapshots.m_outstanding.empty());

    Machine().m_log.Clear();
    Machine().m_snapshots.m_bEnabled = false;
    Operator cancelled;
    cancelled.Then([&](HWND hDlg) {
        MoveSlider(hDlg, IDC_ECLOSION_RANGE_SLIDER, 15, TB_LINEUP);
        Click(hDlg, IDCANCEL);
    });
    Run(cancelled);
    EXPECT_EQ(15, List().m_templates[5]->m_nRange);
    EXPECT_EQ(0u, Count("Printer."));
}

TEST_F(CustomEclosionTest, MissingHostPartsLeaveADialogThatTouchesOnlyWhatItReaches) {
    // No template list: an empty editor that can still be saved.
    Machine().m_bHasEclosionTemplates = false;
    std::vector<std::wstring> items = {L"x"};
    Operator noList;
    noList.Then([&](HWND hDlg) {
        Click(hDlg, IDC_ECLOSION_ADD_TEMPLATE);
        MoveSlider(hDlg, IDC_ECLOSION_RANGE_SLIDER, 5, TB_LINEDOWN);
        items = ListBoxItems(hDlg, IDC_ECLOSION_TEMPLATES);
        EXPECT_FALSE(IsEnabled(hDlg, IDC_ECLOSION_ADD_MODE));
        EXPECT_TRUE(AllShown(hDlg, kElement1Group, false));
        Click(hDlg, IDOK);
    });
    EXPECT_EQ(1, Run(noList));
    EXPECT_TRUE(items.empty());
    EXPECT_EQ(1u, Count("Root.ApplySettings"));
    EXPECT_TRUE(Machine().m_snapshots.m_outstanding.empty());
    Machine().m_bHasEclosionTemplates = true;

    // Snapshots allowed, but no printer, no snapshot, or a snapshot without the template list: Cancel keeps
    // the edits, and whatever was made is given back.
    AddSix();
    List().m_nCurrentIndex = 4;
    auto editThenCancel = [&] {
        Operator op;
        op.Then([&](HWND hDlg) {
            MoveSlider(hDlg, IDC_ECLOSION_ELEMENT1_WIDTH, 6, TB_THUMBTRACK);
            Click(hDlg, IDCANCEL);
        });
        Run(op);
        uint32_t nWidth = List().m_templates[4]->m_modes[0]->m_elements[0]->m_nWidth;
        List().m_templates[4]->m_modes[0]->m_elements[0]->m_nWidth = 3;
        return nWidth;
    };
    Machine().m_bHasPrinter = false;
    EXPECT_EQ(6u, editThenCancel());
    Machine().m_bHasPrinter = true;
    Machine().m_snapshots.m_bCreateFails = true;
    EXPECT_EQ(6u, editThenCancel());
    Machine().m_snapshots.m_bCreateFails = false;
    Machine().m_snapshots.m_bHasSection = false;
    EXPECT_EQ(6u, editThenCancel());
    EXPECT_EQ(2, Machine().m_snapshots.m_nCreated); // the empty editor's and the one without the list
    EXPECT_TRUE(Machine().m_snapshots.m_outstanding.empty());
    EXPECT_EQ(0u, Count("EclosionList.Data.CopyFrom"));

    // A position the host cannot return lists nothing; a refused append adds nothing.
    List().m_templates[4].reset();
    List().m_bAddFails = true;
    Operator gaps;
    gaps.Then([&](HWND hDlg) {
        Click(hDlg, IDC_ECLOSION_ADD_TEMPLATE);
        items = ListBoxItems(hDlg, IDC_ECLOSION_TEMPLATES);
        Click(hDlg, IDOK);
    });
    Run(gaps);
    EXPECT_EQ(5u, items.size());
    EXPECT_EQ(L"Template6--Custom", items.back());
    EXPECT_EQ(6u, List().m_templates.size());
}

TEST(CustomEclosionLanguage, TemplateNamesAreShownInTheOperatorsLanguage) {
    PluginSession session(L"Chs");
    std::vector<std::wstring> items;
    std::wstring strCaption;
    Operator op;
    op.Then([&](HWND hDlg) {
        strCaption = CaptionOf(hDlg);
        Click(hDlg, IDC_ECLOSION_ADD_TEMPLATE);
        items = ListBoxItems(hDlg, IDC_ECLOSION_TEMPLATES);
        Click(hDlg, IDCANCEL);
    });
    op.Start();
    session->ShowCustomEclosion(0);
    EXPECT_EQ(L"自定义羽化", strCaption);
    ASSERT_EQ(5u, items.size());
    EXPECT_EQ(L"模板1--默认", items[0]);
    EXPECT_EQ(L"模板5--自定义", items[4]);
}

} // namespace
