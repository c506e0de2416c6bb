#include "openanswers/ReponsesCaracteristiques.h"

#include <algorithm>

#include "app/MatriceCodes.h"
#include "openanswers/LexicalCacheFiles.h"

namespace {

std::size_t Index(int i) { return static_cast<std::size_t>(i); }

using Reponse = ReponsesCaracteristiques::Reponse;

// Inserts before the first pair whose score is strictly greater; the last pair drops out.
void Insert(std::vector<Reponse>& list, std::vector<bool>& filled, Reponse candidate) {
    const auto place = std::find_if(list.begin(), list.end(), [&](const Reponse& r) { return r.score > candidate.score; });
    if (place == list.end())
        return;
    const auto at = static_cast<std::size_t>(place - list.begin());
    list.insert(place, candidate);
    list.pop_back();
    filled.insert(filled.begin() + static_cast<std::ptrdiff_t>(at), true);
    filled.pop_back();
}

// The chi-square distance of the answer's profile to each category's, summed over every entry
// of non-zero margin in table order.
class LongScores {
public:
    LongScores(std::span<const std::int32_t> table, int M, double tokens)
        : m_table(table), m_M(M), m_rows(static_cast<int>(table.size() / (Index(M) + 1)) - 1), m_tokens(tokens) {}
    bool Scores(int j) const { return Cell(m_rows, j) > 0.0; }
    // `counts` holds the answer's count of every entry.
    double Score(const std::vector<int>& counts, double n, int j) const {
        const double column = Cell(m_rows, j);
        double sum = 0.0;
        for (int i = 0; i < m_rows; ++i) {
            const double margin = Cell(i, m_M);
            if (!(margin > 0.0))
                continue;
            const double x = Index(i) < counts.size() ? counts[Index(i)] : 0;
            const double d = x / n - Cell(i, j) / column;
            sum += d * d / margin;
        }
        return m_tokens * sum;
    }

private:
    double Cell(int i, int j) const { return m_table[Index(i) * (Index(m_M) + 1) + Index(j)]; }

    std::span<const std::int32_t> m_table;
    int m_M;
    int m_rows;
    double m_tokens;
};

} // namespace

std::vector<std::vector<Reponse>> ReponsesCaracteristiques::Calculer(std::span<const std::uint32_t> corpus,
                                                                     const CMatriceCodes& codes,
                                                                     std::span<const std::int32_t> table, int M, int N,
                                                                     Methode method, std::span<const int> ranks) {
    std::vector<std::vector<Reponse>> lists(Index(std::max(M, 0)));
    if (N <= 0 || M <= 0)
        return lists;
    std::vector<std::vector<bool>> filled(lists.size(), std::vector<bool>(Index(N), false));
    for (auto& list : lists)
        list.assign(Index(N), Reponse{1e10, 0});
    const auto answers = static_cast<double>(std::count(corpus.begin(), corpus.end(), LexicalCacheFiles::kFinReponse));
    const LongScores longScores(table, M, static_cast<double>(corpus.size()) - answers);

    std::vector<int> counts(table.size() / (Index(M) + 1), 0);
    std::vector<std::uint32_t> tokens;
    std::vector<bool> scored(Index(M), false);
    std::uint32_t answer = 0;
    for (const std::uint32_t value : corpus) {
        if (value != LexicalCacheFiles::kFinReponse) {
            tokens.push_back(value);
            if (value < counts.size())
                ++counts[value];
            continue;
        }
        if (!tokens.empty() && answer < static_cast<std::uint32_t>(codes.GetNbLignes())) {
            const double n = static_cast<double>(tokens.size());
            std::fill(scored.begin(), scored.end(), false);
            for (int c = 0; c < codes.GetNbColonnes(); ++c) {
                const int j = codes.GetAt(static_cast<int>(answer), c);
                if (j < 0 || j >= M || scored[Index(j)])
                    continue;
                scored[Index(j)] = true;
                double score = 0.0;
                if (method == kLongues) {
                    if (!longScores.Scores(j))
                        continue;
                    score = longScores.Score(counts, n, j);
                } else {
                    for (const std::uint32_t token : tokens) {
                        const std::size_t cell = Index(static_cast<int>(token)) * Index(M) + Index(j);
                        score += cell < ranks.size() ? ranks[cell] : 0;
                    }
                    score /= n;
                }
                Insert(lists[Index(j)], filled[Index(j)], Reponse{score, answer});
            }
        }
        for (const std::uint32_t token : tokens)
            if (token < counts.size())
                counts[token] = 0;
        tokens.clear();
        ++answer;
    }
    for (std::size_t j = 0; j < lists.size(); ++j) {
        std::vector<Reponse> kept;
        for (std::size_t k = 0; k < lists[j].size(); ++k)
            if (filled[j][k])
                kept.push_back(lists[j][k]);
        lists[j] = std::move(kept);
    }
    return lists;
}
