#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "SurveyTestSupport.h"
#include "app/MatriceCodes.h"
#include "app/QuestionNiveau.h"
#include "app/VecteurDouble.h"

using namespace survey_test;

namespace {

constexpr double kNotAsked = -888888.88;

// Interviews (level 0), the persons of each interview (level 1) and the trips of each person
// (level 2); cars (level 3) are a second loop beside the persons.
class QuestionNiveauTest : public ::testing::Test {
protected:
    void SetUp() override {
        AddLevel(survey, 0, 0, "Interviews");
        AddLevel(survey, 100, 1, "Persons");
        AddLevel(survey, 200, 2, "Trips");
        AddLevel(survey, 300, 1, "Cars");
        auto source = std::make_unique<ScriptedRecordKeys>();
        keys = source.get();
        keys->keysByLevel[0] = {{1}, {2}, {3}};
        keys->keysByLevel[1] = {{1, 1}, {1, 2}, {2, 1}};
        keys->keysByLevel[2] = {{1, 1, 1}, {1, 1, 2}, {1, 2, 1}, {2, 1, 1}};
        survey.SetRecordKeySource(std::move(source));
    }

    CQuestionNiveau& Level(int i) { return *survey.DonnerNiveau(i); }

    bool Load(int i) { return Level(i).ChargerEffectifs(survey, i, error); }

    std::vector<std::int32_t> Counts(int level, int ancestor) {
        std::vector<std::int32_t> counts;
        EXPECT_TRUE(Level(level).GetEffectifs(ancestor, counts));
        return counts;
    }

    static CVecteurDouble Vector(const std::vector<double>& values) {
        CVecteurDouble vector(static_cast<int>(values.size()));
        for (std::size_t i = 0; i < values.size(); ++i)
            vector.SetAt(static_cast<int>(i), values[i]);
        return vector;
    }

    static std::vector<double> Values(const CVecteurDouble& vector) {
        std::vector<double> values;
        for (int i = 0; i < vector.GetSize(); ++i)
            values.push_back(vector.GetAt(i));
        return values;
    }

