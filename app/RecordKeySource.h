#pragma once

#include <string>

#include "app/RecordKeys.h"

class CQuestionNiveau;

// Where a level finds its record keys: the response tables or the inverted files. The survey is
// given one (the data access) and its levels read through it when they count their records.
class CRecordKeySource {
public:
    virtual ~CRecordKeySource() = default;

    // Fills `keys` with every record key of the level; false with the reason in `error`.
    virtual bool ReadRecordKeys(const CQuestionNiveau& level, int levelIndex, CRecordKeys& keys,
                                std::string& error) = 0;

protected:
    CRecordKeySource() = default;
    CRecordKeySource(const CRecordKeySource&) = default;
    CRecordKeySource& operator=(const CRecordKeySource&) = default;
};
