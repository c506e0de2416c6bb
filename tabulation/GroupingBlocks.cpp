#include "tabulation/GroupingBlocks.h"

#include <algorithm>
#include <numeric>

namespace GroupingBlocks {

namespace {

std::size_t Index(int value) { return static_cast<std::size_t>(value); }

int RowCount(const std::vector<int>& levels) { return static_cast<int>(levels.size()); }

} // namespace

int BlockSize(const std::vector<int>& levels, int row) {
    if (row < 0 || row >= RowCount(levels))
        return 0;
    int end = row + 1;
    while (end < RowCount(levels) && levels[Index(end)] > levels[Index(row)])
        ++end;
    return end - row;
}

std::optional<Move> MoveUp(const std::vector<int>& levels, int row) {
    if (row <= 0 || row >= RowCount(levels))
        return std::nullopt;
    const int level = levels[Index(row)];
    for (int above = row - 1; above >= 0; --above) {
        if (levels[Index(above)] < level)
            return std::nullopt;
        if (levels[Index(above)] == level)
            return Move{row, BlockSize(levels, row), above};
    }
    return std::nullopt;
}

std::optional<Move> MoveDown(const std::vector<int>& levels, int row) {
    if (row < 0 || row + 1 >= RowCount(levels))
        return std::nullopt;
    const int level = levels[Index(row)];
    for (int below = row + 1; below < RowCount(levels); ++below) {
        if (levels[Index(below)] < level)
            return std::nullopt;
        if (levels[Index(below)] == level)
            return Move{row, BlockSize(levels, row), row + BlockSize(levels, below)};
    }
    return std::nullopt;
}

std::vector<int> OrderAfter(int rowCount, const Move& move) {
    std::vector<int> order(Index(std::max(rowCount, 0)));
    std::iota(order.begin(), order.end(), 0);
    const bool valid = move.size > 0 && move.first >= 0 && move.to >= 0 && move.first + move.size <= rowCount &&
                       move.to + move.size <= rowCount;
    if (!valid)
        return order;
    const auto at = [&order](int position) { return order.begin() + position; };
    if (move.to < move.first)
        std::rotate(at(move.to), at(move.first), at(move.first + move.size));
    else if (move.to > move.first)
        std::rotate(at(move.first), at(move.first + move.size), at(move.to + move.size));
    return order;
}

std::vector<int> HierarchicalOrder(const std::vector<int>& levels, const std::function<bool(int, int)>& before) {
    // The rows directly under each row, and under none (the last entry), in list order: a row's
    // parent is the nearest row above it of a lower level.
    const int count = RowCount(levels);
    std::vector<std::vector<int>> children(Index(count) + 1);
    std::vector<int> open; // the rows that may still receive children, shallowest first
    for (int row = 0; row < count; ++row) {
        while (!open.empty() && levels[Index(open.back())] >= levels[Index(row)])
            open.pop_back();
        children[open.empty() ? Index(count) : Index(open.back())].push_back(row);
        open.push_back(row);
    }
    for (std::vector<int>& siblings : children)
        std::stable_sort(siblings.begin(), siblings.end(), before);
    // Each row, then its block: a depth-first walk kept on a stack of our own.
    std::vector<int> order;
    order.reserve(Index(count));
    std::vector<int> pending(children[Index(count)].rbegin(), children[Index(count)].rend());
    while (!pending.empty()) {
        const int row = pending.back();
        pending.pop_back();
        order.push_back(row);
        const std::vector<int>& under = children[Index(row)];
        pending.insert(pending.end(), under.rbegin(), under.rend());
    }
    return order;
}

} // namespace GroupingBlocks
