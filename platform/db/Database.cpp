#include "platform/db/Database.h"

#include "platform/db/DbException.h"
#include "platform/db/SqlNames.h"
#include "platform/db/Statement.h"
#include "platform/db/Transaction.h"

#include <algorithm>
#include <atomic>
#include <filesystem>
#include <unistd.h>
#include <sqlite3.h>
#include <utility>

namespace db {

namespace {

// Long enough to wait out another program's commit, short enough that a file held locked by
// another program gives "database is locked" rather than a hang.
constexpr int kBusyTimeoutMilliseconds = 2000;

std::string columnDefinition(const FieldDefinition& field, std::string_view operation) {
    std::string sql = quoteIdentifier(field.name, operation);
    if (field.type == FieldType::AutoNumber) {
        return sql + " INTEGER PRIMARY KEY AUTOINCREMENT";
    }
    if (field.type == FieldType::Other) {
        throw DbException(std::string(operation), "the field '" + field.name + "' has no type");
    }
    sql += ' ';
    sql += declaredTypeOf(field.type, field.textSize);
    // Text compares and sorts without regard to the case of ASCII letters, as the program's
    // indexes on labels always did.
    if (field.type == FieldType::Text || field.type == FieldType::Memo) {
        sql += " COLLATE NOCASE";
    }
    return sql;
}

std::string createIndexSql(std::string_view table, const IndexDefinition& index, std::string_view operation) {
    if (index.name.empty() || index.name.find('.') != std::string::npos) {
        throw DbException(std::string(operation), "the index name '" + index.name + "' is not valid");
    }
    if (index.fields.empty()) {
        throw DbException(std::string(operation), "the index '" + index.name + "' has no field");
    }
    std::string sql = (index.unique || index.primary) ? "CREATE UNIQUE INDEX " : "CREATE INDEX ";
    sql += quoteIdentifier(indexSqlName(table, index.name), operation);
    sql += " ON ";
    sql += quoteIdentifier(table, operation);
    sql += " (";
    for (std::size_t i = 0; i < index.fields.size(); ++i) {
        sql += i == 0 ? "" : ", ";
        sql += quoteIdentifier(index.fields[i].name, operation);
        sql += index.fields[i].descending ? " DESC" : " ASC";
    }
    sql += ")";
    return sql;
}

std::atomic<unsigned long long> commitsOfThisProcess{0};

bool folderIsWritable(const std::string& path) {
    std::filesystem::path folder = std::filesystem::path(path).parent_path();
    if (folder.empty())
        folder = ".";
    return ::access(folder.c_str(), W_OK) == 0;
}

int countCommit(void*) {
    commitsOfThisProcess.fetch_add(1, std::memory_order_relaxed);
    return 0;
}

} // namespace

Database::Database(std::string path, Access access, Creation creation)
    : path_(std::move(path)), access_(access) {
    openConnection(creation);
    try {
        if (access_ == Access::ReadWrite) {
            refuseWriteProtectedFile();
        }
        readSchema();
    } catch (...) {
        sqlite3_close_v2(connection_);
        throw;
    }
}

Database::~Database() {
    sqlite3_close_v2(connection_);
}

void Database::openConnection(Creation creation) {
    // SQLite counts every allocation of the process under one lock, for statistics the program
    // never reads: connections walking tables on several threads at once would queue on it. The
    // setting only takes before SQLite's first use, hence once, before the first connection.
    static const int statisticsOff = sqlite3_config(SQLITE_CONFIG_MEMSTATUS, 0);
    (void)statisticsOff;
    int flags = SQLITE_OPEN_READONLY;
    if (access_ == Access::ReadWrite) {
        flags = SQLITE_OPEN_READWRITE | (creation == Creation::CreateIfMissing ? SQLITE_OPEN_CREATE : 0);
    }
    flags |= SQLITE_OPEN_NOMUTEX;
    const int code = sqlite3_open_v2(path_.c_str(), &connection_, flags, nullptr);
    if (code != SQLITE_OK) {
        const std::string description =
            connection_ != nullptr ? sqlite3_errmsg(connection_) : sqlite3_errstr(code);
        sqlite3_close_v2(connection_);
        connection_ = nullptr;
        throw DbException("open " + path_, description, code);
    }
    sqlite3_extended_result_codes(connection_, 1);
    // Every identifier is double-quoted: a quoted name that matches no column must be an error,
    // not quietly read as a string literal (SQLite's old leniency).
    sqlite3_db_config(connection_, SQLITE_DBCONFIG_DQS_DML, 0, nullptr);
    sqlite3_db_config(connection_, SQLITE_DBCONFIG_DQS_DDL, 0, nullptr);
    sqlite3_busy_timeout(connection_, kBusyTimeoutMilliseconds);
    // A reader told that the file changed under it must know whether this process changed it.
    if (access_ == Access::ReadWrite)
        sqlite3_commit_hook(connection_, &countCommit, nullptr);
}

// SQLite quietly falls back to read-only when the file is write-protected; the program asked to
// write, so it must learn now rather than at its first update.
// A file whose folder cannot be written cannot be either: its journal could not be made beside it.
void Database::refuseWriteProtectedFile() {
    if (sqlite3_db_readonly(connection_, "main") == 1 || !folderIsWritable(path_)) {
        throw DbException("open " + path_, sqlite3_errstr(SQLITE_READONLY), SQLITE_READONLY);
    }
}

// SQLite reads nothing until the first statement: reading the schema now makes a file that is not
// a database, or one locked by another program, fail at opening.
void Database::readSchema() {
    Statement probe(connection_, "SELECT count(*) FROM sqlite_master", "open " + path_);
    probe.step();
    probe.reset();
}

void Database::execute(std::string_view sql, std::string operation) const {
    Statement statement(connection_, sql, std::move(operation));
    statement.execute();
}

bool Database::tableExists(std::string_view table) const {
    Statement statement(connection_, "SELECT 1 FROM sqlite_master WHERE type = 'table' AND name = ?1",
                        "table exists");
    statement.bindText(1, table);
    const bool found = statement.step();
    statement.reset();
    return found;
}

std::vector<std::string> Database::tables() const {
    Statement statement(connection_,
                        "SELECT name FROM sqlite_master WHERE type = 'table' "
                        "AND substr(name, 1, 7) <> 'sqlite_' ORDER BY rowid",
                        "list tables");
    std::vector<std::string> names;
    while (statement.step()) {
        names.push_back(statement.textAt(0));
    }
    return names;
}

std::vector<FieldInfo> Database::fields(std::string_view table) const {
    Statement statement(connection_, "SELECT name, type, pk FROM pragma_table_info(?1) ORDER BY cid",
                        "list fields");
    statement.bindText(1, table);
    std::vector<FieldInfo> result;
    std::vector<bool> keyColumns;
    while (statement.step()) {
        result.push_back(describeColumn(statement.textAt(0), statement.textAt(1), false));
        keyColumns.push_back(statement.integerAt(2) != 0);
    }
    // A lone INTEGER PRIMARY KEY column is the row id: that is how an AutoNumber field is stored.
    if (std::count(keyColumns.begin(), keyColumns.end(), true) == 1) {
        const auto key = std::find(keyColumns.begin(), keyColumns.end(), true) - keyColumns.begin();
        FieldInfo& info = result[static_cast<std::size_t>(key)];
        info = describeColumn(std::move(info.name), info.declaredType, true);
    }
    return result;
}

std::optional<FieldInfo> Database::field(std::string_view table, std::string_view name) const {
    for (FieldInfo& info : fields(table)) {
        if (sameIdentifier(info.name, name)) {
            return std::move(info);
        }
    }
    return std::nullopt;
}

bool Database::fieldExists(std::string_view table, std::string_view name) const {
    return field(table, name).has_value();
}

std::optional<FieldType> Database::fieldType(std::string_view table, std::string_view name) const {
    const auto info = field(table, name);
    return info ? std::optional<FieldType>(info->type) : std::nullopt;
}

int Database::fieldCount(std::string_view table) const {
    return static_cast<int>(fields(table).size());
}

long long Database::rowCount(std::string_view table) const {
    const std::string operation = "count rows";
    Statement statement(connection_, "SELECT count(*) FROM " + quoteIdentifier(table, operation), operation);
    statement.step();
    const long long count = statement.integerAt(0);
    statement.reset();
    return count;
}

Value Database::largestValue(std::string_view table, std::string_view field) const {
    const std::string operation = "largest value";
    Statement statement(connection_,
                        "SELECT max(" + quoteIdentifier(field, operation) + ") FROM " + quoteIdentifier(table, operation),
                        operation);
    statement.step();
    Value largest = statement.storedValueAt(0);
    statement.reset();
    return largest;
}

void Database::setCachePages(int pages) {
    execute("PRAGMA cache_size = " + std::to_string(std::max(pages, 1)), "set cache size");
}

bool Database::hasWritten() const {
    return schemaChanged_ || (connection_ != nullptr && sqlite3_total_changes64(connection_) > 0);
}

long long Database::dataVersion() const {
    Statement statement(connection_, "PRAGMA data_version", "data version");
    statement.step();
    const long long version = statement.integerAt(0);
    statement.reset();
    return version;
}

bool Database::isWriteAheadLog() const {
    Statement statement(connection_, "PRAGMA journal_mode", "journal mode");
    const bool wal = statement.step() && statement.textAt(0) == "wal";
    statement.reset();
    return wal;
}

void Database::setBusyTimeout(int milliseconds) {
    sqlite3_busy_timeout(connection_, milliseconds);
}

bool Database::isWritable(const std::string& path) {
    return ::access(path.c_str(), W_OK) == 0 && folderIsWritable(path);
}

unsigned long long Database::commitsInThisProcess() {
    return commitsOfThisProcess.load(std::memory_order_relaxed);
}

void Database::createTable(const TableDefinition& definition) {
    schemaChanged_ = true;
    const std::string operation = "create table " + definition.name;
    if (definition.fields.empty()) {
        throw DbException(operation, "a table needs at least one field");
    }
    std::string sql = "CREATE TABLE " + quoteIdentifier(definition.name, operation) + " (";
    for (std::size_t i = 0; i < definition.fields.size(); ++i) {
        sql += i == 0 ? "" : ", ";
        sql += columnDefinition(definition.fields[i], operation);
    }
    sql += ")";

    Transaction transaction(*this);
    execute(sql, operation);
    for (const IndexDefinition& index : definition.indexes) {
        execute(createIndexSql(definition.name, index, operation), operation);
    }
    transaction.commit();
}

void Database::addField(std::string_view table, const FieldDefinition& definition) {
    schemaChanged_ = true;
    const std::string operation = "add field " + definition.name;
    if (definition.type == FieldType::AutoNumber) {
        throw DbException(operation, "an AutoNumber field can only be created with its table");
    }
    execute("ALTER TABLE " + quoteIdentifier(table, operation) + " ADD COLUMN " +
                columnDefinition(definition, operation),
            operation);
}

void Database::dropField(std::string_view table, std::string_view field) {
    schemaChanged_ = true;
    const std::string operation = "delete field " + std::string(field);
    execute("ALTER TABLE " + quoteIdentifier(table, operation) + " DROP COLUMN " +
                quoteIdentifier(field, operation),
            operation);
}

void Database::createIndex(std::string_view table, const IndexDefinition& definition) {
    schemaChanged_ = true;
    const std::string operation = "create index " + definition.name;
    execute(createIndexSql(table, definition, operation), operation);
}

std::vector<IndexInfo> Database::indexes(std::string_view table) const {
    const std::string operation = "list indexes";
    Statement list(connection_, "SELECT name, \"unique\" FROM pragma_index_list(?1)", operation);
    Statement columns(connection_,
                      "SELECT name, \"desc\" FROM pragma_index_xinfo(?1) WHERE key = 1 ORDER BY seqno",
                      operation);
    list.bindText(1, table);
    std::vector<IndexInfo> result;
    while (list.step()) {
        const std::string sqlName = list.textAt(0);
        auto name = indexNameFromSql(table, sqlName);
        if (!name) {
            continue;
        }
        IndexInfo info{std::move(*name), {}, list.integerAt(1) != 0};
        columns.bindText(1, sqlName);
        while (columns.step()) {
            info.fields.push_back(IndexField{columns.textAt(0), columns.integerAt(1) != 0});
        }
        result.push_back(std::move(info));
    }
    std::sort(result.begin(), result.end(),
              [](const IndexInfo& left, const IndexInfo& right) { return left.name < right.name; });
    return result;
}

std::optional<IndexInfo> Database::index(std::string_view table, std::string_view name) const {
    std::vector<IndexInfo> all = indexes(table);
    auto found =
        std::find_if(all.begin(), all.end(), [name](const IndexInfo& info) { return info.name == name; });
    if (found == all.end()) {
        found = std::find_if(all.begin(), all.end(),
                             [name](const IndexInfo& info) { return sameIdentifier(info.name, name); });
    }
    if (found == all.end()) {
        return std::nullopt;
    }
    return std::move(*found);
}

} // namespace db
