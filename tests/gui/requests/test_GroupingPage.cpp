// The grouped tables' dialogs on a question given a grouping of its modalities: what OK refuses,
// and the tick boxes the analyst cannot change there.
#include "RequestDialogTestSupport.h"
#include "app/StringTable.h"
#include "recodes/RecodageModalite.h"
#include "gui/requests/ListCtrlBarres.h"
#include "gui/requests/PageRegroupementDlg.h"

namespace {

using namespace requests_test;
using T = CTraitement;

class GroupingPageTest : public DemoRequestTest {
protected:
    // REGION given a grouping: the north over Nord-Est and Nord-Ouest, then the rest alone; or an
    // empty one.
    void GroupRegion(bool withNodes) {
        CRecodageModalite grouping(&m_context);
        grouping.label = "Régions groupées";
        if (withNodes) {
            grouping.AjouterNoeud(std::make_unique<CModaliteGroupe>(&m_context, 0, "Nord", std::int16_t{0}));
            grouping.AjouterNoeud(std::make_unique<CModaliteGroupe>(&m_context, 2, "Nord-Est", std::int16_t{1}));
            grouping.AjouterNoeud(std::make_unique<CModaliteGroupe>(&m_context, 3, "Nord-Ouest", std::int16_t{1}));
            for (const auto& [code, caption] : {std::pair{1, "Île-de-France"}, {4, "Sud-Ouest"}, {5, "Sud-Est"}})
                grouping.AjouterNoeud(std::make_unique<CModaliteGroupe>(&m_context, code, caption, std::int16_t{0}));
        }
        Question("REGION")->SetRecodage(&grouping);
    }
};

TEST_F(GroupingPageTest, OkRefusesAGroupedRequestWithNothingChosenAndKeepsTheDialog) {
    struct Refusal {
        const char* name;
        std::int16_t type;
        std::vector<std::string> questions;
        bool withNodes;
        std::function<void(RequestDialog&)> spoil;
        int message;
    };
    const std::vector<Refusal> cases = {
        {"a grouping without a node", T::kTriRegroupement, {"REGION"}, false, [](RequestDialog&) {},
         StringTable::kSelectionnerUneModalite},
        {"a grouped flat table without a calculation", T::kTriRegroupement, {"REGION"}, true,
         [](RequestDialog& dialog) { TickAll(dialog.GetPageCalculs(0)->GetList(), false); },
         StringTable::kSelectionnerUnTraitement},
        {"a grouped cross table without a column line", T::kTriCroiseRegroupement, {"REGION", "SEXE"}, true,
         [](RequestDialog& dialog) { TickAll(dialog.GetPageLignes(1)->GetList(), false); },
         StringTable::kSelectionnerUneModalite},
        {"a grouped cross table without a calculation", T::kTriCroiseRegroupement, {"REGION", "SEXE"}, true,
         [](RequestDialog& dialog) { TickAll(dialog.GetPageCalculs(0)->GetList(), false); },
         StringTable::kSelectionnerUnTraitement},
    };
    for (const Refusal& test : cases) {
        SCOPED_TRACE(test.name);
        GroupRegion(test.withNodes);
        m_ui->shown.clear();
        auto dialog = NewDialog(test.type, test.questions);
        ASSERT_NE(dialog, nullptr);
        ASSERT_NE(dialog->GetPageRegroupement(), nullptr);
        test.spoil(*dialog);
        EXPECT_EQ(ClickOk(*dialog), nullptr);
        EXPECT_EQ(ShownIds(), std::vector<int>{test.message});
        EXPECT_TRUE(dialog->isVisible());
    }
}

// The tick boxes show the nodes the grouping keeps: neither Space nor a click on a box changes
// them, and every node goes into the request.
TEST_F(GroupingPageTest, TheAnalystDoesNotUntickANode) {
    GroupRegion(true);
    auto dialog = NewDialog(T::kTriRegroupement, {"REGION"});
    ASSERT_NE(dialog, nullptr);
    CListCtrlBarres& list = dialog->GetPageRegroupement()->GetList();
    SelectRows(list, {1});
    QTest::keyClick(&list, Qt::Key_Space);
    QTreeWidgetItem* row = list.topLevelItem(2);
    const QRect place = list.visualItemRect(row);
    QTest::mouseClick(list.viewport(), Qt::LeftButton, Qt::NoModifier,
                      QPoint(place.left() + CListCtrlBarres::kIndentPerLevel + 8, place.center().y()));
    EXPECT_EQ(Labels(list, true), (std::vector<std::string>{"Nord", "Nord-Est", "Nord-Ouest", "Île-de-France",
                                                           "Sud-Ouest", "Sud-Est"}));
    const std::unique_ptr<CTraitement> request = ClickOk(*dialog);
    ASSERT_NE(request, nullptr);
    const CRecodageModalite* grouping = request->GetRegroupementAxe(T::kLignes);
    ASSERT_NE(grouping, nullptr);
    EXPECT_EQ(grouping->NodeCount(), 6);
    EXPECT_EQ(grouping->label, "Régions groupées");
    EXPECT_EQ(request->GetTypeAxe(T::kLignes), T::kAxeRegroupement);
    EXPECT_EQ(request->GetTypeAxe(T::kColonnes), T::kAxeAucun);
    EXPECT_EQ(request->mergeOptions.EstVersDossier, 0);
}

} // namespace