    TestSurvey survey;
    ScriptedRecordKeys* keys = nullptr;
    std::string error;
};

TEST_F(QuestionNiveauTest, ParentLevelIsTheNearestShallowerOne) {
    EXPECT_EQ(DonnerNiveauParent(0, survey), 0);
    EXPECT_EQ(DonnerNiveauParent(1, survey), 0);
    EXPECT_EQ(DonnerNiveauParent(2, survey), 1);
    EXPECT_EQ(DonnerNiveauParent(3, survey), 0); // beside the persons, not under the trips
    EXPECT_EQ(DonnerNiveauParent(9, survey), 0);
    EXPECT_EQ(DonnerNiveauParent(-1, survey), 0);

    int index = -1;
    EXPECT_TRUE(TrouverIndexNiveau(200, index, survey));
    EXPECT_EQ(index, 2);
    EXPECT_FALSE(TrouverIndexNiveau(999, index, survey));
}

TEST_F(QuestionNiveauTest, QuestionsBelongToTheirLevelAndItsDescendants) {
    CQuestionEtendue interviewQuestion(&survey);
    CQuestionEtendue personQuestion(&survey);
    personQuestion.level = 1;
    CQuestionEtendue tripQuestion(&survey);
    tripQuestion.level = 2;
    for (int level = 0; level < 4; ++level)
        EXPECT_TRUE(EstDansNiveau(interviewQuestion, level, survey)) << level;
    EXPECT_TRUE(EstDansNiveau(personQuestion, 1, survey));
    EXPECT_TRUE(EstDansNiveau(personQuestion, 2, survey));
    EXPECT_FALSE(EstDansNiveau(personQuestion, 0, survey));
    EXPECT_FALSE(EstDansNiveau(personQuestion, 3, survey));
    EXPECT_FALSE(EstDansNiveau(tripQuestion, 1, survey));

    survey.currentLevel = 2;
    EXPECT_TRUE(EstDansNiveauDe(personQuestion, survey));
    survey.currentLevel = 3;
    EXPECT_FALSE(EstDansNiveauDe(personQuestion, survey));
}

TEST_F(QuestionNiveauTest, LoadingCountsTheRecordsUnderEveryAncestor) {
    ASSERT_TRUE(Load(2)) << error;
    EXPECT_TRUE(Level(2).EstCharge());
    EXPECT_TRUE(Level(1).EstCharge());
    EXPECT_TRUE(Level(0).EstCharge());
    EXPECT_EQ(Level(2).GetNbreEnregistrements(), 4);
    EXPECT_EQ(Level(1).GetNbreEnregistrements(), 3);
    EXPECT_EQ(Level(0).GetNbreEnregistrements(), 3);
    EXPECT_EQ(Counts(2, 1), (std::vector<std::int32_t>{2, 1, 1}));
    EXPECT_EQ(Counts(2, 0), (std::vector<std::int32_t>{3, 1, 0}));
    EXPECT_EQ(Counts(1, 0), (std::vector<std::int32_t>{2, 1, 0}));

    std::vector<std::int32_t> counts;
    for (int ancestor = 0; ancestor < 4; ++ancestor)
        EXPECT_FALSE(Level(0).GetEffectifs(ancestor, counts)) << ancestor;

    ASSERT_TRUE(Load(2));
    EXPECT_EQ(keys->reads[0], 1); // loaded once
}

TEST_F(QuestionNiveauTest, CarryingDownRepeatsEachParentValue) {
    ASSERT_TRUE(Load(1)) << error;
    CVecteurDouble out;
    ASSERT_TRUE(Level(1).TransfererValeurs(Vector({10, 20, 30}), out, 0, 1));
    EXPECT_EQ(Values(out), (std::vector<double>{10, 10, 20}));

    CMatriceCodes codes(2);
    for (std::int16_t row = 0; row < 3; ++row) {
        codes.AjouterLigne();
        codes.SetAt(row, 0, row);
    }
    CMatriceCodes carried;
    ASSERT_TRUE(Level(1).TransfererCodes(codes, carried, 0, 1));
    ASSERT_EQ(carried.GetNbLignes(), 3);
    ASSERT_EQ(carried.GetNbColonnes(), 2);
    EXPECT_EQ(carried.GetAt(1, 0), 0);
    EXPECT_EQ(carried.GetAt(2, 0), 1);
    EXPECT_EQ(carried.GetAt(2, 1), -5);

    std::vector<std::string> texts;
    ASSERT_TRUE(Level(1).TransfererTextes({"a", "b", "c"}, texts, 0, 1));
    EXPECT_EQ(texts, (std::vector<std::string>{"a", "a", "b"}));
}

TEST_F(QuestionNiveauTest, RecordWithoutParentInTheMiddleShiftsNothing) {
    // Person {2,5} has no interview 2: it takes the initial content and person {3,1} still gets
    // interview 3's value.
    keys->keysByLevel[0] = {{1}, {3}};
    keys->keysByLevel[1] = {{1, 1}, {2, 5}, {3, 1}};
    ASSERT_TRUE(Load(1)) << error;
    EXPECT_EQ(Counts(1, 0), (std::vector<std::int32_t>{1, 1}));

    CVecteurDouble out;
    ASSERT_TRUE(Level(1).TransfererValeurs(Vector({1.5, 2.5}), out, 0, 1));
    EXPECT_EQ(Values(out), (std::vector<double>{1.5, kNotAsked, 2.5}));

    CMatriceCodes codes(1);
    codes.SetNbLignes(2);
    codes.SetAt(0, 0, 4);
    codes.SetAt(1, 0, 6);
    CMatriceCodes carried;
    ASSERT_TRUE(Level(1).TransfererCodes(codes, carried, 0, 1));
    EXPECT_EQ(carried.GetAt(0, 0), 4);
    EXPECT_EQ(carried.GetAt(1, 0), -5);
    EXPECT_EQ(carried.GetAt(2, 0), 6);

    std::vector<std::string> texts;
    ASSERT_TRUE(Level(1).TransfererTextes({"a", "b"}, texts, 0, 1));
    EXPECT_EQ(texts, (std::vector<std::string>{"a", "", "b"}));
}

TEST_F(QuestionNiveauTest, RecordWithoutParentAtTheEnd) {
    keys->keysByLevel[0] = {{1}, {2}};
    keys->keysByLevel[1] = {{1, 1}, {1, 2}, {2, 1}, {3, 1}};
    ASSERT_TRUE(Load(1)) << error;
    EXPECT_EQ(Counts(1, 0), (std::vector<std::int32_t>{2, 1}));
    CVecteurDouble out;
    ASSERT_TRUE(Level(1).TransfererValeurs(Vector({7, 8}), out, 0, 1));
    EXPECT_EQ(Values(out), (std::vector<double>{7, 7, 8, kNotAsked}));
}

TEST_F(QuestionNiveauTest, CarryingAcrossTwoLevels) {
    ASSERT_TRUE(Load(2)) << error;
    CVecteurDouble out;
    ASSERT_TRUE(Level(2).TransfererValeurs(Vector({1, 2, 3}), out, 0, 2));
    EXPECT_EQ(Values(out), (std::vector<double>{1, 1, 1, 2}));
    ASSERT_TRUE(Level(2).TransfererValeurs(Vector({5, 6, 7}), out, 1, 2));
    EXPECT_EQ(Values(out), (std::vector<double>{5, 5, 6, 7}));
}

TEST_F(QuestionNiveauTest, SameLevelIsACopyAndMissingCountsFail) {
    CVecteurDouble out = Vector({9});
    ASSERT_TRUE(Level(0).TransfererValeurs(Vector({1, 2}), out, 0, 0));
    EXPECT_EQ(Values(out), (std::vector<double>{1, 2}));

    out = Vector({9});
    EXPECT_FALSE(Level(1).TransfererValeurs(Vector({1, 2, 3}), out, 0, 1)); // not loaded
    EXPECT_EQ(Values(out), (std::vector<double>{9}));
    CMatriceCodes codes(3);
    codes.AjouterLigne();
    CMatriceCodes untouched(1);
    EXPECT_FALSE(Level(1).TransfererCodes(codes, untouched, 0, 1));
    EXPECT_EQ(untouched.GetNbColonnes(), 1);
    EXPECT_EQ(untouched.GetNbLignes(), 0);
    std::vector<std::string> texts{"x"};
    EXPECT_FALSE(Level(1).TransfererTextes({"a"}, texts, 0, 1));
    EXPECT_TRUE(texts.empty());

    ASSERT_TRUE(Load(1));
    EXPECT_FALSE(Level(1).TransfererValeurs(Vector({1}), out, 2, 1)); // not an ancestor
}

TEST_F(QuestionNiveauTest, CountsSetByHandLayTheRecordsOutInOrder) {
    ASSERT_TRUE(Load(1));
    Level(1).SetEffectifs(0, {1, 2});
    std::vector<std::int32_t> counts;
    ASSERT_TRUE(Level(1).GetEffectifs(0, counts));
    EXPECT_EQ(counts, (std::vector<std::int32_t>{1, 2}));
    CVecteurDouble out;
    ASSERT_TRUE(Level(1).TransfererValeurs(Vector({4, 5}), out, 0, 1));
    EXPECT_EQ(Values(out), (std::vector<double>{4, 5, 5}));
}

TEST_F(QuestionNiveauTest, FailedReadsLeaveLevelsUnloadedAndAreTriedAgain) {
    keys->failing = {0};
    EXPECT_FALSE(Load(2));
    EXPECT_EQ(error, "level 0 unreadable");
    EXPECT_FALSE(Level(0).EstCharge());
    EXPECT_FALSE(Level(1).EstCharge()); // a failed parent leaves the child not loaded
    EXPECT_FALSE(Level(2).EstCharge());
    std::vector<std::int32_t> counts;
    EXPECT_FALSE(Level(2).GetEffectifs(1, counts));

    keys->failing.clear();
    error.clear();
    ASSERT_TRUE(Load(2)) << error;
    EXPECT_EQ(Level(2).GetNbreEnregistrements(), 4);
    EXPECT_EQ(Counts(2, 1), (std::vector<std::int32_t>{2, 1, 1}));
}

TEST_F(QuestionNiveauTest, NoRecordSourceIsAFailure) {
    survey.SetRecordKeySource(nullptr);
    EXPECT_FALSE(Load(0));
    EXPECT_FALSE(error.empty());
    EXPECT_FALSE(Level(0).EstCharge());
}

} // namespace
