#pragma once

#include "platform/db/FieldType.h"
#include "platform/db/IndexDefinition.h"
#include "platform/db/TableDefinition.h"
#include "platform/db/Value.h"

#include <optional>
#include <string>
#include <string_view>
#include <vector>

struct sqlite3;

namespace db {

// An open database file (a questionnaire ".qes" or the library database): the connection, and
// the table-definition work DAO did through its table and field definitions. The file is opened
// by the constructor and closed by the destructor; every failure raises a DbException carrying
// SQLite's description.
//
// Recordsets and transactions refer to the database they were made on, so a Database is neither
// copied nor moved; hold it by value in a scope or through std::unique_ptr. A connection serves one
// thread at a time (SQLite's locks around every call are left out): the worker threads never
// touch a database.
class Database {
public:
    enum class Access { ReadOnly, ReadWrite };
    enum class Creation { MustExist, CreateIfMissing };

    // Opens the file and reads its schema once, so that a file that is not a database or is
    // locked by another program is refused here, with SQLite's description. Read-only never
    // writes to the file (no journal either). Read-write on a file that cannot be written is
    // refused rather than opened read-only. CreateIfMissing applies to read-write only.
    Database(std::string path, Access access, Creation creation = Creation::MustExist);
    ~Database();
    Database(const Database&) = delete;
    Database& operator=(const Database&) = delete;

    const std::string& path() const { return path_; }
    bool isReadOnly() const { return access_ == Access::ReadOnly; }

    // Whether a table has exactly this name (byte comparison, so case counts).
    bool tableExists(std::string_view table) const;
    // Table names in creation order; SQLite's own tables are left out.
    std::vector<std::string> tables() const;

    // The fields of a table in order; empty when the table does not exist.
    std::vector<FieldInfo> fields(std::string_view table) const;
    // One field; none when the table or the field does not exist. Field names compare as SQLite
    // compares them (ASCII letters without regard to case).
    std::optional<FieldInfo> field(std::string_view table, std::string_view field) const;
    bool fieldExists(std::string_view table, std::string_view field) const;
    std::optional<FieldType> fieldType(std::string_view table, std::string_view field) const;
    int fieldCount(std::string_view table) const;
    // SELECT count(*): raises when the table does not exist.
    long long rowCount(std::string_view table) const;
    // The field's largest value as SQLite orders values (numbers, then texts, then blobs), as
    // stored; Null for an empty table. Found through an index of the field when there is one.
    Value largestValue(std::string_view table, std::string_view field) const;

    // Creates the table, its fields and its indexes, all or nothing.
    void createTable(const TableDefinition& definition);
    // Adds a field to an existing table; an AutoNumber field can only be created with its table.
    void addField(std::string_view table, const FieldDefinition& definition);
    // Deletes a field and its data. A field that is part of an index cannot be deleted.
    void dropField(std::string_view table, std::string_view field);
    void createIndex(std::string_view table, const IndexDefinition& definition);
    // The indexes of a table that this layer created, in name order.
    std::vector<IndexInfo> indexes(std::string_view table) const;
    std::optional<IndexInfo> index(std::string_view table, std::string_view name) const;

    // Keeps at most this many pages of the file in this connection's memory: a connection that walks
    // an index once needs only the pages on its path, and every page more is memory to fault in.
    void setCachePages(int pages);

    // Whether this connection has changed the file: a record added, changed or deleted, or a
    // table, field or index created or deleted (committed or not).
    bool hasWritten() const;

    // A number that changes when another connection (of this process or another) has committed to
    // the file since this connection last read it (SQLite's data_version).
    long long dataVersion() const;
    // Whether the file is in write-ahead-log mode (which another program may have set): a read
    // lock then keeps no writer from committing.
    bool isWriteAheadLog() const;
    // How long a statement of this connection waits for another program's lock before failing
    // with "database is locked"; 2 seconds unless set.
    void setBusyTimeout(int milliseconds);
    // Whether this process may write the file: the file and its folder (where its journal goes)
    // can both be written.
    static bool isWritable(const std::string& path);
    // The commits made so far by the connections of this process that were opened for writing.
    static unsigned long long commitsInThisProcess();

private:
    friend class ForwardScan;
    friend class ReadTransaction;
    friend class Recordset;
    friend class Transaction;

    sqlite3* connection() const { return connection_; }
    void openConnection(Creation creation);
    void refuseWriteProtectedFile();
    void readSchema();
    void execute(std::string_view sql, std::string operation) const;

    std::string path_;
    Access access_;
    sqlite3* connection_ = nullptr;
    bool schemaChanged_ = false;
};

} // namespace db
