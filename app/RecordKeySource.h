#pragma once

#include <cstdint>
#include <set>
#include <string>
#include <vector>

class CQuestionNiveau;

// The key of one record of a level: its loop keys, outermost first. The key of a record's parent
// is a prefix of its own.
using RecordKey = std::vector<std::int32_t>;

// Where a level finds its record keys: the response tables or the inverted files. The survey is
// given one (the data access) and its levels read through it when they count their records.
class CRecordKeySource {
public:
    virtual ~CRecordKeySource() = default;

    // Fills `keys` with every record key of the level; false with the reason in `error`.
    virtual bool ReadRecordKeys(const CQuestionNiveau& level, int levelIndex, std::set<RecordKey>& keys,
                                std::string& error) = 0;

protected:
    CRecordKeySource() = default;
    CRecordKeySource(const CRecordKeySource&) = default;
    CRecordKeySource& operator=(const CRecordKeySource&) = default;
};
