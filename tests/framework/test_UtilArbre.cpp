#include "app/ContexteEtude.h"
#include "app/QuestionEtendue.h"
#include "app/QuestionNiveau.h"
#include "framework/UtilArbre.h"

#include <QTreeWidget>
#include <gtest/gtest.h>
#include <memory>

namespace {

// A survey of two levels, the interviews and a loop under them, with the interviews current.
class UtilArbreTest : public ::testing::Test {
protected:
    void SetUp() override {
        for (int depth = 0; depth < 2; ++depth) {
            auto level = std::make_unique<CQuestionNiveau>(&m_context);
            level->depth = static_cast<std::int16_t>(depth);
            m_context.levels.push_back(std::move(level));
        }
        CContexteEtude::RegisterContext(&m_context);
    }
    void TearDown() override { CContexteEtude::RegisterContext(nullptr); }

    CQuestionEtendue Question(std::int16_t kind, std::int16_t type, std::int32_t level = 0) {
        CQuestionEtendue question(&m_context);
        question.kind = kind;
        question.type = type;
        question.level = level;
        return question;
    }

    CContexteEtude m_context;
};

TEST_F(UtilArbreTest, TheIconFollowsKindTypeFlagsAndTheCurrentLevel) {
    struct Case {
        const char* what;
        std::int16_t kind;
        std::int16_t type;
        std::int32_t ranking;
        std::int32_t nonResponse;
        int inside;  // at level 0, the question's own
        int outside; // a question of the loop seen from the interviews
    };
    const Case cases[] = {
        {"chapter", 0, 1, 0, 0, 0, 0},
        {"closed", 1, 1, 0, 0, 7, 17},
        {"closed ranking", 1, 1, 1, 0, 4, 14},
        {"closed ranking offering the non-response", 1, 1, 1, 1, 4, 14},
        {"closed offering the non-response", 1, 1, 0, 1, 2, 12},
        {"kind 1 type 2", 1, 2, 0, 0, 1, 0},
        {"date", 1, 3, 0, 0, 18, 19},
        {"open", 1, 4, 0, 0, 5, 15},
        {"free numeric", 1, 5, 0, 0, 1, 11},
        {"discrete numeric", 1, 6, 0, 0, 2, 12},
        {"numeric with intervals", 1, 7, 0, 0, 3, 13},
        {"generated per level", 1, 8, 0, 0, 1, 0},
        {"derived closed", 2, 1, 0, 0, 6, 6},
        {"derived type 3", 2, 3, 0, 0, 0, 0},
        {"derived free numeric", 2, 5, 0, 0, 1, 1},
        {"derived discrete", 2, 6, 0, 0, 2, 2},
        {"derived intervals", 2, 7, 0, 0, 3, 3},
        {"derived other", 2, 9, 0, 0, 0, 0},
        {"other kind", 5, 1, 0, 0, 1, 1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        CQuestionEtendue inside = Question(c.kind, c.type);
        inside.ranking = c.ranking;
        inside.hasNoAnswer = c.nonResponse;
        EXPECT_EQ(CUtilArbre::GetImageQuestion(inside), c.inside);
        CQuestionEtendue outside = Question(c.kind, c.type, 1);
        outside.ranking = c.ranking;
        outside.hasNoAnswer = c.nonResponse;
        EXPECT_EQ(CUtilArbre::GetImageQuestion(outside), c.outside);
    }
}

// The loop's own questions are inside the loop's level, and the interviews' questions too.
TEST_F(UtilArbreTest, AtTheLoopsLevelItsQuestionsAndTheInterviewsAreInside) {
    m_context.currentLevel = 1;
    EXPECT_EQ(CUtilArbre::GetImageQuestion(Question(1, 1, 1)), 7);
    EXPECT_EQ(CUtilArbre::GetImageQuestion(Question(1, 1, 0)), 7);
}

TEST_F(UtilArbreTest, EveryIconIsDrawnAndAnIndexOutOfRangeGivesNone) {
    const CUtilArbre icons;
    for (int index = 0; index < CUtilArbre::kImageCount; ++index) {
        SCOPED_TRACE(index);
        EXPECT_FALSE(icons.GetImage(index).isNull());
    }
    EXPECT_TRUE(icons.GetImage(-1).isNull());
    EXPECT_TRUE(icons.GetImage(CUtilArbre::kImageCount).isNull());
    // Outside the level an icon looks different from the same icon inside.
    EXPECT_NE(icons.GetImage(7).pixmap(16).toImage(), icons.GetImage(17).pixmap(16).toImage());
}

TEST_F(UtilArbreTest, DeplierToutExpandsEveryDescendant) {
    QTreeWidget tree;
    auto* first = new QTreeWidgetItem(&tree);
    auto* child = new QTreeWidgetItem(first);
    auto* grandChild = new QTreeWidgetItem(child);
    new QTreeWidgetItem(grandChild);
    auto* second = new QTreeWidgetItem(&tree);
    new QTreeWidgetItem(second);

    CUtilArbre::DeplierTout(tree, child);
    EXPECT_FALSE(first->isExpanded());
    EXPECT_TRUE(child->isExpanded());
    EXPECT_TRUE(grandChild->isExpanded());

    CUtilArbre::DeplierTout(tree, nullptr);
    EXPECT_TRUE(first->isExpanded());
    EXPECT_TRUE(second->isExpanded());
}

} // namespace
