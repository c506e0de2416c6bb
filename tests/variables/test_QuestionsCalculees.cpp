// Computed questions in a questionnaire: answers computed from their source questions, written
// with their definition, read back after the survey is opened again, and tabulated like any
// question.
#include <gtest/gtest.h>

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "VariablesTestSupport.h"
#include "app/Calcul.h"
#include "app/DBQuestionnaire.h"
#include "app/DataAccess.h"
#include "app/MatriceCodes.h"
#include "app/StringTable.h"
#include "app/VecteurDouble.h"
#include "platform/db/Database.h"
#include "platform/db/Recordset.h"
#include "tabulation/ExecuteurTraitement.h"
#include "tabulation/Tableau.h"
#include "tabulation/Traitement.h"
#include "variables/CalculScript.h"
#include "variables/CalculVariable.h"

using namespace variables_test;

namespace {

constexpr std::int16_t kE = -2; // an empty cell of computed answers

// Three modalities crossing SEXE (positions 0 Homme, 1 Femme, 2 not asked) with MARQUES
// (0 Alpha, 1 Bêta, 2 Gamma): "Homme et Alpha" = (0,0); "Femme et Bêta ou Gamma" = (1,1), (1,2);
// "Alpha" = Alpha whatever the sex, the not asked included.
constexpr const char* kCrossingCaptions = "Homme et Alpha|Femme et Bêta ou Gamma|Alpha|";
constexpr const char* kCrossingDefinition = "0;0@|1;1@1;2@|0;0@1;0@2;0@|";

// Per interview, by hand from the records: 1 Homme {Alpha, Bêta}; 2 Femme {Gamma}; 3 Femme
// {Bêta, Gamma}; 4 Homme {}; 5 not asked {Alpha}; 6 Femme {Bêta}.
const std::vector<std::int16_t> kCrossingAnswers = {
    0, 2,  // Homme et Alpha, Alpha
    1, kE, // Femme et Gamma
    1, kE, // Femme et Bêta, Gamma
    kE, kE,
    2, kE, // Alpha without a sex
    1, kE,
};

class QuestionsCalculeesTest : public VariablesFixture {
protected:
    // The crossing of SEXE and MARQUES, bound to the open survey.
    std::unique_ptr<CVariableCalculee> Crossing() {
        auto crossing = Definition(CVariableCalculee::kCroisement, kCrossingCaptions, kCrossingDefinition);
        crossing->label = "Croisement";
        crossing->reference1 = {1, "", 0};
        crossing->reference2 = {3, "", 0};
        crossing->ResoudreQuestions(context);
        return crossing;
    }

    // What building a variable does: a new number, answer fields of their kind, the question in
    // the survey, the answers written, the definition saved.
    CQuestionEtendue* Store(std::unique_ptr<CVariableCalculee> definition, const CReponsesCalculees& answers) {
        definition->code = context.NouveauCodeQuestion();
        definition->maxAnswers = answers.nombreReponses;
        CDataAccess access(context, true);
        short table = 0;
        EXPECT_TRUE(access.CreerChampsQuestion(-definition->code, answers.nombreReponses, answers.numerique ? 5 : 1,
                                               table));
        definition->responseTable = table;
        CQuestionEtendue* question =
            context.AjouterQuestionCalculee(CQuestionCalculee::CreerQuestion(std::move(definition), context));
        if (answers.numerique)
            EXPECT_TRUE(access.EcrireValeursNumeriques(*question, answers.valeurs));
        else
            EXPECT_TRUE(access.EcrireReponsesFermees(*question, answers.codes));
        CDBQuestionnaire database(context, ui);
        EXPECT_TRUE(database.SauverVariable(*question->GetQuestionCalculee()));
        return question;
    }

    void Reopen() { ASSERT_TRUE(context.OuvrirEtude()) << context.GetLastError(); }

    int IndexOf(const std::string& name) {
        int index = -1;
        EXPECT_TRUE(context.TrouverIndexQuestion(&Named(name), index));
        return index;
    }

