#include "platform/db/Transaction.h"

#include "platform/db/Database.h"
#include "platform/db/DbException.h"
#include "platform/db/Statement.h"

#include <sqlite3.h>

namespace db {

namespace {

constexpr const char* kSavepoint = "\"nested write\"";

void run(sqlite3* connection, const std::string& sql, const std::string& operation) {
    Statement statement(connection, sql, operation);
    statement.execute();
}

} // namespace

Transaction::Transaction(Database& database)
    : database_(database), nested_(sqlite3_get_autocommit(database.connection()) == 0) {
    // SQLite would begin a write transaction on a read-only connection and fail only at the first
    // write; a write job on a read-only database is refused before it starts.
    if (database_.isReadOnly()) {
        throw DbException("begin transaction", sqlite3_errstr(SQLITE_READONLY), SQLITE_READONLY);
    }
    if (nested_) {
        run(database_.connection(), std::string("SAVEPOINT ") + kSavepoint, "begin transaction");
    } else {
        run(database_.connection(), "BEGIN IMMEDIATE", "begin transaction");
    }
}

Transaction::~Transaction() {
    if (!finished_) {
        rollback();
    }
}

void Transaction::commit() {
    if (finished_) {
        return;
    }
    if (nested_) {
        run(database_.connection(), std::string("RELEASE ") + kSavepoint, "commit transaction");
    } else {
        run(database_.connection(), "COMMIT", "commit transaction");
    }
    finished_ = true;
}

void Transaction::rollback() noexcept {
    finished_ = true;
    sqlite3* connection = database_.connection();
    if (sqlite3_get_autocommit(connection) != 0) {
        return; // SQLite already rolled the whole transaction back after an error.
    }
    if (nested_) {
        const std::string sql = std::string("ROLLBACK TO ") + kSavepoint + "; RELEASE " + kSavepoint;
        sqlite3_exec(connection, sql.c_str(), nullptr, nullptr, nullptr);
    } else {
        sqlite3_exec(connection, "ROLLBACK", nullptr, nullptr, nullptr);
    }
}

} // namespace db
