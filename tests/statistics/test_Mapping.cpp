#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "app/ModaliteEtendue.h"
#include "app/QuestionEtendue.h"
#include "statistics/Mapping.h"
#include "statistics/MappingSource.h"
#include "tabulation/FonctionsStatistiques.h"

// Colours are 0x00BBGGRR. Expected mixtures are worked by hand from the three colours: blue
// (R 0, G 0, B 255), grey (127, 127, 127) and red (255, 0, 0), each channel truncated.
namespace {

constexpr std::uint32_t kBlue = 0xFF0000;
constexpr std::uint32_t kGrey = 0x7F7F7F;
constexpr std::uint32_t kRed = 0x0000FF;
constexpr std::uint32_t kStart = 0x00AA00;

class ValuesSource : public CMappingSource {
public:
    std::vector<double> values;
    std::vector<double> modalities;
    std::vector<double> DonnerCoordonnees(int, int) const override { return values; }
    std::vector<double> DonnerQualites(int, int) const override { return values; }
    std::vector<double> DonnerContributions(int, int) const override { return values; }
    std::vector<double> DonnerModalite(CQuestionEtendue&) const override { return modalities; }
    std::vector<double> DonnerValeur(CQuestionEtendue&) const override { return values; }
    CLigne DonnerLigne(std::int32_t genre, std::int32_t, std::int32_t index) const override {
        return CLigne("genre " + std::to_string(genre) + " point " + std::to_string(index));
    }
};

CMapping MapOf(const ValuesSource& source, int points) {
    CMapping map(2, 0, 1, &source);
    map.nombreLignes = points;
    CPresentationMappingLigne rows;
    rows.SetCouleur(kStart);
    rows.SetTailleSymbole(4);
    map.presentation.SetPointSet(CPresentationMapping::kRowPoints, rows);
    return map;
}

// A closed question of `count` modalities (no computed definition, so it counts an "other"
// modality), with or without the no-answer modality at its end.
std::unique_ptr<CQuestionEtendue> ClosedQuestion(int count, bool noAnswer) {
    auto question = std::make_unique<CQuestionEtendue>(nullptr);
    question->kind = 1;
    question->type = 1;
    question->hasNoAnswer = noAnswer ? 1 : 0;
    for (int i = 0; i < count; ++i)
        question->AddModalite(std::make_unique<CModaliteEtendue>(nullptr));
    return question;
}

TEST(MappingWindow, BoundingAndSymmetricWindows) {
    struct Case {
        const char* name;
        std::vector<double> rows;    // x, y per point
        std::vector<double> columns;
        std::int16_t symmetric;
        BoiteMapping box;
        double stepX, stepY, scaleX, scaleY;
    } cases[] = {
        {"within [-0.35, 0.28]", {-0.35, 0.28, 0.28, -0.35}, {}, 0, {-0.4, -0.4, 0.3, 0.3}, 0.1, 0.1, 1, 1},
        {"positive quadrant reaches below the origin", {1, 2, 3, 4}, {}, 0, {-1, -1, 4, 5}, 1, 1, 1, 1},
        // 0.2 × 60 = 12: the step is 10.
        {"columns widen a bounding window", {0.5, 0.5}, {-60, 0.5}, 0, {-70, -1, 10, 1}, 10, 1, 1, 1},
        {"symmetric rows within [-1.2, 2.7]", {-1.2, 0.45, 2.7, -0.45}, {-9, 9}, 1, {-3, -0.5, 3, 0.5}, 1, 0.1, 2.4, 0.4},
    };
    for (const Case& c : cases) {
        CMapping map(2, 0, 1, nullptr);
        map.coordonneesLignes = c.rows.data();
        map.nombreLignes = static_cast<std::int32_t>(c.rows.size() / 2);
        map.coordonneesColonnes = c.columns.data();
        map.nombreColonnes = static_cast<std::int32_t>(c.columns.size() / 2);
        map.fenetreSymetrique = c.symmetric;
        BoiteMapping box;
        GraduationMapping ticks;
        map.CalculerFenetre(box, ticks);
        EXPECT_NEAR(box.xMin, c.box.xMin, 1e-12) << c.name;
        EXPECT_NEAR(box.yMin, c.box.yMin, 1e-12) << c.name;
        EXPECT_NEAR(box.xMax, c.box.xMax, 1e-12) << c.name;
        EXPECT_NEAR(box.yMax, c.box.yMax, 1e-12) << c.name;
        EXPECT_NEAR(ticks.pasX, c.stepX, 1e-12) << c.name;
        EXPECT_NEAR(ticks.pasY, c.stepY, 1e-12) << c.name;
        EXPECT_NEAR(ticks.echelleColonnesX, c.scaleX, 1e-12) << c.name;
        EXPECT_NEAR(ticks.echelleColonnesY, c.scaleY, 1e-12) << c.name;
    }
}

TEST(MappingPoints, PointsAndLabelsComeFromTheirSet) {
    const std::vector<double> rows = {1, 2, 3, 4, 5, 6};
    CMapping map(3, 2, 0, nullptr);
    map.coordonneesLignes = rows.data();
    map.nombreLignes = 2;
    map.nombreColonnes = 7;
    double x = 0;
    double y = 0;
    map.DonnerPoint(CMapping::kLignes, 1, x, y);
    EXPECT_EQ(x, 6);
    EXPECT_EQ(y, 4);
    EXPECT_EQ(map.DonnerNombrePoints(0), 2);
    EXPECT_EQ(map.DonnerNombrePoints(1), 7);
    EXPECT_EQ(map.DonnerNombrePoints(2), 0);
}

struct ColourCase {
    const char* name;
    std::int32_t mode;
    std::vector<double> values;
    std::vector<std::uint32_t> expected;
};

TEST(MappingColours, ContinuousModes) {
    // Nine values at 0 and one at 10: mean 1, deviation 3, so 10 is past m + 2s = 7 (red) and 0,
    // below the mean, lies 5/6 of the way from blue to grey: (105, 105, 148). Mirrored: 0 lies a
    // sixth of the way from grey to red: (148, 105, 105). -2, 0, 2: mean 0, 2s = 3.26599, so -2
    // is at t = 0.387628 from blue to grey (49, 49, 205) and 2 at t = 0.612372 from grey to red
    // (205, 49, 49). A missing value keeps the start colour; equal values are all grey.
    const std::vector<double> high = {0, 0, 0, 0, 0, 0, 0, 0, 0, 10};
    const std::vector<double> low = {0, 0, 0, 0, 0, 0, 0, 0, 0, -10};
    std::vector<std::uint32_t> highColours(9, 0x946969);
    highColours.push_back(kRed);
    std::vector<std::uint32_t> lowColours(9, 0x696994);
    lowColours.push_back(kBlue);
    const ColourCase cases[] = {
        {"coordinates, one high point", CParamBrushing::kCoordonnees, high, highColours},
        {"qualities, one low point", CParamBrushing::kQualites, low, lowColours},
        {"contributions with a missing value at the mean",
         CParamBrushing::kContributions,
         {-2, kValeurManquante, 0, 2},
         {0xCD3131, kStart, kGrey, 0x3131CD}},
        {"all equal", CParamBrushing::kCoordonnees, {3, 3, 3}, {kGrey, kGrey, kGrey}},
        {"no mode", CParamBrushing::kAucun, {1, 2, 3}, {kStart, kStart, kStart}},
    };
    for (const ColourCase& c : cases) {
        ValuesSource source;
        source.values = c.values;
        CMapping map = MapOf(source, static_cast<int>(c.values.size()));
        map.brushing[0].mode = c.mode;
        EXPECT_EQ(map.CalculerCouleurs(CMapping::kLignes), c.expected) << c.name;
    }
}

TEST(MappingColours, CategoricalFormulasDivideInReals) {
    // Five modalities of which one counts as "other": K = 4, centre (K + 1) / 2 - 1 = 1.5.
    // v = 1 is half-way from blue to grey: (63, 63, 191); v = 2 half-way from grey to red:
    // (191, 63, 63); v = 3 red; v = 4 = K grey; -5 (no modality) keeps its colour.
    auto question = ClosedQuestion(5, false);
    ValuesSource source;
    source.modalities = {0, 1, 2, 3, 4, -5};
    CMapping map = MapOf(source, 6);
    map.brushing[0].mode = CParamBrushing::kQuestion;
    map.brushing[0].question = question.get();
    EXPECT_EQ(map.CalculerCouleurs(CMapping::kLignes),
              (std::vector<std::uint32_t>{kBlue, 0xBF3F3F, 0x3F3FBF, kRed, kGrey, kStart}));

    // With the no-answer modality too: K = 3, centre 1: 0 blue, 1 grey, 2 red.
    auto withNoAnswer = ClosedQuestion(5, true);
    source.modalities = {0, 1, 2};
    CMapping three = MapOf(source, 3);
    three.brushing[0].mode = CParamBrushing::kQuestion;
    three.brushing[0].question = withNoAnswer.get();
    EXPECT_EQ(three.CalculerCouleurs(CMapping::kLignes), (std::vector<std::uint32_t>{kBlue, kGrey, kRed}));
}

// A question of one modality leaves nothing to tell apart: every point takes the middle colour and
// the middle size (trunc(2 + 13 / 2) = 8), and nothing divides by zero.
TEST(MappingColours, AQuestionOfOneModalityGivesTheMiddle) {
    auto question = ClosedQuestion(1, false);
    ValuesSource source;
    source.modalities = {0, 0, -5};
    CMapping map = MapOf(source, 3);
    map.brushing[0].mode = CParamBrushing::kQuestion;
    map.brushing[0].question = question.get();
    map.sizing[0].mode = CParamBrushing::kQuestion;
    map.sizing[0].question = question.get();
    EXPECT_EQ(map.CalculerCouleurs(CMapping::kLignes), (std::vector<std::uint32_t>{kGrey, kGrey, kStart}));
    EXPECT_EQ(map.CalculerTailles(CMapping::kLignes), (std::vector<std::int32_t>{8, 8, 4}));
}

TEST(MappingSizes, ContinuousAndCategoricalModes) {
    struct Case {
        const char* name;
        std::int32_t mode;
        bool closed;
        std::vector<double> values;
        std::vector<std::int32_t> expected;
    } cases[] = {
        // Mean 20, deviation √(200/3) = 8.165: 20 is half-way, trunc(2 + 13 / 2) = 8.
        {"quality at the mean", CParamBrushing::kQualites, false, {10, 20, 30}, {4, 8, 12}},
        // Mean 2, deviation 1: 1 and 3 lie at a quarter and three quarters of 4s.
        {"missing value keeps its size", CParamBrushing::kCoordonnees, false, {kValeurManquante, 1, 3}, {4, 5, 11}},
        {"all equal take the middle size", CParamBrushing::kContributions, false, {5, 5}, {8, 8}},
        // Five modalities, the "other" not subtracted: K = 5, size trunc(2 + 13 v / 4).
        {"modalities", CParamBrushing::kQuestion, true, {0, 1, 2, 4, -5}, {2, 5, 8, 15, 4}},
    };
    auto question = ClosedQuestion(5, false);
    for (const Case& c : cases) {
        ValuesSource source;
        (c.closed ? source.modalities : source.values) = c.values;
        CMapping map = MapOf(source, static_cast<int>(c.values.size()));
        map.sizing[0].mode = c.mode;
        map.sizing[0].question = question.get();
        EXPECT_EQ(map.CalculerTailles(CMapping::kLignes), c.expected) << c.name;
    }
}

TEST(MappingSource, LabelsAndResultColumns) {
    ValuesSource source;
    const CLigne* first = source.Label(2, 0, 5);
    EXPECT_EQ(first->label, "genre 2 point 5");
    const CLigne* second = source.Label(1, 0, 7);
    EXPECT_EQ(first, second) << "one record, overwritten by the next label";
    EXPECT_EQ(first->label, "genre 1 point 7");

    const std::vector<double> table = {1, 2, 3, 4, 5, 6}; // 3 points × 2 axes
    EXPECT_EQ(CMappingSource::ColonneResultats(table, 3, 2, 1), (std::vector<double>{2, 4, 6}));
    EXPECT_TRUE(CMappingSource::ColonneResultats(table, 3, 2, 2).empty());
    EXPECT_EQ(CMappingSource::ColonneContributions({1, 2, 3, 4}, 2, 3, 2, 0),
              (std::vector<double>{1, 3, kValeurManquante}));

    struct Defaults : CMappingSource {} defaults;
    EXPECT_TRUE(defaults.DonnerCoordonnees(0, 0).empty());
    EXPECT_FALSE(defaults.DonnerQuestion());
    EXPECT_EQ(defaults.DonnerLibelleLigne(0), "");
}

} // namespace
