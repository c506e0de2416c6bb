#pragma once

#include "platform/db/FieldType.h"
#include "platform/db/IndexDefinition.h"
#include "platform/db/Value.h"

#include <cstddef>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace db {

class Database;
class Statement;

// The records of one table, walked in the order of a chosen index, as DAO's table-type recordsets
// were: select the current index by its name ("PrimaryKey"), move through the records, seek a key,
// add, edit and delete records.
//
// A walk is one prepared SELECT stepped once per record, and field values are read straight from
// it, so reading a whole table costs one query. Inserts and updates reuse one prepared statement
// per set of fields written, which makes AddNew/Update in a loop inside a Transaction the bulk
// insert path.
//
// Without a current index the records come in the table's own order (the order they were added).
// Positioning is lazy: the first record is reached by the first look at the position (isEOF(),
// value(), moveNext(), edit(), deleteCurrent()), not by construction or setCurrentIndex(), so a
// recordset used only to add records never reads the table.
//
// Records added during a walk may or may not show up later in it; editing the fields of the
// current index during a walk may bring the record back later in the walk. Tables must not be
// redefined (fields added or deleted) while a recordset over them is alive.
class Recordset {
public:
    // Raises DbException when the table does not exist.
    Recordset(Database& database, std::string table);
    // Reads and writes only the named fields, in the order given: a walk selects those columns
    // alone, so reading a few fields of a wide table does not decode the others. The index
    // fields need not be among them. Raises DbException when the table or one of the fields
    // does not exist.
    Recordset(Database& database, std::string table, const std::vector<std::string>& fieldNames);
    ~Recordset();
    Recordset(const Recordset&) = delete;
    Recordset& operator=(const Recordset&) = delete;

    const std::string& table() const { return table_; }
    const std::vector<FieldInfo>& fields() const { return fields_; }
    // The position of a field in fields(); raises DbException when there is none.
    int fieldIndex(std::string_view name) const;
    std::optional<int> findField(std::string_view name) const;

    // Makes the index of that name (as the program calls it) the order of the records, and goes
    // back to the first record. Raises DbException when the table has no such index.
    void setCurrentIndex(std::string_view name);
    const std::string& currentIndex() const { return indexName_; }

    void moveFirst();
    // Raises DbException when there is no current record to move from (already at the end).
    void moveNext();
    bool isEOF() const;

    // Finds the first record, in the current index's order, whose key compares with `key` as
    // `comparison` says: "=", ">=" or ">". The key may give fewer values than the index has
    // fields; it then compares with the first fields. Answers whether a record was found; when
    // none was, the recordset is at the end. Moving on from a found record continues in index
    // order. Raises DbException without a current index.
    bool seek(std::string_view comparison, const std::vector<Value>& key);

    // The current record's value of a field, typed by the field's type. Raises DbException when
    // there is no current record (at the end, or the record was just deleted).
    Value value(std::string_view field) const;
    Value value(int field) const;
    // The same value as the file holds it, before the conversion to the field's type: a reader
    // that must not take 1.6 for the whole number 2, nor a text for a number, looks here. Raises
    // DbException as value() does.
    Value storedValue(std::string_view field) const;
    Value storedValue(int field) const;

    // Starts a new record; fields not set stay Null (an AutoNumber field takes the next key).
    // The current record does not change.
    void addNew();
    // Starts editing the current record.
    void edit();
    // Sets a field of the record being added or edited; the value is converted to the field's
    // type (DbException when it cannot be, or when it is out of the type's range).
    void setValue(std::string_view field, Value value);
    void setValue(int field, Value value);
    // Writes the record being added or edited and answers its row id, which for a table with an
    // AutoNumber field is the record's key (the new key after addNew()).
    long long update();
    void cancelUpdate();
    // The row id of the record last written by update(), as DAO's last-modified bookmark.
    std::optional<long long> lastModified() const { return lastModified_; }

    // Deletes the current record; moveNext() then goes on to the record after it.
    void deleteCurrent();

private:
    enum class Position { NotStarted, OnRecord, Deleted, AtEnd };
    enum class EditMode { None, Adding, Editing };

    void indexFieldPositions();
    void ensurePositioned() const;
    // The row id of the record the cursor stands on.
    long long currentRowId() const;
    void requireCurrentRecord(const char* operation) const;
    void resetCursor() const;
    void stepCursor() const;
    Statement& scanStatement() const;
    Statement& seekStatement(std::size_t keyCount) const;
    Statement& writeStatement(EditMode mode);
    std::string selectList() const;
    std::string orderBy() const;
    void loadEditedRecord() const;
    Value convertForField(int field, const Value& value) const;

    // Lets value(name) look a field up without building a std::string.
    struct NameHash {
        using is_transparent = void;
        std::size_t operator()(std::string_view name) const { return std::hash<std::string_view>{}(name); }
    };

    Database& database_;
    std::string table_;
    std::vector<FieldInfo> fields_;
    std::unordered_map<std::string, int, NameHash, std::equal_to<>> fieldPositions_;

    std::string indexName_;
    std::vector<IndexField> indexFields_;

    // The walk: the statement whose row is the current record, and what is known of the position.
    mutable std::unique_ptr<Statement> scan_;
    mutable std::map<std::size_t, std::unique_ptr<Statement>> seeks_;
    mutable Statement* cursor_ = nullptr;
    mutable Position position_ = Position::NotStarted;
    // After the current record was edited its values are read again once, from the table.
    mutable bool currentEdited_ = false;
    mutable std::vector<Value> editedValues_;

    EditMode mode_ = EditMode::None;
    long long editedRowId_ = 0;
    std::vector<Value> pendingValues_;
    std::vector<bool> pendingSet_;
    std::map<std::vector<bool>, std::unique_ptr<Statement>> inserts_;
    std::map<std::vector<bool>, std::unique_ptr<Statement>> updates_;
    std::unique_ptr<Statement> delete_;
    mutable std::unique_ptr<Statement> reread_;
    std::optional<long long> lastModified_;
};

} // namespace db
