// "Tris/Tableaux évolués" as the analyst runs it: "Profils croisés" filled through its tabs, the
// advanced table it gives compared with what qesrun prints for the same request written as text,
// and the table's definition reopened from its window giving the same table back.
#include "MorvaneAppTestSupport.h"
#include "gui/requests/AdvancedTableTestSupport.h"
#include "tabulation/Style.h"
#include "gui/tabulation/TableDefinitionEditor.h"
#include "tools/qesrun/Command.h"
#include "tools/qesrun/TablePrinter.h"

#include <QTabWidget>
#include <fstream>
#include <sstream>

namespace {

using shell_test::MorvaneAppTest;
using namespace requests_test;

constexpr unsigned kTableauxEvolues = 32890;

class AdvancedTableFromFrameTest : public MorvaneAppTest {
protected:
    void SetUp() override {
        MorvaneAppTest::SetUp();
        ASSERT_TRUE(Start(DemoPath()));
    }

    void RunAnswered(unsigned id, const std::vector<ModalAnswers::Step>& steps) {
        ModalAnswers answers(steps);
        Run(id);
        EXPECT_EQ(answers.Answered(), steps.size());
        EXPECT_EQ(answers.Unexpected(), 0);
    }

    std::string Qesrun(const std::string& text) const {
        const std::filesystem::path file = s_folder / "advanced-request.req";
        std::ofstream(file) << text;
        std::ostringstream out;
        std::ostringstream err;
        EXPECT_EQ(qesrun::Command::Run({DemoPath(), file.string()}, out, err), qesrun::Command::kTablesPrinted)
            << err.str();
        return out.str();
    }

    static std::string Printed(const CTableauDoc& document) {
        std::ostringstream out;
        qesrun::TablePrinter::Print(*document.GetTableau(), out);
        return out.str();
    }

    CTableauDoc* OnlyTable() const {
        const std::vector<CTableauDoc*> tables = TableDocuments();
        EXPECT_EQ(tables.size(), 1u);
        return tables.size() == 1 ? tables.front() : nullptr;
    }
};

TEST_F(AdvancedTableFromFrameTest, TheCommandsDialogGivesTheAdvancedTableQesrunGives) {
    Select("SATISF");
    ASSERT_TRUE(IsEnabled(kTableauxEvolues));
    RunAnswered(kTableauxEvolues, {[](QDialog& shown) {
                    auto* dialog = qobject_cast<RequestDialog*>(&shown);
                    ASSERT_NE(dialog, nullptr);
                    EXPECT_EQ(dialog->windowTitle(), QStringLiteral("Profils croisés"));
                    ASSERT_NE(dialog->GetTabs(), nullptr);
                    EXPECT_EQ(dialog->GetTabs()->currentIndex(), 0);
                    FillAdvancedTable(*dialog);
                    dialog->OkButton().click();
                }});
    const CTableauDoc* table = OnlyTable();
    ASSERT_NE(table, nullptr);
    EXPECT_EQ(Printed(*table), Qesrun(std::string(kAdvancedText) + "titre Profils croisés\n"));
    EXPECT_TRUE(m_ui->shown.empty());
}

// Reopened from its window and confirmed as it stands, the definition gives the same request and
// the same table.
TEST_F(AdvancedTableFromFrameTest, TheDefinitionReopenedGivesTheRequestBackUnchanged) {
    Select("SATISF");
    RunAnswered(kTableauxEvolues, {[](QDialog& shown) {
                    auto* dialog = qobject_cast<RequestDialog*>(&shown);
                    ASSERT_NE(dialog, nullptr);
                    FillAdvancedTable(*dialog);
                    dialog->GetPageStyle()->TitleEdit().setText(QStringLiteral("Satisfaction et âge"));
                    dialog->OkButton().click();
                }});
    CTableauDoc* original = OnlyTable();
    ASSERT_NE(original, nullptr);
    const std::string printed = Printed(*original);
    const CTraitement& before = *original->GetTableau()->GetTraitement();
    const std::string style = before.GetStyle()->DonnerChaine();
    const std::string rows = before.GetProfilAxe(CTraitement::kLignes)->ToString(*m_app);
    const std::string columns = before.GetProfilAxe(CTraitement::kColonnes)->ToString(*m_app);

    ASSERT_TRUE(IsEnabled(CTableauDoc::kRetourDefinition));
    RunAnswered(CTableauDoc::kRetourDefinition, {[](QDialog& shown) {
                    auto* dialog = qobject_cast<RequestDialog*>(&shown);
                    ASSERT_NE(dialog, nullptr);
                    EXPECT_EQ(dialog->GetPageStyle()->GetOperations().size(), kAdvancedStyle.size());
                    dialog->OkButton().click();
                }});
    const CTableauDoc* again = OnlyTable();
    ASSERT_NE(again, nullptr);
    EXPECT_NE(again, original);
    const CTraitement& after = *again->GetTableau()->GetTraitement();
    EXPECT_EQ(after.type, CTraitement::kTableauxEvolues);
    EXPECT_EQ(after.title, "Satisfaction et âge");
    EXPECT_EQ(after.GetStyle()->DonnerChaine(), style);
    EXPECT_EQ(after.GetProfilAxe(CTraitement::kLignes)->ToString(*m_app), rows);
    EXPECT_EQ(after.GetProfilAxe(CTraitement::kColonnes)->ToString(*m_app), columns);
    EXPECT_EQ(Printed(*again), printed);
}

} // namespace
