// Building computed variables into the questionnaire: the answers of each kind the core computes,
// read back from the response tables with SQL; the refused labels; a build that fails half-way
// leaving the file as it was; recalculating every variable after answers changed.
#include <gtest/gtest.h>

#include <sqlite3.h>
#include <unistd.h>

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>
#include <sstream>
#include <string>
#include <vector>

#include "SqlTestSupport.h"
#include "VariablesTestSupport.h"
#include "app/ChampEtude.h"
#include "app/StringTable.h"
#include "recodes/StockageChampsEtude.h"
#include "variables/ConstructionVariable.h"
#include "variables/VariableCalculee.h"
#include "variables/VariableGroupes.h"

using namespace variables_test;

namespace {

// Six interviews. Interviewers 7 Durand Anne and 9 Martin Paul are known, 12 is not; the fourth
// interview has none. Languages 1036 and 1033; completion true, false, null.
constexpr const char* kSurveyWithInfos = R"(
questionnaire "Construction" language=fr
language 1036 fr "Français"
interviewer 7 "Durand" "Anne"
interviewer 9 "Martin" "Paul"
question 1 SEXE closed
  modality 1 fr "Homme"
  modality 2 fr "Femme"
question 2 AGE numeric
question 3 REGION closed
  modality 1 fr "Nord"
  modality 2 fr "Sud"
question 4 AVIS open
records
Cle1,CodeEnqueteur,LanguageId,Completed,1;1,2;1,3;1,4;1
1,7,1036,true,1,25,1,"bien"
2,9,1036,false,2,40,2,
3,7,1033,,2,31,1,
4,,1036,true,1,60,2,
5,12,1033,true,-2,18,1,
6,9,1036,true,2,52,2,
end
)";

// A hash of the file's bytes.
std::size_t Bytes(const std::string& path) {
    std::ifstream file(path, std::ios::binary);
    return std::hash<std::string>{}(std::string(std::istreambuf_iterator<char>(file), {}));
}

class ConstructionVariableTest : public VariablesFixture {
protected:
    void SetUp() override {
        FixtureStudyTest::SetUp();
        EnregistrerQuestionsCalculees();
        OpenFixture(kSurveyWithInfos, "construction");
    }

    std::string Path() const { return context.questionnairePath; }

    CQuestionEtendue* Build(const PartiesVariable& parts) {
        Message error;
        CQuestionEtendue* built = CConstructionVariable::Construire(context, nullptr, parts, error);
        EXPECT_NE(built, nullptr) << StringTable::Format(error);
        return built;
    }

    static PartiesVariable Parts(const std::string& label, std::int16_t kind, const std::string& definition,
                                 const std::string& themes = {}) {
        PartiesVariable parts;
        parts.label = label;
        parts.kind = kind;
        parts.definition = definition;
        parts.themes = themes;
        return parts;
    }

    // The answers stored for the question, interview after interview in key order, answer
    // fields side by side ("" for Null), straight from its response table.
    Rows Stored(const CQuestionEtendue& question, int answers) {
        std::string fields;
        for (int order = 1; order <= answers; ++order)
            fields += (order > 1 ? ", " : "") + std::string("\"") + std::to_string(question.code) + ";" +
                      std::to_string(order) + "\"";
        return Query(Path(), "SELECT " + fields + " FROM \"VEL Reponse" + std::to_string(question.responseTable) +
                                 "\" ORDER BY Cle1");
    }

    static Rows Column(std::vector<std::string> cells) {
        Rows rows;
        for (auto& cell : cells)
            rows.push_back({std::move(cell)});
        return rows;
    }

    std::int32_t StoreField(const std::string& name, const std::string& formula) {
        CChampEtude field;
        field.name = name;
        field.complexCondition = true;
        field.complexConditionText = formula;
        std::string error;
        EXPECT_TRUE(EnregistrerChampEtude(field, context, error)) << error;
        return field.id;
    }
};

