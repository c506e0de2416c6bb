// The grouped tables as the analyst orders them: "Tris avec regroupement" and "Tri Croisé avec
// regroupement" from the main frame, on a copy of the demo whose satisfaction question carries a
// grouping of its modalities, the dialogs answered with clicks and keys on their own widgets. The
// tables are compared with what qesrun prints for the same request written as text; the counts
// of the regrouping page with the answers read straight from the file.
#include "MorvaneAppTestSupport.h"
#include "RequestDialogSteps.h"
#include "app/Recodage.h"
#include "app/Redressement.h"
#include "app/TblRecode.h"
#include "framework/MultiTree.h"
#include "platform/db/Database.h"
#include "platform/db/Recordset.h"
#include "recodes/ObjectifRedressement.h"
#include "gui/requests/CalculListCtrl.h"
#include "gui/requests/LineStyleButtons.h"
#include "gui/requests/ListCtrlBarres.h"
#include "gui/requests/ModaliteListCtrl.h"
#include "gui/requests/PageCalculsDlg.h"
#include "gui/requests/PageQuestionsCalculsDlg.h"
#include "gui/requests/PageRegroupementDlg.h"
#include "gui/requests/RequestDialog.h"
#include "gui/requests/SelQuestionDlg.h"
#include "gui/tabulation/TableauDoc.h"
#include "tools/qesrun/Command.h"
#include "tools/qesrun/TablePrinter.h"
#include "tools/screenshot/ModalAnswers.h"

#include <QDialog>
#include <QHeaderView>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <QToolButton>
#include <algorithm>
#include <filesystem>
#include <fstream>
#include <functional>
#include <gtest/gtest.h>
#include <map>
#include <sstream>

