// Advanced tables computed end to end on a twelve-interview survey. Every expected number is
// computed by the test itself from the raw answers below, with its own loops: weights of the
// samples, crosses, flat counts, means, and the chi-square with its degrees of freedom and its
// probability (the upper tail through a series of the incomplete gamma function written here),
// never by the code under test.
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include "app/ChampEtude.h"
#include "app/ContexteEtude.h"
#include "app/ModaliteEtendue.h"
#include "app/QuestionEtendue.h"
#include "app/Redressement.h"
#include "app/StringTable.h"
#include "platform/questionnaire/ArchiveVersion.h"
#include "recodes/ObjectifRedressement.h"
#include "support/FixtureStudyTest.h"
#include "support/RecordingUserInterface.h"
#include "tabulation/AdvancedTableKernels.h"
#include "tabulation/CalculEvolue.h"
#include "tabulation/ExecuteurTraitement.h"
#include "tabulation/Fusion.h"
#include "tabulation/MatriceCreuse.h"
#include "tabulation/MoteurTableau.h"
#include "tabulation/Profil.h"
#include "tabulation/Style.h"
#include "tabulation/Tableau.h"
#include "tabulation/Traitement.h"

namespace {

constexpr double kMissing = CTableauBase::kValeurManquante;
constexpr int kNotAsked = -2;
constexpr int kTotal = -4;

// Questions in the order of the answers below: their codes in the questionnaire.
enum Q { SEXE = 0, AGE = 1, NOTE = 2, REGION = 3 };
constexpr std::array<const char*, 4> kNames = {"SEXE", "AGE", "NOTE", "REGION"};

// Answer codes per interview; -2: not asked (an empty field). NOTE's modalities are worth 2, 5
// and 9.
//   SEXE 1 Homme 2 Femme; AGE 1 Jeune 2 Adulte 3 Senior; NOTE 1 Mauvais 2 Moyen 3 Bon;
//   REGION 1 Nord 2 Sud.
const std::vector<std::array<int, 4>> kAnswers = {
    {1, 1, 1, 1}, {1, 2, 2, 1}, {1, 3, 3, 2}, {1, 1, 3, 2}, {2, 2, 1, 1},  {2, 3, 2, 1},
    {2, 1, 2, 2}, {2, 2, 3, 2}, {2, 3, 3, 1}, {1, 2, -2, 1}, {2, 1, 1, 1}, {1, 1, 2, 2},
};

double NoteValue(int code) { return code == 1 ? 2.0 : code == 2 ? 5.0 : code == 3 ? 9.0 : kMissing; }

std::string Description() {
    std::ostringstream text;
    text << R"(questionnaire "Evolue" language=fr
language 1036 fr "Français"
question 1 SEXE closed
  caption fr "Sexe"
  modality 1 fr "Homme"
  modality 2 fr "Femme"
question 2 AGE closed
  caption fr "Age"
  modality 1 fr "Jeune"
  modality 2 fr "Adulte"
  modality 3 fr "Senior"
question 3 NOTE closed
  caption fr "Note"
  modality 1 value=2 fr "Mauvais"
  modality 2 value=5 fr "Moyen"
  modality 3 value=9 fr "Bon"
question 4 REGION closed
  caption fr "Region"
  modality 1 fr "Nord"
  modality 2 fr "Sud"
records
Cle1,1;1,2;1,3;1,4;1
)";
    for (std::size_t i = 0; i < kAnswers.size(); ++i) {
        text << i + 1;
        for (int code : kAnswers[i])
            text << ',' << (code == kNotAsked ? std::string() : std::to_string(code));
        text << '\n';
    }
    text << "end\n";
    return text.str();
}

// ---- The samples and their weights, as the test knows them ----

constexpr std::int32_t kWomen = 40;   // study field: SEXE = Femme
constexpr std::int32_t kNobody = 41;  // study field that holds no interview
constexpr std::int32_t kRaking = 7;   // SEXE raked to 30 % of men, 70 % of women
constexpr std::int32_t kUnknownWeighting = 77;

// 12 interviews, 6 men and 6 women: raked, a man weighs 0.3 x 12 / 6 and a woman 0.7 x 12 / 6.
std::vector<double> Weights(std::int32_t field, std::int32_t weighting) {
    std::vector<double> weights;
    for (const auto& answers : kAnswers) {
        double w = 1.0;
        if (weighting == kRaking)
            w = answers[SEXE] == 1 ? 0.6 : 1.4;
        if (field == kWomen && answers[SEXE] != 2)
            w = 0.0;
        if (field == kNobody)
            w = 0.0;
        weights.push_back(w);
    }
    return weights;
}

// The cross of two questions over the selected codes (the Total left aside), units weighted.
struct Cross {
    std::vector<std::vector<double>> o;
    std::vector<double> m; // line margins
    std::vector<double> n; // column margins
    double N = 0.0;
};

Cross CrossOf(Q row, const std::vector<int>& rowCodes, Q column, const std::vector<int>& columnCodes,
              const std::vector<double>& w) {
    Cross x;
    x.o.assign(rowCodes.size(), std::vector<double>(columnCodes.size(), 0.0));
    x.m.assign(rowCodes.size(), 0.0);
    x.n.assign(columnCodes.size(), 0.0);
    for (std::size_t u = 0; u < kAnswers.size(); ++u)
        for (std::size_t a = 0; a < rowCodes.size(); ++a)
            for (std::size_t b = 0; b < columnCodes.size(); ++b)
                if (kAnswers[u][row] == rowCodes[a] && kAnswers[u][column] == columnCodes[b]) {
                    x.o[a][b] += w[u];
                    x.m[a] += w[u];
                    x.n[b] += w[u];
                    x.N += w[u];
                }
    return x;
}

// Regularised lower incomplete gamma P(s, x) by its power series, summed until the terms no
// longer change the sum.
double LowerGamma(double s, double x) {
    if (x <= 0.0)
        return 0.0;
    double term = 1.0 / s;
    double sum = term;
    for (int k = 1; k < 10000 && term > sum * 1e-17; ++k) {
        term *= x / (s + k);
        sum += term;
    }
    return std::exp(-x + s * std::log(x) - std::lgamma(s)) * sum;
}

struct ChiSquare {
    double value = 0.0;
    int df = 0;
    double upperTail = kMissing; // P(chi-square >= value); missing without a test
};

// Over the cells of expected count above 0; the degrees of freedom count the lines and columns
// that hold such a cell.
ChiSquare ChiSquareOf(const Cross& x) {
    ChiSquare chi;
    int lines = 0;
    int columns = 0;
    for (double m : x.m)
        lines += m > 0.0 ? 1 : 0;
    for (double n : x.n)
        columns += n > 0.0 ? 1 : 0;
    for (std::size_t a = 0; a < x.m.size(); ++a)
        for (std::size_t b = 0; b < x.n.size(); ++b) {
            const double e = x.N > 0.0 ? x.m[a] * x.n[b] / x.N : 0.0;
            if (e > 0.0)
                chi.value += (x.o[a][b] - e) * (x.o[a][b] - e) / e;
        }
    if (lines >= 2 && columns >= 2) {
        chi.df = (lines - 1) * (columns - 1);
        chi.upperTail = 1.0 - LowerGamma(chi.df / 2.0, chi.value / 2.0);
    }
    return chi;
}

