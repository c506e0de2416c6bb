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

int CCentresMobilesNumerique::PlusProcheCentre(int i, const double* centres, int k, double& distance) const {
    const double* row = Ligne(i);
    int best = 0;
    for (int g = 0; g < k; ++g) {
        const double d = std::sqrt(CarreDistanceReduite(
            row, centres + static_cast<std::size_t>(g) * static_cast<std::size_t>(nColActives), m_poids.data(),
            nColActives));
        if (g == 0 || d < distance) {
            distance = d;
            best = g;
        }
    }
    return best;
}
