#include <gtest/gtest.h>

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "RecodesTestSupport.h"
#include "recodes/RecodageLevelModalite.h"
#include "recodes/RecodageLevelNumerique.h"
#include "recodes/RecodageLevelOpen.h"

using namespace recodes_test;

namespace {

class RecodageLevelTest : public RecodesFixture {
protected:
    std::unique_ptr<CQuestionEtendue> AtLevel(std::unique_ptr<CQuestionEtendue> question, std::int32_t level) {
        question->level = level;
        return question;
    }
};

TEST_F(RecodageLevelTest, AppliesToItsKindOfQuestionAtItsSourceLevel) {
    CRecodageLevelModalite closed(&survey);
    CRecodageLevelNumerique numeric(&survey);
    CRecodageLevelOpen open(&survey);
    for (CRecodage* recode : std::vector<CRecodage*>{&closed, &numeric, &open})
        recode->SetNiveauDepart(2);

    struct Case {
        const CRecodage& recode;
        std::int16_t type;
        std::int32_t level;
        bool applies;
    };
    const std::vector<Case> cases = {
        {closed, 1, 2, true},   {closed, 1, 0, false}, {closed, 7, 2, true},   {closed, 5, 2, false},
        {numeric, 5, 2, true},  {numeric, 5, 1, false}, {numeric, 4, 2, false}, {numeric, 3, 2, false},
        {open, 4, 2, true},     {open, 4, 0, false},   {open, 1, 2, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE("kind " + std::to_string(c.recode.GetType()) + " type " + std::to_string(c.type) + " level " +
                     std::to_string(c.level));
        EXPECT_EQ(c.recode.EstApplicable(*AtLevel(QuestionOfType(1, c.type), c.level)), c.applies);
    }
}

TEST_F(RecodageLevelTest, GatheringMethodsGiveAsManyAnswersAsModalities) {
    CRecodageLevelModalite recode(&survey);
    const auto source = ClosedQuestion(1, {1, 2, 3, -2});
    const std::vector<std::pair<std::int16_t, int>> cases = {{0, 4}, {1, 4}, {2, 1}, {3, 1}};
    for (const auto& [method, answers] : cases) {
        recode.SetSousType(method);
        EXPECT_EQ(recode.DonnerNombreReponses(*source), answers) << method;
    }
    recode.SetSousType(0);
    EXPECT_EQ(recode.DonnerNombreReponses(*ClosedQuestion(2, {})), 1);
    EXPECT_EQ(CRecodageLevelNumerique(&survey).DonnerNombreReponses(*source), 1);
    EXPECT_EQ(CRecodageLevelOpen(&survey).DonnerNombreReponses(*source), 1);
}

TEST_F(RecodageLevelTest, AppliquerSetsTypeFlagAndTargetLevelAndKeepsTheModalities) {
    CRecodageLevelModalite closed(&survey);
    CRecodageLevelNumerique numeric(&survey);
    CRecodageLevelOpen open(&survey);
    const std::vector<std::pair<CRecodage*, std::int16_t>> cases = {{&closed, 1}, {&numeric, 5}, {&open, 4}};
    for (const auto& [recode, type] : cases) {
        SCOPED_TRACE(recode->GetType());
        recode->SetNiveauDepart(1);
        recode->SetNiveauArrivee(0);
        auto target = AtLevel(ClosedQuestion(1, {1, 2}), 1);
        target->type = 6;
        recode->Appliquer(*target, false);
        EXPECT_EQ(target->type, type);
        EXPECT_EQ(target->hasNoAnswer, 1);
        EXPECT_EQ(target->level, 0);
        ASSERT_EQ(target->GetNbreModalite(), 2);
        EXPECT_EQ(target->GetModalite(1)->code, 2);
    }
}

TEST_F(RecodageLevelTest, LevelsAndMethodAreKeptAndTheOtherFieldsAreTheDefaults) {
    CRecodageLevelNumerique recode(&survey);
    EXPECT_EQ(recode.GetNiveauDepart(), 0);
    EXPECT_EQ(recode.GetNiveauArrivee(), 0);
    EXPECT_EQ(recode.GetSousType(), 0);
    recode.SetNiveauDepart(3);
    recode.SetNiveauArrivee(1);
    recode.SetSousType(5);
    recode.SetRegroupement("1@2@");
    recode.SetUnite("kg");
    recode.SetDateType(1);
    recode.SetEstEntier(true);
    EXPECT_EQ(recode.GetNiveauDepart(), 3);
    EXPECT_EQ(recode.GetNiveauArrivee(), 1);
    EXPECT_EQ(recode.GetSousType(), 5);
    EXPECT_EQ(recode.GetRegroupement(), "");
    EXPECT_EQ(recode.GetUnite(), "");
    EXPECT_EQ(recode.GetDateType(), -1);
    EXPECT_FALSE(recode.GetEstEntier());
    EXPECT_EQ(recode.DonnerNombreClasses(), 0);
    std::vector<std::int16_t> groups;
    recode.DonnerGroupesDuCode(1, 0, groups);
    EXPECT_TRUE(groups.empty());
}

} // namespace
