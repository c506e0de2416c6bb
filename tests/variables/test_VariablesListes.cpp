// The computed variables made from lists of questions and from a weighting: a superposition with
// and without cumulating, a profile of chosen modalities, a weighting's weights and the entry
// durations of a profile of questions. Each is built, saved, reopened and counted by the table
// engine, the counts compared with counts the test computes from the raw answer fields with SQL;
// then the sources change and every variable is recalculated.
#include <gtest/gtest.h>

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "SqlTestSupport.h"
#include "VariablesTestSupport.h"
#include "app/Inversion.h"
#include "app/Redressement.h"
#include "app/StringTable.h"
#include "app/VecteurPoids.h"
#include "recodes/EditionRedressement.h"
#include "recodes/ObjectifRedressement.h"
#include "tabulation/MoteurTableau.h"
#include "tabulation/Profil.h"
#include "variables/ConstructionVariable.h"
#include "variables/DefinitionTexts.h"
#include "variables/ReponsesCalculees.h"
#include "variables/SuperpositionSources.h"

using namespace variables_test;

namespace {

// Eight interviews. GOUT1 and GOUT2 share five modalities (GOUT2 two answers); SEXE splits the
// interviews four and four; order 0 of GOUT1 and SEXE holds their entry durations in seconds.
constexpr const char* kSurvey = R"(
questionnaire "Listes" language=fr
language 1036 fr "Français"
question 1 GOUT1 closed
  modality 1 fr "Un"
  modality 2 fr "Deux"
  modality 3 fr "Trois"
  modality 4 fr "Quatre"
  modality 5 fr "Cinq"
question 2 GOUT2 closed answers=2
  modality 1 fr "Un"
  modality 2 fr "Deux"
  modality 3 fr "Trois"
  modality 4 fr "Quatre"
  modality 5 fr "Cinq"
question 3 SEXE closed
  modality 1 fr "Homme"
  modality 2 fr "Femme"
records
Cle1,1;0,1;1,2;1,2;2,3;0,3;1
1,12,2,2,4,3,1
2,7,4,2,,5,2
3,5,1,3,5,4,1
4,,2,2,,2,2
5,3,,,,1,1
6,8,5,4,2,,2
7,1,4,5,,6,1
8,2,3,1,,2,2
end
)";

// The weighting's targets for Homme and Femme; with no total of its own, the scheme's weights add
// up to the eight interviews, so the men's share is 8 x 200/800 and the women's 8 x 600/800.
constexpr double kMen = 2.0;
constexpr double kWomen = 6.0;

class VariablesListesTest : public VariablesFixture {
protected:
    void SetUp() override {
        FixtureStudyTest::SetUp();
        EnregistrerQuestionsCalculees();
        OpenFixture(kSurvey, "listes");
    }

    std::string Path() const { return context.questionnairePath; }
    std::string Table() { return "\"VEL Reponse" + std::to_string(Named("GOUT1").responseTable) + "\""; }

    void Reopen() { ASSERT_TRUE(context.OuvrirEtude()) << context.GetLastError(); }

    CQuestionEtendue* Build(const PartiesVariable& parts) {
        Message error;
        CQuestionEtendue* built = CConstructionVariable::Construire(context, nullptr, parts, error);
        EXPECT_NE(built, nullptr) << StringTable::Format(error);
        return built;
    }

    static PartiesVariable Parts(const std::string& label, std::int16_t kind, const std::string& themes,
                                 const std::string& definition, int superposition = 0) {
        PartiesVariable parts;
        parts.label = label;
        parts.kind = kind;
        parts.themes = themes;
        parts.definition = definition;
        parts.superposition = superposition;
        return parts;
    }

    // Modalities 2 and 4 of both questions.
    PartiesVariable Superposition(const std::string& label, int cumulate) {
        return Parts(label, CVariableCalculee::kSuperposition, "Deux@2|Quatre@4|",
                     DefinitionTexts::EcrireQuestionsSuperposees({&Named("GOUT1"), &Named("GOUT2")}), cumulate);
    }

