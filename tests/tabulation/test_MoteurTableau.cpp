// The counting kernels on the seven-interview purchases fixture, every number counted by hand
// from the table in ChampEtudeTestSupport.h (exact: weights are whole numbers).
#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "app/CacheDonnees3.h"
#include "app/Calcul.h"
#include "app/Redressement.h"
#include "app/Ligne.h"
#include "app/ModaliteEtendue.h"
#include "app/VecteurPoids.h"
#include "recodes/ChampEtudeTestSupport.h"
#include "recodes/ObjectifRedressement.h"
#include "recodes/ModaliteGroupe.h"
#include "recodes/RecodageModalite.h"
#include "tabulation/MoteurTableau.h"
#include "tabulation/Profil.h"

using namespace champ_etude_test;

namespace {

using Doubles = std::vector<double>;
using Map = std::vector<std::uint16_t>;
constexpr std::uint16_t X = CMoteurTableau::kNotKept;
// ACHATS: Pain, Lait, Fruits, then the loader's "not asked" (-2), left out of the tables.
const Map kPurchasesMap = {0, 1, 2, X};
// SEXE: Homme, Femme, then -2.
const Map kSexMap = {0, 1, X};

class MoteurTableauTest : public PurchasesFixture {
protected:
    std::unique_ptr<CLigne> Line(std::int32_t code, bool fromModality) {
        auto line = std::make_unique<CLigne>("l");
        line->code = code;
        line->fromModality = fromModality ? 1 : 0;
        return line;
    }

    // A field of one ACHATS condition joined to an AGE condition by `connector`.
    void AddPainAndAge(std::int32_t id, std::int16_t connector) {
        CChampEtude field;
        SetCondition(field, 0, "ACHATS", 0, {0}); // Pain: interviews 1, 5, 7
        SetCondition(field, 1, "AGE", 7, {}, 35.0); // AGE >= 35: interviews 2, 4, 6, 7
        field.connectors = {connector, 1, 1};
        AddField(id, field);
    }

    // Femme: interviews 2, 4, 6, 7.
    void AddWomen(std::int32_t id) {
        CChampEtude field;
        SetCondition(field, 0, "SEXE", 0, {1});
        field.connectors = {1, 1, 1};
        AddField(id, field);
    }

    // Groups of level 0: "Alimentaire" over Pain and Lait (level 1), and Fruits on its own.
    std::unique_ptr<CRecodageModalite> FoodGrouping(bool everyOccurrence) {
        auto grouping = std::make_unique<CRecodageModalite>(&context);
        grouping->AjouterNoeud(std::make_unique<CModaliteGroupe>(&context, 0, "Alimentaire", 0));
        grouping->AjouterNoeud(std::make_unique<CModaliteGroupe>(&context, 1, "Pain", 1));
        grouping->AjouterNoeud(std::make_unique<CModaliteGroupe>(&context, 2, "Lait", 1));
        grouping->AjouterNoeud(std::make_unique<CModaliteGroupe>(&context, 3, "Fruits", 0));
        grouping->SetEstCumule(everyOccurrence);
        return grouping;
    }

