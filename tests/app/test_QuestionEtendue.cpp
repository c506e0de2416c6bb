#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "SurveyTestSupport.h"
#include "app/ModaliteEtendue.h"
#include "app/QuestionCalculee.h"
#include "app/QuestionEtendue.h"
#include "app/Recodage.h"

using namespace survey_test;

namespace {

constexpr double kNoAnswer = -999999.99;
constexpr double kNotAsked = -888888.88;
constexpr std::int32_t kFrench = 1036;
constexpr std::int32_t kEnglish = 1033;

// A recode of any type, enough to test what a question does with its recode.
class FakeRecode : public CRecodage {
public:
    FakeRecode(CEnquete* survey, std::int16_t type) : CRecodage(survey), m_type(type) {}
    std::int16_t GetType() const override { return m_type; }
    int DonnerNombreReponses(const CQuestionEtendue&) const override { return 1; }
    void Appliquer(CQuestionEtendue&, bool) const override {}
    bool EstApplicable(const CQuestionEtendue&) const override { return true; }
    void CopyGroups(std::vector<std::unique_ptr<CModaliteEtendue>>& groups) const override {
        for (std::int32_t code : {10, 20}) {
            groups.push_back(std::make_unique<CModaliteEtendue>(GetEnquete()));
            groups.back()->code = code;
        }
    }

protected:
    std::unique_ptr<CRecodage> Clone() const override { return std::make_unique<FakeRecode>(*this); }

private:
    std::int16_t m_type;
};

// A definition that counts its destructions.
class CountedDefinition : public CQuestionCalculee {
public:
    explicit CountedDefinition(int& destroyed) : m_destroyed(destroyed) {}
    ~CountedDefinition() override { ++m_destroyed; }

private:
    int& m_destroyed;
};

class QuestionEtendueTest : public ::testing::Test {
protected:
    void SetUp() override {
        survey.questionnaireLanguage = kFrench;
        survey.currentLanguage = kFrench;
    }

    CQuestionEtendue& Closed(std::initializer_list<std::int32_t> codes) {
        CQuestionEtendue& question = AddQuestion(survey, 1, "Q", 1, 1, 1);
        for (std::int32_t code : codes)
            AddModality(question, code);
        return question;
    }

    std::vector<double> Values(const CQuestionEtendue& question) {
        std::vector<double> values;
        for (const auto& modality : question.modalities)
            values.push_back(modality->value);
        return values;
    }

