// "Edition/Créer une variable...", "Modifier..." and the deletion of a computed question, driven
// as the analyst drives them on a copy of the demo: each variable is built, shown in the tree, and
// its cross table with SEXE counts what SQL counts on the raw response tables.
#include "MorvaneAppTestSupport.h"
#include "app/ChampEtude.h"
#include "app/IdName.h"
#include "app/ModaliteEtendue.h"
#include "app/StringTable.h"
#include "recodes/StockageChampsEtude.h"
#include "gui/recodes/ChampEtudeDlg.h"
#include "gui/requests/SelQuestionDlg.h"
#include "framework/MultiTree.h"
#include "tabulation/ExecuteurTraitement.h"
#include "tools/qesrun/TablePrinter.h"
#include "tools/screenshot/ModalAnswers.h"
#include "gui/requests/ProfilModalitesDlg.h"
#include "gui/requests/SelectionProfilDlg.h"
#include "gui/variables/CalCalculMultivariePage.h"
#include "gui/variables/CalCroisementPage.h"
#include "gui/variables/CalDictionnairePage.h"
#include "gui/variables/CalDureesPage.h"
#include "gui/variables/CalProfilPage.h"
#include "gui/variables/CalRedressementPage.h"
#include "gui/variables/CalSuperpositionPage.h"
#include "gui/variables/LabelledItemTree.h"
#include "recodes/EditionRedressement.h"
#include "recodes/ObjectifRedressement.h"
#include "app/Redressement.h"
#include "app/VecteurPoids.h"
#include "tabulation/MoteurTableau.h"
#include "gui/variables/CalExpressionPage.h"
#include "gui/variables/CalInfosGeneralesPage.h"
#include "gui/variables/CalListeChampsPage.h"
#include "gui/variables/CalQuestionFiltreePage.h"
#include "gui/variables/CalScriptPanneau.h"
#include "gui/variables/CreerVariableDlg.h"
#include "gui/variables/CodagePostalPage.h"
#include "variables/CodagePostal.h"
#include "variables/ConstructionVariable.h"
#include "app/Registre.h"
#include "tools/qesbuild/DescriptionParser.h"
#include "tools/qesbuild/QesWriter.h"
#include "variables/SuperpositionSources.h"
#include "variables/VariableCalculee.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>
#include <QTimer>
#include <QTreeWidget>
#include <algorithm>
#include <cctype>
#include <filesystem>
#include <fstream>
#include <iterator>
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

// The first column of every row of a query, joined by commas ("" for Null).
std::string Texts(const std::string& path, const std::string& sql) {
    sqlite3* connection = nullptr;
    std::string joined;
    sqlite3_open_v2(path.c_str(), &connection, SQLITE_OPEN_READONLY, nullptr);
    sqlite3_stmt* statement = nullptr;
    if (sqlite3_prepare_v2(connection, sql.c_str(), -1, &statement, nullptr) != SQLITE_OK)
        ADD_FAILURE() << sqlite3_errmsg(connection) << " in " << sql;
    while (statement != nullptr && sqlite3_step(statement) == SQLITE_ROW) {
        const unsigned char* text = sqlite3_column_text(statement, 0);
        joined += (text != nullptr ? reinterpret_cast<const char*>(text) : "") + std::string(",");
    }
    sqlite3_finalize(statement);
    sqlite3_close(connection);
    return joined;
}

void Execute(const std::string& path, const std::string& sql) {
    sqlite3* connection = nullptr;
    ASSERT_EQ(sqlite3_open(path.c_str(), &connection), SQLITE_OK);
    char* message = nullptr;
    EXPECT_EQ(sqlite3_exec(connection, sql.c_str(), nullptr, nullptr, &message), SQLITE_OK)
        << (message != nullptr ? message : "") << " in " << sql;
    sqlite3_free(message);
    sqlite3_close(connection);
}

// A hash of the file's bytes.
std::size_t Bytes(const std::string& path) {
    std::ifstream file(path, std::ios::binary);
    return std::hash<std::string>{}(std::string(std::istreambuf_iterator<char>(file), {}));
}

