#pragma once

#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "app/ProgramTable.h"
#include "platform/db/Value.h"

namespace db {
class Database;
class Recordset;
} // namespace db

// A recordset over one program table, bound to the members of the class deriving from it by the
// table's layout: positioning on a record (MoveFirst, MoveNext, Seek) reads the bound fields into
// the members; AddNew or Edit, then setting members, then Update writes them.
//
// Fields are found by name, so their order in the table does not matter. Reading is lenient: a
// field holding a value of another type is converted when it can be, and otherwise reads as the
// member's empty value (0, "", false; the layout's null value for numbers), as does Null; fields
// the layout does not list are ignored. A required field missing from the table refuses Open; an
// optional one is then neither read (its member keeps its value) nor written.
//
// The database belongs to the caller and must outlive the recordset. Database errors raise
// db::DbException.
class ProgramRecordset {
public:
    // The file version a recordset assumes when it is given none: every field is bound.
    static constexpr int kEveryVersion = 1'000'000;

    virtual ~ProgramRecordset();
    ProgramRecordset(const ProgramRecordset&) = delete;
    ProgramRecordset& operator=(const ProgramRecordset&) = delete;

    const ProgramTableLayout& GetLayout() const { return layout_; }
    const std::string& GetTableName() const { return layout_.name; }

    // Opens the recordset over its table and reads the first record, if any.
    void Open();
    bool IsOpen() const { return recordset_ != nullptr; }
    void Close();

    // The number of fields exchanged with the table since Open.
    int GetBoundFieldCount() const { return static_cast<int>(bound_.size()); }
    bool IsBound(std::string_view field) const;

    // Orders the records by the named index and reads the first record.
    void SetCurrentIndex(std::string_view name);
    void MoveFirst();
    void MoveNext();
    bool IsEOF() const;
    // Seeks in the current index ("=", ">=", ">"); a record found is read into the members.
    bool Seek(std::string_view comparison, const std::vector<db::Value>& key);

    void AddNew();
    void Edit();
    // Writes the members into the record being added or edited. After an add the AutoNumber key
    // of the new record is copied into its member. Answers the record's row id.
    long long Update();
    void CancelUpdate();
    void Delete();

protected:
    // `fileVersion` leaves out the fields of later versions (see ProgramField::sinceVersion).
    ProgramRecordset(db::Database& database, const ProgramTableLayout& layout, int fileVersion = kEveryVersion);

private:
    struct BoundField {
        const ProgramField* field;
        int column;
    };

    db::Recordset& Require(const char* operation) const;
    void LoadIfOnRecord();
    void LoadFields();
    void StoreFields();

    db::Database& database_;
    const ProgramTableLayout& layout_;
    int fileVersion_;
    std::unique_ptr<db::Recordset> recordset_;
    std::vector<BoundField> bound_;
    bool adding_ = false;
};
