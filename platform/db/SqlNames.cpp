#include "platform/db/SqlNames.h"

#include "platform/db/DbException.h"

#include <algorithm>

namespace db {

namespace {

constexpr char kIndexSeparator = '.';

char lowerAscii(char c) {
    return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
}

} // namespace

std::string quoteIdentifier(std::string_view name, std::string_view operation) {
    if (name.find('\0') != std::string_view::npos) {
        throw DbException(std::string(operation), "a name holds a zero byte");
    }
    std::string quoted;
    quoted.reserve(name.size() + 2);
    quoted += '"';
    for (const char c : name) {
        if (c == '"') {
            quoted += '"';
        }
        quoted += c;
    }
    quoted += '"';
    return quoted;
}

std::string indexSqlName(std::string_view table, std::string_view index) {
    std::string name(table);
    name += kIndexSeparator;
    name += index;
    return name;
}

std::optional<std::string> indexNameFromSql(std::string_view table, std::string_view sqlName) {
    if (sqlName.size() <= table.size() + 1 || !sameIdentifier(sqlName.substr(0, table.size()), table) ||
        sqlName[table.size()] != kIndexSeparator) {
        return std::nullopt;
    }
    return std::string(sqlName.substr(table.size() + 1));
}

std::string indexOrder(const std::vector<IndexField>& fields, std::string_view operation) {
    std::string sql;
    for (const IndexField& field : fields) {
        sql += quoteIdentifier(field.name, operation);
        sql += field.descending ? " DESC, " : " ASC, ";
    }
    return sql + "rowid";
}

bool sameIdentifier(std::string_view left, std::string_view right) {
    return std::equal(left.begin(), left.end(), right.begin(), right.end(),
                      [](char a, char b) { return lowerAscii(a) == lowerAscii(b); });
}

} // namespace db
