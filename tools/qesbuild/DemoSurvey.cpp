#include "tools/qesbuild/DemoSurvey.h"

#include "platform/db/Value.h"
#include "tools/qesbuild/CellValue.h"
#include "tools/qesbuild/DescriptionParser.h"
#include "tools/qesbuild/OpenAnswerPhrases.h"
#include "tools/qesbuild/QesWriter.h"
#include "tools/qesbuild/RandomSource.h"

#include <algorithm>
#include <cmath>
#include <map>
#include <stdexcept>
#include <string>
#include <vector>

namespace qesbuild {

namespace {

// Codes of resources/demo/demo.txt.
constexpr int kSexe = 1, kAge = 2, kTranche = 3, kRegion = 4, kCsp = 5, kFoyer = 6, kRevenu = 7;
constexpr int kSatisfaction = 10, kMarques = 11, kClassement = 12, kAchat = 13, kService = 14, kConnu = 15;
constexpr int kMembres = 500, kPrenom = 51, kAgeMembre = 52, kLien = 53;
constexpr int kBrandAnswers = 4, kRankingAnswers = 3, kMaxMembers = 5;

// Distributions, one row per condition.
constexpr double kAgeBandWeights[] = {0.11, 0.16, 0.26, 0.25, 0.22};
constexpr int kAgeBandLimits[5][2] = {{18, 24}, {25, 34}, {35, 49}, {50, 64}, {65, 88}};
constexpr double kRegionWeights[] = {0.19, 0.22, 0.21, 0.17, 0.21};
// Socio-professional category by age band.
constexpr double kCspByAgeBand[5][8] = {
    {0.00, 0.01, 0.04, 0.10, 0.22, 0.15, 0.00, 0.48}, {0.01, 0.05, 0.20, 0.26, 0.24, 0.18, 0.00, 0.06},
    {0.02, 0.08, 0.22, 0.26, 0.20, 0.18, 0.00, 0.04}, {0.03, 0.09, 0.18, 0.22, 0.20, 0.18, 0.06, 0.04},
    {0.01, 0.02, 0.01, 0.01, 0.01, 0.01, 0.90, 0.03},
};
// Household size 1 .. 7 by age band.
constexpr double kHouseholdByAgeBand[5][7] = {
    {0.30, 0.30, 0.20, 0.12, 0.05, 0.02, 0.01}, {0.25, 0.30, 0.20, 0.15, 0.07, 0.02, 0.01},
    {0.12, 0.20, 0.22, 0.27, 0.13, 0.04, 0.02}, {0.20, 0.40, 0.18, 0.13, 0.06, 0.02, 0.01},
    {0.40, 0.50, 0.06, 0.03, 0.01, 0.00, 0.00},
};
// Monthly income by category, before the household and the spread.
constexpr double kIncomeByCsp[] = {2200, 3300, 5200, 3400, 2500, 2400, 2300, 1400};
// Satisfaction 1 .. 5 by region.
constexpr double kSatisfactionByRegion[5][5] = {
    {0.12, 0.33, 0.25, 0.18, 0.12}, {0.20, 0.40, 0.20, 0.13, 0.07}, {0.22, 0.41, 0.20, 0.11, 0.06},
    {0.33, 0.42, 0.14, 0.07, 0.04}, {0.18, 0.38, 0.22, 0.14, 0.08},
};
constexpr double kBrandFame[] = {0.85, 0.60, 0.45, 0.40, 0.30, 0.20, 0.15, 0.10};
constexpr double kBrandCountWeights[] = {0.03, 0.17, 0.30, 0.28, 0.22};
constexpr double kCriteriaWeights[] = {0.30, 0.28, 0.17, 0.12, 0.13};
constexpr double kHowKnownWeights[] = {0.25, 0.30, 0.22, 0.15, 0.08};
constexpr int kOtherModality = 5;
constexpr double kSemiOpenWeights[] = {0.3, 0.3, 0.4}; // semi-open answers 101, 102, 103
constexpr int kFirstSemiOpenId = 101;
constexpr int kInterviewers[] = {101, 102, 103, 104, 105};

const char* const kMaleNames[] = {"Jean",    "Pierre",  "Michel", "Philippe", "Alain",
                                  "Nicolas", "Thomas",  "Julien", "Lucas",    "Hugo",
                                  "Louis",   "Antoine", "Éric",   "François", "Mathieu"};
const char* const kFemaleNames[] = {"Marie", "Nathalie", "Isabelle", "Sylvie", "Catherine",
                                    "Julie", "Camille",  "Léa",      "Emma",   "Chloé",
                                    "Manon", "Sophie",   "Hélène",   "Céline", "Élodie"};

template <std::size_t N> std::vector<double> Weights(const double (&row)[N]) {
    return {std::begin(row), std::end(row)};
}

std::string AnswerField(int code, int order) {
    return std::to_string(code) + ";" + std::to_string(order);
}

// A record under construction: values by field name, in the writer's column order.
class Record {
public:
    explicit Record(const std::vector<std::string>& columns) : values_(columns.size()) {
        for (std::size_t i = 0; i < columns.size(); ++i)
            index_.emplace(columns[i], i);
    }
    void Clear() { std::fill(values_.begin(), values_.end(), db::Value()); }
    void Set(const std::string& field, db::Value value) { values_.at(index_.at(field)) = std::move(value); }
    void Answer(int code, int order, db::Value value) { Set(AnswerField(code, order), std::move(value)); }
    const std::vector<db::Value>& values() const { return values_; }

private:
    std::map<std::string, std::size_t> index_;
    std::vector<db::Value> values_;
};

std::vector<std::string> Columns(std::vector<std::string> fixed,
                                 const std::vector<std::pair<int, int>>& questions) {
    for (const auto& [code, answers] : questions)
        for (int order = 0; order <= answers; ++order)
            fixed.push_back(AnswerField(code, order));
    return fixed;
}

// Draws `count` distinct indexes, each in turn with probability proportional to its weight.
std::vector<int> DrawWithoutReplacement(RandomSource& random, std::vector<double> weights, int count) {
    std::vector<int> drawn;
    for (int i = 0; i < count; ++i) {
        const std::size_t index = random.Pick(weights);
        drawn.push_back(static_cast<int>(index));
        weights[index] = 0.0;
    }
    return drawn;
}

struct Respondent {
    int sex = 1;
    int age = 0;
    int ageBand = 0;
    int household = 1;
};

void AnswerWithDuration(RandomSource& random, Record& record, int code, db::Value value, int minimumSeconds) {
    record.Answer(code, 0, minimumSeconds + random.Below(20));
    record.Answer(code, 1, std::move(value));
}

void WriteMembers(RandomSource& random, RecordWriter& members, Record& record, int interview,
                  const Respondent& respondent) {
    const int count = std::min(respondent.household, kMaxMembers);
    bool hasPartner = false;
    for (int member = 1; member <= count; ++member) {
        record.Clear();
        record.Set("Cle1", interview);
        record.Set("Cle2", member);
        record.Set("Ordre", member);
        int sex = respondent.sex;
        int age = respondent.age;
        int link = 1;
        if (member > 1) {
            if (!hasPartner && respondent.age >= 22 && random.Chance(0.7)) {
                hasPartner = true;
                link = 2;
                sex = random.Chance(0.92) ? 3 - respondent.sex : respondent.sex;
                age = std::clamp(respondent.age + random.Between(-6, 6), 18, 99);
            } else if (respondent.age >= 25 && random.Chance(0.85)) {
                link = 3;
                sex = random.Between(1, 2);
                age = std::max(0, respondent.age - random.Between(20, 38));
            } else if (respondent.age < 30 && random.Chance(0.7)) {
                link = 4;
                sex = random.Between(1, 2);
                age = std::min(99, respondent.age + random.Between(22, 34));
            } else {
                link = 5;
                sex = random.Between(1, 2);
                age = random.Between(15, 80);
            }
        }
        const auto& names = sex == 1 ? kMaleNames : kFemaleNames;
        const std::string firstName = names[random.Below(static_cast<int>(std::size(kMaleNames)))];
        AnswerWithDuration(random, record, kPrenom, firstName, 4);
        AnswerWithDuration(random, record, kAgeMembre, static_cast<double>(age), 3);
        AnswerWithDuration(random, record, kLien, link, 3);
        members.Insert(record.values());
    }
}

void WriteInterview(RandomSource& random, RecordWriter& interviews, Record& record, RecordWriter& members,
                    Record& memberRecord, int interview) {
    record.Clear();
    record.Set("Cle1", interview);
    record.Set("CodeEnqueteur", kInterviewers[random.Below(static_cast<int>(std::size(kInterviewers)))]);
    const double start = DayCount(2024, 3, 4) + random.Below(56) + (9 * 60 + random.Below(11 * 60)) / 1440.0;
    record.Set("DebutInterview", start);
    record.Set("FinInterview", start + (8 + random.Below(25)) / 1440.0);
    record.Set("LanguageId", 1036);
    const bool completed = random.Chance(0.97);
    record.Set("Completed", completed);

    Respondent respondent;
    respondent.sex = random.Chance(0.48) ? 1 : 2;
    respondent.ageBand = static_cast<int>(random.Pick(Weights(kAgeBandWeights)));
    const auto& limits = kAgeBandLimits[respondent.ageBand];
    respondent.age = random.Between(limits[0], limits[1]);
    const int region = static_cast<int>(random.Pick(Weights(kRegionWeights)));
    const int csp = static_cast<int>(random.Pick(Weights(kCspByAgeBand[respondent.ageBand])));
    respondent.household =
        1 + static_cast<int>(random.Pick(Weights(kHouseholdByAgeBand[respondent.ageBand])));

    AnswerWithDuration(random, record, kSexe, respondent.sex, 2);
    AnswerWithDuration(random, record, kAge, static_cast<double>(respondent.age), 3);
    AnswerWithDuration(random, record, kTranche, respondent.ageBand + 1, 2);
    AnswerWithDuration(random, record, kRegion, region + 1, 3);
    AnswerWithDuration(random, record, kCsp, csp + 1, 5);
    AnswerWithDuration(random, record, kFoyer, static_cast<double>(respondent.household), 3);
    if (!random.Chance(0.06)) {
        const double income =
            kIncomeByCsp[csp] * (1.0 + 0.15 * (respondent.household - 1)) * std::exp(0.25 * random.Normal());
        AnswerWithDuration(random, record, kRevenu, std::round(income / 10.0) * 10.0, 6);
    }

    int satisfaction = 1 + static_cast<int>(random.Pick(Weights(kSatisfactionByRegion[region])));
    if (random.Chance(0.04))
        satisfaction = -1; // the count-lowering missing code
    AnswerWithDuration(random, record, kSatisfaction, satisfaction, 3);

    std::vector<double> fame = Weights(kBrandFame);
    if (respondent.ageBand <= 1)
        fame[5] *= 3.0; // the young know Fenwood better
    const int brandCount = static_cast<int>(random.Pick(Weights(kBrandCountWeights)));
    const std::vector<int> brands = DrawWithoutReplacement(random, fame, std::min(brandCount, kBrandAnswers));
    if (!brands.empty()) {
        record.Answer(kMarques, 0, 5 + random.Below(25));
        for (std::size_t i = 0; i < brands.size(); ++i)
            record.Answer(kMarques, static_cast<int>(i) + 1, brands[i] + 1);
    }

    const double achat = std::floor(start) - std::floor(random.Uniform() * random.Uniform() * 365.0);
    AnswerWithDuration(random, record, kAchat, achat, 4);

    if (completed) {
        std::vector<double> criteria = Weights(kCriteriaWeights);
        if (csp == 5 || csp == 7)
            criteria[0] *= 2.0; // price first for workers and students
        if (csp == 2 || csp == 6)
            criteria[1] *= 1.8; // quality for executives and the retired
        const std::vector<int> ranks = DrawWithoutReplacement(random, criteria, kRankingAnswers);
        record.Answer(kClassement, 0, 8 + random.Below(30));
        for (std::size_t i = 0; i < ranks.size(); ++i)
            record.Answer(kClassement, static_cast<int>(i) + 1, ranks[i] + 1);

        if (!random.Chance(0.12))
            AnswerWithDuration(random, record, kService,
                               OpenAnswerPhrases::ServiceOpinion(random, satisfaction), 15);

        int howKnown = 1 + static_cast<int>(random.Pick(Weights(kHowKnownWeights)));
        if (howKnown == kOtherModality && random.Chance(0.6))
            howKnown = -(kFirstSemiOpenId +
                         static_cast<int>(random.Pick(Weights(kSemiOpenWeights)))); // a semi-open answer
        AnswerWithDuration(random, record, kConnu, howKnown, 3);
    }
    interviews.Insert(record.values());
    WriteMembers(random, members, memberRecord, interview, respondent);
}

} // namespace

FixtureDescription DemoSurvey::Description() {
    return DescriptionParser::Parse(DescriptionText(), "resources/demo/demo.txt", {});
}

void DemoSurvey::WriteRecords(QesWriter& writer, std::uint64_t seed, int interviews) {
    const std::vector<std::string> interviewColumns =
        Columns({"Cle1", "CodeEnqueteur", "DebutInterview", "FinInterview", "LanguageId", "Completed"},
                {{kSexe, 1},
                 {kAge, 1},
                 {kTranche, 1},
                 {kRegion, 1},
                 {kCsp, 1},
                 {kFoyer, 1},
                 {kRevenu, 1},
                 {kSatisfaction, 1},
                 {kMarques, kBrandAnswers},
                 {kClassement, kRankingAnswers},
                 {kAchat, 1},
                 {kService, 1},
                 {kConnu, 1}});
    const std::vector<std::string> memberColumns =
        Columns({"Cle1", "Cle2", "Ordre"}, {{kPrenom, 1}, {kAgeMembre, 1}, {kLien, 1}});
    RecordWriter& interviewWriter = writer.Level(std::nullopt, interviewColumns);
    RecordWriter& memberWriter = writer.Level(kMembres, memberColumns);
    Record interview(interviewColumns);
    Record member(memberColumns);
    RandomSource random(seed);
    for (int i = 1; i <= interviews; ++i)
        WriteInterview(random, interviewWriter, interview, memberWriter, member, i);
}

void DemoSurvey::Write(const std::filesystem::path& directory, std::uint64_t seed, int interviews) {
    std::filesystem::create_directories(directory);
    FixtureDescription description = Description();
    QesWriter writer(directory / "demo.qes", *description.questionnaire, description.fileVersion,
                     description.interviewers);
    WriteRecords(writer, seed, interviews);
    writer.Commit();
}

} // namespace qesbuild