// ---- Labels ----

TEST_F(ConstructionVariableTest, LabelsAreRefusedWhenEmptyTakenOrHoldingTheSeparator) {
    CQuestionEtendue* variable = Build(Parts("Double", CVariableCalculee::kScript, "??AGE?? * 2"));
    ASSERT_NE(variable, nullptr);
    struct Case {
        const char* label;
        const CQuestionEtendue* edited;
        int expected;
    };
    const Case cases[] = {
        {"", nullptr, StringTable::kEntrerUnLibelle},
        {"SEXE", nullptr, StringTable::kLibelleDejaUtilise},
        {"Double", nullptr, StringTable::kLibelleDejaUtilise},
        {"Double", variable, 0},
        {"Nord|Sud", nullptr, StringTable::kLibelleSansBarre},
        {"Nouvelle", nullptr, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.label);
        EXPECT_EQ(CConstructionVariable::VerifierLibelle(context, c.label, c.edited).id, c.expected);
    }
}

// ---- The answers of each kind, read back from the file ----

TEST_F(ConstructionVariableTest, AScriptVariableStoresItsValuesItsDefinitionAndJoinsTheSurvey) {
    const int questionsBefore = context.DonnerNbreQuestions();
    CQuestionEtendue* variable = Build(Parts("Double", CVariableCalculee::kScript, "??AGE?? * 2"));
    ASSERT_NE(variable, nullptr);
    EXPECT_EQ(variable->code, -1);
    // The group "Questions calculées" and the question.
    EXPECT_EQ(context.DonnerNbreQuestions(), questionsBefore + 2);
    EXPECT_EQ(context.TrouverQuestionParNom("Double"), variable);
    EXPECT_EQ(Stored(*variable, 1), Column({"50.0", "80.0", "62.0", "120.0", "36.0", "104.0"}));
    EXPECT_EQ(Query(Path(), "SELECT CodeVariable, Libelle, TypeVariable, Expression, NbMaxReponse FROM \"MFW Variable\""),
              (Rows{{"1", "Double", "3", "??AGE?? * 2", "1"}}));
}

TEST_F(ConstructionVariableTest, InterviewInformationGivesTheInterviewersLanguagesAndCompletion) {
    struct Case {
        const char* label;
        const char* information;
        Rows answers;
        const char* captions;
    };
    // By hand from the records: interviewers in order of first appearance, unknown and missing
    // ones not asked (-2); a null completion is "Non".
    const Case cases[] = {
        {"Enquêteur", "0", Column({"1", "2", "1", "-2", "-2", "2"}), "Durand Anne|Martin Paul|"},
        {"Langue", "6", Column({"1", "1", "2", "1", "2", "1"}), "Français|Anglais|"},
        {"Complet", "7", Column({"1", "2", "2", "1", "1", "1"}), "Oui|Non|"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.label);
        CQuestionEtendue* variable = Build(Parts(c.label, CVariableCalculee::kInfosGenerales, c.information));
        ASSERT_NE(variable, nullptr);
        EXPECT_EQ(Stored(*variable, 1), c.answers);
        EXPECT_EQ(variable->GetQuestionCalculee()->themes, c.captions);
    }
}

TEST_F(ConstructionVariableTest, StudyFieldsGiveOneModalityEachAndTheRestGoesToTheOtherModality) {
    const std::int32_t young = StoreField("Jeunes", "??AGE?? < 35");
    const std::int32_t north = StoreField("Nord", "??REGION?? = 1");
    // "Jeunes", then the group "Nord ou femmes" (only Nord here), then the catch-all.
    PartiesVariable parts = Parts("Cibles", CVariableCalculee::kChampsEtude,
                                  std::to_string(young) + "|0@" + std::to_string(north) + "@|0@|",
                                  "Jeunes|Nord|Autre|");
    CQuestionEtendue* variable = Build(parts);
    ASSERT_NE(variable, nullptr);
    // Ages 25 40 31 60 18 52, regions N S N S N S: young {1,3,5}, north {1,3,5}; the others
    // (2, 4, 6) go to "Autre" (code 3).
    EXPECT_EQ(Stored(*variable, 2), (Rows{{"1", "2"}, {"3", "-2"}, {"1", "2"}, {"3", "-2"}, {"1", "2"}, {"3", "-2"}}));
}

