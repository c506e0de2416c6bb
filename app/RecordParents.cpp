#include "app/RecordParents.h"

#include <algorithm>
#include <cstddef>

namespace {

// -1 when the parent key is before the record's key, 0 when it is a prefix of it, 1 when after.
int CompareParentWithRecord(const RecordKey& parent, const RecordKey& record) {
    const std::size_t length = std::min(parent.size(), record.size());
    for (std::size_t i = 0; i < length; ++i) {
        if (parent[i] < record[i])
            return -1;
        if (parent[i] > record[i])
            return 1;
    }
    return parent.size() <= record.size() ? 0 : 1;
}

} // namespace

std::vector<int> ParentRowsByKeyPrefix(const std::set<RecordKey>& records, const std::set<RecordKey>& parents) {
    std::vector<int> rows(records.size(), -1);
    auto parent = parents.begin();
    int parentRow = 0;
    std::size_t row = 0;
    for (const RecordKey& record : records) {
        while (parent != parents.end()) {
            const int placement = CompareParentWithRecord(*parent, record);
            if (placement < 0) {
                ++parent;
                ++parentRow;
                continue;
            }
            if (placement == 0)
                rows[row] = parentRow;
            break;
        }
        ++row;
    }
    return rows;
}

std::vector<ChildRange> ChildRangesOfParents(const std::vector<int>& parentRows, int parentCount) {
    std::vector<ChildRange> ranges(static_cast<std::size_t>(std::max(parentCount, 0)));
    for (std::size_t row = 0; row < parentRows.size(); ++row) {
        const int parent = parentRows[row];
        if (parent < 0 || parent >= parentCount)
            continue;
        ChildRange& range = ranges[static_cast<std::size_t>(parent)];
        if (range.first == range.end)
            range.first = static_cast<int>(row);
        range.end = static_cast<int>(row) + 1;
    }
    return ranges;
}
