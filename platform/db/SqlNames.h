#pragma once

#include "platform/db/IndexDefinition.h"

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace db {

// Identifiers are always quoted: the program's names hold spaces ("VEL Reponse1") and semicolons
// ("12;1"). A double quote inside a name is doubled. A name holding a zero byte is refused
// (SQLite would cut it there), with a DbException naming `operation`.
std::string quoteIdentifier(std::string_view name, std::string_view operation);

// SQLite's index names are global to the database while the program reuses "PrimaryKey" in every
// table, so the SQLite index is named "<table>.<index>". A Jet name never holds a ".".
std::string indexSqlName(std::string_view table, std::string_view index);

// The program's name of an index of `table` from its SQLite name; none when the SQLite index does
// not follow the naming above (an index this layer did not create).
std::optional<std::string> indexNameFromSql(std::string_view table, std::string_view sqlName);

// The ORDER BY terms of an index's order: its fields in their directions, then the row id, which
// SQLite keeps as the last column of every index, so the index itself gives the order without a
// sort (and records equal on the fields keep a fixed order).
std::string indexOrder(const std::vector<IndexField>& fields, std::string_view operation);

// Names compare as SQLite compares identifiers: ASCII letters without regard to case.
bool sameIdentifier(std::string_view left, std::string_view right);

} // namespace db
