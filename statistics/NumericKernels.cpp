#include "statistics/NumericKernels.h"

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <numeric>

#include "app/StringTable.h"

namespace {

using Index = std::size_t;

Index At(int i, int j, int n) { return static_cast<Index>(i) * static_cast<Index>(n) + static_cast<Index>(j); }

// The angle used when the two diagonal entries are exactly equal: the stored constant, a hair
// below π/4, so that results stay those of the established solver.
constexpr double kAngleEgalite = 0.78539382;
// Rotations go on while the largest off-diagonal entry exceeds this share of the matrix's norm.
// A fixed 1e-5 leaves eigenvectors wrong in their fifth decimal on matrices whose entries are
// small, as those of a correspondence analysis are; the convergence being quadratic, the tighter
// bound costs a handful of rotations.
constexpr double kSeuilRelatif = 1e-12;

struct Pivot {
    int p = 0; // column
    int q = 1; // row
    double magnitude = -0.1;
};

// The largest |D(i, j)| of the strict lower triangle, scanning rows i = 1 … n - 1 and within a
// row columns j = 0 … i - 1, the first of equal values winning. Each row keeps the column and the
// magnitude of its own largest entry, so that after a rotation only the rows it touched are looked
// at again: the search costs O(n) per rotation instead of O(n²), and finds the very pivot a full
// scan would.
class PivotSearch {
public:
    PivotSearch(const std::vector<double>& d, int n)
        : m_d(d), m_n(n), m_column(static_cast<Index>(n), 0), m_largest(static_cast<Index>(n), 0.0) {
        for (int i = 1; i < n; ++i)
            Rescan(i);
    }

    Pivot Largest() const {
        Pivot best;
        for (int i = 1; i < m_n; ++i) {
            const double magnitude = m_largest[static_cast<Index>(i)];
            if (magnitude > best.magnitude) {
                best.magnitude = magnitude;
                best.p = m_column[static_cast<Index>(i)];
                best.q = i;
            }
        }
        return best;
    }

    // After a rotation of rows and columns p < q.
    void Update(int p, int q) {
        for (int i = 1; i < m_n; ++i) {
            const Index row = static_cast<Index>(i);
            if (i == p || i == q) {
                Rescan(i);
                continue;
            }
            const int column = m_column[row];
            if (column == p || column == q) {
                // The row's largest entry moved. Still at least as large, it still leads the row
                // (the entries before it were smaller, those after it no larger); smaller, any
                // entry may lead now.
                const double magnitude = Magnitude(i, column);
                if (magnitude < m_largest[row]) {
                    Rescan(i);
                    continue;
                }
                m_largest[row] = magnitude;
            }
            for (int j : {p, q})
                if (j < i) {
                    const double magnitude = Magnitude(i, j);
                    if (magnitude > m_largest[row] || (magnitude == m_largest[row] && j < m_column[row])) {
                        m_column[row] = j;
                        m_largest[row] = magnitude;
                    }
                }
        }
    }

private:
    double Magnitude(int i, int j) const { return std::fabs(m_d[At(i, j, m_n)]); }

    // The largest magnitude first, over independent partial maxima (no branch, no chain through
    // the whole row), then the first column holding it.
    void Rescan(int i) {
        const double* row = m_d.data() + At(i, 0, m_n);
        double partial[4] = {0.0, 0.0, 0.0, 0.0};
        int j = 0;
        for (; j + 4 <= i; j += 4)
            for (int k = 0; k < 4; ++k)
                partial[k] = std::max(partial[k], std::fabs(row[j + k]));
        for (; j < i; ++j)
            partial[0] = std::max(partial[0], std::fabs(row[j]));
        const double largest = std::max(std::max(partial[0], partial[1]), std::max(partial[2], partial[3]));
        int column = 0;
        while (column + 1 < i && std::fabs(row[column]) != largest)
            ++column;
        m_column[static_cast<Index>(i)] = column;
        m_largest[static_cast<Index>(i)] = largest;
    }

