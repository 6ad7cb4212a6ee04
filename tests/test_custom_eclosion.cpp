// The eclosion template editor through ShowCustomEclosion: what it shows of the host's templates, what its
// controls change in them, and how Cancel puts them back from the snapshot.
#include <sstream>

#include "Plugin.h"
#include "res/resource.h"

namespace {

// Mode count, the mode chosen and the element count shown, as "3 modes, 2 chosen, 1 elements".
std::string Modes(HWND hDlg) {
    const int kModes[] = {IDC_ECLOSION_MODE1, IDC_ECLOSION_MODE2, IDC_ECLOSION_MODE3};
    int nModes = 0, nChosen = 0, nElements = 0;
    for (int i = 0; i < 3; ++i)
        if (IsShown(hDlg, kModes[i]) && (++nModes, IsChecked(hDlg, kModes[i])))
            nChosen = i + 1;
    for (int nId : {IDC_ECLOSION_ELEMENT1_GROUP, IDC_ECLOSION_ELEMENT2_GROUP})
        nElements += IsShown(hDlg, nId);
    return std::to_string(nModes) + " modes, " + std::to_string(nChosen) + " chosen, " +
           std::to_string(nElements) + " elements";
}

std::string Describe(const SimEclosionTemplate& t) {
    std::ostringstream out;
    out << t.m_strName << " range " << t.m_nRange << " mode " << t.m_nCurrentMode << ":";
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
        str += " | " + (t ? Describe(*t) : "none");
    return str;
}

// AddDefaultEclosionTemplates gives the simulator's six templates: four defaults of two modes of two 1 x 1
// elements (ranges 10 to 40), "Template5--Custom" (range 60, current) with modes {2x2}, {3x2 5x4} (current)
// and {8x8}, and "Template6--Custom" (range 120) with one mode {6x1}.
class CustomEclosionTest : public ::testing::Test {
protected:
    void SetUp() override { AddDefaultEclosionTemplates(List()); }
    SimMachine& Machine() { return *session.m_pMachine; }
    SimEclosionTemplateList& List() { return Machine().m_eclosion; }
    SimEclosionTemplate& Template(size_t i) { return *List().m_templates[i]; }
    SimSnapshots& Snapshots() { return Machine().m_snapshots; }
    int32_t Run(std::vector<Operator::Step> steps, uint32_t nEditDefaults = 0) {
        return Drive(std::move(steps), [&] { return session->ShowCustomEclosion(nEditDefaults); });
    }
    size_t Count(const std::string& strPrefix) { return Machine().m_log.Filter({strPrefix}).size(); }
    void ExpectSnapshotsGivenBack() {
        EXPECT_TRUE(Snapshots().m_outstanding.empty() && !Snapshots().m_nBadReleases);
    }

