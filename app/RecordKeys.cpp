#include "app/RecordKeys.h"

#include <algorithm>
#include <numeric>
#include <set>

namespace {

bool Less(const std::int32_t* a, const std::int32_t* b, int length) {
    return std::lexicographical_compare(a, a + length, b, b + length);
}

} // namespace

CRecordKeys::CRecordKeys(int keyLength) : m_keyLength(std::max(keyLength, 0)) {}

CRecordKeys::CRecordKeys(std::initializer_list<RecordKey> keys) {
    const std::set<RecordKey> ordered(keys);
    if (ordered.empty())
        return;
    m_keyLength = static_cast<int>(keys.begin()->size());
    for (RecordKey key : ordered) {
        key.resize(static_cast<std::size_t>(m_keyLength), 0);
        Append(key.data());
    }
}

void CRecordKeys::Reset(int keyLength) {
    m_keyLength = std::max(keyLength, 0);
    m_values.clear();
}

void CRecordKeys::Assign(int keyLength, std::vector<std::int32_t> values) {
    m_keyLength = std::max(keyLength, 0);
    m_values.assign(values.begin(), values.end());
}

void CRecordKeys::ShrinkToFit() {
    if (m_values.capacity() - m_values.size() > m_values.size() / 8)
        m_values.shrink_to_fit();
}

void CRecordKeys::Reserve(std::size_t count) {
    m_values.reserve(count * static_cast<std::size_t>(m_keyLength));
}

bool CRecordKeys::SortAndCheckUnique() {
    const std::size_t count = size();
    const int length = m_keyLength;
    bool ordered = true;
    for (std::size_t row = 1; row < count && ordered; ++row)
        ordered = Less(Key(row - 1), Key(row), length);
    if (ordered)
        return true;
    std::vector<std::size_t> rows(count);
    std::iota(rows.begin(), rows.end(), std::size_t{0});
    std::stable_sort(rows.begin(), rows.end(),
                     [&](std::size_t a, std::size_t b) { return Less(Key(a), Key(b), length); });
    decltype(m_values) sorted;
    sorted.reserve(m_values.size());
    for (const std::size_t row : rows)
        sorted.insert(sorted.end(), Key(row), Key(row) + length);
    m_values = std::move(sorted);
    for (std::size_t row = 1; row < count; ++row)
        if (!Less(Key(row - 1), Key(row), length))
            return false;
    return true;
}

int CRecordKeys::Find(const std::int32_t* key) const {
    std::size_t low = 0;
    std::size_t high = size();
    while (low < high) {
        const std::size_t middle = low + (high - low) / 2;
        if (Less(Key(middle), key, m_keyLength))
            low = middle + 1;
        else
            high = middle;
    }
    if (low == size() || !std::equal(Key(low), Key(low) + m_keyLength, key))
        return -1;
    return static_cast<int>(low);
}

bool CRecordKeys::operator==(const CRecordKeys& other) const {
    if (empty() || other.empty())
        return empty() && other.empty();
    return m_keyLength == other.m_keyLength && m_values == other.m_values;
}
