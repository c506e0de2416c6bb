#pragma once

#include "platform/db/FieldType.h"
#include "platform/db/Value.h"

#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace db {

class Database;
class Statement;

// A read-only walk of some fields of a table, once, in the order of one of its indexes: what a
// reader of millions of records that never edits them needs. Unlike a Recordset it selects no row
// id, keeps no position to come back to and builds no Value unless asked, so SQLite walks a
// covering index as fast as it can count it.
//
//     ForwardScan scan(database, "VEL Reponse1", {{"Cle1", FieldType::Long}}, "PrimaryKey");
//     while (scan.next())
//         use(scan.storedInteger(0));
//
// Database errors, an unknown table, field or index, raise DbException.
class ForwardScan {
public:
    // The records whose first index field holds a number from `low` to `high`, both included.
    struct Range {
        long long low = 0;
        long long high = 0;
    };

    ForwardScan(Database& database, const std::string& table, std::vector<FieldInfo> fields,
                const std::string& index, std::optional<Range> range = std::nullopt);
    ~ForwardScan();
    ForwardScan(const ForwardScan&) = delete;
    ForwardScan& operator=(const ForwardScan&) = delete;

    // Moves to the next record (the first at the first call); false at the end.
    bool next();

    // The field at `column` (the position in the list given) of the current record, as SQLite
    // stores it, when that is a whole number; nothing for a Null, a double or a text.
    std::optional<long long> storedInteger(int column) const;
    // The same field as SQLite stores it, before any conversion to its type.
    Value storedValue(int column) const;
    // The same field read as a value of its type.
    Value value(int column) const;

private:
    std::vector<FieldInfo> fields_;
    std::unique_ptr<Statement> statement_;
};

} // namespace db
