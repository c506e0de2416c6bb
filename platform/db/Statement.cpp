#include "platform/db/Statement.h"

#include "platform/db/DbException.h"

#include <sqlite3.h>
#include <utility>

namespace db {

namespace {

Value storedValue(sqlite3_stmt* statement, int column) {
    switch (sqlite3_column_type(statement, column)) {
    case SQLITE_NULL:
        return {};
    case SQLITE_INTEGER:
        return Value(static_cast<long long>(sqlite3_column_int64(statement, column)));
    case SQLITE_FLOAT:
        return Value(sqlite3_column_double(statement, column));
    default: {
        const auto* text = reinterpret_cast<const char*>(sqlite3_column_text(statement, column));
        const int size = sqlite3_column_bytes(statement, column);
        return Value(std::string(text != nullptr ? text : "", static_cast<std::size_t>(size)));
    }
    }
}

bool isNumberStorage(int storage) {
    return storage == SQLITE_INTEGER || storage == SQLITE_FLOAT;
}

} // namespace

Statement::Statement(sqlite3* connection, std::string_view sql, std::string operation)
    : connection_(connection), operation_(std::move(operation)) {
    const int code =
        sqlite3_prepare_v2(connection_, sql.data(), static_cast<int>(sql.size()), &statement_, nullptr);
    if (code != SQLITE_OK) {
        fail(code);
    }
}

Statement::~Statement() {
    sqlite3_finalize(statement_);
}

void Statement::fail(int code) const {
    throw DbException(operation_, sqlite3_errmsg(connection_),
                      code == SQLITE_OK ? sqlite3_extended_errcode(connection_) : code);
}

void Statement::bind(int parameter, const Value& value) {
    int code = SQLITE_OK;
    switch (value.kind()) {
    case Value::Kind::Null:
        code = sqlite3_bind_null(statement_, parameter);
        break;
    case Value::Kind::Integer:
    case Value::Kind::Boolean:
        code = sqlite3_bind_int64(statement_, parameter, value.toInteger());
        break;
    case Value::Kind::Double:
        code = sqlite3_bind_double(statement_, parameter, value.toDouble());
        break;
    case Value::Kind::Text: {
        const std::string text = value.toText();
        code = sqlite3_bind_text64(statement_, parameter, text.data(), text.size(), SQLITE_TRANSIENT,
                                   SQLITE_UTF8);
        break;
    }
    }
    if (code != SQLITE_OK) {
        fail(code);
    }
}

void Statement::bindInteger(int parameter, long long number) {
    const int code = sqlite3_bind_int64(statement_, parameter, number);
    if (code != SQLITE_OK) {
        fail(code);
    }
}

void Statement::bindText(int parameter, std::string_view text) {
    const int code =
        sqlite3_bind_text64(statement_, parameter, text.data(), text.size(), SQLITE_TRANSIENT, SQLITE_UTF8);
    if (code != SQLITE_OK) {
        fail(code);
    }
}

bool Statement::step() {
    const int code = sqlite3_step(statement_);
    if (code == SQLITE_ROW) {
        return true;
    }
    if (code == SQLITE_DONE) {
        sqlite3_reset(statement_);
        return false;
    }
    // The message must be read before the reset, which may replace it.
    const std::string description = sqlite3_errmsg(connection_);
    const int extended = sqlite3_extended_errcode(connection_);
    sqlite3_reset(statement_);
    throw DbException(operation_, description, extended);
}

void Statement::execute() {
    while (step()) {
    }
}

void Statement::reset() {
    sqlite3_reset(statement_);
}

int Statement::columnCount() const {
    return sqlite3_column_count(statement_);
}

bool Statement::isNull(int column) const {
    return sqlite3_column_type(statement_, column) == SQLITE_NULL;
}

long long Statement::integerAt(int column) const {
    return sqlite3_column_int64(statement_, column);
}

std::optional<long long> Statement::storedIntegerAt(int column) const {
    if (sqlite3_column_type(statement_, column) != SQLITE_INTEGER) {
        return std::nullopt;
    }
    return sqlite3_column_int64(statement_, column);
}

std::string Statement::textAt(int column) const {
    const auto* text = reinterpret_cast<const char*>(sqlite3_column_text(statement_, column));
    const int size = sqlite3_column_bytes(statement_, column);
    return std::string(text != nullptr ? text : "", static_cast<std::size_t>(size));
}

Value Statement::storedValueAt(int column) const {
    return storedValue(statement_, column);
}

Value Statement::valueAt(int column, FieldType type) const {
    const int storage = sqlite3_column_type(statement_, column);
    if (storage == SQLITE_NULL) {
        return {};
    }
    if (type == FieldType::Text || type == FieldType::Memo) {
        return Value(textAt(column));
    }
    if (!isNumberStorage(storage) || type == FieldType::Other) {
        return storedValue(statement_, column);
    }
    if (type == FieldType::Boolean) {
        return Value(sqlite3_column_double(statement_, column) != 0.0);
    }
    if (isFloatingType(type)) {
        return Value(sqlite3_column_double(statement_, column));
    }
    if (storage == SQLITE_FLOAT) {
        return Value(Value(sqlite3_column_double(statement_, column)).toInteger());
    }
    return Value(static_cast<long long>(sqlite3_column_int64(statement_, column)));
}

} // namespace db
