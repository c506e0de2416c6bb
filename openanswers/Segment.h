#pragma once

#include <cstdint>
#include <span>
#include <vector>

#include "openanswers/Forme.h"

class CVecteurPoids;

// A repeated segment: two or more consecutive plain forms (by index) inside one answer, met at
// two places or more; its occurrence list holds the answer index of each place, in corpus order
// (an answer holding it twice is listed twice). Its id is 0, it is always valid and never a stop
// word; its text is rebuilt from the forms (ConstruireTexte), never stored.
class CSegment : public CForme {
public:
    static constexpr RuntimeClass kRuntimeClass{"CSegment", 1, &CObjet::CreateObject<CSegment>};

    CSegment() = default;
    explicit CSegment(std::vector<std::int32_t> sequence);

    const RuntimeClass* GetRuntimeClass() const override { return &kRuntimeClass; }
    void DonnerFormes(std::vector<std::int32_t>& out) const override { out = m_sequence; }

    std::int32_t GetLongueur() const { return static_cast<std::int32_t>(m_sequence.size()); }
    const std::vector<std::int32_t>& Sequence() const { return m_sequence; }
    const std::vector<std::uint32_t>& Occurrences() const { return m_occurrences; }
    void AjouterOccurrence(std::uint32_t answer) { m_occurrences.push_back(answer); }

    // This sequence equals a contiguous run of the other's (the empty one is in every segment).
    bool EstContenuDans(const CSegment& other) const;
    // This sequence starts the other's (meant for a longer other).
    bool EstPrefixeDe(const CSegment& other) const;
    // The texts of the forms joined by one blank; forms are read from the entry table.
    template <class Entries> void ConstruireTexte(const Entries& entries);
    // The number of places whose answer weighs strictly more than 0.
    void RecalculerFrequence(std::span<const double> weights);

    // Occurrences (count, then 32-bit answer indexes), then the length and the form indexes.
    void Serialize(CArchiveVersion& archive) override;

private:
    std::vector<std::int32_t> m_sequence;
    std::vector<std::uint32_t> m_occurrences;
};

template <class Entries> void CSegment::ConstruireTexte(const Entries& entries) {
    text.clear();
    for (std::size_t i = 0; i < m_sequence.size(); ++i) {
        if (i > 0)
            text.push_back(' ');
        text += entries[static_cast<std::size_t>(m_sequence[i])]->text;
    }
}
