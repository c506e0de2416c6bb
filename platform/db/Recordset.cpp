#include "platform/db/Recordset.h"

#include "platform/db/Database.h"
#include "platform/db/DbException.h"
#include "platform/db/SqlNames.h"
#include "platform/db/Statement.h"

#include <algorithm>
#include <sqlite3.h>
#include <utility>

namespace db {

namespace {

enum class Comparison { Equal, GreaterOrEqual, Greater };

// The comparisons seek() knows, by the text DAO took.
struct ComparisonName {
    std::string_view text;
    Comparison comparison;
};
constexpr ComparisonName kComparisons[] = {
    {"=", Comparison::Equal},
    {">=", Comparison::GreaterOrEqual},
    {">", Comparison::Greater},
};

Comparison comparisonOf(std::string_view text) {
    for (const ComparisonName& entry : kComparisons) {
        if (entry.text == text) {
            return entry.comparison;
        }
    }
    throw DbException("seek", "the comparison '" + std::string(text) + "' is not supported");
}

std::string parameter(std::size_t number) {
    return "?" + std::to_string(number);
}

} // namespace

Recordset::Recordset(Database& database, std::string table)
    : database_(database), table_(std::move(table)), fields_(database_.fields(table_)) {
    if (fields_.empty()) {
        throw DbException("open recordset", "no such table: " + table_);
    }
    indexFieldPositions();
}

Recordset::Recordset(Database& database, std::string table, const std::vector<std::string>& fieldNames)
    : database_(database), table_(std::move(table)) {
    const std::vector<FieldInfo> all = database_.fields(table_);
    if (all.empty()) {
        throw DbException("open recordset", "no such table: " + table_);
    }
    for (const std::string& name : fieldNames) {
        const auto found = std::find_if(all.begin(), all.end(),
                                        [&](const FieldInfo& field) { return sameIdentifier(field.name, name); });
        if (found == all.end()) {
            throw DbException("open recordset", "no field named '" + name + "' in table '" + table_ + "'");
        }
        fields_.push_back(*found);
    }
    indexFieldPositions();
}

void Recordset::indexFieldPositions() {
    for (std::size_t i = 0; i < fields_.size(); ++i) {
        fieldPositions_.emplace(fields_[i].name, static_cast<int>(i));
    }
    pendingValues_.resize(fields_.size());
    pendingSet_.assign(fields_.size(), false);
}

Recordset::~Recordset() = default;

std::optional<int> Recordset::findField(std::string_view name) const {
    if (const auto found = fieldPositions_.find(name); found != fieldPositions_.end()) {
        return found->second;
    }
    for (std::size_t i = 0; i < fields_.size(); ++i) {
        if (sameIdentifier(fields_[i].name, name)) {
            return static_cast<int>(i);
        }
    }
    return std::nullopt;
}

int Recordset::fieldIndex(std::string_view name) const {
    if (const auto position = findField(name)) {
        return *position;
    }
    throw DbException("find field", "no field named '" + std::string(name) + "' in table '" + table_ + "'");
}

// ---- Order and statements ------------------------------------------------------------------

std::string Recordset::selectList() const {
    std::string sql = "rowid";
    for (const FieldInfo& field : fields_) {
        sql += ", ";
        sql += quoteIdentifier(field.name, "open recordset");
    }
    return sql;
}

std::string Recordset::orderBy() const {
    return indexOrder(indexFields_, "set index");
}

Statement& Recordset::scanStatement() const {
    if (!scan_) {
        scan_ = std::make_unique<Statement>(database_.connection(),
                                            "SELECT " + selectList() + " FROM " +
                                                quoteIdentifier(table_, "open recordset") + " ORDER BY " +
                                                orderBy(),
                                            "read " + table_);
    }
    return *scan_;
}

// Records from the first whose key is at or after the given key in index order, with one more
// column telling whether the record's key equals the given one. When the index fields all go the
// same way a row-value comparison lets SQLite start the walk from the key in the index; mixed
// directions spell the same order out field by field.
Statement& Recordset::seekStatement(std::size_t keyCount) const {
    auto& statement = seeks_[keyCount];
    if (statement) {
        return *statement;
    }
    const std::string operation = "seek in " + table_;
    std::vector<std::string> names;
    for (std::size_t i = 0; i < keyCount; ++i) {
        names.push_back(quoteIdentifier(indexFields_[i].name, operation));
    }
    const auto sameWay = [&](bool descending) {
        return std::all_of(indexFields_.begin(), indexFields_.begin() + static_cast<std::ptrdiff_t>(keyCount),
                           [descending](const IndexField& field) { return field.descending == descending; });
    };

    std::string equal = "(";
    for (std::size_t i = 0; i < keyCount; ++i) {
        equal += (i == 0 ? "" : " AND ") + names[i] + " = " + parameter(i + 1);
    }
    equal += ")";

    std::string from;
    if (sameWay(false) || sameWay(true)) {
        std::string columns;
        std::string values;
        for (std::size_t i = 0; i < keyCount; ++i) {
            columns += (i == 0 ? "" : ", ") + names[i];
            values += (i == 0 ? "" : ", ") + parameter(i + 1);
        }
        from = "(" + columns + ")" + (indexFields_[0].descending ? " <= " : " >= ") + "(" + values + ")";
    } else {
        for (std::size_t j = 0; j < keyCount; ++j) {
            from += "(";
            for (std::size_t i = 0; i < j; ++i) {
                from += names[i] + " = " + parameter(i + 1) + " AND ";
            }
            from += names[j] + (indexFields_[j].descending ? " < " : " > ") + parameter(j + 1) + ") OR ";
        }
        from += equal;
    }

    statement = std::make_unique<Statement>(database_.connection(),
                                            "SELECT " + selectList() + ", " + equal + " FROM " +
                                                quoteIdentifier(table_, operation) + " WHERE " + from +
                                                " ORDER BY " + orderBy(),
                                            operation);
    return *statement;
}

Statement& Recordset::writeStatement(EditMode mode) {
    auto& cache = mode == EditMode::Adding ? inserts_ : updates_;
    auto& statement = cache[pendingSet_];
    if (statement) {
        return *statement;
    }
    const std::string operation =
        (mode == EditMode::Adding ? "add record to " : "update record of ") + table_;
    const std::string table = quoteIdentifier(table_, operation);
    std::string sql;
    std::size_t count = 0;
    if (mode == EditMode::Adding) {
        std::string columns;
        std::string values;
        for (std::size_t i = 0; i < fields_.size(); ++i) {
            if (pendingSet_[i]) {
                ++count;
                columns += (count == 1 ? "" : ", ") + quoteIdentifier(fields_[i].name, operation);
                values += (count == 1 ? "" : ", ") + parameter(count);
            }
        }
        sql = count == 0 ? "INSERT INTO " + table + " DEFAULT VALUES"
                         : "INSERT INTO " + table + " (" + columns + ") VALUES (" + values + ")";
    } else {
        sql = "UPDATE " + table + " SET ";
        for (std::size_t i = 0; i < fields_.size(); ++i) {
            if (pendingSet_[i]) {
                ++count;
                sql += (count == 1 ? "" : ", ") + quoteIdentifier(fields_[i].name, operation) + " = " +
                       parameter(count);
            }
        }
        sql += " WHERE rowid = " + parameter(count + 1);
    }
    statement = std::make_unique<Statement>(database_.connection(), sql, operation);
    return *statement;
}

// ---- Position ------------------------------------------------------------------------------

void Recordset::setCurrentIndex(std::string_view name) {
    auto index = database_.index(table_, name);
    if (!index) {
        throw DbException("set index",
                          "no index named '" + std::string(name) + "' in table '" + table_ + "'");
    }
    resetCursor();
    scan_.reset();
    seeks_.clear();
    indexName_ = std::move(index->name);
    indexFields_ = std::move(index->fields);
}

void Recordset::resetCursor() const {
    if (cursor_ != nullptr) {
        cursor_->reset();
    }
    cursor_ = nullptr;
    position_ = Position::NotStarted;
    currentEdited_ = false;
}

void Recordset::stepCursor() const {
    position_ = Position::AtEnd;
    currentEdited_ = false;
    if (cursor_->step()) {
        position_ = Position::OnRecord;
    }
}

// Read from the cursor's row when asked rather than at every step: a walk of a million records
// that never edits them does not pay for it.
long long Recordset::currentRowId() const {
    return cursor_->integerAt(0);
}

void Recordset::ensurePositioned() const {
    if (position_ == Position::NotStarted) {
        cursor_ = &scanStatement();
        stepCursor();
    }
}

void Recordset::requireCurrentRecord(const char* operation) const {
    ensurePositioned();
    if (position_ != Position::OnRecord) {
        throw DbException(operation, "no current record in table '" + table_ + "'");
    }
}

void Recordset::moveFirst() {
    resetCursor();
    ensurePositioned();
}

void Recordset::moveNext() {
    ensurePositioned();
    if (position_ == Position::AtEnd) {
        throw DbException("move to next record", "no current record in table '" + table_ + "'");
    }
    stepCursor();
}

bool Recordset::isEOF() const {
    ensurePositioned();
    return position_ == Position::AtEnd;
}

bool Recordset::seek(std::string_view comparisonText, const std::vector<Value>& key) {
    const Comparison comparison = comparisonOf(comparisonText);
    if (indexFields_.empty()) {
        throw DbException("seek", "no current index in table '" + table_ + "'");
    }
    if (key.empty() || key.size() > indexFields_.size()) {
        throw DbException("seek", "the key does not match the index '" + indexName_ + "'");
    }
    resetCursor();
    Statement& statement = seekStatement(key.size());
    for (std::size_t i = 0; i < key.size(); ++i) {
        statement.bind(static_cast<int>(i + 1), key[i]);
    }
    cursor_ = &statement;
    const int equalColumn = static_cast<int>(fields_.size()) + 1;
    stepCursor();
    if (comparison == Comparison::Greater) {
        while (position_ == Position::OnRecord && statement.integerAt(equalColumn) != 0) {
            stepCursor();
        }
    }
    if (comparison == Comparison::Equal && position_ == Position::OnRecord &&
        statement.integerAt(equalColumn) == 0) {
        statement.reset();
        position_ = Position::AtEnd;
    }
    return position_ == Position::OnRecord;
}

// ---- Reading -------------------------------------------------------------------------------

void Recordset::loadEditedRecord() const {
    if (!reread_) {
        reread_ =
            std::make_unique<Statement>(database_.connection(),
                                        "SELECT " + selectList() + " FROM " +
                                            quoteIdentifier(table_, "read record") + " WHERE rowid = ?1",
                                        "read " + table_);
    }
    reread_->bindInteger(1, currentRowId());
    editedValues_.clear();
    if (reread_->step()) {
        for (std::size_t i = 0; i < fields_.size(); ++i) {
            editedValues_.push_back(reread_->valueAt(static_cast<int>(i + 1), fields_[i].type));
        }
        reread_->reset();
    } else {
        position_ = Position::Deleted;
    }
}

Value Recordset::value(int field) const {
    requireCurrentRecord("read field");
    if (field < 0 || static_cast<std::size_t>(field) >= fields_.size()) {
        throw DbException("read field",
                          "no field number " + std::to_string(field) + " in table '" + table_ + "'");
    }
    if (currentEdited_) {
        if (editedValues_.empty()) {
            loadEditedRecord();
            requireCurrentRecord("read field");
        }
        return editedValues_[static_cast<std::size_t>(field)];
    }
    return cursor_->valueAt(field + 1, fields_[static_cast<std::size_t>(field)].type);
}

Value Recordset::value(std::string_view field) const {
    return value(fieldIndex(field));
}

// A record edited through this recordset holds what setValue converted to the field's type:
// there is nothing else to see in it.
Value Recordset::storedValue(int field) const {
    if (currentEdited_) {
        return value(field);
    }
    requireCurrentRecord("read field");
    if (field < 0 || static_cast<std::size_t>(field) >= fields_.size()) {
        throw DbException("read field",
                          "no field number " + std::to_string(field) + " in table '" + table_ + "'");
    }
    return cursor_->storedValueAt(field + 1);
}

Value Recordset::storedValue(std::string_view field) const {
    return storedValue(fieldIndex(field));
}

// ---- Writing -------------------------------------------------------------------------------

void Recordset::addNew() {
    mode_ = EditMode::Adding;
    std::fill(pendingSet_.begin(), pendingSet_.end(), false);
}

void Recordset::edit() {
    requireCurrentRecord("edit record");
    mode_ = EditMode::Editing;
    editedRowId_ = currentRowId();
    std::fill(pendingSet_.begin(), pendingSet_.end(), false);
}

void Recordset::cancelUpdate() {
    mode_ = EditMode::None;
}

Value Recordset::convertForField(int field, const Value& value) const {
    const FieldInfo& info = fields_[static_cast<std::size_t>(field)];
    if (value.isNull() || info.type == FieldType::Other) {
        return value;
    }
    if (info.type == FieldType::Boolean) {
        return Value(value.toBool());
    }
    if (info.type == FieldType::Text || info.type == FieldType::Memo) {
        return Value(value.toText());
    }
    if (isFloatingType(info.type)) {
        return Value(value.toDouble());
    }
    const long long number = value.toInteger();
    const auto range = integerRangeOf(info.type);
    if (range && (number < range->minimum || number > range->maximum)) {
        throw DbException("set field", "the value " + std::to_string(number) + " does not fit the " +
                                           std::string(fieldTypeName(info.type)) + " field '" + info.name +
                                           "'");
    }
    return Value(number);
}

void Recordset::setValue(int field, Value value) {
    if (mode_ == EditMode::None) {
        throw DbException("set field", "no record is being added or edited in table '" + table_ + "'");
    }
    if (field < 0 || static_cast<std::size_t>(field) >= fields_.size()) {
        throw DbException("set field",
                          "no field number " + std::to_string(field) + " in table '" + table_ + "'");
    }
    const auto position = static_cast<std::size_t>(field);
    if (mode_ == EditMode::Editing && fields_[position].type == FieldType::AutoNumber) {
        throw DbException("set field",
                          "the AutoNumber field '" + fields_[position].name + "' cannot be changed");
    }
    pendingValues_[position] = convertForField(field, value);
    pendingSet_[position] = true;
}

void Recordset::setValue(std::string_view field, Value value) {
    setValue(fieldIndex(field), std::move(value));
}

long long Recordset::update() {
    if (mode_ == EditMode::None) {
        throw DbException("update", "no record is being added or edited in table '" + table_ + "'");
    }
    const bool anySet = std::find(pendingSet_.begin(), pendingSet_.end(), true) != pendingSet_.end();
    if (mode_ == EditMode::Editing && !anySet) {
        mode_ = EditMode::None;
        lastModified_ = editedRowId_;
        return editedRowId_;
    }
    Statement& statement = writeStatement(mode_);
    int parameterNumber = 0;
    for (std::size_t i = 0; i < fields_.size(); ++i) {
        if (pendingSet_[i]) {
            statement.bind(++parameterNumber, pendingValues_[i]);
        }
    }
    long long rowId = editedRowId_;
    if (mode_ == EditMode::Editing) {
        statement.bindInteger(parameterNumber + 1, editedRowId_);
        statement.execute();
        if (position_ == Position::OnRecord && currentRowId() == editedRowId_) {
            currentEdited_ = true;
            editedValues_.clear();
        }
    } else {
        statement.execute();
        rowId = sqlite3_last_insert_rowid(database_.connection());
    }
    mode_ = EditMode::None;
    lastModified_ = rowId;
    return rowId;
}

void Recordset::deleteCurrent() {
    requireCurrentRecord("delete record");
    if (!delete_) {
        delete_ = std::make_unique<Statement>(database_.connection(),
                                              "DELETE FROM " + quoteIdentifier(table_, "delete record") +
                                                  " WHERE rowid = ?1",
                                              "delete record from " + table_);
    }
    const long long rowId = currentRowId();
    delete_->bindInteger(1, rowId);
    delete_->execute();
    if (mode_ == EditMode::Editing && editedRowId_ == rowId) {
        mode_ = EditMode::None;
    }
    position_ = Position::Deleted;
    currentEdited_ = false;
}

} // namespace db
