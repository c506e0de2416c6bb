#pragma once

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <initializer_list>
#include <iterator>
#include <vector>

#include "app/LargeBlockAllocator.h"

// The key of one record of a level: its loop keys, outermost first. The key of a record's parent
// is a prefix of its own.
using RecordKey = std::vector<std::int32_t>;

// The record keys of one level, in key order and each once: all keys have the same length (the
// level's depth + 1) and are kept one after the other in one array, 4 bytes per key value, so a
// survey of a million interviews holds its interview keys in 4 MB. A key is read as a pointer to
// its first value, or copied out as a RecordKey.
class CRecordKeys {
public:
    class const_iterator {
    public:
        using iterator_category = std::forward_iterator_tag;
        using value_type = RecordKey;
        using difference_type = std::ptrdiff_t;
        using pointer = void;
        using reference = RecordKey;

        const_iterator() = default;
        const_iterator(const CRecordKeys* keys, std::size_t row) : m_keys(keys), m_row(row) {}
        RecordKey operator*() const { return m_keys->At(m_row); }
        const_iterator& operator++() {
            ++m_row;
            return *this;
        }
        const_iterator operator++(int) {
            const_iterator before = *this;
            ++m_row;
            return before;
        }
        std::size_t Row() const { return m_row; }
        bool operator==(const const_iterator& other) const { return m_row == other.m_row; }

    private:
        const CRecordKeys* m_keys = nullptr;
        std::size_t m_row = 0;
    };
    using value_type = RecordKey;

    CRecordKeys() = default;
    explicit CRecordKeys(int keyLength);
    // The keys given, put in order, each once; they all take the length of the first.
    CRecordKeys(std::initializer_list<RecordKey> keys);

    int KeyLength() const { return m_keyLength; }
    std::size_t size() const { return m_keyLength > 0 ? m_values.size() / static_cast<std::size_t>(m_keyLength) : 0; }
    bool empty() const { return m_values.empty(); }
    // Forgets the keys; the key length stays.
    void clear() { m_values.clear(); }
    // Forgets the keys and sets the length of those to come.
    void Reset(int keyLength);
    void Reserve(std::size_t count);
    // Gives back the memory held beyond the keys when it is worth a copy of them: growing by
    // doubling leaves up to as much again unused, a few percent is kept.
    void ShrinkToFit();

    // The key of a row: KeyLength() values.
    const std::int32_t* Key(std::size_t row) const {
        return m_values.data() + row * static_cast<std::size_t>(m_keyLength);
    }
    RecordKey At(std::size_t row) const { return RecordKey(Key(row), Key(row) + m_keyLength); }

    // Takes the values as they stand, key after key: a whole number of keys of that length, in
    // key order, each once (the caller checked).
    void Assign(int keyLength, std::vector<std::int32_t> values);
    // Adds a key at the end (KeyLength() values), whatever its place.
    void Append(const std::int32_t* key) {
        for (int i = 0; i < m_keyLength; ++i)
            m_values.push_back(key[i]);
    }
    // Adds the keys of another set of the same key length after these, whatever their place.
    void Append(const CRecordKeys& more) { m_values.insert(m_values.end(), more.m_values.begin(), more.m_values.end()); }
    // Whether the last key comes after the one before it (true for a single key).
    bool LastInOrder() const {
        // Checked after every key read: no division by the key length to count the keys.
        const auto length = static_cast<std::size_t>(m_keyLength);
        if (m_values.size() < 2 * length)
            return true;
        const std::int32_t* last = m_values.data() + (m_values.size() - length);
        return std::lexicographical_compare(last - length, last, last, last + length);
    }
    // Puts the keys in order; false when a key is there twice (the keys are then in order, the
    // repeated key kept twice).
    bool SortAndCheckUnique();
    // The row of the key of KeyLength() values; -1 when absent.
    int Find(const std::int32_t* key) const;

    const_iterator begin() const { return {this, 0}; }
    const_iterator end() const { return {this, size()}; }

    bool operator==(const CRecordKeys& other) const;

private:
    int m_keyLength = 0;
    // A survey's interview keys take megabytes: large blocks fault in by large pages.
    std::vector<std::int32_t, LargeBlockAllocator<std::int32_t>> m_values;
};
