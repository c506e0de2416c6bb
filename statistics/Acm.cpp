#include "statistics/Acm.h"

#include <algorithm>
#include <cmath>
#include <cstddef>

#include "statistics/NumericKernels.h"

namespace {
using Index = std::size_t;
Index At(int i, int j, int stride) { return static_cast<Index>(i) * static_cast<Index>(stride) + static_cast<Index>(j); }
Index Ix(int i) { return static_cast<Index>(i); }

// Column coordinates on an axis with less inertia than this are set to 0.
constexpr double kValeurPropreNulle = 1e-10;
} // namespace

CAcm::CAcm(int n, int nIllustratifs, int p, int q, const std::uint8_t* tableau)
    : m_n(n), m_nIllustratifs(nIllustratifs), m_p(p), m_q(q), m_tableau(tableau) {}

void CAcm::Ones(int i, int first, int last, std::vector<int>& out) const {
    out.clear();
    const std::uint8_t* row = m_tableau + At(i, 0, m_p + m_q);
    for (int j = first; j < last; ++j)
        if (row[j] != 0)
            out.push_back(j);
}

bool CAcm::Calculer() {
    m_calcule = false;
    m_erreur = Message();
    MargesTableauOctets(m_margesLignes, m_margesColonnes, m_total, m_tableau, m_n, m_nIllustratifs, m_p, m_q);
    std::vector<double> s(At(m_p, 0, m_p), 0.0);
    std::vector<int> ones;
    for (int i = 0; i < m_n; ++i) {
        const double r = m_margesLignes[Ix(i)];
        if (r == 0.0)
            continue;
        Ones(i, 0, m_p, ones);
        const double weight = 1.0 / r;
        for (std::size_t a = 0; a < ones.size(); ++a)
            for (std::size_t b = 0; b <= a; ++b)
                s[At(ones[a], ones[b], m_p)] += weight;
    }
    for (int j = 0; j < m_p; ++j)
        for (int k = 0; k <= j; ++k) {
            const double cj = m_margesColonnes[Ix(j)];
            const double ck = m_margesColonnes[Ix(k)];
            double value = 0.0;
            if (cj != 0.0 && ck != 0.0) {
                const double root = std::sqrt(cj * ck);
                value = s[At(j, k, m_p)] / root - root / m_total;
            }
            s[At(j, k, m_p)] = value;
            s[At(k, j, m_p)] = value;
        }
    std::vector<double> d;
    const EigenStatus status = JacobiEigen(s, d, m_v, m_p);
    if (status != EigenStatus::Ok) {
        m_erreur = MessageValeursPropres(status);
        return false;
    }
    m_valeursPropres.assign(Ix(m_p), 0.0);
    for (int k = 0; k < m_p; ++k)
        m_valeursPropres[Ix(k)] = d[At(k, k, m_p)];
    m_calcule = true;
    return true;
}

bool CAcm::DonnerResultats(int axes, ResultatsCorrespondances& r) const {
    if (!m_calcule)
        return false;
    const int a = std::clamp(axes, 0, m_p);
    const int rows = m_n + m_nIllustratifs;
    const int columns = m_p + m_q;
    const double total = m_total;
    r = ResultatsCorrespondances::Dimensionnes(a, m_n, m_nIllustratifs, m_p, m_q,
                                                TableauValeursPropresListe(m_valeursPropres));
    if (total == 0.0)
        return true;
    auto lambda = [&](int k) { return m_valeursPropres[Ix(k)]; };
    auto mass = [&](int j) { return m_margesColonnes[Ix(j)] / total; };

    // Standard coordinates of the active modalities, and their weighted mean per axis, which a
    // row's profile minus the average profile subtracts.
    std::vector<double> standard(At(m_p, 0, a), 0.0);
    std::vector<double> centre(Ix(a), 0.0);
    double massSum = 0.0;
    for (int j = 0; j < m_p; ++j) {
        if (m_margesColonnes[Ix(j)] == 0.0)
            continue;
        massSum += mass(j);
        for (int k = 0; k < a; ++k) {
            standard[At(j, k, a)] = m_v[At(j, k, m_p)] / std::sqrt(mass(j));
            centre[Ix(k)] += mass(j) * standard[At(j, k, a)];
        }
    }

    std::vector<double> columnSums(At(columns, 0, a), 0.0);
    std::vector<double> inverseRowMass(Ix(columns), 0.0); // Σ 1/r_i over active rows holding j
    std::vector<double> rowsHolding(Ix(columns), 0.0);
    std::vector<int> ones;
    for (int i = 0; i < rows; ++i) {
        const double ri = m_margesLignes[Ix(i)];
        if (ri == 0.0)
            continue;
        Ones(i, 0, i < m_n ? columns : m_p, ones);
        double inverseMasses = 0.0;
        double held = 0.0;
        for (int j : ones) {
            if (j >= m_p || m_margesColonnes[Ix(j)] == 0.0)
                continue;
            inverseMasses += 1.0 / m_margesColonnes[Ix(j)];
            held += 1.0;
        }
        // Σ (x/r - c/N)² / (c/N) over the modalities chosen by someone, expanded for 0/1 cells.
        const double distance = total * inverseMasses / (ri * ri) - 2.0 * held / ri + massSum;
        for (int k = 0; k < a; ++k) {
            double f = 0.0;
            for (int j : ones)
                if (j < m_p)
                    f += standard[At(j, k, a)];
            f = f / ri - centre[Ix(k)];
            r.coordonneesLignes[At(i, k, a)] = f;
            if (distance > 0.0)
                r.qualitesLignes[At(i, k, a)] = f * f / distance * 100.0;
            if (i < m_n) {
                if (lambda(k) > kValeurPropreNulle)
                    r.contributionsLignes[At(i, k, a)] = f * f * 100.0 / lambda(k) * ri / total;
                for (int j : ones)
                    columnSums[At(j, k, a)] += f;
            }
        }
        if (i < m_n)
            for (int j : ones) {
                inverseRowMass[Ix(j)] += 1.0 / ri;
                rowsHolding[Ix(j)] += 1.0;
            }
    }

    for (int j = 0; j < columns; ++j) {
        const double cj = m_margesColonnes[Ix(j)];
        if (cj <= 0.0)
            continue;
        // Σ over active rows of (x/c - r/N)² N / r, expanded for 0/1 cells.
        const double distance = total * inverseRowMass[Ix(j)] / (cj * cj) - 2.0 * rowsHolding[Ix(j)] / cj + 1.0;
        for (int k = 0; k < a; ++k) {
            const double g = lambda(k) > kValeurPropreNulle ? columnSums[At(j, k, a)] / cj / std::sqrt(lambda(k)) : 0.0;
            r.coordonneesColonnes[At(j, k, a)] = g;
            if (distance > 0.0)
                r.qualitesColonnes[At(j, k, a)] = g * g / distance * 100.0;
            if (j < m_p && lambda(k) > kValeurPropreNulle)
                r.contributionsColonnes[At(j, k, a)] = g * g * 100.0 / lambda(k) * cj / total;
        }
    }
    return true;
}
