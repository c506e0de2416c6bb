// The values the engine derives from its counts on the seven-interview purchases fixture: the ten
// values of a flat table, the statistics of a numeric question and its means within modalities.
// Every expected number is worked out by hand from the table in ChampEtudeTestSupport.h.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "app/CacheDonnees3.h"
#include "app/Redressement.h"
#include "recodes/ChampEtudeTestSupport.h"
#include "recodes/ObjectifRedressement.h"
#include "tabulation/FonctionsStatistiques.h"
#include "tabulation/MoteurTableau.h"

using namespace champ_etude_test;
using namespace NumericStatistics;

namespace {

using Doubles = std::vector<double>;
using Map = std::vector<std::uint16_t>;
constexpr std::uint16_t X = CMoteurTableau::kNotKept;
constexpr double M = kValeurManquante;
constexpr int kValues = CMoteurTableau::kFlatValueCount;

class MoteurTableauValeursTest : public PurchasesFixture {
protected:
    // SEXE raked to 50 / 50 as weighting 7: each of the 3 men weighs 7/6, each of the 4 women 7/8.
    void AddSexWeighting() {
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
    }

    // Nobody: at least one of no modality.
    void AddEmptyField(std::int32_t id) {
        CChampEtude nobody;
        SetCondition(nobody, 0, "ACHATS", 0, {});
        nobody.connectors = {1, 1, 1};
        AddField(id, nobody);
    }

