#include <clocale>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>
#include <memory>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "support/QuestionBuilder.h"
#include "SurveyTestSupport.h"
#include "app/CacheDonnees.h"
#include "app/CacheDonnees3.h"
#include "app/ChampEtude.h"
#include "app/IdName.h"
#include "app/InvertedFilesFingerprint.h"
#include "app/MemorySettingsStore.h"
#include "app/Redressement.h"
#include "app/Registre.h"
#include "app/VecteurDouble.h"
#include "platform/questionnaire/DBStructure.h"
#include "platform/questionnaire/Questionnaire.h"
#include "tools/qesbuild/DescriptionParser.h"
#include "tools/qesbuild/QesWriter.h"

using namespace survey_test;

namespace {

constexpr std::int32_t kFrench = 1036;
constexpr std::int32_t kGerman = 1031;
constexpr std::int32_t kItalian = 1040;
constexpr std::int32_t kSpanish = 1034;
constexpr std::int32_t kEnglish = 1033;
constexpr std::int32_t kRussian = 1049;
constexpr double kNotAsked = -888888.88;
constexpr double kNoAnswer = -999999.99;

// ---- Finding questions ------------------------------------------------------------------------

// A small tree: a chapter, a loop's own question with a question under it, and an expanded copy
// of that question for one iteration.
class SurveyQuestionsTest : public ::testing::Test {
protected:
    void SetUp() override {
        AddQuestion(survey, 1, "CHAP", 1, 0, 1);               // 0
        AddQuestion(survey, 2, "AGE", 2, 1, 5);                // 1
        CQuestionEtendue& loop = AddQuestion(survey, 3, "PERS", 2, 1, 1); // 2
        loop.generated = 1;
        loop.level = 1;
        CQuestionEtendue& inLoop = AddQuestion(survey, 4, "SEXE", 3, 1, 1); // 3
        inLoop.level = 1;
        CQuestionEtendue& iteration = AddQuestion(survey, 4, "SEXE (A)", 1, 1, 1); // 4
        iteration.values = {3, 12};
        CQuestionEtendue& other = AddQuestion(survey, 4, "SEXE (B)", 1, 1, 1);     // 5
        other.values = {3};
        CQuestionEtendue& recoded = AddQuestion(survey, 4, "SEXE (A) regroupé", 2, 1, 1); // 6
        recoded.values = {3, 12};
        recoded.recodeId = 9;
        AddQuestion(survey, 5, "NOTE:SUR 10", 1, 1, 1);         // 7
    }