// The weighted number of units that gave `code` to the question, and that gave any of `codes`.
double Answered(Q question, int code, const std::vector<double>& w) {
    double sum = 0.0;
    for (std::size_t u = 0; u < kAnswers.size(); ++u)
        sum += kAnswers[u][question] == code ? w[u] : 0.0;
    return sum;
}

// Weighted mean of NOTE's values over the units of that REGION (any region: 0).
double MeanNote(int region, const std::vector<double>& w) {
    double sum = 0.0;
    double weight = 0.0;
    for (std::size_t u = 0; u < kAnswers.size(); ++u) {
        const double v = NoteValue(kAnswers[u][NOTE]);
        if (v == kMissing || w[u] == 0.0 || (region != 0 && kAnswers[u][REGION] != region))
            continue;
        sum += w[u] * v;
        weight += w[u];
    }
    return sum / weight;
}

// ---- The kernels, watched ----

class CountingKernels : public AdvancedTableKernels {
public:
    using AdvancedTableKernels::AdvancedTableKernels;

    bool Croiser(CQuestionEtendue& rowQuestion, CQuestionEtendue& columnQuestion, std::vector<double>& matrix,
                 double& total, const std::vector<std::uint16_t>& rowMap, const std::vector<std::uint16_t>& columnMap,
                 const Sample& sample, std::string& error) override {
        crossSamples.push_back(sample);
        return AdvancedTableKernels::Croiser(rowQuestion, columnQuestion, matrix, total, rowMap, columnMap, sample,
                                             error);
    }
    bool Compter(CQuestionEtendue& question, std::vector<double>& counts, double& respondents, double& total,
                 const std::vector<std::uint16_t>& map, const Sample& sample, std::string& error) override {
        ++flatCounts;
        return AdvancedTableKernels::Compter(question, counts, respondents, total, map, sample, error);
    }
    bool MoyennesModalites(CQuestionEtendue& closedQuestion, CQuestionEtendue& numericQuestion,
                           std::vector<double>& records, double& total, const std::vector<std::uint16_t>& map,
                           const Sample& sample, std::string& error) override {
        ++means;
        return AdvancedTableKernels::MoyennesModalites(closedQuestion, numericQuestion, records, total, map, sample,
                                                       error);
    }
    bool StatistiquesQuestion(CQuestionEtendue& question, const Sample& sample, NumericStatistics::Statistics& record,
                              double& totalWeight, std::string& error) override {
        ++statistics;
        return AdvancedTableKernels::StatistiquesQuestion(question, sample, record, totalWeight, error);
    }

    std::vector<Sample> crossSamples;
    int flatCounts = 0;
    int means = 0;
    int statistics = 0;
};

// ---- Requests ----

struct Calc {
    std::int16_t type;
    std::int16_t position;
    std::int32_t kind;
    std::string label = {};
    std::string text = {};
    std::int32_t field = -1;
    std::int32_t weighting = -1;
};

const std::string kTestText = "khi2=??K?? ddl=??D?? p=??P?? pe=??PE?? n=??B??";

// Margins of counts in a leading column and percentages in a leading row, counts and column
// percentages in the cells, counts in a trailing column and row, the mean of the row question,
// the chi-square test.
const std::vector<Calc> kStyle = {
    {1, 0, 0},
    {1, 1, 1},
    {0, 2, 0},
    {0, 2, 2},
    {1, 2, 0, "Total effectifs"},
    {2, 1, 0},
    {3, 2, 0, "", kTestText},
};

class TableauxEvoluesTest : public FixtureStudyTest {
protected:
    void SetUp() override {
        FixtureStudyTest::SetUp();
        description = Description();
        OpenFixture(description.c_str(), "evolue");
        if (HasFatalFailure())
            return;
        AddWomenAndNobody();
        AddRaking();
        ui->shown.clear();
    }

    void AddWomenAndNobody() {
        CChampEtude women;
        women.id = kWomen;
        women.name = "Femmes";
        women.conditions[0].SetQuestion(&Named("SEXE"));
        women.conditions[0].SetModalites({1});
        women.connectors = {1, 1, 1};
        context.MettreAJourChampEtude(women);
        CChampEtude nobody;
        nobody.id = kNobody;
        nobody.name = "Personne";
        nobody.conditions[0].SetQuestion(&Named("SEXE"));
        nobody.conditions[0].SetModalites({}); // at least one of nothing
        nobody.connectors = {1, 1, 1};
        context.MettreAJourChampEtude(nobody);
    }

    void AddRaking() {
        CObjectifRedressement root;
        auto target = std::make_unique<CObjectifRedressement>(&Named("SEXE"));
        target->SetObjectif(0, 30.0);
        target->SetObjectif(1, 70.0);
        root.AjouterObjectif(std::move(target));
        CRedressement scheme;
        scheme.id = kRaking;
        scheme.name = "Sexe 30/70";
        scheme.definition = "0@@0~" + root.EcrireDefinition(context, false, 0);
        context.MettreAJourRedressement(scheme);
    }

    // Copies of the question's modalities of these codes (-4: the Total of the axis).
    void AddQuestion(CProfil& profile, Q question, const std::vector<int>& codes, int axis) {
        CQuestionEtendue& q = Named(kNames[question]);
        std::vector<std::unique_ptr<CModaliteEtendue>> chosen;
        for (int code : codes) {
            if (code == kTotal) {
                chosen.push_back(std::make_unique<CModaliteEtendue>(*context.DonnerModaliteTotal(axis)));
                continue;
            }
            const int index = q.TrouverModalite(code);
            EXPECT_GE(index, 0) << kNames[question] << " " << code;
            chosen.push_back(std::make_unique<CModaliteEtendue>(*q.GetModaliteEtendue(index)));
        }
        profile.Add(&q, chosen);
    }

    static std::unique_ptr<CStyle> StyleOf(const std::vector<Calc>& calcs) {
        auto style = std::make_unique<CStyle>();
        style->name = "Style";
        for (const Calc& c : calcs) {
            auto line = std::make_unique<CCalculEvolue>();
            line->type = c.type;
            line->position = c.position;
            line->code = c.kind;
            line->label = c.label;
            line->testLineText = c.text;
            line->studyFieldId = c.field;
            line->weightingId = c.weighting;
            style->Add(std::move(line));
        }
        return style;
    }