long long CountOf(const Counts& counts, const std::string& row, const std::string& column) {
    const auto found = counts.find({row, column});
    return found == counts.end() ? 0 : found->second;
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

    // Typed as the analyst types it; QTest types ASCII only, so a label with accents is set whole.
    static void TypeLabel(CCreerVariableDlg& dialog, const QString& label) {
        dialog.LibelleEdit().selectAll();
        const bool ascii = std::all_of(label.begin(), label.end(), [](QChar c) { return c.unicode() < 128; });
        if (ascii)
            QTest::keyClicks(&dialog.LibelleEdit(), label);
        else
            dialog.LibelleEdit().setText(label);
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

    std::int32_t StoreField(const std::string& name, const std::string& formula) {
        CChampEtude field;
        field.name = name;
        field.complexCondition = true;
        field.complexConditionText = formula;
        std::string error;
        EXPECT_TRUE(EnregistrerChampEtude(field, *m_app, error)) << error;
        return field.id;
    }

    // The program's cells of "question x SEXE" against the hand counts, row by row; a row given no
    // count must not be in the table.
    void ExpectCounts(const std::string& question, const std::map<std::string, std::pair<long long, long long>>& rows,
                      const std::vector<std::string>& absent = {}) {
        const Counts program = ProgramCounts(question);
        for (const auto& [row, counts] : rows) {
            SCOPED_TRACE(row);
            EXPECT_EQ(CountOf(program, row, "Homme"), counts.first) << m_printed;
            EXPECT_EQ(CountOf(program, row, "Femme"), counts.second) << m_printed;
        }
        for (const std::string& row : absent)
            EXPECT_EQ(program.count({row, "Homme"}), 0u) << row << "\n" << m_printed;
    }

    std::filesystem::path m_copy;
    std::string m_printed; // the last cross table, shown when a count disagrees
};

TEST_F(CreateVariableTest, ANewVariableOpensWithNoKindChosenAndTheKindsToComeDisabled) {
    CCreerVariableDlg dialog(*m_app, &Frame());
    EXPECT_EQ(dialog.PanneauVisible(), nullptr);
    const std::vector<std::int16_t> enabled = {CVariableCalculee::kCroisement,     CVariableCalculee::kChampsEtude,
                                               CVariableCalculee::kScript,         CVariableCalculee::kCodagePostal,
                                               CVariableCalculee::kInfosGenerales, CVariableCalculee::kQuestionFiltree,
                                               CVariableCalculee::kSuperposition,  CVariableCalculee::kProfil,
                                               CVariableCalculee::kRedressement,   CVariableCalculee::kDureesSaisie,
                                               CVariableCalculee::kDictionnaire};
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


// "Edition/Recalculer toutes les variables" after the first interviews changed their age and
// region: the variables made from those answers follow them; the one made from the interviews'
// completion stays as it was; the script naming a question renamed since is reported once and
// keeps its old answers.
TEST_F(CreateVariableTest, RecalculatingAllVariablesFollowsTheChangedAnswersAndReportsTheOneThatFails) {
    const auto build = [&](PartiesVariable parts) {
        Message error;
        CQuestionEtendue* built = CConstructionVariable::Construire(*m_app, nullptr, parts, error);
        EXPECT_NE(built, nullptr) << StringTable::Format(error);
        return built;
    };
    const auto parts = [](const char* label, std::int16_t kind, const char* definition, const char* themes = "") {
        PartiesVariable p;
        p.label = label;
        p.kind = kind;
        p.definition = definition;
        p.themes = themes;
        return p;
    };
    CQuestionEtendue* older = build(parts("AGE_PLUS_UN", CVariableCalculee::kScript, "??AGE?? + 1"));
    PartiesVariable crossing = parts("SEXE_REGION", CVariableCalculee::kCroisement, "0;0@|1;1@|",
                                     "Homme francilien|Femme du Nord-Est|");
    crossing.source1 = &QuestionNamed("SEXE");
    crossing.source2 = &QuestionNamed("REGION");
    CQuestionEtendue* crossed = build(crossing);
    CQuestionEtendue* regionScript = build(parts("REGION_SCRIPT", CVariableCalculee::kScript, "??REGION?? + 0"));
    CQuestionEtendue* completion = build(parts("COMPLET", CVariableCalculee::kInfosGenerales, "7"));
    ASSERT_TRUE(older && crossed && regionScript && completion);
    const auto stored = [&](const CQuestionEtendue& variable) {
        return Texts(Path(), "SELECT " + Field(variable) + " FROM \"VEL Reponse" +
                                 std::to_string(variable.responseTable) + "\" AS v ORDER BY Cle1");
    };
    const std::string crossedBefore = stored(*crossed);
    const std::string regionBefore = stored(*regionScript);
    const std::string completionBefore = stored(*completion);

    Execute(Path(), "UPDATE \"VEL Reponse1\" SET \"2;1\" = \"2;1\" + 10, \"4;1\" = 1 + (\"4;1\" % 5) "
                    "WHERE Cle1 IN (SELECT Cle1 FROM \"VEL Reponse1\" ORDER BY Cle1 LIMIT 20)");
    for (const char* name : {"AGE", "REGION"})
        m_app->OublierDonneesQuestion(QuestionNamed(name));
    QuestionNamed("REGION").name = "ZONE";

    m_ui->shown.clear();
    ASSERT_TRUE(Run(32903));
    ASSERT_EQ(m_ui->shown.size(), 1u) << ::testing::PrintToString(m_ui->ShownTexts());
    EXPECT_EQ(m_ui->shown.front().message.id, StringTable::kRecalculImpossible);
    EXPECT_EQ(m_ui->shown.front().message.arguments, std::vector<std::string>{"REGION_SCRIPT"});

    EXPECT_EQ(Scalar(Path(), "SELECT count(*) FROM " + Joined(*older) + " WHERE " + Field(*older) +
                                 " IS NOT s.\"2;1\" + 1"),
              0);
    EXPECT_NE(stored(*crossed), crossedBefore);
    for (const auto& [code, where] : std::map<int, std::string>{{1, "s.\"1;1\" = 1 AND s.\"4;1\" = 1"},
                                                                {2, "s.\"1;1\" = 2 AND s.\"4;1\" = 2"}}) {
        SCOPED_TRACE(code);
        EXPECT_EQ(Scalar(Path(), "SELECT count(*) FROM " + Joined(*crossed) + " WHERE " + Field(*crossed) + " = " +
                                     std::to_string(code)),
                  Scalar(Path(), "SELECT count(*) FROM " + Joined(*crossed) + " WHERE " + where));
    }
    EXPECT_EQ(stored(*regionScript), regionBefore);
    EXPECT_EQ(regionScript->GetQuestionCalculee()->definition, "??REGION?? + 0");
    EXPECT_EQ(stored(*completion), completionBefore);
}

// Two study fields: the Parisians alone, and the women under a group; the interviews of neither go
// to "Autre", which the user accepts to create. Counted by SQL on the raw answers.
TEST_F(CreateVariableTest, AVariableByStudyFieldsIsCreatedChangedAndDeleted) {
    StoreField("Femmes", "??SEXE?? = 2");
    const std::int32_t paris = StoreField("Franciliens", "??REGION?? = 1");
    const auto raw = [&](const std::string& where) {
        return Scalar(Path(), "SELECT count(*) FROM \"VEL Reponse1\" WHERE " + where);
    };
    const std::string man = "\"1;1\" = 1";
    const std::string woman = "\"1;1\" = 2";
    const std::string inParis = "coalesce(\"4;1\", 0) = 1";
    const auto pageOf = [](CCreerVariableDlg& dialog) {
        auto* page = qobject_cast<CCalListeChampsPage*>(dialog.PanneauVisible());
        EXPECT_NE(page, nullptr);
        return page;
    };
    m_ui->ScriptReplies({true});
    Drive(kCreer, {[&](QDialog& shown) {
              CCreerVariableDlg& dialog = Dialog(shown);
              TypeLabel(dialog, QStringLiteral("CIBLES"));
              dialog.Bouton(1).click();
              CCalListeChampsPage* page = pageOf(dialog);
              ASSERT_NE(page, nullptr);
              const auto pick = [page](const char* name) {
                  const QList<QTreeWidgetItem*> found =
                      page->Disponibles().findItems(QString::fromUtf8(name), Qt::MatchExactly);
                  ASSERT_EQ(found.size(), 1) << name;
                  page->Disponibles().SelectItem(found.front());
              };
              pick("Franciliens");
              page->AjouterButton().click();
              page->GroupeButton().click();
              pick("Femmes");
              QTest::keyClick(&page->Disponibles(), Qt::Key_Space);
              const QTreeWidget& tree = page->Arbre();
              ASSERT_EQ(tree.topLevelItemCount(), 2);
              EXPECT_EQ(tree.topLevelItem(0)->text(0), "Franciliens");
              EXPECT_EQ(tree.topLevelItem(1)->text(0), "Sous total 1");
              ASSERT_EQ(tree.topLevelItem(1)->childCount(), 1);
              EXPECT_EQ(tree.topLevelItem(1)->child(0)->text(0), "Femmes");
              EXPECT_TRUE(page->EstUtilise(paris));
              dialog.OkButton().click();
          }});
    ASSERT_EQ(m_ui->asked.size(), 1u);
    EXPECT_EQ(m_ui->asked.front().id, StringTable::kCreerModaliteAutre);
    ASSERT_TRUE(InTree("CIBLES"));
    const std::string neither = "NOT (" + inParis + ") AND coalesce(\"1;1\", 0) <> 2";
    ExpectCounts("CIBLES", {{"Franciliens", {raw(inParis + " AND " + man), raw(inParis + " AND " + woman)}},
                            {"Sous total 1", {0, raw(woman)}},
                            {"Autre", {raw(neither + " AND " + man), 0}}});

    // Without the Parisians, every man goes to "Autre"; the question keeps its code.
    const std::int32_t code = QuestionNamed("CIBLES").code;
    Select("CIBLES");
    m_ui->asked.clear();
    Drive(kModifier, {[&](QDialog& shown) {
              CCreerVariableDlg& dialog = Dialog(shown);
              EXPECT_TRUE(dialog.Bouton(1).isChecked());
              CCalListeChampsPage* page = pageOf(dialog);
              ASSERT_NE(page, nullptr);
              QTreeWidget& tree = page->Arbre();
              ASSERT_EQ(tree.topLevelItemCount(), 3);
              EXPECT_EQ(tree.topLevelItem(2)->text(0), "Autre");
              ASSERT_EQ(tree.topLevelItem(1)->childCount(), 1);
              EXPECT_TRUE(page->EstUtilise(paris));
              tree.setCurrentItem(tree.topLevelItem(0));
              QTest::keyClick(&tree, Qt::Key_Delete);
              EXPECT_FALSE(page->EstUtilise(paris));
              TypeLabel(dialog, QStringLiteral("FEMMES_OU_NON"));
              dialog.OkButton().click();
          }});
    EXPECT_TRUE(m_ui->asked.empty());
    ASSERT_TRUE(InTree("FEMMES_OU_NON"));
    EXPECT_EQ(QuestionNamed("FEMMES_OU_NON").code, code);
    ExpectCounts("FEMMES_OU_NON", {{"Sous total 1", {0, raw(woman)}}, {"Autre", {raw(man), 0}}}, {"Franciliens"});

    Select("FEMMES_OU_NON");
    QTest::keyClick(Frame().GetQuestionnaireView(), Qt::Key_Delete);
    QApplication::processEvents();
    EXPECT_FALSE(InTree("FEMMES_OU_NON"));
    EXPECT_EQ(Scalar(Path(), "SELECT count(*) FROM \"MFW Variable\""), 0);
}

// A study field deleted after the variable was built: recalculating cannot give its interviews
// and keeps the old answers, saying so once; "Modifier..." shows its group without the field,
// which then takes the interviews no other field keeps.
TEST_F(CreateVariableTest, AVariableWhoseStudyFieldWasDeletedKeepsItsAnswersUntilChanged) {
    const std::int32_t women = StoreField("Femmes", "??SEXE?? = 2");
    const std::int32_t paris = StoreField("Franciliens", "??REGION?? = 1");
    PartiesVariable parts;
    parts.label = "CIBLES";
    parts.kind = CVariableCalculee::kChampsEtude;
    parts.themes = "Femmes|Franciliens|";
    parts.definition = std::to_string(women) + "|0@" + std::to_string(paris) + "@|";
    Message error;
    CQuestionEtendue* variable = CConstructionVariable::Construire(*m_app, nullptr, parts, error);
    ASSERT_NE(variable, nullptr) << StringTable::Format(error);
    m_app->RafraichirArbreQuestions();
    const auto stored = [&] {
        return Texts(Path(), "SELECT v." + Field(*variable).substr(2) + " FROM \"VEL Reponse" +
                                 std::to_string(variable->responseTable) + "\" AS v ORDER BY Cle1");
    };
    const std::string before = stored();
    std::string reason;
    ASSERT_TRUE(EffacerChampEtude(paris, *m_app, reason)) << reason;

    m_ui->shown.clear();
    ASSERT_TRUE(Run(32903));
    ASSERT_EQ(m_ui->shown.size(), 1u);
    EXPECT_EQ(m_ui->shown.front().message.id, StringTable::kRecalculImpossible);
    EXPECT_EQ(stored(), before);

    Select("CIBLES");
    m_ui->asked.clear();
    Drive(kModifier, {[&](QDialog& shown) {
              CCreerVariableDlg& dialog = Dialog(shown);
              auto* page = qobject_cast<CCalListeChampsPage*>(dialog.PanneauVisible());
              ASSERT_NE(page, nullptr);
              const QTreeWidget& tree = page->Arbre();
              ASSERT_EQ(tree.topLevelItemCount(), 2);
              EXPECT_EQ(tree.topLevelItem(0)->text(0), "Femmes");
              EXPECT_EQ(tree.topLevelItem(1)->text(0), "Franciliens");
              EXPECT_EQ(tree.topLevelItem(1)->childCount(), 0);
              EXPECT_EQ(page->Disponibles().findItems(QStringLiteral("Franciliens"), Qt::MatchExactly).size(), 0);
              dialog.OkButton().click();
          }});
    EXPECT_TRUE(m_ui->asked.empty());
    const auto raw = [&](const std::string& where) {
        return Scalar(Path(), "SELECT count(*) FROM \"VEL Reponse1\" WHERE " + where);
    };
    ExpectCounts("CIBLES", {{"Femmes", {0, raw("\"1;1\" = 2")}}, {"Franciliens", {raw("\"1;1\" = 1"), 0}}});
}

// Keys of the study-field page: Insert a group, Space adds the field chosen on the left under it,
// Alt+Left takes a field out, Alt+Up moves it before the group, F2 renames (an empty name is
// refused, the old one kept). The parts it gives are written by hand from the tree.
TEST_F(CreateVariableTest, TheStudyFieldPageIsEditedWithItsKeys) {
    const std::int32_t women = StoreField("Femmes", "??SEXE?? = 2");
    const std::int32_t men = StoreField("Hommes", "??SEXE?? = 1");
    Drive(kCreer, {[&](QDialog& shown) {
              CCreerVariableDlg& dialog = Dialog(shown);
              dialog.Bouton(1).click();
              auto* page = qobject_cast<CCalListeChampsPage*>(dialog.PanneauVisible());
              ASSERT_NE(page, nullptr);
              QTreeWidget& tree = page->Arbre();
              CMultiTree& available = page->Disponibles();
              const auto choose = [&](const char* name) {
                  const QList<QTreeWidgetItem*> found = available.findItems(QString::fromUtf8(name), Qt::MatchExactly);
                  ASSERT_EQ(found.size(), 1) << name;
                  available.SelectItem(found.front());
              };
              QTest::keyClick(&tree, Qt::Key_Insert);
              QTreeWidgetItem* group = tree.currentItem();
              ASSERT_NE(group, nullptr);
              choose("Femmes");
              QTest::keyClick(&available, Qt::Key_Space);
              choose("Hommes");
              QTest::keyClick(&tree, Qt::Key_Space);
              ASSERT_EQ(group->childCount(), 2);
              tree.setCurrentItem(group->child(1));
              QTest::keyClick(&tree, Qt::Key_Left, Qt::AltModifier);
              QTest::keyClick(&tree, Qt::Key_Up, Qt::AltModifier);
              ASSERT_EQ(tree.topLevelItemCount(), 2);
              EXPECT_EQ(tree.topLevelItem(0)->text(0), "Hommes");

              const auto rename = [&](QTreeWidgetItem* item, const QString& name) {
                  tree.setCurrentItem(item);
                  QTest::keyClick(&tree, Qt::Key_F2);
                  // A closed editor is only hidden until the event loop of the dialog deletes it.
                  QLineEdit* editor = nullptr;
                  for (QLineEdit* open : tree.viewport()->findChildren<QLineEdit*>())
                      if (!open->isHidden())
                          editor = open;
                  ASSERT_NE(editor, nullptr);
                  QTest::keyClick(editor, Qt::Key_A, Qt::ControlModifier);
                  QTest::keyClick(editor, Qt::Key_Delete);
                  QTest::keyClicks(editor, name);
                  QTest::keyClick(editor, Qt::Key_Return);
                  QApplication::processEvents(); // the delegate commits on a queued call
              };
              group = tree.topLevelItem(1);
              rename(group, QString());
              EXPECT_EQ(group->text(0), "Sous total 1");
              rename(group, QStringLiteral("Tout le monde"));
              EXPECT_EQ(group->text(0), "Tout le monde");

              PartiesVariable parts;
              page->DonnerParties(parts);
              EXPECT_EQ(parts.themes, "Hommes|Tout le monde|");
              EXPECT_EQ(parts.definition, std::to_string(men) + "|0@" + std::to_string(women) + "@|");
              dialog.AnnulerButton().click();
          }});
}

// The page refuses what cannot be built and keeps the dialog open: a field under a field, two
// groups without field.
TEST_F(CreateVariableTest, AStudyFieldTreeThatCannotBeBuiltIsRefused) {
    StoreField("Femmes", "??SEXE?? = 2");
    StoreField("Hommes", "??SEXE?? = 1");
    const int questions = m_app->DonnerNbreQuestions();
    Drive(kCreer, {[&](QDialog& shown) {
              CCreerVariableDlg& dialog = Dialog(shown);
              TypeLabel(dialog, QStringLiteral("REFUS"));
              dialog.Bouton(1).click();
              auto* page = qobject_cast<CCalListeChampsPage*>(dialog.PanneauVisible());
              ASSERT_NE(page, nullptr);
              QTreeWidget& tree = page->Arbre();
              // Both fields at once, as a Ctrl+click selects them.
              CMultiTree& available = page->Disponibles();
              for (const char* name : {"Femmes", "Hommes"}) {
                  const QList<QTreeWidgetItem*> found = available.findItems(QString::fromUtf8(name), Qt::MatchExactly);
                  ASSERT_EQ(found.size(), 1) << name;
                  available.SetItemState(found.front(), CMultiTree::kSelected, CMultiTree::kSelected);
              }
              page->AjouterButton().click();
              ASSERT_EQ(tree.topLevelItemCount(), 2);
              // The second field indented under the first.
              tree.setCurrentItem(tree.topLevelItem(1));
              QTest::keyClick(&tree, Qt::Key_Right, Qt::AltModifier);
              ASSERT_EQ(tree.topLevelItemCount(), 1);
              dialog.OkButton().click();
              EXPECT_TRUE(dialog.isVisible());
              ASSERT_FALSE(m_ui->shown.empty());
              EXPECT_EQ(m_ui->shown.back().message.id, StringTable::kChampSansSousItems);
              EXPECT_EQ(tree.currentItem(), tree.topLevelItem(0));
              // Out again, and two empty groups.
              tree.setCurrentItem(tree.topLevelItem(0)->child(0));
              page->SortirButton().click();
              QTest::keyClick(&tree, Qt::Key_Insert);
              QTest::keyClick(&tree, Qt::Key_Insert);
              ASSERT_EQ(tree.topLevelItemCount(), 4);
              EXPECT_EQ(tree.topLevelItem(3)->text(0), "Sous total 2");
              dialog.OkButton().click();
              EXPECT_TRUE(dialog.isVisible());
              EXPECT_EQ(m_ui->shown.back().message.id, StringTable::kUneSeuleModaliteAutre);
              EXPECT_EQ(tree.currentItem(), tree.topLevelItem(3));
              dialog.AnnulerButton().click();
          }});
    EXPECT_EQ(m_app->DonnerNbreQuestions(), questions);
}

const std::string kPostcodeFiles = std::string(MORVANE_SOURCE_DIR) + "/tests/fixtures/postcodes/";

// Eight interviews, men and women in turn, with a postcode each as people type them.
constexpr const char* kPostcodeSurvey = R"(
questionnaire "Codes postaux" language=fr
language 1036 fr "Français"
question 1 SEXE closed
  caption fr "Sexe"
  modality 1 fr "Homme"
  modality 2 fr "Femme"
question 2 CP open
  caption fr "Code postal"
records
Cle1,1;1,2;1
1,1,"sw19 1aa"
2,2,"W1 1AA"
3,1,"EC1A 1BB"
4,2,
5,1,"LS1 1UR"
6,2,"b2-4qa"
7,1," m1 1ae "
8,2,"ZZ9 9ZZ"
end
)";

class PostcodeVariableTest : public CreateVariableTest {
protected:
    void SetUp() override {
        MorvaneAppTest::SetUp();
        m_copy = s_folder / ("codes-postaux-" +
                             std::string(::testing::UnitTest::GetInstance()->current_test_info()->name()) + ".qes");
        std::filesystem::remove(m_copy);
        qesbuild::FixtureDescription fixture =
            qesbuild::DescriptionParser::Parse(kPostcodeSurvey, "codes-postaux.txt", s_folder);
        qesbuild::WriteFixture(fixture, m_copy.string());
        ASSERT_TRUE(Start(m_copy.string()));
        UsePostcodes(kPostcodeFiles + "classification.txt");
        const char* captions[] = {"categories.txt", "groups.txt", "types.txt"};
        for (int level = 1; level <= 3; ++level)
            CRegistre::SetString("Postcode", "LabelPath" + std::to_string(level), kPostcodeFiles + captions[level - 1]);
    }

    static void UsePostcodes(const std::string& path) { CRegistre::SetString("Postcode", "PostcodePath", path); }

    static CCodagePostalPage* PageOf(CCreerVariableDlg& dialog) {
        auto* page = qobject_cast<CCodagePostalPage*>(dialog.PanneauVisible());
        EXPECT_NE(page, nullptr);
        return page;
    }
};

// By hand from the fixture files: groups A (interview 1, a man), B (2, a woman), C (7, a man),
// D (6, a woman); the other four are unclassified. Categories: 1 (1), 2 (2), 3 (5, 6, 7).
TEST_F(PostcodeVariableTest, APostcodeVariableIsCreatedChangedAndDeleted) {
    const std::string utf16 = (s_folder / "codes-utf16.txt").string();
    std::ofstream(utf16, std::ios::binary) << std::string("\xFF\xFES\0W\0", 6);
    const std::size_t before = Bytes(Path());
    Drive(kCreer, {[&](QDialog& shown) {
              CCreerVariableDlg& dialog = Dialog(shown);
              TypeLabel(dialog, QStringLiteral("GROUPE_CP"));
              dialog.Bouton(9).click();
              CCodagePostalPage* page = PageOf(dialog);
              ASSERT_NE(page, nullptr);
              // A new page: the types, long texts.
              EXPECT_TRUE(page->NiveauButton(2).isChecked());
              EXPECT_TRUE(page->LibelleLongBox().isChecked());
              EXPECT_EQ(page->Liste().topLevelItemCount(), 4);
              page->NiveauButton(1).click();
              ASSERT_EQ(page->Liste().topLevelItemCount(), 4);
              EXPECT_EQ(page->Liste().topLevelItem(2)->text(1), "Retraités");
              dialog.OkButton().click();
              EXPECT_TRUE(dialog.isVisible());
              ASSERT_FALSE(m_ui->shown.empty());
              EXPECT_EQ(m_ui->shown.back().message.id, StringTable::kSelectionnerQuestion);
              ClickAnswering(page->QuestionButton(), [](QDialog& picker) { PickInTree(picker, "CP"); });
              EXPECT_EQ(page->QuestionLabel().text(), "CP");
              // A classification file in another encoding: said, and nothing built.
              UsePostcodes(utf16);
              dialog.OkButton().click();
              EXPECT_TRUE(dialog.isVisible());
              EXPECT_EQ(m_ui->shown.back().message.id, StringTable::kFichierAutreEncodage);
              EXPECT_EQ(Bytes(Path()), before);
              EXPECT_EQ(m_app->TrouverQuestionParNom("GROUPE_CP"), nullptr);
              UsePostcodes(kPostcodeFiles + "classification.txt");
              dialog.OkButton().click();
          }});
    ASSERT_TRUE(InTree("GROUPE_CP"));
    ExpectCounts("GROUPE_CP", {{"Familles établies", {1, 0}},
                               {"Jeunes actifs", {0, 1}},
                               {"Retraités", {1, 0}},
                               {"Quartiers populaires", {0, 1}}});
    CQuestionEtendue& variable = QuestionNamed("GROUPE_CP");
    EXPECT_EQ(Scalar(Path(), "SELECT count(*) FROM " + Joined(variable) + " WHERE " + Field(variable) + " = -1"), 4);

    Select("GROUPE_CP");
    Drive(kModifier, {[&](QDialog& shown) {
              CCreerVariableDlg& dialog = Dialog(shown);
              EXPECT_TRUE(dialog.Bouton(9).isChecked());
              CCodagePostalPage* page = PageOf(dialog);
              ASSERT_NE(page, nullptr);
              EXPECT_EQ(page->QuestionLabel().text(), "CP");
              EXPECT_TRUE(page->NiveauButton(1).isChecked());
              EXPECT_TRUE(page->LibelleLongBox().isChecked());
              page->NiveauButton(0).click();
              page->LibelleLongBox().click();
              TypeLabel(dialog, QStringLiteral("CATEGORIE_CP"));
              dialog.OkButton().click();
          }});
    ASSERT_TRUE(InTree("CATEGORIE_CP"));
    ExpectCounts("CATEGORIE_CP", {{"1", {1, 0}}, {"2", {0, 1}}, {"3", {2, 1}}}, {"Retraités"});
    EXPECT_EQ(variable.GetQuestionCalculee()->definition, "1");

    Select("CATEGORIE_CP");
    QTest::keyClick(Frame().GetQuestionnaireView(), Qt::Key_Delete);
    QApplication::processEvents();
    EXPECT_FALSE(InTree("CATEGORIE_CP"));
    EXPECT_EQ(Scalar(Path(), "SELECT count(*) FROM \"MFW Variable\""), 0);
}


// Four interviews, men and women in turn; the products loop is expanded into NOTE (Pain) and
// NOTE (Lait). The fourth interview gave no Pain, the third no Lait.
constexpr const char* kLoopSurvey = R"(
questionnaire "Produits" language=fr
language 1036 fr "Français"
question 1 SEXE closed
  modality 1 fr "Homme"
  modality 2 fr "Femme"
loop 600 PRODUITS expand
  modality 1 fr "Pain"
  modality 2 fr "Lait"
  question 61 NOTE closed
    modality 1 fr "Bien"
    modality 2 fr "Mal"
  question 62 PRIX numeric
end
records
Cle1,1;1
1,1
2,2
3,1
4,2
end
records loop=600
Cle1,Cle2,Ordre,61;1,62;1
1,1,1,1,2.5
1,2,2,2,1.2
2,1,1,2,
2,2,2,1,
3,1,1,1,3.0
4,2,1,2,0.9
end
)";

