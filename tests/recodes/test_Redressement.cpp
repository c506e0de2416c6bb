#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "app/ContexteEtude.h"
#include "app/Redressement.h"
#include "app/VecteurDouble.h"
#include "LocaleGuard.h"
#include "recodes/CalculRedressement.h"
#include "recodes/ObjectifRedressement.h"
#include "ReferenceRaking.h"
#include "support/RecordingUserInterface.h"
#include "support/SettingsFixture.h"
#include "tools/qesbuild/DescriptionParser.h"
#include "tools/qesbuild/QesWriter.h"

namespace {

// Eight interviews. Q1: 0,0,0,0,0,1,1,1 (modality indexes); Q2: 0,1,0,1,0,1,0,1; Q1BIS answers
// as Q1; nobody answers modality 3 of Q4. Numeric questions for initial weights: W positive,
// NEG with a negative value, ZERO all 0, MISS with interviews 2 and 3 unanswered.
constexpr const char* kEightInterviews = R"(
questionnaire "Poids" language=fr
language 1036 fr "Français"
question 1 Q1 closed
  modality 1 fr "A"
  modality 2 fr "B"
question 2 Q2 closed
  modality 1 fr "X"
  modality 2 fr "Y"
question 3 W numeric
question 4 Q4 closed
  modality 1 fr "P"
  modality 2 fr "R"
  modality 3 fr "S"
question 5 NEG numeric
question 6 ZERO numeric
question 7 MISS numeric
question 8 Q1BIS closed
  modality 1 fr "A"
  modality 2 fr "B"
records
Cle1,1;1,2;1,3;1,4;1,5;1,6;1,7;1,8;1
1,1,1,1,1,1,0,1,1
2,1,2,1,2,1,0,,1
3,1,1,2,1,1,0,,1
4,1,2,2,2,1,0,2,1
5,1,1,1,1,-1,0,2,1
6,2,2,1,2,1,0,2,2
7,2,1,2,1,1,0,2,2
8,2,2,2,2,1,0,2,2
end
)";

class RakingTest : public SettingsFixture {
protected:
    void SetUp() override {
        SettingsFixture::SetUp();
        std::string pattern = (std::filesystem::temp_directory_path() / "morvane-raking-XXXXXX").string();
        ASSERT_NE(::mkdtemp(pattern.data()), nullptr);
        folder = pattern;
        context.questionnairePath = folder + "/poids.qes";
        qesbuild::FixtureDescription fixture =
            qesbuild::DescriptionParser::Parse(kEightInterviews, "poids.txt", folder);
        qesbuild::WriteFixture(fixture, context.questionnairePath);
        auto recorder = std::make_unique<RecordingUserInterface>();
        ui = recorder.get();
        context.SetUserInterface(std::move(recorder));
        ASSERT_TRUE(context.OuvrirEtude()) << context.GetLastError();
        ASSERT_EQ(context.DonnerNbreInterviews(), 8);
    }
    void TearDown() override {
        std::filesystem::remove_all(folder);
        SettingsFixture::TearDown();
    }

    CQuestionEtendue* Question(const std::string& name) const { return context.TrouverQuestionParNom(name); }

    // A plain target on the question with these desired values.
    std::unique_ptr<CObjectifRedressement> Target(const std::string& name, const std::vector<double>& desired) {
        auto target = std::make_unique<CObjectifRedressement>(Question(name));
        for (std::size_t k = 0; k < desired.size(); ++k)
            target->SetObjectif(static_cast<int>(k), desired[k]);
        return target;
    }

