#include "app/RecordParents.h"

#include <algorithm>
#include <cstddef>

namespace {

// -1 when the parent key is before the record's key, 0 when it is a prefix of it, 1 when after.
int CompareParentWithRecord(const std::int32_t* parent, int parentLength, const std::int32_t* record,
                            int recordLength) {
    const int length = std::min(parentLength, recordLength);
    for (int i = 0; i < length; ++i) {
        if (parent[i] < record[i])
            return -1;
        if (parent[i] > record[i])
            return 1;
    }
    return parentLength <= recordLength ? 0 : 1;
}

} // namespace

std::vector<int> ParentRowsByKeyPrefix(const CRecordKeys& records, const CRecordKeys& parents) {
    std::vector<int> rows(records.size(), -1);
    std::size_t parentRow = 0;
    for (std::size_t row = 0; row < records.size(); ++row) {
        while (parentRow < parents.size()) {
            const int placement = CompareParentWithRecord(parents.Key(parentRow), parents.KeyLength(),
                                                          records.Key(row), records.KeyLength());
            if (placement < 0) {
                ++parentRow;
                continue;
            }
            if (placement == 0)
                rows[row] = static_cast<int>(parentRow);
            break;
        }
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
