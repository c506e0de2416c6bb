#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "support/QuestionBuilder.h"
#include "LoaderTestSupport.h"
#include "SurveyTestSupport.h"
#include "app/QuestionCalculee.h"
#include "app/QuestionnaireLoader.h"
#include "app/Recodage.h"

using namespace survey_test;

namespace {

constexpr std::int32_t kFrench = 1036;
constexpr std::int32_t kEnglish = 1033;

std::vector<std::int32_t> Codes(const CQuestionEtendue& question) {
    std::vector<std::int32_t> codes;
    question.DonnerCodeModalites(codes);
    return codes;
}

std::vector<std::string> Names(const CEnquete& survey) {
    std::vector<std::string> names;
    for (const auto& question : survey.questions)
        names.push_back(question->name);
    return names;
}

bool Load(CQuestionnaireSource& source, CEnquete& survey) {
    CQuestionnaireLoader loader(source, survey);
    return loader.Charger(survey.languages, survey.questions, survey.levels, survey.versions, survey.questionClasses,
                          survey.questionnaireLanguage, survey.fileVersion);
}

// ---- Fixtures read through the structure layer ---------------------------------------------------

class LoaderFileTest : public ::testing::Test {
protected:
    // Loads the questionnaire described by the body (languages French and English declared).
    bool LoadFixture(const std::string& body, const std::string& header = "questionnaire \"Q\" language=fr\n"
                                                                             "language 1036 fr \"Français\"\n"
                                                                             "language 1033 en \"English\"\n") {
        const std::string path = folder.Sub("q.qes");
        WriteFixtureText(header + body, folder.Path(), path);
        FileSource source(path);
        return Load(source, survey);
    }

    const CQuestionEtendue& Question(const std::string& name) const {
        const CQuestionEtendue* found = survey.TrouverQuestionParNom(name);
        EXPECT_NE(found, nullptr) << name;
        return found != nullptr ? *found : *survey.questions.front();
    }

