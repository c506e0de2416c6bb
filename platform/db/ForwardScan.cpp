#include "platform/db/ForwardScan.h"

#include "platform/db/Database.h"
#include "platform/db/DbException.h"
#include "platform/db/SqlNames.h"
#include "platform/db/Statement.h"

namespace db {

namespace {

// A walk that reads no field still counts its records, through the row id.
std::string selectInIndexOrder(const Database& database, const std::string& table,
                               const std::vector<FieldInfo>& fields, const std::string& indexName, bool ranged) {
    const std::string operation = "read " + table;
    const std::optional<IndexInfo> index = database.index(table, indexName);
    if (!index) {
        throw DbException("set index", "no index named '" + indexName + "' in table '" + table + "'");
    }
    std::string sql = "SELECT ";
    for (std::size_t i = 0; i < fields.size(); ++i) {
        sql += (i == 0 ? "" : ", ") + quoteIdentifier(fields[i].name, operation);
    }
    if (fields.empty()) {
        sql += "rowid";
    }
    sql += " FROM " + quoteIdentifier(table, operation);
    if (ranged && !index->fields.empty()) {
        sql += " WHERE " + quoteIdentifier(index->fields.front().name, operation) + " BETWEEN ?1 AND ?2";
    }
    return sql + " ORDER BY " + indexOrder(index->fields, operation);
}

} // namespace

ForwardScan::ForwardScan(Database& database, const std::string& table, std::vector<FieldInfo> fields,
                         const std::string& index, std::optional<Range> range)
    : fields_(std::move(fields)),
      statement_(std::make_unique<Statement>(database.connection(),
                                             selectInIndexOrder(database, table, fields_, index, range.has_value()),
                                             "read " + table)) {
    if (range) {
        statement_->bindInteger(1, range->low);
        statement_->bindInteger(2, range->high);
    }
}

ForwardScan::~ForwardScan() = default;

bool ForwardScan::next() {
    return statement_->step();
}

std::optional<long long> ForwardScan::storedInteger(int column) const {
    return statement_->storedIntegerAt(column);
}

Value ForwardScan::storedValue(int column) const {
    return statement_->storedValueAt(column);
}

Value ForwardScan::value(int column) const {
    return statement_->valueAt(column, fields_[static_cast<std::size_t>(column)].type);
}

} // namespace db
