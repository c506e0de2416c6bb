#include <gtest/gtest.h>

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "RecodesTestSupport.h"
#include "recodes/ModaliteGroupe.h"
#include "recodes/RecodageModalite.h"
#include "recodes/SousTotal.h"

using namespace recodes_test;

namespace {

struct NodeSpec {
    std::int32_t code;
    std::int16_t level;
    std::string caption;
};

class RecodageModaliteTest : public RecodesFixture {
protected:
    void Build(const std::vector<NodeSpec>& nodes) {
        for (const NodeSpec& node : nodes)
            recode.AjouterNoeud(std::make_unique<CModaliteGroupe>(&survey, node.code, node.caption, node.level));
    }

    std::vector<std::int16_t> Groups(std::int32_t code, int level) const {
        std::vector<std::int16_t> groups;
        recode.DonnerGroupesDuCode(code, level, groups);
        return groups;
    }

    CRecodageModalite recode{&survey};
};

// The tree used by the lookups:
//   0 G0 (group, level 0)        3 G1 (group, level 0)
//   1   code 1 (level 1)         4   G1a (group, level 1)
//   2   code 2 (level 1)         5     code 2 (level 2)
//                                6     code 3 (level 2)
//                                7   code 1 (level 1)
const std::vector<NodeSpec> kTree = {
    {0, 0, "G0"}, {1, 1, "un"}, {2, 1, "deux"}, {0, 0, "G1"}, {0, 1, "G1a"}, {2, 2, "deux"}, {3, 2, "trois"}, {1, 1, "un"},
};

TEST_F(RecodageModaliteTest, ThreePiecesGiveOneGroupOfTwoAndOneModalityBearingTheGroupCaption) {
    recode.SetRegroupement("0;0;Jeunes|1;1;Moins de 18 ans|2;1;18 à 24 ans|");
    ASSERT_EQ(recode.NodeCount(), 3);
    EXPECT_EQ(recode.DonnerNombreDescendants(0), 2);
    EXPECT_EQ(recode.Node(2)->code, 2);
    EXPECT_EQ(recode.Node(2)->level, 1);
    EXPECT_EQ(recode.Node(1)->GetLocalisedShortCaption(kFrench), "Moins de 18 ans");

    auto target = ClosedQuestion(1, {1, 2, 3, -2});
    target->hasNoAnswer = 1;
    target->type = 6;
    recode.Appliquer(*target, true);
    ASSERT_EQ(target->GetNbreModalite(), 1);
    EXPECT_EQ(target->GetModalite(0)->code, 1);
    EXPECT_EQ(Caption(*target, 0, kFrench), "Jeunes");
    EXPECT_FALSE(target->GetModaliteEtendue(0)->displayOptions[0]);
    EXPECT_EQ(target->type, 1);
    EXPECT_EQ(target->hasNoAnswer, 0);
}

TEST_F(RecodageModaliteTest, TopLevelNodesBecomeModalitiesNumberedInOrder) {
    Build(kTree);
    recode.Reinitialiser();
    auto target = ClosedQuestion(1, {1, 2, 3});
    recode.Appliquer(*target, false);
    ASSERT_EQ(target->GetNbreModalite(), 2);
    EXPECT_EQ(target->GetModalite(0)->code, 1);
    EXPECT_EQ(Caption(*target, 0, kFrench), "G0");
    EXPECT_EQ(target->GetModalite(1)->code, 2);
    EXPECT_EQ(Caption(*target, 1, kFrench), "G1");
    EXPECT_FALSE(target->GetModaliteEtendue(1)->displayOptions[0]);

    CRecodageModalite empty(&survey);
    empty.Appliquer(*target, true);
    EXPECT_EQ(target->GetNbreModalite(), 0);
    EXPECT_EQ(target->type, 1);
}

TEST_F(RecodageModaliteTest, DefinitionTextRoundTripsCodesLevelsAndCaptions) {
    struct Case {
        const char* what;
        std::vector<std::pair<std::int32_t, std::string>> captions; // language, caption
    };
    const std::vector<Case> cases = {
        {"one language", {{kFrench, "Jeunes"}}},
        {"a semicolon", {{kFrench, "Ouvriers; employés"}}},
        {"a trailing semicolon", {{kFrench, "Cadres;"}}},
        {"a pipe", {{kFrench, "Nord | Sud"}}},
        {"looks like two properties", {{kFrench, "a=1;b=2;"}}},
        {"two languages", {{kFrench, "Jeunes; actifs"}, {kEnglish, "Young | working"}}},
        {"another language alone, with a pipe", {{kEnglish, "A|B"}}},
        {"no caption", {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        CRecodageModalite written(&survey);
        auto group = std::make_unique<CModaliteGroupe>(&survey, 0, std::string(), std::int16_t{0});
        for (const auto& [language, caption] : c.captions)
            group->SetLocalisedShortCaption(language, caption);
        written.AjouterNoeud(std::move(group));
        written.AjouterNoeud(std::make_unique<CModaliteGroupe>(&survey, 42, "quarante-deux", std::int16_t{1}));

        CRecodageModalite read(&survey);
        read.SetRegroupement(written.GetRegroupement());
        ASSERT_EQ(read.NodeCount(), 2);
        EXPECT_EQ(read.Node(0)->code, 0);
        EXPECT_EQ(read.Node(0)->level, 0);
        EXPECT_EQ(read.Node(0)->shortCaptions, written.Node(0)->shortCaptions);
        EXPECT_EQ(read.Node(1)->code, 42);
        EXPECT_EQ(read.Node(1)->level, 1);
        EXPECT_EQ(read.Node(1)->GetLocalisedShortCaption(kFrench), "quarante-deux");
        EXPECT_EQ(read.GetRegroupement(), written.GetRegroupement());
    }
}

TEST_F(RecodageModaliteTest, DefinitionTextFormatIsOnePiecePerNode) {
    Build({{0, 0, "Jeunes"}, {3, 1, "Trois"}});
    EXPECT_EQ(recode.GetRegroupement(), "0;0;Jeunes|3;1;Trois|");

    CRecodageModalite twoLanguages(&survey);
    auto node = std::make_unique<CModaliteGroupe>(&survey, 5, "Cinq", std::int16_t{0});
    node->SetLocalisedShortCaption(kEnglish, "Five");
    twoLanguages.AjouterNoeud(std::move(node));
    EXPECT_EQ(twoLanguages.GetRegroupement(), "5;0;1033=Five;1036=Cinq;|");
}

TEST_F(RecodageModaliteTest, ReadingSkipsPiecesWithoutTwoWholeNumbersAndReplacesTheNodes) {
    Build(kTree);
    recode.SetRegroupement("x;0;A|1;y;B|3|2;1;C|4;-1;D|5;1|1.5;0;E||6;0;F");
    ASSERT_EQ(recode.NodeCount(), 3);
    EXPECT_EQ(recode.Node(0)->code, 2);
    EXPECT_EQ(recode.Node(0)->GetLocalisedShortCaption(kFrench), "C");
    EXPECT_EQ(recode.Node(1)->code, 5);
    EXPECT_TRUE(recode.Node(1)->shortCaptions.empty());
    EXPECT_EQ(recode.Node(2)->code, 6); // the last piece needs no "|"

    recode.SetRegroupement("");
    EXPECT_EQ(recode.NodeCount(), 0);
}

TEST_F(RecodageModaliteTest, GroupsOfACodeAtEachLevel) {
    Build(kTree);
    struct Case {
        std::int32_t code;
        int level;
        std::vector<std::int16_t> groups;
    };
    const std::vector<Case> cases = {
        {1, 0, {0, 1}},  // under G0, and under G1 at level 1
        {2, 0, {0, 1}},  // under G0, and two levels down under G1
        {3, 0, {1}},
        {2, 1, {1, 2}},  // a node of the level itself, then inside G1a
        {1, 1, {0, 3}},
        {3, 1, {2}},
        {3, 2, {1}},
        {0, 0, {0, 1, 1}},  // the groups themselves carry code 0: G0, G1 and G1a inside it
        {4, 0, {}},
        {-5, 0, {}},
        {-5, 2, {}},
        {1, 3, {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE("code " + std::to_string(c.code) + " level " + std::to_string(c.level));
        EXPECT_EQ(Groups(c.code, c.level), c.groups);
    }
}

TEST_F(RecodageModaliteTest, DeeperNodesOutsideEveryGroupOfTheLevelBelongToNone) {
    // 7 before the first level-0 node, then under A; 5 under B (the third node of level 1) and
    // again directly under C, skipping level 1.
    recode.SetRegroupement("7;1;sept|0;0;A|7;1;sept|0;1;B|5;2;cinq|0;0;C|5;2;cinq|");
    EXPECT_EQ(Groups(7, 0), std::vector<std::int16_t>({0}));
    EXPECT_EQ(Groups(7, 1), std::vector<std::int16_t>({0, 1}));
    EXPECT_EQ(Groups(5, 1), std::vector<std::int16_t>({2}));
    EXPECT_EQ(Groups(5, 0), std::vector<std::int16_t>({0, 1}));
}

TEST_F(RecodageModaliteTest, GroupsAreAppendedToWhatTheCallerHolds) {
    recode.SetRegroupement("0;0;A|2;1;x|0;0;B|2;1;x|");
    std::vector<std::int16_t> groups{9};
    recode.DonnerGroupesDuCode(2, 0, groups);
    EXPECT_EQ(groups, std::vector<std::int16_t>({9, 0, 1}));
    EXPECT_EQ(recode.DonnerNombreReponses(*ClosedQuestion(1, {2})), 2);
}

TEST_F(RecodageModaliteTest, AnswersPerSourceAnswerIsTheMostGroupsOneCodeSitsIn) {
    EXPECT_EQ(recode.DonnerNombreReponses(*ClosedQuestion(1, {})), 1);
    recode.SetRegroupement("0;0;A|0;0;B|");
    EXPECT_EQ(recode.DonnerNombreReponses(*ClosedQuestion(1, {})), 1);
    Build(kTree);
    EXPECT_EQ(recode.DonnerNombreReponses(*ClosedQuestion(1, {})), 2);
    recode.AjouterNoeud(std::make_unique<CModaliteGroupe>(&survey, 2, "deux", std::int16_t{1}));
    EXPECT_EQ(recode.DonnerNombreReponses(*ClosedQuestion(1, {})), 3);
}

TEST_F(RecodageModaliteTest, LevelsNodesAndDescendants) {
    EXPECT_EQ(recode.DonnerNombreNiveaux(), 1);
    EXPECT_EQ(recode.DonnerNombreDescendants(0), 0);
    Build(kTree);
    EXPECT_EQ(recode.DonnerNombreNiveaux(), 3);
    EXPECT_EQ(recode.DonnerNombreNoeudsNiveau(0), 2);
    EXPECT_EQ(recode.DonnerNombreNoeudsNiveau(1), 4);
    EXPECT_EQ(recode.DonnerNombreGroupes(2), 2);
    EXPECT_EQ(recode.DonnerNombreGroupes(3), 0);
    EXPECT_EQ(recode.DonnerIndexNoeud(0, 0), 0);
    EXPECT_EQ(recode.DonnerIndexNoeud(1, 0), 3);
    EXPECT_EQ(recode.DonnerIndexNoeud(3, 1), 7);
    EXPECT_EQ(recode.DonnerIndexNoeud(1, 2), 6);
    EXPECT_EQ(recode.DonnerIndexNoeud(4, 1), 0);
    EXPECT_EQ(recode.DonnerNombreDescendants(0), 2);
    EXPECT_EQ(recode.DonnerNombreDescendants(3), 4);
    EXPECT_EQ(recode.DonnerNombreDescendants(4), 2);
    EXPECT_EQ(recode.DonnerNombreDescendants(7), 0);
    EXPECT_EQ(recode.DonnerNombreDescendants(8), 0);
    EXPECT_EQ(recode.DonnerNombreDescendants(-1), 0);
    EXPECT_EQ(recode.AjouterNoeud(nullptr), -1);
    EXPECT_EQ(recode.NodeCount(), static_cast<int>(kTree.size()));
    recode.ViderNoeuds();
    EXPECT_EQ(recode.NodeCount(), 0);
    EXPECT_EQ(recode.Node(0), nullptr);
}

TEST_F(RecodageModaliteTest, ReinitialiserShowsTopLevelNodesAndClearsTheOtherOptions) {
    Build(kTree);
    for (int i = 0; i < recode.NodeCount(); ++i)
        recode.Node(i)->displayOptions = {false, true, true, true};
    recode.Node(1)->displayOptions[0] = true;
    recode.Reinitialiser();
    for (int i = 0; i < recode.NodeCount(); ++i) {
        SCOPED_TRACE(i);
        const bool top = recode.Node(i)->level == 0;
        EXPECT_EQ(recode.Node(i)->displayOptions, (std::array<bool, 4>{top, false, false, false}));
    }
}

TEST_F(RecodageModaliteTest, PortableFormUsesPositionsAmongTheQuestionsCodes) {
    Build({{0, 0, "G"}, {20, 1, "vingt"}, {30, 1, "trente"}, {99, 1, "absent"}});
    const auto source = ClosedQuestion(1, {10, 20, 30});
    const std::string portable = recode.GetRegroupement(*source);
    EXPECT_EQ(portable, "0;0;G|2;1;vingt|3;1;trente|0;1;absent|");

    const auto other = ClosedQuestion(2, {5, 6, 7});
    CRecodageModalite read(&survey);
    read.SetRegroupement(*other, portable + "4;1;trop loin|-1;1;avant|");
    ASSERT_EQ(read.NodeCount(), 6);
    const std::vector<std::int32_t> expected = {0, 6, 7, 0, 0, 0};
    for (int i = 0; i < read.NodeCount(); ++i)
        EXPECT_EQ(read.Node(i)->code, expected[static_cast<std::size_t>(i)]) << i;
    EXPECT_EQ(read.Node(1)->GetLocalisedShortCaption(kFrench), "vingt");
}

TEST_F(RecodageModaliteTest, AppliesToClosedQuestionsOnly) {
    EXPECT_TRUE(recode.EstApplicable(*ClosedQuestion(1, {1})));
    EXPECT_TRUE(recode.EstApplicable(*QuestionOfType(2, 7)));
    EXPECT_FALSE(recode.EstApplicable(*QuestionOfType(3, 5)));
    EXPECT_FALSE(recode.EstApplicable(*QuestionOfType(4, 4)));
    EXPECT_FALSE(recode.EstApplicable(*QuestionOfType(5, 3)));
}

TEST_F(RecodageModaliteTest, CopiedGroupsAreEveryNodeWithItsLevel) {
    Build(kTree);
    std::vector<std::unique_ptr<CModaliteEtendue>> groups;
    groups.push_back(std::make_unique<CModaliteEtendue>(&survey));
    recode.CopyGroups(groups);
    ASSERT_EQ(groups.size(), kTree.size() + 1);
    const auto* sixth = dynamic_cast<const CModaliteGroupe*>(groups[6].get());
    ASSERT_NE(sixth, nullptr);
    EXPECT_EQ(sixth->code, 2);
    EXPECT_EQ(sixth->level, 2);
    EXPECT_NE(sixth, recode.Node(5));
}

TEST(ModaliteGroupe, ConstructorsAndCopies) {
    CContexteEtude survey;
    survey.questionnaireLanguage = kEnglish;
    const CModaliteGroupe empty(&survey);
    EXPECT_EQ(empty.level, 0);
    EXPECT_EQ(empty.code, 0);

    const CModaliteGroupe node(&survey, 4, "Four", 2);
    EXPECT_EQ(node.GetLocalisedShortCaption(kEnglish), "Four");
    EXPECT_EQ(node.level, 2);

    CModalite plain(7, 3.5);
    plain.SetLocalisedShortCaption(kFrench, "Sept");
    const CModaliteGroupe fromPlain(&survey, plain);
    EXPECT_EQ(fromPlain.code, 7);
    EXPECT_EQ(fromPlain.value, 3.5);
    EXPECT_EQ(fromPlain.GetLocalisedShortCaption(kFrench), "Sept");
    EXPECT_EQ(fromPlain.level, 0);

    const std::unique_ptr<CModalite> clone = node.Clone();
    const auto* copy = dynamic_cast<const CModaliteGroupe*>(clone.get());
    ASSERT_NE(copy, nullptr);
    EXPECT_EQ(copy->level, 2);
    EXPECT_EQ(copy->GetEnquete(), &survey);
}

TEST(SousTotal, ComparesOverTheCommonLength) {
    const auto list = [](std::initializer_list<std::int32_t> codes) {
        CSousTotal total;
        for (std::int32_t code : codes)
            total.Append(code);
        return total;
    };
    struct Case {
        CSousTotal left;
        CSousTotal right;
        int expected;
    };
    const std::vector<Case> cases = {
        {list({1, 2}), list({1, 3}), -1},
        {list({1, 2}), list({1, 2}), 0},
        {list({1, 2}), list({1, 1}), 1},
        {list({2}), list({1, 9}), 1},
        {list({}), list({4, 5}), 0},
        {list({1, 2, 3}), list({1, 2}), 0},
        {list({-3, 0}), list({-2, -9}), -1},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(c.left.Comparer(c.right), c.expected);
        EXPECT_EQ(c.left < c.right, c.expected == -1);
        EXPECT_EQ(c.left.EstAvant(c.right), c.expected == -1);
    }
    const CSousTotal keys = list({3, 12});
    const CSousTotal copy(keys);
    EXPECT_EQ(copy.GetCount(), 2);
    EXPECT_EQ(copy.DonnerCode(1), 12);
}

} // namespace
