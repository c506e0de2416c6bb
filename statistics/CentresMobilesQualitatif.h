#pragma once

#include <cstdint>
#include <vector>

#include "statistics/CentresMobiles.h"

// The typology of the rows of a disjunctive 0/1 table of modalities: chi-square distances
// between row profiles, weighted by the inverse column masses of the active rows; a centre is
// the sum of its members' rows (only its profile matters). The table is borrowed.
class CCentresMobilesQualitatif : public CCentresMobiles {
public:
    CCentresMobilesQualitatif(int nActifs, int nIllustratifs, int nColActives, int nColIllustratives,
                              const std::uint8_t* tableau);

    bool Initialiser() override;
    double DistanceIndividus(int i, int l) const override;
    double DistanceCentre(int i, const double* centre) const override;
    double DistanceCentreGeneral(int i) const override;
    void CalculerCentre(double* centre, const std::vector<std::int32_t>& membres) const override;
    double InertieCentre(const double* centre) const override;
    // The chi-square distance is a sum of squares already: it enters inertias as it is.
    double Inertie(double distance) const override { return distance; }
    void Nettoyer() override;
    void PlusProchesCentres(int first, int last, const double* centres, int k, std::int32_t* groupe,
                            double* distance) const override;
    void CalculerCentres(double* centres, int k, const std::int32_t* groupeLigne) const override;

private:
    const std::uint8_t* Ligne(int i) const;
    double SommeCentre(const double* centre) const;

    const std::uint8_t* m_tableau;
    std::vector<double> m_margesLignes;
    std::vector<double> m_margesColonnes;
    double m_total = 0.0;
    std::vector<double> m_poids; // 1 / column mass over the active columns, 0 for an empty one
};