    struct Flat {
        Doubles counts;
        double respondents = -1;
        double total = -1;
    };
    Flat Count(std::int32_t field, std::int32_t weighting = -1) {
        Flat flat;
        std::string error;
        CMoteurTableau engine(context);
        EXPECT_TRUE(engine.CompterModalites(Named("ACHATS"), flat.counts, flat.respondents, flat.total, kPurchasesMap,
                                            0, field, weighting, error))
            << error;
        return flat;
    }
};

TEST_F(MoteurTableauTest, ModalityMapTakesTheFirstModalityLineAndTheLastTotalAndNonResponse) {
    std::vector<std::unique_ptr<CLigne>> lines;
    // A statistic line made from a selection entry carries the modality flag: still no modality.
    auto statistic = std::make_unique<CCalcul>(2, "Ecart-type", true);
    statistic->fromModality = 1;
    lines.push_back(std::move(statistic));
    lines.push_back(Line(-4, true));
    lines.push_back(Line(2, true));
    lines.push_back(Line(1, false)); // a calculation line of the same code is not a modality
    lines.push_back(Line(1, true));
    lines.push_back(Line(2, true)); // a second line of Femme: the first one keeps the modality
    lines.push_back(Line(-1, true));
    lines.push_back(Line(-4, true));
    CMoteurTableau engine(context);
    int count = 0;
    std::vector<std::int32_t> codes;
    Map map;
    std::uint16_t total = 0;
    std::uint16_t nonResponse = 0;
    engine.DonnerCorrespondanceModalites(Named("SEXE"), lines, count, codes, map, total, nonResponse);
    EXPECT_EQ(count, 3);
    EXPECT_EQ(codes, (std::vector<std::int32_t>{1, 2, -2}));
    EXPECT_EQ(map, (Map{4, 2, X}));
    EXPECT_EQ(total, 7);
    EXPECT_EQ(nonResponse, 6);

    engine.DonnerCorrespondanceModalites(Named("SEXE"), {}, count, codes, map, total, nonResponse);
    EXPECT_EQ(map, (Map{X, X, X}));
    EXPECT_EQ(total, X);
    EXPECT_EQ(nonResponse, X);
}

TEST_F(MoteurTableauTest, ProfileMapGivesSelectedPositionsAndSeparatorsGiveNothing) {
    CQuestionEtendue& sex = Named("SEXE");
    std::vector<std::unique_ptr<CModaliteEtendue>> chosen;
    chosen.push_back(std::make_unique<CModaliteEtendue>(*sex.GetModaliteEtendue(1)));
    chosen.push_back(std::make_unique<CModaliteEtendue>(*context.DonnerModaliteTotal(0)));
    chosen.push_back(std::make_unique<CModaliteEtendue>(*sex.GetModaliteEtendue(0)));
    CProfil profile;
    profile.Add(&sex, chosen);
    profile.Add(nullptr);

    CMoteurTableau engine(context);
    CQuestionEtendue* question = nullptr;
    int count = 0, total = 0, nonResponse = 0, selectedCount = 0;
    std::vector<std::int32_t> codes;
    Map map;
    std::vector<std::unique_ptr<CModaliteEtendue>> selected;
    engine.DonnerIndexModalites(profile, 0, question, count, codes, map, total, nonResponse, selectedCount, selected);
    EXPECT_EQ(question, &sex);
    EXPECT_EQ(count, 3);
    EXPECT_EQ(map, (Map{2, 0, X}));
    EXPECT_EQ(total, 1);
    EXPECT_EQ(nonResponse, -1);
    EXPECT_EQ(selectedCount, 3);
    ASSERT_EQ(selected.size(), 3u);

    engine.DonnerIndexModalites(profile, 1, question, count, codes, map, total, nonResponse, selectedCount, selected);
    EXPECT_EQ(question, nullptr);
    EXPECT_EQ(count, 0);
    EXPECT_TRUE(codes.empty() && map.empty() && selected.empty());
}

TEST_F(MoteurTableauTest, OneQuestionCountsByHand) {
    // Interview 4 answered only "not asked", which the map leaves out: in the total, not among
    // the respondents.
    const Flat flat = Count(-1);
    EXPECT_EQ(flat.counts, (Doubles{3, 4, 4, 0, 3, 4, 4, 0}));
    EXPECT_EQ(flat.respondents, 6);
    EXPECT_EQ(flat.total, 7);

    // A unit filter keeps interviews 1 and 4.
    CMoteurTableau engine(context);
    Flat filtered;
    std::string error;
    const std::vector<std::uint8_t> filter = {1, 0, 0, 1, 0, 0, 0};
    ASSERT_TRUE(engine.CompterModalites(Named("ACHATS"), filtered.counts, filtered.respondents, filtered.total,
                                        kPurchasesMap, 0, -1, -1, error, &filter));
    EXPECT_EQ(filtered.counts, (Doubles{1, 1, 0, 0, 1, 1, 0, 0}));
    EXPECT_EQ(filtered.respondents, 1);
    EXPECT_EQ(filtered.total, 2);
}

TEST_F(MoteurTableauTest, StudyFieldsOfTwoConditionsWeighTheHandCountedUnits) {
    AddPainAndAge(40, 1); // AND: interview 7 only
    AddPainAndAge(41, 0); // OR: every interview but 3
    AddWomen(42);
    const Flat both = Count(40);
    // Units outside the field are iterated but add 0 everywhere, to the unweighted counts too.
    EXPECT_EQ(both.counts, (Doubles{1, 1, 1, 0, 1, 1, 1, 0}));
    EXPECT_EQ(both.respondents, 1);
    EXPECT_EQ(both.total, 1);
    const Flat either = Count(41);
    EXPECT_EQ(either.counts, (Doubles{3, 4, 3, 0, 3, 4, 3, 0}));
    EXPECT_EQ(either.respondents, 5);
    EXPECT_EQ(either.total, 6);
    const Flat women = Count(42);
    EXPECT_EQ(women.counts, (Doubles{1, 3, 2, 0, 1, 3, 2, 0}));
    EXPECT_EQ(women.respondents, 3);
    EXPECT_EQ(women.total, 4);
}

TEST_F(MoteurTableauTest, AnEmptyStudyFieldGivesZeroWeightsAndZeroCountsNeverNaN) {
    CChampEtude nobody;
    SetCondition(nobody, 0, "ACHATS", 0, {}); // at least one of nothing
    nobody.connectors = {1, 1, 1};
    AddField(43, nobody);
    CMoteurTableau engine(context);
    CVecteurPoids* weights = nullptr;
    std::string error;
    ASSERT_TRUE(engine.DonnerPoidsInterviews(0, 43, -1, weights, error)) << error;
    for (int i = 0; i < weights->GetSize(); ++i)
        EXPECT_EQ(weights->GetAt(i), 0.0);
    engine.LibererPoids(0, 43, -1, weights);
    const Flat flat = Count(43);
    EXPECT_EQ(flat.counts, (Doubles{0, 0, 0, 0, 0, 0, 0, 0}));
    EXPECT_EQ(flat.respondents, 0);
    EXPECT_EQ(flat.total, 0);
    Doubles matrix;
    double total = -1;
    ASSERT_TRUE(engine.CroiserModalites(Named("ACHATS"), Named("SEXE"), matrix, total, kPurchasesMap, kSexMap, 0, 43,
                                        -1, error));
    for (double cell : matrix)
        EXPECT_FALSE(std::isnan(cell) || cell != 0.0);
}

TEST_F(MoteurTableauTest, FailuresLeaveNothingForTheCaller) {
    CChampEtude formula;
    formula.name = "Jeunes";
    formula.complexCondition = true;
    formula.complexConditionText = "AGE < 30";
    AddField(44, formula);
    CMoteurTableau engine(context);
    Doubles counts = {9};
    double respondents = 9, total = 9;
    std::string error;
    // A study field given by a formula: refused with its message, never "everyone".
    EXPECT_FALSE(engine.CompterModalites(Named("ACHATS"), counts, respondents, total, kPurchasesMap, 0, 44, -1, error));
    EXPECT_NE(error.find("'Jeunes'"), std::string::npos) << error;
    EXPECT_TRUE(counts.empty());
    // A weighting that cannot be computed.
    error.clear();
    EXPECT_FALSE(engine.CompterModalites(Named("ACHATS"), counts, respondents, total, kPurchasesMap, 0, -1, 77, error));
    EXPECT_FALSE(error.empty());
    EXPECT_TRUE(counts.empty());
    // A level that does not exist.
    error.clear();
    EXPECT_FALSE(engine.CompterModalites(Named("ACHATS"), counts, respondents, total, kPurchasesMap, 5, -1, -1, error));
    EXPECT_FALSE(error.empty());
    EXPECT_TRUE(counts.empty());
    EXPECT_EQ(context.GetWeightCache()->GetOutsideLoanCount(), 0);
}

TEST_F(MoteurTableauTest, AnswerPositionsByHand) {
    CMoteurTableau engine(context);
    Doubles counts;
    double respondents = 0;
    std::string error;
    ASSERT_TRUE(engine.CompterRangs(Named("ACHATS"), counts, kPurchasesMap, respondents, 0, -1, -1, error)) << error;
    // Rows Pain, Lait, Fruits, not asked; columns the three answer positions.
    EXPECT_EQ(counts, (Doubles{3, 0, 0, /**/ 2, 2, 0, /**/ 1, 2, 1, /**/ 0, 0, 0}));
    EXPECT_EQ(respondents, 6);
}

TEST_F(MoteurTableauTest, GroupsCountAUnitOnceUnlessEveryOccurrenceCounts) {
    CMoteurTableau engine(context);
    Doubles counts;
    double respondents = 0, total = 0;
    std::string error;
    ASSERT_TRUE(engine.CompterGroupes(Named("ACHATS"), *FoodGrouping(false), 0, counts, respondents, total, 0, -1, -1,
                                      error))
        << error;
    EXPECT_EQ(counts, (Doubles{5, 4}));
    EXPECT_EQ(respondents, 6);
    EXPECT_EQ(total, 7);
    ASSERT_TRUE(engine.CompterGroupes(Named("ACHATS"), *FoodGrouping(true), 0, counts, respondents, total, 0, -1, -1,
                                      error));
    EXPECT_EQ(counts, (Doubles{7, 4})); // interviews 1 and 7 bought both Pain and Lait
    // Level 1 groups: Pain and Lait.
    ASSERT_TRUE(engine.CompterGroupes(Named("ACHATS"), *FoodGrouping(false), 1, counts, respondents, total, 0, -1, -1,
                                      error));
    EXPECT_EQ(counts, (Doubles{3, 4}));
    EXPECT_EQ(respondents, 5);
}

TEST_F(MoteurTableauTest, CrossOfTwoQuestionsWithMarginsAndRespondentMarks) {
    CMoteurTableau engine(context);
    Doubles matrix;
    double total = 0;
    std::string error;
    CMoteurTableau::MarquesRepondants marks;
    ASSERT_TRUE(engine.CroiserModalites(Named("ACHATS"), Named("SEXE"), matrix, total, kPurchasesMap, kSexMap, 0, -1,
                                        -1, error, &marks))
        << error;
    // Interview 1 (Pain and Lait, Homme) adds to two cells, to both row margins, once to the
    // Homme margin and once to the total; interview 4 has no kept pair.
    EXPECT_EQ(matrix, (Doubles{2, 1, 0, 3,  // Pain
                               1, 3, 0, 4,  // Lait
                               2, 2, 0, 4,  // Fruits
                               0, 0, 0, 0,  // not asked
                               3, 3, 0, 6})); // column margins, total
    EXPECT_EQ(total, 6);
    EXPECT_EQ(marks[0], (std::vector<std::uint8_t>{1, 1, 1, 0, 1, 1, 1}));

    ASSERT_TRUE(engine.CroiserGroupes(Named("ACHATS"), Named("SEXE"), *FoodGrouping(false), 0, matrix, total, kSexMap,
                                      0, -1, -1, error))
        << error;
    EXPECT_EQ(matrix, (Doubles{2, 3, 0, 5, /**/ 2, 2, 0, 4, /**/ 3, 3, 0, 6}));
    EXPECT_EQ(total, 6);

    AddWomen(45);
    ASSERT_TRUE(engine.CroiserModalites(Named("ACHATS"), Named("SEXE"), matrix, total, kPurchasesMap, kSexMap, 0, 45,
                                        -1, error));
    EXPECT_EQ(matrix, (Doubles{0, 1, 0, 1, /**/ 0, 3, 0, 3, /**/ 0, 2, 0, 2, /**/ 0, 0, 0, 0, /**/ 0, 3, 0, 3}));
}

TEST_F(MoteurTableauTest, WeightCacheKeepsFieldVectorsAndNeverFreesOneWhileBorrowed) {
    AddWomen(46);
    CCacheDonnees3& cache = *context.GetWeightCache();
    CMoteurTableau engine(context);
    std::string error;
    // No field and no weighting: ones, lent without being kept.
    CVecteurPoids* ones = nullptr;
    ASSERT_TRUE(engine.DonnerPoidsInterviews(0, -1, -1, ones, error));
    EXPECT_EQ(ones->GetSize(), 7);
    EXPECT_EQ(ones->GetAt(3), 1.0);
    EXPECT_EQ(cache.GetOutsideLoanCount(), 1);
    engine.LibererPoids(0, -1, -1, ones);
    EXPECT_EQ(cache.GetOutsideLoanCount(), 0);
    CObjetDonnees* found = nullptr;
    EXPECT_FALSE(cache.Chercher(0, -1, -1, found));

    // A field's vector is kept under (level, field, weighting) and found again.
    CVecteurPoids* first = nullptr;
    CVecteurPoids* second = nullptr;
    ASSERT_TRUE(engine.DonnerPoidsInterviews(0, 46, -1, first, error)) << error;
    ASSERT_TRUE(engine.DonnerPoidsInterviews(0, 46, -1, second, error));
    EXPECT_EQ(first, second);
    EXPECT_EQ(cache.GetUseCountAt(0), 2);
    engine.LibererPoids(0, 46, -1, second);
    EXPECT_EQ(cache.GetUseCountAt(0), 1);

    // The field changes while the vector is borrowed: it leaves the cache but stays readable
    // until its last give-back.
    AddWomen(46);
    EXPECT_EQ(cache.GetOutsideLoanCount(), 1);
    EXPECT_EQ(first->GetAt(0), 0.0);
    EXPECT_EQ(first->GetAt(1), 1.0);
    engine.LibererPoids(0, 46, -1, first);
    EXPECT_EQ(cache.GetOutsideLoanCount(), 0);
    EXPECT_FALSE(cache.Chercher(0, 46, -1, found));
}

TEST_F(MoteurTableauTest, AWeightingIsComputedOnceAndReusedForEveryStudyField) {
    // SEXE raked to 50 / 50 over 7 interviews: each of the 3 men weighs 3.5 / 3, each of the 4
    // women 3.5 / 4 (hand computation; tolerance 1e-9).
    CObjectifRedressement root;
    auto target = std::make_unique<CObjectifRedressement>(&Named("SEXE"));
    target->SetObjectif(0, 50.0);
    target->SetObjectif(1, 50.0);
    root.AjouterObjectif(std::move(target));
    CRedressement scheme;
    scheme.id = 7;
    scheme.name = "Sexe";
    scheme.definition = "0@@0~" + root.EcrireDefinition(context, false, 0);
    context.MettreAJourRedressement(scheme);
    AddWomen(47);

    const Flat weighted = Count(-1, 7);
    ASSERT_EQ(weighted.counts.size(), 8u);
    // Pain: interviews 1, 5 (men) and 7 (a woman).
    EXPECT_NEAR(weighted.counts[0], 2 * 3.5 / 3 + 3.5 / 4, 1e-9);
    EXPECT_NEAR(weighted.total, 7.0, 1e-9);
    EXPECT_EQ(weighted.counts[4], 3.0);
    CObjetDonnees* found = nullptr;
    CCacheDonnees3& cache = *context.GetWeightCache();
    ASSERT_TRUE(cache.Chercher(0, -1, 7, found));
    cache.Liberer(0, -1, 7, found);

    const Flat women = Count(47, 7);
    EXPECT_NEAR(women.counts[1], 3 * 3.5 / 4, 1e-9); // Lait: interviews 2, 6, 7
    EXPECT_NEAR(women.total, 3.5, 1e-9);
    ASSERT_TRUE(cache.Chercher(0, 47, 7, found));
    cache.Liberer(0, 47, 7, found);
}

// A weighting by AGE alone: the answered ages are the weights (their sum, 200, is the total) and
// the unanswered interviews 3 and 5 weigh nothing. Women (interviews 2, 4, 6, 7) keep theirs
// under the study field. The values stay right when the cache gives the memory of evicted
// vectors to new ones, and the weighting kept for the fields is never changed by them.
TEST_F(MoteurTableauTest, WeightsOfAFieldUnderAWeightingStayRightAsTheCacheReusesItsVectors) {
    std::int32_t code = 0;
    std::string keys;
    std::int32_t recode = 0;
    CEnquete::DonnerReferenceQuestion(&Named("AGE"), code, keys, recode);
    CRedressement scheme;
    scheme.id = 8;
    scheme.name = "Age";
    scheme.definition = std::to_string(code) + "@" + keys + "@" + std::to_string(recode) + "~" +
                        CObjectifRedressement().EcrireDefinition(context, false, 0);
    context.MettreAJourRedressement(scheme);
    AddWomen(47);
    const Doubles ages = {20, 35, 0, 50, 0, 35, 60};
    const Doubles women = {0, 35, 0, 50, 0, 35, 60};
    CMoteurTableau engine(context);
    const auto weightsOf = [&](std::int32_t field, std::int32_t weighting) {
        CVecteurPoids* weights = nullptr;
        std::string error;
        EXPECT_TRUE(engine.DonnerPoidsInterviews(0, field, weighting, weights, error)) << error;
        Doubles values;
        if (weights == nullptr)
            return values;
        for (int i = 0; i < weights->GetSize(); ++i)
            values.push_back(weights->GetAt(i));
        engine.LibererPoids(0, field, weighting, weights);
        return values;
    };
    for (int round = 0; round < 3; ++round) {
        EXPECT_EQ(weightsOf(47, 8), women) << round;
        EXPECT_EQ(weightsOf(-1, 8), ages) << round;
        EXPECT_EQ(weightsOf(47, -1), (Doubles{0, 1, 0, 1, 0, 1, 1})) << round;
        EXPECT_EQ(weightsOf(-1, -1), (Doubles{1, 1, 1, 1, 1, 1, 1})) << round;
        // More fields than the cache has slots: the vectors above are evicted and their memory
        // taken by the next ones.
        for (std::int32_t field = 60; field < 60 + context.GetWeightCache()->GetSlotCount(); ++field) {
            AddPainAndAge(field, 1); // Pain and AGE >= 35: interview 7
            EXPECT_EQ(weightsOf(field, 8), (Doubles{0, 0, 0, 0, 0, 0, 60})) << round;
        }
    }
    EXPECT_EQ(context.GetWeightCache()->GetOutsideLoanCount(), 0);
}

TEST_F(MoteurTableauTest, MarkerKindOfEachPlane) {
    const std::vector<std::pair<int, int>> cases = {{0, 0}, {1, 1}, {2, 1}, {3, 1}, {4, 3},
                                                    {5, 0}, {6, 2}, {7, 2}, {8, 0}, {-1, 0}};
    for (const auto& [plane, kind] : cases)
        EXPECT_EQ(CMoteurTableau::DonnerTypeMarqueur(plane), kind) << plane;
}

} // namespace