namespace {

using shell_test::MorvaneAppTest;
using namespace shell_test::steps;

constexpr unsigned kTriSimple = 32771;
constexpr unsigned kTriRegroupement = 32804;
constexpr unsigned kTriCroiseRegroupement = 32859;

constexpr const char* kGrouped = "SATISF-REGROUPEE";
constexpr std::int32_t kSatisfCode = 10;
// The satisfied, the neutral modality alone, the dissatisfied.
constexpr const char* kGrouping = "0;0;Satisfaits|1;1;Très satisfait|2;1;Plutôt satisfait|"
                                  "3;0;Ni satisfait ni insatisfait|"
                                  "0;0;Insatisfaits|4;1;Plutôt insatisfait|5;1;Pas du tout satisfait|";
const std::vector<std::string> kGroupingOrder = {"Satisfaits",   "Très satisfait",     "Plutôt satisfait",
                                                 "Ni satisfait ni insatisfait", "Insatisfaits",
                                                 "Plutôt insatisfait", "Pas du tout satisfait"};

using Labels = std::vector<std::string>;

// ---- The file ---------------------------------------------------------------------------------

// A copy of the demo with the grouping of SATISF stored in its recodes, written once.
std::string GroupedDemoPath(const std::filesystem::path& folder, const std::string& demo) {
    const std::filesystem::path path = folder / "grouped.qes";
    if (std::filesystem::exists(path))
        return path.string();
    const std::filesystem::path writing = folder / "grouped.qes.part";
    std::filesystem::copy_file(demo, writing, std::filesystem::copy_options::overwrite_existing);
    {
        db::Database database(writing.string(), db::Database::Access::ReadWrite);
        EXPECT_TRUE(CTblRecode::CreerTable(database));
        CTblRecode table(database, 404);
        table.Open();
        table.AddNew();
        table.m_Type = CRecodage::kModalite;
        table.m_CodeQuestion = kSatisfCode;
        table.m_Libelle = kGrouped;
        table.m_Regroupement = kGrouping;
        table.Update();
    }
    std::filesystem::rename(writing, path);
    return path.string();
}

// The file's bytes, hashed (FNV-1a, 64 bits).
std::uint64_t FileHash(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::uint64_t hash = 14695981039346656037ull;
    for (char c; in.get(c);) {
        hash ^= static_cast<unsigned char>(c);
        hash *= 1099511628211ull;
    }
    return hash;
}

// Straight from the response table: the weight of the interviews by their answer to SATISF, each
// interview weighing its answer to `weight` (1 each when empty).
std::map<long long, double> SatisfactionWeights(const std::string& path, const std::string& weight) {
    db::Database database(path, db::Database::Access::ReadOnly);
    db::Recordset interviews(database, "VEL Reponse1");
    std::map<long long, double> sums;
    for (; !interviews.isEOF(); interviews.moveNext()) {
        const db::Value answer = interviews.value("10;1");
        if (answer.isNull())
            continue;
        sums[answer.toInteger()] += weight.empty() ? 1.0 : interviews.value(weight).toDouble();
    }
    return sums;
}

// ---- Driving the dialogs ------------------------------------------------------------------------

Labels Column(const QTreeWidget& list, int column) {
    Labels texts;
    for (int row = 0; row < list.topLevelItemCount(); ++row)
        texts.push_back(list.topLevelItem(row)->text(column).toStdString());
    return texts;
}

// A click on the row's label, as the analyst selects it.
void ClickRow(QTreeWidget& list, const std::string& label) {
    QTreeWidgetItem* row = RowLabelled(list, label);
    ASSERT_NE(row, nullptr) << label;
    const QRect place = list.visualItemRect(row);
    QTest::mouseClick(list.viewport(), Qt::LeftButton, Qt::NoModifier, place.center());
}

void ClickHeader(QTreeWidget& list, int column) {
    QHeaderView& header = *list.header();
    const QPoint middle(header.sectionViewportPosition(column) + header.sectionSize(column) / 2,
                        header.height() / 2);
    QTest::mouseClick(header.viewport(), Qt::LeftButton, Qt::NoModifier, middle);
}

// Each row's label followed by the letters of the styles it is drawn in (B, I, U).
Labels Styles(const QTreeWidget& list) {
    Labels rows;
    for (int row = 0; row < list.topLevelItemCount(); ++row) {
        const QTreeWidgetItem& item = *list.topLevelItem(row);
        std::string text = item.text(0).toStdString();
        const QFont font = item.font(0);
        if (font.bold() || font.italic() || font.underline())
            text += " ";
        text += std::string(font.bold() ? "B" : "") + (font.italic() ? "I" : "") + (font.underline() ? "U" : "");
        rows.push_back(text);
    }
    return rows;
}

CListCtrlBarres& GroupingList(const RequestDialog& dialog) {
    CPageRegroupementDlg* page = dialog.GetPageRegroupement();
    EXPECT_NE(page, nullptr);
    return page->GetList();
}

class GroupingFromFrameTest : public shell_test::RequestCommandTest {
protected:
    void SetUp() override {
        MorvaneAppTest::SetUp();
        m_path = GroupedDemoPath(s_folder, DemoPath());
        ASSERT_TRUE(Start(m_path));
        ASSERT_NE(m_app->TrouverQuestionParNom(kGrouped), nullptr);
    }

    std::string Qesrun(const std::string& text) const {
        return QesrunPrints(m_path, s_folder / "grouped-request.req", text);
    }

    CTableauDoc* OnlyTable() const {
        const std::vector<CTableauDoc*> tables = TableDocuments();
        EXPECT_EQ(tables.size(), 1u);
        return tables.size() == 1 ? tables.front() : nullptr;
    }

    // The labels of the table's rows, below its column headers, from its last row-header level
    // that has a label.
    static Labels RowLabels(const CTableauDoc& document) {
        const CTableau& table = *document.GetTableau();
        Labels labels;
        const std::int32_t first = table.DonnerNbLignesEnTete();
        for (std::int32_t row = first; row < first + table.DonnerNbLignes(); ++row) {
            std::string label;
            for (std::int32_t column = 0; column < table.DonnerNbColonnesEnTete(); ++column)
                if (const std::string text = table.DonnerTexteCellule(row, column); !text.empty())
                    label = text;
            labels.push_back(label);
        }
        return labels;
    }

