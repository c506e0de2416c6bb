#include "statistics/MoteurClassificationModalites.h"

#include <cstddef>

#include "statistics/CentresMobilesQualitatif.h"
#include "statistics/NumericKernels.h"
#include "statistics/ProfileDistances.h"
#include "statistics/SommeLignes.h"

CMoteurClassificationModalites::CMoteurClassificationModalites(int n, int nColActives, int nColIllustratives,
                                                               const std::uint8_t* tableau)
    : CMoteurClassification(n, nColActives, nColIllustratives), m_tableau(tableau) {}

const std::uint8_t* CMoteurClassificationModalites::Ligne(int row) const {
    return m_tableau + static_cast<std::size_t>(row) * static_cast<std::size_t>(m_nbColActives + m_nbColIllustratives);
}

bool CMoteurClassificationModalites::Initialiser() {
    MargesTableauOctets(m_margesLignes, m_margesColonnes, m_total, m_tableau, m_nbLignes, 0, m_nbColActives,
                        m_nbColIllustratives);
    m_poids = InversesNonNuls(m_margesColonnes, m_nbColActives);
    return true;
}

std::unique_ptr<CCentresMobiles> CMoteurClassificationModalites::CreerTypologie() const {
    return std::make_unique<CCentresMobilesQualitatif>(m_nbLignes, 0, m_nbColActives, m_nbColIllustratives, m_tableau);
}

void CMoteurClassificationModalites::CentreLigne(int row, double* centre) const {
    const std::uint8_t* cells = Ligne(row);
    for (int j = 0; j < m_nbColActives; ++j)
        centre[j] = cells[j];
}

void CMoteurClassificationModalites::CentreGroupe(const std::vector<std::int32_t>& membres, double* centre) const {
    SommeLignes(centre, membres, m_tableau, m_nbColActives + m_nbColIllustratives, m_nbColActives);
}

void CMoteurClassificationModalites::FusionnerCentres(double* ci, double, const double* cj, double) const {
    for (int j = 0; j < m_nbColActives; ++j)
        ci[j] += cj[j];
}

double CMoteurClassificationModalites::Masse(const double* centre) const {
    double sum = 0.0;
    for (int j = 0; j < m_nbColActives; ++j)
        sum += centre[j];
    return sum;
}

double CMoteurClassificationModalites::Distance(const double* ci, double mi, const double* cj, double mj) const {
    return DistanceKhi2Profils(ci, mi, cj, mj, m_poids.data(), m_nbColActives);
}

double CMoteurClassificationModalites::DistanceCentreGeneral(int row) const {
    return DistanceKhi2Profils(Ligne(row), m_margesLignes[static_cast<std::size_t>(row)], m_margesColonnes.data(),
                               m_total, m_poids.data(), m_nbColActives);
}

double CMoteurClassificationModalites::DistanceCentreGeneralCentre(const double* centre, double masse) const {
    return DistanceKhi2Profils(centre, masse, m_margesColonnes.data(), m_total, m_poids.data(), m_nbColActives);
}
