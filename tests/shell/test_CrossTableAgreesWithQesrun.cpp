// One cross table with every calculation the cross-table dialog offers, computed by the program
// from its "Tri croisé" command and by qesrun from the same request written as text: the two
// must agree cell by cell, test values and significance marks included, because both read the
// analysis options from their settings the same way. The demo is the full one (2000
// interviews), where the cell test and the line test of the significance give different marks.
#include "MorvaneAppTestSupport.h"
#include "framework/MultiTree.h"
#include "gui/requests/CalculListCtrl.h"
#include "gui/requests/PageCalculsDlg.h"
#include "gui/requests/PageQuestionsCalculsDlg.h"
#include "gui/requests/RequestDialog.h"
#include "gui/requests/SelQuestionDlg.h"
#include "tools/qesbuild/DemoSurvey.h"
#include "tools/qesrun/Command.h"
#include "tools/qesrun/TablePrinter.h"
#include "tools/screenshot/ModalAnswers.h"

#include <QDialog>
#include <QPushButton>
#include <fstream>
#include <gtest/gtest.h>
#include <sstream>
#include <string>
#include <vector>

namespace {

using shell_test::MorvaneAppTest;
using Grid = std::vector<std::vector<std::string>>;

constexpr unsigned kTriCroise = 32789;

// Every calculation of a cross table, in the order the dialog lists them, with its code.
const std::vector<std::string> kCrossCalculations = {"Effectifs",        "Profil ligne",    "Profil colonne",
                                                     "Fréquence totale", "Significativité", "Valeur test",
                                                     "Indice d'affinité"};
constexpr const char* kCrossRequest = "type tri-croise\n"
                                      "lignes SATISF total\n"
                                      "colonnes REGION total\n"
                                      "calculs 0 1 2 3 4 6 7\n";

std::string Path2000() {
    return DemoSurveyFolder::QuestionnairePath(qesbuild::DemoSurvey::kInterviews);
}

// The cells of printed tables: one row per line, cells split at the tabs.
Grid Cells(const std::string& printed) {
    Grid grid;
    std::istringstream lines(printed);
    std::string line;
    while (std::getline(lines, line)) {
        std::vector<std::string> row;
        std::size_t start = 0;
        for (std::size_t tab = line.find('\t'); tab != std::string::npos; tab = line.find('\t', start)) {
            row.push_back(line.substr(start, tab - start));
            start = tab + 1;
        }
        row.push_back(line.substr(start));
        grid.push_back(std::move(row));
    }
    return grid;
}

class CrossTableAgreesWithQesrunTest : public MorvaneAppTest {
protected:
    // The program started on the full demo, with the settings the test has written.
    void StartOnFullDemo() {
        ASSERT_TRUE(Start(Path2000()));
        ASSERT_NE(m_app->TrouverQuestionParNom("SATISF"), nullptr);
    }

    // SATISF by REGION from "Tri croisé", every calculation ticked; the table of its window.
    const CTableau* CrossTableFromTheFrame() {
        std::vector<std::string> offered;
        Select("SATISF");
        ModalAnswers answers({[](QDialog& shown) {
                                  auto* picker = qobject_cast<CSelQuestionDlg*>(&shown);
                                  ASSERT_NE(picker, nullptr);
                                  const QList<QTreeWidgetItem*> found = picker->GetTree().findItems(
                                      QStringLiteral("REGION"), Qt::MatchExactly | Qt::MatchRecursive);
                                  ASSERT_EQ(found.size(), 1);
                                  picker->GetTree().SelectItem(found.front());
                                  picker->accept();
                              },
                              [&offered](QDialog& shown) {
                                  auto* dialog = qobject_cast<RequestDialog*>(&shown);
                                  ASSERT_NE(dialog, nullptr);
                                  CCalculListCtrl& list = dialog->GetPageCalculs(0)->GetList();
                                  for (int row = 0; row < list.topLevelItemCount(); ++row) {
                                      offered.push_back(list.topLevelItem(row)->text(0).toStdString());
                                      list.topLevelItem(row)->setCheckState(0, Qt::Checked);
                                  }
                                  dialog->OkButton().click();
                              }});
        Run(kTriCroise);
        EXPECT_EQ(answers.Answered(), 2u);
        EXPECT_EQ(answers.Unexpected(), 0);
        // The request text below names every calculation the dialog offers.
        EXPECT_EQ(offered, kCrossCalculations);
        const std::vector<CTableauDoc*> tables = TableDocuments();
        if (tables.size() != 1u) {
            ADD_FAILURE() << tables.size() << " table windows";
            return nullptr;
        }
        return tables.front()->GetTableau();
    }

