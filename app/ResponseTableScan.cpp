#include "app/ResponseTableScan.h"

#include <algorithm>
#include <limits>

#include "platform/db/Database.h"
#include "platform/db/DbException.h"
#include "platform/db/Recordset.h"
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
    return m_records.value(static_cast<int>(m_keys.size()) + field);
}

db::Value ResponseTableScan::Record::StoredValue(int field) const {
    return m_records.storedValue(static_cast<int>(m_keys.size()) + field);
}

// ---- LevelRows ------------------------------------------------------------------------------------

ResponseTableScan::LevelRows::LevelRows(const std::set<RecordKey>& records, int keyLength)
    : m_records(records), m_next(records.begin()), m_keyLength(std::max(keyLength, 0)),
      m_lastKey(static_cast<std::size_t>(m_keyLength)) {}

// <0, 0 or >0 as the level's key is before, equal to or after the record's keys.
int ResponseTableScan::LevelRows::Compare(const RecordKey& levelKey, const std::int32_t* keys) const {
    const std::size_t length = std::min(levelKey.size(), static_cast<std::size_t>(m_keyLength));
    for (std::size_t i = 0; i < length; ++i) {
        if (levelKey[i] != keys[i])
            return levelKey[i] < keys[i] ? -1 : 1;
    }
    if (levelKey.size() == static_cast<std::size_t>(m_keyLength))
        return 0;
    return levelKey.size() < static_cast<std::size_t>(m_keyLength) ? -1 : 1;
}

int ResponseTableScan::LevelRows::Find(const std::int32_t* keys) {
    const bool backwards =
        m_started && std::lexicographical_compare(keys, keys + m_keyLength, m_lastKey.begin(), m_lastKey.end());
    if (backwards)
        return SearchSorted(keys);
    m_started = true;
    std::copy(keys, keys + m_keyLength, m_lastKey.begin());
    while (m_next != m_records.end() && Compare(*m_next, keys) < 0) {
        ++m_next;
        ++m_nextRow;
    }
    return m_next != m_records.end() && Compare(*m_next, keys) == 0 ? m_nextRow : -1;
}

int ResponseTableScan::LevelRows::SearchSorted(const std::int32_t* keys) {
    const auto length = static_cast<std::size_t>(m_keyLength);
    if (m_sortedKeys.empty() && !m_records.empty()) {
        m_sortedKeys.reserve(m_records.size() * length);
        for (const RecordKey& key : m_records) {
            RecordKey padded = key;
            padded.resize(length, 0);
            m_sortedKeys.insert(m_sortedKeys.end(), padded.begin(), padded.end());
        }
    }
    int low = 0;
    int high = static_cast<int>(m_records.size());
    while (low < high) {
        const int middle = low + (high - low) / 2;
        const std::int32_t* candidate = m_sortedKeys.data() + static_cast<std::size_t>(middle) * length;
        if (std::lexicographical_compare(candidate, candidate + length, keys, keys + length))
            low = middle + 1;
        else
            high = middle;
    }
    if (low == static_cast<int>(m_records.size()))
        return -1;
    const std::int32_t* found = m_sortedKeys.data() + static_cast<std::size_t>(low) * length;
    return std::equal(found, found + length, keys) ? low : -1;
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
    for (const db::FieldInfo& field : m_database.fields(m_tableName))
        m_tableFields.push_back(field.name);
    if (m_tableFields.empty())
        throw db::DbException("open recordset", "no such table: " + m_tableName);
    while (HasField(KeyFieldName(KeyFieldCount() + 1)))
        m_keyFields.push_back(KeyFieldName(KeyFieldCount() + 1));
}

ResponseTableScan::~ResponseTableScan() = default;

bool ResponseTableScan::HasField(std::string_view name) const {
    return std::any_of(m_tableFields.begin(), m_tableFields.end(),
                       [&](const std::string& field) { return db::sameIdentifier(field, name); });
}

int ResponseTableScan::AddField(std::string_view name) {
    for (std::size_t i = 0; i < m_fields.size(); ++i) {
        if (db::sameIdentifier(m_fields[i], name))
            return static_cast<int>(i);
    }
    if (!HasField(name))
        return -1;
    m_fields.emplace_back(name);
    return static_cast<int>(m_fields.size() - 1);
}

void ResponseTableScan::AddReader(Reader& reader) {
    m_readers.push_back(&reader);
}

void ResponseTableScan::Run() {
    if (m_readers.empty())
        return;
    std::vector<std::string> selected = m_keyFields;
    selected.insert(selected.end(), m_fields.begin(), m_fields.end());
    db::Recordset records(m_database, m_tableName, selected);
    records.setCurrentIndex(kPrimaryKey);
    Record record(records);
    record.m_keys.assign(m_keyFields.size(), 0);
    for (records.moveFirst(); !records.isEOF(); records.moveNext()) {
        ++record.m_number;
        for (std::size_t k = 0; k < m_keyFields.size(); ++k)
            record.m_keys[k] = KeyOf(records.storedValue(static_cast<int>(k)), k, record.m_number);
        for (Reader* reader : m_readers)
            reader->Read(record);
    }
}
