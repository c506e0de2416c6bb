#include "statistics/Acp.h"

#include <algorithm>
#include <cmath>
#include <cstddef>

#include "statistics/NumericKernels.h"

namespace {
using Index = std::size_t;
Index At(int i, int j, int stride) { return static_cast<Index>(i) * static_cast<Index>(stride) + static_cast<Index>(j); }
} // namespace

CAcp::CAcp(int n, int nIllustratifs, int p, int q, const double* tableau)
    : m_n(n), m_nIllustratifs(nIllustratifs), m_p(p), m_q(q), m_tableau(tableau) {}

double CAcp::Cell(int i, int j) const { return m_tableau[At(i, j, m_p + m_q)]; }

void CAcp::StandardisedRow(int i, int columns, double* z) const {
    const double* row = m_tableau + At(i, 0, m_p + m_q);
    for (int j = 0; j < columns; ++j)
        z[j] = (row[j] - m_moyennes[static_cast<Index>(j)]) * m_inverses[static_cast<Index>(j)];
}

double CAcp::ValeurCentreeReduite(int i, int j) const {
    const double sd = m_ecartsTypes[static_cast<Index>(j)];
    return sd != 0.0 ? (Cell(i, j) - m_moyennes[static_cast<Index>(j)]) / sd : 0.0;
}

bool CAcp::Calculer() {
    m_calcule = false;
    m_erreur = Message();
    MoyennesEcartsTypes(m_moyennes, m_ecartsTypes, m_tableau, m_n, m_p + m_q);
    m_inverses.assign(m_ecartsTypes.size(), 0.0);
    for (std::size_t j = 0; j < m_ecartsTypes.size(); ++j)
        m_inverses[j] = m_ecartsTypes[j] != 0.0 ? 1.0 / m_ecartsTypes[j] : 0.0;
    m_correlation.assign(At(m_p, 0, m_p), 0.0);
    std::vector<double> z(static_cast<Index>(m_p));
    for (int i = 0; i < m_n; ++i) {
        StandardisedRow(i, m_p, z.data());
        for (int j = 0; j < m_p; ++j) {
            const double zj = z[static_cast<Index>(j)];
            if (zj == 0.0)
                continue;
            double* row = m_correlation.data() + At(j, 0, m_p);
            for (int k = 0; k <= j; ++k)
                row[k] += zj * z[static_cast<Index>(k)];
        }
    }
    for (int j = 0; j < m_p; ++j)
        for (int k = 0; k <= j; ++k) {
            const double value = m_n > 0 ? m_correlation[At(j, k, m_p)] / m_n : 0.0;
            m_correlation[At(j, k, m_p)] = value;
            m_correlation[At(k, j, m_p)] = value;
        }
    const EigenStatus status = JacobiEigen(m_correlation, m_d, m_v, m_p);
    if (status != EigenStatus::Ok) {
        m_erreur = MessageValeursPropres(status);
        return false;
    }
    m_calcule = true;
    return true;
}

std::vector<double> CAcp::ValeursPropres() const {
    std::vector<double> values;
    for (int k = 0; k < m_p && m_calcule; ++k)
        values.push_back(m_d[At(k, k, m_p)]);
    return values;
}

double CAcp::Coordinate(int i, int k) const {
    double sum = 0.0;
    for (int j = 0; j < m_p; ++j)
        sum += ValeurCentreeReduite(i, j) * m_v[At(j, k, m_p)];
    return sum;
}

bool CAcp::DonnerResultats(int axes, ResultatsAcp& r) const {
    if (!m_calcule)
        return false;
    const int a = std::clamp(axes, 0, m_p);
    const int rows = m_n + m_nIllustratifs;
    const int variables = m_p + m_q;
    r = ResultatsAcp{};
    r.axes = a;
    r.lignes = rows;
    r.lignesActives = m_n;
    r.variables = variables;
    r.variablesActives = m_p;
    r.valeursPropres = TableauValeursPropres(m_d, m_p);
    r.coordonneesLignes.assign(At(rows, 0, a), 0.0);
    r.qualitesLignes.assign(At(rows, 0, a), 0.0);
    r.contributionsLignes.assign(At(m_n, 0, a), 0.0);
    r.correlations.assign(At(variables, 0, a), 0.0);
    std::vector<double> lambda(static_cast<Index>(a));
    for (int k = 0; k < a; ++k)
        lambda[static_cast<Index>(k)] = m_d[At(k, k, m_p)];

    std::vector<double> z(static_cast<Index>(m_p));
    for (int i = 0; i < rows; ++i) {
        StandardisedRow(i, m_p, z.data());
        double distance = 0.0;
        for (int j = 0; j < m_p; ++j)
            distance += z[static_cast<Index>(j)] * z[static_cast<Index>(j)];
        for (int k = 0; k < a; ++k) {
            double f = 0.0;
            for (int j = 0; j < m_p; ++j)
                f += z[static_cast<Index>(j)] * m_v[At(j, k, m_p)];
            r.coordonneesLignes[At(i, k, a)] = f;
            if (distance > 0.0)
                r.qualitesLignes[At(i, k, a)] = f * f * 100.0 / distance;
            if (i < m_n && lambda[static_cast<Index>(k)] > 0.0)
                r.contributionsLignes[At(i, k, a)] = f * f * 100.0 / lambda[static_cast<Index>(k)] / m_n;
        }
    }

    for (int j = 0; j < m_p; ++j)
        for (int k = 0; k < a; ++k)
            r.correlations[At(j, k, a)] = std::sqrt(std::max(0.0, lambda[static_cast<Index>(k)])) * m_v[At(j, k, m_p)];
    for (int j = m_p; j < variables; ++j)
        for (int k = 0; k < a; ++k) {
            const double root = std::sqrt(std::max(0.0, lambda[static_cast<Index>(k)]));
            if (root == 0.0 || m_n == 0)
                continue;
            double sum = 0.0;
            for (int i = 0; i < m_n; ++i)
                sum += ValeurCentreeReduite(i, j) * r.coordonneesLignes[At(i, k, a)];
            r.correlations[At(j, k, a)] = sum / m_n / root;
        }
    r.matriceCorrelation = m_correlation;
    return true;
}
