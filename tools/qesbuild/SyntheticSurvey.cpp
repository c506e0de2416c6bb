#include "tools/qesbuild/SyntheticSurvey.h"

#include "platform/db/Value.h"
#include "platform/questionnaire/Questionnaire.h"
#include "tools/qesbuild/QesWriter.h"
#include "tools/qesbuild/RandomSource.h"

#include <cmath>
#include <stdexcept>
#include <string>
#include <vector>

namespace qesbuild {

namespace {

constexpr std::int32_t kFrench = 1036;
constexpr double kBlankShare = 0.02;

int ModalityCount(int question) {
    return 2 + question % 9;
}

// Cumulative shares of codes 1 .. L: code k weighs 1 / (k + shift), the shift varying with the
// question so that the questions are not all skewed alike.
std::vector<double> CumulativeShares(int question) {
    const int count = ModalityCount(question);
    const double shift = 0.25 * (question % 4);
    std::vector<double> cumulative;
    double total = 0.0;
    for (int k = 1; k <= count; ++k) {
        total += 1.0 / (k + shift);
        cumulative.push_back(total);
    }
    for (double& share : cumulative)
        share /= total;
    cumulative.back() = 1.0;
    return cumulative;
}

} // namespace

std::unique_ptr<CQuestionnaire> SyntheticSurvey::Questionnaire(int questions) {
    auto questionnaire = std::make_unique<CQuestionnaire>();
    questionnaire->name = "Synthetic";
    questionnaire->language = kFrench;
    questionnaire->AddLanguage(CLanguage(kFrench, "Français"));
    for (int j = 1; j <= questions; ++j) {
        auto question = std::make_unique<CQuestion>();
        question->code = j;
        question->name = "Q" + std::to_string(j);
        question->type = 1;
        question->SetLocalisedShortCaption(kFrench, "Question " + std::to_string(j));
        for (int k = 1; k <= ModalityCount(j); ++k) {
            auto modality = std::make_unique<CModalite>(k);
            modality->SetLocalisedShortCaption(kFrench, "Modalité " + std::to_string(k));
            question->AddModalite(std::move(modality));
        }
        questionnaire->AddQuestion(std::move(question));
    }
    auto weight = std::make_unique<CQuestion>();
    weight->code = questions + 1;
    weight->name = "POIDS";
    weight->type = 5;
    weight->lowerBound = 0.2;
    weight->upperBound = 3.0;
    weight->SetLocalisedShortCaption(kFrench, "Poids");
    questionnaire->AddQuestion(std::move(weight));
    return questionnaire;
}

void SyntheticSurvey::Write(const std::filesystem::path& target, long long interviews, int questions,
                            std::uint64_t seed) {
    if (interviews < 0 || interviews > 2147483647LL || questions < 1 || questions > 30000)
        throw std::invalid_argument("interviews must lie in 0 .. 2147483647 and questions in 1 .. 30000");
    const auto questionnaire = Questionnaire(questions);
    QesWriter writer(target, *questionnaire, 404, {});

    std::vector<std::string> columns{"Cle1"};
    std::vector<std::vector<double>> shares;
    for (int j = 1; j <= questions; ++j) {
        columns.push_back(std::to_string(j) + ";1");
        shares.push_back(CumulativeShares(j));
    }
    columns.push_back(std::to_string(questions + 1) + ";1");
    RecordWriter& records = writer.Level(std::nullopt, columns);

    RandomSource random(seed);
    std::vector<db::Value> row(columns.size());
    for (long long interview = 1; interview <= interviews; ++interview) {
        row[0] = interview;
        for (int j = 0; j < questions; ++j) {
            if (random.Chance(kBlankShare)) {
                row[static_cast<std::size_t>(j) + 1] = db::Value();
                continue;
            }
            const double draw = random.Uniform();
            const auto& cumulative = shares[static_cast<std::size_t>(j)];
            int code = 1;
            while (draw >= cumulative[static_cast<std::size_t>(code - 1)])
                ++code;
            row[static_cast<std::size_t>(j) + 1] = code;
        }
        row.back() = std::round((0.4 + 1.2 * random.Uniform() + 0.3 * random.Uniform()) * 1000.0) / 1000.0;
        records.Insert(row);
    }
    writer.Commit();
}

} // namespace qesbuild
