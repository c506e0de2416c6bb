#pragma once

#include <cstdint>
#include <vector>

#include "statistics/MoteurClassification.h"

// The classification of the rows of a disjunctive 0/1 table: chi-square distances between the
// profiles of the items, whose centres are the sums of their rows. The table is borrowed.
class CMoteurClassificationModalites : public CMoteurClassification {
public:
    CMoteurClassificationModalites(int n, int nColActives, int nColIllustratives, const std::uint8_t* tableau);

protected:
    bool Initialiser() override;
    std::unique_ptr<CCentresMobiles> CreerTypologie() const override;
    void CentreLigne(int row, double* centre) const override;
    void CentreGroupe(const std::vector<std::int32_t>& membres, double* centre) const override;
    void FusionnerCentres(double* ci, double ni, const double* cj, double nj) const override;
    double Masse(const double* centre) const override;
    double Distance(const double* ci, double mi, const double* cj, double mj) const override;
    double DistanceCentreGeneral(int row) const override;
    double DistanceCentreGeneralCentre(const double* centre, double masse) const override;
    double Inertie(double distance) const override { return distance; }

private:
    const std::uint8_t* Ligne(int row) const;

    const std::uint8_t* m_tableau;
    std::vector<double> m_margesLignes;
    std::vector<double> m_margesColonnes;
    double m_total = 0.0;
    std::vector<double> m_poids;
};
