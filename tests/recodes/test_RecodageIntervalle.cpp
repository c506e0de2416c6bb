#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "LocaleGuard.h"
#include "RecodesTestSupport.h"
#include "recodes/DateText.h"
#include "recodes/RecodageIntervalle.h"

using namespace recodes_test;

namespace {

// 1 January 2000 at midnight, as the questionnaire stores dates.
constexpr double kNewYear2000 = 36526.0;

class RecodageIntervalleTest : public RecodesFixture {
protected:
    void Bounds(const std::vector<double>& bounds) {
        recode.ViderValeurs();
        for (double bound : bounds)
            recode.AjouterValeur(bound);
    }
    void Options(bool closedRight, bool below, bool above) {
        recode.SetSousType(closedRight ? 1 : 0);
        recode.SetEstMoins(below);
        recode.SetEstPlus(above);
    }
    std::vector<std::string> Captions(std::int32_t language) {
        auto target = QuestionOfType(9, 5);
        recode.Appliquer(*target, false);
        std::vector<std::string> captions;
        for (int i = 0; i < target->GetNbreModalite() - 1; ++i) // the not-asked modality aside
            captions.push_back(Caption(*target, i, language));
        return captions;
    }

    CRecodageIntervalle recode{&survey};
};

TEST_F(RecodageIntervalleTest, ClassOfAValueAtAndAroundTheBounds) {
    Bounds({10, 20, 30});
    struct Case {
        bool closedRight, below, above;
        double x;
        std::int16_t expected;
    };
    const std::vector<Case> cases = {
        {false, true, true, 9.99, 0},   {false, true, true, 10, 1},    {false, true, true, 19.99, 1},
        {false, true, true, 20, 2},     {false, true, true, 30, 3},    {false, true, true, 1e9, 3},
        {false, false, true, 9.99, -5}, {false, false, true, 10, 0},   {false, false, true, 30, 2},
        {false, true, false, 30, -5},   {false, true, false, 29.99, 2}, {false, false, false, 25, 1},
        {true, true, true, 10, 0},      {true, true, true, 10.01, 1},  {true, true, true, 20, 1},
        {true, true, true, 30, 2},      {true, true, true, 30.01, 3},  {true, false, false, 10, -5},
        {true, false, false, 30, 1},    {true, false, false, 30.01, -5},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::to_string(c.x) + (c.closedRight ? " ]a,b]" : " [a,b[") + (c.below ? " below" : "") +
                     (c.above ? " above" : ""));
        Options(c.closedRight, c.below, c.above);
        for (bool integers : {false, true}) { // whole numbers change the captions, not the classes
            recode.SetEstEntier(integers);
            EXPECT_EQ(recode.DonnerClasse(c.x), c.expected);
        }
    }
}

TEST_F(RecodageIntervalleTest, ClassCountIsBoundsPlusFlagsMinusOne) {
    Bounds({10, 20, 30});
    const std::vector<std::pair<std::pair<bool, bool>, int>> cases = {
        {{true, true}, 4}, {{true, false}, 3}, {{false, true}, 3}, {{false, false}, 2}};
    for (const auto& [flags, count] : cases) {
        Options(false, flags.first, flags.second);
        EXPECT_EQ(recode.DonnerNombreClasses(), count);
        auto target = QuestionOfType(9, 5);
        recode.Appliquer(*target, true);
        EXPECT_EQ(target->GetNbreModalite(), count + 2); // then -1 and -2
    }
}

TEST_F(RecodageIntervalleTest, WithoutBoundsThereIsNoClass) {
    Options(false, true, true);
    EXPECT_EQ(recode.DonnerNombreClasses(), 0);
    EXPECT_EQ(recode.DonnerClasse(5), -5);
    auto target = QuestionOfType(9, 5);
    recode.Appliquer(*target, false);
    ASSERT_EQ(target->GetNbreModalite(), 1);
    EXPECT_EQ(target->GetModalite(0)->code, -2);

    Bounds({10});
    EXPECT_EQ(recode.DonnerNombreClasses(), 2);
    EXPECT_EQ(recode.DonnerClasse(10), 1);
}

