#include "platform/db/ReadTransaction.h"

#include "platform/db/Database.h"
#include "platform/db/Statement.h"

#include <sqlite3.h>

namespace db {

ReadTransaction::ReadTransaction(Database& database) : database_(database) {
    sqlite3* connection = database_.connection();
    if (sqlite3_get_autocommit(connection) == 0)
        return;
    Statement begin(connection, "BEGIN", "begin read");
    begin.execute();
    began_ = true;
    try {
        // A deferred transaction takes no lock until it reads: reading now fixes the state.
        Statement probe(connection, "SELECT count(*) FROM sqlite_master", "begin read");
        probe.step();
        probe.reset();
    } catch (...) {
        sqlite3_exec(connection, "ROLLBACK", nullptr, nullptr, nullptr);
        throw;
    }
}

ReadTransaction::~ReadTransaction() {
    if (began_ && sqlite3_get_autocommit(database_.connection()) == 0)
        sqlite3_exec(database_.connection(), "COMMIT", nullptr, nullptr, nullptr);
}

} // namespace db