    // Stores a scheme of these plain targets under the root and answers its id.
    std::int32_t Scheme(std::vector<std::unique_ptr<CObjectifRedressement>> targets, const std::string& weight = {},
                        double total = 0.0) {
        CObjectifRedressement root;
        for (auto& target : targets)
            root.AjouterObjectif(std::move(target));
        CRedressement scheme;
        scheme.id = nextId++;
        scheme.name = "Cible/" + std::to_string(scheme.id);
        scheme.NTotal = total;
        std::int32_t code = 0;
        std::string keys;
        std::int32_t recode = 0;
        CEnquete::DonnerReferenceQuestion(weight.empty() ? nullptr : Question(weight), code, keys, recode);
        scheme.definition = std::to_string(code) + "@" + keys + "@" + std::to_string(recode) + "~" +
                            root.EcrireDefinition(context, false, 0);
        context.MettreAJourRedressement(scheme);
        return scheme.id;
    }

    std::vector<std::string> ReportLines(std::int32_t id) const {
        std::ifstream in(context.DonnerRepertoireInversion() + "/Report of Cible_" + std::to_string(id) + ".txt",
                         std::ios::binary);
        std::vector<std::string> lines;
        for (std::string line; std::getline(in, line);)
            lines.push_back(line);
        return lines;
    }

    std::string folder;
    CContexteEtude context;
    RecordingUserInterface* ui = nullptr;
    std::int32_t nextId = 10;
};

std::vector<std::unique_ptr<CObjectifRedressement>> Targets(std::unique_ptr<CObjectifRedressement> a,
                                                             std::unique_ptr<CObjectifRedressement> b = nullptr) {
    std::vector<std::unique_ptr<CObjectifRedressement>> list;
    list.push_back(std::move(a));
    if (b != nullptr)
        list.push_back(std::move(b));
    return list;
}

// Reference: iterative proportional fitting by hand of the 2 × 2 table (3, 2 / 1, 2) to the
// margins 4, 4 and 2.4, 5.6, carried on until the change is below 1e-12; tolerance 1e-5.
TEST_F(RakingTest, EightInterviewsConvergeToTheHandComputedWeights) {
    Store().WriteInteger("Weighting", "RakingReport", 1);
    const std::int32_t id = Scheme(Targets(Target("Q1", {50, 50}), Target("Q2", {30, 70})));
    CVecteurDouble weights(8);
    weights.Remplir(1.0);
    std::string error;
    ASSERT_TRUE(CalculerRedressement(id, 0, weights, error, context)) << error;
    EXPECT_TRUE(error.empty()) << error;
    ASSERT_EQ(weights.GetSize(), 8);
    const double expected[8] = {0.548241, 1.177641, 0.548241, 1.177641, 0.548241, 1.622359, 0.755276, 1.622359};
    double sum = 0.0;
    for (int i = 0; i < 8; ++i) {
        EXPECT_NEAR(weights.GetAt(i), expected[i], 1e-5) << "interview " << i;
        sum += weights.GetAt(i);
    }
    EXPECT_NEAR(sum, 8.0, 1e-9); // NTotal 0 and no initial weight: the interview count
    const std::vector<std::string> lines = ReportLines(id);
    ASSERT_GE(lines.size(), 6u);
    EXPECT_EQ(lines[0], "Min poids = 0\r");
    EXPECT_EQ(lines[1], "Max poids = 5\r");
    EXPECT_EQ(lines[2], "Max nombre d'itérations=60\r");
    EXPECT_EQ(lines[4], "Iteration\tQuestion\tDeviation\r");
    // Q2 first: chi-square (4 - 2.4)²/2.4 + (4 - 5.6)²/5.6 = 1.5238095..., divided by its K = 2
    // modalities (the program's "non interrogé" modality takes no target) and by s = 1; Q1 gives
    // 0.5 / 2.
    EXPECT_EQ(lines[5], "1\tQ2\t0.7619047619047619\r");
    EXPECT_NE(std::find(lines.begin(), lines.end(), "Redressement réussi\r"), lines.end());
    EXPECT_TRUE(ui->shown.empty());
}

