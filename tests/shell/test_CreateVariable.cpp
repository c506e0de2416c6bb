// "Edition/Créer une variable...", "Modifier..." and the deletion of a computed question, driven
// as the analyst drives them on a copy of the demo: each variable is built, shown in the tree, and
// its cross table with SEXE counts what SQL counts on the raw response tables.
#include "MorvaneAppTestSupport.h"
#include "app/ChampEtude.h"
#include "app/ModaliteEtendue.h"
#include "app/StringTable.h"
#include "recodes/StockageChampsEtude.h"
#include "recodes/ui/ChampEtudeDlg.h"
#include "requests/SelQuestionDlg.h"
#include "framework/MultiTree.h"
#include "tabulation/ExecuteurTraitement.h"
#include "tools/qesrun/TablePrinter.h"
#include "tools/screenshot/ModalAnswers.h"
#include "variables/ui/CalCroisementPage.h"
#include "variables/ui/CalExpressionPage.h"
#include "variables/ui/CalInfosGeneralesPage.h"
#include "variables/ui/CalQuestionFiltreePage.h"
#include "variables/ui/CalScriptPanneau.h"
#include "variables/ui/CreerVariableDlg.h"
#include "variables/VariableCalculee.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>
#include <QTimer>
#include <QTreeWidget>
#include <filesystem>
#include <gtest/gtest.h>
#include <map>
#include <sqlite3.h>
#include <sstream>

namespace {

using shell_test::MorvaneAppTest;
using Counts = std::map<std::pair<std::string, std::string>, long long>;

constexpr unsigned kCreer = 32822;
constexpr unsigned kModifier = 32803;

long long Scalar(const std::string& path, const std::string& sql) {
    sqlite3* connection = nullptr;
    long long value = -1;
    sqlite3_open_v2(path.c_str(), &connection, SQLITE_OPEN_READONLY, nullptr);
    sqlite3_stmt* statement = nullptr;
    if (sqlite3_prepare_v2(connection, sql.c_str(), -1, &statement, nullptr) == SQLITE_OK &&
        sqlite3_step(statement) == SQLITE_ROW)
        value = sqlite3_column_int64(statement, 0);
    else
        ADD_FAILURE() << sqlite3_errmsg(connection) << " in " << sql;
    sqlite3_finalize(statement);
    sqlite3_close(connection);
    return value;
}

// The variable's table as v joined to the interviews' first table as s, record by record.
std::string Joined(const CQuestionEtendue& variable) {
    return "\"VEL Reponse" + std::to_string(variable.responseTable) + "\" AS v JOIN \"VEL Reponse1\" AS s USING (Cle1)";
}

std::string Field(const CQuestionEtendue& question, const char* table = "v") {
    return std::string(table) + ".\"" + std::to_string(question.code) + ";1\"";
}

std::map<std::int32_t, std::string> CaptionsByCode(CQuestionEtendue& question) {
    std::vector<std::unique_ptr<CModaliteEtendue>> modalities;
    question.DonnerModalites(modalities, true);
    std::map<std::int32_t, std::string> captions;
    for (const auto& modality : modalities)
        if (modality->code > 0)
            captions[modality->code] = modality->GetShortCaption();
    return captions;
}

void PickInTree(QDialog& shown, const char* name) {
    auto* picker = qobject_cast<CSelQuestionDlg*>(&shown);
    ASSERT_NE(picker, nullptr);
    const QList<QTreeWidgetItem*> found =
        picker->GetTree().findItems(QString::fromUtf8(name), Qt::MatchExactly | Qt::MatchRecursive);
    ASSERT_EQ(found.size(), 1) << name;
    picker->GetTree().setCurrentItem(found.front());
    picker->accept();
}

// Clicks a button that opens a dialog of its own, answered by `step` as soon as it shows. The
// answers of the dialog the button sits in cannot reach it: a timer does not fire again while
// its own handler runs.
void ClickAnswering(QPushButton& button, const std::function<void(QDialog&)>& step) {
    bool answered = false;
    QTimer timer;
    QObject::connect(&timer, &QTimer::timeout, [&] {
        auto* shown = qobject_cast<QDialog*>(QApplication::activeModalWidget());
        if (answered || shown == nullptr || shown == button.window())
            return;
        answered = true;
        step(*shown);
        if (shown->isVisible())
            shown->reject();
    });
    timer.start(0);
    button.click();
    EXPECT_TRUE(answered);
}

class CreateVariableTest : public MorvaneAppTest {
protected:
    void SetUp() override {
        MorvaneAppTest::SetUp();
        m_copy = s_folder / ("variables-" +
                             std::string(::testing::UnitTest::GetInstance()->current_test_info()->name()) + ".qes");
        std::filesystem::copy_file(DemoPath(), m_copy, std::filesystem::copy_options::overwrite_existing);
        ASSERT_TRUE(Start(m_copy.string()));
    }
    void TearDown() override {
        MorvaneAppTest::TearDown();
        std::filesystem::remove(m_copy);
    }