    // What qesrun prints for the request text with the given title.
    static std::string Qesrun(const std::string& title) {
        const std::filesystem::path file =
            DemoSurveyFolder::Get(qesbuild::DemoSurvey::kInterviews) / "cross-all-calculations.req";
        std::ofstream(file) << kCrossRequest << "titre " << title << '\n';
        std::ostringstream out;
        std::ostringstream err;
        EXPECT_EQ(qesrun::Command::Run({Path2000(), file.string()}, out, err), qesrun::Command::kTablesPrinted)
            << err.str();
        return out.str();
    }

    static std::string Printed(const CTableau& table) {
        std::ostringstream out;
        qesrun::TablePrinter::Print(table, out);
        return out.str();
    }
};

// The data cell of the table whose row is labelled `row` and whose column lies under the column
// modality `column` and the calculation `calculation`; empty when there is none.
std::string CellOf(const CTableau& table, const std::string& row, const std::string& column,
                   const std::string& calculation) {
    const std::int32_t rows = table.DonnerNbLignesEnTete() + table.DonnerNbLignes();
    const std::int32_t columns = table.DonnerNbColonnesEnTete() + table.DonnerNbColonnes();
    std::int32_t rowFound = -1;
    for (std::int32_t r = table.DonnerNbLignesEnTete(); r < rows && rowFound < 0; ++r)
        if (table.DonnerTexteCellule(r, 0) == row)
            rowFound = r;
    std::string modality;
    for (std::int32_t c = table.DonnerNbColonnesEnTete(); c < columns && rowFound >= 0; ++c) {
        if (const std::string label = table.DonnerTexteCellule(0, c); !label.empty())
            modality = label;
        if (modality == column && table.DonnerTexteCellule(1, c) == calculation)
            return table.DonnerTexteCellule(rowFound, c);
    }
    return {};
}

TEST_F(CrossTableAgreesWithQesrunTest, EveryCellOfTheFramesTableIsTheCellQesrunPrints) {
    StartOnFullDemo();
    const CTableau* table = CrossTableFromTheFrame();
    ASSERT_NE(table, nullptr);
    const std::string program = Printed(*table);
    const std::string qesrun = Qesrun(table->title);

    const Grid expected = Cells(qesrun);
    const Grid shown = Cells(program);
    ASSERT_EQ(shown.size(), expected.size()) << program << "\n---\n" << qesrun;
    for (std::size_t row = 0; row < shown.size(); ++row) {
        ASSERT_EQ(shown[row].size(), expected[row].size()) << "line " << row;
        for (std::size_t column = 0; column < shown[row].size(); ++column)
            EXPECT_EQ(shown[row][column], expected[row][column]) << "line " << row << ", cell " << column;
    }

    // The cell the analyst compared. Hand calculation from the demo's counts (41 very satisfied
    // of 374 in Île-de-France, 389 very satisfied, 2000 interviews): E = 389 x 374 / 2000 =
    // 72.74; the cell test gives z = (41/2000 - E/2000) / sqrt(p (1 - p) / 2000) with
    // p = E/2000, that is -3.79, beyond -2.576: "---".
    EXPECT_EQ(CellOf(*table, "Très satisfait", "Île-de-France", "Effectifs"), "41");
    EXPECT_EQ(CellOf(*table, "Très satisfait", "Île-de-France", "Valeur test"), "-3.8");
    EXPECT_EQ(CellOf(*table, "Très satisfait", "Île-de-France", "Significativité"), "---");
}

// A significance mode the analyst keeps in his settings reaches the program at start-up: the line
// test then gives, for the same cell, p1 = 41/389 and p2 = 333/1611, z = (p1 - p2) /
// sqrt(p1 (1 - p1) / 389 + p2 (1 - p2) / 1611) = -5.46 (hand calculation). A threshold above
// every test value leaves no mark.
TEST_F(CrossTableAgreesWithQesrunTest, TheSettingsOfTheProgramReachItsTables) {
    Store().WriteInteger("Options", "SignificanceType", 2);
    Store().WriteString("Options", "SignificanceThreshold3", "19");
    Store().WriteString("Options", "SignificanceThreshold2", "18");
    Store().WriteString("Options", "SignificanceThreshold1", "17");
    StartOnFullDemo();
    EXPECT_EQ(m_app->SignificanceType, 2);
    EXPECT_DOUBLE_EQ(m_app->SignificanceThreshold1, 17.0);
    const CTableau* table = CrossTableFromTheFrame();
    ASSERT_NE(table, nullptr);
    EXPECT_EQ(CellOf(*table, "Très satisfait", "Île-de-France", "Valeur test"), "-5.5");
    EXPECT_EQ(CellOf(*table, "Très satisfait", "Île-de-France", "Significativité"), " ");
}

} // namespace