// An initial-weight question: its positive values start the weights and their sum is the total;
// unanswered interviews weigh nothing from the start to the end.
TEST_F(RakingTest, InitialWeightsStartTheRunAndMissingOnesWeighNothing) {
    const std::int32_t id = Scheme(Targets(Target("Q1", {50, 50})), "MISS", 0.0);
    CVecteurDouble weights(8);
    weights.Remplir(1.0);
    std::string error;
    ASSERT_TRUE(CalculerRedressement(id, 0, weights, error, context)) << error;
    // Sum of MISS = 1 + 2 × 5 = 11; Q1 A holds 1 + 0 + 0 + 2 + 2 = 5 -> 5.5; B holds 6 -> 5.5.
    EXPECT_EQ(weights.GetAt(1), 0.0);
    EXPECT_EQ(weights.GetAt(2), 0.0);
    EXPECT_NEAR(weights.GetAt(0), 1.0 * 5.5 / 5.0, 1e-9);
    EXPECT_NEAR(weights.GetAt(5), 2.0 * 5.5 / 6.0, 1e-9);
}

TEST_F(RakingTest, ContradictoryTargetsStopAtTheCapNamingTheQuestionAdjustedMostOften) {
    Store().WriteInteger("Weighting", "RakingReport", 1);
    context.IterationPerQuestion = 5;
    const std::int32_t id = Scheme(Targets(Target("Q1", {50, 50}), Target("Q1BIS", {80, 20})));
    CVecteurDouble weights(8);
    std::string error;
    ASSERT_TRUE(CalculerRedressement(id, 0, weights, error, context));
    const std::string message =
        "Le redressement ne converge pas, probablement à cause des objectifs fixés pour la question 'Q1BIS'...";
    EXPECT_EQ(error, message);
    ASSERT_EQ(ui->ShownTexts(), std::vector<std::string>{message});
    const std::vector<std::string> lines = ReportLines(id);
    const auto iterations = std::count_if(lines.begin(), lines.end(), [](const std::string& line) {
        return !line.empty() && line[0] >= '1' && line[0] <= '9' && line.find("\tQ1") != std::string::npos;
    });
    EXPECT_EQ(iterations, 5 * 2 + 1); // the cap, IterationPerQuestion × 2 questions, plus one
    for (int i = 0; i < 8; ++i)
        EXPECT_TRUE(std::isfinite(weights.GetAt(i)));
}

struct BadScheme {
    const char* name;
    const char* question;
    std::vector<double> desired;
    const char* weight;
    const char* expectedPart;
};

TEST_F(RakingTest, SchemesThatCannotBeRunAreRefusedWithAMessageAndTheWeightsUntouched) {
    const BadScheme cases[] = {
        {"targets summing to nothing", "Q2", {0, 0}, "", "objectifs de la question 'Q2'"},
        {"a negative target", "Q2", {-30, 130}, "", "objectifs de la question 'Q2'"},
        {"a target on a modality nobody holds", "Q4", {40, 40, 20}, "", "Aucune interview ne porte la modalité 'S'"},
        {"a negative initial weight", "Q1", {50, 50}, "NEG", "'NEG' a des valeurs négatives"},
        {"initial weights all zero", "Q1", {50, 50}, "ZERO", "'ZERO' sont tous nuls"},
    };
    for (const BadScheme& bad : cases) {
        const std::int32_t id = Scheme(Targets(Target(bad.question, bad.desired)), bad.weight);
        CVecteurDouble weights(8);
        weights.Remplir(1.0);
        std::string error;
        EXPECT_FALSE(CalculerRedressement(id, 0, weights, error, context)) << bad.name;
        EXPECT_NE(error.find(bad.expectedPart), std::string::npos) << bad.name << ": " << error;
        ASSERT_EQ(weights.GetSize(), 8) << bad.name;
        for (int i = 0; i < 8; ++i)
            EXPECT_EQ(weights.GetAt(i), 1.0) << bad.name;
    }
    CVecteurDouble weights(8);
    std::string error;
    EXPECT_FALSE(CalculerRedressement(999, 0, weights, error, context));
    EXPECT_FALSE(error.empty());
}

