#include "app/ParallelKeyScan.h"

#include <atomic>
#include <cstdint>
#include <limits>
#include <optional>
#include <vector>

#include <sqlite3.h>

#include "app/WorkerPool.h"
#include "platform/db/Database.h"
#include "platform/db/DbException.h"
#include "platform/db/ForwardScan.h"
#include "platform/db/ReadTransaction.h"
#include "platform/db/SqlNames.h"

namespace {

constexpr const char* kPrimaryKey = "PrimaryKey";
// Below this span of first keys a walk alone costs less than opening a connection per thread.
constexpr long long kSmallestSpan = 1 << 16;
// Pieces per thread, taken in turn by the threads as they become free.
constexpr int kPiecesPerThread = 4;
// A piece's connection walks its range once: a few pages of cache are all it needs, and memory
// each thread would fault in is what made the threads queue on the system.
constexpr int kPiecePages = 32;

std::string KeyFieldName(int position) {
    return "Cle" + std::to_string(position);
}

bool IsKey(std::optional<long long> key) {
    return key && *key >= std::numeric_limits<std::int32_t>::min() && *key <= std::numeric_limits<std::int32_t>::max();
}

// Whether the index orders by "Cle1" .. "Cle<keyLength>", all ascending, and nothing else.
bool IndexIsTheKey(const db::Database& database, const std::string& table, int keyLength) {
    const std::optional<db::IndexInfo> index = database.index(table, kPrimaryKey);
    if (!index || index->fields.size() != static_cast<std::size_t>(keyLength))
        return false;
    for (int i = 0; i < keyLength; ++i) {
        const db::IndexField& field = index->fields[static_cast<std::size_t>(i)];
        if (field.descending || !db::sameIdentifier(field.name, KeyFieldName(i + 1)))
            return false;
    }
    return true;
}

std::vector<db::FieldInfo> KeyFields(int keyLength) {
    std::vector<db::FieldInfo> fields;
    for (int i = 1; i <= keyLength; ++i)
        fields.push_back({KeyFieldName(i), db::FieldType::Long, 0, {}});
    return fields;
}

// The first keys of the first and last records in index order, when both are whole numbers of
// 32 bits: a Null, a double or a text sorts before or after every whole number, so every record
// then has a first key in that range.
std::optional<db::ForwardScan::Range> FirstKeySpan(db::Database& database, const std::string& table) {
    db::ForwardScan first(database, table, KeyFields(1), kPrimaryKey);
    if (!first.next())
        return std::nullopt;
    const std::optional<long long> low = first.storedInteger(0);
    const db::Value largest = database.largestValue(table, KeyFieldName(1));
    const std::optional<long long> high =
        largest.kind() == db::Value::Kind::Integer ? std::optional<long long>(largest.toInteger()) : std::nullopt;
    if (!IsKey(low) || !IsKey(high) || *high < *low)
        return std::nullopt;
    return db::ForwardScan::Range{*low, *high};
}

// The keys of one piece, strictly increasing; false at the first key that is not plainly regular.
bool ReadPiece(db::Database& database, const std::string& table, int keyLength, db::ForwardScan::Range range,
               CRecordKeys& keys) {
    db::ForwardScan scan(database, table, KeyFields(keyLength), kPrimaryKey, range);
    std::vector<std::int32_t> key(static_cast<std::size_t>(keyLength));
    while (scan.next()) {
        for (int k = 0; k < keyLength; ++k) {
            const std::optional<long long> value = scan.storedInteger(k);
            if (!IsKey(value))
                return false;
            key[static_cast<std::size_t>(k)] = static_cast<std::int32_t>(*value);
        }
        keys.Append(key.data());
        if (!keys.LastInOrder())
            return false;
    }
    return true;
}

} // namespace

bool ParallelKeyScan::Read(db::Database& database, const std::string& table, int keyLength, CRecordKeys& keys,
                           WorkerPool& pool) {
    keys.Reset(keyLength);
    const int pieces = static_cast<int>(pool.ThreadCount()) * kPiecesPerThread;
    if (pool.ThreadCount() < 2 || keyLength < 1 || !database.isReadOnly() || sqlite3_threadsafe() == 0 ||
        !IndexIsTheKey(database, table, keyLength))
        return false;
    const std::optional<db::ForwardScan::Range> span = FirstKeySpan(database, table);
    if (!span || span->high - span->low < kSmallestSpan)
        return false;

    const long long width = span->high - span->low + 1;
    std::vector<CRecordKeys> read(static_cast<std::size_t>(pieces), CRecordKeys(keyLength));
    std::vector<char> clean(static_cast<std::size_t>(pieces), 0);
    // One connection per thread, which takes the next piece left until none is: the pieces are
    // not tied to threads, so a thread the system holds up leaves its share to the others.
    std::atomic<int> nextPiece{0};
    pool.Run(static_cast<int>(pool.ThreadCount()), [&](int) {
        try {
            db::Database connection(database.path(), db::Database::Access::ReadOnly);
            connection.setCachePages(kPiecePages);
            // A writer waiting to commit keeps new readers out: the walk alone is then quicker
            // than waiting for it to give up.
            connection.setBusyTimeout(0);
            const db::ReadTransaction oneRead(connection);
            for (int piece = nextPiece++; piece < pieces; piece = nextPiece++) {
                const db::ForwardScan::Range range{span->low + width * piece / pieces,
                                                   span->low + width * (piece + 1) / pieces - 1};
                const auto slot = static_cast<std::size_t>(piece);
                clean[slot] = ReadPiece(connection, table, keyLength, range, read[slot]) ? 1 : 0;
            }
        } catch (const db::DbException&) {
            // A piece left unread stays unclean: the walk alone will say what went wrong.
        }
    });
    for (const char pieceClean : clean)
        if (pieceClean == 0)
            return false;
    std::size_t count = 0;
    for (const CRecordKeys& piece : read)
        count += piece.size();
    keys.Reserve(count);
    for (CRecordKeys& piece : read) {
        keys.Append(piece);
        piece = CRecordKeys();
    }
    return true;
}
