#pragma once

#include <cstdint>
#include <memory>
#include <set>
#include <string>
#include <string_view>
#include <vector>

#include "app/RecordKeySource.h"
#include "platform/db/Value.h"

#include "platform/db/FieldType.h"

namespace db {
class Database;
class ForwardScan;
} // namespace db

// One walk of one response table "VEL Reponse%d" in "PrimaryKey" order that serves many readers:
// each reader asks for the fields it needs, then every record is handed to every reader in turn.
// Reading the answers of all the questions that a table holds therefore costs one walk of it, and
// the walk selects only the key fields and the fields asked for.
//
//     ResponseTableScan scan(database, 2);
//     const int age = scan.AddField("51;1");     // -1 when the table has no such field
//     scan.AddReader(reader);                    // a ResponseTableScan::Reader of yours
//     scan.Run();                                // reader.Read(record) for every record
//
// Inside Read, the record gives its key fields ("Cle1" .. as many as the table has) and the
// values of the fields by the handles AddField gave. Database errors raise db::DbException.
class ResponseTableScan {
public:
    // The record being handed out: valid during the Read call only.
    class Record {
    public:
        // The table's key fields "Cle1" .. "Cle<KeyCount()>", read for every record.
        int KeyCount() const { return static_cast<int>(m_keys.size()); }
        // "Cle<position>", position from 1 to KeyCount() (Run refuses a record whose key is not a
        // whole number of 32 bits).
        std::int32_t Key(int position) const { return m_keys[static_cast<std::size_t>(position - 1)]; }
        // Key fields 1 .. KeyCount(), in order.
        const std::int32_t* Keys() const { return m_keys.data(); }

        // The value of a field asked for with AddField, typed by the field's type.
        db::Value Value(int field) const;
        // The same value as the file holds it, before the conversion to the field's type (which
        // would round a 1.6 found in a whole-number field).
        db::Value StoredValue(int field) const;
        // The record's position in the walk, from 0: readers that share work per record (such as
        // the row of a level) recognise a new record by it.
        long long Number() const { return m_number; }

    private:
        friend class ResponseTableScan;
        explicit Record(const db::ForwardScan& row) : m_row(row) {}

        const db::ForwardScan& m_row;
        std::vector<std::int32_t> m_keys;
        long long m_number = -1;
    };

    // What wants the records of a table.
    class Reader {
    public:
        virtual ~Reader() = default;
        virtual void Read(const Record& record) = 0;

    protected:
        Reader() = default;
        Reader(const Reader&) = default;
        Reader& operator=(const Reader&) = default;
    };

    // Finds the row of a record among a level's records (rows numbered from 0 in key order) from
    // the record's first keys. The table's records come in key order too, so the search walks
    // forward through the level alongside the table; a key that goes backwards (an unusual
    // table) is found by a binary search instead.
    class LevelRows {
    public:
        // `keyLength` keys make the level's key (its depth + 1); the set's keys have that length.
        LevelRows(const CRecordKeys& records, int keyLength);

        // The row of the level record whose key is keys[0 .. keyLength); -1 when there is none.
        int Find(const std::int32_t* keys);

    private:
        int Compare(std::size_t row, const std::int32_t* keys) const;
        int SearchSorted(const std::int32_t* keys) const;

        const CRecordKeys& m_records;
        std::size_t m_nextRow = 0;
        int m_keyLength = 0;
        RecordKey m_lastKey;
        bool m_started = false;
    };

    // Opens the table's description; raises db::DbException when the table does not exist.
    ResponseTableScan(db::Database& database, int tableNumber);
    ~ResponseTableScan();
    ResponseTableScan(const ResponseTableScan&) = delete;
    ResponseTableScan& operator=(const ResponseTableScan&) = delete;

    int TableNumber() const { return m_tableNumber; }
    const std::string& TableName() const { return m_tableName; }
    // The count of consecutive key fields from "Cle1" on: the depth of the table's level + 1.
    int KeyFieldCount() const { return static_cast<int>(m_keyFields.size()); }
    bool HasField(std::string_view name) const;

    // Asks for a field (before Run); answers its handle, the same for a field asked twice, or -1
    // when the table has no such field.
    int AddField(std::string_view name);
    // Adds a reader (before Run); it must outlive Run.
    void AddReader(Reader& reader);
    int ReaderCount() const { return static_cast<int>(m_readers.size()); }

    // Walks the table once in "PrimaryKey" order, handing each record to every reader in the
    // order they were added. A key that is not a whole number of 32 bits throws db::DbException.
    void Run();

private:
    void ReadKeys(const db::ForwardScan& row, Record& record) const;
    std::int32_t KeyOf(const db::Value& value, std::size_t position, long long record) const;
    const db::FieldInfo* FindTableField(std::string_view name) const;

    db::Database& m_database;
    int m_tableNumber = 0;
    std::string m_tableName;
    std::vector<db::FieldInfo> m_tableFields;
    std::vector<std::string> m_keyFields;
    std::vector<db::FieldInfo> m_fields; // asked for, in handle order
    std::vector<Reader*> m_readers;
};