TEST_F(ConstructionVariableTest, AFilteredQuestionKeepsTheAnswersOfTheFieldOnly) {
    const std::int32_t women = StoreField("Femmes", "??SEXE?? = 2");
    PartiesVariable closed = Parts("Région des femmes", CVariableCalculee::kQuestionFiltree, std::to_string(women));
    closed.source1 = &Named("REGION");
    CQuestionEtendue* region = Build(closed);
    ASSERT_NE(region, nullptr);
    EXPECT_EQ(Stored(*region, 1), Column({"-2", "2", "1", "-2", "-2", "2"}));

    PartiesVariable numeric = Parts("Âge des femmes", CVariableCalculee::kQuestionFiltree, std::to_string(women));
    numeric.source1 = &Named("AGE");
    CQuestionEtendue* age = Build(numeric);
    ASSERT_NE(age, nullptr);
    EXPECT_EQ(Stored(*age, 1), Column({"-888888.88", "40.0", "31.0", "-888888.88", "-888888.88", "52.0"}));
}

// The groups of a typology as a closed question: codes "1|2|3|" and captions "Groupe 1|Groupe 2|
// Groupe 3|"; each row's interview answers its group, the interviews outside the run nothing;
// a row naming no interview of the survey, or no group of the run, sets nothing. Recalculating
// keeps the answers: they come from the run.
TEST_F(ConstructionVariableTest, TheGroupsOfATypologyBecomeAClosedQuestion) {
    const std::vector<std::int32_t> interviews = {0, 2, 3, 5, 9, 1};
    const std::vector<double> rows = {1, 12.5, 3, 0, 2, 7, 1, 3, 2, 0, 4, 0};
    Message error;
    CQuestionEtendue* groups = CVariableGroupes::Generer(context, "Groupes", 3, interviews, rows, error);
    ASSERT_NE(groups, nullptr) << StringTable::Format(error);
    const auto* definition = dynamic_cast<const CVariableCalculee*>(groups->GetQuestionCalculee());
    ASSERT_NE(definition, nullptr);
    EXPECT_EQ(definition->kind, CVariableCalculee::kMultivarie);
    EXPECT_EQ(definition->definition, "1|2|3|");
    EXPECT_EQ(definition->themes, "Groupe 1|Groupe 2|Groupe 3|");
    EXPECT_EQ(groups->GetNbreModalite(), 4) << "the three groups and the generated not-asked modality";
    EXPECT_EQ(Stored(*groups, 1), Column({"1", "-2", "3", "2", "-2", "1"}));
    EXPECT_TRUE(CConstructionVariable::Recalculer(context, *groups, error));
    EXPECT_EQ(Stored(*groups, 1), Column({"1", "-2", "3", "2", "-2", "1"}));
}

// ---- Bad input: nothing is built, the file is unchanged ----

