#include "app/ProgramRecordset.h"

#include <cmath>
#include <limits>
#include <type_traits>

#include "platform/db/Database.h"
#include "platform/db/DbException.h"
#include "platform/db/Recordset.h"

namespace {

// A whole number read leniently: Null, a text that is not a number and a value out of the
// member's range all give the null value.
template <class Integer>
Integer ReadInteger(const db::Value& value, double nullValue) {
    const auto fallback = static_cast<Integer>(nullValue);
    if (value.isNull())
        return fallback;
    try {
        const long long number = value.toInteger();
        if (number < std::numeric_limits<Integer>::min() || number > std::numeric_limits<Integer>::max())
            return fallback;
        return static_cast<Integer>(number);
    } catch (const db::DbException&) {
        return fallback;
    }
}

double ReadDouble(const db::Value& value, double nullValue) {
    if (value.isNull())
        return nullValue;
    try {
        const double number = value.toDouble();
        return std::isfinite(number) ? number : nullValue;
    } catch (const db::DbException&) {
        return nullValue;
    }
}

bool ReadBool(const db::Value& value) {
    try {
        return value.toBool();
    } catch (const db::DbException&) {
        return false;
    }
}

void Load(const ProgramMember& member, const db::Value& value, double nullValue) {
    std::visit(
        [&](auto* target) {
            using T = std::remove_pointer_t<decltype(target)>;
            if constexpr (std::is_same_v<T, std::string>)
                *target = value.toText();
            else if constexpr (std::is_same_v<T, bool>)
                *target = ReadBool(value);
            else if constexpr (std::is_same_v<T, double>)
                *target = ReadDouble(value, nullValue);
            else
                *target = ReadInteger<T>(value, nullValue);
        },
        member);
}

db::Value Store(const ProgramMember& member) {
    return std::visit(
        [](auto* source) -> db::Value {
            using T = std::remove_pointer_t<decltype(source)>;
            if constexpr (std::is_same_v<T, std::uint8_t>)
                return db::Value(static_cast<int>(*source));
            else
                return db::Value(*source);
        },
        member);
}

} // namespace

ProgramRecordset::ProgramRecordset(db::Database& database, const ProgramTableLayout& layout, int fileVersion)
    : database_(database), layout_(layout), fileVersion_(fileVersion) {}

ProgramRecordset::~ProgramRecordset() = default;

void ProgramRecordset::Open() {
    Close();
    auto recordset = std::make_unique<db::Recordset>(database_, layout_.name);
    std::vector<BoundField> bound;
    for (const ProgramField& field : layout_.fields) {
        if (field.sinceVersion > fileVersion_)
            continue;
        const auto column = recordset->findField(field.name);
        if (column) {
            bound.push_back({&field, *column});
        } else if (field.presence == ProgramField::Presence::Required) {
            throw db::DbException("open " + layout_.name,
                                  "no field named '" + field.name + "' in table '" + layout_.name + "'");
        }
    }
    recordset_ = std::move(recordset);
    bound_ = std::move(bound);
    LoadIfOnRecord();
}

void ProgramRecordset::Close() {
    recordset_.reset();
    bound_.clear();
    adding_ = false;
}

bool ProgramRecordset::IsBound(std::string_view field) const {
    for (const BoundField& entry : bound_) {
        if (entry.field->name == field)
            return true;
    }
    return false;
}

db::Recordset& ProgramRecordset::Require(const char* operation) const {
    if (!recordset_)
        throw db::DbException(operation, "the recordset over '" + layout_.name + "' is not open");
    return *recordset_;
}

void ProgramRecordset::SetCurrentIndex(std::string_view name) {
    Require("set index").setCurrentIndex(name);
    LoadIfOnRecord();
}

void ProgramRecordset::MoveFirst() {
    Require("move first").moveFirst();
    LoadIfOnRecord();
}

void ProgramRecordset::MoveNext() {
    Require("move next").moveNext();
    LoadIfOnRecord();
}

bool ProgramRecordset::IsEOF() const {
    return Require("end of records").isEOF();
}

bool ProgramRecordset::Seek(std::string_view comparison, const std::vector<db::Value>& key) {
    const bool found = Require("seek").seek(comparison, key);
    if (found)
        LoadFields();
    return found;
}

void ProgramRecordset::AddNew() {
    Require("add record").addNew();
    adding_ = true;
}

void ProgramRecordset::Edit() {
    Require("edit record").edit();
    adding_ = false;
}

long long ProgramRecordset::Update() {
    db::Recordset& recordset = Require("update");
    StoreFields();
    const long long rowId = recordset.update();
    if (adding_) {
        for (const BoundField& entry : bound_) {
            if (entry.field->autoNumber)
                Load(entry.field->member(*this), db::Value(rowId), entry.field->nullValue);
        }
    }
    adding_ = false;
    return rowId;
}

void ProgramRecordset::CancelUpdate() {
    Require("cancel update").cancelUpdate();
    adding_ = false;
}

void ProgramRecordset::Delete() {
    Require("delete record").deleteCurrent();
}

void ProgramRecordset::LoadIfOnRecord() {
    if (!recordset_->isEOF())
        LoadFields();
}

void ProgramRecordset::LoadFields() {
    for (const BoundField& entry : bound_)
        Load(entry.field->member(*this), recordset_->value(entry.column), entry.field->nullValue);
}

void ProgramRecordset::StoreFields() {
    for (const BoundField& entry : bound_) {
        if (!entry.field->autoNumber)
            recordset_->setValue(entry.column, Store(entry.field->member(*this)));
    }
}
