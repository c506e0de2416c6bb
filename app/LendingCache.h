#pragma once

#include <algorithm>
#include <cstddef>
#include <memory>
#include <utility>
#include <vector>

#include "app/ObjetDonnees.h"

// The most-recently-used cache behind the survey's data caches: a fixed number of slots, entry 0
// the most recently used, each slot a key, an owned container and a use count (the number of
// readers that borrowed it and have not given it back).
//
// Every container the cache hands out stays the cache's until it is given back:
// - a container kept in a slot is never evicted while borrowed;
// - a container that found no free slot (every slot borrowed), or whose slot is invalidated while
//   it is borrowed, moves to a list of loans outside the slots; it is no longer found by its key,
//   and the last borrower's give-back frees it.
// So nothing is freed while in use, and nothing handed out is lost. Destroying the cache frees
// everything, loans included: a borrowed container must not outlive the cache.
//
// Key is a small value type compared with ==. A slot is free when it holds no container, whatever
// its key; containers are given back by identity.
template <class Key>
class LendingCache {
public:
    explicit LendingCache(int slotCount) : m_slots(static_cast<std::size_t>(std::max(slotCount, 0))) {}
    LendingCache(const LendingCache&) = delete;
    LendingCache& operator=(const LendingCache&) = delete;

    int SlotCount() const { return static_cast<int>(m_slots.size()); }

    // Borrows the container kept under the key: raises its use count and moves it to the front.
    CObjetDonnees* Find(const Key& key)
    {
        const auto slot = FindSlot([&](const Entry& entry) { return entry.object && entry.key == key; });
        if (slot == m_slots.size())
            return nullptr;
        ++m_slots[slot].useCount;
        MoveToFront(slot);
        return m_slots.front().object.get();
    }

    // Keeps a new container under the key, borrowed once: in the first free slot from the front,
    // else in place of the least recently used entry that nobody borrows (freeing it), else
    // outside the slots until it is given back.
    CObjetDonnees* Add(const Key& key, std::unique_ptr<CObjetDonnees> object)
    {
        if (!object)
            return nullptr;
        auto slot = FindSlot([](const Entry& entry) { return !entry.object; });
        if (slot == m_slots.size())
            slot = LeastRecentlyUsedIdleSlot();
        if (slot == m_slots.size())
            return LendOutside(key, std::move(object));
        m_slots[slot] = Entry{key, std::move(object), 1};
        MoveToFront(slot);
        return m_slots.front().object.get();
    }

    // Takes out of the cache, for its memory, the container that the next Add would free to make
    // room: the least recently used entry nobody borrows, when no slot is free; null otherwise.
    std::unique_ptr<CObjetDonnees> TakeNextEvicted()
    {
        if (FindSlot([](const Entry& entry) { return !entry.object; }) != m_slots.size())
            return nullptr;
        const auto slot = LeastRecentlyUsedIdleSlot();
        if (slot == m_slots.size())
            return nullptr;
        std::unique_ptr<CObjetDonnees> taken = std::move(m_slots[slot].object);
        m_slots[slot] = Entry{};
        return taken;
    }

    // Hands out a container that is not kept: the give-back frees it.
    CObjetDonnees* LendOutside(const Key& key, std::unique_ptr<CObjetDonnees> object)
    {
        if (!object)
            return nullptr;
        m_loans.push_back(Entry{key, std::move(object), 1});
        return m_loans.back().object.get();
    }

    // Gives back a container this cache handed out. A container still kept under its key has
    // its use count lowered and stays; a loan outside the slots is freed by its last give-back.
    // An object the cache never handed out is left to its owner.
    void GiveBack(const CObjetDonnees* object)
    {
        if (!object)
            return;
        for (Entry& entry : m_slots) {
            if (entry.object.get() == object) {
                entry.useCount = std::max(entry.useCount - 1, 0);
                return;
            }
        }
        const auto loan = std::find_if(m_loans.begin(), m_loans.end(),
                                       [&](const Entry& entry) { return entry.object.get() == object; });
        if (loan != m_loans.end() && --loan->useCount <= 0)
            m_loans.erase(loan);
    }

    // Empties every kept entry whose key satisfies the predicate (all of them, or only the first
    // from the front). A borrowed container moves to the loans; an idle one is freed.
    template <class Predicate>
    void Invalidate(Predicate matches, bool firstOnly)
    {
        for (Entry& entry : m_slots) {
            if (!entry.object || !matches(entry.key))
                continue;
            if (entry.useCount > 0)
                m_loans.push_back(std::move(entry));
            entry = Entry{};
            if (firstOnly)
                return;
        }
    }

    // For diagnostics and tests: the key kept in a slot and its use count; a free slot answers
    // the value-initialised key and 0.
    const Key& KeyAt(int slot) const { return m_slots[static_cast<std::size_t>(slot)].key; }
    int UseCountAt(int slot) const { return m_slots[static_cast<std::size_t>(slot)].useCount; }
    const CObjetDonnees* ObjectAt(int slot) const { return m_slots[static_cast<std::size_t>(slot)].object.get(); }
    int LoanCount() const { return static_cast<int>(m_loans.size()); }

private:
    struct Entry {
        Key key{};
        std::unique_ptr<CObjetDonnees> object;
        int useCount = 0;
    };

    template <class Predicate>
    std::size_t FindSlot(Predicate matches) const
    {
        for (std::size_t i = 0; i < m_slots.size(); ++i)
            if (matches(m_slots[i]))
                return i;
        return m_slots.size();
    }

    std::size_t LeastRecentlyUsedIdleSlot() const
    {
        for (std::size_t i = m_slots.size(); i-- > 0;)
            if (m_slots[i].useCount == 0)
                return i;
        return m_slots.size();
    }

    // The entry at `slot` goes to position 0; the entries before it move one position down.
    void MoveToFront(std::size_t slot)
    {
        std::rotate(m_slots.begin(), m_slots.begin() + static_cast<std::ptrdiff_t>(slot),
                    m_slots.begin() + static_cast<std::ptrdiff_t>(slot) + 1);
    }

    std::vector<Entry> m_slots;
    std::vector<Entry> m_loans;
};
