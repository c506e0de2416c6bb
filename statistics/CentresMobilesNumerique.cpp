#include "statistics/CentresMobilesNumerique.h"

#include <algorithm>
#include <cmath>
#include <cstddef>

#include "statistics/NumericKernels.h"
#include "statistics/ProfileDistances.h"
#include "statistics/SommeLignes.h"

CCentresMobilesNumerique::CCentresMobilesNumerique(int actifs, int illustratifs, int colActives, int colIllustratives,
                                                   const double* tableau)
    : CCentresMobiles(actifs, illustratifs, colActives, colIllustratives), m_tableau(tableau) {}

bool CCentresMobilesNumerique::Initialiser() {
    MoyennesEcartsTypes(m_moyennes, m_ecartsTypes, m_tableau, nActifs, nColActives + nColIllustratives);
    m_poids = PoidsReduction(m_ecartsTypes, nColActives);
    return true;
}

const double* CCentresMobilesNumerique::Ligne(int i) const {
    return m_tableau + static_cast<std::size_t>(i) * static_cast<std::size_t>(nColActives + nColIllustratives);
}

double CCentresMobilesNumerique::DistanceIndividus(int i, int l) const {
    return std::sqrt(CarreDistanceReduite(Ligne(i), Ligne(l), m_poids.data(), nColActives));
}

double CCentresMobilesNumerique::DistanceCentre(int i, const double* centre) const {
    return std::sqrt(CarreDistanceReduite(Ligne(i), centre, m_poids.data(), nColActives));
}

double CCentresMobilesNumerique::DistanceCentreGeneral(int i) const {
    return std::sqrt(CarreDistanceReduite(Ligne(i), m_moyennes.data(), m_poids.data(), nColActives));
}

void CCentresMobilesNumerique::CalculerCentre(double* centre, const std::vector<std::int32_t>& membres) const {
    if (membres.empty()) {
        std::fill(centre, centre + nColActives, 0.0);
        return;
    }
    SommeLignes(centre, membres, m_tableau, nColActives + nColIllustratives, nColActives);
    const double count = static_cast<double>(membres.size());
    for (int j = 0; j < nColActives; ++j)
        centre[j] /= count;
}

double CCentresMobilesNumerique::InertieCentre(const double* centre) const {
    return CarreDistanceReduite(centre, m_moyennes.data(), m_poids.data(), nColActives);
}

void CCentresMobilesNumerique::Nettoyer() {
    CCentresMobiles::Nettoyer();
    m_moyennes.clear();
    m_ecartsTypes.clear();
    m_poids.clear();
}

namespace {

// The squared distances of one row to k centres laid out column by column (centre g of column j
// at j x k + g): every distance is summed over the columns in order, as CarreDistanceReduite
// sums it. Built for the vector units the processor has; without fused multiply-adds, so that
// the figures are the same on every machine.
__attribute__((target_clones("avx2", "default"))) void SquaresToCentres(const double* row, const double* byColumn,
                                                                        const double* weights, int p, int k,
                                                                        double* squares) {
    // The first column writes the sums (0 + its term, as a sum from 0 gives), the others add.
    if (p == 0) {
        for (int g = 0; g < k; ++g)
            squares[g] = 0.0;
        return;
    }
    {
        const double x = row[0];
        const double w = weights[0];
        for (int g = 0; g < k; ++g) {
            const double d = x - byColumn[g];
            squares[g] = 0.0 + d * d * w;
        }
    }
    for (int j = 1; j < p; ++j) {
        const double x = row[j];
        const double w = weights[j];
        const double* c = byColumn + static_cast<std::size_t>(j) * static_cast<std::size_t>(k);
        for (int g = 0; g < k; ++g) {
            const double d = x - c[g];
            squares[g] += d * d * w;
        }
    }
}

// The first centre at the smallest root of the squares. The smallest square is found over four
// running minima (no chain of comparisons, each waiting for the last); the first square whose
// root equals its root is the answer: equal squares, or a square a hair above the smallest whose
// root rounds to the same. A square that is no number is never the nearest, unless the first
// one is: nothing is then smaller than it, as comparing one after the other gives.
int Nearest(const double* squares, int k) {
    if (std::isnan(squares[0]))
        return 0;
    double lanes[4] = {squares[0], squares[0], squares[0], squares[0]};
    int g = 1;
    for (; g + 4 <= k; g += 4)
        for (int l = 0; l < 4; ++l)
            lanes[l] = squares[g + l] < lanes[l] ? squares[g + l] : lanes[l];
    for (; g < k; ++g)
        lanes[0] = squares[g] < lanes[0] ? squares[g] : lanes[0];
    const double smallest = std::min(std::min(lanes[0], lanes[1]), std::min(lanes[2], lanes[3]));
    const double root = std::sqrt(smallest);
    for (int c = 0; c < k; ++c)
        if (squares[c] == smallest || (squares[c] <= smallest * (1.0 + 1e-12) && std::sqrt(squares[c]) == root))
            return c;
    return 0;
}

} // namespace

// The distance to the nearest centre is the root of its square, as DistanceCentre gives it.
void CCentresMobilesNumerique::PlusProchesCentres(int first, int last, const double* centres, int k,
                                                  std::int32_t* groupe, double* distance) const {
    const int p = nColActives;
    std::vector<double> byColumn(static_cast<std::size_t>(k) * static_cast<std::size_t>(p));
    for (int g = 0; g < k; ++g)
        for (int j = 0; j < p; ++j)
            byColumn[static_cast<std::size_t>(j) * k + g] = centres[static_cast<std::size_t>(g) * p + j];
    std::vector<double> squares(static_cast<std::size_t>(k));
    for (int i = first; i < last; ++i) {
        SquaresToCentres(Ligne(i), byColumn.data(), m_poids.data(), p, k, squares.data());
        const int best = Nearest(squares.data(), k);
        const double least = std::sqrt(squares[static_cast<std::size_t>(best)]);
        groupe[i - first] = best;
        distance[i - first] = least;
    }
}

void CCentresMobilesNumerique::CalculerCentres(double* centres, int k, const std::int32_t* groupeLigne) const {
    std::vector<double> counts(static_cast<std::size_t>(k));
    SommesParGroupe(centres, counts.data(), k, groupeLigne, nActifs, m_tableau, nColActives + nColIllustratives,
                    nColActives);
    for (int g = 0; g < k; ++g)
        for (int j = 0; j < nColActives; ++j) {
            double& c = centres[static_cast<std::size_t>(g) * static_cast<std::size_t>(nColActives) + static_cast<std::size_t>(j)];
            c = counts[static_cast<std::size_t>(g)] > 0 ? c / counts[static_cast<std::size_t>(g)] : 0.0;
        }
}
