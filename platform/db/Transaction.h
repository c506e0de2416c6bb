#pragma once

#include <string>

namespace db {

class Database;

// One write job: everything done between construction and commit() lands together, or not at
// all. The destructor rolls back what was not committed, so an exception half-way leaves the
// database as it was.
//
// The outermost transaction takes the write lock at once (BEGIN IMMEDIATE): a file that another
// program is writing gives "database is locked" here, before any work is done. A transaction
// begun while another is open nests inside it (a savepoint): its rollback undoes only its own
// work, and its commit lands with the outer one.
class Transaction {
public:
    explicit Transaction(Database& database);
    ~Transaction();
    Transaction(const Transaction&) = delete;
    Transaction& operator=(const Transaction&) = delete;

    void commit();

private:
    void rollback() noexcept;

    Database& database_;
    bool nested_ = false;
    bool finished_ = false;
};

} // namespace db
