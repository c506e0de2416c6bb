#pragma once

#include "platform/db/FieldType.h"
#include "platform/db/Value.h"

#include <optional>
#include <string>
#include <string_view>

struct sqlite3;
struct sqlite3_stmt;

namespace db {

// One prepared SQL statement, finalized by its destructor. The layer's classes build every query
// through it: values are always bound, never written into the SQL text. Failures raise a
// DbException with SQLite's description and the operation given at construction.
class Statement {
public:
    Statement(sqlite3* connection, std::string_view sql, std::string operation);
    ~Statement();
    Statement(const Statement&) = delete;
    Statement& operator=(const Statement&) = delete;

    // Parameters count from 1, as in SQL.
    void bind(int parameter, const Value& value);
    void bindInteger(int parameter, long long number);
    void bindText(int parameter, std::string_view text);

    // Runs to the next row: true when a row is there, false when the statement is done (it is
    // then reset, so it holds no lock).
    bool step();
    // Runs a statement that returns no row.
    void execute();
    // Makes the statement ready to run again; bindings are kept.
    void reset();

    int columnCount() const;
    bool isNull(int column) const;
    long long integerAt(int column) const;
    std::string textAt(int column) const;
    // The column read as a value of the field type: whole numbers for the integer types, doubles
    // for the floating ones, booleans, texts; by storage class for Other.
    Value valueAt(int column, FieldType type) const;
    // The column as SQLite holds it, before any conversion to a field type: Null, a whole
    // number, a double or a text (a blob reads as its bytes).
    Value storedValueAt(int column) const;
    // The column when SQLite holds it as a whole number; nothing for any other storage class.
    // Walks of millions of keys read them here without building a Value per row.
    std::optional<long long> storedIntegerAt(int column) const;

    const std::string& operation() const { return operation_; }

private:
    [[noreturn]] void fail(int code) const;

    sqlite3* connection_;
    sqlite3_stmt* statement_ = nullptr;
    std::string operation_;
};

} // namespace db
