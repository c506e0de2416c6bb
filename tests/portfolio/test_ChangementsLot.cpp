// The batch changes of a portfolio's requests: the study field, weighting and level replaced, and
// the non-response row of a closed question that offers one, shown or removed.
#include "PortfolioTestSupport.h"
#include "app/Ligne.h"
#include "portfolio/ChangementsLot.h"
#include "tabulation/Traitement.h"

namespace {

using portfolio_test::PortfolioTest;

std::vector<std::int32_t> Codes(const CTraitement::Lignes& lines) {
    std::vector<std::int32_t> codes;
    for (const auto& line : lines)
        codes.push_back(line != nullptr ? line->code : 0);
    return codes;
}

class ChangementsLotTest : public PortfolioTest {
protected:
    void SetUp() override {
        PortfolioTest::SetUp();
        Open();
    }

    std::unique_ptr<CTraitement> Request(const std::string& text) {
        qesrun::RequestText::Result parsed = qesrun::RequestText::Parse(text, context);
        EXPECT_NE(parsed.request, nullptr) << parsed.error;
        return std::move(parsed.request);
    }
};

TEST_F(ChangementsLotTest, TheStudyFieldWeightingAndLevelAreReplaced) {
    const std::unique_ptr<CTraitement> request = Request(portfolio_test::kCrossRequest);
    ChangementsLot::ChangerChampEtude(*request, 7, "Femmes");
    ChangementsLot::ChangerRedressement(*request, 3, "Par âge");
    ChangementsLot::ChangerNiveau(*request, 1);
    EXPECT_EQ(request->studyFieldId, 7);
    EXPECT_EQ(request->studyFieldName, "Femmes");
    EXPECT_EQ(request->weightingId, 3);
    EXPECT_EQ(request->weightingName, "Par âge");
    EXPECT_EQ(request->level, 1);
}

// REGION offers the non-response (code -1), SEXE does not. The row is put before a last Total
// line (-4), else at the end; removing it takes it out; nothing else changes.
TEST_F(ChangementsLotTest, TheNonResponseRowIsShownOrRemovedOnlyWhereTheQuestionOffersIt) {
    const struct {
        const char* name;
        const char* request;
        bool afficher;
        bool changed;
        std::vector<std::int32_t> rows;
    } cases[] = {
        {"shown before the Total",
         "type tri-simple\nlignes REGION 1 2 total\ncalculs 0\n",
         true,
         true,
         {1, 2, -1, -4}},
        {"shown at the end", "type tri-simple\nlignes REGION 1 2\ncalculs 0\n", true, true, {1, 2, -1}},
        {"already shown", "type tri-simple\nlignes REGION 1 -1 2\ncalculs 0\n", true, false, {1, -1, 2}},
        {"removed", "type tri-simple\nlignes REGION 1 -1 2 total\ncalculs 0\n", false, true, {1, 2, -4}},
        {"nothing to remove", "type tri-simple\nlignes REGION 1 2\ncalculs 0\n", false, false, {1, 2}},
        {"a question without non-response",
         "type tri-simple\nlignes SEXE 1 2 total\ncalculs 0\n",
         true,
         false,
         {1, 2, -4}},
    };
    for (const auto& tested : cases) {
        SCOPED_TRACE(tested.name);
        const std::unique_ptr<CTraitement> request = Request(tested.request);
        ASSERT_NE(request, nullptr);
        EXPECT_EQ(ChangementsLot::ChangerNonReponses(*request, context, tested.afficher), tested.changed);
        EXPECT_EQ(Codes(request->GetModalitesAxe(CTraitement::kLignes)), tested.rows);
    }
}

TEST_F(ChangementsLotTest, TheNonResponseRowOfTheColumnsTakesTheSurveysCaption) {
    const std::unique_ptr<CTraitement> request =
        Request("type tri-croise\nlignes SEXE\ncolonnes REGION 1 2\ncalculs 0\n");
    ASSERT_TRUE(ChangementsLot::ChangerNonReponses(*request, context, true));
    const CTraitement::Lignes& columns = request->GetModalitesAxe(CTraitement::kColonnes);
    ASSERT_EQ(Codes(columns), (std::vector<std::int32_t>{1, 2, -1}));
    EXPECT_EQ(columns.back()->label, "Non réponse");
}

} // namespace
