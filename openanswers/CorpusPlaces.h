#pragma once

#include <cstdint>
#include <span>
#include <vector>

// The places of every plain form in a corpus, found in one pass: for each form, the corpus
// positions holding it and the answer index of each, in corpus order. What the segment search
// and the segment tables walk instead of scanning the corpus once per form.
class CorpusPlaces {
public:
    CorpusPlaces(std::span<const std::uint32_t> corpus, int plainForms);

    std::span<const std::uint32_t> Positions(int form) const { return Slice(m_positions, form); }
    std::span<const std::uint32_t> Answers(int form) const { return Slice(m_answers, form); }

private:
    std::span<const std::uint32_t> Slice(const std::vector<std::uint32_t>& values, int form) const;

    std::vector<std::uint32_t> m_starts; // form f at [m_starts[f], m_starts[f + 1])
    std::vector<std::uint32_t> m_positions;
    std::vector<std::uint32_t> m_answers;
};