TEST_F(ConstructionVariableTest, SourcesThatCannotBeComputedBuildNothing) {
    const std::int32_t women = StoreField("Femmes", "??SEXE?? = 2");
    PartiesVariable selfCrossing = Parts("Sexe par sexe", CVariableCalculee::kCroisement, "0;0@|", "Homme|");
    selfCrossing.source1 = &Named("SEXE");
    selfCrossing.source2 = &Named("SEXE");
    PartiesVariable goneField = Parts("Âge filtré", CVariableCalculee::kQuestionFiltree, "4242");
    goneField.source1 = &Named("AGE");
    PartiesVariable open = Parts("Avis filtré", CVariableCalculee::kQuestionFiltree, std::to_string(women));
    open.source1 = &Named("AVIS");
    const PartiesVariable badScript = Parts("Faux", CVariableCalculee::kScript, "??INCONNUE?? + 1");
    const PartiesVariable unknownInformation = Parts("Info", CVariableCalculee::kInfosGenerales, "5");

    const std::size_t before = Bytes(Path());
    const int questions = context.DonnerNbreQuestions();
    const std::int32_t counter = context.newQuestionCode;
    for (const PartiesVariable* parts :
         std::vector<const PartiesVariable*>{&selfCrossing, &goneField, &open, &badScript, &unknownInformation}) {
        SCOPED_TRACE(parts->label);
        Message error;
        EXPECT_EQ(CConstructionVariable::Construire(context, nullptr, *parts, error), nullptr);
        EXPECT_FALSE(StringTable::Format(error).empty());
    }
    EXPECT_EQ(Bytes(Path()), before);
    EXPECT_EQ(context.DonnerNbreQuestions(), questions);
    EXPECT_EQ(context.newQuestionCode, counter);
}

// The definition is saved after the answers are written: a save that fails there must take the
// fields and the answers back with it.
TEST_F(ConstructionVariableTest, AFailureAfterTheAnswersAreWrittenLeavesNoFieldRecordNorQuestion) {
    ASSERT_NE(Build(Parts("Premier", CVariableCalculee::kScript, "??AGE?? + 1")), nullptr);
    Execute(Path(), "CREATE TRIGGER refus BEFORE INSERT ON \"MFW Variable\" "
                    "BEGIN SELECT RAISE(ABORT, 'enregistrement refusé'); END");
    const std::size_t before = Bytes(Path());
    const Rows schema = Query(Path(), "SELECT sql FROM sqlite_master ORDER BY name");
    const int questions = context.DonnerNbreQuestions();
    const std::int32_t counter = context.newQuestionCode;

    Message error;
    EXPECT_EQ(CConstructionVariable::Construire(context, nullptr, Parts("Second", CVariableCalculee::kScript, "??AGE?? + 2"),
                                                error),
              nullptr);
    EXPECT_NE(StringTable::Format(error).find("enregistrement refusé"), std::string::npos) << StringTable::Format(error);
    EXPECT_EQ(Query(Path(), "SELECT sql FROM sqlite_master ORDER BY name"), schema);
    EXPECT_EQ(Bytes(Path()), before);
    EXPECT_EQ(context.DonnerNbreQuestions(), questions);
    EXPECT_EQ(context.newQuestionCode, counter);
    EXPECT_EQ(context.TrouverQuestionParNom("Second"), nullptr);
}

// Root writes any file, so the build runs in a child process that has given root up.
TEST_F(ConstructionVariableTest, AReadOnlyQuestionnaireIsLeftAsItWas) {
    const std::size_t before = Bytes(Path());
    std::filesystem::permissions(folder, std::filesystem::perms(0755));
    std::filesystem::permissions(Path(), std::filesystem::perms(0444));
    EXPECT_EXIT(
        {
            constexpr uid_t nobody = 65534;
            if (geteuid() == 0 && (setgid(nobody) != 0 || setuid(nobody) != 0))
                _exit(2);
            Message error;
            CQuestionEtendue* built = CConstructionVariable::Construire(
                context, nullptr, Parts("Double", CVariableCalculee::kScript, "??AGE?? * 2"), error);
            const bool refused = built == nullptr && context.TrouverQuestionParNom("Double") == nullptr;
            std::fprintf(stderr, "%s\n", StringTable::Format(error).c_str());
            _exit(refused ? 0 : 1);
        },
        ::testing::ExitedWithCode(0), "est en lecture seule : il ne peut pas être modifié");
    std::filesystem::permissions(Path(), std::filesystem::perms(0644));
    EXPECT_EQ(Bytes(Path()), before);
}