    std::string m_path;
};

// ---- Commands and tables ------------------------------------------------------------------------

TEST_F(GroupingFromFrameTest, TheGroupedCommandsAreOfferedOnAGroupedQuestionOnly) {
    for (const unsigned id : {kTriRegroupement, kTriCroiseRegroupement}) {
        SCOPED_TRACE(id);
        Select(kGrouped);
        EXPECT_TRUE(IsEnabled(id));
        Select("SATISF");
        EXPECT_FALSE(IsEnabled(id));
        Select("AGE");
        EXPECT_FALSE(IsEnabled(id));
    }
}

TEST_F(GroupingFromFrameTest, EachGroupedDialogGivesTheTableOfTheSameRequestAsText) {
    struct Case {
        const char* name;
        unsigned command;
        const char* caption;
        std::vector<ModalAnswers::Step> steps;
        const char* text;
    };
    QString caption;
    const auto check = [&caption](RequestDialog& dialog) { caption = dialog.windowTitle(); };
    const std::vector<Case> cases = {
        {"grouped flat table with cumulated percentages", kTriRegroupement, "Tri avec regroupement",
         {Define([&check](RequestDialog& dialog) {
             check(dialog);
             Tick(dialog.GetPageCalculs(0)->GetList(), "Pourcentages cumulés", true);
         })},
         "type regroupement\nlignes SATISF-REGROUPEE\ncalculs 0 1 2\n"},
        {"grouped cross table by region with column percentages", kTriCroiseRegroupement,
         "Tri croisé avec regroupement",
         {Pick("REGION"), Define([&check](RequestDialog& dialog) {
              check(dialog);
              Tick(dialog.GetPageCalculs(0)->GetList(), "Profil colonne", true);
          })},
         "type croise-regroupement\nlignes SATISF-REGROUPEE\ncolonnes REGION total\ncalculs 0 1 2\n"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        m_app->GetTemplate(TemplateKind::kTableau).CloseAllDocuments();
        Select(kGrouped);
        RunAnswered(c.command, c.steps);
        EXPECT_EQ(caption.toStdString(), c.caption);
        const CTableauDoc* table = OnlyTable();
        ASSERT_NE(table, nullptr);
        const CTraitement* request = table->GetTableau()->GetTraitement();
        ASSERT_NE(request, nullptr);
        EXPECT_EQ(Printed(*table), Qesrun(std::string(c.text) + "titre " + request->title + "\n"));
        EXPECT_EQ(request->mergeOptions.EstVersDossier, 0);
        EXPECT_TRUE(m_ui->shown.empty());
    }
}

// ---- The regrouping page ------------------------------------------------------------------------

// A click on "Effectif" orders the groups by their weights and the members within each group by
// theirs. The weights are the answers to FOYER (the size of the household), through a weighting
// that takes them as they are; the expected order is counted from the response table.
TEST_F(GroupingFromFrameTest, FrequencySortFollowsTheWeightedCountsOfTheQuestion) {
    CRedressement weighting;
    weighting.id = 71;
    weighting.name = "Par foyer";
    weighting.definition = "6@@0~" + CObjectifRedressement().EcrireDefinition(*m_app, false, 0);
    m_app->MettreAJourRedressement(weighting);
    m_app->weightingCode = weighting.id;
    m_app->weightingLabel = weighting.name;

    const std::map<long long, double> byCode = SatisfactionWeights(m_path, "6;1");
    const auto weightOf = [&byCode](long long code) {
        const auto found = byCode.find(code);
        return found != byCode.end() ? found->second : 0.0;
    };
    struct Entry {
        std::string label;
        double weight;
        std::vector<Entry> members;
    };
    std::vector<Entry> groups = {
        {"Satisfaits", weightOf(1) + weightOf(2), {{"Très satisfait", weightOf(1), {}}, {"Plutôt satisfait", weightOf(2), {}}}},
        {"Ni satisfait ni insatisfait", weightOf(3), {}},
        {"Insatisfaits", weightOf(4) + weightOf(5),
         {{"Plutôt insatisfait", weightOf(4), {}}, {"Pas du tout satisfait", weightOf(5), {}}}},
    };
    const auto heavierFirst = [](const Entry& a, const Entry& b) { return a.weight > b.weight; };
    std::stable_sort(groups.begin(), groups.end(), heavierFirst);
    Labels expectedLabels;
    Labels expectedCounts;
    for (Entry& group : groups) {
        std::stable_sort(group.members.begin(), group.members.end(), heavierFirst);
        expectedLabels.push_back(group.label);
        expectedCounts.push_back(std::to_string(static_cast<long long>(group.weight)));
        for (const Entry& member : group.members) {
            expectedLabels.push_back(member.label);
            expectedCounts.push_back(std::to_string(static_cast<long long>(member.weight)));
        }
    }
    // The household sizes make another order than the grouping's.
    ASSERT_NE(expectedLabels, kGroupingOrder);

    Labels shown;
    Labels counts;
    Labels byOrder;
    Select(kGrouped);
    RunAnswered(kTriRegroupement, {Define([&](RequestDialog& dialog) {
                    CListCtrlBarres& list = GroupingList(dialog);
                    ClickHeader(list, CListCtrlBarres::kEffectif);
                    shown = Column(list, CListCtrlBarres::kLibelle);
                    counts = Column(list, CListCtrlBarres::kEffectif);
                    ClickHeader(list, CListCtrlBarres::kOrdre);
                    byOrder = Column(list, CListCtrlBarres::kLibelle);
                    ClickHeader(list, CListCtrlBarres::kEffectif);
                })});
    EXPECT_EQ(shown, expectedLabels);
    EXPECT_EQ(counts, expectedCounts);
    EXPECT_EQ(byOrder, kGroupingOrder);
    // The table follows the order of the page.
    const CTableauDoc* table = OnlyTable();
    ASSERT_NE(table, nullptr);
    EXPECT_EQ(RowLabels(*table), expectedLabels);
    // And its counts are the weights of the groups and of their members.
    const CTableau& cells = *table->GetTableau();
    Labels tableCounts;
    for (std::int32_t row = 0; row < cells.DonnerNbLignes(); ++row)
        tableCounts.push_back(
            cells.DonnerTexteCellule(cells.DonnerNbLignesEnTete() + row, cells.DonnerNbColonnesEnTete()));
    EXPECT_EQ(tableCounts, expectedCounts);
    EXPECT_EQ(table->GetTableau()->GetTraitement()->weightingName, "Par foyer");
}

// The buttons and Alt with the arrows move whole blocks; a move that has nowhere to go leaves the
// list as it was. Each case starts from the grouping's order.
TEST_F(GroupingFromFrameTest, MovesOnThePageTakeWholeGroups) {
    enum How { kUpButton, kDownButton, kAltUp, kAltDown };
    struct Case {
        const char* selected;
        How how;
        Labels after;
    };
    const Labels unchanged = kGroupingOrder;
    const std::vector<Case> cases = {
        {"Très satisfait", kUpButton, unchanged},
        {"Plutôt satisfait", kDownButton, unchanged},
        {"Satisfaits", kAltUp, unchanged},
        {"Insatisfaits", kAltDown, unchanged},
        {"Plutôt satisfait", kAltUp,
         {"Satisfaits", "Plutôt satisfait", "Très satisfait", "Ni satisfait ni insatisfait", "Insatisfaits",
          "Plutôt insatisfait", "Pas du tout satisfait"}},
        {"Satisfaits", kDownButton,
         {"Ni satisfait ni insatisfait", "Satisfaits", "Très satisfait", "Plutôt satisfait", "Insatisfaits",
          "Plutôt insatisfait", "Pas du tout satisfait"}},
        {"Insatisfaits", kUpButton,
         {"Satisfaits", "Très satisfait", "Plutôt satisfait", "Insatisfaits", "Plutôt insatisfait",
          "Pas du tout satisfait", "Ni satisfait ni insatisfait"}},
        {"Ni satisfait ni insatisfait", kAltUp,
         {"Ni satisfait ni insatisfait", "Satisfaits", "Très satisfait", "Plutôt satisfait", "Insatisfaits",
          "Plutôt insatisfait", "Pas du tout satisfait"}},
    };
    Select(kGrouped);
    RunAnswered(kTriRegroupement, {Define(
                                       [&cases](RequestDialog& dialog) {
                                           CListCtrlBarres& list = GroupingList(dialog);
                                           LineStyleButtons& buttons = dialog.GetPageRegroupement()->GetButtons();
                                           for (const Case& c : cases) {
                                               SCOPED_TRACE(std::string(c.selected) + " " + std::to_string(c.how));
                                               ClickHeader(list, CListCtrlBarres::kOrdre);
                                               ClickRow(list, c.selected);
                                               const bool up = c.how == kUpButton || c.how == kAltUp;
                                               if (c.how == kUpButton || c.how == kDownButton)
                                                   QTest::mouseClick(up ? &buttons.UpButton() : &buttons.DownButton(),
                                                                     Qt::LeftButton);
                                               else
                                                   QTest::keyClick(&list, up ? Qt::Key_Up : Qt::Key_Down,
                                                                   Qt::AltModifier);
                                               EXPECT_EQ(Column(list, CListCtrlBarres::kLibelle), c.after);
                                               // The moved row stays the selected one.
                                               ASSERT_NE(list.currentItem(), nullptr);
                                               EXPECT_EQ(list.currentItem()->text(0).toStdString(), c.selected);
                                               EXPECT_TRUE(list.currentItem()->isSelected());
                                           }
                                       },
                                       false)});
    EXPECT_TRUE(TableDocuments().empty());
}

// The table made after moves, a new label and a style comes back in its dialog as it was made,
// not as the question's grouping stands, and OK without a change gives the same table again.
TEST_F(GroupingFromFrameTest, EditingAGroupedTableRestoresItsStoredGrouping) {
    const Labels made = {"Insatisfaits", "Pas du tout satisfait", "Plutôt insatisfait", "Content(e)s",
                         "Très satisfait", "Plutôt satisfait", "Ni satisfait ni insatisfait"};
    Labels styled;
    Select(kGrouped);
    RunAnswered(kTriCroiseRegroupement, {Pick("SEXE"), Define([&styled](RequestDialog& dialog) {
                                             CListCtrlBarres& list = GroupingList(dialog);
                                             ClickRow(list, "Insatisfaits");
                                             QTest::keyClick(&list, Qt::Key_Up, Qt::AltModifier);
                                             QTest::keyClick(&list, Qt::Key_Up, Qt::AltModifier);
                                             ClickRow(list, "Pas du tout satisfait");
                                             QTest::keyClick(&list, Qt::Key_Up, Qt::AltModifier);
                                             ClickRow(list, "Satisfaits");
                                             QTest::keyClick(&list, Qt::Key_F2);
                                             auto* editor = list.viewport()->findChild<QLineEdit*>();
                                             ASSERT_NE(editor, nullptr);
                                             QTest::keyClick(editor, Qt::Key_A, Qt::ControlModifier);
                                             QTest::keyClicks(editor, QStringLiteral("Content(e)s"));
                                             QTest::keyClick(editor, Qt::Key_Return);
                                             // The item view takes the new label once its events are handled.
                                             QApplication::processEvents();
                                             QTest::keyClick(&list, Qt::Key_I, Qt::AltModifier);
                                             ClickRow(list, "Très satisfait");
                                             QTest::keyClick(&list, Qt::Key_U, Qt::AltModifier);
                                             styled = Styles(list);
                                         })});
    CTableauDoc* original = OnlyTable();
    ASSERT_NE(original, nullptr);
    EXPECT_EQ(RowLabels(*original), made);
    const std::string before = Printed(*original);
    // The analyst's styles took (the groups come bold from the grouping).
    EXPECT_NE(std::find(styled.begin(), styled.end(), "Content(e)s BI"), styled.end())
        << ::testing::PrintToString(styled);
    EXPECT_NE(std::find(styled.begin(), styled.end(), "Très satisfait U"), styled.end());

    Labels shown;
    RunAnswered(CTableauDoc::kRetourDefinition, {Define([&shown](RequestDialog& dialog) {
                    EXPECT_EQ(dialog.windowTitle(), QStringLiteral("Tri croisé avec regroupement"));
                    shown = Styles(GroupingList(dialog));
                })});
    EXPECT_EQ(shown, styled);
    const CTableauDoc* edited = OnlyTable();
    ASSERT_NE(edited, nullptr);
    EXPECT_NE(edited, original);
    EXPECT_EQ(Printed(*edited), before);
}

// Cancel, at any step, leaves the questionnaire file as it was and opens no table.
TEST_F(GroupingFromFrameTest, CancelLeavesTheQuestionnaireFileAsItWas) {
    const std::uint64_t before = FileHash(m_path);
    Select(kGrouped);
    RunAnswered(kTriRegroupement, {Define(
                                       [](RequestDialog& dialog) {
                                           CListCtrlBarres& list = GroupingList(dialog);
                                           ClickRow(list, "Insatisfaits");
                                           QTest::keyClick(&list, Qt::Key_Up, Qt::AltModifier);
                                           ClickHeader(list, CListCtrlBarres::kEffectif);
                                       },
                                       false)});
    RunAnswered(kTriCroiseRegroupement, {Pick("REGION"), Define([](RequestDialog&) {}, false)});
    RunAnswered(kTriCroiseRegroupement, {[](QDialog& picker) { picker.reject(); }});
    EXPECT_TRUE(TableDocuments().empty());
    EXPECT_EQ(FileHash(m_path), before);
}

// A grouped table leaves the next flat table of the grouped question its own choices: its lines
// are groups, not the question's modalities, and it has no Total line to untick.
TEST_F(GroupingFromFrameTest, AGroupedTableLeavesTheNextFlatTableItsChoices) {
    const auto flatChoices = [this] {
        Labels ticked;
        RunAnswered(kTriSimple, {Define(
                                    [&ticked](RequestDialog& dialog) {
                                        const QTreeWidget& list = dialog.GetPageLignes(0)->GetList();
                                        for (int row = 0; row < list.topLevelItemCount(); ++row)
                                            if (list.topLevelItem(row)->checkState(0) == Qt::Checked)
                                                ticked.push_back(list.topLevelItem(row)->text(0).toStdString());
                                    },
                                    false)});
        return ticked;
    };
    Select(kGrouped);
    const Labels fresh = flatChoices();
    EXPECT_EQ(fresh, (Labels{"Satisfaits", "Ni satisfait ni insatisfait", "Insatisfaits", "Total"}));
    RunAnswered(kTriRegroupement, {Define([](RequestDialog& dialog) {
                    CListCtrlBarres& list = GroupingList(dialog);
                    ClickRow(list, "Très satisfait");
                    QTest::keyClick(&list, Qt::Key_Down, Qt::AltModifier);
                })});
    ASSERT_EQ(TableDocuments().size(), 1u);
    EXPECT_EQ(flatChoices(), fresh);
}

} // namespace
