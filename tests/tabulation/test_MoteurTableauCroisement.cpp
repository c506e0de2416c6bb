// Cross and flat counts of one-answer questions and of several-answer questions holding the same
// answers: the kernels count both alike, to the last bit (a cross's margins to rounding), whatever
// the maps, the weighting and the study field, and whatever the number of interviews, counted in
// several parts at once or not.
// One-answer flat counts of many interviews go by blocks of units where the processor can, the
// several-answer ones unit by unit: their agreement is that of the two ways.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <filesystem>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include "app/ChampEtude.h"
#include "app/ContexteEtude.h"
#include "app/QuestionEtendue.h"
#include "app/Redressement.h"
#include "recodes/ObjectifRedressement.h"
#include "support/RecordingUserInterface.h"
#include "support/FixtureStudyTest.h"
#include "tabulation/MoteurTableau.h"
#include "tools/qesbuild/DescriptionParser.h"
#include "tools/qesbuild/QesWriter.h"

namespace {

using Doubles = std::vector<double>;
using Map = std::vector<std::uint16_t>;
constexpr std::uint16_t X = CMoteurTableau::kNotKept;
constexpr std::int32_t kUnweighted = -1;
constexpr std::int32_t kRaked = 3;

// Ten interviews. SEXES and REGIONS hold the answers of SEXE and REGION in one of their answer
// fields, the others blank; a blank question is held as "not asked" (the last index).
//
//   interview  SEXE  REGION  SEXES  REGIONS
//   1          1     1       1 .    1 . .
//   2          2     3       . 2    . . 3
//   3          1     NI      1 .    . . .
//   4          NI    2       . .    . 2 .
//   5          2     4       2 .    4 . .
//   6          2     2       . 2    . . 2
//   7          1     3       1 .    . 3 .
//   8          NI    NI      . .    . . .
//   9          2     1       . 2    1 . .
//   10         1     4       1 .    . . 4
constexpr const char* kRegions = R"(
questionnaire "Regions" language=fr
language 1036 fr "Français"
question 1 SEXE closed
  modality 1 fr "Homme"
  modality 2 fr "Femme"
question 2 REGION closed
  modality 1 fr "Nord"
  modality 2 fr "Sud"
  modality 3 fr "Est"
  modality 4 fr "Ouest"
question 3 SEXES closed answers=2
  modality 1 fr "Homme"
  modality 2 fr "Femme"
question 4 REGIONS closed answers=3
  modality 1 fr "Nord"
  modality 2 fr "Sud"
  modality 3 fr "Est"
  modality 4 fr "Ouest"
records
Cle1,1;1,2;1,3;1,3;2,4;1,4;2,4;3
1,1,1,1,,1,,
2,2,3,,2,,,3
3,1,,1,,,,
4,,2,,,,2,
5,2,4,2,,4,,
6,2,2,,2,,,2
7,1,3,1,,,3,
8,,,,,,,
9,2,1,,2,1,,
10,1,4,1,,,,4
end
)";

class CrossCountTest : public FixtureStudyTest {
protected:
    void Open(const char* description, const std::string& name) {
        OpenFixture(description, name);
        if (HasFatalFailure())
            return;
        RakeSexTo30And70();
    }
    // Weights that are no whole numbers, so that sums taken in another order would show.
    void RakeSexTo30And70() {
        CObjectifRedressement root;
        auto target = std::make_unique<CObjectifRedressement>(&Named("SEXE"));
        target->SetObjectif(0, 30.0);
        target->SetObjectif(1, 70.0);
        root.AjouterObjectif(std::move(target));
        CRedressement scheme;
        scheme.id = kRaked;
        scheme.name = "Sexe";
        scheme.definition = "0@@0~" + root.EcrireDefinition(context, false, 0);
        context.MettreAJourRedressement(scheme);
    }

    struct Cross {
        Doubles matrix;
        double total = -1;
        std::vector<std::uint8_t> marks;
    };
    Cross Count(const std::string& rows, const std::string& columns, const Map& rowMap, const Map& columnMap,
                std::int32_t weighting) {
        Cross cross;
        std::string error;
        CMoteurTableau::MarquesRepondants marks;
        CMoteurTableau engine(context);
        EXPECT_TRUE(engine.CroiserModalites(Named(rows), Named(columns), cross.matrix, cross.total, rowMap, columnMap,
                                            0, -1, weighting, error, &marks))
            << error;
        cross.marks = marks[0];
        return cross;
    }
};

