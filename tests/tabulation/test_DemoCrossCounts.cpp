// Every cross table of two closed questions of the demo questionnaire, computed through the
// runner, against a count the test makes itself from the raw answers of the response table.
#include <gtest/gtest.h>

#include <cstdint>
#include <filesystem>
#include <map>
#include <memory>
#include <set>
#include <string>
#include <vector>

#include "app/Calcul.h"
#include "app/ContexteEtude.h"
#include "app/ModaliteEtendue.h"
#include "app/QuestionEtendue.h"
#include "platform/db/Database.h"
#include "platform/db/Recordset.h"
#include "support/RecordingUserInterface.h"
#include "support/SettingsFixture.h"
#include "tabulation/ExecuteurTraitement.h"
#include "tabulation/Tableau.h"
#include "tabulation/Traitement.h"
#include "tools/qesbuild/DemoSurvey.h"

namespace {

constexpr int kInterviews = 300;
constexpr double kTolerance = 1e-9;

// The closed questions of the interview level, as the demo's description declares them: code,
// answer fields, number of modalities (coded 1 to n).
struct ClosedQuestion {
    const char* name;
    int code;
    int answers;
    int modalities;
};

const std::vector<ClosedQuestion> kQuestions = {
    {"SEXE", 1, 1, 2},    {"TRANCHE", 3, 1, 5},   {"REGION", 4, 1, 5},     {"CSP", 5, 1, 8},
    {"SATISF", 10, 1, 5}, {"MARQUES", 11, 4, 8}, {"CLASSEMENT", 12, 3, 5}, {"CONNU", 15, 1, 5},
};

// A semi-open answer is stored as minus its id; those of kind 1 count under their modality:
// "Salon professionnel" (101) and "Presse écrite" (102) under CONNU's "Autre, préciser" (5).
// Any other code (a missing code, an own semi-open answer) stands for no kept modality.
int ModalityOf(const ClosedQuestion& question, long long raw) {
    if (question.code == 15 && (raw == -101 || raw == -102))
        return 5;
    return raw >= 1 && raw <= question.modalities ? static_cast<int>(raw) : 0;
}

// Per interview, per question code, the modalities it gave.
using RawAnswers = std::vector<std::map<int, std::set<int>>>;

RawAnswers ReadRawAnswers(const std::string& path) {
    db::Database database(path, db::Database::Access::ReadOnly);
    db::Recordset records(database, "VEL Reponse1");
    records.setCurrentIndex("PrimaryKey");
    RawAnswers units;
    for (; !records.isEOF(); records.moveNext()) {
        std::map<int, std::set<int>>& unit = units.emplace_back();
        for (const ClosedQuestion& question : kQuestions)
            for (int order = 1; order <= question.answers; ++order) {
                const db::Value value = records.value(std::to_string(question.code) + ";" + std::to_string(order));
                if (value.isNull())
                    continue;
                if (const int modality = ModalityOf(question, value.toInteger()); modality != 0)
                    unit[question.code].insert(modality);
            }
    }
    return units;
}

using Grid = std::vector<std::vector<double>>;
using Modalities = std::vector<std::unique_ptr<CModaliteEtendue>>;

// The three tables expected for rows by columns, each with the Total line and column last: a unit
// counts once in every (row, column) pair it gave, and only units with a pair count in the margins
// and in the total.
struct Expected {
    Grid counts;
    Grid rowPercentages;
    Grid columnPercentages;
    double total = 0.0;
};

double Share(double part, double whole) { return whole > 0.0 ? 100.0 * part / whole : 0.0; }

Expected CountByHand(const RawAnswers& units, const ClosedQuestion& rows, const ClosedQuestion& columns) {
    const std::size_t r = static_cast<std::size_t>(rows.modalities);
    const std::size_t c = static_cast<std::size_t>(columns.modalities);
    Grid cells(r, std::vector<double>(c, 0.0));
    std::vector<double> rowMargins(r, 0.0);
    std::vector<double> columnMargins(c, 0.0);
    double total = 0.0;
    for (const auto& unit : units) {
        const auto a = unit.find(rows.code);
        const auto b = unit.find(columns.code);
        if (a == unit.end() || b == unit.end())
            continue;
        total += 1;
        for (const int row : a->second) {
            rowMargins[static_cast<std::size_t>(row - 1)] += 1;
            for (const int column : b->second)
                cells[static_cast<std::size_t>(row - 1)][static_cast<std::size_t>(column - 1)] += 1;
        }
        for (const int column : b->second)
            columnMargins[static_cast<std::size_t>(column - 1)] += 1;
    }
    Expected expected;
    expected.total = total;
    expected.counts.assign(r + 1, std::vector<double>(c + 1, 0.0));
    expected.rowPercentages = expected.counts;
    expected.columnPercentages = expected.counts;
    for (std::size_t i = 0; i < r; ++i) {
        for (std::size_t j = 0; j < c; ++j) {
            expected.counts[i][j] = cells[i][j];
            expected.rowPercentages[i][j] = Share(cells[i][j], rowMargins[i]);
            expected.columnPercentages[i][j] = Share(cells[i][j], columnMargins[j]);
        }
        expected.counts[i][c] = rowMargins[i];
        expected.rowPercentages[i][c] = 100.0;
        expected.columnPercentages[i][c] = Share(rowMargins[i], total);
    }
    for (std::size_t j = 0; j < c; ++j) {
        expected.counts[r][j] = columnMargins[j];
        expected.rowPercentages[r][j] = Share(columnMargins[j], total);
        expected.columnPercentages[r][j] = 100.0;
    }
    expected.counts[r][c] = total;
    expected.rowPercentages[r][c] = 100.0;
    expected.columnPercentages[r][c] = 100.0;
    return expected;
}

void ExpectGrid(const CTableau& table, const Grid& expected, const char* what) {
    ASSERT_EQ(table.RowCount(), static_cast<std::int32_t>(expected.size())) << what;
    ASSERT_EQ(table.ColumnCount(), static_cast<std::int32_t>(expected.front().size())) << what;
    for (std::size_t i = 0; i < expected.size(); ++i)
        for (std::size_t j = 0; j < expected[i].size(); ++j)
            EXPECT_NEAR(table.GetValeur(static_cast<std::int32_t>(i), static_cast<std::int32_t>(j)), expected[i][j],
                        kTolerance)
                << what << ", line " << i << ", column " << j;
}

class DemoCrossCountsTest : public SettingsFixture {
protected:
    static void SetUpTestSuite() {
        folder = new std::filesystem::path(std::filesystem::path(::testing::TempDir()) / "demo_cross_counts");
        std::filesystem::remove_all(*folder);
        qesbuild::DemoSurvey::Write(*folder, qesbuild::DemoSurvey::kSeed, kInterviews);
    }
    static void TearDownTestSuite() {
        std::filesystem::remove_all(*folder);
        delete folder;
        folder = nullptr;
    }

