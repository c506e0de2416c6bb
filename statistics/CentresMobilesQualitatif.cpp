#include "statistics/CentresMobilesQualitatif.h"

#include <cstddef>

#include "statistics/NumericKernels.h"
#include "statistics/ProfileDistances.h"
#include "statistics/SommeLignes.h"

CCentresMobilesQualitatif::CCentresMobilesQualitatif(int actifs, int illustratifs, int colActives,
                                                     int colIllustratives, const std::uint8_t* tableau)
    : CCentresMobiles(actifs, illustratifs, colActives, colIllustratives), m_tableau(tableau) {}

bool CCentresMobilesQualitatif::Initialiser() {
    MargesTableauOctets(m_margesLignes, m_margesColonnes, m_total, m_tableau, nActifs, nIllustratifs, nColActives,
                        nColIllustratives);
    m_poids = InversesNonNuls(m_margesColonnes, nColActives);
    return true;
}

const std::uint8_t* CCentresMobilesQualitatif::Ligne(int i) const {
    return m_tableau + static_cast<std::size_t>(i) * static_cast<std::size_t>(nColActives + nColIllustratives);
}

double CCentresMobilesQualitatif::SommeCentre(const double* centre) const {
    double sum = 0.0;
    for (int j = 0; j < nColActives; ++j)
        sum += centre[j];
    return sum;
}

double CCentresMobilesQualitatif::DistanceIndividus(int i, int l) const {
    return DistanceKhi2Profils(Ligne(i), m_margesLignes[static_cast<std::size_t>(i)], Ligne(l),
                               m_margesLignes[static_cast<std::size_t>(l)], m_poids.data(), nColActives);
}

double CCentresMobilesQualitatif::DistanceCentre(int i, const double* centre) const {
    return DistanceKhi2Profils(Ligne(i), m_margesLignes[static_cast<std::size_t>(i)], centre, SommeCentre(centre),
                               m_poids.data(), nColActives);
}

double CCentresMobilesQualitatif::DistanceCentreGeneral(int i) const {
    return DistanceKhi2Profils(Ligne(i), m_margesLignes[static_cast<std::size_t>(i)], m_margesColonnes.data(),
                               m_total, m_poids.data(), nColActives);
}

void CCentresMobilesQualitatif::CalculerCentre(double* centre, const std::vector<std::int32_t>& membres) const {
    SommeLignes(centre, membres, m_tableau, nColActives + nColIllustratives, nColActives);
}

double CCentresMobilesQualitatif::InertieCentre(const double* centre) const {
    return DistanceKhi2Profils(centre, SommeCentre(centre), m_margesColonnes.data(), m_total, m_poids.data(),
                               nColActives);
}

void CCentresMobilesQualitatif::Nettoyer() {
    CCentresMobiles::Nettoyer();
    m_margesLignes.clear();
    m_margesColonnes.clear();
    m_poids.clear();
}

int CCentresMobilesQualitatif::PlusProcheCentre(int i, const double* centres, int k, double& distance) const {
    const std::uint8_t* row = Ligne(i);
    const double mass = m_margesLignes[static_cast<std::size_t>(i)];
    int best = 0;
    for (int g = 0; g < k; ++g) {
        const double* centre = centres + static_cast<std::size_t>(g) * static_cast<std::size_t>(nColActives);
        const double d = DistanceKhi2Profils(row, mass, centre, SommeCentre(centre), m_poids.data(), nColActives);
        if (g == 0 || d < distance) {
            distance = d;
            best = g;
        }
    }
    return best;
}