    std::string Path() const { return m_copy.string(); }

    bool InTree(const std::string& name) const {
        return !Frame()
                    .GetQuestionnaireView()
                    ->findItems(QString::fromStdString(name), Qt::MatchExactly | Qt::MatchRecursive)
                    .isEmpty();
    }

    // Runs the command; the first step gets the creation dialog, the others the dialogs it opens.
    void Drive(unsigned command, std::vector<ModalAnswers::Step> steps) {
        const std::size_t count = steps.size();
        ModalAnswers answers(std::move(steps));
        EXPECT_TRUE(Run(command));
        EXPECT_EQ(answers.Answered(), count);
        EXPECT_EQ(answers.Unexpected(), 0);
    }

    static CCreerVariableDlg& Dialog(QDialog& shown) {
        auto* dialog = qobject_cast<CCreerVariableDlg*>(&shown);
        EXPECT_NE(dialog, nullptr);
        EXPECT_EQ(dialog->windowTitle(), "Créer une variable");
        return *dialog;
    }

    static void TypeLabel(CCreerVariableDlg& dialog, const QString& label) {
        dialog.LibelleEdit().selectAll();
        QTest::keyClicks(&dialog.LibelleEdit(), label);
    }

    // The cells of the cross table "question x SEXE" that the program computes, by captions.
    Counts ProgramCounts(const std::string& question) {
        CExecuteurTraitement executor(*m_app);
        executor.Executer(Request("type tri-croise\nlignes " + question + "\ncolonnes SEXE\ncalculs 0\n"));
        auto tables = executor.TakeTableaux();
        EXPECT_EQ(tables.size(), 1u);
        Counts counts;
        if (tables.empty())
            return counts;
        std::ostringstream out;
        qesrun::TablePrinter::Print(*tables.front(), out);
        m_printed = out.str();
        std::istringstream lines(out.str());
        std::vector<std::vector<std::string>> grid;
        for (std::string line; std::getline(lines, line);) {
            std::vector<std::string> row;
            std::size_t start = 0;
            for (std::size_t tab = line.find('\t'); tab != std::string::npos; tab = line.find('\t', start)) {
                row.push_back(line.substr(start, tab - start));
                start = tab + 1;
            }
            row.push_back(line.substr(start));
            grid.push_back(std::move(row));
        }
        // Title, base, the column captions, then one row per modality (the names of the
        // calculations stand on a row of their own, without caption, when there are several).
        const auto& header = grid.at(2);
        for (std::size_t r = 3; r < grid.size(); ++r)
            for (std::size_t c = 1; c < header.size() && c < grid[r].size(); ++c)
                if (!grid[r][0].empty() && !header[c].empty() && !grid[r][c].empty())
                    counts[{grid[r][0], header[c]}] = std::stoll(grid[r][c]);
        return counts;
    }

    // The same cells counted by SQL on the raw response tables, for the real modalities of both.
    Counts SqlCounts(CQuestionEtendue& variable) {
        CQuestionEtendue& sex = QuestionNamed("SEXE");
        Counts counts;
        for (const auto& [rowCode, rowCaption] : CaptionsByCode(variable))
            for (const auto& [columnCode, columnCaption] : CaptionsByCode(sex)) {
                const std::string sql = "SELECT count(*) FROM " + Joined(variable) + " WHERE " + Field(variable) +
                                        " = " + std::to_string(rowCode) + " AND " + Field(sex, "s") + " = " +
                                        std::to_string(columnCode);
                counts[{rowCaption, columnCaption}] = Scalar(Path(), sql);
            }
        return counts;
    }

    void ExpectCountsAgree(const std::string& name) {
        CQuestionEtendue& variable = QuestionNamed(name);
        const Counts program = ProgramCounts(name);
        const Counts sql = SqlCounts(variable);
        ASSERT_FALSE(sql.empty());
        long long total = 0;
        for (const auto& [cell, count] : sql) {
            SCOPED_TRACE(cell.first + " x " + cell.second);
            const auto found = program.find(cell);
            ASSERT_NE(found, program.end()) << m_printed;
            EXPECT_EQ(found->second, count);
            total += count;
        }
        EXPECT_GT(total, 0);
    }

