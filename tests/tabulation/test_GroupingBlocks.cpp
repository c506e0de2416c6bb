// Moves and sorts of the rows of a grouping shown as a list. Every expected order is written by
// hand from the tree the levels draw (a row's group is the nearest row above it of a lower level).
#include "tabulation/GroupingBlocks.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

namespace {

using GroupingBlocks::Move;

// Two groups and a modality alone, one member holding a member of its own:
//   0 G1 | 1 a | 2 b | 3 G2 | 4 c | 5 d (under c) | 6 e | 7 M
const std::vector<int> kLevels{0, 1, 1, 0, 1, 2, 1, 0};

TEST(GroupingBlocksTest, ABlockIsARowAndTheDeeperRowsAfterIt) {
    const std::vector<int> sizes{3, 1, 1, 4, 2, 1, 1, 1};
    for (int row = 0; row < static_cast<int>(kLevels.size()); ++row)
        EXPECT_EQ(GroupingBlocks::BlockSize(kLevels, row), sizes[static_cast<std::size_t>(row)]) << row;
    EXPECT_EQ(GroupingBlocks::BlockSize(kLevels, 8), 0);
    EXPECT_EQ(GroupingBlocks::BlockSize(kLevels, -1), 0);
}

TEST(GroupingBlocksTest, MovesTakeWholeBlocksPastTheNeighbourOfTheirLevel) {
    struct Case {
        const char* what;
        bool up;
        int row;
        std::optional<Move> move;
        std::vector<int> after; // the rows shown at each position after the move; empty: none
    };
    const std::vector<Case> cases = {
        {"the first row cannot go up", true, 0, std::nullopt, {}},
        {"the first member of a group stays in it", true, 1, std::nullopt, {}},
        {"a member goes above the member before it", true, 2, Move{2, 1, 1}, {0, 2, 1, 3, 4, 5, 6, 7}},
        {"a group goes up with its members", true, 3, Move{3, 4, 0}, {3, 4, 5, 6, 0, 1, 2, 7}},
        {"a member goes above a member and its own member", true, 6, Move{6, 1, 4}, {0, 1, 2, 3, 6, 4, 5, 7}},
        {"a member of a member has no neighbour above", true, 5, std::nullopt, {}},
        {"a top modality goes above a whole group", true, 7, Move{7, 1, 3}, {0, 1, 2, 7, 3, 4, 5, 6}},
        {"a group goes down past the next group and its members", false, 0, Move{0, 3, 4},
         {3, 4, 5, 6, 0, 1, 2, 7}},
        {"the last member of a group stays in it", false, 2, std::nullopt, {}},
        {"a member goes down with its own member", false, 4, Move{4, 2, 5}, {0, 1, 2, 3, 6, 4, 5, 7}},
        {"a group goes below a modality", false, 3, Move{3, 4, 4}, {0, 1, 2, 7, 3, 4, 5, 6}},
        {"the last row cannot go down", false, 7, std::nullopt, {}},
        {"a member of a member has no neighbour below", false, 5, std::nullopt, {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const std::optional<Move> move =
            c.up ? GroupingBlocks::MoveUp(kLevels, c.row) : GroupingBlocks::MoveDown(kLevels, c.row);
        EXPECT_EQ(move, c.move);
        if (move) {
            EXPECT_EQ(GroupingBlocks::OrderAfter(static_cast<int>(kLevels.size()), *move), c.after);
        }
    }
}

// A move and the move back give the first order again.
TEST(GroupingBlocksTest, AGroupMovedDownThenUpIsWhereItWas) {
    const std::optional<Move> down = GroupingBlocks::MoveDown(kLevels, 0);
    ASSERT_TRUE(down);
    const std::vector<int> once = GroupingBlocks::OrderAfter(8, *down);
    std::vector<int> levels;
    for (int row : once)
        levels.push_back(kLevels[static_cast<std::size_t>(row)]);
    const std::optional<Move> up = GroupingBlocks::MoveUp(levels, down->to);
    ASSERT_TRUE(up);
    std::vector<int> twice;
    for (int position : GroupingBlocks::OrderAfter(8, *up))
        twice.push_back(once[static_cast<std::size_t>(position)]);
    EXPECT_EQ(twice, (std::vector<int>{0, 1, 2, 3, 4, 5, 6, 7}));
}

TEST(GroupingBlocksTest, SortsOrderTheGroupsAndTheMembersWithinEachGroup) {
    struct Case {
        const char* what;
        std::vector<int> levels;
        std::vector<double> counts; // larger first
        std::vector<int> order;
    };
    const std::vector<Case> cases = {
        // Groups by count (G2 50, G1 30, M 5); in G2, e 35 before c 15 (which keeps d); in G1,
        // b 20 before a 10.
        {"two levels and a member's member", kLevels, {30, 10, 20, 50, 15, 15, 35, 5}, {3, 6, 4, 5, 0, 2, 1, 7}},
        {"equal counts keep the list's order", {0, 1, 1, 0}, {7, 2, 2, 7}, {0, 1, 2, 3}},
        // A member's count larger than another group's never takes it out of its group.
        {"members never leave their group", {0, 1, 0, 1}, {10, 9, 20, 1}, {2, 3, 0, 1}},
        // Under one member: its members compared among themselves only, each with its own.
        {"three levels", {0, 1, 2, 3, 2, 3, 3}, {0, 0, 1, 1, 9, 2, 8}, {0, 1, 4, 6, 5, 2, 3}},
        // Rows above every top entry stand at the top with the top entries.
        {"a member before any group", {1, 0, 1}, {1, 5, 3}, {1, 2, 0}},
        {"no row", {}, {}, {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const auto larger = [&c](int a, int b) {
            return c.counts[static_cast<std::size_t>(a)] > c.counts[static_cast<std::size_t>(b)];
        };
        EXPECT_EQ(GroupingBlocks::HierarchicalOrder(c.levels, larger), c.order);
    }
}

} // namespace