// A split of Q1 whose modalities hold Q2 targets: the two sub-populations each reach their own.
TEST_F(RakingTest, TargetsInsideTheModalitiesOfASplitQuestionApplyWithinThem) {
    auto split = std::make_unique<CObjectifRedressement>(Question("Q1"), CObjectifRedressement::kModeEclate);
    split->SetObjectif(0, 25);
    split->SetObjectif(1, 75);
    for (const std::vector<double>& desired : {std::vector<double>{50, 50}, std::vector<double>{25, 75}}) {
        auto node = std::make_unique<CObjectifRedressement>();
        node->AjouterObjectif(Target("Q2", desired));
        split->AjouterObjectif(std::move(node));
    }
    const std::int32_t id = Scheme(Targets(std::move(split)), "", 100.0);
    CVecteurDouble weights(8);
    std::string error;
    ASSERT_TRUE(CalculerRedressement(id, 0, weights, error, context)) << error;
    // A (interviews 1-5): 25 shared 12.5 / 12.5 over X (3) and Y (2); B (6-8): 75 as 18.75 on X
    // (1) and 56.25 on Y (2). Tolerance 1e-6.
    EXPECT_NEAR(weights.GetAt(0), 12.5 / 3, 1e-6);
    EXPECT_NEAR(weights.GetAt(1), 12.5 / 2, 1e-6);
    EXPECT_NEAR(weights.GetAt(6), 18.75, 1e-6);
    EXPECT_NEAR(weights.GetAt(7), 56.25 / 2, 1e-6);
}

// Every scheme of this file (cells of alike interviews, initial weights, a split, no target at
// all, binding bounds, a run that does not converge, a refusal) gives the weights and the
// message of the plain one-interview-at-a-time computation, to 1e-12 relative.
TEST_F(RakingTest, WeightsAgreeWithThePlainComputationOnEveryScheme) {
    struct Case {
        const char* name;
        std::int32_t id;
        double minWeight = 0.0;
        double maxWeight = 5.0;
        int iterations = 30;
    };
    auto split = std::make_unique<CObjectifRedressement>(Question("Q1"), CObjectifRedressement::kModeEclate);
    split->SetObjectif(0, 25);
    split->SetObjectif(1, 75);
    for (const std::vector<double>& desired : {std::vector<double>{50, 50}, std::vector<double>{25, 75}}) {
        auto node = std::make_unique<CObjectifRedressement>();
        node->AjouterObjectif(Target("Q2", desired));
        split->AjouterObjectif(std::move(node));
    }
    const std::vector<Case> cases = {
        {"two margins", Scheme(Targets(Target("Q1", {50, 50}), Target("Q2", {30, 70})))},
        {"initial weights", Scheme(Targets(Target("Q1", {50, 50})), "MISS", 0.0)},
        {"initial weights and a total", Scheme(Targets(Target("Q1", {40, 60}), Target("Q2", {35, 65})), "W", 20.0)},
        {"a split", Scheme(Targets(std::move(split)), "", 100.0)},
        {"a numeric question alone", Scheme({}, "MISS", 0.0)},
        {"a numeric question and a total", Scheme({}, "W", 16.0)},
        {"no target and no question", Scheme({}, "", 12.0)},
        {"binding bounds", Scheme(Targets(Target("Q1", {20, 80}), Target("Q2", {10, 90}))), 0.9, 1.3},
        {"binding bounds and initial weights", Scheme(Targets(Target("Q1", {20, 80})), "W", 0.0), 0.8, 1.2},
        {"no convergence", Scheme(Targets(Target("Q1", {50, 50}), Target("Q1BIS", {80, 20}))), 0.0, 5.0, 5},
        {"a refusal", Scheme(Targets(Target("Q4", {40, 40, 20})))},
    };
    for (const Case& c : cases) {
        context.MinWeight = c.minWeight;
        context.MaxWeight = c.maxWeight;
        context.IterationPerQuestion = c.iterations;
        CVecteurDouble fast(8);
        CVecteurDouble plain(8);
        fast.Remplir(-1.0);
        plain.Remplir(-1.0);
        std::string fastError;
        std::string plainError;
        const bool fastDone = CalculerRedressement(c.id, 0, fast, fastError, context);
        const bool plainDone = CalculerRedressementReference(c.id, 0, plain, plainError, context);
        EXPECT_EQ(fastDone, plainDone) << c.name;
        EXPECT_EQ(fastError, plainError) << c.name;
        ASSERT_EQ(fast.GetSize(), plain.GetSize()) << c.name;
        for (int i = 0; i < plain.GetSize(); ++i)
            EXPECT_NEAR(fast.GetAt(i), plain.GetAt(i), 1e-12 * std::abs(plain.GetAt(i))) << c.name << ", interview " << i;
    }
}

