#pragma once

#include "platform/db/FieldType.h"
#include "platform/db/Value.h"

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace db {
class Database;
class Recordset;
} // namespace db
class CQuestionnaire;

namespace qesbuild {

// Adds the records of one level (the interviews, or the iterations of a loop) to the response
// tables of a questionnaire file whose structure is written: each record goes into every table
// of its level, with its keys, and each named column into the table that holds its field.
class RecordWriter {
public:
    // `columns` are field names: "Cle1" .. "Cle<k>" (all required), "Ordre" (loops), the
    // interview fields (interviews only) and answer fields "code;order" of the level's questions.
    // Throws std::invalid_argument naming a column that does not belong to the level, or the
    // loop that has no level.
    RecordWriter(db::Database& database, const CQuestionnaire& questionnaire,
                 std::optional<std::int32_t> loopCode, const std::vector<std::string>& columns);
    ~RecordWriter();
    RecordWriter(const RecordWriter&) = delete;
    RecordWriter& operator=(const RecordWriter&) = delete;

    int keyCount() const { return keyCount_; }
    std::size_t columnCount() const { return columns_.size(); }
    db::FieldType columnType(std::size_t column) const { return columns_[column].type; }

    // One value per column, Null for an absent value. Keys must not be Null. Database errors
    // (a key given twice) raise db::DbException.
    void Insert(const std::vector<db::Value>& row);

private:
    struct Column {
        std::string name;
        db::FieldType type = db::FieldType::Long;
        std::size_t table = 0; // index in tables_; keys go to every table
        int field = -1;        // field number in that table's recordset
        int keyPosition = 0;   // 1 .. k for a key column
    };
    struct Table {
        int number = 0;
        std::unique_ptr<db::Recordset> records;
        std::vector<int> keyFields; // field numbers of Cle1 .. Clek
    };

    std::vector<Table> tables_;
    std::vector<Column> columns_;
    int keyCount_ = 1;
};

} // namespace qesbuild
