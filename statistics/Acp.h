#pragma once

#include <vector>

#include "app/Message.h"
#include "statistics/ResultatsAcp.h"

// Principal component analysis of a numeric table of n active and n' illustrative rows by p
// active and q illustrative columns (row-major, active rows and columns first). The table is
// borrowed for the engine's life. Variables are standardised with the means and population
// deviations of the active rows; a constant variable gives standardised values of 0.
//
// Calculer builds and diagonalises the correlation matrix; DonnerResultats then gives the
// results on the axes retained. On failure Calculer answers false and GetErreur says why.
class CAcp {
public:
    CAcp(int n, int nIllustratifs, int p, int q, const double* tableau);

    bool Calculer();
    // At most p axes; false before a successful Calculer.
    bool DonnerResultats(int axes, ResultatsAcp& resultats) const;
    // The standardised value of cell (i, j), any row and column.
    double ValeurCentreeReduite(int i, int j) const;

    const Message& GetErreur() const { return m_erreur; }
    // The eigenvalues, decreasing (after Calculer).
    std::vector<double> ValeursPropres() const;

private:
    double Cell(int i, int j) const;
    // The first `columns` standardised values of row i.
    void StandardisedRow(int i, int columns, double* z) const;
    double Coordinate(int i, int k) const;

    int m_n;
    int m_nIllustratifs;
    int m_p;
    int m_q;
    const double* m_tableau; // borrowed
    bool m_calcule = false;
    std::vector<double> m_moyennes;
    std::vector<double> m_ecartsTypes;
    std::vector<double> m_inverses; // 1 / deviation, 0 for a constant column
    std::vector<double> m_correlation;
    std::vector<double> m_d;
    std::vector<double> m_v;
    Message m_erreur;
};
