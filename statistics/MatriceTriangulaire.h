#pragma once

#include <cstdint>
#include <utility>
#include <vector>

// The distances between the n items of a classification, one double per pair i < j, row by row:
// (0, 1), (0, 2), ..., (0, n - 1), (1, 2), ... A removed item's pairs hold 1e308.
//
// Beside the pairs the matrix keeps, for every row i, the smallest of its pairs (i, j > i) and
// where it lies, brought up to date as pairs change: the closest pairs are then found by looking
// at n row minima and the rows that hold the minimum, rather than at all n(n-1)/2 pairs, and are
// the very pairs, in the very order, that a scan of every pair finds.
class CMatriceTriangulaire {
public:
    // The value of a removed item's pairs.
    static constexpr double kSupprime = 1e308;
    // The closest pairs are looked for below this value.
    static constexpr double kRechercheMax = 1e307;

    // Throws std::bad_alloc when the pairs cannot be held, or when they would need more memory
    // than the machine has (on a system that promises memory it cannot give, touching it later
    // would end the process).
    explicit CMatriceTriangulaire(int n);

    int Count() const { return m_n; }
    static long long NombrePaires(int n) { return static_cast<long long>(n) * (n - 1) / 2; }
    long long IndexLineaire(int i, int j) const {
        return static_cast<long long>(m_n - 1) * i - static_cast<long long>(i + 1) * i / 2 + j - 1;
    }

    void Fixer(int i, int j, double value);
    double Donner(int i, int j) const { return m_paires[static_cast<std::size_t>(IndexLineaire(i, j))]; }
    // Every pair of j gets kSupprime.
    void SupprimerElement(int j);
    // The pair of a linear index.
    std::pair<int, int> Paire(long long index) const;

    // The smallest value below kRechercheMax and every pair (i < j) that holds it, in linear
    // order; no pair when every value is kRechercheMax or more.
    double PlusProchesPaires(std::vector<std::pair<int, int>>& paires);

private:
    void RecalculerLigne(int i);

    int m_n;
    std::vector<double> m_paires;
    std::vector<double> m_minLigne;      // per row, the smallest of its pairs
    std::vector<int> m_colonneMin;       // where it lies (-1 for a row without pairs)
    std::vector<std::uint8_t> m_aRevoir; // the row's minimum may have grown: look again
};
