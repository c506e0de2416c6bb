#pragma once

#include <vector>

#include "app/Message.h"

// What a regression hands its caller: per coefficient (the constant first, then each explanatory
// variable) the coefficient, its standard deviation and its two-sided probability in percent;
// per interview (active ones first) the observed value, the fitted value and the relative gap in
// percent.
struct ResultatsRegression {
    std::vector<double> coefficients;  // (k + 1) × 3
    std::vector<double> parInterview;  // (n + m) × 3
};

// Ordinary least squares with a constant over the n active interviews; the m illustrative ones
// are only fitted. The data are borrowed for the solver's life.
//
// The cross-product matrix is inverted with a pivot tolerance relative to its columns, so that
// explanatory questions that are collinear, or nearly so, are refused (code 1) rather than given
// huge meaningless coefficients. With no degree of freedom left the standard deviations and
// probabilities have no value (the missing value).
class CRegressionLineaire {
public:
    enum Erreur { kMemoire = 0, kMatriceNonInversible = 1 };

    // y: n + m targets; x0: (n + m) rows of k explanatory values, row-major, active rows first.
    void Initialiser(int n, int m, int k, const double* y, const double* x0);

    // False with the error code on failure; the results are then left empty.
    bool Calculer(ResultatsRegression& resultats, int& codeErreur) const;

    // The message shown for an error code.
    static Message MessageErreur(int codeErreur);

private:
    // Rows summed or fitted by one task.
    static constexpr int kChunkRows = 32768;
    // Adds the cross products and X'y of rows first to last - 1.
    void AddCrossProducts(int first, int last, std::vector<double>& cross, std::vector<double>& xy) const;
    // Writes the three results of rows first to last - 1 from `out` on; answers their residual
    // sum of squares over the active ones.
    double Fit(int first, int last, const std::vector<double>& b, double* out) const;
    // Row i of the design matrix: 1, then the row's explanatory values (row[0] stays 1).
    void DesignRow(int i, std::vector<double>& row) const;

    int m_n = 0;
    int m_m = 0;
    int m_k = 0;
    const double* m_y = nullptr;  // borrowed
    const double* m_x0 = nullptr; // borrowed
};