TEST_F(RecodageIntervalleTest, DateModesCompareTheDayOrTheTimeOfDay) {
    Bounds({kNewYear2000});
    Options(true, true, true); // ]a, b]: the bound belongs to the class below
    const double evening = kNewYear2000 + 0.75;
    recode.SetDateType(CRecodageIntervalle::kPlainNumbers);
    EXPECT_EQ(recode.DonnerClasse(evening), 1);
    recode.SetDateType(CRecodageIntervalle::kDateAndTime);
    EXPECT_EQ(recode.DonnerClasse(evening), 1);
    recode.SetDateType(CRecodageIntervalle::kDateOnly);
    EXPECT_EQ(recode.DonnerClasse(evening), 0); // the same day: on the bound itself
    EXPECT_EQ(recode.DonnerClasse(kNewYear2000 + 1.2), 1);

    Bounds({0.25, 0.5}); // 6:00 and 12:00
    Options(false, true, true);
    recode.SetDateType(CRecodageIntervalle::kTimeOnly);
    EXPECT_EQ(recode.DonnerClasse(kNewYear2000 + 0.2), 0);
    EXPECT_EQ(recode.DonnerClasse(kNewYear2000 + 0.3), 1);
    EXPECT_EQ(recode.DonnerClasse(kNewYear2000 + 0.5), 2);
}

TEST_F(RecodageIntervalleTest, CaptionsInFrenchAndEnglishByClosedSide) {
    Bounds({10, 20, 30});
    recode.SetUnite("ans");
    Options(false, true, true);
    EXPECT_EQ(Captions(kFrench),
              (std::vector<std::string>{"Moins de 10 ans", "De 10 à 20 ans", "De 20 à 30 ans", "30 ou plus ans"}));
    EXPECT_EQ(Captions(kEnglish), (std::vector<std::string>{"Less than 10 ans", "From 10 to 20 ans",
                                                            "From 20 to 30 ans", "30 or more ans"}));
    Options(true, true, true);
    EXPECT_EQ(Captions(kFrench),
              (std::vector<std::string>{"10 ou moins ans", "De 10 à 20 ans", "De 20 à 30 ans", "Plus de 30 ans"}));
    EXPECT_EQ(Captions(kEnglish), (std::vector<std::string>{"10 or less ans", "From 10 to 20 ans",
                                                            "From 20 to 30 ans", "More than 30 ans"}));
}

TEST_F(RecodageIntervalleTest, IntegerCaptionsShowTheWholeNumbersEachClassHolds) {
    Bounds({18, 25});
    recode.SetEstEntier(true);
    Options(false, false, false);
    EXPECT_EQ(Captions(kFrench), (std::vector<std::string>{"De 18 à 24 "}));
    Options(true, false, false);
    EXPECT_EQ(Captions(kFrench), (std::vector<std::string>{"De 19 à 25 "}));
    recode.SetEstEntier(false);
    EXPECT_EQ(Captions(kFrench), (std::vector<std::string>{"De 18 à 25 "}));
}

TEST_F(RecodageIntervalleTest, ModalitiesCarryClassValuesAndEndWithTheMissingAnswers) {
    Bounds({10, 20, 30});
    Options(false, true, true);
    auto target = QuestionOfType(9, 5);
    target->hasNoAnswer = 1;
    recode.Appliquer(*target, true);
    EXPECT_EQ(target->type, 7);
    EXPECT_EQ(target->hasNoAnswer, 1);
    const std::vector<std::pair<std::int32_t, double>> expected = {
        {1, 10}, {2, 15}, {3, 25}, {4, 30}, {-1, -999999.99}, {-2, -888888.88}};
    ASSERT_EQ(target->GetNbreModalite(), static_cast<int>(expected.size()));
    for (int i = 0; i < target->GetNbreModalite(); ++i) {
        EXPECT_EQ(target->GetModalite(i)->code, expected[static_cast<std::size_t>(i)].first) << i;
        EXPECT_EQ(target->GetModalite(i)->value, expected[static_cast<std::size_t>(i)].second) << i;
    }
    EXPECT_EQ(Caption(*target, 4, kEnglish), "Don't know");
    EXPECT_EQ(Caption(*target, 5, kFrench), "Non interrogé");
    EXPECT_FALSE(target->GetModaliteEtendue(5)->selected);
}

TEST_F(RecodageIntervalleTest, DateModeCaptionsShowTheBoundsAsDates) {
    const double second = kNewYear2000 + 31;
    Bounds({kNewYear2000, second});
    recode.SetDateType(CRecodageIntervalle::kDateOnly);
    const std::string first = DateText::Format(kNewYear2000, DateText::kDateOnly);
    const std::string last = DateText::Format(second, DateText::kDateOnly);
    Options(false, true, true);
    EXPECT_EQ(Captions(kFrench), (std::vector<std::string>{"Avant " + first, "De " + first + " à " + last,
                                                           last + " ou après"}));
    Options(true, true, true);
    EXPECT_EQ(Captions(kEnglish), (std::vector<std::string>{first + " or before", "From " + first + " to " + last,
                                                            "After " + last}));
    auto target = QuestionOfType(9, 3);
    recode.Appliquer(*target, false);
    EXPECT_EQ(target->type, 1);
}