    // GOUT1's modalities of codes 1 and 3, GOUT2's of codes 2, 4 and 5.
    std::string ProfileOfModalities() {
        CProfil profile;
        const auto add = [&profile](CQuestionEtendue& question, std::vector<int> positions) {
            std::vector<std::unique_ptr<CModaliteEtendue>> chosen;
            for (int position : positions)
                chosen.push_back(std::make_unique<CModaliteEtendue>(*question.GetModaliteEtendue(position)));
            profile.Add(&question, chosen);
        };
        add(Named("GOUT1"), {0, 2});
        add(Named("GOUT2"), {1, 3, 4});
        return profile.ToString(context);
    }

    std::string ProfileOfQuestions() {
        CProfil profile;
        profile.Add(&Named("GOUT1"));
        profile.Add(&Named("SEXE"));
        return profile.ToString(context);
    }

    // A weighting on SEXE alone, stored: one margin, so every man weighs kMen / (the men) and
    // every woman kWomen / (the women).
    std::int32_t StoreWeighting() {
        CObjectifRedressement root;
        auto target = std::make_unique<CObjectifRedressement>(&Named("SEXE"));
        target->SetObjectif(0, 100 * kMen);
        target->SetObjectif(1, 100 * kWomen);
        root.AjouterObjectif(std::move(target));
        CRedressement scheme;
        scheme.name = "Sexe";
        scheme.definition = "0@@0~" + root.EcrireDefinition(context, false, 0);
        std::string error;
        EXPECT_TRUE(EnregistrerRedressement(scheme, context, error)) << error;
        return scheme.id;
    }

    // The unweighted count of each modality of the question, by the table engine.
    std::vector<double> TableCounts(CQuestionEtendue& question, int modalities) {
        std::vector<std::uint16_t> map;
        for (int i = 0; i < question.GetNbreModalite(); ++i)
            map.push_back(i < modalities ? static_cast<std::uint16_t>(i) : CMoteurTableau::kNotKept);
        std::vector<double> counts;
        double respondents = 0;
        double total = 0;
        std::string error;
        CMoteurTableau engine(context);
        EXPECT_TRUE(engine.CompterModalites(question, counts, respondents, total, map, 0, -1, -1, error)) << error;
        // The weighted counts of every modality, then the unweighted ones.
        const auto unweighted = counts.begin() + question.GetNbreModalite();
        return {unweighted, unweighted + modalities};
    }

    // One number from SQL over the raw fields.
    double Sql(const std::string& expression) {
        const Rows rows = Query(Path(), "SELECT " + expression + " FROM " + Table());
        return rows.empty() || rows[0].empty() ? -1 : std::stod(rows[0][0]);
    }

    // How many interviews hold the code in the given fields, or how many times it is held.
    static std::string Holding(const std::vector<std::string>& fields, int code, bool times) {
        std::string sum;
        for (const std::string& field : fields)
            sum += (sum.empty() ? "" : " + ") + std::string("(COALESCE(\"") + field + "\", -99) = " +
                   std::to_string(code) + ")";
        return times ? "SUM(" + sum + ")" : "SUM((" + sum + ") > 0)";
    }

    // The stored values of a numeric variable, in key order, straight from its response table.
    std::vector<double> StoredValues(const CQuestionEtendue& question) {
        std::vector<double> values;
        for (const auto& row : Query(Path(), "SELECT \"" + std::to_string(question.code) + ";1\" FROM \"VEL Reponse" +
                                                 std::to_string(question.responseTable) + "\" ORDER BY Cle1"))
            values.push_back(std::stod(row.at(0)));
        return values;
    }