    const std::vector<double>& m_d;
    int m_n;
    std::vector<int> m_column;
    std::vector<double> m_largest;
};

struct Rotation {
    double c;
    double s;
};

Rotation RotationOf(const std::vector<double>& d, int n, int p, int q) {
    const double dpp = d[At(p, p, n)];
    const double dqq = d[At(q, q, n)];
    const double theta = dpp != dqq ? 0.5 * std::atan(-2.0 * d[At(q, p, n)] / (dpp - dqq)) : kAngleEgalite;
    return {std::cos(theta), std::sin(theta)};
}

// D ← JᵀDJ: rows p and q first, then columns p and q from the rotated rows.
void RotateMatrix(std::vector<double>& d, int n, int p, int q, Rotation r) {
    const auto [c, s] = r;
    for (int k = 0; k < n; ++k) {
        const double dp = d[At(p, k, n)];
        const double dq = d[At(q, k, n)];
        d[At(p, k, n)] = c * dp - s * dq;
        d[At(q, k, n)] = c * dq + s * dp;
    }
    for (int k = 0; k < n; ++k) {
        const double dp = d[At(k, p, n)];
        const double dq = d[At(k, q, n)];
        d[At(k, p, n)] = c * dp - s * dq;
        d[At(k, q, n)] = s * dp + c * dq;
    }
}

// The eigenvectors are kept transposed while rotating (vector k in row k), so that a rotation
// reads and writes two contiguous rows.
void RotateVectors(std::vector<double>& vt, int n, int p, int q, Rotation r) {
    const auto [c, s] = r;
    double* vp = vt.data() + At(p, 0, n);
    double* vq = vt.data() + At(q, 0, n);
    for (int k = 0; k < n; ++k) {
        const double a = vp[k];
        const double b = vq[k];
        vp[k] = c * a - s * b;
        vq[k] = s * a + c * b;
    }
}

void Transpose(std::vector<double>& m, int n) {
    for (int i = 1; i < n; ++i)
        for (int j = 0; j < i; ++j)
            std::swap(m[At(i, j, n)], m[At(j, i, n)]);
}

// Selection sort of the diagonal, decreasing; only a strictly greater entry moves, so equal
// eigenvalues keep their order. The off-diagonal entries stay where they are.
void SortDiagonal(std::vector<double>& d, std::vector<double>& v, int n) {
    for (int i = 0; i + 1 < n; ++i) {
        int m = i;
        for (int k = i + 1; k < n; ++k)
            if (d[At(k, k, n)] > d[At(m, m, n)])
                m = k;
        if (m == i)
            continue;
        std::swap(d[At(i, i, n)], d[At(m, m, n)]);
        for (int k = 0; k < n; ++k)
            std::swap(v[At(k, i, n)], v[At(k, m, n)]);
    }
}

} // namespace

Message MessageValeursPropres(EigenStatus status) {
    switch (status) {
    case EigenStatus::NonFinite:
        return Message(StringTable::kValeursPropresNonNumeriques);
    case EigenStatus::NoConvergence:
        return Message(StringTable::kValeursPropresSansConvergence);
    case EigenStatus::Ok:
        break;
    }
    return Message();
}

long long JacobiRotationCap(int n) {
    const long long order = std::max(n, 2);
    return 100 * order * order + 1000;
}

EigenStatus JacobiEigen(const std::vector<double>& a, std::vector<double>& d, std::vector<double>& v, int n) {
    const Index size = At(n, 0, n);
    if (!std::all_of(a.begin(), a.begin() + static_cast<std::ptrdiff_t>(size), [](double x) { return std::isfinite(x); }))
        return EigenStatus::NonFinite;
    d.assign(a.begin(), a.begin() + static_cast<std::ptrdiff_t>(size));
    v.assign(size, 0.0);
    for (int k = 0; k < n; ++k)
        v[At(k, k, n)] = 1.0;
    if (n < 2)
        return EigenStatus::Ok;
    double norm = 0.0;
    for (double x : d)
        norm += x * x;
    const double threshold = kSeuilRelatif * std::sqrt(norm);
    const long long cap = JacobiRotationCap(n);
    PivotSearch search(d, n);
    for (long long rotations = 0;; ++rotations) {
        if (rotations == cap)
            return EigenStatus::NoConvergence;
        const Pivot pivot = search.Largest();
        const Rotation rotation = RotationOf(d, n, pivot.p, pivot.q);
        RotateMatrix(d, n, pivot.p, pivot.q, rotation);
        RotateVectors(v, n, pivot.p, pivot.q, rotation);
        search.Update(pivot.p, pivot.q);
        if (!(pivot.magnitude > threshold))
            break;
    }
    Transpose(v, n);
    SortDiagonal(d, v, n);
    return EigenStatus::Ok;
}

void MoyennesEcartsTypes(std::vector<double>& moyennes, std::vector<double>& ecartsTypes, const double* tableau,
                         int r, int m) {
    const Index columns = static_cast<Index>(std::max(m, 0));
    moyennes.assign(columns, 0.0);
    ecartsTypes.assign(columns, 0.0);
    if (r <= 0)
        return;
    // Row by row, so that a long table is read in memory order: the sums first, then the squares
    // of the centred values.
    std::vector<char> constant(columns, 1);
    const double* first = tableau;
    for (int i = 0; i < r; ++i) {
        const double* row = tableau + At(i, 0, m);
        for (Index j = 0; j < columns; ++j) {
            moyennes[j] += row[j];
            constant[j] = static_cast<char>(constant[j] && row[j] == first[j]);
        }
    }
    for (Index j = 0; j < columns; ++j)
        // Summing a value that has no exact binary form drifts; a constant column is its value.
        moyennes[j] = constant[j] ? first[j] : moyennes[j] / r;
    for (int i = 0; i < r; ++i) {
        const double* row = tableau + At(i, 0, m);
        for (Index j = 0; j < columns; ++j) {
            const double centred = row[j] - moyennes[j];
            ecartsTypes[j] += centred * centred;
        }
    }
    for (Index j = 0; j < columns; ++j)
        ecartsTypes[j] = constant[j] ? 0.0 : std::sqrt(std::max(0.0, ecartsTypes[j] / r));
}