class LoopVariableTest : public CreateVariableTest {
protected:
    void SetUp() override {
        MorvaneAppTest::SetUp();
        m_copy = s_folder / ("boucle-" +
                             std::string(::testing::UnitTest::GetInstance()->current_test_info()->name()) + ".qes");
        std::filesystem::remove(m_copy);
        qesbuild::FixtureDescription fixture = qesbuild::DescriptionParser::Parse(kLoopSurvey, "boucle.txt", s_folder);
        qesbuild::WriteFixture(fixture, m_copy.string());
        ASSERT_TRUE(Start(m_copy.string()));
    }
};

// "Copier boucle" on SEXE by NOTE (Pain), the not-asked pairs removed: one variable per product,
// numbered from 1, the dialog staying open. By hand from the records: with Pain, interviews 1 and
// 3 are men who liked it (Homme x Bien, 1), 2 a woman who did not (Femme x Mal, 4), 4 has no Pain;
// with Lait, 1 a man who did not like it (2), 2 a woman who did (3), 3 has none, 4 a woman who
// did not (4).
TEST_F(LoopVariableTest, CopyingACrossingOverTheLoopBuildsOneVariablePerIteration) {
    Drive(kCreer, {[&](QDialog& shown) {
              CCreerVariableDlg& dialog = Dialog(shown);
              TypeLabel(dialog, QStringLiteral("Notes"));
              dialog.Bouton(0).click();
              auto* page = qobject_cast<CCalCroisementPage*>(dialog.PanneauVisible());
              ASSERT_NE(page, nullptr);
              ClickAnswering(page->QuestionButton(0), [](QDialog& picker) { PickInTree(picker, "SEXE"); });
              ClickAnswering(page->QuestionButton(1), [](QDialog& picker) { PickInTree(picker, "NOTE (Pain)"); });
              QTreeWidget& tree = page->Arbre();
              ASSERT_EQ(tree.topLevelItemCount(), 5);
              ASSERT_EQ(tree.topLevelItem(4)->text(0), "Non interrogé");
              tree.setCurrentItem(tree.topLevelItem(4));
              QTest::keyClick(&tree, Qt::Key_Delete);
              page->CopierBoucleButton().click();
              EXPECT_TRUE(dialog.isVisible());
              dialog.AnnulerButton().click();
          }});
    EXPECT_TRUE(m_ui->shown.empty()) << ::testing::PrintToString(m_ui->ShownTexts());
    EXPECT_EQ(m_app->TrouverQuestionParNom("Notes"), nullptr);
    struct Case {
        const char* label;
        const char* stored;
    };
    const Case cases[] = {{"Notes (1)", "1,4,1,-2,"}, {"Notes (2)", "2,3,-2,4,"}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.label);
        ASSERT_TRUE(InTree(c.label));
        const CQuestionEtendue& copy = QuestionNamed(c.label);
        EXPECT_EQ(Texts(Path(), "SELECT v." + Field(copy).substr(2) + " FROM \"VEL Reponse" +
                                    std::to_string(copy.responseTable) + "\" AS v ORDER BY Cle1"),
                  c.stored);
    }
}

