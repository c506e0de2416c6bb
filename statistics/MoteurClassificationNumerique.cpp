#include "statistics/MoteurClassificationNumerique.h"

#include <cmath>
#include <cstddef>

#include "statistics/CentresMobilesNumerique.h"
#include "statistics/NumericKernels.h"
#include "statistics/ProfileDistances.h"
#include "statistics/SommeLignes.h"

CMoteurClassificationNumerique::CMoteurClassificationNumerique(int n, int nColActives, int nColIllustratives,
                                                               const double* tableau)
    : CMoteurClassification(n, nColActives, nColIllustratives), m_tableau(tableau) {}

const double* CMoteurClassificationNumerique::Ligne(int row) const {
    return m_tableau + static_cast<std::size_t>(row) * static_cast<std::size_t>(m_nbColActives + m_nbColIllustratives);
}

bool CMoteurClassificationNumerique::Initialiser() {
    MoyennesEcartsTypes(m_moyennes, m_ecartsTypes, m_tableau, m_nbLignes, m_nbColActives + m_nbColIllustratives);
    m_poids = PoidsReduction(m_ecartsTypes, m_nbColActives);
    return true;
}

std::unique_ptr<CCentresMobiles> CMoteurClassificationNumerique::CreerTypologie() const {
    return std::make_unique<CCentresMobilesNumerique>(m_nbLignes, 0, m_nbColActives, m_nbColIllustratives, m_tableau);
}

void CMoteurClassificationNumerique::CentreLigne(int row, double* centre) const {
    const double* cells = Ligne(row);
    for (int j = 0; j < m_nbColActives; ++j)
        centre[j] = cells[j];
}

void CMoteurClassificationNumerique::CentreGroupe(const std::vector<std::int32_t>& membres, double* centre) const {
    SommeLignes(centre, membres, m_tableau, m_nbColActives + m_nbColIllustratives, m_nbColActives);
    const double count = static_cast<double>(membres.size());
    for (int j = 0; j < m_nbColActives; ++j)
        centre[j] /= count;
}

void CMoteurClassificationNumerique::FusionnerCentres(double* ci, double ni, const double* cj, double nj) const {
    for (int j = 0; j < m_nbColActives; ++j)
        ci[j] = (ni * ci[j] + nj * cj[j]) / (ni + nj);
}

double CMoteurClassificationNumerique::Distance(const double* ci, double, const double* cj, double) const {
    return std::sqrt(CarreDistanceReduite(ci, cj, m_poids.data(), m_nbColActives));
}

double CMoteurClassificationNumerique::DistanceCentreGeneral(int row) const {
    return std::sqrt(CarreDistanceReduite(Ligne(row), m_moyennes.data(), m_poids.data(), m_nbColActives));
}

double CMoteurClassificationNumerique::DistanceCentreGeneralCentre(const double* centre, double) const {
    return std::sqrt(CarreDistanceReduite(centre, m_moyennes.data(), m_poids.data(), m_nbColActives));
}
