#pragma once

#include <functional>
#include <optional>
#include <vector>

// The nodes of a grouping shown as a list, one row per node in the grouping's order, each row
// with its group level (0 a top entry, 1 an entry under it, and so on). A block is a row with the
// rows that follow it at a deeper level: a group and its members. The list moves and sorts whole
// blocks, so that a member never leaves its group and the rows always read as the grouping's tree.
namespace GroupingBlocks {

// One move of a block: its first row and its number of rows before the move, and the position of
// its first row after it.
struct Move {
    int first;
    int size;
    int to;

    bool operator==(const Move&) const = default;
};

// The rows of the block that starts at `row` (0 out of range).
int BlockSize(const std::vector<int>& levels, int row);
// The block of `row` taken above the previous row of its level. None for the first row, and when
// a row of a lower level (its group) comes before one of its level.
std::optional<Move> MoveUp(const std::vector<int>& levels, int row);
// The block of `row` taken below the block of the next row of its level. None for the last row,
// and when a row of a lower level, or the end, comes before one of its level.
std::optional<Move> MoveDown(const std::vector<int>& levels, int row);
// The rows after a move: for each position, the row (before the move) it shows.
std::vector<int> OrderAfter(int rowCount, const Move& move);

// The rows sorted within their groups: the rows directly under one row (and, at the top, the rows
// under no row) are ordered by `before`, equal ones keeping their order, and each row is followed
// by its own block sorted the same way. The answer gives, for each new position, the row it shows.
std::vector<int> HierarchicalOrder(const std::vector<int>& levels, const std::function<bool(int, int)>& before);

} // namespace GroupingBlocks