    void ExpectSuperpositionsAgreeWithTheRawAnswers() {
        const std::vector<std::string> fields = {"1;1", "2;1", "2;2"};
        for (const auto& [name, times] : {std::pair{"Superposées", false}, std::pair{"Cumulées", true}}) {
            SCOPED_TRACE(name);
            EXPECT_EQ(TableCounts(Named(name), 2),
                      (std::vector<double>{Sql(Holding(fields, 2, times)), Sql(Holding(fields, 4, times))}));
        }
    }

    void ExpectProfileAgreesWithTheRawAnswers() {
        EXPECT_EQ(TableCounts(Named("Profil"), 5),
                  (std::vector<double>{Sql(Holding({"1;1"}, 1, false)), Sql(Holding({"1;1"}, 3, false)),
                                       Sql(Holding({"2;1", "2;2"}, 2, false)), Sql(Holding({"2;1", "2;2"}, 4, false)),
                                       Sql(Holding({"2;1", "2;2"}, 5, false))}));
    }

    void ExpectDurationsAgreeWithTheRawFields() {
        std::vector<double> sums;
        for (const auto& row : Query(Path(), "SELECT COALESCE(\"1;0\", 0) + COALESCE(\"3;0\", 0) FROM " + Table() +
                                                 " ORDER BY Cle1"))
            sums.push_back(std::stod(row.at(0)));
        EXPECT_EQ(StoredValues(Named("Durées")), sums);
    }

    // The records of "MFW Variable", made with the first variable.
    std::size_t StoredVariables() {
        if (Query(Path(), "SELECT name FROM sqlite_master WHERE name = 'MFW Variable'").empty())
            return 0;
        return Query(Path(), "SELECT * FROM \"MFW Variable\"").size();
    }
};

// The hand counts of the fixture: modality 2 is held by interviews 1, 2, 4 and 6, twice by 1 and 4
// (in both questions); modality 4 once by each of 1, 2, 6 and 7.
TEST_F(VariablesListesTest, SuperposingCountsEachInterviewOnceOrEachAnswerWithCumulating) {
    Build(Superposition("Superposées", 0));
    Build(Superposition("Cumulées", 1));
    Reopen();
    EXPECT_EQ(TableCounts(Named("Superposées"), 2), (std::vector<double>{4, 4}));
    EXPECT_EQ(TableCounts(Named("Cumulées"), 2), (std::vector<double>{6, 4}));
    EXPECT_EQ(Captions(Named("Cumulées")), (std::vector<std::string>{"Deux", "Quatre"}));
    EXPECT_EQ(Named("Cumulées").GetQuestionCalculee()->superposition, 1);
    ExpectSuperpositionsAgreeWithTheRawAnswers();
}

// Codes 0 and 1 from GOUT1's modalities 1 and 3, codes 2 to 4 from GOUT2's 2, 4 and 5.
TEST_F(VariablesListesTest, AProfileGivesOneCodePerChosenModalityEntryAfterEntry) {
    Build(Parts("Profil", CVariableCalculee::kProfil, "", ProfileOfModalities()));
    Reopen();
    EXPECT_EQ(Captions(Named("Profil")), (std::vector<std::string>{"Un", "Trois", "Deux", "Quatre", "Cinq"}));
    EXPECT_EQ(TableCounts(Named("Profil"), 5), (std::vector<double>{1, 1, 4, 2, 2}));
    ExpectProfileAgreesWithTheRawAnswers();
    // Interview 3 matches one modality of each entry.
    const Rows third = Query(Path(), "SELECT \"" + std::to_string(Named("Profil").code) + ";1\", \"" +
                                         std::to_string(Named("Profil").code) + ";2\" FROM \"VEL Reponse" +
                                         std::to_string(Named("Profil").responseTable) + "\" WHERE Cle1 = 3");
    EXPECT_EQ(third, (Rows{{"1", "5"}})); // the stored codes are the source modalities' numbers
}

