#include "openanswers/Segment.h"

#include <algorithm>
#include <utility>

#include "platform/questionnaire/ArchiveVersion.h"

CSegment::CSegment(std::vector<std::int32_t> sequence) : m_sequence(std::move(sequence)) {}

bool CSegment::EstContenuDans(const CSegment& other) const {
    if (other.m_sequence.size() < m_sequence.size())
        return false;
    return std::search(other.m_sequence.begin(), other.m_sequence.end(), m_sequence.begin(), m_sequence.end()) !=
           other.m_sequence.end();
}

bool CSegment::EstPrefixeDe(const CSegment& other) const {
    return other.m_sequence.size() >= m_sequence.size() &&
           std::equal(m_sequence.begin(), m_sequence.end(), other.m_sequence.begin());
}

void CSegment::RecalculerFrequence(std::span<const double> weights) {
    frequency = static_cast<std::int32_t>(std::count_if(m_occurrences.begin(), m_occurrences.end(), [&](std::uint32_t a) {
        return a < weights.size() && weights[a] > 0.0;
    }));
}

void CSegment::Serialize(CArchiveVersion& archive) {
    if (archive.IsStoring()) {
        archive.WriteCount(static_cast<std::uint32_t>(m_occurrences.size()));
        for (const std::uint32_t answer : m_occurrences)
            archive << answer;
        archive.WriteCount(static_cast<std::uint32_t>(m_sequence.size()));
        for (const std::int32_t form : m_sequence)
            archive << form;
        return;
    }
    std::vector<std::uint32_t> occurrences(archive.ReadBoundedCount(4));
    for (std::uint32_t& answer : occurrences)
        archive >> answer;
    std::vector<std::int32_t> sequence(archive.ReadBoundedCount(4));
    for (std::int32_t& form : sequence)
        archive >> form;
    m_occurrences = std::move(occurrences);
    m_sequence = std::move(sequence);
    frequency = static_cast<std::int32_t>(m_occurrences.size());
}
