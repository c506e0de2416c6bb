#include "app/ResponseTableScan.h"

#include <algorithm>
#include <limits>
#include <optional>

#include "platform/db/Database.h"
#include "platform/db/DbException.h"
#include "platform/db/ForwardScan.h"
#include "platform/db/SqlNames.h"

namespace {

constexpr const char* kPrimaryKey = "PrimaryKey";

std::string TableNameOf(int number) {
    return "VEL Reponse" + std::to_string(number);
}

std::string KeyFieldName(int position) {
    return "Cle" + std::to_string(position);
}

} // namespace

// ---- Record -------------------------------------------------------------------------------------

db::Value ResponseTableScan::Record::Value(int field) const {
    return m_row.value(static_cast<int>(m_keys.size()) + field);
}

db::Value ResponseTableScan::Record::StoredValue(int field) const {
    return m_row.storedValue(static_cast<int>(m_keys.size()) + field);
}

// ---- LevelRows ------------------------------------------------------------------------------------

ResponseTableScan::LevelRows::LevelRows(const CRecordKeys& records, int keyLength)
    : m_records(records), m_keyLength(std::max(keyLength, 0)), m_lastKey(static_cast<std::size_t>(m_keyLength)) {}

// <0, 0 or >0 as the level's key of the row is before, equal to or after the record's keys.
int ResponseTableScan::LevelRows::Compare(std::size_t row, const std::int32_t* keys) const {
    const std::int32_t* levelKey = m_records.Key(row);
    const int levelLength = m_records.KeyLength();
    const int length = std::min(levelLength, m_keyLength);
    for (int i = 0; i < length; ++i) {
        if (levelKey[i] != keys[i])
            return levelKey[i] < keys[i] ? -1 : 1;
    }
    if (levelLength == m_keyLength)
        return 0;
    return levelLength < m_keyLength ? -1 : 1;
}

int ResponseTableScan::LevelRows::Find(const std::int32_t* keys) {
    const bool backwards =
        m_started && std::lexicographical_compare(keys, keys + m_keyLength, m_lastKey.begin(), m_lastKey.end());
    if (backwards)
        return SearchSorted(keys);
    m_started = true;
    std::copy(keys, keys + m_keyLength, m_lastKey.begin());
    const std::size_t count = m_records.size();
    while (m_nextRow < count && Compare(m_nextRow, keys) < 0)
        ++m_nextRow;
    return m_nextRow < count && Compare(m_nextRow, keys) == 0 ? static_cast<int>(m_nextRow) : -1;
}

int ResponseTableScan::LevelRows::SearchSorted(const std::int32_t* keys) const {
    std::size_t low = 0;
    std::size_t high = m_records.size();
    while (low < high) {
        const std::size_t middle = low + (high - low) / 2;
        if (Compare(middle, keys) < 0)
            low = middle + 1;
        else
            high = middle;
    }
    return low < m_records.size() && Compare(low, keys) == 0 ? static_cast<int>(low) : -1;
}

// ---- The scan -------------------------------------------------------------------------------------

// A key that is not a whole number of 32 bits would be rounded onto the key of another record and
// its answers counted as that record's: the table is refused instead.
std::int32_t ResponseTableScan::KeyOf(const db::Value& value, std::size_t position, long long record) const {
    long long key = 0;
    if (value.toWholeNumber(key) != db::Value::Whole::Exact || key < std::numeric_limits<std::int32_t>::min() ||
        key > std::numeric_limits<std::int32_t>::max())
        throw db::DbException("read keys", "la clé '" + m_keyFields[position] + "' de l'enregistrement " +
                                               std::to_string(record + 1) + " de la table '" + m_tableName +
                                               "' n'est pas un entier de 32 bits : '" + value.toText() + "'");
    return static_cast<std::int32_t>(key);
}

ResponseTableScan::ResponseTableScan(db::Database& database, int tableNumber)
    : m_database(database), m_tableNumber(tableNumber), m_tableName(TableNameOf(tableNumber)) {
    m_tableFields = m_database.fields(m_tableName);
    if (m_tableFields.empty())
        throw db::DbException("open recordset", "no such table: " + m_tableName);
    while (HasField(KeyFieldName(KeyFieldCount() + 1)))
        m_keyFields.push_back(KeyFieldName(KeyFieldCount() + 1));
}

ResponseTableScan::~ResponseTableScan() = default;

const db::FieldInfo* ResponseTableScan::FindTableField(std::string_view name) const {
    const auto found = std::find_if(m_tableFields.begin(), m_tableFields.end(),
                                    [&](const db::FieldInfo& field) { return db::sameIdentifier(field.name, name); });
    return found != m_tableFields.end() ? &*found : nullptr;
}

bool ResponseTableScan::HasField(std::string_view name) const {
    return FindTableField(name) != nullptr;
}

int ResponseTableScan::AddField(std::string_view name) {
    for (std::size_t i = 0; i < m_fields.size(); ++i) {
        if (db::sameIdentifier(m_fields[i].name, name))
            return static_cast<int>(i);
    }
    const db::FieldInfo* field = FindTableField(name);
    if (field == nullptr)
        return -1;
    m_fields.push_back(*field);
    return static_cast<int>(m_fields.size() - 1);
}

void ResponseTableScan::AddReader(Reader& reader) {
    m_readers.push_back(&reader);
}

// A key stored as a whole number is read without building a value; anything else goes through
// the checks of KeyOf.
void ResponseTableScan::ReadKeys(const db::ForwardScan& row, Record& record) const {
    for (std::size_t k = 0; k < m_keyFields.size(); ++k) {
        const int column = static_cast<int>(k);
        const std::optional<long long> key = row.storedInteger(column);
        record.m_keys[k] = key && *key >= std::numeric_limits<std::int32_t>::min() &&
                                   *key <= std::numeric_limits<std::int32_t>::max()
                               ? static_cast<std::int32_t>(*key)
                               : KeyOf(row.storedValue(column), k, record.m_number);
    }
}

void ResponseTableScan::Run() {
    if (m_readers.empty())
        return;
    std::vector<db::FieldInfo> selected;
    for (const std::string& key : m_keyFields)
        selected.push_back(*FindTableField(key));
    selected.insert(selected.end(), m_fields.begin(), m_fields.end());
    db::ForwardScan row(m_database, m_tableName, std::move(selected), kPrimaryKey);
    Record record(row);
    record.m_keys.assign(m_keyFields.size(), 0);
    while (row.next()) {
        ++record.m_number;
        ReadKeys(row, record);
        for (Reader* reader : m_readers)
            reader->Read(record);
    }
}
