#include "statistics/MatriceTriangulaire.h"

#include <new>
#include <unistd.h>

namespace {

long long PhysicalMemory() {
    const long pages = sysconf(_SC_PHYS_PAGES);
    const long size = sysconf(_SC_PAGESIZE);
    return pages > 0 && size > 0 ? static_cast<long long>(pages) * size : -1;
}

} // namespace

CMatriceTriangulaire::CMatriceTriangulaire(int n) : m_n(n) {
    const long long pairs = n > 1 ? NombrePaires(n) : 0;
    const long long memory = PhysicalMemory();
    if (memory > 0 && static_cast<double>(pairs) * sizeof(double) > static_cast<double>(memory))
        throw std::bad_alloc();
    m_paires.assign(static_cast<std::size_t>(pairs), kSupprime);
    m_minLigne.assign(static_cast<std::size_t>(n), kSupprime);
    m_colonneMin.assign(static_cast<std::size_t>(n), -1);
    m_aRevoir.assign(static_cast<std::size_t>(n), 0);
}

void CMatriceTriangulaire::Fixer(int i, int j, double value) {
    double& cell = m_paires[static_cast<std::size_t>(IndexLineaire(i, j))];
    const double before = cell;
    cell = value;
    double& least = m_minLigne[static_cast<std::size_t>(i)];
    int& where = m_colonneMin[static_cast<std::size_t>(i)];
    if (value < least) {
        least = value;
        where = j;
    } else if (where == j && value > before) {
        m_aRevoir[static_cast<std::size_t>(i)] = 1;
    }
}

void CMatriceTriangulaire::SupprimerElement(int j) {
    for (int l = 0; l < j; ++l)
        Fixer(l, j, kSupprime);
    if (j + 1 < m_n) {
        const std::size_t first = static_cast<std::size_t>(IndexLineaire(j, j + 1));
        std::fill(m_paires.begin() + static_cast<std::ptrdiff_t>(first),
                  m_paires.begin() + static_cast<std::ptrdiff_t>(first + static_cast<std::size_t>(m_n - j - 1)), kSupprime);
    }
    m_minLigne[static_cast<std::size_t>(j)] = kSupprime;
    m_colonneMin[static_cast<std::size_t>(j)] = -1;
    m_aRevoir[static_cast<std::size_t>(j)] = 0;
}

std::pair<int, int> CMatriceTriangulaire::Paire(long long index) const {
    int i = 0;
    while (i + 1 < m_n - 1 && IndexLineaire(i + 1, i + 2) <= index)
        ++i;
    return {i, static_cast<int>(i + 1 + (index - IndexLineaire(i, i + 1)))};
}

void CMatriceTriangulaire::RecalculerLigne(int i) {
    double least = kSupprime;
    int where = -1;
    if (i + 1 < m_n) {
        const double* row = m_paires.data() + IndexLineaire(i, i + 1);
        for (int j = i + 1; j < m_n; ++j)
            if (row[j - i - 1] < least) {
                least = row[j - i - 1];
                where = j;
            }
    }
    m_minLigne[static_cast<std::size_t>(i)] = least;
    m_colonneMin[static_cast<std::size_t>(i)] = where;
    m_aRevoir[static_cast<std::size_t>(i)] = 0;
}

double CMatriceTriangulaire::PlusProchesPaires(std::vector<std::pair<int, int>>& paires) {
    paires.clear();
    double least = kRechercheMax;
    for (int i = 0; i < m_n; ++i) {
        if (m_aRevoir[static_cast<std::size_t>(i)] != 0)
            RecalculerLigne(i);
        if (m_minLigne[static_cast<std::size_t>(i)] < least)
            least = m_minLigne[static_cast<std::size_t>(i)];
    }
    if (least >= kRechercheMax)
        return least;
    for (int i = 0; i < m_n; ++i) {
        if (m_minLigne[static_cast<std::size_t>(i)] != least)
            continue;
        const double* row = m_paires.data() + IndexLineaire(i, i + 1);
        for (int j = i + 1; j < m_n; ++j)
            if (row[j - i - 1] == least)
                paires.emplace_back(i, j);
    }
    return least;
}