    std::unique_ptr<CTraitement> Request(const CProfil& rowProfile, const CProfil& columnProfile,
                                         const std::vector<Calc>& calcs,
                                         std::int16_t layout = CTypeFusion::kBlocksInColumns) {
        auto request = std::make_unique<CTraitement>();
        request->type = CTraitement::kTableauxEvolues;
        request->title = "Evolue";
        request->SetTypeAxe(CTraitement::kLignes, CTraitement::kAxeProfilFermees);
        request->SetTypeAxe(CTraitement::kColonnes, CTraitement::kAxeProfilFermees);
        request->SetProfilAxe(&rowProfile, CTraitement::kLignes);
        request->SetProfilAxe(&columnProfile, CTraitement::kColonnes);
        request->SetStyle(StyleOf(calcs));
        request->mergeOptions.Type = layout;
        request->mergeOptions.EstLibelleTraitement = 1;
        request->mergeOptions.IsEmptyLinePerQuestion = 0;
        request->mergeOptions.EstTableauParLigne = 0;
        request->mergeOptions.EstTableauParColonne = 0;
        request->presentation.SetReel(6);
        request->presentation.SetPourcentage(4);
        return request;
    }

    // Rows NOTE (Mauvais, Moyen, Bon) and AGE (Jeune, Adulte, Senior, Non interrogé), columns
    // REGION (Nord, Sud) and SEXE (Homme, Femme, Total).
    void StandardProfiles() {
        AddQuestion(rows, NOTE, kNoteCodes, 0);
        AddQuestion(rows, AGE, kAgeCodes, 0);
        AddQuestion(columns, REGION, kRegionCodes, 1);
        AddQuestion(columns, SEXE, {1, 2, kTotal}, 1);
    }

    // The table of the request as a whole, counted through the watched kernels; null when none
    // came out.
    CTableau* Compute(std::unique_ptr<CTraitement> request) {
        CMoteurTableau engine(context);
        kernels = std::make_unique<CountingKernels>(engine);
        const int before = runner.GetNbTableaux();
        runner.CalculerTableauEvolue(std::move(request), *kernels);
        return runner.GetNbTableaux() > before ? runner.GetTableau(runner.GetNbTableaux() - 1) : nullptr;
    }

    // The numbers of a test-line cell's text.
    struct TestNumbers {
        double chi = -1;
        int df = -1;
        double p = -1;
        double pe = -1;
        double n = -1;
        bool complete = false;
    };
    static TestNumbers ReadTest(const CTableau& table, int row, int column) {
        EXPECT_EQ(table.GetMarque(row, column), CTableauBase::kMarqueTexte);
        const std::string& text = table.GetTexte(static_cast<std::int32_t>(table.GetValeur(row, column)));
        TestNumbers t;
        t.complete = std::sscanf(text.c_str(), "khi2=%lf ddl=%d p=%lf pe=%le n=%lf", &t.chi, &t.df, &t.p, &t.pe,
                                 &t.n) == 5;
        return t;
    }

    const std::vector<int> kNoteCodes = {1, 2, 3};
    const std::vector<int> kAgeCodes = {1, 2, 3, kNotAsked};
    const std::vector<int> kRegionCodes = {1, 2};
    const std::vector<int> kSexCodes = {1, 2};

    std::string description;
    CProfil rows;
    CProfil columns;
    CExecuteurTraitement runner{context};
    std::unique_ptr<CountingKernels> kernels;
};

void ExpectNear(double actual, double expected, const std::string& what) {
    if (expected == kMissing)
        EXPECT_EQ(actual, kMissing) << what;
    else
        EXPECT_NEAR(actual, expected, 1e-9) << what;
}

// In the standard table (Type 1): rows 0 "Pourcentage"; NOTE 1 to 3, its mean 4, its test 5; AGE
// 6 to 9, its mean 10, its test 11; 12 "Total effectifs". Columns 0 "Effectifs"; REGION Nord 1, 2
// and Sud 3, 4; SEXE Homme 5, 6, Femme 7, 8, Total 9, 10; 11 "Total effectifs".
TEST_F(TableauxEvoluesTest, StandardStyleLaysOutEveryBlockAndCountsEachSampleOncePerPair) {
    StandardProfiles();
    const CTableau* table = Compute(Request(rows, columns, kStyle));
    ASSERT_NE(table, nullptr);
    EXPECT_TRUE(ui->shown.empty());
    // rows = 1 x 7 + 1 + 1 + (1 + 1) x 2; columns = 2 x 5 + 1 + 1; two header levels and the
    // level of the calculations on top.
    ASSERT_EQ(table->RowCount(), 13);
    ASSERT_EQ(table->ColumnCount(), 12);
    EXPECT_EQ(table->ColumnHeaderLevels(), 3);
    EXPECT_EQ(table->RowHeaderLevels(), 2);
    EXPECT_EQ(table->MarkerMode(), CTableauBase::kMarqueParCellule);
    EXPECT_EQ(table->GetTexte(0), "");

    // Four pairs, one sample: four crosses, shared by both cell calculations and the test line;
    // two column lines over two row questions and two row lines over two column questions share
    // one count per question; one mean count per pair; one statistic of each row question.
    EXPECT_EQ(kernels->crossSamples.size(), 4u);
    EXPECT_EQ(kernels->flatCounts, 4);
    EXPECT_EQ(kernels->means, 4);
    EXPECT_EQ(kernels->statistics, 2);

    const std::vector<double> w = Weights(-1, -1);
    // Cells of NOTE by REGION and by SEXE, with SEXE's Total column.
    const Cross byRegion = CrossOf(NOTE, kNoteCodes, REGION, kRegionCodes, w);
    const Cross bySex = CrossOf(NOTE, kNoteCodes, SEXE, kSexCodes, w);
    for (int a = 0; a < 3; ++a) {
        for (int b = 0; b < 2; ++b) {
            ExpectNear(table->GetValeur(1 + a, 1 + 2 * b), byRegion.o[a][b], "count by region");
            ExpectNear(table->GetValeur(1 + a, 2 + 2 * b), 100.0 * byRegion.o[a][b] / byRegion.n[b], "% by region");
            ExpectNear(table->GetValeur(1 + a, 5 + 2 * b), bySex.o[a][b], "count by sex");
            EXPECT_EQ(table->GetMarque(1 + a, 1 + 2 * b), CTableauBase::kMarqueEffectif);
            EXPECT_EQ(table->GetMarque(1 + a, 2 + 2 * b), CTableauBase::kMarquePourcentage);
        }
        ExpectNear(table->GetValeur(1 + a, 9), bySex.m[a], "Total column count");
        ExpectNear(table->GetValeur(1 + a, 10), 100.0 * bySex.m[a] / bySex.N, "Total column %");
        // Leading and trailing column lines: the flat counts of NOTE over every interview.
        ExpectNear(table->GetValeur(1 + a, 0), Answered(NOTE, kNoteCodes[a], w), "leading count");
        ExpectNear(table->GetValeur(1 + a, 11), Answered(NOTE, kNoteCodes[a], w), "trailing count");
    }
    // AGE's "Non interrogé": nobody, 0 in every count.
    for (int c : {0, 1, 3, 5, 7, 9, 11})
        ExpectNear(table->GetValeur(9, c), 0.0, "Non interrogé");
    // Leading row line: the percentage of each column modality over its question's respondents,
    // written once over the modality's two sub-columns.
    for (int b = 0; b < 2; ++b) {
        ExpectNear(table->GetValeur(0, 1 + 2 * b), 100.0 * Answered(REGION, kRegionCodes[b], w) / 12.0, "% row");
        EXPECT_EQ(table->GetFusionColonnes()->GetFusion(3 + 0, 2 + 1 + 2 * b), 1);
        EXPECT_EQ(table->GetMarque(0, 1 + 2 * b), CTableauBase::kMarquePourcentage);
        ExpectNear(table->GetValeur(12, 5 + 2 * b), Answered(SEXE, kSexCodes[b], w), "trailing row count");
    }
    // The margin rows and columns meet in empty cells.
    for (int r : {0, 12})
        for (int c : {0, 11})
            EXPECT_EQ(table->GetValeur(r, c), kMissing);

    // The mean of NOTE within each region, once over the modality's sub-columns, and over all its
    // values in the margin blocks.
    for (int b = 0; b < 2; ++b) {
        ExpectNear(table->GetValeur(4, 1 + 2 * b), MeanNote(kRegionCodes[b], w), "mean by region");
        EXPECT_EQ(table->GetMarque(4, 1 + 2 * b), CTableauBase::kMarqueReel);
        EXPECT_EQ(table->GetValeur(4, 2 + 2 * b), kMissing);
    }
    ExpectNear(table->GetValeur(4, 0), MeanNote(0, w), "mean of all values, leading block");
    ExpectNear(table->GetValeur(4, 11), MeanNote(0, w), "mean of all values, trailing block");

    // Test lines: one text per pair, spanning the column question's block.
    const ChiSquare regionChi = ChiSquareOf(byRegion);
    const TestNumbers region = ReadTest(*table, 5, 1);
    ASSERT_TRUE(region.complete);
    EXPECT_NEAR(region.chi, regionChi.value, 1e-6);
    EXPECT_EQ(region.df, regionChi.df);
    EXPECT_NEAR(region.p, 100.0 * regionChi.upperTail, 1e-4);
    EXPECT_NEAR(region.pe, regionChi.upperTail, 1e-6);
    EXPECT_EQ(region.n, byRegion.N);
    EXPECT_EQ(table->GetFusionColonnes()->GetFusion(3 + 5, 2 + 1), 3);
    EXPECT_EQ(table->GetFusionColonnes()->GetFusion(3 + 5, 2 + 5), 5);
    EXPECT_EQ(table->GetValeur(5, 2), kMissing);
    EXPECT_EQ(table->GetValeur(5, 0), kMissing);
    // SEXE's Total column stays out of the test.
    const ChiSquare sexChi = ChiSquareOf(bySex);
    const TestNumbers sex = ReadTest(*table, 5, 5);
    ASSERT_TRUE(sex.complete);
    EXPECT_NEAR(sex.chi, sexChi.value, 1e-6);
    EXPECT_EQ(sex.df, 2);
    EXPECT_NEAR(sex.pe, sexChi.upperTail, 1e-6);
    // AGE's empty "Non interrogé" line adds no degree of freedom: (3 - 1) x (2 - 1).
    const Cross ageByRegion = CrossOf(AGE, kAgeCodes, REGION, kRegionCodes, w);
    const TestNumbers age = ReadTest(*table, 11, 1);
    ASSERT_TRUE(age.complete);
    EXPECT_EQ(age.df, 2);
    EXPECT_NEAR(age.chi, ChiSquareOf(ageByRegion).value, 1e-6);
    EXPECT_NEAR(age.pe, ChiSquareOf(ageByRegion).upperTail, 1e-6);

    // The base: the largest count met (12 interviews answered REGION and SEXE).
    EXPECT_EQ(table->base, 12.0);
    EXPECT_EQ(table->title, "Evolue");
}