// ---- Changing and recalculating ----

TEST_F(ConstructionVariableTest, AChangedVariableKeepsItsCodeAndTableAndTakesItsNewAnswers) {
    CQuestionEtendue* variable = Build(Parts("Double", CVariableCalculee::kScript, "??AGE?? * 2"));
    ASSERT_NE(variable, nullptr);
    const std::int32_t code = variable->code;
    const int table = variable->responseTable;
    Message error;
    CQuestionEtendue* changed = CConstructionVariable::Construire(
        context, variable, Parts("Triple", CVariableCalculee::kScript, "??AGE?? * 3"), error);
    ASSERT_EQ(changed, variable) << StringTable::Format(error);
    EXPECT_EQ(variable->code, code);
    EXPECT_EQ(variable->responseTable, table);
    EXPECT_EQ(variable->name, "Triple");
    EXPECT_EQ(Stored(*variable, 1), Column({"75.0", "120.0", "93.0", "180.0", "54.0", "156.0"}));
    EXPECT_EQ(Query(Path(), "SELECT CodeVariable, Libelle, Expression FROM \"MFW Variable\""),
              (Rows{{"1", "Triple", "??AGE?? * 3"}}));
}

TEST_F(ConstructionVariableTest, RecalculatingChangesTheVariablesWhoseSourcesChangedAndReportsTheOneThatFails) {
    CQuestionEtendue* older = Build(Parts("Plus un", CVariableCalculee::kScript, "??AGE?? + 1"));
    CQuestionEtendue* regions = Build(Parts("Région", CVariableCalculee::kScript, "??REGION?? + 0"));
    PartiesVariable crossing = Parts("Sexe et région", CVariableCalculee::kCroisement, "0;0@|1;1@|",
                                     "Homme du nord|Femme du sud|");
    crossing.source1 = &Named("SEXE");
    crossing.source2 = &Named("REGION");
    CQuestionEtendue* crossed = Build(crossing);
    CQuestionEtendue* language = Build(Parts("Langue", CVariableCalculee::kInfosGenerales, "6"));
    ASSERT_TRUE(older && regions && crossed && language);
    const Rows crossedBefore = Stored(*crossed, 1);
    const Rows languageBefore = Stored(*language, 1);
    const Rows regionsBefore = Stored(*regions, 1);

    // The first interview grows older; REGION can no longer be named, so the script naming it
    // fails and keeps its answers.
    Execute(Path(), "UPDATE \"VEL Reponse1\" SET \"2;1\" = 30 WHERE Cle1 = 1");
    context.OublierDonneesQuestion(Named("AGE"));
    Named("REGION").name = "ZONE";

    const std::vector<CConstructionVariable::Echec> failures = CConstructionVariable::RecalculerTout(context);
    ASSERT_EQ(failures.size(), 1u);
    EXPECT_EQ(failures.front().question, regions);
    EXPECT_EQ(Stored(*older, 1), Column({"31.0", "41.0", "32.0", "61.0", "19.0", "53.0"}));
    EXPECT_EQ(Stored(*crossed, 1), crossedBefore);
    EXPECT_EQ(Stored(*language, 1), languageBefore);
    EXPECT_EQ(Stored(*regions, 1), regionsBefore);
    EXPECT_EQ(regions->GetQuestionCalculee()->definition, "??REGION?? + 0");
}

// ---- The copy over a loop ----