TEST_F(VariablesListesTest, AWeightingVariableHoldsTheWeightsOfItsScheme) {
    const std::int32_t scheme = StoreWeighting();
    Build(Parts("Poids", CVariableCalculee::kRedressement, "", std::to_string(scheme)));
    Reopen();
    const std::vector<double> stored = StoredValues(Named("Poids"));
    CMoteurTableau engine(context);
    CVecteurPoids* weights = nullptr;
    std::string error;
    ASSERT_TRUE(engine.DonnerPoidsInterviews(0, -1, scheme, weights, error)) << error;
    ASSERT_EQ(stored.size(), 8u);
    for (int i = 0; i < 8; ++i) {
        const bool man = i % 2 == 0; // SEXE alternates from Homme
        EXPECT_NEAR(stored[static_cast<std::size_t>(i)], (man ? kMen : kWomen) / 4, 1e-9) << i;
        EXPECT_NEAR(stored[static_cast<std::size_t>(i)], weights->GetAt(i), 1e-9) << i;
    }
    engine.LibererPoids(0, -1, scheme, weights);
}

TEST_F(VariablesListesTest, DurationsAreTheSumsOfTheQuestionsEntryDurations) {
    Build(Parts("Durées", CVariableCalculee::kDureesSaisie, "", ProfileOfQuestions()));
    Reopen();
    EXPECT_EQ(StoredValues(Named("Durées")), (std::vector<double>{15, 12, 9, 2, 4, 8, 7, 4}));
    ExpectDurationsAgreeWithTheRawFields();
}

TEST_F(VariablesListesTest, EveryKindIsRecalculatedAfterItsSourcesChange) {
    Build(Superposition("Superposées", 0));
    Build(Superposition("Cumulées", 1));
    Build(Parts("Profil", CVariableCalculee::kProfil, "", ProfileOfModalities()));
    Build(Parts("Durées", CVariableCalculee::kDureesSaisie, "", ProfileOfQuestions()));
    const std::int32_t scheme = StoreWeighting();
    Build(Parts("Poids", CVariableCalculee::kRedressement, "", std::to_string(scheme)));

    // Interview 5 now answers 2 and 4 everywhere and takes longer; interview 1 becomes a woman.
    Execute(Path(), "UPDATE " + Table() +
                        " SET \"1;1\" = 2, \"2;1\" = 4, \"2;2\" = 2, \"1;0\" = 30 WHERE Cle1 = 5; UPDATE " + Table() +
                        " SET \"3;1\" = 2 WHERE Cle1 = 1");
    Reopen();
    EXPECT_TRUE(CConstructionVariable::RecalculerTout(context).empty());
    Reopen();
    ExpectSuperpositionsAgreeWithTheRawAnswers();
    EXPECT_EQ(TableCounts(Named("Cumulées"), 2), (std::vector<double>{8, 5}));
    ExpectProfileAgreesWithTheRawAnswers();
    ExpectDurationsAgreeWithTheRawFields();
    const std::vector<double> weights = StoredValues(Named("Poids"));
    EXPECT_NEAR(weights[0], kWomen / 5, 1e-9); // five women now: 1.2
    EXPECT_NEAR(weights[2], kMen / 3, 1e-9);   // three men: 0.666...
}