    TestSurvey survey;
};

TEST_F(SurveyQuestionsTest, FindsAQuestionByItsReference) {
    EXPECT_EQ(survey.TrouverQuestion(4, "3;12;", 0), survey.DonnerQuestion(4));
    EXPECT_EQ(survey.TrouverQuestion(4, "3;12", 0), survey.DonnerQuestion(4));
    EXPECT_EQ(survey.TrouverQuestion(4, "3;", 0), survey.DonnerQuestion(5));
    EXPECT_EQ(survey.TrouverQuestion(4, "3;12;", 9), survey.DonnerQuestion(6));
    EXPECT_EQ(survey.TrouverQuestion(4, "", 0), survey.DonnerQuestion(3));
    EXPECT_EQ(survey.TrouverQuestion(4, "12;3;", 0), nullptr);
    EXPECT_EQ(survey.TrouverQuestion(4, "3;12;1;", 0), nullptr);
    EXPECT_EQ(survey.TrouverQuestion(0, "", 0), nullptr);
}

TEST_F(SurveyQuestionsTest, ReferenceRoundTrips) {
    std::int32_t code = -1;
    std::string keys = "x";
    std::int32_t recode = -1;
    CEnquete::DonnerReferenceQuestion(survey.DonnerQuestion(6), code, keys, recode);
    EXPECT_EQ(code, 4);
    EXPECT_EQ(keys, "3;12;");
    EXPECT_EQ(recode, 9);
    EXPECT_EQ(survey.TrouverQuestion(code, keys, recode), survey.DonnerQuestion(6));

    CEnquete::DonnerReferenceQuestion(nullptr, code, keys, recode);
    EXPECT_EQ(code, 0);
    EXPECT_EQ(keys, "");
    EXPECT_EQ(recode, 0);
}

TEST_F(SurveyQuestionsTest, FindsQuestionsByName) {
    int index = -1;
    EXPECT_TRUE(survey.TrouverIndexParNom("SEXE", index));
    EXPECT_EQ(index, 3);
    EXPECT_FALSE(survey.TrouverIndexParNom("sexe", index)); // exact bytes
    EXPECT_EQ(survey.TrouverQuestionParNom("AGE"), survey.DonnerQuestion(1));
    EXPECT_EQ(survey.TrouverQuestionParNom("?"), nullptr);
    EXPECT_TRUE(survey.TrouverIndexQuestion(survey.DonnerQuestion(5), index));
    EXPECT_EQ(index, 5);
    CQuestionEtendue stranger(&survey);
    EXPECT_FALSE(survey.TrouverIndexQuestion(&stranger, index));
}

TEST_F(SurveyQuestionsTest, QuestionAndModalityFromText) {
    struct Case {
        const char* text;
        bool found;
        int index;
        std::int32_t code;
    };
    const Case cases[] = {
        {"SEXE:2", true, 3, 2},
        {"NOTE:SUR 10", true, 7, -1}, // no question "NOTE": the whole text is the name
        {"AGE", true, 1, -1},
        {"AGE:x", true, 1, 0},        // a code that is not a number reads as 0
        {"INCONNU:2", false, -1, -1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        int index = -1;
        std::int32_t code = -99;
        EXPECT_EQ(survey.ChercherQuestionModalite(c.text, index, code), c.found);
        if (c.found) {
            EXPECT_EQ(index, c.index);
        }
        EXPECT_EQ(code, c.code);
    }
}

TEST_F(SurveyQuestionsTest, TreeWalks) {
    EXPECT_EQ(survey.DonnerIndexParent(0), -1);
    EXPECT_EQ(survey.DonnerIndexParent(1), 0);
    EXPECT_EQ(survey.DonnerIndexParent(3), 2);
    EXPECT_EQ(survey.DonnerIndexParent(4), -1);
    EXPECT_EQ(survey.DonnerIndexParent(6), 5);
    EXPECT_EQ(survey.DonnerIndexParent(99), -1);

    EXPECT_EQ(survey.DonnerParentMemeCode(survey.DonnerQuestion(6)), survey.DonnerQuestion(5));
    EXPECT_EQ(survey.DonnerParentMemeCode(survey.DonnerQuestion(3)), nullptr);
    EXPECT_EQ(survey.DonnerParentMemeCode(nullptr), nullptr);

    std::vector<int> levels;
    std::vector<int> indices;
    survey.CollecterAscendants(3, levels, indices);
    EXPECT_EQ(levels, std::vector<int>{1});
    EXPECT_EQ(indices, std::vector<int>{2});
    levels.clear();
    indices.clear();
    survey.CollecterAscendants(1, levels, indices);
    EXPECT_TRUE(levels.empty());
    EXPECT_TRUE(indices.empty());
}

TEST_F(SurveyQuestionsTest, DataKindOfAQuestion) {
    struct Case {
        std::int16_t kind;
        std::int16_t type;
        bool multiple;
        bool typeFlag;
        int dataKind;
        int extra;
    };
    const Case cases[] = {
        {1, 1, false, false, 0, 0}, {1, 1, true, false, 0, 1}, {1, 6, true, false, 0, 1},
        {1, 7, false, false, 0, 0}, {1, 2, true, true, 0, 0},  {1, 3, false, false, 2, 0},
        {1, 4, false, false, 1, 0}, {1, 4, false, true, 1, 1}, {1, 5, true, false, 0, 0},
        {2, 1, false, false, 0, 1}, {0, 1, true, false, 0, 0}, {1, 8, true, false, 0, 0},
    };
    TestSurvey local;
    for (const Case& c : cases) {
        CQuestionEtendue& question = AddQuestion(local, 1, "Q", 1, c.kind, c.type);
        question.multipleAnswers = c.multiple;
        question.typeFlag = c.typeFlag;
        int kind = -1;
        int extra = -1;
        local.DonnerTypeQuestion(local.DonnerNbreQuestions() - 1, kind, extra);
        EXPECT_EQ(kind, c.dataKind) << c.kind << "/" << c.type;
        EXPECT_EQ(extra, c.extra) << c.kind << "/" << c.type;
    }
    int kind = -1;
    int extra = -1;
    local.DonnerTypeQuestion(99, kind, extra);
    EXPECT_EQ(kind, 0);
    EXPECT_EQ(extra, 0);
}

TEST_F(SurveyQuestionsTest, QuestionQueriesByIndex) {
    AddModality(*survey.DonnerQuestion(3), 1);
    AddModality(*survey.DonnerQuestion(3), 2);
    EXPECT_TRUE(survey.EstQuestionFermee(3));
    EXPECT_FALSE(survey.EstQuestionFermee(0));
    EXPECT_TRUE(survey.EstQuestionNumerique(1));
    EXPECT_FALSE(survey.EstQuestionNumerique(3));
    EXPECT_EQ(survey.DonnerNbreModalites(3), 2);
    EXPECT_EQ(survey.DonnerNbreModalites(99), 0);
    EXPECT_FALSE(survey.EstEnSaisie());
}

// ---- Captions of generated modalities ---------------------------------------------------------

class CaptionTest : public ::testing::Test {
protected:
    void SetUp() override {
        auto store = std::make_unique<MemorySettingsStore>();
        settings = store.get();
        previous = CRegistre::InstallStore(std::move(store));
    }
    void TearDown() override { CRegistre::InstallStore(std::move(previous)); }

    void Languages(std::initializer_list<std::int32_t> ids) {
        for (std::int32_t id : ids)
            survey.languages.emplace_back(id);
    }

    TestSurvey survey;
    CModalite modality;
    MemorySettingsStore* settings = nullptr;
    std::unique_ptr<SettingsStore> previous;
};

TEST_F(CaptionTest, DateCaptionsHaveNoItalianText) {
    Languages({kFrench, kItalian});
    modality.SetLocalisedShortCaption(kItalian, "vecchio");
    survey.LibellerAvant(modality, "01/01/2000");
    EXPECT_EQ(modality.GetLocalisedShortCaption(kFrench), "Avant 01/01/2000");
    EXPECT_EQ(modality.GetLocalisedShortCaption(kItalian), "");
}

TEST_F(CaptionTest, EveryCaptionInEveryLanguage) {
    Languages({kFrench, kGerman, kItalian, kSpanish, kEnglish, kRussian});
    struct Case {
        std::function<void(CModalite&)> label;
        std::vector<std::string> expected; // FRA, DEU, ITA, ESP, ENG, and English for the others
    };
    const Case cases[] = {
        {[&](CModalite& m) { survey.LibellerNonReponse(m); },
         {"Non réponse", "Keine Antwort", "Non risponde", "No respuesa", "Don't know", "Don't know"}},
        {[&](CModalite& m) { survey.LibellerAutre(m); },
         {"Autre (préciser)", "Andere", "Altro", "Otro", "Other (Specify)", "Other (Specify)"}},
        {[&](CModalite& m) { survey.LibellerTotal(m); }, {"Total", "Total", "Totale", "Total", "Total", "Total"}},
        {[&](CModalite& m) { survey.LibellerNonInterroge(m); },
         {"Non interrogé", "Nicht Gefragt", "Non interrogato", "Not asked", "Not asked", "Not asked"}},
        {[&](CModalite& m) { survey.LibellerMoinsDe(m, 10, "ans"); },
         {"Moins de 10 ans", "Weniger als 10 ans", "Meno di 10 ans", "Menos de 10 ans", "Less than 10 ans",
          "Less than 10 ans"}},
        {[&](CModalite& m) { survey.LibellerOuMoins(m, 2.5, "kg"); },
         {"2.5 ou moins kg", "2.5 oder weniger kg", "2.5 o meno kg", "2.5 o menos kg", "2.5 or less kg",
          "2.5 or less kg"}},
        {[&](CModalite& m) { survey.LibellerDeA(m, 10, 20, "ans"); },
         {"De 10 à 20 ans", "Von 10 bis 20 ans", "Dal 10 al 20 ans", "De 10 a 20 ans", "From 10 to 20 ans",
          "From 10 to 20 ans"}},
        {[&](CModalite& m) { survey.LibellerPlusDe(m, 1e6, ""); },
         {"Plus de 1e+06 ", "Mehr als 1e+06 ", "Più di 1e+06 ", "Màs de 1e+06 ", "More than 1e+06 ",
          "More than 1e+06 "}},
        {[&](CModalite& m) { survey.LibellerOuPlus(m, 65, "ans"); },
         {"65 ou plus ans", "65 oder mehr ans", "65 o più ans", "65 o màs ans", "65 or more ans", "65 or more ans"}},
        {[&](CModalite& m) { survey.LibellerOuAvant(m, "1990"); },
         {"1990 ou avant", "", "", "1990 o antes", "1990 or before", "1990 or before"}},
        {[&](CModalite& m) { survey.LibellerDeADate(m, "1990", "2000"); },
         {"De 1990 à 2000", "Von 1990 bis 2000", "Dal 1990 al 2000", "De 1990 a 2000", "From 1990 to 2000",
          "From 1990 to 2000"}},
        {[&](CModalite& m) { survey.LibellerApres(m, "2000"); },
         {"Après 2000", "", "", "Despues 2000", "After 2000", "After 2000"}},
        {[&](CModalite& m) { survey.LibellerOuApres(m, "2000"); },
         {"2000 ou après", "", "", "2000 o despues", "2000 or after", "2000 or after"}},
    };
    const std::int32_t order[] = {kFrench, kGerman, kItalian, kSpanish, kEnglish, kRussian};
    for (const Case& c : cases) {
        CModalite target;
        c.label(target);
        for (std::size_t i = 0; i < std::size(order); ++i)
            EXPECT_EQ(target.GetLocalisedShortCaption(order[i]), c.expected[i]) << c.expected[0];
    }
}

TEST_F(CaptionTest, NumbersIgnoreTheLocale) {
    Languages({kFrench});
    const std::string before = std::setlocale(LC_NUMERIC, nullptr);
    std::setlocale(LC_NUMERIC, "fr_FR.UTF-8"); // where installed; "C" otherwise
    survey.LibellerDeA(modality, 0.5, 1234567, "€");
    std::setlocale(LC_NUMERIC, before.c_str());
    EXPECT_EQ(modality.GetLocalisedShortCaption(kFrench), "De 0.5 à 1.23457e+06 €");
}

TEST_F(CaptionTest, SettingsOverrideTheBuiltInText) {
    Languages({kFrench, kEnglish});
    settings->WriteString("LessThan", "FRA", "Sous %g %s");
    survey.LibellerMoinsDe(modality, 18, "ans");
    EXPECT_EQ(modality.GetLocalisedShortCaption(kFrench), "Sous 18 ans");
    EXPECT_EQ(modality.GetLocalisedShortCaption(kEnglish), "Less than 18 ans");
}

TEST_F(CaptionTest, AnyStoredTextIsSafe) {
    Languages({kFrench});
    settings->WriteString("FromTo", "FRA", "%s %s %d %g %g %g 100%% %");
    survey.LibellerDeA(modality, 1, 2, "u");
    EXPECT_EQ(modality.GetLocalisedShortCaption(kFrench), "u  %d 1 2  100% %");
    // A caption marked "none" reads nothing from the settings.
    settings->WriteString("Before", "ITA", "Prima di %s");
    survey.languages.emplace_back(kItalian);
    survey.LibellerAvant(modality, "x");
    EXPECT_EQ(modality.GetLocalisedShortCaption(kItalian), "");
}

// ---- The stamp of the inverted files ----------------------------------------------------------

class StampTest : public ::testing::Test {
protected:
    void SetUp() override { survey.invertedFolder = folder.Path(); }

    void Stamp(std::int32_t count, std::size_t bytes = 4) {
        std::ofstream file(folder.Sub("Velto.dat"), std::ios::binary | std::ios::trunc);
        const unsigned char le[4] = {static_cast<unsigned char>(count), static_cast<unsigned char>(count >> 8),
                                     static_cast<unsigned char>(count >> 16), static_cast<unsigned char>(count >> 24)};
        file.write(reinterpret_cast<const char*>(le), static_cast<std::streamsize>(bytes));
    }

    TemporaryFolder folder;
    TestSurvey survey;
};

TEST_F(StampTest, CheckedStampMustMatchTheInterviewCount) {
    Stamp(1234);
    survey.CheckInversion = true;
    std::int32_t count = 1234;
    EXPECT_TRUE(survey.VerifierInversion(count));
    count = 1235;
    EXPECT_FALSE(survey.VerifierInversion(count));
    EXPECT_EQ(count, 1235);
}

TEST_F(StampTest, UncheckedStampIsTakenAsTheCount) {
    Stamp(70000);
    survey.CheckInversion = false;
    std::int32_t count = 3;
    EXPECT_TRUE(survey.VerifierInversion(count));
    EXPECT_EQ(count, 70000);
}

TEST_F(StampTest, MissingOrShortStampFails) {
    survey.CheckInversion = false;
    std::int32_t count = 3;
    EXPECT_FALSE(survey.VerifierInversion(count));
    Stamp(5, 2);
    EXPECT_FALSE(survey.VerifierInversion(count));
    EXPECT_EQ(count, 3);
    survey.invertedFolder.clear();
    EXPECT_FALSE(survey.VerifierInversion(count));
}

TEST_F(StampTest, InvertedFilesFolderIsCreatedOnce) {
    survey.invertedFolder = folder.Sub("enquete.dat");
    EXPECT_TRUE(survey.CreerRepertoireInversion());
    EXPECT_TRUE(std::filesystem::is_directory(survey.invertedFolder));
    EXPECT_TRUE(survey.CreerRepertoireInversion()); // already there
    survey.invertedFolder = folder.Sub("absent/deeper.dat");
    EXPECT_FALSE(survey.CreerRepertoireInversion()); // one level at a time
    survey.invertedFolder.clear();
    EXPECT_FALSE(survey.CreerRepertoireInversion());
}

// ---- Caches, study fields and weightings ------------------------------------------------------

// A weight vector cached and given back at once.
void CacheWeights(CCacheDonnees3& cache, std::int32_t level, std::int32_t field, std::int32_t weighting) {
    CObjetDonnees* weights = cache.Ajouter(level, field, weighting, std::make_unique<CVecteurDouble>(1));
    cache.Liberer(level, field, weighting, weights);
}

bool IsCached(CCacheDonnees3& cache, std::int32_t level, std::int32_t field, std::int32_t weighting) {
    CObjetDonnees* found = nullptr;
    if (!cache.Chercher(level, field, weighting, found))
        return false;
    cache.Liberer(level, field, weighting, found);
    return true;
}

TEST(SurveyCaches, CreatedAndDestroyedTogether) {
    TestSurvey survey;
    EXPECT_EQ(survey.GetClosedAnswerCache(), nullptr);
    survey.CreerCaches();
    ASSERT_NE(survey.GetClosedAnswerCache(), nullptr);
    ASSERT_NE(survey.GetNumericCache(), nullptr);
    ASSERT_NE(survey.GetWeightCache(), nullptr);
    EXPECT_EQ(survey.GetClosedAnswerCache()->GetSlotCount(), 5);
    EXPECT_EQ(survey.GetNumericCache()->GetSlotCount(), 5);
    EXPECT_EQ(survey.GetWeightCache()->GetSlotCount(), 6);
    survey.DetruireCaches();
    EXPECT_EQ(survey.GetClosedAnswerCache(), nullptr);
    EXPECT_EQ(survey.GetNumericCache(), nullptr);
    EXPECT_EQ(survey.GetWeightCache(), nullptr);
}

TEST(SurveyCaches, ForgettingAQuestionDropsItsData) {
    TestSurvey survey;
    survey.CreerCaches();
    CQuestionEtendue& question = AddQuestion(survey, 1, "Q");
    CQuestionEtendue& other = AddQuestion(survey, 2, "R");
    for (CCacheDonnees* cache : {survey.GetClosedAnswerCache(), survey.GetNumericCache()}) {
        for (const CQuestionEtendue* q : {&question, &other}) {
            CObjetDonnees* data = cache->Ajouter(q, std::make_unique<CVecteurDouble>(1));
            cache->Liberer(q, data);
        }
    }
    survey.OublierDonneesQuestion(question);
    for (CCacheDonnees* cache : {survey.GetClosedAnswerCache(), survey.GetNumericCache()}) {
        CObjetDonnees* found = nullptr;
        EXPECT_FALSE(cache->Chercher(&question, found));
        ASSERT_TRUE(cache->Chercher(&other, found));
        cache->Liberer(&other, found);
    }
}

CChampEtude Field(std::int32_t id, const std::string& name) {
    CChampEtude field;
    field.id = id;
    field.name = name;
    return field;
}

CRedressement Weighting(std::int32_t id, const std::string& name) {
    CRedressement weighting;
    weighting.id = id;
    weighting.name = name;
    return weighting;
}

std::vector<std::string> Names(const std::vector<std::unique_ptr<CIdName>>& list) {
    std::vector<std::string> names;
    for (const auto& entry : list)
        names.push_back(std::to_string(entry->id) + " " + entry->name);
    return names;
}

TEST(SurveyStudyFields, UpdatesReplaceAppendAndDropTheirWeights) {
    TestSurvey survey;
    survey.CreerCaches();
    CCacheDonnees3& weights = *survey.GetWeightCache();
    CacheWeights(weights, 0, 3, -1);
    CacheWeights(weights, 0, 4, -1);
    CacheWeights(weights, 1, 3, 7);

    survey.MettreAJourChampEtude(Field(3, "Hommes"));
    survey.MettreAJourChampEtude(Field(4, "Femmes"));
    EXPECT_FALSE(IsCached(weights, 0, 3, -1));
    EXPECT_FALSE(IsCached(weights, 1, 3, 7));
    EXPECT_FALSE(IsCached(weights, 0, 4, -1));

    CacheWeights(weights, 0, 3, -1);
    CacheWeights(weights, 0, 4, -1);
    survey.MettreAJourChampEtude(Field(3, "Hommes adultes"));
    EXPECT_FALSE(IsCached(weights, 0, 3, -1));
    EXPECT_TRUE(IsCached(weights, 0, 4, -1));

    std::vector<std::unique_ptr<CIdName>> list;
    list.push_back(std::make_unique<CIdName>(-1, "kept"));
    EXPECT_TRUE(survey.DonnerListeChampsEtude(list));
    EXPECT_EQ(Names(list), (std::vector<std::string>{"-1 kept", "3 Hommes adultes", "4 Femmes"}));

    CChampEtude copy;
    EXPECT_TRUE(survey.DonnerChampEtude(4, copy));
    EXPECT_EQ(copy.name, "Femmes");
    EXPECT_FALSE(survey.DonnerChampEtude(5, copy));

    survey.SupprimerChampEtude(4);
    EXPECT_FALSE(IsCached(weights, 0, 4, -1));
    EXPECT_FALSE(survey.DonnerChampEtude(4, copy));
}

TEST(SurveyStudyFields, CopiesAreBoundToTheSurvey) {
    TestSurvey survey;
    CQuestionEtendue& question = AddQuestion(survey, 8, "REGION");
    question.values = {2};
    CChampEtude field = Field(3, "Nord");
    field.conditions[1].SetQuestion(8, "2;", 0);
    field.conditions[1].modalities = {0, 2};
    field.connectors = {1, 0, 1};
    survey.MettreAJourChampEtude(field);

    CChampEtude copy;
    ASSERT_TRUE(survey.DonnerChampEtude(3, copy));
    EXPECT_EQ(copy.conditions[1].question, &question);
    EXPECT_EQ(copy.conditions[1].modalities, (std::vector<std::int32_t>{0, 2}));
    EXPECT_EQ(copy.conditions[0].question, nullptr);
    EXPECT_EQ(copy.connectors, field.connectors);
}

TEST(SurveyWeightings, UpdatesReplaceAppendAndDropTheirWeights) {
    TestSurvey survey;
    survey.CreerCaches();
    CCacheDonnees3& weights = *survey.GetWeightCache();
    survey.MettreAJourRedressement(Weighting(3, "Sexe x âge"));
    CacheWeights(weights, 0, 3, 3); // a study field 3 and a weighting 3 are not the same thing
    CacheWeights(weights, 0, -1, 3);
    CacheWeights(weights, 0, -1, 4);

    CRedressement changed = Weighting(3, "Sexe");
    changed.NTotal = 1000;
    changed.definition = "0@@0~";
    survey.MettreAJourRedressement(changed);
    EXPECT_FALSE(IsCached(weights, 0, 3, 3));
    EXPECT_FALSE(IsCached(weights, 0, -1, 3));
    EXPECT_TRUE(IsCached(weights, 0, -1, 4));

    CRedressement copy;
    ASSERT_TRUE(survey.DonnerRedressement(3, copy));
    EXPECT_EQ(copy.name, "Sexe");
    EXPECT_EQ(copy.NTotal, 1000);
    EXPECT_EQ(copy.definition, "0@@0~");

    std::vector<std::unique_ptr<CIdName>> list;
    EXPECT_TRUE(survey.DonnerListeRedressements(list));
    EXPECT_EQ(Names(list), std::vector<std::string>{"3 Sexe"});

    CacheWeights(weights, 2, -1, 3);
    survey.SupprimerRedressement(3);
    EXPECT_FALSE(survey.DonnerRedressement(3, copy));
    EXPECT_FALSE(IsCached(weights, 2, -1, 3));
    EXPECT_TRUE(IsCached(weights, 0, -1, 4));
}

// Lists read from a store that fails once.
class StoredListsSurvey : public TestSurvey {
public:
    int failures = 1;
    int reads = 0;

protected:
    bool ReadStudyFields(std::vector<std::unique_ptr<CChampEtude>>& out, std::string& error) override {
        ++reads;
        if (failures-- > 0) {
            error = "base verrouillée";
            return false;
        }
        out.push_back(std::make_unique<CChampEtude>(Field(-1, "Toutes les interviews")));
        out.push_back(std::make_unique<CChampEtude>(Field(2, "Jeunes")));
        return true;
    }
};

TEST(SurveyStudyFields, ListIsReadOnFirstUseAndAgainAfterAFailure) {
    StoredListsSurvey survey;
    std::vector<std::unique_ptr<CIdName>> list;
    EXPECT_FALSE(survey.DonnerListeChampsEtude(list));
    EXPECT_EQ(survey.GetLastError(), "base verrouillée");
    EXPECT_TRUE(list.empty());
    EXPECT_FALSE(survey.studyFieldsLoaded);

    EXPECT_TRUE(survey.DonnerListeChampsEtude(list));
    EXPECT_EQ(Names(list), (std::vector<std::string>{"-1 Toutes les interviews", "2 Jeunes"}));
    list.clear();
    EXPECT_TRUE(survey.DonnerListeChampsEtude(list));
    EXPECT_EQ(survey.reads, 2);
}

// ---- Emptying and opening ---------------------------------------------------------------------

TEST(SurveyLifecycle, ConstructorValues) {
    TestSurvey survey;
    EXPECT_FALSE(survey.UseCompletedOnly);
    EXPECT_FALSE(survey.GroupSemiOpens);
    EXPECT_EQ(survey.currentLevel, 0);
    EXPECT_EQ(survey.TotalType, 0);
    EXPECT_EQ(survey.CaptionType, 2);
    EXPECT_EQ(survey.EffectifSignificativite, 5);
    EXPECT_EQ(survey.SignificanceType, 2);
    EXPECT_EQ(survey.SignificanceThreshold3, 2.576);
    EXPECT_EQ(survey.SignificanceThreshold2, 1.96);
    EXPECT_EQ(survey.SignificanceThreshold1, 1.645);
    EXPECT_EQ(survey.ConfidenceIntervalThreshold, 1.96);
    EXPECT_EQ(survey.MinWeight, 0.0);
    EXPECT_EQ(survey.MaxWeight, 5.0);
    EXPECT_EQ(survey.IterationPerQuestion, 30);
    EXPECT_EQ(survey.Accuracy, 10);
    EXPECT_EQ(survey.interviewCount, 0);
    EXPECT_EQ(survey.selectorWord, 0);
    EXPECT_FALSE(survey.studyFieldsLoaded);
    EXPECT_FALSE(survey.weightingsLoaded);
    EXPECT_EQ(survey.GetClosedAnswerCache(), nullptr);
}

TEST(SurveyLifecycle, ViderEmptiesEverything) {
    TestSurvey survey;
    AddQuestion(survey, 1, "Q");
    AddLevel(survey, 0, 0, "Interviews");
    survey.languages.emplace_back(kFrench);
    survey.versions.emplace_back();
    survey.questionClasses.emplace_back();
    survey.MettreAJourChampEtude(Field(1, "F"));
    survey.MettreAJourRedressement(Weighting(1, "W"));
    survey.CreerCaches();
    survey.Vider();
    EXPECT_EQ(survey.DonnerNbreQuestions(), 0);
    EXPECT_EQ(survey.DonnerNbreNiveaux(), 0);
    EXPECT_TRUE(survey.languages.empty());
    EXPECT_TRUE(survey.versions.empty());
    EXPECT_TRUE(survey.questionClasses.empty());
    EXPECT_TRUE(survey.studyFields.empty());
    EXPECT_TRUE(survey.weightings.empty());
    EXPECT_EQ(survey.GetWeightCache(), nullptr);
}

TEST(SurveyLifecycle, OpeningAMissingFileFailsAndLeavesTheSurveyEmpty) {
    TemporaryFolder folder;
    TestSurvey survey;
    AddQuestion(survey, 1, "old");
    survey.CreerCaches();
    survey.basePath = folder.Sub("absent.qes");
    EXPECT_FALSE(survey.Ouvrir());
    EXPECT_FALSE(survey.GetLastError().empty());
    EXPECT_EQ(survey.DonnerNbreQuestions(), 0);
    EXPECT_EQ(survey.DonnerNbreNiveaux(), 0);
    EXPECT_EQ(survey.GetClosedAnswerCache(), nullptr);
    EXPECT_FALSE(std::filesystem::exists(survey.basePath)); // reading never creates the file
}

// ---- Opening a questionnaire file -------------------------------------------------------------

void AddModalite(CQuestion& question, std::int32_t code, const std::string& french) {
    auto modality = std::make_unique<CModalite>(code);
    modality->SetLocalisedShortCaption(kFrench, french);
    question.AddModalite(std::move(modality));
}

// A questionnaire in French and English: a chapter with a closed question offering the no-answer
// modality, a discrete numeric question and an open one; a chapter out of use with a question
// under it; a question out of use for analysis; a free numeric question.
void BuildQuestionnaire(CQuestionnaire& questionnaire) {
    questionnaire.name = "Ménages";
    questionnaire.language = kFrench;
    questionnaire.AddLanguage(CLanguage(kFrench, "Français"));
    questionnaire.AddLanguage(CLanguage(kEnglish, "English"));
    questionnaire.AddQuestion(Item(1, "CHAP", 1, 0, 1));
    auto sex = Item(10, "SEXE", 2, 1, 1);
    sex->hasNoAnswer = 1;
    AddModalite(*sex, 1, "Homme");
    AddModalite(*sex, 2, "Femme");
    questionnaire.AddQuestion(std::move(sex));
    auto children = Item(11, "ENFANTS", 2, 1, 6);
    AddModalite(*children, 1, "0");
    AddModalite(*children, 2, "1");
    AddModalite(*children, 3, "2 ou plus");
    questionnaire.AddQuestion(std::move(children));
    questionnaire.AddQuestion(Item(12, "COMMENT", 2, 1, 4));
    auto old = Item(2, "OLD", 1, 0, 1);
    old->inUse = false;
    questionnaire.AddQuestion(std::move(old));
    questionnaire.AddQuestion(Item(20, "UNDER_OLD", 2, 1, 5));
    auto hidden = Item(13, "HIDDEN", 1, 1, 5);
    hidden->inUseForAnalysis = false;
    questionnaire.AddQuestion(std::move(hidden));
    questionnaire.AddQuestion(Item(14, "AGE", 1, 1, 5));
}

class OuvrirTest : public ::testing::Test {
protected:
    void SetUp() override {
        survey.basePath = folder.Sub("menages.qes");
        survey.invertedFolder = folder.Sub("menages.dat");
    }

    void WriteFile(int version) {
        CQuestionnaire questionnaire;
        BuildQuestionnaire(questionnaire);
        CDBStructure structure(survey.basePath);
        ASSERT_TRUE(structure.CreateDatabase(version)) << structure.GetErrorText();
        ASSERT_TRUE(structure.DoSaveQuestionnaire(&questionnaire)) << structure.GetErrorText();
        // Opening counts the interviews of the response tables, empty here.
        ASSERT_TRUE(structure.VerifyResponseStructure(questionnaire)) << structure.GetErrorText();
    }

    void Stamp(std::int32_t count) {
        std::filesystem::create_directory(survey.invertedFolder);
        std::ofstream file(std::filesystem::path(survey.invertedFolder) / "Velto.dat", std::ios::binary);
        const unsigned char le[4] = {static_cast<unsigned char>(count), static_cast<unsigned char>(count >> 8),
                                     static_cast<unsigned char>(count >> 16), static_cast<unsigned char>(count >> 24)};
        file.write(reinterpret_cast<const char*>(le), 4);
    }

    ScriptedRecordKeys& GiveRecords(int interviews) {
        auto source = std::make_unique<ScriptedRecordKeys>();
        source->keysByLevel[0].Reset(1);
        for (std::int32_t i = 1; i <= interviews; ++i)
            source->keysByLevel[0].Append(&i);
        ScriptedRecordKeys& given = *source;
        survey.SetRecordKeySource(std::move(source));
        return given;
    }

    static std::vector<std::int32_t> Codes(const CQuestionEtendue& question) {
        std::vector<std::int32_t> codes;
        question.DonnerCodeModalites(codes);
        return codes;
    }

    TemporaryFolder folder;
    TestSurvey survey;
};

TEST_F(OuvrirTest, FillsTheSurveyFromTheFile) {
    WriteFile(404);
    survey.currentLevel = 3;
    survey.studyFieldsLoaded = true;
    ASSERT_TRUE(survey.Ouvrir()) << survey.GetLastError();

    ASSERT_EQ(survey.languages.size(), 2u);
    EXPECT_EQ(survey.languages[0].id, kFrench);
    EXPECT_EQ(survey.languages[1].id, kEnglish);
    EXPECT_EQ(survey.questionnaireLanguage, kFrench);
    EXPECT_EQ(survey.currentLanguage, kFrench);
    EXPECT_EQ(survey.fileVersion, 404);

    struct Expected {
        std::int32_t code;
        const char* name;
        std::int16_t kind;
        std::int16_t type;
        std::vector<std::int32_t> codes;
    };
    const Expected expected[] = {
        {1, "CHAP", 0, 1, {}},
        {10, "SEXE", 1, 1, {1, 2, -1, -2}},
        {11, "ENFANTS", 1, 6, {1, 2, 3, -2}},
        {12, "COMMENT", 1, 4, {}},
        {14, "AGE", 1, 5, {}},
    };
    ASSERT_EQ(survey.DonnerNbreQuestions(), static_cast<int>(std::size(expected)));
    for (int i = 0; i < survey.DonnerNbreQuestions(); ++i) {
        const CQuestionEtendue& question = *survey.DonnerQuestion(i);
        SCOPED_TRACE(question.name);
        EXPECT_EQ(question.code, expected[i].code);
        EXPECT_EQ(question.name, expected[i].name);
        EXPECT_EQ(question.kind, expected[i].kind);
        EXPECT_EQ(question.type, expected[i].type);
        EXPECT_EQ(Codes(question), expected[i].codes);
        EXPECT_EQ(question.GetEnquete(), &survey);
        EXPECT_EQ(question.level, 0);
        for (int m = 0; m < question.GetNbreModalite(); ++m)
            EXPECT_NE(question.GetModaliteEtendue(m), nullptr);
    }

    const CQuestionEtendue& sex = *survey.DonnerQuestion(1);
    EXPECT_EQ(sex.GetModalite(2)->GetLocalisedShortCaption(kFrench), "Non réponse");
    EXPECT_EQ(sex.GetModalite(2)->GetLocalisedShortCaption(kEnglish), "Don't know");
    EXPECT_EQ(sex.GetModalite(2)->value, kNoAnswer);
    EXPECT_EQ(sex.GetModalite(3)->GetLocalisedShortCaption(kFrench), "Non interrogé");
    EXPECT_EQ(sex.GetModalite(3)->GetLocalisedShortCaption(kEnglish), "Not asked");
    EXPECT_EQ(sex.GetModalite(3)->value, kNotAsked);
    EXPECT_EQ(sex.GetModalite(0)->GetLocalisedShortCaption(kFrench), "Homme");

    // A numeric closed question gets its values from its captions.
    const CQuestionEtendue& children = *survey.DonnerQuestion(2);
    EXPECT_EQ(children.GetModalite(0)->value, 0);
    EXPECT_EQ(children.GetModalite(1)->value, 1);
    EXPECT_EQ(children.GetModalite(2)->value, kNoAnswer); // "2 ou plus" is not a number
    EXPECT_EQ(children.GetModalite(3)->value, kNotAsked);

    ASSERT_EQ(survey.DonnerNbreNiveaux(), 1);
    const CQuestionNiveau& interviews = *survey.DonnerNiveau(0);
    EXPECT_EQ(interviews.name, "Interviews");
    EXPECT_EQ(interviews.kind, 2);
    EXPECT_EQ(interviews.type, 1);
    EXPECT_EQ(interviews.depth, 0);
    EXPECT_EQ(interviews.levelTable, 1);

    EXPECT_EQ(survey.currentLevel, 0);
    EXPECT_FALSE(survey.studyFieldsLoaded);
    EXPECT_FALSE(survey.weightingsLoaded);
    EXPECT_FALSE(survey.invertedFilesValid);
    EXPECT_NE(survey.GetClosedAnswerCache(), nullptr);
    EXPECT_NE(survey.GetNumericCache(), nullptr);
    EXPECT_NE(survey.GetWeightCache(), nullptr);
}

TEST_F(OuvrirTest, ReopeningReplacesEverything) {
    WriteFile(404);
    ASSERT_TRUE(survey.Ouvrir());
    ASSERT_TRUE(survey.Ouvrir());
    EXPECT_EQ(survey.DonnerNbreQuestions(), 5);
    EXPECT_EQ(survey.DonnerNbreNiveaux(), 1);
    EXPECT_EQ(survey.languages.size(), 2u);
}

TEST_F(OuvrirTest, OldFileGetsTheProgramsLanguage) {
    survey.applicationLanguage = kEnglish;
    WriteFile(400);
    ASSERT_TRUE(survey.Ouvrir()) << survey.GetLastError();
    ASSERT_EQ(survey.languages.size(), 1u);
    EXPECT_EQ(survey.languages[0].id, kEnglish);
    EXPECT_TRUE(survey.languages[0].isDefault);
    EXPECT_EQ(survey.questionnaireLanguage, kEnglish);
    EXPECT_EQ(survey.currentLanguage, kEnglish);
    EXPECT_EQ(survey.DonnerQuestion(1)->GetModalite(3)->GetLocalisedShortCaption(kEnglish), "Not asked");
}

TEST_F(OuvrirTest, InterviewsAreCountedAndTheStampChecked) {
    WriteFile(404);
    GiveRecords(3);
    Stamp(3);
    std::string error; // the fingerprint of an inversion of no file, for the questionnaire as it is
    ASSERT_TRUE(InvertedFilesFingerprint(survey.basePath, survey.invertedFolder).Write({}, InvertedFilesFingerprint::Interviews::All, error)) << error;
    survey.CheckInversion = true;
    ASSERT_TRUE(survey.Ouvrir()) << survey.GetLastError();
    EXPECT_EQ(survey.DonnerNbreInterviews(), 3);
    EXPECT_TRUE(survey.invertedFilesValid);
    EXPECT_TRUE(survey.DonnerNiveau(0)->EstCharge());

    Stamp(4); // stale: the files are not used, the survey still opens
    ASSERT_TRUE(survey.Ouvrir());
    EXPECT_EQ(survey.DonnerNbreInterviews(), 3);
    EXPECT_FALSE(survey.invertedFilesValid);

    survey.CheckInversion = false; // any readable stamp will do; the count stays level 0's
    ASSERT_TRUE(survey.Ouvrir());
    EXPECT_EQ(survey.DonnerNbreInterviews(), 3);
    EXPECT_TRUE(survey.invertedFilesValid);
}

TEST_F(OuvrirTest, UncountableInterviewsFailTheOpening) {
    WriteFile(404);
    GiveRecords(3).failing = {0};
    EXPECT_FALSE(survey.Ouvrir());
    EXPECT_EQ(survey.GetLastError(), "level 0 unreadable");
    EXPECT_EQ(survey.DonnerNbreQuestions(), 0);
    EXPECT_EQ(survey.DonnerNbreNiveaux(), 0);
    EXPECT_TRUE(survey.languages.empty());
    EXPECT_EQ(survey.GetClosedAnswerCache(), nullptr);
}

TEST_F(OuvrirTest, AFileThatIsNotAQuestionnaireIsRefused) {
    std::ofstream(survey.basePath) << "not a database";
    EXPECT_FALSE(survey.Ouvrir());
    EXPECT_FALSE(survey.GetLastError().empty());
    EXPECT_EQ(survey.DonnerNbreNiveaux(), 0);
}

// A fixture built by the questionnaire-fixture builder, as every later test of the data will be.
constexpr const char* kFixture = R"(
questionnaire "Ménages" language=fr
language 1036 fr "Français"
language 1033 en "English"
chapter 100 SIGNA
  question 1 SEXE closed noanswer
    modality 1 fr "Homme" en "Man"
    modality 2 fr "Femme" en "Woman"
  question 2 AGE numeric
end
question 3 TRANCHE interval
  modality 1 fr "De 18 à 30 ans"
  modality 2 fr "De 30 à 50 ans"
question 4 AVIS open notinanalysis
question 5 NOTE discrete
  modality 1 fr "1"
  modality 2 fr "5"
records
Cle1,1;1,2;1,3;1,5;1
1,1,34,1,2
2,2,,2,
end
)";

TEST(SurveyFixture, OpeningFillsTheSurvey) {
    TemporaryFolder folder;
    TestSurvey survey;
    survey.basePath = folder.Sub("menages.qes");
    qesbuild::FixtureDescription fixture = qesbuild::DescriptionParser::Parse(kFixture, "menages.txt", folder.Path());
    qesbuild::WriteFixture(fixture, survey.basePath);
    ASSERT_TRUE(survey.Ouvrir()) << survey.GetLastError();

    ASSERT_EQ(survey.languages.size(), 2u);
    EXPECT_EQ(survey.languages[0].id, kFrench);
    EXPECT_EQ(survey.languages[1].id, kEnglish);
    EXPECT_EQ(survey.questionnaireLanguage, kFrench);
    EXPECT_EQ(survey.currentLanguage, kFrench);

    struct Expected {
        std::int32_t code;
        const char* name;
        std::int16_t kind;
        std::int16_t type;
        std::vector<std::int32_t> codes;
        std::vector<double> values;
    };
    const Expected expected[] = {
        {100, "SIGNA", 0, 1, {}, {}},
        {1, "SEXE", 1, 1, {1, 2, -1, -2}, {kNoAnswer, kNoAnswer, kNoAnswer, kNotAsked}},
        {2, "AGE", 1, 5, {}, {}},
        {3, "TRANCHE", 1, 7, {1, 2, -2}, {24, 40, kNotAsked}},
        {5, "NOTE", 1, 6, {1, 2, -2}, {1, 5, kNotAsked}},
    };
    ASSERT_EQ(survey.DonnerNbreQuestions(), static_cast<int>(std::size(expected)));
    for (int i = 0; i < survey.DonnerNbreQuestions(); ++i) {
        const CQuestionEtendue& question = *survey.DonnerQuestion(i);
        SCOPED_TRACE(question.name);
        EXPECT_EQ(question.code, expected[i].code);
        EXPECT_EQ(question.name, expected[i].name);
        EXPECT_EQ(question.kind, expected[i].kind);
        EXPECT_EQ(question.type, expected[i].type);
        std::vector<std::int32_t> codes;
        std::vector<double> values;
        for (const auto& modality : question.modalities) {
            codes.push_back(modality->code);
            values.push_back(modality->value);
        }
        EXPECT_EQ(codes, expected[i].codes);
        EXPECT_EQ(values, expected[i].values);
    }
    const CModalite& notAsked = *survey.DonnerQuestion(1)->GetModalite(3);
    EXPECT_EQ(notAsked.GetLocalisedShortCaption(kFrench), "Non interrogé");
    EXPECT_EQ(notAsked.GetLocalisedShortCaption(kEnglish), "Not asked");
    EXPECT_EQ(survey.DonnerQuestion(1)->GetModalite(1)->GetLocalisedShortCaption(kEnglish), "Woman");

    ASSERT_EQ(survey.DonnerNbreNiveaux(), 1);
    EXPECT_EQ(survey.DonnerNiveau(0)->name, "Interviews");
    EXPECT_EQ(survey.DonnerNiveau(0)->depth, 0);
    EXPECT_EQ(survey.currentLevel, 0);
    EXPECT_FALSE(survey.invertedFilesValid);
    EXPECT_FALSE(survey.studyFieldsLoaded);
    EXPECT_FALSE(survey.weightingsLoaded);
    EXPECT_NE(survey.GetWeightCache(), nullptr);
    // Options are the survey's own until the study context copies them from the settings.
    EXPECT_EQ(survey.CaptionType, 2);
    EXPECT_EQ(survey.SignificanceType, 2);
    EXPECT_EQ(survey.MaxWeight, 5.0);
}

} // namespace
