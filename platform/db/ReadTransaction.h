#pragma once

namespace db {

class Database;

// One committed state of the file for as long as it lives: a read transaction begun at once (the
// file's read lock taken by reading its schema), so that every statement of this connection
// meanwhile reads the state of that moment, and ended by the destructor. Nothing is written.
//
// In the file's default rollback-journal mode, the read lock it holds also keeps every other
// program from committing: the other connections of this process then read the same state.
// Begun on a connection already inside a transaction, it does nothing. The constructor raises a
// DbException when the lock cannot be taken (a file another program holds locked for longer
// than the busy timeout).
class ReadTransaction {
public:
    explicit ReadTransaction(Database& database);
    ~ReadTransaction();
    ReadTransaction(const ReadTransaction&) = delete;
    ReadTransaction& operator=(const ReadTransaction&) = delete;

private:
    Database& database_;
    bool began_ = false;
};

} // namespace db
