#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <string>
#include <vector>

#include "LocaleGuard.h"
#include "RecodesTestSupport.h"
#include "recodes/RecodageDiscrete.h"

using namespace recodes_test;

namespace {

class RecodageDiscreteTest : public RecodesFixture {
protected:
    void Values(const std::vector<double>& values) {
        recode.ViderValeurs();
        for (double value : values)
            recode.AjouterValeur(value);
    }

    CRecodageDiscrete recode{&survey};
};

TEST_F(RecodageDiscreteTest, ValuesAreStoredWithFifteenDigitsWhateverTheLocale) {
    struct Case {
        std::vector<double> values;
        const char* text;
    };
    const std::vector<Case> cases = {
        {{}, ""},
        {{1234567.891}, "1234567.891@"},
        {{1, 2.5, -3}, "1@2.5@-3@"},
        {{0.1, 1e-20, 123456789012345678.0}, "0.1@1e-20@1.23456789012346e+17@"},
    };
    const LocaleGuard french("fr_FR.UTF-8"); // "," as decimal point where installed
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        Values(c.values);
        EXPECT_EQ(recode.GetRegroupement(), c.text);
        CRecodageDiscrete read(&survey);
        read.AjouterValeur(99); // reading replaces the values
        read.SetRegroupement(c.text);
        ASSERT_EQ(read.DonnerNombreValeurs(), static_cast<int>(c.values.size()));
        for (int i = 0; i < read.DonnerNombreValeurs(); ++i) {
            const double value = c.values[static_cast<std::size_t>(i)];
            EXPECT_NEAR(read.DonnerValeur(i), value, std::abs(value) * 1e-14); // 15 significant digits kept
        }
    }
}

TEST_F(RecodageDiscreteTest, ACommaTypedAsDecimalPointIsRead) {
    recode.SetRegroupement("1,5@2@");
    ASSERT_EQ(recode.DonnerNombreValeurs(), 2);
    EXPECT_EQ(recode.DonnerValeur(0), 1.5);
}

TEST_F(RecodageDiscreteTest, IndexOfAValueExactlyOrNearest) {
    Values({1, 2, 4});
    struct Case {
        double x;
        bool nearest;
        std::int16_t index;
    };
    const std::vector<Case> cases = {
        {3.0, true, 1},   // as far from 2 as from 4: the lower one
        {3.1, true, 2},
        {1.5, true, 0},
        {-100, true, 0},
        {1e6, true, 2},
        {2.0000000001, false, 1}, // within 1e-9
        {2.001, false, -5},
        {4.0, false, 2},
        {3.0, false, -5},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::to_string(c.x) + (c.nearest ? " nearest" : " exact"));
        recode.SetEstEntier(c.nearest);
        EXPECT_EQ(recode.DonnerIndexValeur(c.x), c.index);
    }
    Values({});
    for (bool nearest : {false, true}) {
        recode.SetEstEntier(nearest);
        EXPECT_EQ(recode.DonnerIndexValeur(1.0), -5);
    }
}

TEST_F(RecodageDiscreteTest, ModalitiesPerValueThenTheMissingAnswersInEveryLanguage) {
    Values({1, 2.5, 1234567.891});
    recode.SetUnite("enfants");
    auto target = QuestionOfType(7, 5);
    recode.Appliquer(*target, true);
    EXPECT_EQ(target->type, 6);
    EXPECT_EQ(target->hasNoAnswer, 1);
    ASSERT_EQ(target->GetNbreModalite(), 5);

    struct Expected {
        std::int32_t code;
        double value;
        const char* french;
        const char* english;
        bool selected;
    };
    const std::vector<Expected> expected = {
        {1, 1, "1 enfants", "", true},
        {2, 2.5, "2.5 enfants", "", true},
        {3, 1234567.891, "1234567.89 enfants", "", true},
        {-1, -999999.99, "Non réponse", "Don't know", true},
        {-2, -888888.88, "Non interrogé", "Not asked", false},
    };
    for (int i = 0; i < 5; ++i) {
        SCOPED_TRACE(i);
        const Expected& e = expected[static_cast<std::size_t>(i)];
        EXPECT_EQ(target->GetModalite(i)->code, e.code);
        EXPECT_EQ(target->GetModalite(i)->value, e.value);
        EXPECT_EQ(Caption(*target, i, kFrench), e.french);
        EXPECT_EQ(Caption(*target, i, kEnglish), e.english);
        EXPECT_EQ(target->GetModaliteEtendue(i)->selected, e.selected);
    }

    recode.Appliquer(*target, false);
    ASSERT_EQ(target->GetNbreModalite(), 4);
    EXPECT_EQ(target->GetModalite(3)->code, -2);
    EXPECT_EQ(target->hasNoAnswer, 0);
}

TEST_F(RecodageDiscreteTest, AppliesToFreeNumericQuestionsOnly) {
    EXPECT_TRUE(recode.EstApplicable(*QuestionOfType(1, 5)));
    for (std::int16_t type : {1, 3, 4, 6, 7}) {
        SCOPED_TRACE(type);
        EXPECT_FALSE(recode.EstApplicable(*QuestionOfType(1, type)));
    }
    EXPECT_EQ(recode.DonnerNombreReponses(*QuestionOfType(1, 5)), 1);
}

} // namespace
