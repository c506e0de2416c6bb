#pragma once

#include <string>

#include "app/RecordKeys.h"

class WorkerPool;

namespace db {
class Database;
} // namespace db

// Reads the keys of a large response table with every worker thread: the range of the first key
// is cut into a few pieces per thread, each piece walked over the "PrimaryKey" index by a
// connection of its own, and the pieces joined in order. Opening a survey of a million interviews
// without its inverted files reads its interview keys this way.
//
// The caller makes sure that every connection reads one committed state meanwhile (the survey's
// CommittedState held); each thread's connection reads its pieces in one read transaction.
//
// It is a shortcut only: whenever the table is not plainly regular (keys that are not whole
// numbers of 32 bits, a Null or repeated key, an index of other fields or directions, a database
// open for writing, a small table, one thread) it reads nothing and answers false, and the caller
// walks the table alone, which orders what must be ordered and names what is wrong.
class ParallelKeyScan {
public:
    // The keys of the table's records, `keyLength` values each ("Cle1" ..), in key order, read in
    // pieces by the threads of the pool; false with `keys` empty when the shortcut does not apply.
    static bool Read(db::Database& database, const std::string& table, int keyLength, CRecordKeys& keys,
                     WorkerPool& pool);
};