// Adding questions as the superposition panel does: a question of another number of modalities is
// asked about first, one already there stops the addition; the texts then build the variable.
TEST_F(VariablesListesTest, AddingQuestionsAsksAboutOtherModalityCountsAndRefusesRepeats) {
    struct Case {
        const char* what;
        std::vector<const char*> chosen;
        std::vector<bool> replies;
        std::vector<int> asked, shown;
        std::vector<const char*> questions;
        int modalities;
    };
    const std::vector<Case> cases = {
        // GOUT1 and GOUT2 hold their five modalities and "Non interrogé" (interview 5), SEXE two.
        {"two questions of six modalities", {"GOUT1", "GOUT2"}, {}, {}, {}, {"GOUT1", "GOUT2"}, 6},
        {"another count, refused", {"GOUT1", "SEXE", "GOUT2"}, {false}, {StringTable::kNombreModalitesDifferent}, {},
         {"GOUT1", "GOUT2"}, 6},
        {"another count, accepted: no new number", {"GOUT1", "SEXE"}, {true}, {StringTable::kNombreModalitesDifferent},
         {}, {"GOUT1", "SEXE"}, 6},
        {"a smaller question first: the numbers grow", {"SEXE", "GOUT1"}, {true},
         {StringTable::kNombreModalitesDifferent}, {}, {"SEXE", "GOUT1"}, 6},
        {"a repeat stops the addition", {"GOUT1", "GOUT1", "GOUT2"}, {}, {}, {StringTable::kQuestionDejaPresente},
         {"GOUT1"}, 6},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        ui->shown.clear();
        ui->asked.clear();
        ui->ScriptReplies(c.replies);
        std::vector<CQuestionEtendue*> chosen;
        for (const char* name : c.chosen)
            chosen.push_back(&Named(name));
        SuperpositionSources sources;
        sources.Ajouter(chosen, *ui);
        std::vector<int> asked, shown;
        for (const Message& m : ui->asked)
            asked.push_back(m.id);
        for (const auto& m : ui->shown)
            shown.push_back(m.message.id);
        EXPECT_EQ(asked, c.asked);
        EXPECT_EQ(shown, c.shown);
        std::vector<std::string> names;
        for (const CQuestionEtendue* question : sources.questions)
            names.push_back(question->name);
        EXPECT_EQ(names, std::vector<std::string>(c.questions.begin(), c.questions.end()));
        ASSERT_EQ(static_cast<int>(sources.modalities.size()), c.modalities);
        EXPECT_EQ(sources.modalities[0].label, c.chosen[0] == std::string("SEXE") ? "Homme" : "Un");
    }

    // The panel keeps modalities 2 and 4: the variable is the one of the stored texts.
    SuperpositionSources sources;
    sources.Ajouter({&Named("GOUT1"), &Named("GOUT2")}, *ui);
    sources.modalities = {sources.modalities[1], sources.modalities[3]};
    Build(Parts("Superposées", CVariableCalculee::kSuperposition, sources.Libelles(), sources.Definition()));
    Reopen();
    const PartiesVariable stored = CConstructionVariable::PartiesDe(Named("Superposées"));
    const SuperpositionSources read = SuperpositionSources::Lire(stored.themes, stored.definition, context);
    EXPECT_EQ(read.Libelles(), "Deux@2|Quatre@4|");
    EXPECT_EQ(read.questions, (std::vector<CQuestionEtendue*>{&Named("GOUT1"), &Named("GOUT2")}));
    EXPECT_EQ(TableCounts(Named("Superposées"), 2), (std::vector<double>{4, 4}));
}