class MoteurTableauCroisementTest : public CrossCountTest {
protected:
    void SetUp() override {
        CrossCountTest::SetUp();
        Open(kRegions, "regions");
    }
};

TEST_F(MoteurTableauCroisementTest, OneAnswerQuestionsCrossedByHand) {
    // Homme, Femme, not asked by Nord, Sud, Est, Ouest, not asked; margins and total last.
    const Cross real = Count("SEXE", "REGION", {0, 1, X}, {0, 1, 2, 3, X}, kUnweighted);
    EXPECT_EQ(real.matrix, (Doubles{1, 0, 1, 1, 0, 3, /**/ 1, 1, 1, 1, 0, 4, /**/ 0, 0, 0, 0, 0, 0,
                                    /**/ 2, 1, 2, 2, 0, 7}));
    EXPECT_EQ(real.total, 7);
    EXPECT_EQ(real.marks, (std::vector<std::uint8_t>{1, 1, 0, 0, 1, 1, 1, 0, 1, 1}));

    const Cross all = Count("SEXE", "REGION", {0, 1, 2}, {0, 1, 2, 3, 4}, kUnweighted);
    EXPECT_EQ(all.matrix, (Doubles{1, 0, 1, 1, 1, 4, /**/ 1, 1, 1, 1, 0, 4, /**/ 0, 1, 0, 0, 1, 2,
                                   /**/ 2, 2, 2, 2, 2, 10}));
    EXPECT_EQ(all.total, 10);
}

TEST_F(MoteurTableauCroisementTest, OneAnswerAndSeveralAnswerQuestionsOfTheSameAnswersCountAlike) {
    struct Case {
        const char* what;
        Map sexes;
        Map regions;
        std::int32_t weighting;
    };
    const std::vector<Case> cases = {
        {"real answers", {0, 1, X}, {0, 1, 2, 3, X}, kUnweighted},
        {"real answers, raked", {0, 1, X}, {0, 1, 2, 3, X}, kRaked},
        {"not asked kept, raked", {0, 1, 2}, {0, 1, 2, 3, 4}, kRaked},
        {"some answers left out, raked", {X, 1, X}, {0, X, 2, X, X}, kRaked},
        {"a map shorter than the question", {0}, {0, 1}, kRaked},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const Cross single = Count("SEXE", "REGION", c.sexes, c.regions, c.weighting);
        ASSERT_GT(single.total, 0);
        for (const auto& [rows, columns] : {std::pair{"SEXES", "REGIONS"}, std::pair{"SEXE", "REGIONS"},
                                            std::pair{"SEXES", "REGION"}}) {
            SCOPED_TRACE(std::string(rows) + " by " + columns);
            const Cross several = Count(rows, columns, c.sexes, c.regions, c.weighting);
            EXPECT_EQ(several.matrix, single.matrix);
            EXPECT_EQ(several.total, single.total);
            EXPECT_EQ(several.marks, single.marks);
        }
    }
}

TEST_F(MoteurTableauCroisementTest, FlatCountsAndTheMarginsOfACrossOverEveryAnswerAgree) {
    // Every modality of REGION kept, the not-asked one too: each interview with a kept SEXE
    // answers a counted pair, so the line margins weigh the same interviews as the flat counts.
    const Map sexes = {0, 1, 2};
    const Cross cross = Count("SEXE", "REGION", sexes, {0, 1, 2, 3, 4}, kRaked);
    Doubles counts;
    double respondents = -1;
    double total = -1;
    std::string error;
    CMoteurTableau engine(context);
    ASSERT_TRUE(engine.CompterModalites(Named("SEXE"), counts, respondents, total, sexes, 0, -1, kRaked, error))
        << error;
    const std::size_t stride = 6; // five REGION modalities and the line margin
    for (std::size_t a = 0; a < sexes.size(); ++a)
        EXPECT_EQ(cross.matrix[a * stride + 5], counts[a]) << "line " << a;
    EXPECT_EQ(cross.total, respondents);
    EXPECT_EQ(cross.total, total);
}

