#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace db {

// The field types of the program's tables, as DAO named them. Each is stored as a column whose
// declared SQLite type names it (see docs/database-layer.md), so that the type a field was created
// with can be read back and a field of the wrong type recognised.
enum class FieldType {
    Boolean,
    Byte,    // 0 .. 255
    Integer, // 16-bit
    Long,    // 32-bit
    Currency,
    Single,
    Double,
    Date, // a day number with the time as fraction, held as a double
    Text, // with a size in characters
    Memo,
    AutoNumber, // a Long key given by the database, never reused after a delete
    Other       // a column this layer did not create
};

// A field to create.
struct FieldDefinition {
    std::string name;
    FieldType type = FieldType::Long;
    int textSize = 0; // Text only: 1 .. 255; 0 means 255
};

// A field as the database describes it.
struct FieldInfo {
    std::string name;
    FieldType type = FieldType::Other;
    int textSize = 0;         // Text only
    std::string declaredType; // as SQLite stores it, for example "TEXT(50)"
};

// The declared column type that stands for a field type ("LONG", "TEXT(50)", ...). AutoNumber
// and Other have no declared type of their own (AutoNumber is written by the column definition).
std::string declaredTypeOf(FieldType type, int textSize);

// The field type a declared column type stands for. `isRowIdKey` tells whether the column is the
// table's INTEGER PRIMARY KEY, which is how an AutoNumber field is stored.
FieldInfo describeColumn(std::string name, std::string_view declaredType, bool isRowIdKey);

// The inclusive range of the whole-number types (Boolean, Byte, Integer, Long, AutoNumber); none
// for the others.
struct IntegerRange {
    long long minimum;
    long long maximum;
};
std::optional<IntegerRange> integerRangeOf(FieldType type);

// Whether values of the type read back as floating-point numbers.
bool isFloatingType(FieldType type);

// The DAO-style name of a type, for messages ("Long", "Text", ...).
std::string_view fieldTypeName(FieldType type);

} // namespace db
