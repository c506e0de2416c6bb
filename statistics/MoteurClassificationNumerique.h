#pragma once

#include <cstdint>
#include <vector>

#include "statistics/MoteurClassification.h"

// The classification of the rows of a numeric table: Euclidean distances between the centres
// of the items in values standardised by the means and population deviations of the rows; a
// merged centre is the weighted mean of the two. The table is borrowed.
class CMoteurClassificationNumerique : public CMoteurClassification {
public:
    CMoteurClassificationNumerique(int n, int nColActives, int nColIllustratives, const double* tableau);

protected:
    bool Initialiser() override;
    std::unique_ptr<CCentresMobiles> CreerTypologie() const override;
    void CentreLigne(int row, double* centre) const override;
    void CentreGroupe(const std::vector<std::int32_t>& membres, double* centre) const override;
    void FusionnerCentres(double* ci, double ni, const double* cj, double nj) const override;
    double Masse(const double*) const override { return 0.0; }
    double Distance(const double* ci, double mi, const double* cj, double mj) const override;
    double DistanceCentreGeneral(int row) const override;
    double DistanceCentreGeneralCentre(const double* centre, double masse) const override;
    double Inertie(double distance) const override { return distance * distance; }

private:
    const double* Ligne(int row) const;

    const double* m_tableau;
    std::vector<double> m_moyennes;
    std::vector<double> m_ecartsTypes;
    std::vector<double> m_poids;
};
