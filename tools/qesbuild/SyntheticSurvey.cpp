#include "tools/qesbuild/SyntheticSurvey.h"

#include "platform/db/Value.h"
#include "platform/questionnaire/Questionnaire.h"
#include "tools/qesbuild/OpenAnswerPhrases.h"
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

constexpr std::uint64_t kOpinionSeed = 0x6F70696E696F6E73; // "opinions"
constexpr std::size_t kToneQuestion = 8;                       // ten categories
constexpr double kOrderShare = 0.2;
constexpr int kOrderNumbers = 1000;

std::unique_ptr<CQuestion> OpinionQuestion(std::int32_t code) {
    auto opinion = std::make_unique<CQuestion>();
    opinion->code = code;
    opinion->name = "AVIS";
    opinion->type = 4;
    opinion->SetLocalisedShortCaption(kFrench, "Avis sur le service");
    return opinion;
}

// The opinion of an interview whose question 8 holds `tone` (1 .. 10, or none).
std::string Opinion(RandomSource& random, const db::Value& tone) {
    const int satisfaction = tone.isNull() ? 3 : static_cast<int>((tone.toInteger() + 1) / 2);
    std::string answer = OpenAnswerPhrases::ServiceOpinion(random, satisfaction);
    if (random.Chance(kOrderShare))
        answer += " Commande " + std::to_string(1 + random.Below(kOrderNumbers)) + ".";
    return answer;
}

} // namespace

std::unique_ptr<CQuestionnaire> SyntheticSurvey::Questionnaire(int questions, bool openAnswers) {
    auto questionnaire = std::make_unique<CQuestionnaire>();
    questionnaire->name = "Synthetic";
    questionnaire->language = kFrench;
    questionnaire->AddLanguage(CLanguage(kFrench, "Français"));
    for (int j = 1; j <= questions; ++j) {
        auto question = std::make_unique<CQuestion>();
        question->code = j;
        question->name = std::string("Q").append(std::to_string(j));
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
    if (openAnswers)
        questionnaire->AddQuestion(OpinionQuestion(questions + 2));
    return questionnaire;
}

void SyntheticSurvey::Write(const std::filesystem::path& target, long long interviews, int questions,
                            std::uint64_t seed, bool openAnswers) {
    if (interviews < 0 || interviews > 2147483647LL || questions < 1 || questions > 30000)
        throw std::invalid_argument("interviews must lie in 0 .. 2147483647 and questions in 1 .. 30000");
    const auto questionnaire = Questionnaire(questions, openAnswers);
    QesWriter writer(target, *questionnaire, 404, {});

    std::vector<std::string> columns{"Cle1"};
    std::vector<std::vector<double>> shares;
    for (int j = 1; j <= questions; ++j) {
        columns.push_back(std::to_string(j) + ";1");
        shares.push_back(CumulativeShares(j));
    }
    columns.push_back(std::to_string(questions + 1) + ";1");
    if (openAnswers)
        columns.push_back(std::to_string(questions + 2) + ";1");
    RecordWriter& records = writer.Level(std::nullopt, columns);

    RandomSource random(seed);
    // A draw of its own, so that the closed answers stay those of the survey without opinions.
    RandomSource opinions(seed ^ kOpinionSeed);
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
        const std::size_t weight = static_cast<std::size_t>(questions) + 1;
        row[weight] = std::round((0.4 + 1.2 * random.Uniform() + 0.3 * random.Uniform()) * 1000.0) / 1000.0;
        if (openAnswers)
            row.back() = Opinion(opinions, questions >= static_cast<int>(kToneQuestion) ? row[kToneQuestion] : db::Value());
        records.Insert(row);
    }
    writer.Commit();
}

} // namespace qesbuild