    // Effectifs of a table of the question by rows (and SEXE by columns when crossed).
    std::unique_ptr<CTableau> Table(const std::string& rows, bool crossed) {
        auto request = std::make_unique<CTraitement>();
        request->type = crossed ? CTraitement::kTriCroise : CTraitement::kTriSimple;
        request->title = rows;
        request->SetTypeAxe(CTraitement::kLignes, CTraitement::kAxeFermee);
        request->DefinirModalitesAxe(&Named(rows), Lines(rows, 0), CTraitement::kLignes);
        request->SetTypeAxe(CTraitement::kColonnes, CTraitement::kAxeAucun);
        if (crossed) {
            request->SetTypeAxe(CTraitement::kColonnes, CTraitement::kAxeFermee);
            request->DefinirModalitesAxe(&Named("SEXE"), Lines("SEXE", 1), CTraitement::kColonnes);
        }
        std::vector<std::unique_ptr<CCalcul>> calculations;
        calculations.push_back(std::make_unique<CCalcul>(0, "Effectifs", true));
        request->SetCalculsLignes(calculations);
        request->mergeOptions.Type = CTypeFusion::kSeparateTables;
        CExecuteurTraitement runner(context);
        EXPECT_EQ(runner.Calculer(std::move(request)), 1);
        EXPECT_GE(runner.GetNbTableaux(), 1) << (ui->shown.empty() ? "" : ui->ShownTexts().front());
        return runner.GetNbTableaux() >= 1 ? std::make_unique<CTableau>(*runner.GetTableau(0)) : nullptr;
    }