TEST_F(VariablesListesTest, ListsThatCannotBeComputedBuildNothing) {
    CProfil empty;
    const std::string gout1 = DefinitionTexts::EcrireQuestionsSuperposees({&Named("GOUT1")});
    struct Case {
        const char* what;
        PartiesVariable parts;
        int expected; // 0: the reason is a text of its own
    };
    const std::vector<Case> cases = {
        {"an empty profile of modalities", Parts("P", CVariableCalculee::kProfil, "", empty.ToString(context)),
         StringTable::kSelectionnerUneQuestion},
        {"an empty profile of questions", Parts("D", CVariableCalculee::kDureesSaisie, "", ""),
         StringTable::kSelectionnerUneQuestion},
        {"no weighting chosen", Parts("W", CVariableCalculee::kRedressement, "", "-1"),
         StringTable::kSelectionnerRedressement},
        {"a weighting the survey does not have", Parts("W", CVariableCalculee::kRedressement, "", "77"), 0},
        {"a superposition without question", Parts("S", CVariableCalculee::kSuperposition, "Deux@2|", ""),
         StringTable::kAucuneQuestionSelectionnee},
        {"a superposition without modality", Parts("S", CVariableCalculee::kSuperposition, "", gout1),
         StringTable::kAucuneModaliteDefinie},
        {"a superposition of a question gone", Parts("S", CVariableCalculee::kSuperposition, "Deux@2|", "99@@0|"),
         StringTable::kVariableQuestionAbsente},
        {"a superposition item that does not read", Parts("S", CVariableCalculee::kSuperposition, "Deux|", gout1),
         StringTable::kVariableElementIllisible},
    };
    const std::size_t before = StoredVariables();
    const std::int32_t counter = context.newQuestionCode;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        Message error;
        EXPECT_EQ(CConstructionVariable::Construire(context, nullptr, c.parts, error), nullptr);
        if (c.expected != 0) {
            EXPECT_EQ(error.id, c.expected);
        }
        EXPECT_FALSE(StringTable::Format(error).empty());
    }
    EXPECT_EQ(StoredVariables(), before);
    EXPECT_EQ(context.newQuestionCode, counter);
    EXPECT_EQ(context.TrouverQuestionParNom("S"), nullptr);
}

// A stored definition damaged outside the program: the opening warns, and the superposition's
// modalities stop at the item that cannot be read instead of moving the next one onto its place.
TEST_F(VariablesListesTest, DamagedStoredListsAreReportedAtOpeningWithoutShiftedModalities) {
    CQuestionEtendue* superposed = Build(Superposition("Superposées", 0));
    CQuestionEtendue* profile = Build(Parts("Profil", CVariableCalculee::kProfil, "", ProfileOfModalities()));
    ASSERT_TRUE(superposed != nullptr && profile != nullptr);
    const std::string superposedCode = std::to_string(superposed->GetQuestionCalculee()->code);
    const std::string profileCode = std::to_string(profile->GetQuestionCalculee()->code);
    Execute(Path(), "UPDATE \"MFW Variable\" SET Themes = 'Deux|Quatre@4|', Expression = Expression || '98@@0|' "
                    "WHERE CodeVariable = " + superposedCode + "; UPDATE \"MFW Variable\" SET Expression = "
                    "'97@@0@1:0:0:0:0;|' || Expression WHERE CodeVariable = " + profileCode);
    ui->shown.clear();
    Reopen();
    EXPECT_TRUE(Codes(Named("Superposées")).empty());
    EXPECT_EQ(Codes(Named("Profil")).size(), 5u);
    ASSERT_FALSE(ui->ShownTexts().empty());
    const std::string shown = ui->ShownTexts().front();
    EXPECT_NE(shown.find("'Superposées' : l'élément 'Deux'"), std::string::npos) << shown;
    EXPECT_NE(shown.find("98"), std::string::npos) << shown;
    EXPECT_NE(shown.find("'Profil'"), std::string::npos) << shown;
}