TEST_F(TableauxEvoluesTest, HeadersSpansAndLinesOfTheStandardTable) {
    StandardProfiles();
    const CTableau* table = Compute(Request(rows, columns, kStyle));
    ASSERT_NE(table, nullptr);
    const CFusion& across = *table->GetFusionColonnes();
    const CFusion& down = *table->GetFusionLignes();
    // Grid: 3 header rows, 2 header columns.
    EXPECT_EQ(table->GetLibelleColonne(0, 0), "Effectifs");
    EXPECT_EQ(down.GetFusion(0, 2 + 0), 2);
    EXPECT_EQ(table->GetLibelleColonne(0, 11), "Total effectifs");
    EXPECT_EQ(table->GetLibelleColonne(0, 1), "Region");
    EXPECT_EQ(across.GetFusion(0, 2 + 1), 3);
    EXPECT_EQ(table->GetLibelleColonne(0, 5), "Sexe");
    EXPECT_EQ(across.GetFusion(0, 2 + 5), 5);
    EXPECT_EQ(table->GetLibelleColonne(1, 3), "Sud");
    EXPECT_EQ(across.GetFusion(1, 2 + 3), 1);
    EXPECT_EQ(table->GetLibelleColonne(1, 9), "Total");
    EXPECT_EQ(table->GetLibelleColonne(2, 3), "Effectifs");
    EXPECT_EQ(table->GetLibelleColonne(2, 4), "Profils colonnes");
    // Rows: the question heads its whole block, the other lines on level 1.
    EXPECT_EQ(table->GetLibelleLigne(0, 0), "Pourcentage");
    EXPECT_EQ(across.GetFusion(3 + 0, 0), 1);
    EXPECT_EQ(table->GetLibelleLigne(0, 1), "Note");
    EXPECT_EQ(down.GetFusion(3 + 1, 0), 4);
    EXPECT_EQ(table->GetLibelleLigne(1, 1), "Mauvais");
    EXPECT_EQ(table->GetLibelleLigne(1, 4), "Moyenne");
    EXPECT_EQ(table->GetLibelleLigne(1, 5), "Test khi2");
    EXPECT_EQ(table->GetLibelleLigne(0, 6), "Age");
    EXPECT_EQ(down.GetFusion(3 + 6, 0), 5);
    EXPECT_EQ(table->GetLibelleLigne(0, 12), "Total effectifs");
    // The corner is one cell.
    for (int r = 0; r < 3; ++r)
        EXPECT_EQ(across.GetFusion(r, 0), 1);
    for (int c = 0; c < 2; ++c)
        EXPECT_EQ(down.GetFusion(0, c), 2);
    // Thin lines part the two calculations of each modality, from the calculation level down;
    // normal lines everywhere else.
    const CMatriceCreuse& marks = *table->GetBordures();
    for (int line = 2; line < 3 + 13; ++line) {
        EXPECT_EQ(marks.GetMarqueLigne(line, 2 + 2), 1) << line;
        EXPECT_EQ(marks.GetMarqueLigne(line, 2 + 3), 2) << line;
        EXPECT_EQ(marks.GetMarqueLigne(line, 2 + 5), 2) << line;
    }
    EXPECT_EQ(marks.GetMarqueLigne(1, 2 + 2), 2);
}