// Enough interviews to be counted in three parts, the last one short and not a whole number of
// blocks of sixteen units. Interview i answers SEXE
// and REGION from a small generator (blank now and then), SEXES and REGIONS holding the same
// answers in a field that moves from one interview to the next.
class ManyInterviewsCrossTest : public CrossCountTest {
protected:
    static constexpr int kInterviews = 2 * 65536 + 37;

    void SetUp() override {
        CrossCountTest::SetUp();
        const std::string description = Describe();
        Open(description.c_str(), "many");
    }

    std::string Describe() {
        std::ostringstream text;
        const std::string questions = kRegions;
        text << questions.substr(0, questions.find("records") + std::string("records\n").size());
        text << "Cle1,1;1,2;1,3;1,3;2,4;1,4;2,4;3\n";
        std::uint32_t state = 12345;
        for (int i = 1; i <= kInterviews; ++i) {
            state = state * 1103515245U + 12345U;
            const std::uint32_t draw = state >> 16;
            sexes.push_back(static_cast<int>(draw % 3));   // 0: blank
            regions.push_back(static_cast<int>(draw / 3 % 5)); // 0: blank
            const std::string sex = sexes.back() == 0 ? "" : std::to_string(sexes.back());
            const std::string region = regions.back() == 0 ? "" : std::to_string(regions.back());
            const int sexSlot = i % 2;
            const int regionSlot = i % 3;
            text << i << ',' << sex << ',' << region << ',' << (sexSlot == 0 ? sex : "") << ','
                 << (sexSlot == 1 ? sex : "") << ',' << (regionSlot == 0 ? region : "") << ','
                 << (regionSlot == 1 ? region : "") << ',' << (regionSlot == 2 ? region : "") << '\n';
        }
        text << "end\n";
        return text.str();
    }

    // By interview, the answer written (0 for a blank).
    std::vector<int> sexes;
    std::vector<int> regions;
};

// Two crosses of the same answers, `columns` columns plus the line margins: the cells and the
// total the same to the last bit (added in the same order), the margins to rounding (a one-answer
// cross sums them from its cells).
void ExpectSameCross(const Doubles& actual, const Doubles& expected, std::size_t columns) {
    ASSERT_EQ(actual.size(), expected.size());
    const std::size_t stride = columns + 1;
    const std::size_t marginLine = expected.size() / stride - 1;
    for (std::size_t slot = 0; slot < expected.size(); ++slot) {
        const bool margin = (slot % stride == columns || slot / stride == marginLine) && slot + 1 != expected.size();
        if (margin)
            EXPECT_NEAR(actual[slot], expected[slot], 1e-12 * std::abs(expected[slot])) << "margin " << slot;
        else
            EXPECT_EQ(actual[slot], expected[slot]) << "cell " << slot;
    }
}

TEST_F(ManyInterviewsCrossTest, CountedInPartsTheAnswersStillCountAlikeAndByHand) {
    const Map sexMap = {0, 1, X};
    const Map regionMap = {0, 1, 2, 3, X};

    // Unweighted, every count is a whole number: the sums of the parts are the hand counts.
    const Cross plain = Count("SEXE", "REGION", sexMap, regionMap, kUnweighted);
    // Three SEXE indices (the last: not asked) by five REGION ones, line margins last, then the
    // column margins and the total.
    Doubles expected(4 * 6, 0.0);
    std::vector<std::uint8_t> marks(kInterviews, 0);
    for (int i = 0; i < kInterviews; ++i) {
        if (sexes[i] == 0 || regions[i] == 0)
            continue;
        const auto a = static_cast<std::size_t>(sexes[i] - 1);
        const auto b = static_cast<std::size_t>(regions[i] - 1);
        expected[a * 6 + b] += 1;
        expected[a * 6 + 5] += 1;
        expected[3 * 6 + b] += 1;
        expected[3 * 6 + 5] += 1;
        marks[static_cast<std::size_t>(i)] = 1;
    }
    ASSERT_EQ(plain.matrix.size(), expected.size());
    EXPECT_EQ(plain.matrix, expected);
    EXPECT_EQ(plain.total, expected.back());
    EXPECT_EQ(plain.marks, marks);

    // Raked, a cross is the same to the last bit from run to run; the one-answer and the
    // several-answer questions agree to the last bit in the cells and the total, to rounding in
    // the margins.
    const Cross single = Count("SEXE", "REGION", sexMap, regionMap, kRaked);
    EXPECT_EQ(Count("SEXE", "REGION", sexMap, regionMap, kRaked).matrix, single.matrix);
    const Cross several = Count("SEXES", "REGIONS", sexMap, regionMap, kRaked);
    ExpectSameCross(single.matrix, several.matrix, 5);
    EXPECT_EQ(several.total, single.total);
    EXPECT_EQ(several.marks, single.marks);

    Doubles counts;
    double respondents = -1;
    double total = -1;
    std::string error;
    CMoteurTableau engine(context);
    const Map everySex = {0, 1, 2};
    ASSERT_TRUE(engine.CompterModalites(Named("SEXES"), counts, respondents, total, everySex, 0, -1, kRaked, error))
        << error;
    const Cross overEveryAnswer = Count("SEXE", "REGION", everySex, {0, 1, 2, 3, 4}, kRaked);
    for (std::size_t a = 0; a < everySex.size(); ++a)
        EXPECT_NEAR(overEveryAnswer.matrix[a * 6 + 5], counts[a], 1e-12 * counts[a]) << "line " << a;
    EXPECT_EQ(overEveryAnswer.total, total);
}

