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

// The profiles of the centres are taken once for the range, as DistanceCentre takes them (each
// cell times the inverse of its centre's sum), and the row's profile once per row.
void CCentresMobilesQualitatif::PlusProchesCentres(int first, int last, const double* centres, int k,
                                                   std::int32_t* groupe, double* distance) const {
    const int p = nColActives;
    std::vector<double> profiles(static_cast<std::size_t>(k) * static_cast<std::size_t>(p));
    for (int g = 0; g < k; ++g) {
        const double* centre = centres + static_cast<std::size_t>(g) * p;
        const double sum = SommeCentre(centre);
        const double inverse = sum != 0.0 ? 1.0 / sum : 0.0;
        for (int j = 0; j < p; ++j)
            profiles[static_cast<std::size_t>(g) * p + j] = centre[j] * inverse;
    }
    std::vector<double> profile(static_cast<std::size_t>(p));
    for (int i = first; i < last; ++i) {
        const std::uint8_t* row = Ligne(i);
        const double mass = m_margesLignes[static_cast<std::size_t>(i)];
        const double inverse = mass != 0.0 ? 1.0 / mass : 0.0;
        for (int j = 0; j < p; ++j)
            profile[static_cast<std::size_t>(j)] = static_cast<double>(row[j]) * inverse;
        int best = 0;
        double least = 0.0;
        for (int g = 0; g < k; ++g) {
            const double* c = profiles.data() + static_cast<std::size_t>(g) * p;
            double sum = 0.0;
            for (int j = 0; j < p; ++j) {
                const double d = profile[static_cast<std::size_t>(j)] - c[j];
                sum += d * d * m_poids[static_cast<std::size_t>(j)];
            }
            if (g == 0 || sum < least) {
                least = sum;
                best = g;
            }
        }
        groupe[i - first] = best;
        distance[i - first] = least;
    }
}

void CCentresMobilesQualitatif::CalculerCentres(double* centres, int k, const std::int32_t* groupeLigne) const {
    std::vector<double> counts(static_cast<std::size_t>(k));
    SommesParGroupe(centres, counts.data(), k, groupeLigne, nActifs, m_tableau, nColActives + nColIllustratives,
                    nColActives);
}