// The words of an answer as the test reads them: lower-cased ASCII letters, every other byte of a
// letter of UTF-8 kept, anything else (blanks, punctuation, apostrophes) between words.
std::vector<std::string> WordsOf(const std::string& answer) {
    std::vector<std::string> words(1);
    for (const char c : answer) {
        const auto byte = static_cast<unsigned char>(c);
        if (std::isalnum(byte) || byte >= 0x80) {
            words.back() += static_cast<char>(std::tolower(byte));
        } else if (!words.back().empty()) {
            words.emplace_back();
        }
    }
    if (words.back().empty())
        words.pop_back();
    return words;
}

// Each row's text and code, from a query of two columns.
std::vector<std::pair<std::string, long long>> AnswersBySex(const std::string& path, const std::string& sql) {
    sqlite3* connection = nullptr;
    std::vector<std::pair<std::string, long long>> rows;
    sqlite3_open_v2(path.c_str(), &connection, SQLITE_OPEN_READONLY, nullptr);
    sqlite3_stmt* statement = nullptr;
    if (sqlite3_prepare_v2(connection, sql.c_str(), -1, &statement, nullptr) != SQLITE_OK)
        ADD_FAILURE() << sqlite3_errmsg(connection) << " in " << sql;
    while (statement != nullptr && sqlite3_step(statement) == SQLITE_ROW)
        rows.emplace_back(reinterpret_cast<const char*>(sqlite3_column_text(statement, 0)),
                          sqlite3_column_int64(statement, 1));
    sqlite3_finalize(statement);
    sqlite3_close(connection);
    return rows;
}