TEST_F(TableauxEvoluesTest, CalculationsStackedInRowsTakeSubRowsAndAHeaderLevel) {
    StandardProfiles();
    const CTableau* table = Compute(Request(rows, columns, kStyle, CTypeFusion::kBlocksInRows));
    ASSERT_NE(table, nullptr);
    // rows = 2 x 7 + 1 + 1 + 2 x 2; columns = 5 + 1 + 1; the calculations named on a third
    // row-header level.
    ASSERT_EQ(table->RowCount(), 20);
    ASSERT_EQ(table->ColumnCount(), 7);
    EXPECT_EQ(table->ColumnHeaderLevels(), 2);
    ASSERT_EQ(table->RowHeaderLevels(), 3);
    const std::vector<double> w = Weights(-1, -1);
    const Cross byRegion = CrossOf(NOTE, kNoteCodes, REGION, kRegionCodes, w);
    // Rows: 0 "Pourcentage"; NOTE Mauvais 1, 2, Moyen 3, 4, Bon 5, 6, mean 7, test 8; AGE 9 to 18.
    for (int a = 0; a < 3; ++a)
        for (int b = 0; b < 2; ++b) {
            ExpectNear(table->GetValeur(1 + 2 * a, 1 + b), byRegion.o[a][b], "count");
            ExpectNear(table->GetValeur(2 + 2 * a, 1 + b), 100.0 * byRegion.o[a][b] / byRegion.n[b], "%");
        }
    const CFusion& across = *table->GetFusionColonnes();
    const CFusion& down = *table->GetFusionLignes();
    EXPECT_EQ(table->GetLibelleLigne(0, 1), "Note");
    EXPECT_EQ(down.GetFusion(2 + 1, 0), 7);
    EXPECT_EQ(table->GetLibelleLigne(1, 1), "Mauvais");
    EXPECT_EQ(down.GetFusion(2 + 1, 1), 1);
    EXPECT_EQ(table->GetLibelleLigne(2, 1), "Effectifs");
    EXPECT_EQ(table->GetLibelleLigne(2, 2), "Profils colonnes");
    // A statistic or test line is named across levels 1 and 2.
    EXPECT_EQ(table->GetLibelleLigne(1, 7), "Moyenne");
    EXPECT_EQ(across.GetFusion(2 + 7, 1), 1);
    EXPECT_EQ(table->GetLibelleLigne(1, 8), "Test khi2");
    // Column lines once per modality, over its two sub-rows.
    ExpectNear(table->GetValeur(1, 0), Answered(NOTE, 1, w), "leading count");
    EXPECT_EQ(down.GetFusion(2 + 1, 3 + 0), 1);
    EXPECT_EQ(table->GetValeur(2, 0), kMissing);
    // The test spans the two columns of REGION, the three of SEXE.
    EXPECT_EQ(across.GetFusion(2 + 8, 3 + 1), 1);
    EXPECT_EQ(across.GetFusion(2 + 8, 3 + 3), 2);
    EXPECT_NEAR(ReadTest(*table, 8, 1).chi, ChiSquareOf(byRegion).value, 1e-6);
    // Thin lines part each modality's sub-rows, across the calculation level and the data.
    const CMatriceCreuse& marks = *table->GetBordures();
    for (int column = 2; column < 3 + 7; ++column) {
        EXPECT_EQ(marks.GetMarqueColonne(2 + 2, column), 1) << column;
        EXPECT_EQ(marks.GetMarqueColonne(2 + 3, column), 2) << column;
    }
    EXPECT_EQ(marks.GetMarqueColonne(2 + 2, 1), 2);
}

TEST_F(TableauxEvoluesTest, ARowQuestionsBlockHoldsModalitiesThenStatisticsThenTestsInStyleOrder) {
    AddQuestion(rows, NOTE, kNoteCodes, 0);
    AddQuestion(rows, SEXE, kSexCodes, 0);
    AddQuestion(columns, REGION, kRegionCodes, 1);
    const std::vector<Calc> calcs = {
        {3, 2, 0, "Premier test", "A"}, {2, 1, 0, "Moyenne"}, {0, 2, 0},
        {3, 2, 0, "Second test", "B"},  {2, 2, 1, "Ecart"},
    };
    const CTableau* table = Compute(Request(rows, columns, calcs));
    ASSERT_NE(table, nullptr);
    ASSERT_EQ(table->RowCount(), 3 + 4 + 2 + 4);
    const std::vector<std::string> expected = {"Mauvais", "Moyen",       "Bon",         "Moyenne", "Ecart",
                                               "Premier test", "Second test", "Homme", "Femme", "Moyenne",
                                               "Ecart", "Premier test", "Second test"};
    for (int r = 0; r < table->RowCount(); ++r)
        EXPECT_EQ(table->GetLibelleLigne(1, r), expected[static_cast<std::size_t>(r)]) << r;
    EXPECT_EQ(table->GetTexte(static_cast<std::int32_t>(table->GetValeur(5, 0))), "A");
    EXPECT_EQ(table->GetTexte(static_cast<std::int32_t>(table->GetValeur(6, 0))), "B");
}

TEST_F(TableauxEvoluesTest, MarginLinesBeforeTheFirstCrossingLeadAndAfterItTrail) {
    AddQuestion(rows, NOTE, kNoteCodes, 0);
    AddQuestion(columns, REGION, kRegionCodes, 1);
    struct Case {
        std::vector<Calc> calcs;
        int leadingColumns;
        int trailingColumns;
        int leadingRows;
        int trailingRows;
    };
    const std::vector<Case> cases = {
        {{{1, 0, 0, "C1"}, {1, 1, 0, "R1"}, {1, 2, 1, "B1"}, {0, 2, 0}}, 2, 0, 2, 0},
        {{{1, 0, 0, "C1"}, {1, 1, 0, "R1"}, {0, 2, 0}, {1, 2, 1, "B1"}}, 1, 1, 1, 1},
        {{{0, 2, 0}, {1, 0, 0, "C1"}, {1, 1, 0, "R1"}, {1, 2, 1, "B1"}}, 0, 2, 0, 2},
    };
    for (const Case& c : cases) {
        const CTableau* table = Compute(Request(rows, columns, c.calcs));
        ASSERT_NE(table, nullptr);
        EXPECT_EQ(table->ColumnCount(), 2 + c.leadingColumns + c.trailingColumns);
        EXPECT_EQ(table->RowCount(), 3 + c.leadingRows + c.trailingRows);
        // Whichever block a line goes to, it stands in the style's order.
        std::vector<std::string> columnLabels;
        for (int j = 0; j < table->ColumnCount(); ++j)
            if (j < c.leadingColumns || j >= c.leadingColumns + 2)
                columnLabels.push_back(table->GetLibelleColonne(0, j));
        EXPECT_EQ(columnLabels, (std::vector<std::string>{"C1", "B1"}));
        // The cells follow the leading blocks, whatever stands before them.
        const Cross x = CrossOf(NOTE, kNoteCodes, REGION, kRegionCodes, Weights(-1, -1));
        ExpectNear(table->GetValeur(c.leadingRows, c.leadingColumns), x.o[0][0], "Mauvais, Nord");
        ExpectNear(table->GetValeur(c.leadingRows + 2, c.leadingColumns + 1), x.o[2][1], "Bon, Sud");
    }
}