    // The question's modalities of positive code, then the Total.
    std::vector<std::unique_ptr<CModaliteEtendue>> Lines(const std::string& name, int axis) {
        std::vector<std::unique_ptr<CModaliteEtendue>> lines;
        const CQuestionEtendue& question = Named(name);
        for (int i = 0; i < question.GetNbreModalite(); ++i)
            if (question.GetModaliteEtendue(i)->code > 0)
                lines.push_back(std::make_unique<CModaliteEtendue>(*question.GetModaliteEtendue(i)));
        lines.push_back(std::make_unique<CModaliteEtendue>(*context.DonnerModaliteTotal(axis)));
        return lines;
    }
};

TEST_F(QuestionsCalculeesTest, ACrossingComputesItsAnswersFromBothQuestions) {
    CReponsesCalculees answers;
    Message error;
    ASSERT_TRUE(CCalculVariable::Calculer(*Crossing(), context, answers, error)) << StringTable::Format(error);
    EXPECT_FALSE(answers.numerique);
    EXPECT_EQ(answers.nombreReponses, 2);
    EXPECT_EQ(answers.codes, kCrossingAnswers);
}

TEST_F(QuestionsCalculeesTest, AStoredCrossingIsReadBackAndTabulated) {
    CReponsesCalculees answers;
    Message error;
    ASSERT_TRUE(CCalculVariable::Calculer(*Crossing(), context, answers, error)) << StringTable::Format(error);
    Store(Crossing(), answers);

    Reopen();
    const CQuestionEtendue& question = Named("Croisement");
    EXPECT_EQ(question.code, -1);
    EXPECT_EQ(question.depth, 2);
    EXPECT_EQ(Codes(question), (std::vector<std::int32_t>{1, 2, 3}));
    EXPECT_EQ(Captions(question), (std::vector<std::string>{"Homme et Alpha", "Femme et Bêta ou Gamma", "Alpha"}));
    EXPECT_EQ(question.answerCount, 2);
    const auto* definition = dynamic_cast<const CVariableCalculee*>(question.GetQuestionCalculee());
    ASSERT_NE(definition, nullptr);
    EXPECT_EQ(definition->source1, &Named("SEXE"));
    EXPECT_EQ(definition->source2, &Named("MARQUES"));
    const int group = IndexOf("Croisement") - 1;
    EXPECT_EQ(context.DonnerQuestion(group)->code, -100000);

    CMatriceCodes codes;
    ASSERT_TRUE(context.LireCodesQuestion(IndexOf("Croisement"), codes));
    ASSERT_EQ(codes.GetNbLignes(), 6);
    ASSERT_EQ(codes.GetNbColonnes(), 2);
    const std::vector<std::vector<int>> positions = {{0, 2}, {1}, {1}, {}, {2}, {1}};
    for (int row = 0; row < 6; ++row) {
        std::vector<int> given;
        for (int column = 0; column < 2; ++column)
            if (codes.GetAt(row, column) >= 0 && codes.GetAt(row, column) < 3)
                given.push_back(codes.GetAt(row, column));
        EXPECT_EQ(given, positions[static_cast<std::size_t>(row)]) << "interview " << row + 1;
    }
    CVecteurDouble values;
    EXPECT_FALSE(context.LireValeursQuestion(IndexOf("Croisement"), values));

    // Flat table: Homme et Alpha 1 (interview 1), Femme et Bêta ou Gamma 3 (2, 3, 6), Alpha 2 (1, 5).
    const auto flat = Table("Croisement", false);
    ASSERT_NE(flat, nullptr);
    EXPECT_EQ(flat->GetValeur(0, 0), 1);
    EXPECT_EQ(flat->GetValeur(1, 0), 3);
    EXPECT_EQ(flat->GetValeur(2, 0), 2);

    // By SEXE (Homme, Femme, Total): interview 5 has no sex and leaves the table.
    const auto crossed = Table("Croisement", true);
    ASSERT_NE(crossed, nullptr);
    const std::vector<std::vector<double>> expected = {{1, 0, 1}, {0, 3, 3}, {1, 0, 1}, {1, 3, 4}};
    ASSERT_EQ(crossed->RowCount(), 4);
    ASSERT_EQ(crossed->ColumnCount(), 3);
    for (int i = 0; i < 4; ++i)
        for (int j = 0; j < 3; ++j)
            EXPECT_EQ(crossed->GetValeur(i, j), expected[static_cast<std::size_t>(i)][static_cast<std::size_t>(j)])
                << i << ", " << j;
    // Empty answer cells are no unknown answers.
    EXPECT_TRUE(ui->shown.empty()) << ui->ShownTexts().front();
}

// Every kind's record comes back as it was written, the superposition option of kind 6 and a
// profile of three questions included; a second save writes the same record again.
TEST_F(QuestionsCalculeesTest, DefinitionsSurviveSavingAndReopening) {
    CReponsesCalculees closed;
    closed.nombreReponses = 1;
    closed.codes.assign(6, kE);
    CReponsesCalculees numeric;
    numeric.numerique = true;
    numeric.nombreReponses = 1;
    numeric.valeurs = {1, 2, 3, 4, 5, 6};

    Store(Crossing(), closed);
    auto superposition = Definition(CVariableCalculee::kSuperposition, "un@1|deux@2|", "3@0@|4@0@|");
    superposition->label = "Superposition";
    superposition->superposition = 1;
    Store(std::move(superposition), closed);
    auto profile = Definition(CVariableCalculee::kProfil, "p|q|", "");
    profile->label = "Profil";
    CProfil lines;
    // Three questions, the last one taken whole (a line without modalities).
    lines.FromString(context, "1@@0@1:0:0:0:0;|3@@0@2:1:0:0:0;3:0:0:0:0;|2@@0@|");
    profile->DefinirProfil(lines);
    Store(std::move(profile), closed);
    auto script = Definition(CVariableCalculee::kScript, "", "SI AGE > 30 ALORS 1 SINON 0");
    script->label = "Script";
    Store(std::move(script), numeric);

    auto stored = [this] {
        db::Database database(context.questionnairePath, db::Database::Access::ReadOnly);
        db::Recordset records(database, "MFW Variable");
        std::vector<std::string> rows;
        for (; !records.isEOF(); records.moveNext()) {
            std::string row;
            for (const char* field : {"CodeVariable", "Libelle", "TypeVariable", "Expression", "Themes", "NbMaxReponse",
                                      "NroTableReponse", "CodeQuestion1", "ClesQuestion1", "CodeRegroupement1",
                                      "CodeQuestion2", "EstCumule"})
                row += records.value(field).toText() + "¦";
            rows.push_back(row);
        }
        return rows;
    };
    const std::vector<std::string> before = stored();
    ASSERT_EQ(before.size(), 4u);
    EXPECT_NE(before[2].find("1@@0@1:0:0:0:0;|3@@0@2:1:0:0:0;3:0:0:0:0;|2@@0@|"), std::string::npos) << before[2];

    Reopen();
    const auto& reread = dynamic_cast<const CVariableCalculee&>(*Named("Superposition").GetQuestionCalculee());
    EXPECT_EQ(reread.superposition, 1);
    EXPECT_EQ(Codes(Named("Superposition")), (std::vector<std::int32_t>{1, 2}));
    EXPECT_EQ(Named("Script").type, 5);
    const auto& profileRead = dynamic_cast<const CVariableCalculee&>(*Named("Profil").GetQuestionCalculee());
    EXPECT_EQ(profileRead.GetProfil().GetCount(), 3);
    EXPECT_TRUE(profileRead.definition.empty());
    CVecteurDouble values;
    ASSERT_TRUE(context.LireValeursQuestion(IndexOf("Script"), values));
    ASSERT_EQ(values.GetSize(), 6);
    EXPECT_EQ(values.GetAt(5), 6);

    CDBQuestionnaire database(context, ui);
    for (const char* name : {"Croisement", "Superposition", "Profil", "Script"})
        ASSERT_TRUE(database.SauverVariable(*Named(name).GetQuestionCalculee())) << name;
    EXPECT_EQ(stored(), before);
}

// A script variable asks the evaluator installed for scripts; without one it is refused.
TEST_F(QuestionsCalculeesTest, ScriptsGoToTheInstalledEvaluator) {
    class Doubling : public CCalculScript {
    public:
        bool Calculer(const std::string& script, CEnquete& survey, std::vector<double>& values, Message&) override {
            EXPECT_EQ(script, "AGE * 2");
            values.assign(static_cast<std::size_t>(survey.DonnerNbreInterviews()), 2.0);
            return true;
        }
    };
    auto script = Definition(CVariableCalculee::kScript, "", "AGE * 2");
    CReponsesCalculees answers;
    Message error;
    auto previous = CCalculVariable::EnregistrerCalculScript(nullptr);
    EXPECT_FALSE(CCalculVariable::Calculer(*script, context, answers, error));
    EXPECT_EQ(error.id, StringTable::kVariableSansCalcul);
    CCalculVariable::EnregistrerCalculScript(std::make_unique<Doubling>());
    ASSERT_TRUE(CCalculVariable::Calculer(*script, context, answers, error));
    EXPECT_TRUE(answers.numerique);
    EXPECT_EQ(answers.valeurs, std::vector<double>(6, 2.0));
    CCalculVariable::EnregistrerCalculScript(std::move(previous));
}

TEST_F(QuestionsCalculeesTest, CrossingsThatCannotBeComputed) {
    CReponsesCalculees answers;
    answers.nombreReponses = 42;
    Message error;

    auto uneven = Crossing();
    uneven->themes = "a|b|";
    EXPECT_FALSE(CCalculVariable::Calculer(*uneven, context, answers, error));
    EXPECT_EQ(error, Message(StringTable::kVariableDefinitionIncoherente, {"Croisement", "3", "2"}));

    auto gone = Crossing();
    gone->reference2 = {99, "", 0};
    gone->ResoudreQuestions(context);
    EXPECT_FALSE(CCalculVariable::Calculer(*gone, context, answers, error));
    EXPECT_EQ(error, Message(StringTable::kVariableQuestionAbsente, {"Croisement", "99"}));

    auto numeric = Crossing();
    numeric->reference2 = {2, "", 0}; // AGE
    numeric->ResoudreQuestions(context);
    EXPECT_FALSE(CCalculVariable::Calculer(*numeric, context, answers, error));
    EXPECT_EQ(error.id, StringTable::kDeuxQuestionsAModalites);

    // The survey has no weighting 3: the raking says so and no weight is made up.
    auto weighting = Definition(CVariableCalculee::kRedressement, "", "3");
    EXPECT_FALSE(CCalculVariable::Calculer(*weighting, context, answers, error));
    EXPECT_FALSE(StringTable::Format(error).empty());
    EXPECT_NE(error.id, StringTable::kVariableSansCalcul);
    EXPECT_EQ(answers.nombreReponses, 42);
}

} // namespace

