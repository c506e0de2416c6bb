#pragma once

#include <cstdint>
#include <memory>

#include "app/LendingCache.h"
#include "app/ObjetDonnees.h"

// The survey's cache of weight vectors, keyed by three integers: level index, study-field code
// (-1 for all interviews) and weighting code. Same borrowing protocol as CCacheDonnees: Chercher
// or Ajouter, use, Liberer; the cache owns what it handed out until it is given back, and an
// entry invalidated while borrowed is freed by its last give-back.
class CCacheDonnees3 {
public:
    explicit CCacheDonnees3(int nbEmplacements);

    bool Chercher(std::int32_t cle1, std::int32_t cle2, std::int32_t cle3, CObjetDonnees*& objet);
    CObjetDonnees* Ajouter(std::int32_t cle1, std::int32_t cle2, std::int32_t cle3,
                           std::unique_ptr<CObjetDonnees> objet);
    CObjetDonnees* LendWithoutKeeping(std::int32_t cle1, std::int32_t cle2, std::int32_t cle3,
                                      std::unique_ptr<CObjetDonnees> objet);
    // Takes out, for its memory, the entry the next Ajouter would free to make room (null when
    // a slot is free or every entry is borrowed).
    std::unique_ptr<CObjetDonnees> TakeNextEvicted() { return m_cache.TakeNextEvicted(); }
    void Liberer(std::int32_t cle1, std::int32_t cle2, std::int32_t cle3, const CObjetDonnees* objet);

    // Empty every entry with that second (study field), respectively third (weighting) key.
    void InvaliderCle2(std::int32_t cle2);
    void InvaliderCle3(std::int32_t cle3);

    // For diagnostics and tests.
    int GetSlotCount() const { return m_cache.SlotCount(); }
    int GetUseCountAt(int slot) const { return m_cache.UseCountAt(slot); }
    int GetOutsideLoanCount() const { return m_cache.LoanCount(); }

private:
    struct Cles {
        std::int32_t niveau = 0;
        std::int32_t champ = 0;
        std::int32_t redressement = 0;
        bool operator==(const Cles&) const = default;
    };

    LendingCache<Cles> m_cache;
};