TEST_F(TableauxEvoluesTest, SamplesOfTheirOwnAreCountedOncePerPairAndShowTheirOwnNumbers) {
    AddQuestion(rows, NOTE, kNoteCodes, 0);
    AddQuestion(rows, AGE, {1, 2, 3}, 0);
    AddQuestion(columns, REGION, kRegionCodes, 1);
    // Counts and row percentages of the request's sample, counts of the women, counts raked, and a
    // test on the women: three samples, each crossed once per pair.
    const std::vector<Calc> calcs = {
        {1, 0, 0, "Femmes", "", kWomen}, {1, 0, 0, "Redressé", "", -1, kRaking},
        {0, 2, 0}, {0, 2, 1}, {0, 2, 0, "Femmes", "", kWomen}, {0, 2, 0, "Redressé", "", -1, kRaking},
        {3, 2, 0, "", kTestText, kWomen},
    };
    const CTableau* table = Compute(Request(rows, columns, calcs));
    ASSERT_NE(table, nullptr);
    EXPECT_TRUE(ui->shown.empty());
    ASSERT_EQ(kernels->crossSamples.size(), 2u * 3u);
    const std::vector<AdvancedTableKernels::Sample> perPair = {{0, -1, -1}, {0, kWomen, -1}, {0, -1, kRaking}};
    EXPECT_EQ(std::vector(kernels->crossSamples.begin(), kernels->crossSamples.begin() + 3), perPair);
    EXPECT_EQ(kernels->flatCounts, 2 * 2);
    // Columns: "Femmes" 0, "Redressé" 1, then Nord 2 to 5 and Sud 6 to 9.
    ASSERT_EQ(table->ColumnCount(), 2 + 2 * 4);
    const std::vector<double> all = Weights(-1, -1);
    const std::vector<double> women = Weights(kWomen, -1);
    const std::vector<double> raked = Weights(-1, kRaking);
    const Cross x = CrossOf(NOTE, kNoteCodes, REGION, kRegionCodes, all);
    const Cross xWomen = CrossOf(NOTE, kNoteCodes, REGION, kRegionCodes, women);
    const Cross xRaked = CrossOf(NOTE, kNoteCodes, REGION, kRegionCodes, raked);
    for (int a = 0; a < 3; ++a) {
        for (int b = 0; b < 2; ++b) {
            const int first = 2 + 4 * b;
            ExpectNear(table->GetValeur(a, first), x.o[a][b], "count");
            ExpectNear(table->GetValeur(a, first + 1), 100.0 * x.o[a][b] / x.m[a], "row %");
            ExpectNear(table->GetValeur(a, first + 2), xWomen.o[a][b], "women");
            ExpectNear(table->GetValeur(a, first + 3), xRaked.o[a][b], "raked");
        }
        ExpectNear(table->GetValeur(a, 0), Answered(NOTE, kNoteCodes[a], women), "women's margin");
        ExpectNear(table->GetValeur(a, 1), Answered(NOTE, kNoteCodes[a], raked), "raked margin");
    }
    const TestNumbers test = ReadTest(*table, 3, 2);
    ASSERT_TRUE(test.complete);
    EXPECT_NEAR(test.chi, ChiSquareOf(xWomen).value, 1e-6);
    EXPECT_EQ(test.df, ChiSquareOf(xWomen).df);
    EXPECT_NEAR(test.pe, ChiSquareOf(xWomen).upperTail, 1e-6);
    EXPECT_EQ(test.n, xWomen.N);
    // The base: the largest count met, as it stands (the raked crosses weigh 12 too).
    EXPECT_NEAR(table->base, 12.0, 1e-9);
}

TEST_F(TableauxEvoluesTest, LinesWithoutASampleOfTheirOwnTakeTheRequests) {
    AddQuestion(rows, NOTE, kNoteCodes, 0);
    AddQuestion(columns, REGION, kRegionCodes, 1);
    auto request = Request(rows, columns, {{0, 2, 0}, {0, 2, 0, "Redressé", "", -1, kRaking}});
    request->studyFieldId = kWomen;
    const CTableau* table = Compute(std::move(request));
    ASSERT_NE(table, nullptr);
    const std::vector<AdvancedTableKernels::Sample> samples = {{0, kWomen, -1}, {0, kWomen, kRaking}};
    EXPECT_EQ(kernels->crossSamples, samples);
    const std::vector<double> rakedWomen = Weights(kWomen, kRaking);
    const Cross women = CrossOf(NOTE, kNoteCodes, REGION, kRegionCodes, Weights(kWomen, -1));
    const Cross raked = CrossOf(NOTE, kNoteCodes, REGION, kRegionCodes, rakedWomen);
    for (int a = 0; a < 3; ++a)
        for (int b = 0; b < 2; ++b) {
            ExpectNear(table->GetValeur(a, 2 * b), women.o[a][b], "women");
            ExpectNear(table->GetValeur(a, 2 * b + 1), raked.o[a][b], "raked women");
        }
}

TEST_F(TableauxEvoluesTest, AnEmptyLinePerQuestionHeadsEachRowQuestionsBlock) {
    AddQuestion(rows, NOTE, kNoteCodes, 0);
    AddQuestion(rows, SEXE, kSexCodes, 0);
    AddQuestion(columns, REGION, kRegionCodes, 1);
    auto request = Request(rows, columns, {{1, 0, 0}, {0, 2, 0}, {0, 2, 2}, {3, 2, 0, "", "t"}});
    request->mergeOptions.IsEmptyLinePerQuestion = 1;
    const CTableau* table = Compute(std::move(request));
    ASSERT_NE(table, nullptr);
    // One row-header level; rows: Note 0, its modalities 1 to 3, its test 4; Sexe 5, 6, 7, 8.
    ASSERT_EQ(table->RowHeaderLevels(), 1);
    ASSERT_EQ(table->ColumnHeaderLevels(), 3);
    ASSERT_EQ(table->RowCount(), 9);
    ASSERT_EQ(table->ColumnCount(), 5);
    const std::vector<std::string> labels = {"Note", "Mauvais", "Moyen", "Bon", "Test khi2",
                                             "Sexe", "Homme",   "Femme", "Test khi2"};
    for (int r = 0; r < 9; ++r)
        EXPECT_EQ(table->GetLibelleLigne(0, r), labels[static_cast<std::size_t>(r)]) << r;
    const CFusion& across = *table->GetFusionColonnes();
    for (int r : {0, 5}) {
        for (int c = 0; c < 5; ++c)
            EXPECT_EQ(table->GetValeur(r, c), kMissing) << r << " " << c;
        EXPECT_EQ(across.GetFusion(3 + r, 1 + 0), 4);
        EXPECT_EQ(table->GetLigneEnTete(0, r)->heading, 1);
    }
    const Cross x = CrossOf(SEXE, kSexCodes, REGION, kRegionCodes, Weights(-1, -1));
    ExpectNear(table->GetValeur(7, 3), x.o[1][1], "Femme, Sud");
    ExpectNear(table->GetValeur(7, 0), Answered(SEXE, 2, Weights(-1, -1)), "Femme");
    EXPECT_EQ(table->GetTexte(static_cast<std::int32_t>(table->GetValeur(8, 1))), "t");
}