bool HoldsSequence(const std::vector<std::string>& words, const std::vector<std::string>& sequence) {
    return std::search(words.begin(), words.end(), sequence.begin(), sequence.end()) != words.end();
}

// "Par dictionnaire" on the demo's open question: each modality counts, by SEXE, the interviews
// whose answer holds one of its words or its segment, as the test finds them in the raw answers.
TEST_F(CreateVariableTest, AVariableByDictionaryCountsTheAnswersHoldingItsWordsAndSegments) {
    Drive(kCreer, {[](QDialog& shown) {
                       CCreerVariableDlg& dialog = Dialog(shown);
                       dialog.LibelleEdit().setText(QStringLiteral("THÈMES")); // typed keys are ASCII only
                       for (int index = 0; index < CCreerVariableDlg::kNombreTypes; ++index)
                           if (CCreerVariableDlg::TypeDuBouton(index) == CVariableCalculee::kDictionnaire)
                               dialog.Bouton(index).click();
                       auto* page = qobject_cast<CCalDictionnairePage*>(dialog.PanneauVisible());
                       ASSERT_NE(page, nullptr);
                       ClickAnswering(page->QuestionButton(), [](QDialog& picker) { PickInTree(picker, "SERVICE"); });
                       const QString lists[] = {QStringLiteral("accueil \"je recommande\""),
                                                QStringLiteral("déçu décevant"), QStringLiteral("personnel")};
                       for (const QString& words : lists) {
                           page->AjouterButton().click();
                           page->ListeMots().setPlainText(words);
                       }
                       dialog.OkButton().click();
                   }});
    ASSERT_TRUE(InTree("THÈMES"));
    const std::vector<std::vector<std::vector<std::string>>> modalities = {
        {{"accueil"}, {"je", "recommande"}}, {{"déçu"}, {"décevant"}}, {{"personnel"}}};
    const char* captions[] = {"Sous total 1", "Sous total 2", "Sous total 3"};
    std::map<std::string, std::pair<long long, long long>> expected;
    const CQuestionEtendue& service = QuestionNamed("SERVICE");
    const CQuestionEtendue& sex = QuestionNamed("SEXE");
    const std::string answers = "SELECT COALESCE(" + Field(service, "a") + ", ''), COALESCE(" + Field(sex, "s") +
                                ", 0) FROM \"VEL Reponse" + std::to_string(service.responseTable) +
                                "\" AS a JOIN \"VEL Reponse1\" AS s USING (Cle1)";
    for (const auto& [answer, code] : AnswersBySex(Path(), answers)) {
        const std::vector<std::string> words = WordsOf(answer);
        for (std::size_t m = 0; m < modalities.size(); ++m) {
            const bool holds = std::any_of(modalities[m].begin(), modalities[m].end(),
                                           [&](const auto& sequence) { return HoldsSequence(words, sequence); });
            auto& cell = expected[captions[m]];
            cell.first += holds && code == 1;
            cell.second += holds && code == 2;
        }
    }
    for (const auto& [caption, counts] : expected)
        ASSERT_GT(counts.first + counts.second, 0) << caption;
    ExpectCounts("THÈMES", expected);
}

} // namespace

// ---- The kinds made from lists: superposition, profile, weighting, durations, classes ----------

namespace {

// The values of a query's first column, row by row.
std::vector<double> Numbers(const std::string& path, const std::string& sql) {
    sqlite3* connection = nullptr;
    std::vector<double> values;
    sqlite3_open_v2(path.c_str(), &connection, SQLITE_OPEN_READONLY, nullptr);
    sqlite3_stmt* statement = nullptr;
    if (sqlite3_prepare_v2(connection, sql.c_str(), -1, &statement, nullptr) != SQLITE_OK)
        ADD_FAILURE() << sqlite3_errmsg(connection) << " in " << sql;
    while (statement != nullptr && sqlite3_step(statement) == SQLITE_ROW)
        values.push_back(sqlite3_column_double(statement, 0));
    sqlite3_finalize(statement);
    sqlite3_close(connection);
    return values;
}

// "(field = code)" summed over the fields: how many of an interview's answers hold the code.
std::string Holds(const std::vector<const char*>& fields, int code) {
    std::string sum;
    for (const char* field : fields)
        sum += (sum.empty() ? "" : " + ") + std::string("(COALESCE(s.\"") + field + "\", -99) = " +
               std::to_string(code) + ")";
    return sum;
}

class ListVariableTest : public CreateVariableTest {
protected:
    // The dialog reopened on a variable is a child of the main window: it goes first.
    void TearDown() override {
        m_changed.reset();
        CreateVariableTest::TearDown();
    }

    // The dialog opened on a new variable with the kind chosen from its radio; answers its page.
    template <class Page>
    Page& Choose(CCreerVariableDlg& dialog, std::int16_t kind, const QString& label) {
        TypeLabel(dialog, label);
        for (int index = 0; index < CCreerVariableDlg::kNombreTypes; ++index)
            if (CCreerVariableDlg::TypeDuBouton(index) == kind)
                dialog.Bouton(index).click();
        auto* page = qobject_cast<Page*>(dialog.PanneauVisible());
        EXPECT_NE(page, nullptr);
        return *page;
    }

    // The page the dialog shows for the stored variable.
    template <class Page>
    Page* Reopened(CQuestionEtendue& variable) {
        m_changed = std::make_unique<CCreerVariableDlg>(*m_app, &variable, &Frame());
        return qobject_cast<Page*>(m_changed->PanneauVisible());
    }

    // "SELECT <expression> FROM the interviews' first table WHERE SEXE = code".
    long long BySex(const std::string& expression, int sex) {
        return Scalar(Path(), "SELECT " + expression + " FROM \"VEL Reponse1\" AS s WHERE s.\"1;1\" = " +
                                  std::to_string(sex));
    }

