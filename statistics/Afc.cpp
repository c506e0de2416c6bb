#include "statistics/Afc.h"

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <string>

#include "app/StringTable.h"
#include "app/VecteurDouble.h"
#include "statistics/NumericKernels.h"

namespace {
using Index = std::size_t;
Index At(int i, int j, int stride) { return static_cast<Index>(i) * static_cast<Index>(stride) + static_cast<Index>(j); }
Index Ix(int i) { return static_cast<Index>(i); }

// Eigenvalues this small are rounding noise of an axis without inertia.
constexpr double kValeurPropreNulle = 1e-10;
} // namespace

CAfc::CAfc(int n, int nIllustratifs, int p, int q, const double* tableau)
    : m_n(n), m_nIllustratifs(nIllustratifs), m_p(p), m_q(q), m_tableau(tableau) {}

double CAfc::Cell(int i, int j) const { return m_tableau[At(i, j, m_p + m_q)]; }

// Only the cells an analysis reads: every row over the active columns, and the active rows over
// every column.
bool CAfc::CheckCells() {
    const int rows = m_n + m_nIllustratifs;
    const int columns = m_p + m_q;
    for (int i = 0; i < rows; ++i)
        for (int j = 0; j < (i < m_n ? columns : m_p); ++j) {
            const double x = Cell(i, j);
            const bool missing = x == CVecteurDouble::kNoAnswer || x == CVecteurDouble::kNotAsked || !std::isfinite(x);
            if (missing || x < 0.0) {
                m_erreur = Message(missing ? StringTable::kCelluleManquante : StringTable::kCelluleNegative,
                                   {std::to_string(i + 1), std::to_string(j + 1)});
                return false;
            }
        }
    return true;
}

bool CAfc::Calculer() {
    m_calcule = false;
    m_erreur = Message();
    if (!CheckCells())
        return false;
    const int rows = m_n + m_nIllustratifs;
    const int columns = m_p + m_q;
    m_margesLignes.assign(Ix(rows), 0.0);
    m_margesColonnes.assign(Ix(columns), 0.0);
    m_total = 0.0;
    for (int i = 0; i < rows; ++i) {
        for (int j = 0; j < m_p; ++j)
            m_margesLignes[Ix(i)] += Cell(i, j);
        if (i >= m_n)
            continue;
        m_total += m_margesLignes[Ix(i)];
        for (int j = 0; j < columns; ++j)
            m_margesColonnes[Ix(j)] += Cell(i, j);
    }

    std::vector<double> s(At(m_p, 0, m_p), 0.0);
    for (int i = 0; i < m_n; ++i) {
        const double r = m_margesLignes[Ix(i)];
        if (r == 0.0)
            continue;
        for (int j = 0; j < m_p; ++j) {
            const double xj = Cell(i, j);
            if (xj == 0.0)
                continue;
            for (int k = 0; k <= j; ++k)
                s[At(j, k, m_p)] += xj * Cell(i, k) / r;
        }
    }
    for (int j = 0; j < m_p; ++j)
        for (int k = 0; k <= j; ++k) {
            const double root = std::sqrt(m_margesColonnes[Ix(j)] * m_margesColonnes[Ix(k)]);
            const double value = root != 0.0 && m_total != 0.0 ? s[At(j, k, m_p)] / root - root / m_total : 0.0;
            s[At(j, k, m_p)] = value;
            s[At(k, j, m_p)] = value;
        }
    std::vector<double> d;
    std::vector<double> v;
    const EigenStatus status = JacobiEigen(s, d, v, m_p);
    if (status != EigenStatus::Ok) {
        m_erreur = MessageValeursPropres(status);
        return false;
    }
    const int kept = std::max(m_p - 1, 0);
    m_valeursPropres.assign(Ix(kept), 0.0);
    m_vecteurs.assign(At(m_p, 0, kept), 0.0);
    for (int k = 0; k < kept; ++k) {
        m_valeursPropres[Ix(k)] = d[At(k, k, m_p)];
        for (int j = 0; j < m_p; ++j) {
            const double mass = m_total != 0.0 ? m_margesColonnes[Ix(j)] / m_total : 0.0;
            m_vecteurs[At(j, k, kept)] = mass != 0.0 ? v[At(j, k, m_p)] / std::sqrt(mass) : 0.0;
        }
    }
    m_calcule = true;
    return true;
}

bool CAfc::DonnerResultats(int axes, ResultatsCorrespondances& r) const {
    if (!m_calcule)
        return false;
    const int kept = std::max(m_p - 1, 0);
    const int a = std::clamp(axes, 0, kept);
    const int rows = m_n + m_nIllustratifs;
    const int columns = m_p + m_q;
    const double total = m_total;
    r = ResultatsCorrespondances::Dimensionnes(a, m_n, m_nIllustratifs, m_p, m_q,
                                                TableauValeursPropresListe(m_valeursPropres));
    auto lambda = [&](int k) { return m_valeursPropres[Ix(k)]; };
    auto hasInertia = [&](int k) { return lambda(k) > kValeurPropreNulle; };

    for (int i = 0; i < rows; ++i) {
        const double ri = m_margesLignes[Ix(i)];
        if (ri == 0.0)
            continue;
        double distance = 0.0;
        for (int j = 0; j < m_p; ++j) {
            const double cj = m_margesColonnes[Ix(j)];
            if (cj <= 0.0)
                continue;
            const double gap = Cell(i, j) / ri - cj / total;
            distance += gap * gap / (cj / total);
        }
        for (int k = 0; k < a; ++k) {
            double f = 0.0;
            for (int j = 0; j < m_p; ++j)
                f += Cell(i, j) / ri * m_vecteurs[At(j, k, kept)];
            r.coordonneesLignes[At(i, k, a)] = f;
            if (distance > 0.0)
                r.qualitesLignes[At(i, k, a)] = f * f / distance * 100.0;
            if (i < m_n && hasInertia(k))
                r.contributionsLignes[At(i, k, a)] = f * f * 100.0 / lambda(k) * ri / total;
        }
    }

    for (int j = 0; j < columns; ++j) {
        const double cj = m_margesColonnes[Ix(j)];
        if (cj == 0.0)
            continue;
        for (int k = 0; k < a; ++k) {
            double g = 0.0;
            if (!hasInertia(k))
                g = 0.0;
            else if (j < m_p)
                g = std::sqrt(lambda(k)) * m_vecteurs[At(j, k, kept)];
            else {
                for (int i = 0; i < m_n; ++i)
                    g += r.coordonneesLignes[At(i, k, a)] * Cell(i, j);
                g = g / cj / std::sqrt(lambda(k));
            }
            r.coordonneesColonnes[At(j, k, a)] = g;
            if (j < m_p)
                r.contributionsColonnes[At(j, k, a)] = hasInertia(k) ? g * g * 100.0 / lambda(k) * cj / total : 0.0;
        }
        if (cj < 0.0)
            continue;
        double distance = 0.0;
        for (int i = 0; i < m_n; ++i) {
            const double ri = m_margesLignes[Ix(i)];
            if (ri <= 0.0)
                continue;
            const double gap = Cell(i, j) / cj - ri / total;
            distance += gap * gap * total / ri;
        }
        for (int k = 0; k < a && distance > 0.0; ++k) {
            const double g = r.coordonneesColonnes[At(j, k, a)];
            r.qualitesColonnes[At(j, k, a)] = g * g / distance * 100.0;
        }
    }
    return true;
}
