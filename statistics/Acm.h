#pragma once

#include <cstdint>
#include <vector>

#include "app/Message.h"
#include "statistics/ResultatsCorrespondances.h"

// Multiple correspondence analysis of a disjunctive 0/1 byte table: n active and n' illustrative
// interviews by p active and q illustrative modalities, row-major, active first. The table is
// borrowed for the engine's life.
//
// The trivial part is taken out of the matrix before it is diagonalised, so its eigenvalue is 0
// and sorts last; all p eigenvalues are reported. A modality nobody among the active interviews
// chose takes no part in the matrix.
//
// An interview holds few modalities among many, so the sums run over the ones of each row:
// the cost grows with the answers given, not with the table's width squared.
class CAcm {
public:
    CAcm(int n, int nIllustratifs, int p, int q, const std::uint8_t* tableau);

    bool Calculer();
    // At most p axes; false before a successful Calculer.
    bool DonnerResultats(int axes, ResultatsCorrespondances& resultats) const;

    const Message& GetErreur() const { return m_erreur; }
    // The p eigenvalues, decreasing (after Calculer).
    const std::vector<double>& ValeursPropres() const { return m_valeursPropres; }

private:
    // The columns among [first, last) holding a 1 in row i.
    void Ones(int i, int first, int last, std::vector<int>& out) const;

    int m_n;
    int m_nIllustratifs;
    int m_p;
    int m_q;
    const std::uint8_t* m_tableau; // borrowed
    bool m_calcule = false;
    std::vector<double> m_margesLignes;
    std::vector<double> m_margesColonnes;
    double m_total = 0.0;
    std::vector<double> m_valeursPropres; // p
    std::vector<double> m_v;              // p × p eigenvectors
    Message m_erreur;
};