TEST_F(RecodageIntervalleTest, BoundsAreStoredWithSixDigitsWhateverTheLocale) {
    struct Case {
        std::vector<double> bounds;
        const char* text;
        std::vector<double> read;
    };
    const std::vector<Case> cases = {
        {{}, "", {}},
        {{0.5, 10, 20.25}, "0.5@10@20.25@", {0.5, 10, 20.25}},
        {{1234567.891}, "1.23457e+06@", {1234570}},
        {{-1.5, 36526.75}, "-1.5@36526.8@", {-1.5, 36526.8}},
    };
    const LocaleGuard french("fr_FR.UTF-8");
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        Bounds(c.bounds);
        EXPECT_EQ(recode.GetRegroupement(), c.text);
        EXPECT_EQ(recode.GetRegroupement(*QuestionOfType(1, 5)), c.text); // the portable form is the same
        CRecodageIntervalle read(&survey);
        read.AjouterValeur(1);
        read.SetRegroupement(c.text);
        ASSERT_EQ(read.DonnerNombreBornes(), static_cast<int>(c.read.size()));
        for (int i = 0; i < read.DonnerNombreBornes(); ++i)
            EXPECT_EQ(read.DonnerValeur(i), c.read[static_cast<std::size_t>(i)]);
    }
}

TEST_F(RecodageIntervalleTest, AppliesToFreeNumericAndDateQuestions) {
    EXPECT_TRUE(recode.EstApplicable(*QuestionOfType(1, 5)));
    EXPECT_TRUE(recode.EstApplicable(*QuestionOfType(1, 3)));
    for (std::int16_t type : {1, 4, 6, 7}) {
        SCOPED_TRACE(type);
        EXPECT_FALSE(recode.EstApplicable(*QuestionOfType(1, type)));
    }
}

TEST_F(RecodageIntervalleTest, OptionsStartCleared) {
    EXPECT_EQ(recode.GetSousType(), 0);
    EXPECT_FALSE(recode.GetEstMoins());
    EXPECT_FALSE(recode.GetEstPlus());
    EXPECT_FALSE(recode.GetEstEntier());
    EXPECT_EQ(recode.GetDateType(), -1);
    EXPECT_EQ(recode.GetUnite(), "");
}

TEST(DateText, DatesTimesAndBothInTheCLocale) {
    const std::locale c = std::locale::classic();
    struct Case {
        double date;
        std::int16_t mode;
        const char* text;
    };
    const std::vector<Case> cases = {
        {kNewYear2000, DateText::kDateOnly, "01/01/00"},
        {kNewYear2000 + 0.75, DateText::kTimeOnly, "18:00:00"},
        {kNewYear2000 + 0.75, DateText::kDateAndTime, "01/01/00 18:00:00"},
        {0.0, DateText::kDateAndTime, "12/30/99 00:00:00"},
        {-1.25, DateText::kDateAndTime, "12/29/99 06:00:00"}, // the fraction adds time before day 0 too
        {kNewYear2000 + 0.9999999, DateText::kDateAndTime, "01/02/00 00:00:00"},
        {kNewYear2000 + 1.0 / 86400.0 * 61, DateText::kTimeOnly, "00:01:01"},
        {60.0, DateText::kDateOnly, "02/28/00"},
        {61.0, DateText::kDateOnly, "03/01/00"}, // 1900 has no 29 February
        {1e9, DateText::kDateOnly, "1e+09"},
    };
    for (const Case& item : cases) {
        SCOPED_TRACE(item.date);
        EXPECT_EQ(DateText::Format(item.date, item.mode, c), item.text);
    }
}

TEST(DateText, FrenchLocaleWritesDayFirst) {
    std::locale french;
    try {
        french = std::locale("fr_FR.UTF-8");
    } catch (const std::runtime_error&) {
        GTEST_SKIP() << "the fr_FR.UTF-8 locale is not installed";
    }
    EXPECT_EQ(DateText::Format(kNewYear2000 + 0.5, DateText::kDateAndTime, french), "01/01/2000 12:00:00");
}

} // namespace