// Changing the classes of a classification only renames and reorders them: the stored answers
// stay, read through the new order.
TEST_F(VariablesListesTest, ChangingAClassificationRenamesAndReordersItsClassesWithoutComputing) {
    PartiesVariable classes = Parts("Classes", CVariableCalculee::kMultivarie, "Petits|Grands|", "1|2|");
    CReponsesCalculees answers;
    answers.nombreReponses = 1;
    answers.codes = {0, 1, 1, 0, 0, 1, 1, 1};
    Message error;
    CQuestionEtendue* built = CConstructionVariable::ConstruireAvecReponses(context, classes, answers, error);
    ASSERT_NE(built, nullptr) << StringTable::Format(error);
    EXPECT_EQ(TableCounts(*built, 2), (std::vector<double>{3, 5}));

    PartiesVariable changed = Parts("Tailles", CVariableCalculee::kMultivarie, "Les grands|Les petits|", "2|1|");
    ASSERT_EQ(CConstructionVariable::Construire(context, built, changed, error), built) << StringTable::Format(error);
    Reopen();
    EXPECT_EQ(Captions(Named("Tailles")), (std::vector<std::string>{"Les grands", "Les petits", "Non interrogé"}));
    EXPECT_EQ(TableCounts(Named("Tailles"), 2), (std::vector<double>{5, 3}));

    // No class left, or a new variable of that kind: refused, nothing changed.
    EXPECT_EQ(CConstructionVariable::Construire(context, &Named("Tailles"),
                                                Parts("Vide", CVariableCalculee::kMultivarie, "", ""), error),
              nullptr);
    EXPECT_EQ(error.id, StringTable::kAucuneModaliteDefinie);
    EXPECT_EQ(CConstructionVariable::Construire(context, nullptr, changed, error), nullptr);
    Reopen();
    EXPECT_NE(context.TrouverQuestionParNom("Tailles"), nullptr);
    EXPECT_EQ(context.TrouverQuestionParNom("Vide"), nullptr);
}

TEST_F(VariablesListesTest, ChangingFactorCoordinatesTakesTheLabelAlone) {
    PartiesVariable coordinates = Parts("Axe 1", CVariableCalculee::kNumeriqueMultivarie, "", "");
    CReponsesCalculees answers;
    answers.numerique = true;
    answers.nombreReponses = 1;
    answers.valeurs = {0.5, -1, 2, 0, 1, 3, -2, 1.5};
    Message error;
    CQuestionEtendue* built = CConstructionVariable::ConstruireAvecReponses(context, coordinates, answers, error);
    ASSERT_NE(built, nullptr) << StringTable::Format(error);
    PartiesVariable renamed = Parts("Premier axe", CVariableCalculee::kNumeriqueMultivarie, "ignoré|", "ignoré");
    ASSERT_EQ(CConstructionVariable::Construire(context, built, renamed, error), built) << StringTable::Format(error);
    Reopen();
    EXPECT_EQ(StoredValues(Named("Premier axe")), answers.valeurs);
    EXPECT_TRUE(Named("Premier axe").GetQuestionCalculee()->themes.empty());
}

// A profile variable whose answer fields cannot be made (an indexed field of another type stands
// in the way) keeps its answers in its inverted file while those are in use; otherwise nothing is
// made.
TEST_F(VariablesListesTest, AProfileWithoutAnswerFieldsLivesInTheInvertedFilesOnly) {
    const std::string field = std::to_string(-(context.newQuestionCode + 1)) + ";1";
    Execute(Path(), "ALTER TABLE " + Table() + " ADD COLUMN \"" + field + "\" TEXT; CREATE INDEX Bloque ON " +
                        Table() + " (\"" + field + "\")");
    Reopen();
    const std::size_t before = StoredVariables();
    Message error;
    EXPECT_EQ(CConstructionVariable::Construire(context, nullptr,
                                                Parts("Profil", CVariableCalculee::kProfil, "", ProfileOfModalities()),
                                                error),
              nullptr);
    EXPECT_EQ(StoredVariables(), before);

    CInversion inversion(context);
    ASSERT_EQ(inversion.InverserBase(), CInversion::Issue::Done);
    ASSERT_TRUE(context.invertedFilesValid);
    ui->shown.clear();
    ASSERT_NE(Build(Parts("Profil", CVariableCalculee::kProfil, "", ProfileOfModalities())), nullptr);
    ASSERT_FALSE(ui->ShownTexts().empty());
    EXPECT_EQ(ui->ShownTexts().front(), StringTable::Text(StringTable::kChampsNonCrees));
    EXPECT_EQ(StoredVariables(), before + 1);
    Reopen();
    ASSERT_TRUE(context.invertedFilesValid);
    ExpectProfileAgreesWithTheRawAnswers();
}

} // namespace