    PluginSession session;
};

TEST_F(CustomEclosionTest, AnEmptyListOpensAsFourDefaultTemplatesWhereOnlyTheRangeChangesAndOkSavesIt) {
    List().m_templates.clear();
    List().m_nCurrentIndex = -1;
    Run({[&](HWND hDlg) {
             EXPECT_EQ(4u, ListBoxItems(hDlg, IDC_ECLOSION_TEMPLATES).size());
             EXPECT_EQ("2 modes, 1 chosen, 2 elements", Modes(hDlg));
             EXPECT_FALSE(IsEnabled(hDlg, IDC_ECLOSION_ELEMENT1_WIDTH)); // which controls: a rule's
             EXPECT_EQ(L"20", TextOf(hDlg, IDC_ECLOSION_RANGE));
             SetFocusTo(hDlg, IDC_ECLOSION_RANGE_SLIDER);
             PressKey(hDlg, VK_RIGHT);
         },
         [&](HWND hDlg) {
             EXPECT_EQ(L"21", TextOf(hDlg, IDC_ECLOSION_RANGE));
             Machine().m_bHasPrinter = false; // the snapshot still goes back to its maker
             Click(hDlg, IDOK);
         }});
    EXPECT_EQ(21, Template(0).m_nRange);
    EXPECT_EQ(0, List().m_nCurrentIndex);
    EXPECT_EQ((std::vector<std::string>{"Root.ApplySettings(2,1,0)"}),
              Machine().m_log.Filter({"Root.Apply"}));
    EXPECT_EQ(0u, Count("EclosionList.Data.CopyFrom"));
    ExpectSnapshotsGivenBack();
}

TEST_F(CustomEclosionTest, ModesAndElementsAreEditedInPlaceAndANewTemplateStartsEmptyWithItsOwnRange) {
    List().m_nCurrentIndex = 0;
    Run({[&](HWND hDlg) {
            Click(hDlg, IDC_ECLOSION_ADD_MODE);
            EXPECT_EQ("3 modes, 3 chosen, 0 elements", Modes(hDlg));
            Click(hDlg, IDC_ECLOSION_MODE2);
            EXPECT_EQ(1u, Template(0).m_nCurrentMode);
            Click(hDlg, IDC_ECLOSION_DELETE_MODE);
            EXPECT_EQ("2 modes, 1 chosen, 2 elements", Modes(hDlg));
            // A new template is selected without moving the range slider, and takes modes and elements.
            Click(hDlg, IDC_ECLOSION_ADD_TEMPLATE);
            EXPECT_EQ(L"Template7--Custom", ListBoxItems(hDlg, IDC_ECLOSION_TEMPLATES).back());
            EXPECT_EQ(6, ListBoxSelection(hDlg, IDC_ECLOSION_TEMPLATES));
            EXPECT_EQ(L"10", TextOf(hDlg, IDC_ECLOSION_RANGE));
            EXPECT_EQ("0 modes, 0 chosen, 0 elements", Modes(hDlg));
            Click(hDlg, IDC_ECLOSION_ADD_MODE);
            Click(hDlg, IDC_ECLOSION_ADD_ELEMENT);
            Click(hDlg, IDC_ECLOSION_ADD_ELEMENT);
            EXPECT_EQ("1 modes, 1 chosen, 2 elements", Modes(hDlg));
            Click(hDlg, IDOK);
        }},
        1);
    // The third mode moved up; the second one is gone. The new template keeps the host's own range.
    EXPECT_EQ("Template1--Default range 10 mode 0: [1x1 1x1] []", Describe(Template(0)));
    ASSERT_EQ(7u, List().m_templates.size());
    EXPECT_EQ("Template7--Custom range 20 mode 0: [1x1 1x1]", Describe(Template(6)));
    EXPECT_EQ(6, List().m_nCurrentIndex);
}

// Without a usable snapshot the edits stay; whatever snapshot was made goes back all the same.
TEST_F(CustomEclosionTest, CancelEscapeAndTheCloseBoxRestoreTheListFromTheSnapshotWhenThereIsOne) {
    SimSnapshots& snapshots = Snapshots();
    const Operator::Step cancel = [](HWND h) { Click(h, IDCANCEL); };
    const struct {
        std::function<void()> fault;
        Operator::Step leave;
    } cases[] = {
        {[] {}, cancel},
        {[] {}, [](HWND h) { PressKey(h, VK_ESCAPE); }},
        {[] {}, &CloseBox},
        {[&] { Machine().m_bHasPrinter = false; }, cancel},
        {[&] { snapshots.m_bCreateFails = true; }, cancel},
        {[&] { snapshots.m_bHasSection = false; }, cancel}, // one without the list
        {[&] { snapshots.m_bEnabled = false; }, cancel},
    };
    for (size_t i = 0; i < std::size(cases); ++i) {
        const auto& c = cases[i];
        List().m_templates.clear();
        AddDefaultEclosionTemplates(List());
        List().m_nCurrentIndex = 9; // outside the list: the first template is selected, and becomes current
        const std::string strAtOpening = Describe(List());
        Machine().m_bHasPrinter = snapshots.m_bEnabled = snapshots.m_bHasSection = true;
        snapshots.m_bCreateFails = false;
        c.fault();
        Machine().m_log.Clear();
        EXPECT_EQ(1, Run({[&](HWND hDlg) {
                      EXPECT_EQ(0, ListBoxSelection(hDlg, IDC_ECLOSION_TEMPLATES));
                      EXPECT_EQ(0, List().m_nCurrentIndex);
                      MoveSlider(hDlg, IDC_ECLOSION_RANGE_SLIDER, 15, TB_LINEUP);
                      SelectListBoxItem(hDlg, IDC_ECLOSION_TEMPLATES, 4);
                      MoveSlider(hDlg, IDC_ECLOSION_ELEMENT2_WIDTH, 8, TB_PAGEDOWN);
                      Click(hDlg, IDC_ECLOSION_DELETE_ELEMENT);
                      Click(hDlg, IDC_ECLOSION_ADD_TEMPLATE);
                      c.leave(hDlg);
                  }}));
        if (i < 3) { // the ways out with a usable snapshot
            EXPECT_EQ(strAtOpening, Describe(List()));
            EXPECT_EQ("Printer.ReleaseSnapshot", Machine().m_log.m_calls.back());
        } else {
            EXPECT_EQ(15, Template(0).m_nRange);
            EXPECT_EQ("Template5--Custom range 60 mode 1: [2x2] [8x4] [8x8]", Describe(Template(4)));
            EXPECT_EQ(0u, Count("EclosionList.Data.CopyFrom"));
        }
        EXPECT_EQ(0u, Count("Root.ApplySettings"));
    }
    EXPECT_EQ(0u, Count("Printer.")); // snapshots forbidden: the printer is not asked for one
    EXPECT_EQ(3 + 1, snapshots.m_nCreated);
    ExpectSnapshotsGivenBack();
}

} // namespace