    // The program's cells of "variable x SEXE" against SQL sums over the raw answers, a row a
    // caption with the expression counting it.
    void ExpectRows(const std::string& variable, const std::vector<std::pair<const char*, std::string>>& rows) {
        const Counts program = ProgramCounts(variable);
        for (const auto& [caption, expression] : rows)
            for (const auto& [sex, sexCaption] : {std::pair{1, "Homme"}, std::pair{2, "Femme"}})
                EXPECT_EQ(CountOf(program, caption, sexCaption), BySex("SUM(" + expression + ")", sex))
                    << caption << " x " << sexCaption << "\n" << m_printed;
    }

    std::vector<double> StoredNumbers(const CQuestionEtendue& variable) {
        return Numbers(Path(), "SELECT " + Field(variable) + " FROM \"VEL Reponse" +
                                   std::to_string(variable.responseTable) + "\" AS v ORDER BY Cle1");
    }

    // The questionnaire closed and opened again: what is counted next is read back from the file.
    void Reopen() {
        m_changed.reset();
        ASSERT_NE(m_app->OuvrirQuestionnaire(Path()), nullptr) << ::testing::PrintToString(m_ui->ShownTexts());
    }

    // Every cell of the request's first table, by its row and column captions, unrounded.
    std::map<std::pair<std::string, std::string>, double> Cells(const std::string& request) {
        CExecuteurTraitement executor(*m_app);
        executor.Executer(Request(request));
        auto tables = executor.TakeTableaux();
        std::map<std::pair<std::string, std::string>, double> cells;
        EXPECT_FALSE(tables.empty()) << request;
        if (tables.empty())
            return cells;
        const CTableau& table = *tables.front();
        for (std::int32_t row = 0; row < table.RowCount(); ++row)
            for (std::int32_t column = 0; column < table.ColumnCount(); ++column)
                cells[{table.DonnerLibelleLigne(row), table.DonnerLibelleColonne(column)}] = table.GetValeur(row, column);
        return cells;
    }

    // "Calage": the interviews raked to as many men as women and to a fifth in each age band, on
    // a total of 1,000.
    void StoreRaking() {
        auto root = std::make_unique<CObjectifRedressement>();
        auto sex = std::make_unique<CObjectifRedressement>(&QuestionNamed("SEXE"));
        for (int k = 0; k < 2; ++k)
            sex->SetObjectif(k, 50.0);
        auto band = std::make_unique<CObjectifRedressement>(&QuestionNamed("TRANCHE"));
        for (int k = 0; k < 5; ++k)
            band->SetObjectif(k, 20.0);
        root->AjouterObjectif(std::move(sex));
        root->AjouterObjectif(std::move(band));
        CRedressement scheme;
        scheme.name = "Calage";
        scheme.NTotal = kRakedTotal;
        scheme.AttacherRacine(std::move(root));
        std::string error;
        ASSERT_TRUE(EnregistrerRedressement(scheme, *m_app, error)) << error;
    }
    static constexpr double kRakedTotal = 1000.0;

    // "SELECT <expression> FROM the variable's table joined to the interviews' first table".
    double Real(const CQuestionEtendue& variable, const std::string& expression, const std::string& where = "1") {
        const std::vector<double> values =
            Numbers(Path(), "SELECT " + expression + " FROM " + Joined(variable) + " WHERE " + where);
        return values.size() == 1 ? values.front() : -1.0;
    }

    static QRadioButton& KindButton(CCreerVariableDlg& dialog, std::int16_t kind) {
        for (int index = 0; index < CCreerVariableDlg::kNombreTypes; ++index)
            if (CCreerVariableDlg::TypeDuBouton(index) == kind)
                return dialog.Bouton(index);
        ADD_FAILURE() << "no button for the kind " << kind;
        return dialog.Bouton(0);
    }

    std::unique_ptr<CCreerVariableDlg> m_changed;
};

// Items of a multi-selection tree chosen as Ctrl+clicks choose them, by their texts.
void SelectByText(CMultiTree& tree, QTreeWidgetItem& holder, const std::vector<QString>& texts) {
    tree.SelectAll(false);
    for (const QString& text : texts) {
        QTreeWidgetItem* found = nullptr;
        for (int i = 0; i < holder.childCount(); ++i)
            if (holder.child(i)->text(0) == text)
                found = holder.child(i);
        ASSERT_NE(found, nullptr) << text.toStdString();
        tree.SetItemState(found, CMultiTree::kSelected, CMultiTree::kSelected);
    }
}

} // namespace

TEST_F(ListVariableTest, AnEmptySuperpositionOrProfileIsRefusedAndNothingIsMade) {
    const std::size_t before = static_cast<std::size_t>(m_app->DonnerNbreQuestions());
    CCreerVariableDlg superposed(*m_app, &Frame());
    Choose<CCalSuperpositionPage>(superposed, CVariableCalculee::kSuperposition, QStringLiteral("Vide"));
    m_ui->shown.clear();
    superposed.accept();
    EXPECT_EQ(superposed.GetQuestion(), nullptr);
    ASSERT_FALSE(m_ui->shown.empty());
    EXPECT_EQ(m_ui->shown.back().message.id, StringTable::kAucuneModaliteDefinie);
    CCreerVariableDlg profiled(*m_app, &Frame());
    Choose<CCalProfilPage>(profiled, CVariableCalculee::kProfil, QStringLiteral("Vide"));
    profiled.accept();
    EXPECT_EQ(profiled.GetQuestion(), nullptr);
    EXPECT_EQ(m_ui->shown.back().message.id, StringTable::kSelectionnerUneQuestion);
    EXPECT_EQ(static_cast<std::size_t>(m_app->DonnerNbreQuestions()), before);
}

TEST_F(ListVariableTest, AWeightingNoLongerThereIsRefused) {
    CCreerVariableDlg dialog(*m_app, &Frame());
    auto& page = Choose<CCalRedressementPage>(dialog, CVariableCalculee::kRedressement, QStringLiteral("Poids"));
    CQuestionCalculee stored;
    stored.definition = "987654";
    page.Charger(stored);
    EXPECT_EQ(page.Redressement(), -1);
    m_ui->shown.clear();
    dialog.accept();
    EXPECT_EQ(dialog.GetQuestion(), nullptr);
    ASSERT_FALSE(m_ui->shown.empty());
    EXPECT_EQ(m_ui->shown.back().message.id, StringTable::kSelectionnerRedressement);
}

TEST_F(ListVariableTest, TheClassesOfAClassificationAreRenamedAndReorderedAndCoordinatesRenamed) {
    PartiesVariable classes;
    classes.label = "Classes";
    classes.kind = CVariableCalculee::kMultivarie;
    classes.themes = "Petits|Grands|";
    classes.definition = "1|2|";
    CReponsesCalculees answers;
    answers.nombreReponses = 1;
    for (int i = 0; i < m_app->DonnerNbreInterviews(); ++i)
        answers.codes.push_back(static_cast<std::int16_t>(i % 3 == 0 ? 0 : 1));
    Message error;
    CQuestionEtendue* built = CConstructionVariable::ConstruireAvecReponses(*m_app, classes, answers, error);
    ASSERT_NE(built, nullptr) << StringTable::Format(error);
    CCreerVariableDlg dialog(*m_app, built, &Frame());
    auto* page = qobject_cast<CCalCalculMultivariePage*>(dialog.PanneauVisible());
    ASSERT_NE(page, nullptr);
    ASSERT_EQ(page->Arbre().topLevelItemCount(), 2);
    page->Arbre().setCurrentItem(page->Arbre().topLevelItem(1));
    page->Arbre().Monter();
    // Each class keeps the modalities' icon through the move.
    for (int i = 0; i < 2; ++i)
        EXPECT_FALSE(page->Arbre().topLevelItem(i)->icon(0).isNull()) << i;
    page->Arbre().topLevelItem(0)->setText(0, QStringLiteral("Les grands"));
    dialog.accept();
    ASSERT_EQ(dialog.GetQuestion(), built) << ::testing::PrintToString(m_ui->ShownTexts());
    // Two interviews in three (those not at a multiple of 3) are in the second class.
    const long long interviews = m_app->DonnerNbreInterviews();
    const Counts program = ProgramCounts("Classes");
    EXPECT_EQ(CountOf(program, "Les grands", "Homme") + CountOf(program, "Les grands", "Femme"),
              interviews - (interviews + 2) / 3)
        << m_printed;

    PartiesVariable coordinates;
    coordinates.label = "Axe 1";
    coordinates.kind = CVariableCalculee::kNumeriqueMultivarie;
    CReponsesCalculees values;
    values.numerique = true;
    values.nombreReponses = 1;
    for (int i = 0; i < m_app->DonnerNbreInterviews(); ++i)
        values.valeurs.push_back(0.25 * i);
    CQuestionEtendue* axis = CConstructionVariable::ConstruireAvecReponses(*m_app, coordinates, values, error);
    ASSERT_NE(axis, nullptr) << StringTable::Format(error);
    CCreerVariableDlg renamed(*m_app, axis, &Frame());
    EXPECT_EQ(renamed.PanneauVisible(), nullptr);
    TypeLabel(renamed, QStringLiteral("Premier axe"));
    renamed.accept();
    ASSERT_EQ(renamed.GetQuestion(), axis) << ::testing::PrintToString(m_ui->ShownTexts());
    EXPECT_EQ(axis->name, "Premier axe");
    EXPECT_EQ(StoredNumbers(*axis), values.valeurs);
}