TEST_F(RakingTest, DefinitionTextRoundTripsByReferenceAndByName) {
    recodes_test::LocaleGuard comma("fr_FR.UTF-8");
    CObjectifRedressement root;
    auto split = std::make_unique<CObjectifRedressement>(Question("Q1"), CObjectifRedressement::kModeEclate);
    split->SetObjectif(0, 12.5);
    split->SetObjectif(1, 87.5);
    auto node = std::make_unique<CObjectifRedressement>();
    node->AjouterObjectif(Target("Q2", {1.0 / 3, 2.0 / 3}));
    split->AjouterObjectif(std::move(node));
    split->AjouterObjectif(std::make_unique<CObjectifRedressement>());
    root.AjouterObjectif(std::move(split));
    root.AjouterObjectif(Target("Q4", {1, 2, 3}));

    for (const bool byName : {false, true}) {
        const std::string text = root.EcrireDefinition(context, byName, 0);
        EXPECT_EQ(text.find(','), std::string::npos) << text;
        CObjectifRedressement read;
        read.LireDefinition(context, byName, text);
        EXPECT_EQ(read.EcrireDefinition(context, byName, 0), text);
        ASSERT_EQ(read.DonnerNombreObjectifs(), 2);
        const CObjectifRedressement* q2 = read.DonnerObjectif(0)->DonnerObjectif(0)->DonnerObjectif(0);
        ASSERT_NE(q2, nullptr);
        EXPECT_EQ(q2->DonnerValeurDesiree(0), 1.0 / 3);
    }
    EXPECT_EQ(root.EcrireDefinition(context, true, 0).substr(0, 16), " |0|1|#Q1|1|0|12");

    // Values typed with a decimal comma; an item whose parent depth is missing is dropped.
    CObjectifRedressement read;
    read.LireDefinition(context, true, " |0|1|#Q1|1|2|12,5@87,5@#Q2|3|2|1@2@#Q4|1|x|1@#");
    ASSERT_EQ(read.DonnerNombreObjectifs(), 1);
    EXPECT_EQ(read.DonnerObjectif(0)->DonnerValeurDesiree(0), 12.5);
    EXPECT_EQ(read.DonnerObjectif(0)->DonnerPourcentageDesire(1), 87.5);
    EXPECT_EQ(read.DonnerObjectif(0)->DonnerNombreObjectifs(), 0);
}

// The scheme's reader: the initial-weight question from the part before '~', no root target
// unless the text splits in two.
TEST_F(RakingTest, SchemeValuesRebuildTheInitialWeightQuestionAndTheTargets) {
    CRedressement scheme;
    scheme.definition = "3@0~0@@0|0|1|#2@@0|1|2|30@70@#";
    scheme.LireValeurs(context);
    EXPECT_EQ(scheme.initialWeightQuestion, Question("W"));
    ASSERT_NE(scheme.GetRacine(), nullptr);
    ASSERT_EQ(scheme.GetRacine()->DonnerNombreObjectifs(), 1);
    EXPECT_EQ(scheme.GetRacine()->DonnerObjectif(0)->GetQuestion(), Question("Q2"));
    scheme.definition = "3@0";
    scheme.LireValeurs(context);
    EXPECT_EQ(scheme.GetRacine(), nullptr);
}

} // namespace