struct Flat {
    Doubles counts;
    double respondents = -1;
    double total = -1;
    bool operator==(const Flat&) const = default;
};

TEST_F(ManyInterviewsCrossTest, FlatCountsOfOneAndSeveralAnswerQuestionsAgreeToTheLastBit) {
    // Interviews that answered SEXE "Homme": the others weigh 0 and count in no unweighted count.
    CChampEtude men;
    men.id = 50;
    men.name = "Hommes";
    CChampCondition& condition = men.conditions[0];
    condition.SetQuestion(&Named("SEXE"));
    condition.kind = 0;
    condition.SetModalites({0});
    men.connectors = {1, 1, 1};
    context.MettreAJourChampEtude(men);

    const auto count = [&](const char* question, const Map& map, std::int32_t field, std::int32_t weighting) {
        Flat flat;
        std::string error;
        CMoteurTableau engine(context);
        EXPECT_TRUE(engine.CompterModalites(Named(question), flat.counts, flat.respondents, flat.total, map, 0,
                                            field, weighting, error))
            << error;
        return flat;
    };
    struct Case {
        const char* what;
        Map regions;
    };
    const std::vector<Case> cases = {
        {"every modality, not asked too", {0, 1, 2, 3, 4}},
        {"the real answers", {0, 1, 2, 3, X}},
        {"some answers left out", {0, X, 2, X, X}},
        {"one modality", {X, X, X, 3, X}},
        {"a map shorter than the question", {0, 1}},
        {"nothing kept", {X, X, X, X, X}},
    };
    for (const Case& c : cases) {
        for (const std::int32_t field : {-1, 50}) {
            for (const std::int32_t weighting : {kUnweighted, kRaked}) {
                SCOPED_TRACE(std::string(c.what) + ", field " + std::to_string(field) + ", weighting " +
                             std::to_string(weighting));
                const Flat single = count("REGION", c.regions, field, weighting);
                EXPECT_EQ(count("REGIONS", c.regions, field, weighting), single);
                EXPECT_EQ(count("REGION", c.regions, field, weighting), single);
                if (weighting != kUnweighted)
                    continue;
                // Unweighted, the counts are the hand counts, each once weighted and once not.
                Flat expected{Doubles(10, 0.0), 0.0, 0.0};
                for (int i = 0; i < kInterviews; ++i) {
                    if (field == 50 && sexes[i] != 1)
                        continue;
                    expected.total += 1;
                    // A blank REGION is held as not asked, the last index.
                    const auto index = static_cast<std::size_t>(regions[i] == 0 ? 4 : regions[i] - 1);
                    if (index >= c.regions.size() || c.regions[index] == X)
                        continue;
                    expected.counts[index] += 1;
                    expected.counts[5 + index] += 1;
                    expected.respondents += 1;
                }
                EXPECT_EQ(single, expected);
            }
        }
    }
}

} // namespace