    TemporaryFolder folder;
    TestSurvey survey;
};

TEST_F(LoaderFileTest, ClosedQuestionsGetTheMissingAnswerModalities) {
    ASSERT_TRUE(LoadFixture(R"(
question 1 WITHFLAG closed noanswer
  modality 1 fr "Un"
  modality 2 fr "Deux"
question 2 WITHOUT closed
  modality 1 fr "Un"
  modality 2 fr "Deux"
question 3 FREE numeric
)"));
    struct Case {
        const char* name;
        std::vector<std::int32_t> codes;
    };
    const Case cases[] = {{"WITHFLAG", {1, 2, -1, -2}}, {"WITHOUT", {1, 2, -2}}, {"FREE", {}}};
    for (const Case& c : cases)
        EXPECT_EQ(Codes(Question(c.name)), c.codes) << c.name;
    EXPECT_EQ(Question("WITHFLAG").GetModalite(3)->GetLocalisedShortCaption(kEnglish), "Not asked");
    ASSERT_EQ(survey.levels.size(), 1u);
    EXPECT_EQ(survey.levels[0]->name, "Interviews");
    EXPECT_EQ(survey.levels[0]->levelTable, 1);
    EXPECT_EQ(survey.fileVersion, 404);
    EXPECT_EQ(survey.questionnaireLanguage, kFrench);
}

constexpr const char* kSemiOpen = R"(
question 1 BRANDS closed noanswer
  modality 1 fr "Alpha"
  modality 2 fr "Bêta"
  semiopen 11 kind=1 modality=2 fr "Gamma"
  semiopen 12 kind=0 fr "Delta"
  semiopen 13 kind=1 modality=9 fr "Epsilon"
)";

TEST_F(LoaderFileTest, GroupedSemiOpenAnswersJoinTheirModality) {
    survey.GroupSemiOpens = true;
    ASSERT_TRUE(LoadFixture(kSemiOpen));
    const CQuestionEtendue& brands = Question("BRANDS");
    EXPECT_EQ(Codes(brands), (std::vector<std::int32_t>{1, 2, -3, -1, -2}));
    EXPECT_EQ(brands.GetModaliteEtendue(1)->values, std::vector<std::int32_t>{-11});
    // The other kinds, and a kind 1 whose modality does not exist, go to the "other" modality.
    EXPECT_EQ(brands.GetModaliteEtendue(2)->values, (std::vector<std::int32_t>{-12, -13}));
    EXPECT_EQ(brands.GetModalite(2)->GetLocalisedShortCaption(kFrench), "Autre (préciser)");
}

TEST_F(LoaderFileTest, UngroupedSemiOpenAnswersOfOtherKindsBecomeModalities) {
    survey.GroupSemiOpens = false;
    ASSERT_TRUE(LoadFixture(kSemiOpen));
    const CQuestionEtendue& brands = Question("BRANDS");
    EXPECT_EQ(Codes(brands), (std::vector<std::int32_t>{1, 2, -3, -12, -1, -2}));
    EXPECT_EQ(brands.GetModalite(3)->GetLocalisedShortCaption(kFrench), "Delta");
    EXPECT_EQ(brands.GetModaliteEtendue(1)->values, std::vector<std::int32_t>{-11});
    EXPECT_EQ(brands.GetModaliteEtendue(2)->values, std::vector<std::int32_t>{-13});
    EXPECT_TRUE(brands.GetModaliteEtendue(3)->values.empty());
}

TEST_F(LoaderFileTest, AnExpandedLoopWithOneSubQuestion) {
    ASSERT_TRUE(LoadFixture(R"(
loop 50 L expand
  modality 1 fr "A"
  modality 2 fr "B"
  question 51 Q closed
    caption fr "Q" "Note de ??L??"
    modality 1 fr "Oui"
end
)"));
    EXPECT_EQ(Names(survey), (std::vector<std::string>{"L", "Q", "A", "B"}));
    ASSERT_EQ(survey.levels.size(), 2u);
    EXPECT_EQ(survey.levels[1]->code, 50);
    EXPECT_EQ(survey.levels[1]->depth, 1);
    const CQuestionEtendue& loop = *survey.questions[0];
    EXPECT_EQ(loop.kind, 1);
    EXPECT_EQ(loop.type, 1);
    EXPECT_EQ(loop.generated, 1);
    EXPECT_EQ(loop.level, 1);
    EXPECT_EQ(Codes(loop), (std::vector<std::int32_t>{1, 2, -2}));
    EXPECT_EQ(survey.questions[1]->level, 1);
    EXPECT_TRUE(survey.questions[1]->values.empty());
    struct Case {
        int index;
        std::vector<std::int32_t> values;
        const char* caption;
    };
    const Case cases[] = {{2, {1}, "Note de A"}, {3, {2}, "Note de B"}};
    for (const Case& c : cases) {
        const CQuestionEtendue& iteration = *survey.questions[static_cast<std::size_t>(c.index)];
        EXPECT_EQ(iteration.level, 0);
        EXPECT_EQ(iteration.code, 51);
        EXPECT_EQ(iteration.values, c.values);
        EXPECT_EQ(iteration.GetLocalisedLongCaption(kFrench), c.caption);
    }
}

TEST_F(LoaderFileTest, AnExpandedLoopWithTwoSubQuestions) {
    ASSERT_TRUE(LoadFixture(R"(
loop 50 L expand
  modality 1 fr "A"
  modality 2 fr "B"
  question 51 Q1 numeric
  question 52 Q2 open
end
question 60 AFTER open
)"));
    EXPECT_EQ(Names(survey), (std::vector<std::string>{"L", "Q1", "Q2", "Q1 (A)", "Q2 (A)", "Q1 (B)", "Q2 (B)",
                                                       "AFTER"}));
    EXPECT_EQ(survey.questions[6]->values, std::vector<std::int32_t>{2});
    EXPECT_EQ(survey.questions[7]->level, 0);
}

TEST_F(LoaderFileTest, ALoopCountedByANumber) {
    ASSERT_TRUE(LoadFixture(R"(
loop 50 L count=3 expand
  question 51 Q numeric
end
)"));
    EXPECT_EQ(Names(survey), (std::vector<std::string>{"L", "Q", "1", "2", "3"}));
    const CQuestionEtendue& loop = *survey.questions[0];
    EXPECT_EQ(loop.type, 5);
    EXPECT_EQ(loop.answerCount, 1);
    EXPECT_DOUBLE_EQ(loop.upperBound, 3.0);
    for (std::int32_t k = 1; k <= 3; ++k)
        EXPECT_EQ(survey.questions[static_cast<std::size_t>(k) + 1]->values, std::vector<std::int32_t>{k});
}

TEST_F(LoaderFileTest, LoopsWithoutTheExpandFlagStayAtTheirLevel) {
    ASSERT_TRUE(LoadFixture(R"(
loop 50 L
  modality 1 fr "A"
  question 51 Q numeric
end
)"));
    EXPECT_EQ(Names(survey), (std::vector<std::string>{"L", "Q"}));
}

TEST_F(LoaderFileTest, LoopsOfOneCodeOrNamingASharedLevelShareIt) {
    ASSERT_TRUE(LoadFixture(R"(
loop 50 FIRST
  modality 1 fr "A"
  question 51 Q1 numeric
end
loop 50 SECOND
  modality 1 fr "A"
  question 52 Q2 numeric
end
loop 70 THIRD sharedlevel=50
  modality 1 fr "A"
  question 53 Q3 numeric
end
)"));
    ASSERT_EQ(survey.levels.size(), 2u);
    for (const char* name : {"FIRST", "Q1", "SECOND", "Q2", "THIRD", "Q3"})
        EXPECT_EQ(Question(name).level, 1) << name;
}

TEST_F(LoaderFileTest, ANoLevelLoopOverOneNumericQuestion) {
    ASSERT_TRUE(LoadFixture(R"(
loop 50 L nolevel
  modality 1 fr "A"
  question 51 Q numeric
end
loop 60 M nolevel
  modality 1 fr "A"
  question 61 R closed
    modality 1 fr "Oui"
end
)"));
    EXPECT_EQ(Names(survey), std::vector<std::string>{"L (P)"});
    const CQuestionEtendue& perLevel = *survey.questions[0];
    EXPECT_EQ(perLevel.type, 8);
    EXPECT_EQ(perLevel.kind, 1);
    EXPECT_EQ(perLevel.generated, 1);
    EXPECT_EQ(perLevel.level, 0);
    ASSERT_NE(perLevel.GetQuestionNiveau(), nullptr);
    EXPECT_EQ(perLevel.GetQuestionNiveau()->code, 51);
    EXPECT_EQ(survey.levels.size(), 1u);
}

TEST_F(LoaderFileTest, ItemsOutOfUseAreDroppedWithTheirSubQuestions) {
    ASSERT_TRUE(LoadFixture(R"(
chapter 100 OLD notinuse
  question 1 UNDER_OLD numeric
end
chapter 200 KEPT notinanalysis
  question 2 SHOWN numeric
  loop 50 HIDDEN notinanalysis
    modality 1 fr "A"
    question 3 UNDER_HIDDEN numeric
  end
  question 4 LAST numeric
end
)"));
    EXPECT_EQ(Names(survey), (std::vector<std::string>{"KEPT", "SHOWN", "LAST"}));
    EXPECT_EQ(survey.levels.size(), 1u);
}

TEST_F(LoaderFileTest, AVersion400FileSpeaksTheProgramsLanguage) {
    survey.applicationLanguage = kEnglish;
    ASSERT_TRUE(LoadFixture("question 1 SEXE closed\n  modality 1 fr \"Homme\"\n",
                            "questionnaire \"Q\" language=fr version=400\nlanguage 1036 fr \"Français\"\n"));
    ASSERT_EQ(survey.languages.size(), 1u);
    EXPECT_EQ(survey.languages[0].id, kEnglish);
    EXPECT_TRUE(survey.languages[0].isDefault);
    EXPECT_EQ(survey.questionnaireLanguage, kEnglish);
    EXPECT_EQ(survey.fileVersion, 400);
    EXPECT_EQ(Question("SEXE").GetModalite(1)->GetLocalisedShortCaption(kEnglish), "Not asked");
}

// ---- Questionnaires built in code ---------------------------------------------------------------

void AddIteration(CQuestion& loop, std::int32_t code, const std::string& caption) {
    auto modality = std::make_unique<CModalite>(code);
    modality->SetLocalisedShortCaption(kFrench, caption);
    loop.AddModalite(std::move(modality));
}

void FrenchQuestionnaire(CQuestionnaire& questionnaire) {
    questionnaire.language = kFrench;
    questionnaire.AddLanguage(CLanguage(kFrench, "Français"));
    questionnaire.versions.push_back(CVersion{});
}

TEST(LoaderCodeTest, AFailedReadLoadsNothing) {
    TestSurvey survey;
    CodeSource source([](CQuestionnaire& q) { FrenchQuestionnaire(q); });
    source.failing = true;
    source.hasVariableTable = true;
    EXPECT_FALSE(Load(source, survey));
    EXPECT_TRUE(survey.questions.empty());
    EXPECT_TRUE(survey.levels.empty());
    EXPECT_EQ(source.recodeReads, 0);
}

TEST(LoaderCodeTest, AnEmptyQuestionnaireWithComputedVariables) {
    TestSurvey survey;
    CodeSource source([](CQuestionnaire& q) { FrenchQuestionnaire(q); });
    source.hasVariableTable = true;
    source.variables = {{4, "Score"}, {9, "Indice"}};
    ASSERT_TRUE(Load(source, survey));
    EXPECT_EQ(survey.levels.size(), 1u);
    EXPECT_EQ(survey.versions.size(), 1u);
    EXPECT_EQ(Names(survey), (std::vector<std::string>{"Questions calculées", "Score", "Indice"}));
    const CQuestionEtendue& group = *survey.questions[0];
    EXPECT_EQ(group.code, -100000);
    EXPECT_EQ(group.kind, 0);
    EXPECT_EQ(group.depth, 1);
    EXPECT_EQ(group.GetLocalisedLongCaption(kFrench), "Questions calculées");
    EXPECT_EQ(survey.questions[1]->code, -4);
    EXPECT_EQ(survey.questions[2]->code, -9);
    EXPECT_EQ(survey.newQuestionCode, 9);
    EXPECT_EQ(source.recodeReads, 1);
}

TEST(LoaderCodeTest, WithoutTheVariableTableNoGroupIsMade) {
    TestSurvey survey;
    CodeSource source([](CQuestionnaire& q) {
        FrenchQuestionnaire(q);
        q.AddQuestion(Item(1, "AGE", 1, 1, 5));
    });
    ASSERT_TRUE(Load(source, survey));
    EXPECT_EQ(Names(survey), std::vector<std::string>{"AGE"});
}

// Nested expanded loops: the names carry both iterations, the values both codes in nesting
// order.
TEST(LoaderCodeTest, NestedExpandedLoops) {
    TestSurvey survey;
    CodeSource source([](CQuestionnaire& q) {
        FrenchQuestionnaire(q);
        auto outer = Item(50, "OUT", 1, 2, 1);
        outer->expandIterations = true;
        AddIteration(*outer, 1, "A");
        AddIteration(*outer, 2, "B");
        q.AddQuestion(std::move(outer));
        auto inner = Item(60, "IN", 2, 2, 1);
        inner->expandIterations = true;
        AddIteration(*inner, 7, "X");
        q.AddQuestion(std::move(inner));
        q.AddQuestion(Item(61, "Q", 3, 1, 5));
        q.AddQuestion(Item(62, "X", 1, 1, 5));
    });
    ASSERT_TRUE(Load(source, survey));
    // Built at its level, the outer loop's content is not expanded: the inner iterations appear
    // only under the outer ones.
    EXPECT_EQ(Names(survey), (std::vector<std::string>{"OUT", "IN", "Q", "IN (A)", "A x X", "IN (B)", "B x X", "X"}));
    ASSERT_EQ(survey.levels.size(), 3u);
    EXPECT_EQ(survey.levels[2]->depth, 2);
    EXPECT_EQ(survey.questions[1]->level, 2);
    EXPECT_EQ(survey.questions[2]->level, 2);
    EXPECT_EQ(survey.questions[3]->level, 2);
    EXPECT_EQ(survey.questions[3]->values, std::vector<std::int32_t>{1});
    EXPECT_EQ(survey.questions[4]->values, (std::vector<std::int32_t>{1, 7}));
    EXPECT_EQ(survey.questions[4]->level, 0);
    EXPECT_EQ(survey.questions[6]->values, (std::vector<std::int32_t>{2, 7}));
    EXPECT_TRUE(survey.questions[7]->values.empty());
}

TEST(LoaderCodeTest, ASecondSingleSubQuestionOfTheSameNameKeepsItsOwnName) {
    TestSurvey survey;
    CodeSource source([](CQuestionnaire& q) {
        FrenchQuestionnaire(q);
        for (std::int32_t code : {50, 70}) {
            auto loop = Item(code, code == 50 ? "L1" : "L2", 1, 2, 1);
            loop->expandIterations = true;
            AddIteration(*loop, 1, "A");
            q.AddQuestion(std::move(loop));
            q.AddQuestion(Item(code + 1, code == 50 ? "Q1" : "Q2", 2, 1, 5));
        }
    });
    ASSERT_TRUE(Load(source, survey));
    EXPECT_EQ(Names(survey), (std::vector<std::string>{"L1", "Q1", "A", "L2", "Q2", "Q2 (A)"}));
}

// ---- Recoded questions ----------------------------------------------------------------------------

// A recode giving two answers per source answer, applicable to any question but the open ones.
class TwoPerAnswer : public CRecodage {
public:
    explicit TwoPerAnswer(CEnquete* survey) : CRecodage(survey) {}
    std::int16_t GetType() const override { return kIntervalle; }
    int DonnerNombreReponses(const CQuestionEtendue&) const override { return 2; }
    void Appliquer(CQuestionEtendue& target, bool withNoAnswer) const override {
        target.type = 1;
        appliedWithNoAnswer = withNoAnswer;
    }
    bool EstApplicable(const CQuestionEtendue& question) const override { return !question.EstOuverte(); }
    mutable bool appliedWithNoAnswer = false;

protected:
    std::unique_ptr<CRecodage> Clone() const override { return std::make_unique<TwoPerAnswer>(*this); }
};

TEST(InsererRecodage, InsertsARecodedCopyAfterEveryMatchingQuestion) {
    TestSurvey survey;
    CQuestionEtendue& age = AddQuestion(survey, 5, "AGE", 1, 1, 5);
    age.hasNoAnswer = 1;
    age.shortCaptions[0] = "Âge";
    age.longCaptions[0] = "Âge de la personne";
    CQuestionEtendue& iteration = AddQuestion(survey, 5, "AGE (A)", 1, 1, 5);
    iteration.values = {1};
    iteration.shortCaptions[0] = "Âge (A)";
    AddQuestion(survey, 5, "AGE TEXT", 1, 1, 4); // not applicable
    AddQuestion(survey, 6, "OTHER", 1, 1, 5);
    TwoPerAnswer recode(&survey);
    recode.id = 33;
    recode.sourceQuestionCode = 5;
    recode.label = "en classes";
    InsererRecodage(recode, survey.questions, survey);

    EXPECT_EQ(Names(survey), (std::vector<std::string>{"AGE", "en classes", "AGE (A)", "AGE (A) en classes",
                                                       "AGE TEXT", "OTHER"}));
    const CQuestionEtendue& recoded = *survey.questions[1];
    EXPECT_EQ(recoded.recodeId, 33);
    EXPECT_EQ(recoded.depth, 2);
    EXPECT_EQ(recoded.answerCount, 2);
    EXPECT_TRUE(recoded.multipleAnswers);
    EXPECT_EQ(recoded.hasNoAnswer, 0);
    EXPECT_EQ(recoded.type, 1);
    ASSERT_NE(recoded.GetRecodage(), nullptr);
    EXPECT_EQ(recoded.GetRecodage()->id, 33);
    EXPECT_EQ(survey.questions[3]->values, std::vector<std::int32_t>{1});
    // Titled by the recode, not by the caption of the question it recodes.
    EXPECT_EQ(recoded.shortCaptions.at(0), "en classes");
    EXPECT_EQ(recoded.longCaptions.at(0), "en classes");
    EXPECT_EQ(survey.questions[3]->shortCaptions.at(0), "Âge (A) en classes");

    // A recode of a recoded question matches only the questions carrying that recode.
    TwoPerAnswer second(&survey);
    second.id = 34;
    second.sourceQuestionCode = 5;
    second.sourceRecodeCode = 33;
    second.label = "bis";
    InsererRecodage(second, survey.questions, survey);
    EXPECT_EQ(survey.questions[2]->name, "bis");
    EXPECT_EQ(survey.questions[2]->answerCount, 4);
    EXPECT_EQ(survey.questions.size(), 8u);
}

} // namespace