    TestSurvey survey;
};

// ---- Values of the modalities -----------------------------------------------------------------

TEST_F(QuestionEtendueTest, ClosedValuesCountDownFromTheRealAnswers) {
    // Codes 1, 2, 3, -2, no no-answer flag, no computed definition (so a not-asked modality is
    // possible): n = 4 - 1 = 3.
    CQuestionEtendue& question = Closed({1, 2, 3, -2});
    ASSERT_TRUE(question.AModaliteAutre());
    question.CalculerValeursModalites();
    EXPECT_EQ(Values(question), (std::vector<double>{3, 2, 1, kNotAsked}));
}

TEST_F(QuestionEtendueTest, ClosedValuesLoseOneMoreForTheNoAnswerFlag) {
    CQuestionEtendue& question = Closed({1, 2, -1, -2});
    question.hasNoAnswer = 1;
    question.CalculerValeursModalites();
    EXPECT_EQ(Values(question), (std::vector<double>{2, 1, kNoAnswer, kNotAsked}));
}

TEST_F(QuestionEtendueTest, ClosedValuesOfAComputedQuestionWithoutNotAskedUseEveryModality) {
    CQuestionEtendue& question = Closed({1, 2, 3, -2});
    auto definition = std::make_unique<CQuestionCalculee>();
    definition->kind = 1; // crossing two questions: no not-asked modality
    question.SetQuestionCalculee(std::move(definition));
    ASSERT_FALSE(question.AModaliteAutre());
    question.CalculerValeursModalites();
    EXPECT_EQ(Values(question), (std::vector<double>{4, 3, 2, kNotAsked}));
}

TEST_F(QuestionEtendueTest, ClosedValuesSetElsewhereAreKept) {
    CQuestionEtendue& question = Closed({1, 2, -1, -2});
    question.modalities[0]->value = 7;
    question.modalities[2]->value = 0; // whatever a -1 held, it becomes the no-answer value
    question.CalculerValeursModalites();
    EXPECT_EQ(Values(question), (std::vector<double>{7, kNoAnswer, kNoAnswer, kNotAsked}));
}

TEST_F(QuestionEtendueTest, DiscreteValuesComeFromTheCaptions) {
    CQuestionEtendue& question = AddQuestion(survey, 2, "D", 1, 1, 6);
    AddModality(question, 1, "3");
    AddModality(question, 2, "2,5");
    AddModality(question, 3, "trois");
    AddModality(question, -1, "4");
    AddModality(question, -2);
    question.CalculerValeursModalites();
    EXPECT_EQ(Values(question), (std::vector<double>{3, 2.5, kNoAnswer, kNoAnswer, kNotAsked}));
}

TEST_F(QuestionEtendueTest, IntervalValuesAreTheMiddleOfTheCaption) {
    CQuestionEtendue& question = AddQuestion(survey, 3, "I", 1, 1, 7);
    AddModality(question, 1, "De 10 à 20 ans");
    AddModality(question, 2, "5");
    AddModality(question, 3, "20 à 10");
    AddModality(question, 4, "10 à 20 et 30");
    AddModality(question, -2, "10 à 20");
    question.CalculerValeursModalites();
    EXPECT_EQ(Values(question), (std::vector<double>{15, 5, kNoAnswer, kNoAnswer, kNotAsked}));
}

TEST_F(QuestionEtendueTest, CaptionValuesFallBackOnTheDefaultLanguage) {
    survey.currentLanguage = kEnglish;
    CQuestionEtendue& question = AddQuestion(survey, 3, "I", 1, 1, 7);
    AddModality(question, 1, "De 1 à 3", kFrench);
    question.CalculerValeursModalites();
    EXPECT_EQ(question.modalities[0]->value, 2);
}

TEST_F(QuestionEtendueTest, OtherTypesKeepTheirValues) {
    CQuestionEtendue& question = AddQuestion(survey, 4, "N", 1, 1, 5);
    AddModality(question, -1).value = 12;
    question.CalculerValeursModalites();
    EXPECT_EQ(question.modalities[0]->value, 12);
}

struct IntervalCase {
    const char* caption;
    bool read;
    double low;
    double high;
};

TEST(ExtraireNombre, ReadsAnIntervalFromACaption) {
    const IntervalCase cases[] = {
        {"De 10 à 20 ans", true, 10, 20},
        {"5", true, 5, 5},
        {"Moins de 10 ans", true, 10, 10},
        {"-5 à 5", true, -5, 5},
        {"+3 à +7", true, 3, 7},
        {"de 2,5 à 7.5", true, 2.5, 7.5},  // a user may type either decimal separator
        {"20 à 10", false, 0, 0},          // high below low
        {"10 à 20 et 30", false, 0, 0},    // a third number
        {"10-20", false, 0, 0},            // the dash signs the second number: -20 < 10
        {"Plus de 1.000,5", false, 0, 0},  // no thousands separators
        {"", false, 0, 0},
        {"aucun nombre", false, 0, 0},
        {"- 5", true, 5, 5},               // a sign belongs to a number only when it touches it
        {"5 - 6", true, 5, 6},
    };
    for (const IntervalCase& c : cases) {
        SCOPED_TRACE(c.caption);
        double low = -1;
        double high = -1;
        ASSERT_EQ(CQuestionEtendue::ExtraireNombre(c.caption, low, high), c.read);
        if (c.read) {
            EXPECT_EQ(low, c.low);
            EXPECT_EQ(high, c.high);
        }
    }
}

// ---- Captions ---------------------------------------------------------------------------------

TEST_F(QuestionEtendueTest, CaptionByModeFallsBackToSimplerModes) {
    survey.currentLanguage = kEnglish;
    CQuestionEtendue& question = AddQuestion(survey, 5, "AGE");
    EXPECT_EQ(question.GetCaption(2), "AGE");
    EXPECT_EQ(question.GetCaption(1), "AGE");

    question.SetLocalisedLongCaption(kFrench, "Quel est votre âge ?");
    EXPECT_EQ(question.GetCaption(2), "Quel est votre âge ?");
    EXPECT_EQ(question.GetCaption(1), "Quel est votre âge ?");
    EXPECT_EQ(question.GetCaption(0), "AGE");

    question.SetLocalisedShortCaption(kFrench, "Âge");
    EXPECT_EQ(question.GetCaption(2), "Âge");
    question.SetLocalisedShortCaption(kEnglish, "Age");
    EXPECT_EQ(question.GetCaption(2), "Age");
    EXPECT_EQ(question.GetCaption(7), "Age");
    EXPECT_EQ(question.GetCaption(-1), "AGE");

    survey.CaptionType = 0;
    EXPECT_EQ(question.GetCaption(), "AGE");
    survey.CaptionType = 1;
    EXPECT_EQ(question.GetCaption(), "Quel est votre âge ?");
}

TEST_F(QuestionEtendueTest, ModalityShortCaptionFallsBackOnTheDefaultLanguage) {
    survey.currentLanguage = kEnglish;
    CModaliteEtendue modality(&survey);
    modality.SetDefaultShortCaption("Oui");
    EXPECT_EQ(modality.GetShortCaption(), "Oui");
    modality.SetShortCaption("Yes");
    EXPECT_EQ(modality.GetShortCaption(), "Yes");
    EXPECT_EQ(modality.GetLocalisedShortCaption(kFrench), "Oui");
}

TEST_F(QuestionEtendueTest, MarkerIsReplacedByTheIterationCaptionInEachLanguage) {
    CQuestionEtendue& question = AddQuestion(survey, 6, "Q");
    question.SetLocalisedLongCaption(kFrench, "Âge de ??P?? ou ??P??");
    question.SetLocalisedLongCaption(kEnglish, "Age of ??P??");
    question.SetLocalisedShortCaption(kFrench, "??P?? âge");
    CModalite iteration(1);
    iteration.SetLocalisedShortCaption(kFrench, "Pierre");

    question.RemplacerMarqueur("??P??", iteration, kFrench);
    EXPECT_EQ(question.GetLocalisedLongCaption(kFrench), "Âge de Pierre ou ??P??"); // the first one only
    EXPECT_EQ(question.GetLocalisedLongCaption(kEnglish), "Age of Pierre");        // fallback language
    EXPECT_EQ(question.GetLocalisedShortCaption(kFrench), "Pierre âge");

    question.RemplacerMarqueur("", iteration, kFrench);
    question.RemplacerMarqueur("absent", iteration, kFrench);
    EXPECT_EQ(question.GetLocalisedLongCaption(kEnglish), "Age of Pierre");
}

// ---- Copies -----------------------------------------------------------------------------------

TEST_F(QuestionEtendueTest, CopyKeepsTheQuestionButNotItsOwnedParts) {
    CQuestionEtendue& source = Closed({1, 2});
    source.level = 3;
    source.recodeId = 7;
    source.generated = 1;
    source.values = {4, 5};
    source.modalitiesLoaded = true;
    source.recodeBuilt = true;
    source.modalities[1]->value = 9;
    static_cast<CModaliteEtendue&>(*source.modalities[0]).selected = false;
    FakeRecode recode(&survey, CRecodage::kIntervalle);
    source.SetRecodage(&recode);
    source.SetQuestionCalculee(std::make_unique<CQuestionCalculee>());
    source.SetQuestionNiveau(std::make_unique<CQuestionEtendue>(&survey));

    CQuestionEtendue copy(source);
    EXPECT_EQ(copy.level, 3);
    EXPECT_EQ(copy.recodeId, 7);
    EXPECT_EQ(copy.GetCodeRecodage(), 7);
    EXPECT_EQ(copy.generated, 1);
    EXPECT_EQ(copy.values, (std::vector<std::int32_t>{4, 5}));
    EXPECT_EQ(copy.GetEnquete(), &survey);
    EXPECT_FALSE(copy.modalitiesLoaded);
    EXPECT_FALSE(copy.recodeBuilt);
    EXPECT_EQ(copy.GetRecodage(), nullptr);
    EXPECT_EQ(copy.GetQuestionCalculee(), nullptr);
    EXPECT_EQ(copy.GetQuestionNiveau(), nullptr);
    ASSERT_EQ(copy.GetNbreModalite(), 2);
    ASSERT_NE(copy.GetModaliteEtendue(0), nullptr);
    EXPECT_NE(copy.GetModalite(0), source.GetModalite(0));
    EXPECT_FALSE(copy.GetModaliteEtendue(0)->selected);
    EXPECT_EQ(copy.GetModalite(1)->value, 9);
}

TEST_F(QuestionEtendueTest, ModelQuestionModalitiesBecomeTheProgramsOwn) {
    CQuestion model;
    model.code = 12;
    model.AddModalite(std::make_unique<CModalite>(1, 3.0));
    model.AddModalite(std::make_unique<CModalite>(-2));
    CQuestionEtendue question(&survey, model);
    EXPECT_EQ(question.code, 12);
    ASSERT_EQ(question.GetNbreModalite(), 2);
    for (int i = 0; i < 2; ++i) {
        const CModaliteEtendue* modality = question.GetModaliteEtendue(i);
        ASSERT_NE(modality, nullptr);
        EXPECT_TRUE(modality->selected);
        EXPECT_EQ(modality->GetEnquete(), &survey);
    }
    EXPECT_EQ(question.GetModalite(0)->value, 3.0);
}

TEST_F(QuestionEtendueTest, ModalityCopiesAndExtensionCopies) {
    CModaliteEtendue source(&survey);
    source.code = 4;
    source.extraWord = 11;
    source.selected = false;
    source.displayOptions = {true, false, true, false};
    source.calculationLine = true;
    source.values = {-3};

    const CModaliteEtendue copy(source);
    EXPECT_EQ(copy.code, 4);
    EXPECT_EQ(copy.extraWord, 11);
    EXPECT_FALSE(copy.selected);
    EXPECT_EQ(copy.displayOptions, source.displayOptions);
    EXPECT_TRUE(copy.calculationLine);
    EXPECT_EQ(copy.values, source.values);

    TestSurvey other;
    CModaliteEtendue assigned(&other);
    assigned = source;
    EXPECT_TRUE(assigned.calculationLine);
    EXPECT_EQ(assigned.code, 4);
    EXPECT_EQ(assigned.GetEnquete(), &other);

    CModaliteEtendue target(&survey);
    target.code = 9;
    target.calculationLine = false;
    target.CopierExtension(source);
    EXPECT_EQ(target.code, 9);               // the model part stays
    EXPECT_FALSE(target.calculationLine);    // and so does the calculation-line flag
    EXPECT_EQ(target.extraWord, 11);
    EXPECT_FALSE(target.selected);
    EXPECT_EQ(target.displayOptions, source.displayOptions);
    EXPECT_EQ(target.values, source.values);
}

TEST_F(QuestionEtendueTest, ModalityListsAreNewObjectsOwnedByTheCaller) {
    CQuestionEtendue& question = Closed({1, 2, -2});
    std::vector<std::unique_ptr<CModaliteEtendue>> out;
    out.push_back(std::make_unique<CModaliteEtendue>(&survey));
    question.DonnerModalites(out, false);
    ASSERT_EQ(out.size(), 4u); // appended
    EXPECT_EQ(out[3]->code, -2);
    EXPECT_NE(out[1].get(), question.GetModalite(0));

    CQuestionEtendue::CopierModalites(out, question);
    ASSERT_EQ(out.size(), 3u); // emptied first
    EXPECT_EQ(out[0]->code, 1);
}

// ---- Lookups ----------------------------------------------------------------------------------

TEST_F(QuestionEtendueTest, ModalityLookups) {
    CQuestionEtendue& question = Closed({1, 2, -1, -2, 2});
    const int count = question.GetNbreModalite();
    EXPECT_EQ(question.GetCodeModalite(1), 2);
    EXPECT_EQ(question.GetCodeModalite(-5), -5);
    EXPECT_EQ(question.GetCodeModalite(count), -5);
    EXPECT_EQ(question.GetCodeModalite(-1), -5);
    EXPECT_EQ(question.TrouverModalite(2), 1);
    EXPECT_EQ(question.TrouverModalite(8), -1);
    EXPECT_EQ(question.TrouverNonReponse(), 3);
    EXPECT_EQ(Closed({1}).TrouverNonReponse(), -1);
}

TEST_F(QuestionEtendueTest, ClosedQuestionTest) {
    struct Case {
        std::int16_t kind;
        std::int16_t type;
        bool closed;
    };
    const Case cases[] = {
        {1, 1, true},  {1, 6, true},  {1, 7, true},  {1, 4, false}, {1, 5, false}, {1, 8, false},
        {2, 1, true},  {2, 2, true},  {2, 3, true},  {2, 4, false}, {0, 1, false}, {3, 1, false},
    };
    for (const Case& c : cases) {
        CQuestionEtendue question(&survey);
        question.kind = c.kind;
        question.type = c.type;
        EXPECT_EQ(question.EstFermee(), c.closed) << "kind " << c.kind << " type " << c.type;
    }
    CQuestionEtendue question(&survey);
    question.type = 8;
    EXPECT_TRUE(question.EstType8());
}

TEST(EstCaractereNumerique, DigitsAndDecimalSeparators) {
    for (char c : std::string("0123456789.,"))
        EXPECT_TRUE(CQuestionEtendue::EstCaractereNumerique(c)) << c;
    for (char c : std::string("-+ aé e"))
        EXPECT_FALSE(CQuestionEtendue::EstCaractereNumerique(c)) << c;
}

// ---- Recodes and computed definitions ---------------------------------------------------------

TEST_F(QuestionEtendueTest, RecodeTestsFollowTheRecodesType) {
    struct Case {
        std::int16_t type;
        bool (CQuestionEtendue::*test)() const;
    };
    const Case cases[] = {
        {CRecodage::kModalite, &CQuestionEtendue::EstRecodageModalite},
        {CRecodage::kIntervalle, &CQuestionEtendue::EstRecodageIntervalle},
        {CRecodage::kDiscrete, &CQuestionEtendue::EstRecodageDiscrete},
        {CRecodage::kLevelModalite, &CQuestionEtendue::EstRecodageLevelModalite},
        {CRecodage::kLevelNumerique, &CQuestionEtendue::EstRecodageLevelNumerique},
        {CRecodage::kLevelOpen, &CQuestionEtendue::EstRecodageLevelOpen},
    };
    CQuestionEtendue question(&survey);
    for (const Case& c : cases)
        EXPECT_FALSE((question.*c.test)());
    for (const Case& row : cases) {
        FakeRecode recode(&survey, row.type);
        question.SetRecodage(&recode);
        ASSERT_NE(question.GetRecodage(), nullptr);
        EXPECT_NE(question.GetRecodage(), &recode); // a copy of its own
        for (const Case& c : cases)
            EXPECT_EQ((question.*c.test)(), c.type == row.type) << row.type << " " << c.type;
    }
    question.SetRecodage(nullptr);
    EXPECT_EQ(question.GetRecodage(), nullptr);
}

TEST_F(QuestionEtendueTest, SubTotalRecodeHasNoNotAskedModality) {
    CQuestionEtendue question(&survey);
    FakeRecode subTotals(&survey, CRecodage::kModalite);
    question.SetRecodage(&subTotals);
    question.SetQuestionCalculee(std::make_unique<CQuestionCalculee>()); // kind 0 would say yes
    EXPECT_FALSE(question.AModaliteAutre());

    std::vector<std::unique_ptr<CModaliteEtendue>> groups;
    question.DonnerModalitesRecodees(groups);
    ASSERT_EQ(groups.size(), 2u);
    EXPECT_EQ(groups[1]->code, 20);
}

TEST_F(QuestionEtendueTest, ComputedDefinitionIsOwnedOnce) {
    int destroyed = 0;
    {
        CQuestionEtendue question(&survey);
        auto first = std::make_unique<CountedDefinition>(destroyed);
        CQuestionCalculee* held = first.get();
        question.SetQuestionCalculee(std::move(first));
        question.SetQuestionCalculee(std::unique_ptr<CQuestionCalculee>(held)); // the same one again
        EXPECT_EQ(destroyed, 0);
        EXPECT_EQ(question.GetQuestionCalculee(), held);
        question.SetQuestionCalculee(std::make_unique<CountedDefinition>(destroyed));
        EXPECT_EQ(destroyed, 1);
    }
    EXPECT_EQ(destroyed, 2);
}

TEST(Recodage, FactoryMakesTheKnownTypesOnly) {
    TestSurvey survey;
    EXPECT_EQ(CRecodage::CreerRecodage(CRecodage::kIntervalle, &survey), nullptr); // none registered
    auto previous = CRecodage::EnregistrerFabrique([](std::int16_t type, CEnquete* owner) {
        return std::unique_ptr<CRecodage>(std::make_unique<FakeRecode>(owner, type));
    });
    for (std::int16_t type : {-1, 4, 7})
        EXPECT_EQ(CRecodage::CreerRecodage(type, &survey), nullptr) << type;
    for (std::int16_t type : {0, 1, 2, 3, 5, 6}) {
        auto recode = CRecodage::CreerRecodage(type, &survey);
        ASSERT_NE(recode, nullptr) << type;
        EXPECT_EQ(recode->GetType(), type);
        EXPECT_EQ(recode->GetEnquete(), &survey);
        EXPECT_EQ(recode->GetDateType(), -1);
    }
    CRecodage::EnregistrerFabrique(std::move(previous));
    EXPECT_EQ(CRecodage::Cloner(nullptr), nullptr);
}

TEST(QuestionCalculee, KindsWithoutNotAskedModality) {
    for (std::int16_t kind = 0; kind <= 13; ++kind) {
        CQuestionCalculee definition;
        definition.kind = kind;
        const bool without = kind == 1 || kind == 2 || kind == 6 || kind == 8 || kind == 9;
        EXPECT_EQ(definition.AModaliteAutre(), !without) << kind;
    }
}

TEST(QuestionCalculee, CreerQuestionMakesAComputedQuestion) {
    TestSurvey survey;
    survey.questionnaireLanguage = kFrench;
    auto definition = std::make_unique<CQuestionCalculee>();
    definition->code = 7;
    definition->label = "Score";
    CQuestionCalculee* held = definition.get();

    auto question = CQuestionCalculee::CreerQuestion(std::move(definition), survey);
    ASSERT_NE(question, nullptr);
    EXPECT_EQ(question->code, -7);
    EXPECT_EQ(question->kind, 1);
    EXPECT_EQ(question->classAttribute, 2);
    EXPECT_EQ(question->name, "Score");
    EXPECT_EQ(question->GetLocalisedLongCaption(kFrench), "Score");
    EXPECT_EQ(question->GetCaption(2), "Score");
    EXPECT_EQ(question->GetQuestionCalculee(), held);
    EXPECT_EQ(question->GetEnquete(), &survey);
}

TEST(QuestionCalculee, RegisteredFactoryMakesTheDefinitions) {
    int destroyed = 0;
    auto previous = CQuestionCalculee::EnregistrerFabrique(
        [&destroyed] { return std::unique_ptr<CQuestionCalculee>(std::make_unique<CountedDefinition>(destroyed)); });
    CQuestionCalculee::Creer().reset();
    EXPECT_EQ(destroyed, 1);
    CQuestionCalculee::EnregistrerFabrique(std::move(previous));
    EXPECT_NE(CQuestionCalculee::Creer(), nullptr);
    EXPECT_EQ(destroyed, 1);
}

} // namespace
