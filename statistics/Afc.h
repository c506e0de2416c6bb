#pragma once

#include <vector>

#include "app/Message.h"
#include "statistics/ResultatsCorrespondances.h"

// Correspondence analysis of a table of counts (or other non-negative values) of n active and n'
// illustrative rows by p active and q illustrative columns, row-major, active first. The table
// is borrowed for the engine's life.
//
// The trivial part (the independence model) is taken out of the matrix before it is
// diagonalised, so the trivial axis is the one whose eigenvalue becomes 0 and no real axis can
// be lost in its place; the p - 1 largest eigenvalues are kept. A cell that holds a missing
// value or a negative value would make the margins meaningless: Calculer refuses the table and
// names the cell (1-based row and column).
class CAfc {
public:
    CAfc(int n, int nIllustratifs, int p, int q, const double* tableau);

    bool Calculer();
    // At most p - 1 axes; false before a successful Calculer.
    bool DonnerResultats(int axes, ResultatsCorrespondances& resultats) const;

    const Message& GetErreur() const { return m_erreur; }
    // The p - 1 eigenvalues kept, decreasing (after Calculer).
    const std::vector<double>& ValeursPropres() const { return m_valeursPropres; }

private:
    double Cell(int i, int j) const;
    bool CheckCells();

    int m_n;
    int m_nIllustratifs;
    int m_p;
    int m_q;
    const double* m_tableau; // borrowed
    bool m_calcule = false;
    std::vector<double> m_margesLignes;
    std::vector<double> m_margesColonnes;
    double m_total = 0.0;
    std::vector<double> m_valeursPropres;  // p - 1
    std::vector<double> m_vecteurs;        // p × (p - 1), divided by sqrt(c_j / N)
    Message m_erreur;
};
