#pragma once

#include "platform/db/FieldType.h"
#include "platform/db/IndexDefinition.h"

#include <string>
#include <vector>

namespace db {

// A table to create: its fields in order, then its indexes. The whole definition is created at
// once or not at all.
struct TableDefinition {
    std::string name;
    std::vector<FieldDefinition> fields;
    std::vector<IndexDefinition> indexes;
};

} // namespace db