    std::filesystem::path m_copy;
    std::string m_printed; // the last cross table, shown when a count disagrees
};

TEST_F(CreateVariableTest, ANewVariableOpensWithNoKindChosenAndTheKindsToComeDisabled) {
    CCreerVariableDlg dialog(*m_app, &Frame());
    EXPECT_EQ(dialog.PanneauVisible(), nullptr);
    const std::vector<std::int16_t> enabled = {CVariableCalculee::kCroisement, CVariableCalculee::kScript,
                                               CVariableCalculee::kInfosGenerales, CVariableCalculee::kQuestionFiltree};
    for (int index = 0; index < CCreerVariableDlg::kNombreTypes; ++index) {
        const std::int16_t kind = CCreerVariableDlg::TypeDuBouton(index);
        SCOPED_TRACE(dialog.Bouton(index).text().toStdString());
        EXPECT_FALSE(dialog.Bouton(index).isChecked());
        const bool offered = std::find(enabled.begin(), enabled.end(), kind) != enabled.end();
        EXPECT_EQ(dialog.Bouton(index).isEnabled(), offered);
        const bool multivariate =
            kind == CVariableCalculee::kMultivarie || kind == CVariableCalculee::kNumeriqueMultivarie;
        EXPECT_EQ(dialog.Bouton(index).toolTip().isEmpty(), offered || multivariate);
    }
    // Choosing a kind shows its page, another kind replaces it.
    dialog.Bouton(2).click();
    EXPECT_EQ(dialog.PanneauVisible(), dialog.Panneau(CVariableCalculee::kScript));
    dialog.Bouton(0).click();
    EXPECT_EQ(dialog.PanneauVisible(), dialog.Panneau(CVariableCalculee::kCroisement));
}

TEST_F(CreateVariableTest, LabelsAreCheckedBeforeAnythingIsBuilt) {
    const int questions = m_app->DonnerNbreQuestions();
    struct Case {
        const char* label;
        int message;
    };
    const Case cases[] = {{"", StringTable::kEntrerUnLibelle}, {"SEXE", StringTable::kLibelleDejaUtilise}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.label);
        m_ui->shown.clear();
        Drive(kCreer, {[&](QDialog& shown) {
                  CCreerVariableDlg& dialog = Dialog(shown);
                  TypeLabel(dialog, QString::fromUtf8(c.label));
                  dialog.Bouton(2).click();
                  QTest::keyClicks(&static_cast<CCalScriptPanneau*>(dialog.PanneauVisible())->Page(), "??AGE?? * 2");
                  dialog.OkButton().click();
                  EXPECT_TRUE(dialog.isVisible());
                  dialog.AnnulerButton().click();
              }});
        ASSERT_FALSE(m_ui->shown.empty());
        EXPECT_EQ(m_ui->shown.front().message.id, c.message);
    }
    // A label of 51 characters is cut at 50 by the edit.
    CCreerVariableDlg dialog(*m_app, &Frame());
    QTest::keyClicks(&dialog.LibelleEdit(), QString(51, QLatin1Char('x')));
    EXPECT_EQ(dialog.LibelleEdit().text().size(), 50);
    EXPECT_EQ(m_app->DonnerNbreQuestions(), questions);
}

TEST_F(CreateVariableTest, AScriptVariableIsCreatedChangedAndDeleted) {
    Drive(kCreer, {[](QDialog& shown) {
              CCreerVariableDlg& dialog = Dialog(shown);
              TypeLabel(dialog, QStringLiteral("Âge double"));
              dialog.Bouton(2).click();
              QTest::keyClicks(&static_cast<CCalScriptPanneau*>(dialog.PanneauVisible())->Page(), "??AGE?? * 2");
              dialog.OkButton().click();
          }});
    ASSERT_TRUE(InTree("Âge double"));
    CQuestionEtendue& variable = QuestionNamed("Âge double");
    const std::int32_t code = variable.code;
    const auto wrong = [&](int factor) {
        return Scalar(Path(), "SELECT count(*) FROM " + Joined(variable) + " WHERE " + Field(variable) +
                                  " IS NOT s.\"2;1\" * " + std::to_string(factor));
    };
    EXPECT_EQ(Scalar(Path(), "SELECT count(" + Field(variable) + ") FROM " + Joined(variable)),
              m_app->DonnerNbreInterviews());
    EXPECT_EQ(wrong(2), 0);

    Select("Âge double");
    ASSERT_TRUE(IsEnabled(kModifier));
    Drive(kModifier, {[](QDialog& shown) {
              CCreerVariableDlg& dialog = Dialog(shown);
              EXPECT_TRUE(dialog.Bouton(2).isChecked());
              auto& page = static_cast<CCalScriptPanneau*>(dialog.PanneauVisible())->Page();
              EXPECT_EQ(page.GetText(), "??AGE?? * 2");
              page.selectAll();
              QTest::keyClicks(&page, "??AGE?? * 3");
              TypeLabel(dialog, QStringLiteral("Âge triple"));
              dialog.OkButton().click();
          }});
    EXPECT_EQ(variable.code, code);
    EXPECT_TRUE(InTree("Âge triple"));
    EXPECT_EQ(wrong(3), 0);

    Select("Âge triple");
    QTest::keyClick(Frame().GetQuestionnaireView(), Qt::Key_Delete);
    QApplication::processEvents();
    EXPECT_FALSE(InTree("Âge triple"));
    EXPECT_EQ(m_app->TrouverQuestionParNom("Âge triple"), nullptr);
    EXPECT_EQ(Scalar(Path(), "SELECT count(*) FROM \"MFW Variable\""), 0);
}

