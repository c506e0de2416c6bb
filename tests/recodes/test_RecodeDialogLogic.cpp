// What the recode dialogs compute without a window: the answers they work on, the percentile
// bounds and distinct values they propose, the preview counts and captions, and what they refuse
// before anything is stored. Every expected value is worked out by hand beside its case.
#include <gtest/gtest.h>

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "RecodesTestSupport.h"
#include "app/StringTable.h"
#include "recodes/RecodageIntervalle.h"
#include "recodes/RecodageModalite.h"
#include "recodes/RecodeChecks.h"
#include "recodes/RecodeValues.h"

using namespace recodes_test;

namespace {

constexpr double kNoAnswer = -999999.99;
constexpr double kNotAsked = -888888.88;

TEST(RecodeValuesTest, AnswersLoseTheirMissingValuesAndComeAscending) {
    const std::vector<double> answers = {5, kNoAnswer, 2, kNotAsked, 9, 2, -1};
    EXPECT_EQ(RecodeValues::Prepare(answers), (std::vector<double>{-1, 2, 2, 5, 9}));
    EXPECT_EQ(RecodeValues::Distinct(std::vector<double>{-1, 2, 2, 5, 5, 5, 9}), (std::vector<double>{-1, 2, 5, 9}));
}

// Bound j is the value at the first index i with i >= (j + 1) N / k; a bound equal to the one
// before it is left out.
TEST(RecodeValuesTest, PercentileBoundsTakeTheFirstIndexAtOrAboveEachShare) {
    struct Case {
        const char* name;
        std::vector<double> sorted;
        int intervals;
        std::vector<double> bounds;
    };
    const std::vector<double> tens = {10, 20, 30, 40, 50, 60, 70, 80, 90, 100};
    const Case cases[] = {
        // N = 10, k = 4: shares 2.5, 5 and 7.5 give indexes 3, 5 and 8.
        {"ten values in four", tens, 4, {40, 60, 90}},
        // N = 10, k = 2: share 5 gives index 5.
        {"ten values in two", tens, 2, {60}},
        // N = 3, k = 2: share 1.5 gives index 2.
        {"three values in two", {1, 2, 3}, 2, {3}},
        // N = 10, k = 9 (the most allowed): shares 10/9, 20/9 ... 80/9 give indexes 2 to 9.
        {"as many intervals as allowed", tens, 9, {30, 40, 50, 60, 70, 80, 90, 100}},
        // N = 6, k = 3: shares 2 and 4 give indexes 2 and 4, both holding 1: one bound.
        {"equal bounds are kept once", {1, 1, 1, 1, 1, 2}, 3, {1}},
        {"one interval is no cut", tens, 1, {}},
        {"more intervals than N - 1", tens, 10, {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(RecodeValues::PercentileBounds(c.sorted, c.intervals), c.bounds);
    }
    EXPECT_FALSE(RecodeValues::PercentilesPossible(2));
    EXPECT_TRUE(RecodeValues::PercentilesPossible(3));
}

// Values 1 and 3 over answers 1, 2, 2, 3, 4: exactly, 2 counts nowhere and 4 nowhere; to the
// nearest, 2 is as far from 1 as from 3 and goes to the lower one, 4 goes to 3.
TEST(RecodeValuesTest, DiscreteCountsExactOrNearest) {
    struct Case {
        const char* name;
        std::vector<double> values;
        bool nearest;
        std::vector<long> counts;
    };
    const std::vector<double> sorted = {1, 2, 2, 3, 4};
    const Case cases[] = {
        {"exact", {1, 3}, false, {1, 1}},
        {"nearest, ties to the lower value", {1, 3}, true, {3, 2}},
        {"exact within 1e-9", {2.0000000001, 4}, false, {2, 1}},
        // 3 is as far from 2 as from 4: it goes to 2.
        {"nearest with three values", {1, 2, 4}, true, {1, 3, 1}},
        {"no value", {}, true, {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(RecodeValues::DiscreteCounts(sorted, c.values, c.nearest), c.counts);
    }
    EXPECT_EQ(RecodeValues::DiscreteCaptions(std::vector<double>{1234567.891, 2}, "kg"),
              (std::vector<std::string>{"1234567.89 kg", "2 kg"}));
    EXPECT_EQ(RecodeValues::DiscreteCaptions(std::vector<double>{3}, ""), (std::vector<std::string>{"3"}));
}

class IntervalPreviewTest : public RecodesFixture {
protected:
    CRecodageIntervalle Intervals(std::vector<double> bounds, bool closedRight, bool below, bool above,
                                  bool integers = false, std::int16_t dateMode = -1, const char* unit = "ans") {
        CRecodageIntervalle recode(&survey);
        for (const double b : bounds)
            recode.AjouterValeur(b);
        recode.SetSousType(closedRight ? 1 : 0);
        recode.SetEstMoins(below);
        recode.SetEstPlus(above);
        recode.SetEstEntier(integers);
        recode.SetDateType(dateMode);
        recode.SetUnite(unit);
        return recode;
    }
};

// Answers 5, 10, 15, 20, 25, 30, 35 cut at 10, 20, 30.
TEST_F(IntervalPreviewTest, CountsAndCaptionsFollowTheClosedSideAndTheFlags) {
    struct Case {
        const char* name;
        bool closedRight, below, above, integers;
        std::vector<std::string> captions;
        std::vector<long> counts;
    };
    const std::vector<double> sorted = {5, 10, 15, 20, 25, 30, 35};
    const Case cases[] = {
        // [10,20[ holds 10 and 15; [20,30[ 20 and 25; below 5; above 30 and 35.
        {"closed left", false, true, true, false,
         {"Moins de 10 ans", "De 10 à 20 ans", "De 20 à 30 ans", "30 ans ou plus"}, {1, 2, 2, 2}},
        // ]10,20] holds 15 and 20; ]20,30] 25 and 30; below 5 and 10; above 35.
        {"closed right", true, true, true, false,
         {"10 ans ou moins", "De 10 à 20 ans", "De 20 à 30 ans", "Plus de 30 ans"}, {2, 2, 2, 1}},
        {"no outer classes", false, false, false, false, {"De 10 à 20 ans", "De 20 à 30 ans"}, {2, 2}},
        // Whole numbers: [10,20[ holds 10 to 19, ]10,20] holds 11 to 20.
        {"whole numbers closed left", false, false, false, true, {"De 10 à 19 ans", "De 20 à 29 ans"}, {2, 2}},
        {"whole numbers closed right", true, false, false, true, {"De 11 à 20 ans", "De 21 à 30 ans"}, {2, 2}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const CRecodageIntervalle recode = Intervals({10, 20, 30}, c.closedRight, c.below, c.above, c.integers);
        EXPECT_EQ(RecodeValues::IntervalCaptions(recode), c.captions);
        EXPECT_EQ(RecodeValues::IntervalCounts(sorted, recode), c.counts);
    }
}

// Serial 45000 is 15 March 2023 at midnight. In "Date seulement" two answers of that day, at 6:00
// and 18:00, compare as the day itself: closed on the right they fall on the bound, in the class
// below it with the answer of the day before. As dates and times they lie after the bound.
TEST_F(IntervalPreviewTest, DateOnlyComparesTheDayOfEachAnswer) {
    const std::vector<double> answers = {44999.9, 45000.25, 45000.75};
    struct Case {
        const char* name;
        std::int16_t mode;
        std::vector<long> counts;
    };
    const Case cases[] = {
        {"date only", CRecodageIntervalle::kDateOnly, {3, 0}},
        {"date and time", CRecodageIntervalle::kDateAndTime, {1, 2}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const CRecodageIntervalle recode = Intervals({45000}, true, true, true, false, c.mode, "");
        EXPECT_EQ(RecodeValues::IntervalCounts(RecodeValues::ForDateMode(answers, c.mode), recode), c.counts);
    }
    // Times of day: 6:00 of one day and 18:00 of the day before come in the order of the clock.
    EXPECT_EQ(RecodeValues::ForDateMode(std::vector<double>{44999.75, 45000.25}, CRecodageIntervalle::kTimeOnly),
              (std::vector<double>{0.25, 0.75}));
    EXPECT_EQ(RecodeValues::ForDateMode(std::vector<double>{45000.25, 45000.75}, CRecodageIntervalle::kDateOnly),
              (std::vector<double>{45000, 45000}));
}

TEST(RecodeChecksTest, EntryListsAreRefusedEmptyWithEqualEntriesOrWithoutModality) {
    struct Case {
        const char* name;
        std::vector<double> entries;
        int modalities;
        std::optional<int> message;
        int index;
    };
    const Case cases[] = {
        {"no entry", {}, 0, StringTable::kAuMoinsUneBorne, -1},
        {"two equal bounds, the second shown", {1, 5, 5, 9}, 3, StringTable::kBornesDifferentes, 2},
        {"the no-answer value", {kNoAnswer, 3}, 1, StringTable::kBornesDifferentes, 0},
        {"one bound and no outer class", {5}, 0, StringTable::kAuMoinsUnIntervalle, -1},
        {"accepted", {1, 2}, 1, std::nullopt, -1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const auto fault = RecodeChecks::CheckEntries(c.entries, c.modalities);
        ASSERT_EQ(fault.has_value(), c.message.has_value());
        if (fault) {
            EXPECT_EQ(fault->message.id, *c.message);
            EXPECT_EQ(fault->index, c.index);
        }
    }
}

TEST(RecodeChecksTest, SubTotalTreesNeedModalitiesUnderEveryGroupAndNothingUnderAModality) {
    using N = RecodeChecks::Node;
    struct Case {
        const char* name;
        std::vector<N> nodes;
        std::optional<int> message;
        int index;
    };
    const Case cases[] = {
        {"empty tree", {}, StringTable::kAucuneModaliteSelectionnee, -1},
        {"a group holding only an empty group", {{0, 0}, {0, 1}}, StringTable::kSousTotalSansModalite, 0},
        {"an empty group after a good one", {{0, 0}, {3, 1}, {0, 0}}, StringTable::kSousTotalSansModalite, 2},
        {"a modality holding an item", {{0, 0}, {5, 1}, {6, 2}}, StringTable::kModaliteSansSousItems, 1},
        {"a modality holding a group", {{4, 0}, {0, 1}, {2, 2}}, StringTable::kModaliteSansSousItems, 0},
        {"nested groups with modalities", {{0, 0}, {0, 1}, {1, 2}, {2, 1}, {3, 0}}, std::nullopt, -1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const auto fault = RecodeChecks::CheckSubTotals(c.nodes);
        ASSERT_EQ(fault.has_value(), c.message.has_value());
        if (fault) {
            EXPECT_EQ(fault->message.id, *c.message);
            EXPECT_EQ(fault->index, c.index);
        }
    }
}

class RecodeLabelTest : public RecodesFixture {
protected:
    void SetUp() override {
        RecodesFixture::SetUp();
        survey.questions.push_back(QuestionOfType(2, 5));       // AGE: Q2, numeric
        survey.questions.push_back(ClosedQuestion(3, {1, 2})); // Q3
        auto recoded = ClosedQuestion(2, {1, 2});
        recoded->name = "Tranches";
        recoded->recodeId = 9;
        survey.questions.push_back(std::move(recoded));
        auto member = QuestionOfType(7, 5);
        member->values = {1};
        survey.questions.push_back(std::move(member));
    }

    std::optional<int> Refusal(const std::string& label, std::int32_t source, std::int32_t id) {
        CRecodageIntervalle recode(&survey);
        recode.sourceQuestionCode = source;
        recode.id = id;
        const auto refused = RecodeChecks::CheckLabel(survey, label, recode);
        return refused ? std::optional<int>(refused->id) : std::nullopt;
    }
};

// A numeric question's recodes are checked like any other: the program's own test of a name in
// use looks only at closed source questions, which let two recodes of a numeric question share a
// name.
TEST_F(RecodeLabelTest, ALabelIsRefusedEmptyOrWhenAnotherQuestionBearsIt) {
    struct Case {
        const char* name;
        std::string label;
        std::int32_t source;
        std::int32_t id;
        std::optional<int> refusal;
    };
    const Case cases[] = {
        {"empty", "", 2, 0, StringTable::kEntrerUnLibelle},
        {"a new recode named like a recode of the same question", "Tranches", 2, 0, StringTable::kLibelleDejaUtilise},
        {"named like another question", "Q3", 2, 0, StringTable::kLibelleDejaUtilise},
        {"named like its own source", "Q2", 2, 0, StringTable::kLibelleDejaUtilise},
        {"the edited recode keeps its name", "Tranches", 2, 9, std::nullopt},
        {"another recode takes that name", "Tranches", 2, 10, StringTable::kLibelleDejaUtilise},
        {"a free name", "Classes d'âge", 2, 0, std::nullopt},
        // In a loop the question made is named after its source: "Q7 Q3" is free.
        {"a source in a loop", "Q3", 7, 0, std::nullopt},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(Refusal(c.label, c.source, c.id), c.refusal);
    }
}

} // namespace