TEST_F(TableauxEvoluesTest, TestLineTextsReplaceEveryPlaceholderAndKeepTheRest) {
    AddQuestion(rows, NOTE, kNoteCodes, 0);
    AddQuestion(columns, REGION, kRegionCodes, 1);
    const std::vector<Calc> calcs = {
        {0, 2, 0},
        {3, 2, 0, "", "Sans marque"},
        {3, 2, 0, "", "??K?? et encore ??K?? [??D??] ??B??"},
    };
    auto request = Request(rows, columns, calcs);
    request->presentation.SetReel(2);
    const CTableau* table = Compute(std::move(request));
    ASSERT_NE(table, nullptr);
    EXPECT_EQ(table->GetTexte(static_cast<std::int32_t>(table->GetValeur(3, 0))), "Sans marque");
    const ChiSquare chi = ChiSquareOf(CrossOf(NOTE, kNoteCodes, REGION, kRegionCodes, Weights(-1, -1)));
    char number[32];
    std::snprintf(number, sizeof number, "%.2f", chi.value);
    EXPECT_EQ(table->GetTexte(static_cast<std::int32_t>(table->GetValeur(4, 0))),
              std::string(number) + " et encore " + number + " [2] 11");
    std::string text = "??P????PE????P??";
    CExecuteurTraitement::RemplacerTexte(text, "??P??", "1");
    EXPECT_EQ(text, "1??PE??1");
}

TEST_F(TableauxEvoluesTest, ZeroDegreesOfFreedomAndEmptySamplesShowNoTestAndNoShare) {
    AddQuestion(rows, SEXE, kSexCodes, 0);
    AddQuestion(columns, REGION, kRegionCodes, 1);
    // Among the women only the line Femme is filled: no test. Nobody: counts 0, nothing else.
    const std::vector<Calc> calcs = {
        {1, 0, 0, "N", "", kNobody}, {1, 0, 1, "P", "", kNobody}, {1, 0, 9, "T", "", kNobody},
        {0, 2, 0, "", "", kNobody}, {0, 2, 2, "", "", kNobody}, {0, 2, 4, "", "", kNobody},
        {3, 2, 0, "", kTestText, kWomen}, {3, 2, 0, "", kTestText, kNobody},
    };
    const CTableau* table = Compute(Request(rows, columns, calcs));
    ASSERT_NE(table, nullptr);
    EXPECT_TRUE(ui->shown.empty());
    // Columns: N 0, P 1, T 2, then Nord 3 to 5, Sud 6 to 8. Rows: Homme, Femme, two tests.
    ASSERT_EQ(table->ColumnCount(), 3 + 6);
    for (int a = 0; a < 2; ++a) {
        EXPECT_EQ(table->GetValeur(a, 0), 0.0);
        EXPECT_EQ(table->GetValeur(a, 1), kMissing);
        EXPECT_EQ(table->GetValeur(a, 2), kMissing);
        for (int b = 0; b < 2; ++b) {
            EXPECT_EQ(table->GetValeur(a, 3 + 3 * b), 0.0);
            EXPECT_EQ(table->GetValeur(a, 4 + 3 * b), kMissing);
            EXPECT_EQ(table->GetValeur(a, 5 + 3 * b), kMissing);
        }
    }
    const std::string women = table->GetTexte(static_cast<std::int32_t>(table->GetValeur(2, 3)));
    const Cross x = CrossOf(SEXE, kSexCodes, REGION, kRegionCodes, Weights(kWomen, -1));
    char chi[32];
    std::snprintf(chi, sizeof chi, "%.6f", ChiSquareOf(x).value);
    EXPECT_EQ(women, "khi2=" + std::string(chi) + " ddl=0 p= pe= n=6");
    EXPECT_EQ(table->GetTexte(static_cast<std::int32_t>(table->GetValeur(3, 3))), "khi2= ddl=0 p= pe= n=0");
}

TEST_F(TableauxEvoluesTest, MarginKindsWithoutAFlatValueAndTheMarkOfAllValuesAreEmpty) {
    AddQuestion(rows, NOTE, kNoteCodes, 0);
    AddQuestion(columns, REGION, kRegionCodes, 1);
    const std::vector<Calc> calcs = {{1, 2, 10, "Moy"}, {1, 2, 11, "ET"}, {0, 2, 0}, {2, 1, 10, "Sig"}};
    const CTableau* table = Compute(Request(rows, columns, calcs));
    ASSERT_NE(table, nullptr);
    // Columns Moy 0, ET 1, Nord 2, Sud 3; rows Moy 0, ET 1, NOTE 2 to 4, Sig 5.
    ASSERT_EQ(table->ColumnCount(), 4);
    ASSERT_EQ(table->RowCount(), 6);
    for (int r = 2; r < 5; ++r)
        for (int c : {0, 1})
            EXPECT_EQ(table->GetValeur(r, c), kMissing);
    for (int r : {0, 1})
        for (int c : {2, 3})
            EXPECT_EQ(table->GetValeur(r, c), kMissing);
    // The mark of each region's mean is there; over all values it has none.
    EXPECT_EQ(table->GetValeur(5, 0), kMissing);
    EXPECT_EQ(table->GetMarque(5, 2), CTableauBase::kMarqueSignificativite);
    EXPECT_NE(table->GetValeur(5, 2), kMissing);
}

TEST_F(TableauxEvoluesTest, AFailedCountLeavesItsCellsEmptyAndIsToldOnceWithTheTable) {
    AddQuestion(rows, NOTE, kNoteCodes, 0);
    AddQuestion(rows, AGE, {1, 2, 3}, 0);
    AddQuestion(columns, REGION, kRegionCodes, 1);
    AddQuestion(columns, SEXE, kSexCodes, 1);
    const std::vector<Calc> calcs = {{0, 2, 0}, {0, 2, 0, "X", "", -1, kUnknownWeighting}};
    const CTableau* table = Compute(Request(rows, columns, calcs));
    ASSERT_NE(table, nullptr);
    // Four pairs failed with the same text: it is shown once.
    ASSERT_EQ(ui->shown.size(), 1u);
    EXPECT_FALSE(ui->ShownTexts().front().empty());
    const Cross x = CrossOf(NOTE, kNoteCodes, REGION, kRegionCodes, Weights(-1, -1));
    for (int a = 0; a < 3; ++a)
        for (int b = 0; b < 2; ++b) {
            ExpectNear(table->GetValeur(a, 2 * b), x.o[a][b], "counted");
            EXPECT_EQ(table->GetValeur(a, 2 * b + 1), kMissing);
        }
}