void MargesTableauOctets(std::vector<double>& margesLignes, std::vector<double>& margesColonnes, double& total,
                         const std::uint8_t* tableau, int ra, int ri, int ca, int ci) {
    const int rows = ra + ri;
    const int columns = ca + ci;
    margesLignes.assign(static_cast<Index>(rows), 0.0);
    margesColonnes.assign(static_cast<Index>(columns), 0.0);
    total = 0.0;
    for (int i = 0; i < rows; ++i) {
        const std::uint8_t* row = tableau + At(i, 0, columns);
        long long active = 0;
        for (int j = 0; j < ca; ++j)
            active += row[j];
        margesLignes[static_cast<Index>(i)] = static_cast<double>(active);
        if (i >= ra)
            continue;
        total += static_cast<double>(active);
        for (int j = 0; j < columns; ++j)
            margesColonnes[static_cast<Index>(j)] += row[j];
    }
}

std::vector<double> TableauValeursPropresListe(const std::vector<double>& valeurs) {
    const double trace = std::accumulate(valeurs.begin(), valeurs.end(), 0.0);
    std::vector<double> table;
    table.reserve(valeurs.size() * 3);
    double cumulative = 0.0;
    for (double value : valeurs) {
        const double share = trace != 0.0 ? value / trace * 100.0 : kValeurManquante;
        if (share != kValeurManquante)
            cumulative += share;
        table.push_back(value);
        table.push_back(share);
        table.push_back(trace != 0.0 ? cumulative : kValeurManquante);
    }
    return table;
}

std::vector<double> TableauValeursPropres(const std::vector<double>& d, int n) {
    std::vector<double> diagonal(static_cast<Index>(std::max(n, 0)));
    for (int k = 0; k < n; ++k)
        diagonal[static_cast<Index>(k)] = d[At(k, k, n)];
    return TableauValeursPropresListe(diagonal);
}

bool InverserMatrice(std::vector<double>& inverse, std::vector<double>& a, int n) {
    inverse.clear();
    const Index size = At(n, 0, n);
    std::vector<double> columnScale(static_cast<Index>(std::max(n, 0)), 0.0);
    for (int i = 0; i < n; ++i)
        for (int k = 0; k < n; ++k)
            columnScale[static_cast<Index>(k)] = std::max(columnScale[static_cast<Index>(k)], std::fabs(a[At(i, k, n)]));
    std::vector<double> work(size, 0.0);
    for (int k = 0; k < n; ++k)
        work[At(k, k, n)] = 1.0;
    std::vector<int> order(static_cast<Index>(std::max(n, 0)));
    std::iota(order.begin(), order.end(), 0);
    for (int k = 0; k < n; ++k) {
        int best = k;
        double largest = 0.0;
        for (int m = k; m < n; ++m) {
            const double magnitude = std::fabs(a[At(order[static_cast<Index>(m)], k, n)]);
            if (magnitude > largest) {
                largest = magnitude;
                best = m;
            }
        }
        // A pivot that is only rounding noise of its column makes the inverse meaningless.
        if (largest == 0.0 || largest <= 1e-12 * columnScale[static_cast<Index>(k)])
            return false;
        std::swap(order[static_cast<Index>(best)], order[static_cast<Index>(k)]);
        const int pivotRow = order[static_cast<Index>(k)];
        const double pivot = a[At(pivotRow, k, n)];
        for (int j = k; j < n; ++j)
            a[At(pivotRow, j, n)] /= pivot;
        for (int j = 0; j < n; ++j)
            work[At(pivotRow, j, n)] /= pivot;
        for (int i = 0; i < n; ++i) {
            if (i == k)
                continue;
            const int row = order[static_cast<Index>(i)];
            const double f = a[At(row, k, n)];
            if (f == 0.0)
                continue;
            for (int j = k; j < n; ++j)
                a[At(row, j, n)] -= f * a[At(pivotRow, j, n)];
            for (int j = 0; j < n; ++j)
                work[At(row, j, n)] -= f * work[At(pivotRow, j, n)];
        }
    }
    inverse.assign(size, 0.0);
    for (int i = 0; i < n; ++i)
        std::copy_n(work.begin() + static_cast<std::ptrdiff_t>(At(order[static_cast<Index>(i)], 0, n)), n,
                    inverse.begin() + static_cast<std::ptrdiff_t>(At(i, 0, n)));
    return true;
}
