#include "openanswers/CorpusPlaces.h"

#include "openanswers/LexicalCacheFiles.h"

CorpusPlaces::CorpusPlaces(std::span<const std::uint32_t> corpus, int plainForms) {
    const auto forms = static_cast<std::size_t>(plainForms < 0 ? 0 : plainForms);
    m_starts.assign(forms + 1, 0);
    for (const std::uint32_t value : corpus)
        if (value < forms)
            ++m_starts[value + 1];
    for (std::size_t f = 1; f < m_starts.size(); ++f)
        m_starts[f] += m_starts[f - 1];
    m_positions.resize(m_starts.back());
    m_answers.resize(m_starts.back());
    std::vector<std::uint32_t> fill(m_starts.begin(), m_starts.end() - 1);
    std::uint32_t answer = 0;
    for (std::size_t p = 0; p < corpus.size(); ++p) {
        const std::uint32_t value = corpus[p];
        if (value == LexicalCacheFiles::kFinReponse) {
            ++answer;
        } else if (value < forms) {
            m_positions[fill[value]] = static_cast<std::uint32_t>(p);
            m_answers[fill[value]++] = answer;
        }
    }
}

std::span<const std::uint32_t> CorpusPlaces::Slice(const std::vector<std::uint32_t>& values, int form) const {
    if (form < 0 || static_cast<std::size_t>(form) + 1 >= m_starts.size())
        return {};
    const std::uint32_t begin = m_starts[static_cast<std::size_t>(form)];
    const std::uint32_t end = m_starts[static_cast<std::size_t>(form) + 1];
    return std::span<const std::uint32_t>(values).subspan(begin, end - begin);
}
