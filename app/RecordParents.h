#pragma once

#include <set>
#include <vector>

#include "app/RecordKeySource.h"

// For each record of a level (in key order), the row of its parent record among the records of
// an ancestor level: the one whose key is a prefix of its key; -1 for a record without one. One
// ordered pass over both sets. Matching by key rather than by counts means a record without a
// parent shifts nothing after it.
std::vector<int> ParentRowsByKeyPrefix(const CRecordKeys& records, const CRecordKeys& parents);

// The records of each parent row as one range [first, end) of record rows: the children of a
// parent are contiguous in key order. A parent without children has first == end.
struct ChildRange {
    int first = 0;
    int end = 0;
};
std::vector<ChildRange> ChildRangesOfParents(const std::vector<int>& parentRows, int parentCount);