    // ACHATS counted under the map and turned into the ten values of `lines` lines.
    Doubles FlatValues(const Map& map, int lines, int totalPosition, int nonResponsePosition,
                       std::int32_t field = -1, std::int32_t weighting = -1) {
        CMoteurTableau engine(context);
        Doubles counts;
        double respondents = 0, total = 0;
        std::string error;
        EXPECT_TRUE(engine.CompterModalites(Named("ACHATS"), counts, respondents, total, map, 0, field, weighting,
                                            error))
            << error;
        Doubles values;
        engine.CalculerValeursTri(values, counts, respondents, total, lines, 4, map, totalPosition,
                                  nonResponsePosition);
        return values;
    }
};

void ExpectLine(const Doubles& values, int line, const Doubles& expected, const char* label) {
    for (int k = 0; k < kValues; ++k) {
        const double got = values[static_cast<std::size_t>(line * kValues + k)];
        EXPECT_FALSE(std::isnan(got) || std::isinf(got)) << label << " line " << line << " value " << k;
        // Hand values are written to 4 decimals: tolerance 1e-4.
        EXPECT_NEAR(got, expected[static_cast<std::size_t>(k)], 1e-4) << label << " line " << line << " value " << k;
    }
}

// Pain 3, Lait 4, Fruits 4 (interviews 1-3 and 5-7 answered, interview 4 was not asked): R = 6,
// T = 7, S = 11. Bounds: 100 (p -/+ 1.96 sqrt(p (1 - p) / 6)), clamped to [0, 100].
TEST_F(MoteurTableauValeursTest, FlatValuesByHand) {
    struct Case {
        const char* label;
        Map map;
        int lines;
        int total;
        int nonResponse;
        std::int16_t totalType;
        std::vector<Doubles> expected; // by line
    };
    const Doubles pain = {3, 50, 27.2727, 50, 27.2727, 42.8571, 9.9917, 90.0083, 1, 100};
    const Doubles lait = {4, 66.6667, 63.6364, 66.6667, 36.3636, 57.1429, 28.9465, 100, 1, 100};
    const Doubles fruits = {4, 66.6667, 100, 66.6667, 36.3636, 57.1429, 28.9465, 100, 1, 100};
    const std::vector<Case> cases = {
        {"Total first, over answers", {1, 2, 3, X}, 4, 0, -1, 0,
         {{11, 183.3333, M, 183.3333, 100, 85.7143, 100, 100, M, 100}, pain, lait, fruits}},
        {"Total over all units", {1, 2, 3, X}, 4, 0, -1, 1,
         {{7, 100, M, 183.3333, 100, 85.7143, 100, 100, M, 100}, pain, lait, fruits}},
        {"no Total line, a blank line between", {0, 2, 3, X}, 4, -1, -1, 0,
         {pain, {0, 0, 27.2727, 0, 0, 0, 0, 0, 0, 100}, lait, fruits}},
        // The "not asked" modality (interview 4) shown on the non-response line: R = T = 7, S = 12,
        // N = 1, so value 3 divides by 6 and the non-response line has none.
        {"a non-response line", {0, 1, 2, 4}, 5, 3, 4, 0,
         {{3, 42.8571, 25, 50, 25, 42.8571, 6.1965, 79.5177, 1, 100},
          {4, 57.1429, 58.3333, 66.6667, 33.3333, 57.1429, 20.4823, 93.8035, 1, 100},
          {4, 57.1429, 91.6667, 66.6667, 33.3333, 57.1429, 20.4823, 93.8035, 1, 100},
          {12, 171.4286, M, 183.3333, 100, 100, 100, 100, M, 100},
          {1, 14.2857, 100, M, 8.3333, 14.2857, 0, 40.2087, 1, 100}}},
    };
    for (const Case& c : cases) {
        context.TotalType = c.totalType;
        const Doubles values = FlatValues(c.map, c.lines, c.total, c.nonResponse);
        ASSERT_EQ(values.size(), static_cast<std::size_t>(c.lines * kValues)) << c.label;
        for (int line = 0; line < c.lines; ++line)
            ExpectLine(values, line, c.expected[static_cast<std::size_t>(line)], c.label);
    }
}

TEST_F(MoteurTableauValeursTest, AnEmptyStudyFieldGivesMissingValuesNeverNaN) {
    AddEmptyField(43);
    const Doubles values = FlatValues({1, 2, 3, X}, 4, 0, -1, 43);
    ASSERT_EQ(values.size(), 4u * kValues);
    ExpectLine(values, 0, {0, M, M, M, M, M, 100, 100, M, 100}, "empty field");
    for (int line = 1; line < 4; ++line)
        ExpectLine(values, line, {0, M, M, M, M, M, M, M, M, 100}, "empty field");
}

TEST_F(MoteurTableauValeursTest, MeanWeightOfAWeightedLine) {
    AddSexWeighting();
    const Doubles values = FlatValues({1, 2, 3, X}, 4, 0, -1, -1, 7);
    // Pain: two men and a woman, 2 x 7/6 + 7/8 over 3 interviews (tolerance 1e-9).
    EXPECT_NEAR(values[1 * kValues + 0], 7.0 / 3 + 7.0 / 8, 1e-9);
    EXPECT_NEAR(values[1 * kValues + 8], (7.0 / 3 + 7.0 / 8) / 3, 1e-9);
    EXPECT_EQ(values[0 * kValues + 8], M);
}

// AGE: 20, 35, non-response, 50, not asked, 35, 60.
TEST_F(MoteurTableauValeursTest, StatisticsOfANumericQuestionByHand) {
    struct Case {
        const char* label;
        std::int32_t weighting;
        double totalWeight;
        Statistics expected;
    };
    // Unweighted: W = 5, mean 40, centred squares 950 (variance 190), third moment 750, fourth
    // 331250, Gini 190 / (5 x 4 x 40). Weighted: kept weights 7/6 (20) and 7/8 (35, 50, 35, 60),
    // the non-response weighs 7/6. Tolerance 1e-4.
    const std::vector<Case> cases = {
        {"unweighted", -1, 6.0,
         {40, 13.7840, 5, 1, 200, 20, 60, 27.9178, 52.0822, 190, 35, 1.8352, 0.0573, 0.2375}},
        {"weighted", 7, 35.0 / 6,
         {38.75, 14.1973, 14.0 / 3, 7.0 / 6, 180.8333, 20, 60, 25.8688, 51.6312, 201.5625, 35, 1.7774, 0.1392,
          0.2452}},
    };
    AddSexWeighting();
    for (const Case& c : cases) {
        CMoteurTableau engine(context);
        Statistics record{};
        double totalWeight = -1;
        std::string error;
        ASSERT_TRUE(engine.CalculerStatistiquesQuestion(Named("AGE"), 0, -1, c.weighting, record, totalWeight, error))
            << error;
        EXPECT_NEAR(totalWeight, c.totalWeight, 1e-9) << c.label;
        for (int k = 0; k < kStatisticCount; ++k)
            EXPECT_NEAR(record[static_cast<std::size_t>(k)], c.expected[static_cast<std::size_t>(k)], 1e-4)
                << c.label << " statistic " << k;
    }
    EXPECT_EQ(context.GetWeightCache()->GetOutsideLoanCount(), 0);
}

TEST_F(MoteurTableauValeursTest, StatisticsOfNobodyAndFailures) {
    AddEmptyField(43);
    CMoteurTableau engine(context);
    Statistics record{};
    double totalWeight = -1;
    std::string error;
    ASSERT_TRUE(engine.CalculerStatistiquesQuestion(Named("AGE"), 0, 43, -1, record, totalWeight, error)) << error;
    EXPECT_EQ(totalWeight, 0.0);
    for (int k = 0; k < kStatisticCount; ++k)
        EXPECT_EQ(record[static_cast<std::size_t>(k)], k == kAnswerWeight || k == kNonResponseWeight ? 0.0 : M) << k;

    // A weighting that cannot be computed and a level that does not exist: the message, and a
    // record of missing values.
    for (const auto& [level, weighting] : {std::pair{0, 77}, std::pair{5, -1}}) {
        error.clear();
        record.fill(1.0);
        EXPECT_FALSE(engine.CalculerStatistiquesQuestion(Named("AGE"), level, -1, weighting, record, totalWeight,
                                                         error));
        EXPECT_FALSE(error.empty());
        EXPECT_EQ(totalWeight, 0.0);
        EXPECT_EQ(record[kMean], M);
    }
    EXPECT_EQ(context.GetWeightCache()->GetOutsideLoanCount(), 0);
}

// AGE within SEXE. Homme: interviews 1 (20), 3 (non-response), 5 (not asked, left out). Femme:
// 35, 50, 35, 60: mean 45, variance 112.5. Total: the five values, mean 40, variance 190. Homme
// against Femme: pooled s = sqrt(112.5 x 3 / 3), t = (20 - 45) / s / sqrt(1/4 + 1) = -2.1082, so
// -2 with the default thresholds, and +2 the other way.
TEST_F(MoteurTableauValeursTest, MeansWithinModalitiesByHand) {
    CMoteurTableau engine(context);
    Doubles records;
    double total = -1;
    std::string error;
    CMoteurTableau::MarquesRepondants marks;
    ASSERT_TRUE(engine.CalculerMoyennesModalites(Named("SEXE"), Named("AGE"), records, total, {0, 1, X}, 0, -1, -1,
                                                 error, &marks))
        << error;
    ASSERT_EQ(records.size(), 4u * kMeanRecordSize);
    EXPECT_EQ(total, 6.0);
    const double womenBound = 1.96 * std::sqrt(112.5) / 2;
    const double totalBound = 1.96 * std::sqrt(190.0 / 5);
    const std::vector<Doubles> expected = {
        {20, 0, 1, 1, 20, 20, 20, 20, 20, 0, -2},
        {45, std::sqrt(112.5), 4, 0, 180, 35, 60, 45 - womenBound, 45 + womenBound, 112.5, 2},
        // The "not asked" modality of SEXE is not kept and nobody holds it.
        {M, M, 0, 0, 0, M, M, M, M, M, 0},
        {40, std::sqrt(190.0), 5, 1, 200, 20, 60, 40 - totalBound, 40 + totalBound, 190, 0},
    };
    for (std::size_t r = 0; r < expected.size(); ++r)
        for (std::size_t k = 0; k < static_cast<std::size_t>(kMeanRecordSize); ++k)
            EXPECT_NEAR(records[r * kMeanRecordSize + k], expected[r][k], 1e-9) << "record " << r << " entry " << k;
    EXPECT_EQ(marks[0], (std::vector<std::uint8_t>{1, 1, 1, 1, 0, 1, 1}));

    // Failures leave nothing and no mark for the caller.
    CMoteurTableau::MarquesRepondants none;
    EXPECT_FALSE(engine.CalculerMoyennesModalites(Named("SEXE"), Named("AGE"), records, total, {0, 1, X}, 0, -1, 77,
                                                  error, &none));
    EXPECT_FALSE(error.empty());
    EXPECT_TRUE(records.empty());
    EXPECT_TRUE(none.empty());
    EXPECT_EQ(context.GetWeightCache()->GetOutsideLoanCount(), 0);
}

TEST_F(MoteurTableauValeursTest, CrossPlanesUseTheSignificanceSettingsOfTheSurvey) {
    // ACHATS by SEXE, every answer kept, no Total line or column.
    CMoteurTableau engine(context);
    Doubles matrix;
    double total = 0;
    std::string error;
    ASSERT_TRUE(engine.CroiserModalites(Named("ACHATS"), Named("SEXE"), matrix, total, {0, 1, 2, X}, {0, 1, X}, 0,
                                        -1, -1, error));
    const std::vector<std::int16_t> rows = {0, 1, 2, -1};
    const std::vector<std::int16_t> columns = {0, 1, -1};
    const auto planes = [&](double threshold) {
        context.SignificanceType = 0;
        context.EffectifSignificativite = 0;
        context.SignificanceThreshold1 = threshold;
        context.SignificanceThreshold2 = threshold + 10;
        context.SignificanceThreshold3 = threshold + 20;
        Doubles out;
        engine.CalculerPourcentages(out, matrix, 3, 4, rows, -1, 2, 3, columns, -1);
        return out;
    };
    // Pain by Homme: 2 of 3 men, z over independence is some value above 0; a threshold of 0
    // marks it +1, a threshold above any z leaves it unmarked.
    const std::size_t painMen = (4 * 3 + 0) * 2 + 0; // plane 4, line 0, column 0
    const std::size_t painMenZ = (6 * 3 + 0) * 2 + 0;
    const Doubles low = planes(0.0);
    ASSERT_GT(low[painMenZ], 0.0);
    EXPECT_EQ(low[painMen], 1.0);
    EXPECT_EQ(planes(100.0)[painMen], 0.0);
    double chi = 0, probability = 0;
    int freedom = 0;
    CMoteurTableau::CalculerKhiDeux(low, 3, 2, -1, -1, chi, freedom, probability);
    EXPECT_EQ(freedom, 2);
    EXPECT_GT(chi, 0.0);
}

} // namespace