TEST_F(TableauxEvoluesTest, AColumnProfileWithoutModalityShowsTheRowModalitiesAndTheColumnLines) {
    AddQuestion(rows, NOTE, kNoteCodes, 0);
    AddQuestion(rows, AGE, {1, 2}, 0);
    columns.Add(&Named("REGION"));
    const CTableau* table = Compute(Request(rows, columns, kStyle));
    ASSERT_NE(table, nullptr);
    ASSERT_EQ(table->RowCount(), 5);
    ASSERT_EQ(table->ColumnCount(), 2);
    EXPECT_EQ(table->ColumnHeaderLevels(), 2);
    EXPECT_TRUE(kernels->crossSamples.empty());
    EXPECT_EQ(kernels->means, 0);
    const std::vector<double> w = Weights(-1, -1);
    for (int a = 0; a < 3; ++a)
        ExpectNear(table->GetValeur(a, 0), Answered(NOTE, kNoteCodes[a], w), "NOTE");
    ExpectNear(table->GetValeur(4, 1), Answered(AGE, 2, w), "AGE");
    EXPECT_EQ(table->GetLibelleLigne(1, 4), "Adulte");
}

TEST_F(TableauxEvoluesTest, BadInputsGiveAMessageOrAWellFormedTable) {
    AddQuestion(rows, NOTE, kNoteCodes, 0);
    AddQuestion(columns, REGION, kRegionCodes, 1);
    // A style with no line, or none at all: a message and no table.
    EXPECT_EQ(Compute(Request(rows, columns, {})), nullptr);
    auto noStyle = Request(rows, columns, kStyle);
    noStyle->SetStyle(nullptr);
    EXPECT_EQ(Compute(std::move(noStyle)), nullptr);
    ASSERT_EQ(ui->shown.size(), 2u);
    EXPECT_EQ(ui->shown[0].message.id, StringTable::kStyleEvolueSansCalcul);
    EXPECT_EQ(ui->shown[1].message.id, StringTable::kStyleEvolueSansCalcul);
    ui->shown.clear();
    // Nothing to show on either side: a message.
    CProfil empty;
    EXPECT_EQ(Compute(Request(empty, columns, {{0, 2, 0}})), nullptr);
    ASSERT_EQ(ui->shown.size(), 1u);
    EXPECT_EQ(ui->shown[0].message.id, StringTable::kTableauEvolueVide);
    ui->shown.clear();
    // Separators first and last: one part, the same table as without them.
    CProfil framedRows;
    framedRows.AddSeparator();
    AddQuestion(framedRows, NOTE, kNoteCodes, 0);
    framedRows.AddSeparator();
    CProfil framedColumns;
    framedColumns.AddSeparator();
    AddQuestion(framedColumns, REGION, kRegionCodes, 1);
    framedColumns.AddSeparator();
    ASSERT_EQ(runner.Calculer(Request(framedRows, framedColumns, kStyle)), 1);
    ASSERT_EQ(runner.GetNbTableaux(), 1);
    const CTableau* plain = Compute(Request(rows, columns, kStyle));
    ASSERT_NE(plain, nullptr);
    const CTableau* framed = runner.GetTableau(0);
    ASSERT_EQ(framed->RowCount(), plain->RowCount());
    ASSERT_EQ(framed->ColumnCount(), plain->ColumnCount());
    for (int r = 0; r < plain->RowCount(); ++r)
        for (int c = 0; c < plain->ColumnCount(); ++c)
            EXPECT_EQ(framed->GetValeur(r, c), plain->GetValeur(r, c));
    EXPECT_TRUE(ui->shown.empty());
}

TEST_F(TableauxEvoluesTest, AProfileOfFiveHundredQuestionsGivesOneWellFormedTable) {
    for (int i = 0; i < 500; ++i)
        AddQuestion(rows, NOTE, kNoteCodes, 0);
    AddQuestion(columns, REGION, kRegionCodes, 1);
    const CTableau* table = Compute(Request(rows, columns, {{0, 2, 0}, {3, 2, 0, "", kTestText}}));
    ASSERT_NE(table, nullptr);
    ASSERT_EQ(table->RowCount(), 500 * 4);
    EXPECT_EQ(kernels->crossSamples.size(), 500u);
    EXPECT_EQ(table->GetFusionLignes()->GetFusion(3 + 4 * 499, 0), 3);
    const std::string& first = table->GetTexte(static_cast<std::int32_t>(table->GetValeur(3, 0)));
    EXPECT_EQ(table->GetTexte(static_cast<std::int32_t>(table->GetValeur(4 * 499 + 3, 0))), first);
    EXPECT_EQ(table->GetValeur(4 * 499 + 2, 1), table->GetValeur(2, 1));
}

TEST_F(TableauxEvoluesTest, ARequestNamingAMissingQuestionIsNotComputed) {
    StandardProfiles();
    auto request = Request(rows, columns, kStyle);
    CArchiveVersion out(404);
    request->Serialize(out);
    const std::vector<std::uint8_t> bytes = out.TakeBytes();
    Named("REGION").name = "REGION_SUPPRIMEE";
    // Loading finds the names in the program's study context.
    CContexteEtude::RegisterContext(&context);
    auto loaded = std::make_unique<CTraitement>();
    CArchiveVersion in(bytes, 404);
    loaded->Serialize(in);
    CContexteEtude::RegisterContext(nullptr);
    ASSERT_TRUE(loaded->EstInvalide());
    EXPECT_EQ(runner.Calculer(std::move(loaded)), 1);
    EXPECT_EQ(runner.GetNbTableaux(), 0);
    const std::vector<std::string> texts = ui->ShownTexts();
    ASSERT_EQ(texts.size(), 1u);
    EXPECT_EQ(texts.front(), "La question 'REGION' n'existe plus dans le questionnaire");
}

TEST_F(TableauxEvoluesTest, TheRequestIsSplitAsItsMergeOptionsSay) {
    StandardProfiles();
    // One table per pair of questions, titled by both.
    auto perPair = Request(rows, columns, {{0, 2, 0}});
    perPair->mergeOptions.EstTableauParLigne = 1;
    perPair->mergeOptions.EstTableauParColonne = 1;
    ASSERT_EQ(runner.Calculer(std::move(perPair)), 1);
    ASSERT_EQ(runner.GetNbTableaux(), 4);
    std::vector<std::string> titles;
    for (int i = 0; i < 4; ++i)
        titles.push_back(runner.GetTableau(i)->title);
    std::sort(titles.begin(), titles.end());
    EXPECT_EQ(titles, (std::vector<std::string>{"Age x Region", "Age x Sexe", "Note x Region", "Note x Sexe"}));
    // A separator cuts the row profile in two tables.
    CProfil cut;
    AddQuestion(cut, NOTE, kNoteCodes, 0);
    cut.AddSeparator();
    AddQuestion(cut, AGE, kAgeCodes, 0);
    CExecuteurTraitement second(context);
    ASSERT_EQ(second.Calculer(Request(cut, columns, {{0, 2, 0}})), 1);
    ASSERT_EQ(second.GetNbTableaux(), 2);
    EXPECT_EQ(second.GetTableau(0)->RowCount(), 3);
    EXPECT_EQ(second.GetTableau(1)->RowCount(), 4);
    EXPECT_STREQ(CExecuteurTraitement::DonnerNomCalcul(2, 2, 14), "CalculerTableauxEvolues");
}

} // namespace
