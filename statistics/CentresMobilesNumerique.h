#pragma once

#include <cstdint>
#include <vector>

#include "statistics/CentresMobiles.h"

// The typology of the rows of a numeric table: Euclidean distances between values standardised
// by the means and population deviations of the active rows (a constant column counts for
// nothing); a centre is the mean of its members, zeros for an empty group. The table is
// borrowed.
class CCentresMobilesNumerique : public CCentresMobiles {
public:
    CCentresMobilesNumerique(int nActifs, int nIllustratifs, int nColActives, int nColIllustratives,
                             const double* tableau);

    bool Initialiser() override;
    double DistanceIndividus(int i, int l) const override;
    double DistanceCentre(int i, const double* centre) const override;
    double DistanceCentreGeneral(int i) const override;
    void CalculerCentre(double* centre, const std::vector<std::int32_t>& membres) const override;
    double InertieCentre(const double* centre) const override;
    double Inertie(double distance) const override { return distance * distance; }
    void Nettoyer() override;
    void PlusProchesCentres(int first, int last, const double* centres, int k, std::int32_t* groupe,
                            double* distance) const override;
    void CalculerCentres(double* centres, int k, const std::int32_t* groupeLigne) const override;

private:
    const double* Ligne(int i) const;

    const double* m_tableau;
    std::vector<double> m_moyennes;
    std::vector<double> m_ecartsTypes;
    std::vector<double> m_poids; // 1 / deviation^2 over the active columns, 0 for a constant one
};