TEST_F(ConstructionVariableTest, ACrossingOfQuestionsOutsideAnyLoopIsNotCopied) {
    PartiesVariable crossing = Parts("Sexe et région", CVariableCalculee::kCroisement, "0;0@|", "Homme du nord|");
    crossing.source1 = &Named("SEXE");
    crossing.source2 = &Named("REGION");
    const std::size_t before = Bytes(Path());
    const int questions = context.DonnerNbreQuestions();
    int built = -1;
    Message error;
    EXPECT_FALSE(CConstructionVariable::CopierSurBoucle(context, crossing, built, error));
    EXPECT_EQ(error.id, StringTable::kPasDansUneBoucle);
    EXPECT_EQ(built, 0);
    EXPECT_EQ(context.DonnerNbreQuestions(), questions);
    EXPECT_EQ(Bytes(Path()), before);
}


// Four interviews; the products loop is expanded into NOTE (Pain) and NOTE (Lait) at the
// interview level. The fourth interview gave no Pain, the third no Lait.
constexpr const char* kSurveyWithLoop = R"(
questionnaire "Produits" language=fr
language 1036 fr "Français"
question 1 SEXE closed
  modality 1 fr "Homme"
  modality 2 fr "Femme"
question 2 AGE numeric
loop 600 PRODUITS expand
  modality 1 fr "Pain"
  modality 2 fr "Lait"
  question 61 NOTE closed
    modality 1 fr "Bien"
    modality 2 fr "Mal"
  question 62 PRIX numeric
end
records
Cle1,1;1,2;1
1,1,30
2,2,41
3,1,52
4,2,63
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

class CopieBoucleTest : public ConstructionVariableTest {
protected:
    void SetUp() override {
        FixtureStudyTest::SetUp();
        EnregistrerQuestionsCalculees();
        OpenFixture(kSurveyWithLoop, "boucle");
    }
};

// "Homme x Bien" and "Femme x Mal" copied over the products, by hand from the records: with Pain
// interviews 1 and 3 are men who liked it, 2 a woman who did not, 4 has no Pain; with Lait only
// the fourth interview, a woman who did not like it, holds a pair. The label "Notes (1)" is taken
// already, so the copies are numbered on from 2.
TEST_F(CopieBoucleTest, ACrossingIsCopiedOncePerIterationUnderLabelsNotInUse) {
    ASSERT_NE(Build(Parts("Notes (1)", CVariableCalculee::kScript, "??AGE?? + 0")), nullptr);
    CQuestionEtendue* pain = context.TrouverQuestionParNom("NOTE (Pain)");
    ASSERT_NE(pain, nullptr);
    PartiesVariable crossing =
        Parts("Notes", CVariableCalculee::kCroisement, "0;0@|1;1@|", "Homme satisfait|Femme déçue|");
    crossing.source1 = &Named("SEXE");
    crossing.source2 = pain;
    const int questions = context.DonnerNbreQuestions();
    int built = 0;
    Message error;
    ASSERT_TRUE(CConstructionVariable::CopierSurBoucle(context, crossing, built, error)) << StringTable::Format(error);
    EXPECT_EQ(built, 2);
    EXPECT_EQ(context.DonnerNbreQuestions(), questions + 2);
    struct Case {
        const char* label;
        const char* iteration;
        Rows stored;
    };
    const Case cases[] = {{"Notes (2)", "NOTE (Pain)", Column({"1", "2", "1", "-2"})},
                          {"Notes (3)", "NOTE (Lait)", Column({"-2", "-2", "-2", "2"})}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.label);
        CQuestionEtendue* copy = context.TrouverQuestionParNom(c.label);
        ASSERT_NE(copy, nullptr);
        const CQuestionCalculee* definition = copy->GetQuestionCalculee();
        ASSERT_NE(definition, nullptr);
        EXPECT_EQ(definition->source1, &Named("SEXE"));
        EXPECT_EQ(definition->source2, context.TrouverQuestionParNom(c.iteration));
        EXPECT_EQ(Stored(*copy, 1), c.stored);
        EXPECT_EQ(Query(Path(), "SELECT Libelle FROM \"MFW Variable\" WHERE Libelle = '" + std::string(c.label) + "'"),
                  (Rows{{c.label}}));
    }
}

} // namespace