TEST_F(ListVariableTest, RecalculatingFollowsTheChangedSourcesOfTheListKinds) {
    PartiesVariable superposed;
    superposed.label = "SUPER";
    superposed.kind = CVariableCalculee::kSuperposition;
    SuperpositionSources sources;
    sources.modalities = {{"Premier", 1}};
    sources.questions = {&QuestionNamed("REGION"), &QuestionNamed("TRANCHE")};
    superposed.themes = sources.Libelles();
    superposed.definition = sources.Definition();
    superposed.superposition = 1;
    PartiesVariable durations;
    durations.label = "DUREES";
    durations.kind = CVariableCalculee::kDureesSaisie;
    CProfil profile;
    profile.Add(&QuestionNamed("SEXE"));
    profile.Add(&QuestionNamed("AGE"));
    durations.definition = profile.ToString(*m_app);
    // The Parisians and the youngest, by profile.
    PartiesVariable profiled;
    profiled.label = "JEUNES_PARIS";
    profiled.kind = CVariableCalculee::kProfil;
    CProfil chosen;
    for (const char* name : {"REGION", "TRANCHE"}) {
        std::vector<std::unique_ptr<CModaliteEtendue>> modalities;
        QuestionNamed(name).DonnerModalites(modalities, true);
        modalities.resize(1);
        profiled.themes += modalities.front()->GetShortCaption() + "|";
        chosen.Add(&QuestionNamed(name), modalities);
    }
    profiled.definition = chosen.ToString(*m_app);
    StoreRaking();
    PartiesVariable weighted;
    weighted.label = "POIDS";
    weighted.kind = CVariableCalculee::kRedressement;
    std::vector<std::unique_ptr<CIdName>> weightings;
    m_app->DonnerListeRedressements(weightings);
    ASSERT_FALSE(weightings.empty());
    weighted.definition = std::to_string(weightings.back()->id);
    Message error;
    CQuestionEtendue* stacked = CConstructionVariable::Construire(*m_app, nullptr, superposed, error);
    ASSERT_NE(stacked, nullptr) << StringTable::Format(error);
    CQuestionEtendue* timed = CConstructionVariable::Construire(*m_app, nullptr, durations, error);
    ASSERT_NE(timed, nullptr) << StringTable::Format(error);
    ASSERT_NE(CConstructionVariable::Construire(*m_app, nullptr, profiled, error), nullptr) << StringTable::Format(error);
    CQuestionEtendue* weights = CConstructionVariable::Construire(*m_app, nullptr, weighted, error);
    ASSERT_NE(weights, nullptr) << StringTable::Format(error);

    Execute(Path(), "UPDATE \"VEL Reponse1\" SET \"4;1\" = 1, \"3;1\" = 1, \"1;0\" = COALESCE(\"1;0\", 0) + 7 "
                    "WHERE Cle1 IN (SELECT Cle1 FROM \"VEL Reponse1\" ORDER BY Cle1 LIMIT 20)");
    for (const char* name : {"REGION", "TRANCHE"})
        m_app->OublierDonneesQuestion(QuestionNamed(name));
    m_ui->shown.clear();
    ASSERT_TRUE(Run(32903));
    EXPECT_TRUE(m_ui->shown.empty()) << ::testing::PrintToString(m_ui->ShownTexts());
    ExpectRows("SUPER", {{"Premier", Holds({"4;1", "3;1"}, 1)}});
    EXPECT_EQ(StoredNumbers(*timed), Numbers(Path(), "SELECT COALESCE(\"1;0\", 0) + COALESCE(\"2;0\", 0) FROM "
                                                     "\"VEL Reponse1\" ORDER BY Cle1"));
    ExpectRows("JEUNES_PARIS", {{"Île-de-France", Holds({"4;1"}, 1)}, {"18-24 ans", Holds({"3;1"}, 1)}});
    // The weights reach the targets on the age bands as they now are.
    for (int band = 1; band <= 5; ++band)
        EXPECT_NEAR(Real(*weights, "SUM(" + Field(*weights) + ")", "s.\"3;1\" = " + std::to_string(band)), 200.0,
                    1e-3);
}

// "En superposant des questions" on TRANCHE and REGION, five modalities each, kept to the numbers
// 2 and 4: a table counts, by SEXE, the interviews that gave either (once each) or, cumulating,
// every answer that gave it; an interview that gave 2 to both holds the first code once, or
// twice. Counted after the questionnaire is opened again; the panel shows what was stored.
TEST_F(ListVariableTest, SuperposedQuestionsCountAsTheirRawAnswersWithAndWithoutCumulating) {
    struct Case {
        const char* label;
        bool cumulate;
        const char* join; // how the two questions' answers of one interview add up
    };
    const Case cases[] = {{"SUPERPOSEE", false, " OR "}, {"CUMULEE", true, " + "}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.label);
        Drive(kCreer, {[&](QDialog& shown) {
                  CCreerVariableDlg& dialog = Dialog(shown);
                  auto& page = Choose<CCalSuperpositionPage>(dialog, CVariableCalculee::kSuperposition,
                                                             QString::fromUtf8(c.label));
                  ClickAnswering(page.AjouterButton(), [](QDialog& picker) {
                      auto* questions = qobject_cast<CSelQuestionDlg*>(&picker);
                      ASSERT_NE(questions, nullptr);
                      // A click on the first, a Ctrl+click on the second.
                      questions->GetTree().SelectAll(false);
                      for (const char* name : {"TRANCHE", "REGION"}) {
                          const QList<QTreeWidgetItem*> found = questions->GetTree().findItems(
                              QString::fromUtf8(name), Qt::MatchExactly | Qt::MatchRecursive);
                          ASSERT_EQ(found.size(), 1) << name;
                          questions->GetTree().SetItemState(found.front(), CMultiTree::kSelected,
                                                            CMultiTree::kSelected);
                      }
                      questions->accept();
                  });
                  LabelledItemTree& modalities = page.Modalites();
                  ASSERT_EQ(page.Questions().topLevelItemCount(), 2);
                  for (int i = modalities.topLevelItemCount() - 1; i >= 0; --i) {
                      const QString label = modalities.topLevelItem(i)->text(0);
                      if (label == "25-34 ans" || label == "50-64 ans")
                          continue;
                      modalities.setCurrentItem(modalities.topLevelItem(i));
                      QTest::keyClick(&modalities, Qt::Key_Delete);
                  }
                  ASSERT_EQ(modalities.topLevelItemCount(), 2);
                  if (c.cumulate)
                      page.CumulerBox().click();
                  dialog.OkButton().click();
              }});
        ASSERT_TRUE(InTree(c.label));
        Reopen();
        const auto either = [&](int code) {
            return "(" + Holds({"3;1"}, code) + ")" + c.join + "(" + Holds({"4;1"}, code) + ")";
        };
        ExpectRows(c.label, {{"25-34 ans", either(2)}, {"50-64 ans", either(4)}});
        CQuestionEtendue& variable = QuestionNamed(c.label);
        std::int32_t first = 0;
        for (const auto& [code, caption] : CaptionsByCode(variable))
            if (caption == "25-34 ans")
                first = code;
        const std::string twice = Field(variable) + " = " + std::to_string(first) + " AND v.\"" +
                                  std::to_string(variable.code) + ";2\" = " + std::to_string(first);
        const long long both = Scalar(Path(), "SELECT count(*) FROM \"VEL Reponse1\" AS s WHERE " +
                                                  Holds({"3;1"}, 2) + " AND " + Holds({"4;1"}, 2));
        ASSERT_GT(both, 0);
        EXPECT_EQ(Scalar(Path(), "SELECT count(*) FROM " + Joined(variable) + " WHERE " + twice),
                  c.cumulate ? both : 0);

        auto* page = Reopened<CCalSuperpositionPage>(variable);
        ASSERT_NE(page, nullptr);
        EXPECT_EQ(page->Modalites().topLevelItemCount(), 2);
        EXPECT_EQ(page->Questions().topLevelItemCount(), 2);
        EXPECT_EQ(page->CumulerBox().isChecked(), c.cumulate);
    }
}