namespace {

// A record the program cannot rebuild opens all the same, and the user is told once.
TEST_F(QuestionsCalculeesTest, AnOpeningReportsDefinitionsItCannotRebuild) {
    CReponsesCalculees closed;
    closed.nombreReponses = 1;
    closed.codes.assign(6, kE);
    auto unknown = Definition(15, "a|", "");
    unknown->label = "Inconnue";
    Store(std::move(unknown), closed);
    ui->shown.clear();

    Reopen();
    EXPECT_EQ(Named("Inconnue").GetNbreModalite(), 0);
    ASSERT_EQ(ui->shown.size(), 1u);
    EXPECT_EQ(ui->shown[0].message.id, StringTable::kVariablesCalculeesDefectueuses);
    EXPECT_NE(ui->shown[0].message.arguments.at(0).find("type de variable inconnu (15)"), std::string::npos);
}

} // namespace

namespace {

// With the script language installed at start-up, a script variable gets the evaluator's values:
// AGE times two, from the records.
TEST_F(QuestionsCalculeesTest, AScriptVariableTakesTheScriptLanguagesValues) {
    auto script = Definition(CVariableCalculee::kScript, "", "??AGE?? * 2");
    CReponsesCalculees answers;
    Message error;
    ASSERT_TRUE(CCalculVariable::Calculer(*script, context, answers, error)) << StringTable::Format(error);
    EXPECT_TRUE(answers.numerique);
    EXPECT_EQ(answers.valeurs, (std::vector<double>{50, 80, 62, 120, 36, 104}));
}

} // namespace