TEST_F(CreateVariableTest, ACrossingOfTwoQuestionsCountsAsTheRawAnswers) {
    Drive(kCreer, {[](QDialog& shown) {
                       CCreerVariableDlg& dialog = Dialog(shown);
                       TypeLabel(dialog, QStringLiteral("SEXE_TRANCHE"));
                       dialog.Bouton(0).click();
                       auto* page = static_cast<CCalCroisementPage*>(dialog.PanneauVisible());
                       ClickAnswering(page->QuestionButton(0), [](QDialog& picker) { PickInTree(picker, "SEXE"); });
                       ClickAnswering(page->QuestionButton(1), [](QDialog& picker) { PickInTree(picker, "TRANCHE"); });
                       // Homme and Femme by five age bands, the not asked grouped.
                       EXPECT_EQ(page->Arbre().topLevelItemCount(), 11);
                       dialog.OkButton().click();
                   }});
    ASSERT_TRUE(InTree("SEXE_TRANCHE"));
    ExpectCountsAgree("SEXE_TRANCHE");
}

TEST_F(CreateVariableTest, AQuestionFilteredByAStudyFieldCountsAsTheRawAnswers) {
    CChampEtude women;
    women.name = "Femmes";
    women.complexCondition = true;
    women.complexConditionText = "??SEXE?? = 2";
    std::string error;
    ASSERT_TRUE(EnregistrerChampEtude(women, *m_app, error)) << error;
    Drive(kCreer, {[](QDialog& shown) {
                       CCreerVariableDlg& dialog = Dialog(shown);
                       TypeLabel(dialog, QStringLiteral("REGION_FEMMES"));
                       dialog.Bouton(12).click();
                       auto* page = static_cast<CCalQuestionFiltreePage*>(dialog.PanneauVisible());
                       ClickAnswering(page->QuestionButton(), [](QDialog& picker) { PickInTree(picker, "REGION"); });
                       ClickAnswering(page->ChampButton(), [](QDialog& fieldDialog) {
                           auto* fields = qobject_cast<CChampEtudeDlg*>(&fieldDialog);
                           ASSERT_NE(fields, nullptr);
                           fields->NameCombo().setCurrentIndex(fields->NameCombo().findText("Femmes"));
                           fields->OkButton().click();
                       });
                       EXPECT_EQ(page->ChampLabel().text(), "Femmes");
                       dialog.OkButton().click();
                   }});
    ASSERT_TRUE(InTree("REGION_FEMMES"));
    ExpectCountsAgree("REGION_FEMMES");
    // Not one man keeps a region.
    CQuestionEtendue& variable = QuestionNamed("REGION_FEMMES");
    EXPECT_EQ(Scalar(Path(), "SELECT count(*) FROM " + Joined(variable) + " WHERE s.\"1;1\" = 1 AND " +
                                 Field(variable) + " > 0"),
              0);
}

TEST_F(CreateVariableTest, TheCompletionOfTheInterviewsCountsAsTheRawRecords) {
    Drive(kCreer, {[](QDialog& shown) {
              CCreerVariableDlg& dialog = Dialog(shown);
              TypeLabel(dialog, QStringLiteral("COMPLETE"));
              dialog.Bouton(11).click();
              static_cast<CCalInfosGeneralesPage*>(dialog.PanneauVisible())->Bouton(6).click();
              dialog.OkButton().click();
          }});
    ASSERT_TRUE(InTree("COMPLETE"));
    ExpectCountsAgree("COMPLETE");
    CQuestionEtendue& variable = QuestionNamed("COMPLETE");
    // "Oui" (code 1) exactly where the record says completed.
    EXPECT_EQ(Scalar(Path(), "SELECT count(*) FROM " + Joined(variable) + " WHERE (" + Field(variable) +
                                 " = 1) <> (coalesce(s.Completed, 0) <> 0)"),
              0);
}

} // namespace
