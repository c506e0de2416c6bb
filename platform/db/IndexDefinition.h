#pragma once

#include <string>
#include <vector>

namespace db {

// One field of an index, with its direction.
struct IndexField {
    std::string name;
    bool descending = false;
};

// An index as the program names it ("PrimaryKey", "Index1", "Libelle"). The name is the one
// callers select a recordset's order with; the SQLite index behind it is named after the table
// too, because SQLite's index names are shared by the whole database.
struct IndexDefinition {
    std::string name;
    std::vector<IndexField> fields;
    bool unique = false;
    // A primary index is unique and its fields required. It is created as a unique index (the
    // flag implies `unique`); the requirement is not enforced and the flag is not stored.
    bool primary = false;
};

// An index as the database describes it: its name as the program knows it, its fields in order
// and whether it is unique.
struct IndexInfo {
    std::string name;
    std::vector<IndexField> fields;
    bool unique = false;
};

} // namespace db