// "Par profil" with SATISF kept to its two extremes and MARQUES to three brands: five modalities,
// coded 0 to 4, an interview holding one code per modality of the profile it gave.
TEST_F(ListVariableTest, AProfileOfTwoAndThreeModalitiesCountsTheInterviewsThatGaveEach) {
    Drive(kCreer, {[&](QDialog& shown) {
              CCreerVariableDlg& dialog = Dialog(shown);
              auto& page = Choose<CCalProfilPage>(dialog, CVariableCalculee::kProfil, QStringLiteral("EXTREMES"));
              ClickAnswering(page.SelectionButton(), [](QDialog& chooser) {
                  auto* profiles = qobject_cast<CProfilModalitesDlg*>(&chooser);
                  ASSERT_NE(profiles, nullptr);
                  CMultiTree& questionnaire = profiles->QuestionnaireTree();
                  const std::pair<const char*, std::vector<QString>> chosen[] = {
                      {"SATISF", {QStringLiteral("Très satisfait"), QStringLiteral("Pas du tout satisfait")}},
                      {"MARQUES", {QStringLiteral("Alvéa"), QStringLiteral("Cassiel"), QStringLiteral("Hélion")}}};
                  for (const auto& [name, modalities] : chosen) {
                      const QList<QTreeWidgetItem*> found =
                          questionnaire.findItems(QString::fromUtf8(name), Qt::MatchExactly);
                      ASSERT_EQ(found.size(), 1) << name;
                      found.front()->setExpanded(true);
                      SelectByText(questionnaire, *found.front(), modalities);
                      profiles->Bouton(CProfilModalitesDlg::kVersProfil).click();
                  }
                  profiles->OkButton().click();
              });
              ASSERT_EQ(page.Arbre().topLevelItemCount(), 2);
              EXPECT_EQ(page.Arbre().topLevelItem(1)->childCount(), 3);
              dialog.OkButton().click();
          }});
    ASSERT_TRUE(InTree("EXTREMES"));
    Reopen();
    const std::vector<const char*> brands = {"11;1", "11;2", "11;3", "11;4"};
    ExpectRows("EXTREMES", {{"Très satisfait", Holds({"10;1"}, 1)},
                            {"Pas du tout satisfait", Holds({"10;1"}, 5)},
                            {"Alvéa", Holds(brands, 1)},
                            {"Cassiel", Holds(brands, 3)},
                            {"Hélion", Holds(brands, 8)}});
    CQuestionEtendue& variable = QuestionNamed("EXTREMES");
    EXPECT_EQ(CaptionsByCode(variable).size(), 5u);
    auto* page = Reopened<CCalProfilPage>(variable);
    ASSERT_NE(page, nullptr);
    EXPECT_EQ(page->GetProfil().GetNbreModalitesTotal(), 5);
}

// "Par redressement" on a raking of SEXE and TRANCHE: the stored weights reach the scheme's
// targets (500 men, 500 women, 200 in each age band, as the targets are written) and add up, cell
// by cell, to the counts of the table weighted by the same scheme.
TEST_F(ListVariableTest, TheWeightsOfAWeightingAreTheOnesOfTheTableItWeights) {
    StoreRaking();
    Drive(kCreer, {[&](QDialog& shown) {
              CCreerVariableDlg& dialog = Dialog(shown);
              auto& page = Choose<CCalRedressementPage>(dialog, CVariableCalculee::kRedressement,
                                                        QStringLiteral("POIDS_CALAGE"));
              page.Redressements().setCurrentIndex(page.Redressements().findText(QStringLiteral("Calage")));
              ASSERT_NE(page.Redressement(), -1);
              dialog.OkButton().click();
          }});
    ASSERT_TRUE(InTree("POIDS_CALAGE"));
    Reopen();
    CQuestionEtendue& weights = QuestionNamed("POIDS_CALAGE");
    const std::string weight = Field(weights);
    // The raking keeps the total and stops once the chi-square of every target's margins, per
    // modality, is below 1e-10: a margin of 200 is then within sqrt(5 x 1e-10 x 200), 3.2e-4.
    constexpr double kTarget = 1e-3;
    EXPECT_NEAR(Real(weights, "SUM(" + weight + ")"), kRakedTotal, 1e-9);
    for (int sex = 1; sex <= 2; ++sex)
        EXPECT_NEAR(Real(weights, "SUM(" + weight + ")", "s.\"1;1\" = " + std::to_string(sex)), 500.0, kTarget);
    for (int band = 1; band <= 5; ++band)
        EXPECT_NEAR(Real(weights, "SUM(" + weight + ")", "s.\"3;1\" = " + std::to_string(band)), 200.0, kTarget);

    const auto cells = Cells("type tri-croise\nlignes REGION\ncolonnes SEXE\ncalculs 0\nredressement Calage\n");
    const std::map<std::int32_t, std::string> regions = CaptionsByCode(QuestionNamed("REGION"));
    int compared = 0;
    for (const auto& [region, regionCaption] : regions)
        for (const auto& [sex, sexCaption] : std::map<int, std::string>{{1, "Homme"}, {2, "Femme"}}) {
            SCOPED_TRACE(regionCaption + " x " + sexCaption);
            const auto found = cells.find({regionCaption, sexCaption});
            ASSERT_NE(found, cells.end());
            EXPECT_NEAR(found->second,
                        Real(weights, "TOTAL(" + weight + ")",
                             "s.\"4;1\" = " + std::to_string(region) + " AND s.\"1;1\" = " + std::to_string(sex)),
                        1e-9);
            ++compared;
        }
    EXPECT_EQ(compared, 10);
    auto* page = Reopened<CCalRedressementPage>(weights);
    ASSERT_NE(page, nullptr);
    EXPECT_EQ(page->Redressements().currentText(), "Calage");
}

// "A partir des durées d'entrée" of AGE, REGION and SATISF, chosen in "Profils": each interview's
// stored value is the sum of its three raw duration fields, and the table of sums by SEXE adds
// them up.
TEST_F(ListVariableTest, EntryDurationsAreTheSumsOfTheRawDurationFields) {
    Drive(kCreer, {[&](QDialog& shown) {
              CCreerVariableDlg& dialog = Dialog(shown);
              auto& page = Choose<CCalDureesPage>(dialog, CVariableCalculee::kDureesSaisie, QStringLiteral("DUREES"));
              ClickAnswering(page.SelectionButton(), [](QDialog& chooser) {
                  auto* profile = qobject_cast<CSelectionProfilDlg*>(&chooser);
                  ASSERT_NE(profile, nullptr);
                  SelectByText(profile->QuestionnaireTree(), *profile->QuestionnaireTree().invisibleRootItem(),
                               {QStringLiteral("Satisfaction globale"), QStringLiteral("Âge"), QStringLiteral("Région")});
                  profile->Bouton(CSelectionProfilDlg::kVersProfil).click();
                  profile->OkButton().click();
              });
              ASSERT_EQ(page.Arbre().topLevelItemCount(), 3);
              dialog.OkButton().click();
          }});
    ASSERT_TRUE(InTree("DUREES"));
    Reopen();
    CQuestionEtendue& durations = QuestionNamed("DUREES");
    const std::string raw = "COALESCE(\"2;0\", 0) + COALESCE(\"4;0\", 0) + COALESCE(\"10;0\", 0)";
    const std::vector<double> expected = Numbers(Path(), "SELECT " + raw + " FROM \"VEL Reponse1\" ORDER BY Cle1");
    ASSERT_EQ(expected.size(), static_cast<std::size_t>(m_app->DonnerNbreInterviews()));
    EXPECT_GT(*std::min_element(expected.begin(), expected.end()), 0.0);
    EXPECT_EQ(StoredNumbers(durations), expected);

    const auto cells = Cells("type moyenne\nlignes SEXE\ncolonnes DUREES\ncalculs 4\n");
    for (const auto& [sex, caption] : std::map<int, std::string>{{1, "Homme"}, {2, "Femme"}}) {
        SCOPED_TRACE(caption);
        double sum = -1.0;
        for (const auto& [cell, value] : cells)
            if (cell.first == caption)
                sum = value;
        EXPECT_EQ(sum, static_cast<double>(BySex("SUM(" + raw + ")", sex)));
    }
    auto* page = Reopened<CCalDureesPage>(durations);
    ASSERT_NE(page, nullptr);
    EXPECT_EQ(page->GetProfil().GetCount(), 3);
}