    void SetUp() override {
        SettingsFixture::SetUp();
        auto recorder = std::make_unique<RecordingUserInterface>();
        ui = recorder.get();
        context.SetUserInterface(std::move(recorder));
        context.questionnairePath = Path();
        ASSERT_TRUE(context.OuvrirEtude()) << context.GetLastError();
        ui->shown.clear();
    }

    static std::string Path() { return (*folder / "demo.qes").string(); }

    // The question's modalities coded 1 to n, then the axis's Total line.
    Modalities Lines(const ClosedQuestion& question, int axis) {
        const CQuestionEtendue* found = context.TrouverQuestionParNom(question.name);
        Modalities lines;
        if (found == nullptr)
            return lines;
        for (int i = 0; i < found->GetNbreModalite(); ++i) {
            const CModaliteEtendue* modality = found->GetModaliteEtendue(i);
            if (modality != nullptr && modality->code >= 1 && modality->code <= question.modalities)
                lines.push_back(std::make_unique<CModaliteEtendue>(*modality));
        }
        lines.push_back(std::make_unique<CModaliteEtendue>(*context.DonnerModaliteTotal(axis)));
        return lines;
    }

    std::unique_ptr<CTraitement> CrossRequest(const ClosedQuestion& rows, const ClosedQuestion& columns) {
        auto request = std::make_unique<CTraitement>();
        request->type = CTraitement::kTriCroise;
        request->title = std::string(rows.name) + " x " + columns.name;
        request->SetTypeAxe(CTraitement::kLignes, CTraitement::kAxeFermee);
        request->SetTypeAxe(CTraitement::kColonnes, CTraitement::kAxeFermee);
        request->DefinirModalitesAxe(context.TrouverQuestionParNom(rows.name), Lines(rows, 0), CTraitement::kLignes);
        request->DefinirModalitesAxe(context.TrouverQuestionParNom(columns.name), Lines(columns, 1),
                                     CTraitement::kColonnes);
        std::vector<std::unique_ptr<CCalcul>> calculations;
        calculations.push_back(std::make_unique<CCalcul>(0, "Effectifs", true));
        calculations.push_back(std::make_unique<CCalcul>(1, "% ligne", true));
        calculations.push_back(std::make_unique<CCalcul>(2, "% colonne", true));
        request->SetCalculsLignes(calculations);
        request->mergeOptions.Type = CTypeFusion::kSeparateTables;
        return request;
    }

    static std::filesystem::path* folder;
    CContexteEtude context;
    RecordingUserInterface* ui = nullptr;
};

std::filesystem::path* DemoCrossCountsTest::folder = nullptr;

TEST_F(DemoCrossCountsTest, EveryPairOfClosedQuestionsCountsAsTheRawAnswersSay) {
    const RawAnswers units = ReadRawAnswers(Path());
    ASSERT_EQ(units.size(), static_cast<std::size_t>(kInterviews));
    for (const ClosedQuestion& rows : kQuestions)
        for (const ClosedQuestion& columns : kQuestions) {
            SCOPED_TRACE(testing::Message() << rows.name << " by " << columns.name);
            const Expected expected = CountByHand(units, rows, columns);
            ASSERT_GT(expected.total, 0);
            CExecuteurTraitement runner(context);
            ASSERT_EQ(runner.Calculer(CrossRequest(rows, columns)), 1);
            ASSERT_EQ(runner.GetNbTableaux(), 3) << (ui->shown.empty() ? "" : ui->ShownTexts().front());
            ExpectGrid(*runner.GetTableau(0), expected.counts, "counts");
            ExpectGrid(*runner.GetTableau(1), expected.rowPercentages, "line percentages");
            ExpectGrid(*runner.GetTableau(2), expected.columnPercentages, "column percentages");
            EXPECT_EQ(runner.GetTableau(0)->base, expected.total);
        }
}

} // namespace
