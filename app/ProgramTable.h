#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

#include "platform/db/FieldType.h"
#include "platform/db/IndexDefinition.h"
#include "platform/db/TableDefinition.h"

namespace db {
class Database;
}
class ProgramRecordset;
class UserInterface;

// A recordset member a field is read into and written from.
using ProgramMember = std::variant<std::int32_t*, std::int16_t*, std::string*, bool*, double*, std::uint8_t*>;
// Finds the member of a recordset object that a field is bound to.
using ProgramMemberAccess = std::function<ProgramMember(ProgramRecordset&)>;

// One field of a program table ("MFW ..."): what creating the table needs and what binding it
// to a recordset member needs, in one row, so that creation and binding cannot disagree.
struct ProgramField {
    // Whether a recordset needs the field to be in the table. A field added to the layout after
    // tables were already in use is optional: a table without it reads and writes the others.
    enum class Presence { Required, Optional };

    std::string name;
    db::FieldType type = db::FieldType::Long; // Long, Integer, Text, Memo, Boolean or Double
    int size = 0;                             // the DAO size: 4, 2, the text length, 0 (memo), 1, 8
    bool autoNumber = false;                  // the key the database numbers (a Long field)
    ProgramMemberAccess member;
    Presence presence = Presence::Required;
    int sinceVersion = 0;   // bound only by recordsets of this file version (major x 100 + minor) on
    double nullValue = 0.0; // what a number member holds for a Null or unreadable value
};

// A table's layout: fields in creation order, then its indexes ("PrimaryKey" first).
struct ProgramTableLayout {
    std::string name;
    std::vector<ProgramField> fields;
    std::vector<db::IndexDefinition> indexes;

    // The table as the database layer creates it (the key field marked AUTO becomes AutoNumber).
    db::TableDefinition Definition() const;
};

// Where a table creator reports a failure. The creators show the message through the user
// interface when they are given one (as the program's save commands expect), and put its text
// into the error text when they are given one; either, both or neither may be given.
struct CreationReport {
    UserInterface* ui = nullptr;
    std::string* errorText = nullptr;
};

// Creating the program's tables from their layouts.
class ProgramTable {
public:
    // Makes sure the table exists: a table of that exact name is left as it is; otherwise the
    // table, its fields and its indexes are created in one transaction. A database error reports
    // the database's description, any other failure "Ne peut pas créer la table..."; the
    // database is then as it was, and false is answered.
    static bool Create(db::Database& database, const ProgramTableLayout& layout, const CreationReport& report);

    // Runs a creation job inside one transaction, reporting its failure as Create does.
    static bool RunCreation(db::Database& database, const CreationReport& report,
                            const std::function<void()>& job);

    // The table's field rows for a member of a recordset class.
    template <class Row, class T>
    static ProgramMemberAccess Member(T Row::*member) {
        return [member](ProgramRecordset& recordset) -> ProgramMember {
            return &(static_cast<Row&>(recordset).*member);
        };
    }

    // The index "PrimaryKey" (primary, unique) and a secondary index (neither), ascending.
    static db::IndexDefinition PrimaryKey(const std::string& field);
    static db::IndexDefinition SecondaryIndex(const std::string& name, const std::vector<std::string>& fields);

private:
    static void Report(const CreationReport& report, int messageId, const std::string& databaseText);
};
